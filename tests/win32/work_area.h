// Where a window may lie on its monitor, and a rectangle as a failure message shows it.
#pragma once

#include <windows.h>

#include <string>

namespace vb::testing {

inline RECT workAreaOf(HWND w) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(w, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

inline std::string describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " to " + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

}  // namespace vb::testing

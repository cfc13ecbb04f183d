// The controls' fonts and the screen's scale (dots per inch; 96 is 100 %).
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <type_traits>

namespace vb {

struct FontDelete {
    void operator()(HFONT f) const {
        if (f) DeleteObject(f);
    }
};
using FontPtr = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDelete>;

// The font of the controls and the one of the tab control's tabs, at a scale.
FontPtr controlFont(int dpi);
FontPtr tabFont(int dpi);

// The system's scale, 96 when it cannot be read.
int systemDpi();

// The scale of the monitor a window is on, where the system tells it per window (Windows 10
// 1607 on); elsewhere nothing, and the system's scale holds.
std::optional<int> windowDpi(HWND w);

}  // namespace vb

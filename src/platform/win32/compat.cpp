#include "platform/win32/compat.h"

#include <string>

namespace vb {

FARPROC systemFunction(const wchar_t* dll, const char* name) {
    HMODULE module = GetModuleHandleW(dll);
    if (!module) {
        wchar_t dir[MAX_PATH];
        const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return nullptr;
        // Loaded for the life of the process, like the DLLs the program imports.
        module = LoadLibraryW((std::wstring(dir, n) + L"\\" + dll).c_str());
    }
    return module ? GetProcAddress(module, name) : nullptr;
}

void reportPath(const char* text) { OutputDebugStringA((std::string("Velbrook: ") + text + "\n").c_str()); }

HANDLE findFirstFile(const wchar_t* pattern, WIN32_FIND_DATAW& data, const FindFirstFn& system) {
    HANDLE h = system(pattern, FindExInfoBasic, data, FIND_FIRST_EX_LARGE_FETCH);
    if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_INVALID_PARAMETER) return h;
    reportPath("folder search: standard level, no large fetch");
    return system(pattern, FindExInfoStandard, data, 0);
}

DpiPath becomeDpiAware(const DpiFunctions& system) {
    // Per monitor: the window lays itself out again when it moves to a monitor of another scale.
    constexpr int kPerMonitorDpiAware = 2;  // PROCESS_PER_MONITOR_DPI_AWARE
    if (system.setProcessDpiAwareness) {
        const HRESULT r = system.setProcessDpiAwareness(kPerMonitorDpiAware);
        // Denied: the manifest has set it already, per monitor too.
        if (SUCCEEDED(r) || r == E_ACCESSDENIED) {
            reportPath("DPI: SetProcessDpiAwareness");
            return DpiPath::kDpiAwareness;
        }
    }
    if (system.setProcessDpiAware && system.setProcessDpiAware()) {
        reportPath("DPI: SetProcessDPIAware");
        return DpiPath::kDpiAware;
    }
    reportPath("DPI: system scaling");
    return DpiPath::kNone;
}

bool openMessageFilter(const MessageFilterFn& change) {
    if (!change) {
        reportPath("message filter: none on this system");
        return false;
    }
    constexpr DWORD kAdd = 1;               // MSGFLT_ADD
    constexpr UINT kCopyGlobalData = 0x49;  // WM_COPYGLOBALDATA, which a drop sends
    bool all = true;
    for (UINT msg : {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kCopyGlobalData})
        all = change(msg, kAdd) && all;
    reportPath("message filter: opened");
    return all;
}

}  // namespace vb

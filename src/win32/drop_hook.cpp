#include "drop_hook.h"

#include <commctrl.h>
#include <shellapi.h>

#include "platform/win32/wide.h"

namespace vb {
namespace {

constexpr UINT_PTR kSubclassId = 0x56420001;
constexpr UINT kCopyGlobalData = 0x49;

// Loaded at run time: the function does not exist before Vista.
void openMessageFilter() {
    using Fn = BOOL(WINAPI*)(UINT, DWORD);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto change = user32 ? reinterpret_cast<Fn>(
                               reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilter")))
                         : nullptr;
    if (!change) return;
    constexpr DWORD kAdd = 1;  // MSGFLT_ADD
    for (UINT msg : {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kCopyGlobalData})
        change(msg, kAdd);
}

std::string registryText(const wchar_t* name) {
    wchar_t buf[512] = {};
    DWORD size = sizeof buf;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", name,
                     RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS)
        return {};
    return wideToGbkLossy(buf);
}

template <typename Fn>
Fn procIn(const wchar_t* module, const char* name) {
    HMODULE m = GetModuleHandleW(module);
    return m ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

}  // namespace

WindowsVersion currentWindowsVersion() {
    WindowsVersion v;
    // GetVersionEx stops at 6.2 for programs without a compatibility entry; ntdll tells the truth.
    using NtVersion = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
    if (auto nt = procIn<NtVersion>(L"ntdll.dll", "RtlGetNtVersionNumbers")) {
        DWORD major = 0, minor = 0, build = 0;
        nt(&major, &minor, &build);
        v.major = major;
        v.minor = minor;
    }
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) {
#pragma GCC diagnostic pop
        if (v.major == 0) {
            v.major = info.dwMajorVersion;
            v.minor = info.dwMinorVersion;
        }
        v.server = info.wProductType != VER_NT_WORKSTATION;
        v.suite = info.wSuiteMask;
    }
    using ProductInfo = BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, DWORD*);
    if (auto product = procIn<ProductInfo>(L"kernel32.dll", "GetProductInfo")) {
        DWORD type = 0;
        if (product(v.major, v.minor, 0, 0, &type)) v.productType = type;
    }
    SYSTEM_INFO si{};
    GetNativeSystemInfo(&si);
    v.x64 = si.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
    v.serverR2 = GetSystemMetrics(SM_SERVERR2) != 0;
    v.productName = registryText(L"ProductName");
    v.csdVersion = registryText(L"CSDVersion");
    v.currentBuild = registryText(L"CurrentBuild");
    return v;
}

void DropHook::attach(HWND window, Handler handler) {
    if (window_) detach();
    window_ = window;
    handler_ = std::move(handler);
    DragAcceptFiles(window_, TRUE);
    SetWindowSubclass(window_, proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    if (needsMessageFilter(windowsVersionText(currentWindowsVersion()))) openMessageFilter();
}

void DropHook::detach() {
    if (!window_) return;
    if (IsWindow(window_)) {
        DragAcceptFiles(window_, FALSE);
        RemoveWindowSubclass(window_, proc, kSubclassId);
    }
    window_ = nullptr;
}

LRESULT CALLBACK DropHook::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<DropHook*>(data);
    if (msg == WM_DROPFILES) {
        self->onDrop(reinterpret_cast<HDROP>(wp));
        return 0;
    }
    if (msg == WM_NCDESTROY) self->detach();
    return DefSubclassProc(hwnd, msg, wp, lp);
}

void DropHook::onDrop(HDROP drop) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT len = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(static_cast<size_t>(len) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), len + 1));
        // A path with no GBK form names nothing the program could work on.
        if (path.empty()) continue;
        if (auto gbk = wideToGbk(path); gbk && handler_) handler_(*gbk);
    }
    DragFinish(drop);
}

}  // namespace vb

#include "drop_hook.h"

#include <commctrl.h>
#include <shellapi.h>

#include "platform/win32/compat.h"
#include "platform/win32/wide.h"

namespace vb {
namespace {

constexpr UINT_PTR kSubclassId = 0x56420001;

}  // namespace

void DropHook::attach(HWND window, Handler handler) {
    if (window_) detach();
    window_ = window;
    handler_ = std::move(handler);
    DragAcceptFiles(window_, TRUE);
    SetWindowSubclass(window_, proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    openMessageFilter(systemMessageFilter());
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
    std::vector<std::string> paths;
    for (UINT i = 0; i < count; ++i) {
        UINT len = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(static_cast<size_t>(len) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), len + 1));
        // A path with no GBK form names nothing the program could work on.
        if (path.empty()) continue;
        if (auto gbk = wideToGbk(path)) paths.push_back(std::move(*gbk));
    }
    DragFinish(drop);
    if (handler_ && !paths.empty()) handler_(paths);
}

}  // namespace vb

// Files dropped on the main window: a subclass of the window (no generated code, no thunk)
// that turns WM_DROPFILES into one call per dropped path and passes every other message on.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string>

namespace vb {

class DropHook {
public:
    using Handler = std::function<void(const std::string& gbkPath)>;

    DropHook() = default;
    ~DropHook() { detach(); }
    DropHook(const DropHook&) = delete;
    DropHook& operator=(const DropHook&) = delete;

    void attach(HWND window, Handler handler);
    void detach();
    bool attached() const { return window_ != nullptr; }

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
    void onDrop(HDROP drop);

    HWND window_ = nullptr;
    Handler handler_;
};

}  // namespace vb

// Files dropped on the main window: a subclass of the window (no generated code, no thunk)
// that turns WM_DROPFILES into one call with the dropped paths and passes every other message on.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

namespace vb {

class DropHook {
public:
    using Handler = std::function<void(const std::vector<std::string>& gbkPaths)>;

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

// The driver's keys reach the program's window whoever had the front before: the desktop or
// another thread's window.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "real_input.h"

namespace vb {
namespace {

struct OwnedWindow {
    HWND h;
    explicit OwnedWindow(HWND w) : h(w) {}
    ~OwnedWindow() {
        if (h) DestroyWindow(h);
    }
    OwnedWindow(const OwnedWindow&) = delete;
    OwnedWindow& operator=(const OwnedWindow&) = delete;
};

HWND topWindow(const wchar_t* title) {
    return CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

bool threadInFront(DWORD thread) {
    HWND front = GetForegroundWindow();
    return front && GetWindowThreadProcessId(front, nullptr) == thread;
}

// A window on a thread of its own, in front until it is told to end.
class OtherThreadWindow {
public:
    OtherThreadWindow() {
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, ready] {
            id_ = GetCurrentThreadId();
            OwnedWindow w(topWindow(L"other"));
            SetForegroundWindow(w.h);
            SetEvent(ready);
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        });
        WaitForSingleObject(ready, INFINITE);
        CloseHandle(ready);
    }
    ~OtherThreadWindow() {
        PostThreadMessageW(id_, WM_QUIT, 0, 0);
        thread_.join();
    }
    DWORD id() const { return id_; }

private:
    std::thread thread_;
    DWORD id_ = 0;
};

std::wstring textOf(HWND w) {
    wchar_t buf[64] = {};
    GetWindowTextW(w, buf, 64);
    return buf;
}

// The program is a bare edit window: what the keys type shows in its text.
TEST(RealInput, KeysReachTheProgramWhateverWasInFront) {
    struct Case {
        const char* what;
        bool otherThread;
        std::function<void()> takeFront;
    };
    const Case cases[] = {
        {"the program in front", false, [] {}},
        {"the desktop in front", false, [] { SetForegroundWindow(GetDesktopWindow()); }},
        {"a window of another thread in front", true, [] {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OwnedWindow program(CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300,
                                            200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
        SetForegroundWindow(program.h);
        SetFocus(program.h);
        std::unique_ptr<OtherThreadWindow> other;
        if (c.otherThread) other = std::make_unique<OtherThreadWindow>();
        c.takeFront();
        if (std::string(c.what) != "the program in front") {
            ASSERT_FALSE(threadInFront(GetCurrentThreadId())) << "the program is still in front";
        }

        RealInput input([&] { return program.h; });
        input.type(L"ok");
        ASSERT_TRUE(input.send()) << input.failure();
        EXPECT_EQ(GetForegroundWindow(), program.h);
        EXPECT_EQ(textOf(program.h), L"ok");
    }
}

}  // namespace
}  // namespace vb

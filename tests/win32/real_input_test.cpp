// The driver's keys reach the program's window whatever was in front before.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

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

std::wstring textOf(HWND w) {
    wchar_t buf[64] = {};
    GetWindowTextW(w, buf, 64);
    return buf;
}

// The program is a bare edit window: what the keys type shows in its text.
TEST(RealInput, KeysReachTheProgramWhateverWasInFront) {
    struct Case {
        const char* what;
        bool elsewhere;  // another window is in front when the keys are sent
    };
    const Case cases[] = {{"the program in front", false}, {"the desktop in front", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OwnedWindow program(CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300,
                                            200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
        SetForegroundWindow(program.h);
        SetFocus(program.h);
        if (c.elsewhere) {
            SetForegroundWindow(GetDesktopWindow());
            ASSERT_NE(GetForegroundWindow(), program.h) << "the program is still in front";
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

// The main window fits the work area of its monitor: at its monitor's scale where it fits, else
// at a smaller one, and where even 96 DPI does not fit, every control comes into view by
// scrolling. scripts/wine-tests.sh runs this on screens from 1024 x 600 to 2560 x 1440 at the
// scales they are commonly used at.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/encoding.h"
#include "running_app.h"
#include "window/window_def.h"
#include "work_area.h"

namespace vb {
namespace {

using testing::describe;
using testing::RunningApp;
using testing::workAreaOf;

bool inside(const RECT& r, const RECT& area) {
    return r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom;
}

RECT clientOnScreen(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool scrolls(HWND w) { return GetWindowLongW(w, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL); }

// The window lies in the work area at the largest scale that fits, and each control of the main
// window that a person can see (on every page) shows whole inside its client area, once
// scrolled to where the keyboard or the scroll bars bring it.
void expectEverythingReachable(RunningApp& run, const std::string& mode) {
    Win32Window& win = run.win();
    HWND main = win.mainWindow();
    const RECT work = workAreaOf(main);
    RECT outer{};
    GetWindowRect(main, &outer);
    const std::string where = mode + " at " + std::to_string(win.monitorDpi()) + " DPI in the work area " +
                              describe(work) + ", laid out at " + std::to_string(win.dpi());
    EXPECT_TRUE(inside(outer, work)) << "the window at " << describe(outer) << ", " << where;
    EXPECT_LE(win.dpi(), win.monitorDpi()) << where;
    const Rect logical = win.rect(Ctl::主窗口);
    if (win.dpi() < win.monitorDpi()) {
        const bool fitsAtMonitor = MulDiv(logical.width, win.monitorDpi(), 96) <= work.right - work.left &&
                                   MulDiv(logical.height, win.monitorDpi(), 96) <= work.bottom - work.top;
        EXPECT_FALSE(fitsAtMonitor) << "a smaller scale than needed, " << where;
    }
    if (scrolls(main)) {
        EXPECT_EQ(win.dpi(), 96) << "scrolls before it is as small as it goes, " << where;
    }
    // A bar only along a direction in which the screen is too small.
    const LONG style = GetWindowLongW(main, GWL_STYLE);
    if (style & WS_HSCROLL) {
        EXPECT_EQ(outer.right - outer.left, work.right - work.left) << "scrolls sideways, " << where;
    }
    if (style & WS_VSCROLL) {
        EXPECT_EQ(outer.bottom - outer.top, work.bottom - work.top) << "scrolls down, " << where;
    }

    // The client area the window has without scrolling.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, GetWindowLongW(main, GWL_STYLE) & ~(WS_VSCROLL | WS_HSCROLL), FALSE, 0);
    const SIZE content{win.scaled(logical.width) - (frame.right - frame.left),
                       win.scaled(logical.height) - (frame.bottom - frame.top)};
    int seen = 0;
    for (const auto& d : controlTable()) {
        if (windowOf(d.id) != Ctl::主窗口 || !win.handle(d.id) || !win.visible(d.id)) continue;
        win.selectPageOf(d.id);
        HWND h = win.handle(d.id);
        if (!IsWindowVisible(h)) continue;
        RECT r{};
        GetWindowRect(h, &r);
        // The undo button stays where the preview put it once the preview is off, beyond the
        // narrow window's edge, out of sight by design.
        POINT inContent{r.left, r.top};
        ScreenToClient(main, &inContent);
        if (inContent.x + win.scrollPosition().x >= content.cx ||
            inContent.y + win.scrollPosition().y >= content.cy)
            continue;
        win.scrollIntoView(d.id);
        GetWindowRect(h, &r);
        const std::string name = gbkToUtf8(d.name).value_or("?");
        EXPECT_TRUE(inside(r, clientOnScreen(main)))
            << name << " at " << describe(r) << " is out of the window's client area "
            << describe(clientOnScreen(main)) << ", " << where;
        EXPECT_TRUE(inside(r, work)) << name << " at " << describe(r) << ", " << where;
        ++seen;
    }
    EXPECT_GT(seen, 100) << where;
}

TEST(Fit, TheWindowFitsTheScreenAndEveryControlIsReachable) {
    RunningApp run;
    expectEverythingReachable(run, "preview off");
    SendMessageW(run.handle(Ctl::按钮_打开预览), BM_CLICK, 0, 0);
    pumpMessages();
    ASSERT_EQ(run.win().text(Ctl::按钮_打开预览), kPreviewOnCaption);
    expectEverythingReachable(run, "preview on");
    SendMessageW(run.handle(Ctl::按钮_打开预览), BM_CLICK, 0, 0);
    pumpMessages();
    expectEverythingReachable(run, "preview off again");
}

// Where the window scrolls, the wheel scrolls it, and Tab brings the control it reaches into view.
TEST(Fit, TheWheelAndTheKeyboardScrollAWindowLargerThanTheScreen) {
    RunningApp run;
    Win32Window& win = run.win();
    HWND main = win.mainWindow();
    if (!scrolls(main)) GTEST_SKIP() << "the window fits this screen";
    SetForegroundWindow(main);
    SetFocus(run.handle(Ctl::按钮_手动读取));
    const POINT start = win.scrollPosition();
    SendMessageW(main, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_GT(win.scrollPosition().y + win.scrollPosition().x, start.y + start.x) << "the wheel down";
    SendMessageW(main, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(WHEEL_DELTA * 20)), 0);
    EXPECT_EQ(win.scrollPosition().y, 0) << "the wheel back up to the top";

    // The last stop of the window lies below the screen's edge until Tab reaches it.
    SetFocus(run.handle(Ctl::按钮_清空列表框));
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
    PostMessageW(GetFocus(), WM_KEYUP, VK_TAB, 0xC0000001);
    pumpMessages();
    ASSERT_EQ(GetFocus(), run.handle(Ctl::按钮_保存到txt));
    RECT r{};
    GetWindowRect(GetFocus(), &r);
    EXPECT_TRUE(inside(r, clientOnScreen(main)))
        << describe(r) << " out of " << describe(clientOnScreen(main));
}

}  // namespace
}  // namespace vb

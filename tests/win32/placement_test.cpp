#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "running_app.h"
#include "window/window_def.h"
#include "work_area.h"

namespace vb {
namespace {

using testing::describe;
using testing::RunningApp;
using testing::workAreaOf;

void expectInside(HWND w, const char* what, int dpi) {
    RECT r{};
    GetWindowRect(w, &r);
    const RECT work = workAreaOf(w);
    EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom)
        << what << " at " << describe(r) << " leaves the work area " << describe(work) << " at " << dpi
        << " DPI";
}

// The whole window is on the screen, clear of the taskbar, at 100 %, 125 % and 150 %
// (scripts/wine-tests.sh runs this at 96, 120 and 144 DPI on a 1920 x 1080 screen), with the
// preview's width as well; where it fits at its usual place it stays there.
TEST(Placement, WindowsLieInsideTheWorkArea) {
    RunningApp run;
    const int dpi = run.win().dpi();
    HWND main = run.win().mainWindow();
    expectInside(main, "the main window", dpi);
    RECT r{};
    GetWindowRect(main, &r);
    const Rect usual = def(Ctl::主窗口).rect;
    const RECT work = workAreaOf(main);
    auto scaled = [dpi](int logical) { return MulDiv(logical, dpi, 96); };
    if (scaled(usual.top) + scaled(usual.height) <= work.bottom &&
        scaled(usual.left) + scaled(usual.width) <= work.right) {
        EXPECT_EQ(r.left, scaled(usual.left));
        EXPECT_EQ(r.top, scaled(usual.top));
    }
    run.win().setWindowWidth(previewGeometry().windowWidth);
    expectInside(main, "the main window with the preview", dpi);
    run.win().openSecondWindow();
    expectInside(run.win().secondWindow(), "the second window", dpi);
}

}  // namespace
}  // namespace vb

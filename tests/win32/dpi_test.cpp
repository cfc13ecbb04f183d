// A window moved to a monitor of another scale lays itself out again: every control, font, column
// and the window itself as a window opened at that scale would have them.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/win32/win32_window.h"

namespace vb {
namespace {

struct Look {
    RECT rect;  // in its parent's client area
    LONG fontHeight;
    std::wstring face;
};

Look lookOf(HWND w) {
    Look l{};
    GetWindowRect(w, &l.rect);
    MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&l.rect), 2);
    if (auto font = reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0))) {
        LOGFONTW lf{};
        GetObjectW(font, sizeof lf, &lf);
        l.fontHeight = lf.lfHeight;
        l.face = lf.lfFaceName;
    }
    return l;
}

std::string describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
           "x" + std::to_string(r.bottom - r.top);
}

// Both windows hold the same controls, placed and drawn alike.
void expectSameLayout(Win32Window& moved, Win32Window& fresh) {
    ASSERT_EQ(moved.dpi(), fresh.dpi());
    RECT a{}, b{};
    GetWindowRect(moved.mainWindow(), &a);
    GetWindowRect(fresh.mainWindow(), &b);
    EXPECT_EQ(a.right - a.left, b.right - b.left);
    EXPECT_EQ(a.bottom - a.top, b.bottom - b.top);
    int compared = 0;
    for (int i = 0; i < kControlCount; ++i) {
        const Ctl c = static_cast<Ctl>(i);
        HWND wa = moved.handle(c), wb = fresh.handle(c);
        if (!wa || !wb || c == Ctl::主窗口) continue;
        const Look la = lookOf(wa), lb = lookOf(wb);
        EXPECT_EQ(describe(la.rect), describe(lb.rect)) << "control " << i;
        EXPECT_EQ(la.fontHeight, lb.fontHeight) << "control " << i;
        EXPECT_EQ(la.face, lb.face) << "control " << i;
        ++compared;
    }
    EXPECT_GT(compared, 100);
    HWND la = moved.handle(Ctl::超级列表框1), lb = fresh.handle(Ctl::超级列表框1);
    for (int col = 0; col < moved.columnCount(); ++col)
        EXPECT_EQ(SendMessageW(la, LVM_GETCOLUMNWIDTH, col, 0), SendMessageW(lb, LVM_GETCOLUMNWIDTH, col, 0))
            << "column " << col;
}

// What preview mode does to the window, in two halves.
void firstHalf(Win32Window& w) {
    w.insertColumn(1, "更名后的效果", 380);
    w.move(Ctl::按钮_确认无误执行吧, 600, 610);
}
void secondHalf(Win32Window& w) {
    w.setWidth(Ctl::超级列表框1, 760);
    w.setWindowWidth(1150);
}

void changeDpi(Win32Window& w, int dpi) {
    RECT r{};
    GetWindowRect(w.mainWindow(), &r);
    SendMessageW(w.mainWindow(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&r));
}

TEST(PerMonitorDpi, AWindowMovedToAnotherScaleLooksAsOneOpenedThere) {
    const int start = 96;
    for (int target : {120, 144, 192}) {
        SCOPED_TRACE("96 -> " + std::to_string(target));
        Win32Window moved(GetModuleHandleW(nullptr), {}, start);
        Win32Window fresh(GetModuleHandleW(nullptr), {}, target);
        ASSERT_TRUE(moved.mainWindow() && fresh.mainWindow());
        firstHalf(moved);
        changeDpi(moved, target);
        secondHalf(moved);
        firstHalf(fresh);
        secondHalf(fresh);
        expectSameLayout(moved, fresh);
    }
}

TEST(PerMonitorDpi, ThereAndBackAgainIsTheWindowItWas) {
    Win32Window moved(GetModuleHandleW(nullptr), {}, 96);
    Win32Window fresh(GetModuleHandleW(nullptr), {}, 96);
    changeDpi(moved, 144);
    changeDpi(moved, 120);
    changeDpi(moved, 96);
    expectSameLayout(moved, fresh);
}

}  // namespace
}  // namespace vb

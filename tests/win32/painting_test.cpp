// What the window paints, read back from the screen: every label's glyphs inside the label and
// all of them drawn, every check box's square whole, and no control painting over another.
// scripts/wine-tests.sh runs these at 96, 120 and 144 DPI, and on every screen of its list, some
// of which lay the window out at a smaller scale than the monitor's.
#include <windows.h>

#include <gtest/gtest.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/encoding.h"
#include "platform/win32/wide.h"
#include "running_app.h"
#include "window/window_def.h"

namespace vb {
namespace {

using testing::RunningApp;

// Pixels, 0x00RRGGBB, row by row.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> px;
    std::uint32_t at(int x, int y) const { return px[static_cast<size_t>(y * width + x)]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

int grey(std::uint32_t p) {
    return static_cast<int>(((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3;
}

// A memory bitmap to draw into or copy to, white until something is drawn.
struct Canvas {
    Canvas(int w, int h) {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bmp);
        RECT all{0, 0, w, h};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        size = {w, h};
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    Pixels pixels() const {
        GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits);
        Pixels out{size.cx, size.cy, {}};
        out.px.assign(p, p + size.cx * size.cy);
        for (auto& v : out.px) v &= 0xFFFFFF;
        return out;
    }
    HDC dc = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;
    void* bits = nullptr;
    SIZE size{};
};

// Everything repainted, then the main window's client area as the screen shows it.
Pixels screenOf(RunningApp& run) {
    HWND main = run.app.mainWindow();
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpMessages();
    RECT r{};
    GetClientRect(main, &r);
    Canvas c(r.right, r.bottom);
    HDC dc = GetDC(main);
    BitBlt(c.dc, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(main, dc);
    return c.pixels();
}

// A control's client area in the main window's client area.
RECT clientIn(HWND main, HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    MapWindowPoints(w, main, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT windowIn(HWND main, HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string name(Ctl c) { return gbkToUtf8(def(c).name).value_or("?"); }
std::string dpiNote(RunningApp& run) { return " at " + std::to_string(run.win().dpi()) + " DPI"; }

// Saved as a picture for a person to look at, where VELBROOK_SHOTS names a folder.
void save(const Pixels& p, const std::string& file) {
    const char* dir = std::getenv("VELBROOK_SHOTS");
    if (!dir || !*dir) return;
    std::ofstream out(std::string(dir) + "\\" + file, std::ios::binary);
    out << "P6\n" << p.width << " " << p.height << "\n255\n";
    for (std::uint32_t v : p.px) out << char((v >> 16) & 0xFF) << char((v >> 8) & 0xFF) << char(v & 0xFF);
}

// The pages in front one by one, each shot once.
template <typename Check>
void onEveryPage(RunningApp& run, Check check) {
    for (Ctl page : tabPages()) {
        for (const auto& d : controlTable())
            if (tabPageOf(d.id) == page) {
                run.win().selectPageOf(d.id);
                break;
            }
        pumpMessages();
        const Pixels shot = screenOf(run);
        save(shot,
             "page-" + std::to_string(tabIndexOf(page)) + "-" + std::to_string(run.win().dpi()) + ".ppm");
        check(page, shot);
    }
}

bool shownOn(RunningApp& run, const ControlDef& d, Ctl page) {
    HWND w = run.handle(d.id);
    if (!w || !IsWindowVisible(w) || windowOf(d.id) != Ctl::主窗口) return false;
    const auto on = tabPageOf(d.id);
    return !on || *on == page;
}

// ---- Glyphs inside their label, all drawn -------------------------------------------------

// The label's text drawn alone as a static control draws it (with its alignment), unclipped, black on white,
// with a margin around the label's client area.
constexpr int kMargin = 16;
Pixels drawnAlone(HWND label) {
    RECT client{};
    GetClientRect(label, &client);
    Canvas c(client.right + 2 * kMargin, client.bottom + 2 * kMargin);
    HGDIOBJ oldFont = SelectObject(c.dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SetTextColor(c.dc, RGB(0, 0, 0));
    SetBkMode(c.dc, TRANSPARENT);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(label)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(label, text.data(), static_cast<int>(text.size()))));
    RECT at{kMargin, kMargin, kMargin + client.right, kMargin + client.bottom};
    const LONG style = GetWindowLongW(label, GWL_STYLE);
    const UINT align = (style & SS_TYPEMASK) == SS_CENTER  ? DT_CENTER
                       : (style & SS_TYPEMASK) == SS_RIGHT ? DT_RIGHT
                                                           : DT_LEFT;
    DrawTextW(c.dc, text.c_str(), -1, &at, align | DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP);
    SelectObject(c.dc, oldFont);
    return c.pixels();
}

// Every label's ink lies inside its client area, and the screen shows all of it: no stroke cut
// at the label's edge, none painted over by a neighbour.
TEST(Painting, EveryLabelShowsAllItsGlyphsInsideItself) {
    RunningApp run;
    HWND main = run.app.mainWindow();
    int labels = 0;
    onEveryPage(run, [&](Ctl page, const Pixels& shot) {
        for (const auto& d : controlTable()) {
            if ((d.kind != Kind::Label && d.kind != Kind::TransparentLabel) || !shownOn(run, d, page))
                continue;
            if (tabPageOf(d.id) != page && page != tabPages().front()) continue;  // once only
            HWND w = run.handle(d.id);
            const Pixels alone = drawnAlone(w);
            const RECT at = clientIn(main, w);
            int outside = 0, unseen = 0;
            for (int y = 0; y < alone.height; ++y)
                for (int x = 0; x < alone.width; ++x) {
                    if (grey(alone.at(x, y)) >= 96) continue;
                    const int cx = x - kMargin, cy = y - kMargin;
                    if (cx < 0 || cy < 0 || cx >= at.right - at.left || cy >= at.bottom - at.top) {
                        ++outside;
                        continue;
                    }
                    const int sx = at.left + cx, sy = at.top + cy;
                    if (shot.inside(sx, sy) && grey(shot.at(sx, sy)) > 200) ++unseen;
                }
            EXPECT_EQ(outside, 0) << name(d.id) << ": ink outside the label" << dpiNote(run);
            EXPECT_EQ(unseen, 0) << name(d.id) << ": ink the screen does not show" << dpiNote(run);
            ++labels;
        }
    });
    EXPECT_GE(labels, 20);
}

// ---- Check box squares whole --------------------------------------------------------------

// The button theme at the scale the window is laid out at, where the system opens one at any
// scale; none without a theme.
HTHEME themeAt(HWND box, int dpi) {
    using OpenForDpi = HTHEME(WINAPI*)(HWND, LPCWSTR, UINT);
    const auto openForDpi = reinterpret_cast<OpenForDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"uxtheme.dll"), "OpenThemeDataForDpi")));
    return openForDpi ? openForDpi(box, L"Button", static_cast<UINT>(dpi)) : OpenThemeData(box, L"Button");
}

// The square of a check box, ticked or not, on the background it stands on, at the scale the
// window is laid out at: the theme's, where there is one, else the classic one of its size.
Pixels squareOf(HWND box, bool ticked, std::uint32_t background, int dpi) {
    HTHEME theme = themeAt(box, dpi);
    const int state = ticked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL;
    SIZE size{12 * dpi / 96 + 1, 12 * dpi / 96 + 1};
    if (theme) GetThemePartSize(theme, nullptr, BP_CHECKBOX, state, nullptr, TS_DRAW, &size);
    Canvas c(size.cx, size.cy);
    RECT r{0, 0, size.cx, size.cy};
    HBRUSH bg = CreateSolidBrush(RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF));
    FillRect(c.dc, &r, bg);
    DeleteObject(bg);
    if (theme) {
        DrawThemeBackground(theme, c.dc, BP_CHECKBOX, state, &r, nullptr);
        CloseThemeData(theme);
    } else {
        DrawFrameControl(c.dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | (ticked ? DFCS_CHECKED : 0));
    }
    return c.pixels();
}

bool alike(std::uint32_t a, std::uint32_t b) {
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 8)
            return false;
    return true;
}

// Whether the whole square shows somewhere in the area.
bool showsSquare(const Pixels& shot, const RECT& area, const Pixels& sq) {
    for (int y = area.top; y + sq.height <= area.bottom; ++y)
        for (int x = area.left; x + sq.width <= area.right; ++x) {
            bool same = true;
            for (int j = 0; j < sq.height && same; ++j)
                for (int i = 0; i < sq.width && same; ++i)
                    same = shot.inside(x + i, y + j) && alike(shot.at(x + i, y + j), sq.at(i, j));
            if (same) return true;
        }
    return false;
}

TEST(Painting, EveryCheckBoxShowsItsSquareWhole) {
    RunningApp run;
    HWND main = run.app.mainWindow();
    int boxes = 0;
    onEveryPage(run, [&](Ctl page, const Pixels& shot) {
        for (const auto& d : controlTable()) {
            if (d.kind != Kind::CheckBox || !shownOn(run, d, page)) continue;
            if (tabPageOf(d.id) != page && page != tabPages().front()) continue;
            const RECT at = clientIn(main, run.handle(d.id));
            // The background beside the square, right of it at the top.
            const std::uint32_t bg = shot.at(at.left + run.win().scaled(14), at.top);
            const Pixels sq = squareOf(run.handle(d.id), run.win().checked(d.id), bg, run.win().dpi());
            EXPECT_TRUE(showsSquare(shot, at, sq)) << name(d.id) << dpiNote(run);
            ++boxes;
        }
    });
    EXPECT_GT(boxes, 8);
}

// ---- No control paints over another ------------------------------------------------------

bool overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool framed(Kind k) {
    return k == Kind::Edit || k == Kind::Combo || k == Kind::CheckBox || k == Kind::Radio ||
           k == Kind::Button || k == Kind::PictureButton;
}

// The tab control and the list lie beneath what stands on them by design.
bool beneath(Kind k) { return k == Kind::TabControl || k == Kind::ListView; }

// Where a box and a neighbour overlap (a label beside it, the group around it), the box shows
// as it does with the neighbour hidden: the neighbour paints nothing over it.
TEST(Painting, NoControlPaintsOverAnother) {
    RunningApp run;
    HWND main = run.app.mainWindow();
    int pairs = 0;
    for (Ctl page : tabPages()) {
        for (const auto& d : controlTable())
            if (tabPageOf(d.id) == page) {
                run.win().selectPageOf(d.id);
                break;
            }
        for (const auto& box : controlTable()) {
            if (!framed(box.kind) || !shownOn(run, box, page)) continue;
            if (tabPageOf(box.id) != page && page != tabPages().front()) continue;
            const RECT at = windowIn(main, run.handle(box.id));
            for (const auto& other : controlTable()) {
                HWND ow = run.handle(other.id);
                if (other.id == box.id || beneath(other.kind) || !shownOn(run, other, page) ||
                    GetParent(ow) != GetParent(run.handle(box.id)) || !overlap(at, windowIn(main, ow)))
                    continue;
                const Pixels with = screenOf(run);
                ShowWindow(ow, SW_HIDE);
                const Pixels without = screenOf(run);
                ShowWindow(ow, SW_SHOWNA);
                int differ = 0;
                for (int y = at.top; y < at.bottom; ++y)
                    for (int x = at.left; x < at.right; ++x)
                        differ += with.inside(x, y) && with.at(x, y) != without.at(x, y);
                EXPECT_EQ(differ, 0) << name(other.id) << " paints over " << name(box.id) << dpiNote(run);
                ++pairs;
            }
        }
    }
    EXPECT_GT(pairs, 0);
}

}  // namespace
}  // namespace vb

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/encoding.h"
#include "platform/win32/wide.h"
#include "running_app.h"
#include "window/window_def.h"

namespace vb {
namespace {

using testing::RunningApp;

// The screen's dots per inch this session runs at: scripts/wine-tests.sh runs these tests at
// 96, 120 and 144.
std::string dpiNote(RunningApp& run) { return " at " + std::to_string(run.win().dpi()) + " DPI"; }

std::string name(const ControlDef& d) { return gbkToUtf8(d.name).value_or("?"); }

SIZE clientSize(HWND w) {
    RECT r;
    GetClientRect(w, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// The room a caption needs with the control's own font, as the system draws it: beside a check
// box or radio button the box and half a digit's width, in a push button its frame, in a group
// box the frame on both sides; a label wraps at its width.
SIZE needed(HWND w, Kind kind, int dpi) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    HDC dc = GetDC(w);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)));
    const bool label = kind == Kind::Label || kind == Kind::TransparentLabel;
    RECT r{0, 0, label ? clientSize(w).cx : 0, 0};
    DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | (label ? DT_WORDBREAK : DT_SINGLELINE));
    int digit = 0;
    GetCharWidth32W(dc, L'0', L'0', &digit);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(w, dc);
    // The last line needs the height of its characters, the lines above it their spacing.
    const int lines = label ? std::max(1, static_cast<int>((r.bottom - r.top) / tm.tmHeight)) : 1;
    SIZE s{r.right - r.left, (lines - 1) * tm.tmHeight + tm.tmHeight - tm.tmInternalLeading};
    if (kind == Kind::CheckBox || kind == Kind::Radio) s.cx += 12 * dpi / 96 + 1 + digit / 2;
    if (kind == Kind::Button) s.cx += 4;
    if (kind == Kind::GroupBox) s.cx += MulDiv(16, dpi, 96);
    return s;
}

// Every caption shows whole, with its control's own font, in the space the definition gives it.
TEST(Captions, EveryCaptionFitsItsControl) {
    RunningApp run;
    run.win().openSecondWindow();
    pumpMessages();
    int checked = 0;
    for (const auto& d : controlTable()) {
        const bool captioned = d.kind == Kind::Button || d.kind == Kind::CheckBox || d.kind == Kind::Radio ||
                               d.kind == Kind::Label || d.kind == Kind::TransparentLabel ||
                               d.kind == Kind::GroupBox;
        HWND w = run.handle(d.id);
        if (!captioned || !w || !*d.caption) continue;
        const SIZE need = needed(w, d.kind, run.win().dpi());
        const SIZE have = clientSize(w);
        EXPECT_LE(need.cx, have.cx) << name(d) << " \"" << gbkToUtf8(d.caption).value_or("?") << "\""
                                    << dpiNote(run);
        if (d.kind != Kind::GroupBox) {
            EXPECT_LE(need.cy, have.cy)
                << name(d) << " \"" << gbkToUtf8(d.caption).value_or("?") << "\"" << dpiNote(run);
        }
        ++checked;
    }
    EXPECT_GT(checked, 80);
}

// ---- Every stroke drawn -------------------------------------------------------------------

// A character drawn black on white: which pixels are ink (darker than a grey level).
struct Glyph {
    int width = 0;
    int height = 0;
    std::vector<bool> ink;
    bool at(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height && ink[static_cast<size_t>(y * width + x)];
    }
};

Glyph draw(HFONT font, wchar_t ch, int darkerThan) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldFont = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    Glyph g;
    g.width = tm.tmMaxCharWidth + 2;
    g.height = tm.tmHeight + 2;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = g.width;
    bi.bmiHeader.biHeight = -g.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBmp = SelectObject(dc, bmp);
    RECT all{0, 0, g.width, g.height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, 1, 1, &ch, 1);
    GdiFlush();
    const auto* px = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < g.width * g.height; ++i) g.ink.push_back(static_cast<int>(px[i] & 0xFF) < darkerThan);
    SelectObject(dc, oldBmp);
    SelectObject(dc, oldFont);
    DeleteObject(bmp);
    DeleteDC(dc);
    return g;
}

// Where the ink starts, left and top; nothing when there is none.
std::optional<POINT> inkOrigin(const Glyph& g) {
    std::optional<POINT> o;
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
            if (g.at(x, y)) o = POINT{o ? std::min<LONG>(o->x, x) : x, o ? std::min<LONG>(o->y, y) : y};
    return o;
}

// The strokes of the large drawing, shrunk to the small one's scale and laid on it by where
// their ink starts, that the small drawing shows nothing of nearby: a row or column of at least
// three solid cells with no ink within two pixels (a small size may place a stroke a little
// apart). A character drawn whole has none.
int missingStrokes(const Glyph& small, const Glyph& large, int scale) {
    const auto bigOrigin = inkOrigin(large);
    if (!bigOrigin) return 0;
    const auto origin = inkOrigin(small);
    if (!origin) return 1;  // the whole character is gone
    auto solid = [&](int x, int y) {
        int n = 0;
        for (int dy = 0; dy < scale; ++dy)
            for (int dx = 0; dx < scale; ++dx)
                n += large.at((x - origin->x) * scale + bigOrigin->x + dx,
                              (y - origin->y) * scale + bigOrigin->y + dy);
        return 2 * n >= scale * scale;
    };
    auto inkNear = [&](int x, int y) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (small.at(x + dx, y + dy)) return true;
        return false;
    };
    // Runs of solid cells along one direction, counted when none has ink near it.
    auto runsUnseen = [&](int lines, int length, auto cell) {
        int missing = 0;
        for (int a = 0; a < lines; ++a) {
            int run = 0, unseen = 0;
            for (int b = 0; b <= length; ++b) {
                auto [x, y] = cell(a, b);
                if (b < length && solid(x, y)) {
                    ++run;
                    unseen += !inkNear(x, y);
                } else {
                    if (run >= 3 && unseen == run) ++missing;
                    run = unseen = 0;
                }
            }
        }
        return missing;
    };
    return runsUnseen(small.height, small.width,
                      [](int a, int b) {
                          return std::pair{b, a};
                      }) +
           runsUnseen(small.width, small.height, [](int a, int b) {
               return std::pair{a, b};
           });
}

// Every character of every caption, in the controls' font at its size, shows the strokes it
// shows four times as large (some small sizes of some faces drop whole strokes: 一 vanishes).
TEST(Captions, EveryStrokeOfEveryCaptionIsDrawn) {
    RunningApp run;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(run.handle(Ctl::按钮_一键删除), WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    GetObjectW(font, sizeof lf, &lf);
    constexpr int kScale = 4;
    LOGFONTW big = lf;
    big.lfHeight *= kScale;
    HFONT large = CreateFontIndirectW(&big);
    std::wstring chars;
    for (const auto& d : controlTable())
        for (wchar_t ch : gbkToWideLossy(d.caption))
            if (ch > 0x7F && chars.find(ch) == std::wstring::npos) chars += ch;
    ASSERT_GT(chars.size(), 100u);
    std::string broken;
    for (wchar_t ch : chars)
        // Smoothed edges of a thin stroke are grey: any grey counts small, only dark counts large.
        if (missingStrokes(draw(font, ch, 224), draw(large, ch, 128), kScale) > 0)
            broken += gbkToUtf8(wideToGbkLossy(std::wstring(1, ch))).value_or("?");
    DeleteObject(large);
    EXPECT_TRUE(broken.empty()) << broken << " drawn incompletely in "
                                << gbkToUtf8(wideToGbkLossy(lf.lfFaceName)).value_or("?") << " at "
                                << -lf.lfHeight << " pixels" << dpiNote(run);
}

}  // namespace
}  // namespace vb

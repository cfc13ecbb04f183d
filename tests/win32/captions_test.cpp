#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "glyphs.h"
#include "platform/encoding.h"
#include "platform/win32/wide.h"
#include "running_app.h"
#include "window/window_def.h"

namespace vb {
namespace {

using testing::draw;
using testing::missingStrokes;
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

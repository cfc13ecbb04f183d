// Check boxes and radio buttons painted by the program: the glyph at the scale asked for, and
// the button's state (ticked, disabled, focused) shown as the system shows it.
#include <windows.h>

#include <gtest/gtest.h>
#include <uxtheme.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/win32_tick_boxes.h"

namespace vb {
namespace {

constexpr int kWidth = 120, kHeight = 30;

// A button of one style on a window of its own, shown, with a font of a fixed size: the
// caption keeps clear of the glyph and of the top row whatever the screen's scale.
struct Button {
    explicit Button(DWORD style) {
        parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth + 20, kHeight + 20,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        hwnd = CreateWindowExW(0, L"BUTTON", L"首次出现", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 10, 10,
                               kWidth, kHeight, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
        font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Shell Dlg");
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        // Focus rectangles show from the start, as in the program's windows.
        SendMessageW(parent, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    }
    ~Button() {
        DestroyWindow(parent);
        DeleteObject(font);
    }
    Button(const Button&) = delete;
    Button& operator=(const Button&) = delete;
    HWND parent = nullptr;
    HWND hwnd = nullptr;
    HFONT font = nullptr;
};

// The button painted by the program into a bitmap: 0x00RRGGBB, row by row.
std::vector<std::uint32_t> painted(HWND button, int dpi, int monitorDpi) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    paintTickBox(button, dc, dpi, monitorDpi);
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> out(p, p + kWidth * kHeight);
    for (auto& v : out) v &= 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return out;
}

// The columns from the left edge up to the first one the background (as in the top right
// corner) alone fills: the glyph.
int glyphWidth(const std::vector<std::uint32_t>& px) {
    const std::uint32_t background = px[static_cast<size_t>(kWidth - 1)];
    for (int x = 0; x < kWidth; ++x) {
        bool empty = true;
        for (int y = 0; y < kHeight && empty; ++y)
            empty = px[static_cast<size_t>(y * kWidth + x)] == background;
        if (empty) return x;
    }
    return kWidth;
}

// How many pixels differ between two paintings, left of column `split` or from it on.
int differing(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b, int split,
              bool left) {
    int n = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = left ? 0 : split; x < (left ? split : kWidth); ++x)
            n += a[static_cast<size_t>(y * kWidth + x)] != b[static_cast<size_t>(y * kWidth + x)];
    return n;
}

const DWORD kStyles[] = {BS_AUTOCHECKBOX, BS_AUTORADIOBUTTON};

// The monitor at 144 DPI: the glyph grows with the scale asked for and, without a theme, is as
// wide as the system's classic one at that scale.
TEST(TickBoxes, TheGlyphIsDrawnAtTheScaleAskedForNotTheMonitors) {
    for (DWORD style : kStyles) {
        Button b(style);
        int previous = 0;
        for (int dpi : {96, 120, 144}) {
            const int side = glyphWidth(painted(b.hwnd, dpi, 144));
            const std::string what = std::to_string(style) + " at " + std::to_string(dpi);
            if (!GetWindowTheme(b.hwnd)) {
                EXPECT_EQ(side, 12 * dpi / 96 + 1) << what;
            }
            EXPECT_GT(side, previous) << what;
            previous = side;
        }
    }
}

// Each state changes what it should and nothing else: the tick and the press only the glyph,
// the focus only the caption, disabling both (a ticked box: some themes grey an empty square
// no differently).
TEST(TickBoxes, EachStateShowsWhereTheSystemShowsIt) {
    struct Case {
        const char* name;
        bool ticked;  // before the change
        void (*apply)(HWND);
        bool glyph, caption;
    };
    const Case cases[] = {
        {"ticked", false, [](HWND w) { SendMessageW(w, BM_SETCHECK, BST_CHECKED, 0); }, true, false},
        {"pressed", false, [](HWND w) { SendMessageW(w, BM_SETSTATE, TRUE, 0); }, true, false},
        {"focused", true, [](HWND w) { SetFocus(w); }, false, true},
        {"disabled", true, [](HWND w) { EnableWindow(w, FALSE); }, true, true},
    };
    for (DWORD style : kStyles)
        for (const Case& c : cases) {
            Button b(style);
            if (c.ticked) SendMessageW(b.hwnd, BM_SETCHECK, BST_CHECKED, 0);
            const auto before = painted(b.hwnd, 96, 120);
            const int split = glyphWidth(before);
            c.apply(b.hwnd);
            const auto after = painted(b.hwnd, 96, 120);
            const std::string what = std::string(c.name) + ", style " + std::to_string(style);
            EXPECT_EQ(differing(before, after, split, true) > 0, c.glyph) << what << ": the glyph";
            EXPECT_EQ(differing(before, after, split, false) > 0, c.caption) << what << ": the caption";
        }
}

}  // namespace
}  // namespace vb

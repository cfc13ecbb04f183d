#include "glyphs.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

namespace vb::testing {
namespace {

// Where the ink starts, left and top; nothing when there is none.
std::optional<POINT> inkOrigin(const Glyph& g) {
    std::optional<POINT> o;
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
            if (g.at(x, y)) o = POINT{o ? std::min<LONG>(o->x, x) : x, o ? std::min<LONG>(o->y, y) : y};
    return o;
}

}  // namespace

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
    g.baseline = 1 + tm.tmAscent;
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

namespace {

// The strokes missing with the large drawing's point `big` laid on the small drawing's `at`.
int missingWhenLaid(const Glyph& small, const Glyph& large, int scale, POINT at, POINT big, Align align) {
    auto solid = [&](int x, int y) {
        int n = 0;
        for (int dy = 0; dy < scale; ++dy)
            for (int dx = 0; dx < scale; ++dx)
                n += large.at((x - at.x) * scale + big.x + dx, (y - at.y) * scale + big.y + dy);
        return 2 * n >= scale * scale;
    };
    // Laid by the baseline, a stroke that is there lies within a pixel.
    const int reach = align == Align::Baseline ? 1 : 2;
    auto inkNear = [&](int x, int y) {
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx)
                if (small.at(x + dx, y + dy)) return true;
        return false;
    };
    // Runs of solid cells along one direction, counted when none has ink near it; laid by the
    // baseline, also when three cells in a row have none (a bar whose middle crosses a stroke
    // that is there).
    auto runsUnseen = [&](int lines, int length, auto cell) {
        int missing = 0;
        for (int a = 0; a < lines; ++a) {
            int run = 0, unseen = 0, stretch = 0, longest = 0;
            for (int b = 0; b <= length; ++b) {
                auto [x, y] = cell(a, b);
                if (b < length && solid(x, y)) {
                    ++run;
                    const bool seen = inkNear(x, y);
                    unseen += !seen;
                    stretch = seen ? 0 : stretch + 1;
                    longest = std::max(longest, stretch);
                } else {
                    if (run >= 3 && (unseen == run || (align == Align::Baseline && longest >= 3))) ++missing;
                    run = unseen = stretch = longest = 0;
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

}  // namespace

int missingStrokes(const Glyph& small, const Glyph& large, int scale, Align align) {
    const auto bigOrigin = inkOrigin(large);
    if (!bigOrigin) return 0;
    const auto origin = inkOrigin(small);
    if (!origin) return 1;  // the whole character is gone
    if (align == Align::Ink) return missingWhenLaid(small, large, scale, *origin, *bigOrigin, align);
    // A size drawn from the font's own bitmaps may sit a pixel apart from the outline: the
    // best of the nearby placements.
    int fewest = -1;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int n = missingWhenLaid(small, large, scale, POINT{1 + dx, small.baseline + dy},
                                          POINT{1, large.baseline}, align);
            fewest = fewest < 0 ? n : std::min(fewest, n);
        }
    return fewest;
}

}  // namespace vb::testing

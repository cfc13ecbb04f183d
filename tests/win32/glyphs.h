// Characters drawn as the system draws text, to tell whether a font shows them whole.
#pragma once

#include <windows.h>

#include <vector>

namespace vb::testing {

// A character drawn black on white: which pixels are ink (darker than a grey level).
struct Glyph {
    int width = 0;
    int height = 0;
    int baseline = 0;  // the row the character stands on
    std::vector<bool> ink;
    bool at(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height && ink[static_cast<size_t>(y * width + x)];
    }
};

Glyph draw(HFONT font, wchar_t ch, int darkerThan);

// How the large drawing is laid on the small one: by where their ink starts, or by where the
// characters start on their baselines (which also finds a missing topmost or leftmost stroke and
// part of a bar, where the fonts of the two sizes place characters alike).
enum class Align { Ink, Baseline };

// The strokes of the large drawing, shrunk to the small one's scale and laid on it, that the
// small drawing shows nothing of nearby: a row or column of at least three solid cells with no
// ink within two pixels (a small size may place a stroke a little apart). A character drawn
// whole has none.
int missingStrokes(const Glyph& small, const Glyph& large, int scale, Align align = Align::Ink);

}  // namespace vb::testing

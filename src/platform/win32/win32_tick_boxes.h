// Check boxes and radio buttons painted by the program, for a window laid out at a smaller scale
// than its monitor's: the system would draw their squares and circles at the monitor's scale,
// too big for the boxes laid out around them.
#pragma once

#include <windows.h>

namespace vb {

// The square's or circle's side at a scale, where no theme says otherwise.
constexpr int classicTickSize(int dpi) { return 12 * dpi / 96 + 1; }

// Paints the check box or radio button whole as the system would, its glyph at dpi: the
// background its parent gives (WM_CTLCOLORSTATIC), the glyph in the button's state (ticked,
// pressed, hot, disabled), the caption in the button's font and the focus rectangle.
// monitorDpi: the scale the system's theme data is at where it cannot be opened at dpi.
void paintTickBox(HWND button, HDC dc, int dpi, int monitorDpi);

}  // namespace vb

// Where a top-level window opens: at its usual place when the screen's work area (the screen
// less the taskbar) holds it there, else moved just as far as it must be to lie inside.
#pragma once

namespace vb {

struct ScreenBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ScreenBox&, const ScreenBox&) = default;
};

// The window's box, in pixels of the screen, placed inside the work area. Along a direction in
// which it does not fit it starts at the work area's edge, so that its title bar and as much
// of it as can be are in view.
ScreenBox placeInWorkArea(ScreenBox window, const ScreenBox& work);

}  // namespace vb

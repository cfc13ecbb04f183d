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

// The scale (dots per inch) to lay a window out at, whose size at 96 DPI is logicalWidth x
// logicalHeight: the monitor's own when the window fits the work area there, else the largest of
// the system's steps of 25 % below it (120, 144, ...) at which it fits, else 96, where the
// window scrolls. A monitor below 96 keeps its own scale.
int fittingDpi(int monitorDpi, int logicalWidth, int logicalHeight, const ScreenBox& work);

}  // namespace vb

#include "window/window_placement.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

// A 1920 x 1080 screen with a taskbar 40 pixels high (or wide) on one edge.
constexpr ScreenBox kTaskbarBelow{0, 0, 1920, 1040};
constexpr ScreenBox kTaskbarAbove{0, 40, 1920, 1040};
constexpr ScreenBox kTaskbarLeft{40, 0, 1880, 1080};

// The main window at its usual place (50, 50 scaled) and size (769 x 680, 1150 wide with the
// preview) at 100 %, 125 %, 150 % and 175 %.
TEST(WindowPlacement, StaysWhereItIsWhenItFitsElseMovesJustInside) {
    struct Case {
        const char* what;
        ScreenBox window;
        ScreenBox work;
        ScreenBox placed;
    };
    const Case cases[] = {
        {"100 %", {50, 50, 769, 680}, kTaskbarBelow, {50, 50, 769, 680}},
        {"100 % with the preview", {50, 50, 1150, 680}, kTaskbarBelow, {50, 50, 1150, 680}},
        {"125 %", {63, 63, 961, 850}, kTaskbarBelow, {63, 63, 961, 850}},
        {"125 % with the preview", {63, 63, 1438, 850}, kTaskbarBelow, {63, 63, 1438, 850}},
        {"150 %: lifted off the taskbar", {75, 75, 1154, 1020}, kTaskbarBelow, {75, 20, 1154, 1020}},
        {"150 % with the preview", {75, 75, 1725, 1020}, kTaskbarBelow, {75, 20, 1725, 1020}},
        {"150 %, taskbar above", {75, 75, 1154, 1020}, kTaskbarAbove, {75, 60, 1154, 1020}},
        {"150 %, taskbar at the left", {75, 75, 1154, 1020}, kTaskbarLeft, {75, 60, 1154, 1020}},
        {"150 % placed under the left taskbar", {20, 75, 1154, 1020}, kTaskbarLeft, {40, 60, 1154, 1020}},
        {"wider than the preview allows: moved left",
         {300, 50, 1725, 680},
         kTaskbarBelow,
         {195, 50, 1725, 680}},
        {"175 %: too high, starts at the top", {88, 88, 1346, 1190}, kTaskbarBelow, {88, 0, 1346, 1190}},
        {"too high and too wide", {88, 88, 2013, 1190}, kTaskbarAbove, {0, 40, 2013, 1190}},
        {"exactly as large as the work area", {75, 75, 1920, 1040}, kTaskbarBelow, {0, 0, 1920, 1040}},
        {"a monitor left of the main one",
         {-1800, 75, 1154, 1020},
         {-1920, 0, 1920, 1040},
         {-1800, 20, 1154, 1020}},
    };
    for (const auto& c : cases) {
        const ScreenBox got = placeInWorkArea(c.window, c.work);
        EXPECT_EQ(got, c.placed) << c.what << ": got " << got.left << "," << got.top;
    }
}

}  // namespace
}  // namespace vb

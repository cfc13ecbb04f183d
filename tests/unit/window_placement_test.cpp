#include "window/window_placement.h"

#include <gtest/gtest.h>

#include <string>

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

// The scale the main window (769 x 680 at 96 DPI, 1150 wide with the preview) is laid out at on
// common screens, each with a taskbar 40 pixels high at 100 % along its bottom edge.
TEST(WindowPlacement, TheLargestScaleThatFitsDownTo96) {
    struct Case {
        int screenWidth, screenHeight, monitorDpi;
        int off, on;  // the scale with the preview off and on
    };
    const Case cases[] = {
        {1024, 600, 96, 96, 96},      // neither fits: 96, and the window scrolls
        {800, 600, 96, 96, 96},       //
        {1280, 800, 120, 96, 96},     //
        {1366, 768, 96, 96, 96},      //
        {1366, 768, 120, 96, 96},     // 850 high at 125 % in 718
        {1600, 900, 120, 120, 120},   // exactly as high as the work area
        {1280, 1024, 144, 120, 96},   // 150 % is too high, 125 % with the preview too wide
        {1920, 1080, 144, 144, 144},  //
        {2560, 1440, 192, 192, 192},  //
        {1920, 1080, 168, 120, 120},  // 175 %: 150 % is 10 pixels too high
        {1366, 768, 110, 96, 96},     // a scale between the steps goes down to the step below
        {1920, 1080, 110, 110, 110},  // and stays where it fits
        {1024, 768, 72, 72, 72},      // below 96: its own
    };
    for (const auto& c : cases) {
        const int taskbar = 40 * c.monitorDpi / 96;
        const ScreenBox work{0, 0, c.screenWidth, c.screenHeight - taskbar};
        const std::string what = std::to_string(c.screenWidth) + "x" + std::to_string(c.screenHeight) +
                                 " at " + std::to_string(c.monitorDpi) + " DPI";
        EXPECT_EQ(fittingDpi(c.monitorDpi, 769, 680, work), c.off) << what;
        EXPECT_EQ(fittingDpi(c.monitorDpi, 1150, 680, work), c.on) << what << " with the preview";
    }
}

}  // namespace
}  // namespace vb

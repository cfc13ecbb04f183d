#include "window/window_placement.h"

#include <algorithm>

namespace vb {
namespace {

int placeAlong(int start, int size, int workStart, int workSize) {
    if (size > workSize) return workStart;
    return std::clamp(start, workStart, workStart + workSize - size);
}

}  // namespace

ScreenBox placeInWorkArea(ScreenBox window, const ScreenBox& work) {
    window.left = placeAlong(window.left, window.width, work.left, work.width);
    window.top = placeAlong(window.top, window.height, work.top, work.height);
    return window;
}

}  // namespace vb

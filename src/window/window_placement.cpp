#include "window/window_placement.h"

#include <algorithm>

namespace vb {
namespace {

int placeAlong(int start, int size, int workStart, int workSize) {
    if (size > workSize) return workStart;
    return std::clamp(start, workStart, workStart + workSize - size);
}

int scaledBy(int logical, int dpi) {
    return static_cast<int>((static_cast<long long>(logical) * dpi + 48) / 96);
}

bool fitsAt(int dpi, int width, int height, const ScreenBox& work) {
    return scaledBy(width, dpi) <= work.width && scaledBy(height, dpi) <= work.height;
}

}  // namespace

int fittingDpi(int monitorDpi, int logicalWidth, int logicalHeight, const ScreenBox& work) {
    if (monitorDpi <= 96 || fitsAt(monitorDpi, logicalWidth, logicalHeight, work)) return monitorDpi;
    constexpr int kStep = 24;  // 25 %
    int dpi = (monitorDpi - 1) / kStep * kStep;
    while (dpi > 96 && !fitsAt(dpi, logicalWidth, logicalHeight, work)) dpi -= kStep;
    return std::max(dpi, 96);
}

ScreenBox placeInWorkArea(ScreenBox window, const ScreenBox& work) {
    window.left = placeAlong(window.left, window.width, work.left, work.width);
    window.top = placeAlong(window.top, window.height, work.top, work.height);
    return window;
}

}  // namespace vb

// The order in which a reader meets the controls of a window, derived from the window
// definition's rects: rows from top to bottom, each row from left to right. A group box or tab
// page is read where it stands, its content right after it; the radio buttons of one container
// are read together, as the one stop they make. Keyboard navigation walks this order.
#pragma once

#include <vector>

#include "window/controls.h"

namespace vb {

// Every control of the window (主窗口 or 感谢窗口), the window itself excluded, each once. The
// tab control comes before its pages, each page before its content.
std::vector<Ctl> readingOrder(Ctl window);

}  // namespace vb

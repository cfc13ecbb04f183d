// The order in which a reader meets the controls of a window, derived from where the controls
// stand: rows from top to bottom, each row from left to right. A group box or tab page is read
// where it stands, its content right after it; the radio buttons of one container are read
// together, as the one stop they make. A push button is read after the other controls of its
// row, the boxes it acts on. Keyboard navigation walks this order.
#pragma once

#include <functional>
#include <vector>

#include "window/controls.h"

namespace vb {

// Where a control stands in its container, in 96-DPI pixels.
using RectOf = std::function<Rect(Ctl)>;

// Every control of the window (主窗口 or 感谢窗口), the window itself excluded, each once. The
// tab control comes before its pages, each page before its content. Without `rectOf`, the
// controls stand where the window definition puts them.
std::vector<Ctl> readingOrder(Ctl window);
std::vector<Ctl> readingOrder(Ctl window, const RectOf& rectOf);

}  // namespace vb

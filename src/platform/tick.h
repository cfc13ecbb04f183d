// Milliseconds since an arbitrary start, wrapping like the Windows tick count.
// (<chrono> cannot be included here: its micro sign has no GBK form.)
#pragma once

#include <cstdint>

namespace vb {
std::uint32_t systemTickCount();
}

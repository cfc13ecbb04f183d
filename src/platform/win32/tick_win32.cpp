#include <windows.h>

#include "platform/tick.h"

namespace vb {
std::uint32_t systemTickCount() { return GetTickCount(); }
}  // namespace vb

// Names that Windows keeps for its devices. A file made under such a name (possible through
// "\\?\" paths) cannot be opened, moved or deleted by most programs, so no rename makes one.
#pragma once

#include <string_view>

namespace vb {

// True when the base name of a GBK name (the part before its first dot, trailing blanks
// ignored) is CON, PRN, AUX, NUL, COM1-COM9 or LPT1-LPT9, in any letter case.
bool isDeviceName(std::string_view name);

}  // namespace vb

// The directory search's wildcard rules, as Windows applies them, over GBK names: "*" any run,
// "?" one character (a GBK pair is one), ASCII case ignored, a trailing ".*" also matches a
// name without a dot. Both file systems filter their listings with it.
#pragma once

#include <string_view>

namespace vb {

bool matchesWildcard(std::string_view name, std::string_view pattern);

}  // namespace vb

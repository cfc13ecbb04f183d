// Change the extension of a file name, or append a text behind it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "transforms/path_style.h"

namespace vb {

// The target extension as typed: a text with no dot anywhere gets one in front.
std::string dottedExtension(std::string_view typed);
// Base name + the new extension; skipped when that is the old name and unchanged names are skipped.
std::optional<std::string> changeExtension(std::string_view name, std::string_view ext,
                                           const PathStyle& paths, bool skipUnchanged);
std::optional<std::string> appendAfterExtension(std::string_view name, std::string_view text);

}  // namespace vb

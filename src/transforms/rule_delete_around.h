// Delete everything before or after a marker. The rules take the base name of a file (or a whole
// folder name) and return the new one, or nothing when the entry is skipped (marker absent, or
// nothing would be left). An unchanged result is not a skip.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "transforms/rule_common.h"

namespace vb {

// Keeps the marker and what follows it; with includeMarker only what follows it.
std::optional<std::string> deleteBefore(std::string_view base, std::string_view marker, Occurrence occ,
                                        bool includeMarker);

// Files: keeps what precedes the marker, and the marker itself unless includeMarker.
std::optional<std::string> deleteAfter(std::string_view base, std::string_view marker, Occurrence occ,
                                       bool includeMarker);

// Folders ignore "包括它": the marker always goes with what follows it.
std::optional<std::string> deleteAfterFolder(std::string_view name, std::string_view marker, Occurrence occ);

}  // namespace vb

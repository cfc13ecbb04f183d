// Insert a text right in front of or right behind one occurrence of a marker.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "transforms/rule_common.h"

namespace vb {

enum class Side { Before, After };

// The new base name (or folder name); nothing when the marker is absent. Refusing a text with
// characters names cannot hold is the caller's guard.
std::optional<std::string> insertAtMarker(std::string_view base, std::string_view marker,
                                          std::string_view text, Occurrence occ, Side side);

}  // namespace vb

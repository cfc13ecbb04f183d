#include "transforms/rule_insert_at_marker.h"

namespace vb {

std::optional<std::string> insertAtMarker(std::string_view base, std::string_view marker,
                                          std::string_view text, Occurrence occ, Side side) {
    int p = locate(base, marker, occ);
    if (p == -1) return std::nullopt;
    std::string with = side == Side::Before ? std::string(text) + std::string(marker)
                                            : std::string(marker) + std::string(text);
    return replace(base, marker, with, p, 1);
}

}  // namespace vb

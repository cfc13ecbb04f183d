#include "transforms/rule_delete_around.h"

namespace vb {

std::optional<std::string> deleteBefore(std::string_view base, std::string_view marker, Occurrence occ,
                                        bool includeMarker) {
    int p = locate(base, marker, occ);
    if (p == -1) return std::nullopt;
    int from = includeMarker ? p + static_cast<int>(marker.size()) : p;
    std::string out = mid(base, from, static_cast<int>(base.size()));
    if (out.empty()) return std::nullopt;
    return out;
}

std::optional<std::string> deleteAfter(std::string_view base, std::string_view marker, Occurrence occ,
                                       bool includeMarker) {
    int p = locate(base, marker, occ);
    if (p == -1) return std::nullopt;
    std::string out = left(base, p - 1);
    if (!includeMarker) out += marker;
    if (out.empty()) return std::nullopt;
    return out;
}

std::optional<std::string> deleteAfterFolder(std::string_view name, std::string_view marker, Occurrence occ) {
    return deleteAfter(name, marker, occ, true);
}

}  // namespace vb

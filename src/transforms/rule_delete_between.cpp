#include "transforms/rule_delete_between.h"

#include "transforms/gbk_text.h"

namespace vb {
namespace {

int position(std::string_view base, std::string_view marker, OccurrenceBoxes boxes) {
    int p = -1;
    if (boxes.first) p = findFirst(base, marker);
    if (boxes.last) p = findLast(base, marker);
    return p;
}

}  // namespace

std::optional<MarkerSpan> locateMarkers(std::string_view base, const BetweenMarkers& m) {
    int p1 = position(base, m.start, m.startBoxes);
    int p2 = position(base, m.end, m.endBoxes);
    if (p1 == -1 || p2 == -1 || p2 <= p1) return std::nullopt;
    return MarkerSpan{p1, p2};
}

std::optional<std::string> deleteBetween(std::string_view base, const BetweenMarkers& m,
                                         bool includeMarkers) {
    auto span = locateMarkers(base, m);
    if (!span) return std::nullopt;
    const int s = static_cast<int>(m.start.size());
    const int t = static_cast<int>(m.end.size());
    int from = includeMarkers ? span->p1 : span->p1 + s;
    int length = includeMarkers ? span->p2 - span->p1 + t : span->p2 - span->p1 - s;
    // Cut the stretch where it stands: searching for its text from p1 instead could hit a copy
    // of it inside the start marker.
    std::string out(base);
    if (length > 0) out.erase(static_cast<size_t>(from - 1), static_cast<size_t>(length));
    if (out.empty()) return std::nullopt;
    return out;
}

}  // namespace vb

// Delete the stretch between a start marker S and an end marker T of a base name (or folder name).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vb {

// The two check boxes of one marker. Both ticked means last; neither ticked means the marker is
// treated as absent, so the entry fails the marker test.
struct OccurrenceBoxes {
    bool first = true;
    bool last = false;
};

struct BetweenMarkers {
    std::string_view start;
    OccurrenceBoxes startBoxes;
    std::string_view end;
    OccurrenceBoxes endBoxes;
};

struct MarkerSpan {
    int p1;  // position of S
    int p2;  // position of T, always after p1
};

// The marker test of the counting pass: both markers found and T after S.
std::optional<MarkerSpan> locateMarkers(std::string_view base, const BetweenMarkers& m);

// The new base name; nothing when the marker test fails or nothing would be left. With
// includeMarkers both markers go too. A result equal to base is not a skip.
std::optional<std::string> deleteBetween(std::string_view base, const BetweenMarkers& m, bool includeMarkers);

}  // namespace vb

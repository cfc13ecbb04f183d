// The padded-number ordering of file listings: a leading number near the start of a name is
// compared as if zero-padded, so 第2集 comes before 第10集.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

// The sort key of one name among count names. The first ASCII digit within bytes 1 to 7 gets
// one or two zeros in front (fewer than 100 names: up to two digits; otherwise up to three)
// and the key then ends in a marker, so a padded key sorts after the same unpadded text.
std::string paddedNumberKey(std::string_view name, std::size_t count);

// Sorts names by their keys, unsigned byte order. Keys are built once per name. Two names
// with the same key (only possible when a name ends in a marker) are ordered by the names.
void sortPaddedNumber(std::vector<std::string>& names);

}  // namespace vb

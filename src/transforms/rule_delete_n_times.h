// Delete a text D from a base name (or folder name) a number of times.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "transforms/rule_common.h"

namespace vb {

// The counting pass: does the base name hold D at all.
bool containsText(std::string_view base, std::string_view d);

// The count box: nothing when it is empty (delete once), otherwise its number value.
std::optional<int> readDeleteCount(std::string_view countText);

// Removes D count times (once when count is empty), from the left or from the right. Skips when
// D is absent, the count is 0 or negative, or nothing would be left. Files additionally warn
// about a count of 0; that message is the caller's.
std::optional<std::string> deleteNTimes(std::string_view base, std::string_view d, std::optional<int> count,
                                        Direction dir);

}  // namespace vb

// Replace a text F by R in a base name (or folder name), with a count and a direction.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vb {

enum class ReplaceMode {
    NearStart,  // one occurrence, only when F starts within the first 8 bytes
    FromLeft,   // the first N occurrences (every one when N < 0)
    FromRight,  // N times the last occurrence of the text so far
};

// The count box: 1 when empty, otherwise its number value (0 is the caller's refusal).
int readReplaceCount(std::string_view countText);

// The new base name; nothing when F is missing where the mode needs it, or the result is
// unchanged or empty. From the right, an R that keeps forming F stops the repetition once the
// text outgrows any possible name; that entry is skipped.
std::optional<std::string> replaceText(std::string_view base, std::string_view f, std::string_view r,
                                       ReplaceMode mode, int n);

}  // namespace vb

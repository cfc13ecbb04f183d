// Traditional <-> simplified Chinese, character for character over GBK names.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vb {

// Same byte length; ASCII, characters without a counterpart and a lone lead byte at the end
// stay as they are.
std::string toSimplified(std::string_view gbk);
std::string toTraditional(std::string_view gbk);

// The whole name, converted by whichever mapping the platform has, as a new name: nothing for
// an empty name, or when the conversion is empty, unchanged or of another byte length than the
// name (a mapping that drops or widens characters would otherwise pad or cut the name).
std::optional<std::string> tradSimpRule(std::string_view name, std::string converted);

}  // namespace vb

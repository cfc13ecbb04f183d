// Traditional <-> simplified Chinese, character for character over GBK names.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vb {

// A character-for-character mapping of a GBK text in one direction. The built-in one uses the
// generated table; a platform may supply its own (the system's national-language mapping).
using ChineseMapper = std::string (*)(std::string_view gbk, bool toSimplifiedDirection);

// Same byte length; ASCII, characters without a counterpart and a lone lead byte at the end
// stay as they are.
std::string toSimplified(std::string_view gbk);
std::string toTraditional(std::string_view gbk);
std::string tableMapper(std::string_view gbk, bool toSimplifiedDirection);

// The whole name converted; nothing for an empty name, or when the result is empty, unchanged
// or of another byte length than the name (a mapper that drops or widens characters would
// otherwise pad or cut the name).
std::optional<std::string> tradSimpRule(std::string_view name, bool toSimplifiedDirection,
                                        ChineseMapper mapper = tableMapper);

}  // namespace vb

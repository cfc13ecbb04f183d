// The symbol sets of the marker boxes: full-width Chinese punctuation or ASCII.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vb {

struct SymbolPair {
    std::string_view chinese;  // one double-byte GBK character
    std::string_view ascii;
};

inline constexpr std::array<SymbolPair, 6> kSymbolPairs = {{
    {"，", ","},
    {"。", "."},
    {"（", "("},
    {"）", ")"},
    {"【", "["},
    {"】", "]"},
}};

enum class SymbolSet { Ascii, Chinese };

// Rewrites every symbol of the other set into `to`, stepping over double-byte characters so
// that a trail byte equal to "[" or "]" is never taken for a bracket.
std::string convertSymbols(std::string_view text, SymbolSet to);

}  // namespace vb

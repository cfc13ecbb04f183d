// Chinese numerals 一 to 十 near the start of a name to digits. Works on the whole name.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vb {

struct Numeral {
    std::string_view numeral;  // one double-byte GBK character
    std::string_view digits;
};

// Tried in this order; the first numeral that starts within the first 8 bytes wins.
inline constexpr std::array<Numeral, 10> kNumerals = {{
    {"一", "1"},
    {"二", "2"},
    {"三", "3"},
    {"四", "4"},
    {"五", "5"},
    {"六", "6"},
    {"七", "7"},
    {"八", "8"},
    {"九", "9"},
    {"十", "10"},
}};

// Replaces that one occurrence; skips a name without a numeral in its first 8 bytes.
std::optional<std::string> numeralToDigits(std::string_view name);

}  // namespace vb

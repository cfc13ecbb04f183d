#include "transforms/rule_chinese_numerals.h"

#include "transforms/gbk_text.h"

namespace vb {

std::optional<std::string> numeralToDigits(std::string_view name) {
    for (const Numeral& row : kNumerals) {
        int p = findFirst(name, row.numeral);
        if (p >= 1 && p <= 8) return replace(name, row.numeral, row.digits, p, 1);
    }
    return std::nullopt;
}

}  // namespace vb

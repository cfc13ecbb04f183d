#include "transforms/rule_numbers.h"

#include "transforms/gbk_text.h"

namespace vb {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string sequenceNumber(int i, int n) {
    std::string digits = decimal(i);
    if (n <= 99) return i <= 9 ? "0" + digits : digits;
    if (i <= 9) return "00" + digits;
    if (i <= 99) return "0" + digits;
    return digits;
}

std::string sequenceSeparator(int selection, std::string_view comboText) {
    if (selection < 0 || comboText == "不加") return {};
    return std::string(comboText);
}

std::string sequenceName(std::string_view name, int i, int n, std::string_view separator) {
    return sequenceNumber(i, n) + std::string(separator) + std::string(name);
}

std::optional<std::string> padLeadingNumber(std::string_view name, int n) {
    // Characters, not bytes: a lone lead byte must not make the next byte a digit.
    size_t p = std::string_view::npos;
    for (size_t i = 0; i < name.size() && i < 7; i += charWidth(name, i)) {
        if (isDigit(name[i])) {
            p = i;
            break;
        }
    }
    if (p == std::string_view::npos) return std::nullopt;
    bool second = p + 1 < name.size() && isDigit(name[p + 1]);
    bool third = second && p + 2 < name.size() && isDigit(name[p + 2]);
    std::string zeros;
    if (n <= 99) {
        if (second) return std::nullopt;
        zeros = "0";
    } else {
        if (third) return std::nullopt;
        zeros = second ? "0" : "00";
    }
    std::string out(name);
    out.insert(p, zeros);
    return out;
}

std::optional<std::string> insertAfterLeadingNumber(std::string_view name, std::string_view symbol) {
    std::string t = decimal(toNumber(left(name, 5)));
    int pos = findFirst(name, t);
    if (pos == -1 || pos > 5) return std::nullopt;
    return replace(name, t, t + std::string(symbol), pos, 1);
}

}  // namespace vb

#include "transforms/rule_trad_simp.h"

#include <algorithm>
#include <cstdint>
#include <span>

#include "transforms/gbk_text.h"

namespace vb {
namespace {

#include "transforms/trad_simp_table.inc"

using Pair = std::uint16_t[2];

std::uint16_t lookUp(std::span<const Pair> table, std::uint16_t code) {
    auto it = std::lower_bound(table.begin(), table.end(), code,
                               [](const Pair& p, std::uint16_t c) { return p[0] < c; });
    return it != table.end() && (*it)[0] == code ? (*it)[1] : code;
}

std::string mapText(std::string_view gbk, std::span<const Pair> table) {
    std::string out(gbk);
    for (size_t i = 0, w = 0; i < out.size(); i += w) {
        w = charWidth(out, i);
        if (w == 1) continue;
        auto code = static_cast<std::uint16_t>(static_cast<unsigned char>(out[i]) << 8 |
                                               static_cast<unsigned char>(out[i + 1]));
        std::uint16_t mapped = lookUp(table, code);
        out[i] = static_cast<char>(mapped >> 8);
        out[i + 1] = static_cast<char>(mapped & 0xFF);
    }
    return out;
}

}  // namespace

std::string toSimplified(std::string_view gbk) { return mapText(gbk, kTradToSimp); }
std::string toTraditional(std::string_view gbk) { return mapText(gbk, kSimpToTrad); }

std::optional<std::string> tradSimpRule(std::string_view name, std::string converted) {
    if (name.empty() || converted.empty() || converted == name || converted.size() != name.size())
        return std::nullopt;
    return converted;
}

}  // namespace vb

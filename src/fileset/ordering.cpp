#include "fileset/ordering.h"

#include <algorithm>
#include <cstdint>

namespace vb {
namespace {

bool isDigit(std::string_view s, std::size_t i) { return i < s.size() && s[i] >= '0' && s[i] <= '9'; }

constexpr std::size_t kDigitWindow = 7;  // only a number starting in the first 7 bytes is padded
constexpr std::size_t kManyNames = 100;

// How many zeros the key puts before the leading number at *at; 0 when the key is the name.
int zerosFor(std::string_view name, std::size_t count, std::size_t* at) {
    // GBK trail bytes are never ASCII digits, so a byte scan cannot land inside a character.
    std::size_t limit = std::min(name.size(), kDigitWindow);
    std::size_t p = 0;
    while (p < limit && !isDigit(name, p)) ++p;
    if (p == limit) return 0;
    *at = p;
    const bool second = isDigit(name, p + 1);
    const bool third = isDigit(name, p + 2);
    if (count < kManyNames) return second ? 0 : 1;
    return !second ? 2 : (!third ? 1 : 0);
}

std::string padded(std::string_view name, int zeros, std::size_t at) {
    std::string key;
    key.reserve(name.size() + 12);
    key.append(name.substr(0, at));
    key.append(static_cast<std::size_t>(zeros), '0');
    key.append(name.substr(at));
    key.append(zeros == 1 ? "加1个蛋蛋" : "加2个蛋蛋");
    return key;
}

// Eight bytes of key from at, high byte first, zeros past its end: numbers that order as the
// bytes do.
std::uint64_t bigEndianAt(std::string_view key, std::size_t at) {
    std::uint64_t v = 0;
    for (std::size_t k = 0; k < 8; ++k)
        v = v << 8 | (at + k < key.size() ? static_cast<unsigned char>(key[at + k]) : 0u);
    return v;
}

}  // namespace

std::string paddedNumberKey(std::string_view name, std::size_t count) {
    std::size_t at = 0;
    const int zeros = zerosFor(name, count, &at);
    return zeros == 0 ? std::string(name) : padded(name, zeros, at);
}

void sortPaddedNumber(std::vector<std::string>& names) {
    const std::size_t n = names.size();
    // Most keys are their names: only the padded ones are made, and kept apart.
    std::vector<std::string> made;
    std::vector<std::pair<std::size_t, std::size_t>> madeFor;  // (name, its key in made)
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t at = 0;
        if (const int zeros = zerosFor(names[i], n, &at); zeros != 0) {
            madeFor.emplace_back(i, made.size());
            made.push_back(padded(names[i], zeros, at));
        }
    }
    std::vector<std::string_view> keys(names.begin(), names.end());
    for (auto [i, k] : madeFor) keys[i] = made[k];

    // Each key's first 16 bytes as two big-endian numbers decide most comparisons without
    // reaching into the names' own memory. std::string_view compares as unsigned bytes too.
    struct Keyed {
        std::uint64_t head[2];
        std::size_t index;
    };
    std::vector<Keyed> keyed(n);
    for (std::size_t i = 0; i < n; ++i) keyed[i] = {{bigEndianAt(keys[i], 0), bigEndianAt(keys[i], 8)}, i};
    std::sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
        if (a.head[0] != b.head[0]) return a.head[0] < b.head[0];
        if (a.head[1] != b.head[1]) return a.head[1] < b.head[1];
        const int c = keys[a.index].compare(keys[b.index]);
        if (c != 0) return c < 0;
        return names[a.index] < names[b.index];
    });
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = keyed[i].index;

    std::vector<std::string> sorted;
    sorted.reserve(n);
    for (std::size_t i : order) sorted.push_back(std::move(names[i]));
    names = std::move(sorted);
}

}  // namespace vb

#include "fileset/ordering.h"

#include <algorithm>
#include <numeric>

namespace vb {
namespace {

bool isDigit(std::string_view s, std::size_t i) { return i < s.size() && s[i] >= '0' && s[i] <= '9'; }

constexpr std::size_t kDigitWindow = 7;  // only a number starting in the first 7 bytes is padded
constexpr std::size_t kManyNames = 100;

}  // namespace

std::string paddedNumberKey(std::string_view name, std::size_t count) {
    // GBK trail bytes are never ASCII digits, so a byte scan cannot land inside a character.
    std::size_t limit = std::min(name.size(), kDigitWindow);
    std::size_t p = 0;
    while (p < limit && !isDigit(name, p)) ++p;
    if (p == limit) return std::string(name);

    bool second = isDigit(name, p + 1);
    bool third = isDigit(name, p + 2);
    int zeros = 0;
    if (count < kManyNames)
        zeros = second ? 0 : 1;
    else
        zeros = !second ? 2 : (!third ? 1 : 0);
    if (zeros == 0) return std::string(name);

    std::string key;
    key.reserve(name.size() + 12);
    key.append(name.substr(0, p));
    key.append(static_cast<std::size_t>(zeros), '0');
    key.append(name.substr(p));
    key.append(zeros == 1 ? "加1个蛋蛋" : "加2个蛋蛋");
    return key;
}

void sortPaddedNumber(std::vector<std::string>& names) {
    const std::size_t n = names.size();
    std::vector<std::string> keys;
    keys.reserve(n);
    for (const auto& name : names) keys.push_back(paddedNumberKey(name, n));

    // std::string compares through char_traits<char>, i.e. as unsigned bytes.
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        int c = keys[a].compare(keys[b]);
        if (c != 0) return c < 0;
        return names[a] < names[b];
    });

    std::vector<std::string> sorted;
    sorted.reserve(n);
    for (std::size_t i : order) sorted.push_back(std::move(names[i]));
    names = std::move(sorted);
}

}  // namespace vb

#include "transforms/rule_delete_n_times.h"

namespace vb {

bool containsText(std::string_view base, std::string_view d) { return findFirst(base, d) != -1; }

std::optional<int> readDeleteCount(std::string_view countText) {
    if (countText.empty()) return std::nullopt;
    return toNumber(countText);
}

std::optional<std::string> deleteNTimes(std::string_view base, std::string_view d, std::optional<int> count,
                                        Direction dir) {
    int p = locate(base, d, dir == Direction::FromLeft ? Occurrence::First : Occurrence::Last);
    if (count && *count <= 0) return std::nullopt;
    if (p == -1) return std::nullopt;
    const int n = count.value_or(1);
    std::string out;
    if (n == 1 || dir == Direction::FromLeft) {
        out = replace(base, d, "", p, n);
    } else {
        out = std::string(base);
        for (int k = 0; k < n; ++k) {
            int q = findLast(out, d);
            if (q == -1) break;
            out = replace(out, d, "", q, 1);
        }
    }
    if (out.empty()) return std::nullopt;
    return out;
}

}  // namespace vb

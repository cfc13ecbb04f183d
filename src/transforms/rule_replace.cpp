#include "transforms/rule_replace.h"

#include "transforms/gbk_text.h"

namespace vb {
namespace {

// Far beyond the longest file name component any supported system accepts.
constexpr size_t kLongestName = 1024;

}  // namespace

int readReplaceCount(std::string_view countText) { return countText.empty() ? 1 : toNumber(countText); }

std::optional<std::string> replaceText(std::string_view base, std::string_view f, std::string_view r,
                                       ReplaceMode mode, int n) {
    std::string out;
    switch (mode) {
        case ReplaceMode::NearStart: {
            int q = findFirst(base, f);
            if (q > 8) return std::nullopt;
            out = replace(base, f, r, q, 1);
            break;
        }
        case ReplaceMode::FromLeft: {
            int q = findFirst(base, f);
            if (q == -1) return std::nullopt;
            out = replace(base, f, r, q, n);
            break;
        }
        case ReplaceMode::FromRight: {
            out = std::string(base);
            for (int k = 0; k < n; ++k) {
                int q = findLast(out, f);
                if (q == -1) break;
                std::string next = replace(out, f, r, q, 1);
                if (next == out) break;  // F equal to R: every further step is the same
                if (next.size() > out.size() && next.size() > kLongestName) return std::nullopt;
                out = std::move(next);
            }
            break;
        }
    }
    if (out.empty() || out == base) return std::nullopt;
    return out;
}

}  // namespace vb

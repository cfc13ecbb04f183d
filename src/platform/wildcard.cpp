#include "platform/wildcard.h"

#include <cstddef>

#include "transforms/gbk_text.h"

namespace vb {
namespace {

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool globMatch(std::string_view name, std::string_view pat) {
    constexpr size_t kNoStar = std::string_view::npos;
    size_t n = 0, p = 0, starP = kNoStar, starN = 0;
    while (n < name.size()) {
        if (p < pat.size() && pat[p] == '*') {
            starP = p++;
            starN = n;
            continue;
        }
        if (p < pat.size()) {
            size_t nw = charWidth(name, n), pw = charWidth(pat, p);
            bool same = pw == 1 ? (pat[p] == '?' || (nw == 1 && asciiLower(pat[p]) == asciiLower(name[n])))
                                : (nw == 2 && name.compare(n, 2, pat.substr(p, 2)) == 0);
            if (same) {
                n += nw;
                p += pw;
                continue;
            }
        }
        if (starP == kNoStar) return false;
        starN += charWidth(name, starN);
        n = starN;
        p = starP + 1;
    }
    while (p < pat.size() && pat[p] == '*') ++p;
    return p == pat.size();
}

}  // namespace

bool matchesWildcard(std::string_view name, std::string_view pattern) {
    if (globMatch(name, pattern)) return true;
    // "*.*" and "a.*" also take names without a dot, as Windows searches do.
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
        name.find('.') == std::string_view::npos)
        return globMatch(name, pattern.substr(0, pattern.size() - 2));
    return false;
}

}  // namespace vb

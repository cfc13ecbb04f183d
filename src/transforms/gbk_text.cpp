#include "transforms/gbk_text.h"

#include <climits>

namespace vb {
namespace {

bool matchesAt(std::string_view text, size_t i, std::string_view what) {
    return i + what.size() <= text.size() && text.compare(i, what.size(), what) == 0;
}

}  // namespace

int findFrom(std::string_view text, std::string_view what, int start) {
    if (what.empty() || text.empty()) return -1;
    size_t i = start > 1 ? static_cast<size_t>(start - 1) : 0;
    for (; i < text.size(); i += charWidth(text, i))
        if (matchesAt(text, i, what)) return static_cast<int>(i + 1);
    return -1;
}

int findFirst(std::string_view text, std::string_view what) { return findFrom(text, what, 1); }

int findLast(std::string_view text, std::string_view what) {
    int last = -1;
    if (what.empty()) return -1;
    for (size_t i = 0; i < text.size(); i += charWidth(text, i))
        if (matchesAt(text, i, what)) last = static_cast<int>(i + 1);
    return last;
}

std::string replace(std::string_view text, std::string_view what, std::string_view with, int start,
                    int count) {
    if (text.empty() || what.empty()) return std::string(text);
    size_t i = start > 1 ? static_cast<size_t>(start - 1) : 0;
    if (i >= text.size()) return std::string(text);
    std::string out(text.substr(0, i));
    out.reserve(text.size() + with.size());
    int done = 0;
    while (i < text.size()) {
        if ((count < 0 || done < count) && matchesAt(text, i, what)) {
            out += with;
            i += what.size();
            ++done;
            continue;
        }
        size_t w = charWidth(text, i);
        out.append(text.substr(i, w));
        i += w;
    }
    return out;
}

std::string left(std::string_view text, int n) {
    if (n <= 0) return {};
    return std::string(text.substr(0, static_cast<size_t>(n)));
}

std::string mid(std::string_view text, int start, int length) {
    if (length <= 0 || start < 1 || static_cast<size_t>(start) > text.size()) return {};
    return std::string(text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(length)));
}

int toNumber(std::string_view text) {
    // Full-width forms: A3 B0..A3 B9 digits, A3 AB '+', A3 AD '-', A1 A1 blank.
    auto at = [&](size_t i, unsigned char a, unsigned char b) {
        return i + 1 < text.size() && static_cast<unsigned char>(text[i]) == a &&
               static_cast<unsigned char>(text[i + 1]) == b;
    };
    auto digit = [&](size_t i, int& d) -> size_t {
        if (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            d = text[i] - '0';
            return 1;
        }
        if (i + 1 < text.size() && static_cast<unsigned char>(text[i]) == 0xA3) {
            unsigned char b = static_cast<unsigned char>(text[i + 1]);
            if (b >= 0xB0 && b <= 0xB9) {
                d = b - 0xB0;
                return 2;
            }
        }
        return 0;
    };
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n' || text[i] == '\v' ||
            text[i] == '\f')
            ++i;
        else if (at(i, 0xA1, 0xA1))
            i += 2;
        else
            break;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    } else if (at(i, 0xA3, 0xAB) || at(i, 0xA3, 0xAD)) {
        negative = static_cast<unsigned char>(text[i + 1]) == 0xAD;
        i += 2;
    }
    long long value = 0;
    int d = 0;
    for (size_t w; (w = digit(i, d)) != 0; i += w) {
        value = value * 10 + d;
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

NameViews splitNameViews(std::string_view entry, const PathStyle& paths) {
    const size_t start = paths.finalComponentStart(entry);
    const std::string_view name = start == std::string_view::npos ? entry : entry.substr(start);
    size_t dot = std::string_view::npos;
    for (size_t i = 0; i < name.size(); i += charWidth(name, i)) {
        if (name[i] == '.')
            dot = i;
        else if (name[i] == ' ')
            dot = std::string_view::npos;  // a space after the last dot: no extension
    }
    if (dot == std::string_view::npos) return {name, {}};
    return {name.substr(0, dot), name.substr(dot)};
}

NameParts splitName(std::string_view entry, const PathStyle& paths) {
    const NameViews v = splitNameViews(entry, paths);
    return {std::string(v.base), std::string(v.ext)};
}

bool containsDesktop(std::string_view text) {
    static constexpr std::string_view kWord = "desktop";
    for (size_t i = 0; i + kWord.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < kWord.size()) {
            char c = text[i + k];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            if (c != kWord[k]) break;
            ++k;
        }
        if (k == kWord.size()) return true;
    }
    return false;
}

bool hasRefusedChar(std::string_view text) {
    for (std::string_view c : {"\\", "/", ":", "*", "?", "\"", "<", ">", "|"})
        if (findFirst(text, c) != -1) return true;
    return false;
}

std::string decimal(long long n) { return std::to_string(n); }

bool isValidGbk(std::string_view text) {
    for (size_t i = 0; i < text.size(); i += charWidth(text, i)) {
        if (static_cast<unsigned char>(text[i]) == 0xFF) return false;
        if (!isLeadByte(text[i])) continue;
        if (i + 1 == text.size()) return false;
        unsigned char t = static_cast<unsigned char>(text[i + 1]);
        if (t < 0x40 || t == 0x7F || t == 0xFF) return false;
    }
    return true;
}

}  // namespace vb

// GBK text routines shared by every rule. Positions are 1-based byte positions, lengths are
// byte counts, and a byte from 0x81 to 0xFE starts a two-byte character. Safe on any bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "transforms/path_style.h"

namespace vb {

// Code page 936 starts its double-byte characters with 0x81 to 0xFE; 0x80 (the euro sign) and
// 0xFF stand alone.
inline bool isLeadByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x81 && b <= 0xFE;
}

// Bytes of the character at i (i < text.size()): two for a lead byte with a byte after it,
// else one. Every scan by characters steps with this.
inline std::size_t charWidth(std::string_view text, std::size_t i) {
    return isLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1;
}

// Leftmost / rightmost exact match starting on a character boundary; -1 when none.
int findFirst(std::string_view text, std::string_view what);
int findLast(std::string_view text, std::string_view what);
// As findFirst, but the scan starts at position start (which is taken as a boundary).
int findFrom(std::string_view text, std::string_view what, int start);

// Copies the bytes before start unchanged, then replaces up to count matches (every match
// when count < 0) scanning left to right; start <= 0 means from the start.
std::string replace(std::string_view text, std::string_view what, std::string_view with, int start,
                    int count);

std::string left(std::string_view text, int n);
std::string mid(std::string_view text, int start, int length);

// Leading blanks, optional sign, digits; full-width digits, signs and blanks count as ASCII.
// Saturates at the int range.
int toNumber(std::string_view text);

struct NameParts {
    std::string base;
    std::string ext;  // from the last dot, dot included; empty when none or a space follows it
};
// Splits the final component (after the last separator) of an entry.
NameParts splitName(std::string_view entry, const PathStyle& paths);
// The same as views into entry, for a rule that runs over every name of a large folder.
struct NameViews {
    std::string_view base;
    std::string_view ext;
};
NameViews splitNameViews(std::string_view entry, const PathStyle& paths);

// "Desktop" anywhere, ASCII case ignored.
bool containsDesktop(std::string_view text);

// Holds one of \ / : * ? " < > | (as whole characters).
bool hasRefusedChar(std::string_view text);

std::string decimal(long long n);

// Byte-for-byte valid GBK (lead 0x81-0xFE with a trail 0x40-0xFE except 0x7F; 0x80 alone).
bool isValidGbk(std::string_view text);

}  // namespace vb

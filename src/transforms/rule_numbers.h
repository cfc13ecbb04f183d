// Numbers in names: sequence numbers, leading zeros, a symbol after a leading number. These
// rules work on the whole name, extension included.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vb {

// Entry i of n, zero-padded to two digits (n <= 99) or three (n >= 100); from 1000 on unpadded.
std::string sequenceNumber(int i, int n);

// The separator of 组合框5: its text when an item is selected and that item is not "不加".
std::string sequenceSeparator(int selection, std::string_view comboText);

// Number text + separator + name; never skips.
std::string sequenceName(std::string_view name, int i, int n, std::string_view separator);

// Puts "0" (n >= 100: "00" or "0") before a short number whose first digit lies within bytes
// 1 to 7; skips names without such a digit or whose number is already wide enough.
std::optional<std::string> padLeadingNumber(std::string_view name, int n);

// Inserts symbol right after the number read from the first 5 bytes; skips when that number's
// text does not start within the first 5 bytes.
std::optional<std::string> insertAfterLeadingNumber(std::string_view name, std::string_view symbol);

}  // namespace vb

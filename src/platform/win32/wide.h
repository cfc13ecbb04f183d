// GBK <-> UTF-16 at the Win32 boundary, always through code page 936 whatever the system's
// ANSI code page is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vb {

inline constexpr unsigned kGbkCodePage = 936;

// Nothing when the bytes are not valid GBK or hold a NUL.
std::optional<std::wstring> gbkToWide(std::string_view gbk);
// Nothing when a character has no exact GBK form (no best-fit look-alikes).
std::optional<std::string> wideToGbk(std::wstring_view wide);

// For texts shown on screen, where a stray byte must not hide the rest of the text.
std::wstring gbkToWideLossy(std::string_view gbk);
std::string wideToGbkLossy(std::wstring_view wide);

}  // namespace vb

#include "platform/win32/wide.h"

#include <windows.h>

namespace vb {
namespace {

std::optional<std::wstring> toWide(unsigned codePage, std::string_view s, DWORD flags) {
    if (s.empty()) return std::wstring();
    int n = MultiByteToWideChar(codePage, flags, s.data(), static_cast<int>(s.size()), nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, flags, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

}  // namespace

std::optional<std::wstring> gbkToWide(std::string_view gbk) {
    if (gbk.find('\0') != std::string_view::npos) return std::nullopt;
    return toWide(kGbkCodePage, gbk, MB_ERR_INVALID_CHARS);
}

std::optional<std::string> wideToGbk(std::wstring_view wide) {
    if (wide.empty()) return std::string();
    BOOL usedDefault = FALSE;
    const int len = static_cast<int>(wide.size());
    int n = WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), len, nullptr, 0, nullptr,
                                &usedDefault);
    if (n <= 0 || usedDefault) return std::nullopt;
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), len, out.data(), n, nullptr,
                        &usedDefault);
    if (usedDefault) return std::nullopt;
    // Some code points map onto a GBK character that reads back as another one: not round-trip safe.
    auto back = toWide(kGbkCodePage, out, MB_ERR_INVALID_CHARS);
    if (!back || *back != wide) return std::nullopt;
    return out;
}

std::wstring gbkToWideLossy(std::string_view gbk) {
    return toWide(kGbkCodePage, gbk, 0).value_or(std::wstring());
}

std::string wideToGbkLossy(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int len = static_cast<int>(wide.size());
    int n = WideCharToMultiByte(kGbkCodePage, 0, wide.data(), len, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(kGbkCodePage, 0, wide.data(), len, out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace vb

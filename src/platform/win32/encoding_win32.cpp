#include <windows.h>

#include "platform/encoding.h"
#include "platform/win32/wide.h"

namespace vb {
namespace {

std::optional<std::wstring> utf8ToWide(std::string_view s) {
    if (s.empty()) return std::wstring();
    const int len = static_cast<int>(s.size());
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s.data(), len, nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s.data(), len, out.data(), n);
    return out;
}

// Only for texts decoded from GBK, which holds no lone surrogate: no flags, since XP refuses
// WC_ERR_INVALID_CHARS for UTF-8.
std::optional<std::string> wideToUtf8(std::wstring_view w) {
    if (w.empty()) return std::string();
    const int len = static_cast<int>(w.size());
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), len, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::nullopt;
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), len, out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace

std::optional<std::string> utf8ToGbk(std::string_view utf8) {
    auto w = utf8ToWide(utf8);
    if (!w) return std::nullopt;
    return wideToGbk(*w);
}

std::optional<std::string> gbkToUtf8(std::string_view gbk) {
    if (gbk.empty()) return std::string();
    const int len = static_cast<int>(gbk.size());
    int n = MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, gbk.data(), len, nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, gbk.data(), len, w.data(), n);
    return wideToUtf8(w);
}

bool appendUtf8ToGbk(std::string_view utf8, std::string& out) {
    auto gbk = utf8ToGbk(utf8);
    if (gbk) out += *gbk;
    return gbk.has_value();
}

bool appendGbkToUtf8(std::string_view gbk, std::string& out) {
    auto utf8 = gbkToUtf8(gbk);
    if (utf8) out += *utf8;
    return utf8.has_value();
}

}  // namespace vb

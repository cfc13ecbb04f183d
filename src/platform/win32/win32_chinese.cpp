#include "platform/win32/win32_chinese.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace vb {
namespace {

// 電視劇 / 电视剧, spelled out so the probe does not depend on the source's charset.
constexpr std::wstring_view kTraditionalSample = L"\u96FB\u8996\u5287";
constexpr std::wstring_view kSimplifiedSample = L"\u7535\u89C6\u5267";

bool works(Win32ChineseMapping::SystemMap system) {
    return system(kTraditionalSample, true) == std::wstring(kSimplifiedSample) &&
           system(kSimplifiedSample, false) == std::wstring(kTraditionalSample);
}

}  // namespace

std::optional<std::wstring> lcMapChinese(std::wstring_view text, bool toSimplified) {
    if (text.empty()) return std::wstring();
    const LCID prc = MAKELCID(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), SORT_DEFAULT);
    const DWORD flags = toSimplified ? LCMAP_SIMPLIFIED_CHINESE : LCMAP_TRADITIONAL_CHINESE;
    const int length = static_cast<int>(text.size());
    int needed = LCMapStringW(prc, flags, text.data(), length, nullptr, 0);
    if (needed <= 0) return std::nullopt;
    std::wstring out(static_cast<size_t>(needed), L'\0');
    int written = LCMapStringW(prc, flags, text.data(), length, out.data(), needed);
    if (written <= 0) return std::nullopt;
    out.resize(static_cast<size_t>(written));
    return out;
}

Win32ChineseMapping::Win32ChineseMapping(SystemMap system) : system_(system), useSystem_(works(system)) {}

std::string Win32ChineseMapping::map(std::string_view gbk, bool toSimplified) const {
    if (!useSystem_) return table_.map(gbk, toSimplified);
    auto wide = gbkToWide(gbk);
    if (!wide) return table_.map(gbk, toSimplified);  // broken bytes stay in place there
    auto mapped = system_(*wide, toSimplified);
    if (!mapped) return table_.map(gbk, toSimplified);
    // A character the mapping leads out of GBK leaves the name as it was.
    return wideToGbk(*mapped).value_or(std::string(gbk));
}

}  // namespace vb

// Traditional <-> simplified on Windows: the system's own mapping where it works, the built-in
// table otherwise (Wine, for one, leaves the text as it is).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/ports.h"
#include "platform/table_chinese_mapping.h"

namespace vb {

// LCMapStringW for the Chinese (PRC) locale with the simplified or traditional map flag;
// nothing when the call fails.
std::optional<std::wstring> lcMapChinese(std::wstring_view text, bool toSimplified);

class Win32ChineseMapping final : public ChineseMapping {
public:
    using SystemMap = std::optional<std::wstring> (*)(std::wstring_view text, bool toSimplified);

    // Probes the system mapping once, on a text with a known answer in both directions.
    explicit Win32ChineseMapping(SystemMap system = lcMapChinese);

    bool usesSystem() const { return useSystem_; }
    std::string map(std::string_view gbk, bool toSimplified) const override;

private:
    SystemMap system_;
    bool useSystem_;
    TableChineseMapping table_;
};

}  // namespace vb

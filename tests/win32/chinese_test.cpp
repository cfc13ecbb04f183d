#include <gtest/gtest.h>

#include <cwctype>
#include <iostream>

#include "platform/win32/wide.h"
#include "platform/win32/win32_chinese.h"

namespace vb {
namespace {

// Stand-ins for the system mapping, each as a real system might behave.
std::optional<std::wstring> unchanged(std::wstring_view text, bool) { return std::wstring(text); }
std::optional<std::wstring> failing(std::wstring_view, bool) { return std::nullopt; }

// Maps correctly and upper-cases ASCII, so a result shows which mapping made it.
std::optional<std::wstring> marking(std::wstring_view text, bool toSimplified) {
    std::string mapped = TableChineseMapping().map(wideToGbk(text).value(), toSimplified);
    std::wstring out = gbkToWide(mapped).value();
    for (wchar_t& ch : out)
        if (ch < 0x80) ch = static_cast<wchar_t>(std::towupper(ch));
    return out;
}

// Passes the probe, then leads every other text out of GBK.
std::optional<std::wstring> leavingGbk(std::wstring_view text, bool toSimplified) {
    auto probe = marking(text, toSimplified);
    return text.size() == 3 ? probe : std::wstring(text.size(), L'\u0E01');  // a Thai letter
}

TEST(Win32ChineseMapping, ProbeChoosesTheSystemOnlyWhenItWorks) {
    struct Case {
        const char* label;
        Win32ChineseMapping::SystemMap system;
        bool usesSystem;
        const char* name;
        bool toSimplified;
        const char* expected;
    } cases[] = {
        {"unchanged", unchanged, false, "電視劇.mp4", true, "电视剧.mp4"},
        {"unchanged", unchanged, false, "电视剧.mp4", false, "電視劇.mp4"},
        {"failing", failing, false, "電視劇.mp4", true, "电视剧.mp4"},
        {"marking", marking, true, "電視劇.mp4", true, "电视剧.MP4"},
        {"marking", marking, true, "电视剧.mp4", false, "電視劇.MP4"},
        {"marking, broken bytes", marking, true, "電\xD2", true, "电\xD2"},  // table route
        {"leaving GBK", leavingGbk, true, "電視劇.mp4", true, "電視劇.mp4"},
    };
    for (const auto& c : cases) {
        Win32ChineseMapping mapping(c.system);
        EXPECT_EQ(mapping.usesSystem(), c.usesSystem) << c.label;
        EXPECT_EQ(mapping.map(c.name, c.toSimplified), c.expected) << c.label << " " << c.name;
    }
}

TEST(Win32ChineseMapping, TheRealOneConvertsEitherWay) {
    Win32ChineseMapping mapping;
    std::cout << "system mapping " << (mapping.usesSystem() ? "in use" : "not working: table in use") << "\n";
    EXPECT_EQ(mapping.map("電視劇第01集.mp4", true), "电视剧第01集.mp4");
    EXPECT_EQ(mapping.map("电视剧第01集.mp4", false), "電視劇第01集.mp4");
    EXPECT_EQ(mapping.map("", true), "");
}

}  // namespace
}  // namespace vb

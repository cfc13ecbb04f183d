#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "transforms/rule_chinese_numerals.h"

namespace vb {
namespace {

const std::optional<std::string> kSkip;

TEST(ChineseNumerals, TableIsSingleCharacters) {
    for (const auto& row : kNumerals) {
        EXPECT_EQ(row.numeral.size(), 2u);
        EXPECT_GE(static_cast<unsigned char>(row.numeral[0]), 0x81);
    }
    EXPECT_EQ(kNumerals.back().digits, "10");
}

TEST(ChineseNumerals, OneNumeralNearTheStart) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"第一课.mp4", "第1课.mp4"},
        {"第九集.avi", "第9集.avi"},
        {"一一.txt", "1一.txt"},
        {"第十二课", "第十2课"},
        {"第二十课", "第2十课"},
        {"第十课", "第10课"},
        {"五四三.txt", "五四3.txt"},
        {"十一.txt", "十1.txt"},
        {"第二章", "第2章"},
        {"abcdefg一", "abcdefg1"},  // starts at byte 8
        {"中文中文三", kSkip},      // starts at byte 9
        {"abcdefgh一", kSkip},
        {"第1课", kSkip},
        {"", kSkip},
        // The later numeral is out of reach but the earlier table row is not: 三 at byte 9, 五 at 1.
        {"五中文中三", "5中文中三"},
    };
    for (const auto& [name, expected] : cases) EXPECT_EQ(numeralToDigits(name), expected) << name;
}

}  // namespace
}  // namespace vb

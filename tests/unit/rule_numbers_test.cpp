#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "transforms/rule_numbers.h"

namespace vb {
namespace {

const std::optional<std::string> kSkip;

TEST(Numbers, SequenceNumberWidth) {
    struct Case {
        int i, n;
        std::string text;
    };
    const Case cases[] = {
        {1, 12, "01"},      {9, 12, "09"},        {12, 12, "12"},       {99, 99, "99"},   {1, 1, "01"},
        {1, 100, "001"},    {9, 100, "009"},      {10, 100, "010"},     {99, 150, "099"}, {100, 100, "100"},
        {999, 1200, "999"}, {1000, 1200, "1000"}, {1001, 1200, "1001"},
    };
    for (const auto& c : cases) EXPECT_EQ(sequenceNumber(c.i, c.n), c.text) << c.i << " of " << c.n;
}

TEST(Numbers, SequenceName) {
    EXPECT_EQ(sequenceName("a.txt", 1, 12, "、"), "01、a.txt");
    EXPECT_EQ(sequenceName("b.txt", 12, 12, "、"), "12、b.txt");
    EXPECT_EQ(sequenceName("a.txt", 1, 100, "-"), "001-a.txt");
    EXPECT_EQ(sequenceName("a.txt", 7, 12, ""), "07a.txt");
    EXPECT_EQ(sequenceSeparator(1, "、"), "、");
    EXPECT_EQ(sequenceSeparator(0, "不加"), "");
    EXPECT_EQ(sequenceSeparator(-1, "-"), "");  // typed, not chosen
}

TEST(Numbers, LeadingZeros) {
    struct Case {
        std::string name;
        std::optional<std::string> small, large;  // up to 99 entries, 100 or more
    };
    const Case cases[] = {
        {"1.mp3", "01.mp3", "001.mp3"},
        {"第3集.mp4", "第03集.mp4", "第003集.mp4"},
        {"12.mp3", kSkip, "012.mp3"},
        {"15.mp3", kSkip, "015.mp3"},
        {"115.mp3", kSkip, kSkip},
        {"abcdef7.mp3", "abcdef07.mp3", "abcdef007.mp3"},  // byte 7 is still scanned
        {"abcdefg7.mp3", kSkip, kSkip},                    // byte 8 is not
        {"中文中7", "中文中07", "中文中007"},
        {"中文中文7", kSkip, kSkip},
        {"a1b2", "a01b2", "a001b2"},
        {"no digits", kSkip, kSkip},
        {"", kSkip, kSkip},
        {"第２集", kSkip, kSkip},  // full-width digits are not digits here
        {"\x80" "5.mp3", "\x80" "05.mp3", "\x80" "005.mp3"},  // the euro sign takes one byte
    };
    for (const auto& c : cases) {
        EXPECT_EQ(padLeadingNumber(c.name, 12), c.small) << c.name;
        EXPECT_EQ(padLeadingNumber(c.name, 100), c.large) << c.name;
    }
}

TEST(Numbers, SymbolAfterTheNumber) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"3abc.txt", "3-abc.txt"},
        {"0012abc", "0012-abc"},  // n = 12, found at byte 3
        {"abc.txt", kSkip},       // n = 0 and no "0" in the name
        {"a0b.txt", "a0-b.txt"},  // n = 0, "0" at byte 2
        {"12345678", "12345-678"},
        {"123456", "12345-6"},  // only the first 5 bytes are read
        {"-3abc", "-3-abc"},
        {" 7abc", " 7-abc"},
        {"abcd0x", "abcd0-x"},  // "0" at byte 5
        {"abcde0", kSkip},      // "0" at byte 6
        {"２abc", kSkip},       // reads 2, but "2" is not in the name
        {"第01集", "第0-1集"},  // n = 0 ("第" is no number), first "0" at byte 3
        {"", kSkip},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(insertAfterLeadingNumber(name, "-"), expected) << name;
}

}  // namespace
}  // namespace vb

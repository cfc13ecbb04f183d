#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "transforms/gbk_text.h"

namespace vb {
namespace {

// Characters whose second GBK byte is an ASCII symbol or letter.
const std::string kTrailOpen = "遊";        // .. 5B '['
const std::string kTrailBackslash = "運";   // .. 5C '\'
const std::string kTrailClose = "閉";       // .. 5D ']'
const std::string kTrailUnderscore = "開";  // .. 5F '_'
const std::string kTrailA = "階";           // .. 41 'A'
const std::string kTrailBar = "質";         // .. 7C '|'

TEST(GbkText, LiteralsAreGbk) {
    EXPECT_EQ(std::string("中"), "\xD6\xD0");
    EXPECT_EQ(kTrailOpen[1], '[');
    EXPECT_EQ(kTrailBackslash[1], '\\');
    EXPECT_EQ(kTrailClose[1], ']');
    EXPECT_EQ(kTrailUnderscore[1], '_');
    EXPECT_EQ(kTrailA[1], 'A');
    EXPECT_EQ(kTrailBar[1], '|');
}

struct FindCase {
    std::string text, what;
    int first, last;
};

TEST(GbkText, FindStartsOnlyOnCharacterBoundaries) {
    const FindCase cases[] = {
        {"ab-cd-ef", "-", 3, 6},
        {"aaaa", "aa", 1, 3},  // the last match may overlap the first
        {"abc", "abc", 1, 1},
        {"abc", "abcd", -1, -1},  // must lie wholly inside
        {"abc", "", -1, -1},
        {"", "a", -1, -1},
        {"Abc", "a", -1, -1},  // case matters
        {kTrailOpen + "x[", "[", 4, 4},
        {kTrailOpen, "[", -1, -1},
        {kTrailA + "A", "A", 3, 3},
        {"x" + kTrailUnderscore + "_", "_", 4, 4},
        {"中中", "中", 1, 3},
        // A double-byte search text cannot start on a trail byte: "\xD0\xD6" sits across the
        // boundary of the two characters.
        {"中中", "\xD0\xD6", -1, -1},
        {"ab\xD6", "\xD6", 3, 3},  // lone lead byte at the end
        {"ab\xD6", "b", 2, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(findFirst(c.text, c.what), c.first) << c.text << " / " << c.what;
        EXPECT_EQ(findLast(c.text, c.what), c.last) << c.text << " / " << c.what;
    }
}

TEST(GbkText, FindFromTakesStartAsBoundary) {
    EXPECT_EQ(findFrom("a-b-c", "-", 3), 4);
    EXPECT_EQ(findFrom("a-b-c", "-", 2), 2);
    EXPECT_EQ(findFrom("a-b-c", "-", 0), 2);
    EXPECT_EQ(findFrom("a-b-c", "-", 9), -1);
    EXPECT_EQ(findFrom("中a中", "中", 3), 4);
}

struct ReplaceCase {
    std::string text, what, with;
    int start, count;
    std::string expected;
};

TEST(GbkText, Replace) {
    const ReplaceCase cases[] = {
        {"a_b_c_d", "_", "-", 0, 2, "a-b-c_d"},
        {"a_b_c_d", "_", "-", 0, -1, "a-b-c-d"},
        {"a_b_c_d", "_", "-", 4, 1, "a_b-c_d"},  // the bytes before start stay
        {"a_b_c_d", "_", "-", 0, 0, "a_b_c_d"},
        {"aaaa", "aa", "", 1, 2, ""},         // no overlapping matches
        {"aaa", "a", "aa", 1, -1, "aaaaaa"},  // inserted text is not searched again
        {"", "a", "b", 1, -1, ""},
        {"abc", "", "x", 1, -1, "abc"},
        {"abc", "b", "x", 9, -1, "abc"},  // start past the end
        {kTrailOpen + "[", "[", "(", 1, -1, kTrailOpen + "("},
        {"中" + kTrailClose + "]", "]", ")", 0, -1, "中" + kTrailClose + ")"},
        {"ab\xD6", "\xD6", "z", 1, 1, "abz"},  // lone lead byte at the end
    };
    for (const auto& c : cases)
        EXPECT_EQ(replace(c.text, c.what, c.with, c.start, c.count), c.expected)
            << c.text << " / " << c.what << " start " << c.start << " count " << c.count;
}

TEST(GbkText, LeftAndMidCutBytes) {
    EXPECT_EQ(left("abc", 2), "ab");
    EXPECT_EQ(left("abc", 9), "abc");
    EXPECT_EQ(left("abc", 0), "");
    EXPECT_EQ(left("abc", -2), "");
    EXPECT_EQ(left("中文", 3), "\xD6\xD0\xCE");  // bytes, not characters
    EXPECT_EQ(mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(mid("abcdef", 5, 9), "ef");
    EXPECT_EQ(mid("abcdef", 6, 1), "f");
    EXPECT_EQ(mid("abcdef", 7, 1), "");
    EXPECT_EQ(mid("abcdef", 0, 2), "");
    EXPECT_EQ(mid("abcdef", 2, 0), "");
    EXPECT_EQ(mid("abcdef", 2, -1), "");
    EXPECT_EQ(mid("", 1, 1), "");
}

TEST(GbkText, ToNumber) {
    const std::pair<std::string, int> cases[] = {
        {"3次", 3},
        {"abc", 0},
        {"", 0},
        {" 3", 3},
        {"\t-12x", -12},
        {"+7", 7},
        {"２", 2},
        {"１２a", 12},
        {"－３", -3},
        {"＋４", 4},
        {"　５", 5},  // full-width blank
        {"0012abc", 12},
        {"+-3", 0},
        {"- 3", 0},
        {"3 4", 3},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
        {"\xA3", 0},  // lone lead byte
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(toNumber(text), value) << text;
}

TEST(GbkText, SplitName) {
    struct Case {
        std::string entry, base, ext;
    };
    const Case cases[] = {
        {"a.txt", "a", ".txt"},
        {"a.tar.gz", "a.tar", ".gz"},
        {"a.b c", "a.b c", ""},
        {"a b.c", "a b", ".c"},
        {"readme", "readme", ""},
        {".profile", "", ".profile"},
        {"a.", "a", "."},
        {"C:\\dir\\a.txt", "a", ".txt"},
        {"C:\\d.ir\\readme", "readme", ""},
        {"C:\\dir\\", "", ""},
        {"", "", ""},
        // A trail byte equal to the separator does not end a directory.
        {"C:\\" + kTrailBackslash + "x.txt", kTrailBackslash + "x", ".txt"},
        // A lead byte swallows the next byte, even a dot.
        {"ab\x81.c", "ab\x81.c", ""},
        {"中文.mp4", "中文", ".mp4"},
    };
    for (const auto& c : cases) {
        NameParts parts = splitName(c.entry, PathStyle::windows());
        EXPECT_EQ(parts.base, c.base) << c.entry;
        EXPECT_EQ(parts.ext, c.ext) << c.entry;
    }
    EXPECT_EQ(PathStyle::windows().finalComponent("C:\\" + kTrailBackslash), kTrailBackslash);
    EXPECT_EQ(splitName("/home/a.txt", PathStyle::posix()).base, "a");
}

TEST(GbkText, ContainsDesktop) {
    EXPECT_TRUE(containsDesktop("C:\\Users\\me\\Desktop\\"));
    EXPECT_TRUE(containsDesktop("D:\\desktop_old\\"));
    EXPECT_TRUE(containsDesktop("DESKTOP"));
    EXPECT_FALSE(containsDesktop("D:\\桌面\\"));
    EXPECT_FALSE(containsDesktop("Deskto"));
    EXPECT_FALSE(containsDesktop(""));
}

TEST(GbkText, HasRefusedChar) {
    for (std::string c : {"\\", "/", ":", "*", "?", "\"", "<", ">", "|"})
        EXPECT_TRUE(hasRefusedChar("a" + c + "b")) << c;
    EXPECT_FALSE(hasRefusedChar("第1集 完整版_[x].(y)"));
    EXPECT_FALSE(hasRefusedChar(kTrailBackslash + kTrailBar));  // trail bytes only
    EXPECT_FALSE(hasRefusedChar(""));
}

TEST(GbkText, IsValidGbk) {
    struct Case {
        std::string text;
        bool valid;
    };
    // A lead byte alone at the end, trail bytes below 0x40 or 0x7F, and 0xFF are not GBK; the euro
    // sign 0x80 stands alone, so the byte after it leads again.
    const Case cases[] = {
        {"中文abc", true},      {"", true},          {"ab\xD6", false},   {"\xD6\x30", false},
        {"\x81\x7F", false},    {"\xFE\xFE", true},  {"\xFF\xA1", false}, {"\x80", true},
        {"\x80\x80\x30", true}, {"\x80\xD6", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isValidGbk(c.text), c.valid) << ::testing::PrintToString(c.text);
}

// 0x80 (the euro sign of code page 936) and 0xFF stand alone; 0x81 to 0xFE lead a pair.
TEST(GbkText, TheCharacterStepTakesOneByteFor0x80And0xFF) {
    struct Case {
        std::string text;
        std::string starts;  // '^' where a character starts
    };
    // A lead byte alone at the end is one character.
    const Case cases[] = {
        {"\x80.txt", "^^^^^"}, {"\x80\x80", "^^"}, {"\xFF.", "^^"},           {"\x81\x80", "^ "},
        {"\xFE.", "^ "},       {"a\x81", "^^"},    {"价\x80.doc", "^ ^^^^^"},
    };
    for (const auto& c : cases) {
        std::string starts(c.text.size(), ' ');
        for (size_t i = 0; i < c.text.size(); i += charWidth(c.text, i)) starts[i] = '^';
        EXPECT_EQ(starts, c.starts) << ::testing::PrintToString(c.text);
    }
}

TEST(GbkText, TheEuroSignIsACharacterToEveryRoutine) {
    const std::string euro = "\x80";
    struct Split {
        std::string entry, base, ext;
    };
    const Split splits[] = {
        {euro + ".txt", euro, ".txt"},
        {"价" + euro + ".doc", "价" + euro, ".doc"},
        {"\xFF.txt", "\xFF", ".txt"},
        {"D:\\" + euro + "\\a.b", "a", ".b"},  // the backslash after 0x80 separates
    };
    for (const auto& c : splits) {
        NameParts parts = splitName(c.entry, PathStyle::windows());
        EXPECT_EQ(parts.base, c.base) << ::testing::PrintToString(c.entry);
        EXPECT_EQ(parts.ext, c.ext) << ::testing::PrintToString(c.entry);
    }
    EXPECT_EQ(findFirst(euro + euro, euro), 1);
    EXPECT_EQ(findLast(euro + euro, euro), 2);
    EXPECT_EQ(findFirst(euro + "-", "-"), 2);
    EXPECT_EQ(replace(euro + "_" + euro, "_", "-", 0, -1), euro + "-" + euro);
    EXPECT_TRUE(hasRefusedChar(euro + "\\"));
    EXPECT_TRUE(hasRefusedChar("\xFF|"));
}

}  // namespace
}  // namespace vb

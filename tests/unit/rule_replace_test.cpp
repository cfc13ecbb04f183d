#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "transforms/rule_replace.h"

namespace vb {
namespace {

const std::optional<std::string> kSkip;

struct Case {
    std::string base, f, r;
    ReplaceMode mode;
    std::string countText;
    std::optional<std::string> expected;
};

TEST(Replace, Modes) {
    using enum ReplaceMode;
    const Case cases[] = {
        {"01_a_b_c", "_", "-", NearStart, "", "01-a_b_c"},
        {"01_a_b_c", "c", "-", NearStart, "", "01_a_b_-"},   // F at byte 8 still counts
        {"0123456789_x", "_", "-", NearStart, "", kSkip},    // F at byte 11
        {"01_a_b_c", "_", "-", NearStart, "5", "01-a_b_c"},  // the count plays no part
        {"01ab", "_", "-", NearStart, "", kSkip},            // absent: unchanged
        {"a_b_c_d", "_", "-", FromLeft, "2", "a-b-c_d"},
        {"a_b_c_d", "_", "-", FromLeft, "-1", "a-b-c-d"},
        {"a_b_c_d", "_", "-", FromLeft, "", "a-b_c_d"},
        {"a_b_c_d", "_", "-", FromLeft, "３", "a-b-c-d"},
        {"a_b_c_d", "_", "-", FromRight, "2", "a_b-c-d"},
        {"a_b_c_d", "_", "-", FromRight, "", "a_b_c-d"},
        {"a_b_c_d", "_", "-", FromRight, "-1", kSkip},  // no pass at all: unchanged
        {"xa", "a", "aa", FromRight, "2", "xaaa"},      // each pass searches the new text
        {"xa", "a", "aa", FromLeft, "2", "xaa"},
        {"a_b", "_", "", FromLeft, "", "ab"},  // empty R deletes
        {"_", "_", "", FromLeft, "", kSkip},   // nothing left
        {"a_b", "_", "_", FromLeft, "", kSkip},
        {"a_b", "_", "_", FromRight, "", kSkip},
        {"ab", "_", "-", FromLeft, "", kSkip},
        {"ab", "_", "-", FromRight, "", kSkip},
        {"Ab", "a", "x", FromLeft, "", kSkip},
        {"開_", "_", "-", FromLeft, "-1", "開-"},  // the trail byte of 開 is "_"
        {"開_", "_", "-", FromRight, "9", "開-"},
        {"第1集", "集", "话", NearStart, "", "第1话"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(replaceText(c.base, c.f, c.r, c.mode, readReplaceCount(c.countText)), c.expected)
            << c.base << " / " << c.f << " -> " << c.r << " count " << c.countText;
}

TEST(Replace, CountText) {
    EXPECT_EQ(readReplaceCount(""), 1);
    EXPECT_EQ(readReplaceCount("0"), 0);
    EXPECT_EQ(readReplaceCount("abc"), 0);
    EXPECT_EQ(readReplaceCount("３"), 3);
}

TEST(Replace, HugeCountsFromTheRightEnd) {
    // Every pass forms F again; a huge count must neither hang nor exhaust memory.
    EXPECT_EQ(replaceText("xa", "a", "aa", ReplaceMode::FromRight, 2'000'000'000), kSkip);
    auto grown = replaceText("xa", "a", "aa", ReplaceMode::FromRight, 200);
    ASSERT_TRUE(grown);
    EXPECT_EQ(*grown, "x" + std::string(201, 'a'));
    // F equal to R: every pass is the same, so the first one settles it.
    EXPECT_EQ(replaceText("a_b", "_", "_", ReplaceMode::FromRight, 2'000'000'000), kSkip);
    // A text that does not grow runs its course however large the count.
    EXPECT_EQ(replaceText("abab", "ab", "ba", ReplaceMode::FromRight, 2'000'000'000), "bbaa");
}

}  // namespace
}  // namespace vb

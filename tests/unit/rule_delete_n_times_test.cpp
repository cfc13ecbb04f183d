#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "transforms/rule_delete_n_times.h"

namespace vb {
namespace {

const std::optional<std::string> kSkip;

struct Case {
    std::string base, d, countText;
    std::optional<std::string> fromLeft, fromRight;
};

TEST(DeleteNTimes, Removes) {
    const Case cases[] = {
        {"a_b_c_d", "_", "", "ab_c_d", "a_b_cd"},
        {"a_b_c_d", "_", "1", "ab_c_d", "a_b_cd"},
        {"a_b_c_d", "_", "2", "abc_d", "a_bcd"},
        {"a_b_c_d", "_", "9", "abcd", "abcd"},
        {"a_b_c_d", "_", "２", "abc_d", "a_bcd"},
        {"a_b_c_d", "_", "2个", "abc_d", "a_bcd"},
        {"a_b_c_d_", "_", " 3", "abcd_", "a_bcd"},
        {"aaaa", "aa", "2", kSkip, kSkip},  // both non-overlapping matches go: nothing left
        {"aaaaa", "aa", "", "aaa", "aaa"},
        {"_", "_", "", kSkip, kSkip},
        {"a_b", "_", "0", kSkip, kSkip},
        {"a_b", "_", "abc", kSkip, kSkip},
        {"a_b", "_", "零", kSkip, kSkip},
        {"a_b", "_", "-1", kSkip, kSkip},
        {"ab", "_", "", kSkip, kSkip},
        {"aB", "b", "", kSkip, kSkip},
        {"開_", "_", "", "開", "開"},  // the trail byte of 開 is "_"
        {"開", "_", "", kSkip, kSkip},
        // From the right each pass searches the text left by the previous one.
        {"aabb", "ab", "2", "ab", kSkip},
    };
    for (const auto& c : cases) {
        auto count = readDeleteCount(c.countText);
        EXPECT_EQ(deleteNTimes(c.base, c.d, count, Direction::FromLeft), c.fromLeft)
            << c.base << " / " << c.d << " count " << c.countText;
        EXPECT_EQ(deleteNTimes(c.base, c.d, count, Direction::FromRight), c.fromRight)
            << c.base << " / " << c.d << " count " << c.countText;
    }
}

TEST(DeleteNTimes, ContainsForTheCountingPass) {
    EXPECT_TRUE(containsText("a_b", "_"));
    EXPECT_FALSE(containsText("ab", "txt"));
    EXPECT_FALSE(containsText("開", "_"));
    EXPECT_FALSE(containsText("", "_"));
}

TEST(DeleteNTimes, CountText) {
    EXPECT_EQ(readDeleteCount(""), std::nullopt);
    EXPECT_EQ(readDeleteCount("3次"), 3);
    EXPECT_EQ(readDeleteCount("abc"), 0);
}

}  // namespace
}  // namespace vb

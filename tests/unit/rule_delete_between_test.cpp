#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "transforms/rule_delete_between.h"

namespace vb {
namespace {

const std::optional<std::string> kSkip;
constexpr OccurrenceBoxes kFirst{true, false};
constexpr OccurrenceBoxes kLast{false, true};
constexpr OccurrenceBoxes kBoth{true, true};
constexpr OccurrenceBoxes kNeither{false, false};

struct Case {
    std::string base, s;
    OccurrenceBoxes sBoxes;
    std::string t;
    OccurrenceBoxes tBoxes;
    std::optional<std::string> ticked, unticked;
};

TEST(DeleteBetween, Cuts) {
    const Case cases[] = {
        {"视频(Av123)", "(", kFirst, ")", kFirst, "视频", "视频()"},
        {"a[1]b[2]", "[", kFirst, "]", kLast, "a", "a[]"},
        {"a[1]b[2]", "[", kLast, "]", kLast, "a[1]b", "a[1]b[]"},
        {"a[1]b[2]", "[", kBoth, "]", kBoth, "a[1]b", "a[1]b[]"},  // both ticked: last wins
        {"x()y", "(", kFirst, ")", kFirst, "xy", "x()y"},          // adjacent markers: unchanged
        {"[abc]", "[", kFirst, "]", kFirst, kSkip, "[]"},
        {"a]b[c", "[", kFirst, "]", kFirst, kSkip, kSkip},  // end before start
        {"a[b", "[", kFirst, "[", kFirst, kSkip, kSkip},    // end at the start
        {"a[1]b", "[", kNeither, "]", kFirst, kSkip, kSkip},
        {"a[1]b", "[", kFirst, "]", kNeither, kSkip, kSkip},
        {"a1b", "[", kFirst, "]", kFirst, kSkip, kSkip},
        {"《名》中文【x】", "【", kFirst, "】", kFirst, "《名》中文", "《名》中文【】"},
        // The trail bytes of 遊 and 閉 are "[" and "]" and must not count as markers.
        {"遊x閉[1]", "[", kFirst, "]", kFirst, "遊x閉", "遊x閉[]"},
        {"遊x閉", "[", kFirst, "]", kFirst, kSkip, kSkip},
        // The stretch also occurs inside the start marker: only the stretch itself goes.
        {"a(a)", "a(", kFirst, ")", kFirst, kSkip, "a()"},
        {"za(a)", "a(", kFirst, ")", kFirst, "z", "za()"},
    };
    for (const auto& c : cases) {
        BetweenMarkers m{c.s, c.sBoxes, c.t, c.tBoxes};
        EXPECT_EQ(deleteBetween(c.base, m, true), c.ticked) << c.base << " " << c.s << " " << c.t;
        EXPECT_EQ(deleteBetween(c.base, m, false), c.unticked) << c.base << " " << c.s << " " << c.t;
        EXPECT_EQ(locateMarkers(c.base, m).has_value(), c.unticked.has_value() || c.ticked.has_value())
            << c.base;
    }
}

TEST(DeleteBetween, LocatesBothMarkers) {
    auto span = locateMarkers("a[1]b[2]", {"[", kLast, "]", kLast});
    ASSERT_TRUE(span);
    EXPECT_EQ(span->p1, 6);
    EXPECT_EQ(span->p2, 8);
    // A name that only passes once the start marker is taken from its first occurrence.
    EXPECT_FALSE(locateMarkers("a[1]b[", {"[", kLast, "]", kFirst}));
    EXPECT_TRUE(locateMarkers("a[1]b[", {"[", kFirst, "]", kFirst}));
}

}  // namespace
}  // namespace vb

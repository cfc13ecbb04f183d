#include <gtest/gtest.h>

#include <set>
#include <string>

#include "transforms/rule_video_number.h"

namespace vb {
namespace {

TEST(CrtRandom, MatchesTheWindowsRuntime) {
    CrtRandom r;  // unseeded means seed 1
    for (int expected : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(r.next(), expected);
    r.seed(1);
    EXPECT_EQ(r.next(), 41);
}

TEST(VideoNumber, DigitsFollowTickAndOffset) {
    // Reference values from the same recurrence computed independently.
    VideoNumberGenerator g;
    EXPECT_EQ(g.next(1000), "580102371");         // seed 1000
    EXPECT_EQ(g.next(1000), "193230729");         // seed 1000 + 100 + 232
    EXPECT_EQ(g.next(0xFFFFFFF0u), "309691903");  // the seed wraps like the tick
}

TEST(VideoNumber, EntriesInOneTickDiffer) {
    VideoNumberGenerator g;
    std::set<std::string> seen;
    for (int i = 0; i < 50; ++i) {
        std::string d = g.next(123456);
        ASSERT_EQ(d.size(), 9u);
        EXPECT_EQ(d.find_first_not_of("0123456789"), std::string::npos);
        seen.insert(d);
    }
    EXPECT_EQ(seen.size(), 50u);
}

TEST(VideoNumber, NameShapes) {
    struct {
        const char* name;
        int position;
        PathStyle paths;
        const char* expected;
    } cases[] = {
        {"教程.mp4", 3, PathStyle::windows(), "教程(Av123456789,P3).mp4"},
        {"readme", 1, PathStyle::windows(), "readme(Av123456789,P1)"},
        {"x.part1.rar", 1, PathStyle::windows(), "x.part1(Av123456789,P1).rar"},
        {"a. b", 12, PathStyle::windows(), "a. b(Av123456789,P12)"},  // a space after the dot: no extension
        {"a(Av000000000,P1).mp4", 2, PathStyle::windows(), "a(Av000000000,P1)(Av123456789,P2).mp4"},
        // Only the file system's own separator ends a folder: a backslash is part of a Linux name.
        {"a\\b.mp4", 1, PathStyle::posix(), "a\\b(Av123456789,P1).mp4"},
        {"a\\b.mp4", 1, PathStyle::windows(), "b(Av123456789,P1).mp4"},
        {"a.d\\b", 2, PathStyle::posix(), "a(Av123456789,P2).d\\b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(videoNumberName(c.name, "123456789", c.position, c.paths), c.expected) << c.name;
}

}  // namespace
}  // namespace vb

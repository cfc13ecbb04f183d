#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "transforms/rule_delete_around.h"

namespace vb {
namespace {

const std::optional<std::string> kSkip;

struct Case {
    std::string base, marker;
    Occurrence occ;
    bool include;
    std::optional<std::string> before, after;
};

TEST(DeleteAround, Files) {
    using enum Occurrence;
    const Case cases[] = {
        {"ab-cd-ef", "-", First, false, "-cd-ef", "ab-"},
        {"ab-cd-ef", "-", First, true, "cd-ef", "ab"},
        {"ab-cd-ef", "-", Last, false, "-ef", "ab-cd-"},
        {"ab-cd-ef", "-", Last, true, "ef", "ab-cd"},
        {"x-1", "-", First, true, "1", "x"},
        {"x-1", "txt", First, true, kSkip, kSkip},  // base name only: the extension is never searched
        {"-ab", "-", First, true, "ab", kSkip},     // nothing left in front of the marker
        {"ab-", "-", First, true, kSkip, "ab"},
        {"-ab", "-", First, false, "-ab", "-"},  // unchanged names are not skipped
        {"ab-", "-", Last, false, "-", "ab-"},
        {"ab", "ab", First, true, kSkip, kSkip},
        {"ab", "ab", First, false, "ab", "ab"},
        {"xAy", "a", First, true, kSkip, kSkip},  // case matters
        {"ab-cd", "-", None, true, kSkip, kSkip},
        {"ab", "", First, true, kSkip, kSkip},
        // An ASCII marker never matches a trail byte; a double-byte marker only whole characters.
        {"遊x[y", "[", First, true, "y", "遊x"},
        {"遊", "[", First, false, kSkip, kSkip},
        {"视频中文", "中", Last, true, "文", "视频"},
        {"中中", "\xD0\xD6", First, true, kSkip, kSkip},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(deleteBefore(c.base, c.marker, c.occ, c.include), c.before)
            << c.base << " / " << c.marker << " include " << c.include;
        EXPECT_EQ(deleteAfter(c.base, c.marker, c.occ, c.include), c.after)
            << c.base << " / " << c.marker << " include " << c.include;
    }
}

TEST(DeleteAround, FoldersAlwaysDropTheMarkerAfter) {
    EXPECT_EQ(deleteAfterFolder("ab-cd-ef", "-", Occurrence::First), "ab");
    EXPECT_EQ(deleteAfterFolder("ab-cd-ef", "-", Occurrence::Last), "ab-cd");
    EXPECT_EQ(deleteAfterFolder("abcd", "-", Occurrence::First), kSkip);
    EXPECT_EQ(deleteAfterFolder("-ab", "-", Occurrence::First), kSkip);
}

}  // namespace
}  // namespace vb

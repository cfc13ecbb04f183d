#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "transforms/rule_insert_at_marker.h"

namespace vb {
namespace {

const std::optional<std::string> kSkip;

struct Case {
    std::string base, marker, text;
    Occurrence occ;
    Side side;
    std::optional<std::string> expected;
};

TEST(InsertAtMarker, Inserts) {
    using enum Occurrence;
    using enum Side;
    const Case cases[] = {
        {"第1集", "集", "完整", First, Before, "第1完整集"},
        {"第1集", "集", "完整", First, After, "第1集完整"},
        {"a-b-c", "-", "x", Last, After, "a-b-xc"},
        {"a-b-c", "-", "x", First, Before, "ax-b-c"},
        {"a-b-c", "-", "x", Last, Before, "a-bx-c"},
        {"a.b", ".", "_", First, After, "a._b"},  // the base name of a.b.txt
        {"abc", "-", "x", First, Before, kSkip},
        {"a-b", "-", "x", None, Before, kSkip},
        {"遊", "[", "x", First, Before, kSkip},
        {"遊[", "[", "x", Last, After, "遊[x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(insertAtMarker(c.base, c.marker, c.text, c.occ, c.side), c.expected)
            << c.base << " / " << c.marker;
}

}  // namespace
}  // namespace vb

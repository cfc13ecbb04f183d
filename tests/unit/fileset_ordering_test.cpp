#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "fileset/ordering.h"

namespace vb {
namespace {

std::vector<std::string> numbered(int from, int to, const std::string& ext) {
    std::vector<std::string> names;
    for (int i = from; i <= to; ++i) names.push_back(std::to_string(i) + ext);
    return names;
}

// Enough digit-free names (their digits start after byte 7) to bring a directory to count.
std::vector<std::string> withFiller(std::vector<std::string> names, std::size_t count) {
    for (int i = 0; names.size() < count; ++i) names.push_back("zzzzzzzz" + std::to_string(i));
    return names;
}

std::vector<std::string> sortedShuffled(std::vector<std::string> names, unsigned seed) {
    std::shuffle(names.begin(), names.end(), std::mt19937(seed));
    sortPaddedNumber(names);
    return names;
}

struct KeyCase {
    const char* name;
    std::size_t count;
    const char* key;
};

TEST(PaddedNumberKey, Table) {
    const KeyCase cases[] = {
        {"第2集.mp4", 3, "第02集.mp4加1个蛋蛋"},
        {"第10集.mp4", 3, "第10集.mp4"},
        {"a1.txt", 2, "a01.txt加1个蛋蛋"},
        {"a01.txt", 2, "a01.txt"},
        {"a100", 2, "a100"},
        {"a20", 100, "a020加1个蛋蛋"},
        {"a2", 100, "a002加2个蛋蛋"},
        {"a100", 100, "a100"},
        {"abcdef9.txt", 5, "abcdef09.txt加1个蛋蛋"},  // byte 7: still padded
        {"abcdefg9.txt", 5, "abcdefg9.txt"},          // byte 8: never
        {"abcdefgh9.txt", 500, "abcdefgh9.txt"},
        {"视频1.avi", 5, "视频01.avi加1个蛋蛋"},
        {"第一集", 5, "第一集"},
        {"readme", 5, "readme"},
        {"", 5, ""},
        {"7", 1000, "007加2个蛋蛋"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(paddedNumberKey(c.name, c.count), c.key) << c.name << " among " << c.count;
}

struct OrderCase {
    const char* what;
    std::vector<std::string> names;
    std::vector<std::string> expected;
};

TEST(SortPaddedNumber, Table) {
    std::vector<std::string> upTo99 = numbered(1, 99, ".jpg");
    std::vector<std::string> upTo150 = numbered(1, 150, ".jpg");
    std::vector<std::string> with100 = numbered(1, 12, ".jpg");
    with100.push_back("100.jpg");
    std::vector<std::string> with100Order = numbered(1, 10, ".jpg");
    for (const char* n : {"100.jpg", "11.jpg", "12.jpg"}) with100Order.push_back(n);

    std::vector<std::string> few = withFiller({"a100", "a20"}, 99);
    std::vector<std::string> fewOrder = few;
    std::sort(fewOrder.begin() + 2, fewOrder.end());
    std::vector<std::string> many = withFiller({"a20", "a100"}, 100);
    std::vector<std::string> manyOrder = many;
    std::sort(manyOrder.begin() + 2, manyOrder.end());

    const OrderCase cases[] = {
        {"episodes", {"第2集.mp4", "第10集.mp4", "第1集.mp4"}, {"第1集.mp4", "第2集.mp4", "第10集.mp4"}},
        {"a1 and a01", {"a1.txt", "a01.txt"}, {"a01.txt", "a1.txt"}},
        {"1 to 99", upTo99, upTo99},
        {"1 to 150", upTo150, upTo150},
        {"100 among fewer than 100", with100, with100Order},
        {"a100/a20, N < 100", few, fewOrder},
        {"a100/a20, N >= 100", many, manyOrder},
        {"unsigned bytes, no case folding",
         {"中文", "abc", "Abc", "_x", "Z"},
         {"Abc", "Z", "_x", "abc", "中文"}},
        {"Chinese by GBK bytes", {"乙.txt", "甲.txt", "丙.txt"}, {"丙.txt", "甲.txt", "乙.txt"}},
        {"a key that is a prefix sorts first", {"ab", "a"}, {"a", "ab"}},
        {"equal keys are ordered by name", {"a1", "a01加1个蛋蛋"}, {"a01加1个蛋蛋", "a1"}},
        {"names alike in their first 16 bytes",
         {"三国演义第二部分第12集", "三国演义第二部分第11集", "三国演义第二部分", "三国演义第二部分第1"},
         {"三国演义第二部分", "三国演义第二部分第1", "三国演义第二部分第11集", "三国演义第二部分第12集"}},
        {"prefixes at 8 and 16 bytes",
         {"abcdefghijklmnopq", "abcdefgh", "abcdefghijklmnop", "abcdefg", "abcdefghijklmnoo"},
         {"abcdefg", "abcdefgh", "abcdefghijklmnoo", "abcdefghijklmnop", "abcdefghijklmnopq"}},
        {"a high byte on either side of byte 8",
         {"abcdefg中", "abcdefgz", "abcdefgh中", "abcdefghz"},
         {"abcdefghz", "abcdefgh中", "abcdefgz", "abcdefg中"}},
    };
    for (const auto& c : cases)
        for (unsigned seed : {1u, 2u, 3u}) EXPECT_EQ(sortedShuffled(c.names, seed), c.expected) << c.what;
}

}  // namespace
}  // namespace vb

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "fileset/extensions.h"

namespace vb {
namespace {

std::vector<std::string> firstN(const std::vector<std::string>& v, std::size_t n) {
    return {v.begin(), v.begin() + static_cast<long>(std::min(n, v.size()))};
}

TEST(BuiltinExtensions, SplitsTheLiteral) {
    std::vector<std::string> exts = builtinExtensions();
    ASSERT_EQ(exts.size(), 58u);
    EXPECT_EQ(exts.front(), "mp4");
    EXPECT_EQ(exts[12], "7z");
    EXPECT_EQ(exts.back(), "cpp");
    EXPECT_EQ(std::set<std::string>(exts.begin(), exts.end()).size(), 58u);
    for (const auto& e : exts) EXPECT_TRUE(!e.empty() && e.find('-') == std::string::npos) << e;
}

TEST(FullExtensionItems, FirstItemThenDottedList) {
    std::vector<std::string> all = fullExtensionItems("所有");
    ASSERT_EQ(all.size(), 59u);
    EXPECT_EQ(firstN(all, 3), (std::vector<std::string>{"所有", ".mp4", ".txt"}));
    std::vector<std::string> target = fullExtensionItems("");
    ASSERT_EQ(target.size(), 58u);
    EXPECT_EQ(target.front(), ".mp4");
    EXPECT_EQ(target.back(), ".cpp");
}

struct NarrowCase {
    const char* typed;
    const char* first;
    std::vector<std::string> head;  // the first item and the matches
};

TEST(NarrowedExtensionItems, Table) {
    const NarrowCase cases[] = {
        {"MP", "所有", {"所有", ".mp4", ".mp3", ".bmp", ".tmp", ".mpg", ".mpeg", ".txt"}},
        {"x",
         "不跳",
         {"不跳", ".txt", ".exe", ".xlsx", ".docx", ".pptx", ".xls", ".mp4"}},  // txt holds an x too
        {".mp4", "", {".mp4", ".txt"}},
        {"..P", "", {".mp4", ".mp3", ".pptx", ".jpg", ".png", ".pdf", ".zip", ".psd", ".bmp"}},
        {"jpg", "所有", {"所有", ".jpg", ".mp4"}},
        {"qqq", "不跳", {"不跳", ".mp4", ".txt"}},
        {"视频", "", {".mp4", ".txt"}},
    };
    const std::vector<std::string> full = fullExtensionItems("");
    for (const auto& c : cases) {
        std::vector<std::string> items = narrowedExtensionItems(c.typed, c.first);
        EXPECT_EQ(firstN(items, c.head.size()), c.head) << c.typed;
        // Every extension exactly once, whatever was typed.
        std::vector<std::string> exts(items.begin() + (*c.first ? 1 : 0), items.end());
        std::vector<std::string> sortedExts = exts, sortedFull = full;
        std::sort(sortedExts.begin(), sortedExts.end());
        std::sort(sortedFull.begin(), sortedFull.end());
        EXPECT_EQ(sortedExts, sortedFull) << c.typed;
    }
}

TEST(NarrowedExtensionItems, OnlyDotsMatchEverythingAndEmptyGivesNothing) {
    EXPECT_EQ(narrowedExtensionItems(".", "所有"), fullExtensionItems("所有"));
    EXPECT_EQ(narrowedExtensionItems("..", ""), fullExtensionItems(""));
    EXPECT_TRUE(narrowedExtensionItems("", "所有").empty());
}

}  // namespace
}  // namespace vb

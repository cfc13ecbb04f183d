// The path grammar of both styles, by GBK characters: "\x81\\" is one character whose trail
// byte is a backslash; 0x80 and 0xFF lead nothing, so a separator after them is one.
#include <gtest/gtest.h>

#include <string>

#include "transforms/path_style.h"

namespace vb {
namespace {

constexpr PathStyle kPosix = PathStyle::posix();
constexpr PathStyle kWindows = PathStyle::windows();

TEST(PathStyle, PlainNamesStayInTheirFolder) {
    struct Case {
        const char* name;
        PathStyle paths;
        bool plain;
    };
    const Case cases[] = {
        {"a.txt", kPosix, true},      {"", kPosix, false},       {".", kPosix, false},
        {"..", kPosix, false},        {"...", kPosix, true},     {"a/b", kPosix, false},
        {"a/b", kWindows, false},     {"a\\b", kWindows, false}, {"a\\b", kPosix, true},
        {"\x81\\x", kWindows, true},  {".txt", kPosix, true},    {"/", kPosix, false},
        {"\x80\\x", kWindows, false}, {"\x80/", kPosix, false},  {"\xFF/", kPosix, false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.paths.isPlainName(c.name), c.plain) << c.name;
}

TEST(PathStyle, SplitsAtTheLastSeparator) {
    struct Case {
        const char* path;
        PathStyle paths;
        const char* final;
        const char* containing;  // the folder a dropped path lies in
    };
    const Case cases[] = {
        {"/home/a.txt", kPosix, "a.txt", "/home/"},
        {"/home/d/", kPosix, "", "/home/"},
        {"a.txt", kPosix, "a.txt", ""},
        {"a\\b", kPosix, "a\\b", ""},
        {"C:\\w\\a.txt", kWindows, "a.txt", "C:\\w\\"},
        {"C:\\w/a.txt", kWindows, "a.txt", "C:\\w/"},
        {"C:\\w\\\x81\\", kWindows, "\x81\\", "C:\\w\\"},
        {"C:\\w\\\x80\\", kWindows, "", "C:\\w\\"},
        {"C:\\", kWindows, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.paths.finalComponent(c.path), c.final) << c.path;
        EXPECT_EQ(c.paths.containingDir(c.path), c.containing) << c.path;
    }
}

TEST(PathStyle, TheWorkingFolderEndsInOneSeparator) {
    struct Case {
        std::string dir;
        PathStyle paths;
        std::string folder;
    };
    const Case cases[] = {
        {"/home/d", kPosix, "/home/d/"},
        {"/home/d/", kPosix, "/home/d/"},
        {"", kPosix, "/"},
        {"D:\\w", kWindows, "D:\\w\\"},
        {"D:\\w\\", kWindows, "D:\\w\\"},
        // A folder whose last character ends in a backslash byte still gets its separator.
        {"D:\\\x81\\", kWindows, "D:\\\x81\\\\"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.paths.asFolder(c.dir), c.folder) << c.dir;
        EXPECT_TRUE(c.paths.endsInSeparator(c.folder)) << c.dir;
    }
    EXPECT_EQ(kWindows.withoutTrailingSeparators("D:\\w/\\"), "D:\\w");
    EXPECT_EQ(kWindows.withoutTrailingSeparators("D:\\\x81\\"), "D:\\\x81\\");
}

TEST(PathStyle, RootsAndAbsolutePaths) {
    struct Case {
        const char* path;
        PathStyle paths;
        bool absolute, bareRoot;
    };
    const Case cases[] = {
        {"/", kPosix, true, true},        {"/x", kPosix, true, false},
        {"x/y", kPosix, false, false},    {"", kPosix, false, false},
        {"C:\\x", kWindows, true, false}, {"C:/x", kWindows, true, false},
        {"C:x", kWindows, false, false},  {"\\\\srv\\s", kWindows, true, false},
        {"\\", kWindows, false, true},    {"/x", kWindows, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.paths.isAbsolute(c.path), c.absolute) << c.path;
        EXPECT_EQ(c.paths.isBareRoot(c.path), c.bareRoot) << c.path;
    }
}

}  // namespace
}  // namespace vb

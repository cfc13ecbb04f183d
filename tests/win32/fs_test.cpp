#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "../hooked_fs.h"
#include "drive/driver.h"
#include "drive_frontend.h"
#include "fileops/fileops.h"
#include "pipeline/pipeline.h"
#include "platform/encoding.h"
#include "platform/wildcard.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_fs.h"
#include "temp_dir.h"

namespace vb {
namespace {

using testing::exists;
using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

std::vector<std::string> names(const std::vector<DirEntry>& entries, bool dirs = false) {
    std::vector<std::string> out;
    for (const auto& e : entries)
        if (e.isDir == dirs && e.name != "." && e.name != "..") out.push_back(e.name);
    std::sort(out.begin(), out.end());
    return out;
}

TEST(Win32FileSystem, RenameStaysOneNameInsideTheDirectory) {
    TempFolder d;
    CreateDirectoryW((d.wide() + L"sub").c_str(), nullptr);
    writeFile(d.wide() + L"a.txt", "a");
    Win32FileSystem fs;
    // The shared contract has the plain cases; these are Windows' own ways out of a name.
    const char* refused[] = {"sub\\a.txt", "..\\a.txt", "a.txt:stream", "C:a.txt", "trailing.", "trailing "};
    for (const char* to : refused) {
        EXPECT_FALSE(fs.rename(d.dir(), "a.txt", to)) << to;
        EXPECT_TRUE(exists(d.wide() + L"a.txt")) << to;
    }
    EXPECT_FALSE(exists(d.wide() + L"sub\\a.txt"));
    EXPECT_FALSE(fs.rename(d.dir(), "sub\\..\\a.txt", "b.txt"));
}

// The names a batch may not use for a temporary name: any entry, in any letter case.
TEST(Win32FileSystem, HasEntryLooksAtOneNameOfTheFolderInAnyCase) {
    TempFolder d;
    CreateDirectoryW((d.wide() + L"sub").c_str(), nullptr);
    writeFile(d.wide() + L"sub\\inside", "i");
    writeFile(d.wide() + L"第一课.mp4", "1");
    Win32FileSystem fs;
    for (const char* name : {"SUB", "第一课.MP4"}) EXPECT_TRUE(fs.hasEntry(d.dir(), name)) << name;
    EXPECT_FALSE(fs.hasEntry(d.dir(), "sub\\inside"));
}

TEST(Win32FileSystem, GbkNamesRoundTripAndOthersAreLeftOut) {
    TempFolder d;
    writeFile(d.wide() + L"第一课.mp4", "1");
    writeFile(d.wide() + L"ก.mp4", "2");  // Thai: no GBK form, so it cannot be renamed safely
    writeFile(d.wide() + L"plain.mp4", "3");
    Win32FileSystem fs;
    EXPECT_EQ(names(fs.search(d.dir(), "*")), (std::vector<std::string>{"plain.mp4", "第一课.mp4"}));
    EXPECT_TRUE(fs.rename(d.dir(), "第一课.mp4", "第1课.mp4"));
    EXPECT_EQ(readFile(d.wide() + L"第1课.mp4"), "1") << "the file itself moved";
}

TEST(Win32FileSystem, SearchFiltersLikeWindowsAndMarksFolders) {
    TempFolder d;
    for (const wchar_t* n : {L"a.MP4", L"b.mp4", L"c.mp4x", L"noext", L"d.txt"}) writeFile(d.wide() + n, "x");
    CreateDirectoryW((d.wide() + L"folder.mp4").c_str(), nullptr);
    Win32FileSystem fs;
    struct Case {
        const char* pattern;
        std::vector<std::string> files;
    };
    const Case cases[] = {
        {"*.mp4", {"a.MP4", "b.mp4"}},
        {"?.mp4", {"a.MP4", "b.mp4"}},
        {"*.jpg", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(names(fs.search(d.dir(), c.pattern)), c.files) << c.pattern;
    EXPECT_EQ(names(fs.search(d.dir(), "*.mp4"), true), std::vector<std::string>{"folder.mp4"});
}

TEST(Win32FileSystem, NamesPastTheOldPathLimitWork) {
    TempFolder d;
    Win32FileSystem fs;
    std::string dir = d.dir();
    while (dir.size() < 300) {
        dir += std::string(60, 'd') + "\\";
        ASSERT_TRUE(fs.createDir(dir.substr(0, dir.size() - 1))) << dir.size();
    }
    ASSERT_TRUE(fs.createNewFile(dir + "长名字.txt", "abc"));
    EXPECT_EQ(names(fs.search(dir, "*.txt")), std::vector<std::string>{"长名字.txt"});
    EXPECT_TRUE(fs.rename(dir, "长名字.txt", std::string(100, 'n') + ".txt"));
    EXPECT_TRUE(fs.deleteFile(dir + std::string(100, 'n') + ".txt"));
    EXPECT_TRUE(fs.search(dir, "*.txt").empty());
}

TEST(Win32FileSystem, CreatingNeverTruncatesAndSavingReplacesWhole) {
    TempFolder d;
    Win32FileSystem fs;
    writeFile(d.wide() + L"keep.txt", "precious");
    EXPECT_FALSE(fs.createNewFile(d.dir() + "keep.txt", "x"));
    EXPECT_EQ(readFile(d.wide() + L"keep.txt"), "precious");
    EXPECT_TRUE(fs.createNewFile(d.dir() + "new.txt", "fresh"));
    EXPECT_EQ(readFile(d.wide() + L"new.txt"), "fresh");
    EXPECT_TRUE(fs.replaceFile(d.dir() + "keep.txt", "line1\r\nline2\r\n"));
    EXPECT_EQ(readFile(d.wide() + L"keep.txt"), "line1\r\nline2\r\n");
}

TEST(Win32FileSystem, PathsAreTidiedAsTheSystemWouldBeforeTheLongForm) {
    TempFolder d;
    Win32FileSystem fs;
    writeFile(d.wide() + L"a.txt", "a");
    CreateDirectoryW((d.wide() + L"sub").c_str(), nullptr);
    EXPECT_TRUE(fs.deleteFile(d.dir() + "sub\\..\\a.txt"));
    EXPECT_FALSE(exists(d.wide() + L"a.txt"));
    writeFile(d.wide() + L"b.txt", "b");
    std::string slashes = d.dir();
    std::replace(slashes.begin(), slashes.end(), '\\', '/');
    EXPECT_TRUE(fs.deleteFile(slashes + "/b.txt"));
    EXPECT_FALSE(exists(d.wide() + L"b.txt"));
    EXPECT_EQ(extendedPath(L"C:\\a\\\\b\\.\\c"), L"\\\\?\\C:\\a\\b\\c");
    EXPECT_EQ(extendedPath(L"\\\\server\\share\\x"), L"\\\\?\\UNC\\server\\share\\x");
    EXPECT_EQ(extendedPath(L"relative\\x"), L"relative\\x");
}

TEST(Win32FileSystem, RecycleMovesTheEntryOutOfTheFolder) {
    TempFolder d;
    Win32FileSystem fs;
    writeFile(d.wide() + L"回收.txt", "r");
    EXPECT_TRUE(fs.recycle(d.dir() + "回收.txt"));
    EXPECT_FALSE(exists(d.wide() + L"回收.txt"));
    EXPECT_FALSE(fs.recycle(d.dir() + "回收.txt"));
    // Under Wine the recycle bin is the freedesktop.org trash of XDG_DATA_HOME.
    wchar_t xdg[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"VELBROOK_TEST_TRASH", xdg, MAX_PATH)) {
        EXPECT_EQ(readFile(std::wstring(xdg) + L"\\files\\回收.txt"), "r");
    }
}

// Wine cannot move a file into the trash past an entry of the same name there; it must then
// leave the file alone rather than delete it for good behind the user's back.
TEST(Win32FileSystem, RecycleThatTheTrashCannotTakeLeavesTheFileWhole) {
    wchar_t trash[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"VELBROOK_TEST_TRASH", trash, MAX_PATH))
        GTEST_SKIP() << "the test script points the trash at a folder of its own";
    const char raw[] = "every\0byte\r\n\xff";
    const std::string bytes(raw, sizeof raw - 1);
    const struct {
        const wchar_t* name;
        bool folder;
    } cases[] = {{L"冲突.txt", false}, {L"clash-folder", true}};
    for (const auto& c : cases) {
        TempFolder d;
        for (const std::wstring& dir : {std::wstring(trash), std::wstring(trash) + L"\\files",
                                        std::wstring(trash) + L"\\files\\" + c.name})
            ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
        const std::wstring mine = d.wide() + c.name;
        if (c.folder) {
            CreateDirectoryW(mine.c_str(), nullptr);
            writeFile(mine + L"\\inside.bin", bytes);
        } else {
            writeFile(mine, bytes);
        }
        std::ostringstream printed;
        TranscriptText text;
        StreamTranscript transcript(printed, text);
        Answers answers;
        bool ok = true;
        {
            ModalAnswerer answerer(answers, transcript);
            ok = Win32FileSystem().recycle(wideToGbk(mine).value());
        }
        EXPECT_FALSE(ok);
        EXPECT_EQ(readFile(c.folder ? mine + L"\\inside.bin" : mine), bytes);
        EXPECT_EQ(printed.str(), "") << "a system dialog is no box of the program's";
    }
}

TEST(Win32FileSystem, LinksToFoldersAreNotWalkedIntoAndNeverLoseTheirTarget) {
    wchar_t linkDir[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"VELBROOK_TEST_LINK_DIR", linkDir, MAX_PATH))
        GTEST_SKIP() << "the test script makes the link";
    Win32FileSystem fs;
    std::string dir = wideToGbk(std::wstring(linkDir) + L"\\").value();
    EXPECT_EQ(names(fs.search(dir, "*")), std::vector<std::string>{"link"}) << "listed as a file";
    EXPECT_TRUE(names(fs.search(dir, "*"), true).empty());
    // Windows removes the link itself; Wine cannot remove a Unix link at all. Either way the
    // folder it points to keeps everything.
    fs.deleteFile(dir + "link");
    EXPECT_EQ(readFile(std::wstring(linkDir) + L"\\..\\target\\precious"), "keep");
}

TEST(Win32FileSystem, DeleteTreeTakesEverythingButDotNamesAtAnyDepth) {
    TempFolder d;
    for (const wchar_t* dir : {L"树", L"树\\子", L"树\\子\\深", L"树\\.keep", L"平"})
        ASSERT_TRUE(CreateDirectoryW((d.wide() + dir).c_str(), nullptr));
    for (const wchar_t* f :
         {L"树\\a.txt", L"树\\子\\€.txt", L"树\\子\\深\\第一课.mp4", L"树\\.keep\\x", L"平\\b"})
        writeFile(d.wide() + f, "x");
    Win32FileSystem fs;
    EXPECT_FALSE(deleteTree(fs, d.dir() + "树")) << "a folder holding a dot name stays";
    EXPECT_EQ(names(fs.search(d.dir() + "树\\", "*"), true), std::vector<std::string>{".keep"});
    EXPECT_TRUE(names(fs.search(d.dir() + "树\\", "*")).empty());
    EXPECT_TRUE(exists(d.wide() + L"树\\.keep\\x"));
    EXPECT_TRUE(deleteTree(fs, d.dir() + "平\\"));
    EXPECT_FALSE(exists(d.wide() + L"平"));
    EXPECT_FALSE(deleteTree(fs, d.dir() + "missing"));
}

// Two sub-folders; once the walk has deleted its first file, someone tries to move the folder
// being walked away.
TEST(Win32FileSystem, DeleteTreeHoldsEveryFolderItWalks) {
    TempFolder d;
    const std::wstring tree = d.wide() + L"tree\\";
    for (const wchar_t* dir : {L"", L"a", L"a\\deep", L"b", L"b\\deep"})
        ASSERT_TRUE(CreateDirectoryW((tree + dir).c_str(), nullptr));
    for (const wchar_t* f : {L"a\\1", L"a\\deep\\2", L"b\\3", L"b\\deep\\4"}) writeFile(tree + f, "x");
    Win32FileSystem fs;
    std::wstring walking;
    bool moved = true;
    testing::HookedFileSystem hooked(fs, {});
    hooked.afterDelete = [&](const std::string&, const std::string&) {
        if (!walking.empty()) return;
        // The first file deleted lies somewhere inside the sub-folder opened last.
        auto it = std::find_if(hooked.opened.rbegin(), hooked.opened.rend(),
                               [](const std::string& n) { return n == "a" || n == "b"; });
        walking = *it == "a" ? L"a" : L"b";
        moved = MoveFileExW((tree + walking).c_str(), (d.wide() + L"away").c_str(), 0);
    };
    EXPECT_TRUE(deleteTree(hooked, d.dir() + "tree"));
    ASSERT_FALSE(walking.empty()) << "the walk deleted nothing";
    EXPECT_FALSE(moved) << "a folder being walked cannot be moved away";
    EXPECT_FALSE(exists(tree));
}

// Renames inside a held working folder: nobody can move it away meanwhile, an entry keeps its
// identity across its rename and another entry has another, and a batch leaves no journal.
TEST(Win32FileSystem, AHeldFolderKeepsItsPlaceAndItsEntriesTheirIdentity) {
    TempFolder d;
    const std::wstring w = d.wide() + L"w\\";
    ASSERT_TRUE(CreateDirectoryW(w.c_str(), nullptr));
    for (const wchar_t* f : {L"a.txt", L"b.txt", L"c.txt"}) writeFile(w + f, "x");
    Win32FileSystem fs(d.dir(), {}, Win32FileSystem::Journal::BesideProgram);
    std::unique_ptr<OpenFolder> held = fs.openFolder(d.dir() + "w\\");
    ASSERT_TRUE(held);
    const auto a = held->entryId("a.txt");
    ASSERT_TRUE(a);
    EXPECT_NE(held->entryId("b.txt"), a);
    EXPECT_FALSE(held->entryId("missing.txt"));
    EXPECT_FALSE(MoveFileExW((d.wide() + L"w").c_str(), (d.wide() + L"away").c_str(), 0));
    EXPECT_FALSE(held->rename("a.txt", "b.txt"));
    EXPECT_TRUE(held->rename("a.txt", "第一.txt"));
    EXPECT_EQ(held->entryId("第一.txt"), a);
    const std::vector<RenamePair> swap = {{"b.txt", "c.txt"}, {"c.txt", "b.txt"}};
    NoProgress progress;
    EXPECT_EQ(renameEntries(fs, held.get(), d.dir() + "w\\", swap, progress).count(), 2);
    EXPECT_TRUE(fs.search(d.dir(), "*.journal").empty());
}

// Wine can neither make a link nor move one (it moves what the link points to), so the script
// makes the tree with a link to a folder outside, and the listing calls every entry a folder, as
// a listing taken just before the folder was swapped for the link would.
TEST(Win32FileSystem, DeleteTreeNeverEntersALinkItTookForAFolder) {
    wchar_t tree[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"VELBROOK_TEST_LINKED_TREE", tree, MAX_PATH))
        GTEST_SKIP() << "the test script makes the tree with its link";
    const std::wstring dir(tree);
    const std::wstring outside = dir.substr(0, dir.find_last_of(L'\\') + 1) + L"outside\\";
    Win32FileSystem fs;
    testing::HookedFileSystem hooked(fs, {});
    hooked.everyEntryAFolder = true;
    deleteTree(hooked, wideToGbk(dir).value());
    EXPECT_EQ(hooked.opened, (std::vector<std::string>{"tree", "a", "deep"}))
        << "only real folders are entered";
    EXPECT_FALSE(exists(dir + L"\\a"));
    EXPECT_EQ(readFile(outside + L"precious"), "keep");
    EXPECT_EQ(readFile(outside + L"deep\\more"), "more");
}

TEST(Win32Encoding, ConvertsThroughCodePage936Only) {
    EXPECT_EQ(gbkToUtf8("第一课"), std::string(reinterpret_cast<const char*>(u8"第一课")));
    EXPECT_EQ(utf8ToGbk(reinterpret_cast<const char*>(u8"第一课")), std::optional<std::string>("第一课"));
    EXPECT_EQ(utf8ToGbk("\xe0\xb8\x81") /* Thai */, std::nullopt);
    EXPECT_EQ(gbkToUtf8("\x81"), std::nullopt);  // a lead byte alone
    EXPECT_EQ(wideToGbk(L"\u00f1"), std::nullopt) << "no look-alike stands in";
    EXPECT_EQ(gbkToWide(std::string("a\0b", 3)), std::nullopt);
    EXPECT_EQ(gbkToWide("课"), std::optional<std::wstring>(L"课"));
    // The single byte 0x80 is the euro sign both ways; 0xFF is no character.
    EXPECT_EQ(gbkToWide("\x80.txt"), std::optional<std::wstring>(L"\u20ac.txt"));
    EXPECT_EQ(wideToGbk(L"\u20ac"), std::optional<std::string>("\x80"));
    EXPECT_EQ(gbkToWide("\xFF"), std::nullopt);
}

}  // namespace
}  // namespace vb

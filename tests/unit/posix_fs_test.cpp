#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "../temp_folder.h"
#include "platform/encoding.h"
#include "platform/posix/posix_fs.h"
#include "platform/wildcard.h"

namespace vb {
namespace {

namespace fs = std::filesystem;

std::string utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

void writeFile(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Restores an environment variable when the test ends.
class EnvVar {
public:
    EnvVar(const char* name, const std::string& value) : name_(name) {
        if (const char* old = ::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~EnvVar() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(PosixFileSystem, RenameNeverOverwritesAndStaysInItsDirectory) {
    struct Case {
        const char* from;
        const char* to;
        bool ok;
    };
    // The shared contract has the plain cases; these reach for what lies around the folder.
    const Case cases[] = {
        {"a.txt", "free.txt", true}, {"dir", "dir", true},     {"a.txt", "../x", false},
        {"a.txt", "/tmp/x", false},  {"../a.txt", "x", false}, {"a.txt", "\x81", false},
    };
    for (const auto& c : cases) {
        testing::TempFolder t("posixfs");
        fs::create_directory(t.root() / "w");
        writeFile(t.root() / "a.txt", "outside");
        writeFile(t.root() / "w/a.txt", "A");
        writeFile(t.root() / "w/b.txt", "B");
        fs::create_directory(t.root() / "w/dir");
        writeFile(t.root() / "w/dir/inside", "I");
        fs::create_directory(t.root() / "w/empty");
        PosixFileSystem pfs(t.dir());
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
        EXPECT_EQ(pfs.rename(t.dir() + "w/", c.from, c.to), c.ok);
        EXPECT_EQ(readFile(t.root() / "w/b.txt"), "B");
        EXPECT_EQ(readFile(t.root() / "w/dir/inside"), "I");
        EXPECT_TRUE(fs::is_directory(t.root() / "w/empty"));
        EXPECT_FALSE(fs::exists(t.root() / "x"));
        EXPECT_EQ(readFile(t.root() / "a.txt"), "outside");
        if (c.ok && std::string(c.from) != c.to) {
            EXPECT_FALSE(fs::exists(t.root() / "w" / c.from));
            EXPECT_EQ(readFile(t.root() / "w" / c.to), "A");
        } else if (std::string(c.from) == "a.txt") {
            EXPECT_EQ(readFile(t.root() / "w/a.txt"), "A");
        }
    }
}

// By path and in a held folder: files, folders, dangling links; never a path of several names.
TEST(PosixFileSystem, HasEntryLooksAtOneNameOfTheFolder) {
    testing::TempFolder t("posixfs");
    fs::create_directory(t.root() / "w");
    writeFile(t.root() / "w/a.txt", "A");
    writeFile(t.root() / "w/\xE7\xAC\xAC\xE4\xB8\x80\xE8\xAF\xBE.mp4", "1");  // 第一课.mp4
    fs::create_directory(t.root() / "w/dir");
    writeFile(t.root() / "w/dir/inside", "I");
    fs::create_symlink("nowhere", t.root() / "w/dangling");
    writeFile(t.root() / "outside", "O");
    PosixFileSystem pfs(t.dir());
    const std::string w = t.dir() + "w/";
    const std::unique_ptr<OpenFolder> held = pfs.openFolder(w);
    ASSERT_TRUE(held);
    for (bool inHeld : {false, true}) {
        SCOPED_TRACE(inHeld ? "held" : "by path");
        auto has = [&](const char* name) { return inHeld ? held->hasEntry(name) : pfs.hasEntry(w, name); };
        for (const char* name : {"a.txt", "\xB5\xDA\xD2\xBB\xBF\xCE.mp4", "dir", "dangling"})
            EXPECT_TRUE(has(name)) << name;
        for (const char* name : {"A.TXT", "b.txt", "dir/inside", "../outside"})
            EXPECT_FALSE(has(name)) << name;
    }
}

TEST(PosixFileSystem, RenameEmbeddedNulIsRefused) {
    testing::TempFolder t("posixfs");
    writeFile(t.root() / "a.txt", "A");
    PosixFileSystem pfs(t.dir());
    EXPECT_FALSE(pfs.rename(t.dir(), "a.txt", std::string("x\0y", 3)));
    EXPECT_FALSE(fs::exists(t.root() / "x"));
    EXPECT_TRUE(fs::exists(t.root() / "a.txt"));
}

TEST(PosixFileSystem, GbkNamesRoundTripThroughUtf8OnDisk) {
    testing::TempFolder t("posixfs");
    writeFile(t.root() / utf8(u8"视频一.mp4"), "v");
    PosixFileSystem pfs(t.dir());
    auto listed = pfs.search(t.dir(), "*.mp4");
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].name, "视频一.mp4");  // GBK bytes
    ASSERT_TRUE(pfs.rename(t.dir(), listed[0].name, "第二集.mp4"));
    EXPECT_EQ(readFile(t.root() / utf8(u8"第二集.mp4")), "v");
    EXPECT_TRUE(pfs.createDir(t.dir() + "新建文件夹"));
    EXPECT_TRUE(fs::is_directory(t.root() / utf8(u8"新建文件夹")));
}

TEST(PosixFileSystem, ListingLeavesOutNamesThatDoNotSurviveGbk) {
    testing::TempFolder t("posixfs");
    writeFile(t.root() / "plain.txt", "");
    writeFile(t.root() / ".hidden", "");
    writeFile(t.root() / utf8(u8"中文.txt"), "");
    writeFile(t.root() / utf8(u8"smile😀.txt"), "");         // no GBK form
    writeFile(t.root() / "bad\xff\xfe.txt", "");            // not UTF-8
    writeFile(t.root() / utf8(u8"\u00e9t\u00e9.txt"), "");  // é: GBK holds it
    fs::create_directory(t.root() / "sub");
    fs::create_directory_symlink(t.root() / "sub", t.root() / "link");
    PosixFileSystem pfs(t.dir());
    auto listed = pfs.search(t.dir(), "*");
    std::vector<std::pair<std::string, bool>> got;
    for (const auto& e : listed) got.emplace_back(e.name, e.isDir);
    std::sort(got.begin(), got.end());
    std::vector<std::pair<std::string, bool>> want = {
        {".", true},
        {"..", true},
        {".hidden", false},
        {"link", false},
        {"plain.txt", false},
        {"sub", true},
        {*utf8ToGbk(utf8(u8"\u00e9t\u00e9.txt")), false},
        {"中文.txt", false},
    };
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want);
}

TEST(PosixFileSystem, SearchOfARelativeDirectoryIsEmpty) {
    testing::TempFolder t("posixfs");
    PosixFileSystem pfs(t.dir());
    EXPECT_TRUE(pfs.search("relative/", "*").empty());
}

TEST(Wildcard, WindowsSearchRules) {
    struct Case {
        const char* name;
        const char* pattern;
        bool match;
    };
    const Case cases[] = {
        {"a.mp4", "*.*", true},
        {"README", "*.*", true},
        {".hidden", "*.*", true},
        {"a.b.c", "*.*", true},
        {"a.mp4", "*.mp4", true},
        {"A.MP4", "*.mp4", true},
        {"a.mp4", "*.MP4", true},
        {"a.mp4x", "*.mp4", false},
        {"mp4", "*.mp4", false},
        {"a.txt", "?.txt", true},
        {"ab.txt", "?.txt", false},
        {".txt", "?.txt", false},
        {"视.txt", "?.txt", true},
        {"视频.txt", "?.txt", false},
        {"视频.txt", "视*", true},
        {".hidden", ".*", true},
        {".hidden", "*hidden", true},
        {"hidden", ".*", false},
        {"a", "a.*", true},
        {"ab", "a.*", false},
        {"anything", "*", true},
        {"", "*", true},
        {"abc", "a*c", true},
        {"abcbc", "a*bc", true},
        {"abcb", "a*bc", false},
        {"x视y", "x?y", true},
        {"课.txt", "??.txt", false},
        {"ABC.TXT", "abc.txt", true},
        {"课A", "课a", true},
        {"ab", "a", false},
        {"\xd2\xd3", "\xd2\x41", false},
        {"a\x81", "a?", true},
        // The euro sign 0x80 is one character of its own, and so is 0xFF.
        {"\x80.txt", "?.txt", true},
        {"\x80\x80.txt", "?.txt", false},
        {"\xFF\x80", "??", true},
        {"\x80"
         "a",
         "\x80?", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(matchesWildcard(c.name, c.pattern), c.match) << c.name << " ~ " << c.pattern;
}

TEST(PosixFileSystem, SearchAppliesThePattern) {
    testing::TempFolder t("posixfs");
    for (const char* n : {"a.mp4", "B.MP4", "c.txt", "noext", ".mp4"}) writeFile(t.root() / n, "");
    PosixFileSystem pfs(t.dir());
    auto names = [&](const char* pattern) {
        std::vector<std::string> v;
        for (const auto& e : pfs.search(t.dir(), pattern)) v.push_back(e.name);
        std::sort(v.begin(), v.end());
        return v;
    };
    EXPECT_EQ(names("*.mp4"), (std::vector<std::string>{".mp4", "B.MP4", "a.mp4"}));
    EXPECT_EQ(names("*.*").size(), 7u);  // with "." and ".."
}

TEST(PosixFileSystem, MoveWithoutTheFlagNeverReplaces) {
    struct Case {
        const char* from;
        const char* to;
        bool ok;
    };
    const Case cases[] = {
        {"f", "new", true},    {"f", "g", false},     {"f", "empty", false},     {"d", "new", true},
        {"d", "empty", false}, {"link", "new", true}, {"missing", "new", false},
    };
    for (const auto& c : cases) {
        testing::TempFolder t("posixfs");
        writeFile(t.root() / "f", "F");
        writeFile(t.root() / "g", "G");
        fs::create_directory(t.root() / "d");
        fs::create_directory(t.root() / "empty");
        fs::create_symlink("d", t.root() / "link");
        int dir = ::open(t.dir().c_str(), O_RDONLY | O_DIRECTORY);
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
        EXPECT_EQ(posix_detail::moveWithoutReplaceFlag(dir, c.from, dir, c.to), c.ok);
        ::close(dir);
        EXPECT_EQ(readFile(t.root() / "g"), "G");
        EXPECT_TRUE(fs::is_directory(t.root() / "empty"));
        EXPECT_EQ(fs::exists(fs::symlink_status(t.root() / c.from)),
                  !c.ok && std::string(c.from) != "missing");
        if (std::string(c.from) == "link" && c.ok) {
            EXPECT_TRUE(fs::is_symlink(t.root() / "new"));
        }
    }
}

TEST(PosixFileSystem, CreateNewFileNeverTruncates) {
    testing::TempFolder t("posixfs");
    writeFile(t.root() / "old.txt", "keep me");
    PosixFileSystem pfs(t.dir());
    EXPECT_FALSE(pfs.createNewFile(t.dir() + "old.txt", "new"));
    EXPECT_EQ(readFile(t.root() / "old.txt"), "keep me");
    EXPECT_FALSE(pfs.createNewFile("relative.txt", "new"));
    ASSERT_TRUE(pfs.createNewFile(t.dir() + "测试.txt", "测试文件"));
    EXPECT_EQ(readFile(t.root() / utf8(u8"测试.txt")), "测试文件");
    // A symlink in the target's place is not followed.
    fs::create_symlink("elsewhere", (t.root() / "dangling"));
    EXPECT_FALSE(pfs.createNewFile(t.dir() + "dangling", "x"));
    EXPECT_FALSE(fs::exists(t.root() / "elsewhere"));
}

TEST(PosixFileSystem, ReplaceFileSwapsWholeOrLeavesTheOldFile) {
    testing::TempFolder t("posixfs");
    writeFile(t.root() / "names.txt", "old");
    PosixFileSystem pfs(t.dir());
    ASSERT_TRUE(pfs.replaceFile(t.dir() + "names.txt", "new contents"));
    EXPECT_EQ(readFile(t.root() / "names.txt"), "new contents");
    ASSERT_TRUE(pfs.replaceFile(t.dir() + "fresh.txt", ""));
    EXPECT_EQ(fs::file_size(t.root() / "fresh.txt"), 0u);

    // A directory in the target's place makes the final move fail, whoever runs the test.
    fs::create_directory(t.root() / "taken");
    writeFile(t.root() / "taken/inner", "I");
    EXPECT_FALSE(pfs.replaceFile(t.dir() + "taken", "x"));
    EXPECT_EQ(readFile(t.root() / "taken/inner"), "I");
    EXPECT_FALSE(pfs.replaceFile(t.dir() + "missing/names.txt", "x"));

    if (::geteuid() != 0) {  // root writes into read-only directories anyway
        fs::permissions(t.root() / "",
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        EXPECT_FALSE(pfs.replaceFile(t.dir() + "names.txt", "lost"));
        EXPECT_EQ(readFile(t.root() / "names.txt"), "new contents");
        fs::permissions(t.root() / "", fs::perms::owner_write, fs::perm_options::add);
    }
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(t.root() / "")) left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"fresh.txt", "names.txt", "taken"}));  // no temporaries
}

// A link to a folder goes as a folder would, and what it points to stays; a link to a file does not.
TEST(PosixFileSystem, RemoveDirTakesDirectoryLinksButNotFileLinks) {
    testing::TempFolder t("posixfs");
    fs::create_directory(t.root() / "full");
    writeFile(t.root() / "full/x", "x");
    fs::create_directory_symlink(t.root() / "full", t.root() / "link");
    writeFile(t.root() / "file", "f");
    fs::create_symlink(t.root() / "file", (t.root() / "filelink"));
    PosixFileSystem pfs(t.dir());
    EXPECT_TRUE(pfs.removeDir(t.dir() + "link"));
    EXPECT_EQ(readFile(t.root() / "full/x"), "x");
    EXPECT_FALSE(pfs.removeDir(t.dir() + "filelink"));
    EXPECT_EQ(readFile(t.root() / "file"), "f");
}

TEST(PosixFileSystem, RecycleMovesIntoTheTrashWithInfoAndResolvesClashes) {
    testing::TempFolder t("posixfs");
    EnvVar xdg("XDG_DATA_HOME", t.dir() + "xdg");
    fs::create_directory(t.root() / "w");
    writeFile(t.root() / "w" / utf8(u8"视 频.mp4"), "1");
    fs::create_directory(t.root() / "w/folder");
    writeFile(t.root() / "w/folder/x", "x");
    PosixFileSystem pfs(t.dir());
    const std::string w = t.dir() + "w/";

    ASSERT_TRUE(pfs.recycle(w + "视 频.mp4"));
    writeFile(t.root() / "w" / utf8(u8"视 频.mp4"), "2");
    ASSERT_TRUE(pfs.recycle(w + "视 频.mp4"));
    ASSERT_TRUE(pfs.recycle(w + "folder"));
    EXPECT_FALSE(pfs.recycle(w + "missing"));
    EXPECT_FALSE(pfs.recycle("relative"));
    EXPECT_TRUE(fs::is_empty(t.root() / "w"));

    const fs::path trash = (t.root() / "xdg/Trash");
    const std::string video = utf8(u8"视 频.mp4");
    EXPECT_EQ(readFile(trash / "files" / video), "1");
    EXPECT_EQ(readFile(trash / "files" / (video + ".2")), "2");
    EXPECT_EQ(readFile(trash / "files/folder/x"), "x");

    std::vector<std::string> infos;
    for (const auto& e : fs::directory_iterator(trash / "info"))
        infos.push_back(e.path().filename().string());
    std::sort(infos.begin(), infos.end());
    EXPECT_EQ(infos,
              (std::vector<std::string>{"folder.trashinfo", video + ".2.trashinfo", video + ".trashinfo"}));

    const std::regex format(
        "\\[Trash Info\\]\nPath=(.*)\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n");
    std::smatch m;
    std::string info = readFile(trash / "info" / (video + ".2.trashinfo"));
    ASSERT_TRUE(std::regex_match(info, m, format)) << info;
    EXPECT_EQ(m[1].str(), t.dir() + "w/%E8%A7%86%20%E9%A2%91.mp4");
    info = readFile(trash / "info/folder.trashinfo");
    ASSERT_TRUE(std::regex_match(info, m, format)) << info;
    EXPECT_EQ(m[1].str(), t.dir() + "w/folder");
}

// Waits until nothing has changed in the folder for longer than the kernel's clock could hide:
// only then may a listing of it stand for it later.
void waitUntilStill(const fs::path& folder) {
    for (;;) {
        struct stat st;
        timespec now;
        ASSERT_EQ(::stat(folder.c_str(), &st), 0);
        ASSERT_EQ(::clock_gettime(CLOCK_REALTIME_COARSE, &now), 0);
        const long long age = (static_cast<long long>(now.tv_sec) - st.st_ctim.tv_sec) * 1'000'000'000LL +
                              (now.tv_nsec - st.st_ctim.tv_nsec);
        if (st.st_ctim.tv_nsec == 0 ? st.st_ctim.tv_sec + 1 < now.tv_sec : age > 200'000'000) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// A batch right after a listing takes who the entries are from that listing while the folder
// is as it was; whatever another process changed in between is seen, before the batch starts
// reading ahead or while it does.
TEST(PosixFileSystem, ABatchAfterAListingSeesEveryChangeMadeSince) {
    testing::TempFolder t("posixfs");
    struct Case {
        const char* name;
        std::function<void(const fs::path& folder)> change;
    };
    const fs::path outside = t.root() / "outside";
    fs::create_directory(outside);
    const Case cases[] = {
        {"nothing", [](const fs::path&) {}},
        {"an entry swapped for another",
         [&](const fs::path& f) {
             fs::rename(f / "3.txt", outside / ("3.txt-" + f.parent_path().filename().string()));
             writeFile(f / "3.txt", "newcomer");
         }},
        {"an entry gone", [](const fs::path& f) { fs::remove(f / "5.txt"); }},
        {"a name asked that comes", [](const fs::path& f) { writeFile(f / "new.txt", "x"); }},
        {"the folder replaced at its path",
         [&](const fs::path& f) {
             fs::rename(f, outside / ("moved-" + f.parent_path().filename().string()));
             fs::create_directory(f);
             for (int i = 0; i < 1200; ++i) writeFile(f / (std::to_string(i) + ".txt"), "again");
         }},
    };
    std::vector<std::string> names;
    for (int i = 0; i < 1200; ++i) names.push_back(std::to_string(i) + ".txt");
    names.push_back("new.txt");
    const std::vector<std::string_view> asked(names.begin(), names.end());
    for (bool whileReadingAhead : {false, true}) {
        const std::string sub = whileReadingAhead ? "ahead" : "before";
        const fs::path root = t.root() / sub;
        fs::create_directory(root);
        for (const Case& c : cases) {
            fs::create_directory(root / c.name);
            for (int i = 0; i < 1200; ++i) writeFile(root / c.name / names[static_cast<size_t>(i)], "x");
        }
        waitUntilStill(root);
        for (const Case& c : cases) waitUntilStill(root / c.name);

        PosixFileSystem pfs(t.dir());
        for (const Case& c : cases) {
            const std::string where = std::string(c.name) + (whileReadingAhead ? ", reading ahead" : "");
            const std::string dir = t.dir() + sub + "/" + c.name + "/";
            ASSERT_EQ(pfs.search(dir, "*.txt").size(), 1200u) << where;
            if (!whileReadingAhead) c.change(root / c.name);
            auto folder = pfs.openFolder(dir);
            ASSERT_TRUE(folder) << where;
            folder->readAhead(asked.size());
            if (whileReadingAhead) c.change(root / c.name);
            const ListedIds listed = folder->entryIds(asked);
            ASSERT_EQ(listed.ids.size(), names.size());
            for (size_t k = 0; k < names.size(); ++k)
                ASSERT_EQ(listed.ids[k], folder->entryId(names[k])) << where << ": " << names[k];
        }
    }
}

}  // namespace
}  // namespace vb

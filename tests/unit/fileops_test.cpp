// Delete, create and save on the in-memory window and the real file system.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "../hooked_fs.h"
#include "app/startup.h"
#include "fileops/fileops.h"
#include "platform/encoding.h"
#include "platform/headless/headless_window.h"
#include "platform/posix/posix_fs.h"
#include "test_support.h"

namespace vb {
namespace {

namespace stdfs = std::filesystem;

using namespace vb::testing;

class FileOps : public HandlerRig {
protected:
    FileOps() : HandlerRig("fileops") { folder("prog"); }

    void show(const std::string& dirRel, const std::vector<std::string>& rows) {
        win.setText(Ctl::标签2, dirRel.empty() ? "" : path(dirRel));
        win.clearRows();
        win.appendRows(rows);
    }
};

const Box kAskDelete{"确定删除吗？", "提示"};

TEST_F(FileOps, DeleteAsksOnceAtTheFirstNonEmptyRowAndKeepsTheRows) {
    file("v/a.txt");
    file("v/第二.txt");
    file("v/keep.txt");
    show("v/", {"", "a.txt", "第二.txt", "missing.txt"});
    onDeleteListed(ctx);
    EXPECT_EQ(dlg.boxes, std::vector<Box>{kAskDelete});
    EXPECT_FALSE(exists("v/a.txt"));
    EXPECT_FALSE(exists("v/第二.txt"));
    EXPECT_TRUE(exists("v/keep.txt"));
    EXPECT_EQ(win.rowCount(), 4);
}

TEST_F(FileOps, DeleteNeverLeavesTheWorkingDirectory) {
    file("outside.txt");
    file("v/sub/inner.txt");
    stdfs::create_directory_symlink(native("v/sub"), native("v/link"));
    win.setChecked(Ctl::选择框_文件夹, true);
    show("v/", {"../outside.txt", "sub/inner.txt", "..", "link"});
    onDeleteListed(ctx);
    EXPECT_EQ(dlg.boxes, (std::vector<Box>{kAskDelete, kAskDelete}));
    EXPECT_TRUE(exists("outside.txt"));
    EXPECT_TRUE(exists("v/sub/inner.txt"));
    EXPECT_FALSE(exists("v/link"));  // the link goes, what it points to stays
}

TEST_F(FileOps, DeleteWithoutADirectoryOrRowsTouchesNothing) {
    file("v/a.txt");
    show("", {"a.txt"});
    const stdfs::path before = stdfs::current_path();
    stdfs::current_path(native("v"));  // where a bare name would land
    onDeleteListed(ctx);
    stdfs::current_path(before);
    EXPECT_EQ(dlg.boxes, (std::vector<Box>{{"路径呢？", "信息："}}));
    EXPECT_TRUE(exists("v/a.txt"));

    dlg.boxes.clear();
    show("", {});
    onDeleteListed(ctx);
    EXPECT_EQ(dlg.boxes, (std::vector<Box>{{"列表框是空的", "提示"}}));
}

// Records what a walk would do, for paths a test must never hand to a real disk. Every folder
// it opens is empty.
class RecordingFs final : public FileSystem {
public:
    explicit RecordingFs(PathStyle paths) : paths_(paths) {}
    PathStyle pathStyle() const override { return paths_; }
    std::vector<DirEntry> search(const std::string& dir, const std::string&) override {
        calls.push_back("search " + dir);
        return {};
    }
    bool rename(const std::string&, const std::string&, const std::string&) override { return false; }
    bool deleteFile(const std::string& p) override { return note("deleteFile " + p); }
    bool removeDir(const std::string& p) override { return note("removeDir " + p); }
    std::unique_ptr<OpenFolder> openFolder(const std::string& dir) override {
        note("openFolder " + dir);
        return std::make_unique<Folder>(*this);
    }
    bool createDir(const std::string&) override { return false; }
    bool createNewFile(const std::string&, const std::string&) override { return false; }
    bool replaceFile(const std::string&, const std::string&) override { return false; }
    bool recycle(const std::string&) override { return false; }
    std::string programDir() const override { return "/"; }
    std::vector<std::string> calls;

private:
    struct Folder final : OpenFolder {
        explicit Folder(RecordingFs& fs) : fs(fs) {}
        std::optional<EntryId> id() override { return std::nullopt; }
        std::optional<EntryId> entryId(const std::string&) override { return std::nullopt; }
        bool rename(const std::string&, const std::string&) override { return false; }
        bool hasEntry(const std::string&) override { return false; }
        std::vector<DirEntry> entries() override { return {}; }
        std::unique_ptr<OpenFolder> openSubfolder(const std::string& name) override {
            fs.note("openSubfolder " + name);
            return std::make_unique<Folder>(fs);
        }
        bool deleteEntry(const std::string& name) override { return fs.note("deleteEntry " + name); }
        bool removeFolder(const std::string& name) override { return fs.note("removeFolder " + name); }
        bool removeFolderLink(const std::string& name) override {
            return fs.note("removeFolderLink " + name);
        }
        bool createFolder(const std::string&) override { return false; }
        bool createNewFile(const std::string&, const std::string&) override { return false; }
        RecordingFs& fs;
    };
    bool note(std::string call) {
        calls.push_back(std::move(call));
        return true;
    }
    PathStyle paths_;
};

TEST(DeleteTree, RefusesRootsAndPathsThatClimbOut) {
    struct Case {
        PathStyle paths;
        const char* path;
    };
    const Case refused[] = {{PathStyle::posix(), ""},
                            {PathStyle::posix(), "   "},
                            {PathStyle::posix(), "/"},
                            {PathStyle::posix(), "//"},
                            {PathStyle::posix(), "  /"},
                            {PathStyle::posix(), "/x/.."},
                            {PathStyle::posix(), "/x/."},
                            {PathStyle::windows(), "C:"},
                            {PathStyle::windows(), "C:\\"},
                            {PathStyle::windows(), " D:\\\\"},
                            {PathStyle::windows(), "D:\\w\\.."},
                            {PathStyle::posix(), "relative"}};
    for (const auto& c : refused) {
        RecordingFs rec(c.paths);
        EXPECT_FALSE(deleteTree(rec, c.path)) << c.path;
        EXPECT_TRUE(rec.calls.empty()) << c.path;
    }
    // The folder above is held and the tree opened inside it. A GBK character whose second byte
    // is a backslash is no separator; the euro sign 0x80 leads nothing, so one after it is.
    struct Walk {
        std::string path, parent, name;
    };
    const Walk walks[] = {
        {"D:\\w\\\x81\\", "D:\\w\\", "\x81\\"},
        {"D:\\w\\\x80\\", "D:\\w\\", "\x80"},
        {" D:\\x", "D:\\", "x"},
        {"D:\\w/x//", "D:\\w/", "x"},
    };
    for (const auto& w : walks) {
        RecordingFs rec(PathStyle::windows());
        EXPECT_TRUE(deleteTree(rec, w.path));
        EXPECT_EQ(rec.calls, (std::vector<std::string>{"openFolder " + w.parent, "openSubfolder " + w.name,
                                                       "removeFolder " + w.name}))
            << w.path;
    }
}

// Two sub-folders; once the walk has deleted its first file, one of them is renamed away and
// a link to a folder outside takes its place.
TEST_F(FileOps, DeleteTreeNeverFollowsAFolderSwappedForALinkWhileItRuns) {
    enum class Victim { NotYetWalked, BeingWalked };
    for (Victim victim : {Victim::NotYetWalked, Victim::BeingWalked}) {
        const std::string tag = victim == Victim::NotYetWalked ? "waiting" : "walked";
        SCOPED_TRACE(tag);
        const std::string tree = tag + "/tree/";
        file(tree + "a/1.txt", "1");
        file(tree + "a/deep/2.txt", "22");
        file(tree + "b/3.txt", "333");
        file(tree + "b/deep/4.txt", "4444");
        file(tag + "/outside/precious.txt", "55555");
        file(tag + "/outside/deep/more.txt", "666666");
        std::string swapped;
        testing::HookedFileSystem hooked(fs, {});
        hooked.afterDelete = [&](const std::string&, const std::string&) {
            if (!swapped.empty()) return;
            // The first file deleted lies somewhere inside the sub-folder opened last.
            auto walking = std::find_if(hooked.opened.rbegin(), hooked.opened.rend(),
                                        [](const std::string& n) { return n == "a" || n == "b"; });
            swapped = victim == Victim::BeingWalked ? *walking : (*walking == "a" ? "b" : "a");
            stdfs::rename(native(tree + swapped), native(tag + "/moved"));
            stdfs::create_directory_symlink(native(tag + "/outside"), native(tree + swapped));
        };
        const bool gone = deleteTree(hooked, path(tag + "/tree"));
        ASSERT_FALSE(swapped.empty()) << "the walk deleted nothing";
        EXPECT_EQ(read(tag + "/outside/precious.txt"), "55555");
        EXPECT_EQ(read(tag + "/outside/deep/more.txt"), "666666");
        const std::string other = swapped == "a" ? "b" : "a";
        EXPECT_FALSE(exists(tree + other)) << "the sibling was deleted whole";
        if (victim == Victim::NotYetWalked) {
            // Never opened: the link went as an entry, the folder moved away kept everything.
            EXPECT_TRUE(gone);
            EXPECT_EQ(hooked.opened, (std::vector<std::string>{"tree", other, "deep"}));
            EXPECT_EQ(read(tag + "/moved/" + (swapped == "a" ? "1.txt" : "3.txt")),
                      swapped == "a" ? "1" : "333");
        } else {
            // The walk went on inside the folder it held, wherever it now is; the link stays.
            EXPECT_FALSE(gone);
            EXPECT_TRUE(stdfs::is_symlink(native(tree + swapped)));
            EXPECT_TRUE(stdfs::is_empty(native(tag + "/moved")));
        }
    }
}

TEST_F(FileOps, CreateNeverOverwritesAndCountsOnlyWhatItMade) {
    stdfs::create_directories(native("t"));
    file("t/b.txt", "mine");
    show("v/", {"a.mp4", "a.txt", "b.mp4", "", "x/c.mp4", "视频.mp4"});
    win.setText(Ctl::编辑框14, path("t"));
    win.setText(Ctl::编辑框15, ".txt");
    onCreateEntries(ctx);
    EXPECT_EQ(dlg.boxes, (std::vector<Box>{{"成功创建2个文件夹", "创建成果提示"}}));
    EXPECT_EQ(read("t/a.txt"), "测试文件");
    EXPECT_EQ(read("t/视频.txt"), "测试文件");
    EXPECT_EQ(read("t/b.txt"), "mine");
    EXPECT_FALSE(exists("t/c.txt"));
    EXPECT_FALSE(exists("t/x"));
}

// Asks to stop once the loop reaches entry stopAt; every loop it hears of must end.
struct StoppingProgress final : Progress {
    explicit StoppingProgress(int at) : stopAt(at) {}
    void start(const char* what, int) override { loops.emplace_back(what); }
    bool next(int done) override { return done < stopAt; }
    void finish() override { ++finished; }
    int stopAt;
    std::vector<std::string> loops;
    int finished = 0;
};

// A stopped delete or create has done the rows before the stop and none after, says so in its
// report, and never starts its next pass.
TEST_F(FileOps, DeleteAndCreateStopBetweenTwoRows) {
    for (const char* n : {"a.txt", "b.txt", "c.txt"}) file(std::string("v/") + n);
    folder("v/d");
    win.setChecked(Ctl::选择框_文件夹, true);
    show("v/", {"a.txt", "b.txt", "c.txt"});

    StoppingProgress stopCreate(2);
    Program creating(ports(stopCreate));
    stdfs::create_directories(native("t"));
    win.setText(Ctl::编辑框14, path("t"));
    onCreateEntries(creating.context());
    EXPECT_EQ(dlg.boxes.back(), (Box{"成功创建2个文件夹", "创建成果提示"}));
    EXPECT_TRUE(exists("t/a") && exists("t/b"));
    EXPECT_FALSE(exists("t/c"));
    EXPECT_EQ(stopCreate.loops, std::vector<std::string>{"新建中"});
    EXPECT_EQ(stopCreate.finished, 1);

    StoppingProgress stopDelete(1);
    Program deleting(ports(stopDelete));
    dlg.boxes.clear();
    onDeleteListed(deleting.context());
    EXPECT_EQ(dlg.boxes, std::vector<Box>{kAskDelete}) << "the folders' pass never starts";
    EXPECT_FALSE(exists("v/a.txt"));
    EXPECT_TRUE(exists("v/b.txt") && exists("v/c.txt") && exists("v/d"));
    EXPECT_EQ(stopDelete.loops, std::vector<std::string>{"删除中"});
    EXPECT_EQ(stopDelete.finished, 1);
}

TEST_F(FileOps, CreateGuardsAndTargets) {
    struct Case {
        std::string dir, target, ext, box;
    };
    stdfs::create_directories(native("t"));
    const Case cases[] = {
        {"", path("t"), "", "路径呢？"},
        {"v/", "", "", "路径呢？"},
        {"v/", "将在这里创建", "", "路径呢？"},
        {"v/", "t", "", "什么都没有创建"},  // relative: never the process's directory
        {"v/", path("t"), "a/b", "什么都没有创建"},
        {"v/", path("missing"), "", "什么都没有创建"},
    };
    for (const auto& c : cases) {
        dlg.boxes.clear();
        show(c.dir, {"a.mp4"});
        win.setText(Ctl::编辑框14, c.target);
        win.setText(Ctl::编辑框15, c.ext);
        onCreateEntries(ctx);
        ASSERT_EQ(dlg.boxes.size(), 1u);
        EXPECT_EQ(dlg.boxes[0].text, c.box) << c.target << " " << c.ext;
    }
    EXPECT_TRUE(stdfs::is_empty(native("t")));
}

TEST_F(FileOps, SaveWritesGbkLinesForNonEmptyRows) {
    const std::string saved = "已将原文件名存入txt文档内，\r\n并已将txt文档保存到本软件的同级文件夹";
    struct Case {
        std::vector<std::string> rows;
        std::string bytes;
    };
    const Case cases[] = {
        {{"a.mp4", "", "b.txt"}, "a.mp4\r\nb.txt\r\n"},
        {{"", ""}, ""},
        {{"第一集.mp4"}, "\xb5\xda\xd2\xbb\xbc\xaf.mp4\r\n"},
    };
    for (const auto& c : cases) {
        dlg.boxes.clear();
        show("v/", c.rows);
        onSaveNames(ctx);
        EXPECT_EQ(dlg.boxes, (std::vector<Box>{{saved, "提醒："}}));
        EXPECT_EQ(read("prog/原文件名保存.txt"), c.bytes);
    }
}

}  // namespace
}  // namespace vb

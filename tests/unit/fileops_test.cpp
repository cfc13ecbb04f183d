// Delete, create and save on the in-memory window and the real file system.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

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

// Records what a walk would do, for paths a test must never hand to a real disk.
class RecordingFs final : public FileSystem {
public:
    explicit RecordingFs(char sep) : sep_(sep) {}
    char separator() const override { return sep_; }
    std::vector<DirEntry> search(const std::string& dir, const std::string&) override {
        calls.push_back("search " + dir);
        return {};
    }
    bool rename(const std::string&, const std::string&, const std::string&) override { return false; }
    bool deleteFile(const std::string& p) override { return note("deleteFile " + p); }
    bool removeDir(const std::string& p) override { return note("removeDir " + p); }
    bool createDir(const std::string&) override { return false; }
    bool createNewFile(const std::string&, const std::string&) override { return false; }
    bool replaceFile(const std::string&, const std::string&) override { return false; }
    bool recycle(const std::string&) override { return false; }
    std::string programDir() const override { return "/"; }
    std::vector<std::string> calls;

private:
    bool note(std::string call) {
        calls.push_back(std::move(call));
        return true;
    }
    char sep_;
};

TEST(DeleteTree, RefusesRootsAndPathsThatClimbOut) {
    struct Case {
        char sep;
        const char* path;
    };
    const Case refused[] = {{'/', ""},      {'/', "   "},      {'/', "/"},         {'/', "//"},
                            {'/', "  /"},   {'/', "/x/.."},    {'/', "/x/."},      {'\\', "C:"},
                            {'\\', "C:\\"}, {'\\', " D:\\\\"}, {'\\', "D:\\w\\.."}};
    for (const auto& c : refused) {
        RecordingFs rec(c.sep);
        EXPECT_FALSE(deleteTree(rec, c.path)) << c.path;
        EXPECT_TRUE(rec.calls.empty()) << c.path;
    }
    // A GBK character whose second byte is a backslash is not a trailing separator.
    RecordingFs rec('\\');
    EXPECT_TRUE(deleteTree(rec, "D:\\w\\\x81\\"));
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"search D:\\w\\\x81\\\\", "removeDir D:\\w\\\x81\\"}));
}

TEST(StaysInDirectory, RefusesWhatWouldLeaveIt) {
    struct Case {
        const char* name;
        char sep;
        bool ok;
    };
    // 0x80 and 0xFF lead nothing: a separator after them is one.
    const Case cases[] = {
        {"a.txt", '/', true}, {"", '/', false},        {".", '/', false},    {"..", '/', false},
        {"...", '/', true},   {"a/b", '/', false},     {"a/b", '\\', false}, {"a\\b", '\\', false},
        {"a\\b", '/', true},  {"\x81\\x", '\\', true}, {".txt", '/', true},  {"/", '/', false},
        {"\x80\\x", '\\', false}, {"\x80/", '/', false}, {"\xFF/", '/', false},
    };
    for (const auto& c : cases) EXPECT_EQ(staysInDirectory(c.name, c.sep), c.ok) << c.name << " " << c.sep;
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

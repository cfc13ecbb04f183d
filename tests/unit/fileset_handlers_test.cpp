// The file set's operations on the in-memory window, over the real file system or, where the
// listing order matters, one in memory.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "../memory_fs.h"
#include "app/startup.h"
#include "fileset/fileset.h"
#include "platform/encoding.h"
#include "platform/headless/headless_window.h"
#include "platform/posix/posix_fs.h"
#include "test_support.h"

namespace vb {
namespace {

namespace stdfs = std::filesystem;
using Names = std::vector<std::string>;

using namespace vb::testing;

class Rig : public HandlerRig {
protected:
    Rig() : HandlerRig("fileset", HeadlessWindow::Listener{{}, {}, [this] { ++popups; }}) {}

    void browseTo(const std::string& gbkRel) {
        dlg.browses.push_back(path(gbkRel));
        manualRead(ctx);
    }
    void typeInto(Ctl c, const std::string& text, void (*edited)(Context&)) {
        win.setText(c, text);
        edited(ctx);
    }
    // Opens the drop-down and picks an item, as the user does; the item-chosen handler is the caller's.
    void chooseIn(Ctl c, const std::string& item, void (*opening)(Context&)) {
        opening(ctx);
        Names items = win.items(c);
        auto it = std::find(items.begin(), items.end(), item);
        ASSERT_NE(it, items.end()) << item;
        win.setSelection(c, static_cast<int>(it - items.begin()));
    }

    int popups = 0;
};

const Box kNothingChosen{"什么都没有选择", "提示"};
const Box kDesktop{kDesktopNotice, "提示"};

// ---- Manual read, Drop read, Re-list ---------------------------------------------------------

class ManualRead : public Rig {
protected:
    void SetUp() override {
        for (const char* n : {"第2集.mp4", "第10集.mp4", "第1集.mp4", ".hidden.mp4", "notes.txt", "README"})
            file(std::string("v/") + n);
        folder("v/folder.mp4");
        folder("v/sub");
    }
};

TEST_F(ManualRead, ListsByFilterAndMode) {
    struct Case {
        const char* what;
        const char* typed;   // typed into 组合框_仅检索, or null
        const char* chosen;  // chosen there, or null
        bool files, folders;
        Names expected;
    };
    const Case cases[] = {
        {"nothing typed",
         "",
         nullptr,
         true,
         false,
         {".hidden.mp4", "README", "notes.txt", "第1集.mp4", "第2集.mp4", "第10集.mp4"}},
        {"typed mp4; the folder folder.mp4 is no file",
         "mp4",
         nullptr,
         true,
         false,
         {".hidden.mp4", "第1集.mp4", "第2集.mp4", "第10集.mp4"}},
        {"typed .txt", ".txt", nullptr, true, false, {"notes.txt"}},
        {"typed case ignored", "TXT", nullptr, true, false, {"notes.txt"}},
        {"chosen 所有",
         nullptr,
         "所有",
         true,
         false,
         {".hidden.mp4", "README", "notes.txt", "第1集.mp4", "第2集.mp4", "第10集.mp4"}},
        {"chosen .mp4",
         nullptr,
         ".mp4",
         true,
         false,
         {".hidden.mp4", "第1集.mp4", "第2集.mp4", "第10集.mp4"}},
        {"a typed separator reaches no other directory", "/../*", nullptr, true, false, {}},
        {"folders", "mp4", nullptr, false, true, {"folder.mp4", "sub"}},
        {"neither box", "", nullptr, false, false, {}},
    };
    for (const auto& c : cases) {
        if (c.typed) typeInto(Ctl::组合框_仅检索, c.typed, onOnlyExtEdited);
        if (c.chosen) chooseIn(Ctl::组合框_仅检索, c.chosen, onOnlyExtOpening);
        win.setChecked(Ctl::选择框_文件, c.files);
        win.setChecked(Ctl::选择框_文件夹, c.folders);
        browseTo("v");
        Names got = rows();
        if (c.folders) std::sort(got.begin(), got.end());  // folders come in the file system's order
        EXPECT_EQ(got, c.expected) << c.what;
        EXPECT_EQ(workingDir(win), path("v/")) << c.what;
    }
    EXPECT_TRUE(dlg.boxes.empty());
    EXPECT_EQ(dlg.browseTitles.front(), "选择目录");
}

TEST_F(ManualRead, RefusesAnyPathHoldingDesktop) {
    for (const char* dir : {"DESKTOP/x", "OldDesktopFiles", "desktop_old"}) {
        file(std::string(dir) + "/a.txt");
        win.setText(Ctl::标签2, path("v/"));
        dlg.boxes.clear();
        browseTo(dir);
        EXPECT_EQ(dlg.boxes, std::vector<Box>{kDesktop}) << dir;
        EXPECT_EQ(workingDir(win), "") << dir;
        EXPECT_EQ(win.rowCount(), 0) << dir;
    }
    file("桌面/a.txt");  // only the Latin word is refused
    browseTo("桌面");
    EXPECT_EQ(rows(), Names{"a.txt"});
}

// The browser opens where the user works: the working folder after a read, a drop or a refusal.
TEST_F(ManualRead, OpensTheBrowserAtTheWorkingFolder) {
    file("v/sub/deep/a.txt");
    struct Step {
        std::function<void()> act;
        std::string startAt;  // what the next browser is given
    };
    const Step steps[] = {
        {[] {}, ""},
        {[&] { browseTo("v/sub/deep"); }, path("v/sub/deep/")},
        {[&] {
             dlg.browses.push_back(std::nullopt);  // cancelled: the working folder stays
             manualRead(ctx);
         },
         path("v/sub/deep/")},
        {[&] { dropRead(ctx, path("v/notes.txt")); }, path("v/")},
        {[&] { browseTo("OldDesktopFiles"); }, ""},
    };
    file("OldDesktopFiles/a.txt");
    for (size_t i = 0; i < std::size(steps); ++i) {
        steps[i].act();
        dlg.browses.push_back(std::nullopt);
        manualRead(ctx);
        EXPECT_EQ(dlg.browseStarts.back(), steps[i].startAt) << "step " << i;
    }
}

// Manual read always applies a chosen skip item; Re-list (after a filter choice) only with "*.*".
TEST_F(Rig, SkipRuleManualReadAgainstReList) {
    for (const char* n : {"a.txt", "b.mp4", "c.TXT"}) file(std::string("s/") + n);
    struct Case {
        const char* only;  // chosen in 组合框_仅检索
        const char* skip;  // chosen in 组合框_跳过扩展, or typed when skipTyped
        bool skipTyped;
        Names manual, reListed;
    };
    const Case cases[] = {
        {"所有", ".txt", false, {"b.mp4", "c.TXT"}, {"b.mp4", "c.TXT"}},
        {".txt", ".txt", false, {"c.TXT"}, {"a.txt", "c.TXT"}},
        {"所有", "不跳", false, {"a.txt", "b.mp4", "c.TXT"}, {"a.txt", "b.mp4", "c.TXT"}},
        {"所有", ".txt", true, {"a.txt", "b.mp4", "c.TXT"}, {"a.txt", "b.mp4", "c.TXT"}},
    };
    for (const auto& c : cases) {
        win.setText(Ctl::组合框_仅检索, "");
        win.setText(Ctl::组合框_跳过扩展, "");
        chooseIn(Ctl::组合框_仅检索, c.only, onOnlyExtOpening);
        if (c.skipTyped)
            typeInto(Ctl::组合框_跳过扩展, c.skip, onSkipExtEdited);
        else
            chooseIn(Ctl::组合框_跳过扩展, c.skip, onSkipExtOpening);
        browseTo("s");
        EXPECT_EQ(rows(), c.manual) << c.only << " / " << c.skip;
        onFilterChosen(ctx);
        EXPECT_EQ(rows(), c.reListed) << c.only << " / " << c.skip;
    }
}

TEST_F(Rig, FilterChosenInFoldersModeEmptiesTheList) {
    folder("f/one");
    win.setChecked(Ctl::选择框_文件, false);
    win.setChecked(Ctl::选择框_文件夹, true);
    browseTo("f");
    ASSERT_EQ(rows(), Names{"one"});
    chooseIn(Ctl::组合框_仅检索, ".mp4", onOnlyExtOpening);
    onFilterChosen(ctx);
    EXPECT_EQ(win.rowCount(), 0);
}

TEST_F(Rig, DropReadTable) {
    file("top.txt");
    file("v/a.txt");
    file("v/b.txt");
    file("Desktop/x.txt");
    struct Case {
        std::string dropped;
        std::string dir;
        Names rows;
        std::vector<Box> boxes;
    };
    const Case cases[] = {
        {path("v/a.txt"), path("v/"), {"a.txt", "b.txt"}, {}},
        {path("v"), path(""), {"top.txt"}, {}},
        {path("v/"), path(""), {"top.txt"}, {}},
        {"/", "", {}, {}},  // the root plays the drive root: no directory, no message
        {"", path("v/"), {}, {kNothingChosen}},
        {path("Desktop/x.txt"), "", {}, {kDesktop}},
    };
    for (const auto& c : cases) {
        win.setText(Ctl::标签2, path("v/"));
        win.appendRows({"stale"});
        dlg.boxes.clear();
        dropRead(ctx, c.dropped);
        EXPECT_EQ(workingDir(win), c.dir) << c.dropped;
        EXPECT_EQ(rows(), c.rows) << c.dropped;
        EXPECT_EQ(dlg.boxes, c.boxes) << c.dropped;
    }
}

// Files come sorted by their padded numbers; full paths and folders in the disk's own order,
// whichever that is.
TEST(Listings, ForTheRenamePipeline) {
    for (const bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "listed newest first" : "listed oldest first");
        MemoryFileSystem mem;
        if (reversed) mem.arrange = [](std::vector<DirEntry>& e) { std::reverse(e.begin(), e.end()); };
        for (const char* n : {"b10.jpg", "c.png", "b2.jpg"}) mem.file(std::string("/p/") + n);
        mem.folder("/p/d1");
        mem.folder("/p/d.jpg");
        auto disk = [&](Names names) {
            if (reversed) std::reverse(names.begin(), names.end());
            return names;
        };
        EXPECT_EQ(fileListing(mem, "/p/", "*.jpg"), (Names{"b2.jpg", "b10.jpg"}));
        EXPECT_EQ(fileListing(mem, "/p", "*.*"), (Names{"b2.jpg", "b10.jpg", "c.png"}));  // separator added
        EXPECT_EQ(fullPathFileListing(mem, "/p/", "*.jpg"), disk({"/p/b10.jpg", "/p/b2.jpg"}));
        EXPECT_EQ(folderListing(mem, "/p/", false), disk({"d1", "d.jpg"}));
        EXPECT_EQ(folderListing(mem, "/p/", true), disk({"/p/d1", "/p/d.jpg"}));
        EXPECT_TRUE(fileListing(mem, "/gone/", "*.*").empty());
        EXPECT_TRUE(folderListing(mem, "/gone/", false).empty());
    }
}

TEST(SearchPattern, Table) {
    struct Case {
        const char* text;
        int selection;
        const char* pattern;
    };
    const Case cases[] = {
        {"", -1, "*.*"},        {".mp4", -1, "*.mp4"}, {"mp4", -1, "*.mp4"}, {"*.txt", -1, "**.txt"},
        {"所有", -1, "*.所有"}, {"所有", 0, "*.*"},    {".jpg", 8, "*.jpg"},
    };
    for (const auto& c : cases) EXPECT_EQ(searchPattern(c.text, c.selection), c.pattern) << c.text;
}

TEST(SkipRule, ComparesTheExtensionByteForByte) {
    SkipRule rule{true, ".mp4"};
    EXPECT_TRUE(rule.hides("a.b.mp4", PathStyle::posix()));
    EXPECT_TRUE(rule.hides("/d/x.y/a.mp4", PathStyle::posix()));
    EXPECT_FALSE(rule.hides("a.MP4", PathStyle::posix()));
    EXPECT_FALSE(rule.hides("a.mp4 x", PathStyle::posix()));
    EXPECT_FALSE((SkipRule{false, ".mp4"}).hides("a.mp4", PathStyle::posix()));
    EXPECT_TRUE((SkipRule{true, ""}).hides("README", PathStyle::posix()));  // "" equals a missing extension
}

// ---- Name list -----------------------------------------------------------------------------

// The menu needs a selected row; should a command arrive without one, nothing changes.
TEST_F(Rig, MenuCommandsWithoutSelectionChangeNothing) {
    win.appendRows({"1.txt", "2.txt"});
    win.selectRow(-1);
    for (auto* command : {onMoveUp, onMoveDown, onRemoveRow}) command(ctx);
    EXPECT_EQ(rows(), (Names{"1.txt", "2.txt"}));
    EXPECT_TRUE(dlg.boxes.empty());
}

TEST_F(Rig, ReverseOrderDropsEmptyRowsAndPreviews) {
    onReverseOrder(ctx);
    EXPECT_EQ(dlg.boxes, (std::vector<Box>{{kEmptyListMessage, "提醒："}}));
    win.insertColumn(1, "更名后的效果", 100);
    win.appendRows({"1.txt", "", "2.txt", "3.txt"});
    win.setCell(0, 1, "new");
    onReverseOrder(ctx);
    EXPECT_EQ(rows(), (Names{"3.txt", "2.txt", "1.txt"}));
    EXPECT_EQ(win.cell(2, 1), "");
}

TEST_F(Rig, ReadNames) {
    Names out{"kept"};
    EXPECT_EQ(readNames(ctx, out, true), 0);
    EXPECT_EQ(out, Names{"kept"});
    EXPECT_EQ(dlg.boxes, (std::vector<Box>{{"列表框是空的！", "提醒："}}));

    win.setText(Ctl::标签2, "/d/");
    win.appendRows({"a", "", "b"});
    EXPECT_EQ(readNames(ctx, out, true), 3);
    EXPECT_EQ(out, (Names{"kept", "/d/a", "/d/b"}));
    Names bare;
    EXPECT_EQ(readNames(ctx, bare, false), 2);
    EXPECT_EQ(bare, (Names{"a", "b"}));
    EXPECT_EQ(dlg.boxes.size(), 1u);
}

TEST_F(Rig, PopupMenuConditions) {
    win.appendRows({"a.txt", ""});
    struct Case {
        const char* previewCaption;
        int row;
        bool shown;
    };
    const Case cases[] = {
        {"打开预览", 0, true}, {"不要预览", 0, false}, {"打开预览", -1, false}, {"打开预览", 1, false}};
    for (const auto& c : cases) {
        win.setText(Ctl::按钮_打开预览, c.previewCaption);
        win.selectRow(c.row);
        int before = popups;
        onListRightClick(ctx);
        EXPECT_EQ(popups - before, c.shown ? 1 : 0) << c.previewCaption << " row " << c.row;
    }
}

}  // namespace
}  // namespace vb

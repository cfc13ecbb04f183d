// Preview, execute and undo where the rows and the disk have drifted apart, where the listing
// comes in either order, and where the file system refuses a step halfway through a cycle.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "../memory_fs.h"
#include "fileset/fileset.h"
#include "pipeline/operations.h"
#include "pipeline/pipeline.h"
#include "test_support.h"

namespace vb {
namespace {

using namespace vb::testing;
using Names = std::vector<std::string>;

// The rename operations over a folder in memory, whose listing order and refused renames the
// test chooses; the rig's own real folder serves what is about paths alone.
class Batch : public HandlerRig {
protected:
    Batch() : HandlerRig("batch") {}

    void browseTo(const std::string& dir) {
        dlg.browses.push_back(dir);
        manualRead(mctx);
    }
    Names column(int col) const {
        Names out;
        for (int r = 0; r < win.rowCount(); ++r) out.push_back(win.cell(r, col));
        return out;
    }
    void setColumn1(const Names& names) {
        for (size_t r = 0; r < names.size(); ++r) win.setCell(static_cast<int>(r), 1, names[r]);
    }

    MemoryFileSystem mem;
    Program memProgram{ports(mem)};
    Context& mctx = memProgram.context();
};

void reverse(std::vector<DirEntry>& entries) { std::reverse(entries.begin(), entries.end()); }

// A folder made after the list was read shows in no row, so it gets no proposal; the others get
// theirs beside their own name though the rows are reversed, in either listing order. A direct
// run renames every folder of the fresh listing and leaves the rows alone.
TEST_F(Batch, FolderProposalsGoBesideTheFolderTheyRename) {
    for (const bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "listed newest first" : "listed oldest first");
        mem = MemoryFileSystem();
        mem.arrange = reversed ? reverse : nullptr;
        for (const char* d : {"2019.trip", "2021.taxes", "2022.家"})
            mem.file(std::string("/v/") + d + "/note", d);
        win.setChecked(Ctl::选择框_文件, false);
        win.setChecked(Ctl::选择框_文件夹, true);
        if (previewOn(win)) onPreviewSwitch(mctx);
        browseTo("/v");
        onPreviewSwitch(mctx);
        mem.folder("/v/2020.new");
        onReverseOrder(mctx);
        win.setText(Ctl::编辑框6, "old_");
        onAddAtStart(mctx);

        const Names listed = reversed ? Names{"2022.家", "2021.taxes", "2019.trip"}
                                      : Names{"2019.trip", "2021.taxes", "2022.家"};
        EXPECT_EQ(column(0), Names(listed.rbegin(), listed.rend()));
        for (int r = 0; r < win.rowCount(); ++r) EXPECT_EQ(win.cell(r, 1), "old_" + win.cell(r, 0)) << r;
        onExecute(mctx);
        EXPECT_EQ(mem.namesIn("/v"), (Names{"2020.new", "old_2019.trip", "old_2021.taxes", "old_2022.家"}));
        for (const char* d : {"2019.trip", "2021.taxes", "2022.家"})
            EXPECT_EQ(mem.bytesOf(std::string("/v/old_") + d + "/note"), d);

        onPreviewSwitch(mctx);
        const Names shown = column(0);
        win.setText(Ctl::编辑框7, "_x");
        dlg.boxes.clear();
        onAddAtEnd(mctx);
        EXPECT_EQ(dlg.boxes.back().text, "一共有4个文件被改名成功");
        EXPECT_EQ(column(0), shown);
        EXPECT_EQ(mem.namesIn("/v"),
                  (Names{"2020.new_x", "old_2019.trip_x", "old_2021.taxes_x", "old_2022.家_x"}));
    }
}

// After an execute in folder mode, preview off and on lists the folders again in the disk's own
// order, and undo gives each folder its name back, whatever order that is.
TEST_F(Batch, UndoInFolderModeFollowsTheFoldersInAnyListingOrder) {
    for (const bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "listed newest first" : "listed oldest first");
        mem = MemoryFileSystem();
        mem.arrange = reversed ? reverse : nullptr;
        const Names start = {"alpha", "beta", "gamma"};
        for (const auto& d : start) mem.file("/v/" + d + "/note", d);
        win.setChecked(Ctl::选择框_文件, false);
        win.setChecked(Ctl::选择框_文件夹, true);
        if (previewOn(win)) onPreviewSwitch(mctx);
        browseTo("/v");
        onPreviewSwitch(mctx);
        win.setText(Ctl::编辑框7, "_old");
        onAddAtEnd(mctx);
        onExecute(mctx);
        onPreviewSwitch(mctx);
        onPreviewSwitch(mctx);
        const Names renamed = reversed ? Names{"gamma_old", "beta_old", "alpha_old"}
                                       : Names{"alpha_old", "beta_old", "gamma_old"};
        EXPECT_EQ(column(0), renamed);

        dlg.boxes.clear();
        onUndo(mctx);
        EXPECT_TRUE(dlg.boxes.empty());
        EXPECT_EQ(column(0), renamed);
        EXPECT_EQ(mem.namesIn("/v"), start);
        for (const auto& d : start) EXPECT_EQ(mem.bytesOf("/v/" + d + "/note"), d);
    }
}

// A cycle whose middle entry is locked and whose way back is refused too: the user is told where
// the file is, its row shows that name, and undo, once the file system lets it, puts every file
// back under its own name.
TEST_F(Batch, AStrandedFileIsShownReportedAndUndone) {
    for (const char* n : {"a.txt", "b.txt", "c.txt"}) mem.file(std::string("/v/") + n, std::string(n) + "!");
    onPreviewSwitch(mctx);
    browseTo("/v");
    setColumn1({"b.txt", "c.txt", "a.txt"});

    mem.lockedNames = {"b.txt"};
    mem.refusedRenames = {{"a.txt", "c.txt"}};
    dlg.boxes.clear();
    onExecute(mctx);
    const std::string temp = "~velbrook-0.tmp";
    ASSERT_EQ(dlg.boxes.size(), 1u);
    EXPECT_NE(dlg.boxes[0].text.find("a.txt -> " + temp), std::string::npos);
    EXPECT_EQ(column(0), (Names{temp, "b.txt", "a.txt"}));
    EXPECT_EQ(mem.bytesOf("/v/" + temp), "a.txt!");
    EXPECT_EQ(mem.bytesOf("/v/a.txt"), "c.txt!");
    EXPECT_EQ(memProgram.undoArray(), (Names{"a.txt", "b.txt", "c.txt"}));

    mem.lockedNames.clear();
    mem.refusedRenames.clear();
    dlg.boxes.clear();
    onUndo(mctx);
    EXPECT_TRUE(dlg.boxes.empty());
    EXPECT_EQ(column(0), (Names{"a.txt", "b.txt", "c.txt"}));
    for (const char* n : {"a.txt", "b.txt", "c.txt"})
        EXPECT_EQ(mem.bytesOf(std::string("/v/") + n), std::string(n) + "!");
    EXPECT_EQ(mem.namesIn("/v"), (Names{"a.txt", "b.txt", "c.txt"}));
}

// The video number renames from a fresh listing, whose order need not be the rows' order: each
// new name lands in the row that shows its file, whichever order the listing and the rows have.
TEST_F(Batch, VideoNumberWritesEachNewNameInTheRowOfItsFile) {
    using Arrange = void (*)(std::vector<DirEntry>&);
    struct Case {
        Arrange atRead, atRun;
    };
    for (const Case& c : {Case{nullptr, reverse}, Case{reverse, nullptr}}) {
        mem = MemoryFileSystem();
        for (const char* n : {"1.mp4", "2.mp4", "3.mp4"}) mem.file(std::string("/v/") + n, n);
        mem.arrange = c.atRead;
        browseTo("/v");
        const Names before = column(0);
        ASSERT_EQ(before.size(), 3u);

        mem.arrange = c.atRun;
        onVideoNumber(mctx);
        const Names after = column(0);
        ASSERT_EQ(after.size(), 3u);
        for (size_t r = 0; r < 3; ++r) {
            // "1.mp4" becomes "1(Av…,P…).mp4": same stem, same file.
            EXPECT_EQ(after[r].substr(0, 2), before[r].substr(0, 1) + "(") << r;
            EXPECT_EQ(mem.bytesOf("/v/" + after[r]), before[r]) << r;
        }
    }
}

// An undo that the file system refuses halfway keeps every entry that did not go back, under
// the name it has now (a temporary one included), and the next undo finishes the job.
TEST_F(Batch, AnUndoRefusedHalfwayIsFinishedByTheNextOne) {
    const Names start = {"a.txt", "b.dat", "c.txt"};
    for (const auto& n : start) mem.file("/v/" + n, n + "!");
    onPreviewSwitch(mctx);
    browseTo("/v");
    ASSERT_EQ(column(0), start);
    setColumn1({"b.dat", "a.txt", "d.txt"});
    onExecute(mctx);
    ASSERT_EQ(mem.bytesOf("/v/b.dat"), "a.txt!");

    // The way back: b.dat goes aside, a.txt -> b.dat is refused and so is the return of the
    // temporary name; d.txt -> c.txt is refused.
    const std::string temp = "~velbrook-0.tmp";
    mem.lockedNames = {"a.txt", "d.txt"};
    mem.refusedRenames = {{temp, "b.dat"}};
    onUndo(mctx);
    EXPECT_EQ(mem.namesIn("/v"), (Names{"a.txt", "d.txt", temp}));
    EXPECT_EQ(column(0), (Names{temp, "a.txt", "d.txt"}));

    mem.lockedNames.clear();
    mem.refusedRenames.clear();
    onUndo(mctx);
    EXPECT_EQ(mem.namesIn("/v"), start);
    for (const auto& n : start) EXPECT_EQ(mem.bytesOf("/v/" + n), n + "!");
    EXPECT_EQ(column(0), start);
}

// A rename button checks where it works whatever put the path there: a folder on the desktop and
// the root are refused before any file is touched.
TEST_F(Batch, RenameButtonsRefuseTheDesktopAndTheRoot) {
    file("Desktop/a.txt", "a");
    struct Case {
        std::string dir;
        Box box;
        std::string labelAfter;
    };
    const Case cases[] = {
        {path("Desktop/"), {kDesktopNotice, kDesktopTitle}, ""},
        {"/", {kNothingChosen.text, kNothingChosen.title}, "/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dir);
        win.setText(Ctl::标签2, c.dir);
        win.clearRows();
        win.appendRows({"a.txt"});
        win.setText(Ctl::编辑框6, "x_");
        dlg.boxes.clear();
        onAddAtStart(ctx);
        EXPECT_EQ(dlg.boxes, std::vector<Box>{c.box});
        EXPECT_EQ(win.text(Ctl::标签2), c.labelAfter);
        EXPECT_EQ(read("Desktop/a.txt"), "a");
        EXPECT_EQ(win.cell(0, 0), "a.txt");
    }
}

}  // namespace
}  // namespace vb

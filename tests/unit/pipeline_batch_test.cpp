// Preview, execute and undo on real folders where the rows and the disk have drifted apart, and
// where the file system refuses a step halfway through a cycle.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "../ordered_fs.h"
#include "fileset/fileset.h"
#include "pipeline/operations.h"
#include "pipeline/pipeline.h"
#include "platform/forwarding_fs.h"
#include "test_support.h"

namespace vb {
namespace {

using namespace vb::testing;
using Names = std::vector<std::string>;

// The real file system, refusing the renames a test names.
class RefusingFs final : public ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;
    std::set<std::string> locked;                           // renames from these names fail
    std::set<std::pair<std::string, std::string>> refused;  // these renames fail

    std::unique_ptr<OpenFolder> openFolder(const std::string& dir) override {
        std::unique_ptr<OpenFolder> folder = inner_.openFolder(dir);
        if (!folder) return nullptr;
        return std::make_unique<Folder>(*this, std::move(folder));
    }

private:
    struct Folder final : ForwardingOpenFolder {
        Folder(RefusingFs& fs, std::unique_ptr<OpenFolder> inner)
            : ForwardingOpenFolder(std::move(inner)), fs(fs) {}
        bool rename(const std::string& from, const std::string& to) override {
            if (fs.locked.count(from) || fs.refused.count({from, to})) return false;
            return inner_->rename(from, to);
        }
        RefusingFs& fs;
    };
};

class Batch : public HandlerRig {
protected:
    Batch() : HandlerRig("batch") {}

    void browseTo(const std::string& gbkRel) {
        dlg.browses.push_back(path(gbkRel));
        manualRead(ctx);
    }
    Names column(int col) const {
        Names out;
        for (int r = 0; r < win.rowCount(); ++r) out.push_back(win.cell(r, col));
        return out;
    }
    Names entriesOf(const std::string& gbkRel) const {
        Names out;
        for (const auto& e : stdfs::directory_iterator(native(gbkRel)))
            out.push_back(*utf8ToGbk(e.path().filename().string()));
        std::sort(out.begin(), out.end());
        return out;
    }
};

// A folder made after the list was read shows in no row, so it gets no proposal; the others get
// theirs beside their own name though the rows are reversed. A direct run renames every folder
// of the fresh listing and leaves the rows alone.
TEST_F(Batch, FolderProposalsGoBesideTheFolderTheyRename) {
    for (const char* d : {"2019.trip", "2021.taxes", "2022.家"}) file(std::string("v/") + d + "/note", d);
    win.setChecked(Ctl::选择框_文件, false);
    win.setChecked(Ctl::选择框_文件夹, true);
    browseTo("v");
    onPreviewSwitch(ctx);
    folder("v/2020.new");
    onReverseOrder(ctx);
    win.setText(Ctl::编辑框6, "old_");
    onAddAtStart(ctx);

    ASSERT_EQ(win.rowCount(), 3);
    for (int r = 0; r < 3; ++r) EXPECT_EQ(win.cell(r, 1), "old_" + win.cell(r, 0)) << r;
    onExecute(ctx);
    EXPECT_EQ(entriesOf("v"), (Names{"2020.new", "old_2019.trip", "old_2021.taxes", "old_2022.家"}));
    for (const char* d : {"2019.trip", "2021.taxes", "2022.家"})
        EXPECT_EQ(read(std::string("v/old_") + d + "/note"), d);

    onPreviewSwitch(ctx);
    const Names shown = column(0);
    win.setText(Ctl::编辑框7, "_x");
    dlg.boxes.clear();
    onAddAtEnd(ctx);
    EXPECT_EQ(dlg.boxes.back().text, "一共有4个文件被改名成功");
    EXPECT_EQ(column(0), shown);
    EXPECT_EQ(entriesOf("v"), (Names{"2020.new_x", "old_2019.trip_x", "old_2021.taxes_x", "old_2022.家_x"}));
}

// A cycle whose middle entry is locked and whose way back is refused too: the user is told where
// the file is, its row shows that name, and undo, once the file system lets it, puts every file
// back under its own name.
TEST_F(Batch, AStrandedFileIsShownReportedAndUndone) {
    for (const char* n : {"a.txt", "b.txt", "c.txt"}) file(std::string("v/") + n, std::string(n) + "!");
    RefusingFs refusing(fs);
    Program refusingProgram(ports(refusing));
    Context& rctx = refusingProgram.context();
    onPreviewSwitch(rctx);
    browseTo("v");
    const Names next = {"b.txt", "c.txt", "a.txt"};
    for (int r = 0; r < 3; ++r) win.setCell(r, 1, next[static_cast<size_t>(r)]);

    refusing.locked = {"b.txt"};
    refusing.refused = {{"a.txt", "c.txt"}};
    dlg.boxes.clear();
    onExecute(rctx);
    const std::string temp = "~velbrook-0.tmp";
    ASSERT_EQ(dlg.boxes.size(), 1u);
    EXPECT_NE(dlg.boxes[0].text.find("a.txt -> " + temp), std::string::npos);
    EXPECT_EQ(column(0), (Names{temp, "b.txt", "a.txt"}));
    EXPECT_EQ(read("v/" + temp), "a.txt!");
    EXPECT_EQ(read("v/a.txt"), "c.txt!");
    EXPECT_EQ(refusingProgram.undoArray(), (Names{"a.txt", "b.txt", "c.txt"}));

    refusing.locked.clear();
    refusing.refused.clear();
    dlg.boxes.clear();
    onUndo(rctx);
    EXPECT_TRUE(dlg.boxes.empty());
    EXPECT_EQ(column(0), (Names{"a.txt", "b.txt", "c.txt"}));
    for (const char* n : {"a.txt", "b.txt", "c.txt"})
        EXPECT_EQ(read(std::string("v/") + n), std::string(n) + "!");
    EXPECT_EQ(entriesOf("v"), (Names{"a.txt", "b.txt", "c.txt"}));
}

// The video number renames from a fresh listing, whose order need not be the rows' order: each
// new name lands in the row that shows its file, whichever order the listing and the rows have.
TEST_F(Batch, VideoNumberWritesEachNewNameInTheRowOfItsFile) {
    struct Case {
        OrderedFileSystem::Before atRead, atRun;
    };
    for (const Case& c : {Case{ascending, descending}, Case{descending, ascending}}) {
        stdfs::remove_all(native("v"));
        for (const char* n : {"1.mp4", "2.mp4", "3.mp4"}) file(std::string("v/") + n, n);
        OrderedFileSystem ordered(fs, c.atRead);
        Program orderedProgram(ports(ordered));
        Context& octx = orderedProgram.context();
        dlg.browses.push_back(path("v"));
        manualRead(octx);
        const Names before = column(0);
        ASSERT_EQ(before.size(), 3u);

        ordered.before = c.atRun;
        onVideoNumber(octx);
        const Names after = column(0);
        ASSERT_EQ(after.size(), 3u);
        for (size_t r = 0; r < 3; ++r) {
            // "1.mp4" becomes "1(Av…,P…).mp4": same stem, same file.
            EXPECT_EQ(after[r].substr(0, 2), before[r].substr(0, 1) + "(") << r;
            EXPECT_EQ(read("v/" + after[r]), before[r]) << r;
        }
    }
}

// An undo that the file system refuses halfway keeps every entry that did not go back, under
// the name it has now (a temporary one included), and the next undo finishes the job.
TEST_F(Batch, AnUndoRefusedHalfwayIsFinishedByTheNextOne) {
    const Names start = {"a.txt", "b.dat", "c.txt"};
    for (const auto& n : start) file("v/" + n, n + "!");
    RefusingFs refusing(fs);
    Program refusingProgram(ports(refusing));
    Context& rctx = refusingProgram.context();
    onPreviewSwitch(rctx);
    browseTo("v");
    ASSERT_EQ(column(0), start);
    const Names next = {"b.dat", "a.txt", "d.txt"};
    for (int r = 0; r < 3; ++r) win.setCell(r, 1, next[static_cast<size_t>(r)]);
    onExecute(rctx);
    ASSERT_EQ(read("v/b.dat"), "a.txt!");

    // The way back: b.dat goes aside, a.txt -> b.dat is refused and so is the return of the
    // temporary name; d.txt -> c.txt is refused.
    const std::string temp = "~velbrook-0.tmp";
    refusing.locked = {"a.txt", "d.txt"};
    refusing.refused = {{temp, "b.dat"}};
    onUndo(rctx);
    EXPECT_EQ(entriesOf("v"), (Names{"a.txt", "d.txt", temp}));
    EXPECT_EQ(column(0), (Names{temp, "a.txt", "d.txt"}));

    refusing.locked.clear();
    refusing.refused.clear();
    onUndo(rctx);
    EXPECT_EQ(entriesOf("v"), start);
    for (const auto& n : start) EXPECT_EQ(read("v/" + n), n + "!");
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

// Another process moves the working folder away and puts a link to an outside folder at its path
// between two steps of an operation, or between an execute and its undo: no step ever lands in
// the outside folder, and undo renames back only the entries the execute renamed.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "../hooked_fs.h"
#include "../memory_fs.h"
#include "fileops/fileops.h"
#include "fileset/fileset.h"
#include "pipeline/operations.h"
#include "pipeline/pipeline.h"
#include "test_support.h"

namespace vb {
namespace {

namespace stdfs = std::filesystem;
using namespace vb::testing;
using Tree = std::map<std::string, std::string>;  // relative path -> contents

class HeldFolder : public HandlerRig {
protected:
    HeldFolder() : HandlerRig("held") {}

    // Every file under a folder, by its path inside, with its contents.
    Tree tree(const std::string& rel) const {
        Tree t;
        if (!stdfs::exists(native(rel))) return t;
        for (const auto& e : stdfs::recursive_directory_iterator(native(rel))) {
            if (!e.is_regular_file()) continue;
            const std::string inside = stdfs::relative(e.path(), native(rel)).string();
            t[*utf8ToGbk(inside)] = read(rel + "/" + *utf8ToGbk(inside));
        }
        return t;
    }
    // The working folder goes to w-moved; a link to outside takes its place.
    void swap(const std::string& tag) {
        stdfs::rename(native(tag + "/w"), native(tag + "/w-moved"));
        stdfs::create_directory_symlink(native(tag + "/outside"), native(tag + "/w"));
    }
    void browse(Context& c, const std::string& rel) {
        dlg.browses.push_back(path(rel));
        manualRead(c);
    }
    // Preview on, and "_v2" added at the end of every name in it.
    void previewSuffix(Context& c) {
        if (!previewOn(win)) onPreviewSwitch(c);
        win.setText(Ctl::编辑框7, "_v2");
        onAddAtEnd(c);
    }
};

// One operation, run with the swap after its first step inside the working folder.
struct SwapCase {
    const char* what;
    // Fills w/ and outside/, sets the window up; run then does the operation.
    std::function<void(const std::string& tag, Context&)> prepare;
    std::function<void(Context&)> run;
    Tree moved;  // what the moved working folder holds afterwards
};

TEST_F(HeldFolder, ASwappedWorkingFolderNeverSendsAStepOutside) {
    const Tree three{{"a.txt", "A"}, {"b.txt", "BB"}, {"c.txt", "CCC"}};
    auto files = [&](const std::string& tag) {
        win.setChecked(Ctl::选择框_文件, true);
        win.setChecked(Ctl::选择框_文件夹, false);
        for (const char* n : {"a.txt", "b.txt", "c.txt"}) {
            const std::string body(static_cast<size_t>(n[0] - 'a' + 1), static_cast<char>(n[0] - 'a' + 'A'));
            file(tag + "/w/" + n, body);
            file(tag + "/outside/" + n, "outside " + body);
        }
    };
    auto folders = [&](const std::string& tag) {
        for (const char* d : {"d1", "d2"})
            for (const char* n : {"1", "2", "3"}) {
                file(tag + "/w/" + d + "/" + n, n);
                file(tag + "/outside/" + d + "/" + n, std::string("outside ") + n);
            }
        win.setChecked(Ctl::选择框_文件, false);
        win.setChecked(Ctl::选择框_文件夹, true);
    };
    auto listed = [&](const std::string& tag, std::vector<std::string> rows) {
        win.setText(Ctl::标签2, path(tag + "/w/"));
        win.clearRows();
        win.appendRows(std::move(rows));
    };
    const SwapCase cases[] = {
        {"delete files",
         [&](const std::string& tag, Context&) {
             files(tag);
             listed(tag, {"a.txt", "b.txt", "c.txt"});
         },
         onDeleteListed,
         {}},
        {"delete folder trees",
         [&](const std::string& tag, Context&) {
             folders(tag);
             listed(tag, {"d1", "d2"});
         },
         onDeleteListed,
         {}},
        {"direct run",
         [&](const std::string& tag, Context& ctx) {
             files(tag);
             browse(ctx, tag + "/w");
             win.setText(Ctl::编辑框7, "_v2");
         },
         onAddAtEnd,
         {{"a_v2.txt", "A"}, {"b_v2.txt", "BB"}, {"c_v2.txt", "CCC"}}},
        {"execute",
         [&](const std::string& tag, Context& ctx) {
             files(tag);
             browse(ctx, tag + "/w");
             previewSuffix(ctx);
         },
         onExecute,
         {{"a_v2.txt", "A"}, {"b_v2.txt", "BB"}, {"c_v2.txt", "CCC"}}},
        {"undo",
         [&](const std::string& tag, Context& ctx) {
             files(tag);
             browse(ctx, tag + "/w");
             previewSuffix(ctx);
             onExecute(ctx);
             // The link's folder holds the renamed names, as an outside copy would.
             for (const char* n : {"a", "b", "c"})
                 stdfs::rename(native(tag + "/outside/" + n + ".txt"),
                               native(tag + "/outside/" + n + "_v2.txt"));
         },
         onUndo, three},
        {"create test files",
         [&](const std::string& tag, Context&) {
             files(tag);
             win.setText(Ctl::编辑框14, path(tag + "/w"));
             win.setText(Ctl::编辑框15, ".log");
             win.clearRows();
             win.appendRows({"n1", "n2", "n3"});
         },
         onCreateEntries,
         {{"a.txt", "A"},
          {"b.txt", "BB"},
          {"c.txt", "CCC"},
          {"n1.log", std::string(kTestFileContent)},
          {"n2.log", std::string(kTestFileContent)},
          {"n3.log", std::string(kTestFileContent)}}},
    };
    int n = 0;
    for (const SwapCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string tag = "case" + std::to_string(n++);
        bool armed = false, swapped = false;
        auto once = [&](const std::string&, const std::string&) {
            if (armed && !swapped) swap(tag);
            swapped = swapped || armed;
        };
        HookedFileSystem hooked(fs, once);
        hooked.afterRename = once;
        hooked.afterCreate = once;
        Program hookedProgram(ports(hooked));
        Context& held = hookedProgram.context();
        c.prepare(tag, held);
        const Tree outsideBefore = tree(tag + "/outside");
        armed = true;
        c.run(held);
        ASSERT_TRUE(swapped) << "the operation took no step";
        EXPECT_EQ(tree(tag + "/outside"), outsideBefore);
        EXPECT_EQ(tree(tag + "/w-moved"), c.moved);
    }
}

// Between execute and undo the folder at the path is replaced: undo does nothing and says so.
TEST_F(HeldFolder, UndoInAFolderPutInPlaceOfTheExecutedOneDoesNothing) {
    for (const char* n : {"a.txt", "b.txt"}) {
        file(std::string("w/") + n, n);
        file(std::string("outside/") + n, n);
    }
    browse(ctx, "w");
    onPreviewSwitch(ctx);
    win.setText(Ctl::编辑框7, "_v2");
    onAddAtEnd(ctx);
    onExecute(ctx);
    ASSERT_EQ(tree("w"), (Tree{{"a_v2.txt", "a.txt"}, {"b_v2.txt", "b.txt"}}));
    for (const char* n : {"a", "b"})
        stdfs::rename(native(std::string("outside/") + n + ".txt"),
                      native(std::string("outside/") + n + "_v2.txt"));
    swap(".");
    const Tree outsideBefore = tree("outside");
    dlg.boxes.clear();
    onUndo(ctx);
    EXPECT_EQ(dlg.boxes, (std::vector<Box>{{kFolderReplaced.text, "提醒："}}));
    EXPECT_EQ(tree("outside"), outsideBefore);
    EXPECT_EQ(tree("w-moved"), (Tree{{"a_v2.txt", "a.txt"}, {"b_v2.txt", "b.txt"}}));
}

// Between reading the list and the operation, another folder with the same files is put at the
// path: the operation does nothing and says so.
TEST_F(HeldFolder, AFolderReplacedSinceTheListingIsLeftAlone) {
    struct Case {
        const char* what;
        std::function<void(const std::string& tag, Context&)> before;  // after the listing
        std::function<void(Context&)> run;
    };
    const Case cases[] = {
        {"direct run", [&](const std::string&, Context&) { win.setText(Ctl::编辑框7, "_v2"); }, onAddAtEnd},
        {"execute",
         [&](const std::string&, Context& c) {
             if (!previewOn(win)) onPreviewSwitch(c);
             win.setText(Ctl::编辑框7, "_v2");
             onAddAtEnd(c);
         },
         onExecute},
        {"delete", [&](const std::string&, Context&) {}, onDeleteListed},
        {"create",
         [&](const std::string& tag, Context&) {
             win.setText(Ctl::编辑框14, path(tag + "/w/"));
             win.setText(Ctl::编辑框15, ".log");
         },
         onCreateEntries},
    };
    const Tree two{{"a.txt", "A"}, {"b.txt", "B"}};
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string tag = "listed" + std::to_string(n++);
        Program program(ports(fs));
        Context& ctx = program.context();
        win.setChecked(Ctl::选择框_文件, true);
        win.setChecked(Ctl::选择框_文件夹, false);
        if (previewOn(win)) onPreviewSwitch(ctx);
        for (const auto& [name, body] : two) file(tag + "/w/" + name, body);
        browse(ctx, tag + "/w");
        c.before(tag, ctx);
        stdfs::rename(native(tag + "/w"), native(tag + "/w-moved"));
        for (const auto& [name, body] : two) file(tag + "/w/" + name, body);
        dlg.boxes.clear();
        c.run(ctx);
        EXPECT_EQ(dlg.boxes, (std::vector<Box>{{kFolderReplaced.text, "提醒："}}));
        EXPECT_EQ(tree(tag + "/w"), two);
        EXPECT_EQ(tree(tag + "/w-moved"), two);
    }
}

// After an execute another program moves a renamed file away and puts a different one under its
// new name: undo leaves the newcomer alone and puts the others back.
TEST_F(HeldFolder, UndoRenamesBackOnlyTheEntryTheExecuteRenamed) {
    file("w/a.jpg", "real a");
    file("w/b.jpg", "real b");
    browse(ctx, "w");
    onPreviewSwitch(ctx);
    win.setText(Ctl::编辑框7, "_x");
    onAddAtEnd(ctx);
    onExecute(ctx);
    ASSERT_EQ(tree("w"), (Tree{{"a_x.jpg", "real a"}, {"b_x.jpg", "real b"}}));
    stdfs::rename(native("w/a_x.jpg"), native("elsewhere.jpg"));
    file("w/a_x.jpg", "newcomer");
    onUndo(ctx);
    EXPECT_EQ(tree("w"), (Tree{{"a_x.jpg", "newcomer"}, {"b.jpg", "real b"}}));
    EXPECT_EQ(read("elsewhere.jpg"), "real a");
    // The step that failed stays in the record for another try.
    ASSERT_EQ(ctx.undoRecord.renamed.size(), 1u);
    EXPECT_EQ(ctx.undoRecord.renamed[0].first, "a_x.jpg");
}

// A volume that renumbers what it renames (FAT): undo still knows each entry the execute renamed.
TEST_F(HeldFolder, UndoKnowsEntriesThatTheVolumeRenumbered) {
    MemoryFileSystem fat;
    fat.renameGivesNewIdentity = true;
    fat.file("/w/a.jpg", "real a");
    fat.file("/w/b.jpg", "real b");
    Program p(ports(fat));
    Context& c = p.context();
    dlg.browses.push_back("/w");
    manualRead(c);
    onPreviewSwitch(c);
    win.setText(Ctl::编辑框7, "_x");
    onAddAtEnd(c);
    onExecute(c);
    ASSERT_TRUE(fat.find("/w/a_x.jpg"));
    onUndo(c);
    ASSERT_TRUE(fat.find("/w/a.jpg"));
    ASSERT_TRUE(fat.find("/w/b.jpg"));
    EXPECT_EQ(fat.find("/w/a.jpg")->bytes, "real a");
    EXPECT_EQ(fat.find("/w/b.jpg")->bytes, "real b");
    EXPECT_TRUE(c.undoRecord.renamed.empty());
}

}  // namespace
}  // namespace vb

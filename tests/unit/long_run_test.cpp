// Long batches as the window sees them: the rows keep up with the disk at every step, and an
// execute stopped half-way is put back whole or kept, as the user answers at once.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/program.h"
#include "fileset/fileset.h"
#include "pipeline/operations.h"
#include "platform/forwarding_fs.h"
#include "test_support.h"

namespace vb {
namespace {

using namespace vb::testing;
using Names = std::vector<std::string>;

constexpr int kFiles = 6;

// Stops the first loop it hears of when it reaches entry stopAt (never, when negative); every
// step of every loop is shown to watch first, as the window would draw it then.
struct StopAtProgress final : Progress {
    void start(const char* what, int) override { loops.emplace_back(what); }
    bool next(int done) override {
        if (watch) {
            if (draw) draw();
            watch(done);
        }
        return loops.size() > 1 || stopAt < 0 || done < stopAt;
    }
    void finish() override { draw = nullptr; }
    void beforeDrawing(std::function<void()> show) override { draw = std::move(show); }
    std::function<void()> draw;
    int stopAt = -1;
    std::function<void(int)> watch;
    std::vector<std::string> loops;
};

// The real file system, refusing to rename an entry away from one name.
class LockedNameFs final : public ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;
    std::string locked;

    std::unique_ptr<OpenFolder> openFolder(const std::string& dir) override {
        std::unique_ptr<OpenFolder> folder = inner_.openFolder(dir);
        if (!folder) return nullptr;
        return std::make_unique<Folder>(*this, std::move(folder));
    }

private:
    struct Folder final : ForwardingOpenFolder {
        Folder(LockedNameFs& fs, std::unique_ptr<OpenFolder> inner)
            : ForwardingOpenFolder(std::move(inner)), fs(fs) {}
        bool rename(const std::string& from, const std::string& to) override {
            return from != fs.locked && inner_->rename(from, to);
        }
        LockedNameFs& fs;
    };
};

class LongRun : public HandlerRig {
protected:
    LongRun() : HandlerRig("longrun") {
        for (const auto& n : before()) file("v/" + n);
    }
    // Every file under its first name, read again with preview off.
    void fresh() {
        for (int i = 0; i < kFiles; ++i)
            if (exists("v/" + after()[i]))
                stdfs::rename(native("v/" + after()[i]), native("v/" + before()[i]));
        if (previewOn(win)) onPreviewSwitch(rc);
        dlg.browses.push_back(path("v"));
        manualRead(rc);
    }
    static Names named(const char* suffix) {
        Names out;
        for (int i = 1; i <= kFiles; ++i) {
            std::string name = "f";
            name.append(std::to_string(i)).append(suffix).append(".txt");
            out.push_back(std::move(name));
        }
        return out;
    }
    static Names before() { return named(""); }
    static Names after() { return named("_x"); }
    Names column(int col) const {
        Names out;
        for (int r = 0; r < win.rowCount(); ++r) out.push_back(win.cell(r, col));
        return out;
    }
    Names onDisk() const {
        Names out;
        for (int i = 0; i < kFiles; ++i) out.push_back(exists("v/" + after()[i]) ? after()[i] : before()[i]);
        return out;
    }
    void preview(Context& c) {
        onPreviewSwitch(c);
        win.setText(Ctl::编辑框7, "_x");
        onAddAtEnd(c);
    }

    StopAtProgress stopper;
    Program running{ports(stopper)};
    Context& rc = running.context();
};

// Whenever the window may draw during a direct run, an execute and an undo, each row shows the
// name its file has on disk at that moment.
TEST_F(LongRun, RowsShowEachNewNameAsSoonAsTheFileHasIt) {
    struct Case {
        const char* what;
        std::function<void()> setUp, run;
        Names end;
    };
    const Case cases[] = {
        {"direct run", [] {},
         [this] {
             win.setText(Ctl::编辑框7, "_x");
             onAddAtEnd(rc);
         },
         after()},
        {"execute", [this] { preview(rc); }, [this] { onExecute(rc); }, after()},
        {"undo",
         [this] {
             preview(rc);
             onExecute(rc);
         },
         [this] { onUndo(rc); }, before()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fresh();
        c.setUp();
        int steps = 0;
        stopper.watch = [&](int) {
            ++steps;
            EXPECT_EQ(column(0), onDisk()) << "at step " << steps;
        };
        c.run();
        stopper.watch = nullptr;
        EXPECT_EQ(steps, kFiles);
        EXPECT_EQ(column(0), c.end);
        EXPECT_EQ(onDisk(), c.end);
    }
}

// Esc stops an execute after two files: the user is asked at once. OK renames those two back and
// the preview stands as it was; Cancel keeps them, and undo later takes them back.
TEST_F(LongRun, AStoppedExecuteAsksToPutBackWhatItRenamed) {
    const std::string question =
        "执行被中途停止了，\r\n6个文件里已经改名2个。\r\n\r\n"
        "点\"确定\"把已经改名的文件全部改回原来的名字；\r\n点\"取消\"保留已经改好的名字。";
    struct Case {
        int answer;
        Names disk, column0, column1;
        Box undo;  // what undo says afterwards, or nothing
    };
    const Names kept{"f1_x.txt", "f2_x.txt", "f3.txt", "f4.txt", "f5.txt", "f6.txt"};
    const Names rest{"", "", "f3_x.txt", "f4_x.txt", "f5_x.txt", "f6_x.txt"};
    const Case cases[] = {
        {kAnswerOk, before(), before(), after(), {"你都没改过，撤什么？", "提醒："}},
        {kAnswerCancel, kept, kept, rest, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer == kAnswerOk ? "OK" : "Cancel");
        fresh();
        preview(rc);
        stopper.loops.clear();
        stopper.stopAt = 2;
        dlg.boxes.clear();
        dlg.answers = {c.answer};
        onExecute(rc);
        stopper.stopAt = -1;
        EXPECT_EQ(dlg.boxes, (std::vector<Box>{{question, "提示"}}));
        EXPECT_EQ(stopper.loops, (c.answer == kAnswerOk ? Names{"改名中", "撤回中"} : Names{"改名中"}));
        EXPECT_EQ(onDisk(), c.disk);
        EXPECT_EQ(column(0), c.column0);
        EXPECT_EQ(column(1), c.column1);

        dlg.boxes.clear();
        onUndo(rc);
        EXPECT_EQ(dlg.boxes, c.undo.text.empty() ? std::vector<Box>{} : std::vector<Box>{c.undo});
        EXPECT_EQ(onDisk(), before());
    }
}

// A file that cannot go back stays renamed and in the record, and the user is told: undo takes
// it back once it can.
TEST_F(LongRun, WhatCannotBePutBackStaysForUndo) {
    LockedNameFs lockable(fs);
    Program stopping({win, dlg, lockable, clip, shell, clock, chinese, stopper});
    Context& c = stopping.context();
    fresh();
    preview(c);
    stopper.stopAt = 2;
    lockable.locked = "f1_x.txt";
    dlg.boxes.clear();
    dlg.answers = {kAnswerOk};
    onExecute(c);
    stopper.stopAt = -1;
    ASSERT_EQ(dlg.boxes.size(), 2u);
    EXPECT_EQ(dlg.boxes[1], (Box{"有1个文件没能改回原来的名字，\r\n可以稍后再点\"撤回上一步\"。", "提醒："}));
    const Names one{"f1_x.txt", "f2.txt", "f3.txt", "f4.txt", "f5.txt", "f6.txt"};
    EXPECT_EQ(onDisk(), one);
    EXPECT_EQ(column(0), one);

    lockable.locked.clear();
    dlg.boxes.clear();
    onUndo(c);
    EXPECT_EQ(dlg.boxes, std::vector<Box>{});
    EXPECT_EQ(onDisk(), before());
    EXPECT_EQ(column(0), before());
}

// An execute that is not stopped, or stopped before it renamed anything, asks nothing.
TEST_F(LongRun, AnExecuteThatRenamedNothingBeforeItsStopAsksNothing) {
    for (const int stopAt : {-1, 0}) {
        SCOPED_TRACE(stopAt);
        fresh();
        preview(rc);
        stopper.loops.clear();
        stopper.stopAt = stopAt;
        dlg.boxes.clear();
        onExecute(rc);
        stopper.stopAt = -1;
        EXPECT_EQ(dlg.boxes, std::vector<Box>{});
        EXPECT_EQ(onDisk(), stopAt < 0 ? after() : before());
    }
}

}  // namespace
}  // namespace vb

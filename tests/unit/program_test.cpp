// The Program: one operation at a time, the created event once, drops, radio groups and a stop.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"
#include "window/window_def.h"

namespace vb {
namespace {

using namespace vb::testing;
using Names = std::vector<std::string>;

class ProgramRun : public HandlerRig {
protected:
    ProgramRun() : HandlerRig("program") {}
};

// While an operation's message box is up, every other action the window passes on is refused
// and leaves the window as it was; once the box is gone, actions run again.
TEST_F(ProgramRun, NothingElseRunsWhileAMessageBoxIsUp) {
    win.appendRows({"a.txt", "b.txt"});
    std::vector<bool> ran;
    bool nested = false;
    dlg.whileShown = [&] {
        if (std::exchange(nested, true)) return;  // a box of a nested operation that ran
        EXPECT_TRUE(program.busy());
        ran.push_back(program.handle(Ctl::按钮_清空列表框, Event::Click));
        ran.push_back(program.handle(Ctl::按钮_顺序调头, Event::Click));
        program.drop({path("elsewhere/x.txt")});
        program.close();
    };
    EXPECT_TRUE(program.handle(Ctl::按钮_最后面加, Event::Click));  // "加点啥？不能为空"
    EXPECT_EQ(ran, (std::vector<bool>{false, false}));
    EXPECT_EQ(dlg.boxes.size(), 1u) << "no box of a nested operation";
    EXPECT_EQ(rows(), (Names{"a.txt", "b.txt"}));
    EXPECT_EQ(win.text(Ctl::标签2), "");
    EXPECT_FALSE(program.busy());

    dlg.whileShown = nullptr;
    EXPECT_TRUE(program.handle(Ctl::按钮_清空列表框, Event::Click));
    EXPECT_EQ(win.rowCount(), 0);
}

// Several items dropped at once are read in turn: the folder of the last one is listed.
TEST_F(ProgramRun, TheLastOfSeveralDroppedItemsIsListed) {
    file("a/1.txt");
    file("b/2.txt");
    file("b/3.txt");
    program.drop({path("a/1.txt"), path("b/2.txt")});
    EXPECT_EQ(win.text(Ctl::标签2), path("b/"));
    EXPECT_EQ(rows(), (Names{"2.txt", "3.txt"}));
    EXPECT_TRUE(dlg.boxes.empty());
}

// The created event sets the initial states once; a second start leaves the user's changes.
TEST_F(ProgramRun, CreatedRunsOnce) {
    ASSERT_TRUE(win.checked(Ctl::选择框_文件));
    win.setChecked(Ctl::选择框_文件, false);
    win.setTopmost(false);
    program.start();
    EXPECT_FALSE(win.checked(Ctl::选择框_文件));
    EXPECT_FALSE(win.topmost());
}

// A radio click checks the clicked one and clears the rest of its group before its handler
// runs; the other groups stay as they were.
TEST_F(ProgramRun, ARadioClickChecksItsOwnGroupOnly) {
    const std::vector<Ctl> group = radioGroupOf(Ctl::单选框4);
    ASSERT_GE(group.size(), 2u);
    const bool elsewhere = win.checked(Ctl::单选框15);
    for (Ctl clicked : group) {
        program.handle(clicked, Event::Click);
        for (Ctl c : group) EXPECT_EQ(win.checked(c), c == clicked);
        EXPECT_EQ(win.checked(Ctl::单选框15), elsewhere);
    }
}

// A port that stops the run ends the operation where it is; nothing runs until the front end
// has taken the reason, which it gets once.
TEST_F(ProgramRun, AStopEndsTheOperationAndHoldsTheRest) {
    win.appendRows({"a.txt"});
    dlg.whileShown = [] { throw RunStop{"no answer"}; };
    EXPECT_TRUE(program.handle(Ctl::按钮_最后面加, Event::Click));
    EXPECT_FALSE(program.busy());
    EXPECT_FALSE(program.handle(Ctl::按钮_清空列表框, Event::Click));
    EXPECT_EQ(win.rowCount(), 1);

    EXPECT_EQ(program.takeStop(), std::optional<std::string>("no answer"));
    EXPECT_EQ(program.takeStop(), std::nullopt);
    EXPECT_TRUE(program.handle(Ctl::按钮_清空列表框, Event::Click));
    EXPECT_EQ(win.rowCount(), 0);
}

}  // namespace
}  // namespace vb

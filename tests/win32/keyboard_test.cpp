#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "running_app.h"
#include "window/window_def.h"

namespace vb {
namespace {

using testing::RunningApp;

// A key as the keyboard delivers it to the focused control, through the program's loop.
void press(WORD vk, std::initializer_list<WORD> held = {}) {
    BYTE keys[256];
    GetKeyboardState(keys);
    for (WORD h : held) keys[h] = 0x80;
    SetKeyboardState(keys);
    PostMessageW(GetFocus(), WM_KEYDOWN, vk, 1);
    PostMessageW(GetFocus(), WM_KEYUP, vk, 0xC0000001);
    pumpMessages();
    for (WORD h : held) keys[h] = 0;
    SetKeyboardState(keys);
}

std::optional<Ctl> focused(RunningApp& run) {
    for (HWND w = GetFocus(); w; w = GetParent(w))
        for (const auto& d : controlTable())
            if (windowOf(d.id) == Ctl::主窗口 && run.handle(d.id) == w) return d.id;
    return std::nullopt;
}

// Tab walks the stops of the window and of the page in front, row by row, each row from left to
// right; a radio group is one stop, at its selected button; hidden buttons are passed by.
const std::vector<Ctl> kPageOneStops{
    Ctl::选择框_窗口置顶, Ctl::选择框_文件,     Ctl::选择框_文件夹,  Ctl::组合框_仅检索, Ctl::组合框_跳过扩展,
    Ctl::按钮_打开预览,   Ctl::图形按钮1,       Ctl::按钮_手动读取,  Ctl::高级选择夹1,   Ctl::组合框1,
    Ctl::选择框6,         Ctl::选择框_1头,      Ctl::选择框_2头,     Ctl::选择框_1尾,    Ctl::选择框_2尾,
    Ctl::编辑框2,         Ctl::编辑框3,         Ctl::按钮_一键删除,  Ctl::选择框3,       Ctl::单选框11,
    Ctl::编辑框8,         Ctl::按钮_删前面,     Ctl::选择框4,        Ctl::单选框2,       Ctl::编辑框9,
    Ctl::按钮_删后面,     Ctl::单选框13,        Ctl::编辑框1,        Ctl::按钮_删掉N次,  Ctl::编辑框10,
    Ctl::编辑框14,        Ctl::编辑框15,        Ctl::按钮14,         Ctl::超级列表框1,   Ctl::按钮_顺序调头,
    Ctl::按钮_清空输入框, Ctl::按钮_清空列表框, Ctl::按钮_保存到txt,
};

TEST(Keyboard, TabAndShiftTabWalkTheControlsInReadingOrder) {
    RunningApp run;
    SetFocus(run.handle(Ctl::选择框_窗口置顶));
    std::vector<Ctl> seen{*focused(run)};
    for (size_t i = 1; i <= kPageOneStops.size(); ++i) {
        press(VK_TAB);
        seen.push_back(focused(run).value_or(Ctl::主窗口));
    }
    std::vector<Ctl> want = kPageOneStops;
    want.push_back(Ctl::选择框_窗口置顶);  // round again
    EXPECT_EQ(seen, want);

    press(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(focused(run), Ctl::按钮_保存到txt);
    press(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(focused(run), Ctl::按钮_清空列表框);
}

TEST(Keyboard, ATextFieldReachedWithTabHasItsTextSelected) {
    RunningApp run;
    run.win().setText(Ctl::编辑框3, "abc");
    SetFocus(run.handle(Ctl::编辑框2));
    press(VK_TAB);
    ASSERT_EQ(focused(run), Ctl::编辑框3);
    DWORD start = 0, end = 0;
    SendMessageW(run.handle(Ctl::编辑框3), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u);
}

TEST(Keyboard, CtrlTabTurnsThePagesAndTheFocusLeavesThePageThatWentAway) {
    RunningApp run;
    SetFocus(run.handle(Ctl::编辑框2));
    press(VK_TAB, {VK_CONTROL});
    EXPECT_EQ(run.win().currentPage(), 1);
    EXPECT_EQ(focused(run), Ctl::高级选择夹1);
    press(VK_TAB);
    EXPECT_EQ(focused(run), Ctl::单选框7) << "the first stop of the page now in front";
    press(VK_TAB, {VK_CONTROL, VK_SHIFT});
    press(VK_TAB, {VK_CONTROL, VK_SHIFT});
    EXPECT_EQ(run.win().currentPage(), 3) << "backwards past the first page";
    EXPECT_FALSE(IsWindowVisible(run.handle(Ctl::单选框7)));
    EXPECT_EQ(focused(run), Ctl::高级选择夹1);
}

// The arrow keys move through a radio group and select as they go, running the click handler;
// no other group changes.
TEST(Keyboard, ArrowKeysSelectWithinARadioGroup) {
    RunningApp run;
    run.win().selectPageOf(Ctl::单选框3);
    SetFocus(run.handle(Ctl::单选框3));
    ASSERT_TRUE(run.win().checked(Ctl::单选框3));
    press(VK_DOWN);
    EXPECT_EQ(focused(run), Ctl::单选框4);
    EXPECT_TRUE(run.win().checked(Ctl::单选框4));
    EXPECT_FALSE(run.win().checked(Ctl::单选框3));
    EXPECT_EQ(run.win().text(Ctl::按钮_在某物前后加), "后面加");
    press(VK_DOWN);  // round to the first again
    EXPECT_EQ(focused(run), Ctl::单选框3);
    EXPECT_EQ(run.win().text(Ctl::按钮_在某物前后加), "前面加");
    EXPECT_TRUE(run.win().checked(Ctl::单选框5)) << "the group beside it";
    EXPECT_FALSE(run.win().checked(Ctl::单选框6));
}

// Selecting a radio button clears the others of its container and no other button.
TEST(Keyboard, EachRadioGroupIsItsContainer) {
    RunningApp run;
    for (const auto& d : controlTable()) {
        if (d.kind != Kind::Radio) continue;
        std::vector<bool> before;
        for (const auto& r : controlTable())
            if (r.kind == Kind::Radio) before.push_back(run.win().checked(r.id));
        run.win().selectPageOf(d.id);
        SendMessageW(run.handle(d.id), BM_CLICK, 0, 0);
        pumpMessages();
        size_t i = 0;
        for (const auto& r : controlTable()) {
            if (r.kind != Kind::Radio) continue;
            const bool want = r.id == d.id ? true : r.container == d.container ? false : bool(before[i]);
            EXPECT_EQ(run.win().checked(r.id), want) << d.name << " clicked, " << r.name;
            ++i;
        }
    }
}

TEST(Keyboard, EnterAndSpacePressTheFocusedButtonOnly) {
    RunningApp run;
    run.win().setText(Ctl::编辑框2, "x");
    SetFocus(run.handle(Ctl::编辑框2));
    press(VK_RETURN);
    EXPECT_EQ(run.win().text(Ctl::编辑框2), "x") << "Enter in a text box presses nothing";
    SetFocus(run.handle(Ctl::按钮_清空输入框));
    press(VK_RETURN);
    EXPECT_EQ(run.win().text(Ctl::编辑框2), "");
    run.win().setText(Ctl::编辑框2, "y");
    press(VK_SPACE);
    EXPECT_EQ(run.win().text(Ctl::编辑框2), "");
    EXPECT_FALSE(SendMessageW(run.handle(Ctl::按钮_清空输入框), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)
        << "the focus is drawn";
}

// A window coming back to the front gives the focus back to the control that had it.
TEST(Keyboard, TheFocusComesBackWithTheWindow) {
    RunningApp run;
    SetForegroundWindow(run.app.mainWindow());
    SetFocus(run.handle(Ctl::编辑框14));
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(other);
    pumpMessages();
    ASSERT_NE(focused(run), Ctl::编辑框14);
    SetForegroundWindow(run.app.mainWindow());
    pumpMessages();
    EXPECT_EQ(focused(run), Ctl::编辑框14);
    DestroyWindow(other);
}

}  // namespace
}  // namespace vb

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

// Keys as a person types them: through the system's input queue to the focused control, the
// held keys down around them.
void type(WORD vk, std::initializer_list<WORD> held = {}) {
    std::vector<INPUT> in;
    auto key = [&in](WORD k, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    };
    for (WORD h : held) key(h, false);
    key(vk, false);
    key(vk, true);
    for (WORD h : held) key(h, true);
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    pumpMessages();
}

// A stop as the walk names it: a radio group by its first button, whichever of them has the
// focus.
Ctl stopOf(Ctl c) { return def(c).kind == Kind::Radio ? radioGroupOf(c).front() : c; }

// Tab walks the stops of the window and of the page in front, row by row, each row from left to
// right and its buttons after its boxes; a radio group is one stop; hidden buttons are passed
// by. The undo button that preview leaves beyond the narrowed window stays a stop: the keyboard
// is how a direct run is undone.
const std::vector<Ctl> kTopStops{Ctl::选择框_窗口置顶, Ctl::选择框_文件,     Ctl::选择框_文件夹,
                                 Ctl::组合框_仅检索,   Ctl::组合框_跳过扩展, Ctl::按钮_打开预览,
                                 Ctl::图形按钮1,       Ctl::按钮_手动读取,   Ctl::高级选择夹1};
const std::vector<Ctl> kRightStops{Ctl::编辑框14,        Ctl::编辑框15,      Ctl::按钮14,
                                   Ctl::超级列表框1,     Ctl::按钮_顺序调头, Ctl::按钮_清空输入框,
                                   Ctl::按钮_清空列表框, Ctl::按钮_保存到txt};
const std::vector<Ctl> kPreviewStops{Ctl::按钮_撤回上一步, Ctl::按钮_确认无误执行吧};
const std::vector<std::vector<Ctl>> kPageStops{
    {Ctl::组合框1,     Ctl::选择框6,  Ctl::选择框_1头,    Ctl::选择框_2头, Ctl::选择框_1尾,  Ctl::选择框_2尾,
     Ctl::编辑框2,     Ctl::编辑框3,  Ctl::按钮_一键删除, Ctl::选择框3,    Ctl::单选框11,    Ctl::编辑框8,
     Ctl::按钮_删前面, Ctl::选择框4,  Ctl::单选框1,       Ctl::编辑框9,    Ctl::按钮_删后面, Ctl::单选框13,
     Ctl::编辑框1,     Ctl::编辑框10, Ctl::按钮_删掉N次},
    {Ctl::单选框7, Ctl::单选框9, Ctl::编辑框4, Ctl::编辑框5, Ctl::编辑框16, Ctl::按钮_替换, Ctl::单选框15,
     Ctl::按钮_繁简, Ctl::按钮_改01, Ctl::组合框_修改扩展, Ctl::按钮_改扩展, Ctl::按钮_第一课改第1课},
    {Ctl::单选框5, Ctl::单选框3, Ctl::编辑框11, Ctl::编辑框12, Ctl::按钮_在某物前后加, Ctl::编辑框6,
     Ctl::按钮_最前面加, Ctl::编辑框7, Ctl::按钮_最后面加, Ctl::编辑框18, Ctl::按钮_扩展名后面加,
     Ctl::编辑框13, Ctl::按钮_数字后加符号, Ctl::按钮_模拟B站AV, Ctl::组合框5, Ctl::按钮_加序号},
    {Ctl::单选框17, Ctl::按钮_删除文件},
};

enum class Preview { Never, On, OffAgain };

std::vector<Ctl> stopsWith(int page, Preview preview) {
    std::vector<Ctl> all = kTopStops;
    const auto& onPage = kPageStops[static_cast<size_t>(page)];
    all.insert(all.end(), onPage.begin(), onPage.end());
    all.insert(all.end(), kRightStops.begin(), kRightStops.end());
    if (preview == Preview::On) all.insert(all.end(), kPreviewStops.begin(), kPreviewStops.end());
    if (preview == Preview::OffAgain) all.push_back(Ctl::按钮_撤回上一步);
    return all;
}

// Tab from the first stop round to it again, then Shift+Tab twice; what had the focus each time.
std::vector<Ctl> walk(RunningApp& run, size_t stops) {
    SetForegroundWindow(run.app.mainWindow());
    SetFocus(run.handle(Ctl::选择框_窗口置顶));
    pumpMessages();
    std::vector<Ctl> seen{*focused(run)};
    for (size_t i = 0; i < stops + 2; ++i) {
        if (i < stops)
            type(VK_TAB);
        else
            type(VK_TAB, {VK_SHIFT});
        seen.push_back(stopOf(focused(run).value_or(Ctl::主窗口)));
    }
    return seen;
}

TEST(Keyboard, TabAndShiftTabWalkEveryPageInReadingOrderWithPreviewOffAndOn) {
    RunningApp run;
    const int pages = static_cast<int>(kPageStops.size());
    // Off, on, and off again: the undo button then stays outside the narrowed window.
    for (Preview mode : {Preview::Never, Preview::On, Preview::OffAgain}) {
        const bool preview = mode == Preview::On;
        if (preview != (run.win().text(Ctl::按钮_打开预览) == kPreviewOnCaption)) {
            SendMessageW(run.handle(Ctl::按钮_打开预览), BM_CLICK, 0, 0);
            pumpMessages();
        }
        for (int page = 0; page < pages; ++page) {
            run.win().selectPageOf(kPageStops[static_cast<size_t>(page)].front());
            std::vector<Ctl> want = stopsWith(page, mode);
            const size_t n = want.size();
            want.push_back(want.front());  // round again
            want.push_back(want[n - 1]);   // and back
            want.push_back(want[n - 2]);
            EXPECT_EQ(walk(run, n), want) << "page " << page << ", preview " << static_cast<int>(mode);
        }
    }
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

#include <windows.h>

#include <gtest/gtest.h>

#include "running_app.h"
#include "temp_dir.h"
#include "window/window_def.h"

namespace vb {
namespace {

using testing::RunningApp;

HWND editOf(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo, &info);
    return info.hwndItem;
}

// Keys as the keyboard gives them to the focused edit field: a key press, and for a
// character the WM_CHAR that TranslateMessage makes of it.
void typeChars(HWND edit, const std::wstring& text) {
    for (wchar_t ch : text) SendMessageW(edit, WM_CHAR, ch, 1);
    pumpMessages();
}

void pressKey(HWND edit, WORD vk) {
    SendMessageW(edit, WM_KEYDOWN, vk, 1);
    SendMessageW(edit, WM_KEYUP, vk, 0xC0000001);
    pumpMessages();
}

std::pair<int, int> selectionOf(HWND combo) {
    DWORD sel = static_cast<DWORD>(SendMessageW(combo, CB_GETEDITSEL, 0, 0));
    return {LOWORD(sel), HIWORD(sel)};
}

// Every key narrows the items; the typed text, the caret and the items' order must come out
// as typed, wherever the caret stands.
TEST(ComboTyping, TextAndCaretSurviveTheNarrowingAfterEveryKey) {
    RunningApp run;
    const Ctl combos[] = {Ctl::组合框_仅检索, Ctl::组合框_跳过扩展, Ctl::组合框_修改扩展};
    for (Ctl c : combos) {
        HWND combo = run.handle(c);
        HWND edit = editOf(combo);
        run.win().selectPageOf(c);
        SetFocus(edit);
        typeChars(edit, L"mp4");
        EXPECT_EQ(run.win().text(c), "mp4") << def(c).name;
        EXPECT_EQ(selectionOf(combo), std::make_pair(3, 3)) << def(c).name;
        auto items = run.win().items(c);
        ASSERT_GE(items.size(), 58u) << def(c).name;
        EXPECT_EQ(items[c == Ctl::组合框_修改扩展 ? 0 : 1], ".mp4") << def(c).name;

        SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(1, 1));  // the caret after "m"
        typeChars(edit, L"x");
        EXPECT_EQ(run.win().text(c), "mxp4") << def(c).name;
        EXPECT_EQ(selectionOf(combo), std::make_pair(2, 2)) << def(c).name;
        typeChars(edit, L"\b");  // Backspace
        EXPECT_EQ(run.win().text(c), "mp4") << def(c).name;
        EXPECT_EQ(selectionOf(combo), std::make_pair(1, 1)) << def(c).name;
    }
}

// The item-chosen handler runs while the edit field still shows the item chosen before: it
// must act on the new one. Arrow keys choose in a closed box, F4 opens the drop-down.
TEST(ComboChoosing, TheHandlerSeesTheItemJustChosen) {
    testing::TempFolder d;
    for (const wchar_t* name : {L"a.txt", L"b.mp4", L"c.mp4"}) testing::writeFile(d.wide() + name, "x");
    RunningApp run;
    run.dialogs.folder = d.dir().substr(0, d.dir().size() - 1);
    SendMessageW(run.handle(Ctl::按钮_手动读取), BM_CLICK, 0, 0);
    pumpMessages();
    ASSERT_EQ(run.win().rowCount(), 3);

    HWND only = run.handle(Ctl::组合框_仅检索);
    SetFocus(editOf(only));
    pressKey(editOf(only), VK_F4);    // opens and fills the items: 所有, .mp4, .txt, ...
    pressKey(editOf(only), VK_DOWN);  // 所有
    pressKey(editOf(only), VK_DOWN);  // .mp4
    pressKey(editOf(only), VK_RETURN);
    EXPECT_EQ(run.win().text(Ctl::组合框_仅检索), ".mp4");
    EXPECT_EQ(run.win().rowCount(), 2) << "the .mp4 files only";

    run.win().selectPageOf(Ctl::组合框1);
    run.win().setText(Ctl::编辑框2, "(");
    HWND symbols = run.handle(Ctl::组合框1);
    SetFocus(editOf(symbols));
    pressKey(editOf(symbols), VK_UP);  // from B站括号 to 中文符号
    EXPECT_EQ(run.win().text(Ctl::组合框1), "中文符号");
    EXPECT_EQ(run.win().text(Ctl::编辑框2), "（");
    pressKey(editOf(symbols), VK_UP);  // 英文符号
    EXPECT_EQ(run.win().text(Ctl::编辑框2), "(");
}

}  // namespace
}  // namespace vb

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <utility>
#include <vector>

#include "drop_hook.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_window.h"
#include "window/window_def.h"

namespace vb {
namespace {

struct Recorded {
    std::vector<std::pair<Ctl, Event>> events;
    std::vector<bool> topmost;
    std::vector<bool> second;
    int menus = 0;
};

class RealWindow : public ::testing::Test {
protected:
    RealWindow()
        : win(GetModuleHandleW(nullptr), Win32Window::Listener{
                                             [this](Ctl c, Event e) { rec.events.emplace_back(c, e); },
                                             [this](bool on) { rec.topmost.push_back(on); },
                                             [this](bool open) { rec.second.push_back(open); },
                                             [this] {
                                                 ++rec.menus;
                                                 return true;
                                             },
                                             {},
                                         }) {}
    // Where the control really is, in logical pixels of its definition's container.
    Rect realRect(Ctl c) {
        HWND h = win.handle(c);
        RECT r;
        GetWindowRect(h, &r);
        MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
        POINT o{0, 0};
        for (Ctl up = def(c).container; def(up).kind == Kind::GroupBox || def(up).kind == Kind::TabPage;
             up = def(up).container) {
            o.x += def(up).rect.left;
            o.y += def(up).rect.top;
        }
        auto logical = [&](LONG v) { return MulDiv(v, 96, win.dpi()); };
        return {logical(r.left) - o.x, logical(r.top) - o.y, logical(r.right - r.left),
                logical(r.bottom - r.top)};
    }

    Recorded rec;
    Win32Window win;
};

TEST_F(RealWindow, EveryControlOfTheMainWindowIsARealControlWhereTheDefinitionPutsIt) {
    int checked = 0;
    for (const auto& d : controlTable()) {
        if (windowOf(d.id) != Ctl::主窗口 || d.kind == Kind::Window || d.kind == Kind::TabPage ||
            d.kind == Kind::Menu || d.kind == Kind::MenuItem)
            continue;
        ASSERT_NE(win.handle(d.id), nullptr) << d.name;
        Rect r = realRect(d.id);
        EXPECT_LE(std::abs(r.left - d.rect.left), 1) << d.name;
        EXPECT_LE(std::abs(r.top - d.rect.top), 1) << d.name;
        EXPECT_LE(std::abs(r.width - d.rect.width), 1) << d.name;
        // A check box may be taller than the definition has it, to hold its square whole.
        if (d.kind == Kind::CheckBox) {
            EXPECT_GE(r.height, d.rect.height - 1) << d.name;
        } else if (d.kind != Kind::Combo) {
            EXPECT_LE(std::abs(r.height - d.rect.height), 1) << d.name;
        }
        if (d.kind != Kind::ListView && d.kind != Kind::TabControl && d.kind != Kind::PictureButton &&
            d.kind != Kind::Combo) {
            EXPECT_EQ(win.text(d.id), d.caption) << d.name;
        }
        ++checked;
    }
    EXPECT_GT(checked, 100);
    EXPECT_EQ(win.text(Ctl::标签18).find("\r\n") != std::string::npos, true);
    EXPECT_EQ(TabCtrl_GetItemCount(win.handle(Ctl::高级选择夹1)), 4);
    EXPECT_EQ(win.items(Ctl::组合框1), (std::vector<std::string>{"英文符号", "中文符号", "B站括号"}));
    EXPECT_EQ(win.selection(Ctl::组合框1), 2);
    EXPECT_TRUE(win.checked(Ctl::单选框17));
    EXPECT_FALSE(win.visible(Ctl::按钮_确认无误执行吧));
    EXPECT_FALSE(win.visible(Ctl::按钮1)) << "the second window is closed";
}

TEST_F(RealWindow, OnlyTheChosenTabPageIsOnScreen) {
    EXPECT_TRUE(IsWindowVisible(win.handle(Ctl::按钮_一键删除)) || !IsWindowVisible(win.mainWindow()));
    EXPECT_FALSE(GetWindowLongW(win.handle(Ctl::按钮_替换), GWL_STYLE) & WS_VISIBLE);
    win.selectPageOf(Ctl::按钮_替换);
    EXPECT_TRUE(GetWindowLongW(win.handle(Ctl::按钮_替换), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongW(win.handle(Ctl::按钮_一键删除), GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(win.visible(Ctl::按钮_一键删除)) << "still visible as far as the program is concerned";
}

TEST_F(RealWindow, ClicksBecomeEventsOfTheirControl) {
    SendMessageW(win.handle(Ctl::选择框_文件夹), BM_CLICK, 0, 0);
    EXPECT_TRUE(win.checked(Ctl::选择框_文件夹));
    win.selectPageOf(Ctl::单选框16);
    win.setChecked(Ctl::单选框15, true);
    SendMessageW(win.handle(Ctl::单选框16), BM_CLICK, 0, 0);
    EXPECT_TRUE(win.checked(Ctl::单选框16));
    EXPECT_FALSE(win.checked(Ctl::单选框15)) << "the other radio button of the group is cleared";
    SendMessageW(win.mainWindow(), WM_COMMAND, MAKEWPARAM(Win32Window::controlId(Ctl::下移), 0), 0);
    HWND combo = win.handle(Ctl::组合框_仅检索);
    SendMessageW(GetParent(combo), WM_COMMAND,
                 MAKEWPARAM(Win32Window::controlId(Ctl::组合框_仅检索), CBN_DROPDOWN),
                 reinterpret_cast<LPARAM>(combo));
    const std::vector<std::pair<Ctl, Event>> want{{Ctl::选择框_文件夹, Event::Click},
                                                  {Ctl::单选框16, Event::Click},
                                                  {Ctl::下移, Event::MenuChosen},
                                                  {Ctl::组合框_仅检索, Event::ListOpening}};
    EXPECT_EQ(rec.events, want);
}

TEST_F(RealWindow, ComboKeepsItsTypedTextWhenItsListChanges) {
    win.setText(Ctl::组合框_仅检索, "mp4");
    win.addItem(Ctl::组合框_仅检索, ".avi");
    win.setSelection(Ctl::组合框_仅检索, -1);
    EXPECT_EQ(win.text(Ctl::组合框_仅检索), "mp4");
    win.clearItems(Ctl::组合框_仅检索);
    EXPECT_EQ(win.text(Ctl::组合框_仅检索), "mp4");
    EXPECT_EQ(win.selection(Ctl::组合框_仅检索), -1);
    win.addItem(Ctl::组合框_仅检索, "全部");
    win.setSelection(Ctl::组合框_仅检索, 0);
    EXPECT_EQ(win.text(Ctl::组合框_仅检索), "全部");
}

TEST_F(RealWindow, TheNameListIsVirtualAndHoldsAHundredThousandRows) {
    std::vector<std::string> rows;
    for (int i = 0; i < 100000; ++i) rows.push_back("第" + std::to_string(i) + "集.mp4");
    win.appendRows(rows);
    HWND lv = win.handle(Ctl::超级列表框1);
    EXPECT_EQ(ListView_GetItemCount(lv), 100000);
    wchar_t buf[64] = {};
    ListView_GetItemText(lv, 99999, 0, buf, 64);
    EXPECT_EQ(wideToGbk(buf), std::optional<std::string>("第99999集.mp4"));

    win.insertColumn(1, "更名后的效果", 200);
    win.setCell(5, 1, "新.mp4");
    ListView_GetItemText(lv, 5, 1, buf, 64);
    EXPECT_EQ(wideToGbk(buf), std::optional<std::string>("新.mp4"));
    EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(lv)), 2);

    win.selectRowOnly(7);
    win.deleteRow(3);
    EXPECT_EQ(win.selectedRow(), 6) << "the selection follows its row";
    EXPECT_EQ(win.cell(6, 0), "第7集.mp4");
    win.deleteRow(6);
    EXPECT_EQ(win.selectedRow(), -1);
    win.deleteColumn(1);
    EXPECT_EQ(win.columnCount(), 1);
    win.clearRows();
    EXPECT_EQ(ListView_GetItemCount(lv), 0);
}

TEST_F(RealWindow, TopmostAndTheSecondWindowReportOnlyChanges) {
    win.setTopmost(true);
    EXPECT_TRUE(GetWindowLongW(win.mainWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    win.setTopmost(true);
    win.setTopmost(false);
    EXPECT_FALSE(GetWindowLongW(win.mainWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(rec.topmost, (std::vector<bool>{true, false}));

    win.openSecondWindow();
    win.openSecondWindow();
    ASSERT_NE(win.secondWindow(), nullptr);
    EXPECT_EQ(GetWindow(win.secondWindow(), GW_OWNER), win.mainWindow());
    EXPECT_TRUE(win.visible(Ctl::按钮1));
    EXPECT_EQ(win.text(Ctl::按钮1), "关闭此页");
    SendMessageW(win.handle(Ctl::按钮2), BM_CLICK, 0, 0);
    SendMessageW(win.secondWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(win.secondWindow(), nullptr);
    EXPECT_EQ(rec.second, (std::vector<bool>{true, false}));
    EXPECT_EQ(rec.events, (std::vector<std::pair<Ctl, Event>>{{Ctl::按钮2, Event::Click}}));
}

TEST_F(RealWindow, PlaceholderColourAndMovesStayInLogicalPixels) {
    win.setTextColor(Ctl::编辑框14, kGrey);
    EXPECT_EQ(win.textColor(Ctl::编辑框14), kGrey);
    win.move(Ctl::超级列表框1, 10, 120);
    win.setWidth(Ctl::超级列表框1, 700);
    EXPECT_EQ(win.rect(Ctl::超级列表框1), (Rect{10, 120, 700, 464}));
    EXPECT_EQ(realRect(Ctl::超级列表框1).width, 700);
    win.setWindowWidth(1100);
    EXPECT_EQ(win.windowWidth(), 1100);
    RECT r;
    GetWindowRect(win.mainWindow(), &r);
    EXPECT_EQ(r.right - r.left, win.scaled(1100));
}

// ---- The drop hook over a window of its own -----------------------------------------------

struct Seen {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};

LRESULT CALLBACK recordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg >= WM_USER) {
        auto* seen = reinterpret_cast<std::vector<Seen>*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        seen->push_back({msg, wp, lp});
        return static_cast<LRESULT>(wp + lp + 7);
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

HGLOBAL dropOf(const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const auto& p : paths) list += p + L'\0';
    if (paths.empty()) list += L'\0';
    list += L'\0';
    HGLOBAL mem =
        GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* df = static_cast<DROPFILES*>(GlobalLock(mem));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = TRUE;
    memcpy(df + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(mem);
    return mem;
}

TEST(DropHook, DeliversTheDroppedPathsInOrderAndPassesEverythingElseOn) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = recordingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VelbrookDropTest";
    RegisterClassW(&wc);
    HWND w = CreateWindowW(L"VelbrookDropTest", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                           wc.hInstance, nullptr);
    std::vector<Seen> seen;
    SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&seen));

    std::vector<std::string> dropped;
    DropHook hook;
    hook.attach(w, [&](const std::vector<std::string>& paths) {
        dropped.insert(dropped.end(), paths.begin(), paths.end());
    });
    EXPECT_EQ(SendMessageW(w, WM_DROPFILES,
                           reinterpret_cast<WPARAM>(dropOf({L"C:\\一\\a.txt", L"D:\\b", L"C:\\三\\c"})), 0),
              0);
    EXPECT_EQ(dropped, (std::vector<std::string>{"C:\\一\\a.txt", "D:\\b", "C:\\三\\c"}));
    SendMessageW(w, WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf({})), 0);
    EXPECT_EQ(dropped.size(), 3u) << "an empty drop calls nothing";

    EXPECT_EQ(SendMessageW(w, WM_USER + 5, 11, 22), 11 + 22 + 7);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].msg, static_cast<UINT>(WM_USER + 5));
    EXPECT_EQ(seen[0].wp, 11u);
    EXPECT_EQ(seen[0].lp, 22);

    hook.detach();
    EXPECT_FALSE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    DestroyWindow(w);
}

}  // namespace
}  // namespace vb

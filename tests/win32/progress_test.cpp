// Long loops on the real window: the title says how far they are, the window keeps handling
// what it must while other operations, clicks and the close wait, and Esc stops the loop between
// two entries with nothing lost and what was done kept for undo.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app.h"
#include "platform/table_chinese_mapping.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_fs.h"
#include "platform/win32/win32_services.h"
#include "temp_dir.h"

namespace vb {
namespace {

class AnsweringDialogs final : public Dialogs {
public:
    explicit AnsweringDialogs(std::string folder) : folder_(std::move(folder)) {}
    int messageBox(const std::string& text, const std::string&, Icon, Buttons buttons) override {
        boxes.push_back(text);
        return buttons == Buttons::OkCancel ? answer : kAnswerOk;
    }
    int answer = kAnswerOk;  // to every question
    std::optional<std::string> browseFolder(const std::string&, const std::string&) override {
        return folder_;
    }
    std::vector<std::string> boxes;

private:
    std::string folder_;
};

class NoShell final : public Shell {
public:
    void openUrl(const std::string&) override {}
};

constexpr int kFiles = 300;
constexpr std::uint32_t kStep = 10;  // each look at the clock finds it this much later

// The program on a folder of kFiles files, with a clock for its long loops that the test
// advances and watches.
struct Rig {
    Rig()
        : dialogs([this] {
              std::string d = dir.dir();
              d.pop_back();
              return d;
          }()),
          fs({}, [] { pumpMessages(); }),
          clipboard([this] { return app.mainWindow(); }),
          app(GetModuleHandleW(nullptr), {dialogs, fs, clipboard, shell, clock, chinese},
              App::Hooks{{}, {}, {}, [this] { return tick(); }}) {
        for (int i = 0; i < kFiles; ++i) testing::writeFile(dir.wide() + name(i, L""), std::to_string(i));
        app.start();
        app.window().show(SW_SHOWNOACTIVATE);
        pumpMessages();
        click(Ctl::按钮_手动读取);
    }

    static std::wstring name(int i, const std::wstring& suffix) {
        return L"f" + std::to_wstring(1000 + i) + suffix + L".txt";
    }

    std::uint32_t tick() {
        ++looks;
        if (onLook) onLook(looks);
        wchar_t t[256];
        GetWindowTextW(app.mainWindow(), t, 256);
        if (titles.empty() || titles.back() != t) titles.push_back(t);
        return now += kStep;
    }

    void click(Ctl c) {
        SendMessageW(app.window().handle(c), BM_CLICK, 0, 0);
        pumpMessages();
    }

    void addSuffix(const char* suffix) {
        app.window().setText(Ctl::编辑框7, suffix);
        click(Ctl::按钮_最后面加);
    }

    // A key or a click as the system posts it to the window under the focus or the mouse.
    void post(Ctl c, UINT msg, WPARAM wp = 0) { PostMessageW(app.window().handle(c), msg, wp, 0); }

    // Which of the files carry the suffix now; every file must be there under one name or the other.
    int renamedOnDisk(const std::wstring& suffix) const {
        int renamed = 0;
        for (int i = 0; i < kFiles; ++i) {
            const bool before = testing::exists(dir.wide() + name(i, L""));
            const bool after = testing::exists(dir.wide() + name(i, suffix));
            EXPECT_NE(before, after) << i;
            EXPECT_EQ(testing::readFile(dir.wide() + name(i, after ? suffix : L"")), std::to_string(i)) << i;
            renamed += after;
        }
        return renamed;
    }

    testing::TempFolder dir{"vbprogress"};
    AnsweringDialogs dialogs;
    Win32FileSystem fs;
    Win32Clipboard clipboard;
    NoShell shell;
    Win32Clock clock;
    TableChineseMapping chinese;
    std::uint32_t now = 0;
    int looks = 0;
    std::function<void(int)> onLook;
    std::vector<std::wstring> titles;  // each title the window had, in order
    App app;
};

std::wstring title(const Rig& rig) {
    wchar_t t[256];
    GetWindowTextW(rig.app.mainWindow(), t, 256);
    return t;
}

TEST(Progress, ALongRunShowsHowFarItIsInTheTitleAndPutsTheTitleBack) {
    Rig rig;
    const std::wstring before = title(rig);
    rig.addSuffix("_x");
    EXPECT_EQ(rig.renamedOnDisk(L"_x"), kFiles);
    EXPECT_EQ(title(rig), before);
    std::vector<std::wstring> shown;
    for (const auto& t : rig.titles)
        if (t != before) shown.push_back(t);
    ASSERT_FALSE(shown.empty()) << "no progress in the title";
    // The title waits half a second: at 10 ms a look, 49 entries are done by then.
    EXPECT_EQ(shown.front(), before + L" - 改名中 49/300");
    for (const auto& t : shown)
        EXPECT_TRUE(t.starts_with(before + L" - 改名中 ")) << wideToGbk(t).value_or("?");
}

TEST(Progress, EscStopsADirectRunWhileClicksAndTheCloseWaitAndTheReportCountsWhatWasDone) {
    Rig rig;
    rig.onLook = [&](int look) {
        if (look != 100) return;
        rig.post(Ctl::按钮_删除文件, WM_LBUTTONDOWN, MK_LBUTTON);
        rig.post(Ctl::按钮_删除文件, WM_LBUTTONUP);
        rig.post(Ctl::选择框_文件夹, WM_LBUTTONDOWN, MK_LBUTTON);
        rig.post(Ctl::选择框_文件夹, WM_LBUTTONUP);
        rig.post(Ctl::编辑框7, WM_CHAR, L'z');
        PostMessageW(rig.app.mainWindow(), WM_CLOSE, 0, 0);
        rig.post(Ctl::编辑框7, WM_KEYDOWN, VK_ESCAPE);
    };
    rig.addSuffix("_x");
    ASSERT_TRUE(IsWindow(rig.app.mainWindow())) << "closed in the middle of the run";
    EXPECT_FALSE(rig.app.window().checked(Ctl::选择框_文件夹)) << "a click changed a control during the run";
    EXPECT_EQ(rig.app.window().text(Ctl::编辑框7), "_x") << "a key changed a control during the run";
    const int renamed = rig.renamedOnDisk(L"_x");
    EXPECT_GE(renamed, 95);
    EXPECT_LT(renamed, 110) << "Esc is heard within a few entries";
    ASSERT_FALSE(rig.dialogs.boxes.empty());
    EXPECT_EQ(rig.dialogs.boxes.back(), "一共有" + std::to_string(renamed) + "个文件被改名成功");
    for (int r = 0; r < kFiles; ++r)
        EXPECT_EQ(rig.app.window().cell(r, 0),
                  wideToGbk(Rig::name(r, r < renamed ? L"_x" : L"")).value_or("?"));

    // The stop belonged to that run: the next one goes to the end.
    rig.onLook = nullptr;
    rig.addSuffix("_y");
    EXPECT_EQ(rig.dialogs.boxes.back(), "一共有" + std::to_string(kFiles) + "个文件被改名成功");
}

// Hands the list control's messages to a test's watcher before the control handles them.
LRESULT CALLBACK watchList(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR watcher) {
    (*reinterpret_cast<std::function<void(UINT)>*>(watcher))(m);
    return DefSubclassProc(h, m, w, l);
}

// The list control itself shows, whenever the window handles its messages during a run (it
// draws only then), the names the files have on disk.
TEST(Progress, TheListShowsEachNewNameWhileTheRunGoes) {
    constexpr UINT kLook = WM_APP + 7;  // posted at a look, handled when the window next may draw
    Rig rig;
    HWND lv = rig.app.window().handle(Ctl::超级列表框1);
    int checked = 0, painted = 0;
    bool posted = false;
    std::function<void(UINT)> watcher = [&](UINT m) {
        if (m != WM_PAINT && m != kLook) return;
        if (m == kLook) {
            posted = false;
            ++checked;
        } else {
            ++painted;
        }
        for (int r = 0; r < kFiles; ++r) {
            wchar_t text[MAX_PATH] = {};
            LVITEMW item{};
            item.iSubItem = 0;
            item.pszText = text;
            item.cchTextMax = MAX_PATH;
            SendMessageW(lv, LVM_GETITEMTEXTW, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(&item));
            const bool renamed = testing::exists(rig.dir.wide() + Rig::name(r, L"_x"));
            EXPECT_EQ(std::wstring(text), Rig::name(r, renamed ? L"_x" : L""))
                << (m == kLook ? "look " : "paint ") << checked + painted << ", row " << r;
        }
    };
    ASSERT_TRUE(SetWindowSubclass(lv, watchList, 1, reinterpret_cast<DWORD_PTR>(&watcher)));
    rig.onLook = [&](int) {
        if (!posted) posted = PostMessageW(lv, kLook, 0, 0);
    };
    rig.addSuffix("_x");
    rig.onLook = nullptr;
    RemoveWindowSubclass(lv, watchList, 1);
    EXPECT_GT(checked, 2);
    EXPECT_EQ(rig.renamedOnDisk(L"_x"), kFiles);
}

// Esc in the middle of an execute: the question comes at once. OK puts every renamed file back
// now; Cancel keeps them, and undo takes them back later. Either way the execute is undone whole.
TEST(Progress, AnExecuteStoppedHalfWayIsUndoneWhole) {
    for (const int answer : {kAnswerOk, kAnswerCancel}) {
        SCOPED_TRACE(answer == kAnswerOk ? "OK" : "Cancel");
        Rig rig;
        rig.click(Ctl::按钮_打开预览);
        rig.addSuffix("_x");
        EXPECT_EQ(rig.renamedOnDisk(L"_x"), 0) << "a preview renames nothing";
        rig.onLook = [&](int look) {
            if (look == 150) rig.post(Ctl::按钮_确认无误执行吧, WM_KEYDOWN, VK_ESCAPE);
        };
        rig.dialogs.answer = answer;
        rig.dialogs.boxes.clear();
        rig.click(Ctl::按钮_确认无误执行吧);
        rig.onLook = nullptr;
        ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
        EXPECT_TRUE(rig.dialogs.boxes[0].starts_with("执行被中途停止了，\r\n300个文件里已经改名"))
            << rig.dialogs.boxes[0];
        const int renamed = rig.renamedOnDisk(L"_x");
        if (answer == kAnswerOk) {
            EXPECT_EQ(renamed, 0);
        } else {
            EXPECT_GT(renamed, 0);
            EXPECT_LT(renamed, kFiles);
            rig.click(Ctl::按钮_撤回上一步);
            EXPECT_EQ(rig.renamedOnDisk(L"_x"), 0);
        }
        for (int r = 0; r < kFiles; ++r)
            EXPECT_EQ(rig.app.window().cell(r, 0), wideToGbk(Rig::name(r, L"")).value_or("?"));
    }
}

}  // namespace
}  // namespace vb

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/bindings.h"
#include "app/program.h"
#include "platform/headless/headless_window.h"
#include "platform/table_chinese_mapping.h"
#include "transforms/symbol_set.h"

namespace vb {
namespace {

// These handlers touch only the window; every other port fails the test when used.
struct NoDialogs : Dialogs {
    int messageBox(const std::string& text, const std::string&, Icon, Buttons) override {
        ADD_FAILURE() << "message box " << text;
        return kAnswerOk;
    }
    std::optional<std::string> browseFolder(const std::string&, const std::string&) override {
        return std::nullopt;
    }
};
struct NoFileSystem : FileSystem {
    PathStyle pathStyle() const override { return PathStyle::windows(); }
    std::vector<DirEntry> search(const std::string&, const std::string&) override {
        return fail<std::vector<DirEntry>>();
    }
    bool rename(const std::string&, const std::string&, const std::string&) override { return fail<bool>(); }
    bool deleteFile(const std::string&) override { return fail<bool>(); }
    bool removeDir(const std::string&) override { return fail<bool>(); }
    std::unique_ptr<OpenFolder> openFolder(const std::string&) override {
        return fail<std::unique_ptr<OpenFolder>>();
    }
    bool createDir(const std::string&) override { return fail<bool>(); }
    bool createNewFile(const std::string&, const std::string&) override { return fail<bool>(); }
    bool replaceFile(const std::string&, const std::string&) override { return fail<bool>(); }
    bool recycle(const std::string&) override { return fail<bool>(); }
    std::string programDir() const override { return {}; }
    template <typename T>
    T fail() {
        ADD_FAILURE() << "file system used";
        return {};
    }
};
struct NoClipboard : Clipboard {
    void setText(const std::string&) override { ADD_FAILURE() << "clipboard used"; }
};
struct NoShell : Shell {
    void openUrl(const std::string&) override { ADD_FAILURE() << "shell used"; }
};
struct NoClock : Clock {
    std::uint32_t tickCount() override { return 0; }
};

class Handlers : public ::testing::Test {
protected:
    // A check box toggles itself before the program hears of the click.
    void clickCheckBox(Ctl c) {
        win.setChecked(c, !win.checked(c));
        ASSERT_TRUE(program.handle(c, Event::Click));
    }
    void clickRadio(Ctl c) { ASSERT_TRUE(program.handle(c, Event::Click)); }
    void choose(const std::string& item) {
        auto items = win.items(Ctl::组合框1);
        auto it = std::find(items.begin(), items.end(), item);
        ASSERT_NE(it, items.end()) << item;
        win.setSelection(Ctl::组合框1, static_cast<int>(it - items.begin()));
        ASSERT_TRUE(program.handle(Ctl::组合框1, Event::ItemChosen));
    }
    void setBoxes(const std::string& a, const std::string& b, const std::string& c) {
        win.setText(Ctl::编辑框1, a);
        win.setText(Ctl::编辑框2, b);
        win.setText(Ctl::编辑框3, c);
    }
    std::vector<std::string> boxes() const {
        return {win.text(Ctl::编辑框1), win.text(Ctl::编辑框2), win.text(Ctl::编辑框3)};
    }

    HeadlessWindow win;
    NoDialogs dlg;
    NoFileSystem fs;
    NoClipboard clip;
    NoShell shell;
    NoClock clock;
    TableChineseMapping chinese;
    NoProgress progress;
    Program program{{win, dlg, fs, clip, shell, clock, chinese, progress}};
    Context& ctx = program.context();
};

TEST(SymbolSet, Convert) {
    const std::string allChinese = "，。（）【】";
    EXPECT_EQ(convertSymbols(allChinese, SymbolSet::Ascii), ",.()[]");
    EXPECT_EQ(convertSymbols(",.()[]", SymbolSet::Chinese), allChinese);
    EXPECT_EQ(convertSymbols("【第1集】", SymbolSet::Ascii), "[第1集]");
    EXPECT_EQ(convertSymbols("（Av", SymbolSet::Ascii), "(Av");
    // 遊 and 閉 end in the bytes of "[" and "]": they stay whole.
    EXPECT_EQ(convertSymbols("遊[閉]", SymbolSet::Chinese), "遊【閉】");
    EXPECT_EQ(convertSymbols("遊閉", SymbolSet::Chinese), "遊閉");
    EXPECT_EQ(convertSymbols("", SymbolSet::Chinese), "");
    EXPECT_EQ(convertSymbols("abc中文", SymbolSet::Ascii), "abc中文");
    EXPECT_EQ(convertSymbols("ab[", SymbolSet::Ascii), "ab[");        // already in the set
    EXPECT_EQ(convertSymbols("x\xA3", SymbolSet::Chinese), "x\xA3");  // lone lead byte at the end
}

TEST_F(Handlers, SymbolSetRewritesTheThreeBoxes) {
    setBoxes("【x】", "（Av", "）");
    choose("英文符号");
    EXPECT_EQ(boxes(), (std::vector<std::string>{"[x]", "(Av", ")"}));
    choose("中文符号");
    EXPECT_EQ(boxes(), (std::vector<std::string>{"【x】", "（Av", "）"}));
    choose("中文符号");  // already Chinese
    EXPECT_EQ(boxes(), (std::vector<std::string>{"【x】", "（Av", "）"}));
    choose("B站括号");
    EXPECT_EQ(boxes(), (std::vector<std::string>{"[x]", "(Av", ")"}));
    setBoxes("", "", "");
    choose("中文符号");
    EXPECT_EQ(boxes(), (std::vector<std::string>{"", "", ""}));
}

TEST_F(Handlers, SymbolSetIgnoresAnUnknownText) {
    setBoxes("【", "(", "");
    win.setText(Ctl::组合框1, "别的");
    ASSERT_TRUE(program.handle(Ctl::组合框1, Event::ItemChosen));
    EXPECT_EQ(boxes(), (std::vector<std::string>{"【", "(", ""}));
}

TEST_F(Handlers, OccurrenceBoxesUntickTheirPartner) {
    struct Pair {
        Ctl first, last;
    };
    for (Pair p : {Pair{Ctl::选择框_1头, Ctl::选择框_1尾}, Pair{Ctl::选择框_2头, Ctl::选择框_2尾}}) {
        win.setChecked(p.first, true);
        win.setChecked(p.last, false);
        clickCheckBox(p.last);
        EXPECT_TRUE(win.checked(p.last));
        EXPECT_FALSE(win.checked(p.first));
        clickCheckBox(p.last);  // unticking leaves the partner alone: both unticked
        EXPECT_FALSE(win.checked(p.last));
        EXPECT_FALSE(win.checked(p.first));
        clickCheckBox(p.first);
        EXPECT_TRUE(win.checked(p.first));
        EXPECT_FALSE(win.checked(p.last));
        clickCheckBox(p.last);
        EXPECT_FALSE(win.checked(p.first));
        clickCheckBox(p.first);
        EXPECT_FALSE(win.checked(p.last));
    }
    // The other pair is never touched.
    win.setChecked(Ctl::选择框_2头, true);
    clickCheckBox(Ctl::选择框_1尾);
    EXPECT_TRUE(win.checked(Ctl::选择框_2头));
}

TEST_F(Handlers, RadioButtonsSetCaptions) {
    clickRadio(Ctl::单选框4);
    EXPECT_EQ(win.text(Ctl::按钮_在某物前后加), "后面加");
    clickRadio(Ctl::单选框3);
    EXPECT_EQ(win.text(Ctl::按钮_在某物前后加), "前面加");
    clickRadio(Ctl::单选框16);
    EXPECT_EQ(win.text(Ctl::按钮_繁简), "简转繁");
    clickRadio(Ctl::单选框15);
    EXPECT_EQ(win.text(Ctl::按钮_繁简), "繁转简");
    // A handler run while its radio is not selected changes nothing.
    win.setChecked(Ctl::单选框16, false);
    ASSERT_TRUE(dispatch(ctx, Ctl::单选框16, Event::Click));
    EXPECT_EQ(win.text(Ctl::按钮_繁简), "繁转简");
}

}  // namespace
}  // namespace vb

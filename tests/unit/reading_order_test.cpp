#include "window/reading_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "window/window_def.h"

namespace vb {
namespace {

// The controls of `order` that are in `wanted`, in the order they come.
std::vector<Ctl> only(const std::vector<Ctl>& order, const std::vector<Ctl>& wanted) {
    std::vector<Ctl> out;
    for (Ctl c : order)
        if (std::find(wanted.begin(), wanted.end(), c) != wanted.end()) out.push_back(c);
    return out;
}

TEST(ReadingOrder, HoldsEveryControlOfTheWindowOnce) {
    for (Ctl window : {Ctl::主窗口, Ctl::感谢窗口}) {
        auto order = readingOrder(window);
        std::set<Ctl> seen(order.begin(), order.end());
        EXPECT_EQ(seen.size(), order.size());
        for (const auto& d : controlTable()) {
            const bool belongs = windowOf(d.id) == window && d.id != window && d.kind != Kind::Menu &&
                                 d.kind != Kind::MenuItem;
            EXPECT_EQ(seen.count(d.id), belongs ? 1u : 0u) << d.name;
        }
    }
}

// Rows are read left to right even when a taller control of the row starts a little higher,
// and a tall control does not pull the rows beside it into its own.
TEST(ReadingOrder, ReadsRowsLeftToRight) {
    auto order = readingOrder(Ctl::主窗口);
    const std::vector<Ctl> stops{Ctl::选择框_窗口置顶, Ctl::选择框_文件,     Ctl::选择框_文件夹,
                                 Ctl::组合框_仅检索,   Ctl::组合框_跳过扩展, Ctl::按钮_打开预览,
                                 Ctl::图形按钮1,       Ctl::按钮_手动读取,   Ctl::高级选择夹1,
                                 Ctl::编辑框14,        Ctl::编辑框15,        Ctl::按钮14,
                                 Ctl::超级列表框1,     Ctl::按钮_顺序调头,   Ctl::按钮_确认无误执行吧,
                                 Ctl::按钮_撤回上一步, Ctl::按钮_清空输入框, Ctl::按钮_清空列表框,
                                 Ctl::按钮_保存到txt};
    EXPECT_EQ(only(order, stops), stops);
}

TEST(ReadingOrder, ReadsAGroupWhereItStandsAndItsRadioButtonsTogether) {
    auto order = readingOrder(Ctl::主窗口);
    const std::vector<Ctl> page1{Ctl::组合框1,       Ctl::选择框6,     Ctl::选择框_1头,  Ctl::选择框_2头,
                                 Ctl::选择框_1尾,    Ctl::选择框_2尾,  Ctl::编辑框2,     Ctl::编辑框3,
                                 Ctl::按钮_一键删除, Ctl::选择框3,     Ctl::单选框11,    Ctl::单选框12,
                                 Ctl::编辑框8,       Ctl::按钮_删前面, Ctl::选择框4,     Ctl::单选框1,
                                 Ctl::单选框2,       Ctl::编辑框9,     Ctl::按钮_删后面, Ctl::单选框13,
                                 Ctl::单选框14,      Ctl::编辑框1,     Ctl::编辑框10,    Ctl::按钮_删掉N次};
    EXPECT_EQ(only(order, page1), page1);
    // The radio buttons beside 按钮_繁简 come first, though the button stands between them.
    const std::vector<Ctl> convert{Ctl::单选框15, Ctl::单选框16, Ctl::按钮_繁简};
    EXPECT_EQ(only(order, convert), convert);
    const std::vector<Ctl> add{Ctl::单选框5, Ctl::单选框6,  Ctl::单选框3,  Ctl::单选框4,
                               Ctl::标签16,  Ctl::编辑框11, Ctl::编辑框12, Ctl::按钮_在某物前后加};
    EXPECT_EQ(only(order, add), add);
}

// A push button is read after the boxes of its row, whichever side of it they stand on.
TEST(ReadingOrder, AButtonComesAfterTheBoxesItActsOn) {
    const std::vector<std::vector<Ctl>> cases{
        {Ctl::编辑框6, Ctl::按钮_最前面加, Ctl::编辑框7, Ctl::按钮_最后面加},
        {Ctl::编辑框11, Ctl::编辑框12, Ctl::按钮_在某物前后加},
        {Ctl::编辑框13, Ctl::按钮_数字后加符号},
        {Ctl::编辑框1, Ctl::编辑框10, Ctl::按钮_删掉N次},
        {Ctl::组合框5, Ctl::按钮_加序号},
        {Ctl::编辑框4, Ctl::编辑框5, Ctl::编辑框16, Ctl::按钮_替换},
        {Ctl::组合框_修改扩展, Ctl::按钮_改扩展},
        {Ctl::编辑框14, Ctl::编辑框15, Ctl::按钮14},
        {Ctl::单选框17, Ctl::单选框18, Ctl::按钮_删除文件},
    };
    auto order = readingOrder(Ctl::主窗口);
    for (const auto& want : cases) EXPECT_EQ(only(order, want), want) << def(want.back()).name;
}

// The order follows where the controls stand now: preview moves the execute and undo buttons
// from over the list to the row of buttons at the bottom, right of the others.
TEST(ReadingOrder, FollowsTheControlsWhereTheyStandNow) {
    struct Case {
        const char* mode;
        Rect execute, undo;
        std::vector<Ctl> want;
    };
    const std::vector<Case> cases{
        {"as defined",
         def(Ctl::按钮_确认无误执行吧).rect,
         def(Ctl::按钮_撤回上一步).rect,
         {Ctl::按钮_顺序调头, Ctl::按钮_确认无误执行吧, Ctl::按钮_撤回上一步, Ctl::按钮_清空输入框,
          Ctl::按钮_清空列表框, Ctl::按钮_保存到txt}},
        {"preview",
         {973, 590, 160, 28},
         {850, 590, 104, 28},
         {Ctl::按钮_顺序调头, Ctl::按钮_清空输入框, Ctl::按钮_清空列表框, Ctl::按钮_保存到txt,
          Ctl::按钮_撤回上一步, Ctl::按钮_确认无误执行吧}},
    };
    for (const auto& c : cases) {
        auto order = readingOrder(Ctl::主窗口, [&](Ctl id) {
            return id == Ctl::按钮_确认无误执行吧 ? c.execute
                   : id == Ctl::按钮_撤回上一步   ? c.undo
                                                  : def(id).rect;
        });
        EXPECT_EQ(only(order, c.want), c.want) << c.mode;
    }
}

TEST(ReadingOrder, EachPageFollowsTheTabControlAndHoldsItsOwnControlsOnly) {
    auto order = readingOrder(Ctl::主窗口);
    auto at = [&](Ctl c) { return std::find(order.begin(), order.end(), c) - order.begin(); };
    EXPECT_LT(at(Ctl::高级选择夹1), at(Ctl::页面_删除));
    const Ctl pages[] = {Ctl::页面_删除, Ctl::页面_替换, Ctl::页面_添加, Ctl::页面_特殊功能};
    for (size_t p = 0; p + 1 < std::size(pages); ++p) EXPECT_LT(at(pages[p]), at(pages[p + 1]));
    for (const auto& d : controlTable()) {
        Ctl page = d.id;
        while (def(page).kind != Kind::TabPage && def(page).kind != Kind::Window) page = def(page).container;
        if (def(page).kind != Kind::TabPage || page == d.id) continue;
        auto next = std::find(std::begin(pages), std::end(pages), page) + 1;
        EXPECT_GT(at(d.id), at(page)) << d.name;
        if (next != std::end(pages)) {
            EXPECT_LT(at(d.id), at(*next)) << d.name;
        }
    }
}

// The Win32 window groups the radio buttons of a container by creation order: they must stand
// together in the definition, and in the reading order.
TEST(ReadingOrder, RadioButtonsOfAContainerAreNeighbours) {
    auto order = readingOrder(Ctl::主窗口);
    std::map<Ctl, std::vector<size_t>> table, read;
    for (size_t i = 0; i < controlTable().size(); ++i)
        if (controlTable()[i].kind == Kind::Radio) table[controlTable()[i].container].push_back(i);
    for (size_t i = 0; i < order.size(); ++i)
        if (def(order[i]).kind == Kind::Radio) read[def(order[i]).container].push_back(i);
    for (const auto* groups : {&table, &read})
        for (const auto& [container, at] : *groups)
            EXPECT_EQ(at.back() - at.front() + 1, at.size()) << def(container).name;
}

}  // namespace
}  // namespace vb

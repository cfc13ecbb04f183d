#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/bindings.h"
#include "window/window_def.h"

namespace vb {
namespace {

TEST(WindowDefinition, NamesAreUniqueAndFindable) {
    std::set<std::string> names;
    for (const auto& d : controlTable()) {
        EXPECT_TRUE(names.insert(d.name).second) << d.name;
        ASSERT_EQ(findControl(d.name), d.id);
    }
    EXPECT_FALSE(findControl("编辑框99").has_value());
}

TEST(WindowDefinition, ContainersAreWindowsPagesGroupsOrTheMenu) {
    for (const auto& d : controlTable()) {
        Kind k = def(d.container).kind;
        EXPECT_TRUE(k == Kind::Window || k == Kind::TabPage || k == Kind::GroupBox || k == Kind::TabControl ||
                    k == Kind::Menu)
            << d.name;
    }
}

TEST(WindowDefinition, LabelCaptionsKeepTheirLineBreaks) {
    EXPECT_EQ(std::string(def(Ctl::标签18).caption), "仅用于编号在前面5个字符之内，\r\n用于在数字编号后面补一些符号\r\n");
    EXPECT_EQ(std::string(def(Ctl::页面_删除).caption), " 删 除 ");
    EXPECT_EQ(std::string(def(Ctl::页面_特殊功能).caption), "特殊功能");
}

// Each radio button's group is every radio button of its container, itself included; choosing
// one clears the rest, so groups never overlap.
TEST(WindowDefinition, RadioGroupsAreTheRadioButtonsOfOneContainer) {
    int radios = 0;
    for (const auto& d : controlTable()) {
        if (d.kind != Kind::Radio) continue;
        ++radios;
        const std::vector<Ctl> group = radioGroupOf(d.id);
        EXPECT_GE(group.size(), 2u) << d.name;
        EXPECT_NE(std::find(group.begin(), group.end(), d.id), group.end()) << d.name;
        for (Ctl other : group) {
            EXPECT_EQ(def(other).kind, Kind::Radio);
            EXPECT_EQ(radioGroupOf(other), group) << d.name;
        }
    }
    EXPECT_GT(radios, 0);
    EXPECT_EQ(radioGroupOf(Ctl::单选框11), (std::vector<Ctl>{Ctl::单选框11, Ctl::单选框12}));
}

TEST(Bindings, EveryBindingIsUnique) {
    std::set<std::pair<int, int>> seen;
    for (const auto& b : bindings())
        EXPECT_TRUE(seen.insert({static_cast<int>(b.control), static_cast<int>(b.event)}).second)
            << def(b.control).name;
}

}  // namespace
}  // namespace vb

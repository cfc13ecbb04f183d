#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
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
    EXPECT_EQ(std::string(def(Ctl::标签18).caption),
              "仅用于编号在前面5个字符之内，\r\n用于在数字编号后面补一些符号\r\n");
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

// Pages and menu items come from the table's rows; a page's tab is its place among them.
TEST(WindowDefinition, TabPagesAndMenuItemsFollowTheTable) {
    std::vector<Ctl> pages;
    std::vector<Ctl> items;
    for (const auto& d : controlTable()) {
        if (d.kind == Kind::TabPage) {
            pages.push_back(d.id);
        } else {
            EXPECT_EQ(tabIndexOf(d.id), -1) << d.name;
        }
        if (d.kind == Kind::MenuItem) items.push_back(d.id);
    }
    ASSERT_EQ(std::vector<Ctl>(tabPages().begin(), tabPages().end()), pages);
    for (size_t i = 0; i < pages.size(); ++i) EXPECT_EQ(tabIndexOf(pages[i]), static_cast<int>(i));
    EXPECT_EQ(pages.front(), Ctl::页面_删除);
    EXPECT_EQ(pages.back(), Ctl::页面_特殊功能);
    EXPECT_EQ(std::vector<Ctl>(menuItems().begin(), menuItems().end()), items);
    EXPECT_EQ(items, (std::vector<Ctl>{Ctl::上移, Ctl::下移, Ctl::删除}));
}

TEST(WindowDefinition, AControlsTabPageIsFoundThroughItsGroupBoxes) {
    const struct {
        Ctl control;
        std::optional<Ctl> page;
    } cases[] = {
        {Ctl::组合框5, Ctl::页面_添加},  // right on the page
        {Ctl::单选框3, Ctl::页面_添加},  // in a group box in a group box
        {Ctl::按钮_删除文件, Ctl::页面_特殊功能},
        {Ctl::分组框6, Ctl::页面_删除},
        {Ctl::页面_替换, std::nullopt},  // a page is not on a page
        {Ctl::高级选择夹1, std::nullopt},
        {Ctl::超级列表框1, std::nullopt},
        {Ctl::图片框1, std::nullopt},
        {Ctl::上移, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(tabPageOf(c.control), c.page) << def(c.control).name;
}

Rect inWindow(Ctl c) {
    Rect r = def(c).rect;
    for (Ctl up = def(c).container; def(up).kind != Kind::Window; up = def(up).container) {
        r.left += def(up).rect.left;
        r.top += def(up).rect.top;
    }
    return r;
}

bool overlap(const Rect& a, const Rect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

// Whatever lies on the name list is drawn above it, or the list would hide it.
TEST(WindowDefinition, EverythingOnTheListIsDrawnAboveIt) {
    const Rect list = def(Ctl::超级列表框1).rect;
    const std::vector<Ctl> above(onTheList().begin(), onTheList().end());
    for (const auto& d : controlTable()) {
        if (windowOf(d.id) != Ctl::主窗口 || d.id == Ctl::超级列表框1 || d.kind == Kind::Window ||
            d.kind == Kind::Menu || d.kind == Kind::MenuItem)
            continue;
        const bool listed = std::find(above.begin(), above.end(), d.id) != above.end();
        EXPECT_EQ(overlap(inWindow(d.id), list), listed) << d.name;
    }
}

// Preview mode's widened list fits the widened window, and the execute and undo buttons it moves
// land inside that window, clear of each other and of every control left where it was.
TEST(WindowDefinition, PreviewGeometryFitsTheWidenedWindow) {
    const PreviewGeometry& g = previewGeometry();
    const Rect list = def(Ctl::超级列表框1).rect;
    Rect wideList = list;
    wideList.width += g.columnWidth;
    EXPECT_LE(wideList.left + wideList.width, g.windowWidth);
    EXPECT_GT(g.listWidthOff, 0);
    EXPECT_LE(list.left + g.listWidthOff, def(Ctl::主窗口).rect.width);

    struct Moved {
        Ctl id;
        PreviewGeometry::Place place;
    };
    const Moved moved[] = {{Ctl::按钮_确认无误执行吧, g.execute}, {Ctl::按钮_撤回上一步, g.undo}};
    std::vector<Rect> placed;
    for (const Moved& m : moved) {
        const Rect r{m.place.left, m.place.top, def(m.id).rect.width, def(m.id).rect.height};
        EXPECT_LE(r.left + r.width, g.windowWidth) << def(m.id).name;
        EXPECT_LE(r.top + r.height, def(Ctl::主窗口).rect.height) << def(m.id).name;
        EXPECT_FALSE(overlap(r, wideList)) << def(m.id).name;
        for (const Rect& other : placed) EXPECT_FALSE(overlap(r, other)) << def(m.id).name;
        placed.push_back(r);
        for (const auto& d : controlTable()) {
            if (d.container != Ctl::主窗口 || !d.visible || d.kind == Kind::Window || d.kind == Kind::Menu ||
                d.id == Ctl::超级列表框1)
                continue;
            EXPECT_FALSE(overlap(r, inWindow(d.id))) << def(m.id).name << " on " << d.name;
        }
    }
}

TEST(WindowDefinition, EveryPictureControlHasAPicture) {
    for (const auto& d : controlTable()) {
        const bool shows = d.kind == Kind::PictureBox || d.kind == Kind::PictureButton;
        EXPECT_EQ(pictureOf(d.id) != nullptr, shows) << d.name;
    }
}

TEST(Bindings, EveryBindingIsUnique) {
    std::set<std::pair<int, int>> seen;
    for (const auto& b : bindings())
        EXPECT_TRUE(seen.insert({static_cast<int>(b.control), static_cast<int>(b.event)}).second)
            << def(b.control).name;
}

}  // namespace
}  // namespace vb

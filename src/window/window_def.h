// The window definition: one row per control, the only place that holds captions and rects.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "window/controls.h"

namespace vb {

struct ControlDef {
    Ctl id;
    const char* name;  // GBK
    Kind kind;
    Ctl container;        // a window, a tab page, a group box or the popup menu
    const char* caption;  // caption or initial text, GBK
    Rect rect;            // in the container, 96-DPI pixels
    bool visible;
};

std::span<const ControlDef> controlTable();
const ControlDef& def(Ctl id);
std::optional<Ctl> findControl(std::string_view gbkName);

// Check boxes and radio buttons ticked by the definition itself.
std::span<const Ctl> tickedByDefinition();

// Combo boxes with items in the definition, and the item they show.
struct ComboDef {
    Ctl id;
    std::span<const char* const> items;
    int shown;
};
std::span<const ComboDef> comboDefinitions();

// The preview switch 按钮_打开预览 shows its caption of the table while preview is off, and this
// one while it is on.
inline constexpr const char* kPreviewOnCaption = "不要预览";
inline const char* previewOffCaption() { return def(Ctl::按钮_打开预览).caption; }

// The control a person starts with: the focus is there when the window opens.
inline constexpr Ctl kFirstFocus = Ctl::按钮_手动读取;

// What preview mode changes: the window widens, the name list gains the column of new names
// and widens by as much, and the execute and undo buttons move beside it. Turned off, the list
// takes listWidthOff and the execute button goes back to its own row's place.
struct PreviewGeometry {
    int windowWidth;
    int columnWidth;
    int listWidthOff;
    struct Place {
        int left, top;
    } execute, undo;
};
const PreviewGeometry& previewGeometry();

inline constexpr const char* kListColumn0Title = "当前的文件名";
inline constexpr int kListColumnWidth = 380;

// The tab pages of 高级选择夹1 in the order of their tabs, and the popup menu's items in the order
// they show: the table's own rows of each, in table order.
std::span<const Ctl> tabPages();
std::span<const Ctl> menuItems();
// The tab a page has, counting from 0; -1 for anything else.
int tabIndexOf(Ctl page);
// The tab page a control lies on, through its group boxes; none outside the pages.
std::optional<Ctl> tabPageOf(Ctl c);

// Controls that lie on the name list; the window draws them above it.
std::span<const Ctl> onTheList();

// The picture a picture box or picture button shows: the name of one of the program's resources;
// nullptr for any other control.
const char* pictureOf(Ctl c);

// A radio button's group: the radio buttons of its container, in table order. Choosing one
// clears the others.
std::vector<Ctl> radioGroupOf(Ctl radio);

// The window a control belongs to (主窗口 or 感谢窗口), following containers upwards.
Ctl windowOf(Ctl id);

}  // namespace vb

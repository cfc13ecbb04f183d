#include "window/reading_order.h"

#include <algorithm>

#include "window/window_def.h"

namespace vb {
namespace {

// One place in the order: a single control, or the radio buttons of one container.
struct Unit {
    Rect rect;
    std::vector<Ctl> members;
};

Rect unite(const Rect& a, const Rect& b) {
    const int left = std::min(a.left, b.left);
    const int top = std::min(a.top, b.top);
    const int right = std::max(a.left + a.width, b.left + b.width);
    const int bottom = std::max(a.top + a.height, b.top + b.height);
    return {left, top, right - left, bottom - top};
}

bool isPushButton(const Unit& u) {
    const Kind k = def(u.members.front()).kind;
    return k == Kind::Button || k == Kind::PictureButton;
}

// One row from left to right, its push buttons last: a button acts on the boxes beside it
// (最尾部加 on the box to its right), so a person fills them in before reaching it.
void sortRow(std::vector<Unit>::iterator begin, std::vector<Unit>::iterator end) {
    std::stable_sort(begin, end, [](const Unit& a, const Unit& b) {
        const bool aButton = isPushButton(a), bButton = isPushButton(b);
        return aButton != bButton ? bButton : a.rect.left < b.rect.left;
    });
}

// Rows: a unit joins the current row while its top lies above the bottom of every unit already
// in the row, so a tall neighbour (the tab control beside the short boxes on its right) does not
// swallow the rows that follow.
void sortReading(std::vector<Unit>& units) {
    std::stable_sort(units.begin(), units.end(), [](const Unit& a, const Unit& b) {
        return a.rect.top != b.rect.top ? a.rect.top < b.rect.top : a.rect.left < b.rect.left;
    });
    auto rowStart = units.begin();
    int rowBottom = 0;
    for (auto it = units.begin(); it != units.end(); ++it) {
        if (it != rowStart && it->rect.top >= rowBottom) {
            sortRow(rowStart, it);
            rowStart = it;
        }
        const int bottom = it->rect.top + it->rect.height;
        rowBottom = it == rowStart ? bottom : std::min(rowBottom, bottom);
    }
    sortRow(rowStart, units.end());
}

bool holdsControls(Kind k) { return k == Kind::GroupBox || k == Kind::TabControl || k == Kind::TabPage; }

void appendContent(Ctl container, const RectOf& rectOf, std::vector<Ctl>& out) {
    std::vector<Unit> units;
    Unit radios;
    for (const auto& d : controlTable()) {
        if (d.container != container || d.id == container || d.kind == Kind::Menu) continue;
        const Rect r = rectOf(d.id);
        if (d.kind == Kind::Radio) {
            radios.rect = radios.members.empty() ? r : unite(radios.rect, r);
            radios.members.push_back(d.id);
        } else {
            units.push_back({r, {d.id}});
        }
    }
    if (!radios.members.empty()) {
        std::vector<Unit> each;
        for (Ctl r : radios.members) each.push_back({rectOf(r), {r}});
        sortReading(each);
        radios.members.clear();
        for (const auto& u : each) radios.members.push_back(u.members.front());
        units.push_back(std::move(radios));
    }
    sortReading(units);
    for (const auto& u : units)
        for (Ctl c : u.members) {
            out.push_back(c);
            if (holdsControls(def(c).kind)) appendContent(c, rectOf, out);
        }
}

}  // namespace

std::vector<Ctl> readingOrder(Ctl window) {
    return readingOrder(window, [](Ctl c) { return def(c).rect; });
}

std::vector<Ctl> readingOrder(Ctl window, const RectOf& rectOf) {
    std::vector<Ctl> out;
    appendContent(window, rectOf, out);
    return out;
}

}  // namespace vb

#include "platform/headless/headless_window.h"

#include "window/window_def.h"

namespace vb {

HeadlessWindow::HeadlessWindow(Listener listener) : listener_(std::move(listener)) {
    for (const auto& d : controlTable()) {
        Control& c = at(d.id);
        c.text = d.caption;
        c.visible = d.visible;
        c.rect = d.rect;
    }
    for (Ctl id : tickedByDefinition()) at(id).checked = true;
    for (const auto& combo : comboDefinitions()) {
        for (const char* item : combo.items) at(combo.id).items.emplace_back(item);
        setSelection(combo.id, combo.shown);
    }
}

std::string HeadlessWindow::text(Ctl c) const { return at(c).text; }
void HeadlessWindow::setText(Ctl c, const std::string& s) { at(c).text = s; }
bool HeadlessWindow::checked(Ctl c) const { return at(c).checked; }
void HeadlessWindow::setChecked(Ctl c, bool on) { at(c).checked = on; }
std::vector<std::string> HeadlessWindow::items(Ctl c) const { return at(c).items; }

void HeadlessWindow::clearItems(Ctl c) {
    at(c).items.clear();
    at(c).selection = -1;
}

void HeadlessWindow::addItem(Ctl c, const std::string& item) { at(c).items.push_back(item); }
int HeadlessWindow::selection(Ctl c) const { return at(c).selection; }

void HeadlessWindow::setSelection(Ctl c, int index) {
    Control& ctl = at(c);
    if (index >= 0 && index < static_cast<int>(ctl.items.size())) {
        ctl.selection = index;
        ctl.text = ctl.items[static_cast<size_t>(index)];
    } else {
        ctl.selection = -1;
    }
}

bool HeadlessWindow::visible(Ctl c) const {
    if (windowOf(c) == Ctl::感谢窗口 && !secondWindowOpen_) return false;
    return at(c).visible;
}
void HeadlessWindow::setVisible(Ctl c, bool on) { at(c).visible = on; }
Rect HeadlessWindow::rect(Ctl c) const { return at(c).rect; }

void HeadlessWindow::move(Ctl c, int left, int top) {
    at(c).rect.left = left;
    at(c).rect.top = top;
}

void HeadlessWindow::setWidth(Ctl c, int width) { at(c).rect.width = width; }
void HeadlessWindow::setTextColor(Ctl c, std::uint32_t color) { at(c).color = color; }
std::uint32_t HeadlessWindow::textColor(Ctl c) const { return at(c).color; }

int HeadlessWindow::rowCount() const { return list_.rowCount(); }
std::string HeadlessWindow::cell(int row, int col) const { return list_.cell(row, col); }
void HeadlessWindow::setCell(int row, int col, const std::string& s) { list_.setCell(row, col, s); }
void HeadlessWindow::appendRows(std::vector<std::string> col0) { list_.appendRows(std::move(col0)); }

void HeadlessWindow::deleteRow(int row) {
    if (!list_.deleteRow(row)) return;
    if (selectedRow_ == row)
        selectedRow_ = -1;
    else if (selectedRow_ > row)
        --selectedRow_;
}

void HeadlessWindow::clearRows() {
    list_.clearRows();
    selectedRow_ = -1;
}

int HeadlessWindow::columnCount() const { return list_.columnCount(); }
std::string HeadlessWindow::columnTitle(int col) const { return list_.columnTitle(col); }
void HeadlessWindow::setColumnTitle(int col, const std::string& title) { list_.setColumnTitle(col, title); }
void HeadlessWindow::insertColumn(int col, const std::string& title, int width) {
    list_.insertColumn(col, title, width);
}
void HeadlessWindow::deleteColumn(int col) { list_.deleteColumn(col); }

int HeadlessWindow::selectedRow() const { return selectedRow_; }

void HeadlessWindow::showPopupMenu() {
    if (listener_.popupMenuShown) listener_.popupMenuShown();
}

int HeadlessWindow::windowWidth() const { return at(Ctl::主窗口).rect.width; }
int HeadlessWindow::windowHeight() const { return at(Ctl::主窗口).rect.height; }
void HeadlessWindow::setWindowWidth(int width) { at(Ctl::主窗口).rect.width = width; }
bool HeadlessWindow::topmost() const { return topmost_; }

void HeadlessWindow::setTopmost(bool on) {
    bool changed = on != topmost_;
    topmost_ = on;
    if (changed && listener_.topmostChanged) listener_.topmostChanged(on);
}

void HeadlessWindow::openSecondWindow() {
    if (secondWindowOpen_) return;
    secondWindowOpen_ = true;
    if (listener_.secondWindowChanged) listener_.secondWindowChanged(true);
}

void HeadlessWindow::closeSecondWindow() {
    if (!secondWindowOpen_) return;
    secondWindowOpen_ = false;
    if (listener_.secondWindowChanged) listener_.secondWindowChanged(false);
}

void HeadlessWindow::selectRow(int row) { selectedRow_ = row >= 0 && row < rowCount() ? row : -1; }

}  // namespace vb

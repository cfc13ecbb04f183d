// The name list 超级列表框1: reading it for the rename operations and the user's edits.
#include "fileset/fileset.h"
#include "window/window_def.h"

namespace vb {
namespace {

constexpr const char* kReminderTitle = "提醒：";

void remind(Context& ctx, const char* text) {
    ctx.dlg.messageBox(text, kReminderTitle, Icon::Info, Buttons::Ok);
}

void swapNames(Window& win, int a, int b) {
    std::string first = win.cell(a, 0);
    win.setCell(a, 0, win.cell(b, 0));
    win.setCell(b, 0, first);
}

// The menu commands run only from the popup; a stale selection changes nothing.
bool validRow(const Window& win, int row) { return row >= 0 && row < win.rowCount(); }

constexpr Ctl kClearedInputs[] = {
    Ctl::编辑框1,  Ctl::编辑框2,  Ctl::编辑框3,  Ctl::编辑框4,  Ctl::编辑框5,
    Ctl::编辑框6,  Ctl::编辑框7,  Ctl::编辑框8,  Ctl::编辑框9,  Ctl::编辑框10,
    Ctl::编辑框11, Ctl::编辑框12, Ctl::编辑框13, Ctl::编辑框14, Ctl::编辑框15,
    Ctl::标签2,  // the working directory last
};

}  // namespace

int readNames(Context& ctx, std::vector<std::string>& out, bool withDir) {
    const Window& win = ctx.win;
    int rows = win.rowCount();
    if (rows == 0) {
        remind(ctx, kEmptyListMessage);
        return 0;
    }
    std::string dir = withDir ? workingDir(win) : std::string();
    out.reserve(out.size() + static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        std::string name = win.cell(r, 0);
        if (name.empty()) continue;
        out.push_back(withDir ? dir + name : std::move(name));
    }
    return static_cast<int>(out.size());
}

void writeCell(Window& win, const std::string& text, int row, int col) { win.setCell(row, col, text); }

void onListLeftClick(Context& ctx) {
    int row = ctx.win.selectedRow();
    if (!validRow(ctx.win, row)) return;
    ctx.clip.setText(ctx.win.cell(row, 0));
}

void onListRightClick(Context& ctx) {
    const Window& win = ctx.win;
    if (previewOn(win)) return;
    int row = win.selectedRow();
    if (!validRow(win, row) || win.cell(row, 0).empty()) return;
    ctx.win.showPopupMenu();
}

void onMoveUp(Context& ctx) {
    int s = ctx.win.selectedRow();
    if (!validRow(ctx.win, s)) return;
    if (s == 0) {
        remind(ctx, "已经在最顶了，无法再上移了！");
        return;
    }
    swapNames(ctx.win, s, s - 1);
}

void onMoveDown(Context& ctx) {
    int s = ctx.win.selectedRow();
    if (!validRow(ctx.win, s)) return;
    if (s == ctx.win.rowCount() - 1) {
        remind(ctx, "已经在最底部了，无法再下移了！");
        return;
    }
    swapNames(ctx.win, s, s + 1);
}

void onRemoveRow(Context& ctx) {
    int s = ctx.win.selectedRow();
    if (validRow(ctx.win, s)) ctx.win.deleteRow(s);
}

void onReverseOrder(Context& ctx) {
    Window& win = ctx.win;
    int rows = win.rowCount();
    if (rows == 0) {
        remind(ctx, kEmptyListMessage);
        return;
    }
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(rows));
    for (int r = rows - 1; r >= 0; --r) {
        std::string name = win.cell(r, 0);
        if (!name.empty()) names.push_back(std::move(name));
    }
    win.clearRows();
    win.appendRows(std::move(names));
}

void onClearList(Context& ctx) { ctx.win.clearRows(); }

void onClearInputs(Context& ctx) {
    for (Ctl c : kClearedInputs) ctx.win.setText(c, "");
}

}  // namespace vb

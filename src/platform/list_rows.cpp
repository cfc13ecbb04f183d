#include "platform/list_rows.h"

#include <algorithm>
#include <iterator>

#include "window/window_def.h"

namespace vb {
ListRows::ListRows() { columns_.push_back({kListColumn0Title, kListColumnWidth, {}}); }

std::string ListRows::cell(int row, int col) const {
    if (!hasRow(row) || !hasColumn(col)) return {};
    return columns_[static_cast<size_t>(col)].cells[static_cast<size_t>(row)];
}

bool ListRows::setCell(int row, int col, const std::string& s) {
    if (!hasRow(row) || !hasColumn(col)) return false;
    columns_[static_cast<size_t>(col)].cells[static_cast<size_t>(row)] = s;
    return true;
}

void ListRows::appendRows(std::vector<std::string> col0) {
    for (size_t c = 0; c < columns_.size(); ++c) {
        auto& cells = columns_[c].cells;
        if (c == 0)
            cells.insert(cells.end(), std::make_move_iterator(col0.begin()),
                         std::make_move_iterator(col0.end()));
        else
            cells.resize(cells.size() + col0.size());
    }
    rows_ += static_cast<int>(col0.size());
}

bool ListRows::deleteRow(int row) {
    if (!hasRow(row)) return false;
    for (auto& column : columns_) column.cells.erase(column.cells.begin() + row);
    --rows_;
    return true;
}

void ListRows::clearRows() {
    for (auto& column : columns_) {
        column.cells.clear();
        column.cells.shrink_to_fit();
    }
    rows_ = 0;
}

std::string ListRows::columnTitle(int col) const {
    return hasColumn(col) ? columns_[static_cast<size_t>(col)].title : std::string();
}

int ListRows::columnWidth(int col) const {
    return hasColumn(col) ? columns_[static_cast<size_t>(col)].width : 0;
}

bool ListRows::setColumnTitle(int col, const std::string& title) {
    if (!hasColumn(col)) return false;
    columns_[static_cast<size_t>(col)].title = title;
    return true;
}

int ListRows::insertColumn(int col, const std::string& title, int width) {
    col = std::clamp(col, 0, columnCount());
    columns_.insert(columns_.begin() + col,
                    Column{title, width, std::vector<std::string>(static_cast<size_t>(rows_))});
    return col;
}

bool ListRows::deleteColumn(int col) {
    if (!hasColumn(col)) return false;
    columns_.erase(columns_.begin() + col);
    return true;
}

}  // namespace vb

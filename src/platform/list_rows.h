// The rows and columns of the name list 超级列表框1, as both windows keep them. Column by column:
// a row costs no more than its name's string until a second column is inserted. Positions
// outside the list are ignored, as the list control ignores them.
#pragma once

#include <string>
#include <vector>

namespace vb {

class ListRows {
public:
    ListRows();  // one column, titled and sized as the window definition says

    int rowCount() const { return rows_; }
    int columnCount() const { return static_cast<int>(columns_.size()); }
    bool hasRow(int row) const { return row >= 0 && row < rows_; }
    bool hasColumn(int col) const { return col >= 0 && col < columnCount(); }

    std::string cell(int row, int col) const;              // an empty text outside the list
    bool setCell(int row, int col, const std::string& s);  // false outside the list
    void appendRows(std::vector<std::string> col0);
    bool deleteRow(int row);
    void clearRows();

    std::string columnTitle(int col) const;
    int columnWidth(int col) const;
    bool setColumnTitle(int col, const std::string& title);
    // Returns where the column went: col, kept within 0..columnCount().
    int insertColumn(int col, const std::string& title, int width);
    bool deleteColumn(int col);

private:
    struct Column {
        std::string title;
        int width = 0;
        std::vector<std::string> cells;
    };
    std::vector<Column> columns_;
    int rows_ = 0;
};

}  // namespace vb

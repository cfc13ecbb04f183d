// The name list's rows and columns as both windows keep them: a column inserted or deleted
// shifts the cells beside it, and positions outside the list change nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/list_rows.h"
#include "window/window_def.h"

namespace vb {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows contents(const ListRows& list) {
    Rows out;
    for (int r = 0; r < list.rowCount(); ++r) {
        out.emplace_back();
        for (int c = 0; c < list.columnCount(); ++c) out.back().push_back(list.cell(r, c));
    }
    return out;
}

TEST(ListRows, ColumnsShiftTheirCellsAndStrayPositionsChangeNothing) {
    ListRows list;
    EXPECT_EQ(list.columnTitle(0), kListColumn0Title);
    EXPECT_EQ(list.columnWidth(0), kListColumnWidth);
    list.appendRows({"a", "b", "c"});
    EXPECT_EQ(list.insertColumn(5, "new", 380), 1);  // past the end: the last column
    EXPECT_TRUE(list.setCell(1, 1, "b2"));
    EXPECT_EQ(list.insertColumn(-1, "first", 10), 0);  // before the start: the first column
    EXPECT_EQ(contents(list), (Rows{{"", "a", ""}, {"", "b", "b2"}, {"", "c", ""}}));

    for (auto [row, col] : {std::pair{3, 0}, {-1, 1}, {0, 3}, {0, -1}}) {
        EXPECT_FALSE(list.setCell(row, col, "x")) << row << "," << col;
        EXPECT_EQ(list.cell(row, col), "") << row << "," << col;
    }
    EXPECT_FALSE(list.deleteRow(3));
    EXPECT_FALSE(list.deleteColumn(3));
    EXPECT_FALSE(list.setColumnTitle(3, "x"));

    EXPECT_TRUE(list.deleteColumn(0));
    EXPECT_TRUE(list.deleteRow(0));
    list.appendRows({"d"});  // a later column starts empty in a new row
    EXPECT_EQ(contents(list), (Rows{{"b", "b2"}, {"c", ""}, {"d", ""}}));
    EXPECT_EQ(list.columnTitle(1), "new");

    list.clearRows();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.columnCount(), 2);
}

}  // namespace
}  // namespace vb

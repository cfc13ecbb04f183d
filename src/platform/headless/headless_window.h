// The window without a screen: every control's state in memory, built from the definition.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/list_rows.h"
#include "platform/ports.h"

namespace vb {

class HeadlessWindow final : public Window {
public:
    struct Listener {
        std::function<void(bool)> topmostChanged;
        std::function<void(bool)> secondWindowChanged;  // true when opened
        std::function<void()> popupMenuShown;
    };

    explicit HeadlessWindow(Listener listener = {});

    std::string text(Ctl c) const override;
    void setText(Ctl c, const std::string& s) override;
    bool checked(Ctl c) const override;
    void setChecked(Ctl c, bool on) override;
    std::vector<std::string> items(Ctl c) const override;
    void clearItems(Ctl c) override;
    void addItem(Ctl c, const std::string& item) override;
    int selection(Ctl c) const override;
    void setSelection(Ctl c, int index) override;
    bool visible(Ctl c) const override;
    void setVisible(Ctl c, bool on) override;
    Rect rect(Ctl c) const override;
    void move(Ctl c, int left, int top) override;
    void setWidth(Ctl c, int width) override;
    void setTextColor(Ctl c, std::uint32_t color) override;
    std::uint32_t textColor(Ctl c) const override;

    int rowCount() const override;
    std::string cell(int row, int col) const override;
    void setCell(int row, int col, const std::string& s) override;
    void appendRows(std::vector<std::string> col0) override;
    void deleteRow(int row) override;
    void clearRows() override;
    int columnCount() const override;
    std::string columnTitle(int col) const override;
    void setColumnTitle(int col, const std::string& title) override;
    void insertColumn(int col, const std::string& title, int width) override;
    void deleteColumn(int col) override;
    int selectedRow() const override;
    void showPopupMenu() override;

    int windowWidth() const override;
    int windowHeight() const override;
    void setWindowWidth(int width) override;
    bool topmost() const override;
    void setTopmost(bool on) override;
    void openSecondWindow() override;
    void closeSecondWindow() override;

    // What a user's click does to the list selection (the driver's row commands).
    void selectRow(int row);
    bool secondWindowOpen() const { return secondWindowOpen_; }

private:
    struct Control {
        std::string text;
        bool checked = false;
        std::vector<std::string> items;
        int selection = -1;
        bool visible = true;
        Rect rect;
        std::uint32_t color = kDefaultColor;
    };

    Control& at(Ctl c) { return controls_[static_cast<size_t>(c)]; }
    const Control& at(Ctl c) const { return controls_[static_cast<size_t>(c)]; }

    Listener listener_;
    std::array<Control, kControlCount> controls_;
    ListRows list_;
    int selectedRow_ = -1;
    bool topmost_ = false;
    bool secondWindowOpen_ = false;
};

}  // namespace vb

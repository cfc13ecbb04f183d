// The main window and the "感谢有你" window over real Win32 controls, built from the window
// definition. Control ids are the definition's order, so one table serves both directions.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/list_rows.h"
#include "platform/ports.h"
#include "platform/win32/win32_fonts.h"
#include "window/events.h"

namespace vb {

class Pictures;

// Passes on a message taken from the queue: a keystroke for one of the program's windows goes
// through its keyboard navigation first, the rest is translated and sent to its window.
void dispatchMessage(MSG& msg);

// Passes on every pending message, so that the windows stay alive during a long piece of work;
// those refuse says no to are dropped. A WM_QUIT is left for the loop that owns it.
void pumpMessages(const std::function<bool(const MSG&)>& refuse = {});

class Win32Window final : public Window {
public:
    struct Listener {
        std::function<void(Ctl, Event)> event;  // a control event a user caused
        std::function<void(bool)> topmostChanged;
        std::function<void(bool)> secondWindowChanged;  // true when opened
        // When set and true, stands in for the real popup menu (the script driver keeps it
        // "open" until its next command).
        std::function<bool()> popupMenu;
        std::function<void()> destroyed;  // the main window is gone
    };

    // Creates the main window and its controls, hidden; show() puts it on screen. dpi: the scale
    // to start at; by default the one of the monitor the window opens on.
    Win32Window(HINSTANCE instance, Listener listener, int dpi = 0);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    void show(int showCommand);
    HWND mainWindow() const { return main_; }
    HWND secondWindow() const { return second_; }
    HWND handle(Ctl c) const { return hwnd_[index(c)]; }
    HMENU popupMenu() const { return menu_; }
    // While an operation runs, closing and a second operation must wait.
    void setBusy(bool busy) { busy_ = busy; }
    bool busy() const { return busy_; }

    static int controlId(Ctl c) { return kFirstId + static_cast<int>(c); }
    // The window object behind any window of the program (a window or one of its controls).
    static Win32Window* owning(HWND w);
    // The control that is w or holds it (a combo box holds its edit field).
    std::optional<Ctl> controlAt(HWND w) const;
    // Tab and Ctrl+Tab (either with Shift), and the arrow keys on a radio button: true when the
    // keystroke was one of them and has been handled.
    bool navigate(const MSG& msg);
    static std::optional<Ctl> controlFromId(int id);

    // What the driver needs to act like a user.
    void selectPageOf(Ctl c);       // the tab page holding c comes to the front
    static int pageIndexOf(Ctl c);  // the tab page holding c, -1 when it is on none
    int currentPage() const;
    void selectRowOnly(int row);  // list selection without any event; -1 clears it
    int scaled(int logical) const { return MulDiv(logical, dpi_, 96); }
    // The scale the window is laid out at: its monitor's, or a smaller one where the window
    // would not fit the work area at its monitor's.
    int dpi() const { return dpi_; }
    int monitorDpi() const { return monitorDpi_; }
    // The window is on a monitor of another scale now: every control, font and column is laid
    // out again from the 96-DPI table. bounds: where the system suggests the window goes.
    void applyDpi(int dpi, const RECT* bounds = nullptr);
    // How far the client area is scrolled, in pixels, where the window does not fit even at 96.
    POINT scrollPosition() const { return scroll_; }
    // Scrolls the client area so that the control lies in view, as far as it can.
    void scrollIntoView(Ctl c);

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
    void setTextColor(Ctl c, std::uint32_t rgbOrDefault) override;
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

    int windowWidth() const override { return mainRect_.width; }
    int windowHeight() const override { return mainRect_.height; }
    void setWindowWidth(int width) override;
    bool topmost() const override { return topmost_; }
    void setTopmost(bool on) override;
    void openSecondWindow() override;
    void closeSecondWindow() override;

private:
    static constexpr int kFirstId = 1000;
    static constexpr wchar_t kMainClass[] = L"VelbrookMain";
    static constexpr wchar_t kSecondClass[] = L"VelbrookThanks";
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK tabForwardProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR);
    LRESULT handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    bool onCommand(HWND hwnd, WPARAM wp, LPARAM lp);
    LRESULT onNotify(NMHDR* hdr);
    LRESULT onColor(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void onDrawItem(const DRAWITEMSTRUCT* di);
    LRESULT onCustomDraw(const NMCUSTOMDRAW& cd);
    bool isTabStop(Ctl c) const;
    void updateReadingOrder();        // after a control moved or changed its size
    void focusControl(Ctl c);
    void tabToNext(HWND root, bool backwards);
    bool moveInRadioGroup(Ctl from, bool backwards);
    void showPage(int page);
    void pageShown();
    LRESULT defaultButton(HWND root) const;
    void rememberFocus(HWND window);
    bool restoreFocus(HWND window);
    // The control that had the focus, else the one a person starts with.
    void focusFirst(HWND window);
    void openListMenuFromKeyboard();
    void showChosenItem(Ctl combo);

    static size_t index(Ctl c) { return static_cast<size_t>(c); }
    void createControls(Ctl window, HWND parent);
    void createTabPages();
    void stackForPainting(Ctl window);
    void createListView(HWND parent, const RECT& r);
    HWND parentFor(Ctl c) const;
    POINT originIn(Ctl c) const;  // offset of c's container in the real parent, logical pixels
    void place(Ctl c);            // moves the real control to its logical rect
    int heightOf(Ctl c) const;    // the real control's height, pixels
    void makeFonts();             // the controls' fonts at the current scale
    void layOut(int dpi);         // every control, font and column again at another scale
    // The main window at its logical size from its top-left corner now (or from's), kept inside
    // the work area of its monitor, at the largest scale that fits there.
    void sizeMain(const RECT* from = nullptr);
    // The scroll bars' ranges for the client area's size now; the controls follow the position.
    void updateScrollBars();
    void scrollTo(int x, int y);
    void onScroll(int bar, int request);
    SIZE contentSize() const;  // the client area the window needs without scrolling, pixels
    HFONT fontFor(Kind k) const { return (k == Kind::TabControl ? tabFont_ : font_).get(); }
    bool shownNow(Ctl c) const;
    void applyVisibility(Ctl c);
    void applyAllVisibility();
    void refreshList();
    void notifyTopmost(bool on);

    HINSTANCE instance_;
    Listener listener_;
    int dpi_ = 96;
    int monitorDpi_ = 96;
    POINT scroll_{0, 0};
    HMONITOR monitor_ = nullptr;  // the one the window was last fitted to
    bool updatingScroll_ = false;
    HWND main_ = nullptr;
    HWND second_ = nullptr;
    HMENU menu_ = nullptr;
    FontPtr font_;
    FontPtr tabFont_;
    HBRUSH noBrush_ = nullptr;
    struct State {
        Rect rect;
        bool visible = true;
        std::uint32_t color = kDefaultColor;
        std::string text;  // only for controls whose window does not exist right now
        bool checked = false;
    };
    std::array<HWND, kControlCount> hwnd_{};
    std::array<State, kControlCount> state_{};
    Rect mainRect_;
    std::vector<Ctl> mainOrder_;  // reading order, for Tab
    std::vector<Ctl> secondOrder_;
    // The control that had the focus when each window (main, second) was left.
    std::array<HWND, 2> lastFocus_{};
    std::optional<POINT> menuAt_;  // where the popup menu opens when the keyboard opened it
    bool topmost_ = false;
    bool busy_ = false;

    ListRows list_;

    std::unique_ptr<Pictures> pictures_;
};

}  // namespace vb

// Keyboard use of the windows: Tab and Shift+Tab walk the controls in reading order, Ctrl+Tab
// and Ctrl+Shift+Tab turn the tab pages, the arrow keys move round a radio group, Space
// presses the focused button, and the dialog manager presses the focused push button on
// Enter, the window naming it its default button.
#include "platform/win32/win32_window.h"

#include <commctrl.h>

#include <algorithm>

#include "window/reading_order.h"
#include "window/window_def.h"

namespace vb {
namespace {

bool isPushButton(Kind k) { return k == Kind::Button || k == Kind::PictureButton; }

}  // namespace

Win32Window* Win32Window::owning(HWND w) {
    HWND root = w ? GetAncestor(w, GA_ROOT) : nullptr;
    if (!root) return nullptr;
    wchar_t cls[32] = {};
    GetClassNameW(root, cls, 32);
    if (wcscmp(cls, kMainClass) != 0 && wcscmp(cls, kSecondClass) != 0) return nullptr;
    return reinterpret_cast<Win32Window*>(GetWindowLongPtrW(root, GWLP_USERDATA));
}

void pumpMessages(const std::function<bool(const MSG&)>& refuse) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (refuse && refuse(msg)) continue;
        dispatchMessage(msg);
    }
}

void dispatchMessage(MSG& msg) {
    if (Win32Window* w = Win32Window::owning(msg.hwnd)) {
        if (w->navigate(msg)) return;
        if (IsDialogMessageW(GetAncestor(msg.hwnd, GA_ROOT), &msg)) return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

std::optional<Ctl> Win32Window::controlAt(HWND w) const {
    for (; w; w = GetParent(w))
        for (size_t i = 0; i < hwnd_.size(); ++i)
            if (hwnd_[i] == w) return static_cast<Ctl>(i);
    return std::nullopt;
}

// The order Tab walks follows the controls where they stand now (preview moves some).
void Win32Window::updateReadingOrder() {
    const RectOf now = [this](Ctl c) { return state_[index(c)].rect; };
    mainOrder_ = readingOrder(Ctl::主窗口, now);
    secondOrder_ = readingOrder(Ctl::感谢窗口, now);
}

// A radio group is one stop: its selected button, or its first one while none is selected.
bool Win32Window::isTabStop(Ctl c) const {
    HWND w = hwnd_[index(c)];
    if (!w || !IsWindowVisible(w) || !IsWindowEnabled(w)) return false;
    const ControlDef& d = def(c);
    if (d.kind != Kind::Radio) return GetWindowLongW(w, GWL_STYLE) & WS_TABSTOP;
    if (checked(c)) return true;
    const std::vector<Ctl> group = radioGroupOf(c);
    for (Ctl other : group)
        if (checked(other)) return false;
    return group.front() == c;
}

void Win32Window::focusControl(Ctl c) {
    HWND w = hwnd_[index(c)];
    // A text field reached with the keyboard has its text selected, ready to be typed over.
    const Kind kind = def(c).kind;
    if (kind == Kind::Edit) SendMessageW(w, EM_SETSEL, 0, -1);
    if (kind == Kind::Combo) SendMessageW(w, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    SetFocus(w);
    scrollIntoView(c);
}

void Win32Window::tabToNext(HWND root, bool backwards) {
    const auto& order = root == second_ ? secondOrder_ : mainOrder_;
    const int n = static_cast<int>(order.size());
    if (n == 0) return;
    int at = backwards ? n : -1;
    if (auto focused = controlAt(GetFocus()))
        for (int i = 0; i < n; ++i)
            if (order[static_cast<size_t>(i)] == *focused) at = i;
    for (int step = 1; step <= n; ++step) {
        const int i = ((at + (backwards ? -step : step)) % n + n) % n;
        const Ctl c = order[static_cast<size_t>(i)];
        if (isTabStop(c)) {
            focusControl(c);
            return;
        }
    }
}

void Win32Window::showPage(int page) {
    SendMessageW(hwnd_[index(Ctl::高级选择夹1)], TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    pageShown();
}

// After the pages turn, the focus never stays on a control that went out of sight.
void Win32Window::pageShown() {
    applyAllVisibility();
    HWND focus = GetFocus();
    if (focus && IsChild(main_, focus) && !IsWindowVisible(focus)) SetFocus(hwnd_[index(Ctl::高级选择夹1)]);
}

// The arrow keys move round a radio group and select the button they come to, as the dialog
// manager does with automatic radio buttons (which under Wine stops at the group's ends).
bool Win32Window::moveInRadioGroup(Ctl from, bool backwards) {
    std::vector<Ctl> group;
    for (Ctl c : mainOrder_)
        if (def(c).kind == Kind::Radio && def(c).container == def(from).container) group.push_back(c);
    const int n = static_cast<int>(group.size());
    const int at = static_cast<int>(std::find(group.begin(), group.end(), from) - group.begin());
    for (int step = 1; step < n; ++step) {
        const Ctl c = group[static_cast<size_t>(((at + (backwards ? -step : step)) % n + n) % n)];
        HWND w = hwnd_[index(c)];
        if (!w || !IsWindowVisible(w) || !IsWindowEnabled(w)) continue;
        SetFocus(w);
        scrollIntoView(c);
        if (!checked(c)) SendMessageW(w, BM_CLICK, 0, 0);
        return true;
    }
    return true;
}

// Shift+F10 and the Menu key open the list's menu at its focused row, as the right button does
// where the mouse is.
void Win32Window::openListMenuFromKeyboard() {
    HWND lv = hwnd_[index(Ctl::超级列表框1)];
    const int row =
        static_cast<int>(SendMessageW(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    RECT r{};
    if (row >= 0 && row < rowCount()) {
        if (selectedRow() != row) selectRowOnly(row);
        SendMessageW(lv, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        ListView_GetItemRect(lv, row, &r, LVIR_LABEL);
        r.top = r.bottom;
    }
    POINT at{r.left + scaled(16), r.top};
    ClientToScreen(lv, &at);
    menuAt_ = at;
    if (listener_.event) listener_.event(Ctl::超级列表框1, Event::RightClick);
    menuAt_.reset();
}

bool Win32Window::navigate(const MSG& msg) {
    const bool menuKey = (msg.message == WM_KEYDOWN && msg.wParam == VK_APPS) ||
                         ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) &&
                          msg.wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0);
    if (menuKey && controlAt(msg.hwnd) == Ctl::超级列表框1) {
        openListMenuFromKeyboard();
        return true;
    }
    if (msg.message != WM_KEYDOWN) return false;
    if (msg.wParam == VK_ESCAPE && second_ && GetAncestor(msg.hwnd, GA_ROOT) == second_) {
        closeSecondWindow();
        return true;
    }
    if (msg.wParam == VK_UP || msg.wParam == VK_DOWN || msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT) {
        auto c = controlAt(msg.hwnd);
        if (!c || def(*c).kind != Kind::Radio) return false;
        return moveInRadioGroup(*c, msg.wParam == VK_UP || msg.wParam == VK_LEFT);
    }
    if (msg.wParam != VK_TAB) return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    const bool backwards = GetKeyState(VK_SHIFT) < 0;
    if (GetKeyState(VK_CONTROL) < 0) {
        if (root != main_) return false;
        const int pages = static_cast<int>(tabPages().size());
        showPage((currentPage() + (backwards ? pages - 1 : 1)) % pages);
        return true;
    }
    tabToNext(root, backwards);
    return true;
}

// The dialog manager presses the default button on Enter: the focused push button is it.
LRESULT Win32Window::defaultButton(HWND root) const {
    auto c = controlAt(GetFocus());
    if (!c || !isPushButton(def(*c).kind) || !IsChild(root, hwnd_[index(*c)])) return 0;
    return MAKELRESULT(controlId(*c), DC_HASDEFID);
}

void Win32Window::rememberFocus(HWND window) {
    HWND focus = GetFocus();
    if (focus && IsChild(window, focus)) lastFocus_[window == second_ ? 1 : 0] = focus;
}

bool Win32Window::restoreFocus(HWND window) {
    HWND last = lastFocus_[window == second_ ? 1 : 0];
    if (!last || !IsWindow(last) || !IsChild(window, last) || !IsWindowVisible(last) ||
        !IsWindowEnabled(last))
        return false;
    SetFocus(last);
    if (const auto c = controlAt(last)) scrollIntoView(*c);
    return true;
}

void Win32Window::focusFirst(HWND window) {
    if (restoreFocus(window)) return;
    if (window == main_ && isTabStop(kFirstFocus)) focusControl(kFirstFocus);
}

}  // namespace vb

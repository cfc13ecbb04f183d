#include "platform/win32/win32_window.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <tuple>

#include "platform/win32/wide.h"
#include "platform/win32/win32_pictures.h"
#include "platform/win32/win32_tick_boxes.h"
#include "window/window_def.h"
#include "window/window_placement.h"

namespace vb {
namespace {

constexpr int kIconResource = 1;
constexpr int kComboListHeight = 200;  // the drop-down part of a combo box, logical pixels
// The square is drawn centred a pixel high: in a box no taller than the square (13 pixels in the
// definition, the square's own size) its top row is cut at 120 and 144 DPI.
constexpr int kCheckBoxMinHeight = 15;

bool hasTickGlyph(Kind k) { return k == Kind::CheckBox || k == Kind::Radio; }

// Sent when the window moves to a monitor of another scale (Windows 8.1 on).
constexpr UINT kDpiChanged = 0x02E0;

constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kScrollLine = 20;  // logical pixels per step of a scroll bar's arrow or the wheel

// The work area of the monitor the box, in pixels of the screen, is mostly on; none when the
// system cannot tell.
std::optional<ScreenBox> workAreaAt(const ScreenBox& box) {
    const RECT r{box.left, box.top, box.left + box.width, box.top + box.height};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) return std::nullopt;
    const RECT& w = info.rcWork;
    return ScreenBox{w.left, w.top, w.right - w.left, w.bottom - w.top};
}

// The box moved inside the work area of the monitor it is mostly on, and cut to its size.
ScreenBox onScreen(ScreenBox box) {
    const auto work = workAreaAt(box);
    if (!work) return box;
    box.width = std::min(box.width, work->width);
    box.height = std::min(box.height, work->height);
    return placeInWorkArea(box, *work);
}

bool isOnTabPage(Ctl c) { return tabPageOf(c).has_value(); }

std::wstring windowText(HWND w) {
    int n = GetWindowTextLengthW(w);
    std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
    buf.resize(static_cast<size_t>(std::max(GetWindowTextW(w, buf.data(), n + 1), 0)));
    return buf;
}

// Runs a change of a combo box's list that also empties its edit field, and puts back the
// field's text and caret; the text stays unselected.
template <typename Change>
void keepEditField(HWND combo, Change change) {
    const std::wstring text = windowText(combo);
    const DWORD sel = static_cast<DWORD>(SendMessageW(combo, CB_GETEDITSEL, 0, 0));
    change();
    if (windowText(combo) == text) return;
    SetWindowTextW(combo, text.c_str());
    const WORD caret = HIWORD(sel);
    SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(caret, caret));
}

// Focus rectangles and the like are drawn from the start, not only once a key was pressed.
void showFocus(HWND window) {
    SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

bool isLabel(Kind k) { return k == Kind::Label || k == Kind::TransparentLabel; }

// A label drawn under a box that covers its left edge (换成, between the two boxes it joins)
// centres its text, which would otherwise start beneath that box.
bool startsUnderABox(const ControlDef& label) {
    const Rect& l = label.rect;
    const int middle = l.top + l.height / 2;
    for (const auto& d : controlTable()) {
        const Rect& b = d.rect;
        if (d.container == label.container && (d.kind == Kind::Edit || d.kind == Kind::Combo) &&
            b.left < l.left && l.left < b.left + b.width && b.top <= middle && middle < b.top + b.height)
            return true;
    }
    return false;
}

// Labels and group boxes overlap the boxes they name or hold: each is drawn clipped by the
// controls above it (see stackForPainting), so that neither a label's background nor a group's
// frame covers a box's border or a label's strokes.
DWORD paintingStyle(const ControlDef& d) {
    DWORD style = isLabel(d.kind) || d.kind == Kind::GroupBox ? WS_CLIPSIBLINGS : 0;
    if (isLabel(d.kind) && startsUnderABox(d)) style |= SS_CENTER;
    return style;
}

bool hasWindow(Kind k) {
    return k != Kind::TabPage && k != Kind::Menu && k != Kind::MenuItem && k != Kind::Window;
}

}  // namespace

std::optional<Ctl> Win32Window::controlFromId(int id) {
    int i = id - kFirstId;
    if (i < 0 || i >= kControlCount) return std::nullopt;
    return static_cast<Ctl>(i);
}

void Win32Window::makeFonts() {
    font_ = controlFont(dpi_);
    tabFont_ = tabFont(dpi_);
}

Win32Window::Win32Window(HINSTANCE instance, Listener listener, int dpi)
    : instance_(instance), listener_(std::move(listener)), pictures_(std::make_unique<Pictures>()) {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&icc);
    monitorDpi_ = dpi > 0 ? dpi : systemDpi();
    dpi_ = monitorDpi_;
    mainRect_ = def(Ctl::主窗口).rect;
    {
        const Rect& r = mainRect_;
        const ScreenBox usual{scaled(r.left), scaled(r.top), scaled(r.width), scaled(r.height)};
        if (const auto work = workAreaAt(usual)) dpi_ = fittingDpi(monitorDpi_, r.width, r.height, *work);
    }
    makeFonts();
    noBrush_ = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));

    for (const auto& d : controlTable()) {
        State& s = state_[index(d.id)];
        s.rect = d.rect;
        s.visible = d.visible;
        s.text = d.caption;
    }
    for (Ctl c : tickedByDefinition()) state_[index(c)].checked = true;
    updateReadingOrder();

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(kIconResource));
    wc.lpszClassName = kMainClass;
    RegisterClassExW(&wc);
    wc.lpszClassName = kSecondClass;
    RegisterClassExW(&wc);

    const Rect& r = mainRect_;
    const ScreenBox at = onScreen({scaled(r.left), scaled(r.top), scaled(r.width), scaled(r.height)});
    main_ = CreateWindowExW(0, kMainClass, gbkToWideLossy(def(Ctl::主窗口).caption).c_str(), kMainStyle,
                            at.left, at.top, at.width, at.height, nullptr, nullptr, instance_, this);
    if (!main_) return;
    createControls(Ctl::主窗口, main_);
    sizeMain();  // room for a scroll bar, where it needs one

    menu_ = CreatePopupMenu();
    for (Ctl item : menuItems())
        AppendMenuW(menu_, MF_STRING, static_cast<UINT_PTR>(controlId(item)),
                    gbkToWideLossy(def(item).caption).c_str());
    applyAllVisibility();
    showFocus(main_);
    // Opened on a monitor whose scale is not the system's.
    if (const auto own = windowDpi(main_); dpi <= 0 && own && *own != monitorDpi_) applyDpi(*own);
}

void Win32Window::applyDpi(int dpi, const RECT* bounds) {
    if (dpi <= 0) return;
    monitorDpi_ = dpi;
    sizeMain(bounds);
    if (second_) {
        const Rect r = def(Ctl::感谢窗口).rect;
        SetWindowPos(second_, nullptr, 0, 0, scaled(r.width), scaled(r.height),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32Window::layOut(int dpi) {
    dpi_ = dpi;
    // The controls keep the old fonts until they have the new ones.
    FontPtr oldFont = std::move(font_), oldTabFont = std::move(tabFont_);
    makeFonts();
    for (const auto& d : controlTable()) {
        HWND w = hwnd_[index(d.id)];
        if (!w || d.kind == Kind::Window) continue;
        place(d.id);
        SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(d.kind)), TRUE);
    }
    if (HWND list = hwnd_[index(Ctl::超级列表框1)])
        for (int i = 0; i < list_.columnCount(); ++i)
            SendMessageW(list, LVM_SETCOLUMNWIDTH, i, scaled(list_.columnWidth(i)));
    oldFont.reset();
    oldTabFont.reset();
    InvalidateRect(main_, nullptr, TRUE);
}

Win32Window::~Win32Window() {
    if (second_) DestroyWindow(second_);
    if (main_ && IsWindow(main_)) {
        SetWindowLongPtrW(main_, GWLP_USERDATA, 0);
        DestroyWindow(main_);
    }
    if (menu_) DestroyMenu(menu_);
}

void Win32Window::show(int showCommand) {
    ShowWindow(main_, showCommand);
    UpdateWindow(main_);
    if (GetActiveWindow() == main_ && !controlAt(GetFocus())) focusFirst(main_);
}

HWND Win32Window::parentFor(Ctl c) const {
    if (isOnTabPage(c)) return hwnd_[index(Ctl::高级选择夹1)];
    return windowOf(c) == Ctl::感谢窗口 ? second_ : main_;
}

POINT Win32Window::originIn(Ctl c) const {
    POINT p{0, 0};
    for (Ctl up = def(c).container; def(up).kind == Kind::GroupBox || def(up).kind == Kind::TabPage;
         up = def(up).container) {
        p.x += state_[index(up)].rect.left;
        p.y += state_[index(up)].rect.top;
    }
    return p;
}

namespace {

// The window each kind of control is made as.
struct KindClass {
    Kind kind;
    const wchar_t* cls;
    DWORD style;  // beside WS_CHILD, and WS_GROUP where a group starts
    DWORD ex;
};
constexpr KindClass kKindClasses[] = {
    {Kind::Button, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {Kind::PictureButton, L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, 0},
    {Kind::CheckBox, L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    // Automatic, so that the arrow keys select as they move through the group.
    {Kind::Radio, L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 0},
    {Kind::GroupBox, L"BUTTON", BS_GROUPBOX, WS_EX_TRANSPARENT},
    {Kind::Combo, L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0},
    {Kind::Edit, L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
    {Kind::Label, L"STATIC", SS_LEFT | SS_NOPREFIX, 0},
    {Kind::TransparentLabel, L"STATIC", SS_LEFT | SS_NOPREFIX, WS_EX_TRANSPARENT},
    {Kind::PictureBox, L"STATIC", SS_OWNERDRAW, 0},
    {Kind::TabControl, WC_TABCONTROLW, WS_TABSTOP, 0},
    {Kind::ListView, WC_LISTVIEWW,
     LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL | WS_TABSTOP | WS_CLIPSIBLINGS,
     WS_EX_CLIENTEDGE},
};

KindClass classOf(Kind k) {
    for (const KindClass& c : kKindClasses)
        if (c.kind == k) return c;
    return {k, L"BUTTON", 0, 0};
}

// The WM_COMMAND notifications that are the program's events; a radio button's click too,
// since the program checks the clicked one of its group itself.
struct KindNotification {
    Kind kind;
    WORD code;
    Event event;
};
constexpr KindNotification kNotifications[] = {
    {Kind::Button, BN_CLICKED, Event::Click},         {Kind::PictureButton, BN_CLICKED, Event::Click},
    {Kind::CheckBox, BN_CLICKED, Event::Click},       {Kind::Radio, BN_CLICKED, Event::Click},
    {Kind::Edit, EN_SETFOCUS, Event::GotFocus},       {Kind::Combo, CBN_SELCHANGE, Event::ItemChosen},
    {Kind::Combo, CBN_EDITCHANGE, Event::TextEdited}, {Kind::Combo, CBN_DROPDOWN, Event::ListOpening},
};

}  // namespace

void Win32Window::createControls(Ctl window, HWND parent) {
    for (const auto& d : controlTable()) {
        if (windowOf(d.id) != window || !hasWindow(d.kind)) continue;
        const KindClass kc = classOf(d.kind);
        DWORD style = WS_CHILD | kc.style;
        // Groups for the dialog manager's arrow keys: each radio group, and every other control
        // a group of its own.
        if (d.kind != Kind::Radio || radioGroupOf(d.id).front() == d.id) style |= WS_GROUP;
        style |= paintingStyle(d);
        HWND p = isOnTabPage(d.id) ? hwnd_[index(Ctl::高级选择夹1)] : parent;
        POINT o = originIn(d.id);
        const Rect& r = state_[index(d.id)].rect;
        HWND w = CreateWindowExW(kc.ex, kc.cls, gbkToWideLossy(state_[index(d.id)].text).c_str(), style,
                                 scaled(o.x + r.left), scaled(o.y + r.top), scaled(r.width), heightOf(d.id),
                                 p, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(d.id))), instance_,
                                 nullptr);
        hwnd_[index(d.id)] = w;
        if (!w) continue;
        SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(d.kind)), FALSE);
        if (d.kind == Kind::Radio || d.kind == Kind::CheckBox)
            SendMessageW(w, BM_SETCHECK, state_[index(d.id)].checked ? BST_CHECKED : BST_UNCHECKED, 0);
        if (d.kind == Kind::TabControl) createTabPages();
        if (d.kind == Kind::ListView) {
            ListView_SetExtendedListViewStyle(w,
                                              LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
            LVCOLUMNW col{};
            col.mask = LVCF_TEXT | LVCF_WIDTH;
            std::wstring title = gbkToWideLossy(list_.columnTitle(0));
            col.pszText = title.data();
            col.cx = scaled(list_.columnWidth(0));
            SendMessageW(w, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col));
        }
    }
    for (const auto& combo : comboDefinitions()) {
        if (windowOf(combo.id) != window) continue;
        for (const char* item : combo.items) addItem(combo.id, item);
        setSelection(combo.id, combo.shown);
    }
    stackForPainting(window);
    if (window == Ctl::主窗口) {
        // The buttons over the list above it.
        for (Ctl c : onTheList())
            SetWindowPos(hwnd_[index(c)], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        // Controls inside the tab control forward their notifications to the main window.
        SetWindowSubclass(hwnd_[index(Ctl::高级选择夹1)], tabForwardProc, 1,
                          reinterpret_cast<DWORD_PTR>(this));
    }
}

// Labels go beneath the boxes, group boxes beneath everything they hold.
void Win32Window::stackForPainting(Ctl window) {
    for (bool groups : {false, true})
        for (const auto& d : controlTable())
            if (windowOf(d.id) == window && hwnd_[index(d.id)] &&
                (groups ? d.kind == Kind::GroupBox : isLabel(d.kind)))
                SetWindowPos(hwnd_[index(d.id)], HWND_BOTTOM, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Window::createTabPages() {
    HWND tab = hwnd_[index(Ctl::高级选择夹1)];
    int i = 0;
    for (Ctl page : tabPages()) {
        std::wstring caption = gbkToWideLossy(def(page).caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(i++), reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(tab, TCM_SETCURSEL, 0, 0);
}

int Win32Window::currentPage() const {
    return static_cast<int>(SendMessageW(hwnd_[index(Ctl::高级选择夹1)], TCM_GETCURSEL, 0, 0));
}

int Win32Window::pageIndexOf(Ctl c) {
    const auto page = tabPageOf(c);
    return page ? tabIndexOf(*page) : -1;
}

void Win32Window::selectPageOf(Ctl c) {
    const int page = pageIndexOf(c);
    if (page < 0 || page == currentPage()) return;
    SendMessageW(hwnd_[index(Ctl::高级选择夹1)], TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    pageShown();
}

bool Win32Window::shownNow(Ctl c) const {
    if (!state_[index(c)].visible) return false;
    for (Ctl up = def(c).container; def(up).kind != Kind::Window; up = def(up).container) {
        if (def(up).kind == Kind::TabPage) {
            if (tabIndexOf(up) != currentPage()) return false;
        } else if (!state_[index(up)].visible) {
            return false;
        }
    }
    return true;
}

void Win32Window::applyVisibility(Ctl c) {
    if (HWND w = hwnd_[index(c)]) ShowWindow(w, shownNow(c) ? SW_SHOWNA : SW_HIDE);
}

void Win32Window::applyAllVisibility() {
    for (const auto& d : controlTable())
        if (hwnd_[index(d.id)]) applyVisibility(d.id);
}

void Win32Window::place(Ctl c) {
    HWND w = hwnd_[index(c)];
    if (!w) return;
    POINT o = originIn(c);
    const Rect& r = state_[index(c)].rect;
    // What lies on the tab control moves with it.
    const POINT by = parentFor(c) == main_ ? scroll_ : POINT{0, 0};
    SetWindowPos(w, nullptr, scaled(o.x + r.left) - by.x, scaled(o.y + r.top) - by.y, scaled(r.width),
                 heightOf(c), SWP_NOZORDER | SWP_NOACTIVATE);
}

int Win32Window::heightOf(Ctl c) const {
    const int h = state_[index(c)].rect.height;
    switch (def(c).kind) {
        case Kind::Combo:
            return scaled(h + kComboListHeight);
        case Kind::CheckBox:
            // The square is drawn at the layout's scale (onCustomDraw), as the box is.
            return std::max(scaled(h), scaled(kCheckBoxMinHeight));
        default:
            return scaled(h);
    }
}

// ---- Scrolling, where the window does not fit its screen even at 96 DPI --------------------

SIZE Win32Window::contentSize() const {
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, kMainStyle, FALSE, 0);
    return {scaled(mainRect_.width) - (frame.right - frame.left),
            scaled(mainRect_.height) - (frame.bottom - frame.top)};
}

void Win32Window::updateScrollBars() {
    if (!main_ || updatingScroll_) return;
    updatingScroll_ = true;
    const SIZE content = contentSize();
    // Showing one bar narrows the client area, which may call for the other: settle first.
    for (int round = 0; round < 3; ++round) {
        RECT client{};
        GetClientRect(main_, &client);
        for (auto [bar, size, page] : {std::tuple{SB_HORZ, content.cx, client.right},
                                       std::tuple{SB_VERT, content.cy, client.bottom}}) {
            SCROLLINFO si{};
            si.cbSize = sizeof si;
            si.fMask = SIF_RANGE | SIF_PAGE;
            si.nMax = size - 1;
            si.nPage = static_cast<UINT>(std::max<LONG>(page, 0));
            SetScrollInfo(main_, bar, &si, TRUE);
        }
        RECT now{};
        GetClientRect(main_, &now);
        if (now.right == client.right && now.bottom == client.bottom) break;
    }
    updatingScroll_ = false;
    RECT client{};
    GetClientRect(main_, &client);
    scrollTo(std::clamp<int>(scroll_.x, 0, std::max<int>(content.cx - client.right, 0)),
             std::clamp<int>(scroll_.y, 0, std::max<int>(content.cy - client.bottom, 0)));
}

void Win32Window::scrollTo(int x, int y) {
    const SIZE content = contentSize();
    RECT client{};
    GetClientRect(main_, &client);
    x = std::clamp<int>(x, 0, std::max<int>(content.cx - client.right, 0));
    y = std::clamp<int>(y, 0, std::max<int>(content.cy - client.bottom, 0));
    if (x == scroll_.x && y == scroll_.y) return;
    scroll_ = {x, y};
    SetScrollPos(main_, SB_HORZ, x, TRUE);
    SetScrollPos(main_, SB_VERT, y, TRUE);
    for (const auto& d : controlTable())
        if (hwnd_[index(d.id)] && parentFor(d.id) == main_) place(d.id);
    InvalidateRect(main_, nullptr, TRUE);
}

void Win32Window::onScroll(int bar, int request) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(main_, bar, &si);
    int pos = si.nPos;
    const int page = static_cast<int>(si.nPage);
    switch (request) {
        case SB_LINEUP:
            pos -= scaled(kScrollLine);
            break;
        case SB_LINEDOWN:
            pos += scaled(kScrollLine);
            break;
        case SB_PAGEUP:
            pos -= page;
            break;
        case SB_PAGEDOWN:
            pos += page;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            pos = si.nTrackPos;
            break;
        case SB_TOP:
            pos = si.nMin;
            break;
        case SB_BOTTOM:
            pos = si.nMax;
            break;
        default:
            return;
    }
    if (bar == SB_HORZ)
        scrollTo(pos, scroll_.y);
    else
        scrollTo(scroll_.x, pos);
}

void Win32Window::scrollIntoView(Ctl c) {
    HWND w = hwnd_[index(c)];
    if (!w || !main_ || windowOf(c) != Ctl::主窗口) return;
    RECT r{}, client{};
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&r), 2);
    GetClientRect(main_, &client);
    // A combo box's window holds its drop-down part: its field is what must show.
    if (def(c).kind == Kind::Combo) r.bottom = r.top + scaled(state_[index(c)].rect.height);
    const int margin = scaled(4);
    // How far to scroll along one direction: its end into view, but its start first.
    auto along = [margin](LONG start, LONG end, LONG size) {
        LONG by = end > size ? end - size + margin : 0;
        if (start - by < 0) by = start - margin;
        return static_cast<int>(by);
    };
    const int dx = r.left < 0 || r.right > client.right ? along(r.left, r.right, client.right) : 0;
    const int dy = r.top < 0 || r.bottom > client.bottom ? along(r.top, r.bottom, client.bottom) : 0;
    scrollTo(scroll_.x + dx, scroll_.y + dy);
}

// ---- Messages -----------------------------------------------------------------------------

LRESULT CALLBACK Win32Window::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->handle(hwnd, msg, wp, lp);
}

LRESULT CALLBACK Win32Window::tabForwardProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                             DWORD_PTR data) {
    auto* self = reinterpret_cast<Win32Window*>(data);
    switch (msg) {
        case WM_NOTIFY: {
            // The check boxes and radio buttons on the pages are drawn by the main window too.
            const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
            const auto from = self->controlAt(hdr->hwndFrom);
            if (self->main_ && hdr->code == NM_CUSTOMDRAW && from && *from != Ctl::高级选择夹1)
                return SendMessageW(self->main_, msg, wp, lp);
            break;
        }
        case WM_COMMAND:
        case WM_DRAWITEM:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
            if (self->main_) return SendMessageW(self->main_, msg, wp, lp);
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, tabForwardProc, 1);
            break;
        default:
            break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT Win32Window::handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case DM_GETDEFID:
            return defaultButton(hwnd);
        case WM_ACTIVATE:
            // A window that is not a dialog gets the focus itself when it comes back to the
            // front; the control that had it gets it again.
            if (LOWORD(wp) == WA_INACTIVE) {
                rememberFocus(hwnd);
            } else if (!HIWORD(wp)) {
                focusFirst(hwnd);
                if (IsChild(hwnd, GetFocus())) return 0;
            }
            break;
        case WM_COMMAND:
            if (onCommand(hwnd, wp, lp)) return 0;
            break;
        case WM_NOTIFY:
            return onNotify(reinterpret_cast<NMHDR*>(lp));
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return onColor(hwnd, msg, wp, lp);
        case WM_DRAWITEM:
            onDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case kDpiChanged:
            if (hwnd == main_) applyDpi(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
            return 0;
        // Another work area, screen or monitor: the window fits itself to it again.
        case WM_SETTINGCHANGE:
            if (hwnd == main_ && wp == SPI_SETWORKAREA) sizeMain();
            break;
        case WM_DISPLAYCHANGE:
            if (hwnd == main_) sizeMain();
            break;
        case WM_EXITSIZEMOVE:
            if (hwnd == main_ && MonitorFromWindow(main_, MONITOR_DEFAULTTONEAREST) != monitor_) sizeMain();
            break;
        case WM_SIZE:
            if (hwnd == main_ && wp != SIZE_MINIMIZED) updateScrollBars();
            break;
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (hwnd != main_ || lp != 0) break;
            onScroll(msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wp));
            return 0;
        case WM_MOUSEWHEEL:
            if (hwnd == main_) {
                SCROLLINFO si{};
                si.cbSize = sizeof si;
                si.fMask = SIF_RANGE | SIF_PAGE;
                GetScrollInfo(main_, SB_VERT, &si);
                const bool vertical = si.nMax >= static_cast<int>(si.nPage);
                const int by = -GET_WHEEL_DELTA_WPARAM(wp) * 3 * scaled(kScrollLine) / WHEEL_DELTA;
                if (vertical)
                    scrollTo(scroll_.x, scroll_.y + by);
                else
                    scrollTo(scroll_.x + by, scroll_.y);
                return 0;
            }
            break;
        case WM_CLOSE:
            if (hwnd == second_) {
                closeSecondWindow();
                return 0;
            }
            if (busy_) return 0;  // an operation is running: it finishes first
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            if (hwnd == main_) {
                if (second_) closeSecondWindow();
                if (listener_.event) listener_.event(Ctl::主窗口, Event::Closing);
                if (listener_.destroyed) listener_.destroyed();
            }
            break;
        case WM_NCDESTROY:
            if (hwnd == main_) {
                for (auto& h : hwnd_)
                    if (windowOf(static_cast<Ctl>(&h - hwnd_.data())) == Ctl::主窗口) h = nullptr;
                main_ = nullptr;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool Win32Window::onCommand(HWND, WPARAM wp, LPARAM lp) {
    const int id = LOWORD(wp);
    const int code = HIWORD(wp);
    auto c = controlFromId(id);
    if (!c || !listener_.event) return false;
    if (lp == 0) {  // a menu item
        if (def(*c).kind != Kind::MenuItem) return false;
        listener_.event(*c, Event::MenuChosen);
        return true;
    }
    for (const KindNotification& n : kNotifications) {
        if (n.kind != def(*c).kind || n.code != code) continue;
        // The system puts the chosen item into the edit field only after this notification;
        // the handler reads the field, so it gets the item now.
        if (n.event == Event::ItemChosen) showChosenItem(*c);
        listener_.event(*c, n.event);
        return true;
    }
    return false;
}

LRESULT Win32Window::onNotify(NMHDR* hdr) {
    if (hdr->code == NM_CUSTOMDRAW && hdr->hwndFrom != hwnd_[index(Ctl::超级列表框1)])
        return onCustomDraw(*reinterpret_cast<NMCUSTOMDRAW*>(hdr));
    if (hdr->hwndFrom == hwnd_[index(Ctl::高级选择夹1)]) {
        if (hdr->code == TCN_SELCHANGE) pageShown();
        return 0;
    }
    if (hdr->hwndFrom != hwnd_[index(Ctl::超级列表框1)]) return 0;
    switch (hdr->code) {
        case LVN_GETDISPINFOW: {
            auto* info = reinterpret_cast<NMLVDISPINFOW*>(hdr);
            LVITEMW& item = info->item;
            if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
                std::wstring w = gbkToWideLossy(cell(item.iItem, item.iSubItem));
                size_t n = std::min<size_t>(w.size(), static_cast<size_t>(item.cchTextMax - 1));
                std::copy_n(w.data(), n, item.pszText);
                item.pszText[n] = L'\0';
            }
            return 0;
        }
        case NM_CLICK:
            if (listener_.event) listener_.event(Ctl::超级列表框1, Event::LeftClick);
            return 0;
        case NM_RCLICK:
            if (listener_.event) listener_.event(Ctl::超级列表框1, Event::RightClick);
            return 0;
        default:
            return 0;
    }
}

LRESULT Win32Window::onColor(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    HDC dc = reinterpret_cast<HDC>(wp);
    auto c = controlFromId(GetDlgCtrlID(reinterpret_cast<HWND>(lp)));
    LRESULT brush = DefWindowProcW(hwnd, msg, wp, lp);
    if (!c) return brush;
    const State& s = state_[index(*c)];
    if (s.color != kDefaultColor)
        SetTextColor(dc, RGB((s.color >> 16) & 0xFF, (s.color >> 8) & 0xFF, s.color & 0xFF));
    const Kind kind = def(*c).kind;
    if (kind == Kind::GroupBox) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(noBrush_);
    }
    // Labels, check boxes and radio buttons show what lies beneath them: the tab page's body
    // or the window, whichever look the system gives those.
    if (msg == WM_CTLCOLORSTATIC && (kind == Kind::TransparentLabel || isOnTabPage(*c))) {
        DrawThemeParentBackground(reinterpret_cast<HWND>(lp), dc, nullptr);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(noBrush_);
    }
    return brush;
}

// Laid out smaller than its monitor's scale, the window draws its check boxes and radio buttons
// itself: the system would draw their glyphs at the monitor's scale, over the box below.
LRESULT Win32Window::onCustomDraw(const NMCUSTOMDRAW& cd) {
    const auto c = controlAt(cd.hdr.hwndFrom);
    if (!c || !hasTickGlyph(def(*c).kind) || cd.hdr.hwndFrom != hwnd_[index(*c)] || dpi_ >= monitorDpi_)
        return CDRF_DODEFAULT;
    // Before the system erases: with a theme it draws the glyph with the background. A system
    // that goes on regardless is asked again before it paints.
    if (cd.dwDrawStage != CDDS_PREERASE && cd.dwDrawStage != CDDS_PREPAINT) return CDRF_DODEFAULT;
    paintTickBox(cd.hdr.hwndFrom, cd.hdc, dpi_, monitorDpi_);
    return CDRF_SKIPDEFAULT;
}

void Win32Window::onDrawItem(const DRAWITEMSTRUCT* di) {
    auto c = controlFromId(static_cast<int>(di->CtlID));
    if (!c) return;
    RECT r = di->rcItem;
    if (def(*c).kind == Kind::PictureButton) {
        const bool pressed = di->itemState & ODS_SELECTED;
        DrawFrameControl(di->hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
        InflateRect(&r, -2, -2);
        if (pressed) OffsetRect(&r, 1, 1);
    }
    pictures_->draw(*c, di->hDC, r);
    if (def(*c).kind == Kind::PictureButton && (di->itemState & ODS_FOCUS) &&
        !(SendMessageW(di->hwndItem, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS))
        DrawFocusRect(di->hDC, &r);
}

// ---- Controls -----------------------------------------------------------------------------

std::string Win32Window::text(Ctl c) const {
    HWND w = hwnd_[index(c)];
    if (!w) return state_[index(c)].text;
    return wideToGbkLossy(windowText(w));
}

void Win32Window::setText(Ctl c, const std::string& s) {
    state_[index(c)].text = s;
    if (HWND w = hwnd_[index(c)]) {
        const std::wstring wide = gbkToWideLossy(s);
        // Setting a text puts the caret before it: an edit field that already shows the text
        // (a combo box's, rebuilt while the user types) is left alone.
        if (def(c).kind == Kind::Combo && windowText(w) == wide) return;
        SetWindowTextW(w, wide.c_str());
        // A transparent label leaves its old text behind unless the parent repaints there.
        if (def(c).kind == Kind::TransparentLabel) {
            RECT r;
            GetWindowRect(w, &r);
            MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
            InvalidateRect(GetParent(w), &r, TRUE);
        }
    }
}

bool Win32Window::checked(Ctl c) const {
    HWND w = hwnd_[index(c)];
    if (!w) return state_[index(c)].checked;
    return SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Window::setChecked(Ctl c, bool on) {
    state_[index(c)].checked = on;
    if (HWND w = hwnd_[index(c)]) SendMessageW(w, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::vector<std::string> Win32Window::items(Ctl c) const {
    std::vector<std::string> out;
    HWND w = hwnd_[index(c)];
    if (!w) return out;
    int n = static_cast<int>(SendMessageW(w, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        int len = static_cast<int>(SendMessageW(w, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0));
        std::wstring buf(static_cast<size_t>(std::max(len, 0)) + 1, L'\0');
        SendMessageW(w, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf.data()));
        buf.resize(wcslen(buf.c_str()));
        out.push_back(wideToGbkLossy(buf));
    }
    return out;
}

void Win32Window::clearItems(Ctl c) {
    HWND w = hwnd_[index(c)];
    if (!w) return;
    // Emptying the list also empties the edit field; the typed text stays, the caret too.
    keepEditField(w, [w] { SendMessageW(w, CB_RESETCONTENT, 0, 0); });
}

void Win32Window::showChosenItem(Ctl c) {
    HWND w = hwnd_[index(c)];
    const int chosen = w ? static_cast<int>(SendMessageW(w, CB_GETCURSEL, 0, 0)) : -1;
    if (chosen < 0) return;
    auto all = items(c);
    if (static_cast<size_t>(chosen) < all.size()) setText(c, all[static_cast<size_t>(chosen)]);
}

void Win32Window::addItem(Ctl c, const std::string& item) {
    if (HWND w = hwnd_[index(c)])
        SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(gbkToWideLossy(item).c_str()));
}

int Win32Window::selection(Ctl c) const {
    HWND w = hwnd_[index(c)];
    if (!w) return -1;
    return static_cast<int>(SendMessageW(w, CB_GETCURSEL, 0, 0));
}

void Win32Window::setSelection(Ctl c, int index) {
    HWND w = hwnd_[this->index(c)];
    if (!w) return;
    int count = static_cast<int>(SendMessageW(w, CB_GETCOUNT, 0, 0));
    if (index >= 0 && index < count) {
        SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        return;
    }
    // No selection, but the edit field keeps its text and caret.
    keepEditField(w, [w] { SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(-1), 0); });
}

bool Win32Window::visible(Ctl c) const {
    if (windowOf(c) == Ctl::感谢窗口 && !second_) return false;
    return state_[index(c)].visible;
}

void Win32Window::setVisible(Ctl c, bool on) {
    state_[index(c)].visible = on;
    if (def(c).kind == Kind::GroupBox || def(c).kind == Kind::TabControl) {
        applyAllVisibility();
    } else {
        applyVisibility(c);
    }
}

Rect Win32Window::rect(Ctl c) const {
    if (c == Ctl::主窗口) return mainRect_;
    return state_[index(c)].rect;
}

void Win32Window::move(Ctl c, int left, int top) {
    if (c == Ctl::主窗口) {
        mainRect_.left = left;
        mainRect_.top = top;
        SetWindowPos(main_, nullptr, scaled(left), scaled(top), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    state_[index(c)].rect.left = left;
    state_[index(c)].rect.top = top;
    place(c);
    if (def(c).kind == Kind::GroupBox)
        for (const auto& d : controlTable())
            if (originIn(d.id).x != 0 || originIn(d.id).y != 0) place(d.id);
    updateReadingOrder();
}

void Win32Window::setWidth(Ctl c, int width) {
    if (c == Ctl::主窗口) {
        setWindowWidth(width);
        return;
    }
    state_[index(c)].rect.width = width;
    place(c);
    updateReadingOrder();
}

void Win32Window::setTextColor(Ctl c, std::uint32_t color) {
    state_[index(c)].color = color;
    if (HWND w = hwnd_[index(c)]) InvalidateRect(w, nullptr, TRUE);
}

std::uint32_t Win32Window::textColor(Ctl c) const { return state_[index(c)].color; }

// ---- The name list: a virtual list view over list_ ----------------------------------------

void Win32Window::refreshList() {
    HWND lv = hwnd_[index(Ctl::超级列表框1)];
    if (!lv) return;
    SendMessageW(lv, LVM_SETITEMCOUNT, list_.rowCount(), LVSICF_NOSCROLL);
    InvalidateRect(lv, nullptr, FALSE);
}

int Win32Window::rowCount() const { return list_.rowCount(); }

std::string Win32Window::cell(int row, int col) const { return list_.cell(row, col); }

void Win32Window::setCell(int row, int col, const std::string& s) {
    if (!list_.setCell(row, col, s)) return;
    if (HWND lv = hwnd_[index(Ctl::超级列表框1)]) SendMessageW(lv, LVM_REDRAWITEMS, row, row);
}

void Win32Window::appendRows(std::vector<std::string> col0) {
    list_.appendRows(std::move(col0));
    refreshList();
}

void Win32Window::deleteRow(int row) {
    const int sel = selectedRow();
    if (!list_.deleteRow(row)) return;
    refreshList();
    // The list view keeps selection by index; follow the row that was selected.
    if (sel == row)
        selectRowOnly(-1);
    else if (sel > row)
        selectRowOnly(sel - 1);
}

void Win32Window::clearRows() {
    list_.clearRows();
    selectRowOnly(-1);
    refreshList();
}

int Win32Window::columnCount() const { return list_.columnCount(); }

std::string Win32Window::columnTitle(int col) const { return list_.columnTitle(col); }

void Win32Window::setColumnTitle(int col, const std::string& title) {
    if (!list_.setColumnTitle(col, title)) return;
    std::wstring w = gbkToWideLossy(title);
    LVCOLUMNW lc{};
    lc.mask = LVCF_TEXT;
    lc.pszText = w.data();
    SendMessageW(hwnd_[index(Ctl::超级列表框1)], LVM_SETCOLUMNW, static_cast<WPARAM>(col),
                 reinterpret_cast<LPARAM>(&lc));
}

void Win32Window::insertColumn(int col, const std::string& title, int width) {
    col = list_.insertColumn(col, title, width);
    std::wstring w = gbkToWideLossy(title);
    LVCOLUMNW lc{};
    lc.mask = LVCF_TEXT | LVCF_WIDTH;
    lc.pszText = w.data();
    lc.cx = scaled(width);
    SendMessageW(hwnd_[index(Ctl::超级列表框1)], LVM_INSERTCOLUMNW, static_cast<WPARAM>(col),
                 reinterpret_cast<LPARAM>(&lc));
    refreshList();
}

void Win32Window::deleteColumn(int col) {
    if (!list_.deleteColumn(col)) return;
    SendMessageW(hwnd_[index(Ctl::超级列表框1)], LVM_DELETECOLUMN, static_cast<WPARAM>(col), 0);
    refreshList();
}

int Win32Window::selectedRow() const {
    HWND lv = hwnd_[index(Ctl::超级列表框1)];
    if (!lv) return -1;
    int sel = static_cast<int>(SendMessageW(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return sel < rowCount() ? sel : -1;
}

void Win32Window::selectRowOnly(int row) {
    HWND lv = hwnd_[index(Ctl::超级列表框1)];
    if (!lv) return;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    SendMessageW(lv, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    if (row < 0 || row >= rowCount()) return;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(lv, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void Win32Window::showPopupMenu() {
    if (listener_.popupMenu && listener_.popupMenu()) return;
    POINT p;
    if (menuAt_)
        p = *menuAt_;
    else
        GetCursorPos(&p);
    // The chosen item arrives later as a WM_COMMAND, once this operation has returned.
    TrackPopupMenu(menu_, TPM_RIGHTBUTTON | TPM_LEFTALIGN, p.x, p.y, 0, main_, nullptr);
}

// ---- The main window and the second window ------------------------------------------------

void Win32Window::setWindowWidth(int width) {
    mainRect_.width = width;
    sizeMain();
}

// A window grown beyond the screen's edge moves back inside; one that does not fit at its
// monitor's scale is laid out at a smaller one, and scrolls where even 96 DPI does not fit.
void Win32Window::sizeMain(const RECT* from) {
    RECT now{};
    if (!from) GetWindowRect(main_, &now);
    const RECT& r = from ? *from : now;
    auto at = [&] { return ScreenBox{r.left, r.top, scaled(mainRect_.width), scaled(mainRect_.height)}; };
    ScreenBox size = at();
    if (const auto work = workAreaAt(size)) {
        const int fit = fittingDpi(monitorDpi_, mainRect_.width, mainRect_.height, *work);
        if (fit != dpi_) layOut(fit);
        size = at();
        // A window that scrolls one way takes room for that bar the other way, where the screen
        // has it, so that it need not scroll both ways.
        const int vbar = GetSystemMetrics(SM_CXVSCROLL), hbar = GetSystemMetrics(SM_CYHSCROLL);
        const bool tooTall = size.height > work->height, tooWide = size.width > work->width;
        if (tooTall && !tooWide) size.width = std::min(size.width + vbar, work->width);
        if (tooWide && !tooTall) size.height = std::min(size.height + hbar, work->height);
    }
    const ScreenBox placed = onScreen(size);
    const RECT box{placed.left, placed.top, placed.left + placed.width, placed.top + placed.height};
    monitor_ = MonitorFromRect(&box, MONITOR_DEFAULTTONEAREST);
    SetWindowPos(main_, nullptr, placed.left, placed.top, placed.width, placed.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | (IsIconic(main_) ? SWP_NOMOVE : 0));
    updateScrollBars();
}

void Win32Window::setTopmost(bool on) {
    const bool changed = on != topmost_;
    topmost_ = on;
    SetWindowPos(main_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (changed && listener_.topmostChanged) listener_.topmostChanged(on);
}

void Win32Window::openSecondWindow() {
    if (second_) {
        SetForegroundWindow(second_);
        return;
    }
    const Rect r = def(Ctl::感谢窗口).rect;
    const ScreenBox at = onScreen({scaled(r.left), scaled(r.top), scaled(r.width), scaled(r.height)});
    second_ = CreateWindowExW(0, kSecondClass, gbkToWideLossy(def(Ctl::感谢窗口).caption).c_str(),
                              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, at.left, at.top, at.width, at.height,
                              main_, nullptr, instance_, this);
    if (!second_) return;
    createControls(Ctl::感谢窗口, second_);
    for (const auto& d : controlTable())
        if (windowOf(d.id) == Ctl::感谢窗口 && hwnd_[index(d.id)]) applyVisibility(d.id);
    showFocus(second_);
    ShowWindow(second_, SW_SHOWNORMAL);
    if (listener_.secondWindowChanged) listener_.secondWindowChanged(true);
}

void Win32Window::closeSecondWindow() {
    if (!second_) return;
    HWND w = second_;
    second_ = nullptr;
    for (const auto& d : controlTable())
        if (windowOf(d.id) == Ctl::感谢窗口 && d.id != Ctl::感谢窗口) {
            if (HWND h = hwnd_[index(d.id)]) state_[index(d.id)].text = wideToGbkLossy(windowText(h));
            hwnd_[index(d.id)] = nullptr;
        }
    const bool wasActive = GetForegroundWindow() == w;
    DestroyWindow(w);
    // The main window takes the focus back, on the control that had it.
    if (wasActive && main_) {
        SetForegroundWindow(main_);
        if (!controlAt(GetFocus())) focusFirst(main_);
    }
    if (listener_.secondWindowChanged) listener_.secondWindowChanged(false);
}

}  // namespace vb

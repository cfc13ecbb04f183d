#include "drive_frontend.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>

#include "platform/encoding.h"
#include "platform/win32/wide.h"
#include "window/window_def.h"

namespace vb {
namespace {

// Hook procedures get no context of their own; one answerer serves the thread at a time.
thread_local ModalAnswerer* activeAnswerer = nullptr;

constexpr int kMessageTextId = 0xFFFF;
constexpr int kIconIds[] = {20, 0x0440};  // Windows' and Wine's message box icon

std::wstring windowText(HWND w) {
    int n = GetWindowTextLengthW(w);
    std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
    buf.resize(static_cast<size_t>(std::max(GetWindowTextW(w, buf.data(), n + 1), 0)));
    return buf;
}

std::wstring className(HWND w) {
    wchar_t buf[64] = {};
    GetClassNameW(w, buf, 64);
    return buf;
}

bool hasIcon(HWND box) {
    for (int id : kIconIds) {
        HWND icon = GetDlgItem(box, id);
        if (icon && (GetWindowLongW(icon, GWL_STYLE) & WS_VISIBLE) && SendMessageW(icon, STM_GETICON, 0, 0))
            return true;
    }
    return false;
}

// Paths as the shell spells them: either separator, any case, no trailing separator but a root's.
bool samePath(std::wstring a, std::wstring b) {
    for (auto* s : {&a, &b}) {
        std::replace(s->begin(), s->end(), L'/', L'\\');
        while (s->size() > 3 && s->back() == L'\\') s->pop_back();
    }
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

RECT windowRect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

// The first row in view and how many rows fit.
std::function<std::pair<int, int>()> listViewView(HWND lv) {
    return [lv] {
        return std::pair<int, int>{
            static_cast<int>(SendMessageW(lv, LVM_GETTOPINDEX, 0, 0)),
            std::max(1, static_cast<int>(SendMessageW(lv, LVM_GETCOUNTPERPAGE, 0, 0)))};
    };
}

COMBOBOXINFO comboInfo(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo, &info);
    return info;
}

// A point of the rect where a click reaches the window (or a window inside it): the middle
// when nothing lies over it there, else the nearest such point.
constexpr int kMaxTabPresses = 400;  // more than the window has controls

std::optional<POINT> reachablePoint(HWND w, const RECT& r) {
    auto reaches = [w](POINT p) {
        HWND hit = WindowFromPoint(p);
        return hit == w || IsChild(w, hit);
    };
    const POINT mid{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    if (reaches(mid)) return mid;
    std::optional<POINT> best;
    long bestDistance = 0;
    for (LONG y = r.top + 1; y < r.bottom - 1; y += 2)
        for (LONG x = r.left + 1; x < r.right - 1; x += 2) {
            const long d = (x - mid.x) * (x - mid.x) + (y - mid.y) * (y - mid.y);
            if ((!best || d < bestDistance) && reaches({x, y})) {
                best = POINT{x, y};
                bestDistance = d;
            }
        }
    return best;
}

void pressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace

ModalAnswerer::ModalAnswerer(Answers& answers, Transcript& transcript)
    : answers_(answers), transcript_(transcript) {
    activeAnswerer = this;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, hookProc, nullptr, GetCurrentThreadId());
}

ModalAnswerer::~ModalAnswerer() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (activeAnswerer == this) activeAnswerer = nullptr;
}

void ModalAnswerer::expectBrowse(std::optional<std::wstring> folder) {
    browsePending_ = true;
    browser_ = nullptr;
    browseFolder_ = std::move(folder);
    browseSelection_.clear();
    browseMissed_ = false;
    browseTitle_.clear();
}

LRESULT CALLBACK ModalAnswerer::hookProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && activeAnswerer) {
        const auto* msg = reinterpret_cast<const CWPRETSTRUCT*>(lp);
        if (msg->message == WM_INITDIALOG && className(msg->hwnd) == L"#32770")
            activeAnswerer->onDialog(msg->hwnd);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

void ModalAnswerer::onDialog(HWND dialog) {
    if (leftToPerson_) return;
    if (boxPending_ && GetDlgItem(dialog, kMessageTextId)) {
        boxPending_ = false;
        answerBox(dialog);
    } else if (browsePending_ || dialog == browser_) {
        // The browser is steered from its own callback.
    } else {
        decline(dialog);
    }
}

void ModalAnswerer::decline(HWND dialog) {
    // A dialog inside another (a page of a browser) is its parent's business.
    if (GetWindowLongW(dialog, GWL_STYLE) & WS_CHILD) return;
    pressButton(dialog, GetDlgItem(dialog, IDNO) ? IDNO : IDCANCEL);
}

void ModalAnswerer::answerBox(HWND box) {
    const Buttons buttons = GetDlgItem(box, IDCANCEL) ? Buttons::OkCancel : Buttons::Ok;
    const int answer = takeBoxAnswer(answers_, buttons);
    transcript_.box(wideToGbkLossy(windowText(box)), hasIcon(box) ? Icon::Info : Icon::None, buttons,
                    wideToGbkLossy(windowText(GetDlgItem(box, kMessageTextId))), answer);
    pressButton(box, answer == kAnswerCancel ? IDCANCEL : IDOK);
}

void ModalAnswerer::initialized(HWND browser) {
    if (!browsePending_) return;
    browsePending_ = false;
    browser_ = browser;
    browseTitle_ = wideToGbkLossy(windowText(browser));
    if (!browseFolder_) {
        pressButton(browser, IDCANCEL);
        return;
    }
    // The browser opens the tree down to the folder before it answers, reporting the new
    // selection on the way; whatever it shows afterwards is where it got to.
    SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(browseFolder_->c_str()));
    browseMissed_ = !samePath(browseSelection_, *browseFolder_);
    pressButton(browser, browseMissed_ ? IDCANCEL : IDOK);
}

void ModalAnswerer::selectionChanged(HWND browser, const std::wstring& path) {
    if (browser_ && browser != browser_) return;
    browseSelection_ = path;
}

int DrivenDialogs::messageBox(const std::string& text, const std::string& title, Icon icon, Buttons buttons) {
    // A question the script has no answer for, asked while a person has the window, is theirs.
    if (buttons == Buttons::OkCancel && answers_.nextBox >= answers_.boxes.size() && personHasWindow_ &&
        personHasWindow_()) {
        answerer_.leaveToPerson(true);
        const int answer = real_.messageBox(text, title, icon, buttons);
        answerer_.leaveToPerson(false);
        transcript_.box(title, icon, buttons, text, answer);
        return answer;
    }
    answerer_.expectBox();
    int answer = real_.messageBox(text, title, icon, buttons);
    answerer_.expectBox(false);  // a box that never showed leaves no claim on the next dialog
    return answer;
}

std::optional<std::string> DrivenDialogs::browseFolder(const std::string& title, const std::string& startAt) {
    auto want = takeBrowseAnswer(answers_);  // a script error when none is queued
    answerer_.expectBrowse(want ? std::optional<std::wstring>(gbkToWideLossy(*want)) : std::nullopt);
    auto got = real_.browseFolder(title, startAt);
    // A browser that did not reach the folder must never pass as the script's choice.
    if (answerer_.browseMissed())
        throw ScriptError{"the folder browser could not reach the folder " +
                          gbkToUtf8(*want).value_or(*want)};
    if (want && (!got || !samePath(gbkToWideLossy(*got), gbkToWideLossy(*want))))
        throw ScriptError{"the folder browser returned another folder than " +
                          gbkToUtf8(*want).value_or(*want)};
    transcript_.browse(answerer_.browseTitle(), got ? &*got : nullptr);
    return got;
}

void Win32Frontend::settle() {
    pumpMessages();
    if (auto reason = app_.program().takeStop()) throw ScriptError{{*reason}};
}

void Win32Frontend::send() {
    if (!input_.send()) inputFailed();
}

void Win32Frontend::inputFailed() const {
    throw ScriptError{input_.failure().empty() ? "the click never landed where it was aimed"
                                               : input_.failure()};
}

void Win32Frontend::clickAt(HWND w, const RECT& screen, RealInput::Button button) {
    auto at = reachablePoint(w, screen);
    if (!at) throw ScriptError{"no point of the control can be reached with the mouse"};
    if (!input_.click(*at, button)) inputFailed();
}

void Win32Frontend::showPageOf(Ctl c) {
    Win32Window& win = app_.window();
    const int page = win.pageIndexOf(c);
    if (page < 0 || page == win.currentPage()) return;
    HWND tab = win.handle(Ctl::高级选择夹1);
    RECT r{};
    SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(tab, nullptr, reinterpret_cast<POINT*>(&r), 2);
    clickAt(tab, r);
    if (win.currentPage() != page) throw ScriptError{"the tab of the page did not come to the front"};
}

void Win32Frontend::click(Ctl c) {
    showPageOf(c);
    HWND h = app_.window().handle(c);
    if (!h) return;
    if (reachablePoint(h, windowRect(h)))
        clickAt(h, windowRect(h));
    else
        pressWithKeyboard(c, h);
    settle();
}

// A control beyond the window's edge (the preview column's buttons while preview is off) is
// out of the mouse's reach; a person tabs to it and presses Space.
void Win32Frontend::pressWithKeyboard(Ctl c, HWND h) {
    for (int presses = 0; GetFocus() != h; ++presses) {
        if (presses > kMaxTabPresses)
            throw ScriptError{"control " + gbkToUtf8(def(c).name).value_or("?") +
                              " can be reached neither with the mouse nor with Tab"};
        input_.key(VK_TAB);
        send();
    }
    input_.key(VK_SPACE);
    send();
}

// Clicks into the field, selects its whole text with the keyboard and types over it.
void Win32Frontend::replaceText(Ctl c, HWND field, const std::string& text) {
    clickAt(field, windowRect(field));
    HWND focus = GetFocus();
    if (focus != field && !IsChild(field, focus))
        throw ScriptError{"control " + gbkToUtf8(def(c).name).value_or("?") + " did not take the focus"};
    input_.key(VK_HOME);
    input_.key(VK_END, {VK_SHIFT});
    if (text.empty())
        input_.key(VK_DELETE);
    else
        input_.type(gbkToWideLossy(text));
    send();
}

void Win32Frontend::setText(Ctl c, const std::string& text) {
    showPageOf(c);
    if (HWND h = app_.window().handle(c)) replaceText(c, h, text);
    settle();
}

void Win32Frontend::notifyCombo(Ctl c, int code) {
    HWND h = app_.window().handle(c);
    if (!h) return;
    SendMessageW(GetParent(h), WM_COMMAND, MAKEWPARAM(Win32Window::controlId(c), code),
                 reinterpret_cast<LPARAM>(h));
}

void Win32Frontend::type(Ctl c, const std::string& text) {
    showPageOf(c);
    Win32Window& win = app_.window();
    HWND h = win.handle(c);
    if (!h) return;
    const bool unchanged = text.empty() && win.text(c).empty();
    replaceText(c, comboInfo(h).hwndItem, text);
    // Erasing an empty field changes nothing and tells nobody; the script still typed.
    if (unchanged) notifyCombo(c, CBN_EDITCHANGE);
    settle();
}

void Win32Frontend::scrollIntoView(HWND list, int wanted, const std::function<View()>& view) {
    for (;;) {
        const auto [top, page] = view();
        if (wanted >= top && wanted < top + page) return;
        SCROLLBARINFO sb{};
        sb.cbSize = sizeof sb;
        if (!GetScrollBarInfo(list, OBJID_VSCROLL, &sb) || (sb.rgstate[0] & STATE_SYSTEM_INVISIBLE))
            throw ScriptError{"the item is out of view and the list has no scroll bar"};
        // A page at a time while the item is far, a line at a time when it is near.
        const bool down = wanted >= top + page;
        const bool distant = down ? wanted >= top + 2 * page : wanted < top - page;
        const RECT& bar = sb.rcScrollBar;
        const int arrow = std::min<int>(GetSystemMetrics(SM_CYVSCROLL), (bar.bottom - bar.top) / 2);
        RECT spot{bar.left, 0, bar.right, 0};
        if (distant && down) {
            spot.top = bar.top + sb.xyThumbBottom;
            spot.bottom = bar.bottom - arrow;
        } else if (distant) {
            spot.top = bar.top + arrow;
            spot.bottom = bar.top + sb.xyThumbTop;
        }
        if (spot.bottom - spot.top < 2) {
            spot.top = down ? bar.bottom - arrow : bar.top;
            spot.bottom = spot.top + arrow;
        }
        if (!input_.click({(spot.left + spot.right) / 2, (spot.top + spot.bottom) / 2})) inputFailed();
        if (view().first == top) throw ScriptError{"the list did not scroll"};
    }
}

bool Win32Frontend::choose(Ctl c, const std::string& item) {
    showPageOf(c);
    Win32Window& win = app_.window();
    HWND h = win.handle(c);
    if (!h) return false;
    // The arrow of the combo box opens the drop-down; the item is clicked in the list.
    COMBOBOXINFO info = comboInfo(h);
    RECT button = info.rcButton;
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&button), 2);
    clickAt(h, button);
    if (!SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0)) throw ScriptError{"the drop-down did not open"};
    auto items = win.items(c);
    auto found = std::find(items.begin(), items.end(), item);
    if (found == items.end()) {
        clickAt(h, button);  // closes it again
        settle();
        return false;
    }
    const int index = static_cast<int>(found - items.begin());
    HWND list = comboInfo(h).hwndList;
    scrollIntoView(list, index, [list] {
        RECT client{};
        GetClientRect(list, &client);
        const int height = std::max(1, static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0)));
        return View{static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0)), client.bottom / height};
    });
    RECT r{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
    clickAt(list, r);
    settle();
    if (win.selection(c) != index) throw ScriptError{"the chosen item did not become the selection"};
    return true;
}

void Win32Frontend::open(Ctl c) {
    showPageOf(c);
    HWND h = app_.window().handle(c);
    if (!h) return;
    RECT button = comboInfo(h).rcButton;
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&button), 2);
    clickAt(h, button);
    if (!SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0)) throw ScriptError{"the drop-down did not open"};
    clickAt(h, button);
    if (SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0)) throw ScriptError{"the drop-down did not close"};
    settle();
}

void Win32Frontend::focus(Ctl c) {
    showPageOf(c);
    Win32Window& win = app_.window();
    HWND h = win.handle(c);
    if (!h) return;
    const Kind kind = def(c).kind;
    // Focus that is already there would bring no notification.
    HWND now = GetFocus();
    if (now == h || IsChild(h, now)) SetFocus(win.mainWindow());
    if (kind == Kind::Edit || kind == Kind::Combo) {
        HWND field = kind == Kind::Combo ? comboInfo(h).hwndItem : h;
        clickAt(field, windowRect(field));
    } else {
        SetFocus(h);
    }
    settle();
}

// Scrolls the row into view and clicks it; a row past the last one is clicked below the last.
void Win32Frontend::clickRow(int row, RealInput::Button button) {
    Win32Window& win = app_.window();
    HWND lv = win.handle(Ctl::超级列表框1);
    const int count = win.rowCount();
    RECT target{};
    if (row >= 0 && row < count) {
        scrollIntoView(lv, row, listViewView(lv));
        ListView_GetItemRect(lv, row, &target, LVIR_LABEL);
    } else {
        RECT client;
        GetClientRect(lv, &client);
        target = client;
        if (HWND header = ListView_GetHeader(lv)) {
            RECT hr;
            GetWindowRect(header, &hr);
            target.top = hr.bottom - hr.top;
        }
        if (count > 0) {
            scrollIntoView(lv, count - 1, listViewView(lv));
            RECT last;
            ListView_GetItemRect(lv, count - 1, &last, LVIR_BOUNDS);
            target.top = last.bottom;
        }
        if (target.bottom - target.top < 2) throw ScriptError{"the list has no room below its last row"};
    }
    MapWindowPoints(lv, nullptr, reinterpret_cast<POINT*>(&target), 2);
    clickAt(lv, target, button);
}

void Win32Frontend::leftClickRow(int row) {
    clickRow(row, RealInput::Button::Left);
    settle();
}

bool Win32Frontend::rightClickRow(int row) {
    menuShown_ = false;
    clickRow(row, RealInput::Button::Right);
    settle();
    return menuShown_;
}

void Win32Frontend::chooseMenuItem(Ctl item) {
    // The menu stands in for the real one (which would hold the script in its own loop); a
    // chosen item reaches the window as the menu's command.
    SendMessageW(app_.mainWindow(), WM_COMMAND, MAKEWPARAM(Win32Window::controlId(item), 0), 0);
    settle();
}

namespace {

void printRect(std::ostream& out, const RECT& r) {
    out << r.left << ',' << r.top << ',' << r.right - r.left << ',' << r.bottom - r.top;
}

std::string quoted(const std::wstring& w) {
    std::string out = "\"";
    for (char ch : gbkToUtf8(wideToGbkLossy(w)).value_or("?")) {
        if (ch == '"' || ch == '\\') out += '\\';
        out += ch;
    }
    return out + '"';
}

}  // namespace

// Where a person finds things, in pixels of the screen: the focused control, every control in
// sight, the tabs of the pages, the items of an open drop-down and the rows of the name list.
void Win32Frontend::describeScreen(std::ostream& out) {
    Win32Window& win = app_.window();
    auto name = [](Ctl c) { return gbkToUtf8(def(c).name).value_or("?"); };
    const auto focused = win.controlAt(GetFocus());
    out << "FOCUS " << (focused ? name(*focused) : std::string("none")) << '\n';
    for (auto [window, h] :
         {std::pair{Ctl::主窗口, win.mainWindow()}, std::pair{Ctl::感谢窗口, win.secondWindow()}}) {
        if (!h) continue;
        out << "AT " << name(window) << ' ';
        printRect(out, windowRect(h));
        out << '\n';
    }
    for (const auto& d : controlTable()) {
        HWND h = win.handle(d.id);
        if (!h || !IsWindowVisible(h)) continue;
        out << "AT " << name(d.id) << ' ';
        printRect(out, windowRect(h));
        out << '\n';
        if (d.kind == Kind::Combo && SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0)) {
            HWND list = comboInfo(h).hwndList;
            RECT client;
            GetClientRect(list, &client);
            const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
            for (int i = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0)); i < count; ++i) {
                RECT r{};
                SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
                if (r.top >= client.bottom) break;
                const int len =
                    static_cast<int>(SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0));
                std::wstring text(static_cast<size_t>(std::max(len, 0)) + 1, L'\0');
                SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
                text.resize(wcslen(text.c_str()));
                MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
                out << "ITEM " << name(d.id) << ' ' << i << ' ' << quoted(text) << ' ';
                printRect(out, r);
                out << '\n';
            }
        }
    }
    HWND tab = win.handle(Ctl::高级选择夹1);
    int index = 0;
    for (const Ctl page : tabPages()) {
        RECT r{};
        SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&r));
        MapWindowPoints(tab, nullptr, reinterpret_cast<POINT*>(&r), 2);
        out << "AT " << name(page) << ' ';
        printRect(out, r);
        out << '\n';
    }
    HWND lv = win.handle(Ctl::超级列表框1);
    const int top = static_cast<int>(SendMessageW(lv, LVM_GETTOPINDEX, 0, 0));
    const int page = static_cast<int>(SendMessageW(lv, LVM_GETCOUNTPERPAGE, 0, 0));
    out << "VIEW rows=" << win.rowCount() << " top=" << top << " page=" << page << '\n';
    for (int row = top; row < std::min(win.rowCount(), top + page); ++row) {
        RECT r{};
        ListView_GetItemRect(lv, row, &r, LVIR_BOUNDS);
        MapWindowPoints(lv, nullptr, reinterpret_cast<POINT*>(&r), 2);
        out << "ROWAT " << row << ' ';
        printRect(out, r);
        out << '\n';
    }
}

void Win32Frontend::handOver(std::ostream& out) {
    pumpMessages();
    // The person's keys, like the driver's, go to the window in front.
    if (!input_.bringToFront()) inputFailed();
    describeScreen(out);
    out << "AWAIT" << std::endl;
    handedOver_ = true;
    const bool running = input_.waitForSignal();
    handedOver_ = false;
    if (!running) throw ScriptError{"the window was closed while a person had it"};
    settle();
}

void Win32Frontend::drop(const std::vector<std::string>& paths) {
    // A real drop handle: DROPFILES followed by the wide paths, each ended by a NUL, and one more.
    std::wstring list;
    for (const auto& p : paths) {
        // The shell hands over its own spelling of a path, with backslashes only.
        std::wstring w = gbkToWideLossy(p);
        std::replace(w.begin(), w.end(), L'/', L'\\');
        list += w;
        list += L'\0';
    }
    list += L'\0';
    const size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!mem) return;
    auto* df = static_cast<DROPFILES*>(GlobalLock(mem));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(df) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(mem);
    // The window releases the handle (DragFinish).
    SendMessageW(app_.mainWindow(), WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);
    settle();
}

void Win32Frontend::close() {
    if (HWND main = app_.mainWindow()) SendMessageW(main, WM_CLOSE, 0, 0);
    settle();
}

}  // namespace vb

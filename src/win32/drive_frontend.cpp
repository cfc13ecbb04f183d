#include "drive_frontend.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>

#include "app/window_def.h"
#include "platform/encoding.h"
#include "platform/win32/wide.h"

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
    answerer_.expectBox();
    int answer = real_.messageBox(text, title, icon, buttons);
    answerer_.expectBox(false);  // a box that never showed leaves no claim on the next dialog
    return answer;
}

std::optional<std::string> DrivenDialogs::browseFolder(const std::string& title) {
    auto want = takeBrowseAnswer(answers_);  // a script error when none is queued
    answerer_.expectBrowse(want ? std::optional<std::wstring>(gbkToWideLossy(*want)) : std::nullopt);
    auto got = real_.browseFolder(title);
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
    if (auto e = app_.takeError()) throw *e;
}

void Win32Frontend::click(Ctl c) {
    Win32Window& win = app_.window();
    win.selectPageOf(c);
    if (HWND h = win.handle(c)) SendMessageW(h, BM_CLICK, 0, 0);
    settle();
}

void Win32Frontend::setText(Ctl c, const std::string& text) {
    app_.window().setText(c, text);
    settle();
}

void Win32Frontend::notifyCombo(Ctl c, int code) {
    HWND h = app_.window().handle(c);
    if (!h) return;
    SendMessageW(GetParent(h), WM_COMMAND, MAKEWPARAM(Win32Window::controlId(c), code),
                 reinterpret_cast<LPARAM>(h));
}

void Win32Frontend::type(Ctl c, const std::string& text) {
    Win32Window& win = app_.window();
    win.selectPageOf(c);
    win.setSelection(c, -1);  // a typed text is not a chosen item
    win.setText(c, text);
    notifyCombo(c, CBN_EDITCHANGE);
    settle();
}

bool Win32Frontend::choose(Ctl c, const std::string& item) {
    Win32Window& win = app_.window();
    win.selectPageOf(c);
    notifyCombo(c, CBN_DROPDOWN);
    settle();
    auto items = win.items(c);
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] != item) continue;
        SendMessageW(win.handle(c), CB_SETCURSEL, i, 0);
        notifyCombo(c, CBN_SELCHANGE);
        notifyCombo(c, CBN_CLOSEUP);
        settle();
        return true;
    }
    notifyCombo(c, CBN_CLOSEUP);
    settle();
    return false;
}

void Win32Frontend::open(Ctl c) {
    app_.window().selectPageOf(c);
    notifyCombo(c, CBN_DROPDOWN);
    notifyCombo(c, CBN_CLOSEUP);
    settle();
}

void Win32Frontend::focus(Ctl c) {
    Win32Window& win = app_.window();
    win.selectPageOf(c);
    HWND h = win.handle(c);
    if (!h) return;
    // Focus that is already there would bring no notification.
    if (GetFocus() == h) SetFocus(win.mainWindow());
    SetFocus(h);
    if (GetFocus() != h && def(c).kind == Kind::Edit)
        SendMessageW(GetParent(h), WM_COMMAND, MAKEWPARAM(Win32Window::controlId(c), EN_SETFOCUS),
                     reinterpret_cast<LPARAM>(h));
    settle();
}

void Win32Frontend::notifyList(UINT code, int row) {
    Win32Window& win = app_.window();
    HWND lv = win.handle(Ctl::超级列表框1);
    NMITEMACTIVATE nm{};
    nm.hdr.hwndFrom = lv;
    nm.hdr.idFrom = static_cast<UINT_PTR>(Win32Window::controlId(Ctl::超级列表框1));
    nm.hdr.code = code;
    nm.iItem = row;
    nm.iSubItem = 0;
    SendMessageW(win.mainWindow(), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

void Win32Frontend::leftClickRow(int row) {
    app_.window().selectRowOnly(row);
    notifyList(NM_CLICK, row);
    settle();
}

bool Win32Frontend::rightClickRow(int row) {
    app_.window().selectRowOnly(row);
    menuShown_ = false;
    notifyList(NM_RCLICK, row);
    settle();
    return menuShown_;
}

void Win32Frontend::chooseMenuItem(Ctl item) {
    SendMessageW(app_.mainWindow(), WM_COMMAND, MAKEWPARAM(Win32Window::controlId(item), 0), 0);
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

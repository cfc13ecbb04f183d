#include "real_input.h"

#include "platform/win32/wide.h"
#include "platform/win32/win32_window.h"

namespace vb {
namespace {

// A key no control of the program reacts to; only the driver sends it.
constexpr WORD kMarkerKey = VK_F24;
// A person's signal: a key that does nothing in the program either.
constexpr WORD kSignalKey = VK_PAUSE;
constexpr int kClickAttempts = 20;
// Guards against a wait that can never end: seconds a wait may spend in its own loop, no message
// of the program coming meanwhile (time the program spends handling input does not count).
constexpr int kFrontSeconds = 30;
constexpr int kMarkerSeconds = 120;
// Input that went elsewhere because another window came in front meanwhile is sent again.
constexpr int kSendAttempts = 5;

// Hook procedures get no context of their own; one injector serves the thread at a time.
thread_local RealInput* activeInput = nullptr;

bool extendedKey(WORD vk) {
    switch (vk) {
        case VK_HOME:
        case VK_END:
        case VK_DELETE:
        case VK_INSERT:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            return true;
        default:
            return false;
    }
}

bool threadInFront() {
    HWND front = GetForegroundWindow();
    return front && GetWindowThreadProcessId(front, nullptr) == GetCurrentThreadId();
}

std::string describe(HWND w) {
    if (!w) return "no window";
    wchar_t cls[64] = {}, title[128] = {};
    GetClassNameW(w, cls, 64);
    GetWindowTextW(w, title, 128);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    return "window \"" + wideToGbkLossy(title) + "\" of class " + wideToGbkLossy(cls) + " (process " +
           std::to_string(pid) + (pid == GetCurrentProcessId() ? ", ours" : "") + ")";
}

// A thread timer ticking once a second; a wait counts the ticks that reach its own loop, so the
// time the program spends handling input inside it never counts.
class Guard {
public:
    explicit Guard(int seconds) : limit_(seconds), id_(SetTimer(nullptr, 0, 1000, nullptr)) {}
    ~Guard() {
        if (id_) KillTimer(nullptr, id_);
    }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
    // True when msg is this guard's tick, which goes to no window.
    bool tick(const MSG& msg) {
        if (msg.message != WM_TIMER || msg.hwnd || msg.wParam != id_) return false;
        ++ticks_;
        return true;
    }
    bool expired() const { return ticks_ > limit_; }

private:
    int limit_;
    UINT_PTR id_;
    int ticks_ = 0;
};

}  // namespace

RealInput::RealInput(std::function<HWND()> window) : window_(std::move(window)) {
    activeInput = this;
    hook_ = SetWindowsHookExW(WH_GETMESSAGE, getMessageHook, nullptr, GetCurrentThreadId());
}

RealInput::~RealInput() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (activeInput == this) activeInput = nullptr;
}

// Whichever loop takes the marker (ours, a message box's, a tracking loop of a control), the
// input before it has been taken and handled; the marker itself goes nowhere.
LRESULT CALLBACK RealInput::getMessageHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == PM_REMOVE && activeInput) {
        auto* msg = reinterpret_cast<MSG*>(lp);
        activeInput->checkClick(*msg);
        const UINT m = msg->message;
        const bool key = m >= WM_KEYFIRST && m <= WM_KEYLAST;
        if ((key && msg->wParam != kMarkerKey) || (m >= WM_LBUTTONDOWN && m <= WM_MBUTTONDBLCLK) ||
            (m >= WM_NCLBUTTONDOWN && m <= WM_NCMBUTTONDBLCLK))
            activeInput->inputSeen_ = true;
        if ((msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) && msg->wParam == kMarkerKey) {
            if (msg->message == WM_KEYUP) {
                activeInput->markerTaken_ = true;
                activeInput->clickPending_ = false;
            }
            msg->message = WM_NULL;
        } else if (activeInput->awaiting_ && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) &&
                   msg->wParam == kSignalKey) {
            if (msg->message == WM_KEYUP) activeInput->signalled_ = true;
            msg->message = WM_NULL;
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

void RealInput::keyEvent(WORD vk, WORD scan, DWORD flags) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = scan;
    in.ki.dwFlags = flags;
    queued_.push_back(in);
}

void RealInput::key(WORD vk, std::initializer_list<WORD> held) {
    auto scan = [](WORD k) { return static_cast<WORD>(MapVirtualKeyW(k, MAPVK_VK_TO_VSC)); };
    auto ext = [](WORD k) -> DWORD { return extendedKey(k) ? KEYEVENTF_EXTENDEDKEY : 0; };
    for (WORD h : held) keyEvent(h, scan(h), ext(h));
    keyEvent(vk, scan(vk), ext(vk));
    keyEvent(vk, scan(vk), ext(vk) | KEYEVENTF_KEYUP);
    for (auto it = std::rbegin(held); it != std::rend(held); ++it)
        keyEvent(*it, scan(*it), ext(*it) | KEYEVENTF_KEYUP);
}

void RealInput::type(const std::wstring& text) {
    for (wchar_t ch : text) {
        keyEvent(0, ch, KEYEVENTF_UNICODE);
        keyEvent(0, ch, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP);
    }
}

bool RealInput::click(POINT screen, Button button) {
    // Under Wine the cursor follows the X pointer, which reports where it went only later: the
    // buttons of a click can still find the cursor where it was, and late reports of earlier
    // places can come in between. A click that lands elsewhere is taken back unseen and made
    // again.
    for (int attempt = 0; attempt < kClickAttempts; ++attempt) {
        if (!clickOnce(screen, button)) return false;
        // A click that reached no window of the program at all went nowhere: made again too.
        if (!clickMissed_ && clickSeen_) return true;
    }
    return false;
}

bool RealInput::clickOnce(POINT screen, Button button) {
    // Clicks of a script follow each other faster than a person's: their time stamps lie a
    // double-click time apart, so that two clicks on one spot stay two clicks.
    const DWORD now = GetTickCount();
    const DWORD apart = GetDoubleClickTime() + 1;
    clickTime_ = clickTime_ && static_cast<LONG>(now - clickTime_) < static_cast<LONG>(apart)
                     ? clickTime_ + apart
                     : now;
    clickAt_ = screen;
    clickMissed_ = false;
    clickSeen_ = false;
    clickPending_ = true;
    // The move goes in absolute units of the virtual screen, 65536 across it, the pixel being
    // the integer part: the first unit of each pixel lands on it exactly.
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (width <= 0 || height <= 0) return false;
    auto units = [](LONG offset, int size) {
        return static_cast<LONG>((static_cast<long long>(offset) * 65536 + size - 1) / size);
    };
    INPUT in[3]{};
    in[0].type = INPUT_MOUSE;
    in[0].mi.dx = units(screen.x - left, width);
    in[0].mi.dy = units(screen.y - top, height);
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    in[0].mi.time = clickTime_;
    in[1].type = INPUT_MOUSE;
    in[1].mi.dwFlags = button == Button::Left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN;
    in[1].mi.time = clickTime_;
    in[2] = in[1];
    in[2].mi.dwFlags = button == Button::Left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP;
    queued_.insert(queued_.end(), std::begin(in), std::end(in));
    return send();
}

// Between its press and its release, a click stays where it was aimed: a press that is not
// there never reaches a window, nor does the rest of that click (it is made again); moves and a
// release elsewhere are reports of earlier places, and are put back where the click is.
void RealInput::checkClick(MSG& msg) {
    if (!clickPending_) return;
    const UINT m = msg.message;
    const bool client = m >= WM_LBUTTONDOWN && m <= WM_MBUTTONDBLCLK;
    const bool frame = m >= WM_NCLBUTTONDOWN && m <= WM_NCMBUTTONDBLCLK;
    const bool move = m == WM_MOUSEMOVE || m == WM_NCMOUSEMOVE;
    const bool there = msg.pt.x == clickAt_.x && msg.pt.y == clickAt_.y;
    if (move) {
        if (!there) msg.message = WM_NULL;
        return;
    }
    if ((!client && !frame) || msg.time != clickTime_) return;
    const bool release = (client ? m - WM_LBUTTONDOWN : m - WM_NCLBUTTONDOWN) % 3 == 1;
    if (release) clickPending_ = false;
    clickSeen_ = true;
    if (clickMissed_ || (!release && !there)) {
        clickMissed_ = true;
        msg.message = WM_NULL;
        return;
    }
    if (there) return;
    POINT p = clickAt_;
    if (client) ScreenToClient(msg.hwnd, &p);
    msg.pt = clickAt_;
    msg.lParam = MAKELPARAM(p.x, p.y);
}

bool RealInput::bringToFront() {
    if (threadInFront()) return true;
    HWND main = window_ ? window_() : nullptr;
    if (!main) {
        failure_ = "the program has no window to bring to the front";
        return false;
    }
    // The window in use: a box or a browser of ours when one is open, else the main window.
    HWND target = GetLastActivePopup(main);
    Guard guard(kFrontSeconds);
    SetForegroundWindow(target);
    while (!threadInFront()) {
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            failure_ = "the program ended while its window was being brought to the front";
            return false;
        }
        if (!guard.tick(msg)) {
            dispatchMessage(msg);
            continue;
        }
        if (guard.expired()) {
            failure_ = "the system never made the program's window the foreground window; in front: " +
                       describe(GetForegroundWindow());
            return false;
        }
        SetForegroundWindow(target);  // asked again: another window may have taken the front meanwhile
    }
    return true;
}

bool RealInput::send() {
    keyEvent(kMarkerKey, 0, 0);
    keyEvent(kMarkerKey, 0, KEYEVENTF_KEYUP);
    std::vector<INPUT> events;
    events.swap(queued_);
    const UINT n = static_cast<UINT>(events.size());
    for (int attempt = 0;; ++attempt) {
        markerTaken_ = false;
        inputSeen_ = false;
        failure_.clear();
        if (!bringToFront()) break;
        if (SendInput(n, events.data(), sizeof(INPUT)) != n) {
            failure_ = "the system did not take the driver's input";
            break;
        }
        const Wait got = awaitMarker();
        if (got == Wait::Taken) return true;
        if (got == Wait::Failed) break;
        // Input still on its way goes to whatever window is in front when it is taken from the
        // queue. None of it reached the program: it is sent again. Part of it did: sent again it
        // would be doubled.
        if (inputSeen_ || attempt + 1 >= kSendAttempts) {
            failure_ =
                "the program's window lost the front while the driver's input was on its way; in front: " +
                describe(GetForegroundWindow());
            break;
        }
    }
    clickPending_ = false;
    return false;
}

RealInput::Wait RealInput::awaitMarker() {
    Guard guard(kMarkerSeconds);
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that owns it
                failure_ = "the program ended before it had taken the driver's input";
                return Wait::Failed;
            }
            if (!guard.tick(msg)) {
                dispatchMessage(msg);
            } else if (guard.expired()) {
                failure_ = "the driver's input never reached the program; in front: " +
                           describe(GetForegroundWindow());
                return Wait::Failed;
            }
            if (markerTaken_) return Wait::Taken;
        }
        // The queue is empty: what is not here yet goes elsewhere once another window is in front.
        // A change of the front comes as sent messages, which wake the wait below.
        if (!threadInFront()) return Wait::LostFront;
        MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

bool RealInput::waitForSignal() {
    awaiting_ = true;
    signalled_ = false;
    bool running = true;
    while (!signalled_ && running) {
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            running = false;
        } else {
            dispatchMessage(msg);
        }
    }
    awaiting_ = false;
    return running;
}

}  // namespace vb

#include "platform/win32/win32_progress.h"

#include "platform/win32/wide.h"
#include "platform/win32/win32_window.h"

namespace vb {
namespace {

// Often enough that the system never thinks the window hung, rarely enough to cost nothing.
constexpr std::uint32_t kHandleEvery = 50;
// A loop that ends sooner than this does not flicker the title.
constexpr std::uint32_t kShowAfter = 500;

// Keys and clicks inside the window: no other operation may start while a loop runs, and a
// control changed meanwhile would no longer match what the loop is doing. The title bar, moves
// and the wheel go on.
bool isRefusedInput(UINT m) {
    if (m >= WM_KEYFIRST && m <= WM_KEYLAST) return true;
    if (m >= WM_LBUTTONDOWN && m <= WM_MBUTTONDBLCLK) return true;
    return m >= WM_XBUTTONDOWN && m <= WM_XBUTTONDBLCLK;
}

}  // namespace

Win32Progress::Win32Progress(std::function<HWND()> window, std::function<std::uint32_t()> now)
    : window_(std::move(window)), now_(now ? std::move(now) : [] { return std::uint32_t{GetTickCount()}; }) {}

void Win32Progress::start(const char* what, int total) {
    if (depth_++ > 0) return;
    what_ = what;
    total_ = total;
    started_ = handled_ = now_();
    titled_ = false;
    stop_ = false;
}

bool Win32Progress::next(int done) {
    const std::uint32_t now = now_();
    if (now - handled_ >= kHandleEvery) {
        handled_ = now;
        if (beforeDrawing_) beforeDrawing_();
        handlePending();
        if (now - started_ >= kShowAfter) showTitle(done);
    }
    return !stop_;
}

void Win32Progress::finish() {
    if (depth_ == 0 || --depth_ > 0) return;
    if (HWND w = window_(); titled_ && w) SetWindowTextW(w, title_.c_str());
    titled_ = false;
    stop_ = false;
    beforeDrawing_ = nullptr;
}

void Win32Progress::beforeDrawing(std::function<void()> show) {
    if (depth_ == 1) beforeDrawing_ = std::move(show);
}

void Win32Progress::handlePending() {
    pumpMessages([this](const MSG& msg) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) stop_ = true;
        return isRefusedInput(msg.message);
    });
}

void Win32Progress::showTitle(int done) {
    HWND w = window_();
    if (!w) return;
    if (!titled_) {
        const int n = GetWindowTextLengthW(w);
        title_.assign(static_cast<size_t>(n) + 1, L'\0');
        title_.resize(static_cast<size_t>(GetWindowTextW(w, title_.data(), n + 1)));
        titled_ = true;
    }
    const std::wstring text = title_ + L" - " + gbkToWideLossy(what_) + L" " + std::to_wstring(done) + L"/" +
                              std::to_wstring(total_);
    SetWindowTextW(w, text.c_str());
}

}  // namespace vb

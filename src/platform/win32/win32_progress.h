// Keeps the window alive through a long loop: every so often it handles what is pending, shows
// how far the loop is in the title once the loop takes long, and hears Esc as a request to stop.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/ports.h"

namespace vb {

class Win32Progress final : public Progress {
public:
    // window: the main window, or null once it is gone; now: milliseconds, the system's tick
    // count unless a test brings its own.
    explicit Win32Progress(std::function<HWND()> window, std::function<std::uint32_t()> now = {});

    void start(const char* what, int total) override;
    bool next(int done) override;
    void finish() override;
    void beforeDrawing(std::function<void()> show) override;

private:
    void handlePending();
    void showTitle(int done);

    std::function<HWND()> window_;
    std::function<std::uint32_t()> now_;
    int depth_ = 0;  // a loop inside another one shows nothing of its own
    std::string what_;
    int total_ = 0;
    std::uint32_t started_ = 0;
    std::uint32_t handled_ = 0;
    std::wstring title_;  // the title before the loop, put back after it
    bool titled_ = false;
    bool stop_ = false;
    std::function<void()> beforeDrawing_;  // the outer loop's
};

}  // namespace vb

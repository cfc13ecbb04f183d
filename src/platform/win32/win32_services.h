// Message boxes, the folder browser, the clipboard, the web browser and the tick count on Windows.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/ports.h"

namespace vb {

// Boxes and the browser are modal and owned by the window that owner() returns at the time.
class Win32Dialogs final : public Dialogs {
public:
    explicit Win32Dialogs(std::function<HWND()> owner) : owner_(std::move(owner)) {}
    int messageBox(const std::string& text, const std::string& title, Icon icon, Buttons buttons) override;
    std::optional<std::string> browseFolder(const std::string& title) override;

private:
    std::function<HWND()> owner_;
};

class Win32Clipboard final : public Clipboard {
public:
    explicit Win32Clipboard(std::function<HWND()> owner) : owner_(std::move(owner)) {}
    void setText(const std::string& s) override;

private:
    std::function<HWND()> owner_;
};

class Win32Shell final : public Shell {
public:
    void openUrl(const std::string& url) override;
};

class Win32Clock final : public Clock {
public:
    std::uint32_t tickCount() override { return GetTickCount(); }
};

}  // namespace vb

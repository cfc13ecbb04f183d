// Message boxes, the folder browser, the clipboard, the web browser and the tick count on Windows.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/ports.h"

namespace vb {

// Takes part in the folder browser's own callback (the script driver steers the browser).
class BrowseObserver {
public:
    virtual ~BrowseObserver() = default;
    // The browser is ready and shows its caption.
    virtual void initialized(HWND browser) = 0;
    // The selection moved; path is empty when it is not a file-system folder.
    virtual void selectionChanged(HWND browser, const std::wstring& path) = 0;
};

// Boxes and the browser are modal and owned by the window that owner() returns at the time.
class Win32Dialogs final : public Dialogs {
public:
    explicit Win32Dialogs(std::function<HWND()> owner) : owner_(std::move(owner)) {}
    int messageBox(const std::string& text, const std::string& title, Icon icon, Buttons buttons) override;
    std::optional<std::string> browseFolder(const std::string& title, const std::string& startAt) override;
    void setBrowseObserver(BrowseObserver* observer) { observer_ = observer; }

private:
    std::function<HWND()> owner_;
    BrowseObserver* observer_ = nullptr;
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

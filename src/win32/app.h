// The running program: the main window, the ports, the undo array and the drop hook, and the
// one place where control events become operations.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/bindings.h"
#include "drive/frontend.h"
#include "drop_hook.h"
#include "platform/win32/win32_progress.h"
#include "platform/win32/win32_window.h"

namespace vb {

class App {
public:
    struct Ports {
        Dialogs& dialogs;
        FileSystem& fs;
        Clipboard& clipboard;
        Shell& shell;
        Clock& clock;
        const ChineseMapping& chinese;
    };
    struct Hooks {
        std::function<void(bool)> topmostChanged;
        std::function<void(bool)> secondWindowChanged;
        std::function<bool()> popupMenu;
        std::function<std::uint32_t()> progressClock;  // the system's tick count unless given
    };

    App(HINSTANCE instance, Ports ports, Hooks hooks = {});
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Attaches the drop hook, then runs the created event: the initial control states.
    void start();
    int messageLoop();

    Win32Window& window() { return window_; }
    HWND mainWindow() const { return window_.mainWindow(); }
    std::vector<std::string>& undoArray() { return undo_; }
    bool running() const { return running_; }

    // Runs the operation bound to the event, unless another one is running.
    void dispatch(Ctl c, Event e);
    // A script error raised inside an operation: kept here, since it must not unwind through
    // the system's window procedures, and raised again once the message has returned.
    std::optional<ScriptError> takeError();

private:
    void onDrop(const std::string& path);

    std::vector<std::string> undo_;
    UndoRecord undoRecord_;
    Win32Window window_;
    Win32Progress progress_;
    Context ctx_;
    DropHook dropHook_;
    bool running_ = true;
    std::optional<ScriptError> error_;
};

}  // namespace vb

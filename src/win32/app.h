// The running program in its Win32 window: the window, the drop hook and the progress shown on
// the title, around the one Program that runs the operations.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "app/program.h"
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
    // A stop raised inside an operation stays in the Program, since it must not unwind through
    // the system's window procedures; whoever drives the window takes it once the message has
    // returned.
    Program& program() { return program_; }
    bool running() const { return running_; }

private:
    Win32Window window_;
    Win32Progress progress_;
    Program program_;
    DropHook dropHook_;
    bool running_ = true;
};

}  // namespace vb

// The running program, whatever shows it: the ports, the undo state and the one Context, and the
// one place where a user's action becomes an operation. The front ends (the Win32 window, the
// script driver's window) and the tests only supply the ports and pass the actions on.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/context.h"
#include "window/events.h"

namespace vb {

// Thrown by a port when the run cannot go on (a scripted answer that is missing). The Program
// ends the operation there, keeps the reason for its front end and runs nothing else until the
// front end has taken it: unwinding must stop before any system window procedure.
struct RunStop {
    std::string reason;
};

class Program {
public:
    struct Ports {
        Window& window;
        Dialogs& dialogs;
        FileSystem& fs;
        Clipboard& clipboard;
        Shell& shell;
        Clock& clock;
        const ChineseMapping& chinese;
        Progress& progress;
    };
    // Told when an operation starts (true) and ends (false).
    using BusyHook = std::function<void(bool)>;

    explicit Program(Ports ports, BusyHook busyChanged = {});
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Runs the created event once: the initial control states.
    void start();
    // The user's action on a control. A radio button's click checks it and clears the rest of
    // its group first (a check box toggles itself). False when nothing ran: no binding, another
    // operation still running (a message box of it up, say), or a stop not yet taken.
    bool handle(Ctl control, Event event);
    // Items dropped on the window, read one after the other: the last one stays listed.
    void drop(const std::vector<std::string>& paths);
    void close();

    bool busy() const { return busy_; }
    // The reason an operation was stopped, once; nothing when none was.
    std::optional<std::string> takeStop();

    const std::vector<std::string>& undoArray() const { return undo_.撤回数组; }
    // For the tests that run one operation by itself.
    Context& context() { return ctx_; }

private:
    template <typename Operation>
    bool run(Operation&& op);

    UndoState undo_;
    Context ctx_;
    BusyHook busyChanged_;
    bool started_ = false;
    bool busy_ = false;
    std::optional<std::string> stop_;
};

}  // namespace vb

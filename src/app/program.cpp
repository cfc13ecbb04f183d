#include "app/program.h"

#include <utility>

#include "app/bindings.h"
#include "fileset/fileset.h"
#include "window/window_def.h"

namespace vb {

Program::Program(Ports p, BusyHook busyChanged)
    : ctx_{p.window,  p.dialogs,      p.fs,         p.clipboard, p.shell,     p.clock,
           p.chinese, undo_.撤回数组, undo_.record, p.progress,  undo_.listed},
      busyChanged_(std::move(busyChanged)) {}

template <typename Operation>
bool Program::run(Operation&& op) {
    if (busy_ || stop_) return false;
    struct Busy {
        Program& p;
        explicit Busy(Program& program) : p(program) { set(true); }
        ~Busy() { set(false); }
        void set(bool on) {
            p.busy_ = on;
            if (p.busyChanged_) p.busyChanged_(on);
        }
    } busy(*this);
    try {
        return op();
    } catch (const RunStop& s) {
        stop_ = s.reason;
        return true;
    }
}

void Program::start() {
    if (started_) return;
    started_ = true;
    run([this] { return dispatch(ctx_, Ctl::主窗口, Event::Created); });
}

bool Program::handle(Ctl control, Event event) {
    return run([&] {
        if (event == Event::Click && def(control).kind == Kind::Radio)
            for (Ctl other : radioGroupOf(control)) ctx_.win.setChecked(other, other == control);
        return dispatch(ctx_, control, event);
    });
}

void Program::drop(const std::vector<std::string>& paths) {
    run([&] {
        for (const auto& p : paths) dropRead(ctx_, p);
        return true;
    });
}

void Program::close() { handle(Ctl::主窗口, Event::Closing); }

std::optional<std::string> Program::takeStop() { return std::exchange(stop_, std::nullopt); }

}  // namespace vb

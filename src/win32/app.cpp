#include "app.h"

#include "fileset/fileset.h"

namespace vb {

App::App(HINSTANCE instance, Ports ports, Hooks hooks)
    : window_(instance, Win32Window::Listener{
                            [this](Ctl c, Event e) { dispatch(c, e); },
                            std::move(hooks.topmostChanged),
                            std::move(hooks.secondWindowChanged),
                            std::move(hooks.popupMenu),
                            [this] {
                                dropHook_.detach();
                                running_ = false;
                                PostQuitMessage(0);
                            },
                        }),
      progress_([this] { return window_.mainWindow(); }, std::move(hooks.progressClock)),
      ctx_{window_,     ports.dialogs, ports.fs, ports.clipboard, ports.shell,
           ports.clock, ports.chinese, undo_,    undoRecord_,     progress_} {}

App::~App() { dropHook_.detach(); }

void App::start() {
    dropHook_.attach(window_.mainWindow(), [this](const std::string& path) { onDrop(path); });
    dispatch(Ctl::主窗口, Event::Created);
}

int App::messageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) dispatchMessage(msg);
    return 0;
}

void App::dispatch(Ctl c, Event e) {
    if (window_.busy() || error_) return;
    window_.setBusy(true);
    try {
        vb::dispatch(ctx_, c, e);
    } catch (const ScriptError& err) {
        error_ = err;
    }
    window_.setBusy(false);
}

void App::onDrop(const std::string& path) {
    if (window_.busy() || error_) return;
    window_.setBusy(true);
    try {
        dropRead(ctx_, path);
    } catch (const ScriptError& err) {
        error_ = err;
    }
    window_.setBusy(false);
}

std::optional<ScriptError> App::takeError() {
    auto e = std::move(error_);
    error_.reset();
    return e;
}

}  // namespace vb

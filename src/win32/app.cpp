#include "app.h"

namespace vb {

App::App(HINSTANCE instance, Ports ports, Hooks hooks)
    : window_(instance, Win32Window::Listener{
                            [this](Ctl c, Event e) { program_.handle(c, e); },
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
      program_({window_, ports.dialogs, ports.fs, ports.clipboard, ports.shell, ports.clock, ports.chinese,
                progress_},
               [this](bool on) { window_.setBusy(on); }) {}

App::~App() { dropHook_.detach(); }

void App::start() {
    dropHook_.attach(window_.mainWindow(),
                     [this](const std::vector<std::string>& paths) { program_.drop(paths); });
    program_.start();
}

int App::messageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) dispatchMessage(msg);
    return 0;
}

}  // namespace vb

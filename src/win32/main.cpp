// Velbrook.exe: the window, or with --drive a script run against the real window.
#include <windows.h>

#include <ole2.h>

#include <string>
#include <vector>

#include "app.h"
#include "drive_main.h"
#include "platform/win32/compat.h"
#include "platform/win32/win32_chinese.h"
#include "platform/win32/win32_fs.h"
#include "platform/win32/win32_services.h"

namespace {

// The folder browser and the pictures need COM in a single-threaded apartment.
class OleSession {
public:
    OleSession() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleSession() {
        if (ok_) OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    bool ok_;
};

int runWindow(HINSTANCE instance, int showCommand) {
    vb::App* app = nullptr;
    auto owner = [&app]() -> HWND { return app ? app->mainWindow() : nullptr; };
    vb::Win32Dialogs dialogs(owner);
    vb::Win32FileSystem fs({}, [] { vb::pumpMessages(); });
    vb::Win32Clipboard clipboard(owner);
    vb::Win32Shell shell;
    vb::Win32Clock clock;
    vb::Win32ChineseMapping chinese;
    vb::App main(instance, {dialogs, fs, clipboard, shell, clock, chinese});
    app = &main;
    if (!main.mainWindow()) return 1;
    main.start();
    main.window().show(showCommand);
    return main.messageLoop();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    vb::becomeDpiAware(vb::systemDpiFunctions());
    OleSession ole;
    std::vector<std::wstring> args;
    for (int i = 1; i < __argc; ++i) args.emplace_back(__wargv[i]);
    if (!args.empty() && args[0] == L"--drive") return vb::driveMain(instance, args);
    return runWindow(instance, showCommand);
}

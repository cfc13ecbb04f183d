// The whole program on its real window, with a user who picks one folder in every folder
// browser and confirms every message box; the messages it showed are kept.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app.h"
#include "platform/table_chinese_mapping.h"
#include "platform/win32/win32_fs.h"
#include "platform/win32/win32_services.h"

namespace vb::testing {

class PickingDialogs final : public Dialogs {
public:
    int messageBox(const std::string& text, const std::string&, Icon, Buttons) override {
        boxes.push_back(text);
        return kAnswerOk;
    }
    std::optional<std::string> browseFolder(const std::string&, const std::string&) override {
        return folder;
    }
    std::string folder;  // without trailing separator
    std::vector<std::string> boxes;
};

class NoShell final : public Shell {
public:
    void openUrl(const std::string&) override {}
};

struct RunningApp {
    RunningApp()
        : fs({}, [] { pumpMessages(); }),
          clipboard([this] { return app.mainWindow(); }),
          app(GetModuleHandleW(nullptr), {dialogs, fs, clipboard, shell, clock, chinese}) {
        app.start();
        app.window().show(SW_SHOWNORMAL);
        pumpMessages();
    }
    Win32Window& win() { return app.window(); }
    HWND handle(Ctl c) { return app.window().handle(c); }

    PickingDialogs dialogs;
    Win32FileSystem fs;
    Win32Clipboard clipboard;
    NoShell shell;
    Win32Clock clock;
    TableChineseMapping chinese;
    App app;
};

}  // namespace vb::testing

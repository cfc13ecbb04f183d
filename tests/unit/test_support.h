// What the handler tests share: a real temporary folder, dialogs that record and answer,
// and the ports nothing looks at.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "../temp_folder.h"
#include "app/program.h"
#include "platform/encoding.h"
#include "platform/headless/headless_window.h"
#include "platform/posix/posix_fs.h"
#include "platform/table_chinese_mapping.h"

namespace vb::testing {

namespace stdfs = std::filesystem;

struct Box {
    std::string text, title;
    bool operator==(const Box&) const = default;
};

// Records every box; a box with Cancel takes the next queued answer (OK when none).
class RecordingDialogs final : public Dialogs {
public:
    int messageBox(const std::string& text, const std::string& title, Icon, Buttons buttons) override {
        boxes.push_back({text, title});
        if (whileShown) whileShown();
        if (buttons == Buttons::Ok || answers.empty()) return kAnswerOk;
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> browseFolder(const std::string& title, const std::string& startAt) override {
        browseTitles.push_back(title);
        browseStarts.push_back(startAt);
        if (browses.empty()) return std::nullopt;
        std::optional<std::string> next = browses.front();
        browses.pop_front();
        return next;
    }
    std::function<void()> whileShown;  // what happens while a box is up
    std::deque<int> answers;
    std::deque<std::optional<std::string>> browses;
    std::vector<std::string> browseTitles;
    std::vector<std::string> browseStarts;
    std::vector<Box> boxes;
};

struct NoClipboard final : Clipboard {
    void setText(const std::string&) override {}
};
struct NoShell final : Shell {
    void openUrl(const std::string&) override {}
};
struct FixedClock final : Clock {
    std::uint32_t tickCount() override { return 1000; }
};

// The program's operations on the in-memory window and the real file system; the program's
// own folder is <root>/prog/ (created by the tests that need it); the rename journal has a folder
// of its own.
class HandlerRig : public ::testing::Test {
protected:
    explicit HandlerRig(const char* prefix, HeadlessWindow::Listener listener = {})
        : dir(prefix), win(std::move(listener)), fs(dir.path("prog/"), state.dir()) {
        program.start();
    }

    // The rig's ports with another file system or progress, for a Program of a test's own.
    Program::Ports ports(FileSystem& other) {
        return {win, dlg, other, clip, shell, clock, chinese, progress};
    }
    Program::Ports ports(Progress& other) { return {win, dlg, fs, clip, shell, clock, chinese, other}; }

    std::string path(const std::string& gbkRel) const { return dir.path(gbkRel); }
    stdfs::path native(const std::string& gbkRel) const { return dir.native(gbkRel); }
    void file(const std::string& gbkRel, const std::string& bytes = "x") const { dir.file(gbkRel, bytes); }
    void folder(const std::string& gbkRel) const { dir.folder(gbkRel); }
    std::string read(const std::string& gbkRel) const { return dir.read(gbkRel); }
    bool exists(const std::string& gbkRel) const { return dir.exists(gbkRel); }

    std::vector<std::string> rows() const {
        std::vector<std::string> out;
        for (int r = 0; r < win.rowCount(); ++r) out.push_back(win.cell(r, 0));
        return out;
    }

    TempFolder dir;
    TempFolder state{"vbstate"};  // the journal's folder, never shared with another test
    HeadlessWindow win;
    RecordingDialogs dlg;
    PosixFileSystem fs;
    NoClipboard clip;
    NoShell shell;
    FixedClock clock;
    TableChineseMapping chinese;
    NoProgress progress;
    Program program{{win, dlg, fs, clip, shell, clock, chinese, progress}};
    Context& ctx = program.context();
};

}  // namespace vb::testing

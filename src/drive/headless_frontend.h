// The native front end of the driver: the in-memory window, dialogs answered from the
// script, and whatever file system the caller gives (the real one in velbrook-drive).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/program.h"
#include "drive/frontend.h"
#include "platform/forwarding_fs.h"
#include "platform/headless/headless_window.h"
#include "platform/table_chinese_mapping.h"

namespace vb {

class ScriptedDialogs final : public Dialogs {
public:
    ScriptedDialogs(Answers& answers, Transcript& transcript) : answers_(answers), transcript_(transcript) {}
    int messageBox(const std::string& text, const std::string& title, Icon icon, Buttons buttons) override;
    std::optional<std::string> browseFolder(const std::string& title, const std::string& startAt) override;

private:
    Answers& answers_;
    Transcript& transcript_;
};

// Forwards to a file system and reports every hand-over to the recycle bin.
class TranscribingFileSystem final : public ForwardingFileSystem {
public:
    TranscribingFileSystem(FileSystem& inner, Transcript& transcript)
        : ForwardingFileSystem(inner), transcript_(transcript) {}
    bool recycle(const std::string& path) override {
        transcript_.recycle(path);
        return inner_.recycle(path);
    }

private:
    Transcript& transcript_;
};

class RecordingClipboard final : public Clipboard {
public:
    explicit RecordingClipboard(Transcript& transcript) : transcript_(transcript) {}
    void setText(const std::string& s) override {
        text_ = s;
        transcript_.clipboardSet(s);
    }
    const std::string& text() const { return text_; }

private:
    Transcript& transcript_;
    std::string text_;
};

class RecordingShell final : public Shell {
public:
    explicit RecordingShell(Transcript& transcript) : transcript_(transcript) {}
    void openUrl(const std::string& url) override { transcript_.url(url); }

private:
    Transcript& transcript_;
};

// A fixed tick when one is given, else milliseconds of a monotonic clock.
class DriverClock final : public Clock {
public:
    explicit DriverClock(std::optional<std::uint32_t> fixed) : fixed_(fixed) {}
    std::uint32_t tickCount() override;

private:
    std::optional<std::uint32_t> fixed_;
};

class HeadlessFrontend final : public Frontend {
public:
    HeadlessFrontend(FileSystem& fs, Answers& answers, Transcript& transcript,
                     std::optional<std::uint32_t> tick);

    Window& window() override { return window_; }
    const std::vector<std::string>& undoArray() const override { return program_.undoArray(); }
    std::string clipboardText() const override { return clipboard_.text(); }
    void click(Ctl c) override;
    void setText(Ctl c, const std::string& text) override;
    void type(Ctl c, const std::string& text) override;
    bool choose(Ctl c, const std::string& item) override;
    void open(Ctl c) override;
    void focus(Ctl c) override;
    void leftClickRow(int row) override;
    bool rightClickRow(int row) override;
    void chooseMenuItem(Ctl item) override;
    void drop(const std::vector<std::string>& paths) override;
    void close() override;

private:
    // Passes the action on and raises, as the script's error, a stop it ran into.
    void act(Ctl c, Event e);
    void raiseStop();

    bool started_ = false;
    bool menuShown_ = false;
    HeadlessWindow window_;
    ScriptedDialogs dialogs_;
    TranscribingFileSystem fs_;
    RecordingClipboard clipboard_;
    RecordingShell shell_;
    DriverClock clock_;
    TableChineseMapping chinese_;
    NoProgress progress_;  // a script run is never stopped
    Program program_;
};

}  // namespace vb

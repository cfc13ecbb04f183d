// The script driver: runs a script of user actions against a front end and prints what the
// user would see. Shared by velbrook-drive and Velbrook.exe --drive.
#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "drive/frontend.h"
#include "drive/script.h"
#include "drive/transcript_text.h"

namespace vb {

// Writes the transcript lines of the ports' events to a stream.
class StreamTranscript final : public Transcript {
public:
    StreamTranscript(std::ostream& out, const TranscriptText& text) : out_(out), text_(text) {}
    void box(const std::string& title, Icon icon, Buttons buttons, const std::string& text,
             int answer) override;
    void browse(const std::string& title, const std::string* path) override;
    void clipboardSet(const std::string& text) override;
    void url(const std::string& text) override;
    void topmost(bool on) override;
    void secondWindow(bool open) override;
    void recycle(const std::string& path) override;

private:
    std::ostream& out_;
    const TranscriptText& text_;
};

// Script answers queued in advance, handed to whichever dialogs the front end shows.
// Throws ScriptError when a folder browser finds nothing queued.
int takeBoxAnswer(Answers& answers, Buttons buttons);
std::optional<std::string> takeBrowseAnswer(Answers& answers);

// Runs the script; returns 0 when it ran to its end, 2 after printing an ERROR line.
int runScript(std::istream& script, const std::string& rootUtf8, Frontend& frontend, Answers& answers,
              std::ostream& out, const TranscriptText& text);

}  // namespace vb

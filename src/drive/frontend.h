// What the script driver needs from a front end: the user's actions on the main window.
// The native front end acts on the headless window; Velbrook.exe sends real messages.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "app/program.h"

namespace vb {

class Frontend {
public:
    virtual ~Frontend() = default;

    // For looking at the controls (show, list, window).
    virtual Window& window() = 0;
    virtual const std::vector<std::string>& undoArray() const = 0;
    // The text the program last put on the clipboard (empty when nothing was copied).
    virtual std::string clipboardText() const = 0;

    // Each runs the bound handler(s) the way a user's action would. The driver has already
    // checked that the control exists, is visible where that matters, and has the right kind.
    virtual void click(Ctl c) = 0;
    virtual void setText(Ctl c, const std::string& text) = 0;
    virtual void type(Ctl c, const std::string& text) = 0;
    // Opens the drop-down (list-about-to-open handler), then selects the item with this text
    // and runs the item-chosen handler. False when no item has that text after opening.
    virtual bool choose(Ctl c, const std::string& item) = 0;
    virtual void open(Ctl c) = 0;
    virtual void focus(Ctl c) = 0;
    virtual void leftClickRow(int row) = 0;  // -1: below the last row
    // True when the popup menu is showing afterwards.
    virtual bool rightClickRow(int row) = 0;
    virtual void chooseMenuItem(Ctl item) = 0;
    virtual void drop(const std::vector<std::string>& paths) = 0;
    virtual void close() = 0;
    // Hands the window to a person until they give the signal (the Pause key). The front end
    // first describes where things are on the screen, then prints AWAIT. Without a screen
    // there is no one to wait for.
    virtual void handOver(std::ostream& out) { out << "AWAIT\n"; }
};

// Script answers, queued in advance and taken first in first out.
struct Answers {
    std::vector<std::string> browses;  // a path, or empty for cancel
    std::vector<int> boxes;            // kAnswerOk or kAnswerCancel
    size_t nextBrowse = 0;
    size_t nextBox = 0;
};

// Where the driver's output lines go. Texts are GBK; the transcript converts and escapes.
class Transcript {
public:
    virtual ~Transcript() = default;
    virtual void box(const std::string& title, Icon icon, Buttons buttons, const std::string& text,
                     int answer) = 0;
    virtual void browse(const std::string& title, const std::string* path) = 0;  // null: cancel
    virtual void clipboardSet(const std::string& text) = 0;
    virtual void url(const std::string& text) = 0;
    virtual void topmost(bool on) = 0;
    virtual void secondWindow(bool open) = 0;
    virtual void recycle(const std::string& path) = 0;
};

// Why the script cannot go on (a folder browser with nothing queued, a control that did not
// answer); the driver prints it as the ERROR line. Thrown inside an operation it stops the
// operation like any stop of the run, and the front end raises it again from there.
struct ScriptError : RunStop {};

}  // namespace vb

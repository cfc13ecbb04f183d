// The script driver against the real window: every action is the input a user's action would
// give, and the real modal boxes and folder browser are answered from the script.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "app.h"
#include "drive/driver.h"
#include "drive/headless_frontend.h"
#include "platform/win32/win32_services.h"
#include "real_input.h"

namespace vb {

// Watches the thread's dialogs as they finish initialising; the program's own message box is
// read, reported and answered from the queue. The folder browser is steered from its own
// callback: it is sent to the expected folder once it is ready and confirmed only when its
// selection is exactly that folder; otherwise it is cancelled and the miss is reported. Any
// other dialog is the system's (such as an offer to delete for good what the recycle bin cannot
// take): it is declined without a word, so nothing is lost or waits.
class ModalAnswerer final : public BrowseObserver {
public:
    ModalAnswerer(Answers& answers, Transcript& transcript);
    ~ModalAnswerer() override;
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;

    // The next message box is the program's own.
    void expectBox(bool pending = true) { boxPending_ = pending; }
    // While a person has the window, the dialogs it shows are theirs to answer.
    void leaveToPerson(bool on) { leftToPerson_ = on; }
    // The next folder browser goes to this folder and is confirmed; nothing: cancelled.
    void expectBrowse(std::optional<std::wstring> folder);
    // The caption the last folder browser showed.
    const std::string& browseTitle() const { return browseTitle_; }
    // The last folder browser could not be brought to its folder and was cancelled.
    bool browseMissed() const { return browseMissed_; }

    void initialized(HWND browser) override;
    void selectionChanged(HWND browser, const std::wstring& path) override;

private:
    static LRESULT CALLBACK hookProc(int code, WPARAM wp, LPARAM lp);
    void onDialog(HWND dialog);
    void answerBox(HWND box);
    static void decline(HWND dialog);

    Answers& answers_;
    Transcript& transcript_;
    HHOOK hook_ = nullptr;
    bool boxPending_ = false;
    bool leftToPerson_ = false;
    bool browsePending_ = false;
    HWND browser_ = nullptr;
    std::optional<std::wstring> browseFolder_;
    std::wstring browseSelection_;
    bool browseMissed_ = false;
    std::string browseTitle_;
};

// The dialogs of a driven run: real boxes and a real browser, answered by the ModalAnswerer; a
// question with no answer queued, asked while a person has the window, is the person's.
class DrivenDialogs final : public Dialogs {
public:
    DrivenDialogs(std::function<HWND()> owner, ModalAnswerer& answerer, Answers& answers,
                  Transcript& transcript, std::function<bool()> personHasWindow = {})
        : real_(std::move(owner)),
          answerer_(answerer),
          answers_(answers),
          transcript_(transcript),
          personHasWindow_(std::move(personHasWindow)) {
        real_.setBrowseObserver(&answerer_);
    }
    int messageBox(const std::string& text, const std::string& title, Icon icon, Buttons buttons) override;
    std::optional<std::string> browseFolder(const std::string& title, const std::string& startAt) override;

private:
    Win32Dialogs real_;
    ModalAnswerer& answerer_;
    Answers& answers_;
    Transcript& transcript_;
    std::function<bool()> personHasWindow_;
};

// The real clipboard, with each text reported.
class DrivenClipboard final : public Clipboard {
public:
    DrivenClipboard(std::function<HWND()> owner, Transcript& transcript)
        : real_(std::move(owner)), recorded_(transcript) {}
    void setText(const std::string& s) override {
        real_.setText(s);
        recorded_.setText(s);
    }
    const std::string& text() const { return recorded_.text(); }

private:
    Win32Clipboard real_;
    RecordingClipboard recorded_;
};

// Acts on the real window as a person does: mouse clicks where the control is on the screen
// (first on its tab page's tab when another page is in front) and keystrokes to the control that
// has the focus, each action ending once the program has handled the input.
class Win32Frontend final : public Frontend {
public:
    Win32Frontend(App& app, const DrivenClipboard& clipboard)
        : app_(app), clipboard_(clipboard), input_([&app] { return app.mainWindow(); }) {}

    Window& window() override { return app_.window(); }
    const std::vector<std::string>& undoArray() const override { return app_.program().undoArray(); }
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

    void handOver(std::ostream& out) override;

    // Called by the window when an operation asks for the popup menu: false while a person has
    // the window, who gets the real one.
    bool menuShown() {
        menuShown_ = true;
        return !handedOver_;
    }
    bool handedOver() const { return handedOver_; }

private:
    // Lets posted messages run, then raises a script error an operation ran into.
    void settle();
    void send();
    void pressWithKeyboard(Ctl c, HWND h);
    void clickAt(HWND w, const RECT& screen, RealInput::Button button = RealInput::Button::Left);
    [[noreturn]] void inputFailed() const;
    void showPageOf(Ctl c);
    void replaceText(Ctl c, HWND field, const std::string& text);
    void clickRow(int row, RealInput::Button button);
    // Scrolls with the scroll bar until item `wanted` of a list is in view; the view is the
    // first item shown and how many are shown.
    using View = std::pair<int, int>;
    void scrollIntoView(HWND list, int wanted, const std::function<View()>& view);
    void notifyCombo(Ctl c, int code);
    void describeScreen(std::ostream& out);

    App& app_;
    const DrivenClipboard& clipboard_;
    RealInput input_;
    bool menuShown_ = false;
    bool handedOver_ = false;
};

}  // namespace vb

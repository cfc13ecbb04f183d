#include "drive/headless_frontend.h"

#include "drive/driver.h"
#include "platform/tick.h"
#include "window/window_def.h"

namespace vb {

int ScriptedDialogs::messageBox(const std::string& text, const std::string& title, Icon icon,
                                Buttons buttons) {
    int answer = takeBoxAnswer(answers_, buttons);
    transcript_.box(title, icon, buttons, text, answer);
    return answer;
}

std::optional<std::string> ScriptedDialogs::browseFolder(const std::string& title, const std::string&) {
    auto path = takeBrowseAnswer(answers_);
    transcript_.browse(title, path ? &*path : nullptr);
    return path;
}

std::uint32_t DriverClock::tickCount() {
    if (fixed_) return *fixed_;
    return systemTickCount();
}

HeadlessFrontend::HeadlessFrontend(FileSystem& fs, Answers& answers, Transcript& transcript,
                                   std::optional<std::uint32_t> tick)
    : window_(HeadlessWindow::Listener{[this, &transcript](bool on) {
                                           if (started_) transcript.topmost(on);
                                       },
                                       [&transcript](bool open) { transcript.secondWindow(open); },
                                       [this] { menuShown_ = true; }}),
      dialogs_(answers, transcript),
      fs_(fs, transcript),
      clipboard_(transcript),
      shell_(transcript),
      clock_(tick),
      program_({window_, dialogs_, fs_, clipboard_, shell_, clock_, chinese_, progress_}) {
    program_.start();
    raiseStop();
    started_ = true;
}

void HeadlessFrontend::act(Ctl c, Event e) {
    program_.handle(c, e);
    raiseStop();
}

void HeadlessFrontend::raiseStop() {
    if (auto reason = program_.takeStop()) throw ScriptError{{*reason}};
}

void HeadlessFrontend::click(Ctl c) {
    if (def(c).kind == Kind::CheckBox) window_.setChecked(c, !window_.checked(c));
    act(c, Event::Click);
}

void HeadlessFrontend::setText(Ctl c, const std::string& text) { window_.setText(c, text); }

void HeadlessFrontend::type(Ctl c, const std::string& text) {
    window_.setSelection(c, -1);  // a typed text is not a chosen item
    window_.setText(c, text);
    act(c, Event::TextEdited);
}

bool HeadlessFrontend::choose(Ctl c, const std::string& item) {
    act(c, Event::ListOpening);
    auto items = window_.items(c);
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] == item) {
            window_.setSelection(c, static_cast<int>(i));
            act(c, Event::ItemChosen);
            return true;
        }
    }
    return false;
}

void HeadlessFrontend::open(Ctl c) { act(c, Event::ListOpening); }
void HeadlessFrontend::focus(Ctl c) { act(c, Event::GotFocus); }

void HeadlessFrontend::leftClickRow(int row) {
    window_.selectRow(row);
    act(Ctl::超级列表框1, Event::LeftClick);
}

bool HeadlessFrontend::rightClickRow(int row) {
    window_.selectRow(row);
    menuShown_ = false;
    act(Ctl::超级列表框1, Event::RightClick);
    return menuShown_;
}

void HeadlessFrontend::chooseMenuItem(Ctl item) { act(item, Event::MenuChosen); }

void HeadlessFrontend::drop(const std::vector<std::string>& paths) {
    program_.drop(paths);
    raiseStop();
}

void HeadlessFrontend::close() { act(Ctl::主窗口, Event::Closing); }

}  // namespace vb

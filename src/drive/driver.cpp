#include "drive/driver.h"

#include <charconv>
#include <functional>
#include <map>

#include "platform/encoding.h"
#include "window/window_def.h"

namespace vb {

void StreamTranscript::box(const std::string& title, Icon icon, Buttons buttons, const std::string& text,
                           int answer) {
    out_ << "BOX title=" << text_.quoted(title) << " icon=" << (icon == Icon::Info ? "info" : "none")
         << " buttons=" << (buttons == Buttons::Ok ? "ok" : "okcancel") << " text=" << text_.quoted(text)
         << " -> " << (answer == kAnswerCancel ? "cancel" : "ok") << '\n';
}

void StreamTranscript::browse(const std::string& title, const std::string* path) {
    out_ << "BROWSE title=" << text_.quoted(title) << " -> " << (path ? text_.quoted(*path) : "cancel")
         << '\n';
}

void StreamTranscript::clipboardSet(const std::string& text) {
    out_ << "CLIPBOARD-SET " << text_.quoted(text) << '\n';
}
void StreamTranscript::url(const std::string& text) { out_ << "URL " << text_.quoted(text) << '\n'; }
void StreamTranscript::topmost(bool on) { out_ << "TOPMOST " << (on ? 1 : 0) << '\n'; }

void StreamTranscript::secondWindow(bool open) {
    out_ << (open ? "WINDOW-OPEN " : "WINDOW-CLOSE ") << text_.quoted(def(Ctl::感谢窗口).caption) << '\n';
}

void StreamTranscript::recycle(const std::string& path) { out_ << "RECYCLE " << text_.quoted(path) << '\n'; }

int takeBoxAnswer(Answers& answers, Buttons buttons) {
    if (buttons == Buttons::Ok) return kAnswerOk;
    if (answers.nextBox < answers.boxes.size()) return answers.boxes[answers.nextBox++];
    return kAnswerOk;
}

std::optional<std::string> takeBrowseAnswer(Answers& answers) {
    if (answers.nextBrowse >= answers.browses.size())
        throw ScriptError{"a folder browser was shown with no browse answer queued"};
    std::string path = answers.browses[answers.nextBrowse++];
    if (path.empty()) return std::nullopt;
    return path;
}

namespace {

class Runner {
public:
    Runner(Frontend& f, Answers& a, std::ostream& out, const TranscriptText& text)
        : f_(f), answers_(a), out_(out), text_(text) {}

    // Returns false when the main window has been closed.
    bool execute(const std::vector<std::string>& w);

private:
    Ctl control(const std::string& name) const {
        auto c = findControl(name);
        if (!c) fail("unknown control " + utf8(name));
        return *c;
    }
    Ctl controlOfKind(const std::string& name, std::initializer_list<Kind> kinds) const {
        Ctl c = control(name);
        for (Kind k : kinds)
            if (def(c).kind == k) return c;
        fail("control " + utf8(name) + " cannot take this command");
        return c;
    }
    [[noreturn]] static void fail(const std::string& reason) { throw ScriptError{reason}; }
    static std::string utf8(const std::string& gbk) { return gbkToUtf8(gbk).value_or("?"); }
    static void arity(const std::vector<std::string>& w, size_t min, size_t max) {
        if (w.size() < min || w.size() > max) fail("wrong number of words for " + w[0]);
    }
    static int number(const std::string& s) {
        int n = 0;
        auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
        if (ec != std::errc() || p != s.data() + s.size() || n < 0) fail("not a row number: " + utf8(s));
        return n;
    }

    void show(Ctl c);
    void list();

    Frontend& f_;
    Answers& answers_;
    std::ostream& out_;
    const TranscriptText& text_;
    bool menuShowing_ = false;
};

bool hasTextField(Kind k) {
    return k != Kind::ListView && k != Kind::TabControl && k != Kind::PictureButton &&
           k != Kind::PictureBox && k != Kind::Menu;
}

void Runner::show(Ctl c) {
    Window& win = f_.window();
    const Kind k = def(c).kind;
    out_ << "SHOW " << utf8(def(c).name);
    if (hasTextField(k)) out_ << " text=" << text_.quoted(win.text(c));
    if (k == Kind::CheckBox || k == Kind::Radio) out_ << " checked=" << (win.checked(c) ? 1 : 0);
    if (k == Kind::Combo) {
        auto items = win.items(c);
        out_ << " sel=" << win.selection(c) << " items=" << items.size();
        for (const auto& item : items) out_ << ' ' << text_.quoted(item);
    }
    Rect r = win.rect(c);
    out_ << " visible=" << (win.visible(c) ? 1 : 0) << " rect=" << r.left << ',' << r.top << ',' << r.width
         << ',' << r.height << '\n';
}

void Runner::list() {
    Window& win = f_.window();
    const int rows = win.rowCount();
    const int cols = win.columnCount();
    out_ << "LIST rows=" << rows << " cols=" << cols << '\n';
    for (int c = 0; c < cols; ++c) out_ << "TITLE " << text_.quoted(win.columnTitle(c)) << '\n';
    for (int r = 0; r < rows; ++r) {
        out_ << "ROW " << r;
        for (int c = 0; c < cols; ++c) out_ << ' ' << text_.quoted(win.cell(r, c));
        out_ << '\n';
    }
}

bool Runner::execute(const std::vector<std::string>& w) {
    const std::string& cmd = w[0];
    const bool menuWasShowing = menuShowing_;
    menuShowing_ = false;
    if (cmd == "browse") {
        arity(w, 2, 2);
        answers_.browses.push_back(w[1] == "cancel" ? std::string() : w[1]);
    } else if (cmd == "answer") {
        arity(w, 2, 2);
        if (w[1] != "ok" && w[1] != "cancel") fail("answer takes ok or cancel");
        answers_.boxes.push_back(w[1] == "ok" ? kAnswerOk : kAnswerCancel);
    } else if (cmd == "click") {
        arity(w, 2, 2);
        Ctl c = controlOfKind(w[1], {Kind::Button, Kind::PictureButton, Kind::CheckBox, Kind::Radio});
        if (!f_.window().visible(c)) {
            out_ << "IGNORED click " << utf8(w[1]) << " hidden\n";
        } else {
            f_.click(c);
        }
    } else if (cmd == "set") {
        arity(w, 2, 3);
        f_.setText(controlOfKind(w[1], {Kind::Edit}), w.size() > 2 ? w[2] : std::string());
    } else if (cmd == "type") {
        arity(w, 2, 3);
        f_.type(controlOfKind(w[1], {Kind::Combo}), w.size() > 2 ? w[2] : std::string());
    } else if (cmd == "choose") {
        arity(w, 3, 3);
        if (!f_.choose(controlOfKind(w[1], {Kind::Combo}), w[2]))
            fail("no item " + utf8(w[2]) + " in " + utf8(w[1]));
    } else if (cmd == "open") {
        arity(w, 2, 2);
        f_.open(controlOfKind(w[1], {Kind::Combo}));
    } else if (cmd == "focus") {
        arity(w, 2, 2);
        f_.focus(control(w[1]));
    } else if (cmd == "row") {
        arity(w, 2, 2);
        f_.leftClickRow(w[1] == "none" ? -1 : number(w[1]));
    } else if (cmd == "rightclick") {
        arity(w, 2, 2);
        menuShowing_ = f_.rightClickRow(number(w[1]));
        out_ << (menuShowing_ ? "MENU shown\n" : "MENU not shown\n");
    } else if (cmd == "menu") {
        arity(w, 2, 2);
        if (!menuWasShowing) fail("no menu is showing");
        f_.chooseMenuItem(controlOfKind(w[1], {Kind::MenuItem}));
    } else if (cmd == "drop") {
        arity(w, 2, SIZE_MAX);
        f_.drop(std::vector<std::string>(w.begin() + 1, w.end()));
    } else if (cmd == "await") {
        arity(w, 1, 1);
        f_.handOver(out_);
    } else if (cmd == "close") {
        arity(w, 1, 1);
        f_.close();
        return false;
    } else if (cmd == "list") {
        arity(w, 1, 1);
        list();
    } else if (cmd == "show") {
        arity(w, 2, 2);
        show(control(w[1]));
    } else if (cmd == "undo") {
        arity(w, 1, 1);
        const auto& undo = f_.undoArray();
        out_ << "UNDO n=" << undo.size() << '\n';
        for (const auto& name : undo) out_ << "  " << text_.quoted(name) << '\n';
    } else if (cmd == "window") {
        arity(w, 1, 1);
        Window& win = f_.window();
        out_ << "WINDOW w=" << win.windowWidth() << " h=" << win.windowHeight()
             << " topmost=" << (win.topmost() ? 1 : 0) << '\n';
    } else if (cmd == "clipboard") {
        arity(w, 1, 1);
        out_ << "CLIPBOARD " << text_.quoted(f_.clipboardText()) << '\n';
    } else {
        fail("unknown command " + utf8(cmd));
    }
    return true;
}

}  // namespace

int runScript(std::istream& script, const std::string& rootUtf8, Frontend& frontend, Answers& answers,
              std::ostream& out, const TranscriptText& text) {
    Runner runner(frontend, answers, out, text);
    std::string line;
    int number = 0;
    try {
        while (std::getline(script, line)) {
            ++number;
            std::string error;
            auto parsed = parseScriptLine(line, number, rootUtf8, error);
            if (!error.empty()) throw ScriptError{"line " + std::to_string(number) + ": " + error};
            if (!parsed) continue;
            if (!runner.execute(parsed->words)) break;
        }
    } catch (const ScriptError& e) {
        out << "ERROR " << e.reason << '\n';
        out.flush();
        return 2;
    }
    out.flush();
    return 0;
}

}  // namespace vb

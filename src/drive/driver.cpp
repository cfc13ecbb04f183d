#include "drive/driver.h"

#include <charconv>
#include <string_view>

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

using Words = std::vector<std::string>;

class Runner {
public:
    Runner(Frontend& f, Answers& a, std::ostream& out, const TranscriptText& text)
        : f_(f), answers_(a), out_(out), text_(text) {}

    // Returns false when the main window has been closed.
    bool execute(const Words& w);

private:
    struct Command {
        std::string_view name;
        size_t minWords, maxWords;  // the command word included
        void (Runner::*run)(const Words&);
    };
    static const Command kCommands[];

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
    static int number(const std::string& s) {
        int n = 0;
        auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
        if (ec != std::errc() || p != s.data() + s.size() || n < 0) fail("not a row number: " + utf8(s));
        return n;
    }
    // The optional text word of set and type: left out, the text is empty.
    static std::string textWord(const Words& w) { return w.size() > 2 ? w[2] : std::string(); }

    void browse(const Words& w) { answers_.browses.push_back(w[1] == "cancel" ? std::string() : w[1]); }
    void answer(const Words& w);
    void click(const Words& w);
    void set(const Words& w) { f_.setText(controlOfKind(w[1], {Kind::Edit}), textWord(w)); }
    void type(const Words& w) { f_.type(controlOfKind(w[1], {Kind::Combo}), textWord(w)); }
    void choose(const Words& w);
    void open(const Words& w) { f_.open(controlOfKind(w[1], {Kind::Combo})); }
    void focus(const Words& w) { f_.focus(control(w[1])); }
    void row(const Words& w) { f_.leftClickRow(w[1] == "none" ? -1 : number(w[1])); }
    void rightclick(const Words& w);
    void menu(const Words& w);
    void drop(const Words& w) { f_.drop(Words(w.begin() + 1, w.end())); }
    void await(const Words&) { f_.handOver(out_); }
    void close(const Words&) {
        f_.close();
        closed_ = true;
    }
    void list(const Words&);
    void show(const Words& w);
    void undo(const Words&);
    void window(const Words&);
    void clipboard(const Words&) { out_ << "CLIPBOARD " << text_.quoted(f_.clipboardText()) << '\n'; }

    Frontend& f_;
    Answers& answers_;
    std::ostream& out_;
    const TranscriptText& text_;
    bool menuShowing_ = false;
    bool menuWasShowing_ = false;
    bool closed_ = false;
};

const Runner::Command Runner::kCommands[] = {
    {"browse", 2, 2, &Runner::browse},
    {"answer", 2, 2, &Runner::answer},
    {"click", 2, 2, &Runner::click},
    {"set", 2, 3, &Runner::set},
    {"type", 2, 3, &Runner::type},
    {"choose", 3, 3, &Runner::choose},
    {"open", 2, 2, &Runner::open},
    {"focus", 2, 2, &Runner::focus},
    {"row", 2, 2, &Runner::row},
    {"rightclick", 2, 2, &Runner::rightclick},
    {"menu", 2, 2, &Runner::menu},
    {"drop", 2, SIZE_MAX, &Runner::drop},
    {"await", 1, 1, &Runner::await},
    {"close", 1, 1, &Runner::close},
    {"list", 1, 1, &Runner::list},
    {"show", 2, 2, &Runner::show},
    {"undo", 1, 1, &Runner::undo},
    {"window", 1, 1, &Runner::window},
    {"clipboard", 1, 1, &Runner::clipboard},
};

bool hasTextField(Kind k) {
    return k != Kind::ListView && k != Kind::TabControl && k != Kind::PictureButton &&
           k != Kind::PictureBox && k != Kind::Menu;
}

void Runner::answer(const Words& w) {
    if (w[1] != "ok" && w[1] != "cancel") fail("answer takes ok or cancel");
    answers_.boxes.push_back(w[1] == "ok" ? kAnswerOk : kAnswerCancel);
}

void Runner::click(const Words& w) {
    Ctl c = controlOfKind(w[1], {Kind::Button, Kind::PictureButton, Kind::CheckBox, Kind::Radio});
    if (!f_.window().visible(c)) {
        out_ << "IGNORED click " << utf8(w[1]) << " hidden\n";
    } else {
        f_.click(c);
    }
}

void Runner::choose(const Words& w) {
    if (!f_.choose(controlOfKind(w[1], {Kind::Combo}), w[2]))
        fail("no item " + utf8(w[2]) + " in " + utf8(w[1]));
}

void Runner::rightclick(const Words& w) {
    menuShowing_ = f_.rightClickRow(number(w[1]));
    out_ << (menuShowing_ ? "MENU shown\n" : "MENU not shown\n");
}

void Runner::menu(const Words& w) {
    if (!menuWasShowing_) fail("no menu is showing");
    f_.chooseMenuItem(controlOfKind(w[1], {Kind::MenuItem}));
}

void Runner::show(const Words& w) {
    const Ctl c = control(w[1]);
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

void Runner::list(const Words&) {
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

void Runner::undo(const Words&) {
    const auto& undo = f_.undoArray();
    out_ << "UNDO n=" << undo.size() << '\n';
    for (const auto& name : undo) out_ << "  " << text_.quoted(name) << '\n';
}

void Runner::window(const Words&) {
    Window& win = f_.window();
    out_ << "WINDOW w=" << win.windowWidth() << " h=" << win.windowHeight()
         << " topmost=" << (win.topmost() ? 1 : 0) << '\n';
}

bool Runner::execute(const Words& w) {
    // Any command closes a popup menu; only the one right after it may choose from it.
    menuWasShowing_ = menuShowing_;
    menuShowing_ = false;
    for (const Command& cmd : kCommands) {
        if (cmd.name != w[0]) continue;
        if (w.size() < cmd.minWords || w.size() > cmd.maxWords) fail("wrong number of words for " + w[0]);
        (this->*cmd.run)(w);
        return !closed_;
    }
    fail("unknown command " + utf8(w[0]));
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

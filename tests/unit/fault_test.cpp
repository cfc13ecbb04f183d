// The whole program on real directories when things go wrong: collisions, files that vanish,
// read-only folders, names at the length limit, texts that try to leave the folder, broken GBK.
// Nothing may be lost, overwritten or moved out of the working directory.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "../temp_folder.h"
#include "drive/headless_frontend.h"
#include "platform/encoding.h"
#include "platform/posix/posix_fs.h"
#include "transforms/gbk_text.h"

namespace vb {
namespace {

namespace stdfs = std::filesystem;

struct Box {
    std::string title, text;
};

class Recorder final : public Transcript {
public:
    void box(const std::string& title, Icon, Buttons, const std::string& text, int) override {
        boxes.push_back({title, text});
    }
    void browse(const std::string&, const std::string*) override {}
    void clipboardSet(const std::string&) override {}
    void url(const std::string&) override {}
    void topmost(bool) override {}
    void secondWindow(bool) override {}
    void recycle(const std::string&) override {}
    std::vector<Box> boxes;
};

std::string utf8(const std::string& gbk) { return gbkToUtf8(gbk).value(); }
std::string gbk(const std::string& utf8Text) { return utf8ToGbk(utf8Text).value(); }
stdfs::path native(const stdfs::path& dir, const std::string& gbkName) { return dir / utf8(gbkName); }

void write(const stdfs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

std::string read(const stdfs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Every entry below dir: relative path -> content hash ("dir" for a directory).
std::map<std::string, std::string> snapshot(const stdfs::path& dir) {
    std::map<std::string, std::string> out;
    for (const auto& e : stdfs::recursive_directory_iterator(dir)) {
        std::string rel = stdfs::relative(e.path(), dir).string();
        out[rel] = e.is_directory() ? "dir" : std::to_string(std::hash<std::string>{}(read(e.path())));
    }
    return out;
}

// The contents of the files directly in dir, as a sorted list (names may change, bytes may not).
std::vector<std::string> contents(const stdfs::path& dir) {
    std::vector<std::string> out;
    for (const auto& e : stdfs::directory_iterator(dir))
        if (e.is_regular_file()) out.push_back(read(e.path()));
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> namesIn(const stdfs::path& dir) {
    std::vector<std::string> out;
    for (const auto& e : stdfs::directory_iterator(dir)) out.push_back(gbk(e.path().filename().string()));
    std::sort(out.begin(), out.end());
    return out;
}

// A real temporary directory holding the program's directory and a working directory.
class Sandbox {
public:
    Sandbox() : root(temp_.root()), work(root / "work"), prog(root / "prog") {
        stdfs::create_directories(work);
        stdfs::create_directories(prog);
    }

    void file(const std::string& gbkName, const std::string& bytes) { write(native(work, gbkName), bytes); }

private:
    testing::TempFolder temp_{"fault"};

public:
    stdfs::path root, work, prog;
};

// The program as a user drives it: in-memory window, real file system, every question answered OK.
class Program {
public:
    explicit Program(const Sandbox& box)
        : fs_(gbk(box.prog.string() + "/"), gbk(box.prog.string() + "/")),
          front_(fs_, answers_, transcript_, 1000u),
          work_(box.work) {}

    void read() {
        answers_.browses.push_back(gbk(work_.string()));
        front_.click(Ctl::按钮_手动读取);
    }
    void set(Ctl c, const std::string& text) { front_.setText(c, text); }
    void type(Ctl c, const std::string& text) { front_.type(c, text); }
    // Clicks and returns the boxes that click showed.
    std::vector<Box> click(Ctl c) {
        transcript_.boxes.clear();
        front_.click(c);
        return transcript_.boxes;
    }
    Window& window() { return front_.window(); }

private:
    Recorder transcript_;
    Answers answers_;
    PosixFileSystem fs_;
    HeadlessFrontend front_;
    stdfs::path work_;
};

std::string lastText(const std::vector<Box>& boxes) { return boxes.empty() ? "" : boxes.back().text; }

// Every rename button, and the inputs that are texts written into names (the rest are markers).
struct Input {
    Ctl control;
    bool combo;
    bool writesText;
};
const Input kInputs[] = {
    {Ctl::编辑框6, false, true},   {Ctl::编辑框7, false, true},   {Ctl::组合框_修改扩展, true, true},
    {Ctl::编辑框18, false, true},  {Ctl::编辑框5, false, true},   {Ctl::编辑框12, false, true},
    {Ctl::组合框5, true, true},    {Ctl::编辑框13, false, true},  {Ctl::编辑框1, false, false},
    {Ctl::编辑框2, false, false},  {Ctl::编辑框3, false, false},  {Ctl::编辑框4, false, false},
    {Ctl::编辑框8, false, false},  {Ctl::编辑框9, false, false},  {Ctl::编辑框10, false, false},
    {Ctl::编辑框11, false, false}, {Ctl::编辑框16, false, false},
};
const Ctl kRenameButtons[] = {
    Ctl::按钮_最前面加,     Ctl::按钮_最后面加,      Ctl::按钮_改扩展,   Ctl::按钮_扩展名后面加,
    Ctl::按钮_删前面,       Ctl::按钮_删后面,        Ctl::按钮_一键删除, Ctl::按钮_删掉N次,
    Ctl::按钮_替换,         Ctl::按钮_在某物前后加,  Ctl::按钮_加序号,   Ctl::按钮_改01,
    Ctl::按钮_数字后加符号, Ctl::按钮_第一课改第1课, Ctl::按钮_繁简,     Ctl::按钮_模拟B站AV,
};

// Types text into every input that writes into names and marker into the others, then runs
// every rename button on a fresh listing, directly or through preview and execute.
void everyRule(const Sandbox& box, const std::string& text, const std::string& marker, bool preview) {
    Program p(box);
    for (const Input& in : kInputs) {
        const std::string& t = in.writesText ? text : marker;
        if (in.combo)
            p.type(in.control, t);
        else
            p.set(in.control, t);
    }
    if (preview) p.click(Ctl::按钮_打开预览);
    for (Ctl button : kRenameButtons) {
        p.read();
        p.click(button);
        if (preview) p.click(Ctl::按钮_确认无误执行吧);
    }
}

TEST(Fault, TenThousandChineseNamesRoundTrip) {
    Sandbox box;
    for (int i = 1; i <= 10000; ++i)
        box.file("第" + std::to_string(i) + "集_视频.txt", std::to_string(i * 7));
    const auto before = snapshot(box.work);

    Program p(box);
    p.click(Ctl::按钮_打开预览);
    p.read();
    ASSERT_EQ(p.window().rowCount(), 10000);
    // A suffix keeps the listing's order, which undo checks the rows against.
    p.set(Ctl::编辑框7, "_新版");
    p.click(Ctl::按钮_最后面加);
    EXPECT_TRUE(snapshot(box.work) == before) << "preview renames nothing";
    EXPECT_TRUE(p.click(Ctl::按钮_确认无误执行吧).empty());
    const auto renamed = namesIn(box.work);
    EXPECT_EQ(renamed.size(), 10000u);
    EXPECT_EQ(std::count_if(renamed.begin(), renamed.end(),
                            [](const std::string& n) { return n.ends_with("_视频_新版.txt"); }),
              10000);
    auto boxes = p.click(Ctl::按钮_撤回上一步);
    EXPECT_TRUE(boxes.empty()) << utf8(lastText(boxes));
    EXPECT_TRUE(snapshot(box.work) == before) << "names and contents as at the start";
}

// New names that meet each other or files already there.
struct CollisionCase {
    const char* what;
    std::vector<std::pair<std::string, std::string>> files;  // name, content
    Ctl button;
    Ctl input;
    std::string text;
    bool preview;
    std::string report;                                      // direct runs
    int executed;                                            // previewed runs: rows whose rename went through
    std::vector<std::pair<std::string, std::string>> after;  // name, content
};

TEST(Fault, CollidingNamesNeverOverwrite) {
    const std::vector<std::pair<std::string, std::string>> cut = {
        {"p_1.txt", "p"}, {"q_1.txt", "qq"}, {"r_2.txt", "rrr"}, {"s_3.txt", "ssss"}, {"3.txt", "three"}};
    // b -> b_x waits until b_x has moved on to b_x_x.
    const std::vector<std::pair<std::string, std::string>> add = {
        {"a.txt", "a"}, {"b.txt", "b"}, {"b_x.txt", "bx"}};
    const std::vector<std::pair<std::string, std::string>> exts = {
        {"a.txt", "t"}, {"a.jpg", "jj"}, {"a.png", "ppp"}};
    const CollisionCase cases[] = {
        // p_1 -> 1, q_1 -> 1 (taken just now), r_2 -> 2, s_3 -> 3 (there already)
        {"cut before the marker",
         cut,
         Ctl::按钮_删前面,
         Ctl::编辑框8,
         "_",
         false,
         "成功改了2个",
         0,
         {{"1.txt", "p"}, {"2.txt", "rrr"}, {"3.txt", "three"}, {"q_1.txt", "qq"}, {"s_3.txt", "ssss"}}},
        {"add at end",
         add,
         Ctl::按钮_最后面加,
         Ctl::编辑框7,
         "_x",
         false,
         "一共有3个文件被改名成功",
         0,
         {{"a_x.txt", "a"}, {"b_x.txt", "b"}, {"b_x_x.txt", "bx"}}},
        {"add at end, previewed",
         add,
         Ctl::按钮_最后面加,
         Ctl::编辑框7,
         "_x",
         true,
         "",
         3,
         {{"a_x.txt", "a"}, {"b_x.txt", "b"}, {"b_x_x.txt", "bx"}}},
        {"one extension for all",
         exts,
         Ctl::按钮_改扩展,
         Ctl::组合框_修改扩展,
         "txt",
         false,
         "没有任何改动",
         0,
         {{"a.jpg", "jj"}, {"a.png", "ppp"}, {"a.txt", "t"}}},
        // a.txt onto itself goes through and changes nothing, as the Windows move does
        {"one extension for all, previewed",
         exts,
         Ctl::按钮_改扩展,
         Ctl::组合框_修改扩展,
         "txt",
         true,
         "",
         1,
         {{"a.jpg", "jj"}, {"a.png", "ppp"}, {"a.txt", "t"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Sandbox box;
        for (const auto& [name, bytes] : c.files) box.file(name, bytes);
        const auto bytes = contents(box.work);

        Program p(box);
        if (c.button == Ctl::按钮_删前面) p.click(Ctl::选择框3);  // the marker goes too
        if (c.preview) p.click(Ctl::按钮_打开预览);
        p.read();
        if (c.input == Ctl::组合框_修改扩展)
            p.type(c.input, c.text);
        else
            p.set(c.input, c.text);
        auto boxes = p.click(c.button);
        if (c.preview) {
            EXPECT_TRUE(p.click(Ctl::按钮_确认无误执行吧).empty());
            int executed = 0;
            for (int r = 0; r < p.window().rowCount(); ++r) executed += p.window().cell(r, 1).empty();
            EXPECT_EQ(executed, c.executed) << "a renamed row clears its preview cell";
        } else {
            EXPECT_EQ(lastText(boxes), c.report);
        }
        EXPECT_EQ(contents(box.work), bytes) << "every byte is still there";
        std::vector<std::string> names;
        for (const auto& [name, content] : c.after) {
            names.push_back(name);
            if (stdfs::exists(native(box.work, name))) {
                EXPECT_EQ(read(native(box.work, name)), content) << name;
            }
        }
        EXPECT_EQ(namesIn(box.work), names);
    }
}

// Someone else removes or renames a listed file after the listing, before the click.
TEST(Fault, VanishedEntryFailsAloneAndSilently) {
    for (bool preview : {false, true}) {
        SCOPED_TRACE(preview ? "preview and execute" : "direct");
        Sandbox box;
        for (const char* n : {"甲.txt", "乙.txt", "丙.txt", "丁.txt"}) box.file(n, n);
        Program p(box);
        if (preview) p.click(Ctl::按钮_打开预览);
        p.read();
        p.set(Ctl::编辑框7, "_新");
        if (preview) p.click(Ctl::按钮_最后面加);
        stdfs::remove(native(box.work, "乙.txt"));
        stdfs::rename(native(box.work, "丙.txt"), native(box.work, "丙丙.txt"));
        auto boxes = p.click(preview ? Ctl::按钮_确认无误执行吧 : Ctl::按钮_最后面加);
        if (!preview) {
            ASSERT_EQ(boxes.size(), 2u) << "the question and the report, nothing about the failures";
            EXPECT_EQ(boxes[1].text, "一共有2个文件被改名成功");
        } else {
            EXPECT_TRUE(boxes.empty());
        }
        EXPECT_EQ(namesIn(box.work), (std::vector<std::string>{"丙丙.txt", "丁_新.txt", "甲_新.txt"}));
        EXPECT_EQ(read(native(box.work, "丙丙.txt")), "丙.txt");
    }
}

// Runs the batch in a child process; as root the child drops to an unprivileged user, since
// root may write into any directory. Returns the boxes' texts, one per line.
std::string renameAsUnprivileged(const Sandbox& box) {
    int fds[2];
    if (::pipe(fds) != 0) return "pipe failed";
    pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        std::string out;
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            out = "cannot drop privileges";
        } else {
            Program p(box);
            p.read();
            p.set(Ctl::编辑框7, "_x");
            for (const Box& b : p.click(Ctl::按钮_最后面加)) out += b.text + "\n";
            out += "rows " + std::to_string(p.window().rowCount()) + "\n";
        }
        if (::write(fds[1], out.data(), out.size()) < 0) ::_exit(2);
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string out;
    char buf[512];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, static_cast<size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return out;
}

TEST(Fault, ReadOnlyDirectoryRenamesNothing) {
    Sandbox box;
    box.file("一.txt", "1");
    box.file("二.txt", "22");
    const auto before = snapshot(box.work);
    // The unprivileged user must reach the folder, not write into it.
    stdfs::permissions(box.root,
                       stdfs::perms::owner_all | stdfs::perms::group_exec | stdfs::perms::others_exec);
    stdfs::permissions(box.work, stdfs::perms::owner_read | stdfs::perms::owner_exec |
                                     stdfs::perms::group_read | stdfs::perms::group_exec |
                                     stdfs::perms::others_read | stdfs::perms::others_exec);
    stdfs::permissions(box.prog, stdfs::perms::all);
    const std::string out = renameAsUnprivileged(box);
    if (out == "cannot drop privileges") GTEST_SKIP() << "running as root and cannot become another user";
    EXPECT_EQ(out, "确定更名吗？\n没有任何改动\nrows 2\n");
    EXPECT_EQ(snapshot(box.work), before);
}

// Names of 255 bytes on disk (85 Chinese characters of three UTF-8 bytes), pushed past it.
struct LengthCase {
    const char* what;
    Ctl button;
    std::vector<std::pair<Ctl, std::string>> inputs;
    bool shortRenamed;  // the long names never go through
};

TEST(Fault, NamesAtTheLengthLimit) {
    std::string longest;
    for (int i = 0; i < 85; ++i) longest += "长";
    const std::string withExt = longest.substr(0, 2 * 84) + ".ab";  // 255 bytes too, with an extension
    ASSERT_EQ(utf8(longest).size(), 255u);
    ASSERT_EQ(utf8(withExt).size(), 255u);
    const LengthCase cases[] = {
        {"add at start", Ctl::按钮_最前面加, {{Ctl::编辑框6, "x"}}, true},
        {"add at end", Ctl::按钮_最后面加, {{Ctl::编辑框7, "x"}}, true},
        {"replace by a longer text", Ctl::按钮_替换, {{Ctl::编辑框4, "长"}, {Ctl::编辑框5, "长长"}}, false},
        {"insert at a marker", Ctl::按钮_在某物前后加, {{Ctl::编辑框11, "长"}, {Ctl::编辑框12, "x"}}, false},
        {"sequence numbers", Ctl::按钮_加序号, {}, true},
        {"change the extension", Ctl::按钮_改扩展, {{Ctl::组合框_修改扩展, ".abcdefg"}}, true},
        {"append after the extension", Ctl::按钮_扩展名后面加, {{Ctl::编辑框18, "xyz"}}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Sandbox box;
        box.file(longest, "long");
        box.file(withExt, "ext");
        box.file("甲.txt", "short");
        Program p(box);
        p.read();
        for (const auto& [ctl, text] : c.inputs) {
            if (ctl == Ctl::组合框_修改扩展)
                p.type(ctl, text);
            else
                p.set(ctl, text);
        }
        p.click(c.button);
        EXPECT_EQ(!stdfs::exists(native(box.work, "甲.txt")), c.shortRenamed);
        EXPECT_EQ(read(native(box.work, longest)), "long");
        EXPECT_EQ(read(native(box.work, withExt)), "ext");
        EXPECT_EQ(contents(box.work), (std::vector<std::string>{"ext", "long", "short"}));
    }
}

TEST(Fault, TypedTextsNeverLeaveTheFolder) {
    for (bool preview : {false, true}) {
        Sandbox box;
        const std::string outside = gbk((box.root / "outside").string());
        const std::string escapes[] = {"../x", "a/b", "..", ".", outside, outside + "/y", "/", "..\\x"};
        stdfs::create_directories(box.work / "a");
        stdfs::create_directories(box.root / "outside");
        for (const char* n : {"a.txt", "1a.txt", "..a", "a..txt", "x(a)y.txt", "一a.txt"}) box.file(n, n);
        const auto bytes = contents(box.work);
        const auto outsideBefore = snapshot(box.root / "outside");
        for (const std::string& e : escapes) {
            SCOPED_TRACE(utf8(e) + (preview ? " previewed" : " direct"));
            everyRule(box, e, "a", preview);
            EXPECT_EQ(contents(box.work), bytes);
            EXPECT_TRUE(stdfs::is_empty(box.work / "a"));
            EXPECT_EQ(snapshot(box.root / "outside"), outsideBefore);
            EXPECT_EQ(namesIn(box.root), (std::vector<std::string>{"outside", "prog", "work"}));
            EXPECT_FALSE(stdfs::exists("/y"));
        }
    }
}

TEST(Fault, LoneLeadByteInEveryInputCrashesNothing) {
    const std::string broken[] = {"abc\xD6", "\xD6", "\xB3", "1\x81"};
    for (bool preview : {false, true}) {
        Sandbox box;
        for (const char* n : {"abc.txt", "1abc.txt", "第一课.txt", "軟體.txt", "a(b)c.txt"}) box.file(n, n);
        const auto bytes = contents(box.work);
        for (const std::string& t : broken) {
            everyRule(box, t, "abc", preview);
            everyRule(box, t, t, preview);
            EXPECT_EQ(contents(box.work), bytes);
        }
    }
}

}  // namespace
}  // namespace vb

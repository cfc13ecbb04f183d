// The script driver's commands: their words, their output and the errors that end a script,
// run through the headless front end over a folder in memory.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "../memory_fs.h"
#include "drive/driver.h"
#include "drive/headless_frontend.h"

namespace vb {
namespace {

std::string str(std::u8string_view s) { return std::string(s.begin(), s.end()); }

struct Outcome {
    int status;
    std::string out;
};

Outcome drive(const std::string& script) {
    testing::MemoryFileSystem fs;
    fs.file("/v/b.txt");
    fs.file("/v/a.txt");
    std::istringstream in(script);
    std::ostringstream out;
    TranscriptText text;
    StreamTranscript transcript(out, text);
    Answers answers;
    HeadlessFrontend frontend(fs, answers, transcript, 1000);
    const int status = runScript(in, "", frontend, answers, out, text);
    return {status, out.str()};
}

struct Case {
    const char* what;
    std::u8string_view script;
    int status;
    std::u8string_view out;
};

const Case kCases[] = {
    {"blank and comment lines", u8"\n  # list\n\t\nundo\n", 0, u8"UNDO n=0\n"},
    {"looking", u8"clipboard\nawait\n", 0, u8"CLIPBOARD \"\"\nAWAIT\n"},
    {"files listed in name order", u8"browse /v\nclick 按钮_手动读取\nlist\n", 0,
     u8"BROWSE title=\"选择目录\" -> \"/v\"\nLIST rows=2 cols=1\nTITLE \"当前的文件名\"\n"
     u8"ROW 0 \"a.txt\"\nROW 1 \"b.txt\"\n"},
    {"a cancelled browser", u8"browse cancel\nclick 按钮_手动读取\nlist\n", 0,
     u8"BROWSE title=\"选择目录\" -> cancel\n"
     u8"BOX title=\"提示\" icon=info buttons=ok text=\"什么都没有选择\" -> ok\nLIST rows=0 cols=1\nTITLE "
     u8"\"当前的文件名\"\n"},
    {"nothing runs after close", u8"close\nundo\n", 0, u8""},
    {"unknown command", u8"undo\nlook\nundo\n", 2, u8"UNDO n=0\nERROR unknown command look\n"},
    {"too many words", u8"list all\n", 2, u8"ERROR wrong number of words for list\n"},
    {"too few words", u8"choose 组合框_扩展名\n", 2, u8"ERROR wrong number of words for choose\n"},
    {"drop without a path", u8"drop\n", 2, u8"ERROR wrong number of words for drop\n"},
    {"set without a text is allowed, with two is not", u8"set 编辑框7\nset 编辑框7 a b\n", 2,
     u8"ERROR wrong number of words for set\n"},
    {"answer is ok or cancel", u8"answer yes\n", 2, u8"ERROR answer takes ok or cancel\n"},
    {"row needs a number", u8"row 1x\n", 2, u8"ERROR not a row number: 1x\n"},
    {"row is never negative", u8"rightclick -1\n", 2, u8"ERROR not a row number: -1\n"},
    {"menu with no menu showing", u8"menu 上移\n", 2, u8"ERROR no menu is showing\n"},
    {"unknown control", u8"click 按钮_不在\n", 2, u8"ERROR unknown control 按钮_不在\n"},
    {"a control of the wrong kind", u8"set 按钮_手动读取 x\n", 2,
     u8"ERROR control 按钮_手动读取 cannot take this command\n"},
    {"a browser with nothing queued", u8"click 按钮_手动读取\n", 2,
     u8"ERROR a folder browser was shown with no browse answer queued\n"},
    {"a bad escape names its line", u8"undo\nset 编辑框7 \"\\q\"\n", 2,
     u8"UNDO n=0\nERROR line 2: unknown escape \\q\n"},
};

TEST(Driver, Commands) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        const Outcome run = drive(str(c.script));
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, str(c.out));
    }
}

// A popup menu stays open for the one command after the right-click, whatever that command is.
TEST(Driver, MenuOnlyRightAfterTheRightClick) {
    const std::string listed = str(u8"browse /v\nclick 按钮_手动读取\nrightclick 1\n");
    const Outcome chosen = drive(listed + str(u8"menu 上移\nlist\n"));
    EXPECT_EQ(chosen.status, 0) << chosen.out;
    EXPECT_NE(chosen.out.find(str(u8"MENU shown\nLIST rows=2 cols=1\nTITLE \"当前的文件名\"\n"
                                  u8"ROW 0 \"b.txt\"\nROW 1 \"a.txt\"\n")),
              std::string::npos)
        << chosen.out;
    const Outcome late = drive(listed + str(u8"undo\nmenu 上移\n"));
    EXPECT_EQ(late.status, 2);
    EXPECT_NE(late.out.find("UNDO n=0\nERROR no menu is showing\n"), std::string::npos) << late.out;
}

}  // namespace
}  // namespace vb

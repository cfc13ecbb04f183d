#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>

#include "drive/driver.h"
#include "drive_frontend.h"
#include "platform/win32/wide.h"
#include "temp_dir.h"

namespace vb {
namespace {

// A folder the browser cannot reach must stop the script: pressing OK on whatever the browser
// shows instead would run the rest of the script on another folder.
TEST(DrivenBrowser, AFolderItCannotReachStopsTheScriptAndChoosesNothing) {
    testing::TempFolder d;
    const std::string missing = d.dir() + "gone";
    std::ostringstream out;
    TranscriptText text("");
    StreamTranscript transcript(out, text);
    Answers answers;
    answers.browses = {missing, missing};
    ModalAnswerer answerer(answers, transcript);
    DrivenDialogs dialogs([] { return HWND{}; }, answerer, answers, transcript);

    for (int attempt = 0; attempt < 2; ++attempt) {  // the second shows no trace of the first
        try {
            dialogs.browseFolder("选择目录", "");
            FAIL() << "a browser that missed its folder returned a choice";
        } catch (const ScriptError& e) {
            EXPECT_NE(e.reason.find("could not reach"), std::string::npos) << e.reason;
            EXPECT_NE(e.reason.find("gone"), std::string::npos) << e.reason;
        }
    }
    EXPECT_EQ(out.str(), "");  // no BROWSE line: nothing was chosen
    EXPECT_EQ(answers.nextBrowse, 2u);
}

// Where the browser stands once it is ready; then it is cancelled.
class StartWatcher final : public BrowseObserver {
public:
    void initialized(HWND browser) override {
        at = selection;
        PostMessageW(browser, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(browser, IDCANCEL)));
    }
    void selectionChanged(HWND, const std::wstring& path) override { selection = path; }
    std::wstring selection, at;
};

bool samePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

TEST(FolderBrowser, OpensAtTheFolderItIsGivenWithOrWithoutItsSeparator) {
    testing::TempFolder d;
    std::wstring deep = d.wide();
    for (const wchar_t* level : {L"一", L"二", L"三", L"四", L"五"}) {
        deep += level;
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
        deep += L'\\';
    }
    const std::string deepGbk = wideToGbk(deep).value();
    std::wstring top = d.wide();
    top.pop_back();
    deep.pop_back();
    const struct {
        std::string start;
        std::wstring expected;
    } cases[] = {
        {deepGbk, deep},
        {deepGbk.substr(0, deepGbk.size() - 1), deep},
        {d.dir(), top},
    };
    for (const auto& c : cases) {
        StartWatcher watcher;
        Win32Dialogs dialogs([] { return HWND{}; });
        dialogs.setBrowseObserver(&watcher);
        EXPECT_EQ(dialogs.browseFolder("选择目录", c.start), std::nullopt);
        EXPECT_TRUE(samePath(watcher.at, c.expected))
            << c.start << ": at " << wideToGbkLossy(watcher.at) << ", not " << wideToGbkLossy(c.expected);
    }
    // Without a working folder the browser starts where the system starts it.
    StartWatcher watcher;
    Win32Dialogs dialogs([] { return HWND{}; });
    dialogs.setBrowseObserver(&watcher);
    EXPECT_EQ(dialogs.browseFolder("选择目录", ""), std::nullopt);
    EXPECT_FALSE(samePath(watcher.at, top)) << wideToGbkLossy(watcher.at);
}

}  // namespace
}  // namespace vb

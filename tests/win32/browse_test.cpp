#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>

#include "drive/driver.h"
#include "drive_frontend.h"
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
            dialogs.browseFolder("选择目录");
            FAIL() << "a browser that missed its folder returned a choice";
        } catch (const ScriptError& e) {
            EXPECT_NE(e.reason.find("could not reach"), std::string::npos) << e.reason;
            EXPECT_NE(e.reason.find("gone"), std::string::npos) << e.reason;
        }
    }
    EXPECT_EQ(out.str(), "");  // no BROWSE line: nothing was chosen
    EXPECT_EQ(answers.nextBrowse, 2u);
}

}  // namespace
}  // namespace vb

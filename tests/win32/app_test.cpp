#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app.h"
#include "platform/table_chinese_mapping.h"
#include "platform/win32/win32_fs.h"
#include "platform/win32/win32_services.h"
#include "temp_dir.h"

namespace vb {
namespace {

// The user's side of the dialogs: every folder browser picks one folder; boxes are confirmed.
class PickingDialogs final : public Dialogs {
public:
    explicit PickingDialogs(std::string folder) : folder_(std::move(folder)) {}
    int messageBox(const std::string&, const std::string&, Icon, Buttons) override { return kAnswerOk; }
    std::optional<std::string> browseFolder(const std::string&, const std::string&) override {
        ++browses;
        return folder_;
    }
    int browses = 0;

private:
    std::string folder_;
};

// While a large folder is read the window keeps handling messages; a click on another operation
// or a close arriving then must wait, not start inside the read.
TEST(App, ReadingALargeFolderKeepsTheWindowAliveButStartsNothingElse) {
    testing::TempFolder d;
    constexpr int kFiles = 1500;  // several pumps' worth
    for (int i = 0; i < kFiles; ++i) testing::writeFile(d.wide() + L"f" + std::to_wstring(i) + L".mp4", "");
    std::string dir = d.dir();
    dir.pop_back();

    PickingDialogs dialogs(dir);
    App* app = nullptr;
    int pumps = 0;
    Win32FileSystem fs({}, [&] {
        if (pumps++ == 0) {
            PostMessageW(app->window().handle(Ctl::按钮_手动读取), BM_CLICK, 0, 0);
            PostMessageW(app->mainWindow(), WM_CLOSE, 0, 0);
        }
        pumpMessages();
    });
    Win32Clipboard clipboard([&] { return app ? app->mainWindow() : nullptr; });
    Win32Shell shell;
    Win32Clock clock;
    TableChineseMapping chinese;
    App main(GetModuleHandleW(nullptr), {dialogs, fs, clipboard, shell, clock, chinese});
    app = &main;
    ASSERT_NE(main.mainWindow(), nullptr);
    main.start();
    main.window().show(SW_SHOWNOACTIVATE);
    pumpMessages();

    SendMessageW(main.window().handle(Ctl::按钮_手动读取), BM_CLICK, 0, 0);
    pumpMessages();
    EXPECT_GT(pumps, 1);
    EXPECT_EQ(dialogs.browses, 1);
    EXPECT_EQ(main.window().rowCount(), kFiles);
    EXPECT_TRUE(IsWindow(main.mainWindow())) << "closed in the middle of the read";
}

}  // namespace
}  // namespace vb

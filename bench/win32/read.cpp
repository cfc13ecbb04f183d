// Manual read of a large folder on the real window, beside a bare FindFirstFileExW listing in the
// same process (the floor under this system, Wine included). Usage: bench-win32-read DIR [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app.h"
#include "platform/table_chinese_mapping.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_fs.h"
#include "platform/win32/win32_services.h"

namespace vb {
namespace {

class PickingDialogs final : public Dialogs {
public:
    explicit PickingDialogs(std::string folder) : folder_(std::move(folder)) {}
    int messageBox(const std::string&, const std::string&, Icon, Buttons) override { return kAnswerOk; }
    std::optional<std::string> browseFolder(const std::string&, const std::string&) override {
        return folder_;
    }

private:
    std::string folder_;
};

double seconds() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

template <class F>
double timed(F&& f) {
    double start = seconds();
    f();
    return seconds() - start;
}

size_t floorListing(const std::wstring& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileExW((dir + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        names.push_back(wideToGbkLossy(data.cFileName));
    } while (FindNextFileW(h, &data));
    FindClose(h);
    return names.size();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int run(const std::wstring& dir, int runs) {
    std::string gbkDir = wideToGbkLossy(dir);
    PickingDialogs dialogs(gbkDir);
    App* app = nullptr;
    Win32FileSystem fs({}, [] { pumpMessages(); });
    Win32Clipboard clipboard([&] { return app ? app->mainWindow() : nullptr; });
    Win32Shell shell;
    Win32Clock clock;
    TableChineseMapping chinese;
    App main(GetModuleHandleW(nullptr), {dialogs, fs, clipboard, shell, clock, chinese});
    app = &main;
    if (!main.mainWindow()) return 2;
    main.start();
    main.window().show(SW_SHOWNOACTIVATE);
    pumpMessages();

    std::vector<double> floor, search, manual;
    size_t listed = 0, searched = 0;
    for (int i = 0; i < runs; ++i) {
        floor.push_back(timed([&] { listed = floorListing(dir); }));
        search.push_back(timed([&] { searched = fs.search(gbkDir + "\\", "*").size(); }));
        manual.push_back(timed([&] {
            SendMessageW(main.window().handle(Ctl::按钮_手动读取), BM_CLICK, 0, 0);
            pumpMessages();
        }));
    }
    double f = median(floor);
    std::printf("entries: floor %zu, search %zu, rows %d\n", listed, searched, main.window().rowCount());
    std::printf("floor: FindFirstFileExW listing  %.3f s  1.00x\n", f);
    std::printf("Win32FileSystem::search           %.3f s  %.2fx\n", median(search), median(search) / f);
    std::printf("Manual read on the window         %.3f s  %.2fx\n", median(manual), median(manual) / f);
    return 0;
}

}  // namespace
}  // namespace vb

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench-win32-read DIR [RUNS]\n");
        return 2;
    }
    return vb::run(argv[1], argc > 2 ? _wtoi(argv[2]) : 3);
}

#include "drive_main.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <optional>

#include "drive_frontend.h"
#include "platform/encoding.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_chinese.h"
#include "platform/win32/win32_fs.h"

namespace vb {
namespace {

std::string utf8Of(const std::wstring& w) {
    if (w.empty()) return {};
    int n =
        WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(std::max(n, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring withoutTrailingSeparator(std::wstring s) {
    while (s.size() > 3 && (s.back() == L'\\' || s.back() == L'/')) s.pop_back();
    return s;
}

struct Options {
    std::wstring script;
    std::wstring out;
    std::wstring root;
    std::wstring programDir;
    std::optional<std::uint32_t> tick;
    bool stay = false;  // leave the window to the user after the script
};

std::optional<Options> parse(const std::vector<std::wstring>& args) {
    Options o;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        auto value = [&]() -> std::optional<std::wstring> {
            if (i + 1 >= args.size()) return std::nullopt;
            return args[++i];
        };
        std::optional<std::wstring> v;
        if (a == L"--out" && (v = value())) {
            o.out = *v;
        } else if (a == L"--root" && (v = value())) {
            o.root = withoutTrailingSeparator(*v);
        } else if (a == L"--program-dir" && (v = value())) {
            o.programDir = withoutTrailingSeparator(*v) + L"\\";
        } else if (a == L"--tick" && (v = value())) {
            std::string n = utf8Of(*v);
            std::uint32_t t = 0;
            auto [p, ec] = std::from_chars(n.data(), n.data() + n.size(), t);
            if (ec != std::errc() || p != n.data() + n.size()) return std::nullopt;
            o.tick = t;
        } else if (a == L"--stay") {
            o.stay = true;
        } else if (o.script.empty() && a.rfind(L"--", 0) != 0) {
            o.script = a;
        } else {
            return std::nullopt;
        }
    }
    if (o.script.empty() || o.out.empty()) return std::nullopt;
    return o;
}

}  // namespace

int driveMain(HINSTANCE instance, const std::vector<std::wstring>& args) {
    auto opt = parse(args);
    if (!opt) {
        MessageBoxW(
            nullptr,
            L"Velbrook.exe --drive SCRIPT --out FILE [--root DIR] [--program-dir DIR] [--tick N] [--stay]",
            L"Velbrook", MB_OK);
        return 2;
    }
    std::ofstream out(std::filesystem::path(opt->out), std::ios::binary);
    if (!out) return 2;
    std::ifstream script(std::filesystem::path(opt->script), std::ios::binary);
    if (!script) {
        out << "ERROR cannot read script " << utf8Of(opt->script) << '\n';
        return 2;
    }

    TranscriptText text(wideToGbk(opt->root).value_or(std::string()));
    StreamTranscript transcript(out, text);
    Answers answers;
    ModalAnswerer answerer(answers, transcript);
    App* app = nullptr;
    Win32Frontend* frontend = nullptr;
    auto owner = [&app]() -> HWND { return app ? app->mainWindow() : nullptr; };
    bool started = false;

    DrivenDialogs dialogs(owner, answerer, answers, transcript,
                          [&] { return frontend && frontend->handedOver(); });
    Win32FileSystem realFs(
        wideToGbk(opt->programDir).value_or(std::string()), [] { pumpMessages(); },
        Win32FileSystem::Journal::BesideProgram);
    TranscribingFileSystem fs(realFs, transcript);
    DrivenClipboard clipboard(owner, transcript);
    RecordingShell shell(transcript);
    DriverClock clock(opt->tick);
    Win32ChineseMapping chinese;
    App main(instance, {dialogs, fs, clipboard, shell, clock, chinese},
             App::Hooks{[&](bool on) {
                            if (started) transcript.topmost(on);
                        },
                        [&](bool open) { transcript.secondWindow(open); },
                        [&] { return frontend && frontend->menuShown(); },
                        {}});
    app = &main;
    if (!main.mainWindow()) {
        out << "ERROR the main window could not be created\n";
        return 2;
    }
    main.start();
    main.window().show(SW_SHOWNORMAL);
    pumpMessages();
    started = true;

    Win32Frontend driven(main, clipboard);
    frontend = &driven;
    int status = runScript(script, utf8Of(opt->root), driven, answers, out, text);
    out.flush();
    if (opt->stay && main.running()) main.messageLoop();
    return status;
}

}  // namespace vb

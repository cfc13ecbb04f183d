// velbrook-drive: runs a script against the in-memory window and the real file system.
#include <unistd.h>

#include <charconv>
#include <fstream>
#include <iostream>
#include <string>

#include "drive/driver.h"
#include "drive/headless_frontend.h"
#include "platform/encoding.h"
#include "platform/posix/posix_fs.h"

namespace {

int usage() {
    std::cerr << "usage: velbrook-drive [--root DIR] [--program-dir DIR] [--tick N] SCRIPT\n";
    return 2;
}

std::string executableDir() {
    std::string buf(4096, '\0');
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0) return "./";
    buf.resize(static_cast<size_t>(n));
    return buf.substr(0, buf.rfind('/') + 1);
}

std::string withoutTrailingSlash(std::string s) {
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    std::string root;
    std::string programDir = executableDir();
    std::optional<std::uint32_t> tick;
    std::string scriptPath;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
        if (a == "--root") {
            root = withoutTrailingSlash(value());
        } else if (a == "--program-dir") {
            programDir = withoutTrailingSlash(value()) + "/";
        } else if (a == "--tick") {
            std::string v = value();
            std::uint32_t n = 0;
            auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
            if (ec != std::errc() || p != v.data() + v.size()) return usage();
            tick = n;
        } else if (scriptPath.empty() && (a == "-" || a.rfind("--", 0) != 0)) {
            scriptPath = a;
        } else {
            return usage();
        }
    }
    if (scriptPath.empty()) return usage();

    std::ifstream file;
    if (scriptPath != "-") {
        file.open(scriptPath, std::ios::binary);
        if (!file) {
            std::cout << "ERROR cannot read script " << scriptPath << '\n';
            return 2;
        }
    }
    std::istream& script = scriptPath == "-" ? std::cin : file;

    std::ios::sync_with_stdio(false);
    vb::TranscriptText text(root.empty() ? std::string() : vb::utf8ToGbk(root).value_or(std::string()));
    vb::StreamTranscript transcript(std::cout, text);
    vb::Answers answers;
    // The journal lives beside the program, so a script's run leaves the user's folders alone.
    const std::string programDirGbk = vb::utf8ToGbk(programDir).value_or("./");
    vb::PosixFileSystem fs(programDirGbk, programDirGbk);
    vb::HeadlessFrontend frontend(fs, answers, transcript, tick);
    return vb::runScript(script, root, frontend, answers, std::cout, text);
}

// A fresh folder under the system's temporary folder, removed afterwards with everything in it,
// folders a test made unreadable included. The program sees GBK paths; on disk names are UTF-8
// (POSIX) or wide (Windows). Shared by the native and the Windows tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <system_error>

#include "platform/encoding.h"
#ifdef _WIN32
#include "platform/win32/win32_fs.h"
#endif

namespace vb::testing {

class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "vbtest") {
        namespace stdfs = std::filesystem;
        const stdfs::path base = stdfs::temp_directory_path();
        std::error_code ec;
        for (auto n = std::random_device{}();; ++n) {
            root_ = base / (prefix + "-" + std::to_string(n));
            if (stdfs::create_directory(root_, ec)) break;
            if (ec) throw stdfs::filesystem_error("no temporary folder", root_, ec);
        }
    }
    ~TempFolder() {
        namespace stdfs = std::filesystem;
        std::error_code ec;
        const stdfs::path top = removable(root_);
        stdfs::permissions(top, stdfs::perms::owner_all, stdfs::perm_options::add, ec);
        // A folder is opened to be walked only after its permissions are given back.
        for (stdfs::recursive_directory_iterator it(top, ec), end; !ec && it != end; it.increment(ec))
            if (it->is_directory(ec) && !it->is_symlink(ec))
                stdfs::permissions(it->path(), stdfs::perms::owner_all, stdfs::perm_options::add, ec);
        stdfs::remove_all(top, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& root() const { return root_; }
    // The folder as the program names it: GBK, ending in the separator.
    std::string dir() const {
        return utf8ToGbk(asUtf8(root_)).value_or(std::string()) +
               static_cast<char>(std::filesystem::path::preferred_separator);
    }
    // A GBK path inside, as the program names it.
    std::string path(const std::string& gbkRel) const { return dir() + gbkRel; }
    // The same on disk.
    std::filesystem::path native(const std::string& gbkRel) const {
        const std::string utf8 = gbkToUtf8(gbkRel).value_or(std::string());
        return root_ / std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    }

    void file(const std::string& gbkRel, const std::string& bytes = "x") const {
        std::filesystem::create_directories(native(gbkRel).parent_path());
        std::ofstream(native(gbkRel), std::ios::binary) << bytes;
    }
    void folder(const std::string& gbkRel) const { std::filesystem::create_directories(native(gbkRel)); }
    std::string read(const std::string& gbkRel) const {
        std::ifstream in(native(gbkRel), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    bool exists(const std::string& gbkRel) const {
        return std::filesystem::exists(std::filesystem::symlink_status(native(gbkRel)));
    }

#ifdef _WIN32
    std::wstring wide() const { return root_.wstring() + L'\\'; }
#endif

private:
    static std::string asUtf8(const std::filesystem::path& p) {
        const std::u8string s = p.u8string();
        return std::string(s.begin(), s.end());
    }
    // Windows removes a tree deeper than MAX_PATH only through the extended form.
    static std::filesystem::path removable(const std::filesystem::path& p) {
#ifdef _WIN32
        return std::filesystem::path(extendedPath(p.wstring()));
#else
        return p;
#endif
    }

    std::filesystem::path root_;
};

}  // namespace vb::testing

// The file system on Windows: W functions with explicit code page 936, "\\?\" paths so that
// long names work, moves that never replace, the recycle bin through the shell.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ports.h"

namespace vb {

class Win32FileSystem final : public FileSystem {
public:
    // programDir: GBK, ending in "\"; empty for the directory of the running program.
    // pump: called now and then while a large directory is read, to keep the window alive.
    // journal: where rename batches are written ahead: the user's %LOCALAPPDATA%\\Velbrook (the
    // window), or the program folder (the driver, whose run leaves nothing there afterwards).
    enum class Journal { UserState, BesideProgram };
    explicit Win32FileSystem(std::string programDir = {}, std::function<void()> pump = {},
                             Journal journal = Journal::UserState);
    ~Win32FileSystem() override;
    Win32FileSystem(const Win32FileSystem&) = delete;
    Win32FileSystem& operator=(const Win32FileSystem&) = delete;

    PathStyle pathStyle() const override { return PathStyle::windows(); }
    std::vector<DirEntry> search(const std::string& dir, const std::string& pattern) override;
    // Refuses names that are not one plain component: a separator, ":" (a stream of another
    // file), ".", "..", or a trailing dot or blank (which the shell cannot handle).
    bool rename(const std::string& dir, const std::string& from, const std::string& to) override;
    bool hasEntry(const std::string& dir, const std::string& name) override;
    // Names are one when they are equal after the system's own upper-casing of their UTF-16
    // form, the file system rule that CompareStringOrdinal ignoring case follows.
    bool foldsNames(const std::string& dir) override;
    void appendNameKey(std::string_view name, std::string& key) const override;
    // The entry's long name as the folder lists it.
    std::optional<std::string> nameOnDisk(const std::string& dir, const std::string& name) override;
    // Links to directories count as files: they are listed as such and deleting one removes
    // only the link.
    bool deleteFile(const std::string& path) override;
    bool removeDir(const std::string& path) override;
    // Each folder of the walk is held open without FILE_SHARE_DELETE; a sub-folder is opened as
    // itself (FILE_FLAG_OPEN_REPARSE_POINT) and refused when it is a reparse point.
    std::unique_ptr<OpenFolder> openFolder(const std::string& dir) override;
    bool createDir(const std::string& path) override;
    bool createNewFile(const std::string& path, const std::string& bytes) override;
    bool replaceFile(const std::string& path, const std::string& bytes) override;
    bool recycle(const std::string& path) override;
    std::string programDir() const override { return programDir_; }
    JournalFile* journal() override;

private:
    std::string programDir_;
    std::function<void()> pump_;
    std::unique_ptr<JournalFile> journal_;
};

// The path for the W functions: "\\?\" in front of an absolute drive or UNC path, so that
// no length limit applies and names are taken exactly as given.
std::wstring extendedPath(std::wstring path);

}  // namespace vb

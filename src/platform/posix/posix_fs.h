// The file system on Linux and other POSIX systems. Texts in and out are GBK; names on disk are
// UTF-8. Every path must be absolute: nothing is ever resolved against the current directory.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ports.h"

namespace vb {

namespace posix_detail {
class RememberedListing;
}

class PosixFileSystem final : public FileSystem {
public:
    // programDir: GBK, ending in "/". A relative one is taken from the current directory once, here.
    // stateDir: GBK, the folder of the rename journal (the driver's program folder); without
    // it, $XDG_STATE_HOME/velbrook or ~/.local/state/velbrook, made when first needed.
    explicit PosixFileSystem(std::string programDir, std::optional<std::string> stateDir = std::nullopt);
    ~PosixFileSystem() override;
    PosixFileSystem(const PosixFileSystem&) = delete;
    PosixFileSystem& operator=(const PosixFileSystem&) = delete;

    PathStyle pathStyle() const override { return PathStyle::posix(); }

    // Symbolic links are never reported as directories, so a walk over the results never leaves
    // the tree it started in.
    std::vector<DirEntry> search(const std::string& dir, const std::string& pattern) override;
    bool rename(const std::string& dir, const std::string& from, const std::string& to) override;
    bool hasEntry(const std::string& dir, const std::string& name) override;
    bool deleteFile(const std::string& path) override;
    // An empty directory, or a symbolic link to a directory (the link itself, as Windows does).
    bool removeDir(const std::string& path) override;
    // Sub-folders are opened with O_NOFOLLOW and entries unlinked relative to the open folder.
    std::unique_ptr<OpenFolder> openFolder(const std::string& dir) override;
    bool createDir(const std::string& path) override;
    bool createNewFile(const std::string& path, const std::string& bytes) override;
    bool replaceFile(const std::string& path, const std::string& bytes) override;
    // Into the freedesktop.org home trash ($XDG_DATA_HOME/Trash); fails rather than copy
    // across file systems.
    bool recycle(const std::string& path) override;
    std::string programDir() const override { return programDir_; }
    JournalFile* journal() override;

private:
    std::string programDir_;
    std::unique_ptr<JournalFile> journal_;
    std::shared_ptr<posix_detail::RememberedListing> remembered_;
};

namespace posix_detail {
// The move used where the file system refuses RENAME_NOREPLACE: link and unlink for files,
// check then rename for directories. Never replaces an existing entry.
bool moveWithoutReplaceFlag(int fromDir, const char* from, int toDir, const char* to);
}  // namespace posix_detail

}  // namespace vb

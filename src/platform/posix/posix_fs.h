// The file system on Linux and other POSIX systems. Texts in and out are GBK; names on disk are
// UTF-8. Every path must be absolute: nothing is ever resolved against the current directory.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ports.h"

namespace vb {

class PosixFileSystem final : public FileSystem {
public:
    // programDir: GBK, ending in "/". A relative one is taken from the current directory once, here.
    explicit PosixFileSystem(std::string programDir);
    ~PosixFileSystem() override;
    PosixFileSystem(const PosixFileSystem&) = delete;
    PosixFileSystem& operator=(const PosixFileSystem&) = delete;

    PathStyle pathStyle() const override { return PathStyle::posix(); }

    // Symbolic links are never reported as directories, so a walk over the results never leaves
    // the tree it started in.
    std::vector<DirEntry> search(const std::string& dir, const std::string& pattern) override;
    bool rename(const std::string& dir, const std::string& from, const std::string& to) override;
    bool hasEntry(const std::string& dir, const std::string& name) override;
    // Keeps the directory open and its name converted for the renames of one batch.
    void beginRenames(const std::string& dir) override;
    void endRenames() override;
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

private:
    // A name on disk, converted into a buffer that is reused from one name to the next.
    std::optional<std::string_view> nativeName(const std::string& gbk, std::string& buffer);

    std::string programDir_;
    std::string batchDir_;  // GBK, as the caller gave it
    int batchFd_ = -1;
    std::string fromBuffer_, toBuffer_;
};

namespace posix_detail {
// The move used where the file system refuses RENAME_NOREPLACE: link and unlink for files,
// check then rename for directories. Never replaces an existing entry.
bool moveWithoutReplaceFlag(int fromDir, const char* from, int toDir, const char* to);
}  // namespace posix_detail

}  // namespace vb

// A file system that hands every call to another; a wrapper derives from it and changes only
// the calls it is about (the driver's transcript, the tests' faults).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ports.h"

namespace vb {

// The same for a held folder.
class ForwardingOpenFolder : public OpenFolder {
public:
    explicit ForwardingOpenFolder(std::unique_ptr<OpenFolder> inner) : inner_(std::move(inner)) {}

    std::optional<EntryId> id() override { return inner_->id(); }
    std::optional<EntryId> entryId(const std::string& name) override { return inner_->entryId(name); }
    ListedIds entryIds(const std::vector<std::string_view>& names) override {
        return inner_->entryIds(names);
    }
    void readAhead(size_t names) override { inner_->readAhead(names); }
    bool renameKeepsIdentity() override { return inner_->renameKeepsIdentity(); }
    bool rename(const std::string& from, const std::string& to) override { return inner_->rename(from, to); }
    bool hasEntry(const std::string& name) override { return inner_->hasEntry(name); }
    std::vector<DirEntry> entries() override { return inner_->entries(); }
    std::unique_ptr<OpenFolder> openSubfolder(const std::string& name) override {
        return inner_->openSubfolder(name);
    }
    bool deleteEntry(const std::string& name) override { return inner_->deleteEntry(name); }
    bool removeFolder(const std::string& name) override { return inner_->removeFolder(name); }
    bool removeFolderLink(const std::string& name) override { return inner_->removeFolderLink(name); }
    bool createFolder(const std::string& name) override { return inner_->createFolder(name); }
    bool createNewFile(const std::string& name, const std::string& bytes) override {
        return inner_->createNewFile(name, bytes);
    }

protected:
    std::unique_ptr<OpenFolder> inner_;
};

class ForwardingFileSystem : public FileSystem {
public:
    explicit ForwardingFileSystem(FileSystem& inner) : inner_(inner) {}

    PathStyle pathStyle() const override { return inner_.pathStyle(); }
    std::vector<DirEntry> search(const std::string& dir, const std::string& pattern) override {
        return inner_.search(dir, pattern);
    }
    bool rename(const std::string& dir, const std::string& from, const std::string& to) override {
        return inner_.rename(dir, from, to);
    }
    bool hasEntry(const std::string& dir, const std::string& name) override {
        return inner_.hasEntry(dir, name);
    }
    bool foldsNames(const std::string& dir) override { return inner_.foldsNames(dir); }
    void appendNameKey(std::string_view name, std::string& key) const override {
        inner_.appendNameKey(name, key);
    }
    std::optional<std::string> nameOnDisk(const std::string& dir, const std::string& name) override {
        return inner_.nameOnDisk(dir, name);
    }
    bool deleteFile(const std::string& path) override { return inner_.deleteFile(path); }
    bool removeDir(const std::string& path) override { return inner_.removeDir(path); }
    std::unique_ptr<OpenFolder> openFolder(const std::string& dir) override { return inner_.openFolder(dir); }
    bool createDir(const std::string& path) override { return inner_.createDir(path); }
    bool createNewFile(const std::string& path, const std::string& bytes) override {
        return inner_.createNewFile(path, bytes);
    }
    bool replaceFile(const std::string& path, const std::string& bytes) override {
        return inner_.replaceFile(path, bytes);
    }
    bool recycle(const std::string& path) override { return inner_.recycle(path); }
    std::string programDir() const override { return inner_.programDir(); }
    JournalFile* journal() override { return inner_.journal(); }

protected:
    FileSystem& inner_;
};

}  // namespace vb

// A file system that forwards to a real one and lets a test act between two steps taken inside a
// held folder: after each entry deleted or renamed there, a hook runs with that folder's name
// and the entry's. Shared by the native and the Windows tests.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/forwarding_fs.h"

namespace vb::testing {

class HookedFileSystem final : public ForwardingFileSystem {
public:
    using Hook = std::function<void(const std::string& folder, const std::string& deleted)>;

    HookedFileSystem(FileSystem& inner, Hook afterDelete)
        : ForwardingFileSystem(inner), afterDelete(std::move(afterDelete)) {}

    std::unique_ptr<OpenFolder> openFolder(const std::string& dir) override {
        return wrap(inner_.openFolder(dir), dir);
    }

    // Created entries go through the held folder; by path only in the old way, hooked here too.
    bool createDir(const std::string& path) override { return created(inner_.createDir(path), path); }
    bool createNewFile(const std::string& path, const std::string& bytes) override {
        return created(inner_.createNewFile(path, bytes), path);
    }

    Hook afterDelete;
    // After each entry created, by path or inside a held folder.
    Hook afterCreate;
    // After each rename inside a held folder, with that folder's name and the entry's old name.
    Hook afterRename;
    // Listings call every entry a folder, as one taken just before entries were swapped for
    // links would.
    bool everyEntryAFolder = false;
    // The sub-folders opened so far, by name, in order.
    std::vector<std::string> opened;

private:
    class Folder final : public ForwardingOpenFolder {
    public:
        Folder(HookedFileSystem& fs, std::unique_ptr<OpenFolder> inner, std::string name)
            : ForwardingOpenFolder(std::move(inner)), fs_(fs), name_(std::move(name)) {}
        std::vector<DirEntry> entries() override {
            std::vector<DirEntry> found = inner_->entries();
            if (fs_.everyEntryAFolder)
                for (DirEntry& e : found) e.isDir = true;
            return found;
        }
        std::unique_ptr<OpenFolder> openSubfolder(const std::string& name) override {
            std::unique_ptr<OpenFolder> sub = inner_->openSubfolder(name);
            if (sub) fs_.opened.push_back(name);
            return fs_.wrap(std::move(sub), name);
        }
        bool deleteEntry(const std::string& name) override {
            bool ok = inner_->deleteEntry(name);
            if (ok && fs_.afterDelete) fs_.afterDelete(name_, name);
            return ok;
        }
        bool removeFolder(const std::string& name) override { return inner_->removeFolder(name); }
        bool createFolder(const std::string& name) override {
            return fs_.created(inner_->createFolder(name), name);
        }
        bool createNewFile(const std::string& name, const std::string& bytes) override {
            return fs_.created(inner_->createNewFile(name, bytes), name);
        }
        bool rename(const std::string& from, const std::string& to) override {
            bool ok = inner_->rename(from, to);
            if (ok && fs_.afterRename) fs_.afterRename(name_, from);
            return ok;
        }

    private:
        HookedFileSystem& fs_;
        std::string name_;
    };

    bool created(bool ok, const std::string& name) {
        if (ok && afterCreate) afterCreate(std::string(), name);
        return ok;
    }
    std::unique_ptr<OpenFolder> wrap(std::unique_ptr<OpenFolder> folder, std::string name) {
        if (!folder) return nullptr;
        return std::make_unique<Folder>(*this, std::move(folder), std::move(name));
    }
};

}  // namespace vb::testing

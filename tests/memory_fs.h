// A file system in memory behind the port, for tests that choose what the disk answers: the
// order a listing comes in, and which renames fail. Paths are POSIX-style GBK texts.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/ports.h"
#include "platform/wildcard.h"

namespace vb::testing {

class MemoryFileSystem final : public FileSystem {
public:
    struct Node {
        bool isDir = false;
        std::string bytes;
        long order = 0;  // creation order: a listing's order unless the test arranges one;
                         // also the entry's identity, which a rename keeps
    };

    MemoryFileSystem() { nodes_["/"] = {true, {}, 0}; }

    // Reorders each listing before it is returned.
    std::function<void(std::vector<DirEntry>&)> arrange;
    // Renames from these names fail, as a locked file's would, and so do these (from, to) pairs.
    std::set<std::string> lockedNames;
    std::set<std::pair<std::string, std::string>> refusedRenames;
    std::vector<std::string> recycled;
    // A renamed entry comes back with a new identity, as FAT volumes give it.
    bool renameGivesNewIdentity = false;

    // Setting up: a folder (with the folders above it) or a file.
    void folder(const std::string& path) {
        const std::string p = trim(path);
        if (p != "/") folder(parentOf(p));
        nodes_.try_emplace(p, Node{true, {}, ++clock_});
    }
    void file(const std::string& path, std::string bytes = "x") {
        const std::string p = trim(path);
        folder(parentOf(p));
        nodes_[p] = Node{false, std::move(bytes), ++clock_};
    }
    const Node* find(const std::string& path) const {
        auto it = nodes_.find(trim(path));
        return it == nodes_.end() ? nullptr : &it->second;
    }

    // The names in a folder, sorted, whatever order a listing gives them in.
    std::vector<std::string> namesIn(const std::string& dir) const {
        std::vector<std::string> out;
        for (const auto& [path, node] : children(trim(dir))) out.push_back(nameOf(path));
        std::sort(out.begin(), out.end());
        return out;
    }
    // A file's bytes; empty when there is no such file.
    std::string bytesOf(const std::string& path) const {
        const Node* n = find(path);
        return n && !n->isDir ? n->bytes : std::string();
    }

    PathStyle pathStyle() const override { return PathStyle::posix(); }

    std::vector<DirEntry> search(const std::string& dir, const std::string& pattern) override {
        std::vector<DirEntry> out;
        const Node* d = find(dir);
        if (dir.empty() || dir[0] != '/' || !d || !d->isDir) return out;
        for (const char* dot : {".", ".."})
            if (matchesWildcard(dot, pattern)) out.push_back({dot, true});
        std::vector<std::pair<long, DirEntry>> found;
        for (const auto& [path, node] : children(trim(dir)))
            if (matchesWildcard(nameOf(path), pattern))
                found.push_back({node->order, {nameOf(path), node->isDir}});
        std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& f : found) out.push_back(std::move(f.second));
        if (arrange) arrange(out);
        return out;
    }

    bool rename(const std::string& dir, const std::string& from, const std::string& to) override {
        const PathStyle paths = pathStyle();
        if (!paths.isPlainName(from) || !paths.isPlainName(to) || lockedNames.count(from) ||
            refusedRenames.count({from, to}))
            return false;
        const std::string src = join(dir, from), dst = join(dir, to);
        if (!nodes_.count(src)) return false;
        if (src == dst) return true;
        if (nodes_.count(dst)) return false;
        std::map<std::string, Node> moved;
        for (auto it = nodes_.begin(); it != nodes_.end();) {
            if (it->first == src || it->first.starts_with(src + "/")) {
                moved[dst + it->first.substr(src.size())] = std::move(it->second);
                it = nodes_.erase(it);
            } else {
                ++it;
            }
        }
        nodes_.merge(moved);
        if (renameGivesNewIdentity) nodes_[dst].order = ++clock_;
        return true;
    }

    bool hasEntry(const std::string& dir, const std::string& name) override {
        return pathStyle().isPlainName(name) && find(join(dir, name)) != nullptr;
    }

    bool deleteFile(const std::string& path) override {
        auto it = nodes_.find(trim(path));
        if (it == nodes_.end() || it->second.isDir) return false;
        nodes_.erase(it);
        return true;
    }
    bool removeDir(const std::string& path) override {
        const std::string p = trim(path);
        auto it = nodes_.find(p);
        if (p == "/" || it == nodes_.end() || !it->second.isDir || !children(p).empty()) return false;
        nodes_.erase(it);
        return true;
    }
    std::unique_ptr<OpenFolder> openFolder(const std::string& dir) override {
        const Node* d = find(dir);
        if (!d || !d->isDir) return nullptr;
        return std::make_unique<Folder>(*this, trim(dir));
    }
    bool createDir(const std::string& path) override {
        const std::string p = trim(path);
        const Node* parent = find(parentOf(p));
        if (!parent || !parent->isDir) return false;
        return nodes_.try_emplace(p, Node{true, {}, ++clock_}).second;
    }
    bool createNewFile(const std::string& path, const std::string& bytes) override {
        const std::string p = trim(path);
        const Node* parent = find(parentOf(p));
        if (!parent || !parent->isDir) return false;
        return nodes_.try_emplace(p, Node{false, bytes, ++clock_}).second;
    }
    bool replaceFile(const std::string& path, const std::string& bytes) override {
        const std::string p = trim(path);
        const Node* parent = find(parentOf(p));
        auto it = nodes_.find(p);
        if (!parent || !parent->isDir || (it != nodes_.end() && it->second.isDir)) return false;
        nodes_[p] = Node{false, bytes, it == nodes_.end() ? ++clock_ : it->second.order};
        return true;
    }
    bool recycle(const std::string& path) override {
        const std::string p = trim(path);
        if (!nodes_.count(p) || p == "/") return false;
        std::erase_if(nodes_, [&](const auto& n) { return n.first == p || n.first.starts_with(p + "/"); });
        recycled.push_back(p);
        return true;
    }
    std::string programDir() const override { return "/program/"; }
    JournalFile* journal() override { return &journal_; }

private:
    // The one journal this file system keeps: its bytes, while a batch holds it or was cut short.
    class Journal final : public JournalFile {
    public:
        bool write(const std::string& bytes) override {
            bytes_ = bytes;
            return true;
        }
        std::optional<std::string> read() override { return bytes_; }
        void remove() override { bytes_.reset(); }

    private:
        std::optional<std::string> bytes_;
    };

    class Folder final : public OpenFolder {
    public:
        Folder(MemoryFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
        std::vector<DirEntry> entries() override {
            std::vector<DirEntry> out;
            for (const auto& e : fs_.search(path_ == "/" ? path_ : path_ + "/", "*"))
                if (e.name != "." && e.name != "..") out.push_back(e);
            return out;
        }
        std::unique_ptr<OpenFolder> openSubfolder(const std::string& name) override {
            const Node* n = fs_.find(join(path_ + "/", name));
            if (!n || !n->isDir) return nullptr;
            return std::make_unique<Folder>(fs_, join(path_ + "/", name));
        }
        bool deleteEntry(const std::string& name) override { return fs_.deleteFile(join(path_ + "/", name)); }
        bool removeFolder(const std::string& name) override { return fs_.removeDir(join(path_ + "/", name)); }
        bool removeFolderLink(const std::string&) override { return false; }  // no links here
        bool createFolder(const std::string& name) override {
            return PathStyle::posix().isPlainName(name) && fs_.createDir(join(path_ + "/", name));
        }
        bool createNewFile(const std::string& name, const std::string& bytes) override {
            return PathStyle::posix().isPlainName(name) && fs_.createNewFile(join(path_ + "/", name), bytes);
        }
        std::optional<EntryId> id() override { return idOf(fs_.find(path_)); }
        bool renameKeepsIdentity() override { return !fs_.renameGivesNewIdentity; }
        std::optional<EntryId> entryId(const std::string& name) override {
            return idOf(fs_.find(join(path_ + "/", name)));
        }
        // Places in the listing's order, arranged or not, as a real folder's pass gives them.
        ListedIds entryIds(const std::vector<std::string_view>& names) override {
            ListedIds out = OpenFolder::entryIds(names);
            std::map<std::string, std::uint32_t, std::less<>> placeOf;
            for (const DirEntry& e : entries())
                placeOf.emplace(e.name, static_cast<std::uint32_t>(placeOf.size()));
            for (std::string_view n : names) {
                const auto it = placeOf.find(n);
                out.places.push_back(it == placeOf.end() ? ListedIds::kNotListed : it->second);
            }
            return out;
        }
        bool rename(const std::string& from, const std::string& to) override {
            return fs_.rename(path_ + "/", from, to);
        }
        bool hasEntry(const std::string& name) override {
            return fs_.find(join(path_ + "/", name)) != nullptr;
        }

    private:
        MemoryFileSystem& fs_;
        std::string path_;
    };

    static std::optional<EntryId> idOf(const Node* n) {
        if (!n) return std::nullopt;
        return EntryId{1, static_cast<std::uint64_t>(n->order)};
    }
    static std::string trim(std::string p) {
        while (p.size() > 1 && p.back() == '/') p.pop_back();
        return p;
    }
    static std::string join(const std::string& dir, const std::string& name) {
        return trim(dir) == "/" ? "/" + name : trim(dir) + "/" + name;
    }
    static std::string parentOf(const std::string& p) {
        const auto slash = p.rfind('/');
        return slash == 0 || slash == std::string::npos ? "/" : p.substr(0, slash);
    }
    static std::string nameOf(const std::string& p) { return p.substr(p.rfind('/') + 1); }
    std::vector<std::pair<std::string, const Node*>> children(const std::string& dir) const {
        std::vector<std::pair<std::string, const Node*>> out;
        for (const auto& [path, node] : nodes_)
            if (path != "/" && parentOf(path) == dir) out.push_back({path, &node});
        return out;
    }

    std::map<std::string, Node> nodes_;
    long clock_ = 0;
    Journal journal_;
};

}  // namespace vb::testing

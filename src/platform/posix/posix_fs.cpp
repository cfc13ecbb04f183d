#include "platform/posix/posix_fs.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/encoding.h"
#include "platform/name_table.h"
#include "platform/wildcard.h"

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace vb {
namespace {

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd(Fd&& o) noexcept : fd_(o.release()) {}
    Fd& operator=(Fd&& o) noexcept {
        if (this != &o) {
            if (fd_ >= 0) ::close(fd_);
            fd_ = o.release();
        }
        return *this;
    }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }
    // Closes now, so that a failing close can be seen.
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

Fd openDir(const std::string& path) { return Fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); }

// A GBK text as a name on disk. An embedded NUL would silently cut the path short.
std::optional<std::string> native(const std::string& gbk) {
    if (gbk.find('\0') != std::string::npos) return std::nullopt;
    return gbkToUtf8(gbk);
}

std::optional<std::string> nativeAbsolute(const std::string& gbk) {
    if (gbk.empty() || gbk[0] != '/') return std::nullopt;
    return native(gbk);
}

bool isPlainComponent(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

// An absolute path split into its parent directory and its final component.
struct Split {
    std::string parent;
    std::string name;
};

std::optional<Split> splitPath(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return std::nullopt;
    Split s{path.substr(0, slash + 1), path.substr(slash + 1)};
    if (!isPlainComponent(s.name)) return std::nullopt;
    return s;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool exists(int dirFd, const char* name) {
    struct stat st;
    return ::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0;
}

bool moveNoReplace(int fromDir, const char* from, int toDir, const char* to) {
    if (::syscall(SYS_renameat2, fromDir, from, toDir, to, RENAME_NOREPLACE) == 0) return true;
    if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)
        return posix_detail::moveWithoutReplaceFlag(fromDir, from, toDir, to);
    return false;
}

bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// A name on disk in GBK, kept only when it converts back to the very same bytes: a name that
// does not could stand for another file once converted. scratch is any buffer, reused.
std::optional<std::string> gbkName(std::string_view utf8, std::string& scratch) {
    std::string gbk;
    if (!appendUtf8ToGbk(utf8, gbk)) return std::nullopt;
    scratch.clear();
    if (!appendGbkToUtf8(gbk, scratch) || scratch != utf8) return std::nullopt;
    return gbk;
}

bool isDirEntry(const dirent& e, int dirFd) {
    if (e.d_type == DT_DIR) return true;
    if (e.d_type != DT_UNKNOWN) return false;
    struct stat st;
    return ::fstatat(dirFd, e.d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

// From this many names on, reading the whole folder once costs less than a look-up each.
constexpr size_t kListedIdsFrom = 1024;

// A folder's entries as one pass over it read them: each name as the disk has it, its inode.
struct Listed {
    std::string names;
    std::vector<std::pair<size_t, ino_t>> entries;  // per entry: where its name ends, its inode
    void add(const dirent& e) {
        names.append(e.d_name);
        entries.emplace_back(names.size(), e.d_ino);
    }
};

// Hands every entry of an open directory to each; false when an error ended the pass early
// (readdir tells an error from the end only through errno).
template <class Each>
bool readAll(DIR* d, Each&& each) {
    for (;;) {
        errno = 0;
        const dirent* e = ::readdir(d);
        if (!e) return errno == 0;
        each(*e);
    }
}

// The entries of an open directory matching pattern, "." and ".." included when they match;
// every entry into all as well, when given.
std::vector<DirEntry> list(Fd fd, std::string_view pattern, Listed* all = nullptr) {
    std::vector<DirEntry> found;
    if (!fd) return found;
    std::unique_ptr<DIR, int (*)(DIR*)> d(::fdopendir(fd.get()), ::closedir);
    if (!d) return found;
    fd.release();  // the DIR owns it now
    const bool everything = pattern == "*" || pattern == "*.*";
    std::string scratch;
    const bool whole = readAll(d.get(), [&](const dirent& e) {
        if (all) all->add(e);
        std::string_view name(e.d_name);
        std::optional<std::string> gbk = isAscii(name) ? std::string(name) : gbkName(name, scratch);
        if (!gbk) return;
        if (!everything && !matchesWildcard(*gbk, pattern)) return;
        found.push_back({std::move(*gbk), isDirEntry(e, ::dirfd(d.get()))});
    });
    // A pass cut short by an error is no picture of the folder.
    if (all && !whole) *all = Listed();
    return found;
}

bool makeDirs(const std::string& path);

// File systems whose listing gives every entry the very inode a look-up of it gives (not so on
// overlay or btrfs, whose listings may show another number).
bool listsInodes(int fd) {
    static constexpr unsigned long kTypes[] = {
        0xEF53,      // ext2, ext3, ext4
        0x58465342,  // xfs
        0x01021994,  // tmpfs
        0xF2F52010,  // f2fs
    };
    struct statfs fs;
    if (::fstatfs(fd, &fs) != 0) return false;
    return std::find(std::begin(kTypes), std::end(kTypes), static_cast<unsigned long>(fs.f_type)) !=
           std::end(kTypes);
}

EntryId idOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

// No entry comes, goes or is renamed in a folder without a new change time for the folder.
bool sameStamp(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_ctim.tv_sec == b.st_ctim.tv_sec &&
           a.st_ctim.tv_nsec == b.st_ctim.tv_nsec && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// True when any change to the folder from now on must give it another change time: the one it
// has lies before the clock the kernel stamps changes with, by more than that clock's tick. A
// time of whole seconds may come from a file system that keeps no more, so it must lie in an
// earlier second.
bool settled(const struct stat& folder) {
    timespec now;
    if (::clock_gettime(CLOCK_REALTIME_COARSE, &now) != 0) return false;
    const timespec& changed = folder.st_ctim;
    if (changed.tv_nsec == 0) return changed.tv_sec < now.tv_sec;
    constexpr long long kTicks = 50'000'000;  // ns: a few ticks of the kernel's clock
    const long long age = (static_cast<long long>(now.tv_sec) - changed.tv_sec) * 1'000'000'000LL +
                          (now.tv_nsec - changed.tv_nsec);
    return age > kTicks;
}

// A whole folder as a listing read it while nothing had changed there for a while.
struct Snapshot {
    struct stat stamp {};  // taken before the listing
    Listed listed;
};

// A remembered listing with a table of its names: each name asked is then one look-up.
struct IndexedListing {
    explicit IndexedListing(std::shared_ptr<const Snapshot> s)
        : snapshot(std::move(s)), table(snapshot->listed.entries.size()) {
        const Listed& l = snapshot->listed;
        placeOf.reserve(l.entries.size());
        for (size_t place = 0, start = 0; place < l.entries.size(); start = l.entries[place++].first)
            if (static_cast<size_t>(table.intern(std::string_view(l.names).substr(
                    start, l.entries[place].first - start))) == placeOf.size())
                placeOf.push_back(static_cast<std::uint32_t>(place));
    }
    std::shared_ptr<const Snapshot> snapshot;
    NameTable table;
    std::vector<std::uint32_t> placeOf;  // per name in the table, its place in the listing
};

}  // namespace

namespace posix_detail {

// The last large folder listed whole: it answers for the folder for as long as the folder keeps
// the stamp it had, so that a batch right after a listing need not read the folder again.
class RememberedListing {
public:
    void keep(std::shared_ptr<const Snapshot> listing) {
        std::lock_guard lock(mutex_);
        last_ = std::move(listing);
    }
    // The listing of this folder as it still is, or nothing.
    std::shared_ptr<const Snapshot> of(const struct stat& folder) const {
        std::lock_guard lock(mutex_);
        return last_ && sameStamp(last_->stamp, folder) ? last_ : nullptr;
    }

private:
    mutable std::mutex mutex_;
    std::shared_ptr<const Snapshot> last_;
};

}  // namespace posix_detail

namespace {

using posix_detail::RememberedListing;

// A folder held by its descriptor; every name is resolved inside it and never follows a link.
class PosixOpenFolder final : public OpenFolder {
public:
    explicit PosixOpenFolder(Fd fd, std::shared_ptr<const RememberedListing> remembered = nullptr)
        : fd_(std::move(fd)), remembered_(std::move(remembered)) {}

    std::optional<EntryId> id() override {
        struct stat st;
        if (::fstat(fd_.get(), &st) != 0) return std::nullopt;
        return idOf(st);
    }
    std::optional<EntryId> entryId(const std::string& name) override {
        auto n = nativeName(name, fromBuffer_);
        struct stat st;
        if (!n || ::fstatat(fd_.get(), n->data(), &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
        return idOf(st);
    }
    // A rename moves a name, never the inode it names.
    bool renameKeepsIdentity() override { return true; }
    void readAhead(size_t names) override {
        if (ahead_ || indexAhead_ || names < kListedIdsFrom || !listsInodes(fd_.get())) return;
        // Nothing to read where a listing of the folder as it still is will answer: its names
        // go in a table meanwhile.
        struct stat folder;
        if (::fstat(fd_.get(), &folder) != 0) return;
        if (auto snapshot = known(folder)) {
            indexAhead_ = std::make_unique<IndexAhead>();
            indexAhead_->builder = std::jthread([ahead = indexAhead_.get(), snapshot = std::move(snapshot)] {
                ahead->index.emplace(snapshot);
            });
            return;
        }
        ahead_ = startPass(names);
    }
    ListedIds entryIds(const std::vector<std::string_view>& names) override {
        // What was read ahead serves the first many names asked, and only them.
        std::unique_ptr<Pass> pass = std::move(ahead_);
        std::unique_ptr<IndexAhead> indexed = std::move(indexAhead_);
        struct stat folder;
        if (names.size() < kListedIdsFrom || !listsInodes(fd_.get()) || ::fstat(fd_.get(), &folder) != 0)
            return OpenFolder::entryIds(names);
        // A listing of the folder as it still is answers at once; else the folder is read now.
        const std::shared_ptr<const Snapshot> snapshot = pass ? nullptr : known(folder);
        if (snapshot) {
            if (indexed) indexed->builder.join();
            if (indexed && indexed->index && indexed->index->snapshot == snapshot)
                return lookUp(*indexed->index, names, folder.st_dev);
            return lookUp(IndexedListing(snapshot), names, folder.st_dev);
        }
        if (!pass) pass = startPass(names.size());
        if (!pass) return OpenFolder::entryIds(names);

        // One pass over the folder instead of a look-up per name: the names asked, as the disk
        // has them, go in one table, and each entry listed is looked for there. The kernel's
        // pass takes about as long as the table, so it reads the folder on a thread of its own.
        std::string onDisk;
        std::vector<size_t> ends(names.size(), std::string::npos);
        for (size_t k = 0; k < names.size(); ++k)
            if (isPlainComponent(names[k]) && appendGbkToUtf8(names[k], onDisk)) ends[k] = onDisk.size();
        NameTable table(names.size());
        std::vector<int> firstAsking;                   // per name in the table
        std::vector<int> nextAsking(names.size(), -1);  // the next row asking the same name
        for (size_t k = 0, start = 0; k < names.size(); ++k) {
            if (ends[k] == std::string::npos) continue;
            const size_t id =
                static_cast<size_t>(table.intern(std::string_view(onDisk).substr(start, ends[k] - start)));
            start = ends[k];
            if (id == firstAsking.size()) {
                firstAsking.push_back(static_cast<int>(k));
            } else {
                nextAsking[k] = nextAsking[static_cast<size_t>(firstAsking[id])];
                nextAsking[static_cast<size_t>(firstAsking[id])] = static_cast<int>(k);
            }
        }
        pass->reader.join();
        // Entries past the error would pass for gone: each name is looked up by itself instead.
        if (pass->cut) return OpenFolder::entryIds(names);
        const Listed& read = pass->listed;
        const auto& listed = read.entries;

        ListedIds out;
        out.ids.resize(names.size());
        out.places.assign(names.size(), ListedIds::kNotListed);
        for (size_t place = 0, start = 0; place < listed.size(); start = listed[place++].first) {
            const int id =
                table.find(std::string_view(read.names).substr(start, listed[place].first - start));
            if (id < 0) continue;
            for (int k = firstAsking[static_cast<size_t>(id)]; k >= 0;
                 k = nextAsking[static_cast<size_t>(k)]) {
                out.ids[static_cast<size_t>(k)] = EntryId{static_cast<std::uint64_t>(folder.st_dev),
                                                          static_cast<std::uint64_t>(listed[place].second)};
                out.places[static_cast<size_t>(k)] = static_cast<std::uint32_t>(place);
            }
        }
        return out;
    }
    bool rename(const std::string& from, const std::string& to) override {
        auto f = nativeName(from, fromBuffer_);
        auto t = nativeName(to, toBuffer_);
        if (!f || !t) return false;
        // Both views point into strings, so they end in a NUL. renameat2 refuses a name onto
        // itself with EEXIST; a Windows move calls that success.
        if (*f == *t) return exists(fd_.get(), f->data());
        return moveNoReplace(fd_.get(), f->data(), fd_.get(), t->data());
    }
    bool hasEntry(const std::string& name) override {
        auto n = nativeName(name, fromBuffer_);
        return n && exists(fd_.get(), n->data());
    }
    bool createFolder(const std::string& name) override {
        auto n = nativeName(name, fromBuffer_);
        return n && ::mkdirat(fd_.get(), n->data(), 0777) == 0;
    }
    bool createNewFile(const std::string& name, const std::string& bytes) override {
        auto n = nativeName(name, fromBuffer_);
        if (!n) return false;
        Fd fd(::openat(fd_.get(), n->data(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!fd) return false;
        if (writeAll(fd.get(), bytes) && fd.close()) return true;
        // We made it, so a half-written file is ours to remove.
        ::unlinkat(fd_.get(), n->data(), 0);
        return false;
    }

    std::vector<DirEntry> entries() override {
        // A description of its own, so that each listing starts at the first entry.
        std::vector<DirEntry> found = list(Fd(::openat(fd_.get(), ".", kDirFlags)), "*");
        std::erase_if(found, [](const DirEntry& e) { return e.name == "." || e.name == ".."; });
        return found;
    }
    std::unique_ptr<OpenFolder> openSubfolder(const std::string& name) override {
        auto n = inside(name);
        if (!n) return nullptr;
        Fd fd(::openat(fd_.get(), n->c_str(), kDirFlags | O_NOFOLLOW));
        if (!fd) return nullptr;
        return std::make_unique<PosixOpenFolder>(std::move(fd), remembered_);
    }
    bool deleteEntry(const std::string& name) override {
        auto n = inside(name);
        return n && ::unlinkat(fd_.get(), n->c_str(), 0) == 0;
    }
    bool removeFolder(const std::string& name) override {
        auto n = inside(name);
        return n && ::unlinkat(fd_.get(), n->c_str(), AT_REMOVEDIR) == 0;
    }
    bool removeFolderLink(const std::string& name) override {
        auto n = inside(name);
        if (!n) return false;
        struct stat link, target;
        if (::fstatat(fd_.get(), n->c_str(), &link, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(link.st_mode))
            return false;
        if (::fstatat(fd_.get(), n->c_str(), &target, 0) != 0 || !S_ISDIR(target.st_mode)) return false;
        return ::unlinkat(fd_.get(), n->c_str(), 0) == 0;
    }

private:
    static constexpr int kDirFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    // The folder read on a thread of its own.
    struct Pass {
        Listed listed;
        bool cut = false;     // an error ended the pass before the folder's end
        std::jthread reader;  // last: gone first, once it has finished
    };
    // A remembered listing put in a table on a thread of its own.
    struct IndexAhead {
        std::optional<IndexedListing> index;
        std::jthread builder;  // last: gone first, once it has finished
    };
    // Each name as it is on disk, looked up in the listing.
    static ListedIds lookUp(const IndexedListing& index, const std::vector<std::string_view>& names,
                            dev_t dev) {
        const auto& listed = index.snapshot->listed.entries;
        ListedIds out;
        out.ids.resize(names.size());
        out.places.assign(names.size(), ListedIds::kNotListed);
        std::string onDisk;
        for (size_t k = 0; k < names.size(); ++k) {
            if (!isPlainComponent(names[k])) continue;
            onDisk.clear();
            if (!appendGbkToUtf8(names[k], onDisk)) continue;
            const int id = index.table.find(onDisk);
            if (id < 0) continue;
            const std::uint32_t place = index.placeOf[static_cast<size_t>(id)];
            out.ids[k] =
                EntryId{static_cast<std::uint64_t>(dev), static_cast<std::uint64_t>(listed[place].second)};
            out.places[k] = place;
        }
        return out;
    }
    // expected: about how many entries the folder has.
    std::unique_ptr<Pass> startPass(size_t expected) {
        Fd fd(::openat(fd_.get(), ".", kDirFlags));
        std::unique_ptr<DIR, int (*)(DIR*)> dir(fd ? ::fdopendir(fd.get()) : nullptr, ::closedir);
        if (!dir) return nullptr;
        fd.release();  // the DIR owns it now
        auto pass = std::make_unique<Pass>();
        // Room for them all, so that the lists are not copied as they grow.
        pass->listed.entries.reserve(expected + 2);
        pass->listed.names.reserve(expected * 48);
        pass->reader = std::jthread([p = pass.get(), dir = std::move(dir)] {
            p->cut = !readAll(dir.get(), [p](const dirent& e) { p->listed.add(e); });
        });
        return pass;
    }

    // One plain name inside this folder, as it is on disk.
    static std::optional<std::string> inside(const std::string& gbk) {
        if (!isPlainComponent(gbk)) return std::nullopt;
        return native(gbk);
    }
    // The same into a buffer reused from one name to the next: a batch converts many.
    static std::optional<std::string_view> nativeName(const std::string& gbk, std::string& buffer) {
        if (!isPlainComponent(gbk)) return std::nullopt;
        if (isAscii(gbk)) return std::string_view(gbk);
        buffer.clear();
        if (!appendGbkToUtf8(gbk, buffer)) return std::nullopt;
        return std::string_view(buffer);
    }

    std::shared_ptr<const Snapshot> known(const struct stat& folder) const {
        return remembered_ ? remembered_->of(folder) : nullptr;
    }

    Fd fd_;
    std::shared_ptr<const RememberedListing> remembered_;
    // Read ahead for the entryIds to come: the folder, or the table of a listing of it.
    std::unique_ptr<Pass> ahead_;
    std::unique_ptr<IndexAhead> indexAhead_;
    std::string fromBuffer_, toBuffer_;
};

// The journal of one batch: a file of its own, written whole and flushed, and locked for as long
// as its batch runs, so that another instance starting meanwhile never takes it for one left
// behind.
class PosixJournal final : public JournalFile {
public:
    PosixJournal(std::string dir, bool ownDir) : dir_(std::move(dir)), ownDir_(ownDir) {}

    bool write(const std::string& bytes) override {
        remove();
        if (dir_.empty()) return false;
        struct stat st;
        if (::stat(dir_.c_str(), &st) != 0) made_ = true;
        if (!makeDirs(dir_)) return false;
        Fd folder = openDir(dir_);
        if (!folder) return false;
        // A new name: a journal left behind by a process of the same number stays untouched.
        Fd fd;
        for (int n = 0; !fd && n < 1000; ++n) {
            name_ = "velbrook-" + std::to_string(::getpid()) + "-" + std::to_string(n) + kSuffix;
            fd = Fd(::openat(folder.get(), name_.c_str(),
                             O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
            if (!fd && errno != EEXIST) break;
        }
        if (!fd || ::flock(fd.get(), LOCK_EX) != 0) {
            name_.clear();
            return false;
        }
        held_ = std::move(fd);
        return writeAll(held_.get(), bytes) && ::fsync(held_.get()) == 0 && ::fsync(folder.get()) == 0;
    }
    std::optional<std::string> read() override {
        remove();
        if (dir_.empty()) return std::nullopt;
        Fd folder = openDir(dir_);
        if (!folder) return std::nullopt;
        for (const DirEntry& e : list(Fd(::dup(folder.get())), "velbrook-*.journal")) {
            Fd fd(::openat(folder.get(), e.name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
            // Locked: its batch is running in another process.
            if (!fd || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;
            std::string bytes;
            char buf[65536];
            for (;;) {
                ssize_t n = ::read(fd.get(), buf, sizeof buf);
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) break;
                bytes.append(buf, static_cast<size_t>(n));
            }
            name_ = e.name;
            held_ = std::move(fd);
            return bytes;
        }
        return std::nullopt;
    }
    void remove() override {
        if (name_.empty()) return;
        ::unlink((dir_ + "/" + name_).c_str());
        held_ = Fd();
        name_.clear();
        // A folder made for the journal goes with it, once nothing else is in it.
        if (ownDir_ || made_) ::rmdir(dir_.c_str());
        made_ = false;
    }

private:
    static constexpr const char* kSuffix = ".journal";
    std::string dir_;  // UTF-8, without a trailing "/"
    bool ownDir_;
    bool made_ = false;
    std::string name_;  // the journal held, or empty
    Fd held_;
};

// $XDG_STATE_HOME/velbrook, or ~/.local/state/velbrook.
std::string userStateDir() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') return std::string(state) + "/velbrook";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.local/state/velbrook";
    return {};
}

bool makeDirs(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/') continue;
        std::string part = path.substr(0, i);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::string> trashDir() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') return std::string(data) + "/Trash";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.local/share/Trash";
    return std::nullopt;
}

std::string urlEscape(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : path) {
        unsigned char c = static_cast<unsigned char>(ch);
        bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                     c == '_' || c == '.' || c == '~' || c == '/';
        if (plain) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string deletionDate() {
    time_t now = ::time(nullptr);
    struct tm local;
    ::localtime_r(&now, &local);
    char buf[32];
    ::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%S", &local);
    return buf;
}

}  // namespace

namespace posix_detail {

bool moveWithoutReplaceFlag(int fromDir, const char* from, int toDir, const char* to) {
    struct stat st;
    if (::fstatat(fromDir, from, &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (!S_ISDIR(st.st_mode)) {
        // link() refuses an existing target atomically.
        if (::linkat(fromDir, from, toDir, to, 0) == 0) {
            if (::unlinkat(fromDir, from, 0) == 0) return true;
            int err = errno;
            ::unlinkat(toDir, to, 0);
            errno = err;
            return false;
        }
        if (errno == EEXIST) return false;
        // No hard links on this file system: fall through to the checked rename.
    }
    if (exists(toDir, to)) {
        errno = EEXIST;
        return false;
    }
    if (errno != ENOENT) return false;
    return ::renameat(fromDir, from, toDir, to) == 0;
}

}  // namespace posix_detail

PosixFileSystem::PosixFileSystem(std::string programDir, std::optional<std::string> stateDir)
    : programDir_(std::move(programDir)), remembered_(std::make_shared<RememberedListing>()) {
    if (!programDir_.empty() && programDir_[0] != '/') {
        char cwd[4096];
        if (::getcwd(cwd, sizeof cwd)) {
            if (auto gbk = utf8ToGbk(cwd)) programDir_ = *gbk + "/" + programDir_;
        }
    }
    if (programDir_.empty() || programDir_.back() != '/') programDir_ += '/';
    if (stateDir) {
        std::string dir = gbkToUtf8(*stateDir).value_or(std::string());
        while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
        journal_ = std::make_unique<PosixJournal>(std::move(dir), false);
    } else {
        journal_ = std::make_unique<PosixJournal>(userStateDir(), true);
    }
}

std::vector<DirEntry> PosixFileSystem::search(const std::string& dir, const std::string& pattern) {
    auto path = nativeAbsolute(dir);
    if (!path) return {};
    Fd fd = openDir(*path);
    // A large folder that nothing had changed for a while is remembered whole: the batch that
    // follows its listing needs to know who its entries are.
    auto snapshot = std::make_shared<Snapshot>();
    const bool whole =
        fd && ::fstat(fd.get(), &snapshot->stamp) == 0 && settled(snapshot->stamp) && listsInodes(fd.get());
    std::vector<DirEntry> found = list(std::move(fd), pattern, whole ? &snapshot->listed : nullptr);
    if (whole && snapshot->listed.entries.size() >= kListedIdsFrom) remembered_->keep(std::move(snapshot));
    return found;
}

std::unique_ptr<OpenFolder> PosixFileSystem::openFolder(const std::string& dir) {
    auto path = nativeAbsolute(dir);
    if (!path) return nullptr;
    Fd fd = openDir(*path);
    if (!fd) return nullptr;
    return std::make_unique<PosixOpenFolder>(std::move(fd), remembered_);
}

PosixFileSystem::~PosixFileSystem() = default;

JournalFile* PosixFileSystem::journal() { return journal_.get(); }

bool PosixFileSystem::rename(const std::string& dir, const std::string& from, const std::string& to) {
    auto d = nativeAbsolute(dir);
    if (!d) return false;
    Fd fd = openDir(*d);
    return fd && PosixOpenFolder(std::move(fd)).rename(from, to);
}

bool PosixFileSystem::hasEntry(const std::string& dir, const std::string& name) {
    auto d = nativeAbsolute(dir);
    if (!d) return false;
    Fd fd = openDir(*d);
    return fd && PosixOpenFolder(std::move(fd)).hasEntry(name);
}

bool PosixFileSystem::deleteFile(const std::string& path) {
    auto p = nativeAbsolute(path);
    return p && ::unlink(p->c_str()) == 0;
}

bool PosixFileSystem::removeDir(const std::string& path) {
    auto p = nativeAbsolute(path);
    if (!p) return false;
    if (::rmdir(p->c_str()) == 0) return true;
    if (errno != ENOTDIR) return false;
    struct stat link, target;
    if (::lstat(p->c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return false;
    if (::stat(p->c_str(), &target) != 0 || !S_ISDIR(target.st_mode)) return false;
    return ::unlink(p->c_str()) == 0;
}

bool PosixFileSystem::createDir(const std::string& path) {
    auto p = nativeAbsolute(path);
    return p && ::mkdir(p->c_str(), 0777) == 0;
}

bool PosixFileSystem::createNewFile(const std::string& path, const std::string& bytes) {
    auto p = nativeAbsolute(path);
    if (!p) return false;
    Fd fd(::open(p->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!fd) return false;
    if (writeAll(fd.get(), bytes) && fd.close()) return true;
    // We made it, so a half-written file is ours to remove.
    ::unlink(p->c_str());
    return false;
}

bool PosixFileSystem::replaceFile(const std::string& path, const std::string& bytes) {
    auto p = nativeAbsolute(path);
    if (!p) return false;
    auto split = splitPath(*p);
    if (!split) return false;
    Fd dir = openDir(split->parent);
    if (!dir) return false;
    std::string temp;
    Fd fd;
    for (int attempt = 0; attempt < 100 && !fd; ++attempt) {
        temp = ".save-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
        fd =
            Fd(::openat(dir.get(), temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!fd && errno != EEXIST) return false;
    }
    if (!fd) return false;
    bool ok = writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
    ok = fd.close() && ok;
    if (ok && ::renameat(dir.get(), temp.c_str(), dir.get(), split->name.c_str()) == 0) {
        ::fsync(dir.get());
        return true;
    }
    ::unlinkat(dir.get(), temp.c_str(), 0);
    return false;
}

bool PosixFileSystem::recycle(const std::string& path) {
    auto p = nativeAbsolute(path);
    if (!p) return false;
    auto split = splitPath(*p);
    auto trash = trashDir();
    if (!split || !trash) return false;
    Fd parent = openDir(split->parent);
    if (!parent || !exists(parent.get(), split->name.c_str())) return false;
    if (!makeDirs(*trash + "/files") || !makeDirs(*trash + "/info")) return false;
    Fd files = openDir(*trash + "/files");
    Fd info = openDir(*trash + "/info");
    if (!files || !info) return false;

    std::string whole = split->parent + split->name;
    const std::string content =
        "[Trash Info]\nPath=" + urlEscape(whole) + "\nDeletionDate=" + deletionDate() + "\n";
    for (int n = 1; n < 10000; ++n) {
        std::string name = n == 1 ? split->name : split->name + "." + std::to_string(n);
        std::string infoName = name + ".trashinfo";
        // The info file is the reservation of the name: made first, exclusively.
        Fd fd(::openat(info.get(), infoName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                       0600));
        if (!fd) {
            if (errno == EEXIST) continue;
            return false;
        }
        bool written = writeAll(fd.get(), content);
        written = fd.close() && written;
        if (written && moveNoReplace(parent.get(), split->name.c_str(), files.get(), name.c_str()))
            return true;
        int err = errno;
        ::unlinkat(info.get(), infoName.c_str(), 0);
        // A stray entry in files/ with this name: take the next one. Anything else (another
        // file system included) fails; we never copy.
        if (!written || err != EEXIST) return false;
    }
    return false;
}

}  // namespace vb

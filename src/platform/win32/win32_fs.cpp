#include "platform/win32/win32_fs.h"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <unordered_map>

#include "platform/wildcard.h"
#include "platform/win32/compat.h"
#include "platform/win32/wide.h"

namespace vb {
namespace {

// Entries read between two looks at the message queue.
constexpr int kPumpEvery = 256;

class FindHandle {
public:
    explicit FindHandle(HANDLE h) : h_(h) {}
    ~FindHandle() {
        if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

class FileHandle {
public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() { close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    explicit operator bool() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    void reset(HANDLE h) {
        close();
        h_ = h;
    }
    HANDLE release() {
        HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return h;
    }
    bool close() {
        if (h_ == INVALID_HANDLE_VALUE) return true;
        BOOL ok = CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return ok != FALSE;
    }

private:
    HANDLE h_;
};

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// One plain name inside a directory, safe to hand to the W functions.
bool isPlainComponent(std::wstring_view name) {
    if (name.empty() || name == L"." || name == L"..") return false;
    if (name.back() == L'.' || name.back() == L' ') return false;
    for (wchar_t c : name)
        if (isSeparator(c) || c == L':' || c < 32) return false;
    return true;
}

std::optional<std::wstring> widePath(const std::string& gbk) {
    auto w = gbkToWide(gbk);
    if (!w || w->empty()) return std::nullopt;
    return extendedPath(std::move(*w));
}

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool writeAll(HANDLE h, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

// Makes a new file with these bytes; never truncates one that is there. A file it made but
// could not finish writing is ours to remove.
bool createNewAt(const std::wstring& path, const std::string& bytes) {
    FileHandle f(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    if (writeAll(f.get(), bytes) && f.close()) return true;
    f.close();
    DeleteFileW(path.c_str());
    return false;
}

// The entries of the folder base (ending in a backslash) that match pattern, "." and ".." included when
// they match.
std::vector<DirEntry> listFolder(const std::wstring& base, const std::string& pattern,
                                 const std::function<void()>& pump) {
    std::vector<DirEntry> found;
    // Every entry, filtered here: the system's own matching also looks at short 8.3 names.
    WIN32_FIND_DATAW data;
    FindHandle h(findFirstFile((base + L"*").c_str(), data, systemFindFirst()));
    if (h.get() == INVALID_HANDLE_VALUE) return found;
    const bool everything = pattern == "*" || pattern == "*.*";
    int sincePump = 0;
    do {
        if (pump && ++sincePump == kPumpEvery) {
            sincePump = 0;
            pump();
        }
        auto name = wideToGbk(data.cFileName);
        if (!name || name->empty()) continue;  // no exact GBK form: cannot be renamed safely
        if (!everything && !matchesWildcard(*name, pattern)) continue;
        // A link or junction is never reported as a directory, so a walk over the results never
        // leaves the tree it started in.
        const bool dir = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                         !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
        found.push_back({std::move(*name), dir});
    } while (FindNextFileW(h.get(), &data));
    return found;
}

// Deletes a file, or a link to a directory as a directory: the link goes, what it points to stays.
bool deleteFileOrLink(const std::wstring& path) {
    if (DeleteFileW(path.c_str())) return true;
    const DWORD a = GetFileAttributesW(path.c_str());
    const DWORD link = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    return a != INVALID_FILE_ATTRIBUTES && (a & link) == link && RemoveDirectoryW(path.c_str());
}

// A folder is held open without FILE_SHARE_DELETE: while the handle lives nobody can rename,
// delete or replace it, so a path through held folders keeps naming the same entries.
constexpr DWORD kHoldAccess = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES;
constexpr DWORD kHoldShare = FILE_SHARE_READ | FILE_SHARE_WRITE;

bool identify(HANDLE h, BY_HANDLE_FILE_INFORMATION& info) {
    return GetFileInformationByHandle(h, &info) != FALSE;
}

bool isRealFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Opens the sub-folder at path itself, never what a link there points to; invalid otherwise.
HANDLE holdSubfolder(const std::wstring& path) {
    FileHandle h(CreateFileW(path.c_str(), kHoldAccess, kHoldShare, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION held;
    if (!h || !identify(h.get(), held) || !isRealFolder(held.dwFileAttributes)) return INVALID_HANDLE_VALUE;
    // Wine opens what a Unix link points to even when asked for the link itself: the name must
    // show a real folder, and the very one now held.
    if (!isRealFolder(GetFileAttributesW(path.c_str()))) return INVALID_HANDLE_VALUE;
    FileHandle again(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kHoldShare | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                 nullptr));
    BY_HANDLE_FILE_INFORMATION named;
    if (!again || !identify(again.get(), named) || named.dwVolumeSerialNumber != held.dwVolumeSerialNumber ||
        named.nFileIndexHigh != held.nFileIndexHigh || named.nFileIndexLow != held.nFileIndexLow)
        return INVALID_HANDLE_VALUE;
    return h.release();
}

EntryId idOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return {info.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// The folder is held without FILE_SHARE_DELETE, so neither it nor a folder above it can be
// moved while it is held: its path keeps naming it, and every step goes through that path.
class Win32OpenFolder final : public OpenFolder {
public:
    // path ends in a backslash.
    Win32OpenFolder(HANDLE held, std::wstring path, std::function<void()> pump)
        : held_(held), path_(std::move(path)), pump_(std::move(pump)) {}

    std::optional<EntryId> id() override {
        BY_HANDLE_FILE_INFORMATION info;
        if (!identify(held_.get(), info)) return std::nullopt;
        return idOf(info);
    }
    std::optional<EntryId> entryId(const std::string& name) override {
        auto p = inside(name);
        if (!p) return std::nullopt;
        FileHandle h(CreateFileW(
            p->c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        BY_HANDLE_FILE_INFORMATION info;
        if (!h || !identify(h.get(), info)) return std::nullopt;
        return idOf(info);
    }
    // NTFS and ReFS keep a file's index through a rename; FAT gives it the index of its new
    // directory entry.
    bool renameKeepsIdentity() override {
        wchar_t root[MAX_PATH + 1] = {}, system[MAX_PATH + 1] = {};
        if (!GetVolumePathNameW(path_.c_str(), root, MAX_PATH) ||
            !GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, system, MAX_PATH))
            return false;
        const std::wstring_view name(system);
        return name == L"NTFS" || name == L"ReFS";
    }
    ListedIds entryIds(const std::vector<std::string_view>& names) override {
        ListedIds out;
        out.ids.resize(names.size());
        BY_HANDLE_FILE_INFORMATION folder;
        std::unordered_map<std::wstring, Listed> listed;
        if (names.size() >= kListedIdsFrom && identify(held_.get(), folder)) listed = listedIds();
        if (!listed.empty()) out.places.assign(names.size(), ListedIds::kNotListed);
        std::string gbk;
        for (size_t k = 0; k < names.size(); ++k) {
            gbk.assign(names[k]);
            const auto w = gbkToWide(gbk);
            const auto it = w && isPlainComponent(*w) ? listed.find(*w) : listed.end();
            if (it == listed.end()) {
                // Not listed under that very name (another letter case, a short name): looked up.
                out.ids[k] = entryId(gbk);
                continue;
            }
            out.ids[k] = EntryId{folder.dwVolumeSerialNumber, it->second.id};
            out.places[k] = it->second.place;
        }
        return out;
    }
    bool rename(const std::string& from, const std::string& to) override {
        auto f = inside(from);
        auto t = inside(to);
        if (!f || !t) return false;
        // A move onto itself is a success that changes nothing.
        if (*f == *t) return exists(*f);
        return MoveFileExW(f->c_str(), t->c_str(), 0) != FALSE;
    }
    bool hasEntry(const std::string& name) override {
        auto p = inside(name);
        return p && exists(*p);
    }
    bool createFolder(const std::string& name) override {
        auto p = inside(name);
        return p && CreateDirectoryW(p->c_str(), nullptr);
    }
    bool createNewFile(const std::string& name, const std::string& bytes) override {
        auto p = inside(name);
        return p && createNewAt(*p, bytes);
    }
    bool removeFolderLink(const std::string& name) override {
        auto p = inside(name);
        if (!p) return false;
        const DWORD a = GetFileAttributesW(p->c_str());
        const DWORD link = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
        return a != INVALID_FILE_ATTRIBUTES && (a & link) == link && RemoveDirectoryW(p->c_str());
    }

    std::vector<DirEntry> entries() override {
        std::vector<DirEntry> found = listFolder(path_, "*", pump_);
        std::erase_if(found, [](const DirEntry& e) { return e.name == "." || e.name == ".."; });
        return found;
    }
    std::unique_ptr<OpenFolder> openSubfolder(const std::string& name) override {
        auto p = inside(name);
        if (!p) return nullptr;
        HANDLE h = holdSubfolder(*p);
        if (h == INVALID_HANDLE_VALUE) return nullptr;
        return std::make_unique<Win32OpenFolder>(h, *p + L'\\', pump_);
    }
    bool deleteEntry(const std::string& name) override {
        auto p = inside(name);
        return p && deleteFileOrLink(*p);
    }
    bool removeFolder(const std::string& name) override {
        auto p = inside(name);
        return p && RemoveDirectoryW(p->c_str());
    }

private:
    // From this many names on, reading the whole folder once costs less than opening each entry.
    static constexpr size_t kListedIdsFrom = 1024;

    std::optional<std::wstring> inside(const std::string& gbk) const {
        auto w = gbkToWide(gbk);
        if (!w || !isPlainComponent(*w)) return std::nullopt;
        return path_ + *w;
    }

    // Every entry's file index by its name, read from the held folder in one pass (Vista on);
    // nothing where the system cannot, or where its listing does not give the index that opening
    // the entry gives.
    struct Listed {
        std::uint64_t id;
        std::uint32_t place;  // in the folder's own order
    };
    std::unordered_map<std::wstring, Listed> listedIds() {
        std::unordered_map<std::wstring, Listed> ids;
        std::uint32_t place = 0;
        using QueryFn = BOOL(WINAPI*)(HANDLE, int, void*, DWORD);
        const auto query = systemFunctionAs<QueryFn>(L"kernel32.dll", "GetFileInformationByHandleEx");
        if (!query) return ids;
        std::vector<std::uint64_t> buffer(8192);  // 64 KiB, aligned for the records
        const DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof buffer[0]);
        for (int cls = kIdBothDirectoryRestartInfo; query(held_.get(), cls, buffer.data(), bytes);
             cls = kIdBothDirectoryInfo) {
            const auto* at = reinterpret_cast<const unsigned char*>(buffer.data());
            for (;;) {
                const auto* e = reinterpret_cast<const IdBothDirInfo*>(at);
                const std::uint64_t id = static_cast<std::uint64_t>(e->fileId);
                if (id != 0)
                    ids.emplace(std::wstring(e->fileName, e->fileNameLength / sizeof(WCHAR)),
                                Listed{id, place});
                ++place;
                if (e->nextEntryOffset == 0) break;
                at += e->nextEntryOffset;
            }
        }
        // One entry looked up says whether the listing's numbers are the ones a look-up gives.
        for (const auto& [name, listed] : ids) {
            const std::optional<std::string> gbk = wideToGbk(name);
            if (name == L"." || name == L".." || !gbk) continue;
            const std::optional<EntryId> looked = entryId(*gbk);
            if (!looked || looked->index != listed.id) ids.clear();
            break;
        }
        return ids;
    }

    // The records GetFileInformationByHandleEx gives for a folder's entries with their indexes.
    static constexpr int kIdBothDirectoryInfo = 10;
    static constexpr int kIdBothDirectoryRestartInfo = 11;
    struct IdBothDirInfo {
        DWORD nextEntryOffset;
        DWORD fileIndex;
        LARGE_INTEGER creationTime, lastAccessTime, lastWriteTime, changeTime, endOfFile, allocationSize;
        DWORD fileAttributes;
        DWORD fileNameLength;
        DWORD eaSize;
        CCHAR shortNameLength;
        WCHAR shortName[12];
        LONGLONG fileId;
        WCHAR fileName[1];
    };
#if _WIN32_WINNT >= 0x0600
    static_assert(offsetof(IdBothDirInfo, fileId) == offsetof(FILE_ID_BOTH_DIR_INFO, FileId) &&
                  offsetof(IdBothDirInfo, fileName) == offsetof(FILE_ID_BOTH_DIR_INFO, FileName));
#endif

    FileHandle held_;
    std::wstring path_;
    std::function<void()> pump_;
};

// The journal: one file, written whole and flushed to the disk.
class Win32Journal final : public JournalFile {
public:
    // dir ends in a backslash; ownDir: the folder is made for the journal and goes with it.
    Win32Journal(std::wstring dir, bool ownDir) : dir_(std::move(dir)), ownDir_(ownDir) {}

    bool write(const std::string& bytes) override {
        remove();
        if (dir_.empty()) return false;
        if (CreateDirectoryW(dir_.c_str(), nullptr))
            made_ = true;
        else if (GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
        // A new name, opened without sharing and kept open while the batch runs.
        for (int n = 0; n < 1000 && !held_; ++n) {
            name_ = L"velbrook-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(n) +
                    L".journal";
            held_.reset(CreateFileW((dir_ + name_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!held_ && GetLastError() != ERROR_FILE_EXISTS) break;
        }
        if (!held_) {
            name_.clear();
            return false;
        }
        return writeAll(held_.get(), bytes) && FlushFileBuffers(held_.get());
    }
    std::optional<std::string> read() override {
        remove();
        if (dir_.empty()) return std::nullopt;
        for (const DirEntry& e : listFolder(dir_, "velbrook-*.journal", {})) {
            auto name = gbkToWide(e.name);
            if (!name) continue;
            // Open elsewhere without sharing: its batch is running in another process.
            FileHandle f(CreateFileW((dir_ + *name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!f) continue;
            std::string bytes;
            char buf[65536];
            DWORD got = 0;
            while (ReadFile(f.get(), buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
            name_ = std::move(*name);
            held_.reset(f.release());
            return bytes;
        }
        return std::nullopt;
    }
    void remove() override {
        if (name_.empty()) return;
        held_.close();
        DeleteFileW((dir_ + name_).c_str());
        name_.clear();
        // A folder made for the journal goes with it, once nothing else is in it.
        if (ownDir_ || made_) RemoveDirectoryW(dir_.c_str());
        made_ = false;
    }

private:
    std::wstring dir_;
    bool ownDir_;
    bool made_ = false;
    std::wstring name_;  // the journal held, or empty
    FileHandle held_{INVALID_HANDLE_VALUE};
};

// %LOCALAPPDATA%\Velbrook\ (on XP, the local application data of the user's profile).
std::wstring userStateDir() {
    wchar_t buf[MAX_PATH];
    if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buf) != S_OK) return {};
    return extendedPath(std::wstring(buf) + L"\\Velbrook\\");
}

std::string moduleDir() {
    std::wstring buf(32768, L'\0');
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    buf.resize(n);
    size_t slash = buf.find_last_of(L"\\/");
    buf.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return wideToGbkLossy(buf);
}

}  // namespace

// True when a "." or ".." component would need the system's clean-up.
bool hasDotComponent(const std::wstring& path) {
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        std::wstring_view part(path.data() + start, end - start);
        if (part == L"." || part == L"..") return true;
        start = end + 1;
    }
    return false;
}

std::wstring extendedPath(std::wstring path) {
    if (path.rfind(L"\\\\?\\", 0) == 0) return path;
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    const bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
    const bool unc = path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?';
    if (!drive && !unc) return path;  // relative: left to the system's own rules
    // "a\\b" means "a\b" to the system, but is an empty name after "\\?\".
    size_t keep = unc ? 2 : 0;
    std::wstring tidy = path.substr(0, keep);
    for (size_t i = keep; i < path.size(); ++i)
        if (path[i] != L'\\' || tidy.empty() || tidy.back() != L'\\') tidy += path[i];
    path = std::move(tidy);
    // "\\?\" turns the system's clean-up off, so resolve "." and ".." here.
    if (hasDotComponent(path)) {
        std::wstring full(32768, L'\0');
        DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (n == 0 || n >= full.size()) return path;
        full.resize(n);
        path = std::move(full);
    }
    if (unc) return L"\\\\?\\UNC\\" + path.substr(2);
    return L"\\\\?\\" + path;
}

Win32FileSystem::Win32FileSystem(std::string programDir, std::function<void()> pump, Journal journal)
    : programDir_(programDir.empty() ? moduleDir() : std::move(programDir)), pump_(std::move(pump)) {
    if (programDir_.empty() || programDir_.back() != '\\') programDir_ += '\\';
    if (journal == Journal::BesideProgram)
        journal_ = std::make_unique<Win32Journal>(widePath(programDir_).value_or(std::wstring()), false);
    else
        journal_ = std::make_unique<Win32Journal>(userStateDir(), true);
}

Win32FileSystem::~Win32FileSystem() = default;

JournalFile* Win32FileSystem::journal() { return journal_.get(); }

std::vector<DirEntry> Win32FileSystem::search(const std::string& dir, const std::string& pattern) {
    auto base = widePath(dir);
    if (!base) return {};
    if (base->back() != L'\\') *base += L'\\';
    return listFolder(*base, pattern, pump_);
}

std::unique_ptr<OpenFolder> Win32FileSystem::openFolder(const std::string& dir) {
    auto path = widePath(dir);
    if (!path) return nullptr;
    // The handle wants no trailing separator, except on a root (\\?\C:\).
    while (path->size() > 1 && path->back() == L'\\' && (*path)[path->size() - 2] != L':') path->pop_back();
    FileHandle h(CreateFileW(path->c_str(), kHoldAccess, kHoldShare, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!h || !identify(h.get(), info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return nullptr;
    if (path->back() != L'\\') *path += L'\\';
    return std::make_unique<Win32OpenFolder>(h.release(), std::move(*path), pump_);
}

bool Win32FileSystem::rename(const std::string& dir, const std::string& from, const std::string& to) {
    auto d = gbkToWide(dir);
    auto f = gbkToWide(from);
    auto t = gbkToWide(to);
    if (!d || d->empty() || !f || !t || !isPlainComponent(*f) || !isPlainComponent(*t)) return false;
    if (!isSeparator(d->back())) *d += L'\\';
    std::wstring base = extendedPath(*d);
    std::wstring src = base + *f;
    // A move onto itself is a success that changes nothing.
    if (*f == *t) return exists(src);
    return MoveFileExW(src.c_str(), (base + *t).c_str(), 0) != FALSE;
}

bool Win32FileSystem::hasEntry(const std::string& dir, const std::string& name) {
    auto d = gbkToWide(dir);
    auto n = gbkToWide(name);
    if (!d || d->empty() || !n || !isPlainComponent(*n)) return false;
    if (!isSeparator(d->back())) *d += L'\\';
    return exists(extendedPath(*d) + *n);
}

bool Win32FileSystem::foldsNames(const std::string& dir) {
    (void)dir;
    return true;
}

void Win32FileSystem::appendNameKey(std::string_view name, std::string& key) const {
    // A tag keeps the two forms apart: a name that does not convert is its own bytes.
    auto w = gbkToWide(name);
    if (!w || w->empty()) {
        key.append(1, '\0').append(name);
        return;
    }
    // Without LCMAP_LINGUISTIC_CASING the mapping follows the file system's rules.
    std::wstring upper(w->size(), L'\0');
    const int n = LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, w->data(), static_cast<int>(w->size()),
                               upper.data(), static_cast<int>(upper.size()));
    if (n > 0) upper.resize(static_cast<size_t>(n));
    const std::wstring& folded = n > 0 ? upper : *w;
    key.append(1, '\1');
    for (wchar_t c : folded) key.append({static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF)});
}

std::optional<std::string> Win32FileSystem::nameOnDisk(const std::string& dir, const std::string& name) {
    auto d = gbkToWide(dir);
    auto n = gbkToWide(name);
    if (!d || d->empty() || !n || !isPlainComponent(*n)) return std::nullopt;
    // Without a wildcard (DOS ones included) the search finds that entry alone.
    if (n->find_first_of(L"*?<>\"") != std::wstring::npos) return std::nullopt;
    if (!isSeparator(d->back())) *d += L'\\';
    WIN32_FIND_DATAW data;
    FindHandle h(findFirstFile((extendedPath(*d) + *n).c_str(), data, systemFindFirst()));
    if (h.get() == INVALID_HANDLE_VALUE) return std::nullopt;
    return wideToGbk(data.cFileName);
}

bool Win32FileSystem::deleteFile(const std::string& path) {
    auto p = widePath(path);
    return p && deleteFileOrLink(*p);
}

bool Win32FileSystem::removeDir(const std::string& path) {
    auto p = widePath(path);
    return p && RemoveDirectoryW(p->c_str());
}

bool Win32FileSystem::createDir(const std::string& path) {
    auto p = widePath(path);
    return p && CreateDirectoryW(p->c_str(), nullptr);
}

bool Win32FileSystem::createNewFile(const std::string& path, const std::string& bytes) {
    auto p = widePath(path);
    return p && createNewAt(*p, bytes);
}

bool Win32FileSystem::replaceFile(const std::string& path, const std::string& bytes) {
    auto p = widePath(path);
    if (!p) return false;
    std::wstring temp;
    FileHandle f(INVALID_HANDLE_VALUE);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = *p + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt) + L".tmp";
        HANDLE h =
            CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            f.reset(h);
            break;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    if (!f) return false;
    bool ok = writeAll(f.get(), bytes) && FlushFileBuffers(f.get());
    ok = f.close() && ok;
    if (ok && MoveFileExW(temp.c_str(), p->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temp.c_str());
    return false;
}

bool Win32FileSystem::recycle(const std::string& path) {
    // The shell takes no "\\?\" paths; a double NUL ends its list.
    auto w = gbkToWide(path);
    if (!w || w->empty()) return false;
    for (auto& c : *w)
        if (c == L'/') c = L'\\';
    if (!exists(extendedPath(*w))) return false;
    std::wstring from = *w + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    // Without the warning flag the system deletes for good, unasked, what the bin cannot take.
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_WANTNUKEWARNING | FOF_SILENT | FOF_NOERRORUI;
    return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

}  // namespace vb

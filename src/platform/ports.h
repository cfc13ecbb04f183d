// The ports: what the operations need from the platform. Every text crossing them is GBK.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "transforms/path_style.h"
#include "window/controls.h"

namespace vb {

// The controls of the windows. State lives here, not in the operations.
class Window {
public:
    virtual ~Window() = default;

    // Edit text, label or button caption, combo edit field, group box caption.
    virtual std::string text(Ctl c) const = 0;
    virtual void setText(Ctl c, const std::string& s) = 0;

    // Check boxes and radio buttons. Setting never runs a click handler.
    virtual bool checked(Ctl c) const = 0;
    virtual void setChecked(Ctl c, bool on) = 0;

    // Combo boxes.
    virtual std::vector<std::string> items(Ctl c) const = 0;
    virtual void clearItems(Ctl c) = 0;  // also makes the selection -1
    virtual void addItem(Ctl c, const std::string& item) = 0;
    virtual int selection(Ctl c) const = 0;
    virtual void setSelection(Ctl c, int index) = 0;  // shows the item's text in the edit field

    virtual bool visible(Ctl c) const = 0;
    virtual void setVisible(Ctl c, bool on) = 0;
    virtual Rect rect(Ctl c) const = 0;
    virtual void move(Ctl c, int left, int top) = 0;
    virtual void setWidth(Ctl c, int width) = 0;
    virtual void setTextColor(Ctl c, std::uint32_t rgbOrDefault) = 0;
    virtual std::uint32_t textColor(Ctl c) const = 0;

    // The name list 超级列表框1.
    virtual int rowCount() const = 0;
    virtual std::string cell(int row, int col) const = 0;
    virtual void setCell(int row, int col, const std::string& s) = 0;
    // Takes the names by value so a caller that is done with them can move them in.
    virtual void appendRows(std::vector<std::string> col0) = 0;
    virtual void deleteRow(int row) = 0;
    virtual void clearRows() = 0;
    virtual int columnCount() const = 0;
    virtual std::string columnTitle(int col) const = 0;
    virtual void setColumnTitle(int col, const std::string& title) = 0;
    virtual void insertColumn(int col, const std::string& title, int width) = 0;
    virtual void deleteColumn(int col) = 0;
    virtual int selectedRow() const = 0;  // -1 for none

    virtual void showPopupMenu() = 0;  // 右键功能1 at the cursor

    // The main window itself.
    virtual int windowWidth() const = 0;
    virtual int windowHeight() const = 0;
    virtual void setWindowWidth(int width) = 0;
    virtual bool topmost() const = 0;
    virtual void setTopmost(bool on) = 0;

    // The "感谢有你" window.
    virtual void openSecondWindow() = 0;
    virtual void closeSecondWindow() = 0;
};

inline constexpr std::uint32_t kDefaultColor = 0xFF000000;
inline constexpr std::uint32_t kGrey = 0x808080;

enum class Icon { None, Info };
enum class Buttons { Ok, OkCancel };
inline constexpr int kAnswerOk = 0;
inline constexpr int kAnswerCancel = 1;

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Returns kAnswerOk or kAnswerCancel.
    virtual int messageBox(const std::string& text, const std::string& title, Icon icon, Buttons buttons) = 0;
    // The chosen folder's path without a trailing separator (except a root), or nothing. The
    // browser opens at startAt when it names a folder (empty: the system's own start).
    virtual std::optional<std::string> browseFolder(const std::string& title, const std::string& startAt) = 0;
};

struct DirEntry {
    std::string name;  // bare name, GBK
    bool isDir = false;
};

// What an entry is on disk whatever its name: the device and inode (on Windows the volume
// serial and file index). A rename keeps it; another entry moved in under the name has another.
struct EntryId {
    std::uint64_t device = 0;
    std::uint64_t index = 0;
    friend bool operator==(const EntryId&, const EntryId&) = default;
};

// Who many entries are, read at once.
struct ListedIds {
    std::vector<std::optional<EntryId>> ids;  // per name asked; nothing where there is none
    // Per name asked, where one pass over the folder read it: its place in the folder's own
    // listing (kNotListed where it was not seen). Empty when the names were looked up one by one.
    // A batch that renames in this order walks the folder's index the way it is stored.
    std::vector<std::uint32_t> places;
    static constexpr std::uint32_t kNotListed = 0xFFFFFFFF;
};

// A folder held open for one whole operation (a tree deletion, a batch of renames). Every name
// is one component taken inside this very folder, so a folder that someone moves away or swaps
// for a link meanwhile never sends a step somewhere else: the steps stay in the folders held,
// wherever they are moved (Windows does not even let them move).
class OpenFolder {
public:
    virtual ~OpenFolder() = default;
    // The folder itself.
    virtual std::optional<EntryId> id() = 0;
    // The entry of that name itself (a link, never what it points to); nothing when none.
    virtual std::optional<EntryId> entryId(const std::string& name) = 0;
    // The same for many names at once, where the folder can tell them in one pass.
    virtual ListedIds entryIds(const std::vector<std::string_view>& names) {
        ListedIds out;
        out.ids.reserve(names.size());
        std::string name;
        for (std::string_view n : names) {
            name.assign(n);
            out.ids.push_back(entryId(name));
        }
        return out;
    }
    // Starts reading who the entries are, on a thread of its own, for the entryIds of about this
    // many names to come: that one pass then answers from what it read from this call on. Nothing
    // where the folder is not read in one pass.
    virtual void readAhead(size_t) {}
    // Whether a renamed entry keeps its identity here (not so on FAT volumes, which renumber it).
    virtual bool renameKeepsIdentity() { return false; }
    // Renames from to to inside this folder. Never overwrites; fails unless both are single
    // components. Renaming a name to itself succeeds when it exists.
    virtual bool rename(const std::string& from, const std::string& to) = 0;
    // True when the folder holds an entry of this name (a link counts as itself).
    virtual bool hasEntry(const std::string& name) = 0;
    // Every entry but "." and ".."; a link is never reported as a folder. Names that do not
    // survive GBK conversion are left out.
    virtual std::vector<DirEntry> entries() = 0;
    // A real sub-folder, held open; nothing for a link, a reparse point or anything else.
    virtual std::unique_ptr<OpenFolder> openSubfolder(const std::string& name) = 0;
    // Deletes an entry that is not a real folder: a link goes itself, never what it points to.
    virtual bool deleteEntry(const std::string& name) = 0;
    // Removes an empty sub-folder.
    virtual bool removeFolder(const std::string& name) = 0;
    // Removes a link to a folder (the link itself, as Windows removes one); nothing else.
    virtual bool removeFolderLink(const std::string& name) = 0;
    // Makes a new sub-folder; fails when any entry of that name is there.
    virtual bool createFolder(const std::string& name) = 0;
    // Makes a new file with these bytes; never truncates, never follows a link of that name.
    virtual bool createNewFile(const std::string& name, const std::string& bytes) = 0;
};

// The write-ahead journal of a rename batch: a file of the batch's own in the user's state folder
// (under the driver, the program folder), never in a folder that is listed. It is held while its
// batch runs, so that another instance never takes it for one left behind.
class JournalFile {
public:
    virtual ~JournalFile() = default;
    // A new journal of these bytes, flushed to the disk before it returns true, held until remove.
    virtual bool write(const std::string& bytes) = 0;
    // The bytes of a journal that a process left behind (none holds it), held until remove;
    // nothing when there is none.
    virtual std::optional<std::string> read() = 0;
    // The journal held goes, and so does the folder made for it once it is empty.
    virtual void remove() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual PathStyle pathStyle() const = 0;

    // Entries of dir (ending in the separator) whose names match the wildcard pattern
    // ("*", "?", ASCII case ignored), "." and ".." included when they match, in the file
    // system's order. Names that do not survive GBK conversion are left out.
    virtual std::vector<DirEntry> search(const std::string& dir, const std::string& pattern) = 0;

    // Renames dir+from to dir+to. Never overwrites; fails unless both are single components.
    // Renaming a name to itself succeeds when it exists.
    virtual bool rename(const std::string& dir, const std::string& from, const std::string& to) = 0;

    // True when dir holds an entry of this name (a link counts as itself, wherever it points).
    virtual bool hasEntry(const std::string& dir, const std::string& name) {
        for (const DirEntry& e : search(dir, name))
            if (e.name == name) return true;
        return false;
    }

    // How dir tells names apart. False: every byte counts. True: names whose keys are equal
    // (letter case ignored the way the system ignores it) are one entry there.
    virtual bool foldsNames(const std::string& dir) {
        (void)dir;
        return false;
    }
    // Appends the key of name: the form in which a folder that folds names compares it.
    virtual void appendNameKey(std::string_view name, std::string& key) const { key.append(name); }
    // The name, letter case as the folder shows it, of the entry that name reaches in dir;
    // nothing when there is none.
    virtual std::optional<std::string> nameOnDisk(const std::string& dir, const std::string& name) {
        if (!hasEntry(dir, name)) return std::nullopt;
        return name;
    }

    virtual bool deleteFile(const std::string& path) = 0;
    virtual bool removeDir(const std::string& path) = 0;
    // dir (the folder the user chose, reached however its path leads) held open for the steps
    // of one operation inside it; nothing when it is no folder.
    virtual std::unique_ptr<OpenFolder> openFolder(const std::string& dir) = 0;
    virtual bool createDir(const std::string& path) = 0;
    virtual bool createNewFile(const std::string& path, const std::string& bytes) = 0;  // never truncates
    virtual bool replaceFile(const std::string& path, const std::string& bytes) = 0;    // atomic
    virtual bool recycle(const std::string& path) = 0;
    virtual std::string programDir() const = 0;  // ends in the separator
    // Where rename batches write ahead what they are about to do; nothing where there is no
    // such place.
    virtual JournalFile* journal() { return nullptr; }
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const std::string& s) = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    virtual void openUrl(const std::string& url) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t tickCount() = 0;
};

// Traditional <-> simplified Chinese, character for character over a GBK text.
class ChineseMapping {
public:
    virtual ~ChineseMapping() = default;
    virtual std::string map(std::string_view gbk, bool toSimplified) const = 0;
};

// Long loops (renames, deletions, creations) report each entry they come to. A front end keeps
// its window alive meanwhile, shows how far the loop is, and may ask it to stop between two
// entries.
class Progress {
public:
    virtual ~Progress() = default;
    // A loop over total entries starts; what names it ("改名中").
    virtual void start(const char* what, int total) = 0;
    // Entry done (from 0) is next. False once the user has asked to stop: the loop ends at the
    // next point where it can.
    virtual bool next(int done) = 0;
    virtual void finish() = 0;
    // What the running loop keeps back for the window (rows it changed), to be put there before
    // the window may draw; the front end calls it then. A loop inside another one shows nothing
    // of its own: it puts everything there when it ends. Gone when the loop finishes.
    virtual void beforeDrawing(std::function<void()>) {}
};

// Never shows anything and never stops.
class NoProgress final : public Progress {
public:
    void start(const char*, int) override {}
    bool next(int) override { return true; }
    void finish() override {}
};

// One loop of a Progress, finished however the loop ends.
class ProgressRun {
public:
    ProgressRun(Progress& p, const char* what, int total, std::function<void()> beforeDrawing = {}) : p_(p) {
        p_.start(what, total);
        if (beforeDrawing) p_.beforeDrawing(std::move(beforeDrawing));
    }
    ~ProgressRun() { p_.finish(); }
    ProgressRun(const ProgressRun&) = delete;
    ProgressRun& operator=(const ProgressRun&) = delete;
    bool next(int done) { return p_.next(done); }

private:
    Progress& p_;
};

}  // namespace vb

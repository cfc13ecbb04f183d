// The one rename loop. Every rename button runs it with its own description: guards and where
// they sit, where the entries come from, how the run is confirmed, the rule, and the report.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "pipeline/rename_plan.h"
#include "platform/context.h"
#include "platform/name_table.h"
#include "transforms/gbk_text.h"

namespace vb {

struct Message {
    const char* text;
    const char* title;
    Icon icon;
};

// Where an operation's own guard runs: before the directory checks, right after the
// no-directory check, or after the Desktop and nothing-chosen checks.
enum class GuardPlace { First, AfterNoDir, AfterChecks };

struct Guard {
    GuardPlace place;
    bool (*fails)(const Window& win);
    Message message;
};

enum class Branch { Files, Folders };

// Where the entries come from.
enum class Source {
    ListOrFolders,  // files: the name list; folders: a fresh folder listing
    ListOnly,       // the name list, whichever mode box is ticked
    DirectoryScan,  // a fresh file search of the working directory, in the file system's order
};

enum class Confirm {
    AtFirstEntry,   // "确定更名吗？" or the preview notice, at entry 1
    Counted,        // count the entries the rule will change, refuse when none, name the count
    BeforeReading,  // "确定更名吗？" before the entries are read, with or without preview
    AfterReading,   // a question or the preview notice once, even with no entries
    DirectOnly,     // a question at entry 1; preview mode is ignored
};

// One entry as the rule sees it.
struct Entry {
    const std::string& name;  // bare name
    Branch branch;
    int index;  // from 1
    int count;  // number of entries
    bool preview;
};

// What the rule says about one entry.
struct Outcome {
    std::optional<std::string> newName;  // nothing: the entry is skipped
    const Message* stop = nullptr;       // show this and end the loop (the report still follows)
};

// The per-run part of an operation: made once per run from the controls.
struct Run {
    std::function<Outcome(const Entry&)> rule;
    // Counted confirmation: does an entry take part.
    std::function<bool(const std::string& name, Branch)> planned;
};

// A report after the loop (never with preview on, never after Cancel).
struct Report {
    bool shown = false;
    bool whenZero = true;  // false: nothing is shown when nothing was renamed
    Message zero{};        // text shown as is when the counter is 0 (null text: use the counted form)
    const char* prefix = "";
    const char* suffix = "";
    const char* title = "";
    Icon icon = Icon::None;
};

// The counted confirmation's texts: prefix + planned + suffix, and the refusal when none.
struct CountedConfirm {
    const char* prefix;
    const char* suffix;
    const char* title;
    Message none;
};

struct Operation {
    std::vector<Guard> guards;
    Message noDir{"路径呢？", "信息：", Icon::Info};
    Source source = Source::ListOrFolders;
    Confirm confirm = Confirm::AtFirstEntry;
    Message question{"确定更名吗？", "提示", Icon::None};  // AtFirstEntry, AfterReading, DirectOnly
    CountedConfirm countedFiles{};
    CountedConfirm countedFolders{};
    Run (*prepare)(Context& ctx, Branch branch) = nullptr;
    bool writeRowByName = false;  // files: the row showing the old name, not row i - 1
    Report filesReport{};
    Report foldersReport{};
};

// Runs one click of a rename button.
void runOperation(Context& ctx, const Operation& op);

// Renames entries of dir (held open as folder), given in row order, in the order the folder
// stores them where a pass over it tells, each name freed before it is taken; earlier rows
// claim entries and names first. Every entry fails when there is no folder or dir is not a chosen
// directory (ending in the separator). A batch of more than one step is written to the file
// system's journal before its first rename and the journal is removed when it ends.
// progress hears of every entry and may stop the batch between two of them.
inline constexpr const char* kRenaming = "改名中";
struct BatchIds {
    // Per pair (may be shorter, or empty): the entry it must be; another entry under that name
    // fails untouched, and the rest goes on.
    std::span<const std::optional<EntryId>> expected;
    // Filled per pair: the entry it is when the batch ends, read under its new name when it moved.
    std::vector<std::optional<EntryId>>* found = nullptr;
};
// landed(pair, done), when given, hears as the batch goes whenever a pair reaches its new name
// (true) or is back at its old one (false), so that the rows can show it at once.
RenameOutcome renameEntries(FileSystem& fs, OpenFolder* folder, const std::string& dir,
                            std::span<const RenamePair> pairs, Progress& progress,
                            const char* what = kRenaming, const BatchIds& ids = {},
                            const EntryChanged& landed = {});

inline constexpr Message kFolderReplaced{kFolderReplacedText, "提醒：", Icon::Info};

// Tells the user about entries that a broken cycle left under a temporary name.
void reportStranded(Context& ctx, std::span<const RenamePair> pairs, const RenameOutcome& out);

// The first row that shows each name in column 0.
class RowsByName {
public:
    explicit RowsByName(std::vector<std::string> column0);
    explicit RowsByName(const Window& win);
    RowsByName(const RowsByName&) = delete;
    RowsByName& operator=(const RowsByName&) = delete;

    int find(std::string_view name) const;  // -1 when no row shows it

private:
    std::vector<std::string> texts_;
    NameTable table_;
    std::vector<int> rowOfId_;
};

// The shared messages.
inline constexpr Message kPreviewNotice{
    "提示：你开启了预览功能，所以没有直接更名，\r\n请看预览区结果，确认无误后点\"确认无误，执行吧\"！",
    "提示", Icon::Info};
inline constexpr Message kNothingChosen{"什么都没有选择", "提示", Icon::Info};

// The usual report: "没有任何改动" or "一共有" + n + "个文件被改名成功".
Report usualReport(Icon icon = Icon::Info, const char* suffix = "个文件被改名成功");

}  // namespace vb

namespace vb {

// What a rule works on: a file's base name and extension, or a folder's whole name.
NameParts partsOf(const Entry& e, const PathStyle& paths);

// Guard helpers for the common case of a text box that must not be empty.
template <Ctl C>
bool emptyText(const Window& w) {
    return w.text(C).empty();
}

}  // namespace vb

// What an operation gets: the ports and the undo state of the running program. The Program
// (app/program.h) owns the one instance; operations take it by reference.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ports.h"

namespace vb {

// What the last execute renamed, for undo: where, and each entry's name after and before.
struct UndoRecord {
    std::string dir;
    std::optional<EntryId> folder;                             // the folder the execute ran in
    std::vector<std::pair<std::string, std::string>> renamed;  // (after, before), in row order
    std::vector<std::optional<EntryId>> ids;                   // per renamed entry: which one it is
};

// The folder the list was read from, as it was then: an operation on that path checks that it
// is still the same folder.
struct ListedFolder {
    std::string dir;
    std::optional<EntryId> id;
};

inline constexpr const char* kFolderReplacedText =
    "这个文件夹已经被移走或换掉了，不再是读到列表的那一个，\r\n所以什么都没有做。";

inline bool replacedSinceListing(const ListedFolder& listed, OpenFolder* folder, const std::string& dir) {
    return folder && listed.id && listed.dir == dir && folder->id() != listed.id;
}

// The undo state an execute leaves behind: the old names by row and the record above.
struct UndoState {
    std::vector<std::string> 撤回数组;
    UndoRecord record;
    ListedFolder listed;
};

struct Context {
    Window& win;
    Dialogs& dlg;
    FileSystem& fs;
    Clipboard& clip;
    Shell& shell;
    Clock& clock;
    const ChineseMapping& chinese;
    std::vector<std::string>& 撤回数组;
    UndoRecord& undoRecord;
    Progress& progress;
    ListedFolder& listed;
};

}  // namespace vb

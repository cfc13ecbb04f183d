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

// The undo state an execute leaves behind: the old names by row and the record above.
struct UndoState {
    std::vector<std::string> 撤回数组;
    UndoRecord record;
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
};

}  // namespace vb

// The write-ahead journal of a rename batch, and the start-up that puts right a batch the
// process did not live to finish.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ports.h"

namespace vb {

// What a batch was about to do before its first rename.
struct JournalBatch {
    struct Entry {
        std::string from;
        std::string to;
        std::string temp;  // the temporary name of a cycle's first entry, or empty
        std::optional<EntryId> id;
    };
    std::string dir;  // ending in the separator
    std::optional<EntryId> folder;
    std::vector<Entry> entries;
};

std::string encodeJournal(const JournalBatch& batch);
// Nothing for bytes that are not one whole journal (a write cut short renamed nothing yet).
std::optional<JournalBatch> decodeJournal(std::string_view bytes);

// At start-up: when a journal is left behind, asks whether to put that batch's entries back
// (OK) or to finish it (Cancel), does so, says what was done and removes the journal. Without
// a journal it does nothing.
void recoverInterruptedBatch(FileSystem& fs, Dialogs& dlg);

}  // namespace vb

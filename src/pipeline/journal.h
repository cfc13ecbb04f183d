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

// A journal's bytes, written entry by entry from views: a batch of 100,000 renames copies no
// name before it is written.
class JournalWriter {
public:
    JournalWriter(std::string_view dir, const std::optional<EntryId>& folder, size_t entries);
    // Where from starts in bytes(); to follows it after one NUL.
    size_t add(std::string_view from, std::string_view to, std::string_view temp,
               const std::optional<EntryId>& id);
    // The whole journal once every entry promised is added.
    const std::string& bytes();

private:
    std::string out_;
    bool ended_ = false;
};

std::string encodeJournal(const JournalBatch& batch);
// Nothing for bytes that are not one whole journal (a write cut short renamed nothing yet).
std::optional<JournalBatch> decodeJournal(std::string_view bytes);

// At start-up: when a journal is left behind, asks whether to put that batch's entries back
// (OK) or to finish it (Cancel), does so, says what was done and removes the journal. Without
// a journal it does nothing.
void recoverInterruptedBatch(FileSystem& fs, Dialogs& dlg);

}  // namespace vb

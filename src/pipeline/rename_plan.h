// One batch of renames inside one folder, planned so that entries may rename into each other's
// names: each target is freed before it is taken, and a cycle goes through a temporary name.
// Nothing outside the batch is ever replaced: the renames themselves never overwrite.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

// One entry of a batch. The views must outlive the plan.
struct RenamePair {
    std::string_view from;
    std::string_view to;
};

struct RenamePlan {
    enum class Kind : unsigned char {
        Move,      // from -> to of the entry
        ToTemp,    // from -> temps[temp]: the start of a cycle
        FromTemp,  // temps[temp] -> to: the end of that cycle
    };
    struct Step {
        int entry;
        Kind kind;
        int temp = -1;
    };
    std::vector<Step> steps;
    std::vector<std::string> temps;
    // Per entry: the entry whose rename frees this one's target, or -1; the entry itself when
    // the new name differs from the old only in letter case.
    std::vector<int> waitsFor;
    // Per entry: fails without a step, because an earlier row renames the same entry, or takes
    // the same new name, or the new name is an entry that keeps its name, or a device name.
    std::vector<bool> refused;
};

// A temporary name is kTempPrefix + a number + kTempSuffix, one that no entry of the folder has.
inline constexpr std::string_view kTempPrefix = "~velbrook-";
inline constexpr std::string_view kTempSuffix = ".tmp";

// Appends to key the form in which the folder compares name: names with equal keys are one entry.
using NameKeyFn = std::function<void(std::string_view name, std::string& key)>;

// Which rows of a batch are refused and which entry each one waits for: the part of a plan that
// does not depend on the order the batch runs in, so it can be worked out while the folder is
// read. pairs come in row order: an earlier row claims an entry or a name first. key: given
// when the folder folds names (letter case ignored); without it every byte counts. An entry
// whose new name differs from its old one only in the folder's eyes (letter case) waits for
// itself: a cycle of its own, which goes through a temporary name so that the new form lands
// wherever the file system would keep the old one on a direct move. A new name that is a
// Windows device name is refused. pairs and key must outlive the claims.
class RenameClaims {
public:
    explicit RenameClaims(std::span<const RenamePair> pairs, const NameKeyFn& key = {});
    ~RenameClaims();
    RenameClaims(RenameClaims&&) noexcept;
    RenameClaims& operator=(RenameClaims&&) noexcept;

private:
    friend RenamePlan planRenames(RenameClaims claims, std::span<const int> order,
                                  const std::function<bool(std::string_view)>& taken);
    struct Names;
    std::span<const RenamePair> pairs_;
    std::unique_ptr<Names> names_;
    std::vector<int> waitsFor_;
    std::vector<bool> refused_;
};

// The steps: entries that do not wait for each other go in order (each row once; empty: row
// order), a chain from its free end, a cycle through a temporary name. taken(name): the folder
// holds an entry of that name (asked only for temporary names).
RenamePlan planRenames(RenameClaims claims, std::span<const int> order,
                       const std::function<bool(std::string_view)>& taken);
RenamePlan planRenames(std::span<const RenamePair> pairs, const std::function<bool(std::string_view)>& taken,
                       const NameKeyFn& key = {});

// The same plan over its entries renumbered: entry order[i] becomes entry i (a batch whose
// names are laid out in the order it runs).
RenamePlan renumbered(const RenamePlan& plan, std::span<const int> order);

struct RenameOutcome {
    std::vector<bool> done;  // per entry: its rename went through
    // Entries that a failed cycle could not put back: the name their entry has now.
    struct Stranded {
        int entry;
        std::string name;
    };
    std::vector<Stranded> stranded;
    bool stopped = false;  // the caller asked to stop before every entry was reached
    int count() const;
};

// rename(from, to) never overwrites; false when the entry kept its name.
// An entry whose target is freed by another entry fails when that one fails. A cycle that breaks
// after its temporary step is rolled back, so no entry is left under a temporary name unless a
// step of the rollback fails too.
// keepGoing(reached), when given, is asked before each entry with the number of entries reached
// so far (inside a cycle too); false ends the batch there, and must stay false once given. A
// cycle is never stopped inside: it is finished first.
// changed(entry, done), when given, hears each time an entry's done flag changes: true once it
// has its new name, false when a broken cycle puts it back.
using EntryChanged = std::function<void(int entry, bool done)>;
RenameOutcome carryOut(std::span<const RenamePair> pairs, const RenamePlan& plan,
                       const std::function<bool(std::string_view from, std::string_view to)>& rename,
                       const std::function<bool(int reached)>& keepGoing = {},
                       const EntryChanged& changed = {});

}  // namespace vb

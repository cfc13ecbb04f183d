#include "pipeline/pipeline.h"

#include <algorithm>
#include <thread>

#include "fileops/fileops.h"
#include "fileset/fileset.h"
#include "pipeline/journal.h"
#include "transforms/gbk_text.h"
#include "window/window_def.h"

namespace vb {
namespace {

bool guardsPass(Context& ctx, const Operation& op, GuardPlace place) {
    for (const Guard& g : op.guards) {
        if (g.place == place && g.fails(ctx.win)) {
            ctx.dlg.messageBox(g.message.text, g.message.title, g.message.icon, Buttons::Ok);
            return false;
        }
    }
    return true;
}

void show(Context& ctx, const Message& m) { ctx.dlg.messageBox(m.text, m.title, m.icon, Buttons::Ok); }

bool ask(Context& ctx, const std::string& text, const char* title) {
    return ctx.dlg.messageBox(text, title, Icon::None, Buttons::OkCancel) != kAnswerCancel;
}

// The directory checks every operation shares; false when the run ends here.
bool directoryChecks(Context& ctx, const Operation& op, std::string& dir) {
    if (!guardsPass(ctx, op, GuardPlace::First)) return false;
    dir = workingDir(ctx.win);
    if (dir.empty()) {
        show(ctx, op.noDir);
        return false;
    }
    if (!guardsPass(ctx, op, GuardPlace::AfterNoDir)) return false;
    if (containsDesktop(dir)) {
        ctx.dlg.messageBox(kDesktopNotice, kDesktopTitle, Icon::Info, Buttons::Ok);
        clearWorkingDir(ctx.win);
        return false;
    }
    if (ctx.fs.pathStyle().isBareRoot(dir)) {
        show(ctx, kNothingChosen);
        return false;
    }
    return guardsPass(ctx, op, GuardPlace::AfterChecks);
}

std::vector<std::string> readEntries(Context& ctx, const Operation& op, Branch branch,
                                     const std::string& dir) {
    std::vector<std::string> entries;
    if (op.source == Source::DirectoryScan) {
        for (const auto& path : fullPathFileListing(ctx.fs, dir, searchPattern(ctx.win)))
            entries.push_back(ctx.fs.pathStyle().finalComponent(path));
    } else if (branch == Branch::Folders) {
        entries = folderListing(ctx.fs, dir, false);
    } else {
        readNames(ctx, entries, false);
    }
    return entries;
}

void report(Context& ctx, const Report& r, int counter) {
    if (!r.shown || (counter == 0 && !r.whenZero)) return;
    if (counter == 0 && r.zero.text) {
        show(ctx, r.zero);
        return;
    }
    ctx.dlg.messageBox(r.prefix + decimal(counter) + r.suffix, r.title, r.icon, Buttons::Ok);
}

// A direct run moves files that the last execute renamed: undo follows them to their new names.
void followInRecord(UndoRecord& record, std::span<const RenamePair> pairs, const RenameOutcome& out) {
    NameTable recorded(record.renamed.size());
    std::vector<size_t> pairOfId;
    for (size_t i = 0; i < record.renamed.size(); ++i)
        if (static_cast<size_t>(recorded.intern(record.renamed[i].first)) == pairOfId.size())
            pairOfId.push_back(i);
    auto pairOf = [&](std::string_view name) {
        const int id = recorded.find(name);
        return id < 0 ? std::optional<size_t>() : pairOfId[static_cast<size_t>(id)];
    };
    std::vector<std::pair<size_t, std::string>> moved;
    for (size_t k = 0; k < pairs.size(); ++k)
        if (auto i = pairOf(pairs[k].from); i && out.done[k])
            moved.emplace_back(*i, std::string(pairs[k].to));
    for (const auto& s : out.stranded)
        if (auto i = pairOf(pairs[static_cast<size_t>(s.entry)].from)) moved.emplace_back(*i, s.name);
    // The table points into the record: change the record only once it is no longer asked.
    for (auto& [i, name] : moved) record.renamed[i].first = std::move(name);
}

// Sorts the batch's entries (numbers into keptAt, each once) by the places of their pairs in
// the folder's own listing, if it gave any. A file system renames fastest walking its index in
// the order it is stored: a tenth of the batch's time on ext4. A counting sort: places are below
// the folder's size.
void sortByPlace(std::vector<int>& entries, std::span<const size_t> keptAt,
                 std::span<const std::uint32_t> places) {
    if (places.empty()) return;
    auto placeOf = [&](int e) { return places[keptAt[static_cast<size_t>(e)]]; };
    std::uint32_t last = 0;
    for (int e : entries)
        if (placeOf(e) != ListedIds::kNotListed) last = std::max(last, placeOf(e));
    // Per place, where its entries start; entries not listed go last, in row order.
    std::vector<size_t> start(static_cast<size_t>(last) + 3, 0);
    auto slot = [&](int e) { return placeOf(e) == ListedIds::kNotListed ? last + 1 : placeOf(e); };
    for (int e : entries) ++start[slot(e) + 1];
    for (size_t i = 1; i < start.size(); ++i) start[i] += start[i - 1];
    std::vector<int> sorted(entries.size());
    for (int e : entries) sorted[start[slot(e)]++] = e;
    entries = std::move(sorted);
}

// Below this many entries a second thread costs more than it saves.
constexpr size_t kOverlapFrom = 1024;

}  // namespace

RenameOutcome renameEntries(FileSystem& fs, OpenFolder* folder, const std::string& dir,
                            std::span<const RenamePair> pairs, Progress& progress, const char* what,
                            const BatchIds& ids, const EntryChanged& landed) {
    RenameOutcome out;
    out.done.assign(pairs.size(), false);
    // A bare name is never resolved against the process's current directory.
    if (!folder || !fs.pathStyle().endsInSeparator(dir)) return out;

    // Who each entry is, read before anything moves; an entry that is no longer the expected
    // one stays out of the batch, untouched. The pass over the folder runs on a second thread
    // while the claims are worked out: each costs about as long as the other.
    NameKeyFn key;
    if (fs.foldsNames(dir)) key = [&](std::string_view n, std::string& k) { fs.appendNameKey(n, k); };
    std::vector<std::string_view> names;
    names.reserve(pairs.size());
    for (const RenamePair& p : pairs) names.push_back(p.from);
    ListedIds listed;
    std::optional<RenameClaims> claims;
    if (pairs.size() < kOverlapFrom) {
        listed = folder->entryIds(names);
        claims.emplace(pairs, key);
    } else {
        std::jthread pass([&] { listed = folder->entryIds(names); });
        claims.emplace(pairs, key);
    }
    std::vector<std::optional<EntryId>> found = std::move(listed.ids);
    std::vector<size_t> keptAt;  // per entry of the batch, its pair
    keptAt.reserve(pairs.size());
    for (size_t k = 0; k < pairs.size(); ++k)
        if (k >= ids.expected.size() || !ids.expected[k] || found[k] == ids.expected[k]) keptAt.push_back(k);
    // Rows left out claim nothing.
    std::vector<RenamePair> keptByRow;
    if (keptAt.size() < pairs.size()) {
        for (size_t k : keptAt) keptByRow.push_back(pairs[k]);
        claims.emplace(keptByRow, key);
    }
    // The entries in the order the batch runs, numbered by row among those kept.
    std::vector<int> order(keptAt.size());
    for (size_t i = 0; i < keptAt.size(); ++i) order[i] = static_cast<int>(i);
    sortByPlace(order, keptAt, listed.places);
    const RenamePlan plan =
        renumbered(planRenames(std::move(*claims), order,
                               [&](std::string_view n) { return folder->hasEntry(std::string(n)); }),
                   order);
    // Entry i of the batch is now the one it takes in that order.
    std::vector<size_t> runAt(order.size());
    for (size_t i = 0; i < order.size(); ++i) runAt[i] = keptAt[static_cast<size_t>(order[i])];
    keptAt = std::move(runAt);
    std::vector<RenamePair> kept;
    kept.reserve(keptAt.size());
    for (size_t k : keptAt) kept.push_back(pairs[k]);

    // A batch of more than one step is written ahead, so that a process that dies inside it
    // leaves every entry traceable. The journal holds the names of the batch side by side in
    // the order it runs, so the loop reads them there: memory in the order it goes.
    JournalFile* journal = plan.steps.size() > 1 ? fs.journal() : nullptr;
    std::optional<JournalWriter> batch;
    std::string text;
    if (journal) {
        std::vector<int> tempOf(kept.size(), -1);
        for (const RenamePlan::Step& st : plan.steps)
            if (st.kind == RenamePlan::Kind::ToTemp) tempOf[static_cast<size_t>(st.entry)] = st.temp;
        auto moves = [&](size_t i) { return !plan.refused[i] && kept[i].from != kept[i].to; };
        size_t count = 0;
        for (size_t i = 0; i < kept.size(); ++i) count += moves(i);
        batch.emplace(dir, folder->id(), count);
        std::vector<size_t> at(kept.size(), std::string::npos);
        for (size_t i = 0; i < kept.size(); ++i) {
            if (!moves(i)) continue;
            const int t = tempOf[i];
            at[i] =
                batch->add(kept[i].from, kept[i].to,
                           t < 0 ? std::string_view() : plan.temps[static_cast<size_t>(t)], found[keptAt[i]]);
        }
        const std::string& bytes = batch->bytes();
        // Without a place to write it the batch still runs: every rename still never overwrites.
        if (!journal->write(bytes)) journal = nullptr;
        for (size_t i = 0; i < kept.size(); ++i)
            if (at[i] != std::string::npos)
                kept[i] = {
                    std::string_view(bytes).substr(at[i], kept[i].from.size()),
                    std::string_view(bytes).substr(at[i] + kept[i].from.size() + 1, kept[i].to.size())};
    } else {
        for (const RenamePair& p : kept) text.append(p.from).append(p.to);
        for (size_t i = 0, at = 0; i < kept.size(); ++i) {
            const size_t from = kept[i].from.size(), to = kept[i].to.size();
            kept[i] = {std::string_view(text).substr(at, from), std::string_view(text).substr(at + from, to)};
            at += from + to;
        }
    }

    // The rows hear what landed only when the window may draw, then all at once in row order:
    // told as each entry lands, in the folder's order, every row costs a miss of the cache or more.
    enum : std::uint8_t { kNothingNew, kLanded, kBack };
    std::vector<std::uint8_t> news(landed ? pairs.size() : 0, kNothingNew);
    bool anyNews = false;
    auto tellRows = [&] {
        if (!anyNews) return;
        anyNews = false;
        for (size_t k = 0; k < news.size(); ++k)
            if (news[k] != kNothingNew) {
                landed(static_cast<int>(k), news[k] == kLanded);
                news[k] = kNothingNew;
            }
    };
    // The port takes strings: two buffers serve every step without an allocation each.
    std::string fromBuffer, toBuffer;
    RenameOutcome result;
    {
        ProgressRun run(progress, what, static_cast<int>(plan.steps.size() - plan.temps.size()), tellRows);
        result = carryOut(
            kept, plan,
            [&](std::string_view from, std::string_view to) {
                fromBuffer.assign(from);
                toBuffer.assign(to);
                return folder->rename(fromBuffer, toBuffer);
            },
            [&](int reached) { return run.next(reached); },
            [&](int i, bool done) {
                if (!landed) return;
                news[keptAt[static_cast<size_t>(i)]] = done ? kLanded : kBack;
                anyNews = true;
            });
        tellRows();
    }
    if (journal) journal->remove();
    // A change of letter case counts only when the folder shows it: some file systems keep the
    // old form whatever the move asked for.
    for (size_t i = 0; i < kept.size(); ++i) {
        if (!result.done[i] || plan.waitsFor[i] != static_cast<int>(i)) continue;
        toBuffer.assign(kept[i].to);
        if (fs.nameOnDisk(dir, toBuffer) == toBuffer) continue;
        result.done[i] = false;
        if (landed) landed(static_cast<int>(keptAt[i]), false);
    }

    for (size_t i = 0; i < kept.size(); ++i) out.done[keptAt[i]] = result.done[i];
    for (auto& st : result.stranded)
        out.stranded.push_back({static_cast<int>(keptAt[static_cast<size_t>(st.entry)]), std::move(st.name)});
    out.stopped = result.stopped;
    if (ids.found && !folder->renameKeepsIdentity()) {
        // Read again after the move: some volumes (FAT) give a renamed entry a new identity.
        std::vector<size_t> moved;
        names.clear();
        for (size_t i = 0; i < kept.size(); ++i)
            if (result.done[i]) {
                moved.push_back(keptAt[i]);
                names.push_back(kept[i].to);
            }
        for (const auto& st : out.stranded) {
            moved.push_back(static_cast<size_t>(st.entry));
            names.push_back(st.name);
        }
        const std::vector<std::optional<EntryId>> now = folder->entryIds(names).ids;
        for (size_t j = 0; j < moved.size(); ++j) found[moved[j]] = now[j];
    }
    if (ids.found) *ids.found = std::move(found);
    return out;
}

void reportStranded(Context& ctx, std::span<const RenamePair> pairs, const RenameOutcome& out) {
    if (out.stranded.empty()) return;
    std::string text = "下面的文件改名中途失败，没能改回原名，现在的名字是：";
    for (const auto& s : out.stranded) {
        text += "\r\n";
        text.append(pairs[static_cast<size_t>(s.entry)].from).append(" -> ").append(s.name);
    }
    ctx.dlg.messageBox(text, "提醒：", Icon::Info, Buttons::Ok);
}

namespace {
std::vector<std::string> column0(const Window& win) {
    std::vector<std::string> texts;
    texts.reserve(static_cast<size_t>(win.rowCount()));
    for (int r = 0; r < win.rowCount(); ++r) texts.push_back(win.cell(r, 0));
    return texts;
}
}  // namespace

RowsByName::RowsByName(std::vector<std::string> column0) : texts_(std::move(column0)), table_(texts_.size()) {
    rowOfId_.reserve(texts_.size());
    for (size_t r = 0; r < texts_.size(); ++r)
        if (static_cast<size_t>(table_.intern(texts_[r])) == rowOfId_.size())
            rowOfId_.push_back(static_cast<int>(r));
}

RowsByName::RowsByName(const Window& win) : RowsByName(column0(win)) {}

int RowsByName::find(std::string_view name) const {
    const int id = table_.find(name);
    return id < 0 ? -1 : rowOfId_[static_cast<size_t>(id)];
}

NameParts partsOf(const Entry& e, const PathStyle& paths) {
    if (e.branch == Branch::Files) return splitName(e.name, paths);
    return {e.name, {}};
}

Report usualReport(Icon icon, const char* suffix) {
    Report r;
    r.shown = true;
    r.zero = {"没有任何改动", "没有改动", icon};
    r.prefix = "一共有";
    r.suffix = suffix;
    r.title = "修改成果提示";
    r.icon = icon;
    return r;
}

void runOperation(Context& ctx, const Operation& op) {
    Window& win = ctx.win;
    std::string dir;
    if (!directoryChecks(ctx, op, dir)) return;
    // Every step of the run happens in this folder, wherever it is moved meanwhile.
    const std::unique_ptr<OpenFolder> folder = ctx.fs.openFolder(dir);
    if (replacedSinceListing(ctx.listed, folder.get(), dir)) return show(ctx, kFolderReplaced);

    Branch branch = Branch::Files;
    if (op.source == Source::ListOrFolders) {
        if (win.checked(Ctl::选择框_文件))
            branch = Branch::Files;
        else if (win.checked(Ctl::选择框_文件夹))
            branch = Branch::Folders;
        else
            return;
    }
    const bool preview = op.confirm != Confirm::DirectOnly && previewOn(win);

    if (op.confirm == Confirm::BeforeReading && !ask(ctx, op.question.text, op.question.title)) return;
    const std::vector<std::string> entries = readEntries(ctx, op, branch, dir);
    if (folder && !sameFolder(ctx.fs, *folder, dir)) return show(ctx, kFolderReplaced);
    const int n = static_cast<int>(entries.size());
    const Run run = op.prepare(ctx, branch);

    if (op.confirm == Confirm::Counted) {
        int planned = 0;
        for (const auto& e : entries)
            if (run.planned(e, branch)) ++planned;
        const CountedConfirm& cc = branch == Branch::Files ? op.countedFiles : op.countedFolders;
        if (planned == 0) {
            show(ctx, cc.none);
            return;
        }
        if (preview)
            show(ctx, kPreviewNotice);
        else if (!ask(ctx, cc.prefix + decimal(planned) + cc.suffix, cc.title))
            return;
    }
    if (op.confirm == Confirm::AfterReading) {
        if (preview)
            show(ctx, kPreviewNotice);
        else if (!ask(ctx, op.question.text, op.question.title))
            return;
    }

    // Folders come from a fresh listing: each one pairs with the row that shows its name.
    const bool rowByName = branch == Branch::Files ? op.writeRowByName : preview;
    std::optional<RowsByName> rowOf;
    if (rowByName) rowOf.emplace(win);
    auto rowFor = [&](int i) { return rowOf ? rowOf->find(entries[static_cast<size_t>(i - 1)]) : i - 1; };

    // The new names of the whole batch first, then the renames in an order that frees each name
    // before it is taken.
    std::vector<int> renamed;  // entry index i
    // The new names side by side: a batch of 100,000 keeps one buffer, not a string each.
    std::string newNames;
    std::vector<size_t> newEnds;
    for (int i = 1; i <= n; ++i) {
        const std::string& name = entries[static_cast<size_t>(i - 1)];
        if (i == 1 && (op.confirm == Confirm::AtFirstEntry || op.confirm == Confirm::DirectOnly)) {
            if (preview)
                show(ctx, kPreviewNotice);
            else if (!ask(ctx, op.question.text, op.question.title))
                return;
        }
        // Who the entries are is read while their new names are made, once nobody is asked.
        if (i == 1 && !preview && folder) folder->readAhead(entries.size());
        Outcome out = run.rule(Entry{name, branch, i, n, preview});
        if (out.stop) {
            show(ctx, *out.stop);
            break;
        }
        if (!out.newName) continue;
        if (preview) {
            if (const int row = rowFor(i); row >= 0) win.setCell(row, 1, *out.newName);
            continue;
        }
        renamed.push_back(i);
        newNames.append(*out.newName);
        newEnds.push_back(newNames.size());
    }
    if (preview) return;

    std::vector<RenamePair> pairs;
    pairs.reserve(renamed.size());
    for (size_t k = 0, start = 0; k < renamed.size(); start = newEnds[k++])
        pairs.push_back({entries[static_cast<size_t>(renamed[k] - 1)],
                         std::string_view(newNames).substr(start, newEnds[k] - start)});
    // Each row shows its new name as soon as the entry has it: a long run is seen going.
    EntryChanged landed;
    if (branch == Branch::Files)
        landed = [&](int k, bool done) {
            const RenamePair& p = pairs[static_cast<size_t>(k)];
            if (const int row = rowFor(renamed[static_cast<size_t>(k)]); row >= 0)
                win.setCell(row, 0, std::string(done ? p.to : p.from));
        };
    const RenameOutcome result =
        renameEntries(ctx.fs, folder.get(), dir, pairs, ctx.progress, kRenaming, {}, landed);
    if (branch == Branch::Files) {
        for (const auto& s : result.stranded)
            if (const int row = rowFor(renamed[static_cast<size_t>(s.entry)]); row >= 0)
                win.setCell(row, 0, s.name);
    }
    if (!ctx.undoRecord.renamed.empty() && ctx.undoRecord.dir == dir)
        followInRecord(ctx.undoRecord, pairs, result);
    reportStranded(ctx, pairs, result);
    report(ctx, branch == Branch::Files ? op.filesReport : op.foldersReport, result.count());
}

}  // namespace vb

#include "pipeline/journal.h"

#include <charconv>
#include <set>
#include <span>

#include "pipeline/rename_plan.h"
#include "transforms/gbk_text.h"

namespace vb {
namespace {

constexpr std::string_view kMagic = "velbrook-journal-1";
constexpr std::string_view kEnd = "end";
constexpr const char* kTitle = "提醒：";

void field(std::string& out, std::string_view text) {
    out.append(text);
    out += '\0';
}

void number(std::string& out, std::uint64_t n) {
    char digits[24];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), n).ptr;
    out.append(digits, end);
}

void idFields(std::string& out, const std::optional<EntryId>& id) {
    if (id) number(out, id->device);
    out += '\0';
    if (id) number(out, id->index);
    out += '\0';
}

// Reads NUL-ended fields one after the other.
class Fields {
public:
    explicit Fields(std::string_view bytes) : rest_(bytes) {}
    std::optional<std::string_view> next() {
        const size_t end = rest_.find('\0');
        if (end == std::string_view::npos) return std::nullopt;
        std::string_view f = rest_.substr(0, end);
        rest_.remove_prefix(end + 1);
        return f;
    }
    std::optional<std::uint64_t> number() {
        auto f = next();
        std::uint64_t n = 0;
        if (!f || f->empty()) return std::nullopt;
        auto [p, ec] = std::from_chars(f->data(), f->data() + f->size(), n);
        if (ec != std::errc() || p != f->data() + f->size()) return std::nullopt;
        return n;
    }
    // false when the fields are broken; id stays empty for two empty fields.
    bool id(std::optional<EntryId>& id) {
        auto dev = next();
        auto ino = next();
        if (!dev || !ino) return false;
        if (dev->empty() && ino->empty()) return true;
        EntryId e;
        auto [p1, ec1] = std::from_chars(dev->data(), dev->data() + dev->size(), e.device);
        auto [p2, ec2] = std::from_chars(ino->data(), ino->data() + ino->size(), e.index);
        if (ec1 != std::errc() || ec2 != std::errc() || p1 != dev->data() + dev->size() ||
            p2 != ino->data() + ino->size())
            return false;
        id = e;
        return true;
    }
    bool done() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

bool isTempName(std::string_view name) {
    return name.starts_with(kTempPrefix) && name.ends_with(kTempSuffix);
}

// Where each entry of the batch is now: the name it has, or empty when it is nowhere the batch
// could have put it (something outside moved it).
std::vector<std::string> locate(OpenFolder& folder, const JournalBatch& batch) {
    using Entry = JournalBatch::Entry;
    const size_t n = batch.entries.size();
    std::vector<std::string> where(n);
    // Who is under each name the batch may have given, asked together for every entry not found
    // yet: the folder answers many names in one pass over it, where a look-up per name kept a
    // start after a batch of thousands waiting, with no window, for many seconds. Without its
    // identity only an entry's own temporary name says where it is for sure.
    for (std::string Entry::*kind : {&Entry::from, &Entry::to, &Entry::temp}) {
        std::vector<size_t> asking;
        std::vector<std::string_view> names;
        for (size_t k = 0; k < n; ++k) {
            const Entry& e = batch.entries[k];
            if (!where[k].empty() || (e.*kind).empty() || (!e.id && kind != &Entry::temp)) continue;
            asking.push_back(k);
            names.push_back(e.*kind);
        }
        if (asking.empty()) continue;
        const std::vector<std::optional<EntryId>> ids = folder.entryIds(names).ids;
        for (size_t i = 0; i < asking.size(); ++i) {
            const Entry& e = batch.entries[asking[i]];
            if (e.id ? ids[i] == e.id : ids[i].has_value()) where[asking[i]] = e.*kind;
        }
    }
    std::optional<std::vector<std::string>> temps;  // read once, only when needed
    for (size_t k = 0; k < n; ++k) {
        const Entry& e = batch.entries[k];
        if (!e.id || !where[k].empty()) continue;
        // A broken cycle's rollback or an earlier recovery may have used another temporary name.
        if (!temps) {
            temps.emplace();
            for (const DirEntry& d : folder.entries())
                if (isTempName(d.name)) temps->push_back(d.name);
        }
        for (const std::string& t : *temps)
            if (folder.entryId(t) == e.id) {
                where[k] = t;
                break;
            }
    }
    // Some volumes (FAT) give a renamed entry a new identity. When no entry was found by its own
    // under a name the batch gave it, this may be such a volume: an entry found nowhere is then
    // the one under its own temporary name, else the unclaimed one under its planned name, else
    // under its first name (a cycle put back).
    bool renamedKeepsIdentity = false;
    for (size_t k = 0; k < batch.entries.size(); ++k)
        renamedKeepsIdentity |= !where[k].empty() && where[k] != batch.entries[k].from;
    std::set<std::string> claimed(where.begin(), where.end());
    for (size_t k = 0; k < batch.entries.size(); ++k) {
        if (!where[k].empty()) continue;
        const JournalBatch::Entry& e = batch.entries[k];
        for (const std::string* name : {&e.temp, &e.to, &e.from}) {
            if (name->empty() || claimed.count(*name) || !folder.hasEntry(*name)) continue;
            if (renamedKeepsIdentity && name != &e.temp) continue;
            where[k] = *name;
            claimed.insert(*name);
            break;
        }
    }
    return where;
}

// Renames each listed entry from its name now to the wanted one, in an order that frees each
// name first; false per entry that did not get there.
std::vector<bool> moveTo(OpenFolder& folder, const std::vector<std::string>& now,
                         const std::vector<std::string>& wanted, const std::vector<size_t>& which) {
    std::vector<RenamePair> pairs;
    pairs.reserve(which.size());
    for (size_t k : which) pairs.push_back({now[k], wanted[k]});
    const RenamePlan plan =
        planRenames(pairs, [&](std::string_view n) { return folder.hasEntry(std::string(n)); });
    std::string from, to;
    const RenameOutcome out = carryOut(pairs, plan, [&](std::string_view f, std::string_view t) {
        from.assign(f);
        to.assign(t);
        return folder.rename(from, to);
    });
    return out.done;
}

// Puts right the batch of one journal left behind, as the person answers, and removes it.
void recoverBatch(FileSystem& fs, Dialogs& dlg, JournalFile& journal, const std::string& bytes) {
    const std::optional<JournalBatch> batch = decodeJournal(bytes);
    if (!batch) {
        // Cut short while it was written: no rename of that batch had started.
        journal.remove();
        return;
    }
    std::unique_ptr<OpenFolder> folder = fs.openFolder(batch->dir);
    if (!folder || (batch->folder && folder->id() != batch->folder)) {
        dlg.messageBox(
            "上次改名没有做完，程序就中断了，但那个文件夹已经不在原处，无法处理：\r\n" + batch->dir, kTitle,
            Icon::Info, Buttons::Ok);
        journal.remove();
        return;
    }
    const size_t n = batch->entries.size();
    std::vector<std::string> now = locate(*folder, *batch);
    int done = 0;
    for (size_t k = 0; k < n; ++k)
        if (!now[k].empty() && now[k] == batch->entries[k].to && now[k] != batch->entries[k].from) ++done;
    const bool back =
        dlg.messageBox(
            "上次改名没有做完，程序就中断了。\r\n文件夹：" + batch->dir + "\r\n这一批共" +
                decimal(static_cast<int>(n)) + "个文件，已改好" + decimal(done) +
                "个。\r\n\r\n点\"确定\"把这一批文件全部改回原来的名字；\r\n点\"取消\"按原计划改完。",
            "提示", Icon::None, Buttons::OkCancel) != kAnswerCancel;

    std::vector<std::string> before(n), planned(n);
    for (size_t k = 0; k < n; ++k) {
        before[k] = batch->entries[k].from;
        planned[k] = batch->entries[k].to;
    }
    const std::vector<std::string>& wanted = back ? before : planned;
    std::vector<size_t> moving;
    for (size_t k = 0; k < n; ++k)
        if (!now[k].empty() && now[k] != wanted[k]) moving.push_back(k);
    std::vector<bool> arrived = moveTo(*folder, now, wanted, moving);
    int moved = 0;
    for (size_t i = 0; i < moving.size(); ++i)
        if (arrived[i]) {
            now[moving[i]] = wanted[moving[i]];
            ++moved;
        }
    // An entry that could not take its planned name goes back to its own rather than stay
    // under a temporary one.
    std::vector<size_t> stuck;
    for (size_t k = 0; k < n; ++k)
        if (!now[k].empty() && now[k] != before[k] && isTempName(now[k]) && now[k] != planned[k])
            stuck.push_back(k);
    arrived = moveTo(*folder, now, before, stuck);
    for (size_t i = 0; i < stuck.size(); ++i)
        if (arrived[i]) now[stuck[i]] = before[stuck[i]];

    std::string text = back ? "已把" + decimal(moved) + "个文件改回原来的名字。"
                            : "已按原计划改完" + decimal(moved) + "个文件。";
    std::string left;
    for (size_t k = 0; k < n; ++k) {
        if (now[k] == wanted[k]) continue;
        left += "\r\n";
        left += before[k] + " -> " + (now[k].empty() ? std::string("（找不到了）") : now[k]);
    }
    if (!left.empty()) text += "\r\n下面的文件没能改成，现在的名字是：" + left;
    dlg.messageBox(text, kTitle, Icon::Info, Buttons::Ok);
    journal.remove();
}

}  // namespace

JournalWriter::JournalWriter(std::string_view dir, const std::optional<EntryId>& folder, size_t entries) {
    out_.reserve(entries * 96);  // most names are far shorter than the 40 bytes each this allows
    field(out_, kMagic);
    field(out_, dir);
    idFields(out_, folder);
    number(out_, entries);
    out_ += '\0';
}

size_t JournalWriter::add(std::string_view from, std::string_view to, std::string_view temp,
                          const std::optional<EntryId>& id) {
    const size_t at = out_.size();
    field(out_, from);
    field(out_, to);
    field(out_, temp);
    idFields(out_, id);
    return at;
}

const std::string& JournalWriter::bytes() {
    if (!ended_) field(out_, kEnd);
    ended_ = true;
    return out_;
}

std::string encodeJournal(const JournalBatch& batch) {
    JournalWriter w(batch.dir, batch.folder, batch.entries.size());
    for (const JournalBatch::Entry& e : batch.entries) w.add(e.from, e.to, e.temp, e.id);
    return w.bytes();
}

std::optional<JournalBatch> decodeJournal(std::string_view bytes) {
    Fields f(bytes);
    JournalBatch batch;
    auto magic = f.next();
    auto dir = f.next();
    if (!magic || *magic != kMagic || !dir || dir->empty() || !f.id(batch.folder)) return std::nullopt;
    batch.dir = *dir;
    auto count = f.number();
    if (!count || *count > bytes.size()) return std::nullopt;
    batch.entries.resize(static_cast<size_t>(*count));
    for (JournalBatch::Entry& e : batch.entries) {
        auto from = f.next();
        auto to = f.next();
        auto temp = f.next();
        if (!from || !to || !temp || !f.id(e.id)) return std::nullopt;
        e.from = *from;
        e.to = *to;
        e.temp = *temp;
    }
    auto end = f.next();
    if (!end || *end != kEnd || !f.done()) return std::nullopt;
    return batch;
}

void recoverInterruptedBatch(FileSystem& fs, Dialogs& dlg) {
    JournalFile* journal = fs.journal();
    if (!journal) return;
    // Each process that died leaves its own; one that cannot be removed is met once.
    std::set<std::string> met;
    while (std::optional<std::string> bytes = journal->read()) {
        if (!met.insert(*bytes).second) break;
        recoverBatch(fs, dlg, *journal, *bytes);
    }
}

}  // namespace vb

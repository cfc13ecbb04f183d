// A batch whose process ends after any one of its renames: the next start finds the journal and
// puts every file back, or finishes the batch, with no file lost and none under a temporary name.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../memory_fs.h"
#include "../temp_folder.h"
#include "pipeline/journal.h"
#include "pipeline/pipeline.h"
#include "platform/forwarding_fs.h"
#include "platform/posix/posix_fs.h"
#include "test_support.h"

namespace vb {
namespace {

namespace stdfs = std::filesystem;
using namespace vb::testing;
using Tree = std::map<std::string, std::string>;  // name -> contents

// A file system whose renames inside a held folder end the process after the k-th one (or, in
// memory, end the batch there by throwing).
class DyingFs final : public ForwardingFileSystem {
public:
    DyingFs(
        FileSystem& inner, int k, std::function<void()> die = [] { ::_exit(0); })
        : ForwardingFileSystem(inner), k_(k), die_(std::move(die)) {}
    std::unique_ptr<OpenFolder> openFolder(const std::string& dir) override {
        std::unique_ptr<OpenFolder> f = inner_.openFolder(dir);
        return f ? std::make_unique<Folder>(*this, std::move(f)) : nullptr;
    }
    int calls = 0;

private:
    struct Folder final : ForwardingOpenFolder {
        Folder(DyingFs& fs, std::unique_ptr<OpenFolder> inner)
            : ForwardingOpenFolder(std::move(inner)), fs(fs) {}
        bool rename(const std::string& from, const std::string& to) override {
            const bool ok = inner_->rename(from, to);
            if (++fs.calls == fs.k_) fs.die_();
            return ok;
        }
        DyingFs& fs;
    };
    int k_;
    std::function<void()> die_;
};

// A chain, two cycles and a step that fails on a name outside the batch.
const std::vector<std::pair<std::string, std::string>> kBatch = {
    {"1.jpg", "2.jpg"},
    {"2.jpg", "3.jpg"},  // chain
    {"a", "b"},
    {"b", "a"},  // two-cycle
    {"x", "y"},
    {"y", "z"},
    {"z", "x"},              // three-cycle
    {"f.txt", "taken.txt"},  // fails: taken is not in the batch
    {"第一.txt", "第二.txt"},
};

Tree contents(const TempFolder& t, const std::string& rel) {
    Tree out;
    for (const auto& e : stdfs::directory_iterator(t.native(rel))) {
        const std::string name = *utf8ToGbk(e.path().filename().string());
        out[name] = t.read(rel + "/" + name);
    }
    return out;
}

void fill(const TempFolder& t, const std::string& rel) {
    for (const auto& [from, to] : kBatch) t.file(rel + "/" + from, "contents of " + from);
    t.file(rel + "/taken.txt", "not in the batch");
}

std::vector<RenamePair> smallBatch() {
    std::vector<RenamePair> pairs;
    for (const auto& [from, to] : kBatch) pairs.push_back({from, to});
    return pairs;
}

RenameOutcome run(FileSystem& fs, const std::string& dir,
                  const std::vector<RenamePair>& pairs = smallBatch()) {
    const std::unique_ptr<OpenFolder> folder = fs.openFolder(dir);
    NoProgress progress;
    return renameEntries(fs, folder.get(), dir, pairs, progress);
}

// The journals in the state folder.
int journals(const TempFolder& t) {
    int n = 0;
    if (stdfs::exists(t.native("state")))
        for (const auto& e : stdfs::directory_iterator(t.native("state")))
            n += e.path().extension() == ".journal";
    return n;
}

bool anyTemporary(const Tree& t) {
    for (const auto& [name, body] : t)
        if (name.starts_with(kTempPrefix)) return true;
    return false;
}

// Runs the batch in a process that ends after its k-th rename.
void dieInside(FileSystem& fs, const std::string& dir, int k,
               const std::vector<RenamePair>& pairs = smallBatch()) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        DyingFs dying(fs, k);
        run(dying, dir, pairs);
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// Ends the batch in a process of its own after its k-th rename, starts again and answers: every
// file is then where it was before (put back) or where the batch run whole left it (finished),
// none under a temporary name, and no journal is left.
void endAndRecover(const TempFolder& t, FileSystem& fs, const std::function<void(const std::string&)>& fillIn,
                   const std::vector<RenamePair>& pairs, const Tree& finished, int k, int answer) {
    SCOPED_TRACE("killed after rename " + std::to_string(k) +
                 (answer == kAnswerOk ? ", put back" : ", finished"));
    const std::string rel = std::to_string(k) + (answer == kAnswerOk ? "-back" : "-finished");
    fillIn(rel);
    const Tree before = contents(t, rel);
    dieInside(fs, t.path(rel + "/"), k, pairs);
    if (::testing::Test::HasFatalFailure()) return;
    ASSERT_EQ(journals(t), 1);
    PosixFileSystem restarted(t.dir(), t.path("state"));
    RecordingDialogs dlg;
    dlg.answers.push_back(answer);
    recoverInterruptedBatch(restarted, dlg);
    const Tree after = contents(t, rel);
    EXPECT_FALSE(anyTemporary(after));
    EXPECT_EQ(after, answer == kAnswerOk ? before : finished);
    EXPECT_EQ(dlg.boxes.size(), 2u);  // the question, then what was done
    EXPECT_EQ(journals(t), 0);
}

TEST(Journal, APrematureEndAfterAnyRenameIsPutRightAtTheNextStart) {
    TempFolder t("journal");
    PosixFileSystem fs(t.dir(), t.path("state"));
    // The batch run whole: how many renames it takes, and where it leaves every file.
    fill(t, "whole");
    DyingFs counting(fs, -1);
    run(counting, t.path("whole/"));
    const Tree finished = contents(t, "whole");
    ASSERT_GE(counting.calls, 10);
    ASSERT_EQ(journals(t), 0) << "an ended batch leaves its journal";

    for (int k = 1; k <= counting.calls; ++k)
        for (int answer : {kAnswerOk, kAnswerCancel})
            endAndRecover(
                t, fs, [&](const std::string& rel) { fill(t, rel); }, smallBatch(), finished, k, answer);
    // Without a journal the start asks nothing.
    RecordingDialogs quiet;
    recoverInterruptedBatch(fs, quiet);
    EXPECT_TRUE(quiet.boxes.empty());
}

// A journal cut short while it was written stands for a batch that renamed nothing yet.
TEST(Journal, OnlyAWholeJournalCounts) {
    JournalBatch batch{
        "/w/", EntryId{1, 2}, {{"a", "b", "~velbrook-0.tmp", EntryId{1, 3}}, {"b", "a", "", {}}}};
    const std::string whole = encodeJournal(batch);
    const auto back = decodeJournal(whole);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->dir, "/w/");
    EXPECT_EQ(back->folder, batch.folder);
    ASSERT_EQ(back->entries.size(), 2u);
    EXPECT_EQ(back->entries[0].temp, "~velbrook-0.tmp");
    EXPECT_EQ(back->entries[0].id, batch.entries[0].id);
    EXPECT_FALSE(back->entries[1].id);
    for (size_t cut = 0; cut < whole.size(); ++cut) EXPECT_FALSE(decodeJournal(whole.substr(0, cut))) << cut;
}

// A folder that holds the first thousand temporary names still gets its cycle through.
TEST(Journal, ATemporaryNameIsFreeWhateverTheFolderHolds) {
    TempFolder t("journal");
    PosixFileSystem fs(t.dir(), t.path("state"));
    for (int i = 0; i < 1000; ++i) t.folder("w/~velbrook-" + std::to_string(i) + ".tmp");
    t.file("w/a", "A");
    t.file("w/b", "B");
    const std::vector<RenamePair> swap = {{"a", "b"}, {"b", "a"}};
    const std::unique_ptr<OpenFolder> folder = fs.openFolder(t.path("w/"));
    NoProgress progress;
    const RenameOutcome out = renameEntries(fs, folder.get(), t.path("w/"), swap, progress);
    EXPECT_EQ(out.count(), 2);
    EXPECT_EQ(t.read("w/a"), "B");
    EXPECT_EQ(t.read("w/b"), "A");
    EXPECT_EQ(std::distance(stdfs::directory_iterator(t.native("w")), {}), 1002);
    EXPECT_FALSE(stdfs::exists(t.native("state"))) << "the folder made for the journal stays";
}

// Two processes died, each in a batch of its own: one start puts both right.
TEST(Journal, EveryJournalLeftBehindIsPutRight) {
    TempFolder t("journal");
    PosixFileSystem fs(t.dir(), t.path("state"));
    fill(t, "one");
    fill(t, "two");
    const Tree before = contents(t, "one");
    dieInside(fs, t.path("one/"), 3);
    dieInside(fs, t.path("two/"), 5);
    ASSERT_EQ(journals(t), 2);
    RecordingDialogs dlg;
    dlg.answers = {kAnswerOk, kAnswerOk};
    recoverInterruptedBatch(fs, dlg);
    EXPECT_EQ(contents(t, "one"), before);
    EXPECT_EQ(contents(t, "two"), before);
    EXPECT_EQ(dlg.boxes.size(), 4u);
    EXPECT_EQ(journals(t), 0);
}

// A batch large enough that the start after it asks who is where in passes over the folder:
// ended after its first, a middle and its last rename, it is still put back or finished whole.
TEST(Journal, ALargeBatchEndedAnywhereIsPutRightFromPassesOverTheFolder) {
    std::vector<RenamePair> pairs;
    std::vector<std::string> names;
    for (int i = 0; i < 600; ++i) {
        names.push_back("第" + std::to_string(i) + "集.mp4");
        names.push_back("第" + std::to_string(i) + "话.mp4");
    }
    for (size_t i = 0; i < names.size(); i += 2) {
        pairs.push_back({names[i], names[i + 1]});  // a two-cycle each
        pairs.push_back({names[i + 1], names[i]});
    }
    pairs.push_back({"甲.txt", "乙.txt"});  // and a chain
    pairs.push_back({"乙.txt", "丙.txt"});
    TempFolder t("journal");
    PosixFileSystem fs(t.dir(), t.path("state"));
    auto fillLarge = [&](const std::string& rel) {
        for (const std::string& n : names) t.file(rel + "/" + n, "contents of " + n);
        t.file(rel + "/甲.txt", "甲");
        t.file(rel + "/乙.txt", "乙");
    };
    fillLarge("whole");
    DyingFs counting(fs, -1);
    run(counting, t.path("whole/"), pairs);
    const Tree finished = contents(t, "whole");
    const int last = counting.calls;
    ASSERT_GT(last, 1200);

    for (int k : {1, last / 2, last - 1})
        for (int answer : {kAnswerOk, kAnswerCancel})
            endAndRecover(t, fs, fillLarge, pairs, finished, k, answer);
}

struct Died {};

// Every file of a folder in memory, by name, with its contents.
Tree contents(MemoryFileSystem& fs, const std::string& dir) {
    Tree out;
    for (const DirEntry& e : fs.search(dir, "*"))
        if (!e.isDir) out[e.name] = fs.find(dir + e.name)->bytes;
    return out;
}

std::multiset<std::string> bodies(const Tree& t) {
    std::multiset<std::string> out;
    for (const auto& [name, body] : t) out.insert(body);
    return out;
}

// A volume that renumbers what it renames (FAT): a batch ended after any rename is still put
// back or finished whole.
TEST(Journal, AVolumeThatRenumbersRenamedEntriesLeavesNoTemporaryName) {
    auto fresh = [](MemoryFileSystem& fs) {
        fs.renameGivesNewIdentity = true;
        for (const auto& [from, to] : kBatch) fs.file("/w/" + from, "contents of " + from);
        fs.file("/w/taken.txt", "not in the batch");
    };
    MemoryFileSystem whole;
    fresh(whole);
    DyingFs counting(whole, -1);
    run(counting, "/w/");
    const Tree finished = contents(whole, "/w/");
    ASSERT_GE(counting.calls, 10);

    for (int k = 1; k <= counting.calls; ++k)
        for (int answer : {kAnswerOk, kAnswerCancel}) {
            SCOPED_TRACE("ended after rename " + std::to_string(k) +
                         (answer == kAnswerOk ? ", put back" : ", finished"));
            MemoryFileSystem fs;
            fresh(fs);
            const Tree before = contents(fs, "/w/");
            DyingFs dying(fs, k, [] { throw Died{}; });
            EXPECT_THROW(run(dying, "/w/"), Died);
            ASSERT_TRUE(fs.journal()->read());
            RecordingDialogs dlg;
            dlg.answers.push_back(answer);
            recoverInterruptedBatch(fs, dlg);
            const Tree after = contents(fs, "/w/");
            EXPECT_FALSE(anyTemporary(after));
            EXPECT_EQ(bodies(after), bodies(before));
            EXPECT_EQ(after, answer == kAnswerOk ? before : finished);
            EXPECT_FALSE(fs.journal()->read());
        }
}

// A large batch, whose identities are read on a thread of their own, is journaled whole before
// its first rename.
TEST(Journal, ALargeBatchIsWrittenWholeBeforeItsFirstRename) {
    MemoryFileSystem fs;
    std::vector<std::string> names;
    for (int i = 0; i < 600; ++i)
        for (const char* side : {"甲", "乙"}) {
            names.push_back(side + std::to_string(i) + ".txt");
            fs.file("/w/" + names.back(), "contents of " + names.back());
        }
    std::vector<RenamePair> pairs;
    for (size_t i = 0; i < names.size(); i += 2) {
        pairs.push_back({names[i], names[i + 1]});  // each pair swaps, through a temporary name
        pairs.push_back({names[i + 1], names[i]});
    }
    const Tree before = contents(fs, "/w/");
    std::optional<std::string> atFirstRename;
    DyingFs dying(fs, 1, [&] {
        atFirstRename = fs.journal()->read();
        throw Died{};
    });
    const std::unique_ptr<OpenFolder> folder = dying.openFolder("/w/");
    NoProgress progress;
    EXPECT_THROW(renameEntries(dying, folder.get(), "/w/", pairs, progress), Died);
    ASSERT_TRUE(atFirstRename);
    const std::optional<JournalBatch> batch = decodeJournal(*atFirstRename);
    ASSERT_TRUE(batch);
    EXPECT_EQ(batch->entries.size(), pairs.size());

    RecordingDialogs dlg;
    dlg.answers.push_back(kAnswerOk);
    recoverInterruptedBatch(fs, dlg);
    EXPECT_EQ(contents(fs, "/w/"), before);
}

}  // namespace
}  // namespace vb

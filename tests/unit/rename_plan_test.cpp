// The batch planner and its execution against a folder kept in memory: names -> contents,
// renames that never overwrite, and renames that fail where a case says so.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <numeric>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "pipeline/rename_plan.h"
#include "platform/name_table.h"

namespace vb {
namespace {

using Names = std::vector<std::pair<std::string, std::string>>;

struct Folder {
    std::map<std::string, std::string> entries;            // name -> contents
    std::set<std::string> locked;                          // renames from these names fail
    std::set<std::pair<std::string, std::string>> refuse;  // these renames fail
    int renames = 0;
    // Letter case ignored, as on Windows; a move that changes only the case succeeds and keeps
    // the old one, as under Wine and on some network shares.
    bool caseBlind = false;

    std::string fold(std::string_view name) const {
        std::string s(name);
        if (caseBlind)
            for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return s;
    }
    std::map<std::string, std::string>::iterator find(std::string_view name) {
        if (!caseBlind) return entries.find(std::string(name));
        return std::find_if(entries.begin(), entries.end(),
                            [&](const auto& e) { return fold(e.first) == fold(name); });
    }
    bool rename(std::string_view from, std::string_view to) {
        ++renames;
        const std::string f(from), t(to);
        auto it = find(f);
        if (it == entries.end() || locked.count(f) || refuse.count({f, t})) return false;
        if (fold(f) == fold(t)) return true;
        if (find(t) != entries.end()) return false;
        entries[t] = std::move(it->second);
        entries.erase(it);
        return true;
    }
};

struct Result {
    RenameOutcome outcome;
    RenamePlan plan;
};

// order: the rows in the order the batch is to run them (empty: row order).
Result run(Folder& folder, const Names& pairs, std::span<const int> order = {}) {
    std::vector<RenamePair> views;
    for (const auto& [from, to] : pairs) views.push_back({from, to});
    Result r;
    NameKeyFn key;
    if (folder.caseBlind) key = [&](std::string_view n, std::string& k) { k += folder.fold(n); };
    r.plan = planRenames(RenameClaims(views, key), order,
                         [&](std::string_view n) { return folder.find(n) != folder.entries.end(); });
    r.outcome =
        carryOut(views, r.plan, [&](std::string_view f, std::string_view t) { return folder.rename(f, t); });
    return r;
}

std::string doneFlags(const RenameOutcome& out) {
    std::string s;
    for (bool d : out.done) s += d ? 'Y' : 'n';
    return s;
}

struct Case {
    const char* what;
    std::vector<std::string> files;  // each holds its own name as contents
    Names pairs;
    std::set<std::string> locked;
    std::string done;  // per pair, Y or n
    Names after;       // name -> the file it held at the start
};

TEST(RenamePlan, BatchOutcomesTable) {
    const Case cases[] = {
        {"independent entries", {"a", "b"}, {{"a", "x"}, {"b", "y"}}, {}, "YY", {{"x", "a"}, {"y", "b"}}},
        {"chain 1 -> 2 -> 3", {"1", "2"}, {{"1", "2"}, {"2", "3"}}, {}, "YY", {{"2", "1"}, {"3", "2"}}},
        {"chain given in the other order",
         {"1", "2"},
         {{"2", "3"}, {"1", "2"}},
         {},
         "YY",
         {{"2", "1"}, {"3", "2"}}},
        {"suffix chain",
         {"a", "a_v2", "a_v2_v2"},
         {{"a", "a_v2"}, {"a_v2", "a_v2_v2"}, {"a_v2_v2", "a_v2_v2_v2"}},
         {},
         "YYY",
         {{"a_v2", "a"}, {"a_v2_v2", "a_v2"}, {"a_v2_v2_v2", "a_v2_v2"}}},
        {"swap", {"a", "b"}, {{"a", "b"}, {"b", "a"}}, {}, "YY", {{"a", "b"}, {"b", "a"}}},
        {"three-cycle",
         {"a", "b", "c"},
         {{"a", "b"}, {"b", "c"}, {"c", "a"}},
         {},
         "YYY",
         {{"a", "c"}, {"b", "a"}, {"c", "b"}}},
        {"two cycles and a chain",
         {"a", "b", "c", "d", "1", "2"},
         {{"a", "b"}, {"1", "2"}, {"c", "d"}, {"b", "a"}, {"d", "c"}, {"2", "3"}},
         {},
         "YYYYYY",
         {{"a", "b"}, {"b", "a"}, {"c", "d"}, {"d", "c"}, {"2", "1"}, {"3", "2"}}},
        {"the first row gets a wanted name",
         {"a", "b"},
         {{"a", "t"}, {"b", "t"}},
         {},
         "Yn",
         {{"t", "a"}, {"b", "b"}}},
        {"a name outside the batch is never taken",
         {"a", "b", "x"},
         {{"a", "x"}, {"b", "a"}},
         {},
         "nn",
         {{"a", "a"}, {"b", "b"}, {"x", "x"}}},
        {"an entry that keeps its name holds it",
         {"a", "b"},
         {{"b", "a"}, {"a", "a"}},
         {},
         "nY",
         {{"a", "a"}, {"b", "b"}}},
        {"an entry renamed twice goes by its first row",
         {"a"},
         {{"a", "x"}, {"a", "y"}},
         {},
         "Yn",
         {{"x", "a"}}},
        {"a missing entry fails, and so does the row waiting for its name",
         {"n", "z"},
         {{"m", "x"}, {"n", "m"}, {"z", "zz"}},
         {},
         "nnY",
         {{"n", "n"}, {"zz", "z"}}},
        {"a failed link fails the chain before it",
         {"1", "2", "3"},
         {{"1", "2"}, {"2", "3"}, {"3", "4"}},
         {"2"},
         "nnY",
         {{"1", "1"}, {"2", "2"}, {"4", "3"}}},
        {"a locked first entry leaves its cycle untouched",
         {"a", "b", "c"},
         {{"a", "b"}, {"b", "c"}, {"c", "a"}},
         {"a"},
         "nnn",
         {{"a", "a"}, {"b", "b"}, {"c", "c"}}},
        {"a locked middle entry: the cycle is put back",
         {"a", "b", "c"},
         {{"a", "b"}, {"b", "c"}, {"c", "a"}},
         {"b"},
         "nnn",
         {{"a", "a"}, {"b", "b"}, {"c", "c"}}},
        {"a locked last entry: the cycle is put back",
         {"a", "b", "c"},
         {{"a", "b"}, {"b", "c"}, {"c", "a"}},
         {"c"},
         "nnn",
         {{"a", "a"}, {"b", "b"}, {"c", "c"}}},
        {"an outside name waits in front of a cycle",
         {"a", "b", "d"},
         {{"d", "a"}, {"a", "b"}, {"b", "a"}},
         {},
         "nnn",
         {{"a", "a"}, {"b", "b"}, {"d", "d"}}},
        {"temporary names that exist are passed over",
         {"a", "b", "~velbrook-0.tmp"},
         {{"a", "b"}, {"b", "a"}},
         {},
         "YY",
         {{"a", "b"}, {"b", "a"}, {"~velbrook-0.tmp", "~velbrook-0.tmp"}}},
        {"temporary names the batch uses are passed over",
         {"a", "b", "~velbrook-0.tmp"},
         {{"a", "b"}, {"b", "a"}, {"~velbrook-0.tmp", "~velbrook-1.tmp"}},
         {},
         "YYY",
         {{"a", "b"}, {"b", "a"}, {"~velbrook-1.tmp", "~velbrook-0.tmp"}}},
        {"a device name is never made, in any case, with or without an extension",
         {"con_x", "nul_x.jpg", "c", "d", "x"},
         {{"con_x", "CON"}, {"nul_x.jpg", "nul.jpg"}, {"c", "com1 .txt"}, {"d", "console"}, {"x", "con_x"}},
         {},
         "nnnYn",
         {{"con_x", "con_x"}, {"nul_x.jpg", "nul_x.jpg"}, {"c", "c"}, {"console", "d"}, {"x", "x"}}},
        {"a temporary name that a row takes is passed over",
         {"a", "b", "c"},
         {{"c", "~velbrook-0.tmp"}, {"a", "b"}, {"b", "a"}},
         {},
         "YYY",
         {{"~velbrook-0.tmp", "c"}, {"a", "b"}, {"b", "a"}}},
    };
    // Whatever order the batch runs in, it ends the same: rows keep their claims.
    for (const Case& c : cases) {
        const int n = static_cast<int>(c.pairs.size());
        std::vector<int> rows(static_cast<size_t>(n)), reversed, oddFirst;
        std::iota(rows.begin(), rows.end(), 0);
        reversed.assign(rows.rbegin(), rows.rend());
        for (int k = 1; k < n; k += 2) oddFirst.push_back(k);
        for (int k = 0; k < n; k += 2) oddFirst.push_back(k);
        for (const auto& [order, how] : {std::pair{rows, "row order"}, std::pair{reversed, "reversed"},
                                         std::pair{oddFirst, "odd rows first"}}) {
            SCOPED_TRACE(std::string(c.what) + ", " + how);
            Folder folder;
            for (const auto& f : c.files) folder.entries[f] = f;
            folder.locked = c.locked;
            Result r = run(folder, c.pairs, order);
            EXPECT_EQ(doneFlags(r.outcome), c.done);
            EXPECT_EQ(r.outcome.count(), static_cast<int>(std::count(c.done.begin(), c.done.end(), 'Y')));
            EXPECT_TRUE(r.outcome.stranded.empty());
            EXPECT_EQ(folder.entries, (std::map<std::string, std::string>(c.after.begin(), c.after.end())));
        }
    }
}

// Entries that wait for nobody go in the order given; a chain still runs from its free end.
TEST(RenamePlan, StepsFollowTheOrderGivenWhereNothingWaits) {
    const Names pairs = {{"a", "x"}, {"1", "2"}, {"b", "y"}, {"2", "3"}, {"c", "z"}};
    Folder folder;
    for (const auto& p : pairs) folder.entries[p.first] = p.first;
    const Result r = run(folder, pairs, std::vector<int>{4, 1, 0, 3, 2});
    std::vector<int> entries;
    for (const RenamePlan::Step& st : r.plan.steps) entries.push_back(st.entry);
    EXPECT_EQ(entries, (std::vector<int>{4, 3, 1, 0, 2}));
    EXPECT_EQ(doneFlags(r.outcome), "YYYYY");
}

// A plan renumbered into the order it runs does the same to the same names.
TEST(RenamePlan, ARenumberedPlanDoesTheSame) {
    const Names pairs = {{"a", "b"}, {"1", "2"}, {"b", "a"}, {"2", "3"}, {"c", "c"}, {"x", "3"}};
    const std::vector<int> order = {3, 0, 5, 2, 4, 1};
    std::vector<RenamePair> views, reordered;
    for (const auto& [from, to] : pairs) views.push_back({from, to});
    for (int k : order) reordered.push_back(views[static_cast<size_t>(k)]);
    Folder byRow, byRun;
    for (const auto& p : pairs) byRow.entries[p.first] = byRun.entries[p.first] = p.first;
    auto has = [](Folder& f) { return [&f](std::string_view n) { return f.find(n) != f.entries.end(); }; };
    const RenamePlan plan = planRenames(RenameClaims(views), order, has(byRow));
    const RenamePlan renamed = renumbered(plan, order);
    const RenameOutcome a =
        carryOut(views, plan, [&](std::string_view f, std::string_view t) { return byRow.rename(f, t); });
    const RenameOutcome b = carryOut(
        reordered, renamed, [&](std::string_view f, std::string_view t) { return byRun.rename(f, t); });
    EXPECT_EQ(byRun.entries, byRow.entries);
    ASSERT_EQ(renamed.steps.size(), plan.steps.size());
    for (size_t i = 0; i < plan.steps.size(); ++i)
        EXPECT_EQ(order[static_cast<size_t>(renamed.steps[i].entry)], plan.steps[i].entry) << i;
    for (size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(b.done[i], a.done[static_cast<size_t>(order[i])]) << i;
        EXPECT_EQ(renamed.refused[i], plan.refused[static_cast<size_t>(order[i])]) << i;
    }
    EXPECT_EQ(doneFlags(a), "YYYYYn");
}

// Where letter case is ignored, names are planned by their keys: chains and cycles that only
// case makes, a change of case alone, and temporary names free in that sense too.
TEST(RenamePlan, CaseBlindFolderTable) {
    const Case cases[] = {
        {"a chain that only case makes",
         {"A", "a_v2"},
         {{"A", "A_v2"}, {"a_v2", "a_v2_v2"}},
         {},
         "YY",
         {{"A_v2", "A"}, {"a_v2_v2", "a_v2"}}},
        {"a target freed by a row below",
         {"a", "b"},
         {{"a", "B"}, {"b", "c"}},
         {},
         "YY",
         {{"B", "a"}, {"c", "b"}}},
        {"a cycle that only case makes",
         {"a", "B"},
         {{"a", "b"}, {"B", "A"}},
         {},
         "YY",
         {{"b", "a"}, {"A", "B"}}},
        {"a change of case alone lands",
         {"IMG", "x"},
         {{"IMG", "img"}, {"x", "X"}},
         {},
         "YY",
         {{"img", "IMG"}, {"X", "x"}}},
        {"a change of case alone that fails keeps the old name",
         {"IMG"},
         {{"IMG", "img"}},
         {"IMG"},
         "n",
         {{"IMG", "IMG"}}},
        {"two rows want one name in two cases",
         {"a", "b"},
         {{"a", "X"}, {"b", "x"}},
         {},
         "Yn",
         {{"X", "a"}, {"b", "b"}}},
        {"an entry that keeps its name holds it in every case",
         {"a", "b"},
         {{"b", "A"}, {"a", "a"}},
         {},
         "nY",
         {{"a", "a"}, {"b", "b"}}},
        {"one entry named twice in two cases goes by its first row",
         {"a"},
         {{"a", "x"}, {"A", "y"}},
         {},
         "Yn",
         {{"x", "a"}}},
        {"a name outside the batch in another case is never taken",
         {"a", "B"},
         {{"a", "b"}},
         {},
         "n",
         {{"a", "a"}, {"B", "B"}}},
        {"a temporary name on disk in another case is passed over",
         {"a", "b", "~VELBROOK-0.TMP"},
         {{"a", "b"}, {"b", "a"}},
         {},
         "YY",
         {{"a", "b"}, {"b", "a"}, {"~VELBROOK-0.TMP", "~VELBROOK-0.TMP"}}},
        {"a temporary name that a row takes in another case is passed over",
         {"a", "b", "c"},
         {{"c", "~VELBROOK-0.TMP"}, {"a", "b"}, {"b", "a"}},
         {},
         "YYY",
         {{"~VELBROOK-0.TMP", "c"}, {"a", "b"}, {"b", "a"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Folder folder;
        folder.caseBlind = true;
        for (const auto& f : c.files) folder.entries[f] = f;
        folder.locked = c.locked;
        Result r = run(folder, c.pairs);
        EXPECT_EQ(doneFlags(r.outcome), c.done);
        EXPECT_TRUE(r.outcome.stranded.empty());
        EXPECT_EQ(folder.entries, (std::map<std::string, std::string>(c.after.begin(), c.after.end())));
    }
}

TEST(RenamePlan, ChainsRunFromTheirFreeEndAndCyclesGoThroughOneTemporaryName) {
    const std::vector<RenamePair> pairs = {{"1", "2"}, {"2", "3"}, {"a", "b"}, {"b", "a"}};
    const RenamePlan plan = planRenames(pairs, [](std::string_view) { return false; });
    using K = RenamePlan::Kind;
    std::vector<std::pair<int, K>> steps;
    for (const auto& s : plan.steps) steps.emplace_back(s.entry, s.kind);
    EXPECT_EQ(steps, (std::vector<std::pair<int, K>>{
                         {1, K::Move}, {0, K::Move}, {2, K::ToTemp}, {3, K::Move}, {2, K::FromTemp}}));
    EXPECT_EQ(plan.temps, (std::vector<std::string>{"~velbrook-0.tmp"}));
}

TEST(RenamePlan, ARollbackThatFailsLeavesTheEntryUnderItsTemporaryNameAndSaysSo) {
    // Steps: a -> temp, c -> a, b -> c (b is locked), then the rollback a -> c is refused too.
    Folder folder;
    for (const char* f : {"a", "b", "c"}) folder.entries[f] = f;
    folder.locked = {"b"};
    folder.refuse = {{"a", "c"}};
    Result r = run(folder, {{"a", "b"}, {"b", "c"}, {"c", "a"}});
    ASSERT_EQ(r.outcome.stranded.size(), 1u);
    EXPECT_EQ(r.outcome.stranded[0].entry, 0);
    EXPECT_EQ(r.outcome.stranded[0].name, "~velbrook-0.tmp");
    EXPECT_EQ(doneFlags(r.outcome), "nnY") << "c -> a could not be taken back";
    EXPECT_EQ(folder.entries,
              (std::map<std::string, std::string>{{"a", "c"}, {"b", "b"}, {"~velbrook-0.tmp", "a"}}));
}

TEST(RenamePlan, ALastStepThatFailsPutsTheWholeCycleBack) {
    Folder folder;
    for (const char* f : {"a", "b", "c"}) folder.entries[f] = f;
    folder.refuse = {{"~velbrook-0.tmp", "b"}};
    Result r = run(folder, {{"a", "b"}, {"b", "c"}, {"c", "a"}});
    EXPECT_EQ(doneFlags(r.outcome), "nnn");
    EXPECT_TRUE(r.outcome.stranded.empty());
    EXPECT_EQ(folder.entries, (std::map<std::string, std::string>{{"a", "a"}, {"b", "b"}, {"c", "c"}}));
}

// A batch stopped at any point leaves every file once, under its old name or its new one, never
// under a temporary name: a cycle is finished before the stop is heeded, and the stop holds.
TEST(RenamePlan, AStopAtAnyPointLeavesEachEntryWholeAndNoCycleHalfDone) {
    const Names pairs = {{"1", "2"}, {"2", "3"}, {"a", "b"}, {"b", "c"}, {"c", "a"}, {"x", "y"}, {"y", "x"}};
    for (int stopAt = 0; stopAt <= 9; ++stopAt) {
        SCOPED_TRACE("stop at call " + std::to_string(stopAt));
        Folder folder;
        for (const char* f : {"1", "2", "a", "b", "c", "x", "y"}) folder.entries[f] = f;
        std::vector<RenamePair> views;
        for (const auto& [from, to] : pairs) views.push_back({from, to});
        const RenamePlan plan = planRenames(views, [](std::string_view) { return false; });
        int calls = 0;
        std::vector<int> reached;
        const RenameOutcome out = carryOut(
            views, plan, [&](std::string_view f, std::string_view t) { return folder.rename(f, t); },
            [&](int r) {
                reached.push_back(r);
                return calls++ < stopAt;
            });
        EXPECT_TRUE(std::is_sorted(reached.begin(), reached.end()));
        std::map<std::string, std::string> expected;
        for (size_t k = 0; k < pairs.size(); ++k)
            expected[out.done[k] ? pairs[k].second : pairs[k].first] = pairs[k].first;
        EXPECT_EQ(folder.entries, expected) << doneFlags(out);
        const std::string d = doneFlags(out);
        EXPECT_TRUE(d.substr(2, 3) == "YYY" || d.substr(2, 3) == "nnn") << d;
        EXPECT_TRUE(d.substr(5, 2) == "YY" || d.substr(5, 2) == "nn") << d;
        EXPECT_EQ(out.stopped, out.count() < static_cast<int>(pairs.size())) << d;
    }
}

// Many rows shifted by one and many swapped pairs: every file ends where its row said, with one
// rename per entry plus two per cycle.
TEST(RenamePlan, LargeShiftsAndSwapsLoseNothing) {
    auto name = [](char kind, int i) {
        std::string s(1, kind);
        s += std::to_string(i);
        return s;
    };
    Folder folder;
    Names pairs;
    const int n = 2000;
    for (int i = 0; i < n; ++i) {
        folder.entries[name('f', i)] = name('f', i);
        pairs.emplace_back(name('f', i), name('f', i + 1));
    }
    for (int i = 0; i < n; i += 2) {
        folder.entries[name('s', i)] = name('s', i);
        folder.entries[name('s', i + 1)] = name('s', i + 1);
        pairs.emplace_back(name('s', i + 1), name('s', i));
        pairs.emplace_back(name('s', i), name('s', i + 1));
    }
    Result r = run(folder, pairs);
    EXPECT_EQ(r.outcome.count(), static_cast<int>(pairs.size()));
    EXPECT_EQ(folder.renames, static_cast<int>(pairs.size()) + n / 2);
    EXPECT_EQ(folder.entries.size(), static_cast<size_t>(2 * n));
    for (int i = 0; i < n; ++i) EXPECT_EQ(folder.entries[name('f', i + 1)], name('f', i)) << i;
    for (int i = 0; i < n; i += 2) EXPECT_EQ(folder.entries[name('s', i)], name('s', i + 1)) << i;
}

// Ids in the order names were first seen, past any size the table was made for.
TEST(NameTable, InternsInOrderAndGrows) {
    std::vector<std::string> names;
    for (int i = 0; i < 1000; ++i) {
        names.emplace_back(1, 'n');
        names.back() += std::to_string(i % 700);
    }
    NameTable table(1);
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(table.intern(names[i]), static_cast<int>(i % 700)) << i;
    EXPECT_EQ(table.size(), 700u);
    EXPECT_EQ(table.find("n699"), 699);
    EXPECT_EQ(table.find("n700"), -1);
    EXPECT_EQ(table.find(""), -1);
}

}  // namespace
}  // namespace vb

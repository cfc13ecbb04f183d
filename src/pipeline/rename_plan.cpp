#include "pipeline/rename_plan.h"

#include <algorithm>

#include "platform/name_table.h"
#include "transforms/device_names.h"

namespace vb {
namespace {

// What the batch does with one name: which entry has it now, which entry is to take it.
struct NameSlot {
    int source = -1;
    int claimant = -1;
};

std::string tempName(long long n) {
    return std::string(kTempPrefix).append(std::to_string(n)).append(kTempSuffix);
}

// The batch's names as the folder compares them: the names themselves where every byte counts,
// else their keys, all in one buffer.
class BatchKeys {
public:
    BatchKeys(std::span<const RenamePair> pairs, const NameKeyFn& key) : pairs_(pairs), key_(key) {
        if (!key_) return;
        std::vector<size_t> ends;
        ends.reserve(pairs.size() * 2);
        for (const RenamePair& p : pairs) {
            key_(p.from, buffer_);
            ends.push_back(buffer_.size());
            key_(p.to, buffer_);
            ends.push_back(buffer_.size());
        }
        // Views only once the buffer has stopped growing.
        views_.reserve(ends.size());
        size_t start = 0;
        for (size_t end : ends) {
            views_.emplace_back(buffer_.data() + start, end - start);
            start = end;
        }
    }
    std::string_view from(int k) const {
        return key_ ? views_[2 * static_cast<size_t>(k)] : pairs_[static_cast<size_t>(k)].from;
    }
    std::string_view to(int k) const {
        return key_ ? views_[2 * static_cast<size_t>(k) + 1] : pairs_[static_cast<size_t>(k)].to;
    }
    // The key of another name, valid until the next call.
    std::string_view of(std::string_view name) {
        if (!key_) return name;
        scratch_.clear();
        key_(name, scratch_);
        return scratch_;
    }

private:
    std::span<const RenamePair> pairs_;
    const NameKeyFn& key_;
    std::string buffer_;
    std::vector<std::string_view> views_;
    std::string scratch_;
};

}  // namespace

// The batch's names as the folder compares them, in one table: built with the claims, asked
// again for temporary names that none of them has.
struct RenameClaims::Names {
    Names(std::span<const RenamePair> pairs, const NameKeyFn& key)
        : keys(pairs, key), table(pairs.size() * 2) {}
    BatchKeys keys;
    NameTable table;
};

RenameClaims::RenameClaims(std::span<const RenamePair> pairs, const NameKeyFn& key)
    : pairs_(pairs), names_(std::make_unique<Names>(pairs, key)) {
    const int n = static_cast<int>(pairs.size());
    waitsFor_.assign(pairs.size(), -1);
    refused_.assign(pairs.size(), false);
    BatchKeys& keys = names_->keys;
    std::vector<NameSlot> slots;
    slots.reserve(pairs.size() * 2);
    auto slotOf = [&](std::string_view name) -> NameSlot& {
        const size_t id = static_cast<size_t>(names_->table.intern(name));
        if (id == slots.size()) slots.emplace_back();
        return slots[id];
    };
    for (int k = 0; k < n; ++k) {
        NameSlot& slot = slotOf(keys.from(k));
        if (slot.source < 0)
            slot.source = k;
        else
            refused_[k] = true;  // an earlier row renames this entry already
    }
    // An entry that keeps its name holds it against every row.
    for (int k = 0; k < n; ++k)
        if (!refused_[k] && pairs[k].from == pairs[k].to) slotOf(keys.to(k)).claimant = k;
    for (int k = 0; k < n; ++k) {
        if (refused_[k] || pairs[k].from == pairs[k].to) continue;
        if (isDeviceName(pairs[k].to)) {
            refused_[k] = true;  // the system would make a file that few programs can reach
            continue;
        }
        // A change of letter case alone where case is ignored waits for itself: a cycle of one.
        NameSlot& slot = slotOf(keys.to(k));
        if (slot.claimant >= 0) {
            refused_[k] = true;  // the first row wants this name too
            continue;
        }
        slot.claimant = k;
        if (slot.source >= 0) waitsFor_[k] = slot.source;
    }
}

RenameClaims::~RenameClaims() = default;
RenameClaims::RenameClaims(RenameClaims&&) noexcept = default;
RenameClaims& RenameClaims::operator=(RenameClaims&&) noexcept = default;

RenamePlan planRenames(std::span<const RenamePair> pairs, const std::function<bool(std::string_view)>& taken,
                       const NameKeyFn& key) {
    return planRenames(RenameClaims(pairs, key), {}, taken);
}

RenamePlan planRenames(RenameClaims claims, std::span<const int> order,
                       const std::function<bool(std::string_view)>& taken) {
    const int n = static_cast<int>(claims.pairs_.size());
    RenamePlan plan;
    plan.waitsFor = std::move(claims.waitsFor_);
    plan.refused = std::move(claims.refused_);
    plan.steps.reserve(claims.pairs_.size());
    BatchKeys& keys = claims.names_->keys;
    const NameTable& names = claims.names_->table;
    // Each name has one claimant, so every entry is waited for by at most one other: the waits
    // form plain chains and cycles. A chain runs from its free end; a cycle starts by moving its
    // first entry aside.
    enum : unsigned char { Unseen, OnPath, Planned };
    std::vector<unsigned char> state(claims.pairs_.size(), Unseen);
    std::vector<int> path;
    long long nextTemp = 0;
    for (int at = 0; at < n; ++at) {
        const int k = order.empty() ? at : order[static_cast<size_t>(at)];
        if (plan.refused[k] || state[k] != Unseen) continue;
        path.clear();
        bool cycle = false;
        for (int j = k;;) {
            path.push_back(j);
            state[j] = OnPath;
            const int w = plan.waitsFor[j];
            if (w < 0 || plan.refused[w] || state[w] == Planned) break;
            if (state[w] == OnPath) {
                cycle = true;  // back at k
                break;
            }
            j = w;
        }
        for (int j : path) state[j] = Planned;
        if (!cycle) {
            for (auto it = path.rbegin(); it != path.rend(); ++it)
                plan.steps.push_back({*it, RenamePlan::Kind::Move});
            continue;
        }
        // The folder holds finitely many names, so a free one comes, whatever is there.
        std::string temp;
        while (temp.empty()) {
            temp = tempName(nextTemp++);
            if (names.find(keys.of(temp)) >= 0 || taken(temp)) temp.clear();
        }
        const int t = static_cast<int>(plan.temps.size());
        plan.temps.push_back(std::move(temp));
        plan.steps.push_back({k, RenamePlan::Kind::ToTemp, t});
        for (auto it = path.rbegin(); it + 1 != path.rend(); ++it)
            plan.steps.push_back({*it, RenamePlan::Kind::Move});
        plan.steps.push_back({k, RenamePlan::Kind::FromTemp, t});
    }
    return plan;
}

RenamePlan renumbered(const RenamePlan& plan, std::span<const int> order) {
    std::vector<int> now(order.size());
    for (size_t i = 0; i < order.size(); ++i) now[static_cast<size_t>(order[i])] = static_cast<int>(i);
    RenamePlan out;
    out.temps = plan.temps;
    out.steps.reserve(plan.steps.size());
    for (RenamePlan::Step st : plan.steps) {
        st.entry = now[static_cast<size_t>(st.entry)];
        out.steps.push_back(st);
    }
    out.waitsFor.resize(order.size());
    out.refused.resize(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        const int w = plan.waitsFor[static_cast<size_t>(order[i])];
        out.waitsFor[i] = w < 0 ? -1 : now[static_cast<size_t>(w)];
        out.refused[i] = plan.refused[static_cast<size_t>(order[i])];
    }
    return out;
}

int RenameOutcome::count() const { return static_cast<int>(std::count(done.begin(), done.end(), true)); }

RenameOutcome carryOut(std::span<const RenamePair> pairs, const RenamePlan& plan,
                       const std::function<bool(std::string_view from, std::string_view to)>& rename,
                       const std::function<bool(int reached)>& keepGoing, const EntryChanged& changed) {
    RenameOutcome out;
    out.done.assign(pairs.size(), false);
    auto mark = [&](size_t e, bool done) {
        out.done[e] = done;
        if (changed) changed(static_cast<int>(e), done);
    };
    // Per entry: its old name is free now.
    std::vector<bool> freed(pairs.size(), false);
    auto ready = [&](int e) {
        const int w = plan.waitsFor[static_cast<size_t>(e)];
        return w < 0 || freed[static_cast<size_t>(w)];
    };

    size_t cycleStart = 0;
    bool inCycle = false;
    int reached = 0;
    for (size_t i = 0; i < plan.steps.size(); ++i) {
        const RenamePlan::Step& s = plan.steps[i];
        // Asked inside a cycle too, so that the caller's window lives on through a long one.
        const bool go = !keepGoing || keepGoing(reached);
        if (!go && !inCycle) {
            out.stopped = true;
            break;
        }
        if (s.kind != RenamePlan::Kind::ToTemp) ++reached;
        inCycle = s.kind != RenamePlan::Kind::FromTemp && (inCycle || s.kind == RenamePlan::Kind::ToTemp);
        const size_t e = static_cast<size_t>(s.entry);
        const RenamePair& p = pairs[e];
        switch (s.kind) {
            case RenamePlan::Kind::Move:
                if (ready(s.entry) && rename(p.from, p.to)) {
                    mark(e, true);
                    freed[e] = p.from != p.to;
                }
                break;
            case RenamePlan::Kind::ToTemp:
                cycleStart = i;
                freed[e] = rename(p.from, plan.temps[static_cast<size_t>(s.temp)]);
                break;
            case RenamePlan::Kind::FromTemp: {
                if (!freed[e]) break;  // never moved aside: the whole cycle failed untouched
                const std::string& temp = plan.temps[static_cast<size_t>(s.temp)];
                if (ready(s.entry) && rename(temp, p.to)) {
                    mark(e, true);
                    break;
                }
                // Put the cycle back, newest step first, so that its first entry's name is free again.
                bool back = true;
                for (size_t j = i; back && j-- > cycleStart + 1;) {
                    const size_t d = static_cast<size_t>(plan.steps[j].entry);
                    if (!out.done[d]) continue;
                    back = rename(pairs[d].to, pairs[d].from);
                    if (back) mark(d, false);
                }
                if (back && rename(temp, p.from)) {
                    freed[e] = false;
                    break;
                }
                out.stranded.push_back({s.entry, temp});
                break;
            }
        }
    }
    return out;
}

}  // namespace vb

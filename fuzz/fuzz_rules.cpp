// Every pure name rule on arbitrary bytes: no crash, no hang, and what each rule promises about
// its result.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "check.h"
#include "transforms/rule_add.h"
#include "transforms/rule_chinese_numerals.h"
#include "transforms/rule_delete_around.h"
#include "transforms/rule_delete_between.h"
#include "transforms/rule_delete_n_times.h"
#include "transforms/rule_extension.h"
#include "transforms/rule_insert_at_marker.h"
#include "transforms/rule_numbers.h"
#include "transforms/rule_replace.h"
#include "transforms/rule_trad_simp.h"
#include "transforms/rule_video_number.h"
#include "transforms/symbol_set.h"

using vb::fuzz::bytesFrom;
using vb::fuzz::require;
using Result = std::optional<std::string>;

namespace {

constexpr std::string_view kDigits = "0123456789-";

// out is some prefix of base followed by some suffix of base.
bool cutFrom(std::string_view out, std::string_view base) {
    if (out.size() > base.size()) return false;
    size_t p = 0, s = 0;
    while (p < out.size() && out[p] == base[p]) ++p;
    while (s < out.size() && out[out.size() - 1 - s] == base[base.size() - 1 - s]) ++s;
    return p + s >= out.size();
}

// A skip, or a non-empty name made only of the bytes of sources; valid GBK in (sources and the
// markers searched for), valid GBK out. A marker that is a lone lead byte may match the first
// half of a character, so it takes part in the second check only.
void checkResult(const Result& r, std::initializer_list<std::string_view> sources,
                 std::initializer_list<std::string_view> markers = {}, bool mayBeEmpty = false) {
    if (!r) return;
    require(mayBeEmpty || !r->empty(), "a rule never returns an empty name");
    require(bytesFrom(*r, sources), "a rule only writes bytes of its inputs and its own texts");
    auto valid = [](std::string_view s) { return vb::isValidGbk(s); };
    if (std::all_of(sources.begin(), sources.end(), valid) &&
        std::all_of(markers.begin(), markers.end(), valid))
        require(vb::isValidGbk(*r), "valid GBK in, valid GBK out");
}

vb::Occurrence occurrence(int k) {
    return k == 0 ? vb::Occurrence::None : k == 1 ? vb::Occurrence::First : vb::Occurrence::Last;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const int rule = in.ConsumeIntegralInRange(0, 16);
    const int k = in.ConsumeIntegralInRange(0, 2);
    const bool flag = in.ConsumeBool();
    const bool flag2 = in.ConsumeBool();
    const int n = in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange(-2, 120);
    const std::string a = in.ConsumeRandomLengthString(12);
    const std::string b = in.ConsumeRandomLengthString(12);
    const std::string name = in.ConsumeRemainingBytesAsString();
    const vb::PathStyle paths = flag2 ? vb::PathStyle::windows() : vb::PathStyle::posix();
    vb::fuzz::note({name, a, b}, rule * 1000 + k * 100 + flag * 10 + flag2, n);

    switch (rule) {
        case 0: {
            Result r = vb::addAtStart(name, a);
            require(r && *r == a + name, "add at start");
            r = vb::addAtEndOfFolder(name, a);
            require(r && *r == name + a, "add at end of a folder");
            r = vb::addAtEndOfFile(name, a, paths);
            if (r)
                require(r->size() == paths.finalComponent(name).size() + a.size(), "add at end of a file");
            checkResult(r, {name, a}, {}, true);
            break;
        }
        case 1: {
            Result r = vb::deleteBefore(name, a, occurrence(k), flag);
            if (r) require(vb::fuzz::endsWith(name, *r), "delete before keeps an end");
            checkResult(r, {name}, {a});
            break;
        }
        case 2: {
            Result r = flag2 ? vb::deleteAfterFolder(name, a, occurrence(k))
                             : vb::deleteAfter(name, a, occurrence(k), flag);
            if (r) require(vb::fuzz::startsWith(name, *r), "delete after keeps a start");
            checkResult(r, {name}, {a});
            break;
        }
        case 3: {
            vb::BetweenMarkers m{a, {flag, k == 1}, b, {flag2, k == 2}};
            Result r = vb::deleteBetween(name, m, n % 2 != 0);
            if (r) require(cutFrom(*r, name), "delete between cuts one stretch");
            checkResult(r, {name}, {a, b});
            break;
        }
        case 4: {
            std::optional<int> count = flag ? std::nullopt : std::optional<int>(n);
            Result r =
                vb::deleteNTimes(name, a, count, flag2 ? vb::Direction::FromRight : vb::Direction::FromLeft);
            if (r) {
                size_t removed = name.size() - r->size();
                require(!a.empty() && removed % a.size() == 0 && removed > 0,
                        "delete N times removes whole texts");
                require(removed / a.size() <= static_cast<size_t>(count.value_or(1)), "at most N times");
            }
            checkResult(r, {name}, {a});
            break;
        }
        case 5: {
            vb::ReplaceMode mode = k == 0   ? vb::ReplaceMode::NearStart
                                   : k == 1 ? vb::ReplaceMode::FromLeft
                                            : vb::ReplaceMode::FromRight;
            Result r = vb::replaceText(name, a, b, mode, n);
            if (r) require(*r != name, "replace never returns the unchanged name");
            if (r && mode != vb::ReplaceMode::FromRight && a.size() != b.size()) {
                long long delta = static_cast<long long>(r->size()) - static_cast<long long>(name.size());
                long long step = static_cast<long long>(b.size()) - static_cast<long long>(a.size());
                require(delta % step == 0 && delta / step >= 1, "replace swaps whole texts");
                if (mode == vb::ReplaceMode::NearStart) require(delta == step, "near the start: once");
                if (n >= 0 && mode == vb::ReplaceMode::FromLeft)
                    require(delta / step <= n, "at most N times");
            }
            checkResult(r, {name, b}, {a});
            break;
        }
        case 6: {
            Result r =
                vb::insertAtMarker(name, a, b, occurrence(k), flag ? vb::Side::Before : vb::Side::After);
            if (r) require(r->size() == name.size() + b.size(), "insert adds the text once");
            checkResult(r, {name, b}, {a});
            break;
        }
        case 7: {
            std::string r = vb::sequenceName(name, n, k == 0 ? std::max(n, 1) : 150, a);
            require(vb::fuzz::endsWith(r, a + name), "sequence number in front");
            checkResult(r, {name, a, kDigits}, {}, true);
            (void)vb::sequenceSeparator(n, a);
            break;
        }
        case 8: {
            Result r = vb::padLeadingNumber(name, n);
            if (r) {
                require(r->size() == name.size() + 1 || r->size() == name.size() + 2, "one or two zeros");
                std::string back = *r;
                back.erase(std::mismatch(name.begin(), name.end(), back.begin()).second - back.begin(),
                           r->size() - name.size());
                require(back == name, "only zeros are inserted");
            }
            checkResult(r, {name, "0"});
            break;
        }
        case 9: {
            Result r = vb::insertAfterLeadingNumber(name, a);
            if (r) require(r->size() == name.size() + a.size(), "the symbol is inserted once");
            checkResult(r, {name, a});
            break;
        }
        case 10: {
            Result r = vb::numeralToDigits(name);
            if (r) require(r->size() + 1 == name.size() || r->size() == name.size(), "one numeral replaced");
            checkResult(r, {name, kDigits});
            break;
        }
        case 11: {
            Result r = vb::tradSimpRule(name, flag ? vb::toSimplified(name) : vb::toTraditional(name));
            if (r) {
                require(r->size() == name.size(), "conversion keeps the byte length");
                const std::string starts = vb::fuzz::boundaries(name);
                for (size_t i = 0; i < name.size(); ++i)
                    if (starts[i] && !vb::fuzz::leads(name[i]))
                        require((*r)[i] == name[i], "conversion keeps single-byte characters");
                if (vb::isValidGbk(name)) require(vb::isValidGbk(*r), "conversion keeps valid GBK");
            }
            break;
        }
        case 12: {
            std::string digits = vb::VideoNumberGenerator().next(static_cast<std::uint32_t>(n));
            require(digits.size() == 9 && bytesFrom(digits, {kDigits}), "nine digits");
            std::string r = vb::videoNumberName(name, digits, std::max(n, 1), paths);
            checkResult(r, {name, digits, "(Av,P)", kDigits});
            break;
        }
        case 13: {
            std::string ext = vb::dottedExtension(a);
            require(ext.find('.') != std::string::npos, "an extension has a dot");
            Result r = vb::changeExtension(name, ext, paths, flag);
            if (r) require(vb::fuzz::endsWith(*r, ext), "the new extension ends the name");
            checkResult(r, {name, ext}, {}, true);
            r = vb::appendAfterExtension(name, a);
            if (r) require(*r == name + a, "append after the extension");
            break;
        }
        case 14: {
            std::string pairs;
            for (const auto& p : vb::kSymbolPairs) pairs += std::string(p.chinese) + std::string(p.ascii);
            std::string r = vb::convertSymbols(name, flag ? vb::SymbolSet::Ascii : vb::SymbolSet::Chinese);
            checkResult(r, {name, pairs}, {}, true);
            break;
        }
        case 15: {
            vb::BetweenMarkers m{a, {flag, k == 1}, b, {flag2, k == 2}};
            if (auto span = vb::locateMarkers(name, m)) {
                require(span->p1 >= 1 && span->p2 > span->p1, "T after S");
                require(name.compare(span->p1 - 1, a.size(), a) == 0 &&
                            name.compare(span->p2 - 1, b.size(), b) == 0,
                        "both markers where they were found");
            }
            break;
        }
        case 16: {
            (void)vb::readDeleteCount(name);
            (void)vb::readReplaceCount(name);
            require(vb::containsText(name, a) == (vb::findFirst(name, a) != -1), "counting pass");
            break;
        }
    }
    return 0;
}

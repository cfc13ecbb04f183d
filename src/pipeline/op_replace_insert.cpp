// Replace a text with a count and a direction; insert a text at a marker.
#include "pipeline/operations.h"
#include "pipeline/pipeline.h"
#include "transforms/gbk_text.h"
#include "transforms/rule_insert_at_marker.h"
#include "transforms/rule_replace.h"

namespace vb {
namespace {

// The inputs, by what they hold.
constexpr Ctl kFoundText = Ctl::编辑框4;  // replaced
constexpr Ctl kReplacement = Ctl::编辑框5;
constexpr Ctl kReplaceCount = Ctl::编辑框16;
constexpr Ctl kNearStart = Ctl::单选框7;  // only the symbol after a leading number
constexpr Ctl kFromRight = Ctl::单选框10;
constexpr Ctl kInsertMarker = Ctl::编辑框11;  // insert beside it
constexpr Ctl kInsertedText = Ctl::编辑框12;
constexpr Ctl kMarkerFirst = Ctl::单选框5;  // its first occurrence
constexpr Ctl kMarkerLast = Ctl::单选框6;   // its last occurrence
constexpr Ctl kInsertBefore = Ctl::单选框3;

constexpr Message kRefused{"不能改成这个东西", "信息：", Icon::None};

// The rule gets the base name (or folder name); the extension goes back behind the result.
template <typename F>
std::function<Outcome(const Entry&)> onBase(const PathStyle& paths, F f) {
    return [paths, f](const Entry& e) {
        NameParts p = partsOf(e, paths);
        std::optional<std::string> base = f(p.base);
        if (!base || base->empty()) return Outcome{};
        return Outcome{*base + p.ext};
    };
}

ReplaceMode replaceMode(const Window& w) {
    if (w.checked(kNearStart)) return ReplaceMode::NearStart;
    return w.checked(kFromRight) ? ReplaceMode::FromRight : ReplaceMode::FromLeft;
}

Run prepareReplace(Context& ctx, Branch) {
    const Window& w = ctx.win;
    return {
        onBase(ctx.fs.pathStyle(), [f = w.text(kFoundText), r = w.text(kReplacement), mode = replaceMode(w),
                                    n = readReplaceCount(w.text(kReplaceCount))](
                                       const std::string& base) { return replaceText(base, f, r, mode, n); }),
        {}};
}

bool countReadsZero(const Window& w) {
    const std::string count = w.text(kReplaceCount);
    return !count.empty() && toNumber(count) == 0;
}

Report successReport(const char* prefix) {
    Report r;
    r.shown = true;
    r.whenZero = false;
    r.prefix = prefix;
    r.suffix = "个";
    r.title = "提示";
    return r;
}

const Operation& replaceOp() {
    static const Operation op{
        .guards =
            {
                {GuardPlace::AfterNoDir, emptyText<kFoundText>, {"去掉啥？不能为空", "提示", Icon::Info}},
                {GuardPlace::AfterChecks,
                 [](const Window& w) { return hasRefusedChar(w.text(kReplacement)); }, kRefused},
                {GuardPlace::AfterChecks,
                 countReadsZero,
                 {"替换次数没写对，请重新再写！", "提醒：", Icon::Info}},
            },
        .noDir = {"路径呢？", "提示", Icon::Info},
        .confirm = Confirm::BeforeReading,
        .prepare = prepareReplace,
        .filesReport = successReport("成功改名"),
        .foldersReport = successReport("成功改了"),
    };
    return op;
}

// ---- insert at a marker ---------------------------------------------------------------------

Run prepareInsert(Context& ctx, Branch) {
    const Window& w = ctx.win;
    const Occurrence occ = w.checked(kMarkerFirst)  ? Occurrence::First
                           : w.checked(kMarkerLast) ? Occurrence::Last
                                                    : Occurrence::None;
    const Side side = w.checked(kInsertBefore) ? Side::Before : Side::After;
    return {onBase(ctx.fs.pathStyle(),
                   [marker = w.text(kInsertMarker), text = w.text(kInsertedText), occ,
                    side](const std::string& base) { return insertAtMarker(base, marker, text, occ, side); }),
            {}};
}

const Operation& insertOp() {
    static const Operation op{
        .guards =
            {
                {GuardPlace::First,
                 [](const Window& w) {
                     return w.text(kInsertMarker).empty() || w.text(kInsertedText).empty();
                 },
                 {"弄啥呢？", "信息：", Icon::Info}},
                {GuardPlace::AfterChecks,
                 [](const Window& w) { return hasRefusedChar(w.text(kInsertedText)); }, kRefused},
            },
        .prepare = prepareInsert,
        .filesReport =
            [] {
                Report r;
                r.shown = true;
                r.prefix = "有";
                r.suffix = "个文件被改名成功";
                r.title = "信息：";
                return r;
            }(),
        .foldersReport = usualReport(Icon::None),
    };
    return op;
}

}  // namespace

void onReplace(Context& ctx) { runOperation(ctx, replaceOp()); }
void onInsertAtMarker(Context& ctx) { runOperation(ctx, insertOp()); }

}  // namespace vb

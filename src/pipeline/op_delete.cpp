// Delete before or after a marker, between two markers, or a text N times.
#include "pipeline/operations.h"
#include "pipeline/pipeline.h"
#include "transforms/gbk_text.h"
#include "transforms/rule_delete_around.h"
#include "transforms/rule_delete_between.h"
#include "transforms/rule_delete_n_times.h"

namespace vb {
namespace {

// The inputs, by what they hold.
constexpr Ctl kBeforeMarker = Ctl::编辑框8;  // delete what stands before it
constexpr Ctl kBeforeFirst = Ctl::单选框11;  // its first occurrence
constexpr Ctl kBeforeLast = Ctl::单选框12;   // its last occurrence
constexpr Ctl kBeforeWithMarker = Ctl::选择框3;
constexpr Ctl kAfterMarker = Ctl::编辑框9;  // delete what stands after it
constexpr Ctl kAfterFirst = Ctl::单选框1;
constexpr Ctl kAfterLast = Ctl::单选框2;
constexpr Ctl kAfterWithMarker = Ctl::选择框4;
constexpr Ctl kStartMarker = Ctl::编辑框2;  // delete what stands between the two
constexpr Ctl kEndMarker = Ctl::编辑框3;
constexpr Ctl kBetweenWithMarkers = Ctl::选择框6;
constexpr Ctl kDeletedText = Ctl::编辑框1;  // delete this text N times
constexpr Ctl kDeleteCount = Ctl::编辑框10;
constexpr Ctl kFromLeft = Ctl::单选框13;
constexpr Ctl kFromRight = Ctl::单选框14;

constexpr Message kNothingToDelete{"去掉啥？不能为空", "信息：", Icon::Info};

Occurrence radios(const Window& w, Ctl first, Ctl last) {
    if (w.checked(first)) return Occurrence::First;
    if (w.checked(last)) return Occurrence::Last;
    return Occurrence::None;
}

// The rule gets the base name and the extension is put back behind its result.
template <typename F>
std::function<Outcome(const Entry&)> onBase(const PathStyle& paths, F f) {
    return [paths, f](const Entry& e) {
        NameParts p = partsOf(e, paths);
        std::optional<std::string> base = f(p.base, e.branch);
        if (!base || base->empty()) return Outcome{};
        return Outcome{*base + p.ext};
    };
}

Report countReport(const char* prefix, const char* title) {
    Report r;
    r.shown = true;
    r.prefix = prefix;
    r.suffix = "个";
    r.title = title;
    return r;
}

Run prepareBefore(Context& ctx, Branch) {
    const Window& w = ctx.win;
    return {onBase(ctx.fs.pathStyle(),
                   [marker = w.text(kBeforeMarker), occ = radios(w, kBeforeFirst, kBeforeLast),
                    include = w.checked(kBeforeWithMarker)](const std::string& base, Branch) {
                       return deleteBefore(base, marker, occ, include);
                   }),
            {}};
}

Run prepareAfter(Context& ctx, Branch) {
    const Window& w = ctx.win;
    return {onBase(ctx.fs.pathStyle(),
                   [marker = w.text(kAfterMarker), occ = radios(w, kAfterFirst, kAfterLast),
                    include = w.checked(kAfterWithMarker)](const std::string& base, Branch b) {
                       return b == Branch::Files ? deleteAfter(base, marker, occ, include)
                                                 : deleteAfterFolder(base, marker, occ);
                   }),
            {}};
}

const Operation& before() {
    static const Operation op{
        .guards = {{GuardPlace::First, emptyText<kBeforeMarker>, kNothingToDelete}},
        .prepare = prepareBefore,
        .filesReport = countReport("成功改了", "提示"),
        .foldersReport = countReport("成功改了", "提示"),
    };
    return op;
}

const Operation& after() {
    static const Operation op{
        .guards = {{GuardPlace::First, emptyText<kAfterMarker>, kNothingToDelete}},
        .prepare = prepareAfter,
        .filesReport = countReport("修改了", "修改成果提示"),
        .foldersReport = countReport("修改了", "修改成果提示"),
    };
    return op;
}

// ---- between two markers -------------------------------------------------------------------

Run prepareBetween(Context& ctx, Branch) {
    const Window& w = ctx.win;
    struct Markers {
        std::string start, end;
        OccurrenceBoxes startBoxes, endBoxes;
        BetweenMarkers view() const { return {start, startBoxes, end, endBoxes}; }
    };
    Markers m{w.text(kStartMarker),
              w.text(kEndMarker),
              {w.checked(Ctl::选择框_1头), w.checked(Ctl::选择框_1尾)},
              {w.checked(Ctl::选择框_2头), w.checked(Ctl::选择框_2尾)}};
    const PathStyle paths = ctx.fs.pathStyle();
    const bool include = w.checked(kBetweenWithMarkers);
    return {onBase(paths, [m, include](const std::string& base,
                                       Branch) { return deleteBetween(base, m.view(), include); }),
            [m, paths](const std::string& name, Branch b) {
                std::string base = b == Branch::Files ? splitName(name, paths).base : name;
                return locateMarkers(base, m.view()).has_value();
            }};
}

bool markerMissing(const Window& w) { return w.text(kStartMarker).empty() || w.text(kEndMarker).empty(); }

const Operation& between() {
    static const Message none{"找不到需要改的文件名", "提示", Icon::None};
    static const Operation op{
        .guards = {{GuardPlace::AfterNoDir, markerMissing, kNothingToDelete}},
        .confirm = Confirm::Counted,
        .countedFiles = {"一共有", "个文件将被更名", "确定改名吗？", none},
        .countedFolders = {"总共有", "个需要改名", "确定改名吗？", none},
        .prepare = prepareBetween,
        .filesReport = usualReport(Icon::Info, "个文件被改名"),
        .foldersReport = usualReport(Icon::None, "个文件被改名"),
    };
    return op;
}

// ---- a text N times -------------------------------------------------------------------------

constexpr Message kNotANumber{"输入的不是纯数字", "提示", Icon::Info};

Run prepareNTimes(Context& ctx, Branch branch) {
    const Window& w = ctx.win;
    const std::string d = w.text(kDeletedText);
    const std::optional<int> count = readDeleteCount(w.text(kDeleteCount));
    const Direction dir =
        w.checked(kFromRight) && !w.checked(kFromLeft) ? Direction::FromRight : Direction::FromLeft;
    const PathStyle paths = ctx.fs.pathStyle();
    // A count that reads as 0 renames nothing; files say so once and the run ends.
    if (branch == Branch::Files && count == 0)
        return {[](const Entry&) {
                    return Outcome{std::nullopt, &kNotANumber};
                },
                [d, paths](const std::string& name, Branch) {
                    return containsText(splitName(name, paths).base, d);
                }};
    return {onBase(paths, [d, count, dir](const std::string& base,
                                          Branch) { return deleteNTimes(base, d, count, dir); }),
            [d, paths](const std::string& name, Branch b) {
                return containsText(b == Branch::Files ? splitName(name, paths).base : name, d);
            }};
}

const Operation& nTimes() {
    static const Operation op{
        .guards = {{GuardPlace::AfterNoDir, emptyText<kDeletedText>, kNothingToDelete}},
        .noDir = {"还没选择路径呢", "信息：", Icon::Info},
        .confirm = Confirm::Counted,
        .countedFiles = {"一共有", "个文件将被更名", "请确认", {"找不到需要改的文件名", "提示", Icon::Info}},
        .countedFolders = {"一共有", "个文件将被更名", "请确认", {"没有东西可以改", "没有改动", Icon::Info}},
        .prepare = prepareNTimes,
        .filesReport =
            [] {
                Report r = countReport("删掉了", "修改成果提示");
                r.zero = {"没有任何改动", "没有改动", Icon::None};
                return r;
            }(),
        .foldersReport = usualReport(Icon::None, "个文件被改名"),
    };
    return op;
}

}  // namespace

void onDeleteBefore(Context& ctx) { runOperation(ctx, before()); }
void onDeleteAfter(Context& ctx) { runOperation(ctx, after()); }
void onDeleteBetween(Context& ctx) { runOperation(ctx, between()); }
void onDeleteNTimes(Context& ctx) { runOperation(ctx, nTimes()); }

}  // namespace vb

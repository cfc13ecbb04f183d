// Sequence numbers, leading zeros, a symbol after the number, Chinese numerals to digits.
// These rules work on the whole name.
#include "pipeline/operations.h"
#include "pipeline/pipeline.h"
#include "transforms/rule_chinese_numerals.h"
#include "transforms/rule_numbers.h"

namespace vb {
namespace {

// The inputs, by what they hold.
constexpr Ctl kSequenceSeparator = Ctl::组合框5;  // between the number and the name
constexpr Ctl kSymbolText = Ctl::编辑框13;        // put after a leading number

Run prepareSequence(Context& ctx, Branch) {
    const Window& w = ctx.win;
    const std::string sep = sequenceSeparator(w.selection(kSequenceSeparator), w.text(kSequenceSeparator));
    return {[sep](const Entry& e) { return Outcome{sequenceName(e.name, e.index, e.count, sep)}; }, {}};
}

const Operation& sequence() {
    static const Operation op{
        .guards = {},
        .confirm = Confirm::AfterReading,
        .question = {"将直接更名，确定吗？", "提示", Icon::None},
        .prepare = prepareSequence,
    };
    return op;
}

Run prepareZeros(Context&, Branch) {
    return {[](const Entry& e) { return Outcome{padLeadingNumber(e.name, e.count)}; }, {}};
}

Report zerosReport(const char* prefix, const char* suffix) {
    Report r;
    r.shown = true;
    r.prefix = prefix;
    r.suffix = suffix;
    r.title = "修改成果如下";
    r.icon = Icon::Info;
    return r;
}

const Operation& zeros() {
    static const Operation op{
        .guards = {},
        .prepare = prepareZeros,
        .filesReport = zerosReport("改了", "个"),
        .foldersReport = zerosReport("", "个文件被更名"),
    };
    return op;
}

Run prepareSymbol(Context& ctx, Branch) {
    return {[symbol = ctx.win.text(kSymbolText)](const Entry& e) {
                return Outcome{insertAfterLeadingNumber(e.name, symbol)};
            },
            {}};
}

const Operation& symbol() {
    static const Operation op{
        .guards = {{GuardPlace::AfterNoDir, emptyText<kSymbolText>, {"加什么？", "信息：", Icon::Info}}},
        .prepare = prepareSymbol,
    };
    return op;
}

Run prepareNumerals(Context&, Branch) {
    return {[](const Entry& e) { return Outcome{numeralToDigits(e.name)}; }, {}};
}

const Operation& numerals() {
    static const Report report = [] {
        Report r;
        r.shown = true;
        r.prefix = "总共更改";
        r.suffix = "个";
        r.title = "更名数量";
        return r;
    }();
    static const Operation op{
        .guards = {}, .prepare = prepareNumerals, .filesReport = report, .foldersReport = report};
    return op;
}

}  // namespace

void onSequenceNumbers(Context& ctx) { runOperation(ctx, sequence()); }
void onLeadingZeros(Context& ctx) { runOperation(ctx, zeros()); }
void onSymbolAfterNumber(Context& ctx) { runOperation(ctx, symbol()); }
void onChineseNumerals(Context& ctx) { runOperation(ctx, numerals()); }

}  // namespace vb

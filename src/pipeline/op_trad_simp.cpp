// Traditional / simplified Chinese over the whole name, character for character.
#include "pipeline/operations.h"
#include "pipeline/pipeline.h"
#include "transforms/rule_trad_simp.h"

namespace vb {
namespace {

constexpr Ctl kToSimplified = Ctl::单选框15;  // the input: which way, else 单选框16 to traditional

Run prepareTradSimp(Context& ctx, Branch) {
    return {[&chinese = ctx.chinese, toSimplified = ctx.win.checked(kToSimplified)](const Entry& e) {
                return Outcome{tradSimpRule(e.name, chinese.map(e.name, toSimplified))};
            },
            {}};
}

const Operation& tradSimp() {
    static const Operation op{
        .guards = {},
        .prepare = prepareTradSimp,
        .filesReport = usualReport(Icon::None, "个文件被改名"),
        .foldersReport = usualReport(Icon::None, "个文件被改名"),
    };
    return op;
}

}  // namespace

void onTradSimp(Context& ctx) { runOperation(ctx, tradSimp()); }

}  // namespace vb

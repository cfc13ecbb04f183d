// Add a text at the start or at the end of names.
#include "fileset/fileset.h"
#include "pipeline/operations.h"
#include "pipeline/pipeline.h"
#include "transforms/gbk_text.h"
#include "transforms/rule_add.h"

namespace vb {
namespace {

// The inputs, by what they hold.
constexpr Ctl kStartText = Ctl::编辑框6;  // put before each name
constexpr Ctl kEndText = Ctl::编辑框7;    // put after each name, before a file's extension

constexpr Message kNothingToAdd{"加点啥？不能为空", "信息：", Icon::Info};

Run prepareAtStart(Context& ctx, Branch) {
    return {[text = ctx.win.text(kStartText)](const Entry& e) { return Outcome{addAtStart(e.name, text)}; },
            {}};
}

Run prepareAtEnd(Context& ctx, Branch) {
    const PathStyle paths = ctx.fs.pathStyle();
    return {[text = ctx.win.text(kEndText), paths](const Entry& e) {
                if (e.branch == Branch::Files) return Outcome{addAtEndOfFile(e.name, text, paths)};
                // A folder's preview splits its name like a file's; the direct rename does not.
                if (e.preview) return Outcome{splitName(e.name, paths).base + text};
                return Outcome{addAtEndOfFolder(e.name, text)};
            },
            {}};
}

const Operation& atStart() {
    static const Operation op{
        .guards = {{GuardPlace::First, [](const Window& w) { return w.text(kStartText).empty(); },
                    kNothingToAdd}},
        .prepare = prepareAtStart,
    };
    return op;
}

const Operation& atEnd() {
    static const Operation op{
        .guards = {{GuardPlace::First, [](const Window& w) { return w.text(kEndText).empty(); },
                    kNothingToAdd}},
        .prepare = prepareAtEnd,
        .filesReport = usualReport(),
        .foldersReport = usualReport(),
    };
    return op;
}

}  // namespace

void onAddAtStart(Context& ctx) { runOperation(ctx, atStart()); }
void onAddAtEnd(Context& ctx) { runOperation(ctx, atEnd()); }

}  // namespace vb

// The simulated video number: files only, straight from a fresh search, never previewed.
#include <memory>

#include "fileset/fileset.h"
#include "pipeline/operations.h"
#include "pipeline/pipeline.h"
#include "transforms/rule_video_number.h"

namespace vb {
namespace {

Run prepareVideo(Context& ctx, Branch) {
    // Only the "*.*" search honours the skip filter; a skipped entry keeps its position.
    const bool skipping = searchPattern(ctx.win) == "*.*";
    return {[skip = skipRule(ctx.win), skipping, paths = ctx.fs.pathStyle(), &clock = ctx.clock,
             numbers = std::make_shared<VideoNumberGenerator>()](const Entry& e) {
                if (skipping && skip.hides(e.name, paths)) return Outcome{};
                return Outcome{videoNumberName(e.name, numbers->next(clock.tickCount()), e.index, paths)};
            },
            {}};
}

const Operation& video() {
    static const Operation op{
        .guards = {{GuardPlace::AfterNoDir,
                    [](const Window& w) { return w.checked(Ctl::选择框_文件夹); },
                    {"此功能无法对文件夹进行操作，请选择文件", "信息：", Icon::Info}}},
        .source = Source::DirectoryScan,
        .confirm = Confirm::DirectOnly,
        .question = {"不提供预览功能，将直接改名，确定吗？", "提示", Icon::None},
        .prepare = prepareVideo,
        .writeRowByName = true,
    };
    return op;
}

}  // namespace

void onVideoNumber(Context& ctx) { runOperation(ctx, video()); }

}  // namespace vb

// Change the extension, append after the extension. Files only, always from the name list.
#include "pipeline/operations.h"
#include "pipeline/pipeline.h"
#include "transforms/rule_extension.h"

namespace vb {
namespace {

// The inputs, by what they hold.
constexpr Ctl kNewExtension = Ctl::组合框_修改扩展;
constexpr Ctl kAppendedText = Ctl::编辑框18;  // put after the extension

bool foldersTicked(const Window& w) { return w.checked(Ctl::选择框_文件夹); }

Run prepareChange(Context& ctx, Branch) {
    Window& win = ctx.win;
    const PathStyle paths = ctx.fs.pathStyle();
    return {[&win, paths](const Entry& e) {
                // A typed extension without a dot gets one, and the box shows it from then on.
                if (win.selection(kNewExtension) == -1) {
                    std::string typed = win.text(kNewExtension);
                    std::string dotted = dottedExtension(typed);
                    if (dotted != typed) win.setText(kNewExtension, dotted);
                }
                return Outcome{changeExtension(e.name, win.text(kNewExtension), paths, !e.preview)};
            },
            {}};
}

Run prepareAppend(Context& ctx, Branch) {
    return {[text = ctx.win.text(kAppendedText)](const Entry& e) {
                return Outcome{appendAfterExtension(e.name, text)};
            },
            {}};
}

const Operation& change() {
    static const Operation op{
        .guards =
            {
                {GuardPlace::First,
                 [](const Window& w) { return w.text(kNewExtension).empty(); },
                 {"准备改成什么后缀？请先选择或手动输入", "信息：", Icon::Info}},
                {GuardPlace::AfterChecks,
                 foldersTicked,
                 {"文件夹没有改后缀一说，请勾选文件", "提示", Icon::Info}},
            },
        .source = Source::ListOnly,
        .prepare = prepareChange,
        .filesReport = usualReport(Icon::None, "个文件被改名"),
    };
    return op;
}

const Operation& append() {
    static const Operation op{
        .guards =
            {
                {GuardPlace::First,
                 [](const Window& w) { return w.text(kAppendedText).empty(); },
                 {"加点啥？不能为空", "信息：", Icon::Info}},
                {GuardPlace::First, foldersTicked, {"此功能无法对文件夹进行修改", "信息：", Icon::Info}},
            },
        .source = Source::ListOnly,
        .prepare = prepareAppend,
        .filesReport = usualReport(Icon::None),
    };
    return op;
}

}  // namespace

void onChangeExtension(Context& ctx) { runOperation(ctx, change()); }
void onAppendAfterExtension(Context& ctx) { runOperation(ctx, append()); }

}  // namespace vb

#include "app/option_handlers.h"

#include <optional>

#include "transforms/symbol_set.h"

namespace vb {
namespace {

void untickPartner(Context& ctx, Ctl clicked, Ctl partner) {
    if (ctx.win.checked(clicked)) ctx.win.setChecked(partner, false);
}

void captionWhenSelected(Context& ctx, Ctl radio, Ctl button, const char* caption) {
    if (ctx.win.checked(radio)) ctx.win.setText(button, caption);
}

}  // namespace

void onStartFirstClicked(Context& ctx) { untickPartner(ctx, Ctl::选择框_1头, Ctl::选择框_1尾); }
void onStartLastClicked(Context& ctx) { untickPartner(ctx, Ctl::选择框_1尾, Ctl::选择框_1头); }
void onEndFirstClicked(Context& ctx) { untickPartner(ctx, Ctl::选择框_2头, Ctl::选择框_2尾); }
void onEndLastClicked(Context& ctx) { untickPartner(ctx, Ctl::选择框_2尾, Ctl::选择框_2头); }

void onInsertBeforeClicked(Context& ctx) {
    captionWhenSelected(ctx, Ctl::单选框3, Ctl::按钮_在某物前后加, "前面加");
}
void onInsertAfterClicked(Context& ctx) {
    captionWhenSelected(ctx, Ctl::单选框4, Ctl::按钮_在某物前后加, "后面加");
}
void onToSimplifiedClicked(Context& ctx) {
    captionWhenSelected(ctx, Ctl::单选框15, Ctl::按钮_繁简, "繁转简");
}
void onToTraditionalClicked(Context& ctx) {
    captionWhenSelected(ctx, Ctl::单选框16, Ctl::按钮_繁简, "简转繁");
}

void onSymbolSetChosen(Context& ctx) {
    const std::string item = ctx.win.text(Ctl::组合框1);
    std::optional<SymbolSet> to;
    if (item == "英文符号" || item == "B站括号")
        to = SymbolSet::Ascii;
    else if (item == "中文符号")
        to = SymbolSet::Chinese;
    if (!to) return;
    for (Ctl box : {Ctl::编辑框1, Ctl::编辑框2, Ctl::编辑框3})
        ctx.win.setText(box, convertSymbols(ctx.win.text(box), *to));
}

}  // namespace vb

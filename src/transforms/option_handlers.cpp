#include "transforms/option_handlers.h"

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

}  // namespace vb

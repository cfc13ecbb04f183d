// The three extension combo boxes: fill the drop-down, narrow it while typing, apply a filter.
#include "fileset/extensions.h"
#include "fileset/fileset.h"

namespace vb {
namespace {

constexpr const char* kOnlyFirst = "所有";
constexpr const char* kSkipFirst = "不跳";
constexpr const char* kNoFirst = "";

void setItems(Window& win, Ctl c, const std::vector<std::string>& items) {
    win.clearItems(c);
    for (const auto& item : items) win.addItem(c, item);
}

// A typed text keeps whatever items the typing left.
void fill(Context& ctx, Ctl c, const char* first) {
    if (!ctx.win.text(c).empty()) return;
    setItems(ctx.win, c, fullExtensionItems(first));
}

void narrow(Context& ctx, Ctl c, const char* first) {
    std::string typed = ctx.win.text(c);
    ctx.win.clearItems(c);  // the selection becomes -1: a typed text is no chosen item
    ctx.win.setText(c, typed);
    for (const auto& item : narrowedExtensionItems(typed, first)) ctx.win.addItem(c, item);
}

}  // namespace

void onFilterChosen(Context& ctx) {
    ctx.win.clearRows();
    if (ctx.win.checked(Ctl::选择框_文件)) reList(ctx);
}

void onOnlyExtEdited(Context& ctx) { narrow(ctx, Ctl::组合框_仅检索, kOnlyFirst); }
void onOnlyExtOpening(Context& ctx) { fill(ctx, Ctl::组合框_仅检索, kOnlyFirst); }
void onSkipExtEdited(Context& ctx) { narrow(ctx, Ctl::组合框_跳过扩展, kSkipFirst); }
void onSkipExtOpening(Context& ctx) { fill(ctx, Ctl::组合框_跳过扩展, kSkipFirst); }
void onTargetExtEdited(Context& ctx) { narrow(ctx, Ctl::组合框_修改扩展, kNoFirst); }
void onTargetExtOpening(Context& ctx) { fill(ctx, Ctl::组合框_修改扩展, kNoFirst); }

}  // namespace vb

#include "app/startup.h"

#include "pipeline/journal.h"

namespace vb {
namespace {

constexpr Ctl kTickedAtStart[] = {
    Ctl::选择框_窗口置顶, Ctl::选择框_文件, Ctl::选择框6,  Ctl::单选框2,  Ctl::单选框7,  Ctl::单选框9,
    Ctl::单选框5,         Ctl::单选框3,     Ctl::单选框11, Ctl::单选框13, Ctl::单选框17, Ctl::单选框15,
};
constexpr Ctl kPlaceholders[] = {Ctl::编辑框14, Ctl::编辑框15};

}  // namespace

void onCreated(Context& ctx) {
    for (Ctl c : kTickedAtStart) ctx.win.setChecked(c, true);
    for (Ctl c : kPlaceholders) ctx.win.setTextColor(c, kGrey);
    ctx.win.setSelection(Ctl::组合框_跳过扩展, -1);
    // The on-top box starts ticked without its click running; the window agrees with it.
    ctx.win.setTopmost(true);
    // A batch that a crash cut short is put right before anything else happens.
    recoverInterruptedBatch(ctx.fs, ctx.dlg);
}

void onClosing(Context& ctx) { ctx.win.closeSecondWindow(); }

void onTopmostClicked(Context& ctx) { ctx.win.setTopmost(ctx.win.checked(Ctl::选择框_窗口置顶)); }

void onPictureButton(Context& ctx) { ctx.win.openSecondWindow(); }

void onCloseSecondWindow(Context& ctx) { ctx.win.closeSecondWindow(); }

void onOpenForumPage(Context& ctx) { ctx.shell.openUrl(kForumUrl); }

}  // namespace vb

#include "app/bindings.h"

#include "app/startup.h"
#include "transforms/option_handlers.h"
#include "transforms/symbol_set.h"

namespace vb {
namespace {

constexpr Binding kBindings[] = {
    {Ctl::主窗口, Event::Created, onCreated},
    {Ctl::主窗口, Event::Closing, onClosing},
    {Ctl::选择框_窗口置顶, Event::Click, onTopmostClicked},
    {Ctl::图形按钮1, Event::Click, onPictureButton},
    {Ctl::按钮1, Event::Click, onCloseSecondWindow},
    {Ctl::按钮2, Event::Click, onOpenForumPage},
    {Ctl::选择框_1头, Event::Click, onStartFirstClicked},
    {Ctl::选择框_1尾, Event::Click, onStartLastClicked},
    {Ctl::选择框_2头, Event::Click, onEndFirstClicked},
    {Ctl::选择框_2尾, Event::Click, onEndLastClicked},
    {Ctl::组合框1, Event::ItemChosen, onSymbolSetChosen},
    {Ctl::单选框3, Event::Click, onInsertBeforeClicked},
    {Ctl::单选框4, Event::Click, onInsertAfterClicked},
    {Ctl::单选框15, Event::Click, onToSimplifiedClicked},
    {Ctl::单选框16, Event::Click, onToTraditionalClicked},
};

}  // namespace

std::span<const Binding> bindings() { return kBindings; }

Handler findHandler(Ctl control, Event event) {
    for (const auto& b : kBindings)
        if (b.control == control && b.event == event) return b.handler;
    return nullptr;
}

bool dispatch(Context& ctx, Ctl control, Event event) {
    Handler h = findHandler(control, event);
    if (!h) return false;
    h(ctx);
    return true;
}

}  // namespace vb

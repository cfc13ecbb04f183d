#include "app/bindings.h"

#include "app/startup.h"

namespace vb {
namespace {

constexpr Binding kBindings[] = {
    {Ctl::主窗口, Event::Created, onCreated},
    {Ctl::主窗口, Event::Closing, onClosing},
    {Ctl::选择框_窗口置顶, Event::Click, onTopmostClicked},
    {Ctl::图形按钮1, Event::Click, onPictureButton},
    {Ctl::按钮1, Event::Click, onCloseSecondWindow},
    {Ctl::按钮2, Event::Click, onOpenForumPage},
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

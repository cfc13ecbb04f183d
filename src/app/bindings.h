// The event bindings: (control, event) -> operation. Both front ends dispatch through it.
#pragma once

#include <span>

#include "platform/ports.h"

namespace vb {

enum class Event {
    Created,      // 主窗口
    Closing,      // 主窗口
    Click,        // buttons, picture button, check boxes, radio buttons
    ItemChosen,   // combo boxes
    TextEdited,   // combo boxes
    ListOpening,  // combo boxes
    LeftClick,    // 超级列表框1
    RightClick,   // 超级列表框1
    MenuChosen,   // 上移, 下移, 删除
    GotFocus,     // edit boxes
};

using Handler = void (*)(Context&);

struct Binding {
    Ctl control;
    Event event;
    Handler handler;
};

std::span<const Binding> bindings();
Handler findHandler(Ctl control, Event event);
// Runs the bound handler; false when the event has no binding.
bool dispatch(Context& ctx, Ctl control, Event event);

}  // namespace vb

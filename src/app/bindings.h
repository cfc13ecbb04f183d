// The event bindings: (control, event) -> operation. Both front ends dispatch through it.
#pragma once

#include <span>

#include "platform/context.h"
#include "window/events.h"

namespace vb {

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

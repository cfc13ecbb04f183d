// The control events a front end reports; the bindings map each (control, event) to a handler.
#pragma once

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

}  // namespace vb

// Start and end of the main window, the on-top switch and the second window.
#pragma once

#include "platform/context.h"

namespace vb {

void onCreated(Context& ctx);            // initial control states; an interrupted batch put right
void onClosing(Context& ctx);            // nothing to release beyond what the front end owns
void onTopmostClicked(Context& ctx);     // 选择框_窗口置顶
void onPictureButton(Context& ctx);      // 图形按钮1: the "感谢有你" window
void onCloseSecondWindow(Context& ctx);  // 按钮1 there
void onOpenForumPage(Context& ctx);      // 按钮2 there

// Our page; a placeholder under a reserved example domain until we have one.
inline constexpr const char* kForumUrl =
    "https://forum.example.org/forum.php?mod=viewthread&tid=1&page=1#pid1";

}  // namespace vb

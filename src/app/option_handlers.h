// Handlers of the option controls that only adjust other controls.
#pragma once

#include "platform/context.h"

namespace vb {

// The occurrence boxes of the two delete-between markers: ticking one unticks its partner.
void onStartFirstClicked(Context& ctx);  // 选择框_1头
void onStartLastClicked(Context& ctx);   // 选择框_1尾
void onEndFirstClicked(Context& ctx);    // 选择框_2头
void onEndLastClicked(Context& ctx);     // 选择框_2尾

// The captions that show the chosen side or direction.
void onInsertBeforeClicked(Context& ctx);   // 单选框3: 按钮_在某物前后加 "前面加"
void onInsertAfterClicked(Context& ctx);    // 单选框4: "后面加"
void onToSimplifiedClicked(Context& ctx);   // 单选框15: 按钮_繁简 "繁转简"
void onToTraditionalClicked(Context& ctx);  // 单选框16: "简转繁"

// 组合框1 item chosen: converts the texts of 编辑框1, 编辑框2 and 编辑框3 to the chosen symbols.
void onSymbolSetChosen(Context& ctx);

}  // namespace vb

// The rename buttons, preview, execute and undo.
#pragma once

#include "platform/context.h"

namespace vb {

void onAddAtStart(Context& ctx);            // 按钮_最前面加
void onAddAtEnd(Context& ctx);              // 按钮_最后面加
void onChangeExtension(Context& ctx);       // 按钮_改扩展
void onAppendAfterExtension(Context& ctx);  // 按钮_扩展名后面加
void onDeleteBefore(Context& ctx);          // 按钮_删前面
void onDeleteAfter(Context& ctx);           // 按钮_删后面
void onDeleteBetween(Context& ctx);         // 按钮_一键删除
void onDeleteNTimes(Context& ctx);          // 按钮_删掉N次
void onReplace(Context& ctx);               // 按钮_替换
void onInsertAtMarker(Context& ctx);        // 按钮_在某物前后加
void onSequenceNumbers(Context& ctx);       // 按钮_加序号
void onLeadingZeros(Context& ctx);          // 按钮_改01
void onSymbolAfterNumber(Context& ctx);     // 按钮_数字后加符号
void onChineseNumerals(Context& ctx);       // 按钮_第一课改第1课
void onTradSimp(Context& ctx);              // 按钮_繁简
void onVideoNumber(Context& ctx);           // 按钮_模拟B站AV

void onPreviewSwitch(Context& ctx);  // 按钮_打开预览
void onExecute(Context& ctx);        // 按钮_确认无误执行吧
void onUndo(Context& ctx);           // 按钮_撤回上一步

}  // namespace vb

#include "app/bindings.h"

#include "app/option_handlers.h"
#include "app/startup.h"
#include "fileops/fileops.h"
#include "fileset/fileset.h"
#include "pipeline/operations.h"

namespace vb {
namespace {

constexpr Binding kBindings[] = {
    {Ctl::主窗口, Event::Created, onCreated},
    {Ctl::主窗口, Event::Closing, onClosing},
    {Ctl::选择框_窗口置顶, Event::Click, onTopmostClicked},
    {Ctl::图形按钮1, Event::Click, onPictureButton},
    {Ctl::按钮1, Event::Click, onCloseSecondWindow},
    {Ctl::按钮2, Event::Click, onOpenForumPage},
    {Ctl::按钮_手动读取, Event::Click, manualRead},
    {Ctl::选择框_文件, Event::Click, onFilesBoxClicked},
    {Ctl::选择框_文件夹, Event::Click, onFoldersBoxClicked},
    {Ctl::组合框_仅检索, Event::ItemChosen, onFilterChosen},
    {Ctl::组合框_仅检索, Event::TextEdited, onOnlyExtEdited},
    {Ctl::组合框_仅检索, Event::ListOpening, onOnlyExtOpening},
    {Ctl::组合框_跳过扩展, Event::ItemChosen, onFilterChosen},
    {Ctl::组合框_跳过扩展, Event::TextEdited, onSkipExtEdited},
    {Ctl::组合框_跳过扩展, Event::ListOpening, onSkipExtOpening},
    {Ctl::组合框_修改扩展, Event::TextEdited, onTargetExtEdited},
    {Ctl::组合框_修改扩展, Event::ListOpening, onTargetExtOpening},
    {Ctl::超级列表框1, Event::LeftClick, onListLeftClick},
    {Ctl::超级列表框1, Event::RightClick, onListRightClick},
    {Ctl::上移, Event::MenuChosen, onMoveUp},
    {Ctl::下移, Event::MenuChosen, onMoveDown},
    {Ctl::删除, Event::MenuChosen, onRemoveRow},
    {Ctl::按钮_顺序调头, Event::Click, onReverseOrder},
    {Ctl::按钮_清空列表框, Event::Click, onClearList},
    {Ctl::按钮_清空输入框, Event::Click, onClearInputs},
    {Ctl::按钮_打开预览, Event::Click, onPreviewSwitch},
    {Ctl::按钮_确认无误执行吧, Event::Click, onExecute},
    {Ctl::按钮_撤回上一步, Event::Click, onUndo},
    {Ctl::按钮_最前面加, Event::Click, onAddAtStart},
    {Ctl::按钮_最后面加, Event::Click, onAddAtEnd},
    {Ctl::按钮_改扩展, Event::Click, onChangeExtension},
    {Ctl::按钮_扩展名后面加, Event::Click, onAppendAfterExtension},
    {Ctl::按钮_删前面, Event::Click, onDeleteBefore},
    {Ctl::按钮_删后面, Event::Click, onDeleteAfter},
    {Ctl::按钮_一键删除, Event::Click, onDeleteBetween},
    {Ctl::按钮_删掉N次, Event::Click, onDeleteNTimes},
    {Ctl::按钮_替换, Event::Click, onReplace},
    {Ctl::按钮_在某物前后加, Event::Click, onInsertAtMarker},
    {Ctl::按钮_加序号, Event::Click, onSequenceNumbers},
    {Ctl::按钮_改01, Event::Click, onLeadingZeros},
    {Ctl::按钮_数字后加符号, Event::Click, onSymbolAfterNumber},
    {Ctl::按钮_第一课改第1课, Event::Click, onChineseNumerals},
    {Ctl::按钮_繁简, Event::Click, onTradSimp},
    {Ctl::按钮_模拟B站AV, Event::Click, onVideoNumber},
    {Ctl::选择框_1头, Event::Click, onStartFirstClicked},
    {Ctl::选择框_1尾, Event::Click, onStartLastClicked},
    {Ctl::选择框_2头, Event::Click, onEndFirstClicked},
    {Ctl::选择框_2尾, Event::Click, onEndLastClicked},
    {Ctl::组合框1, Event::ItemChosen, onSymbolSetChosen},
    {Ctl::单选框3, Event::Click, onInsertBeforeClicked},
    {Ctl::单选框4, Event::Click, onInsertAfterClicked},
    {Ctl::单选框15, Event::Click, onToSimplifiedClicked},
    {Ctl::单选框16, Event::Click, onToTraditionalClicked},
    {Ctl::按钮_删除文件, Event::Click, onDeleteListed},
    {Ctl::按钮14, Event::Click, onCreateEntries},
    {Ctl::编辑框14, Event::GotFocus, onTargetBoxFocused},
    {Ctl::编辑框15, Event::GotFocus, onExtBoxFocused},
    {Ctl::按钮_保存到txt, Event::Click, onSaveNames},
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

#include <string>

#include "fileops/fileops.h"

namespace vb {
namespace {

constexpr const char* kTitle = "提醒：";
constexpr const char* kNothingToSave = "没有什么可以保存的";
constexpr const char* kSaved = "已将原文件名存入txt文档内，\r\n并已将txt文档保存到本软件的同级文件夹";
constexpr const char* kFailed = "保存失败";

}  // namespace

void onSaveNames(Context& ctx) {
    const int rows = ctx.win.rowCount();
    if (rows == 0) {
        ctx.dlg.messageBox(kNothingToSave, kTitle, Icon::Info, Buttons::Ok);
        return;
    }
    std::string text;
    for (int r = 0; r < rows; ++r) {
        std::string name = ctx.win.cell(r, 0);
        if (name.empty()) continue;
        text += name;
        text += "\r\n";
    }
    std::string path = ctx.fs.programDir();
    path = ctx.fs.pathStyle().asFolder(std::move(path));
    path += kNamesFile;
    // Written aside and moved into place: a failed save leaves the previous file whole.
    bool saved = ctx.fs.replaceFile(path, text);
    ctx.dlg.messageBox(saved ? kSaved : kFailed, kTitle, Icon::Info, Buttons::Ok);
}

}  // namespace vb

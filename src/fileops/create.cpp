#include <string>

#include "fileops/fileops.h"
#include "fileset/fileset.h"
#include "transforms/gbk_text.h"

namespace vb {
namespace {

constexpr const char* kCreatedTitle = "创建成果提示";
constexpr const char* kNothingTitle = "没有发生任何变化";
constexpr const char* kNothing = "什么都没有创建";

void clearPlaceholder(Context& ctx, Ctl box, const char* placeholder) {
    if (ctx.win.text(box) == placeholder) ctx.win.setText(box, "");
    ctx.win.setTextColor(box, kDefaultColor);
}

}  // namespace

void onTargetBoxFocused(Context& ctx) { clearPlaceholder(ctx, Ctl::编辑框14, kTargetPlaceholder); }

void onExtBoxFocused(Context& ctx) { clearPlaceholder(ctx, Ctl::编辑框15, kExtPlaceholder); }

void onCreateEntries(Context& ctx) {
    std::string target = ctx.win.text(Ctl::编辑框14);
    if (workingDir(ctx.win).empty() || target.empty() || target == kTargetPlaceholder) {
        ctx.dlg.messageBox(kNoPath, kInfoTitle, Icon::Info, Buttons::Ok);
        return;
    }
    const PathStyle paths = ctx.fs.pathStyle();
    target = paths.asFolder(std::move(target));
    const std::string ext = ctx.win.text(Ctl::编辑框15);
    const bool folderMode = ext.empty() || ext == kExtPlaceholder;
    // A separator in the typed extension would put every file somewhere else.
    const bool extOk = folderMode || paths.isPlainName(ext);
    // A typed target that is not absolute would land wherever the process happens to be.
    const bool targetOk = paths.isAbsolute(target);

    // Held for every entry: a target swapped for a link meanwhile never receives one.
    const std::unique_ptr<OpenFolder> folder = targetOk ? ctx.fs.openFolder(target) : nullptr;
    if (replacedSinceListing(ctx.listed, folder.get(), target)) {
        ctx.dlg.messageBox(kFolderReplacedText, "提醒：", Icon::Info, Buttons::Ok);
        return;
    }
    int created = 0;
    const int rows = ctx.win.rowCount();
    ProgressRun run(ctx.progress, "新建中", rows);
    for (int r = 0; r < rows && run.next(r); ++r) {
        const std::string row = ctx.win.cell(r, 0);
        const std::string base = splitName(row, paths).base;
        if (base.empty()) continue;
        if (!folder || !extOk || !paths.isPlainName(row) || !paths.isPlainName(base)) continue;
        // A file of that name already there is left alone and not counted.
        bool ok = folderMode ? folder->createFolder(base)
                             : folder->createNewFile(base + ext, std::string(kTestFileContent));
        if (ok) ++created;
    }
    if (created > 0)
        ctx.dlg.messageBox("成功创建" + decimal(created) + "个文件夹", kCreatedTitle, Icon::Info,
                           Buttons::Ok);
    else
        ctx.dlg.messageBox(kNothing, kNothingTitle, Icon::Info, Buttons::Ok);
}

}  // namespace vb

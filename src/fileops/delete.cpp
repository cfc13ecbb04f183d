#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fileops/fileops.h"
#include "fileset/fileset.h"
#include "transforms/gbk_text.h"

namespace vb {
namespace {

constexpr const char* kEmptyList = "列表框是空的";
constexpr const char* kAskTitle = "提示";
constexpr const char* kAskDelete = "确定删除吗？";
constexpr const char* kAskRecycle = "确定删除到回收站吗？";
constexpr const char* kDeleting = "删除中";

// Empties an open folder, keeping names that begin with ".". Each sub-folder is opened inside
// its parent and held while it is emptied, so one swapped for a link is never walked into.
void emptyFolder(OpenFolder& folder, const std::function<void()>& alive) {
    for (const DirEntry& e : folder.entries()) {
        if (e.name.empty() || e.name[0] == '.') continue;
        if (alive) alive();
        if (!e.isDir) {
            folder.deleteEntry(e.name);
        } else if (std::unique_ptr<OpenFolder> sub = folder.openSubfolder(e.name)) {
            emptyFolder(*sub, alive);
            sub.reset();  // a held folder cannot be removed
            folder.removeFolder(e.name);
        } else {
            // No longer a real folder (a link put in its place): only the entry itself goes.
            folder.deleteEntry(e.name);
        }
    }
}

enum class Pass { Files, Folders };

// One pass over the rows; false when the user cancelled or stopped it, which ends the whole
// operation.
bool runPass(Context& ctx, OpenFolder* folder, const std::string& dir, Pass pass, bool direct) {
    const PathStyle paths = ctx.fs.pathStyle();
    const int rows = ctx.win.rowCount();
    int r = 0;
    while (r < rows && ctx.win.cell(r, 0).empty()) ++r;
    if (r == rows) return true;
    if (ctx.dlg.messageBox(direct ? kAskDelete : kAskRecycle, kAskTitle, Icon::None, Buttons::OkCancel) ==
        kAnswerCancel)
        return false;
    ProgressRun run(ctx.progress, kDeleting, rows);
    for (; r < rows; ++r) {
        if (!run.next(r)) return false;
        std::string name = ctx.win.cell(r, 0);
        if (name.empty() || !paths.isPlainName(name)) continue;
        if (!folder) continue;  // no folder there: nothing to delete
        if (!direct) {
            // The shell takes a path: it must still lead into the folder held.
            if (!sameFolder(ctx.fs, *folder, dir)) {
                ctx.dlg.messageBox(kFolderMoved, kInfoTitle, Icon::Info, Buttons::Ok);
                return false;
            }
            ctx.fs.recycle(dir + name);
        } else if (pass == Pass::Files) {
            folder->deleteEntry(name);
        } else if (!deleteTree(*folder, name, [&] { run.next(r); })) {
            // Not a real folder: a link to one loses only the link; anything else stays.
            folder->removeFolderLink(name);
        }
    }
    return true;
}

}  // namespace

bool deleteTree(FileSystem& fs, std::string_view path, const std::function<void()>& alive) {
    const PathStyle paths = fs.pathStyle();
    const size_t lead = path.find_first_not_of(' ');
    path = lead == std::string_view::npos ? std::string_view() : path.substr(lead);
    path = paths.withoutTrailingSeparators(path);
    // A root ("/", "C:") has no folder above it to hold; "x/.." and "x/." would name one above.
    const size_t start = paths.finalComponentStart(path);
    if (start == std::string_view::npos) return false;
    const std::string name(path.substr(start));
    if (name.empty() || name == "." || name == "..") return false;
    std::unique_ptr<OpenFolder> parent = fs.openFolder(std::string(path.substr(0, start)));
    return parent && deleteTree(*parent, name, alive);
}

bool deleteTree(OpenFolder& parent, const std::string& name, const std::function<void()>& alive) {
    std::unique_ptr<OpenFolder> top = parent.openSubfolder(name);
    if (!top) return false;
    emptyFolder(*top, alive);
    top.reset();
    return parent.removeFolder(name);
}

bool sameFolder(FileSystem& fs, OpenFolder& held, const std::string& dir) {
    const std::unique_ptr<OpenFolder> now = fs.openFolder(dir);
    return now && now->id() == held.id();
}

void onDeleteListed(Context& ctx) {
    const bool files = ctx.win.checked(Ctl::选择框_文件);
    const bool folders = ctx.win.checked(Ctl::选择框_文件夹);
    if (!files && !folders) return;
    if (ctx.win.rowCount() == 0) {
        ctx.dlg.messageBox(kEmptyList, kAskTitle, Icon::Info, Buttons::Ok);
        return;
    }
    // Without a directory the rows would be bare names, resolved wherever the process happens to be.
    const std::string dir = workingDir(ctx.win);
    if (dir.empty()) {
        ctx.dlg.messageBox(kNoPath, kInfoTitle, Icon::Info, Buttons::Ok);
        return;
    }
    const bool direct = ctx.win.checked(Ctl::单选框17);
    // Both passes work in this one folder, wherever it is moved meanwhile.
    const std::unique_ptr<OpenFolder> folder = ctx.fs.openFolder(dir);
    if (replacedSinceListing(ctx.listed, folder.get(), dir)) {
        ctx.dlg.messageBox(kFolderReplacedText, "提醒：", Icon::Info, Buttons::Ok);
        return;
    }
    if (files && !runPass(ctx, folder.get(), dir, Pass::Files, direct)) return;
    if (folders) runPass(ctx, folder.get(), dir, Pass::Folders, direct);
}

}  // namespace vb

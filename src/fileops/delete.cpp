#include <string>
#include <unordered_set>
#include <vector>

#include "fileops/fileops.h"
#include "transforms/gbk_text.h"

namespace vb {
namespace {

constexpr const char* kEmptyList = "列表框是空的";
constexpr const char* kAskTitle = "提示";
constexpr const char* kAskDelete = "确定删除吗？";
constexpr const char* kAskRecycle = "确定删除到回收站吗？";

// Where path ends once trailing separators are dropped. By characters, since a GBK trail byte
// may equal a backslash.
size_t endWithoutSeparators(std::string_view path, char sep) {
    size_t end = 0;
    for (size_t i = 0; i < path.size();) {
        size_t w = charWidth(path, i);
        if (w == 2 || (path[i] != sep && path[i] != '/')) end = i + w;
        i += w;
    }
    return end;
}

// path has no trailing separator. Empty means it was a root ("/", "//").
bool isRefusedRoot(std::string_view path, char sep) {
    if (path.empty()) return true;
    if (sep == '\\' && path.size() == 2 && path[1] == ':') return true;  // a drive root
    // "x/.." or "x/." would name a folder above or the folder holding it.
    size_t last = path.find_last_of(sep == '/' ? "/" : "/\\");
    std::string_view final = last == std::string_view::npos ? path : path.substr(last + 1);
    return final == "." || final == "..";
}

// Empties dir (ending in the separator), keeping names that begin with ".".
void emptyFolder(FileSystem& fs, const std::string& dir) {
    const char sep = fs.separator();
    for (const DirEntry& e : fs.search(dir, "*")) {
        if (e.name.empty() || e.name[0] == '.') continue;  // also "." and ".."
        std::string path = dir + e.name;
        if (e.isDir) {
            emptyFolder(fs, path + sep);
            fs.removeDir(path);
        } else {
            fs.deleteFile(path);
        }
    }
}

// Names of the real directories in dir: a row naming anything else is never walked into.
std::unordered_set<std::string> foldersIn(FileSystem& fs, const std::string& dir) {
    std::unordered_set<std::string> names;
    for (DirEntry& e : fs.search(dir, "*"))
        if (e.isDir) names.insert(std::move(e.name));
    return names;
}

enum class Pass { Files, Folders };

// One pass over the rows; false when the user cancelled, which ends the whole operation.
bool runPass(Context& ctx, const std::string& dir, Pass pass, bool direct) {
    const char sep = ctx.fs.separator();
    const int rows = ctx.win.rowCount();
    std::unordered_set<std::string> folders;
    bool asked = false;
    for (int r = 0; r < rows; ++r) {
        std::string name = ctx.win.cell(r, 0);
        if (name.empty()) continue;
        if (!asked) {
            if (ctx.dlg.messageBox(direct ? kAskDelete : kAskRecycle, kAskTitle, Icon::None,
                                   Buttons::OkCancel) == kAnswerCancel)
                return false;
            asked = true;
            if (direct && pass == Pass::Folders) folders = foldersIn(ctx.fs, dir);
        }
        if (!staysInDirectory(name, sep)) continue;
        std::string path = dir + name;
        if (!direct) {
            ctx.fs.recycle(path);
        } else if (pass == Pass::Files) {
            ctx.fs.deleteFile(path);
        } else if (folders.contains(name)) {
            deleteTree(ctx.fs, path);
        } else {
            // Not a real folder: a link to one loses only the link; anything else stays.
            ctx.fs.removeDir(path);
        }
    }
    return true;
}

}  // namespace

bool deleteTree(FileSystem& fs, std::string_view path) {
    const char sep = fs.separator();
    size_t start = path.find_first_not_of(' ');
    path = start == std::string_view::npos ? std::string_view() : path.substr(start);
    path = path.substr(0, endWithoutSeparators(path, sep));
    if (isRefusedRoot(path, sep)) return false;
    std::string dir(path);
    emptyFolder(fs, dir + sep);
    return fs.removeDir(dir);
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
    const std::string dir = ctx.win.text(Ctl::标签2);
    if (dir.empty()) {
        ctx.dlg.messageBox(kNoPath, kInfoTitle, Icon::Info, Buttons::Ok);
        return;
    }
    const bool direct = ctx.win.checked(Ctl::单选框17);
    if (files && !runPass(ctx, dir, Pass::Files, direct)) return;
    if (folders) runPass(ctx, dir, Pass::Folders, direct);
}

}  // namespace vb

// Working directory, listings and the operations that fill the name list from the disk.
#include <algorithm>

#include "fileset/fileset.h"
#include "fileset/ordering.h"
#include "transforms/gbk_text.h"
#include "window/window_def.h"

namespace vb {
namespace {

constexpr const char* kAllItem = "所有";
constexpr const char* kAllPattern = "*.*";
constexpr const char* kNothingChosen = "什么都没有选择";
constexpr const char* kNoticeTitle = "提示";

void info(Context& ctx, const char* text, const char* title) {
    ctx.dlg.messageBox(text, title, Icon::Info, Buttons::Ok);
}

// The files of dir matching pattern, in the file system's order. "*.*" means every file, as
// on Windows, also on a platform whose matching would want a dot.
std::vector<std::string> searchFiles(FileSystem& fs, const std::string& dir, std::string_view pattern) {
    std::vector<std::string> names;
    // A pattern holding a separator could reach outside the directory; no bare name matches it.
    const PathStyle paths = fs.pathStyle();
    if (paths.holdsSeparator(pattern)) return names;
    std::string asked = pattern == kAllPattern ? std::string("*") : std::string(pattern);
    for (auto& e : fs.search(paths.asFolder(dir), asked))
        if (!e.isDir) names.push_back(std::move(e.name));
    return names;
}

// Appends the files, then the folders, of the working directory to the name list, by the
// mode boxes. Re-list applies the skip rule only with the pattern "*.*" and lists folders only
// when files are not ticked.
void listInto(Context& ctx, const std::string& dir, bool reListing) {
    Window& win = ctx.win;
    const std::unique_ptr<OpenFolder> held = ctx.fs.openFolder(dir);
    ctx.listed = {dir, held ? held->id() : std::nullopt};
    bool files = win.checked(Ctl::选择框_文件);
    if (files) {
        std::string pattern = searchPattern(win);
        std::vector<std::string> names = fileListing(ctx.fs, dir, pattern);
        SkipRule skip = skipRule(win);
        if (reListing && pattern != kAllPattern) skip.active = false;
        if (skip.active) {
            const PathStyle paths = ctx.fs.pathStyle();
            std::erase_if(names, [&](const std::string& n) { return skip.hides(n, paths); });
        }
        win.appendRows(std::move(names));
    }
    if (win.checked(Ctl::选择框_文件夹) && !(reListing && files))
        win.appendRows(folderListing(ctx.fs, dir, false));
}

// Refuses a Desktop working directory; true when refused.
bool refuseDesktop(Context& ctx) {
    if (!containsDesktop(workingDir(ctx.win))) return false;
    info(ctx, kDesktopNotice, kDesktopTitle);
    clearWorkingDir(ctx.win);
    return true;
}

}  // namespace

std::string workingDir(const Window& win) { return win.text(Ctl::标签2); }
void setWorkingDir(Window& win, const std::string& dir) { win.setText(Ctl::标签2, dir); }
void clearWorkingDir(Window& win) { win.setText(Ctl::标签2, ""); }
bool previewOn(const Window& win) { return win.text(Ctl::按钮_打开预览) == kPreviewOnCaption; }

std::string searchPattern(std::string_view text, int selection) {
    if (selection != -1 && text == kAllItem) return kAllPattern;
    if (selection == -1 && text.empty()) return kAllPattern;
    // A typed text without a dot is an extension without its dot.
    std::string pattern = selection == -1 && text.find('.') == std::string_view::npos ? "*." : "*";
    pattern.append(text);
    return pattern;
}

std::string searchPattern(const Window& win) {
    return searchPattern(win.text(Ctl::组合框_仅检索), win.selection(Ctl::组合框_仅检索));
}

bool SkipRule::hides(std::string_view entry, const PathStyle& paths) const {
    return active && splitName(entry, paths).ext == ext;
}

SkipRule skipRule(const Window& win) {
    SkipRule rule;
    rule.active = win.selection(Ctl::组合框_跳过扩展) != -1;
    if (rule.active) rule.ext = win.text(Ctl::组合框_跳过扩展);
    return rule;
}

std::vector<std::string> fileListing(FileSystem& fs, const std::string& dir, std::string_view pattern) {
    std::vector<std::string> names = searchFiles(fs, dir, pattern);
    sortPaddedNumber(names);
    return names;
}

std::vector<std::string> fullPathFileListing(FileSystem& fs, const std::string& dir,
                                             std::string_view pattern) {
    std::vector<std::string> names = searchFiles(fs, dir, pattern);
    std::string prefix = fs.pathStyle().asFolder(dir);
    for (auto& n : names) n.insert(0, prefix);
    return names;
}

std::vector<std::string> folderListing(FileSystem& fs, const std::string& dir, bool withDir) {
    std::string prefix = fs.pathStyle().asFolder(dir);
    std::vector<std::string> names;
    // "*" rather than "*.*": the same on Windows, and folders without a dot still match elsewhere.
    for (auto& e : fs.search(prefix, "*")) {
        if (!e.isDir || e.name == "." || e.name == "..") continue;
        names.push_back(withDir ? prefix + e.name : std::move(e.name));
    }
    return names;
}

void manualRead(Context& ctx) {
    ctx.win.clearRows();  // first, so a cancelled choice leaves the list empty
    // The browser opens where the user works now: a folder deep down is not walked to again.
    std::optional<std::string> chosen = ctx.dlg.browseFolder("选择目录", workingDir(ctx.win));
    if (!chosen || chosen->empty()) {
        info(ctx, kNothingChosen, kNoticeTitle);
        return;
    }
    std::string dir = ctx.fs.pathStyle().asFolder(*chosen);
    setWorkingDir(ctx.win, dir);
    if (refuseDesktop(ctx)) return;
    listInto(ctx, dir, false);
}

void reList(Context& ctx) {
    std::string dir = workingDir(ctx.win);
    if (dir.empty()) return;
    if (ctx.fs.pathStyle().isBareRoot(dir)) {  // a dropped root
        clearWorkingDir(ctx.win);
        return;
    }
    listInto(ctx, dir, true);
}

void dropRead(Context& ctx, const std::string& gbkPath) {
    ctx.win.clearRows();
    const PathStyle paths = ctx.fs.pathStyle();
    std::string dir = paths.containingDir(gbkPath);
    if (gbkPath.empty()) {
        info(ctx, kNothingChosen, kNoticeTitle);
        return;
    }
    setWorkingDir(ctx.win, paths.asFolder(dir));
    if (refuseDesktop(ctx)) return;
    reList(ctx);
}

void onFilesBoxClicked(Context& ctx) {
    if (ctx.win.checked(Ctl::选择框_文件)) ctx.win.setChecked(Ctl::选择框_文件夹, false);
}

void onFoldersBoxClicked(Context& ctx) {
    if (ctx.win.checked(Ctl::选择框_文件夹)) ctx.win.setChecked(Ctl::选择框_文件, false);
}

}  // namespace vb

// Working directory, listings and the operations that fill the name list from the disk.
#include <algorithm>

#include "fileset/fileset.h"
#include "fileset/ordering.h"
#include "transforms/gbk_text.h"

namespace vb {
namespace {

constexpr const char* kAllItem = "所有";
constexpr const char* kAllPattern = "*.*";
constexpr const char* kNothingChosen = "什么都没有选择";
constexpr const char* kNoticeTitle = "提示";

void info(Context& ctx, const char* text, const char* title) {
    ctx.dlg.messageBox(text, title, Icon::Info, Buttons::Ok);
}

std::string withSeparator(std::string dir, char sep) {
    if (dir.empty() || dir.back() != sep) dir += sep;
    return dir;
}

// A pattern holding a separator could reach outside the directory; no bare name matches it.
bool holdsSeparator(std::string_view pattern, char sep) {
    for (std::size_t i = 0; i < pattern.size(); i += charWidth(pattern, i))
        if (pattern[i] == sep || pattern[i] == '/') return true;
    return false;
}

// The files of dir matching pattern, in the file system's order. "*.*" means every file, as
// on Windows, also on a platform whose matching would want a dot.
std::vector<std::string> searchFiles(FileSystem& fs, const std::string& dir, std::string_view pattern) {
    std::vector<std::string> names;
    if (holdsSeparator(pattern, fs.separator())) return names;
    std::string asked = pattern == kAllPattern ? std::string("*") : std::string(pattern);
    for (auto& e : fs.search(withSeparator(dir, fs.separator()), asked))
        if (!e.isDir) names.push_back(std::move(e.name));
    return names;
}

// Appends the files, then the folders, of the working directory to the name list, by the
// mode boxes. Re-list applies the skip rule only with the pattern "*.*" and lists folders only
// when files are not ticked.
void listInto(Context& ctx, const std::string& dir, bool reListing) {
    Window& win = ctx.win;
    bool files = win.checked(Ctl::选择框_文件);
    if (files) {
        std::string pattern = searchPattern(win);
        std::vector<std::string> names = fileListing(ctx.fs, dir, pattern);
        SkipRule skip = skipRule(win);
        if (reListing && pattern != kAllPattern) skip.active = false;
        if (skip.active) {
            char sep = ctx.fs.separator();
            std::erase_if(names, [&](const std::string& n) { return skip.hides(n, sep); });
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
    ctx.win.setText(Ctl::标签2, "");
    return true;
}

// The directory holding a dropped path: up to and including its last separator, after one
// trailing separator is dropped. Scanned by characters, so a GBK trail byte never counts.
std::string containingDir(std::string_view path, char sep) {
    if (!path.empty() && path.back() == sep) path.remove_suffix(1);
    std::size_t end = 0;
    for (std::size_t i = 0; i < path.size(); i += charWidth(path, i))
        if (path[i] == sep) end = i + 1;
    return std::string(path.substr(0, end));
}

}  // namespace

std::string workingDir(const Window& win) { return win.text(Ctl::标签2); }

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

bool SkipRule::hides(std::string_view entry, char separator) const {
    return active && splitName(entry, separator).ext == ext;
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
    std::string prefix = withSeparator(dir, fs.separator());
    for (auto& n : names) n.insert(0, prefix);
    return names;
}

std::vector<std::string> folderListing(FileSystem& fs, const std::string& dir, bool withDir) {
    std::string prefix = withSeparator(dir, fs.separator());
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
    std::optional<std::string> chosen = ctx.dlg.browseFolder("选择目录");
    if (!chosen || chosen->empty()) {
        info(ctx, kNothingChosen, kNoticeTitle);
        return;
    }
    std::string dir = withSeparator(*chosen, ctx.fs.separator());
    ctx.win.setText(Ctl::标签2, dir);
    if (refuseDesktop(ctx)) return;
    listInto(ctx, dir, false);
}

void reList(Context& ctx) {
    std::string dir = workingDir(ctx.win);
    if (dir.empty()) return;
    if (dir == std::string(1, ctx.fs.separator())) {  // a dropped root
        ctx.win.setText(Ctl::标签2, "");
        return;
    }
    listInto(ctx, dir, true);
}

void dropRead(Context& ctx, const std::string& gbkPath) {
    ctx.win.clearRows();
    char sep = ctx.fs.separator();
    std::string dir = containingDir(gbkPath, sep);
    if (gbkPath.empty()) {
        info(ctx, kNothingChosen, kNoticeTitle);
        return;
    }
    ctx.win.setText(Ctl::标签2, withSeparator(dir, sep));
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

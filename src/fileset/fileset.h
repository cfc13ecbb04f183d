// The file set: the working directory (caption of 标签2), its listings and filters, and the
// name list 超级列表框1 with its editing commands.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/context.h"

namespace vb {

// Shown, with the title "提示", whenever a working directory contains "Desktop".
inline constexpr const char* kDesktopNotice =
    "为了督促大家养成良好的习惯，\r\n特做此设置！！！\r\n请不要把一些重要文件放在桌面，\r\n"
    "因为一旦日后你重装系统或者系统崩溃了，\r\n桌面的东西有可能丢失，\r\n请移动到其他盘符进行操作！";
inline constexpr const char* kDesktopTitle = "提示";
inline constexpr const char* kEmptyListMessage = "列表框是空的！";
inline constexpr const char* kDefaultTitle = "信息：";

// ---- Working directory and listings -------------------------------------------------------

// The working folder lives in 标签2, in the file system's folder form (ending in the separator);
// empty when none is chosen. Read and written only through these.
std::string workingDir(const Window& win);
void setWorkingDir(Window& win, const std::string& dir);
void clearWorkingDir(Window& win);
// Preview mode: the preview switch shows the caption that turns it off.
bool previewOn(const Window& win);

// The wildcard pattern for the only-extension filter's text and selection index.
std::string searchPattern(std::string_view text, int selection);
// The same, read from 组合框_仅检索.
std::string searchPattern(const Window& win);

// The skip-extension filter as it stands: active only while an item is chosen.
struct SkipRule {
    bool active = false;
    std::string ext;
    // True when the rule hides this entry (bare name or full path): its extension equals the
    // chosen item byte for byte.
    bool hides(std::string_view entry, const PathStyle& paths) const;
};
SkipRule skipRule(const Window& win);

// Bare names of the files of dir matching pattern, in padded-number order.
std::vector<std::string> fileListing(FileSystem& fs, const std::string& dir, std::string_view pattern);
// Full paths of the same files, in the file system's order.
std::vector<std::string> fullPathFileListing(FileSystem& fs, const std::string& dir,
                                             std::string_view pattern);
// Sub-folders of dir ("." and ".." left out), in the file system's order, bare or with dir in front.
std::vector<std::string> folderListing(FileSystem& fs, const std::string& dir, bool withDir);

// ---- Name list ----------------------------------------------------------------------------

// Appends the non-empty column-0 names, with the working directory in front when withDir, and
// returns the array's size. A list without rows shows "列表框是空的！" and returns 0.
int readNames(Context& ctx, std::vector<std::string>& out, bool withDir);
void writeCell(Window& win, const std::string& text, int row, int col);

// ---- Handlers -----------------------------------------------------------------------------

void manualRead(Context& ctx);                            // 按钮_手动读取
void reList(Context& ctx);                                // after a filter choice, preview switch, drop
void dropRead(Context& ctx, const std::string& gbkPath);  // once per dropped item
void onFilesBoxClicked(Context& ctx);                     // 选择框_文件
void onFoldersBoxClicked(Context& ctx);                   // 选择框_文件夹

void onFilterChosen(Context& ctx);  // 组合框_仅检索 and 组合框_跳过扩展
void onOnlyExtEdited(Context& ctx);
void onOnlyExtOpening(Context& ctx);
void onSkipExtEdited(Context& ctx);
void onSkipExtOpening(Context& ctx);
void onTargetExtEdited(Context& ctx);
void onTargetExtOpening(Context& ctx);

void onListLeftClick(Context& ctx);   // copy the name
void onListRightClick(Context& ctx);  // popup menu when allowed
void onMoveUp(Context& ctx);
void onMoveDown(Context& ctx);
void onRemoveRow(Context& ctx);
void onReverseOrder(Context& ctx);
void onClearList(Context& ctx);
void onClearInputs(Context& ctx);

}  // namespace vb

// Operations on the listed entries that are not renames: delete them, create a folder or a test
// file per name, save the names next to the program.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/context.h"

namespace vb {

inline constexpr const char* kNamesFile = "原文件名保存.txt";
inline constexpr const char* kTargetPlaceholder = "将在这里创建";
inline constexpr const char* kExtPlaceholder = "扩展名";
inline constexpr std::string_view kTestFileContent = "测试文件";
inline constexpr const char* kNoPath = "路径呢？";
inline constexpr const char* kInfoTitle = "信息：";

void onDeleteListed(Context& ctx);      // 按钮_删除文件
void onCreateEntries(Context& ctx);     // 按钮14
void onTargetBoxFocused(Context& ctx);  // 编辑框14 got focus
void onExtBoxFocused(Context& ctx);     // 编辑框15 got focus
void onSaveNames(Context& ctx);         // 按钮_保存到txt

// Deletes path as a tree: every entry inside whose name does not begin with "." goes (a folder
// holding one stays). The walk goes through open folders: a link, even one swapped in while it
// runs, is deleted as an entry, never followed; path itself must be a real folder. An empty
// path, a root or a path ending in "." or ".." is refused outright. True when the folder
// itself is gone.
// alive, when given, is called before each entry inside.
bool deleteTree(FileSystem& fs, std::string_view path, const std::function<void()>& alive = {});
// The same for the sub-folder name of a folder held open.
bool deleteTree(OpenFolder& parent, const std::string& name, const std::function<void()>& alive = {});

// True when dir still names the folder held: nobody moved it away or swapped something in.
bool sameFolder(FileSystem& fs, OpenFolder& held, const std::string& dir);
inline constexpr const char* kFolderMoved =
    "这个文件夹已经被移走或换掉了，不再是读到列表的那一个，\r\n所以剩下的没有删除。";

}  // namespace vb

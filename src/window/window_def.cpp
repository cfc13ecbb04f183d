#include "window/window_def.h"

#include <array>
#include <string_view>

namespace vb {
namespace {

// One control per line.
// clang-format off
constexpr std::array<ControlDef, kControlCount> kTable{{
    {Ctl::主窗口, "主窗口", Kind::Window, Ctl::主窗口, "Velbrook*14.0", {50, 50, 769, 680}, true},
    {Ctl::选择框_窗口置顶, "选择框_窗口置顶", Kind::CheckBox, Ctl::主窗口, "窗口置顶", {9, 11, 80, 15}, true},
    {Ctl::选择框_文件, "选择框_文件", Kind::CheckBox, Ctl::主窗口, "文件", {97, 11, 54, 15}, true},
    {Ctl::选择框_文件夹, "选择框_文件夹", Kind::CheckBox, Ctl::主窗口, "文件夹", {159, 11, 62, 15}, true},
    {Ctl::透明标签3, "透明标签3", Kind::TransparentLabel, Ctl::主窗口, "仅检索扩展名：", {230, 10, 88, 15}, true},
    {Ctl::组合框_仅检索, "组合框_仅检索", Kind::Combo, Ctl::主窗口, "", {319, 5, 68, 27}, true},
    {Ctl::透明标签4, "透明标签4", Kind::TransparentLabel, Ctl::主窗口, "跳过扩展名：", {394, 10, 75, 15}, true},
    {Ctl::组合框_跳过扩展, "组合框_跳过扩展", Kind::Combo, Ctl::主窗口, "", {471, 5, 68, 27}, true},
    {Ctl::按钮_打开预览, "按钮_打开预览", Kind::Button, Ctl::主窗口, "打开预览", {551, 5, 72, 25}, true},
    {Ctl::图形按钮1, "图形按钮1", Kind::PictureButton, Ctl::主窗口, "", {643, 8, 112, 47}, true},
    {Ctl::按钮_手动读取, "按钮_手动读取", Kind::Button, Ctl::主窗口, "手动读取", {8, 38, 72, 25}, true},
    {Ctl::标签2, "标签2", Kind::Label, Ctl::主窗口, "", {101, 39, 483, 25}, true},
    {Ctl::编辑框14, "编辑框14", Kind::Edit, Ctl::主窗口, "将在这里创建", {345, 73, 232, 32}, true},
    {Ctl::透明标签1, "透明标签1", Kind::TransparentLabel, Ctl::主窗口, "", {585, 74, 25, 25}, true},
    {Ctl::编辑框15, "编辑框15", Kind::Edit, Ctl::主窗口, "扩展名", {609, 73, 72, 32}, true},
    {Ctl::按钮14, "按钮14", Kind::Button, Ctl::主窗口, "创建文件", {688, 73, 64, 32}, true},
    {Ctl::超级列表框1, "超级列表框1", Kind::ListView, Ctl::主窗口, "", {345, 120, 407, 464}, true},
    {Ctl::按钮_顺序调头, "按钮_顺序调头", Kind::Button, Ctl::主窗口, "顺序颠倒", {559, 120, 73, 23}, true},
    {Ctl::按钮_确认无误执行吧, "按钮_确认无误执行吧", Kind::Button, Ctl::主窗口, "确认无误，执行吧", {568, 432, 160, 28}, false},
    {Ctl::按钮_撤回上一步, "按钮_撤回上一步", Kind::Button, Ctl::主窗口, "撤回上一步", {568, 480, 104, 28}, false},
    {Ctl::按钮_清空输入框, "按钮_清空输入框", Kind::Button, Ctl::主窗口, "清空所有输入框", {8, 590, 328, 28}, true},
    {Ctl::按钮_清空列表框, "按钮_清空列表框", Kind::Button, Ctl::主窗口, "清空列表框", {345, 590, 176, 28}, true},
    {Ctl::按钮_保存到txt, "按钮_保存到txt", Kind::Button, Ctl::主窗口, "保存原文件名到txt", {568, 590, 184, 28}, true},
    {Ctl::高级选择夹1, "高级选择夹1", Kind::TabControl, Ctl::主窗口, "", {8, 72, 328, 512}, true},
    {Ctl::页面_删除, "页面_删除", Kind::TabPage, Ctl::高级选择夹1, " 删 除 ", {0, 0, 328, 512}, true},
    {Ctl::页面_替换, "页面_替换", Kind::TabPage, Ctl::高级选择夹1, " 替 换 ", {0, 0, 328, 512}, true},
    {Ctl::页面_添加, "页面_添加", Kind::TabPage, Ctl::高级选择夹1, " 添 加 ", {0, 0, 328, 512}, true},
    {Ctl::页面_特殊功能, "页面_特殊功能", Kind::TabPage, Ctl::高级选择夹1, "特殊功能", {0, 0, 328, 512}, true},
    {Ctl::分组框6, "分组框6", Kind::GroupBox, Ctl::页面_删除, "删除中间的内容", {10, 35, 278, 154}, true},
    {Ctl::标签5, "标签5", Kind::Label, Ctl::分组框6, "半角全角", {14, 21, 56, 28}, true},
    {Ctl::组合框1, "组合框1", Kind::Combo, Ctl::分组框6, "", {68, 21, 72, 27}, true},
    {Ctl::选择框6, "选择框6", Kind::CheckBox, Ctl::分组框6, "包括它", {152, 23, 72, 18}, true},
    {Ctl::选择框_1头, "选择框_1头", Kind::CheckBox, Ctl::分组框6, "首次出现", {51, 53, 72, 15}, true},
    {Ctl::选择框_1尾, "选择框_1尾", Kind::CheckBox, Ctl::分组框6, "最后出现", {51, 69, 72, 15}, true},
    {Ctl::选择框_2头, "选择框_2头", Kind::CheckBox, Ctl::分组框6, "首次出现", {155, 53, 72, 13}, true},
    {Ctl::选择框_2尾, "选择框_2尾", Kind::CheckBox, Ctl::分组框6, "最后出现", {155, 69, 72, 13}, true},
    {Ctl::标签3, "标签3", Kind::Label, Ctl::分组框6, "从", {8, 93, 16, 28}, true},
    {Ctl::编辑框2, "编辑框2", Kind::Edit, Ctl::分组框6, "", {23, 93, 77, 28}, true},
    {Ctl::标签4, "标签4", Kind::Label, Ctl::分组框6, "到", {104, 93, 22, 28}, true},
    {Ctl::编辑框3, "编辑框3", Kind::Edit, Ctl::分组框6, "", {122, 93, 77, 28}, true},
    {Ctl::按钮_一键删除, "按钮_一键删除", Kind::Button, Ctl::分组框6, "一键删除", {205, 93, 60, 28}, true},
    {Ctl::标签13, "标签13", Kind::Label, Ctl::分组框6, "主要删除B站下载的视频末尾Av号", {34, 131, 180, 18}, true},
    {Ctl::分组框1, "分组框1", Kind::GroupBox, Ctl::页面_删除, "删除左边全部", {8, 195, 280, 104}, true},
    {Ctl::选择框3, "选择框3", Kind::CheckBox, Ctl::分组框1, "包括它", {56, 28, 72, 18}, true},
    {Ctl::分组框15, "分组框15", Kind::GroupBox, Ctl::分组框1, "", {155, 13, 96, 54}, true},
    {Ctl::单选框11, "单选框11", Kind::Radio, Ctl::分组框15, "首次出现", {7, 12, 75, 17}, true},
    {Ctl::单选框12, "单选框12", Kind::Radio, Ctl::分组框15, "最后出现", {7, 32, 75, 17}, true},
    {Ctl::标签14, "标签14", Kind::Label, Ctl::分组框1, "删掉", {6, 69, 33, 28}, true},
    {Ctl::编辑框8, "编辑框8", Kind::Edit, Ctl::分组框1, "", {48, 69, 96, 28}, true},
    {Ctl::按钮_删前面, "按钮_删前面", Kind::Button, Ctl::分组框1, "前面的东西", {153, 69, 88, 28}, true},
    {Ctl::分组框2, "分组框2", Kind::GroupBox, Ctl::页面_删除, "删除右边全部", {8, 303, 280, 104}, true},
    {Ctl::选择框4, "选择框4", Kind::CheckBox, Ctl::分组框2, "包括它", {56, 28, 72, 18}, true},
    {Ctl::分组框3, "分组框3", Kind::GroupBox, Ctl::分组框2, "", {155, 14, 96, 54}, true},
    {Ctl::单选框1, "单选框1", Kind::Radio, Ctl::分组框3, "首次出现", {9, 11, 75, 17}, true},
    {Ctl::单选框2, "单选框2", Kind::Radio, Ctl::分组框3, "最后出现", {9, 33, 75, 17}, true},
    {Ctl::标签15, "标签15", Kind::Label, Ctl::分组框2, "删掉", {6, 73, 34, 20}, true},
    {Ctl::编辑框9, "编辑框9", Kind::Edit, Ctl::分组框2, "", {48, 70, 96, 28}, true},
    {Ctl::按钮_删后面, "按钮_删后面", Kind::Button, Ctl::分组框2, "后面的东西", {153, 71, 88, 28}, true},
    {Ctl::分组框5, "分组框5", Kind::GroupBox, Ctl::页面_删除, "空着默认是删除1次，也可填具体删除次数", {8, 415, 280, 86}, true},
    {Ctl::单选框13, "单选框13", Kind::Radio, Ctl::分组框5, "从左到右", {30, 25, 79, 17}, true},
    {Ctl::单选框14, "单选框14", Kind::Radio, Ctl::分组框5, "从右到左", {120, 25, 79, 17}, true},
    {Ctl::编辑框1, "编辑框1", Kind::Edit, Ctl::分组框5, "", {8, 49, 112, 28}, true},
    {Ctl::按钮_删掉N次, "按钮_删掉N次", Kind::Button, Ctl::分组框5, "删掉", {126, 49, 48, 28}, true},
    {Ctl::编辑框10, "编辑框10", Kind::Edit, Ctl::分组框5, "", {180, 49, 63, 28}, true},
    {Ctl::标签8, "标签8", Kind::Label, Ctl::分组框5, "次", {248, 48, 18, 28}, true},
    {Ctl::分组框7, "分组框7", Kind::GroupBox, Ctl::页面_替换, "替换", {11, 32, 309, 130}, true},
    {Ctl::分组框13, "分组框13", Kind::GroupBox, Ctl::分组框7, "", {5, 17, 141, 53}, true},
    {Ctl::单选框7, "单选框7", Kind::Radio, Ctl::分组框13, "只改数字后符号", {5, 12, 112, 17}, true},
    {Ctl::单选框8, "单选框8", Kind::Radio, Ctl::分组框13, "不限制", {5, 31, 70, 17}, true},
    {Ctl::分组框14, "分组框14", Kind::GroupBox, Ctl::分组框7, "", {157, 17, 104, 53}, true},
    {Ctl::单选框9, "单选框9", Kind::Radio, Ctl::分组框14, "从最左边开始", {5, 13, 88, 17}, true},
    {Ctl::单选框10, "单选框10", Kind::Radio, Ctl::分组框14, "从最右边开始", {5, 32, 88, 17}, true},
    {Ctl::编辑框4, "编辑框4", Kind::Edit, Ctl::分组框7, "", {5, 78, 70, 30}, true},
    {Ctl::标签9, "标签9", Kind::Label, Ctl::分组框7, "换成", {73, 78, 35, 30}, true},
    {Ctl::编辑框5, "编辑框5", Kind::Edit, Ctl::分组框7, "", {107, 78, 70, 30}, true},
    {Ctl::编辑框16, "编辑框16", Kind::Edit, Ctl::分组框7, "", {185, 78, 47, 30}, true},
    {Ctl::按钮_替换, "按钮_替换", Kind::Button, Ctl::分组框7, "全部替换", {238, 78, 64, 30}, true},
    {Ctl::透明标签5, "透明标签5", Kind::TransparentLabel, Ctl::分组框7, "被替换的", {13, 107, 53, 17}, true},
    {Ctl::透明标签6, "透明标签6", Kind::TransparentLabel, Ctl::分组框7, "替换后的", {113, 107, 53, 17}, true},
    {Ctl::透明标签7, "透明标签7", Kind::TransparentLabel, Ctl::分组框7, "替换次数", {182, 107, 53, 17}, true},
    {Ctl::分组框16, "分组框16", Kind::GroupBox, Ctl::页面_替换, "繁简体之间的转换", {11, 169, 248, 64}, true},
    {Ctl::单选框15, "单选框15", Kind::Radio, Ctl::分组框16, "繁转简", {32, 16, 64, 20}, true},
    {Ctl::单选框16, "单选框16", Kind::Radio, Ctl::分组框16, "简转繁", {32, 39, 56, 20}, true},
    {Ctl::按钮_繁简, "按钮_繁简", Kind::Button, Ctl::分组框16, "繁转简", {113, 21, 88, 30}, true},
    {Ctl::分组框9, "分组框9", Kind::GroupBox, Ctl::页面_替换, "强迫症功能", {11, 242, 248, 93}, true},
    {Ctl::标签19, "标签19", Kind::Label, Ctl::分组框9, "仅用于编号在前面5个字符之内，\r\n仅用于修改编号\r\n", {10, 16, 192, 40}, true},
    {Ctl::标签17, "标签17", Kind::Label, Ctl::分组框9, "仅限于编号0-9", {6, 61, 98, 16}, true},
    {Ctl::按钮_改01, "按钮_改01", Kind::Button, Ctl::分组框9, "1改01", {109, 59, 72, 27}, true},
    {Ctl::分组框4, "分组框4", Kind::GroupBox, Ctl::页面_替换, "批量修改扩展名", {11, 343, 248, 64}, true},
    {Ctl::透明标签2, "透明标签2", Kind::TransparentLabel, Ctl::分组框4, "修改成", {21, 24, 56, 25}, true},
    {Ctl::组合框_修改扩展, "组合框_修改扩展", Kind::Combo, Ctl::分组框4, "", {80, 24, 69, 27}, true},
    {Ctl::按钮_改扩展, "按钮_改扩展", Kind::Button, Ctl::分组框4, "全部修改", {160, 23, 64, 27}, true},
    {Ctl::分组框10, "分组框10", Kind::GroupBox, Ctl::页面_替换, "", {11, 414, 112, 64}, true},
    {Ctl::按钮_第一课改第1课, "按钮_第一课改第1课", Kind::Button, Ctl::分组框10, "第一课改第1课", {8, 16, 96, 32}, true},
    {Ctl::分组框21, "分组框21", Kind::GroupBox, Ctl::页面_添加, "前面加、后面加", {11, 37, 256, 120}, true},
    {Ctl::分组框12, "分组框12", Kind::GroupBox, Ctl::分组框21, "", {12, 21, 100, 58}, true},
    {Ctl::单选框5, "单选框5", Kind::Radio, Ctl::分组框12, "首次出现", {7, 14, 80, 17}, true},
    {Ctl::单选框6, "单选框6", Kind::Radio, Ctl::分组框12, "最后出现", {7, 37, 80, 17}, true},
    {Ctl::分组框11, "分组框11", Kind::GroupBox, Ctl::分组框21, "", {132, 21, 100, 58}, true},
    {Ctl::单选框3, "单选框3", Kind::Radio, Ctl::分组框11, "在前面加", {8, 12, 72, 20}, true},
    {Ctl::单选框4, "单选框4", Kind::Radio, Ctl::分组框11, "在后面加", {8, 35, 70, 20}, true},
    {Ctl::标签16, "标签16", Kind::Label, Ctl::分组框21, "在", {1, 91, 24, 22}, true},
    {Ctl::编辑框11, "编辑框11", Kind::Edit, Ctl::分组框21, "", {25, 90, 69, 25}, true},
    {Ctl::按钮_在某物前后加, "按钮_在某物前后加", Kind::Button, Ctl::分组框21, "前面加", {99, 90, 65, 25}, true},
    {Ctl::编辑框12, "编辑框12", Kind::Edit, Ctl::分组框21, "", {172, 90, 72, 25}, true},
    {Ctl::分组框8, "分组框8", Kind::GroupBox, Ctl::页面_添加, "不影响扩展名", {11, 165, 256, 96}, true},
    {Ctl::编辑框6, "编辑框6", Kind::Edit, Ctl::分组框8, "", {34, 22, 110, 30}, true},
    {Ctl::按钮_最前面加, "按钮_最前面加", Kind::Button, Ctl::分组框8, "最前面加", {151, 22, 67, 30}, true},
    {Ctl::按钮_最后面加, "按钮_最后面加", Kind::Button, Ctl::分组框8, "最尾部加", {34, 59, 67, 30}, true},
    {Ctl::编辑框7, "编辑框7", Kind::Edit, Ctl::分组框8, "", {108, 59, 110, 30}, true},
    {Ctl::分组框20, "分组框20", Kind::GroupBox, Ctl::页面_添加, "在扩展名后面加", {11, 269, 256, 56}, true},
    {Ctl::编辑框18, "编辑框18", Kind::Edit, Ctl::分组框20, "", {13, 18, 104, 30}, true},
    {Ctl::按钮_扩展名后面加, "按钮_扩展名后面加", Kind::Button, Ctl::分组框20, "扩展名后面加", {132, 18, 97, 30}, true},
    {Ctl::分组框22, "分组框22", Kind::GroupBox, Ctl::页面_添加, "", {11, 333, 256, 96}, true},
    {Ctl::标签18, "标签18", Kind::Label, Ctl::分组框22, "仅用于编号在前面5个字符之内，\r\n用于在数字编号后面补一些符号\r\n", {26, 14, 192, 37}, true},
    {Ctl::按钮_数字后加符号, "按钮_数字后加符号", Kind::Button, Ctl::分组框22, "数字编号后面加", {24, 58, 117, 27}, true},
    {Ctl::编辑框13, "编辑框13", Kind::Edit, Ctl::分组框22, "", {147, 58, 61, 27}, true},
    {Ctl::按钮_模拟B站AV, "按钮_模拟B站AV", Kind::Button, Ctl::页面_添加, "加模拟B站AV号", {11, 434, 256, 27}, true},
    {Ctl::按钮_加序号, "按钮_加序号", Kind::Button, Ctl::页面_添加, "给文件加序号", {11, 467, 99, 27}, true},
    {Ctl::组合框5, "组合框5", Kind::Combo, Ctl::页面_添加, "", {115, 467, 60, 27}, true},
    {Ctl::分组框17, "分组框17", Kind::GroupBox, Ctl::页面_特殊功能, "", {8, 33, 232, 128}, true},
    {Ctl::分组框18, "分组框18", Kind::GroupBox, Ctl::分组框17, "", {16, 11, 128, 58}, true},
    {Ctl::单选框17, "单选框17", Kind::Radio, Ctl::分组框18, "直接删除", {8, 12, 100, 20}, true},
    {Ctl::单选框18, "单选框18", Kind::Radio, Ctl::分组框18, "删除到回收站", {8, 35, 100, 20}, true},
    {Ctl::按钮_删除文件, "按钮_删除文件", Kind::Button, Ctl::分组框17, "删除右边列表框中的所有文件", {16, 80, 192, 30}, true},
    {Ctl::右键功能1, "右键功能1", Kind::Menu, Ctl::主窗口, "", {0, 0, 0, 0}, true},
    {Ctl::上移, "上移", Kind::MenuItem, Ctl::右键功能1, "上移", {0, 0, 0, 0}, true},
    {Ctl::下移, "下移", Kind::MenuItem, Ctl::右键功能1, "下移", {0, 0, 0, 0}, true},
    {Ctl::删除, "删除", Kind::MenuItem, Ctl::右键功能1, "删除", {0, 0, 0, 0}, true},
    {Ctl::感谢窗口, "感谢窗口", Kind::Window, Ctl::感谢窗口, "感谢有你", {50, 50, 525, 333}, true},
    {Ctl::图片框1, "图片框1", Kind::PictureBox, Ctl::感谢窗口, "", {8, 8, 200, 200}, true},
    {Ctl::图片框2, "图片框2", Kind::PictureBox, Ctl::感谢窗口, "", {278, 8, 200, 200}, true},
    {Ctl::图片框3, "图片框3", Kind::PictureBox, Ctl::感谢窗口, "", {66, 213, 75, 40}, true},
    {Ctl::图片框4, "图片框4", Kind::PictureBox, Ctl::感谢窗口, "", {343, 212, 75, 40}, true},
    {Ctl::按钮2, "按钮2", Kind::Button, Ctl::感谢窗口, "去论坛评个分，给点建议", {168, 232, 136, 35}, true},
    {Ctl::按钮1, "按钮1", Kind::Button, Ctl::感谢窗口, "关闭此页", {411, 264, 96, 35}, true},
}};
// clang-format on

constexpr bool tableInOrder() {
    for (int i = 0; i < kControlCount; ++i)
        if (static_cast<int>(kTable[i].id) != i) return false;
    return true;
}
static_assert(tableInOrder(), "the window definition must list the controls in enum order");

// The rows of one kind in one container, in table order, worked out when compiling.
constexpr size_t countRows(Kind kind, Ctl container) {
    size_t n = 0;
    for (const auto& d : kTable) n += d.kind == kind && d.container == container ? 1 : 0;
    return n;
}

template <Kind kind, Ctl container>
constexpr auto rowsOf() {
    std::array<Ctl, countRows(kind, container)> rows{};
    size_t i = 0;
    for (const auto& d : kTable)
        if (d.kind == kind && d.container == container) rows[i++] = d.id;
    return rows;
}

constexpr auto kPages = rowsOf<Kind::TabPage, Ctl::高级选择夹1>();
constexpr auto kMenuItems = rowsOf<Kind::MenuItem, Ctl::右键功能1>();

constexpr Ctl kOnTheList[] = {Ctl::按钮_顺序调头, Ctl::按钮_确认无误执行吧, Ctl::按钮_撤回上一步};

// Resource names of the program; the picture button shows the third picture.
struct PictureDef {
    Ctl id;
    const char* resource;
};
constexpr PictureDef kPictures[] = {
    {Ctl::图形按钮1, "PICTURE3"}, {Ctl::图片框1, "PICTURE1"}, {Ctl::图片框2, "PICTURE2"},
    {Ctl::图片框3, "PICTURE3"},   {Ctl::图片框4, "PICTURE4"},
};

// 按钮_确认无误执行吧 and 按钮_撤回上一步 move to the foot of the widened list.
constexpr PreviewGeometry kPreview{1150, 380, 400, {973, 590}, {850, 590}};

constexpr Ctl kTicked[] = {Ctl::选择框_1头, Ctl::选择框_2头, Ctl::单选框17};

constexpr const char* kSymbolSets[] = {"英文符号", "中文符号", "B站括号"};
constexpr const char* kSeparators[] = {"不加", "、", ".", "-", "，", "："};
constexpr ComboDef kCombos[] = {{Ctl::组合框1, kSymbolSets, 2}, {Ctl::组合框5, kSeparators, 0}};

}  // namespace

std::span<const Ctl> tickedByDefinition() { return kTicked; }
const PreviewGeometry& previewGeometry() { return kPreview; }
std::span<const ComboDef> comboDefinitions() { return kCombos; }

std::span<const ControlDef> controlTable() { return kTable; }

std::span<const Ctl> tabPages() { return kPages; }
std::span<const Ctl> menuItems() { return kMenuItems; }
std::span<const Ctl> onTheList() { return kOnTheList; }

int tabIndexOf(Ctl page) {
    for (size_t i = 0; i < kPages.size(); ++i)
        if (kPages[i] == page) return static_cast<int>(i);
    return -1;
}

std::optional<Ctl> tabPageOf(Ctl c) {
    for (Ctl up = def(c).container; def(up).kind != Kind::Window; up = def(up).container)
        if (def(up).kind == Kind::TabPage) return up;
    return std::nullopt;
}

const char* pictureOf(Ctl c) {
    for (const auto& p : kPictures)
        if (p.id == c) return p.resource;
    return nullptr;
}

const ControlDef& def(Ctl id) { return kTable[static_cast<int>(id)]; }

std::optional<Ctl> findControl(std::string_view gbkName) {
    for (const auto& d : kTable)
        if (gbkName == d.name) return d.id;
    return std::nullopt;
}

std::vector<Ctl> radioGroupOf(Ctl radio) {
    std::vector<Ctl> group;
    for (const auto& d : kTable)
        if (d.kind == Kind::Radio && d.container == def(radio).container) group.push_back(d.id);
    return group;
}

Ctl windowOf(Ctl id) {
    while (def(id).kind != Kind::Window) id = def(id).container;
    return id;
}

}  // namespace vb

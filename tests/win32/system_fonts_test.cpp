// The system's own fonts (message boxes, menus, title bars, dialogs such as the folder browser)
// draw Chinese: a setup without a Chinese font behind them draws a box for every character.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "window/window_def.h"
#include "glyphs.h"
#include "platform/encoding.h"
#include "platform/win32/wide.h"

namespace vb {
namespace {

using testing::Align;
using testing::draw;
using testing::missingStrokes;

std::string utf8(const std::wstring& w) { return gbkToUtf8(wideToGbkLossy(w)).value_or("?"); }

// A font the system describes, at its own size.
struct Font {
    explicit Font(const LOGFONTW& lf) : handle(CreateFontIndirectW(&lf)) {}
    ~Font() { DeleteObject(handle); }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    HFONT handle;
};

// The characters of texts that the font draws as the box it draws for a character no font has
// (U+0378 is unassigned), or not at all.
std::string boxedCharacters(const LOGFONTW& lf, const std::vector<std::wstring>& texts) {
    Font font(lf);
    const auto missing = draw(font.handle, L'\x0378', 128).ink;
    std::wstring boxed;
    for (const auto& t : texts)
        for (wchar_t ch : t) {
            if (ch < 0x80 || boxed.find(ch) != std::wstring::npos) continue;
            const auto drawn = draw(font.handle, ch, 128).ink;
            if (drawn == missing || std::find(drawn.begin(), drawn.end(), true) == drawn.end()) boxed += ch;
        }
    return utf8(boxed);
}

// The characters of texts that the font draws with strokes missing, against four times its size.
std::string brokenCharacters(const LOGFONTW& lf, const std::vector<std::wstring>& texts) {
    constexpr int kScale = 4;
    LOGFONTW big = lf;
    big.lfHeight *= kScale;
    Font small(lf), large(big);
    std::wstring broken;
    for (const auto& t : texts)
        for (wchar_t ch : t) {
            // Ideographs only: punctuation is placed apart in a size drawn from bitmaps.
            if (ch < 0x4E00 || ch > 0x9FFF || broken.find(ch) != std::wstring::npos) continue;
            // Smoothed edges of a thin stroke are grey: any grey counts small, only dark counts large.
            if (missingStrokes(draw(small.handle, ch, 224), draw(large.handle, ch, 128), kScale,
                               Align::Baseline) > 0)
                broken += ch;
        }
    return utf8(broken);
}

std::wstring wide(const char* gbk) { return gbkToWideLossy(gbk); }

// What the program shows in the system's own windows: message boxes, the list's popup menu,
// the second window's title, the folder browser's title.
std::vector<std::wstring> messageTexts() {
    return {L"列表框是空的！",
            L"确定删除到回收站吗？",
            L"没有什么可以保存的",
            L"提醒：",
            L"已将原文件名存入txt文档内，并已将txt文档保存到本软件的同级文件夹",
            L"创建成果提示",
            L"选择目录"};
}
std::vector<std::wstring> menuTexts() {
    return {wide(def(Ctl::上移).caption), wide(def(Ctl::下移).caption), wide(def(Ctl::删除).caption)};
}
std::vector<std::wstring> captionTexts() {
    return {wide(def(Ctl::感谢窗口).caption), wide(def(Ctl::主窗口).caption)};
}

NONCLIENTMETRICSW nonClientMetrics() {
    NONCLIENTMETRICSW m{};
    m.cbSize = sizeof m;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
    return m;
}

// A face at 8 points, the size dialog templates give.
LOGFONTW face(const wchar_t* name) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(8, dpi, 72);
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, name, LF_FACESIZE - 1);
    return lf;
}

struct Case {
    const char* what;
    LOGFONTW font;
    std::vector<std::wstring> texts;
};

// The fonts of the system's own windows, as it describes them.
std::vector<Case> systemFonts() {
    const auto m = nonClientMetrics();
    return {
        {"message box font", m.lfMessageFont, messageTexts()},
        {"menu font", m.lfMenuFont, menuTexts()},
        {"caption font", m.lfCaptionFont, captionTexts()},
        {"small caption font", m.lfSmCaptionFont, captionTexts()},
    };
}

TEST(SystemFonts, MessageBoxesMenusTitlesAndDialogsDrawChinese) {
    auto cases = systemFonts();
    // Dialog templates (the folder browser among them) name these faces, at 8 points.
    cases.push_back({"MS Shell Dlg", face(L"MS Shell Dlg"), messageTexts()});
    cases.push_back({"MS Shell Dlg 2", face(L"MS Shell Dlg 2"), messageTexts()});
    for (const auto& c : cases) {
        const std::string boxed = boxedCharacters(c.font, c.texts);
        EXPECT_TRUE(boxed.empty()) << boxed << " drawn as boxes in the " << c.what << " ("
                                   << utf8(c.font.lfFaceName) << ", " << -c.font.lfHeight << " pixels)";
    }
}

// Some small sizes of some faces drop whole strokes (下 reads 卜).
TEST(SystemFonts, MessageBoxesMenusAndTitlesDrawEveryStroke) {
    for (const auto& c : systemFonts()) {
        const std::string broken = brokenCharacters(c.font, c.texts);
        EXPECT_TRUE(broken.empty()) << broken << " drawn incompletely in the " << c.what << " ("
                                    << utf8(c.font.lfFaceName) << ", " << -c.font.lfHeight << " pixels)";
    }
}

// A named callback: on 32 bits a lambda would not have the system's calling convention.
int CALLBACK noteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool fontInstalled(const wchar_t* name) {
    HDC dc = GetDC(nullptr);
    LOGFONTW lf = face(name);
    lf.lfHeight = 0;
    bool found = false;
    EnumFontFamiliesExW(dc, &lf, noteFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

// The title bar's buttons are letters of Marlett; without it they read "0 1 r".
TEST(SystemFonts, TitleBarButtonsHaveTheirFont) { EXPECT_TRUE(fontInstalled(L"Marlett")); }

}  // namespace
}  // namespace vb

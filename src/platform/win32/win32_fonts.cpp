#include "platform/win32/win32_fonts.h"

#include <cwchar>
#include <initializer_list>

#include "platform/win32/compat.h"

namespace vb {
namespace {

constexpr int kFontPoints = 9;

// A named callback: on 32 bits a lambda would not have the system's calling convention.
int CALLBACK noteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool fontExists(HDC dc, const wchar_t* face) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    EnumFontFamiliesExW(dc, &lf, noteFontFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// The first installed face of the list, so that Chinese renders where the usual fonts are missing.
// The first `native` faces are the Windows ones, sized in points; a free CJK face stands in for
// them under Wine at the same size in pixels. WenQuanYi Zen Hei drops whole strokes at the sizes
// of a window (一 vanishes); its Sharp cut draws them all.
FontPtr makeFont(std::initializer_list<const wchar_t*> faces, size_t native, int dpi) {
    HDC dc = GetDC(nullptr);
    const wchar_t* chosen = nullptr;
    size_t rank = 0;
    for (const wchar_t* f : faces) {
        if (fontExists(dc, f)) {
            chosen = f;
            break;
        }
        ++rank;
    }
    ReleaseDC(nullptr, dc);
    LOGFONTW lf{};
    lf.lfHeight = rank < native ? -MulDiv(kFontPoints, dpi, 72) : -MulDiv(kFontPoints * 4 / 3, dpi, 96);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = chosen ? DEFAULT_CHARSET : GB2312_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;
    wcsncpy(lf.lfFaceName, chosen ? chosen : *faces.begin(), LF_FACESIZE - 1);
    return FontPtr(CreateFontIndirectW(&lf));
}

}  // namespace

FontPtr controlFont(int dpi) {
    return makeFont({L"微软雅黑", L"Microsoft YaHei", L"SimSun", L"Noto Sans CJK SC",
                     L"WenQuanYi Zen Hei Sharp", L"WenQuanYi Zen Hei"},
                    3, dpi);
}

FontPtr tabFont(int dpi) {
    return makeFont({L"SimSun", L"宋体", L"NSimSun", L"Noto Sans CJK SC", L"WenQuanYi Zen Hei Sharp",
                     L"WenQuanYi Zen Hei"},
                    3, dpi);
}

int systemDpi() {
    HDC dc = GetDC(nullptr);
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

std::optional<int> windowDpi(HWND w) {
    auto get = systemFunctionAs<UINT(WINAPI*)(HWND)>(L"user32.dll", "GetDpiForWindow");
    const UINT dpi = get ? get(w) : 0;
    return dpi > 0 ? std::optional<int>(static_cast<int>(dpi)) : std::nullopt;
}

}  // namespace vb

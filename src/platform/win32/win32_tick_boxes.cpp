#include "platform/win32/win32_tick_boxes.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <memory>
#include <string>
#include <type_traits>

#include "platform/win32/compat.h"

namespace vb {
namespace {

// Space between the glyph and the caption, logical pixels.
constexpr int kCaptionGap = 4;

struct ThemeClose {
    void operator()(HTHEME t) const { CloseThemeData(t); }
};
using ThemePtr = std::unique_ptr<std::remove_pointer_t<HTHEME>, ThemeClose>;

// The device context's objects, colours and clipping as they were, at the end of the scope.
class SavedDc {
public:
    explicit SavedDc(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDc() { RestoreDC(dc_, saved_); }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

private:
    HDC dc_;
    int saved_;
};

// The button's theme data at dpi where the system can open it at any scale (Windows 10 1703
// on; atDpi says so), else at the system's scale. None where the button is not themed.
ThemePtr openTheme(HWND button, int dpi, bool& atDpi) {
    using OpenForDpi = HTHEME(WINAPI*)(HWND, LPCWSTR, UINT);
    const auto openForDpi = systemFunctionAs<OpenForDpi>(L"uxtheme.dll", "OpenThemeDataForDpi");
    atDpi = openForDpi != nullptr;
    if (atDpi) return ThemePtr(openForDpi(button, L"Button", static_cast<UINT>(dpi)));
    return ThemePtr(OpenThemeData(button, L"Button"));
}

struct Look {
    bool radio = false;
    LRESULT tick = BST_UNCHECKED;  // or BST_CHECKED, BST_INDETERMINATE
    bool pressed = false, hot = false, disabled = false, focused = false;
};

Look lookOf(HWND button) {
    const LONG type = GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK;
    const LRESULT state = SendMessageW(button, BM_GETSTATE, 0, 0);
    Look look;
    look.radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    look.tick = state & (BST_CHECKED | BST_INDETERMINATE);
    look.pressed = state & BST_PUSHED;
    look.hot = state & BST_HOT;
    look.disabled = !IsWindowEnabled(button);
    look.focused = (state & BST_FOCUS) && !(SendMessageW(button, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
    return look;
}

// The theme's state: four looks (normal, hot, pressed, disabled) for each of unticked, ticked
// and mixed, in the same order for check boxes and radio buttons.
int themeState(const Look& look) {
    const int tick = look.tick == BST_CHECKED ? 1 : look.tick == BST_INDETERMINATE ? 2 : 0;
    const int how = look.disabled ? 3 : look.pressed ? 2 : look.hot ? 1 : 0;
    return 1 + 4 * tick + how;
}

UINT classicState(const Look& look) {
    UINT s = look.radio                       ? DFCS_BUTTONRADIO
             : look.tick == BST_INDETERMINATE ? DFCS_BUTTON3STATE
                                              : DFCS_BUTTONCHECK;
    if (look.tick != BST_UNCHECKED) s |= DFCS_CHECKED;
    if (look.pressed) s |= DFCS_PUSHED;
    if (look.disabled) s |= DFCS_INACTIVE;
    return s;
}

std::wstring captionOf(HWND button) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(button)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(button, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

void paintTickBox(HWND button, HDC dc, int dpi, int monitorDpi) {
    RECT client{};
    GetClientRect(button, &client);
    // Nothing lands outside the button, whatever clipping the system's DC has.
    const SavedDc saved(dc);
    IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
    // The background the parent gives, as for the system's own painting; a null brush leaves
    // what the parent has drawn there.
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(button), WM_CTLCOLORSTATIC,
                                                             reinterpret_cast<WPARAM>(dc),
                                                             reinterpret_cast<LPARAM>(button)));
    if (brush) FillRect(dc, &client, brush);

    const Look look = lookOf(button);
    bool themeAtDpi = false;
    const ThemePtr theme = openTheme(button, dpi, themeAtDpi);
    const int part = look.radio ? BP_RADIOBUTTON : BP_CHECKBOX;
    const int state = themeState(look);
    SIZE size{classicTickSize(dpi), classicTickSize(dpi)};
    if (theme && SUCCEEDED(GetThemePartSize(theme.get(), dc, part, state, nullptr, TS_DRAW, &size)) &&
        !themeAtDpi)
        size = {MulDiv(size.cx, dpi, monitorDpi), MulDiv(size.cy, dpi, monitorDpi)};
    // The caption goes inside the theme's margins; the glyph is centred on the caption's line.
    RECT text = client;
    if (theme) GetThemeBackgroundContentRect(theme.get(), dc, part, state, &client, &text);
    const int top = client.top + (text.bottom - text.top - size.cy) / 2;
    RECT glyph{client.left, top, client.left + size.cx, top + size.cy};
    if (theme)
        DrawThemeBackground(theme.get(), dc, part, state, &glyph, nullptr);
    else
        DrawFrameControl(dc, &glyph, DFC_BUTTON, classicState(look));

    const std::wstring caption = captionOf(button);
    if (const auto font = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)))
        SelectObject(dc, font);
    text.left = glyph.right + MulDiv(kCaptionGap, dpi, 96);
    UINT format = DT_LEFT | DT_SINGLELINE | DT_VCENTER;
    if (SendMessageW(button, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) format |= DT_HIDEPREFIX;
    SetBkMode(dc, TRANSPARENT);
    if (theme) {
        DrawThemeText(theme.get(), dc, part, state, caption.c_str(), -1, format, 0, &text);
    } else if (look.disabled) {
        // Engraved, as the system greys a caption without a theme.
        SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
        RECT shadow = text;
        OffsetRect(&shadow, 1, 1);
        DrawTextW(dc, caption.c_str(), -1, &shadow, format);
        SetTextColor(dc, GetSysColor(COLOR_3DSHADOW));
        DrawTextW(dc, caption.c_str(), -1, &text, format);
    } else {
        DrawTextW(dc, caption.c_str(), -1, &text, format);
    }

    if (look.focused && !caption.empty()) {
        RECT around = text;
        DrawTextW(dc, caption.c_str(), -1, &around, format | DT_CALCRECT);
        const int height = around.bottom - around.top;
        around.top = text.top + (text.bottom - text.top - height) / 2;
        around.bottom = around.top + height;
        InflateRect(&around, 1, 1);  // clear of the strokes
        IntersectRect(&around, &around, &client);
        DrawFocusRect(dc, &around);
    }
}

}  // namespace vb

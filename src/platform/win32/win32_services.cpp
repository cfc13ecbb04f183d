#include "platform/win32/win32_services.h"

#include <shellapi.h>
#include <shlobj.h>

#include "platform/win32/compat.h"
#include "platform/win32/wide.h"

namespace vb {
namespace {

struct BrowseState {
    const std::wstring& title;
    const std::wstring& startAt;
    BrowseObserver* observer;
};

// Empty when the item is not a file-system folder.
std::wstring pathOf(LPCITEMIDLIST item) {
    if (!item) return {};
    // Paths longer than MAX_PATH need the Ex function, which XP does not have.
    using PathEx = BOOL(WINAPI*)(LPCITEMIDLIST, PWSTR, DWORD, int);
    const auto pathEx = systemFunctionAs<PathEx>(L"shell32.dll", "SHGetPathFromIDListEx");
    std::wstring path(32768, L'\0');
    if (!pathEx || !pathEx(item, path.data(), static_cast<DWORD>(path.size()), 0)) {  // GPFIDL_DEFAULT
        path.assign(MAX_PATH, L'\0');
        if (!SHGetPathFromIDListW(item, path.data())) return {};
    }
    path.resize(wcslen(path.c_str()));
    return path;
}

int CALLBACK browseCallback(HWND hwnd, UINT msg, LPARAM param, LPARAM data) {
    const auto& state = *reinterpret_cast<const BrowseState*>(data);
    if (msg == BFFM_INITIALIZED) {
        // The browser's own caption would be the system's; ours names what is being chosen.
        SetWindowTextW(hwnd, state.title.c_str());
        // A message every shell since Windows 98 takes: nothing new to import.
        if (!state.startAt.empty())
            SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(state.startAt.c_str()));
        if (state.observer) state.observer->initialized(hwnd);
    } else if (msg == BFFM_SELCHANGED && state.observer) {
        state.observer->selectionChanged(hwnd, pathOf(reinterpret_cast<LPCITEMIDLIST>(param)));
    }
    return 0;
}

struct ItemList {
    PIDLIST_ABSOLUTE p = nullptr;
    ~ItemList() {
        if (p) CoTaskMemFree(p);
    }
};

}  // namespace

int Win32Dialogs::messageBox(const std::string& text, const std::string& title, Icon icon, Buttons buttons) {
    UINT style = buttons == Buttons::OkCancel ? MB_OKCANCEL : MB_OK;
    if (icon == Icon::Info) style |= MB_ICONINFORMATION;
    int r = MessageBoxW(owner_(), gbkToWideLossy(text).c_str(), gbkToWideLossy(title).c_str(),
                        style | MB_APPLMODAL);
    return r == IDCANCEL ? kAnswerCancel : kAnswerOk;
}

std::optional<std::string> Win32Dialogs::browseFolder(const std::string& title, const std::string& startAt) {
    std::wstring wtitle = gbkToWideLossy(title);
    // The browser takes a folder's path without its trailing separator, a root's with it.
    std::wstring start = gbkToWideLossy(startAt);
    while (start.size() > 3 && (start.back() == L'\\' || start.back() == L'/')) start.pop_back();
    wchar_t display[MAX_PATH] = {};
    BROWSEINFOW bi{};
    bi.hwndOwner = owner_();
    bi.pszDisplayName = display;
    bi.lpszTitle = wtitle.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    BrowseState state{wtitle, start, observer_};
    bi.lpfn = browseCallback;
    bi.lParam = reinterpret_cast<LPARAM>(&state);
    ItemList chosen{SHBrowseForFolderW(&bi)};
    std::wstring path = pathOf(chosen.p);
    if (path.empty()) return std::nullopt;
    // A folder whose path has no GBK form cannot be worked on; treat it as no choice.
    return wideToGbk(path);
}

void Win32Clipboard::setText(const std::string& s) {
    std::wstring w = gbkToWideLossy(s);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (w.size() + 1) * sizeof(wchar_t));
    if (!mem) return;
    if (void* p = GlobalLock(mem)) {
        memcpy(p, w.c_str(), (w.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(mem);
    }
    // Another program may hold the clipboard for a moment.
    bool open = false;
    for (int attempt = 0; attempt < 10 && !open; ++attempt) {
        open = OpenClipboard(owner_());
        if (!open) Sleep(10);
    }
    if (!open) {
        GlobalFree(mem);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_UNICODETEXT, mem)) GlobalFree(mem);
    CloseClipboard();
}

void Win32Shell::openUrl(const std::string& url) {
    ShellExecuteW(nullptr, L"open", gbkToWideLossy(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace vb

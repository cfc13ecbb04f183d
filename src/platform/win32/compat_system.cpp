// The running system's own functions for the choices of compat.h. Its own unit, so that a test
// program can link other answers in its place.
#include "platform/win32/compat.h"

namespace vb {

FindFirstFn systemFindFirst() {
    return [](const wchar_t* pattern, FINDEX_INFO_LEVELS level, WIN32_FIND_DATAW& data, DWORD flags) {
        return FindFirstFileExW(pattern, level, &data, FindExSearchNameMatch, nullptr, flags);
    };
}

DpiFunctions systemDpiFunctions() {
    DpiFunctions f;
    using Awareness = HRESULT(WINAPI*)(int);
    if (auto p = systemFunctionAs<Awareness>(L"shcore.dll", "SetProcessDpiAwareness"))
        f.setProcessDpiAwareness = p;
    using Aware = BOOL(WINAPI*)();
    if (auto p = systemFunctionAs<Aware>(L"user32.dll", "SetProcessDPIAware")) f.setProcessDpiAware = p;
    return f;
}

MessageFilterFn systemMessageFilter() {
    using Change = BOOL(WINAPI*)(UINT, DWORD);
    if (auto p = systemFunctionAs<Change>(L"user32.dll", "ChangeWindowMessageFilter")) return p;
    return {};
}

}  // namespace vb

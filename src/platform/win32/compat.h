// What differs between the Windows versions the program runs on (XP SP3 to 11): functions only
// newer systems have are looked up at run time and used where they exist, and answers only older
// systems give are met with the older way. Each choice takes its system functions as a parameter,
// so that a test can hand it an older system's answer.
#pragma once

#include <windows.h>

#include <functional>

namespace vb {

// An exported function of a system DLL, or null where this system lacks it. A DLL that is not
// loaded yet is loaded from the system folder only.
FARPROC systemFunction(const wchar_t* dll, const char* name);

template <typename Fn>
Fn systemFunctionAs(const wchar_t* dll, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(systemFunction(dll, name)));
}

// Tells a debugger (and the Wine debug channel "debugstr") which way a choice went; the user sees
// nothing of it.
void reportPath(const char* text);

// The first step of a folder search: the faster basic level with large fetches (Windows 7 on),
// or the standard level without flags where the system refuses those with ERROR_INVALID_PARAMETER.
using FindFirstFn = std::function<HANDLE(const wchar_t* pattern, FINDEX_INFO_LEVELS level,
                                         WIN32_FIND_DATAW& data, DWORD flags)>;
FindFirstFn systemFindFirst();
HANDLE findFirstFile(const wchar_t* pattern, WIN32_FIND_DATAW& data, const FindFirstFn& system);

// The process is made DPI aware with the newest function the system has: per monitor from
// Windows 8.1 on (the manifest asks for per monitor v2 from Windows 10 1703 on), the system DPI
// on Vista to 8, none on XP, where every program is drawn at the system DPI anyway.
struct DpiFunctions {
    std::function<HRESULT(int awareness)> setProcessDpiAwareness;  // Windows 8.1 on
    std::function<BOOL()> setProcessDpiAware;                      // Vista on
};
DpiFunctions systemDpiFunctions();
enum class DpiPath { kDpiAwareness, kDpiAware, kNone };
DpiPath becomeDpiAware(const DpiFunctions& system);

// Systems from Vista on filter messages by integrity level: a drop from a shell running lower
// would be lost unless the drop messages are let through. XP has no filter (and no function).
using MessageFilterFn = std::function<BOOL(UINT message, DWORD action)>;
MessageFilterFn systemMessageFilter();
bool openMessageFilter(const MessageFilterFn& change);

}  // namespace vb

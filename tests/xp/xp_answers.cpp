// Windows XP's answers to the choices of platform/win32/compat.h, linked into Velbrook-xp.exe in
// place of the running system's (compat_system.cpp): the folder search refuses the basic level
// and large fetches, and neither the DPI functions nor the message filter exist. Everything else
// is the real program on the real system, so the scenarios show that the XP paths work.
#include "platform/win32/compat.h"

namespace vb {

FindFirstFn systemFindFirst() {
    return [](const wchar_t* pattern, FINDEX_INFO_LEVELS level, WIN32_FIND_DATAW& data, DWORD flags) {
        if (level != FindExInfoStandard || flags != 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return INVALID_HANDLE_VALUE;
        }
        return FindFirstFileExW(pattern, level, &data, FindExSearchNameMatch, nullptr, flags);
    };
}

DpiFunctions systemDpiFunctions() { return {}; }

MessageFilterFn systemMessageFilter() { return {}; }

}  // namespace vb

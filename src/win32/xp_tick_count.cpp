// The thread library of the 32-bit build imports GetTickCount64, which XP lacks: with that import
// the program would not even load there. Defining the import's address here (the linker then takes
// no import from kernel32) gives the library a millisecond count from the performance counter,
// which every system has. The 64-bit build runs from Windows 7 on, which has the function.
#if defined(_WIN32) && !defined(_WIN64)
#include <windows.h>

namespace {

ULONGLONG WINAPI tickCount64() {
    LARGE_INTEGER now, frequency;
    if (!QueryPerformanceCounter(&now) || !QueryPerformanceFrequency(&frequency) || frequency.QuadPart == 0)
        return GetTickCount();
    return static_cast<ULONGLONG>(now.QuadPart / frequency.QuadPart * 1000 +
                                  now.QuadPart % frequency.QuadPart * 1000 / frequency.QuadPart);
}

}  // namespace

// The slot the thread library calls through; constant, set before any code runs.
extern "C" ULONGLONG(WINAPI* const importedTickCount64)() __asm__("__imp__GetTickCount64@0") = tickCount64;
#endif

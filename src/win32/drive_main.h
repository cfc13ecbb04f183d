// Velbrook.exe --drive SCRIPT --out FILE [--root DIR] [--program-dir DIR] [--tick N]
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vb {
int driveMain(HINSTANCE instance, const std::vector<std::wstring>& args);
}

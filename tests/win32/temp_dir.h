// Files of the Windows tests by their wide paths (long ones too), in the shared temporary folder.
#pragma once

#include <windows.h>

#include <string>

#include "../temp_folder.h"

namespace vb::testing {

void writeFile(const std::wstring& path, const std::string& bytes);
std::string readFile(const std::wstring& path);
bool exists(const std::wstring& path);

}  // namespace vb::testing

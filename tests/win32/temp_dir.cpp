#include "temp_dir.h"

#include <filesystem>
#include <fstream>

#include "platform/win32/win32_fs.h"

namespace vb::testing {

void writeFile(const std::wstring& path, const std::string& bytes) {
    std::ofstream(std::filesystem::path(extendedPath(path)), std::ios::binary) << bytes;
}

std::string readFile(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(extendedPath(path)), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(extendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace vb::testing

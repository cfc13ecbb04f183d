#include "temp_dir.h"

#include <shellapi.h>

#include <filesystem>
#include <fstream>

#include "platform/win32/wide.h"
#include "platform/win32/win32_fs.h"

namespace vb::testing {

TempDir::TempDir() {
    wchar_t base[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, base);
    for (unsigned n = GetTickCount();; ++n) {
        path_ = std::wstring(base) + L"vbtest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(n);
        if (CreateDirectoryW(path_.c_str(), nullptr)) break;
    }
    path_ += L'\\';
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::path(extendedPath(path_)), ec);
}

std::string TempDir::gbk() const { return wideToGbk(path_).value_or(std::string()); }

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

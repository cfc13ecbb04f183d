// A fresh directory under the system's temporary folder, removed with everything in it.
#pragma once

#include <windows.h>

#include <string>

namespace vb::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& path() const { return path_; }  // ends in "\"
    std::string gbk() const;                            // the same, GBK

private:
    std::wstring path_;
};

void writeFile(const std::wstring& path, const std::string& bytes);
std::string readFile(const std::wstring& path);
bool exists(const std::wstring& path);

}  // namespace vb::testing

// The version resource as Explorer's Properties read it: from the program file itself.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/wide.h"

namespace vb {
namespace {

class VersionInfo {
public:
    explicit VersionInfo(const std::wstring& file) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
        if (size == 0) return;
        data_.resize(size);
        if (!GetFileVersionInfoW(file.c_str(), 0, size, data_.data())) data_.clear();
    }
    bool found() const { return !data_.empty(); }

    const VS_FIXEDFILEINFO* fixed() const {
        void* p = nullptr;
        UINT len = 0;
        if (!VerQueryValueW(data_.data(), L"\\", &p, &len) || len < sizeof(VS_FIXEDFILEINFO)) return nullptr;
        return static_cast<const VS_FIXEDFILEINFO*>(p);
    }
    std::vector<std::pair<WORD, WORD>> translations() const {
        void* p = nullptr;
        UINT len = 0;
        std::vector<std::pair<WORD, WORD>> out;
        if (!VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation", &p, &len)) return out;
        const WORD* w = static_cast<const WORD*>(p);
        for (UINT i = 0; i + 1 < len / sizeof(WORD); i += 2) out.emplace_back(w[i], w[i + 1]);
        return out;
    }
    std::optional<std::wstring> text(const wchar_t* name) const {
        void* p = nullptr;
        UINT len = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
        if (!VerQueryValueW(data_.data(), key.c_str(), &p, &len) || len == 0) return std::nullopt;
        return std::wstring(static_cast<const wchar_t*>(p));
    }

private:
    std::vector<char> data_;
};

std::wstring besideThisProgram(const wchar_t* name) {
    std::wstring self(MAX_PATH, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
    return self.substr(0, self.find_last_of(L"\\/") + 1) + name;
}

void expectVelbrookVersion(const std::wstring& exe) {
    SCOPED_TRACE(wideToGbkLossy(exe));
    VersionInfo info(exe);
    ASSERT_TRUE(info.found());
    const std::wstring version = *gbkToWide(VELBROOK_VERSION);
    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(swscanf(version.c_str(), L"%u.%u.%u", &major, &minor, &patch), 3);

    const VS_FIXEDFILEINFO* fixed = info.fixed();
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    for (auto [ms, ls] : {std::pair{fixed->dwFileVersionMS, fixed->dwFileVersionLS},
                          std::pair{fixed->dwProductVersionMS, fixed->dwProductVersionLS}}) {
        EXPECT_EQ(ms, MAKELONG(minor, major));
        EXPECT_EQ(ls, MAKELONG(0, patch));
    }
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    // Simplified Chinese, UTF-16 texts: what Explorer looks up first on a Chinese system.
    const std::vector<std::pair<WORD, WORD>> chinese = {{0x0804, 1200}};
    EXPECT_EQ(info.translations(), chinese);
    const struct {
        const wchar_t* name;
        std::wstring value;
    } texts[] = {
        {L"ProductName", L"Velbrook"},
        {L"FileVersion", version},
        {L"ProductVersion", version},
        {L"FileDescription", L"Velbrook 文件批量改名工具"},
        {L"LegalCopyright", L"版权所有 (C) Velbrook 开发者"},
        {L"OriginalFilename", L"Velbrook.exe"},
    };
    for (const auto& t : texts) EXPECT_EQ(info.text(t.name), t.value) << wideToGbkLossy(t.name);
}

TEST(VersionResource, ProgramSaysWhatItIs) { expectVelbrookVersion(besideThisProgram(L"Velbrook.exe")); }

// The program of the other build (the 32-bit one beside the 64-bit tests), when the run names it.
TEST(VersionResource, OtherBuildSaysTheSame) {
    const char* other = std::getenv("VELBROOK_TEST_OTHER_EXE");
    if (!other || !*other) GTEST_SKIP() << "VELBROOK_TEST_OTHER_EXE not set";
    expectVelbrookVersion(*gbkToWide(other));
}

}  // namespace
}  // namespace vb

// Each choice between a newer and an older system's way, given the older system's answer.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/compat.h"
#include "temp_dir.h"

namespace vb {
namespace {

using testing::TempFolder;
using testing::writeFile;

struct FindCall {
    FINDEX_INFO_LEVELS level;
    DWORD flags;
    bool operator==(const FindCall&) const = default;
};

// The real search, except that a system older than 7 refuses the basic level and large fetches.
FindFirstFn recordingSystem(bool older, std::vector<FindCall>& calls) {
    return [older, &calls, real = systemFindFirst()](const wchar_t* pattern, FINDEX_INFO_LEVELS level,
                                                     WIN32_FIND_DATAW& data, DWORD flags) {
        calls.push_back({level, flags});
        if (older && (level != FindExInfoStandard || flags != 0)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return INVALID_HANDLE_VALUE;
        }
        return real(pattern, level, data, flags);
    };
}

std::vector<std::wstring> listAll(const std::wstring& pattern, const FindFirstFn& system) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE h = findFirstFile(pattern.c_str(), data, system);
    if (h == INVALID_HANDLE_VALUE) return names;
    do names.push_back(data.cFileName);
    while (FindNextFileW(h, &data));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Compat, FolderSearchFallsBackWhereTheNewerFlagsAreRefused) {
    TempFolder d{"vbcompat"};
    writeFile(d.wide() + L"第1集.mp4", "1");
    writeFile(d.wide() + L"b.txt", "b");
    const std::vector<std::wstring> all = {L".", L"..", L"b.txt", L"第1集.mp4"};
    struct Case {
        const char* system;
        bool older;
        std::vector<FindCall> calls;
    };
    const Case cases[] = {
        {"Windows 7 on", false, {{FindExInfoBasic, FIND_FIRST_EX_LARGE_FETCH}}},
        {"XP and Vista", true, {{FindExInfoBasic, FIND_FIRST_EX_LARGE_FETCH}, {FindExInfoStandard, 0}}},
    };
    for (const auto& c : cases) {
        std::vector<FindCall> calls;
        EXPECT_EQ(listAll(d.wide() + L"*", recordingSystem(c.older, calls)), all) << c.system;
        EXPECT_EQ(calls, c.calls) << c.system;
    }
}

TEST(Compat, FolderSearchRetriesOnlyARefusalOfTheFlags) {
    TempFolder d{"vbcompat"};
    std::vector<FindCall> calls;
    WIN32_FIND_DATAW data;
    const std::wstring missing = d.wide() + L"missing\\*";
    EXPECT_EQ(findFirstFile(missing.c_str(), data, recordingSystem(false, calls)), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(calls.size(), 1u);
}

TEST(Compat, DpiAwarenessWithTheNewestFunctionTheSystemHas) {
    struct Case {
        const char* system;
        bool hasAwareness;
        HRESULT awarenessResult;
        bool hasAware;
        DpiPath path;
        int awarenessCalls, awareCalls;
    };
    const Case cases[] = {
        {"8.1 on", true, S_OK, true, DpiPath::kDpiAwareness, 1, 0},
        {"8.1 on, set by the manifest", true, E_ACCESSDENIED, true, DpiPath::kDpiAwareness, 1, 0},
        {"8.1 on, refused", true, E_INVALIDARG, true, DpiPath::kDpiAware, 1, 1},
        {"Vista to 8", false, S_OK, true, DpiPath::kDpiAware, 0, 1},
        {"XP", false, S_OK, false, DpiPath::kNone, 0, 0},
    };
    for (const auto& c : cases) {
        int awarenessCalls = 0, awareCalls = 0, awarenessAsked = -1;
        DpiFunctions f;
        if (c.hasAwareness)
            f.setProcessDpiAwareness = [&](int a) {
                ++awarenessCalls;
                awarenessAsked = a;
                return c.awarenessResult;
            };
        if (c.hasAware)
            f.setProcessDpiAware = [&] {
                ++awareCalls;
                return TRUE;
            };
        EXPECT_EQ(becomeDpiAware(f), c.path) << c.system;
        EXPECT_EQ(awarenessCalls, c.awarenessCalls) << c.system;
        EXPECT_EQ(awareCalls, c.awareCalls) << c.system;
        if (c.awarenessCalls) {
            EXPECT_EQ(awarenessAsked, 2) << c.system;  // per monitor
        }
    }
}

TEST(Compat, MessageFilterOpenedForTheDropMessagesWhereItExists) {
    EXPECT_FALSE(openMessageFilter({}));  // XP: no filter, nothing to open

    std::vector<std::pair<UINT, DWORD>> calls;
    EXPECT_TRUE(openMessageFilter([&](UINT msg, DWORD action) {
        calls.emplace_back(msg, action);
        return TRUE;
    }));
    const std::vector<std::pair<UINT, DWORD>> expected = {
        {WM_DROPFILES, 1}, {WM_COPYDATA, 1}, {0x49, 1}};  // 0x49: WM_COPYGLOBALDATA; 1: MSGFLT_ADD
    EXPECT_EQ(calls, expected);
}

TEST(Compat, SystemFunctionsAreFoundOnlyWhereTheyExist) {
    EXPECT_NE(systemFunction(L"kernel32.dll", "GetProcAddress"), nullptr);
    EXPECT_EQ(systemFunction(L"kernel32.dll", "NoSuchFunctionAnywhere"), nullptr);
    EXPECT_EQ(systemFunction(L"no-such-library.dll", "Anything"), nullptr);
}

}  // namespace
}  // namespace vb

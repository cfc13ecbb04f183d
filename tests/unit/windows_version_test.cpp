#include "app/windows_version.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

constexpr bool kServer = true;

struct Case {
    const char* what;
    WindowsVersion version;
    const char* text;
};

WindowsVersion v(unsigned major, unsigned minor, bool server = false, unsigned suite = 0,
                 unsigned product = 0, bool r2 = false, bool x64 = true) {
    WindowsVersion w;
    w.major = major;
    w.minor = minor;
    w.server = server;
    w.suite = suite;
    w.productType = product;
    w.serverR2 = r2;
    w.x64 = x64;
    w.currentBuild = "9999";
    return w;
}

TEST(WindowsVersionText, NamesEachKnownSystem) {
    WindowsVersion server10 = v(10, 0, kServer, 0, 0x07);
    server10.productName = "Windows Server 2019 Standard";
    WindowsVersion sp1 = v(6, 1, false, 0, 0x30);
    sp1.csdVersion = "Service Pack 1";
    const Case cases[] = {
        {"10 workstation", v(10, 0, false, 0, 0x30), "Windows 10 Professional x64,Build:9999"},
        {"10 server takes the registry's name", server10, "Windows Server 2019 Standard x64,Build:9999"},
        {"8.1", v(6, 3, false, 0, 0x65), "Windows 8.1 Home x64,Build:9999"},
        {"2012 R2", v(6, 3, kServer), "Windows Server 2012 R2 x64,Build:9999"},
        {"8", v(6, 2, false, 0, 0x04, false, false), "Windows 8 Enterprise x86,Build:9999"},
        {"7 with a service pack", sp1, "Windows 7 Professional x64 Service Pack 1,Build:9999"},
        {"2008 R2", v(6, 1, kServer), "Windows Server 2008 R2 x64,Build:9999"},
        {"Vista", v(6, 0, false, 0, 0x03, false, false), "Windows Vista Home Premium x86,Build:9999"},
        {"2008", v(6, 0, kServer), "Windows Server 2008 x64,Build:9999"},
        {"XP home", v(5, 1, false, 0x200, 0, false, false), "Windows XP Home Edition x86,Build:9999"},
        {"XP professional", v(5, 1, false, 0, 0, false, false), "Windows XP Professional x86,Build:9999"},
        {"2000", v(5, 0, kServer, 0, 0, false, false), "Windows 2000 Standard Edition x86,Build:9999"},
        {"98", v(4, 10, false, 0, 0, false, false), "Windows 98 Professional x86,Build:9999"},
    };
    for (const auto& c : cases) EXPECT_EQ(windowsVersionText(c.version), c.text) << c.what;
}

TEST(WindowsVersionText, FivePointTwoTakesTheFirstRuleThatHolds) {
    const Case cases[] = {
        {"R2 metric wins over everything", v(5, 2, kServer, 0x2000 | 0x8000, 0, true),
         "Windows Server 2003 R2, Standard Edition x64,Build:9999"},
        {"storage server", v(5, 2, kServer, 0x2000 | 0x8000),
         "Windows Storage Server 2003 Standard Edition x64,Build:9999"},
        {"home server", v(5, 2, kServer, 0x8000), "Windows Home Server Standard Edition x64,Build:9999"},
        {"XP x64", v(5, 2, false, 0, 0, false, true),
         "Windows XP Professional x64 Edition Professional x64,Build:9999"},
        {"2003 enterprise", v(5, 2, kServer, 0x0002, 0, false, false),
         "Windows Server 2003, Enterprise Edition x86,Build:9999"},
        {"2003 on a 32-bit workstation", v(5, 2, false, 0, 0, false, false),
         "Windows Server 2003, Professional x86,Build:9999"},
    };
    for (const auto& c : cases) EXPECT_EQ(windowsVersionText(c.version), c.text) << c.what;
}

TEST(WindowsVersionText, UnknownVersionsSayWhatWasFound) {
    const Case cases[] = {
        {"future", v(11, 2), "获取失败，请检查版本:11.2"},
        {"server 10 without a registry name", v(10, 0, kServer), "获取失败，请检查版本:10.0"},
        {"XP has no server", v(5, 1, kServer), "获取失败，请检查版本:5.1"},
        {"nothing found", v(0, 0), "获取失败，请检查版本:0.0"},
    };
    for (const auto& c : cases) EXPECT_EQ(windowsVersionText(c.version), c.text) << c.what;
}

TEST(WindowsVersionText, OnlyXpKeepsTheMessageFilterClosed) {
    struct FilterCase {
        WindowsVersion version;
        bool opens;
    };
    const FilterCase cases[] = {
        {v(5, 1), false},         {v(5, 2, false, 0, 0, false, true), false},  // XP Professional x64 Edition
        {v(5, 2, kServer), true}, {v(5, 0), true},
        {v(6, 0), true},          {v(10, 0, false, 0, 0x30), true},
        {v(12, 0), true},  // a failure to tell still opens it
    };
    for (const auto& c : cases)
        EXPECT_EQ(needsMessageFilter(windowsVersionText(c.version)), c.opens)
            << windowsVersionText(c.version);
}

}  // namespace
}  // namespace vb

#include "app/windows_version.h"

namespace vb {
namespace {

constexpr unsigned kSuiteEnterprise = 0x0002;
constexpr unsigned kSuiteDatacenter = 0x0080;
constexpr unsigned kSuitePersonal = 0x0200;
constexpr unsigned kSuiteBlade = 0x0400;
constexpr unsigned kSuiteStorageServer = 0x2000;
constexpr unsigned kSuiteHomeServer = 0x8000;

struct Product {
    unsigned major;
    unsigned minor;
    const char* workstation;  // null: not a workstation system
    const char* server;       // null: not a server system; "" for the registry's name
};

constexpr Product kProducts[] = {
    {10, 0, "Windows 10", ""},
    {6, 3, "Windows 8.1", "Windows Server 2012 R2"},
    {6, 2, "Windows 8", "Windows Server 2012"},
    {6, 1, "Windows 7", "Windows Server 2008 R2"},
    {6, 0, "Windows Vista", "Windows Server 2008"},
    {5, 1, "Windows XP", nullptr},
    {5, 0, "Windows 2000", "Windows 2000"},
    {4, 10, "Windows 98", nullptr},
};

struct Edition {
    unsigned type;
    const char* name;
};

// The common product information numbers; others are left without an edition name.
constexpr Edition kEditions[] = {
    {0x01, "Ultimate"},
    {0x02, "Home Basic"},
    {0x03, "Home Premium"},
    {0x04, "Enterprise"},
    {0x06, "Business"},
    {0x07, "Standard Server"},
    {0x08, "Datacenter Server"},
    {0x0A, "Enterprise Server"},
    {0x0B, "Starter"},
    {0x11, "Web Server"},
    {0x30, "Professional"},
    {0x48, "Enterprise Evaluation"},
    {0x62, "Home N"},
    {0x63, "Home China"},
    {0x64, "Home Single Language"},
    {0x65, "Home"},
    {0x79, "Education"},
    {0xA1, "Pro for Workstations"},
};

std::string editionOf(const WindowsVersion& v) {
    if (v.major >= 6) {
        for (const auto& e : kEditions)
            if (e.type == v.productType) return e.name;
        return {};
    }
    if (!v.server) return v.suite & kSuitePersonal ? "Home Edition" : "Professional";
    if (v.suite & kSuiteDatacenter) return "Datacenter Edition";
    if (v.suite & kSuiteEnterprise) return "Enterprise Edition";
    if (v.suite & kSuiteBlade) return "Web Edition";
    return "Standard Edition";
}

// Nothing when the version is not one we know.
const char* productNameOf(const WindowsVersion& v) {
    if (v.major == 5 && v.minor == 2) {
        if (v.serverR2) return "Windows Server 2003 R2, ";
        if (v.suite & kSuiteStorageServer) return "Windows Storage Server 2003";
        if (v.suite & kSuiteHomeServer) return "Windows Home Server";
        if (!v.server && v.x64) return "Windows XP Professional x64 Edition";
        return "Windows Server 2003, ";
    }
    for (const auto& p : kProducts) {
        if (p.major != v.major || p.minor != v.minor) continue;
        const char* name = v.server ? p.server : p.workstation;
        if (!name) return nullptr;
        return *name ? name : v.productName.c_str();
    }
    return nullptr;
}

}  // namespace

std::string windowsVersionText(const WindowsVersion& v) {
    const char* product = productNameOf(v);
    if (!product || !*product)
        return "获取失败，请检查版本:" + std::to_string(v.major) + "." + std::to_string(v.minor);
    std::string text = product;
    // The registry's product name already holds the edition.
    std::string edition = product == v.productName.c_str() ? std::string() : editionOf(v);
    if (!edition.empty()) {
        if (text.back() != ' ') text += ' ';
        text += edition;
    }
    text += v.x64 ? " x64" : " x86";
    if (!v.csdVersion.empty()) text += " " + v.csdVersion;
    text += ",Build:" + v.currentBuild;
    return text;
}

bool needsMessageFilter(std::string_view versionText) { return versionText.substr(0, 10) != "Windows XP"; }

}  // namespace vb

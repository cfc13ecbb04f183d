// The Windows version text: the product name, edition, architecture, service pack and build,
// as the drop hook uses it to decide whether the message filter has to be opened.
#pragma once

#include <string>
#include <string_view>

namespace vb {

struct WindowsVersion {
    unsigned major = 0;
    unsigned minor = 0;
    bool server = false;       // the product type is not a workstation
    unsigned suite = 0;        // the suite mask
    unsigned productType = 0;  // the product information number (6.0 and later)
    bool serverR2 = false;     // the SM_SERVERR2 system metric
    bool x64 = false;          // the machine runs an AMD64 processor
    std::string productName;   // ProductName, CSDVersion and CurrentBuild from the registry (GBK)
    std::string csdVersion;
    std::string currentBuild;
};

std::string windowsVersionText(const WindowsVersion& v);

// Every system after Windows XP filters messages by integrity level, so a drop from a shell
// running lower would be lost without the filter opened.
bool needsMessageFilter(std::string_view versionText);

}  // namespace vb

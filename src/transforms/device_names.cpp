#include "transforms/device_names.h"

#include <algorithm>
#include <array>

namespace vb {
namespace {

constexpr std::array<std::string_view, 22> kDevices = {
    "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
    "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9",
};

char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool isDeviceName(std::string_view name) {
    // No trail byte of a GBK character is a dot or a blank, so bytes can be scanned as they are.
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    return std::any_of(kDevices.begin(), kDevices.end(), [&](std::string_view d) {
        return base.size() == d.size() && std::equal(base.begin(), base.end(), d.begin(),
                                                     [](char a, char b) { return asciiUpper(a) == b; });
    });
}

}  // namespace vb

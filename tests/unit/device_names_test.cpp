#include "transforms/device_names.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

TEST(DeviceNames, BaseNameBeforeTheFirstDotInAnyCase) {
    const struct {
        const char* name;
        bool device;
    } cases[] = {
        {"CON", true},        {"con", true},          {"Prn", true},       {"aux.txt", true},
        {"NUL.tar.gz", true}, {"nul.", true},         {"COM1", true},      {"com9.mp4", true},
        {"LPT1", true},       {"lpt9.jpg", true},     {"con .txt", true},  {"CON  ", true},
        {"console", false},   {"xcon", false},        {" con", false},     {"com10", false},
        {"COM0", false},      {"lpt", false},         {"lpt0.txt", false}, {"con_x", false},
        {"a.con", false},     {".con", false},        {"", false},         {"con\xb0\xa1.txt", false},
        {"\xb0\xa1", false},  {"COM\xa3\xb1", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isDeviceName(c.name), c.device) << '"' << c.name << '"';
}

}  // namespace
}  // namespace vb

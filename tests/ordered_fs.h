// A file system that forwards to a real one and hands out every listing in the order the test
// chooses, so that a test never leans on the order this machine's directories happen to have.
// Shared by the native and the Windows tests.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/forwarding_fs.h"

namespace vb::testing {

class OrderedFileSystem final : public ForwardingFileSystem {
public:
    // True when the first name is listed before the second; equal names keep the inner order.
    using Before = std::function<bool(const std::string&, const std::string&)>;

    OrderedFileSystem(FileSystem& inner, Before before)
        : ForwardingFileSystem(inner), before(std::move(before)) {}

    std::vector<DirEntry> search(const std::string& dir, const std::string& pattern) override {
        std::vector<DirEntry> found = inner_.search(dir, pattern);
        if (before)
            std::stable_sort(found.begin(), found.end(),
                             [this](const DirEntry& a, const DirEntry& b) { return before(a.name, b.name); });
        return found;
    }

    Before before;
};

inline bool ascending(const std::string& a, const std::string& b) { return a < b; }
inline bool descending(const std::string& a, const std::string& b) { return b < a; }

}  // namespace vb::testing

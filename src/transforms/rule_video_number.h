// The simulated video number tail: base + "(Av" + 9 digits + ",P" + position + ")" + extension.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "transforms/path_style.h"

namespace vb {

// The C runtime's srand/rand of the Windows toolchain, so that a tick gives the same digits on
// every platform.
class CrtRandom {
public:
    explicit CrtRandom(std::uint32_t seed = 1) : state_(seed) {}
    void seed(std::uint32_t seed) { state_ = seed; }
    // 0 to 32767
    int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

private:
    std::uint32_t state_;
};

// One 9-digit number per entry. Each number reseeds with tick + a running offset that then grows
// by 100 + the seed's low 8 bits, so entries within one tick still get different numbers.
class VideoNumberGenerator {
public:
    std::string next(std::uint32_t tick);

private:
    std::uint32_t offset_ = 0;
    CrtRandom random_;
};

// The final component of fileName after the file system's separator, with the extension split
// off as every rule splits it.
std::string videoNumberName(std::string_view fileName, std::string_view digits, int position,
                            const PathStyle& paths);

}  // namespace vb

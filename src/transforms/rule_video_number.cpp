#include "transforms/rule_video_number.h"

#include "transforms/gbk_text.h"

namespace vb {

std::string VideoNumberGenerator::next(std::uint32_t tick) {
    static constexpr std::string_view kDigits = "9876543210";
    std::uint32_t seed = tick + offset_;  // wraps like the tick itself
    random_.seed(seed);
    offset_ += 100 + (seed & 0xFF);
    std::string digits;
    for (int k = 0; k < 9; ++k) digits += kDigits[random_.next() % 10];
    return digits;
}

std::string videoNumberName(std::string_view fileName, std::string_view digits, int position,
                            const PathStyle& paths) {
    NameParts parts = splitName(fileName, paths);
    return parts.base + "(Av" + std::string(digits) + ",P" + decimal(position) + ")" + parts.ext;
}

}  // namespace vb

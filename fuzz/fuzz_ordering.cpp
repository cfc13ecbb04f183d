// The padded-number ordering: a permutation, sorted by key, keys that only add zeros and a marker.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "check.h"
#include "fileset/ordering.h"

using vb::fuzz::require;

namespace {

// The key's text without its marker, with its zeros removed again, is the name.
bool keyPadsName(const std::string& key, const std::string& name) {
    if (key == name) return true;
    for (std::string_view marker : {std::string_view("加1个蛋蛋"), std::string_view("加2个蛋蛋")}) {
        if (!vb::fuzz::endsWith(key, marker)) continue;
        std::string_view body(key.data(), key.size() - marker.size());
        const size_t zeros = marker[2] == '1' ? 1 : 2;
        if (body.size() != name.size() + zeros) continue;
        for (size_t q = 0; q + zeros <= body.size(); ++q)
            if (body.substr(q, zeros).find_first_not_of('0') == std::string_view::npos &&
                std::string(body.substr(0, q)) + std::string(body.substr(q + zeros)) == name)
                return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const size_t padTo = in.ConsumeIntegralInRange<size_t>(0, 150);
    std::vector<std::string> names;
    while (in.remaining_bytes() > 0 && names.size() < 400) names.push_back(in.ConsumeRandomLengthString(24));
    // Pretend to be one of many names now and then, so the three-digit padding is reached.
    while (names.size() < padTo) names.push_back("z" + std::to_string(names.size()));

    std::vector<std::string> sorted = names;
    vb::sortPaddedNumber(sorted);

    std::vector<std::string> a = names, b = sorted;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    require(a == b, "the ordering is a permutation");

    std::vector<std::string> keys;
    for (const auto& s : sorted) {
        keys.push_back(vb::paddedNumberKey(s, sorted.size()));
        require(keyPadsName(keys.back(), s), "a key is the name with zeros and a marker");
    }
    for (size_t i = 1; i < keys.size(); ++i) {
        require(keys[i - 1] <= keys[i], "sorted by key");
        if (keys[i - 1] == keys[i]) require(sorted[i - 1] <= sorted[i], "equal keys by name");
    }
    return 0;
}

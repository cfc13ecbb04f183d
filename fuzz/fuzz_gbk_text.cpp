// The shared GBK routines against plain reference scans.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "check.h"
#include "platform/encoding.h"
#include "transforms/gbk_text.h"

using vb::fuzz::require;

namespace {

// Leftmost and rightmost match on a character boundary, scanning from the 0-based offset from.
std::pair<int, int> referenceFind(std::string_view text, std::string_view what, size_t from) {
    int first = -1, last = -1;
    if (what.empty() || text.empty()) return {first, last};
    for (size_t i = from; i < text.size();) {
        if (text.substr(i, what.size()) == what) {
            if (first == -1) first = static_cast<int>(i + 1);
            last = static_cast<int>(i + 1);
        }
        i += vb::fuzz::leads(text[i]) && i + 1 < text.size() ? 2 : 1;
    }
    return {first, last};
}

// Full-width digits, signs and blanks as ASCII, stepping by characters.
std::string narrowed(std::string_view t) {
    std::string out;
    for (size_t i = 0; i < t.size();) {
        unsigned char c = static_cast<unsigned char>(t[i]);
        if (!vb::fuzz::leads(t[i]) || i + 1 == t.size()) {
            out += t[i++];
            continue;
        }
        unsigned char d = static_cast<unsigned char>(t[i + 1]);
        if (c == 0xA3 && d >= 0xB0 && d <= 0xB9)
            out += static_cast<char>('0' + d - 0xB0);
        else if (c == 0xA3 && d == 0xAB)
            out += '+';
        else if (c == 0xA3 && d == 0xAD)
            out += '-';
        else if (c == 0xA1 && d == 0xA1)
            out += ' ';
        else
            out += "\x81\x40";  // any other character stops the number
        i += 2;
    }
    return out;
}

long long referenceNumber(const std::string& ascii) {
    errno = 0;
    long long v = std::strtoll(ascii.c_str(), nullptr, 10);
    return std::clamp<long long>(v, INT_MIN, INT_MAX);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const int op = in.ConsumeIntegralInRange(0, 5);
    const int start = in.ConsumeIntegralInRange(-2, 40);
    const int count = in.ConsumeIntegralInRange(-2, 6);
    const std::string what = in.ConsumeRandomLengthString(8);
    const std::string with = in.ConsumeRandomLengthString(8);
    const std::string text = in.ConsumeRemainingBytesAsString();
    vb::fuzz::note({text, what, with}, op * 1000 + start, count);

    switch (op) {
        case 0: {
            auto [first, last] = referenceFind(text, what, 0);
            require(vb::findFirst(text, what) == first, "findFirst is the leftmost boundary match");
            require(vb::findLast(text, what) == last, "findLast is the rightmost boundary match");
            size_t from = start > 1 ? static_cast<size_t>(start - 1) : 0;
            require(vb::findFrom(text, what, start) == referenceFind(text, what, from).first,
                    "findFrom scans from start");
            break;
        }
        case 1: {
            std::string out = vb::replace(text, what, with, start, count);
            size_t from = start > 1 ? static_cast<size_t>(start - 1) : 0;
            if (from < text.size())
                require(out.substr(0, from) == text.substr(0, from), "replace keeps the bytes before start");
            if (count == 0 || what == with || referenceFind(text, what, from).first == -1)
                require(out == text, "replace without a match changes nothing");
            require(vb::fuzz::bytesFrom(out, {text, with}), "replace only writes text and with");
            if (with.empty() && !what.empty()) {
                size_t removed = text.size() - out.size();
                require(removed % what.size() == 0, "replace by nothing removes whole matches");
                if (count >= 0) require(removed / what.size() <= static_cast<size_t>(count), "at most count");
            }
            break;
        }
        case 2: {
            std::string l = vb::left(text, start);
            require(l.size() == std::min<size_t>(std::max(start, 0), text.size()) && text.starts_with(l),
                    "left is a prefix of the asked length");
            std::string m = vb::mid(text, start, count);
            require(m.size() <= static_cast<size_t>(std::max(count, 0)), "mid is at most length long");
            if (!m.empty())
                require(text.substr(static_cast<size_t>(start - 1), m.size()) == m, "mid is inside");
            break;
        }
        case 3: {
            if (text.find('\0') != std::string::npos) break;
            long long want = referenceNumber(narrowed(text));
            require(vb::toNumber(text) == want, "toNumber reads like strtol over the narrowed text");
            break;
        }
        case 4: {
            const vb::PathStyle paths = start % 2 ? vb::PathStyle::posix() : vb::PathStyle::windows();
            std::string fc = paths.finalComponent(text);
            vb::NameParts p = vb::splitName(text, paths);
            require(vb::fuzz::endsWith(text, fc), "the final component ends the entry");
            require(!paths.holdsSeparator(fc), "the final component holds no separator");
            require(p.base + p.ext == fc, "base and extension make the final component");
            require(p.ext.empty() || (p.ext[0] == '.' && vb::findFirst(p.ext, " ") == -1),
                    "an extension is a dot and no space");
            break;
        }
        case 5: {
            std::string lower = text;
            for (char& c : lower)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            require(vb::containsDesktop(text) == (lower.find("desktop") != std::string::npos),
                    "Desktop anywhere");
            (void)vb::hasRefusedChar(text);
            if (vb::gbkToUtf8(text)) require(vb::isValidGbk(text), "what iconv reads as GBK is valid GBK");
            break;
        }
    }
    return 0;
}

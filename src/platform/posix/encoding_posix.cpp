// GBK <-> UTF-8 through two lookup tables that iconv fills once: iconv itself costs more per
// name than the rename that follows, and listings convert every name there and back.
#include <iconv.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/encoding.h"

namespace vb {
namespace {

class GbkTables {
public:
    static const GbkTables& get() {
        static const GbkTables tables;  // immutable once built
        return tables;
    }

    // Written straight into out's bytes from a table of each character's UTF-8 form: a listing
    // converts every name, some of them twice.
    bool appendUtf8(std::string_view gbk, std::string& out) const {
        const size_t start = out.size();
        out.resize(start + gbk.size() * 3);  // one GBK byte is at most three UTF-8 bytes
        auto* s = reinterpret_cast<const unsigned char*>(gbk.data());
        const auto* end = s + gbk.size();
        char* d = out.data() + start;
        while (s < end) {
            const unsigned c = *s;
            if (c < 0x80) {
                *d++ = static_cast<char>(c);
                ++s;
                continue;
            }
            std::uint32_t form = 0;
            if (c >= 0x81 && c <= 0xFE) {
                if (end - s < 2 || s[1] < 0x40 || s[1] > 0xFE) return fail(out, start);
                form = utf8Double_[(c - 0x81) * 191 + (s[1] - 0x40)];
                s += 2;
            } else {
                form = utf8Single_[c - 0x80];
                ++s;
            }
            if (form == 0) return fail(out, start);
            d[0] = static_cast<char>(form);
            d[1] = static_cast<char>(form >> 8);
            d[2] = static_cast<char>(form >> 16);
            d += form >> 24;
        }
        out.resize(static_cast<size_t>(d - out.data()));
        return true;
    }

    bool appendGbk(std::string_view utf8, std::string& out) const {
        const size_t start = out.size();
        out.resize(start + utf8.size());  // never longer than the UTF-8 form
        auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
        const auto* end = s + utf8.size();
        char* d = out.data() + start;
        while (s < end) {
            const unsigned c = *s;
            if (c < 0x80) {
                *d++ = static_cast<char>(c);
                ++s;
                continue;
            }
            std::uint32_t u = 0;
            size_t n = 0;
            if (c >= 0xC2 && c <= 0xDF) {
                u = c & 0x1F;
                n = 1;
            } else if (c >= 0xE0 && c <= 0xEF) {
                u = c & 0x0F;
                n = 2;
            } else {
                return fail(out, start);  // four-byte forms have no GBK counterpart
            }
            if (static_cast<size_t>(end - s) <= n) return fail(out, start);
            for (size_t k = 1; k <= n; ++k) {
                if ((s[k] & 0xC0) != 0x80) return fail(out, start);
                u = (u << 6) | (s[k] & 0x3F);
            }
            if ((n == 2 && u < 0x800) || (u >= 0xD800 && u <= 0xDFFF)) return fail(out, start);
            const std::uint16_t g = reverse_[u];
            if (g == 0) return fail(out, start);
            if (g > 0xFF) *d++ = static_cast<char>(g >> 8);
            *d++ = static_cast<char>(g & 0xFF);
            s += n + 1;
        }
        out.resize(static_cast<size_t>(d - out.data()));
        return true;
    }

private:
    GbkTables()
        : single_{},
          double_(std::make_unique<std::uint16_t[]>(126 * 191)),
          reverse_(std::make_unique<std::uint16_t[]>(0x10000)),
          utf8Single_{},
          utf8Double_(std::make_unique<std::uint32_t[]>(126 * 191)) {
        iconv_t cd = iconv_open("UTF-16LE", "CP936");
        if (cd == reinterpret_cast<iconv_t>(-1)) return;
        for (unsigned c = 0x80; c <= 0xFF; ++c) single_[c - 0x80] = decode(cd, {static_cast<char>(c)});
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail)
                double_[(lead - 0x81) * 191 + (trail - 0x40)] =
                    decode(cd, {static_cast<char>(lead), static_cast<char>(trail)});
        iconv_close(cd);
        // The reverse table takes iconv's own choice where two codes share a character.
        iconv_t back = iconv_open("CP936", "UTF-16LE");
        auto add = [&](std::uint16_t u, std::uint16_t g) {
            if (u == 0) return;
            if (reverse_[u] == 0) {
                reverse_[u] = g;
            } else if (reverse_[u] != g && back != reinterpret_cast<iconv_t>(-1)) {
                reverse_[u] = encode(back, u);
            }
        };
        for (unsigned c = 0x80; c <= 0xFF; ++c) add(single_[c - 0x80], static_cast<std::uint16_t>(c));
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail)
                add(double_[(lead - 0x81) * 191 + (trail - 0x40)],
                    static_cast<std::uint16_t>(lead << 8 | trail));
        if (back != reinterpret_cast<iconv_t>(-1)) iconv_close(back);
        for (unsigned c = 0; c < 0x80; ++c) utf8Single_[c] = utf8Form(single_[c]);
        for (unsigned i = 0; i < 126 * 191; ++i) utf8Double_[i] = utf8Form(double_[i]);
    }

    // One character's code unit, or 0 when iconv refuses it or it lies outside the BMP.
    static std::uint16_t decode(iconv_t cd, std::string in) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char out[8];
        char* src = in.data();
        size_t srcLeft = in.size();
        char* dst = out;
        size_t dstLeft = sizeof out;
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1) || srcLeft != 0 ||
            sizeof out - dstLeft != 2)
            return 0;
        std::uint16_t u = static_cast<std::uint16_t>(static_cast<unsigned char>(out[0]) |
                                                     static_cast<unsigned char>(out[1]) << 8);
        return u >= 0xD800 && u <= 0xDFFF ? 0 : u;
    }

    static std::uint16_t encode(iconv_t cd, std::uint16_t u) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char in[2] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
        char out[4];
        char* src = in;
        size_t srcLeft = 2;
        char* dst = out;
        size_t dstLeft = sizeof out;
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) return 0;
        size_t n = sizeof out - dstLeft;
        if (n == 1) return static_cast<unsigned char>(out[0]);
        if (n == 2)
            return static_cast<std::uint16_t>(static_cast<unsigned char>(out[0]) << 8 |
                                              static_cast<unsigned char>(out[1]));
        return 0;
    }

    // A character's UTF-8 bytes, first in the lowest byte, with their count in the top byte;
    // 0 for none.
    static std::uint32_t utf8Form(std::uint16_t u) {
        if (u == 0) return 0;
        if (u < 0x80) return 1u << 24 | u;
        if (u < 0x800) return 2u << 24 | (0x80u | (u & 0x3F)) << 8 | (0xC0u | (u >> 6));
        return 3u << 24 | (0x80u | (u & 0x3F)) << 16 | (0x80u | ((u >> 6) & 0x3F)) << 8 | (0xE0u | (u >> 12));
    }

    static bool fail(std::string& out, size_t start) {
        out.resize(start);
        return false;
    }

    std::array<std::uint16_t, 0x80> single_;      // bytes 0x80-0xFF standing alone
    std::unique_ptr<std::uint16_t[]> double_;     // lead 0x81-0xFE x trail 0x40-0xFE
    std::unique_ptr<std::uint16_t[]> reverse_;    // BMP code point -> GBK code (one or two bytes)
    std::array<std::uint32_t, 0x80> utf8Single_;  // single_ and double_ in UTF-8, see utf8Form
    std::unique_ptr<std::uint32_t[]> utf8Double_;
};

}  // namespace

bool appendUtf8ToGbk(std::string_view utf8, std::string& out) {
    return GbkTables::get().appendGbk(utf8, out);
}

bool appendGbkToUtf8(std::string_view gbk, std::string& out) { return GbkTables::get().appendUtf8(gbk, out); }

std::optional<std::string> utf8ToGbk(std::string_view utf8) {
    std::string out;
    if (!appendUtf8ToGbk(utf8, out)) return std::nullopt;
    return out;
}

std::optional<std::string> gbkToUtf8(std::string_view gbk) {
    std::string out;
    if (!appendGbkToUtf8(gbk, out)) return std::nullopt;
    return out;
}

}  // namespace vb

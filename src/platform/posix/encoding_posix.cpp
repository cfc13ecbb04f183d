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

    std::optional<std::string> toUtf8(std::string_view gbk) const {
        std::string out;
        out.reserve(gbk.size() + gbk.size() / 2);
        for (size_t i = 0; i < gbk.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(gbk[i]);
            if (c < 0x80) {
                out += static_cast<char>(c);
                continue;
            }
            std::uint16_t u = 0;
            if (c >= 0x81 && c <= 0xFE) {
                if (i + 1 >= gbk.size()) return std::nullopt;
                unsigned char t = static_cast<unsigned char>(gbk[++i]);
                if (t < 0x40 || t > 0xFE) return std::nullopt;
                u = double_[(c - 0x81) * 191 + (t - 0x40)];
            } else {
                u = single_[c - 0x80];
            }
            if (u == 0) return std::nullopt;
            appendUtf8(out, u);
        }
        return out;
    }

    std::optional<std::string> toGbk(std::string_view utf8) const {
        std::string out;
        out.reserve(utf8.size());
        for (size_t i = 0; i < utf8.size();) {
            unsigned char c = static_cast<unsigned char>(utf8[i]);
            if (c < 0x80) {
                out += static_cast<char>(c);
                ++i;
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
                return std::nullopt;  // four-byte forms have no GBK counterpart
            }
            for (size_t k = 1; k <= n; ++k) {
                if (i + k >= utf8.size()) return std::nullopt;
                unsigned char t = static_cast<unsigned char>(utf8[i + k]);
                if ((t & 0xC0) != 0x80) return std::nullopt;
                u = (u << 6) | (t & 0x3F);
            }
            if ((n == 2 && u < 0x800) || (u >= 0xD800 && u <= 0xDFFF)) return std::nullopt;
            std::uint16_t g = reverse_[u];
            if (g == 0) return std::nullopt;
            if (g > 0xFF) out += static_cast<char>(g >> 8);
            out += static_cast<char>(g & 0xFF);
            i += n + 1;
        }
        return out;
    }

private:
    GbkTables()
        : single_{},
          double_(std::make_unique<std::uint16_t[]>(126 * 191)),
          reverse_(std::make_unique<std::uint16_t[]>(0x10000)) {
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

    static void appendUtf8(std::string& out, std::uint16_t u) {
        if (u < 0x80) {
            out += static_cast<char>(u);
            return;
        }
        if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        }
        out += static_cast<char>(0x80 | (u & 0x3F));
    }

    std::array<std::uint16_t, 0x80> single_;    // bytes 0x80-0xFF standing alone
    std::unique_ptr<std::uint16_t[]> double_;   // lead 0x81-0xFE x trail 0x40-0xFE
    std::unique_ptr<std::uint16_t[]> reverse_;  // BMP code point -> GBK code (one or two bytes)
};

}  // namespace

std::optional<std::string> utf8ToGbk(std::string_view utf8) { return GbkTables::get().toGbk(utf8); }

std::optional<std::string> gbkToUtf8(std::string_view gbk) { return GbkTables::get().toUtf8(gbk); }

}  // namespace vb

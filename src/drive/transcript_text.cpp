#include "drive/transcript_text.h"

#include <cstdio>

#include "platform/encoding.h"
#include "transforms/gbk_text.h"

namespace vb {
namespace {

void appendEscapedUtf8(std::string& out, std::string_view utf8) {
    for (char c : utf8) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
        }
    }
}

void appendHex(std::string& out, std::string_view bytes) {
    for (char c : bytes) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned char>(c));
        out += buf;
    }
}

}  // namespace

void TranscriptText::appendSegment(std::string& out, std::string_view gbk) const {
    if (auto utf8 = gbkToUtf8(gbk)) {
        appendEscapedUtf8(out, *utf8);
        return;
    }
    // Slow path, only for texts holding bytes that are not GBK: one character at a time.
    for (size_t i = 0; i < gbk.size();) {
        size_t w = charWidth(gbk, i);
        std::string_view ch = gbk.substr(i, w);
        if (static_cast<unsigned char>(gbk[i]) < 0x80) {
            appendEscapedUtf8(out, ch);
        } else if (auto u = gbkToUtf8(ch)) {
            appendEscapedUtf8(out, *u);
        } else {
            appendHex(out, ch.substr(0, 1));
            w = 1;  // the next byte may start a valid character
        }
        i += w;
    }
}

std::string TranscriptText::escaped(std::string_view gbk) const {
    std::string out;
    out.reserve(gbk.size() + gbk.size() / 2);
    size_t start = 0;
    if (!root_.empty()) {
        for (size_t pos; (pos = gbk.find(root_, start)) != std::string_view::npos;
             start = pos + root_.size()) {
            appendSegment(out, gbk.substr(start, pos - start));
            out += "$T";
        }
    }
    appendSegment(out, gbk.substr(start));
    return out;
}

}  // namespace vb

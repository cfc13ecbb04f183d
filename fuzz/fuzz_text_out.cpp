// TranscriptText on any bytes: UTF-8 out, nothing unescaped that would break a transcript line, and
// the escapes decode back to the bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include "check.h"
#include "drive/transcript_text.h"
#include "platform/encoding.h"

using vb::fuzz::require;

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Undoes the escapes; nothing when the text is not what TranscriptText writes.
std::optional<std::string> decode(std::string_view s, const std::string& root) {
    std::string gbk, utf8;
    auto flush = [&]() -> bool {
        auto g = vb::utf8ToGbk(utf8);
        if (!g) return false;
        gbk += *g;
        utf8.clear();
        return true;
    };
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"' || c == '\r' || c == '\n' || c == '\t') return std::nullopt;
        if (c == '$' && !root.empty() && i + 1 < s.size() && s[i + 1] == 'T') {
            if (!flush()) return std::nullopt;
            gbk += root;
            ++i;
            continue;
        }
        if (c != '\\') {
            utf8 += c;
            continue;
        }
        if (++i == s.size()) return std::nullopt;
        switch (s[i]) {
            case '"':
                utf8 += '"';
                break;
            case '\\':
                utf8 += '\\';
                break;
            case 'r':
                utf8 += '\r';
                break;
            case 'n':
                utf8 += '\n';
                break;
            case 't':
                utf8 += '\t';
                break;
            case 'x': {
                if (i + 2 >= s.size() || hexValue(s[i + 1]) < 0 || hexValue(s[i + 2]) < 0)
                    return std::nullopt;
                if (!flush()) return std::nullopt;
                gbk += static_cast<char>(hexValue(s[i + 1]) * 16 + hexValue(s[i + 2]));
                i += 2;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    if (!flush()) return std::nullopt;
    return gbk;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string root = in.ConsumeRandomLengthString(8);
    const std::string text = in.ConsumeRemainingBytesAsString();
    vb::TranscriptText out(root);
    const std::string printed = out.escaped(text);
    auto back = decode(printed, root);
    require(back.has_value(), "TranscriptText writes only plain UTF-8 and its escapes");
    // With a root, a "$T" already in the text reads back as the root.
    if (root.empty() || text.find("$T") == std::string::npos)
        require(*back == text, "the escapes decode to the text");
    return 0;
}

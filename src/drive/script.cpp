#include "drive/script.h"

#include "platform/encoding.h"

namespace vb {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string expandRoot(const std::string& word, const std::string& root) {
    std::string out;
    for (size_t i = 0; i < word.size(); ++i) {
        if (word.compare(i, 2, "$T") == 0) {
            out += root;
            ++i;
        } else {
            out += word[i];
        }
    }
    return out;
}

}  // namespace

std::optional<ScriptLine> parseScriptLine(std::string_view utf8, int number, const std::string& rootUtf8,
                                          std::string& error) {
    ScriptLine line;
    line.number = number;
    size_t i = 0;
    while (i < utf8.size() && isBlank(utf8[i])) ++i;
    if (i == utf8.size() || utf8[i] == '#') return std::nullopt;
    while (i < utf8.size()) {
        std::string word;
        if (utf8[i] == '"') {
            ++i;
            bool closed = false;
            while (i < utf8.size()) {
                char c = utf8[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < utf8.size()) {
                    char e = utf8[i++];
                    switch (e) {
                        case '"':
                            word += '"';
                            break;
                        case '\\':
                            word += '\\';
                            break;
                        case 'r':
                            word += '\r';
                            break;
                        case 'n':
                            word += '\n';
                            break;
                        case 't':
                            word += '\t';
                            break;
                        default:
                            error = "unknown escape \\" + std::string(1, e);
                            return std::nullopt;
                    }
                } else {
                    word += c;
                }
            }
            if (!closed) {
                error = "unterminated quote";
                return std::nullopt;
            }
        } else {
            while (i < utf8.size() && !isBlank(utf8[i])) word += utf8[i++];
        }
        auto gbk = utf8ToGbk(expandRoot(word, rootUtf8));
        if (!gbk) {
            error = "text not representable in GBK: " + word;
            return std::nullopt;
        }
        line.words.push_back(std::move(*gbk));
        while (i < utf8.size() && isBlank(utf8[i])) ++i;
    }
    return line;
}

}  // namespace vb

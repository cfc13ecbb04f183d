// How the driver prints texts: UTF-8 in double quotes, escapes for the quote, backslash, CR,
// LF and TAB, \xHH for bytes that are not GBK, and the root directory as $T.
#pragma once

#include <string>
#include <string_view>

namespace vb {

class TranscriptText {
public:
    explicit TranscriptText(std::string rootGbk = {}) : root_(std::move(rootGbk)) {}
    // The text with escapes, without the surrounding quotes.
    std::string escaped(std::string_view gbk) const;
    std::string quoted(std::string_view gbk) const { return '"' + escaped(gbk) + '"'; }

private:
    void appendSegment(std::string& out, std::string_view gbk) const;
    std::string root_;
};

}  // namespace vb

// GBK <-> UTF-8 at the edges (scripts, transcripts, POSIX file names).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vb {

// Nothing when the text holds a character GBK cannot hold, or is not valid UTF-8.
std::optional<std::string> utf8ToGbk(std::string_view utf8);
// Nothing when the bytes are not valid GBK.
std::optional<std::string> gbkToUtf8(std::string_view gbk);

// The same, appended to out, so that a buffer serves many names; false (out as it was) when the
// text does not convert.
bool appendUtf8ToGbk(std::string_view utf8, std::string& out);
bool appendGbkToUtf8(std::string_view gbk, std::string& out);

}  // namespace vb

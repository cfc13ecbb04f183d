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

}  // namespace vb

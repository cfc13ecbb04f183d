// The driver's script syntax: one command a line, blank-separated words, double-quoted words
// with escapes, $T for the root. Texts are converted to GBK on the way in.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

struct ScriptLine {
    int number = 0;
    std::vector<std::string> words;  // GBK
};

// Splits one UTF-8 line into GBK words; nothing for a blank or comment line.
// Sets error on a syntax error or a character GBK cannot hold.
std::optional<ScriptLine> parseScriptLine(std::string_view utf8, int number, const std::string& rootUtf8,
                                          std::string& error);

}  // namespace vb

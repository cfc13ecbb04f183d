#include "transforms/rule_extension.h"

#include "transforms/gbk_text.h"

namespace vb {

std::string dottedExtension(std::string_view typed) {
    if (typed.find('.') != std::string_view::npos) return std::string(typed);
    std::string dotted(1, '.');
    dotted += typed;
    return dotted;
}

std::optional<std::string> changeExtension(std::string_view name, std::string_view ext,
                                           const PathStyle& paths, bool skipUnchanged) {
    std::string renamed = splitName(name, paths).base + std::string(ext);
    if (skipUnchanged && renamed == name) return std::nullopt;
    return renamed;
}

std::optional<std::string> appendAfterExtension(std::string_view name, std::string_view text) {
    if (name.empty()) return std::nullopt;
    return std::string(name) + std::string(text);
}

}  // namespace vb

#include "transforms/rule_add.h"

#include "transforms/gbk_text.h"

namespace vb {

std::optional<std::string> addAtStart(std::string_view name, std::string_view text) {
    return std::string(text) + std::string(name);
}

std::optional<std::string> addAtEndOfFile(std::string_view name, std::string_view text,
                                          const PathStyle& paths) {
    const NameViews p = splitNameViews(name, paths);
    if (p.base.empty()) return std::nullopt;
    std::string out;
    out.reserve(p.base.size() + text.size() + p.ext.size());
    return out.append(p.base).append(text).append(p.ext);
}

std::optional<std::string> addAtEndOfFolder(std::string_view name, std::string_view text) {
    return std::string(name) + std::string(text);
}

}  // namespace vb

#include "transforms/path_style.h"

#include "transforms/gbk_text.h"

namespace vb {

bool PathStyle::separatorAt(std::string_view s, std::size_t i) const {
    return charWidth(s, i) == 1 && (s[i] == sep_ || s[i] == '/');
}

std::size_t PathStyle::finalComponentStart(std::string_view path) const {
    std::size_t start = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); i += charWidth(path, i))
        if (separatorAt(path, i)) start = i + 1;
    return start;
}

std::string PathStyle::finalComponent(std::string_view path) const {
    const std::size_t start = finalComponentStart(path);
    return std::string(start == std::string_view::npos ? path : path.substr(start));
}

std::string_view PathStyle::withoutTrailingSeparators(std::string_view path) const {
    std::size_t end = 0;
    for (std::size_t i = 0; i < path.size(); i += charWidth(path, i))
        if (!separatorAt(path, i)) end = i + charWidth(path, i);
    return path.substr(0, end);
}

bool PathStyle::endsInSeparator(std::string_view path) const {
    return !path.empty() && withoutTrailingSeparators(path).size() < path.size();
}

std::string PathStyle::containingDir(std::string_view path) const {
    std::size_t last = std::string_view::npos;  // where the final separator starts
    for (std::size_t i = 0; i < path.size(); i += charWidth(path, i))
        if (separatorAt(path, i)) last = i;
    if (last != std::string_view::npos && last + 1 == path.size()) path = path.substr(0, last);
    const std::size_t start = finalComponentStart(path);
    return std::string(start == std::string_view::npos ? std::string_view() : path.substr(0, start));
}

bool PathStyle::holdsSeparator(std::string_view text) const {
    return finalComponentStart(text) != std::string_view::npos;
}

bool PathStyle::isPlainName(std::string_view name) const {
    return !name.empty() && name != "." && name != ".." && !holdsSeparator(name);
}

bool PathStyle::isAbsolute(std::string_view path) const {
    if (!windows_) return !path.empty() && path[0] == '/';
    const bool drive = path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    return drive || path.starts_with("\\\\");
}

std::string PathStyle::asFolder(std::string dir) const {
    if (!endsInSeparator(dir)) dir += sep_;
    return dir;
}

}  // namespace vb

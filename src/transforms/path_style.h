// The grammar of paths on one file system: its separator and its root forms. Every scan goes by
// GBK characters, since a trail byte may equal a backslash. The file system port says which
// style it has; nothing else looks at a separator.
#pragma once

#include <string>
#include <string_view>

namespace vb {

class PathStyle {
public:
    static constexpr PathStyle posix() { return PathStyle('/', false); }
    // A backslash, a slash too, and drive letters and \\server\share as roots.
    static constexpr PathStyle windows() { return PathStyle('\\', true); }

    char separator() const { return sep_; }

    // The last component of a path (the whole text when it holds no separator).
    std::string finalComponent(std::string_view path) const;
    // Where the last component starts; npos when the path holds no separator.
    std::size_t finalComponentStart(std::string_view path) const;
    // The path without the separators it ends in.
    std::string_view withoutTrailingSeparators(std::string_view path) const;
    // The folder holding a path: up to and including its last separator, once one trailing
    // separator is dropped; empty when it holds none.
    std::string containingDir(std::string_view path) const;

    bool holdsSeparator(std::string_view text) const;
    bool endsInSeparator(std::string_view path) const;
    // One component that stays inside its folder: not empty, no separator, not "." or "..".
    bool isPlainName(std::string_view name) const;
    // Names one place whichever folder the process is in.
    bool isAbsolute(std::string_view path) const;

    // The working folder's form: the folder ending in the separator.
    std::string asFolder(std::string dir) const;
    // The root as a folder the user may not work in (the separator alone).
    bool isBareRoot(std::string_view dir) const { return dir.size() == 1 && dir[0] == sep_; }

private:
    constexpr PathStyle(char sep, bool windows) : sep_(sep), windows_(windows) {}
    bool separatorAt(std::string_view s, std::size_t i) const;

    char sep_;
    bool windows_;
};

}  // namespace vb

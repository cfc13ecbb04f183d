// The floor for the rename rows: list a folder's files once, then one renameat2 per file with the
// same no-overwrite flag the product uses. No ordering, no encoding, no report.
//
//   bench-floor_rename DIR suffix TEXT   a.mp4 -> aTEXT.mp4 (before the last dot)
//   bench-floor_rename DIR delete TEXT   removes the first TEXT of the base name
//   bench-floor_rename DIR suffix TEXT back
//                                        the suffix, then a second listing and loop take it off
//
// Texts come from argv as raw bytes: this file holds no non-ASCII literal because the build
// turns literals into GBK.
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string newName(std::string_view name, bool suffix, std::string_view text) {
    std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) dot = name.size();
    std::string out;
    if (suffix) {
        out.append(name.substr(0, dot)).append(text).append(name.substr(dot));
        return out;
    }
    std::size_t at = name.substr(0, dot).find(text);
    if (at == std::string_view::npos) return std::string(name);
    out.append(name.substr(0, at)).append(name.substr(at + text.size()));
    return out;
}

// One listing, one rename per file; how many renames went through.
long renameAll(const char* dir, bool suffix, std::string_view text) {
    DIR* d = opendir(dir);
    if (!d) {
        std::perror(dir);
        return -1;
    }
    // Names are read in full before renaming so no renamed entry is seen twice.
    std::vector<std::string> names;
    while (dirent* e = readdir(d))
        if (e->d_type == DT_REG) names.emplace_back(e->d_name);
    const int dfd = dirfd(d);

    long done = 0;
    for (const auto& n : names) {
        const std::string to = newName(n, suffix, text);
        if (to != n && renameat2(dfd, n.c_str(), dfd, to.c_str(), RENAME_NOREPLACE) == 0) ++done;
    }
    closedir(d);
    return done;
}

}  // namespace

int main(int argc, char** argv) {
    const bool back = argc == 5 && std::strcmp(argv[4], "back") == 0;
    if ((argc != 4 && !back) ||
        (std::strcmp(argv[2], "suffix") != 0 && std::strcmp(argv[2], "delete") != 0)) {
        std::fprintf(stderr, "usage: %s DIR suffix|delete TEXT [back]\n", argv[0]);
        return 2;
    }
    const bool suffix = std::strcmp(argv[2], "suffix") == 0;
    const std::string_view text = argv[3];
    long done = renameAll(argv[1], suffix, text);
    if (done >= 0 && back) done = renameAll(argv[1], !suffix, text);
    if (done < 0) return 1;
    std::printf("%ld\n", done);
    return 0;
}

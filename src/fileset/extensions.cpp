#include "fileset/extensions.h"

namespace vb {
namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool containsIgnoringAsciiCase(std::string_view text, std::string_view what) {
    if (what.size() > text.size()) return false;
    for (std::size_t i = 0; i + what.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < what.size() && lowerAscii(text[i + k]) == lowerAscii(what[k])) ++k;
        if (k == what.size()) return true;
    }
    return false;
}

}  // namespace

std::vector<std::string> builtinExtensions() {
    std::vector<std::string> out;
    std::string_view rest = kBuiltinExtensionList;
    for (;;) {
        std::size_t cut = rest.find("--");
        out.emplace_back(rest.substr(0, cut));
        if (cut == std::string_view::npos) break;
        rest.remove_prefix(cut + 2);
    }
    return out;
}

std::vector<std::string> fullExtensionItems(std::string_view firstItem) {
    std::vector<std::string> items;
    if (!firstItem.empty()) items.emplace_back(firstItem);
    for (const auto& ext : builtinExtensions()) items.push_back("." + ext);
    return items;
}

std::vector<std::string> narrowedExtensionItems(std::string_view typed, std::string_view firstItem) {
    std::vector<std::string> items;
    if (typed.empty()) return items;
    std::string wanted;
    for (char c : typed)
        if (c != '.') wanted += c;

    if (!firstItem.empty()) items.emplace_back(firstItem);
    std::vector<std::string> others;
    for (const auto& ext : builtinExtensions()) {
        if (containsIgnoringAsciiCase(ext, wanted))
            items.push_back("." + ext);
        else
            others.push_back("." + ext);
    }
    items.insert(items.end(), others.begin(), others.end());
    return items;
}

}  // namespace vb

// Invariant checks for the fuzz targets: a broken invariant aborts, so libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace vb::fuzz {

// The inputs of the current run, printed with a broken invariant.
inline std::string& inputs() {
    static std::string text;
    return text;
}

inline void note(std::initializer_list<std::string_view> texts, long long a = 0, long long b = 0) {
    std::string& s = inputs();
    s = "ints " + std::to_string(a) + " " + std::to_string(b) + ";";
    for (std::string_view t : texts) {
        s += " [";
        for (char c : t) {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned char>(c));
            s += buf;
        }
        s += "]";
    }
}

inline void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "invariant broken: %s\ninputs: %s\n", what, inputs().c_str());
    std::abort();
}

// A byte that starts a double-byte character of code page 936 (written out again here, so the
// routines under test do not check themselves).
inline bool leads(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x81 && b <= 0xFE;
}

// The 1-based positions of the character starts of text, as the GBK routines step.
inline std::string boundaries(std::string_view text) {
    std::string at(text.size() + 1, '\0');
    for (size_t i = 0; i < text.size();) {
        at[i] = 1;
        i += leads(text[i]) && i + 1 < text.size() ? 2 : 1;
    }
    return at;
}

// Every byte of out occurs in one of the sources.
inline bool bytesFrom(std::string_view out, std::initializer_list<std::string_view> sources) {
    bool seen[256] = {};
    for (std::string_view s : sources)
        for (char c : s) seen[static_cast<unsigned char>(c)] = true;
    for (char c : out)
        if (!seen[static_cast<unsigned char>(c)]) return false;
    return true;
}

inline bool startsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }
inline bool endsWith(std::string_view s, std::string_view p) {
    return s.size() >= p.size() && s.substr(s.size() - p.size()) == p;
}

}  // namespace vb::fuzz

// The driver's script parser: any line parses or fails with a reason, and the parsed words
// printed by TranscriptText read back as the same words.
#include <string>

#include "check.h"
#include "drive/script.h"
#include "drive/transcript_text.h"

using vb::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view line(reinterpret_cast<const char*>(data), size);
    if (line.find('\n') != std::string_view::npos) return -1;  // the driver splits lines first
    // "$T" as its own root, so that expanding it again is the identity.
    const std::string root = "$T";
    std::string error;
    auto parsed = vb::parseScriptLine(line, 7, root, error);
    if (!parsed) return 0;
    require(error.empty(), "a parsed line sets no error");
    require(parsed->number == 7 && !parsed->words.empty(), "a parsed line has words");

    vb::TranscriptText out;
    std::string again;
    for (const auto& w : parsed->words) again += (again.empty() ? "" : " ") + out.quoted(w);
    std::string error2;
    auto reparsed = vb::parseScriptLine(again, 7, root, error2);
    require(reparsed.has_value(), "printed words parse");
    require(reparsed->words == parsed->words, "printed words read back unchanged");
    return 0;
}

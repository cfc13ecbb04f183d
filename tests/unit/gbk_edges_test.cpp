// The single byte 0x80 at the edges where GBK meets the outside: the POSIX conversion (iconv's
// code page 936) and the driver's printing of texts that are not GBK.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "drive/transcript_text.h"
#include "platform/encoding.h"

namespace vb {
namespace {

std::string utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

TEST(GbkEdges, TheEuroSignIsOneCharacterEverywhere) {
    struct Case {
        std::string gbk;
        std::optional<std::string> utf8;  // nothing when the bytes are not GBK
        std::string printed;
    };
    const Case cases[] = {
        {"\x80", utf8(u8"€"), utf8(u8"€")},
        {"a\x80.txt", utf8(u8"a€.txt"), utf8(u8"a€.txt")},
        {"\x80\x80", utf8(u8"€€"), utf8(u8"€€")},
        {"\x81\x40", utf8(u8"丂"), utf8(u8"丂")},
        {"\x80\x81\x40", utf8(u8"€丂"), utf8(u8"€丂")},  // the byte after 0x80 leads again
        {"\xFF", std::nullopt, "\\xFF"},
        {"\x80\xFF", std::nullopt, utf8(u8"€\\xFF")},
        {"\xFF\xD6\xD0", std::nullopt, utf8(u8"\\xFF中")},
        {"\x81", std::nullopt, "\\x81"},
    };
    const TranscriptText text;
    for (const auto& c : cases) {
        EXPECT_EQ(gbkToUtf8(c.gbk), c.utf8) << ::testing::PrintToString(c.gbk);
        if (c.utf8) {
            EXPECT_EQ(utf8ToGbk(*c.utf8), c.gbk) << ::testing::PrintToString(c.gbk);
        }
        EXPECT_EQ(text.escaped(c.gbk), c.printed) << ::testing::PrintToString(c.gbk);
    }
}

}  // namespace
}  // namespace vb

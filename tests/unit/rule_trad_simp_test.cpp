#include <gtest/gtest.h>

#include <string>

#include "platform/encoding.h"
#include "transforms/gbk_text.h"
#include "transforms/rule_trad_simp.h"

namespace vb {
namespace {

struct Pair {
    const char* simplified;
    const char* traditional;
};

TEST(TradSimp, ConvertsBothWays) {
    const Pair cases[] = {
        {"电视剧.mp4", "電視劇.mp4"}, {"第01集 国语版", "第01集 國語版"}, {"头发", "頭發"},
        {"历史课", "歷史課"},         {"后来的我们", "後來的我們"},       {"x万个y", "x萬個y"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toTraditional(c.simplified), c.traditional) << c.simplified;
        EXPECT_EQ(toSimplified(c.traditional), c.simplified) << c.traditional;
    }
}

TEST(TradSimp, KeepsWhatHasNoCounterpart) {
    const char* cases[] = {
        "readme.txt", "A-b_c (1).tar.gz", "",
        "的一是在人",  // plain characters in either script
        "出面",        // their traditional variants are specialised characters
        "乾坤",        // also a simplified character
    };
    for (const char* c : cases) {
        EXPECT_EQ(toSimplified(c), c);
        EXPECT_EQ(toTraditional(c), c);
    }
    // An already simplified name is unchanged by simplifying, a traditional one by the reverse.
    EXPECT_EQ(toSimplified("电视剧"), "电视剧");
    EXPECT_EQ(toTraditional("電視劇"), "電視劇");
}

TEST(TradSimp, BrokenBytesStayInPlace) {
    // A lone lead byte at the end, and a lead byte whose partner is not a trail byte.
    EXPECT_EQ(toSimplified(std::string("電") + "\xD2"), std::string("电") + "\xD2");
    EXPECT_EQ(toSimplified(std::string("\x81") + "a電"), std::string("\x81") + "a电");
}

// Every GBK code maps to a GBK character of the same width, checked against the real codec.
TEST(TradSimp, EveryResultIsAGbkCharacter) {
    int changed = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            std::string c{static_cast<char>(lead), static_cast<char>(trail)};
            for (const std::string& r : {toSimplified(c), toTraditional(c)}) {
                ASSERT_EQ(r.size(), 2u);
                if (r == c) continue;
                ++changed;
                EXPECT_TRUE(gbkToUtf8(c).has_value() && gbkToUtf8(r).has_value()) << lead << "," << trail;
            }
        }
    }
    EXPECT_GT(changed, 4000);
}

// Common simplified characters come back unchanged from traditional, and a good share of them
// do have a traditional form.
TEST(TradSimp, CommonCharactersRoundTrip) {
    const std::string common =
        "的一是不了人我在有他这中大来上国个到说们为子和你地出道也时年得就那要下以生会自着去之过家学对可她里后"
        "小么心多天而能好都然没日于起还发成事只作当想看文无开手十用主行方又如前所本见经头面公同三已老从动两长"
        "知民样现分将外但身些与高意进把法此实回二理美点月明其种声全工己话儿者向情部正名定女问力机给等几很业最"
        "间新什打便位因重被走电四第门相次东政海口使教西再平真世气信北少关并内加化由却代军产入先山五太水万市眼"
        "体别处总才场师书比住员九笑性通目华报立马命张活难神数件安表原车白应路期叫死常提感金何更反合放做系计或"
        "司利受光王果亲界及今京务制解各任至清物台象记边共风战干接它许八特觉望直服毛林题建南度统色字请交爱让认"
        "算论百吃义科怎元社术结六功指思非流每青管夫连远资队跟带花快条院变联言权往展该领传近留红治决周保达办运"
        "武半候七必城父强步完革深区即求品士转量空甚众技轻程告江语英基派满式李息写呢识极令黄德收脸钱党倒未持取"
        "设始版双历越史商千片容研像找友孩站广改议形委早房音火际则首单据导影失拿网香似斯专石若兵弟谁校读志飞观"
        "争究包组造落视济喜离虽坏兴急乎参考器整衣拉根类顺岁苏刘乡汉医纪胜陈罗讲热职银";
    int converted = 0;
    for (size_t i = 0; i < common.size(); i += 2) {
        std::string c = common.substr(i, 2);
        std::string t = toTraditional(c);
        if (t != c) ++converted;
        EXPECT_EQ(toSimplified(t), c) << i / 2;
        EXPECT_EQ(toSimplified(c), c) << i / 2;
    }
    EXPECT_GT(converted, 100);
}

TEST(TradSimpRule, SkipsWhatWouldNotBeAProperNewName) {
    struct Case {
        const char* name;
        std::string converted;
        std::optional<std::string> expected;
    } cases[] = {
        {"電視劇.mp4", toSimplified("電視劇.mp4"), "电视剧.mp4"},
        {"电视剧.mp4", toTraditional("电视剧.mp4"), "電視劇.mp4"},
        {"电视剧.mp4", toSimplified("电视剧.mp4"), std::nullopt},
        {"abc.txt", toTraditional("abc.txt"), std::nullopt},
        {"", "", std::nullopt},
        {"abc", "", std::nullopt},
        {"電視", "电视 ", std::nullopt},  // never pads the name with spaces
        {"電視", "电", std::nullopt},     // nor cuts it
    };
    for (const auto& c : cases) EXPECT_EQ(tradSimpRule(c.name, c.converted), c.expected) << c.name;
}

}  // namespace
}  // namespace vb

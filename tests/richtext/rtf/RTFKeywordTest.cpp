// The reader's control-word table: its make-up and the lookup over it.
#include "richtext/rtf/RPRTFKeywords.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

using namespace RPRTFKw;

TEST(RTFKeywords, TableMakeUp) {
    ASSERT_EQ(345, Count());
    std::map<int, int> kinds;
    std::map<std::string, int> seen;
    for (int i = 0; i < Count(); ++i) {
        ++kinds[At(i).KindOf];
        ++seen[std::string(At(i).Keyword)];
    }
    EXPECT_EQ(11, kinds[kwChar]);
    EXPECT_EQ(7, kinds[kwUChar]);
    EXPECT_EQ(65, kinds[kwDest]);
    EXPECT_EQ(259, kinds[kwProp]);
    EXPECT_EQ(3, kinds[kwSpec]);
    // Only one word stands twice.
    EXPECT_EQ(344u, seen.size());
    EXPECT_EQ(2, seen["pnuld"]);
}

TEST(RTFKeywords, EveryWordIsFoundAsItself) {
    for (int i = 0; i < Count(); ++i) {
        const Entry& e = At(i);
        const Entry* found = Find(e.Keyword);
        ASSERT_NE(nullptr, found) << e.Keyword;
        EXPECT_EQ(e.Keyword, found->Keyword);
        EXPECT_EQ(e.KindOf, found->KindOf) << e.Keyword;
        EXPECT_EQ(e.Action, found->Action) << e.Keyword;
    }
    // Case matters, and neither prefixes nor extensions of a word are known.
    EXPECT_EQ(nullptr, Find("B"));
    EXPECT_EQ(nullptr, Find("Par"));
    EXPECT_EQ(nullptr, Find("pa"));
    EXPECT_EQ(nullptr, Find("pars"));
    EXPECT_EQ(nullptr, Find(""));
    EXPECT_EQ(nullptr, Find("zzzz"));
    EXPECT_EQ(nullptr, Find("-"));
}

TEST(RTFKeywords, TellingRows) {
    auto row = [](const char* k) {
        const Entry* e = Find(k);
        EXPECT_NE(nullptr, e) << k;
        return e ? *e : Entry{};
    };
    EXPECT_EQ(kwChar, row("par").KindOf);
    EXPECT_EQ(10, row("par").Action);
    EXPECT_EQ(10, row("\n").Action);
    EXPECT_EQ(10, row("\r").Action);
    EXPECT_EQ(13, row("line").Action);
    EXPECT_EQ(9, row("tab").Action);
    EXPECT_EQ(160, row("~").Action);
    EXPECT_EQ(149, row("bullet").Action);
    EXPECT_EQ('\\', row("\\").Action);
    EXPECT_EQ('{', row("{").Action);
    for (auto [k, code, fallback] : {std::tuple{"ldblquote", 8220, '"'}, std::tuple{"rdblquote", 8221, '"'},
                                     std::tuple{"lquote", 8216, '\''}, std::tuple{"rquote", 8217, '\''},
                                     std::tuple{"endash", 8211, '-'}, std::tuple{"emdash", 8212, '-'}}) {
        EXPECT_EQ(kwUChar, row(k).KindOf) << k;
        EXPECT_EQ(code, row(k).Default) << k;
        EXPECT_EQ(fallback, row(k).Action) << k;
    }
    for (const char* k : {"bin", "'", "*"})
        EXPECT_EQ(kwSpec, row(k).KindOf) << k;
    // Defaults that stand in when no parameter is written.
    for (auto [k, def] : {std::pair{"fs", 24}, std::pair{"uc", 1}, std::pair{"b", 1}, std::pair{"i", 1},
                          std::pair{"ul", 1}, std::pair{"strike", 1}, std::pair{"caps", 1}, std::pair{"v", 1},
                          std::pair{"paperw", 12240}, std::pair{"paperh", 15480}, std::pair{"margl", 1800},
                          std::pair{"margr", 1800}, std::pair{"margt", 1440}, std::pair{"margb", 1440},
                          std::pair{"headery", 720}, std::pair{"footery", 720}, std::pair{"sl", 240},
                          std::pair{"slmult", 1}, std::pair{"picscalex", 100}, std::pair{"picscaley", 100},
                          std::pair{"itap", 1}, std::pair{"ls", 1}, std::pair{"ilvl", 1},
                          std::pair{"levelstartat", 1}, std::pair{"pnstart", 1}}) {
        EXPECT_EQ(kwProp, row(k).KindOf) << k;
        EXPECT_EQ(def, row(k).Default) << k;
        EXPECT_FALSE(row(k).UseDefault) << k;
    }
    // Words whose value is fixed, whatever parameter is written.
    for (auto [k, value] : {std::pair{"ulnone", 0}, std::pair{"ql", 0}, std::pair{"qr", 1}, std::pair{"qc", 2},
                            std::pair{"qj", 3}, std::pair{"cell", 0}, std::pair{"row", 0},
                            std::pair{"nestcell", 1}, std::pair{"nestrow", 1}}) {
        EXPECT_TRUE(row(k).UseDefault) << k;
        EXPECT_EQ(value, row(k).Default) << k;
    }
    // Text read before a formatting word keeps the old formatting.
    EXPECT_EQ(cgChar, row("b").Group);
    EXPECT_EQ(cgChar, row("f").Group);
    EXPECT_EQ(cgPara, row("qc").Group);
    EXPECT_EQ(cgPara, row("li").Group);
    EXPECT_EQ(cgNone, row("paperw").Group);
}

// Plain-text output: line ends, ranges and selections, UTF-16, non-text items
// and the application's own texts.
#include <gtest/gtest.h>

#include "WriterRoundTrip.h"

using namespace std::string_literals;

namespace {

class TTextDoc : public TWriterDoc {
public:
    int SupplyFor = -1;
    bool DoSaveItemToFile(const std::string&, TCustomRPData*, int ItemNo, int SaveFormat, bool,
                          std::string& OutStr) override {
        if (ItemNo != SupplyFor || SaveFormat != rpsfText) return false;
        OutStr = "<app \xE4>";
        return true;
    }
};

} // namespace

TEST(TextWriter, ParagraphsLinesAndRanges) {
    TTextDoc d;
    EXPECT_EQ(d.Text(), "");
    d.AddText("ab", 0, 0);
    d.AddText("cd", 0, 0);
    d.AddText("ef", 1, -1);
    d.AddNL("gh", 0, 0);
    d.GetItem(3)->SetLineBreakBefore(true);
    EXPECT_EQ(d.Text(), "ab\r\ncdef\r\ngh");
    // From the second character of "ab" to the second of "cd".
    std::string s;
    ASSERT_TRUE(d.SaveTextRangeToStream("", s, 80, TRPSaveRange{0, 2, 1, 2}, false, false, false, false));
    EXPECT_EQ(s, "b\r\nc");
    // UTF-16 with the byte-order mark; 8-bit text converted from its code page.
    d.Items->Put(0, "\xE4");
    s.clear();
    ASSERT_TRUE(d.SaveTextToStream("", s, 80, false, false, true, true));
    EXPECT_EQ(s, "\xFF\xFE\xE4\0\r\0\n\0c\0d\0e\0f\0\r\0\n\0g\0h\0"s);
    // The application's text goes in as it is given.
    d.SupplyFor = 2;
    s.clear();
    ASSERT_TRUE(d.SaveTextToStream("", s, 80, false, false, true, false));
    EXPECT_EQ(s, "\xE4\0\r\0\n\0c\0d\0<app \xE4>\r\0\n\0g\0h\0"s);
}

TEST(TextWriter, NonTextItemsAndSelectionsInLists) {
    TWriterDoc d;
    TRPListLevel* l = d.Style.ListStyles().Add()->Levels.Add();
    l->ListType = rplstDecimal;
    l->FormatString = "%s.";
    auto m = TRPMarkerItemInfo::CreateEx(&d, 0, 0, 1, false);
    d.AddItem("", std::move(m));
    d.AddMarkerInList(0);
    d.AddText("one", 0, -1);
    d.AddText("two", 1, -1);
    auto rule = CreateItemByStyleNo(&d, rpsnBreak);
    d.AddItem("", std::move(rule));
    d.AddPicture("p", std::make_unique<TBitmap>(2, 2), 0, 0, TRPTag());
    EXPECT_EQ(d.Text(), "1. onetwo\r\n" + std::string(80, '-') + "\r\n");
    // Text only leaves items without a text form out.
    std::string s;
    ASSERT_TRUE(d.SaveTextToStream("", s, 10, false, true, false, false));
    EXPECT_EQ(s, "onetwo\r\n\r\n");
    // A selection inside the list paragraph starts with its marker.
    d.Sel[0] = 2, d.Sel[1] = 2, d.Sel[2] = 2, d.Sel[3] = 3;
    s.clear();
    ASSERT_TRUE(d.SaveTextToStream("", s, 80, true, false, false, false));
    EXPECT_EQ(s, "1. w");
    // No selection: nothing, not even the byte-order mark.
    d.Sel[0] = -1;
    s.clear();
    ASSERT_TRUE(d.SaveTextToStream("", s, 80, true, false, true, true));
    EXPECT_EQ(s, "");
}

// Text in a symbol font: plain text has no fonts, so the codes become the
// characters they stand for; the item keeps its codes and its font, and so
// does the RTF.
TEST(TextWriter, SymbolFontsGiveTheirCharacters) {
    TWriterDoc d;
    TFontInfo* wing = d.Style.TextStyles().Add();
    wing->FontName = "Wingdings";
    wing->Charset = 2;
    const int wingNo = d.Style.TextStyles().Count() - 1;
    TRPListLevel* l = d.Style.ListStyles().Add()->Levels.Add();
    l->ListType = rplstBullet;
    l->FormatString = "\xA7";
    l->Font()->Name = "Wingdings";
    l->Font()->Charset = 2;
    auto m = TRPMarkerItemInfo::CreateEx(&d, 0, 0, 1, false);
    d.AddItem("", std::move(m));
    d.AddMarkerInList(0);
    d.AddText("\xD8\x76\x71\xFC", wingNo, -1);
    d.AddText("ok", 0, -1);
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(d.Text(true).data()),
                                 static_cast<qsizetype>(d.Text(true).size() / 2)),
              QString::fromUtf8("\u25AA \u27A2\u2756\u2751\u2713ok"));
    // 8-bit text: what the code page holds, a star for a bullet it lacks, the
    // codes elsewhere.
    EXPECT_EQ(d.Text(), "* \xD8\x76\x71\xFCok");
    EXPECT_EQ(d.GetItemText(1), "\xD8\x76\x71\xFC");
    EXPECT_EQ(d.Style.TextStyles().GetItem(wingNo)->FontName, "Wingdings");
    const std::string rtf = d.RTF();
    EXPECT_NE(rtf.find("\\fcharset2 Wingdings;"), std::string::npos);
    EXPECT_NE(rtf.find("\\'d8vq\\'fc"), std::string::npos) << rtf;
    // HTML readers may lack the font too.
    const std::string html = d.HTML(true, rphsoMarkersAsText);
    EXPECT_NE(html.find("&#9642;"), std::string::npos) << html;
    EXPECT_NE(html.find("&#10146;&#10070;&#10065;&#10003;"), std::string::npos) << html;
}

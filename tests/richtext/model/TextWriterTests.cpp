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

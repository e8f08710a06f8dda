#include <gtest/gtest.h>

#include <QImage>

#include <limits>

#include "DataTestsDoc.h"
#include "platform/Graphics.h"
#include "platform/Pictures.h"
#include "platform/TextMetrics.h"
#include "richtext/model/RPMarkers.h"

namespace {

class MarkerTest : public ::testing::Test {
protected:
    MarkerTest() {
        TRPListInfo* l = Style.ListStyles().Add();
        TRPListLevel* l0 = l->Levels.Add();
        l0->ListType = rplstUpperRoman;
        l0->FormatString = "%0:s.";
        TRPListLevel* l1 = l->Levels.Add();
        l1->ListType = rplstDecimal;
        l1->FormatString = "%0:s.%1:s";
        TRPListInfo* b = Style.ListStyles().Add();
        b->Levels.Add()->ListType = rplstDecimal;
        b->Levels.Items(0)->FormatString = "%0:s)";
    }
    TRPListLevel* Level(int List, int L) { return Style.ListStyles().Items(List)->Levels.Items(L); }

    // Appends a marker and its text, and registers the marker.
    TRPMarkerItemInfo* AddMarker(int ListNo, int L, int StartFrom = 0, bool Reset = false) {
        auto m = TRPMarkerItemInfo::CreateEx(&Doc, ListNo, L, StartFrom, Reset);
        TRPMarkerItemInfo* p = m.get();
        Doc.AddItem("", std::move(m));
        Doc.AddMarkerInList(Doc.GetItemCount() - 1);
        Doc.AddText("text", 0, -1);
        return p;
    }
    std::vector<std::string> Strings() {
        std::vector<std::string> r;
        if (TRPMarkerList* l = Doc.GetMarkers(false))
            for (int i = 0; i < l->Count(); ++i)
                r.push_back(l->Get(i)->DisplayString);
        return r;
    }
    std::vector<int> Counters() {
        std::vector<int> r;
        if (TRPMarkerList* l = Doc.GetMarkers(false))
            for (int i = 0; i < l->Count(); ++i)
                r.push_back(l->Get(i)->Counter);
        return r;
    }

    TRPStyle Style;
    TTestRPData Doc{&Style};
};

} // namespace

TEST(MarkerCounterText, LettersAndRomanNumerals) {
    EXPECT_EQ(RPCounterText(1, rplstUpperAlpha), "A");
    EXPECT_EQ(RPCounterText(27, rplstUpperAlpha), "AA");
    EXPECT_EQ(RPCounterText(702, rplstUpperAlpha), "ZZ");
    EXPECT_EQ(RPCounterText(703, rplstUpperAlpha), "AAA");
    EXPECT_EQ(RPCounterText(28, rplstLowerAlpha), "ab");
    EXPECT_EQ(RPCounterText(0, rplstLowerAlpha), "");
    EXPECT_EQ(RPCounterText(1994, rplstUpperRoman), "MCMXCIV");
    EXPECT_EQ(RPCounterText(4000, rplstUpperRoman), "MMMM");
    EXPECT_EQ(RPCounterText(49, rplstLowerRoman), "xlix");
    EXPECT_EQ(RPCounterText(0, rplstLowerRoman), "?");
    EXPECT_EQ(RPCounterText(2000000000, rplstUpperRoman), "?");
    EXPECT_EQ(RPCounterText(-3, rplstDecimal), "-3");
    EXPECT_EQ(RPCounterText(12, rplstImageListCounter), "12");
    EXPECT_EQ(RPCounterText(5, rplstBullet), "");
}

TEST(MarkerFormat, SpecifiersWidthsAndLiterals) {
    std::vector<std::string> a{"I", "2", "abc"};
    EXPECT_EQ(RPFormatMarkerString("%0:s.%1:s", a), "I.2");
    EXPECT_EQ(RPFormatMarkerString("%s-%s", a), "I-2");
    EXPECT_EQ(RPFormatMarkerString("%2:s/%s", a), "abc/%s"); // no text after the last one
    EXPECT_EQ(RPFormatMarkerString("%1:s/%s", a), "2/abc");
    EXPECT_EQ(RPFormatMarkerString("100%%", a), "100%");
    EXPECT_EQ(RPFormatMarkerString("[%4s]", a), "[   I]");
    EXPECT_EQ(RPFormatMarkerString("[%-4s]", a), "[I   ]");
    EXPECT_EQ(RPFormatMarkerString("[%2:.2s]", a), "[ab]");
    EXPECT_EQ(RPFormatMarkerString("%d %x", a), "%d %x");
    EXPECT_EQ(RPFormatMarkerString("%999:s", a), "%999:s");
    EXPECT_EQ(RPFormatMarkerString("end%", a), "end%");
    EXPECT_EQ(RPFormatMarkerString("%99999999999s", a).size(), 100000u); // width capped, no throw
}

TEST_F(MarkerTest, OutlineNumbersOfTwoLevels) {
    AddMarker(0, 0);
    AddMarker(0, 1);
    AddMarker(0, 1);
    AddMarker(0, 0);
    EXPECT_EQ(Counters(), (std::vector<int>{1, 1, 2, 2}));
    EXPECT_EQ(Strings(), (std::vector<std::string>{"I.", "I.1", "I.2", "II."}));
}

TEST_F(MarkerTest, ResetStartsAgainAndSuccessorsFollow) {
    AddMarker(0, 0);
    AddMarker(0, 0, 5, true);
    AddMarker(0, 0);
    AddMarker(0, 0);
    EXPECT_EQ(Counters(), (std::vector<int>{1, 5, 6, 7}));
    EXPECT_EQ(Strings()[3], "VII.");
}

TEST_F(MarkerTest, CountingOnFromTheLargestNumberStaysThere) {
    constexpr int Max = std::numeric_limits<int>::max();
    Level(1, 0)->StartFrom = Max;
    AddMarker(1, 0);
    AddMarker(1, 0);
    AddMarker(1, 0, Max - 1, true);
    AddMarker(1, 0);
    AddMarker(1, 0);
    EXPECT_EQ(Counters(), (std::vector<int>{Max, Max, Max - 1, Max, Max}));
    EXPECT_EQ(Strings().back(), "2147483647)");
    // After a deeper marker, an outer level goes on from its start.
    Level(0, 0)->StartFrom = Max;
    AddMarker(0, 1);
    AddMarker(0, 0);
    EXPECT_EQ(Counters().back(), Max);
    EXPECT_EQ(Strings().back(), "?.");
}

TEST_F(MarkerTest, InnerLevelWithoutOuterMarkerUsesStartValues) {
    Level(0, 0)->StartFrom = 3;
    Level(0, 1)->StartFrom = 4;
    AddMarker(0, 1);
    EXPECT_EQ(Counters(), (std::vector<int>{4}));
    EXPECT_EQ(Strings(), (std::vector<std::string>{"III.4"}));
}

TEST_F(MarkerTest, LegalNumberingShowsOuterLevelsAsDecimals) {
    Level(0, 1)->Options |= rploLegalStyleNumbering;
    AddMarker(0, 0);
    AddMarker(0, 0);
    AddMarker(0, 0);
    AddMarker(0, 1);
    EXPECT_EQ(Strings().back(), "3.1");
    EXPECT_EQ(Strings()[2], "III.");
}

TEST_F(MarkerTest, LevelsBeyondTheListAreClamped) {
    TRPMarkerItemInfo* m = AddMarker(0, 7);
    EXPECT_EQ(m->DisplayString, "I.1");
    EXPECT_EQ(GetListLevelInfo(&Style, 5, 0), nullptr);
    EXPECT_EQ(GetListLevelInfo(&Style, -1, 0), nullptr);
}

TEST_F(MarkerTest, RemovingAMarkerRenumbersItsOwnList) {
    AddMarker(0, 0);
    AddMarker(1, 0);
    AddMarker(0, 0);
    AddMarker(0, 0);
    EXPECT_EQ(Counters(), (std::vector<int>{1, 1, 2, 3}));
    Doc.DeleteItems(0, 2); // the first marker of list 0 and its text
    EXPECT_EQ(Counters(), (std::vector<int>{1, 1, 2}));
    EXPECT_EQ(Strings(), (std::vector<std::string>{"1)", "I.", "II."}));
}

TEST_F(MarkerTest, LastMarkerGoneFreesTheListAndANewOneMakesIt) {
    AddMarker(0, 0);
    Doc.DeleteItems(0, 2);
    EXPECT_EQ(Doc.GetMarkers(false), nullptr);
    AddMarker(0, 0);
    ASSERT_NE(Doc.GetMarkers(false), nullptr);
    EXPECT_EQ(Doc.GetMarkers(false)->Count(), 1);
}

TEST_F(MarkerTest, DetachAndReattachForUndo) {
    AddMarker(0, 0);
    TRPMarkerItemInfo* m = AddMarker(0, 0);
    m->DetachForUndo(2, &Doc);
    EXPECT_EQ(Doc.GetMarkers(false)->Count(), 1);
    m->ReattachFromUndo(&Doc);
    EXPECT_EQ(Counters(), (std::vector<int>{1, 2}));
}

TEST_F(MarkerTest, StreamRoundTripAndTruncatedData) {
    AddMarker(0, 0);
    AddMarker(0, 1, 9, true);
    std::string data;
    Doc.GetMarkers(false)->SaveToStream(data, 2, true);
    ASSERT_EQ(data.size(), 4u + 8u + 2u * 17u);
    EXPECT_EQ(static_cast<unsigned char>(data[0]), 2 * 17 + 8);
    TRPMarkerList copy;
    size_t pos = 0;
    ASSERT_TRUE(copy.LoadFromStream(data, pos, &Doc, true));
    EXPECT_EQ(pos, data.size());
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.Get(1)->Level, 1);
    EXPECT_TRUE(copy.Get(1)->Reset);
    EXPECT_EQ(copy.Get(1)->StartFrom, 9);
    EXPECT_EQ(copy.Get(1)->Counter, 9);

    std::string hex = Doc.GetMarkers(false)->SaveToHex();
    EXPECT_EQ(hex.substr(0, 16), "0000000002000000");
    TRPMarkerList fromHex;
    EXPECT_TRUE(fromHex.LoadFromHex(hex, &Doc));
    EXPECT_EQ(fromHex.Count(), 2);
    EXPECT_FALSE(fromHex.LoadFromHex("00zz", &Doc));
    EXPECT_EQ(fromHex.Count(), 0);

    // A count that the data cannot hold is refused.
    std::string bad = data.substr(4);
    bad[4] = '\x7F';
    TRPMarkerList refused;
    EXPECT_FALSE(refused.LoadBinary(bad, &Doc));
    EXPECT_EQ(refused.Count(), 0);
    EXPECT_FALSE(refused.LoadBinary(std::string("\0\0\0", 3), &Doc));
    bad = data.substr(4, 8 + 17 + 5);
    EXPECT_FALSE(refused.LoadBinary(bad, &Doc));
}

TEST_F(MarkerTest, PlainTextOfBulletsAndCounters) {
    TRPListInfo* l = Style.ListStyles().Add();
    TRPListLevel* lv = l->Levels.Add();
    lv->Font()->Name = "SYMBOL";
    lv->FormatString = "\xB7";
    TRPMarkerItemInfo* bullet = AddMarker(2, 0);
    EXPECT_EQ(bullet->GetPlainText(0, &Doc, false, false, "", ""), "* ");
    lv->FormatString = "\xDB\xAE";
    Doc.UpdateMarkerCounters(0, false);
    EXPECT_EQ(bullet->GetPlainText(0, &Doc, false, false, "", ""), "<=>-> ");
    TRPMarkerItemInfo* counter = AddMarker(0, 0);
    EXPECT_EQ(counter->GetPlainText(0, &Doc, false, false, "", ""), "I. ");
    EXPECT_EQ(counter->GetPlainText(0, &Doc, true, false, "", ""), std::string("I\0.\0 \0", 6));
    lv->ListType = rplstUnicodeBullet;
    lv->FormatStringW = u"\x2713";
    EXPECT_EQ(bullet->GetPlainText(0, &Doc, false, false, "", ""), "* ");
}

namespace {

// A document inside an item (a table cell): its root is the enclosing document.
class TCellData : public TCustomRPData {
public:
    TCellData(TCustomRPData* AParent, int AIndex) : Parent(AParent), Index(AIndex) {}
    ~TCellData() override { Clear(); }
    TCustomRPData* Parent;
    int ParentItemNo = -1;
    int Index;
    TRPStyle* GetRPStyle() const override { return Parent->GetRPStyle(); }
    TCustomRPData* GetParentData() const override { return Parent; }
    TCustomRPData* GetRootData() override { return Parent->GetRootData(); }
    TCustomRPData* GetAbsoluteParentData() const override { return Parent; }
    TCustomRPData* GetAbsoluteRootData() override { return Parent->GetAbsoluteRootData(); }
    bool IsNotTableCell() const override { return false; }
    void GetParentInfo(int& ItemNo, std::unique_ptr<TRPStoreSubRPData>& Location) override {
        struct TLoc : TRPStoreSubRPData {
            int I;
            explicit TLoc(int i) : I(i) {}
            int GetIndex() const override { return I; }
        };
        ItemNo = ParentItemNo;
        Location = std::make_unique<TLoc>(Index);
    }
};

class TFakeTable : public TRPFullLineItemInfo {
public:
    explicit TFakeTable(TCustomRPData* Parent) : TRPFullLineItemInfo(Parent) {
        StyleNo = rpsnTable;
        for (int i = 0; i < 2; ++i)
            Cells.push_back(std::make_unique<TCellData>(Parent, i));
    }
    bool GetBoolValue(int Id) const override {
        return Id == rpbivFullLine || TRPFullLineItemInfo::GetBoolValue(Id);
    }
    int GetSubRPDataCount() const override { return static_cast<int>(Cells.size()); }
    TCustomRPData* GetSubRPDataAt(int i) const override { return Cells[static_cast<size_t>(i)].get(); }
    std::vector<std::unique_ptr<TCellData>> Cells;
};

} // namespace

TEST_F(MarkerTest, PreviousMarkerIsFoundAcrossTableCells) {
    TRPMarkerItemInfo* outer = AddMarker(0, 0);
    auto table = std::make_unique<TFakeTable>(&Doc);
    TFakeTable* t = table.get();
    Doc.AddItem("", std::move(table));
    for (auto& c : t->Cells) {
        c->ParentItemNo = 2;
        c->AddText("cell", 0, 0);
    }
    EXPECT_EQ(t->Cells[1]->FindPreviousMarker(-1), outer);

    auto m = TRPMarkerItemInfo::CreateEx(t->Cells[0].get(), 0, 0, 0, false);
    TRPMarkerItemInfo* inner = m.get();
    t->Cells[0]->AddItem("", std::move(m));
    t->Cells[0]->AddMarkerInList(1);
    EXPECT_EQ(t->Cells[1]->FindPreviousMarker(-1), inner);
    EXPECT_EQ(Counters(), (std::vector<int>{1, 2}));
    EXPECT_EQ(Doc.FindItemContaining(0, inner), 2);
    Doc.AddText("after", 0, 0);
    EXPECT_EQ(Doc.FindPreviousMarker(3), inner);
}

// Clearing takes a document's own markers out of the shared list at once; the
// markers of the rest of the tree keep their order and are found again.
TEST_F(MarkerTest, ClearingTakesOnlyTheDocumentsMarkers) {
    TRPMarkerItemInfo* first = AddMarker(0, 0);
    auto table = std::make_unique<TFakeTable>(&Doc);
    TFakeTable* t = table.get();
    Doc.AddItem("", std::move(table));
    TCellData& cell = *t->Cells[0];
    cell.ParentItemNo = 2;
    for (int i = 0; i < 2; ++i) {
        cell.AddItem("", TRPMarkerItemInfo::CreateEx(&cell, 0, 0, 0, false));
        cell.AddMarkerInList(cell.GetItemCount() - 1);
        cell.AddText("cell", 0, -1);
    }
    TRPMarkerItemInfo* last = AddMarker(0, 0);
    EXPECT_EQ(Counters(), (std::vector<int>{1, 2, 3, 4}));

    cell.Clear();
    TRPMarkerList* list = Doc.GetMarkers(false);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->Get(0), first);
    EXPECT_EQ(list->Get(1), last);
    EXPECT_EQ(last->GetIndexInList(list), 1);
    Doc.UpdateMarkerCounters(Doc.GetItemNo(last), false);
    EXPECT_EQ(Counters(), (std::vector<int>{1, 2}));
    EXPECT_EQ(Strings(), (std::vector<std::string>{"I.", "II."}));

    // A cell without markers leaves the list alone; the whole document takes it with it.
    t->Cells[1]->AddText("plain", 0, 0);
    t->Cells[1]->Clear();
    EXPECT_EQ(Doc.GetMarkers(false), list);
    Doc.Clear();
    EXPECT_EQ(Doc.GetMarkers(false), nullptr);
    EXPECT_EQ(Doc.GetItemCount(), 0);
}

// Records read from a stream belong to the list, not to the document: clearing
// the document leaves them.
TEST_F(MarkerTest, ClearingKeepsTheListsOwnRecords) {
    std::string data;
    {
        TRPMarkerItemInfo standalone(&Doc);
        standalone.ListNo = 1;
        standalone.Counter = 7;
        TRPMarkerList source;
        source.Insert(0, &standalone);
        source.SaveToStream(data, 1, false);
        source.Clear();
    }
    TRPMarkerList* list = Doc.GetMarkers(true);
    ASSERT_TRUE(list->LoadBinary(data, &Doc));
    AddMarker(0, 0);
    ASSERT_EQ(list->Count(), 2);
    Doc.Clear();
    ASSERT_EQ(Doc.GetMarkers(false), list);
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Get(0)->ListNo, 1);
    EXPECT_EQ(list->Get(0)->Counter, 7);
    EXPECT_EQ(list->IndexOf(list->Get(0)), 0);
}

namespace {
class TFixedMetrics : public TTextMetrics {
public:
    int Ascent(const TFont&) override { return 8; }
    int Descent(const TFont&) override { return 2; }
    int InternalLeading(const TFont&) override { return 0; }
    int ExternalLeading(const TFont&) override { return 0; }
    int AveCharWidth(const TFont&) override { return 5; }
    std::vector<int> PrefixWidths(const TFont&, const QString& text) override {
        std::vector<int> r;
        for (int i = 0; i < text.size(); ++i)
            r.push_back(5 * (i + 1));
        return r;
    }
};
} // namespace

TEST_F(MarkerTest, CentredMarkerSplitsItsWidth) {
    TFixedMetrics fixed;
    TTextMetrics* old = SetTextMetrics(&fixed);
    Level(0, 0)->MarkerAlignment = rpmaCenter;
    Level(0, 0)->FirstIndent = 0;
    Level(0, 0)->FormatString = "%0:s.)";
    TRPMarkerItemInfo* m = AddMarker(0, 0); // "I.)": 15 pixels
    QImage img(50, 50, QImage::Format_RGB32);
    TCanvas canvas(&img);
    int descent = 0, offset = 0;
    m->AdjustToDocWidth(500, nullptr, false, &canvas, &Doc, nullptr, descent, offset, false);
    SetTextMetrics(old);
    EXPECT_EQ(m->GetLeftOverhang(), -8);
    EXPECT_EQ(m->GetWidth(), 15);
    EXPECT_EQ(m->GetHeight(), 10);
    EXPECT_EQ(descent, 2);
    EXPECT_EQ(offset, 0);
}

TEST_F(MarkerTest, PrintingUsesThePrinterResolutionAndColours) {
    Level(0, 0)->Font()->Color = clRed;
    Level(0, 0)->Font()->Size = 8;
    TRPMarkerItemInfo* m = AddMarker(0, 0);
    QImage img(40, 40, QImage::Format_RGB32);
    TCanvas canvas(&img);
    Style.TextStyles().PixelsPerInch = 300;
    m->Print(&canvas, 0, 0, &Doc, rpcmBlackAndWhite, -1, nullptr, TRPResolution{}, false);
    EXPECT_EQ(canvas.Font()->Height(), -33);
    EXPECT_EQ(canvas.Font()->Color(), clBlack);
    Style.TextStyles().PixelsPerInch = 0;
    m->Paint(0, 0, &canvas, 0, &Style, nullptr);
    EXPECT_EQ(canvas.Font()->Color(), clRed);
    EXPECT_EQ(canvas.Font()->Size(), 8);
    TRPMarkerItemInfo none(&Doc);
    none.ListNo = -1;
    TBitmap bmp(4, 4);
    EXPECT_TRUE(none.PrintToBitmap(&bmp, false, &Doc, rpcmColor, -1, nullptr));
}

TEST(MarkerHeader, FieldsRoundTripAndBadHeadersFail) {
    auto m = TRPMarkerItemInfo::CreateEx(nullptr, 3, 1, 5, true);
    std::string s;
    m->GetRPFExtraText(nullptr, s);
    EXPECT_EQ(s, "3 1 5 1");
    TRPMarkerItemInfo back(nullptr);
    EXPECT_TRUE(back.ReadRPFHeaderExtra(s, nullptr));
    EXPECT_EQ(back.ListNo, 3);
    EXPECT_EQ(back.Level, 1);
    EXPECT_EQ(back.StartFrom, 5);
    EXPECT_TRUE(back.Reset);
    std::string bad = "3 1 x 0";
    EXPECT_FALSE(back.ReadRPFHeaderExtra(bad, nullptr));
    bad = "3 1";
    EXPECT_FALSE(back.ReadRPFHeaderExtra(bad, nullptr));
    EXPECT_EQ(back.StartFrom, 5);
}

TEST_F(MarkerTest, PictureMarkersMeasureAndDrawTheirPicture) {
    TRPListLevel* lv = Style.ListStyles().Add()->Levels.Add();
    lv->ListType = rplstPicture;
    lv->MarkerAlignment = rpmaRight;
    lv->FirstIndent = 4;
    TRPMarkerItemInfo* m = AddMarker(2, 0);
    EXPECT_FALSE(m->GetBoolValueEx(rpbivexPrintSliced, &Style)); // no picture yet
    auto red = std::make_unique<TBitmap>(6, 3);
    red->Canvas()->Brush()->SetColor(clRed);
    red->Canvas()->FillRect(Rect(0, 0, 6, 3));
    lv->Picture()->SetGraphic(std::move(red));
    EXPECT_EQ(m->GetImageWidth(&Style), 6);
    EXPECT_EQ(m->GetImageHeight(&Style), 3);
    EXPECT_TRUE(m->GetBoolValueEx(rpbivexPrintSliced, &Style));
    TRPResolution sad{96, 96, 192, 192, 0, 0};
    // Right-aligned: all of it left of the position; the room to the text is FirstIndent.
    EXPECT_EQ(m->GetMinWidth(&sad, nullptr, &Doc), 8);
    int descent = 0, offset = 0;
    m->AdjustToDocWidth(100, nullptr, false, nullptr, &Doc, nullptr, descent, offset, false);
    EXPECT_EQ(m->GetLeftOverhang(), -6);
    EXPECT_EQ(m->GetWidth(), 10);
    EXPECT_EQ(m->GetHeight(), 3);
    EXPECT_EQ(descent, 0);
    TBitmap out(10, 10);
    ASSERT_TRUE(m->PrintToBitmap(&out, false, &Doc, rpcmColor, -1, nullptr));
    EXPECT_EQ(out.Canvas()->Pixel(5, 2), clRed);
    EXPECT_EQ(out.Canvas()->Pixel(6, 2), clWhite);
    EXPECT_EQ(m->GetPlainText(0, &Doc, false, false, "", ""), "* ");
}

// Stream format: style collections, the marker numbering record, control
// bodies, image lists named by tag, and refusal of damaged headers, with the
// document left as it was.
#include <climits>
#include <gtest/gtest.h>

#include "WriterRoundTrip.h"
#include "platform/ControlsStd.h"
#include "platform/ImageList.h"
#include "richtext/model/RPFStreaming.h"
#include "richtext/model/RPFTokens.h"
#include "richtext/model/RPReadLimits.h"

using namespace std::string_literals;

namespace {

class TStreamDoc : public TWriterDoc {
public:
    uint8_t Warnings = 0;
    TCustomImageList* List = nullptr;
    std::unique_ptr<TRPMarkerList> Outer;
    std::vector<int> ControlActions;
    std::vector<std::string> Props_;
    std::vector<std::string>* GetDocProperties() override { return &Props_; }
    uint8_t GetRPFWarnings() const override { return Warnings; }
    void SetRPFWarnings(uint8_t v) override { Warnings = v; }
    TCustomImageList* DoRPFImageListNeeded(int Tag) override { return List && List->Tag() == Tag ? List : nullptr; }
    TRPMarkerList* GetOuterMarkers() override { return Outer.get(); }
    void DoControlAction(int Action, int, TControl*) override { ControlActions.push_back(Action); }

    bool Load(const std::string& s) {
        TColor c = clNone;
        return LoadRPFFromStream(s, c, nullptr, nullptr);
    }
    std::string Save() {
        std::string s;
        SaveRPFToStream(s, false, clNone, nullptr, nullptr);
        return s;
    }
};

// Styles that differ from the defaults in every kind of property.
void FillStyles(TRPStyle& st, TCustomImageList* List) {
    TFontInfo* f = st.TextStyles().Add();
    f->StyleName = "Gro\xDF \"rot\"";
    f->FontName = "Times New Roman";
    f->Size = 14;
    f->Color = clRed;
    f->BackColor = clYellow;
    f->Style = RPFontStyle::Bold | RPFontStyle::Underline;
    f->StyleEx = rpfsAllCaps;
    f->VShift = -20;
    f->Charset = 238;
    f->Unicode = true;
    f->Protection = rpprModifyProtect;
    f->CharScale = 90;
    f->CharSpacing = 3;
    f->BiDiMode = rpbdRightToLeft;
    f->BaseStyleNo = 2;
    f->Standard = false;
    TParaInfo* p = st.ParaStyles().Add();
    p->StyleName = "Eingerückt";
    p->LeftIndent = 40;
    p->FirstIndent = -10;
    p->LineSpacing = 12;
    p->LineSpacingType = rplsSpaceBetween;
    p->Alignment = rpaCenter;
    p->Border.Style = rpbDouble;
    p->Border.Color = clNavy;
    p->Border.VisibleBorders.Left = false;
    p->Border.BorderOffsets.Top = 4;
    p->Background.Color = clSilver;
    p->Background.BorderOffsets.Right = 2;
    p->Options = rppaoNoWrap;
    p->DefStyleNo = 6;
    TRPListInfo* li = st.ListStyles().Add();
    li->SetLstID(4711);
    li->OneLevelPreview = true;
    TRPListLevel* l0 = li->Levels.Add();
    l0->ListType = rplstUnicodeBullet;
    l0->FormatStringW = u"\u25BA";
    l0->Font()->Name = "Symbol";
    l0->Font()->Size = 11;
    l0->Font()->Style = RPFontStyle::Italic;
    TRPListLevel* l1 = li->Levels.Add();
    l1->ListType = rplstImageList;
    l1->ImageList = List;
    l1->ImageIndex = 1;
    l1->FormatString.clear();
    TRPListLevel* l2 = li->Levels.Add();
    l2->ListType = rplstPicture;
    l2->Picture()->SetGraphic(std::make_unique<TBitmap>(3, 2));
    l2->MarkerAlignment = rpmaRight;
    l2->StartFrom = 7;
}

} // namespace

TEST(RPFStream, StyleCollectionsComeBackExactly) {
    TCustomImageList list(nullptr);
    list.SetTag(33);
    for (TRPFOptions binary : {TRPFOptions(0), rpfoSaveBinary}) {
        TStreamDoc a;
        a.List = &list;
        FillStyles(a.Style, &list);
        a.AddText(WideStrToItemText(u"x"), 6, 2);
        a.RPFOpts = rpfoSaveTextStyles | rpfoSaveParaStyles | binary;
        const std::string s = a.Save();
        TStreamDoc b;
        b.List = &list;
        b.RPFOpts = a.RPFOpts;
        b.TextMode = b.ParaMode = rpf_sInsertMerge;
        ASSERT_TRUE(b.Load(s)) << binary;
        EXPECT_EQ(RPFSaveTextStyles(b.Style.TextStyles()), RPFSaveTextStyles(a.Style.TextStyles()));
        EXPECT_EQ(RPFSaveParaStyles(b.Style.ParaStyles()), RPFSaveParaStyles(a.Style.ParaStyles()));
        EXPECT_EQ(RPFSaveListStyles(b.Style.ListStyles(), &b), RPFSaveListStyles(a.Style.ListStyles(), &a));
        EXPECT_EQ(b.Style.ListStyles().Items(0)->Levels[1]->ImageList, &list);
        EXPECT_EQ(b.Style.ListStyles().Items(0)->GetLstID(), 4711);
        EXPECT_EQ(b.Save(), s);
        // Ignoring them leaves the styles alone.
        TStreamDoc c;
        c.RPFOpts = a.RPFOpts | rpfoConvUnknownStylesToZero;
        ASSERT_TRUE(c.Load(s));
        EXPECT_EQ(c.Style.TextStyles().Count(), 6);
    }
}

TEST(RPFStream, InsertedStylesAreMergedOrMapped) {
    TStreamDoc a;
    TFontInfo* red = a.Style.TextStyles().Add();
    red->Color = clRed;
    a.AddText("normal", 0, 0);
    a.AddText("red", 6, 0);
    a.AddText("heading", 1, 0);
    a.RPFOpts = rpfoSaveTextStyles;
    const std::string s = a.Save();

    TStreamDoc merge;
    merge.TextMode = rpf_sInsertMerge;
    merge.AddText("here", 0, 0);
    int index = 1, added = 0, outInt = 0;
    bool outFlag = false, aborted = false;
    TColor c = clNone;
    ASSERT_TRUE(merge.InsertRPFFromStream(s, index, -1, false, false, false, c, nullptr, nullptr, added, outInt,
                                          outFlag, aborted));
    // Only the red style has no equal; it is appended and the items refer to it.
    EXPECT_EQ(merge.Style.TextStyles().Count(), 7);
    EXPECT_EQ(merge.GetItemStyle(2), 6);
    EXPECT_EQ(merge.GetItemStyle(3), 1);

    TStreamDoc map;
    map.TextMode = rpf_sInsertMap;
    index = 0;
    ASSERT_TRUE(map.InsertRPFFromStream(s, index, -1, false, false, false, c, nullptr, nullptr, added, outInt, outFlag,
                                        aborted));
    EXPECT_EQ(map.Style.TextStyles().Count(), 6);
    EXPECT_EQ(map.GetItemStyle(0), 0);
    EXPECT_EQ(map.GetItemStyle(2), 1);
}

TEST(RPFStream, FailedLoadLeavesTheDocumentAsItWas) {
    TStreamDoc a;
    a.Style.TextStyles().GetItem(0)->Size = 30;
    a.AddText("new", 0, 0);
    a.RPFOpts = rpfoSaveTextStyles | rpfoSaveDocProperties;
    a.Props_.push_back("neu");
    std::string s = a.Save();
    s += "0 2 0 0 0 0\r\nonly one line\r\n"; // damaged at the end

    TStreamDoc b;
    b.RPFOpts = a.RPFOpts | rpfoLoadDocProperties;
    b.TextMode = rpf_sInsertMerge;
    b.AddText("old", 1, 0);
    b.AddCheckpoint("end", false, TRPTag());
    b.Props_.push_back("alt");
    EXPECT_FALSE(b.Load(s));
    EXPECT_EQ(b.GetItemCount(), 1);
    EXPECT_EQ(ItemUtf8(b, 0), "old");
    EXPECT_EQ(b.Style.TextStyles().GetItem(0)->Size, 10);
    EXPECT_EQ(b.Props_, std::vector<std::string>{"alt"});
    ASSERT_TRUE(b.NotAddedCP);
    // The same stream undamaged takes the document's place, styles and properties with it.
    s.resize(s.size() - std::string("0 2 0 0 0 0\r\nonly one line\r\n").size());
    ASSERT_TRUE(b.Load(s));
    EXPECT_EQ(ItemUtf8(b, 0), "new");
    EXPECT_EQ(b.Style.TextStyles().GetItem(0)->Size, 30);
    EXPECT_EQ(b.Props_, std::vector<std::string>{"neu"});
    EXPECT_FALSE(b.NotAddedCP);
}

TEST(RPFStream, MarkerNumberingRecord) {
    TStreamDoc owner;
    owner.Style.ListStyles().Add();
    owner.Style.ListStyles().Add();
    auto m = TRPMarkerItemInfo::CreateEx(&owner, 1, 0, 3, true);
    owner.AddItem("", std::move(m));
    owner.AddMarkerInList(0);
    const std::string hex = owner.GetMarkers(false)->SaveToHex();
    TStreamDoc d;
    d.RPFOpts = rpfoLoadLayout;
    d.Style.ListStyles().Add();
    d.Style.ListStyles().Add();
    d.Outer = std::make_unique<TRPMarkerList>();
    ASSERT_TRUE(d.Load("-8 1 3\r\n-9 2 0 0 0 0 6\r\n\r\n" + hex + "\r\n0 1 0 0 0 0\r\nx\r\n"));
    ASSERT_EQ(d.Outer->Count(), 1);
    EXPECT_EQ(d.Outer->Get(0)->ListNo, 1);
    EXPECT_EQ(d.Outer->Get(0)->Counter, 3);
    EXPECT_TRUE(d.Outer->Get(0)->Reset);
    // A count the block cannot hold, and bad hex, refuse the stream.
    EXPECT_FALSE(d.Load("-8 1 3\r\n-9 2 0 0 0 0 6\r\n\r\n00000000FFFFFF7F\r\n"));
    EXPECT_FALSE(d.Load("-8 1 3\r\n-9 2 0 0 0 0 6\r\n\r\n0000000001000G00\r\n"));
    EXPECT_EQ(d.Outer->Count(), 1);
}

TEST(RPFStream, ControlsFromAFixedListOfClasses) {
    TStreamDoc a;
    a.RPFOpts = rpfoSaveControlsBody;
    auto ctrl = CreateItemByStyleNo(&a, rpsnControl);
    auto* button = new TButton(nullptr);
    button->SetCaption("Weiter");
    button->SetBounds(1, 2, 80, 24);
    button->SetTag(9);
    static_cast<TRPControlItemInfo*>(ctrl.get())->Control.reset(button);
    a.AddItem("knopf", std::move(ctrl));
    const std::string s = a.Save();
    EXPECT_EQ(a.ControlActions, (std::vector<int>{5, 6}));
    EXPECT_TRUE(s.find("-5 3 0 0 0 0 0\r\nknopf\r\nTButton\r\n") != std::string::npos) << s;
    TStreamDoc b;
    b.RPFOpts = a.RPFOpts;
    ASSERT_TRUE(b.Load(s));
    auto* back = dynamic_cast<TButton*>(static_cast<TRPControlItemInfo*>(b.GetItem(0))->Control.get());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Caption(), "Weiter");
    EXPECT_EQ(back->Width(), 80);
    EXPECT_EQ(back->Tag(), 9);
    // Any other class is refused with a warning and fails the load; where
    // unknown controls are to be left out, the rest of the document loads.
    std::string other = s + "0 1 0 0 0 0\r\nnach\r\n";
    other.replace(other.find("TButton"), 7, "TForm");
    EXPECT_FALSE(b.Load(other));
    EXPECT_EQ(b.Warnings, 2);
    b.RPFOpts |= rpfoIgnoreUnknownCtrls;
    ASSERT_TRUE(b.Load(other));
    EXPECT_EQ(b.Warnings, 2);
    ASSERT_EQ(b.GetItemCount(), 1);
    EXPECT_EQ(b.GetItem(0)->StyleNo, 0);
}

TEST(RPFStream, ImageListsNamedByTag) {
    TCustomImageList list(nullptr);
    list.SetTag(12);
    list.SetSize(4, 4);
    TBitmap strip(8, 4);
    list.Add(&strip, nullptr);
    TStreamDoc a;
    auto hot = CreateItemByStyleNo(&a, rpsnHotspot);
    static_cast<TRPHotspotItemInfo*>(hot.get())->ImageList = &list;
    static_cast<TRPHotspotItemInfo*>(hot.get())->HotImageIndex = 1;
    a.AddItem("h", std::move(hot));
    const std::string s = a.Save();
    EXPECT_EQ(s, "-8 1 3\r\n-4 1 0 0 0 0 12 0 1\r\nh\r\n");
    TStreamDoc b;
    b.List = &list;
    ASSERT_TRUE(b.Load(s));
    EXPECT_EQ(static_cast<TRPHotspotItemInfo*>(b.GetItem(0))->HotImageIndex, 1);
    // An index outside the list.
    EXPECT_FALSE(b.Load("-8 1 3\r\n-4 1 0 0 0 0 12 0 5\r\nh\r\n"));
    EXPECT_EQ(b.Warnings, 8);
    b.RPFOpts = rpfoConvLargeImageIdxToZero;
    ASSERT_TRUE(b.Load("-8 1 3\r\n-4 1 0 0 0 0 12 0 5\r\nh\r\n"));
    EXPECT_EQ(static_cast<TRPHotspotItemInfo*>(b.GetItem(0))->HotImageIndex, 0);
}

TEST(RPFStream, DamagedHeadersAndHexText) {
    TStreamDoc d;
    for (const std::string& bad : {
             "-8 1 3\r\n0 1 0 16 0 0\r\nx\r\n"s,    // options beyond the four bits
             "-8 1 3\r\n0 1 -2 0 0 0\r\nx\r\n"s,    // no paragraph below -1
             "-8 1 3\r\n0 1 0 0 4 0\r\nx\r\n"s,     // read types 0 to 3
             "-8 1 3\r\n0 1 0 0 3 0\r\n41G2\r\n"s,  // bad hex text
             "-8 1 3\r\n-2 1 0 0 3 0 0 0\r\n4\r\n"s, // bad hex name
             "-8 1 3\r\n0 1 - 0 0 0\r\nx\r\n"s,     // a lone "-"
         })
        EXPECT_FALSE(d.Load(bad)) << bad;
    // A checkpoint name with line ends goes as hex and comes back.
    TStreamDoc a;
    a.AddCheckpoint("zwei\r\nZeilen", true, TRPTag());
    a.AddText("x", 0, 0);
    const std::string s = a.Save();
    EXPECT_EQ(s, "-8 1 3\r\n-2 1 0 0 3 0 1 0\r\n7A7765690D0A5A65696C656E\r\n0 1 0 0 0 0\r\nx\r\n");
    ASSERT_TRUE(d.Load(s));
    EXPECT_EQ(d.GetItemCheckpoint(0)->Name, "zwei\r\nZeilen");
}

// A control's box and font and the numbers of stored markers come from the
// stream at the ends of an int; they are read in their ranges.
TEST(RPFStream, ControlSizesAndMarkerNumbersAreReadInTheirRanges) {
    using L = TRPReadLimits;
    for (int32_t v : {INT32_MIN, INT32_MAX}) {
        SCOPED_TRACE(v);
        TRPFObjectWriter w;
        for (const char* name : {"Left", "Top", "Width", "Height", "Font.Height"})
            w.Int(name, v);
        const std::unique_ptr<TControl> c = RPFLoadControlFromBinary(w.Data(), "TButton", nullptr);
        ASSERT_TRUE(c);
        EXPECT_EQ(c->Left(), v > 0 ? L::MaxLength : -L::MaxLength);
        EXPECT_EQ(c->Width(), v > 0 ? L::MaxLength : 0);
        EXPECT_EQ(c->Height(), v > 0 ? L::MaxLength : 0);
        EXPECT_EQ(c->Font()->Height(), v > 0 ? L::MaxFontHeight : -L::MaxFontHeight);

        TStreamDoc owner;
        owner.Style.ListStyles().Add();
        owner.AddItem("", TRPMarkerItemInfo::CreateEx(&owner, 0, 0, v, false));
        owner.AddMarkerInList(0);
        owner.GetMarkers(false)->Get(0)->Counter = v;
        TStreamDoc d;
        d.RPFOpts = rpfoLoadLayout;
        d.Style.ListStyles().Add();
        d.Outer = std::make_unique<TRPMarkerList>();
        ASSERT_TRUE(d.Load("-8 1 3\r\n-9 2 0 0 0 0 6\r\n\r\n" + owner.GetMarkers(false)->SaveToHex() +
                           "\r\n0 1 0 0 0 0\r\nx\r\n"));
        ASSERT_EQ(d.Outer->Count(), 1);
        EXPECT_EQ(d.Outer->Get(0)->StartFrom, v > 0 ? L::MaxListStart : 0);
        EXPECT_EQ(d.Outer->Get(0)->Counter, v > 0 ? L::MaxListCounter : 0);
    }
}

#include <gtest/gtest.h>

#include "DataTestsDoc.h"
#include <QImage>

#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "platform/Pictures.h"
#include "richtext/edit/RPTable.h"
#include "richtext/model/RPDrawLines.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"

namespace {

std::unique_ptr<TCustomRPItemInfo> Make(int StyleNo) {
    return CreateItemByStyleNo(nullptr, StyleNo);
}

class TUnknownRecorder : public TRPTextItemInfo {
public:
    using TRPTextItemInfo::TRPTextItemInfo;
    std::string Name, Value;
    void SetUnknownRPFProperty(const std::string& N, const std::string& V) override {
        Name = N;
        Value = V;
    }
};

class TOtherKind : public TRPNonTextItemInfo {
public:
    using TRPNonTextItemInfo::TRPNonTextItemInfo;
    static const TRPItemClass ClassInfo;
    const TRPItemClass& ItemClass() const override { return ClassInfo; }
};
const TRPItemClass TOtherKind::ClassInfo{
    "TOtherKind",
    [](TCustomRPData* d) { return std::unique_ptr<TCustomRPItemInfo>(std::make_unique<TOtherKind>(d)); }};

} // namespace

TEST(ItemOptions, BitsStayExclusive) {
    auto t = Make(0);
    t->SetLineBreakBefore(true);
    EXPECT_EQ(t->ItemOptions, 4);
    t->ItemOptions = 0;
    t->SetPageBreakBefore(true);
    EXPECT_EQ(t->ItemOptions, 2);
    t->ItemOptions = 0;
    t->SetContinuesPrev(true);
    EXPECT_EQ(t->ItemOptions, 1);
    t->ItemOptions = 12;
    t->SetContinuesPrev(true);
    EXPECT_EQ(t->ItemOptions, 9);
    t->ItemOptions = 5;
    t->SetPageBreakBefore(true);
    EXPECT_EQ(t->ItemOptions, 2);
    EXPECT_TRUE(t->StartsPara());
    auto b = Make(rpsnBreak);
    b->SetLineBreakBefore(true);
    EXPECT_EQ(b->ItemOptions, 0);
    b->ItemOptions = rpioLineBreakBefore;
    b->SetLineBreakBefore(true);
    EXPECT_EQ(b->ItemOptions, 0);
}

TEST(ItemOptions, ActualStyleOfParagraphDefault) {
    TRPStyle style;
    auto t = Make(rpsnParaDefault);
    t->ParaNo = 1;
    EXPECT_EQ(t->GetActualStyleNo(&style), 0); // DefStyleNo -1
    style.ParaStyles().GetItem(1)->DefStyleNo = 3;
    EXPECT_EQ(t->GetActualStyleNo(&style), 3);
    EXPECT_EQ(t->GetActualStyleNo(nullptr), 0);
}

TEST(ItemRegistry, FactoryAndRegistration) {
    EXPECT_NE(dynamic_cast<TRPMarkerItemInfo*>(Make(rpsnListMarker).get()), nullptr);
    EXPECT_NE(dynamic_cast<TRPHotGraphicItemInfo*>(Make(rpsnHotPicture).get()), nullptr);
    EXPECT_NE(dynamic_cast<TRPHotspotItemInfo*>(Make(rpsnHotspot).get()), nullptr);
    EXPECT_NE(dynamic_cast<TRPControlItemInfo*>(Make(rpsnControl).get()), nullptr);
    EXPECT_EQ(Make(rpsnBullet)->ItemClass().Name, std::string("TRPBulletItemInfo"));
    EXPECT_EQ(Make(7)->StyleNo, 7);
    EXPECT_EQ(Make(-2), nullptr);
    // Tables register themselves at start-up; this test works on an empty registry.
    UnregisterAllRichPadItemTypes();
    EXPECT_EQ(Make(-60), nullptr);

    for (int n : {-9, -1, 0, 5, rpsnHotPicture, rpsnListMarker}) {
        try {
            RegisterRichPadItemType(n, &TOtherKind::ClassInfo);
            FAIL() << n;
        } catch (const ERichPadError& e) {
            EXPECT_STREQ(e.what(), "Can't register RichPad item type - this StyleNo is already registered");
        }
    }
    RegisterRichPadItemType(-60, &TOtherKind::ClassInfo);
    RegisterRichPadItemType(-60, &TOtherKind::ClassInfo);
    EXPECT_THROW(RegisterRichPadItemType(-60, &TRPBreakItemInfo::ClassInfo), ERichPadError);
    auto item = Make(-60);
    ASSERT_NE(dynamic_cast<TOtherKind*>(item.get()), nullptr);
    EXPECT_EQ(item->StyleNo, -60);
    UnregisterAllRichPadItemTypes();
    EXPECT_EQ(Make(-60), nullptr);
    RPRegisterTableItem();
}

TEST(ItemRegistry, CopiesKeepClassFieldsTagAndCheckpoint) {
    auto src = TRPMarkerItemInfo::CreateEx(nullptr, 2, 1, 7, true);
    src->Spacing = 4;
    src->Hint = "h";
    src->Tag = TRPTag::FromText("tag");
    src->Checkpoint = std::make_unique<TRPCPInfo>();
    src->Checkpoint->Name = "cp";
    src->Checkpoint->Persistent = true;
    auto copy = CreateItemCopy(*src, nullptr, true);
    auto* m = dynamic_cast<TRPMarkerItemInfo*>(copy.get());
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->ListNo, 2);
    EXPECT_EQ(m->Level, 1);
    EXPECT_EQ(m->StartFrom, 7);
    EXPECT_TRUE(m->Reset);
    EXPECT_EQ(m->Spacing, 4);
    EXPECT_EQ(m->Hint, "h");
    EXPECT_EQ(m->StyleNo, rpsnListMarker);
    EXPECT_EQ(m->Tag.Text, std::optional<std::string>("tag"));
    ASSERT_NE(m->Checkpoint, nullptr);
    EXPECT_NE(m->Checkpoint.get(), src->Checkpoint.get());
    EXPECT_EQ(m->Checkpoint->Name, "cp");
    EXPECT_TRUE(m->Checkpoint->Persistent);
    EXPECT_EQ(CreateItemCopy(*src, nullptr, false)->Checkpoint, nullptr);
}

TEST(ItemExtraProperties, LinesReachTheRightSetter) {
    TRPRectItemInfo r(nullptr);
    r.ReadRPFProperty("spacing=-4");
    EXPECT_EQ(r.Spacing, 0);
    r.ReadRPFProperty("vshift=12");
    r.ReadRPFProperty("vshiftabs=1");
    r.ReadRPFProperty("unremovable=3");
    r.ReadRPFProperty("hint=a=b");
    r.ReadRPFProperty("novalue");
    EXPECT_EQ(r.VShift, 12);
    EXPECT_TRUE(r.VShiftAbs);
    EXPECT_TRUE(r.DeleteProtect);
    EXPECT_EQ(r.Hint, "a=b");
    r.Spacing = 3;
    EXPECT_EQ(r.GetRPFExtraPropertyCount(), 5);
    std::string out;
    r.SaveRPFExtraProperties(out);
    EXPECT_EQ(out, "hint=a=b\r\nunremovable=1\r\nvshift=12\r\nvshiftabs=1\r\nspacing=3\r\n");

    TRPGraphicItemInfo g(nullptr);
    g.ReadRPFProperty("width=abc");
    g.ReadRPFProperty("height=50");
    EXPECT_EQ(g.ImageWidth, 0);
    EXPECT_EQ(g.ImageHeight, 50);
    EXPECT_FALSE(g.SetExtraIntProperty(rpeipTransparent, 1)); // no bitmap

    TUnknownRecorder t(nullptr);
    t.ReadRPFProperty("Hint=x"); // names are case-sensitive
    EXPECT_EQ(t.Name, "Hint");
    EXPECT_EQ(t.Value, "x");
    EXPECT_EQ(t.Hint, "");
}

TEST(ItemExtraProperties, PictureAltAndFileNameRoundTrip) {
    auto g = TRPGraphicItemInfo::CreateEx(nullptr, std::make_unique<TBitmap>(4, 4), 0);
    g->Alt = "Bild";
    g->ImageFileName = "a.png";
    g->ImageWidth = 8;
    EXPECT_EQ(g->GetRPFExtraPropertyCount(), 3);
    std::string out;
    g->SaveRPFExtraProperties(out);
    EXPECT_EQ(out, "width=8\r\nfilename=a.png\r\nalt=Bild\r\n");
    TRPGraphicItemInfo back(nullptr);
    size_t p = 0;
    while (p < out.size()) {
        size_t e = out.find("\r\n", p);
        back.ReadRPFProperty(out.substr(p, e - p));
        p = e + 2;
    }
    EXPECT_EQ(back.Alt, "Bild");
    EXPECT_EQ(back.ImageFileName, "a.png");
    EXPECT_EQ(back.ImageWidth, 8);
}

TEST(ItemHeaders, TextHintAndRectAlignment) {
    TRPTextItemInfo t(nullptr);
    std::string s = " \"say \"\"hi\"\"\"";
    EXPECT_TRUE(t.ReadRPFHeaderExtra(s, nullptr));
    EXPECT_EQ(t.Hint, "say \"hi\"");
    s = "\"open";
    EXPECT_FALSE(t.ReadRPFHeaderExtra(s, nullptr));
    TRPRectItemInfo r(nullptr);
    r.VAlign = 3;
    s = "";
    EXPECT_TRUE(r.ReadRPFHeaderExtra(s, nullptr));
    EXPECT_EQ(r.VAlign, 0);
    s = " 1";
    EXPECT_TRUE(r.ReadRPFHeaderExtra(s, nullptr));
    EXPECT_EQ(r.VAlign, 1);
    s = "x";
    EXPECT_FALSE(r.ReadRPFHeaderExtra(s, nullptr));
    EXPECT_EQ(r.GetHTMLAlignAttribute(), " align=middle");
    TRPBreakItemInfo b(nullptr);
    s = "";
    EXPECT_TRUE(b.ReadRPFHeaderExtra(s, nullptr));
    std::string extra;
    b.GetRPFExtraText(nullptr, extra);
    EXPECT_EQ(extra, "536870911 0 1");
}

TEST(BreakItem, PlainTextAndQuestions) {
    TRPBreakItemInfo b(nullptr);
    b.LineWidth = 3;
    EXPECT_EQ(b.GetPlainText(10, nullptr, false, false, "", ""), "==========");
    b.LineWidth = 1;
    EXPECT_EQ(b.GetPlainText(10, nullptr, false, false, "", ""), "----------");
    EXPECT_EQ(b.GetPlainText(0, nullptr, false, false, "", ""), "-");
    EXPECT_TRUE(b.GetBoolValue(rpbivFullLine));
    EXPECT_FALSE(b.GetBoolValue(rpbivReadsRPFLines));
    EXPECT_FALSE(b.GetBoolValueEx(rpbivexPrintSliced, nullptr));
}

TEST(PictureItem, SizesAndSelfAssignment) {
    auto g = TRPGraphicItemInfo::CreateEx(nullptr, std::make_unique<TBitmap>(30, 40), 0);
    g->ImageHeight = 50;
    EXPECT_EQ(g->GetImageWidth(nullptr), 30);
    EXPECT_EQ(g->GetImageHeight(nullptr), 50);
    EXPECT_EQ(g->GetWidth(), 32);
    EXPECT_EQ(g->GetHeight(), 52);
    TRPResolution sad{96, 96, 192, 192, 0, 0};
    EXPECT_EQ(g->GetMinWidth(&sad, nullptr, nullptr), 64);
    EXPECT_TRUE(g->GetBoolValue(rpbivValid));
    EXPECT_TRUE(g->GetBoolValue(rpbivResizable));

    // A shift in percent of the height, rounded: 15% of 50 is 7.5.
    g->VShift = 15;
    EXPECT_EQ(g->GetVShiftCSS(50), "vertical-align: 8px");
    g->VShift = -15;
    EXPECT_EQ(g->GetVShiftCSS(50), "vertical-align: -8px");
    g->VShift = 0;

    TGraphic* before = g->Image.get();
    g->AssignItem(*g);
    EXPECT_EQ(g->Image.get(), before);
    EXPECT_EQ(g->ImageHeight, 50);

    TRPGraphicItemInfo empty(nullptr);
    g->AssignItem(empty);
    EXPECT_EQ(g->Image, nullptr);
    EXPECT_FALSE(g->GetBoolValue(rpbivValid));
    EXPECT_EQ(g->GetImageWidth(nullptr), 0);

    auto copy = CreateItemCopy(*TRPGraphicItemInfo::CreateEx(nullptr, std::make_unique<TBitmap>(5, 6), 1),
                               nullptr, false);
    ASSERT_NE(copy->GetGraphic(), nullptr);
    EXPECT_EQ(copy->GetGraphic()->Height(), 6);
}

TEST(PictureItem, SlicesOverPages) {
    auto g = TRPGraphicItemInfo::CreateEx(nullptr, std::make_unique<TBitmap>(10, 300), 0);
    g->MinHeightOnPage = 100;
    TRPResolution sad;
    auto d = g->CreatePrintingDrawItem(nullptr, sad);
    auto* multi = dynamic_cast<TRPMultiImagePrintInfo*>(d.get());
    ASSERT_NE(multi, nullptr);
    ASSERT_TRUE(multi->InitSplit());
    EXPECT_FALSE(multi->CanSplitFirst(50));
    EXPECT_FALSE(multi->CanSplitFirst(250));
    EXPECT_TRUE(multi->CanSplitFirst(150));
    EXPECT_TRUE(multi->CanSplitFirst(400));
    EXPECT_FALSE(multi->SplitAt(250));
    ASSERT_TRUE(multi->SplitAt(150));
    ASSERT_EQ(multi->PartsList.Count(), 2);
    EXPECT_EQ(multi->GetPart(0)->ImgHeight, 150);
    EXPECT_EQ(multi->GetPart(1)->ImgTop, 150);
    EXPECT_EQ(multi->GetPart(1)->ImgHeight, 150);
    EXPECT_EQ(multi->GetPart(1)->GetImageTop(), 150);

    TRPMultiImagePrintInfo none(g.get(), sad);
    try {
        none.SplitAt(10);
        FAIL();
    } catch (const ERichPadError& e) {
        EXPECT_STREQ(e.what(), "Internal printing error");
    }
    g->ImageHeight = 200; // a stretched picture is printed whole
    EXPECT_EQ(dynamic_cast<TRPMultiImagePrintInfo*>(g->CreatePrintingDrawItem(nullptr, sad).get()), nullptr);
}

TEST(ControlItem, PercentWidthAndPlacement) {
    TRPControlItemInfo c(nullptr);
    c.Control = std::make_unique<TControl>(nullptr);
    c.Control->SetBounds(0, 0, 80, 20);
    c.PercentWidth = 50;
    int descent = 0, offset = 7;
    c.AdjustToDocWidth(600, nullptr, false, nullptr, nullptr, nullptr, descent, offset, false);
    EXPECT_EQ(c.Control->Width(), 298);
    EXPECT_EQ(descent, 1);
    EXPECT_EQ(offset, 0);
    EXPECT_EQ(c.GetMinWidth(nullptr, nullptr, nullptr), 20);
    EXPECT_FALSE(c.GetBoolValue(rpbivResizable));
    c.PercentWidth = 0;
    c.Resizable = true;
    EXPECT_TRUE(c.GetBoolValue(rpbivResizable));
    EXPECT_EQ(c.GetMinWidth(nullptr, nullptr, nullptr), 300);
    c.Control->SetTag(99999);
    c.PlaceAt(10, 20, false);
    EXPECT_EQ(c.Control->Left(), 11);
    EXPECT_EQ(c.Control->Tag(), 21);
    EXPECT_TRUE(c.Control->Visible());
    c.PlaceAt(10, 20000, true);
    EXPECT_EQ(c.Control->Top(), 10000);
    EXPECT_TRUE(c.OwnsControl(c.Control.get()));
    EXPECT_FALSE(c.OwnsControl(nullptr));
}

TEST(ControlItem, DocumentFindsAndReportsControls) {
    TRPStyle style;
    TTestRPData doc(&style);
    auto c = std::make_unique<TRPControlItemInfo>(&doc);
    c->StyleNo = rpsnControl;
    c->Control = std::make_unique<TControl>(nullptr);
    TControl* ctl = c->Control.get();
    doc.AddText("a", 0, 0);
    doc.AddItem("knopf", std::move(c));
    EXPECT_EQ(doc.FindControlItemNo(ctl), 1);
    doc.DeleteItems(1, 1);
    ASSERT_EQ(doc.ControlActions.size(), 1u);
    EXPECT_EQ(doc.ControlActions[0], std::make_pair(rpcaDestroy, 1));
}

TEST(DrawLines, PendingRangeIsReusedAndPurged) {
    TRPDrawLines lines;
    for (int i = 0; i < 10; ++i)
        lines.Add(TRPDrawLineInfo::CreateEx(i, 0, 1, 1, i, false));
    lines.MarkDeleted(3, 5);
    EXPECT_EQ(lines.GetPiece(4), nullptr); // freed slots hold nothing
    for (int i = 3; i <= 5; ++i)
        lines.InsertPiece(i, TRPDrawLineInfo::CreateEx(100 + i, 0, 1, 1, i, true));
    lines.PurgeDeleted();
    EXPECT_EQ(lines.Count(), 10);
    EXPECT_EQ(lines.GetPiece(5)->Left, 105);

    lines.MarkDeleted(3, 5);
    lines.InsertPiece(3, TRPDrawLineInfo::CreateEx(7, 0, 1, 1, 3, true));
    lines.PurgeDeleted();
    ASSERT_EQ(lines.Count(), 8);
    EXPECT_EQ(lines.GetPiece(3)->Left, 7);
    EXPECT_EQ(lines.GetPiece(4)->Left, 6);

    lines.MarkDeleted(2, 2);
    lines.DeletePiece(1);
    EXPECT_EQ(lines.DeletedStart, 1);
    EXPECT_EQ(lines.DeletedCount, 2);
    lines.PurgeDeleted();
    EXPECT_EQ(lines.Count(), 6);
    EXPECT_EQ(lines.GetPiece(1)->Left, 7);
}

TEST(DrawLines, PieceTextsCountCharacters) {
    TRPStyle style;
    style.TextStyles().GetItem(1)->Unicode = true;
    TTestRPData doc(&style);
    doc.AddText("Hallo", 0, 0);
    doc.AddText(std::string("a\0b\0c\0d\0e\0f\0", 12), 1, 0);
    TRPDrawLines lines;
    auto d = TRPDrawLineInfo::CreateEx(0, 0, 1, 1, 1, true);
    d->Offs = 2;
    d->Length = 3;
    lines.Add(std::move(d));
    auto a = TRPDrawLineInfo::CreateEx(0, 0, 1, 1, 0, true);
    a->Offs = 1;
    a->Length = 5;
    lines.Add(std::move(a));
    std::string s;
    lines.GetPieceText(0, *doc.Items, s);
    EXPECT_EQ(s, std::string("b\0c\0d\0", 6));
    lines.GetPieceSubText(1, *doc.Items, s, 10, 4);
    EXPECT_EQ(s, "lo");
    TRPPageCollection pages;
    TRPPageInfo* p = pages.Add();
    p->StartDrawItemNo = 7;
    p->StartY = 5;
    p->StartPart = 2;
    p->StartY2 = 40;
    TRPPageInfo q;
    q.Assign(*p);
    // All four fields: a page starting inside a split picture keeps its part.
    EXPECT_EQ(q.StartDrawItemNo, 7);
    EXPECT_EQ(q.StartY, 5);
    EXPECT_EQ(q.StartPart, 2);
    EXPECT_EQ(q.StartY2, 40);
}

namespace {
struct TPaintSurface {
    QImage Img{30, 30, QImage::Format_RGB32};
    TCanvas Canvas{&Img};
    TPaintSurface() {
        Canvas.Brush()->SetColor(clWhite);
        Canvas.FillRect(Rect(0, 0, 30, 30));
    }
};
} // namespace

TEST(PictureItem, PaintsWithSelectionAndHoverMarks) {
    TRPStyle style;
    style.SelColor = clBlue;
    style.HoverColor = clLime;
    auto red = std::make_unique<TBitmap>(4, 4);
    red->Canvas()->Brush()->SetColor(clRed);
    red->Canvas()->FillRect(Rect(0, 0, 4, 4));
    auto g = TRPGraphicItemInfo::CreateEx(nullptr, std::move(red), 0);
    TPaintSurface s;
    g->Paint(2, 2, &s.Canvas, rptdsSelected | rptdsFocused | rptdsHover, &style, nullptr);
    EXPECT_EQ(s.Canvas.Pixel(2, 2), clBlue); // the item box, spacing included
    EXPECT_EQ(s.Canvas.Pixel(7, 7), clBlue);
    EXPECT_EQ(s.Canvas.Pixel(1, 1), clLime); // one pixel outside
    EXPECT_EQ(s.Canvas.Pixel(4, 4), clRed);  // the picture at (x + 1, y + 1)
    EXPECT_EQ(s.Canvas.Pixel(3, 3), clRed);
    style.InactiveSelColor = clNone;
    TPaintSurface t;
    g->Paint(2, 2, &t.Canvas, rptdsSelected, &style, nullptr);
    EXPECT_EQ(t.Canvas.Pixel(2, 2), clWhite); // no colour, no mark
}

TEST(BreakItem, PaintsTheRuleInsideTheMargins) {
    TRPStyle style;
    style.TextStyles().GetItem(0)->Color = clRed;
    TRPBreakItemInfo b(nullptr);
    TPaintSurface s;
    b.PaintFullWidth(0, 30, 0, &s.Canvas, 0, &style, TRPBounds{}, nullptr);
    EXPECT_EQ(s.Canvas.Pixel(5, 5), clRed);
    EXPECT_EQ(s.Canvas.Pixel(24, 5), clRed);
    EXPECT_EQ(s.Canvas.Pixel(4, 5), clWhite);
    EXPECT_EQ(s.Canvas.Pixel(25, 5), clWhite);
    EXPECT_EQ(s.Canvas.Pen()->Width(), 1);
    EXPECT_EQ(s.Canvas.Pen()->Style(), psSolid);
    b.Color = clBlue;
    b.Style = 2;
    b.LineWidth = 2;
    TPaintSurface t;
    b.PaintFullWidth(0, 30, 10, &t.Canvas, 0, &style, TRPBounds{}, nullptr);
    EXPECT_EQ(t.Canvas.Pixel(5, 14), ColorToRGB(clBtnShadow)); // top-left ring
}

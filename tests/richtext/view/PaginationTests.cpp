// Pagination at 600 dpi on fixed metrics: text style 0 is 15 pt, so a line is
// 125 device pixels high; A4 without unprintable border and margins of 20 mm
// (472 px) leave a print area of 6072 px, less the view's top and bottom
// margins of 5 screen pixels (31 px each): 6010 px of page, 48 lines.
#include "PrintTestDoc.h"
#include "platform/Pictures.h"
#include "richtext/model/RPItemNonText.h"

TEST_F(PrintTest, PageGeometryFromMillimetres) {
    AddLines(1);
    Print.AssignSource(&View);
    Print.FormatPages();
    const TPrintableRPData* d = Print.Data();
    EXPECT_EQ(d->Resolution.DeviceX, 600);
    EXPECT_EQ(d->Resolution.DeviceY, 600);
    EXPECT_EQ(d->LeftMarginDevice, 472);
    EXPECT_EQ(d->TopMarginDevicePage, 472);
    EXPECT_EQ(d->RightMarginDevice, 472);
    EXPECT_EQ(d->BottomMarginDevicePage, 472);
    EXPECT_EQ(d->TopMarginDevice, 31);
    EXPECT_EQ(d->BottomMarginDevice, 31);
    EXPECT_EQ(d->AreaWidthDevice, Printer()->PageWidth() - 944);
    EXPECT_EQ(d->AreaHeightDevice, Printer()->PageHeight() - 944);
    EXPECT_EQ(Print.GetPagesCount(), 1);
}

TEST_F(PrintTest, MarginsInsideTheUnprintableBorderBecomeZero) {
    Printer()->SetUnprintableMM(25, 25, 25, 25);
    AddLines(1);
    Print.SetLeftMarginMM(10);
    Print.SetRightMarginMM(30);
    Print.SetMirrorMargins(true);
    Print.AssignSource(&View);
    Print.FormatPages();
    const TPrintableRPData* d = Print.Data();
    // 10 mm lie inside the 25 mm the printer cannot reach.
    EXPECT_EQ(d->LeftMarginDevice, 0);
    EXPECT_EQ(d->TopMarginDevicePage, 0);
    // 30 mm are 5 mm (118 px) beyond it.
    EXPECT_EQ(d->RightMarginDevice,
              RPMillimetresToPixels(30, 600) -
                  (Printer()->PhysicalWidth() - (Printer()->PageWidth() + Printer()->PhysicalOffsetX())));
    EXPECT_EQ(d->EvenLeftMarginDevice, RPMillimetresToPixels(30, 600) - Printer()->PhysicalOffsetX());
    // Mirrored: odd pages keep the left margin, even pages take the right one.
    TPrintableRPData* m = Print.Data();
    EXPECT_EQ(m->GetPrintAreaLeft(1), 0);
    EXPECT_EQ(m->GetPrintAreaLeft(2), m->EvenLeftMarginDevice);
}

TEST_F(PrintTest, LinesFillPagesAndEventsComeInOrder) {
    AddLines(100);
    std::vector<std::pair<int, int>> events;
    Print.OnFormatting = [&](TCustomRichPad* Sender, int Page, TRPPrintingStep Step) {
        EXPECT_EQ(Sender, Print.PrintableRP());
        events.emplace_back(Page, Step);
    };
    Print.AssignSource(&View);
    Print.FormatPages();
    EXPECT_EQ(PageStarts(), (std::vector<int>{0, 48, 96}));
    EXPECT_EQ(PageStartYs(), (std::vector<int>{0, 6000, 12000}));
    EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{0, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}, {3, 2}}));
    // The view's own document is untouched by the printer's formatting.
    EXPECT_EQ(View.RPData()->DrawItemCount(), 0);
}

TEST_F(PrintTest, EmptyDocumentHasNoPagesAndOnlyTheFirstEvent) {
    std::vector<std::pair<int, int>> events;
    Print.OnFormatting = [&](TCustomRichPad*, int Page, TRPPrintingStep Step) {
        events.emplace_back(Page, Step);
    };
    Print.AssignSource(&View);
    Print.FormatPages();
    EXPECT_EQ(Print.GetPagesCount(), 0);
    EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{0, 0}}));
}

TEST_F(PrintTest, LongParagraphIsCutBetweenItsLines) {
    // One paragraph of 150 words "Wort" wraps into many lines of the same item.
    std::string text;
    for (int i = 0; i < 1500; ++i)
        text += "Wort ";
    View.AddText(text, 0, 0);
    Print.AssignSource(&View);
    Print.FormatPages();
    TPrintableRPData* d = Print.Data();
    ASSERT_GT(d->DrawItemCount(), 96);
    ASSERT_GE(Print.GetPagesCount(), 3);
    EXPECT_EQ(PageStarts()[1], 48);
    EXPECT_EQ(PageStarts()[2], 96);
    for (int i = 0; i < Print.GetPagesCount(); ++i) {
        const TRPPageInfo* p = d->Pages.GetItem(i);
        EXPECT_TRUE(d->DrawItem(p->StartDrawItemNo)->FromNewLine) << "page " << i + 1;
        EXPECT_EQ(p->StartY, d->DrawItem(p->StartDrawItemNo)->Top);
    }
}

TEST_F(PrintTest, PageBreakBeforeStartsANewPageUnlessAlreadyAtTheTop) {
    AddLines(3);
    View.RPData()->GetItem(1)->SetPageBreakBefore(true);
    AddLines(60, 4);
    // Falls at the top of page 3 by itself (48 lines after item 1): no extra page.
    View.RPData()->GetItem(49)->SetPageBreakBefore(true);
    Print.AssignSource(&View);
    Print.FormatPages();
    EXPECT_EQ(PageStarts(), (std::vector<int>{0, 1, 49}));
}

TEST_F(PrintTest, PictureThatDoesNotFitMovesToTheNextPage) {
    AddLines(40);
    // 300 screen pixels are 1875 device pixels: more than the 1010 left.
    View.AddPicture("bild", std::make_unique<TBitmap>(50, 300), 0, 0);
    AddLines(2, 41);
    Print.AssignSource(&View);
    Print.FormatPages();
    EXPECT_EQ(PageStarts(), (std::vector<int>{0, 40}));
}

TEST_F(PrintTest, LineTallerThanThePageStaysAloneOnItsPage) {
    AddLines(2);
    // 1200 screen pixels are 7500 device pixels, more than a page.
    View.AddPicture("riesig", std::make_unique<TBitmap>(50, 1200), 0, 0);
    AddLines(1, 3);
    std::vector<std::pair<int, int>> events;
    Print.OnFormatting = [&](TCustomRichPad*, int Page, TRPPrintingStep Step) {
        events.emplace_back(Page, Step);
    };
    Print.AssignSource(&View);
    Print.FormatPages();
    EXPECT_EQ(PageStarts(), (std::vector<int>{0, 2, 3}));

    // When the tall line is the last one, no page follows it and no last
    // page-done notification comes.
    View.Clear();
    AddLines(2);
    View.AddPicture("riesig", std::make_unique<TBitmap>(50, 1200), 0, 0);
    events.clear();
    Print.AssignSource(&View);
    Print.FormatPages();
    EXPECT_EQ(PageStarts(), (std::vector<int>{0, 2}));
    EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{0, 0}, {0, 1}, {1, 1}, {2, 2}}));
}

namespace {

class SlicedPictureTest : public PrintTest {
protected:
    // 40 lines, a picture of 1200 rows that may be sliced (at least 20 rows a
    // slice) as item 40, then one more line.
    TPrintableRPData* PaginateSlicedPicture() {
        AddLines(40);
        View.AddPicture("lang", std::make_unique<TBitmap>(50, 1200), 0, 0);
        View.SetItemExtraIntProperty(40, rpeipMinHeightOnPage, 20);
        AddLines(1, 41);
        Print.AssignSource(&View);
        Print.FormatPages();
        return Print.Data();
    }
};

} // namespace

TEST_F(SlicedPictureTest, PictureSplitsOverPages) {
    TPrintableRPData* d = PaginateSlicedPicture();
    // Page 1 holds the first slice, the next pages continue inside the picture.
    ASSERT_GE(Print.GetPagesCount(), 3);
    EXPECT_EQ(PageStarts()[0], 0);
    EXPECT_EQ(PageStarts()[1], 40);
    EXPECT_EQ(d->Pages.GetItem(1)->StartPart, 2);
    // The slices cover the picture's 1200 rows once, each at most a page high.
    auto* multi = dynamic_cast<TRPMultiImagePrintInfo*>(d->DrawItem(40));
    ASSERT_NE(multi, nullptr);
    int rows = 0;
    for (int i = 0; i < multi->PartsList.Count(); ++i) {
        EXPECT_EQ(multi->GetPart(i)->ImgTop, rows);
        rows += multi->GetPart(i)->ImgHeight;
        // Slices are cut at whole screen rows: up to one row (7 px) of rounding.
        EXPECT_LE(multi->GetPart(i)->Height, 6010 + 7);
    }
    EXPECT_EQ(rows, 1200);
    // The last slice shares its page with the line that follows.
    EXPECT_EQ(multi->PartsList.Count(), Print.GetPagesCount());
    EXPECT_EQ(d->Pages.GetItem(2)->StartPart, 3);
    // Page 1's draw range ends with the picture's first slice.
    int start = 0, part = 0, end = 0;
    d->GetDrawItemsRange(1, start, part, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(part, -1);
    EXPECT_EQ(end, 40);
}

TEST_F(SlicedPictureTest, PageStartingInsideThePictureDrawsItsSliceAtTheTop) {
    TPrintableRPData* d = PaginateSlicedPicture();
    ASSERT_EQ(Print.GetPagesCount(), 3);
    auto* pic = dynamic_cast<TRPMultiImagePrintInfo*>(d->DrawItem(40));
    ASSERT_NE(pic, nullptr);
    // Texts drawn on page 3: where the line after the picture lands.
    std::vector<std::pair<std::string, int>> drawn;
    Style->OnDrawStyleText = [&](TRPStyle*, const std::string& s, TCanvas*, int, int, int, int Top, int, int,
                                 TRPTextDrawStates, bool&) { drawn.emplace_back(s, Top); };
    TCanvas nowhere;
    Print.PrintableRP()->DrawPage(3, nowhere, false, false);
    Style->OnDrawStyleText = nullptr;
    // The third slice fills the print area from its top (472 + the view's 31);
    // the line follows right below it.
    const int sliceBottom = 472 + 31 + pic->GetPart(2)->Height;
    const TRPDrawLineInfo* line = d->DrawItem(41);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].first, "Zeile 41");
    EXPECT_EQ(drawn[0].second, sliceBottom + line->Top - (pic->Top + pic->Height));
    EXPECT_EQ(d->GetPageOriginY(3), -503);
}

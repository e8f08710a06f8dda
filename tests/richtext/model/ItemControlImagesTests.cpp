#include <gtest/gtest.h>

#include "DataTestsDoc.h"
#include "platform/ControlsStd.h"
#include "platform/Forms.h"
#include "platform/Pictures.h"
#include "richtext/model/RPControlImages.h"
#include "richtext/model/RPItemNonText.h"

namespace {

bool AllWhite(TBitmap& b) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Canvas()->Pixel(x, y) != clWhite) return false;
    return true;
}

} // namespace

TEST(ControlImages, ControlsWithoutWindowDrawNothing) {
    TLabel label(nullptr);
    label.SetCaption("Hallo"); // before the size: an auto-sized label takes its text's size
    label.SetBounds(0, 0, 30, 12);
    std::unique_ptr<TBitmap> b = GetControlImage(&label);
    EXPECT_EQ(b->Width(), 30);
    EXPECT_EQ(b->Height(), 12);
    EXPECT_TRUE(AllWhite(*b));
}

TEST(ControlImages, EditFrameWithoutBorderShrinksByOne) {
    TBitmap b(10, 8);
    TRect r = Rect(0, 0, 10, 8);
    DrawEditFrame(*b.Canvas(), r, clLime, false, false);
    EXPECT_EQ(r, Rect(1, 1, 9, 7));
    EXPECT_EQ(b.Canvas()->Pixel(0, 0), clLime);
    EXPECT_EQ(b.Canvas()->Pixel(9, 7), clLime);
    r = Rect(0, 0, 10, 8);
    DrawEditFrame(*b.Canvas(), r, clLime, true, false);
    EXPECT_EQ(r, Rect(2, 2, 8, 6));
    r = Rect(0, 0, 10, 8);
    DrawEditFrame(*b.Canvas(), r, clYellow, true, true);
    EXPECT_EQ(r, Rect(3, 3, 7, 5));
    EXPECT_EQ(b.Canvas()->Pixel(0, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(b.Canvas()->Pixel(3, 3), clYellow);
}

TEST(ControlImages, PanelsDrawTheirChildrenWithOffsetsAddedUp) {
    TPanel outer(nullptr);
    outer.SetBounds(0, 0, 60, 40);
    auto* inner = new TPanel(&outer);
    inner->SetParent(&outer);
    inner->SetBounds(10, 5, 40, 30);
    auto* edit = new TEdit(&outer);
    edit->SetParent(inner);
    edit->SetBounds(6, 4, 20, 12);
    edit->SetColor(clLime);
    auto* label = new TLabel(&outer);
    label->SetParent(inner);
    label->SetBounds(0, 20, 10, 5);
    std::unique_ptr<TBitmap> b = GetControlImage(&outer);
    EXPECT_EQ(b->Width(), 60);
    // The edit's text area starts 3 pixels inside its box at (16, 9).
    EXPECT_EQ(b->Canvas()->Pixel(10 + 6 + 3, 5 + 4 + 3), clLime);
    EXPECT_EQ(b->Canvas()->Pixel(10 + 6, 5 + 4), ColorToRGB(clBtnShadow));
}

TEST(ControlImages, ButtonsArePushButtonsWithTheirCaption) {
    TButton button(nullptr);
    button.SetBounds(0, 0, 40, 20);
    std::unique_ptr<TBitmap> b = GetControlImage(&button);
    EXPECT_EQ(b->Canvas()->Pixel(0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(b->Canvas()->Pixel(39, 19), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(b->Canvas()->Pixel(20, 10), ColorToRGB(clBtnFace));
}

TEST(ControlImages, ControlItemPrintsThroughTheImageMaker) {
    TRPControlItemInfo item(nullptr);
    item.StyleNo = rpsnControl;
    auto edit = std::make_unique<TEdit>(nullptr);
    edit->SetBounds(0, 0, 20, 10);
    edit->SetColor(clLime);
    item.Control = std::move(edit);
    TBitmap b(30, 20);
    ASSERT_TRUE(item.PrintToBitmap(&b, false, nullptr, rpcmColor, -1, nullptr));
    // Centred in the larger bitmap.
    EXPECT_EQ(b.Canvas()->Pixel(5 + 3, 5 + 3), clLime);
    EXPECT_EQ(b.Canvas()->Pixel(1, 1), clWhite);
}

namespace {
class TPrintingDoc : public TTestRPData {
public:
    std::unique_ptr<TBitmap> GetControlImageForPrinting(TControl* Control) override {
        auto b = std::make_unique<TBitmap>(Control->Width(), Control->Height());
        b->Canvas()->Brush()->SetColor(clBlue);
        b->Canvas()->FillRect(Rect(0, 0, b->Width(), b->Height()));
        return b;
    }
};
} // namespace

TEST(ControlImages, PrintingDocumentMaySupplyThePicture) {
    TPrintingDoc doc;
    TRPControlItemInfo item(&doc);
    item.Control = std::make_unique<TEdit>(nullptr);
    item.Control->SetBounds(0, 0, 4, 4);
    item.MinHeightOnPage = 2; // drawn at the top, not centred
    TBitmap b(8, 8);
    ASSERT_TRUE(item.PrintToBitmap(&b, false, &doc, rpcmColor, -1, nullptr));
    EXPECT_EQ(b.Canvas()->Pixel(0, 0), clBlue);
    EXPECT_EQ(b.Canvas()->Pixel(5, 5), clWhite);
}

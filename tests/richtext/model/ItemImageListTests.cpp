#include <gtest/gtest.h>

#include <QImage>

#include "DataTestsDoc.h"
#include "platform/Graphics.h"
#include "platform/ImageList.h"
#include "platform/Pictures.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"

namespace {

// An image list of 4 x 3 pictures: red, lime, blue.
struct TColouredList {
    TCustomImageList List{nullptr};
    TColouredList() {
        List.SetSize(4, 3);
        TBitmap strip(12, 3);
        const TColor colours[] = {clRed, clLime, clBlue};
        for (int i = 0; i < 3; ++i) {
            strip.Canvas()->Brush()->SetColor(colours[i]);
            strip.Canvas()->FillRect(Rect(i * 4, 0, i * 4 + 4, 3));
        }
        List.AddMasked(&strip, clFuchsia);
    }
};

struct TSurface {
    QImage Img{30, 30, QImage::Format_RGB32};
    TCanvas Canvas{&Img};
    TSurface() {
        Canvas.Brush()->SetColor(clWhite);
        Canvas.FillRect(Rect(0, 0, 30, 30));
    }
};

} // namespace

TEST(BulletItem, MeasuresByItsImageList) {
    TColouredList il;
    ASSERT_EQ(il.List.Count(), 3);
    TRPBulletItemInfo b(nullptr);
    EXPECT_EQ(b.GetImageWidth(nullptr), 0); // no list yet
    EXPECT_EQ(b.GetWidth(), 2);
    EXPECT_FALSE(b.GetBoolValue(rpbivValid));
    b.ImageList = &il.List;
    b.Spacing = 2;
    EXPECT_TRUE(b.GetBoolValue(rpbivValid));
    EXPECT_EQ(b.GetImageWidth(nullptr), 4);
    EXPECT_EQ(b.GetImageHeight(nullptr), 3);
    EXPECT_EQ(b.GetWidth(), 8);
    EXPECT_EQ(b.GetHeight(), 7);
    EXPECT_EQ(b.GetMinWidth(nullptr, nullptr, nullptr), 8);
    TRPResolution sad{96, 96, 288, 288, 0, 0};
    EXPECT_EQ(b.GetMinWidth(&sad, nullptr, nullptr), 24);
}

TEST(BulletItem, PaintsItsImageBlendedWhenSelectedAndFramedOnHover) {
    TColouredList il;
    TRPStyle style;
    style.SelColor = clBlue;
    style.InactiveSelColor = clNone;
    style.HoverColor = clBlack;
    TRPBulletItemInfo b(nullptr);
    b.ImageList = &il.List;
    b.ImageIndex = 0;

    TSurface plain;
    b.Paint(2, 2, &plain.Canvas, 0, &style, nullptr);
    EXPECT_EQ(plain.Canvas.Pixel(3, 3), clRed); // at (x + Spacing, y + Spacing)
    EXPECT_EQ(plain.Canvas.Pixel(6, 5), clRed);
    EXPECT_EQ(plain.Canvas.Pixel(7, 3), clWhite);
    EXPECT_EQ(plain.Canvas.Pixel(2, 2), clWhite);

    TSurface selected;
    b.Paint(2, 2, &selected.Canvas, rptdsSelected | rptdsFocused, &style, nullptr);
    EXPECT_EQ(selected.Canvas.Pixel(3, 3), RGB(127, 0, 127)); // half red, half blue
    EXPECT_EQ(selected.Canvas.Pixel(2, 2), clWhite);          // no selection frame

    // Without the focus the inactive colour is none: no blend at all.
    TSurface inactive;
    b.Paint(2, 2, &inactive.Canvas, rptdsSelected, &style, nullptr);
    EXPECT_EQ(inactive.Canvas.Pixel(3, 3), clRed);

    TSurface hover;
    b.Paint(2, 2, &hover.Canvas, rptdsHover, &style, nullptr);
    EXPECT_EQ(hover.Canvas.Pixel(2, 2), clBlack); // frame on the item box itself
    EXPECT_EQ(hover.Canvas.Pixel(7, 6), clBlack);
    EXPECT_EQ(hover.Canvas.Pixel(1, 1), clWhite);
    EXPECT_EQ(hover.Canvas.Pixel(4, 4), clRed); // the frame does not cover the image
}

TEST(BulletItem, HotspotShowsItsHotImageOnlyWhenHotAndPrintsTheNormalOne) {
    TColouredList il;
    TRPHotspotItemInfo h(nullptr);
    h.ImageList = &il.List;
    h.ImageIndex = 0;
    h.HotImageIndex = 2;
    TSurface hot;
    h.Paint(0, 0, &hot.Canvas, rptdsHotLink, nullptr, nullptr);
    EXPECT_EQ(hot.Canvas.Pixel(1, 1), clBlue);
    TSurface cold;
    h.Paint(0, 0, &cold.Canvas, 0, nullptr, nullptr);
    EXPECT_EQ(cold.Canvas.Pixel(1, 1), clRed);

    TBitmap out(6, 6);
    out.Canvas()->Brush()->SetColor(clWhite);
    out.Canvas()->FillRect(Rect(0, 0, 6, 6));
    EXPECT_TRUE(h.PrintToBitmap(&out, false, nullptr, rpcmColor, -1, nullptr));
    EXPECT_EQ(out.Canvas()->Pixel(0, 0), clRed); // at (0, 0), no spacing
    EXPECT_EQ(out.Canvas()->Pixel(3, 2), clRed);
    EXPECT_EQ(out.Canvas()->Pixel(4, 0), clWhite);

    // An index outside the list draws nothing.
    h.HotImageIndex = 7;
    TSurface none;
    h.Paint(0, 0, &none.Canvas, rptdsHotLink, nullptr, nullptr);
    EXPECT_EQ(none.Canvas.Pixel(1, 1), clWhite);
}

namespace {

class ImageListMarkerTest : public ::testing::Test {
protected:
    ImageListMarkerTest() {
        TRPListInfo* l = Style.ListStyles().Add();
        Lv = l->Levels.Add();
        Lv->ListType = rplstImageListCounter;
        Lv->ImageList = &Images.List;
        Lv->MarkerAlignment = rpmaLeft;
    }
    TRPMarkerItemInfo* AddMarker() {
        auto m = TRPMarkerItemInfo::CreateEx(&Doc, 0, 0, 0, false);
        TRPMarkerItemInfo* p = m.get();
        Doc.AddItem("", std::move(m));
        Doc.AddMarkerInList(Doc.GetItemCount() - 1);
        Doc.AddText("x", 0, -1);
        return p;
    }
    TColor DrawnAt(TRPMarkerItemInfo* m) {
        TBitmap out(6, 6);
        out.Canvas()->Brush()->SetColor(clWhite);
        out.Canvas()->FillRect(Rect(0, 0, 6, 6));
        EXPECT_TRUE(m->PrintToBitmap(&out, false, &Doc, rpcmColor, -1, nullptr));
        return out.Canvas()->Pixel(1, 1);
    }

    TColouredList Images;
    TRPStyle Style;
    TTestRPData Doc{&Style};
    TRPListLevel* Lv = nullptr;
};

} // namespace

TEST_F(ImageListMarkerTest, CounterPicksTheImageAndRunsOutQuietly) {
    TRPMarkerItemInfo* m1 = AddMarker();
    TRPMarkerItemInfo* m2 = AddMarker();
    TRPMarkerItemInfo* m3 = AddMarker();
    TRPMarkerItemInfo* m4 = AddMarker();
    EXPECT_EQ(m4->Counter, 4);
    EXPECT_EQ(DrawnAt(m1), clRed);
    EXPECT_EQ(DrawnAt(m2), clLime);
    EXPECT_EQ(DrawnAt(m3), clBlue);
    EXPECT_EQ(DrawnAt(m4), clWhite); // image 3 does not exist
    Lv->ImageIndex = 1;
    EXPECT_EQ(DrawnAt(m1), clLime);
    m1->Counter = 2147483647; // no overflow of the index
    EXPECT_EQ(DrawnAt(m1), clWhite);
    EXPECT_EQ(m1->GetPlainText(0, &Doc, false, false, "", ""), "* ");
}

TEST_F(ImageListMarkerTest, RTFTakesTheImageTheDrawingShows) {
    TRPMarkerItemInfo* m = AddMarker();
    const auto pictures = [&] {
        std::string rtf;
        EXPECT_TRUE(Doc.SaveRTFToStream(rtf, false, 0, clWhite, nullptr, nullptr, 0));
        int n = 0;
        for (size_t at = rtf.find("{\\pict"); at != std::string::npos; at = rtf.find("{\\pict", at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(pictures(), 1);
    // An index and a counter read from a file that add up past the range of
    // int pick no image, on paper, on the screen and in RTF alike.
    Lv->ImageIndex = 2147483647;
    m->Counter = 2;
    EXPECT_EQ(DrawnAt(m), clWhite);
    EXPECT_EQ(pictures(), 0);
    Lv->ImageIndex = -2147483647 - 1;
    m->Counter = 0;
    EXPECT_EQ(pictures(), 0);
    Lv->ImageIndex = -1;
    m->Counter = 3;
    EXPECT_EQ(DrawnAt(m), clLime);
    EXPECT_EQ(pictures(), 1);
}

TEST_F(ImageListMarkerTest, PlainImageListLevelShowsOneImageAndMeasuresByTheList) {
    Lv->ListType = rplstImageList;
    Lv->ImageIndex = 2;
    Lv->FirstIndent = 1;
    TRPMarkerItemInfo* m1 = AddMarker();
    TRPMarkerItemInfo* m2 = AddMarker();
    EXPECT_EQ(DrawnAt(m1), clBlue);
    EXPECT_EQ(DrawnAt(m2), clBlue);
    EXPECT_EQ(m1->GetImageWidth(&Style), 4);
    EXPECT_EQ(m1->GetImageHeight(&Style), 3);
    EXPECT_TRUE(m1->GetBoolValueEx(rpbivexPrintSliced, &Style));
    int descent = -1, offset = -1;
    m1->AdjustToDocWidth(100, nullptr, false, nullptr, &Doc, nullptr, descent, offset, false);
    EXPECT_EQ(m1->GetWidth(), 4);
    EXPECT_EQ(m1->GetHeight(), 3);
    EXPECT_EQ(descent, 0);
    TRPResolution sad{96, 96, 192, 192, 0, 0};
    EXPECT_EQ(m1->GetMinWidth(&sad, nullptr, &Doc), 8);

    // Without an image list the level measures and draws nothing.
    Lv->ImageList = nullptr;
    EXPECT_EQ(m1->GetImageWidth(&Style), 0);
    EXPECT_EQ(DrawnAt(m1), clWhite);
}

TEST(MarkerListLookup, IndexOfStaysExactAfterInsertsDeletesAndOtherLists) {
    std::vector<std::unique_ptr<TRPMarkerItemInfo>> ms;
    for (int i = 0; i < 6; ++i)
        ms.push_back(TRPMarkerItemInfo::CreateEx(nullptr, 0, 0, 0, false));
    TRPMarkerList a, b;
    for (int i = 0; i < 4; ++i)
        a.Insert(a.Count(), ms[static_cast<size_t>(i)].get());
    EXPECT_EQ(a.IndexOf(ms[4].get()), -1);
    EXPECT_EQ(a.IndexOf(nullptr), -1);
    // Two insertions in front shift every cached place by two.
    a.Insert(0, ms[4].get());
    a.Insert(0, ms[5].get());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(a.IndexOf(ms[static_cast<size_t>(i)].get()), i + 2);
    // The same marker in a second list keeps both answers right.
    b.Insert(0, ms[3].get());
    EXPECT_EQ(b.IndexOf(ms[3].get()), 0);
    EXPECT_EQ(a.IndexOf(ms[3].get()), 5);
    EXPECT_EQ(b.IndexOf(ms[2].get()), -1);
    a.Delete(1);
    EXPECT_EQ(a.IndexOf(ms[4].get()), -1);
    EXPECT_EQ(a.IndexOf(ms[0].get()), 1);
    EXPECT_EQ(a.IndexOf(ms[3].get()), 4);
    EXPECT_EQ(b.IndexOf(ms[3].get()), 0);
    a.InsertAfter(ms[4].get(), ms[1].get());
    EXPECT_EQ(a.IndexOf(ms[4].get()), 3);
    EXPECT_EQ(a.IndexOf(ms[2].get()), 4);
    a.Clear();
    EXPECT_EQ(a.IndexOf(ms[0].get()), -1);
    EXPECT_EQ(b.IndexOf(ms[3].get()), 0);
}

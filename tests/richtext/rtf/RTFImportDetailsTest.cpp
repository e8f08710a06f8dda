// Importer details that files of other programs rely on: border gaps and colours.
#include "RTFImportDoc.h"

#include <gtest/gtest.h>

namespace {

void AddIfNeeded(TImportDoc& doc) {
    doc.Props.TextStyleMode = rprsAddIfNeeded;
    doc.Props.ParaStyleMode = rprsAddIfNeeded;
}

const TParaInfo& ParaOf(const TImportDoc& doc, int item) {
    return *doc.Style.ParaStyles().GetItem(doc.GetItemPara(item));
}

// Four sides of a 20-twip (1 px) single line with the given gaps in twips.
std::string Box(int left, int top, int right, int bottom) {
    auto side = [](const char* s, int gap) {
        return std::string("\\brdr") + s + "\\brdrs\\brdrw20\\brsp" + std::to_string(gap) + "\\brdrcf1";
    };
    return side("l", left) + side("t", top) + side("r", right) + side("b", bottom);
}

} // namespace

TEST(RTFImportDetails, BorderGapLiesBetweenTextAndFrame) {
    TImportDoc doc;
    AddIfNeeded(doc);
    const int before = doc.Style.ParaStyles().Count();
    ASSERT_EQ(0, doc.Import("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red255\\green255\\blue0;}"
                            "\\pard\\li240\\sb60" +
                            Box(40, 80, 0, 160) + "\\cbpat2 a\\par\\pard\\li240\\sb60" + Box(40, 80, 0, 160) +
                            "\\cbpat2 b\\par\\pard\\li240\\sb60" + Box(80, 80, 80, 80) +
                            "\\cbpat2 c\\par"
                            // a gap on a side without a line moves nothing
                            "\\pard\\brdrt\\brdrs\\brdrw20\\brsp80\\brdrl\\brsp200 d\\par}"));
    EXPECT_EQ("a\nb\nc\nd", doc.PlainText());
    const TParaInfo& a = ParaOf(doc, 0);
    // 40, 80, 0 and 160 twips are 3, 5, 0 and 11 px; the line is 1 px.
    EXPECT_EQ(3, a.Border.BorderOffsets.Left);
    EXPECT_EQ(5, a.Border.BorderOffsets.Top);
    EXPECT_EQ(0, a.Border.BorderOffsets.Right);
    EXPECT_EQ(11, a.Border.BorderOffsets.Bottom);
    EXPECT_TRUE(a.Background.BorderOffsets.IsEqual(a.Border.BorderOffsets));
    EXPECT_EQ(16 + 1 + 3, a.LeftIndent);
    EXPECT_EQ(4 + 1 + 5, a.SpaceBefore);
    EXPECT_EQ(0 + 1 + 0, a.RightIndent);
    EXPECT_EQ(0 + 1 + 11, a.SpaceAfter);
    EXPECT_EQ(clRed, a.Border.Color);
    // Equal gaps share a style, other gaps get their own.
    EXPECT_EQ(doc.GetItemPara(0), doc.GetItemPara(1));
    EXPECT_NE(doc.GetItemPara(0), doc.GetItemPara(2));
    const TParaInfo& c = ParaOf(doc, 2);
    EXPECT_EQ(5, c.Border.BorderOffsets.Left);
    EXPECT_EQ(5, c.Border.BorderOffsets.Right);
    EXPECT_EQ(6, c.RightIndent);
    const TParaInfo& d = ParaOf(doc, 3);
    EXPECT_EQ(0, d.Border.BorderOffsets.Left);
    EXPECT_EQ(5, d.Border.BorderOffsets.Top);
    EXPECT_EQ(1, d.LeftIndent);
    EXPECT_EQ(6, d.SpaceBefore);
    EXPECT_EQ(before + 3, doc.Style.ParaStyles().Count());
    // A second import finds the styles again.
    ASSERT_EQ(0, doc.Import("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red255\\green255\\blue0;}"
                            "\\pard\\li240\\sb60" +
                            Box(80, 80, 80, 80) + "\\cbpat2 c\\par}"));
    EXPECT_EQ(before + 3, doc.Style.ParaStyles().Count());
}

TEST(RTFImportDetails, ClosestStyleWeighsTheBorderGap) {
    TImportDoc doc;
    for (int gap : {0, 5}) {
        TParaInfo* p = doc.Style.ParaStyles().Add();
        p->Border.Style = rpbSingle;
        p->Border.Width = 1;
        p->Border.Color = clWindowText;
        p->Border.VisibleBorders.SetAll(true);
        p->Border.BorderOffsets.SetAll(gap);
        p->Background.BorderOffsets.SetAll(gap);
        p->LeftIndent = p->RightIndent = p->SpaceBefore = p->SpaceAfter = 1 + gap;
    }
    const int tight = doc.Style.ParaStyles().Count() - 2;
    ASSERT_EQ(0, doc.Import("{\\rtf1\\pard" + Box(80, 80, 80, 80) + " x\\par\\pard" + Box(0, 0, 0, 0) + " y}"));
    EXPECT_EQ(tight + 1, doc.GetItemPara(0));
    EXPECT_EQ(tight, doc.GetItemPara(1));
}

TEST(RTFImportDetails, BorderWithoutColourIsAutomatic) {
    TImportDoc doc;
    AddIfNeeded(doc);
    ASSERT_EQ(0, doc.Import("{\\rtf1{\\colortbl;\\red0\\green0\\blue255;}\\pard\\box\\brdrs\\brdrw20 a\\par"
                            "\\pard\\brdrb\\brdrs\\brdrw20\\brdrcf1 b\\par}"));
    EXPECT_EQ(clWindowText, ParaOf(doc, 0).Border.Color);
    EXPECT_EQ(clBlue, ParaOf(doc, 1).Border.Color);
}

// Importer details that files of other programs rely on: border gaps and
// colours, list starts, escaped field targets, \u fallbacks and NUL bytes.
#include "RTFImportDoc.h"
#include "richtext/model/RPMarkers.h"

#include <gtest/gtest.h>

namespace {

void AddIfNeeded(TImportDoc& doc) {
    doc.Props.TextStyleMode = rprsAddIfNeeded;
    doc.Props.ParaStyleMode = rprsAddIfNeeded;
}

const TParaInfo& ParaOf(const TImportDoc& doc, int item) {
    return *doc.Style.ParaStyles().GetItem(doc.GetItemPara(item));
}

std::vector<int> Counters(TImportDoc& doc) {
    doc.GetMarkers(false)->RecalcCounters(0, &doc.Style);
    std::vector<int> out;
    for (int i = 0; i < doc.GetItemCount(); ++i)
        if (auto* m = dynamic_cast<TRPMarkerItemInfo*>(doc.GetItem(i))) out.push_back(m->Counter);
    return out;
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

TEST(RTFImportDetails, ListStartsAndRestarts) {
    TImportDoc doc;
    AddIfNeeded(doc);
    const int before = doc.Style.ListStyles().Count();
    // ls1 counts from the level's default start, ls2 restarts the same list at 5
    // once: the paragraphs after its first go on counting.
    ASSERT_EQ(0, doc.Import("{\\rtf1{\\*\\listtable{\\list\\listid1{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}"
                            "{\\levelnumbers\\'01;}\\li720\\fi-360}}}"
                            "{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}"
                            "{\\listoverride\\listid1\\listoverridecount1{\\lfolevel\\listoverridestartat"
                            "\\levelstartat5}\\ls2}}"
                            "\\pard\\ls1 a\\par b\\par\\pard\\ls2 c\\par d\\par e\\par}"));
    EXPECT_EQ("*a\n*b\n*c\n*d\n*e", doc.PlainText());
    ASSERT_EQ(before + 1, doc.Style.ListStyles().Count());
    EXPECT_EQ(1, doc.Style.ListStyles().Items(before)->Levels.Items(0)->StartFrom);
    EXPECT_EQ((std::vector<int>{1, 2, 5, 6, 7}), Counters(doc));
}

TEST(RTFImportDetails, EscapedQuotesInFieldTargets) {
    TImportDoc doc;
    AddIfNeeded(doc);
    // In the instruction: HYPERLINK "a\"b c.htm" \o "say \"hi\""
    ASSERT_EQ(0, doc.Import("{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"a\\\\\"b c.htm\" \\\\o \"say \\\\\"hi\\\\\"\"}"
                            "{\\fldrslt link}}}"));
    ASSERT_EQ(1u, doc.Links.size());
    EXPECT_EQ("a\"b c.htm|link|" + std::to_string(doc.GetItemStyle(0)), doc.Links[0]);
    EXPECT_EQ("say \"hi\"", doc.GetItem(0)->Hint);
    EXPECT_EQ("x\"y", RPRTF::FieldArgument("INCLUDEPICTURE \"x\\\"y\" \\d"));
    EXPECT_EQ("c:\\p", RPRTF::FieldArgument("INCLUDEPICTURE c:\\\\p"));
}

TEST(RTFImportDetails, EscapedCharactersFillTheUnicodeFallback) {
    TImportDoc doc;
    AddIfNeeded(doc);
    ASSERT_EQ(0, doc.Import("{\\rtf1\\uc1 a\\u8364\\\\b\\uc3\\u8364\\{\\}\\\\c\\uc2\\u8364\\'80\\}d}"));
    EXPECT_EQ("a\xE2\x82\xAC"
              "b\xE2\x82\xAC"
              "c\xE2\x82\xAC"
              "d",
              doc.PlainText());
}

TEST(RTFImportDetails, NulBytesAreLeftOut) {
    TImportDoc doc;
    AddIfNeeded(doc);
    const std::string nul(1, '\0');
    ASSERT_EQ(0, doc.Import("{\\rtf1{\\fonttbl{\\f0 Ar" + nul + "ial;}}\\f0 {\\field{\\*\\fldinst HYPERLINK \"x" + nul +
                            ".htm\"}{\\fldrslt li" + nul + "nk}} a\\u8364" + nul + "?b" + nul + "c}"));
    EXPECT_EQ("link a\xE2\x82\xAC"
              "bc",
              doc.PlainText());
    ASSERT_EQ(1u, doc.Links.size());
    EXPECT_EQ("x.htm|link|" + std::to_string(doc.GetItemStyle(0)), doc.Links[0]);
    EXPECT_EQ("Arial", doc.Style.TextStyles().GetItem(doc.GetItemStyle(0))->FontName);
}

TEST(RTFImportDetails, MacRomanFonts) {
    // Mac Roman \'8a is "ä" and \'a5 a bullet, also when the text stays in bytes.
    for (TRPReaderUnicode mode : {rpruNoUnicode, rpruOnlyUnicode}) {
        TImportDoc doc;
        AddIfNeeded(doc);
        doc.Props.UnicodeMode = mode;
        ASSERT_EQ(0, doc.Import("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset77 Times;}}\\f0 \\'8a\\'a5}"));
        EXPECT_EQ("\xC3\xA4\xE2\x80\xA2", doc.PlainText());
        EXPECT_EQ(10000, doc.GetStyleCodePage(doc.GetItemStyle(0)));
    }
}

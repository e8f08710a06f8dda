#include <gtest/gtest.h>

#include "richtext/model/RPStyle.h"

namespace {

TEST(StyleFallback, BadIndexGivesOneVisibleFallback) {
    TRPStyle rs;
    TFontInfos& ts = rs.TextStyles();
    ts.GetItem(0)->Size = 14;
    TFontInfo* a = ts.GetItem(-1);
    TFontInfo* b = ts.GetItem(ts.Count());
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->Color, clWhite);
    EXPECT_EQ(a->BackColor, clRed);
    EXPECT_EQ(a->Size, 14);
    EXPECT_EQ(a->StyleName, "Normal text");

    TFontInfos empty;
    TFontInfo* f = empty.GetItem(0);
    EXPECT_EQ(f->FontName, "Arial");
    EXPECT_EQ(f->Size, 10);
    EXPECT_EQ(f->Color, clWhite);
    EXPECT_EQ(f->BackColor, clRed);
}

TEST(StyleFallback, ParagraphFallbackHasRedBorder) {
    TParaInfos ps;
    ps.Add()->FirstIndent = 7;
    TParaInfo* p = ps.GetItem(5);
    EXPECT_EQ(p->FirstIndent, 7);
    EXPECT_EQ(p->LeftIndent, 1);
    EXPECT_EQ(p->RightIndent, 1);
    EXPECT_EQ(p->SpaceBefore, 1);
    EXPECT_EQ(p->SpaceAfter, 1);
    EXPECT_EQ(p->Border.Color, clRed);
    EXPECT_EQ(p->Border.Style, rpbSingle);
    EXPECT_EQ(p->Border.Width, 2);
    EXPECT_EQ(p->Border.BorderOffsets.Top, 1);
    EXPECT_EQ(p->Border.BorderOffsets.Right, 1);
}

TEST(StyleBorder, TotalWidthByStyle) {
    TRPBorder b;
    b.Width = 2;
    b.InternalWidth = 1;
    EXPECT_EQ(b.GetTotalWidth(), 0);
    b.Style = rpbSingle;
    EXPECT_EQ(b.GetTotalWidth(), 2);
    b.Style = rpbDouble;
    EXPECT_EQ(b.GetTotalWidth(), 5);
    b.Style = rpbTriple;
    EXPECT_EQ(b.GetTotalWidth(), 8);
    b.Style = rpbThickInside;
    EXPECT_EQ(b.GetTotalWidth(), 7);
    b.Style = rpbThickOutside;
    EXPECT_EQ(b.GetTotalWidth(), 7);
}

TEST(StyleRect, InflateAndScale) {
    TRPRect r;
    r.Left = 1;
    r.Top = 2;
    r.Right = 3;
    r.Bottom = 4;
    TRPBounds b{10, 10, 20, 20};
    r.InflateRect(b);
    EXPECT_EQ(b, (TRPBounds{9, 8, 23, 24}));
    TRPBounds s{10, 10, 20, 20};
    TRPResolution res{96, 96, 192, 288};
    r.InflateRectScaled(s, res);
    EXPECT_EQ(s, (TRPBounds{8, 4, 26, 32}));
    TRPBounds g{0, 5, 0, 0};
    r.AssignToRectIfGreater(g);
    EXPECT_EQ(g, (TRPBounds{1, 5, 3, 4}));
    TRPRect o = r;
    o.Left = 9;
    EXPECT_FALSE(r.IsEqual(o));
    EXPECT_TRUE(r.IsEqualEx(o, true, false, false, false));
}

TEST(StyleEquality, TextStylesCompareCaseInsensitiveNames) {
    TFontInfo a, b;
    b.FontName = "ARIAL";
    b.StyleName = "other";
    b.BaseStyleNo = 4;
    EXPECT_TRUE(a.EqualsBasic(b, false));
    b.NextStyleNo = 2;
    EXPECT_FALSE(a.EqualsBasic(b, false));
    EXPECT_TRUE(a.EqualsBasic(b, true));
    // Hover colours matter only for links.
    b.HoverColor = clRed;
    EXPECT_TRUE(a.EqualsBasic(b, true));
    a.Jump = b.Jump = true;
    EXPECT_FALSE(a.EqualsBasic(b, true));
    TParaInfo p;
    EXPECT_FALSE(a.EqualsBasic(p, true));
}

TEST(StyleEquality, IsEqualExceptMasks) {
    TFontInfo a, b;
    b.Charset = 204;
    b.Style = RPFontStyle::Bold;
    EXPECT_FALSE(a.IsEqualExcept(b, RPFontInfoMask::Charset));
    EXPECT_TRUE(a.IsEqualExcept(b, RPFontInfoMask::Charset | RPFontInfoMask::Bold));
    TParaInfo p, q;
    q.Border.VisibleBorders.Top = false;
    q.Background.BorderOffsets.Right = 3;
    EXPECT_FALSE(p.IsEqualExcept(q, RPParaInfoMask::VisibleTop));
    EXPECT_TRUE(p.IsEqualExcept(q, RPParaInfoMask::VisibleTop | RPParaInfoMask::BackOffsetRight));
    EXPECT_FALSE(p.IsEqualExcept(q, RPParaInfoMask::VisibleLeft | RPParaInfoMask::BackOffsetRight));
}

TEST(StyleSimilarity, SizeTermCanBeNegative) {
    TFontInfo target, source;
    const int same = source.SimilarityScore(target);
    source.Size = 40;
    // The size term drops from +10000 to (1 - 30 / 10) * 10000.
    EXPECT_EQ(source.SimilarityScore(target), same - 10000 - 20000);
}

TEST(StyleSimilarity, ParagraphLineSpacingTypes) {
    TParaInfo a, b;
    const int same = a.SimilarityScore(b);
    b.LineSpacingType = rplsSpaceBetween;
    b.LineSpacing = 0;
    // Neither has extra spacing: the spacing term is just dropped.
    EXPECT_EQ(a.SimilarityScore(b), same - 5000);
    a.LineSpacing = 150;
    EXPECT_EQ(a.SimilarityScore(b), same - 5000 - 20000);
}

TEST(StyleSimilarity, BorderSides) {
    TRPBorder a, b;
    EXPECT_EQ(a.SimilarityValue(b), 4 * 20000);
    a.Style = b.Style = rpbSingle;
    // Four sides on in both: 4 * (colour 3000 + width 1000 + internal 1000 + style 1000) + offsets 4 * 100.
    EXPECT_EQ(a.SimilarityValue(b), 4 * 6000 + 400);
    b.VisibleBorders.Left = false;
    EXPECT_EQ(a.SimilarityValue(b), 3 * 6000 + 300 - 20000);
}

TEST(StyleLookup, FindStyleWithCharset) {
    TFontInfos ts;
    ts.Add();                  // 0 charset 1
    ts.Add()->Size = 12;       // 1
    TFontInfo* cyr = ts.Add(); // 2: like 0 in Russian
    cyr->Charset = 204;
    TFontInfo* uni = ts.Add(); // 3: Unicode, never chosen
    uni->Charset = 161;
    uni->Unicode = true;
    EXPECT_EQ(ts.FindStyleWithCharset(0, 1), 0);
    EXPECT_EQ(ts.FindStyleWithCharset(0, 204), 2);
    EXPECT_EQ(ts.FindStyleWithCharset(1, 204), -1);
    EXPECT_EQ(ts.FindStyleWithCharset(0, 161), -1);
    EXPECT_EQ(ts.FindStyleWithCharset(9, 1), -1);
}

TEST(StyleLookup, FindEqualStyleTriesBaseFirst) {
    TParaInfos ps;
    ps.Add();
    ps.Add()->Alignment = rpaCenter;
    ps.Add()->Alignment = rpaCenter;
    TParaInfo probe;
    probe.Alignment = rpaCenter;
    probe.LeftIndent = 30;
    EXPECT_EQ(ps.FindEqualStyle(2, probe, RPParaInfoMask::Alignment), 2);
    EXPECT_EQ(ps.FindEqualStyle(-1, probe, RPParaInfoMask::Alignment), 1);
    EXPECT_EQ(ps.FindEqualStyle(0, probe, RPParaInfoMask::Alignment | RPParaInfoMask::LeftIndent), -1);
}

TEST(StyleMerge, ReuseModeMapsIdenticalSetOntoItself) {
    TRPStyle target, source;
    TRPIntegerList map;
    target.TextStyles().MergeWith(source.TextStyles(), 0, map, nullptr);
    EXPECT_EQ(map.Values(), (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(target.TextStyles().Count(), 6);
}

TEST(StyleMerge, AddAllDoublesAndTranslatesReferences) {
    TRPStyle target, source;
    source.TextStyles().GetItem(1)->NextStyleNo = 0;
    source.TextStyles().GetItem(2)->BaseStyleNo = 1;
    TRPIntegerList map;
    target.TextStyles().MergeWith(source.TextStyles(), 2, map, nullptr);
    ASSERT_EQ(target.TextStyles().Count(), 12);
    EXPECT_EQ(map.Values(), (std::vector<int32_t>{6, 7, 8, 9, 10, 11}));
    EXPECT_FALSE(target.TextStyles().GetItem(6)->Standard);
    EXPECT_TRUE(target.TextStyles().GetItem(5)->Standard);
    EXPECT_EQ(target.TextStyles().GetItem(7)->NextStyleNo, 6);
    EXPECT_EQ(target.TextStyles().GetItem(8)->BaseStyleNo, 7);
    EXPECT_EQ(target.TextStyles().GetItem(7)->StyleName, "Heading");
}

TEST(StyleMerge, ReuseModeAppendsUnknownStyle) {
    TRPStyle target;
    TFontInfos src;
    src.Add()->Size = 33;
    TFontInfo* second = src.Add();
    second->NextStyleNo = 5; // beyond the mapping: treated as equal, reference dropped
    TRPIntegerList map;
    target.TextStyles().MergeWith(src, 0, map, nullptr);
    EXPECT_EQ(map.Values(), (std::vector<int32_t>{6, 0}));
    EXPECT_EQ(second->NextStyleNo, -1);
    EXPECT_EQ(target.TextStyles().GetItem(6)->Size, 33);
}

TEST(StyleMerge, ClosestModePrefersLinkStyles) {
    TFontInfos target;
    TFontInfo* plain = target.Add();
    plain->Style = RPFontStyle::Underline;
    plain->Color = clBlue;
    TFontInfo* link = target.Add();
    link->Jump = true;
    link->Size = 30;
    link->FontName = "Tahoma";
    TFontInfos src;
    TFontInfo* s = src.Add();
    s->Jump = true;
    s->Style = RPFontStyle::Underline;
    s->Color = clBlue;
    EXPECT_GT(s->SimilarityScore(*plain), s->SimilarityScore(*link));
    TRPIntegerList map;
    target.MergeWith(src, 1, map, nullptr);
    EXPECT_EQ(map.Values(), (std::vector<int32_t>{1}));
    EXPECT_EQ(target.Count(), 2);
}

TEST(StyleMerge, NeverMapsToMissingIndex) {
    // Closest mode into an empty set takes the style over.
    TParaInfos empty;
    TParaInfos src;
    src.Add()->LeftIndent = 5;
    TRPIntegerList map;
    empty.MergeWith(src, 1, map, nullptr);
    EXPECT_EQ(map.Values(), (std::vector<int32_t>{0}));
    EXPECT_EQ(empty.GetItem(0)->LeftIndent, 5);
    // An unknown mode still maps every source style.
    TParaInfos target;
    target.Add();
    src.Add();
    target.MergeWith(src, 7, map, nullptr);
    EXPECT_EQ(map.Count(), 2);
    for (int v : map.Values())
        EXPECT_TRUE(v >= 0 && v < target.Count());
}

TEST(StyleMerge, ParagraphDefaultTextStyleTranslated) {
    TParaInfos target;
    target.Add();
    TParaInfos src;
    TParaInfo* p = src.Add();
    p->Alignment = rpaRight;
    p->DefStyleNo = 1;
    p->NextParaNo = 3; // not covered by the mapping
    TParaInfo* q = src.Add();
    q->Alignment = rpaJustify;
    q->DefStyleNo = 4;
    TRPIntegerList textMap;
    textMap.Add(0);
    textMap.Add(9);
    TRPIntegerList map;
    target.MergeWith(src, 2, map, &textMap);
    EXPECT_EQ(target.GetItem(1)->DefStyleNo, 9);
    EXPECT_EQ(target.GetItem(1)->NextParaNo, -1);
    EXPECT_EQ(target.GetItem(2)->DefStyleNo, -1);
}

TEST(StyleCollection, AssignCopiesAndNamesList) {
    TRPStyle a;
    TParaInfos other;
    other.Add()->StyleName = "X";
    a.SetParaStyles(other);
    ASSERT_EQ(a.ParaStyles().Count(), 1);
    EXPECT_EQ(a.ParaStyles().GetItem(0)->StyleName, "X");
    EXPECT_NE(a.ParaStyles().GetItem(0), other.GetItem(0));
    std::vector<std::string> names{"old"};
    a.TextStyles().AssignTo(names);
    EXPECT_EQ(names, (std::vector<std::string>{"Normal text", "Heading", "Subheading", "Keywords", "Jump 1",
                                               "Jump 2"}));
    EXPECT_EQ(a.TextStyles().GetItem(3)->Index(), 3);
}

} // namespace

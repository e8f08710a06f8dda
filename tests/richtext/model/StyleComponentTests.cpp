#include <gtest/gtest.h>

#include <sstream>

#include "platform/ImageList.h"
#include "platform/Runtime.h"
#include "richtext/model/RPStyle.h"
#include "tests/richtext/model/DataTestsDoc.h"

namespace {

TEST(StyleComponent, DefaultStyleSets) {
    TRPStyle rs;
    ASSERT_EQ(rs.TextStyles().Count(), 6);
    ASSERT_EQ(rs.ParaStyles().Count(), 2);
    EXPECT_EQ(rs.ListStyles().Count(), 0);
    const TFontInfos& ts = rs.TextStyles();
    EXPECT_EQ(ts.GetItem(0)->StyleName, "Normal text");
    EXPECT_EQ(ts.GetItem(0)->Color, clWindowText);
    EXPECT_EQ(ts.GetItem(0)->FontName, "Arial");
    EXPECT_EQ(ts.GetItem(0)->Size, 10);
    EXPECT_EQ(ts.GetItem(1)->Style, RPFontStyle::Bold);
    EXPECT_EQ(ts.GetItem(1)->Color, 0xFF0000);
    EXPECT_EQ(ts.GetItem(2)->StyleName, "Subheading");
    EXPECT_EQ(ts.GetItem(2)->Color, 0x800000);
    EXPECT_EQ(ts.GetItem(3)->Style, RPFontStyle::Italic);
    EXPECT_EQ(ts.GetItem(3)->Color, 128);
    for (int i : {4, 5}) {
        EXPECT_TRUE(ts.GetItem(i)->Jump);
        EXPECT_EQ(ts.GetItem(i)->JumpCursor, 101);
        EXPECT_EQ(ts.GetItem(i)->Style, RPFontStyle::Underline);
        EXPECT_EQ(ts.GetItem(i)->Color, 32768);
    }
    EXPECT_EQ(ts.GetItem(5)->StyleName, "Jump 2");
    EXPECT_EQ(rs.ParaStyles().GetItem(0)->StyleName, "Paragraph Style");
    EXPECT_EQ(rs.ParaStyles().GetItem(1)->StyleName, "Centered");
    EXPECT_EQ(rs.ParaStyles().GetItem(1)->Alignment, rpaCenter);
    EXPECT_EQ(rs.Color, clWindow);
    EXPECT_EQ(rs.SelColor, clHighlight);
    EXPECT_EQ(rs.InactiveSelTextColor, clHighlightText);
    EXPECT_EQ(rs.CheckpointColor, 32768);
    EXPECT_EQ(rs.CheckpointEvColor, 65280);
    EXPECT_EQ(rs.PageBreakColor, clBtnShadow);
    EXPECT_EQ(rs.SpacesInTab, 8);
    EXPECT_EQ(rs.SelectionMode, rpsmWord);
    EXPECT_EQ(rs.LineSelectCursor, 106);
    EXPECT_TRUE(rs.UseSound);
}

TEST(StyleComponent, HoverColours) {
    TRPStyle rs;
    EXPECT_FALSE(rs.StyleHoverSensitive(0));
    rs.TextStyles().GetItem(0)->HoverBackColor = clRed;
    EXPECT_TRUE(rs.StyleHoverSensitive(0));
    EXPECT_EQ(rs.GetHoverColorByStyle(1), clNone);
    rs.HoverColor = clBlue;
    EXPECT_EQ(rs.GetHoverColorByStyle(1), clBlue);
    EXPECT_TRUE(rs.StyleHoverSensitive(1));
    rs.TextStyles().GetItem(1)->HoverColor = clLime;
    EXPECT_EQ(rs.GetHoverColorByStyle(1), clLime);
    EXPECT_EQ(rs.GetHoverColor(clNone), clBlue);
    rs.OnStyleHoverSensitive = [](TRPStyle*, int StyleNo, bool& s) { s = StyleNo == 3; };
    EXPECT_FALSE(rs.StyleHoverSensitive(1));
    EXPECT_TRUE(rs.StyleHoverSensitive(3));
}

TEST(StyleComponent, DrawTextBackReportsDoDefault) {
    TRPStyle rs;
    TTestRPData doc(&rs);
    EXPECT_TRUE(rs.DrawTextBack(nullptr, 3, 0, 0, 0, 10, 10, 0, &doc, 5));
    int seenItem = -5, seenOffs = -5;
    TCustomRPData* seenDoc = nullptr;
    rs.OnDrawTextBack = [&](TRPStyle* s, TCanvas*, int, int, int, int, int, TRPTextDrawStates, bool& d) {
        seenItem = s->DrawingItemNo();
        seenOffs = s->DrawingOffs();
        seenDoc = s->DrawingRPData();
        d = false;
    };
    EXPECT_FALSE(rs.DrawTextBack(nullptr, 3, 0, 0, 0, 10, 10, 0, &doc, 5));
    EXPECT_EQ(seenItem, 3);
    EXPECT_EQ(seenOffs, 5);
    EXPECT_EQ(seenDoc, &doc);
    EXPECT_EQ(rs.DrawingRPData(), nullptr);
}

// A descendant that makes its own text styles once it is constructed.
class TBigStyle : public TRPStyle {
public:
    std::unique_ptr<TFontInfo> GetTextStyleClass() const override {
        auto f = std::make_unique<TFontInfo>();
        f->Size = 20;
        return f;
    }
};

TEST(StyleComponent, DescendantStyleClasses) {
    TBigStyle rs;
    EXPECT_EQ(rs.TextStyles().Add()->Size, 20);
    rs.ResetTextStyles();
    EXPECT_EQ(rs.TextStyles().GetItem(0)->Size, 20);
}

TEST(StyleComponent, WriteRoutines) {
    std::string o;
    RPWrite(o, "a");
    RPWriteLn(o, "b");
    RPWriteX(o, "c", false);
    RPWriteX(o, "d", true);
    EXPECT_EQ(o, "ab\r\ncd\r\n");
}

TEST(StyleLists, NewLevelDefaults) {
    TRPListInfo li;
    TRPListLevel* l = li.Levels.Add();
    EXPECT_EQ(l->ListType, rplstBullet);
    EXPECT_EQ(l->StartFrom, 1);
    EXPECT_EQ(l->FirstIndent, 10);
    EXPECT_EQ(l->Options, rploContinuous | rploLevelReset);
    EXPECT_EQ(l->FormatString, "\xB7");
    EXPECT_EQ(l->GetFormatStringCode(), "");
    EXPECT_FALSE(l->HasFont());
    EXPECT_EQ(l->GetDisplayName(), "List Level 0");
    EXPECT_EQ(li.Levels.Add()->GetDisplayName(), "List Level 1");
    EXPECT_EQ(li.StyleName, "List Style");
}

TEST(StyleLists, FormatStringCodes) {
    TRPListLevel l;
    l.FormatString = "%0:s.";
    EXPECT_EQ(l.GetFormatStringCode(), "25303A732E");
    l.FormatStringW = u"\u2022a";
    EXPECT_EQ(l.GetFormatStringWCode(), "20220061");
    TRPListLevel m;
    EXPECT_TRUE(m.SetFormatStringCode("25303A732E"));
    EXPECT_EQ(m.FormatString, "%0:s.");
    EXPECT_TRUE(m.SetFormatStringWCode("20220061"));
    EXPECT_EQ(m.FormatStringW, u"\u2022a");
    EXPECT_FALSE(m.SetFormatStringCode("2G"));
    EXPECT_FALSE(m.SetFormatStringWCode("202"));
    EXPECT_EQ(m.FormatString, "%0:s.");
    // An empty text is not the default bullet: it must be written and read back.
    TRPListLevel e;
    EXPECT_FALSE(e.StoresFormatStringCode());
    EXPECT_FALSE(e.StoresFormatStringWCode());
    e.FormatString.clear();
    EXPECT_TRUE(e.StoresFormatStringCode());
    TRPListLevel back;
    EXPECT_TRUE(back.SetFormatStringCode(e.GetFormatStringCode()));
    EXPECT_EQ(back.FormatString, "");
    EXPECT_TRUE(l.StoresFormatStringWCode());
}

TEST(StyleLists, LstIdGivenOnFirstRead) {
    Runtime::SetRandSeed(12345);
    TRPListInfo li;
    const int32_t id = li.GetLstID();
    EXPECT_NE(id, 0);
    EXPECT_EQ(li.GetLstID(), id);
    li.SetLstID(77);
    EXPECT_EQ(li.GetLstID(), 77);
}

TEST(StyleLists, LevelEqualityAndSimilarity) {
    TRPListLevel a, b;
    EXPECT_TRUE(a.IsEqual(b));
    const int same = a.SimilarityValue(b);
    EXPECT_EQ(same, 5000 + 9 * 100 + 200 + 100 + 100);
    b.FirstIndent = 20;
    EXPECT_FALSE(a.IsEqual(b));
    EXPECT_EQ(a.SimilarityValue(b), same - 200);
    b.FirstIndent = 10;
    // A default font equals no font; another font does not.
    b.Font();
    EXPECT_TRUE(a.IsEqual(b));
    b.Font()->Name = "tahoma";
    EXPECT_FALSE(a.IsEqual(b));
    a.Font()->Name = "Tahoma";
    EXPECT_TRUE(a.IsEqual(b));
    a.Font()->Size = 9;
    EXPECT_FALSE(a.IsEqual(b));
}

TEST(StyleLists, ListEqualityScoreAndAssign) {
    TRPListInfo a, b;
    a.SetLstID(1);
    b.SetLstID(2);
    a.Levels.Add()->ListType = rplstDecimal;
    b.Levels.Add()->ListType = rplstDecimal;
    EXPECT_FALSE(a.EqualsBasic(b, false));
    EXPECT_TRUE(a.EqualsBasic(b, true));
    TRPIntegerList none;
    EXPECT_TRUE(a.EqualsWithMapping(b, none));
    const int lvl = a.Levels[0]->SimilarityValue(*b.Levels[0]);
    EXPECT_EQ(a.SimilarityScore(b), 100 + lvl);
    b.Levels.Add();
    b.Levels.Add();
    EXPECT_EQ(a.SimilarityScore(b), 100 + lvl - 200);
    EXPECT_TRUE(b.HasNumbering());
    EXPECT_TRUE(b.HasTextNumbering());
    TRPListInfo c;
    c.Assign(b);
    EXPECT_EQ(c.Levels.Count(), 3);
    EXPECT_EQ(c.Levels[0]->ListType, rplstDecimal);
    EXPECT_EQ(c.Levels[2]->ListInfo(), &c);
}

TEST(StyleLists, GetListLevelInfoClampsLevels) {
    TRPStyle rs;
    TRPListInfo* li = rs.ListStyles().Add();
    for (int i = 0; i < 3; ++i)
        li->Levels.Add()->StartFrom = i + 1;
    rs.ListStyles().Add(); // a list without levels
    EXPECT_EQ(GetListLevelInfo(&rs, 0, 7), li->Levels[2]);
    EXPECT_EQ(GetListLevelInfo(&rs, 0, 1), li->Levels[1]);
    EXPECT_EQ(GetListLevelInfo(&rs, -1, 0), nullptr);
    EXPECT_EQ(GetListLevelInfo(&rs, 2, 0), nullptr);
    EXPECT_EQ(GetListLevelInfo(&rs, 1, 0), nullptr);
    EXPECT_EQ(GetListLevelInfo(&rs, 0, -1), nullptr);
    EXPECT_EQ(GetListLevelInfo(nullptr, 0, 0), nullptr);
}

TEST(StyleLists, NumberedSourceListsNeverShareTarget) {
    TRPListInfos target, src;
    TRPListInfo* t = target.Add();
    t->Levels.Add()->ListType = rplstDecimal;
    for (int i = 0; i < 2; ++i)
        src.Add()->Levels.Add()->ListType = rplstDecimal;
    TRPListInfo* bullets = src.Add();
    bullets->Levels.Add();
    TRPIntegerList map;
    target.MergeWith(src, 0, map, nullptr);
    ASSERT_EQ(map.Count(), 3);
    EXPECT_EQ(map[0], 0);
    EXPECT_EQ(map[1], 1);
    EXPECT_EQ(map[2], 2);
    EXPECT_EQ(target.Count(), 3);
    // Bullet lists may share.
    TRPIntegerList map2;
    target.MergeWith(src, 0, map2, nullptr);
    EXPECT_EQ(map2[2], 2);
}

// No level keeps a freed image list: the style component hears of it.
TEST(StyleLists, RemoveImageList) {
    TRPStyle rs, copy;
    auto il = std::make_unique<TCustomImageList>(nullptr);
    TCustomImageList kept(nullptr);
    TRPListLevel* l = rs.ListStyles().Add()->Levels.Add();
    l->ImageList = il.get();
    TRPListLevel* other = rs.ListStyles().Add()->Levels.Add();
    other->ImageList = &kept;
    rs.ImageListRemoved(&kept);
    EXPECT_EQ(other->ImageList, nullptr);
    other->ImageList = il.get();
    copy.SetListStyles(rs.ListStyles());
    TRPListLevel alone;
    alone.Assign(*l);
    l->Assign(*other);
    EXPECT_EQ(copy.ListStyles()[1]->Levels[0]->ImageList, il.get());
    l->ImageList = &kept;
    l->ImageList = il.get();
    il.reset();
    for (TRPStyle* s : {&rs, &copy})
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(s->ListStyles()[i]->Levels[0]->ImageList, nullptr) << i;
    EXPECT_EQ(alone.ImageList, nullptr);
    // A list given up before it goes is not followed any more.
    l->ImageList = &kept;
    l->ImageList = nullptr;
}

} // namespace

#include "platform/Pictures.h"

namespace {

TEST(StyleComponent, InvalidPictureMadeOnFirstRead) {
    TRPStyle rs;
    TPicture* p = rs.GetInvalidPicture();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(rs.GetInvalidPicture(), p);
    ASSERT_NE(p->Graphic(), nullptr);
    EXPECT_EQ(p->Width(), 20);
    rs.SetInvalidPicture(nullptr);
    EXPECT_EQ(rs.GetInvalidPicture()->Width(), 20);
    TPicture other;
    other.Bitmap()->SetSize(7, 3);
    rs.SetInvalidPicture(&other);
    EXPECT_EQ(rs.GetInvalidPicture()->Width(), 7);
    rs.SetInvalidPicture(rs.GetInvalidPicture());
    EXPECT_EQ(rs.GetInvalidPicture()->Height(), 3);
}

TEST(StyleLists, PicturesCopiedAndCompared) {
    TRPListLevel a, b;
    a.ListType = b.ListType = rplstPicture;
    a.Picture()->Bitmap()->SetSize(8, 8);
    EXPECT_TRUE(a.HasPicture());
    EXPECT_FALSE(a.IsEqual(b));
    b.Assign(a);
    ASSERT_TRUE(b.HasPicture());
    EXPECT_TRUE(b.PictureIfAny()->Graphic()->Transparent());
    EXPECT_NE(b.PictureIfAny()->Graphic(), a.PictureIfAny()->Graphic());
    EXPECT_TRUE(a.IsEqual(b));
    b.Picture()->Bitmap()->Canvas()->SetPixel(1, 1, clRed);
    EXPECT_FALSE(a.IsEqual(b));
    EXPECT_EQ(a.SimilarityValue(b), 5000 + 9 * 100 + 200 + 100);
    // A source without a picture takes the level's away.
    TRPListLevel none;
    b.Assign(none);
    EXPECT_FALSE(b.HasPicture());
    b.Picture();
    EXPECT_FALSE(b.HasPicture());
    EXPECT_TRUE(b.IsEqual(none));
}

TEST(StyleLists, ImageListTravelsAsTagOnlyInDocumentStreams) {
    struct TDoc : TTestRPData {
        using TTestRPData::TTestRPData;
        TCustomImageList* Answer = nullptr;
        int Asked = -1;
        TCustomImageList* DoRPFImageListNeeded(int Tag) override {
            Asked = Tag;
            return Answer;
        }
    };
    TRPStyle rs;
    TDoc doc(&rs);
    TCustomImageList il(nullptr), other(nullptr);
    il.SetTag(42);
    TRPListLevel* l = rs.ListStyles().Add()->Levels.Add();
    l->ImageList = &il;
    // Form streaming: the image list itself, no tag.
    EXPECT_FALSE(l->StoresILTag());
    EXPECT_TRUE(l->StoresImageList());
    rs.ListStyles().RPData = &doc;
    EXPECT_TRUE(l->StoresILTag());
    EXPECT_FALSE(l->StoresImageList());
    EXPECT_EQ(l->GetILTag(), 42);
    doc.Answer = &other;
    l->ReadILTag(7);
    EXPECT_EQ(doc.Asked, 7);
    EXPECT_EQ(l->ImageList, &other);
    l->ImageList = nullptr;
    EXPECT_FALSE(l->StoresILTag());
    rs.ListStyles().RPData = nullptr;
    // A level outside any style component has no document to ask.
    TRPListLevel loose;
    loose.ImageList = &il;
    EXPECT_FALSE(loose.StoresILTag());
    loose.ReadILTag(42);
    EXPECT_EQ(loose.ImageList, nullptr);
}

} // namespace

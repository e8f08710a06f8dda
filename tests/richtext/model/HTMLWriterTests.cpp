// HTML output: both writers' frames, text runs and paragraphs, lists,
// pictures and their files, anchors and links, and the CSS of styles.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <iostream>

#include "WriterRoundTrip.h"
#include "platform/ImageList.h"
#include "richtext/model/RPHTMLWriter.h"

using namespace std::string_literals;

namespace {

bool Has(const std::string& s, const std::string& part) {
    return s.find(part) != std::string::npos;
}

// The content part only.
std::string Body(TWriterDoc& d, bool CSS, TRPHTMLSaveOptions Options = 0) {
    return d.HTML(CSS, static_cast<TRPHTMLSaveOptions>(Options | rphsoBodyOnly));
}

TRPMarkerItemInfo* AddMarker(TWriterDoc& d, int ListNo, int Level) {
    auto m = TRPMarkerItemInfo::CreateEx(&d, ListNo, Level, 1, false);
    TRPMarkerItemInfo* p = m.get();
    d.AddItem("", std::move(m));
    d.AddMarkerInList(d.GetItemCount() - 1);
    return p;
}

} // namespace

TEST(HTMLWriter, FramesOfBothWriters) {
    TWriterDoc d;
    EXPECT_EQ(d.HTML(false), "<HTML><HEAD><TITLE>T</TITLE>\r\n</HEAD>\r\n"
                             "<BODY leftmargin=0 topmargin=0 rightmargin=0 bottommargin=0>\r\n"
                             "<FONT size=2 color=#000000 face=\"Arial\">\r\n</FONT>\r\n</BODY></HTML>\r\n");
    EXPECT_EQ(d.HTML(false, rphsoHeadOnly | rphsoBodyOnly | rphsoEndOnly), "");
    d.AddText("x", 0, 0);
    std::string s;
    int n = 0;
    TColor cur = clNone;
    d.Style.TextStyles().GetItem(0)->Charset = 204;
    ASSERT_TRUE(d.SaveHTMLWithCSSToStream(s, "", "A & B", "img", "P { color: red }", "", "", rphsoEndOnly, clYellow,
                                          cur, n, 1, 2, 3, 4, nullptr, nullptr));
    EXPECT_EQ(s, "\r\n</BODY></HTML>\r\n");
    s.clear();
    ASSERT_TRUE(d.SaveHTMLWithCSSToStream(s, "", "A & B", "img", "P { color: red }", "main.css", "", rphsoHeadOnly,
                                          clYellow, cur, n, 1, 2, 3, 4, nullptr, nullptr));
    EXPECT_EQ(s, "<HTML><HEAD><TITLE>A &amp; B</TITLE>\r\n"
                 "<META HTTP-EQUIV=\"Content-Type\"  CONTENT=\"text/html; CHARSET=Windows-1251\">\r\n"
                 "<STYLE type=\"text/css\"><!--\r\nBODY {\r\n  margin: 2px 3px 4px 1px;\r\n"
                 "  background-color: #FFFF00;\r\n}\r\nP { color: red }\r\n--></STYLE>\r\n"
                 "<LINK type=\"text/css\" href=\"main.css\" rel=STYLESHEET>\r\n</HEAD>\r\n<BODY>\r\n");
    EXPECT_EQ(cur, clYellow);
    // Without a style component nothing is written.
    TCustomRPData bare;
    s.clear();
    EXPECT_FALSE(bare.SaveHTMLToStream(s, "", "", "", 0, clNone, n, 0, 0, 0, 0, nullptr, nullptr));
    EXPECT_EQ(s, "");
}

TEST(HTMLWriter, TextRunsAndParagraphs) {
    TWriterDoc d;
    d.Style.ParaStyles().GetItem(1)->Alignment = rpaRight;
    d.AddText("a   b", 0, 0);
    d.AddText("x", 1, -1);
    d.AddText("y", 1, -1);
    d.AddTextTag("go", 1, -1, TRPTag());
    d.Style.TextStyles().GetItem(1)->Jump = true; // hypertext without a target: no link
    d.AddTextTag("link", 4, 1, TRPTag::FromText("a\"b.html"));
    d.GetItem(4)->SetPageBreakBefore(true);
    d.AddText("", 0, 0);
    EXPECT_EQ(Body(d, true), "\r\n<P>a&nbsp;&nbsp; b<SPAN class=RPTS1>xygo</SPAN></P>\r\n"
                             "<P class=RPPS1 style=\"page-break-before: always;\"><A class=RPTS4 "
                             "href=\"a&quot;b.html\">link</A></P>\r\n<P>&nbsp;</P>");
    // The classic writer: font tags against style 0, page breaks only with ClassicCSS.
    EXPECT_EQ(Body(d, false), "<FONT size=2 color=#000000 face=\"Arial\">\r\n"
                              "<DIV>a&nbsp;&nbsp; b<FONT color=#0000FF><B>x</B></FONT><FONT color=#0000FF><B>y</B>"
                              "</FONT><FONT color=#0000FF><B>go</B></FONT></DIV>\r\n<DIV align=right><A "
                              "href=\"a&quot;b.html\"><FONT color=#008000><U>link</U></FONT></A></DIV>\r\n"
                              "<DIV>&nbsp;</DIV>\r\n</FONT>\r\n");
    EXPECT_TRUE(Has(Body(d, false, rphsoClassicCSS), "<DIV align=right style=\"page-break-before: always;\">"));
    EXPECT_FALSE(Has(Body(d, false), "page-break"));
    // Inline styles instead of classes; style 0 gets a class of its own on request.
    EXPECT_TRUE(Has(Body(d, true, rphsoInlineCSS), "<SPAN style=\" font-size: 10pt; font-family: 'Arial';"));
    EXPECT_TRUE(Has(Body(d, true, rphsoStyle0Classes), "<P class=RPPS0><SPAN class=RPTS0>a&nbsp;&nbsp; b</SPAN>"));
}

TEST(HTMLWriter, TextEscapingAndCodeStyles) {
    TWriterDoc d;
    d.Style.TextStyles().GetItem(2)->Options = rpteoHTMLCode;
    d.Style.TextStyles().GetItem(3)->Options = rpteoRTFCode;
    d.Style.TextStyles().GetItem(5)->Unicode = true;
    d.AddText("<\xE4&\x80>", 0, 0);
    d.AddText("<b>", 2, -1);
    d.AddText("rtf", 3, -1);
    d.AddText(WideStrToItemText(u"a  b\U0001F600\xD800"), 5, -1);
    d.GetItem(0)->Hint = "say \"<hi>\" & go";
    // 8-bit text above 127 becomes references; characters beyond the
    // 16-bit range are one reference, a lone surrogate the replacement character.
    EXPECT_EQ(Body(d, true), "\r\n<P><SPAN title=\"say '&lt;hi&gt;' &amp; go\">&lt;&#228;&amp;&#8364;&gt;</SPAN>"
                             "<SPAN class=RPTS2><b></SPAN><SPAN class=RPTS5>a &nbsp;b&#128512;&#65533;</SPAN></P>");
}

TEST(HTMLWriter, NestedListsAndMarkersAsText) {
    TWriterDoc d;
    TRPListInfo* li = d.Style.ListStyles().Add();
    TRPListLevel* l0 = li->Levels.Add();
    l0->ListType = rplstDecimal;
    l0->FormatString = "%s.";
    l0->LeftIndent = 24;
    l0->FirstIndent = -12;
    TRPListLevel* l1 = li->Levels.Add();
    l1->LeftIndent = 48;
    l1->MarkerIndent = 60;
    for (int level : {0, 1, 0}) {
        AddMarker(d, 0, level);
        d.AddText("i" + std::to_string(level), 0, -1);
    }
    d.AddText("end", 0, 0);
    // A deeper list goes inside the item before it.
    EXPECT_EQ(Body(d, true), "\r\n<OL style=\"text-indent: -12px; margin-left: 24px; list-style:outside;\">\r\n"
                             "<LI value=1>i0<UL style=\"text-indent: 12px; margin-left: 48px; list-style:inside;\">\r\n"
                             "<LI>i1</LI>\r\n</UL></LI>\r\n<LI value=2>i0</LI>\r\n</OL>\r\n<P>end</P>");
    // Markers as text: the marker's font in a SPAN, the paragraph indented by the level.
    const std::string t = Body(d, true, rphsoMarkersAsText);
    EXPECT_TRUE(Has(t, "\r\n<P style=\" text-align: left; padding: 0px 0px 0px 0px; margin-top: 0px;"
                       " margin-right: 0px; margin-bottom: 0px; text-indent: -24px; margin-left: 24px;\"><SPAN "
                       "style=\"font: 8pt 'Arial'; color: #000000;\">1.</SPAN>\r\ni0</P>"))
        << t;
    EXPECT_TRUE(Has(t, "<SPAN style=\"font: 8pt 'Arial'; color: #000000; width: -2px;\">&#183;</SPAN>\r\ni1</P>"));
    EXPECT_TRUE(Has(Body(d, false, rphsoMarkersAsText), "<DIV><FONT size=1>1.</FONT>\r\ni0</DIV>"))
        << Body(d, false, rphsoMarkersAsText);
}

TEST(HTMLWriter, AnchorsAndRules) {
    TWriterDoc d;
    d.AddCheckpoint("first", false, TRPTag());
    d.AddText("a", 0, 0);
    d.AddCheckpoint("second", false, TRPTag());
    d.AddText("b", 0, 0);
    d.AddCheckpoint("", false, TRPTag());
    d.AddText("c", 0, 0);
    auto rule = CreateItemByStyleNo(&d, rpsnBreak);
    static_cast<TRPBreakItemInfo*>(rule.get())->Color = clRed;
    rule->Hint = "line";
    d.AddItem("", std::move(rule));
    const std::string s = Body(d, true, rphsoCheckpointNames);
    EXPECT_TRUE(Has(s, "<A name=\"first\"></A>\r\na"));
    // Anchors count every checkpoint, named or not.
    EXPECT_TRUE(Has(s, "<A name=RichPadCheckpoint2></A>\r\nc"));
    EXPECT_TRUE(Has(s, "<HR noshade size=1 title=\"line\" style=\"color: #FF0000\">")) << s;
    EXPECT_TRUE(Has(Body(d, false), "<HR noshade size=1 color=#FF0000 title=\"line\" >"));
}

TEST(HTMLWriter, PictureFiles) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/";
    TWriterDoc d;
    TCustomImageList list(nullptr);
    list.SetSize(8, 8);
    TBitmap strip(16, 8);
    list.Add(&strip, nullptr);
    auto addBullet = [&](int index) {
        auto b = CreateItemByStyleNo(&d, rpsnBullet);
        auto* bi = static_cast<TRPBulletItemInfo*>(b.get());
        bi->ImageList = &list;
        bi->ImageIndex = index;
        bi->VShift = 50;
        b->ParaNo = -1;
        d.AddItem("", std::move(b));
    };
    d.AddText("x", 0, 0);
    addBullet(1);
    addBullet(1);
    addBullet(7); // outside the list: no picture, and no empty src
    auto pic = TRPGraphicItemInfo::CreateEx(&d, std::make_unique<TBitmap>(10, 5), 1);
    pic->Alt = "Bild \"1\"";
    pic->ParaNo = -1;
    d.AddItem("", std::move(pic));
    // An existing, writable file of the next number is taken only with OverwriteImages.
    QFile old(QString::fromStdString(path + "img1.jpg"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();
    std::string s;
    int n = 0;
    TColor cur = clNone;
    ASSERT_TRUE(d.SaveHTMLWithCSSToStream(s, path, "T", "img", "", "", "", rphsoBodyOnly | rphsoImageSizes, clNone,
                                          cur, n, 0, 0, 0, 0, nullptr, nullptr));
    EXPECT_EQ(n, 3);
    EXPECT_EQ(s, "\r\n<P>x<IMG width=8 height=8 style=\"vertical-align: 4px\" src=\"img2.jpg\">"
                 "<IMG width=8 height=8 style=\"vertical-align: 4px\" src=\"img2.jpg\">"
                 "<IMG align=middle width=10 height=5 alt=\"Bild &quot;1&quot;\" src=\"img3.jpg\"></P>");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path + "img2.jpg")));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path + "img3.jpg")));
    s.clear();
    n = 0;
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    ASSERT_TRUE(d.SaveHTMLToStream(s, path, "T", "sub\\p", rphsoBodyOnly | rphsoOverwriteImages | rphsoNoImageBorders,
                                   clNone, n, 0, 0, 0, 0, nullptr, nullptr));
    EXPECT_TRUE(Has(s, "<IMG border=0 src=\"sub/p1.jpg\">")) << s;
}

// A line height is stated where it differs from the base's: against a base
// spaced otherwise (no line height of its own) a single spacing says
// nothing, one and a half does.
TEST(HTMLWriter, LineHeightAgainstABaseSpacedOtherwise) {
    TRPStyle st;
    TParaInfos& p = st.ParaStyles();
    p.GetItem(0)->LineSpacingType = rplsSpaceBetween;
    p.GetItem(0)->LineSpacing = 8;
    p.GetItem(1)->LineSpacingType = rplsPercent;
    p.GetItem(1)->LineSpacing = 100;
    TParaInfo* wide = p.Add();
    wide->LineSpacing = 150;
    std::string s;
    st.SaveCSSToStream(s, 0);
    const auto rule = [&](int No) {
        const size_t at = s.find(".RPPS" + std::to_string(No) + " ");
        return at == std::string::npos ? std::string() : s.substr(at, s.find('}', at) - at);
    };
    EXPECT_EQ(rule(1).find("line-height"), std::string::npos) << rule(1);
    EXPECT_NE(rule(2).find("line-height: 1.50;"), std::string::npos) << rule(2);
    EXPECT_EQ(s.find("line-height: normal"), std::string::npos);
}

TEST(HTMLWriter, StyleSheet) {
    TRPStyle st;
    TFontInfo* f = st.TextStyles().Add();
    f->Assign(*st.TextStyles().GetItem(0)); // equal to style 0: an empty rule
    f->StyleName = "Copy";
    TParaInfo* p = st.ParaStyles().Add();
    p->LineSpacing = 120;
    p->Border.Style = rpbSingle;
    p->Border.Color = clBlack;
    p->Border.BorderOffsets.SetAll(2);
    p->LeftIndent = 10;
    std::string s;
    st.SaveCSSToStream(s, 0);
    EXPECT_TRUE(Has(s, "SPAN.RPTS6 /* Copy */\r\n{\r\n}\r\n")) << s;
    EXPECT_TRUE(Has(s, ".RPPS2 /* Paragraph Style */\r\n{\r\n line-height: 1.20;\r\n border-color: #000000;\r\n"
                       " border-style: solid;\r\n border-width: 1px;\r\n padding: 2px 2px 2px 2px;\r\n"
                       " margin: -2px -2px -2px 8px;\r\n}\r\n"))
        << s;
    // A link style states "none" even when style 0 has it too; no hover colour, no hover rule.
    EXPECT_TRUE(Has(s, "A.RPTS4, SPAN.RPTS4 /* Jump 1 */\r\n{\r\n color: #008000;\r\n text-decoration: underline;\r\n}"));
    EXPECT_FALSE(Has(s, ":hover"));
    s.clear();
    st.SaveCSSToStream(s, 4);
    EXPECT_TRUE(Has(s, "SPAN.RPTS0 /* Normal text */\r\n{\r\n font-size: 10pt;"));
    EXPECT_TRUE(Has(s, ".RPPS0 /* Paragraph Style */\r\n{\r\n text-align: left;"));
    EXPECT_FALSE(Has(s, "BODY, TABLE"));
}

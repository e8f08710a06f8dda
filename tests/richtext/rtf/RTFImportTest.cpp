#include "RTFImportDoc.h"
#include "support/Corpus.h"

#include "platform/Pictures.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"
#include "support/PlainPng.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::string Hex(const QByteArray& b) {
    return b.toHex().toStdString();
}

std::string PngHex(int w, int h) {
    return Hex(PlainPng(w, h, qRgb(255, 0, 0)));
}

void AddIfNeeded(TImportDoc& doc) {
    doc.Props.TextStyleMode = rprsAddIfNeeded;
    doc.Props.ParaStyleMode = rprsAddIfNeeded;
}

} // namespace

TEST(RTFImport, StylesAreAddedOnceAndReused) {
    TImportDoc doc;
    AddIfNeeded(doc);
    const int before = doc.Style.TextStyles().Count();
    const std::string rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 a{\\b b}}";
    ASSERT_EQ(0, doc.Import(rtf));
    ASSERT_EQ(2, doc.GetItemCount());
    EXPECT_EQ("a", doc.GetItemText(0));
    EXPECT_EQ("b", doc.GetItemText(1));
    EXPECT_TRUE(doc.IsParaStart(0));
    EXPECT_TRUE(doc.GetItem(1)->GetContinuesPrev());
    ASSERT_EQ(before + 2, doc.Style.TextStyles().Count());
    const TFontInfo& plain = *doc.Style.TextStyles().GetItem(doc.GetItemStyle(0));
    const TFontInfo& bold = *doc.Style.TextStyles().GetItem(doc.GetItemStyle(1));
    EXPECT_EQ("Arial", plain.FontName);
    EXPECT_EQ(12, plain.Size);
    EXPECT_EQ(0, plain.Style);
    EXPECT_FALSE(plain.Standard);
    EXPECT_EQ("Arial", bold.FontName);
    EXPECT_EQ(12, bold.Size);
    EXPECT_EQ(RPFontStyle::Bold, bold.Style);
    const int paras = doc.Style.ParaStyles().Count();
    ASSERT_EQ(0, doc.Import(rtf));
    EXPECT_EQ(4, doc.GetItemCount());
    EXPECT_EQ(before + 2, doc.Style.TextStyles().Count());
    EXPECT_EQ(paras, doc.Style.ParaStyles().Count());
    // The second import appends: its first item starts a paragraph.
    EXPECT_TRUE(doc.IsParaStart(2));
    EXPECT_EQ(doc.GetItemStyle(0), doc.GetItemStyle(2));
}

TEST(RTFImport, ParagraphsLinesAndPageBreaks) {
    TImportDoc doc;
    doc.Props.SkipHiddenText = true;
    ASSERT_EQ(0, doc.Import("{\\rtf1 a\\par\\par b\\line c\\page d{\\v hidden}e\\cell f}"));
    EXPECT_EQ("a\n\nb\nc\nde\nf", doc.PlainText());
    EXPECT_TRUE(doc.GetItem(3)->GetLineBreakBefore()); // "c"
    EXPECT_TRUE(doc.GetItem(4)->GetPageBreakBefore()); // "d"
    TImportDoc shown;
    shown.Props.SkipHiddenText = false;
    shown.Props.LineBreaksAsParagraphs = true;
    ASSERT_EQ(0, shown.Import("{\\rtf1 b\\line c{\\v hidden}}"));
    EXPECT_EQ("b\nchidden", shown.PlainText());
    EXPECT_TRUE(shown.IsParaStart(1));
}

TEST(RTFImport, NonBreakingHyphenKeepsItsHyphen) {
    TImportDoc wide;
    wide.Props.TextStyleMode = rprsAddIfNeeded; // a Unicode style for the Unicode text
    ASSERT_EQ(0, wide.Import("{\\rtf1 e\\_mail}"));
    EXPECT_EQ("e\u2011mail", wide.PlainText());
    TImportDoc narrow;
    narrow.Props.UnicodeMode = rpruNoUnicode;
    ASSERT_EQ(0, narrow.Import("{\\rtf1 e\\_mail}"));
    EXPECT_EQ("e-mail", narrow.PlainText());
}

TEST(RTFImport, UnicodeModes) {
    const std::string rtf = "{\\rtf1\\ansi\\uc1 x\\u8364?y}";
    TImportDoc none;
    none.Props.UnicodeMode = rpruNoUnicode;
    ASSERT_EQ(0, none.Import(rtf));
    EXPECT_EQ("x?y", none.PlainText());
    // Without Unicode text styles to choose from, Unicode text becomes code-page text.
    TImportDoc closest;
    closest.Props.UnicodeMode = rpruMixed;
    ASSERT_EQ(0, closest.Import(rtf));
    EXPECT_EQ("x\xE2\x82\xAC"
              "y",
              closest.PlainText());
    EXPECT_FALSE(closest.GetItem(1)->IsUnicode());
    TImportDoc mixed;
    AddIfNeeded(mixed);
    mixed.Props.UnicodeMode = rpruMixed;
    ASSERT_EQ(0, mixed.Import("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\uc1 x\\u8364?y\\u1046?}"));
    EXPECT_EQ("x\xE2\x82\xAC"
              "y\xD0\x96",
              mixed.PlainText());
    ASSERT_EQ(4, mixed.GetItemCount());
    EXPECT_TRUE(mixed.GetItem(1)->IsUnicode());
    EXPECT_FALSE(mixed.GetItem(0)->IsUnicode());
    TImportDoc only;
    AddIfNeeded(only);
    only.Props.UnicodeMode = rpruOnlyUnicode;
    ASSERT_EQ(0, only.Import("{\\rtf1{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0 \\'c0\\u8364?}"));
    EXPECT_EQ("\xD0\x90\xE2\x82\xAC", only.PlainText());
    for (int i = 0; i < only.GetItemCount(); ++i)
        EXPECT_TRUE(only.GetItem(i)->IsUnicode());
}

TEST(RTFImport, CharacterFormatsMakeStyles) {
    TImportDoc doc;
    AddIfNeeded(doc);
    ASSERT_EQ(0, doc.Import("{\\rtf1{\\fonttbl{\\f0 Tahoma;}{\\f1\\fcharset204 Arial CYR;}}"
                            "{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs24{\\sub s}{\\super p}"
                            "{\\cf1\\i\\ul\\caps\\expndtw30 c}{\\f1 k}}"));
    ASSERT_EQ(4, doc.GetItemCount());
    const TFontInfos& ts = doc.Style.TextStyles();
    const TFontInfo& sub = *ts.GetItem(doc.GetItemStyle(0));
    EXPECT_EQ(6, sub.Size);
    EXPECT_EQ(-25, sub.VShift);
    EXPECT_EQ(45, ts.GetItem(doc.GetItemStyle(1))->VShift);
    const TFontInfo& c = *ts.GetItem(doc.GetItemStyle(2));
    EXPECT_EQ(clRed, c.Color);
    EXPECT_EQ(RPFontStyle::Italic | RPFontStyle::Underline, c.Style);
    EXPECT_EQ(rpfsAllCaps, c.StyleEx);
    EXPECT_EQ(2, c.CharSpacing);
    const TFontInfo& k = *ts.GetItem(doc.GetItemStyle(3));
    EXPECT_EQ("Arial", k.FontName);
    EXPECT_EQ(204, k.Charset);
    EXPECT_EQ(1251, doc.GetStyleCodePage(doc.GetItemStyle(3)));
}

TEST(RTFImport, ClosestAndSpecifiedStyles) {
    TImportDoc doc;
    TFontInfo* bold = doc.Style.TextStyles().Add();
    bold->FontName = "Arial";
    bold->Size = 12;
    bold->Style = RPFontStyle::Bold;
    const int boldNo = doc.Style.TextStyles().Count() - 1;
    const int count = doc.Style.TextStyles().Count();
    ASSERT_EQ(0, doc.Import("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs24\\b x}"));
    EXPECT_EQ(boldNo, doc.GetItemStyle(0));
    EXPECT_EQ(count, doc.Style.TextStyles().Count());
    TImportDoc spec;
    spec.Props.TextStyleMode = rprsUseSpecified;
    spec.Props.ParaStyleMode = rprsUseSpecified;
    spec.Style.TextStyles().Add();
    spec.Style.ParaStyles().Add();
    spec.Props.SetTextStyleNo(1);
    spec.Props.SetParaStyleNo(1);
    ASSERT_EQ(0, spec.Import("{\\rtf1\\b x\\par\\qc y}"));
    EXPECT_EQ(1, spec.GetItemStyle(1));
    EXPECT_EQ(1, spec.GetItemPara(1));
    EXPECT_THROW(spec.Props.SetTextStyleNo(-1), ERichPadError);
    EXPECT_EQ(1, spec.Props.TextStyleNo());
}

TEST(RTFImport, ParagraphStyles) {
    TImportDoc doc;
    AddIfNeeded(doc);
    ASSERT_EQ(0, doc.Import("{\\rtf1\\li1440\\ri720\\fi-360\\sb150\\sa300\\qc\\sl-360\\slmult1 a\\par"
                            "\\pard\\brdrb\\brdrs\\brdrw30 b\\par\\pard\\qj c\\line d}"));
    ASSERT_EQ(4, doc.GetItemCount());
    const TParaInfos& ps = doc.Style.ParaStyles();
    const TParaInfo& a = *ps.GetItem(doc.GetItemPara(0));
    EXPECT_EQ(96, a.LeftIndent);
    EXPECT_EQ(48, a.RightIndent);
    EXPECT_EQ(-24, a.FirstIndent);
    EXPECT_EQ(10, a.SpaceBefore);
    EXPECT_EQ(20, a.SpaceAfter);
    EXPECT_EQ(rpaCenter, a.Alignment);
    EXPECT_EQ(150, a.LineSpacing);
    const TParaInfo& b = *ps.GetItem(doc.GetItemPara(1));
    EXPECT_EQ(rpbSingle, b.Border.Style);
    EXPECT_EQ(2, b.Border.Width);
    EXPECT_TRUE(b.Border.VisibleBorders.IsEqualValues(false, false, false, true));
    EXPECT_EQ(2, b.SpaceAfter);
    EXPECT_EQ(2, b.LeftIndent);
    EXPECT_EQ(rpaJustify, ps.GetItem(doc.GetItemPara(2))->Alignment);
    // A new line keeps the paragraph's style.
    EXPECT_EQ(doc.GetItemPara(2), doc.GetItemPara(3));
}

TEST(RTFImport, BorderConversion) {
    TRPBorder b;
    const double f = 96.0 / 1440.0;
    RPRTFConvertBorder(4, 30, false, f, b);
    EXPECT_EQ(rpbDouble, b.Style);
    EXPECT_EQ(2, b.Width);
    EXPECT_EQ(3, b.InternalWidth);
    RPRTFConvertBorder(12, 60, false, f, b);
    EXPECT_EQ(rpbThickOutside, b.Style);
    EXPECT_EQ(2, b.Width);
    RPRTFConvertBorder(12, 60, true, f, b);
    EXPECT_EQ(rpbThickInside, b.Style);
    RPRTFConvertBorder(7, 500, false, f, b);
    EXPECT_EQ(1, b.Width);
    RPRTFConvertBorder(0, 30, false, f, b);
    EXPECT_EQ(rpbNone, b.Style);
}

TEST(RTFImport, LevelTextFormats) {
    EXPECT_EQ("%s.%1:s", TRPRTFReaderProperties::LevelTextToFormat(std::string("\x03\x00.\x01", 4), 2));
    EXPECT_EQ("%1:s.%0:s", TRPRTFReaderProperties::LevelTextToFormat(std::string("\x03\x01.\x00", 4), 2));
    // A raw percent sign stays a percent sign; a level the list does not have shows nothing.
    EXPECT_EQ("%s%%)", TRPRTFReaderProperties::LevelTextToFormat(std::string("\x04\x00%\x05)", 5), 3));
    EXPECT_EQ("", TRPRTFReaderProperties::LevelTextToFormat("", 9));
    EXPECT_EQ("ab", TRPRTFReaderProperties::LevelTextToFormat("\x09"
                                                              "ab",
                                                              9));
}

TEST(RTFImport, WordListsBecomeListStyles) {
    TImportDoc doc;
    AddIfNeeded(doc);
    const std::string lists =
        "{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}{\\*\\listtable"
        "{\\list\\listid1{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;"
        "}\\li720\\fi-360\\tx720}"
        "{\\listlevel\\levelnfc4\\levelstartat1{\\leveltext\\'03\\'00.\\'01;}\\li1440\\fi-360\\tx1440}}"
        "{\\list\\listid2{\\listlevel\\levelnfc23\\levelstartat1\\f1{\\leveltext\\'01\\u-3913 "
        "?;}\\li720\\fi-360\\tx720}}}"
        "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}{\\listoverride\\listid2\\ls2}"
        "{\\listoverride\\listid77\\ls3}}";
    const int before = doc.Style.ListStyles().Count();
    ASSERT_EQ(
        0, doc.Import("{\\rtf1" + lists +
                      "\\f0\\fs20\\pard\\ls1 one\\par\\pard\\ls1\\ilvl1 sub\\par"
                      "\\pard\\ls2 dot\\par\\pard\\ls3 bad\\par\\pard\\ls1\\ilvl7 deep\\par\\pard plain}"));
    EXPECT_EQ("*one\n*sub\n*dot\nbad\ndeep\nplain", doc.PlainText());
    ASSERT_EQ(before + 2, doc.Style.ListStyles().Count());
    const TRPListInfo& dec = *doc.Style.ListStyles().Items(before);
    ASSERT_EQ(2, dec.Levels.Count());
    EXPECT_EQ(rplstDecimal, dec.Levels.Items(0)->ListType);
    EXPECT_EQ("%s.", dec.Levels.Items(0)->FormatString);
    EXPECT_EQ(48, dec.Levels.Items(0)->LeftIndent);
    EXPECT_EQ(24, dec.Levels.Items(0)->MarkerIndent);
    EXPECT_EQ(0, dec.Levels.Items(0)->FirstIndent);
    EXPECT_EQ(rplstLowerAlpha, dec.Levels.Items(1)->ListType);
    EXPECT_EQ("%s.%1:s", dec.Levels.Items(1)->FormatString);
    // The marker takes the size of the first paragraph's text.
    EXPECT_EQ(10, dec.Levels.Items(0)->Font()->Size);
    const TRPListInfo& bullet = *doc.Style.ListStyles().Items(before + 1);
    EXPECT_EQ(rplstBullet, bullet.Levels.Items(0)->ListType);
    EXPECT_EQ("\xB7", bullet.Levels.Items(0)->FormatString);
    EXPECT_EQ("Symbol", bullet.Levels.Items(0)->Font()->Name);
    auto* m0 = dynamic_cast<TRPMarkerItemInfo*>(doc.GetItem(0));
    auto* m1 = dynamic_cast<TRPMarkerItemInfo*>(doc.GetItem(2));
    ASSERT_TRUE(m0 && m1);
    EXPECT_EQ(before, m0->ListNo);
    EXPECT_EQ(0, m0->Level);
    EXPECT_EQ(1, m1->Level);
    EXPECT_TRUE(doc.GetItem(1)->GetContinuesPrev());
    // The same lists again map to new list styles: a style serves one list per import only...
    ASSERT_EQ(0, doc.Import("{\\rtf1" + lists + "\\f0\\fs20\\pard\\ls1 one\\par}"));
    // ...but an import reuses styles that match and are still free.
    EXPECT_EQ(before + 2, doc.Style.ListStyles().Count());
}

// A bullet level whose text holds the place of a number (Mac word processors
// write a disc so) shows the bullet, not the text around the place; our RTF
// of it reads back as the same bullet.
TEST(RTFImport, BulletLevelWithAPlaceForANumberShowsTheBullet) {
    const auto bulletText = [](TImportDoc& d) {
        std::string text;
        EXPECT_TRUE(d.SaveTextToStream("", text, 80, false, false, true, false));
        return ItemTextToWideStr(text);
    };
    TImportDoc doc;
    AddIfNeeded(doc);
    ASSERT_EQ(
        0, doc.Import("{\\rtf1{\\fonttbl{\\f0 Helvetica;}}{\\*\\listtable{\\list\\listid1"
                      "{\\listlevel\\levelnfc23\\levelstartat1{\\leveltext\\'02\\'05.;}{\\levelnumbers\\'01;}"
                      "\\li720\\fi-360}}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                      "\\f0\\pard\\ls1 disc\\par}"));
    ASSERT_GE(doc.Style.ListStyles().Count(), 1);
    const TRPListLevel& lv =
        *doc.Style.ListStyles().Items(doc.Style.ListStyles().Count() - 1)->Levels.Items(0);
    EXPECT_EQ(rplstUnicodeBullet, lv.ListType);
    EXPECT_EQ(u"\u2022", lv.FormatStringW);
    EXPECT_EQ(u"\u2022 disc", bulletText(doc));
    std::string rtf;
    ASSERT_TRUE(doc.SaveRTFToStream(rtf, false, 0, clWindow, nullptr, nullptr, 0));
    TImportDoc back;
    AddIfNeeded(back);
    ASSERT_EQ(0, back.Import(rtf));
    EXPECT_EQ(u"\u2022 disc", bulletText(back));
}

// Numbers and letters of a level that names no font are in the document's
// default font (in Symbol "a." would be "α."); a bullet without a font is
// the Symbol bullet.
TEST(RTFImport, NumberedLevelsWithoutAFontTakeTheDefaultFont) {
    const auto fonts = [](const TImportDoc& d) {
        std::string s;
        for (int i = 0; i < d.Style.ListStyles().Count(); ++i)
            for (int k = 0; k < d.Style.ListStyles().Items(i)->Levels.Count(); ++k) {
                const TRPListLevel& lv = *d.Style.ListStyles().Items(i)->Levels.Items(k);
                s += std::to_string(int(lv.ListType)) + ":" + (lv.FontIfAny() ? lv.FontIfAny()->Name : "-") +
                     " ";
            }
        return s;
    };
    const std::string lists =
        "{\\*\\listtable{\\list\\listid1"
        "{\\listlevel\\levelnfc4{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}\\li720\\fi-360}"
        "{\\listlevel\\levelnfc2{\\leveltext\\'02\\'01.;}{\\levelnumbers\\'01;}\\li1440\\fi-360}"
        "{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}\\li2160\\fi-360}"
        "{\\listlevel\\levelnfc0\\f2{\\leveltext\\'02\\'03);}\\li2880\\fi-360}}}"
        "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}";
    const std::string paras =
        "\\pard\\ls1 eins\\par\\pard\\ls1\\ilvl1 zwei\\par\\pard\\ls1\\ilvl2 drei\\par}";
    TImportDoc doc;
    AddIfNeeded(doc);
    ASSERT_EQ(
        0, doc.Import("{\\rtf1\\deff1{\\fonttbl{\\f0\\fcharset2 Symbol;}{\\f1 Arial;}{\\f2 Courier New;}}" +
                      lists + paras));
    EXPECT_EQ(fonts(doc), "4:Arial 6:Arial 0:Symbol 3:Courier New ");
    EXPECT_NE(doc.Style.ListStyles().Items(0)->Levels.Items(0)->Font()->Charset, 2);
    // Without a font table: the font of the document's first text style.
    TImportDoc bare;
    AddIfNeeded(bare);
    bare.Style.TextStyles().GetItem(0)->FontName = "Tahoma";
    ASSERT_EQ(0, bare.Import("{\\rtf1" + lists + paras));
    EXPECT_EQ(fonts(bare).substr(0, 19), "4:Tahoma 6:Tahoma 0");
    const auto* marker = dynamic_cast<TRPMarkerItemInfo*>(bare.GetItem(2));
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker->DisplayString, "i.");

    // Word lists of the corpus: every numbered level in the default font.
    for (const char* name : {"rtf/tika/testRTFListMicrosoftWord.rtf", "rtf/pandoc-writer/writer.rtf"}) {
        const QByteArray data = CorpusFile(name);
        if (data.isEmpty()) GTEST_SKIP() << "no corpus beside the sources";
        TImportDoc word;
        AddIfNeeded(word);
        ASSERT_EQ(0, word.Import(data.toStdString())) << name;
        int numbered = 0;
        for (int i = 0; i < word.Style.ListStyles().Count(); ++i)
            for (int k = 0; k < word.Style.ListStyles().Items(i)->Levels.Count(); ++k) {
                const TRPListLevel& lv = *word.Style.ListStyles().Items(i)->Levels.Items(k);
                if (lv.ListType < rplstDecimal || lv.ListType > rplstUpperRoman) continue;
                ++numbered;
                ASSERT_NE(lv.FontIfAny(), nullptr);
                EXPECT_EQ(lv.FontIfAny()->Name,
                          std::string(name).ends_with("writer.rtf") ? "Helvetica" : "Times New Roman")
                    << name << " list " << i << " level " << k;
            }
        EXPECT_GT(numbered, 9) << name;
    }
}

TEST(RTFImport, ListsOnlyWhenStylesMayBeAdded) {
    TImportDoc doc;
    ASSERT_EQ(0, doc.Import("{\\rtf1{\\*\\listtable{\\list\\listid1{\\listlevel{\\leveltext\\'01\\'00;}}}}"
                            "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                            "\\pard\\ls1{\\listtext 1.\\tab}one\\par}"));
    EXPECT_EQ("one", doc.PlainText());
}

TEST(RTFImport, OldStyleNumbering) {
    TImportDoc doc;
    AddIfNeeded(doc);
    const int before = doc.Style.ListStyles().Count();
    ASSERT_EQ(
        0, doc.Import("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Symbol;}}\\f0\\fs24"
                      "{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart1\\pnindent360\\pnf0{\\pntxta .}}"
                      "\\li360\\fi-360 one\\par{\\*\\pn\\pnlvlbody\\pndec\\pnf0{\\pntxta .}}two\\par"
                      "\\pard{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}dot\\par\\pard plain}"));
    EXPECT_EQ("*one\n*two\n*dot\nplain", doc.PlainText());
    ASSERT_EQ(before + 2, doc.Style.ListStyles().Count());
    const TRPListLevel& dec = *doc.Style.ListStyles().Items(before)->Levels.Items(0);
    EXPECT_EQ(rplstDecimal, dec.ListType);
    EXPECT_EQ("%s.", dec.FormatString);
    EXPECT_EQ(24, dec.LeftIndent);
    EXPECT_EQ(0, dec.MarkerIndent);
    auto* m0 = dynamic_cast<TRPMarkerItemInfo*>(doc.GetItem(0));
    auto* m1 = dynamic_cast<TRPMarkerItemInfo*>(doc.GetItem(2));
    ASSERT_TRUE(m0 && m1);
    EXPECT_EQ(before, m0->ListNo);
    EXPECT_EQ(before, m1->ListNo);
    EXPECT_EQ(2, m1->Counter);
    const TRPListLevel& dot = *doc.Style.ListStyles().Items(before + 1)->Levels.Items(0);
    EXPECT_EQ(rplstBullet, dot.ListType);
    EXPECT_EQ("\xB7", dot.FormatString);
}

TEST(RTFImport, Hyperlinks) {
    TImportDoc doc;
    AddIfNeeded(doc);
    doc.Props.BasePath = "base/";
    ASSERT_EQ(0, doc.Import("{\\rtf1{\\fonttbl{\\f0 Arial;}} a{\\field{\\*\\fldinst HYPERLINK "
                            "\"http://x.org/\" \\\\o \"Tip\"}{\\fldrslt link}}"
                            "{\\field{\\*\\fldinst HYPERLINK \"a\\\\\\\\b.htm\"}{\\fldrslt rel}}b}"));
    ASSERT_EQ(4, doc.GetItemCount());
    ASSERT_EQ(2u, doc.Links.size());
    EXPECT_EQ("http://x.org/|link|" + std::to_string(doc.GetItemStyle(1)), doc.Links[0]);
    EXPECT_EQ("base/a\\b.htm|rel|" + std::to_string(doc.GetItemStyle(2)), doc.Links[1]);
    EXPECT_TRUE(doc.Style.TextStyles().GetItem(doc.GetItemStyle(1))->Jump);
    EXPECT_FALSE(doc.Style.TextStyles().GetItem(doc.GetItemStyle(0))->Jump);
    EXPECT_FALSE(doc.Style.TextStyles().GetItem(doc.GetItemStyle(3))->Jump);
    EXPECT_EQ("Tip", doc.GetItem(1)->Hint);
    // The field name is compared upper-cased; the jump style needs the upper-case name.
    doc.Links.clear();
    doc.Props.BasePath.clear();
    ASSERT_EQ(0, doc.Import("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\field{\\*\\fldinst  \\\\hyperlink \"x.htm\"}"
                            "{\\fldrslt low}} {\\field{\\*\\fldinst PAGE}{\\fldrslt 7}}}"));
    ASSERT_EQ(1u, doc.Links.size());
    EXPECT_EQ("x.htm|low|" + std::to_string(doc.GetItemStyle(4)), doc.Links[0]);
    EXPECT_FALSE(doc.Style.TextStyles().GetItem(doc.GetItemStyle(4))->Jump);
}

TEST(RTFImport, Pictures) {
    TImportDoc doc;
    const std::string png = PngHex(3, 2);
    ASSERT_EQ(
        0,
        doc.Import(
            "{\\rtf1 a{\\pict\\pngblip\\picw3\\pich2 " + png +
            "}"
            "{\\*\\shppict{\\pict\\pngblip " +
            png +
            "}}{\\nonshppict{\\pict\\wmetafile8 0100}}"
            "{\\pict\\jpegblip 0001}{\\*\\shppict{\\pict\\pngblip 00}}{\\nonshppict{\\pict\\emfblip 00}}}"));
    EXPECT_EQ("a[pic][pic][pic][pic]", doc.PlainText());
    auto* p1 = dynamic_cast<TRPGraphicItemInfo*>(doc.GetItem(1));
    ASSERT_TRUE(p1 && p1->Image);
    EXPECT_EQ("TPngImage", p1->Image->ClassName().toStdString());
    EXPECT_EQ(3, p1->Image->Width());
    EXPECT_TRUE(doc.GetItem(1)->GetContinuesPrev());
    auto* p2 = dynamic_cast<TRPGraphicItemInfo*>(doc.GetItem(2));
    ASSERT_TRUE(p2 && p2->Image);
    EXPECT_EQ("TPngImage", p2->Image->ClassName().toStdString());
    // Damaged data gives the invalid-picture sign, and the import goes on.
    auto* bad = dynamic_cast<TRPGraphicItemInfo*>(doc.GetItem(3));
    ASSERT_TRUE(bad && bad->Image);
    EXPECT_EQ(20, bad->Image->Width());
    auto* alt = dynamic_cast<TRPGraphicItemInfo*>(doc.GetItem(4));
    ASSERT_TRUE(alt && alt->Image);
    EXPECT_EQ(20, alt->Image->Width());
    TImportDoc none;
    none.Props.IgnorePictures = true;
    ASSERT_EQ(0, none.Import("{\\rtf1 a{\\pict\\pngblip " + png + "}b}"));
    EXPECT_EQ("ab", none.PlainText());
}

// A drawing shape shows its picture (a picture frame's property, or a picture
// in its text box) inline at the shape's place, once: the text box of a picture
// frame, the shape's result and a \nonshppict alternative after it add nothing.
// The text box's own text and formatting stay out, and a shape without a
// picture keeps its result as text.
TEST(RTFImport, PicturesOfDrawingShapes) {
    TImportDoc doc;
    AddIfNeeded(doc);
    const std::string png = PngHex(3, 2), wide = PngHex(5, 4);
    ASSERT_EQ(0,
              doc.Import(
                  "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\pard a{\\shp{\\*\\shpinst\\shpleft0\\shpright45"
                  "{\\sp{\\sn shapeType}{\\sv 75}}{\\sp{\\sn pib}{\\sv {\\pict\\pngblip " +
                  png + "}}}{\\shptxt box {\\pict\\pngblip " + wide + "}\\par}}{\\shprslt{\\pict\\pngblip " +
                  wide +
                  "}}}b\\par\\pard\\qc{\\shpgrp{\\*\\shpinst{\\sp{\\sn groupLeft}{\\sv 0}}"
                  "{\\shp{\\*\\shpinst{\\sp{\\sn shapeType}{\\sv 202}}{\\shptxt\\pard\\plain\\ql "
                  "{\\*\\shppict{\\pict\\pngblip " +
                  wide +
                  "}}{\\nonshppict{\\pict\\wmetafile8 0100}}\\par}}}}{\\shprslt{\\*\\do\\dobxcolumn}}}"
                  "{\\nonshppict{\\pict\\wmetafile8 0100}}c\\par\\pard"
                  "{\\shp{\\*\\shpinst{\\sp{\\sn shapeType}{\\sv 1}}}{\\shprslt d}}e"
                  "\\par\\trowd\\cellx1000\\intbl{\\shp{\\*\\shpinst{\\shptxt\\pard\\plain{\\pict\\pngblip " +
                  png + "}\\par}}}\\cell\\row}"));
    EXPECT_EQ("a[pic]b\n[pic]c\nde\n[pic]|\n", doc.PlainText());
    auto* frame = dynamic_cast<TRPGraphicItemInfo*>(doc.GetItem(1));
    ASSERT_TRUE(frame && frame->Image);
    EXPECT_EQ(3, frame->Image->Width());
    EXPECT_TRUE(frame->GetContinuesPrev());
    auto* boxed = dynamic_cast<TRPGraphicItemInfo*>(doc.GetItem(3));
    ASSERT_TRUE(boxed && boxed->Image);
    EXPECT_EQ(5, boxed->Image->Width());
    // The picture takes the paragraph the shape stands in, not the text box's.
    EXPECT_EQ(rpaCenter, doc.Style.ParaStyles().GetItem(doc.GetItemPara(3))->Alignment);
    ASSERT_NE(nullptr, dynamic_cast<TRPTableItemInfo*>(doc.GetItem(doc.GetItemCount() - 1)));
    // A shape in the result of a shape without a picture stands in the text; a
    // file that ends inside a shape keeps the picture read so far.
    TImportDoc cut;
    EXPECT_EQ(0, cut.Import("{\\rtf1 a{\\shp{\\*\\shpinst}{\\shprslt{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv "
                            "{\\pict\\pngblip " +
                            png + "}}}}}}}}"));
    EXPECT_EQ("a[pic]", cut.PlainText());
    TImportDoc open;
    EXPECT_EQ(3,
              open.Import("{\\rtf1 a{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv {\\pict\\pngblip " + png + "}"));
    EXPECT_EQ("a[pic]", open.PlainText());
}

TEST(RTFImport, PictureSizes) {
    TImportDoc doc;
    // An enhanced metafile header of 100 x 50 units, shown at its goal size scaled by half.
    ASSERT_EQ(0, doc.Import(
                     "{\\rtf1{\\pict\\wmetafile8\\picw2540\\pich2540\\picwgoal1440\\pichgoal1440\\picscalex50"
                     " 010009000003220000000000}}"));
    auto* p = dynamic_cast<TRPGraphicItemInfo*>(doc.GetItem(0));
    ASSERT_TRUE(p);
    EXPECT_EQ(48, p->ImageWidth);
    EXPECT_EQ(96, p->ImageHeight);
}

TEST(RTFImport, DeviceBitmapsAreDecoded) {
    TRPRTFPicture pic;
    pic.Kind = rtfpkDDB;
    pic.PicW = 2;
    pic.PicH = 1;
    pic.BitsPixel = 24;
    pic.WidthBytes = 6;
    pic.Data = std::string("\x00\x00\xFF\xFF\x00\x00", 6);
    TRPRTFGraphicPtr g = RPRTFMakeGraphic(pic);
    ASSERT_TRUE(g);
    const QImage img = g->ToImage();
    EXPECT_EQ(qRgb(255, 0, 0), img.pixel(0, 0) | 0xFF000000);
    EXPECT_EQ(qRgb(0, 0, 255), img.pixel(1, 0) | 0xFF000000);
    pic.Data.resize(5);
    EXPECT_FALSE(RPRTFMakeGraphic(pic));
}

TEST(RTFImport, ResultsAndRefusals) {
    TImportDoc doc;
    EXPECT_EQ(8, doc.Props.ReadRTFFile("/nonexistent/x.rtf", &doc));
    EXPECT_EQ(0, doc.GetItemCount());
    // Items before a failure stay.
    EXPECT_EQ(3, doc.Import("{\\rtf1 a\\par b"));
    EXPECT_EQ("a\nb", doc.PlainText());
    TImportDoc refuse;
    refuse.RefuseFirst = true;
    EXPECT_EQ(9, refuse.Import("{\\rtf1 a\\par b}"));
    EXPECT_EQ(0, refuse.GetItemCount());
}

TEST(RTFImport, InsertingKeepsItemsAround) {
    TImportDoc doc;
    ASSERT_EQ(0, doc.Import("{\\rtf1 first\\par last}"));
    QByteArray data("{\\rtf1 x\\par y}");
    QBuffer buf(&data);
    buf.open(QIODevice::ReadOnly);
    int index = 1;
    ASSERT_EQ(0, doc.Props.InsertRTFFromStream(buf, &doc, index));
    EXPECT_EQ(2, index);
    EXPECT_EQ("first\nx\ny\nlast", doc.PlainText());
}

TEST(RTFImport, DocumentLoadsThroughItsEntry) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("p.rtf");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\\rtf1 Seite\\par zwei}");
    f.close();
    TImportDoc doc;
    doc.AddText("vorher", 0, 0);
    EXPECT_EQ(0, doc.LoadRTF(path.toStdString()));
    EXPECT_EQ("vorher\nSeite\nzwei", doc.PlainText());
    EXPECT_EQ(8, doc.LoadRTF((path + "x").toStdString()));
}

TEST(RTFImport, EveryPrefixImports) {
    const std::string rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}{\\colortbl;\\red255;}"
        "{\\*\\listtable{\\list\\listid5{\\listlevel\\levelnfc23\\f1{\\leveltext\\'01\\u-3913 ?;}\\li720}}}"
        "{\\*\\listoverridetable{\\listoverride\\listid5\\ls1}}\\pard\\ls1 item\\par"
        "{\\pn\\pnlvlbody\\pndec\\pnf0{\\pntxta .}}x\\par\\pard\\brdrt\\brdrs\\cf1\\b y\\line z\\page"
        "{\\field{\\*\\fldinst HYPERLINK \"u\"}{\\fldrslt link}}\\trowd\\cellx1000\\intbl c\\cell\\row"
        "{\\*\\shppict{\\pict\\pngblip 89}}{\\nonshppict{\\pict\\dibitmap0 0102}}\\u66?\\'41}";
    for (size_t n = 0; n <= rtf.size(); ++n) {
        TImportDoc doc;
        AddIfNeeded(doc);
        const uint8_t r = doc.Import(rtf.substr(0, n));
        EXPECT_TRUE(r == 0 || r == 3 || r == 7) << n << " -> " << int(r);
        for (int i = 0; i < doc.GetItemCount(); ++i)
            ASSERT_TRUE(doc.GetItem(i)) << n;
    }
}

TEST(RTFImport, EqualListsGetStylesOfTheirOwn) {
    TImportDoc doc;
    AddIfNeeded(doc);
    const std::string list =
        "{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}\\li720\\fi-360\\tx720}";
    ASSERT_EQ(
        0, doc.Import("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\*\\listtable{\\list\\listid1" + list +
                      "}{\\list\\listid2" + list +
                      "}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}{\\listoverride\\listid2\\ls2}}"
                      "\\pard\\ls1 a\\par\\pard\\ls2 b\\par\\pard\\ls1 c\\par}"));
    auto* a = dynamic_cast<TRPMarkerItemInfo*>(doc.GetItem(0));
    auto* b = dynamic_cast<TRPMarkerItemInfo*>(doc.GetItem(2));
    auto* c = dynamic_cast<TRPMarkerItemInfo*>(doc.GetItem(4));
    ASSERT_TRUE(a && b && c);
    EXPECT_NE(a->ListNo, b->ListNo);
    EXPECT_EQ(a->ListNo, c->ListNo);
    EXPECT_EQ(1, b->Counter);
    EXPECT_EQ(2, c->Counter);
}

TEST(RTFImport, SettingsAndTheirCopy) {
    TRPRTFReaderProperties p;
    EXPECT_EQ(rprsUseClosest, p.TextStyleMode);
    EXPECT_EQ(rprsUseClosest, p.ParaStyleMode);
    EXPECT_TRUE(p.SkipHiddenText);
    EXPECT_EQ(rtfhlColorTable, p.ConvertHighlight);
    p.SetTextStyleNo(3);
    try {
        p.SetTextStyleNo(-1);
        ADD_FAILURE() << "no exception";
    } catch (const ERichPadError& e) {
        EXPECT_STREQ("Value must not be negative", e.what());
    }
    EXPECT_EQ(3, p.TextStyleNo());
    EXPECT_THROW(p.SetParaStyleNo(-5), ERichPadError);
    EXPECT_EQ(0, p.ParaStyleNo());

    TRPRTFReaderProperties src;
    src.UnicodeMode = rpruOnlyUnicode;
    src.TextStyleMode = rprsAddIfNeeded;
    src.ParaStyleMode = rprsUseSpecified;
    src.IgnorePictures = true;
    src.UseHypertextStyles = true;
    src.SetTextStyleNo(4);
    src.SetParaStyleNo(2);
    src.SkipHiddenText = false;
    src.LineBreaksAsParagraphs = true;
    src.ConvertHighlight = rtfhlIgnore;
    p.Assign(src);
    EXPECT_EQ(rpruOnlyUnicode, p.UnicodeMode);
    EXPECT_EQ(rprsAddIfNeeded, p.TextStyleMode);
    EXPECT_EQ(rprsUseSpecified, p.ParaStyleMode);
    EXPECT_TRUE(p.IgnorePictures);
    EXPECT_TRUE(p.UseHypertextStyles);
    EXPECT_EQ(4, p.TextStyleNo());
    EXPECT_EQ(2, p.ParaStyleNo());
    // The other settings are not part of the copy.
    EXPECT_TRUE(p.SkipHiddenText);
    EXPECT_FALSE(p.LineBreaksAsParagraphs);
    EXPECT_EQ(rtfhlColorTable, p.ConvertHighlight);
}

TEST(RTFImport, FileWithoutFontTableKeepsCharacterFormats) {
    TImportDoc doc;
    AddIfNeeded(doc);
    ASSERT_EQ(0, doc.Import("{\\rtf1\\ansi This is {\\b bold} and \\fs40 big\\par}"));
    ASSERT_EQ(4, doc.GetItemCount());
    EXPECT_EQ("This is bold and big", doc.PlainText());
    const TFontInfos& ts = doc.Style.TextStyles();
    const TFontInfo& plain = *ts.GetItem(doc.GetItemStyle(0));
    const TFontInfo& bold = *ts.GetItem(doc.GetItemStyle(1));
    const TFontInfo& big = *ts.GetItem(doc.GetItemStyle(3));
    // The document's default font stands in for the missing table.
    EXPECT_EQ(ts.GetItem(0)->FontName, plain.FontName);
    EXPECT_EQ(12, plain.Size);
    EXPECT_EQ(0, plain.Style);
    EXPECT_EQ(12, bold.Size);
    EXPECT_EQ(RPFontStyle::Bold, bold.Style);
    EXPECT_EQ(20, big.Size);
    EXPECT_EQ(0, big.Style);
    EXPECT_EQ(doc.GetItemStyle(0), doc.GetItemStyle(2));

    // In a longer file, with \deff and no table, every property still counts.
    TImportDoc longer;
    AddIfNeeded(longer);
    ASSERT_EQ(0, longer.Import("{\\rtf1\\ansi\\ansicpg1251\\deff0 {\\i one}\\par\\pard\\qc two {\\ul\\fs16 "
                               "three}\\par\\plain \\'c1\\'e0}"));
    EXPECT_EQ("one\ntwo three\n\xD0\x91\xD0\xB0", longer.PlainText());
    const TFontInfos& lt = longer.Style.TextStyles();
    EXPECT_EQ(RPFontStyle::Italic, lt.GetItem(longer.GetItemStyle(0))->Style);
    EXPECT_EQ(rpaCenter, longer.Style.ParaStyles().GetItem(longer.GetItemPara(1))->Alignment);
    const TFontInfo& three = *lt.GetItem(longer.GetItemStyle(2));
    EXPECT_EQ(8, three.Size);
    EXPECT_EQ(RPFontStyle::Underline, three.Style);
    EXPECT_EQ(204, lt.GetItem(longer.GetItemStyle(3))->Charset);
}

TEST(RTFImport, ParagraphPropertiesGivenBeforeTheParagraphEnd) {
    TImportDoc doc;
    AddIfNeeded(doc);
    ASSERT_EQ(0, doc.Import("{\\rtf1{\\fonttbl{\\f0 Arial;}} text\\qc\\li720\\par}"));
    ASSERT_EQ(1, doc.GetItemCount());
    const TParaInfo& p = *doc.Style.ParaStyles().GetItem(doc.GetItemPara(0));
    EXPECT_EQ(rpaCenter, p.Alignment);
    EXPECT_EQ(48, p.LeftIndent);

    // Every run of the paragraph takes its style and keeps its own character
    // formats; the properties stay for the next paragraph until \pard.
    TImportDoc longer;
    AddIfNeeded(longer);
    ASSERT_EQ(0, longer.Import("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 one {\\b two}\\qc\\li720\\par three\\par"
                               "\\pard four\\ri720\\par {\\i five}\\par\\pard six}"));
    EXPECT_EQ("one two\nthree\nfour\nfive\nsix", longer.PlainText());
    const TParaInfos& ps = longer.Style.ParaStyles();
    auto para = [&](int i) -> const TParaInfo& { return *ps.GetItem(longer.GetItemPara(i)); };
    for (int i : {0, 1, 2}) {
        EXPECT_EQ(rpaCenter, para(i).Alignment) << i;
        EXPECT_EQ(48, para(i).LeftIndent) << i;
    }
    EXPECT_EQ(RPFontStyle::Bold, longer.Style.TextStyles().GetItem(longer.GetItemStyle(1))->Style);
    for (int i : {3, 4}) {
        EXPECT_EQ(rpaLeft, para(i).Alignment) << i;
        EXPECT_EQ(0, para(i).LeftIndent) << i;
        EXPECT_EQ(48, para(i).RightIndent) << i;
    }
    EXPECT_EQ(RPFontStyle::Italic, longer.Style.TextStyles().GetItem(longer.GetItemStyle(4))->Style);
    EXPECT_EQ(0, para(5).RightIndent);
    EXPECT_EQ(longer.GetItemPara(0), longer.GetItemPara(2));
    // Styles were looked up again at the end, not added for every paragraph.
    const int styles = ps.Count();
    ASSERT_EQ(0, longer.Import("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 again\\qc\\li720\\par}"));
    EXPECT_EQ(styles, ps.Count());
    EXPECT_EQ(longer.GetItemPara(0), longer.GetItemPara(6));

    // A list paragraph: the marker goes with its text.
    TImportDoc list;
    AddIfNeeded(list);
    ASSERT_EQ(0, list.Import("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\*\\listtable{\\list\\listid1{\\listlevel"
                             "\\levelnfc0{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}}}"
                             "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                             "\\f0\\pard\\ls1 item\\qr\\par}"));
    ASSERT_EQ(2, list.GetItemCount());
    EXPECT_EQ(rpsnListMarker, list.GetItemStyle(0));
    EXPECT_EQ(list.GetItemPara(0), list.GetItemPara(1));
    EXPECT_EQ(rpaRight, list.Style.ParaStyles().GetItem(list.GetItemPara(1))->Alignment);

    // Closest styles: the late alignment picks a centred style of the document.
    TImportDoc closest;
    const int count = closest.Style.ParaStyles().Count();
    ASSERT_EQ(0, closest.Import("{\\rtf1{\\fonttbl{\\f0 Arial;}} a\\qc\\par\\pard b\\par}"));
    EXPECT_EQ(rpaCenter, closest.Style.ParaStyles().GetItem(closest.GetItemPara(0))->Alignment);
    EXPECT_EQ(rpaLeft, closest.Style.ParaStyles().GetItem(closest.GetItemPara(1))->Alignment);
    EXPECT_EQ(count, closest.Style.ParaStyles().Count());
}

TEST(RTFImport, FontsWithoutCharsetUseTheDocumentCodePage) {
    TImportDoc doc;
    AddIfNeeded(doc);
    ASSERT_EQ(0, doc.Import("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset0 Arial;}}"
                            "\\f0 \\'c1\\'e0 {\\f1 \\'c1\\'e0}}"));
    // A charset given in the table wins over the code page.
    EXPECT_EQ("\xD0\x91\xD0\xB0 \xC3\x81\xC3\xA0", doc.PlainText());
    EXPECT_EQ(204, doc.Style.TextStyles().GetItem(doc.GetItemStyle(0))->Charset);

    // A style with the default charset reads as code page 1252 and so serves
    // 1252 text only.
    TImportDoc styled;
    AddIfNeeded(styled);
    TFontInfo* f = styled.Style.TextStyles().Add();
    f->FontName = "Arial";
    f->Size = 12;
    const int defaultCharsetNo = styled.Style.TextStyles().Count() - 1;
    ASSERT_EQ(0, styled.Import("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 \\'c1\\par}"));
    EXPECT_EQ(defaultCharsetNo, styled.GetItemStyle(0));
    ASSERT_EQ(0, styled.Import("{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0 Arial;}}\\f0 \\'a3\\par}"));
    EXPECT_NE(defaultCharsetNo, styled.GetItemStyle(1));
    EXPECT_EQ("\xC3\x81\n\xC5\x81", styled.PlainText());
}

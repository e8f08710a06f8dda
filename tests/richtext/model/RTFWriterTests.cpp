// RTF output: the exact bytes of small documents, the paragraph, list,
// picture, bookmark and link rules, ranges and selections.
#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "WriterRoundTrip.h"
#include "platform/ImageList.h"
#include "platform/MetafileCanvas.h"
#include "richtext/model/RPRTFWriter.h"

using namespace std::string_literals;

namespace {

// The colour table of the default styles: the automatic colour and the 16 fixed ones.
const std::string ColorTable =
    "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green255\\blue255;\\red0\\green255\\blue0;"
    "\\red255\\green0\\blue255;\\red255\\green0\\blue0;\\red255\\green255\\blue0;\\red255\\green255\\blue255;"
    "\\red0\\green0\\blue128;\\red0\\green128\\blue128;\\red0\\green128\\blue0;\\red128\\green0\\blue128;"
    "\\red128\\green0\\blue0;\\red128\\green128\\blue0;\\red128\\green128\\blue128;\\red192\\green192\\blue192;}";

const std::string Header = "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0\\deflang1024\\deflangfe1024"
                           "{\\fonttbl{\\f0\\fnil\\fcharset1\\cpg1252 Arial;}}" +
                           ColorTable + "\r\n\r\n";

const std::string Para = "\\pard\\fi0\\li0\\ql\\ri0\\sb0\\sa0\\itap0 ";

class RTFWriter : public ::testing::Test {
protected:
    void SetUp() override {
        FOldSource = RPRTFListIdSource();
        RPRTFListIdSource() = [this] { return ++FNextId; };
    }
    void TearDown() override { RPRTFListIdSource() = FOldSource; }

    // The document after the header and "\uc1".
    std::string Body(TWriterDoc& d) {
        const std::string s = d.RTF();
        const size_t at = s.find("\\uc1\r\n");
        return at == std::string::npos ? s : s.substr(at + 6);
    }
    TRPMarkerItemInfo* AddMarker(TWriterDoc& d, int ListNo, int Level, bool Reset = false, int StartFrom = 1) {
        auto m = TRPMarkerItemInfo::CreateEx(&d, ListNo, Level, StartFrom, Reset);
        TRPMarkerItemInfo* p = m.get();
        d.AddItem("", std::move(m));
        d.AddMarkerInList(d.GetItemCount() - 1);
        return p;
    }

private:
    std::function<int32_t()> FOldSource;
    int32_t FNextId = 100;
};

} // namespace

TEST_F(RTFWriter, SmallDocumentsToTheByte) {
    TWriterDoc empty;
    EXPECT_EQ(empty.RTF(), "");

    TWriterDoc d;
    d.AddText("Hallo", 0, 0);
    EXPECT_EQ(d.RTF(), Header + "\\uc1\r\n" + Para + "\\plain \\f0\\fs20 Hallo}");

    // Indents, spacing and 150 % line spacing, in twips (15 per pixel).
    TWriterDoc p;
    TParaInfo* ps = p.Style.ParaStyles().Add();
    ps->LeftIndent = 20;
    ps->FirstIndent = -10;
    ps->RightIndent = 4;
    ps->SpaceBefore = 2;
    ps->SpaceAfter = 6;
    ps->LineSpacing = 150;
    ps->Alignment = rpaJustify;
    p.AddText("x", 0, 2);
    EXPECT_EQ(Body(p), "\\pard\\sl360\\slmult1\\fi-150\\li300\\qj\\ri60\\sb30\\sa90\\itap0 \\plain \\f0\\fs20 x}");

    // Braces and backslashes of 8-bit text are escaped, high characters as hex.
    TWriterDoc b;
    b.AddText("a{b}c\\d \xE4", 0, 0);
    EXPECT_EQ(Body(b), Para + "\\plain \\f0\\fs20 a\\{b\\}c\\\\d \\'e4}");
}

TEST_F(RTFWriter, UnicodeTextInBothModes) {
    TWriterDoc d;
    d.Style.TextStyles().GetItem(0)->Unicode = true;
    d.AddText(WideStrToItemText(u"\u20AC\u00E4"), 0, 0);
    ASSERT_TRUE(d.GetItem(0)->IsUnicode());
    // With the ANSI copy (the view's setting) every character is followed by its 8-bit form.
    std::string s = d.RTF();
    EXPECT_NE(s.find("\\uc1\r\n" + Para + "\\plain \\f0\\fs20 \\u8364 \\'80\\u228 \\'e4}"), std::string::npos) << s;
    d.RTFOpts &= static_cast<TRPRTFOptions>(~rprtfDuplicateUnicode);
    s = d.RTF();
    EXPECT_NE(s.find("\\uc0\r\n" + Para + "\\plain \\f0\\fs20 \\u8364 \\u228 }"), std::string::npos) << s;
    // A character the code page lacks: "?" as its copy.
    d.RTFOpts |= rprtfDuplicateUnicode;
    d.Items->Put(0, WideStrToItemText(u"\u4E00"));
    EXPECT_EQ(Body(d), Para + "\\plain \\f0\\fs20 \\u19968 ?}");
}

TEST_F(RTFWriter, ParagraphsBreaksAndRules) {
    TWriterDoc d;
    d.AddText("one", 0, 0);
    d.AddText("two", 1, -1);                  // same line
    d.AddNL("", 0, 0);                        // a new paragraph
    d.GetItem(2)->SetLineBreakBefore(true);   // ... made a line break
    d.AddText("three", 0, 0);
    d.GetItem(3)->SetPageBreakBefore(true);
    auto rule = CreateItemByStyleNo(&d, rpsnBreak);
    static_cast<TRPBreakItemInfo*>(rule.get())->LineWidth = 2;
    rule->SetPageBreakBefore(true);
    d.AddItem("", std::move(rule));
    d.AddText("four", 0, 0);
    EXPECT_EQ(Body(d), Para + "\\plain \\f0\\fs20 one\\plain \\f0\\b\\fs20\\cf2 two\r\n"
                              "\\line\\plain \\f0\\fs20 \r\n"
                              "\\par\\page" + Para + "\\plain \\f0\\fs20 three\r\n"
                              "\\page\\par" + Para + "\\pard\\plain\\fs6\\brdrb\\brdrs\\brdrw30\\brdrcf0\\par\\pard\r\n"
                              "\\par" + Para + "\\plain \\f0\\fs20 four}");
}

TEST_F(RTFWriter, CharacterProperties) {
    TWriterDoc d;
    TFontInfo* f = d.Style.TextStyles().GetItem(1);
    f->VShift = 30;
    f->CharScale = 80;
    f->CharSpacing = 2;
    f->StyleEx = rpfsAllCaps;
    f->BackColor = 0x00FFFF;
    f->Style |= RPFontStyle::Italic | RPFontStyle::StrikeOut;
    d.AddText("x", 1, 0);
    // A raised 10-point run is written at 40 half-points and ends its raise.
    EXPECT_EQ(Body(d), Para + "\\plain \\f0\\b\\i\\strike\\super\\charscalex80\\expndtw30\\caps\\fs40\\chcbpat7\\cf2 "
                              "x\\nosupersub}");
}

TEST_F(RTFWriter, BookmarksAndLinks) {
    TWriterDoc d;
    d.AddCheckpoint("Kapitel 1", false, TRPTag());
    d.AddText("a", 0, 0);
    d.AddCheckpoint("", false, TRPTag());
    d.AddText("b", 0, 0);
    d.AddCheckpoint("", false, TRPTag());
    d.AddText("c", 0, 0);
    d.AddTextTag("Link", 4, 0, TRPTag::FromText("C:\\x\\\"y\".rtf"));
    d.AddTextTag("Datei", 4, 0, TRPTag::FromText("C:\\Logbuch\\Seite 2.rtf"));
    d.AddTextTag("none", 4, -1, TRPTag());
    const std::string s = Body(d);
    // Names are made identifiers; unnamed ones count every bookmark before them.
    EXPECT_NE(s.find("{\\*\\bkmkstart Kapitel_1}{\\*\\bkmkend Kapitel_1}"), std::string::npos) << s;
    EXPECT_NE(s.find("{\\*\\bkmkstart RichPadCheckpoint1}"), std::string::npos) << s;
    EXPECT_NE(s.find("{\\*\\bkmkstart RichPadCheckpoint2}"), std::string::npos) << s;
    // Quotes and backslashes of a target are escaped for the field, then for RTF.
    EXPECT_NE(s.find("{\\field{\\*\\fldinst HYPERLINK \"C:\\\\\\\\x\\\\\\\\\\\\\"y\\\\\".rtf\"}{\\fldrslt\\plain \\f0\\ul\\fs20\\cf11 "
                     "Link}}"),
              std::string::npos)
        << s;
    // A jump without target or extras is plain text.
    EXPECT_NE(s.find("\\cf11 none}"), std::string::npos) << s;

    // Our reader gets a target with backslashes back.
    TWriterDoc back;
    back.Props.UseHypertextStyles = true;
    back.Props.TextStyleMode = rprsAddIfNeeded;
    ASSERT_EQ(back.ImportRTF(d.RTF()), 0);
    std::string target;
    for (int i = 0; i < back.GetItemCount(); ++i)
        if (ItemUtf8(back, i) == "Datei") target = back.GetItemTag(i).Text.value_or("");
    EXPECT_EQ(target, "C:\\Logbuch\\Seite 2.rtf");
}

TEST_F(RTFWriter, FontNamesAreEscaped) {
    TWriterDoc d;
    d.Style.TextStyles().GetItem(0)->FontName = "Bad;{Font}\\";
    d.Style.TextStyles().GetItem(0)->Charset = 0;
    d.AddText("x", 0, 0);
    EXPECT_NE(d.RTF().find("{\\fonttbl{\\f0\\fnil\\fcharset0 Bad\\'3b\\{Font\\}\\\\;}{\\f1"), std::string::npos)
        << d.RTF();
}

// A restart of a sub-level lasts until the list goes back above that level.
TEST_F(RTFWriter, RestartOfASubLevelEndsAboveIt) {
    TWriterDoc d;
    TRPListInfo* numbered = d.Style.ListStyles().Add();
    for (int k = 0; k < 2; ++k) {
        TRPListLevel* l = numbered->Levels.Add();
        l->ListType = rplstDecimal;
        l->FormatString = k == 0 ? "%s." : "%s.%1:s";
        l->Options = rploLevelReset;
    }
    const char* texts[] = {"a", "x", "y", "b", "z"};
    const int levels[] = {0, 1, 1, 0, 1};
    for (int i = 0; i < 5; ++i) {
        AddMarker(d, 0, levels[i], i == 1, 4);
        d.AddText(texts[i], 0, -1);
    }
    const std::string s = d.RTF();
    std::string used;
    for (size_t p = s.find("\\tab}\\ls"); p != std::string::npos; p = s.find("\\tab}\\ls", p + 1))
        used += s.substr(p + 8, s.find("\\", p + 8) - p - 8) + " ";
    EXPECT_EQ(used, "1 2 2 1 1 ");
    TWriterDoc back;
    back.AddStylesOnImport();
    ASSERT_EQ(back.ImportRTF(s), 0);
    EXPECT_EQ(FirstDifference(d, back), "");
}

TEST_F(RTFWriter, ListsAndRestartedNumbering) {
    TWriterDoc d;
    TRPListInfo* numbered = d.Style.ListStyles().Add();
    for (int k = 0; k < 3; ++k) {
        TRPListLevel* l = numbered->Levels.Add();
        l->ListType = k == 1 ? rplstLowerAlpha : rplstDecimal;
        l->FormatString = k == 0 ? "%s." : k == 1 ? "%s.%1:s)" : "%2:s";
        l->LeftIndent = 24 * (k + 1);
        l->FirstIndent = -12;
        l->Options = rploLevelReset | rploLegalStyleNumbering;
    }
    TRPListInfo* bullets = d.Style.ListStyles().Add();
    TRPListLevel* bl = bullets->Levels.Add();
    bl->Font()->Name = "Symbol";
    bl->Font()->Charset = 2;
    TRPListInfo* third = d.Style.ListStyles().Add();
    third->Levels.Add()->ListType = rplstDecimal;
    third->Levels[0]->FormatString = "%s";

    AddMarker(d, 0, 0);
    d.AddText("a", 0, -1);
    AddMarker(d, 1, 0, true); // a restarting bullet takes no override
    d.AddText("b", 0, -1);
    AddMarker(d, 0, 0, true, 5); // a restarting number does
    d.AddText("c", 0, -1);
    AddMarker(d, 0, 1);
    d.AddText("d", 0, -1);
    AddMarker(d, 2, 0);
    d.AddText("e", 0, -1);
    d.AddText("after", 0, 0);

    const std::string s = d.RTF();
    // Three levels become nine, copies of the last; one level is a simple list.
    EXPECT_NE(s.find("{\\list\\listtemplateid101\r\n"
                     "{\\listlevel\\levelnfc0\\leveljc0\\li360\\fi-360\\jclisttab\\tx180\\levelstartat1\\levellegal1"
                     "{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}\\f0\\fs16}\r\n"
                     "{\\listlevel\\levelnfc4\\leveljc0\\li720\\fi-720\\jclisttab\\tx540\\levelstartat1\\levellegal1"
                     "{\\leveltext\\'04\\'00.\\'01);}{\\levelnumbers\\'01\\'03;}\\f0\\fs16}\r\n"),
              std::string::npos)
        << s;
    size_t levels = 0;
    for (size_t p = s.find("{\\listlevel"); p != std::string::npos; p = s.find("{\\listlevel", p + 1))
        ++levels;
    EXPECT_EQ(levels, 9u + 1 + 1);
    EXPECT_NE(s.find("\\listid102}\r\n{\\list\\listtemplateid103\\listsimple1\r\n"), std::string::npos);
    // The overrides: list 1 (1), its restart (2), the bullets (3), the third list (4).
    EXPECT_NE(s.find("{\\*\\listoverridetable\r\n"
                     "{\\listoverride\\listid102\\listoverridecount0\\ls1}\r\n"
                     "{\\listoverride\\listid102\\listoverridecount1{\\lfolevel\\listoverridestartat\\levelstartat5}"
                     "\\ls2}\r\n"
                     "{\\listoverride\\listid104\\listoverridecount0\\ls3}\r\n"
                     "{\\listoverride\\listid106\\listoverridecount0\\ls4}\r\n}"),
              std::string::npos)
        << s;
    EXPECT_NE(s.find("{\\listtext\\pard\\plain\\f0\\fs16 1.\\tab}\\ls1\\ilvl0"), std::string::npos) << s;
    EXPECT_NE(s.find("{\\listtext\\pard\\plain\\f1\\fs16\\lang1024 \\'b7\\tab}\\ls3\\ilvl0"), std::string::npos) << s;
    EXPECT_NE(s.find("{\\listtext\\pard\\plain\\f0\\fs16 5.\\tab}\\ls2\\ilvl0"), std::string::npos) << s;
    // The markers after a restart go on in its override.
    EXPECT_NE(s.find("{\\listtext\\pard\\plain\\f0\\fs16 5.a)\\tab}\\ls2\\ilvl1"), std::string::npos) << s;
    EXPECT_NE(s.find("{\\listtext\\pard\\plain\\f0\\fs16 1\\tab}\\ls4\\ilvl0"), std::string::npos) << s;
    // A list paragraph takes the level's indents; the paragraph after it starts with \plain\par.
    EXPECT_NE(s.find("\\pard\\li720\\fi-720\\jclisttab\\tx540\\ql"), std::string::npos) << s;
    EXPECT_NE(s.find("e\r\n\\plain\\par" + Para + "\\plain \\f0\\fs20 after}"), std::string::npos) << s;

    // Our reader numbers them as they were.
    TWriterDoc back;
    back.AddStylesOnImport();
    ASSERT_EQ(back.ImportRTF(s), 0);
    EXPECT_EQ(FirstDifference(d, back), "");
}

TEST_F(RTFWriter, LevelTextsLongerThanAByte) {
    TWriterDoc d;
    TRPListLevel* l = d.Style.ListStyles().Add()->Levels.Add();
    l->FormatString = std::string(300, 'A');
    AddMarker(d, 0, 0);
    d.AddText("x", 0, -1);
    EXPECT_NE(d.RTF().find("{\\leveltext\\'FF" + std::string(255, 'A') + ";}"), std::string::npos);
}

TEST_F(RTFWriter, Pictures) {
    // A bitmap one row high gives its width as row size; taller ones their
    // padded row size, whichever way round the rows lie.
    for (const auto& [w, h, stride] : {std::tuple{3, 1, 3}, std::tuple{3, 2, 12}}) {
        TBitmap b(w, h);
        b.SetPixelFormat(pf24bit);
        std::string s;
        SaveGraphicToRTF(s, &b, 0, 0, 0, 15);
        const std::string head = "{\\pict\\dibitmap0\\wbmwidthbytes" + std::to_string(stride) + "\\picw" +
                                 std::to_string(w) + "\\pich" + std::to_string(h) + "\\picwgoal" +
                                 std::to_string(w * 15) + "\\pichgoal" + std::to_string(h * 15) + " 28000000";
        EXPECT_EQ(s.substr(0, head.size()), head) << s.substr(0, 120);
        EXPECT_EQ(s.back(), '}');
    }
    // A set size scales the picture.
    TBitmap b(40, 20);
    std::string s;
    SaveGraphicToRTF(s, &b, 60, 10, 0, 15);
    EXPECT_EQ(s.substr(0, 36), "{\\pict\\picscalex150\\picscaley50\\dibi");

    // Metafiles go back as the bytes they were read as (the placeable header left out).
    TWriterDoc d;
    const std::string wmf = "010009000003" "0C000000" "0000" "03000000" "0000" "030000000000";
    const std::string rtf = "{\\rtf1\\ansi{\\pict\\wmetafile8\\picw2540\\pich1270 " + wmf + "}}";
    d.Props.TextStyleMode = rprsAddIfNeeded;
    ASSERT_EQ(d.ImportRTF(rtf), 0);
    ASSERT_EQ(d.GetItemCount(), 1);
    EXPECT_NE(d.RTF().find("\\wmetafile8\\picw2540\\pich1270 " + wmf + "}"), std::string::npos)
        << d.RTF();
    // An image of an image list outside the list writes nothing.
    TCustomImageList list(nullptr);
    list.SetSize(4, 4);
    std::string none;
    SaveImageListImageToRTF(none, &list, 0, 0, 15);
    EXPECT_EQ(none, "");
}

TEST_F(RTFWriter, EveryPictureClassComesBackFromOurReaderAtItsSize) {
    // An enhanced metafile with a red box, a JPEG and an image-list image.
    TMetafile emf;
    emf.SetWidth(60);
    emf.SetHeight(30);
    emf.SetEnhanced(true);
    {
        TMetafileCanvas c(&emf);
        c.Brush()->SetColor(clRed);
        c.Rectangle(0, 0, 60, 30);
    }
    TBitmap grey(40, 20);
    grey.Canvas()->Brush()->SetColor(clGray);
    grey.Canvas()->FillRect(Rect(0, 0, 40, 20));
    TJPEGImage jpeg;
    jpeg.Assign(grey);
    TCustomImageList list(nullptr);
    list.SetSize(16, 16);
    TBitmap blue(16, 16);
    blue.Canvas()->Brush()->SetColor(clBlue);
    blue.Canvas()->FillRect(Rect(0, 0, 16, 16));
    ASSERT_EQ(list.Add(&blue, nullptr), 0);

    struct TCase {
        TRPRTFOptions Options;
        const char* Metafile;
        const char* Jpeg;
        const char* Bullet;
    };
    const TCase cases[] = {
        {rprtfDuplicateUnicode | rprtfSaveEMFAsWMF | rprtfSaveJpegAsJpeg, "\\wmetafile8\\picw1588\\pich794 ",
         "\\jpegblip\\picw40\\pich20 ", "\\wmetafile1\\picw16\\pich16\\picwgoal240\\pichgoal240 "},
        {0, "\\emfblip\\picw1588\\pich794 ", "\\wmetafile1\\picw40\\pich20\\picwgoal600\\pichgoal300 ",
         "\\wmetafile1\\picw16"},
        {rprtfSaveEMFDefault, "\\emfblip", "\\emfblip\\picw1058\\pich529 ", "\\wmetafile1"},
        {rprtfSaveBitmapDefault, "\\emfblip", "\\dibitmap0", "\\dibitmap0"},
    };
    for (const TCase& c : cases) {
        TWriterDoc d;
        d.RTFOpts = c.Options;
        d.AddPicture("m", emf.Clone(), 0, 0, TRPTag{});
        d.AddPicture("j", jpeg.Clone(), 0, 0, TRPTag{});
        auto bullet = std::make_unique<TRPBulletItemInfo>(&d);
        bullet->StyleNo = rpsnBullet;
        bullet->ImageList = &list;
        d.AddItem("", std::move(bullet));
        const std::string rtf = d.RTF();
        size_t at = 0;
        for (const char* keyword : {c.Metafile, c.Jpeg, c.Bullet}) {
            at = rtf.find(std::string("{\\pict") + keyword, at);
            ASSERT_NE(at, std::string::npos) << keyword << " in options " << int(c.Options) << "\n"
                                             << rtf.substr(rtf.size() - 300);
        }

        TWriterDoc back;
        ASSERT_EQ(back.ImportRTF(rtf), 0) << c.Options;
        std::vector<const TGraphic*> pictures;
        for (int i = 0; i < back.GetItemCount(); ++i)
            if (auto* g = dynamic_cast<TRPGraphicItemInfo*>(back.GetItem(i)); g && g->Image)
                pictures.push_back(g->Image.get());
        ASSERT_EQ(pictures.size(), 3u) << c.Options;
        const TSize sizes[] = {{60, 30}, {40, 20}, {16, 16}};
        const QRgb inks[] = {qRgb(255, 0, 0), qRgb(128, 128, 128), qRgb(0, 0, 255)};
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(TSize({pictures[i]->Width(), pictures[i]->Height()}), sizes[i])
                << c.Options << " " << i;
            // Each draws its own colour in the middle.
            const QImage img = pictures[i]->ToImage();
            ASSERT_FALSE(img.isNull());
            const QRgb mid = img.pixel(img.width() / 2, img.height() / 2);
            EXPECT_LE(std::abs(qRed(mid) - qRed(inks[i])) + std::abs(qGreen(mid) - qGreen(inks[i])) +
                          std::abs(qBlue(mid) - qBlue(inks[i])),
                      24)
                << c.Options << " " << i << " " << std::hex << mid;
        }
    }
}

TEST_F(RTFWriter, RangesAndSelections) {
    TWriterDoc d;
    d.Style.ListStyles().Add()->Levels.Add();
    d.AddText("Hallo", 0, 0);
    AddMarker(d, 0, 0);
    d.AddText("Welt", 0, -1);
    d.AddText("!", 1, -1);
    d.AddText("", 0, 0);
    // Part of one item.
    std::string s;
    ASSERT_TRUE(d.SaveRTFRangeToStream(s, TRPSaveRange{0, 2, 0, 4}, false, 0, clWindow, nullptr, 0));
    EXPECT_EQ(s.substr(s.find("\\uc1\r\n") + 6), Para + "\\plain \\f0\\fs20 al}");
    // A selection from the end of "Hallo" leaves that item out.
    d.Sel[0] = 0, d.Sel[1] = 6, d.Sel[2] = 2, d.Sel[3] = 3;
    s = d.RTF(true);
    EXPECT_EQ(s.find("Hallo"), std::string::npos);
    EXPECT_NE(s.find("\\uc1\r\n\\pard\\li0\\fi0\\jclisttab\\tx150\\ql\\ri0\\sb0\\sa0\\itap0 {\\listtext"),
              std::string::npos)
        << s;
    EXPECT_NE(s.find("\\plain \\f0\\fs20 We}"), std::string::npos) << s;
    // A selection inside a list paragraph starts with its marker.
    d.Sel[0] = 2, d.Sel[1] = 2, d.Sel[2] = 3, d.Sel[3] = 2;
    s = d.RTF(true);
    EXPECT_NE(s.find("\\uc1{\\listtext\\pard\\plain\\f0\\fs16 \\'b7\\tab}\\ls1\\ilvl0\\plain \\f0\\fs20 elt"
                     "\\plain \\f0\\b\\fs20\\cf2 !}"),
              std::string::npos)
        << s;
    // Backwards selections are written forwards; an empty paragraph at the end adds \par.
    d.Sel[0] = 4, d.Sel[1] = 1, d.Sel[2] = 3, d.Sel[3] = 1;
    s = d.RTF(true);
    EXPECT_NE(s.find("\\b\\fs20\\cf2 !\r\n\\plain\\par" + Para + "\\plain \\f0\\fs20 \\par}"), std::string::npos) << s;
    // No selection: nothing at all.
    d.Sel[0] = -1;
    EXPECT_EQ(d.RTF(true), "");
}

// A selection that ends just before a picture (the line break before it
// selected, say) or starts just after it leaves the picture out, as the RPF of
// the same selection does: a copy pastes no picture that was not selected.
TEST_F(RTFWriter, APictureAtTheEndsOfASelectionThatDoesNotReachItStaysOut) {
    TWriterDoc d;
    d.AddText("vor", 0, 0);
    d.AddPicture("", std::make_unique<TBitmap>(2, 2), -1, 0, TRPTag{});
    d.GetItem(1)->SetLineBreakBefore(true);
    d.AddText("nach", 0, -1);
    for (const auto& [sel, picture, text] :
         {std::tuple{std::array{0, 1, 1, 0}, false, "vor"}, std::tuple{std::array{1, 1, 2, 3}, false, "na"},
          std::tuple{std::array{0, 2, 1, 1}, true, "or"}, std::tuple{std::array{1, 0, 2, 1}, true, ""}}) {
        std::copy(sel.begin(), sel.end(), d.Sel);
        const std::string s = d.RTF(true);
        EXPECT_EQ(s.find("\\pict") != std::string::npos, picture) << s;
        EXPECT_EQ(s.find("\\line") != std::string::npos, picture) << s;
        if (*text) { EXPECT_NE(s.find(text), std::string::npos) << s; }
    }
    // The same for a range written as HTML.
    QTemporaryDir dir;
    std::string html;
    int n = 0;
    TColor cur = clNone;
    const TRPHTMLParams params{dir.path().toStdString() + "/", "T", "img", {}, {}, {}, rphsoBodyOnly};
    ASSERT_TRUE(d.SaveHTMLRangeToStream(html, params, false, cur, n, TRPSaveRange{0, 2, 1, 0}));
    EXPECT_EQ(html.find("<IMG"), std::string::npos) << html;
    html.clear();
    ASSERT_TRUE(d.SaveHTMLRangeToStream(html, params, true, cur, n, TRPSaveRange{1, 1, 2, 3}));
    EXPECT_EQ(html.find("<IMG"), std::string::npos) << html;
    EXPECT_NE(html.find("na"), std::string::npos) << html;
}

TEST_F(RTFWriter, FileAndFailures) {
    TWriterDoc d;
    d.AddText("Datei", 0, 0);
    const std::string path = testing::TempDir() + "pravolin_rtf_writer.rtf";
    ASSERT_TRUE(d.SaveRTF(path, false, clWindow, nullptr));
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().toStdString(), d.RTF());
    f.remove();
    EXPECT_FALSE(d.SaveRTF("/nonexistent/folder/x.rtf", false, clWindow, nullptr));
    // Without a style component there is nothing to write with.
    TCustomRPData bare;
    bare.AddText("x", 0, 0);
    std::string s;
    EXPECT_FALSE(bare.SaveRTFToStream(s, false, 0, clWindow, nullptr, nullptr, 0));
}

TEST_F(RTFWriter, BorderGapsComeBackFromTheReader) {
    TWriterDoc d;
    TParaInfo* p = d.Style.ParaStyles().Add();
    p->Border.Style = rpbSingle;
    p->Border.Width = 1;
    p->Border.Color = clRed;
    p->Border.VisibleBorders.SetValues(true, true, true, false);
    p->Border.BorderOffsets.Left = 5;
    p->Border.BorderOffsets.Top = 3;
    p->Border.BorderOffsets.Right = 8;
    p->Background.BorderOffsets = p->Border.BorderOffsets;
    // Indents and spaces reach the text: line and gap lie inside them.
    p->LeftIndent = 16 + 1 + 5;
    p->RightIndent = 1 + 8;
    p->SpaceBefore = 1 + 3;
    p->SpaceAfter = 1;
    const int paraNo = d.Style.ParaStyles().Count() - 1;
    d.AddText("boxed", 0, paraNo);
    const std::string rtf = d.RTF();
    EXPECT_NE(rtf.find("\\li240\\ql\\ri0\\sb0\\sa0"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\brdrl\\brsp75"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\brdrr\\brsp120"), std::string::npos) << rtf;
    TWriterDoc back;
    back.AddStylesOnImport();
    ASSERT_EQ(0, back.ImportRTF(rtf));
    const TParaInfo& q = *back.Style.ParaStyles().GetItem(back.GetItemPara(0));
    EXPECT_TRUE(q.Border.BorderOffsets.IsEqual(p->Border.BorderOffsets));
    EXPECT_TRUE(q.Background.BorderOffsets.IsEqual(p->Border.BorderOffsets));
    EXPECT_EQ(p->LeftIndent, q.LeftIndent);
    EXPECT_EQ(p->RightIndent, q.RightIndent);
    EXPECT_EQ(p->SpaceBefore, q.SpaceBefore);
    EXPECT_EQ(p->SpaceAfter, q.SpaceAfter);
    EXPECT_EQ(clRed, q.Border.Color);
}

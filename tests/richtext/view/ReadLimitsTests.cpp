// Sizes that RTF and RPF files give to styles, list levels and items end in
// their ranges whatever the file says, and such documents lay out, paint,
// scroll and print (under the sanitizer build an overflow on the way ends the
// test); what the program writes at the edges of the ranges reads back as it
// was.
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <climits>
#include <functional>

#include "PrintTestDoc.h"
#include "platform/Forms.h"
#include "platform/Pictures.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPReadLimits.h"
#include "support/Corpus.h"
#include "support/PlainPng.h"

namespace {

using L = TRPReadLimits;

class ReadLimits : public ViewFixture {
public:
    TPdfPrinter PdfPrinter{QStringLiteral("grenzen.pdf")};
    TRPPrint Print{nullptr};
    QTemporaryDir Dir;

    // Reads RTF into the view as the log book does, adding the styles it brings.
    void LoadRTF(const QByteArray& Rtf) {
        const QString path = Dir.filePath(QStringLiteral("grenzen.rtf"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Rtf);
        f.close();
        View->Clear();
        View->GetRTFReadProperties()->TextStyleMode = rprsAddIfNeeded;
        View->GetRTFReadProperties()->ParaStyleMode = rprsAddIfNeeded;
        ASSERT_TRUE(View->LoadRTF(path.toStdString()));
    }

    // The layout style anew, for the next document.
    void FreshStyle() {
        auto s = MakeLayoutStyle();
        View->Clear();
        View->SetStyle(s.get());
        Style = std::move(s);
    }

    TCustomRPFormattedData& Doc() { return *View->RPData(); }
    const TParaInfo& Para(int ItemNo) { return *Style->ParaStyles().GetItem(Doc().GetItem(ItemNo)->ParaNo); }
    const TFontInfo& Text(int ItemNo) { return *Style->TextStyles().GetItem(Doc().GetItem(ItemNo)->StyleNo); }

    // Lays the document out at three widths and paints its first and last
    // screens, then paginates it for the printer and draws its first and last
    // pages. Every paragraph lies below the one before it, and the document
    // is as high as its items make it.
    void FormatPaintPrint() {
        for (int width : {60, 300, 1000}) {
            SCOPED_TRACE(width);
            View->SetBounds(0, 0, width, 204);
            View->Format();
            const int height = View->GetDocumentHeight();
            EXPECT_GT(height, 0);
            EXPECT_LT(height, 200000 * std::max(1, Doc().GetItemCount()));
            int top = INT_MIN;
            for (int i = 0; i < Doc().GetItemCount(); ++i) {
                const int d = Doc().GetFirstDrawItemOfItem(i);
                ASSERT_GE(d, 0) << "item " << i;
                if (!Doc().IsParaStart(i)) continue;
                EXPECT_GT(Doc().DrawItem(d)->Top, top) << "item " << i;
                top = Doc().DrawItem(d)->Top;
                EXPECT_LT(top, height);
            }
            QImage screen;
            View->PaintTo(screen);
            View->ScrollTo(height);
            View->PaintTo(screen);
            View->ScrollTo(0);
        }
        Print.AssignSource(View);
        Print.FormatPages();
        const int pages = Print.GetPagesCount();
        ASSERT_GT(pages, 0);
        QImage page(600, 800, QImage::Format_RGB32);
        TCanvas c(&page);
        Print.PrintableRP()->DrawPage(1, c, false, false);
        Print.PrintableRP()->DrawPage(pages, c, false, false);
    }
};

// A paragraph of RTF for each value: Words with "#" where the value goes.
QByteArray Paragraphs(const std::string& Words, int Value, int Count = 3) {
    std::string body = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\n";
    std::string w = Words;
    w.replace(w.find('#'), 1, std::to_string(Value));
    for (int i = 1; i <= Count; ++i)
        body += w + " Absatz " + std::to_string(i) + "\\par\n";
    return QByteArray::fromStdString(body + "}");
}

} // namespace

TEST_F(ReadLimits, HugeSpaceAfterParagraphsKeepsThemAllInTheDocument) {
    const QByteArray rtf = CorpusFile(QStringLiteral("found/spacing_overflow.rtf"));
    if (rtf.isEmpty()) GTEST_SKIP() << "no found/spacing_overflow.rtf in the corpus";
    LoadRTF(rtf);
    ASSERT_EQ(Doc().GetItemCount(), 20);
    EXPECT_EQ(Para(0).SpaceAfter, L::MaxSpacing);
    FormatPaintPrint();
    View->SetBounds(0, 0, 300, 204);
    View->Format();
    // Each paragraph is a line of 20 pixels below 2,112 of space.
    for (int i = 1; i < 20; ++i)
        EXPECT_EQ(Doc().DrawItem(i)->Top - Doc().DrawItem(i - 1)->Top,
                  Doc().DrawItem(0)->Height + L::MaxSpacing);
    EXPECT_GT(View->GetDocumentHeight(), 19 * L::MaxSpacing);
    EXPECT_LT(View->GetDocumentHeight(), 21 * (L::MaxSpacing + 100));
    // The last paragraph can be scrolled to.
    View->ScrollTo(Doc().DrawItem(19)->Top);
    EXPECT_GT(Doc().GetVOffs(), 18 * L::MaxSpacing);
}

// Every control word that sizes a paragraph or its text, at the ends of an
// int, just past its range and at an ordinary value: what the style gets.
TEST_F(ReadLimits, RTFSizesEndInTheirRanges) {
    struct TCase {
        std::string Words;
        std::function<int(ReadLimits&)> Get;
        std::vector<std::pair<int, int>> Want; // value in the file, value in the style
    };
    const auto para = [](int TParaInfo::*Field) {
        return [Field](ReadLimits& t) { return t.Para(0).*Field; };
    };
    const auto text = [](int TFontInfo::*Field) {
        return [Field](ReadLimits& t) { return t.Text(0).*Field; };
    };
    const int space = L::Twips(L::MaxSpacing), indent = L::Twips(L::MaxIndent);
    const std::vector<std::pair<int, int>> spaces = {
        {INT_MAX, L::MaxSpacing}, {INT_MIN, 0}, {space + 15, L::MaxSpacing}, {-15, 0}, {300, 20}};
    const std::vector<std::pair<int, int>> indents = {{INT_MAX, L::MaxIndent},
                                                      {INT_MIN, -L::MaxIndent},
                                                      {indent + 15, L::MaxIndent},
                                                      {-indent - 15, -L::MaxIndent},
                                                      {-300, -20}};
    const std::vector<TCase> cases = {
        {"\\pard\\sa#", para(&TParaInfo::SpaceAfter), spaces},
        {"\\pard\\sb#", para(&TParaInfo::SpaceBefore), spaces},
        {"\\pard\\li#", para(&TParaInfo::LeftIndent), indents},
        {"\\pard\\ri#", para(&TParaInfo::RightIndent), indents},
        {"\\pard\\fi#", para(&TParaInfo::FirstIndent), indents},
        {"\\pard\\sl#\\slmult1",
         para(&TParaInfo::LineSpacing),
         {{INT_MAX, L::MaxLineSpacingPercent}, {INT_MIN, L::MaxLineSpacingPercent}, {-360, 150}, {360, 150}}},
        // A border's lines and its gap lie inside the paragraph's spaces.
        {"\\pard\\brdrt\\brdrs\\brdrw#",
         [](ReadLimits& t) { return t.Para(0).Border.Width * 10000 + t.Para(0).SpaceBefore; },
         {{INT_MAX, 100 * 10000 + 100}, {INT_MIN, 0}, {1515, 100 * 10000 + 100}, {30, 2 * 10000 + 2}}},
        {"\\pard\\brdrt\\brdrs\\brsp#",
         [](ReadLimits& t) { return t.Para(0).Border.BorderOffsets.Top * 10000 + t.Para(0).SpaceBefore; },
         {{INT_MAX, L::MaxSpacing * 10001}, {INT_MIN, 0}, {space + 15, L::MaxSpacing * 10001}, {75, 50005}}},
        {"\\plain\\fs#",
         text(&TFontInfo::Size),
         {{INT_MAX, L::MaxFontSize},
          {INT_MIN, 1},
          {0, 1},
          {2 * L::MaxFontSize + 2, L::MaxFontSize},
          {21, 10}}},
        // Raised text is half as large, but not smaller than a font can be.
        {"\\plain\\super\\fs#", text(&TFontInfo::Size), {{2, 1}, {INT_MAX, L::MaxFontSize / 2}}},
        {"\\plain\\expndtw#",
         text(&TFontInfo::CharSpacing),
         {{INT_MAX, L::MaxSpacing}, {INT_MIN, -L::MaxSpacing}, {space + 15, L::MaxSpacing}, {-30, -2}}},
        {"\\plain\\charscalex#",
         text(&TFontInfo::CharScale),
         {{INT_MAX, L::MaxCharScale}, {INT_MIN, 1}, {L::MaxCharScale + 1, L::MaxCharScale}, {50, 50}}},
    };
    for (const TCase& c : cases)
        for (const auto& [value, want] : c.Want) {
            SCOPED_TRACE(c.Words + " " + std::to_string(value));
            LoadRTF(Paragraphs(c.Words, value));
            ASSERT_EQ(Doc().GetItemCount(), 3);
            EXPECT_EQ(c.Get(*this), want);
            // The three paragraphs share their styles.
            EXPECT_EQ(Doc().GetItem(2)->ParaNo, Doc().GetItem(0)->ParaNo);
            EXPECT_EQ(Doc().GetItem(2)->StyleNo, Doc().GetItem(0)->StyleNo);
            FormatPaintPrint();
            FreshStyle();
        }
}

TEST_F(ReadLimits, RTFListsCountFromAStartInTheirRange) {
    for (int value : {INT_MAX, INT_MIN}) {
        SCOPED_TRACE(value);
        const std::string v = std::to_string(value);
        LoadRTF(QByteArray::fromStdString(
            "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}"
            "{\\*\\listtable{\\list\\listid7{\\listlevel\\levelnfc0\\levelstartat" +
            v + "\\fs" + v + "{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}\\li" + v + "\\fi" + v + "\\tx" +
            v +
            "}}}{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount1"
            "{\\lfolevel\\listoverridestartat\\levelstartat" +
            v +
            "}\\ls1}}\n"
            "\\pard\\ls1\\ilvl0 eins\\par\\pard\\ls1\\ilvl0 zwei\\par\n"
            "\\pard{\\*\\pn\\pnlvlbody\\pndec\\pnf0\\pnstart" +
            v + "\\pnindent" + v + "\\pnsp" + v + "\\pnfs" + v + "}\\li" + v + "\\fi" + v + " drei\\par}"));
        ASSERT_EQ(Doc().GetItemCount(), 6);
        const TRPListLevel& level = *Style->ListStyles().Items(1)->Levels.Items(0);
        EXPECT_EQ(level.StartFrom, value > 0 ? L::MaxListStart : 0);
        for (int indent : {level.LeftIndent, level.FirstIndent, level.MarkerIndent})
            EXPECT_LE(std::abs(indent), L::MaxIndent);
        EXPECT_EQ(level.FontIfAny()->Size, value > 0 ? L::MaxFontSize : 1);
        const auto* first = static_cast<const TRPMarkerItemInfo*>(Doc().GetItem(0));
        const auto* second = static_cast<const TRPMarkerItemInfo*>(Doc().GetItem(2));
        EXPECT_EQ(first->Counter, value > 0 ? L::MaxListStart : 0);
        EXPECT_EQ(second->Counter, first->Counter + 1);
        const TRPListLevel& old = *Style->ListStyles().Items(2)->Levels.Items(0);
        EXPECT_EQ(old.StartFrom, value > 0 ? L::MaxListStart : 0);
        FormatPaintPrint();
        FreshStyle();
    }
}

TEST_F(ReadLimits, RTFPicturesScaledBeyondTheirRangeKeepTheirProportions) {
    // A picture of 16,384 by 8,192 pixels by its goal, scaled a hundred-fold.
    const QByteArray png = PlainPng(2, 1, qRgb(255, 0, 0));
    const std::string pict =
        "{\\pict\\pngblip\\picwgoal245760\\pichgoal122880\\picscalex10000\\picscaley10000 " +
        png.toHex().toStdString() + "}";
    LoadRTF(QByteArray::fromStdString("{\\rtf1\\ansi " + pict + "\\par " + pict + " Text\\par}"));
    ASSERT_EQ(Doc().GetItemCount(), 3);
    const auto* picture = dynamic_cast<const TRPGraphicItemInfo*>(Doc().GetItem(0));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->ImageWidth, L::MaxLength);
    EXPECT_EQ(picture->ImageHeight, L::MaxLength / 2);
    FormatPaintPrint();
}

// RPF written by the program from styles and items that hold any int: each
// document holds one kind of value in every field, and reads back with each
// in its range.
TEST_F(ReadLimits, RPFSizesEndInTheirRanges) {
    struct TField {
        const char* Name;
        std::function<int&(TRPStyle&, TCustomRPData&, TCustomRichPad&)> At;
        int Min, Max;
    };
    const auto para = [](int TParaInfo::*Field) {
        return [Field](TRPStyle& s, TCustomRPData&, TCustomRichPad&) -> int& {
            return s.ParaStyles().GetItem(7)->*Field;
        };
    };
    const auto text = [](int TFontInfo::*Field) {
        return [Field](TRPStyle& s, TCustomRPData&, TCustomRichPad&) -> int& {
            return s.TextStyles().GetItem(1)->*Field;
        };
    };
    const auto level = [](int TRPListLevel::*Field) {
        return [Field](TRPStyle& s, TCustomRPData&, TCustomRichPad&) -> int& {
            return s.ListStyles().Items(0)->Levels.Items(0)->*Field;
        };
    };
    const auto picture = [](int32_t TRPGraphicItemInfo::*Field) {
        return [Field](TRPStyle&, TCustomRPData& d, TCustomRichPad&) -> int& {
            return static_cast<TRPGraphicItemInfo*>(d.GetItem(3))->*Field;
        };
    };
    const std::vector<TField> fields = {
        {"SpaceBefore", para(&TParaInfo::SpaceBefore), 0, L::MaxSpacing},
        {"SpaceAfter", para(&TParaInfo::SpaceAfter), 0, L::MaxSpacing},
        {"LeftIndent", para(&TParaInfo::LeftIndent), -L::MaxIndent, L::MaxIndent},
        {"RightIndent", para(&TParaInfo::RightIndent), -L::MaxIndent, L::MaxIndent},
        {"FirstIndent", para(&TParaInfo::FirstIndent), -L::MaxIndent, L::MaxIndent},
        {"LineSpacing", para(&TParaInfo::LineSpacing), 0, L::MaxLineSpacingPercent},
        {"Border.Width",
         [](TRPStyle& s, TCustomRPData&, TCustomRichPad&) -> int& {
             return s.ParaStyles().GetItem(7)->Border.Width;
         },
         0, L::MaxBorderWidth},
        {"Border.InternalWidth",
         [](TRPStyle& s, TCustomRPData&, TCustomRichPad&) -> int& {
             return s.ParaStyles().GetItem(7)->Border.InternalWidth;
         },
         0, L::MaxBorderWidth},
        {"Border.BorderOffsets.Top",
         [](TRPStyle& s, TCustomRPData&, TCustomRichPad&) -> int& {
             return s.ParaStyles().GetItem(7)->Border.BorderOffsets.Top;
         },
         -L::MaxSpacing, L::MaxSpacing},
        {"Background.BorderOffsets.Left",
         [](TRPStyle& s, TCustomRPData&, TCustomRichPad&) -> int& {
             return s.ParaStyles().GetItem(7)->Background.BorderOffsets.Left;
         },
         -L::MaxSpacing, L::MaxSpacing},
        {"Size", text(&TFontInfo::Size), -L::MaxFontSize, L::MaxFontSize},
        {"VShift", text(&TFontInfo::VShift), -L::MaxSpacing, L::MaxSpacing},
        {"CharScale", text(&TFontInfo::CharScale), L::MinCharScale, L::MaxCharScale},
        {"CharSpacing", text(&TFontInfo::CharSpacing), -L::MaxSpacing, L::MaxSpacing},
        {"Level.LeftIndent", level(&TRPListLevel::LeftIndent), -L::MaxIndent, L::MaxIndent},
        {"Level.FirstIndent", level(&TRPListLevel::FirstIndent), -L::MaxIndent, L::MaxIndent},
        {"Level.MarkerIndent", level(&TRPListLevel::MarkerIndent), -L::MaxIndent, L::MaxIndent},
        {"Level.StartFrom", level(&TRPListLevel::StartFrom), 0, L::MaxListStart},
        {"Level.Font.Size",
         [](TRPStyle& s, TCustomRPData&, TCustomRichPad&) -> int& {
             return s.ListStyles().Items(0)->Levels.Items(0)->Font()->Size;
         },
         -L::MaxFontSize, L::MaxFontSize},
        {"Marker.StartFrom",
         [](TRPStyle&, TCustomRPData& d, TCustomRichPad&) -> int& {
             return static_cast<TRPMarkerItemInfo*>(d.GetItem(0))->StartFrom;
         },
         0, L::MaxListStart},
        {"ImageWidth", picture(&TRPGraphicItemInfo::ImageWidth), 0, L::MaxLength},
        {"ImageHeight", picture(&TRPGraphicItemInfo::ImageHeight), 0, L::MaxLength},
        {"MinHeightOnPage", picture(&TRPGraphicItemInfo::MinHeightOnPage), 0, L::MaxLength},
        {"Spacing", picture(&TRPGraphicItemInfo::Spacing), 0, L::MaxSpacing},
        {"Picture.VShift", picture(&TRPGraphicItemInfo::VShift), -L::MaxSpacing, L::MaxSpacing},
        {"LeftMargin", [](TRPStyle&, TCustomRPData&, TCustomRichPad& v) -> int& { return v.LeftMargin; }, 0,
         L::MaxIndent},
        {"TopMargin", [](TRPStyle&, TCustomRPData&, TCustomRichPad& v) -> int& { return v.TopMargin; }, 0,
         L::MaxIndent},
        {"MaxTextWidth", [](TRPStyle&, TCustomRPData&, TCustomRichPad& v) -> int& { return v.MaxTextWidth; },
         -L::MaxLength, L::MaxLength},
    };
    // Below the range, above it, and just past each end.
    for (int kind = 0; kind < 4; ++kind) {
        SCOPED_TRACE(kind);
        auto style = MakeLayoutStyle();
        TForm form(nullptr);
        auto* source = new TRichPad(&form);
        source->SetParent(&form);
        source->SetStyle(style.get());
        source->RPFOptions |= rpfoSaveTextStyles | rpfoSaveParaStyles | rpfoSaveLayout;
        auto marker = TRPMarkerItemInfo::CreateEx(source->RPData(), 0, 0, 1, true);
        marker->ParaNo = 7;
        source->RPData()->AddItem("", std::move(marker));
        source->RPData()->AddMarkerInList(0);
        source->AddText("Liste", 1, -1);
        source->AddText("Absatz", 1, 7);
        auto dot = std::make_unique<TBitmap>(2, 2);
        source->AddPicture("Bild", std::move(dot), -1, 0);
        source->AddText("Ende", 1, 7);
        std::vector<int> want;
        for (const TField& f : fields) {
            const int value = kind == 0 ? INT_MIN : kind == 1 ? INT_MAX : kind == 2 ? f.Max + 1 : f.Min - 1;
            f.At(*style, *source->RPData(), *source) = value;
            want.push_back(kind == 0 || kind == 3 ? f.Min : f.Max);
        }
        std::string rpf;
        ASSERT_TRUE(source->SaveRPFToStream(rpf, false));
        // The source itself is never laid out: only its margins count when it goes.
        source->LeftMargin = source->TopMargin = 5;

        View->RPFOptions |= rpfoLoadLayout;
        ASSERT_TRUE(View->LoadRPFFromStream(rpf));
        ASSERT_EQ(Doc().GetItemCount(), 5);
        for (size_t i = 0; i < fields.size(); ++i)
            EXPECT_EQ(fields[i].At(*Style, Doc(), *View), want[i]) << fields[i].Name;
        FormatPaintPrint();
        FreshStyle();
    }
}

// What the writers make of styles at the edges of the ranges reads back as
// it was: RPF keeps every value, RTF every one it can say.
TEST_F(ReadLimits, StylesAtTheEdgesOfTheRangesReadBackUnchanged) {
    for (int sign : {1, -1}) {
        SCOPED_TRACE(sign);
        TParaInfo& p = *Style->ParaStyles().GetItem(8); // framed: a single border
        p.LeftIndent = sign * L::MaxIndent;
        p.RightIndent = sign * L::MaxIndent;
        p.FirstIndent = sign * L::MaxIndent;
        p.SpaceBefore = sign > 0 ? L::MaxSpacing : 0;
        p.SpaceAfter = sign > 0 ? L::MaxSpacing : 0;
        p.LineSpacing = sign > 0 ? L::MaxLineSpacingPercent : 100;
        TFontInfo& f = *Style->TextStyles().GetItem(1);
        f.Size = L::MaxFontSize;
        f.CharSpacing = sign * L::MaxSpacing;
        f.CharScale = sign > 0 ? L::MaxCharScale : L::MinCharScale;
        View->Clear();
        View->AddText("Rand", 1, 8);
        View->RPFOptions |= rpfoSaveTextStyles | rpfoSaveParaStyles;
        const auto paraBefore = std::make_unique<TParaInfo>();
        paraBefore->Assign(p);
        const auto textBefore = std::make_unique<TFontInfo>();
        textBefore->Assign(f);

        std::string rpf;
        ASSERT_TRUE(View->SaveRPFToStream(rpf, false));
        auto again = MakeLayoutStyle();
        View->SetStyle(again.get());
        ASSERT_TRUE(View->LoadRPFFromStream(rpf));
        EXPECT_TRUE(again->ParaStyles().GetItem(8)->EqualsBasic(*paraBefore, false));
        EXPECT_TRUE(again->TextStyles().GetItem(1)->EqualsBasic(*textBefore, false));

        std::string rtf;
        ASSERT_TRUE(View->SaveRTFToStream(rtf, false));
        FreshStyle();
        LoadRTF(QByteArray::fromStdString(rtf));
        const TParaInfo& read = Para(0);
        EXPECT_EQ(read.LeftIndent, paraBefore->LeftIndent);
        EXPECT_EQ(read.RightIndent, paraBefore->RightIndent);
        EXPECT_EQ(read.FirstIndent, paraBefore->FirstIndent);
        EXPECT_EQ(read.SpaceBefore, paraBefore->SpaceBefore);
        EXPECT_EQ(read.SpaceAfter, paraBefore->SpaceAfter);
        EXPECT_EQ(read.ShownLineSpacingPercent(), paraBefore->ShownLineSpacingPercent());
        EXPECT_EQ(read.Border.Width, paraBefore->Border.Width);
        EXPECT_EQ(Text(0).Size, textBefore->Size);
        EXPECT_EQ(Text(0).CharSpacing, textBefore->CharSpacing);
        EXPECT_EQ(Text(0).CharScale, textBefore->CharScale);
        FormatPaintPrint();
    }
}

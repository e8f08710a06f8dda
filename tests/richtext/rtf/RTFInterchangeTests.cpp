// What our RTF writer makes of imported documents, read back by our reader
// and by LibreOffice: nested tables, the geometry of rows, code pages, line
// spacing, empty lines and tables back to back.
#include "RTFImportDoc.h"
#include "platform/Forms.h"
#include "richtext/edit/RichPadEdit.h"
#include "shell/USeitenstil.h"
#include "support/Corpus.h"
#include "support/Readers.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

namespace {

std::string Written(TCustomRPData& D) {
    std::string rtf;
    EXPECT_TRUE(D.SaveRTFToStream(rtf, false, 0, clWindow, nullptr, nullptr, 0));
    return rtf;
}

// Imports Rtf into D as the pages are imported; answers the reader's result.
uint8_t ImportPage(TImportDoc& D, const std::string& Rtf) {
    D.Props.UnicodeMode = rpruMixed;
    D.Props.TextStyleMode = rprsAddIfNeeded;
    D.Props.ParaStyleMode = rprsAddIfNeeded;
    return D.Import(Rtf);
}

// The groups that begin with Opening, each up to its closing brace.
std::vector<std::string> Groups(const std::string& Rtf, const std::string& Opening) {
    std::vector<std::string> groups;
    for (size_t p = Rtf.find(Opening); p != std::string::npos; p = Rtf.find(Opening, p + 1)) {
        int depth = 0;
        size_t e = p;
        for (; e < Rtf.size(); ++e) {
            if (Rtf[e] == '\\') {
                ++e;
                continue;
            }
            if (Rtf[e] == '{') ++depth;
            if (Rtf[e] == '}' && --depth == 0) break;
        }
        groups.push_back(Rtf.substr(p, e + 1 - p));
    }
    return groups;
}

// The row definition (\trowd up to its last \cellx) of the first row.
std::string FirstRowDefinition(const std::string& Rtf) {
    const size_t from = Rtf.find("\\trowd");
    const size_t cellx = Rtf.find("\\cellx", from);
    size_t to = Rtf.find("\\pard", cellx);
    return from == std::string::npos || to == std::string::npos ? std::string() : Rtf.substr(from, to - from);
}

TRPTableItemInfo* TableAt(TCustomRPData& D, int ItemNo) {
    return ItemNo < D.GetItemCount() ? dynamic_cast<TRPTableItemInfo*>(D.GetItem(ItemNo)) : nullptr;
}

void WriteFile(const QString& Path, const std::string& Data) {
    QFile f(Path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Data.data(), static_cast<qint64>(Data.size()));
}

std::string ReadFile(const QString& Path) {
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

// Our RTF of what we read from Rtf.
std::string OurRTF(const std::string& Rtf) {
    TImportDoc doc;
    EXPECT_EQ(ImportPage(doc, Rtf), 0);
    return Written(doc);
}

// LibreOffice converts the files (name, content) in one run into Format
// ("txt:Text", "rtf"); answers what went wrong, empty when all went well.
QString Convert(const QTemporaryDir& Dir, const std::vector<std::pair<QString, std::string>>& Files,
                const QString& Format) {
    QStringList args{"-env:UserInstallation=file://" + Dir.filePath("profile"), "--headless", "--convert-to",
                     Format, "--outdir", Dir.filePath("out")};
    for (const auto& [name, data] : Files) {
        WriteFile(Dir.filePath(name), data);
        args << Dir.filePath(name);
    }
    return RunReader("soffice", args, nullptr, nullptr, 180000);
}

// The left position and right boundaries of the first row LibreOffice writes.
std::vector<int> FirstRowBounds(const std::string& Rtf) {
    std::vector<int> b;
    const std::string row = FirstRowDefinition(Rtf);
    const QRegularExpression word(QStringLiteral("\\\\(trleft|cellx)(-?\\d+)"));
    for (auto m = word.globalMatch(QString::fromStdString(row)); m.hasNext();) {
        const auto w = m.next();
        b.push_back(w.captured(2).toInt());
    }
    return b;
}

const char* const kNestedSample =
    "{\\rtf1\\trowd\\cellx6000\\pard\\intbl\\itap2 L2\\par\\pard\\intbl\\itap3 "
    "D\\nestcell{\\*\\nesttableprops\\trowd\\cellx2000\\nestrow}\\pard\\intbl\\itap2 "
    "L2b\\nestcell{\\*\\nesttableprops\\trowd\\cellx4000\\nestrow}\\pard\\intbl\\itap1 "
    "outer\\cell\\row\\pard after\\par}";

} // namespace

TEST(RTFInterchange, NestedRowsWriteTheirCellsBeforeTheirProperties) {
    TImportDoc doc;
    ASSERT_EQ(ImportPage(doc, kNestedSample), 0);
    // The outer cell holds L2, a table of D, and L2b, which the table nested
    // two deep (itap 2) holds.
    const std::string dump = "L2\nD|\n\nL2b|\n\nouter|\n\nafter";
    ASSERT_EQ(doc.PlainText(), dump);
    const std::string rtf = Written(doc);
    // A nested row's property group holds its row's properties and nothing
    // else: readers skip it.
    const std::vector<std::string> props = Groups(rtf, "{\\*\\nesttableprops");
    ASSERT_EQ(props.size(), 2u);
    for (const std::string& g : props) {
        EXPECT_EQ(g.find("\\plain"), std::string::npos) << g;
        EXPECT_EQ(g.find("\\nestcell"), std::string::npos) << g;
        EXPECT_EQ(g.rfind("\\nestrow}"), g.size() - 9) << g;
    }
    // Its cells stand before it, each in its paragraphs at its level.
    EXPECT_NE(rtf.find("\\itap3\\intbl \\plain \\f0\\fs24 D\\nestcell}}{\\*\\nesttableprops\\trowd"), std::string::npos)
        << rtf;
    EXPECT_NE(rtf.find("\\itap2\\intbl \\plain \\f0\\fs24 L2b\\nestcell}}{\\*\\nesttableprops\\trowd"),
              std::string::npos)
        << rtf;
    TImportDoc back;
    ASSERT_EQ(ImportPage(back, rtf), 0);
    EXPECT_EQ(back.PlainText(), dump);
}

TEST(RTFInterchange, RowGeometryComesBackAsItWas) {
    // Boundaries on whole pixels come back to the twip; the four paddings
    // become the one padding of the table (70 twips on average: 5 pixels);
    // a row without spacing gets none.
    TImportDoc doc;
    ASSERT_EQ(ImportPage(doc, "{\\rtf1\\trowd\\trgaph100\\trpaddl100\\trpaddr100\\trpaddt40\\trpaddb40\\trpaddfl3"
                              "\\trpaddfr3\\trpaddft3\\trpaddfb3\\cellx600\\cellx1200\\cellx1800\\pard\\intbl a\\cell "
                              "b\\cell c\\cell\\row\\pard x\\par}"),
              0);
    EXPECT_EQ(FirstRowDefinition(Written(doc)),
              "\\trowd\\trgaph75\\trleft0\\itap1\\trpaddl75\\trpaddt75\\trpaddr75\\trpaddb75\\trpaddfl3\\trpaddft3"
              "\\trpaddfr3\\trpaddfb3\\trftsWidth1\\richpadtbw0\\richpadtbhs0\\richpadtbvs0\\richpadtchs-1"
              "\\richpadtcvs-1\\clwWidth0\\richpadcbw30\\richpadcbh0\\cellx600\\clwWidth0\\richpadcbw30"
              "\\richpadcbh0\\cellx1200\\clwWidth0\\richpadcbw30\\richpadcbh0\\cellx1800");

    // \trleft is the row's indent: the table's paragraph stands indented by
    // it, and the boundaries keep their places.
    TImportDoc left;
    ASSERT_EQ(ImportPage(left, "{\\rtf1\\trowd\\trleft360\\cellx1800\\cellx3600\\pard\\intbl a\\cell b\\cell\\row"
                               "\\pard x\\par}"),
              0);
    TRPTableItemInfo* t = TableAt(left, 0);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(left.Style.ParaStyles().GetItem(t->ParaNo)->LeftIndent, 24);
    EXPECT_EQ(t->GetCell(0, 0)->BestWidth, 96);
    EXPECT_EQ(t->GetCell(0, 1)->BestWidth, 120);
    const std::string row = FirstRowDefinition(Written(left));
    EXPECT_NE(row.find("\\trleft360"), std::string::npos) << row;
    EXPECT_NE(row.find("\\cellx1800"), std::string::npos) << row;
    EXPECT_NE(row.find("\\cellx3600"), std::string::npos) << row;
    // A row reaching into the margin stays at the margin here.
    TImportDoc margin;
    ASSERT_EQ(ImportPage(margin, "{\\rtf1\\trowd\\trgaph108\\trleft-108\\cellx1800\\pard\\intbl a\\cell\\row}"), 0);
    ASSERT_NE(TableAt(margin, 0), nullptr);
    EXPECT_EQ(margin.Style.ParaStyles().GetItem(TableAt(margin, 0)->ParaNo)->LeftIndent, 0);
}

TEST(RTFInterchange, SpacingAndPaddingGoBothWays) {
    // Spacing given in twips comes back in whole pixels; spacing not given
    // stays not given (no negative \trspd), and border spacing the cell
    // spacing does not tell comes back from the suite's own words.
    TImportDoc doc;
    ASSERT_EQ(ImportPage(doc, "{\\rtf1\\trowd\\trspdl30\\trspdr30\\trspdfl3\\trspdfr3\\trspdt15\\trspdb15\\trspdft3"
                              "\\trspdfb3\\trpaddl60\\trpaddr60\\trpaddt60\\trpaddb60\\trpaddfl3\\trpaddfr3\\trpaddft3"
                              "\\trpaddfb3\\cellx1500\\pard\\intbl a\\cell\\row\\trowd\\trspdl30\\trspdr30\\trspdfl3"
                              "\\trspdfr3\\trspdt15\\trspdb15\\trspdft3\\trspdfb3\\trpaddl60\\trpaddr60\\trpaddt60"
                              "\\trpaddb60\\trpaddfl3\\trpaddfr3\\trpaddft3\\trpaddfb3\\cellx1500\\pard\\intbl b\\cell"
                              "\\row}"),
              0);
    TRPTableItemInfo* t = TableAt(doc, 0);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->CellPadding, 4);
    EXPECT_EQ(t->CellHSpacing, 4);
    EXPECT_EQ(t->CellVSpacing, 2);
    const std::string rtf = Written(doc);
    EXPECT_NE(FirstRowDefinition(rtf).find("\\trpaddl60\\trpaddt60\\trpaddr60\\trpaddb60"), std::string::npos);
    EXPECT_NE(FirstRowDefinition(rtf).find("\\trspdl30\\trspdr30\\trspdfl3\\trspdfr3\\trspdt15\\trspdb15"),
              std::string::npos)
        << rtf;
    TImportDoc back;
    ASSERT_EQ(ImportPage(back, rtf), 0);
    TRPTableItemInfo* b = TableAt(back, 0);
    ASSERT_NE(b, nullptr);
    for (auto field : {&TRPTableItemInfo::CellPadding, &TRPTableItemInfo::CellHSpacing,
                       &TRPTableItemInfo::CellVSpacing, &TRPTableItemInfo::BorderHSpacing,
                       &TRPTableItemInfo::BorderVSpacing, &TRPTableItemInfo::BorderWidth,
                       &TRPTableItemInfo::CellBorderWidth})
        EXPECT_EQ(b->*field, t->*field);

    // Without spacing: cells whose borders meet (-1), a table border of none.
    TImportDoc none;
    ASSERT_EQ(ImportPage(none, "{\\rtf1\\trowd\\trbrdrl\\brdrs\\brdrw15\\clbrdrl\\brdrs\\brdrw15\\clbrdrr\\brdrs"
                               "\\brdrw15\\cellx1500\\pard\\intbl a\\cell\\row}"),
              0);
    const std::string plain = Written(none);
    EXPECT_EQ(plain.find("\\trspd"), std::string::npos) << plain;
    TImportDoc plainBack;
    ASSERT_EQ(ImportPage(plainBack, plain), 0);
    ASSERT_NE(TableAt(plainBack, 0), nullptr);
    EXPECT_EQ(TableAt(plainBack, 0)->CellHSpacing, -1);
    EXPECT_EQ(TableAt(plainBack, 0)->BorderHSpacing, TableAt(none, 0)->BorderHSpacing);
    EXPECT_EQ(TableAt(plainBack, 0)->BorderVSpacing, TableAt(none, 0)->BorderVSpacing);
}

TEST(RTFInterchange, CodePagesWithoutAQtConverter) {
    struct TCase {
        const char* Rtf;
        const char* Text;
    } cases[] = {
        {"{\\rtf1\\ansi\\ansicpg10001{\\fonttbl{\\f0\\fnil\\fcharset78 Osaka;}}\\f0 "
         "\\'82\\'a8\\'93\\'c7\\'82\\'dd\\'82\\'ad\\'82\\'be\\'82\\'b3\\'82\\'a2\\par}",
         "お読みください"},
        {"{\\rtf1\\ansi\\ansicpg437{\\fonttbl{\\f0\\fnil Courier;}}\\f0 \\'81\\'94\\'e1\\par}", "üöß"},
        // 850 differs from 437 in the upper half.
        {"{\\rtf1\\ansi\\ansicpg850{\\fonttbl{\\f0\\fnil Courier;}}\\f0 \\'9b\\'81\\par}", "øü"},
        // A Mac Japanese byte of its own, and a PC-437 font in a Windows document.
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset78 Osaka;}{\\f1\\fnil\\fcharset254 Terminal;}}\\f0 \\'fd\\f1 "
         "\\'9b\\par}",
         "©¢"},
    };
    for (const TCase& c : cases) {
        TImportDoc doc;
        ASSERT_EQ(ImportPage(doc, c.Rtf), 0) << c.Rtf;
        EXPECT_EQ(doc.PlainText(), c.Text) << c.Rtf;
        // Our RTF reads back to the same characters.
        TImportDoc back;
        ASSERT_EQ(ImportPage(back, Written(doc)), 0);
        EXPECT_EQ(back.PlainText(), c.Text) << Written(doc);
    }
}

TEST(RTFInterchange, LineSpacingIsCutToWhatAPageShows) {
    TImportDoc doc;
    ASSERT_EQ(ImportPage(doc, "{\\rtf1\\sl237427400\\slmult1 tall\\par}"), 0);
    ASSERT_EQ(doc.GetItemCount(), 1);
    const TParaInfo& p = *doc.Style.ParaStyles().GetItem(doc.GetItem(0)->ParaNo);
    EXPECT_EQ(p.LineSpacingType, rplsPercent);
    EXPECT_EQ(p.LineSpacing, 5000);
    EXPECT_NE(Written(doc).find("\\pard\\sl12000\\slmult1\\fi0"), std::string::npos);
    // The writer takes any percentage a style holds without overflowing.
    doc.Style.ParaStyles().GetItem(doc.GetItem(0)->ParaNo)->LineSpacing = std::numeric_limits<int>::max();
    EXPECT_NE(Written(doc).find("\\pard\\sl2147483647\\slmult1\\fi0"), std::string::npos);
}

// \sl alone is a height, no multiple: the paragraph stays single-spaced.
// Less than half of single spacing, which the layout does not show, is
// written neither as RTF nor as CSS; half of it and more is.
TEST(RTFInterchange, LineSpacingGoesOutAsTheLayoutShowsIt) {
    struct TCase {
        const char* Words;
        int Percent; // in the style read
        int Shown;   // what our RTF reads back as
        const char* Sl;
        const char* Css;
    } cases[] = {
        {"\\sl24", 100, 100, nullptr, nullptr},
        {"\\sl0", 100, 100, nullptr, nullptr},
        {"\\sl-360", 100, 100, nullptr, nullptr},
        {"\\sl240\\slmult0", 100, 100, nullptr, nullptr},
        {"\\sl0\\slmult1", 100, 100, nullptr, nullptr},
        {"\\sl96\\slmult1", 100, 100, nullptr, nullptr},
        {"\\sl120\\slmult1", 50, 50, "\\sl120\\slmult1", "line-height: 0.50;"},
        {"\\sl-238\\slmult1", 99, 99, "\\sl238\\slmult1", "line-height: 0.99;"},
        {"\\sl360\\slmult1", 150, 150, "\\sl360\\slmult1", "line-height: 1.50;"},
    };
    for (const TCase& c : cases) {
        TImportDoc doc;
        const std::string rtf = std::string("{\\rtf1\\pard") + c.Words + " x\\par}";
        ASSERT_EQ(ImportPage(doc, rtf), 0) << rtf;
        const auto spacing = [](TImportDoc& d) {
            return d.Style.ParaStyles().GetItem(d.GetItem(0)->ParaNo)->LineSpacing;
        };
        EXPECT_EQ(spacing(doc), c.Percent) << rtf;
        const std::string ours = Written(doc);
        EXPECT_EQ(ours.find("\\sl") != std::string::npos, c.Sl != nullptr) << rtf << " gives " << ours;
        if (c.Sl) { EXPECT_NE(ours.find(c.Sl), std::string::npos) << rtf << " gives " << ours; }
        TImportDoc back;
        ASSERT_EQ(ImportPage(back, ours), 0);
        EXPECT_EQ(spacing(back), c.Shown) << rtf;
        std::string html;
        int n = 0;
        TColor color = clNone;
        ASSERT_TRUE(doc.SaveHTMLWithCSSToStream(html, "", "t", "p", "", "", "", 0, clNone, color, n, 0, 0, 0,
                                                0, nullptr, nullptr));
        EXPECT_EQ(html.find("line-height") != std::string::npos, c.Css != nullptr)
            << rtf << " gives " << html;
        if (c.Css) { EXPECT_NE(html.find(c.Css), std::string::npos) << rtf << " gives " << html; }
    }
    // A paragraph takes no style whose lines the layout spaces otherwise: not
    // without \slmult after a spaced one, not at half after one below half.
    const auto second = [](const char* Rtf) {
        TImportDoc two;
        EXPECT_EQ(ImportPage(two, Rtf), 0);
        EXPECT_EQ(two.GetItemCount(), 2);
        return two.GetItemCount() == 2 ? two.Style.ParaStyles().GetItem(two.GetItem(1)->ParaNo)->LineSpacing
                                       : -1;
    };
    EXPECT_EQ(second("{\\rtf1\\pard\\sl276\\slmult1 a\\par\\pard\\sl276 b\\par}"), 100);
    EXPECT_EQ(second("{\\rtf1\\pard\\sl48\\slmult1 a\\par\\pard\\sl120\\slmult1 b\\par}"), 50);
}

// A surrogate without its other half is no character: every writer puts
// the replacement character there, and "?" where the text is 8-bit; a pair
// stays one character.
TEST(RTFInterchange, LoneSurrogatesAreTheReplacementCharacterInEveryWriter) {
    TImportDoc doc;
    ASSERT_EQ(ImportPage(doc, "{\\rtf1\\uc1 a\\u-10240?b\\u-8704?c\\u-10179?\\u-8702?d\\par}"), 0);
    const std::u16string sound = u"a\uFFFDb\uFFFDc\U0001F602d";
    std::string wide, ansi;
    ASSERT_TRUE(doc.SaveTextToStream("", wide, 80, false, false, true, false));
    EXPECT_EQ(ItemTextToWideStr(wide), sound);
    ASSERT_TRUE(doc.SaveTextToStream("", ansi, 80, false, false, false, false));
    EXPECT_EQ(ansi.substr(0, 5), "a?b?c");
    EXPECT_EQ(ansi.back(), 'd');
    std::string html;
    int n = 0;
    TColor color = clNone;
    for (bool css : {false, true}) {
        html.clear();
        ASSERT_TRUE(
            css ? doc.SaveHTMLWithCSSToStream(html, "", "t", "p", "", "", "", 0, clNone, color, n, 0, 0, 0, 0,
                                              nullptr, nullptr)
                : doc.SaveHTMLToStream(html, "", "t", "p", 0, clNone, n, 0, 0, 0, 0, nullptr, nullptr));
        EXPECT_EQ(QString::fromStdString(html).count("&#65533;"), 2) << html;
        EXPECT_NE(html.find("&#128514;"), std::string::npos) << html;
    }
    const std::string rtf = Written(doc);
    EXPECT_EQ(QString::fromStdString(rtf).count("\\u-3 "), 2) << rtf;
    EXPECT_NE(rtf.find("\\u-10179 \\u-8702 "), std::string::npos) << rtf;
    EXPECT_EQ(rtf.find("\\u-10240"), std::string::npos) << rtf;
    EXPECT_EQ(rtf.find("\\u-8704"), std::string::npos) << rtf;
    TImportDoc back;
    ASSERT_EQ(ImportPage(back, rtf), 0);
    wide.clear();
    ASSERT_TRUE(back.SaveTextToStream("", wide, 80, false, false, true, false));
    EXPECT_EQ(ItemTextToWideStr(wide), sound);
}

TEST(RTFInterchange, EmptyLinesAndTablesBackToBackComeBack) {
    // A paragraph that ends in two line breaks: "A" and an empty line.
    TImportDoc lines;
    ASSERT_EQ(ImportPage(lines, "{\\rtf1\\ansi A\\line\\line}"), 0);
    ASSERT_EQ(lines.GetItemCount(), 2);
    EXPECT_EQ(lines.PlainText(), "A\n");
    const std::string rtf = Written(lines);
    const std::string tail = "\\plain \\f0\\fs24 A\r\n\\line\\plain \\f0\\fs24 \\line}";
    EXPECT_EQ(rtf.substr(rtf.size() - std::min(rtf.size(), tail.size())), tail);
    TImportDoc linesBack;
    ASSERT_EQ(ImportPage(linesBack, rtf), 0);
    EXPECT_EQ(linesBack.GetItemCount(), 2);
    EXPECT_EQ(linesBack.PlainText(), "A\n");
    // The same in a table cell.
    TImportDoc cell;
    ASSERT_EQ(ImportPage(cell, "{\\rtf1\\ansi\\trowd\\cellx1500\\pard\\intbl A\\line\\line\\cell\\row\\pard x\\par}"), 0);
    ASSERT_EQ(cell.PlainText(), "A\n|\n\nx");
    TImportDoc cellBack;
    ASSERT_EQ(ImportPage(cellBack, Written(cell)), 0);
    EXPECT_EQ(cellBack.PlainText(), "A\n|\n\nx");

    // Two tables with no paragraph between them stay two tables.
    TImportDoc two;
    two.AddNL("before", 0, 0);
    for (const char* text : {"first", "second"}) {
        auto t = TRPTableItemInfo::CreateEx(1, 2, &two);
        t->GetCell(0, 0)->Clear();
        t->GetCell(0, 0)->AddNL(text, 0, 0);
        two.AddItem(std::string(), std::move(t));
    }
    two.AddNL("after", 0, 0);
    const std::string twoRtf = Written(two);
    // Only the second table's first row says so.
    EXPECT_EQ(Groups(twoRtf, "{\\trowd").size(), 2u);
    EXPECT_EQ(twoRtf.find("\\richpadtbnew"), Groups(twoRtf, "{\\trowd")[1].find("\\richpadtbnew") +
                                                 twoRtf.find(Groups(twoRtf, "{\\trowd")[1]));
    TImportDoc twoBack;
    ASSERT_EQ(ImportPage(twoBack, twoRtf), 0);
    ASSERT_EQ(twoBack.GetItemCount(), 4);
    ASSERT_NE(TableAt(twoBack, 1), nullptr);
    ASSERT_NE(TableAt(twoBack, 2), nullptr);
    EXPECT_EQ(twoBack.PlainText(), "before\nfirst||\n\nsecond||\n\nafter");
    EXPECT_EQ(TableAt(twoBack, 1)->Rows->RowCount(), 1);
    EXPECT_EQ(TableAt(twoBack, 2)->Rows->RowCount(), 1);
}

namespace {

// An editor that reads and writes as the log book does, on a form of its own.
class TLogEditor {
public:
    explicit TLogEditor(TRPStyle* Style) {
        Edit = new TRichPadEdit(&Form);
        Edit->SetParent(&Form);
        Edit->SetBounds(0, 0, 1000, 400);
        Edit->SetStyle(Style);
        LogbuchEinstellen(*Edit);
    }
    TForm Form{nullptr};
    TRichPadEdit* Edit;

    void LoadRTF(const std::string& Rtf) {
        QTemporaryDir dir;
        WriteFile(dir.filePath("log.rtf"), Rtf);
        Edit->Clear();
        EXPECT_TRUE(Edit->LoadRTF(dir.filePath("log.rtf").toStdString()));
        Edit->Format();
    }
    void LoadRPF(const std::string& Rpf) {
        Edit->Clear();
        EXPECT_TRUE(Edit->LoadRPFFromStream(Rpf));
        Edit->Format();
    }
    std::string RTF() {
        std::string s;
        EXPECT_TRUE(Edit->SaveRTFToStream(s, false));
        return s;
    }
    std::string RPF() {
        std::string s;
        EXPECT_TRUE(Edit->SaveRPFToStream(s, false));
        return s;
    }
    std::string Text() {
        std::string s;
        EXPECT_TRUE(Edit->SaveTextToStream("", s, 80, false, false));
        return s;
    }
};

} // namespace

// Documents whose RTF read back lost columns of a wide table: loaded as the
// log book loads RTF, written as RTF and read again, they write the same bytes
// and the same text; their streams, in text and binary form, read back to the
// same stream and the same RTF.
TEST(RTFInterchange, FoundDocumentsReadBackFromOurRTFAndRPFToTheByte) {
    for (const char* name : {"found/tables_empty_paragraphs_rtf_readback.rtf",
                             "found/layout/cell-lines-rpf-round-trip/doc.rtf"}) {
        SCOPED_TRACE(name);
        const QByteArray data = CorpusFile(QString::fromLatin1(name));
        if (data.isEmpty()) GTEST_SKIP() << "no corpus beside the sources";
        TRPStyle style;
        TLogEditor log(&style);
        log.LoadRTF(data.toStdString());
        const std::string rtf = log.RTF(), text = log.Text();
        TLogEditor back(&style);
        back.LoadRTF(rtf);
        EXPECT_EQ(back.RTF(), rtf);
        EXPECT_EQ(back.Text(), text);
        for (const TRPFOptions binary : {TRPFOptions(0), rpfoSaveBinary}) {
            log.Edit->RPFOptions = (log.Edit->RPFOptions & ~rpfoSaveBinary) | binary;
            const std::string rpf = log.RPF();
            back.Edit->RPFOptions = log.Edit->RPFOptions;
            back.LoadRPF(rpf);
            EXPECT_EQ(back.RPF(), rpf) << "binary " << binary;
            EXPECT_EQ(back.RTF(), rtf) << "binary " << binary;
        }
    }
}

// LibreOffice reads our RTF to the texts it reads from the originals: the
// cells of nested tables, and text in code pages that Qt has no converter for.
TEST(RTFInLibreOffice, LibreOfficeReadsTheTextOfOurRTF) {
    QTemporaryDir dir;
    struct TCase {
        QString Name;
        std::string Rtf;
        QString Text;
    } cases[] = {
        {"nested.rtf", OurRTF(kNestedSample), "L2 D L2b outer after"},
        {"japanese.rtf",
         OurRTF("{\\rtf1\\ansi\\ansicpg10001{\\fonttbl{\\f0\\fnil\\fcharset78 Osaka;}}\\f0 "
                "\\'82\\'a8\\'93\\'c7\\'82\\'dd\\'82\\'ad\\'82\\'be\\'82\\'b3\\'82\\'a2\\par}"),
         QString::fromUtf8("お読みください")},
        {"dos.rtf", OurRTF("{\\rtf1\\ansi\\ansicpg437{\\fonttbl{\\f0\\fnil Courier;}}\\f0 \\'81\\'94\\'e1\\par}"),
         QString::fromUtf8("üöß")},
    };
    std::vector<std::pair<QString, std::string>> files;
    for (const TCase& c : cases)
        files.emplace_back(c.Name, c.Rtf);
    const QString error = Convert(dir, files, "txt:Text");
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    for (const TCase& c : cases) {
        const QString name = QString(c.Name).replace(".rtf", ".txt");
        QString text = QString::fromStdString(ReadFile(dir.filePath("out/" + name)));
        text.remove(QChar(0xFEFF));
        EXPECT_EQ(text.simplified(), c.Text) << c.Name.toStdString();
    }
}

// Empty paragraphs in cells, before a cell's text, after it, alone and two
// together: LibreOffice reads our RTF to the lines it reads from the original.
TEST(RTFInLibreOffice, LibreOfficeReadsTheEmptyParagraphsOfOurCells) {
    const std::string original =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}"
        "\\trowd\\cellx2000\\cellx4000\\pard\\intbl \\par A\\cell \\pard\\intbl B\\par\\cell\\row"
        "\\trowd\\cellx2000\\cellx4000\\pard\\intbl \\cell \\pard\\intbl \\par\\par\\cell\\row"
        "\\pard after\\par}";
    QTemporaryDir dir;
    const QString error =
        Convert(dir, {{"original.rtf", original}, {"ours.rtf", OurRTF(original)}}, "txt:Text");
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    const auto lines = [&](const QString& Name) {
        return QString::fromStdString(ReadFile(dir.filePath("out/" + Name)))
            .remove(QChar(0xFEFF))
            .remove('\r');
    };
    EXPECT_EQ(lines("original.txt"), "\nA\nB\n\n\n\n\n\nafter\n");
    EXPECT_EQ(lines("ours.txt"), lines("original.txt"));
}

// The numbers and letters of a list whose levels name no font: LibreOffice
// draws those of our RTF as those of the original, in the document's font
// and not in a symbol font (where "a." is "α.").
TEST(RTFDrawnByLibreOffice, LibreOfficeDrawsOurListNumbersInTheDocumentsFont) {
    const std::string list =
        "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\fcharset2 Symbol;}{\\f1 Arial;}}{\\*\\listtable{\\list\\listid1"
        "{\\listlevel\\levelnfc4\\levelstartat1{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}"
        "\\li720\\fi-360}}{\\list\\listid2"
        "{\\listlevel\\levelnfc2\\levelstartat1{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}"
        "\\li720\\fi-360}}}"
        "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}{\\listoverride\\listid2\\ls2}}\\f1"
        "\\pard\\ls1 Erstens\\par\\pard\\ls1 Zweitens\\par\\pard\\ls2 Eins\\par\\pard\\ls2 Zwei\\par}";
    QTemporaryDir dir;
    const QString error = Convert(dir, {{"list.rtf", list}, {"list_ours.rtf", OurRTF(list)}}, "pdf");
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    for (const char* name : {"out/list.pdf", "out/list_ours.pdf"}) {
        QByteArray fonts, text;
        QString e = RunReader("pdffonts", {dir.filePath(name)}, &fonts, nullptr, 60000);
        ASSERT_TRUE(e.isEmpty()) << e.toStdString();
        EXPECT_FALSE(fonts.contains("Symbol")) << name << "\n" << fonts.toStdString();
        e = RunReader("pdftotext", {"-raw", dir.filePath(name), "-"}, &text, nullptr, 60000);
        ASSERT_TRUE(e.isEmpty()) << e.toStdString();
        EXPECT_EQ(QString::fromUtf8(text).simplified().toStdString(),
                  "a. Erstens b. Zweitens i. Eins ii. Zwei")
            << name;
    }
}

// LibreOffice lays out the tables of our RTF as those of the originals: the
// place-value table of page 1.1.2 with cells as wide as in the page itself
// (its "HT" does not wrap), and a row indented by \trleft.
TEST(RTFInLibreOffice, LibreOfficeReadsTheGeometryOfOurRTF) {
    QTemporaryDir dir;
    const std::string page = ReadFile(PRAVOLIN_SOURCE_DIR "/data/dateien/Zqk1/ZqK1_1B.rtf");
    ASSERT_FALSE(page.empty());
    const std::string indented = "{\\rtf1\\trowd\\trleft360\\cellx1800\\cellx3600\\pard\\intbl a\\cell b\\cell\\row"
                                 "\\pard x\\par}";
    const QString error = Convert(dir,
                                  {{"page.rtf", page}, {"page_ours.rtf", OurRTF(page)}, {"indented.rtf", indented},
                                   {"indented_ours.rtf", OurRTF(indented)}},
                                  "rtf");
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    const auto bounds = [&](const char* name) { return FirstRowBounds(ReadFile(dir.filePath(QString("out/") + name))); };
    // Cell widths: LibreOffice moves a row left by its padding, which is one
    // value here (5 pixels, 75 twips) and differs by side in the page.
    const auto widths = [](const std::vector<int>& b) {
        std::vector<int> w;
        for (size_t i = 1; i < b.size(); ++i)
            w.push_back(b[i] - b[i - 1]);
        return w;
    };
    const std::vector<int> theirs = bounds("page.rtf"), ours = bounds("page_ours.rtf");
    ASSERT_EQ(theirs.size(), 7u);
    EXPECT_EQ(widths(ours), widths(theirs));
    EXPECT_EQ(bounds("indented_ours.rtf"), bounds("indented.rtf"));
    EXPECT_EQ(bounds("indented.rtf").front(), 360);
}

// LibreOffice lays out our RTF of a report with a header table (its rows of
// several lines, its text at \sl24, a section break between two tables) with
// the lines where it lays out those of the original: line for line, a few
// points apart at most, measured from the first.
TEST(RTFDrawnByLibreOffice, LibreOfficeLaysOutTheHeaderTableAsTheOriginal) {
    const std::string original = ReadFile(CorpusRtfDir() + "/rtfpipe/Issue51.rtf");
    if (original.empty()) GTEST_SKIP() << "no corpus beside the sources";
    TImportDoc sect;
    ASSERT_EQ(ImportPage(sect, "{\\rtf1 a\\sect b\\par}"), 0);
    EXPECT_EQ(sect.PlainText(), "a\nb");
    QTemporaryDir dir;
    const QString error = Convert(dir, {{"original.rtf", original}, {"ours.rtf", OurRTF(original)}}, "pdf");
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    // The tops of the first lines of page 1, from the first line's.
    const auto lines = [&](const char* Name) {
        QByteArray out;
        const QString e = RunReader("pdftotext", {"-bbox", "-f", "1", "-l", "1", dir.filePath(Name), "-"},
                                    &out, nullptr, 60000);
        EXPECT_TRUE(e.isEmpty()) << e.toStdString();
        std::vector<double> tops;
        const QRegularExpression word(QStringLiteral("<word [^>]*yMin=\"([0-9.]+)\""));
        for (auto m = word.globalMatch(QString::fromUtf8(out)); m.hasNext();) {
            const double y = m.next().captured(1).toDouble();
            if (std::none_of(tops.begin(), tops.end(), [&](double t) { return std::abs(t - y) < 2; }))
                tops.push_back(y);
        }
        std::sort(tops.begin(), tops.end());
        tops.resize(std::min<size_t>(tops.size(), 12));
        const double first = tops.empty() ? 0 : tops.front();
        for (double& t : tops)
            t -= first;
        return tops;
    };
    const std::vector<double> theirs = lines("out/original.pdf"), ours = lines("out/ours.pdf");
    ASSERT_EQ(ours.size(), theirs.size());
    ASSERT_EQ(theirs.size(), 12u);
    for (size_t i = 0; i < ours.size(); ++i)
        EXPECT_NEAR(ours[i], theirs[i], 3.0) << "line " << i;
}

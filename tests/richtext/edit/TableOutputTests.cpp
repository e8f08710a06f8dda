// Tables written as RTF, HTML and plain text, read back by our reader and by
// the real programs that read such files.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

#include "TableTestDoc.h"
#include "platform/Pictures.h"
#include "richtext/rtf/RPRTFReaderProperties.h"
#include "support/Readers.h"

namespace {

class TableOutput : public TableFixture {
protected:
    TRPTableItemInfo* Grid2x2() {
        auto t = Make(2, 2);
        SetText(t.get(), 0, 0, "a");
        SetText(t.get(), 0, 1, "b");
        SetText(t.get(), 1, 0, "c");
        SetText(t.get(), 1, 1, "d");
        return Place(std::move(t));
    }
    std::string RTF() {
        std::string s;
        EXPECT_TRUE(Doc->SaveRTFToStream(s, false, 0, clWindow, nullptr, nullptr, 0));
        return s;
    }
    std::string Text() {
        std::string s;
        EXPECT_TRUE(Doc->SaveTextToStream(std::string(), s, 80, false, false, false, false));
        return s;
    }
    std::string HTML(bool CSS) {
        std::string s;
        TColor current = clNone;
        int no = 0;
        TRPHTMLParams p;
        p.Options = rphsoBodyOnly;
        EXPECT_TRUE(Doc->SaveHTMLRangeToStream(s, p, CSS, current, no, Doc->GetSaveRange(false)));
        return s;
    }
    // Reads RTF into a fresh document.
    std::unique_ptr<TTableTestDoc> Read(const std::string& Rtf) {
        auto d = std::make_unique<TTableTestDoc>(Style.get());
        QByteArray data(Rtf.data(), static_cast<qsizetype>(Rtf.size()));
        QBuffer buf(&data);
        buf.open(QIODevice::ReadOnly);
        TRPRTFReaderProperties props;
        EXPECT_EQ(props.ReadRTFStream(buf, d.get()), 0);
        return d;
    }
    static TRPTableItemInfo* First(TCustomRPData& D) {
        for (int i = 0; i < D.GetItemCount(); ++i)
            if (auto* t = dynamic_cast<TRPTableItemInfo*>(D.GetItem(i))) return t;
        return nullptr;
    }
    static size_t Count(const std::string& s, const std::string& w) {
        size_t n = 0;
        for (size_t p = s.find(w); p != std::string::npos; p = s.find(w, p + 1))
            ++n;
        return n;
    }
};

TEST_F(TableOutput, RTFMergeMarksAndEmptyGroupsForCoveredCells) {
    auto t = Make(2, 2);
    t->Rows->MergeCells(0, 0, 2, 2, true, false);
    SetText(t.get(), 0, 0, "alles");
    Place(std::move(t));
    const std::string rtf = RTF();
    // Row 0: the main cell, then (0, 1); row 1: (1, 0), then (1, 1).
    const size_t r0 = rtf.find("\\trowd"), r1 = rtf.find("\\trowd", r0 + 1);
    ASSERT_NE(r1, std::string::npos);
    const std::string row0 = rtf.substr(r0, r1 - r0), row1 = rtf.substr(r1);
    EXPECT_LT(row0.find("\\clvmgf\\clmgf"), row0.find("\\clmrg\\clvmgf"));
    EXPECT_NE(row1.find("\\clvmrg\\clmgf"), std::string::npos);
    EXPECT_NE(row1.find("\\clvmrg\\clmrg"), std::string::npos);
    EXPECT_EQ(Count(rtf, "\\cellx"), 4u);
    EXPECT_NE(row1.find("{{\\cell}{\\cell}}"), std::string::npos);
    // Read back: the same merged cell.
    auto back = Read(rtf);
    TRPTableItemInfo* b = First(*back);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(Spans(*b->Rows), "2x2 ./. .");
    EXPECT_EQ(CellText(b->GetCell(0, 0)), "alles");
}

TEST_F(TableOutput, RTFOfNestedTablesAndWidths) {
    auto t = Make(1, 1);
    t->BestWidth = -50;
    auto inner = TRPTableItemInfo::CreateEx(1, 2, t->GetCell(0, 0));
    SetText(inner.get(), 0, 0, "x");
    SetText(inner.get(), 0, 1, "y");
    // A colour of the nested table reaches the colour table through its cell.
    inner->GetCell(0, 1)->Color = static_cast<TColor>(0x1E140A);
    t->GetCell(0, 0)->Clear();
    t->GetCell(0, 0)->AddItem(std::string(), std::move(inner));
    t->GetCell(0, 0)->AddText("danach", 0, 0);
    Place(std::move(t));
    const std::string rtf = RTF();
    EXPECT_NE(rtf.find("\\trwWidth2500\\trftsWidth2"), std::string::npos);
    EXPECT_NE(rtf.find("{\\*\\nesttableprops\\trowd"), std::string::npos);
    EXPECT_NE(rtf.find("\\itap2"), std::string::npos);
    EXPECT_EQ(Count(rtf, "\\nestcell}"), 2u);
    EXPECT_EQ(Count(rtf, "\\nestrow}"), 1u);
    EXPECT_NE(rtf.find("\\red10\\green20\\blue30;"), std::string::npos) << rtf;
    auto back = Read(rtf);
    TRPTableItemInfo* b = First(*back);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->BestWidth, -50);
    TRPTableItemInfo* in = First(*b->GetCell(0, 0));
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(Spans(*in->Rows), "1x1 1x1");
    EXPECT_EQ(CellText(in->GetCell(0, 1)), "y");
    EXPECT_NE(CellText(b->GetCell(0, 0)).find("danach"), std::string::npos);
}

// The \cellx values of each row, in the order the rows are written: a row's
// properties end where its cells (or, nested, its end) begin.
std::vector<std::vector<long long>> RowBoundaries(const std::string& Rtf) {
    std::vector<std::vector<long long>> rows;
    for (size_t at = Rtf.find("\\trowd"); at != std::string::npos; at = Rtf.find("\\trowd", at + 1)) {
        const size_t end = std::min(Rtf.find("\\pard", at), Rtf.find("\\nestrow", at));
        auto& row = rows.emplace_back();
        for (size_t x = Rtf.find("\\cellx", at); x < end; x = Rtf.find("\\cellx", x + 1))
            row.push_back(std::stoll(Rtf.substr(x + 6, 12)));
    }
    return rows;
}

// A row of wide tables is wider than the boundaries' range (here 20 cells of
// 7.68 million pixels, past 2^31 twips): its boundaries end at the range's
// end, still increasing, and every row reads back with all its cells.
TEST_F(TableOutput, RTFBoundariesOfTablesWiderThanTheirRange) {
    for (const int outerCols : {19, 20}) {
        Doc = std::make_unique<TTableTestDoc>(Style.get());
        constexpr int innerCols = TRPTableLimits::MaxCols;
        auto t = Make(1, outerCols);
        for (int c = 0; c < outerCols; ++c) {
            TRPTableCellData* cell = t->GetCell(0, c);
            auto inner = TRPTableItemInfo::CreateEx(1, innerCols, cell);
            for (int i = 0; i < innerCols; ++i) {
                SetText(inner.get(), 0, i, "n");
                inner->GetCell(0, i)->BestWidth = TRPTableLimits::MaxLength;
            }
            cell->Clear();
            cell->AddItem(std::string(), std::move(inner));
        }
        Place(std::move(t));
        const std::string rtf = RTF();
        const auto rows = RowBoundaries(rtf);
        ASSERT_EQ(rows.size(), static_cast<size_t>(outerCols + 1));
        size_t outer = 0;
        for (const auto& row : rows) {
            ASSERT_TRUE(row.size() == static_cast<size_t>(innerCols) ||
                        row.size() == static_cast<size_t>(outerCols))
                << row.size();
            if (row.size() == static_cast<size_t>(outerCols)) ++outer;
            for (size_t i = 1; i < row.size(); ++i)
                EXPECT_GE(row[i], row[i - 1] + 2) << i;
            EXPECT_LE(row.back(), TRPTableLimits::MaxRTFBoundary);
        }
        EXPECT_EQ(outer, 1u);
        // The outer row, written first, passed the range and ends at its end.
        ASSERT_EQ(rows.front().size(), static_cast<size_t>(outerCols));
        EXPECT_EQ(rows.front().back(), TRPTableLimits::MaxRTFBoundary);
        auto back = Read(rtf);
        TRPTableItemInfo* b = First(*back);
        ASSERT_NE(b, nullptr);
        ASSERT_EQ(b->Rows->RowCount(), 1);
        EXPECT_EQ(b->Rows->GetColCount(), outerCols);
        for (int c = 0; c < b->Rows->GetColCount(); ++c) {
            TRPTableCellData* cell = b->GetCell(0, c);
            ASSERT_NE(cell, nullptr) << c;
            EXPECT_EQ(cell->ColSpan, 1) << c;
            TRPTableItemInfo* in = First(*cell);
            ASSERT_NE(in, nullptr) << c;
            ASSERT_EQ(in->Rows->RowCount(), 1);
            EXPECT_EQ(in->Rows->GetColCount(), innerCols) << c;
            for (int i = 0; i < in->Rows->GetColCount(); ++i)
                EXPECT_EQ(CellText(in->GetCell(0, i)), "n") << c << " " << i;
        }
    }
}

// Every spacing the table holds comes back from our RTF: the standard words
// give no spacing below zero (the cells' borders overlap, as other readers
// take it), words of our own give the spacing itself. A table spaced by
// nothing or more writes none of them.
TEST_F(TableOutput, RTFKeepsSpacingsBelowZero) {
    const auto values = [](const TRPTableItemInfo& t) {
        std::string s;
        for (int v : {t.BorderHSpacing, t.BorderVSpacing, t.CellHSpacing, t.CellVSpacing, t.BorderWidth,
                      t.CellBorderWidth, t.CellPadding})
            s += std::to_string(v) + " ";
        return s;
    };
    const auto sides = [](const TRPTableItemInfo& t) {
        std::string s;
        for (int r = 0; r < t.Rows->RowCount(); ++r)
            for (int c = 0; c < t.Rows->GetColCount(); ++c) {
                const TRPBooleanRect& v = t.Rows->GetCell(r, c)->VisibleBorders;
                for (bool b : {v.Left, v.Top, v.Right, v.Bottom})
                    s += b ? "1" : "0";
                s += " ";
            }
        return s;
    };
    for (const auto& [cellH, cellV] :
         {std::pair{-5, -8}, std::pair{-1, -1}, std::pair{-3, 2}, std::pair{0, -100}}) {
        Doc = std::make_unique<TTableTestDoc>(Style.get());
        TRPTableItemInfo* t = Grid2x2();
        t->BorderHSpacing = -20;
        t->BorderVSpacing = -100;
        t->CellHSpacing = cellH;
        t->CellVSpacing = cellV;
        t->BorderWidth = 1;
        t->CellBorderWidth = 1;
        t->GetCell(1, 1)->VisibleBorders.Top = false;
        t->Changed();
        Doc->Format();
        const std::string rtf = RTF();
        const std::string at = std::to_string(cellH) + " " + std::to_string(cellV) + "\n" + rtf;
        EXPECT_EQ(rtf.find("\\trspdl") != std::string::npos, cellH >= 0) << at;
        EXPECT_EQ(rtf.find("\\trspdt") != std::string::npos, cellV >= 0) << at;
        EXPECT_EQ(Count(rtf, "\\richpadtchs" + std::to_string(cellH) + "\\"), cellH < 0 ? 2u : 0u) << at;
        EXPECT_EQ(Count(rtf, "\\richpadtcvs" + std::to_string(cellV) + "\\"), cellV < 0 ? 2u : 0u) << at;
        auto back = Read(rtf);
        TRPTableItemInfo* b = First(*back);
        ASSERT_NE(b, nullptr) << at;
        EXPECT_EQ(values(*b), values(*t)) << at;
        EXPECT_EQ(sides(*b), sides(*t)) << at;
        // Laid out alike, the rows stand where they stood.
        back->Width = Doc->Width;
        back->Format();
        EXPECT_EQ(List(b->FormattingInfo.RowStarts), List(t->FormattingInfo.RowStarts)) << at;
        EXPECT_EQ(b->GetHeight(), t->GetHeight()) << at;
    }
    Doc = std::make_unique<TTableTestDoc>(Style.get());
    Grid2x2()->CellVSpacing = 0;
    const std::string rtf = RTF();
    EXPECT_EQ(rtf.find("\\richpadtc"), std::string::npos) << rtf;
}

TEST_F(TableOutput, PlainTextUsesTheSeparators) {
    TRPTableItemInfo* t = Grid2x2();
    EXPECT_EQ(Text(), "a\r\nb\r\nc\r\nd\r\n");
    t->TextColSeparator = "\t";
    t->TextRowSeparator = "\n";
    EXPECT_EQ(Text(), "a\tb\nc\td\n");
    std::string wide;
    ASSERT_TRUE(Doc->SaveTextToStream(std::string(), wide, 80, false, false, true, false));
    EXPECT_EQ(wide, std::string("a\0\t\0b\0\n\0c\0\t\0d\0\n\0", 16));
}

TEST_F(TableOutput, HTMLWritesMergedCellsOnceAndNoBracesInStyles) {
    auto t = Make(2, 2);
    t->Rows->MergeCells(0, 0, 2, 1, true, false);
    t->CellBorderWidth = 1;
    t->BorderStyle = rptbLoweredColor;
    t->GetCell(1, 1)->VisibleBorders.Top = false;
    SetText(t.get(), 0, 0, "oben");
    SetText(t.get(), 1, 0, "links");
    Place(std::move(t));
    for (bool css : {false, true}) {
        const std::string html = HTML(css);
        EXPECT_EQ(Count(html, "<TD"), 3u) << html;
        EXPECT_NE(html.find("<TD colspan=2"), std::string::npos);
        EXPECT_NE(html.find("&nbsp;"), std::string::npos);
        EXPECT_EQ(html.find("style='{"), std::string::npos) << html;
        if (css) {
            EXPECT_NE(html.find("style='border-width : 1px; border-top: none; '"), std::string::npos) << html;
            // The table's properties in one style attribute.
            EXPECT_NE(html.find("border=1 cellpadding=1 bordercolorlight=#FFFFFF bordercolordark=#000000 "
                                "cellspacing=2 style='border-width : 0px; border-color : #000000 #FFFFFF #FFFFFF "
                                "#000000; border-style: solid;'>"),
                      std::string::npos)
                << html;
        }
    }
}

// The CSS writer: a table stands in a DIV (a paragraph cannot hold it), and
// its cells' borders take the cells' own colours (the section pages' blue).
TEST_F(TableOutput, HTMLTableInADivWithTheCellsBorderColours) {
    auto t = Make(1, 2);
    t->BorderWidth = 0;
    t->CellBorderWidth = 1;
    t->BorderStyle = t->CellBorderStyle = rptbColor;
    t->BorderColor = t->CellBorderColor = clWindowText;
    t->GetCell(0, 0)->BorderColor = t->GetCell(0, 0)->BorderLightColor = static_cast<TColor>(0xC86E50);
    SetText(t.get(), 0, 0, "HT");
    SetText(t.get(), 0, 1, "ZT");
    Place(std::move(t));
    const std::string html = HTML(true);
    const std::string open = "\r\n<DIV><TABLE bgcolor=#FFFFFF border=1 cellpadding=1 bordercolor=#000000 "
                             "cellspacing=2 style='border-width : 0px;'>\r\n";
    EXPECT_EQ(html.substr(0, open.size()), open);
    EXPECT_NE(html.find("<TD style='border-width : 1px; border-color : #506EC8; border-style: solid; '>"),
              std::string::npos)
        << html;
    // A cell without colours of its own has the table's, which its bordercolor says.
    EXPECT_NE(html.find("<TD style='border-width : 1px; '>"), std::string::npos) << html;
    EXPECT_EQ(html.substr(html.size() - 16), "</TABLE>\r\n</DIV>");
}

// Background pictures of the table and its cells go beside the page (or by
// their file names when the options say so) and are named by the background
// attribute; CSS places pictures shown once, and a cell that shows no border
// says so where the table's border attribute would give it one. xmllint
// reads the page.
TEST_F(TableOutput, HTMLBackgroundPicturesAndCellsWithoutBorders) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto picture = [](TColor C) {
        auto b = std::make_unique<TBitmap>(8, 8);
        b->Canvas()->Brush()->SetColor(C);
        b->Canvas()->FillRect(Rect(0, 0, 8, 8));
        b->Canvas()->Release();
        return b;
    };
    auto t = Make(1, 2);
    t->BorderWidth = 1;
    t->CellBorderWidth = 0;
    t->SetBackgroundStyle(rpbsStretched);
    t->SetBackgroundImage(picture(clRed).get(), true);
    TRPTableCellData* tiled = t->GetCell(0, 1);
    tiled->SetBackgroundStyle(rpbsTiled);
    tiled->SetBackgroundImage(picture(clBlue).get(), true);
    tiled->BackgroundImageFileName = dir.filePath("muster/blau.png").toStdString();
    SetText(t.get(), 0, 0, "a");
    SetText(t.get(), 0, 1, "b");
    Place(std::move(t));
    const auto page = [&](const QString& Name, uint16_t Options) {
        std::string s;
        TColor current = clNone;
        int no = 0;
        TRPHTMLParams p;
        p.Path = dir.path().toStdString() + "/";
        p.ImagesPrefix = "bild";
        p.Options = Options;
        EXPECT_TRUE(Doc->SaveHTMLRangeToStream(s, p, true, current, no, Doc->GetSaveRange(false)));
        QFile f(dir.filePath(Name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(s.data(), static_cast<qint64>(s.size()));
        return s;
    };
    const std::string saved = page(QStringLiteral("gespeichert.html"), 0);
    EXPECT_NE(saved.find("style='background-position: center center; background-repeat: no-repeat;'"),
              std::string::npos)
        << saved;
    EXPECT_NE(
        saved.find("<TD style='background-position: left top; background-repeat: repeat; border-width : "
                   "0px; '"),
        std::string::npos)
        << saved;
    page(QStringLiteral("namen.html"), rphsoImageFileNames);
    QByteArray out, err;
    const QString xpath = QStringLiteral("concat(count(//td[@background]), '|', //table/@background, '|', "
                                         "//td[2]/@background, '|', //td[1]/@style, '@')");
    const QString error =
        RunReader(QStringLiteral("xmllint"),
                  {"--html", "--xpath", xpath, dir.filePath("gespeichert.html"), dir.filePath("namen.html")},
                  &out, &err, 60000);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(err.toStdString(), "");
    const QStringList pages = QString::fromUtf8(out).split(QLatin1Char('@'));
    ASSERT_GE(pages.size(), 2);
    const QStringList first = pages[0].trimmed().split(QLatin1Char('|'));
    const QStringList second = pages[1].trimmed().split(QLatin1Char('|'));
    ASSERT_EQ(first.size(), 4);
    ASSERT_EQ(second.size(), 4);
    // The pictures written beside the page, and the cell's by its name.
    EXPECT_EQ(first[0].toStdString(), "1");
    EXPECT_TRUE(QFile::exists(dir.filePath(first[1]))) << first[1].toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath(first[2]))) << first[2].toStdString();
    EXPECT_EQ(second[2].toStdString(), "muster/blau.png");
    // The cell without a picture of its own under a table picture shown once.
    EXPECT_EQ(first[3].trimmed().toStdString(),
              "background-position: left top; background-repeat: repeat; border-width : 0px;");
}

// Runs a program the tests need; scripts/setup installs them.
bool RunProgram(const QString& Program, const QStringList& Args, QString& Error) {
    const QString exe = QStandardPaths::findExecutable(Program);
    if (exe.isEmpty()) {
        Error = Program + " is not installed (scripts/setup installs it)";
        return false;
    }
    QProcess p;
    p.start(exe, Args);
    if (!p.waitForFinished(180000) || p.exitCode() != 0) {
        Error = Program + " failed: " + QString::fromUtf8(p.readAllStandardError());
        return false;
    }
    return true;
}

// Our RTF of merged and nested tables read by LibreOffice: every cell's text arrives once.
TEST_F(TableOutput, LibreOfficeReadsEveryCellOfOurTables) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto t = Make(3, 3);
    t->Rows->MergeCells(0, 0, 2, 1, true, false);
    t->Rows->MergeCells(1, 2, 1, 2, true, false);
    const char* texts[3][3] = {
        {"Ueberschrift", "", "Ecke"}, {"Apfel", "Birne", "Lang"}, {"Kirsche", "Pflaume", ""}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            if (t->GetCell(r, c) && *texts[r][c]) SetText(t.get(), r, c, texts[r][c]);
    auto inner = TRPTableItemInfo::CreateEx(1, 2, t->GetCell(2, 0));
    SetText(inner.get(), 0, 0, "Innen1");
    SetText(inner.get(), 0, 1, "Innen2");
    t->GetCell(2, 0)->AddItem(std::string(), std::move(inner));
    Place(std::move(t));
    {
        const std::string rtf = RTF();
        QFile f(dir.filePath(QStringLiteral("ours.rtf")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(rtf.data(), static_cast<qint64>(rtf.size()));
    }
    const QString profile =
        QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile"));
    QString error;
    ASSERT_TRUE(RunProgram(QStringLiteral("soffice"),
                           {profile, QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                            QStringLiteral("txt:Text"), QStringLiteral("--outdir"), dir.path(),
                            dir.filePath(QStringLiteral("ours.rtf"))},
                           error))
        << error.toStdString();
    QFile txt(dir.filePath(QStringLiteral("ours.txt")));
    ASSERT_TRUE(txt.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(txt.readAll());
    for (const char* w :
         {"Ueberschrift", "Ecke", "Apfel", "Birne", "Lang", "Kirsche", "Pflaume", "Innen1", "Innen2"})
        EXPECT_EQ(text.count(QString::fromLatin1(w)), 1) << w << " in\n" << text.toStdString();
}

} // namespace

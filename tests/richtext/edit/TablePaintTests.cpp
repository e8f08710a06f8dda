// Painting tables: borders in their styles and colours, cell backgrounds and
// contents, the dotted grid of editors, selection, and scrolled-in cells.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "TableTestDoc.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/rtf/RPRTFReaderProperties.h"

namespace {

class TablePaint : public TableFixture {
protected:
    // Paints the document on white, scrolled down by VOffs.
    QImage Paint(int VOffs = 0) {
        Doc->Surface.fill(Qt::white);
        Doc->Canvas.Release();
        Doc->VOffsValue = VOffs;
        Doc->PaintDocument(Doc->Canvas, Rect(0, 0, 500, 200));
        Doc->Canvas.Release();
        return Doc->Surface.copy(0, 0, 500, 200);
    }
    static TColor At(const QImage& I, int X, int Y) {
        const QRgb p = I.pixel(X, Y);
        return static_cast<TColor>(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16));
    }
    static void Save(const QImage& I, const char* Name) {
        QDir().mkpath(PRAVOLIN_TEST_OUTPUT);
        I.save(QString(PRAVOLIN_TEST_OUTPUT) + "/" + Name);
    }
};

TEST_F(TablePaint, ColourBordersCellsAndText) {
    auto t = Make(2, 2);
    t->BorderWidth = 2;
    t->BorderStyle = rptbColor;
    t->BorderColor = clBlue;
    t->CellBorderWidth = 1;
    t->CellBorderStyle = rptbColor;
    t->CellBorderColor = clRed;
    t->Color = clWhite;
    t->GetCell(1, 1)->Color = clYellow;
    SetText(t.get(), 0, 0, "Preis");
    SetText(t.get(), 0, 1, "1,50");
    SetText(t.get(), 1, 0, "Menge");
    Doc->Width = 300;
    TRPTableItemInfo* p = Place(std::move(t));
    const QImage img = Paint();
    Save(img, "table_colour_borders.png");
    // Outer border: two blue lines at the corner.
    EXPECT_EQ(At(img, 0, 10), clBlue);
    EXPECT_EQ(At(img, 1, 10), clBlue);
    EXPECT_EQ(At(img, 2, 10), clWhite);
    // Cell border of cell (0, 0) one pixel outside its box.
    const TRPTableCellData* c = p->GetCell(0, 0);
    EXPECT_EQ(c->Left, 5);
    EXPECT_EQ(At(img, c->Left - 1, c->Top + 5), clRed);
    EXPECT_EQ(At(img, c->Left + 3, c->Top - 1), clRed);
    // The yellow cell is filled inside its border.
    const TRPTableCellData* y = p->GetCell(1, 1);
    EXPECT_EQ(At(img, y->Left + y->Width - 1, y->Top + y->Height - 1), clYellow);
    EXPECT_EQ(At(img, y->Left + y->Width, y->Top + y->Height), clRed);
    // Text is drawn inside the first cell: some dark pixels in its first line.
    int dark = 0;
    for (int x = c->Left; x < c->Left + 50; ++x)
        for (int yy = c->Top; yy < c->Top + 20; ++yy)
            if (qGray(img.pixel(x, yy)) < 100) ++dark;
    EXPECT_GT(dark, 20);
}

// A cell of RTF with a border on one side only shows that side in its colour.
TEST_F(TablePaint, OneSidedBordersOfRTFShowTheirColour) {
    const QByteArray rtf(
        "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\\trowd"
        "\\clbrdrb\\brdrs\\brdrw15\\brdrcf1\\cellx1500\\clbrdrr\\brdrs\\brdrw15\\brdrcf2\\cellx3000"
        "\\intbl a\\cell b\\cell\\row}");
    QBuffer buf;
    buf.setData(rtf);
    buf.open(QIODevice::ReadOnly);
    TRPRTFReaderProperties props;
    ASSERT_EQ(props.ReadRTFStream(buf, Doc.get()), 0);
    Doc->Format();
    TRPTableItemInfo* t = nullptr;
    for (int i = 0; i < Doc->GetItemCount() && !t; ++i)
        t = dynamic_cast<TRPTableItemInfo*>(Doc->GetItem(i));
    ASSERT_NE(t, nullptr);
    const QImage img = Paint();
    const TRPTableCellData* a = t->GetCell(0, 0);
    const TRPTableCellData* b = t->GetCell(0, 1);
    const int cb = t->CellBorderWidth;
    EXPECT_EQ(At(img, a->Left + a->Width / 2, a->Top + a->Height + cb - 1), clRed);
    EXPECT_EQ(At(img, b->Left + b->Width + cb - 1, b->Top + b->Height / 2), clBlue);
}

TEST_F(TablePaint, EditorsShowDottedGridLinesForInvisibleBorders) {
    auto t = Make(1, 2);
    t->Color = clNone;
    t->GetCell(0, 1)->VisibleBorders.Left = false;
    t->CellBorderWidth = 1;
    t->CellBorderStyle = rptbColor;
    t->CellBorderColor = clBlack;
    Doc->Width = 200;
    TRPTableItemInfo* p = Place(std::move(t));
    p->TableState |= rptbsEditorDoc;
    QImage img = Paint();
    Save(img, "table_grid_lines.png");
    const TColor face = ColorToRGB(clBtnFace);
    // The table's own outline (border width 0): dots at 0, 2 and 4 of every eight.
    EXPECT_EQ(At(img, 0, 0), face);
    EXPECT_EQ(At(img, 0, 1), clWhite);
    EXPECT_EQ(At(img, 0, 2), face);
    EXPECT_EQ(At(img, 0, 6), clWhite);
    EXPECT_EQ(At(img, 0, 8), face);
    // The hidden left side of cell (0, 1) is dotted; its top is solid.
    const TRPTableCellData* c = p->GetCell(0, 1);
    EXPECT_EQ(At(img, c->Left - 1, c->Top + 1), face);
    EXPECT_EQ(At(img, c->Left - 1, c->Top), clWhite);
    EXPECT_EQ(At(img, c->Left + 5, c->Top - 1), clBlack);

    p->Options |= rptoHideGridLines;
    img = Paint();
    EXPECT_EQ(At(img, 0, 0), clWhite);
    EXPECT_EQ(At(img, c->Left - 1, c->Top + 1), clWhite);
}

// Borders of width 0 are outlined all round, also where a neighbour's side
// lies on them; the neighbour check serves wider borders only.
TEST_F(TablePaint, BordersOfWidthZeroAreOutlinedAllRound) {
    auto t = Make(1, 2);
    t->Color = clNone;
    t->CellHSpacing = -1;
    Doc->Width = 200;
    TRPTableItemInfo* p = Place(std::move(t));
    p->TableState |= rptbsEditorDoc;
    const TRPTableCellData* c = p->GetCell(0, 1);
    const QImage img = Paint();
    EXPECT_EQ(At(img, c->Left, c->Top + 2), ColorToRGB(clBtnFace));
    EXPECT_EQ(At(img, c->Left, c->Top + 1), clWhite);
}

// Printed with halftone borders, each colour is one line of the full width,
// a pixel wider on a device finer than the screen; without, one-pixel lines.
// A colour border there is a pixel wider either way and starts a pixel
// further up.
TEST_F(TablePaint, HalftoneBordersArePrintedWithAFullWidthPen) {
    auto t = Make(1, 1);
    TRPTableItemInfo* p = Place(std::move(t));
    const TRPResolution fine{96, 96, 192, 192};
    p->Resolution = &fine;
    for (const bool halftone : {true, false}) {
        p->PrintOptions = halftone ? rptoHalftoneBorders : 0;
        for (const TRPTableBorderStyle style : {rptbRaisedColor, rptbColor}) {
            SCOPED_TRACE(std::to_string(halftone) + " " + std::to_string(style));
            Doc->Surface.fill(Qt::white);
            Doc->Canvas.Release();
            p->DrawBorder(Doc->Canvas, 10, 10, 60, 60, 2, clRed, clBlue, clWhite, style, true, false, nullptr,
                          -1, -1, Rect(0, 0, 500, 200), rpcmColor);
            Doc->Canvas.Release();
            const QImage img = Doc->Surface.copy(0, 0, 100, 100);
            const TColor top = style == rptbColor ? clBlue : clRed;
            // Twice the screen's resolution: 4 lines, or a pen of 5 pixels.
            const int first = style == rptbColor ? 9 : 10;
            const int last = style != rptbColor && halftone ? 14 : 13;
            for (int y = first; y <= last; ++y)
                EXPECT_EQ(At(img, 30, y), top) << y;
            EXPECT_EQ(At(img, 30, last + 1), clWhite);
            EXPECT_EQ(At(img, 30, first - 1), clWhite);
            EXPECT_EQ(At(img, 30, 58), clBlue);
            EXPECT_EQ(At(img, 30, 60), clWhite);
        }
    }
}

TEST_F(TablePaint, OnlyTablesInAnEditorShowTheGrid) {
    TRichPadEdit edit(nullptr);
    edit.SetStyle(Style.get());
    auto t = TRPTableItemInfo::CreateEx(1, 1, edit.RPData());
    TRPTableItemInfo* p = t.get();
    edit.RPData()->AddItem(std::string(), std::move(t));
    EXPECT_TRUE(p->TableState & rptbsEditorDoc);
    TRPTableItemInfo* shown = Place(Make(1, 1));
    EXPECT_FALSE(shown->TableState & rptbsEditorDoc);
}

TEST_F(TablePaint, TablesLoadedIntoAnEditorShowTheGridToo) {
    TRichPadEdit edit(nullptr);
    edit.SetStyle(Style.get());
    edit.RPData()->AddItem(std::string(), TRPTableItemInfo::CreateEx(2, 2, edit.RPData()));
    std::string rpf;
    ASSERT_TRUE(edit.SaveRPFToStream(rpf, false));
    const auto table = [&]() -> TRPTableItemInfo* {
        for (int i = 0; i < edit.RPData()->GetItemCount(); ++i)
            if (auto* t = dynamic_cast<TRPTableItemInfo*>(edit.RPData()->GetItem(i))) return t;
        return nullptr;
    };
    edit.Clear();
    ASSERT_TRUE(edit.LoadRPFFromStream(rpf));
    ASSERT_NE(table(), nullptr);
    EXPECT_TRUE(table()->TableState & rptbsEditorDoc);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("tabelle.rtf"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\\rtf1\\trowd\\cellx1000\\cellx2000\\pard\\intbl A\\cell B\\cell\\row}");
    f.close();
    edit.Clear();
    ASSERT_TRUE(edit.LoadRTF(file.toStdString()));
    ASSERT_NE(table(), nullptr);
    EXPECT_TRUE(table()->TableState & rptbsEditorDoc);
}

TEST_F(TablePaint, RaisedBorderStaysVisibleOnAHighlightBackground) {
    auto t = Make(1, 1);
    TRPTableItemInfo* p = Place(std::move(t));
    Doc->Surface.fill(Qt::white);
    Doc->Canvas.Release();
    p->DrawBorder(Doc->Canvas, 10, 10, 30, 30, 1, clNone, clNone, clBtnHighlight, rptbRaised, false, false,
                  nullptr, -1, -1, Rect(0, 0, 100, 100), rpcmColor);
    Doc->Canvas.Release();
    EXPECT_EQ(At(Doc->Surface, 15, 10), ColorToRGB(clBtnFace));
    EXPECT_EQ(At(Doc->Surface, 29, 20), ColorToRGB(clBtnShadow));
    // A border handled by the owner draws nothing of its own.
    int calls = 0;
    p->OnDrawBorder = [&](TRPTableItemInfo*, TCanvas*, int, int, int, int, int, TColor, TColor, TColor,
                          TRPTableBorderStyle, bool, const TRPBooleanRect*, int, int, bool& DoDefault) {
        ++calls;
        DoDefault = false;
    };
    p->DrawBorder(Doc->Canvas, 70, 10, 90, 30, 1, clNone, clNone, clWhite, rptbRaised, false, true, nullptr,
                  -1, -1, Rect(0, 0, 100, 100), rpcmColor);
    Doc->Canvas.Release();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(At(Doc->Surface, 75, 10), clWhite);
}

TEST_F(TablePaint, SelectedTableFillsCellsWithTheSelectionColour) {
    Style->InactiveSelColor = clGreen;
    auto t = Make(1, 1);
    TRPTableItemInfo* p = Place(std::move(t));
    Doc->Surface.fill(Qt::white);
    Doc->Canvas.Release();
    p->PaintTo(Doc->Canvas, 0, 0, Rect(0, 0, 500, 200), p->FormattingInfo, rptpsWholeSelected, rpcmColor);
    Doc->Canvas.Release();
    const TRPTableCellData* c = p->GetCell(0, 0);
    EXPECT_EQ(At(Doc->Surface, c->Left + 3, c->Top + 3), clGreen);
    EXPECT_EQ(c->State & rpcsSelected, 0u);
}

// Spaced below zero, or closer than their height, rows paint inside the
// table's box: over neither the line before the table nor the one after it,
// scrolled into the table or not.
TEST_F(TablePaint, RowsSpacedBelowZeroPaintInsideTheTable) {
    for (const auto& [borderV, cellV] : {std::pair{-100, 2}, std::pair{-30, -60}, std::pair{2, -100}}) {
        Doc->Clear();
        Doc->AddNL("davor", 0, 0);
        auto t = Make(4, 1);
        t->CellBorderWidth = 0;
        t->BorderVSpacing = borderV;
        t->CellVSpacing = cellV;
        for (int r = 0; r < 4; ++r) {
            t->GetCell(r, 0)->Color = r % 2 ? clYellow : clAqua;
            SetText(t.get(), r, 0, std::string(r + 1, 'z'));
        }
        Place(std::move(t));
        Doc->AddNL("danach", 0, 0);
        Doc->Format();
        const int top = Doc->DrawItem(1)->Top, bottom = Doc->DrawItem(2)->Top;
        const std::string at = std::to_string(borderV) + " " + std::to_string(cellV);
        ASSERT_GT(bottom, top) << at;
        const QImage img = Paint();
        const auto colours = [&](const QImage& I, int From, int To) {
            int n = 0;
            for (int y = std::max(0, From); y < std::min(To, I.height()); ++y)
                for (int x = 0; x < 400; ++x)
                    if (At(I, x, y) == clYellow || At(I, x, y) == clAqua) ++n;
            return n;
        };
        EXPECT_EQ(colours(img, 0, top), 0) << at;
        EXPECT_EQ(colours(img, bottom, 200), 0) << at;
        EXPECT_GT(colours(img, top, bottom), 0) << at;
        // Scrolled into the table, a screen shows what the whole picture does.
        for (int v = top; v < bottom; v += 7) {
            const QImage scrolled = Paint(v);
            EXPECT_EQ(scrolled.copy(0, 0, 500, 200 - v), img.copy(0, v, 500, 200 - v)) << at << " at " << v;
        }
    }
}

TEST_F(TablePaint, VerticallyMergedCellIsPaintedWhenScrolledIntoItsMiddle) {
    auto t = Make(12, 2);
    t->Rows->MergeCells(0, 0, 1, 12, true, false);
    t->GetCell(0, 0)->Color = clAqua;
    TRPTableItemInfo* p = Place(std::move(t));
    const TRPTableCellData* c = p->GetCell(0, 0);
    ASSERT_GT(c->Height, 250);
    const QImage img = Paint(150);
    EXPECT_EQ(At(img, c->Left + 3, 20), clAqua);
}

} // namespace

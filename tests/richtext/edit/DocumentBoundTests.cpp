// Documents past 2^31 pixels in all, in the editor a log book shows them in:
// one table of 100,000 rows, 720 tables, and tables nested as deep as they
// go. They format, paint, scroll, take the caret and a click, print and save;
// what lies past the document's bound (RPCoords.h) stands at the bound and
// is kept whole.
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>
#include <climits>
#include <utility>
#include <vector>

#include "EditTestSupport.h"
#include "TableTestDoc.h"
#include "platform/Keys.h"
#include "platform/Printer.h"
#include "richtext/edit/RPEditData.h"
#include "richtext/edit/RPTableInplace.h"
#include "richtext/model/RPCoords.h"
#include "richtext/view/RPPrint.h"
#include "support/PdfPrinter.h"
#include "support/Readers.h"

namespace {

// The tallest row a file gives a table, and the height a row of it takes in
// the default table (padding 1 above and below, spacing 2 between rows).
constexpr int TallRow = TRPTableLimits::MaxLength;
constexpr int TallRowPitch = TallRow + 4;

// A table of tall rows in one column, with text in some of its cells.
std::unique_ptr<TRPTableItemInfo> TallTable(TCustomRPData* Doc, int Rows,
                                            std::vector<std::pair<int, std::string>> Texts = {}) {
    auto t = TRPTableItemInfo::CreateEx(Rows, 1, Doc);
    for (int r = 0; r < Rows; ++r)
        t->GetCell(r, 0)->BestHeight = TallRow;
    for (const auto& [row, text] : Texts) {
        t->GetCell(row, 0)->Clear();
        t->GetCell(row, 0)->AddText(text, 0, 0);
    }
    return t;
}

// Place and size of every draw item.
std::vector<TRect> Layout(const TCustomRPFormattedData& D) {
    std::vector<TRect> out;
    for (int i = 0; i < D.DrawItemCount(); ++i) {
        const TRPDrawLineInfo* d = D.DrawItem(i);
        out.push_back(Bounds(d->Left, d->Top, d->Width, d->Height));
    }
    return out;
}

::testing::AssertionResult TopsInOrder(const TCustomRPFormattedData& D) {
    for (int i = 0; i < D.DrawItemCount(); ++i) {
        const int top = D.DrawItem(i)->Top;
        if (top > RPMaxCoord || (i > 0 && top < D.DrawItem(i - 1)->Top))
            return ::testing::AssertionFailure() << "draw item " << i << " at " << top;
    }
    return ::testing::AssertionSuccess();
}

QImage ClientImage(TCustomRichPad& View) {
    return View.ClientWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool AnyInk(const QImage& Image) {
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            if (Image.pixel(x, y) != qRgb(255, 255, 255)) return true;
    return false;
}

// A click at (X, Y) of the view's client area; the release goes to a cell
// editor that the press opened and that took the mouse.
void Click(TCustomRichPad& View, TRPTableItemInfo& Table, int X, int Y) {
    const auto send = [](TCustomRichPad& To, QEvent::Type Type, int X, int Y) {
        QWidget* w = To.ClientWidget();
        QMouseEvent e(Type, QPointF(X, Y), w->mapToGlobal(QPointF(X, Y)), Qt::LeftButton,
                      Type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    send(View, QEvent::MouseButtonPress, X, Y);
    if (TRPTableInplaceEdit* e = Table.InplaceEditor(); e && e->MouseCapture())
        send(*e, QEvent::MouseButtonRelease, X - e->Left(), Y - e->Top());
    else
        send(View, QEvent::MouseButtonRelease, X, Y);
}

// The text of each page of a PDF as poppler reads it.
QStringList PdfText(const QString& Pdf) {
    QStringList pages;
    const QString failed = PdfTextPages(Pdf, pages);
    EXPECT_TRUE(failed.isEmpty()) << failed.toStdString();
    return pages;
}

// The document's RPF read into a fresh editor and written again.
std::string RPFAgain(const std::string& RPF) {
    TEditFixture g(400, 300);
    EXPECT_TRUE(g.Edit->LoadRPFFromStream(RPF));
    g.Edit->Format();
    return SaveRPF(*g.Edit);
}

} // namespace

// ---------------------------------------------------------------------------
// The table's own layout

using TableLayoutBound = TableFixture;

// Rows of 30,004 pixels each: 8,946 of them lie below 2^28, the 8,947th
// reaches past and keeps the room that is left, and every row after it
// stands at the bound with none.
TEST_F(TableLayoutBound, RowsAddUpExactlyBelowTheBoundAndStandAtItPast) {
    const auto layout = [&](int Rows) -> const TRPTableItemFormattingInfo& {
        Doc->Clear();
        TRPTableItemInfo* t = Place(TallTable(Doc.get(), Rows));
        return t->FormattingInfo;
    };
    const TRPTableItemFormattingInfo& below = layout(8946);
    EXPECT_EQ(below.Height, 2 + 8946 * TallRowPitch);
    EXPECT_EQ(below.RowStarts[8945], 2 + 8945 * TallRowPitch);
    EXPECT_EQ(below.RowsPastBound, 0);
    EXPECT_EQ(Doc->DocumentHeight, below.Height);

    const TRPTableItemFormattingInfo& past = layout(8949);
    EXPECT_EQ(past.Height, RPMaxCoord);
    EXPECT_EQ(past.RowStarts[8946], 2 + 8946 * TallRowPitch);
    EXPECT_EQ(past.RowHeights[8946], RPMaxCoord - past.RowStarts[8946]);
    for (int r : {8947, 8948}) {
        EXPECT_EQ(past.RowStarts[r], RPMaxCoord);
        EXPECT_EQ(past.RowHeights[r], 0);
    }
    EXPECT_EQ(past.RowsPastBound, 2);
    const auto* t = static_cast<TRPTableItemInfo*>(Doc->GetItem(0));
    const TRPTableCellData* last = t->GetCell(8948, 0);
    EXPECT_EQ(last->Top, RPMaxCoord);
    EXPECT_EQ(last->Height, 0);
    EXPECT_EQ(Doc->DocumentHeight, RPMaxCoord);
}

// Widths set through the program are not bounded: 256 columns of the largest
// int each still lay out, every column and the table inside the bound.
TEST_F(TableLayoutBound, ColumnsOfHugeWidthsStopAtTheBound) {
    auto table = Make(2, 256);
    for (int c = 0; c < 256; ++c)
        table->GetCell(0, c)->BestWidth = INT_MAX;
    table->Rows->MergeCells(1, 0, 256, 1, true, false);
    TRPTableItemInfo* t = Place(std::move(table));
    const TRPTableItemFormattingInfo& f = t->FormattingInfo;
    EXPECT_EQ(f.Width, RPMaxCoord);
    EXPECT_EQ(t->GetMinWidth(nullptr, &Doc->Canvas, Doc.get()), RPMaxCoord);
    for (int c = 0; c < 256; ++c) {
        EXPECT_LE(f.ColWidths[c], RPMaxCoord);
        EXPECT_LE(f.ColStarts[c], RPMaxCoord);
        if (c > 0) { EXPECT_GE(f.ColStarts[c], f.ColStarts[c - 1]); }
    }
    EXPECT_LE(t->GetCell(1, 0)->Width, RPMaxCoord);
    EXPECT_EQ(Doc->ContentWidth, RPMaxCoord);
}

// ---------------------------------------------------------------------------
// One table of 100,000 rows: 3 * 10^9 pixels

class OneTallTable : public ::testing::Test {
protected:
    static constexpr int Rows = 100000;
    static inline std::unique_ptr<TEditFixture> F;
    static inline TRPTableItemInfo* T = nullptr;

    static void SetUpTestSuite() {
        F = std::make_unique<TEditFixture>(400, 300);
        F->Edit->Clear();
        F->Edit->AddText("Anfang", 0, 0);
        auto t = TallTable(F->Data(), Rows, {{0, "Erste"}, {Rows - 1, "Letzte"}});
        t->GetCell(0, 0)->VAlign = rpcTop; // where a page shows it
        T = t.get();
        F->Data()->AddItem(std::string(), std::move(t));
        F->Edit->AddText("Ende", 0, 0);
        F->Edit->Format();
    }
    static void TearDownTestSuite() { F.reset(); }
    void SetUp() override {
        F->Edit->SetBounds(0, 0, 400, 300);
        F->Edit->Deselect();
        F->Key(VK_HOME, ssCtrl);
    }
};

// Before, the rows' starts wrapped round past 2^31 and the view showed an
// empty page. Now it shows the first rows as it does those of a short table.
TEST_F(OneTallTable, ShowsItsRowsAtThreeWidths) {
    TEditFixture shortOne(400, 300);
    shortOne.Edit->Clear();
    shortOne.Edit->AddText("Anfang", 0, 0);
    auto t = TallTable(shortOne.Data(), 3, {{0, "Erste"}});
    t->GetCell(0, 0)->VAlign = rpcTop;
    shortOne.Data()->AddItem(std::string(), std::move(t));
    shortOne.Edit->Format();
    for (int width : {400, 250, 600}) {
        F->Edit->SetBounds(0, 0, width, 300);
        shortOne.Edit->SetBounds(0, 0, width, 300);
        EXPECT_EQ(F->Data()->DocumentHeight, RPMaxCoord);
        EXPECT_TRUE(TopsInOrder(*F->Data()));
        EXPECT_EQ(F->Data()->DrawItem(2)->Top, RPMaxCoord); // "Ende"
        EXPECT_EQ(T->FormattingInfo.Height, RPMaxCoord);
        EXPECT_EQ(T->FormattingInfo.RowsPastBound, Rows - 8947);
        const QImage image = ClientImage(*F->Edit);
        EXPECT_TRUE(AnyInk(image));
        EXPECT_EQ(image, ClientImage(*shortOne.Edit)) << "at width " << width;
    }
}

// The scroll bar reaches the bound. At the end the last row before it
// paints, the caret goes to what lies past it, and a click on that row opens
// the cell editor there.
TEST_F(OneTallTable, ScrollsToTheEndAndTakesTheCaretAndAClickThere) {
    TCustomRichPadEdit& e = *F->Edit;
    TRPEditRPData& d = *F->Data();
    e.SendScrollMessage(SB_VERT, SB_BOTTOM);
    EXPECT_GT(e.VPos, 0);
    EXPECT_EQ(e.VPos, e.VScrollMax - std::max(0, e.VScrollPage - 1));
    EXPECT_GT(d.GetVOffs(), RPMaxCoord - e.VSmallStep - e.ClientHeight());
    EXPECT_TRUE(AnyInk(ClientImage(e)));
    const int bottom = d.GetVOffs() + e.ClientHeight() - 10;
    int dItem = -1, dOffs = -1;
    d.FindDrawItemAtPos(10, bottom, true, dItem, dOffs);
    EXPECT_EQ(dItem, 1);
    EXPECT_EQ(T->GetRowAt(bottom - d.DrawItem(1)->Top), 8946);

    F->Key(VK_END, ssCtrl);
    EXPECT_EQ(F->CaretPos(), "2:5");
    EXPECT_TRUE(AnyInk(ClientImage(e)));
    F->Key(VK_HOME, ssCtrl);
    EXPECT_EQ(F->CaretPos(), "0:1");
    EXPECT_EQ(e.VPos, 0);

    e.SendScrollMessage(SB_VERT, SB_BOTTOM);
    Click(e, *T, 20, e.ClientHeight() - 10);
    int row = -1, col = -1;
    TRPTableInplaceEdit* cellEditor = T->GetEditedCell(row, col);
    ASSERT_NE(cellEditor, nullptr);
    EXPECT_EQ(row, 8946);
    cellEditor->SendChar('x');
    EXPECT_TRUE(AnyInk(ClientImage(e)));
    T->CloseInplaceEditor(true);
    EXPECT_EQ(T->GetCell(8946, 0)->GetItemText(0), "x");
    EXPECT_EQ(d.DocumentHeight, RPMaxCoord);
    EXPECT_TRUE(TopsInOrder(d));
}

// Pages run to the bound of the printer's layout (2^28 printer pixels):
// the rows past it and what follows the table are not printed. The first and
// the last page print.
TEST_F(OneTallTable, PrintsPagesUpToTheBound) {
    TPdfPrinter first(QStringLiteral("erste.pdf"));
    TRPPrint print(nullptr);
    print.AssignSource(F->Edit);
    print.FormatPages();
    const int pages = print.GetPagesCount();
    // A row is taller than a page: each takes a page of its own.
    const int deviceRow = MulDiv(TallRowPitch, Printer()->PixelsPerInchY(), 96);
    EXPECT_NEAR(pages, RPMaxCoord / deviceRow, 3);
    EXPECT_EQ(print.Data()->PrintedDrawItems, 2);
    ASSERT_TRUE(print.PrintableRP()->PrintPages(1, 2, QStringLiteral("Anfang"), 1, false));
    const QStringList text = PdfText(first.Pdf);
    ASSERT_EQ(text.size(), 2);
    EXPECT_TRUE(text[0].contains(QStringLiteral("Anfang")));
    EXPECT_TRUE(text[1].contains(QStringLiteral("Erste")));

    TPdfPrinter last(QStringLiteral("letzte.pdf"));
    ASSERT_TRUE(print.PrintableRP()->PrintPages(pages, pages, QStringLiteral("Ende"), 1, false));
    const QStringList lastText = PdfText(last.Pdf);
    EXPECT_LE(lastText.size(), 1);
    EXPECT_FALSE(lastText.join(QString()).contains(QStringLiteral("Ende")));

    // Not cut into parts, the table stands on a page of its own, and draws
    // there what the page shows of its rows and of its tiled picture.
    T->PrintOptions &= static_cast<TRPTablePrintOptions>(~rptoRowsSplit);
    T->SetBackgroundImage(SolidBitmap(clYellow, 8).get(), true);
    T->SetBackgroundStyle(rpbsTiled);
    print.FormatPages();
    EXPECT_EQ(print.GetPagesCount(), 2);
    TPdfPrinter whole(QStringLiteral("ganz.pdf"));
    ASSERT_TRUE(print.PrintableRP()->PrintPages(2, 2, QStringLiteral("Tabelle"), 1, false));
    EXPECT_TRUE(PdfText(whole.Pdf).join(QString()).contains(QStringLiteral("Erste")));
    T->PrintOptions |= rptoRowsSplit;
    T->SetBackgroundImage(nullptr, false);
}

// RPF keeps every row, RPF written again is the same; RTF read back has them all.
TEST_F(OneTallTable, SavesAndReadsBackWhole) {
    const std::string rpf = SaveRPF(*F->Edit);
    EXPECT_EQ(RPFAgain(rpf), rpf);

    std::string rtf;
    ASSERT_TRUE(F->Edit->SaveRTFToStream(rtf, false));
    TEditFixture g(400, 300);
    g.Edit->Clear();
    ASSERT_TRUE(g.Edit->InsertRTFFromStream(rtf));
    ASSERT_GE(g.Data()->GetItemCount(), 3);
    const auto* t = dynamic_cast<TRPTableItemInfo*>(g.Data()->GetItem(1));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->Rows->RowCount(), Rows);
    EXPECT_EQ(t->GetCell(Rows - 1, 0)->GetItemText(0), "Letzte");
    EXPECT_EQ(g.Data()->GetItemText(2), "Ende");
}

// ---------------------------------------------------------------------------
// 720 tables of 100 tall rows: 2.16 * 10^9 pixels

TEST(ManyTallTables, FormatPaintPrintAndSaveWhole) {
    TEditFixture f(400, 300);
    f.Edit->Clear();
    const int tables = 720, inside = RPMaxCoord / (100 * TallRowPitch + 4);
    for (int k = 0; k < tables; ++k) {
        f.Edit->AddText("Tabelle " + std::to_string(k), 0, 0);
        f.Data()->AddItem(std::string(), TallTable(f.Data(), 100, {{0, "Zeile"}}));
    }
    f.Edit->AddText("Ende", 0, 0);
    TRPEditRPData& d = *f.Data();
    for (int width : {400, 700}) {
        f.Edit->SetBounds(0, 0, width, 300);
        f.Edit->Format();
        ASSERT_EQ(d.DrawItemCount(), 2 * tables + 1);
        EXPECT_EQ(d.DocumentHeight, RPMaxCoord);
        EXPECT_TRUE(TopsInOrder(d));
        // The tables before the bound stand each below the one before.
        EXPECT_LT(d.DrawItem(2 * inside - 1)->Top, RPMaxCoord);
        EXPECT_EQ(d.DrawItem(2 * inside + 2)->Top, RPMaxCoord);
    }
    f.Edit->SendScrollMessage(SB_VERT, SB_BOTTOM);
    EXPECT_GT(d.GetVOffs(), RPMaxCoord - f.Edit->VSmallStep - f.Edit->ClientHeight());
    EXPECT_TRUE(AnyInk(ClientImage(*f.Edit)));
    f.Key(VK_END, ssCtrl);
    EXPECT_EQ(f.CaretPos(), std::to_string(2 * tables) + ":5");

    TPdfPrinter printer(QStringLiteral("tabellen.pdf"));
    TRPPrint print(nullptr);
    print.AssignSource(f.Edit);
    print.FormatPages();
    const int pages = print.GetPagesCount();
    const int printed = print.Data()->PrintedDrawItems;
    EXPECT_GT(printed, 0);
    EXPECT_LT(printed, 2 * tables);
    ASSERT_TRUE(print.PrintableRP()->PrintPages(pages, pages, QStringLiteral("Tabellen"), 1, false));
    EXPECT_LE(PdfText(printer.Pdf).size(), 1);

    const std::string rpf = SaveRPF(*f.Edit);
    EXPECT_EQ(RPFAgain(rpf), rpf);
}

// ---------------------------------------------------------------------------
// Editing a document at the bound

// An edit lays out only what it touched and moves what lies below; past the
// bound nothing stands where a move would take it. Rows that an edit adds,
// a character typed at the top and the undo of both come out as a full
// format lays them out.
TEST(DocumentAtTheBound, EditsLayOutAsAFullFormatDoes) {
    TEditFixture f(400, 300);
    f.Edit->Clear();
    f.Edit->AddText("Anfang", 0, 0);
    TRPTableItemInfo* first = nullptr;
    // 89 tables of 100 rows lie just below the bound.
    for (int k = 0; k < 89; ++k) {
        auto t = TallTable(f.Data(), 100);
        if (!first) first = t.get();
        f.Data()->AddItem(std::string(), std::move(t));
        f.Edit->AddText("nach " + std::to_string(k), 0, 0);
    }
    f.Edit->Format();
    f.Edit->ClearUndo();
    TRPEditRPData& d = *f.Data();
    ASSERT_LT(d.DocumentHeight, RPMaxCoord);
    const auto sameAsFull = [&](const char* Step) {
        const std::vector<TRect> edited = Layout(d);
        const int height = d.DocumentHeight;
        f.Edit->Format();
        EXPECT_EQ(height, d.DocumentHeight) << Step;
        EXPECT_TRUE(edited == Layout(d)) << Step;
        EXPECT_TRUE(TopsInOrder(d)) << Step;
    };
    first->InsertRows(0, 60, 0, false);
    ASSERT_EQ(d.DocumentHeight, RPMaxCoord);
    sameAsFull("rows added past the bound");
    f.Caret(0, 1);
    f.Type("x");
    sameAsFull("typed at the top");
    f.Key(VK_RETURN);
    sameAsFull("a paragraph more at the top");
    f.Edit->Undo();
    f.Edit->Undo();
    f.Edit->Undo();
    EXPECT_EQ(first->Rows->RowCount(), 100);
    EXPECT_LT(d.DocumentHeight, RPMaxCoord);
    sameAsFull("undone below the bound");
}

// ---------------------------------------------------------------------------
// Tables nested as deep as files nest them

// Each table stands in a cell below a row of a hundred million pixels (a
// height set through the program: files give 30,000 at most), the innermost
// cell over 3 * 10^9 pixels down the document. Its origin stops at the bound
// on the way, and its cell editor opens, takes a character and saves whole.
TEST(NestedTallTables, TheInnermostCellStopsAtTheBoundAndEdits) {
    TEditFixture f(400, 300);
    f.Edit->Clear();
    f.Edit->AddText("Anfang", 0, 0);
    std::vector<TRPTableItemInfo*> nest;
    TCustomRPData* holder = f.Data();
    for (int k = 0; k < TRPTableLimits::MaxDepth; ++k) {
        auto t = TallTable(holder, 2, {{0, "Stufe"}});
        t->GetCell(0, 0)->BestHeight = 100000000;
        nest.push_back(t.get());
        holder->AddItem(std::string(), std::move(t));
        holder = nest.back()->GetCell(1, 0);
    }
    holder->Clear();
    holder->AddText("innen", 0, 0);
    f.Edit->Format();
    TRPEditRPData& d = *f.Data();
    EXPECT_EQ(d.DocumentHeight, RPMaxCoord);
    TRPTableCellData* inner = nest.back()->GetCell(1, 0);
    int x = 0, y = 0;
    inner->GetOrigin(x, y);
    EXPECT_EQ(y, RPMaxCoord);
    EXPECT_GT(x, 0);
    EXPECT_LT(x, 1000);
    inner->GetOriginEx(x, y);
    EXPECT_EQ(y, RPMaxCoord);
    EXPECT_TRUE(AnyInk(ClientImage(*f.Edit)));

    nest.back()->EditCellAt(1, 0, true);
    int row = -1, col = -1;
    TRPTableInplaceEdit* e = nest.back()->GetEditedCell(row, col);
    ASSERT_NE(e, nullptr);
    e->SendChar('x');
    EXPECT_EQ(e->EditData()->GetItemText(0), "xinnen");
    EXPECT_TRUE(AnyInk(ClientImage(*f.Edit)));
    nest.front()->CloseInplaceEditor(true);
    EXPECT_EQ(inner->GetItemText(0), "xinnen");
    EXPECT_EQ(d.DocumentHeight, RPMaxCoord);

    // Read back (with the rows' heights bounded as a file's are), every
    // table holds the next down to the innermost text.
    TEditFixture g(400, 300);
    ASSERT_TRUE(g.Edit->LoadRPFFromStream(SaveRPF(*f.Edit)));
    g.Edit->Format();
    const TCustomRPData* doc = g.Data();
    for (int k = 0; k < TRPTableLimits::MaxDepth; ++k) {
        const auto* t =
            doc->GetItemCount() > 1 ? dynamic_cast<const TRPTableItemInfo*>(doc->GetItem(1)) : nullptr;
        ASSERT_NE(t, nullptr) << "level " << k;
        doc = t->GetCell(1, 0);
    }
    EXPECT_EQ(doc->GetItemText(0), "xinnen");
}

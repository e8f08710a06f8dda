// Tables in RPF: round trips in text and binary form, parts of rows, and
// damaged or hostile table blocks.
#include <QDir>
#include <climits>

#include "TableEditFixture.h"

#include "platform/Pictures.h"
#include "richtext/model/RPFTokens.h"

namespace {

// A document whose selection is what a test sets, parts of tables included.
class TSelectedDoc : public TTableTestDoc {
public:
    using TTableTestDoc::TTableTestDoc;
    TRPSaveRange Sel;
    void GetSelectionBounds(int& StartNo, int& StartOffs, int& EndNo, int& EndOffs,
                            std::shared_ptr<const TRPMultiDrawItemPart>& StartPart,
                            std::shared_ptr<const TRPMultiDrawItemPart>& EndPart) override {
        StartNo = Sel.StartItemNo, StartOffs = Sel.StartOffs, EndNo = Sel.EndItemNo, EndOffs = Sel.EndOffs;
        StartPart = Sel.StartPart;
        EndPart = Sel.EndPart;
    }
};

class TableRPF : public TableFixture {
protected:
    // The block of selected cells from (Row, Col), RowCount x ColCount.
    static std::shared_ptr<TRPTableSelectionPart> Cells(int Row, int RowCount, int Col, int ColCount) {
        auto p = std::make_shared<TRPTableSelectionPart>();
        p->StartRow = Row, p->RowCount = RowCount, p->StartCol = Col, p->ColCount = ColCount;
        return p;
    }
    // A 3 x 3 table with merges, attributes, a nested table and text.
    TRPTableItemInfo* BuildSample() {
        auto t = Make(3, 3);
        t->Rows->MergeCells(0, 0, 2, 1, true, false);
        t->Rows->MergeCells(1, 2, 1, 2, true, false);
        SetText(t.get(), 0, 0, "Kopf");
        SetText(t.get(), 1, 0, "a\nb");
        SetText(t.get(), 2, 1, "Preis");
        t->GetCell(1, 1)->Color = clYellow;
        t->GetCell(1, 1)->BestWidth = -30;
        t->GetCell(2, 0)->VisibleBorders.Left = false;
        t->GetCell(2, 0)->VAlign = rpcBottom;
        t->Rows->GetRow(1)->VAlign = rpcMiddle;
        t->BorderWidth = 2;
        t->CellBorderStyle = rptbColor;
        t->HeadingRowCount = 1;
        t->TextColSeparator = "\t";
        auto inner = TRPTableItemInfo::CreateEx(1, 2, t->GetCell(1, 2));
        SetText(inner.get(), 0, 1, "innen");
        TRPTableCellData* host = t->GetCell(1, 2);
        host->Clear();
        host->AddItem(std::string(), std::move(inner));
        return Place(std::move(t));
    }
    std::string Save(TCustomRPData& D) {
        std::string s;
        D.SaveRPFToStream(s, false, clNone, nullptr, nullptr);
        return s;
    }
    std::unique_ptr<TTableTestDoc> Load(const std::string& s, bool& Ok) {
        auto d = std::make_unique<TTableTestDoc>(Style.get());
        TColor c = clNone;
        Ok = d->LoadRPFFromStream(s, c, nullptr, nullptr);
        return d;
    }
    static TRPTableItemInfo* First(TCustomRPData& D) {
        for (int i = 0; i < D.GetItemCount(); ++i)
            if (auto* t = dynamic_cast<TRPTableItemInfo*>(D.GetItem(i))) return t;
        return nullptr;
    }
    // A block of a Rows x Cols grid without properties whose cells have, in
    // order, the spans given (columns, rows), no attributes and no content.
    static std::string GridBlock(int32_t Rows, int32_t Cols,
                                 const std::vector<std::pair<int32_t, int32_t>>& Cells) {
        std::string b = "RPT1";
        b += '\0'; // no properties
        RPFWriteInt32(b, Rows);
        RPFWriteInt32(b, Cols);
        for (const auto& [colSpan, rowSpan] : Cells) {
            RPFWriteInt32(b, colSpan);
            RPFWriteInt32(b, rowSpan);
            b += '\0'; // no attributes
            RPFWriteInt32(b, 0);
        }
        RPFWriteInt32(b, -1);
        b += '\0'; // every row at the top
        return b;
    }
    // The table block of the record that a part of table P writes (text RPF).
    std::string PartBlock(TRPTableItemInfo* P, TRPTablePrintPart& Part) {
        std::string s;
        P->SaveRPF(s, Doc.get(), 0, 0, "", &Part, false);
        std::string lines = s.substr(s.rfind("\r\n", s.size() - 3) + 2);
        lines.resize(lines.size() - 2);
        std::string block;
        EXPECT_TRUE(RPFHexToStream(lines, block));
        return block;
    }
};

TEST_F(TableRPF, RoundTripKeepsGridAttributesAndContent) {
    BuildSample();
    for (bool binary : {false, true}) {
        Doc->RPFOpts = binary ? rpfoSaveBinary : 0;
        const std::string first = Save(*Doc);
        // The header's data mode tells the form of the block.
        EXPECT_NE(first.find(binary ? "-60 3 0 0 2 " : "-60 3 0 0 0 "), std::string::npos);
        bool ok = false;
        auto back = Load(first, ok);
        ASSERT_TRUE(ok) << binary;
        back->RPFOpts = Doc->RPFOpts;
        TRPTableItemInfo* t = First(*back);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(Spans(*t->Rows), "1x2 . 1x1/1x1 1x1 2x1/1x1 1x1 .");
        EXPECT_EQ(CellText(t->GetCell(1, 0)), "a|b");
        EXPECT_EQ(t->GetCell(1, 1)->Color, clYellow);
        EXPECT_EQ(t->GetCell(1, 1)->BestWidth, -30);
        EXPECT_FALSE(t->GetCell(2, 0)->VisibleBorders.Left);
        EXPECT_EQ(t->GetCell(2, 0)->VAlign, rpcBottom);
        EXPECT_EQ(t->Rows->GetRow(1)->VAlign, rpcMiddle);
        EXPECT_EQ(t->BorderWidth, 2);
        EXPECT_EQ(t->CellBorderStyle, rptbColor);
        EXPECT_EQ(t->TextColSeparator, "\t");
        TRPTableItemInfo* inner = First(*t->GetCell(1, 2));
        ASSERT_NE(inner, nullptr);
        EXPECT_EQ(CellText(inner->GetCell(0, 1)), "innen");
        EXPECT_EQ(inner->GetRPData(), t->GetCell(1, 2));
        // Written again, the stream is the same byte for byte.
        EXPECT_EQ(Save(*back), first);
    }
}

// Background pictures of the table and of its cells are kept in the block and
// drawn after loading: the table's stretched under its transparent cells, a
// cell's over the table's.
TEST_F(TableRPF, BackgroundPicturesComeBackAndAreDrawn) {
    auto t = Make(1, 2);
    SetText(t.get(), 0, 0, "links");
    t->BorderHSpacing = t->BorderVSpacing = 6;
    t->SetBackgroundStyle(rpbsStretched);
    t->SetBackgroundImage(SolidBitmap(clRed, 2).get(), true);
    t->GetCell(0, 1)->SetBackgroundStyle(rpbsTiled);
    t->GetCell(0, 1)->SetBackgroundImage(SolidBitmap(clBlue, 2).get(), true);
    Place(std::move(t));
    for (bool binary : {false, true}) {
        Doc->RPFOpts = binary ? rpfoSaveBinary : 0;
        const std::string s = Save(*Doc);
        bool ok = false;
        auto back = Load(s, ok);
        ASSERT_TRUE(ok) << binary;
        back->Format();
        TRPTableItemInfo* u = First(*back);
        ASSERT_NE(u, nullptr);
        ASSERT_NE(u->GetBackgroundImage(), nullptr);
        EXPECT_EQ(u->GetBackgroundImage()->Width(), 2);
        EXPECT_EQ(u->GetBackgroundStyle(), rpbsStretched);
        const TRPTableCellData* cell = u->GetCell(0, 1);
        ASSERT_NE(cell->GetBackgroundImage(), nullptr);
        EXPECT_EQ(cell->GetBackgroundStyle(), rpbsTiled);
        EXPECT_EQ(u->GetCell(0, 0)->GetBackgroundImage(), nullptr);
        back->RPFOpts = Doc->RPFOpts;
        EXPECT_EQ(Save(*back), s);

        back->Surface.fill(Qt::white);
        back->PaintDocument(back->Canvas, Rect(0, 0, 500, 200));
        back->Canvas.Release();
        QDir().mkpath(PRAVOLIN_TEST_OUTPUT);
        back->Surface.copy(0, 0, 500, 120)
            .save(QStringLiteral(PRAVOLIN_TEST_OUTPUT "/table_backgrounds.png"));
        const auto at = [&](int X, int Y) { return QColor(back->Surface.pixel(X, Y)).rgb() & 0xFFFFFF; };
        EXPECT_EQ(at(2, 2), 0xFF0000u);                          // the table's spacing
        EXPECT_EQ(at(cell->Left + 2, cell->Top + 2), 0x0000FFu); // the cell's own picture
        const TRPTableCellData* left = u->GetCell(0, 0);
        EXPECT_EQ(at(left->Left + left->Width - 2, left->Top + 1), 0xFF0000u); // transparent cell
    }
}

// A picture of a class this program does not know is left out; the rest of
// the table reads. A class name longer than any class is a damaged block.
TEST_F(TableRPF, UnknownPictureClassesAreSkipped) {
    auto t = Make(1, 1);
    SetText(t.get(), 0, 0, "Text");
    auto b = std::make_unique<TBitmap>();
    b->SetSize(2, 2);
    t->GetCell(0, 0)->SetBackgroundImage(b.get(), true);
    TRPTableItemInfo* p = Place(std::move(t));
    const std::string good = p->SaveToBlock(TRPTableBlock(*p->Rows));
    const size_t at = good.find("TBitmap");
    ASSERT_NE(at, std::string::npos);
    std::string unknown = good;
    unknown.replace(at, 7, "TBitmaX");
    auto u = Make(1, 1);
    ASSERT_TRUE(u->LoadFromBlock(unknown));
    EXPECT_EQ(u->GetCell(0, 0)->GetBackgroundImage(), nullptr);
    EXPECT_EQ(CellText(u->GetCell(0, 0)), "Text");
    std::string longName = good.substr(0, at - 4);
    RPFWriteInt32(longName, 100);
    longName += std::string(100, 'T') + good.substr(at + 7);
    EXPECT_FALSE(Make(1, 1)->LoadFromBlock(longName));
}

TEST_F(TableRPF, EmptyGridAndPlainRowsWriteLittle) {
    auto t = Make(0, 0);
    t->BackgroundImageFileName = "karo.gif";
    Place(std::move(t));
    const std::string s = Save(*Doc);
    // One extra-property line, counted in the header.
    EXPECT_NE(s.find("-60 4 0 0 0 "), std::string::npos);
    EXPECT_NE(s.find("filename=karo.gif\r\n"), std::string::npos);
    bool ok = false;
    auto back = Load(s, ok);
    ASSERT_TRUE(ok);
    ASSERT_NE(First(*back), nullptr);
    EXPECT_TRUE(First(*back)->Rows->IsEmpty());
    EXPECT_EQ(First(*back)->BackgroundImageFileName, "karo.gif");
}

TEST_F(TableRPF, PrintPartWritesHeadingRowsAndItsRows) {
    auto t = Make(5, 1);
    t->HeadingRowCount = 1;
    for (int r = 0; r < 5; ++r)
        SetText(t.get(), r, 0, "r" + std::to_string(r));
    TRPTableItemInfo* p = Place(std::move(t));
    TRPTablePrintPart part;
    part.StartRow = 3;
    part.RowCount = 2;
    auto copy = Make(1, 1);
    ASSERT_TRUE(copy->LoadFromBlock(PartBlock(p, part)));
    ASSERT_EQ(copy->Rows->RowCount(), 3);
    EXPECT_EQ(CellText(copy->GetCell(0, 0)), "r0");
    EXPECT_EQ(CellText(copy->GetCell(1, 0)), "r3");
    EXPECT_EQ(CellText(copy->GetCell(2, 0)), "r4");
}

// A heading cell merged down into the rows of a printed part stays one cell
// where the rows follow each other, and is cut where they do not.
TEST_F(TableRPF, PrintPartsWithAHeadingCellMergedIntoTheirRowsReadBack) {
    auto t = Make(5, 2);
    t->HeadingRowCount = 1;
    t->Rows->MergeCells(0, 0, 1, 2, true, false);
    SetText(t.get(), 0, 0, "Kopf");
    TRPTableItemInfo* p = Place(std::move(t));
    for (const int start : {1, 3}) {
        TRPTablePrintPart part;
        part.StartRow = start;
        part.RowCount = 5 - start;
        auto copy = Make(1, 1);
        ASSERT_TRUE(copy->LoadFromBlock(PartBlock(p, part))) << start;
        EXPECT_EQ(Spans(*copy->Rows),
                  start == 1 ? "2x1 1x1/. 1x1/1x1 1x1/1x1 1x1/1x1 1x1" : "1x1 1x1/1x1 1x1/1x1 1x1")
            << start;
        EXPECT_EQ(CellText(copy->GetCell(0, 0)), "Kopf");
        EXPECT_EQ(copy->HeadingRowCount, 1);
    }
}

// A document whose selection runs from some cells of one table to some of
// another: each table gives its selected block, the text between stays.
TEST_F(TableRPF, ASelectionFromCellsOfOneTableToCellsOfAnotherWritesBothBlocks) {
    TSelectedDoc d(Style.get());
    const auto table = [&](const char* Texts) {
        auto t = TRPTableItemInfo::CreateEx(2, 2, &d);
        for (int i = 0; i < 4; ++i)
            SetText(t.get(), i / 2, i % 2, std::string(1, Texts[i]));
        d.AddItem(std::string(), std::move(t));
    };
    d.AddNL("vor", 0, 0);
    table("abcd");
    d.AddNL("mitte", 0, 0);
    table("efgh");
    d.AddNL("nach", 0, 0);
    d.Format();
    d.Sel = TRPSaveRange(1, 0, 3, 1);
    d.Sel.StartPart = Cells(1, 1, 0, 2); // c d
    d.Sel.EndPart = Cells(0, 1, 1, 1);   // f
    std::string rpf;
    ASSERT_TRUE(d.SaveRPFToStream(rpf, true, clNone, nullptr, nullptr));
    bool ok = false;
    auto back = Load(rpf, ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(back->GetItemCount(), 3);
    auto* first = dynamic_cast<TRPTableItemInfo*>(back->GetItem(0));
    auto* last = dynamic_cast<TRPTableItemInfo*>(back->GetItem(2));
    ASSERT_TRUE(first && last);
    EXPECT_EQ(Spans(*first->Rows), "1x1 1x1");
    EXPECT_EQ(CellText(first->GetCell(0, 0)) + CellText(first->GetCell(0, 1)), "cd");
    EXPECT_EQ(back->GetItemText(1), "mitte");
    EXPECT_EQ(Spans(*last->Rows), "1x1");
    EXPECT_EQ(CellText(last->GetCell(0, 0)), "f");
    std::string text;
    ASSERT_TRUE(d.SaveTextToStream(std::string(), text, 80, true, false, false, false));
    EXPECT_EQ(text, "c\r\nd\r\n\r\nmitte\r\nf\r\n");
}

// A selection that ends in cells of the document's last table reaches the
// document's end: its end checkpoint is written after the cells and comes
// back as the end checkpoint, not as the table's, whether the selection
// starts in the text before the table or in the cells themselves.
TEST_F(TableRPF, ASelectionEndingInCellsOfTheLastTableKeepsTheEndCheckpoint) {
    TSelectedDoc d(Style.get());
    d.AddNL("vor", 0, 0);
    auto t = TRPTableItemInfo::CreateEx(2, 2, &d);
    for (int i = 0; i < 4; ++i)
        SetText(t.get(), i / 2, i % 2, std::string(1, "abcd"[i]));
    d.AddItem(std::string(), std::move(t));
    d.AddCheckpoint("ende", false, TRPTag());
    d.Format();
    for (const bool afterText : {true, false}) {
        SCOPED_TRACE(afterText ? "after text" : "cells alone");
        d.Sel = afterText ? TRPSaveRange(0, 2, 1, 1) : TRPSaveRange(1, 0, 1, 1);
        d.Sel.EndPart = Cells(1, 1, 0, 2); // c d
        if (!afterText) d.Sel.StartPart = d.Sel.EndPart;
        std::string rpf;
        ASSERT_TRUE(d.SaveRPFToStream(rpf, true, clNone, nullptr, nullptr));
        EXPECT_TRUE(rpf.ends_with("\r\nende\r\n")) << rpf;
        bool ok = false;
        auto back = Load(rpf, ok);
        ASSERT_TRUE(ok);
        ASSERT_EQ(back->GetItemCount(), afterText ? 2 : 1);
        if (afterText) { EXPECT_EQ(back->GetItemText(0), "or"); }
        auto* cells = dynamic_cast<TRPTableItemInfo*>(back->GetItem(back->GetItemCount() - 1));
        ASSERT_NE(cells, nullptr);
        EXPECT_EQ(Spans(*cells->Rows), "1x1 1x1");
        EXPECT_EQ(CellText(cells->GetCell(0, 0)) + CellText(cells->GetCell(0, 1)), "cd");
        EXPECT_EQ(cells->Checkpoint, nullptr);
        ASSERT_NE(back->NotAddedCP, nullptr);
        EXPECT_EQ(back->NotAddedCP->Name, "ende");
        EXPECT_EQ(back->CPCount, 1);
    }
}

// The same from an editor: cells selected in its last table are saved as the
// selection, and an editor that loads them has the cells and the end checkpoint.
using TableCellsRPF = TableInEditor;
TEST_F(TableCellsRPF, CellsOfTheLastTableSaveTheEndCheckpoint) {
    F.Load("vor");
    auto t = TRPTableItemInfo::CreateEx(2, 2, F.Data());
    T = t.get();
    for (int i = 0; i < 4; ++i) {
        T->GetCell(i / 2, i % 2)->Clear();
        T->GetCell(i / 2, i % 2)->AddNL(std::string(1, "abcd"[i]), 0, 0);
    }
    F.Data()->AddItem(std::string(), std::move(t));
    F.Data()->AddCheckpoint("ende", false, TRPTag());
    F.Edit->Format();
    F.Data()->SetPartialSelectedItem(T);
    T->Select(1, 0, 1, 0);
    std::string rpf;
    ASSERT_TRUE(F.Edit->SaveRPFToStream(rpf, true));
    TRichPadEdit back(F.Form.get());
    back.SetStyle(F.Style.get());
    ASSERT_TRUE(back.LoadRPFFromStream(rpf));
    ASSERT_EQ(back.ItemCount(), 1);
    auto* cells = dynamic_cast<TRPTableItemInfo*>(back.GetItem(0));
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(Spans(*cells->Rows), "1x1 1x1");
    EXPECT_EQ(PlainText(*cells->GetCell(0, 0)) + PlainText(*cells->GetCell(0, 1)), "cd");
    ASSERT_NE(back.RPData()->NotAddedCP, nullptr);
    EXPECT_EQ(back.RPData()->NotAddedCP->Name, "ende");
}

TEST_F(TableRPF, DamagedBlocksAreRefusedWithoutHarm) {
    TRPTableItemInfo* p = BuildSample();
    const std::string good = p->SaveToBlock(TRPTableBlock(*p->Rows));
    auto t = Make(1, 1);
    ASSERT_TRUE(t->LoadFromBlock(good));
    // Every truncation is refused.
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(t->LoadFromBlock(good.substr(0, n))) << n;
    // Huge counts that the bytes cannot back.
    std::string huge(good.data(), 4);
    huge += std::string(1, '\0'); // no properties
    RPFWriteInt32(huge, 100000);
    RPFWriteInt32(huge, 256);
    EXPECT_FALSE(t->LoadFromBlock(huge));
    // A cell list that goes on after the grid is full.
    std::string extra(good.data(), 4);
    extra += std::string(1, '\0');
    RPFWriteInt32(extra, 1);
    RPFWriteInt32(extra, 1);
    for (int i = 0; i < 2; ++i) {
        RPFWriteInt32(extra, 1);
        RPFWriteInt32(extra, 1);
        extra += std::string(1, '\0');
        RPFWriteInt32(extra, 0);
    }
    RPFWriteInt32(extra, -1);
    extra += std::string(1, '\0');
    EXPECT_FALSE(t->LoadFromBlock(extra));
    // Every byte changed in turn: the table reads or refuses, and stays sound.
    for (size_t i = 4; i < good.size(); ++i) {
        std::string bad = good;
        bad[i] = static_cast<char>(bad[i] ^ 0x5A);
        auto u = Make(1, 1);
        if (u->LoadFromBlock(bad)) {
            EXPECT_TRUE(u->Rows->IsConsistent()) << i;
        }
    }
}

// A cell covers its own position and at most what the grid has left right
// of and below it: a span below one, one past the grid's end, one that
// overflows when added to the cell's position, and one over a cell read
// before refuse the block.
TEST_F(TableRPF, SpansOutsideTheGridRefuseTheBlock) {
    const std::pair<int32_t, int32_t> one{1, 1};
    auto t = Make(1, 1);
    ASSERT_TRUE(t->LoadFromBlock(GridBlock(2, 3, {{2, 2}, one, one})));
    EXPECT_EQ(Spans(*t->Rows), "2x2 . 1x1/. . 1x1");
    ASSERT_TRUE(t->LoadFromBlock(GridBlock(2, 3, {one, one, {1, 2}, one, one})));
    EXPECT_EQ(Spans(*t->Rows), "1x1 1x1 2x1/1x1 1x1 .");
    const std::vector<std::pair<const char*, std::string>> bad = {
        {"no columns", GridBlock(2, 3, {{0, 1}, one, one, one, one, one})},
        {"no rows", GridBlock(2, 3, {{1, 0}, one, one, one, one, one})},
        {"negative", GridBlock(2, 3, {one, {INT_MIN, 1}, one, one, one, one})},
        {"end of cells as a row span", GridBlock(2, 3, {{1, -1}, one, one, one, one, one})},
        {"a column past the grid", GridBlock(2, 3, {one, {3, 1}, one, one, one})},
        {"a row past the grid", GridBlock(2, 3, {one, one, one, {1, 2}, one, one})},
        {"all columns", GridBlock(2, 3, {one, {INT_MAX, 1}, one, one, one})},
        {"all rows", GridBlock(2, 3, {one, one, one, one, {1, INT_MAX}, one})},
        {"both", GridBlock(2, 3, {one, one, one, one, {INT_MAX, INT_MAX}})},
        {"over a merged cell", GridBlock(2, 3, {one, one, {1, 2}, one, {2, 1}})},
    };
    for (const auto& [what, block] : bad) {
        SCOPED_TRACE(what);
        auto u = Make(1, 1);
        EXPECT_FALSE(u->LoadFromBlock(block));
    }
}

// The same blocks in a stream after a paragraph: the read ends with false.
// The stream reader keeps the paragraph it read before the table in the
// document it reads into; a load and the editor's check before a paste read
// into a copy, so the document stays as it was and nothing is pasted.
TEST_F(TableRPF, AStreamWithABadTableBlockStopsAfterTheItemsBeforeIt) {
    Doc->AddNL("vor", 0, 0);
    TRPTableItemInfo* t = Place(Make(2, 3));
    const std::string hex = RPFStringToHex(t->SaveToBlock(TRPTableBlock(*t->Rows)));
    const std::string good = Save(*Doc);
    const size_t at = good.find(hex);
    ASSERT_NE(at, std::string::npos);
    const std::pair<int32_t, int32_t> one{1, 1};
    for (const std::string& block : {GridBlock(2, 3, {one, one, one, one, {1, INT_MAX}, one}),
                                     GridBlock(2, 3, {{0, 1}, one, one, one, one, one}),
                                     GridBlock(2, 3, {{-5, -5}, one, one, one, one, one}),
                                     GridBlock(2, 3, {one, {3, 1}, one, one, one})}) {
        std::string s = good;
        s.replace(at, hex.size(), RPFStringToHex(block));
        TTableTestDoc into(Style.get());
        int index = 0, added = 0, outInt = 0;
        bool outFlag = false, aborted = false;
        TColor color = clNone;
        EXPECT_FALSE(into.InsertRPFFromStream(s, index, -1, false, false, true, color, nullptr, nullptr,
                                              added, outInt, outFlag, aborted));
        EXPECT_TRUE(aborted);
        ASSERT_EQ(into.GetItemCount(), 1);
        EXPECT_EQ(into.GetItemText(0), "vor");

        TTableTestDoc loaded(Style.get());
        loaded.AddNL("alt", 0, 0);
        EXPECT_FALSE(loaded.LoadRPFFromStream(s, color, nullptr, nullptr));
        ASSERT_EQ(loaded.GetItemCount(), 1);
        EXPECT_EQ(loaded.GetItemText(0), "alt");

        int count = -1;
        EXPECT_FALSE(loaded.CheckRPFInsertion(s, count));
        EXPECT_EQ(count, 0);
        EXPECT_EQ(loaded.GetItemCount(), 1);
    }
    // The stream as written reads whole.
    TTableTestDoc back(Style.get());
    TColor color = clNone;
    ASSERT_TRUE(back.LoadRPFFromStream(good, color, nullptr, nullptr));
    EXPECT_EQ(back.GetItemCount(), 2);
}

// What the program writes always reads back: the whole table, every block of
// cells that can be selected and every printed part, merged cells cut at the
// block's edges included, in the spans the block gave them.
TEST_F(TableRPF, EveryBlockTheTableWritesReadsBack) {
    auto t = Make(4, 4);
    t->Rows->MergeCells(0, 0, 2, 2, true, false);
    t->Rows->MergeCells(0, 2, 2, 1, true, false);
    t->Rows->MergeCells(1, 3, 1, 3, true, false);
    t->Rows->MergeCells(2, 0, 3, 2, true, false);
    t->HeadingRowCount = 2;
    TRPTableItemInfo* p = Place(std::move(t));
    ASSERT_EQ(Spans(*p->Rows), "2x2 . 1x2 ./. . 1x1 3x1/2x3 . . ./. . . .");
    const auto check = [&](const TRPTableBlock& Block, const std::string& What) {
        SCOPED_TRACE(What);
        std::string want;
        for (int r = 0; r < Block.RowCount(); ++r) {
            if (r) want += "/";
            for (int c = 0; c < Block.ColCount(); ++c) {
                if (c) want += " ";
                want += Block.GetCell(r, c)
                            ? std::to_string(Block.RowSpan(r, c)) + "x" + std::to_string(Block.ColSpan(r, c))
                            : ".";
            }
        }
        auto copy = Make(1, 1);
        ASSERT_TRUE(copy->LoadFromBlock(p->SaveToBlock(Block)));
        EXPECT_TRUE(copy->Rows->IsConsistent());
        EXPECT_EQ(Spans(*copy->Rows), Block.RowCount() ? want : "");
    };
    check(TRPTableBlock(*p->Rows), "whole");
    for (int row = 0; row < 4; ++row)
        for (int rows = 1; row + rows <= 4; ++rows) {
            for (int col = 0; col < 4; ++col)
                for (int cols = 1; col + cols <= 4; ++cols)
                    check(p->GetBlock(Cells(row, rows, col, cols).get()),
                          "cells " + std::to_string(row) + "+" + std::to_string(rows) + ", " +
                              std::to_string(col) + "+" + std::to_string(cols));
            TRPTablePrintPart part;
            part.StartRow = row;
            part.RowCount = rows;
            check(p->GetBlock(&part), "part " + std::to_string(row) + "+" + std::to_string(rows));
        }
}

// A grid whose positions merged cells mostly cover is written in few bytes;
// it reads back all the same, and so does a grid of the most positions.
TEST_F(TableRPF, GridsOfFewCellsAndOfTheMostPositionsReadBack) {
    auto merged = Make(40, 256);
    merged->Rows->MergeCells(0, 0, 256, 40, true, false);
    SetText(merged.get(), 0, 0, "alles");
    const std::string block = merged->SaveToBlock(TRPTableBlock(*merged->Rows));
    EXPECT_LT(block.size(), 100u);
    auto copy = Make(1, 1);
    ASSERT_TRUE(copy->LoadFromBlock(block));
    EXPECT_EQ(copy->Rows->RowCount(), 40);
    EXPECT_EQ(copy->GetCell(0, 0)->ColSpan, 256);
    EXPECT_EQ(copy->GetCell(0, 0)->RowSpan, 40);
    EXPECT_EQ(CellText(copy->GetCell(0, 0)), "alles");
    EXPECT_TRUE(copy->Rows->IsConsistent());

    // One cell a row, across all columns.
    ASSERT_TRUE(
        copy->LoadFromBlock(GridBlock(1024, 256, std::vector<std::pair<int32_t, int32_t>>(1024, {256, 1}))));
    EXPECT_EQ(copy->Rows->RowCount(), 1024);
    EXPECT_TRUE(copy->Rows->IsConsistent());
    EXPECT_FALSE(
        copy->LoadFromBlock(GridBlock(1025, 256, std::vector<std::pair<int32_t, int32_t>>(1025, {256, 1}))));
}

// Tables nest in cells as deep as the RTF import builds them (32 levels),
// and such a document reads back from its stream, in either form; a deeper
// one is refused. Cells are written in binary form inside the table's block,
// which alone is written as text in a text stream: the stream grows with the
// levels, not with two to the power of them.
TEST_F(TableRPF, TablesNestedAsDeepAsTheRTFImportMakesThemReadBack) {
    const std::pair<int, TRPFOptions> cases[] = {
        {32, 0}, {32, rpfoSaveBinary}, {33, 0}, {33, rpfoSaveBinary}};
    for (const auto& [depth, form] : cases) {
        SCOPED_TRACE(depth);
        SCOPED_TRACE(form ? "binary" : "text");
        TTableTestDoc d(Style.get());
        d.RPFOpts = form;
        TCustomRPData* holder = &d;
        for (int level = 0; level < depth; ++level) {
            auto t = TRPTableItemInfo::CreateEx(1, 1, holder);
            TRPTableCellData* cell = t->GetCell(0, 0);
            holder->AddItem(std::string(), std::move(t));
            cell->Clear();
            cell->AddNL("ebene" + std::to_string(level + 1), 0, 0);
            holder = cell;
        }
        std::string s;
        d.SaveRPFToStream(s, false, clNone, nullptr, nullptr);
        EXPECT_LT(s.size(), 40000u);
        if (!form) {
            EXPECT_EQ(s.find('\0'), std::string::npos);
        }
        bool ok = false;
        auto back = Load(s, ok);
        EXPECT_EQ(ok, depth == 32);
        if (!ok) continue;
        const TCustomRPData* inner = back.get();
        for (int level = 0; level < depth; ++level) {
            auto* t = dynamic_cast<const TRPTableItemInfo*>(inner->GetItem(inner->GetItemCount() - 1));
            ASSERT_NE(t, nullptr) << level;
            inner = t->GetCell(0, 0);
        }
        EXPECT_EQ(CellText(inner), "ebene32");
    }
}

// Streams written when cells inside a text block were text themselves (each
// level in hex inside the hex of the one around it) read as they did.
TEST_F(TableRPF, TextBlocksWithCellsInTextFormReadAsBefore) {
    // A text stream of a table of one cell holding Content (a text stream).
    const auto record = [&](const std::string& Content) {
        std::string b = "RPT1";
        b += '\0';
        RPFWriteInt32(b, 1);
        RPFWriteInt32(b, 1);
        RPFWriteInt32(b, 1);
        RPFWriteInt32(b, 1);
        b += '\0';
        RPFWriteInt32(b, static_cast<int32_t>(Content.size()));
        b += Content;
        RPFWriteInt32(b, -1);
        b += '\0';
        return "-8 1 3\r\n-60 3 0 0 0 0 \r\n\r\n1\r\n" + RPFStringToHex(b) + "\r\n";
    };
    TTableTestDoc text(Style.get());
    text.AddNL("innen", 0, 0);
    std::string inner;
    text.SaveRPFToStream(inner, false, clNone, nullptr, nullptr);
    const std::string stream = record(record(inner));
    bool ok = false;
    auto back = Load(stream, ok);
    ASSERT_TRUE(ok);
    const TRPTableItemInfo* outer = First(*back);
    ASSERT_NE(outer, nullptr);
    const TRPTableItemInfo* nested = First(*outer->GetCell(0, 0));
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(CellText(nested->GetCell(0, 0)), "innen");
}

TEST_F(TableRPF, BadHexRefusesTheStream) {
    BuildSample();
    std::string s = Save(*Doc);
    const size_t at = s.find("52505431"); // the block's magic in hex
    ASSERT_NE(at, std::string::npos);
    s[at + 3] = 'Z';
    bool ok = true;
    Load(s, ok);
    EXPECT_FALSE(ok);
}

} // namespace

// Lists and tables meeting in a document and in its cells: the history of a
// cell edited in place, folded into the host's, undoes to the same text; a
// step that cannot be applied is refused instead of ending the program; and
// deletions around tables and list markers leave well-formed paragraphs.
#include <gtest/gtest.h>

#include "TableEditFixture.h"
#include "platform/Keys.h"
#include "platform/Pictures.h"
#include "richtext/model/RPMarkers.h"

#include <QImage>

namespace {

class CellHistory : public TableInplace {
protected:
    // The table of Build with cell (0, 0) holding the list entries given.
    void BuildWithList(const std::vector<std::string>& Entries) {
        AddNumberedList(*F.Style);
        Build(2, 2);
        TRPTableCellData* cell = T->GetCell(0, 0);
        cell->Clear();
        for (const std::string& e : Entries)
            AddListEntry(*cell, e);
        F.Edit->Format();
        F.Edit->ClearUndo();
    }
    // Clicks into cell (Row, Col) of the table.
    void ClickCell(int Row, int Col) {
        int x = 0, y = 0;
        ASSERT_TRUE(F.Data()->GetItemClientCoords(T->GetItemNo(), x, y));
        const TRPTableCellData* c = T->GetCell(Row, Col);
        MouseClickAt(F.Edit, x + c->Left + c->Width - 3, y + c->Top + 3);
        ProcessEvents();
    }
    // Clicks on the text after the table, which closes the cell editor.
    void ClickAfterTable() {
        int x = 0, y = 0;
        ASSERT_TRUE(F.Data()->GetItemClientCoords(F.Data()->GetItemCount() - 1, x, y));
        MouseClickAt(F.Edit, x + 2, y + 2);
        ProcessEvents();
    }
    std::string CellDump(int Row, int Col) const { return DumpItems(*T->GetCell(Row, Col)); }
};

TEST_F(CellHistory, UndoAfterDeletingUpToATableInsertedInAListCellGivesTheTextBack) {
    BuildWithList({"Gut", "likewise"});
    const std::string start = SaveRPF(*F.Edit);
    ClickCell(0, 0);
    ASSERT_EQ(EditedCell(), "0,0");
    Key(VK_DOWN);
    Key(VK_END);
    ASSERT_EQ(EditorCaret(), "3:9");
    Type("s");
    ASSERT_TRUE(Focused()->InsertRPFFromStream(TableRPF(2, 2)));
    Type("rin");
    Key(VK_BACK);
    TRPEditRPData* ed = Editor()->EditData();
    // What is typed after the table starts a paragraph of its own.
    ASSERT_EQ(DumpItems(*ed), "P s-11 p0 \"#1\"\n- s0 p0 \"Gut\"\nP s-11 p0 \"#2\"\n- s0 p0 \"likewises\"\n"
                              "P s-60 p0 \"\"\nP s0 p0 \"ri\"\n");
    // From the start of "likewises" up to the table: the entry stays, empty.
    Editor()->SetSelectionBounds(3, 1, 4, 0);
    Key(VK_DELETE);
    EXPECT_EQ(DumpItems(*ed), "P s-11 p0 \"#1\"\n- s0 p0 \"Gut\"\nP s-11 p0 \"#2\"\n- s0 p0 \"\"\n"
                              "P s-60 p0 \"\"\nP s0 p0 \"ri\"\n");
    const std::string edited = SaveRPF(*F.Edit);
    ClickAfterTable();
    ASSERT_EQ(EditedCell(), "-");
    EXPECT_EQ(SaveRPF(*F.Edit), edited);
    // The cell opens again and gives back the text, then the typed "n".
    Key('Z', ssCtrl);
    Key('Z', ssCtrl);
    EXPECT_EQ(EditedCell(), "0,0");
    EXPECT_EQ(EditorText(), "#Gut\n#likewises\n#\nrin");
    UndoAll(false);
    EXPECT_EQ(SaveRPF(*F.Edit), start);
    UndoAll(true);
    EXPECT_EQ(SaveRPF(*F.Edit), edited);
}

TEST_F(CellHistory, UndoAfterDeletingBetweenAMarkerAndATableGivesTheTextBack) {
    BuildWithList({"cell 3"});
    const std::string start = SaveRPF(*F.Edit);
    ClickCell(0, 0);
    ASSERT_EQ(EditedCell(), "0,0");
    Key(VK_HOME);
    Type(" ");
    Editor()->SetSelectionBounds(1, 1, 1, 4);
    ASSERT_TRUE(Focused()->InsertRPFFromStream(TableRPF(3, 2)));
    Key(VK_RETURN);
    // To the empty entry before the table.
    Editor()->EditData()->SetCaretItemPos(1, 1);
    ASSERT_EQ(EditorCaret(), "1:1");
    TRPEditRPData* ed = Editor()->EditData();
    ASSERT_EQ(DumpItems(*ed), "P s-11 p0 \"#1\"\n- s0 p0 \"\"\nP s-60 p0 \"\"\nP s0 p0 \"\"\nP s0 p0 \"ll 3\"\n");
    // Delete at the empty entry before the table takes the entry away whole.
    Key(VK_DELETE);
    EXPECT_EQ(DumpItems(*ed), "P s-60 p0 \"\"\nP s0 p0 \"\"\nP s0 p0 \"ll 3\"\n");
    EXPECT_EQ(EditorCaret(), "0:0");
    const std::string edited = SaveRPF(*F.Edit);
    ClickAfterTable();
    ASSERT_EQ(EditedCell(), "-");
    for (int i = 0; i < 4; ++i)
        Key('Z', ssCtrl);
    EXPECT_EQ(EditorText(), "#cell 3");
    UndoAll(false);
    EXPECT_EQ(SaveRPF(*F.Edit), start);
    UndoAll(true);
    EXPECT_EQ(SaveRPF(*F.Edit), edited);
}

// The cell's steps come back to the cell when the host undoes them; when they
// no longer fit its items, the cell refuses them instead of ending the program.
TEST_F(CellHistory, ACellStepThatDoesNotFitIsRefusedInTheCell) {
    F.Style->UseSound = true;
    Build(2, 2);
    T->GetCell(0, 1)->Clear();
    T->GetCell(0, 1)->AddNL("Bad", 0, 0);
    F.Edit->Format();
    ClickCell(0, 1);
    Key(VK_HOME);
    Key(VK_RIGHT);
    Key(VK_RETURN);
    ClickAfterTable();
    ASSERT_EQ(Text(0, 1), "B|ad");
    TRPTableCellData* cell = T->GetCell(0, 1);
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::blue);
    cell->Clear();
    cell->AddPicture("bild", std::make_unique<TBitmap>(image), 0, 0, TRPTag{});
    cell->AddNL("B", 0, 0);
    cell->AddNL("ad", 0, 0);
    F.Edit->Format();
    const int beeps = TCustomRPData::BeepCount;
    Key('Z', ssCtrl);
    EXPECT_EQ(TCustomRPData::BeepCount, beeps + 1);
    EXPECT_EQ(EditedCell(), "0,1");
    EXPECT_EQ(EditorText(), "#\nB\nad");
    EXPECT_FALSE(Editor()->CanUndo());
    T->CloseInplaceEditor(true);
    EXPECT_EQ(Text(0, 1), "bild|B|ad");
    EXPECT_FALSE(F.Edit->CanUndo());

    // A cell's steps whose table has gone are refused in the host.
    ClickCell(1, 1);
    Type("x");
    ClickAfterTable();
    F.Data()->UndoMode = 0;
    F.Data()->DeleteItemWithUndo(1);
    F.Data()->ReformatAfterEdit();
    const std::string before = SaveRPF(*F.Edit);
    Key('Z', ssCtrl);
    EXPECT_EQ(TCustomRPData::BeepCount, beeps + 2);
    EXPECT_EQ(SaveRPF(*F.Edit), before);
    EXPECT_FALSE(F.Edit->CanUndo());
}

} // namespace

namespace {

// Markers in the cells of a table inside a cell move with it into the cell's
// editor and out again, and keep their place in the document's numbering; a
// table deleted there takes its markers along and leaves none behind.
TEST_F(CellHistory, ListsOfATableInACellLeaveWithTheTable) {
    AddNumberedList(*F.Style);
    Build(2, 2);
    TRPTableCellData* holder = T->GetCell(0, 0);
    holder->Clear();
    auto inner = TRPTableItemInfo::CreateEx(1, 1, holder);
    TRPTableCellData* innerCell = inner->GetCell(0, 0);
    holder->AddItem(std::string(), std::move(inner));
    holder->AddNL("danach", 0, 0);
    innerCell->Clear();
    AddListEntry(*innerCell, "eins");
    AddListEntry(*innerCell, "zwei");
    F.Edit->Format();
    F.Edit->ClearUndo();
    ASSERT_EQ(F.Data()->GetMarkers(false)->Count(), 2);
    ClickCell(0, 0);
    ASSERT_EQ(EditedCell(), "0,0");
    ASSERT_NE(F.Data()->GetMarkers(false), nullptr);
    EXPECT_EQ(F.Data()->GetMarkers(false)->Count(), 2);
    EXPECT_EQ(Editor()->EditData()->GetMarkers(false), F.Data()->GetMarkers(false));
    Editor()->SetSelectionBounds(0, 0, 1, 1);
    Key(VK_DELETE);
    EXPECT_EQ(EditorText(), "danach");
    EXPECT_EQ(F.Data()->GetMarkers(false), nullptr);
    // The deleted table leaves the history: it is freed now.
    F.Edit->ClearUndo();
    ClickAfterTable();
    EXPECT_EQ(F.Data()->GetMarkers(false), nullptr);
    F.Edit->Clear();
}

} // namespace

namespace {

// Every selection, and Delete and Backspace at every caret place, of a
// document where tables and list entries meet leave well-formed paragraphs
// (no marker alone, nothing on a table's line) and undo to the same bytes.
TEST_F(CellHistory, EveryDeletionBetweenTablesAndListEntriesLeavesCleanLines) {
    AddNumberedList(*F.Style);
    TRPEditRPData* d = F.Data();
    F.Edit->Clear();
    d->AddNL("vor", 0, 0);
    d->AddItem(std::string(), TRPTableItemInfo::CreateEx(1, 1, d));
    AddListEntry(*d, "eins");
    d->AddNL("x", 0, 0);
    AddListEntry(*d, "");
    d->AddItem(std::string(), TRPTableItemInfo::CreateEx(1, 1, d));
    AddListEntry(*d, "");
    d->AddNL("nach", 0, 0);
    F.Edit->Format();
    // A new line right after the first table (Shift+Enter there).
    F.Caret(1, 1);
    F.Key(VK_RETURN, ssShift);
    ASSERT_EQ(DumpItems(*d).substr(0, 34), "P s0 p0 \"vor\"\nP s-60 p0 \"\"\nB s0 p0");
    F.Edit->ClearUndo();
    ASSERT_EQ(Misplaced(*d), "");
    const std::string start = SaveRPF(*F.Edit);
    std::vector<std::pair<int, int>> places;
    for (int i = 0; i < d->GetItemCount(); ++i)
        for (int o = d->GetFirstOffsetOfItem(i); o <= d->GetLastOffsetOfItem(i); ++o)
            places.emplace_back(i, o);
    int deleted = 0;
    for (size_t a = 0; a < places.size(); ++a)
        for (size_t b = a; b < places.size(); ++b)
            for (const uint16_t key : {VK_DELETE, VK_BACK}) {
            const auto [si, so] = places[a];
            const auto [ei, eo] = places[b];
            if (a == b)
                F.Caret(si, so);
            else if (key == VK_BACK && (a + b) % 2)
                continue; // across a selection the two keys are one
            else
                F.Select(si, so, ei, eo);
            F.Key(key);
            const std::string where = std::to_string(si) + ":" + std::to_string(so) + "-" + std::to_string(ei) +
                                      ":" + std::to_string(eo) + "\n" + DumpItems(*d);
            ASSERT_EQ(Misplaced(*d), "") << where;
            if (!F.Edit->CanUndo()) continue;
            ++deleted;
            F.Edit->Undo();
            ASSERT_EQ(SaveRPF(*F.Edit), start) << where;
            F.Edit->ClearUndo();
            }
    EXPECT_GT(deleted, 300);
}

} // namespace

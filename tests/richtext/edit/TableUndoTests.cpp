// Undo of table properties and of tables nested in cells: each change is one
// step recorded by small records, undone to the same RPF and redone to the
// changed one.
#include "TableEditFixture.h"
#include "richtext/edit/RPTableUndo.h"

namespace {

using TableUndo = TableInEditor;

// Undo gives Before back, redo gives After, undo again Before.
void ExpectUndoRedo(TEditFixture& F, const std::string& Before, const std::string& After) {
    F.Edit->Undo();
    EXPECT_EQ(SaveRPF(*F.Edit), Before);
    F.Edit->Redo();
    EXPECT_EQ(SaveRPF(*F.Edit), After);
    F.Edit->Undo();
    EXPECT_EQ(SaveRPF(*F.Edit), Before);
}

TEST_F(TableUndo, CellSizesAndPropertiesAreOneStepEachAndRecordOnlyTheOldValue) {
    Build(2, 2);
    const std::string before = SaveRPF(*F.Edit);
    T->SetCellBestWidth(-40, 1, 0);
    EXPECT_EQ(T->GetCell(1, 0)->BestWidth, -40);
    ASSERT_EQ(F.Data()->UndoList->Count(), 1);
    const TRPUndoInfos* g = F.Data()->UndoList->Last();
    EXPECT_EQ(g->Action, rpuaModifyItem);
    ASSERT_EQ(g->Infos.size(), 1u);
    auto* rec = dynamic_cast<TRPUndoModifyCellIntProperty*>(g->Infos[0].get());
    ASSERT_TRUE(rec);
    EXPECT_EQ(rec->Kind, rpukModifyItem);
    EXPECT_EQ(rec->ItemNo, 1);
    EXPECT_EQ(rec->PropName, "BestWidth");
    EXPECT_EQ(rec->Value, 0);
    EXPECT_EQ(rec->Row, 1);
    EXPECT_EQ(rec->Col, 0);
    const std::string after = SaveRPF(*F.Edit);
    ExpectUndoRedo(F, before, after);

    // The same value again, a name that is no property or a position
    // outside the grid record nothing.
    T = Table();
    F.Edit->ClearUndo();
    T->SetCellBestHeight(0, 0, 0);
    T->SetCellIntPropertyWithUndo(-1, "Unknown", true, true, 0, 0, 5);
    T->SetCellBestWidth(30, 2, 0);
    T->SetCellBestWidth(30, 0, -1);
    EXPECT_FALSE(F.Edit->CanUndo());

    T->SetCellBestHeight(44, 0, 1);
    T->SetIntPropertyWithUndo("CellPadding", 7, true, true);
    T->SetCellVisibleBorders(false, true, false, true, 1, 1);
    T->SetIntPropertyWithUndo("VOutermostRule", 1, false, false);
    EXPECT_EQ(T->GetCell(0, 1)->BestHeight, 44);
    EXPECT_EQ(T->CellPadding, 7);
    EXPECT_TRUE(T->VOutermostRule);
    EXPECT_TRUE(T->GetCell(1, 1)->VisibleBorders.IsEqualValues(false, true, false, true));
    EXPECT_EQ(F.Data()->UndoList->Count(), 4);
    for (int i = 0; i < 4; ++i)
        F.Edit->Undo();
    EXPECT_EQ(SaveRPF(*F.Edit), before);
    for (int i = 0; i < 4; ++i)
        F.Edit->Redo();
    T = Table();
    EXPECT_EQ(T->GetCell(0, 1)->BestHeight, 44);
    EXPECT_EQ(T->CellPadding, 7);
    EXPECT_TRUE(T->GetCell(1, 1)->VisibleBorders.IsEqualValues(false, true, false, true));
}

TEST_F(TableUndo, CopiedCellAttributesComeBackWithTheirPictureName) {
    Build(1, 2);
    TRPTableCellData* src = T->GetCell(0, 0);
    src->Color = 0x00FF00;
    src->BorderColor = 0x0000FF;
    src->VAlign = rpcBottom;
    src->BestWidth = 60;
    src->BackgroundImageFileName = "muster.png";
    src->VisibleBorders.SetValues(false, false, true, true);
    F.Edit->Format();
    const std::string before = SaveRPF(*F.Edit);
    T->AssignCellAttributesWithUndo(-1, 0, *src, true, 2, 1, 1);
    const TRPTableCellData* dst = T->GetCell(0, 1);
    EXPECT_EQ(dst->Color, 0x00FF00);
    EXPECT_EQ(dst->BestWidth, 30);
    EXPECT_EQ(dst->BackgroundImageFileName, "muster.png");
    EXPECT_EQ(F.Data()->UndoList->Count(), 1);
    const std::string after = SaveRPF(*F.Edit);
    EXPECT_NE(after, before);
    ExpectUndoRedo(F, before, after);
}

// "vor", a 2 x 2 table whose cell (0, 1) holds "B" and a 2 x 2 table of its own, "nach".
class NestedTableUndo : public TableInEditor {
protected:
    TRPTableItemInfo* Inner = nullptr;
    void BuildNested() {
        Build(2, 2);
        TRPTableCellData* cell = T->GetCell(0, 1);
        auto inner = TRPTableItemInfo::CreateEx(2, 2, cell);
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c) {
                TRPTableCellData* ic = inner->GetCell(r, c);
                ic->Clear();
                ic->AddNL(std::string(1, static_cast<char>('p' + r * 2 + c)), 0, 0);
            }
        Inner = inner.get();
        cell->AddItem(std::string(), std::move(inner));
        F.Edit->Format();
        F.Edit->ClearUndo();
    }
    TRPTableItemInfo* InnerNow() const {
        return static_cast<TRPTableItemInfo*>(Table()->GetCell(0, 1)->GetItem(1));
    }
};

TEST_F(NestedTableUndo, ChangesOfATableInACellAreUndoneThroughItsPath) {
    BuildNested();
    const std::string before = SaveRPF(*F.Edit);
    Inner->SetCellBestWidth(25, 1, 1);
    Inner->MergeCells(0, 0, 2, 1, true);
    ASSERT_EQ(F.Data()->UndoList->Count(), 2);
    auto* rec = dynamic_cast<TRPUndoModifyItemProps*>(F.Data()->UndoList->Last()->Infos[0].get());
    ASSERT_TRUE(rec);
    EXPECT_EQ(rec->ItemNo, 1);
    ASSERT_EQ(rec->Path.size(), 1u);
    EXPECT_EQ(rec->Path[0].ItemNo, 1);
    EXPECT_EQ(rec->Path[0].Row, 0);
    EXPECT_EQ(rec->Path[0].Col, 1);
    EXPECT_EQ(Spans(*Inner->Rows), "1x2 ./1x1 1x1");
    const std::string after = SaveRPF(*F.Edit);
    F.Edit->Undo();
    F.Edit->Undo();
    EXPECT_EQ(SaveRPF(*F.Edit), before);
    EXPECT_EQ(Spans(*InnerNow()->Rows), "1x1 1x1/1x1 1x1");
    F.Edit->Redo();
    F.Edit->Redo();
    EXPECT_EQ(SaveRPF(*F.Edit), after);
    EXPECT_EQ(InnerNow()->GetCell(1, 1)->BestWidth, 25);
}

} // namespace

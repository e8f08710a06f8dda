// Undo of table properties and of tables nested in cells: each change is one
// step recorded by small records, undone to the same RPF and redone to the
// changed one.
#include "TableEditFixture.h"
#include "platform/Pictures.h"
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

TEST_F(TableUndo, TableSettersRecordTheirReformatDemands) {
    // Outside a document a setter only stores.
    auto loose = TRPTableItemInfo::CreateEx(1, 1, nullptr);
    loose->SetCellPadding(5);
    loose->SetHOutermostRule(true);
    EXPECT_EQ(loose->CellPadding, 5);
    EXPECT_TRUE(loose->HOutermostRule);

    Build(1, 1);
    T->SetBestWidth(-50);
    T->SetCellVSpacing(9);
    T->SetBorderColor(0x123456);
    T->SetCellBorderStyle(rptbColor);
    ASSERT_EQ(F.Data()->UndoList->Count(), 4);
    const auto demands = [&](int Group) {
        auto* rec =
            dynamic_cast<TRPUndoModifyItemIntProperty*>(F.Data()->UndoList->Group(Group)->Infos[0].get());
        return rec ? rec->PropName + ":" + std::to_string(rec->Value) + ":" +
                         std::to_string(rec->NeedsReformat) + std::to_string(rec->CheckWidth)
                   : std::string("?");
    };
    EXPECT_EQ(demands(0), "BestWidth:0:11");
    EXPECT_EQ(demands(1), "CellVSpacing:2:10");
    EXPECT_EQ(demands(2), "BorderColor:" + std::to_string(clWindowText) + ":00");
    EXPECT_EQ(demands(3), "CellBorderStyle:1:00");
    EXPECT_EQ(T->BestWidth, -50);
    EXPECT_EQ(T->CellBorderStyle, rptbColor);
    F.Edit->Undo();
    F.Edit->Undo();
    EXPECT_EQ(T->CellBorderStyle, rptbLowered);
    EXPECT_EQ(T->BorderColor, clWindowText);
    EXPECT_EQ(T->CellVSpacing, 9);
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

TEST_F(TableUndo, BackgroundPicturesOfCellsAndTableComeAndGo) {
    Build(1, 2);
    const std::string before = SaveRPF(*F.Edit);
    T->SetBackgroundImageWithUndo(new TBitmap(8, 6), false, 0, 1);
    TBitmap shared(4, 4);
    T->SetBackgroundImageWithUndo(&shared, true, -1, -1);
    T->SetBackgroundImageWithUndo(nullptr, false, 3, 0); // no such cell
    ASSERT_EQ(F.Data()->UndoList->Count(), 2);
    ASSERT_TRUE(T->GetBackgroundImage());
    EXPECT_NE(T->GetBackgroundImage(), &shared);
    F.Edit->Undo();
    EXPECT_FALSE(T->GetBackgroundImage());
    F.Edit->Undo();
    EXPECT_FALSE(T->GetCell(0, 1)->GetBackgroundImage());
    EXPECT_EQ(SaveRPF(*F.Edit), before);
    F.Edit->Redo();
    F.Edit->Redo();
    const TGraphic* cellPicture = T->GetCell(0, 1)->GetBackgroundImage();
    ASSERT_TRUE(cellPicture);
    EXPECT_EQ(cellPicture->Width(), 8);
    EXPECT_EQ(cellPicture->Height(), 6);
    ASSERT_TRUE(T->GetBackgroundImage());
    EXPECT_EQ(T->GetBackgroundImage()->Width(), 4);
    // Replacing a picture keeps the old one for undo.
    T->SetBackgroundImageWithUndo(new TBitmap(2, 3), false, 0, 1);
    F.Edit->Undo();
    ASSERT_TRUE(T->GetCell(0, 1)->GetBackgroundImage());
    EXPECT_EQ(T->GetCell(0, 1)->GetBackgroundImage()->Width(), 8);
}

TEST_F(TableUndo, TextStyleConversionOfSelectedCellsIsUndoneCellByCell) {
    Build(2, 2);
    F.Edit->OnStyleConversion = [](TCustomRichPadEdit*, int StyleNo, int UserData, bool, int& NewStyleNo) {
        NewStyleNo = StyleNo == 0 ? UserData : StyleNo;
    };
    T->Select(0, 1, 0, 1); // B and D
    const std::string before = SaveRPF(*F.Edit);
    T->ApplyStyleConversion(1);
    EXPECT_EQ(T->GetCell(0, 1)->GetItemStyle(0), 1);
    EXPECT_EQ(T->GetCell(1, 1)->GetItemStyle(0), 1);
    EXPECT_EQ(T->GetCell(1, 0)->GetItemStyle(0), 0);
    EXPECT_EQ(Text(1, 1), "D");
    EXPECT_EQ(F.Data()->UndoList->Count(), 1);
    const std::string after = SaveRPF(*F.Edit);
    ExpectUndoRedo(F, before, after);
}

TEST_F(TableUndo, TheEditorsStyleCommandsReachSelectedCellsAndTablesInTheSelection) {
    Build(2, 2);
    F.Edit->OnStyleConversion = [](TCustomRichPadEdit*, int StyleNo, int UserData, bool, int& NewStyleNo) {
        NewStyleNo = StyleNo == 0 ? UserData : StyleNo;
    };
    F.Edit->OnParaStyleConversion = [](TCustomRichPadEdit*, int ParaNo, int UserData, bool, int& NewParaNo) {
        NewParaNo = ParaNo == 0 ? UserData : ParaNo;
    };
    const auto selectCells = [&] {
        // As a drag over the cells does: the table holds the document's selection.
        F.Data()->SetPartialSelectedItem(Table());
        Table()->Select(0, 1, 0, 1); // B and D
    };
    const auto styles = [&](int Kind) {
        std::string s;
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c) {
                const TRPTableCellData* cell = Table()->GetCell(r, c);
                s += std::to_string(Kind ? cell->GetItemPara(0) : cell->GetItemStyle(0));
            }
        return s;
    };
    const std::string before = SaveRPF(*F.Edit);
    selectCells();
    F.Edit->ApplyParaStyle(1);
    EXPECT_EQ(styles(1), "0101");
    EXPECT_EQ(F.Data()->GetItemPara(1), 0); // the table's own paragraph
    EXPECT_EQ(F.Data()->UndoList->Count(), 1);
    ExpectUndoRedo(F, before, SaveRPF(*F.Edit));
    F.Edit->ClearUndo();
    selectCells();
    F.Edit->ApplyParaStyleConversion(3);
    EXPECT_EQ(styles(1), "0303");
    EXPECT_EQ(F.Data()->UndoList->Count(), 1);
    F.Edit->Undo();
    F.Edit->ClearUndo();
    selectCells();
    F.Edit->ApplyStyleConversion(1);
    EXPECT_EQ(styles(0), "0101");
    EXPECT_EQ(F.Data()->UndoList->Count(), 1);
    F.Edit->Undo();
    EXPECT_EQ(SaveRPF(*F.Edit), before);
    // A selection around the table converts its cells with the text, in one step.
    F.Edit->ClearUndo();
    F.Edit->SelectAll();
    F.Edit->ApplyStyleConversion(1);
    EXPECT_EQ(styles(0), "1111");
    EXPECT_EQ(F.Data()->GetItemStyle(0), 1);
    EXPECT_EQ(F.Data()->GetItemStyle(2), 1);
    EXPECT_EQ(F.Data()->UndoList->Count(), 1);
    ExpectUndoRedo(F, before, SaveRPF(*F.Edit));
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

TEST_F(NestedTableUndo, ATableMovedByAMergeBelongsToItsNewCell) {
    BuildNested();
    const std::string before = SaveRPF(*F.Edit);
    T->MergeCells(0, 0, 2, 1, true);
    EXPECT_EQ(Inner->GetRPData(), T->GetCell(0, 0));
    // Its own changes are still recorded, and found again through the new cell.
    Inner->InsertRows(0, 1, -1, false);
    ASSERT_EQ(F.Data()->UndoList->Count(), 2);
    const std::string after = SaveRPF(*F.Edit);
    F.Edit->Undo();
    F.Edit->Undo();
    EXPECT_EQ(SaveRPF(*F.Edit), before);
    EXPECT_EQ(Inner->GetRPData(), T->GetCell(0, 1));
    F.Edit->Redo();
    F.Edit->Redo();
    EXPECT_EQ(SaveRPF(*F.Edit), after);
    EXPECT_EQ(Inner->Rows->RowCount(), 3);
}

TEST_F(TableUndo, GridCommandsAtTheEdges) {
    // Two rows appended and selected; one step takes both away again.
    Build(2, 2);
    const std::string two = SaveRPF(*F.Edit);
    T->InsertRows(2, 2, -1, true);
    EXPECT_EQ(Spans(*T->Rows), "1x1 1x1/1x1 1x1/1x1 1x1/1x1 1x1");
    EXPECT_EQ(T->SelStartRow, 2);
    EXPECT_EQ(T->SelRowOffs, 1);
    EXPECT_EQ(T->SelColOffs, 1);
    EXPECT_FALSE(T->IsCellSelected(1, 0));
    EXPECT_TRUE(T->IsCellSelected(3, 1));
    EXPECT_EQ(F.Data()->UndoList->Count(), 1);
    F.Edit->Undo();
    EXPECT_EQ(SaveRPF(*F.Edit), two);
    EXPECT_FALSE(F.Edit->CanUndo());

    // The only column of a table goes and comes back with its text.
    Build(2, 1);
    const std::string one = SaveRPF(*F.Edit);
    EXPECT_THROW(T->DeleteCols(0, 2, false), ERichPadError);
    EXPECT_FALSE(F.Edit->CanUndo());
    T->DeleteCols(0, 1, false);
    EXPECT_TRUE(T->Rows->IsEmpty());
    EXPECT_EQ(T->Rows->RowCount(), 2);
    T->DeleteCols(0, 1, false); // nothing left to delete
    EXPECT_EQ(F.Data()->UndoList->Count(), 1);
    const std::string none = SaveRPF(*F.Edit);
    ExpectUndoRedo(F, one, none);
    EXPECT_EQ(Text(1, 0), "B");

    // An editor that keeps no undo still runs every command.
    Build(2, 2);
    F.Edit->SetUndoLimit(0);
    T->MergeCells(0, 0, 2, 1, true);
    T->InsertCols(1, 1, 0, false);
    T->Select(1, 0, 2, 0);
    T->ApplyParaStyle(1);
    T->ClearSelectedCells();
    EXPECT_EQ(Spans(*T->Rows), "1x3 . ./1x1 1x1 1x1");
    EXPECT_EQ(Text(0, 0), "A|B");
    EXPECT_EQ(Text(1, 0), "");
    EXPECT_FALSE(F.Edit->CanUndo());
}

TEST_F(TableUndo, UndoneMergeGivesEveryCoveredCellExactlyItsItems) {
    Build(3, 3);
    // Cell B has two paragraphs, E is empty, F has a line of two items.
    TRPTableCellData* b = T->GetCell(0, 1);
    b->AddNL("B2", 0, 0);
    T->GetCell(1, 1)->ClearToEmpty();
    T->GetCell(1, 2)->AddNL("F2", 0, -1);
    F.Edit->Format();
    const std::string before = SaveRPF(*F.Edit);
    T->MergeCells(0, 0, 3, 2, true);
    EXPECT_EQ(Spans(*T->Rows), "2x3 . ./. . ./1x1 1x1 1x1");
    EXPECT_EQ(Text(0, 0), "A|B|B2|C|D|F|F2");
    const std::string after = SaveRPF(*F.Edit);
    // Undo gives back the cells themselves, each holding its own items again.
    F.Edit->Undo();
    T = Table();
    EXPECT_EQ(Text(0, 1), "B|B2");
    EXPECT_EQ(Text(1, 1), "");
    EXPECT_EQ(Text(1, 2), "F|F2");
    EXPECT_EQ(T->GetCell(1, 2)->GetParentData(), F.Data());
    EXPECT_TRUE(T->Rows->IsConsistent());
    EXPECT_EQ(SaveRPF(*F.Edit), before);
    F.Edit->Redo();
    ExpectUndoRedo(F, before, after);
}

// An empty main cell holds the moved content alone, without an empty line in
// front of it; undo gives it back its own empty paragraph, style and all.
TEST_F(TableUndo, MergingIntoAnEmptyMainCellLeavesNoEmptyLineInFront) {
    Build(2, 2);
    T->GetCell(0, 0)->Clear();
    T->GetCell(0, 0)->AddText("", 0, 1);
    T->GetCell(1, 0)->ClearToEmpty();
    F.Edit->Format();
    const std::string before = SaveRPF(*F.Edit);
    T->MergeCells(0, 0, 2, 2, true);
    EXPECT_EQ(Text(0, 0), "B|D");
    EXPECT_EQ(DumpItems(*T->GetCell(0, 0)), "P s0 p0 \"B\"\nP s0 p0 \"D\"\n");
    const std::string after = SaveRPF(*F.Edit);
    ExpectUndoRedo(F, before, after);
    T = Table();
    EXPECT_EQ(DumpItems(*T->GetCell(0, 0)), "P s0 p1 \"\"\n");
    EXPECT_TRUE(T->Rows->IsConsistent());
    // With nothing to move the empty paragraph stays.
    T->GetCell(0, 1)->ClearToEmpty();
    T->GetCell(1, 1)->ClearToEmpty();
    T->MergeCells(0, 0, 2, 2, true);
    EXPECT_EQ(DumpItems(*T->GetCell(0, 0)), "P s0 p1 \"\"\n");
}

TEST_F(TableUndo, ParaStyleOnSelectedCellsSkipsRefusedOnesAndIsOneStep) {
    Build(2, 3);
    T->OnCellEditing = [](TRPTableItemInfo*, int Row, int Col, bool Automatic, bool& Allow) {
        EXPECT_TRUE(Automatic);
        Allow = !(Row == 0 && Col == 1);
    };
    T->Select(0, 0, 2, 0); // A, B and C
    const std::string before = SaveRPF(*F.Edit);
    T->ApplyParaStyle(1);
    const auto para = [&](int r, int c) { return T->GetCell(r, c)->GetItemPara(0); };
    EXPECT_EQ(para(0, 0), 1);
    EXPECT_EQ(para(0, 1), 0);
    EXPECT_EQ(para(0, 2), 1);
    EXPECT_EQ(para(1, 0), 0);
    EXPECT_EQ(Text(0, 2), "C");
    ASSERT_EQ(F.Data()->UndoList->Count(), 1);
    ASSERT_EQ(F.Data()->UndoList->Last()->Infos.size(), 1u);
    auto* multi = dynamic_cast<TRPUndoMultiCellsModify*>(F.Data()->UndoList->Last()->Infos[0].get());
    ASSERT_TRUE(multi);
    EXPECT_EQ(List(multi->ColList), "0 2");
    const std::string after = SaveRPF(*F.Edit);
    ExpectUndoRedo(F, before, after);
    // Without a cell selection nothing happens.
    T = Table();
    T->ClearSelection();
    T->ApplyParaStyle(1);
    EXPECT_EQ(F.Data()->UndoList->Count(), 0);
}

// The first table inside a cell of T, nil when none is left.
TRPTableItemInfo* NestedIn(TRPTableItemInfo& T) {
    for (int r = 0; r < T.Rows->RowCount(); ++r)
        for (int c = 0; c < T.Rows->GetRow(r)->Count(); ++c)
            if (TRPTableCellData* cell = T.GetCell(r, c))
                for (int i = 0; i < cell->GetItemCount(); ++i)
                    if (auto* t = dynamic_cast<TRPTableItemInfo*>(cell->GetItem(i))) return t;
    return nullptr;
}

TEST_F(NestedTableUndo, RandomCommandsUndoneAndRedoneStepByStep) {
    int innerSteps = 0;
    for (uint32_t seed : {1u, 7u, 42u, 1234u}) {
        SCOPED_TRACE(seed);
        BuildNested();
        uint32_t x = seed;
        const auto rnd = [&x](int n) {
            x = x * 134775813u + 1u;
            return static_cast<int>((static_cast<uint64_t>(x) * static_cast<uint32_t>(n)) >> 32);
        };
        std::vector<std::string> states{SaveRPF(*F.Edit)};
        for (int step = 0; step < 40; ++step) {
            // Deleting columns leaves a cell open; the nested table is found in its cell again.
            Table()->CloseInplaceEditor(true);
            TRPTableItemInfo* inner = NestedIn(*Table());
            TRPTableItemInfo* t = inner && rnd(3) == 0 ? inner : Table();
            const int rows = t->Rows->RowCount(), cols = t->Rows->GetColCount();
            const int before = F.Data()->UndoList->Count();
            try {
                switch (rnd(8)) {
                case 0:
                    t->InsertRows(rnd(rows + 1), 1 + rnd(2), rnd(rows + 1) - 1, rnd(2) == 0);
                    break;
                case 1:
                    t->InsertCols(rnd(cols + 1), 1 + rnd(2), rnd(cols + 1) - 1, rnd(2) == 0);
                    break;
                case 2:
                    if (rows > 2) t->DeleteRows(rnd(rows), 1 + rnd(2));
                    break;
                case 3:
                    if (cols > 2) t->DeleteCols(rnd(cols), 1 + rnd(2), rnd(2) == 0);
                    break;
                case 4:
                case 5:
                    if (rows > 0 && cols > 0)
                        t->MergeCells(rnd(rows), rnd(cols), 1 + rnd(3), 1 + rnd(3), rnd(2) == 0);
                    break;
                case 6:
                    if (rows > 0 && cols > 0) {
                        t->Select(rnd(rows), rnd(cols), rnd(3) - 1, rnd(3) - 1);
                        t->ClearSelectedCells();
                    }
                    break;
                default:
                    if (rows > 0 && cols > 0) {
                        int r = rnd(rows), c = rnd(cols), mr, mc;
                        if (t->Rows->GetMainCell(r, c, mr, mc)) t->SetCellBestWidth(10 + rnd(50), mr, mc);
                    }
                }
            } catch (const ERichPadError&) {
            }
            ASSERT_TRUE(Table()->Rows->IsConsistent());
            if (TRPTableItemInfo* n = NestedIn(*Table())) {
                ASSERT_TRUE(n->Rows->IsConsistent());
            }
            const int now = F.Data()->UndoList->Count();
            ASSERT_LE(now, before + 1);
            if (now > before) {
                states.push_back(SaveRPF(*F.Edit));
                if (t == inner) ++innerSteps;
            }
        }
        ASSERT_GT(states.size(), 10u);
        for (size_t i = states.size() - 1; i-- > 0;) {
            F.Edit->Undo();
            ASSERT_EQ(SaveRPF(*F.Edit), states[i]) << "undo to state " << i;
        }
        EXPECT_FALSE(F.Edit->CanUndo());
        for (size_t i = 1; i < states.size(); ++i) {
            F.Edit->Redo();
            ASSERT_EQ(SaveRPF(*F.Edit), states[i]) << "redo to state " << i;
        }
        EXPECT_FALSE(F.Edit->CanRedo());
    }
    EXPECT_GT(innerSteps, 8);
}

} // namespace

// Deleted rows and columns keep their cells detached in their records and
// get them back reattached; grid changes are bracketed by terminators; undo
// gives the starting RPF back, redo the changed one.
TEST_F(TableUndo, DetachedCellsComeBackAndGridChangesAreBracketed) {
    Build(3, 3);
    TRPTableCellData* e = T->GetCell(1, 1);
    e->Clear();
    e->AddNL("E1", 0, 0);
    e->AddNL("E2", 1, 0);
    F.Edit->Format();
    const std::string start = SaveRPF(*F.Edit);
    T->DeleteCols(1, 1, false);
    const TRPUndoInfos* g = F.Data()->UndoList->Last();
    auto* first = dynamic_cast<TRPUndoModifyItemTerminator*>(g->Infos.front().get());
    auto* last = dynamic_cast<TRPUndoModifyItemTerminator*>(g->Infos.back().get());
    ASSERT_TRUE(first && last);
    EXPECT_TRUE(first->Opening && !last->Opening);
    EXPECT_EQ(e->UndoRecord, g->Infos[g->Infos.size() - 2].get());
    EXPECT_EQ(e->Row, nullptr);
    T->DeleteRows(0, 2);
    T->InsertRows(0, 1, -1, false);
    T->SetBorderWidth(3);
    const std::string end = SaveRPF(*F.Edit);
    for (int i = 0; i < 4; ++i)
        F.Edit->Undo();
    EXPECT_EQ(SaveRPF(*F.Edit), start);
    T = Table();
    EXPECT_EQ(Text(1, 1), "E1|E2");
    EXPECT_EQ(T->GetCell(1, 1)->Row, T->Rows->GetRow(1));
    EXPECT_EQ(T->GetCell(1, 1)->UndoRecord, nullptr);
    for (int i = 0; i < 4; ++i)
        F.Edit->Redo();
    EXPECT_EQ(SaveRPF(*F.Edit), end);
}

namespace {

// The index a search of D finds for Item, -1 when D does not hold it.
int SearchedIndex(const TCustomRPData* D, const TCustomRPItemInfo* Item) {
    for (int i = 0; D && i < D->GetItemCount(); ++i)
        if (D->GetItem(i) == Item) return i;
    return -1;
}

} // namespace

// A table answers its place without a search: wherever items come and go
// before it, while it waits in an undo record, and while a cell editor or the
// cell holds a table nested in it.
TEST_F(TableUndo, ATableKnowsItsPlaceWhereverItGoes) {
    Build(2, 2);
    TRPTableItemInfo* inner = AddTableInCell(1, 1, 1, 1);
    F.Edit->Format();
    EXPECT_EQ(T->GetItemNo(), 1);
    F.Caret(0, 0);
    ASSERT_TRUE(F.Edit->InsertRTFFromStream("{\\rtf1 eins\\par zwei\\par drei\\par}"));
    EXPECT_GT(SearchedIndex(F.Data(), T), 1);
    EXPECT_EQ(T->GetItemNo(), SearchedIndex(F.Data(), T));
    F.Select(0, 0, 2, 2);
    F.Edit->DeleteSelection();
    EXPECT_EQ(T->GetItemNo(), SearchedIndex(F.Data(), T));

    // The table deleted waits in the undo list, in no document.
    const int at = T->GetItemNo();
    F.Select(at - 1, 0, at + 1, 0);
    F.Edit->DeleteSelection();
    ASSERT_EQ(SearchedIndex(F.Data(), T), -1);
    EXPECT_EQ(T->GetItemNo(), -1);
    EXPECT_EQ(inner->GetItemNo(), SearchedIndex(T->GetCell(1, 1), inner));
    F.Edit->Undo();
    ASSERT_EQ(SearchedIndex(F.Data(), T), at);
    EXPECT_EQ(T->GetItemNo(), at);

    // The nested table moves into the cell editor's document and back.
    inner->EditCellAt(0, 0, true);
    ASSERT_NE(T->InplaceEditor(), nullptr);
    ASSERT_EQ(inner->GetRPData(), T->InplaceEditor()->RPData());
    EXPECT_EQ(inner->GetItemNo(), SearchedIndex(inner->GetRPData(), inner));
    EXPECT_EQ(SearchedIndex(T->GetCell(1, 1), inner), -1);
    F.Edit->DestroyCellEditor();
    ASSERT_EQ(inner->GetRPData(), T->GetCell(1, 1));
    EXPECT_EQ(inner->GetItemNo(), SearchedIndex(T->GetCell(1, 1), inner));
    EXPECT_GE(inner->GetItemNo(), 0);
}

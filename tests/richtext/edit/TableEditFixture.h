#pragma once
// A table in an editor's document, for the tests of editing tables.
#include "EditTestSupport.h"
#include "TableTestDoc.h"
#include "richtext/edit/RPEditData.h"

// An editor holding "vor", a table whose cells read "A", "B", ... row by row,
// and "nach"; formatted, with an empty undo list.
class TableInEditor : public ::testing::Test {
protected:
    TEditFixture F;
    TRPTableItemInfo* T = nullptr;

    void Build(int Rows, int Cols) {
        F.Load("vor");
        auto t = TRPTableItemInfo::CreateEx(Rows, Cols, F.Data());
        T = t.get();
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Cols; ++c) {
                TRPTableCellData* cell = T->GetCell(r, c);
                cell->Clear();
                cell->AddNL(std::string(1, static_cast<char>('A' + r * Cols + c)), 0, 0);
            }
        F.Data()->AddItem(std::string(), std::move(t));
        F.Edit->AddText("nach", 0, 0);
        F.Edit->Format();
        F.Edit->ClearUndo();
    }
    std::string Text(int Row, int Col) const {
        const TRPTableCellData* c = T->GetCell(Row, Col);
        std::string s;
        for (int i = 0; i < c->GetItemCount(); ++i)
            s += (i ? "|" : "") + c->GetItemText(i);
        return s;
    }
    // The table after undo and redo (the document keeps the same item).
    TRPTableItemInfo* Table() const { return static_cast<TRPTableItemInfo*>(F.Data()->GetItem(1)); }
};

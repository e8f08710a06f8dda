#pragma once
// A table in an editor's document, for the tests of editing tables.
#include "EditTestSupport.h"
#include "TableTestDoc.h"
#include "richtext/edit/RPEditData.h"
#include "richtext/edit/RPTableInplace.h"
#include "support/FormDriver.h"

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
    // A table of Rows x Cols empty cells after the items of cell (Row, Col).
    TRPTableItemInfo* AddTableInCell(int Row, int Col, int Rows, int Cols) {
        TRPTableCellData* cell = T->GetCell(Row, Col);
        auto inner = TRPTableItemInfo::CreateEx(Rows, Cols, cell);
        TRPTableItemInfo* added = inner.get();
        cell->AddItem(std::string(), std::move(inner));
        return added;
    }
    // The table after undo and redo (the document keeps the same item).
    TRPTableItemInfo* Table() const { return static_cast<TRPTableItemInfo*>(F.Data()->GetItem(1)); }
    // RPF of a document that Fill builds in the test's style, as a copy from
    // another editor brings it.
    template <class Fill> std::string RPFOf(Fill&& Build) {
        TRichPadEdit source(F.Form.get());
        source.SetParent(F.Form.get());
        source.SetStyle(F.Style.get());
        source.Clear();
        Build(*source.RPData());
        source.Format();
        return SaveRPF(source);
    }
    // A table of empty cells, the first holding list entries when asked.
    std::string TableRPF(int Rows, int Cols, bool List = false) {
        return RPFOf([&](TCustomRPData& D) {
            auto t = TRPTableItemInfo::CreateEx(Rows, Cols, &D);
            TRPTableCellData* first = t->GetCell(0, 0);
            D.AddItem(std::string(), std::move(t));
            if (!List) return;
            first->Clear();
            AddListEntry(*first, "neu");
            AddListEntry(*first, "zwei");
        });
    }
};

// The same, driven as the user drives it: keys go to the focused control
// and posted work runs after each key.
class TableInplace : public TableInEditor {
protected:
    // Undoes (redoes) everything as the user would, key after key, and
    // closes the cell the last step may have left open.
    void UndoAll(bool Redo, int Limit = 200) {
        int guard = 0;
        while ((Redo ? F.Edit->CanRedo() : F.Edit->CanUndo()) && ++guard < Limit) {
            if (Redo)
                Focused()->Redo();
            else
                Focused()->Undo();
            ProcessEvents();
        }
        EXPECT_LT(guard, Limit);
        F.Edit->DestroyCellEditor();
    }
    // The table wherever it is now (nil when the keys deleted it).
    TRPTableItemInfo* AnyTable() const {
        for (int i = 0; i < F.Data()->GetItemCount(); ++i)
            if (auto* t = dynamic_cast<TRPTableItemInfo*>(F.Data()->GetItem(i))) return t;
        return nullptr;
    }
    // Keys and characters go where the keyboard focus is, as they would.
    TCustomRichPadEdit* Focused() const {
        auto* e = dynamic_cast<TCustomRichPadEdit*>(F.Form->ActiveControl());
        return e ? e : F.Edit;
    }
    void Key(uint16_t K, TShiftState Shift = 0) {
        Focused()->SendKey(K, Shift);
        ProcessEvents();
    }
    void Type(const std::string& Text) {
        for (char c : Text)
            Focused()->SendChar(static_cast<unsigned char>(c));
        ProcessEvents();
    }
    // A text style for links; answers its number.
    int AddLinkStyle() {
        TFontInfo* link = F.Style->TextStyles().Add();
        link->FontName = "Arial";
        link->Size = 15;
        link->Jump = true;
        return F.Style->TextStyles().Count() - 1;
    }
    // An empty 300 x 200 view on the form, with the test's style.
    TRichPad* NewView() {
        auto* view = new TRichPad(F.Form.get());
        view->SetParent(F.Form.get());
        view->SetBounds(0, 0, 300, 200);
        view->SetStyle(F.Style.get());
        view->Clear();
        return view;
    }
    TRPTableInplaceEdit* Editor() const { return Table()->InplaceEditor(); }
    // "row,col" of the edited cell, "-" without an editor.
    std::string EditedCell() const {
        int r = -1, c = -1;
        return Table()->GetEditedCell(r, c) ? std::to_string(r) + "," + std::to_string(c) : "-";
    }
    std::string EditorText() const { return Editor() ? PlainText(*Editor()->EditData()) : "-"; }
    std::string EditorCaret() const {
        TRPEditRPData* d = Editor()->EditData();
        return std::to_string(d->CurItemNo()) + ":" + std::to_string(d->OffsetInCurItem());
    }
    bool Open(int Row, int Col, bool AtEnd = true) {
        return Table()->EditCell(-1, Row, Col, false, false, AtEnd, !AtEnd, false);
    }
};

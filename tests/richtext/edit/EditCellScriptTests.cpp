// Random edit scripts through table cells, driven by keys and clicks at the
// focused control: lists inside cells, tables inserted into cells, selections
// over nested tables, PageUp/PageDown and Delete beside list markers, and cell
// editors closed and opened between the steps. Undoing everything gives back
// the starting RPF bytes, redoing everything the edited ones.
//
// CI runs a few seeds; PRAVOLIN_SCRIPT_SEEDS, PRAVOLIN_SCRIPT_STEPS and
// PRAVOLIN_SCRIPT_FIRST_SEED run more (outside CI, the ASan build).
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <random>

#include "TableEditFixture.h"
#include "platform/Keys.h"
#include "richtext/model/RPMarkers.h"

namespace {

int EnvInt(const char* Name, int Default) {
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(Name, &ok);
    return ok && v > 0 ? v : Default;
}

void AddTable(TCustomRPData& Data, std::unique_ptr<TRPTableItemInfo> Table) {
    Data.AddItem(std::string(), std::move(Table));
}

// Sets a cell to text paragraphs ("\n") and list entries ("*" before a line).
void FillCell(TRPTableCellData& Cell, const std::string& Lines) {
    Cell.Clear();
    size_t from = 0;
    while (from <= Lines.size()) {
        const size_t to = std::min(Lines.find('\n', from), Lines.size());
        const std::string line = Lines.substr(from, to - from);
        if (!line.empty() && line[0] == '*')
            AddListEntry(Cell, line.substr(1));
        else
            Cell.AddNL(line, 0, 0);
        from = to + 1;
    }
}

// Every table of a document, cells being edited read through their editors.
void CollectTables(TCustomRPData& Data, std::vector<TRPTableItemInfo*>& Out) {
    for (int i = 0; i < Data.GetItemCount(); ++i)
        if (auto* t = dynamic_cast<TRPTableItemInfo*>(Data.GetItem(i))) {
            Out.push_back(t);
            t->Rows->ForEachCell([&](int, int, TRPTableCellData& Cell) { CollectTables(*Cell.GetContentData(), Out); });
        }
}

class CellScript : public TableInplace {
protected:
    void SetUp() override { AddNumberedList(*F.Style); }

    // The documents the scripts start from: lists in cells everywhere.
    void BuildDocument(int Which) {
        TRPEditRPData* d = F.Data();
        F.Edit->Clear();
        switch (Which) {
        case 0: {
            d->AddNL("vor", 0, 0);
            auto t = TRPTableItemInfo::CreateEx(2, 2, d);
            TRPTableItemInfo* raw = t.get();
            AddTable(*d, std::move(t));
            FillCell(*raw->GetCell(0, 0), "*Gut\n*likewise");
            FillCell(*raw->GetCell(0, 1), "B");
            FillCell(*raw->GetCell(1, 0), "*cell 3");
            FillCell(*raw->GetCell(1, 1), "D\n*eins\n*zwei");
            d->AddNL("nach", 0, 0);
            break;
        }
        case 1: {
            AddListEntry(*d, "eins");
            AddListEntry(*d, "zwei");
            auto t = TRPTableItemInfo::CreateEx(3, 2, d);
            TRPTableItemInfo* raw = t.get();
            AddTable(*d, std::move(t));
            FillCell(*raw->GetCell(0, 0), "*Aufgabe\n*Rechnung");
            FillCell(*raw->GetCell(0, 1), "Ergebnis");
            FillCell(*raw->GetCell(1, 0), "*");
            FillCell(*raw->GetCell(2, 1), "Ende\n*letzter");
            TRPTableCellData* holder = raw->GetCell(1, 1);
            FillCell(*holder, "*innen");
            auto inner = TRPTableItemInfo::CreateEx(2, 2, holder);
            TRPTableItemInfo* in = inner.get();
            AddTable(*holder, std::move(inner));
            holder->AddNL("unten", 0, 0);
            FillCell(*in->GetCell(0, 0), "*a\n*b");
            FillCell(*in->GetCell(1, 1), "c");
            d->AddNL("Schluss", 0, 0);
            break;
        }
        default: {
            d->AddNL("Kopf", 0, 0);
            auto t = TRPTableItemInfo::CreateEx(2, 3, d);
            TRPTableItemInfo* raw = t.get();
            AddTable(*d, std::move(t));
            FillCell(*raw->GetCell(0, 0), "*eins\n*\n*drei");
            FillCell(*raw->GetCell(0, 1), "x");
            FillCell(*raw->GetCell(1, 2), "Text\n*Liste");
            raw->Rows->MergeCells(0, 0, 2, 1, true, false);
            AddListEntry(*d, "dazwischen");
            auto u = TRPTableItemInfo::CreateEx(1, 2, d);
            TRPTableItemInfo* second = u.get();
            AddTable(*d, std::move(u));
            FillCell(*second->GetCell(0, 0), "*p\n*q");
            FillCell(*second->GetCell(0, 1), "*r");
            d->AddNL("", 0, 0);
            break;
        }
        }
        F.Edit->Format();
        F.Edit->ClearUndo();
    }

    // RPF of list entries, as copied from another list.
    std::string ListRPF() {
        return RPFOf([](TCustomRPData& D) {
            AddListEntry(D, "erstens");
            AddListEntry(D, "");
            AddListEntry(D, "drittens");
        });
    }

    std::mt19937 Rng;
    std::string LastSelection; // for failure messages
    int Pick(int n) { return static_cast<int>(Rng() % static_cast<unsigned>(std::max(1, n))); }

    TRPEditRPData* FocusedData() const { return Focused()->EditData(); }
    int RandomOffs(TCustomRPData& D, int Item) {
        const int first = D.GetFirstOffsetOfItem(Item), last = D.GetLastOffsetOfItem(Item);
        return first + Pick(last - first + 1);
    }
    void RandomCaret() {
        TRPEditRPData* d = FocusedData();
        if (d->GetItemCount() == 0) return;
        const int item = Pick(d->GetItemCount());
        d->SetCaretItemPos(item, RandomOffs(*d, item));
    }
    // Caret at the start of a list entry's text, or at the end of the item
    // before its marker.
    bool CaretByMarker() {
        TRPEditRPData* d = FocusedData();
        std::vector<int> markers;
        for (int i = 0; i < d->GetItemCount(); ++i)
            if (d->GetItemStyle(i) == rpsnListMarker) markers.push_back(i);
        if (markers.empty()) return false;
        const int m = markers[static_cast<size_t>(Pick(static_cast<int>(markers.size())))];
        if (Pick(2) == 0 && m + 1 < d->GetItemCount())
            d->SetCaretItemPos(m + 1, d->GetFirstOffsetOfItem(m + 1));
        else if (m > 0)
            d->SetCaretItemPos(m - 1, d->GetLastOffsetOfItem(m - 1));
        return true;
    }
    void RandomSelection(bool OverTable) {
        TRPEditRPData* d = FocusedData();
        const int n = d->GetItemCount();
        if (n == 0) return;
        int a = Pick(n), b = Pick(n);
        // Mostly short selections, so that the documents do not melt away.
        if (Pick(3)) b = std::min(n - 1, a + Pick(3));
        if (OverTable) {
            std::vector<int> tables;
            for (int i = 0; i < n; ++i)
                if (d->GetItemStyle(i) == rpsnTable) tables.push_back(i);
            if (!tables.empty()) {
                const int t = tables[static_cast<size_t>(Pick(static_cast<int>(tables.size())))];
                a = std::max(0, t - 1 - Pick(2));
                b = std::min(n - 1, t + Pick(3));
            }
        }
        if (a > b) std::swap(a, b);
        int oa = RandomOffs(*d, a), ob = RandomOffs(*d, b);
        if (a == b && oa > ob) std::swap(oa, ob);
        Focused()->SetSelectionBounds(a, oa, b, ob);
        LastSelection = std::to_string(a) + ":" + std::to_string(oa) + "-" + std::to_string(b) + ":" + std::to_string(ob);
    }
    // A click on the host: on a cell it opens that cell, elsewhere it closes
    // the open one.
    void ClickHost() {
        F.Edit->Format();
        TRPEditRPData* d = F.Data();
        if (d->GetItemCount() == 0) return;
        const int item = Pick(d->GetItemCount());
        int x = 0, y = 0;
        if (!d->GetItemClientCoords(item, x, y)) return;
        int w = 30, h = 15;
        if (auto* t = dynamic_cast<TRPTableItemInfo*>(d->GetItem(item))) {
            w = std::max(1, t->FormattingInfo.Width);
            h = std::max(1, t->GetHeight());
        }
        MouseClickAt(F.Edit, x + Pick(w), y + Pick(h));
        ProcessEvents();
    }
    void OpenRandomCell() {
        std::vector<TRPTableItemInfo*> tables;
        CollectTables(*F.Data(), tables);
        if (tables.empty()) return;
        TRPTableItemInfo* t = tables[static_cast<size_t>(Pick(static_cast<int>(tables.size())))];
        if (t->Rows->IsEmpty()) return;
        const int r = Pick(t->Rows->RowCount());
        t->EditCellAt(r, Pick(t->Rows->GetRow(r)->Count()), false);
        ProcessEvents();
    }

    // One step; its name for the failure message.
    std::string Step() {
        switch (Pick(28)) {
        case 0:
        case 1:
        case 2:
            Type(std::string(1, "abc xyz"[Pick(7)]));
            return "type";
        case 3:
            Key(VK_RETURN, Pick(4) == 0 ? ssShift : 0);
            return "enter";
        case 4:
            Key(VK_BACK, Pick(5) == 0 ? ssCtrl : 0);
            return "backspace";
        case 5:
            Key(VK_DELETE);
            return "delete";
        case 6: {
            const uint16_t keys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
            Key(keys[Pick(4)], Pick(4) == 0 ? ssShift : 0);
            return "arrow";
        }
        case 7: {
            const uint16_t keys[] = {VK_HOME, VK_END, VK_PRIOR, VK_NEXT};
            Key(keys[Pick(4)], Pick(6) == 0 ? ssCtrl : 0);
            return "home/end/page";
        }
        case 8:
            Key(VK_TAB, Pick(2) ? ssShift : 0);
            return "tab";
        case 9:
            RandomCaret();
            Type("k");
            return "caret and type";
        case 10: {
            if (!CaretByMarker()) return "no marker";
            const uint16_t keys[] = {VK_DELETE, VK_BACK, VK_PRIOR, VK_NEXT, VK_RETURN};
            const int k = Pick(5);
            Key(keys[k]);
            if (k >= 2 && Pick(2)) Key(VK_DELETE);
            return "key by marker";
        }
        case 11:
        case 12:
        case 13: {
            const bool overTable = Pick(3) == 0;
            RandomSelection(overTable);
            if (Pick(3) == 0)
                Type("q");
            else
                Key(Pick(2) ? VK_DELETE : VK_BACK);
            return (overTable ? "delete over a table " : "delete selection ") + LastSelection;
        }
        case 14:
        case 22:
            if (Pick(2)) RandomCaret();
            Focused()->InsertRPFFromStream(TableRPF(2 + Pick(2), 2, Pick(2) == 0));
            ProcessEvents();
            return "insert table";
        case 15:
            Focused()->InsertText("eins\r\nzwei");
            ProcessEvents();
            return "insert text";
        case 16: {
            RandomSelection(Pick(2) == 0);
            std::string part;
            Focused()->SaveRPFToStream(part, true);
            RandomCaret();
            Focused()->InsertRPFFromStream(part);
            ProcessEvents();
            return "copy rpf";
        }
        case 17:
            ClickHost();
            return "click host";
        case 18:
        case 19:
            OpenRandomCell();
            return "open cell";
        case 20:
            F.Edit->DestroyCellEditor();
            return "close cell";
        case 21:
            RandomSelection(false);
            F.Edit->ApplyParaStyle(Pick(4));
            ProcessEvents();
            return "paragraph style";
        case 23:
        case 24:
            if (Pick(2)) RandomCaret();
            Focused()->InsertRPFFromStream(ListRPF());
            ProcessEvents();
            return "insert list";
        default:
            Key('Z', Pick(3) == 0 ? ssCtrl | ssShift : ssCtrl);
            return "undo/redo";
        }
    }

    // The focused document with its caret or selection, for failure messages.
    std::string Describe() const {
        TRPEditRPData* d = FocusedData();
        int si = -1, so = 0, ei = -1, eo = 0;
        if (d->SelectionExists(false, false)) d->GetSelBounds(si, so, ei, eo, true);
        return (Focused() == F.Edit ? std::string("host") : "cell") + " caret " +
               std::to_string(d->CurItemNo()) + ":" + std::to_string(d->OffsetInCurItem()) + " selection " +
               std::to_string(si) + ":" + std::to_string(so) + "-" + std::to_string(ei) + ":" + std::to_string(eo) +
               "\n" + DumpItems(*d);
    }

    // The whole document tree, cells indented under their tables, for tracing.
    static void DumpTree(TCustomRPData& D, const std::string& Indent, std::string& Out) {
        std::istringstream lines(DumpItems(D));
        std::string line;
        for (int i = 0; std::getline(lines, line); ++i) {
            Out += Indent + line + "\n";
            if (auto* t = dynamic_cast<TRPTableItemInfo*>(D.GetItem(i)))
                t->Rows->ForEachCell([&](int r, int c, TRPTableCellData& Cell) {
                    Out += Indent + "  cell " + std::to_string(r) + "," + std::to_string(c) +
                           (Cell.GetCellEditor() ? " (edited)\n" : "\n");
                    DumpTree(*Cell.GetContentData(), Indent + "    ", Out);
                });
        }
    }

    // Every document: the host, the cells and the open editors.
    std::string CheckDocuments() {
        std::vector<TCustomRPData*> docs{F.Data()};
        std::vector<TRPTableItemInfo*> tables;
        CollectTables(*F.Data(), tables);
        for (TRPTableItemInfo* t : tables)
            t->Rows->ForEachCell([&](int, int, TRPTableCellData& Cell) { docs.push_back(Cell.GetContentData()); });
        for (TCustomRPData* d : docs) {
            const std::string m = Misplaced(*d);
            if (!m.empty()) return m + "\n" + DumpItems(*d);
        }
        return std::string();
    }
};

TEST_F(CellScript, UndoAllGivesBackTheStartAndRedoAllTheEditedDocument) {
    const int seeds = EnvInt("PRAVOLIN_SCRIPT_SEEDS", 3);
    const int steps = EnvInt("PRAVOLIN_SCRIPT_STEPS", 120);
    const int firstSeed = EnvInt("PRAVOLIN_SCRIPT_FIRST_SEED", 1);
    for (int doc = 0; doc < 3; ++doc) {
        for (int seed = firstSeed; seed < firstSeed + seeds; ++seed) {
            const std::string where = "doc " + std::to_string(doc) + " seed " + std::to_string(seed);
            BuildDocument(doc);
            Rng.seed(static_cast<unsigned>(seed) * 7919u + static_cast<unsigned>(doc));
            const std::string start = SaveRPF(*F.Edit);
            std::string log;
            int inCell = 0, nested = 0;
            for (int step = 0; step < steps; ++step) {
                const std::string before = Describe();
                try {
                    log += Step() + " ";
                    if (qEnvironmentVariableIsSet("PRAVOLIN_SCRIPT_TRACE")) {
                        std::string tree;
                        DumpTree(*F.Data(), "", tree);
                        fprintf(stderr, "%s step %d: %s\n%s", where.c_str(), step, log.c_str(), tree.c_str());
                    }
                } catch (const std::exception& e) {
                    FAIL() << e.what() << " in " << where << " step " << step << ": " << log << "\nbefore:\n" << before;
                }
                const std::string bad = CheckDocuments();
                ASSERT_EQ(bad, "") << where << " step " << step << ": " << log << "\nbefore:\n" << before;
                if (const TCustomRichPadEdit* cell = F.Edit->OpenCellEditor()) {
                    ++inCell;
                    if (cell->OpenCellEditor()) ++nested;
                }
            }
            if (qEnvironmentVariableIsSet("PRAVOLIN_SCRIPT_SEEDS"))
                fprintf(stderr, "%s: %d steps, %d in a cell, %d in a nested cell, %d items at the end\n", where.c_str(),
                        steps, inCell, nested, F.Data()->GetItemCount());
            F.Edit->DestroyCellEditor();
            ProcessEvents();
            // Steps undone on the way and not overwritten stay redoable: not part of this test.
            F.Data()->RedoList->Clear();
            const std::string edited = SaveRPF(*F.Edit);
            for (const bool redo : {false, true}) {
                // Every step back and forth leaves well-formed documents.
                int guard = 0;
                while ((redo ? F.Edit->CanRedo() : F.Edit->CanUndo()) && ++guard < 40 * steps + 100) {
                    const std::string before = Describe();
                    redo ? Focused()->Redo() : Focused()->Undo();
                    ProcessEvents();
                    const std::string bad = CheckDocuments();
                    ASSERT_EQ(bad, "") << where << (redo ? " redo " : " undo ") << guard << ": " << log
                                       << "\nbefore:\n" << before;
                }
                F.Edit->DestroyCellEditor();
                ASSERT_EQ(SaveRPF(*F.Edit), redo ? edited : start) << where << ": " << log;
            }
        }
    }
}

} // namespace

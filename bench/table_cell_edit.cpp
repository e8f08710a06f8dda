// Editing a cell that holds large tables: the log book holds the table of
// 256 columns (found/wide_table_257_columns.rtf), and the whole document has
// been copied into its first cell again and again (3, 5 and 7 times: it
// doubles each time), as random editing reaches it. Measured through the
// editor's own calls, each with the view painted as the event loop paints
// it: the cell opened, a caret move in it and twenty through the tables in
// it, a key typed and taken back, the whole document pasted into it once
// more (undone untimed), the cell closed, and the undo of a key typed in the
// cell (redone untimed).
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

#include "BenchMain.h"
#include "platform/Fonts.h"
#include "platform/Forms.h"
#include "platform/Keys.h"
#include "richtext/edit/RPEditData.h"
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RPTableInplace.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPStyle.h"
#include "shell/USeitenstil.h"

namespace {

void Settle() {
    for (int i = 0; i < 4; ++i) {
        QCoreApplication::sendPostedEvents();
        QApplication::processEvents();
    }
}

class TCellEditor {
public:
    explicit TCellEditor(int Doublings)
        : Style(SeitenstilErzeugen()), Form(std::make_unique<TForm>(nullptr)) {
        Form->SetBounds(0, 0, 1020, 720);
        Edit = new TRichPadEdit(Form.get());
        Edit->SetParent(Form.get());
        Edit->SetBounds(0, 0, 1000, 700);
        Edit->SetStyle(Style.get());
        LogbuchEinstellen(*Edit);
        QFile f(QStringLiteral(PRAVOLIN_SOURCE_DIR "/../shared/corpus/found/wide_table_257_columns.rtf"));
        if (!f.open(QIODevice::ReadOnly)) return;
        Edit->Clear();
        if (!Edit->InsertRTFFromStream(f.readAll().toStdString())) return;
        Edit->Format();
        Form->Show();
        Edit->SetFocus();
        Settle();
        Table = FirstTable();
        if (!Table) return;
        // The whole document into the first cell, again and again: it doubles every time.
        for (int i = 0; i < Doublings; ++i) {
            Edit->SelectAll();
            Edit->CopyToClipboard();
            if (!Open()) return;
            Cell()->Paste();
            Settle();
            Close();
        }
        Edit->ClearUndo();
        std::string rpf;
        Edit->SaveRPFToStream(rpf, false);
        Bytes = static_cast<double>(rpf.size());
        Ready = true;
    }
    ~TCellEditor() {
        Edit->DestroyCellEditor();
        Settle();
        delete Edit;
        Form.reset();
    }

    TRPTableItemInfo* FirstTable() const {
        for (int i = 0; i < Edit->ItemCount(); ++i)
            if (auto* t = dynamic_cast<TRPTableItemInfo*>(Edit->RPData()->GetItem(i))) return t;
        return nullptr;
    }
    bool Open() {
        // The caret at the end, after what was pasted.
        Table->EditCell(-1, 0, 0, true, false, true, false, false);
        Settle();
        return Cell() != nullptr;
    }
    void Close() {
        Table->CloseInplaceEditor(true);
        Settle();
    }
    TRichPadEdit* Cell() const { return Table->InplaceEditor(); }
    // The innermost cell editor open, where the keys go.
    TRichPadEdit* Focused() const {
        TRichPadEdit* at = Cell();
        for (bool deeper = at != nullptr; deeper;) {
            deeper = false;
            for (int i = 0; i < at->ItemCount(); ++i)
                if (auto* t = dynamic_cast<TRPTableItemInfo*>(at->RPData()->GetItem(i));
                    t && t->InplaceEditor()) {
                    at = t->InplaceEditor();
                    deeper = true;
                    break;
                }
        }
        return at;
    }

    std::unique_ptr<TRPStyle> Style;
    std::unique_ptr<TForm> Form;
    TRichPadEdit* Edit = nullptr;
    TRPTableItemInfo* Table = nullptr;
    bool Ready = false;
    double Bytes = 0;
};

// One editor per size, made once (making it is the slow part), freed while
// the application still exists.
std::map<int, std::unique_ptr<TCellEditor>> g_editors;

TCellEditor& EditorWith(int Doublings) {
    auto& e = g_editors[Doublings];
    if (!e) e = std::make_unique<TCellEditor>(Doublings);
    return *e;
}

// Every case starts from the cell closed and ends so.
template <class F> void RunCellCase(benchmark::State& state, F&& Case) {
    TCellEditor& e = EditorWith(static_cast<int>(state.range(0)));
    if (!e.Ready || !e.Open()) {
        state.SkipWithError("the document did not load or its cell did not open");
        return;
    }
    e.Close();
    Case(state, e);
    if (e.Cell()) e.Close();
    state.counters["RPF_MB"] = e.Bytes / 1e6;
}

void BM_CellOpen(benchmark::State& state) {
    RunCellCase(state, [](benchmark::State& s, TCellEditor& e) {
        for (auto _ : s) {
            e.Open();
            s.PauseTiming();
            e.Close();
            s.ResumeTiming();
        }
    });
}

void BM_CellClose(benchmark::State& state) {
    RunCellCase(state, [](benchmark::State& s, TCellEditor& e) {
        for (auto _ : s) {
            s.PauseTiming();
            e.Open();
            s.ResumeTiming();
            e.Close();
        }
    });
}

void BM_CellCaretMove(benchmark::State& state) {
    RunCellCase(state, [](benchmark::State& s, TCellEditor& e) {
        e.Open();
        bool left = true;
        for (auto _ : s) {
            e.Cell()->SendKey(left ? VK_LEFT : VK_RIGHT);
            Settle();
            left = !left;
        }
    });
}

// Twenty Down presses from the start of the cell, through the tables in it
// (their cells open and close on the way).
void BM_CellCaretThroughTables(benchmark::State& state) {
    RunCellCase(state, [](benchmark::State& s, TCellEditor& e) {
        for (auto _ : s) {
            s.PauseTiming();
            e.Table->EditCell(-1, 0, 0, true, false, false, true, false);
            Settle();
            s.ResumeTiming();
            for (int i = 0; i < 20; ++i) {
                e.Focused()->SendKey(VK_DOWN);
                Settle();
            }
            s.PauseTiming();
            e.Edit->DestroyCellEditor();
            Settle();
            s.ResumeTiming();
        }
    });
}

void BM_CellKey(benchmark::State& state) {
    RunCellCase(state, [](benchmark::State& s, TCellEditor& e) {
        e.Open();
        for (auto _ : s) {
            e.Cell()->SendChar(u'x');
            Settle();
            s.PauseTiming();
            e.Cell()->SendKey(VK_BACK);
            Settle();
            s.ResumeTiming();
        }
    });
}

void BM_CellPaste(benchmark::State& state) {
    RunCellCase(state, [](benchmark::State& s, TCellEditor& e) {
        // This document, as a person copies it.
        e.Edit->SelectAll();
        e.Edit->CopyToClipboard();
        e.Open();
        for (auto _ : s) {
            e.Cell()->Paste();
            Settle();
            s.PauseTiming();
            e.Cell()->Undo();
            Settle();
            s.ResumeTiming();
        }
    });
}

void BM_CellUndo(benchmark::State& state) {
    RunCellCase(state, [](benchmark::State& s, TCellEditor& e) {
        e.Open();
        e.Cell()->SendChar(u'x');
        Settle();
        e.Close();
        for (auto _ : s) {
            e.Edit->Undo();
            Settle();
            s.PauseTiming();
            if (e.Cell()) e.Close();
            e.Edit->Redo();
            Settle();
            if (e.Cell()) e.Close();
            s.ResumeTiming();
        }
    });
}

#define CELL_BENCHMARK(F)                                                                                    \
    BENCHMARK(F)->ArgName("doublings")->Arg(3)->Arg(5)->Arg(7)->Unit(benchmark::kMillisecond)
CELL_BENCHMARK(BM_CellOpen);
CELL_BENCHMARK(BM_CellClose);
CELL_BENCHMARK(BM_CellCaretMove);
CELL_BENCHMARK(BM_CellCaretThroughTables);
CELL_BENCHMARK(BM_CellKey);
CELL_BENCHMARK(BM_CellPaste);
CELL_BENCHMARK(BM_CellUndo);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks<QApplication>(argc, argv, [] {
        RegisterProgramFonts();
        qAddPostRoutine([] { g_editors.clear(); });
    });
}

// Tables and the mouse, in an editor 600 x 800 pixels holding a table of
// 1,000 rows and 4 columns (a few words per cell): the pointer moved over the
// first screen of the table (cells and borders, the cursor chosen each time),
// and a column border dragged 40 pixels in 10 moves and dropped, which resizes
// the column's 1,000 cells as one undo step and lays the table out again,
// then undone; the drop alone. For reference, the editor laying the same
// table out once.
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <string>

#include "platform/Forms.h"
#include "richtext/edit/RPEditData.h"
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFReaderProperties.h"

namespace {

constexpr int kWidth = 600, kHeight = 800, kRows = 1000;

std::string TableRTF() {
    static const char* const words[] = {"Apfel", "Birne", "Kirsche", "Pflaume", "Menge", "Preis"};
    std::string s = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Preisliste\\par\n";
    for (int r = 0; r < kRows; ++r) {
        s += "\\trowd\\trgaph60\\cellx2000\\cellx4000\\cellx6000\\cellx8000\\pard\\intbl ";
        for (int c = 0; c < 4; ++c)
            s += std::string(words[(r + c) % 6]) + " " + std::to_string(r * 4 + c) + "\\cell ";
        s += "\\row\n";
    }
    return s + "\\pard Ende\\par}";
}

struct TEditorWithTable {
    TRPStyle Style;
    TForm Form{nullptr};
    TRichPadEdit* Edit = nullptr;
    TRPTableItemInfo* Table = nullptr;
    int Left = 0, Top = 0;

    TEditorWithTable() {
        Form.SetBounds(0, 0, kWidth + 50, kHeight + 50);
        Edit = new TRichPadEdit(&Form);
        Edit->SetParent(&Form);
        Edit->SetBounds(0, 0, kWidth, kHeight);
        Edit->SetStyle(&Style);
        Edit->GetRTFReadProperties()->TextStyleMode = rprsAddIfNeeded;
        Edit->GetRTFReadProperties()->ParaStyleMode = rprsAddIfNeeded;
        Edit->Clear();
        Edit->InsertRTFFromStream(TableRTF());
        Edit->Format();
        Edit->SetSelectionBounds(0, 1, 0, 1);
        Edit->ScrollTo(0);
        TRPEditRPData* d = Edit->EditData();
        for (int i = 0; i < d->GetItemCount() && !Table; ++i)
            if ((Table = dynamic_cast<TRPTableItemInfo*>(d->GetItem(i))))
                d->GetItemClientCoords(i, Left, Top);
    }
    // Where vertical border Border lies in the table, -1 when nowhere.
    int Border(int Index) const {
        for (int x = 0; Table && x <= Table->GetWidth(); ++x) {
            int s = 0, p = 0;
            if (Table->GetVBorderAt(x, s, p) == Index) return p;
        }
        return -1;
    }
    void Send(QEvent::Type Type, int X, int Y) {
        QWidget* w = Edit->ClientWidget();
        const Qt::MouseButtons held = Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(Type, QPointF(X, Y), w->mapToGlobal(QPointF(X, Y)),
                      Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
};

void BM_TableHover(benchmark::State& state) {
    TEditorWithTable t;
    if (!t.Table) {
        state.SkipWithError("no table");
        return;
    }
    int moves = 0;
    for (auto _ : state)
        for (int y = t.Top; y < kHeight; y += 7)
            for (int x = t.Left; x < t.Left + t.Table->GetWidth(); x += 23) {
                QMouseEvent e(QEvent::MouseMove, QPointF(x, y),
                              t.Edit->ClientWidget()->mapToGlobal(QPointF(x, y)), Qt::NoButton, Qt::NoButton,
                              Qt::NoModifier);
                QApplication::sendEvent(t.Edit->ClientWidget(), &e);
                ++moves;
            }
    state.counters["moves"] = benchmark::Counter(moves, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TableHover)->Unit(benchmark::kMillisecond);

void BM_TableColumnDragAndUndo(benchmark::State& state) {
    TEditorWithTable t;
    if (!t.Table) {
        state.SkipWithError("no table");
        return;
    }
    const int border = t.Border(1);
    if (border < 0) {
        state.SkipWithError("no border");
        return;
    }
    const int x = t.Left + border, y = t.Top + t.Table->GetRowTop(1) + 5;
    // One drag first: it must start on the border and change the column.
    const int w0 = t.Table->FormattingInfo.ColWidths[0];
    t.Send(QEvent::MouseButtonPress, x, y);
    for (int k = 1; k <= 10; ++k)
        t.Send(QEvent::MouseMove, x - 4 * k, y);
    t.Send(QEvent::MouseButtonRelease, x - 40, y);
    const bool changed = t.Table->FormattingInfo.ColWidths[0] == w0 - 40;
    t.Edit->Undo();
    if (!changed) {
        state.SkipWithError("the drag did not size the column");
        return;
    }
    for (auto _ : state) {
        t.Send(QEvent::MouseButtonPress, x, y);
        for (int k = 1; k <= 10; ++k)
            t.Send(QEvent::MouseMove, x - 4 * k, y);
        t.Send(QEvent::MouseButtonRelease, x - 40, y);
        t.Edit->Undo();
    }
}
BENCHMARK(BM_TableColumnDragAndUndo)->Unit(benchmark::kMillisecond);

// The drop alone: the border goes 40 pixels left and, next time, back.
void BM_TableColumnDrop(benchmark::State& state) {
    TEditorWithTable t;
    const int border = t.Border(1);
    if (border < 0) {
        state.SkipWithError("no border");
        return;
    }
    const int x = t.Left + border, y = t.Top + t.Table->GetRowTop(1) + 5;
    bool left = true;
    for (auto _ : state) {
        const int from = left ? x : x - 40, to = left ? x - 40 : x;
        t.Send(QEvent::MouseButtonPress, from, y);
        t.Send(QEvent::MouseMove, to, y);
        t.Send(QEvent::MouseButtonRelease, to, y);
        left = !left;
    }
}
BENCHMARK(BM_TableColumnDrop)->Unit(benchmark::kMillisecond);

void BM_TableReformatReference(benchmark::State& state) {
    TEditorWithTable t;
    if (!t.Table) {
        state.SkipWithError("no table");
        return;
    }
    for (auto _ : state) {
        t.Table->Changed();
        t.Edit->Format();
    }
}
BENCHMARK(BM_TableReformatReference)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

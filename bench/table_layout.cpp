// Tables: a document with a table of 1,000 rows and 4 columns (RTF made here,
// a few words per cell) imported, formatted at 600 pixels and its first screen
// painted; and a cell's text changed in the middle of it with the document
// formatted again (what a typed character in a cell costs until the cell
// editor reformats in place). Beside it QTextDocument laying out and painting
// the same table given as HTML. Last, in an editor: a row inserted into the
// middle of the table and undone again, the pointer moved over it and a
// column border dragged; and keys typed into a cell of the middle row
// through the cell editor, beside QTextEdit holding the same table, keys
// typed into a cell of log book tables of 20 to 20,000 rows, and keys that
// leave a cell of such a table or enter it.
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextTable>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "BenchMain.h"
#include "KeyBench.h"
#include "ViewBenchDocument.h"
#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "platform/Keys.h"
#include "richtext/edit/RPEditData.h"
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RPTableInplace.h"
#include "richtext/edit/RichPadEdit.h"

namespace {

constexpr int kRows = 1000;

// Measured and painted on a canvas of the screen's size, without margins.
class TBenchDoc : public TViewBenchDoc {
public:
    TBenchDoc() : TViewBenchDoc(kWidth, kHeight, 0, true) {}
};

// The cell whose keys are measured, and a word wider than its column that
// the documents of the wide-word case hold at its start.
constexpr int kKeyRow = kRows / 2, kKeyCol = 1;
const std::string kWideWord(40, 'w');

std::string Cell(int r, int c, bool Wide = false) {
    static const char* const words[] = {"Apfel", "Birne", "Kirsche", "Pflaume", "Menge", "Preis"};
    const std::string text = std::string(words[(r + c) % 6]) + " " + std::to_string(r * 4 + c) + " Stueck";
    return Wide && r == kKeyRow && c == kKeyCol ? kWideWord + " " + text : text;
}

std::string MakeTableRTF(bool Wide) {
    std::string s = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Preisliste\\par\n";
    for (int r = 0; r < kRows; ++r) {
        s += "\\trowd\\trgaph60\\clbrdrl\\brdrs\\clbrdrt\\brdrs\\clbrdrr\\brdrs\\clbrdrb\\brdrs\\cellx2000"
             "\\clbrdrl\\brdrs\\clbrdrt\\brdrs\\clbrdrr\\brdrs\\clbrdrb\\brdrs\\cellx4000"
             "\\clbrdrl\\brdrs\\clbrdrt\\brdrs\\clbrdrr\\brdrs\\clbrdrb\\brdrs\\cellx6000"
             "\\clbrdrl\\brdrs\\clbrdrt\\brdrs\\clbrdrr\\brdrs\\clbrdrb\\brdrs\\cellx8000\\pard\\intbl ";
        for (int c = 0; c < 4; ++c)
            s += Cell(r, c, Wide) + "\\cell ";
        s += "\\row\n";
    }
    return s + "\\pard Ende\\par}";
}

const std::string& TableRTF(bool Wide = false) {
    static const std::string rtf[2] = {MakeTableRTF(false), MakeTableRTF(true)};
    return rtf[Wide ? 1 : 0];
}

QString MakeTableHTML(bool Wide) {
    QString s = QStringLiteral("<p>Preisliste</p><table border=1 width=\"100%\">");
    for (int r = 0; r < kRows; ++r) {
        s += QStringLiteral("<tr>");
        for (int c = 0; c < 4; ++c)
            s += QStringLiteral("<td>") + QString::fromStdString(Cell(r, c, Wide)) + QStringLiteral("</td>");
        s += QStringLiteral("</tr>");
    }
    return s + QStringLiteral("</table><p>Ende</p>");
}

const QString& TableHTML(bool Wide = false) {
    static const QString html[2] = {MakeTableHTML(false), MakeTableHTML(true)};
    return html[Wide ? 1 : 0];
}

void Import(TBenchDoc& D) {
    QByteArray data(TableRTF().data(), static_cast<qsizetype>(TableRTF().size()));
    QBuffer buf(&data);
    buf.open(QIODevice::ReadOnly);
    D.RTF.ReadRTFStream(buf, &D);
}

TRPTableItemInfo* TableOf(TBenchDoc& D) {
    for (int i = 0; i < D.GetItemCount(); ++i)
        if (auto* t = dynamic_cast<TRPTableItemInfo*>(D.GetItem(i))) return t;
    return nullptr;
}

void Format(TBenchDoc& D) {
    D.TCustomRPFormattedData::Format(false, true, false, 0, nullptr, false, true);
}

void Paint(TBenchDoc& D) {
    D.Surface.fill(Qt::white);
    D.PaintDocument(D.Canvas, Rect(0, 0, kWidth, kHeight));
    D.Canvas.Release();
}

void BM_TableImport(benchmark::State& state) {
    int rows = 0;
    for (auto _ : state) {
        TBenchDoc d;
        Import(d);
        TRPTableItemInfo* t = TableOf(d);
        rows = t ? t->Rows->RowCount() : 0;
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_TableImport)->Unit(benchmark::kMillisecond);

void BM_TableImportFormatPaint(benchmark::State& state) {
    for (auto _ : state) {
        TBenchDoc d;
        Import(d);
        Format(d);
        Paint(d);
        benchmark::DoNotOptimize(d.DocumentHeight);
    }
}
BENCHMARK(BM_TableImportFormatPaint)->Unit(benchmark::kMillisecond);

void BM_TableFormatAndPaint(benchmark::State& state) {
    TBenchDoc d;
    Import(d);
    TRPTableItemInfo* t = TableOf(d);
    for (auto _ : state) {
        if (t) t->Changed();
        Format(d);
        Paint(d);
        benchmark::DoNotOptimize(d.DocumentHeight);
    }
}
BENCHMARK(BM_TableFormatAndPaint)->Unit(benchmark::kMillisecond);

void BM_TableCellChanged(benchmark::State& state) {
    TBenchDoc d;
    Import(d);
    Format(d);
    TRPTableItemInfo* t = TableOf(d);
    if (!t) {
        state.SkipWithError("no table");
        return;
    }
    TRPTableCellData* cell = t->GetCell(kRows / 2, 1);
    int n = 0;
    for (auto _ : state) {
        cell->Clear();
        cell->AddText("Birne " + std::to_string(++n), 0, 0);
        t->Changed();
        Format(d);
        Paint(d);
    }
}
BENCHMARK(BM_TableCellChanged)->Unit(benchmark::kMillisecond);

// The table in an editor on a form, as the log book holds it.
struct TTableEditor {
    TRPStyle Style;
    TForm Form{nullptr};
    TRichPadEdit* Edit = new TRichPadEdit(&Form);
    TRPTableItemInfo* Table = nullptr;
    explicit TTableEditor(bool Wide = false) : TTableEditor(TableRTF(Wide)) {}
    explicit TTableEditor(const std::string& RTF) {
        Form.SetBounds(0, 0, kWidth + 50, kHeight + 50);
        Edit->SetParent(&Form);
        Edit->SetBounds(0, 0, kWidth, kHeight);
        Edit->SetStyle(&Style);
        Edit->GetRTFReadProperties()->TextStyleMode = rprsAddIfNeeded;
        Edit->GetRTFReadProperties()->ParaStyleMode = rprsAddIfNeeded;
        Edit->Clear();
        Edit->InsertRTFFromStream(RTF);
        Edit->Format();
        for (int i = 0; i < Edit->EditData()->GetItemCount() && !Table; ++i)
            Table = dynamic_cast<TRPTableItemInfo*>(Edit->EditData()->GetItem(i));
    }
};

void BM_TableInsertRowUndo(benchmark::State& state) {
    TTableEditor e;
    TRPTableItemInfo* t = e.Table;
    if (!t) {
        state.SkipWithError("no table");
        return;
    }
    for (auto _ : state) {
        t->InsertRows(kRows / 2, 1, kRows / 2 - 1, false);
        e.Edit->Undo();
    }
    state.counters["rows"] = t->Rows->RowCount();
}
BENCHMARK(BM_TableInsertRowUndo)->Unit(benchmark::kMillisecond);

// ---- keys typed into a cell (KeyBench.h), beside QTextEdit holding the
// same table, the cell "Pflaume 2001 Stueck" in the middle row.

std::vector<TKeyCase> CellCases() {
    return KeyCases(1, u'l', u'a', 8, 20);
}

// Our editor with a cell of its table open: the keys go to the cell's
// editor, and both it and the editor around are painted.
class TOurCellTarget : public TKeyTarget {
public:
    template <class... A> explicit TOurCellTarget(A&&... Args) : E(std::forward<A>(Args)...) {
        E.Edit->SetUndoLimit(0);
    }
    void Deactivate() override { E.Form.Hide(); }
    void DirectKey(const TKey& K) override {
        if (TRPTableInplaceEdit* c = Cell()) OurDirectKey(*c, K);
    }
    void PaintAll() override {
        E.Edit->PaintTo(Screen);
        if (TRPTableInplaceEdit* c = Cell()) c->PaintTo(CellScreen);
    }
    QWidget* KeyTarget() override { return Cell() ? Cell()->Widget() : E.Edit->Widget(); }
    std::vector<QWidget*> PaintedWidgets() override {
        return {E.Edit->ClientWidget(), Cell() ? Cell()->ClientWidget() : nullptr};
    }
    TRPTableInplaceEdit* Cell() const { return E.Table ? E.Table->InplaceEditor() : nullptr; }

    TTableEditor E;
    QImage Screen, CellScreen;

protected:
    void ShowEditor() {
        E.Form.Show();
        QApplication::setActiveWindow(E.Form.Widget());
        E.Edit->SetFocus();
    }
};

class TOurCell : public TOurCellTarget {
public:
    explicit TOurCell(bool Wide) : TOurCellTarget(Wide) {}
    void Activate() override {
        ShowEditor();
        if (E.Table && !E.Table->InplaceEditor())
            E.Table->EditCell(-1, kKeyRow, kKeyCol, true, false, false, true, false);
        Settle();
    }
    void SetCaret(int Offs, bool) override {
        if (TRPTableInplaceEdit* c = Cell()) c->EditData()->SetCaretItemPos(0, Offs);
        Settle();
    }
};

class TQtCell : public TQtKeyTarget {
public:
    explicit TQtCell(bool Wide) : TQtKeyTarget(kWidth, kHeight) {
        Edit.document()->setDefaultFont(QFont(QStringLiteral("Arial"), 10));
        Edit.setHtml(TableHTML(Wide));
        Edit.document()->setUndoRedoEnabled(false);
    }
    void SetCaret(int Offs, bool) override {
        for (QTextFrame* f : Edit.document()->rootFrame()->childFrames())
            if (auto* t = qobject_cast<QTextTable*>(f)) {
                PlaceCaret(t->cellAt(kKeyRow, kKeyCol).firstCursorPosition(), Offs);
                return;
            }
    }
};

// One per kind and document, kept for the run; only the one measured is shown.
TKeyTarget* CellTargetFor(bool Ours, bool Wide) {
    return ShowAlone(KeptTarget(std::make_pair(Ours, Wide), [&]() -> std::unique_ptr<TKeyTarget> {
        if (Ours) return std::make_unique<TOurCell>(Wide);
        return std::make_unique<TQtCell>(Wide);
    }));
}

void RegisterCellKeys() {
    for (const bool events : {true, false})
        for (const TKeyCase& c : CellCases())
            for (const bool ours : {true, false}) {
                const std::string name = std::string(events ? "Events/" : "Direct/") +
                                         (ours ? "Editor/" : "QTextEdit/") + "Cell/" + c.Name;
                benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& s) {
                    RunKeyCase(s, *CellTargetFor(ours, c.Wide), events, c);
                })->Unit(benchmark::kMicrosecond);
            }
}

// ---- keys in a cell of a log book's table of results (task, result, right?)
// of 20, 2,000 and 20,000 rows: with columns of their own widths, as the log
// book's tables have them, and with free columns that share the view's
// width; beside QTextEdit holding the same table. The cell edited is in the
// middle row: a digit typed into its result, which a longer result further
// up keeps from becoming its column's widest; a letter typed into, and one
// deleted from, "vielleicht", the widest word of the last column.

constexpr int kLogRowCounts[] = {20, 2000, 20000};

struct TLogCell {
    int Col;
    const char* Text;
};
const TLogCell kLogResult{1, "4711"}, kLogAnswer{2, "vielleicht"};

std::string LogCellText(int Rows, int r, int c) {
    if (r == Rows / 2)
        return c == 0 ? "Aufgabe " + std::to_string(r + 1) : c == 1 ? kLogResult.Text : kLogAnswer.Text;
    if (c == 0) return "Aufgabe " + std::to_string(r + 1);
    if (c == 1) return r == 0 ? "1234567890" : std::to_string(r * 37 % 1000);
    return r % 3 ? "ja" : "nein";
}

std::string MakeLogRTF(int Rows) {
    std::string s = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Meine Ergebnisse:\\par\n";
    for (int r = 0; r < Rows; ++r) {
        s += "\\trowd\\trgaph60";
        for (const char* x : {"2000", "4000", "6000"})
            s += std::string("\\clbrdrl\\brdrs\\clbrdrt\\brdrs\\clbrdrr\\brdrs\\clbrdrb\\brdrs\\cellx") + x;
        s += "\\pard\\intbl ";
        for (int c = 0; c < 3; ++c)
            s += LogCellText(Rows, r, c) + "\\cell ";
        s += "\\row\n";
    }
    return s + "\\pard Ende\\par}";
}

QString MakeLogHTML(int Rows, bool Fixed) {
    QString s = QStringLiteral("<p>Meine Ergebnisse:</p><table border=1");
    s += Fixed ? QStringLiteral(">") : QStringLiteral(" width=\"100%\">");
    for (int r = 0; r < Rows; ++r) {
        s += QStringLiteral("<tr>");
        for (int c = 0; c < 3; ++c)
            s += (Fixed ? QStringLiteral("<td width=133>") : QStringLiteral("<td>")) +
                 QString::fromStdString(LogCellText(Rows, r, c)) + QStringLiteral("</td>");
        s += QStringLiteral("</tr>");
    }
    return s + QStringLiteral("</table><p>Ende</p>");
}

// A key case in one of the two cells: Offs as in TKeyCase.
struct TLogCase {
    const char* Name;
    TLogCell Cell;
    TKeyCase Keys;
};

std::vector<TLogCase> LogCases() {
    return {
        {"TypeInWord", kLogResult, {"", 3, {Char(u'0')}, {kBack}}},
        {"TypeInWidest", kLogAnswer, {"", 5, {Char(u'x')}, {kBack}}},
        {"BackspaceInWidest", kLogAnswer, {"", 5, {kBack}, {Char(u'l')}}},
    };
}

class TOurLogCell : public TOurCellTarget {
public:
    TOurLogCell(int Rows, bool Fixed) : TOurCellTarget(MakeLogRTF(Rows)), Row(Rows / 2) {
        if (E.Table && !Fixed) {
            // Columns without widths of their own share the view's width.
            E.Table->BestWidth = 0;
            E.Table->Rows->ForEachCell([](int, int, TRPTableCellData& Cell) { Cell.BestWidth = 0; });
            E.Table->Changed();
            E.Edit->Format();
        }
    }
    int Col = 0;
    void Activate() override {
        ShowEditor();
        Settle();
    }
    void SetCaret(int Offs, bool) override {
        int r = -1, c = -1;
        if (E.Table && (!E.Table->GetEditedCell(r, c) || r != Row || c != Col))
            E.Table->EditCell(-1, Row, Col, true, false, false, true, false);
        if (TRPTableInplaceEdit* e = Cell()) e->EditData()->SetCaretItemPos(0, Offs);
        Settle();
    }

    const int Row;
};

class TQtLogCell : public TQtKeyTarget {
public:
    TQtLogCell(int Rows, bool Fixed) : TQtKeyTarget(kWidth, kHeight), Row(Rows / 2) {
        Edit.document()->setDefaultFont(QFont(QStringLiteral("Arial"), 10));
        Edit.setHtml(MakeLogHTML(Rows, Fixed));
        Edit.document()->setUndoRedoEnabled(false);
    }
    int Col = 0;
    const int Row;
    void SetCaret(int Offs, bool) override {
        for (QTextFrame* f : Edit.document()->rootFrame()->childFrames())
            if (auto* t = qobject_cast<QTextTable*>(f)) {
                PlaceCaret(t->cellAt(Row, Col).firstCursorPosition(), Offs);
                return;
            }
    }
};

// One per kind and table, kept for the run; only the one measured is shown.
TKeyTarget* LogTargetFor(bool Ours, int Rows, bool Fixed, int Col) {
    TKeyTarget* t = KeptTarget(std::make_tuple(Ours, Rows, Fixed), [&]() -> std::unique_ptr<TKeyTarget> {
        if (Ours) return std::make_unique<TOurLogCell>(Rows, Fixed);
        return std::make_unique<TQtLogCell>(Rows, Fixed);
    });
    if (auto* o = dynamic_cast<TOurLogCell*>(t)) o->Col = Col;
    if (auto* q = dynamic_cast<TQtLogCell*>(t)) q->Col = Col;
    return ShowAlone(t);
}

void RegisterLogKeys() {
    for (const bool fixed : {true, false})
        for (const int rows : kLogRowCounts)
            for (const TLogCase& c : LogCases())
                for (const bool ours : {true, false}) {
                    const std::string name = std::string("Events/") + (ours ? "Editor/" : "QTextEdit/") +
                                             "LogTable/" + (fixed ? "Fixed/" : "Free/") +
                                             std::to_string(rows) + "/" + c.Name;
                    benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& s) {
                        RunKeyCase(s, *LogTargetFor(ours, rows, fixed, c.Cell.Col), true, c.Keys);
                    })->Unit(benchmark::kMicrosecond);
                }
}

// ---- keys that leave a cell of a log book's table with columns of their own
// widths, where nothing was typed: PageDown and PageUp (to a cell a screen
// further on) and Down (to the cell below) from the result of the middle row,
// and Down from the line above the table into its first row. Tables of 200
// to 12,800 rows, four times apart, and of the log's 20,000: what a key costs
// should not grow with the rows the key does not reach.

constexpr int kLeaveRowCounts[] = {200, 800, 3200, 12800, 20000};

// The key measured, and whether the caret starts in the line above the table.
struct TLeaveCase {
    const char* Name;
    TKey Key;
    bool FromAbove = false;
};

const TLeaveCase kLeaveCases[] = {
    {"PageDownOutOfCell", TKey{Qt::Key_PageDown}},
    {"PageUpOutOfCell", TKey{Qt::Key_PageUp}},
    {"DownOutOfCell", TKey{Qt::Key_Down}},
    {"DownIntoTable", TKey{Qt::Key_Down}, true},
};

// The caret where the case starts, untimed: in the result of the middle row,
// or in the line above the table with no cell open.
void PlaceForLeave(TOurLogCell& T, const TLeaveCase& C) {
    if (!C.FromAbove) {
        T.SetCaret(1, false);
        return;
    }
    if (T.E.Table) T.E.Table->CloseInplaceEditor(true);
    T.E.Edit->SetSelectionBounds(0, 5, 0, 5);
    T.E.Edit->ScrollTo(0);
    T.E.Edit->SetFocus();
    Settle();
}

// The key with the events it leaves posted (the caret's way out of a cell,
// the repaints) until the view is painted. Named for bench/callgrind_keys,
// which counts its instructions as a measured key's.
[[gnu::noinline]] void PressMeasuredKeyAndSettle(TKeyTarget& T, const TKey& K) {
    ++g_measuredKeys;
    PressKey(T, true, K);
    Settle();
}

void RunLeaveCase(benchmark::State& state, TOurLogCell& T, const TLeaveCase& C) {
    // Once untimed, so that nothing done only for a first key is measured.
    PlaceForLeave(T, C);
    PressKey(T, true, C.Key);
    Settle();
    TPaintedArea counter(T.PaintedWidgets());
    int64_t painted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        PlaceForLeave(T, C);
        counter.Pixels = 0;
        state.ResumeTiming();
        PressMeasuredKeyAndSettle(T, C.Key);
        painted += counter.Pixels;
    }
    const double keys = static_cast<double>(state.iterations());
    state.counters["per key"] =
        benchmark::Counter(keys, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["px/key"] = static_cast<double>(painted) / std::max(1.0, keys);
}

void RegisterLeaveKeys() {
    for (const int rows : kLeaveRowCounts)
        for (const TLeaveCase& c : kLeaveCases) {
            const std::string name =
                std::string("Events/Editor/LogTable/Fixed/") + std::to_string(rows) + "/" + c.Name;
            benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& s) {
                auto* t = dynamic_cast<TOurLogCell*>(LogTargetFor(true, rows, true, kLogResult.Col));
                if (!t || !t->E.Table) {
                    s.SkipWithError("no table");
                    return;
                }
                RunLeaveCase(s, *t, c);
            })->Unit(benchmark::kMicrosecond);
        }
}

// ---- the mouse over the table in the editor (its first screen shown)

struct TTableMouse : TTableEditor {
    int Left = 0, Top = 0; // the table's corner in the editor's client area
    TTableMouse() {
        Edit->SetSelectionBounds(0, 1, 0, 1);
        Edit->ScrollTo(0);
        if (Table) Edit->EditData()->GetItemClientCoords(Edit->EditData()->GetItemNo(Table), Left, Top);
    }
    // Where vertical border Index lies in the table, -1 when nowhere.
    int Border(int Index) const {
        for (int x = 0; Table && x <= Table->GetWidth(); ++x) {
            int s = 0, p = 0;
            if (Table->GetVBorderAt(x, s, p) == Index) return p;
        }
        return -1;
    }
    // A mouse event; Held: the left button is down (moves of a drag).
    void Send(QEvent::Type Type, int X, int Y, bool Held) {
        QWidget* w = Edit->ClientWidget();
        QMouseEvent e(Type, QPointF(X, Y), w->mapToGlobal(QPointF(X, Y)),
                      Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      Held ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
};

// The pointer moved over the first screen of the table, cells and borders:
// the cursor is chosen for every move.
void BM_TableHover(benchmark::State& state) {
    TTableMouse m;
    if (!m.Table) {
        state.SkipWithError("no table");
        return;
    }
    int moves = 0;
    for (auto _ : state)
        for (int y = m.Top; y < kHeight; y += 7)
            for (int x = m.Left; x < m.Left + m.Table->GetWidth(); x += 23) {
                m.Send(QEvent::MouseMove, x, y, false);
                ++moves;
            }
    state.counters["moves"] = benchmark::Counter(moves, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TableHover)->Unit(benchmark::kMillisecond);

// A column border dragged 40 pixels left in 10 moves and dropped (the
// column's 1,000 cells sized as one undo step, the table laid out again),
// then undone; and the drop alone, the border going left and back in turn.
void BM_TableColumnDrag(benchmark::State& state) {
    TTableMouse m;
    const bool undo = state.range(0) != 0;
    const int border = m.Border(1);
    if (border < 0) {
        state.SkipWithError("no border");
        return;
    }
    const int x = m.Left + border, y = m.Top + m.Table->GetRowTop(1) + 5;
    const int w0 = m.Table->FormattingInfo.ColWidths[0];
    bool left = true;
    for (auto _ : state) {
        const int from = left ? x : x - 40, to = left ? x - 40 : x;
        m.Send(QEvent::MouseButtonPress, from, y, true);
        for (int k = 1; k <= 10; ++k)
            m.Send(QEvent::MouseMove, from + (to - from) * k / 10, y, true);
        m.Send(QEvent::MouseButtonRelease, to, y, false);
        if (undo)
            m.Edit->Undo();
        else
            left = !left;
    }
    if (undo && m.Table->FormattingInfo.ColWidths[0] != w0) state.SkipWithError("the drag was not undone");
}
BENCHMARK(BM_TableColumnDrag)->ArgName("undo")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// For reference: the editor laying the table out once.
void BM_TableEditorLayout(benchmark::State& state) {
    TTableEditor e;
    if (!e.Table) {
        state.SkipWithError("no table");
        return;
    }
    for (auto _ : state) {
        e.Table->Changed();
        e.Edit->Format();
    }
}
BENCHMARK(BM_TableEditorLayout)->Unit(benchmark::kMillisecond);

void BM_QTextDocumentTable(benchmark::State& state) {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QTextDocument doc;
        doc.setDefaultFont(QFont(QStringLiteral("Arial"), 10));
        doc.setHtml(TableHTML());
        doc.setTextWidth(kWidth);
        benchmark::DoNotOptimize(doc.size());
        img.fill(Qt::white);
        QPainter p(&img);
        doc.drawContents(&p, QRectF(0, 0, kWidth, kHeight));
    }
}
BENCHMARK(BM_QTextDocumentTable)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks<QApplication>(argc, argv, [] {
        RegisterCellKeys();
        RegisterLogKeys();
        RegisterLeaveKeys();
    });
}

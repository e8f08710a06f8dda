// Editing in the middle of a 1,000-paragraph document in the editor control,
// each figure covering all the work until the screen is up to date (layout
// and painting of the control): typing one character, Enter, Backspace;
// then pasting about 100 KB of RTF and undoing that paste. Beside them, Qt's
// own text editor doing the same edits on the same text.
#include "BenchMain.h"
#include "platform/Fonts.h"
#include "platform/Forms.h"
#include "platform/Keys.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPStyleInfos.h"

#include <QApplication>
#include <QImage>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace {

std::string Paragraph(int i) {
    return "Absatz " + std::to_string(i) +
           ": Die Schülerin rechnet 345 + 278 schriftlich und trägt das Ergebnis in das Logbuch ein.";
}

struct TEditorDoc {
    TRPStyle Style;
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TRichPadEdit* Edit;
    QImage Screen{700, 500, QImage::Format_RGB32};

    TEditorDoc() {
        Form->SetBounds(0, 0, 760, 560);
        Edit = new TRichPadEdit(Form.get());
        Edit->SetParent(Form.get());
        Edit->SetBounds(0, 0, 700, 500);
        Edit->SetStyle(&Style);
        Edit->Clear();
        for (int i = 0; i < 1000; ++i)
            Edit->AddText(Paragraph(i), 0, 0);
        Edit->Format();
        Edit->SetUndoLimit(0);
        // The caret in the middle of paragraph 500, scrolled into view.
        Edit->EditData()->SetCaretItemPos(500, 40);
        Show();
    }
    ~TEditorDoc() {
        delete Edit;
        Form.reset();
    }
    void Show() { Edit->PaintTo(Screen); }
};

void BM_EditorTypeCharacter(benchmark::State& state) {
    TEditorDoc d;
    for (auto _ : state) {
        d.Edit->SendChar(u'x');
        d.Show();
    }
}
BENCHMARK(BM_EditorTypeCharacter)->Unit(benchmark::kMicrosecond);

void BM_EditorEnterThenBackspace(benchmark::State& state) {
    TEditorDoc d;
    for (auto _ : state) {
        d.Edit->SendKey(VK_RETURN);
        d.Show();
        d.Edit->SendKey(VK_BACK);
        d.Show();
    }
    state.counters["per key (us)"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 2,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_EditorEnterThenBackspace)->Unit(benchmark::kMicrosecond);

// About 100 KB of RTF as a word processor puts it on the clipboard.
const QByteArray& PastedRTF() {
    static const QByteArray rtf = [] {
        std::string s =
            "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
            "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\\f0\\fs24 ";
        for (int i = 0; s.size() < 100 * 1024; ++i)
            s += "\\pard\\li" + std::to_string((i % 3) * 360) + " Zeile " + std::to_string(i) +
                 " mit {\\b fettem} und {\\cf1 rotem} Text aus einem Textprogramm\\par\n";
        s += "}";
        return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
    }();
    return rtf;
}

void BM_EditorPasteRTF100K(benchmark::State& state) {
    TEditorDoc d;
    d.Edit->SetUndoLimit(-1);
    QMimeData data;
    data.setData(QStringLiteral("text/rtf"), PastedRTF());
    for (auto _ : state) {
        d.Edit->PasteMimeData(data);
        d.Show();
        state.PauseTiming();
        d.Edit->Undo();
        d.Show();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * PastedRTF().size());
}
BENCHMARK(BM_EditorPasteRTF100K)->Unit(benchmark::kMillisecond);

void BM_EditorUndoPasteRTF100K(benchmark::State& state) {
    TEditorDoc d;
    d.Edit->SetUndoLimit(-1);
    QMimeData data;
    data.setData(QStringLiteral("text/rtf"), PastedRTF());
    for (auto _ : state) {
        state.PauseTiming();
        d.Edit->PasteMimeData(data);
        d.Show();
        state.ResumeTiming();
        d.Edit->Undo();
        d.Show();
    }
}
BENCHMARK(BM_EditorUndoPasteRTF100K)->Unit(benchmark::kMillisecond);

// ---- Qt's text editor on the same text, as a reference.

struct TQtDoc {
    QTextEdit Edit;
    QImage Screen{700, 500, QImage::Format_RGB32};
    QTextCursor Cursor;
    TQtDoc() {
        Edit.resize(700, 500);
        QString text;
        for (int i = 0; i < 1000; ++i)
            text += QString::fromUtf8(Paragraph(i)) + QLatin1Char('\n');
        Edit.setPlainText(text);
        Edit.document()->setUndoRedoEnabled(false);
        Cursor = QTextCursor(Edit.document()->findBlockByNumber(500));
        Cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 40);
        Edit.setTextCursor(Cursor);
        Edit.ensureCursorVisible();
        Show();
    }
    void Show() { Edit.viewport()->render(&Screen); }
};

void BM_QtTextEditTypeCharacter(benchmark::State& state) {
    TQtDoc d;
    for (auto _ : state) {
        d.Cursor.insertText(QStringLiteral("x"));
        d.Show();
    }
}
BENCHMARK(BM_QtTextEditTypeCharacter)->Unit(benchmark::kMicrosecond);

void BM_QtTextEditEnterThenBackspace(benchmark::State& state) {
    TQtDoc d;
    for (auto _ : state) {
        d.Cursor.insertBlock();
        d.Show();
        d.Cursor.deletePreviousChar();
        d.Show();
    }
}
BENCHMARK(BM_QtTextEditEnterThenBackspace)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks<QApplication>(argc, argv, [] { RegisterProgramFonts(); });
}

// Editing in the middle of a long document in the editor control, each figure
// covering all the work until the screen is up to date, beside Qt's own text
// editor doing the same edits on the same text in the same run (KeyBench.h
// says how keys are sent and painted): at 40 paragraphs (a log book of one
// and a half screens, beside a vertical bar), 1,000 and 10,000 paragraphs, the
// caret in the middle paragraph, a character typed inside a word, a word
// typed with its blank (five keys), a character typed into a word wider than
// the window, Enter, Backspace and Delete. Then a word growing key by key far
// past the window (400 letters typed as key events, the cost of a key by
// stretch of the word). Last, pasting about 100 KB of RTF and undoing that
// paste.
#include "BenchMain.h"
#include "KeyBench.h"
#include "platform/CodePage.h"
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
#include <array>
#include <benchmark/benchmark.h>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

std::string Paragraph(int i) {
    return "Absatz " + std::to_string(i) +
           ": Die Schülerin rechnet 345 + 278 schriftlich und trägt das Ergebnis in das Logbuch ein.";
}

// A word of 100 letters, wider than the window, put into the middle paragraph
// of the documents of the wide-word case (after "Absatz n: ").
const std::string& WideWord() {
    static const std::string w(100, 'w');
    return w;
}

// Where the cases stand in the middle paragraph of N: inside "Schülerin",
// before the blank after "+", inside the wide word.
std::vector<TKeyCase> CasesFor(int N) {
    const QString p = QString::fromStdString(Paragraph(N / 2));
    const int word = static_cast<int>(p.indexOf(QStringLiteral("Schülerin"))) + 1;
    const int blank = static_cast<int>(p.indexOf(QStringLiteral(" 278"))) + 1;
    const int wide = static_cast<int>(p.indexOf(QStringLiteral(": "))) + 3 + 50;
    return KeyCases(word, u'h', u'\u00FC', blank, wide);
}

// The document: N paragraphs; the wide one holds the wide word in its middle paragraph.
std::string Text(int N, bool Wide, int I) {
    std::string p = Paragraph(I);
    if (Wide && I == N / 2) p.insert(p.find(": ") + 2, WideWord() + " ");
    return p;
}

class TOurEditor : public TOurEditorTarget {
public:
    TOurEditor(int N, bool Wide) : Mid(N / 2) {
        Edit->SetStyle(&Style);
        Edit->Clear();
        for (int i = 0; i < N; ++i)
            Edit->AddText(CodePage::ToCp1252(QString::fromStdString(Text(N, Wide, i))), 0, 0);
        Edit->Format();
        Edit->SetUndoLimit(0);
    }
    void SetCaret(int Offs, bool) override {
        Edit->EditData()->SetCaretItemPos(Mid, Offs);
        Settle();
    }

    const int Mid;
};

class TQtEditor : public TQtKeyTarget {
public:
    TQtEditor(int N, bool Wide) : TQtKeyTarget(700, 500), Mid(N / 2) {
        QString text;
        for (int i = 0; i < N; ++i)
            text += QString::fromStdString(Text(N, Wide, i)) + QLatin1Char('\n');
        Edit.setPlainText(text);
        Edit.document()->setUndoRedoEnabled(false);
    }
    void SetCaret(int Offs, bool) override {
        PlaceCaret(QTextCursor(Edit.document()->findBlockByNumber(Mid)), Offs);
    }

    const int Mid;
};

// One editor per kind, size and document, made when first needed and kept
// for the whole run; only the one measured is shown.
TKeyTarget* TargetFor(bool Ours, int N, bool Wide) {
    return ShowAlone(KeptTarget(std::make_tuple(Ours, N, Wide), [&]() -> std::unique_ptr<TKeyTarget> {
        if (Ours) return std::make_unique<TOurEditor>(N, Wide);
        return std::make_unique<TQtEditor>(N, Wide);
    }));
}

// ---- a word growing past the window

constexpr int kGrowKeys = 400, kGrowStretch = 50;

// 400 letters typed one by one as key events into a new word after the "+"
// of the middle paragraph of 1,000, with the repaint of each; put back
// (untimed) after every run. "us 1-50" and so on: the cost of a key while the
// word has that many letters; "flat" the last stretch over the second, which
// stays near 1 when a key costs the same however long the word is.
void RunGrowingWord(benchmark::State& state, bool Ours) {
    using Clock = std::chrono::steady_clock;
    const int n = 1000;
    TKeyTarget& t = *TargetFor(Ours, n, false);
    const QString p = QString::fromStdString(Paragraph(n / 2));
    t.SetCaret(static_cast<int>(p.indexOf(QStringLiteral(" 278"))) + 1, false);
    std::array<double, kGrowKeys / kGrowStretch> spent{};
    for (auto _ : state) {
        for (int k = 0; k < kGrowKeys; ++k) {
            const auto t0 = Clock::now();
            PressMeasuredKey(t, true, Char(u'w'));
            spent[static_cast<size_t>(k / kGrowStretch)] +=
                std::chrono::duration<double>(Clock::now() - t0).count();
        }
        state.PauseTiming();
        for (int k = 0; k < kGrowKeys; ++k)
            PressKey(t, true, kBack);
        state.ResumeTiming();
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["per key"] =
        benchmark::Counter(runs * kGrowKeys, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    for (const size_t i : {size_t{0}, size_t{1}, size_t{4}, spent.size() - 1}) {
        const std::string name =
            "us " + std::to_string(i * kGrowStretch + 1) + "-" + std::to_string((i + 1) * kGrowStretch);
        state.counters[name] = spent[i] * 1e6 / (runs * kGrowStretch);
    }
    state.counters["flat"] = spent.back() / std::max(spent[1], 1e-12);
}

// ---- pasting 100 KB of RTF

// The editor of 1,000 paragraphs with undo, the caret in the middle of paragraph 500.
struct TEditorDoc : TOurEditor {
    TEditorDoc() : TOurEditor(1000, false) {
        Edit->SetUndoLimit(-1);
        Edit->EditData()->SetCaretItemPos(500, 40);
        Show();
    }
    void Show() { PaintAll(); }
};

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

void BM_EditorUndoPasteRTF100K(benchmark::State& state) {
    TEditorDoc d;
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

// Names like "Events/Editor/TypeInWord/1000" and "Events/QTextEdit/TypeInWord/1000",
// one beside the other.
void RegisterAll() {
    for (const bool events : {true, false})
        for (const int n : {40, 1000, 10000})
            for (const TKeyCase& c : CasesFor(n))
                for (const bool ours : {true, false}) {
                    const std::string name = std::string(events ? "Events/" : "Direct/") +
                                             (ours ? "Editor/" : "QTextEdit/") + c.Name + "/" +
                                             std::to_string(n);
                    benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& s) {
                        RunKeyCase(s, *TargetFor(ours, n, c.Wide), events, c);
                    })->Unit(benchmark::kMicrosecond);
                }
    for (const bool ours : {true, false})
        benchmark::RegisterBenchmark(ours ? "Events/Editor/GrowWordPastWindow/1000"
                                          : "Events/QTextEdit/GrowWordPastWindow/1000",
                                     [=](benchmark::State& s) { RunGrowingWord(s, ours); })
            ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_EditorPasteRTF100K", BM_EditorPasteRTF100K)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_EditorUndoPasteRTF100K", BM_EditorUndoPasteRTF100K)
        ->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks<QApplication>(argc, argv, [] {
        RegisterProgramFonts();
        RegisterAll();
    });
}

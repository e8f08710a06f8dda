// A letter typed at the end of a document in an editor of 700 x 500 pixels
// (KeyBench.h says how keys are sent and painted), where the vertical bar may
// come or go after every key: short paragraphs after one paragraph of
// 5,000, 20,000 and 80,000 runs of text (about 55 characters each, two text
// styles taking turns so that they stay separate items) or after a table of
// 20,000 rows of free columns, and a document of paragraphs of two lines just
// taller than the view, beside the bar and without it. What deciding
// the bar costs does not grow with the document: a document far taller than
// the view keeps its bar after a look at about a screen of its lines, so a
// key costs the same after 5,000 runs as after 80,000.
#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

#include "BenchMain.h"
#include "KeyBench.h"
#include "platform/Fonts.h"
#include "platform/Forms.h"
#include "richtext/edit/RPEditData.h"
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPStyleInfos.h"

namespace {

enum class TDoc { Paragraph, Table, NearBar };

const char* const kDocNames[] = {"Paragraph", "Table", "NearBar"};

class TBarEditor : public TOurEditorTarget {
public:
    TBarEditor(TDoc Kind, int N) : TOurEditorTarget({"Arial", "Times New Roman"}) {
        Edit->SetStyle(&Style);
        Edit->Clear();
        TCustomRPData* d = Edit->RPData();
        switch (Kind) {
        case TDoc::Paragraph:
            for (int i = 0; i < N; ++i)
                d->AddText("Lauf " + std::to_string(i) +
                               ": die Zahlen stehen genau untereinander, Einer unter Einer. ",
                           i % 2, i == 0 ? 0 : -1);
            break;
        case TDoc::Table: {
            d->AddNL("Tabelle", 0, 0);
            auto t = TRPTableItemInfo::CreateEx(N, 3, d);
            for (int r = 0; r < N; ++r)
                for (int c = 0; c < 3; ++c) {
                    TRPTableCellData* cell = t->GetCell(r, c);
                    cell->Clear();
                    cell->AddNL("Zeile " + std::to_string(r) + ", Spalte " + std::to_string(c), 0, 0);
                }
            d->AddItem(std::string(), std::move(t));
            break;
        }
        case TDoc::NearBar:
            // Paragraphs of two lines until the document is just taller than the view.
            for (int i = 0; i < 200; ++i) {
                d->AddNL("Absatz " + std::to_string(i) +
                             ": Die Schuelerin rechnet 345 + 278 schriftlich und traegt das Ergebnis in das "
                             "Logbuch ein, dann prueft sie es mit der Probe 623 - 278 und schreibt es ab.",
                         0, 0);
                Edit->Format();
                if (Edit->RPData()->DocumentHeight > Edit->ClientHeight()) break;
            }
            break;
        }
        // Short paragraphs end the document: the edit lays out the one typed
        // in and the one before it, and paints no line of what stands before.
        for (const char* line : {"Noch eine Zeile", "Und noch eine", "Vorletzte Zeile", "Ende"})
            d->AddNL(line, 0, 0);
        Edit->Format();
        Edit->SetUndoLimit(0);
        Last = d->GetItemCount() - 1;
    }
    void SetCaret(int, bool) override {
        // After "Ende", the document's last letter.
        Edit->EditData()->SetCaretItemPos(Last, 5);
        Settle();
    }

    int Last = 0;
};

// One editor per document, made when first needed and kept for the whole
// run; only the one measured is shown.
TKeyTarget* TargetFor(TDoc Kind, int N) {
    return ShowAlone(
        KeptTarget(std::make_pair(Kind, N), [&] { return std::make_unique<TBarEditor>(Kind, N); }));
}

// Names like "Events/Editor/TypeAtEnd/Paragraph/20000".
void RegisterAll() {
    const TKeyCase typed{"TypeAtEnd", 0, {Char(u'x')}, {kBack}};
    const struct {
        TDoc Kind;
        int N;
    } docs[] = {{TDoc::Paragraph, 5000},
                {TDoc::Paragraph, 20000},
                {TDoc::Paragraph, 80000},
                {TDoc::Table, 20000},
                {TDoc::NearBar, 0}};
    for (const bool events : {true, false})
        for (const auto& doc : docs) {
            std::string name = std::string(events ? "Events/" : "Direct/") + "Editor/" + typed.Name + "/" +
                               kDocNames[static_cast<int>(doc.Kind)];
            if (doc.N > 0) name += "/" + std::to_string(doc.N);
            benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& s) {
                RunKeyCase(s, *TargetFor(doc.Kind, doc.N), events, typed);
            })->Unit(benchmark::kMicrosecond);
        }
}

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks<QApplication>(argc, argv, [] {
        RegisterProgramFonts();
        RegisterAll();
    });
}

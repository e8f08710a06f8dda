// Keys typed into a short paragraph that follows a long one, in the editor
// control (700 x 500, KeyBench.h says how keys are sent and painted): after
// a paragraph of N runs of text (two text styles taking turns, so that they
// stay separate items) at N = 5,000, 20,000 and 80,000, and after a table of
// 20,000 rows of two cells. For comparison the same keys after a paragraph
// of one sentence, after one of 50 runs, whose last line is the same as that
// of the long paragraphs, and after a table of 20 rows, so that the same
// pixels are painted around the edit. One more short paragraph follows the
// edited one. A key changes only its own paragraph: it costs the same
// whatever stands above it (bench/callgrind_keys counts the instructions
// per key).
#include "BenchMain.h"
#include "KeyBench.h"
#include "platform/Fonts.h"
#include "platform/Forms.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPStyleInfos.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// What stands above the edited paragraph.
enum class TAbove { Sentence, Runs, Table };

const std::string kEdited = "Die Schuelerin rechnet 345 + 278 schriftlich und traegt das Ergebnis ein.";

// Inside "Schuelerin", before the blank after "+".
std::vector<TKeyCase> Cases() {
    const int word = static_cast<int>(kEdited.find("Schuelerin")) + 1;
    const int blank = static_cast<int>(kEdited.find(" 278")) + 1;
    std::vector<TKeyCase> cases;
    for (TKeyCase& c : KeyCases(word, u'h', u'u', blank, 0))
        if (!c.Wide) cases.push_back(std::move(c));
    return cases;
}

// The RTF of a table of Rows rows of two cells with a few words each.
std::string TableRTF(int Rows) {
    std::string s = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    for (int r = 0; r < Rows; ++r) {
        s += "\\trowd\\trgaph60\\clbrdrl\\brdrs\\clbrdrt\\brdrs\\clbrdrr\\brdrs\\clbrdrb\\brdrs\\cellx3000"
             "\\clbrdrl\\brdrs\\clbrdrt\\brdrs\\clbrdrr\\brdrs\\clbrdrb\\brdrs\\cellx6000\\pard\\intbl Tag " +
             std::to_string(r) + "\\cell " + std::to_string(r * 7 % 1000) +
             " Aufgaben gerechnet\\cell \\row\n";
    }
    return s + "}";
}

class TAfterEditor : public TOurEditorTarget {
public:
    TAfterEditor(TAbove Above, int N) : TOurEditorTarget({"Arial", "Times New Roman"}) {
        // Unused here, as in the log book's styles: a framed paragraph style.
        TParaInfo* framed = Style.ParaStyles().Add();
        framed->Border.Style = rpbSingle;
        framed->Border.BorderOffsets.SetAll(5);
        Edit->SetStyle(&Style);
        Edit->Clear();
        switch (Above) {
        case TAbove::Sentence:
            Edit->AddText("Die Zahlen stehen genau untereinander, Einer unter Einer.", 0, 0);
            break;
        case TAbove::Runs:
            for (int i = 0; i < N; ++i)
                Edit->AddText(
                    "Die Zahlen stehen genau untereinander, Einer unter Einer, Zehner unter Zehner. ", i % 2,
                    i == 0 ? 0 : -1);
            break;
        case TAbove::Table:
            Edit->Format();
            Edit->InsertRTFFromStream(TableRTF(N));
            break;
        }
        Edited = Edit->ItemCount();
        Edit->AddText(kEdited, 0, 0);
        Edit->AddText("Ende.", 0, 0);
        Edit->Format();
        Edit->SetUndoLimit(0);
    }
    void SetCaret(int Offs, bool) override {
        Edit->EditData()->SetCaretItemPos(Edited, Offs);
        Settle();
    }

    int Edited = 0;
};

// One editor per document, made when first needed and kept for the whole
// run; only the one measured is shown.
TKeyTarget* TargetFor(TAbove Above, int N) {
    return ShowAlone(
        KeptTarget(std::make_pair(Above, N), [&] { return std::make_unique<TAfterEditor>(Above, N); }));
}

// Names like "Events/AfterRuns/TypeInWord/20000" beside
// "Events/AfterRuns/TypeInWord/50" and "Events/AfterSentence/TypeInWord".
void RegisterAll() {
    const std::pair<TAbove, int> docs[] = {{TAbove::Sentence, 0}, {TAbove::Runs, 50},    {TAbove::Runs, 5000},
                                           {TAbove::Runs, 20000}, {TAbove::Runs, 80000}, {TAbove::Table, 20},
                                           {TAbove::Table, 20000}};
    for (const TKeyCase& c : Cases())
        for (const auto& [above, n] : docs) {
            const std::string name = std::string("Events/") +
                                     (above == TAbove::Sentence ? "AfterSentence/"
                                      : above == TAbove::Runs   ? "AfterRuns/"
                                                                : "AfterTable/") +
                                     c.Name + (above == TAbove::Sentence ? "" : "/" + std::to_string(n));
            benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& s) {
                RunKeyCase(s, *TargetFor(above, n), true, c);
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

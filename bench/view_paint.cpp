// Painting a screen of a view that shows one long paragraph: N runs of text
// (about 55 characters each, two text styles taking turns so that they stay
// separate items) in one paragraph, at N = 5,000, 20,000 and 80,000, the
// view 600 x 800 pixels. The first and the last screen are painted through
// the view's own paint (buffered, background and document), once without and
// once with a background and a border around the paragraph, and with lines
// spaced at 100, 75 and 50 percent (closer lines overlap the line above). A
// screen costs what it shows: the figures do not grow with N, and the last
// screen costs what the first does. The last screen's cases paint the first
// screen beside it in every iteration: "last/first" is their ratio.
#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "BenchMain.h"
#include "platform/Forms.h"
#include "richtext/model/RPStyle.h"
#include "richtext/view/RichPad.h"

namespace {

struct TLongParagraphView {
    TRPStyle Style;
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TRichPad* View = nullptr;
    QImage Screen;

    TLongParagraphView(int Runs, bool Framed, int Spacing) {
        Style.TextStyles().Clear();
        for (const char* family : {"Arial", "Times New Roman"}) {
            TFontInfo* f = Style.TextStyles().Add();
            f->FontName = family;
            f->Size = 10;
        }
        TParaInfo* p = Style.ParaStyles().GetItem(0);
        if (Framed) {
            p->Background.Color = clYellow;
            p->Border.Style = rpbSingle;
            p->Border.BorderOffsets.SetAll(4);
        }
        p->LineSpacingType = rplsPercent;
        p->LineSpacing = Spacing;
        View = new TRichPad(Form.get());
        View->SetParent(Form.get());
        View->SetBounds(0, 0, 600, 800);
        View->SetStyle(&Style);
        for (int i = 0; i < Runs; ++i) {
            const std::string n = std::to_string(i);
            View->AddText("Lauf " + n + ": die Zahlen stehen genau untereinander, Einer unter Einer. ", i % 2,
                          i == 0 ? 0 : -1);
        }
        View->Format();
    }
    // Seconds for painting the screen at Y.
    double PaintScreenAt(int Y) {
        View->ScrollToY(Y, false);
        const auto t0 = std::chrono::steady_clock::now();
        View->PaintTo(Screen);
        benchmark::DoNotOptimize(Screen.constBits());
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
};

// One view per size and look, made once: formatting 80,000 runs takes longer than painting.
TLongParagraphView& ViewOf(int Runs, bool Framed, int Spacing) {
    static std::map<std::tuple<int, bool, int>, std::unique_ptr<TLongParagraphView>> views;
    auto& v = views[{Runs, Framed, Spacing}];
    if (!v) v = std::make_unique<TLongParagraphView>(Runs, Framed, Spacing);
    return *v;
}

// Args: runs, 0 the first screen / 1 the last, 1 with background and border, line spacing in percent.
void BM_PaintLongParagraphScreen(benchmark::State& state) {
    const int runs = static_cast<int>(state.range(0));
    const bool last = state.range(1) != 0, framed = state.range(2) != 0;
    TLongParagraphView& v = ViewOf(runs, framed, static_cast<int>(state.range(3)));
    const int end = v.View->GetDocumentHeight();
    if (last) {
        RunSideBySide(
            state, [&] { return v.PaintScreenAt(end); }, [&] { return v.PaintScreenAt(0); }, "last", "first",
            "screen", 1);
    } else {
        for (auto _ : state)
            state.SetIterationTime(v.PaintScreenAt(0));
    }
    state.counters["draw_items"] = v.View->RPData()->DrawItemCount();
    state.counters["height_px"] = v.View->GetDocumentHeight();
}
BENCHMARK(BM_PaintLongParagraphScreen)
    ->ArgNames({"runs", "last", "framed", "spacing"})
    ->ArgsProduct({{5000, 20000, 80000}, {0, 1}, {0}, {100, 75, 50}})
    ->Args({20000, 0, 1, 100})
    ->Args({20000, 1, 1, 100})
    ->Args({20000, 0, 1, 50})
    ->Args({20000, 1, 1, 50})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks<QApplication>(argc, argv);
}

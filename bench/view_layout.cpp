// The rich-text layout: formatting a document of 1,000 paragraphs (text of
// the RTF corpus in four text styles) at 600 pixels and painting its first
// screen, beside QTextDocument laying out and painting the same text at the
// same width; partial reformatting after one typed character in the middle of
// that document; and loading and showing a 200-page RTF document (import,
// format, first paint).
#include <QApplication>
#include <QBuffer>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>
#include <vector>

#include "BenchMain.h"
#include "ViewBenchDocument.h"
#include "richtext/model/RPUnicode.h"

namespace {

// Measured on a canvas of its own, with margins of 5 pixels.
class TBenchDoc : public TViewBenchDoc {
public:
    TBenchDoc() : TViewBenchDoc(1, 1, 5, false) {}
};

// The four text styles of the comparison, as (family, pixel size, bold, italic).
struct TStyleDef {
    const char* Family;
    int Points;
    bool Bold, Italic;
};
const TStyleDef kStyles[] = {{"Arial", 10, false, false},
                             {"Times New Roman", 12, false, false},
                             {"Arial", 14, true, false},
                             {"Courier New", 10, false, true}};

void SetUpStyles(TRPStyle& S) {
    S.TextStyles().Clear();
    for (const TStyleDef& d : kStyles) {
        TFontInfo* f = S.TextStyles().Add();
        f->FontName = d.Family;
        f->Size = d.Points;
        f->Style = static_cast<TRPFontStyleSet>((d.Bold ? RPFontStyle::Bold : 0) |
                                                (d.Italic ? RPFontStyle::Italic : 0));
    }
}

// Sentences of the corpus's plain text, read once.
const std::vector<std::string>& CorpusSentences() {
    static const std::vector<std::string> sentences = [] {
        std::vector<std::string> out;
        const QString root = qEnvironmentVariable("PRAVOLIN_CORPUS").isEmpty()
                                 ? QStringLiteral(PRAVOLIN_SOURCE_DIR "/../shared/corpus/rtf")
                                 : qEnvironmentVariable("PRAVOLIN_CORPUS") + QStringLiteral("/rtf");
        QDirIterator it(root, {QStringLiteral("*.rtf")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext() && out.size() < 4000) {
            TBenchDoc d;
            d.LoadRTF(it.next().toStdString());
            for (int i = 0; i < d.GetItemCount(); ++i) {
                if (d.GetItemStyle(i) < 0) continue;
                std::string t = d.GetItemText(i);
                if (d.GetItemOptions(i) & rpioUnicode) t = UnicodeTextToAnsi(1252, t);
                // Sentences of words as a page has them (no long codes or addresses).
                bool plain = t.size() >= 20;
                size_t word = 0;
                for (char c : t) {
                    const auto u = static_cast<unsigned char>(c);
                    if (u < 32 || c == '{' || c == '}' || c == '\\') plain = false;
                    word = c == ' ' ? 0 : word + 1;
                    if (word > 20) plain = false;
                }
                if (plain) out.push_back(t);
            }
        }
        if (out.empty())
            out.push_back("Die Zahlen werden genau untereinander geschrieben, Einer unter Einer.");
        return out;
    }();
    return sentences;
}

// Paragraph P of the comparison text: three to six sentences.
std::string ParagraphText(int P) {
    const auto& s = CorpusSentences();
    std::string t;
    for (int k = 0; k < 3 + P % 4; ++k) {
        if (!t.empty()) t += ' ';
        t += s[static_cast<size_t>(P * 7 + k) % s.size()];
    }
    return t;
}

void BuildOurs(TBenchDoc& D, int Paragraphs = 1000) {
    SetUpStyles(D.Style);
    for (int p = 0; p < Paragraphs; ++p) {
        // The 1,000 texts repeat; the middle paragraph has the same text at any length.
        const std::string text = ParagraphText(((p - Paragraphs / 2 + 500) % 1000 + 1000) % 1000);
        // Each paragraph in two styles: a short lead and the rest.
        const size_t cut = std::min<size_t>(text.size(), 12);
        D.AddText(text.substr(0, cut), p % 4, 0);
        D.AddText(text.substr(cut), (p + 1) % 4, -1);
    }
}

void PaintFirstScreen(TBenchDoc& D) {
    static QImage screen(kWidth, kHeight, QImage::Format_RGB32);
    screen.fill(Qt::white);
    TCanvas c(&screen);
    D.PaintDocument(c, Rect(0, 0, kWidth, kHeight));
}

void BM_FormatAndPaint_Ours(benchmark::State& state) {
    TBenchDoc d;
    BuildOurs(d);
    for (auto _ : state) {
        d.Format(false, false, false, 0, nullptr, false, false);
        PaintFirstScreen(d);
        benchmark::DoNotOptimize(d.DocumentHeight);
    }
    state.counters["draw_items"] = d.DrawItemCount();
    state.counters["height_px"] = d.DocumentHeight;
}
BENCHMARK(BM_FormatAndPaint_Ours)->Unit(benchmark::kMillisecond);

void BM_FormatAndPaint_QTextDocument(benchmark::State& state) {
    QTextDocument doc;
    doc.setDocumentMargin(5);
    QTextCursor cur(&doc);
    for (int p = 0; p < 1000; ++p) {
        const QString text = QString::fromLatin1(ParagraphText(p));
        const qsizetype cut = std::min<qsizetype>(text.size(), 12);
        if (p > 0) cur.insertBlock();
        for (int part = 0; part < 2; ++part) {
            const TStyleDef& d = kStyles[(p + part) % 4];
            QTextCharFormat f;
            QFont font(QString::fromLatin1(d.Family));
            font.setPixelSize(d.Points * 96 / 72);
            font.setBold(d.Bold);
            font.setItalic(d.Italic);
            f.setFont(font);
            cur.insertText(part == 0 ? text.left(cut) : text.mid(cut), f);
        }
    }
    QImage screen(kWidth, kHeight, QImage::Format_RGB32);
    bool odd = false;
    for (auto _ : state) {
        // A new width each time forces one whole new layout, as a format does.
        odd = !odd;
        doc.setTextWidth(odd ? kWidth : kWidth + 1);
        benchmark::DoNotOptimize(doc.size());
        screen.fill(Qt::white);
        QPainter p(&screen);
        doc.drawContents(&p, QRectF(0, 0, kWidth, kHeight));
    }
    state.counters["height_px"] = doc.size().height();
}
BENCHMARK(BM_FormatAndPaint_QTextDocument)->Unit(benchmark::kMillisecond);

// Typing happens in an editor, whose document builds jump areas on demand.
void BM_ReformatAfterKeystroke(benchmark::State& state) {
    TBenchDoc d;
    d.Flags = rpflWrapDropsSpace | rpflMainDocument;
    BuildOurs(d, static_cast<int>(state.range(0)));
    d.Format(false, false, false, 0, nullptr, false, false);
    const int item = d.GetItemCount() / 2 + 1; // the long part of the middle paragraph
    const int d0 = d.GetFirstDrawItemOfItem(item);
    bool insert = true;
    for (auto _ : state) {
        // Type a character, then take it away again: two partial reformats.
        std::string& text = d.Items->Text(item);
        if (insert)
            text.insert(text.size() / 2, 1, 'x');
        else
            text.erase(text.size() / 2, 1);
        insert = !insert;
        d.ReformatDrawItemsAround(d0, d0, 0);
    }
    state.counters["items"] = d.GetItemCount();
}
// The cost does not grow with the document: 1,000 and 10,000 paragraphs.
BENCHMARK(BM_ReformatAfterKeystroke)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// A document of 200 pages of the program's kind: headings, text, a list and a picture per page.
const QString& TwoHundredPages() {
    static const QString path = [] {
        QString file = QStandardPaths::writableLocation(QStandardPaths::TempLocation) +
                       QStringLiteral("/pravolin_bench_200_pages.rtf");
        QImage img(120, 80, QImage::Format_RGB32);
        img.fill(qRgb(120, 170, 220));
        QByteArray png;
        QBuffer buf(&png);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "PNG");
        const std::string hex = png.toHex().toStdString();
        std::string s =
            "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
            "{\\colortbl;\\red0\\green0\\blue255;\\red200\\green0\\blue0;}\n";
        for (int page = 1; page <= 200; ++page) {
            s += "\\pard\\sb120\\sa60\\b\\fs32\\cf1 Seite " + std::to_string(page) + "\\b0\\fs20\\cf0\\par\n";
            for (int p = 0; p < 9; ++p)
                s += "\\pard\\qj\\f" + std::to_string(p % 2) + " " + ParagraphText(page * 9 + p) + "\\par\n";
            s += "\\pard\\fi-200\\li400 1.\\tab Einer unter Einer\\par\\pard\\fi-200\\li400 2.\\tab Zehner "
                 "unter "
                 "Zehner\\par\n";
            s += "\\pard\\qc{\\pict\\pngblip\\picw120\\pich80 " + hex + "}\\par\n";
            s += "\\pard\\page\n";
        }
        s += "}";
        QFile f(file);
        if (f.open(QIODevice::WriteOnly)) f.write(s.data(), static_cast<qint64>(s.size()));
        return file;
    }();
    return path;
}

void BM_LoadAndShow200Pages(benchmark::State& state) {
    const std::string file = TwoHundredPages().toStdString();
    int items = 0, height = 0;
    for (auto _ : state) {
        TBenchDoc d;
        d.LoadRTF(file);
        d.Format(false, false, false, 0, nullptr, false, false);
        PaintFirstScreen(d);
        items = d.GetItemCount();
        height = d.DocumentHeight;
    }
    state.counters["items"] = items;
    state.counters["height_px"] = height;
}
BENCHMARK(BM_LoadAndShow200Pages)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks<QApplication>(argc, argv);
}

// libFuzzer target: whatever document any bytes make is shown and printed as
// the log book shows and prints it. Bytes that start as an RTF file does are
// read as RTF, any others as the suite's own stream format (kept only when
// it reads, as the log book keeps it). The document is laid out at three
// widths (narrower than a word, the log book's, wider than a screen) with
// its top and its end painted at each; the print component cuts it into
// pages and prints the first and the last into a PDF file. None of it may
// crash, hang, overflow or run away with the memory, and printing may not
// fail.
#include "FuzzApp.h"
#include "RTFFuzz.h"
#include "imaging/RegisterImaging.h"
#include "platform/Fonts.h"
#include "platform/Forms.h"
#include "platform/MetafileConvert.h"
#include "platform/Printer.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPStyle.h"
#include "richtext/view/RPPrint.h"
#include "shell/USeitenstil.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

// Where the RTF file the log book opens and the printed PDF go.
struct TAblage {
    QTemporaryDir Dir;
    std::string Rtf = Dir.filePath(QStringLiteral("logbuch.rtf")).toStdString();
};

TAblage& Einrichten() {
    static TAblage* ablage = [] {
        FuzzWidgetAnwendung();
        RegisterProgramFonts();
        RegisterImagingFormats();
        // A metafile converts and renders within a share of an input's time,
        // not within the seconds a picture in the program may take.
        SetMetafileTimeLimits(1000, 10000);
        auto* a = new TAblage;
        TPrinter* p = Printer();
        p->SetOutputFileName(a->Dir.filePath(QStringLiteral("druck.pdf")));
        p->SetPageSizeMM(210, 297);
        p->SetCopies(1);
        return a;
    }();
    return *ablage;
}

// RTF as the log book tells it: "{\rtf" after blanks.
bool IstRTF(const QByteArray& Bytes) {
    return Bytes.left(64).trimmed().startsWith("{\\rtf");
}

bool Lesen(TRichPadEdit& Log, const QByteArray& Bytes, const std::string& RtfPfad) {
    if (!IstRTF(Bytes)) return Log.LoadRPFFromStream(Bytes.toStdString());
    QFile f(QString::fromStdString(RtfPfad));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(Bytes) != Bytes.size()) std::abort();
    f.close();
    // Shown whatever the reader answers: a page shows what it read.
    Log.RPData()->LoadRTF(RtfPfad);
    return true;
}

// The top and the end of the document, as the screen shows them.
void Zeigen(TRichPadEdit& Log) {
    QImage bild;
    Log.ScrollTo(0);
    Log.PaintTo(bild);
    Log.ScrollTo(Log.GetDocumentHeight());
    Log.PaintTo(bild);
}

void Drucken(TRichPadEdit& Log, TForm& Form) {
    TRPPrint print(&Form);
    print.AssignSource(&Log);
    print.FormatPages();
    const int seiten = print.GetPagesCount();
    TCustomPrintableRP* rp = print.PrintableRP();
    const auto seiteDrucken = [&](int Seite) {
        if (!rp->PrintPages(Seite, Seite, QStringLiteral("Logbuch"), 1, false)) {
            std::fprintf(stderr, "page %d of %d did not print: %s\n", Seite, seiten,
                         qPrintable(rp->LastError));
            std::abort();
        }
    };
    if (seiten >= 1) seiteDrucken(1);
    if (seiten >= 2) seiteDrucken(seiten);
    print.ReleaseSource();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TAblage& ablage = Einrichten();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(RTFFuzzCap(size)));
    {
        // The log book's style component, control and settings, and the
        // background a stream may bring (the pages' views paint one).
        const std::unique_ptr<TRPStyle> style = SeitenstilErzeugen();
        TForm form(nullptr);
        auto* log = new TRichPadEdit(&form);
        log->SetParent(&form);
        log->SetBounds(0, 0, 800, 400);
        log->SetStyle(style.get());
        LogbuchEinstellen(*log);
        log->RPFOptions |= rpfoLoadBack;
        log->Clear();
        if (Lesen(*log, bytes, ablage.Rtf)) {
            log->Format();
            Zeigen(*log);
            for (const int breite : {40, 2400}) {
                log->SetBounds(0, 0, breite, 400);
                Zeigen(*log);
            }
            Drucken(*log, form);
        }
        delete log;
    }
    // What the controls left for the event loop (deferred deletions) goes now.
    QCoreApplication::sendPostedEvents();
    return 0;
}

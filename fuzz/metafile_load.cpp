// Arbitrary bytes as a Windows or enhanced metafile, loaded and drawn. The
// libraries run in the helper program under its limits, as in the program; a
// helper that a crash or a hang ends is reported here as a crash, since every
// such input must be turned away by the record checks before a library sees
// it.
#include "FuzzApp.h"
#include "platform/Graphics.h"
#include "platform/MetafileConvert.h"
#include "platform/Pictures.h"

#include <QImage>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        FuzzAnwendung();
        return true;
    }();
    (void)ready;
    TMetafile meta;
    if (!meta.LoadFromStream(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))))
        return 0;
    // Drawn small: what counts is that the records are converted and played.
    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas canvas(&image);
    meta.Draw(canvas, Bounds(0, 0, 48, 32));
    canvas.Release();
    if (const int sig = LastMetafileWorkSignal()) {
        std::fprintf(stderr, "the metafile library ended with signal %d\n", sig);
        std::abort();
    }
    return 0;
}

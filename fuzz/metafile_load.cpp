// Arbitrary bytes as a Windows or enhanced metafile, loaded and drawn. The
// libraries run in this process here (the program runs them in a child), so
// that a crash or hang in them shows: every such input must be turned away by
// the record checks before a library sees it.
#include "FuzzApp.h"
#include "platform/Graphics.h"
#include "platform/MetafileConvert.h"
#include "platform/Pictures.h"

#include <QImage>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        FuzzAnwendung();
        SetMetafileIsolation(false);
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
    return 0;
}

// Arbitrary bytes as a Windows or enhanced metafile, loaded and drawn, and an
// enhanced one made into a Windows metafile and saved as RTF. The libraries
// run in the helper program under its limits, as in the program; a helper
// that a crash or a hang ends is reported here as a crash, since every such
// input must be turned away by the record checks before a library sees it.
// A drawing too heavy to finish within its CPU time is no finding; a helper
// that crashes while drawing is. A Windows metafile made of records must
// pass the record checks and draw as any other; saved as RTF, the picture
// goes as such a Windows metafile or as it is, never as a copy that fails
// the checks.
#include "FuzzApp.h"
#include "platform/Graphics.h"
#include "platform/MetafileConvert.h"
#include "platform/MetafileTranslate.h"
#include "platform/Pictures.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPRTFWriter.h"

#include <QImage>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Draw(const TMetafile& Meta) {
    // Drawn small: what counts is that the records are converted and played.
    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas canvas(&image);
    Meta.Draw(canvas, Bounds(0, 0, 48, 32));
    canvas.Release();
    if (const int sig = LastMetafileWorkSignal()) {
        std::fprintf(stderr, "the metafile library ended with signal %d\n", sig);
        std::abort();
    }
    if (const int sig = LastMetafileRenderSignal(); sig && sig != SIGXCPU && sig != SIGKILL) {
        std::fprintf(stderr, "the drawing of the picture ended with signal %d\n", sig);
        std::abort();
    }
}

// The enhanced metafile as RTF saves it with the views' options: a Windows
// metafile that the record checks take, or the picture as it is.
void SaveAsRTF(const TMetafile& Meta) {
    std::string rtf;
    SaveGraphicToRTF(rtf, &Meta, 0, 0, rprtfSaveEMFAsWMF, 15);
    const size_t body = rtf.find(' ') + 1;
    if (body > 0 && rtf.size() > body) {
        const QByteArray bytes =
            QByteArray::fromHex(QByteArray(rtf.data() + body, static_cast<qsizetype>(rtf.size() - body - 1)));
        if (rtf.starts_with("{\\pict\\emfblip") && bytes == Meta.SaveToStream()) return;
        // The group leaves out the placeable header that the checks want.
        if (rtf.starts_with("{\\pict\\wmetafile8") &&
            CheckWindowsMetafile(PlaceableHeader(0, 0, 100, 100, 96) + bytes))
            return;
    }
    std::fprintf(stderr,
                 "the picture saved as RTF is neither a sound Windows metafile nor the picture itself\n");
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        FuzzAnwendung();
        return true;
    }();
    (void)ready;
    TMetafile meta;
    if (!meta.LoadFromStream(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))))
        return 0;
    Draw(meta);
    if (!meta.Enhanced()) return 0;
    SaveAsRTF(meta);
    const QByteArray wmf = WindowsMetafileOf(meta.SaveToStream());
    if (wmf.isEmpty()) return 0;
    TMetafile copy;
    if (!copy.LoadFromStream(wmf) || !copy.CheckRecords()) {
        std::fprintf(stderr, "the Windows metafile made of the records fails the checks\n");
        std::abort();
    }
    Draw(copy);
    return 0;
}

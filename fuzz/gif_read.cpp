// GIF reading, decoding of every frame and writing back.
#include "imaging/GIFImage.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int argc = 1;
    static char arg0[] = "fuzz";
    static char* argv[] = {arg0, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    TGIFImage gif;
    if (!gif.LoadFromStream(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)))) return 0;
    for (const auto& f : gif.Frames()) f->Bitmap();
    const QByteArray saved = gif.SaveToStream();
    TGIFImage again;
    if (again.LoadFromStream(saved))
        for (const auto& f : again.Frames()) f->Bitmap();
    return 0;
}

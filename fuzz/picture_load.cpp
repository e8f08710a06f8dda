// Arbitrary bytes as a picture: every graphic class the program registers
// (bitmaps, JPEG, PNG, metafiles, icons and GIF) must reject bad data cleanly.
#include "imaging/RegisterImaging.h"
#include "platform/Pictures.h"

#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QGuiApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        auto* a = new QGuiApplication(argc, argv);
        RegisterImagingFormats();
        return a;
    }();
    (void)app;
    TPicture picture;
    if (!picture.LoadFromStream(
            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))))
        return 0;
    // What was read is drawn and written again.
    const QImage shown = picture.Graphic()->ToImage();
    (void)shown;
    (void)picture.Graphic()->SaveToStream();
    return 0;
}

// Arbitrary bytes as a picture: every graphic class the program registers
// (bitmaps, JPEG, PNG, metafiles, icons and GIF) must reject bad data cleanly.
#include "FuzzApp.h"
#include "imaging/RegisterImaging.h"
#include "platform/Pictures.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool registered = [] {
        FuzzAnwendung();
        RegisterImagingFormats();
        return true;
    }();
    (void)registered;
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

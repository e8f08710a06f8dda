// GIF reading, decoding of every frame and writing back.
#include "FuzzApp.h"
#include "imaging/GIFImage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzAnwendung();
    TGIFImage gif;
    if (!gif.LoadFromStream(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)))) return 0;
    for (const auto& f : gif.Frames())
        f->Bitmap();
    const QByteArray saved = gif.SaveToStream();
    TGIFImage again;
    if (again.LoadFromStream(saved))
        for (const auto& f : again.Frames())
            f->Bitmap();
    return 0;
}

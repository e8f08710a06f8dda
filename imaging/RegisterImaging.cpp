#include "imaging/RegisterImaging.h"

#include "imaging/GIFImage.h"

#include "platform/Pictures.h"

void RegisterImagingFormats() {
    TGIFImage::ClipboardFormat();
    TPicture::RegisterFileFormat(QStringLiteral("gif"), QStringLiteral("CompuServe GIF Image"),
                                 [] { return std::make_unique<TGIFImage>(); }, QByteArray("GIF8"));
}

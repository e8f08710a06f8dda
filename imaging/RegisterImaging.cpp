#include "imaging/RegisterImaging.h"

#include "imaging/GIFImage.h"

#include "platform/Clipboard.h"
#include "platform/Pictures.h"

unsigned IconClipboardFormat() {
    static const TClipboardFormat format = RegisterClipboardFormat(QStringLiteral("Pravolin Icon"));
    return format;
}

void RegisterImagingFormats() {
    TGIFImage::ClipboardFormat();
    IconClipboardFormat();
    TPicture::RegisterFileFormat(QStringLiteral("gif"), QStringLiteral("CompuServe GIF Image"),
                                 [] { return std::make_unique<TGIFImage>(); }, QByteArray("GIF8"));
}

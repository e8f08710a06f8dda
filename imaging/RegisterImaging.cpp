#include "imaging/RegisterImaging.h"

#include "imaging/GIFImage.h"

#include "platform/Clipboard.h"
#include "platform/Icon.h"
#include "platform/Pictures.h"

#include <QCursor>
#include <QPixmap>

unsigned IconClipboardFormat() {
    static const TClipboardFormat format = RegisterClipboardFormat(QStringLiteral("Pravolin Icon"));
    return format;
}

namespace {

void RegisterCursors() {
    struct Entry {
        TCursor Number;
        const char* Resource;
        int HotX, HotY;
    };
    // Hot spots: the fingertip, the middle of the fist.
    for (const Entry& e : {Entry{crRxHand, ":/RX_HANDCUR", 5, 0}, Entry{crRxDrag, ":/RX_DRAGCUR", 9, 9}}) {
        const QPixmap picture(QString::fromLatin1(e.Resource));
        if (!picture.isNull()) Screen()->RegisterCursor(e.Number, QCursor(picture, e.HotX, e.HotY));
    }
}

} // namespace

void RegisterImagingFormats() {
    RegisterCursors();
    TPicture::RegisterClipboardFormat(TGIFImage::ClipboardFormat(),
                                      [] { return std::make_unique<TGIFImage>(); });
    TPicture::RegisterClipboardFormat(IconClipboardFormat(), [] { return std::make_unique<TIcon>(); });
    TPicture::RegisterFileFormat(QStringLiteral("gif"), QStringLiteral("CompuServe GIF Image"),
                                 [] { return std::make_unique<TGIFImage>(); }, QByteArray("GIF8"));
}

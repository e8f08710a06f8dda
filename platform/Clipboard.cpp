#include "platform/Clipboard.h"

#include "platform/CodePage.h"
#include "platform/Pictures.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QUrl>

#include <vector>

namespace {

constexpr TClipboardFormat kFirstNamedFormat = 0xC000;

std::vector<QString>& NamedFormats() {
    static std::vector<QString> names;
    return names;
}

QClipboard* SystemClipboard() {
    return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr;
}

} // namespace

TClipboardFormat RegisterClipboardFormat(const QString& name) {
    if (name.isEmpty()) return 0;
    auto& names = NamedFormats();
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return kFirstNamedFormat + static_cast<TClipboardFormat>(i);
    names.push_back(name);
    return kFirstNamedFormat + static_cast<TClipboardFormat>(names.size() - 1);
}

QString ClipboardFormatName(TClipboardFormat format) {
    const auto& names = NamedFormats();
    if (format < kFirstNamedFormat || format - kFirstNamedFormat >= names.size()) return QString();
    return names[format - kFirstNamedFormat];
}

QString ClipboardMimeType(TClipboardFormat format) {
    switch (format) {
    case CF_TEXT:
    case CF_UNICODETEXT:
        return QStringLiteral("text/plain");
    case CF_BITMAP:
    case CF_DIB:
        return QStringLiteral("application/x-qt-image");
    default:
        break;
    }
    const QString name = ClipboardFormatName(format);
    if (name.isEmpty()) return QString();
    return QStringLiteral("application/x-pravolin-") + QString::fromLatin1(QUrl::toPercentEncoding(name));
}

TClipboard::TClipboard() = default;
TClipboard::~TClipboard() = default;

void TClipboard::Open() {
    if (m_openCount++ == 0) m_emptied = false;
}

void TClipboard::Close() {
    if (m_openCount == 0) return;
    if (--m_openCount == 0) Publish();
}

void TClipboard::Publish() {
    if (!m_pending) return;
    if (QClipboard* cb = SystemClipboard()) cb->setMimeData(m_pending.release());
    m_pending.reset();
}

QMimeData* TClipboard::Adding() {
    if (!m_emptied || !m_pending) {
        m_pending = std::make_unique<QMimeData>();
        m_emptied = true;
    }
    return m_pending.get();
}

const QMimeData* TClipboard::Current() const {
    if (m_pending) return m_pending.get();
    QClipboard* cb = SystemClipboard();
    return cb ? cb->mimeData() : nullptr;
}

void TClipboard::Clear() {
    Open();
    m_pending = std::make_unique<QMimeData>();
    m_emptied = true;
    Close();
}

bool TClipboard::HasFormat(TClipboardFormat format) const {
    const QMimeData* data = Current();
    if (!data) return false;
    switch (format) {
    case CF_TEXT:
    case CF_UNICODETEXT:
        return data->hasText();
    case CF_BITMAP:
    case CF_DIB:
        return data->hasImage();
    default:
        break;
    }
    const QString mime = ClipboardMimeType(format);
    return !mime.isEmpty() && data->hasFormat(mime);
}

QString TClipboard::AsText() const {
    const QMimeData* data = Current();
    return data && data->hasText() ? data->text() : QString();
}

void TClipboard::SetAsText(const QString& text) {
    Open();
    Adding()->setText(text);
    Close();
}

void TClipboard::Assign(const TGraphic& graphic) {
    const QImage img = graphic.ToImage();
    if (img.isNull()) return;
    Open();
    Adding()->setImageData(img);
    // A metafile goes as itself too, for programs that take drawings.
    if (const auto* meta = dynamic_cast<const TMetafile*>(&graphic))
        Adding()->setData(meta->MimeType(), meta->SaveToStream());
    Close();
}

bool TClipboard::GetBitmap(TBitmap& bitmap) const {
    const QMimeData* data = Current();
    if (!data || !data->hasImage()) return false;
    const QImage img = qvariant_cast<QImage>(data->imageData());
    if (img.isNull()) return false;
    bitmap.SetImage(img.convertToFormat(QImage::Format_RGB32));
    return true;
}

void TClipboard::SetAsHandle(TClipboardFormat format, const QByteArray& data) {
    if (format == CF_TEXT || format == CF_UNICODETEXT) {
        // Code page 1252 bytes, or UTF-16 little-endian code units.
        QString text;
        if (format == CF_TEXT)
            text = CodePage::FromCp1252(std::string_view(data.constData(), static_cast<size_t>(data.size())));
        else
            for (qsizetype i = 0; i + 1 < data.size(); i += 2)
                text.append(QChar(static_cast<char16_t>(static_cast<uint8_t>(data[i]) |
                                                        (static_cast<uint8_t>(data[i + 1]) << 8))));
        SetAsText(text);
        return;
    }
    const QString mime = ClipboardMimeType(format);
    if (mime.isEmpty() || format == CF_BITMAP || format == CF_DIB) return;
    Open();
    Adding()->setData(mime, data);
    Close();
}

QByteArray TClipboard::GetAsHandle(TClipboardFormat format) const {
    const QString mime = ClipboardMimeType(format);
    const QMimeData* data = Current();
    if (mime.isEmpty() || !data) return QByteArray();
    if (format == CF_TEXT) {
        const std::string bytes = CodePage::ToCp1252(data->text());
        return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    if (format == CF_UNICODETEXT) {
        QByteArray out;
        for (QChar c : data->text()) {
            out.append(static_cast<char>(c.unicode() & 0xFF));
            out.append(static_cast<char>(c.unicode() >> 8));
        }
        return out;
    }
    if (format == CF_BITMAP || format == CF_DIB) return QByteArray();
    return data->data(mime);
}

void TClipboard::SetAsMime(const QString& mime, const QByteArray& data) {
    if (mime.isEmpty()) return;
    Open();
    Adding()->setData(mime, data);
    Close();
}

QByteArray TClipboard::GetAsMime(const QString& mime) const {
    const QMimeData* data = Current();
    return data && !mime.isEmpty() ? data->data(mime) : QByteArray();
}

void TClipboard::Abandon() {
    m_pending.reset();
    m_emptied = false;
}

TClipboard* Clipboard() {
    static TClipboard clipboard;
    return &clipboard;
}

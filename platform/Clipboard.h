#pragma once
// The clipboard: text, bitmaps and the program's named formats. Named formats
// travel as MIME type "application/x-pravolin-<name>" with their bytes.
//
//   Clipboard()->Open();                     // batch several formats
//   Clipboard()->SetAsText(plain);
//   Clipboard()->SetAsHandle(CF_RTF, rtfBytes);
//   Clipboard()->Close();
//
// Without Open every Set replaces the whole clipboard; within one
// Open/Close the first Set empties it and the others add to it.
#include <QByteArray>
#include <QString>

#include <memory>

class QMimeData;
class TBitmap;
class TGraphic;

using TClipboardFormat = unsigned;
constexpr TClipboardFormat CF_TEXT = 1;
constexpr TClipboardFormat CF_BITMAP = 2;
constexpr TClipboardFormat CF_METAFILEPICT = 3;
constexpr TClipboardFormat CF_DIB = 8;
constexpr TClipboardFormat CF_UNICODETEXT = 13;
constexpr TClipboardFormat CF_ENHMETAFILE = 14;

// The id of a named format (the same name, in any case, gives the same id;
// ids start at 0xC000). An empty name gives 0.
TClipboardFormat RegisterClipboardFormat(const QString& name);
// The name of a registered id; empty for others.
QString ClipboardFormatName(TClipboardFormat format);
// The MIME type that carries a format.
QString ClipboardMimeType(TClipboardFormat format);

class TClipboard {
public:
    TClipboard();
    ~TClipboard();
    TClipboard(const TClipboard&) = delete;
    TClipboard& operator=(const TClipboard&) = delete;

    void Open();  // may nest
    void Close(); // the outermost Close publishes what was set
    void Clear();
    bool HasFormat(TClipboardFormat format) const;

    QString AsText() const;
    void SetAsText(const QString& text);
    // Puts a bitmap (or any graphic, rendered) on the clipboard.
    void Assign(const TGraphic& graphic);
    // Takes the clipboard's picture; false (bitmap unchanged) when there is none.
    bool GetBitmap(TBitmap& bitmap) const;

    // Bytes of a registered format; CF_TEXT is code page 1252, CF_UNICODETEXT
    // UTF-16 little-endian.
    void SetAsHandle(TClipboardFormat format, const QByteArray& data);
    QByteArray GetAsHandle(TClipboardFormat format) const;
    // Bytes under a MIME type of their own (formats other programs read).
    void SetAsMime(const QString& mime, const QByteArray& data);
    QByteArray GetAsMime(const QString& mime) const;
    // Drops what was set since the outermost Open: the clipboard keeps what
    // it held before. Close still ends the batch.
    void Abandon();

private:
    QMimeData* Adding();
    const QMimeData* Current() const;
    void Publish();
    int m_openCount = 0;
    std::unique_ptr<QMimeData> m_pending;
    bool m_emptied = false;
};

// The program's clipboard.
TClipboard* Clipboard();

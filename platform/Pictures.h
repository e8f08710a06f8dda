#pragma once
// Pictures: the abstract graphic, bitmaps, JPEG images, metafiles and the
// picture holder with its registry of file formats.
//
//   TPicture pic;
//   if (pic.LoadFromFile("bild.jpg")) canvas.Draw(0, 0, *pic.Graphic());
//   TBitmap* bmp = pic.Bitmap();            // makes an empty bitmap when needed
//   bmp->SetSize(100, 50);
//   bmp->Canvas()->Rectangle(0, 0, 100, 50);
//   uint8_t* row = bmp->ScanLine(0);        // 24 bit: B, G, R per pixel
//
// Byte buffers are QByteArray throughout. Loading never throws: a malformed
// file gives false and leaves the graphic as it was.
// Classes of other libraries (the GIF image) join the registry with
//   TPicture::RegisterFileFormat("gif", "GIF", [] { return std::make_unique<TGIFImage>(); }, "GIF8");
#include "platform/Graphics.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>
#include <memory>

class TBitmap;
class TGraphic;

// Long decoding and coding report their way through a picture's OnProgress.
enum TProgressStage { psStarting, psRunning, psEnding };
// Sender, stage, percent done, whether the part ready so far should be shown
// now, that part, and a message.
using TProgressEvent = std::function<void(TGraphic* Sender, TProgressStage Stage, uint8_t PercentDone,
                                          bool RedrawNow, const TRect& R, const QString& Msg)>;

class TGraphic {
public:
    TGraphic() = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;
    virtual ~TGraphic();

    // The class name the program's stream formats store ("TBitmap", ...).
    virtual QString ClassName() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int w);
    virtual void SetHeight(int h);
    virtual bool Empty() const;
    bool Transparent() const { return m_transparent; }
    virtual void SetTransparent(bool t);
    bool Modified() const { return m_modified; }
    void SetModified(bool m) { m_modified = m; }

    // Draws the picture stretched into r.
    virtual void Draw(TCanvas& canvas, const TRect& r) const = 0;

    virtual bool LoadFromStream(const QByteArray& data) = 0;
    virtual QByteArray SaveToStream() const = 0;
    bool LoadFromFile(const QString& fileName);
    bool SaveToFile(const QString& fileName) const;

    // A copy of the same class.
    virtual std::unique_ptr<TGraphic> Clone() const = 0;
    // Loads the clipboard's data of the format (by default the bytes of the
    // class's own stream format); false when there is nothing readable.
    virtual bool LoadFromClipboardFormat(unsigned format);

protected:
    // Clone() of a class whose Assign takes everything over: an unmodified copy.
    template <class T> static std::unique_ptr<TGraphic> CloneByAssign(const T& self) {
        auto copy = std::make_unique<T>();
        copy->Assign(self);
        copy->SetModified(false);
        return copy;
    }

public:
    // Takes over another graphic; false when the classes do not fit.
    virtual bool Assign(const TGraphic& source);
    // The pixels as a 32-bit image (what Draw shows, at natural size).
    virtual QImage ToImage() const = 0;

    std::function<void()> OnChange;
    TProgressEvent OnProgress;

protected:
    void Changed();
    void Progress(TProgressStage stage, uint8_t percentDone, bool redrawNow, const TRect& r,
                  const QString& msg = QString());

private:
    bool m_transparent = false;
    bool m_modified = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

// A bitmap over a QImage. pf24bit rows are B, G, R bytes; pf32bit and
// pfDevice rows are B, G, R, x; pf8bit, pf4bit and pf1bit hold palette
// indices (one byte per pixel for 8 and 4 bit, one bit for 1 bit, high bit
// first).
class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int width, int height);
    explicit TBitmap(const QImage& image);
    ~TBitmap() override;

    QString ClassName() const override { return QStringLiteral("TBitmap"); }
    int Width() const override;
    int Height() const override;
    void SetWidth(int w) override;
    void SetHeight(int h) override;
    void SetSize(int w, int h); // new area is white; kept area keeps its pixels
    bool Empty() const override;

    TPixelFormat PixelFormat() const { return m_pixelFormat; }
    void SetPixelFormat(TPixelFormat f);
    bool Monochrome() const { return m_pixelFormat == pf1bit; }

    TCanvas* Canvas();
    // Start of a pixel row (nullptr outside the bitmap).
    uint8_t* ScanLine(int row);
    const uint8_t* ScanLine(int row) const;

    // The image itself, for fast per-pixel work; the canvas is released first.
    QImage& Image();
    const QImage& Image() const;
    void SetImage(const QImage& image); // pixel format follows the image

    // tmAuto: the bottom-left pixel is transparent; tmFixed: TransparentColor.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor c);
    TTransparentMode TransparentMode() const { return m_transparentMode; }
    void SetTransparentMode(TTransparentMode m);

    void Draw(TCanvas& canvas, const TRect& r) const override;
    bool LoadFromStream(const QByteArray& data) override; // BMP
    QByteArray SaveToStream() const override;             // BMP
    std::unique_ptr<TGraphic> Clone() const override;
    bool Assign(const TGraphic& source) override; // any graphic is rendered
    QImage ToImage() const override;

    void Dormant() {}
    void FreeImage() {}
    // Palettes play no part on true-colour displays; the flag is kept.
    bool IgnorePalette() const { return m_ignorePalette; }
    void SetIgnorePalette(bool v) { m_ignorePalette = v; }

private:
    void ReleaseCanvas() const;
    QImage m_image;
    TPixelFormat m_pixelFormat = pfDevice;
    TColor m_transparentColor = clDefault;
    TTransparentMode m_transparentMode = tmAuto;
    bool m_ignorePalette = false;
    std::unique_ptr<TCanvas> m_canvas;
};

// False for PNG data in which a chunk says it is longer than the data left
// after it. The decoder takes such a length on trust: it reserves and clears
// that much memory (gigabytes from a few bytes) before it finds the data short.
// Data of any other kind is not judged here.
bool PngChunksFit(const QByteArray& Data);

// A PNG picture: a bitmap that reads and writes PNG.
class TPngImage : public TBitmap {
public:
    QString ClassName() const override { return QStringLiteral("TPngImage"); }
    bool LoadFromStream(const QByteArray& data) override;
    QByteArray SaveToStream() const override;
    std::unique_ptr<TGraphic> Clone() const override;
};

enum TJPEGPerformance { jpBestQuality, jpBestSpeed };
enum TJPEGPixelFormat { jf24Bit, jf8Bit };

// A JPEG picture, coded with libjpeg. The compressed bytes are kept as read;
// they are coded anew only after the picture was assigned from a bitmap.
class TJPEGImage : public TGraphic {
public:
    TJPEGImage();
    ~TJPEGImage() override;

    QString ClassName() const override { return QStringLiteral("TJPEGImage"); }
    int Width() const override;
    int Height() const override;
    bool Empty() const override;

    int CompressionQuality() const { return m_quality; }
    void SetCompressionQuality(int q); // 1..100
    bool Grayscale() const { return m_grayscale; }
    void SetGrayscale(bool g);
    TJPEGPerformance Performance() const { return m_performance; }
    void SetPerformance(TJPEGPerformance p) { m_performance = p; }
    bool ProgressiveEncoding() const { return m_progressive; }
    void SetProgressiveEncoding(bool p) { m_progressive = p; }
    // Decoding is always true colour; the setting is kept for the callers.
    TJPEGPixelFormat PixelFormat() const { return m_pixelFormat; }
    void SetPixelFormat(TJPEGPixelFormat f) { m_pixelFormat = f; }

    // Codes the bytes again from the decoded pixels (after settings changed).
    void Compress();
    // Decoded pixels (24 bit).
    const QImage& Decoded() const;

    void Draw(TCanvas& canvas, const TRect& r) const override;
    bool LoadFromStream(const QByteArray& data) override;
    QByteArray SaveToStream() const override;
    std::unique_ptr<TGraphic> Clone() const override;
    bool Assign(const TGraphic& source) override; // JPEG, or any graphic coded anew
    QImage ToImage() const override;

    // The codec on its own.
    static bool Decode(const QByteArray& data, QImage& out, bool grayscale = false);
    static QByteArray Encode(const QImage& image, int quality, bool grayscale = false,
                             bool progressive = false);

private:
    QByteArray m_data;
    mutable QImage m_image;
    mutable bool m_decoded = false;
    int m_width = 0;
    int m_height = 0;
    int m_quality = 90;
    bool m_grayscale = false;
    bool m_progressive = false;
    TJPEGPerformance m_performance = jpBestQuality;
    TJPEGPixelFormat m_pixelFormat = jf24Bit;
};

// A Windows or enhanced metafile. The bytes are kept unchanged; the size comes
// from the header. Loading starts the conversion of the records into a
// picture (see MetafileCache.h), shared by every metafile of the same bytes;
// records that cannot be converted draw a frame in their place.
class TMetafileRendering;

class TMetafile : public TGraphic {
public:
    TMetafile();
    ~TMetafile() override;

    QString ClassName() const override { return QStringLiteral("TMetafile"); }
    int Width() const override { return m_width; }
    int Height() const override { return m_height; }
    void SetWidth(int w) override;
    void SetHeight(int h) override;
    bool Empty() const override { return m_data.isEmpty(); }
    bool Enhanced() const { return m_enhanced; }
    void SetEnhanced(bool e);
    // Size in 0.01 mm.
    int MMWidth() const;
    int MMHeight() const;
    void SetMMWidth(int v);
    void SetMMHeight(int v);
    // Units per inch of a placeable Windows metafile (0 when not placeable,
    // or when its header leaves them open: it then has no size until they
    // are set). Setting them on a placeable metafile rewrites its header.
    int Inch() const { return m_inch; }
    void SetInch(int v);
    // True when the records pass the limits and their chain holds (nothing
    // is converted).
    bool CheckRecords() const;
    // True when the records convert into a picture (converts on first use).
    bool HasPicture() const;
    // The MIME type other programs exchange such a metafile under.
    QString MimeType() const { return MimeType(m_enhanced); }
    static QString MimeType(bool enhanced);

    void Draw(TCanvas& canvas, const TRect& r) const override;
    // Draw without the frame: false when nothing was drawn, because the
    // records do not convert, the picture is too heavy to render at that
    // size, or (on the screen) it is not ready yet.
    bool DrawPicture(TCanvas& canvas, const TRect& r) const;
    bool LoadFromStream(const QByteArray& data) override;
    QByteArray SaveToStream() const override { return m_data; }
    std::unique_ptr<TGraphic> Clone() const override;
    bool Assign(const TGraphic& source) override;
    QImage ToImage() const override;

private:
    TMetafileRendering* Rendering() const;
    void SizeFromPlaceableHeader();
    QByteArray m_data;
    bool m_enhanced = false;
    int m_width = 0;
    int m_height = 0;
    int m_inch = 0;
    mutable std::shared_ptr<TMetafileRendering> m_rendering;
    mutable bool m_converted = false;
};

using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

// Holds one graphic (or none).
class TPicture {
public:
    TPicture();
    ~TPicture();
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    TGraphic* Graphic() const { return m_graphic.get(); }
    // Stores a copy of the graphic; nullptr empties the picture.
    void SetGraphic(const TGraphic* graphic);
    // Takes the graphic over.
    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    // The bitmap; a picture holding something else or nothing gets a new
    // empty bitmap in its place.
    TBitmap* Bitmap();
    int Width() const;
    int Height() const;
    bool Empty() const { return !m_graphic || m_graphic->Empty(); }

    // Picks the class by the file's signature, then by its extension.
    bool LoadFromFile(const QString& fileName);
    bool SaveToFile(const QString& fileName) const;
    // Picks the class by signature only.
    bool LoadFromStream(const QByteArray& data);
    void Assign(const TPicture& other);
    void Clear() { SetGraphic(std::unique_ptr<TGraphic>()); }

    std::function<void()> OnChange;

    // ext without dot, case-insensitive; a signature (leading bytes) lets
    // files be recognised whatever their name.
    static void RegisterFileFormat(const QString& ext, const QString& description, TGraphicFactory factory,
                                   const QByteArray& signature = QByteArray());
    static std::unique_ptr<TGraphic> CreateForExtension(const QString& ext);
    static std::unique_ptr<TGraphic> CreateForData(const QByteArray& data);
    // A new graphic of a registered class ("TBitmap", "TJPEGImage", ...).
    static std::unique_ptr<TGraphic> CreateByClassName(const QString& className);
    // "Description (*.ext)" entries of the registered formats.
    static QStringList FileFilters();
    // A clipboard format whose pictures the factory's class reads.
    static void RegisterClipboardFormat(unsigned format, TGraphicFactory factory);
    static bool SupportsClipboardFormat(unsigned format);
    // The clipboard's picture of a registered format; false (the picture as
    // it was) when the format is not registered or its data cannot be read.
    bool LoadFromClipboardFormat(unsigned format);

private:
    void GraphicChanged();
    std::unique_ptr<TGraphic> m_graphic;
};

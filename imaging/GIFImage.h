#pragma once
// GIF pictures (87a and 89a) with all their frames, read and written by the
// program's own LZW coder.
#include "imaging/GIFCodec.h"
#include "imaging/ImagingErrors.h"
#include "platform/Pictures.h"

#include <QByteArray>
#include <QStringList>

#include <memory>
#include <vector>

// A colour table: the number of entries and their RGB triples (kept only as
// long as the table, so that a file of many tiny frames stays small here).
struct TGIFColorTable {
    int32_t Count = 0;
    std::vector<uint8_t> Colors;
    TColor Color(int index) const;
    // First entry of the colour c, or -1.
    int IndexOf(TColor c) const;
};

// Image data shared by copies of one picture.
struct TGIFData {
    QStringList Comment;
    uint8_t AspectRatio = 0;
    uint8_t BitsPerPixel = 0;
    uint8_t ColorResolution = 0;
    TGIFColorTable ColorTable;
};

// The stored form of one frame, shared by copies of the frame.
struct TGIFItem {
    QByteArray RawData; // code-size byte and data sub-blocks as in the file
    uint16_t Width = 0;
    uint16_t Height = 0;
    uint8_t Packed = 0;
    uint8_t BitsPerPixel = 8;
    TGIFColorTable ColorTable;
    // The file gave the frame a width or height of 0: it is shown at the
    // screen's size, and written back as it was stored.
    bool StoredEmpty = false;
    uint16_t StoredWidth = 0;
    uint16_t StoredHeight = 0;
};

enum TGIFExtensionType : uint8_t { etGraphicControl = 0, etPlainText = 1, etApplication = 2, etComment = 3 };

class TExtension {
public:
    uint8_t ExtType = etGraphicControl;
    std::unique_ptr<QStringList> Data; // sub-blocks (Latin-1); none for graphic control
    QByteArray Header;                 // 6, 13 or 12 stored header bytes
    void Assign(const TExtension& source);
};

class TAnimatedCursorImage;
class TGIFImage;

class TGIFFrame {
public:
    explicit TGIFFrame(TGIFImage* owner);
    ~TGIFFrame();
    TGIFFrame(const TGIFFrame&) = delete;
    TGIFFrame& operator=(const TGIFFrame&) = delete;

    void Assign(const TGIFFrame& source);
    // Takes a picture: a GIF's current frame or any other graphic as bitmap.
    void Assign(const TGraphic& source);

    // The decoded picture (decoded on first use); nullptr without data.
    TBitmap* Bitmap() const;
    const TGIFItem& Item() const { return *m_item; }
    bool HasRawData() const { return !m_item->RawData.isEmpty(); }
    bool Corrupt() const { return m_corrupt; }
    int Width() const { return m_item->Width; }
    int Height() const { return m_item->Height; }
    // The frame's colour table, or the image's global one.
    const TGIFColorTable& Palette() const;

    std::vector<std::unique_ptr<TExtension>> Extensions;
    TPoint Origin{0, 0};
    bool Interlaced = false;
    TColor TransColor = clNone;
    // The palette index the transparency was read or coded with, -1 when the
    // frame has none of its own (a new picture): writing keeps it as long as
    // it still holds TransColor, so that another entry of the same colour
    // stays opaque.
    int TransIndex() const { return m_transIndex; }
    uint16_t DelayMs = 0;
    uint8_t Disposal = 0;
    bool OwnPalette = false;

    // The picture with its transparent pixels clear (ARGB): those of the
    // transparent palette index while the picture still holds the decoded
    // indexes, else those of TransColor. A null image without a picture.
    QImage TransparentImage() const;

private:
    friend class TGIFImage;
    void Decode() const;
    void Encode();
    // Tells the owner's OnProgress that the work on area begins and answers
    // where the running share goes; nothing when no one listens.
    TGIFProgress Reporter(const TRect& area, TProgressStage first) const;
    void UpdateGraphicControl();

    TGIFImage* m_owner;
    mutable std::unique_ptr<TBitmap> m_bitmap;
    std::shared_ptr<TGIFItem> m_item;
    mutable bool m_corrupt = false;
    int m_transIndex = -1;
};

class TGIFImage : public TGraphic {
public:
    TGIFImage();
    ~TGIFImage() override;

    QString ClassName() const override { return QStringLiteral("TGIFImage"); }
    int Width() const override;
    int Height() const override;
    void SetWidth(int w) override;  // refused: raises
    void SetHeight(int h) override; // refused: raises
    bool Empty() const override;
    bool Transparent() const; // the property and a frame with a transparent colour
    bool Equals(const TGraphic& other) const;

    void Draw(TCanvas& canvas, const TRect& r) const override;
    // False on malformed data; the picture then stays as it was.
    bool LoadFromStream(const QByteArray& data) override;
    // Empty when there is nothing to write.
    QByteArray SaveToStream() const override;
    // Form data: a 32-bit byte count before the GIF bytes.
    bool ReadData(const QByteArray& data);
    QByteArray WriteData() const;
    // The clipboard format "GIF Image": a 32-bit byte count, then the GIF.
    static unsigned ClipboardFormat();
    // Takes the clipboard's GIF, or else its bitmap; false when neither is there.
    bool LoadFromClipboardFormat();
    // The same for the picture object's loading by format.
    bool LoadFromClipboardFormat(unsigned format) override;
    // Does nothing unless every frame has coded data.
    void SaveToClipboardFormat();
    std::unique_ptr<TGraphic> Clone() const override;
    bool Assign(const TGraphic& source) override;
    void Assign(const TGIFFrame& frame);
    // One frame per cursor frame, with its icon and its rate as delay, on the
    // window colour.
    void Assign(const TAnimatedCursorImage& cursor);
    // The current frame as a bitmap (with its transparent colour); nullptr
    // when empty.
    std::unique_ptr<TBitmap> AssignToBitmap() const;
    QImage ToImage() const override;

    virtual int AddFrame(const TGraphic& graphic);
    void Clear();

    // Raise EInvalidGraphicOperation or EReadError.
    void ReadStream(const QByteArray& data);
    bool LoadFrom(const QByteArray& data, bool decodeFirst);
    QByteArray WriteStream(bool withSize);

    const std::vector<std::unique_ptr<TGIFFrame>>& Frames() const { return m_frames; }
    const TGIFData& Data() const { return *m_data; }
    TGIFData& Data() { return *m_data; }
    QStringList& Comment() { return m_data->Comment; }

    uint8_t GifVersion = 0; // 0 none, 1 87a, 2 89a
    int CurrentFrame = -1;
    uint16_t ScreenWidth = 0;
    uint16_t ScreenHeight = 0;
    TColor BackColor = clNone;
    bool LoopEnabled = false;
    uint16_t LoopCount = 1;

    // Frames larger than this many pixels are refused when read.
    static constexpr int64_t MaxFramePixels = int64_t(4096) * 4096;
    // The format's limit of a frame's width and height.
    static constexpr int MaxFrameSide = 0xFFFF;

private:
    friend class TGIFFrame;
    void RecalcScreenSize();
    const TGIFFrame* ShownFrame() const;

    std::shared_ptr<TGIFData> m_data;
    std::vector<std::unique_ptr<TGIFFrame>> m_frames;
};

#pragma once
// Icons: the picture of an icon file (".ico"), with its transparency.
//
//   TIcon icon;
//   if (icon.LoadFromStream(bytes)) canvas.Draw(0, 0, icon);
//
// An icon file holds a directory of images; the icon shows its first one.
// Images are device-independent bitmaps of 1, 4, 8, 24 or 32 bits with an
// AND mask (32-bit images may carry their own alpha), or PNG.
#include "platform/Pictures.h"

#include <cstdint>
#include <vector>

// One entry of an icon or cursor directory. A cursor keeps its hot spot
// where an icon keeps planes and bit count.
struct TIconDirEntry {
    int Width = 0;  // 1 .. 256
    int Height = 0; // 1 .. 256
    int Colors = 0;
    uint16_t Planes = 0;   // cursor: hot spot x
    uint16_t BitCount = 0; // cursor: hot spot y
    uint32_t Size = 0;
    uint32_t Offset = 0;
};

class TIcon : public TGraphic {
public:
    TIcon();
    ~TIcon() override;

    QString ClassName() const override { return QStringLiteral("TIcon"); }
    int Width() const override { return m_image.width(); }
    int Height() const override { return m_image.height(); }
    bool Empty() const override { return m_image.isNull(); }

    void Draw(TCanvas& canvas, const TRect& r) const override;
    // An icon file (directory type 1). False on malformed data; the icon then
    // stays as it was.
    bool LoadFromStream(const QByteArray& data) override;
    // The file as read, or, for an icon made from a picture, a one-image icon
    // file of 32 bits with its mask. Empty for an empty icon.
    QByteArray SaveToStream() const override;
    std::unique_ptr<TGraphic> Clone() const override;
    // Takes another icon (nothing else).
    bool Assign(const TGraphic& source) override;
    QImage ToImage() const override { return m_image; }

    // Makes the icon show the picture (its alpha is the transparency).
    void SetImage(const QImage& image);
    // ARGB32, premultiplied or not as Qt keeps it; null when empty.
    const QImage& Image() const { return m_image; }

    // The directory of an icon (type 1) or cursor (type 2) file. False when
    // the header is not one, the directory is empty or longer than allowed,
    // or an entry's image lies outside the data.
    static bool ReadDirectory(const QByteArray& data, int& type, std::vector<TIconDirEntry>& entries);
    // The bit count an entry's image is stored with (from the image's own
    // header; 32 for PNG), 0 when it cannot be read.
    static int ImageBitCount(const QByteArray& data, const TIconDirEntry& entry);

    // Images larger than this on a side are refused.
    static constexpr int MaxSide = 1024;
    // Directories with more entries are refused.
    static constexpr int MaxImages = 256;

private:
    QByteArray m_data; // the file as read; empty once the picture was set
    QImage m_image;
};

#pragma once
// A list of small pictures of one size (bullets, hotspots, list markers).
//
//   TCustomImageList list(nullptr);
//   list.SetSize(16, 16);
//   int i = list.AddMasked(&strip, clFuchsia);   // a strip adds one image per 16 px
//   list.Draw(canvas, 10, 10, i, true);
//
// Images are kept as 32-bit pictures with transparency; masked-out pixels
// leave the canvas untouched.
#include "platform/Colors.h"
#include "platform/Forms.h"
#include "platform/FreeNotify.h"

#include <QImage>

#include <functional>
#include <vector>

class TBitmap;
class TCanvas;

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner);
    ~TCustomImageList() override;

    QString ClassName() const override { return QStringLiteral("TCustomImageList"); }

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Changing the size empties the list.
    void SetWidth(int w);
    void SetHeight(int h);
    void SetSize(int w, int h);
    int Count() const { return static_cast<int>(m_images.size()); }

    // Colour behind the images in GetBitmap; clNone keeps what is there.
    TColor BkColor() const { return m_bkColor; }
    void SetBkColor(TColor c) { m_bkColor = c; }

    // Adds the image (a bitmap wider than Width adds one image per Width
    // pixels); white pixels of the mask are transparent. Returns the index of
    // the first image added, -1 when nothing was added.
    int Add(TBitmap* image, TBitmap* mask);
    // Pixels of maskColor are transparent.
    int AddMasked(TBitmap* image, TColor maskColor);
    void Delete(int index);
    void Clear();

    // Draws image index with its top-left corner at (x, y); a disabled image
    // is drawn greyed. Indices out of range draw nothing.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;
    // Drawn half blended with the colour (a selected bullet).
    void DrawBlended(TCanvas* canvas, int x, int y, int index, TColor blend) const;
    // Copies image index onto the bitmap (resized to the list's size); false
    // when the index is out of range.
    bool GetBitmap(int index, TBitmap* image) const;
    // The image itself (null image out of range).
    QImage Image(int index) const;

    // Called when the list goes away, so that holders can forget it. The key
    // identifies the listener for removal.
    void AddFreeNotification(const void* key, std::function<void(TCustomImageList*)> onFree) {
        m_freeNotify.Add(key, std::move(onFree));
    }
    void RemoveFreeNotification(const void* key) { m_freeNotify.Remove(key); }
    std::function<void()> OnChange;

private:
    int AddImages(const QImage& source, const QImage& alphaMask);
    void Changed();

    int m_width = 16;
    int m_height = 16;
    TColor m_bkColor = clNone;
    std::vector<QImage> m_images;
    TFreeNotifications<TCustomImageList> m_freeNotify;
};

using TImageList = TCustomImageList;

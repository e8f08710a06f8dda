#include "richtext/model/RPBackground.h"

#include "platform/Graphics.h"
#include "platform/Pictures.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPTextHelpers.h"

namespace {

// Draws a picture; bitmaps are copied pixel for pixel (their transparency is
// not applied, the colour fill beneath shows only around them).
void PutGraphic(TCanvas& Canvas, const TGraphic& G, const TRect& Dest) {
    if (const auto* b = dynamic_cast<const TBitmap*>(&G)) {
        Canvas.SetCopyMode(cmSrcCopy);
        Canvas.DrawImage(Dest, b->Image(), Rect(0, 0, b->Width(), b->Height()));
    } else if (Dest.Width() == G.Width() && Dest.Height() == G.Height()) {
        Canvas.Draw(Dest.Left, Dest.Top, G);
    } else {
        Canvas.StretchDraw(Dest, G);
    }
}

class TClipKeeper {
public:
    TClipKeeper(TCanvas& Canvas, const TRect& R) : FCanvas(Canvas), FHad(Canvas.HasClip()) {
        if (FHad) FOld = Canvas.ClipRect();
        Canvas.IntersectClipRect(R);
    }
    ~TClipKeeper() {
        if (FHad)
            FCanvas.SetClipRect(FOld);
        else
            FCanvas.ReleaseClip();
    }

private:
    TCanvas& FCanvas;
    bool FHad;
    TRect FOld;
};

TRect ToRect(const TRPBounds& b) {
    return Rect(b.Left, b.Top, b.Right, b.Bottom);
}

} // namespace

TRPBackground::TRPBackground(bool CreatePicture) {
    if (CreatePicture) Image = std::make_unique<TBitmap>();
}

TRPBackground::~TRPBackground() = default;

TRPItemBackgroundStyle TRPBackground::GetItemBackStyle() const {
    switch (Style) {
    case bsStretched:
        return rpbsStretched;
    case bsTiled:
    case bsTiledAndScrolled:
        return rpbsTiled;
    case bsCentered:
        return rpbsCentered;
    default:
        return rpbsColor;
    }
}

void TRPBackground::SetItemBackStyle(TRPItemBackgroundStyle Value) {
    switch (Value) {
    case rpbsStretched:
        Style = bsStretched;
        break;
    case rpbsTiled:
        Style = bsTiled;
        break;
    case rpbsCentered:
        Style = bsCentered;
        break;
    default:
        Style = bsNoBitmap;
        break;
    }
}

bool TRPBackground::IsBlank() const {
    return Style == bsNoBitmap && (!Image || Image->Empty());
}

bool TRPBackground::ScrollRequiresFullRedraw() const {
    return Image && !Image->Empty() && Style != bsNoBitmap && Style != bsTiledAndScrolled;
}

void TRPBackground::FreeImage() {
    ImageCopy.reset();
    Image.reset();
}

void TRPBackground::AssignImage(TGraphic* Graphic, TCustomRPData* RPData, bool Copy) {
    if (Graphic && Graphic == Image.get()) return;
    if (Copy) {
        FreeImage();
        if (Graphic) {
            Image = RPCreateGraphicProc ? RPCreateGraphicProc(Graphic->ClassName()) : nullptr;
            if (!Image || !Image->Assign(*Graphic)) Image = Graphic->Clone();
        }
    } else {
        ImageCopy.reset();
        Image.reset(Graphic);
    }
    if (RPData)
        UpdatePaletted(RPData->GetDoInPaletteMode(), RPData->GetPalette(), RPData->GetLogPalette());
    else
        ImageCopy.reset();
}

void TRPBackground::UpdatePaletted(TRPPaletteAction Action, void* Palette, const void* LogPalette) {
    (void)Palette;
    ImageCopy.reset();
    if (!Image || Action == rppaDoNothing || !LogPalette || Image->Empty()) return;
    // Colours are true colour here; a palette changes no pixel, so the copy is a plain copy.
    if (Action == rppaCreateCopies || Action == rppaCreateCopiesEx) {
        if (Action == rppaCreateCopiesEx && dynamic_cast<const TJPEGImage*>(Image.get()))
            ImageCopy = std::make_unique<TBitmap>(Image->ToImage());
        else
            ImageCopy = Image->Clone();
    }
}

const TGraphic* TRPBackground::Shown() const {
    return ImageCopy ? ImageCopy.get() : Image.get();
}

void TRPBackground::Draw(TCanvas& Canvas, const TRPBounds& R, int HOffs, int VOffs, int X, int Y, int Width,
                         int Height, TColor Color, bool Clipping) const {
    std::unique_ptr<TClipKeeper> clip;
    if (Clipping) clip = std::make_unique<TClipKeeper>(Canvas, ToRect(R));
    // Drawing happens relative to R's corner when clipping, else to (0, 0).
    const int ox = Clipping ? R.Left : 0;
    const int oy = Clipping ? R.Top : 0;
    TRPBounds r = R;
    r.Left -= X;
    r.Right -= X;
    r.Top -= Y;
    r.Bottom -= Y;
    const TGraphic* p = Shown();
    const bool hasPicture = p && !p->Empty();
    if (Color != clNone && (!hasPicture || p->Transparent() || Style == bsNoBitmap || Style == bsCentered)) {
        Canvas.Brush()->SetStyle(bsSolid);
        Canvas.Brush()->SetColor(ColorToRGB(Color));
        Canvas.FillRect(Rect(ox, oy, ox + (r.Right - r.Left), oy + (r.Bottom - r.Top)));
    }
    if (!hasPicture) return;
    const int w = p->Width(), h = p->Height();
    if (w <= 0 || h <= 0) return;
    auto at = [&](int x, int y, int cw, int ch) { return Bounds(ox + x - r.Left, oy + y - r.Top, cw, ch); };
    switch (Style) {
    case bsStretched:
        PutGraphic(Canvas, *p, at(0, 0, Width, Height));
        break;
    case bsTiled:
        for (int row = r.Top / h; row <= r.Bottom / h; ++row)
            for (int col = r.Left / w; col <= r.Right / w; ++col)
                PutGraphic(Canvas, *p, at(col * w, row * h, w, h));
        break;
    case bsTiledAndScrolled:
        for (int row = (r.Top + VOffs) / h; row <= (r.Bottom + VOffs) / h; ++row)
            for (int col = (r.Left + HOffs) / w; col <= (r.Right + HOffs) / w; ++col)
                PutGraphic(Canvas, *p, at(col * w - HOffs, row * h - VOffs, w, h));
        break;
    case bsCentered:
        PutGraphic(Canvas, *p, at((Width - w) / 2, (Height - h) / 2, w, h));
        break;
    default:
        break;
    }
}

void TRPBackground::DrawClipped(TCanvas& Canvas, const TRPBounds& VisibleRect, const TRPBounds& FullRect,
                                const TRPResolution& Resolution, TColor Color, bool Flag,
                                const void* LogPalette, TCustomRPData* RPData) const {
    (void)LogPalette;
    TClipKeeper clip(Canvas, ToRect(VisibleRect));
    const TGraphic* p = Shown();
    const bool hasPicture = p && !p->Empty();
    const bool transparent = hasPicture && p->Transparent();
    if (Color != clNone && (!hasPicture || transparent || Style == bsNoBitmap || Style == bsCentered)) {
        Canvas.Brush()->SetStyle(bsSolid);
        Canvas.Brush()->SetColor(ColorToRGB(Color));
        Canvas.FillRect(ToRect(VisibleRect));
    }
    if (!hasPicture || Style == bsNoBitmap) return;
    const int w = p->Width(), h = p->Height();
    const int dw = ScreenToDeviceX(w, Resolution), dh = ScreenToDeviceY(h, Resolution);
    if (w <= 0 || h <= 0 || dw <= 0 || dh <= 0) return;
    const bool needsBack = transparent && Color == clNone;

    // The picture on its background, in screen pixels; (docX, docY) is the
    // place of its corner on the canvas.
    auto makeWork = [&](int bw, int bh, int docX, int docY, bool stretch) {
        auto work = std::make_unique<TBitmap>(bw, bh);
        if (Color != clNone) {
            work->Canvas()->Brush()->SetColor(ColorToRGB(Color));
            work->Canvas()->FillRect(Rect(0, 0, bw, bh));
        } else if (needsBack && RPData) {
            RPData->DrawBackToBitmap(docX, docY, Flag, Color, Resolution, *work);
        }
        if (!transparent || Color != clNone || needsBack) {
            if (stretch)
                work->Canvas()->StretchDraw(Rect(0, 0, bw, bh), *p);
            else
                work->Canvas()->Draw(0, 0, *p);
        }
        return work;
    };

    const int fw = FullRect.Right - FullRect.Left, fh = FullRect.Bottom - FullRect.Top;
    switch (Style) {
    case bsStretched: {
        int sw = needsBack ? DeviceToScreenX(fw, Resolution) : w;
        int sh = needsBack ? DeviceToScreenY(fh, Resolution) : h;
        auto work = makeWork(std::max(1, sw), std::max(1, sh), FullRect.Left, FullRect.Top, needsBack);
        Canvas.StretchDraw(ToRect(FullRect), *work);
        break;
    }
    case bsTiled:
    case bsTiledAndScrolled: {
        const int top = VisibleRect.Top - FullRect.Top, bottom = VisibleRect.Bottom - FullRect.Top;
        const int left = VisibleRect.Left - FullRect.Left, right = VisibleRect.Right - FullRect.Left;
        std::unique_ptr<TBitmap> shared;
        for (int row = std::max(0, top / dh); row <= bottom / dh; ++row)
            for (int col = std::max(0, left / dw); col <= right / dw; ++col) {
                std::unique_ptr<TBitmap> own;
                TBitmap* work;
                if (needsBack) {
                    own = makeWork(w, h, FullRect.Left + col * dw, FullRect.Top + row * dh, false);
                    work = own.get();
                } else {
                    if (!shared) shared = makeWork(w, h, 0, 0, false);
                    work = shared.get();
                }
                Canvas.StretchDraw(Bounds(FullRect.Left + col * dw, FullRect.Top + row * dh, dw, dh), *work);
            }
        break;
    }
    case bsCentered: {
        const int x = (fw - dw) / 2, y = (fh - dh) / 2;
        auto work = makeWork(w, h, FullRect.Left + x, FullRect.Top + y, false);
        Canvas.StretchDraw(Bounds(FullRect.Left + x, FullRect.Top + y, dw, dh), *work);
        break;
    }
    default:
        break;
    }
}

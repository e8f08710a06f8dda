#pragma once
// The background of a view or a table cell: a fill colour given by the caller
// and an optional picture shown stretched, tiled, tiled and scrolled with the
// text, or centred, on screen and scaled for printing.
#include <cstdint>
#include <memory>

#include "richtext/model/RPItem.h"
#include "richtext/model/RPTypes.h"

class TCanvas;
class TGraphic;
class TBitmap;
class TCustomRPData;

enum TBackgroundStyle : uint8_t { bsNoBitmap, bsStretched, bsTiled, bsTiledAndScrolled, bsCentered };
enum TRPItemBackgroundStyle : uint8_t { rpbsColor, rpbsStretched, rpbsTiled, rpbsCentered };

class TRPBackground {
public:
    explicit TRPBackground(bool CreatePicture);
    ~TRPBackground();
    TRPBackground(const TRPBackground&) = delete;
    TRPBackground& operator=(const TRPBackground&) = delete;

    std::unique_ptr<TGraphic> ImageCopy; // the picture with the palette applied
    TBackgroundStyle Style = bsNoBitmap;
    std::unique_ptr<TGraphic> Image;

    TGraphic* GetBitmap() const { return Image.get(); }
    TRPItemBackgroundStyle GetItemBackStyle() const;
    void SetItemBackStyle(TRPItemBackgroundStyle Value);
    bool IsBlank() const;
    bool ScrollRequiresFullRedraw() const;
    void FreeImage();
    // Without Copy the background adopts Graphic; with it, a copy is made.
    // The previous picture is freed either way; nothing for the current one.
    void AssignImage(TGraphic* Graphic, TCustomRPData* RPData, bool Copy);
    void UpdatePaletted(TRPPaletteAction Action, void* Palette, const void* LogPalette);
    // R in canvas coordinates; (X, Y) the origin of the background area (of
    // Width x Height) on the canvas; HOffs, VOffs the scroll offsets. With
    // Clipping the painting is clipped to R, else the canvas holds R alone
    // with R's corner at (0, 0).
    void Draw(TCanvas& Canvas, const TRPBounds& R, int HOffs, int VOffs, int X, int Y, int Width, int Height,
              TColor Color, bool Clipping) const;
    // Printing: VisibleRect is the part to print, FullRect the whole area,
    // both in device units of the canvas. Under a transparent picture without
    // a colour the printed document paints what lies behind it
    // (TCustomRPData::DrawBackToBitmap, told the place on the canvas and
    // Flag).
    void DrawClipped(TCanvas& Canvas, const TRPBounds& VisibleRect, const TRPBounds& FullRect,
                     const TRPResolution& Resolution, TColor Color, bool Flag, const void* LogPalette,
                     TCustomRPData* RPData) const;

private:
    const TGraphic* Shown() const;
};

#include "richtext/rtf/RPRTFReaderProps.h"

#include <algorithm>

void TRPRTFCharProperties::Reset(int defFontIndex, int defLanguage) {
    *this = TRPRTFCharProperties{};
    FontIndex = defFontIndex;
    Language = defLanguage;
}

void TRPRTFCustomMarkerProperties::TakeCharProps(const TRPRTFCharProperties& cp) {
    if (!FixedFont) FontIndex = cp.FontIndex;
    if (!FixedSize) Size = cp.Size;
    if (!FixedColor) Color = cp.Color;
    constexpr uint8_t taken = rtffsBold | rtffsItalic | rtffsStrikeOut;
    Style = static_cast<uint8_t>((Style & ~taken) | (cp.Style & taken));
}

namespace {
TColor MixShading(TColor fill, TColor pattern, int shading) {
    if (fill == clNone) fill = clWhite;
    const TColor f = ColorToRGB(fill);
    const TColor p = ColorToRGB(pattern == clNone ? clBlack : pattern);
    auto mix = [&](int a, int b) { return ((10000 - shading) * a + shading * b) / 10000; };
    return RGB(mix(GetRValue(f), GetRValue(p)), mix(GetGValue(f), GetGValue(p)),
               mix(GetBValue(f), GetBValue(p)));
}
} // namespace

void TRPRTFParaProperties::ResolveShading() {
    if (Shading <= 0) return;
    ShadingFill = MixShading(ShadingFill, ShadingPattern, std::min(Shading, 10000));
    Shading = 0;
}

void TRPRTFRowProperties::Complete() {
    if (OpenCellPending && !Cells.empty()) Cells.pop_back();
    OpenCellPending = false;
    if (ShadingPending) {
        for (auto& c : Cells)
            if (c.Shading > 0) {
                c.Color = MixShading(c.Color, c.PatternColor, std::min(c.Shading, 10000));
                c.Shading = 0;
            }
        ShadingPending = false;
    }
}

namespace {
uint32_t Le32(const std::string& d, size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(d[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(d[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(d[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(d[at + 3])) << 24;
}
uint16_t Le16(const std::string& d, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(d[at]) | static_cast<unsigned char>(d[at + 1])
                                                                         << 8);
}
} // namespace

bool TRPRTFPicture::IsPlausible() const {
    constexpr int maxSide = 16384;
    constexpr int64_t maxPixels = int64_t(64) * 1024 * 1024;
    constexpr int maxGoal = maxSide * 15; // twips
    if (PicW < 0 || PicH < 0 || PicW > 20 * maxSide || PicH > 20 * maxSide) return false;
    if (PicWGoal < 0 || PicHGoal < 0 || PicWGoal > maxGoal || PicHGoal > maxGoal) return false;
    if (ScaleX <= 0 || ScaleY <= 0 || ScaleX > 10000 || ScaleY > 10000) return false;
    if (WidthPx > maxSide || HeightPx > maxSide) return false;
    if (Data.empty()) return false;
    switch (Kind) {
    case rtfpkDDB: {
        if (PicW <= 0 || PicH <= 0 || PicW > maxSide || PicH > maxSide || int64_t(PicW) * PicH > maxPixels)
            return false;
        if (Planes != 1 || (BitsPixel != 1 && BitsPixel != 4 && BitsPixel != 8 && BitsPixel != 16 &&
                            BitsPixel != 24 && BitsPixel != 32))
            return false;
        const int64_t minStride = (int64_t(PicW) * BitsPixel + 15) / 16 * 2;
        const int64_t stride = WidthBytes > 0 ? WidthBytes : minStride;
        if (stride < minStride) return false;
        return int64_t(Data.size()) >= stride * PicH;
    }
    case rtfpkDIB: {
        // Data holds the info header, the palette and the rows.
        if (Data.size() < 40) return false;
        const uint32_t hdr = Le32(Data, 0);
        if (hdr < 40 || hdr > Data.size()) return false;
        const int32_t w = static_cast<int32_t>(Le32(Data, 4));
        int32_t h = static_cast<int32_t>(Le32(Data, 8));
        if (h == INT32_MIN) return false;
        h = h < 0 ? -h : h;
        const int bits = Le16(Data, 14);
        const uint32_t compression = Le32(Data, 16);
        if (w <= 0 || h <= 0 || w > maxSide || h > maxSide || int64_t(w) * h > maxPixels) return false;
        if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
        if (compression != 0 && compression != 3) return true; // run-length data: the decoder checks it
        uint32_t colors = Le32(Data, 32);
        if (colors == 0 && bits <= 8) colors = 1u << bits;
        if (colors > 256 && bits <= 8) return false;
        const int64_t stride = (int64_t(w) * bits + 31) / 32 * 4;
        const int64_t need = int64_t(hdr) + (compression == 3 ? 12 : 0) + int64_t(colors) * 4 + stride * h;
        return int64_t(Data.size()) >= need;
    }
    case rtfpkWMF:
        return Data.size() >= 18;
    default:
        return true;
    }
}

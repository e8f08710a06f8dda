#pragma once
// Items that are not text: horizontal rules, pictures and picture links,
// inserted controls, image-list pictures and image-list links, and the
// printing piece of pictures and controls sliced over pages.
#include <cstdint>
#include <memory>
#include <string>

#include "richtext/model/RPDrawLines.h"
#include "richtext/model/RPItem.h"

class TCustomImageList;
class TWinControl;

// Places a control at the top kept in its Tag (-10000 .. 10000); the scroller sets it.
using TRPApplyControlTopProc = void (*)(TControl* Control);
void SetApplyControlTopFromTagProc(TRPApplyControlTopProc Proc);

class TRPBreakItemInfo : public TRPFullLineItemInfo {
public:
    uint8_t LineWidth = 1;
    uint8_t Style = 0;     // 0 line, 1 rectangle, 2 three-dimensional frame
    TColor Color = clNone; // clNone: the colour of text style 0

    using TRPFullLineItemInfo::TRPFullLineItemInfo;
    static const TRPItemClass ClassInfo;
    const TRPItemClass& ItemClass() const override { return ClassInfo; }
    void SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo, const std::string& Name,
                 void* Part, bool ForceContinue) const override;
    void SaveRTF(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text, double TwipsPerPixel,
                 int Level, TRPRTFTables& Tables) const override;
    void FillRTFTables(TRPColorList& ColorList, TRPIntegerList& ListOverrideCount,
                       TCustomRPData* RPData) const override;
    void SaveHTML(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                  const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo, TColor BackColor,
                  TRPHTMLSaveOptions Options, bool UseCSS, TRPHTMLBulletList& Bullets) const override;

    bool GetBoolValue(int Id) const override;
    bool GetBoolValueEx(int Id, const TRPStyle* RPStyle) const override;
    void PaintFullWidth(int Left, int Right, int Top, TCanvas* Canvas, TRPTextDrawStates State,
                        const TRPStyle* RPStyle, const TRPBounds& ClipRect, TCustomRPData* RPData) override;
    void Print(TCanvas* Canvas, int x, int y, TCustomRPData* RPData, TRPColorMode ColorMode, int PartIndex,
               TRPDrawLineInfo* DrawItem, const TRPResolution& sad, bool Preview) override;
    void GetRPFExtraText(TCustomRPData* RPData, std::string& s) const override;
    bool ReadRPFHeaderExtra(std::string& s, TCustomRPData* RPData) override;
    void AssignItem(const TCustomRPItemInfo& Source) override;
    std::string GetPlainText(int LineWidth, TCustomRPData* RPData, bool Unicode, bool TextOnly,
                             const std::string& Path, const std::string& ItemText) override;

    // Draws the rule from x1 to x2 at y with the given pen width and colour;
    // a frame's rings take the shadow and face colours.
    void DrawRule(TCanvas& Canvas, int x1, int x2, int y, int Width, TColor RuleColor, TColor ShadowColor,
                  TColor FaceColor) const;
};

class TRPGraphicItemInfo : public TRPRectItemInfo {
public:
    std::unique_ptr<TGraphic> Image;
    std::unique_ptr<TGraphic> ImageCopy;
    int32_t ImageWidth = 0; // below 1: the graphic's own
    int32_t ImageHeight = 0;
    std::string Alt;
    std::string ImageFileName;

    explicit TRPGraphicItemInfo(TCustomRPData* RPData);
    ~TRPGraphicItemInfo() override;
    // A picture read from a file larger than a picture may be on a side is
    // given a size inside the range, in its own proportions.
    void FitInReadLimits();
    static const TRPItemClass ClassInfo;
    const TRPItemClass& ItemClass() const override { return ClassInfo; }
    void SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo, const std::string& Name,
                 void* Part, bool ForceContinue) const override;
    void SaveRTF(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text, double TwipsPerPixel,
                 int Level, TRPRTFTables& Tables) const override;
    void SaveHTML(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                  const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo, TColor BackColor,
                  TRPHTMLSaveOptions Options, bool UseCSS, TRPHTMLBulletList& Bullets) const override;
    bool ReadRPFLine(const std::string& s, TCustomRPData* RPData, TRPFLineInfo& Line) override;
    static std::unique_ptr<TRPGraphicItemInfo> CreateEx(TCustomRPData* RPData,
                                                        std::unique_ptr<TGraphic> Graphic, uint8_t VAlign);

    int GetMinWidth(const TRPResolution* sad, TCanvas* Canvas, TCustomRPData* RPData) override;
    TGraphic* GetGraphic() override { return Image.get(); }
    bool GetBoolValue(int Id) const override;
    bool GetBoolValueEx(int Id, const TRPStyle* RPStyle) const override;
    void Paint(int x, int y, TCanvas* Canvas, TRPTextDrawStates State, const TRPStyle* RPStyle,
               TRPDrawLineInfo* DrawItem) override;
    bool PrintToBitmap(TBitmap* Bitmap, bool Preview, TCustomRPData* RPData, TRPColorMode ColorMode,
                       int PartIndex, TRPDrawLineInfo* DrawItem) override;
    void Print(TCanvas* Canvas, int x, int y, TCustomRPData* RPData, TRPColorMode ColorMode, int PartIndex,
               TRPDrawLineInfo* DrawItem, const TRPResolution& sad, bool Preview) override;
    int GetImageWidth(const TRPStyle* RPStyle) const override;
    int GetImageHeight(const TRPStyle* RPStyle) const override;
    std::unique_ptr<TRPDrawLineInfo> CreatePrintingDrawItem(TCustomRPData* RPData,
                                                            const TRPResolution& sad) override;
    int GetHeight() const override { return GetImageHeight(nullptr) + 2 * Spacing; }
    int GetWidth() const override { return GetImageWidth(nullptr) + 2 * Spacing; }

    int GetRPFExtraPropertyCount() const override;
    void SaveRPFExtraProperties(std::string& Stream) const override;
    void AssignItem(const TCustomRPItemInfo& Source) override;
    void UpdatePaletteInfo(TRPPaletteAction Action, bool ForceRecreateCopy, void* Palette,
                           const void* LogPalette) override;
    void DetachForUndo(int ItemNo, TCustomRPData* RPData) override;
    bool SetExtraIntProperty(int Prop, int Value) override;
    bool GetExtraIntProperty(int Prop, int& Value) const override;
    bool SetExtraStrProperty(int Prop, const std::string& Value) override;
    bool GetExtraStrProperty(int Prop, std::string& Value) const override;
};

class TRPHotGraphicItemInfo : public TRPGraphicItemInfo {
public:
    explicit TRPHotGraphicItemInfo(TCustomRPData* RPData);
    static const TRPItemClass ClassInfo;
    const TRPItemClass& ItemClass() const override { return ClassInfo; }
    static std::unique_ptr<TRPHotGraphicItemInfo> CreateEx(TCustomRPData* RPData,
                                                           std::unique_ptr<TGraphic> Graphic, uint8_t VAlign);

    bool GetBoolValueEx(int Id, const TRPStyle* RPStyle) const override;
    bool IsHotJump(TCustomRPData* RPData) const override;
};

class TRPControlItemInfo : public TRPRectItemInfo {
public:
    bool Resizable = false;
    std::unique_ptr<TControl> Control;
    int32_t PercentWidth = 0; // 1..100: the width follows the document width

    explicit TRPControlItemInfo(TCustomRPData* RPData);
    ~TRPControlItemInfo() override;
    static const TRPItemClass ClassInfo;
    const TRPItemClass& ItemClass() const override { return ClassInfo; }
    void SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo, const std::string& Name,
                 void* Part, bool ForceContinue) const override;
    void SaveRTF(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text, double TwipsPerPixel,
                 int Level, TRPRTFTables& Tables) const override;
    void SaveHTML(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                  const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo, TColor BackColor,
                  TRPHTMLSaveOptions Options, bool UseCSS, TRPHTMLBulletList& Bullets) const override;
    bool ReadRPFLine(const std::string& s, TCustomRPData* RPData, TRPFLineInfo& Line) override;

    int GetMinWidth(const TRPResolution* sad, TCanvas* Canvas, TCustomRPData* RPData) override;
    bool GetBoolValue(int Id) const override;
    bool GetBoolValueEx(int Id, const TRPStyle* RPStyle) const override;
    void Paint(int x, int y, TCanvas* Canvas, TRPTextDrawStates State, const TRPStyle* RPStyle,
               TRPDrawLineInfo* DrawItem) override;
    bool PrintToBitmap(TBitmap* Bitmap, bool Preview, TCustomRPData* RPData, TRPColorMode ColorMode,
                       int PartIndex, TRPDrawLineInfo* DrawItem) override;
    int GetImageWidth(const TRPStyle* RPStyle) const override;
    int GetImageHeight(const TRPStyle* RPStyle) const override;
    std::unique_ptr<TRPDrawLineInfo> CreatePrintingDrawItem(TCustomRPData* RPData,
                                                            const TRPResolution& sad) override;
    void Inserting(TCustomRPData* RPData, std::string& Text, bool Safe) override;
    void AdjustToDocWidth(int DocWidth, TRPDrawLineInfo* DrawItem, bool PrintLayout, TCanvas* Canvas,
                          TCustomRPData* RPData, const TRPResolution* sad, int& Descent, int& XOffset,
                          bool OnlyMeasure, bool Force = false) override;
    int GetHeight() const override { return GetImageHeight(nullptr) + 2 * Spacing; }
    int GetWidth() const override { return GetImageWidth(nullptr) + 2 * Spacing; }
    void PlaceAt(int x, int y, bool ApplyTop) override;

    int GetRPFExtraPropertyCount() const override;
    void SaveRPFExtraProperties(std::string& Stream) const override;
    void AssignItem(const TCustomRPItemInfo& Source) override;
    bool OwnsControl(const TControl* C) const override { return C && C == Control.get(); }
    std::string GetPlainText(int LineWidth, TCustomRPData* RPData, bool Unicode, bool TextOnly,
                             const std::string& Path, const std::string& ItemText) override;
    void DetachForUndo(int ItemNo, TCustomRPData* RPData) override;
    void ReattachFromUndo(TCustomRPData* RPData) override;
    void FocusControl() override;
    bool SetExtraIntProperty(int Prop, int Value) override;
    bool GetExtraIntProperty(int Prop, int& Value) const override;

private:
    TWinControl* FWinControl() const;
};

class TRPBulletItemInfo : public TRPRectItemInfo {
public:
    TCustomImageList* ImageList = nullptr; // not owned
    int32_t ImageIndex = 0;

    using TRPRectItemInfo::TRPRectItemInfo;
    static const TRPItemClass ClassInfo;
    const TRPItemClass& ItemClass() const override { return ClassInfo; }
    void GetRPFExtraText(TCustomRPData* RPData, std::string& s) const override;
    void SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo, const std::string& Name,
                 void* Part, bool ForceContinue) const override;
    void SaveRTF(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text, double TwipsPerPixel,
                 int Level, TRPRTFTables& Tables) const override;
    void SaveHTML(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                  const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo, TColor BackColor,
                  TRPHTMLSaveOptions Options, bool UseCSS, TRPHTMLBulletList& Bullets) const override;
    bool ReadRPFLine(const std::string& s, TCustomRPData* RPData, TRPFLineInfo& Line) override;
    bool ReadRPFHeaderExtra(std::string& s, TCustomRPData* RPData) override;

    int GetMinWidth(const TRPResolution* sad, TCanvas* Canvas, TCustomRPData* RPData) override;
    bool GetBoolValue(int Id) const override;
    void Paint(int x, int y, TCanvas* Canvas, TRPTextDrawStates State, const TRPStyle* RPStyle,
               TRPDrawLineInfo* DrawItem) override;
    bool PrintToBitmap(TBitmap* Bitmap, bool Preview, TCustomRPData* RPData, TRPColorMode ColorMode,
                       int PartIndex, TRPDrawLineInfo* DrawItem) override;
    int GetImageWidth(const TRPStyle* RPStyle) const override;
    int GetImageHeight(const TRPStyle* RPStyle) const override;
    int GetHeight() const override { return GetImageHeight(nullptr) + 2 * Spacing; }
    int GetWidth() const override { return GetImageWidth(nullptr) + 2 * Spacing; }
    virtual int GetImageIndex(bool Hot) const { return (void)Hot, ImageIndex; }
    void AssignItem(const TCustomRPItemInfo& Source) override;
};

class TRPHotspotItemInfo : public TRPBulletItemInfo {
public:
    int32_t HotImageIndex = 0;

    using TRPBulletItemInfo::TRPBulletItemInfo;
    static const TRPItemClass ClassInfo;
    const TRPItemClass& ItemClass() const override { return ClassInfo; }
    void GetRPFExtraText(TCustomRPData* RPData, std::string& s) const override;
    void SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo, const std::string& Name,
                 void* Part, bool ForceContinue) const override;

    bool GetBoolValueEx(int Id, const TRPStyle* RPStyle) const override;
    int GetImageIndex(bool Hot) const override { return Hot ? HotImageIndex : ImageIndex; }
    void AssignItem(const TCustomRPItemInfo& Source) override;
    bool IsHotJump(TCustomRPData* RPData) const override;
};

// One printed slice of a picture or control.
class TRPImagePrintPart : public TRPMultiDrawItemPart {
public:
    int ImgTop = 0;    // screen units
    int ImgHeight = 0; // screen units
    int GetImageTop() const override { return ImgTop; }
};

// The printing piece of a picture or control that may be sliced over pages.
class TRPMultiImagePrintInfo : public TRPMultiDrawItemInfo {
public:
    TRPMultiImagePrintInfo(TRPRectItemInfo* Item, const TRPResolution& sad);

    TRPRectItemInfo* Item;
    TRPResolution Resolution;
    int DeviceWidth = 0;
    int DeviceHeight = 0;

    bool InitSplit() override;
    bool CanSplitFirst(int Y) override;
    bool SplitAt(int Y) override;
    TRPImagePrintPart* GetPart(int Index) const;

private:
    int ItemHeight() const;
};

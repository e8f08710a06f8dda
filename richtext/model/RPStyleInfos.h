#pragma once
// Text and paragraph styles and their collections. Items refer to styles by
// index; the style component owns one collection of each kind.
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "richtext/model/RPLists.h"
#include "richtext/model/RPTypes.h"

class TRPStyle;
class TCustomRPInfos;
class TCanvas;
class TFont;
class TFontInfos;

// Base of text, paragraph and list styles.
class TCustomRPInfo {
public:
    TCustomRPInfo() = default;
    virtual ~TCustomRPInfo() = default;
    TCustomRPInfo(const TCustomRPInfo&) = delete;
    TCustomRPInfo& operator=(const TCustomRPInfo&) = delete;

    int BaseStyleNo = -1;
    std::string StyleName;
    bool Standard = true;

    // Copies the properties of a style of the same kind (the base part for other kinds).
    virtual void Assign(const TCustomRPInfo& Source);
    virtual std::string GetDisplayName() const { return StyleName; }
    virtual bool EqualsBasic(const TCustomRPInfo& Other, bool IgnoreReferences) const = 0;
    // Mapping maps indices of Other's style set to this set. May drop a dangling
    // reference of Other (set to -1).
    virtual bool EqualsWithMapping(TCustomRPInfo& Other, const TRPIntegerList& Mapping) const = 0;
    virtual int SimilarityScore(const TCustomRPInfo& Other) const = 0;

    TCustomRPInfos* Collection() const { return FCollection; }
    // Position in the collection, -1 when in none.
    int Index() const;

private:
    friend class TCustomRPInfos;
    TCustomRPInfos* FCollection = nullptr;
};

// Offsets around a rectangle.
class TRPRect {
public:
    int Top = 0;
    int Left = 0;
    int Right = 0;
    int Bottom = 0;

    void Assign(const TRPRect& Source) { *this = Source; }
    void SetAll(int Value) { Top = Left = Right = Bottom = Value; }
    void AssignToRect(TRPBounds& R) const;
    void AssignToRectIfGreater(TRPBounds& R) const;
    void InflateRect(TRPBounds& R) const;
    void InflateRectScaled(TRPBounds& R, const TRPResolution& Resolution) const;
    bool IsEqual(const TRPRect& Other) const;
    bool IsEqualEx(const TRPRect& Other, bool IgnoreLeft, bool IgnoreBottom, bool IgnoreRight,
                   bool IgnoreTop) const;
    int SimilarityValue(const TRPRect& Other, int Weight) const;
    // Offsets of a border or background read from a file, in their range.
    void KeepInReadLimits();
};

// Which sides of a rectangle are on.
class TRPBooleanRect {
public:
    bool Top = true;
    bool Left = true;
    bool Right = true;
    bool Bottom = true;

    TRPBooleanRect() = default;
    explicit TRPBooleanRect(bool Value) { SetAll(Value); }
    void Assign(const TRPBooleanRect& Source) { *this = Source; }
    void SetAll(bool Value) { Top = Left = Right = Bottom = Value; }
    void SetValues(bool ALeft, bool ATop, bool ARight, bool ABottom);
    bool IsEqual(const TRPBooleanRect& Other) const;
    bool IsEqualValues(bool ALeft, bool ATop, bool ARight, bool ABottom) const;
    bool IsAllEqual(bool Value) const;
    bool IsEqualEx(const TRPBooleanRect& Other, bool IgnoreLeft, bool IgnoreBottom, bool IgnoreRight,
                   bool IgnoreTop) const;
};

// Border of a paragraph.
class TRPBorder {
public:
    TColor Color = clWindowText;
    TRPBorderStyle Style = rpbNone;
    int Width = 1;
    int InternalWidth = 1;
    TRPBooleanRect VisibleBorders;
    TRPRect BorderOffsets;

    void Assign(const TRPBorder& Source) { *this = Source; }
    int GetTotalWidth() const;
    bool IsEqual(const TRPBorder& Other) const;
    // Mask bits 0 colour, 1 style, 2 width, 3 internal width, 4..7 offsets
    // left, top, right, bottom, 8..11 visible sides left, top, right, bottom.
    bool IsEqualExcept(const TRPBorder& Other, uint32_t IgnoreMask) const;
    int SimilarityValue(const TRPBorder& Other) const;
    // Widths and offsets read from a file, in their ranges (a negative width
    // means nothing).
    void KeepInReadLimits();

    // Drawing around a paragraph's text rectangle (enlarged by BorderOffsets).
    void Draw(const TRPBounds& Rect, TCanvas& Canvas) const;
    void DrawScaled(const TRPBounds& Rect, TCanvas& Canvas, TRPColorMode ColorMode,
                    const TRPResolution& Resolution) const;
    void DrawRect(const TRPBounds& Rect, TCanvas& Canvas, TRPColorMode ColorMode, int OnePixel,
                  int AInternalWidth, int AWidth) const;
};

// Background of a paragraph.
class TRPBackgroundRect {
public:
    TRPRect BorderOffsets;
    TColor Color = clNone;

    void Assign(const TRPBackgroundRect& Source) { *this = Source; }
    void PrepareDraw(TRPBounds& R) const { BorderOffsets.InflateRect(R); }
    void PrepareDrawScaled(TRPBounds& R, const TRPResolution& Resolution) const {
        BorderOffsets.InflateRectScaled(R, Resolution);
    }
    bool IsEqual(const TRPBackgroundRect& Other) const;
    // Mask bits 0 colour, 1..4 offsets left, top, right, bottom.
    bool IsEqualExcept(const TRPBackgroundRect& Other, uint32_t IgnoreMask) const;
    int SimilarityValue(const TRPBackgroundRect& Other) const;
    void Draw(const TRPBounds& Rect, TCanvas& Canvas, TRPColorMode ColorMode, bool Printing) const;
};

// Bits of the ignore masks of TFontInfo::IsEqualExcept.
namespace RPFontInfoMask {
constexpr uint32_t FontName = 1u << 0, Size = 1u << 1, Charset = 1u << 2, Unicode = 1u << 3, Bold = 1u << 4,
                   Italic = 1u << 5, Underline = 1u << 6, StrikeOut = 1u << 7, Overline = 1u << 8,
                   AllCaps = 1u << 9, VShift = 1u << 10, Color = 1u << 11, BackColor = 1u << 12,
                   Jump = 1u << 13, HoverBackColor = 1u << 14, HoverColor = 1u << 15, JumpCursor = 1u << 16,
                   NextStyleNo = 1u << 17, Protection = 1u << 18, CharScale = 1u << 19,
                   BaseStyleNo = 1u << 20, BiDiMode = 1u << 21, CharSpacing = 1u << 22, HTMLCode = 1u << 23,
                   RTFCode = 1u << 24;
} // namespace RPFontInfoMask

// Bits of the ignore masks of TParaInfo::IsEqualExcept.
namespace RPParaInfoMask {
constexpr uint32_t FirstIndent = 1u << 0, LeftIndent = 1u << 1, RightIndent = 1u << 2, SpaceBefore = 1u << 3,
                   SpaceAfter = 1u << 4, Alignment = 1u << 5, NextParaNo = 1u << 6, DefStyleNo = 1u << 7,
                   LineSpacing = 1u << 8, LineSpacingType = 1u << 9, BackColor = 1u << 10,
                   BackOffsetLeft = 1u << 11, BackOffsetTop = 1u << 12, BackOffsetRight = 1u << 13,
                   BackOffsetBottom = 1u << 14, BorderColor = 1u << 15, BorderStyle = 1u << 16,
                   BorderWidth = 1u << 17, BorderInternalWidth = 1u << 18, BorderOffsetLeft = 1u << 19,
                   BorderOffsetTop = 1u << 20, BorderOffsetRight = 1u << 21, BorderOffsetBottom = 1u << 22,
                   VisibleLeft = 1u << 23, VisibleTop = 1u << 24, VisibleRight = 1u << 25,
                   VisibleBottom = 1u << 26, NoWrap = 1u << 27, ReadOnly = 1u << 28, StyleProtect = 1u << 29,
                   DoNotWantReturns = 1u << 30, BiDiMode = 1u << 31;
} // namespace RPParaInfoMask

// A text style: how a run of characters looks.
class TFontInfo : public TCustomRPInfo {
public:
    TFontInfo();

    TRPBiDiMode BiDiMode = rpbdUnspecified;
    bool Jump = false;
    int16_t JumpCursor = crRPJump;
    std::string FontName = "Arial";
    int Size = 10;
    TColor Color = clWindowText;
    TColor BackColor = clNone;
    TColor HoverColor = clNone;
    TColor HoverBackColor = clNone;
    TRPFontStyleSet Style = 0;
    TRPFontStyles StyleEx = 0;
    int VShift = 0;
    int NextStyleNo = -1;
    uint8_t Charset = rpDefaultCharset;
    bool Unicode = false;
    TRPProtectOptions Protection = 0;
    TRPTextOptions Options = 0;
    int CharScale = 100;
    int CharSpacing = 0;

    void Assign(const TCustomRPInfo& Source) override;
    bool EqualsBasic(const TCustomRPInfo& Other, bool IgnoreReferences) const override;
    bool EqualsWithMapping(TCustomRPInfo& Other, const TRPIntegerList& Mapping) const override;
    int SimilarityScore(const TCustomRPInfo& Other) const override;
    bool IsEqualExcept(const TFontInfo& Other, uint32_t IgnoreMask) const;
    // Reads the obsolete "SingleSymbols" property of old streams.
    void ReadSingleSymbols(bool Value);
    // Size, shift, scale and spacing read from a file, in their ranges.
    void KeepInReadLimits();

    // Name, size, colour, style and charset from a font.
    void AssignFromFont(const TFont& Font);
    // Name, size, colour, style, and the charset unless the style is Unicode.
    void AssignTo(TFont& Font) const;
    // A font description from the style alone: the height at the collection's
    // resolution (the canvas font's when that is 0); the colour stays black.
    void AssignToLogFont(TFont& LogFont, const TCanvas& Canvas) const;
    // Puts the style's font onto the canvas.
    void Apply(TCanvas& Canvas, TRPBiDiMode DefBiDiMode) const;
    // Text and background colours by draw state, printing and colour mode.
    void ApplyColor(TCanvas& Canvas, const TRPStyle& RPStyle, TRPTextDrawStates DrawState, bool Printing,
                    TRPColorMode ColorMode) const;
    // The default drawing of a run of item text (code-page bytes, or UTF-16
    // for a Unicode style) at (Left + SpaceBefore, Top). MeasuredWidth is the
    // run's width as the layout measured it on this canvas font, or -1: the
    // run is then measured here.
    void DrawText(const std::string& s, TCanvas& Canvas, TRPBiDiMode DefBiDiMode, bool Printing, bool Justify,
                  TRPTextDrawStates DrawState, TRPStyle* RPStyle, int Left, int Top, int Width, int Height,
                  int SpaceBefore, int StyleNo, int MeasuredWidth = -1) const;
    // The run's text as Qt measures and paints it.
    QString DisplayText(const std::string& s) const;
    // The resolution that point sizes are turned into pixels with.
    int PixelsPerInchFor(const TCanvas& Canvas) const;
};

// A paragraph style: indents, spacing, alignment, border and background.
class TParaInfo : public TCustomRPInfo {
public:
    TParaInfo();

    int FirstIndent = 0;
    int LeftIndent = 0;
    int RightIndent = 0;
    int SpaceBefore = 0;
    int SpaceAfter = 0;
    int LineSpacing = 100;
    TRPLineSpacingType LineSpacingType = rplsPercent;
    TRPAlignment Alignment = rpaLeft;
    TRPBorder Border;
    int NextParaNo = -1;
    TRPBackgroundRect Background;
    TRPParaOptions Options = 0;
    TRPBiDiMode BiDiMode = rpbdUnspecified;
    int DefStyleNo = -1;

    void Assign(const TCustomRPInfo& Source) override;
    bool HasExtraLineSpacing() const;
    // The percentage of its text height a line takes as formatted.
    int ShownLineSpacingPercent() const;
    bool EqualsBasic(const TCustomRPInfo& Other, bool IgnoreReferences) const override;
    bool EqualsWithMapping(TCustomRPInfo& Other, const TRPIntegerList& Mapping) const override;
    int SimilarityScore(const TCustomRPInfo& Other) const override;
    bool IsEqualExcept(const TParaInfo& Other, uint32_t IgnoreMask) const;
    // Indents, spaces, line spacing, border and background read from a file,
    // in their ranges: negative spaces mean nothing, and neither does
    // negative line spacing of either kind.
    void KeepInReadLimits();
};

// A line spacing of Percent as formatted: below 50 a percentage adds nothing.
int RPShownLineSpacingPercent(int Percent);

// Makes a new, empty style of a collection's kind.
using TRPInfoFactory = std::function<std::unique_ptr<TCustomRPInfo>()>;

// Base of the style collections.
class TCustomRPInfos {
public:
    TCustomRPInfos(TRPStyle* Owner, TRPInfoFactory Factory);
    virtual ~TCustomRPInfos();
    TCustomRPInfos(const TCustomRPInfos&) = delete;
    TCustomRPInfos& operator=(const TCustomRPInfos&) = delete;

    TRPStyle* GetOwner() const { return FOwner; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // The style at Index, or nullptr outside 0 .. Count - 1.
    TCustomRPInfo* At(int Index) const;
    int IndexOf(const TCustomRPInfo* Item) const;
    // Appends a new style of the collection's kind.
    TCustomRPInfo* AddInfo();
    void Delete(int Index);
    virtual void Clear();
    // Replaces the styles by copies of Source's.
    void Assign(const TCustomRPInfos& Source);
    // The style names in order.
    void AssignTo(std::vector<std::string>& Strings) const;

    // Merges an imported style set into this one; Mapping gets one target index
    // per source style. Modes: 0 reuse equal styles, else add; 1 map to the
    // closest; 2 add all.
    void MergeWith(TCustomRPInfos& Source, int Mode, TRPIntegerList& Mapping,
                   const TRPIntegerList* TextStyleMapping);

protected:
    // Whether a target style is a candidate in stage Stage of the closest-style
    // search (text styles narrow the search by link and Unicode first).
    virtual int SearchStageCount() const { return 1; }
    virtual bool IsStageCandidate(int Stage, const TCustomRPInfo& Src, const TCustomRPInfo& Target) const;
    // Extra condition of the reuse search (list styles: the target is not taken).
    virtual bool KeepsTakenTargets() const { return false; }
    virtual bool MarksTaken(const TCustomRPInfo& Src) const;
    // Translates the references of a style appended by a merge.
    virtual void AdjustMergedStyle(TCustomRPInfo& Style, const TRPIntegerList& Mapping,
                                   const TRPIntegerList* TextStyleMapping) const;

    TRPStyle* FOwner;
    TRPInfoFactory FFactory;
    std::vector<std::unique_ptr<TCustomRPInfo>> FItems;

private:
    int AppendCopyOf(const TCustomRPInfo& Src);
    int FindClosest(const TCustomRPInfo& Src) const;
};

// The text styles.
class TFontInfos : public TCustomRPInfos {
public:
    explicit TFontInfos(TRPStyle* Owner = nullptr, TRPInfoFactory Factory = nullptr);
    ~TFontInfos() override;

    // Resolution for point sizes (0: the canvas font's).
    int PixelsPerInch = 0;

    TFontInfo* Add();
    // The style at Index; any other index gives the fallback style (white on red).
    TFontInfo* GetItem(int Index) const;
    TFontInfo* operator[](int Index) const { return GetItem(Index); }
    int FindStyleWithCharset(int BaseStyleNo, uint8_t Charset) const;

protected:
    int SearchStageCount() const override { return 4; }
    bool IsStageCandidate(int Stage, const TCustomRPInfo& Src, const TCustomRPInfo& Target) const override;
    void AdjustMergedStyle(TCustomRPInfo& Style, const TRPIntegerList& Mapping,
                           const TRPIntegerList* TextStyleMapping) const override;

private:
    mutable std::unique_ptr<TFontInfo> FInvalidItem;
};

// The paragraph styles.
class TParaInfos : public TCustomRPInfos {
public:
    explicit TParaInfos(TRPStyle* Owner = nullptr, TRPInfoFactory Factory = nullptr);
    ~TParaInfos() override;

    TParaInfo* Add();
    // The style at Index; any other index gives the fallback style (red border).
    TParaInfo* GetItem(int Index) const;
    TParaInfo* operator[](int Index) const { return GetItem(Index); }
    // Index of a style equal to Style on the properties in Mask, trying
    // BaseStyleNo first; -1 when none.
    int FindEqualStyle(int BaseStyleNo, const TParaInfo& Style, uint32_t Mask) const;

protected:
    void AdjustMergedStyle(TCustomRPInfo& Style, const TRPIntegerList& Mapping,
                           const TRPIntegerList* TextStyleMapping) const override;

private:
    mutable std::unique_ptr<TParaInfo> FInvalidItem;
};

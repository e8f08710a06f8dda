#pragma once
// Property records of the RTF reader: what the formatting control words of the
// current group set, and the tables that the document header defines. The
// importer reads them from inside the reader's events.
#include "platform/Colors.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The automatic colour of RTF: the window-text colour of the platform.
constexpr TColor RTFAutoColor = clWindowText;

enum TRPRTFFontStyle : uint8_t { rtffsBold = 1, rtffsItalic = 2, rtffsUnderline = 4, rtffsStrikeOut = 8 };

struct TRPRTFCharProperties {
    bool Hidden = false;
    int Size = 12; // points
    TColor Color = RTFAutoColor;
    TColor BackColor = clNone;
    int FontIndex = 0;
    uint8_t Style = 0; // TRPRTFFontStyle bits
    bool AllCaps = false;
    int CharScale = 100;
    int VShift = 0;    // 0 none, 1 subscript, 2 superscript
    int Expansion = 0; // twips
    int Language = 0;
    std::string FontNameOverride;

    void Reset(int defFontIndex, int defLanguage);
    bool operator==(const TRPRTFCharProperties&) const = default;
};

struct TRPRTFBorderSide {
    int Type = 0;
    int Width = 0;
    TColor Color = clNone;
    int Spacing = 0;
    bool operator==(const TRPRTFBorderSide&) const = default;
};

// Sides: 0 left, 1 top, 2 right, 3 bottom; a side exists once a word named it.
struct TRPRTFParaBorder {
    std::array<std::optional<TRPRTFBorderSide>, 4> Sides;
    TRPRTFBorderSide& Side(int i) {
        if (!Sides[i]) Sides[i].emplace();
        return *Sides[i];
    }
    int TypeOf(int i) const { return Sides[i] ? Sides[i]->Type : 0; }
    bool HasType() const { return TypeOf(0) || TypeOf(1) || TypeOf(2) || TypeOf(3); }
    bool operator==(const TRPRTFParaBorder&) const = default;
};

// Kinds of numbering: 0 none, 1 decimal, 2 lower letters, 3 upper letters,
// 4 lower roman, 5 upper roman, 6 bullet.
struct TRPRTFCustomMarkerProperties {
    int Kind = 0;
    int FontIndex = -1;
    int Indent = 0;
    int Space = 0;
    int Start = 0;
    uint8_t Style = 0;
    TColor Color = RTFAutoColor;
    int Alignment = 0; // 0 left, 1 right, 2 centre
    bool FixedFont = false, FixedSize = false, FixedColor = false;
    int Size = 12;

    // Follows the text unless the numbering fixed it.
    void TakeCharProps(const TRPRTFCharProperties& cp);
};

// Old-style numbering (\pn).
struct TRPRTFMarkerProperties : TRPRTFCustomMarkerProperties {
    int Level = 0;
    // The paragraph goes on in numbered ones without a number of its own (\pnlvlcont).
    bool Continues = false;
    bool Hanging = false;
    std::string TextAfter, TextBefore;
};

struct TRPRTFParaProperties {
    int LeftIndent = 0, RightIndent = 0, FirstIndent = 0;
    int SpaceBefore = 0, SpaceAfter = 0;
    int Alignment = 0; // 0 left, 1 right, 2 centre, 3 justify
    std::optional<TRPRTFParaBorder> Border;
    // Shared so that saving a group state does not copy the numbering texts.
    std::shared_ptr<TRPRTFMarkerProperties> Marker;
    int CurBorderSide = 0;
    int LineSpacing = 240;
    // \sl alone is a height in twips (at least, or exactly when negative),
    // not a multiple of single spacing.
    bool LineSpacingMulti = false;
    TColor ShadingFill = clNone;
    int NestingLevel = 1;
    bool InTable = false;
    int Shading = 0; // hundredths of a percent
    TColor ShadingPattern = 0;
    int ListOverrideIndex = -1;
    int ListLevel = 0;
    bool NoOverlap = false;

    // Mixes the fill with the pattern colour once; the shading is used up.
    void ResolveShading();
    TRPRTFParaBorder& GetBorder() {
        if (!Border) Border.emplace();
        return *Border;
    }
};

struct TRPRTFSectionProperties {
    int Columns = 1;
    int SectionBreak = 4;
    int PageNumberX = 720, PageNumberY = 720;
    int PageNumberFormat = 0;
    int HeaderY = 720, FooterY = 720;
};

// Levels 1..11 of the section's numbering. They are set in groups of their own
// and must outlive them, so the reader keeps them outside the group states.
using TRPRTFSectionNumbering = std::array<TRPRTFMarkerProperties, 11>;

struct TRPRTFDocProperties {
    int PaperWidth = 12240, PaperHeight = 15480;
    int LeftMargin = 1800, TopMargin = 1440, RightMargin = 1800, BottomMargin = 1440;
    int PageNumberStart = 1;
    bool FacingPages = false, Landscape = false;
};

struct TRPRTFCellProperties {
    int HMerge = 0; // 0 none, 1 first, 2 merged
    int VMerge = 0;
    bool WidthIsPercent = false;
    int BestWidth = 0;
    TColor Color = clNone;
    int VAlign = 0; // 0 top, 1 bottom, 2 centre
    TRPRTFParaBorder Border;
    int CurBorderSide = 0;
    int RightBoundary = 0;
    TColor PatternColor = 0;
    int Shading = 0;
    int BestHeight = 0;
};

// The cells of a row, one entry per \cellx.
using TRPRTFCellPropsList = std::vector<TRPRTFCellProperties>;

struct TRPRTFRowProperties {
    bool WidthIsPercent = false;
    bool Heading = false;
    int GapH = 0;
    int Left = 0;
    int Height = 0;
    std::array<int, 4> Padding{}; // left, top, right, bottom
    std::array<int, 4> Spacing{};
    std::array<bool, 4> PaddingInTwips{};
    std::array<bool, 4> SpacingInTwips{};
    int BestWidth = 0;
    int Alignment = 0;
    TRPRTFParaBorder Border;
    int CurBorderSide = 0;
    TRPRTFCellPropsList Cells{TRPRTFCellProperties{}};
    bool ShadingPending = true;
    bool OpenCellPending = true;
    bool AlignmentGiven = false;
    bool SuiteValuesGiven = false;
    // The row starts a table of its own though a table ends right before it
    // (\richpadtbnew): RTF has no other way to keep two such tables apart.
    bool NewTable = false;
    // The table's spacing at its border in pixels (\richpadtbhs, \richpadtbvs),
    // which the spacing between cells does not tell.
    std::optional<int> BorderHSpacing, BorderVSpacing;
    // The spacing between cells in pixels when below zero (\richpadtchs,
    // \richpadtcvs), which the row's spacing in twips cannot give.
    std::optional<int> CellHSpacing, CellVSpacing;

    TRPRTFCellProperties& LastCell() { return Cells.back(); }
    // Drops the cell opened after the last \cellx and resolves cell shading.
    void Complete();
};

struct TRPRTFFont {
    int Number = 0;
    std::string Name;
    int Family = 0;
    int Charset = 1;
};

using TRPRTFFontList = std::vector<TRPRTFFont>;
// Colours of \colortbl; entry 0 is the automatic colour.
using TRPRTFColorList = std::vector<TColor>;

struct TRPRTFStyleSheetEntry {
    int Number = 0;
    int Kind = 0; // 0 paragraph, 1 character, 2 section
    std::string Name;
    int BasedOn = -1; // index in the style sheet, -1 none
    int Next = -1;    // index; -1 means the entry itself
    bool Additive = false, Hidden = false;
};

using TRPRTFStyleSheet = std::vector<TRPRTFStyleSheetEntry>;

struct TRPRTFListLevel97 : TRPRTFCustomMarkerProperties {
    // A level without \levelstartat counts from 1.
    TRPRTFListLevel97() { Start = 1; }
    bool Old = false, Legal = false, NoRestart = false;
    std::string Text;     // length byte first
    std::u16string TextW; // length character first, empty unless \u was met
    std::string Numbers;
    int Follow = 0;
    int LeftIndent = 0, FirstIndent = 0, Tab = 0;
    bool SizeGiven = false;
};

struct TRPRTFList97 {
    std::vector<TRPRTFListLevel97> Levels;
    int Id = 0;
    bool Simple = false;
    std::string Name;
};

using TRPRTFListTable97 = std::vector<TRPRTFList97>;

struct TRPRTFListOverrideLevel97 {
    bool UseStart = false;
    int Start = 1;
};

struct TRPRTFListOverride97 {
    std::vector<TRPRTFListOverrideLevel97> Levels;
    int ListIndex = -1;
    int Number = 0;
    int Count = 0;
};

using TRPRTFListOverrideTable97 = std::vector<TRPRTFListOverride97>;

enum TRPRTFPictureKind {
    rtfpkEMF,
    rtfpkPNG,
    rtfpkJPEG,
    rtfpkMacPict,
    rtfpkPMMetafile,
    rtfpkWMF,
    rtfpkDIB,
    rtfpkDDB
};

struct TRPRTFPicture {
    TRPRTFPictureKind Kind = rtfpkEMF;
    int MetafileMapMode = 1;
    int PicW = 0, PicH = 0;
    int PicWGoal = 0, PicHGoal = 0;
    int ScaleX = 100, ScaleY = 100;
    int WidthBytes = 0;
    int BitsPixel = 1;
    int Planes = 1;
    bool IsBitmap = false;
    bool FromShpPict = false;
    std::string Data;
    int WidthPx = 0, HeightPx = 0; // computed when the picture is completed

    // Whether the data can hold what the header promises (bitmaps) and the
    // sizes are sane; anything else gives an invalid-picture item.
    bool IsPlausible() const;
};

struct TRPRTFObject {
    int Kind = 0;
    std::string Data;
    int Width = 0, Height = 0;
};

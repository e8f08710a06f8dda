#pragma once
// List markers: the item that starts a numbered or bulleted paragraph, the
// document-order list of markers that numbers them, and the counter texts.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "richtext/model/RPItem.h"
#include <QString>

#include "richtext/model/RPListStyles.h"

class TRPMarkerList;

// Counter text of N in a list type: decimal, letters (bijective base 26,
// empty below 1) or Roman numerals ("?" below 1 and above rpMaxRomanCounter).
constexpr int rpMaxRomanCounter = 100000;
std::string RPCounterText(int N, TRPListType ListType);

// Applies a marker pattern: "%[n:][-][w][.p]s" picks text n (or the next one),
// "%%" is a percent sign, anything else is copied as it stands. Never throws.
std::string RPFormatMarkerString(const std::string& Pattern, const std::vector<std::string>& Args);

class TRPMarkerItemInfo : public TRPRectItemInfo {
public:
    // The measured box, kept from the last AdjustToDocWidth.
    int FWidth = 0;
    int FHeight = 0;
    int FDescent = 0;
    int FLeftOverhang = 0;
    int FCachedIndexInList = -1;
    // How many entries of marker lists name it, at most: 0 answers "in no
    // list" without a search.
    int FListEntries = 0;
    int32_t ListNo = 0;
    int32_t Level = 0;
    int32_t Counter = 1;
    bool Reset = false;
    int32_t StartFrom = 0;
    std::string DisplayString;
    // DisplayString as it was when the box was last measured: an editor lays
    // out again the markers whose number changed since.
    std::string MeasuredString;

    explicit TRPMarkerItemInfo(TCustomRPData* RPData);
    static std::unique_ptr<TRPMarkerItemInfo> CreateEx(TCustomRPData* RPData, int ListNo, int Level,
                                                       int StartFrom, bool Reset);
    static const TRPItemClass ClassInfo;
    const TRPItemClass& ItemClass() const override { return ClassInfo; }

    TRPListLevel* GetLevelInfo(const TRPStyle* RPStyle) const;
    int GetIndexInList(const TRPMarkerList* List);
    // Recomputes DisplayString; Index is the marker's place in List.
    void CalcDisplayString(const TRPStyle* RPStyle, const TRPMarkerList* List, int Index);
    // The image of an image-list level that the marker shows (a counting
    // level picks it by the counter); -1 when the level's list has none there.
    int ImageIndexIn(const TRPListLevel& Level) const;

    int GetMinWidth(const TRPResolution* sad, TCanvas* Canvas, TCustomRPData* RPData) override;
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
    void AdjustToDocWidth(int DocWidth, TRPDrawLineInfo* DrawItem, bool PrintLayout, TCanvas* Canvas,
                          TCustomRPData* RPData, const TRPResolution* sad, int& Descent, int& XOffset,
                          bool OnlyMeasure, bool Force = false) override;
    int GetHeight() const override { return FHeight; }
    int GetWidth() const override { return FWidth; }
    int GetLeftOverhang() const override { return FLeftOverhang; }
    int GetDescent() const override { return FDescent; }

    void AssignItem(const TCustomRPItemInfo& Source) override;
    // Header fields of the stream format: ListNo, Level, StartFrom, Reset (0 or 1).
    void GetRPFExtraText(TCustomRPData* RPData, std::string& s) const override;
    bool ReadRPFHeaderExtra(std::string& s, TCustomRPData* RPData) override;
    void SaveRTF(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text, double TwipsPerPixel,
                 int Level, TRPRTFTables& Tables) const override;
    void FillRTFTables(TRPColorList& ColorList, TRPIntegerList& ListOverrideCount,
                       TCustomRPData* RPData) const override;
    void SaveHTML(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                  const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo, TColor BackColor,
                  TRPHTMLSaveOptions Options, bool UseCSS, TRPHTMLBulletList& Bullets) const override;
    std::string GetPlainText(int LineWidth, TCustomRPData* RPData, bool Unicode, bool TextOnly,
                             const std::string& Path, const std::string& ItemText) override;
    void DetachForUndo(int ItemNo, TCustomRPData* RPData) override;
    void ReattachFromUndo(TCustomRPData* RPData) override;
    void MarkUsedStyles(TRPIntegerList& UsedText, TRPIntegerList& UsedPara,
                        TRPIntegerList& UsedList) const override;
    void ShiftStyleIndices(const TRPIntegerList& TextShifts, const TRPIntegerList& ParaShifts,
                           const TRPIntegerList& ListShifts) override;

    // Measures the marker: width, height, descent, left overhang, extra offset;
    // MinWidth gets the narrowest room it needs.
    struct TMetrics {
        int Width = 0, Height = 0, Descent = 0, LeftOverhang = 0, ExtraOffset = 0, MinWidth = 0;
    };
    TMetrics CalcMetrics(TCanvas* Canvas, TCustomRPData* RPData, const TRPResolution* sad);
    // Draws the marker with its box at (x, y); screen painting keeps the font colour.
    void DrawMarker(TCanvas& Canvas, int x, int y, const TRPStyle* RPStyle, TRPColorMode ColorMode,
                    bool Printing);
    // The text a text marker draws and measures (UTF-16 for Unicode bullets).
    QString GetMarkerQText(const TRPListLevel& LevelInfo) const;
};

// The markers of a document tree in document order. It does not own the
// markers of documents; records loaded from a stream are owned by the list.
class TRPMarkerList {
public:
    TRPMarkerList() = default;
    TRPMarkerList(const TRPMarkerList&) = delete;
    TRPMarkerList& operator=(const TRPMarkerList&) = delete;

    TRPMarkerList* PrevMarkerList = nullptr;

    int Count() const { return static_cast<int>(FItems.size()); }
    TRPMarkerItemInfo* Get(int Index) const;
    TRPMarkerItemInfo* operator[](int Index) const { return Get(Index); }
    int IndexOf(const TRPMarkerItemInfo* Marker) const;
    void Insert(int Index, TRPMarkerItemInfo* Marker);
    void Delete(int Index);
    // Removes every entry of the given markers in one pass over the list; the
    // others keep their order. True when any left.
    bool DeleteMarkers(const std::vector<const TRPMarkerItemInfo*>& Markers);
    // Removes the entries of documents' markers, keeping the records the list
    // owns. True when any left.
    bool DeleteDocumentMarkers();
    void Clear();
    // Exchanges the entries (and the records each list owns) of two lists.
    void Swap(TRPMarkerList& Other);

    // Inserts after After (at 0 when After is none or not in the list).
    void InsertAfter(TRPMarkerItemInfo* Marker, TRPMarkerItemInfo* After);
    // The nearest marker before Index of Marker's list with a lower level,
    // continuing in PrevMarkerList; List nullptr and Index -1 when none.
    void FindParentMarker(int Index, const TRPMarkerItemInfo* Marker, const TRPMarkerList*& List,
                          int& ParentIndex) const;
    void RecalcCounters(int From, const TRPStyle* RPStyle);
    // Recalculates the markers of list ListNo from the first at or after From.
    void RecalcCountersOfList(int From, int ListNo, const TRPStyle* RPStyle);
    // Recalculates the markers from From on, of every list that has one there.
    void RecalcCountersOfLists(int From, const TRPStyle* RPStyle);

    // Binary form: [size,] 0, count, then per marker ListNo, Level, Reset (byte),
    // StartFrom, Counter; 32-bit little-endian.
    void SaveToStream(std::string& Stream, int Count, bool WithSize) const;
    // False for truncated or inconsistent data (the list is then empty).
    bool LoadFromStream(const std::string& Stream, size_t& Pos, TCustomRPData* RPData, bool WithSize);
    bool LoadBinary(const std::string& Data, TCustomRPData* RPData);
    bool LoadFromHex(const std::string& Hex, TCustomRPData* RPData);
    std::string SaveToHex() const;

private:
    void Left(TRPMarkerItemInfo* Marker);
    std::vector<TRPMarkerItemInfo*> FItems;
    std::vector<std::unique_ptr<TRPMarkerItemInfo>> FOwned;
};

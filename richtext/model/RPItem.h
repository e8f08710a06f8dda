#pragma once
// Items of a rich-text document: the base class with its option bits and the
// per-kind operations, the text item, the checkpoint object, the thin
// intermediate classes of non-text items and the item registry.
#include <climits>
#include <cstdint>
#include <memory>
#include <string>

#include "richtext/model/RPTypes.h"

class TCustomRPData;
class TCustomRPItemInfo;
class TRPItemList;
class TRPStyle;
class TRPIntegerList;
class TRPDrawLineInfo;
class TCanvas;
class TGraphic;
class TBitmap;
class TControl;
class TRPColorList;
class TRPRTFFontTable;
struct TRPRTFTables;
struct TRPHTMLBulletInfo;
template <class T> class TRPList;
enum TMouseButton : int;
using TShiftState = unsigned;
using TRPHTMLBulletList = TRPList<TRPHTMLBulletInfo>;
// Options of the HTML writers (a set of rphso... bits).
using TRPHTMLSaveOptions = uint16_t;

// What a document does with the pictures of its items on palette displays.
enum TRPPaletteAction : uint8_t { rppaDoNothing, rppaAssignPalette, rppaCreateCopies, rppaCreateCopiesEx };

// Item actions reported through TCustomRPData::DoItemAction.
constexpr int rpiaInserting = 0;
constexpr int rpiaInserted = 1;
constexpr int rpiaFreeing = 3;
constexpr int rpiaMovingToUndoList = 4;

// Control actions passed to TCustomRPData::DoControlAction.
constexpr int rpcaDestroy = 1;
constexpr int rpcaMovingToUndoList = 2;
constexpr int rpcaMovingFromUndoList = 3;

// GetBoolValue questions.
constexpr int rpbivFullLine = 0; // occupies a whole line
constexpr int rpbivValid = 1;    // has its content
constexpr int rpbivReadsRPFLines = 2;
constexpr int rpbivImage = 3;
constexpr int rpbivChangesFont = 4;
constexpr int rpbivNonTextUnicode = 5;
constexpr int rpbivOwnFocus = 7;
constexpr int rpbivResizable = 8;
constexpr int rpbivResizeHandles = 9;
// GetBoolValueEx questions.
constexpr int rpbivexPrintSliced = 0;
constexpr int rpbivexJump = 1;
constexpr int rpbivexKeyboardFocus = 2;
constexpr int rpbivexHotLook = 3;
constexpr int rpbivexFocusRect = 4;
constexpr int rpbivexDeviceUnits = 5;

// Integer extra properties by id (0 means none).
constexpr int rpeipVShift = 1;
constexpr int rpeipVShiftAbs = 2;
constexpr int rpeipImageWidth = 3;
constexpr int rpeipImageHeight = 4;
constexpr int rpeipTransparent = 5;
constexpr int rpeipTransparentMode = 6;
constexpr int rpeipTransparentColor = 7;
constexpr int rpeipMinHeightOnPage = 8;
constexpr int rpeipSpacing = 9;
constexpr int rpeipResizable = 10;
constexpr int rpeipDeleteProtect = 11;
// String extra properties by id.
constexpr int rpespHint = 1;
constexpr int rpespAlt = 2;
constexpr int rpespImageFileName = 3;

// RPF key of an integer (ids 1-11) or string (ids 1-3) extra property; empty otherwise.
std::string GetItemExtraIntPropertyName(int Id);
std::string GetItemExtraStrPropertyName(int Id);
// Appends one extra-property line "name=value" CR LF.
void RPFWriteExtraPropertyLine(std::string& Stream, const std::string& Name, const std::string& Value);
// The line of string extra property Id ("hint" 1, "alt" 2, "filename" 3).
void RPFWriteStrItemProperty(std::string& Stream, int Id, const std::string& Value);

// What the RPF reader tells an item about a data line of its record, and what
// the item answers.
struct TRPFLineInfo {
    int ReadType = 0;
    int LineNo = 0;    // 0-based inside the record
    int LineCount = 0; // the record's number of data lines
    std::string Name;  // the record's name (the item text), set by the item
    std::string ClassName; // the class line of a record with a body, kept by the item
    bool NextLineBinary = false; // set by the item: the next line is a binary block
};

// A class of items, standing in for a class reference: the registry maps style
// numbers to these, and every item knows its own.
struct TRPItemClass {
    const char* Name;
    std::unique_ptr<TCustomRPItemInfo> (*Create)(TCustomRPData* RPData);
};

// A checkpoint: a named position attached to an item, linked in document order.
class TRPCPInfo {
public:
    std::string Name;
    TRPCPInfo* Next = nullptr;
    TRPCPInfo* Prev = nullptr;
    TCustomRPItemInfo* ItemInfo = nullptr;
    int ItemNo = -1;
    bool RaiseEvent = false;
    bool Persistent = false; // kept when its item is deleted
    TRPTag Tag;

    // Copies name, both flags and tag, not the chain links.
    void Assign(const TRPCPInfo& Source);
    std::unique_ptr<TRPCPInfo> CreateCopy() const;
};

// One printed slice of an item split over pages.
class TRPMultiDrawItemPart {
public:
    virtual ~TRPMultiDrawItemPart() = default;
    int Height = 0; // device units
    virtual int GetImageTop() const { return -1; }
};

// Names one sub-document of an item (tables add the cell).
class TRPStoreSubRPData {
public:
    virtual ~TRPStoreSubRPData() = default;
    virtual TCustomRPData* GetRPData() { return nullptr; }
    // Position of the sub-document among its item's sub-documents (-1: none).
    virtual int GetIndex() const { return -1; }
};

class TCustomRPItemInfo {
    // The list that holds the item and its index there as the list last
    // numbered it, so that finding an item's index costs no search. (Placed
    // in gaps the other fields leave: an item is no larger for them.)
    friend class TRPItemList;

public:
    int32_t StyleNo = 0;
    int32_t ParaNo = 0;
    TRPItemOptions ItemOptions = 0;

private:
    mutable int FListIndex = -1;

public:
    std::unique_ptr<TRPCPInfo> Checkpoint;
    int32_t JumpID = 0;
    int32_t DrawItemNo = -1;
    TRPTag Tag;
    std::string Hint;

private:
    mutable const TRPItemList* FList = nullptr;

public:
    explicit TCustomRPItemInfo(TCustomRPData* RPData);
    TCustomRPItemInfo(const TCustomRPItemInfo&) = delete;
    TCustomRPItemInfo& operator=(const TCustomRPItemInfo&) = delete;
    virtual ~TCustomRPItemInfo();

    static const TRPItemClass ClassInfo;
    virtual const TRPItemClass& ItemClass() const { return ClassInfo; }

    // Option bits; 1, 2 and 4 stay mutually exclusive.
    bool GetContinuesPrev() const { return (ItemOptions & rpioContinuesPrev) != 0; }
    void SetContinuesPrev(bool Value);
    bool GetPageBreakBefore() const { return (ItemOptions & rpioPageBreakBefore) != 0; }
    void SetPageBreakBefore(bool Value);
    bool GetLineBreakBefore() const { return (ItemOptions & rpioLineBreakBefore) != 0; }
    void SetLineBreakBefore(bool Value);
    bool StartsPara() const { return (ItemOptions & (rpioContinuesPrev | rpioLineBreakBefore)) == 0; }
    bool IsUnicode() const { return (ItemOptions & rpioUnicode) != 0; }
    int GetActualStyleNo(const TRPStyle* RPStyle) const;

    // ---- virtual operations
    virtual int GetMinWidth(const TRPResolution* sad, TCanvas* Canvas, TCustomRPData* RPData);
    virtual TGraphic* GetGraphic() { return nullptr; }
    virtual bool GetBoolValue(int Id) const;
    virtual bool GetBoolValueEx(int Id, const TRPStyle* RPStyle) const;
    virtual void PaintFullWidth(int Left, int Right, int Top, TCanvas* Canvas, TRPTextDrawStates State,
                                const TRPStyle* RPStyle, const TRPBounds& ClipRect, TCustomRPData* RPData);
    virtual void Paint(int x, int y, TCanvas* Canvas, TRPTextDrawStates State, const TRPStyle* RPStyle,
                       TRPDrawLineInfo* DrawItem);
    virtual bool PrintToBitmap(TBitmap* Bitmap, bool Preview, TCustomRPData* RPData, TRPColorMode ColorMode,
                               int PartIndex, TRPDrawLineInfo* DrawItem);
    virtual void Print(TCanvas* Canvas, int x, int y, TCustomRPData* RPData, TRPColorMode ColorMode,
                       int PartIndex, TRPDrawLineInfo* DrawItem, const TRPResolution& sad, bool Preview);
    virtual int GetImageWidth(const TRPStyle* RPStyle) const;
    virtual int GetImageHeight(const TRPStyle* RPStyle) const;
    virtual int GetBorderWidth() const { return 0; }
    virtual int GetBorderHeight() const { return 0; }
    virtual std::unique_ptr<TRPDrawLineInfo> CreatePrintingDrawItem(TCustomRPData* RPData,
                                                                    const TRPResolution& sad);
    virtual void Inserting(TCustomRPData* RPData, std::string& Text, bool Safe);
    virtual void Inserted(TCustomRPData* RPData, int ItemNo);
    // The item stands in a document now: the list markers of its
    // sub-documents join the document tree's marker list (Format: the kind of
    // loading, as for AfterLoading).
    virtual void AfterLoadingCells(int Format) { (void)Format; }
    // The item was moved into RPData as it stands (no insertion events):
    // items that keep their document (tables) take the new one.
    virtual void ChangeOwnerData(TCustomRPData* RPData) { (void)RPData; }
    // A forced formatting of the item's document begins: what the item
    // measured before (a table's minimum width) is measured again.
    virtual void ForgetMeasures() {}
    // At most how much lower the item, as laid out now, could become with
    // Extra pixels more of available width (a table whose cells' lines may
    // join); 0 for an item of its own size. Counting may stop once what the
    // item keeps of its height from its top down passes Enough: what it could
    // give up above that is answered then.
    virtual int HeightToLoseWhenWider(int Extra, int Enough = INT_MAX) {
        return (void)Extra, (void)Enough, 0;
    }
    // Told the available width before placement; answers the descent and an
    // extra horizontal offset.
    virtual void AdjustToDocWidth(int DocWidth, TRPDrawLineInfo* DrawItem, bool PrintLayout, TCanvas* Canvas,
                                  TCustomRPData* RPData, const TRPResolution* sad, int& Descent, int& XOffset,
                                  bool OnlyMeasure, bool Force = false);
    // After its last layout changed only a band of the item (rows of a table
    // whose heights changed), the band in the item's own coordinates: its top
    // and its bottom before and after. Below the band the item only moved,
    // but with FixedFrame the sides of a frame drawn from the item's top
    // down (a dotted one, a pixel wide) must be painted again there. False
    // when the whole item may have changed. Asking forgets it.
    virtual bool TakeChangedBand(int& Top, int& OldBottom, int& NewBottom, bool& FixedFrame) {
        (void)Top, (void)OldBottom, (void)NewBottom, (void)FixedFrame;
        return false;
    }
    // Paints the item's own background behind a printed piece: Rect is the
    // item's rectangle on Canvas (screen pixels); Mode 0 paints nothing.
    virtual void PrintBackground(TCanvas* Canvas, const TRPBounds& Rect, TRPColorMode ColorMode, int Mode) {
        (void)Canvas, (void)Rect, (void)ColorMode, (void)Mode;
    }

    // ---- per-kind behaviour of the readers, writers, editor and view
    virtual void GetRPFExtraText(TCustomRPData* RPData, std::string& s) const { (void)RPData, s.clear(); }
    virtual int GetRPFExtraPropertyCount() const;
    virtual void SaveRPFExtraProperties(std::string& Stream) const;
    // Copies the fields of Source that this class knows, then the parent's.
    virtual void AssignItem(const TCustomRPItemInfo& Source);
    virtual TCustomRPData* GetCellRPDataAt(int X, int Y) { return (void)X, (void)Y, nullptr; }
    virtual bool OwnsControl(const TControl* Control) const { return (void)Control, false; }
    // For a control owned inside the item's sub-documents: that sub-document
    // takes the focus on it; Data and ItemNo name the item when it takes the
    // keyboard focus itself. True when the item holds the control.
    virtual bool FocusControlItem(const TControl* Control, TCustomRPData*& Data, int& ItemNo) {
        return (void)Control, (void)Data, (void)ItemNo, false;
    }
    virtual bool IsInplaceEditor() const { return false; }
    virtual std::string GetPlainText(int LineWidth, TCustomRPData* RPData, bool Unicode, bool TextOnly,
                                     const std::string& Path, const std::string& ItemText);
    // The same for Part of an item selected only in part; an item that is
    // never selected so gives all of itself.
    virtual std::string GetPlainTextPart(int LineWidth, TCustomRPData* RPData, bool Unicode, bool TextOnly,
                                         const std::string& Path, const std::string& ItemText,
                                         const TRPMultiDrawItemPart& Part) {
        (void)Part;
        return GetPlainText(LineWidth, RPData, Unicode, TextOnly, Path, ItemText);
    }
    virtual void UpdatePaletteInfo(TRPPaletteAction Action, bool ForceRecreateCopy, void* Palette,
                                   const void* LogPalette) {
        (void)Action, (void)ForceRecreateCopy, (void)Palette, (void)LogPalette;
    }
    // The fields of the header line after the tag; RPData is the document read into.
    virtual bool ReadRPFHeaderExtra(std::string& s, TCustomRPData* RPData) { return (void)s, (void)RPData, true; }
    // One data line of the item's record; False fails the read.
    virtual bool ReadRPFLine(const std::string& s, TCustomRPData* RPData, TRPFLineInfo& Line);
    virtual void DetachForUndo(int ItemNo, TCustomRPData* RPData);
    virtual void ReattachFromUndo(TCustomRPData* RPData) { (void)RPData; }
    // The mouse over the item, or over anywhere while the item holds the
    // document's mouse capture: X and Y are relative to the item's (first)
    // draw item. True when the item took the event.
    virtual bool MouseMove(TCustomRPData* RPData, int ItemNo, TShiftState Shift, int X, int Y);
    virtual bool MouseDown(TCustomRPData* RPData, TMouseButton Button, TShiftState Shift, int X, int Y) {
        return (void)RPData, (void)Button, (void)Shift, (void)X, (void)Y, false;
    }
    virtual bool MouseUp(TCustomRPData* RPData, TMouseButton Button, TShiftState Shift, int X, int Y) {
        return (void)RPData, (void)Button, (void)Shift, (void)X, (void)Y, false;
    }
    virtual void AfterLoading(int Format) { (void)Format; }
    virtual void ClearSelection() {}
    virtual bool HasCellSelection() const { return false; }
    // What is selected of an item selected only in part (a table's selected
    // cells), for the writers of the selection; null when nothing is.
    virtual std::shared_ptr<const TRPMultiDrawItemPart> GetSelectedPart() const { return nullptr; }
    virtual bool CanClearSelectedCells() const { return false; }
    virtual void ClearSelectedCells() {}
    // The caret comes in from Side 0 left, 1 right, 2 above, 3 below (X: the
    // offset from the item's left for 2 and 3); False when the item declines.
    virtual bool EnterFromSide(int Side, int X) { return (void)Side, (void)X, false; }
    virtual void BuildJumpList(int& StartJumpNo) { (void)StartJumpNo; }
    virtual void FocusControl() {}
    // Moves the keyboard focus on among the focusable items of the item's
    // sub-documents; Data and ItemNo name the document and the item that
    // took it. False when none is left in that direction.
    virtual bool MoveFocus(bool GoForward, TCustomRPData*& Data, int& ItemNo) {
        return (void)GoForward, (void)Data, (void)ItemNo, false;
    }
    virtual void ClearFocus() {}
    virtual bool IsHotJump(TCustomRPData* RPData) const { return (void)RPData, false; }
    virtual void MarkUsedStyles(TRPIntegerList& UsedText, TRPIntegerList& UsedPara,
                                TRPIntegerList& UsedList) const;
    virtual void ShiftStyleIndices(const TRPIntegerList& TextShifts, const TRPIntegerList& ParaShifts,
                                   const TRPIntegerList& ListShifts);
    // A sub-document by position code: 0 first, 1 last, 2 and 3 the ends of
    // the item's selection, 4 next and 5 previous from Position.
    virtual bool GetSubRPData(std::unique_ptr<TRPStoreSubRPData>& Position, int PositionCode) {
        (void)PositionCode;
        Position.reset();
        return false;
    }
    // The item's sub-documents in document order (table cells).
    virtual int GetSubRPDataCount() const { return 0; }
    virtual TCustomRPData* GetSubRPDataAt(int Index) const { return (void)Index, nullptr; }
    virtual void ChooseSubRPData(TRPStoreSubRPData* Position) { (void)Position; }
    virtual void UnchooseSubRPData() {}
    virtual bool SetExtraIntProperty(int Prop, int Value) { return (void)Prop, (void)Value, false; }
    virtual bool GetExtraIntProperty(int Prop, int& Value) const { return (void)Prop, (void)Value, false; }
    virtual bool SetExtraStrProperty(int Prop, const std::string& Value);
    virtual bool GetExtraStrProperty(int Prop, std::string& Value) const;
    virtual void SetUnknownRPFProperty(const std::string& Name, const std::string& Value) {
        (void)Name, (void)Value;
    }
    virtual int GetRowTop(int Index) const { return Index; }

    // Writes the item's RPF record. ParaNo is the paragraph reference to use
    // (-1 continues); Part is the selected part of an item selected only in
    // part (tables), else null; ForceContinue makes the item continue the line
    // of a list marker written ahead of a selection.
    virtual void SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo,
                         const std::string& Name, void* Part, bool ForceContinue) const;

    // The item's RTF at the current place of the output (Level above 0 inside
    // table cells); Tables are the colour, font and list tables of the write.
    virtual void SaveRTF(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                         double TwipsPerPixel, int Level, TRPRTFTables& Tables) const;
    // The RTF of Part of an item selected only in part (all of other items).
    virtual void SaveRTFPart(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                             double TwipsPerPixel, int Level, TRPRTFTables& Tables,
                             const TRPMultiDrawItemPart& Part) const {
        (void)Part;
        SaveRTF(Stream, RPData, ItemNo, Text, TwipsPerPixel, Level, Tables);
    }
    // Adds the colours the item writes to ColorList, and restarting list
    // markers to the per-list override counts, before the RTF header is written.
    virtual void FillRTFTables(TRPColorList& ColorList, TRPIntegerList& ListOverrideCount,
                               TCustomRPData* RPData) const;
    // The item's HTML. ImageSaveNo numbers the picture files of the export;
    // BackColor is the colour behind pictures; UseCSS tells the CSS writer.
    virtual void SaveHTML(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                          const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo,
                          TColor BackColor, TRPHTMLSaveOptions Options, bool UseCSS,
                          TRPHTMLBulletList& Bullets) const;
    // The HTML of Part of an item selected only in part (all of other items).
    virtual void SaveHTMLPart(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                              const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo,
                              TColor BackColor, TRPHTMLSaveOptions Options, bool UseCSS,
                              TRPHTMLBulletList& Bullets, const TRPMultiDrawItemPart& Part) const {
        (void)Part;
        SaveHTML(Stream, RPData, ItemNo, Text, Path, ImagesPrefix, ImageSaveNo, BackColor, Options, UseCSS,
                 Bullets);
    }

    // Splits "name=value" and hands it to the integer, string or unknown setter.
    void ReadRPFProperty(const std::string& Line);
};

// The new index of a style after unused styles were removed.
int RPShiftedStyleIndex(int Index, const TRPIntegerList& Shifts);

class TRPTextItemInfo : public TCustomRPItemInfo {
public:
    using TCustomRPItemInfo::TCustomRPItemInfo;
    static const TRPItemClass ClassInfo;
    const TRPItemClass& ItemClass() const override { return ClassInfo; }

    bool GetBoolValueEx(int Id, const TRPStyle* RPStyle) const override;
    bool ReadRPFHeaderExtra(std::string& s, TCustomRPData* RPData) override;
    bool IsHotJump(TCustomRPData* RPData) const override;
    void MarkUsedStyles(TRPIntegerList& UsedText, TRPIntegerList& UsedPara,
                        TRPIntegerList& UsedList) const override;
    void ShiftStyleIndices(const TRPIntegerList& TextShifts, const TRPIntegerList& ParaShifts,
                           const TRPIntegerList& ListShifts) override;
};

class TRPNonTextItemInfo : public TCustomRPItemInfo {
public:
    bool DeleteProtect = false;

    using TCustomRPItemInfo::TCustomRPItemInfo;
    static const TRPItemClass ClassInfo;
    const TRPItemClass& ItemClass() const override { return ClassInfo; }

    virtual int GetHeight() const { return 0; }
    virtual int GetWidth() const { return 0; }
    virtual int GetLeftOverhang() const { return 0; }
    virtual void PlaceAt(int x, int y, bool ApplyTop) { (void)x, (void)y, (void)ApplyTop; }

    int GetRPFExtraPropertyCount() const override;
    void SaveRPFExtraProperties(std::string& Stream) const override;
    void AssignItem(const TCustomRPItemInfo& Source) override;
    bool SetExtraIntProperty(int Prop, int Value) override;
    bool GetExtraIntProperty(int Prop, int& Value) const override;
};

class TRPFullLineItemInfo : public TRPNonTextItemInfo {
public:
    using TRPNonTextItemInfo::TRPNonTextItemInfo;
    static const TRPItemClass ClassInfo;
    const TRPItemClass& ItemClass() const override { return ClassInfo; }
};

class TRPRectItemInfo : public TRPNonTextItemInfo {
public:
    int32_t MinHeightOnPage = 0;
    uint8_t VAlign = 0; // 1 = middle
    int32_t VShift = 0;
    bool VShiftAbs = false;
    int32_t Spacing = 1;

    using TRPNonTextItemInfo::TRPNonTextItemInfo;
    static const TRPItemClass ClassInfo;
    const TRPItemClass& ItemClass() const override { return ClassInfo; }

    virtual int GetDescent() const { return Spacing; }
    int GetBorderWidth() const override { return Spacing; }
    int GetBorderHeight() const override { return Spacing; }

    void GetRPFExtraText(TCustomRPData* RPData, std::string& s) const override;
    int GetRPFExtraPropertyCount() const override;
    void SaveRPFExtraProperties(std::string& Stream) const override;
    void AssignItem(const TCustomRPItemInfo& Source) override;
    bool ReadRPFHeaderExtra(std::string& s, TCustomRPData* RPData) override;
    bool SetExtraIntProperty(int Prop, int Value) override;
    bool GetExtraIntProperty(int Prop, int& Value) const override;

    // "vertical-align: ...px" for HTML, empty when not needed.
    std::string GetVShiftCSS(int ItemHeight) const;
    // " align=middle" for middle alignment.
    std::string GetHTMLAlignAttribute() const;
};

// ---- registry and factory
// Registers a further kind below -9; -9 and above, or a number taken by another
// class, raise ERichPadError.
void RegisterRichPadItemType(int StyleNo, const TRPItemClass* ItemClass);
// Forgets every registration (for tests).
void UnregisterAllRichPadItemTypes();
// The class of new text items (TRPTextItemInfo unless replaced).
const TRPItemClass* CurrentTextItemClass();
void SetCurrentTextItemClass(const TRPItemClass* ItemClass);

std::unique_ptr<TCustomRPItemInfo> CreateItemByStyleNo(TCustomRPData* RPData, int StyleNo);
std::unique_ptr<TCustomRPItemInfo> CreateItemCopy(const TCustomRPItemInfo& Source, TCustomRPData* RPData,
                                                  bool CopyCheckpoint);

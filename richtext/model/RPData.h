#pragma once
// The document: an ordered list of items (a text paired with an item object)
// and the chain of checkpoints. It keeps no layout; settings and events are
// asked of the root document, which the view's document answers, so that a
// table cell's document behaves like the main one.
//
// Entry points for readers that append items (RTF import, RPF):
//   AddItem(Text, std::move(Item))     the basic append
//   AddText / AddTextTag / AddNL       text runs
//   AddPicture                         pictures
//   AddCheckpoint                      a checkpoint for the next item
//   AddMarkerInList                    after appending a list marker
//   InsertReadItem                     insertion at an index (RPF)
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "richtext/model/RPItem.h"
#include "richtext/model/RPLists.h"
#include "richtext/model/RPTypes.h"
#include "richtext/model/RPWriterTypes.h"

class TRPStyle;
class TRPMarkerList;
class TRPMarkerItemInfo;
class TRPRTFReaderProperties;
class TCustomImageList;
class TRPLayoutInfo;
class TRPBackground;

// Options of the view control (32 bits), bit order from bit 0.
using TRPOptions = uint32_t;
constexpr TRPOptions rpoAllowSelection = 1u << 0;
constexpr TRPOptions rpoSingleClick = 1u << 1;
constexpr TRPOptions rpoScrollToEnd = 1u << 2;
constexpr TRPOptions rpoClientTextWidth = 1u << 3;
constexpr TRPOptions rpoShowCheckpoints = 1u << 4;
constexpr TRPOptions rpoShowPageBreaks = 1u << 5;
constexpr TRPOptions rpoShowSpecialCharacters = 1u << 6;
constexpr TRPOptions rpoTagsArePChars = 1u << 7;
constexpr TRPOptions rpoAutoCopyText = 1u << 8;
constexpr TRPOptions rpoAutoCopyUnicodeText = 1u << 9;
constexpr TRPOptions rpoAutoCopyRPF = 1u << 10;
constexpr TRPOptions rpoAutoCopyImage = 1u << 11;
constexpr TRPOptions rpoAutoCopyRTF = 1u << 12;
constexpr TRPOptions rpoFormatInvalidate = 1u << 13;
constexpr TRPOptions rpoDblClickSelectsWord = 1u << 14;
constexpr TRPOptions rpoRClickDeselects = 1u << 15;
constexpr TRPOptions rpoDisallowDrag = 1u << 16;
constexpr TRPOptions rpoShowItemHints = 1u << 17;

// RPF options (16 bits).
using TRPFOptions = uint16_t;
constexpr TRPFOptions rpfoSavePicturesBody = 1u << 0;
constexpr TRPFOptions rpfoSaveControlsBody = 1u << 1;
constexpr TRPFOptions rpfoIgnoreUnknownPicFmt = 1u << 2;
constexpr TRPFOptions rpfoIgnoreUnknownCtrls = 1u << 3;
constexpr TRPFOptions rpfoConvUnknownStylesToZero = 1u << 4;
constexpr TRPFOptions rpfoConvLargeImageIdxToZero = 1u << 5;
constexpr TRPFOptions rpfoSaveBinary = 1u << 6;
constexpr TRPFOptions rpfoUseStyleNames = 1u << 7;
constexpr TRPFOptions rpfoSaveBack = 1u << 8;
constexpr TRPFOptions rpfoLoadBack = 1u << 9;
constexpr TRPFOptions rpfoSaveTextStyles = 1u << 10;
constexpr TRPFOptions rpfoSaveParaStyles = 1u << 11;
constexpr TRPFOptions rpfoSaveLayout = 1u << 12;
constexpr TRPFOptions rpfoLoadLayout = 1u << 13;
constexpr TRPFOptions rpfoSaveDocProperties = 1u << 14;
constexpr TRPFOptions rpfoLoadDocProperties = 1u << 15;

// RTF options (one byte).
using TRPRTFOptions = uint8_t;
constexpr TRPRTFOptions rprtfSaveStyleSheet = 1u << 0;
constexpr TRPRTFOptions rprtfDuplicateUnicode = 1u << 1;
constexpr TRPRTFOptions rprtfSaveEMFAsWMF = 1u << 2;
constexpr TRPRTFOptions rprtfSaveJpegAsJpeg = 1u << 3;
constexpr TRPRTFOptions rprtfSaveBitmapDefault = 1u << 4;
constexpr TRPRTFOptions rprtfSaveEMFDefault = 1u << 5;

enum TRPFReaderStyleMode : uint8_t { rpf_sIgnore, rpf_sInsertMap, rpf_sInsertMerge };

// Document state bits kept by this class.
constexpr uint32_t rpstClearing = 0x80;
constexpr uint32_t rpstClearedOnClear1 = 0x200000;
constexpr uint32_t rpstClearedOnClear2 = 0x400000;
// Flag of GetFlags: the document is the control's main document.
constexpr uint32_t rpflMainDocument = 0x100;

// Results of LoadRTF besides the reader's own codes.
constexpr int rprtfeNoReader = 6;

// One entry of the item list: the item's text and its object.
struct TRPItemEntry {
    std::string Text;
    std::unique_ptr<TCustomRPItemInfo> Item;
};

// The item list: texts with their item objects, fetched by index in constant
// time. An entry may hold no object for the short time between freeing an
// item and removing its entry. An item knows the list it stands in, and the
// entries up to the first change since they were last numbered know their
// index, so that an item's index is found without a search: at once for an
// item of another list or of none, and after numbering the entries from the
// change to the item otherwise.
class TRPItemList {
public:
    TRPItemList() = default;
    TRPItemList(const TRPItemList&) = delete;
    TRPItemList& operator=(const TRPItemList&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    const std::string& Get(int Index) const;
    std::string& Text(int Index);
    void Put(int Index, std::string Text);
    TCustomRPItemInfo* GetObject(int Index) const;
    int IndexOfObject(const TCustomRPItemInfo* Item) const;
    int AddObject(std::string Text, std::unique_ptr<TCustomRPItemInfo> Item);
    void InsertObject(int Index, std::string Text, std::unique_ptr<TCustomRPItemInfo> Item);
    // Takes the object out of its entry; the entry stays, empty.
    std::unique_ptr<TCustomRPItemInfo> TakeObject(int Index);
    // Removes the entry and frees what object it still holds.
    void Delete(int Index);
    // Removes Count entries from Index.
    void DeleteRange(int Index, int Count);
    // Removes the entries from First to Last that hold no object, in one pass.
    void RemoveEmptyEntries(int First, int Last);
    void Clear();
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate() { --FUpdateCount; }
    int UpdateCount() const { return FUpdateCount; }

private:
    void CheckIndex(int Index) const;
    // The entries below this one carry their index in their objects.
    void Unnumber(int Index) { FNumbered = std::min(FNumbered, Index); }
    std::vector<TRPItemEntry> FItems;
    int FUpdateCount = 0;
    mutable int FNumbered = 0;
};

// The reader that LoadRTF hands a file to: it appends the file's content to
// the document and answers 0 for success or an error code. The RTF import
// registers itself here.
using TRPLoadRTFFileProc = int (*)(TRPRTFReaderProperties* Properties, const std::string& FileName,
                                   TCustomRPData* RPData);
void RegisterRTFFileReader(TRPLoadRTFFileProc Proc);
TRPLoadRTFFileProc GetRTFFileReader();

// Graphic classes the HTML writer treats as listed (empty unless the application fills it).
std::vector<std::string>& RPListedGraphicClasses();
bool RP_IsListedGraphicClass(const TGraphic* Graphic);
uint8_t RP_BoolToByte(uint8_t b);

class TCustomRPData {
public:
    TCustomRPData();
    TCustomRPData(const TCustomRPData&) = delete;
    TCustomRPData& operator=(const TCustomRPData&) = delete;
    // Clears with this class's operations; a descendant that keeps markers or
    // events of its own clears in its own destructor.
    virtual ~TCustomRPData();

    TRPItemList* Items;
    uint8_t NewParaSwitch = 1; // 0: items that would start a paragraph become line breaks
    TRPCPInfo* FirstCP = nullptr;
    TRPCPInfo* LastCP = nullptr;
    std::unique_ptr<TRPCPInfo> NotAddedCP;
    int32_t CPCount = 0;
    uint32_t State = 0;

    // ---- settings asked of the root
    virtual TRPOptions GetOptions() const;
    virtual void SetOptions(TRPOptions Value);
    virtual TRPFOptions GetRPFOptions() const;
    virtual void SetRPFOptions(TRPFOptions Value);
    virtual TRPRTFOptions GetRTFOptions() const;
    virtual void SetRTFOptions(TRPRTFOptions Value);
    virtual uint8_t GetRPFWarnings() const;
    virtual void SetRPFWarnings(uint8_t Value);
    virtual TRPFReaderStyleMode GetRPFTextStylesReadMode() const;
    virtual TRPFReaderStyleMode GetRPFParaStylesReadMode() const;
    virtual void FreeItem(std::unique_ptr<TCustomRPItemInfo> Item, bool Clearing);
    virtual uint32_t GetFlags() const { return 0; }
    virtual TCustomRPData* GetContentData() { return this; }
    virtual TCustomRPData* GetSourceData() { return this; }
    virtual TRPStyle* GetRPStyle() const;
    virtual TCustomRPData* GetParentData() const { return nullptr; }
    virtual TCustomRPData* GetRootData() { return this; }
    virtual TCustomRPData* GetAbsoluteParentData() const { return nullptr; }
    virtual TCustomRPData* GetAbsoluteRootData() { return this; }
    virtual void* GetPalette();
    virtual const void* GetLogPalette();
    virtual TRPPaletteAction GetDoInPaletteMode();
    virtual TRPBiDiMode GetBiDiMode();
    virtual bool DoSaveItemToFile(const std::string& Path, TCustomRPData* RPData, int ItemNo,
                                  TRPSaveFormat SaveFormat, bool Unicode, std::string& OutStr);
    virtual void DoItemAction(int ItemAction, TCustomRPItemInfo* Item, std::string& Text,
                              TCustomRPData* RPData);
    virtual bool DoSaveComponentToFile(const std::string& Path, TControl* SaveMe, TRPSaveFormat SaveFormat,
                                       std::string& OutStr);

    // ---- per-class behaviour
    virtual bool ShareItems() const { return false; }
    virtual bool BelongsToControl() const { return false; }
    virtual void DoURLNeeded(int id, std::string& URL) { (void)id, (void)URL; }
    virtual std::string GetDelimiters();
    // Start item and offset, end item and offset, and the parts of the first
    // and the last item when they are selected only in part (null otherwise).
    virtual void GetSelectionBounds(int& StartNo, int& StartOffs, int& EndNo, int& EndOffs,
                                    std::shared_ptr<const TRPMultiDrawItemPart>& StartPart,
                                    std::shared_ptr<const TRPMultiDrawItemPart>& EndPart);
    virtual TRPRTFReaderProperties* GetRTFReadProperties();
    // After unused styles were deleted: per old index of each kind, 0 for a
    // deleted style, else 1 plus the number of deleted styles before it.
    virtual void AdjustAfterStyleDeletion(const TRPIntegerList& TextShifts, const TRPIntegerList& ParaShifts,
                                          const TRPIntegerList& ListShifts) {
        (void)TextShifts, (void)ParaShifts, (void)ListShifts;
    }
    // The three style maps of one RPF read (text, paragraph, list), kept by
    // the root; the reader creates the maps in them. Null pointers without a root that keeps them.
    using TStyleMapVar = std::unique_ptr<TRPIntegerList>*;
    virtual void GetStyleMapVars(TStyleMapVar& TextMap, TStyleMapVar& ParaMap, TStyleMapVar& ListMap);
    virtual void FreeStyleMapVars() {}
    virtual bool IsNotTableCell() const { return true; }
    virtual void DestroyMarkers();
    virtual std::vector<std::string>* GetDocProperties() { return nullptr; }
    virtual TControl* GetParentControl();
    // The owning item's index (-1 at the top) and this document's place in it.
    virtual void GetParentInfo(int& ParentItemNo, std::unique_ptr<TRPStoreSubRPData>& Location);
    virtual TCustomRPData* GetActiveSubData() { return nullptr; }
    virtual TCustomRPItemInfo* GetActiveSubItem() { return nullptr; }
    virtual void Clear();
    virtual void DeleteItems(int FirstItemNo, int Count);
    virtual void DoSaveRTFExtra(TRPRTFSaveArea Area, void* Obj, int Index1, int Index2, bool InStyleSheet,
                                std::string& RTFCode);
    virtual void DoSaveHTMLExtra(TRPHTMLSaveArea Area, bool CSSVersion, std::string& HTMLCode);
    virtual std::string DoSaveParaHTMLCode(TCustomRPData* RPData, int ItemNo, bool ParaStart,
                                           bool CSSVersion);
    virtual void DoReadHyperlink(const std::string& Target, const std::string& Extras, std::string& Text,
                                 TRPTag& Tag, int& StyleNo, int DocFormat);
    virtual void DoWriteHyperlink(int id, TCustomRPData* RPData, int ItemNo, TRPSaveFormat SaveFormat,
                                  std::string& Target, std::string& Extras);
    virtual TGraphic* DoImportPicture(const std::string& Location);
    virtual void DoItemHint(TCustomRPData* RPData, int ItemNo, std::string& HintText);
    virtual TGraphic* DoRPFPictureNeeded(const std::string& ItemName, const TRPTag& ItemTag);
    virtual void DoControlAction(int ControlAction, int ItemNo, TControl* Control) {
        (void)ControlAction, (void)ItemNo, (void)Control;
    }
    virtual TControl* DoRPFControlNeeded(const std::string& ItemName, const TRPTag& ItemTag);
    virtual TCustomImageList* DoRPFImageListNeeded(int ImageListTag);
    // Lets the application place a picture of the HTML output itself (ItemNo -1:
    // the background); DoDefault stays set when it does not.
    virtual void DoHTMLSaveImage(TCustomRPData* RPData, int ItemNo, const std::string& Path, TColor BackColor,
                                 std::string& Location, bool& DoDefault);
    // Lets the application write a picture file of the HTML output itself.
    virtual void DoSaveImage2(const TGraphic* Graphic, TRPSaveFormat SaveFormat, const std::string& Path,
                              const std::string& ImagePrefix, int ImageSaveNo, std::string& Location,
                              bool& DoDefault);
    // Inserts an item read by a reader; False refuses it (the caller keeps Item).
    virtual bool InsertReadItem(int Index, std::string& Text, std::unique_ptr<TCustomRPItemInfo>& Item,
                                int& OutInt, bool& OutFlag);
    virtual void MarkStylesInUse(TRPIntegerList& UsedText, TRPIntegerList& UsedPara,
                                 TRPIntegerList& UsedList);
    virtual TRPMarkerList* GetMarkers(bool AllowCreate);
    virtual TRPMarkerList* GetOuterMarkers() { return nullptr; }
    // Makes the document the one edited now and answers the document that
    // takes the edits (a table cell opens its editor and answers its document).
    virtual TCustomRPData* StartEditing() { return this; }
    // Whether jump JumpNo is the hot (hovered) one; formatted documents answer.
    virtual bool IsHotJump(int JumpNo) { return (void)JumpNo, false; }
    virtual int GetFirstJumpNo() const { return 0; }
    // Paints into Bitmap what lies behind (X, Y) of the printed document (the
    // printable documents do); printing of transparent background pictures
    // asks it with the place of the picture's corner on the page's canvas
    // (device pixels); Flag asks for them in screen pixels of the print area.
    virtual void DrawBackToBitmap(int X, int Y, bool Flag, TColor Color, const TRPResolution& Resolution,
                                  TBitmap& Bitmap) {
        (void)X, (void)Y, (void)Flag, (void)Color, (void)Resolution, (void)Bitmap;
    }
    // A picture of a control item's control for printing: the printing
    // documents ask their print component's event first; the control-image
    // maker is the default.
    virtual std::unique_ptr<TBitmap> GetControlImageForPrinting(TControl* Control);
    // Shows an item's hint on the view control (the view's document does it).
    virtual void SetControlHint(const std::string& Hint) { (void)Hint; }

    // ---- appending
    void AddItem(std::string Text, std::unique_ptr<TCustomRPItemInfo> Item);
    // Appends the item as it is, its paragraph flags untouched.
    void AppendItem(std::string Text, std::unique_ptr<TCustomRPItemInfo> Item);
    void AddTextTag(const std::string& Text, int StyleNo, int ParaNo, const TRPTag& Tag);
    void AddText(const std::string& Text, int StyleNo, int ParaNo) {
        AddTextTag(Text, StyleNo, ParaNo, TRPTag{});
    }
    // Text with line breaks: each CR LF, CR or LF starts a new paragraph.
    void AddNL(const std::string& Text, int StyleNo, int ParaNo);
    void AddPicture(const std::string& Name, std::unique_ptr<TGraphic> Graphic, int ParaNo, uint8_t VAlign,
                    const TRPTag& Tag);
    int AddCheckpoint(const std::string& Name, bool RaiseEvent, const TRPTag& Tag);

    // ---- item list operations
    void ShareItemsFrom(TCustomRPData& Source);
    void Assign(TCustomRPData* Source);
    void FreeItemAt(int ItemNo, bool Clearing);
    int LoadRTF(const std::string& FileName);
    bool CanMergeItems(int ItemNo, const TCustomRPItemInfo* Item1, bool Force,
                       const TCustomRPItemInfo* Item2);
    // Joins item ItemNo and the next one; an empty one is dropped and the other
    // takes its place.
    void MergeItems(int ItemNo);
    // Joins the runs from First to Last that may be joined, from the end, as
    // MergeItems would one pair at a time, in time linear in the range.
    void MergeRange(int First, int Last);
    // How two neighbouring runs become one, as a rule of JoinRuns decides and
    // prepares it: the left one stays and takes the right one's text after
    // its own, or the right one stays (the left one is empty then).
    enum class TRPJoin : uint8_t { None, Left, Right };
    using TRPJoinRule = std::function<TRPJoin(TCustomRPItemInfo& Left, bool LeftEmpty,
                                              TCustomRPItemInfo& Right, bool RightEmpty)>;
    // Joins the items from First to Last pair by pair from the end, each item
    // with the one its right neighbour has become, as Rule says; the texts
    // join and the runs that go are freed. Answers how many went.
    int JoinRuns(int First, int Last, const TRPJoinRule& Rule);
    // CanMergeItems for two runs given with whether their texts are empty.
    bool CanJoinItems(const TCustomRPItemInfo* Item1, bool Empty1, const TCustomRPItemInfo* Item2,
                      bool Empty2, bool Force);
    void UnifyParaNo(int ItemNo);
    void NotifyAllItemsInserted(bool Safe);
    void UpdateItemsPaletteInfo();

    // ---- checkpoint chain
    void LinkPendingCheckpoint(TCustomRPItemInfo* Item, TRPCPInfo*& PrevCP,
                               std::unique_ptr<TRPCPInfo>& PendingCP);
    void UnlinkCheckpoint(TRPCPInfo* CP, bool DecCount);
    void FreeCheckpoint(std::unique_ptr<TRPCPInfo>& CP, bool Unlink, bool DecCount);
    void InsertCheckpointInOrder(TRPCPInfo* CP, int ItemNo);
    void UpdateCPItemNumbers();
    TRPCPInfo* FindCheckpointBefore(int ItemNo);

    void ExpandTabs(const std::string& Text, int StyleNo, std::string& Result, bool ForceUnicode) const;
    static void ReplaceZeroChars(std::string& Text);
    void Beep();
    // Counts calls of Beep that would sound (tests and the platform beep).
    static int BeepCount;

    // ---- item access
    TCustomRPItemInfo* GetItem(int ItemNo) const { return Items->GetObject(ItemNo); }
    int GetItemNo(const TCustomRPItemInfo* Item) const { return Items->IndexOfObject(Item); }
    int GetItemCount() const { return Items->Count(); }
    const std::string& GetItemText(int ItemNo) const { return Items->Get(ItemNo); }
    int GetItemStyle(int ItemNo) const { return GetActualStyle(GetItem(ItemNo)); }
    int GetActualStyle(const TCustomRPItemInfo* Item) const;
    int GetActualStyleOfPara(int StyleNo, int ParaNo) const;
    int GetItemPara(int ItemNo) const { return GetItem(ItemNo)->ParaNo; }
    TRPItemOptions GetItemOptions(int ItemNo) const { return GetItem(ItemNo)->ItemOptions; }
    const TRPTag& GetItemTag(int ItemNo) const { return GetItem(ItemNo)->Tag; }
    void SetItemTag(int ItemNo, const TRPTag& Tag);
    TRPCPInfo* GetItemCheckpoint(int ItemNo) const { return GetItem(ItemNo)->Checkpoint.get(); }
    bool IsFromNewLine(int ItemNo) const { return !GetItem(ItemNo)->GetContinuesPrev(); }
    bool IsParaStart(int ItemNo) const { return GetItem(ItemNo)->StartsPara(); }
    bool IsPageBreak(int ItemNo) const;
    int GetFirstOffsetOfItem(int ItemNo) const;
    int GetLastOffsetOfItem(int ItemNo) const;
    int ItemLength(int ItemNo) const;
    void GetPictureInfo(int ItemNo, std::string& Name, TGraphic*& Graphic, uint8_t& VAlign,
                        TRPTag& Tag) const;
    // The item adopts Graphic unless it is its current graphic (nullptr keeps
    // the current one); True when the layout must be redone.
    bool SetPictureInfo(int ItemNo, const std::string& Name, TGraphic* Graphic, uint8_t VAlign,
                        const TRPTag& Tag);
    bool SetItemExtraIntProperty(int ItemNo, int Prop, int Value);
    bool GetItemExtraIntProperty(int ItemNo, int Prop, int& Value) const;
    // Raises unless the item at ItemNo is a T (or derived from it).
    template <class T> T* CheckItemClass(int ItemNo) const {
        T* p = dynamic_cast<T*>(GetItem(ItemNo));
        if (!p) RaiseWrongItemClass();
        return p;
    }
    int FindControlItemNo(const TControl* Control) const;
    void DoControlActionForItem(int ControlAction, int ItemNo, TCustomRPItemInfo* Item);

    // ---- navigation
    void ClampItemNo(int& ItemNo) const;
    int GetNextCharOffset(const std::string& Text, int ItemNo, int Offs) const;
    int GetPrevCharOffset(const std::string& Text, int ItemNo, int Offs) const;
    int GetFirstParaItem(int ItemNo) const;
    int GetFirstParaSectionItem(int ItemNo) const;
    void ExpandToPara(int StartNo, int EndNo, int& First, int& Last) const;
    void ExpandToParaSection(int StartNo, int EndNo, int& First, int& Last) const;

    // ---- text properties
    int GetStyleCodePage(int StyleNo) const;
    int GetStyleLocale(int StyleNo) const;
    int GetDefaultCodePage() const;
    TRPBiDiMode GetItemBiDiMode(int ItemNo);
    TRPBiDiMode GetParaBiDiMode(int ParaNo);
    bool IsDelimiterBefore(const std::string& Text, int Offs, TRPItemOptions Options);
    bool IsDelimiterA(char Ch);
    bool IsDelimiterW(char16_t Ch);

    void UpdateStyles(const TRPIntegerList& TextShift, const TRPIntegerList& ParaShift,
                      const TRPIntegerList& ListShift);

    // ---- list markers
    // Answers the item when it is a marker in the numbering.
    TRPMarkerItemInfo* AddMarkerInList(int ItemNo);
    // The same for a caller that walks the document in order and knows the
    // marker before ItemNo (null for none): nothing is searched.
    TRPMarkerItemInfo* AddMarkerInListAfter(int ItemNo, TRPMarkerItemInfo* Previous);
    // An item with sub-documents (a table) takes the markers inside them along.
    void RemoveMarkerFromList(TCustomRPItemInfo* Item, bool Clearing);
    void RemoveSubMarkersFromList(const TCustomRPItemInfo& Item, bool Clearing);
    // The markers among Count items from FirstItemNo leave the list at once
    // (freeing them one by one would search and shift the list for each).
    void RemoveMarkersFromList(int FirstItemNo, int Count);
    void UpdateMarkerCounters(int ItemNo, bool Create);
    TRPMarkerItemInfo* FindPreviousMarker(int ItemNo);
    int FindLastMarkerOfLists(int MarkerIndex, const TRPIntegerList& ListNos);

    int FindItemContaining(int StartNo, const TCustomRPItemInfo* Item) const;

    // ---- RPF stream
    // Appends the whole document (or the selection) to Stream; True.
    bool SaveRPFToStream(std::string& Stream, bool SelectionOnly, TColor Color, TRPBackground* Background,
                         TRPLayoutInfo* Layout);
    // Clears the document and reads Stream as a whole document.
    bool LoadRPFFromStream(const std::string& Stream, TColor& Color, TRPBackground* Background,
                           TRPLayoutInfo* Layout);
    // Reads Stream into the document at Index; Index answers where the first
    // read item went. ItemsAdded counts the items inserted after the first.
    bool InsertRPFFromStream(const std::string& Stream, int& Index, int AParaNo, bool EditMode, bool UseParaNo,
                             bool WholeDocument, TColor& Color, TRPBackground* Background,
                             TRPLayoutInfo* Layout, int& ItemsAdded, int& FirstOutInt, bool& FirstOutFlag,
                             bool& Aborted);
    // Reads Stream as an insertion would, into a stand-in, changing nothing
    // here: whether it reads to its end, and the number of items it holds.
    bool CheckRPFInsertion(const std::string& Stream, int& ItemCount);
    // The document as a block (form resources, table cells): an int32 byte
    // count, then its RPF, written without the background.
    void WriteRPFData(std::string& Stream);
    // Reads one such block from Stream at Pos into the document and moves
    // Pos past it; False when the block ends early or does not read.
    bool ReadRPFData(const std::string& Stream, size_t& Pos);

    // ---- RTF, HTML and plain-text output
    // The range a writer takes: the selection (GetSelectionBounds, put in
    // order) or the whole document.
    TRPSaveRange GetSaveRange(bool SelectionOnly);

    // Writes an RTF file; False when it cannot be created or written.
    bool SaveRTF(const std::string& FileName, bool SelectionOnly, TColor Color, TRPBackground* Background);
    // Appends RTF of the document or its selection. Level 0 writes a whole
    // file (Tables and TwipsPerPixel are then made here); table cells are
    // written with a Level above 0 and the tables of the enclosing write.
    virtual bool SaveRTFToStream(std::string& Stream, bool SelectionOnly, int Level, TColor Color,
                                 TRPBackground* Background, TRPRTFTables* Tables, double TwipsPerPixel);
    // Adds what every item of the document (not only a range) needs to the
    // RTF colour table and the per-list override counts; a table asks it of
    // each of its cells.
    void BuildRTFColorAndListTables(TRPColorList& ColorList, TRPIntegerList& ListOverrideCount);
    // The same for a given range; Selection writes a list marker that starts
    // the range's first paragraph ahead of it.
    bool SaveRTFRangeToStream(std::string& Stream, const TRPSaveRange& Range, bool Selection, int Level,
                              TColor Color, TRPRTFTables* Tables, double TwipsPerPixel);

    // HTML with DIV and FONT tags. Path is the folder of the picture files
    // (ending in a separator, or empty); ImageSaveNo numbers them across calls.
    virtual bool SaveHTMLToStream(std::string& Stream, const std::string& Path, const std::string& Title,
                                  const std::string& ImagesPrefix, TRPHTMLSaveOptions Options, TColor Color,
                                  int& ImageSaveNo, int LeftMargin, int TopMargin, int RightMargin,
                                  int BottomMargin, TRPBackground* Background, TRPHTMLBulletList* Bullets);
    // HTML with a style sheet of the styles (or inline styles).
    virtual bool SaveHTMLWithCSSToStream(std::string& Stream, const std::string& Path, const std::string& Title,
                                         const std::string& ImagesPrefix, const std::string& ExtraStyles,
                                         const std::string& ExternalCSS, const std::string& CPPrefix,
                                         TRPHTMLSaveOptions Options, TColor Color, TColor& CurrentFileColor,
                                         int& ImageSaveNo, int LeftMargin, int TopMargin, int RightMargin,
                                         int BottomMargin, TRPBackground* Background, TRPHTMLBulletList* Bullets);
    // Either writer for a range of the document (the classic one without UseCSS).
    bool SaveHTMLRangeToStream(std::string& Stream, const TRPHTMLParams& Params, bool UseCSS,
                               TColor& CurrentFileColor, int& ImageSaveNo, const TRPSaveRange& Range);
    // Writes an HTML file (with CSS or classic); pictures go beside it.
    bool SaveHTML(const std::string& FileName, const std::string& Title, const std::string& ImagesPrefix,
                  TRPHTMLSaveOptions Options, bool UseCSS, TColor Color, TRPBackground* Background);
    // Writes a picture file for HTML and answers where it went (relative to Path).
    virtual std::string SaveImageForHTML(TRPSaveFormat SaveFormat, const std::string& ImagesPrefix,
                                         const std::string& Path, int& ImageSaveNo, bool OverrideFiles,
                                         TColor BackColor, const TGraphic* Graphic);
    virtual std::string MakeUniqueFileName(const std::string& ImagesPrefix, const std::string& Path,
                                           bool OverrideFiles, int& ImageSaveNo, const std::string& Extension);

    // Plain text of the document or its selection: 8-bit text in the styles'
    // code pages, or UTF-16 (with an optional byte-order mark).
    bool SaveTextToStream(const std::string& Path, std::string& Stream, int LineWidth, bool SelectionOnly,
                          bool TextOnly, bool Unicode, bool UnicodeWriteSignature);
    bool SaveTextRangeToStream(const std::string& Path, std::string& Stream, int LineWidth,
                               const TRPSaveRange& Range, bool Selection, bool TextOnly, bool Unicode,
                               bool UnicodeWriteSignature);
    bool SaveText(const std::string& FileName, int LineWidth, bool Unicode);
    // Characters From .. To - 1 of a text item, or the application's text for it.
    std::string GetPlainItemText(const std::string& Path, int ItemNo, int From, int To, bool Unicode,
                                 bool& Supplied);
    // Part: the part to give of an item selected only in part (null: all of it).
    std::string GetPlainNonTextItem(const std::string& Path, int ItemNo, int StartOffs, int EndOffs,
                                    int LineWidth, bool TextOnly, bool Unicode, bool& Supplied,
                                    const TRPMultiDrawItemPart* Part = nullptr);
    std::string ConvertPlainText(const std::string& Text, int ItemNo, bool Unicode) const;

protected:
    [[noreturn]] static void RaiseWrongItemClass();
    bool TagsArePChars() { return (GetOptions() & rpoTagsArePChars) != 0; }
    // The marker list kept when this document is its own absolute root.
    std::unique_ptr<TRPMarkerList> FMarkers;

    // From's checkpoint goes to To, when To has none.
    static void MoveCheckpoint(TCustomRPItemInfo& From, TCustomRPItemInfo& To);

private:
    static void JoinIntoNext(TCustomRPItemInfo& Empty, TCustomRPItemInfo& Next);
    std::unique_ptr<TRPItemList> FOwnItems;
    TRPMarkerItemInfo* FindMarkerBackwards(int FromItemNo);
    bool ContainsItem(const TCustomRPItemInfo* Item) const;
};

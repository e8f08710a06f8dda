#pragma once
// The documents between the formatted document and the view control:
// TRPControlData keeps the keyboard focus among the links and controls of a
// document and paints through an off-screen buffer; TRichPadRPData binds a
// document to its view and answers the model's questions about its setting
// from that control. TRPItemFormattedData is a sub-document whose setting
// comes from its owning item (table cells), TRPDataList a list of them.
#include <memory>

#include "richtext/view/RPFormattedData.h"

class QImage;
class TCustomRichPad;
class TWinControl;

enum TRPTabNavigationType : uint8_t { rptnNone, rptnTab, rptnCtrlTab };
// The one default of a view's Tab navigation, for new controls and streamed ones alike.
constexpr TRPTabNavigationType rpDefaultTabNavigation = rptnTab;

class TRPControlData : public TCustomRPFormattedData {
public:
    TRPControlData();
    ~TRPControlData() override;

    int FocusedSubItemNo = -1;
    TCustomRPFormattedData* FocusedData = nullptr;
    TRPTabNavigationType TabNavigation = rpDefaultTabNavigation;

    // Moves the item focus on. FromControl is the control that lost the focus;
    // Arrival when the view has just received the keyboard focus (an item that
    // already holds the focus keeps it then), else a Tab key moves it on.
    void MoveFocus(bool Backward, TControl* FromControl, bool Arrival);
    // The next control of Parent's tab order after CurControl that may take the focus.
    TWinControl* FindNextTabControl(TWinControl* Parent, TControl* CurControl, bool Forward);
    // The focus frames around the focused item's draw items, at (DX, DY) on Canvas.
    void DrawFocusRect(TCanvas& Canvas, int DX, int DY);
    void InvalidateFocusRect();
    void ActivateFocusedItem();
    // Paints Clip (client coordinates) of the view through an off-screen picture.
    void PaintBuffered(TCanvas& Canvas, const TRect& Clip);
    // That picture, kept from paint to paint (nullptr before the first paint).
    const QImage* PaintBuffer() const { return FPaintBuffer.get(); }

    void ClearFormatting() override;
    void Deselect(TCustomRPItemInfo* NewPartialItem, bool Redraw) override;
    void SetFocusedItemNo(int ItemNo) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    // The off-screen picture of PaintBuffered, kept from paint to paint; it
    // grows with the largest area painted.
    std::unique_ptr<QImage> FPaintBuffer;
};

// The scroll unit for a document Height pixels high, from the unit Step in
// use, in a view ViewHeight pixels high: the vertical range stays within
// 32000 units, and the unit goes back to 10 pixels when that is enough, or
// else to the smallest that is enough when Step is taller than the view.
int RPVScrollStepFor(int Height, int Step, int ViewHeight);

class TRichPadRPData : public TRPControlData {
public:
    explicit TRichPadRPData(TCustomRichPad* AOwnerView);
    ~TRichPadRPData() override;

    TCustomRichPad* OwnerView;
    // Slots a writer may fill; freed on request.
    std::unique_ptr<TObject> TempObjects[3];

    // ---- the model's questions, answered from the control
    TRPOptions GetOptions() const override;
    void SetOptions(TRPOptions Value) override;
    TRPFOptions GetRPFOptions() const override;
    void SetRPFOptions(TRPFOptions Value) override;
    TRPRTFOptions GetRTFOptions() const override;
    void SetRTFOptions(TRPRTFOptions Value) override;
    uint8_t GetRPFWarnings() const override;
    void SetRPFWarnings(uint8_t Value) override;
    TRPFReaderStyleMode GetRPFTextStylesReadMode() const override;
    TRPFReaderStyleMode GetRPFParaStylesReadMode() const override;
    uint32_t GetFlags() const override;
    void SetFlags(uint32_t Value) override;
    TRPStyle* GetRPStyle() const override;
    void* GetPalette() override;
    const void* GetLogPalette() override;
    TRPPaletteAction GetDoInPaletteMode() override;
    TRPBiDiMode GetBiDiMode() override;
    TControl* GetParentControl() override;
    std::string GetDelimiters() override;
    TRPRTFReaderProperties* GetRTFReadProperties() override;
    std::vector<std::string>* GetDocProperties() override;
    bool BelongsToControl() const override { return true; }

    int GetLeftMargin() override;
    int GetRightMargin() override;
    int GetTopMargin() override;
    int GetBottomMargin() override;
    int GetMinTextWidth() override;
    int GetMaxTextWidth() override;
    int GetWidth() override;
    int GetHeight() override;
    int GetAreaWidth() override;
    int GetHOffs() override;
    int GetVOffs() override;
    int GetVSmallStep() override;
    TCanvas* GetCanvas() override;
    TColor GetColor() override;
    TRPBackground* GetBackground() override;
    int GetNormalCursor() override;
    bool IsFocused() override;
    int GetCheckpointEventMode() override;
    TControl* GetCellEditor() override;
    void ReleaseEditedCellExcept(TCustomRPItemInfo* Except) override;
    void SetEditedCell(TCustomRPData* CellData, TCustomRPItemInfo* Item) override;
    // Guarded against re-entry: releasing a cell deselects it, and its
    // deselection releases it.
    void ReleaseEditedCell(TCustomRPData* CellData) override;
    // The document of the cell the control edits now (its editor's while
    // one is open), and the cell's table.
    TCustomRPData* GetActiveSubData() override;
    TCustomRPItemInfo* GetActiveSubItem() override;
    bool CanStartDragging() override;
    void PostDragStart() override;
    void SetFocusToControl() override;
    void CancelItemHint() override;
    TPoint ClientToScreen(TPoint P) override;
    void SetControlHint(const std::string& Hint) override;

    // ---- commands to the control
    void AdjustVScrollStep() override;
    void SetDocumentAreaSize(int Width, int Height, bool UpdateHorizontal) override;
    void SettleVerticalBar() override;
    // While one is held (an edit lays its lines out and puts the caret back),
    // formattings leave the bar alone; the holder settles it afterwards.
    class TBarSettleHold {
    public:
        explicit TBarSettleHold(TRichPadRPData& Data) : D(Data) { ++D.FBarHolds; }
        ~TBarSettleHold() { --D.FBarHolds; }
        TBarSettleHold(const TBarSettleHold&) = delete;
        TBarSettleHold& operator=(const TBarSettleHold&) = delete;

    private:
        TRichPadRPData& D;
    };
    void ScrollToY(int Y, bool Redraw) override;
    void HScrollTo(int X) override;
    void SetCursor(int Cursor) override;
    void InvalidateRectInView(const TRect& R) override;
    void InvalidateView() override;
    void RefreshView() override;
    bool ScrollRectInView(int DY, const TRect& R) override;
    void UpdateView() override;

    // ---- events
    bool IsAssigned(TRPEvent Event) override;
    void DoJump(int Id) override;
    void DoRPMouseMove(int Id) override;
    void DoRPMouseDown(TMouseButton Button, TShiftState Shift, int ItemNo, int X, int Y) override;
    void DoRPMouseUp(TMouseButton Button, TShiftState Shift, int ItemNo, int X, int Y) override;
    void DoRPDblClick(const std::string& Word, int StyleNo) override;
    void DoRPRightClick(const std::string& Word, int StyleNo, int X, int Y) override;
    void DoCopy() override;
    void DoSelect() override;
    void DoCheckpointVisible(TRPCPInfo* CP) override;
    void DoURLNeeded(int id, std::string& URL) override;
    void DoReadHyperlink(const std::string& Target, const std::string& Extras, std::string& Text, TRPTag& Tag,
                         int& StyleNo, int DocFormat) override;
    TGraphic* DoImportPicture(const std::string& Location) override;
    void DoItemHint(TCustomRPData* RPData, int ItemNo, std::string& HintText) override;
    TGraphic* DoRPFPictureNeeded(const std::string& ItemName, const TRPTag& ItemTag) override;
    TControl* DoRPFControlNeeded(const std::string& ItemName, const TRPTag& ItemTag) override;
    TCustomImageList* DoRPFImageListNeeded(int ImageListTag) override;
    void DoControlAction(int ControlAction, int ItemNo, TControl* Control) override;
    void DoItemAction(int ItemAction, TCustomRPItemInfo* Item, std::string& Text, TCustomRPData* RPData) override;
    void SelectionChanged() override;
    // The writers' hooks, fired as the control's events.
    bool DoSaveItemToFile(const std::string& Path, TCustomRPData* RPData, int ItemNo, int SaveFormat, bool Unicode,
                          std::string& OutStr) override;
    bool DoSaveComponentToFile(const std::string& Path, TControl* SaveMe, int SaveFormat,
                               std::string& OutStr) override;
    void DoSaveRTFExtra(int Area, void* Obj, int Index1, int Index2, bool InStyleSheet,
                        std::string& RTFCode) override;
    void DoSaveHTMLExtra(int Area, bool CSSVersion, std::string& HTMLCode) override;
    std::string DoSaveParaHTMLCode(TCustomRPData* RPData, int ItemNo, bool ParaStart, bool CSSVersion) override;
    void DoWriteHyperlink(int id, TCustomRPData* RPData, int ItemNo, int SaveFormat, std::string& Target,
                          std::string& Extras) override;
    void DoHTMLSaveImage(TCustomRPData* RPData, int ItemNo, const std::string& Path, TColor BackColor,
                         std::string& Location, bool& DoDefault) override;
    void DoSaveImage2(const TGraphic* Graphic, int SaveFormat, const std::string& Path,
                      const std::string& ImagePrefix, int ImageSaveNo, std::string& Location,
                      bool& DoDefault) override;

private:
    bool Fires() const;
    int FBarHolds = 0;
    bool FSettlingBar = false;
};

// A formatted sub-document owned by an item (the base of table cells).
class TRPItemFormattedData : public TCustomRPFormattedData {
public:
    TRPItemFormattedData(TCustomRPItemInfo* AOwnerItem, TCustomRPData* AParentData)
        : OwnerItem(AOwnerItem), ParentData(AParentData) {}

    TCustomRPItemInfo* OwnerItem;
    TCustomRPData* ParentData;

    TCustomRPData* GetParentData() const override { return ParentData; }
    TCustomRPData* GetRootData() override { return ParentData ? ParentData->GetRootData() : this; }
    TCustomRPData* GetAbsoluteParentData() const override { return ParentData; }
    TCustomRPData* GetAbsoluteRootData() override { return ParentData ? ParentData->GetAbsoluteRootData() : this; }
    uint32_t GetFlags() const override { return ParentData ? ParentData->GetFlags() : 0; }
    void SetFlags(uint32_t Value) override;
    TCanvas* GetCanvas() override;
    int GetNormalCursor() override;
    void SetCursor(int Cursor) override;
    bool IsAssigned(TRPEvent Event) override;
    void DoJump(int Id) override;
    void DoRPMouseMove(int Id) override;
    int GetFirstJumpNo() const override;
    void ShowRectangle(int X, int Y, int Width, int Height) override;
    bool IsNotTableCell() const override { return false; }

private:
    TCustomRPFormattedData* Root() const;
};

// The sub-documents of one item row (the base of table rows).
class TRPDataList : public TRPList<TRPItemFormattedData> {
public:
    uint16_t Flags = 18;
    int LastIndex() const { return Count() - 1; }
};

#pragma once
// The scrolling base of every rich-text view: the window's two scroll bars,
// the scroll positions (pixels across, units of VSmallStep pixels down, so
// that the vertical range fits 16-bit scroll positions), how a position
// change moves pixels and embedded controls, keyboard and wheel scrolling,
// and the table cell that an in-place editor may have open in the view. It
// knows nothing of documents: the document tells it the document's size.
#include <cstdint>
#include <vector>

#include "platform/CustomControl.h"
#include "richtext/model/RPItem.h"
#include "richtext/model/RPTypes.h"

class QMimeData;
class TCustomRPData;

// The scroll-bar operations, filled with the platform's at start; every call
// of the scroller goes through this table.
struct TRPScrollBarOps {
    void (*Show)(TCustomControl* Control, int Bar, bool Show);
    bool (*GetInfo)(TCustomControl* Control, int Bar, TScrollInfo& Info);
    int (*GetPos)(TCustomControl* Control, int Bar);
    int (*SetPos)(TCustomControl* Control, int Bar, int Pos, bool Redraw);
    int (*SetInfo)(TCustomControl* Control, int Bar, const TScrollInfo& Info, unsigned Mask, bool Redraw);
    void (*Enable)(TCustomControl* Control, int Bar, bool Enable);
};
extern TRPScrollBarOps RPScrollBarOps;

// A logical palette of the old display system, kept as its colour entries.
struct TRPLogPalette {
    uint16_t Version = 0x300;
    std::vector<uint32_t> Entries; // 0x00BBGGRR, flags 0
};

class TRPScroller : public TCustomControl {
public:
    explicit TRPScroller(TComponent* AOwner);
    ~TRPScroller() override;
    QString ClassName() const override { return QStringLiteral("TRPScroller"); }

    // ---- state
    TBorderStyle BorderStyle = bsNone;
    int32_t VSmallStep = 1;
    bool Tracking = true;
    bool FullRedraw = false;
    bool VScrollVisible = true;
    bool HScrollVisible = true;
    int32_t VScrollMax = 0, VScrollPage = 0;
    int32_t HScrollMax = 0, HScrollPage = 0;
    TRPPaletteAction DoInPaletteMode = rppaCreateCopies;
    TRPBiDiMode BiDiMode = rpbdUnspecified;
    bool UseXPThemes = true;
    TNotifyEvent OnVScrolled;
    TNotifyEvent OnHScrolled;
    bool DisableNoScroll = false;
    int32_t HPos = 0, VPos = 0;
    int32_t DocWidth = 0, DocHeight = 0;
    bool KeyboardScroll = true;
    TCustomRPItemInfo* EditedCellItem = nullptr;
    TCustomRPData* EditedCellData = nullptr;
    uintptr_t ThemeHandle = 0;
    int32_t LineStep = 1;
    int32_t WheelStep = 2;
    uintptr_t PaletteHandle = 0;
    std::unique_ptr<TRPLogPalette> LogPalette;

    // ---- scrolling
    void UpdateScrollBars(int ADocWidth, int ADocHeightUnits, bool ADisableNoScroll, bool UpdateHorizontal);
    virtual void SetVPosition(int Pos, bool Redraw);
    virtual void SetHPosition(int Pos);
    // Y in pixels, rounded down to whole units.
    void ScrollTo(int Y) { SetVPosition(Y / std::max(1, VSmallStep), true); }
    void ScrollToNoRedraw(int Y) { SetVPosition(Y / std::max(1, VSmallStep), false); }
    virtual void SetVSmallStep(int Value) { VSmallStep = Value; }
    virtual void VScrolled();
    virtual void HScrolled();
    // Moves the client area's pixels inside R (what the move uncovers is
    // painted later); every scroll of the view goes through it.
    virtual void ScrollPixels(int DX, int DY, const TRect& R) { ScrollWindowRect(DX, DY, R); }
    void ShiftChildControls(int DX, int DY);
    static int ControlTopFromTag(const TControl* Control);
    static void ApplyControlTopFromTag(TControl* Control);

    // ---- properties with effects
    void SetVScrollVisible(bool Value);
    void SetHScrollVisible(bool Value);
    void SetBorderStyle(TBorderStyle Value);
    virtual void SetBiDiMode(TRPBiDiMode Value);
    void SetUseXPThemes(bool Value);
    void SetDoInPaletteMode(TRPPaletteAction Value);
    uintptr_t GetPalette() const { return PaletteHandle; }
    virtual void UpdatePalette();
    virtual std::unique_ptr<TRPLogPalette> BuildDefaultPalette();

    // ---- the in-place cell editor's bookkeeping
    void SetEditedCell(TCustomRPData* CellData, TCustomRPItemInfo* Item);
    void ReleaseEditedCell(TCustomRPData* CellData);
    virtual TControl* GetCellEditor() { return nullptr; }
    virtual void DestroyCellEditor() {}
    bool IsFocusedWithCellEditors();
    void FocusInParentForm();
    bool Destroying() const { return m_destroying; }

    // ---- drop target hooks (a read-only view accepts nothing); points are
    // client coordinates. OleDrop answers the effect: 0 none, 1 copy, 2 move.
    virtual bool OleDragEnter(int X, int Y) { return (void)X, (void)Y, false; }
    virtual void OleDragLeave() {}
    virtual bool OleDragOver(int X, int Y) { return (void)X, (void)Y, false; }
    virtual int OleDrop(const QMimeData& DataObject, bool Move) { return (void)DataObject, (void)Move, 0; }
    virtual bool OleCanAcceptFormat(const QMimeData& DataObject) { return (void)DataObject, false; }

protected:
    void CreateWnd() override;
    void DestroyWnd() override;
    // The window style: border and side of the vertical bar.
    virtual void CreateParams();
    virtual void OpenTheme();
    virtual void CloseTheme();
    virtual void ResetScrollPositions();
    virtual void UpdateScrollBarsForClient();
    virtual int GetDefaultVSmallStep() { return 10; }
    void ScrollMessage(int Bar, int Code, int Pos) override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    // Whether the navigation keys scroll the view (an editor's move its caret).
    virtual bool ScrollsByKeys() const { return KeyboardScroll; }
    bool MouseWheel(TShiftState Shift, int WheelDelta, int X, int Y) override;
    void FocusIn(bool Mouse, bool Backward, bool FromNowhere) override;
    bool m_destroying = false;

private:
    bool m_busy = false;
    bool m_releasingCell = false;
    int m_wheelRest = 0;
    void HideBar(int Bar);
};

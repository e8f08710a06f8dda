#include "richtext/view/RPScroller.h"

#include <algorithm>
#include <cmath>

#include "platform/Keys.h"
#include "platform/Runtime.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/view/RPFormattedData.h"

TRPScrollBarOps RPScrollBarOps = {
    [](TCustomControl* c, int bar, bool show) { c->ShowScrollBar(bar, show); },
    [](TCustomControl* c, int bar, TScrollInfo& info) { return c->GetScrollInfo(bar, info); },
    [](TCustomControl* c, int bar) { return c->GetScrollPos(bar); },
    [](TCustomControl* c, int bar, int pos, bool redraw) { return c->SetScrollPos(bar, pos, redraw); },
    [](TCustomControl* c, int bar, const TScrollInfo& info, unsigned mask, bool redraw) {
        return c->SetScrollInfo(bar, info, mask, redraw);
    },
    [](TCustomControl* c, int bar, bool enable) { c->EnableScrollBar(bar, enable); },
};

namespace {

// Embedded controls learn their place from the document model through this hook.
const bool kControlTopHook = [] {
    SetApplyControlTopFromTagProc(&TRPScroller::ApplyControlTopFromTag);
    return true;
}();

} // namespace

TRPScroller::TRPScroller(TComponent* AOwner) : TCustomControl(AOwner) {
    (void)kControlTopHook;
    SetTabStop(true);
}

TRPScroller::~TRPScroller() {
    m_destroying = true;
}

// ---------------------------------------------------------------------------
// Window

void TRPScroller::CreateParams() {
    SetClientEdge(BorderStyle == bsSingle);
    SetLeftScrollBar(BiDiMode == rpbdRightToLeft);
    DisableNoScroll = false;
}

void TRPScroller::CreateWnd() {
    CreateParams();
    VSmallStep = GetDefaultVSmallStep();
    ResetScrollPositions();
    OpenTheme();
    UpdateScrollBarsForClient();
}

void TRPScroller::DestroyWnd() {
    CloseTheme();
}

void TRPScroller::OpenTheme() {
    // There is no visual-style library here: the plain border is drawn.
    ThemeHandle = 0;
}

void TRPScroller::CloseTheme() {
    ThemeHandle = 0;
}

void TRPScroller::ResetScrollPositions() {
    HPos = 0;
    VPos = 0;
}

void TRPScroller::UpdateScrollBarsForClient() {
    UpdateScrollBars(ClientWidth(), ClientHeight() / std::max(1, VSmallStep), true, true);
}

// ---------------------------------------------------------------------------
// Scroll bars

void TRPScroller::HideBar(int Bar) {
    TScrollInfo cur;
    RPScrollBarOps.GetInfo(this, Bar, cur);
    if (cur.Min == 0 && cur.Max == 1 && cur.Page == 0 && cur.Pos == 0) return;
    TScrollInfo hide;
    hide.Min = 0;
    hide.Max = 1;
    hide.Page = 2;
    hide.Pos = 0;
    RPScrollBarOps.SetInfo(this, Bar, hide, SIF_ALL, true);
}

void TRPScroller::UpdateScrollBars(int ADocWidth, int ADocHeightUnits, bool ADisableNoScroll, bool UpdateHorizontal) {
    if (m_busy || !HandleAllocated()) return;
    m_busy = true;
    try {
        const int step = std::max(1, VSmallStep);
        // Each bar takes room that the other may need: both stay only while
        // the document does not fit the control without either (a bar kept
        // disabled keeps its room).
        const bool keepV = VScrollVisible && ADisableNoScroll && DisableNoScroll;
        const int fullW = ClientWidth() + (ScrollBarVisible(SB_VERT) && !keepV ? ScrollBarExtent : 0);
        const int fullH = ClientHeight() + (ScrollBarVisible(SB_HORZ) ? ScrollBarExtent : 0);
        const bool fits =
            (UpdateHorizontal ? ADocWidth : DocWidth) <= fullW && ADocHeightUnits <= fullH / step;
        if (UpdateHorizontal) {
            DocWidth = ADocWidth;
            HScrollPage = fits ? fullW : ClientWidth();
            HScrollMax = ADocWidth - 1;
            if (HScrollVisible) {
                HPos = std::max(0, std::min(HPos, HScrollMax - (HScrollPage - 1)));
                TScrollInfo i{0, HScrollMax, HScrollPage, HPos, HPos};
                RPScrollBarOps.SetInfo(this, SB_HORZ, i, SIF_ALL, true);
            } else {
                HideBar(SB_HORZ);
            }
        }
        DocHeight = ADocHeightUnits;
        VScrollPage = (fits ? fullH : ClientHeight()) / step;
        VScrollMax = ADocHeightUnits - 1;
        VPos = std::max(0, std::min(VPos, VScrollMax - (VScrollPage - 1)));
        if (VScrollVisible) {
            TScrollInfo i{0, VScrollMax, VScrollPage, VPos, VPos};
            unsigned mask = SIF_ALL;
            if (ADisableNoScroll && DisableNoScroll) mask |= SIF_DISABLENOSCROLL;
            RPScrollBarOps.SetInfo(this, SB_VERT, i, mask, true);
        } else {
            HideBar(SB_VERT);
        }
    } catch (...) {
        m_busy = false;
        throw;
    }
    m_busy = false;
}

void TRPScroller::SetVPosition(int Pos, bool Redraw) {
    if (!HandleAllocated()) return;
    const int old = VPos;
    VPos = Pos;
    if (VScrollVisible) {
        RPScrollBarOps.SetPos(this, SB_VERT, VPos, true);
        VPos = RPScrollBarOps.GetPos(this, SB_VERT);
    } else {
        VPos = std::max(0, std::min(VPos, VScrollMax - (VScrollPage - 1)));
    }
    if (VPos == old) return;
    const int dy = (old - VPos) * VSmallStep;
    if (!Redraw) {
        ShiftChildControls(0, dy);
        VScrolled();
    } else if (FullRedraw) {
        ShiftChildControls(0, dy);
        Refresh();
        VScrolled();
    } else {
        ScrollPixels(0, dy, Rect(0, 0, ClientWidth(), ClientHeight()));
        ShiftChildControls(0, dy);
        Update();
        VScrolled();
    }
}

void TRPScroller::SetHPosition(int Pos) {
    if (!HandleAllocated()) return;
    const int old = HPos;
    HPos = Pos;
    if (HScrollVisible) {
        RPScrollBarOps.SetPos(this, SB_HORZ, HPos, true);
        HPos = RPScrollBarOps.GetPos(this, SB_HORZ);
    } else {
        HPos = std::max(0, std::min(HPos, HScrollMax - (HScrollPage - 1)));
    }
    if (HPos == old) return;
    const int dx = old - HPos;
    if (FullRedraw) {
        ShiftChildControls(dx, 0);
        Refresh();
    } else {
        ScrollPixels(dx, 0, Rect(0, 0, ClientWidth(), ClientHeight()));
        ShiftChildControls(dx, 0);
        Update();
    }
    HScrolled();
}

void TRPScroller::VScrolled() {
    if (OnVScrolled) OnVScrolled(this);
}

void TRPScroller::HScrolled() {
    if (OnHScrolled) OnHScrolled(this);
}

int TRPScroller::ControlTopFromTag(const TControl* Control) {
    return std::clamp(Control->Tag(), -10000, 10000);
}

void TRPScroller::ApplyControlTopFromTag(TControl* Control) {
    if (Control) Control->SetTop(ControlTopFromTag(Control));
}

void TRPScroller::ShiftChildControls(int DX, int DY) {
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (DY != 0) {
            c->SetTag(c->Tag() + DY);
            c->SetTop(ControlTopFromTag(c));
        }
        if (DX != 0) c->SetLeft(c->Left() + DX);
    }
}

void TRPScroller::ScrollMessage(int Bar, int Code, int Pos) {
    // Positions of the messages are 16 bits wide.
    const int pos16 = static_cast<int16_t>(Pos & 0xFFFF);
    if (Bar == SB_VERT) {
        switch (Code) {
        case SB_LINEUP:
            SetVPosition(VPos - LineStep, true);
            break;
        case SB_LINEDOWN:
            SetVPosition(VPos + LineStep, true);
            break;
        case SB_PAGEUP:
            SetVPosition(VPos - ClientHeight() / std::max(1, VSmallStep), true);
            break;
        case SB_PAGEDOWN:
            SetVPosition(VPos + ClientHeight() / std::max(1, VSmallStep), true);
            break;
        case SB_THUMBPOSITION:
            SetVPosition(pos16, true);
            break;
        case SB_THUMBTRACK:
            if (Tracking) SetVPosition(pos16, true);
            break;
        case SB_TOP:
            SetVPosition(0, true);
            break;
        case SB_BOTTOM:
            SetVPosition(DocHeight, true);
            break;
        default:
            break;
        }
        return;
    }
    switch (Code) {
    case SB_LINEUP:
        SetHPosition(HPos - VSmallStep * LineStep);
        break;
    case SB_LINEDOWN:
        SetHPosition(HPos + VSmallStep * LineStep);
        break;
    case SB_PAGEUP:
        SetHPosition(HPos - ClientWidth());
        break;
    case SB_PAGEDOWN:
        SetHPosition(HPos + ClientWidth());
        break;
    case SB_THUMBPOSITION:
        SetHPosition(pos16);
        break;
    case SB_THUMBTRACK:
        if (Tracking) SetHPosition(pos16);
        break;
    case SB_TOP:
        SetHPosition(0);
        break;
    case SB_BOTTOM:
        SetHPosition(DocWidth);
        break;
    default:
        break;
    }
}

void TRPScroller::KeyDown(uint16_t& Key, TShiftState Shift) {
    (void)Shift;
    if (!ScrollsByKeys()) return;
    switch (Key) {
    case VK_PRIOR:
        SendScrollMessage(SB_VERT, SB_PAGEUP);
        break;
    case VK_NEXT:
        SendScrollMessage(SB_VERT, SB_PAGEDOWN);
        break;
    case VK_END:
        SendScrollMessage(SB_VERT, SB_BOTTOM);
        break;
    case VK_HOME:
        SendScrollMessage(SB_VERT, SB_TOP);
        break;
    case VK_UP:
        SendScrollMessage(SB_VERT, SB_LINEUP);
        break;
    case VK_DOWN:
        SendScrollMessage(SB_VERT, SB_LINEDOWN);
        break;
    case VK_LEFT:
        SendScrollMessage(SB_HORZ, SB_LINEUP);
        break;
    case VK_RIGHT:
        SendScrollMessage(SB_HORZ, SB_LINEDOWN);
        break;
    default:
        break;
    }
}

bool TRPScroller::MouseWheel(TShiftState Shift, int WheelDelta, int X, int Y) {
    // The wheel scrolls after the control's wheel event, whatever that did.
    const bool taken = TCustomControl::MouseWheel(Shift, WheelDelta, X, Y);
    if (WheelStep == 0) return taken;
    // Fine-grained wheels send parts of a notch; whole notches scroll.
    m_wheelRest += WheelDelta;
    const int notches = m_wheelRest / 120;
    m_wheelRest -= notches * 120;
    const unsigned lines = SystemWheelScrollLines();
    int64_t units;
    if (lines == WheelScrollPage) {
        // "One screen per notch": a page, whatever the step.
        units = std::max(1, ClientHeight() / std::max(1, VSmallStep));
    } else {
        units = static_cast<int64_t>(Round(static_cast<double>(WheelStep) * lines / 3.0));
        units = std::min<int64_t>(units, std::max<int64_t>(1, static_cast<int64_t>(VScrollMax) + 1));
    }
    const int64_t target = static_cast<int64_t>(VPos) - units * notches;
    SetVPosition(static_cast<int>(std::clamp<int64_t>(target, INT32_MIN / 2, INT32_MAX / 2)), true);
    return true;
}

void TRPScroller::FocusIn(bool Mouse, bool Backward, bool FromNowhere) {
    (void)Mouse, (void)Backward, (void)FromNowhere;
    if (m_destroying) return;
    if (TControl* editor = GetCellEditor())
        if (auto* w = dynamic_cast<TWinControl*>(editor)) w->SetFocus();
}

// ---------------------------------------------------------------------------
// Properties

void TRPScroller::SetVScrollVisible(bool Value) {
    VScrollVisible = Value;
    if (!HandleAllocated()) return;
    UpdateScrollBars(DocWidth, DocHeight, false, true);
    if (Value && DisableNoScroll) {
        UpdateScrollBars(DocWidth, DocHeight, true, true);
        RPScrollBarOps.Show(this, SB_VERT, true);
    }
}

void TRPScroller::SetHScrollVisible(bool Value) {
    HScrollVisible = Value;
    UpdateScrollBars(DocWidth, DocHeight, true, true);
}

void TRPScroller::SetBorderStyle(TBorderStyle Value) {
    if (Value == BorderStyle) return;
    BorderStyle = Value;
    RecreateWnd();
}

void TRPScroller::SetBiDiMode(TRPBiDiMode Value) {
    if (Value == BiDiMode) return;
    BiDiMode = Value;
    RecreateWnd();
}

void TRPScroller::SetUseXPThemes(bool Value) {
    if (Value == UseXPThemes) return;
    UseXPThemes = Value;
    if (!HandleAllocated()) return;
    CloseTheme();
    OpenTheme();
    Invalidate();
}

void TRPScroller::SetDoInPaletteMode(TRPPaletteAction Value) {
    if (Value == DoInPaletteMode) return;
    DoInPaletteMode = Value;
    UpdatePalette();
}

void TRPScroller::UpdatePalette() {
    // The screen is never a palette device here: no palette is kept.
    PaletteHandle = 0;
    LogPalette.reset();
}

std::unique_ptr<TRPLogPalette> TRPScroller::BuildDefaultPalette() {
    auto p = std::make_unique<TRPLogPalette>();
    p->Entries.reserve(216);
    for (int b = 0; b < 6; ++b)
        for (int g = 0; g < 6; ++g)
            for (int r = 0; r < 6; ++r)
                p->Entries.push_back(static_cast<uint32_t>(r * 51) | (static_cast<uint32_t>(g * 51) << 8) |
                                     (static_cast<uint32_t>(b * 51) << 16));
    return p;
}

// ---------------------------------------------------------------------------
// Cell editor bookkeeping

void TRPScroller::SetEditedCell(TCustomRPData* CellData, TCustomRPItemInfo* Item) {
    if (CellData != EditedCellData) {
        DestroyCellEditor();
        ReleaseEditedCell(EditedCellData);
        EditedCellData = CellData;
        EditedCellItem = Item;
    }
    if (TControl* editor = GetCellEditor()) editor->SetTag(editor->Top());
}

void TRPScroller::ReleaseEditedCell(TCustomRPData* CellData) {
    if (!EditedCellData || !CellData || m_releasingCell) return;
    if (CellData != EditedCellData && CellData != EditedCellData->GetContentData() &&
        CellData->GetContentData() != EditedCellData)
        return;
    m_releasingCell = true;
    try {
        // What was selected in the cell goes with it.
        if (!m_destroying)
            if (auto* cell = dynamic_cast<TCustomRPFormattedData*>(EditedCellData))
                cell->Deselect(nullptr, false);
        EditedCellData = nullptr;
        TCustomRPItemInfo* item = EditedCellItem;
        EditedCellItem = nullptr;
        if (item) item->UnchooseSubRPData();
    } catch (...) {
        m_releasingCell = false;
        throw;
    }
    m_releasingCell = false;
}

bool TRPScroller::IsFocusedWithCellEditors() {
    if (Focused()) return true;
    auto* editor = dynamic_cast<TRPScroller*>(GetCellEditor());
    return editor && editor->IsFocusedWithCellEditors();
}

void TRPScroller::FocusInParentForm() {
    if (CanFocus()) SetFocus();
}

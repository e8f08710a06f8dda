#include "richtext/view/RPControlData.h"

#include <QImage>
#include <QWidget>
#include <algorithm>
#include <exception>

#include "platform/CodePage.h"
#include "platform/Fonts.h"
#include "richtext/model/RPCoords.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/view/RichPad.h"

// ---------------------------------------------------------------------------
// TRPControlData

TRPControlData::TRPControlData() = default;
TRPControlData::~TRPControlData() = default;

void TRPControlData::ClearFormatting() {
    ClearItemFocus();
    FocusedSubItemNo = -1;
    FocusedData = nullptr;
    TCustomRPFormattedData::ClearFormatting();
}

void TRPControlData::Deselect(TCustomRPItemInfo* NewPartialItem, bool Redraw) {
    if (State & rpstDeselecting) return;
    const bool hadFocus = FocusedItemNo >= 0;
    ClearItemFocus();
    if (hadFocus) InvalidateView();
    FocusedSubItemNo = -1;
    FocusedData = nullptr;
    TCustomRPFormattedData::Deselect(NewPartialItem, Redraw);
}

void TRPControlData::SetFocusedItemNo(int ItemNo) {
    TCustomRPFormattedData::SetFocusedItemNo(ItemNo);
    if (ItemNo < 0) {
        FocusedSubItemNo = -1;
        FocusedData = nullptr;
    }
}

void TRPControlData::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    InvalidateFocusRect();
    TCustomRPFormattedData::MouseUp(Button, Shift, X, Y);
    InvalidateFocusRect();
}

namespace {

// The rectangles of the focus frame, in client coordinates.
std::vector<TRect> FocusRects(TRPControlData& D) {
    std::vector<TRect> out;
    TCustomRPFormattedData* fd = D.FocusedData;
    if (!fd || D.FocusedSubItemNo < 0 || D.FocusedSubItemNo >= fd->GetItemCount()) return out;
    if (!fd->GetItem(D.FocusedSubItemNo)->GetBoolValueEx(rpbivexFocusRect, D.GetRPStyle())) return out;
    int ox = 0, oy = 0;
    fd->GetOrigin(ox, oy);
    const int dx = ox - D.GetHOffs(), dy = oy - D.GetVOffs();
    const int first = fd->GetFirstDrawItemOfItem(D.FocusedSubItemNo);
    for (int i = first; i >= 0 && i < fd->DrawItemCount() && fd->DrawItem(i)->ItemNo == D.FocusedSubItemNo; ++i) {
        const TRPDrawLineInfo* d = fd->DrawItem(i);
        out.push_back(Rect(d->Left - 1 + dx, d->Top - 1 + dy, d->Left + d->Width + 1 + dx, d->Top + d->Height + 1 + dy));
    }
    return out;
}

// The tab order of Parent's controls, each followed by its own.
void TabOrderList(TWinControl* Parent, std::vector<TWinControl*>& List) {
    std::vector<TWinControl*> children;
    for (int i = 0; i < Parent->ControlCount(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(Parent->Controls(i))) children.push_back(w);
    std::stable_sort(children.begin(), children.end(),
                     [](TWinControl* a, TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
    for (TWinControl* c : children) {
        List.push_back(c);
        TabOrderList(c, List);
    }
}

bool IsInside(const TControl* C, const TControl* Container) {
    for (const TControl* p = C; p; p = p->Parent())
        if (p == Container) return true;
    return false;
}

} // namespace

void TRPControlData::DrawFocusRect(TCanvas& Canvas, int DX, int DY) {
    const std::vector<TRect> rects = FocusRects(*this);
    if (rects.empty()) return;
    Canvas.Font()->SetColor(clBlack);
    Canvas.Brush()->SetStyle(bsSolid);
    for (TRect r : rects) {
        OffsetRect(r, DX, DY);
        Canvas.DrawFocusRect(r);
    }
}

void TRPControlData::InvalidateFocusRect() {
    for (const TRect& r : FocusRects(*this))
        InvalidateRectInView(r);
}

TWinControl* TRPControlData::FindNextTabControl(TWinControl* Parent, TControl* CurControl, bool Forward) {
    if (!Parent) return nullptr;
    std::vector<TWinControl*> list;
    TabOrderList(Parent, list);
    if (list.empty()) return nullptr;
    const int n = static_cast<int>(list.size());
    auto it = std::find(list.begin(), list.end(), CurControl);
    int start = it != list.end() ? static_cast<int>(it - list.begin()) : (Forward ? n - 1 : 0);
    TControl* view = GetParentControl();
    int i = start;
    do {
        i = Forward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[static_cast<size_t>(i)];
        if (c != view && !IsInside(c, view) && c->CanFocus() && c->TabStop()) return c;
    } while (i != start);
    return nullptr;
}

void TRPControlData::MoveFocus(bool Backward, TControl* FromControl, bool Arrival) {
    if (State & rpstFocusFromMouse) {
        State &= ~rpstFocusFromMouse;
        return;
    }
    TControl* view = GetParentControl();
    if (FromControl && view && FromControl->ParentForm() != view->ParentForm()) return;
    if (Arrival && FocusedItemNo >= 0 && !FromControl) return;
    if (FromControl) {
        int found = -1;
        if (FocusedItemNo >= 0 && FocusedItemNo < GetItemCount() && GetItem(FocusedItemNo)->OwnsControl(FromControl))
            found = FocusedItemNo;
        else
            found = FindControlItemNo(FromControl);
        if (found >= 0) {
            InvalidateFocusRect();
            ClearItemFocus();
            FocusedItemNo = found;
            if (GetItem(found)->GetBoolValueEx(rpbivexKeyboardFocus, GetRPStyle())) {
                FocusedSubItemNo = found;
                FocusedData = this;
            } else {
                // A table: the search below goes on from the cell of the control.
                TCustomRPData* inner = nullptr;
                int innerItem = -1;
                GetItem(found)->FocusControlItem(FromControl, inner, innerItem);
            }
            InvalidateFocusRect();
        }
    }
    const bool hadFocusedItem = FocusedItemNo >= 0;
    InvalidateFocusRect();
    TCustomRPFormattedData* fd = nullptr;
    int fi = -1;
    const int found = FindNextFocusableItem(FocusedItemNo, !Backward, fd, fi);
    FocusedData = found >= 0 ? fd : nullptr;
    FocusedSubItemNo = found >= 0 ? fi : -1;
    if (found < 0 && !hadFocusedItem && FromControl != view) {
        SetFocusToControl();
        return;
    }
    FocusedItemNo = found;
    if (FocusedSubItemNo >= 0 && FocusedData) {
        TCustomRPItemInfo* item = FocusedData->GetItem(FocusedSubItemNo);
        item->FocusControl();
        InvalidateFocusRect();
        const int d = FocusedData->GetFirstDrawItemOfItem(FocusedSubItemNo);
        if (d >= 0) {
            const TRPDrawLineInfo* di = FocusedData->DrawItem(d);
            FocusedData->ShowRectangle(di->Left, di->Top, di->Width, di->Height);
        }
        // Where the view scrolled to, the item that holds the document follows.
        if (FocusedData != this) FocusedData->FocusParentItem();
        return;
    }
    // The focus leaves the view for the next control of the form.
    TWinControl* parent = view ? view->ParentForm() : nullptr;
    if (!parent && view) parent = view->Parent();
    if (TWinControl* next = FindNextTabControl(parent, view, !Backward)) {
        next->SetFocus();
    } else if (hadFocusedItem) {
        // No other control: the focus wraps round to the first link.
        MoveFocus(Backward, nullptr, false);
    }
}

void TRPControlData::ActivateFocusedItem() {
    if (!FocusedData || FocusedSubItemNo < 0 || FocusedSubItemNo >= FocusedData->GetItemCount()) return;
    TCustomRPItemInfo* item = FocusedData->GetItem(FocusedSubItemNo);
    if (item->GetBoolValueEx(rpbivexJump, GetRPStyle())) {
        if (item->JumpID >= 0) FocusedData->DoJump(FocusedData->GetFirstJumpNo() + item->JumpID);
    } else if (auto* c = dynamic_cast<TRPControlItemInfo*>(item); c && c->Control) {
        c->Control->Click();
    }
}

void TRPControlData::PaintBuffered(TCanvas& Canvas, const TRect& Clip) {
    if (Clip.IsEmpty()) return;
    const int w = Clip.Width(), h = Clip.Height();
    if (!FPaintBuffer || FPaintBuffer->width() < w || FPaintBuffer->height() < h) {
        const int bw = std::max(w, FPaintBuffer ? FPaintBuffer->width() : 0);
        const int bh = std::max(h, FPaintBuffer ? FPaintBuffer->height() : 0);
        FPaintBuffer = std::make_unique<QImage>(bw, bh, QImage::Format_RGB32);
    }
    // The clip's part of the kept picture, as a picture of the clip's size.
    QImage buffer(FPaintBuffer->bits(), w, h, FPaintBuffer->bytesPerLine(), QImage::Format_RGB32);
    buffer.fill(Qt::white);
    std::string error;
    bool failed = false;
    {
        TCanvas bc(&buffer);
        bc.Font()->Assign(*Canvas.Font());
        try {
            DrawBackground(bc, Clip);
            PaintDocument(bc, Clip);
            DrawFocusRect(bc, -Clip.Left, -Clip.Top);
        } catch (const std::exception& e) {
            failed = true;
            error = e.what();
        } catch (...) {
            failed = true;
        }
        bc.Release();
    }
    Canvas.SetCopyMode(cmSrcCopy);
    Canvas.DrawImage(Clip, buffer, Rect(0, 0, Clip.Width(), Clip.Height()));
    if (failed) {
        Canvas.Font()->SetName(QStringLiteral("Arial"));
        Canvas.Font()->SetSize(10);
        Canvas.Font()->SetStyle(0);
        Canvas.Font()->SetColor(clRed);
        Canvas.Brush()->SetStyle(bsSolid);
        Canvas.Brush()->SetColor(clWhite);
        Canvas.TextOut(0, 0, QStringLiteral("Error:") + QString::fromStdString(error));
    }
}

int RPVScrollStepFor(int Height, int Step, int ViewHeight) {
    Step = std::max(1, Step);
    if (Height / Step <= 32000) {
        if (Step > 10 && Height / 10 <= 32000) return 10;
        // A step taller than the view that a tall document left behind would
        // keep the last lines of a shorter one out of reach.
        if (Step <= std::max(ViewHeight, 10)) return Step;
    }
    int n = Height / 32000;
    if (Height / n > 32000) ++n;
    return n;
}

// ---------------------------------------------------------------------------
// TRichPadRPData

TRichPadRPData::TRichPadRPData(TCustomRichPad* AOwnerView) : OwnerView(AOwnerView) {}

TRichPadRPData::~TRichPadRPData() {
    State |= rpstClearing;
    ClearFormatting();
    TCustomRPData::Clear();
    DestroyMarkers();
    OwnerView = nullptr;
}

TRPOptions TRichPadRPData::GetOptions() const {
    return OwnerView ? OwnerView->Options : 0;
}
void TRichPadRPData::SetOptions(TRPOptions Value) {
    if (OwnerView) OwnerView->Options = Value;
}
TRPFOptions TRichPadRPData::GetRPFOptions() const {
    return OwnerView ? OwnerView->RPFOptions : 0;
}
void TRichPadRPData::SetRPFOptions(TRPFOptions Value) {
    if (OwnerView) OwnerView->RPFOptions = Value;
}
TRPRTFOptions TRichPadRPData::GetRTFOptions() const {
    return OwnerView ? OwnerView->RTFOptions : 0;
}
void TRichPadRPData::SetRTFOptions(TRPRTFOptions Value) {
    if (OwnerView) OwnerView->RTFOptions = Value;
}
uint8_t TRichPadRPData::GetRPFWarnings() const {
    return OwnerView ? OwnerView->RPFWarnings : 0;
}
void TRichPadRPData::SetRPFWarnings(uint8_t Value) {
    if (OwnerView) OwnerView->RPFWarnings = Value;
}
TRPFReaderStyleMode TRichPadRPData::GetRPFTextStylesReadMode() const {
    return OwnerView ? OwnerView->RPFTextStylesReadMode : rpf_sIgnore;
}
TRPFReaderStyleMode TRichPadRPData::GetRPFParaStylesReadMode() const {
    return OwnerView ? OwnerView->RPFParaStylesReadMode : rpf_sIgnore;
}
uint32_t TRichPadRPData::GetFlags() const {
    return OwnerView ? OwnerView->DocFlags : 0;
}
void TRichPadRPData::SetFlags(uint32_t Value) {
    if (OwnerView) OwnerView->DocFlags = static_cast<uint16_t>(Value);
}
TRPStyle* TRichPadRPData::GetRPStyle() const {
    return OwnerView ? OwnerView->Style() : nullptr;
}
void* TRichPadRPData::GetPalette() {
    return OwnerView ? reinterpret_cast<void*>(OwnerView->PaletteHandle) : nullptr;
}
const void* TRichPadRPData::GetLogPalette() {
    return OwnerView ? OwnerView->LogPalette.get() : nullptr;
}
TRPPaletteAction TRichPadRPData::GetDoInPaletteMode() {
    return OwnerView ? OwnerView->DoInPaletteMode : rppaDoNothing;
}
TRPBiDiMode TRichPadRPData::GetBiDiMode() {
    return OwnerView ? OwnerView->BiDiMode : rpbdUnspecified;
}
TControl* TRichPadRPData::GetParentControl() {
    return OwnerView;
}
std::string TRichPadRPData::GetDelimiters() {
    return OwnerView ? OwnerView->Delimiters : TCustomRPData::GetDelimiters();
}
TRPRTFReaderProperties* TRichPadRPData::GetRTFReadProperties() {
    return OwnerView ? OwnerView->GetRTFReadProperties() : nullptr;
}
std::vector<std::string>* TRichPadRPData::GetDocProperties() {
    return OwnerView && (GetFlags() & rpflMainDocument) ? &OwnerView->DocProperties : nullptr;
}

int TRichPadRPData::GetLeftMargin() {
    return OwnerView ? OwnerView->LeftMargin : 0;
}
int TRichPadRPData::GetRightMargin() {
    return OwnerView ? OwnerView->RightMargin : 0;
}
int TRichPadRPData::GetTopMargin() {
    return OwnerView ? OwnerView->TopMargin : 0;
}
int TRichPadRPData::GetBottomMargin() {
    return OwnerView ? OwnerView->BottomMargin : 0;
}
int TRichPadRPData::GetMinTextWidth() {
    return OwnerView ? OwnerView->MinTextWidth : 0;
}
int TRichPadRPData::GetMaxTextWidth() {
    return OwnerView ? OwnerView->MaxTextWidth : 0;
}
int TRichPadRPData::GetWidth() {
    return OwnerView ? OwnerView->ClientWidth() : 0;
}
int TRichPadRPData::GetHeight() {
    return OwnerView ? OwnerView->ClientHeight() : 0;
}
int TRichPadRPData::GetAreaWidth() {
    return OwnerView ? OwnerView->DocWidth : 0;
}
int TRichPadRPData::GetHOffs() {
    return OwnerView ? OwnerView->HPos : 0;
}
int TRichPadRPData::GetVOffs() {
    return OwnerView ? OwnerView->VPos * OwnerView->VSmallStep : 0;
}
int TRichPadRPData::GetVSmallStep() {
    return OwnerView ? OwnerView->VSmallStep : 1;
}
TCanvas* TRichPadRPData::GetCanvas() {
    return OwnerView ? OwnerView->Canvas() : nullptr;
}
TColor TRichPadRPData::GetColor() {
    return OwnerView ? OwnerView->EffectiveColor() : clWindow;
}
TRPBackground* TRichPadRPData::GetBackground() {
    return OwnerView ? OwnerView->Background.get() : nullptr;
}
int TRichPadRPData::GetNormalCursor() {
    return OwnerView ? OwnerView->Cursor() : crDefault;
}
bool TRichPadRPData::IsFocused() {
    return OwnerView && OwnerView->IsFocusedWithCellEditors();
}
int TRichPadRPData::GetCheckpointEventMode() {
    return OwnerView ? OwnerView->CheckpointEventMode : 0;
}
TControl* TRichPadRPData::GetCellEditor() {
    return OwnerView ? OwnerView->GetCellEditor() : nullptr;
}

void TRichPadRPData::ReleaseEditedCellExcept(TCustomRPItemInfo* Except) {
    if (OwnerView && OwnerView->EditedCellItem && OwnerView->EditedCellItem != Except &&
        !OwnerView->Destroying())
        OwnerView->DestroyCellEditor();
}

void TRichPadRPData::SetEditedCell(TCustomRPData* CellData, TCustomRPItemInfo* Item) {
    if (OwnerView) OwnerView->SetEditedCell(CellData, Item);
}

void TRichPadRPData::ReleaseEditedCell(TCustomRPData* CellData) {
    if (!OwnerView || (State & rpstReleasingCell)) return;
    State |= rpstReleasingCell;
    try {
        OwnerView->ReleaseEditedCell(CellData);
    } catch (...) {
        State &= ~rpstReleasingCell;
        throw;
    }
    State &= ~rpstReleasingCell;
}

TCustomRPData* TRichPadRPData::GetActiveSubData() {
    // The document that holds the edited cell's items: its editor's while one is open.
    return OwnerView && OwnerView->EditedCellData ? OwnerView->EditedCellData->GetContentData() : nullptr;
}

TCustomRPItemInfo* TRichPadRPData::GetActiveSubItem() {
    return OwnerView ? OwnerView->EditedCellItem : nullptr;
}
bool TRichPadRPData::CanStartDragging() {
    // The selection of a view's own document is dragged out (copied), unless
    // the options forbid it or a drag is running.
    return OwnerView && (GetFlags() & rpflMainDocument) && !(GetOptions() & rpoDisallowDrag) &&
           !(State & rpstDragging);
}
void TRichPadRPData::PostDragStart() {}
void TRichPadRPData::SetFocusToControl() {
    if (OwnerView && OwnerView->CanFocus()) OwnerView->SetFocus();
}
void TRichPadRPData::CancelItemHint() {
    if (OwnerView && (GetOptions() & rpoShowItemHints)) OwnerView->SetHint(QString());
}

void TRichPadRPData::SetControlHint(const std::string& Hint) {
    if (!OwnerView) return;
    // Hints are item bytes in the code page of the program.
    OwnerView->SetHint(CodePage::FromCp1252(Hint));
    if (!Hint.empty()) OwnerView->SetShowHint(true);
}

TPoint TRichPadRPData::ClientToScreen(TPoint P) {
    if (!OwnerView || !OwnerView->ClientWidget()) return P;
    const QPoint g = OwnerView->ClientWidget()->mapToGlobal(QPoint(P.x, P.y));
    return {g.x(), g.y()};
}

void TRichPadRPData::AdjustVScrollStep() {
    if (OwnerView) OwnerView->AdjustVScrollUnits();
}

void TRichPadRPData::SetDocumentAreaSize(int Width, int Height, bool UpdateHorizontal) {
    if (!OwnerView) return;
    const int step = std::max(1, OwnerView->VSmallStep);
    OwnerView->UpdateScrollBars(Width, (Height + step - 1) / step, true, UpdateHorizontal);
}

void TRichPadRPData::SettleVerticalBar() {
    TCustomRichPad* v = OwnerView;
    if (!v || FBarHolds > 0 || FSettlingBar || (State & rpstFormatting) || !v->HandleAllocated() ||
        !v->VScrollVisible || v->DisableNoScroll || DrawItemCount() == 0)
        return;
    // A view lays a document out without the vertical bar first and takes
    // the bar only when the document does not fit then, laying it out again
    // beside the bar; when it fits there, the bar goes again, and the lines
    // stay at the width beside it. Edits, undo and a width change lay it out
    // where the bar happens to be: their lines may break into more than fit,
    // or stand at the other width, and the bar may stay where it would not.
    const bool bar = v->ScrollBarVisible(SB_VERT);
    const int whole = GetWidth() + (bar ? ScrollBarExtent : 0) - GetLeftMargin() - GetRightMargin();
    // Wider than the view, the lines stay as they are without the bar.
    if (ContentWidth > whole || (!bar && ContentWidth == whole)) return;
    if (ContentWidth < whole) {
        // The view shows the document without the bar when it takes no more
        // whole scroll units than the view's height holds. A document that
        // stays higher laid out at the whole width keeps its bar, or its
        // lines beside where the bar would stand.
        const int fullH = v->ClientHeight() + (v->ScrollBarVisible(SB_HORZ) ? ScrollBarExtent : 0);
        const int step = std::clamp(v->VSmallStep, 1, 10);
        const int fits = fullH / step * step;
        if (LeastHeightWhenWider(fits, whole - ContentWidth) > fits) return;
    }
    // Otherwise the view formats the document as it does after loading it:
    // without the bar, at the whole width.
    FSettlingBar = true;
    try {
        if (bar)
            v->ShowScrollBar(SB_VERT, false);
        else
            Format(true, false, false, 0, nullptr, false, false);
    } catch (...) {
        FSettlingBar = false;
        throw;
    }
    FSettlingBar = false;
}

void TRichPadRPData::ScrollToY(int Y, bool Redraw) {
    if (!OwnerView || (State & rpstNoScroll)) return;
    OwnerView->ScrollToY(Y, Redraw);
}

void TRichPadRPData::HScrollTo(int X) {
    if (!OwnerView || (State & rpstNoScroll)) return;
    OwnerView->SetHPosition(X);
}

void TRichPadRPData::SetCursor(int Cursor) {
    if (OwnerView) OwnerView->SetCurrentCursor(Cursor);
}

void TRichPadRPData::InvalidateRectInView(const TRect& R) {
    if (OwnerView && OwnerView->HandleAllocated()) OwnerView->InvalidateRect(R);
}
void TRichPadRPData::InvalidateView() {
    if (OwnerView) OwnerView->Invalidate();
}
void TRichPadRPData::RefreshView() {
    if (OwnerView) OwnerView->Refresh();
}
void TRichPadRPData::UpdateView() {
    if (OwnerView) OwnerView->Update();
}
bool TRichPadRPData::ScrollRectInView(int DY, const TRect& R) {
    return OwnerView && OwnerView->ScrollDocumentRect(DY, R);
}

// ---- events

// No event reaches the application while the view is being destroyed.
bool TRichPadRPData::Fires() const {
    return OwnerView && !OwnerView->Destroying();
}

bool TRichPadRPData::IsAssigned(TRPEvent Event) {
    if (!Fires()) return false;
    switch (Event) {
    case TRPEvent::Jump:
        return static_cast<bool>(OwnerView->OnJump);
    case TRPEvent::MouseMove:
        return static_cast<bool>(OwnerView->OnRPMouseMove);
    case TRPEvent::MouseDown:
        return static_cast<bool>(OwnerView->OnRPMouseDown);
    case TRPEvent::MouseUp:
        return static_cast<bool>(OwnerView->OnRPMouseUp);
    case TRPEvent::DblClick:
        return static_cast<bool>(OwnerView->OnRPDblClick);
    case TRPEvent::RightClick:
        return static_cast<bool>(OwnerView->OnRPRightClick);
    case TRPEvent::Copy:
        return static_cast<bool>(OwnerView->OnCopy);
    case TRPEvent::Select:
        return static_cast<bool>(OwnerView->OnSelect);
    case TRPEvent::CheckpointVisible:
        return static_cast<bool>(OwnerView->OnCheckpointVisible);
    }
    return false;
}

void TRichPadRPData::DoJump(int Id) {
    if (Fires() && OwnerView->OnJump) OwnerView->OnJump(OwnerView, Id);
}
void TRichPadRPData::DoRPMouseMove(int Id) {
    if (Fires() && OwnerView->OnRPMouseMove) OwnerView->OnRPMouseMove(OwnerView, Id);
}
void TRichPadRPData::DoRPMouseDown(TMouseButton Button, TShiftState Shift, int ItemNo, int X, int Y) {
    if (Fires() && OwnerView->OnRPMouseDown) OwnerView->OnRPMouseDown(OwnerView, Button, Shift, ItemNo, X, Y);
}
void TRichPadRPData::DoRPMouseUp(TMouseButton Button, TShiftState Shift, int ItemNo, int X, int Y) {
    if (Fires() && OwnerView->OnRPMouseUp) OwnerView->OnRPMouseUp(OwnerView, Button, Shift, ItemNo, X, Y);
}
void TRichPadRPData::DoRPDblClick(const std::string& Word, int StyleNo) {
    if (Fires() && OwnerView->OnRPDblClick) OwnerView->OnRPDblClick(OwnerView, Word, StyleNo);
}
void TRichPadRPData::DoRPRightClick(const std::string& Word, int StyleNo, int X, int Y) {
    if (Fires() && OwnerView->OnRPRightClick) OwnerView->OnRPRightClick(OwnerView, Word, StyleNo, X, Y);
}
void TRichPadRPData::DoCopy() {
    if (Fires() && OwnerView->OnCopy) OwnerView->OnCopy(OwnerView);
}
void TRichPadRPData::DoSelect() {
    if (!OwnerView || OwnerView->Destroying() || !OwnerView->HandleAllocated()) return;
    if (OwnerView->OnSelect) OwnerView->OnSelect(OwnerView);
}
void TRichPadRPData::SelectionChanged() {
    DoSelect();
}
void TRichPadRPData::DoCheckpointVisible(TRPCPInfo* CP) {
    if (Fires() && OwnerView->OnCheckpointVisible) OwnerView->OnCheckpointVisible(OwnerView, CP);
}
void TRichPadRPData::DoURLNeeded(int id, std::string& URL) {
    URL.clear();
    if (Fires() && OwnerView->OnURLNeeded) OwnerView->OnURLNeeded(OwnerView, id, URL);
}
void TRichPadRPData::DoReadHyperlink(const std::string& Target, const std::string& Extras, std::string& Text,
                                     TRPTag& Tag, int& StyleNo, int DocFormat) {
    if (!OwnerView || !OwnerView->OnReadHyperlink) return;
    // A link read on a picture or bullet becomes a hot item.
    if (StyleNo == rpsnBullet) StyleNo = rpsnHotspot;
    if (StyleNo == rpsnPicture) StyleNo = rpsnHotPicture;
    OwnerView->OnReadHyperlink(OwnerView, Target, Extras, DocFormat, StyleNo, Tag, Text);
}
TGraphic* TRichPadRPData::DoImportPicture(const std::string& Location) {
    TGraphic* g = nullptr;
    if (Fires() && OwnerView->OnImportPicture) OwnerView->OnImportPicture(OwnerView, Location, 0, 0, g);
    return g;
}
void TRichPadRPData::DoItemHint(TCustomRPData* RPData, int ItemNo, std::string& HintText) {
    HintText.clear();
    if (RPData && ItemNo >= 0 && ItemNo < RPData->GetItemCount())
        RPData->GetItem(ItemNo)->GetExtraStrProperty(rpespHint, HintText);
    if (Fires() && OwnerView->OnItemHint) OwnerView->OnItemHint(OwnerView, RPData, ItemNo, HintText);
}
TGraphic* TRichPadRPData::DoRPFPictureNeeded(const std::string& ItemName, const TRPTag& ItemTag) {
    TGraphic* g = nullptr;
    if (Fires() && OwnerView->OnRPFPictureNeeded) OwnerView->OnRPFPictureNeeded(OwnerView, ItemName, ItemTag, g);
    return g;
}
TControl* TRichPadRPData::DoRPFControlNeeded(const std::string& ItemName, const TRPTag& ItemTag) {
    TControl* c = nullptr;
    if (Fires() && OwnerView->OnRPFControlNeeded) OwnerView->OnRPFControlNeeded(OwnerView, ItemName, ItemTag, c);
    return c;
}
TCustomImageList* TRichPadRPData::DoRPFImageListNeeded(int ImageListTag) {
    TCustomImageList* l = nullptr;
    if (Fires() && OwnerView->OnRPFImageListNeeded)
        OwnerView->OnRPFImageListNeeded(OwnerView, ImageListTag, l);
    return l;
}
void TRichPadRPData::DoControlAction(int ControlAction, int ItemNo, TControl* Control) {
    if (Fires() && OwnerView->OnControlAction) OwnerView->OnControlAction(OwnerView, ControlAction, ItemNo, Control);
}
void TRichPadRPData::DoItemAction(int ItemAction, TCustomRPItemInfo* Item, std::string& Text, TCustomRPData* RPData) {
    if (Fires() && OwnerView->OnItemAction) OwnerView->OnItemAction(OwnerView, ItemAction, Item, Text, RPData);
}


// ---------------------------------------------------------------------------
// The writers' hooks

bool TRichPadRPData::DoSaveItemToFile(const std::string& Path, TCustomRPData* RPData, int ItemNo, int SaveFormat,
                                      bool Unicode, std::string& OutStr) {
    OutStr.clear();
    bool doDefault = true;
    if (Fires() && OwnerView->OnSaveItemToFile)
        OwnerView->OnSaveItemToFile(OwnerView, Path, RPData, ItemNo, SaveFormat, Unicode, OutStr, doDefault);
    if (doDefault) OutStr.clear();
    return !doDefault;
}
bool TRichPadRPData::DoSaveComponentToFile(const std::string& Path, TControl* SaveMe, int SaveFormat,
                                           std::string& OutStr) {
    OutStr.clear();
    if (Fires() && OwnerView->OnSaveComponentToFile)
        OwnerView->OnSaveComponentToFile(OwnerView, Path, SaveMe, SaveFormat, OutStr);
    return !OutStr.empty();
}
void TRichPadRPData::DoSaveRTFExtra(int Area, void* Obj, int Index1, int Index2, bool InStyleSheet,
                                    std::string& RTFCode) {
    RTFCode.clear();
    if (Fires() && OwnerView->OnSaveRTFExtra)
        OwnerView->OnSaveRTFExtra(OwnerView, Area, Obj, Index1, Index2, InStyleSheet, RTFCode);
}
void TRichPadRPData::DoSaveHTMLExtra(int Area, bool CSSVersion, std::string& HTMLCode) {
    HTMLCode.clear();
    if (Fires() && OwnerView->OnSaveHTMLExtra) OwnerView->OnSaveHTMLExtra(OwnerView, Area, CSSVersion, HTMLCode);
}
std::string TRichPadRPData::DoSaveParaHTMLCode(TCustomRPData* RPData, int ItemNo, bool ParaStart, bool CSSVersion) {
    std::string code;
    if (Fires() && OwnerView->OnSaveParaHTMLCode)
        OwnerView->OnSaveParaHTMLCode(OwnerView, RPData, ItemNo, ParaStart, CSSVersion, code);
    return code;
}

namespace {
// The hint as a field switch of an RTF hyperlink. The RTF writer escapes the
// whole field instruction once, so the hint goes in as plain text: quotes
// would end the switch's argument and braces and backslashes would break
// the field.
std::string RTFHintSwitch(const std::string& Hint) {
    if (Hint.empty()) return {};
    return "\\o \"" + ReplaceChars(ReplaceChars(Hint, '\'', "\""), '_', "\\{}") + "\"";
}
} // namespace

void TRichPadRPData::DoWriteHyperlink(int id, TCustomRPData* RPData, int ItemNo, int SaveFormat,
                                      std::string& Target, std::string& Extras) {
    // Only the control's main document speaks for the control.
    if (!(GetFlags() & rpflMainDocument)) {
        TRPControlData::DoWriteHyperlink(id, RPData, ItemNo, SaveFormat, Target, Extras);
        return;
    }
    Target.clear();
    Extras.clear();
    if (RPData && ItemNo >= 0 && ItemNo < RPData->GetItemCount()) {
        const TCustomRPItemInfo* item = RPData->GetItem(ItemNo);
        // Link targets are kept in string tags.
        if ((GetOptions() & rpoTagsArePChars) && item->Tag.Text) Target = *item->Tag.Text;
        std::string hint;
        item->GetExtraStrProperty(rpespHint, hint);
        if (SaveFormat == rpsfHTML)
            Extras = MakeHintAttribute(1, hint);
        else if (SaveFormat == rpsfRTF)
            Extras = RTFHintSwitch(hint);
    }
    if (Fires() && OwnerView->OnWriteHyperlink)
        OwnerView->OnWriteHyperlink(OwnerView, id, RPData, ItemNo, SaveFormat, Target, Extras);
}
void TRichPadRPData::DoHTMLSaveImage(TCustomRPData* RPData, int ItemNo, const std::string& Path, TColor BackColor,
                                     std::string& Location, bool& DoDefault) {
    Location.clear();
    DoDefault = true;
    if (Fires() && OwnerView->OnHTMLSaveImage)
        OwnerView->OnHTMLSaveImage(OwnerView, RPData, ItemNo, Path, BackColor, Location, DoDefault);
}
void TRichPadRPData::DoSaveImage2(const TGraphic* Graphic, int SaveFormat, const std::string& Path,
                                  const std::string& ImagePrefix, int ImageSaveNo, std::string& Location,
                                  bool& DoDefault) {
    Location.clear();
    DoDefault = true;
    if (Fires() && OwnerView->OnSaveImage2)
        OwnerView->OnSaveImage2(OwnerView, Graphic, SaveFormat, Path, ImagePrefix, ImageSaveNo, Location, DoDefault);
}

// ---------------------------------------------------------------------------
// TRPItemFormattedData

TCustomRPFormattedData* TRPItemFormattedData::Root() const {
    auto* self = const_cast<TRPItemFormattedData*>(this);
    return dynamic_cast<TCustomRPFormattedData*>(self->GetAbsoluteRootData());
}

void TRPItemFormattedData::SetFlags(uint32_t Value) {
    (void)Value;
    throw ERichPadError("This method is not supported for TRPItemFormattedData");
}

TCanvas* TRPItemFormattedData::GetCanvas() {
    TCustomRPFormattedData* r = Root();
    return r && r != this ? r->GetCanvas() : nullptr;
}

int TRPItemFormattedData::GetNormalCursor() {
    TCustomRPFormattedData* r = Root();
    return r && r != this ? r->GetNormalCursor() : 0;
}

void TRPItemFormattedData::SetCursor(int Cursor) {
    if (TCustomRPFormattedData* r = Root(); r && r != this) r->SetCursor(Cursor);
}

bool TRPItemFormattedData::IsAssigned(TRPEvent Event) {
    TCustomRPFormattedData* r = Root();
    return r && r != this && r->IsAssigned(Event);
}

void TRPItemFormattedData::DoJump(int Id) {
    if (TCustomRPFormattedData* r = Root(); r && r != this) r->DoJump(Id);
}

void TRPItemFormattedData::DoRPMouseMove(int Id) {
    if (TCustomRPFormattedData* r = Root(); r && r != this) r->DoRPMouseMove(Id);
}

int TRPItemFormattedData::GetFirstJumpNo() const {
    // The jumps of sub-documents are numbered among the root's.
    const TCustomRPFormattedData* r = Root();
    return r && r != this ? r->GetFirstJumpNo() : FirstJumpNo;
}

void TRPItemFormattedData::ShowRectangle(int X, int Y, int Width, int Height) {
    // A sub-document does not scroll: the root shows the rectangle at its place there.
    TCustomRPFormattedData* r = Root();
    if (!r || r == this) return;
    int ox = 0, oy = 0;
    GetOrigin(ox, oy);
    r->ShowRectangle(RPCoordSum(X, ox), RPCoordSum(Y, oy), Width, Height);
}

#include "richtext/view/RichPad.h"

#include <QWidget>
#include <algorithm>

#include "platform/Keys.h"
#include "platform/Menus.h"
#include "platform/Messages.h"
#include "platform/Pictures.h"
#include "richtext/model/RPFTokens.h"
#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFReaderProperties.h"

namespace {

std::unique_ptr<TRichPadRPData> MakeViewData(TCustomRichPad* Owner) {
    return std::make_unique<TRichPadRPData>(Owner);
}

} // namespace

TCustomRichPad::TCustomRichPad(TComponent* AOwner, TDataClass DataClass) : TRPScroller(AOwner) {
    m_data = (DataClass ? DataClass : &MakeViewData)(this);
    SetCursor(crDefault);
    SetColor(clNone);
    Background = std::make_unique<TRPBackground>(false);
    SetBounds(0, 0, 100, 40);
    BorderStyle = bsSingle;
}

TCustomRichPad::~TCustomRichPad() {
    m_destroying = true;
    if (m_style) m_style->RemoveFreeNotification(this);
    StopAutoScroll();
    Background.reset();
    Clear();
    m_data.reset();
    m_rtfReadProperties.reset();
    DocProperties.clear();
}

// ---------------------------------------------------------------------------
// Settings

void TCustomRichPad::SetStyle(TRPStyle* Value) {
    if (m_style && m_style != Value) m_style->RemoveFreeNotification(this);
    m_style = Value;
    // A style component freed before the view leaves it without one.
    if (m_style)
        m_style->AddFreeNotification(this, [this](TRPStyle*) {
            m_style = nullptr;
            Invalidate();
        });
    if (Options & rpoFormatInvalidate) Invalidate();
}

void TCustomRichPad::SetFirstJumpNo(int Value) {
    m_data->FirstJumpNo = Value;
}

TColor TCustomRichPad::EffectiveColor() const {
    if (Color() != clNone) return Color();
    if (m_style) return m_style->Color;
    return clWindow;
}

void TCustomRichPad::BackgroundChanged() {
    if (m_data->IsUpdatingBackgroundPalette()) return;
    const TBackgroundStyle s = Background->Style;
    const TGraphic* g = Background->GetBitmap();
    FullRedraw = g && !g->Empty() && (s == bsStretched || s == bsTiled || s == bsCentered);
    m_data->UpdateBackgroundPalette(Background.get());
    if (Options & rpoFormatInvalidate) Invalidate();
}

void TCustomRichPad::SetBackgroundStyle(TBackgroundStyle Value) {
    Background->Style = Value;
    BackgroundChanged();
}

// ---------------------------------------------------------------------------
// Document

void TCustomRichPad::ClearFormatting() {
    StopAutoScroll();
    m_data->ClearFormatting();
}

void TCustomRichPad::Clear() {
    ClearFormatting();
    m_data->Clear();
}

void TCustomRichPad::AddText(const std::string& Text, int StyleNo, int ParaNo) {
    m_data->AddText(Text, StyleNo, ParaNo);
}

void TCustomRichPad::AddPicture(const std::string& Name, std::unique_ptr<TGraphic> Graphic, int ParaNo,
                                uint8_t VAlign) {
    m_data->AddPicture(Name, std::move(Graphic), ParaNo, VAlign, TRPTag{});
}

void TCustomRichPad::GetPictureInfo(int ItemNo, std::string& Name, TGraphic*& Graphic, uint8_t& VAlign,
                                    TRPTag& Tag) const {
    m_data->GetPictureInfo(ItemNo, Name, Graphic, VAlign, Tag);
}

void TCustomRichPad::SetPictureInfo(int ItemNo, const std::string& Name, TGraphic* Graphic, uint8_t VAlign,
                                    const TRPTag& Tag) {
    m_data->SetPictureInfo(ItemNo, Name, Graphic, VAlign, Tag);
}

bool TCustomRichPad::GetItemExtraIntProperty(int ItemNo, int Prop, int& Value) const {
    return m_data->GetItemExtraIntProperty(ItemNo, Prop, Value);
}

bool TCustomRichPad::SetItemExtraIntProperty(int ItemNo, int Prop, int Value) {
    return m_data->SetItemExtraIntProperty(ItemNo, Prop, Value);
}

// ---------------------------------------------------------------------------
// Formatting

void TCustomRichPad::Format() {
    if (VSmallStep == 0) return;
    m_data->Format(false, false, false, 0, nullptr, false, false);
    if (Options & rpoFormatInvalidate) Invalidate();
}

void TCustomRichPad::SetVSmallStep(int Value) {
    if (Value > 0 && GetDocumentHeight() / Value <= 32000) VSmallStep = Value;
}

void TCustomRichPad::AdjustVScrollUnits() {
    const int step = RPVScrollStepFor(GetDocumentHeight(), VSmallStep, ClientHeight());
    if (step != VSmallStep) SetVSmallStep(step);
}

void TCustomRichPad::SetBiDiMode(TRPBiDiMode Value) {
    if (Value == BiDiMode) return;
    TRPScroller::SetBiDiMode(Value);
    Format();
}

void TCustomRichPad::Loaded() {
    UpdatePalette();
    m_data->UpdateItemsPaletteInfo();
    m_data->UpdateBackgroundPalette(Background.get());
    Invalidate();
    Format();
}

void TCustomRichPad::UpdatePalette() {
    TRPScroller::UpdatePalette();
}

void TCustomRichPad::ClientResized() {
    m_data->Format(true, false, false, 0, nullptr, false, false);
}

void TCustomRichPad::ResetScrollPositions() {
    if (ItemCount() == 0) TRPScroller::ResetScrollPositions();
}

void TCustomRichPad::UpdateScrollBarsForClient() {
    if (ItemCount() == 0)
        TRPScroller::UpdateScrollBarsForClient();
    else
        m_data->Format(true, false, false, 0, nullptr, false, false);
}

void TCustomRichPad::RepaintWithCellEditor(bool DoRepaint) {
    if (DoRepaint) Repaint();
    if (FullRedraw)
        if (auto* editor = dynamic_cast<TCustomRichPad*>(GetCellEditor())) editor->Repaint();
}

bool TCustomRichPad::ScrollDocumentRect(int DY, const TRect& R) {
    // A background picture stays where it is while the text moves over it.
    const TGraphic* g = Background ? Background->GetBitmap() : nullptr;
    if (!HandleAllocated() || FullRedraw || (g && !g->Empty())) return false;
    ScrollPixels(0, DY, R);
    return true;
}

void TCustomRichPad::ScrollToY(int Y, bool Redraw) {
    if (Redraw)
        ScrollTo(Y);
    else
        ScrollToNoRedraw(Y);
}

void TCustomRichPad::VScrolled() {
    TRPScroller::VScrolled();
    SimulateMouseMove();
    m_data->CheckCheckpointVisibility();
    RepaintWithCellEditor(false);
}

void TCustomRichPad::HScrolled() {
    TRPScroller::HScrolled();
    SimulateMouseMove();
    RepaintWithCellEditor(false);
}

void TCustomRichPad::DestroyWnd() {
    StopAutoScroll();
    TRPScroller::DestroyWnd();
}

// ---------------------------------------------------------------------------
// Painting

void TCustomRichPad::PaintMessage(TCanvas& Canvas, const QString& Text) {
    Canvas.Brush()->SetStyle(bsSolid);
    Canvas.Brush()->SetColor(EffectiveColor());
    Canvas.FillRect(Rect(0, 0, ClientWidth(), ClientHeight()));
    Canvas.Font()->SetName(QStringLiteral("MS Sans Serif"));
    Canvas.Font()->SetSize(8);
    Canvas.Font()->SetStyle(0);
    Canvas.Font()->SetColor(clWindowText);
    Canvas.Brush()->SetStyle(bsClear);
    // Word-wrapped to the client width.
    const int h = Canvas.TextHeight(QStringLiteral("Wg"));
    int y = 0;
    for (const QString& para : Text.split(QLatin1Char('\r'))) {
        QString line;
        for (const QString& word : para.split(QLatin1Char(' '))) {
            const QString next = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && Canvas.TextWidth(next) > ClientWidth()) {
                Canvas.TextOut(0, y, line);
                y += h;
                line = word;
            } else {
                line = next;
            }
        }
        Canvas.TextOut(0, y, line);
        y += h;
    }
}

void TCustomRichPad::Paint(TCanvas& Canvas, const TRect& Clip) {
    if (!m_style) {
        PaintMessage(Canvas, QStringLiteral("Style is not defined\rCreate a TRPStyle object and assign it to %1.Style")
                                 .arg(Name()));
        return;
    }
    const bool marker = m_data->HideXorMarker();
    m_data->PaintBuffered(Canvas, Clip);
    if (OnPaint) OnPaint(this, &Canvas, false);
    if (marker) m_data->DrawXorMarker();
}

// ---------------------------------------------------------------------------
// Mouse and auto-scroll

void TCustomRichPad::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!GetCellEditor()) {
        m_data->State |= rpstFocusFromMouse;
        if (!(Shift & ssDouble) && CanFocus()) SetFocus();
    }
    TRPScroller::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft) {
        m_pressX = X;
        m_pressY = Y;
    }
    m_data->MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft) StartAutoScroll(false);
}

namespace {

// The auto-scroll step for a pointer at P on an axis of Size pixels.
int AutoStep(int P, int Size) {
    if (P < 0) return -P > 20 ? -10 : -1;
    if (P >= Size) return P - Size + 1 > 20 ? 10 : 1;
    return 0;
}

} // namespace

void TCustomRichPad::MouseMove(TShiftState Shift, int X, int Y) {
    m_autoVStep = AutoStep(Y, ClientHeight());
    m_autoHStep = AutoStep(X, ClientWidth());
    TRPScroller::MouseMove(Shift, X, Y);
    if (DragPendingMove(Shift, X, Y)) return;
    m_data->MouseMove(Shift, X, Y);
}

void TCustomRichPad::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // Released before a drag began: a click in the selection, which collapses there.
    const bool click = (m_data->State & rpstDragPending) != 0;
    m_data->State &= ~rpstDragPending;
    TRPScroller::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft) StopAutoScroll();
    m_data->MouseUp(Button, Shift, X, Y);
    if (click) {
        int dItem = -1, dOffs = 0, item = -1, offs = 0;
        m_data->FindDrawItemAtPos(X + m_data->GetHOffs(), Y + m_data->GetVOffs(), true, dItem, dOffs);
        m_data->DrawItemToItemPos(dItem, dOffs, offs, item);
        if (item >= 0) SetSelectionBounds(item, offs, item, offs);
        Invalidate();
    }
    if (Button == mbRight) {
        TCustomRichPad* root = RootControl();
        bool handled = false;
        // The root hears of the click in its own client coordinates.
        TPoint at{X, Y};
        if (root != this && ClientWidget() && root->ClientWidget()) {
            const QPoint p = root->ClientWidget()->mapFromGlobal(ClientWidget()->mapToGlobal(QPoint(X, Y)));
            at = TPoint{p.x(), p.y()};
        }
        if (root->OnContextPopup) root->OnContextPopup(root, at, handled);
        TPopupMenu* menu = root->PopupMenu();
        if (!handled && menu && menu->AutoPopup && ClientWidget()) {
            ReleaseCapture();
            menu->PopupComponent = this;
            const QPoint screen = ClientWidget()->mapToGlobal(QPoint(X, Y));
            menu->Popup(screen.x(), screen.y());
        }
    }
}

bool TCustomRichPad::ContextMenu(TPoint MousePos, bool Keyboard) {
    if (Keyboard) {
        TCustomRichPad* root = RootControl();
        if (root == this) return TRPScroller::ContextMenu(MousePos, true);
        // The root and, unserved, its parents answer it; not this one's.
        KeyboardContextMenu(root);
        return true;
    }
    // Over an embedded control without a menu of its own the view's menu
    // shows; a right click on the document is the mouse-up's.
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        const TRect r = c->BoundsRect();
        if (c->Visible() && MousePos.x >= r.Left && MousePos.x < r.Right && MousePos.y >= r.Top &&
            MousePos.y < r.Bottom && c->PopupMenu() != PopupMenu())
            return TRPScroller::ContextMenu(MousePos, false);
    }
    return true;
}

void TCustomRichPad::DblClick() {
    TRPScroller::DblClick();
    const TPoint p = LastMousePos();
    m_data->DblClick(p.x, p.y);
}

void TCustomRichPad::MouseLeave() {
    if (DocFlags & rpflRecordJumps) m_data->ClearLastJump(true);
}

void TCustomRichPad::StartAutoScroll(bool Slow) {
    if (m_autoScroll) return;
    if (HandleAllocated()) SetTimer(rpAutoScrollTimer, Slow ? 300 : 100);
    m_autoScroll = true;
}

void TCustomRichPad::StopAutoScroll() {
    if (!m_autoScroll) return;
    if (HandleAllocated()) KillTimer(rpAutoScrollTimer);
    m_autoScroll = false;
}

void TCustomRichPad::Timer(int Id) {
    if (Id != rpAutoScrollTimer) return;
    if (m_autoVStep != 0) SetVPosition(VPos + m_autoVStep, true);
    if (m_autoHStep != 0) SetHPosition(HPos + m_autoHStep);
    if (m_autoVStep == 0 && m_autoHStep == 0) return;
    SimulateMouseMove();
}

void TCustomRichPad::SimulateMouseMove() {
    if (!HandleAllocated()) return;
    const TPoint p = CursorPos();
    if (p.x >= 0 && p.y >= 0 && p.x < ClientWidth() && p.y < ClientHeight()) MouseMove(KeyboardShiftState(), p.x, p.y);
}

// ---------------------------------------------------------------------------
// Keys and focus

bool TCustomRichPad::IsCopyShortCut(TShiftState Shift, uint16_t Key) {
    return (Shift & ssCtrl) && !(Shift & ssAlt) && (Key == 'C' || Key == VK_INSERT);
}

bool TCustomRichPad::IsCutShortCut(TShiftState Shift, uint16_t Key) {
    return ((Shift & ssCtrl) && !(Shift & ssAlt) && Key == 'X') || ((Shift & ssShift) && Key == VK_DELETE);
}

bool TCustomRichPad::IsPasteShortCut(TShiftState Shift, uint16_t Key) {
    return ((Shift & ssCtrl) && !(Shift & ssAlt) && Key == 'V') || ((Shift & ssShift) && Key == VK_INSERT);
}

bool TCustomRichPad::WantTabs() const {
    return m_data->TabNavigation != rptnNone;
}

void TCustomRichPad::KeyDown(uint16_t& Key, TShiftState Shift) {
    TRPScroller::KeyDown(Key, Shift);
    if (IsCopyShortCut(Shift, Key)) WMCopy();
    const TRPTabNavigationType nav = m_data->TabNavigation;
    if (nav != rptnNone && Key == VK_TAB && !(Shift & ssAlt)) {
        const bool ctrl = (Shift & ssCtrl) != 0;
        if ((nav == rptnCtrlTab && ctrl) || (nav == rptnTab && !ctrl)) {
            m_data->State &= ~rpstFocusFromMouse;
            m_data->MoveFocus((Shift & ssShift) != 0, nullptr, false);
        }
    }
    if (Key == VK_RETURN) m_data->ActivateFocusedItem();
}

void TCustomRichPad::WMCopy() {
    if (auto* editor = dynamic_cast<TCustomRichPad*>(GetCellEditor())) {
        PostMessage(editor->Widget(), [e = editor] { e->WMCopy(); });
        return;
    }
    CopyToClipboard();
}

void TCustomRichPad::FocusIn(bool Mouse, bool Backward, bool FromNowhere) {
    TRPScroller::FocusIn(Mouse, Backward, FromNowhere);
    if (m_destroying) return;
    if (m_data->TabNavigation != rptnNone) {
        if (FromNowhere) m_data->State |= rpstFocusFromMouse;
        const bool shift = Backward || (KeyboardShiftState() & ssShift);
        m_data->MoveFocus(shift, FocusFrom(), true);
    }
    if (m_style && (m_style->SelColor != m_style->InactiveSelColor ||
                    m_style->SelTextColor != m_style->InactiveSelTextColor))
        Invalidate();
}

bool TCustomRichPad::TabFromChild(bool Forward) {
    // The view comes in the tab order again before each of its embedded
    // controls and after the last: Tab from one goes on with the next link.
    if (m_data->TabNavigation == rptnNone || !CanFocus() || !Widget()) return false;
    Widget()->setFocus(Forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void TCustomRichPad::FocusOut() {
    if (m_style && (m_style->SelColor != m_style->InactiveSelColor ||
                    m_style->SelTextColor != m_style->InactiveSelTextColor))
        Invalidate();
}

// ---------------------------------------------------------------------------
// Selection and clipboard

void TCustomRichPad::SelectAll() {
    m_data->SelectAll();
    Invalidate();
}

void TCustomRichPad::Deselect() {
    m_data->Deselect(nullptr, true);
    Invalidate();
}

void TCustomRichPad::SetSelectionBounds(int StartItemNo, int StartOffs, int EndItemNo, int EndOffs) {
    m_data->SetSelectionBounds(StartItemNo, StartOffs, EndItemNo, EndOffs);
    Invalidate();
}

bool TCustomRichPad::CopyToClipboard() {
    // While a table cell is edited its selection is what the user sees.
    if (auto* editor = dynamic_cast<TCustomRichPad*>(GetCellEditor())) return editor->CopyToClipboard();
    return m_data->CopyToClipboard(EffectiveColor(), Background.get());
}

namespace {

// The view whose selection a copy takes: the innermost open cell editor.
TCustomRichPad& CopySource(TCustomRichPad& View) {
    TCustomRichPad* v = &View;
    while (auto* editor = dynamic_cast<TCustomRichPad*>(v->GetCellEditor()))
        v = editor;
    return *v;
}

} // namespace

bool TCustomRichPad::CopyRPF() {
    TCustomRichPad& v = CopySource(*this);
    return v.RPData()->CopyRPF(v.EffectiveColor(), v.Background.get());
}

bool TCustomRichPad::CopyRTF() {
    TCustomRichPad& v = CopySource(*this);
    return v.RPData()->CopyRTF(v.EffectiveColor(), v.Background.get());
}

bool TCustomRichPad::CopyText() {
    return CopySource(*this).RPData()->CopyText();
}

bool TCustomRichPad::CopyTextW() {
    return CopySource(*this).RPData()->CopyTextW();
}

bool TCustomRichPad::CopyImage() {
    return CopySource(*this).RPData()->CopyImage();
}

// ---------------------------------------------------------------------------
// Loading and saving

bool TCustomRichPad::LoadRPFFromStream(const std::string& Stream) {
    auto layout = std::make_unique<TRPLayoutInfo>();
    TColor color = Color();
    const bool ok = m_data->LoadRPFFromStream(Stream, color, Background.get(), layout.get());
    if (layout->IsLoaded) ApplyLayout(*layout);
    SetColor(color);
    return ok;
}

bool TCustomRichPad::SaveRPFToStream(std::string& Stream, bool SelectionOnly) {
    auto layout = CreateLayoutInfo();
    return m_data->SaveRPFToStream(Stream, SelectionOnly, Color(), Background.get(), layout.get());
}

bool TCustomRichPad::LoadRTF(const std::string& FileName) {
    GetRTFReadProperties();
    return m_data->LoadRTF(FileName) == 0;
}

// The writers answer False for what they cannot write; anything that escapes
// them (an application's handler, a full disk) gives False as well.
template <typename F> static bool Guarded(F&& Write) {
    try {
        return Write();
    } catch (...) {
        return false;
    }
}

bool TCustomRichPad::SaveRTFToStream(std::string& Stream, bool SelectionOnly) {
    return Guarded([&] {
        return m_data->SaveRTFToStream(Stream, SelectionOnly, 0, Color(), Background.get(), nullptr, 0);
    });
}

bool TCustomRichPad::SaveRTF(const std::string& FileName, bool SelectionOnly) {
    return Guarded([&] { return m_data->SaveRTF(FileName, SelectionOnly, Color(), Background.get()); });
}

bool TCustomRichPad::SaveTextToStream(const std::string& Path, std::string& Stream, int LineWidth,
                                      bool SelectionOnly, bool TextOnly) {
    return Guarded(
        [&] { return m_data->SaveTextToStream(Path, Stream, LineWidth, SelectionOnly, TextOnly, false, false); });
}

bool TCustomRichPad::SaveTextToStreamW(const std::string& Path, std::string& Stream, int LineWidth,
                                       bool SelectionOnly, bool TextOnly) {
    return Guarded(
        [&] { return m_data->SaveTextToStream(Path, Stream, LineWidth, SelectionOnly, TextOnly, true, false); });
}

std::string TCustomRichPad::SaveImageForHTML(const TGraphic* Graphic, int SaveFormat, const std::string& Path,
                                             TColor BackColor) {
    std::string location;
    Guarded([&] {
        location = m_data->SaveImageForHTML(SaveFormat, HTMLImagesPrefix, Path, HTMLImageSaveNo,
                                            HTMLOverwriteImages, BackColor, Graphic);
        return true;
    });
    return location;
}

std::unique_ptr<TRPLayoutInfo> TCustomRichPad::CreateLayoutInfo() const {
    auto l = std::make_unique<TRPLayoutInfo>();
    l->LeftMargin = LeftMargin;
    l->RightMargin = RightMargin;
    l->TopMargin = TopMargin;
    l->BottomMargin = BottomMargin;
    l->MinTextWidth = MinTextWidth;
    l->MaxTextWidth = MaxTextWidth;
    l->BiDiMode = BiDiMode;
    return l;
}

void TCustomRichPad::ApplyLayout(const TRPLayoutInfo& Layout) {
    LeftMargin = Layout.LeftMargin;
    RightMargin = Layout.RightMargin;
    TopMargin = Layout.TopMargin;
    BottomMargin = Layout.BottomMargin;
    MinTextWidth = Layout.MinTextWidth;
    MaxTextWidth = Layout.MaxTextWidth;
    SetBiDiMode(static_cast<TRPBiDiMode>(Layout.BiDiMode <= rpbdRightToLeft ? Layout.BiDiMode : 0));
}

TRPRTFReaderProperties* TCustomRichPad::GetRTFReadProperties() {
    if (!m_rtfReadProperties) m_rtfReadProperties = std::make_unique<TRPRTFReaderProperties>();
    return m_rtfReadProperties.get();
}

void TCustomRichPad::SetRTFReadProperties(const TRPRTFReaderProperties* Value) {
    if (!Value) {
        m_rtfReadProperties.reset();
        return;
    }
    GetRTFReadProperties()->Assign(*Value);
}

// ---------------------------------------------------------------------------
// Other operations

void TCustomRichPad::AssignEvents(const TCustomRichPad& Source) {
    OnJump = Source.OnJump;
    OnRPMouseMove = Source.OnRPMouseMove;
    OnURLNeeded = Source.OnURLNeeded;
    OnRPDblClick = Source.OnRPDblClick;
    OnRPRightClick = Source.OnRPRightClick;
    OnRPMouseUp = Source.OnRPMouseUp;
    OnRPMouseDown = Source.OnRPMouseDown;
    OnControlAction = Source.OnControlAction;
    OnItemAction = Source.OnItemAction;
    OnRPFPictureNeeded = Source.OnRPFPictureNeeded;
    OnRPFControlNeeded = Source.OnRPFControlNeeded;
    OnRPFImageListNeeded = Source.OnRPFImageListNeeded;
    OnCheckpointVisible = Source.OnCheckpointVisible;
    OnCopy = Source.OnCopy;
    OnReadHyperlink = Source.OnReadHyperlink;
    OnPaint = Source.OnPaint;
    OnImportPicture = Source.OnImportPicture;
    OnItemHint = Source.OnItemHint;
    OnSelect = Source.OnSelect;
    OnHTMLSaveImage = Source.OnHTMLSaveImage;
    OnSaveImage2 = Source.OnSaveImage2;
    OnSaveRTFExtra = Source.OnSaveRTFExtra;
    OnSaveHTMLExtra = Source.OnSaveHTMLExtra;
    OnSaveParaHTMLCode = Source.OnSaveParaHTMLCode;
    OnWriteHyperlink = Source.OnWriteHyperlink;
    OnSaveItemToFile = Source.OnSaveItemToFile;
    OnSaveComponentToFile = Source.OnSaveComponentToFile;
}

void TCustomRichPad::FreeDocumentTempObject() {
    bool had = false;
    for (auto& o : m_data->TempObjects) {
        had = had || o;
        o.reset();
    }
    if (had) Invalidate();
}

void TCustomRichPad::PostDeferredEvent(const TRPMessageData& Event) {
    // Bound to the widget: a view that goes away first drops the event.
    PostMessage(Widget(), [this, Event] { DispatchDeferredEvent(Event); });
}

void TCustomRichPad::DispatchDeferredEvent(const TRPMessageData& E) {
    switch (E.Kind) {
    case 0:
        m_data->DoRPDblClick(E.Text, E.Values[0]);
        break;
    case 1:
        m_data->DoJump(E.Values[0]);
        break;
    case 2:
        m_data->DoRPMouseUp(static_cast<TMouseButton>(E.Bytes[0]), E.Bytes[1], E.Values[0], E.Values[1], E.Values[2]);
        break;
    case 3:
        m_data->DoRPMouseDown(static_cast<TMouseButton>(E.Bytes[0]), E.Bytes[1], E.Values[0], E.Values[1],
                              E.Values[2]);
        break;
    case 4:
        Click();
        break;
    case 5: {
        const TPoint p = LastMousePos();
        m_data->DblClick(p.x, p.y);
        if (OnDblClick) OnDblClick(this);
        break;
    }
    case 6:
        MouseMove(E.Bytes[1], E.Values[1], E.Values[2]);
        break;
    case 7:
        DragDrop(E.Object, E.Values[0], E.Values[1]);
        break;
    case 8:
        DoEndDrag(E.Object, E.Values[0], E.Values[1]);
        break;
    default:
        break;
    }
}

// The editable document: undo sequences, the caret, formatting around the
// caret, the reformatting after edits and the end of every edit.
#include "richtext/edit/RPEditData.h"
#include "richtext/edit/RPTable.h"
#include "richtext/model/RPMarkers.h"

#include <QWidget>
#include <algorithm>

#include "richtext/edit/RPResizer.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPCoords.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/view/RPFormatState.h"

TRPEditRPData::TRPEditRPData(TCustomRichPad* AOwnerView)
    : TRichPadRPData(AOwnerView), UndoList(std::make_unique<TRPUndoList>(this)),
      RedoList(std::make_unique<TRPUndoList>(this)) {}

TRPEditRPData::~TRPEditRPData() {
    // Held items go before the document they were taken from.
    UndoList.reset();
    RedoList.reset();
}

TCustomRichPadEdit* TRPEditRPData::Editor() const {
    return dynamic_cast<TCustomRichPadEdit*>(OwnerView);
}

// ---------------------------------------------------------------------------
// Undo sequences

TRPUndoList* TRPEditRPData::GetUndoList() const {
    switch (UndoMode) {
    case 1:
        return UndoList->Limit() != 0 ? UndoList.get() : nullptr;
    case 2:
        return RedoList.get();
    default:
        return nullptr;
    }
}

void TRPEditRPData::BeginUndoSequence(uint8_t Action, bool AllowFinalize) {
    BeginNamedUndoSequence(Action, std::string(), AllowFinalize);
}

void TRPEditRPData::BeginNamedUndoSequence(uint8_t Action, const std::string& Caption, bool AllowFinalize) {
    // A cell editor's own steps come first in the history.
    if (AllowFinalize && OwnerView)
        if (auto* table = dynamic_cast<TRPTableItemInfo*>(OwnerView->EditedCellItem)) table->SaveInplaceUndo();
    int item = -1, offs = -1;
    GetCaretItemPos(item, offs);
    UndoMode = UndoList->BeginItem(Action, Caption, item, offs) ? 1 : 0;
}

void TRPEditRPData::BeginRedoSequence(uint8_t Action, const std::string& Caption) {
    int item = -1, offs = -1;
    GetCaretItemPos(item, offs);
    UndoMode = RedoList->BeginItem(Action, Caption, item, offs) ? 2 : 0;
}

void TRPEditRPData::SetUndoGroupMode(bool GroupUndo) {
    UndoList->GroupMode += GroupUndo ? 1 : -1;
}

void TRPEditRPData::EndUndoSequence() {
    if (UndoMode == 1) UndoList->EndItem();
    if (UndoMode == 2) RedoList->EndItem();
}

// ---------------------------------------------------------------------------
// Lifecycle and formatting

void TRPEditRPData::ClearFormatting() {
    CharEnds.clear();
    CaretDrawItemNo = -1;
    CaretIndex = -1;
    Resizer.reset();
    State &= ~rpstCaretShown;
    TRichPadRPData::ClearFormatting();
}

void TRPEditRPData::Clear() {
    TRichPadRPData::Clear();
    FDirtyFirst = FDirtyTail = INT_MAX;
    if (UndoList) UndoList->Clear();
    if (RedoList) RedoList->Clear();
    RememberedTextStyle = 0;
    if (TCustomRichPadEdit* e = Editor()) {
        e->Modified = false;
        if (!(State & rpstClearing)) {
            e->SetCurParaStyleNo(0);
            e->SetCurTextStyleNo(0);
        }
    }
    CurParaStyleNo = CurTextStyleNo = 0;
    JustCleared = true;
}

void TRPEditRPData::MarkStylesInUse(TRPIntegerList& UsedText, TRPIntegerList& UsedPara,
                                    TRPIntegerList& UsedList) {
    TRichPadRPData::MarkStylesInUse(UsedText, UsedPara, UsedList);
    const int text = ActualCurTextStyleNo();
    if (text >= 0 && text < UsedText.Count()) UsedText.Put(text, 1);
    if (CurParaStyleNo >= 0 && CurParaStyleNo < UsedPara.Count()) UsedPara.Put(CurParaStyleNo, 1);
}

void TRPEditRPData::AdjustAfterStyleDeletion(const TRPIntegerList& TextShifts,
                                             const TRPIntegerList& ParaShifts,
                                             const TRPIntegerList& ListShifts) {
    TRichPadRPData::AdjustAfterStyleDeletion(TextShifts, ParaShifts, ListShifts);
    UndoList->Clear();
    RedoList->Clear();
    if (CurTextStyleNo != -1) CurTextStyleNo = RPShiftedStyleIndex(CurTextStyleNo, TextShifts);
    if (CurParaStyleNo != -1) CurParaStyleNo = RPShiftedStyleIndex(CurParaStyleNo, ParaShifts);
    const bool rememberedGone = RememberedTextStyle >= 0 && RememberedTextStyle < TextShifts.Count() &&
                                TextShifts.Get(RememberedTextStyle) == 0;
    RememberedTextStyle = rememberedGone ? 0 : RPShiftedStyleIndex(RememberedTextStyle, TextShifts);
    // The listeners learn the new numbers, unless selected cells of a table
    // hold the current styles.
    if (PartialSelectedItem) return;
    ForceStyleChangeEvents = true;
    SetCurParaStyle(CurParaStyleNo);
    SetCurTextStyle(CurTextStyleNo);
    ForceStyleChangeEvents = false;
}

// ---------------------------------------------------------------------------
// Hyperlink mode

void TRPEditRPData::BuildJumps(bool Force) {
    TCustomRichPadEdit* e = Editor();
    if (!e || (!Force && e->ReadOnly()) || CaptureItem) return;
    Jumps.clear();
    NextJumpNo = 0;
    BuildJumpList(NextJumpNo, Jumps);
    UpdateJumpPositions();
    e->DocFlags |= rpflRecordJumps;
    State &= ~rpstCaretShown;
    InvalidateView();
}

void TRPEditRPData::DropJumps() {
    TCustomRichPadEdit* e = Editor();
    if (!e || e->ReadOnly() || CaptureItem || !(e->DocFlags & rpflRecordJumps)) return;
    ClearJumps();
    e->DocFlags &= static_cast<uint16_t>(~rpflRecordJumps);
    State &= ~rpstCaretShown;
    RefreshCaret();
    InvalidateView();
}

namespace {

// Hyperlink mode on around a top-level save of an editor that asks for it.
class TJumpsAroundSaving {
public:
    TJumpsAroundSaving(TRPEditRPData& Data, int Level)
        : m_data((Level == 0 && (Data.GetFlags() & rpflJumpsAroundSaving)) ? &Data : nullptr) {
        if (m_data) m_data->BuildJumps(false);
    }
    ~TJumpsAroundSaving() {
        if (m_data) m_data->DropJumps();
    }
    TJumpsAroundSaving(const TJumpsAroundSaving&) = delete;
    TJumpsAroundSaving& operator=(const TJumpsAroundSaving&) = delete;

private:
    TRPEditRPData* m_data;
};

} // namespace

bool TRPEditRPData::SaveRTFToStream(std::string& Stream, bool SelectionOnly, int Level, TColor Color,
                                    TRPBackground* Background, TRPRTFTables* Tables, double TwipsPerPixel) {
    TJumpsAroundSaving jumps(*this, Level);
    return TRichPadRPData::SaveRTFToStream(Stream, SelectionOnly, Level, Color, Background, Tables, TwipsPerPixel);
}

bool TRPEditRPData::SaveHTMLToStream(std::string& Stream, const std::string& Path, const std::string& Title,
                                     const std::string& ImagesPrefix, TRPHTMLSaveOptions Options, TColor Color,
                                     int& ImageSaveNo, int LeftMargin, int TopMargin, int RightMargin,
                                     int BottomMargin, TRPBackground* Background, TRPHTMLBulletList* Bullets) {
    TJumpsAroundSaving jumps(*this, 0);
    return TRichPadRPData::SaveHTMLToStream(Stream, Path, Title, ImagesPrefix, Options, Color, ImageSaveNo, LeftMargin,
                                            TopMargin, RightMargin, BottomMargin, Background, Bullets);
}

bool TRPEditRPData::SaveHTMLWithCSSToStream(std::string& Stream, const std::string& Path, const std::string& Title,
                                            const std::string& ImagesPrefix, const std::string& ExtraStyles,
                                            const std::string& ExternalCSS, const std::string& CPPrefix,
                                            TRPHTMLSaveOptions Options, TColor Color, TColor& CurrentFileColor,
                                            int& ImageSaveNo, int LeftMargin, int TopMargin, int RightMargin,
                                            int BottomMargin, TRPBackground* Background, TRPHTMLBulletList* Bullets) {
    TJumpsAroundSaving jumps(*this, 0);
    return TRichPadRPData::SaveHTMLWithCSSToStream(Stream, Path, Title, ImagesPrefix, ExtraStyles, ExternalCSS,
                                                   CPPrefix, Options, Color, CurrentFileColor, ImageSaveNo, LeftMargin,
                                                   TopMargin, RightMargin, BottomMargin, Background, Bullets);
}

void TRPEditRPData::MakeSureEmpty() {
    if (GetItemCount() > 0 || !GetRPStyle()) return;
    // Not an edit: nothing to undo, nothing modified.
    AddItem(std::string(), CreateTextItem(CurTextStyleNo, CurParaStyleNo, true, false, TRPTag{}));
}

void TRPEditRPData::Format(bool WidthChangeOnly, bool ReformatAnyway, bool NoScrollRestore, int Depth,
                           TCanvas* Canvas, bool AppendOnly, bool Force) {
    MakeSureEmpty();
    // The caret stays where it was, unless the document was just cleared.
    int item = -1, offs = -1;
    if (!JustCleared) GetCaretItemPos(item, offs);
    FDirtyFirst = FDirtyTail = INT_MAX;
    Resizer.reset();
    {
        // The bar is settled once the caret stands again.
        TBarSettleHold hold(*this);
        TRichPadRPData::Format(WidthChangeOnly, ReformatAnyway, NoScrollRestore, Depth, Canvas, AppendOnly, Force);
    }
    if (DrawItemCount() == 0) {
        CharEnds.clear();
        CaretDrawItemNo = CaretIndex = -1;
        JustCleared = false;
        return;
    }
    if (item >= 0 && item < GetItemCount()) {
        int d = -1, o = 0;
        ItemToDrawItemPos(item, offs, o, d);
        SetCaretDrawPos(d, o);
    } else {
        SetCaretDrawPos(0, GetFirstOffsetOfDrawItem(0));
        SkipListMarker(true);
    }
    // A picture still selected keeps its handles on its new draw item.
    UpdateResizer();
    ChangeCaret(false, false, !JustCleared);
    JustCleared = false;
    if (Depth == 0) SettleVerticalBar();
}

void TRPEditRPData::SelectionChanged() {
    TRichPadRPData::SelectionChanged();
    UpdateResizer();
    if (SelEndNo >= 0 && SelEndNo < DrawItemCount()) {
        SetCaretDrawPos(SelEndNo, SelEndOffs);
        ChangeCaret(false, false, false);
    }
}

// ---------------------------------------------------------------------------
// Caret

void TRPEditRPData::SetCaretDrawPos(int DItemNo, int DOffs) {
    if (DItemNo < 0 || DItemNo >= DrawItemCount()) {
        CaretDrawItemNo = CaretIndex = -1;
        CharEnds.clear();
        return;
    }
    CaretDrawItemNo = DItemNo;
    BuildCaretLine(DOffs);
}

void TRPEditRPData::BuildCaretLine(int WantedOffset) {
    CharEnds.clear();
    CaretIndex = -1;
    if (CaretDrawItemNo < 0 || CaretDrawItemNo >= DrawItemCount()) return;
    int first = 0, last = 0;
    GetLineBounds(CaretDrawItemNo, first, last);
    if (IsListMarkerItem(DrawItem(CaretDrawItemNo)->ItemNo) && CaretDrawItemNo < last) {
        ++CaretDrawItemNo;
        WantedOffset = GetFirstOffsetOfDrawItem(CaretDrawItemNo);
    }
    TCanvas* canvas = GetCanvas();
    TRPStyle* style = GetRPStyle();
    for (int i = first; i <= last; ++i) {
        const TRPDrawLineInfo* d = DrawItem(i);
        const int sn = GetItemStyle(d->ItemNo);
        if (sn == rpsnListMarker) continue;
        // The end of one piece and the start of the next are one place on the
        // screen: a piece after another on its line offers no start position.
        const bool skipFirst = !CharEnds.empty();
        if (sn >= 0) {
            // The measured widths are read before the next item is measured: no copy.
            const std::vector<int>* prefix = nullptr;
            if (canvas && style) {
                style->ApplyStyle(*canvas, sn, GetParaBiDiMode(GetItemPara(d->ItemNo)));
                prefix = &MeasureItemText(*canvas, d->ItemNo);
            }
            // Width of the item's first n characters.
            const auto width = [prefix](int n) {
                if (n <= 0 || !prefix || prefix->empty()) return 0;
                return (*prefix)[static_cast<size_t>(std::min<int>(n, static_cast<int>(prefix->size())) - 1)];
            };
            const int base = width(d->Offs - 1);
            for (int k = skipFirst ? 2 : 1; k <= d->Length + 1; ++k)
                CharEnds.push_back(TRPCharPos{d->Left + width(d->Offs + k - 2) - base, i, k, 1});
        } else {
            if (!skipFirst) CharEnds.push_back(TRPCharPos{d->Left, i, 0, 1});
            CharEnds.push_back(TRPCharPos{d->Left + d->Width, i, 1, 2});
        }
    }
    if (CharEnds.empty()) return;
    if (WantedOffset < 0) {
        if (WantedOffset == -2) {
            CaretIndex = static_cast<int>(CharEnds.size()) - 1;
        } else {
            for (int k = 0; k < static_cast<int>(CharEnds.size()); ++k)
                if (CharEnds[static_cast<size_t>(k)].DrawItemNo == CaretDrawItemNo) CaretIndex = k;
        }
    } else {
        for (int k = 0; k < static_cast<int>(CharEnds.size()); ++k) {
            const TRPCharPos& p = CharEnds[static_cast<size_t>(k)];
            if (p.DrawItemNo == CaretDrawItemNo && p.Offset == WantedOffset) {
                CaretIndex = k;
                break;
            }
        }
        // A skipped start position is the end of the piece before it.
        if (CaretIndex < 0) {
            for (int k = 0; k < static_cast<int>(CharEnds.size()); ++k) {
                const TRPCharPos& p = CharEnds[static_cast<size_t>(k)];
                if (p.DrawItemNo < CaretDrawItemNo ||
                    (p.DrawItemNo == CaretDrawItemNo && p.Offset <= WantedOffset))
                    CaretIndex = k;
            }
        }
    }
    if (CaretIndex < 0) CaretIndex = 0;
    CaretDrawItemNo = CharEnds[static_cast<size_t>(CaretIndex)].DrawItemNo;
}

void TRPEditRPData::GetCaretItemPos(int& ItemNo, int& Offs) const {
    ItemNo = Offs = -1;
    if (CaretDrawItemNo < 0 || CaretIndex < 0 || CaretIndex >= static_cast<int>(CharEnds.size())) return;
    const TRPCharPos& p = CharEnds[static_cast<size_t>(CaretIndex)];
    if (p.DrawItemNo >= DrawItemCount()) return;
    DrawItemToItemPos(p.DrawItemNo, p.Offset, Offs, ItemNo);
}

int TRPEditRPData::CurItemNo() const {
    if (PartialSelectedItem) return GetItemNo(PartialSelectedItem);
    int item = -1, offs = -1;
    GetCaretItemPos(item, offs);
    return item;
}

int TRPEditRPData::OffsetInCurItem() const {
    if (PartialSelectedItem) return 1;
    int item = -1, offs = -1;
    GetCaretItemPos(item, offs);
    return offs;
}

void TRPEditRPData::NormalizeCaretPos(bool Forward, int& ItemNo, int& Offs) const {
    GetCaretItemPos(ItemNo, Offs);
    if (ItemNo < 0) return;
    if (Forward && Offs >= GetLastOffsetOfItem(ItemNo) && ItemNo + 1 < GetItemCount())
        Offs = GetFirstOffsetOfItem(++ItemNo);
    else if (!Forward && Offs <= GetFirstOffsetOfItem(ItemNo) && ItemNo > 0)
        Offs = GetLastOffsetOfItem(--ItemNo);
}

void TRPEditRPData::SetPartialSelectedItem(TCustomRPItemInfo* Item) {
    const bool changed = Item != PartialSelectedItem;
    TRichPadRPData::SetPartialSelectedItem(Item);
    if (changed)
        if (TCustomRichPadEdit* e = Editor()) e->DoCaretMove();
}

void TRPEditRPData::ReleasePartialSelections(TCustomRPItemInfo* Except) {
    const bool released = PartialSelectedItem && PartialSelectedItem != Except;
    TRichPadRPData::ReleasePartialSelections(Except);
    if (released)
        if (TCustomRichPadEdit* e = Editor()) e->DoCaretMove();
}

int TRPEditRPData::CaretX() const {
    if (CaretIndex < 0 || CaretIndex >= static_cast<int>(CharEnds.size())) return 0;
    return CharEnds[static_cast<size_t>(CaretIndex)].X;
}

TRect TRPEditRPData::CaretRect() const {
    if (CaretHeight == 0 || CaretIndex < 0 || CaretIndex >= static_cast<int>(CharEnds.size())) return TRect{};
    const TRPCharPos& p = CharEnds[static_cast<size_t>(CaretIndex)];
    // A caret line of draw items that an edit has just replaced has no place.
    if (p.DrawItemNo < 0 || p.DrawItemNo >= DrawItemCount()) return TRect{};
    const TRPDrawLineInfo* d = DrawItem(p.DrawItemNo);
    auto* self = const_cast<TRPEditRPData*>(this);
    const int x = p.X - 1 + p.Correction - self->GetHOffs();
    const int bottom = d->Top + d->Height - self->GetVOffs();
    // Before an item on a line of its own that is taller than a caret can
    // be (a long table), the caret stands at its top, where a letter typed
    // will go: beside a table's first row.
    if (CaretHeight < d->Height + 2 && p.Offset == 0 &&
        dynamic_cast<const TRPFullLineItemInfo*>(GetItem(d->ItemNo))) {
        int height = CaretHeight;
        if (const auto* t = dynamic_cast<const TRPTableItemInfo*>(GetItem(d->ItemNo));
            t && t->FormattingInfo.RowStarts.Count() > 1)
            height = std::clamp(t->FormattingInfo.RowStarts[1] + 2, 1, height);
        const int top = d->Top - 2 - self->GetVOffs();
        return TRect{x, top, x + 1, top + height};
    }
    return TRect{x, bottom - CaretHeight, x + 1, bottom};
}

TPoint TRPEditRPData::GetCaretClientPoint() const {
    if (CaretIndex < 0 || CaretIndex >= static_cast<int>(CharEnds.size())) return TPoint{0, 0};
    const TRPCharPos& p = CharEnds[static_cast<size_t>(CaretIndex)];
    if (p.DrawItemNo < 0 || p.DrawItemNo >= DrawItemCount()) return TPoint{0, 0};
    auto* self = const_cast<TRPEditRPData*>(this);
    return TPoint{p.X - 1 + p.Correction - self->GetHOffs(),
                  DrawItem(p.DrawItemNo)->Top - 1 - self->GetVOffs()};
}

void TRPEditRPData::SetCaretItemPos(int ItemNo, int Offs, bool Scroll) {
    if (PlaceCaret(ItemNo, Offs)) ChangeCaret(false, Scroll, false);
}

bool TRPEditRPData::PlaceCaret(int ItemNo, int Offs) {
    if (DrawItemCount() == 0 || GetItemCount() == 0) {
        SetCaretDrawPos(-1, 0);
        return false;
    }
    ItemNo = std::clamp(ItemNo, 0, GetItemCount() - 1);
    Offs = std::clamp(Offs, GetFirstOffsetOfItem(ItemNo), GetLastOffsetOfItem(ItemNo));
    Deselect(nullptr, false);
    int d = -1, o = 0;
    ItemToDrawItemPos(ItemNo, Offs, o, d);
    SetCaretDrawPos(d, o);
    return true;
}

TRPDragDropCaretInfo* TRPEditRPData::GetDragDropCaretInfo() {
    auto* root = dynamic_cast<TRPEditRPData*>(GetAbsoluteRootData());
    return root && root != this ? root->GetDragDropCaretInfo() : FDragDropCaret.get();
}

void TRPEditRPData::AddDragDropCaretRef() {
    auto* root = dynamic_cast<TRPEditRPData*>(GetAbsoluteRootData());
    if (root && root != this) return root->AddDragDropCaretRef();
    if (!FDragDropCaret) FDragDropCaret = std::make_unique<TRPDragDropCaretInfo>();
    ++FDragDropCaret->RefCount;
    RefreshCaret();
}

void TRPEditRPData::ReleaseDragDropCaret() {
    auto* root = dynamic_cast<TRPEditRPData*>(GetAbsoluteRootData());
    if (root && root != this) return root->ReleaseDragDropCaret();
    if (!FDragDropCaret || --FDragDropCaret->RefCount > 0) return;
    FDragDropCaret.reset();
    RefreshCaret();
}

bool TRPEditRPData::CaretLinesValid() const {
    if (FDirtyFirst != INT_MAX || FDirtyTail != INT_MAX || CaretDrawItemNo < 0 ||
        CaretDrawItemNo >= DrawItemCount() || CaretIndex < 0 ||
        CaretIndex >= static_cast<int>(CharEnds.size()))
        return false;
    const int d = CharEnds[static_cast<size_t>(CaretIndex)].DrawItemNo;
    return d >= 0 && d < DrawItemCount();
}

void TRPEditRPData::RefreshCaret() {
    if (CaretLinesValid()) ChangeCaret(false, false, true);
}

void TRPEditRPData::ChangeCaret(bool RepaintFirst, bool ScrollToCaret, bool KeepParaStyle) {
    if (State & rpstNoCaret) return;
    if (RepaintFirst) UpdateView();
    TCustomRichPadEdit* e = Editor();
    const TRect old = CaretRect();
    CaretHeight = 0;
    if (CaretDrawItemNo >= 0) {
        if (CaretIndex < 0 || CaretIndex >= static_cast<int>(CharEnds.size())) {
            CaretDrawItemNo = 0;
            BuildCaretLine(GetFirstOffsetOfDrawItem(0));
            throw ERichPadError("Invalid caret position. Please contact the developer, if you can reproduce this problem");
        }
        const TRPDrawLineInfo* d = DrawItem(CaretDrawItemNo);
        // No caret while a table's cells are chosen or one is edited, while
        // a drop caret shows where a drag would land, or over a picture's handles.
        const bool hidden =
            (e && e->HidesCaret()) || PartialSelectedItem || GetCellEditor() || GetDragDropCaretInfo();
        if (!hidden && !Resizer) CaretHeight = std::min(d->Height + 2, 1000);
        int item = -1, offs = -1;
        GetCaretItemPos(item, offs);
        if (item >= 0) {
            if (!KeepParaStyle) SetCurParaStyle(GetItemPara(item));
            // At the end of an item whose line goes on, the caret belongs to the next one.
            if (offs >= GetLastOffsetOfItem(item) && offs >= GetLastOffsetOfDrawItem(CaretDrawItemNo) &&
                item + 1 < GetItemCount() && GetItem(item + 1)->GetContinuesPrev())
                ++item;
            HighlightJumpAtCaret(item);
            if (GetItemStyle(item) >= 0) {
                TRPStyle* style = GetRPStyle();
                const int sn = GetItemStyle(item);
                const bool noSwitch = style && sn < style->TextStyles().Count() &&
                                      (style->TextStyles().GetItem(sn)->Protection & rpprDoNotAutoSwitch);
                if (!noSwitch) {
                    SetCurTextStyle(sn);
                    RememberedTextStyle = sn;
                }
            }
        }
    }
    if (ScrollToCaret) ShowCaretLine();
    if (e) {
        // The caret goes from where it was painted, which the caret line
        // rebuilt before this call no longer knows.
        e->InvalidateShownCaret();
        const TRect now = CaretRect();
        if (old.Right > old.Left) InvalidateRectInView(TRect{old.Left - 1, old.Top, old.Right + 1, old.Bottom});
        if (now.Right > now.Left) InvalidateRectInView(TRect{now.Left - 1, now.Top, now.Right + 1, now.Bottom});
        e->DoCaretMove();
    }
}

void TRPEditRPData::ShowCaretLine() {
    if (Resizer || CaretHeight <= 0 || CaretIndex < 0 || CaretIndex >= static_cast<int>(CharEnds.size()) ||
        CaretDrawItemNo < 0 || CaretDrawItemNo >= DrawItemCount())
        return;
    // Of an item taller than the view, the side the caret stands at shows (a
    // table's first or last row).
    constexpr int margin = CaretLineMargin;
    const TRPCharPos& p = CharEnds[static_cast<size_t>(CaretIndex)];
    const TRPDrawLineInfo* d = DrawItem(CaretDrawItemNo);
    int top = d->Top - 1 - margin, bottom = d->Top + d->Height + 1 + margin;
    // Room for the rectangle wherever the scroll unit of the view that
    // moves puts it: a cell editor's host's, not the cell's own.
    TCustomRPFormattedData* view = GetScrollingData();
    const int room = std::max(1, view->GetHeight() - view->GetVSmallStep());
    if (bottom - top > room) {
        if (GetItemStyle(d->ItemNo) < 0 && p.Offset >= GetLastOffsetOfDrawItem(CaretDrawItemNo))
            top = bottom - room;
        else
            bottom = top + room;
    }
    ShowRectangle(p.X - 1 - margin, top, 2 + 2 * margin, bottom - top);
}

void TRPEditRPData::HighlightJumpAtCaret(int ItemNo) {
    const TRPStyle* style = GetRPStyle();
    const TCustomRPItemInfo* it = GetItem(ItemNo);
    const int id = style && it->GetBoolValueEx(rpbivexJump, style) ? it->JumpID : -1;
    if (id >= 0 && (!(State & rpstJumpHighlighted) || HoverJumpNo != id || HoverData != this)) {
        ClearLastJump(false);
        HoverJumpNo = id;
        HoverData = this;
        State |= rpstJumpHighlighted;
        InvalidateView();
    } else if (id < 0 && (State & rpstJumpHighlighted) && HoverData == this) {
        State &= ~rpstJumpHighlighted;
        HoverJumpNo = -1;
        HoverData = nullptr;
        InvalidateView();
    }
}

bool TRPEditRPData::CaretAtLineStart() const {
    if (CaretIndex != 0) return false;
    int item = -1, offs = -1;
    GetCaretItemPos(item, offs);
    if (item < 0 || offs != GetFirstOffsetOfItem(item)) return false;
    return !GetItem(item)->GetContinuesPrev() || (item > 0 && GetItemStyle(item - 1) == rpsnListMarker);
}

bool TRPEditRPData::CaretAtLineEnd() const {
    if (CaretIndex != static_cast<int>(CharEnds.size()) - 1) return false;
    int item = -1, offs = -1;
    GetCaretItemPos(item, offs);
    if (item < 0) return false;
    if (item + 1 < GetItemCount() && GetItem(item + 1)->GetContinuesPrev()) return false;
    return offs == GetLastOffsetOfItem(item);
}

void TRPEditRPData::GetSelectionOrCaretBounds(int& StartItemNo, int& StartOffs, int& EndItemNo, int& EndOffs) {
    if (SelectionExists(false, false)) {
        GetSelBounds(StartItemNo, StartOffs, EndItemNo, EndOffs, true);
        return;
    }
    GetCaretItemPos(StartItemNo, StartOffs);
    EndItemNo = StartItemNo;
    EndOffs = StartOffs;
}

void TRPEditRPData::PaintOverlay(TCanvas& Canvas, int XShift, int YShift) {
    TRichPadRPData::PaintOverlay(Canvas, XShift, YShift);
    if (Resizer) Resizer->DrawHandles(Canvas, GetHOffs() - XShift, GetVOffs() - YShift);
}

// ---------------------------------------------------------------------------
// Change tracking and reformatting

void TRPEditRPData::MarkChanged(int First, int Last) {
    const int count = GetItemCount();
    if (FDirtyFirst == INT_MAX && FDirtyTail == INT_MAX) FOldCount = count;
    // Whether the first changed item continued the line of the one before
    // it, as the lines show it: only then may the change reach back into
    // the paragraph before.
    if (const int first = std::max(0, First); first < FDirtyFirst)
        FDirtyJoinsBefore = first > 0 && first < count && GetItem(first)->GetContinuesPrev();
    // Numbers are taken now, before the change: the tail that stays is
    // counted from the end, which does not move.
    FDirtyFirst = std::min(FDirtyFirst, std::max(0, First));
    FDirtyTail = std::min(FDirtyTail, std::max(0, count - 1 - Last));
    // The tail is counted in the present document; carry it to the original one.
    FDirtyTail = std::min(FDirtyTail, FOldCount);
}

namespace {

// The last draw item of the item whose first draw item is D.
int LastDrawItemFrom(const TCustomRPFormattedData& Data, int D) {
    const int n = Data.DrawItemCount();
    while (D + 1 < n && Data.DrawItem(D + 1)->ItemNo == Data.DrawItem(D)->ItemNo)
        ++D;
    return D;
}

bool Renumbered(const TRPMarkerItemInfo& Marker) {
    return Marker.DisplayString != Marker.MeasuredString;
}

// Whether a cell of Table, or of a table inside one, shows a marker that was
// renumbered since it was measured; every such table is marked changed, so
// that its next layout takes its cells' lines anew.
bool ChangeTablesOfRenumberedMarkers(TRPTableItemInfo& Table) {
    bool found = false;
    Table.Rows->ForEachCell([&](int, int, TRPTableCellData& Cell) {
        const TCustomRPData& doc = *Cell.GetContentData();
        for (int i = 0; i < doc.GetItemCount(); ++i) {
            TCustomRPItemInfo* item = doc.GetItem(i);
            if (const auto* m = dynamic_cast<const TRPMarkerItemInfo*>(item))
                found = found || Renumbered(*m);
            else if (auto* nested = dynamic_cast<TRPTableItemInfo*>(item))
                found = ChangeTablesOfRenumberedMarkers(*nested) || found;
        }
    });
    if (found) Table.Changed();
    return found;
}

} // namespace

bool TRPEditRPData::FindRenumberedMarkers(bool Note) {
    // Renumbering reaches past the edit, into the cells of tables too:
    // markers whose text changed are laid out again with their paragraphs.
    // Only the list renumbers them, so the items are looked through only
    // when one in the list changed.
    const TRPMarkerList* markers = GetMarkers(false);
    bool renumbered = false;
    for (int k = 0; markers && k < markers->Count() && !renumbered; ++k)
        renumbered = Renumbered(*markers->Get(k));
    if (!renumbered) return false;
    for (int i = 0; i < GetItemCount(); ++i) {
        TCustomRPItemInfo* item = GetItem(i);
        if (GetItemStyle(i) == rpsnListMarker) {
            if (Note && Renumbered(*static_cast<const TRPMarkerItemInfo*>(item))) MarkChanged(i, i);
        } else if (auto* table = dynamic_cast<TRPTableItemInfo*>(item)) {
            if (ChangeTablesOfRenumberedMarkers(*table) && Note) MarkChanged(i, i);
        }
    }
    return true;
}

bool TRPEditRPData::LayOutRenumberedMarkers() {
    // Within an edit of its own, the document's reformatting takes them along.
    if (ChangesPending()) return false;
    MarkRenumberedMarkers();
    return ChangesPending() && LayOutMarked(nullptr);
}

void TRPEditRPData::ReformatAfterEdit() {
    LayOutNotedChanges(nullptr);
}

void TRPEditRPData::ReformatAndPlaceCaret(int ItemNo, int Offs) {
    const TDrawPosCarrier::TPos target{ItemNo, Offs};
    if (!LayOutNotedChanges(&target))
        SetCaretItemPos(ItemNo, Offs);
    else if (CaretDrawItemNo >= 0)
        ChangeCaret(false, true, false);
}

bool TRPEditRPData::LayOutNotedChanges(const TDrawPosCarrier::TPos* Target) {
    if (!ChangesPending()) return false;
    MarkRenumberedMarkers();
    return LayOutMarked(Target);
}

bool TRPEditRPData::LayOutMarked(const TDrawPosCarrier::TPos* Target) {
    // The handles of a picture's resizer go with it, wherever it stood.
    if (Resizer) {
        Resizer.reset();
        InvalidateView();
    }
    const int first = FDirtyFirst, oldCount = FOldCount;
    const bool joinsBefore = FDirtyJoinsBefore;
    int tail = FDirtyTail == INT_MAX ? 0 : FDirtyTail;
    FDirtyFirst = FDirtyTail = INT_MAX;
    const int count = GetItemCount();
    // At least one present item is laid out again, also after pure deletions.
    if (count > 0) tail = std::min(tail, count - 1 - std::min(first, count - 1));
    {
        // The bar is settled once the caret stands again in the new lines.
        TBarSettleHold hold(*this);
        TDrawPosCarrier carried(*this, first, tail, oldCount, Target);
        ReformatChanged(first, tail, oldCount, joinsBefore);
        carried.Restore();
    }
    SettleVerticalBar();
    return true;
}

TRPEditRPData::TDrawPosCarrier::TDrawPosCarrier(TRPEditRPData& Data, int First, int Tail, int OldCount,
                                                const TPos* Target)
    : D(Data), First(First), Tail(Tail), OldCount(OldCount), Target(Target) {
    if (Target) return;
    // Read from the draw items as they stand: their item numbers are those
    // from before the edit.
    const auto read = [&](int DItemNo, int DOffs) {
        TPos p;
        if (DItemNo < 0 || DItemNo >= D.DrawItemCount()) return p;
        const TRPDrawLineInfo* d = D.DrawItem(DItemNo);
        p.Item = d->ItemNo;
        // Text pieces count their characters from 1; other items have 0 and 1.
        p.Offs = d->Offs > 0 ? d->Offs + DOffs - 1 : DOffs;
        return p;
    };
    if (D.CaretDrawItemNo >= 0 && D.CaretIndex >= 0 && D.CaretIndex < static_cast<int>(D.CharEnds.size())) {
        const TRPCharPos& c = D.CharEnds[static_cast<size_t>(D.CaretIndex)];
        Caret = read(c.DrawItemNo, c.Offset);
    }
    if (D.SelStartNo >= 0 && D.SelEndNo >= 0) {
        SelStart = read(D.SelStartNo, D.SelStartOffs);
        SelEnd = read(D.SelEndNo, D.SelEndOffs);
    }
}

TRPEditRPData::TDrawPosCarrier::TPos TRPEditRPData::TDrawPosCarrier::Carry(TPos P) const {
    const int count = D.GetItemCount();
    if (P.Item < 0 || P.Item >= OldCount || count == 0) return TPos{};
    if (P.Item >= OldCount - Tail)
        P.Item += count - OldCount; // the unchanged end
    else if (P.Item >= First)
        P.Item = std::min(P.Item, std::max(First, count - 1 - Tail)); // in the change: kept valid only
    P.Item = std::clamp(P.Item, 0, count - 1);
    P.Offs = std::clamp(P.Offs, D.GetFirstOffsetOfItem(P.Item), D.GetLastOffsetOfItem(P.Item));
    return P;
}

void TRPEditRPData::TDrawPosCarrier::Restore() {
    if (Target) {
        D.PlaceCaret(Target->Item, Target->Offs);
        return;
    }
    if (D.DrawItemCount() == 0) return;
    if (const TPos c = Carry(Caret); c.Item >= 0) {
        int d = -1, o = 0;
        D.ItemToDrawItemPos(c.Item, c.Offs, o, d);
        if (d >= 0) D.SetCaretDrawPos(d, o);
    }
    const TPos s = Carry(SelStart), e = Carry(SelEnd);
    if (s.Item >= 0 && e.Item >= 0) D.StoreSelectionBounds(s.Item, s.Offs, e.Item, e.Offs);
}

void TRPEditRPData::ReformatChanged(int First, int Tail, int OldCount, bool JoinsBefore) {
    const int count = GetItemCount();
    // The lines before the first change stay as they are unless the change
    // joins the line of the item before it, or ends such a join: an item
    // that starts a line lets nothing before it depend on what follows.
    const bool joins = First > 0 && (JoinsBefore || First >= count || GetItem(First)->GetContinuesPrev());
    KeepMinWidthsAround(First, Tail, OldCount, joins);
    MakeSureEmpty();
    const int n = DrawItemCount();
    const bool canPartial = n > 0 && count > 0 && GetItemCount() == count && GetCanvas() && GetRPStyle() &&
                            DrawItem(n - 1)->ItemNo == OldCount - 1;
    int firstD = -1, lastD = -1;
    const int delta = count - OldCount;
    // The first draw item of unchanged item P (present numbering), -1 when
    // the lines do not show it where it stood.
    const auto firstDrawItemOf = [&](int P) {
        if (P == 0) return 0;
        const int d = GetItem(P)->DrawItemNo;
        return d >= 0 && d < n && DrawItem(d)->ItemNo == P ? d : -1;
    };
    if (canPartial) {
        // Back to the start of the paragraph of the first change, or of the
        // one before it when the change joins that one's line.
        if (joins) {
            firstD = firstDrawItemOf(GetFirstParaItem(std::min(First - 1, count - 1)));
        } else if (const int p = GetFirstParaItem(std::min(First, count - 1)); p < First) {
            firstD = firstDrawItemOf(p);
        } else if (First == 0) {
            firstD = 0;
        } else if (const int d = firstDrawItemOf(First - 1); d >= 0) {
            // Right after the lines of the item before.
            firstD = LastDrawItemFrom(*this, d) + 1;
        }
        // Forward to the end of the paragraph that the unchanged tail starts in.
        const int tailStart = count - Tail; // present numbering
        int j = tailStart;
        while (j < count && !IsParaStart(j))
            ++j;
        if (j >= count) {
            lastD = n - 1;
        } else if (j == tailStart) {
            const int d = GetItem(j)->DrawItemNo;
            if (d > 0 && d < n && DrawItem(d)->ItemNo == j - delta) lastD = d - 1;
        } else {
            const int d = GetItem(j - 1)->DrawItemNo;
            if (d >= 0 && d < n && DrawItem(d)->ItemNo == j - 1 - delta) lastD = LastDrawItemFrom(*this, d);
        }
        if (firstD >= 0 && lastD == firstD - 1) {
            // Only new paragraphs between unchanged ones: they are laid out
            // with the shorter of their neighbours, found by stepping both
            // ways at once.
            int back = First - 1, fwd = j;
            while (back > 0 && !IsParaStart(back) && fwd + 1 < count && !IsParaStart(fwd + 1))
                --back, ++fwd;
            if (First > 0 && (j >= count || back == 0 || IsParaStart(back))) {
                firstD = firstDrawItemOf(GetFirstParaItem(back));
            } else if (j < count) {
                while (fwd + 1 < count && !IsParaStart(fwd + 1))
                    ++fwd;
                const int d = GetItem(fwd)->DrawItemNo;
                lastD =
                    d >= 0 && d < n && DrawItem(d)->ItemNo == fwd - delta ? LastDrawItemFrom(*this, d) : -1;
            }
        }
    }
    if (firstD < 0 || lastD < firstD) {
        TRichPadRPData::Format(false, false, true, 0, nullptr, false, false);
        InvalidateView();
        return;
    }
    // The unchanged items keep their minimum widths: a change of the
    // document's width does not measure them again.
    TRPKeptMinWidthsTrust trust(*this, true);
    // The document's width follows its widest unbreakable content: when the
    // changed paragraphs no longer fit it, or a document wider than its window
    // may have become narrower, the document is laid out for its new width.
    const int firstItem = DrawItem(firstD)->ItemNo;
    const int lastItem = std::clamp(DrawItem(lastD)->ItemNo + delta, firstItem, count - 1);
    const int avail = std::max(GetWidth() - GetLeftMargin() - GetRightMargin(), GetMinTextWidth());
    const int width = GetWidth();
    bool full = false;
    {
        // The changed items are measured once, for their minimum width and their lines.
        TRPMeasureScope measure(FMeasure, firstItem, lastItem - firstItem + 1);
        full = CalcRangeMinWidth(firstItem, lastItem) > ContentWidth;
        if (!full && ContentWidth > avail)
            full = std::max(CalcDocMinWidth(nullptr, GetCanvas()), avail) != ContentWidth;
        if (!full) ReformatDrawItemRange(firstD, lastD, delta, false);
    }
    // The document's width follows: only what depends on it is laid out again.
    if (full) full = !ReformatForWidths(firstD, lastD, delta);
    if (full) {
        TRichPadRPData::Format(false, false, true, 0, nullptr, false, false);
        InvalidateView();
    } else if (GetWidth() != width) {
        // A scroll bar that came or went changed the width of every line.
        TRichPadRPData::Format(true, false, true, 0, nullptr, false, false);
        InvalidateView();
    }
}

void TRPEditRPData::RecoverAfterFailedStep() {
    FDirtyFirst = FDirtyTail = INT_MAX;
    MakeSureEmpty();
    Deselect(nullptr, false);
    TRichPadRPData::Format(false, true, true, 0, nullptr, false, true);
    // The caret goes to the start unshown: showing it scrolls, and a cell's
    // scrolling reaches the documents around it, where the step may have
    // failed.
    try {
        if (GetItemCount() > 0) SetCaretItemPos(0, GetFirstOffsetOfItem(0), false);
    } catch (const std::exception&) {
        // The caret line has been built anew at the document's start.
    }
    InvalidateView();
}

void TRPEditRPData::EndEdit(bool ClearRedo) {
    ReformatAfterEdit();
    DropHeldTag();
    if (TCustomRichPadEdit* e = Editor()) {
        e->Modified = true;
        e->Change(ClearRedo);
    }
}

// ---------------------------------------------------------------------------
// Items made by the editing operations

bool TRPEditRPData::IsTextItem(int ItemNo) const {
    return ItemNo >= 0 && ItemNo < GetItemCount() && GetItem(ItemNo)->StyleNo >= 0;
}

std::unique_ptr<TCustomRPItemInfo> TRPEditRPData::CreateTextItem(int StyleNo, int ParaNo, bool ParaStart, bool BR,
                                                                 const TRPTag& Tag) const {
    auto item = CurrentTextItemClass()->Create(const_cast<TRPEditRPData*>(this));
    item->StyleNo = StyleNo;
    item->ParaNo = ParaNo;
    TRPStyle* style = GetRPStyle();
    if (style && StyleNo >= 0 && StyleNo < style->TextStyles().Count() && style->TextStyles().GetItem(StyleNo)->Unicode)
        item->ItemOptions |= rpioUnicode;
    if (BR)
        item->SetLineBreakBefore(true);
    else if (!ParaStart)
        item->SetContinuesPrev(true);
    item->Tag = CopyTag(Tag, (GetOptions() & rpoTagsArePChars) != 0);
    return item;
}

std::unique_ptr<TCustomRPItemInfo> TRPEditRPData::CreateTextItemCopy(int ItemNo) const {
    const TCustomRPItemInfo* src = GetItem(ItemNo);
    auto item = CreateTextItem(src->StyleNo, src->ParaNo, false, false, src->Tag);
    item->ItemOptions = (item->ItemOptions & ~rpioUnicode) | (src->ItemOptions & rpioUnicode) | rpioContinuesPrev;
    return item;
}

bool TRPEditRPData::CanMerge(int ItemNo, bool Join) const {
    if (ItemNo < 0 || ItemNo + 1 >= GetItemCount()) return false;
    if (!IsTextItem(ItemNo) || !IsTextItem(ItemNo + 1)) return false;
    auto* self = const_cast<TRPEditRPData*>(this);
    return self->CanMergeItems(ItemNo, GetItem(ItemNo), Join, GetItem(ItemNo + 1));
}

bool TRPEditRPData::IsProtected(int ItemNo, TRPProtectOptions Option) const {
    return const_cast<TRPEditRPData*>(this)->IsItemProtected(ItemNo, Option);
}

bool TRPEditRPData::IsParaReadOnly(int ItemNo) const {
    return const_cast<TRPEditRPData*>(this)->IsItemParaOptionSet(ItemNo, rppaoReadOnly);
}

void TRPEditRPData::SetCurTextStyle(int StyleNo) {
    if (TCustomRichPadEdit* e = Editor())
        e->SetCurTextStyleNo(StyleNo);
    else
        CurTextStyleNo = StyleNo;
}

void TRPEditRPData::SetCurParaStyle(int ParaNo) {
    if (TCustomRichPadEdit* e = Editor())
        e->SetCurParaStyleNo(ParaNo);
    else
        CurParaStyleNo = ParaNo;
}

bool TRPEditRPData::CanStartDragging() {
    TCustomRichPadEdit* e = Editor();
    return e && !(GetOptions() & rpoDisallowDrag) && !(State & rpstDragging);
}

void TRPEditRPData::PostDragStart() {
    // The press inside the selection stays pending: the editor starts the
    // drag when the pointer moves on with the button down, and takes a
    // release before that as a click.
}

bool TRPEditRPData::ResizerHitTest(int X, int Y, int& Index) const {
    auto* self = const_cast<TRPEditRPData*>(this);
    return Resizer && Resizer->GetHandleAt(X, Y, Index, self->GetHOffs(), self->GetVOffs());
}

bool TRPEditRPData::CancelResize() {
    if (!Resizer || !Resizer->Dragging) return false;
    Resizer->CancelDrag();
    InvalidateView();
    if (TCustomRichPadEdit* e = Editor()) e->SetCurrentCursor(e->Cursor());
    return true;
}

int TRPEditRPData::GetSingleSelectedItem() {
    if (!SelectionExists(false, false)) return -1;
    int si, so, ei, eo;
    GetSelBounds(si, so, ei, eo, true);
    // A selection that lies in an edited cell or in selected cells has no
    // bounds here.
    if (si < 0 || ei < 0) return -1;
    // Ends at an item boundary belong to the item they border on.
    if (si < ei && so >= GetLastOffsetOfItem(si)) ++si, so = GetFirstOffsetOfItem(si);
    if (ei > si && eo <= GetFirstOffsetOfItem(ei)) --ei, eo = GetLastOffsetOfItem(ei);
    if (si != ei || so > GetFirstOffsetOfItem(si) || eo < GetLastOffsetOfItem(si)) return -1;
    return si;
}

void TRPEditRPData::HoldReplacedTag() {
    DropHeldTag();
    const int item = GetSingleSelectedItem();
    if (!IsTextItem(item) || GetItem(item)->StyleNo != ActualCurTextStyleNo()) return;
    FHeldTag = CopyTag(GetItem(item)->Tag, (GetOptions() & rpoTagsArePChars) != 0);
    FHeldTagStyle = GetItem(item)->StyleNo;
    FTagHeld = true;
}

void TRPEditRPData::DropHeldTag() {
    FTagHeld = false;
    FHeldTag = TRPTag{};
    FHeldTagStyle = -1;
}

TRPTag TRPEditRPData::NewItemTag(int StyleNo) const {
    if (!FTagHeld || StyleNo != FHeldTagStyle) return TRPTag{};
    return CopyTag(FHeldTag, (GetOptions() & rpoTagsArePChars) != 0);
}

void TRPEditRPData::UpdateResizer() {
    Resizer.reset();
    TCustomRichPadEdit* e = Editor();
    if (!e || e->ReadOnly() || (e->EditorOptions & rpoNoImageResize)) return;
    const int si = GetSingleSelectedItem();
    if (si < 0) return;
    TCustomRPItemInfo* item = GetItem(si);
    if (item->StyleNo >= 0 || !item->GetBoolValue(rpbivResizable) || IsItemParaOptionSet(si, rppaoReadOnly)) return;
    const int d = GetFirstDrawItemOfItem(si);
    if (d < 0) return;
    Resizer = std::make_unique<TRPItemResizer>(DrawItem(d), d, item);
    if (item->GetBoolValue(rpbivResizeHandles)) Resizer->HandlePlacement = 1;
}

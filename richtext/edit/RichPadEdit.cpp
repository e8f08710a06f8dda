// The editor control: settings, the change protocol, keys, the input
// method, undo and redo, the insertion commands and the caret's blinking.
#include "richtext/edit/RichPadEdit.h"

#include <QFile>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>

#include "platform/Keys.h"
#include "platform/Pictures.h"
#include "richtext/edit/RPResizer.h"
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RPTableInplace.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPListStyles.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/model/RPUnicode.h"

namespace {

std::unique_ptr<TRichPadRPData> MakeEditData(TCustomRichPad* Owner) {
    return std::make_unique<TRPEditRPData>(Owner);
}

// Id of the caret's blink timer.
constexpr int rpCaretTimer = 2;

bool ReadFileBytes(const std::string& FileName, QByteArray& Out) {
    QFile f(QString::fromStdString(FileName));
    if (!f.open(QIODevice::ReadOnly)) return false;
    Out = f.readAll();
    return f.error() == QFileDevice::NoError;
}

} // namespace

TCustomRichPadEdit::TCustomRichPadEdit(TComponent* AOwner, TDataClass DataClass)
    : TCustomRichPad(AOwner, DataClass ? DataClass : &MakeEditData) {
    DocFlags = static_cast<uint16_t>((DocFlags | rpflJumpsAroundSaving) & ~(rpflRecordJumps | rpflExternalLeading));
    SetCursor(crIBeam);
    RPData()->TabNavigation = rptnNone;
    EditData()->UndoList->SetLimit(-1);
    AcceptInput();
}

TCustomRichPadEdit::~TCustomRichPadEdit() {
    OnCurParaStyleChanged = nullptr;
    OnCurTextStyleChanged = nullptr;
    OnCaretMove = nullptr;
    OnChange = nullptr;
}

void TCustomRichPadEdit::CreateWnd() {
    TCustomRichPad::CreateWnd();
    AcceptInput();
}

void TCustomRichPadEdit::AcceptInput() {
    // The widget takes the input method's text and drops.
    if (QWidget* w = Widget()) {
        w->setAttribute(Qt::WA_InputMethodEnabled, true);
        w->setAcceptDrops(true);
    }
}

void TCustomRichPadEdit::SetReadOnly(bool Value) {
    m_readOnly = Value;
    // A read-only editor follows its links as a viewer does.
    if (Value)
        EditData()->BuildJumps(true);
    else
        EditData()->DropJumps();
    EditData()->RefreshCaret();
    Invalidate();
}

void TCustomRichPadEdit::SetTabNavigation(TRPTabNavigationType Value) {
    if (Value != rptnNone) throw ERichPadError("Not supported in editor");
}

// ---------------------------------------------------------------------------
// Change protocol

TCustomRichPadEdit* TCustomRichPadEdit::OutermostEditor() {
    auto* root = dynamic_cast<TCustomRichPadEdit*>(RootControl());
    return root ? root : this;
}

bool TCustomRichPadEdit::BeforeChange(bool FromOutside) {
    bool can = !ReadOnly() && Style() != nullptr;
    if (can && !FromOutside && EditData()->CaptureItem) can = false;
    if (can && OnChanging) OnChanging(OutermostEditor(), can);
    if (!can) {
        EditData()->Beep();
        return false;
    }
    EditData()->MakeSureEmpty();
    FreeDocumentTempObject();
    return true;
}

void TCustomRichPadEdit::Change(bool ClearRedo) {
    Modified = true;
    FreeDocumentTempObject();
    EditData()->DropJumps();
    if (ClearRedo) EditData()->RedoList->Clear();
    if (OnChange) OnChange(this);
}

void TCustomRichPadEdit::SetCurTextStyleNo(int Value) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->SetCurTextStyleNo(Value);
    TRPEditRPData* d = EditData();
    const bool force = d->ForceStyleChangeEvents;
    d->ForceStyleChangeEvents = false;
    if (d->CurTextStyleNo == Value && !force) return;
    d->CurTextStyleNo = Value;
    DoCurTextStyleChanged();
}

void TCustomRichPadEdit::SetCurParaStyleNo(int Value) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->SetCurParaStyleNo(Value);
    TRPEditRPData* d = EditData();
    if (d->CurParaStyleNo == Value && !d->ForceStyleChangeEvents) return;
    d->CurParaStyleNo = Value;
    DoCurParaStyleChanged();
}

void TCustomRichPadEdit::DoCurTextStyleChanged() {
    if (!Destroying() && Style() && OnCurTextStyleChanged) OnCurTextStyleChanged(OutermostEditor());
}

void TCustomRichPadEdit::DoCurParaStyleChanged() {
    if (!Destroying() && Style() && OnCurParaStyleChanged) OnCurParaStyleChanged(OutermostEditor());
}

TCustomRPItemInfo* TCustomRichPadEdit::GetCurrentItem() const {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->GetCurrentItem();
    const int item = CurItemNo();
    return item >= 0 ? GetItem(item) : nullptr;
}

void TCustomRichPadEdit::DoCaretMove() {
    m_caretOn = true;
    if (OnCaretMove) OnCaretMove(this);
}

// ---------------------------------------------------------------------------
// Commands

void TCustomRichPadEdit::DeleteSelection() {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->DeleteSelection();
    if (!BeforeChange(false)) return;
    const bool had = EditData()->SelectionExists(true, true);
    if (EditData()->DeleteSelectionWithUndo() && had) {
        Change(true);
        Invalidate();
    }
}

void TCustomRichPadEdit::CutDef() {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->CutDef();
    if (!BeforeChange(false)) return;
    if (CopyToClipboard()) DeleteSelection();
}

void TCustomRichPadEdit::Undo() {
    UndoStep(false);
}

void TCustomRichPadEdit::Redo() {
    UndoStep(true);
}

bool TCustomRichPadEdit::WantTabs() const {
    return TCustomRichPad::WantTabs() || ((EditorOptions & rpoWantTabs) && !ReadOnly());
}

void TCustomRichPadEdit::UndoStep(bool IsRedo) {
    if (ReadOnly()) {
        EditData()->Beep();
        return;
    }
    UndoStepIn(IsRedo);
    // The control that was undone in is where the user goes on.
    if (Visible() && !IsFocusedWithCellEditors()) FocusInParentForm();
}

void TCustomRichPadEdit::UndoStepIn(bool IsRedo) {
    TRPEditRPData* d = EditData();
    TRPUndoList* list = IsRedo ? d->RedoList.get() : d->UndoList.get();
    if (TCustomRichPadEdit* cell = OpenCellEditor()) {
        // The cell's own steps first; then the cell closes and the host's follow.
        if (IsRedo ? cell->CanRedo() : cell->CanUndo()) {
            if (IsRedo)
                cell->Redo();
            else
                cell->Undo();
        } else if (list->Count() > 0) {
            PostUndoAfterCellEditor(IsRedo);
        } else {
            d->Beep();
        }
        return;
    }
    if (list->Count() == 0) {
        d->Beep();
        return;
    }
    if (!(IsRedo ? list->Redo(*d) : list->Undo(*d))) {
        // The step did not fit the document: refused, and nothing of it stays.
        d->Beep();
        Invalidate();
        return;
    }
    Change(false);
    Invalidate();
}

void TCustomRichPadEdit::ClearUndo() {
    // The open cell's steps first, then this control's own.
    if (TCustomRichPadEdit* cell = OpenCellEditor()) cell->ClearUndo();
    EditData()->UndoList->Clear();
    EditData()->RedoList->Clear();
}

void TCustomRichPadEdit::BeginUndoGroup(int UndoType) {
    EditData()->BeginUndoSequence(static_cast<uint8_t>(UndoType), true);
}

// ---------------------------------------------------------------------------
// Insertion

bool TCustomRichPadEdit::BeginInsertion() {
    TRPEditRPData* d = EditData();
    if (!BeforeChange(false)) return false;
    if (!d->InsertAllowedAtCaret()) {
        d->Beep();
        return false;
    }
    d->BeginUndoSequence(rpuaInsert, true);
    d->SetUndoGroupMode(true);
    const int style = d->CurTextStyleNo;
    d->HoldReplacedTag();
    d->DeleteSelectionWithUndo();
    d->Deselect(nullptr, false);
    SetCurTextStyleNo(style);
    return true;
}

void TCustomRichPadEdit::EndInsertion() {
    TRPEditRPData* d = EditData();
    d->DropHeldTag();
    d->SetUndoGroupMode(false);
    d->UndoMode = 1;
    d->EndUndoSequence();
    d->UndoMode = 0;
    Invalidate();
    Change(true);
}

void TCustomRichPadEdit::InsertText(const std::string& Text, bool CaretAtStart) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->InsertText(Text, CaretAtStart);
    if (!BeginInsertion()) return;
    EditData()->InsertTextA(Text, CaretAtStart);
    EndInsertion();
}

void TCustomRichPadEdit::InsertTextW(const std::string& Text, bool CaretAtStart) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->InsertTextW(Text, CaretAtStart);
    RPCheckUnicodeLength(Text.size());
    if (!BeginInsertion()) return;
    EditData()->InsertTextWide(Text, CaretAtStart);
    EndInsertion();
}

void TCustomRichPadEdit::InsertQString(const QString& Text) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->InsertQString(Text);
    InsertTextW(QStringToItemText(Text, rpioUnicode, 0), false);
}

bool TCustomRichPadEdit::InsertTextFromFile(const std::string& FileName) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->InsertTextFromFile(FileName);
    QByteArray bytes;
    if (!ReadFileBytes(FileName, bytes)) return false;
    if (!BeginInsertion()) return true;
    EditData()->InsertTextFile(bytes.toStdString(), false, false);
    EndInsertion();
    return true;
}

bool TCustomRichPadEdit::InsertStringTag(const std::string& Text, const TRPTag& Tag) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->InsertStringTag(Text, Tag);
    if (!BeginInsertion()) return false;
    const bool ok = InsertTextItemWithTag(Text, Tag);
    EndInsertion();
    return ok;
}

bool TCustomRichPadEdit::InsertTextItemWithTag(const std::string& Text, const TRPTag& Tag) {
    TRPEditRPData* d = EditData();
    const int sn = d->GetActualStyleOfPara(d->CurTextStyleNo, d->CurParaStyleNo);
    std::string s = ExpandTabsAnsi(Text, Style()->SpacesInTab);
    if (d->IsUnicodeStyle(sn)) s = QStringToItemText(ItemTextToQString(s, 0, d->GetStyleCodePage(sn)), rpioUnicode, 0);
    return d->InsertItemAtCaret(s, d->CreateTextItem(sn, d->CurParaStyleNo, false, false, Tag), false, false);
}

bool TCustomRichPadEdit::InsertPicture(const std::string& Name, std::unique_ptr<TGraphic> Graphic, uint8_t VAlign) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->InsertPicture(Name, std::move(Graphic), VAlign);
    if (!Graphic || !BeginInsertion()) return false;
    TRPEditRPData* d = EditData();
    auto item = TRPGraphicItemInfo::CreateEx(d, std::move(Graphic), VAlign);
    const bool ok = d->InsertItemAtCaret(Name, std::move(item), false, false);
    EndInsertion();
    return ok;
}

bool TCustomRichPadEdit::InsertRPFFromStream(const std::string& Stream) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->InsertRPFFromStream(Stream);
    // Checked before the selection goes: a damaged stream changes nothing.
    if (!EditData()->RPFInsertable(Stream)) {
        EditData()->Beep();
        return false;
    }
    if (!BeginInsertion()) return true;
    const bool ok = EditData()->InsertRPF(Stream, true);
    EndInsertion();
    return ok;
}

bool TCustomRichPadEdit::InsertRTFFromStream(const std::string& Stream) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->InsertRTFFromStream(Stream);
    if (!BeginInsertion()) return true;
    GetRTFReadProperties();
    const bool ok = EditData()->InsertRTF(Stream);
    EndInsertion();
    return ok;
}

bool TCustomRichPadEdit::InsertRPFFromFile(const std::string& FileName) {
    QByteArray bytes;
    return ReadFileBytes(FileName, bytes) && InsertRPFFromStream(bytes.toStdString());
}

bool TCustomRichPadEdit::InsertRTFFromFile(const std::string& FileName) {
    QByteArray bytes;
    return ReadFileBytes(FileName, bytes) && InsertRTFFromStream(bytes.toStdString());
}

// ---------------------------------------------------------------------------
// Styles

void TCustomRichPadEdit::ApplyParaStyle(int ParaNo) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->ApplyParaStyle(ParaNo);
    if (!BeforeChange(false)) return;
    EditData()->BeginUndoSequence(rpuaParaStyle, true);
    EditData()->ApplyParaStyleEx(ParaNo, false);
    Change(true);
    Invalidate();
}

void TCustomRichPadEdit::ApplyParaStyleConversion(int UserData) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->ApplyParaStyleConversion(UserData);
    if (!OnParaStyleConversion || !BeforeChange(false)) return;
    EditData()->BeginUndoSequence(rpuaParaStyle, true);
    EditData()->ApplyParaStyleEx(UserData, true);
    Change(true);
    Invalidate();
}

void TCustomRichPadEdit::ApplyStyleConversion(int UserData) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->ApplyStyleConversion(UserData);
    if (!OnStyleConversion || !BeforeChange(false)) return;
    EditData()->ApplyStyleConversion(UserData);
    Invalidate();
}

namespace {

bool MarkUsed(TRPIntegerList& Used, int Index) {
    if (Index < 0 || Index >= Used.Count() || Used.Get(Index)) return false;
    Used.Put(Index, 1);
    return true;
}

// Deletes the unused styles of Infos when asked; per old index 0 for a
// deleted style, else 1 plus the number of deleted styles before it.
TRPIntegerList DeleteUnmarked(TCustomRPInfos& Infos, const TRPIntegerList& Used, bool Delete) {
    TRPIntegerList shifts = TRPIntegerList::CreateEx(Infos.Count(), 1);
    int deleted = 0;
    for (int i = 0; i < Infos.Count(); ++i) {
        const bool goes = Delete && !Used.Get(i);
        shifts.Put(i, goes ? 0 : 1 + deleted);
        deleted += goes ? 1 : 0;
    }
    for (int i = Infos.Count() - 1; i >= 0; --i)
        if (shifts.Get(i) == 0) Infos.Delete(i);
    return shifts;
}

} // namespace

void TCustomRichPadEdit::DeleteUnusedStyles(bool TextStyles, bool ParaStyles, bool ListStyles) {
    TRPStyle* style = Style();
    if (!style) return;
    // The items of an edited cell go back into their table first.
    DestroyCellEditor();
    TFontInfos& texts = style->TextStyles();
    TParaInfos& paras = style->ParaStyles();
    TRPListInfos& lists = style->ListStyles();
    TRPIntegerList usedText = TRPIntegerList::CreateEx(texts.Count(), 0);
    TRPIntegerList usedPara = TRPIntegerList::CreateEx(paras.Count(), 0);
    TRPIntegerList usedList = TRPIntegerList::CreateEx(lists.Count(), 0);
    EditData()->MarkStylesInUse(usedText, usedPara, usedList);
    MarkUsed(usedText, 0);
    MarkUsed(usedPara, 0);
    MarkUsed(usedText, style->DefUnicodeStyle);
    // What a kept style names stays as well.
    for (bool more = true; more;) {
        more = false;
        for (int i = 0; i < texts.Count(); ++i)
            if (usedText.Get(i)) {
                const TFontInfo* t = texts.GetItem(i);
                more |= MarkUsed(usedText, t->NextStyleNo) | MarkUsed(usedText, t->BaseStyleNo);
            }
        for (int i = 0; i < paras.Count(); ++i)
            if (usedPara.Get(i)) {
                const TParaInfo* p = paras.GetItem(i);
                more |= MarkUsed(usedPara, p->NextParaNo) | MarkUsed(usedPara, p->BaseStyleNo) |
                        MarkUsed(usedText, p->DefStyleNo);
            }
        for (int i = 0; i < lists.Count(); ++i)
            if (usedList.Get(i)) more |= MarkUsed(usedList, lists.Items(i)->BaseStyleNo);
    }
    const TRPIntegerList textShifts = DeleteUnmarked(texts, usedText, TextStyles);
    const TRPIntegerList paraShifts = DeleteUnmarked(paras, usedPara, ParaStyles);
    const TRPIntegerList listShifts = DeleteUnmarked(lists, usedList, ListStyles);
    for (int i = 0; i < texts.Count(); ++i) {
        TFontInfo* t = texts.GetItem(i);
        t->NextStyleNo = RPShiftedStyleIndex(t->NextStyleNo, textShifts);
        t->BaseStyleNo = RPShiftedStyleIndex(t->BaseStyleNo, textShifts);
    }
    for (int i = 0; i < paras.Count(); ++i) {
        TParaInfo* p = paras.GetItem(i);
        p->NextParaNo = RPShiftedStyleIndex(p->NextParaNo, paraShifts);
        p->BaseStyleNo = RPShiftedStyleIndex(p->BaseStyleNo, paraShifts);
        p->DefStyleNo = RPShiftedStyleIndex(p->DefStyleNo, textShifts);
    }
    for (int i = 0; i < lists.Count(); ++i)
        lists.Items(i)->BaseStyleNo = RPShiftedStyleIndex(lists.Items(i)->BaseStyleNo, listShifts);
    style->DefUnicodeStyle = RPShiftedStyleIndex(style->DefUnicodeStyle, textShifts);
    EditData()->UpdateStyles(textShifts, paraShifts, listShifts);
    EditData()->AdjustAfterStyleDeletion(textShifts, paraShifts, listShifts);
    Format();
    Invalidate();
}

bool TCustomRichPadEdit::ResizeItem(int ItemNo, int Width, int Height) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->ResizeItem(ItemNo, Width, Height);
    return EditData()->ApplyResize(ItemNo, Width, Height);
}

void TCustomRichPadEdit::SetItemExtraIntPropertyEd(int ItemNo, int Prop, int Value, bool AutoReformat) {
    if (TCustomRichPadEdit* cell = OpenCellEditor())
        return cell->SetItemExtraIntPropertyEd(ItemNo, Prop, Value, AutoReformat);
    TRPEditRPData* d = EditData();
    int old = 0;
    if (ItemNo < 0 || ItemNo >= d->GetItemCount() || !d->GetItem(ItemNo)->GetExtraIntProperty(Prop, old) ||
        old == Value || !BeforeChange(false))
        return;
    d->BeginUndoSequence(rpuaModifyItem, true);
    d->SetExtraIntPropertyWithUndo(ItemNo, Prop, Value);
    d->EndUndoSequence();
    if (!AutoReformat) return;
    d->ReformatAfterEdit();
    Invalidate();
    Change(true);
}

// ---------------------------------------------------------------------------
// Keys

namespace {

// What a caret key with Shift does to a block of selected cells: the move of
// its corner (-1: the key goes beyond the table at once), and whether it
// goes forward. Key is already mirrored for a right-to-left control.
int CellBlockMove(uint16_t Key, bool Ctrl, bool& Forward) {
    Forward = Key == VK_RIGHT || Key == VK_DOWN || Key == VK_END || Key == VK_NEXT;
    switch (Key) {
    case VK_LEFT:
        return TRPTableItemInfo::rpdLeft;
    case VK_RIGHT:
        return TRPTableItemInfo::rpdRight;
    case VK_UP:
        return TRPTableItemInfo::rpdUp;
    case VK_DOWN:
        return TRPTableItemInfo::rpdDown;
    case VK_HOME:
        return Ctrl ? -1 : TRPTableItemInfo::rpdRowStart;
    case VK_END:
        return Ctrl ? -1 : TRPTableItemInfo::rpdRowEnd;
    default:
        return -1;
    }
}

} // namespace

void TCustomRichPadEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
    TRPEditRPData* d = EditData();
    d->MakeSureEmpty();
    if (d->DrawItemCount() == 0 && Style()) Format();
    if (Key == VK_RETURN && (EditorOptions & rpoDoNotWantReturns)) Key = 0;
    const bool ctrl = (Shift & ssCtrl) != 0, alt = (Shift & ssAlt) != 0, shift = (Shift & ssShift) != 0;
    if ((Key == 'Z' && ctrl && !alt) || (Key == VK_BACK && alt)) {
        if (shift)
            Redo();
        else
            Undo();
        Key = 0;
    }
    if (Key == 0) return;
    TCustomRichPad::KeyDown(Key, Shift);
    if (Key == 0) return;
    if (Key == VK_ESCAPE && d->CancelResize()) return;
    bool hadSelection = false;
    const bool navigation = Key >= VK_PRIOR && Key <= VK_DOWN;
    const bool rtl = BiDiMode == rpbdRightToLeft;
    if (Key == VK_DELETE || Key == VK_BACK) {
        if (!BeforeChange(false)) return;
        if (d->SelectionExists(true, true)) {
            if (Key == VK_DELETE && shift) {
                CutDef();
                Key = 0;
                return;
            }
            if (d->DeleteSelectionWithUndo()) Change(true);
            Key = 0;
            Invalidate();
            return;
        }
    } else if (navigation) {
        if (shift) {
            // Selected cells take the key as a block, or give way to a
            // selection of the whole table that the move extends.
            bool forward = false;
            const uint16_t k = rtl && Key == VK_LEFT ? VK_RIGHT : rtl && Key == VK_RIGHT ? VK_LEFT : Key;
            const int move = CellBlockMove(k, ctrl, forward);
            if (d->KeySelectCells(move, forward)) return;
            d->StartKeySelection();
            hadSelection = true;
        } else if (d->SelectionExists(false, true)) {
            // Cells selected in a table are a selection too: the caret
            // leaves them behind.
            hadSelection = true;
            d->Deselect(nullptr, false);
            // A picture chosen alone loses its handles with the selection.
            d->UpdateResizer();
        }
    } else if (Key == VK_CONTROL) {
        // Links work while Ctrl is held.
        if ((EditorOptions & rpoCtrlJumps) && !(DocFlags & rpflRecordJumps)) {
            d->BuildJumps(false);
            SimulateMouseMove();
        }
        return;
    } else if (Key == VK_SHIFT || Key == VK_MENU || Key == 0x14 || Key == VK_ESCAPE ||
               (Key >= VK_F1 && Key <= VK_F1 + 23) || Key == 229) {
        return;
    } else {
        if (IsCopyShortCut(Shift, Key)) {
            Key = 0;
            return;
        }
        if (IsCutShortCut(Shift, Key)) {
            CutDef();
            Key = 0;
            return;
        }
        if (IsPasteShortCut(Shift, Key)) {
            Paste();
            Key = 0;
            return;
        }
        if (!alt && !ctrl && Key != VK_INSERT && d->SelectionExists(true, false)) {
            hadSelection = true;
            if (!BeforeChange(false)) return;
            // Typing replaces the selection: the text typed takes a whole item's tag.
            d->HoldReplacedTag();
            const bool deleted = d->DeleteSelectionWithUndo();
            d->DropHeldTag();
            if (deleted) Change(true);
        }
    }
    bool out = false;
    switch (Key) {
    case VK_BACK:
        d->OnBackSpacePressed(ctrl, false, false);
        Change(true);
        Key = 0;
        break;
    case VK_DELETE:
        d->OnDelPressed(ctrl, false);
        Change(true);
        Key = 0;
        break;
    case VK_RETURN:
        // The new lines are painted by the reformatting after the edit.
        if (!(shift && (EditorOptions & rpoDoNotWantShiftReturns)) && BeforeChange(false) &&
            d->OnEnterPress(shift))
            Change(true);
        Key = 0;
        break;
    case VK_TAB:
        if (ctrl) KeyChar(u'\t');
        break;
    case VK_HOME:
        if (d->MoveCaretHome(ctrl) && OnCaretGetOut) OnCaretGetOut(this, rpdirHome);
        break;
    case VK_END:
        if (d->MoveCaretEnd(ctrl) && OnCaretGetOut) OnCaretGetOut(this, rpdirEnd);
        break;
    case VK_LEFT:
        out = rtl ? d->MoveCaretRight(shift, ctrl) : d->MoveCaretLeft(shift, ctrl);
        if (out && OnCaretGetOut) OnCaretGetOut(this, rtl ? rpdirRight : rpdirLeft);
        break;
    case VK_RIGHT:
        out = rtl ? d->MoveCaretLeft(shift, ctrl) : d->MoveCaretRight(shift, ctrl);
        if (out && OnCaretGetOut) OnCaretGetOut(this, rtl ? rpdirLeft : rpdirRight);
        break;
    case VK_UP:
        if (d->MoveCaretUp(shift, ctrl) && OnCaretGetOut) OnCaretGetOut(this, rpdirUp);
        break;
    case VK_DOWN:
        if (d->MoveCaretDown(shift, ctrl) && OnCaretGetOut) OnCaretGetOut(this, rpdirDown);
        break;
    case VK_PRIOR:
        d->MoveCaretPageUp(shift);
        break;
    case VK_NEXT:
        d->MoveCaretPageDown(shift);
        break;
    default:
        if (hadSelection) Invalidate();
        return;
    }
    if (navigation || Key == VK_TAB) {
        // A page key has placed the view: a screen that starts with the
        // caret's line, or one inside a table the caret stands beside.
        if (shift && navigation)
            d->ExtendKeySelection(Key != VK_PRIOR && Key != VK_NEXT);
        else if (hadSelection)
            Invalidate();
    }
}

bool TCustomRichPadEdit::KeyChar(char16_t Key) {
    if (Key == u'\r') {
        if (EditorOptions & rpoDoNotWantReturns) EditData()->Beep();
        return true;
    }
    if ((Key < 32 && Key != u'\t') || Key == 127) return true;
    if (!BeforeChange(false)) return true;
    EditData()->HoldReplacedTag();
    DeleteSelection();
    EditData()->DropHeldTag();
    if (Key == u'\t') {
        InsertText(std::string(static_cast<size_t>(std::max<int>(0, Style()->SpacesInTab)), ' '));
        return true;
    }
    EditData()->KeyPressChar(Key);
    return true;
}

void TCustomRichPadEdit::KeyUp(uint16_t Key) {
    if (Key != VK_CONTROL) return;
    EditData()->DropJumps();
    SimulateMouseMove();
}

bool TCustomRichPadEdit::HandleEvent(QEvent* e) {
    switch (e->type()) {
    case QEvent::KeyRelease: {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (!ke->isAutoRepeat()) KeyUp(VirtualKeyOf(*ke));
        return TCustomRichPad::HandleEvent(e);
    }
    case QEvent::InputMethod: {
        // Dead keys and composition arrive here as one committed text.
        auto* ie = static_cast<QInputMethodEvent*>(e);
        const QString s = ie->commitString();
        if (!s.isEmpty() && BeforeChange(false)) {
            if (s.size() == 1) {
                DeleteSelection();
                EditData()->KeyPressChar(s[0].unicode());
            } else {
                EditData()->SwitchToUnicodeStyleFor(s);
                InsertQString(s);
            }
        }
        e->accept();
        return true;
    }
    case QEvent::InputMethodQuery: {
        auto* q = static_cast<QInputMethodQueryEvent*>(e);
        const TRPEditRPData* d = EditData();
        const TPoint at = d->GetCaretClientPoint();
        const int height = d->CaretDrawItemNo >= 0 && d->CaretDrawItemNo < d->DrawItemCount()
                               ? std::min(d->DrawItem(d->CaretDrawItemNo)->Height + 2, 1000)
                               : 1;
        QPoint origin;
        if (QWidget* c = ClientWidget(); c && Widget()) origin = c->mapTo(Widget(), QPoint(0, 0));
        q->setValue(Qt::ImEnabled, !ReadOnly());
        q->setValue(Qt::ImCursorRectangle, QRect(at.x + origin.x(), at.y + origin.y(), 1, height));
        q->setValue(Qt::ImHints, static_cast<int>(Qt::ImhMultiLine));
        q->accept();
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        const bool handled = DropEvent(e);
        NoteDragOver(*e);
        return handled;
    }
    case QEvent::DragLeave:
    case QEvent::Drop:
        // The caret is back before what was dropped goes in.
        NoteDragOver(*e);
        return DropEvent(e);
    default:
        return TCustomRichPad::HandleEvent(e);
    }
}

void TCustomRichPadEdit::NoteDragOver(const QEvent& e) {
    // Entered (and taken): the caret hides. Left or dropped: it shows again.
    const bool over = e.type() == QEvent::DragEnter  ? e.isAccepted() || m_dragOver
                      : e.type() == QEvent::DragMove ? m_dragOver
                                                     : false;
    if (over == m_dragOver) return;
    m_dragOver = over;
    if (over)
        EditData()->AddDragDropCaretRef();
    else
        EditData()->ReleaseDragDropCaret();
}

void TCustomRichPadEdit::SendKey(uint16_t Key, TShiftState Shift) {
    if (!FilterKeyDown(Key, Shift)) return;
    KeyDown(Key, Shift);
}

void TCustomRichPadEdit::SendKeyUp(uint16_t Key) {
    KeyUp(Key);
}

void TCustomRichPadEdit::SendChar(char16_t Ch) {
    if (FilterKeyPress(Ch)) KeyChar(Ch);
}

// ---------------------------------------------------------------------------
// Focus, caret and scrolling

void TCustomRichPadEdit::FocusIn(bool Mouse, bool Backward, bool FromNowhere) {
    TCustomRichPad::FocusIn(Mouse, Backward, FromNowhere);
    TRPEditRPData* d = EditData();
    d->MakeSureEmpty();
    if (Style()) d->RefreshCaret();
    if (HandleAllocated()) SetTimer(rpCaretTimer, 530);
    m_caretOn = true;
    Invalidate();
}

void TCustomRichPadEdit::FocusOut() {
    TCustomRichPad::FocusOut();
    if (!Destroying()) {
        EditData()->DropJumps();
        SimulateMouseMove();
    }
    if (HandleAllocated()) KillTimer(rpCaretTimer);
    m_caretOn = false;
    Invalidate();
}

void TCustomRichPadEdit::Timer(int Id) {
    if (Id != rpCaretTimer) {
        TCustomRichPad::Timer(Id);
        return;
    }
    m_caretOn = !m_caretOn;
    const TRect r = EditData()->CaretRect();
    if (r.Right > r.Left) InvalidateRect(TRect{r.Left - 1, r.Top, r.Right + 1, r.Bottom});
}

void TCustomRichPadEdit::VScrolled() {
    TCustomRichPad::VScrolled();
    // A cell's editor taller than its window slides it over what shows now.
    if (auto* t = dynamic_cast<TRPTableItemInfo*>(EditedCellItem))
        if (TRPTableInplaceEdit* e = t->InplaceEditor(); e && e->VScrollAllowed) t->PlaceInplaceEditor();
    CaretScrolled();
}

void TCustomRichPadEdit::HScrolled() {
    TCustomRichPad::HScrolled();
    CaretScrolled();
}

void TCustomRichPadEdit::CaretScrolled() {
    // While a cell is edited the caret is the cell editor's, which moves as a
    // window of its own; this control's caret is hidden. A scroll in the
    // middle of an edit (a cell's caret shown by the documents around it)
    // leaves the caret to the edit's end.
    if (!GetCellEditor()) EditData()->RefreshCaret();
}

void TCustomRichPadEdit::PaintCaret(TCanvas& Canvas) {
    TRPEditRPData* d = EditData();
    const bool focused = Focused();
    if (!focused || !m_caretOn) return;
    const TRect r = d->CaretRect();
    if (r.Right <= r.Left) return;
    Canvas.Brush()->SetStyle(bsSolid);
    Canvas.Brush()->SetColor(clBlack);
    Canvas.FillRect(r);
    m_caretShown = r;
}

void TCustomRichPadEdit::ScrollPixels(int DX, int DY, const TRect& R) {
    InvalidateShownCaret();
    TCustomRichPad::ScrollPixels(DX, DY, R);
}

void TCustomRichPadEdit::InvalidateShownCaret() {
    if (m_caretShown.IsEmpty() || !HandleAllocated()) return;
    InvalidateRect(m_caretShown);
    m_caretShown = TRect{};
}

// Paste and drag and drop of the editor control, and the mouse of the
// picture resizer.
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "platform/Clipboard.h"
#include "platform/Pictures.h"
#include "richtext/edit/RPClipHTML.h"
#include "richtext/edit/RPResizer.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPClipFormats.h"
#include "richtext/model/RPFTokens.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPUnicode.h"

namespace {

const QString MimeRTF = QStringLiteral("text/rtf");
const QString MimeRTF2 = QStringLiteral("application/rtf");
const QString MimeHTML = QStringLiteral("text/html");

QString RPFMime() {
    RPRegisterClipboardFormats();
    return RPClipboardMimeType(RPClipboardFormatRPF);
}

QString HTMLFormatMime() {
    RPRegisterClipboardFormats();
    return RPClipboardMimeType(RPClipboardFormatHTML);
}

// The RPF block of the clipboard: its length (little-endian int32), then the data.
bool UnpackRPFBlock(const QByteArray& Block, std::string& Out) {
    if (Block.size() < 4) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(Block.constData());
    const uint32_t n = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
    if (n > static_cast<uint32_t>(Block.size() - 4)) return false;
    Out.assign(Block.constData() + 4, n);
    return true;
}

} // namespace

bool TCustomRichPadEdit::CanPaste() {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->CanPaste();
    const QMimeData* m = QApplication::clipboard()->mimeData();
    if (!m) return false;
    return m->hasFormat(RPFMime()) || m->hasFormat(MimeRTF) || m->hasFormat(MimeRTF2) || m->hasHtml() ||
           m->hasImage() || m->hasText();
}

void TCustomRichPadEdit::Paste() {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->Paste();
    bool doDefault = true;
    if (OnPaste) OnPaste(this, doDefault);
    if (!doDefault) return;
    const QMimeData* m = QApplication::clipboard()->mimeData();
    if (m) PasteMimeData(*m);
}

bool TCustomRichPadEdit::PasteMimeData(const QMimeData& Data) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->PasteMimeData(Data);
    if (!BeginInsertion()) return false;
    const bool ok = PasteMimeDataNoFrame(Data);
    EndInsertion();
    return ok;
}

bool TCustomRichPadEdit::PasteMimeDataNoFrame(const QMimeData& Data) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->PasteMimeDataNoFrame(Data);
    TRPEditRPData* d = EditData();
    const auto insertText = [d](const QString& Text) {
        if (Text.isEmpty()) return false;
        d->State |= rpstInsertingText;
        // Pasted text keeps characters the current 8-bit style cannot hold, as typing does.
        d->SwitchToUnicodeStyleFor(Text);
        d->InsertTextWide(QStringToItemText(Text, rpioUnicode, 0), false);
        d->State &= ~rpstInsertingText;
        return true;
    };
    const QString rpf = RPFMime();
    if ((AcceptDragDropFormats & rpddRPF) && Data.hasFormat(rpf)) {
        std::string s;
        if (UnpackRPFBlock(Data.data(rpf), s)) return d->InsertRPF(s);
    }
    if (AcceptDragDropFormats & rpddRTF) {
        for (const QString& mime : {MimeRTF, MimeRTF2})
            if (Data.hasFormat(mime)) {
                const QByteArray b = Data.data(mime);
                GetRTFReadProperties();
                return d->InsertRTF(std::string(b.constData(), static_cast<size_t>(b.size())));
            }
    }
    if (AcceptDragDropFormats & (rpddText | rpddUnicodeText)) {
        QString html;
        if (Data.hasFormat(HTMLFormatMime())) {
            const QByteArray b = Data.data(HTMLFormatMime());
            TRPClipboardHTML h;
            if (ParseClipboardHTML(std::string(b.constData(), static_cast<size_t>(b.size())), h))
                html = QString::fromUtf8(h.Fragment.data(), static_cast<qsizetype>(h.Fragment.size()));
        } else if (Data.hasHtml()) {
            html = Data.html();
        }
        if (!html.isEmpty() && insertText(QTextDocumentFragment::fromHtml(html).toPlainText())) return true;
    }
    if ((AcceptDragDropFormats & rpddBitmap) && Data.hasImage()) {
        const QImage image = qvariant_cast<QImage>(Data.imageData());
        if (!image.isNull())
            return d->InsertItemAtCaret(std::string(), TRPGraphicItemInfo::CreateEx(d, std::make_unique<TBitmap>(image), 0),
                                        false, false);
    }
    if ((AcceptDragDropFormats & (rpddText | rpddUnicodeText)) && Data.hasText()) return insertText(Data.text());
    return false;
}

// ---------------------------------------------------------------------------
// Drag and drop

void TCustomRichPadEdit::StartDragSelection() {
    TRPEditRPData* d = EditData();
    d->State &= ~rpstDragPending;
    if (!d->SelectionExists(false, false) || !Widget()) return;
    auto* mime = new QMimeData;
    const std::string block = d->GetSelRPFBlock(EffectiveColor(), Background.get());
    mime->setData(RPFMime(), QByteArray(block.data(), static_cast<qsizetype>(block.size())));
    mime->setText(d->GetSelText());
    auto* drag = new QDrag(Widget());
    drag->setMimeData(mime);
    d->State |= rpstDragging;
    const Qt::DropActions allowed = ReadOnly() ? Qt::CopyAction : Qt::CopyAction | Qt::MoveAction;
    const Qt::DropAction done = drag->exec(allowed, Qt::MoveAction);
    d->State &= ~rpstDragging;
    // A move into another program takes the text away from here; a move
    // inside this editor was done by the drop itself.
    if (done == Qt::MoveAction && !(d->State & rpstDroppedIntoItself)) DeleteSelection();
    d->State &= ~rpstDroppedIntoItself;
}

bool TCustomRichPadEdit::DropEvent(QEvent* e) {
    TRPEditRPData* d = EditData();
    if (e->type() == QEvent::DragLeave) {
        m_dropItemNo = -1;
        Invalidate();
        return true;
    }
    auto* de = static_cast<QDropEvent*>(e);
    if (ReadOnly() || !Style()) {
        de->ignore();
        return true;
    }
    QPoint p = de->position().toPoint();
    if (QWidget* c = ClientWidget(); c && Widget()) p = c->mapFrom(Widget(), p);
    int dItem = -1, dOffs = 0;
    d->FindDrawItemAtPos(p.x() + d->GetHOffs(), p.y() + d->GetVOffs(), false, dItem, dOffs);
    int item = -1, offs = 0;
    d->DrawItemToItemPos(dItem, dOffs, offs, item);
    const bool self = (d->State & rpstDragging) != 0;
    const Qt::DropAction action =
        self && !(de->modifiers() & Qt::ControlModifier) ? Qt::MoveAction
        : (de->possibleActions() & Qt::CopyAction)        ? Qt::CopyAction
                                                          : de->proposedAction();
    if (e->type() != QEvent::Drop) {
        m_dropItemNo = item;
        m_dropOffs = offs;
        de->setDropAction(action);
        de->accept();
        return true;
    }
    m_dropItemNo = -1;
    if (item < 0 || !BeforeChange(false)) {
        de->ignore();
        return true;
    }
    if (self && d->IsPositionInSelection(item, offs)) {
        // Onto the dragged text itself: nothing moves.
        d->Deselect(nullptr, false);
        d->SetCaretItemPos(item, offs);
        de->setDropAction(Qt::CopyAction);
        de->accept();
        Invalidate();
        return true;
    }
    const bool move = self && action == Qt::MoveAction;
    int si = -1, so = 0, ei = -1, eo = 0;
    if (move) d->GetSelBounds(si, so, ei, eo, true);
    const bool dropAfter = move && (item > ei || (item == ei && offs >= eo));
    d->BeginUndoSequence(rpuaInsert, true);
    d->SetUndoGroupMode(true);
    // Of the deletion and the insertion, the one further down the document
    // goes first, so that neither works on a place the other has shifted.
    if (move && !dropAfter) d->DeleteSelectionWithUndo();
    d->Deselect(nullptr, false);
    d->SetCaretItemPos(item, offs, false);
    const bool inserted = PasteMimeDataNoFrame(*de->mimeData());
    if (move && dropAfter) {
        d->SetSelectionBounds(si, so, ei, eo);
        d->DeleteSelectionWithUndo();
    }
    d->SetUndoGroupMode(false);
    d->UndoMode = 1;
    d->EndUndoSequence();
    d->UndoMode = 0;
    if (move) d->State |= rpstDroppedIntoItself;
    de->setDropAction(inserted ? action : Qt::IgnoreAction);
    de->accept();
    Invalidate();
    Change(true);
    return true;
}

// ---------------------------------------------------------------------------
// Mouse of the resizer and painting

void TCustomRichPadEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    CloseCellEditorForPress(X, Y);
    TRPEditRPData* d = EditData();
    if (Button == mbLeft && d->Resizer && d->Resizer->StartDrag(X, Y, d->GetHOffs(), d->GetVOffs())) {
        SetCurrentCursor(crCross);
        Invalidate();
        return;
    }
    TCustomRichPad::MouseDown(Button, Shift, X, Y);
}

void TCustomRichPadEdit::MouseMove(TShiftState Shift, int X, int Y) {
    TRPEditRPData* d = EditData();
    if (d->Resizer && d->Resizer->Dragging) {
        d->Resizer->DragTo(X, Y, (Shift & ssShift) != 0, (Shift & ssCtrl) != 0, d->GetHOffs(), d->GetVOffs());
        Invalidate();
        return;
    }
    int index = 0;
    if (d->Resizer && d->Resizer->GetHandleAt(X, Y, index, d->GetHOffs(), d->GetVOffs())) {
        SetCurrentCursor(TRPItemResizer::GetHandleCursor(index));
        return;
    }
    TCustomRichPad::MouseMove(Shift, X, Y);
}

void TCustomRichPadEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TRPEditRPData* d = EditData();
    if (!d->Resizer || (!d->Resizer->Dragging && !d->Resizer->Cancelled)) {
        TCustomRichPad::MouseUp(Button, Shift, X, Y);
        // A click on a picture selects it, which offers its handles.
        if (Button == mbLeft && !(Shift & ssShift) && !d->SelectionExists(false, false)) {
            const int dItem = d->FindDrawItemAtPoint(X + d->GetHOffs(), Y + d->GetVOffs());
            const int item = dItem >= 0 ? d->DrawItem(dItem)->ItemNo : -1;
            if (item >= 0 && d->GetItemStyle(item) < 0 && d->GetItem(item)->GetBoolValue(rpbivResizable)) {
                d->SetSelectionBounds(item, 0, item, 1);
                Invalidate();
            }
        }
        return;
    }
    const bool dragging = d->Resizer->Dragging;
    d->Resizer->EndDrag();
    SetCurrentCursor(Cursor());
    if (dragging) ResizeItem(d->Resizer->ItemNo, d->Resizer->Width, d->Resizer->Height);
    Invalidate();
}

void TCustomRichPadEdit::Paint(TCanvas& Canvas, const TRect& Clip) {
    TCustomRichPad::Paint(Canvas, Clip);
    TRPEditRPData* d = EditData();
    if (!Style()) return;
    if (d->Resizer && d->Resizer->Dragging) d->Resizer->DrawRubber(Canvas, d->GetHOffs(), d->GetVOffs());
    if (m_dropItemNo >= 0 && m_dropItemNo < d->GetItemCount()) {
        // The drop caret: where a drop would insert.
        int dItem = -1, dOffs = 0;
        d->ItemToDrawItemPos(m_dropItemNo, m_dropOffs, dOffs, dItem);
        if (dItem >= 0) {
            const TRPDrawLineInfo* di = d->DrawItem(dItem);
            int x = di->Left;
            if (d->GetItemStyle(di->ItemNo) < 0)
                x += dOffs > 0 ? di->Width : 0;
            else if (TCanvas* c = d->GetCanvas(); c && dOffs > 1)
                x += ItemTextWidth(ItemTextCopy(d->GetItemText(di->ItemNo), di->Offs, dOffs - 1, d->GetItemOptions(di->ItemNo)),
                                   *c, d->GetItemOptions(di->ItemNo));
            Canvas.Brush()->SetStyle(bsSolid);
            Canvas.Brush()->SetColor(clBlack);
            Canvas.FillRect(TRect{x - d->GetHOffs(), di->Top - d->GetVOffs(), x - d->GetHOffs() + 1,
                                  di->Top + di->Height - d->GetVOffs()});
        }
        return;
    }
    PaintCaret(Canvas);
}

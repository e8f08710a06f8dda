// Paste and drag and drop of the editor control, and the mouse of the
// picture resizer.
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QTextDocumentFragment>
#include <QUrl>
#include <QWidget>
#include <algorithm>

#include "platform/Clipboard.h"
#include "platform/Pictures.h"
#include "richtext/edit/RPClipHTML.h"
#include "richtext/edit/RPResizer.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPClipFormats.h"
#include "richtext/model/RPFTokens.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/rtf/RPRTFReaderProperties.h"

namespace {

const QString MimeRTF = QStringLiteral("text/rtf");
const QString MimeRTF2 = QStringLiteral("application/rtf");

bool IsMetafileMime(const QString& Mime) {
    return Mime == QLatin1String("image/x-wmf") || Mime == QLatin1String("image/x-emf") ||
           Mime == QLatin1String("image/wmf") || Mime == QLatin1String("image/emf");
}

QString RPFMime() {
    RPRegisterClipboardFormats();
    return RPClipboardMimeType(RPClipboardFormatRPF);
}

QString HTMLFormatMime() {
    RPRegisterClipboardFormats();
    return RPClipboardMimeType(RPClipboardFormatHTML);
}

// Formats a paste takes: everything but dropped files and links.
constexpr TRPDragDropFormats PasteFormats = static_cast<TRPDragDropFormats>(~(rpddURL | rpddFiles));

// Encoded pictures other programs offer by MIME type.
bool IsPictureMime(const QString& Mime) {
    return Mime.startsWith(QLatin1String("image/")) && !IsMetafileMime(Mime);
}

// The local files of a drop: only when every URL of the data names one
// (the plain text such data also carries is then just the same list).
QStringList DroppedFiles(const QMimeData& Data) {
    QStringList files;
    if (!Data.hasUrls()) return files;
    for (const QUrl& url : Data.urls()) {
        if (!url.isLocalFile()) return QStringList();
        files.append(url.toLocalFile());
    }
    return files;
}

// The first link of a drop that names no local file.
QUrl DroppedLink(const QMimeData& Data) {
    if (!Data.hasUrls()) return QUrl();
    for (const QUrl& url : Data.urls())
        if (url.isLocalFile()) return QUrl();
    const QList<QUrl> urls = Data.urls();
    return urls.isEmpty() ? QUrl() : urls.first();
}

// A picture from encoded picture data: our own picture classes keep the
// bytes (GIF, JPEG, PNG, metafiles); what only Qt reads becomes a bitmap.
// Metafile records are walked before they are taken in.
std::unique_ptr<TGraphic> PictureFromBytes(const QByteArray& Bytes) {
    std::unique_ptr<TGraphic> g = TPicture::CreateForData(Bytes);
    if (auto* meta = dynamic_cast<TMetafile*>(g.get())) {
        if (!meta->LoadFromStream(Bytes) || !meta->CheckRecords()) return nullptr;
        return g;
    }
    if (g && g->LoadFromStream(Bytes) && !g->Empty()) return g;
    const QImage image = QImage::fromData(Bytes);
    if (image.isNull()) return nullptr;
    return std::make_unique<TBitmap>(image);
}

// A metafile other programs offer as itself.
std::unique_ptr<TGraphic> MetafileFromMime(const QMimeData& Data) {
    for (const QString& mime : Data.formats())
        if (IsMetafileMime(mime))
            if (auto g = PictureFromBytes(Data.data(mime)); dynamic_cast<TMetafile*>(g.get())) return g;
    return nullptr;
}

std::unique_ptr<TGraphic> PictureFromMime(const QMimeData& Data) {
    for (const QString& mime : Data.formats())
        if (IsPictureMime(mime))
            if (auto g = PictureFromBytes(Data.data(mime))) return g;
    if (Data.hasImage()) {
        const QImage image = qvariant_cast<QImage>(Data.imageData());
        if (!image.isNull()) return std::make_unique<TBitmap>(image);
    }
    return nullptr;
}

// A dropped file as a picture, judged by its first bytes before the whole
// file is read: a large file of another kind is never loaded for nothing.
std::unique_ptr<TGraphic> PictureFromFile(QFile& File) {
    const std::unique_ptr<TGraphic> probe = TPicture::CreateForData(File.peek(88));
    if (!probe && QImageReader::imageFormat(&File).isEmpty()) return nullptr;
    File.seek(0);
    return PictureFromBytes(File.readAll());
}

// Characters from a position to the end of the document, a new line
// counting as one: edits before the position leave it unchanged.
int CharsToEnd(const TCustomRPData& D, int ItemNo, int Offs) {
    int n = D.GetLastOffsetOfItem(ItemNo) - Offs;
    for (int i = ItemNo + 1; i < D.GetItemCount(); ++i)
        n += (D.GetItem(i)->GetContinuesPrev() ? 0 : 1) + D.GetLastOffsetOfItem(i) - D.GetFirstOffsetOfItem(i);
    return n;
}

void PosFromCharsToEnd(const TCustomRPData& D, int N, int& ItemNo, int& Offs) {
    for (int i = D.GetItemCount() - 1; i >= 0; --i) {
        const int first = D.GetFirstOffsetOfItem(i), last = D.GetLastOffsetOfItem(i);
        if (N <= last - first) {
            ItemNo = i;
            Offs = last - N;
            return;
        }
        N -= last - first;
        if (!D.GetItem(i)->GetContinuesPrev()) N = std::max(0, N - 1);
    }
    ItemNo = 0;
    Offs = D.GetFirstOffsetOfItem(0);
}

} // namespace

bool TCustomRichPadEdit::CanPaste() {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->CanPaste();
    const QMimeData* m = QApplication::clipboard()->mimeData();
    return m && HasInsertableFormat(*m, PasteFormats);
}

bool TCustomRichPadEdit::HasInsertableFormat(const QMimeData& Data, TRPDragDropFormats Formats) const {
    const bool files = (Formats & rpddFiles) && !DroppedFiles(Data).isEmpty();
    if (files) return true;
    if ((Formats & rpddRPF) && Data.hasFormat(RPFMime())) return true;
    if ((Formats & rpddRTF) && (Data.hasFormat(MimeRTF) || Data.hasFormat(MimeRTF2))) return true;
    if ((Formats & rpddURL) && DroppedLink(Data).isValid()) return true;
    if (Formats & rpddBitmap) {
        const QStringList mimes = Data.formats();
        if (Data.hasImage() || std::any_of(mimes.cbegin(), mimes.cend(), IsPictureMime)) return true;
    }
    if ((Formats & rpddMetafile) && MetafileFromMime(Data)) return true;
    return (Formats & (rpddText | rpddUnicodeText)) &&
           (Data.hasText() || Data.hasHtml() || Data.hasFormat(HTMLFormatMime()));
}

std::string TCustomRichPadEdit::UsableRPF(const QMimeData& Data, TRPDragDropFormats Formats) const {
    const QString rpf = RPFMime();
    std::string s;
    if (!(Formats & rpddRPF) || !Data.hasFormat(rpf) ||
        !TCustomRPFormattedData::RPFFromBlock(Data.data(rpf).toStdString(), s) || !EditData()->RPFInsertable(s))
        s.clear();
    return s;
}

void TCustomRichPadEdit::Paste() {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->Paste();
    if (!BeforeChange(false)) return;
    bool doDefault = true;
    if (OnPaste) OnPaste(this, doDefault);
    if (!doDefault) return;
    const QMimeData* m = QApplication::clipboard()->mimeData();
    if (m) PasteMimeData(*m);
}

bool TCustomRichPadEdit::PasteMimeData(const QMimeData& Data) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->PasteMimeData(Data);
    // Nothing usable: nothing happens, the selection stays.
    if (!HasInsertableFormat(Data, PasteFormats)) return false;
    // A damaged RPF block is passed over; when nothing else is offered, the
    // paste is refused before the selection goes.
    if (UsableRPF(Data, PasteFormats).empty() && !HasInsertableFormat(Data, PasteFormats & ~rpddRPF)) {
        EditData()->Beep();
        return false;
    }
    if (!BeginInsertion()) return false;
    const bool ok = InsertMimeData(Data, PasteFormats);
    EndInsertion();
    return ok;
}

bool TCustomRichPadEdit::InsertMimeData(const QMimeData& Data, TRPDragDropFormats Formats) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->InsertMimeData(Data, Formats);
    TRPEditRPData* d = EditData();
    const QStringList files = (Formats & rpddFiles) ? DroppedFiles(Data) : QStringList();
    if (const std::string s = UsableRPF(Data, Formats); !s.empty()) return d->InsertRPF(s, true);
    if (Formats & rpddRTF) {
        for (const QString& mime : {MimeRTF, MimeRTF2})
            if (Data.hasFormat(mime)) {
                // Relative links and pictures of the RTF belong to the page it was copied from.
                TRPRTFReaderProperties* props = GetRTFReadProperties();
                std::string base;
                if (Data.hasFormat(HTMLFormatMime())) {
                    TRPClipboardHTML h;
                    ParseClipboardHTML(Data.data(HTMLFormatMime()).toStdString(), h);
                    base = ClipboardBasePath(h.SourceURL);
                }
                const std::string kept = props->BasePath;
                props->BasePath = base;
                bool ok = false;
                try {
                    ok = d->InsertRTF(Data.data(mime).toStdString());
                } catch (...) {
                    props->BasePath = kept;
                    throw;
                }
                props->BasePath = kept;
                return ok;
            }
    }
    if (Formats & rpddURL) {
        const QUrl link = DroppedLink(Data);
        if (link.isValid() && InsertLink(link)) return true;
    }
    const bool text = (Formats & (rpddText | rpddUnicodeText)) && files.isEmpty();
    if (text) {
        QString html;
        if (Data.hasFormat(HTMLFormatMime())) {
            TRPClipboardHTML h;
            if (ParseClipboardHTML(Data.data(HTMLFormatMime()).toStdString(), h))
                html = QString::fromUtf8(h.Fragment.data(), static_cast<qsizetype>(h.Fragment.size()));
        } else if (Data.hasHtml()) {
            html = Data.html();
        }
        if (!html.isEmpty() && InsertPlainText(QTextDocumentFragment::fromHtml(html).toPlainText())) return true;
    }
    if (Formats & rpddBitmap)
        if (auto g = PictureFromMime(Data))
            return d->InsertItemAtCaret(std::string(), TRPGraphicItemInfo::CreateEx(d, std::move(g), 0), false, false);
    if (Formats & rpddMetafile)
        if (auto g = MetafileFromMime(Data))
            return d->InsertItemAtCaret(std::string(), TRPGraphicItemInfo::CreateEx(d, std::move(g), 0),
                                        false, false);
    if (text && Data.hasText() && InsertPlainText(Data.text())) return true;
    if (!files.isEmpty()) return InsertDroppedFiles(files);
    return false;
}

bool TCustomRichPadEdit::InsertPlainText(const QString& Text) {
    if (Text.isEmpty()) return false;
    TRPEditRPData* d = EditData();
    // Pasted text keeps characters the current 8-bit style cannot hold, as typing does.
    d->SwitchToUnicodeStyleFor(Text);
    d->InsertTextWide(QStringToItemText(Text, rpioUnicode, 0), false);
    return true;
}

bool TCustomRichPadEdit::InsertLink(const QUrl& Link) {
    if (!OnReadHyperlink) return InsertPlainText(Link.toString());
    TRPEditRPData* d = EditData();
    // The program decides what the link becomes: its style, tag and text.
    int styleNo = d->GetActualStyleOfPara(d->CurTextStyleNo, d->CurParaStyleNo);
    TRPTag tag;
    const std::string target = Link.toEncoded().toStdString();
    std::string name = target;
    OnReadHyperlink(this, target, std::string(), 4, styleNo, tag, name);
    SetCurTextStyleNo(styleNo);
    return InsertTextItemWithTag(name, tag);
}

bool TCustomRichPadEdit::InsertDroppedFiles(const QStringList& Files) {
    bool doDefault = true;
    TRPDropFileAction action = 0;
    if (OnDropFiles) OnDropFiles(this, Files, action, doDefault);
    if (!doDefault) return action != 0;
    TRPEditRPData* d = EditData();
    bool any = false;
    for (const QString& file : Files) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) continue;
        if (auto g = PictureFromFile(f)) {
            any |= d->InsertItemAtCaret(std::string(), TRPGraphicItemInfo::CreateEx(d, std::move(g), 0), false, false);
            continue;
        }
        const QString ext = QFileInfo(file).suffix().toLower();
        if (ext != QLatin1String("rtf") && ext != QLatin1String("rpf") && ext != QLatin1String("txt")) continue;
        // The file stays open from the picture test: read it from the start.
        if (!f.seek(0)) continue;
        const QByteArray bytes = f.readAll();
        if (f.error() != QFileDevice::NoError) continue;
        if (ext == QLatin1String("rtf")) {
            GetRTFReadProperties();
            any |= d->InsertRTF(bytes.toStdString());
        } else if (ext == QLatin1String("rpf")) {
            any |= d->InsertRPF(bytes.toStdString());
        } else if (ext == QLatin1String("txt")) {
            InsertTextFileBytes(bytes);
            any = true;
        }
    }
    return any;
}

// ---------------------------------------------------------------------------
// Drag and drop

int TCustomRichPadEdit::AllowedDragEffects() {
    // Moving takes the text away from here: only where it may be deleted.
    return ReadOnly() || !EditData()->CanDeleteSelection() ? 1 : 1 | 2;
}

void TCustomRichPadEdit::DoneDragging(int Effect) {
    TRPEditRPData* d = EditData();
    // A move into another program takes the text away from here; a move
    // inside this editor was done by the drop itself.
    if (Effect == 2 && !(d->State & rpstDroppedIntoItself)) DeleteSelection();
    d->State &= ~rpstDroppedIntoItself;
}

bool TCustomRichPadEdit::DropEvent(QEvent* e) {
    TRPEditRPData* d = EditData();
    if (e->type() == QEvent::DragLeave) {
        StopAutoScroll();
        m_dropItemNo = -1;
        Invalidate();
        return true;
    }
    auto* de = static_cast<QDropEvent*>(e);
    if (ReadOnly() || !Style() || !de->mimeData() || !HasInsertableFormat(*de->mimeData(), AcceptDragDropFormats)) {
        de->ignore();
        return true;
    }
    QPoint p = de->position().toPoint();
    if (QWidget* c = ClientWidget(); c && Widget()) p = c->mapFrom(Widget(), p);
    int dItem = -1, dOffs = 0;
    d->FindDrawItemAtPos(p.x() + d->GetHOffs(), p.y() + d->GetVOffs(), false, dItem, dOffs);
    int item = -1, offs = 0;
    d->DrawItemToItemPos(dItem, dOffs, offs, item);
    const bool allowed = item >= 0 && d->IsInsertAllowedAt(item, offs);
    const bool self = (d->State & rpstDragging) != 0;
    const Qt::DropAction action =
        self && !(de->modifiers() & Qt::ControlModifier) ? Qt::MoveAction
        : (de->possibleActions() & Qt::CopyAction)        ? Qt::CopyAction
                                                          : de->proposedAction();
    if (e->type() != QEvent::Drop) {
        // Near the top or bottom edge the text scrolls slowly under the pointer.
        if (e->type() == QEvent::DragEnter) StartAutoScroll(true);
        SetAutoScrollSteps(p.y() < 20 ? -1 : p.y() > ClientHeight() - 20 ? 1 : 0, 0);
        m_dropItemNo = allowed ? item : -1;
        m_dropOffs = offs;
        de->setDropAction(action);
        // Entering is taken for the formats; where it may land decides while moving.
        if (allowed || e->type() == QEvent::DragEnter)
            de->accept();
        else
            de->ignore();
        Invalidate();
        return true;
    }
    StopAutoScroll();
    m_dropItemNo = -1;
    Invalidate();
    if (!allowed || !BeforeChange(false)) {
        de->ignore();
        return true;
    }
    if (self && d->IsPositionInSelection(item, offs)) {
        // Onto the dragged text itself: nothing moves.
        d->Deselect(nullptr, false);
        d->SetCaretItemPos(item, offs);
        de->setDropAction(Qt::IgnoreAction);
        de->accept();
        return true;
    }
    const bool move = self && action == Qt::MoveAction;
    int si = -1, so = 0, ei = -1, eo = 0;
    if (move) d->GetSelBounds(si, so, ei, eo, true);
    const bool dropAfter = move && (item > ei || (item == ei && offs >= eo));
    const int groups = d->UndoList->Count();
    d->BeginUndoSequence(rpuaInsert, true);
    d->SetUndoGroupMode(true);
    // Of the deletion and the insertion, the one further down the document
    // goes first, so that neither works on a place the other has shifted.
    if (move && !dropAfter) d->DeleteSelectionWithUndo();
    d->Deselect(nullptr, false);
    d->SetCaretItemPos(item, offs, false);
    // The dropped content is selected afterwards; counted from the end, its
    // bounds survive the deletion of the dragged text before it.
    const int total0 = CharsToEnd(*d, 0, d->GetFirstOffsetOfItem(0));
    const int fromEnd0 = CharsToEnd(*d, item, offs);
    const bool inserted = InsertMimeData(*de->mimeData(), AcceptDragDropFormats);
    int startFromEnd = 0, endFromEnd = 0;
    if (inserted) {
        startFromEnd = CharsToEnd(*d, 0, d->GetFirstOffsetOfItem(0)) - total0 + fromEnd0;
        int ci = -1, co = 0;
        d->GetCaretItemPos(ci, co);
        endFromEnd = ci >= 0 ? CharsToEnd(*d, ci, co) : 0;
    }
    if (move && dropAfter && inserted) {
        d->SetSelectionBounds(si, so, ei, eo);
        d->DeleteSelectionWithUndo();
    }
    d->SetUndoGroupMode(false);
    d->UndoMode = 1;
    d->EndUndoSequence();
    d->UndoMode = 0;
    if (move && !inserted && d->UndoList->Count() > groups) {
        // Nothing arrived: the dragged text goes back where it was.
        d->UndoList->Undo(*d);
        d->RedoList->Clear();
    }
    if (!inserted) {
        de->setDropAction(Qt::IgnoreAction);
        de->accept();
        return true;
    }
    int ss = 0, so2 = 0, es = 0, eo2 = 0;
    PosFromCharsToEnd(*d, startFromEnd, ss, so2);
    PosFromCharsToEnd(*d, endFromEnd, es, eo2);
    d->SetSelectionBounds(ss, so2, es, eo2);
    if (move) d->State |= rpstDroppedIntoItself;
    de->setDropAction(action);
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
    if (DragPendingMove(Shift, X, Y)) return;
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
    if (d->State & rpstDragPending) {
        // Released before the drag began: a click, which places the caret.
        d->State &= ~rpstDragPending;
        TCustomRichPad::MouseUp(Button, Shift, X, Y);
        int dItem = -1, dOffs = 0, item = -1, offs = 0;
        d->FindDrawItemAtPos(X + d->GetHOffs(), Y + d->GetVOffs(), true, dItem, dOffs);
        d->DrawItemToItemPos(dItem, dOffs, offs, item);
        if (item >= 0) {
            d->Deselect(nullptr, false);
            d->SetCaretItemPos(item, offs);
        }
        Invalidate();
        return;
    }
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
            const int x = d->DrawPosX(dItem, dOffs);
            Canvas.Brush()->SetStyle(bsSolid);
            Canvas.Brush()->SetColor(clBlack);
            Canvas.FillRect(TRect{x - d->GetHOffs(), di->Top - d->GetVOffs(), x - d->GetHOffs() + 1,
                                  di->Top + di->Height - d->GetVOffs()});
        }
        return;
    }
    PaintCaret(Canvas);
}

// Counted as the drops count: a new line is one character.
void TRPEditRPData::SelectRange(int ItemNo, int Offs, int Length, bool Backwards) {
    int endNo = ItemNo, endOffs = Offs;
    PosFromCharsToEnd(*this, std::max(0, CharsToEnd(*this, ItemNo, Offs) - std::max(0, Length)), endNo,
                      endOffs);
    if (Backwards)
        SetSelectionBounds(endNo, endOffs, ItemNo, Offs);
    else
        SetSelectionBounds(ItemNo, Offs, endNo, endOffs);
    InvalidateView();
}

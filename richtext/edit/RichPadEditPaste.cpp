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
#include <memory>

#include "platform/Clipboard.h"
#include "platform/CodePage.h"
#include "platform/Messages.h"
#include "platform/Pictures.h"
#include "richtext/edit/RPClipHTML.h"
#include "richtext/edit/RPResizer.h"
#include "richtext/edit/RPTableInplace.h"
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
    if (!PngChunksFit(Bytes)) return nullptr;
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

bool HasRTF(const QMimeData& Data) {
    return Data.hasFormat(MimeRTF) || Data.hasFormat(MimeRTF2);
}

QByteArray RTFOf(const QMimeData& Data) {
    return Data.hasFormat(MimeRTF) ? Data.data(MimeRTF) : Data.data(MimeRTF2);
}

// The plain text of Data up to its first zero character.
QString TextOf(const QMimeData& Data) {
    QString text = Data.hasText() ? Data.text() : QString();
    if (const qsizetype zero = text.indexOf(QChar(0)); zero >= 0) text.truncate(zero);
    return text;
}

// The text of HTML that comes without plain text beside it.
QString HTMLTextOf(const QMimeData& Data) {
    QString html;
    if (Data.hasFormat(HTMLFormatMime())) {
        TRPClipboardHTML h;
        if (ParseClipboardHTML(Data.data(HTMLFormatMime()).toStdString(), h))
            html = QString::fromUtf8(h.Fragment.data(), static_cast<qsizetype>(h.Fragment.size()));
    } else if (Data.hasHtml()) {
        html = Data.html();
    }
    return html.isEmpty() ? QString() : QTextDocumentFragment::fromHtml(html).toPlainText();
}

// While RTF from Data is read, relative links and pictures of it belong to
// the page it was copied from; the control's own setting comes back after.
class TBasePathFromHTML {
public:
    TBasePathFromHTML(TRPRTFReaderProperties* Props, const QMimeData& Data)
        : m_props(Props), m_kept(Props->BasePath) {
        std::string base;
        if (Data.hasFormat(HTMLFormatMime())) {
            TRPClipboardHTML h;
            ParseClipboardHTML(Data.data(HTMLFormatMime()).toStdString(), h);
            base = ClipboardBasePath(h.SourceURL);
        }
        m_props->BasePath = base;
    }
    ~TBasePathFromHTML() { m_props->BasePath = m_kept; }
    TBasePathFromHTML(const TBasePathFromHTML&) = delete;
    TBasePathFromHTML& operator=(const TBasePathFromHTML&) = delete;

private:
    TRPRTFReaderProperties* m_props;
    std::string m_kept;
};

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
    if (OnPaste) OnPaste(OutermostEditor(), doDefault);
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
    const bool rpf = !UsableRPF(Data, PasteFormats).empty();
    if (!rpf && !HasInsertableFormat(Data, PasteFormats & ~rpddRPF)) {
        EditData()->Beep();
        return false;
    }
    if (rpf) return PasteFormat(Data, rppfRPF, false);
    if (HasRTF(Data)) return PasteFormat(Data, rppfRTF, false);
    if (const QString text = TextOf(Data); !text.isEmpty())
        return PasteFormat(Data, TextPasteFormat(text), false);
    if (const QString text = HTMLTextOf(Data); !text.isEmpty()) {
        if (!BeginInsertion()) return false;
        const bool ok = InsertPlainText(text);
        EndInsertion();
        return ok;
    }
    return PasteFormat(Data, rppfBitmap, false) || PasteFormat(Data, rppfMetafile, false);
}

void TCustomRichPadEdit::PasteFromClipboard(TRPPasteFormat Format, bool TextAsName) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->PasteFromClipboard(Format, TextAsName);
    if (const QMimeData* m = QApplication::clipboard()->mimeData()) PasteFormat(*m, Format, TextAsName);
}

TCustomRichPadEdit::TRPPasteFormat TCustomRichPadEdit::TextPasteFormat(const QString& Text) const {
    // 8-bit text serves only where the style holds every character of it.
    const TRPEditRPData* d = EditData();
    const int sn = d->ActualCurTextStyleNo();
    if (d->IsUnicodeStyle(sn)) return rppfTextW;
    bool lossy = false;
    CodePage::FromUnicode(d->GetStyleCodePage(sn), Text, &lossy);
    return lossy ? rppfTextW : rppfText;
}

bool TCustomRichPadEdit::PasteFormat(const QMimeData& Data, TRPPasteFormat Format, bool TextAsName) {
    TRPEditRPData* d = EditData();
    // The text beside a picture names it when asked.
    const std::string name = TextAsName ? CodePage::ToCp1252(TextOf(Data)) : std::string();
    switch (Format) {
    case rppfRPF: {
        if (!Data.hasFormat(RPFMime())) return false;
        std::string rpf;
        if (!TCustomRPFormattedData::RPFFromBlock(Data.data(RPFMime()).toStdString(), rpf)) {
            d->Beep();
            return false;
        }
        return InsertRPFFromStream(rpf);
    }
    case rppfRTF: {
        if (!HasRTF(Data)) return false;
        TBasePathFromHTML base(GetRTFReadProperties(), Data);
        return InsertRTFFromStream(RTFOf(Data).toStdString());
    }
    case rppfText: {
        const QString text = TextOf(Data);
        if (text.isEmpty()) return false;
        InsertText(CodePage::FromUnicode(d->GetStyleCodePage(d->ActualCurTextStyleNo()), text));
        return true;
    }
    case rppfTextW: {
        const QString text = TextOf(Data);
        if (text.isEmpty() || !BeginInsertion()) return false;
        const bool ok = InsertPlainText(text);
        EndInsertion();
        return ok;
    }
    case rppfBitmap: {
        std::unique_ptr<TGraphic> g = PictureFromMime(Data);
        return g && InsertPicture(name, std::move(g), 0);
    }
    case rppfMetafile: {
        std::unique_ptr<TGraphic> g = MetafileFromMime(Data);
        auto* meta = static_cast<TMetafile*>(g.get());
        if (!meta) return false;
        // A metafile without a resolution is taken in twips.
        if (meta->Inch() == 0) meta->SetInch(1440);
        const int w = meta->Width(), h = meta->Height();
        if (!BeginInsertion()) return false;
        const bool ok =
            d->InsertItemAtCaret(name, TRPGraphicItemInfo::CreateEx(d, std::move(g), 0), false, false);
        // The picture keeps the size it came with, whatever it is drawn at later.
        const int item = d->LastInsertedItemNo;
        if (ok && item >= 0 && item < d->GetItemCount() && d->GetItemStyle(item) == rpsnPicture &&
            static_cast<TRPGraphicItemInfo*>(d->GetItem(item))->Image.get() == meta) {
            d->SetExtraIntPropertyWithUndo(item, rpeipImageWidth, w);
            d->SetExtraIntPropertyWithUndo(item, rpeipImageHeight, h);
        }
        EndInsertion();
        return ok;
    }
    }
    return false;
}

bool TCustomRichPadEdit::InsertMimeData(const QMimeData& Data, TRPDragDropFormats Formats) {
    if (TCustomRichPadEdit* cell = OpenCellEditor()) return cell->InsertMimeData(Data, Formats);
    TRPEditRPData* d = EditData();
    const QStringList files = (Formats & rpddFiles) ? DroppedFiles(Data) : QStringList();
    if (const std::string s = UsableRPF(Data, Formats); !s.empty()) return d->InsertRPF(s, true);
    if ((Formats & rpddRTF) && HasRTF(Data)) {
        TBasePathFromHTML base(GetRTFReadProperties(), Data);
        return d->InsertRTF(RTFOf(Data).toStdString());
    }
    if (Formats & rpddURL) {
        const QUrl link = DroppedLink(Data);
        if (link.isValid() && InsertLink(link)) return true;
    }
    // Text before pictures; HTML only where no plain text comes with it.
    if ((Formats & (rpddText | rpddUnicodeText)) && files.isEmpty())
        if (InsertPlainText(TextOf(Data)) || InsertPlainText(HTMLTextOf(Data))) return true;
    if (Formats & rpddBitmap)
        if (auto g = PictureFromMime(Data))
            return d->InsertItemAtCaret(std::string(), TRPGraphicItemInfo::CreateEx(d, std::move(g), 0), false, false);
    if (Formats & rpddMetafile)
        if (auto g = MetafileFromMime(Data))
            return d->InsertItemAtCaret(std::string(), TRPGraphicItemInfo::CreateEx(d, std::move(g), 0),
                                        false, false);
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
    if (OnDropFiles) OnDropFiles(OutermostEditor(), Files, action, doDefault);
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
            d->InsertTextFile(bytes.toStdString(), false, false);
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

namespace {

// Whether Doc is Root or a document of Root's items, at any depth.
bool HoldsDocument(const TCustomRPData& Root, const TCustomRPData* Doc) {
    if (&Root == Doc) return true;
    for (int i = 0; i < Root.GetItemCount(); ++i) {
        const TCustomRPItemInfo* item = Root.GetItem(i);
        for (int k = 0; k < item->GetSubRPDataCount(); ++k)
            if (const TCustomRPData* sub = item->GetSubRPDataAt(k); sub && HoldsDocument(*sub, Doc))
                return true;
    }
    return false;
}

// The editor whose document D is; nil for a document no editor edits.
TCustomRichPadEdit* EditorOf(TCustomRPData* D) {
    auto* ed = dynamic_cast<TRPEditRPData*>(D);
    return ed ? dynamic_cast<TCustomRichPadEdit*>(ed->OwnerView) : nullptr;
}

// Whether a cell editor open in E (at any depth) is the source of the drag under way.
bool CellEditorDragging(const TCustomRichPadEdit& E) {
    for (const TCustomRichPadEdit* c = E.OpenCellEditor(); c; c = c->OpenCellEditor())
        if (c->EditData()->State & rpstDragging) return true;
    return false;
}

} // namespace

TCustomRichPadEdit::TDropSpot TCustomRichPadEdit::DropSpotAt(int X, int Y) {
    TRPEditRPData* d = EditData();
    TDropSpot spot;
    // In the coordinates of this document, which cells translate by their origins.
    const int rx = X + d->GetHOffs(), ry = Y + d->GetVOffs();
    TCustomRPFormattedData* doc = d;
    for (;;) {
        int ox = 0, oy = 0;
        if (doc != d) doc->GetOrigin(ox, oy);
        const int x = rx - ox, y = ry - oy;
        int dItem = -1, dOffs = 0;
        doc->FindDrawItemAtPos(x, y, false, dItem, dOffs);
        if (dItem < 0) return spot;
        const TRPDrawLineInfo* di = doc->DrawItem(dItem);
        // Over a table the drop goes into the cell under the point.
        auto* cell = dynamic_cast<TRPItemFormattedData*>(
            doc->GetItem(di->ItemNo)->GetCellRPDataAt(x - di->Left, y - di->Top));
        if (!cell || cell == doc) {
            spot.Doc = doc;
            doc->DrawItemToItemPos(dItem, dOffs, spot.Offs, spot.ItemNo);
            return spot;
        }
        doc = cell;
    }
}

bool TCustomRichPadEdit::DropEvent(QEvent* e) {
    if (e->type() == QEvent::DragLeave) {
        OleDragLeave();
        return true;
    }
    auto* de = static_cast<QDropEvent*>(e);
    if (!de->mimeData() || !OleCanAcceptFormat(*de->mimeData())) {
        de->ignore();
        return true;
    }
    QPoint p = de->position().toPoint();
    if (QWidget* c = ClientWidget(); c && Widget()) p = c->mapFrom(Widget(), p);
    // A move is what the drag offers unless Ctrl asks for a copy; from
    // elsewhere a drop copies, but for a drag that started in a cell editor
    // open here.
    const bool self = (EditData()->State & rpstDragging) != 0;
    const bool ctrl = (de->modifiers() & Qt::ControlModifier) != 0;
    const Qt::DropAction action =
        !ctrl && (self || (CellEditorDragging(*this) && (de->possibleActions() & Qt::MoveAction)))
            ? Qt::MoveAction
        : (de->possibleActions() & Qt::CopyAction) ? Qt::CopyAction
                                                   : de->proposedAction();
    if (e->type() != QEvent::Drop) {
        // Entering is taken for the formats; where it may land decides while moving.
        const bool taken = e->type() == QEvent::DragEnter ? OleDragEnter(p.x(), p.y()) : OleDragOver(p.x(), p.y());
        de->setDropAction(action);
        de->setAccepted(taken);
        return true;
    }
    MoveDragDropCaret(p.x(), p.y());
    const int effect = OleDrop(*de->mimeData(), action == Qt::MoveAction);
    de->setDropAction(effect == 2 ? Qt::MoveAction : effect == 1 ? action : Qt::IgnoreAction);
    de->accept();
    return true;
}

bool TCustomRichPadEdit::OleCanAcceptFormat(const QMimeData& DataObject) {
    return HasInsertableFormat(DataObject, AcceptDragDropFormats);
}

bool TCustomRichPadEdit::OleDragEnter(int X, int Y) {
    if (ReadOnly() || !Style()) return false;
    StartAutoScroll(true);
    OleDragOver(X, Y);
    return true;
}

bool TCustomRichPadEdit::OleDragOver(int X, int Y) {
    if (ReadOnly() || !Style()) return false;
    // Near the top or bottom edge the text scrolls slowly under the pointer.
    SetAutoScrollSteps(Y < 20 ? -1 : Y > ClientHeight() - 20 ? 1 : 0, 0);
    return MoveDragDropCaret(X, Y);
}

void TCustomRichPadEdit::OleDragLeave() {
    StopAutoScroll();
    EraseDragDropCaret();
}

bool TCustomRichPadEdit::MoveDragDropCaret(int X, int Y) {
    const TDropSpot spot = DropSpotAt(X, Y);
    const bool allowed = spot.Doc && spot.ItemNo >= 0 && spot.Doc->IsInsertAllowedAt(spot.ItemNo, spot.Offs);
    m_dropItemNo = allowed ? spot.ItemNo : -1;
    m_dropOffs = spot.Offs;
    m_dropData = allowed ? spot.Doc : nullptr;
    Invalidate();
    return allowed;
}

void TCustomRichPadEdit::EraseDragDropCaret() {
    m_dropItemNo = -1;
    m_dropData = nullptr;
    Invalidate();
}

int TCustomRichPadEdit::OleDrop(const QMimeData& DataObject, bool Move) {
    TRPEditRPData* d = EditData();
    // Where the drop caret stood is where the data goes.
    TCustomRPFormattedData* const doc = m_dropData;
    const int item = m_dropItemNo, offs = m_dropOffs;
    StopAutoScroll();
    EraseDragDropCaret();
    if (ReadOnly() || !Style() || !doc || item < 0 || !BeforeChange(false)) return 0;
    const bool self = (d->State & rpstDragging) != 0;
    // A drag from a cell editor open here: that editor must live until its drag is over.
    const bool fromCell = !self && CellEditorDragging(*this);
    // The current selection is this control's own while no cell editor is
    // open in it; an open one takes the drops onto its own selection itself.
    if ((self || !OpenCellEditor()) && doc->IsPositionInSelection(item, offs)) {
        // Onto the dragged text itself, or data from elsewhere onto the
        // selection: nothing moves, nothing is replaced; the caret goes there.
        if (TCustomRichPadEdit* target = doc == d ? this : EditorOf(doc->StartEditing())) {
            target->EditData()->Deselect(nullptr, false);
            target->EditData()->SetCaretItemPos(item, offs);
            target->Invalidate();
        }
        return 0;
    }
    if (fromCell) {
        // The source takes a moved text away when its drag ends; the drop
        // lands after that, when the cell editor may close.
        auto data = std::make_shared<QMimeData>();
        for (const QString& f : DataObject.formats())
            data->setData(f, DataObject.data(f));
        PostMessage(Widget(), [this, data, doc, item, offs] {
            if (Destroying() || !HoldsDocument(*EditData(), doc) || item >= doc->GetItemCount()) return;
            if (TCustomRichPadEdit* target = doc == EditData() ? this : EditorOf(doc->StartEditing()))
                target->DropAt(*data, item, offs, false);
        });
        return Move ? 2 : 1;
    }
    bool inserted = false;
    const bool move = self && Move;
    if (doc == d) {
        inserted = DropAt(DataObject, item, offs, move);
    } else {
        // Into a cell, whose editor opens to take it. A moved text leaves
        // this document and arrives in the cell in one step of this
        // document's history: the cell's step goes into the same group.
        const int groups = d->UndoList->Count();
        if (move) {
            d->BeginUndoSequence(rpuaInsert, true);
            d->SetUndoGroupMode(true);
            if (d->CanDeleteSelection()) d->DeleteSelectionWithUndo();
        }
        const uint8_t recording = d->UndoMode;
        TCustomRichPadEdit* target = HoldsDocument(*d, doc) ? EditorOf(doc->StartEditing()) : nullptr;
        if (target)
            inserted = target->DropAt(DataObject, item, offs, false);
        else
            d->Beep();
        if (move) {
            d->UndoMode = recording;
            if (auto* cell = dynamic_cast<TRPTableInplaceEdit*>(target); cell && inserted)
                cell->FoldUndoInto(*d);
            d->SetUndoGroupMode(false);
            d->EndUndoSequence();
            d->UndoMode = 0;
        }
        if (!inserted && d->UndoList->Count() > groups) {
            // Nothing arrived: the dragged text goes back where it was.
            DestroyCellEditor();
            d->UndoList->Undo(*d);
            d->RedoList->Clear();
        }
        if (d->UndoList->Count() > groups) Change(true);
    }
    if (!inserted) return 0;
    if (move) d->State |= rpstDroppedIntoItself;
    return Move ? 2 : 1;
}

bool TCustomRichPadEdit::DropAt(const QMimeData& Data, int ItemNo, int Offs, bool Move) {
    TRPEditRPData* d = EditData();
    if (ItemNo < 0 || ItemNo >= d->GetItemCount()) return false;
    int si = -1, so = 0, ei = -1, eo = 0;
    if (Move) d->GetSelBounds(si, so, ei, eo, true);
    const bool dropAfter = Move && (ItemNo > ei || (ItemNo == ei && Offs >= eo));
    const int groups = d->UndoList->Count();
    d->BeginUndoSequence(rpuaInsert, true);
    d->SetUndoGroupMode(true);
    // Of the deletion and the insertion, the one further down the document
    // goes first, so that neither works on a place the other has shifted.
    if (Move && !dropAfter) d->DeleteSelectionWithUndo();
    d->Deselect(nullptr, false);
    d->SetCaretItemPos(ItemNo, Offs, false);
    // The dropped content is selected afterwards; counted from the end, its
    // bounds survive the deletion of the dragged text before it.
    const int total0 = CharsToEnd(*d, 0, d->GetFirstOffsetOfItem(0));
    const int fromEnd0 = CharsToEnd(*d, ItemNo, Offs);
    const bool inserted = InsertMimeData(Data, AcceptDragDropFormats);
    int startFromEnd = 0, endFromEnd = 0;
    if (inserted) {
        startFromEnd = CharsToEnd(*d, 0, d->GetFirstOffsetOfItem(0)) - total0 + fromEnd0;
        int ci = -1, co = 0;
        d->GetCaretItemPos(ci, co);
        endFromEnd = ci >= 0 ? CharsToEnd(*d, ci, co) : 0;
    }
    if (Move && dropAfter && inserted) {
        d->SetSelectionBounds(si, so, ei, eo);
        d->DeleteSelectionWithUndo();
    }
    d->SetUndoGroupMode(false);
    d->UndoMode = 1;
    d->EndUndoSequence();
    d->UndoMode = 0;
    if (Move && !inserted && d->UndoList->Count() > groups) {
        // Nothing arrived: the dragged text goes back where it was.
        d->UndoList->Undo(*d);
        d->RedoList->Clear();
    }
    if (!inserted) return false;
    int ss = 0, so2 = 0, es = 0, eo2 = 0;
    PosFromCharsToEnd(*d, startFromEnd, ss, so2);
    PosFromCharsToEnd(*d, endFromEnd, es, eo2);
    d->SetSelectionBounds(ss, so2, es, eo2);
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
    if (d->ResizerHitTest(X, Y, index)) {
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
    if (dragging) d->ApplyResize(d->Resizer->ItemNo, d->Resizer->Width, d->Resizer->Height);
    Invalidate();
}

void TCustomRichPadEdit::Paint(TCanvas& Canvas, const TRect& Clip) {
    TCustomRichPad::Paint(Canvas, Clip);
    TRPEditRPData* d = EditData();
    if (!Style()) return;
    if (d->Resizer && d->Resizer->Dragging) d->Resizer->DrawRubber(Canvas, d->GetHOffs(), d->GetVOffs());
    if (m_dropData && m_dropItemNo >= 0) {
        PaintDragDropCaret(Canvas);
        return;
    }
    PaintCaret(Canvas);
}

void TCustomRichPadEdit::PaintDragDropCaret(TCanvas& Canvas) {
    // Where a drop would insert: short dotted strokes on every even row that
    // invert what lies under them, so they show on any background.
    // It stands in the document under the point, this one or a table cell's.
    TRPEditRPData* d = EditData();
    TCustomRPFormattedData* doc = m_dropData;
    if (!doc || !HoldsDocument(*d, doc) || m_dropItemNo >= doc->GetItemCount()) return;
    int dItem = -1, dOffs = 0;
    doc->ItemToDrawItemPos(m_dropItemNo, m_dropOffs, dOffs, dItem);
    if (dItem < 0) return;
    int ox = 0, oy = 0;
    if (doc != d) doc->GetOrigin(ox, oy);
    const TRPDrawLineInfo* di = doc->DrawItem(dItem);
    const int x = doc->DrawPosX(dItem, dOffs) + ox - d->GetHOffs();
    const int top = di->Top + oy - d->GetVOffs(), bottom = top + di->Height;
    TPen& pen = *Canvas.Pen();
    pen.SetMode(pmNot);
    pen.SetWidth(1);
    pen.SetStyle(psDot);
    Canvas.Brush()->SetStyle(bsClear);
    // Only the rows in the client area: beside a table the caret may be
    // millions of pixels high.
    const int from = std::max(top, 0), to = std::min(bottom, ClientHeight());
    for (int y = from + (from & 1); y <= to; y += 2) {
        Canvas.MoveTo(x, y);
        Canvas.LineTo(x + 2, y);
    }
    pen.SetStyle(psSolid);
    pen.SetMode(pmCopy);
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

// Dragging the selection out of a view or an editor.
#include <QApplication>
#include <QDrag>
#include <QImage>
#include <QMimeData>
#include <QWidget>

#include <cstdlib>

#include "platform/Pictures.h"
#include "richtext/model/RPClipFormats.h"
#include "richtext/view/RichPad.h"

std::unique_ptr<QMimeData> TCustomRichPad::CreateDragData() {
    TRichPadRPData* d = RPData();
    auto mime = std::make_unique<QMimeData>();
    RPRegisterClipboardFormats();
    const std::string block = d->GetSelRPFBlock(EffectiveColor(), Background.get());
    mime->setData(RPClipboardMimeType(RPClipboardFormatRPF),
                  QByteArray(block.data(), static_cast<qsizetype>(block.size())));
    std::string rtf;
    if (SaveRTFToStream(rtf, true)) {
        const QByteArray bytes(rtf.data(), static_cast<qsizetype>(rtf.size()));
        mime->setData(QStringLiteral("text/rtf"), bytes);
        mime->setData(QStringLiteral("application/rtf"), bytes);
    }
    mime->setText(d->GetSelText());
    if (TGraphic* g = d->GetSelectedImage()) {
        const QImage image = g->ToImage();
        if (!image.isNull()) mime->setImageData(image);
        // A metafile travels as itself too, for programs that take drawings.
        if (const auto* meta = dynamic_cast<const TMetafile*>(g))
            mime->setData(meta->MimeType(), meta->SaveToStream());
    }
    return mime;
}

void TCustomRichPad::StartDragSelection() {
    TRichPadRPData* d = RPData();
    d->State &= ~rpstDragPending;
    if (!d->SelectionExists(false, false) || !Widget() || (d->State & rpstDragging)) return;
    auto* drag = new QDrag(Widget());
    drag->setMimeData(CreateDragData().release());
    d->State |= rpstDragging;
    d->State &= ~rpstDroppedIntoItself;
    const int effects = AllowedDragEffects();
    const Qt::DropActions allowed = (effects & 2) ? Qt::CopyAction | Qt::MoveAction : Qt::CopyAction;
    const Qt::DropAction done = drag->exec(allowed, (effects & 2) ? Qt::MoveAction : Qt::CopyAction);
    d->State &= ~rpstDragging;
    DoneDragging(done == Qt::MoveAction ? 2 : done == Qt::CopyAction ? 1 : 0);
}

bool TCustomRichPad::DragPendingMove(TShiftState Shift, int X, int Y) {
    TRichPadRPData* d = RPData();
    if (!(d->State & rpstDragPending)) return false;
    if (!(Shift & ssLeft)) {
        d->State &= ~rpstDragPending;
        return false;
    }
    if (std::abs(X - m_pressX) + std::abs(Y - m_pressY) >= QApplication::startDragDistance())
        StartDragSelection();
    return true;
}

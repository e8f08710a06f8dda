#include "richtext/model/RPControlImages.h"

#include <QPainter>
#include <QWidget>

#include "platform/ControlsStd.h"
#include "platform/Forms.h"
#include "platform/Pictures.h"

namespace {

// The control paints itself (its own painting code, or Qt's rendering of its widget).
void PaintTo(TControl* Control, TCanvas& Canvas, int X, int Y) {
    QPainter* p = Canvas.Painter();
    if (!p) return;
    if (Control->OwnPaint()) {
        p->save();
        p->translate(X, Y);
        p->setClipRect(0, 0, Control->Width(), Control->Height());
        Control->PaintWidget(*p);
        p->restore();
    } else if (QWidget* w = Control->Widget()) {
        w->resize(Control->Width(), Control->Height());
        w->render(p, QPoint(X, Y), QRegion(), QWidget::DrawWindowBackground);
    }
}

// Two rings of edge lines; each pair is top-left then bottom-right.
void DrawEdges(TCanvas& Canvas, TRect& R, const TColor (&Colors)[4]) {
    for (int ring = 0; ring < 2; ++ring) {
        Canvas.Pen()->SetWidth(1);
        Canvas.Pen()->SetStyle(psSolid);
        Canvas.Pen()->SetColor(Colors[ring * 2]);
        Canvas.MoveTo(R.Left, R.Bottom - 1);
        Canvas.LineTo(R.Left, R.Top);
        Canvas.LineTo(R.Right - 1, R.Top);
        Canvas.Pen()->SetColor(Colors[ring * 2 + 1]);
        Canvas.LineTo(R.Right - 1, R.Bottom - 1);
        Canvas.LineTo(R.Left - 1, R.Bottom - 1);
        InflateRect(R, -1, -1);
    }
}

} // namespace

std::unique_ptr<TBitmap> MakeControlBitmap(TControl* Control) {
    if (!Control) return std::make_unique<TBitmap>();
    return std::make_unique<TBitmap>(Control->Width(), Control->Height());
}

std::unique_ptr<TBitmap> GetControlImage(TControl* Control) {
    std::unique_ptr<TBitmap> b = MakeControlBitmap(Control);
    if (Control) DrawControlImage(Control, *b->Canvas(), 0, 0);
    return b;
}

void DrawControlImage(TControl* Control, TCanvas& Canvas, int X, int Y) {
    if (!Control) return;
    if (auto* b = dynamic_cast<TButton*>(Control))
        DrawButtonImage(b, Canvas, X, Y);
    else if (auto* e = dynamic_cast<TEdit*>(Control))
        DrawEditImage(e, Canvas, X, Y);
    else if (auto* m = dynamic_cast<TMemo*>(Control))
        DrawMemoImage(m, Canvas, X, Y);
    else if (auto* p = dynamic_cast<TPanel*>(Control))
        DrawPanelImage(p, Canvas, X, Y);
    else if (dynamic_cast<TWinControl*>(Control))
        PaintTo(Control, Canvas, X, Y);
    // A control without a window of its own draws nothing.
}

void DrawButtonImage(TButton* Button, TCanvas& Canvas, int X, int Y) {
    TRect r = Bounds(X, Y, Button->Width(), Button->Height());
    Canvas.Brush()->SetStyle(bsSolid);
    Canvas.Brush()->SetColor(clBtnFace);
    Canvas.FillRect(r);
    TRect edge = r;
    DrawEdges(Canvas, edge, {clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow});
    Canvas.SetFont(*Button->Font());
    Canvas.Brush()->SetStyle(bsClear);
    const QString s = Button->Caption();
    const TSize sz = Canvas.TextExtent(s);
    Canvas.TextRect(r, r.Left + (r.Width() - sz.cx) / 2, r.Top + (r.Height() - sz.cy) / 2, s);
}

void DrawEditFrame(TCanvas& Canvas, TRect& R, int Color, bool HasBorder, bool Ctl3D) {
    Canvas.Brush()->SetStyle(bsSolid);
    Canvas.Brush()->SetColor(Color);
    Canvas.FillRect(R);
    if (HasBorder) {
        if (!Ctl3D) {
            Canvas.Pen()->SetColor(clWindowFrame);
            Canvas.Pen()->SetWidth(1);
            Canvas.Pen()->SetStyle(psSolid);
            Canvas.Rectangle(R);
            InflateRect(R, -1, -1);
        } else {
            DrawEdges(Canvas, R, {clBtnShadow, clBtnHighlight, cl3DDkShadow, cl3DLight});
        }
    }
    InflateRect(R, -1, -1);
}

void DrawEditImage(TEdit* Edit, TCanvas& Canvas, int X, int Y) {
    TRect r = Bounds(X, Y, Edit->Width(), Edit->Height());
    // Edits here always have the single, sunken border.
    DrawEditFrame(Canvas, r, Edit->Color(), true, true);
    Canvas.SetFont(*Edit->Font());
    Canvas.Brush()->SetStyle(bsClear);
    QString s = Edit->Text();
    s.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    Canvas.TextRect(r, r.Left, r.Top, s);
}

void DrawMemoImage(TMemo* Memo, TCanvas& Canvas, int X, int Y) {
    TRect r = Bounds(X, Y, Memo->Width(), Memo->Height());
    DrawEditFrame(Canvas, r, Memo->Color(), true, true);
    Canvas.SetFont(*Memo->Font());
    Canvas.Brush()->SetStyle(bsClear);
    // The lines as they stand, one below the other, never wrapped.
    int y = r.Top;
    const TStrings* lines = Memo->Lines();
    for (int i = 0; i < lines->Count() && y < r.Bottom; ++i) {
        const QString s = lines->Strings(i);
        Canvas.TextRect(r, r.Left, y, s);
        y += Canvas.TextHeight(s.isEmpty() ? QStringLiteral("W") : s);
    }
}

void DrawPanelImage(TPanel* Panel, TCanvas& Canvas, int X, int Y) {
    PaintTo(Panel, Canvas, X, Y);
    for (int i = 0; i < Panel->ControlCount(); ++i) {
        TControl* child = Panel->Controls(i);
        DrawControlImage(child, Canvas, X + child->Left(), Y + child->Top());
    }
}

#include "richtext/edit/RPResizer.h"

#include <cmath>
#include <cstdlib>

#include "richtext/model/RPDrawLines.h"
#include "richtext/model/RPItem.h"

namespace {

// Placement shift of each handle for handles inside the item.
constexpr int ShiftX[8] = {3, -3, -3, 3, 0, -3, 0, 3};
constexpr int ShiftY[8] = {3, 3, -3, -3, 3, 0, -3, 0};
constexpr TCursor Cursors[8] = {crSizeNWSE, crSizeNESW, crSizeNWSE, crSizeNESW, crSizeNS, crSizeWE, crSizeNS, crSizeWE};

} // namespace

TRPItemResizer::TRPItemResizer(TRPDrawLineInfo* ADrawItem, int ADrawItemNo, TCustomRPItemInfo* AItem)
    : DrawItem(ADrawItem), DrawItemNo(ADrawItemNo), ItemNo(ADrawItem->ItemNo), Item(AItem) {
    Width = DrawItem->Width;
    Height = DrawItem->Height;
    Rubber = TRect{0, 0, Width, Height};
    if (auto* r = dynamic_cast<TRPRectItemInfo*>(AItem)) Spacing = r->Spacing;
}

void TRPItemResizer::HandlePoint(int Index, int& X, int& Y) const {
    const int w = DrawItem->Width, h = DrawItem->Height;
    switch (Index) {
    case 0: X = 0, Y = 0; break;
    case 1: X = w, Y = 0; break;
    case 2: X = w, Y = h; break;
    case 3: X = 0, Y = h; break;
    case 4: X = w / 2, Y = 0; break;
    case 5: X = w, Y = h / 2; break;
    case 6: X = w / 2, Y = h; break;
    default: X = 0, Y = h / 2; break;
    }
}

void TRPItemResizer::ShiftedPoint(int Index, int& X, int& Y) const {
    HandlePoint(Index, X, Y);
    const int sign = HandlePlacement == 0 ? 1 : HandlePlacement == 1 ? -1 : 0;
    X += sign * ShiftX[Index];
    Y += sign * ShiftY[Index];
}

void TRPItemResizer::DrawHandles(TCanvas& Canvas, int HOffs, int VOffs) const {
    Canvas.Pen()->SetWidth(1);
    Canvas.Pen()->SetColor(clBlack);
    Canvas.Pen()->SetStyle(psSolid);
    Canvas.Brush()->SetStyle(bsClear);
    for (int i = 0; i < 8; ++i) {
        int x = 0, y = 0;
        ShiftedPoint(i, x, y);
        x += DrawItem->Left - HOffs;
        y += DrawItem->Top - VOffs;
        Canvas.Rectangle(x - 3, y - 3, x + 4, y + 4);
    }
}

bool TRPItemResizer::GetHandleAt(int X, int Y, int& Index, int HOffs, int VOffs) const {
    const int x = X + HOffs - DrawItem->Left, y = Y + VOffs - DrawItem->Top;
    for (int i = 0; i < 8; ++i) {
        int hx = 0, hy = 0;
        ShiftedPoint(i, hx, hy);
        if (std::abs(x - hx) <= 3 && std::abs(y - hy) <= 3) {
            Index = i;
            return true;
        }
    }
    return false;
}

TCursor TRPItemResizer::GetHandleCursor(int Index) {
    return Index >= 0 && Index < 8 ? Cursors[Index] : crDefault;
}

bool TRPItemResizer::StartDrag(int X, int Y, int HOffs, int VOffs) {
    int index = 0;
    if (!GetHandleAt(X, Y, index, HOffs, VOffs)) return false;
    Dragging = true;
    Handle = static_cast<uint8_t>(index);
    int hx = 0, hy = 0;
    HandlePoint(index, hx, hy);
    DeltaX = X + HOffs - DrawItem->Left - hx;
    DeltaY = Y + VOffs - DrawItem->Top - hy;
    Rubber = TRect{0, 0, DrawItem->Width, DrawItem->Height};
    Cancelled = false;
    return true;
}

void TRPItemResizer::DragTo(int X, int Y, bool Shift, bool Ctrl, int HOffs, int VOffs) {
    const int W = DrawItem->Width, H = DrawItem->Height;
    const int px = X - DeltaX - (DrawItem->Left - HOffs), py = Y - DeltaY - (DrawItem->Top - VOffs);
    Rubber = TRect{0, 0, W, H};
    const bool left = Handle == 0 || Handle == 3 || Handle == 7;
    const bool right = Handle == 1 || Handle == 2 || Handle == 5;
    const bool top = Handle == 0 || Handle == 1 || Handle == 4;
    const bool bottom = Handle == 2 || Handle == 3 || Handle == 6;
    if (left) Rubber.Left = px;
    if (right) Rubber.Right = px;
    if (top) Rubber.Top = py;
    if (bottom) Rubber.Bottom = py;
    if (Rubber.Right - 1 <= Rubber.Left) {
        if (left) Rubber.Left = Rubber.Right - 2;
        if (right) Rubber.Right = Rubber.Left + 2;
    }
    if (Rubber.Bottom - 1 <= Rubber.Top) {
        if (top) Rubber.Top = Rubber.Bottom - 2;
        if (bottom) Rubber.Bottom = Rubber.Top + 2;
    }
    if (Ctrl) {
        if (left) Rubber.Right = W - Rubber.Left;
        if (top) Rubber.Bottom = H - Rubber.Top;
        if (right) Rubber.Left = W - Rubber.Right;
        if (bottom) Rubber.Top = H - Rubber.Bottom;
    }
    if (!(Shift || IsCornerHandle(Handle))) return;
    const int W0 = W - 2 * Spacing, H0 = H - 2 * Spacing;
    if (W0 < 1 || H0 < 1) return;
    const double kx = static_cast<double>(Rubber.Right - Rubber.Left) / W0;
    const double ky = static_cast<double>(Rubber.Bottom - Rubber.Top) / H0;
    if (kx <= ky) {
        const int d = static_cast<int>(std::lround(W0 * ky)) - (Rubber.Right - Rubber.Left);
        if (Ctrl) {
            Rubber.Left -= d / 2;
            Rubber.Right += d / 2;
        } else if (left) {
            Rubber.Left -= d;
        } else {
            Rubber.Right += d;
        }
    } else {
        const int d = static_cast<int>(std::lround(H0 * kx)) - (Rubber.Bottom - Rubber.Top);
        if (Ctrl) {
            Rubber.Top -= d / 2;
            Rubber.Bottom += d / 2;
        } else if (top) {
            Rubber.Top -= d;
        } else {
            Rubber.Bottom += d;
        }
    }
}

void TRPItemResizer::DrawRubber(TCanvas& Canvas, int HOffs, int VOffs) const {
    Canvas.Pen()->SetWidth(1);
    Canvas.Pen()->SetStyle(psDot);
    Canvas.Pen()->SetColor(clBlack);
    Canvas.Brush()->SetStyle(bsClear);
    const int x = DrawItem->Left - HOffs, y = DrawItem->Top - VOffs;
    Canvas.Rectangle(x + Rubber.Left, y + Rubber.Top, x + Rubber.Right, y + Rubber.Bottom);
    Canvas.Pen()->SetStyle(psSolid);
}

void TRPItemResizer::EndDrag() {
    if (!Cancelled) {
        Width = Rubber.Right - Rubber.Left;
        Height = Rubber.Bottom - Rubber.Top;
    }
    Dragging = Cancelled = false;
}

void TRPItemResizer::CancelDrag() {
    Dragging = false;
    Cancelled = true;
}

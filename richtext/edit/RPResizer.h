#pragma once
// The eight handles around a selected picture: dragging one shows a dotted
// frame; releasing the mouse gives the item the frame's size.
#include <cstdint>

#include "platform/Forms.h"
#include "platform/Graphics.h"

class TRPDrawLineInfo;
class TCustomRPItemInfo;

class TRPItemResizer {
public:
    TRPItemResizer(TRPDrawLineInfo* ADrawItem, int ADrawItemNo, TCustomRPItemInfo* AItem);

    int Width = 0, Height = 0;
    TRPDrawLineInfo* DrawItem;
    int DrawItemNo;
    int ItemNo;
    bool Dragging = false;
    bool Cancelled = false;
    int DeltaX = 0, DeltaY = 0;
    TRect Rubber;
    uint8_t Handle = 0;
    TCustomRPItemInfo* Item;
    uint8_t HandlePlacement = 0; // 0 inside the item, 1 outside, else on the border
    int Spacing = 0;             // twice this is not part of the picture's own size

    void DrawHandles(TCanvas& Canvas, int HOffs, int VOffs) const;
    bool GetHandleAt(int X, int Y, int& Index, int HOffs, int VOffs) const;
    static TCursor GetHandleCursor(int Index);
    bool StartDrag(int X, int Y, int HOffs, int VOffs);
    void DragTo(int X, int Y, bool Shift, bool Ctrl, int HOffs, int VOffs);
    void DrawRubber(TCanvas& Canvas, int HOffs, int VOffs) const;
    void EndDrag();
    void CancelDrag();
    static bool IsCornerHandle(int Index) { return Index < 4; }

private:
    // The handle's point relative to the item, unshifted and shifted.
    void HandlePoint(int Index, int& X, int& Y) const;
    void ShiftedPoint(int Index, int& X, int& Y) const;
};

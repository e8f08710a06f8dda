#pragma once
// Pictures of controls for printing: a control cannot print itself, so the
// control item asks for a bitmap of it. Buttons, edits and memos are drawn
// from their properties, panels with their children; other windowed controls
// paint themselves.
#include <memory>

struct TRect;
class TBitmap;
class TCanvas;
class TControl;
class TButton;
class TEdit;
class TMemo;
class TPanel;

// A new bitmap of the control's size with the control drawn at (0, 0).
std::unique_ptr<TBitmap> GetControlImage(TControl* Control);
// A new bitmap of the control's size, nothing drawn.
std::unique_ptr<TBitmap> MakeControlBitmap(TControl* Control);
// Draws the control with its top-left corner at (X, Y).
void DrawControlImage(TControl* Control, TCanvas& Canvas, int X, int Y);
void DrawButtonImage(TButton* Button, TCanvas& Canvas, int X, int Y);
void DrawEditImage(TEdit* Edit, TCanvas& Canvas, int X, int Y);
void DrawMemoImage(TMemo* Memo, TCanvas& Canvas, int X, int Y);
void DrawPanelImage(TPanel* Panel, TCanvas& Canvas, int X, int Y);
// Background and frame of an edit or memo; R shrinks to the text area.
void DrawEditFrame(TCanvas& Canvas, TRect& R, int Color, bool HasBorder, bool Ctl3D);

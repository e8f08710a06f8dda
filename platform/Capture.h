#pragma once
// Pictures of what the program shows: a control as it is drawn on screen,
// with its children, taken from the control itself (not from the desktop, so
// that windows in front of it do not get into the picture).
#include <QImage>

class TControl;

// The control at its size, 32 bits per pixel; null when it cannot be drawn
// (no widget, or a size of 0).
QImage ControlPicture(const TControl* control);

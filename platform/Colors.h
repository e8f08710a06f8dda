#pragma once
// Colours as the program stores them: 0x00BBGGRR, red in the low byte.
#include <QColor>
#include <cstdint>

using TColor = int32_t;

constexpr TColor RGB(int r, int g, int b) {
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColor c) { return c & 0xFF; }
constexpr int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(TColor c) { return (c >> 16) & 0xFF; }

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

// System colours: 0x80000000 + index.
constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor SysColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }
constexpr TColor clScrollBar = SysColor(0);
constexpr TColor clBackground = SysColor(1);
constexpr TColor clActiveCaption = SysColor(2);
constexpr TColor clInactiveCaption = SysColor(3);
constexpr TColor clMenu = SysColor(4);
constexpr TColor clWindow = SysColor(5);
constexpr TColor clWindowFrame = SysColor(6);
constexpr TColor clMenuText = SysColor(7);
constexpr TColor clWindowText = SysColor(8);
constexpr TColor clCaptionText = SysColor(9);
constexpr TColor clActiveBorder = SysColor(10);
constexpr TColor clInactiveBorder = SysColor(11);
constexpr TColor clAppWorkSpace = SysColor(12);
constexpr TColor clHighlight = SysColor(13);
constexpr TColor clHighlightText = SysColor(14);
constexpr TColor clBtnFace = SysColor(15);
constexpr TColor clBtnShadow = SysColor(16);
constexpr TColor clGrayText = SysColor(17);
constexpr TColor clBtnText = SysColor(18);
constexpr TColor clInactiveCaptionText = SysColor(19);
constexpr TColor clBtnHighlight = SysColor(20);
constexpr TColor cl3DDkShadow = SysColor(21);
constexpr TColor cl3DLight = SysColor(22);
constexpr TColor clInfoText = SysColor(23);
constexpr TColor clInfoBk = SysColor(24);
constexpr TColor clHotLight = SysColor(26);
constexpr TColor clGradientActiveCaption = SysColor(27);
constexpr TColor clGradientInactiveCaption = SysColor(28);
constexpr TColor clMenuHighlight = SysColor(29);
constexpr TColor clMenuBar = SysColor(30);

// Resolves system colours through a fixed table (never the desktop theme);
// clNone and clDefault give black. Plain colours come back unchanged.
TColor ColorToRGB(TColor c);
// The Qt colour of a (resolved) colour.
QColor ToQColor(TColor c);
TColor FromQColor(const QColor& c);

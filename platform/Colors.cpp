#include "platform/Colors.h"

#include <array>

namespace {
// The classic system palette, so output never depends on the desktop.
constexpr std::array<TColor, 31> kSystem = {
    RGB(212, 208, 200), // 0 scroll bar
    RGB(58, 110, 165),  // 1 background
    RGB(10, 36, 106),   // 2 active caption
    RGB(128, 128, 128), // 3 inactive caption
    RGB(212, 208, 200), // 4 menu
    RGB(255, 255, 255), // 5 window
    RGB(0, 0, 0),       // 6 window frame
    RGB(0, 0, 0),       // 7 menu text
    RGB(0, 0, 0),       // 8 window text
    RGB(255, 255, 255), // 9 caption text
    RGB(212, 208, 200), // 10 active border
    RGB(212, 208, 200), // 11 inactive border
    RGB(128, 128, 128), // 12 app work space
    RGB(10, 36, 106),   // 13 highlight
    RGB(255, 255, 255), // 14 highlight text
    RGB(212, 208, 200), // 15 button face
    RGB(128, 128, 128), // 16 button shadow
    RGB(128, 128, 128), // 17 grey text
    RGB(0, 0, 0),       // 18 button text
    RGB(212, 208, 200), // 19 inactive caption text
    RGB(255, 255, 255), // 20 button highlight
    RGB(64, 64, 64),    // 21 3-D dark shadow
    RGB(212, 208, 200), // 22 3-D light
    RGB(0, 0, 0),       // 23 info text
    RGB(255, 255, 225), // 24 info background
    RGB(181, 181, 181), // 25 (unused)
    RGB(0, 0, 128),     // 26 hot light
    RGB(166, 202, 240), // 27 gradient active caption
    RGB(192, 192, 192), // 28 gradient inactive caption
    RGB(49, 106, 197),  // 29 menu highlight
    RGB(236, 233, 216), // 30 menu bar
};
} // namespace

TColor ColorToRGB(TColor c) {
    if (c == clNone || c == clDefault)
        return clBlack;
    if (static_cast<uint32_t>(c) & 0x80000000u) {
        uint32_t index = static_cast<uint32_t>(c) & 0xFF;
        return index < kSystem.size() ? kSystem[index] : clBlack;
    }
    return c & 0x00FFFFFF;
}

QColor ToQColor(TColor c) {
    TColor r = ColorToRGB(c);
    return QColor(GetRValue(r), GetGValue(r), GetBValue(r));
}

TColor FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

#include "drawing/Bildzugang.h"

#include "platform/ControlsExt.h"

#include <cmath>

namespace {

int Begrenzt(double r) {
    if (std::isnan(r)) return 0;
    if (r >= 2147483647.0) return 2147483647;
    if (r <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(r);
}

} // namespace

TCanvas* Leinwand(TImage* Bild) {
    return Bild ? Bild->Canvas() : nullptr;
}

// A scaled window enlarges the control, but its picture keeps the size that
// was drawn for.
int BildBreite(const TImage* Bild) {
    if (!Bild) return 0;
    return Bild->Picture()->Empty() ? Bild->DrawingWidth() : Bild->Picture()->Width();
}

int BildHoehe(const TImage* Bild) {
    if (!Bild) return 0;
    return Bild->Picture()->Empty() ? Bild->DrawingHeight() : Bild->Picture()->Height();
}

int Naechste(double v) {
    return Begrenzt(std::nearbyint(v));
}

int Ganzteil(double v) {
    return Begrenzt(std::trunc(v));
}

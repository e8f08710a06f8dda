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

int BildBreite(const TImage* Bild) {
    return Bild ? Bild->Width() : 0;
}

int BildHoehe(const TImage* Bild) {
    return Bild ? Bild->Height() : 0;
}

int Naechste(double v) {
    return Begrenzt(std::nearbyint(v));
}

int Ganzteil(double v) {
    return Begrenzt(std::trunc(v));
}

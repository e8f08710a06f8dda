#pragma once
// A picture control of a given size, white, for pixel tests of the drawing routines.
#include "drawing/UZeichnen1.h"

#include "platform/ControlsExt.h"
#include "platform/Graphics.h"
#include "platform/Pictures.h"

#include <memory>

class Testbild {
public:
    Testbild(int Breite, int Hoehe) : m_bild(std::make_unique<TImage>(nullptr)) {
        m_bild->SetBounds(0, 0, Breite, Hoehe);
        BildFuellen(255, 255, 255, m_bild.get());
    }
    TImage* get() const { return m_bild.get(); }
    TCanvas* Canvas() const { return m_bild->Canvas(); }
    TColor Pixel(int x, int y) const { return m_bild->Canvas()->Pixel(x, y); }
    // Pixels that are not white.
    int Gefaerbt() const {
        int n = 0;
        for (int y = 0; y < m_bild->Height(); ++y)
            for (int x = 0; x < m_bild->Width(); ++x)
                if (Pixel(x, y) != clWhite) ++n;
        return n;
    }
    QImage Kopie() const { return m_bild->Picture()->Bitmap()->Image().copy(); }

private:
    std::unique_ptr<TImage> m_bild;
};

#include "exercises/chapter3/UZqK3_1B1.h"

#include "drawing/Bildzugang.h"
#include "drawing/UZeichnen1.h"
#include "platform/Runtime.h"

TSpiegelZustand ZqK3_1B1;

namespace {

constexpr int Einheit = 25;

struct TPunktDaten {
    int Nr;
    const char* Name;
    int Farbe;
    int Px, Py, Sx, Sy;
    bool Unten;
};

struct TAufgabenDaten {
    int ax1, ay1, ax2, ay2;
    TPunktDaten Punkte[12];
    int PunktAnzahl;
    int Strecken[10][2];
    int StreckenAnzahl;
};

const TAufgabenDaten Aufgaben[7] = {
    {0, 8, 0, -8,
     {{0, "B", 1, -10, 6, 10, 6, false},
      {1, "A", 1, -3, 6, 3, 6, false},
      {2, "D", 1, -3, -6, 3, -6, true},
      {3, "C", 1, -10, -6, 10, -6, true}},
     4, {{0, 1}, {1, 2}, {2, 3}, {3, 0}}, 4},
    {0, 8, 0, -8,
     {{0, "A", 2, -7, 5, 7, 5, false}, {1, "B", 3, -12, -5, 12, -5, true}, {2, "C", 4, -2, -5, 2, -5, true}},
     3, {{0, 1}, {1, 2}, {2, 0}}, 3},
    {-14, 0, 14, 0,
     {{0, "A", 1, 8, 6, 8, -6, false},
      {1, "B", 2, -7, 6, -7, -6, false},
      {2, "C", 3, -7, 3, -7, -3, true},
      {3, "D", 4, 8, 3, 8, -3, true}},
     4, {{0, 1}, {1, 2}, {2, 3}, {3, 0}}, 4},
    {-14, 0, 14, 0,
     {{0, "A", 1, 7, 0, 7, 0, false},
      {1, "B", 1, 2, 2, 2, -2, false},
      {2, "C", 1, 0, 7, 0, -7, false},
      {3, "D", 1, -2, 2, -2, -2, false},
      {4, "E", 1, -7, 0, -7, 0, false}},
     5, {{0, 1}, {1, 2}, {2, 3}, {3, 4}}, 4},
    {0, 8, 0, -8,
     {{0, "A", 4, 3, 5, -3, 5, false},
      {1, "B", 2, 1, -5, -1, -5, true},
      {2, "C", 1, 9, -6, -9, -6, true},
      {3, "D", 3, 6, 2, -6, 2, false}},
     4, {{0, 1}, {1, 2}, {2, 3}, {3, 0}}, 4},
    {-14, 0, 14, 0,
     {{0, "A", 2, 0, -1, 0, 1, false},
      {1, "E", 1, 3, -2, 3, 2, false},
      {2, "D", 4, 2, -5, 2, 5, true},
      {3, "C", 3, -2, -5, -2, 5, true},
      {4, "B", 1, -3, -2, -3, 2, false}},
     5, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 0}}, 5},
    {0, 8, 0, -8,
     {{0, "A", 2, -3, 5, 3, 5, false},
      {1, "B", 2, -5, 2, 5, 2, true},
      {2, "C", 2, -1, 2, 1, 2, true},
      {3, "D", 4, 0, -3, 0, -3, false},
      {4, "E", 4, 1, -3, -1, -3, false},
      {5, "F", 4, 0, 1, 0, 1, false},
      {6, "G", 3, 0, -5, 0, -5, false},
      {7, "H", 3, 4, -4, -4, -4, false},
      {8, "I", 1, 0, -6, 0, -6, false},
      {9, "J", 1, 6, -6, -6, -6, false},
      {10, "K", 1, 6, 7, -6, 7, false},
      {11, "L", 1, 0, 7, 0, 7, false}},
     12, {{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5}, {6, 7}, {8, 9}, {9, 10}, {10, 11}}, 9},
};

void Farbteile(TColor c, int& R, int& G, int& B) {
    R = int(c & 0xFF);
    G = int((c >> 8) & 0xFF);
    B = int((c >> 16) & 0xFF);
}

} // namespace

TColor StiftFarbe(int k) {
    switch (k) {
    case 1: return RGB(0, 0, 0);
    case 2: return RGB(50, 160, 255);
    case 3: return RGB(200, 0, 0);
    case 4: return RGB(0, 130, 0);
    default: return RGB(0, 0, 0);
    }
}

TZqK3_1B1::TZqK3_1B1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK3_1B1"));
    SetCaption(QStringLiteral("Abschnitt 3.1   Übung 2"));
    Label1 = Titel(this, QStringLiteral("Spiegele die Figur an der rot dargestellten Achse"));
    Image1 = Bild(this, nullptr, QStringLiteral("Image1"), 0, 32, 777, 465);
    Image1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        Image1MouseDown(s, b, sh, x, y);
    };
    Image1->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        Image1MouseUp(s, b, sh, x, y);
    };
    TShape** Formen[4] = {&Shape1, &Shape2, &Shape3, &Shape4};
    for (int k = 0; k < 4; ++k) {
        auto* s = new TShape(this);
        s->SetName(QStringLiteral("Shape%1").arg(k + 1));
        s->SetParent(B_ScrollBox);
        s->SetBounds(8 + 80 * k, 508, 65, 33);
        s->OnMouseDown = [this](TObject* Sender, TMouseButton, TShiftState, int, int) { Shape1MouseDown(Sender); };
        *Formen[k] = s;
    }
    Panel2 = Feld(this, nullptr, QStringLiteral("Panel2"), 340, 504, 437, 52, 8454143);
    Label2 = Beschriftung(this, Panel2, QStringLiteral("Label2"),
                          QStringLiteral("Wähle eine Stiftfarbe und klicke mit der Maus\r"
                                         "auf die Position des Spiegelpunktes."),
                          8, 4);
}

TShape* TZqK3_1B1::Stiftform(int k) const {
    switch (k) {
    case 1: return Shape1;
    case 2: return Shape2;
    case 3: return Shape3;
    case 4: return Shape4;
    default: return nullptr;
    }
}

int TZqK3_1B1::PixelX(int x) const {
    return ZqK3_1B1.x0 + Einheit * x;
}

int TZqK3_1B1::PixelY(int y) const {
    return ZqK3_1B1.y0 - Einheit * y;
}

void TZqK3_1B1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK3_1B1.Nr = 0;
    NeueAufgabe();
}

void TZqK3_1B1::NeueAufgabe() {
    Aufgabenanzahl = 7;
    TAufgabeg::NeueAufgabe();
    TSpiegelZustand& Z = ZqK3_1B1;
    for (int k = 1; k <= 4; ++k)
        Stiftform(k)->Brush()->SetColor(StiftFarbe(k));
    Z.Stift = 1;
    Z.x0 = BildBreite(Image1) / 2;
    Z.y0 = BildHoehe(Image1) / 2;
    Z.Nr = Z.Nr >= 7 ? 1 : Z.Nr + 1;
    for (tSpiegelPunkt& p : Z.P) {
        p.NameOben = true;
        p.Gezeigt = false;
        p.Gefunden = false;
    }
    for (auto& Zeile : Z.Strecke)
        for (bool& s : Zeile)
            s = false;
    StiftWaehlen(1);
    AufgabeLaden();
    FigurZeichnen();
}

void TZqK3_1B1::AufgabeLaden() {
    TSpiegelZustand& Z = ZqK3_1B1;
    if (Z.Nr < 1 || Z.Nr > 7) return;
    const TAufgabenDaten& A = Aufgaben[Z.Nr - 1];
    Z.ax1 = A.ax1;
    Z.ay1 = A.ay1;
    Z.ax2 = A.ax2;
    Z.ay2 = A.ay2;
    for (int i = 0; i < A.PunktAnzahl; ++i) {
        const TPunktDaten& d = A.Punkte[i];
        tSpiegelPunkt& p = Z.P[d.Nr];
        p.Px = d.Px;
        p.Py = d.Py;
        p.Sx = d.Sx;
        p.Sy = d.Sy;
        p.Gezeigt = true;
        p.Farbe = d.Farbe;
        p.Name = QString::fromLatin1(d.Name);
        p.NameOben = !d.Unten;
    }
    for (int s = 0; s < A.StreckenAnzahl; ++s)
        Z.Strecke[A.Strecken[s][0]][A.Strecken[s][1]] = true;
}

void TZqK3_1B1::Shape1MouseDown(TObject* Sender) {
    for (int k = 1; k <= 4; ++k)
        if (Sender == Stiftform(k)) StiftWaehlen(k);
}

void TZqK3_1B1::StiftWaehlen(int k) {
    if (k < 1 || k > 4) return;
    for (int j = 1; j <= 4; ++j) {
        TShape* s = Stiftform(j);
        s->Pen()->SetColor(j == k ? RGB(255, 0, 0) : RGB(0, 0, 0));
        s->Pen()->SetWidth(j == k ? 3 : 1);
        s->Invalidate();
    }
    ZqK3_1B1.Stift = k;
}

void TZqK3_1B1::FigurZeichnen() {
    TSpiegelZustand& Z = ZqK3_1B1;
    TCanvas* c = Image1->Canvas();
    BildFuellen(255, 255, 255, Image1);
    KaroGitterZeichnen(Z.x0, Z.y0, 0, 0, Einheit, Einheit, 200, 200, 200, Image1);
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 12; ++j)
            if (Z.Strecke[i][j]) Z.Strecke[j][i] = true;
    c->Pen()->SetWidth(2);
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 12; ++j) {
            if (!Z.Strecke[i][j]) continue;
            const tSpiegelPunkt& a = Z.P[i];
            const tSpiegelPunkt& b = Z.P[j];
            if (a.Gezeigt && b.Gezeigt)
                LinieZeichnen(PixelX(a.Px), PixelY(a.Py), PixelX(b.Px), PixelY(b.Py), 0, 0, 0, false, Image1);
            if (a.Gefunden && b.Gefunden)
                LinieZeichnen(PixelX(a.Sx), PixelY(a.Sy), PixelX(b.Sx), PixelY(b.Sy), 0, 0, 0, false, Image1);
        }
    c->Pen()->SetWidth(1);
    const bool AchseSenkrecht = Z.ax1 == Z.ax2;
    int Gezeigt = 0, Gefunden = 0;
    for (const tSpiegelPunkt& p : Z.P) {
        int R, G, B;
        Farbteile(StiftFarbe(p.Farbe), R, G, B);
        if (p.Gezeigt) {
            ++Gezeigt;
            PunktZeichnen(PixelX(p.Px), PixelY(p.Py), R, G, B, Image1);
            TextAusgebenLokal(PixelX(p.Px), PixelY(p.Py) + (p.NameOben ? -12 : 12), R, G, B, 255, 255, 255,
                              p.Name, 'T', 16, true, true, Image1);
        }
        if (p.Gefunden) {
            ++Gefunden;
            const bool Oben = AchseSenkrecht ? p.NameOben : !p.NameOben;
            PunktZeichnen(PixelX(p.Sx), PixelY(p.Sy), R, G, B, Image1);
            TextAusgebenLokal(PixelX(p.Sx), PixelY(p.Sy) + (Oben ? -12 : 12), R, G, B, 255, 255, 255,
                              p.Name + QStringLiteral("'"), 'T', 16, true, true, Image1);
        }
    }
    c->Pen()->SetWidth(3);
    LinieZeichnen(PixelX(Z.ax1), PixelY(Z.ay1), PixelX(Z.ax2), PixelY(Z.ay2), 255, 0, 0, false, Image1);
    c->Pen()->SetWidth(1);
    if (Gezeigt == Gefunden)
        TextAusgebenLokal(Z.x0, 14, 0, 130, 0, 255, 255, 255, QStringLiteral("Sehr gut gemacht, weiter so."), 'T',
                          24, true, true, Image1);
    Image1->Invalidate();
}

void TZqK3_1B1::Image1MouseDown(TObject*, TMouseButton, TShiftState, int X, int Y) {
    TSpiegelZustand& Z = ZqK3_1B1;
    const int gy = static_cast<int>(Round(double(Z.y0 - Y) / Einheit));
    const int gx = static_cast<int>(Round(double(X - Z.x0) / Einheit));
    bool Getroffen = false;
    for (tSpiegelPunkt& p : Z.P) {
        if (!p.Gezeigt || p.Sx != gx || p.Sy != gy) continue;
        Getroffen = true;
        if (Z.Stift == p.Farbe) {
            p.Gefunden = true;
            FigurZeichnen();
        } else {
            TextAusgebenLokal(Z.x0, 20, 0, 0, 0, 255, 255, 255, QStringLiteral("Position stimmt. Falsche Stiftfarbe."),
                              'T', 24, true, true, Image1);
            Image1->Invalidate();
        }
    }
    if (!Getroffen) {
        TextAusgebenLokal(Z.x0, 20, 0, 0, 0, 255, 255, 255, QStringLiteral("Falsche Position."), 'T', 24, true,
                          true, Image1);
        Image1->Invalidate();
    }
}

void TZqK3_1B1::Image1MouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    // The message of the click stays readable for a while; a form closed
    // meanwhile is not drawn on.
    if (!Warten(3000, this)) return;
    FigurZeichnen();
}

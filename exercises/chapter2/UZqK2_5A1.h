#pragma once
// Paying at the shop counter: the pupil clicks coins and notes from the tray onto
// the counter until the price of the product is paid.
#include "exercises/chapter1/UAufgabenmuster.h"

#include <array>

// One coin or note of the tray.
struct TGeldstueck {
    const char* Tablett; // the clickable tray image
    int Cent;            // its value; amounts are whole cents throughout
    int Links, Oben, Breite, Hoehe;
    int Bildnummer; // coins: Image1 .. Image8; notes: 5, 10, 20, 50
    bool Schein;
    int ThekeX, ThekeY; // place on the counter
    bool Gedreht;
    double Winkel; // degrees, clockwise on the screen
};

constexpr int GeldstueckAnzahl = 19;
constexpr int MuenzAnzahl = 11;
extern const std::array<TGeldstueck, GeldstueckAnzahl> Geldstuecke;

struct TBezahlZustand {
    int Produkt = 0;
    int Preis = 0;      // cents
    int Fehlbetrag = 0; // cents: price less what lies on the counter
    std::array<bool, GeldstueckAnzahl> AufTheke{};
};
extern TBezahlZustand ZqK2_5A1;

struct TGeldAnsicht;

// The amount of a verdict (whole cents): whole euros without decimals, else two
// decimals with the decimal comma.
QString GeldBetragText(long long Cent);

class TZqK2_5A1 : public TAufgabeg {
public:
    explicit TZqK2_5A1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK2_5A1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void Image1CentClick(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void ProduktSetzen();
    int ThekenBetrag() const; // cents
    void ThekeZeichnen();

    TLabel* Label1 = nullptr;
    TImage* BildTheke = nullptr;
    TImage* Bild = nullptr;
    TImage* BildSichtbar = nullptr;
    TPanel* Panel3 = nullptr;
    TImage* Produktbild = nullptr;
    TPanel* Panel1 = nullptr;
    TStaticText* StaticText1 = nullptr;
    TStaticText* StaticText2 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TCheckBox* CheckBox2 = nullptr;
    std::array<TImage*, GeldstueckAnzahl> Tablett{}; // Image1Cent .. Image50EuroN in table order
    std::array<TImage*, 8> Muenzbild{};              // Image1 .. Image8
    std::array<TImage*, 8> MuenzGrau{};              // Image1CentG .. Image2EuroG
    std::array<TImage*, 4> Schein{};                 // Image5Euro1 .. Image50Euro1
    std::array<TImage*, 4> ScheinGrau{};             // Image5Euro2 .. Image50Euro2
    std::array<TImage*, 12> Produktbilder{};         // ImageP1 .. ImageP12

private:
    TGeldAnsicht Ansicht() const;
};

// The pictures both money forms draw the pieces with.
struct TGeldAnsicht {
    std::array<TImage*, GeldstueckAnzahl> Tablett{}; // the tray pieces in table order
    std::array<TImage*, 8> Muenzbild{};
    std::array<TImage*, 8> MuenzGrau{};
    std::array<TImage*, 4> Schein{};
    std::array<TImage*, 4> ScheinGrau{};
    TImage* BildTheke = nullptr;    // the empty counter
    TImage* Bild = nullptr;         // drawn off screen ...
    TImage* BildSichtbar = nullptr; // ... then shown here
};

// Greys the tray pieces that lie on the counter and draws the counter with
// them: notes first, then coins, in their covering order; the colour r, g, b
// fills around the tray pieces.
void GeldZeichnen(const TGeldAnsicht& A, const std::array<bool, GeldstueckAnzahl>& Auf, int r, int g, int b);
// Makes the grey copies of the notes and of the tray coins anew and lays the
// coloured notes into the tray.
void GrauKopienErneuern(const TGeldAnsicht& A);
// A hidden picture of the given size that a money form composes in.
TImage* GeldBild(TAufgabeg* Form, const QString& Name, int Breite, int Hoehe);
// The hidden pictures both money forms draw with: the empty counter, the work
// picture, the coins and notes and their grey copies.
void GeldBilderAnlegen(TAufgabeg* Form, TImage*& BildTheke, TImage*& Bild, std::array<TImage*, 8>& Muenzbild,
                       std::array<TImage*, 8>& MuenzGrau, std::array<TImage*, 4>& Schein,
                       std::array<TImage*, 4>& ScheinGrau);

// Draws the whole of Quelle into the parallelogram with the corners P0 (top
// left), P1 (top right) and P2 (bottom left) of Ziel.
void ParallelogrammZeichnen(TCanvas* Ziel, const TPoint& P0, const TPoint& P1, const TPoint& P2,
                            const QImage& Quelle);

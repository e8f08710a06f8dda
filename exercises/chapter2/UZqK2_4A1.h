#pragma once
// The balance: the pupil puts weight pieces on the right pan until the beam is
// level with the good on the left pan.
#include "exercises/chapter1/UAufgabenmuster.h"

#include <array>

class TTimer;

constexpr int GewichtAnzahl = 9;
// Masses in grams, in the order of the set (5 g first, 500 g last).
constexpr std::array<int, GewichtAnzahl> GewichtMassen = {5, 10, 20, 20, 50, 100, 200, 200, 500};

struct TWaagenZustand {
    std::array<bool, GewichtAnzahl> AufSchale{};
    double Winkel = 0; // degrees; positive turns the right end down
    int Zielmasse = 0; // grams
    int Ware = 0;      // 1..16, 0 before the first task
};
extern TWaagenZustand ZqK2_4A1;

int GewichteSumme(const std::array<bool, GewichtAnzahl>& AufSchale);

// One timer tick: the beam moves half a degree towards the heavier side, never
// beyond +-10 degrees, and settles at 0 when Masse equals Ziel. True when the
// angle changed.
bool WaagebalkenSchritt(int Masse, int Ziel, double& Winkel);
// The verdict under the balance for the masses on both pans.
QString WaagenUrteil(int Masse, int Ziel);

// "750 g", "1.105 kg", "2 t": the label of a weight piece.
QString GewichtBeschriftung(int Masse);
// A weight piece labelled with its mass (black, bold Arial).
void GewichtMitMasseZeichnen(int x, int y, int Masse, int R, int G, int B, double Faktor, int Schriftgroesse,
                             TImage* Bild);

// The moving parts of the balance in an image of width W and height H.
struct TWaagenGeometrie {
    TPoint Drehpunkt;
    std::array<TPoint, 4> Balken;
    TPoint Rechts, Links; // hangers
};
TWaagenGeometrie WaagenGeometrie(int W, int H, double Winkel);

// The nine pictures in one row above their buttons, whose tops are at Oben.
void GewichtsatzAnlegen(TAufgabeg* Form, int Oben, std::array<TBitBtn*, GewichtAnzahl>& Knoepfe,
                        std::array<TImage*, GewichtAnzahl>& Bilder, const TNotifyEvent& Klick);
// The balance image up to the left pan's load: pictures of the set, post, beam,
// plates and the pieces on the right pan.
TWaagenGeometrie WaageOhneLastZeichnen(TImage* Waage, const std::array<TImage*, GewichtAnzahl>& Bilder,
                                       const std::array<bool, GewichtAnzahl>& AufSchale, double Winkel);
// The four cords, dotted, last so that they cross the loads.
void SchnuereZeichnen(const TWaagenGeometrie& g, TImage* Waage);
void KnoepfeBeschriften(const std::array<TBitBtn*, GewichtAnzahl>& Knoepfe,
                        const std::array<bool, GewichtAnzahl>& AufSchale);
// The white verdict text over the top of the balance image.
TStaticText* WaagenText(TAufgabeg* Form, int Oben);

class TZqK2_4A1 : public TAufgabeg {
public:
    explicit TZqK2_4A1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK2_4A1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void BitBtn2Click(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void WareEinstellen();
    void WaageZeichnen();
    void GewichtKnoepfeBeschriften();

    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TImage* Image9 = nullptr;
    TStaticText* Label4 = nullptr;
    TPanel* Panel2 = nullptr;
    TTimer* Timer1 = nullptr;
    // In the order of the set: BitBtn10, BitBtn9, ..., BitBtn2 and
    // Image10, Image1, ..., Image8.
    std::array<TBitBtn*, GewichtAnzahl> Knoepfe{};
    std::array<TImage*, GewichtAnzahl> Gewichtbilder{};
    std::array<TImage*, 16> ImageP{};
};

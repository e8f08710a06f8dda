#pragma once
// Converting a quantity given in the smaller of two units into mixed notation
// (10 300 m = 10 km and 300 m), for lengths, money, areas, volumes, weights and
// the time between two clocks.
#include "exercises/chapter1/UAufgabenmuster.h"

#include <array>

struct TUmwandelnZustand {
    long long a = 0, b = 0;   // expected larger and smaller part
    long long f1 = 1, f2 = 1; // factors of the smaller and the larger unit
    bool OhneRest = false;
    bool ErsterVersuch = false;
    int Richtig = 0, Falsch = 0;
};
extern TUmwandelnZustand ZqK2_6A1;

struct TEinheit {
    QString Kurz;
    long long Faktor = 1;
    QString Lang;
};
// Units 1 .. n of a measured family (0 Längen, 2 Flächen, 3 Volumina, 4 Gewichte).
int EinheitenAnzahl(int Familie);
TEinheit EinheitVon(int Familie, int Index);

class TZqK2_6A1 : public TAufgabeg {
public:
    explicit TZqK2_6A1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK2_6A1"); }

    // The controls of one page; unused ones stay null.
    struct TSeite {
        TTabSheet* Blatt = nullptr;
        TLabel* Wert = nullptr;
        TRichEdit *Gross = nullptr, *Klein = nullptr;
        TLabel *GrossLabel = nullptr, *Und = nullptr, *KleinLabel = nullptr;
        TBitBtn *Pruefen = nullptr, *Hilfe = nullptr;
        TLabel* Urteil = nullptr;
        TPanel *Tabelle = nullptr, *Hinweis1 = nullptr, *Antwortfeld = nullptr, *Hinweis2 = nullptr;
        TLabel *Text1 = nullptr, *Text2 = nullptr;
        TBitBtn *Loesung1 = nullptr, *Loesung2 = nullptr;
        TMemo* Notiz = nullptr;
    };

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void RadioGroup1Click(TObject* Sender);
    void AufgabeNachSeite();
    void MessAufgabe(int Familie);
    void GeldAufgabe();
    void ZeitAufgabe();
    void PunkteAnzeigen();
    void UmwandlungPruefen(TObject* Sender);
    void BitBtnHilfeClick(TObject* Sender);
    void BitBtnErgebnisClick(TObject* Sender);
    // Draws the clocks of a time task: start h:s, gap d hours m minutes.
    void UhrenZeichnen(int h, int s, int d, int m);

    TLabel* Label1 = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    TPanel* Panel2 = nullptr;
    TPageControl* PageControl1 = nullptr;
    TPunkteAnzeige Punkte;
    std::array<TSeite, 6> Seiten;
    TLabel* Label22 = nullptr; // Geld: the amount in euros
    TPanel *Panel8 = nullptr, *Panel9 = nullptr, *Panel22 = nullptr, *Panel23 = nullptr;
    TBitBtn *BitBtn5 = nullptr, *BitBtn17 = nullptr, *BitBtn19 = nullptr, *BitBtnP7 = nullptr;
    TRichEdit* RichEdit13 = nullptr;
    TLabel* LabelP7 = nullptr;
    TImage *Image1 = nullptr, *Image2 = nullptr, *Image3 = nullptr, *Image4 = nullptr;

private:
    int SeiteVon(TObject* Sender) const;
    void SeitePruefen(int p);
    void GesamtPruefen();
};

#pragma once
// The shopping cart: examples and two shops; the pupil fills a cart of at most
// seven products, estimates the bill by rounding and says which is higher, the
// rounded estimate or the cash price.
#include "exercises/chapter1/UAufgabenmuster.h"

struct TWagenplatz {
    QString Name; // padded with blanks to 18 characters
    double Preis = 0;
    int Produkt = 0; // 1 .. 3 within its shop, -1 after it was put back
    bool Leer = true;
};

struct TLadenZustand {
    TWagenplatz Wagen[7];
    int Seite = -1;             // 0 examples, 1 first shop, 2 second shop
    int Aufgabe[3] = {0, 0, 0}; // task index of shop 1 and 2
    double Schaetzung[3] = {0, 0, 0};
    bool GerundetHoeher[3] = {false, false, false};
};
extern TLadenZustand ZqK1_2B1;

// An amount as a shop shows it: whole euros with digit groups in shop 1, two
// decimals with a decimal comma in shop 2; both followed by " €".
QString Betrag(int Laden, double Euro);

class TZqK1_2B1 : public TAufgabeg {
public:
    explicit TZqK1_2B1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK1_2B1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void BitBtn2Click(TObject* Sender);
    void BitBtn3Click(TObject* Sender);
    void BitBtn4Click(TObject* Sender);
    void BitBtn9Click(TObject* Sender);
    void BitBtn19Click(TObject* Sender);
    void BitBtn10Click(TObject* Sender);
    void BitBtnHilfeClick(TObject* Sender);
    void BitBtnP1Click(TObject* Sender);

    // What the cart of a shop shows, line by line ("Summe:" and the sum last).
    QStringList WagenZeilen(int Laden) const;

    TLabel* Label1 = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabBeispiele = nullptr;
    TTabSheet* TabLaden[3] = {};
    TBitBtn* Nehmen[3][4] = {};       // [shop][product]: BitBtn3, 5, 7 and BitBtn12, 14, 16
    TBitBtn* Zuruecklegen[3][4] = {}; // BitBtn4, 6, 8 and BitBtn13, 15, 17
    TLabel* Labelh1 = nullptr;
    TLabel* LabelH2 = nullptr;
    TImage* ImageListe = nullptr;
    TImage* ImageListe2 = nullptr;
    TAntwortPaar Paar[3]; // RichEdit1 / BitBtnP1 / LabelP1, RichEdit2 / BitBtnP2 / LabelP2
    TBitBtn* BitBtn9 = nullptr;
    TBitBtn* BitBtn19 = nullptr;
    TBitBtn* BitBtn2 = nullptr;
    TBitBtn* Gerundet[3] = {};    // BitBtn10, BitBtn20
    TBitBtn* Kassenpreis[3] = {}; // BitBtn11, BitBtn21
    TPageControl* Aufgabenseiten[3] = {};
    TTabSheet* Aufgabenseite[3][7] = {}; // TabA1 .. TabA6, TabB1 .. TabB6
    TStaticText* StaticText1 = nullptr;
    TStaticText* StaticText2 = nullptr;
    TBitBtn* Hilfeknopf[5] = {}; // shop 2, tasks 1 .. 4: BitBtn23, BitBtnHilfe, BitBtn18, BitBtn22
    TPanel* Hilfepanel[5] = {};  // Panel11, Panel8, Panel9, Panel10
    TPanel* Panel1 = nullptr;

private:
    void LadenAufbauen(int Laden);
    void WagenLeeren();
    void WagenZeichnen(int Laden);
    void NaechsteAufgabe(int Laden);
    int LadenVon(TObject* Sender, int& Produkt) const;
};

#pragma once
// Giving change: money lies on Tobias's desk, he buys something, and the pupil
// works out the money on the desk and what is left after paying.
#include "exercises/chapter1/UAufgabenmuster.h"
#include "exercises/chapter2/UZqK2_5A1.h"

#include <array>

struct TWechselZustand {
    std::array<bool, GeldstueckAnzahl> AufTisch{};
    int Tisch = 0; // cents on the desk
    int Preis = 0; // cents
    int Restgeld = 0;
};
extern TWechselZustand ZqK2_5B1;

class TZqK2_5B1 : public TAufgabeg {
public:
    explicit TZqK2_5B1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK2_5B1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void CheckBox1Click(TObject* Sender);
    void BitBtnP1Click(TObject* Sender);
    void BitBtnErgebnisClick(TObject* Sender);
    void BitBtnHilfeClick(TObject* Sender);
    void Image1CentClick(TObject* Sender);
    void AntwortPruefen(TObject* Sender);
    void AufgabeErzeugen();
    // Fills in the texts of the task from the state (desk, price, change).
    void TexteSetzen();
    int TischBetrag() const; // cents
    void TischZeichnen();

    TImage* BildSichtbar = nullptr;
    TImage* BildTheke = nullptr;
    TImage* Bild = nullptr;
    TLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr,
           *Label6 = nullptr;
    TRichEdit *RichEdit1 = nullptr, *RichEdit2 = nullptr;
    TBitBtn *BitBtnP1 = nullptr, *BitBtnP2 = nullptr, *BitBtnErgebnis = nullptr, *BitBtnHilfe = nullptr,
            *BitBtn3 = nullptr;
    TLabel *LabelP1 = nullptr, *LabelP2 = nullptr;
    TStaticText* StaticText1 = nullptr;
    TPanel* Panel1 = nullptr;
    TLabel *Label7 = nullptr, *Label8 = nullptr, *Label9 = nullptr, *Label10 = nullptr, *Label11 = nullptr,
           *Label12 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    std::array<TImage*, GeldstueckAnzahl> Tablett{}; // hidden tray images in table order
    std::array<TImage*, 8> Muenzbild{};
    std::array<TImage*, 8> MuenzGrau{};
    std::array<TImage*, 4> Schein{};
    std::array<TImage*, 4> ScheinGrau{};

private:
    TGeldAnsicht Ansicht() const;
};

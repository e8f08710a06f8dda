#pragma once
// Zoo paths: a small graph of curved paths, each labelled with its drawn
// length. Every graph can be walked along each path exactly once back to A, so
// the shortest round walk is the sum of all lengths, asked in km and m.
#include "exercises/chapter1/UAufgabenmuster.h"

#include <array>
#include <memory>

struct tWegPunkt {
    int32_t x = 0, y = 0;
};

struct tWeg {
    tWegPunkt P[4]; // a cubic Bezier curve
};

struct tWegeAufgabe {
    QString km; // the expected answer, filled by the drawing
    QString m;
    std::array<tWeg, 20> Wege{};
    int32_t Anzahl = 0;
};

struct TZooZustand {
    std::array<tWegeAufgabe, 5> Aufgaben{}; // 1 .. 4
    int32_t Nr = 0;                          // the current graph, 0 before the first
};
extern TZooZustand ZqK2_2A1;

// Fills the four graphs (expected answers empty until drawn).
void WegeTabelleFuellen();
// The point of the curve at t, rounded.
tWegPunkt BezierPunkt(const tWeg& Weg, double t);
TColor WegFarbe(int k);

class TZqK2_2A1 : public TAufgabeg {
public:
    explicit TZqK2_2A1(TComponent* AOwner);
    ~TZqK2_2A1() override;
    QString ClassName() const override { return QStringLiteral("TZqK2_2A1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    // Draws graph Nr into Bild and sets its expected answer; returns the total.
    int WegeZeichnen(int Nr);
    void RundgangAnimieren();
    void StreckePruefen();
    void BtnAnimationClick(TObject* Sender);
    void ButtonP1Click(TObject* Sender);
    void BtnHilfe1Click(TObject* Sender);
    void RGvClick(TObject* Sender);

    TPanel* PanelPC = nullptr;
    TImage* Bild = nullptr;
    TRichEdit *ed1 = nullptr, *ed2 = nullptr;
    TButton* ButtonP1 = nullptr;
    TPanel* Panel2 = nullptr;
    TLabel* Labelp1 = nullptr;
    TLabel* LabelH = nullptr;
    TBitBtn* BtnHilfe1 = nullptr;
    TPanel* PanelH = nullptr;
    TLabel *LabelH1 = nullptr, *LabelH2 = nullptr;
    TBitBtn* BtnAnimation = nullptr;
    TRadioGroup* RGv = nullptr;

    int32_t Stop = 1;   // 1 ends a running walk
    int32_t Pause = 10; // milliseconds between two steps of the walk

private:
    // Cleared when the form goes, so that a walk waiting inside it stops.
    std::shared_ptr<bool> m_lebt = std::make_shared<bool>(true);
};

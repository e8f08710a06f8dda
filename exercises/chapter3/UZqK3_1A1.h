#pragma once
// Continuing a pattern of angular tiles round a ring of circles: the pupil
// picks a tile and clicks white circles to fill them. Seven fixed tasks in a
// cycle; no answer boxes and no score.
#include "exercises/chapter1/UAufgabenmuster.h"

#include <cstdint>

struct tMusterKreis {
    int32_t Bild = 0;    // placed picture, 0 = white
    int32_t Soll = 1;    // expected picture 1..5
    bool Gegeben = false; // part of the shown beginning
    int32_t x = 0, y = 0; // centre in Image1, written by every drawing
};

struct TMusterZustand {
    int Nr = 0; // 1..7 while a task is shown
    int n = 0;
    int R = 50;
    double Faktor = 1.0;
    int Abstand = 0;
    int Wahl = 0; // chosen picture, 0 = the white tile
    tMusterKreis K[20];
};
extern TMusterZustand ZqK3_1A1;

class TZqK3_1A1 : public TAufgabeg {
public:
    // MusterZeichnen of the whole ring.
    static constexpr int GanzerRing = -1;

    explicit TZqK3_1A1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK3_1A1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void BitBtn3Click(TObject* Sender);
    void BitBtnP1Click(TObject* Sender);
    void Bild1hMouseDown(TObject* Sender);
    void Image1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void MusterZeichnen(int Welcher);

    TLabel* Label1 = nullptr;
    TPanel* PanelBild = nullptr;
    TImage* Image1 = nullptr;
    TPanel* PanelBilder = nullptr;
    TImage* Bildh[5] = {};   // Bild1h .. Bild5h
    TShape* Shape[6] = {};   // Shape1 .. Shape5 (frames), Shape6 (the white tile)
    TLabel* LabelP1 = nullptr;
    TBitBtn* BitBtnP1 = nullptr;
    TBitBtn* BitBtn3 = nullptr;

private:
    void MusterNeu(bool Weiter);
    void MusterLaden();
    void MusterSetzen();
    void AuswahlZeigen();
};

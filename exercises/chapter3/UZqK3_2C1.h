#pragma once
// Does the net fold: ten flat nets of a cube or cuboid in a fixed cycle; the
// pupil answers "Ja" or "Nein".
#include "exercises/chapter1/UAufgabenmuster.h"

#include <array>

struct TNetzZustand {
    int Netz = 0; // 1 .. 10, 0 before the first
    int Aufgaben = 0, Richtig = 0, Falsch = 0;
    bool Faltbar = true;      // the drawn net folds into a closed solid
    bool ErsteAntwort = true; // no answer to this net yet
    bool Quader = false;      // drawn as cuboid
    int Weggenommen = 0;      // the face taken away, 0 for none
};
extern TNetzZustand ZqK3_2C1;

// A face of a net in cells, relative to the net's top-left corner.
struct TNetzFlaeche {
    int x, y, w, h;
};
// The six faces (index 0 = face 1) of net 1 .. 10 for the edges a, b, c.
std::array<TNetzFlaeche, 6> NetzFlaechen(int Netz, int a, int b, int c);
// Whether a net as drawn (all six faces) folds into a closed solid.
bool NetzFaltbar(int Netz);

class TZqK3_2C1 : public TAufgabeg {
public:
    explicit TZqK3_2C1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK3_2C1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void BitBtn3Click(TObject* Sender);
    void BitBtn4Click(TObject* Sender);
    void HGweissClick(TObject* Sender);

    TLabel* Label1 = nullptr;
    TImage* Image1 = nullptr;
    TBitBtn* BitBtn3 = nullptr; // "Ja"
    TBitBtn* BitBtn4 = nullptr; // "Nein"
    TPanel* Panel1 = nullptr;
    TLabel* Label3 = nullptr;
    TStaticText* StaticText1 = nullptr;
    TStaticText* StaticText2 = nullptr;
    TCheckBox* HGweiss = nullptr;

private:
    void NaechstesNetz();
    void NetzZeichnen();
    void ZaehlerZeigen();
    void Antworten(TBitBtn* Knopf, bool Ja);
};

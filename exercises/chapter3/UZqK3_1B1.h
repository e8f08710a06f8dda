#pragma once
// Mirroring a figure of named points at a red axis on a squared grid: the
// pupil picks a pen colour and clicks where each mirror point lies. Seven
// fixed tasks in a cycle.
#include "exercises/chapter1/UAufgabenmuster.h"

#include <QString>

#include <cstdint>

struct tSpiegelPunkt {
    int32_t Px = 0, Py = 0; // the point, grid units
    int32_t Sx = 0, Sy = 0; // its mirror point
    bool Gezeigt = false;   // belongs to the task
    bool Gefunden = false;  // the pupil has placed the mirror point
    int32_t Farbe = 1;      // pen colour index 1..4
    QString Name;
    bool NameOben = true;   // name 12 px above the point, else below
};

struct TSpiegelZustand {
    int Nr = 0; // 1..7 while a task is shown
    int x0 = 0, y0 = 0;
    int Stift = 1;
    int ax1 = 0, ay1 = 0, ax2 = 0, ay2 = 0;
    tSpiegelPunkt P[12];
    bool Strecke[12][12] = {};
};
extern TSpiegelZustand ZqK3_1B1;

// The RGB of pen colour k (1..4); black for any other index.
TColor StiftFarbe(int k);

class TZqK3_1B1 : public TAufgabeg {
public:
    explicit TZqK3_1B1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK3_1B1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void Shape1MouseDown(TObject* Sender);
    void StiftWaehlen(int k);
    void Image1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Image1MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void FigurZeichnen();

    // Pixel of grid point (x, y).
    int PixelX(int x) const;
    int PixelY(int y) const;

    TLabel* Label1 = nullptr;
    TImage* Image1 = nullptr;
    TShape* Shape1 = nullptr;
    TShape* Shape2 = nullptr;
    TShape* Shape3 = nullptr;
    TShape* Shape4 = nullptr;
    TPanel* Panel2 = nullptr;
    TLabel* Label2 = nullptr;

private:
    void AufgabeLaden();
    TShape* Stiftform(int k) const;
};

#pragma once
// The start screen shown once at start.
#include "platform/ControlsExt.h"
#include "platform/ControlsStd.h"
#include "platform/Forms.h"

class TZqStart : public TForm {
public:
    explicit TZqStart(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqStart"); }

    TImage* Image1 = nullptr;
    TSpeedButton* SpeedButton1 = nullptr; // "Programm starten"
    TSpeedButton* SpeedButton2 = nullptr; // "Bedienungsanleitung"
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label10 = nullptr;

    void FormActivate(TObject* Sender);
    void FormCanResize(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize);
    void SpeedButton1Click(TObject* Sender);
    void SpeedButton2Click(TObject* Sender);
    // Places buttons and labels for a client area of W x H.
    void Anordnen(int W, int H);
};

extern TZqStart* ZqStart;

#pragma once
// Written division with remainder, with a digit pad of its own in place of the
// on-screen keyboard.
#include "exercises/chapter1/UZqK1_3Division.h"

extern TDivisionZustand ZqK1_3H1;

class TZqK1_3H1 : public TDivisionsform {
public:
    explicit TZqK1_3H1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK1_3H1"); }

    void FormActivate(TObject* Sender) override;
    // One key stroke to the focused control: the pressed digit, or backspace.
    void SpeedButton1Click(TObject* Sender);

    TPanel* PanelTasten = nullptr;
    TImage* Image1 = nullptr;
    TSpeedButton* SpeedButton[12] = {}; // SpeedButton1 .. SpeedButton11
};

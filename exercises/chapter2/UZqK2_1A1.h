#pragma once
// A live clock: an analog face and a seven-segment display follow the time of
// day every second; the panels beside them explain the three hands.
#include "exercises/chapter1/UAufgabenmuster.h"
#include "platform/Timer.h"

struct TLiveUhrZustand {
    int32_t Stunde = 0, Minute = 0, Sekunde = 0;
    // Hours, separator and minutes are always on; the seconds follow Checks.
    uint8_t MitStunden = 1, MitTrenner = 1, MitMinuten = 1, MitSekunden = 1;
};
extern TLiveUhrZustand ZqK2_1A1;

class TZqK2_1A1 : public TAufgabeg {
public:
    explicit TZqK2_1A1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK2_1A1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void Timer1Timer(TObject* Sender);
    void ChecksClick(TObject* Sender);
    void UhrenZeichnen();

    TLabel* Label1 = nullptr;
    TImage* Image1 = nullptr;
    TImage* Image2 = nullptr;
    TPanel *Panel1 = nullptr, *Panel2 = nullptr, *Panel3 = nullptr, *Panel4 = nullptr;
    TLabel *Label4 = nullptr, *Label5 = nullptr, *Label6 = nullptr;
    TLabel *Label7 = nullptr, *Label19 = nullptr, *Label22 = nullptr;
    TCheckBox* Checks = nullptr;
    TTimer* Timer1 = nullptr;
};

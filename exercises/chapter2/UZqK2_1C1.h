#pragma once
// The calendar: the number of days of each month, and of February in a leap
// year, each box checked by itself.
#include "exercises/chapter1/UAufgabenmuster.h"
#include "platform/MonthCalendar.h"

class TZqK2_1C1 : public TAufgabeg {
public:
    explicit TZqK2_1C1(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK2_1C1"); }

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    // Checks the row of the sender (its box or its "prüfen" button).
    void MonatstagePruefen(TObject* Sender);

    // The expected number of days of box n (1 .. 13), "" outside.
    static QString Monatstage(int n);

    TLabel* Label1 = nullptr;
    // Box n with BitBtnP<n> and LabelP<n>; index 0 unused.
    TAntwortPaar Paar[14];
    // The calendar the pupil may browse; nothing reads it.
    TMonthCalendar* MonthCalendar1 = nullptr;
};

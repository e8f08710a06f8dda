#pragma once
// The month calendar: one month of days to browse and pick a date from, with
// German names of months and weekdays.
#include "platform/Forms.h"

#include <QDate>

class TMonthCalendar : public TWinControl {
public:
    explicit TMonthCalendar(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TMonthCalendar"); }

    // The date picked; the calendar shows its month.
    QDate Date() const { return m_date; }
    void SetDate(const QDate& d);

    // The pupil picked another date (by click or key).
    TNotifyEvent OnChange;

protected:
    bool ClickOnMouseUp() const override { return false; }

private:
    QDate m_date;
    bool m_syncing = false;
};

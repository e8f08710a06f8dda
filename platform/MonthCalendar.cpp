#include "platform/MonthCalendar.h"

#include "platform/ControlsCom.h"

#include <QCalendarWidget>
#include <QLocale>

TMonthCalendar::TMonthCalendar(TComponent* AOwner) : TWinControl(AOwner) {
    auto* w = new THooked<QCalendarWidget>(this);
    w->setLocale(QLocale(QLocale::German, QLocale::Germany));
    Attach(w, w);
    SetTabStop(true);
    SetColor(clWindow);
    m_width = 191;
    m_height = 154;
    m_date = w->selectedDate();
    QObject::connect(w, &QCalendarWidget::selectionChanged, [this] {
        RunHandler([&] {
            if (m_syncing) return;
            m_date = static_cast<QCalendarWidget*>(Widget())->selectedDate();
            if (OnChange) OnChange(this);
        });
    });
    // A day clicked; the days are a view inside the widget.
    QObject::connect(w, &QCalendarWidget::clicked, [this](QDate) { RunHandler([&] { Click(); }); });
}

void TMonthCalendar::SetDate(const QDate& d) {
    if (!d.isValid() || d == m_date) return;
    m_date = d;
    m_syncing = true;
    static_cast<QCalendarWidget*>(Widget())->setSelectedDate(d);
    m_syncing = false;
}

#include "support/CalendarRoom.h"

#include <QAbstractItemModel>
#include <QCalendarWidget>
#include <QStyle>
#include <QTableView>
#include <QTextLayout>

QStringList CalendarShortfalls(QWidget* Calendar) {
    auto* c = qobject_cast<QCalendarWidget*>(Calendar);
    if (!c && Calendar) c = Calendar->findChild<QCalendarWidget*>();
    auto* view = c ? c->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview")) : nullptr;
    if (!view || !view->model()) return {QStringLiteral("kein Kalender")};
    QAbstractItemModel* m = view->model();
    // The cells' item delegate keeps this margin on either side of a text and
    // shortens a text whose laid-out line does not fit what is left.
    const int Rand = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const QRect Sicht = view->viewport()->rect();
    QStringList Fehlt;
    for (int r = 0; r < m->rowCount(); ++r) {
        for (int s = 0; s < m->columnCount(); ++s) {
            const QModelIndex i = m->index(r, s);
            const QRect Zelle = view->visualRect(i);
            if (!Sicht.contains(Zelle)) {
                Fehlt << QStringLiteral("Zelle %1, %2 steht außerhalb: %3, %4 bis %5, %6 in %7 x %8")
                             .arg(r)
                             .arg(s)
                             .arg(Zelle.left())
                             .arg(Zelle.top())
                             .arg(Zelle.right())
                             .arg(Zelle.bottom())
                             .arg(Sicht.width())
                             .arg(Sicht.height());
                continue;
            }
            const QString Text = m->data(i, Qt::DisplayRole).toString();
            if (Text.isEmpty()) continue;
            const QVariant v = m->data(i, Qt::FontRole);
            const QFont Schrift = v.isValid() ? v.value<QFont>().resolve(view->font()) : view->font();
            QTextLayout Satz(Text, Schrift);
            QTextOption Umbruch;
            Umbruch.setWrapMode(QTextOption::ManualWrap);
            Satz.setTextOption(Umbruch);
            Satz.beginLayout();
            QTextLine z = Satz.createLine();
            z.setLineWidth(Zelle.width() - 2 * Rand);
            Satz.endLayout();
            if (z.naturalTextWidth() > Zelle.width() - 2 * Rand || z.height() > Zelle.height())
                Fehlt << QStringLiteral("»%1« braucht %2 x %3 in %4 x %5")
                             .arg(Text)
                             .arg(z.naturalTextWidth())
                             .arg(z.height())
                             .arg(Zelle.width() - 2 * Rand)
                             .arg(Zelle.height());
        }
    }
    return Fehlt;
}

// The month calendar: its date, the pupil's pick, German names, and its room
// in a scaled window.
#include "platform/MonthCalendar.h"
#include "support/CalendarRoom.h"
#include "support/FormDriver.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCalendarWidget>
#include <QMouseEvent>
#include <QTableView>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct MonthCalendarTest : ::testing::Test {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TMonthCalendar* Kalender = nullptr;
    MonthCalendarTest() {
        form->SetBounds(0, 0, 700, 600);
        form->Font()->SetName(QStringLiteral("Arial"));
        form->Font()->SetHeight(-16);
        Kalender = new TMonthCalendar(form.get());
        Kalender->SetParent(form.get());
        Kalender->SetColor(clWhite);
        Kalender->SetBounds(20, 20, 273, 200);
        Kalender->SetDate(QDate(2012, 6, 6));
    }
    QCalendarWidget* Widget() const { return static_cast<QCalendarWidget*>(Kalender->Widget()); }
    QTableView* Tage() const {
        return Widget()->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
    }
};

TEST_F(MonthCalendarTest, ShowsItsDateAndTakesThePupilsPick) {
    int Aenderungen = 0, Klicks = 0;
    Kalender->OnChange = [&](TObject* s) {
        EXPECT_EQ(s, Kalender);
        ++Aenderungen;
    };
    Kalender->OnClick = [&](TObject*) { ++Klicks; };
    form->Show();
    ProcessEvents();
    EXPECT_EQ(Widget()->selectedDate(), QDate(2012, 6, 6));
    EXPECT_EQ(Widget()->monthShown(), 6);
    Kalender->SetDate(QDate(2012, 2, 29));
    EXPECT_EQ(Widget()->monthShown(), 2);
    EXPECT_EQ(Aenderungen, 0); // set by the program

    // The pupil clicks the cell of the 15th.
    QTableView* v = Tage();
    ASSERT_NE(v, nullptr);
    QAbstractItemModel* m = v->model();
    QModelIndex Fuenfzehn;
    for (int r = 1; r < m->rowCount() && !Fuenfzehn.isValid(); ++r)
        for (int s = 1; s < m->columnCount(); ++s)
            if (m->data(m->index(r, s)).toString() == QStringLiteral("15")) Fuenfzehn = m->index(r, s);
    ASSERT_TRUE(Fuenfzehn.isValid());
    const QPointF p = v->visualRect(Fuenfzehn).center();
    QMouseEvent Druck(QEvent::MouseButtonPress, p, v->viewport()->mapToGlobal(p), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(v->viewport(), &Druck);
    QMouseEvent Los(QEvent::MouseButtonRelease, p, v->viewport()->mapToGlobal(p), Qt::LeftButton,
                    Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(v->viewport(), &Los);
    EXPECT_EQ(Kalender->Date(), QDate(2012, 2, 15));
    EXPECT_EQ(Aenderungen, 1);
    EXPECT_EQ(Klicks, 1);

    // German weekday names head the columns.
    QStringList Kopf;
    for (int s = 1; s < m->columnCount(); ++s)
        Kopf << m->data(m->index(0, s)).toString();
    EXPECT_TRUE(Kopf.first().startsWith(QStringLiteral("Mo"))) << Kopf.join(' ').toStdString();
    EXPECT_TRUE(Kopf.last().startsWith(QStringLiteral("So"))) << Kopf.join(' ').toStdString();
}

// Scaled with the window, the calendar grows with its font and shows every
// name and day whole, all weeks in view.
TEST_F(MonthCalendarTest, GrowsWithItsFontAndShowsEveryWeekWhole) {
    form->Show();
    ProcessEvents();
    const QStringList Unskaliert = CalendarShortfalls(Kalender->Widget());
    ASSERT_TRUE(Unskaliert.isEmpty()) << Unskaliert.join('\n').toStdString();
    struct TFaktor {
        int M, D, Schritte;
    };
    for (const TFaktor F : {TFaktor{4, 3, 1}, TFaktor{4, 3, 2}, TFaktor{2, 1, 1}, TFaktor{3, 2, 1}}) {
        SCOPED_TRACE(QStringLiteral("%1/%2 x %3").arg(F.M).arg(F.D).arg(F.Schritte).toStdString());
        auto f = std::make_unique<TForm>(nullptr);
        f->SetBounds(0, 0, 700, 600);
        f->Font()->Assign(*form->Font());
        auto* k = new TMonthCalendar(f.get());
        k->SetParent(f.get());
        k->SetBounds(20, 20, 273, 200);
        k->SetDate(QDate(2012, 6, 6));
        for (int i = 0; i < F.Schritte; ++i)
            f->ScaleBy(F.M, F.D);
        f->SetBounds(0, 0, 1500, 1200);
        f->Show();
        ProcessEvents();
        int w = 273, h = 200, s = -16;
        for (int i = 0; i < F.Schritte; ++i) {
            w = TControl::Scaled(w, F.M, F.D);
            h = TControl::Scaled(h, F.M, F.D);
            s = TControl::Scaled(s, F.M, F.D);
        }
        EXPECT_EQ(k->Widget()->size(), QSize(w, h));
        EXPECT_EQ(k->Font()->Height(), s);
        EXPECT_EQ(k->Widget()->font().pixelSize(), -s);
        const QStringList Fehlt = CalendarShortfalls(k->Widget());
        EXPECT_TRUE(Fehlt.isEmpty()) << Fehlt.join('\n').toStdString();
    }
}

} // namespace

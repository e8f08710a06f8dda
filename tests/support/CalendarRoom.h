#pragma once
// What a month calendar cannot show whole.
#include <QStringList>

class QWidget;

// The texts of the calendar's cells (the weekday names, the week numbers and
// the days) that its cells set shortened, for want of room for their font, and
// the rows of the month that stand outside its view; empty when everything
// shows whole. The calendar is the widget or the first calendar inside it.
QStringList CalendarShortfalls(QWidget* Calendar);

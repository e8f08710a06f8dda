#pragma once
// Counts the pixels that paint events of some widgets cover (header only:
// the benchmarks use it too).
#include <QEvent>
#include <QObject>
#include <QPaintEvent>
#include <QRegion>
#include <QWidget>

#include <cstdint>
#include <vector>

class TPaintedArea : public QObject {
public:
    explicit TPaintedArea(const std::vector<QWidget*>& Widgets) {
        for (QWidget* w : Widgets)
            if (w) w->installEventFilter(this);
    }
    int64_t Pixels = 0;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            for (const QRect& r : static_cast<QPaintEvent*>(e)->region())
                Pixels += static_cast<int64_t>(r.width()) * r.height();
        return QObject::eventFilter(o, e);
    }
};

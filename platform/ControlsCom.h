#pragma once
// Pieces the controls share: the string lists of their items and lines, and the
// widget template that routes a Qt widget's events to its control.
#include "platform/Forms.h"
#include "platform/HandlerEdge.h"

#include <QEvent>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <utility>

// After Hidden was hidden: its form lets go of the active control inside it,
// and a focus Qt left inside it, for want of another control to take it,
// goes to the window, so that keys reach nothing unseen.
void FocusOutOfHidden(TControl* Hidden);

// A list of strings with the framework's names; the owning control listens to
// OnChange.
class TStrings {
public:
    int Count() const { return static_cast<int>(m_items.size()); }
    QString Strings(int i) const { return i >= 0 && i < Count() ? m_items[i] : QString(); }
    QString operator[](int i) const { return Strings(i); }
    void SetStrings(int i, const QString& s);
    int Add(const QString& s);
    void Insert(int i, const QString& s);
    void Delete(int i);
    void Clear();
    int IndexOf(const QString& s) const;
    // All lines, each ended by a line break.
    QString Text() const;
    // Splits at CR LF, LF or CR.
    void SetText(const QString& text);
    void Assign(const TStrings& other);
    const QStringList& List() const { return m_items; }
    void BeginUpdate() { ++m_updating; }
    void EndUpdate();

    std::function<void()> OnChange;

private:
    void Changed();
    QStringList m_items;
    int m_updating = 0;
};

// The Qt widget of a control: its events reach the control first, through
// the edge of the program's handlers.
template <class Base> class THooked : public Base, public TWidgetLink {
public:
    template <class... A> explicit THooked(TControl* control, A&&... args) : Base(std::forward<A>(args)...) {
        Control = control;
    }
    bool BaseEvent(QEvent* e) override { return Base::event(e); }

protected:
    bool event(QEvent* e) override {
        if (!Control) return Base::event(e);
        // A handler that failed has had the event; one that freed the
        // control freed this widget too.
        const std::weak_ptr<void> alive = Control->AliveToken();
        if (RunHandler(true, [&] { return Control->HandleEvent(e); }) || alive.expired()) return true;
        return Base::event(e);
    }
    void paintEvent(QPaintEvent* e) override {
        if (Control && Control->OwnPaint()) {
            QPainter p(this);
            RunPaintHandler(this, [&] { Control->PaintWidget(p); });
            return;
        }
        Base::paintEvent(e);
    }
};

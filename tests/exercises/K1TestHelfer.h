#pragma once
// Helpers of the chapter-1 exercise tests: open a form as the section form would
// (owned by the application, shown, activated), with a fixed seed.
#include "support/FormDriver.h"

#include "exercises/chapter1/RegisterChapter1.h"
#include "exercises/chapter2/RegisterChapter2.h"
#include "exercises/chapter3/RegisterChapter3.h"
#include "platform/Application.h"
#include "platform/ControlsExt.h"
#include "platform/ControlsRich.h"
#include "platform/ControlsStd.h"
#include "platform/Wait.h"
#include "shell/ExerciseRegistry.h"
#include "shell/UAufgabeg.h"
#include "term/USetup.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QWidget>

#include <functional>
#include <memory>

namespace K1Test {

// Shows an exercise form and lets its activation run; frees it at the end.
template <class T> class OffeneForm {
public:
    explicit OffeneForm(uint32_t Seed = 4711) : m_seed(Seed) {
        Screen()->SetSize(1280, 1024);
        m_form = new T(Application());
        ShowAndActivate(m_form);
    }
    ~OffeneForm() {
        m_form->Close();
        ProcessEvents();
        delete m_form;
        Screen()->Reset();
    }
    OffeneForm(const OffeneForm&) = delete;
    OffeneForm& operator=(const OffeneForm&) = delete;
    T* operator->() const { return m_form; }
    T* get() const { return m_form; }
    // Closes the form and shows it again: a new activation.
    void Wiederoeffnen() {
        m_form->Close();
        ProcessEvents();
        ShowAndActivate(m_form);
    }

private:
    SeedScope m_seed;
    T* m_form = nullptr;
};

inline QString Zeile0(TRichEdit* Box) {
    return Box->Lines()->Count() > 0 ? Box->Lines()->Strings(0) : QString();
}

// A mouse press at (x, y) in a control.
inline void MausBei(TControl* c, int x, int y) {
    const QPointF p(x, y);
    QMouseEvent e(QEvent::MouseButtonPress, p, c->Widget()->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(c->Widget(), &e);
    QMouseEvent r(QEvent::MouseButtonRelease, p, c->Widget()->mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(c->Widget(), &r);
}

// Saves what the form shows, for looking at it.
inline void Bildschirmfoto(TForm* f, const QString& Name) {
    QDir().mkpath(QStringLiteral(PRAVOLIN_TEST_OUTPUT));
    ProcessEvents();
    f->Widget()->grab().save(QStringLiteral(PRAVOLIN_TEST_OUTPUT) + QLatin1Char('/') + Name +
                             QStringLiteral(".png"));
}

// Digits in groups of three: 1234567 gives "1 234 567".
inline QString Gruppiert(long long n) {
    QString s = QString::number(n < 0 ? -n : n);
    for (int i = s.size() - 3; i > 0; i -= 3)
        s.insert(i, QLatin1Char(' '));
    return n < 0 ? QStringLiteral("-") + s : s;
}

// Makes the forms of all chapters known by their class names; what a test
// opens by name it registers itself, whatever ran before it.
inline void AlleAufgabenRegistrieren() {
    RegisterChapter1Exercises();
    RegisterChapter2Exercises();
    RegisterChapter3Exercises();
}

// The class names of every exercise form, sorted.
inline QStringList AlleKlassen() {
    AlleAufgabenRegistrieren();
    QStringList k = AufgabenKlassen();
    k.sort();
    return k;
}

// Opens an exercise form as a section form would, with the setup's scaling
// A SKALIERUNGSFAKTOR of the setup file met on a screen of that size, and
// the scale it gives.
struct TSkalierungsfall {
    const char* Name;
    int Faktor;
    int SchirmBreite, SchirmHoehe;
    int M, D;
};
// The fixed factors, on a screen with room for them.
inline constexpr TSkalierungsfall FesteFaktoren[] = {
    {"4/3", 2, 2560, 1600, 4, 3},
    {"16/9", 3, 2560, 1600, 16, 9},
    {"2", 4, 2560, 1600, 2, 1},
    {"3/2", 5, 2560, 1600, 3, 2},
};

// (on or off, and SKALIERUNGSFAKTOR) on a screen of the given size, the seed
// 4711 and the program's time held, so that it changes only by what the
// steps do; runs them, then closes and frees the form.
inline void SkaliertOeffnen(const QString& Klasse, bool Skalieren, int Faktor, int SchirmBreite,
                            int SchirmHoehe, const std::function<void(TAufgabeg*)>& Schritte) {
    FSetupZuruecksetzen(QString());
    FSetup.Skalieren = Skalieren;
    FSetup.Skalierungsfaktor = Faktor;
    ScreenScope Schirm(SchirmBreite, SchirmHoehe);
    SeedScope Seed(4711);
    DialogResponder Dialoge;
    HoldTime(true);
    AlleAufgabenRegistrieren();
    TAufgabeg* f = AufgabeErzeugen(Klasse, Application());
    EXPECT_NE(f, nullptr) << Klasse.toStdString() << " is no exercise form";
    if (f) {
        ShowAndActivate(f);
        Schritte(f);
        f->Close();
        ProcessEvents();
        delete f;
    }
    HoldTime(false);
    FSetupZuruecksetzen(QString());
}

// Shown on screen now (a control on a sheet that is not the active one is not).
inline bool Zuschauen(TControl* c, TAufgabeg* f) {
    return c->Showing() && c->Widget() && c->Widget()->isVisibleTo(f->Widget());
}

// Whether the control lies in the task area.
inline bool ImAufgabenbereich(TControl* c, TAufgabeg* f) {
    for (TControl* p = c; p; p = p->Parent())
        if (p == f->B_ScrollBox) return true;
    return false;
}

// A visible, enabled button of the task area whose caption holds one of the words.
inline TControl* KnopfMit(TAufgabeg* f, const QStringList& Woerter) {
    for (int i = 0; i < f->ComponentCount(); ++i) {
        auto* c = dynamic_cast<TControl*>(f->Components(i));
        if (!c || !Zuschauen(c, f) || !c->Enabled() || !ImAufgabenbereich(c, f)) continue;
        if (!dynamic_cast<TButton*>(c) && !dynamic_cast<TSpeedButton*>(c)) continue;
        const QString k = c->Caption().toUpper();
        for (const QString& w : Woerter)
            if (k.contains(w)) return c;
    }
    return nullptr;
}

// One answer as a pupil gives it: the solution where the form has a solution
// button, else "1" and Enter in the first answer box, else a check button.
inline void EineAntwort(TAufgabeg* f) {
    if (TControl* c = KnopfMit(f, {QStringLiteral("LÖSUNG"), QStringLiteral("ERGEBNIS")})) {
        c->Click();
        return;
    }
    for (int i = 0; i < f->ComponentCount(); ++i) {
        auto* box = dynamic_cast<TRichEdit*>(f->Components(i));
        if (!box || !Zuschauen(box, f) || !box->Enabled() || box->ReadOnly() || !ImAufgabenbereich(box, f))
            continue;
        box->SetFocus();
        TypeText(box, QStringLiteral("1"));
        PressEnter(box);
        return;
    }
    if (TControl* c = KnopfMit(f, {QStringLiteral("PRÜF")})) c->Click();
}

} // namespace K1Test

// Every exercise form in a scaled window: opened, through several new tasks and
// one answer, each control stands where it stands in the unscaled window with
// the same tasks, times the window's scale, and no control covers another
// that it leaves free unscaled (nor frees one that it covers).
#include "K1TestHelfer.h"

#include "shell/UAufgabeg.h"

#include <QHash>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using namespace K1Test;

// The automatic factor enlarges by 4/3 once on a 1920 x 1080 screen and twice
// on a 2560 x 1600 one.
constexpr TSkalierungsfall Faelle[] = {
    {"Faktor 1", 1, 2560, 1600, 1, 1},
    {"Faktor 2", 2, 2560, 1600, 4, 3},
    {"Faktor 3", 3, 2560, 1600, 16, 9},
    {"Faktor 4", 4, 2560, 1600, 2, 1},
    {"Faktor 5", 5, 2560, 1600, 3, 2},
    {"Faktor 0 auf 1920 x 1080", 0, 1920, 1080, 4, 3},
    {"Faktor 0 auf 2560 x 1600", 0, 2560, 1600, 16, 9},
};

// How many times the pupil asks for a new task: enough to pass through the
// fixed task lists and the layouts of drawn tasks.
constexpr int NeueAufgaben = 9;

// An auto-sized control is as large as its text in the scaled font, or its picture.
bool Inhaltsgroesse(TControl* c) {
    if (auto* l = dynamic_cast<TLabel*>(c)) return l->AutoSize();
    if (auto* t = dynamic_cast<TStaticText*>(c)) return t->AutoSize();
    if (auto* i = dynamic_cast<TImage*>(c)) return i->AutoSize();
    return false;
}

struct TStand {
    bool Sichtbar = false;
    TRect Platz;   // in the parent
    TRect Fenster; // in the form's client area
    QString Name;
    bool Inhaltsgroesse = false;
    TAlign Ausrichtung = alNone; // a page of a page control fills it as alClient does
    std::vector<int> Vorfahren;  // the component numbers of its parents
};
using TAufnahme = std::vector<TStand>; // one per component of the form, in creation order

TAufnahme Aufnehmen(TAufgabeg* f) {
    ProcessEvents(1);
    QHash<TComponent*, int> Nummer;
    for (int i = 0; i < f->ComponentCount(); ++i)
        Nummer.insert(f->Components(i), i);
    TAufnahme a(f->ComponentCount());
    for (int i = 0; i < f->ComponentCount(); ++i) {
        auto* c = dynamic_cast<TControl*>(f->Components(i));
        if (!c || !Zuschauen(c, f) || c->Width() <= 0 || c->Height() <= 0) continue;
        TStand& s = a[i];
        s.Sichtbar = true;
        s.Name = c->Name().isEmpty() ? c->ClassName() : c->Name();
        s.Inhaltsgroesse = Inhaltsgroesse(c);
        s.Ausrichtung = dynamic_cast<TTabSheet*>(c) ? alClient : c->Align();
        s.Platz = c->BoundsRect();
        s.Fenster = s.Platz;
        for (TWinControl* p = c->Parent(); p && p != f; p = p->Parent()) {
            OffsetRect(s.Fenster, p->Left(), p->Top());
            s.Vorfahren.push_back(Nummer.value(p, -1));
        }
    }
    return a;
}

QString Text(const TRect& r) {
    return QStringLiteral("(%1, %2, %3 x %4)").arg(r.Left).arg(r.Top).arg(r.Width()).arg(r.Height());
}

bool Vorfahr(const TAufnahme& a, size_t Vorfahr, size_t Nachfahr) {
    const std::vector<int>& v = a[Nachfahr].Vorfahren;
    return std::find(v.begin(), v.end(), static_cast<int>(Vorfahr)) != v.end();
}

// The overlap of two rectangles, empty when they only touch or lie apart.
TRect Schnitt(const TRect& a, const TRect& b) {
    TRect s;
    if (!IntersectRect(s, a, b)) return Rect(0, 0, 0, 0);
    return s;
}

bool Leer(const TRect& r) {
    return r.Width() <= 0 || r.Height() <= 0;
}

// Scaling rounds every place and size on its own, so a neighbour may come a
// pixel or two nearer: an overlap counts when it is more than that.
bool Deutlich(const TRect& r) {
    return r.Width() > 2 && r.Height() > 2;
}

// What differs between the scaled window and the unscaled one.
QStringList Vergleichen(const TAufnahme& Ohne, const TAufnahme& Mit, const TSkalierungsfall& Fall) {
    QStringList Fehler;
    const auto Skaliert = [&Fall](int v) {
        return static_cast<int>(std::nearbyint(static_cast<double>(v) * Fall.M / Fall.D));
    };
    const auto Nah = [](int a, int b) { return std::abs(a - b) <= 2; };
    for (size_t i = 0; i < Ohne.size(); ++i) {
        const TStand &u = Ohne[i], &s = Mit[i];
        if (u.Sichtbar != s.Sichtbar) {
            Fehler << QStringLiteral("%1 ist nur %2 sichtbar")
                          .arg((u.Sichtbar ? u : s).Name,
                               s.Sichtbar ? QStringLiteral("skaliert") : QStringLiteral("unskaliert"));
            continue;
        }
        if (!u.Sichtbar) continue;
        const TRect e = Bounds(Skaliert(u.Platz.Left), Skaliert(u.Platz.Top), Skaliert(u.Platz.Width()),
                               Skaliert(u.Platz.Height()));
        // An aligned control takes the rest from its parent's client area, whose
        // frame the window's scaling leaves as it is.
        const TAlign a = s.Ausrichtung;
        const bool Links = a == alNone, Oben = a == alNone;
        const bool Breite = !s.Inhaltsgroesse && (a == alNone || a == alLeft || a == alRight);
        const bool Hoehe = !s.Inhaltsgroesse && (a == alNone || a == alTop || a == alBottom);
        if ((Links && !Nah(s.Platz.Left, e.Left)) || (Oben && !Nah(s.Platz.Top, e.Top)) ||
            (Breite && !Nah(s.Platz.Width(), e.Width())) || (Hoehe && !Nah(s.Platz.Height(), e.Height())))
            Fehler << QStringLiteral("%1 steht bei %2 statt bei %3").arg(s.Name, Text(s.Platz), Text(e));
    }
    for (size_t i = 0; i < Ohne.size(); ++i) {
        if (!Ohne[i].Sichtbar || !Mit[i].Sichtbar) continue;
        for (size_t j = i + 1; j < Ohne.size(); ++j) {
            if (!Ohne[j].Sichtbar || !Mit[j].Sichtbar) continue;
            if (Vorfahr(Mit, i, j) || Vorfahr(Mit, j, i)) continue;
            // Two texts or pictures as large as the font or picture makes them:
            // their extents are the font's, not the design's.
            if (Mit[i].Inhaltsgroesse && Mit[j].Inhaltsgroesse) continue;
            const TRect su = Schnitt(Ohne[i].Fenster, Ohne[j].Fenster);
            const TRect ss = Schnitt(Mit[i].Fenster, Mit[j].Fenster);
            if (Leer(su) && Deutlich(ss))
                Fehler << QStringLiteral("%1 %2 und %3 %4 überdecken sich skaliert")
                              .arg(Mit[i].Name, Text(Mit[i].Fenster), Mit[j].Name, Text(Mit[j].Fenster));
            else if (Deutlich(su) && Leer(ss))
                Fehler << QStringLiteral("%1 %2 und %3 %4 überdecken sich nur unskaliert")
                              .arg(Ohne[i].Name, Text(Ohne[i].Fenster), Ohne[j].Name, Text(Ohne[j].Fenster));
        }
    }
    return Fehler;
}

// Opens the form with the setup's scaling (none without a case), then asks
// for new tasks and gives one answer; what the window shows after each step.
std::vector<TAufnahme> Durchlaufen(const QString& Klasse, const TSkalierungsfall* Fall) {
    std::vector<TAufnahme> Schritte;
    SkaliertOeffnen(Klasse, Fall != nullptr, Fall ? Fall->Faktor : 0, Fall ? Fall->SchirmBreite : 1920,
                    Fall ? Fall->SchirmHoehe : 1080, [&](TAufgabeg* f) {
                        Schritte.push_back(Aufnehmen(f));
                        for (int k = 0; k < NeueAufgaben && Zuschauen(f->B_NeueAufgabe, f); ++k) {
                            MouseClick(f->B_NeueAufgabe);
                            Schritte.push_back(Aufnehmen(f));
                        }
                        EineAntwort(f);
                        Schritte.push_back(Aufnehmen(f));
                    });
    return Schritte;
}

QString Schrittname(size_t k, size_t Anzahl) {
    if (k == 0) return QStringLiteral("nach dem Öffnen");
    if (k + 1 == Anzahl) return QStringLiteral("nach einer Antwort");
    return QStringLiteral("nach %1 neuen Aufgaben").arg(k);
}

class Skalierung : public ::testing::TestWithParam<QString> {};

TEST_P(Skalierung, JedesSteuerelementStehtAnSeinemSkaliertenPlatz) {
    const QString Klasse = GetParam();
    const std::vector<TAufnahme> Ohne = Durchlaufen(Klasse, nullptr);
    ASSERT_FALSE(Ohne.empty());
    for (const TSkalierungsfall& Fall : Faelle) {
        SCOPED_TRACE(Fall.Name);
        const std::vector<TAufnahme> Mit = Durchlaufen(Klasse, &Fall);
        ASSERT_EQ(Mit.size(), Ohne.size());
        for (size_t k = 0; k < Ohne.size(); ++k) {
            const QStringList Fehler = Vergleichen(Ohne[k], Mit[k], Fall);
            EXPECT_TRUE(Fehler.isEmpty()) << Schrittname(k, Ohne.size()).toStdString() << ":\n"
                                          << Fehler.mid(0, 12).join(QLatin1Char('\n')).toStdString();
            if (!Fehler.isEmpty()) break; // the later steps mostly repeat it
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Uebungen, Skalierung, ::testing::ValuesIn(K1Test::AlleKlassen()),
                         [](const ::testing::TestParamInfo<QString>& i) { return i.param.toStdString(); });

} // namespace

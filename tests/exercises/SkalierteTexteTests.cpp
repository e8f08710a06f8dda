// Every caption and label of every exercise form in a scaled window: with the
// same tasks and the same clicks as in the unscaled window, a text that keeps
// off an edge of its control unscaled keeps off it scaled, so that nothing is
// cut or runs into the frame. The ink of a text is drawn in its font colour;
// the control is drawn alone, without its children, on a colour no text has.
#include "K1TestHelfer.h"

#include "platform/ControlsStd.h"
#include "shell/UAufgabeg.h"

#include <QImage>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <array>
#include <iterator>
#include <map>
#include <vector>

namespace {

using namespace K1Test;

// The fixed factors and the automatic one on a large and a small screen.
const std::vector<TSkalierungsfall> Faelle = [] {
    std::vector<TSkalierungsfall> f(std::begin(FesteFaktoren), std::end(FesteFaktoren));
    f.push_back({"Faktor 0 auf 2560 x 1600", 0, 2560, 1600, 16, 9});
    f.push_back({"Faktor 0 auf 1280 x 1024", 0, 1280, 1024, 1, 1});
    return f;
}();

enum TRand { Links, Rechts, Oben, Unten };
const char* const RandName[4] = {"linken", "rechten", "oberen", "unteren"};

// What one text shows: whether its ink reaches each edge of the room it is set in.
struct TText {
    QString Name, Caption;
    std::array<bool, 4> Beruehrt{};
};
// By component number in creation order, and item number for the items of
// a radio group.
using TAufnahme = std::map<std::pair<int, int>, TText>;

// A control sized to its text has no room to keep.
bool Inhaltsgroesse(TControl* c) {
    if (auto* l = dynamic_cast<TLabel*>(c)) return l->AutoSize() && !l->WordWrap();
    if (auto* t = dynamic_cast<TStaticText*>(c)) return t->AutoSize();
    return false;
}

// The room the caption is set in: inside the frame of a button, the bevels
// of a panel, the border of a static text; the whole control elsewhere.
bool Textraum(TControl* c, QRect& Raum) {
    Raum = QRect(0, 0, c->Width(), c->Height());
    if (auto* b = dynamic_cast<TButton*>(c)) {
        Raum.adjust(2, 2, -2, -2);
        if (b->Focused() || b->Default()) Raum.adjust(1, 1, -1, -1);
    } else if (dynamic_cast<TSpeedButton*>(c)) {
        Raum.adjust(2, 2, -2, -2);
    } else if (auto* p = dynamic_cast<TPanel*>(c)) {
        const TRect r = p->AlignRect();
        Raum = QRect(r.Left, r.Top, r.Width(), r.Height());
    } else if (auto* t = dynamic_cast<TStaticText*>(c)) {
        if (t->BorderStyle() != sbsNone) Raum.adjust(1, 1, -1, -1);
    } else if (!dynamic_cast<TLabel*>(c) && !dynamic_cast<TCheckBox*>(c) && !dynamic_cast<TRadioGroup*>(c)) {
        return false;
    }
    return Raum.width() > 2 && Raum.height() > 2;
}

// The colour the caption is drawn in: a disabled button greys it, and the
// controls drawn by Qt grey theirs in their own way.
bool Tintenfarbe(TControl* c, QRgb& Farbe) {
    TColor f = c->Font()->Color();
    if (!c->Enabled()) {
        if (!dynamic_cast<TButton*>(c) && !dynamic_cast<TSpeedButton*>(c)) return false;
        f = clBtnShadow;
    }
    Farbe = static_cast<QRgb>(ToQColor(ColorToRGB(f)).rgb()) & 0xFFFFFF;
    return true;
}

// Where the ink of a text drawn in a widget reaches the edges of its room.
TText Messen(QWidget* w, const QRect& Raum, QRgb Farbe, const QString& Name, const QString& Caption) {
    TText t;
    t.Name = Name;
    t.Caption = Caption;
    // A background that no caption colour has: no full alpha.
    QImage b(w->size(), QImage::Format_ARGB32);
    b.fill(qRgba(255, 0, 255, 0));
    w->render(&b, QPoint(), QRegion(), QWidget::RenderFlags());
    const auto Tinte = [&](int x, int y) {
        const QRgb p = b.pixel(x, y);
        return qAlpha(p) == 255 && (p & 0xFFFFFF) == Farbe;
    };
    for (int y = Raum.top(); y <= Raum.bottom(); ++y) {
        t.Beruehrt[Links] = t.Beruehrt[Links] || Tinte(Raum.left(), y);
        t.Beruehrt[Rechts] = t.Beruehrt[Rechts] || Tinte(Raum.right(), y);
    }
    for (int x = Raum.left(); x <= Raum.right(); ++x) {
        t.Beruehrt[Oben] = t.Beruehrt[Oben] || Tinte(x, Raum.top());
        t.Beruehrt[Unten] = t.Beruehrt[Unten] || Tinte(x, Raum.bottom());
    }
    return t;
}

TAufnahme Aufnehmen(TAufgabeg* f) {
    ProcessEvents(1);
    TAufnahme a;
    for (int i = 0; i < f->ComponentCount(); ++i) {
        auto* c = dynamic_cast<TControl*>(f->Components(i));
        QRect Raum;
        QRgb Farbe = 0;
        if (!c || c == f || !Zuschauen(c, f) || c->Width() <= 0 || c->Height() <= 0 || Inhaltsgroesse(c) ||
            !Textraum(c, Raum) || !Tintenfarbe(c, Farbe))
            continue;
        if (!c->Caption().isEmpty()) a[{i, 0}] = Messen(c->Widget(), Raum, Farbe, c->Name(), c->Caption());
        // The items of a radio group are buttons of their own inside it.
        if (auto* g = dynamic_cast<TRadioGroup*>(c))
            for (int k = 0; k < g->Items()->Count(); ++k) {
                const QList<QRadioButton*> Knoepfe =
                    g->Widget()->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
                if (k < Knoepfe.size())
                    a[{i, k + 1}] =
                        Messen(Knoepfe[k], Knoepfe[k]->rect(), Farbe, c->Name(), g->Items()->Strings(k));
            }
    }
    return a;
}

// Clicks every button of the task area once, as a pupil trying them out:
// help panels, solutions and the weights' captions come up. A movement that
// "Start" sets going runs until the pupil stops it, which the held time of
// the test never lets happen.
void KnoepfeDruecken(TAufgabeg* f) {
    for (int i = 0; i < f->ComponentCount(); ++i) {
        auto* c = dynamic_cast<TControl*>(f->Components(i));
        if (!c || (!dynamic_cast<TButton*>(c) && !dynamic_cast<TSpeedButton*>(c))) continue;
        if (Zuschauen(c, f) && c->Enabled() && ImAufgabenbereich(c, f) &&
            c->Caption() != QStringLiteral("Start"))
            c->Click();
    }
}

std::vector<TAufnahme> Durchlaufen(const QString& Klasse, const TSkalierungsfall* Fall) {
    std::vector<TAufnahme> Schritte;
    SkaliertOeffnen(Klasse, Fall != nullptr, Fall ? Fall->Faktor : 0, Fall ? Fall->SchirmBreite : 2560,
                    Fall ? Fall->SchirmHoehe : 1600, [&](TAufgabeg* f) {
                        Schritte.push_back(Aufnehmen(f));
                        for (int k = 0; k < 3 && Zuschauen(f->B_NeueAufgabe, f); ++k) {
                            MouseClick(f->B_NeueAufgabe);
                            Schritte.push_back(Aufnehmen(f));
                        }
                        KnoepfeDruecken(f);
                        Schritte.push_back(Aufnehmen(f));
                        EineAntwort(f);
                        Schritte.push_back(Aufnehmen(f));
                    });
    return Schritte;
}

QStringList Vergleichen(const TAufnahme& Ohne, const TAufnahme& Mit) {
    QStringList Fehler;
    for (const auto& [Schluessel, u] : Ohne) {
        const auto m = Mit.find(Schluessel);
        if (m == Mit.end()) continue;
        const TText& s = m->second;
        if (u.Caption != s.Caption) continue;
        for (int r = Links; r <= Unten; ++r)
            if (!u.Beruehrt[r] && s.Beruehrt[r])
                Fehler << QStringLiteral("»%1« (%2) reicht skaliert an den %3 Rand")
                              .arg(QString(s.Caption).replace(QLatin1Char('\r'), QLatin1Char(' ')), s.Name,
                                   QString::fromLatin1(RandName[r]));
    }
    return Fehler;
}

class SkalierteTexte : public ::testing::TestWithParam<QString> {};

TEST_P(SkalierteTexte, BleibenInIhremSteuerelementWieUnskaliert) {
    const std::vector<TAufnahme> Ohne = Durchlaufen(GetParam(), nullptr);
    ASSERT_FALSE(Ohne.empty());
    for (const TSkalierungsfall& Fall : Faelle) {
        SCOPED_TRACE(Fall.Name);
        const std::vector<TAufnahme> Mit = Durchlaufen(GetParam(), &Fall);
        ASSERT_EQ(Mit.size(), Ohne.size());
        QStringList Fehler;
        for (size_t k = 0; k < Ohne.size(); ++k)
            for (const QString& e : Vergleichen(Ohne[k], Mit[k]))
                if (!Fehler.contains(e)) Fehler << e;
        EXPECT_TRUE(Fehler.isEmpty()) << Fehler.mid(0, 12).join(QLatin1Char('\n')).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Uebungen, SkalierteTexte, ::testing::ValuesIn(K1Test::AlleKlassen()),
                         [](const ::testing::TestParamInfo<QString>& i) { return i.param.toStdString(); });

} // namespace

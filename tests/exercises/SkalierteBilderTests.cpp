// Every picture of every exercise form in a scaled window: with the same tasks
// and the same clicks as in the unscaled window, each picture control shows
// what it shows unscaled enlarged as a whole, as the control grows (or drawn
// anew at the larger size, where the form draws it for the control's size);
// and a click on a drawn place does what it does unscaled.
#include "K1TestHelfer.h"

#include "exercises/chapter2/UZqK2_6A1.h"
#include "shell/UAufgabeg.h"

#include <QDir>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

using namespace K1Test;

// ---- comparing two grabs ----------------------------------------------------------

QImage Rgb(const QImage& b) {
    return b.convertToFormat(QImage::Format_RGB32);
}

// u enlarged to the size of s, as a picture control shows a picture drawn
// for its design size in a scaled window.
QImage Vergroessert(const QImage& u, const QImage& s) {
    QImage e(s.size(), QImage::Format_RGB32);
    e.fill(Qt::white);
    QPainter p(&e);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(0, 0, s.width(), s.height()), u);
    return e;
}

// Per pixel, the least and the greatest value of each channel within rx
// columns and ry rows of it.
struct TSpanne {
    int w = 0, h = 0;
    std::vector<uint8_t> Min, Max; // three channels a pixel
};

TSpanne Spanne(const QImage& b, int rx, int ry) {
    TSpanne s;
    s.w = b.width();
    s.h = b.height();
    const size_t n = static_cast<size_t>(s.w) * s.h * 3;
    std::vector<uint8_t> lo(n), hi(n);
    for (int y = 0; y < s.h; ++y) {
        const auto* z = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < s.w; ++x) {
            uint8_t mn[3] = {255, 255, 255}, mx[3] = {0, 0, 0};
            for (int k = std::max(0, x - rx); k <= std::min(s.w - 1, x + rx); ++k) {
                const uint8_t v[3] = {static_cast<uint8_t>(qRed(z[k])), static_cast<uint8_t>(qGreen(z[k])),
                                      static_cast<uint8_t>(qBlue(z[k]))};
                for (int c = 0; c < 3; ++c) {
                    mn[c] = std::min(mn[c], v[c]);
                    mx[c] = std::max(mx[c], v[c]);
                }
            }
            const size_t i = (static_cast<size_t>(y) * s.w + x) * 3;
            std::copy(mn, mn + 3, lo.begin() + static_cast<std::ptrdiff_t>(i));
            std::copy(mx, mx + 3, hi.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    s.Min.assign(n, 255);
    s.Max.assign(n, 0);
    for (int y = 0; y < s.h; ++y)
        for (int k = std::max(0, y - ry); k <= std::min(s.h - 1, y + ry); ++k)
            for (int x = 0; x < s.w * 3; ++x) {
                const size_t i = static_cast<size_t>(y) * s.w * 3 + x,
                             j = static_cast<size_t>(k) * s.w * 3 + x;
                s.Min[i] = std::min(s.Min[i], lo[j]);
                s.Max[i] = std::max(s.Max[i], hi[j]);
            }
    return s;
}

// How many pixels of a find no colour like theirs in b around the place that
// corresponds to theirs. A colour between those around it (an edge smoothed
// by enlarging) counts as found.
constexpr int Toleranz = 64;

int Fremde(const QImage& a, const TSpanne& b) {
    const double fx = double(b.w) / a.width(), fy = double(b.h) / a.height();
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
        const int Y = std::min(b.h - 1, static_cast<int>((y + 0.5) * fy));
        const auto* z = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const int X = std::min(b.w - 1, static_cast<int>((x + 0.5) * fx));
            const size_t i = (static_cast<size_t>(Y) * b.w + X) * 3;
            const int v[3] = {qRed(z[x]), qGreen(z[x]), qBlue(z[x])};
            for (int c = 0; c < 3; ++c)
                if (v[c] < b.Min[i + c] - Toleranz || v[c] > b.Max[i + c] + Toleranz) {
                    ++n;
                    break;
                }
        }
    }
    return n;
}

// How many pixels of a find no colour like theirs in b, of the same size, at
// their place or a pixel around it (an edge smoothed a little otherwise).
int FremdeNebenan(const QImage& a, const QImage& b) {
    const auto Nah = [](QRgb v, QRgb w) {
        return std::abs(qRed(v) - qRed(w)) <= Toleranz && std::abs(qGreen(v) - qGreen(w)) <= Toleranz &&
               std::abs(qBlue(v) - qBlue(w)) <= Toleranz;
    };
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* z = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const QRgb v = z[x];
            if (Nah(v, b.pixel(x, y))) continue;
            int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
            for (int k = std::max(0, y - 1); k <= std::min(b.height() - 1, y + 1); ++k)
                for (int j = std::max(0, x - 1); j <= std::min(b.width() - 1, x + 1); ++j) {
                    const QRgb w = b.pixel(j, k);
                    const int c[3] = {qRed(w), qGreen(w), qBlue(w)};
                    for (int i = 0; i < 3; ++i) {
                        lo[i] = std::min(lo[i], c[i]);
                        hi[i] = std::max(hi[i], c[i]);
                    }
                }
            const int c[3] = {qRed(v), qGreen(v), qBlue(v)};
            for (int i = 0; i < 3; ++i)
                if (c[i] < lo[i] - Toleranz || c[i] > hi[i] + Toleranz) {
                    ++n;
                    break;
                }
        }
    }
    return n;
}

// The pictures that the forms draw anew for their controls' size, margins and
// all: the clocks and the rotating solid.
bool NeuGezeichnet(const QString& Klasse, const QString& Bild) {
    static const QStringList Liste = {
        QStringLiteral("TZqK2_1A1/Image1"), QStringLiteral("TZqK2_1A1/Image2"),
        QStringLiteral("TZqK2_1A2/Image1"), QStringLiteral("TZqK2_6A1/Image1"),
        QStringLiteral("TZqK2_6A1/Image2"), QStringLiteral("TZqK2_6A1/Image3"),
        QStringLiteral("TZqK2_6A1/Image4"), QStringLiteral("TZqK3_2B1/Image1"),
    };
    return Liste.contains(Klasse + QLatin1Char('/') + Bild);
}

// A design place in the picture as the scaled control shows it.
TPoint Stelle(int px, int py, const QImage& u, const QImage& s) {
    return {static_cast<int>((px + 0.5) * s.width() / u.width()),
            static_cast<int>((py + 0.5) * s.height() / u.height())};
}

// What is wrong with the scaled grab s of the picture whose unscaled grab is
// u, or nothing.
QString BefundOhneGedaechtnis(const QImage& u0, const QImage& s0, bool Neu) {
    const QImage u = Rgb(u0), s = Rgb(s0);
    if (u.isNull() || s.isNull()) return QStringLiteral("kein Bild");
    int Hin = 0, Her = 0;
    QString Was;
    if (!Neu) {
        // Enlarged as a whole: each pixel as in u enlarged, give or take the
        // smoothing of an edge by a pixel.
        const QImage e = Vergroessert(u, s);
        Hin = FremdeNebenan(e, s);
        Her = FremdeNebenan(s, e);
        const int Grenze = std::max(4, s.width() * s.height() / 5000);
        if (Hin <= Grenze && Her <= Grenze) return QString();
        Was = QStringLiteral("nicht als Ganzes vergrößert");
    } else {
        // Drawn anew at the enlarged size: each picture finds itself in the
        // other, around the same places.
        constexpr int Rand = 2;
        const double fx = double(s.width()) / u.width(), fy = double(s.height()) / u.height();
        Hin = Fremde(u, Spanne(s, static_cast<int>(std::ceil(fx / 2)) + Rand,
                               static_cast<int>(std::ceil(fy / 2)) + Rand));
        Her = Fremde(s, Spanne(u, Rand, Rand));
        // Text set anew in a larger font differs in a few pixels of its glyphs,
        // and a picture shown larger shows details that the smaller one lost.
        if (Hin <= std::max(8, u.width() * u.height() / 500) &&
            Her <= std::max(8, s.width() * s.height() / 200))
            return QString();
        Was = QStringLiteral("nicht größer neu gezeichnet");
    }
    return QStringLiteral("%1 (%2 x %3 in %4 x %5; %6 Pixel fehlen, %7 Pixel sind fremd)")
        .arg(Was)
        .arg(u.width())
        .arg(u.height())
        .arg(s.width())
        .arg(s.height())
        .arg(Hin)
        .arg(Her);
}

size_t Schluessel(const QImage& b) {
    return qHash(QByteArrayView(reinterpret_cast<const char*>(b.constBits()), b.sizeInBytes())) ^
           qHash(b.width() * 65536 + b.height());
}

// Most pictures stay as they are from step to step: each pair is compared once.
QString Befund(const QImage& u, const QImage& s, bool Neu) {
    static QHash<QPair<size_t, size_t>, QString> Gedaechtnis[2];
    const QPair<size_t, size_t> k(Schluessel(u), Schluessel(s));
    auto i = Gedaechtnis[Neu].find(k);
    if (i == Gedaechtnis[Neu].end()) i = Gedaechtnis[Neu].insert(k, BefundOhneGedaechtnis(u, s, Neu));
    return *i;
}

// ---- what the window shows ----------------------------------------------------------

struct TBild {
    QString Name;
    QImage Bild;
    // Stretched to its control, the source is drawn anew at every size.
    bool Gestreckt = false;
};

struct TStand {
    QString Schritt;
    std::vector<TBild> Bilder;
    QStringList Texte;
};

bool Klickbar(TImage* i) {
    return i->OnMouseDown || i->OnClick || i->OnMouseUp;
}

std::vector<TImage*> Bilder(TAufgabeg* f) {
    std::vector<TImage*> v;
    for (int i = 0; i < f->ComponentCount(); ++i)
        if (auto* b = dynamic_cast<TImage*>(f->Components(i)))
            if (Zuschauen(b, f) && b->Width() > 0 && b->Height() > 0) v.push_back(b);
    return v;
}

QString Farbe(TColor c) {
    return QString::number(ColorToRGB(c), 16);
}

// The texts a pupil reads and their colours: what a click or an answer says.
QStringList Texte(TAufgabeg* f) {
    QStringList t;
    for (int i = 0; i < f->ComponentCount(); ++i) {
        auto* c = dynamic_cast<TControl*>(f->Components(i));
        if (!c || !Zuschauen(c, f)) continue;
        if (!ImAufgabenbereich(c, f) && c != f->B_BtnAufgabenNr) continue;
        const QString Name = c->Name() + QLatin1Char(' ');
        if (auto* r = dynamic_cast<TRichEdit*>(c)) {
            t << Name + r->Lines()->Text() + QLatin1Char(' ') + Farbe(r->Color());
            continue;
        }
        if (dynamic_cast<TImage*>(c) || c->Caption().isEmpty()) continue;
        t << Name + c->Caption() + QLatin1Char(' ') + Farbe(c->Font()->Color()) + QLatin1Char(' ') +
                 Farbe(c->Color());
    }
    return t;
}

TStand Aufnehmen(TAufgabeg* f, const QString& Schritt, bool MitBildern = true) {
    ProcessEvents(1);
    TStand s{Schritt, {}, Texte(f)};
    if (MitBildern)
        for (TImage* b : Bilder(f))
            s.Bilder.push_back({b->Name(), b->Widget()->grab().toImage(), b->Stretch()});
    return s;
}

// ---- the pupil's steps ------------------------------------------------------------------

// Design places to click in a picture: the centre of one that only takes
// clicks, a grid of some fifty places over one that asks where it was
// clicked, which meets each drawn object (the smallest cup takes clicks
// within 30 pixels of its centre).
std::vector<TPoint> Klickstellen(TImage* b, const QImage& u) {
    std::vector<TPoint> p;
    if (!b->OnMouseDown && !b->OnMouseUp) {
        p.push_back({u.width() / 2, u.height() / 2});
        return p;
    }
    const int Schritt = std::max(40, static_cast<int>(std::sqrt(u.width() * u.height() / 50.0)));
    for (int y = Schritt / 2; y < u.height(); y += Schritt)
        for (int x = Schritt / 2; x < u.width(); x += Schritt)
            p.push_back({x, y});
    return p;
}

class TLauf {
public:
    // Without Ohne the unscaled run, which records; with it a scaled run,
    // which compares each step with the record.
    TLauf(const QString& Klasse, const TSkalierungsfall* F, const std::vector<TStand>* Ohne)
        : m_klasse(Klasse), m_faktor(F), m_ohne(Ohne) {}

    std::vector<TStand> Staende;
    QStringList Fehler;

    // The pupil's steps: the ones every form takes, or those given.
    void Durchlaufen(const std::function<void(TAufgabeg*)>& Schritte = {}) {
        SkaliertOeffnen(m_klasse, m_faktor != nullptr, m_faktor ? m_faktor->Faktor : 0, 2560, 1600,
                        [&](TAufgabeg* f) {
                            Schritt(f, QStringLiteral("nach dem Öffnen"));
                            if (Schritte)
                                Schritte(f);
                            else
                                Ueblich(f);
                        });
    }

    void Schritt(TAufgabeg* f, const QString& Name, bool MitBildern = true) {
        Staende.push_back(Aufnehmen(f, Name, MitBildern));
        if (m_ohne) Vergleichen(Staende.back());
    }

private:
    void Ueblich(TAufgabeg* f) {
        for (int k = 1; k <= 3 && Zuschauen(f->B_NeueAufgabe, f); ++k) {
            MouseClick(f->B_NeueAufgabe);
            Schritt(f, QStringLiteral("nach %1 neuen Aufgaben").arg(k));
        }
        Klicken(f);
        EineAntwort(f);
        Schritt(f, QStringLiteral("nach einer Antwort"));
        // Help shows pictures of its own in some forms.
        if (TControl* h = KnopfMit(f, {QStringLiteral("HILFE")})) {
            h->Click();
            Schritt(f, QStringLiteral("nach der Hilfe"));
        }
    }

    const TStand* Vorbild() const {
        const size_t k = Staende.size() - 1;
        return k < m_ohne->size() ? &(*m_ohne)[k] : nullptr;
    }

    void Vergleichen(const TStand& s) {
        const TStand* u = Vorbild();
        if (!u) {
            Fehler << s.Schritt + QStringLiteral(": Schritt fehlt unskaliert");
            return;
        }
        if (s.Texte != u->Texte) {
            for (qsizetype i = 0; i < std::max(s.Texte.size(), u->Texte.size()); ++i)
                if (s.Texte.value(i) != u->Texte.value(i)) {
                    Fehler << s.Schritt + QStringLiteral(": »%1« statt »%2«")
                                              .arg(s.Texte.value(i), u->Texte.value(i));
                    break;
                }
        }
        if (s.Bilder.size() != u->Bilder.size() && !s.Bilder.empty()) {
            Fehler << s.Schritt + QStringLiteral(": %1 Bilder sichtbar statt %2")
                                      .arg(s.Bilder.size())
                                      .arg(u->Bilder.size());
            return;
        }
        for (size_t i = 0; i < s.Bilder.size(); ++i) {
            const TBild& g = s.Bilder[i];
            const QString b =
                Befund(u->Bilder[i].Bild, g.Bild, g.Gestreckt || NeuGezeichnet(m_klasse, g.Name));
            if (b.isEmpty()) continue;
            Fehler << s.Schritt + QStringLiteral(": ") + g.Name + QStringLiteral(" ") + b;
            // Both pictures, for people to look at.
            const QString Ordner = QStringLiteral(PRAVOLIN_TEST_OUTPUT) + QStringLiteral("/skalierte_bilder");
            QDir().mkpath(Ordner);
            const QString Name = Ordner + QStringLiteral("/%1_%2_%3_%4_")
                                              .arg(m_klasse)
                                              .arg(m_faktor->Faktor)
                                              .arg(Staende.size() - 1)
                                              .arg(s.Bilder[i].Name);
            u->Bilder[i].Bild.save(Name + QStringLiteral("ohne.png"));
            s.Bilder[i].Bild.save(Name + QStringLiteral("mit.png"));
        }
    }

    // Clicks every picture that takes clicks at its design places, in the
    // scaled window where the picture shows them.
    void Klicken(TAufgabeg* f) {
        for (TImage* b : Bilder(f)) {
            if (!Klickbar(b) || !Zuschauen(b, f)) continue;
            const QImage s = b->Widget()->grab().toImage();
            QImage u = s;
            if (m_ohne) {
                // The step before holds the pictures: the last click on a
                // picture takes them all.
                u = QImage();
                if (const TStand* v = Vorbild())
                    for (const TBild& g : v->Bilder)
                        if (g.Name == b->Name()) u = g.Bild;
                if (u.isNull()) {
                    Fehler << b->Name() + QStringLiteral(" ist nur skaliert zu sehen");
                    continue;
                }
            }
            const std::vector<TPoint> Stellen = Klickstellen(b, u);
            for (size_t k = 0; k < Stellen.size(); ++k) {
                if (!Zuschauen(b, f)) break;
                const TPoint p = Stelle(Stellen[k].x, Stellen[k].y, u, s);
                MausBei(b, p.x, p.y);
                // Pictures after every eighth click on a grid and the last; texts after each.
                const bool MitBildern = k % 8 == 7 || k + 1 == Stellen.size();
                Schritt(f,
                        QStringLiteral("nach dem Klick auf %1 bei (%2, %3)")
                            .arg(b->Name())
                            .arg(Stellen[k].x)
                            .arg(Stellen[k].y),
                        MitBildern);
            }
        }
    }

    QString m_klasse;
    const TSkalierungsfall* m_faktor;
    const std::vector<TStand>* m_ohne;
};

// The form's steps unscaled, then at every factor against them.
void Vergleichen(const QString& Klasse, const std::function<void(TLauf&, TAufgabeg*)>& Schritte = {}) {
    TLauf Ohne(Klasse, nullptr, nullptr);
    const auto Mit = [&Schritte](TLauf& l) {
        return Schritte
                   ? std::function<void(TAufgabeg*)>([&Schritte, p = &l](TAufgabeg* f) { Schritte(*p, f); })
                   : std::function<void(TAufgabeg*)>();
    };
    Ohne.Durchlaufen(Mit(Ohne));
    ASSERT_FALSE(Ohne.Staende.empty());
    for (const TSkalierungsfall& F : FesteFaktoren) {
        SCOPED_TRACE(F.Name);
        TLauf Skaliert(Klasse, &F, &Ohne.Staende);
        Skaliert.Durchlaufen(Mit(Skaliert));
        EXPECT_EQ(Skaliert.Staende.size(), Ohne.Staende.size());
        EXPECT_TRUE(Skaliert.Fehler.isEmpty())
            << Skaliert.Fehler.mid(0, 8).join(QLatin1Char('\n')).toStdString();
    }
}

class SkalierteBilder : public ::testing::TestWithParam<QString> {};

TEST_P(SkalierteBilder, ZeigenWasSieUnskaliertZeigenUndNehmenDieselbenKlicks) {
    Vergleichen(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Uebungen, SkalierteBilder, ::testing::ValuesIn(K1Test::AlleKlassen()),
                         [](const ::testing::TestParamInfo<QString>& i) { return i.param.toStdString(); });

// The clocks of the time task are drawn anew for their pictures' size, the
// margin round the dial grown with the window.
TEST(SkalierteUhren, DerZeitaufgabeWerdenGroesserNeuGezeichnet) {
    Vergleichen(QStringLiteral("TZqK2_6A1"), [](TLauf& l, TAufgabeg* f) {
        auto* u = dynamic_cast<TZqK2_6A1*>(f);
        ASSERT_NE(u, nullptr);
        u->RadioGroup1->SetItemIndex(5);
        l.Schritt(f, QStringLiteral("bei der Zeitaufgabe"));
        MouseClick(f->B_NeueAufgabe);
        l.Schritt(f, QStringLiteral("nach einer neuen Zeitaufgabe"));
    });
}

} // namespace

// Every picture of every exercise form in a scaled window: with the same tasks
// and the same clicks as in the unscaled window, each picture control shows
// what it shows unscaled, either at its design size where it stands unscaled
// (or around the control's centre, where it is drawn around it), or enlarged
// as a whole; and a click on a drawn place does what it does unscaled.
#include "K1TestHelfer.h"

#include "shell/UAufgabeg.h"

#include <QDir>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace {

using namespace K1Test;

struct TFaktor {
    const char* Name;
    int Faktor; // SKALIERUNGSFAKTOR
    int M, D;
};

constexpr TFaktor Faktoren[] = {
    {"4/3", 2, 4, 3},
    {"16/9", 3, 16, 9},
    {"2", 4, 2, 1},
    {"3/2", 5, 3, 2},
};

// ---- comparing two grabs ----------------------------------------------------------

QImage Rgb(const QImage& b) {
    return b.convertToFormat(QImage::Format_RGB32);
}

// Whether the w x h piece of s at (x, y) is u, pixel for pixel.
bool Gleich(const QImage& s, int x, int y, const QImage& u) {
    if (x < 0 || y < 0 || x + u.width() > s.width() || y + u.height() > s.height()) return false;
    const size_t n = static_cast<size_t>(u.width()) * 4;
    for (int z = 0; z < u.height(); ++z)
        if (std::memcmp(s.constScanLine(y + z) + static_cast<size_t>(x) * 4, u.constScanLine(z), n) != 0)
            return false;
    return true;
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
int Fremde(const QImage& a, const TSpanne& b) {
    constexpr int Toleranz = 64;
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

// Where the unscaled picture stands in the scaled control.
struct TLage {
    bool Vergroessert = false;
    int x = 0, y = 0; // the design-size picture's corner in the scaled control
    // A design place in the picture as the scaled control shows it.
    TPoint Stelle(int px, int py, const QImage& u, const QImage& s) const {
        if (!Vergroessert) return {px + x, py + y};
        return {static_cast<int>((px + 0.5) * s.width() / u.width()),
                static_cast<int>((py + 0.5) * s.height() / u.height())};
    }
};

// The place of the unscaled grab u in the scaled grab s, or what is wrong.
std::optional<TLage> FindenOhneGedaechtnis(const QImage& u0, const QImage& s0, QString& Befund) {
    const QImage u = Rgb(u0), s = Rgb(s0);
    if (u.isNull() || s.isNull()) {
        Befund = QStringLiteral("kein Bild");
        return std::nullopt;
    }
    if (Gleich(s, 0, 0, u)) return TLage{};
    const int mx = (s.width() - u.width()) / 2, my = (s.height() - u.height()) / 2;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (Gleich(s, mx + dx, my + dy, u)) return TLage{false, mx + dx, my + dy};
    if (Gleich(s, 0, 0, Vergroessert(u, s))) return TLage{true, 0, 0};
    // Drawn anew at the enlarged size: each picture finds itself in the other,
    // around the same places.
    constexpr int Rand = 2;
    const double fx = double(s.width()) / u.width(), fy = double(s.height()) / u.height();
    const int Hin = Fremde(
        u, Spanne(s, static_cast<int>(std::ceil(fx / 2)) + Rand, static_cast<int>(std::ceil(fy / 2)) + Rand));
    const int Her = Fremde(s, Spanne(u, Rand, Rand));
    // Text set anew in a larger font differs in a few pixels of its glyphs,
    // and a picture shown larger shows details that the smaller one lost.
    const int GrenzeHin = std::max(8, u.width() * u.height() / 500);
    const int GrenzeHer = std::max(8, s.width() * s.height() / 200);
    if (Hin <= GrenzeHin && Her <= GrenzeHer) return TLage{true, 0, 0};
    Befund = QStringLiteral("weder in Entwurfsgröße noch als Ganzes vergrößert (%1 x %2 in %3 x %4; "
                            "%5 Pixel fehlen vergrößert, %6 Pixel sind fremd)")
                 .arg(u.width())
                 .arg(u.height())
                 .arg(s.width())
                 .arg(s.height())
                 .arg(Hin)
                 .arg(Her);
    return std::nullopt;
}

size_t Schluessel(const QImage& b) {
    return qHash(QByteArrayView(reinterpret_cast<const char*>(b.constBits()), b.sizeInBytes())) ^
           qHash(b.width() * 65536 + b.height());
}

// Most pictures stay as they are from step to step: each pair is compared once.
std::optional<TLage> Finden(const QImage& u, const QImage& s, QString& Befund) {
    struct TErgebnis {
        std::optional<TLage> Lage;
        QString Befund;
    };
    static QHash<QPair<size_t, size_t>, TErgebnis> Gedaechtnis;
    const QPair<size_t, size_t> k(Schluessel(u), Schluessel(s));
    auto i = Gedaechtnis.find(k);
    if (i == Gedaechtnis.end()) {
        TErgebnis e;
        e.Lage = FindenOhneGedaechtnis(u, s, e.Befund);
        i = Gedaechtnis.insert(k, e);
    }
    Befund = i->Befund;
    return i->Lage;
}

// ---- what the window shows ----------------------------------------------------------

struct TBild {
    QString Name;
    QImage Bild;
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
            s.Bilder.push_back({b->Name(), b->Widget()->grab().toImage()});
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
    TLauf(const QString& Klasse, const TFaktor* F, const std::vector<TStand>* Ohne)
        : m_klasse(Klasse), m_faktor(F), m_ohne(Ohne) {}

    std::vector<TStand> Staende;
    QStringList Fehler;

    void Durchlaufen() {
        SkaliertOeffnen(m_klasse, m_faktor != nullptr, m_faktor ? m_faktor->Faktor : 0, 2560, 1600,
                        [this](TAufgabeg* f) {
                            Schritt(f, QStringLiteral("nach dem Öffnen"));
                            for (int k = 1; k <= 3 && Zuschauen(f->B_NeueAufgabe, f); ++k) {
                                MouseClick(f->B_NeueAufgabe);
                                Schritt(f, QStringLiteral("nach %1 neuen Aufgaben").arg(k));
                            }
                            Klicken(f);
                            EineAntwort(f);
                            Schritt(f, QStringLiteral("nach einer Antwort"));
                        });
    }

private:
    void Schritt(TAufgabeg* f, const QString& Name, bool MitBildern = true) {
        Staende.push_back(Aufnehmen(f, Name, MitBildern));
        if (m_ohne) Vergleichen(Staende.back());
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
            QString Befund;
            if (Finden(u->Bilder[i].Bild, s.Bilder[i].Bild, Befund)) continue;
            Fehler << s.Schritt + QStringLiteral(": ") + s.Bilder[i].Name + QStringLiteral(" ") + Befund;
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
            TLage Lage;
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
                QString Befund;
                const std::optional<TLage> l = Finden(u, s, Befund);
                if (!l) continue; // reported with the step
                Lage = *l;
            }
            const std::vector<TPoint> Stellen = Klickstellen(b, u);
            for (size_t k = 0; k < Stellen.size(); ++k) {
                if (!Zuschauen(b, f)) break;
                const TPoint p = Lage.Stelle(Stellen[k].x, Stellen[k].y, u, s);
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
    const TFaktor* m_faktor;
    const std::vector<TStand>* m_ohne;
};

class SkalierteBilder : public ::testing::TestWithParam<QString> {};

TEST_P(SkalierteBilder, ZeigenWasSieUnskaliertZeigenUndNehmenDieselbenKlicks) {
    TLauf Ohne(GetParam(), nullptr, nullptr);
    Ohne.Durchlaufen();
    ASSERT_FALSE(Ohne.Staende.empty());
    for (const TFaktor& F : Faktoren) {
        SCOPED_TRACE(F.Name);
        TLauf Mit(GetParam(), &F, &Ohne.Staende);
        Mit.Durchlaufen();
        EXPECT_EQ(Mit.Staende.size(), Ohne.Staende.size());
        EXPECT_TRUE(Mit.Fehler.isEmpty()) << Mit.Fehler.mid(0, 8).join(QLatin1Char('\n')).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Uebungen, SkalierteBilder, ::testing::ValuesIn(K1Test::AlleKlassen()),
                         [](const ::testing::TestParamInfo<QString>& i) { return i.param.toStdString(); });

} // namespace

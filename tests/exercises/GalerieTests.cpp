// Every exercise form as a pupil first sees it and after one answer: a PNG
// for people to look at, and a check that nothing is cut off or covered.
#include "K1TestHelfer.h"

#include "exercises/chapter1/RegisterChapter1.h"
#include "exercises/chapter2/RegisterChapter2.h"
#include "exercises/chapter3/RegisterChapter3.h"
#include "platform/TextMetrics.h"
#include "shell/ExerciseRegistry.h"
#include "shell/UAufgabeg.h"
#include "term/USetup.h"

#include <QImage>
#include <QPainter>
#include <QSet>
#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace K1Test;

// The rectangle of a control in the coordinates of the task area.
TRect InAufgabe(TControl* c, TAufgabeg* f) {
    TRect r = c->BoundsRect();
    for (TWinControl* p = c->Parent(); p && p != f->B_ScrollBox; p = p->Parent())
        OffsetRect(r, p->Left(), p->Top());
    return r;
}

QStringList Zeilen(const QString& Text) {
    QString t = Text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t.split(QLatin1Char('\n'));
}

int BreitesteZeile(const TFont& Font, const QString& Text) {
    int w = 0;
    for (const QString& z : Zeilen(Text))
        w = std::max(w, TextMetrics().TextWidth(Font, z));
    return w;
}

// The pixels of a label's text, as it paints itself, in its own coordinates.
QImage Tinte(TLabel* l) {
    const QColor Leer(1, 2, 3);
    QImage img(l->Width(), l->Height(), QImage::Format_RGB32);
    img.fill(Leer);
    {
        QPainter p(&img);
        l->PaintWidget(p);
    }
    const QRgb Grund = l->Transparent()
                           ? Leer.rgb()
                           : QColor(GetRValue(ColorToRGB(l->Color())), GetGValue(ColorToRGB(l->Color())),
                                    GetBValue(ColorToRGB(l->Color())))
                                 .rgb();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, (img.pixel(x, y) & 0xFFFFFF) == (Grund & 0xFFFFFF) ? 0xFFFFFFFF : 0xFF000000);
    return img;
}

// Whether the texts of two labels touch or overlap: a pixel of one on or
// within three pixels beside a pixel of the other (parent coordinates). Words
// that close read as one.
bool GemeinsameTinte(TLabel* a, TLabel* b) {
    const QImage ta = Tinte(a), tb = Tinte(b);
    const auto Tinte = [](const QImage& t, TLabel* l, int x, int y) {
        x -= l->Left();
        y -= l->Top();
        return x >= 0 && y >= 0 && x < t.width() && y < t.height() && qGray(t.pixel(x, y)) < 128;
    };
    TRect r = UnionRect(a->BoundsRect(), b->BoundsRect());
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (Tinte(ta, a, x, y) &&
                (Tinte(tb, b, x - 1, y) || Tinte(tb, b, x, y) || Tinte(tb, b, x + 1, y)))
                return true;
    return false;
}

// What a pupil cannot read or reach on the task page: controls that stick out
// of their parent or of the visible task area, lie under the keypad, texts
// wider than their label or button, labels that cover each other's text.
QStringList Verdeckt(TAufgabeg* f) {
    QStringList Fehler;
    // The keypad stands beside the task area, which is as wide as what it leaves.
    const TRect Sichtbar = Rect(0, 0, f->B_ScrollBox->ClientWidth(), f->B_ScrollBox->ClientHeight());
    std::vector<TLabel*> Labels;
    for (int i = 0; i < f->ComponentCount(); ++i) {
        auto* c = dynamic_cast<TControl*>(f->Components(i));
        if (!c || !c->Showing() || !ImAufgabenbereich(c, f) || c == f->B_ScrollBox) continue;
        if (c->Width() <= 0 || c->Height() <= 0) continue; // an empty label shows nothing
        const QString Name = c->Name().isEmpty() ? c->ClassName() : c->Name();
        TRect Schnitt;
        const TRect r = InAufgabe(c, f);
        if (!IntersectRect(Schnitt, r, Sichtbar) || Schnitt != r)
            Fehler << QStringLiteral("%1 reicht aus dem Aufgabenbereich (%2,%3,%4,%5)")
                          .arg(Name)
                          .arg(r.Left)
                          .arg(r.Top)
                          .arg(r.Right)
                          .arg(r.Bottom);
        else if (TWinControl* p = c->Parent(); p && p != f->B_ScrollBox) {
            const TRect b = c->BoundsRect();
            if (b.Left < 0 || b.Top < 0 || b.Right > p->ClientWidth() || b.Bottom > p->ClientHeight())
                Fehler << QStringLiteral("%1 reicht aus %2").arg(Name, p->Name());
        }
        if (auto* l = dynamic_cast<TLabel*>(c)) {
            if (!l->WordWrap() && BreitesteZeile(*l->Font(), l->Caption()) > l->Width())
                Fehler << QStringLiteral("%1: Text breiter als das Label").arg(Name);
            if (!l->Caption().trimmed().isEmpty()) Labels.push_back(l);
        } else if (dynamic_cast<TButton*>(c) || dynamic_cast<TSpeedButton*>(c)) {
            // A button's bevel takes a pixel each side; a flat speed button has
            // none and may lose one pixel, as the digit pad's "löschen" in bold
            // Arial 13 (49 pixels) does on its 48-pixel key by design.
            const int Rand = dynamic_cast<TSpeedButton*>(c) ? -1 : 2;
            if (BreitesteZeile(*c->Font(), c->Caption()) + Rand > c->Width())
                Fehler << QStringLiteral("%1: Aufschrift breiter als der Knopf").arg(Name);
        }
    }
    // A windowed control always stands in front of a label of the same parent.
    for (TLabel* l : Labels) {
        const QImage t = Tinte(l);
        for (int i = 0; i < l->Parent()->ControlCount(); ++i) {
            auto* w = dynamic_cast<TWinControl*>(l->Parent()->Controls(i));
            TRect Schnitt;
            if (!w || !w->Visible() || !IntersectRect(Schnitt, w->BoundsRect(), l->BoundsRect())) continue;
            // A panel laid over the whole label hides it on purpose.
            if (dynamic_cast<TPanel*>(w) && Schnitt == l->BoundsRect()) continue;
            bool Verdeckt = false;
            for (int y = Schnitt.Top; y < Schnitt.Bottom && !Verdeckt; ++y)
                for (int x = Schnitt.Left; x < Schnitt.Right && !Verdeckt; ++x)
                    Verdeckt = qGray(t.pixel(x - l->Left(), y - l->Top())) < 128;
            if (Verdeckt) Fehler << QStringLiteral("%1 verdeckt %2").arg(w->Name(), l->Name());
        }
    }
    for (size_t i = 0; i < Labels.size(); ++i)
        for (size_t j = i + 1; j < Labels.size(); ++j) {
            TLabel* a = Labels[i];
            TLabel* b = Labels[j];
            TRect Naehe = a->BoundsRect(), Schnitt;
            InflateRect(Naehe, 3, 0);
            if (a->Parent() != b->Parent() || !IntersectRect(Schnitt, Naehe, b->BoundsRect())) continue;
            if (GemeinsameTinte(a, b))
                Fehler << QStringLiteral("%1 und %2 überdecken sich").arg(a->Name(), b->Name());
        }
    return Fehler;
}

void Speichern(TForm* f, const QString& Name) {
    const QString Ordner = QStringLiteral(PRAVOLIN_TEST_OUTPUT) + QStringLiteral("/galerie");
    QDir().mkpath(Ordner);
    ProcessEvents();
    f->Widget()->grab().save(Ordner + QLatin1Char('/') + Name + QStringLiteral(".png"));
}

class Galerie : public ::testing::TestWithParam<QString> {
protected:
    static void SetUpTestSuite() { AlleAufgabenRegistrieren(); }
};

TEST_P(Galerie, NichtsIstAbgeschnittenOderVerdeckt) {
    const QString Klasse = GetParam();
    SeedScope Seed(4711);
    Screen()->SetSize(1280, 1024);
    TAufgabeg* f = AufgabeErzeugen(Klasse, Application());
    ASSERT_NE(f, nullptr);
    ShowAndActivate(f);
    Speichern(f, Klasse + QStringLiteral("_1_Aufgabe"));
    const QStringList Anfang = Verdeckt(f);
    EXPECT_TRUE(Anfang.isEmpty()) << "nach dem Öffnen:\n" << Anfang.join(QLatin1Char('\n')).toStdString();
    EineAntwort(f);
    ProcessEvents();
    Speichern(f, Klasse + QStringLiteral("_2_Antwort"));
    const QStringList Danach = Verdeckt(f);
    EXPECT_TRUE(Danach.isEmpty()) << "nach einer Antwort:\n" << Danach.join(QLatin1Char('\n')).toStdString();
    f->Close();
    ProcessEvents();
    delete f;
    Screen()->Reset();
}

// Made smaller by the user, the window keeps the size it was laid out for:
// every control of the task area, the bottom bar and the keypad stays inside.
QStringList AusserhalbNachVerkleinern(TAufgabeg* f) {
    const QSize Vorher = f->Widget()->size();
    f->Widget()->resize(Vorher.width() / 2, Vorher.height() / 2);
    ProcessEvents();
    QStringList Fehler;
    if (f->Widget()->size() != Vorher || f->ClientWidth() != Vorher.width() ||
        f->ClientHeight() != Vorher.height())
        Fehler
            << QStringLiteral("Fenster verkleinert auf %1 x %2").arg(f->ClientWidth()).arg(f->ClientHeight());
    for (int i = 0; i < f->ComponentCount(); ++i) {
        auto* c = dynamic_cast<TControl*>(f->Components(i));
        if (!c || c == f || !Zuschauen(c, f) || c->Width() <= 0 || c->Height() <= 0) continue;
        const QRect r(c->Widget()->mapTo(f->Widget(), QPoint(0, 0)), c->Widget()->size());
        if (!f->Widget()->rect().contains(r))
            Fehler << QStringLiteral("%1 nicht erreichbar")
                          .arg(c->Name().isEmpty() ? c->ClassName() : c->Name());
    }
    return Fehler;
}

TEST_P(Galerie, FensterWirdNichtKleinerAlsSeinAufbau) {
    SeedScope Seed(4711);
    Screen()->SetSize(1280, 1024);
    std::unique_ptr<TAufgabeg> f(AufgabeErzeugen(GetParam(), Application()));
    ASSERT_TRUE(f);
    ShowAndActivate(f.get());
    const QStringList Fehler = AusserhalbNachVerkleinern(f.get());
    EXPECT_TRUE(Fehler.isEmpty()) << Fehler.join(QLatin1Char('\n')).toStdString();
    f->Close();
    ProcessEvents();
    Screen()->Reset();
}

// The same with the setup's scaling and enlargement: the size they give is the
// smallest.
TEST(Galerie, SkaliertUndVergroessertBleibtAllesErreichbar) {
    RegisterChapter1Exercises();
    RegisterChapter2Exercises();
    RegisterChapter3Exercises();
    SeedScope Seed(4711);
    Screen()->SetSize(1920, 1200);
    for (int Fall = 0; Fall < 2; ++Fall) {
        FSetup.Skalieren = Fall == 0;
        FSetup.Skalierungsfaktor = 2;
        FSetup.CW = Fall == 1;
        FSetup.WDX = 120;
        FSetup.WDY = 80;
        for (const char* Klasse : {"TZqK1_3A1", "TZqK2_1C1", "TZqK3_2D1"}) {
            SCOPED_TRACE(std::string(Klasse) + (Fall == 0 ? " skaliert" : " vergrößert"));
            std::unique_ptr<TAufgabeg> f(AufgabeErzeugen(QString::fromLatin1(Klasse), Application()));
            ASSERT_TRUE(f);
            ShowAndActivate(f.get());
            EXPECT_EQ(f->Width(), Fall == 0 ? 1365 : 1144);
            const QStringList Fehler = AusserhalbNachVerkleinern(f.get());
            EXPECT_TRUE(Fehler.isEmpty()) << Fehler.join(QLatin1Char('\n')).toStdString();
            f->Close();
            ProcessEvents();
        }
    }
    FSetupZuruecksetzen(QString());
    Screen()->Reset();
}

INSTANTIATE_TEST_SUITE_P(Uebungen, Galerie, ::testing::ValuesIn(K1Test::AlleKlassen()),
                         [](const ::testing::TestParamInfo<QString>& i) { return i.param.toStdString(); });
// The animals, products and goods are drawings, not coloured cards: each
// picture is loaded, covers a good part of its image and has many colours.
TEST(Bilder, TiereProdukteUndWarenSindGezeichnet) {
    RegisterChapter1Exercises();
    RegisterChapter2Exercises();
    const struct {
        const char* Klasse;
        QStringList Namen;
    } Formen[] = {
        {"TZqK1_4A1",
         {"Image2", "Image3", "Image4", "Image5", "Image6", "Image7", "Image8", "Image1h", "Image7h"}},
        {"TZqK2_5A1", {"ImageP1", "ImageP2", "ImageP6", "ImageP9", "ImageP12"}},
        {"TZqK2_4A1", {"ImageP1", "ImageP3", "ImageP8", "ImageP12", "ImageP16"}},
    };
    for (const auto& F : Formen) {
        std::unique_ptr<TAufgabeg> f(AufgabeErzeugen(QString::fromLatin1(F.Klasse), Application()));
        ASSERT_TRUE(f);
        for (const QString& Name : F.Namen) {
            SCOPED_TRACE((QString::fromLatin1(F.Klasse) + QLatin1Char(' ') + Name).toStdString());
            auto* Bild = FindComponentAs<TImage>(f.get(), Name);
            ASSERT_TRUE(Bild);
            const QImage b = Bild->Picture()->Bitmap()->ToImage();
            ASSERT_FALSE(b.isNull());
            QSet<QRgb> Farben;
            int Gemalt = 0;
            for (int y = 0; y < b.height(); ++y)
                for (int x = 0; x < b.width(); ++x) {
                    const QRgb p = b.pixel(x, y) & 0xFFFFFF;
                    Farben.insert(p);
                    Gemalt += p != 0xFFFFFF;
                }
            EXPECT_GT(Farben.size(), 40);
            EXPECT_GT(Gemalt * 12, b.width() * b.height());
        }
    }
}

} // namespace

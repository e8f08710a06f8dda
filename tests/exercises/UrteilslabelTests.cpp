// The verdicts of every exercise form shown whole: each verdict label holds,
// painted in its own font, every verdict its checks can write into it; the
// verdicts that fit as they are keep the label's look.
#include "K1TestHelfer.h"

#include "exercises/chapter2/UZqK2_4A2.h"
#include "platform/Keys.h"
#include "platform/TextMetrics.h"
#include "shell/ExerciseRegistry.h"
#include "shell/UAufgabeg.h"
#include "term/UTermFormular.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace K1Test;

// What the answer check of a term copy can write: the texts of its result
// codes and its own messages.
QStringList Pruefung(int Kopie) {
    TLabel l(nullptr);
    QStringList t = {QStringLiteral("Keine Eingabe gemacht."), QStringLiteral("Klammern setzen !"),
                     QStringLiteral("Bitte kein abs benutzen !"), QStringLiteral("Unzulässige Eingabe !")};
    for (int Code = 1; Code <= 16; ++Code) {
        l.SetCaption(QString());
        if (Kopie == 1) ErgebnisAnzeigen1(&l, Code);
        if (Kopie == 2) ErgebnisAnzeigen2(&l, Code);
        if (Kopie == 3) ErgebnisAnzeigen3(&l, Code);
        if (!l.Caption().isEmpty()) t << l.Caption();
    }
    return t;
}

// The verdict labels of a form, by name: the copy of the answer check whose
// messages stay in them (0: none stays, the form writes its own verdict over
// them) and the form's own verdicts.
struct TUrteile {
    const char* Klasse;
    const char* Labels; // a pattern of names
    int Kopie;
    QStringList Eigene;
};

const QStringList Waage = {QStringLiteral("Zu wenig Gewicht auf der rechten Waagschale."),
                           QStringLiteral("Die Waage befindet sich im Gleichgewicht. Sehr gut, weiter so."),
                           QStringLiteral("Zu viel Gewicht auf der rechten Waagschale.")};
const QStringList Zahlenstrahl = {QStringLiteral("Klasse, du hast die Zahl richtig eingetragen."),
                                  QStringLiteral("Die Zahl liegt weiter links auf dem Zahlenstrahl."),
                                  QStringLiteral("Die Zahl liegt weiter rechts auf dem Zahlenstrahl.")};
const QStringList Gesamturteil = {QStringLiteral("Sehr gut, weiter so."), QStringLiteral("Leider falsch.")};
const QStringList RichtigFalsch = {QStringLiteral("richtig"), QStringLiteral("falsch")};
const QStringList Umwandeln = {
    QStringLiteral("Das stimmt nicht."), QStringLiteral("Die Umwandlung stimmt nicht."),
    QStringLiteral("Richtig, aber noch nicht die gewünschte Darstellung."),
    QStringLiteral("Das ist richtig."), QStringLiteral("Sehr gut ! Du hast die Zahl richtig umgewandelt.")};

const std::vector<TUrteile>& Tabelle() {
    static const std::vector<TUrteile> t = {
        {"TZqK1_1A1", "LabelP1", 2, {}},
        {"TZqK1_1A1", "LabelP2", 0, Zahlenstrahl},
        {"TZqK1_1A1", "LabelP3", 0, {QStringLiteral("1 000 000 > 990 000")}},
        {"TZqK1_1A2", "LabelP1", 2, {}},
        {"TZqK1_1A2", "LabelP2", 0, Zahlenstrahl},
        {"TZqK1_1A2", "LabelP3", 0, {QStringLiteral("1 000 000 > 990 000")}},
        {"TZqK1_1B1",
         "LabelP1",
         0,
         {QStringLiteral("Klicke mit der Maus auf einen der 3 Buttons."),
          QStringLiteral("Sehr gut. Die Beziehung stimmt."), QStringLiteral("Die Beziehung stimmt nicht.")}},
        {"TZqK1_1C1", "LabelP[12]", 3, {QStringLiteral("Eingabe unvollständig oder fehlerhaft.")}},
        {"TZqK1_1D1", "LabelP1", 3, {}},
        {"TZqK1_2A1", "LabelP[12]", 2, {}},
        {"TZqK1_2B1", "LabelP[12]", 2, {QStringLiteral("Überschlagswert durch Runden")}},
        {"TZqK1_2C1", "LabelP[1-7]", 2, {}},
        {"TZqK1_3A1", "LabelZ[1-4]", 0, RichtigFalsch + QStringList{QStringLiteral("Übertrag\rbeachten")}},
        {"TZqK1_3A1", "LabelP1", 0, Gesamturteil},
        {"TZqK1_3B1", "LabelZ[1-4]", 0, RichtigFalsch + QStringList{QStringLiteral("Übertrag\rbeachten")}},
        {"TZqK1_3B1", "LabelP1", 0, Gesamturteil},
        {"TZqK1_3C1", "LabelP[1-3]", 2, {}},
        {"TZqK1_3D1", "LabelP1", 0, Gesamturteil},
        {"TZqK1_3E1", "LabelP1", 0, Gesamturteil},
        {"TZqK1_3F1", "LabelP1", 0, Gesamturteil},
        {"TZqK1_3G1", "LabelPP", 0,
         RichtigFalsch + QStringList{QStringLiteral("Fülle alle umrandeten Felder aus.")}},
        {"TZqK1_3G1", "LabelPP[0-9]+", 0, RichtigFalsch},
        {"TZqK1_3G1", "LabelP1", 0, Gesamturteil},
        {"TZqK1_3H1", "LabelPP", 0,
         RichtigFalsch + QStringList{QStringLiteral("Fülle alle umrandeten Felder aus.")}},
        {"TZqK1_3H1", "LabelPP[0-9]+", 0, RichtigFalsch},
        {"TZqK1_3H1", "LabelP1", 0, Gesamturteil},
        {"TZqK1_4A1",
         "LabelP1",
         2,
         {QStringLiteral("Das stimmt."), QStringLiteral("Das stimmt nicht."),
          QStringLiteral("Leider falsch.")}},
        {"TZqK1_4B1",
         "LabelP0",
         0,
         {QStringLiteral("Der Kuchen stimmt."), QStringLiteral("Der Bananenanteil ist zu groß."),
          QStringLiteral("Der Bananenanteil ist zu gering.")}},
        {"TZqK1_4B1", "LabelP[1-3]", 2, {}},
        {"TZqK1_4B1",
         "Label26",
         0,
         {QStringLiteral("Die Zuordnung stimmt."), QStringLiteral("Die Zuordnung stimmt nicht.")}},
        {"TZqK2_1A2",
         "LabelP[12]",
         0,
         {QStringLiteral("Klasse, du hast die Uhrzeit richtig abgelesen."),
          QStringLiteral("Fülle alle Felder aus."), QStringLiteral("Die Uhrzeit stimmt nicht.")}},
        {"TZqK2_1B1",
         "LabelP(5|7|10)",
         0,
         {QStringLiteral("Es fehlen noch Einträge."), QStringLiteral("Das stimmt. Sehr gut, weiter so."),
          QStringLiteral("Richtig, aber nicht die gewünschte Form."), QStringLiteral("Leider falsch.")}},
        {"TZqK2_1B1", "LabelP[0-9]+", 2, {}},
        {"TZqK2_1C1", "LabelP[0-9]+", 0, RichtigFalsch + QStringList{QStringLiteral("?")}},
        {"TZqK2_2A1",
         "Labelp1",
         0,
         {QStringLiteral("Super, das Ergebnis ist richtig."), QStringLiteral("leider falsch"),
          QStringLiteral("Nur 1. Wert ist richtig."), QStringLiteral("Nur 2. Wert ist richtig."),
          QStringLiteral("Bitte gemischte Schreibweise benutzen.")}},
        // Hidden: it only takes the messages of the checks behind Labelp1.
        {"TZqK2_2A1", "LabelH", 0, {}},
        {"TZqK2_2B1", "LabelP[0-9]+", 2, {}},
        {"TZqK2_3A1",
         "LabelP1",
         0,
         {QStringLiteral("Sehr gut, weiter so."), QStringLiteral("Richtig, aber es geht noch geschickter."),
          QStringLiteral("Das Becken ist noch nicht vollständig befüllt."),
          QStringLiteral("Die Füllmenge war zu groß. Entleere das Becken.")}},
        {"TZqK2_3B1", "LabelP[0-9]+", 1, {}},
        {"TZqK2_4A1", "Label4", 0, Waage},
        {"TZqK2_4A2", "Label4", 0, Waage},
        {"TZqK2_4A2", "LabelP1", 2, {}},
        {"TZqK2_4B1", "LabelP[0-9]+", 2, {}},
        {"TZqK2_5A1",
         "StaticText1",
         0,
         {QStringLiteral("Es fehlen noch 175,48 €."), QStringLiteral("Es fehlt noch Geld."),
          QStringLiteral("Der Geldbetrag stimmt. Sehr gut, weiter so."),
          QStringLiteral("Du hast 175,21 € zuviel bezahlt."), QStringLiteral("Du hast zuviel bezahlt.")}},
        {"TZqK2_5B1", "LabelP[12]", 2, {}},
        {"TZqK2_6A1", "LabelP[0-9]", 2, Umwandeln},
        {"TZqK3_1A1",
         "LabelP1",
         0,
         {QStringLiteral("Alle weißen Kreise\rmüssen gefüllt sein."),
          QStringLiteral("Nicht das gewünschte Muster."),
          QStringLiteral("Das Muster stimmt.\rSehr gut, weiter so.")}},
        {"TZqK3_1C1", "Label4", 2, {}},
        {"TZqK3_2A1", "LabelP1", 2, {}},
        {"TZqK3_2D1", "LabelP", 0, RichtigFalsch},
    };
    return t;
}

const TUrteile* Eintrag(const QString& Klasse, const QString& Name) {
    for (const TUrteile& u : Tabelle()) {
        const QRegularExpression m(QStringLiteral("^(%1)$").arg(QString::fromLatin1(u.Labels)));
        if (Klasse == QLatin1String(u.Klasse) && m.match(Name).hasMatch()) return &u;
    }
    return nullptr;
}

// A verdict label: black, not auto-sized; score captions in black size themselves.
bool IstUrteilslabel(TControl* c) {
    auto* l = dynamic_cast<TLabel*>(c);
    return l && !l->Transparent() && !l->AutoSize() && l->Color() == clBlack;
}

// What of the control's painting falls outside it: it paints into a picture
// with a wide margin of a colour it never uses. Empty when all lies within.
// Ink: the pixels of the text, counted inside.
QString Ueberstand(TControl* c, int& Tinte) {
    const int Rand = 200;
    const QColor Grund(1, 2, 3);
    QImage img(c->Width() + 2 * Rand, c->Height() + 2 * Rand, QImage::Format_RGB32);
    img.fill(Grund);
    {
        QPainter p(&img);
        p.translate(Rand, Rand);
        c->PaintWidget(p);
    }
    const QRgb Innen = img.pixel(Rand, Rand);
    Tinte = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const bool Drin = x >= Rand && y >= Rand && x < Rand + c->Width() && y < Rand + c->Height();
            if (Drin) {
                Tinte += img.pixel(x, y) != Innen;
            } else if (img.pixel(x, y) != Grund.rgb()) {
                return QStringLiteral("Text außerhalb bei (%1, %2)").arg(x - Rand).arg(y - Rand);
            }
        }
    return QString();
}

bool PasstUnveraendert(const TFont& Font, const QString& Text, int Breite) {
    QString t = Text;
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString& z : t.split(QLatin1Char('\n')))
        if (TextMetrics().TextWidth(Font, z) > Breite) return false;
    return true;
}

class Urteile : public ::testing::TestWithParam<QString> {};

TEST_P(Urteile, JedesUrteilPasstGanzInSeinLabel) {
    const QString Klasse = GetParam();
    SeedScope Seed(4711);
    Screen()->SetSize(1280, 1024);
    AlleAufgabenRegistrieren();
    std::unique_ptr<TAufgabeg> f(AufgabeErzeugen(Klasse, Application()));
    ASSERT_TRUE(f);
    ShowAndActivate(f.get());
    for (int i = 0; i < f->ComponentCount(); ++i) {
        auto* c = dynamic_cast<TControl*>(f->Components(i));
        if (!c) continue;
        const TUrteile* u = Eintrag(Klasse, c->Name());
        if (!u) {
            EXPECT_FALSE(IstUrteilslabel(c)) << c->Name().toStdString() << ": a verdict label without texts";
            continue;
        }
        // The look the form gave the label, before any verdict.
        c->SetCaption(QString());
        TFont Eigen;
        Eigen.Assign(*c->Font());
        QStringList Texte = u->Eigene;
        if (u->Kopie) Texte += Pruefung(u->Kopie);
        for (const QString& Text : Texte) {
            SCOPED_TRACE((c->Name() + QStringLiteral(": ") + Text).toStdString());
            c->SetCaption(Text);
            int Tinte = 0;
            EXPECT_EQ(Ueberstand(c, Tinte), QString());
            EXPECT_GT(Tinte, 0);
            // A verdict that fits as it is keeps the look.
            if (PasstUnveraendert(Eigen, Text, c->Width())) {
                EXPECT_EQ(c->Font()->Height(), Eigen.Height());
                if (auto* l = dynamic_cast<TLabel*>(c)) EXPECT_FALSE(l->WordWrap());
            }
        }
        c->SetCaption(QString());
        EXPECT_EQ(c->Font()->Height(), Eigen.Height());
    }
    f->Close();
    ProcessEvents();
    Screen()->Reset();
}

INSTANTIATE_TEST_SUITE_P(Uebungen, Urteile, ::testing::ValuesIn(K1Test::AlleKlassen()),
                         [](const ::testing::TestParamInfo<QString>& i) { return i.param.toStdString(); });

// The balance's verdict to the mass typed: in two lines of the label's own
// font, the right answer and the right answer in an unusual notation alike.
TEST(Urteile, DieWaageZeigtIhrUrteilZuDerMasseGanz) {
    OffeneForm<TZqK2_4A2> f;
    const int Schrift = f->LabelP1->Font()->Height();
    const QString Masse = QString::number(ZqK2_4A2.Zielmasse);
    for (const QString& Antwort : {Masse, QStringLiteral("(") + Masse + QStringLiteral(")1")}) {
        SCOPED_TRACE(Antwort.toStdString());
        f->RichEdit1->Clear();
        f->RichEdit1->SetFocus();
        TypeAtFocus(Antwort);
        PressKeyAtFocus(VK_RETURN);
        EXPECT_EQ(f->LabelP1->Font()->Color(), Antwort == Masse ? RGB(0, 255, 0) : RGB(0, 255, 255));
        EXPECT_EQ(f->LabelP1->Caption(), Antwort == Masse
                                             ? QStringLiteral("Super, das Ergebnis ist richtig.")
                                             : QStringLiteral("Richtig, aber unübliche Schreibweise."));
        EXPECT_TRUE(f->LabelP1->WordWrap());
        EXPECT_EQ(f->LabelP1->Font()->Height(), Schrift);
        int Tinte = 0;
        EXPECT_EQ(Ueberstand(f->LabelP1, Tinte), QString());
        EXPECT_GT(Tinte, 0);
        Bildschirmfoto(f.get(), QStringLiteral("TZqK2_4A2_Urteil") + (Antwort == Masse ? "1" : "2"));
    }
    // A short verdict goes back to one line.
    f->RichEdit1->Clear();
    TypeAtFocus(QStringLiteral("1"));
    PressKeyAtFocus(VK_RETURN);
    EXPECT_EQ(f->LabelP1->Caption(), QStringLiteral("Leider falsch"));
    EXPECT_FALSE(f->LabelP1->WordWrap());
}

} // namespace

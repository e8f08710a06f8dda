// Word problems on tab pages, driven as a pupil: each page's story, answers
// typed right and wrong, help, "Ergebnis", and the way back to page 1.
#include "K1TestHelfer.h"

#include "exercises/chapter2/RegisterChapter2.h"
#include "platform/Clipboard.h"
#include "exercises/chapter2/UZqK2_2B1.h"
#include "exercises/chapter2/UZqK2_3B1.h"
#include "exercises/chapter2/UZqK2_4B1.h"
#include "shell/ExerciseRegistry.h"
#include "shell/UAbschnitte.h"

#include <QDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace K1Test;

const QString Richtig = QStringLiteral("Super, das Ergebnis ist richtig.");
const QString Falsch = QStringLiteral("Leider falsch");
const TColor Gruen = RGB(0, 255, 0), Rot = RGB(255, 0, 0), Dunkelgruen = RGB(0, 200, 0);

// The texts of the labels on the shown page (not in panels), top to bottom.
QStringList Seitentexte(TTextaufgabe* f) {
    QStringList t;
    TTabSheet* s = f->PageControl1->ActivePage();
    std::vector<TLabel*> l;
    for (int i = 0; i < s->ControlCount(); ++i)
        if (auto* label = dynamic_cast<TLabel*>(s->Controls(i)); label && !label->Caption().isEmpty())
            l.push_back(label);
    std::stable_sort(l.begin(), l.end(), [](TLabel* a, TLabel* b) { return a->Top() < b->Top(); });
    for (TLabel* label : l)
        t << label->Caption();
    return t;
}

// Types the answer into the question's box through its key handling and presses Enter.
void Antworten(const TTextPosten& p, const QString& Antwort) {
    p.Box->Clear();
    p.Box->SetFocus();
    TypeText(p.Box, Antwort);
    PressEnter(p.Box);
}

const TTextPosten& PostenMit(TTextaufgabe* f, const char* Box) {
    for (const TTextPosten& p : f->Posten)
        if (p.Box->Name() == QLatin1String(Box)) return p;
    throw std::runtime_error(Box);
}

} // namespace

TEST(WordProblems, LengthsPageByPage) {
    OffeneForm<TZqK2_2B1> f;
    EXPECT_EQ(f->Caption(), QStringLiteral("Abschnitt 2.2   Übung 2"));
    EXPECT_EQ(f->Label1->Caption(), QStringLiteral("Längeneinheiten"));
    EXPECT_FALSE(f->B_Neuer_Typ->Visible());
    EXPECT_EQ(f->PanelPage->Color(), RGB(210, 242, 222));
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), QStringLiteral("Aufgabe 1 / 4"));
    EXPECT_EQ(f->SichtbareSeite(), 1);
    EXPECT_TRUE(f->Posten[0].Box->Focused());
    EXPECT_EQ(Seitentexte(f.get()).mid(0, 3),
              (QStringList{"Eine CD - Hülle ist 5mm hoch.",
                           "Welche Höhe besitzt ein CD - Stapel aus 30 übereinander liegenden Hüllen ?",
                           "Stapelhöhe ="}));

    // 1,5 dm: with a comma and with a point.
    const TTextPosten& dm = PostenMit(f.get(), "RichEdit3");
    for (const char* a : {"1,5", "1.5"}) {
        Antworten(dm, QString::fromLatin1(a));
        EXPECT_EQ(dm.Urteil->Caption(), Richtig) << a;
        EXPECT_EQ(dm.Urteil->Font()->Color(), Gruen);
        EXPECT_EQ(dm.Pruefen->Font()->Color(), Dunkelgruen);
    }
    const TTextPosten& mm = PostenMit(f.get(), "RichEdit1");
    Antworten(mm, QStringLiteral("35"));
    EXPECT_EQ(mm.Urteil->Caption(), Falsch);
    EXPECT_EQ(mm.Urteil->Font()->Color(), Rot);
    EXPECT_EQ(mm.Pruefen->Font()->Color(), Rot);
    // A short term counts by its value.
    Antworten(mm, QStringLiteral("30*5"));
    EXPECT_EQ(mm.Urteil->Caption(), Richtig);

    // Help shows its panel; its "Ergebnis" fills in and checks the answer.
    const TTextPosten& m = PostenMit(f.get(), "RichEdit4");
    EXPECT_EQ(m.Hilfe->Name(), QStringLiteral("BitBtn8"));
    EXPECT_FALSE(m.Hilfefeld->Visible());
    m.Hilfe->Click();
    EXPECT_TRUE(m.Hilfefeld->Visible());
    EXPECT_TRUE(m.Box->Focused());
    ASSERT_EQ(m.Ergebnis->Name(), QStringLiteral("BitBtn11"));
    m.Ergebnis->Click();
    EXPECT_EQ(Zeile0(m.Box), QStringLiteral("0,15"));
    EXPECT_EQ(m.Urteil->Caption(), Richtig);

    // As a worksheet: the page's content without buttons and verdicts, framed in white.
    ASSERT_TRUE(f->ScreenshotErstellen());
    TBitmap Blatt;
    ASSERT_TRUE(Clipboard()->GetBitmap(Blatt));
    const QImage Bild = Blatt.Image().convertToFormat(QImage::Format_RGB32);
    Bild.save(QStringLiteral(PRAVOLIN_TEST_OUTPUT "/arbeitsblatt_laengen.png"));
    EXPECT_GT(Bild.width(), 500);
    EXPECT_EQ(Bild.pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_TRUE(m.Urteil->Visible());
    EXPECT_TRUE(m.Pruefen->Visible());

    f->B_NeueAufgabe->Click();
    EXPECT_EQ(f->SichtbareSeite(), 2);
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), QStringLiteral("Aufgabe 2 / 4"));
    EXPECT_TRUE(PostenMit(f.get(), "RichEdit5").Box->Focused());
    EXPECT_FALSE(m.Hilfefeld->Visible());
    EXPECT_TRUE(Zeile0(dm.Box).isEmpty());
    EXPECT_EQ(dm.Pruefen->Font()->Color(), clBlack);
    EXPECT_TRUE(dm.Urteil->Caption().isEmpty());
    EXPECT_EQ(
        Seitentexte(f.get()).mid(1, 3),
        (QStringList{"Zunächst geht er zu einer nur 200m entfernten Schrebergartenanlage.",
                     "Nach weiteren 500m erreicht er eine Parkanlage und 750m weiter einen Teich.",
                     "Dort pausiert er eine halbe Stunde und geht anschließend den gleichen Weg zurück."}));
    Antworten(PostenMit(f.get(), "RichEdit5"), QStringLiteral("2*(200+500+750)"));
    EXPECT_EQ(PostenMit(f.get(), "RichEdit5").Urteil->Caption(),
              QStringLiteral("Richtig, aber weiter vereinfachen."));
    Antworten(PostenMit(f.get(), "RichEdit6"), QStringLiteral("2,9"));
    EXPECT_EQ(PostenMit(f.get(), "RichEdit6").Urteil->Caption(), Richtig);

    f->B_NeueAufgabe->Click();
    EXPECT_EQ(Seitentexte(f.get()).first(),
              QStringLiteral("Silke möchte mit ihrem Auto von Dortmund nach München fahren."));
    Antworten(PostenMit(f.get(), "RichEdit7"), QStringLiteral("786"));
    EXPECT_EQ(PostenMit(f.get(), "RichEdit7").Urteil->Caption(), Falsch);

    // Page 4: 4,85 m do not fit along 4,80 m.
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(f->SichtbareSeite(), 4);
    Antworten(PostenMit(f.get(), "RichEdit9"), QStringLiteral("485"));
    EXPECT_EQ(PostenMit(f.get(), "RichEdit9").Urteil->Caption(), Richtig);
    f->BitBtn19->Click();
    EXPECT_EQ(f->BitBtn19->Font()->Color(), Dunkelgruen);
    f->BitBtn18->Click();
    EXPECT_EQ(f->BitBtn18->Font()->Color(), Rot);
    EXPECT_EQ(f->BitBtn18->Caption(), QStringLiteral("Ja"));

    // After the last page: page 1 again, all cleared.
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(f->SichtbareSeite(), 1);
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), QStringLiteral("Aufgabe 1 / 4"));
    EXPECT_EQ(f->BitBtn18->Font()->Color(), clBlack);
    EXPECT_EQ(f->BitBtn19->Font()->Color(), clBlack);
    for (const TTextPosten& p : f->Posten) {
        EXPECT_TRUE(Zeile0(p.Box).isEmpty()) << p.Box->Name().toStdString();
        EXPECT_EQ(p.Pruefen->Font()->Color(), clBlack);
    }
}

TEST(WordProblems, VolumesCheckWithTheFirstCopyAndShowThePartySolution) {
    OffeneForm<TZqK2_3B1> f;
    EXPECT_EQ(f->Caption(), QStringLiteral("Abschnitt 2.3   Übung 2"));
    EXPECT_EQ(f->Label1, nullptr);
    EXPECT_EQ(f->B_BtnAufgabenNr->Caption(), QStringLiteral("Aufgabe 1 / 3"));
    EXPECT_EQ(Seitentexte(f.get()).first(),
              QStringLiteral("Die Gießkanne hat ein Fassungsvermögen von 10 Litern."));
    Antworten(PostenMit(f.get(), "RichEdit2"), QStringLiteral("500:10"));
    EXPECT_EQ(PostenMit(f.get(), "RichEdit2").Urteil->Caption(),
              QStringLiteral("Richtig, aber bitte noch weiter vereinfachen."));
    Antworten(PostenMit(f.get(), "RichEdit1"), QStringLiteral("20"));
    EXPECT_EQ(PostenMit(f.get(), "RichEdit1").Urteil->Caption(), Richtig);

    f->B_NeueAufgabe->Click();
    EXPECT_EQ(f->SichtbareSeite(), 2);
    // Only the first page puts the focus into its box.
    EXPECT_FALSE(PostenMit(f.get(), "RichEdit3").Box->Focused());
    const TTextPosten& Party = PostenMit(f.get(), "RichEdit6");
    Antworten(Party, QStringLiteral("0,5"));
    EXPECT_EQ(Party.Urteil->Caption(), Richtig);
    Antworten(Party, QStringLiteral("0,4"));
    EXPECT_EQ(Party.Urteil->Caption(), Falsch);
    EXPECT_FALSE(f->Panel8->Visible());
    Party.Hilfe->Click();
    ASSERT_EQ(Party.Ergebnis->Name(), QStringLiteral("BitBtnErgebnis"));
    Party.Ergebnis->Click();
    EXPECT_TRUE(f->Panel8->Visible());
    EXPECT_EQ(Party.Urteil->Caption(), Richtig);
    // No other question of this form has an "Ergebnis".
    int Ergebnisse = 0;
    for (const TTextPosten& p : f->Posten)
        Ergebnisse += p.Ergebnis != nullptr;
    EXPECT_EQ(Ergebnisse, 1);
    EXPECT_EQ(f->Posten.size(), 11u);

    f->B_NeueAufgabe->Click();
    EXPECT_EQ(Seitentexte(f.get()).mid(0, 3), (QStringList{"Bestimme für jedes Produkt den Preis pro Liter",
                                                           "500 ml Öl kosten 2 €.", "1 Liter Öl kostet"}));
    Antworten(PostenMit(f.get(), "RichEdit11"), QStringLiteral("600"));
    EXPECT_EQ(PostenMit(f.get(), "RichEdit11").Urteil->Caption(), Richtig);
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(f->SichtbareSeite(), 1);
    EXPECT_FALSE(f->Panel8->Visible());
}

TEST(WordProblems, WeightsPagesAndAnswersThatComeWithTheHelp) {
    OffeneForm<TZqK2_4B1> f;
    EXPECT_EQ(f->Caption(), QStringLiteral("Abschnitt 2.4   Übung 3"));
    EXPECT_EQ(f->Label1->Caption(), QStringLiteral("Gewichte"));
    std::vector<QString> Blaetter;
    for (TTabSheet* s : f->Seiten)
        Blaetter.push_back(s->Name());
    EXPECT_EQ(Blaetter, (std::vector<QString>{"TabSheet2", "TabSheet3", "TabSheet4", "TabSheet1"}));
    EXPECT_EQ(Seitentexte(f.get()).first(),
              QStringLiteral("Ein ausgewachsener Elenfantenbulle wiegt 4,5 t."));
    Antworten(PostenMit(f.get(), "RichEdit3"), QStringLiteral("8,5"));
    EXPECT_EQ(PostenMit(f.get(), "RichEdit3").Urteil->Caption(), Richtig);
    // The kilogram question sits in a panel that always shows, with its "Ergebnis".
    const TTextPosten& kg = PostenMit(f.get(), "RichEdit4");
    EXPECT_EQ(kg.Hilfe, nullptr);
    EXPECT_TRUE(kg.Box->Showing());
    kg.Ergebnis->Click();
    EXPECT_EQ(Zeile0(kg.Box), QStringLiteral("8500"));
    EXPECT_EQ(kg.Urteil->Caption(), Richtig);

    f->B_NeueAufgabe->Click();
    const TTextPosten& Kurs = PostenMit(f.get(), "RichEdit6");
    EXPECT_FALSE(f->BitBtn11->Visible());
    Kurs.Hilfe->Click();
    EXPECT_TRUE(Kurs.Hilfefeld->Visible());
    EXPECT_TRUE(f->BitBtn11->Visible());
    f->BitBtn11->Click();
    EXPECT_EQ(Kurs.Urteil->Caption(), Richtig);

    // The letters' kilogram answer is out of reach until the total's help is open.
    f->B_NeueAufgabe->Click();
    EXPECT_EQ(f->PageControl1->ActivePage()->Name(), QStringLiteral("TabSheet4"));
    const TTextPosten& Gesamt = PostenMit(f.get(), "RichEdit8");
    const TTextPosten& Kilo = PostenMit(f.get(), "RichEdit9");
    EXPECT_FALSE(f->BitBtn3->Visible());
    EXPECT_FALSE(Kilo.Ergebnis->Showing());
    Gesamt.Hilfe->Click();
    EXPECT_TRUE(Kilo.Ergebnis->Showing());
    Kilo.Ergebnis->Click();
    EXPECT_EQ(Zeile0(Kilo.Box), QStringLiteral("64"));
    EXPECT_EQ(Kilo.Urteil->Caption(), Richtig);
    Antworten(Gesamt, QStringLiteral("64 000"));
    EXPECT_EQ(Gesamt.Urteil->Caption(), Richtig);

    f->B_NeueAufgabe->Click();
    EXPECT_EQ(f->PageControl1->ActivePage()->Name(), QStringLiteral("TabSheet1"));
    Antworten(PostenMit(f.get(), "RichEdit2"), QStringLiteral("0,22"));
    EXPECT_EQ(PostenMit(f.get(), "RichEdit2").Urteil->Caption(), Richtig);
    Antworten(PostenMit(f.get(), "RichEdit1"), QStringLiteral("200"));
    EXPECT_EQ(PostenMit(f.get(), "RichEdit1").Urteil->Caption(), Falsch);

    f->B_NeueAufgabe->Click();
    EXPECT_EQ(f->SichtbareSeite(), 1);
    EXPECT_FALSE(f->BitBtn11->Visible());
    EXPECT_FALSE(f->BitBtn3->Visible());
}

// The section pages' buttons open the registered forms.
TEST(WordProblems, SectionButtonsOpenTheForms) {
    RegisterChapter2Exercises();
    const struct {
        const char* Abschnitt;
        int Seite;
        const char* Klasse;
    } Faelle[] = {{"TZqK2_2", 2, "TZqK2_2B1"}, {"TZqK2_3", 2, "TZqK2_3B1"}, {"TZqK2_4", 2, "TZqK2_4B1"}};
    for (const auto& Fall : Faelle) {
        const std::unique_ptr<TKxNav> Abschnitt(
            AbschnittsformErzeugen(QString::fromLatin1(Fall.Abschnitt), Application()));
        ASSERT_TRUE(Abschnitt);
        Abschnitt->SeitenEinrichten();
        Abschnitt->AktSeite = Fall.Seite;
        Abschnitt->SeiteAnzeigen();
        QString Geoeffnet;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(50, [&] {
                if (TAufgabeg* a = OffeneAufgabe(QString::fromLatin1(Fall.Klasse))) {
                    Geoeffnet = a->ClassName();
                    a->ProgrammEndeClick(nullptr);
                }
            });
        });
        Abschnitt->SpeedButton2->Click();
        EXPECT_EQ(Geoeffnet, QString::fromLatin1(Fall.Klasse));
    }
}

#include "ShellTestHelfer.h"
#include "platform/Dialogs.h"
#include "shell/UAbschnitte.h"
#include "shell/UZq.h"
#include "shell/UZqK.h"
#include "shell/UZqStart.h"
#include "support/FormDriver.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

class Antworten : public TDialogResponder {
public:
    Antworten() { SetDialogResponder(this); }
    ~Antworten() override { SetDialogResponder(nullptr); }
    TDialogAnswer Answer(const TDialogRequest& r) override {
        Fragen << r.text;
        TDialogAnswer a;
        a.result = Antwort;
        return a;
    }
    int Antwort = mrNo;
    QStringList Fragen;
};

class NavigationForms : public ::testing::Test {
protected:
    void SetUp() override { ShellFormenEinrichten(); }
};

TEST_F(NavigationForms, ChapterSelectionLeadsToTheSectionsAndBack) {
    std::vector<QString> Weg;
    int Schritt = 0;
    ModalBeobachter b([&](TForm* f) {
        QString Eintrag = f->ClassName();
        if (auto* n = dynamic_cast<TKxNav*>(f)) Eintrag += QStringLiteral(" %1").arg(n->AktSeite);
        Weg.push_back(Eintrag);
        if (f == ZqK) {
            // First into chapter 1, then, after coming back, into chapter 2.
            if (Schritt == 0) ZqK->Button1->Click();
            if (Schritt == 1) ZqK->Button2->Click();
            if (Schritt == 2) ZqK->BitBtn1->Click();
            ++Schritt;
            return;
        }
        if (auto* k = dynamic_cast<TZqKapitel*>(f)) {
            if (k->ClassName() == QLatin1String("TZqK1"))
                k->Button[3]->Click();
            else
                k->Button[6]->Click();
            k->BitBtn1->Click();
            return;
        }
        f->Close();
    });
    KxNav->AktSeite = 5;
    KapitelauswahlZeigen();
    EXPECT_EQ(Weg,
              (std::vector<QString>{"TZqK", "TZqK1", "TZqK1_3 1", "TZqK", "TZqK2", "TZqK2_6 1", "TZqK"}));
    EXPECT_EQ(Schritt, 3);
    EXPECT_FALSE(ZqK->Showing());
    EXPECT_EQ(OffenesKapitel(1), nullptr);
}

// "caption|left,top,width,height|font px" of a button, or "hidden" when invisible.
QString Knopf(TControl* b) {
    if (!b->Visible()) return QStringLiteral("hidden");
    return QStringLiteral("%1|%2,%3,%4,%5|%6")
        .arg(b->Caption().trimmed())
        .arg(b->Left())
        .arg(b->Top())
        .arg(b->Width())
        .arg(b->Height())
        .arg(-b->Font()->Height());
}

TEST_F(NavigationForms, ChapterFormsListTheirSections) {
    QStringList Zeilen;
    for (TControl* b : {static_cast<TControl*>(ZqK->Button1), static_cast<TControl*>(ZqK->Button2),
                        static_cast<TControl*>(ZqK->Button3), static_cast<TControl*>(ZqK->Button4),
                        static_cast<TControl*>(ZqK->BitBtn1)})
        Zeilen << Knopf(b);
    EXPECT_EQ(
        Zeilen,
        QStringList({"1. Kapitel : Natürliche Zahlen|8,16,657,60|21", "2. Kapitel : Größen|8,88,657,60|21",
                     "3. Kapitel : Geometrie|8,160,500,60|21", "hidden", "Zurück|520,160,145,57|24"}));
    // The chapter captions end in blanks.
    EXPECT_TRUE(ZqK->Button2->Caption().endsWith(' '));

    const std::unique_ptr<TZqKapitel> K1(new TZqK1(nullptr)), K2(new TZqK2(nullptr)), K3(new TZqK3(nullptr));
    QStringList Formen;
    for (TZqKapitel* k : {K1.get(), K2.get(), K3.get()}) {
        QStringList z{k->ClassName() + ": " + k->Caption() +
                      QStringLiteral(" %1x%2").arg(k->Width()).arg(k->Height())};
        for (int i = 1; i <= 6; ++i)
            if (k->Button[i]) z << Knopf(k->Button[i]);
        z << Knopf(k->BitBtn1);
        Formen << z.join(" / ");
    }
    EXPECT_EQ(Formen[0],
              "TZqK1: 1. Kapitel : Natürliche Zahlen 696x410 / 1.1 Einführende Übungen|8,16,497,60|24 / "
              "1.2 Schätzen und Runden|8,88,497,60|24 / 1.3 Schriftliches Rechnen|8,160,497,60|24 / "
              "1.4 Diagramme|8,232,497,60|24 / hidden / Zurück|520,304,145,57|24");
    EXPECT_EQ(Formen[1],
              "TZqK2: 2. Kapitel : Größen 696x489 / 2.1 Zeiten|8,16,665,60|21 / 2.2 Längen|8,88,665,60|21 / "
              "2.3 Volumina|8,160,665,60|21 / 2.4 Gewichte|8,232,665,60|21 / "
              "2.5 Geldwerte|8,304,500,60|24 / 2.6 Umwandeln von Einheiten|8,372,500,60|24 / "
              "Zurück|528,372,145,57|24");
    EXPECT_EQ(Formen[2],
              "TZqK3: 3. Kapitel : Geometrie 696x410 / 3.1 Ebene Geometrie|8,16,497,60|24 / "
              "3.2 Räumliche Geometrie|8,88,497,60|24 / hidden / hidden / hidden / Zurück|520,232,145,57|24");
    EXPECT_EQ(K2->Color(), clTeal);
    EXPECT_EQ(ZqK->Color(), clNavy);
}

TEST_F(NavigationForms, StartScreenLaysOutForTheNewSize) {
    std::vector<QString> Weg;
    ModalBeobachter b([&](TForm* f) {
        Weg.push_back(f->ClassName());
        if (f == ZqStart) {
            EXPECT_EQ(ZqStart->Label4->Caption(), "");
            ZqStart->SpeedButton2->Click(); // the instructions, modal over the start screen
            ZqStart->SpeedButton1->Click();
        } else {
            f->Close();
        }
    });
    ZqStart->ShowModal();
    EXPECT_EQ(Weg, (std::vector<QString>{"TZqStart", "TZqAnleitung"}));

    int W = 1200 + (ZqStart->Width() - ZqStart->ClientWidth());
    int H = 900 + (ZqStart->Height() - ZqStart->ClientHeight());
    bool Erlaubt = false;
    ZqStart->OnCanResize(ZqStart, W, H, Erlaubt);
    EXPECT_TRUE(Erlaubt);
    EXPECT_EQ(ZqStart->SpeedButton1->Left(), 25);
    EXPECT_EQ(ZqStart->SpeedButton1->Top(), 800);
    EXPECT_EQ(ZqStart->SpeedButton2->Left(), 870);
    EXPECT_EQ(ZqStart->SpeedButton2->Top(), 800);
    EXPECT_EQ(ZqStart->Label1->Left(), 600 - ZqStart->Label1->Width() / 2);
    EXPECT_EQ(ZqStart->Label10->Left(), 1200 - ZqStart->Label10->Width() - 20);
}

TEST_F(NavigationForms, EndingAsksOnlyForAnUnsavedLog) {
    Antworten a;
    KxNav->LogbuchBeginnen("Logbuch: Pravolin - Grundschule");
    EXPECT_EQ(LogZeilen(KxNav->Logtext), QStringList({"Logbuch: Pravolin - Grundschule", QString(80, '*')}));
    EXPECT_TRUE(ProgrammBeendenErlaubt());
    EXPECT_TRUE(a.Fragen.isEmpty());

    KxNav->LogGeaendert = true;
    a.Antwort = mrNo;
    EXPECT_FALSE(ProgrammBeendenErlaubt());
    a.Antwort = mrYes;
    EXPECT_TRUE(ProgrammBeendenErlaubt());
    EXPECT_EQ(
        a.Fragen,
        QStringList(
            2, "Das Logbuch wurde noch nicht gespeichert.\rSoll das Programm trotzdem beendet werden ?"));
    KxNav->LogGeaendert = false;
}

// What lies outside the window: showing controls of the form that do not fit
// its client area.
QStringList Abgeschnitten(TForm* f) {
    QStringList Aussen;
    for (int i = 0; i < f->ComponentCount(); ++i) {
        auto* c = dynamic_cast<TControl*>(f->Components(i));
        if (!c || !c->Showing() || c->Width() <= 0 || c->Height() <= 0) continue;
        const QRect r(c->Widget()->mapTo(f->Widget(), QPoint(0, 0)), c->Widget()->size());
        if (!f->Widget()->rect().contains(r)) Aussen << c->Name();
    }
    return Aussen;
}

// Made as small as the user can, the windows of fixed layout keep every
// control inside (the pages, the log and the contents scroll by themselves):
// the section form with its button bar and its log panel, the main window, the
// chapter forms and the start screen.
TEST_F(NavigationForms, WindowsMadeSmallKeepEveryControlReachable) {
    ScreenScope Bildschirm(1280, 1024);
    const auto Verkleinern = [](TForm* f) {
        f->Widget()->resize(760, 240);
        ProcessEvents();
    };
    const std::unique_ptr<TKxNav> Abschnitt(AbschnittsformErzeugen("TZqK1_3", Application()));
    ASSERT_TRUE(Abschnitt);
    ShowAndActivate(Abschnitt.get());
    Verkleinern(Abschnitt.get());
    EXPECT_GE(Abschnitt->ClientWidth(), Abschnitt->LogButton->Left() + Abschnitt->LogButton->Width());
    EXPECT_EQ(Abgeschnitten(Abschnitt.get()), QStringList());
    Abschnitt->LogButton->Click();
    ProcessEvents();
    ASSERT_TRUE(Abschnitt->LogPanel->Showing());
    EXPECT_EQ(Abgeschnitten(Abschnitt.get()), QStringList());
    EXPECT_GT(Abschnitt->Logtext->Height(), 60);
    Abschnitt->Close();

    std::unique_ptr<TZq> Haupt(new TZq(Application()));
    Haupt->OnActivate = nullptr; // no start screen over it
    std::unique_ptr<TZqK1> Kapitel(new TZqK1(Application()));
    for (TForm* f : std::initializer_list<TForm*>{Haupt.get(), ZqK, Kapitel.get()}) {
        SCOPED_TRACE(f->Name().toStdString());
        ShowAndActivate(f);
        Verkleinern(f);
        EXPECT_EQ(Abgeschnitten(f), QStringList());
        f->Close();
    }

    // The start screen lays itself out anew: its buttons stay side by side below the labels.
    ZqStart->Show();
    ProcessEvents();
    Verkleinern(ZqStart);
    EXPECT_EQ(Abgeschnitten(ZqStart), QStringList());
    EXPECT_LT(ZqStart->SpeedButton1->Left() + ZqStart->SpeedButton1->Width(), ZqStart->SpeedButton2->Left());
    EXPECT_GT(ZqStart->SpeedButton1->Top(), ZqStart->Label4->Top() + ZqStart->Label4->Height());
    ZqStart->Hide();
}

} // namespace

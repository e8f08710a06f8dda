#include "ShellTestHelfer.h"
#include "platform/Keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

class TZaehlAufgabe : public TTestAufgabe {
public:
    using TTestAufgabe::TTestAufgabe;
    void FormActivate(TObject* Sender) override {
        TAufgabeg::FormActivate(Sender);
        NachAktivierung = B_BtnAufgabenNr->Caption();
    }
    QString NachAktivierung;
};

class ExerciseBase : public ::testing::Test {
protected:
    void SetUp() override {
        Application()->ResetTerminated();
        Screen()->SetSize(1024, 768);
    }
    void TearDown() override {
        for (TForm* f : m_formen)
            delete f;
        Screen()->Reset();
    }
    template <class T = TTestAufgabe> T* Zeigen() {
        auto* f = new T(Application());
        m_formen.push_back(f);
        f->Show();
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
        return f;
    }
    SetupScope m_setup;
    std::vector<TForm*> m_formen;
};

void Maus(TControl* c, QEvent::Type Art) {
    const QPointF p(c->Width() / 2.0, c->Height() / 2.0);
    QMouseEvent e(Art, p, c->Widget()->mapToGlobal(p), Qt::LeftButton,
                  Art == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(c->Widget(), &e);
}

void Klicken(TControl* c) {
    Maus(c, QEvent::MouseButtonPress);
    Maus(c, QEvent::MouseButtonRelease);
}

TEST_F(ExerciseBase, TaskCounterStartsAtOneAndWraps) {
    auto* f = Zeigen<TZaehlAufgabe>();
    EXPECT_EQ(f->NachAktivierung, "Aufgabe 1");
    EXPECT_EQ(f->AufgabenNrWert(), 0);
    QStringList Texte;
    for (int i = 0; i < 4; ++i) {
        f->B_NeueAufgabe->Click();
        Texte << f->B_BtnAufgabenNr->Caption();
    }
    EXPECT_EQ(Texte, QStringList({"Aufgabe 1 / 3", "Aufgabe 2 / 3", "Aufgabe 3 / 3", "Aufgabe 1 / 3"}));
    EXPECT_EQ(f->B_PageControl1->ActivePage(), f->TSAufgabe);
    EXPECT_EQ(f->B_PageControl2->ActivePage(), f->B_TS_Tastatur1);
    EXPECT_EQ(f->B_weitere_Werkzeuge->Caption(), "weitere\rWerkzeuge");
    EXPECT_FALSE(f->TSHelp->TabVisible());
    EXPECT_FALSE(f->B_ShapeFormgroesse->Visible());
}

TEST_F(ExerciseBase, PlacementAndScaling) {
    auto* f = Zeigen();
    EXPECT_EQ(f->Width(), 1024);
    EXPECT_EQ(f->Height(), 715);
    EXPECT_EQ(f->Left(), 0);
    EXPECT_EQ(f->Top(), 3);
    EXPECT_EQ(f->FormStyle(), fsNormal);

    FSetup.Skalieren = true;
    FSetup.Skalierungsfaktor = 5;
    FSetup.SOT = true;
    auto* g = Zeigen();
    EXPECT_EQ(g->Width(), 1536);
    EXPECT_EQ(g->Height(), 1072);
    EXPECT_EQ(g->SkalierungZaehlerWert(), 3);
    EXPECT_EQ(g->SkalierungNennerWert(), 2);
    EXPECT_EQ(g->B_NeueAufgabe->Width(), 246);
    EXPECT_EQ(g->B_Tastatur->Width(), 303);
    EXPECT_EQ(g->Left(), -256);
    EXPECT_EQ(g->FormStyle(), fsStayOnTop);

    FSetupZuruecksetzen(QString());
    FSetup.CW = true;
    FSetup.WDX = 120;
    FSetup.WDY = 80;
    Screen()->SetSize(1920, 1080);
    auto* h = Zeigen();
    EXPECT_EQ(h->Width(), 1144);
    EXPECT_EQ(h->Height(), 795);
    EXPECT_EQ(h->Left(), 388);
    EXPECT_EQ(h->Top(), 142);
}

TEST_F(ExerciseBase, SetupSwitchesLockButtonsByCaption) {
    FSetup.KeineLoesung = true;
    auto* f = Zeigen();
    std::vector<bool> Frei;
    for (TBitBtn* b : f->Knoepfe)
        Frei.push_back(b->Enabled());
    // "Hilfe", "Lösung", "Ergebnis 1", "Hilfe zur Lösung", "prüfen"
    EXPECT_EQ(Frei, (std::vector<bool>{true, false, false, false, true}));
    EXPECT_TRUE(f->Tempo->Enabled());

    FSetupZuruecksetzen(QString());
    FSetup.KeineHilfe = true;
    FSetup.KeinKurvenwerk = true;
    FSetup.KeinSkizzbrett = true;
    auto* g = Zeigen();
    Frei.clear();
    for (TBitBtn* b : g->Knoepfe)
        Frei.push_back(b->Enabled());
    EXPECT_EQ(Frei, (std::vector<bool>{false, true, true, false, true}));
    EXPECT_FALSE(g->B_Kurvenwerk->Visible());
    EXPECT_FALSE(g->B_Skizzbrett->Visible());
    EXPECT_TRUE(g->B_Raumschau->Visible());
}

TEST_F(ExerciseBase, KeypadTypesLikeTheKeyboard) {
    auto* f = Zeigen();
    ASSERT_EQ(Screen()->ActiveForm(), f);
    ASSERT_TRUE(f->Antwort->Focused());
    for (TSpeedButton* b : {f->SpeedButtonZ[1], f->SpeedButtonKomma, f->SpeedButtonZ[5]})
        Klicken(b);
    const QString VomTastenfeld = f->Antwort->Text();

    f->Antwort->SetText(QString());
    for (auto [Taste, Text, Mod] :
         {std::tuple{Qt::Key_1, "1", Qt::NoModifier}, std::tuple{Qt::Key_Comma, ",", Qt::KeypadModifier},
          std::tuple{Qt::Key_5, "5", Qt::NoModifier}}) {
        QKeyEvent Druck(QEvent::KeyPress, Taste, Mod, QString::fromLatin1(Text));
        QApplication::sendEvent(f->Antwort->Widget(), &Druck);
        QKeyEvent Los(QEvent::KeyRelease, Taste, Mod, QString::fromLatin1(Text));
        QApplication::sendEvent(f->Antwort->Widget(), &Los);
    }
    EXPECT_EQ(VomTastenfeld, "1,5");
    EXPECT_EQ(f->Antwort->Text(), VomTastenfeld);

    Klicken(f->SpeedButtonClearZ);
    EXPECT_EQ(f->Antwort->Text(), "1,");
    Klicken(f->SpeedButtonReturn);
    EXPECT_EQ(f->Pruefungen, 1);
    EXPECT_EQ(f->Antwort->Text(), "1,");
    EXPECT_TRUE(f->Antwort->Focused());
    // The cursor keys move the caret: a digit typed after "left" lands before the comma.
    Klicken(f->SpeedButtonLinks);
    Klicken(f->SpeedButtonZ[7]);
    EXPECT_EQ(f->Antwort->Text(), "17,");
}

TEST_F(ExerciseBase, KeypadWithoutFocusedControlDoesNothing) {
    auto* f = Zeigen();
    auto* g = Zeigen();
    g->SetActiveControl(nullptr);
    g->Antwort->SetText("");
    f->SpeedButtonZ[3]->OnMouseDown(f->SpeedButtonZ[3], mbLeft, 0, 1, 1);
    f->SpeedButtonZ[3]->OnMouseUp(f->SpeedButtonZ[3], mbLeft, 0, 1, 1);
    // Keys go to the active form only, never to the box of another one.
    EXPECT_EQ(f->Antwort->Text(), "");
}

TEST(ExerciseColours, SplitsResolvedColours) {
    int R = -1, G = -1, B = -1;
    TAufgabeg::FarbeInRGB(64 + 128 * 256 + 192 * 65536, R, G, B);
    EXPECT_EQ((std::tuple{R, G, B}), (std::tuple{64, 128, 192}));
    // System colours and "no colour" are resolved first, never split as numbers.
    for (TColor c : {clNone, clBtnFace}) {
        TAufgabeg::FarbeInRGB(c, R, G, B);
        EXPECT_EQ(RGB(R, G, B), ColorToRGB(c));
    }
}

} // namespace

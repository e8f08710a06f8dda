#include "Ersatzprogramme.h"
#include "ShellTestHelfer.h"
#include "platform/ControlsRich.h"
#include "platform/Keys.h"
#include "term/UTermFormular.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
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

// An exercise whose answer box is a formula box of the term engine, wired as
// the exercise forms wire theirs: key filter on key press, display form on change.
class TTermAufgabe : public TAufgabeg {
public:
    explicit TTermAufgabe(TComponent* AOwner) : TAufgabeg(AOwner) {
        Box = new TRichEdit(this);
        Box->SetName(QStringLiteral("RichEdit1"));
        Box->SetParent(B_ScrollBox);
        Box->SetBounds(20, 20, 300, 40);
        Box->OnChange = [this](TObject*) { EingabeFormatieren2(Box); };
        Box->OnKeyPress = [this](TObject*, char16_t& Key) {
            bool Enter = false;
            TasteFiltern2(Key, Enter, Box);
            if (Enter) {
                Key = 0;
                ++Pruefungen;
            }
        };
    }
    void FormActivate(TObject* Sender) override {
        TAufgabeg::FormActivate(Sender);
        NeueAufgabe();
    }
    void NeueAufgabe() override {
        Aufgabenanzahl = 2;
        TAufgabeg::NeueAufgabe();
        Box->Clear();
        Box->SetFocus();
    }
    TRichEdit* Box = nullptr;
    int Pruefungen = 0;
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

TEST_F(ExerciseBase, ButtonBarAndKeypadLayout) {
    const std::unique_ptr<TAufgabeg> f(new TAufgabeg(Application()));
    QStringList Leiste;
    for (TSpeedButton* b :
         {f->B_NeueAufgabe, f->B_Neuer_Typ, f->B_BtnAufgabenNr, f->B_speichern, f->B_drucken, f->B_Kurvenwerk,
          f->B_Raumschau, f->B_Taschenrechner, f->B_weitere_Werkzeuge, f->ProgrammEnde})
        Leiste << QStringLiteral("%1 %2 %3").arg(b->Left()).arg(b->Width()).arg(b->Hint());
    EXPECT_EQ(
        Leiste,
        QStringList({"5 164 Neue Aufgabe", "181 164 ", "358 140 Aufgabenzähler",
                     "508 58 Screenshot erstellen. Der Screenshot wird in die Zwischenablage kopiert und "
                     "kann im Lichtstudioprogramm (zur Arbeitsblatterstellung) eingefügt werden.",
                     "576 58 Lichtstudio für Screenshots starten", "644 49 Kurvenwerk starten",
                     "704 49 Raumschau starten", "764 49 Taschenrechner starten",
                     "824 90 weitere Werzeuge anzeigen", "924 86 Übung beenden"}));
    EXPECT_EQ(f->ProgrammEnde->Caption(), "Ende");
    EXPECT_EQ(f->B_BtnPanel->Height(), 56);
    EXPECT_EQ(f->B_Tastatur->Width(), 202);

    QStringList Tasten;
    for (TSpeedButton* b : {f->SpeedButtonLinks, f->SpeedButtonRechts, f->SpeedButtonClearZ,
                            f->SpeedButtonZ[1], f->SpeedButtonZ[2], f->SpeedButtonZ[9], f->SpeedButtonZ[0],
                            f->SpeedButtonKomma, f->SpeedButtonReturn})
        Tasten << QStringLiteral("%1 %2 %3,%4 %5x%6 %7 %8")
                      .arg(b->Caption(), b->Font()->Name())
                      .arg(b->Left())
                      .arg(b->Top())
                      .arg(b->Width())
                      .arg(b->Height())
                      .arg(b->Font()->Height())
                      .arg(f->TastenCode(b));
    EXPECT_EQ(Tasten, QStringList({"¬ Symbol 0,0 49x88 -24 37", "® Symbol 48,0 49x88 -24 39",
                                   "¬ Symbol 96,0 97x88 -24 8", "1 Tahoma 0,90 97x88 -48 49",
                                   "2 Tahoma 96,90 97x88 -48 50", "9 Tahoma 0,438 97x88 -48 57",
                                   "0 Tahoma 96,438 97x88 -48 48", ", Tahoma 0,524 97x88 -48 110",
                                   "¿ Symbol 96,524 97x88 -24 13"}));
    EXPECT_EQ(f->B_zurueck_zur_Tastatur->Caption(), "zurück zur Tastatur");
    // Pictures come from the resources; a wrong name leaves a key blank.
    QList<int> Bilder;
    for (TSpeedButton* b : {f->SpeedButtonClearZ, f->SpeedButtonReturn, f->B_speichern, f->B_drucken,
                            f->B_Kurvenwerk, f->B_Raumschau, f->B_Taschenrechner})
        Bilder << b->Glyph()->Width() / b->NumGlyphs();
    EXPECT_EQ(Bilder, QList<int>({40, 40, 32, 32, 32, 32, 32}));
    EXPECT_EQ(f->SpeedButtonClearZ->Layout(), blGlyphBottom);
    EXPECT_EQ(f->SpeedButtonReturn->Layout(), blGlyphTop);
    EXPECT_EQ(f->B_Raumschau->Layout(), blGlyphTop);
    // The tool page and back.
    f->B_weitere_Werkzeuge->Click();
    EXPECT_EQ(f->B_PageControl2->ActivePage(), f->B_TS_Tastatur3);
    f->B_zurueck_zur_Tastatur->Click();
    EXPECT_EQ(f->B_PageControl2->ActivePage(), f->B_TS_Tastatur1);
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

// A place an exercise sets after activation, in design pixels, lands where
// activation's scaling put the same place: the automatic factor's two steps of
// 4/3 round each time, so 1 pixel stays 1 where 16/9 at once makes it 2.
TEST_F(ExerciseBase, DesignPlacesAfterActivationTakeTheWindowsScale) {
    auto* f = Zeigen();
    EXPECT_EQ(f->Skaliert(361), 361);

    FSetup.Skalieren = true;
    FSetup.Skalierungsfaktor = 0;
    Screen()->SetSize(2560, 1600);
    auto* g = Zeigen();
    EXPECT_EQ(g->Antwort->BoundsRect(), Bounds(36, 36, 356, 53));
    EXPECT_EQ(g->Antwort->BoundsRect(),
              Bounds(g->Skaliert(20), g->Skaliert(20), g->Skaliert(200), g->Skaliert(30)));
    EXPECT_EQ(g->Skaliert(1), 1);

    FSetup.Skalierungsfaktor = 3;
    auto* h = Zeigen();
    EXPECT_EQ(h->Skaliert(1), 2);
    EXPECT_EQ(h->Skaliert(20), 36);
    EXPECT_EQ(h->Skaliert(-16), -28);
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
    // Every tool installed: only the switches hide buttons.
    Ersatzprogramme Werkzeuge;
    for (const char* w : {"Kurvenwerk", "Skizzbrett", "Raumschau"})
        Werkzeuge.Anlegen(QStringLiteral("Orvandel - Mathematik/%1/%1.exe").arg(QLatin1String(w)));
    LaufwerkScope Laufwerk(Werkzeuge.Wurzel());
    auto* g = Zeigen();
    Frei.clear();
    for (TBitBtn* b : g->Knoepfe)
        Frei.push_back(b->Enabled());
    EXPECT_EQ(Frei, (std::vector<bool>{false, true, true, false, true}));
    EXPECT_FALSE(g->B_Kurvenwerk->Visible());
    EXPECT_FALSE(g->B_Skizzbrett->Visible());
    EXPECT_TRUE(g->B_Raumschau->Visible());
}

TEST_F(ExerciseBase, KeypadTypesIntoAFormulaBoxLikeTheKeyboard) {
    auto* f = Zeigen<TTermAufgabe>();
    ASSERT_EQ(Screen()->ActiveForm(), f);
    ASSERT_TRUE(f->Box->Focused());
    for (TSpeedButton* b : {f->SpeedButtonZ[1], f->SpeedButtonKomma, f->SpeedButtonZ[5]})
        Klicken(b);
    const QString VomTastenfeld = f->Box->Text();

    f->Box->Clear();
    // The comma of the main keyboard, as a German layout types it.
    for (auto [Taste, Text] :
         {std::pair{Qt::Key_1, "1"}, std::pair{Qt::Key_Comma, ","}, std::pair{Qt::Key_5, "5"}}) {
        QKeyEvent Druck(QEvent::KeyPress, Taste, Qt::NoModifier, QString::fromLatin1(Text));
        QApplication::sendEvent(f->Box->Widget(), &Druck);
        QKeyEvent Los(QEvent::KeyRelease, Taste, Qt::NoModifier, QString::fromLatin1(Text));
        QApplication::sendEvent(f->Box->Widget(), &Los);
    }
    EXPECT_EQ(f->Box->Text(), VomTastenfeld);
    EXPECT_EQ(VomTastenfeld, "1.5");

    Klicken(f->SpeedButtonReturn);
    EXPECT_EQ(f->Pruefungen, 1);
    EXPECT_EQ(f->Box->Text(), "1.5");
    // Pressing a key leaves the focus in the box.
    EXPECT_TRUE(f->Box->Focused());

    Klicken(f->SpeedButtonClearZ);
    EXPECT_EQ(f->Box->Text(), "1.");
    // The cursor keys move the caret: a digit typed after "left" lands before the point.
    Klicken(f->SpeedButtonLinks);
    Klicken(f->SpeedButtonZ[7]);
    Klicken(f->SpeedButtonRechts);
    Klicken(f->SpeedButtonZ[2]);
    EXPECT_EQ(f->Box->Text(), "17.2");
    EXPECT_EQ(f->Pruefungen, 1);
}

TEST_F(ExerciseBase, KeypadWithoutFocusedControlDoesNothing) {
    auto* f = Zeigen();
    // A form without answer boxes comes on top: nothing there takes the keys.
    auto* g = Zeigen<TAufgabeg>();
    ASSERT_EQ(Screen()->ActiveForm(), g);
    for (TSpeedButton* b :
         {f->SpeedButtonZ[3], f->SpeedButtonReturn, g->SpeedButtonZ[3], g->SpeedButtonReturn}) {
        b->OnMouseDown(b, mbLeft, 0, 1, 1);
        b->OnMouseUp(b, mbLeft, 0, 1, 1);
    }
    // Keys go to the active form only, never to the box of another one.
    EXPECT_EQ(f->Antwort->Text(), "");
    EXPECT_EQ(f->Pruefungen, 0);
}

TEST_F(ExerciseBase, WheelOverAnyControlScrollsTheTaskPageByTenPixels) {
    auto* f = Zeigen();
    auto* tief = new TPanel(f);
    tief->SetParent(f->B_ScrollBox);
    tief->SetBounds(0, 0, 100, 3000);
    f->B_ScrollBox->UpdateRange();
    EXPECT_EQ(f->B_ScrollBox->BorderStyle(), bsNone);
    EXPECT_FALSE(f->B_ScrollBox->VertScrollBarVisible());
    auto drehen = [&](int delta) {
        QWidget* ziel = tief->Widget();
        QWheelEvent e(QPointF(5, 5), ziel->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(ziel, &e);
    };
    drehen(-120);
    drehen(-480);
    EXPECT_EQ(f->B_ScrollBox->VertPosition(), 20);
    drehen(120);
    EXPECT_EQ(f->B_ScrollBox->VertPosition(), 10);
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

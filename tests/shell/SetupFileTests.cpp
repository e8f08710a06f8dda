#include "Ersatzprogramme.h"
#include "ShellTestHelfer.h"
#include "shell/USetupLesen.h"
#include "support/FormDriver.h"
#include "term/USetup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void Auswerten(const QStringList& Zeilen) {
    FSetupZuruecksetzen(QStringLiteral("/x"));
    SetupZeilenAuswerten(Zeilen);
}

TEST(SetupFile, SwitchesFollowTheLastExactLine) {
    Auswerten({"SOT=TRUE", "SOT=FALSE", "CW=TRUE", "WDX=120", "WDY=2*40", "KEINEHILFE=TRUE ",
               "keineloesung=true", "SKALIERUNGSFAKTOR=6", "SKALIEREN=TRUE", "SKALIERUNGSFAKTOR=3"});
    EXPECT_FALSE(FSetup.SOT);
    EXPECT_TRUE(FSetup.CW);
    EXPECT_EQ(FSetup.WDX, 120);
    EXPECT_EQ(FSetup.WDY, 80);
    EXPECT_FALSE(FSetup.KeineHilfe);
    EXPECT_FALSE(FSetup.KeineLoesung);
    EXPECT_TRUE(FSetup.Skalieren);
    EXPECT_EQ(FSetup.Skalierungsfaktor, 3);

    Auswerten({"SOT=FALSE", "SOT=TRUE", " CW=TRUE", "CW = TRUE", "SKALIERUNGSFAKTOR=6"});
    EXPECT_TRUE(FSetup.SOT);
    EXPECT_FALSE(FSetup.CW);
    EXPECT_EQ(FSetup.Skalierungsfaktor, 0);
}

TEST(SetupFile, EveryKeySetsItsOwnField) {
    const std::pair<const char*, bool tFSetup::*> Felder[] = {
        {"HGSCHWARZ", &tFSetup::HGSchwarz},
        {"KEINEHILFE", &tFSetup::KeineHilfe},
        {"KEINELOESUNG", &tFSetup::KeineLoesung},
        {"KEINEWERKZEUGE", &tFSetup::KeineWerkzeuge},
        {"KEINKURVENWERK", &tFSetup::KeinKurvenwerk},
        {"KEINRAUMSCHAU", &tFSetup::KeinRaumschau},
        {"KEINTASCHENRECHNER", &tFSetup::KeinTaschenrechner},
        {"KEINTERMLOTSE", &tFSetup::KeinTermlotse},
        {"KEINSTUFENLOESER", &tFSetup::KeinStufenloeser},
        {"KEINNAEHERLOTSE", &tFSetup::KeinNaeherlotse},
        {"KEINIPADRESSE", &tFSetup::KeinIPAdresse},
        {"KEINMONITORAUFLOESUNG", &tFSetup::KeinMonitoraufloesung},
        {"KEINSKIZZBRETT", &tFSetup::KeinSkizzbrett},
        {"KEIN3D2MONITORE", &tFSetup::Kein3D2Monitore},
        {"KEINBILDKALK", &tFSetup::KeinBildkalk},
        {"KEINZUFALLSLOTSE", &tFSetup::KeinZufallslotse},
        {"KEINGITTERMEISTER", &tFSetup::KeinGittermeister},
        {"SOT", &tFSetup::SOT},
        {"CW", &tFSetup::CW},
        {"SKALIEREN", &tFSetup::Skalieren},
    };
    for (const auto& [Schluessel, Feld] : Felder) {
        Auswerten({QString::fromLatin1(Schluessel) + "=TRUE"});
        int Gesetzt = 0;
        for (const auto& Anderes : Felder)
            Gesetzt += FSetup.*Anderes.second ? 1 : 0;
        EXPECT_TRUE(FSetup.*Feld) << Schluessel;
        EXPECT_EQ(Gesetzt, 1) << Schluessel;
        SetupZeilenAuswerten({QString::fromLatin1(Schluessel) + "=FALSE"});
        EXPECT_FALSE(FSetup.*Feld) << Schluessel;
    }
}

TEST(SetupFile, EnlargementTakesAnyWholeNumberAndAFailingLineEndsTheReading) {
    Auswerten({"WDX=12.5", "WDY=13.5"});
    EXPECT_EQ(FSetup.WDX, 12); // halves to even
    EXPECT_EQ(FSetup.WDY, 14);
    Auswerten({"WDX=5000", "WDY=-30"});
    EXPECT_EQ(FSetup.WDX, 5000);
    EXPECT_EQ(FSetup.WDY, -30);
    // The value starts at the fifth character wherever the key stands; "e" is
    // Euler's number to the term reader.
    Auswerten({"xxWDX=7", "WDX=", "WDY=1e999"});
    EXPECT_EQ(FSetup.WDX, 0);
    EXPECT_EQ(FSetup.WDY, 2716);
    // An unreadable term gives the reader's 0 and the reading goes on.
    Auswerten({"WDX=30", "WDX=Unsinn((", "WDY=40", "SOT=TRUE"});
    EXPECT_EQ(FSetup.WDX, 0);
    EXPECT_EQ(FSetup.WDY, 40);
    EXPECT_TRUE(FSetup.SOT);
    // A value beyond the integer range ends it: what came before stays.
    Auswerten({"SOT=TRUE", "WDX=40", "WDY=99999999999", "KEINEHILFE=TRUE", "WDX=7"});
    EXPECT_TRUE(FSetup.SOT);
    EXPECT_EQ(FSetup.WDX, 40);
    EXPECT_EQ(FSetup.WDY, 0);
    EXPECT_FALSE(FSetup.KeineHilfe);
}

TEST(SetupFile, ReadsTheFileAboveTheApplicationDirectory) {
    QTemporaryDir Wurzel;
    ASSERT_TRUE(Wurzel.isValid());
    const QString App = Wurzel.path() + "/prog";
    ASSERT_TRUE(QDir().mkpath(App));

    FSetup.SOT = true;
    FSetupLesen(App);
    EXPECT_FALSE(FSetup.SOT);
    EXPECT_EQ(FSetup.Anwendungsverzeichnis, App);

    QFile Datei(Wurzel.path() + "/OrvandelSetup.txt");
    ASSERT_TRUE(Datei.open(QIODevice::WriteOnly));
    static const char Inhalt[] =
        "SOT=TRUE\r\nCW=TRUE\rWDX=2*3\nKEINEHILFE=TRUE\n\xff\xfe\0garbage\nSKALIEREN=TRUE";
    Datei.write(Inhalt, sizeof Inhalt - 1);
    Datei.close();
    FSetupLesen(App);
    EXPECT_TRUE(FSetup.SOT);
    EXPECT_TRUE(FSetup.CW);
    EXPECT_EQ(FSetup.WDX, 6);
    EXPECT_TRUE(FSetup.KeineHilfe);
    EXPECT_TRUE(FSetup.Skalieren);
    EXPECT_EQ(FSetup.Anwendungsverzeichnis, App);
}

// A teacher's file above the program's folder, and a pupil opening an exercise
// from a section form: the enlargement reaches the window, which never gets
// smaller than its layout.
class SetupInTheWindow : public AbschnittsTest {
protected:
    void SetUp() override {
        AbschnittsTest::SetUp();
        AufgabeRegistrieren<TTestAufgabe>("TZqK1_3E1");
    }
    void TearDown() override {
        AbschnittsTest::TearDown();
        Anwendungsverzeichnis = m_altesVerzeichnis;
    }
    // The exercise window's size and the enlargement read, after "Übung 5" of 1.3.5.
    QString Oeffnen(const char* Datei) {
        QFile f(m_wurzel.filePath(QStringLiteral("OrvandelSetup.txt")));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Datei);
        f.close();
        QString Ergebnis;
        ModalBeobachter b([&](TForm* f) {
            if (auto* n = dynamic_cast<TKxNav*>(f)) {
                n->SpeedButton2->Click();
                n->Close();
                return;
            }
            Ergebnis = QStringLiteral("%1 x %2, %3 %4")
                           .arg(f->Width())
                           .arg(f->Height())
                           .arg(FSetup.WDX)
                           .arg(FSetup.WDY);
            f->Close();
        });
        VerzeichnisScope Hier(m_wurzel.filePath(QStringLiteral("prog")));
        ZqEintragOeffnen(15);
        return Ergebnis;
    }
    QTemporaryDir m_wurzel;
    QString m_altesVerzeichnis = Anwendungsverzeichnis;
    ScreenScope m_schirm{1920, 1080};
    SetupScope m_setup;
};

TEST_F(SetupInTheWindow, NegativeEnlargementsStopAtTheLayout) {
    ASSERT_TRUE(QDir().mkpath(m_wurzel.filePath(QStringLiteral("prog"))));
    EXPECT_EQ(Oeffnen("CW=TRUE\nWDX=120\nWDY=2*40\n"), "1144 x 795, 120 80");
    EXPECT_EQ(Oeffnen("CW=TRUE\nWDX=-200\nWDY=-40\n"), "1024 x 715, -200 -40");
    // No more than a screen larger.
    EXPECT_EQ(Oeffnen("CW=TRUE\nWDX=5000\nWDY=0\n"), "2944 x 715, 5000 0");
}

TEST_F(SetupInTheWindow, AnOverflowInANumberEndsTheReadingThere) {
    ASSERT_TRUE(QDir().mkpath(m_wurzel.filePath(QStringLiteral("prog"))));
    // 171! is beyond every number: not 0, but the end of the file for the
    // reader. What came before stays, what follows is not read.
    EXPECT_EQ(Oeffnen("CW=TRUE\nWDX=120\nWDY=40\nWDX=171!\nWDY=80\nKEINEHILFE=TRUE\n"), "1144 x 755, 120 40");
    EXPECT_FALSE(FSetup.KeineHilfe);
    EXPECT_EQ(Oeffnen("SOT=TRUE\nCW=TRUE\nWDY=170!*1000\nWDX=30\n"), "1024 x 715, 0 0");
    EXPECT_TRUE(FSetup.SOT);
}

} // namespace

#include "shell/USetupLesen.h"
#include "term/USetup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QSize Schirm(1024, 768);

void Auswerten(const QStringList& Zeilen) {
    FSetupZuruecksetzen(QStringLiteral("/x"));
    SetupZeilenAuswerten(Zeilen, Schirm);
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
        SetupZeilenAuswerten({QString::fromLatin1(Schluessel) + "=FALSE"}, Schirm);
        EXPECT_FALSE(FSetup.*Feld) << Schluessel;
    }
}

TEST(SetupFile, EnlargementIsEvaluatedOnceAndLimitedToTheScreen) {
    Auswerten({"WDX=12.5", "WDY=13.5"});
    EXPECT_EQ(FSetup.WDX, 12); // halves to even
    EXPECT_EQ(FSetup.WDY, 14);
    Auswerten({"WDX=5000", "WDY=-30"});
    EXPECT_EQ(FSetup.WDX, 1024);
    EXPECT_EQ(FSetup.WDY, 0);
    // The value starts at the fifth character wherever the key stands.
    Auswerten({"xxWDX=7", "WDX=", "WDY=1e999"});
    EXPECT_EQ(FSetup.WDX, 0);
    EXPECT_EQ(FSetup.WDY, 768);
    Auswerten({"WDX=30", "WDX=Unsinn((", "WDY=40", "SOT=TRUE"});
    EXPECT_EQ(FSetup.WDY, 40);
    EXPECT_TRUE(FSetup.SOT);
}

TEST(SetupFile, ReadsTheFileAboveTheApplicationDirectory) {
    QTemporaryDir Wurzel;
    ASSERT_TRUE(Wurzel.isValid());
    const QString App = Wurzel.path() + "/prog";
    ASSERT_TRUE(QDir().mkpath(App));

    FSetup.SOT = true;
    FSetupLesen(App, Schirm);
    EXPECT_FALSE(FSetup.SOT);
    EXPECT_EQ(FSetup.Anwendungsverzeichnis, App);

    QFile Datei(Wurzel.path() + "/OrvandelSetup.txt");
    ASSERT_TRUE(Datei.open(QIODevice::WriteOnly));
    static const char Inhalt[] =
        "SOT=TRUE\r\nCW=TRUE\rWDX=2*3\nKEINEHILFE=TRUE\n\xff\xfe\0garbage\nSKALIEREN=TRUE";
    Datei.write(Inhalt, sizeof Inhalt - 1);
    Datei.close();
    FSetupLesen(App, Schirm);
    EXPECT_TRUE(FSetup.SOT);
    EXPECT_TRUE(FSetup.CW);
    EXPECT_EQ(FSetup.WDX, 6);
    EXPECT_TRUE(FSetup.KeineHilfe);
    EXPECT_TRUE(FSetup.Skalieren);
    EXPECT_EQ(FSetup.Anwendungsverzeichnis, App);
}

} // namespace

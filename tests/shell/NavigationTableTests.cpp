#include "shell/UAbschnittstabellen.h"
#include "shell/UZq.h"

#include <gtest/gtest.h>

namespace {

TEST(NavigationTables, EveryEntryNodeOpensThePageOfItsNumber) {
    // "1.3.5 ..." opens page 5 of section 1.3, and so on for all 36 entries.
    const QStringList& Texte = ZqBaumTexte();
    ASSERT_EQ(Texte.size(), ZqBaumAnzahl);
    int Eintraege = 0;
    for (int i = 0; i < ZqBaumAnzahl; ++i) {
        const QStringList Teile = Texte[i].section(' ', 0, 0).split('.');
        if (Teile.size() != 3) continue;
        ++Eintraege;
        QString Form;
        int Seite = 0;
        ASSERT_TRUE(ZqBaumEintrag(i, Form, Seite));
        EXPECT_EQ(Form, "TZqK" + Teile[0] + "_" + Teile[1]) << i;
        EXPECT_EQ(Seite, Teile[2].toInt()) << i;
        EXPECT_LE(Seite, AbschnittDefinition(Form)->Seitenanzahl) << i;
    }
    EXPECT_EQ(Eintraege, 36);
}

TEST(NavigationTables, PageNLoadsLetterNAndOpensExerciseN1) {
    int ZweiteUebungen = 0;
    for (const QString& Klasse : AbschnittFormklassen()) {
        const TAbschnittDef* A = AbschnittDefinition(Klasse);
        ASSERT_NE(A, nullptr);
        EXPECT_EQ(A->Seitenanzahl, A->SeitenDefiniert) << A->Formklasse;
        for (int s = 0; s < A->SeitenDefiniert; ++s) {
            const TSeitenDef& S = A->Seiten[s];
            const QChar Buchstabe('A' + s);
            EXPECT_EQ(QString::fromUtf8(S.Datei),
                      QString("Zqk%1\\ZqK%2%3.rtf").arg(Klasse[4]).arg(Klasse.mid(4)).arg(Buchstabe));
            EXPECT_EQ(QString::fromLatin1(S.Klasse1), Klasse + Buchstabe + "1");
            if (*S.Uebung2) {
                ++ZweiteUebungen;
                EXPECT_EQ(QString::fromLatin1(S.Klasse2), Klasse + "A2");
            }
        }
    }
    EXPECT_EQ(AbschnittFormklassen().size(), 12);
    EXPECT_EQ(ZweiteUebungen, 3);
    EXPECT_EQ(AbschnittDefinition("TZqK4_1"), nullptr);
}

TEST(NavigationTables, DeepLinkSearchTextAndExerciseChoice) {
    const QStringList& K = ZqBaumTexte();
    const struct {
        const char* P;
        bool Marke;
        int Knoten;
        const char* Auto;
    } Faelle[] = {
        {"KxxA1.3.2Ü2", true, 12, "Übung 2"},
        {"KxxA3.2.4ÜA", true, 50, "A"},
        {"KxxA2.4Ü2", true, 33, "Übung 2"},
        {"KxxA1.3", true, 4, "0"},          // plain substring search in tree order
        {"kxxa1.1.1", true, 0, "0"},        // no capital "A": nothing to search
        {"xA2.1Ü 3 ", false, 7, "Übung 3"}, // "1.2.1 Runden" comes first
        {"KXXA9.9ÜB", true, 0, "B"},
        {"ÜxA1.1", false, 0, "Übung xA1.1"}, // "Ü" before "A": empty search text
        {"KxxA2.4Ü", true, 33, "0"},
    };
    for (const auto& F : Faelle) {
        const TDeepLink D = DeepLinkZerlegen(QString::fromUtf8(F.P), K);
        EXPECT_TRUE(D.Vorhanden) << F.P;
        EXPECT_EQ(D.Marke, F.Marke) << F.P;
        EXPECT_EQ(D.Knoten, F.Knoten) << F.P;
        EXPECT_EQ(D.AutoOeffnen, QString::fromUtf8(F.Auto)) << F.P;
    }
    const TDeepLink Leer = DeepLinkZerlegen("", K);
    EXPECT_FALSE(Leer.Vorhanden);
    EXPECT_EQ(Leer.AutoOeffnen, "");
}

} // namespace

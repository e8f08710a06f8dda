#include "platform/Runtime.h"
#include "term/UTerm.h"

#include <gtest/gtest.h>

namespace {

struct tPruefung {
    tUrteil Urteil;
    bool Richtig = false;
};

tPruefung Pruefen(const std::string& a, const std::string& l, int grenze = 50, int kopie = 2) {
    tPruefung p;
    p.Urteil.Text = QStringLiteral("vorher");
    switch (kopie) {
    case 1: ErgebnisPruefen1(a, l, p.Urteil, grenze, 'c', p.Richtig, 0, 0); break;
    case 2: ErgebnisPruefen2(a, l, p.Urteil, grenze, 'c', p.Richtig, 0, 0); break;
    default: ErgebnisPruefen3(a, l, p.Urteil, grenze, 'c', p.Richtig, 0, 0); break;
    }
    return p;
}

const TColor Gruen = RGB(0, 255, 0), Gelb = RGB(255, 255, 0), Rot = RGB(255, 0, 0), Magenta = RGB(255, 0, 255),
             Weiss = RGB(255, 255, 255), Cyan = RGB(0, 255, 255);

#define EXPECT_URTEIL(p, text, farbe, richtig)                                                                  \
    do {                                                                                                      \
        EXPECT_EQ((p).Urteil.Text, QString::fromUtf8(text));                                                  \
        EXPECT_EQ((p).Urteil.Farbe, farbe);                                                                   \
        EXPECT_EQ((p).Richtig, richtig);                                                                      \
    } while (0)

class TermPruefen : public ::testing::Test {
protected:
    void SetUp() override { PruefZufallFestlegen(true, 12345); }
    void TearDown() override { PruefZufallFestlegen(false); }
};

} // namespace

TEST_F(TermPruefen, RightAndSimplified) {
    EXPECT_URTEIL(Pruefen("2x+x", "3x", 50), "Super, das Ergebnis ist richtig.", Gruen, true);
    EXPECT_URTEIL(Pruefen("2x+x", "3x", 25, 2), "Richtig, aber weiter vereinfachen.", Gelb, true);
    EXPECT_URTEIL(Pruefen("2x+x", "3x", 25, 1), "Richtig, aber bitte noch weiter vereinfachen.", Gelb, true);
    EXPECT_URTEIL(Pruefen("2x+x", "3x", 25, 3), "Richtig, aber bitte noch weiter vereinfachen.", Gelb, true);
    EXPECT_URTEIL(Pruefen("5", "2+3", 25), "Super, das Ergebnis ist richtig.", Gruen, true);
    EXPECT_URTEIL(Pruefen("3", "3", 25), "Super, das Ergebnis ist richtig.", Gruen, true);
    EXPECT_URTEIL(Pruefen("2*3", "6", 45), "Richtig, aber weiter vereinfachen.", Gelb, true);
    EXPECT_URTEIL(Pruefen("2*3", "6", 25), "Super, das Ergebnis ist richtig.", Gruen, true);
    EXPECT_URTEIL(Pruefen("3,5", "3.5", 25), "Super, das Ergebnis ist richtig.", Gruen, true);
    EXPECT_URTEIL(Pruefen("B(10;0,5;3)", "0.1171875", 50), "Super, das Ergebnis ist richtig.", Gruen, true);
    EXPECT_URTEIL(Pruefen("2^3", "8", 50), "Super, das Ergebnis ist richtig.", Gruen, true);
    // Notations count as what they are rewritten to: 3! is not a simplified 6.
    EXPECT_URTEIL(Pruefen("3!", "6", 25), "Richtig, aber weiter vereinfachen.", Gelb, true);
    EXPECT_URTEIL(Pruefen("6", "3!", 25), "Super, das Ergebnis ist richtig.", Gruen, true);
}

TEST_F(TermPruefen, UnusualNotation) {
    EXPECT_URTEIL(Pruefen("x2", "2x", 50), "Richtig, aber unübliche Schreibweise.", Cyan, true);
}

TEST_F(TermPruefen, EmptyAndWrong) {
    EXPECT_URTEIL(Pruefen("", "3x"), "Keine Eingabe gemacht.", Magenta, false);
    EXPECT_URTEIL(Pruefen("2x", "3x"), "Leider falsch", Rot, false);
    EXPECT_URTEIL(Pruefen("  ", "3x"), "Unzulässige Eingabe !", Weiss, false);
}

TEST_F(TermPruefen, DomainAbsAndBrackets) {
    EXPECT_URTEIL(Pruefen("abs(x)", "x"), "Bitte kein abs benutzen !", Magenta, false);
    EXPECT_URTEIL(Pruefen("Wx\xB7Wx", "x"), "Definitionsbereich beachten !", Cyan, false);
    tPruefung p = Pruefen("sin cos x", "0");
    EXPECT_EQ(p.Urteil.Text, QStringLiteral("Klammern setzen !"));
    EXPECT_EQ(p.Urteil.Farbe, Cyan);
    // A later message wins over the bracket hint.
    EXPECT_URTEIL(Pruefen("sin cos x", "sin(cos(x))"), "Leider falsch", Rot, false);
}

TEST_F(TermPruefen, InvalidInput) {
    EXPECT_URTEIL(Pruefen("X", "x"), "Unzulässige Eingabe", Weiss, false);
    EXPECT_URTEIL(Pruefen("x!", "6"), "Unzulässige Eingabe", Weiss, false);
    EXPECT_URTEIL(Pruefen("2^-1", "0.5"), "Unzulässige Eingabe !", Weiss, false);
    EXPECT_URTEIL(Pruefen("3*-2", "-6"), "Unzulässige Eingabe !", Weiss, false);
    EXPECT_URTEIL(Pruefen("171!", "1"), "Unzulässige Eingabe", Weiss, false);
    EXPECT_URTEIL(Pruefen("K(200;1;150)", "1"), "Unzulässige Eingabe", Weiss, false);
    EXPECT_URTEIL(Pruefen("1E+4000*1E+4000", "1"), "Unzulässige Eingabe !", Weiss, false);
    EXPECT_URTEIL(Pruefen("((((", "1"), "Unzulässige Eingabe !", Weiss, false);
}

TEST_F(TermPruefen, UndefinedSamplesCountAsMisses) {
    // Defined only for x < -5 (the first few samples, all wrong), undefined in
    // the rest: far more than five misses.
    EXPECT_URTEIL(Pruefen("W(-5-x)+1000", "x"), "Leider falsch", Rot, false);
}

TEST_F(TermPruefen, ExpTermsUseARelativeTolerance) {
    EXPECT_URTEIL(Pruefen("exp(x)exp(x)", "exp(2x)"), "Super, das Ergebnis ist richtig.", Gruen, true);
    EXPECT_URTEIL(Pruefen("exp(x)", "exp(x)+0.001"), "Leider falsch", Rot, false);
}

TEST_F(TermPruefen, RightNeverStandsBesideAWrongResult) {
    // Wrong in a few samples only (x < -4.7); the last sample matches.
    tPruefung p = Pruefen("x", "abs(x+4.7)-4.7", 50);
    EXPECT_URTEIL(p, "Leider falsch", Rot, false);
    EXPECT_EQ(p.Urteil.Code, 3);
}

TEST_F(TermPruefen, LeavesTheSharedGeneratorAlone) {
    Runtime::SetRandSeed(4711);
    bool r;
    tUrteil u;
    ErgebnisPruefen2("B(4;0.5;2)+3!+x", "x+6.375", u, 50, 'c', r, 0, 0);
    EXPECT_TRUE(r);
    EXPECT_EQ(Runtime::RandSeed(), 4711u);
}

TEST(Ergebnisanzeige, CodesAndTheirColours) {
    tUrteil u;
    ErgebnisAnzeigen2(u, 4);
    EXPECT_EQ(u.Text, QStringLiteral("Keine Eingabe gemacht"));
    EXPECT_EQ(u.Farbe, Magenta);
    ErgebnisAnzeigen1(u, 16);
    EXPECT_EQ(u.Text, QString::fromUtf8("Bereichsüberschreitung !"));
    EXPECT_EQ(u.Farbe, Cyan);
    ErgebnisAnzeigen3(u, 9);
    EXPECT_EQ(u.Text, QStringLiteral("tan kann nicht berechnet werden !"));
    EXPECT_EQ(u.Farbe, Weiss);
    ErgebnisAnzeigen3(u, 12);
    ErgebnisAnzeigen3(u, 0);
    EXPECT_EQ(u.Text, QStringLiteral("tan kann nicht berechnet werden !"));
    EXPECT_EQ(u.Farbe, Weiss);
}

TEST(Vereinfachung, Classes) {
    EXPECT_TRUE(EinfacherAls("2x+x", "3x", 50));
    EXPECT_FALSE(EinfacherAls("2x+x", "3x", 25));
    EXPECT_FALSE(EinfacherAls("6/2", "3", 25));
    EXPECT_TRUE(EinfacherAls("2*3", "6", 25));
    EXPECT_FALSE(EinfacherAls("2\xB7" "3", "6", 45));
    EXPECT_FALSE(EinfacherAls("x\xB2*x", "x^3", 25)); // one letter more
    EXPECT_TRUE(EinfacherAls("x\xB3", "x^3", 25));
    EXPECT_TRUE(UnueblicheSchreibweise("x2"));
    EXPECT_TRUE(UnueblicheSchreibweise("(a+b)3"));
    EXPECT_TRUE(UnueblicheSchreibweise("x\xB2" "2"));
    EXPECT_FALSE(UnueblicheSchreibweise("2x"));
}

TEST_F(TermPruefen, PowersAndFactorialsOfBracketGroupsAnywhere) {
    const char* super = "Super, das Ergebnis ist richtig.";
    struct tFall {
        const char *Antwort, *Loesung;
    };
    // Each group at the start, in the middle and at the end of the answer.
    for (tFall f : std::initializer_list<tFall>{{"2(x+1)^2", "2x^2+4x+2"},
                                                {"y+2(x+1)^2+1", "2x^2+4x+3+y"},
                                                {"y+(x+1)^2", "x^2+2x+1+y"},
                                                {"(cos(x))^2", "1-(sin(x))^2"},
                                                {"3+(cos(x))^2-1", "3-(sin(x))^2"},
                                                {"x*(cos(x))^2", "x-x(sin(x))^2"},
                                                {"((5x)-6)^2", "25x^2-60x+36"},
                                                {"2+((5x)-6)^2*x", "25x^3-60x^2+36x+2"},
                                                {"(y^2)^3", "y^6"},
                                                {"1+(y^2)^3+y", "y^6+y+1"},
                                                {"(W(x^2+1))^2", "x^2+1"},
                                                {"x-(W(x^2+1))^2", "x-x^2-1"},
                                                {"2*(3)!", "12"},
                                                {"x+2*(3)!+1", "x+13"},
                                                {"x+2*(3)!", "x+12"},
                                                {"2^(2^2)", "16"},
                                                {"x+2^(x+1)", "x+2*2^x"},
                                                {"sin(y)^2", "sin(y^2)"}}) {
        SCOPED_TRACE(f.Antwort);
        tPruefung p = Pruefen(f.Antwort, f.Loesung);
        EXPECT_URTEIL(p, super, Gruen, true);
        EXPECT_EQ(p.Urteil.Code, Ergebniscode::Richtig);
    }
    // Read with the wrong base these were right; now they are wrong.
    for (tFall f : std::initializer_list<tFall>{{"2(x+1)^2", "4x^2+8x+4"},
                                                {"y+(x+1)^2", "(x+1+y)^2"},
                                                {"2*(3)!", "720"},
                                                {"sin(y)^2", "(sin(y))^2"}}) {
        SCOPED_TRACE(f.Antwort);
        EXPECT_URTEIL(Pruefen(f.Antwort, f.Loesung), "Leider falsch", Rot, false);
    }
    // The root is undefined for negative x; no longer an invalid input.
    EXPECT_URTEIL(Pruefen("(Wx)^2", "x"), "Definitionsbereich beachten !", Cyan, false);
}

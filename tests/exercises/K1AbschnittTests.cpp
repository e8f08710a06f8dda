// The chapter-1 exercises as the pupil reaches them: from the page of their
// section form, by "Übung n".
#include "K1TestHelfer.h"

#include "exercises/chapter1/RegisterChapter1.h"
#include "exercises/chapter1/UZqK1_1B1.h"
#include "shell/ShellTestHelfer.h"
#include "shell/UAbschnitte.h"

#include <gtest/gtest.h>

namespace {

using namespace K1Test;

struct Geoeffnet {
    QString Klasse;
    QString Caption;
    int AufgabenNr = -1;
};

// Opens the section at the page, presses its first or second exercise button
// and lets Pruefen look at the exercise form before it is closed.
std::vector<Geoeffnet> UebungOeffnen(const char* Abschnitt, int Seite, int Knopf,
                                     const std::function<void(TAufgabeg*)>& Pruefen = {}) {
    std::vector<Geoeffnet> Formen;
    ModalBeobachter b([&](TForm* f) {
        if (auto* n = dynamic_cast<TKxNav*>(f)) {
            (Knopf == 1 ? n->SpeedButton2 : n->SpeedButton3)->Click();
        } else if (auto* a = dynamic_cast<TAufgabeg*>(f)) {
            Formen.push_back({a->ClassName(), a->Caption(), a->AufgabenNrWert()});
            if (Pruefen) Pruefen(a);
        }
        f->Close();
    });
    KxNav->AktSeite = Seite;
    AbschnittOeffnen(QString::fromLatin1(Abschnitt));
    return Formen;
}

class Chapter1Sections : public ::testing::Test {
protected:
    void SetUp() override {
        ShellFormenEinrichten();
        RegisterChapter1Exercises();
    }
    void TearDown() override {
        for (const QString& k : AufgabenKlassen())
            AufgabeAbmelden(k);
    }
    SeedScope m_seed{815};
};

TEST_F(Chapter1Sections, EveryExerciseOpensFromItsPage) {
    const struct {
        const char* Abschnitt;
        int Seite, Knopf;
        const char* Klasse;
        const char* Caption;
        int AufgabenNr;
    } Faelle[] = {
        {"TZqK1_1", 1, 1, "TZqK1_1A1", "Abschnitt 1.1   Übung 1", 1},
        {"TZqK1_1", 1, 2, "TZqK1_1A2", "Abschnitt 1.1   Übung 2", 1},
        {"TZqK1_1", 2, 1, "TZqK1_1B1", "Abschnitt 1.1   Übung 3", 1},
        {"TZqK1_1", 3, 1, "TZqK1_1C1", "Abschnitt 1.1   Übung 4", 1},
        // The race waits for "Start"; rounding keeps the counter hidden and unused.
        {"TZqK1_1", 4, 1, "TZqK1_1D1", "Abschnitt 1.1   Übung 5", 0},
        {"TZqK1_2", 1, 1, "TZqK1_2A1", "Abschnitt 1.2   Übung 1", 0},
        {"TZqK1_2", 2, 1, "TZqK1_2B1", "Abschnitt 1.2   Übung 2", 1},
        {"TZqK1_2", 3, 1, "TZqK1_2C1", "Abschnitt 1.2   Übung 3", 1},
    };
    for (const auto& F : Faelle) {
        const auto Formen = UebungOeffnen(F.Abschnitt, F.Seite, F.Knopf);
        ASSERT_EQ(Formen.size(), 1u) << F.Klasse;
        EXPECT_EQ(Formen[0].Klasse, QLatin1String(F.Klasse));
        EXPECT_EQ(Formen[0].Caption, QString::fromUtf8(F.Caption));
        EXPECT_EQ(Formen[0].AufgabenNr, F.AufgabenNr) << F.Klasse;
        EXPECT_EQ(OffeneAufgabe(QLatin1String(F.Klasse)), nullptr);
    }
}

TEST_F(Chapter1Sections, ReopeningStartsFromScratch) {
    QString Zaehler;
    UebungOeffnen("TZqK1_1", 2, 1, [&](TAufgabeg* a) {
        auto* f = static_cast<TZqK1_1B1*>(a);
        f->BitBtn5->Click();
        f->B_NeueAufgabe->Click();
        f->B_NeueAufgabe->Click();
        Zaehler = f->Punkte.LabelF->Caption() + "|" + f->B_BtnAufgabenNr->Caption();
    });
    EXPECT_EQ(Zaehler, "1|Aufgabe 3 / 99");
    UebungOeffnen("TZqK1_1", 2, 1, [&](TAufgabeg* a) {
        auto* f = static_cast<TZqK1_1B1*>(a);
        Zaehler =
            f->Punkte.LabelF->Caption() + "|" + f->B_BtnAufgabenNr->Caption() + "|" + f->LabelZ1->Caption();
    });
    EXPECT_EQ(Zaehler, "0|Aufgabe 1 / 99|130 000");
}

} // namespace

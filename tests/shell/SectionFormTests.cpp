#include "ShellTestHelfer.h"
#include "shell/UAbschnitte.h"
#include "shell/UZqStart.h"

#include <gtest/gtest.h>

namespace {

class SectionForms : public AbschnittsTest {
protected:
    std::vector<QString> Protokoll(const std::function<void()>& Aktion) { return FormenProtokoll(Aktion); }
};

TEST_F(SectionForms, TreeNodesOpenTheirSectionAtTheirPage) {
    const std::pair<int, const char*> Faelle[] = {{0, "TZqK1_1 1"},  {1, "TZqK1_1 1"},  {18, "TZqK1_3 8"},
                                                  {22, "TZqK2_1 1"}, {40, "TZqK2_6 1"}, {50, "TZqK3_2 4"}};
    for (const auto& [Index, Erwartet] : Faelle)
        EXPECT_EQ(Protokoll([i = Index] { ZqEintragOeffnen(i); }), std::vector<QString>{Erwartet}) << Index;
    KxNav->AktSeite = 7;
    EXPECT_TRUE(Protokoll([] { ZqEintragOeffnen(51); }).empty());
    EXPECT_EQ(KxNav->AktSeite, 1);
    EXPECT_TRUE(Protokoll([] { ZqEintragOeffnen(-1); }).empty());
    // A section node asks for page 0: the form shows page 1 and KxNav keeps 1.
    Protokoll([] { ZqEintragOeffnen(23); });
    EXPECT_EQ(KxNav->AktSeite, 1);
    EXPECT_EQ(OffenerAbschnitt("TZqK2_1"), nullptr);
}

TEST_F(SectionForms, SteppingCaptionsAndFiles) {
    std::vector<QString> Seiten;
    ModalBeobachter b([&](TForm* f) {
        auto* n = static_cast<TKxNav*>(f);
        const auto Merken = [&] {
            Seiten.push_back(
                QStringLiteral("%1 %2|%3 %4%5%6%7")
                    .arg(n->AktSeite)
                    .arg(n->SpeedButton2->Caption(), n->SpeedButton3->Caption(), n->SeitenDatei())
                    .arg(n->SpeedButton3->Cursor() == crHandPoint ? " hand" : "")
                    .arg(n->SpeedButton4->Enabled() ? " <" : "")
                    .arg(n->SpeedButton5->Enabled() ? " >" : ""));
        };
        Merken();
        for (TSpeedButton* k : {n->SpeedButton5, n->SpeedButton5, n->SpeedButton4, n->SpeedButton4}) {
            k->Click();
            Merken();
        }
        n->SpeedButton1->Click();
    });
    ZqEintragOeffnen(40); // 2.6: one page, both stepping buttons off
    ZqEintragOeffnen(17); // 1.3.7
    ZqEintragOeffnen(24); // 2.1.1: a second exercise on page 1 only, keeping the arrow once it had it
    const std::vector<QString> Erwartet = {"1 Übung 1| Zqk2\\ZqK2_6A.rtf",
                                           "1 Übung 1| Zqk2\\ZqK2_6A.rtf",
                                           "1 Übung 1| Zqk2\\ZqK2_6A.rtf",
                                           "1 Übung 1| Zqk2\\ZqK2_6A.rtf",
                                           "1 Übung 1| Zqk2\\ZqK2_6A.rtf",
                                           "7 Übung 7| Zqk1\\ZqK1_3G.rtf < >",
                                           "8 Übung 8| Zqk1\\ZqK1_3H.rtf <",
                                           "8 Übung 8| Zqk1\\ZqK1_3H.rtf <",
                                           "7 Übung 7| Zqk1\\ZqK1_3G.rtf < >",
                                           "6 Übung 6| Zqk1\\ZqK1_3F.rtf < >",
                                           "1 Übung 1|Übung 2 Zqk2\\ZqK2_1A.rtf hand >",
                                           "2 Übung 3| Zqk2\\ZqK2_1B.rtf < >",
                                           "3 Übung 4| Zqk2\\ZqK2_1C.rtf <",
                                           "2 Übung 3| Zqk2\\ZqK2_1B.rtf < >",
                                           "1 Übung 1|Übung 2 Zqk2\\ZqK2_1A.rtf >"};
    EXPECT_EQ(Seiten, Erwartet);
    // Stepping does not hand the page back.
    EXPECT_EQ(KxNav->AktSeite, 1);
}

TEST_F(SectionForms, ButtonBarTexts) {
    const std::unique_ptr<TKxNav> F(AbschnittsformErzeugen("TZqK1_2", nullptr));
    ASSERT_TRUE(F);
    EXPECT_EQ(F->Caption(), "Abschnitt 1.2");
    QStringList Knoepfe;
    for (TSpeedButton* b : {F->SpeedButton1, F->SpeedButton4, F->SpeedButton5, F->SpeedButton2,
                            F->SpeedButton3, F->SpeedButton7, F->LogButton})
        Knoepfe
            << QStringLiteral("[%1|%2] %3 %4").arg(b->Caption(), b->Hint()).arg(b->Left()).arg(b->Width());
    EXPECT_EQ(Knoepfe, QStringList({"[Zurück|] 11 118", "[ zurück|] 142 115", "[vor |] 270 115",
                                    "[Übung 1|] 398 131", "[Übung 2|] 542 131", "[|Seite drucken] 686 43",
                                    "[|Logbuch zum eintragen der bearbeiteten Übungen / Notizen] 742 59"}));
    EXPECT_EQ(F->SpeedButton5->Layout(), blGlyphRight);
    // The arrows carry a grey picture for the disabled state beside the normal one.
    EXPECT_EQ(F->SpeedButton4->Glyph()->Width(), 44);
    EXPECT_EQ(F->SpeedButton5->NumGlyphs(), 2);
    EXPECT_EQ(F->SpeedButton7->Glyph()->Width(), 28);
    EXPECT_EQ(F->SpeedButton2->Font()->Color(), clTeal);
    EXPECT_EQ(F->Panel1->Height(), 57);
    EXPECT_EQ(AbschnittsformErzeugen("TZqK4_1", nullptr), nullptr);
}

TEST_F(SectionForms, ARequestedStartPageIsShownBeyondThePageCount) {
    // A link without the marker opens 1.3.5 at page 5; the instructions from
    // the start screen then start at page 5 as well.
    std::vector<QString> Seiten;
    ModalBeobachter b([&](TForm* f) {
        if (f == ZqStart) {
            ZqStart->SpeedButton2->Click();
            ZqStart->SpeedButton1->Click();
            return;
        }
        auto* n = dynamic_cast<TKxNav*>(f);
        if (!n || n != ZqAnleitung) {
            f->Close();
            return;
        }
        for (int i = 0; i < 3; ++i) {
            Seiten.push_back(QStringLiteral("%1 %2|%3%4%5")
                                 .arg(n->AktSeite)
                                 .arg(n->SpeedButton2->Caption(), n->SeitenDatei())
                                 .arg(n->SpeedButton4->Enabled() ? " <" : "")
                                 .arg(n->SpeedButton5->Enabled() ? " >" : ""));
            n->SpeedButton4->Click();
        }
        f->Close();
    });
    EXPECT_FALSE(KommandozeileAuswerten(QStringLiteral("A1.3.5"), ZqBaumTexte(), ZqEintragOeffnen));
    ZqStart->ShowModal();
    EXPECT_EQ(Seiten, (std::vector<QString>{"5 Übung 5| <", "4 Übung 4| <", "3 |Anleitung\\ZqAL3.rtf <"}));
}

TEST_F(SectionForms, ExerciseButtonsOpenRegisteredExercisesFreshEachTime) {
    AufgabeRegistrieren<TTestAufgabe>("TZqK1_3E1");
    std::vector<QString> Formen;
    std::vector<int> Aktivierungen;
    ModalBeobachter b([&](TForm* f) {
        Formen.push_back(f->ClassName());
        if (auto* a = dynamic_cast<TTestAufgabe*>(f)) {
            Aktivierungen.push_back(a->Aktivierungen);
            a->ProgrammEnde->Click();
            return;
        }
        auto* n = static_cast<TKxNav*>(f);
        if (Formen.size() == 1) {
            n->SpeedButton2->Click(); // "Übung 5": opens and returns when closed
            n->SpeedButton2->Click();
            n->SpeedButton3->Click(); // no second exercise on this page
            n->SpeedButton4->Click();
            n->SpeedButton2->Click(); // "Übung 4" is not registered: nothing opens
        }
        f->Close();
    });
    ZqEintragOeffnen(15);
    EXPECT_EQ(Formen, (std::vector<QString>{"TZqK1_3", "TTestAufgabe", "TTestAufgabe"}));
    EXPECT_EQ(Aktivierungen, (std::vector<int>{1, 1}));
    EXPECT_EQ(OffeneAufgabe("TZqK1_3E1"), nullptr);
}

TEST_F(SectionForms, DeepLinksOpenSectionAndExercise) {
    for (const char* k : {"TZqK2_4A1", "TZqK2_4A2", "TZqK3_2D1", "TZqK2_1B1"})
        AufgabeRegistrieren<TTestAufgabe>(k);
    const auto Link = [](const char* P) {
        return [P] { KommandozeileAuswerten(QString::fromUtf8(P), ZqBaumTexte(), ZqEintragOeffnen); };
    };
    EXPECT_EQ(Protokoll(Link("KxxA2.4Ü2")), (std::vector<QString>{"TZqK2_4A2", "TZqK2_4 1"}));
    EXPECT_EQ(KxNav->AutoOeffnen, "0");
    EXPECT_EQ(Protokoll(Link("KxxA3.2.4ÜA")), (std::vector<QString>{"TZqK3_2D1", "TZqK3_2 4"}));
    EXPECT_TRUE(Protokoll(Link("kxxa1.1.1")).empty());
    EXPECT_TRUE(KommandozeileAuswerten("kxxa1.1.1", ZqBaumTexte(), ZqEintragOeffnen));
    EXPECT_FALSE(KommandozeileAuswerten("", ZqBaumTexte(), ZqEintragOeffnen));

    // The exercise is looked for on the shown page only: 1.1.3 has no "Übung 5".
    AufgabeRegistrieren<TTestAufgabe>("TZqK1_1D1");
    EXPECT_EQ(Protokoll(Link("KxxA1.3Ü5")), std::vector<QString>{"TZqK1_1 3"});

    // A link that opens no section leaves its exercise choice for the sections
    // opened later, until a link opens one.
    EXPECT_FALSE(KommandozeileAuswerten("xA9.9ÜA", ZqBaumTexte(), ZqEintragOeffnen));
    EXPECT_EQ(KxNav->AutoOeffnen, "A");
    EXPECT_EQ(Protokoll([] { ZqEintragOeffnen(34); }), (std::vector<QString>{"TZqK2_4A1", "TZqK2_4 1"}));
    EXPECT_EQ(Protokoll([] { ZqEintragOeffnen(25); }), (std::vector<QString>{"TZqK2_1B1", "TZqK2_1 2"}));
    EXPECT_EQ(Protokoll(Link("KxxA2.4.1")), std::vector<QString>{"TZqK2_4 1"});
    EXPECT_EQ(KxNav->AutoOeffnen, "0");
    EXPECT_EQ(Protokoll([] { ZqEintragOeffnen(34); }), std::vector<QString>{"TZqK2_4 1"});

    // The exercise caption is compared without regard to case.
    KxNav->AutoOeffnen = "übung 3";
    EXPECT_EQ(Protokoll([] { ZqEintragOeffnen(25); }), (std::vector<QString>{"TZqK2_1B1", "TZqK2_1 2"}));
}

} // namespace

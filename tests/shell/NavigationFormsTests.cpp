#include "ShellTestHelfer.h"
#include "platform/Dialogs.h"
#include "shell/UAbschnitte.h"
#include "shell/UZqK.h"
#include "shell/UZqStart.h"

#include <gtest/gtest.h>

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
    KxNav->LogbuchBeginnen("Pravolin - Grundschule");
    EXPECT_EQ(KxNav->Logtext, QStringList({"Logbuch: Pravolin - Grundschule", QString(80, '*')}));
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

} // namespace

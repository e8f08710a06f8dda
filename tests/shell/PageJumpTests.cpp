// Page jumps: jump texts become deep links that this program's own deep-link
// reading opens at the named section and exercise, and the named sibling
// starts in its own folder with that link as its one argument.
#include "Ersatzprogramme.h"
#include "ShellTestHelfer.h"
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RPTableInplace.h"
#include "richtext/view/RichPad.h"
#include "shell/UAbschnitte.h"
#include "shell/USeitenSprung.h"
#include "support/FormDriver.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

const QString Klasse5 = QStringLiteral("Orvandel - Mathematik/Pravolin - Klasse 5/Pravolin - Klasse 5.exe");
const QString Optik = QStringLiteral("Orvandel - Physik/Physolin - Optik/Physolin - Optik.exe");
// "Jump Arial" of the page styles.
constexpr int Sprungstil = 4;
const QString Eigenes =
    QStringLiteral("Orvandel - Mathematik/Pravolin - Grundschule/Pravolin - Grundschule.exe");

class PageJumps : public AbschnittsTest {
protected:
    void TearDown() override {
        AbschnittsTest::TearDown();
        Anwendungsverzeichnis = m_altesVerzeichnis;
    }
    // An installed family: this program, a sibling of each family, and one
    // sibling whose folder is there without its program.
    void Installieren() {
        for (const QString& p : {Klasse5, Optik, Eigenes})
            m_programme.Anlegen(p);
        m_programme.Ordner(QStringLiteral("Orvandel - Mathematik/Pravolin - Klasse 6"));
        Anwendungsverzeichnis =
            m_programme.Ordner(QStringLiteral("Orvandel - Mathematik/Pravolin - Grundschule"));
        FSetupZuruecksetzen(Anwendungsverzeichnis);
    }
    Ersatzprogramme m_programme;
    SetupScope m_setup;
    QString m_altesVerzeichnis = Anwendungsverzeichnis;
};

TEST_F(PageJumps, JumpTextsBecomeProgramAndDeepLink) {
    struct Fall {
        const char* Text;
        const char* Programm;
        const char* Parameter;
    };
    const Fall Faelle[] = {
        {"Pravolin - Klasse 5|Abschnitt 1.3", "Pravolin - Klasse 5", "KxxA1.3.1"},
        {"Pravolin - Klasse 5,1.3.2", "Pravolin - Klasse 5", "KxxA1.3.2"},
        {" Pravolin – Klasse 5 |Kapitel 2", "Pravolin - Klasse 5", "KxxA2.1.1"}, // en dash, blanks
        {"Physolin_-_Optik|2. Kapitel", "Physolin - Optik", "KxxA2.1.1"},
        {"Wärmelehre, 1.3 Übung 2", "Physolin - Waermelehre", "KxxA1.3Ü2"},
        {"Pravolin - Klasse 5|1.3.2 Übung 2", "Pravolin - Klasse 5", "KxxA1.3.2Ü2"},
        {"Pravolin - Klasse 5|1.3.2; 1.3.3", "Pravolin - Klasse 5", "KxxA1.3.2"},
        {"Pravolin - Klasse 5|Abschnitt 1", "Pravolin - Klasse 5", "Kxx"},
        {"Pravolin - Klasse 5|1.2.3.4", "Pravolin - Klasse 5", "Kxx"},
        {"Pravolin - Klasse 5", "Pravolin - Klasse 5", "Kxx"},
        {"Pravolin - Mathematik in der Grundschule, Klasse 1 bis 4|1.2", "Pravolin - Grundschule",
         "KxxA1.2.1"},
        {"Elektrik|Kapitel 3 Übung 1", "Physolin - Elektrizitaetslehre", "KxxA3.1Ü1"},
        {"Abschnitt 1.3", "Abschnitt 1.3", "Kxx"},
    };
    for (const Fall& f : Faelle) {
        const TSeitenSprung S = SeitenSprungZerlegen(QString::fromUtf8(f.Text));
        EXPECT_EQ(S.Programm, QString::fromUtf8(f.Programm)) << f.Text;
        EXPECT_EQ(S.Parameter, QString::fromUtf8(f.Parameter)) << f.Text;
    }
    EXPECT_EQ(Installationswurzel("C:\\Schule\\Orvandel - Mathematik\\Pravolin - Grundschule"),
              "C:\\Schule\\");
    // The physics family wins where both stand in the directory.
    EXPECT_EQ(Installationswurzel("/x/Orvandel - Mathematik/y/Orvandel - Physik/z"),
              "/x/Orvandel - Mathematik/y/");
    EXPECT_EQ(Installationswurzel("/opt/schule"), "/opt/schule\\");
    EXPECT_EQ(ProgrammDesVerzeichnisses("c:\\orvandel - mathematik\\pravolin - klasse 10"),
              "Pravolin - Klasse 10");
    EXPECT_EQ(ProgrammDesVerzeichnisses("c:\\Orvandel"), "");
    EXPECT_EQ(GeschwisterProgramm(46)->Ordner, QStringLiteral("Physolin - Experimente"));
    EXPECT_EQ(GeschwisterProgramm(47), nullptr);
    EXPECT_EQ(GeschwisterProgramm(0), nullptr);
}

// The links a jump makes open the named section, page and exercise when this
// program reads them from its command line.
TEST_F(PageJumps, DeepLinksOfJumpsOpenTheNamedSectionAndExercise) {
    for (const char* k : {"TZqK1_3B1", "TZqK2_4B1", "TZqK3_1A1"})
        AufgabeRegistrieren<TTestAufgabe>(k);
    struct Fall {
        const char* Ort;
        std::vector<QString> Geoeffnet;
    };
    const Fall Faelle[] = {
        {"Abschnitt 1.3", {"TZqK1_3 1"}},
        {"1.3.2", {"TZqK1_3 2"}},
        {"Kapitel 2", {"TZqK2_1 1"}},
        {"2. Kapitel", {"TZqK2_1 1"}},
        // With "Ü" the place is looked up as it stands: "1.3" is found in
        // "1.1.3" first, whose page has no "Übung 2".
        {"1.3 Übung 2", {"TZqK1_1 3"}},
        {"1.3.2 Übung 2", {"TZqK1_3B1", "TZqK1_3 2"}},
        {"2.4 Übung 3", {"TZqK2_4 1"}},
        {"Kapitel 3 Übung 1", {"TZqK1_3 1"}},
        {"1.2.3; 3.1", {"TZqK1_2 3"}},
    };
    for (const Fall& f : Faelle)
        for (const char* Trenner : {"|", ","}) {
            const QString Text =
                QStringLiteral("Pravolin - Grundschule") + Trenner + QString::fromUtf8(f.Ort);
            const QString P = SeitenSprungZerlegen(Text).Parameter;
            EXPECT_EQ(FormenProtokoll([&] { KommandozeileAuswerten(P, ZqBaumTexte(), ZqEintragOeffnen); }),
                      f.Geoeffnet)
                << Text.toStdString() << " -> " << P.toStdString();
            EXPECT_EQ(KxNav->AutoOeffnen, "0");
        }
}

TEST_F(PageJumps, SiblingsStartInTheirFolderWithTheLinkAsOneArgument) {
    Installieren();
    const QString Vorher = QDir::currentPath();
    TKxNav Form(nullptr);

    ASSERT_TRUE(Form.SeitenSprungStarten(QStringLiteral("Pravolin - Klasse 5|Abschnitt 1.3")));
    EXPECT_EQ(m_programme.Aufruf(Klasse5),
              (QStringList{m_programme.Pfad("Orvandel - Mathematik/Pravolin - Klasse 5"), "KxxA1.3.1", "1"}));
    EXPECT_EQ(QDir::currentPath(), Vorher);

    ASSERT_TRUE(Form.SeitenSprungStarten(QStringLiteral("Physolin - Optik, 2. Kapitel")));
    EXPECT_EQ(m_programme.Aufruf(Optik),
              (QStringList{m_programme.Pfad("Orvandel - Physik/Physolin - Optik"), "KxxA2.1.1", "1"}));

    // A place alone goes to the family member this program belongs to.
    ASSERT_TRUE(Form.SeitenSprungStarten(QStringLiteral("Abschnitt 2.4")));
    EXPECT_EQ(m_programme.Aufruf(Eigenes).mid(1), (QStringList{"KxxA2.4.1", "1"}));

    // A jump of the page itself: the view's jump event gives the item's text.
    Form.Webbrowserx->Clear();
    Form.Webbrowserx->AddText("Weiter geht es bei", 0, 0);
    Form.Webbrowserx->AddText("Pravolin - Klasse 5|1.1.2", Sprungstil, 0);
    Form.Webbrowserx->Format();
    ASSERT_EQ(Form.Webbrowserx->GetJumpItemNo(0), 1);
    EXPECT_EQ(Form.SprungText(0), "Pravolin - Klasse 5|1.1.2");
    EXPECT_EQ(Form.SprungText(5), "");
    ASSERT_TRUE(Form.Webbrowserx->OnJump);
    Form.Webbrowserx->OnJump(Form.Webbrowserx, 0);
    EXPECT_EQ(m_programme.Aufruf(Klasse5).mid(1), (QStringList{"KxxA1.1.2", "1"}));

    // Quotes, ampersands and semicolons reach the program as they are and run nothing.
    const QString Boese = QStringLiteral("Pravolin - Klasse 5|1.3.2$(touch boese)&&touch`boese` \"'");
    ASSERT_TRUE(Form.SeitenSprungStarten(Boese));
    EXPECT_EQ(m_programme.Aufruf(Klasse5).mid(1),
              (QStringList{"KxxA1.3.2$(touchboese)&&touch`boese`\"'", "1"}));
    const QString Kette = QStringLiteral("Pravolin - Klasse 5|1.3.2; touch boese");
    ASSERT_TRUE(Form.SeitenSprungStarten(Kette));
    EXPECT_EQ(m_programme.Aufruf(Klasse5).mid(1), (QStringList{"KxxA1.3.2", "1"}));
    EXPECT_FALSE(QFile::exists(m_programme.Pfad("Orvandel - Mathematik/Pravolin - Klasse 5/boese")));
    EXPECT_FALSE(QFile::exists(QStringLiteral("boese")));

    // Nothing starts for an unknown program, a program folder without its
    // program, or a place when this program's folder names no family member.
    EXPECT_FALSE(Form.SeitenSprungStarten(QStringLiteral("Pravolin - Klasse 9|1.1.1")));
    EXPECT_FALSE(Form.SeitenSprungStarten(QStringLiteral("Pravolin - Klasse 6|1.1.1")));
    EXPECT_FALSE(Form.SeitenSprungStarten(QStringLiteral("Kurvenwerk")));
    FSetupZuruecksetzen(QStringLiteral("c:\\Orvandel"));
    EXPECT_FALSE(Form.SeitenSprungStarten(QStringLiteral("Abschnitt 2.4")));
    EXPECT_TRUE(m_programme.Aufruf(Eigenes, 300).isEmpty());
    EXPECT_EQ(QDir::currentPath(), Vorher);
}

TEST_F(PageJumps, AClickOnAJumpOfThePageStartsTheSibling) {
    TKxNav Form(nullptr);
    ShowAndActivate(&Form);
    // The activation took the current directory as the application's.
    Installieren();
    Form.Webbrowserx->Clear();
    Form.Webbrowserx->AddText("Pravolin - Klasse 5|Kapitel 3", Sprungstil, 0);
    Form.Webbrowserx->Format();
    ProcessEvents();
    const auto& Spruenge = Form.Webbrowserx->RPData()->Jumps;
    ASSERT_EQ(Spruenge.size(), 1u);
    MouseClickAt(Form.Webbrowserx, Spruenge[0].Left + Spruenge[0].Width / 2, Spruenge[0].Top + Spruenge[0].Height / 2);
    EXPECT_EQ(m_programme.Aufruf(Klasse5).mid(1), (QStringList{"KxxA3.1.1", "1"}));
    // A place with an exercise goes to the sibling as the page names it.
    Form.Webbrowserx->Clear();
    Form.Webbrowserx->AddText(CodePage::ToCp1252(QStringLiteral("Pravolin - Klasse 5|1.3 Übung 2")),
                              Sprungstil, 0);
    Form.Webbrowserx->Format();
    ProcessEvents();
    ASSERT_EQ(Spruenge.size(), 1u);
    MouseClickAt(Form.Webbrowserx, Spruenge[0].Left + Spruenge[0].Width / 2,
                 Spruenge[0].Top + Spruenge[0].Height / 2);
    EXPECT_EQ(m_programme.Aufruf(Klasse5).mid(1), (QStringList{"KxxA1.3Ü2", "1"}));
    Form.Close();
}

TEST_F(PageJumps, ALinkInATableCellStartsItsSiblingWithTheCellsEditorOpenOrNot) {
    TKxNav Form(nullptr);
    ShowAndActivate(&Form);
    Installieren();
    TCustomRichPad* Seite = Form.Webbrowserx;
    Seite->Clear();
    Seite->AddText("Weiter geht es bei", Sprungstil, 0);
    auto Neu = TRPTableItemInfo::CreateEx(1, 2, Seite->RPData());
    TRPTableItemInfo* Tabelle = Neu.get();
    const char* Links[] = {"Physolin - Optik, 3. Kapitel", "Pravolin - Klasse 5|Kapitel 2"};
    for (int Spalte = 0; Spalte < 2; ++Spalte) {
        Tabelle->GetCell(0, Spalte)->Clear();
        Tabelle->GetCell(0, Spalte)->AddNL(Links[Spalte], Sprungstil, 0);
    }
    Seite->RPData()->AddItem(std::string(), std::move(Neu));
    Seite->Format();
    ProcessEvents();
    const auto Klick = [&](int Spalte) {
        const TRPTableCellData* Zelle = Tabelle->GetCell(0, Spalte);
        if (TRPTableInplaceEdit* Editor = Tabelle->InplaceEditor(); Editor && Editor->Cell == Zelle)
            MouseClickAt(Editor, Tabelle->CellPadding + 5, Tabelle->CellPadding + 5);
        else
            for (const TRPJumpInfo& j : Seite->RPData()->Jumps)
                if (j.RPData == Zelle) {
                    MouseClickAt(Seite, j.Left + j.Width / 2, j.Top + j.Height / 2);
                    break;
                }
        ProcessEvents();
    };
    // The cell is closed: its link is an item of the cell's document. The
    // press opens the cell's editor, and the link is followed all the same.
    Klick(1);
    EXPECT_EQ(m_programme.Aufruf(Klasse5).mid(1), (QStringList{"KxxA2.1.1", "1"}));
    // The cell's editor is open: its links answer from there.
    ASSERT_TRUE(Tabelle->EditCell(-1, 0, 0, false, false, false, true, false));
    ProcessEvents();
    Klick(0);
    EXPECT_EQ(m_programme.Aufruf(Optik).mid(1), (QStringList{"KxxA3.1.1", "1"}));
    // The other cell keeps its number.
    Klick(1);
    EXPECT_EQ(m_programme.Aufruf(Klasse5).mid(1), (QStringList{"KxxA2.1.1", "1"}));
    Form.Close();
}

TEST_F(PageJumps, ProgramPathsFollowTheTableBelowTheInstallRoot) {
    Installieren();
    TKxNav Form(nullptr);
    QString Pfad = QStringLiteral("alt"), Ordner;
    ASSERT_TRUE(Form.ProgrammPfad(2, Pfad, Ordner));
    EXPECT_EQ(Pfad,
              m_programme.Wurzel() + "/Orvandel - Mathematik\\Pravolin - Klasse 5\\Pravolin - Klasse 5.exe");
    EXPECT_EQ(Ordner, m_programme.Wurzel() + "/Orvandel - Mathematik\\Pravolin - Klasse 5");
    // Rows whose folder is missing, and rows outside the table, leave the path.
    Pfad = QStringLiteral("alt");
    EXPECT_FALSE(Form.ProgrammPfad(4, Pfad, Ordner));
    EXPECT_FALSE(Form.ProgrammPfad(0, Pfad, Ordner));
    EXPECT_FALSE(Form.ProgrammPfad(47, Pfad, Ordner));
    EXPECT_EQ(Pfad, "alt");
}

} // namespace

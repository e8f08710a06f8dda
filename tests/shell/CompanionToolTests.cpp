// Companion tools: which buttons show, where a tool is started from and with
// what, and the drawing script offered on the clipboard.
#include "Ersatzprogramme.h"
#include "ShellTestHelfer.h"
#include "shell/UWerkzeuge.h"
#include "support/FormDriver.h"

#include "platform/Clipboard.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTimer>

namespace {

const QString Skript =
    QStringLiteral("clear();\r\nKoordinatensystem(false,1,false,1,1,38,0,0,true,1,2,1,true,0,1380,994,true)");

QString Werkzeug(const char* Name) {
    return QStringLiteral("Orvandel - Mathematik/%1/%1.exe").arg(QLatin1String(Name));
}

// Two installations: one beside the program ("..\..\" from its folder) and
// one on the drive ("c:\"). The program's folder is the current directory.
class CompanionTools : public ::testing::Test {
protected:
    void SetUp() override {
        Application()->ResetTerminated();
        for (const char* w : {"Kurvenwerk", "Raumschau", "Termlotse"})
            m_daneben.Anlegen(Werkzeug(w));
        for (const char* w : {"Kurvenwerk", "Taschenrechner", "Lichtstudio"})
            m_laufwerk.Anlegen(Werkzeug(w));
        m_programm = m_daneben.Ordner(QStringLiteral("Orvandel - Mathematik/Pravolin - Grundschule"));
    }
    void TearDown() override { delete m_form; }
    TAufgabeg* Zeigen() {
        m_form = new TTestAufgabe(Application());
        ShowAndActivate(m_form);
        return m_form;
    }

    SetupScope m_setup;
    Ersatzprogramme m_daneben, m_laufwerk;
    QString m_programm;
    LaufwerkScope m_c{m_laufwerk.Wurzel()};
    TAufgabeg* m_form = nullptr;
};

TEST_F(CompanionTools, TableAndPaths) {
    EXPECT_EQ(WerkzeugEintrag(2), "\\Kurvenwerk\\Kurvenwerk.exe");
    EXPECT_EQ(WerkzeugEintrag(26), "\\Lichtstudio\\Lichtstudio.exe");
    EXPECT_EQ(WerkzeugEintrag(0), "xxx");
    EXPECT_EQ(WerkzeugEintrag(28), "xxx");
    EXPECT_EQ(WerkzeugPfadBilden(22, "c:\\"), "c:\\Orvandel - Mathematik\\Termlotse\\Termlotse.exe");
    EXPECT_EQ(WerkzeugPfadBilden(99, "..\\..\\"), "..\\..\\Orvandel - Mathematikxxx");
}

TEST_F(CompanionTools, ButtonsOfToolsThatAreNotInstalledAreHidden) {
    VerzeichnisScope Im(m_programm);
    FSetup.KeinTermlotse = true;
    TAufgabeg* f = Zeigen();
    QStringList Sichtbar;
    for (TSpeedButton* b :
         {f->B_drucken, f->B_Kurvenwerk, f->B_Raumschau, f->B_Taschenrechner, f->B_Termlotse,
          f->B_Zufallslotse, f->B_Bildkalk, f->B_Skizzbrett, f->B_Findeling, f->B_Lichtstudio})
        if (b->Visible()) Sichtbar << b->Name();
    // Termlotse is installed but switched off; Lichtstudio's second button is
    // hidden in the layout.
    EXPECT_EQ(Sichtbar, QStringList({"B_drucken", "B_Kurvenwerk", "B_Raumschau", "B_Taschenrechner"}));
}

TEST_F(CompanionTools, ToolsStartBesideTheProgramFirstAndInTheirOwnFolder) {
    VerzeichnisScope Im(m_programm);
    TAufgabeg* f = Zeigen();
    const QString Vorher = QDir::currentPath();

    // Installed in both places: the one beside the program.
    ASSERT_TRUE(f->KurvenwerkStarten(true));
    EXPECT_EQ(m_daneben.Aufruf(Werkzeug("Kurvenwerk")),
              (QStringList{m_daneben.Pfad("Orvandel - Mathematik/Kurvenwerk"), "SKRIPTIMPORT", "1"}));
    EXPECT_TRUE(m_laufwerk.Aufruf(Werkzeug("Kurvenwerk"), 200).isEmpty());
    // Only on the drive.
    ASSERT_TRUE(f->TaschenrechnerStarten());
    EXPECT_EQ(m_laufwerk.Aufruf(Werkzeug("Taschenrechner")),
              (QStringList{m_laufwerk.Pfad("Orvandel - Mathematik/Taschenrechner"), "0"}));
    ASSERT_TRUE(f->TermlotseStarten(true, 5));
    EXPECT_EQ(m_daneben.Aufruf(Werkzeug("Termlotse")).mid(1), (QStringList{"SKRIPTIMPORT5", "1"}));
    ASSERT_TRUE(f->RaumschauStarten(false));
    EXPECT_EQ(m_daneben.Aufruf(Werkzeug("Raumschau")).mid(1), (QStringList{"0"}));
    // Not installed: nothing is attempted.
    EXPECT_FALSE(f->ZufallslotseStarten());
    EXPECT_FALSE(f->WerkzeugStarten(0));
    EXPECT_EQ(QDir::currentPath(), Vorher);
    EXPECT_EQ(f->WerkzeugPfad(wzFindeling), "c:\\Orvandel - Mathematik\\Findeling\\Findeling.exe");
}

TEST_F(CompanionTools, AToolButtonRestsTheBarForASecond) {
    VerzeichnisScope Im(m_programm);
    TAufgabeg* f = Zeigen();
    bool WaehrendDessen = true;
    QTimer::singleShot(200, [&] { WaehrendDessen = f->B_BtnPanel->Enabled(); });
    f->B_drucken->Click();
    EXPECT_FALSE(WaehrendDessen);
    EXPECT_TRUE(f->B_BtnPanel->Enabled());
    EXPECT_EQ(m_laufwerk.Aufruf(Werkzeug("Lichtstudio")).mid(1), (QStringList{"0"}));
}

TEST_F(CompanionTools, TheScriptGoesToTheClipboardUnlessAPictureWaitsThere) {
    Clipboard()->SetAsText(QStringLiteral("alt"));
    TAufgabeg* f = Zeigen();
    EXPECT_EQ(Clipboard()->AsText(), Skript);
    EXPECT_EQ(f->B_Scriptmemo->Lines()->Count(), 2);
    delete m_form;

    Clipboard()->Clear();
    m_form = new TTestAufgabe(Application());
    ShowAndActivate(m_form);
    EXPECT_EQ(Clipboard()->AsText(), Skript);
    delete m_form;

    TBitmap Bild(3, 2);
    Clipboard()->Assign(Bild);
    m_form = new TTestAufgabe(Application());
    ShowAndActivate(m_form);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
    TBitmap Dort;
    ASSERT_TRUE(Clipboard()->GetBitmap(Dort));
    EXPECT_EQ(Dort.Width(), 3);
}

} // namespace

// The program on a real desktop, as a pupil meets it: a virtual X server with
// openbox, started by this test on a free display of its own. Every window the
// program opens modally (the instructions, message boxes, the log book's file
// dialogs, the print dialog) must come to the front, active, above the window
// it belongs to, which takes no input meanwhile; and the dialogs speak German.
#include "Arbeitsplatz.h"
#include "Fahrer.h"

#include "app/Programmstart.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "shell/ExerciseRegistry.h"
#include "shell/UAbschnitte.h"
#include "shell/UAufgabeg.h"
#include "shell/UKxNav.h"
#include "shell/UNavigation.h"
#include "shell/UZq.h"
#include "shell/UZqStart.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>

// Readable failure messages.
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

// Watches a moment, for what must not happen.
void Zusehen(double Sekunden = 1.0) {
    Warten([] { return false; }, Sekunden);
}

// From the start screen to the main window, as "Programm starten" leads.
FensterId ZumHauptfenster() {
    FensterId Haupt = 0, Start = 0;
    if (!Warten([&] {
            Haupt = FormFenster(Zq);
            Start = FormFenster(ZqStart);
            return Haupt && Start && AktivesFenster() == Start;
        }))
        return 0;
    Klick(ZqStart->SpeedButton1);
    return Warten([&] { return FormFenster(ZqStart) == 0 && AktivesFenster() == Haupt; }) ? Haupt : 0;
}

// Opens an entry of the contents as the tree does; the section form of that
// class and its window once it is in front of the main window.
std::pair<TKxNav*, FensterId> AbschnittZeigen(FensterId Haupt, int Eintrag, const QString& Klasse) {
    Posten([Eintrag] { ZqEintragOeffnen(Eintrag); });
    TKxNav* Form = nullptr;
    FensterId Fenster = 0;
    Warten([&] {
        Form = ImProgramm([&] { return OffenerAbschnitt(Klasse); });
        Fenster = FormFenster(Form);
        return Fenster != 0;
    });
    ImVordergrund(Fenster, Haupt, Klasse);
    return {Form, Fenster};
}

bool IstAktiv(FensterId Fenster) {
    return Warten([&] { return AktivesFenster() == Fenster; });
}

bool Logbuchgeaendert() {
    return ImProgramm([] { return KxNav->LogGeaendert; });
}

// The standard dialog of that kind once it came: in front of its owner, the
// owner taking no input, every text German; a screenshot for people to look at.
TDialogBild DialogPruefen(const QString& Art, FensterId Eigner, const QString& Was, const QString& Foto) {
    SCOPED_TRACE(Was.toStdString());
    const TDialogBild Dialog = DialogAbwarten(Art);
    EXPECT_NE(Dialog.Fenster, 0u);
    if (!Dialog.Fenster) return Dialog;
    ImVordergrund(Dialog.Fenster, Eigner, Was);
    EignerGesperrt(Dialog.Fenster, Eigner, Was);
    EXPECT_EQ(EnglischeWoerter(Dialog.Texte), QStringList());
    Bildschirmfoto(Foto);
    return Dialog;
}

// A file dialog of the log book in front of its owner: its title, its button
// and what the pupil reads beside the file names. Its window, 0 if none came.
FensterId DateidialogPruefen(FensterId Eigner, const QString& Titel, const QString& Knopf,
                             const QString& Foto) {
    const TDialogBild Datei = DialogPruefen(QStringLiteral("QFileDialog"), Eigner, Titel, Foto);
    EXPECT_EQ(Datei.Titel, Titel);
    EXPECT_TRUE(Datei.Knoepfe.contains(Knopf)) << Knopf.toStdString();
    EXPECT_TRUE(Datei.Knoepfe.contains("Abbrechen"));
    for (const char* Text : {"Suchen in:", "Dateiname:", "Dateien des Typs:", "RichText Format Files (*.rtf)"})
        EXPECT_TRUE(Datei.Texte.contains(QString::fromUtf8(Text))) << Text;
    return Datei.Fenster;
}

// A print dialog in front of its owner, in German also with its settings
// unfolded; cancelled again.
void DruckdialogPruefen(FensterId Eigner, const QString& Was, const QString& Foto) {
    SCOPED_TRACE(Was.toStdString());
    TDialogBild Druck = DialogPruefen(QStringLiteral("QPrintDialog"), Eigner, Was, Foto);
    ASSERT_NE(Druck.Fenster, 0u);
    EXPECT_EQ(Druck.Titel, "Drucken");
    EXPECT_TRUE(Druck.Knoepfe.contains("Drucken"));
    EXPECT_TRUE(Druck.Knoepfe.contains("Abbrechen"));
    // The settings that unfold below.
    KlickBei(DialogKnopf(QStringLiteral("Einstellungen >>")));
    EXPECT_TRUE(Warten([&] {
        Druck = DialogAbwarten(QStringLiteral("QPrintDialog"));
        return Druck.Knoepfe.contains("Einstellungen <<");
    }));
    EXPECT_TRUE(Druck.Texte.contains("Anzahl Exemplare"));
    EXPECT_EQ(EnglischeWoerter(Druck.Texte), QStringList());
    Taste(QStringLiteral("Escape"));
    EXPECT_TRUE(IstAktiv(Eigner));
}

} // namespace

TEST(Desktop, InstructionsFromTheStartScreenComeToTheFront) {
    Programmlauf([] {
        FensterId Haupt = 0, Start = 0;
        ASSERT_TRUE(Warten([&] {
            Haupt = FormFenster(Zq);
            Start = FormFenster(ZqStart);
            return Haupt && Start;
        }));
        ImVordergrund(Start, Haupt, QStringLiteral("Startbild"));
        Bildschirmfoto(QStringLiteral("1_startbild"));

        // "Bedienungsanleitung": in front of the start screen, which stays on
        // top of every other window.
        Klick(ZqStart->SpeedButton2);
        FensterId Anleitung = 0;
        ASSERT_TRUE(Warten([&] { return (Anleitung = FormFenster(ZqAnleitung)) != 0; }));
        ImVordergrund(Anleitung, Start, QStringLiteral("Bedienungsanleitung"));
        EignerGesperrt(Anleitung, Start, QStringLiteral("Bedienungsanleitung"));
        Bildschirmfoto(QStringLiteral("2_bedienungsanleitung"));
        Klick(ZqAnleitung->SpeedButton1); // "Zurück"
        ASSERT_TRUE(Warten([&] { return FormFenster(ZqAnleitung) == 0 && AktivesFenster() == Start; }));

        // "Programm starten", then the instructions from the main window.
        Klick(ZqStart->SpeedButton1);
        ASSERT_TRUE(Warten([&] { return FormFenster(ZqStart) == 0 && AktivesFenster() == Haupt; }));
        Klick(Zq->SpeedButton2);
        ASSERT_TRUE(Warten([&] { return (Anleitung = FormFenster(ZqAnleitung)) != 0; }));
        ImVordergrund(Anleitung, Haupt, QStringLiteral("Bedienungsanleitung aus dem Hauptfenster"));
        Klick(ZqAnleitung->SpeedButton1);
        ASSERT_TRUE(IstAktiv(Haupt));
        // The log is saved: "Programm beenden" ends without a question.
        Klick(Zq->ProgrammEnde);
    });
    EXPECT_FALSE(Zq->Visible());
}

TEST(Desktop, MessageBoxOfAnExerciseBelongsToTheExercise) {
    Programmlauf([] {
        const FensterId Haupt = ZumHauptfenster();
        ASSERT_NE(Haupt, 0u);
        // "3.1.1 Muster erkennen" and its exercise, which counts its tasks.
        const auto [Abschnitt, AbschnittF] = AbschnittZeigen(Haupt, 43, QStringLiteral("TZqK3_1"));
        ASSERT_NE(AbschnittF, 0u);
        Klick(Abschnitt->SpeedButton2); // "Übung 1"
        TAufgabeg* Uebung = nullptr;
        FensterId UebungF = 0;
        ASSERT_TRUE(Warten([&] {
            Uebung = ImProgramm([] { return OffeneAufgabe(QStringLiteral("TZqK3_1A1")); });
            return (UebungF = FormFenster(Uebung)) != 0;
        }));
        ImVordergrund(UebungF, AbschnittF, QStringLiteral("Übung"));
        const auto Zaehler = [Uebung] {
            return ImProgramm([Uebung] { return Uebung->B_BtnAufgabenNr->Caption(); });
        };
        const QString ErsteAufgabe = Zaehler();

        // A message box asked while the exercise is in front.
        std::atomic<int> Antwort = -1;
        Posten([&Antwort] {
            Antwort =
                MessageDlg(QStringLiteral("Möchtest du eine neue Aufgabe?"), mtConfirmation, mbYes | mbNo);
        });
        const TDialogBild Frage =
            DialogPruefen(QStringLiteral("QMessageBox"), UebungF, QStringLiteral("Meldung in der Übung"),
                          QStringLiteral("3_meldung_in_der_uebung"));
        ASSERT_NE(Frage.Fenster, 0u);
        EXPECT_EQ(Frage.Titel, "Bestätigen");
        EXPECT_EQ(Frage.Knoepfe, QStringList({"Ja", "Nein"}));
        // "Neue Aufgabe" beside the box does nothing meanwhile...
        Klick(Uebung->B_NeueAufgabe);
        Zusehen();
        EXPECT_EQ(Zaehler(), ErsteAufgabe);
        EXPECT_EQ(AktivesFenster(), Frage.Fenster);
        KlickBei(DialogKnopf(QStringLiteral("Nein")));
        ASSERT_TRUE(Warten([&] { return Antwort == mrNo; }));
        ASSERT_TRUE(IstAktiv(UebungF));
        // ... and works once the box is answered.
        Klick(Uebung->B_NeueAufgabe);
        EXPECT_TRUE(Warten([&] { return Zaehler() != ErsteAufgabe; }));

        Klick(Uebung->ProgrammEnde); // "Ende"
        ASSERT_TRUE(IstAktiv(AbschnittF));
        Klick(Abschnitt->SpeedButton1); // "Zurück"
        ASSERT_TRUE(IstAktiv(Haupt));
        Klick(Zq->ProgrammEnde);
    });
    EXPECT_FALSE(Zq->Visible());
}

TEST(Desktop, LogBookDialogsAndPrintingComeToTheFrontInGerman) {
    QTemporaryDir Ordner;
    ASSERT_TRUE(Ordner.isValid());
    const QString Datei = Ordner.filePath(QStringLiteral("logbuch.rtf"));
    Programmlauf([&Datei] {
        const FensterId Haupt = ZumHauptfenster();
        ASSERT_NE(Haupt, 0u);
        // "1.3.1 Die schriftliche Addition".
        const auto [Abschnitt, AbschnittF] = AbschnittZeigen(Haupt, 11, QStringLiteral("TZqK1_3"));
        ASSERT_NE(AbschnittF, 0u);

        Klick(Abschnitt->SpeedButton7); // prints the page
        DruckdialogPruefen(AbschnittF, QStringLiteral("Seite drucken"), QStringLiteral("4_seite_drucken"));

        Klick(Abschnitt->LogButton);
        ASSERT_TRUE(Warten([&] { return ImProgramm([&] { return Abschnitt->LogPanel->Showing(); }); }));
        Klick(Abschnitt->LogUebernehmen);
        ASSERT_TRUE(Warten(Logbuchgeaendert));

        // "Logbuch laden" with an unsaved log: the warning, then the open dialog.
        Klick(Abschnitt->LogbuchLaden);
        const TDialogBild Warnung =
            DialogPruefen(QStringLiteral("QMessageBox"), AbschnittF, QStringLiteral("Warnung vor dem Laden"),
                          QStringLiteral("5_warnung_vor_dem_laden"));
        ASSERT_NE(Warnung.Fenster, 0u);
        EXPECT_EQ(Warnung.Titel, "Warnung");
        EXPECT_EQ(Warnung.Knoepfe, QStringList({"OK"}));
        // "Logbuch speichern" beside the box opens nothing meanwhile.
        Klick(Abschnitt->LogbuchSpeichern);
        Zusehen();
        EXPECT_EQ(AktivesFenster(), Warnung.Fenster);
        EXPECT_EQ(DialogAbwarten(QStringLiteral("QFileDialog"), 0).Fenster, 0u);
        KlickBei(DialogKnopf(QStringLiteral("OK")));

        ASSERT_NE(DateidialogPruefen(AbschnittF, QStringLiteral("Öffnen"), QStringLiteral("Öffnen"),
                                     QStringLiteral("6_logbuch_laden")),
                  0u);
        Taste(QStringLiteral("Escape"));
        ASSERT_TRUE(IstAktiv(AbschnittF));
        EXPECT_TRUE(Logbuchgeaendert());

        // "Logbuch speichern": the pupil types the file's name and saves.
        Klick(Abschnitt->LogbuchSpeichern);
        ASSERT_NE(DateidialogPruefen(AbschnittF, QStringLiteral("Speichern unter"),
                                     QStringLiteral("Speichern"), QStringLiteral("7_logbuch_speichern")),
                  0u);
        Tippen(Datei);
        // Once every key has arrived, and without the list of names the file
        // name box may offer below it, which could take the click.
        ASSERT_TRUE(Warten([&] {
            return ImProgramm([&] {
                const auto* Box = QApplication::focusWidget()
                                      ? qobject_cast<QLineEdit*>(QApplication::focusWidget())
                                      : nullptr;
                if (QWidget* Liste = QApplication::activePopupWidget()) Liste->close();
                return Box && Box->text() == Datei;
            });
        }));
        KlickBei(DialogKnopf(QStringLiteral("Speichern")));
        ASSERT_TRUE(Warten([&] { return QFile::exists(Datei) && AktivesFenster() == AbschnittF; }));
        EXPECT_TRUE(Warten([] { return !Logbuchgeaendert(); }));

        Klick(Abschnitt->LogbuchDrucken);
        DruckdialogPruefen(AbschnittF, QStringLiteral("Logbuch drucken"),
                           QStringLiteral("8_logbuch_drucken"));

        // More entries, not saved: ending the program asks.
        Klick(Abschnitt->LogUebernehmen);
        ASSERT_TRUE(Warten(Logbuchgeaendert));
        Klick(Abschnitt->BitBtn1); // "Logbuch schließen"
        ASSERT_TRUE(Warten([&] { return ImProgramm([&] { return Abschnitt->Panel1->Showing(); }); }));
        Klick(Abschnitt->SpeedButton1); // "Zurück"
        ASSERT_TRUE(IstAktiv(Haupt));
        Klick(Zq->ProgrammEnde);
        TDialogBild Frage =
            DialogPruefen(QStringLiteral("QMessageBox"), Haupt, QStringLiteral("Frage vor dem Beenden"),
                          QStringLiteral("9_frage_vor_dem_beenden"));
        ASSERT_NE(Frage.Fenster, 0u);
        EXPECT_EQ(Frage.Titel, "Bestätigen");
        EXPECT_EQ(Frage.Knoepfe, QStringList({"Ja", "Nein"}));
        KlickBei(DialogKnopf(QStringLiteral("Nein")));
        ASSERT_TRUE(IstAktiv(Haupt));
        Klick(Zq->ProgrammEnde);
        Frage = DialogAbwarten(QStringLiteral("QMessageBox"));
        ASSERT_NE(Frage.Fenster, 0u);
        KlickBei(DialogKnopf(QStringLiteral("Ja")));
    });
    EXPECT_FALSE(Zq->Visible());
    QFile f(Datei);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray rtf = f.readAll();
    EXPECT_TRUE(rtf.startsWith("{\\rtf"));
    EXPECT_TRUE(rtf.contains("Abschnitt 1.3, \\'dcbung 1"));
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // A display of the test's own, never the developer's and never one in use.
    Arbeitsplatz Platz;
    QString Grund;
    if (!Platz.Starten(Grund)) {
        std::fprintf(stderr, "Kein Bildschirm mit Fensterverwaltung: %s\n", qPrintable(Grund));
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    qunsetenv("WAYLAND_DISPLAY");
    ProgrammUmgebungVorbereiten();
    int Ergebnis = 1;
    {
        QApplication app(argc, argv);
        ProgrammVorbereiten();
        Ergebnis = RUN_ALL_TESTS();
    }
    Platz.Beenden();
    return Ergebnis;
}

// The program on a real desktop, as a pupil meets it: a virtual X server with
// openbox, started by this test on a free display of its own. Every window the
// program opens modally (the instructions, message boxes, the log book's file
// dialogs, the print dialog) must come to the front, active, above the window
// it belongs to, which takes no input meanwhile; and the dialogs speak German.
#include "Arbeitsplatz.h"
#include "Fahrer.h"

#include "app/Programmstart.h"
#include "exercises/chapter1/UZqK1_1A1.h"
#include "exercises/chapter1/UZqK1_2A1.h"
#include "exercises/chapter1/UZqK1_2B1.h"
#include "exercises/chapter1/UZqK1_3H1.h"
#include "exercises/chapter2/UZqK2_3A1.h"
#include "platform/Application.h"
#include "platform/CustomControl.h"
#include "platform/Dialogs.h"
#include "richtext/edit/RPEditData.h"
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RPTableInplace.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPDrawLines.h"
#include "richtext/model/RPUnicode.h"
#include "shell/ExerciseRegistry.h"
#include "shell/UAbschnitte.h"
#include "shell/UAbschnittstabellen.h"
#include "shell/UAufgabeg.h"
#include "shell/UKxNav.h"
#include "shell/UNavigation.h"
#include "shell/UZq.h"
#include "shell/UZqStart.h"
#include "term/USetup.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <thread>

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

// The log panel of the section form opened by its button; true once it shows.
bool LogZeigen(TKxNav* Abschnitt) {
    Klick(Abschnitt->LogButton);
    return Warten([&] { return ImProgramm([&] { return Abschnitt->LogPanel->Showing(); }); });
}

// The name of the control that has the keyboard focus in the program.
QString FokusName() {
    return ImProgramm([] {
        QWidget* w = QApplication::focusWidget();
        auto* Link = w ? dynamic_cast<TWidgetLink*>(w) : nullptr;
        return Link && Link->Control ? Link->Control->Name() : QString();
    });
}

// From the start screen into the log of section 1.1, the keyboard in the
// log: the main window, the section form and its window (0 when the way
// broke off).
std::tuple<FensterId, TKxNav*, FensterId> InsLog() {
    const FensterId Haupt = ZumHauptfenster();
    if (!Haupt) return {0, nullptr, 0};
    const auto [Abschnitt, AbschnittF] = AbschnittZeigen(Haupt, 2, QStringLiteral("TZqK1_1"));
    if (!AbschnittF || !LogZeigen(Abschnitt)) return {Haupt, Abschnitt, 0};
    Klick(Abschnitt->Logtext);
    if (!Warten([] { return FokusName() == QStringLiteral("Logtext"); })) return {Haupt, Abschnitt, 0};
    return {Haupt, Abschnitt, AbschnittF};
}

// The log closed, the section form left for the main window and the program
// ended with its log unsaved: ending asks, and the pupil says yes.
void UngespeichertBeenden(TKxNav* Abschnitt, FensterId Haupt) {
    Klick(Abschnitt->BitBtn1); // "Logbuch schließen"
    Klick(Abschnitt->SpeedButton1);
    ASSERT_TRUE(IstAktiv(Haupt));
    Klick(Zq->ProgrammEnde);
    ASSERT_NE(DialogAbwarten(QStringLiteral("QMessageBox")).Fenster, 0u);
    KlickBei(DialogKnopf(QStringLiteral("Ja")));
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
    for (const char* Text :
         {"Suchen in:", "Dateiname:", "Dateien des Typs:", "RichText Format Files (*.rtf)"})
        EXPECT_TRUE(Datei.Texte.contains(QString::fromUtf8(Text))) << Text;
    return Datei.Fenster;
}

// Types a file name into the file dialog in front; true once every key has
// arrived, without the list of names the name box may offer below it, which
// could take the next click.
bool DateinameTippen(const QString& Name) {
    Tippen(Name);
    return Warten([&] {
        return ImProgramm([&] {
            const auto* Box =
                QApplication::focusWidget() ? qobject_cast<QLineEdit*>(QApplication::focusWidget()) : nullptr;
            if (QWidget* Liste = QApplication::activePopupWidget()) Liste->close();
            return Box && Box->text() == Name;
        });
    });
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
        Verarbeitet();
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

namespace {

// A painted control that its own mouse release frees, as a table's cell
// editor is freed when a border dragged over it is dropped.
class TGehtBeimLoslassen : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void MouseUp(TMouseButton, TShiftState, int, int) override { delete this; }
};

} // namespace

// Real clicks into a handler that fails and into a control that its own
// release frees: the failure's message comes in front of the exercise with
// the program's title, and after it, as after the freed control, the
// exercise goes on as before.
TEST(Desktop, AFailingHandlerShowsItsMessageAndTheExerciseGoesOn) {
    Programmlauf([] {
        const FensterId Haupt = ZumHauptfenster();
        ASSERT_NE(Haupt, 0u);
        const auto [Abschnitt, AbschnittF] = AbschnittZeigen(Haupt, 43, QStringLiteral("TZqK3_1"));
        ASSERT_NE(AbschnittF, 0u);
        Klick(Abschnitt->SpeedButton2); // "Übung 1"
        TAufgabeg* Uebung = nullptr;
        FensterId UebungF = 0;
        ASSERT_TRUE(Warten([&] {
            Uebung = ImProgramm([] { return OffeneAufgabe(QStringLiteral("TZqK3_1A1")); });
            return (UebungF = FormFenster(Uebung)) != 0;
        }));
        const auto Zaehler = [Uebung] {
            return ImProgramm([Uebung] { return Uebung->B_BtnAufgabenNr->Caption(); });
        };
        const QString ErsteAufgabe = Zaehler();
        // "Neue Aufgabe" fails once.
        ImProgramm([Uebung] {
            Uebung->B_NeueAufgabe->OnClick = [Uebung, Alt = Uebung->B_NeueAufgabe->OnClick,
                                              Mal = 0](TObject* Sender) mutable {
                if (++Mal == 1) throw std::runtime_error("Die Aufgabenliste ist kaputt");
                Alt(Sender);
            };
        });
        Klick(Uebung->B_NeueAufgabe);
        const TDialogBild Meldung =
            DialogPruefen(QStringLiteral("QMessageBox"), UebungF, QStringLiteral("Meldung eines Fehlers"),
                          QStringLiteral("22_meldung_eines_fehlers"));
        ASSERT_NE(Meldung.Fenster, 0u);
        EXPECT_EQ(Meldung.Titel, "Pravolin - Grundschule");
        EXPECT_TRUE(Meldung.Texte.contains("Die Aufgabenliste ist kaputt."))
            << Meldung.Texte.join(" | ").toStdString();
        EXPECT_EQ(Meldung.Knoepfe, QStringList({"OK"}));
        KlickBei(DialogKnopf(QStringLiteral("OK")));
        ASSERT_TRUE(IstAktiv(UebungF));
        EXPECT_EQ(Zaehler(), ErsteAufgabe);
        Klick(Uebung->B_NeueAufgabe);
        EXPECT_TRUE(Warten([&] { return Zaehler() != ErsteAufgabe; }));

        // A control freed by its own release, clicked.
        TGehtBeimLoslassen* Feld = nullptr;
        std::weak_ptr<void> Lebt;
        ImProgramm([&] {
            Feld = new TGehtBeimLoslassen(Uebung);
            Feld->SetParent(Uebung);
            Feld->SetBounds(10, 10, 60, 40);
            Lebt = Feld->AliveToken();
        });
        Verarbeitet();
        Klick(Feld);
        Verarbeitet();
        EXPECT_TRUE(ImProgramm([&] { return Lebt.expired(); }));
        const QString Zweite = Zaehler();
        Klick(Uebung->B_NeueAufgabe);
        EXPECT_TRUE(Warten([&] { return Zaehler() != Zweite; }));

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

        ASSERT_TRUE(LogZeigen(Abschnitt));
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
        ASSERT_TRUE(DateinameTippen(Datei));
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

namespace {

// Opens exercise button Knopf of a section form; the exercise of that class
// and its window once it is in front.
template <class T>
std::pair<T*, FensterId> UebungZeigen(TControl* Knopf, FensterId Abschnitt, const char* Klasse) {
    Klick(Knopf);
    TAufgabeg* Form = nullptr;
    FensterId Fenster = 0;
    Warten([&] {
        Form = ImProgramm([&] { return OffeneAufgabe(QString::fromLatin1(Klasse)); });
        return (Fenster = FormFenster(Form)) != 0;
    });
    ImVordergrund(Fenster, Abschnitt, QString::fromLatin1(Klasse));
    return {dynamic_cast<T*>(Form), Fenster};
}

// The caption of a control, read on the program's thread.
QString Text(TControl* c) {
    return ImProgramm([c] { return c->Caption(); });
}

// Line 0 of an answer box.
QString Zeile(TRichEdit* Box) {
    return ImProgramm([Box] { return Muster::Antwort(Box); });
}

// The answer box that has the keyboard focus, if one has.
TRichEdit* FokusBox() {
    return ImProgramm([]() -> TRichEdit* {
        QWidget* w = QApplication::focusWidget();
        auto* Link = w ? dynamic_cast<TWidgetLink*>(w) : nullptr;
        return Link ? dynamic_cast<TRichEdit*>(Link->Control) : nullptr;
    });
}

const QString Richtig = QStringLiteral("Super, das Ergebnis ist richtig.");

} // namespace

TEST(Desktop, TypedAnswersReachTheBoxOnTheShownPageAndQuickClicksAllCount) {
    Programmlauf([] {
        const FensterId Haupt = ZumHauptfenster();
        ASSERT_NE(Haupt, 0u);

        // "1.1.1 Der Zahlenstrahl", exercise 1.
        auto [Strahlen, StrahlenF] = AbschnittZeigen(Haupt, 2, QStringLiteral("TZqK1_1"));
        ASSERT_NE(StrahlenF, 0u);
        auto [Strahl, StrahlF] = UebungZeigen<TZqK1_1A1>(Strahlen->SpeedButton2, StrahlenF, "TZqK1_1A1");
        ASSERT_NE(Strahl, nullptr);
        const auto Ablesen = [&] { return ImProgramm([&] { return Strahl->Zustand().Ablesen; }); };
        const auto Ziel = [&] { return ImProgramm([&] { return Strahl->Zustand().T; }); };
        // A placing task: typed keys do not reach the reading box, nothing counts.
        for (int i = 0; i < 60 && Ablesen(); ++i) {
            Klick(Strahl->B_NeueAufgabe);
            Verarbeitet();
        }
        ASSERT_FALSE(Ablesen());
        Tippen(QString::number(Ziel()));
        Taste(QStringLiteral("Return"));
        Zusehen(0.5);
        Verarbeitet();
        Bildschirmfoto(QStringLiteral("10_zahlenstrahl_eintragen_getippt"));
        EXPECT_EQ(Zeile(Strahl->Paar1.Box), "");
        EXPECT_EQ(Text(Strahl->Punkte.LabelR), "0");
        EXPECT_EQ(Text(Strahl->Punkte.LabelF), "0");
        // A reading task: the typed answer is checked and counted.
        for (int i = 0; i < 60 && !Ablesen(); ++i) {
            Klick(Strahl->B_NeueAufgabe);
            Verarbeitet();
        }
        ASSERT_TRUE(Ablesen());
        EXPECT_EQ(FokusName(), "RichEdit1");
        Tippen(QString::number(Ziel()));
        Taste(QStringLiteral("Return"));
        EXPECT_TRUE(Warten([&] { return Text(Strahl->Paar1.Urteil) == Richtig; }));
        EXPECT_EQ(Text(Strahl->Punkte.LabelR), "1");
        Bildschirmfoto(QStringLiteral("11_zahlenstrahl_ablesen_getippt"));
        Klick(Strahl->ProgrammEnde);
        ASSERT_TRUE(IstAktiv(StrahlenF));

        // "1.1.2", exercise 3 counts its tasks: twenty quick clicks on "Neue
        // Aufgabe", paired by the system into double clicks, are twenty tasks.
        Klick(Strahlen->SpeedButton5); // "vor "
        ASSERT_TRUE(Warten([&] { return Text(Strahlen->SpeedButton2) == QStringLiteral("Übung 3"); }));
        auto [Vergleich, VergleichF] =
            UebungZeigen<TAufgabeg>(Strahlen->SpeedButton2, StrahlenF, "TZqK1_1B1");
        ASSERT_NE(Vergleich, nullptr);
        EXPECT_EQ(Text(Vergleich->B_BtnAufgabenNr), "Aufgabe 1 / 99");
        KlickSerie(Vergleich->B_NeueAufgabe, 20, 60);
        EXPECT_TRUE(Warten([&] { return Text(Vergleich->B_BtnAufgabenNr) == "Aufgabe 21 / 99"; }))
            << Text(Vergleich->B_BtnAufgabenNr).toStdString();
        Klick(Vergleich->ProgrammEnde);
        ASSERT_TRUE(IstAktiv(StrahlenF));
        Klick(Strahlen->SpeedButton1); // "Zurück"
        ASSERT_TRUE(IstAktiv(Haupt));

        // "1.2.1 Runden": the first task takes the typed answer.
        auto [Runden, RundenF] = AbschnittZeigen(Haupt, 7, QStringLiteral("TZqK1_2"));
        ASSERT_NE(RundenF, 0u);
        auto [Rund, RundF] = UebungZeigen<TZqK1_2A1>(Runden->SpeedButton2, RundenF, "TZqK1_2A1");
        ASSERT_NE(Rund, nullptr);
        EXPECT_EQ(FokusName(), "RichEdit1");
        Tippen(QString::number(ImProgramm([] { return ZqK1_2A1.gerundet; })));
        Taste(QStringLiteral("Return"));
        EXPECT_TRUE(Warten([&] { return Text(Rund->Paar1.Urteil) == Richtig; }));
        EXPECT_EQ(Zeile(Rund->Paar2.Box), "");
        Bildschirmfoto(QStringLiteral("12_runden_getippt"));
        Klick(Rund->ProgrammEnde);
        ASSERT_TRUE(IstAktiv(RundenF));

        // "1.2.2", exercise 2: the shop takes the estimate after "nehmen".
        Klick(Runden->SpeedButton5); // "vor "
        ASSERT_TRUE(Warten([&] { return Text(Runden->SpeedButton2) == QStringLiteral("Übung 2"); }));
        auto [Laden, LadenF] = UebungZeigen<TZqK1_2B1>(Runden->SpeedButton2, RundenF, "TZqK1_2B1");
        ASSERT_NE(Laden, nullptr);
        Klick(Laden->B_NeueAufgabe); // "Neuer Laden"
        ASSERT_TRUE(Warten([&] { return ImProgramm([] { return ZqK1_2B1.Seite; }) == 1; }));
        Klick(Laden->Nehmen[1][1]);
        Klick(Laden->Nehmen[1][2]);
        EXPECT_TRUE(Warten([] { return FokusName() == QStringLiteral("RichEdit1"); }));
        Tippen(QStringLiteral("400"));
        Taste(QStringLiteral("Return"));
        EXPECT_TRUE(Warten([&] { return Text(Laden->Paar[1].Urteil) == Richtig; }));
        EXPECT_EQ(Zeile(Laden->Paar[2].Box), "");
        Bildschirmfoto(QStringLiteral("13_laden_getippt"));
        Klick(Laden->ProgrammEnde);
        ASSERT_TRUE(IstAktiv(RundenF));
        Klick(Runden->SpeedButton1);
        ASSERT_TRUE(IstAktiv(Haupt));
        Klick(Zq->ProgrammEnde);
    });
    EXPECT_FALSE(Zq->Visible());
}

TEST(Desktop, TabInTheLogBookALogSavedTwiceUnderOneNameAndTheSameLogCutShort) {
    QTemporaryDir Ordner;
    ASSERT_TRUE(Ordner.isValid());
    const QString Name = Ordner.filePath(QStringLiteral("meinlog"));
    Programmlauf([&Name] {
        const auto [Haupt, Abschnitt, AbschnittF] = InsLog();
        ASSERT_NE(AbschnittF, 0u);
        // Tab goes on to the first check box, which shows the focus.
        Taste(QStringLiteral("Tab"));
        EXPECT_TRUE(Warten([] { return FokusName() == QStringLiteral("cbAbschnitt"); }));
        Bildschirmfoto(QStringLiteral("14_logbuch_tab"));
        // Round the panel, every stop where the pupil sees it, back into the log.
        QStringList Runde;
        for (int i = 0; i < 15 && FokusName() != QStringLiteral("Logtext"); ++i) {
            Taste(QStringLiteral("Tab"));
            Verarbeitet();
            Runde << FokusName();
            if (Runde.back() == QStringLiteral("BitBtn1"))
                Bildschirmfoto(QStringLiteral("15_logbuch_tab_knopf"));
        }
        EXPECT_EQ(FokusName(), "Logtext") << Runde.join(' ').toStdString();
        EXPECT_FALSE(Runde.contains(QStringLiteral("Webbrowserx")));
        Taste(QStringLiteral("ctrl+End"));
        Tippen(QStringLiteral("Notiz"));
        EXPECT_TRUE(Warten([&] {
            return ImProgramm([&] {
                std::string Alles;
                for (int i = 0; i < Abschnitt->Logtext->ItemCount(); ++i)
                    Alles += Abschnitt->Logtext->GetItemText(i);
                return Alles.find("Notiz") != std::string::npos;
            });
        }));
        Bildschirmfoto(QStringLiteral("16_logbuch_weitergetippt"));

        // "meinlog" saved twice: the second time the dialog asks before replacing.
        for (int Mal = 1; Mal <= 2; ++Mal) {
            Klick(Abschnitt->LogbuchSpeichern);
            const FensterId Datei = DialogAbwarten(QStringLiteral("QFileDialog")).Fenster;
            ASSERT_NE(Datei, 0u);
            ASSERT_TRUE(DateinameTippen(Name));
            Bestaetigen();
            if (Mal == 2) {
                // The question belongs to the file dialog, which stays open under it.
                const TDialogBild Frage =
                    DialogPruefen(QStringLiteral("QMessageBox"), Datei, QStringLiteral("Ersetzen?"),
                                  QStringLiteral("17_meinlog_ersetzen"));
                ASSERT_NE(Frage.Fenster, 0u);
                EXPECT_TRUE(Frage.Texte.join(' ').contains(QStringLiteral("meinlog.rtf")))
                    << Frage.Texte.join(' ').toStdString();
                // A click the window manager took for activating the box is
                // made again.
                for (int k = 0; k < 3 && DialogAbwarten(QStringLiteral("QMessageBox"), 0).Fenster; ++k) {
                    KlickBei(DialogKnopf(QStringLiteral("Ja")));
                    Warten([] { return DialogAbwarten(QStringLiteral("QMessageBox"), 0).Fenster == 0; }, 15);
                }
            }
            const bool Gespeichert =
                Warten([&] { return QFile::exists(Name + ".rtf") && AktivesFenster() == AbschnittF; });
            if (!Gespeichert) Bildschirmfoto(QStringLiteral("fehler_speichern_%1").arg(Mal));
            ASSERT_TRUE(Gespeichert) << Mal;
            EXPECT_FALSE(QFile::exists(Name));
            EXPECT_TRUE(Warten([] { return !Logbuchgeaendert(); }));
        }

        // The file cut short before its last brace, as a save broken off
        // leaves it: loaded, the pupil reads why it stays unsaved.
        {
            QFile Datei(Name + ".rtf");
            ASSERT_TRUE(Datei.open(QIODevice::ReadOnly));
            QByteArray Inhalt = Datei.readAll().trimmed();
            Datei.close();
            ASSERT_TRUE(Inhalt.endsWith('}'));
            Inhalt.chop(1);
            ASSERT_TRUE(Datei.open(QIODevice::WriteOnly | QIODevice::Truncate));
            Datei.write(Inhalt);
        }
        ImProgramm([&] { Abschnitt->Logtext->Clear(); });
        Klick(Abschnitt->LogbuchLaden);
        ASSERT_NE(DialogAbwarten(QStringLiteral("QFileDialog")).Fenster, 0u);
        ASSERT_TRUE(DateinameTippen(Name + ".rtf"));
        Bestaetigen();
        const TDialogBild Unvollstaendig =
            DialogPruefen(QStringLiteral("QMessageBox"), AbschnittF, QStringLiteral("Logbuch unvollständig"),
                          QStringLiteral("18_logbuch_unvollstaendig"));
        ASSERT_NE(Unvollstaendig.Fenster, 0u);
        EXPECT_EQ(Unvollstaendig.Titel, "Warnung");
        EXPECT_TRUE(Unvollstaendig.Texte.join(' ').contains(QStringLiteral("Das Logbuch war unvollständig.")))
            << Unvollstaendig.Texte.join(' ').toStdString();
        KlickBei(DialogKnopf(QStringLiteral("OK")));
        ASSERT_TRUE(IstAktiv(AbschnittF));
        EXPECT_TRUE(Logbuchgeaendert());
        EXPECT_TRUE(ImProgramm([&] {
            std::string Alles;
            for (int i = 0; i < Abschnitt->Logtext->ItemCount(); ++i)
                Alles += Abschnitt->Logtext->GetItemText(i);
            return Alles.find("Notiz") != std::string::npos;
        }));
        Bildschirmfoto(QStringLiteral("19_logbuch_unvollstaendig_geladen"));
        // The log loaded from the cut file is not saved yet.
        UngespeichertBeenden(Abschnitt, Haupt);
    });
    EXPECT_FALSE(Zq->Visible());
}

TEST(Desktop, KeypadClicksTypeIntoTheBoxLastClicked) {
    Programmlauf([] {
        const FensterId Haupt = ZumHauptfenster();
        ASSERT_NE(Haupt, 0u);

        // "1.2.1 Runden": the answer clicked on the keypad, Enter on the keypad checks it.
        auto [Runden, RundenF] = AbschnittZeigen(Haupt, 7, QStringLiteral("TZqK1_2"));
        ASSERT_NE(RundenF, 0u);
        auto [Rund, RundF] = UebungZeigen<TZqK1_2A1>(Runden->SpeedButton2, RundenF, "TZqK1_2A1");
        ASSERT_NE(Rund, nullptr);
        Klick(Rund->Paar1.Box);
        ASSERT_TRUE(Warten([] { return FokusName() == QStringLiteral("RichEdit1"); }));
        // A wrong digit first, taken back with the keypad's backspace.
        Klick(Rund->SpeedButtonZ[9]);
        EXPECT_TRUE(Warten([&] { return Zeile(Rund->Paar1.Box) == "9"; })) << Zeile(Rund->Paar1.Box).toStdString();
        Klick(Rund->SpeedButtonClearZ);
        EXPECT_TRUE(Warten([&] { return Zeile(Rund->Paar1.Box).isEmpty(); }));
        EXPECT_EQ(FokusName(), "RichEdit1");
        const QString Gerundet = QString::number(ImProgramm([] { return ZqK1_2A1.gerundet; }));
        for (QChar c : Gerundet)
            Klick(Rund->SpeedButtonZ[c.digitValue()]);
        EXPECT_TRUE(Warten([&] { return Zeile(Rund->Paar1.Box) == Gerundet; }))
            << Zeile(Rund->Paar1.Box).toStdString();
        Klick(Rund->SpeedButtonReturn);
        EXPECT_TRUE(Warten([&] { return Text(Rund->Paar1.Urteil) == Richtig; }));
        Bildschirmfoto(QStringLiteral("18_runden_tastatur"));
        Klick(Rund->ProgrammEnde);
        ASSERT_TRUE(IstAktiv(RundenF));
        Klick(Runden->SpeedButton1); // "Zurück"
        ASSERT_TRUE(IstAktiv(Haupt));

        // "1.3.8", exercise 8: the digit pad of its own at the right edge.
        auto [Division, DivisionF] = AbschnittZeigen(Haupt, 18, QStringLiteral("TZqK1_3"));
        ASSERT_NE(DivisionF, 0u);
        ASSERT_TRUE(Warten([&] { return Text(Division->SpeedButton2) == QStringLiteral("Übung 8"); }))
            << Text(Division->SpeedButton2).toStdString();
        auto [Rest, RestF] = UebungZeigen<TZqK1_3H1>(Division->SpeedButton2, DivisionF, "TZqK1_3H1");
        ASSERT_NE(Rest, nullptr);
        // A box of the scheme clicked (its rows move with the task): the pad types into it.
        Klick(Rest->RichEdit[9]);
        TRichEdit* Kasten = nullptr;
        ASSERT_TRUE(Warten([&] { return (Kasten = FokusBox()) != nullptr; })) << FokusName().toStdString();
        Klick(Rest->SpeedButton[9]); // "7"
        EXPECT_TRUE(Warten([&] { return Zeile(Kasten) == "7"; })) << Zeile(Kasten).toStdString();
        EXPECT_EQ(FokusBox(), Kasten) << FokusName().toStdString();
        Bildschirmfoto(QStringLiteral("19_division_ziffernblock"));
        Klick(Rest->SpeedButton[1]); // "löschen"
        EXPECT_TRUE(Warten([&] { return Zeile(Kasten).isEmpty(); })) << Zeile(Kasten).toStdString();
        // The keyboard still reaches the box after the pad.
        Tippen(QStringLiteral("3"));
        EXPECT_TRUE(Warten([&] { return Zeile(Kasten) == "3"; })) << Zeile(Kasten).toStdString();
        // Another box clicked: the pad follows it.
        Klick(Rest->RichEdit[12]);
        TRichEdit* Zweiter = nullptr;
        ASSERT_TRUE(Warten([&] { return (Zweiter = FokusBox()) != nullptr && Zweiter != Kasten; }))
            << FokusName().toStdString();
        Klick(Rest->SpeedButton[3]); // "1"
        EXPECT_TRUE(Warten([&] { return Zeile(Zweiter) == "1"; })) << Zeile(Zweiter).toStdString();
        EXPECT_EQ(Zeile(Kasten), "3");
        Klick(Rest->ProgrammEnde);
        ASSERT_TRUE(IstAktiv(DivisionF));
        Klick(Division->SpeedButton1);
        ASSERT_TRUE(IstAktiv(Haupt));
        Klick(Zq->ProgrammEnde);
    });
    EXPECT_FALSE(Zq->Visible());
}

// "2.3.1": the cups in a window the setup scales by 4/3. The picture shows
// enlarged; the pupil clicks a cup where it shows, and that cup pours.
TEST(Desktop, CupsOfAScaledWindowPourWhereThePupilClicksThem) {
    Programmlauf([] {
        const FensterId Haupt = ZumHauptfenster();
        ASSERT_NE(Haupt, 0u);
        const int Eintrag = ImProgramm([] {
            const QStringList& Texte = ZqBaumTexte();
            for (int i = 0; i < Texte.size(); ++i)
                if (Texte[i].startsWith(QStringLiteral("2.3.1"))) return i;
            return -1;
        });
        auto [Volumen, VolumenF] = AbschnittZeigen(Haupt, Eintrag, QStringLiteral("TZqK2_3"));
        ASSERT_NE(VolumenF, 0u);
        // As the section form's setup file would switch it on.
        ImProgramm([] {
            FSetup.Skalieren = true;
            FSetup.Skalierungsfaktor = 2;
        });
        auto [Becher, BecherF] = UebungZeigen<TZqK2_3A1>(Volumen->SpeedButton2, VolumenF, "TZqK2_3A1");
        ASSERT_NE(Becher, nullptr);
        ASSERT_EQ(ImProgramm([&] { return Becher->Image1->Width(); }), 1071);
        ASSERT_EQ(ImProgramm([&] { return Becher->Image1->Picture()->Width(); }), 803);
        // Where cup k shows on the screen: its centre in the picture, enlarged.
        const auto Tasse = [&](int k) {
            return ImProgramm([&] {
                TImage* Bild = Becher->Image1;
                const TPoint m = ZqK2_3A1.Mitte[k];
                const QPoint p((2 * m.x + 1) * Bild->Width() / (2 * Bild->Picture()->Width()),
                               (2 * m.y + 1) * Bild->Height() / (2 * Bild->Picture()->Height()));
                return Bild->Widget()->mapToGlobal(p);
            });
        };
        // The first basin holds 5 l: five clicks on the litre.
        for (int i = 0; i < 5; ++i)
            KlickBei(Tasse(3));
        Verarbeitet();
        EXPECT_EQ(Text(Becher->LabelP1), QStringLiteral("Sehr gut, weiter so."));
        EXPECT_EQ(Text(Becher->Label5), QStringLiteral("5 l"));
        Bildschirmfoto(QStringLiteral("20_becher_skaliert"));
        // The three small cups, one each: 5111 ml in a basin of 5000.
        for (int k : {2, 1, 0})
            KlickBei(Tasse(k));
        Verarbeitet();
        EXPECT_EQ(ImProgramm([] { return ZqK2_3A1.Fuellung; }), 5111);
        EXPECT_EQ(Text(Becher->Label7), QStringLiteral("8"));
        EXPECT_EQ(Text(Becher->LabelP1), QStringLiteral("Die Füllmenge war zu groß. Entleere das Becken."));
        Klick(Becher->ProgrammEnde);
        ASSERT_TRUE(IstAktiv(VolumenF));
        ImProgramm([] { FSetup.Skalieren = false; });
        Klick(Volumen->SpeedButton1);
        ASSERT_TRUE(IstAktiv(Haupt));
        Klick(Zq->ProgrammEnde);
    });
    EXPECT_FALSE(Zq->Visible());
}

// Keys typed ahead into a table in the log book, with no pause between them
// or while the program is busy, give what the same keys give one at a time:
// what a key leaves for after it (Tab's move to the next cell, the host's
// undo and redo steps, which close and reopen the cell's editor) is done
// before the keys that follow it.
TEST(Desktop, KeysTypedAheadIntoATableOfTheLogGiveWhatTheyGiveOneAtATime) {
    Programmlauf([] {
        const auto [Haupt, Abschnitt, AbschnittF] = InsLog();
        ASSERT_NE(AbschnittF, 0u);
        TRichPadEdit* Log = Abschnitt->Logtext;
        // The log holds a table with the cells "A", "B", "C" and "D"; the
        // caret stands at the end of "A", in the cell's editor.
        const auto Tabelle = [&] {
            return ImProgramm([&] {
                Log->DestroyCellEditor();
                Log->Clear();
                auto t = TRPTableItemInfo::CreateEx(2, 2, Log->RPData());
                TRPTableItemInfo* T = t.get();
                for (int i = 0; i < 4; ++i) {
                    TRPTableCellData* Zelle = T->GetCell(i / 2, i % 2);
                    Zelle->Clear();
                    Zelle->AddNL(std::string(1, static_cast<char>('A' + i)), 0, 0);
                }
                Log->RPData()->AddItem(std::string(), std::move(t));
                Log->Format();
                Log->ClearUndo();
                return T->EditCell(-1, 0, 0, false, false, true, false, false) && T->InplaceEditor() &&
                       QApplication::focusWidget() == T->InplaceEditor()->Widget();
            });
        };
        // The cells' texts (the edited one's in its editor), and which is edited.
        const auto Zellen = [&] {
            return ImProgramm([&] {
                auto* T = dynamic_cast<TRPTableItemInfo*>(Log->RPData()->GetItem(0));
                if (!T) return std::string("keine Tabelle");
                int r = -1, c = -1;
                TRPTableInplaceEdit* e = T->GetEditedCell(r, c);
                std::string s;
                for (int i = 0; i < 4; ++i) {
                    const TCustomRPData* Text = T->GetCell(i / 2, i % 2);
                    if (e && i == r * 2 + c) Text = e->RPData();
                    s += i ? "/" : "";
                    for (int k = 0; k < Text->GetItemCount(); ++k)
                        s += Text->GetItemText(k);
                }
                return e ? s + " in " + std::to_string(r) + "," + std::to_string(c) : s;
            });
        };
        // Typed one at a time, these keys leave "Apq" in the first cell and
        // the caret in the second, after an "x" typed into it.
        const QStringList Tasten = {"x", "y", "ctrl+z", "Tab", "ctrl+shift+z", "ctrl+z",
                                    "ctrl+z", "p", "q", "Tab", "x"};
        const std::string Soll = "Apq/xB/C/D in 0,1";
        for (int Mal = 0; Mal < 10; ++Mal) {
            SCOPED_TRACE(Mal);
            ASSERT_TRUE(Tabelle());
            // Every other time the program is busy while the keys arrive.
            if (Mal % 2) Posten([] { std::this_thread::sleep_for(std::chrono::milliseconds(300)); });
            TastenSchnell(Tasten);
            Verarbeitet();
            EXPECT_TRUE(Warten([&] { return Zellen() == Soll; })) << Zellen();
        }
        Bildschirmfoto(QStringLiteral("21_tabelle_vorausgetippt"));
        // The log with the table is not saved.
        UngespeichertBeenden(Abschnitt, Haupt);
    });
    EXPECT_FALSE(Zq->Visible());
}

// The caret keys of the log move its caret, and the view follows the caret
// only as far as its line needs: the line always shows whole, also where the
// log starts or ends with a table taller than the view.
TEST(Desktop, CaretKeysOfTheLogMoveTheCaretAndItsLineShowsWhole) {
    Programmlauf([] {
        const auto [Haupt, Abschnitt, AbschnittF] = InsLog();
        ASSERT_NE(AbschnittF, 0u);
        TRichPadEdit* Log = Abschnitt->Logtext;
        // 200 lines, with tables of 60 rows before and after them when asked;
        // the caret at the start.
        const auto Fuellen = [&](bool Tabellen) {
            ImProgramm([&] {
                Log->DestroyCellEditor();
                Log->Clear();
                const auto Tabelle = [&] {
                    auto t = TRPTableItemInfo::CreateEx(60, 1, Log->RPData());
                    for (int r = 0; r < 60; ++r) {
                        t->GetCell(r, 0)->Clear();
                        t->GetCell(r, 0)->AddNL("Reihe " + std::to_string(r + 1), 0, 0);
                    }
                    Log->RPData()->AddItem(std::string(), std::move(t));
                };
                if (Tabellen) Tabelle();
                for (int i = 1; i <= 200; ++i)
                    Log->AddText("Zeile " + std::to_string(i), 0, 0);
                if (Tabellen) Tabelle();
                Log->Format();
                Log->ClearUndo();
                Log->EditData()->SetCaretItemPos(0, Log->RPData()->GetFirstOffsetOfItem(0));
            });
        };
        // The caret's item and offset, the top and bottom of its line in the
        // client area, the view's offset, the client height, and the first
        // or last row of the table the caret stands at.
        struct TBlick {
            int Eintrag = -1, Stelle = -1, Oben = 0, Unten = 0, Ansicht = 0, Hoehe = 0, ReiheOben = 0,
                ReiheUnten = 0;
        };
        const auto Blick = [&] {
            return ImProgramm([&] {
                TBlick b;
                TRPEditRPData* d = Log->EditData();
                b.Eintrag = d->CurItemNo();
                b.Stelle = d->OffsetInCurItem();
                const TRPDrawLineInfo* di = d->DrawItem(d->CaretDrawItemNo);
                b.Ansicht = d->GetVOffs();
                b.Oben = di->Top - b.Ansicht;
                b.Unten = b.Oben + di->Height;
                b.Hoehe = Log->ClientHeight();
                if (const auto* t = dynamic_cast<const TRPTableItemInfo*>(d->GetItem(b.Eintrag))) {
                    const TRPTableItemFormattingInfo& f = t->FormattingInfo;
                    const int r = b.Stelle ? f.RowStarts.Count() - 1 : 0;
                    b.ReiheOben = b.Oben + f.RowStarts[r];
                    b.ReiheUnten = b.ReiheOben + f.RowHeights[r];
                }
                return b;
            });
        };
        // A key as the pupil presses it; what shows once the caret stands at Eintrag.
        const auto Druecken = [&](const QString& Name, int Eintrag) {
            Taste(Name);
            Verarbeitet();
            TBlick b;
            EXPECT_TRUE(Warten([&] { return (b = Blick()).Eintrag == Eintrag; })) << b.Eintrag;
            return b;
        };
        const auto Ganz = [](const TBlick& b) { return b.Oben >= 0 && b.Unten <= b.Hoehe; };

        Fuellen(false);
        TBlick Vorher = Blick();
        ASSERT_EQ(Vorher.Ansicht, 0);
        for (int i = 1; i < 200; ++i) {
            SCOPED_TRACE(i);
            const TBlick b = Druecken(QStringLiteral("Down"), i);
            EXPECT_TRUE(Ganz(b)) << b.Oben << ".." << b.Unten << " / " << b.Hoehe;
            // The view stays while the line shows in it with room to spare.
            if (b.Unten + (b.Ansicht - Vorher.Ansicht) + 6 <= b.Hoehe) {
                EXPECT_EQ(b.Ansicht, Vorher.Ansicht);
            }
            Vorher = b;
        }
        EXPECT_GT(Vorher.Ansicht, 0);
        Bildschirmfoto(QStringLiteral("22_logbuch_200_zeilen_abwaerts"));
        // Home and End stay on the line and leave the view alone.
        TBlick b = Druecken(QStringLiteral("Home"), 199);
        EXPECT_EQ(b.Stelle, 1);
        EXPECT_EQ(b.Ansicht, Vorher.Ansicht);
        b = Druecken(QStringLiteral("End"), 199);
        EXPECT_EQ(b.Stelle, 10);
        EXPECT_EQ(b.Ansicht, Vorher.Ansicht);
        b = Druecken(QStringLiteral("ctrl+Home"), 0);
        EXPECT_EQ(b.Ansicht, 0);
        EXPECT_TRUE(Ganz(b));
        b = Druecken(QStringLiteral("ctrl+End"), 199);
        EXPECT_TRUE(Ganz(b));

        // With the tables: Ctrl+End shows the last row of the last, Ctrl+Home the first of the first.
        Fuellen(true);
        b = Druecken(QStringLiteral("ctrl+End"), 201);
        ASSERT_GT(b.Unten - b.Oben, b.Hoehe);
        EXPECT_TRUE(b.ReiheOben >= 0 && b.ReiheUnten <= b.Hoehe) << b.ReiheOben << ".." << b.ReiheUnten;
        b = Druecken(QStringLiteral("ctrl+Home"), 0);
        EXPECT_EQ(b.Stelle, 0);
        EXPECT_EQ(b.Ansicht, 0);
        EXPECT_TRUE(b.ReiheOben >= 0 && b.ReiheUnten <= b.Hoehe) << b.ReiheOben << ".." << b.ReiheUnten;
        Bildschirmfoto(QStringLiteral("23_logbuch_tabelle_oben"));
        // A note typed before the table, which is not saved.
        Tippen(QStringLiteral("x"));
        ASSERT_TRUE(Warten(Logbuchgeaendert));
        UngespeichertBeenden(Abschnitt, Haupt);
    });
    EXPECT_FALSE(Zq->Visible());
}

namespace {

// A table of the log's RTF: its rows (cells separated by \cell), each cell
// ending at its right edge in twips, framed by single lines unless OhneRahmen.
QByteArray RtfTabelle(const std::vector<int>& Raender, const std::vector<QByteArray>& Reihen,
                      bool OhneRahmen = false) {
    const QByteArray Rahmen = OhneRahmen ? QByteArray()
                                         : QByteArray("\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                                                      "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10");
    QByteArray Rtf;
    for (const QByteArray& Reihe : Reihen) {
        Rtf += "\\trowd\\trgaph60";
        for (const int Rand : Raender)
            Rtf += Rahmen + "\\cellx" + QByteArray::number(Rand);
        Rtf += "\\pard\\intbl " + Reihe + "\\cell\\row\n";
    }
    return Rtf;
}

QByteArray RtfTag(int Tag) {
    return "\\pard Tag " + QByteArray::number(Tag) + ": Heute habe ich " + QByteArray::number(Tag + 3) +
           " Aufgaben gerechnet. Das war sch\\'f6n.\\par\n";
}

// The results of four sums, with the table's name in its first row.
QByteArray RtfErgebnisse(const QByteArray& Name) {
    return RtfTabelle({2000, 4000, 6000},
                      {"Aufgabe" + Name + "\\cell Ergebnis\\cell richtig?", "12 + 7\\cell 19\\cell ja",
                       "45 - 18\\cell 27\\cell ja", "6 * 7\\cell 42\\cell ja"});
}

// A log book of 200 days with a table of results after day 12 and after
// day 100, as a pupil's log grows.
QByteArray LogbuchMitTabellen() {
    QByteArray Rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\n";
    for (int Tag = 1; Tag <= 200; ++Tag) {
        Rtf += RtfTag(Tag);
        if (Tag == 12 || Tag == 100) Rtf += "\\pard Meine Ergebnisse:\\par\n" + RtfErgebnisse("");
    }
    return Rtf + "\\pard Ende vom Logbuch\\par\n}\n";
}

// A log book of 300 days and seven tables: one of 50 rows, taller than the
// view, after day 60; one of wrapped cells in narrow columns after day 120;
// two one right after the other after day 250; one at the end.
QByteArray LogbuchMitLangenTabellen() {
    QByteArray Rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\n";
    for (int Tag = 1; Tag <= 300; ++Tag) {
        Rtf += RtfTag(Tag);
        std::vector<QByteArray> Reihen;
        switch (Tag) {
        case 12:
        case 200:
        case 250:
        case 300: {
            const QByteArray Name = Tag == 12 ? " A" : Tag == 200 ? " B" : Tag == 250 ? " C" : " Ende";
            Rtf += "\\pard Meine Ergebnisse" + Name + ":\\par\n" + RtfErgebnisse(Name);
            if (Tag == 250)
                Rtf += RtfTabelle({3000, 6000},
                                  {"direkt danach 1\\cell zweite Tabelle",
                                   "direkt danach 2\\cell zweite Tabelle",
                                   "direkt danach 3\\cell zweite Tabelle"},
                                  true);
            break;
        }
        case 60:
            for (int r = 1; r <= 50; ++r)
                Reihen.push_back("T Reihe " + QByteArray::number(r) + "\\cell " + QByteArray::number(r) +
                                 " + " + QByteArray::number(r) + "\\cell " + QByteArray::number(2 * r));
            Rtf += "\\pard Gro\\'dfe Tabelle T:\\par\n" + RtfTabelle({2000, 4000, 6000}, Reihen);
            break;
        case 120:
            for (int r = 1; r <= 5; ++r)
                Reihen.push_back(
                    "W " + QByteArray::number(r) +
                    "\\cell Eine lange Sachaufgabe mit Geld, die in der schmalen Spalte auf drei "
                    "Zeilen umbricht\\cell ja");
            Rtf += "\\pard Sachaufgaben W:\\par\n" + RtfTabelle({1500, 3000, 4500}, Reihen);
            break;
        default:
            break;
        }
    }
    return Rtf + "}\n";
}

bool DateiSchreiben(const QString& Name, const QByteArray& Inhalt) {
    QFile f(Name);
    return f.open(QIODevice::WriteOnly) && f.write(Inhalt) == Inhalt.size();
}

// After "Logbuch laden": the warning that the log is not saved, when it
// comes, taken with OK (however late it comes on a loaded machine); true once
// the file dialog is in front.
bool ZumLadedialog() {
    for (int Warnungen = 0; Warnungen < 3; ++Warnungen) {
        QString Art;
        Warten([&] {
            Art = ImProgramm([] {
                QWidget* w = QApplication::activeModalWidget();
                if (!w || !w->isVisible()) return QString();
                return QString::fromLatin1(w->inherits("QFileDialog")   ? "QFileDialog"
                                           : w->inherits("QMessageBox") ? "QMessageBox"
                                                                        : "");
            });
            return !Art.isEmpty();
        });
        if (Art != QLatin1String("QMessageBox")) return Art == QLatin1String("QFileDialog");
        KlickBei(DialogKnopf(QStringLiteral("OK")));
        Warten([] { return DialogAbwarten(QStringLiteral("QMessageBox"), 0).Fenster == 0; });
    }
    return false;
}

// The log file loaded as the pupil loads it, the log's window active again;
// false when it did not come to the log.
bool LogbuchLaden(TKxNav* Abschnitt, FensterId AbschnittF, const QString& Datei) {
    Klick(Abschnitt->LogbuchLaden);
    if (!ZumLadedialog() || !DateinameTippen(Datei)) return false;
    const int Vorher = ImProgramm([&] { return Abschnitt->Logtext->ItemCount(); });
    Bestaetigen();
    return Warten([&] { return ImProgramm([&] { return Abschnitt->Logtext->ItemCount(); }) != Vorher; }) &&
           IstAktiv(AbschnittF);
}

// Where the caret of the log is (in a cell also the cell and the place in
// its editor), the top and bottom of its line in the log's client area, the
// log's view offset and client height, and whether the view stands at the
// document's end.
struct TBlick {
    std::string Stelle;
    bool InZelle = false, Unten = false;
    int Oben = 0, Fuss = 0, Ansicht = 0, Hoehe = 0;
};

TBlick LogBlick(TRichPadEdit* Log) {
    return ImProgramm([&] {
        TBlick b;
        TCustomRichPadEdit* e = Log;
        int Oben = 0;
        for (;;) {
            TRPEditRPData* d = e->EditData();
            auto* t = dynamic_cast<TRPTableItemInfo*>(e->EditedCellItem);
            TRPTableInplaceEdit* z = t ? t->InplaceEditor() : nullptr;
            if (!z) {
                b.Stelle += std::to_string(d->CurItemNo()) + ":" + std::to_string(d->OffsetInCurItem());
                const TRPDrawLineInfo* di = d->DrawItem(d->CaretDrawItemNo);
                b.Oben = Oben + di->Top - d->GetVOffs();
                b.Fuss = b.Oben + di->Height;
                break;
            }
            b.Stelle += std::to_string(t->GetItemNo()) + " (" + std::to_string(z->Row) + "," +
                        std::to_string(z->Col) + ") ";
            b.InZelle = true;
            Oben += z->Top();
            e = z;
        }
        b.Ansicht = Log->EditData()->GetVOffs();
        b.Hoehe = Log->ClientHeight();
        b.Unten = Log->VPos >= Log->VScrollMax - (Log->VScrollPage - 1);
        return b;
    });
}

std::string BlickText(const TBlick& b) {
    return b.Stelle + " " + std::to_string(b.Oben) + ".." + std::to_string(b.Fuss) + " / " +
           std::to_string(b.Hoehe) + " bei " + std::to_string(b.Ansicht);
}

// The log's first line clicked and the caret to the log's start (Ende: to its end).
void LogKlicken(TRichPadEdit* Log, bool Ende = false) {
    KlickBei(ImProgramm([&] { return Log->ClientWidget()->mapToGlobal(QPoint(40, 10)); }));
    Taste(Ende ? QStringLiteral("ctrl+End") : QStringLiteral("ctrl+Home"));
    Verarbeitet();
}

// The key pressed until the caret stands in the log itself at item Ziel;
// the places the caret took, every key moving it. Foto: a screenshot of
// the first row that the view moved down for.
std::vector<TBlick> LogGehen(TRichPadEdit* Log, const QString& Name, int Ziel,
                             const QString& Foto = QString()) {
    std::vector<TBlick> Weg{LogBlick(Log)};
    const std::string Da = std::to_string(Ziel) + ":";
    bool Fotografiert = Foto.isEmpty();
    while (Weg.size() < 300 && Weg.back().Stelle.rfind(Da, 0) != 0) {
        Taste(Name);
        Verarbeitet();
        TBlick b;
        const bool Bewegt = Warten([&] { return (b = LogBlick(Log)).Stelle != Weg.back().Stelle; });
        EXPECT_TRUE(Bewegt) << BlickText(Weg.back());
        if (!Bewegt) break;
        if (!Fotografiert && b.InZelle && b.Ansicht > Weg.back().Ansicht) {
            Bildschirmfoto(Foto);
            Fotografiert = true;
        }
        Weg.push_back(b);
    }
    return Weg;
}

} // namespace

TEST(Desktop, CaretKeysShowTheRowsOfTablesInTheLogWhole) {
    QTemporaryDir Ordner;
    ASSERT_TRUE(Ordner.isValid());
    const QString Datei = Ordner.filePath(QStringLiteral("tabellen.rtf"));
    ASSERT_TRUE(DateiSchreiben(Datei, LogbuchMitTabellen()));
    Programmlauf([&Datei] {
        const auto [Haupt, Abschnitt, AbschnittF] = InsLog();
        ASSERT_NE(AbschnittF, 0u);
        TRichPadEdit* Log = Abschnitt->Logtext;
        // Loaded as the pupil loads it: 200 days, 2 headings, 2 tables and the last line.
        ASSERT_TRUE(LogbuchLaden(Abschnitt, AbschnittF, Datei));
        ASSERT_EQ(ImProgramm([&] { return Log->ItemCount(); }), 205);
        LogKlicken(Log);

        // The caret's line shows whole, 5 pixels from the edges where the
        // document has room for them.
        const auto MitRand = [](const TBlick& b) {
            return b.Oben >= 0 && b.Fuss <= b.Hoehe && (b.Oben - 6 >= 0 || b.Ansicht == 0) &&
                   (b.Fuss + 6 <= b.Hoehe || b.Unten);
        };
        const auto Zellen = [](const std::vector<TBlick>& Weg) {
            return std::count_if(Weg.begin(), Weg.end(), [](const TBlick& b) { return b.InZelle; });
        };

        // Down from the first line to the last, then Up back to the first:
        // every row of both tables is entered, the caret's line shows with
        // the margin, and the view stays while the line shows with room
        // where the view was.
        for (const QString& Name : {QStringLiteral("Down"), QStringLiteral("Up")}) {
            SCOPED_TRACE(Name.toStdString());
            const bool Ab = Name == QStringLiteral("Down");
            const std::vector<TBlick> Weg = LogGehen(Log, Name, Ab ? 204 : 0,
                                                     Ab ? QStringLiteral("24_logbuch_tabellenreihe_unten") : QString());
            EXPECT_EQ(Zellen(Weg), 8);
            for (size_t i = 1; i < Weg.size(); ++i) {
                const TBlick &b = Weg[i], &a = Weg[i - 1];
                SCOPED_TRACE(BlickText(b));
                EXPECT_TRUE(MitRand(b));
                const int Bewegung = b.Ansicht - a.Ansicht;
                if (b.Oben + Bewegung - 6 >= 0 && b.Fuss + Bewegung + 6 <= b.Hoehe) {
                    EXPECT_EQ(Bewegung, 0);
                }
            }
        }
        // Page by page to the end and back: every line the caret comes to shows whole.
        for (const QString& Name : {QStringLiteral("Next"), QStringLiteral("Prior")}) {
            SCOPED_TRACE(Name.toStdString());
            const std::vector<TBlick> Weg = LogGehen(Log, Name, Name == QStringLiteral("Next") ? 204 : 0);
            EXPECT_GT(Weg.size(), 3u);
            for (const TBlick& b : Weg)
                EXPECT_TRUE(b.Oben >= 0 && b.Fuss <= b.Hoehe) << BlickText(b);
        }
        // A note typed at the start, which is not saved.
        Tippen(QStringLiteral("x"));
        ASSERT_TRUE(Warten(Logbuchgeaendert));
        UngespeichertBeenden(Abschnitt, Haupt);
    });
    EXPECT_FALSE(Zq->Visible());
}

// PageDown from the start of a long log book to its end, through a table of
// 50 rows taller than the view, a table of wrapped cells and two tables one
// right after the other, and PageUp back: each screen overlaps or touches
// the one before, and every line and every row shows whole on one of them.
// In a cell of a table at the view's bottom edge, PageDown and PageUp move a
// screen and leave the cell. The pages went past a tall table in one step
// (its rows after the first screen of it never showed), and in a cell they
// stopped at the cell's end or start.
TEST(Desktop, PagesShowEveryLineAndRowOfTheLogAndLeaveItsCells) {
    QTemporaryDir Ordner;
    ASSERT_TRUE(Ordner.isValid());
    const QString Lang = Ordner.filePath(QStringLiteral("lang.rtf"));
    const QString Unten = Ordner.filePath(QStringLiteral("unten.rtf"));
    ASSERT_TRUE(DateiSchreiben(Lang, LogbuchMitLangenTabellen()));
    ASSERT_TRUE(DateiSchreiben(Unten, LogbuchMitTabellen()));
    Programmlauf([&] {
        const auto [Haupt, Abschnitt, AbschnittF] = InsLog();
        ASSERT_NE(AbschnittF, 0u);
        TRichPadEdit* Log = Abschnitt->Logtext;
        const auto Anfangen = [&] { LogKlicken(Log); };
        ASSERT_TRUE(LogbuchLaden(Abschnitt, AbschnittF, Lang));
        const int Letzter = ImProgramm([&] { return Log->ItemCount(); }) - 1;
        ASSERT_GT(Letzter, 300);
        Anfangen();
        // Every line of the log and every row of its tables, top and bottom in the document.
        const auto Zeilen = [&] {
            return ImProgramm([&] {
                std::vector<std::pair<std::string, std::pair<int, int>>> z;
                TRPEditRPData* d = Log->EditData();
                for (int i = 0; i < d->DrawItemCount(); ++i) {
                    const TRPDrawLineInfo* di = d->DrawItem(i);
                    const auto* t = dynamic_cast<const TRPTableItemInfo*>(d->GetItem(di->ItemNo));
                    if (!t) {
                        z.push_back({d->GetItemText(di->ItemNo), {di->Top, di->Top + di->Height}});
                        continue;
                    }
                    const TRPTableItemFormattingInfo& f = t->FormattingInfo;
                    for (int r = 0; r < f.RowStarts.Count(); ++r) {
                        const int Oben = di->Top + f.RowStarts[r];
                        z.push_back(
                            {"Reihe " + std::to_string(r + 1) + " der Tabelle " + std::to_string(di->ItemNo),
                             {Oben, Oben + f.RowHeights[r] + 2 * t->CellPadding}});
                    }
                }
                return z;
            });
        };
        for (const QString& Name : {QStringLiteral("Next"), QStringLiteral("Prior")}) {
            SCOPED_TRACE(Name.toStdString());
            const bool Ab = Name == QStringLiteral("Next");
            const std::vector<TBlick> Weg = LogGehen(Log, Name, Ab ? Letzter : 0);
            ASSERT_EQ(Weg.back().Stelle.rfind(std::to_string(Ab ? Letzter : 0) + ":", 0), 0u);
            EXPECT_GE(std::count_if(Weg.begin(), Weg.end(), [](const TBlick& b) { return b.InZelle; }), 2);
            for (size_t i = 1; i < Weg.size(); ++i) {
                const TBlick &b = Weg[i], &a = Weg[i - 1];
                SCOPED_TRACE(BlickText(b) + " nach " + BlickText(a));
                EXPECT_TRUE(b.Oben >= 0 && b.Fuss <= b.Hoehe);
                if (Ab) {
                    EXPECT_LE(b.Ansicht, a.Ansicht + a.Hoehe);
                } else {
                    EXPECT_GE(b.Ansicht + b.Hoehe, a.Ansicht);
                }
            }
            for (const auto& [Was, Wo] : Zeilen()) {
                const bool Gezeigt = std::any_of(Weg.begin(), Weg.end(), [&, &Wo = Wo](const TBlick& b) {
                    return b.Ansicht <= Wo.first && Wo.second <= b.Ansicht + b.Hoehe;
                });
                EXPECT_TRUE(Gezeigt) << Was << " bei " << Wo.first << ".." << Wo.second;
            }
        }
        Bildschirmfoto(QStringLiteral("25_logbuch_seitenweise"));

        // The log of rows at the view's edge: a click into the last row of its
        // second table at the view's bottom edge, and a page down; a click
        // into its first row at the view's top edge, and a page up.
        ASSERT_TRUE(LogbuchLaden(Abschnitt, AbschnittF, Unten));
        Anfangen();
        for (const QString& Name : {QStringLiteral("Next"), QStringLiteral("Prior")}) {
            SCOPED_TRACE(Name.toStdString());
            const bool Ab = Name == QStringLiteral("Next");
            KlickBei(ImProgramm([&] {
                TRPEditRPData* d = Log->EditData();
                const TRPTableItemInfo* t = nullptr;
                for (int i = 0, Tabellen = 0; i < d->GetItemCount() && !t; ++i)
                    if (const auto* x = dynamic_cast<const TRPTableItemInfo*>(d->GetItem(i));
                        x && ++Tabellen == 2)
                        t = x;
                const TRPDrawLineInfo* di = d->DrawItem(d->GetFirstDrawItemOfItem(d->GetItemNo(t)));
                const TRPTableItemFormattingInfo& f = t->FormattingInfo;
                const int r = Ab ? f.RowStarts.Count() - 1 : 0;
                const int Oben = di->Top + f.RowStarts[r], Hoch = f.RowHeights[r] + 2 * t->CellPadding;
                Log->ScrollTo(Ab ? Oben + Hoch + 20 - Log->ClientHeight() : Oben - 20);
                return Log->ClientWidget()->mapToGlobal(QPoint(40, Oben + Hoch / 2 - d->GetVOffs()));
            }));
            Verarbeitet();
            TBlick a;
            ASSERT_TRUE(Warten([&] { return (a = LogBlick(Log)).InZelle; })) << BlickText(a);
            ASSERT_GT(a.Ansicht, 0);
            Taste(Name);
            Verarbeitet();
            TBlick b;
            ASSERT_TRUE(Warten([&] { return (b = LogBlick(Log)).Stelle != a.Stelle; })) << BlickText(a);
            SCOPED_TRACE(BlickText(b) + " nach " + BlickText(a));
            EXPECT_TRUE(b.Oben >= 0 && b.Fuss <= b.Hoehe);
            // The caret left the cell for a line beyond it; the view moved a
            // screen, and the new screen overlaps or touches the one before.
            const auto Zelle = [](const TBlick& z) { return z.Stelle.substr(0, z.Stelle.find(')') + 1); };
            EXPECT_TRUE(!b.InZelle || Zelle(b) != Zelle(a));
            if (Ab) {
                EXPECT_GT(b.Ansicht, a.Ansicht + (a.Fuss - a.Oben));
                EXPECT_LE(b.Ansicht, a.Ansicht + a.Hoehe);
                EXPECT_GE(b.Oben + b.Ansicht, a.Fuss + a.Ansicht);
            } else {
                EXPECT_LT(b.Ansicht, a.Ansicht - (a.Fuss - a.Oben));
                EXPECT_GE(b.Ansicht + b.Hoehe, a.Ansicht);
                EXPECT_LE(b.Fuss + b.Ansicht, a.Oben + a.Ansicht);
            }
            Bildschirmfoto(Ab ? QStringLiteral("26_logbuch_seite_aus_der_zelle")
                              : QStringLiteral("27_logbuch_seite_zurueck_aus_der_zelle"));
        }
        // A note typed, which is not saved.
        Tippen(QStringLiteral("x"));
        ASSERT_TRUE(Warten(Logbuchgeaendert));
        UngespeichertBeenden(Abschnitt, Haupt);
    });
    EXPECT_FALSE(Zq->Visible());
}

namespace {

// A log of 41 short lines and a last paragraph that ends in a word of 34
// letters, which the log's width holds on the paragraph's last line without
// the vertical bar, but not beside it: one letter more makes the log higher
// than its window.
QByteArray LogbuchAmRand() {
    QByteArray Rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\n";
    for (int Zeile = 1; Zeile <= 41; ++Zeile)
        Rtf += "\\pard Zeile " + QByteArray::number(Zeile) + "\\par\n";
    return Rtf +
           "\\pard Heute habe ich am Zahlenstrahl gerechnet und dann noch viele Aufgaben zum Einmaleins mit "
           "sieben und acht ge\\'fcbt, " +
           QByteArray(34, 'm') + "\\par\n}\n";
}

} // namespace

// Letters typed at the end of the log, undone, done again and deleted: the
// vertical bar is there exactly when the log does not fit its window without
// it, as when the log is loaded, whatever came before.
TEST(Desktop, TheLogsBarComesAndGoesAsTheLoadedLogHasIt) {
    QTemporaryDir Ordner;
    ASSERT_TRUE(Ordner.isValid());
    const QString Datei = Ordner.filePath(QStringLiteral("rand.rtf"));
    ASSERT_TRUE(DateiSchreiben(Datei, LogbuchAmRand()));
    Programmlauf([&Datei] {
        const auto [Haupt, Abschnitt, AbschnittF] = InsLog();
        ASSERT_NE(AbschnittF, 0u);
        TRichPadEdit* Log = Abschnitt->Logtext;
        // The letters of the last word, and whether the bar shows: with 36
        // and more the log does not fit its window without it.
        const auto Stand = [&] {
            return ImProgramm([&] {
                TCustomRPData* d = Log->RPData();
                const int Letzter = d->GetItemCount() - 1;
                const QString Text =
                    ItemTextToQString(d->GetItemText(Letzter), d->GetItemOptions(Letzter), 1252);
                return std::make_pair(static_cast<int>(Text.size() - Text.lastIndexOf(' ') - 1),
                                      Log->ScrollBarVisible(SB_VERT));
            });
        };
        const auto Laden = [&] {
            Klick(Abschnitt->LogbuchLaden);
            ASSERT_TRUE(ZumLadedialog());
            ASSERT_TRUE(DateinameTippen(Datei));
            Bestaetigen();
            // Loaded again over the edited log, the item count is the same.
            ASSERT_TRUE(Warten(
                [&] { return ImProgramm([&] { return Log->ItemCount(); }) == 42 && Stand().first == 34; }));
            ASSERT_TRUE(IstAktiv(AbschnittF));
            LogKlicken(Log, true);
        };
        const auto Schritt = [&](const char* Was) {
            if (Was == std::string("mm"))
                Tippen(QString::fromLatin1(Was));
            else
                Taste(QString::fromLatin1(Was));
            Verarbeitet();
            const auto [Buchstaben, Leiste] = Stand();
            EXPECT_EQ(Leiste, Buchstaben >= 36) << Was << ": " << Buchstaben << " letters";
            return Buchstaben;
        };
        // Typed, undone, redone, undone, typed again, then deleted letter by
        // letter down to the word as loaded.
        ASSERT_NO_FATAL_FAILURE(Laden());
        ASSERT_EQ(Stand(), std::make_pair(34, false));
        for (const char* Was : {"mm", "ctrl+z", "ctrl+shift+z", "ctrl+z", "mm"})
            Schritt(Was);
        for (int i = 0; i < 5 && Stand().first > 35; ++i)
            Schritt("BackSpace");
        ASSERT_EQ(Stand(), std::make_pair(35, false));
        Bildschirmfoto(QStringLiteral("28_logbuch_letztes_wort_ohne_leiste"));
        EXPECT_EQ(Schritt("BackSpace"), 34);
        // The same letters straight after loading.
        ASSERT_NO_FATAL_FAILURE(Laden());
        ASSERT_EQ(Stand(), std::make_pair(34, false));
        EXPECT_EQ(Schritt("mm"), 36);
        EXPECT_EQ(Schritt("BackSpace"), 35);
        UngespeichertBeenden(Abschnitt, Haupt);
    });
    EXPECT_FALSE(Zq->Visible());
}

namespace {

// A log of 20 lines, a picture of 300 x 1400 pixels in stripes of 100 in
// four colours, and 40 lines.
QByteArray LogbuchMitHohemBild() {
    QImage Bild(300, 1400, QImage::Format_RGB32);
    const QRgb Farben[] = {qRgb(220, 40, 40), qRgb(40, 160, 40), qRgb(40, 40, 220), qRgb(230, 200, 30)};
    for (int y = 0; y < Bild.height(); ++y)
        for (int x = 0; x < Bild.width(); ++x)
            Bild.setPixel(x, y, Farben[(y / 100) % 4]);
    QByteArray Png;
    QBuffer Puffer(&Png);
    Puffer.open(QIODevice::WriteOnly);
    Bild.save(&Puffer, "PNG");
    QByteArray Rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\n";
    for (int Zeile = 1; Zeile <= 60; ++Zeile) {
        Rtf += "\\pard Zeile " + QByteArray::number(Zeile) + "\\par\n";
        if (Zeile == 20)
            Rtf += "\\pard Bild: {\\pict\\pngblip\\picw300\\pich1400\\picwgoal4500\\pichgoal21000\n" + Png.toHex() +
                   "}\\par\n";
    }
    return Rtf + "}\n";
}

} // namespace

// PageDown through a log with a picture taller than its window, and PageUp
// back: every key moves the view on by no more than the window's height, so
// every row of the picture shows on a screen. Shift+PageDown and
// Shift+PageUp through the long log of tables select screen by screen. The
// pages went from above the picture to the line after it (its middle rows
// never showed) and back to its top; beside a table taller than the window
// Shift+PageUp went to the table's top at once.
TEST(Desktop, PagesShowEveryRowOfATallPictureAndSelectScreenByScreen) {
    QTemporaryDir Ordner;
    ASSERT_TRUE(Ordner.isValid());
    const QString Bild = Ordner.filePath(QStringLiteral("bild.rtf"));
    const QString Lang = Ordner.filePath(QStringLiteral("lang.rtf"));
    ASSERT_TRUE(DateiSchreiben(Bild, LogbuchMitHohemBild()));
    ASSERT_TRUE(DateiSchreiben(Lang, LogbuchMitLangenTabellen()));
    Programmlauf([&] {
        const auto [Haupt, Abschnitt, AbschnittF] = InsLog();
        ASSERT_NE(AbschnittF, 0u);
        TRichPadEdit* Log = Abschnitt->Logtext;
        const auto Anfangen = [&] {
            LogKlicken(Log);
            ASSERT_TRUE(Warten([&] { return LogBlick(Log).Ansicht == 0; }));
        };
        // The key pressed until the view stands at the document's end (or
        // start) and the caret in its last (or first) item; the views and the
        // places of the caret, every key moving the view by a screen at most
        // and the view or the caret at least.
        const auto Seiten = [&](const QString& Name) {
            const bool Ab = Name.endsWith(QStringLiteral("Next"));
            const std::string Ziel = std::to_string(Ab ? ImProgramm([&] { return Log->ItemCount(); }) - 1 : 0) + ":";
            std::vector<TBlick> Weg{LogBlick(Log)};
            while (Weg.size() < 300 &&
                   ((Ab ? !Weg.back().Unten : Weg.back().Ansicht > 0) || Weg.back().Stelle.rfind(Ziel, 0) != 0)) {
                Taste(Name);
                Verarbeitet();
                TBlick b;
                const bool Bewegt = Warten(
                    [&] {
                        b = LogBlick(Log);
                        return b.Ansicht != Weg.back().Ansicht || b.Stelle != Weg.back().Stelle;
                    });
                EXPECT_TRUE(Bewegt) << BlickText(Weg.back());
                if (!Bewegt) break;
                SCOPED_TRACE(BlickText(b) + " nach " + BlickText(Weg.back()));
                EXPECT_LE(std::abs(b.Ansicht - Weg.back().Ansicht), b.Hoehe);
                EXPECT_TRUE(Ab ? b.Ansicht >= Weg.back().Ansicht : b.Ansicht <= Weg.back().Ansicht);
                Weg.push_back(b);
            }
            return Weg;
        };

        ASSERT_TRUE(LogbuchLaden(Abschnitt, AbschnittF, Bild));
        ASSERT_NO_FATAL_FAILURE(Anfangen());
        const auto [BildOben, BildUnten] = ImProgramm([&] {
            TRPEditRPData* d = Log->EditData();
            for (int i = 0; i < d->DrawItemCount(); ++i)
                if (d->DrawItem(i)->Height >= 1400) return std::make_pair(d->DrawItem(i)->Top, d->DrawItem(i)->Top + 1400);
            return std::make_pair(0, 0);
        });
        ASSERT_GT(BildUnten, BildOben);
        for (const QString& Name : {QStringLiteral("Next"), QStringLiteral("Prior")}) {
            SCOPED_TRACE(Name.toStdString());
            const std::vector<TBlick> Weg = Seiten(Name);
            // The rows of the picture that the screens of the way showed.
            int Gezeigt = BildOben;
            std::vector<std::pair<int, int>> Schirme;
            for (const TBlick& b : Weg)
                Schirme.push_back({b.Ansicht, b.Ansicht + b.Hoehe});
            std::sort(Schirme.begin(), Schirme.end());
            for (const auto& [Oben, Unten] : Schirme)
                if (Oben <= Gezeigt) Gezeigt = std::max(Gezeigt, Unten);
            EXPECT_GE(Gezeigt, BildUnten);
            if (Name == QStringLiteral("Next")) {
                EXPECT_GT(Weg.size(), 3u);
                Bildschirmfoto(QStringLiteral("29_logbuch_seite_am_ende_nach_hohem_bild"));
            }
        }
        EXPECT_EQ(LogBlick(Log).Stelle.rfind("0:", 0), 0u);

        // Selected screen by screen: the selection runs from the start to
        // the caret, which goes on with the screens.
        ASSERT_TRUE(LogbuchLaden(Abschnitt, AbschnittF, Lang));
        ASSERT_NO_FATAL_FAILURE(Anfangen());
        const auto Auswahl = [&] {
            return ImProgramm([&] {
                int si = -1, so = -1, ei = -1, eo = -1;
                Log->EditData()->GetSelBounds(si, so, ei, eo, false);
                return std::make_pair(si, ei);
            });
        };
        int Bis = 0;
        for (const QString& Name : {QStringLiteral("shift+Next"), QStringLiteral("shift+Prior")}) {
            SCOPED_TRACE(Name.toStdString());
            const bool Ab = Name == QStringLiteral("shift+Next");
            const std::vector<TBlick> Weg = Seiten(Name);
            EXPECT_GT(Weg.size(), 10u);
            const auto [Von, Ende] = Auswahl();
            EXPECT_EQ(Von, 0);
            if (Ab) {
                Bis = Ende;
                EXPECT_EQ(Ende, ImProgramm([&] { return Log->ItemCount(); }) - 1);
                Bildschirmfoto(QStringLiteral("30_logbuch_bis_zum_ende_gewaehlt"));
            } else {
                EXPECT_LT(Ende, Bis);
            }
        }
        // A note typed, which is not saved.
        Tippen(QStringLiteral("x"));
        ASSERT_TRUE(Warten(Logbuchgeaendert));
        UngespeichertBeenden(Abschnitt, Haupt);
    });
    EXPECT_FALSE(Zq->Visible());
}

namespace {

// A log book of 300 plain lines.
QByteArray LogbuchMitZeilen() {
    QByteArray Rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\n";
    for (int Zeile = 1; Zeile <= 300; ++Zeile)
        Rtf += "\\pard Heute habe ich Aufgabe " + QByteArray::number(Zeile) + " gerechnet.\\par\n";
    return Rtf + "}\n";
}

// Where the page keys take the view in ordinary text: PageDown to the top
// of the line two thirds of a screen down, PageUp to the line two thirds of
// a screen up shown with the caret's margin; the document's start below the
// first screen, the view's end at the last.
int SeiteNach(TRichPadEdit* Log, bool Ab) {
    TRPEditRPData* d = Log->EditData();
    const int v = d->GetVOffs(), h = Log->ClientHeight(), Schritt = Log->VSmallStep;
    const int y = Ab ? v + (2 * h) / 3 : v - (2 * h) / 3;
    if (!Ab && y <= 0) return 0;
    int Zeile = 0;
    for (int i = 0; i < d->DrawItemCount(); ++i)
        if (d->DrawItem(i)->Top <= y) Zeile = i;
    const int Oben = d->DrawItem(Zeile)->Top;
    if (Ab) return std::min(Oben / Schritt, Log->VScrollMax - (Log->VScrollPage - 1)) * Schritt;
    return std::max(0, Oben - TRPEditRPData::CaretLineMargin - 1) / Schritt * Schritt;
}

} // namespace

// The page keys of the log: through ordinary text each screen is where
// pages always went, and the caret's line shows whole; Ctrl+Home before a
// table that starts the log shows the caret at the table's top, where a
// letter typed goes; PageDown through a cell taller than its editor's
// window reaches the line after the table. The caret was drawn beside the
// table's middle rows, and the keys paged inside the tall cell, past lines
// of it that never showed, and never left it.
TEST(Desktop, PagesKeepTheCaretInSightOfTheLog) {
    QTemporaryDir Ordner;
    ASSERT_TRUE(Ordner.isValid());
    const QString Zeilen = Ordner.filePath(QStringLiteral("zeilen.rtf"));
    ASSERT_TRUE(DateiSchreiben(Zeilen, LogbuchMitZeilen()));
    const QString Tall = QStringLiteral(PRAVOLIN_SOURCE_DIR "/tests/richtext/edit/tall/");
    Programmlauf([&] {
        const auto [Haupt, Abschnitt, AbschnittF] = InsLog();
        ASSERT_NE(AbschnittF, 0u);
        TRichPadEdit* Log = Abschnitt->Logtext;
        const auto Ganz = [](const TBlick& b) { return b.Oben >= 0 && b.Fuss <= b.Hoehe; };

        ASSERT_TRUE(LogbuchLaden(Abschnitt, AbschnittF, Zeilen));
        LogKlicken(Log);
        ASSERT_TRUE(Warten([&] { return LogBlick(Log).Ansicht == 0; }));
        const std::string Ende = std::to_string(ImProgramm([&] { return Log->ItemCount(); }) - 1) + ":";
        for (const QString& Name : {QStringLiteral("Next"), QStringLiteral("Prior")}) {
            SCOPED_TRACE(Name.toStdString());
            const bool Ab = Name == QStringLiteral("Next");
            for (int Seite = 0; Seite < 100; ++Seite) {
                const TBlick a = LogBlick(Log);
                if (Ab ? a.Unten && a.Stelle.rfind(Ende, 0) == 0 : a.Ansicht == 0 && a.Stelle == "0:1") break;
                const int Erwartet = ImProgramm([&] { return SeiteNach(Log, Ab); });
                Taste(Name);
                Verarbeitet();
                TBlick b;
                ASSERT_TRUE(Warten([&] { return (b = LogBlick(Log)).Stelle != a.Stelle; })) << BlickText(a);
                SCOPED_TRACE(BlickText(b) + " nach " + BlickText(a));
                EXPECT_EQ(b.Ansicht, Erwartet);
                EXPECT_TRUE(Ganz(b));
            }
        }

        ASSERT_TRUE(LogbuchLaden(Abschnitt, AbschnittF, Tall + QStringLiteral("table_first.rtf")));
        LogKlicken(Log);
        ASSERT_TRUE(Warten([&] { return LogBlick(Log).Stelle == "0:0"; }));
        const TRect Strich = ImProgramm([&] { return Log->EditData()->CaretRect(); });
        const int TabelleOben = ImProgramm([&] { return Log->EditData()->DrawItem(0)->Top; });
        const int ReiheUnten = ImProgramm([&] {
            const auto* t = dynamic_cast<const TRPTableItemInfo*>(Log->EditData()->GetItem(0));
            return t ? t->FormattingInfo.RowStarts[1] : 0;
        });
        // Beside the first row, from the table's top.
        EXPECT_GE(Strich.Top, TabelleOben - 2);
        EXPECT_LE(Strich.Top, TabelleOben);
        EXPECT_GT(Strich.Bottom, TabelleOben + ReiheUnten / 2);
        EXPECT_LE(Strich.Bottom, TabelleOben + ReiheUnten + 2);
        Bildschirmfoto(QStringLiteral("31_logbuch_schreibmarke_vor_tabelle"));

        ASSERT_TRUE(LogbuchLaden(Abschnitt, AbschnittF, Tall + QStringLiteral("cell_beyond_window.rtf")));
        LogKlicken(Log);
        const int Letzter = ImProgramm([&] { return Log->ItemCount(); }) - 1;
        bool InZelle = false;
        TBlick b = LogBlick(Log);
        for (int Seite = 0; Seite < 1000 && b.Stelle.rfind(std::to_string(Letzter) + ":", 0) != 0; ++Seite) {
            const TBlick a = b;
            Taste(QStringLiteral("Next"));
            Verarbeitet();
            ASSERT_TRUE(Warten([&] {
                b = LogBlick(Log);
                return b.Stelle != a.Stelle || b.Ansicht != a.Ansicht;
            })) << BlickText(a);
            SCOPED_TRACE(BlickText(b) + " nach " + BlickText(a));
            EXPECT_LE(b.Ansicht - a.Ansicht, b.Hoehe);
            EXPECT_GE(b.Ansicht, a.Ansicht);
            if (b.Stelle != a.Stelle) {
                EXPECT_TRUE(Ganz(b));
            }
            // Lines of the cell beyond its editor's window, in the window slid down the cell.
            if (b.InZelle && !InZelle && std::stoi(b.Stelle.substr(b.Stelle.find(')') + 2)) > 560)
                Bildschirmfoto(QStringLiteral("32_logbuch_in_hoher_zelle"));
            InZelle = InZelle || (b.InZelle && std::stoi(b.Stelle.substr(b.Stelle.find(')') + 2)) > 560);
        }
        EXPECT_TRUE(InZelle);
        EXPECT_EQ(b.Stelle.rfind(std::to_string(Letzter) + ":", 0), 0u) << BlickText(b);
        Bildschirmfoto(QStringLiteral("33_logbuch_nach_hoher_zelle"));
        // A note typed, which is not saved.
        Tippen(QStringLiteral("x"));
        ASSERT_TRUE(Warten(Logbuchgeaendert));
        UngespeichertBeenden(Abschnitt, Haupt);
    });
    EXPECT_FALSE(Zq->Visible());
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

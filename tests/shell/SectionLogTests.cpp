// The log book as a pupil uses it in a section form: taking a copy, ticking
// and taking over lines, typing, the date, closing, discarding, saving and
// loading, and the question when the program ends.
#include "ShellTestHelfer.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/Icon.h"
#include "platform/Keys.h"
#include "richtext/model/RPItemNonText.h"
#include "shell/UAbschnitte.h"
#include "support/FormDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <utility>

namespace {

// Answers every dialog: files with FileName, messages with Antwort.
class Dialoge : public TDialogResponder {
public:
    Dialoge() { SetDialogResponder(this); }
    ~Dialoge() override { SetDialogResponder(nullptr); }
    TDialogAnswer Answer(const TDialogRequest& r) override {
        TDialogAnswer a;
        if (r.kind == TDialogRequest::Message) {
            Meldungen << r.text;
            a.result = Antwort;
        } else {
            Filter << r.filter;
            a.result = Datei.isEmpty() ? mrCancel : mrOk;
            a.fileName = Datei;
        }
        return a;
    }
    QString Datei;
    int Antwort = mrOk;
    QStringList Meldungen, Filter;
};

const QString Titel = QStringLiteral("Logbuch: Pravolin - Grundschule");
const QString Unvollstaendig =
    QStringLiteral("Das Logbuch war unvollständig. Geladen wurde, was gelesen werden konnte:\r");

// Answers the next standard dialog of that class (QFileDialog, QMessageBox)
// once it is in front, as the pupil does, with Schritt.
void BeiDialog(const char* Art, std::function<void(QWidget*)> Schritt) {
    auto* Uhr = new QTimer;
    Uhr->setInterval(5);
    QObject::connect(Uhr, &QTimer::timeout, [Uhr, Art, Schritt = std::move(Schritt)] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible() || !w->inherits(Art)) return;
        // The window manager's part: the dialog in front gets the keyboard.
        if (!w->isAncestorOf(KeyboardTarget())) {
            w->activateWindow();
            return;
        }
        Uhr->stop();
        Uhr->deleteLater();
        Schritt(w);
    });
    Uhr->start();
}

QByteArray Lesen(const QString& Pfad) {
    QFile f(Pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Types a file name into the file dialog in front and presses Enter.
void DateiNennen(const QString& Name) {
    BeiDialog("QFileDialog", [Name](QWidget*) {
        TypeAtFocus(Name);
        // Without the list of names the name box may offer below it.
        if (QWidget* Liste = QApplication::activePopupWidget()) Liste->close();
        PressKeyAtFocus(VK_RETURN);
    });
}

// The real dialogs of the program, for the test's lifetime.
class EchteDialoge {
public:
    EchteDialoge() : m_vorher(CurrentDialogResponder()) { SetDialogResponder(StandardDialogs()); }
    ~EchteDialoge() { SetDialogResponder(m_vorher); }

private:
    TDialogResponder* m_vorher;
};

class SectionLog : public ::testing::Test {
protected:
    void SetUp() override {
        ShellFormenEinrichten();
        KxNav->LogbuchBeginnen(Titel);
    }
    void TearDown() override { KxNav->LogGeaendert = false; }

    // Opens section 1.1 and runs Aktion in it; the form closes afterwards.
    void ImAbschnitt(const std::function<void(TKxNav*)>& Aktion) {
        bool Gelaufen = false;
        ModalBeobachter b([&](TForm* f) {
            if (auto* n = dynamic_cast<TKxNav*>(f); n && !Gelaufen) {
                Gelaufen = true;
                Aktion(n);
            }
            f->Close();
        });
        ZqEintragOeffnen(1);
        EXPECT_TRUE(Gelaufen);
    }
    static void Tippen(TRichPadEdit* Log, const QString& Text) {
        for (QChar c : Text)
            Log->SendChar(c.unicode());
    }
    // The first Laenge bytes of Rtf saved as Kurz and loaded through the log
    // book's button, with the log marked saved before: the one message that
    // came (empty when none or more came).
    static QString GekuerztLaden(TKxNav* F, Dialoge& d, const QByteArray& Rtf, qsizetype Laenge,
                                 const QString& Kurz) {
        QFile f(Kurz);
        if (!f.open(QIODevice::WriteOnly) || f.write(Rtf.left(Laenge)) != Laenge) return QString();
        f.close();
        KxNav->LogGeaendert = false;
        d.Meldungen.clear();
        d.Datei = Kurz;
        F->LogbuchLaden->Click();
        return d.Meldungen.size() == 1 ? d.Meldungen[0] : QString();
    }
    // A log as a pupil writes and saves it: the lines taken over and one line
    // typed after them, saved through the panel to Datei. Its lines.
    QStringList LogSpeichern(Dialoge& d, const QString& Datei, const QString& Zeile) {
        QStringList Zeilen;
        ImAbschnitt([&](TKxNav* F) {
            F->LogButton->Click();
            F->LogUebernehmen->Click();
            F->Logtext->EditData()->MoveCaretEnd(true);
            F->Logtext->SendKey(VK_RETURN);
            Tippen(F->Logtext, Zeile);
            Zeilen = LogZeilen(F->Logtext);
            d.Datei = Datei;
            F->LogbuchSpeichern->Click();
            EXPECT_FALSE(KxNav->LogGeaendert);
        });
        return Zeilen;
    }
};

TEST_F(SectionLog, APupilsEntriesReachTheMasterLogAndStayThere) {
    EXPECT_EQ(LogZeilen(KxNav->Logtext), QStringList({Titel, QString(80, u'*')}));
    QString Abschnitt;
    ImAbschnitt([&](TKxNav* F) {
        F->Heute = [] { return QDate(2007, 3, 5); };
        F->LogButton->Click();
        EXPECT_TRUE(F->LogPanel->Visible());
        EXPECT_FALSE(F->Panel1->Visible());
        Abschnitt = F->cbAbschnitt->Caption();
        EXPECT_TRUE(Abschnitt.contains(QStringLiteral("1.1."))) << Abschnitt.toStdString();
        EXPECT_EQ(F->cbUebung1->Caption(), F->SpeedButton2->Caption());
        EXPECT_TRUE(F->cbAbschnitt->Checked() && F->cbUebung1->Checked() && F->cbLinie->Checked());
        EXPECT_EQ(F->cbUebung2->Visible(), !F->SpeedButton3->Caption().isEmpty());
        F->LogUebernehmen->Click();
        EXPECT_TRUE(KxNav->LogGeaendert);
        // A note of the pupil's own at the end, typed as on the keyboard.
        F->Logtext->EditData()->MoveCaretEnd(true);
        F->Logtext->SendKey(VK_RETURN);
        Tippen(F->Logtext, QStringLiteral("Notiz: alles gelöst"));
        F->BitBtn2->Click();
    });
    QStringList Erwartet = {Titel, QString(80, u'*'), Abschnitt,
                            QStringLiteral("Abschnitt 1.1, Übung 1")};
    const QStringList Zeilen = LogZeilen(KxNav->Logtext);
    ASSERT_GE(Zeilen.size(), 7);
    EXPECT_EQ(Zeilen.mid(0, 4), Erwartet);
    EXPECT_EQ(Zeilen.at(Zeilen.size() - 3), QString(57, u'_'));
    EXPECT_EQ(Zeilen.at(Zeilen.size() - 2), QStringLiteral("Notiz: alles gelöst"));
    EXPECT_EQ(Zeilen.back(), QStringLiteral("Bearbeitet am 05.03.2007"));
    EXPECT_TRUE(KxNav->LogGeaendert);

    // A showing without the log button hands nothing back.
    ImAbschnitt([](TKxNav* F) { EXPECT_FALSE(F->LogKopieGenommen()); });
    EXPECT_EQ(LogZeilen(KxNav->Logtext), Zeilen);
    // The next copy starts from the master.
    ImAbschnitt([&](TKxNav* F) {
        F->LogButton->Click();
        EXPECT_EQ(LogZeilen(F->Logtext), Zeilen);
    });
    EXPECT_EQ(LogZeilen(KxNav->Logtext), Zeilen);
}

TEST_F(SectionLog, DiscardingHidesThePanelAndTheLinesStillReachTheMaster) {
    QStringList Kopie;
    ImAbschnitt([&](TKxNav* F) {
        F->LogButton->Click();
        F->cbLinie->SetChecked(false);
        F->LogUebernehmen->Click();
        Kopie = LogZeilen(F->Logtext);
        F->LogVerwerfen->Click();
        EXPECT_FALSE(F->LogPanel->Visible());
        EXPECT_TRUE(F->Panel1->Visible());
        // Nothing goes back before the form closes.
        EXPECT_EQ(LogZeilen(KxNav->Logtext), QStringList({Titel, QString(80, u'*')}));
    });
    ASSERT_EQ(Kopie.size(), 5);
    EXPECT_EQ(Kopie.mid(3), QStringList({"Abschnitt 1.1, Übung 1", "Abschnitt 1.1, Übung 2"}));
    EXPECT_EQ(LogZeilen(KxNav->Logtext), Kopie);
    EXPECT_TRUE(KxNav->LogGeaendert);
    // The log book opened again shows them.
    ImAbschnitt([&](TKxNav* F) {
        F->LogButton->Click();
        EXPECT_EQ(LogZeilen(F->Logtext), Kopie);
    });
    KxNav->LogbuchBeginnen(Titel);
    // "Logbuch schließen" hands the copy back at once.
    ImAbschnitt([](TKxNav* F) {
        F->LogButton->Click();
        F->BitBtn4->Click();
        F->BitBtn1->Click();
        EXPECT_EQ(LogZeilen(KxNav->Logtext).back(), QString(57, u'_'));
        EXPECT_FALSE(F->LogPanel->Visible());
    });
    EXPECT_EQ(LogZeilen(KxNav->Logtext), QStringList({Titel, QString(80, u'*'), QString(57, u'_')}));
}

// A picture of a kind that no reader knows by its class name.
class Fremdbild : public TIcon {
public:
    QString ClassName() const override { return QStringLiteral("TFremdbild"); }
    std::unique_ptr<TGraphic> Clone() const override {
        auto c = std::make_unique<Fremdbild>();
        c->SetImage(Image());
        return c;
    }
};

QImage Punkt() {
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(qRgba(200, 30, 30, 255));
    return img;
}

// The classes of the log's pictures, "#" for text items.
QStringList Bilder(const TRichPadEdit* Log) {
    QStringList b;
    for (int i = 0; i < Log->ItemCount(); ++i)
        if (const auto* g = dynamic_cast<const TRPGraphicItemInfo*>(Log->GetItem(i)); g && g->Image)
            b << g->Image->ClassName();
    return b;
}

TEST_F(SectionLog, AnIconDroppedIntoTheLogGoesBackWithTheEntries) {
    QTemporaryDir Ordner;
    ASSERT_TRUE(Ordner.isValid());
    const QString Ico = Ordner.filePath(QStringLiteral("stern.ico"));
    {
        TIcon i;
        i.SetImage(Punkt());
        QFile f(Ico);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(i.SaveToStream());
    }
    QStringList Zeilen;
    ImAbschnitt([&](TKxNav* F) {
        F->LogButton->Click();
        F->LogUebernehmen->Click();
        F->Logtext->EditData()->MoveCaretEnd(true);
        // The file comes from a file manager, dropped at the top left of the log.
        QMimeData Daten;
        Daten.setUrls({QUrl::fromLocalFile(Ico)});
        QDropEvent Drop(QPointF(6, 6), Qt::CopyAction, &Daten, Qt::LeftButton, Qt::NoModifier);
        static_cast<TControl*>(F->Logtext)->HandleEvent(&Drop);
        EXPECT_TRUE(Drop.isAccepted());
        Zeilen = LogZeilen(F->Logtext);
    });
    EXPECT_EQ(Bilder(KxNav->Logtext), QStringList({QStringLiteral("TIcon")}));
    EXPECT_EQ(LogZeilen(KxNav->Logtext), Zeilen);
    EXPECT_TRUE(Zeilen.join(u'\n').contains(QStringLiteral("Abschnitt 1.1, Übung 1")));
    // Reopened, the log shows both again.
    ImAbschnitt([&](TKxNav* F) {
        F->LogButton->Click();
        EXPECT_EQ(LogZeilen(F->Logtext), Zeilen);
        EXPECT_EQ(Bilder(F->Logtext), QStringList({QStringLiteral("TIcon")}));
    });
}

TEST_F(SectionLog, ACopyTheMasterCannotTakeIsNeverLostWithoutAWord) {
    QTemporaryDir Ordner;
    ASSERT_TRUE(Ordner.isValid());
    Dialoge d;
    d.Antwort = mrNo;
    const QStringList Vorher = LogZeilen(KxNav->Logtext);
    auto Eintragen = [](TKxNav* F) {
        F->LogButton->Click();
        F->LogUebernehmen->Click();
        auto Bild = std::make_unique<Fremdbild>();
        Bild->SetImage(Punkt());
        F->Logtext->EditData()->MoveCaretEnd(true);
        EXPECT_TRUE(F->Logtext->InsertPicture("", std::move(Bild), 0));
    };
    const QString Frage =
        QStringLiteral("Die Logbucheintragungen dieses Abschnitts konnten nicht in das Logbuch "
                       "übernommen werden.\rSollen sie in einer eigenen Datei gespeichert werden ?");
    ImAbschnitt(Eintragen);
    EXPECT_EQ(d.Meldungen, QStringList({Frage}));
    EXPECT_EQ(LogZeilen(KxNav->Logtext), Vorher);

    // Kept as a file: the section's entries are in it.
    d.Meldungen.clear();
    d.Antwort = mrYes;
    d.Datei = Ordner.filePath(QStringLiteral("abschnitt.rtf"));
    ImAbschnitt(Eintragen);
    EXPECT_EQ(d.Meldungen, QStringList({Frage}));
    EXPECT_EQ(LogZeilen(KxNav->Logtext), Vorher);
    QFile f(d.Datei);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("Abschnitt 1.1, \\'dcbung 1"));
}

TEST_F(SectionLog, TypingAloneMarksTheLogUnsaved) {
    ImAbschnitt([](TKxNav* F) {
        F->LogButton->Click();
        EXPECT_FALSE(KxNav->LogGeaendert);
        F->Logtext->EditData()->MoveCaretEnd(true);
        F->Logtext->SendChar(u'x');
        EXPECT_TRUE(KxNav->LogGeaendert);
    });
    EXPECT_EQ(LogZeilen(KxNav->Logtext).back(), QString(80, u'*') + QStringLiteral("x"));
}

TEST_F(SectionLog, TabGoesRoundWhatThePupilSeesAndTypingGoesOnInTheLog) {
    ImAbschnitt([](TKxNav* F) {
        F->LogButton->Click();
        ProcessEvents();
        F->Logtext->EditData()->MoveCaretEnd(true);
        F->Logtext->SetFocus();
        ASSERT_EQ(KeyboardTarget(), F->Logtext->Widget());
        QStringList Runde;
        for (int i = 0; i < 20; ++i) {
            PressKeyAtFocus(VK_TAB);
            QWidget* w = KeyboardTarget();
            ASSERT_NE(w, nullptr);
            auto* Link = dynamic_cast<TWidgetLink*>(w);
            const QString Name = Link && Link->Control ? Link->Control->Name() : QString();
            Runde << Name;
            // What has the focus lies in view: nothing covers its middle.
            QWidget* Fenster = w->window();
            QWidget* Oben = Fenster->childAt(Fenster->mapFromGlobal(w->mapToGlobal(w->rect().center())));
            EXPECT_TRUE(Oben == w || w->isAncestorOf(Oben)) << Name.toStdString();
            if (w == F->Logtext->Widget()) break;
        }
        EXPECT_EQ(Runde.back(), "Logtext") << Runde.join(' ').toStdString();
        EXPECT_FALSE(Runde.contains("Webbrowserx"));
        TypeAtFocus(QStringLiteral("ok"));
    });
    EXPECT_EQ(LogZeilen(KxNav->Logtext).back(), QString(80, u'*') + QStringLiteral("ok"));
}

TEST_F(SectionLog, AFailedSaveSaysSoAndKeepsTheLogUnsaved) {
    QTemporaryDir Ordner;
    ASSERT_TRUE(Ordner.isValid());
    // A folder that is not there cannot be written to, whoever runs the test.
    Dialoge d;
    d.Datei = Ordner.filePath(QStringLiteral("fehlt/log.rtf"));
    ImAbschnitt([&](TKxNav* F) {
        F->LogButton->Click();
        F->BitBtn3->Click();
        F->LogbuchSpeichern->Click();
    });
    EXPECT_EQ(d.Filter, QStringList({QStringLiteral("RichText Format Files (*.rtf)|*.rtf")}));
    ASSERT_EQ(d.Meldungen.size(), 1);
    EXPECT_TRUE(d.Meldungen[0].startsWith(QStringLiteral("Das Logbuch konnte nicht gespeichert werden")));
    EXPECT_TRUE(KxNav->LogGeaendert);
}

TEST_F(SectionLog, LoadingReplacesTheLogOnlyWithAReadableFile) {
    QTemporaryDir Ordner;
    const QString Gut = Ordner.filePath(QStringLiteral("gut.rtf"));
    const QString Kaputt = Ordner.filePath(QStringLiteral("kaputt.rtf"));
    {
        QFile f(Gut);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}\\f0 Erste Zeile\\par Zweite Zeile}");
        QFile k(Kaputt);
        ASSERT_TRUE(k.open(QIODevice::WriteOnly));
        k.write("kein RTF, nur Text");
    }
    Dialoge d;
    KxNav->LogGeaendert = true;
    ImAbschnitt([&](TKxNav* F) {
        F->LogButton->Click();
        d.Datei = Kaputt;
        F->LogbuchLaden->Click();
        // The warning first, then the message about the file; the log stays.
        ASSERT_EQ(d.Meldungen.size(), 2);
        EXPECT_EQ(d.Meldungen[0], QStringLiteral("Das aktuelle Logbuch wurde noch nicht gespeichert.\rWenn jetzt ein "
                                                 "Logbuch geladen wird, gehen die \raktuellen Logbucheintragungen "
                                                 "verloren."));
        EXPECT_TRUE(d.Meldungen[1].startsWith(QStringLiteral("Das Logbuch konnte nicht geladen werden")));
        EXPECT_EQ(LogZeilen(F->Logtext), QStringList({Titel, QString(80, u'*')}));
        EXPECT_TRUE(KxNav->LogGeaendert);
        // A cancelled dialog changes nothing either.
        d.Datei.clear();
        F->LogbuchLaden->Click();
        EXPECT_TRUE(KxNav->LogGeaendert);
        d.Datei = Gut;
        F->LogbuchLaden->Click();
        EXPECT_EQ(LogZeilen(F->Logtext), QStringList({QStringLiteral("Erste Zeile"), QStringLiteral("Zweite Zeile")}));
        EXPECT_FALSE(KxNav->LogGeaendert);
    });
    EXPECT_EQ(LogZeilen(KxNav->Logtext), QStringList({QStringLiteral("Erste Zeile"), QStringLiteral("Zweite Zeile")}));
}

TEST_F(SectionLog, ALogThePupilEmptiedAndSavedLoadsBackEmpty) {
    QTemporaryDir Ordner;
    ASSERT_TRUE(Ordner.isValid());
    const QString Datei = Ordner.filePath(QStringLiteral("leer.rtf"));
    Dialoge d;
    ImAbschnitt([&](TKxNav* F) {
        F->LogButton->Click();
        ProcessEvents();
        F->Logtext->SetFocus();
        ASSERT_EQ(KeyboardTarget(), F->Logtext->Widget());
        // Everything selected from the start to the end, then deleted.
        PressKeyAtFocus(VK_HOME, Qt::ControlModifier);
        PressKeyAtFocus(VK_END, Qt::ControlModifier | Qt::ShiftModifier);
        PressKeyAtFocus(VK_DELETE);
        EXPECT_EQ(LogZeilen(F->Logtext).join(QString()), QString());
        d.Datei = Datei;
        F->LogbuchSpeichern->Click();
        ASSERT_TRUE(QFile::exists(Datei));
        EXPECT_FALSE(KxNav->LogGeaendert);

        // New lines, then the empty log loaded over them.
        F->LogUebernehmen->Click();
        EXPECT_TRUE(KxNav->LogGeaendert);
        F->LogbuchLaden->Click();
        ASSERT_EQ(d.Meldungen.size(), 1);
        EXPECT_TRUE(
            d.Meldungen[0].startsWith(QStringLiteral("Das aktuelle Logbuch wurde noch nicht gespeichert")));
        EXPECT_EQ(LogZeilen(F->Logtext).join(QString()), QString());
        EXPECT_FALSE(KxNav->LogGeaendert);
        // The loaded log takes typing like any other.
        F->Logtext->SetFocus();
        TypeAtFocus(QStringLiteral("neu"));
        EXPECT_EQ(LogZeilen(F->Logtext), QStringList({QStringLiteral("neu")}));
    });
    EXPECT_EQ(LogZeilen(KxNav->Logtext), QStringList({QStringLiteral("neu")}));

    // A file that breaks off is still refused with a word, and the log stays.
    const QString Kaputt = Ordner.filePath(QStringLiteral("kaputt.rtf"));
    {
        QFile f(Kaputt);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{\\rtf1 {\\fonttbl");
    }
    d.Meldungen.clear();
    KxNav->LogGeaendert = false;
    ImAbschnitt([&](TKxNav* F) {
        F->LogButton->Click();
        d.Datei = Kaputt;
        F->LogbuchLaden->Click();
        ASSERT_EQ(d.Meldungen.size(), 1);
        EXPECT_TRUE(d.Meldungen[0].startsWith(QStringLiteral("Das Logbuch konnte nicht geladen werden")));
        EXPECT_EQ(LogZeilen(F->Logtext), QStringList({QStringLiteral("neu")}));
    });
}

// A save cut short before the log's last brace: the load keeps what the file
// holds, tells the pupil, and leaves the log unsaved until a save through the
// panel writes it whole again.
TEST_F(SectionLog, ALogCutShortBeforeItsLastBraceLoadsWhatItHolds) {
    QTemporaryDir Ordner;
    ASSERT_TRUE(Ordner.isValid());
    const QString Ganz = Ordner.filePath(QStringLiteral("ganz.rtf"));
    const QString Kurz = Ordner.filePath(QStringLiteral("kurz.rtf"));
    const QString Wieder = Ordner.filePath(QStringLiteral("wieder.rtf"));
    Dialoge d;
    const QStringList Zeilen = LogSpeichern(d, Ganz, QStringLiteral("Größen geübt"));
    const QByteArray rtf = Lesen(Ganz);
    ASSERT_TRUE(rtf.trimmed().endsWith('}'));
    {
        QFile f(Kurz);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(rtf.left(rtf.lastIndexOf('}')));
    }

    KxNav->LogbuchBeginnen(Titel);
    ImAbschnitt([&](TKxNav* F) {
        F->LogButton->Click();
        d.Datei = Kurz;
        F->LogbuchLaden->Click();
        ASSERT_EQ(d.Meldungen.size(), 1);
        EXPECT_EQ(d.Meldungen[0], Unvollstaendig + Kurz);
        EXPECT_EQ(LogZeilen(F->Logtext), Zeilen);
        EXPECT_TRUE(KxNav->LogGeaendert);

        d.Datei = Wieder;
        F->LogbuchSpeichern->Click();
        EXPECT_FALSE(KxNav->LogGeaendert);
        EXPECT_TRUE(Lesen(Wieder).trimmed().endsWith('}'));
        // The file saved again is whole: it loads without a word.
        F->LogbuchLaden->Click();
        EXPECT_EQ(d.Meldungen.size(), 1);
        EXPECT_EQ(LogZeilen(F->Logtext), Zeilen);
        EXPECT_FALSE(KxNav->LogGeaendert);
    });
    EXPECT_EQ(LogZeilen(KxNav->Logtext), Zeilen);
}

// The places right after a backslash that opens a control word or symbol:
// where a save cut short there ends.
std::vector<qsizetype> NachBackslash(const QByteArray& rtf) {
    std::vector<qsizetype> p;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (rtf[i] != '\\') continue;
        p.push_back(i + 1);
        if (i + 1 < rtf.size() && !std::isalpha(static_cast<unsigned char>(rtf[i + 1]))) ++i;
    }
    return p;
}

// A log cut right after any backslash loads through the log book's button:
// what stands before the cut comes back, with the warning, and the log stays
// unsaved; a cut before the first entry leaves nothing to load and is refused.
TEST_F(SectionLog, ALogCutRightAfterABackslashLoadsWhatItHolds) {
    QTemporaryDir Ordner;
    ASSERT_TRUE(Ordner.isValid());
    const QString Ganz = Ordner.filePath(QStringLiteral("ganz.rtf"));
    const QString Kurz = Ordner.filePath(QStringLiteral("kurz.rtf"));
    Dialoge d;
    // Braces and backslashes are written escaped.
    const QStringList Zeilen = LogSpeichern(d, Ganz, QStringLiteral("Brüche {1/2} und \\ geübt"));
    // A log written by hand, with bold and italic words and a hex escape.
    const QByteArray VonHand =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard\\f0\\fs20 Logbuch\\par "
        "{\\b Abschnitt} 1.1, \\i \\'dcbung\\i0  1\\par Klammern \\{ \\} und \\\\\\par}";
    const QStringList VonHandZeilen = {QStringLiteral("Logbuch"), QStringLiteral("Abschnitt 1.1, Übung 1"),
                                       QStringLiteral("Klammern { } und \\")};
    // Where the hand-written log is cut, and all it holds then.
    const std::map<QByteArray, QStringList> Erwartet = {
        {" 1\\", {VonHandZeilen[0], VonHandZeilen[1]}},
        {"Klammern \\", {VonHandZeilen[0], VonHandZeilen[1], QStringLiteral("Klammern ")}},
        {"und \\", {VonHandZeilen[0], VonHandZeilen[1], QStringLiteral("Klammern { } und ")}},
        {"und \\\\\\", VonHandZeilen},
    };
    size_t Gesehen = 0;

    for (const auto& [Rtf, Ganze] : {std::pair{Lesen(Ganz), Zeilen}, std::pair{VonHand, VonHandZeilen}}) {
        ASSERT_FALSE(Rtf.isEmpty());
        const qsizetype ErsterText = Rtf.indexOf(Ganze[0].left(7).toLatin1());
        ASSERT_GT(ErsterText, 0);
        const std::vector<qsizetype> Schnitte = NachBackslash(Rtf);
        ASSERT_GT(Schnitte.size(), 10u);
        ImAbschnitt([&](TKxNav* F) {
            F->LogButton->Click();
            for (qsizetype Schnitt : Schnitte) {
                SCOPED_TRACE(Rtf.left(Schnitt).right(40).toStdString());
                const QString Meldung = GekuerztLaden(F, d, Rtf, Schnitt, Kurz);
                if (Schnitt < ErsterText) {
                    EXPECT_EQ(Meldung, QStringLiteral("Das Logbuch konnte nicht geladen werden:\r") + Kurz);
                    EXPECT_FALSE(KxNav->LogGeaendert);
                    continue;
                }
                EXPECT_EQ(Meldung, Unvollstaendig + Kurz);
                EXPECT_TRUE(KxNav->LogGeaendert);
                // The entries up to the cut, the last one perhaps broken off.
                const QStringList Geladen = LogZeilen(F->Logtext);
                ASSERT_FALSE(Geladen.isEmpty());
                ASSERT_LE(Geladen.size(), Ganze.size());
                for (qsizetype i = 0; i + 1 < Geladen.size(); ++i)
                    EXPECT_EQ(Geladen[i], Ganze[i]);
                EXPECT_TRUE(Ganze[Geladen.size() - 1].startsWith(Geladen.back()))
                    << Geladen.back().toStdString();
                for (const auto& [Vor, Soll] : Erwartet)
                    if (Rtf == VonHand && Rtf.left(Schnitt).endsWith(Vor)) {
                        EXPECT_EQ(Geladen, Soll);
                        ++Gesehen;
                    }
            }
        });
    }
    EXPECT_EQ(Gesehen, Erwartet.size());
}

// A log with a picture the pupil pasted, cut anywhere inside the picture's
// data (most of such a file's bytes): the load through the log book's button
// brings back the words before the picture, with the warning, and leaves the
// log unsaved; the picture cut short is left out.
TEST_F(SectionLog, ALogCutInsideAPastedPictureKeepsTheWordsBeforeIt) {
    QTemporaryDir Ordner;
    ASSERT_TRUE(Ordner.isValid());
    const QString Ganz = Ordner.filePath(QStringLiteral("bild.rtf"));
    const QString Kurz = Ordner.filePath(QStringLiteral("kurz.rtf"));
    Dialoge d;
    QStringList Zeilen;
    ImAbschnitt([&](TKxNav* F) {
        F->LogButton->Click();
        F->LogUebernehmen->Click();
        ProcessEvents();
        F->Logtext->SetFocus();
        ASSERT_EQ(KeyboardTarget(), F->Logtext->Widget());
        PressKeyAtFocus(VK_END, Qt::ControlModifier);
        PressKeyAtFocus(VK_RETURN);
        TypeAtFocus(QStringLiteral("Mein Bild: "));
        TBitmap Bild;
        Bild.SetSize(12, 8);
        Bild.Canvas()->Brush()->SetColor(clRed);
        Bild.Canvas()->FillRect(Rect(2, 2, 9, 6));
        Clipboard()->Assign(Bild);
        PressKeyAtFocus('V', Qt::ControlModifier);
        TypeAtFocus(QStringLiteral(" danach"));
        Zeilen = LogZeilen(F->Logtext);
        d.Datei = Ganz;
        F->LogbuchSpeichern->Click();
        EXPECT_FALSE(KxNav->LogGeaendert);
    });
    ASSERT_FALSE(Zeilen.isEmpty());
    ASSERT_EQ(Zeilen.back(), QStringLiteral("Mein Bild: # danach"));
    QStringList Davor = Zeilen;
    Davor.back() = QStringLiteral("Mein Bild: ");

    const QByteArray Rtf = Lesen(Ganz);
    const qsizetype Anfang = Rtf.indexOf("{\\pict");
    const qsizetype Ende = Rtf.indexOf('}', Anfang);
    ASSERT_GT(Anfang, 0);
    ASSERT_GT(Ende - Anfang, 100);
    KxNav->LogbuchBeginnen(Titel);
    ImAbschnitt([&](TKxNav* F) {
        F->LogButton->Click();
        for (qsizetype Schnitt = Anfang + 1; Schnitt < Ende; ++Schnitt) {
            SCOPED_TRACE(Schnitt - Anfang);
            EXPECT_EQ(GekuerztLaden(F, d, Rtf, Schnitt, Kurz), Unvollstaendig + Kurz);
            EXPECT_TRUE(KxNav->LogGeaendert);
            EXPECT_EQ(LogZeilen(F->Logtext), Davor);
        }
    });
}

TEST_F(SectionLog, SavingUnderANameWithoutExtensionAsksBeforeReplacingTheFile) {
    QTemporaryDir Ordner;
    ASSERT_TRUE(Ordner.isValid());
    const QString Name = Ordner.filePath(QStringLiteral("meinlog"));
    const QString Datei = Name + QStringLiteral(".rtf");
    EchteDialoge Echt;
    QStringList Fragen;
    ImAbschnitt([&](TKxNav* F) {
        F->LogButton->Click();
        F->LogUebernehmen->Click();
        DateiNennen(Name);
        F->LogbuchSpeichern->Click();
        ASSERT_TRUE(QFile::exists(Datei));
        EXPECT_FALSE(QFile::exists(Name));
        EXPECT_FALSE(KxNav->LogGeaendert);
        const QByteArray Erste = Lesen(Datei);

        // Saved again under the same name: the question comes; "No" keeps the
        // file and leaves the dialog open, where the pupil gives up.
        F->BitBtn3->Click();
        DateiNennen(Name);
        BeiDialog("QMessageBox", [&](QWidget* Box) {
            Fragen << static_cast<QMessageBox*>(Box)->text();
            BeiDialog("QFileDialog", [](QWidget*) { PressKeyAtFocus(VK_ESCAPE); });
            static_cast<QMessageBox*>(Box)->button(QMessageBox::No)->click();
        });
        F->LogbuchSpeichern->Click();
        EXPECT_EQ(Lesen(Datei), Erste);
        EXPECT_TRUE(KxNav->LogGeaendert);

        // "Yes" replaces it.
        DateiNennen(Name);
        BeiDialog("QMessageBox", [&](QWidget* Box) {
            Fragen << static_cast<QMessageBox*>(Box)->text();
            static_cast<QMessageBox*>(Box)->button(QMessageBox::Yes)->click();
        });
        F->LogbuchSpeichern->Click();
        EXPECT_NE(Lesen(Datei), Erste);
        EXPECT_FALSE(KxNav->LogGeaendert);
    });
    ASSERT_EQ(Fragen.size(), 2);
    for (const QString& Frage : Fragen)
        EXPECT_TRUE(Frage.contains(QStringLiteral("meinlog.rtf"))) << Frage.toStdString();
}

TEST_F(SectionLog, AFileToOpenIsTakenAsNamedAndATypedNameFindsItsExtension) {
    QTemporaryDir Ordner;
    ASSERT_TRUE(Ordner.isValid());
    const auto Schreiben = [&](const char* Datei, const char* Zeile) {
        QFile f(Ordner.filePath(QString::fromLatin1(Datei)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("{\\rtf1\\ansi ") + Zeile + "\\par}");
    };
    Schreiben("notiz", "Ohne Endung");
    Schreiben("notiz.rtf", "Mit Endung");
    Schreiben("meinlog.rtf", "Mein Logbuch");
    EchteDialoge Echt;
    ImAbschnitt([&](TKxNav* F) {
        F->LogButton->Click();
        // The file that exists as named is the one opened.
        DateiNennen(Ordner.filePath(QStringLiteral("notiz")));
        F->LogbuchLaden->Click();
        EXPECT_EQ(LogZeilen(F->Logtext), QStringList({QStringLiteral("Ohne Endung")}));
        // A name that does not exist as typed gets the extension.
        DateiNennen(Ordner.filePath(QStringLiteral("meinlog")));
        F->LogbuchLaden->Click();
        EXPECT_EQ(LogZeilen(F->Logtext), QStringList({QStringLiteral("Mein Logbuch")}));
    });
}

TEST_F(SectionLog, ASavedLogLoadsBackAndLibreOfficeReadsItsText) {
    QTemporaryDir Ordner;
    ASSERT_TRUE(Ordner.isValid());
    const QString Datei = Ordner.filePath(QStringLiteral("logbuch.rtf"));
    Dialoge d;
    QStringList Zeilen;
    ImAbschnitt([&](TKxNav* F) {
        F->Heute = [] { return QDate(2007, 3, 5); };
        F->LogButton->Click();
        F->LogUebernehmen->Click();
        F->Logtext->EditData()->MoveCaretEnd(true);
        F->Logtext->SendKey(VK_RETURN);
        // "Ω", "→" and the Cyrillic letters lie outside the log's 8-bit styles.
        const QString Notiz = QStringLiteral("Größen & Maße: 3 € übrig, Ω → Дом");
        Tippen(F->Logtext, Notiz);
        F->BitBtn2->Click();
        Zeilen = LogZeilen(F->Logtext);
        EXPECT_TRUE(Zeilen.join(u'\n').contains(Notiz)) << Zeilen.join(u'\n').toStdString();
        d.Datei = Datei;
        F->LogbuchSpeichern->Click();
        EXPECT_TRUE(d.Meldungen.isEmpty());
        EXPECT_FALSE(KxNav->LogGeaendert);
    });
    ASSERT_TRUE(QFile::exists(Datei));
    // Back into a log that starts afresh.
    KxNav->LogbuchBeginnen(Titel);
    ImAbschnitt([&](TKxNav* F) {
        F->LogButton->Click();
        F->LogbuchLaden->Click();
        EXPECT_EQ(LogZeilen(F->Logtext), Zeilen);
    });
    EXPECT_EQ(LogZeilen(KxNav->Logtext), Zeilen);

    // LibreOffice reads the same text out of the file.
    QProcess p;
    p.start(QStringLiteral("soffice"), {"-env:UserInstallation=file://" + Ordner.filePath(QStringLiteral("profil")),
                                        "--headless", "--convert-to", "txt:Text", "--outdir",
                                        Ordner.filePath(QStringLiteral("aus")), Datei});
    ASSERT_TRUE(p.waitForFinished(300000)) << "soffice did not finish";
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QFile Text(Ordner.filePath(QStringLiteral("aus/logbuch.txt")));
    ASSERT_TRUE(Text.open(QIODevice::ReadOnly));
    QString Gelesen = QString::fromUtf8(Text.readAll());
    Gelesen.remove(QChar(0xFEFF));
    Gelesen.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_EQ(Gelesen.trimmed().split(u'\n'), Zeilen);
}

} // namespace

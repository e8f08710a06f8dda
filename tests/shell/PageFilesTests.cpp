// The page files of the section forms and the instructions: every file the page
// tables name is there, imports cleanly with the page view's settings, carries
// text and a picture, names its section and its exercise buttons, and is spelt
// right (the real spell checker with the German dictionary).
#include "ShellTestHelfer.h"
#include "platform/Pictures.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/rtf/RPRTFKeywords.h"
#include "richtext/rtf/RTFImportDoc.h"
#include "shell/UAbschnitte.h"
#include "shell/UAbschnittstabellen.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

struct TSeite {
    QString Datei; // as the page table names it
    QString Titel; // the tree node of the page, or empty for the instructions
    QStringList Knoepfe;
};

// All pages of the twelve sections and of the instructions, in table order.
std::vector<TSeite> AlleSeiten() {
    std::vector<TSeite> Liste;
    QStringList Klassen = AbschnittFormklassen();
    Klassen << "TZqAnleitung";
    for (const QString& Klasse : Klassen) {
        const TAbschnittDef* A = AbschnittDefinition(Klasse);
        if (!A) continue;
        for (int s = 0; s < A->SeitenDefiniert; ++s) {
            TSeite S;
            S.Datei = QString::fromUtf8(A->Seiten[s].Datei);
            for (const char* k : {A->Seiten[s].Uebung1, A->Seiten[s].Uebung2})
                if (*k) S.Knoepfe << QString::fromUtf8(k);
            if (Klasse != "TZqAnleitung") {
                // "TZqK1_3", page 2 -> the tree node that starts with "1.3.2 ".
                const QString Nummer = QString("%1.%2.%3 ").arg(Klasse[4]).arg(Klasse[6]).arg(s + 1);
                for (const QString& t : ZqBaumTexte())
                    if (t.startsWith(Nummer)) S.Titel = t.simplified();
            }
            Liste.push_back(S);
        }
    }
    return Liste;
}

QString Pfad(const QString& Datei) {
    return QStringLiteral(PRAVOLIN_SOURCE_DIR "/data/dateien/") + QString(Datei).replace('\\', '/');
}

QByteArray Lesen(const QString& Pfad) {
    QFile f(Pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A page imported the way the page view imports it: styles added as needed, mixed Unicode.
std::unique_ptr<TImportDoc> Importieren(const QByteArray& rtf, uint8_t& Ergebnis) {
    auto doc = std::make_unique<TImportDoc>();
    doc->Props.TextStyleMode = rprsAddIfNeeded;
    doc->Props.ParaStyleMode = rprsAddIfNeeded;
    doc->Props.UnicodeMode = rpruMixed;
    Ergebnis = doc->Import(rtf.toStdString());
    return doc;
}

// Control words of the file that the reader does not know, and "\*" groups
// whose destination it does not know (their text would be lost unseen).
QStringList UnbekannteWoerter(const QByteArray& rtf) {
    static const QSet<QString> Kopf{"rtf", "ansi"}; // header words that carry no text
    QStringList Fremd;
    bool Stern = false;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (rtf[i] != '\\') continue;
        if (i + 1 < rtf.size() && rtf[i + 1] == '*') {
            Stern = true;
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j])))
            ++j;
        if (j == i + 1) { // a control symbol such as \' or \\ .
            ++i;
            continue;
        }
        const QString Wort = QString::fromLatin1(rtf.mid(i + 1, j - i - 1));
        if (!RPRTFKw::Find(Wort.toStdString()) && !Kopf.contains(Wort))
            Fremd << (Stern ? "\\*\\" : "\\") + Wort;
        Stern = false;
        i = j - 1;
    }
    return Fremd;
}

struct TGelesen {
    uint8_t Ergebnis = 255;
    QString Text;   // text items, paragraphs joined by line ends
    int Bilder = 0; // pictures decoded to a real image
    int Marken = 0; // list markers
};

TGelesen Lesen(const TSeite& S) {
    TGelesen g;
    const QByteArray rtf = Lesen(Pfad(S.Datei));
    auto doc = Importieren(rtf, g.Ergebnis);
    for (int i = 0; i < doc->GetItemCount(); ++i) {
        const int Stil = doc->GetItemStyle(i);
        if (i > 0 && !doc->GetItem(i)->GetContinuesPrev()) g.Text += '\n';
        if (Stil >= 0) g.Text += QString::fromStdString(doc->ItemUtf8(i));
        if (Stil == rpsnListMarker) ++g.Marken;
        if (Stil == rpsnPicture) {
            auto* p = dynamic_cast<TRPGraphicItemInfo*>(doc->GetItem(i));
            if (p && p->Image && p->Image->ClassName() == "TPngImage" && p->Image->Width() >= 200 &&
                p->Image->Height() >= 100)
                ++g.Bilder;
        }
    }
    return g;
}

} // namespace

TEST(PageFiles, EveryPageOfTheTablesIsThereWithItsExactName) {
    const auto Seiten = AlleSeiten();
    QSet<QString> Dateien;
    for (const TSeite& S : Seiten) {
        Dateien.insert(S.Datei);
        // Exact case: the page must load also where the path mapper finds no other spelling.
        EXPECT_TRUE(QFileInfo(Pfad(S.Datei)).isFile()) << S.Datei.toStdString();
    }
    EXPECT_EQ(Dateien.size(), 39);
    // Every section page belongs to an entry of the contents tree.
    int MitTitel = 0;
    for (const TSeite& S : Seiten)
        MitTitel += !S.Titel.isEmpty();
    EXPECT_EQ(MitTitel, 36);
}

TEST(PageFiles, PagesImportWithTextPictureHeadingAndTheirExerciseButtons) {
    int Marken = 0;
    for (const TSeite& S : AlleSeiten()) {
        SCOPED_TRACE(S.Datei.toStdString());
        const QByteArray rtf = Lesen(Pfad(S.Datei));
        ASSERT_FALSE(rtf.isEmpty());
        EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
        EXPECT_EQ(UnbekannteWoerter(rtf), QStringList());
        const TGelesen g = Lesen(S);
        EXPECT_EQ(g.Ergebnis, 0);
        EXPECT_GT(g.Text.size(), 600);
        EXPECT_GE(g.Bilder, 1);
        Marken += g.Marken;
        const QString Erste = g.Text.section('\n', 0, 0).simplified();
        if (!S.Titel.isEmpty()) {
            // The heading is the tree entry; the log book finds the section by it.
            EXPECT_EQ(Erste, S.Titel);
        } else {
            EXPECT_TRUE(Erste.startsWith("Bedienungsanleitung")) << Erste.toStdString();
        }
        for (const QString& Knopf : S.Knoepfe)
            EXPECT_TRUE(g.Text.contains(Knopf + ":")) << Knopf.toStdString();
        // Umlauts and sharp s arrive as themselves, nothing as a replacement sign.
        EXPECT_FALSE(g.Text.contains(QChar(0xFFFD)));
        EXPECT_FALSE(g.Text.contains(QRegularExpression("\\w\\?\\w")));
    }
    // Bullet and numbered lists arrive as list markers.
    EXPECT_GT(Marken, 100);
}

TEST(PageFiles, SpellCheckerFindsOnlyAllowedWords) {
    QString Alles;
    for (const TSeite& S : AlleSeiten())
        Alles += Lesen(S).Text + '\n';
    ASSERT_GT(Alles.size(), 30000);
    QProcess p;
    p.start("hunspell", {"-d", "de_DE", "-i", "UTF-8", "-l"});
    ASSERT_TRUE(p.waitForStarted(10000)) << "hunspell with the de_DE dictionary is needed (scripts/setup)";
    p.write(Alles.toUtf8());
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();

    QSet<QString> Erlaubt;
    const QByteArray Liste =
        Lesen(QStringLiteral(PRAVOLIN_SOURCE_DIR "/tests/shell/data/seiten_woerter.txt"));
    ASSERT_FALSE(Liste.isEmpty());
    for (const QString& z : QString::fromUtf8(Liste).split('\n'))
        if (!z.trimmed().isEmpty() && !z.startsWith('#')) Erlaubt.insert(z.trimmed());

    QStringList Fehler;
    QSet<QString> Gefunden;
    static const QRegularExpression Rand("^[^\\w]+|[^\\w]+$");
    for (QString w : QString::fromUtf8(p.readAllStandardOutput()).split('\n')) {
        w.remove(Rand);
        if (!w.contains(QRegularExpression("[A-Za-zÄÖÜäöüß]"))) continue;
        Gefunden.insert(w);
        if (!Erlaubt.contains(w) && !Fehler.contains(w)) Fehler << w;
    }
    EXPECT_TRUE(Fehler.isEmpty()) << "unknown words: " << Fehler.join(' ').toStdString();
    // The list stays short: words that no page uses any more go.
    QStringList Ueberfluessig;
    for (const QString& w : Erlaubt)
        if (!Gefunden.contains(w)) Ueberfluessig << w;
    EXPECT_TRUE(Ueberfluessig.isEmpty()) << "no longer used: " << Ueberfluessig.join(' ').toStdString();
}

// Walks every section form, and the instructions, from the first page to the last
// with "vor " as a pupil would: each page the form resolves is a page with content,
// and its exercise buttons carry the captions of the section's exercises.
TEST(PageFiles, WalkingTheSectionFormsShowsEveryPageWithItsButtons) {
    ShellFormenEinrichten();
    const std::map<QString, QStringList> Erwartet{
        {"TZqK1_1", {"Übung 1|Übung 2", "Übung 3|", "Übung 4|", "Übung 5|"}},
        {"TZqK1_2", {"Übung 1|", "Übung 2|", "Übung 3|"}},
        {"TZqK1_3",
         {"Übung 1|", "Übung 2|", "Übung 3|", "Übung 4|", "Übung 5|", "Übung 6|", "Übung 7|", "Übung 8|"}},
        {"TZqK1_4", {"Übung 1|", "Übung 2|"}},
        {"TZqK2_1", {"Übung 1|Übung 2", "Übung 3|", "Übung 4|"}},
        {"TZqK2_2", {"Übung 1|", "Übung 2|"}},
        {"TZqK2_3", {"Übung 1|", "Übung 2|"}},
        {"TZqK2_4", {"Übung 1|Übung 2", "Übung 3|"}},
        {"TZqK2_5", {"Übung 1|", "Übung 2|"}},
        {"TZqK2_6", {"Übung 1|"}},
        {"TZqK3_1", {"Übung 1|", "Übung 2|", "Übung 3|"}},
        {"TZqK3_2", {"Übung 1|", "Übung 2|", "Übung 3|", "Übung 4|"}},
        {"TZqAnleitung", {"|", "|", "|"}},
    };
    int Seiten = 0;
    for (const auto& [Klasse, Knoepfe] : Erwartet) {
        SCOPED_TRACE(Klasse.toStdString());
        QStringList Gesehen;
        ModalBeobachter b([&](TForm* f) {
            auto* n = dynamic_cast<TKxNav*>(f);
            if (!n) return f->Close();
            for (;;) {
                Gesehen << n->SpeedButton2->Caption() + "|" + n->SpeedButton3->Caption();
                const QByteArray rtf = Lesen(n->SeitenPfad());
                uint8_t Ergebnis = 255;
                auto doc = Importieren(rtf, Ergebnis);
                EXPECT_EQ(Ergebnis, 0) << n->SeitenDatei().toStdString();
                EXPECT_GT(doc->GetItemCount(), 20) << n->SeitenDatei().toStdString();
                ++Seiten;
                if (!n->SpeedButton5->Enabled()) break;
                n->SpeedButton5->Click();
            }
            f->Close();
        });
        KxNav->AktSeite = 1;
        if (Klasse == "TZqAnleitung")
            ZqAnleitung->ShowModal();
        else
            EXPECT_TRUE(AbschnittOeffnen(Klasse));
        EXPECT_EQ(Gesehen, Knoepfe);
    }
    EXPECT_EQ(Seiten, 39);
}

// The page files of the section forms and the instructions: every file the page
// tables name is there, imports cleanly with the page view's settings, carries
// text and a picture, names its section and its exercise buttons, and is spelt
// right (the real spell checker with the German dictionary).
#include "ShellTestHelfer.h"
#include "platform/Pictures.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/rtf/RPRTFKeywords.h"
#include "richtext/rtf/RTFImportDoc.h"
#include "richtext/view/RichPad.h"
#include "shell/UAbschnitte.h"
#include "shell/UAbschnittstabellen.h"
#include "support/FormDriver.h"
#include "support/Readers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
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
    QString Text;        // text items, paragraphs joined by line ends
    int Bilder = 0;      // pictures decoded to a real image
    int Marken = 0;      // list markers
    int Eingerueckt = 0; // list items whose text starts with a blank after the marker
    // Tables as "rows x columns, heading rows", e.g. "3x6 h1", in page order.
    QStringList Tabellen;
    QStringList ErsteZeilen; // the first row of each table, cells joined by "|"
    int Schattiert = 0;      // shaded cells outside heading rows
};

// A table's cells as text: cells separated by blanks, rows by line ends.
QString TabellenText(const TRPTableItemInfo& T, int Zeile) {
    QStringList Zellen;
    for (int c = 0; c < T.Rows->GetColCount(); ++c)
        if (const TRPTableCellData* cell = T.GetCell(Zeile, c))
            Zellen << QString::fromStdString(TImportDoc::Text(*cell, TImportTableText(), 1));
    return Zellen.join('|');
}

TGelesen Lesen(const TSeite& S) {
    TGelesen g;
    const QByteArray rtf = Lesen(Pfad(S.Datei));
    auto doc = Importieren(rtf, g.Ergebnis);
    for (int i = 0; i < doc->GetItemCount(); ++i) {
        const int Stil = doc->GetItemStyle(i);
        if (i > 0 && !doc->GetItem(i)->GetContinuesPrev()) g.Text += '\n';
        if (Stil >= 0) g.Text += QString::fromStdString(doc->ItemUtf8(i));
        if (Stil == rpsnListMarker) ++g.Marken;
        if (Stil >= 0 && i > 0 && doc->GetItemStyle(i - 1) == rpsnListMarker &&
            doc->ItemUtf8(i).starts_with(' '))
            ++g.Eingerueckt;
        if (const auto* T = dynamic_cast<const TRPTableItemInfo*>(doc->GetItem(i))) {
            g.Tabellen << QString("%1x%2 h%3")
                              .arg(T->Rows->RowCount())
                              .arg(T->Rows->GetColCount())
                              .arg(T->HeadingRowCount);
            g.ErsteZeilen << TabellenText(*T, 0);
            // The cells' words take part in the spelling check like all others.
            for (int r = 0; r < T->Rows->RowCount(); ++r) {
                g.Text += TabellenText(*T, r).replace('|', ' ') + '\n';
                for (int c = 0; c < T->Rows->GetColCount(); ++c)
                    if (r >= T->HeadingRowCount && T->GetCell(r, c) && T->GetCell(r, c)->Color != clNone)
                        ++g.Schattiert;
            }
        }
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
        // The item's text starts right at its indent, in line with its wrapped lines.
        EXPECT_EQ(g.Eingerueckt, 0);
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
        // German quotation marks: every „ closed by “, no straight quote left.
        EXPECT_EQ(g.Text.count(QChar(0x201E)), g.Text.count(QChar(0x201C)));
        EXPECT_FALSE(g.Text.contains('"'));
    }
    // Bullet and numbered lists arrive as list markers.
    EXPECT_GT(Marken, 100);
}

namespace {

// Pages with tabular content and their tables ("rows x columns, heading rows");
// every other page has no table.
const std::map<QString, QStringList>& SeitenMitTabellen() {
    static const std::map<QString, QStringList> Tabellen{
        {"Zqk1\\ZqK1_1B.rtf", {"3x6 h1"}}, {"Zqk1\\ZqK1_2B.rtf", {"2x2 h0", "2x2 h0", "2x2 h0"}},
        {"Zqk2\\ZqK2_1B.rtf", {"4x2 h1"}}, {"Zqk2\\ZqK2_2B.rtf", {"5x2 h1"}},
        {"Zqk2\\ZqK2_3A.rtf", {"4x2 h1"}}, {"Zqk2\\ZqK2_4B.rtf", {"4x2 h1"}},
        {"Zqk2\\ZqK2_5A.rtf", {"4x2 h1"}}, {"Zqk2\\ZqK2_6A.rtf", {"6x2 h1", "6x2 h0"}},
    };
    return Tabellen;
}

} // namespace

TEST(PageFiles, UnitTablesAndPriceListsImportAsTables) {
    const auto& Erwartet = SeitenMitTabellen();
    int Seiten = 0;
    for (const TSeite& S : AlleSeiten()) {
        SCOPED_TRACE(S.Datei.toStdString());
        const TGelesen g = Lesen(S);
        const auto it = Erwartet.find(S.Datei);
        EXPECT_EQ(g.Tabellen, it == Erwartet.end() ? QStringList() : it->second);
        // Only heading rows are shaded.
        EXPECT_EQ(g.Schattiert, 0);
        Seiten += it != Erwartet.end();
    }
    EXPECT_EQ(Seiten, 8);

    // Cells keep their text whole, in the source's order.
    auto Erste = [](const char* Datei) {
        for (const TSeite& S : AlleSeiten())
            if (S.Datei == Datei) return Lesen(S).ErsteZeilen;
        return QStringList();
    };
    EXPECT_EQ(Erste("Zqk1\\ZqK1_1B.rtf"), QStringList{"HT|ZT|T|H|Z|E"});
    EXPECT_EQ(Erste("Zqk1\\ZqK1_2B.rtf"),
              (QStringList{"genau:|2 186 + 4 213 = 6 399", "Überschlag:|300 € + 100 € = 400 €",
                           "Überschlag:|5 € + 2 € = 7 €"}));
    EXPECT_EQ(Erste("Zqk2\\ZqK2_6A.rtf"),
              (QStringList{"eine Einheit|gemischte Schreibweise",
                           "Längen:|1 km = 1 000 m, 1 m = 100 cm, 1 cm = 10 mm"}));
}

TEST(PageFiles, LibreOfficeReadsThePageTablesAsTables) {
    // The pages are plain RTF tables that other word processors read as such:
    // one run of LibreOffice writes them as HTML, whose tables and rows are counted.
    QTemporaryDir Ordner;
    ASSERT_TRUE(Ordner.isValid());
    QStringList Dateien;
    for (const auto& [Datei, Tabellen] : SeitenMitTabellen())
        Dateien << Pfad(Datei);
    const QStringList Args{"-env:UserInstallation=file://" + Ordner.filePath("profil"),
                           "--headless",
                           "--convert-to",
                           "html",
                           "--outdir",
                           Ordner.filePath("aus")};
    const QString Fehler = RunReader(QStringLiteral("soffice"), Args + Dateien, nullptr, nullptr, 180000);
    ASSERT_TRUE(Fehler.isEmpty()) << Fehler.toStdString();
    for (const auto& [Datei, Tabellen] : SeitenMitTabellen()) {
        SCOPED_TRACE(Datei.toStdString());
        const QString Html = QString::fromUtf8(
            Lesen(Ordner.filePath("aus/" + QFileInfo(Pfad(Datei)).completeBaseName() + ".html")));
        ASSERT_FALSE(Html.isEmpty());
        int Zeilen = 0;
        for (const QString& t : Tabellen)
            Zeilen += t.section('x', 0, 0).toInt();
        EXPECT_EQ(Html.count(QRegularExpression("<table\\b", QRegularExpression::CaseInsensitiveOption)),
                  Tabellen.size());
        EXPECT_EQ(Html.count(QRegularExpression("<tr\\b", QRegularExpression::CaseInsensitiveOption)),
                  Zeilen);
    }
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

namespace {

// Opens every section form, and the instructions, at its first page and steps
// with "vor " to the last, as a pupil would; Jede sees each page the form shows.
// The forms have the program's size: maximised on a 1280 x 800 screen.
void SeitenDurchgehen(const QString& Klasse, const std::function<void(TKxNav*)>& Jede) {
    ModalBeobachter b([&](TForm* f) {
        auto* n = dynamic_cast<TKxNav*>(f);
        if (!n) return f->Close();
        for (;;) {
            ProcessEvents();
            Jede(n);
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
}

QStringList AlleFormklassen() {
    return AbschnittFormklassen() << "TZqAnleitung";
}

} // namespace

// Each page the form resolves is laid out in the page view with content the
// whole width of the program's window can show, and its exercise buttons carry
// the captions of the section's exercises.
TEST(PageFiles, WalkingTheSectionFormsShowsEveryPageWithItsButtons) {
    ShellFormenEinrichten();
    ScreenScope Bildschirm(1280, 800);
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
    ASSERT_EQ(Erwartet.size(), static_cast<size_t>(AlleFormklassen().size()));
    QSet<QString> Dateien;
    for (const auto& [Klasse, Knoepfe] : Erwartet) {
        SCOPED_TRACE(Klasse.toStdString());
        QStringList Gesehen;
        SeitenDurchgehen(Klasse, [&](TKxNav* n) {
            const std::string Datei = n->SeitenDatei().toStdString();
            Gesehen << n->SpeedButton2->Caption() + "|" + n->SpeedButton3->Caption();
            Dateien.insert(n->SeitenDatei());
            EXPECT_FALSE(n->SeitenPfad().isEmpty()) << Datei;
            TCustomRichPad* v = n->Webbrowserx;
            // What the page view holds and has laid out, not just what the file imports to.
            EXPECT_GT(v->ItemCount(), 20) << Datei;
            EXPECT_GT(v->GetDocumentHeight(), 450) << Datei;
            int Bilder = 0;
            for (int i = 0; i < v->ItemCount(); ++i)
                Bilder += v->GetItemStyle(i) == rpsnPicture;
            EXPECT_GE(Bilder, 1) << Datei;
            // Nothing reaches past the right edge: no picture or line needs the
            // horizontal scroll bar in the maximised window.
            EXPECT_GT(v->ClientWidth(), 1200) << Datei;
            EXPECT_LE(v->DocWidth, v->ClientWidth()) << Datei;
        });
        EXPECT_EQ(Gesehen, Knoepfe);
    }
    EXPECT_EQ(Dateien.size(), 39);
}

// Writes every page as the section form shows it into output/seiten, one
// picture per screenful from the top of the page to its end, for people to look
// at; the test checks that each screenful shows something on the page.
TEST(PageFiles, GalleryOfEveryPageAsTheSectionFormShowsIt) {
    ShellFormenEinrichten();
    ScreenScope Bildschirm(1280, 800);
    const QString Ordner = QStringLiteral(PRAVOLIN_TEST_OUTPUT "/seiten");
    ASSERT_TRUE(QDir().mkpath(Ordner));
    int Bilder = 0;
    for (const QString& Klasse : AlleFormklassen()) {
        SeitenDurchgehen(Klasse, [&](TKxNav* n) {
            const QString Name = QFileInfo(QString(n->SeitenDatei()).replace('\\', '/')).completeBaseName();
            TCustomRichPad* v = n->Webbrowserx;
            const int Hoehe = v->ClientHeight();
            for (int Teil = 1, y = 0;; ++Teil, y += Hoehe - 40) {
                v->ScrollTo(y);
                ProcessEvents();
                const QImage Bild = n->Widget()->grab().toImage();
                EXPECT_EQ(Bild.size(), QSize(1280, 800)) << Name.toStdString();
                // Light compression: the pictures are for looking at, and the test stays quick.
                EXPECT_TRUE(Bild.save(QStringLiteral("%1/%2_%3.png").arg(Ordner, Name).arg(Teil), "PNG", 90));
                ++Bilder;
                // Some ink in the page area, not a blank or unpainted view.
                const QPoint Ecke = v->Widget()->mapTo(n->Widget(), QPoint(0, 0));
                const QImage Seite =
                    Bild.copy(QRect(Ecke, v->Widget()->size())).convertToFormat(QImage::Format_RGB32);
                int Farbig = 0;
                for (int py = 0; py < Seite.height(); py += 4)
                    for (int px = 0; px < Seite.width(); px += 4)
                        Farbig += Seite.pixel(px, py) != 0xFFFFFFFFu;
                EXPECT_GT(Farbig, 200) << Name.toStdString() << " " << Teil;
                if (y + Hoehe >= v->GetDocumentHeight() || Teil == 6) break;
            }
            v->ScrollTo(0);
        });
    }
    EXPECT_GE(Bilder, 39);
}

namespace {

// The dark pixels of a part of a picture, the thin strokes of small drawings
// included, cut to their bounding box.
QImage Tinte(const QImage& Bild, const QRect& Teil) {
    QRect Rahmen;
    for (int y = Teil.top(); y <= Teil.bottom(); ++y)
        for (int x = Teil.left(); x <= Teil.right(); ++x)
            if (qGray(Bild.pixel(x, y)) < 200) Rahmen |= QRect(x, y, 1, 1);
    QImage Maske(Rahmen.size(), QImage::Format_Mono);
    Maske.fill(0);
    for (int y = 0; y < Rahmen.height(); ++y)
        for (int x = 0; x < Rahmen.width(); ++x)
            Maske.setPixel(x, y, qGray(Bild.pixel(Rahmen.x() + x, Rahmen.y() + y)) < 200);
    return Maske;
}

int Abweichungen(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return a.width() * a.height() + b.width() * b.height();
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixelIndex(x, y) != b.pixelIndex(x, y);
    return n;
}

} // namespace

bool IstGolden(QRgb c) {
    return qRed(c) > qBlue(c) + 80 && qGreen(c) > qBlue(c) + 50;
}

// Silver as the exercises draw it: light, with a cool blue tint.
bool IstSilbern(QRgb c) {
    return qRed(c) > 150 && qBlue(c) > qRed(c) + 10 && qBlue(c) < qRed(c) + 50 && qGreen(c) >= qRed(c) &&
           qGreen(c) <= qBlue(c);
}

// The money page shows the euro coins in their two metals, as the exercises
// draw them: the 1 euro coin a silver centre in a golden ring, the 2 euro
// coin a golden centre in a silver ring.
TEST(PageFiles, MoneyPageShowsTheEuroCoinsInTheirTwoMetals) {
    ShellFormenEinrichten();
    ScreenScope Bildschirm(1280, 800);
    QImage Bild;
    SeitenDurchgehen(QStringLiteral("TZqK2_5"), [&](TKxNav* n) {
        if (n->SeitenDatei() != QStringLiteral("Zqk2\\ZqK2_5A.rtf")) return;
        TCustomRichPad* v = n->Webbrowserx;
        for (int i = 0; i < v->ItemCount() && Bild.isNull(); ++i)
            if (auto* p = dynamic_cast<TRPGraphicItemInfo*>(v->GetItem(i)); p && p->Image)
                Bild = p->Image->ToImage().convertToFormat(QImage::Format_RGB32);
    });
    ASSERT_EQ(Bild.size(), QSize(680, 175));
    // The coins' centres, radii 25 and 27; the ring lies between 0.78 of the
    // radius and the dark edge. Above the middle, the value's text is not in the way.
    struct TMuenze {
        int x, y, Ring;
        bool SilberInnen;
    };
    for (const TMuenze& m : {TMuenze{60, 110, 21, true}, TMuenze{130, 110, 23, false}}) {
        SCOPED_TRACE(m.x);
        for (const QPoint& p : {QPoint(m.x - m.Ring, m.y), QPoint(m.x + m.Ring, m.y), QPoint(m.x, m.y + m.Ring)}) {
            const QRgb Ring = Bild.pixel(p);
            EXPECT_TRUE(m.SilberInnen ? IstGolden(Ring) : IstSilbern(Ring)) << std::hex << Ring;
        }
        const QRgb Mitte = Bild.pixel(m.x, m.y - 14);
        EXPECT_TRUE(m.SilberInnen ? IstSilbern(Mitte) : IstGolden(Mitte)) << std::hex << Mitte;
    }
}

// The instructions' picture of an exercise window shows the keypad the
// exercise windows show: its delete key carries the same left arrow as the
// cursor key and, below it, the keypad's own delete picture.
TEST(PageFiles, InstructionsPictureShowsTheKeypadsDeleteKey) {
    uint8_t Ergebnis = 255;
    auto doc = Importieren(Lesen(Pfad("Anleitung\\ZqAL2.rtf")), Ergebnis);
    ASSERT_EQ(Ergebnis, 0);
    QImage Bild;
    for (int i = 0; i < doc->GetItemCount() && Bild.isNull(); ++i)
        if (auto* p = dynamic_cast<TRPGraphicItemInfo*>(doc->GetItem(i)); p && p->Image)
            Bild = p->Image->ToImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(Bild.width(), 600);
    ASSERT_EQ(Bild.height(), 300);
    // The keys' places in the picture: the left cursor key and the delete key,
    // inside their frames.
    const QRect Links(451, 45, 27, 25), Loeschen(519, 45, 59, 25);
    const QImage Pfeil = Tinte(Bild, Links);
    ASSERT_GT(Pfeil.width(), 8);
    EXPECT_LE(Abweichungen(Tinte(Bild, Loeschen.adjusted(0, 0, 0, -13)), Pfeil), 2);

    QImage Vorlage(QStringLiteral(":/glyph_loeschen.png"));
    ASSERT_FALSE(Vorlage.isNull());
    QImage Taste(Vorlage.size(), QImage::Format_RGB32);
    Taste.fill(QColor(235, 240, 245));
    {
        QPainter p(&Taste);
        p.drawImage(0, 0, Vorlage);
    }
    const QImage Glyphe = Tinte(Bild, Loeschen.adjusted(0, 13, 0, 0));
    const QImage Klein = Taste.scaled(Vorlage.size() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage Erwartet = Tinte(Klein, Klein.rect());
    EXPECT_EQ(Glyphe.width(), Erwartet.width());
    EXPECT_EQ(Glyphe.height(), Erwartet.height());
    EXPECT_LE(Abweichungen(Glyphe, Erwartet), Erwartet.width() * Erwartet.height() / 10);
}

#include "shell/USeitenSprung.h"

#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/edit/RichPadEdit.h"
#include "shell/UKxNav.h"
#include "term/USetup.h"
#include "term/UTerm.h"

#include <QStringList>

namespace {

const char* const Mathematik = "Orvandel - Mathematik";
const char* const Physik = "Orvandel - Physik";

// Folder and executable carry the program's name.
#define PROGRAMM(Familie, Name)                                                                              \
    { Familie, Name, Name ".exe" }
const TGeschwisterProgramm Geschwister[GeschwisterAnzahl] = {
    PROGRAMM(Mathematik, "Pravolin - Grundschule"),
    PROGRAMM(Mathematik, "Pravolin - Klasse 5"),
    PROGRAMM(Mathematik, "Pravolin - Klasse 6"),
    PROGRAMM(Mathematik, "Pravolin - Klasse 7"),
    PROGRAMM(Mathematik, "Pravolin - Klasse 8"),
    PROGRAMM(Mathematik, "Pravolin - Klasse 9"),
    PROGRAMM(Mathematik, "Pravolin - Klasse 10"),
    PROGRAMM(Mathematik, "Pravolin - Bruchrechnung"),
    PROGRAMM(Mathematik, "Pravolin - Prozentrechnung"),
    PROGRAMM(Mathematik, "Pravolin - Gleichungen"),
    PROGRAMM(Mathematik, "Pravolin - Funktionen"),
    PROGRAMM(Mathematik, "Pravolin - Trigonometrie"),
    PROGRAMM(Mathematik, "Pravolin - Raumgeometrie"),
    PROGRAMM(Mathematik, "Pravolin - Analysis"),
    PROGRAMM(Mathematik, "Pravolin - Lineare Algebra"),
    PROGRAMM(Mathematik, "Pravolin - Analytische Geometrie"),
    PROGRAMM(Mathematik, "Pravolin - Stochastik"),
    PROGRAMM(Mathematik, "Pravolin - Folgen und Reihen"),
    PROGRAMM(Mathematik, "Pravolin - Komplexe Zahlen"),
    PROGRAMM(Mathematik, "Pravolin - Numerik"),
    PROGRAMM(Mathematik, "Kurvenwerk"),
    PROGRAMM(Mathematik, "Raumschau"),
    PROGRAMM(Mathematik, "Taschenrechner"),
    PROGRAMM(Mathematik, "Termlotse"),
    PROGRAMM(Mathematik, "Zufallslotse"),
    PROGRAMM(Mathematik, "Bildkalk"),
    PROGRAMM(Mathematik, "Skizzbrett"),
    PROGRAMM(Mathematik, "Lichtstudio"),
    PROGRAMM(Mathematik, "Findeling"),
    PROGRAMM(Mathematik, "Stufenloeser"),
    PROGRAMM(Mathematik, "Naeherlotse"),
    PROGRAMM(Mathematik, "Gittermeister"),
    PROGRAMM(Physik, "Physolin - Mechanik"),
    PROGRAMM(Physik, "Physolin - Elektrizitaetslehre"),
    PROGRAMM(Physik, "Physolin - Optik"),
    PROGRAMM(Physik, "Physolin - Waermelehre"),
    PROGRAMM(Physik, "Physolin - Schwingungen und Wellen"),
    PROGRAMM(Physik, "Physolin - Akustik"),
    PROGRAMM(Physik, "Physolin - Magnetismus"),
    PROGRAMM(Physik, "Physolin - Atomphysik"),
    PROGRAMM(Physik, "Physolin - Kernphysik"),
    PROGRAMM(Physik, "Physolin - Quantenphysik"),
    PROGRAMM(Physik, "Physolin - Relativitaetstheorie"),
    PROGRAMM(Physik, "Physolin - Astronomie"),
    PROGRAMM(Physik, "Physolin - Messtechnik"),
    PROGRAMM(Physik, "Physolin - Experimente"),
};
#undef PROGRAMM

struct TErsetzung {
    const char* Von;
    const char* Nach;
};

// Long names of this program that pages use; they are shortened before the
// jump text is taken apart, since they may hold a comma.
const TErsetzung LangeNamen[] = {
    {"Pravolin - Mathematik in der Grundschule, Klasse 1 bis 4", "Pravolin - Grundschule"},
    {"Pravolin - Mathematik in der Grundschule", "Pravolin - Grundschule"},
    {"Pravolin - Mathematik für die Grundschule", "Pravolin - Grundschule"},
};

// Spellings of program names in jump texts, in the order they are tried; a
// later hit wins over an earlier one.
const TErsetzung Schreibweisen[] = {
    {"Grundschule", "Pravolin - Grundschule"},
    {"Mathematik 5", "Pravolin - Klasse 5"},
    {"Mathematik 6", "Pravolin - Klasse 6"},
    {"Mathematik 7", "Pravolin - Klasse 7"},
    {"Mathematik 8", "Pravolin - Klasse 8"},
    {"Mathematik 9", "Pravolin - Klasse 9"},
    {"Mathematik 10", "Pravolin - Klasse 10"},
    {"Brüche", "Pravolin - Bruchrechnung"},
    {"Prozente", "Pravolin - Prozentrechnung"},
    {"Geometrie im Raum", "Pravolin - Raumgeometrie"},
    {"Wahrscheinlichkeit", "Pravolin - Stochastik"},
    {"Stufenlöser", "Stufenloeser"},
    {"Näherlotse", "Naeherlotse"},
    {"Elektrizitätslehre", "Physolin - Elektrizitaetslehre"},
    {"Elektrik", "Physolin - Elektrizitaetslehre"},
    {"Wärmelehre", "Physolin - Waermelehre"},
    {"Schwingungen", "Physolin - Schwingungen und Wellen"},
    {"Relativitätstheorie", "Physolin - Relativitaetstheorie"},
};

// Folder words of the family members, upper-cased, in the order they are tried.
const TErsetzung Ordnerwoerter[] = {
    {"GRUNDSCHULE", "Pravolin - Grundschule"},
    {"KLASSE 10", "Pravolin - Klasse 10"},
    {"KLASSE 5", "Pravolin - Klasse 5"},
    {"KLASSE 6", "Pravolin - Klasse 6"},
    {"KLASSE 7", "Pravolin - Klasse 7"},
    {"KLASSE 8", "Pravolin - Klasse 8"},
    {"KLASSE 9", "Pravolin - Klasse 9"},
    {"BRUCHRECHNUNG", "Pravolin - Bruchrechnung"},
    {"PROZENTRECHNUNG", "Pravolin - Prozentrechnung"},
    {"GLEICHUNGEN", "Pravolin - Gleichungen"},
    {"FUNKTIONEN", "Pravolin - Funktionen"},
    {"TRIGONOMETRIE", "Pravolin - Trigonometrie"},
    {"RAUMGEOMETRIE", "Pravolin - Raumgeometrie"},
    {"ANALYTISCHE GEOMETRIE", "Pravolin - Analytische Geometrie"},
    {"ANALYSIS", "Pravolin - Analysis"},
    {"LINEARE ALGEBRA", "Pravolin - Lineare Algebra"},
    {"STOCHASTIK", "Pravolin - Stochastik"},
    {"MECHANIK", "Physolin - Mechanik"},
    {"ELEKTRIZITAETSLEHRE", "Physolin - Elektrizitaetslehre"},
    {"OPTIK", "Physolin - Optik"},
    {"WAERMELEHRE", "Physolin - Waermelehre"},
    {"ATOMPHYSIK", "Physolin - Atomphysik"},
};

QString Utf8(const char* s) {
    return QString::fromUtf8(s);
}

// "Kxx" and the place W (steps that turn "Abschnitt 1.3 Übung 2" into a link).
QString ParameterAus(QString W) {
    W.prepend(QStringLiteral("Kxx"));
    AlleErsetzen1(W, QStringLiteral("Abschnitt"), QStringLiteral("A"));
    AlleErsetzen1(W, QStringLiteral("Übung"), QStringLiteral("Ü"));
    W.remove(QLatin1Char(' '));
    W.remove(QLatin1Char('\t'));
    AlleErsetzen1(W, QStringLiteral(";"), QStringLiteral(","));
    const qsizetype Komma = W.indexOf(QLatin1Char(','));
    QString P = Komma < 0 ? W : W.left(Komma);
    // With an exercise the place goes as it stands ("KxxA1.3Ü2"): programs of
    // the family read it so. Otherwise a section alone means its first page,
    // and anything but chapter.section.page names no page.
    if (P.contains(QChar(0x00DC))) return P;
    if (P.count(QLatin1Char('.')) == 1) P += QStringLiteral(".1");
    if (P.count(QLatin1Char('.')) != 2) P = QStringLiteral("Kxx");
    return P;
}

} // namespace

const TGeschwisterProgramm* GeschwisterProgramm(int Zeile) {
    return Zeile >= 1 && Zeile <= GeschwisterAnzahl ? &Geschwister[Zeile - 1] : nullptr;
}

QString Installationswurzel(const QString& Anwendungsverzeichnis) {
    qsizetype Schnitt = Anwendungsverzeichnis.indexOf(Utf8(Physik));
    if (Schnitt < 0) Schnitt = Anwendungsverzeichnis.indexOf(Utf8(Mathematik));
    QString Wurzel = Schnitt < 0 ? Anwendungsverzeichnis : Anwendungsverzeichnis.left(Schnitt);
    // The family folder follows the root as a folder of its own.
    if (!Wurzel.isEmpty() && !Wurzel.endsWith(QLatin1Char('\\')) && !Wurzel.endsWith(QLatin1Char('/')))
        Wurzel += QLatin1Char('\\');
    return Wurzel;
}

QString SprungParameter(const QString& Ort) {
    QString W = Ort.trimmed() + QLatin1Char(' ');
    if (W[0].isDigit() && W[0].unicode() < 128) W.prepend(QStringLiteral("Abschnitt"));
    return ParameterAus(W);
}

TSeitenSprung SeitenSprungZerlegen(const QString& Sprungtext) {
    QString t = Sprungtext;
    for (const TErsetzung& e : LangeNamen)
        AlleErsetzen1(t, Utf8(e.Von), Utf8(e.Nach));
    AlleErsetzen1(t, QStringLiteral(","), QStringLiteral("|"));
    t += QLatin1Char('|');

    const qsizetype Strich = t.indexOf(QLatin1Char('|'));
    QString Programm = t.left(Strich).trimmed();
    QString Ort = t.mid(Strich + 1);
    Programm.remove(QLatin1Char('|'));
    Ort.remove(QLatin1Char('|'));

    // The en dash of code page 1252 (read as such, or byte for byte).
    Programm.replace(QChar(0x2013), QLatin1Char('-'));
    Programm.replace(QChar(0x0096), QLatin1Char('-'));
    Programm.replace(QLatin1Char('_'), QLatin1Char(' '));

    for (char Ziffer = '0'; Ziffer <= '7'; ++Ziffer) {
        const QString Abschnitt = QStringLiteral("Abschnitt %1.1").arg(QLatin1Char(Ziffer));
        AlleErsetzen1(Ort, QStringLiteral("Kapitel %1").arg(QLatin1Char(Ziffer)), Abschnitt);
    }
    for (char Ziffer = '0'; Ziffer <= '7'; ++Ziffer) {
        const QString Abschnitt = QStringLiteral("Abschnitt %1.1").arg(QLatin1Char(Ziffer));
        AlleErsetzen1(Ort, QStringLiteral("%1. Kapitel").arg(QLatin1Char(Ziffer)), Abschnitt);
    }

    for (const TErsetzung& e : Schreibweisen)
        if (Programm.contains(Utf8(e.Von))) Programm = Utf8(e.Nach);

    return TSeitenSprung{Programm, SprungParameter(Ort)};
}

QString ProgrammDesVerzeichnisses(const QString& Anwendungsverzeichnis) {
    const QString Gross = CodePage::AnsiUpperCase(Anwendungsverzeichnis);
    for (const TErsetzung& e : Ordnerwoerter)
        if (Gross.contains(Utf8(e.Von))) return Utf8(e.Nach);
    return QString();
}

// ---- the section form's part ----------------------------------------------------

bool TKxNav::ProgrammPfad(int Zeile, QString& Pfad, QString& Ordner) const {
    const TGeschwisterProgramm* g = GeschwisterProgramm(Zeile);
    if (!g) return false;
    const QString Wurzel = Installationswurzel(Anwendungsverzeichnis);
    const QString Programmordner = Wurzel + Utf8(g->Familie) + QLatin1Char('\\') + Utf8(g->Ordner);
    // A program folder that is missing makes the row unusable.
    if (!DirectoryExists(Programmordner)) return false;
    Ordner = Programmordner;
    Pfad = Programmordner + QLatin1Char('\\') + Utf8(g->Datei);
    return true;
}

bool TKxNav::GeschwisterSuchen(const QString& Name, QString& Pfad, QString& Ordner) const {
    if (Name.isEmpty()) return false;
    for (int Zeile = 1; Zeile <= GeschwisterAnzahl; ++Zeile)
        if (ProgrammPfad(Zeile, Pfad, Ordner) && Pfad.contains(Name)) return true;
    return false;
}

bool TKxNav::SeitenSprungStarten(const QString& Sprungtext) {
    const TSeitenSprung S = SeitenSprungZerlegen(Sprungtext);
    QString Pfad, Ordner, Parameter = S.Parameter;
    if (!GeschwisterSuchen(S.Programm, Pfad, Ordner)) {
        // A jump to a place only: the family member the program itself belongs to.
        if (!S.Programm.contains(QStringLiteral("Abschnitt"))) return false;
        if (!GeschwisterSuchen(ProgrammDesVerzeichnisses(FSetup.Anwendungsverzeichnis), Pfad, Ordner))
            return false;
        Parameter = ParameterAus(S.Programm);
    }
    // The program starts in its own folder: this program's current directory
    // stays where it is, and the parameter is one argument, never a command line.
    return FileExists(Pfad) && StartProgram(Pfad, QStringList{Parameter}, Ordner);
}

namespace {

QString ElementText(const TCustomRPData& Daten, int Nr) {
    if (Nr < 0 || Nr >= Daten.GetItemCount()) return QString();
    const int Stil = Daten.GetItemStyle(Nr);
    return ItemTextToQString(Daten.GetItemText(Nr), Daten.GetItemOptions(Nr),
                             Stil >= 0 ? Daten.GetStyleCodePage(Stil) : Daten.GetDefaultCodePage());
}

} // namespace

QString TKxNav::SprungText(int SprungNr) const {
    if (!Webbrowserx) return QString();
    // A link in a table cell is an item of the cell's document.
    TCustomRPFormattedData* Halter = nullptr;
    const int Nr = Webbrowserx->GetJumpItemNo(SprungNr, Halter);
    return Halter ? ElementText(*Halter, Nr) : QString();
}

QString TKxNav::SeitenText(int Nr) const {
    return Webbrowserx ? ElementText(*Webbrowserx->RPData(), Nr) : QString();
}

void TKxNav::WebbrowserxJump(TObject*, int SprungNr) {
    SeitenSprungStarten(SprungText(SprungNr));
}

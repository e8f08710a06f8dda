#include "USetupLesen.h"

#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "platform/Runtime.h"
#include "term/USetup.h"
#include "term/UTerm.h"

#include <QFile>

#include <cmath>
#include <limits>

namespace {

// The one place where the setup file reaches the term engine. Its validity flag
// is not needed: what counts is a finite value. An arithmetic failure passes
// on and ends the reading.
double SetupTermWert(const QString& Text) {
    bool Gueltig = false;
    return TermWertGueltig1(CodePage::ToCp1252(Text), "0", Gueltig);
}

struct Schalter {
    const char* Schluessel;
    bool tFSetup::*Feld;
};

const Schalter SchalterTabelle[] = {
    {"HGSCHWARZ", &tFSetup::HGSchwarz},
    {"KEINEHILFE", &tFSetup::KeineHilfe},
    {"KEINELOESUNG", &tFSetup::KeineLoesung},
    {"KEINEWERKZEUGE", &tFSetup::KeineWerkzeuge},
    {"KEINKURVENWERK", &tFSetup::KeinKurvenwerk},
    {"KEINRAUMSCHAU", &tFSetup::KeinRaumschau},
    {"KEINTASCHENRECHNER", &tFSetup::KeinTaschenrechner},
    {"KEINTERMLOTSE", &tFSetup::KeinTermlotse},
    {"KEINSTUFENLOESER", &tFSetup::KeinStufenloeser},
    {"KEINNAEHERLOTSE", &tFSetup::KeinNaeherlotse},
    {"KEINIPADRESSE", &tFSetup::KeinIPAdresse},
    {"KEINMONITORAUFLOESUNG", &tFSetup::KeinMonitoraufloesung},
    {"KEINSKIZZBRETT", &tFSetup::KeinSkizzbrett},
    {"KEIN3D2MONITORE", &tFSetup::Kein3D2Monitore},
    {"KEINBILDKALK", &tFSetup::KeinBildkalk},
    {"KEINZUFALLSLOTSE", &tFSetup::KeinZufallslotse},
    {"KEINGITTERMEISTER", &tFSetup::KeinGittermeister},
    {"SOT", &tFSetup::SOT},
    {"CW", &tFSetup::CW},
    // Scaling can be switched off explicitly as well.
    {"SKALIEREN", &tFSetup::Skalieren},
};

// Whole-line keys: exact, with case, no blanks.
void SchalterZeile(const QString& Zeile) {
    for (const Schalter& S : SchalterTabelle) {
        const QString Schluessel = QString::fromLatin1(S.Schluessel);
        if (Zeile == Schluessel + QStringLiteral("=TRUE"))
            FSetup.*S.Feld = true;
        else if (Zeile == Schluessel + QStringLiteral("=FALSE"))
            FSetup.*S.Feld = false;
    }
    static const QString Faktor = QStringLiteral("SKALIERUNGSFAKTOR=");
    if (Zeile.size() == Faktor.size() + 1 && Zeile.startsWith(Faktor)) {
        const QChar Ziffer = Zeile.back();
        if (Ziffer >= QLatin1Char('0') && Ziffer <= QLatin1Char('5'))
            FSetup.Skalierungsfaktor = Ziffer.unicode() - '0';
    }
}

// "WDX=" may stand anywhere in the line; the value always starts at its fifth
// character. False when the value is no number of pixels.
bool PixelZeile(const QString& Zeile, const QString& Schluessel, int& Feld) {
    if (!Zeile.contains(Schluessel) || Zeile.size() <= 4) return true;
    return SetupPixelWert(Zeile.mid(4), Feld);
}

QStringList ZeilenTrennen(const QString& Text) {
    // CR LF, LF and CR all end a line; a final line break adds no empty line.
    QStringList Zeilen;
    QString Zeile;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            Zeilen.append(Zeile);
            Zeile.clear();
            if (c == QLatin1Char('\r') && i + 1 < Text.size() && Text[i + 1] == QLatin1Char('\n')) ++i;
        } else {
            Zeile.append(c);
        }
    }
    if (!Zeile.isEmpty()) Zeilen.append(Zeile);
    return Zeilen;
}

} // namespace

bool SetupPixelWert(const QString& Text, int& Wert) {
    const double w = SetupTermWert(Text);
    // Beyond the integer range no whole number of pixels is left to round to.
    if (!std::isfinite(w) || w < std::numeric_limits<int>::min() || w > std::numeric_limits<int>::max())
        return false;
    Wert = static_cast<int>(Round(w));
    return true;
}

void SetupZeilenAuswerten(const QStringList& Zeilen) {
    // A line that fails, by its value or by an arithmetic failure of its term,
    // ends the reading: the fields read so far stay, the others keep their
    // reset values.
    try {
        for (const QString& Zeile : Zeilen) {
            SchalterZeile(Zeile);
            if (!PixelZeile(Zeile, QStringLiteral("WDX="), FSetup.WDX) ||
                !PixelZeile(Zeile, QStringLiteral("WDY="), FSetup.WDY))
                return;
        }
    } catch (...) {
    }
}

QString SetupDateiName(const QString& Anwendungsverzeichnis) {
    return Paths::MapPath(Anwendungsverzeichnis + QStringLiteral("\\..\\OrvandelSetup.txt"));
}

void FSetupLesen(const QString& Anwendungsverzeichnis) {
    FSetupZuruecksetzen(Anwendungsverzeichnis);
    try {
        QFile Datei(SetupDateiName(Anwendungsverzeichnis));
        if (!Datei.exists() || !Datei.open(QIODevice::ReadOnly)) return;
        const QByteArray Inhalt = Datei.readAll();
        SetupZeilenAuswerten(
            ZeilenTrennen(CodePage::FromCp1252(std::string_view(Inhalt.constData(), Inhalt.size()))));
    } catch (...) {
    }
}

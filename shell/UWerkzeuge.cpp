#include "shell/UWerkzeuge.h"

#include "platform/Application.h"
#include "platform/Clipboard.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "shell/UAufgabeg.h"

#include <QStringList>

namespace {

const char* const Familie = "Orvandel - Mathematik";
const char* const ErsteBasis = "..\\..\\";
const char* const ZweiteBasis = "c:\\";

// Folder and executable carry the tool's name.
const char* const Werkzeuge[WerkzeugAnzahl] = {
    "Skizzbrett",   "Kurvenwerk",  "Taschenrechner", "Stufenloeser", "Naeherlotse",     "Gittermeister",
    "Bruchlotse",   "Formelheft",  "Einheitenlotse", "Geolabor",     "Tabellenwerk",    "Vektorlotse",
    "Kegelschnitt", "Zahlenlabor", "Diagrammwerk",   "Messlabor",    "Primzahlsieb",    "Wuerfelwerk",
    "Koerperlabor", "Raumschau",   "Folgenlotse",    "Termlotse",    "Gleichungslotse", "Zufallslotse",
    "Bildkalk",     "Lichtstudio", "Findeling",
};

// The folder a tool lies in below a base.
QString WerkzeugOrdner(int Index, const QString& Basis) {
    return Basis + QString::fromUtf8(Familie) + QLatin1Char('\\') + QString::fromUtf8(Werkzeuge[Index - 1]);
}

} // namespace

const char* const WerkzeugSkript[2] = {
    "clear();",
    "Koordinatensystem(false,1,false,1,1,38,0,0,true,1,2,1,true,0,1380,994,true)",
};

QString WerkzeugEintrag(int Index) {
    if (Index < 1 || Index > WerkzeugAnzahl) return QStringLiteral("xxx");
    const QString Name = QString::fromUtf8(Werkzeuge[Index - 1]);
    return QLatin1Char('\\') + Name + QLatin1Char('\\') + Name + QStringLiteral(".exe");
}

QString WerkzeugPfadBilden(int Index, const QString& Basis) {
    return Basis + QString::fromUtf8(Familie) + WerkzeugEintrag(Index);
}

bool WerkzeugVorhanden(int Index) {
    return FileExists(WerkzeugPfadBilden(Index, QString::fromUtf8(ErsteBasis))) ||
           FileExists(WerkzeugPfadBilden(Index, QString::fromUtf8(ZweiteBasis)));
}

// ---- the exercise form's part -------------------------------------------------------

QString TAufgabeg::WerkzeugPfad(int Index, QString* Ordner) const {
    const QString Pfad = WerkzeugPfadBilden(Index, StartPfad);
    if (Ordner && Index >= 1 && Index <= WerkzeugAnzahl) *Ordner = WerkzeugOrdner(Index, StartPfad);
    return Pfad;
}

bool TAufgabeg::WerkzeugAufrufen(int Index, const QString& Parameter) {
    Arbeitsverzeichnis = GetCurrentDir();
    Application()->ProcessMessages();
    bool Versucht = false;
    // Beside this program first, then on the drive. The tool starts in its own
    // folder; this program's current directory never changes.
    for (const char* Basis : {ErsteBasis, ZweiteBasis}) {
        StartPfad = QString::fromUtf8(Basis);
        QString Ordner;
        const QString Pfad = WerkzeugPfad(Index, &Ordner);
        if (!FileExists(Pfad)) continue;
        Versucht = true;
        // A failed start is not told: the tool simply does not come up.
        StartProgram(Pfad, Parameter.isEmpty() ? QStringList() : QStringList{Parameter}, Ordner);
        break;
    }
    Application()->ProcessMessages();
    return Versucht;
}

bool TAufgabeg::WerkzeugStarten(int Index) {
    return WerkzeugAufrufen(Index, QString());
}

bool TAufgabeg::KurvenwerkStarten(bool Skriptimport) {
    return WerkzeugAufrufen(wzKurvenwerk, Skriptimport ? QStringLiteral("SKRIPTIMPORT") : QString());
}

bool TAufgabeg::RaumschauStarten(bool Skriptimport) {
    return WerkzeugAufrufen(wzRaumschau, Skriptimport ? QStringLiteral("SKRIPTIMPORT") : QString());
}

bool TAufgabeg::TermlotseStarten(bool Skriptimport, int Modus) {
    return WerkzeugAufrufen(wzTermlotse,
                            Skriptimport ? QStringLiteral("SKRIPTIMPORT%1").arg(Modus) : QString());
}

bool TAufgabeg::TaschenrechnerStarten() {
    return WerkzeugStarten(wzTaschenrechner);
}

bool TAufgabeg::ZufallslotseStarten() {
    return WerkzeugStarten(wzZufallslotse);
}

void TAufgabeg::B_KurvenwerkClick(TObject* Sender) {
    // The bar stays off for a second, so that its buttons are not clicked twice.
    B_BtnPanel->SetEnabled(false);
    if (Sender == B_Kurvenwerk)
        KurvenwerkStarten(true);
    else if (Sender == B_Raumschau)
        RaumschauStarten(true);
    else if (Sender == B_Termlotse)
        TermlotseStarten(true, TermlotseModus);
    else if (Sender == B_Taschenrechner)
        TaschenrechnerStarten();
    else if (Sender == B_Zufallslotse)
        ZufallslotseStarten();
    else if (Sender == B_Bildkalk)
        WerkzeugStarten(wzBildkalk);
    else if (Sender == B_Skizzbrett)
        WerkzeugStarten(wzSkizzbrett);
    else if (Sender == B_Lichtstudio || Sender == B_drucken)
        WerkzeugStarten(wzLichtstudio);
    else if (Sender == B_Findeling)
        WerkzeugStarten(wzFindeling);
    Verzoegerung(WerkzeugPause);
    B_BtnPanel->SetEnabled(true);
}

void TAufgabeg::B_druckenClick(TObject* Sender) {
    B_BtnPanel->SetEnabled(false);
    if (Sender == B_drucken || Sender == B_Lichtstudio) WerkzeugStarten(wzLichtstudio);
    Verzoegerung(WerkzeugPause);
    B_BtnPanel->SetEnabled(true);
}

void TAufgabeg::WerkzeugknoepfeEinrichten() {
    const std::pair<TSpeedButton*, int> Knoepfe[] = {
        {B_Kurvenwerk, wzKurvenwerk},   {B_Raumschau, wzRaumschau},   {B_Taschenrechner, wzTaschenrechner},
        {B_drucken, wzLichtstudio},     {B_Termlotse, wzTermlotse},   {B_Zufallslotse, wzZufallslotse},
        {B_Bildkalk, wzBildkalk},       {B_Skizzbrett, wzSkizzbrett}, {B_Findeling, wzFindeling},
        {B_Lichtstudio, wzLichtstudio},
    };
    for (const auto& [Knopf, Index] : Knoepfe)
        if (!WerkzeugVorhanden(Index)) Knopf->SetVisible(false);
}

void TAufgabeg::SkriptAnbieten() {
    B_Scriptmemo->Clear();
    for (const char* Zeile : WerkzeugSkript)
        B_Scriptmemo->Lines()->Add(QString::fromUtf8(Zeile));
    // A picture on the clipboard (a screenshot waiting to be pasted) stays.
    const TClipboardFormat GifBild = RegisterClipboardFormat(QStringLiteral("GIF Image"));
    if (Clipboard()->HasFormat(CF_BITMAP) || Clipboard()->HasFormat(GifBild)) return;
    QString Text = B_Scriptmemo->Text();
    Text.chop(2); // the memo ends its last line too
    Clipboard()->SetAsText(Text);
}

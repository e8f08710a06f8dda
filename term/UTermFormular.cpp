#include "UTermFormular.h"

#include "UTermEingabe.h"
#include "platform/ControlsRich.h"
#include "platform/ControlsStd.h"

namespace {

void Pruefen(int Kopie, const QString& Antwort, const QString& Loesung, TLabel* Label, int Grenze, char Modus,
             bool& Richtig, double Toleranz, int Flag) {
    tUrteil u;
    if (Label) {
        u.Text = Label->Caption();
        u.Farbe = Label->Font()->Color();
    }
    ErgebnisPruefen(Kopie, BoxText(Antwort), BoxText(Loesung), u, Grenze, Modus, Richtig, Toleranz, Flag);
    if (Label) {
        Label->Font()->SetColor(u.Farbe);
        Label->SetCaption(u.Text);
    }
}

void Anzeigen(int Kopie, TLabel* Label, int Code) {
    if (!Label)
        return;
    tUrteil u;
    ErgebnisAnzeigen(Kopie, u, Code);
    if (u.Code == 0)
        return; // codes without a verdict leave the label alone
    Label->Font()->SetColor(u.Farbe);
    Label->SetCaption(u.Text);
}

// Rebuilding the box changes it again; those changes are the formatter's own.
bool Formatiert = false;

void EingabeDarstellen(int Kopie, TRichEdit* Box, bool Komma) {
    if (!Box || Formatiert)
        return;
    struct tSperre {
        tSperre() { Formatiert = true; }
        ~tSperre() { Formatiert = false; }
    } sperre;
    const int caret = Box->SelStart();
    const QString zeile = Box->Lines()->Count() > 0 ? Box->Lines()->Strings(0) : QString();
    const std::vector<tAnzeigeStueck> stuecke = EingabeStuecke(Kopie, zeile, Komma);
    Box->Clear();
    for (const tAnzeigeStueck& s : stuecke) {
        Box->SetSelStart(Box->GetTextLen());
        TTextAttributes* a = Box->SelAttributes();
        a->SetName(s.Schrift.Name);
        a->SetColor(s.Schrift.Farbe);
        a->SetCharset(s.Schrift.Zeichensatz);
        Box->SetSelText(s.Text);
    }
    Box->SetSelStart(std::min(caret, Box->GetTextLen()));
}

} // namespace

void EingabeFormatieren2(TRichEdit* Box) { EingabeDarstellen(2, Box, false); }
void EingabeFormatieren3(TRichEdit* Box) { EingabeDarstellen(3, Box, false); }
void EingabeFormatierenKomma1(TRichEdit* Box) { EingabeDarstellen(1, Box, true); }
void EingabeFormatierenKomma2(TRichEdit* Box) { EingabeDarstellen(2, Box, true); }

void ErgebnisPruefen1(const QString& Antwort, const QString& Loesung, TLabel* Label, int Grenze, char Modus,
                      bool& Richtig, double Toleranz, int Flag) {
    Pruefen(1, Antwort, Loesung, Label, Grenze, Modus, Richtig, Toleranz, Flag);
}
void ErgebnisPruefen2(const QString& Antwort, const QString& Loesung, TLabel* Label, int Grenze, char Modus,
                      bool& Richtig, double Toleranz, int Flag) {
    Pruefen(2, Antwort, Loesung, Label, Grenze, Modus, Richtig, Toleranz, Flag);
}
void ErgebnisPruefen3(const QString& Antwort, const QString& Loesung, TLabel* Label, int Grenze, char Modus,
                      bool& Richtig, double Toleranz, int Flag) {
    Pruefen(3, Antwort, Loesung, Label, Grenze, Modus, Richtig, Toleranz, Flag);
}
void ErgebnisAnzeigen1(TLabel* Label, int Code) { Anzeigen(1, Label, Code); }
void ErgebnisAnzeigen2(TLabel* Label, int Code) { Anzeigen(2, Label, Code); }
void ErgebnisAnzeigen3(TLabel* Label, int Code) { Anzeigen(3, Label, Code); }

void TasteFiltern1(char16_t& Key, bool& Enter, TRichEdit*) { TastenFilter(1, Key, Enter); }
void TasteFiltern2(char16_t& Key, bool& Enter, TRichEdit*) { TastenFilter(2, Key, Enter); }
void TasteFiltern3(char16_t& Key, bool& Enter, TRichEdit*) { TastenFilter(3, Key, Enter); }

double TermWert2(const QString& Term, const QString& Text) { return TermWert2(BoxText(Term), BoxText(Text)); }
double TermWert3(const QString& Term, const QString& Text) { return TermWert3(BoxText(Term), BoxText(Text)); }
double TermWertGueltig1(const QString& Term, const QString& Text, bool& Gueltig) {
    return TermWertGueltig1(BoxText(Term), BoxText(Text), Gueltig);
}

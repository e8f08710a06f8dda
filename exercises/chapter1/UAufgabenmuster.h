#pragma once
// What every exercise of chapter 1 shares: building its controls in code, the
// answer pairs (box, "prüfen" button, verdict label), the check by sender, the
// score panel, help panels and solution buttons, and the unit-local texts on
// drawings (font code "T" is Tahoma here).
#include "platform/ControlsExt.h"
#include "platform/ControlsRich.h"
#include "platform/ControlsStd.h"
#include "shell/UAufgabeg.h"

#include <QString>

#include <functional>

// Verdict colours of the forms.
constexpr TColor FarbeKnopfRichtig = RGB(0, 200, 0);
constexpr TColor FarbeKnopfFalsch = RGB(255, 0, 0);
constexpr TColor FarbeUrteilRichtig = RGB(0, 255, 0);
constexpr TColor FarbeUrteilFalsch = RGB(255, 0, 0);
constexpr TColor FarbeHinweis = RGB(255, 255, 0);
// The light green of the task panels.
constexpr TColor FarbeAufgabenfeld = 14611154;

// The verdict label of the forms: black, not auto-sized. A verdict wider than
// the label wraps at blanks where the label's height holds the lines, else its
// font gets smaller until the verdict fits; a verdict that fits as it is keeps
// the look the form gave the label.
class TUrteilslabel : public TLabel {
public:
    explicit TUrteilslabel(TComponent* AOwner) : TLabel(AOwner) {}

protected:
    void CaptionChanged() override;
    void FontChanged() override;
    void BoundsChanged() override;

private:
    void Einpassen();
    int m_hoehe = 0;      // the font height the form gave
    int m_eingepasst = 0; // the smaller height set for the caption; 0: the form's own
    bool m_passen = false;
};

// One answer: box, its "prüfen" button, its verdict label and, where the form
// has one, its solution button.
struct TAntwortPaar {
    TRichEdit* Box = nullptr;
    TBitBtn* Pruefen = nullptr;
    TLabel* Urteil = nullptr;
    TBitBtn* Loesung = nullptr;
};

// The black score panel: "richtig:" and "falsch:" with their counts.
struct TPunkteAnzeige {
    TPanel* Panel = nullptr;
    TLabel* LabelR = nullptr;
    TLabel* LabelF = nullptr;
    void Zeigen(int Richtig, int Falsch) const;
};

namespace Muster {

// Controls of a form, owned by it, placed on Parent.
TLabel* Beschriftung(TAufgabeg* Form, TWinControl* Parent, const QString& Name, const QString& Text,
                     int Links, int Oben, const QString& Schrift = QStringLiteral("Tahoma"), int Hoehe = -16,
                     TColor Farbe = clBlack, bool Fett = false);
TLabel* Titel(TAufgabeg* Form, const QString& Text);
// Black, not auto-sized, yellow text unless told otherwise.
TLabel* Urteilslabel(TAufgabeg* Form, TWinControl* Parent, const QString& Name, int Links, int Oben,
                     int Breite, int Hoehe = 24, TColor Farbe = clYellow);
TBitBtn* Knopf(TAufgabeg* Form, TWinControl* Parent, const QString& Name, const QString& Text, int Links,
               int Oben, int Breite, int Hoehe, int Schrifthoehe = -16);
// A one-line box in Tahoma 19 px.
TRichEdit* Antwortbox(TAufgabeg* Form, TWinControl* Parent, const QString& Name, int Links, int Oben,
                      int Breite, int Hoehe = 33);
TPanel* Feld(TAufgabeg* Form, TWinControl* Parent, const QString& Name, int Links, int Oben, int Breite,
             int Hoehe, TColor Farbe);
TImage* Bild(TAufgabeg* Form, TWinControl* Parent, const QString& Name, int Links, int Oben, int Breite,
             int Hoehe);
// A picture the form draws on, laid out for its design size: its white bitmap
// is made now, at that size, and keeps it when a scaled window enlarges the
// control; the window shows it enlarged as a whole, and clicks reach the form
// at the places they meet in the drawing.
TImage* Zeichenbild(TAufgabeg* Form, TWinControl* Parent, const QString& Name, int Links, int Oben,
                    int Breite, int Hoehe);
// A picture the form draws anew for the control's size, scaled or not: it
// takes the control's Width and Height and scales its margins itself.
TImage* Neuzeichenbild(TAufgabeg* Form, TWinControl* Parent, const QString& Name, int Links, int Oben,
                       int Breite, int Hoehe);
TPageControl* Seiten(TAufgabeg* Form, TWinControl* Parent, const QString& Name, int Links, int Oben,
                     int Breite, int Hoehe);
// A page without tab.
TTabSheet* Seite(TAufgabeg* Form, TPageControl* Seiten, const QString& Name);
TPunkteAnzeige Punkte(TAufgabeg* Form, TWinControl* Parent, int Links, int Oben);
// A hidden light yellow help panel with one label per line.
TPanel* Hilfefeld(TAufgabeg* Form, TWinControl* Parent, const QString& Name, int Links, int Oben, int Breite,
                  const QStringList& Zeilen, int Schrifthoehe = -16, int Zeilenabstand = 24);

// The term engine copy (2 or 3) that serves the form's boxes.
void BoxVerbinden(TRichEdit* Box, int Kopie, std::function<void(TObject*)> Pruefen);
// Box and button of a pair run Pruefen with themselves as sender.
void PaarVerbinden(const TAntwortPaar& Paar, int Kopie, std::function<void(TObject*)> Pruefen);
bool GehoertZu(const TAntwortPaar& Paar, TObject* Sender);

// Line 0 of a box.
QString Antwort(TRichEdit* Box);
// The answer check of the pair against the expected text: verdict into the
// pair's label, the button green or red. True when right.
bool PaarPruefen(const TAntwortPaar& Paar, const QString& Erwartet, int Grenze, int Kopie);
bool PaarPruefen(const TAntwortPaar& Paar, double Erwartet, int Grenze, int Kopie);
// A ")" before its "(" or a "(" left open: such a text spliced into a longer
// term would close and reopen that term's own brackets.
bool KlammernUnausgeglichen(const QString& Text);
// A number term that cannot be spliced into a term or read as a number: it
// holds a letter (which would become a variable) or unbalanced brackets.
bool ZahltermFehlerhaft(const QString& Text);
// The value of a number term typed into a box; false when it has none (not a
// term, an arithmetic failure, or beyond the range of a double).
bool ZahltermWert(const QString& Text, double& Wert);
// Empties the box and the label, the button text black again.
void PaarLeeren(const TAntwortPaar& Paar);
// Writes the expected value into the box as the solution buttons do.
void LoesungEintragen(const TAntwortPaar& Paar, double Erwartet);

// A verdict the form decides itself.
void Urteil(TLabel* Label, const QString& Text, TColor Farbe);
// Focus when the control can take it.
void Fokus(TWinControl* Control);
// Loads a picture of the exercises ("schwan.png") from the program's
// resources, or from the resource folder beside the data folder the program
// runs in. False when neither has it.
bool BildLaden(TImage* Bild, const QString& Datei);

} // namespace Muster

// Texts on drawings, as TextAusgeben but "T" is Tahoma.
void TextAusgebenLokal(int x, int y, int SchriftR, int SchriftG, int SchriftB, int PinselR, int PinselG,
                       int PinselB, const QString& Text, char Code, int Groesse, bool Transparent,
                       bool Zentriert, TImage* Bild);
// Top-left, transparent or on a black brush.
void TextObenLinks(int x, int y, int SchriftR, int SchriftG, int SchriftB, const QString& Text, char Code,
                   int Groesse, bool Transparent, TImage* Bild);
// The rectangle the text would cover: P1 lower left, P2 upper right.
void TextRechteckLokal(int x, int y, const QString& Text, char Code, int Groesse, bool Zentriert,
                       TImage* Bild, TPoint& P1, TPoint& P2);

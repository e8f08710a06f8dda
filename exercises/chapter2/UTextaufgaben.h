#pragma once
// What the three word-problem forms share: fixed stories on tab pages that
// "Neue Aufgabe" steps through, and questions with an answer box, a unit, a
// "prüfen" button, a verdict, a "Hilfe" button with its pale yellow help panel
// and, in most help panels, an "Ergebnis" button that fills in the answer.
#include "exercises/chapter1/UAufgabenmuster.h"

#include <QStringList>

#include <initializer_list>
#include <vector>

// The light green of the pages.
constexpr TColor FarbeTextseiten = RGB(210, 242, 222);
// The pale yellow of the help panels.
constexpr TColor FarbeTexthilfe = RGB(255, 255, 128);

// One question: its box and the controls that belong to it, and the answer.
struct TTextPosten {
    TRichEdit* Box = nullptr;
    TLabel* Einheit = nullptr;
    TBitBtn* Pruefen = nullptr;
    TLabel* Urteil = nullptr;
    TBitBtn* Hilfe = nullptr;    // none: another question's help covers it
    TPanel* Hilfefeld = nullptr; // none: the question has no help
    TBitBtn* Ergebnis = nullptr; // none: no answer to fill in
    QString Erwartet;
    int Seite = 0; // 0-based page
};

// How a question is laid out on its page, at a given top.
struct TPostenDef {
    const char* Vorsatz; // text before the box ("Stapelhöhe ="), or nullptr
    const char* Box;
    const char* Einheit;
    const char* Pruefen;
    const char* Urteil;
    const char* Erwartet;
};

// A help panel: its lines, and where its "Ergebnis" button goes (nullptr: none).
struct THilfeDef {
    const char* Hilfe; // the "Hilfe" button
    const char* Panel;
    QStringList Zeilen;
    const char* Ergebnis;
};

// Lines of text from the program's own UTF-8 literals.
QStringList Textzeilen(std::initializer_list<const char*> Texte);

// The state a word-problem unit keeps: the page shown, 0 before the first.
struct TTextaufgabenZustand {
    int32_t Seite = 0;
};

class TTextaufgabe : public TAufgabeg {
public:
    // Kopie: the term engine's copy that checks the answers (1 or 2).
    TTextaufgabe(TComponent* AOwner, int Kopie, TTextaufgabenZustand& Zustand);

    void FormActivate(TObject* Sender) override;
    void NeueAufgabe() override;
    void RichEdit1Change(TObject* Sender);
    void RichEdit1KeyPress(TObject* Sender, char16_t& Key);
    void BitBtnP1Click(TObject* Sender);
    void BitBtnHilfeClick(TObject* Sender);
    void BitBtnErgebnisClick(TObject* Sender);
    // Checks the question of a box, check or "Ergebnis" button; true when right.
    bool TextaufgabePruefen(TObject* Sender);

    // The question a control belongs to, or -1.
    int PostenVon(TObject* Sender) const;
    // The shown page, 1 .. page count.
    int SichtbareSeite() const;

    TLabel* Label1 = nullptr; // the title, where the form has one
    TPanel* PanelPage = nullptr;
    TPageControl* PageControl1 = nullptr;
    std::vector<TTabSheet*> Seiten; // in the order "Neue Aufgabe" shows them
    std::vector<TTextPosten> Posten;

protected:
    // Building the pages.
    TTabSheet* SeiteAnlegen(const QString& Name);
    TLabel* Text(TWinControl* Blatt, const QString& Name, const QString& Text, int Links, int Oben,
                 bool Fett = false);
    // One line under the other from Oben, 22 pixels apart; answers the next top.
    int Geschichte(TWinControl* Blatt, const QString& Name, const QStringList& Zeilen, int Oben);
    TImage* Bild(TWinControl* Blatt, const QString& Name, const QString& Datei, int Links, int Oben);
    // A question row at Oben (box at x 160, verdict below it); answers its index.
    int PostenAnlegen(TWinControl* Blatt, int Oben, const TPostenDef& Def);
    // The help of question k: its button in the question's row, its panel at
    // (Links, Oben) with the "Ergebnis" button below the lines.
    void HilfeAnlegen(int k, int Links, int Oben, int Breite, const THilfeDef& Def);
    // The "Ergebnis" button of question k outside a help panel.
    TBitBtn* ErgebnisAnlegen(int k, TWinControl* Blatt, const char* Name, int Links, int Oben,
                             int Breite = 100);
    // A white panel that always shows (conversion tables), one label per line.
    TPanel* Tafel(TWinControl* Blatt, const QString& Name, int Links, int Oben, int Breite,
                  const QStringList& Zeilen, int TextLinks = 10);
    // A question without help in a white panel that always shows, under a line
    // of its own, with its "Ergebnis" where the help button would be.
    int TafelPostenAnlegen(TWinControl* Blatt, const QString& Panel, int Oben, const QString& Zeile,
                           const TPostenDef& Def, const char* Ergebnis);

    // What a form adds to showing a help, to filling in a result and to a new task.
    virtual void HilfeGezeigt(int k) { (void)k; }
    virtual void ErgebnisGezeigt(int k) { (void)k; }
    virtual void Leeren() {}

    // Whether every page, or only the first, gets the focus in its first box.
    bool FokusAufJederSeite = true;

private:
    int m_kopie;
    int32_t& m_seite;
};

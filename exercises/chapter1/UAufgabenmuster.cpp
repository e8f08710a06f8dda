#include "exercises/chapter1/UAufgabenmuster.h"

#include "drawing/UZeichnen2.h"

#include "drawing/UZeichnen1.h"
#include "platform/TextMetrics.h"
#include "term/UTermEingabe.h"
#include "term/UTermFormular.h"
#include "term/UTermZahl.h"

#include <climits>
#include <cmath>
#include <cstdlib>

#include <QStringList>

namespace {

// The lines of a text as a word-wrapping label breaks them: at line breaks,
// then at the last blank before the width.
QStringList Umbrochen(const TFont& Font, const QString& Text, int Breite) {
    QString t = Text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList Zeilen;
    for (const QString& Absatz : t.split(QLatin1Char('\n'))) {
        QString Zeile;
        const QStringList Woerter = Absatz.split(QLatin1Char(' '));
        for (int i = 0; i < Woerter.size(); ++i) {
            const QString Versuch = i == 0 ? Woerter[i] : Zeile + QLatin1Char(' ') + Woerter[i];
            if (i > 0 && !Zeile.isEmpty() && TextMetrics().TextWidth(Font, Versuch) > Breite) {
                Zeilen << Zeile;
                Zeile = Woerter[i];
            } else {
                Zeile = Versuch;
            }
        }
        Zeilen << Zeile;
    }
    return Zeilen;
}

// Whether the lines lie within the label: one line needs only the width.
bool Passt(const TFont& Font, const QStringList& Zeilen, int Breite, int Hoehe) {
    for (const QString& z : Zeilen)
        if (TextMetrics().TextWidth(Font, z) > Breite) return false;
    return Zeilen.size() == 1 || TextMetrics().Height(Font) * static_cast<int>(Zeilen.size()) <= Hoehe;
}

// Below this the verdict would be hard to read; it then keeps this size.
constexpr int KleinsteSchrift = 9;

} // namespace

void TUrteilslabel::CaptionChanged() {
    Einpassen();
    TLabel::CaptionChanged();
}

void TUrteilslabel::FontChanged() {
    // A font the form sets (name, size, or a scaling) is the label's own.
    if (!m_passen && Font()->Height() != m_eingepasst) {
        m_hoehe = Font()->Height();
        m_eingepasst = 0;
    }
    TLabel::FontChanged();
}

void TUrteilslabel::BoundsChanged() {
    TLabel::BoundsChanged();
    Einpassen();
}

void TUrteilslabel::Einpassen() {
    if (m_passen) return;
    m_passen = true;
    TFont* f = Font();
    if (m_hoehe == 0) m_hoehe = f->Height();
    if (m_eingepasst != 0) f->SetHeight(m_hoehe);
    m_eingepasst = 0;
    const auto PasstSo = [&](bool Umbruch) {
        return Passt(*f, Umbrochen(*f, Caption(), Umbruch ? Width() : INT_MAX), Width(), Height());
    };
    bool Umbrechen = false;
    if (!PasstSo(false)) {
        // Wrapped in the form's font first, then ever smaller, on one line or wrapped.
        // Negative heights are pixel heights of the characters, positive ones of the cell.
        const int Vorzeichen = m_hoehe < 0 ? -1 : 1;
        Umbrechen = true;
        for (int h = std::abs(m_hoehe);; --h) {
            if (h != std::abs(m_hoehe)) {
                f->SetHeight(Vorzeichen * h);
                m_eingepasst = f->Height();
                if (PasstSo(false)) {
                    Umbrechen = false;
                    break;
                }
            }
            if (PasstSo(true) || h <= KleinsteSchrift) break;
        }
    }
    SetWordWrap(Umbrechen);
    m_passen = false;
}

void TPunkteAnzeige::Zeigen(int Richtig, int Falsch) const {
    if (LabelR) LabelR->SetCaption(QString::number(Richtig));
    if (LabelF) LabelF->SetCaption(QString::number(Falsch));
}

namespace Muster {

namespace {

void Platzieren(TControl* c, TAufgabeg* Form, TWinControl* Parent, const QString& Name) {
    (void)Form;
    c->SetName(Name);
    c->SetParent(Parent ? Parent : Form->B_ScrollBox);
}

} // namespace

TLabel* Beschriftung(TAufgabeg* Form, TWinControl* Parent, const QString& Name, const QString& Text,
                     int Links, int Oben, const QString& Schrift, int Hoehe, TColor Farbe, bool Fett) {
    auto* l = new TLabel(Form);
    Platzieren(l, Form, Parent, Name);
    l->SetTransparent(true);
    l->SetParentFont(false);
    l->Font()->SetName(Schrift);
    l->Font()->SetHeight(Hoehe);
    l->Font()->SetColor(Farbe);
    l->Font()->SetStyle(Fett ? TFontStyles(fsBold) : TFontStyles(0));
    l->SetLeft(Links);
    l->SetTop(Oben);
    l->SetCaption(Text);
    return l;
}

TLabel* Titel(TAufgabeg* Form, const QString& Text) {
    return Beschriftung(Form, nullptr, QStringLiteral("Label1"), Text, 8, 0, QStringLiteral("Tahoma"), -19,
                        clNavy, true);
}

TLabel* Urteilslabel(TAufgabeg* Form, TWinControl* Parent, const QString& Name, int Links, int Oben,
                     int Breite, int Hoehe, TColor Farbe) {
    auto* l = new TUrteilslabel(Form);
    Platzieren(l, Form, Parent, Name);
    l->SetAutoSize(false);
    l->SetTransparent(false);
    l->SetColor(clBlack);
    l->SetParentFont(false);
    l->Font()->SetName(QStringLiteral("Tahoma"));
    l->Font()->SetHeight(-16);
    l->Font()->SetStyle(fsBold);
    l->Font()->SetColor(Farbe);
    l->SetLayout(tlCenter);
    l->SetBounds(Links, Oben, Breite, Hoehe);
    l->SetCaption(QString());
    return l;
}

TBitBtn* Knopf(TAufgabeg* Form, TWinControl* Parent, const QString& Name, const QString& Text, int Links,
               int Oben, int Breite, int Hoehe, int Schrifthoehe) {
    auto* b = new TBitBtn(Form);
    Platzieren(b, Form, Parent, Name);
    b->SetParentFont(false);
    b->Font()->SetName(QStringLiteral("Tahoma"));
    b->Font()->SetHeight(Schrifthoehe);
    b->Font()->SetStyle(fsBold);
    b->Font()->SetColor(clBlack);
    b->SetBounds(Links, Oben, Breite, Hoehe);
    b->SetCaption(Text);
    return b;
}

TRichEdit* Antwortbox(TAufgabeg* Form, TWinControl* Parent, const QString& Name, int Links, int Oben,
                      int Breite, int Hoehe) {
    auto* r = new TRichEdit(Form);
    Platzieren(r, Form, Parent, Name);
    r->SetParentFont(false);
    r->Font()->SetName(QStringLiteral("Tahoma"));
    r->Font()->SetHeight(-19);
    r->SetWordWrap(false);
    r->SetWantReturns(false);
    r->SetColor(clWhite);
    r->SetTabStop(true);
    r->SetBounds(Links, Oben, Breite, Hoehe);
    return r;
}

TPanel* Feld(TAufgabeg* Form, TWinControl* Parent, const QString& Name, int Links, int Oben, int Breite,
             int Hoehe, TColor Farbe) {
    auto* p = new TPanel(Form);
    Platzieren(p, Form, Parent, Name);
    p->SetCaption(QString());
    p->SetColor(Farbe);
    p->SetBounds(Links, Oben, Breite, Hoehe);
    return p;
}

TImage* Bild(TAufgabeg* Form, TWinControl* Parent, const QString& Name, int Links, int Oben, int Breite,
             int Hoehe) {
    auto* i = new TImage(Form);
    Platzieren(i, Form, Parent, Name);
    i->SetBounds(Links, Oben, Breite, Hoehe);
    return i;
}

TImage* Zeichenbild(TAufgabeg* Form, TWinControl* Parent, const QString& Name, int Links, int Oben,
                    int Breite, int Hoehe) {
    TImage* i = Bild(Form, Parent, Name, Links, Oben, Breite, Hoehe);
    i->Canvas();
    return i;
}

TImage* Neuzeichenbild(TAufgabeg* Form, TWinControl* Parent, const QString& Name, int Links, int Oben,
                       int Breite, int Hoehe) {
    TImage* i = Bild(Form, Parent, Name, Links, Oben, Breite, Hoehe);
    i->SetScalePicture(false);
    return i;
}

TPageControl* Seiten(TAufgabeg* Form, TWinControl* Parent, const QString& Name, int Links, int Oben,
                     int Breite, int Hoehe) {
    auto* p = new TPageControl(Form);
    Platzieren(p, Form, Parent, Name);
    p->SetBounds(Links, Oben, Breite, Hoehe);
    return p;
}

TTabSheet* Seite(TAufgabeg* Form, TPageControl* Seiten, const QString& Name) {
    auto* s = new TTabSheet(Form);
    s->SetName(Name);
    s->SetPageControl(Seiten);
    s->SetTabVisible(false);
    return s;
}

TPunkteAnzeige Punkte(TAufgabeg* Form, TWinControl* Parent, int Links, int Oben) {
    TPunkteAnzeige P;
    P.Panel = Feld(Form, Parent, QStringLiteral("Panel2"), Links, Oben, 360, 41, clBlack);
    Beschriftung(Form, P.Panel, QStringLiteral("Label7"), QStringLiteral("richtig:"), 16, 10,
                 QStringLiteral("Tahoma"), -19, clLime, true);
    P.LabelR = Beschriftung(Form, P.Panel, QStringLiteral("LabelR"), QStringLiteral("0"), 110, 10,
                            QStringLiteral("Tahoma"), -19, clLime, true);
    Beschriftung(Form, P.Panel, QStringLiteral("Label8"), QStringLiteral("falsch:"), 190, 10,
                 QStringLiteral("Tahoma"), -19, clRed, true);
    P.LabelF = Beschriftung(Form, P.Panel, QStringLiteral("LabelF"), QStringLiteral("0"), 280, 10,
                            QStringLiteral("Tahoma"), -19, clRed, true);
    return P;
}

TPanel* Hilfefeld(TAufgabeg* Form, TWinControl* Parent, const QString& Name, int Links, int Oben, int Breite,
                  const QStringList& Zeilen, int Schrifthoehe, int Zeilenabstand) {
    TPanel* p = Feld(Form, Parent, Name, Links, Oben, Breite,
                     12 + Zeilenabstand * static_cast<int>(Zeilen.size()), 8454143);
    for (int i = 0; i < Zeilen.size(); ++i)
        Beschriftung(Form, p, Name + QStringLiteral("Zeile%1").arg(i + 1), Zeilen[i], 8,
                     6 + Zeilenabstand * i, QStringLiteral("Tahoma"), Schrifthoehe);
    p->SetVisible(false);
    return p;
}

void BoxVerbinden(TRichEdit* Box, int Kopie, std::function<void(TObject*)> Pruefen) {
    Box->OnChange = [Box, Kopie](TObject*) {
        if (Kopie == 3)
            EingabeFormatieren3(Box);
        else
            EingabeFormatieren2(Box);
    };
    Box->OnKeyPress = [Box, Kopie, Pruefen](TObject*, char16_t& Key) {
        bool Enter = false;
        if (Kopie == 3)
            TasteFiltern3(Key, Enter, Box);
        else
            TasteFiltern2(Key, Enter, Box);
        if (Enter) {
            Key = 0;
            if (Pruefen) Pruefen(Box);
        }
    };
}

void PaarVerbinden(const TAntwortPaar& Paar, int Kopie, std::function<void(TObject*)> Pruefen) {
    BoxVerbinden(Paar.Box, Kopie, Pruefen);
    Paar.Pruefen->OnClick = [Pruefen](TObject* Sender) {
        if (Pruefen) Pruefen(Sender);
    };
}

bool GehoertZu(const TAntwortPaar& Paar, TObject* Sender) {
    return Sender && (Sender == Paar.Box || Sender == Paar.Pruefen || Sender == Paar.Loesung);
}

QString Antwort(TRichEdit* Box) {
    return Box && Box->Lines()->Count() > 0 ? Box->Lines()->Strings(0) : QString();
}

bool PaarPruefen(const TAntwortPaar& Paar, const QString& Erwartet, int Grenze, int Kopie) {
    bool Richtig = false;
    if (Kopie == 3)
        ErgebnisPruefen3(Antwort(Paar.Box), Erwartet, Paar.Urteil, Grenze, 'c', Richtig, 0, 0);
    else
        ErgebnisPruefen2(Antwort(Paar.Box), Erwartet, Paar.Urteil, Grenze, 'c', Richtig, 0, 0);
    if (Paar.Pruefen) Paar.Pruefen->Font()->SetColor(Richtig ? FarbeKnopfRichtig : FarbeKnopfFalsch);
    return Richtig;
}

bool PaarPruefen(const TAntwortPaar& Paar, double Erwartet, int Grenze, int Kopie) {
    return PaarPruefen(Paar, ZahlAlsText(Erwartet), Grenze, Kopie);
}

bool KlammernUnausgeglichen(const QString& Text) {
    int Tiefe = 0;
    for (QChar c : Text) {
        if (c == QLatin1Char('('))
            ++Tiefe;
        else if (c == QLatin1Char(')') && --Tiefe < 0)
            return true;
    }
    return Tiefe != 0;
}

bool ZahltermFehlerhaft(const QString& Text) {
    for (QChar c : Text)
        if (c.isLetter()) return true;
    return KlammernUnausgeglichen(Text);
}

bool ZahltermWert(const QString& Text, double& Wert) {
    if (Text.trimmed().isEmpty() || ZahltermFehlerhaft(Text)) return false;
    try {
        const tVarWerte Werte{};
        std::string Ergebnis;
        int Fehler = 0;
        Extended x = 0;
        if (!TermAuswerten(BoxText(Text), Ergebnis, Werte, Fehler) || !TermZahl::ZahlLesen(Ergebnis, x))
            return false;
        const double d = TermZahl::AlsDouble(x);
        if (!std::isfinite(d)) return false;
        Wert = d;
        return true;
    } catch (const EMathFehler&) {
        return false;
    }
}

void PaarLeeren(const TAntwortPaar& Paar) {
    if (Paar.Box) Paar.Box->Clear();
    if (Paar.Urteil) Paar.Urteil->SetCaption(QString());
    if (Paar.Pruefen) Paar.Pruefen->Font()->SetColor(clBlack);
}

void LoesungEintragen(const TAntwortPaar& Paar, double Erwartet) {
    if (Paar.Box) Paar.Box->Lines()->SetText(ZahlAlsText(Erwartet));
}

void Urteil(TLabel* Label, const QString& Text, TColor Farbe) {
    Label->Font()->SetColor(Farbe);
    Label->SetCaption(Text);
}

void Fokus(TWinControl* Control) {
    if (Control && Control->CanFocus()) Control->SetFocus();
}

bool BildLaden(TImage* Bild, const QString& Datei) {
    return Bild->Picture()->LoadFromFile(QStringLiteral(":/exercises/") + Datei) ||
           Bild->Picture()->LoadFromFile(QStringLiteral("../resources/exercises/") + Datei);
}

} // namespace Muster

// ---- texts on drawings --------------------------------------------------------------

void TextAusgebenLokal(int x, int y, int SchriftR, int SchriftG, int SchriftB, int PinselR, int PinselG,
                       int PinselB, const QString& Text, char Code, int Groesse, bool Transparent,
                       bool Zentriert, TImage* Bild) {
    TextAusgebenInSchrift(QStringLiteral("Tahoma"), x, y, SchriftR, SchriftG, SchriftB, PinselR, PinselG, PinselB,
                          Text, Code, Groesse, Transparent, Zentriert, Bild);
}

void TextObenLinks(int x, int y, int SchriftR, int SchriftG, int SchriftB, const QString& Text, char Code,
                   int Groesse, bool Transparent, TImage* Bild) {
    TextAusgebenLokal(x, y, SchriftR, SchriftG, SchriftB, 0, 0, 0, Text, Code, Groesse, Transparent, false,
                      Bild);
}

void TextRechteckLokal(int x, int y, const QString& Text, char Code, int Groesse, bool Zentriert,
                       TImage* Bild, TPoint& P1, TPoint& P2) {
    TextRechteckInSchrift(QStringLiteral("Tahoma"), x, y, Text, Code, Groesse, Zentriert, Bild, P1, P2);
}

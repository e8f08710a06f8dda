#include "exercises/chapter2/UTextaufgaben.h"

#include "term/UTermFormular.h"

namespace {

// Columns of a question row.
constexpr int BoxLinks = 160;
constexpr int BoxBreite = 100;
constexpr int ZeilenHoehe = 22;

} // namespace

QStringList Textzeilen(std::initializer_list<const char*> Texte) {
    QStringList l;
    for (const char* t : Texte)
        l << QString::fromUtf8(t);
    return l;
}

TTextaufgabe::TTextaufgabe(TComponent* AOwner, int Kopie, TTextaufgabenZustand& Zustand)
    : TAufgabeg(AOwner), m_kopie(Kopie), m_seite(Zustand.Seite) {
    PanelPage = Muster::Feld(this, nullptr, QStringLiteral("PanelPage"), 8, 30, 792, 585, FarbeTextseiten);
    PanelPage->SetBevelOuter(bvNone);
    PageControl1 = Muster::Seiten(this, PanelPage, QStringLiteral("PageControl1"), 0, 0, 792, 585);
    // The pages show the panel's colour, also when a screenshot whitens it.
    PageControl1->SetParentColor(true);
}

TTabSheet* TTextaufgabe::SeiteAnlegen(const QString& Name) {
    TTabSheet* s = Muster::Seite(this, PageControl1, Name);
    s->SetParentColor(true);
    Seiten.push_back(s);
    return s;
}

TLabel* TTextaufgabe::Text(TWinControl* Blatt, const QString& Name, const QString& Inhalt, int Links,
                           int Oben, bool Fett) {
    return Muster::Beschriftung(this, Blatt, Name, Inhalt, Links, Oben, QStringLiteral("Tahoma"), -16,
                                clBlack, Fett);
}

int TTextaufgabe::Geschichte(TWinControl* Blatt, const QString& Name, const QStringList& Zeilen, int Oben) {
    for (int i = 0; i < Zeilen.size(); ++i)
        Text(Blatt, QStringLiteral("%1_%2").arg(Name).arg(i + 1), Zeilen[i], 12, Oben + ZeilenHoehe * i);
    return Oben + ZeilenHoehe * int(Zeilen.size());
}

TImage* TTextaufgabe::Bild(TWinControl* Blatt, const QString& Name, const QString& Datei, int Links,
                           int Oben) {
    TImage* i = Muster::Bild(this, Blatt, Name, Links, Oben, 240, 160);
    i->SetStretch(true);
    i->SetProportional(true);
    i->SetTransparent(true);
    i->Picture()->LoadFromFile(QStringLiteral(":/textaufgaben/") + Datei);
    return i;
}

int TTextaufgabe::PostenAnlegen(TWinControl* Blatt, int Oben, const TPostenDef& Def) {
    using namespace Muster;
    TTextPosten p;
    p.Seite = int(Seiten.size()) - 1;
    p.Erwartet = QString::fromUtf8(Def.Erwartet);
    const QString Box = QString::fromLatin1(Def.Box);
    if (Def.Vorsatz)
        Text(Blatt, Box + QStringLiteral("Vorsatz"), QString::fromUtf8(Def.Vorsatz), 12, Oben + 6);
    p.Box = Antwortbox(this, Blatt, Box, BoxLinks, Oben, BoxBreite);
    p.Einheit = Text(Blatt, Box + QStringLiteral("Einheit"), QString::fromUtf8(Def.Einheit), BoxLinks + 108,
                     Oben + 6, true);
    p.Pruefen =
        Knopf(this, Blatt, QString::fromLatin1(Def.Pruefen), QStringLiteral("prüfen"), 372, Oben, 80, 33);
    p.Urteil = Urteilslabel(this, Blatt, QString::fromLatin1(Def.Urteil), BoxLinks, Oben + 37, 378, 24);
    p.Box->OnChange = [this](TObject* s) { RichEdit1Change(s); };
    p.Box->OnKeyPress = [this](TObject* s, char16_t& Key) { RichEdit1KeyPress(s, Key); };
    p.Pruefen->OnClick = [this](TObject* s) { BitBtnP1Click(s); };
    Posten.push_back(p);
    return int(Posten.size()) - 1;
}

void TTextaufgabe::HilfeAnlegen(int k, int Links, int Oben, int Breite, const THilfeDef& Def) {
    using namespace Muster;
    TTextPosten& p = Posten[size_t(k)];
    TWinControl* Blatt = p.Box->Parent();
    p.Hilfe = Knopf(this, Blatt, QString::fromLatin1(Def.Hilfe), QStringLiteral("Hilfe"), 458, p.Box->Top(),
                    70, 33);
    p.Hilfe->OnClick = [this](TObject* s) { BitBtnHilfeClick(s); };
    p.Hilfefeld =
        Hilfefeld(this, Blatt, QString::fromLatin1(Def.Panel), Links, Oben, Breite, Def.Zeilen, -16, 22);
    p.Hilfefeld->SetColor(FarbeTexthilfe);
    if (!Def.Ergebnis) return;
    const int Unten = p.Hilfefeld->Height();
    p.Hilfefeld->SetHeight(Unten + 38);
    p.Ergebnis = Knopf(this, p.Hilfefeld, QString::fromLatin1(Def.Ergebnis), QStringLiteral("Ergebnis"), 8,
                       Unten, 100, 30);
    p.Ergebnis->OnClick = [this](TObject* s) { BitBtnErgebnisClick(s); };
}

TBitBtn* TTextaufgabe::ErgebnisAnlegen(int k, TWinControl* Blatt, const char* Name, int Links, int Oben,
                                       int Breite) {
    TTextPosten& p = Posten[size_t(k)];
    p.Ergebnis = Muster::Knopf(this, Blatt, QString::fromLatin1(Name), QStringLiteral("Ergebnis"), Links,
                               Oben, Breite, 33);
    p.Ergebnis->OnClick = [this](TObject* s) { BitBtnErgebnisClick(s); };
    return p.Ergebnis;
}

TPanel* TTextaufgabe::Tafel(TWinControl* Blatt, const QString& Name, int Links, int Oben, int Breite,
                            const QStringList& Zeilen, int TextLinks) {
    TPanel* t =
        Muster::Feld(this, Blatt, Name, Links, Oben, Breite, 12 + ZeilenHoehe * int(Zeilen.size()), clWhite);
    for (int i = 0; i < Zeilen.size(); ++i)
        Text(t, QStringLiteral("%1Zeile%2").arg(Name).arg(i + 1), Zeilen[i], TextLinks, 6 + ZeilenHoehe * i);
    return t;
}

int TTextaufgabe::TafelPostenAnlegen(TWinControl* Blatt, const QString& Panel, int Oben, const QString& Zeile,
                                     const TPostenDef& Def, const char* Ergebnis) {
    TPanel* t = Tafel(Blatt, Panel, 0, Oben, 540, {});
    t->SetHeight(96);
    Text(t, Panel + QStringLiteral("Zeile"), Zeile, 12, 6);
    const int k = PostenAnlegen(t, 30, Def);
    ErgebnisAnlegen(k, t, Ergebnis, 458, 30, 80);
    return k;
}

int TTextaufgabe::PostenVon(TObject* Sender) const {
    for (size_t k = 0; k < Posten.size(); ++k) {
        const TTextPosten& p = Posten[k];
        if (Sender && (Sender == p.Box || Sender == p.Pruefen || Sender == p.Hilfe || Sender == p.Ergebnis))
            return int(k);
    }
    return -1;
}

int TTextaufgabe::SichtbareSeite() const {
    for (size_t i = 0; i < Seiten.size(); ++i)
        if (PageControl1->ActivePage() == Seiten[i]) return int(i) + 1;
    return 0;
}

void TTextaufgabe::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    // The stories are fixed: no seed is needed.
    m_seite = 0;
    NeueAufgabe();
}

void TTextaufgabe::NeueAufgabe() {
    Aufgabenanzahl = int32_t(Seiten.size());
    TAufgabeg::NeueAufgabe();
    for (TTextPosten& p : Posten) {
        if (p.Hilfefeld) p.Hilfefeld->SetVisible(false);
        p.Box->Clear();
        p.Urteil->SetCaption(QString());
        p.Pruefen->Font()->SetColor(clBlack);
    }
    Leeren();
    if (++m_seite > int(Seiten.size())) m_seite = 1;
    PageControl1->SetActivePage(Seiten[size_t(m_seite - 1)]);
    if (FokusAufJederSeite || m_seite == 1)
        for (const TTextPosten& p : Posten)
            if (p.Seite == m_seite - 1) {
                Muster::Fokus(p.Box);
                break;
            }
}

void TTextaufgabe::RichEdit1Change(TObject* Sender) {
    auto* Box = dynamic_cast<TRichEdit*>(Sender);
    if (!Box) return;
    if (m_kopie == 1)
        EingabeFormatierenKomma1(Box);
    else
        EingabeFormatierenKomma2(Box);
}

void TTextaufgabe::RichEdit1KeyPress(TObject* Sender, char16_t& Key) {
    auto* Box = dynamic_cast<TRichEdit*>(Sender);
    if (!Box) return;
    bool Enter = false;
    if (m_kopie == 1)
        TasteFiltern1(Key, Enter, Box);
    else
        TasteFiltern2(Key, Enter, Box);
    if (!Enter) return;
    Key = 0;
    TextaufgabePruefen(Sender);
}

bool TTextaufgabe::TextaufgabePruefen(TObject* Sender) {
    const int k = PostenVon(Sender);
    if (k < 0) return false;
    const TTextPosten& p = Posten[size_t(k)];
    bool Richtig = false;
    if (m_kopie == 1)
        ErgebnisPruefen1(Muster::Antwort(p.Box), p.Erwartet, p.Urteil, 25, 'c', Richtig, 0, 0);
    else
        ErgebnisPruefen2(Muster::Antwort(p.Box), p.Erwartet, p.Urteil, 25, 'c', Richtig, 0, 0);
    p.Pruefen->Font()->SetColor(Richtig ? FarbeKnopfRichtig : FarbeKnopfFalsch);
    return Richtig;
}

void TTextaufgabe::BitBtnP1Click(TObject* Sender) {
    TextaufgabePruefen(Sender);
}

void TTextaufgabe::BitBtnHilfeClick(TObject* Sender) {
    const int k = PostenVon(Sender);
    if (k < 0 || !Posten[size_t(k)].Hilfefeld) return;
    // The newest help comes to the front of others that share its place.
    Posten[size_t(k)].Hilfefeld->SetVisible(true);
    Posten[size_t(k)].Hilfefeld->BringToFront();
    Muster::Fokus(Posten[size_t(k)].Box);
    HilfeGezeigt(k);
}

void TTextaufgabe::BitBtnErgebnisClick(TObject* Sender) {
    const int k = PostenVon(Sender);
    if (k < 0) return;
    const TTextPosten& p = Posten[size_t(k)];
    p.Box->SetText(p.Erwartet);
    TextaufgabePruefen(p.Box);
    ErgebnisGezeigt(k);
}

#include "exercises/chapter2/UZqK2_1B1.h"

#include "drawing/UZeichnen1.h"
#include "term/UTermFormular.h"
#include "term/UTermEingabe.h"

TZeiteinheitenZustand ZqK2_1B1;

namespace {

constexpr TColor Gruen = RGB(0, 255, 0);
constexpr TColor Rot = RGB(255, 0, 0);
constexpr TColor Gelb = RGB(255, 255, 0);
constexpr TColor Hilfegelb = RGB(255, 255, 128);

// Expected answers of the single boxes, by box number.
QString Einzelwert(int n) {
    switch (n) {
    case 1: return QStringLiteral("300");
    case 2: return QStringLiteral("150");
    case 3: return QStringLiteral("3");
    case 4: return QStringLiteral("15");
    case 9: return QStringLiteral("24");
    case 12: return QStringLiteral("60");
    case 13: return QStringLiteral("45");
    case 14: return QStringLiteral("30");
    case 15: return QStringLiteral("15");
    default: return QString();
    }
}

// A box text that would change the shape of the term it is spliced into.
bool KlammernOffen(const QString& Text) {
    int Tiefe = 0;
    for (QChar c : Text) {
        if (c == QLatin1Char('('))
            ++Tiefe;
        else if (c == QLatin1Char(')') && --Tiefe < 0)
            return true;
    }
    return Tiefe != 0;
}

} // namespace

TZqK2_1B1::TZqK2_1B1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK2_1B1"));
    SetCaption(QStringLiteral("Abschnitt 2.1   Übung 3"));
    Label1 = Titel(this, QStringLiteral("Umwandeln von Zeiteinheiten und Umgang mit Zeiten"));
    PageControl1 = Seiten(this, nullptr, QStringLiteral("PageControl1"), 0, 28, 793, 560);

    int Nr = 100;
    auto Text = [this, &Nr](TWinControl* p, const QString& t, int x, int y, int h = -19, bool fett = false) {
        return Muster::Beschriftung(this, p, QStringLiteral("Label%1").arg(++Nr), t, x, y, QStringLiteral("Tahoma"),
                                    h, clBlack, fett);
    };
    auto Box = [this](TWinControl* p, int n, int x, int y, int w = 81) {
        TRichEdit* b = Muster::Antwortbox(this, p, QStringLiteral("RichEdit%1").arg(n), x, y, w);
        b->SetAlignment(taCenter);
        RichEdit[n] = b;
        b->OnChange = [b](TObject*) { EingabeFormatieren2(b); };
        b->OnKeyPress = [this, b](TObject*, char16_t& Key) {
            // No products in these answers.
            if (Key == u'*') {
                Key = 0;
                return;
            }
            bool Enter = false;
            TasteFiltern2(Key, Enter, b);
            if (Enter) {
                Key = 0;
                ZeitaufgabePruefen(b);
            }
        };
        return b;
    };
    auto Pruefknopf = [this](TWinControl* p, int n, int x, int y) {
        TBitBtn* k = Muster::Knopf(this, p, QStringLiteral("BitBtnP%1").arg(n), QStringLiteral("prüfen"), x, y, 89, 33);
        k->OnClick = [this](TObject* s) { BitBtnP1Click(s); };
        BitBtnP[n] = k;
        return k;
    };
    auto Urteil = [this](TWinControl* p, int n, int x, int y, int w = 385) {
        TLabel* l = Muster::Urteilslabel(this, p, QStringLiteral("LabelP%1").arg(n), x, y, w);
        l->SetAlignment(taCenter);
        LabelP[n] = l;
        return l;
    };
    auto Hilfe = [this](TWinControl* p, int k, const QStringList& Zeilen) {
        BitBtnHilfe[k] = Muster::Knopf(this, p, QStringLiteral("BitBtnHilfe%1").arg(k), QStringLiteral("Hilfe"), 16,
                                       240, 89, 33);
        BitBtnHilfe[k]->OnClick = [this](TObject* s) { BitBtnHilfeClick(s); };
        PanelHilfe[k] = Muster::Hilfefeld(this, p, QStringLiteral("PanelHilfe%1").arg(k), 16, 284, 480, Zeilen);
        PanelHilfe[k]->SetColor(Hilfegelb);
        return PanelHilfe[k];
    };

    for (int k = 1; k <= 8; ++k) {
        TabSheet[k] = Seite(this, PageControl1, QStringLiteral("TabSheet%1").arg(k));
        TPanel* Einheiten = Feld(this, TabSheet[k], QStringLiteral("PanelEinheiten%1").arg(k), 560, 420, 220, 84,
                                 FarbeAufgabenfeld);
        Text(Einheiten, QStringLiteral("1 d ( Tag ) = 24 h ( Stunden )"), 8, 6, -14);
        Text(Einheiten, QStringLiteral("1 h  = 60 min ( Minuten )"), 8, 30, -14);
        Text(Einheiten, QStringLiteral("1 min = 60 s ( Sekunden )"), 8, 54, -14);
    }

    // 1: hours into minutes
    TTabSheet* s = TabSheet[1];
    Text(s, QStringLiteral("5 h ="), 16, 64);
    Box(s, 1, 80, 60);
    Text(s, QStringLiteral("min"), 168, 64);
    Pruefknopf(s, 1, 224, 60);
    Urteil(s, 1, 16, 110);
    Hilfe(s, 1, {QStringLiteral("1 h  = 60 min"), QStringLiteral("5 h  = 5 · 60 min")});

    // 2: minutes and seconds into seconds
    s = TabSheet[2];
    Text(s, QStringLiteral("Zwei Minuten und 30 Sekunden ergeben wie viele Sekunden ?"), 16, 16);
    Text(s, QStringLiteral("2 min 30 s ="), 16, 64);
    Box(s, 2, 136, 60);
    Text(s, QStringLiteral("s"), 224, 64);
    Pruefknopf(s, 2, 256, 60);
    Urteil(s, 2, 16, 110);
    Hilfe(s, 2, {QStringLiteral("1 min  = 60 s"), QStringLiteral("Rechne: 2 · 60 s + 30 s")});

    // 3: seconds into minutes
    s = TabSheet[3];
    Text(s, QStringLiteral("180 s ="), 16, 64);
    Box(s, 3, 96, 60);
    Text(s, QStringLiteral("min"), 184, 64);
    Pruefknopf(s, 3, 240, 60);
    Urteil(s, 3, 16, 110);
    Hilfe(s, 3, {QStringLiteral("60 s = 1 min"), QStringLiteral("Rechne: 180 s : 60 = Zeit in Minuten")});

    // 4: a quarter of an hour
    s = TabSheet[4];
    Text(s, QStringLiteral("Eine Viertelstunde sind wie viele Minuten ?"), 16, 16);
    Text(s, QStringLiteral("1"), 20, 48);
    Feld(this, s, QStringLiteral("PanelBruchstrich"), 16, 72, 18, 2, clBlack);
    Text(s, QStringLiteral("4"), 20, 76);
    Text(s, QStringLiteral("h ="), 44, 62);
    Box(s, 4, 88, 58);
    Text(s, QStringLiteral("min"), 176, 62);
    Pruefknopf(s, 4, 232, 58);
    Urteil(s, 4, 16, 110);
    Hilfe(s, 4, {QStringLiteral("1 h  = 60 min"), QStringLiteral("1 h : 4 = 60 min : 4 = ( 60 : 4 ) min")});

    // 5: minutes into hours and minutes
    s = TabSheet[5];
    Text(s, QStringLiteral("Gemischte Schreibweise in Stunden und Minuten"), 16, 16);
    Text(s, QStringLiteral("200 min ="), 16, 64);
    Box(s, 5, 112, 60, 65);
    Text(s, QStringLiteral("h"), 184, 64);
    Box(s, 6, 208, 60, 65);
    Text(s, QStringLiteral("min"), 280, 64);
    Pruefknopf(s, 5, 336, 60);
    Urteil(s, 5, 16, 110);
    TPanel* h5 = Hilfe(s, 5, {QStringLiteral("200 min = 180 min + 20 min"),
                              QStringLiteral("Du kannst auch 200 min : 60 = Zeit in Stunden rechnen.")});
    h5->SetWidth(560);
    h5->SetHeight(104);
    BitBtn8 = Knopf(this, h5, QStringLiteral("BitBtn8"), QStringLiteral("Lösung"), 8, 64, 89, 33);
    BitBtn8->OnClick = [this](TObject* x) { BitBtnHilfeClick(x); };
    PanelLoesung5 = Hilfefeld(this, s, QStringLiteral("PanelLoesung5"), 16, 396, 520,
                              {QStringLiteral("200 min = 180 : 60 h + 20 min = 3 h + 20 min"),
                               QStringLiteral("200 min = ( 200 : 60 ) h = ( 3 + 20 : 60 ) h = 3 h + 20 min")});
    PanelLoesung5->SetColor(Hilfegelb);

    // 6: hours into days and hours
    s = TabSheet[6];
    Text(s, QStringLiteral("Bis zur Fußballweltmeisterschaft sind es nur noch 100 Stunden."), 16, 16);
    Text(s, QStringLiteral("Gemischte Schreibweise in Tagen und Stunden"), 16, 40);
    Text(s, QStringLiteral("100 h ="), 16, 80);
    Box(s, 7, 96, 76, 65);
    Text(s, QStringLiteral("d"), 168, 80);
    Box(s, 8, 192, 76, 65);
    Text(s, QStringLiteral("h"), 264, 80);
    Pruefknopf(s, 7, 296, 76);
    Urteil(s, 7, 16, 124);
    TPanel* h6 = Hilfe(s, 6, {QStringLiteral("100 h = 96 h + 4 h"),
                              QStringLiteral("Du kannst auch 100 h : 24 = Zeit in Tagen rechnen"),
                              QStringLiteral("1 d = 24 h")});
    h6->SetWidth(560);
    h6->SetHeight(128);
    BitBtn10 = Knopf(this, h6, QStringLiteral("BitBtn10"), QStringLiteral("Lösung"), 8, 88, 89, 33);
    BitBtn10->OnClick = [this](TObject* x) { BitBtnHilfeClick(x); };
    PanelLoesung6 = Hilfefeld(this, s, QStringLiteral("PanelLoesung6"), 16, 420, 520,
                              {QStringLiteral("100 h = ( 96 : 24 ) d + 4 h = 4 d + 4 h"),
                               QStringLiteral("100 h = ( 100 : 24 ) d = ( 4 + 4 : 24 ) d = 4 d + 4 h")});
    PanelLoesung6->SetColor(Hilfegelb);

    // 7: seconds up to a minute
    s = TabSheet[7];
    Text(s, QStringLiteral("Es sind 36 Sekunden vergangen. Wie viele Sekunden fehlen noch bis zu einer Minute ?"),
         16, 16, -16);
    Text(s, QStringLiteral("36 s +"), 16, 64);
    Box(s, 9, 88, 60);
    Text(s, QStringLiteral("s = 1 min"), 176, 64);
    Pruefknopf(s, 9, 280, 60);
    Urteil(s, 9, 16, 110);
    TPanel* h7 = Hilfe(s, 7, {QStringLiteral("1 min  = 60 s"), QStringLiteral("Rechne: 60 s    36 s")});
    Muster::Beschriftung(this, h7, QStringLiteral("LabelMinus"), QStringLiteral("-"), 126, 30);

    // 8: a timetable
    s = TabSheet[8];
    Text(s, QStringLiteral("Donnerstags finden in einem Fitness - Studio die folgenden Kurse statt:"), 16, 8, -16);
    const char* Zeit[3] = {"17.00 - 18.00", "18.00 - 18.45", "19.00 - 19.30"};
    const char* Kurs[3] = {"STEP 2", "BODYSTYLING", "POWER BAUCH"};
    for (int i = 0; i < 3; ++i) {
        Text(s, QString::fromLatin1(Zeit[i]), 32, 36 + 24 * i, -16, true);
        Text(s, QString::fromLatin1(Kurs[i]), 184, 36 + 24 * i, -16, true);
    }
    Text(s, QStringLiteral("Notiere die Kursdauer in Minuten."), 16, 116, -16);
    Text(s, QStringLiteral("Wie lange dauert die Pause zwischen BODYSTYLING und POWER BAUCH ?"), 16, 140, -16);
    const char* Zeile[4] = {"STEP 2 :", "BODYSTYLING :", "POWER BAUCH :", "Pause :"};
    for (int i = 0; i < 4; ++i) {
        const int n = 12 + i, y = 168 + 40 * i;
        Text(s, QString::fromLatin1(Zeile[i]), 16, y + 6, -16);
        Box(s, n, 160, y);
        Text(s, QStringLiteral("min"), 248, y + 6, -16);
        Pruefknopf(s, n, 296, y);
        Urteil(s, n, 392, y + 4, 250);
    }
    Text(s, QStringLiteral("Das Fitness - Studio ist von 7.30 - 22.00 geöffnet."), 16, 336, -16);
    Text(s, QStringLiteral("Mögliche Nutzungsdauer :"), 16, 370, -16);
    Box(s, 10, 216, 364, 65);
    Text(s, QStringLiteral("h"), 288, 370, -16);
    Box(s, 11, 312, 364, 65);
    Text(s, QStringLiteral("min"), 384, 370, -16);
    Pruefknopf(s, 10, 432, 364);
    Urteil(s, 10, 16, 408, 520);
}

void TZqK2_1B1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK2_1B1.Aufgabe = 0;
    NeueAufgabe();
}

void TZqK2_1B1::NeueAufgabe() {
    Aufgabenanzahl = 8;
    TAufgabeg::NeueAufgabe();
    TZeiteinheitenZustand& Z = ZqK2_1B1;
    Z.Aufgabe = Z.Aufgabe >= 8 || Z.Aufgabe < 0 ? 1 : Z.Aufgabe + 1;
    PageControl1->SetActivePageIndex(Z.Aufgabe - 1);
    ZeitaufgabeEinrichten();
}

void TZqK2_1B1::ZeitaufgabeEinrichten() {
    TZeiteinheitenZustand& Z = ZqK2_1B1;
    static const int EinzelBox[9] = {0, 1, 2, 3, 4, 0, 0, 9, 0};
    const int k = Z.Aufgabe;
    if (k >= 1 && k <= 7 && EinzelBox[k]) {
        const int n = EinzelBox[k];
        Z.Erwartet = Einzelwert(n);
        RichEdit[n]->Clear();
        LabelP[n]->SetCaption(QString());
        PanelHilfe[k]->SetVisible(false);
        Muster::Fokus(RichEdit[n]);
    } else if (k == 5 || k == 6) {
        const int n = k == 5 ? 5 : 7;
        Z.Teil1 = k == 5 ? 3 : 4;
        Z.Teil2 = k == 5 ? 20 : 4;
        for (TRichEdit* b : {RichEdit[n], RichEdit[n + 1]}) {
            b->Clear();
            b->SetColor(clWhite);
        }
        LabelP[n]->SetCaption(QString());
        PanelHilfe[k]->SetVisible(false);
        (k == 5 ? PanelLoesung5 : PanelLoesung6)->SetVisible(false);
        Muster::Fokus(RichEdit[n]);
    } else if (k == 8) {
        for (int n = 10; n <= 15; ++n)
            RichEdit[n]->Clear();
        for (int n : {10, 12, 13, 14, 15})
            LabelP[n]->SetCaption(QString());
        RichEdit[10]->SetColor(clWhite);
        RichEdit[11]->SetColor(clWhite);
        Z.Teil1 = 14;
        Z.Teil2 = 30;
        Muster::Fokus(RichEdit[12]);
    }
}

void TZqK2_1B1::Gemischt(TRichEdit* Box1, TRichEdit* Box2, TLabel* Label, int Faktor) {
    const TZeiteinheitenZustand& Z = ZqK2_1B1;
    const QString a1 = Muster::Antwort(Box1), a2 = Muster::Antwort(Box2);
    bool r1 = false, r2 = false;
    ErgebnisPruefen2(a1, ZahlAlsText(Z.Teil1), Label, 25, 'c', r1, 0, 0);
    ErgebnisPruefen2(a2, ZahlAlsText(Z.Teil2), Label, 25, 'c', r2, 0, 0);
    Box1->SetColor(r1 ? Gruen : !a1.isEmpty() ? Rot : clWhite);
    Box2->SetColor(r2 ? Gruen : !a2.isEmpty() ? Rot : clWhite);
    if (a1.isEmpty() || a2.isEmpty()) {
        Muster::Urteil(Label, QStringLiteral("Es fehlen noch Einträge."), Gelb);
        return;
    }
    if (r1 && r2) {
        Muster::Urteil(Label, QStringLiteral("Das stimmt. Sehr gut, weiter so."), Gruen);
        return;
    }
    // A bracket left open in a box would reshape the whole term, so such an
    // answer cannot be equal in value.
    bool Wert = false;
    if (!KlammernOffen(a1) && !KlammernOffen(a2)) {
        const QString Term = QStringLiteral("(") + a1 + QStringLiteral(")*%1+(").arg(Faktor) + a2 + QStringLiteral(")");
        ErgebnisPruefen2(Term, ZahlAlsText(Z.Teil1 * Faktor + Z.Teil2), Label, 25, 'c', Wert, 0, 0);
    }
    if (Wert)
        Muster::Urteil(Label, QStringLiteral("Richtig, aber nicht die gewünschte Form."), Gelb);
    else
        Muster::Urteil(Label, QStringLiteral("Leider falsch."), Rot);
}

void TZqK2_1B1::ZeitaufgabePruefen(TObject* Sender) {
    if (!Sender) return;
    int n = 0;
    for (int i = 1; i <= 15; ++i)
        if (Sender == RichEdit[i] || (BitBtnP[i] && Sender == BitBtnP[i])) n = i;
    if (n == 0) return;
    switch (n) {
    case 5:
    case 6: Gemischt(RichEdit[5], RichEdit[6], LabelP[5], 60); return;
    case 7:
    case 8: Gemischt(RichEdit[7], RichEdit[8], LabelP[7], 24); return;
    case 10:
    case 11: Gemischt(RichEdit[10], RichEdit[11], LabelP[10], 60); return;
    default: break;
    }
    // The timetable answers are fixed; the others are the current task's.
    if (n >= 12) ZqK2_1B1.Erwartet = Einzelwert(n);
    bool Richtig = false;
    ErgebnisPruefen2(Muster::Antwort(RichEdit[n]), ZqK2_1B1.Erwartet, LabelP[n], 25, 'c', Richtig, 0, 0);
}

void TZqK2_1B1::BitBtnP1Click(TObject* Sender) {
    ZeitaufgabePruefen(Sender);
}

void TZqK2_1B1::BitBtnHilfeClick(TObject* Sender) {
    if (!Sender) return;
    if (Sender == BitBtn8) {
        PanelLoesung5->SetVisible(true);
        return;
    }
    if (Sender == BitBtn10) {
        PanelLoesung6->SetVisible(true);
        return;
    }
    static const int EinzelBox[8] = {0, 1, 2, 3, 4, 0, 0, 9};
    for (int k = 1; k <= 7; ++k) {
        if (Sender != BitBtnHilfe[k]) continue;
        PanelHilfe[k]->SetVisible(true);
        if (EinzelBox[k]) Muster::Fokus(RichEdit[EinzelBox[k]]);
    }
}

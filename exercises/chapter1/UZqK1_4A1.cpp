#include "exercises/chapter1/UZqK1_4A1.h"

#include "drawing/Bildzugang.h"
#include "drawing/UZeichnen1.h"
#include "drawing/UZeichnen2.h"
#include "platform/CodePage.h"
#include "platform/Runtime.h"
#include "term/UTermFormular.h"

int ZqK1_4A1_Aufgabe = 0;
int ZqK1_4A1_Hoehe[8] = {};

namespace {

struct TTier {
    const char* Name;
    int Anzahl;       // in the drawn chart
    int Bauen;        // in the chart to build
    const char* Bild; // its picture (100 x 100) in the resources
};

const TTier Tiere[8] = {{"", 0, 0, ""},
                        {"Distelfink", 6, 7, "tier_distelfink.png"},
                        {"Bergfink", 4, 6, "tier_bergfink.png"},
                        {"Blaumeise", 8, 4, "tier_blaumeise.png"},
                        {"Kohlmeise", 7, 8, "tier_kohlmeise.png"},
                        {"Haubenmeise", 2, 1, "tier_haubenmeise.png"},
                        {"Rotkehlchen", 5, 3, "tier_rotkehlchen.png"},
                        {"Eichhörnchen", 3, 2, "tier_eichhoernchen.png"}};

const int BildLinks[8] = {0, 24, 128, 232, 336, 440, 544, 648};
const int KnopfLinks[8] = {0, 8, 112, 216, 320, 424, 550, 668};
const int KnopfBreite[8] = {0, 97, 97, 97, 97, 121, 113, 117};

struct TFrage {
    const char* Frage;
    int Anzahl;       // tasks 1-6
    const char* Tier; // tasks 7, 8
    std::initializer_list<const char*> Hilfe;
};

const TFrage Fragen[9] = {
    {"", 0, "", {}},
    {"Wie viele Eichhörnchen hat Sie gezählt ?",
     3,
     "",
     {"Du siehst links auf der Hochachse Zahlen", "von 0 bis 8.", "Bis zu welcher Höhe geht der blau",
      "dargestellte Balken des Eichhörnchens ?"}},
    {"Wie viele Rotkehlchen hat Sie gezählt ?",
     5,
     "",
     {"Du siehst links auf der Hochachse Zahlen", "von 0 bis 8.", "Bis zu welcher Höhe geht der blau",
      "dargestellte Balken des Rotkehlchens ?"}},
    {"Wie viele Meisen hat Sie gezählt ?",
     17,
     "",
     {"Es gibt Blaumeisen, Kohlmeisen und", "Haubenmeisen.", "Addiere die 3 Anzahlen."}},
    {"Wie viele Finken hat Sie gezählt ?",
     10,
     "",
     {"Es gibt Distelfinken und Bergfinken.", "Addiere die beiden Anzahlen."}},
    {"Wie viele Vögel hat Sie gezählt ?", 32, "", {"Addiere die Anzahlen für die 6", "dargestellten Vögel."}},
    {"Wie viele Tiere hat Sie gezählt ?", 35, "", {"Addiere die Anzahlen für die 7", "dargestellten Tiere."}},
    {"Welches Tier kam am häufigsten ?",
     0,
     "Blaumeise",
     {"Bei welchem Tier ist der blau", "dargestellte Balken am höchsten ?"}},
    {"Welches Tier kam am seltesten ?",
     0,
     "Haubenmeise",
     {"Bei welchem Tier ist der blau", "dargestellte Balken am niedrigsten ?"}},
};

QString Tiername(int i) {
    return QString::fromUtf8(Tiere[i].Name);
}

TLabel* Text19(TZqK1_4A1* f, TWinControl* Parent, const QString& Name, const QString& s, int x, int y,
               TColor Farbe = clBlack) {
    return Muster::Beschriftung(f, Parent, Name, s, x, y, QStringLiteral("Tahoma"), -19, Farbe);
}

void TierbildZeichnen(TImage* Bild, int i) {
    Muster::BildLaden(Bild, QString::fromLatin1(Tiere[i].Bild));
}

} // namespace

TZqK1_4A1::TZqK1_4A1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK1_4A1"));
    SetCaption(QStringLiteral("Abschnitt 1.4   Übung 1"));
    Label1 = Titel(this, QStringLiteral("Balkendiagramme"));

    PanelPage = Feld(this, nullptr, QStringLiteral("PanelPage"), 0, 24, 793, 470, RGB(210, 242, 222));
    PanelPage->SetBevelOuter(bvNone);
    PageControl1 = Seiten(this, PanelPage, QStringLiteral("PageControl1"), 0, 0, 793, 470);
    PageControl1->SetAlign(alClient);
    // The pages show the light green of the panel they fill.
    PageControl1->SetParentColor(true);
    TabSheet1 = Seite(this, PageControl1, QStringLiteral("TabSheet1"));
    TabSheet2 = Seite(this, PageControl1, QStringLiteral("TabSheet2"));

    // The questions on the drawn chart.
    TTabSheet* S = TabSheet1;
    Text19(this, S, QStringLiteral("Label2"), QStringLiteral("Gaby beobachtet Tiere in ihrem Garten"), 24, 0);
    Image1 = Zeichenbild(this, S, QStringLiteral("Image1"), 0, 24, 769, 200);
    const int Bildnummer[8] = {0, 2, 6, 3, 4, 5, 7, 8};
    for (int i = 1; i <= 7; ++i) {
        Tierbild1[i] =
            Bild(this, S, QStringLiteral("Image%1").arg(Bildnummer[i]), BildLinks[i], 224, 100, 100);
        TierbildZeichnen(Tierbild1[i], i);
    }
    LabelF1 = Text19(this, S, QStringLiteral("LabelF1"), QString(), 24, 328);
    LabelP1 = Urteilslabel(this, S, QStringLiteral("LabelP1"), 24, 356, 369, 23);
    Label4 = Text19(this, S, QStringLiteral("Label4"), QStringLiteral("Anzahl ="), 24, 384);
    RichEdit1 = Antwortbox(this, S, QStringLiteral("RichEdit1"), 104, 380, 97, 30);
    BoxVerbinden(RichEdit1, 2, nullptr);
    const auto Formatieren = RichEdit1->OnChange;
    RichEdit1->OnChange = [this, Formatieren](TObject* s) {
        Formatieren(s);
        RichEdit1Change(s);
    };
    RichEdit1->OnKeyPress = [this](TObject* s, char16_t& k) { RichEdit1KeyPress(s, k); };
    BitBtnP1 = Knopf(this, S, QStringLiteral("BitBtnP1"), QStringLiteral("prüfen"), 208, 380, 75, 30, -19);
    BitBtnP1->OnClick = [this](TObject* s) { BitBtnP1Click(s); };
    BitBtnHilfe =
        Knopf(this, S, QStringLiteral("BitBtnHilfe"), QStringLiteral("Hilfe"), 318, 380, 75, 30, -19);
    BitBtnHilfe->Font()->SetColor(clGreen);
    BitBtnHilfe->OnClick = [this](TObject* s) { BitBtnHilfeClick(s); };
    PanelH1 = Feld(this, S, QStringLiteral("PanelH1"), 400, 354, 377, 99, RGB(255, 255, 128));
    LabelH1 = Text19(this, PanelH1, QStringLiteral("LabelH1"), QString(), 8, 4);
    PanelH1->SetVisible(false);
    // Created after the answer box so that it lies over it in tasks 7 and 8.
    RichEdit2 = Antwortbox(this, S, QStringLiteral("RichEdit2"), 24, 380, 265, 30);
    RichEdit2->SetReadOnly(true);
    RichEdit2->SetAlignment(taCenter);
    RichEdit2->SetTabStop(false);

    // The chart to build.
    S = TabSheet2;
    Text19(this, S, QStringLiteral("Label3"),
           QStringLiteral("An einem anderen Tag beobachtet Gaby die unten angegebenen Zahlen."), 24, 0);
    Text19(this, S, QStringLiteral("Label5"),
           QStringLiteral("Erstelle ein zugehöriges Balkendiagramm. Klicke dazu mit der Maus"), 24, 24);
    Text19(this, S, QStringLiteral("Label6"),
           QStringLiteral("auf die Position der Zeichenfläche bis zu der der Balken gezeichnet werden soll."),
           24, 48);
    Text19(this, S, QStringLiteral("Label14"),
           QStringLiteral("Stimmt die Höhe, so wird der Balken grün gezeichnet, anderenfalls rot."), 24, 72);
    Image9 = Zeichenbild(this, S, QStringLiteral("Image9"), 0, 104, 769, 200);
    Image9->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        Image9MouseDown(s, b, sh, x, y);
    };
    Image9->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        Image9MouseUp(s, b, sh, x, y);
    };
    for (int i = 1; i <= 7; ++i) {
        Tierbild2[i] = Bild(this, S, QStringLiteral("Image%1h").arg(i), BildLinks[i], 304, 100, 100);
        TierbildZeichnen(Tierbild2[i], i);
        Text19(this, S, QStringLiteral("LabelZahl%1").arg(i), QString::number(Tiere[i].Bauen),
               BildLinks[i] + 45, 408);
    }

    // The animal buttons of tasks 7 and 8.
    Panel1 = Feld(this, nullptr, QStringLiteral("Panel1"), 0, 496, 793, 81, RGB(210, 242, 222));
    for (int i = 1; i <= 7; ++i) {
        BitBtn[i] = Knopf(this, Panel1, QStringLiteral("BitBtn%1").arg(i), Tiername(i), KnopfLinks[i], 8,
                          KnopfBreite[i], 33, -19);
        BitBtn[i]->Font()->SetStyle(TFontStyles(0)); // the longer names need the room
        BitBtn[i]->OnClick = [this](TObject* s) { BitBtnP1Click(s); };
    }
    Label15 = Text19(this, Panel1, QStringLiteral("Label15"),
                     QStringLiteral("Wähle den richtigen Button aus."), 8, 48, clBlue);
}

void TZqK1_4A1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK1_4A1_Aufgabe = 0;
    NeueAufgabe();
}

void TZqK1_4A1::NeueAufgabe() {
    Aufgabenanzahl = 9;
    TAufgabeg::NeueAufgabe();

    m_maustaste = false;
    for (int& h : ZqK1_4A1_Hoehe)
        h = 0;
    RichEdit1->Clear();
    LabelP1->SetCaption(QString());
    BitBtnP1->Font()->SetColor(clBlack);
    for (int i = 1; i <= 7; ++i)
        BitBtn[i]->Font()->SetColor(clBlack);
    PanelH1->SetVisible(false);

    ZqK1_4A1_Aufgabe = ZqK1_4A1_Aufgabe % 9 + 1;
    const int n = ZqK1_4A1_Aufgabe;

    RichEdit1->SetLeft(Skaliert(104));
    RichEdit1->SetWidth(Skaliert(97));
    if (n <= 8) {
        Muster::Fokus(RichEdit1);
        const TFrage& F = Fragen[n];
        LabelF1->SetCaption(QString::fromUtf8(F.Frage));
        m_erwarteteAnzahl = F.Anzahl;
        m_erwartetesTier = QString::fromUtf8(F.Tier);
        QStringList Zeilen;
        for (const char* z : F.Hilfe)
            Zeilen << QString::fromUtf8(z);
        LabelH1->SetCaption(Zeilen.join(QChar(13)));
        if (n >= 7) {
            RichEdit1->SetLeft(Skaliert(24));
            RichEdit1->SetWidth(Skaliert(177));
            LabelP1->SetLeft(Skaliert(24));
            LabelP1->SetWidth(Skaliert(369));
        }
    }

    RichEdit2->SetTop(Skaliert(380));
    RichEdit2->Clear();
    const bool Tierwahl = n == 7 || n == 8;
    RichEdit2->SetVisible(Tierwahl);
    Panel1->SetVisible(Tierwahl);

    if (n <= 8) {
        PageControl1->SetActivePage(TabSheet1);
        Diagramm1Zeichnen();
    } else {
        PageControl1->SetActivePage(TabSheet2);
        Diagramm2Zeichnen();
    }
}

void TZqK1_4A1::DiagrammZeichnen(TImage* Bild, bool Zweites) {
    const int y0 = 180;
    const int W = BildBreite(Bild);
    BildFuellen(255, 255, 255, Bild);
    Bild->Canvas()->Font()->SetStyle(fsBold);

    if (Zweites && m_maustaste && m_mausX > 20 && m_mausX < W && m_mausY >= 11 && m_mausY < y0) {
        for (int i = 1; i <= 7; ++i)
            if (m_mausX > BildLinks[i] && m_mausX < BildLinks[i] + 100)
                ZqK1_4A1_Hoehe[i] = static_cast<int>(Round((y0 - m_mausY) / 20.0));
    }

    for (int i = 1; i <= 7; ++i) {
        const int x = 104 * i - 30;
        TextAusgeben(x, 190, 0, 0, 0, 255, 255, 255, Tiername(i), 'A', 10, true, true, Bild);
        if (!Zweites) {
            RechteckZeichnen(x - 15, y0, x + 15, y0 - 20 * Tiere[i].Anzahl, 0, 0, 255, 0, 0, 255, 1, Bild);
        } else {
            const int h = ZqK1_4A1_Hoehe[i];
            const TColor c = h == Tiere[i].Bauen ? RGB(0, 200, 0) : RGB(255, 0, 0);
            RechteckZeichnen(x - 15, y0, x + 15, y0 - 20 * h, GetRValue(c), GetGValue(c), GetBValue(c),
                             GetRValue(c), GetGValue(c), GetBValue(c), 1, Bild);
        }
    }

    for (int k = 0; k <= 8; ++k) {
        const int y = y0 - 20 * k;
        LinieBreitZeichnen(20, y, W - 10, y, 200, 200, 200, false, Bild);
        LinieBreitZeichnen(17, y, 20, y, 0, 0, 0, false, Bild);
        TextAusgeben(10, y, 0, 0, 0, 255, 255, 255, QString::number(k), 'A', 12, true, true, Bild);
    }
    LinieBreitZeichnen(20, y0, W - 10, y0, 0, 0, 0, false, Bild);
    VektorpfeilZeichnen(20, y0, 20, 10, 0, 0, 0, false, QString(), Bild);
}

void TZqK1_4A1::Diagramm1Zeichnen() {
    DiagrammZeichnen(Image1, false);
}

void TZqK1_4A1::Diagramm2Zeichnen() {
    DiagrammZeichnen(Image9, true);
}

void TZqK1_4A1::RichEdit1Change(TObject* Sender) {
    (void)Sender;
}

void TZqK1_4A1::RichEdit1KeyPress(TObject* Sender, char16_t& Key) {
    bool Enter = false;
    TasteFiltern2(Key, Enter, RichEdit1);
    if (Enter) {
        Key = 0;
        Pruefen(Sender);
    }
}

void TZqK1_4A1::BitBtnP1Click(TObject* Sender) {
    Pruefen(Sender);
}

void TZqK1_4A1::Pruefen(TObject* Sender) {
    const int n = ZqK1_4A1_Aufgabe;
    if (Sender == RichEdit1 || Sender == BitBtnP1) {
        if (n >= 1 && n <= 6) {
            bool Richtig = false;
            ErgebnisPruefen2(Muster::Antwort(RichEdit1), QString::number(m_erwarteteAnzahl), LabelP1, 25, 'c',
                             Richtig, 0, 0);
            BitBtnP1->Font()->SetColor(Richtig ? FarbeKnopfRichtig : FarbeKnopfFalsch);
        } else if (n == 7 || n == 8) {
            const bool Richtig = CodePage::AnsiUpperCase(Muster::Antwort(RichEdit1)) ==
                                 CodePage::AnsiUpperCase(m_erwartetesTier);
            Muster::Urteil(LabelP1,
                           Richtig ? QStringLiteral("Das stimmt.") : QStringLiteral("Das stimmt nicht."),
                           Richtig ? FarbeUrteilRichtig : FarbeUrteilFalsch);
            BitBtnP1->Font()->SetColor(Richtig ? FarbeKnopfRichtig : FarbeKnopfFalsch);
        }
        return;
    }
    for (int i = 1; i <= 7; ++i) {
        if (Sender != BitBtn[i]) continue;
        const bool Richtig = (n == 7 && i == 3) || (n == 8 && i == 5);
        const TColor c = Richtig ? FarbeUrteilRichtig : FarbeUrteilFalsch;
        BitBtn[i]->Font()->SetColor(c);
        Muster::Urteil(LabelP1, Richtig ? QStringLiteral("Das stimmt.") : QStringLiteral("Leider falsch."),
                       c);
        RichEdit2->Clear();
        RichEdit2->Lines()->Add(Tiername(i));
        return;
    }
}

void TZqK1_4A1::BitBtnHilfeClick(TObject* Sender) {
    if (Sender == BitBtnHilfe) PanelH1->SetVisible(true);
    Muster::Fokus(RichEdit1);
}

void TZqK1_4A1::Image9MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    (void)Sender;
    (void)Button;
    (void)Shift;
    m_maustaste = true;
    m_mausX = X;
    m_mausY = Y;
    Diagramm2Zeichnen();
}

void TZqK1_4A1::Image9MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    (void)Sender;
    (void)Button;
    (void)Shift;
    (void)X;
    (void)Y;
    m_maustaste = false;
}

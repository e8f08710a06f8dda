#include "exercises/chapter2/UZqK2_3B1.h"

TTextaufgabenZustand ZqK2_3B1;

TZqK2_3B1::TZqK2_3B1(TComponent* AOwner) : TTextaufgabe(AOwner, 1, ZqK2_3B1) {
    SetName(QStringLiteral("ZqK2_3B1"));
    SetCaption(QStringLiteral("Abschnitt 2.3   Übung 2"));
    FokusAufJederSeite = false;

    // Page 1: watering cans from a rain butt and a rain barrel.
    TTabSheet* s = SeiteAnlegen(QStringLiteral("TabSheet1"));
    Geschichte(s, QStringLiteral("Label2"),
               Textzeilen({"Die Gießkanne hat ein Fassungsvermögen von 10 Litern.",
                           "Die grüne Regentonne hat ein Fassungsvermögen von 200 Litern.",
                           "Das Regenfass hat ein Fassungsvermögen von 500 Litern."}),
               10);
    Bild(s, QStringLiteral("Image1"), QStringLiteral("regenwasser.png"), 540, 84);
    Geschichte(
        s, QStringLiteral("Label3"),
        Textzeilen({"Wie viele Gießkannen kannst du mit einer vollen", "Regentonne bis zum Rand befüllen ?"}),
        86);
    int k = PostenAnlegen(s, 134, {nullptr, "RichEdit1", "Gießkannen", "BitBtnP1", "LabelP1", "20"});
    HilfeAnlegen(k, 12, 330, 420,
                 {"BitBtnHilfe", "Panel1", Textzeilen({"Rechne:    200 Liter : 10 Liter"}), nullptr});
    Geschichte(
        s, QStringLiteral("Label4"),
        Textzeilen({"Wie viele Gießkannen kannst du mit einem vollen", "Regenfass bis zum Rand befüllen ?"}),
        204);
    k = PostenAnlegen(s, 252, {nullptr, "RichEdit2", "Gießkannen", "BitBtnP2", "LabelP2", "50"});
    HilfeAnlegen(k, 12, 330, 420,
                 {"BitBtn4", "Panel3", Textzeilen({"Rechne:    500 Liter : 10 Liter"}), nullptr});

    // Page 2: glasses of juice and water at a party.
    s = SeiteAnlegen(QStringLiteral("TabSheet2"));
    Geschichte(s, QStringLiteral("Label5"),
               Textzeilen({"Gaby hat 1 Liter Apfelsaft, 1,5 Liter Orangensaft und 2 Liter Wasser",
                           "für eine Party gekauft. Ihre Partygläser haben ein Fassungsvermögen",
                           "von 0,25 Litern."}),
               10);
    Bild(s, QStringLiteral("Image2"), QStringLiteral("party.png"), 540, 84);
    struct TGlas {
        const char* Frage;
        TPostenDef Posten;
        THilfeDef Hilfe;
    };
    const TGlas Glaeser[3] = {
        {"Wie viele Gläser kann sie mit Apfelsaft bis zum Rand befüllen ?",
         {nullptr, "RichEdit3", "Gläser", "BitBtnP3", "LabelP3", "4"},
         {"BitBtn5", "Panel4",
          Textzeilen({"Rechne: 1 Liter : 0,25 Liter", "bzw.    1 000 ml : 250 ml",
                      "1 Liter = 1 000 ml. 0,25 Liter = 250 ml."}),
          nullptr}},
        {"Wie viele Gläser kann sie mit Orangensaft bis zum Rand befüllen ?",
         {nullptr, "RichEdit4", "Gläser", "BitBtnP4", "LabelP4", "6"},
         {"BitBtn6", "Panel5",
          Textzeilen({"Rechne: 1,5 Liter : 0,25 Liter", "bzw.    1 500 ml : 250 ml = 150 : 25",
                      "1,5 Liter = 1 500 ml. 0,25 Liter = 250 ml."}),
          nullptr}},
        {"Wie viele Gläser kann sie mit Wasser bis zum Rand befüllen ?",
         {nullptr, "RichEdit5", "Gläser", "BitBtnP5", "LabelP5", "8"},
         {"BitBtn7", "Panel6",
          Textzeilen({"Rechne: 2 Liter : 0,25 Liter", "bzw.    2 000 ml : 250 ml = 200 : 25",
                      "2 Liter = 2 000 ml. 0,25 Liter = 250 ml."}),
          nullptr}},
    };
    for (int i = 0; i < 3; ++i) {
        const int Oben = 78 + 86 * i;
        Text(s, QStringLiteral("Label%1").arg(6 + i), QString::fromUtf8(Glaeser[i].Frage), 12, Oben);
        HilfeAnlegen(PostenAnlegen(s, Oben + 22, Glaeser[i].Posten), 12, 450, 370, Glaeser[i].Hilfe);
    }
    Geschichte(s, QStringLiteral("Label9"),
               Textzeilen({"Gaby hat 8 Freunde eingeladen.",
                           "Wie viel darf jede Person trinken, damit der Vorrat reicht ?"}),
               336);
    m_party = PostenAnlegen(s, 382, {nullptr, "RichEdit6", "Liter", "BitBtnP6", "LabelP6", "0.5"});
    HilfeAnlegen(m_party, 12, 450, 370,
                 {"BitBtn8", "Panel7",
                  Textzeilen({"Gaby + 8 Freunde = 9 Personen", "Insgesamt sind 1 Liter + 1,5 Liter + 2 Liter",
                              "Getränke verfügbar."}),
                  "BitBtnErgebnis"});
    Panel8 = Muster::Hilfefeld(this, s, QStringLiteral("Panel8"), 388, 450, 400,
                               Textzeilen({"Lösungsweg 1: 4 500 ml : 9 = 500 ml = 0,5 Liter ( 9 Personen )",
                                           "Lösungsweg 2: Insgesamt konnten 18 Gläser befüllt werden.",
                                           "Jede der 9 Person kann 2 Gläser trinken. 2 · 0,25 l = 0,5 l."}),
                               -13, 22);
    Panel8->SetColor(FarbeTexthilfe);

    // Page 3: prices per litre.
    s = SeiteAnlegen(QStringLiteral("TabSheet3"));
    Text(s, QStringLiteral("Label10"), QStringLiteral("Bestimme für jedes Produkt den Preis pro Liter"), 12,
         10);
    Bild(s, QStringLiteral("Image3"), QStringLiteral("literpreise.png"), 540, 40);
    struct TPreis {
        const char* Angebot;
        const char* Vorsatz;
        const char* Box;
        const char* Pruefen;
        const char* Urteil;
        const char* Erwartet;
        const char* Hilfe;
        const char* Panel;
        QStringList Zeilen;
    };
    const TPreis Preise[5] = {
        {"500 ml Öl kosten 2 €.", "1 Liter Öl kostet", "RichEdit7", "BitBtnP7", "LabelP7", "4", "BitBtn9",
         "Panel9", Textzeilen({"1 Liter = 2 · 500 ml"})},
        {"250 ml Shampoo kosten 2 €.", "1 Liter kostet", "RichEdit8", "BitBtnP8", "LabelP8", "8", "BitBtn11",
         "Panel10", Textzeilen({"1 Liter = 4 · 250 ml"})},
        {"125 ml Mundwasser kosten 2 €.", "1 Liter kostet", "RichEdit9", "BitBtnP9", "LabelP9", "16",
         "BitBtn13", "Panel11", Textzeilen({"1 Liter = 8 · 125 ml"})},
        {"50 ml Deo kosten 2 €.", "1 Liter kostet", "RichEdit10", "BitBtnP10", "LabelP10", "40", "BitBtn15",
         "Panel12", Textzeilen({"1 Liter = 20 · 50 ml"})},
        {"20 ml Druckertinte kosten 12 €.", "1 Liter kostet", "RichEdit11", "BitBtnP11", "LabelP11", "600",
         "BitBtn17", "Panel13", Textzeilen({"1 Liter = 50 · 20 ml", "Rechne: 50 · 12 € = 5 · 12 · 10 €"})},
    };
    for (int i = 0; i < 5; ++i) {
        const TPreis& p = Preise[i];
        const int Oben = 38 + 86 * i;
        Text(s, QStringLiteral("Label%1").arg(11 + i), QString::fromUtf8(p.Angebot), 12, Oben);
        k = PostenAnlegen(s, Oben + 22, {p.Vorsatz, p.Box, "€.", p.Pruefen, p.Urteil, p.Erwartet});
        HilfeAnlegen(k, 12, 472, 420, {p.Hilfe, p.Panel, p.Zeilen, nullptr});
    }
}

void TZqK2_3B1::ErgebnisGezeigt(int k) {
    if (k != m_party) return;
    Panel8->SetVisible(true);
    Panel8->BringToFront();
}

void TZqK2_3B1::Leeren() {
    Panel8->SetVisible(false);
}

#include "exercises/chapter2/UZqK2_2B1.h"

TTextaufgabenZustand ZqK2_2B1;

TZqK2_2B1::TZqK2_2B1(TComponent* AOwner) : TTextaufgabe(AOwner, 2, ZqK2_2B1) {
    SetName(QStringLiteral("ZqK2_2B1"));
    SetCaption(QStringLiteral("Abschnitt 2.2   Übung 2"));
    Label1 = Muster::Titel(this, QStringLiteral("Längeneinheiten"));

    // Page 1: a stack of CD cases in four units.
    TTabSheet* s = SeiteAnlegen(QStringLiteral("TabSheet1"));
    Geschichte(s, QStringLiteral("Label2"),
               Textzeilen({"Eine CD - Hülle ist 5mm hoch.",
                           "Welche Höhe besitzt ein CD - Stapel aus 30 übereinander liegenden Hüllen ?"}),
               10);
    Bild(s, QStringLiteral("Image1"), QStringLiteral("cd_stapel.png"), 540, 62);
    int k = PostenAnlegen(s, 66, {"Stapelhöhe =", "RichEdit1", "mm", "BitBtnP1", "LabelP1", "150"});
    HilfeAnlegen(k, 540, 236, 240,
                 {"BitBtnHilfe", "Panel2", Textzeilen({"Rechne 30 · 5 mm"}), "BitBtnErgebnis"});
    k = PostenAnlegen(s, 134, {nullptr, "RichEdit2", "cm", "BitBtnP2", "LabelP2", "15"});
    HilfeAnlegen(k, 540, 236, 240,
                 {"BitBtn4", "Panel3", Textzeilen({"10mm = 1cm", "100mm = 10 cm"}), "BitBtn9"});
    k = PostenAnlegen(s, 202, {nullptr, "RichEdit3", "dm", "BitBtnP3", "LabelP3", "1,5"});
    HilfeAnlegen(k, 540, 236, 240,
                 {"BitBtn6", "Panel4", Textzeilen({"1cm = 0,1 dm", "10cm = 1 dm"}), "BitBtn10"});
    k = PostenAnlegen(s, 270, {nullptr, "RichEdit4", "m", "BitBtnP4", "LabelP4", "0,15"});
    HilfeAnlegen(k, 540, 236, 240,
                 {"BitBtn8", "Panel5", Textzeilen({"1 cm = 0,01 m", "10 cm = 0,1 m"}), "BitBtn11"});
    // The conversion table with its steps down and up.
    TPanel* Tafel1 = Tafel(s, QStringLiteral("Panel1"), 12, 346, 500,
                           Textzeilen({"1m = 10dm = 100cm  = 1000mm", "0,1m = 1dm = 10cm  = 100mm",
                                       "0,01m = 0,1dm = 1cm  = 10mm"}),
                           110);
    Text(Tafel1, QStringLiteral("Label20"), QStringLiteral("↓ : 10"), 20, 17, true);
    Text(Tafel1, QStringLiteral("Label21"), QStringLiteral("↓ : 10"), 20, 39, true);
    Text(Tafel1, QStringLiteral("Label22"), QStringLiteral("· 10 ↑"), 400, 17, true);
    Text(Tafel1, QStringLiteral("Label23"), QStringLiteral("· 10 ↑"), 400, 39, true);

    // Page 2: a walk there and back.
    s = SeiteAnlegen(QStringLiteral("TabSheet2"));
    Geschichte(
        s, QStringLiteral("Label3"),
        Textzeilen({"Opa Heinz geht am Sonntag spazieren.",
                    "Zunächst geht er zu einer nur 200m entfernten Schrebergartenanlage.",
                    "Nach weiteren 500m erreicht er eine Parkanlage und 750m weiter einen Teich.",
                    "Dort pausiert er eine halbe Stunde und geht anschließend den gleichen Weg zurück.",
                    "Wie lang ist sein ganzer Spaziergang ?"}),
        10);
    Bild(s, QStringLiteral("Image2"), QStringLiteral("spaziergang.png"), 540, 128);
    k = PostenAnlegen(s, 132, {"Strecke =", "RichEdit5", "m", "BitBtnP5", "LabelP5", "2900"});
    HilfeAnlegen(k, 12, 330, 420,
                 {"BitBtn5", "Panel7",
                  Textzeilen({"Hinweg: 200m + 500m + 750m", "Auf dem Rückweg muss er noch einmal",
                              "die gleiche Distanz zurücklegen."}),
                  "BitBtn7"});
    k = PostenAnlegen(s, 200, {"Strecke =", "RichEdit6", "km", "BitBtnP6", "LabelP6", "2,9"});
    HilfeAnlegen(k, 12, 330, 420,
                 {"BitBtn13", "Panel8", Textzeilen({"1 000 m = 1 km", "100 m = 0,1 km"}), "BitBtn14"});
    Tafel(s, QStringLiteral("Panel6"), 12, 276, 200, Textzeilen({"1 km = 1 000 m"}));

    // Page 3: how far it still is.
    s = SeiteAnlegen(QStringLiteral("TabSheet3"));
    Geschichte(s, QStringLiteral("Label4"),
               Textzeilen({"Silke möchte mit ihrem Auto von Dortmund nach München fahren.",
                           "Die Gesamtstrecke wird von ihrem Navigationsgerät mit 606 km angegeben.",
                           "Nach 2 Stunden Fahrzeit hat sie 180 km zurückgelegt.",
                           "Wie viele km verbleiben noch bis zum Ziel ?"}),
               10);
    Bild(s, QStringLiteral("Image3"), QStringLiteral("autofahrt.png"), 540, 106);
    k = PostenAnlegen(s, 110, {"Reststrecke =", "RichEdit7", "km", "BitBtnP7", "LabelP7", "426"});
    HilfeAnlegen(k, 12, 190, 300,
                 {"BitBtn12", "Panel10", Textzeilen({"Rechne: 606 km    180 km"}), "BitBtn15"});
    // The minus sign in the gap of the sum.
    Text(Posten[size_t(k)].Hilfefeld, QStringLiteral("Label30"), QStringLiteral("-"), 130, 6);

    // Page 4: does the furniture fit along the wall?
    s = SeiteAnlegen(QStringLiteral("TabSheet4"));
    Geschichte(
        s, QStringLiteral("Label5"),
        Textzeilen({"Tobias wünscht sich für sein neues Zimmer ein 2,05m langes Bett, einen 1,50m breiten",
                    "Schiebeschrank und einen 1,30m langen Schreibtisch.",
                    "Welche Zimmerlänge benötigt er, um alle 3 Möbelstücke nebeneinander aufzustellen ?"}),
        10);
    Bild(s, QStringLiteral("Image4"), QStringLiteral("zimmer.png"), 540, 84);
    k = PostenAnlegen(s, 84, {"benötigte Länge =", "RichEdit8", "m", "BitBtnP8", "LabelP8", "4,85"});
    HilfeAnlegen(k, 12, 320, 420,
                 {"BitBtn16", "Panel11",
                  Textzeilen({"Rechne: 2,05m + 1,50m + 1,30m", "Du kannst auch zunächst in cm rechnen:",
                              "205cm + 150cm + 130cm", "1 m = 100 cm"}),
                  "BitBtn17"});
    k = PostenAnlegen(s, 152, {"benötigte Länge =", "RichEdit9", "cm", "BitBtnP9", "LabelP9", "485"});
    HilfeAnlegen(
        k, 12, 320, 420,
        {"BitBtn20", "Panel12", Textzeilen({"1 m = 100 cm", "0,1 m = 10 cm", "0,01 m = 1 cm"}), "BitBtn21"});
    Geschichte(s, QStringLiteral("Label6"),
               Textzeilen({"Sein Zimmer besitzt eine Länge von 4,80 m.",
                           "Kann er die Möbelstücke nebeneinander aufstellen ?"}),
               222);
    BitBtn18 = Muster::Knopf(this, s, QStringLiteral("BitBtn18"), QStringLiteral("Ja"), 12, 272, 80, 33);
    BitBtn19 = Muster::Knopf(this, s, QStringLiteral("BitBtn19"), QStringLiteral("Nein"), 100, 272, 80, 33);
    for (TBitBtn* b : {BitBtn18, BitBtn19})
        b->OnClick = [this](TObject* Sender) { BitBtn18Click(Sender); };
}

void TZqK2_2B1::BitBtn18Click(TObject* Sender) {
    // 4,85 m do not fit into 4,80 m: "Nein" is right; no verdict text.
    if (Sender == BitBtn18) BitBtn18->Font()->SetColor(FarbeKnopfFalsch);
    if (Sender == BitBtn19) BitBtn19->Font()->SetColor(FarbeKnopfRichtig);
}

void TZqK2_2B1::Leeren() {
    BitBtn18->Font()->SetColor(clBlack);
    BitBtn19->Font()->SetColor(clBlack);
}

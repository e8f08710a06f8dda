#include "exercises/chapter2/UZqK2_4B1.h"

TTextaufgabenZustand ZqK2_4B1;

TZqK2_4B1::TZqK2_4B1(TComponent* AOwner) : TTextaufgabe(AOwner, 2, ZqK2_4B1) {
    SetName(QStringLiteral("ZqK2_4B1"));
    SetCaption(QStringLiteral("Abschnitt 2.4   Übung 3"));
    Label1 = Muster::Titel(this, QStringLiteral("Gewichte"));
    FokusAufJederSeite = false;

    // Page 1: three animals on the scales, in tonnes and in kilograms.
    TTabSheet* s = SeiteAnlegen(QStringLiteral("TabSheet2"));
    Geschichte(
        s, QStringLiteral("Label2"),
        Textzeilen({"Ein ausgewachsener Elenfantenbulle wiegt 4,5 t.", "Ein Nashorn wiegt bis zu 2,8 t.",
                    "Eine Giraffe erreicht ein Gewicht bis zu 1,2 t.",
                    "Welches Gewicht können alle 3 Tiere zusammen", "auf die Waage bringen ?"}),
        10);
    Bild(s, QStringLiteral("Image1"), QStringLiteral("tiere.png"), 540, 10);
    int k = PostenAnlegen(s, 128, {"Gewicht =", "RichEdit3", "t", "BitBtnP3", "LabelP3", "8,5"});
    HilfeAnlegen(k, 8, 390, 580,
                 {"BitBtn5", "Panel6",
                  Textzeilen({"Rechne 4,5 t + 2,8 t + 1,2 t = ( 4,5 + ( 2,8 + 1,2 )) t.",
                              "Du kannst auch zunächst in kg rechnen:",
                              "4 500 kg + 2 800 kg + 1 200 kg = ( 4500 + ( 2 800 + 1 200 )) kg"}),
                  "BitBtn6"});
    TafelPostenAnlegen(s, QStringLiteral("Panel7"), 196,
                       QStringLiteral("Gib das Gewicht auch in Kilogramm an:"),
                       {"Gewicht =", "RichEdit4", "kg", "BitBtnP4", "LabelP4", "8500"}, "BitBtn8");
    Tafel(s, QStringLiteral("Panel5"), 12, 300, 260,
          Textzeilen({"1 t = 1 000 kg", "0,5 t = 500 kg", "0,1 t = 100 kg"}));

    // Page 2: dumbbells at home and in a course.
    s = SeiteAnlegen(QStringLiteral("TabSheet3"));
    Geschichte(s, QStringLiteral("Label4"),
               Textzeilen({"Beate hat 0,5 kg, 1 kg und 2 kg schwere Hantelpaare.",
                           "Wieviel kg wiegen alle 6 Hanteln zusammen ?"}),
               10);
    Bild(s, QStringLiteral("Image2"), QStringLiteral("hanteln.png"), 540, 10);
    k = PostenAnlegen(s, 62, {"Gewicht =", "RichEdit5", "kg", "BitBtnP5", "LabelP5", "7"});
    HilfeAnlegen(k, 8, 388, 580,
                 {"BitBtn7", "Panel8", Textzeilen({"Rechne: 2 · 0,5 kg + 2 · 1 kg + 2 · 2 kg"}), "BitBtn9"});
    Geschichte(
        s, QStringLiteral("Label5"),
        Textzeilen(
            {"In einem Fitness-Studio findet ein Body-Styling-Kurs mit 32 Personen statt.",
             "7 Teilnehmer haben sich für 0,5 kg -Hanteln entschieden, 5 Teilnehmer für die 2 kg -Hanteln.",
             "Die anderen Teilnehmer haben sich alle 1 kg -Hanteln geholt.",
             "Jede Person nimmt sich ein Paar Hanteln.",
             "Nach dem Training werden alle Hanteln auf einen Haufen gelegt. Welches Gesamtgewicht",
             "ergibt sich ?"}),
        180);
    m_kurs = PostenAnlegen(s, 318, {"Gesamtgewicht =", "RichEdit6", "kg", "BitBtnP6", "LabelP6", "67"});
    HilfeAnlegen(m_kurs, 8, 388, 580,
                 {"BitBtn10", "Panel9",
                  Textzeilen({"32 - 7 - 5 = 20, d.h. 20 Personen trainieren mit den 1 kg -Hanteln.",
                              "Da jede Person 2 Hanteln benutzt ergibt sich für das Gesamtgewicht:",
                              "7 · 2 · 0,5 kg + 20 · 2 · 1 kg + 5 · 2 · 2 kg"}),
                  nullptr});
    BitBtn11 = ErgebnisAnlegen(m_kurs, s, "BitBtn11", 540, 318);

    // Page 3: advertising letters, one and all of them.
    s = SeiteAnlegen(QStringLiteral("TabSheet4"));
    Geschichte(s, QStringLiteral("Label6"),
               Textzeilen({"Ein Versandhaus verschickt 4 000 Werbebriefe in ganz Deutschland.",
                           "Jeder Brief beinhaltet 2 Din-A4 Blätter à 5g und eine Postkarte mit 2g.",
                           "Der Briefumschlag wiegt 4g.", "Wie viel Gramm wiegt ein Werbebrief ?"}),
               10);
    Bild(s, QStringLiteral("Image3"), QStringLiteral("werbebriefe.png"), 540, 106);
    k = PostenAnlegen(s, 106, {"Gewicht =", "RichEdit7", "g", "BitBtnP7", "LabelP7", "16"});
    HilfeAnlegen(k, 8, 364, 420,
                 {"BitBtn12", "Panel10", Textzeilen({"Rechne: 2 · 5 g + 2 g + 4 g"}), "BitBtn13"});
    Text(s, QStringLiteral("Label7"),
         QStringLiteral("Welches Gesamtgewicht haben alle 4 000 Briefe zusammen ?"), 12, 176);
    m_briefe = PostenAnlegen(s, 200, {"Gesamtgewicht =", "RichEdit8", "g", "BitBtnP8", "LabelP8", "64000"});
    HilfeAnlegen(m_briefe, 8, 364, 420,
                 {"BitBtn14", "Panel11",
                  Textzeilen({"Rechne:", "4 000 · 16 g = 4 · 16 · 1 000 g", "1 kg = 1 000 g"}), "BitBtn15"});
    Text(s, QStringLiteral("Label8"), QStringLiteral("Wie viel Kilogramm sind das ?"), 12, 270);
    k = PostenAnlegen(s, 294, {"Gesamtgewicht =", "RichEdit9", "kg", "BitBtnP9", "LabelP9", "64"});
    BitBtn3 = ErgebnisAnlegen(k, s, "BitBtn3", 458, 294, 80);

    // Page 4: vitamin C in milligrams and in grams.
    s = SeiteAnlegen(QStringLiteral("TabSheet1"));
    Geschichte(s, QStringLiteral("Label9"),
               Textzeilen({"100 ml Apfelsaft enthalten 35 mg Vitamin C.",
                           "100 ml Orangensaft enthalten 40 mg Vitamin C.",
                           "Sarah trinkt jeden Tag ein Glas Orangensaft und 2 Gläser Apfelsaft.",
                           "In Sahra's Gläser passen 200 ml.",
                           "Welche Menge an Vitamin C nimmt sie dadurch zu sich ?"}),
               10);
    Bild(s, QStringLiteral("Image4"), QStringLiteral("vitamin_c.png"), 540, 10);
    k = PostenAnlegen(s, 128, {"Vitamin C =", "RichEdit1", "mg", "BitBtnP1", "LabelP1", "220"});
    HilfeAnlegen(
        k, 8, 392, 776,
        {"BitBtnHilfe", "Panel3",
         Textzeilen(
             {"Sarah trinkt 1 Glas mit 200 ml Orangensaft. Dadurch nimmt sie 2 · 40  mg Vitamin C zu sich.",
              "Sarah trinkt 400 ml Apfelsaft. Dadurch nimmt sie 4 · 35  mg Vitamin C zu sich.",
              "Rechne: 2 · 40 mg + 4 · 35 mg = ( 2 · 40 + 4 · 35 ) mg"}),
         "BitBtnErgebnis"});
    TafelPostenAnlegen(s, QStringLiteral("Panel4"), 196, QStringLiteral("in Gramm umgerechnet"),
                       {"Vitamin C =", "RichEdit2", "g", "BitBtnP2", "LabelP2", "0.22"}, "BitBtn4");
    Tafel(s, QStringLiteral("Panel2"), 12, 300, 260,
          Textzeilen({"1 g = 1 000 mg", "1 mg = 0,001 g", "100 mg = 0,1 g"}));
}

void TZqK2_4B1::HilfeGezeigt(int k) {
    // The answer of the course, and that of the letters in kilograms, come
    // within reach only with the help.
    if (k == m_kurs) BitBtn11->SetVisible(true);
    if (k == m_briefe) BitBtn3->SetVisible(true);
}

void TZqK2_4B1::Leeren() {
    BitBtn11->SetVisible(false);
    BitBtn3->SetVisible(false);
}

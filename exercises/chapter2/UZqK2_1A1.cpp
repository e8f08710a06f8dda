#include "exercises/chapter2/UZqK2_1A1.h"

#include "drawing/UZeichnen1.h"
#include "drawing/UZeichnen2.h"

TLiveUhrZustand ZqK2_1A1;

namespace {

constexpr TColor FarbeErklaerung = RGB(184, 209, 228);

void Zeilen(TAufgabeg* Form, TPanel* Panel, const QString& Name, const QStringList& Texte, int Oben) {
    for (int i = 0; i < Texte.size(); ++i)
        Muster::Beschriftung(Form, Panel, Name + QString::number(i + 1), Texte[i], 8, Oben + 20 * i,
                             QStringLiteral("Tahoma"), -14);
}

} // namespace

TZqK2_1A1::TZqK2_1A1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK2_1A1"));
    SetCaption(QStringLiteral("Abschnitt 2.1   Übung 1"));
    Label1 = Titel(this, QStringLiteral("Analog- und Digitaluhren"));

    Panel1 = Feld(this, nullptr, QStringLiteral("Panel1"), 0, 26, 793, 134, RGB(210, 242, 222));
    Beschriftung(
        this, Panel1, QStringLiteral("Label2"),
        QStringLiteral("Die meisten Digitaluhren zeigen die Uhrzeit im 24 Stunden - Format ( Stunden, "
                       "Minuten, Sekunden ) an."),
        8, 4, QStringLiteral("Tahoma"), -14);
    Beschriftung(this, Panel1, QStringLiteral("Label3"),
                 QStringLiteral("Einige Uhren zeigen auch nur die Stunden und Minuten an."), 8, 22,
                 QStringLiteral("Tahoma"), -14);
    Label4 = Beschriftung(this, Panel1, QStringLiteral("Label4"), QStringLiteral("Stunden"), 16, 44,
                          QStringLiteral("Tahoma"), -13);
    Label5 = Beschriftung(this, Panel1, QStringLiteral("Label5"), QStringLiteral("Minuten"), 96, 44,
                          QStringLiteral("Tahoma"), -13);
    Label6 = Beschriftung(this, Panel1, QStringLiteral("Label6"), QStringLiteral("Sekunden"), 176, 44,
                          QStringLiteral("Tahoma"), -13);
    Image2 = Neuzeichenbild(this, Panel1, QStringLiteral("Image2"), 8, 62, 241, 65);
    Label19 = Beschriftung(this, Panel1, QStringLiteral("Label19"),
                           QStringLiteral("Die Sekunden werden von 0 bis 59 gezählt."), 264, 62,
                           QStringLiteral("Tahoma"), -14);
    Beschriftung(this, Panel1, QStringLiteral("Label20"),
                 QStringLiteral("Die Minuten werden von 0 bis 59 gezählt."), 264, 82,
                 QStringLiteral("Tahoma"), -14);
    Beschriftung(this, Panel1, QStringLiteral("Label21"),
                 QStringLiteral("Die Stunden werden von 0 bis 23 gezählt."), 264, 102,
                 QStringLiteral("Tahoma"), -14);
    Label22 = Beschriftung(this, Panel1, QStringLiteral("Label22"), QStringLiteral("1 Minute = 60 Sekunden"),
                           590, 62, QStringLiteral("Tahoma"), -14);
    Beschriftung(this, Panel1, QStringLiteral("Label23"), QStringLiteral("1 Stunde = 60 Minuten"), 590, 82,
                 QStringLiteral("Tahoma"), -14);
    Beschriftung(this, Panel1, QStringLiteral("Label24"), QStringLiteral("1 Tag = 24 Stunden"), 590, 102,
                 QStringLiteral("Tahoma"), -14);

    Image1 = Neuzeichenbild(this, nullptr, QStringLiteral("Image1"), 0, 164, 400, 400);

    Checks = new TCheckBox(this);
    Checks->SetName(QStringLiteral("Checks"));
    Checks->SetParent(B_ScrollBox);
    Checks->SetParentFont(false);
    Checks->Font()->SetName(QStringLiteral("Tahoma"));
    Checks->Font()->SetHeight(-16);
    Checks->SetBounds(408, 166, 280, 24);
    Checks->SetCaption(QStringLiteral("Sekundenzeiger darstellen"));
    Checks->SetChecked(true);
    Checks->OnClick = [this](TObject* s) { ChecksClick(s); };

    // The explanations reach into the room of the hidden keypad, so that
    // their lines are whole.
    Panel2 = Feld(this, nullptr, QStringLiteral("Panel2"), 408, 194, 560, 146, FarbeErklaerung);
    Label7 = Beschriftung(this, Panel2, QStringLiteral("Label7"), QStringLiteral("Sekundenzeiger"), 8, 4,
                          QStringLiteral("Tahoma"), -16, clBlack, true);
    Zeilen(this, Panel2, QStringLiteral("LabelSek"),
           {QStringLiteral("Der lange rot dargestellte Zeiger heißt Sekundenzeiger."),
            QStringLiteral("Die Sekunden werden von 0 bis 59 gezählt."),
            QStringLiteral("0 Sekunden: Der Zeiger befindet sich ganz oben und zeigt auf die 12."),
            QStringLiteral("5 Sekunden: Der Zeiger zeigt auf die 1."),
            QStringLiteral("10 Sekunden: Der Zeiger zeigt auf die 2. ...")},
           26);

    Panel3 = Feld(this, nullptr, QStringLiteral("Panel3"), 408, 346, 560, 126, FarbeErklaerung);
    Beschriftung(this, Panel3, QStringLiteral("Label8"), QStringLiteral("Minutenzeiger"), 8, 4,
                 QStringLiteral("Tahoma"), -16, clBlue, true);
    Zeilen(this, Panel3, QStringLiteral("LabelMin"),
           {QStringLiteral("Der lange blau dargestellte Zeiger heißt Minutenzeiger."),
            QStringLiteral("Die Minuten werden von 0 bis 59 gezählt."),
            QStringLiteral("Eine Minute besteht aus 60 Sekunden."),
            QStringLiteral("Innerhalb von 60 Sekunden bewegt sich der Minutenzeiger einen"),
            QStringLiteral("Teilstrich weiter.")},
           26);

    Panel4 = Feld(this, nullptr, QStringLiteral("Panel4"), 408, 478, 560, 126, FarbeErklaerung);
    Beschriftung(this, Panel4, QStringLiteral("Label9"), QStringLiteral("Stundenzeiger"), 8, 4,
                 QStringLiteral("Tahoma"), -16, clBlack, true);
    Zeilen(this, Panel4, QStringLiteral("LabelStd"),
           {QStringLiteral("Der kurze grün dargestellte Zeiger heißt Stundenzeiger."),
            QStringLiteral("Die Stunden werden von 1 bis 12 gezählt."),
            QStringLiteral("Eine Stunde besteht aus 60 Minuten."),
            QStringLiteral("Innerhalb von 60 Minuten bewegt sich der Stundenzeiger"),
            QStringLiteral("um 5 Teilstriche weiter.")},
           26);

    // The first tick comes right after opening and replaces the starting time.
    Timer1 = new TTimer(this);
    Timer1->SetName(QStringLiteral("Timer1"));
    Timer1->SetInterval(10);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };
}

void TZqK2_1A1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    B_BtnAufgabenNr->SetVisible(false);
    B_Tastatur->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    NeueAufgabe();
}

void TZqK2_1A1::NeueAufgabe() {
    Aufgabenanzahl = 1;
    TAufgabeg::NeueAufgabe();
    Label7->Font()->SetColor(RGB(200, 0, 0));
    TLiveUhrZustand& Z = ZqK2_1A1;
    Z.Stunde = 0;
    Z.Minute = 30;
    Z.Sekunde = 0;
    Z.MitStunden = Z.MitTrenner = Z.MitMinuten = Z.MitSekunden = 1;
    UhrenZeichnen();
}

void TZqK2_1A1::UhrenZeichnen() {
    TLiveUhrZustand& Z = ZqK2_1A1;
    BildFuellen(255, 255, 255, Image1);
    BildFuellen(255, 255, 255, Image2);
    Z.MitSekunden = Checks->Checked() ? 1 : 0;
    // Both clocks fill their pictures: in a scaled window they are drawn larger,
    // margins and all.
    AnalogUhrZeichnen(Image1->Width() / 2, Image1->Height() / 2, Image1->Width() / 2 - Skaliert(5), Z.Stunde,
                      Z.Minute, Z.Sekunde, Z.MitStunden, Z.MitMinuten, Z.MitSekunden, Image1);
    DigitaluhrZeichnen(Skaliert(10), Skaliert(5), Image2->Height() - Skaliert(10), Z.Stunde, Z.Minute,
                       Z.Sekunde, 50, 160, 255, 0, 0, 0, Z.MitStunden, Z.MitTrenner, Z.MitMinuten,
                       Z.MitSekunden, Image2);
    const bool Zeigen = Z.MitSekunden != 0;
    for (TControl* c : std::initializer_list<TControl*>{Label6, Panel2, Label19, Label22})
        c->SetVisible(Zeigen);
}

void TZqK2_1A1::Timer1Timer(TObject* Sender) {
    (void)Sender;
    TLiveUhrZustand& Z = ZqK2_1A1;
    UhrzeitLesen(Z.Stunde, Z.Minute, Z.Sekunde);
    UhrenZeichnen();
    if (Timer1->Interval() != 1000) Timer1->SetInterval(1000);
}

void TZqK2_1A1::ChecksClick(TObject* Sender) {
    (void)Sender;
    UhrenZeichnen();
}

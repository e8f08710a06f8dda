#include "exercises/chapter1/UZqK1_4B1.h"

#include "term/UTermFormular.h"

int ZqK1_4B1_Aufgabe = 0;

namespace {

constexpr TColor Erdbeerrot = RGB(200, 0, 0);
constexpr TColor Bananengelb = RGB(200, 200, 0);

TLabel* Seitentext(TZqK1_4B1* f, TWinControl* Seite, int n, const QString& s, int x, int y) {
    return Muster::Beschriftung(f, Seite, QStringLiteral("Label%1").arg(n), s, x, y, QStringLiteral("Tahoma"),
                                -19);
}

} // namespace

TZqK1_4B1::TZqK1_4B1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK1_4B1"));
    SetCaption(QStringLiteral("Abschnitt 1.4   Übung 2"));

    Chart1 = new TChart(this);
    Chart1->SetName(QStringLiteral("Chart1"));
    Chart1->SetParent(B_ScrollBox);
    Chart1->SetBounds(0, 0, 801, 337);
    Chart1->Title()->Text = QStringLiteral("Kreisdiagramme");
    Chart1->Title()->Font.SetName(QStringLiteral("Tahoma"));
    Chart1->Title()->Font.SetColor(clBlack);
    Chart1->Title()->Transparent = true;
    Chart1->BottomAxis()->Visible = false;
    Chart1->LeftAxis()->Visible = false;
    Chart1->SetFrameVisible(false);
    Chart1->SetView3D(false);
    Chart1->SetAllowZoom(false);
    Chart1->SetAllowPanning(false);
    Chart1->SetMargins(0, 0, 0, 0);
    Chart1->SetGradient(true, RGB(210, 242, 222), clWhite);
    TChartLegend* L = Chart1->Legend();
    L->Alignment = laBottom;
    L->Font.SetName(QStringLiteral("Arial"));
    L->Font.SetHeight(-16);
    L->Font.SetColor(clBlack);
    L->ColorWidth = 50;
    L->Shadow = false;
    L->TopPos = 0;
    L->VertMargin = 10;
    L->ResizeChart = false;
    Series1 = Chart1->AddSeries<TPieSeries>();
    Series1->SetCircled(true);
    Series1->SetCustomXRadius(100);
    Series1->SetCustomYRadius(100);
    Series1->SetDark3D(false);
    TSeriesMarks* M = Series1->Marks();
    M->SetVisible(true);
    M->Font()->SetName(QStringLiteral("Arial"));
    M->Font()->SetHeight(-16);
    M->Font()->SetStyle(fsBold);
    M->Font()->SetColor(clBlack);
    M->SetBackColor(clWhite);
    M->SetFrame(false);
    M->SetArrowLength(1);
    M->SetStyle(smsLegend);

    PanelPage = Feld(this, nullptr, QStringLiteral("PanelPage"), 0, 336, 801, 249, RGB(210, 242, 222));
    PanelPage->SetBevelOuter(bvNone);
    PageControl1 = Seiten(this, PanelPage, QStringLiteral("PageControl1"), 0, 0, 801, 249);
    PageControl1->SetAlign(alClient);
    // The pages show the light green of the panel they fill.
    PageControl1->SetParentColor(true);
    PageControl1->SetParentFont(false);
    PageControl1->Font()->SetName(QStringLiteral("Tahoma"));
    PageControl1->Font()->SetHeight(-19);
    for (int n = 1; n <= 4; ++n)
        TabSheet[n] = Seite(this, PageControl1, QStringLiteral("TabSheet%1").arg(n));

    // The cake of Mrs Müller.
    TTabSheet* S = TabSheet[1];
    Seitentext(
        this, S, 1,
        QStringLiteral("Frau Müller möchte die eine Hälfte eines Kuchens mit Erbeeren belegen, die andere"),
        8, 8);
    Seitentext(this, S, 2, QStringLiteral("mit Bananen."), 8, 32);
    Seitentext(this, S, 3,
               QStringLiteral("Veranschauliche mithilfe des Schiebereglers den gesuchten Kuchen."), 8, 56);
    TrackBar1 = new TTrackBar(this);
    TrackBar1->SetName(QStringLiteral("TrackBar1"));
    TrackBar1->SetParent(S);
    // 16 pixels right of its design place: the third line of the task reaches
    // to 596 in the Tahoma here.
    TrackBar1->SetBounds(600, 40, 193, 33);
    TrackBar1->SetMin(0);
    TrackBar1->SetMax(8);
    TrackBar1->SetFrequency(1);
    TrackBar1->SetPosition(1);
    TrackBar1->OnChange = [this](TObject* s) { TrackBar1Change(s); };
    Seitentext(this, S, 4, QStringLiteral("Bananenanteil"), 632, 76);
    LabelP0 = Urteilslabel(this, S, QStringLiteral("LabelP0"), 160, 88, 377, 23);
    LabelP0->SetAlignment(taCenter);
    BitBtnP0 =
        Knopf(this, S, QStringLiteral("BitBtnP0"), QStringLiteral("Kuchen prüfen"), 232, 112, 233, 33, -19);
    BitBtnP0->OnClick = [this](TObject* s) { BitBtnP0Click(s); };

    // A cake for eight.
    S = TabSheet[2];
    Seitentext(
        this, S, 5,
        QStringLiteral("Herr und Frau Müller haben 4 Kinder. Zum Kaffee haben Sie noch Opa und Oma Tolvenk"),
        8, 0);
    Seitentext(this, S, 6, QStringLiteral("eingeladen."), 8, 24);
    Seitentext(this, S, 7,
               QStringLiteral("Damit jeder ein gleich großes Stück Kuchen bekommt, muss die Torte in"), 8,
               48);
    const auto Pruefen = [this](TObject* s) { BitBtnP1Click(s); };
    Paar1.Box = Antwortbox(this, S, QStringLiteral("RichEdit1"), 8, 80, 89, 30);
    Seitentext(this, S, 8, QStringLiteral("Teile geteilt werden."), 104, 82);
    Paar1.Pruefen = Knopf(this, S, QStringLiteral("BitBtnP1"), QStringLiteral("prüfen"), 8, 112, 89, 30, -19);
    Paar1.Urteil = Urteilslabel(this, S, QStringLiteral("LabelP1"), 104, 112, 657, 30);
    Paar2.Box = Antwortbox(this, S, QStringLiteral("RichEdit2"), 8, 168, 89, 30);
    Seitentext(this, S, 9, QStringLiteral("Tortenstücke sind mit Erdbeeren belegt."), 104, 170);
    Paar2.Pruefen = Knopf(this, S, QStringLiteral("BitBtnP2"), QStringLiteral("prüfen"), 8, 201, 89, 30, -19);
    Paar2.Urteil = Urteilslabel(this, S, QStringLiteral("LabelP2"), 104, 200, 657, 30);
    for (TLabel* l : {Paar1.Urteil, Paar2.Urteil})
        l->SetAlignment(taCenter);
    PaarVerbinden(Paar1, 2, Pruefen);
    PaarVerbinden(Paar2, 2, Pruefen);
    BitBtnHilfe =
        Knopf(this, S, QStringLiteral("BitBtnHilfe"), QStringLiteral("Hilfe"), 664, 40, 97, 33, -19);
    BitBtnHilfe->OnClick = [this](TObject* s) { BitBtnHilfeClick(s); };

    // The election.
    S = TabSheet[3];
    Seitentext(this, S, 10, QStringLiteral("Bei einer Bundeslandwahl ergab sich obiges Ergebnis."), 8, 8);
    Seitentext(this, S, 11, QStringLiteral("Wie viel Prozent der Stimmen haben SPD und Grüne zusammen ?"), 8,
               32);
    Paar3.Urteil = Urteilslabel(this, S, QStringLiteral("LabelP3"), 0, 72, 353, 23);
    Seitentext(this, S, 12, QStringLiteral("Anteil:"), 8, 100);
    Paar3.Box = Antwortbox(this, S, QStringLiteral("RichEdit3"), 72, 96, 89, 30);
    Seitentext(this, S, 15, QStringLiteral("%"), 168, 100);
    Paar3.Pruefen =
        Knopf(this, S, QStringLiteral("BitBtnP3"), QStringLiteral("prüfen"), 200, 96, 89, 30, -19);
    PaarVerbinden(Paar3, 2, Pruefen);
    Seitentext(this, S, 13, QStringLiteral("Genügt das Ergebnis für die absolute Mehheit ?"), 360, 72);
    Seitentext(this, S, 14, QStringLiteral("D.h. ist die Summe > 50 % ?"), 360, 96);
    BitBtn3 = Knopf(this, S, QStringLiteral("BitBtn3"), QStringLiteral("Ja"), 384, 128, 75, 30, -19);
    BitBtn4 = Knopf(this, S, QStringLiteral("BitBtn4"), QStringLiteral("Nein"), 480, 128, 75, 30, -19);
    BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };
    BitBtn4->OnClick = [this](TObject* s) { BitBtn4Click(s); };
    BitBtn5 = Knopf(this, S, QStringLiteral("BitBtn5"), QStringLiteral("Hilfe"), 648, 8, 97, 33, -19);
    BitBtn5->OnClick = [this](TObject* s) { BitBtnHilfeClick(s); };
    Panel2 = Hilfefeld(this, S, QStringLiteral("Panel2"), 568, 0, 209,
                       {QStringLiteral("Rechne 37 % + 12 %"), QStringLiteral("= ( 37 + 12 ) %")}, -19, 28);
    Panel2->SetHeight(65);

    // The pools.
    S = TabSheet[4];
    Seitentext(
        this, S, 18,
        QStringLiteral("Bei einem Hallenfreibad ist das Schwimmerbecken draußen viermal so groß wie das"), 8,
        0);
    Seitentext(
        this, S, 19,
        QStringLiteral("Hallenbad. Das Nichtschwimmerbecken ist nur halb so groß wie das Schwimmerbecken."),
        8, 24);
    Seitentext(
        this, S, 20,
        QStringLiteral("Dann gibt es draußen noch ein Kinderbecken in ähnlicher Größe des Hallenbades."), 8,
        48);
    Seitentext(this, S, 21, QStringLiteral("Beschrifte die Becken."), 8, 72);
    BitBtn6 = Knopf(this, S, QStringLiteral("BitBtn6"), QStringLiteral("prüfen"), 232, 88, 97, 30, -19);
    BitBtn6->OnClick = [this](TObject* s) { BitBtn6Click(s); };
    Label26 = Urteilslabel(this, S, QStringLiteral("Label26"), 336, 88, 441, 30);
    const char* Buchstaben[5] = {"", "A", "B", "C", "D"};
    for (int n = 1; n <= 4; ++n) {
        Seitentext(this, S, 21 + n, QString::fromLatin1(Buchstaben[n]), 80 + 200 * (n - 1), 136);
        auto* c = new TComboBox(this);
        c->SetName(QStringLiteral("ComboBox%1").arg(n));
        c->SetParent(S);
        c->SetBounds(200 * (n - 1), 160, 193, 31);
        for (const char* Becken : {"Hallenbad", "Schwimmerbecken", "Nichtschwimmerbecken", "Kinderbecken"})
            c->Items()->Add(QString::fromLatin1(Becken));
        c->OnKeyPress = [this](TObject* s, char16_t& k) { ComboBox1KeyPress(s, k); };
        ComboBox[n] = c;
    }
}

void TZqK1_4B1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    ZqK1_4B1_Aufgabe = 0;
    Chart1->Title()->Font.SetSize(14);
    Chart1->Legend()->Font.SetStyle(fsBold);
    Chart1->BottomAxis()->LabelsFont.SetStyle(fsBold);
    Chart1->LeftAxis()->LabelsFont.SetStyle(fsBold);
    Chart1->Invalidate();
    NeueAufgabe();
}

void TZqK1_4B1::NeueAufgabe() {
    Aufgabenanzahl = 4;
    TAufgabeg::NeueAufgabe();
    Series1->SetShowInLegend(true);
    Series1->Marks()->SetStyle(smsLegend);
    ZqK1_4B1_Aufgabe = ZqK1_4B1_Aufgabe % 4 + 1;
    AufgabeZeigen();
}

void TZqK1_4B1::AufgabeZeigen() {
    const int n = ZqK1_4B1_Aufgabe;
    if (n < 1 || n > 4) return;
    if (PageControl1->ActivePageIndex() != n - 1) PageControl1->SetActivePageIndex(n - 1);
    switch (n) {
    case 1: {
        const int p = TrackBar1->Position();
        LabelP0->SetCaption(QString());
        Series1->Clear();
        Series1->Add(8 - p, QStringLiteral("Erdbeeren"), Erdbeerrot);
        Series1->Add(p, QStringLiteral("Bananen"), Bananengelb);
        break;
    }
    case 2:
        Paar1.Urteil->SetCaption(QString());
        Paar2.Urteil->SetCaption(QString());
        Paar1.Box->Clear();
        Paar2.Box->Clear();
        Series1->Clear();
        Series1->Add(4, QStringLiteral("Erdbeeren"), Erdbeerrot);
        Series1->Add(4, QStringLiteral("Bananen"), Bananengelb);
        Muster::Fokus(Paar1.Box);
        break;
    case 3:
        Panel2->SetVisible(false);
        for (TBitBtn* b : {BitBtn3, BitBtn4, Paar3.Pruefen})
            b->Font()->SetColor(clBlack);
        Paar3.Urteil->SetCaption(QString());
        Paar3.Box->Clear();
        Series1->Clear();
        Series1->Add(37, QStringLiteral("SPD"), RGB(200, 0, 0));
        Series1->Add(12, QStringLiteral("Grüne"), RGB(0, 220, 0));
        Series1->Add(39, QStringLiteral("CDU"), RGB(0, 0, 0));
        Series1->Add(10, QStringLiteral("Piraten"), RGB(255, 220, 0));
        Series1->Add(2, QStringLiteral("Sonstige"), RGB(255, 255, 255));
        Series1->Marks()->SetStyle(smsLabelPercent);
        Muster::Fokus(Paar3.Box);
        break;
    case 4:
        Label26->SetCaption(QString());
        Series1->Clear();
        Series1->Add(12.5, QStringLiteral("A"), RGB(200, 0, 0));
        Series1->Add(12.5, QStringLiteral("B"), RGB(0, 220, 0));
        Series1->Add(25, QStringLiteral("C"), RGB(255, 220, 0));
        Series1->Add(50, QStringLiteral("D"), RGB(50, 160, 255));
        for (int k = 1; k <= 4; ++k) {
            ComboBox[k]->SetItemIndex(-1);
            ComboBox[k]->SetText(QStringLiteral("Becken wählen."));
        }
        break;
    }
}

void TZqK1_4B1::TrackBar1Change(TObject* Sender) {
    (void)Sender;
    AufgabeZeigen();
}

void TZqK1_4B1::BitBtnP0Click(TObject* Sender) {
    (void)Sender;
    const int p = TrackBar1->Position();
    if (p == 4)
        Muster::Urteil(LabelP0, QStringLiteral("Der Kuchen stimmt."), FarbeUrteilRichtig);
    else if (p >= 5)
        Muster::Urteil(LabelP0, QStringLiteral("Der Bananenanteil ist zu groß."), FarbeUrteilFalsch);
    else
        Muster::Urteil(LabelP0, QStringLiteral("Der Bananenanteil ist zu gering."), FarbeUrteilFalsch);
}

void TZqK1_4B1::BitBtnP1Click(TObject* Sender) {
    // The cake answers leave their buttons as they are.
    bool Richtig = false;
    if (Muster::GehoertZu(Paar1, Sender))
        ErgebnisPruefen2(Muster::Antwort(Paar1.Box), QStringLiteral("8"), Paar1.Urteil, 50, 'c', Richtig, 0,
                         0);
    else if (Muster::GehoertZu(Paar2, Sender))
        ErgebnisPruefen2(Muster::Antwort(Paar2.Box), QStringLiteral("4"), Paar2.Urteil, 50, 'c', Richtig, 0,
                         0);
    else if (Muster::GehoertZu(Paar3, Sender)) {
        Muster::PaarPruefen(Paar3, QStringLiteral("49"), 25, 2);
    }
}

void TZqK1_4B1::BitBtnHilfeClick(TObject* Sender) {
    if (Sender == BitBtnHilfe) {
        Series1->Clear();
        const char* Stuecke[8] = {"Herr Müller nimmt Erdbeerkuchen",
                                  "Frau Müller nimmt Erdbeerkuchen",
                                  "Opa Tolvenk nimmt Erdbeerkuchen",
                                  "Oma Tolvenk nimmt Erdbeerkuchen",
                                  "Kind1, Bananen",
                                  "Kind2, Bananen",
                                  "Kind3, Bananen",
                                  "Kind4, Bananen"};
        for (int i = 0; i < 8; ++i)
            Series1->Add(4, QString::fromUtf8(Stuecke[i]), i < 4 ? Erdbeerrot : Bananengelb);
        Series1->SetShowInLegend(false);
        Muster::Fokus(Paar1.Box);
    } else if (Sender == BitBtn5) {
        Panel2->SetVisible(true);
        Muster::Fokus(Paar3.Box);
    }
}

void TZqK1_4B1::BitBtn3Click(TObject* Sender) {
    (void)Sender;
    BitBtn3->Font()->SetColor(RGB(255, 0, 0));
}

void TZqK1_4B1::BitBtn4Click(TObject* Sender) {
    (void)Sender;
    BitBtn4->Font()->SetColor(RGB(0, 200, 0));
}

void TZqK1_4B1::BitBtn6Click(TObject* Sender) {
    (void)Sender;
    const QString A = ComboBox[1]->Text(), B = ComboBox[2]->Text();
    const bool AB = (A == QStringLiteral("Hallenbad") && B == QStringLiteral("Kinderbecken")) ||
                    (A == QStringLiteral("Kinderbecken") && B == QStringLiteral("Hallenbad"));
    const bool Richtig = AB && ComboBox[3]->Text() == QStringLiteral("Nichtschwimmerbecken") &&
                         ComboBox[4]->Text() == QStringLiteral("Schwimmerbecken");
    if (Richtig)
        Muster::Urteil(Label26, QStringLiteral("Die Zuordnung stimmt."), FarbeUrteilRichtig);
    else
        Muster::Urteil(Label26, QStringLiteral("Die Zuordnung stimmt nicht."), FarbeUrteilFalsch);
}

void TZqK1_4B1::ComboBox1KeyPress(TObject* Sender, char16_t& Key) {
    (void)Sender;
    Key = 0;
}

#include "UZqK.h"

#include "platform/Application.h"
#include "shell/UAbschnitte.h"

TZqK* ZqK = nullptr;

namespace {

constexpr TColor Kapitelfarbe = clTeal;
TZqKapitel* Kapitelformen[4] = {};

// Captions of the chapter and section buttons carry trailing blanks.
const QString Auffuellung = QStringLiteral("          ");

TButton* Knopf(TForm* Form, const QString& Name, const QString& Caption, int Links, int Oben, int Breite,
               int Hoehe, int Schrifthoehe) {
    auto* b = new TButton(Form);
    b->SetName(Name);
    b->SetParent(Form);
    b->SetBounds(Links, Oben, Breite, Hoehe);
    b->SetParentFont(false);
    b->Font()->SetName(QStringLiteral("Times New Roman"));
    b->Font()->SetHeight(-Schrifthoehe);
    b->SetCursor(crHandPoint);
    b->SetCaption(Caption);
    return b;
}

TBitBtn* ZurueckKnopf(TForm* Form, int Links, int Oben) {
    auto* b = new TBitBtn(Form);
    b->SetName(QStringLiteral("BitBtn1"));
    b->SetParent(Form);
    b->SetBounds(Links, Oben, 145, 57);
    b->SetParentFont(false);
    b->Font()->SetName(QStringLiteral("Times New Roman"));
    b->Font()->SetHeight(-24);
    b->SetCursor(crHandPoint);
    b->SetCaption(QStringLiteral("Zurück"));
    b->OnClick = [Form](TObject*) { Form->Close(); };
    return b;
}

// The buttons stay whole however small the window is made.
void MindestgroesseNachInhalt(TForm* Form) {
    const TSize Inhalt = PlacedChildrenExtent(Form);
    Form->SetMinClientSize(Inhalt.cx + 8, Inhalt.cy + 8);
}

struct TKapitelKnopf {
    const char* Caption;
    const char* Abschnitt;
    int Breite;
    int Oben;
    int Schrifthoehe;
};

} // namespace

TZqK::TZqK(TComponent* AOwner) : TForm(AOwner) {
    SetName(QStringLiteral("ZqK"));
    SetCaption(QStringLiteral("Kapitelauswahl"));
    SetColor(clNavy);
    SetBounds(0, 0, 696, 410);
    SetPosition(poScreenCenter);
    Button1 = Knopf(this, QStringLiteral("Button1"),
                    QStringLiteral("1. Kapitel : Natürliche Zahlen") + Auffuellung, 8, 16, 657, 60, 21);
    Button2 = Knopf(this, QStringLiteral("Button2"), QStringLiteral("2. Kapitel : Größen") + Auffuellung, 8,
                    88, 657, 60, 21);
    Button3 = Knopf(this, QStringLiteral("Button3"), QStringLiteral("3. Kapitel : Geometrie") + Auffuellung,
                    8, 160, 500, 60, 21);
    BitBtn1 = ZurueckKnopf(this, 520, 160);
    Button4 = Knopf(this, QStringLiteral("Button4"), QString(), 8, 232, 500, 60, 21);
    Button4->SetVisible(false);
    MindestgroesseNachInhalt(this);
    Button1->OnClick = [](TObject*) { KapitelOeffnen(1); };
    Button2->OnClick = [](TObject*) { KapitelOeffnen(2); };
    Button3->OnClick = [](TObject*) { KapitelOeffnen(3); };
}

TZqKapitel::TZqKapitel(TComponent* AOwner, int Kapitel) : TForm(AOwner), m_kapitel(Kapitel) {
    static const TKapitelKnopf K1[] = {
        {"1.1 Einführende Übungen", "TZqK1_1", 497, 16, 24},
        {"1.2 Schätzen und Runden", "TZqK1_2", 497, 88, 24},
        {"1.3 Schriftliches Rechnen", "TZqK1_3", 497, 160, 24},
        {"1.4 Diagramme", "TZqK1_4", 497, 232, 24},
        {"", "", 497, 304, 24},
    };
    static const TKapitelKnopf K2[] = {
        {"2.1 Zeiten", "TZqK2_1", 665, 16, 21},     {"2.2 Längen", "TZqK2_2", 665, 88, 21},
        {"2.3 Volumina", "TZqK2_3", 665, 160, 21},  {"2.4 Gewichte", "TZqK2_4", 665, 232, 21},
        {"2.5 Geldwerte", "TZqK2_5", 500, 304, 24}, {"2.6 Umwandeln von Einheiten", "TZqK2_6", 500, 372, 24},
    };
    static const TKapitelKnopf K3[] = {
        {"3.1 Ebene Geometrie", "TZqK3_1", 497, 16, 24},
        {"3.2 Räumliche Geometrie", "TZqK3_2", 497, 88, 24},
        {"", "", 497, 160, 24},
        {"", "", 497, 232, 24},
        {"", "", 497, 304, 24},
    };
    struct {
        const char* Caption;
        int Hoehe;
        const TKapitelKnopf* Knoepfe;
        int Anzahl;
        int ZurueckLinks, ZurueckOben;
    } const Kapiteltabelle[] = {
        {"1. Kapitel : Natürliche Zahlen", 410, K1, 5, 520, 304},
        {"2. Kapitel : Größen", 489, K2, 6, 528, 372},
        {"3. Kapitel : Geometrie", 410, K3, 5, 520, 232},
    };
    const auto& K = Kapiteltabelle[m_kapitel - 1];
    SetName(QStringLiteral("ZqK%1").arg(m_kapitel));
    SetCaption(QString::fromUtf8(K.Caption));
    SetColor(Kapitelfarbe);
    SetBounds(0, 0, 696, K.Hoehe);
    SetPosition(poScreenCenter);
    for (int i = 0; i < K.Anzahl; ++i) {
        const TKapitelKnopf& k = K.Knoepfe[i];
        const QString Caption = *k.Caption ? QString::fromUtf8(k.Caption) + Auffuellung : QString();
        TButton* b = Knopf(this, QStringLiteral("Button%1").arg(i + 1), Caption, 8, k.Oben, k.Breite, 60,
                           k.Schrifthoehe);
        Button[i + 1] = b;
        if (!*k.Abschnitt) {
            b->SetVisible(false);
            continue;
        }
        const QString Abschnitt = QString::fromLatin1(k.Abschnitt);
        b->OnClick = [Abschnitt](TObject*) { AbschnittOeffnen(Abschnitt); };
    }
    BitBtn1 = ZurueckKnopf(this, K.ZurueckLinks, K.ZurueckOben);
    MindestgroesseNachInhalt(this);
}

TZqKapitel* OffenesKapitel(int Kapitel) {
    return Kapitel >= 1 && Kapitel <= 3 ? Kapitelformen[Kapitel] : nullptr;
}

bool KapitelOeffnen(int Kapitel) {
    if (Kapitel < 1 || Kapitel > 3 || Kapitelformen[Kapitel]) return false;
    TZqKapitel* Form = nullptr;
    switch (Kapitel) {
    case 1:
        Form = new TZqK1(Application());
        break;
    case 2:
        Form = new TZqK2(Application());
        break;
    default:
        Form = new TZqK3(Application());
        break;
    }
    Kapitelformen[Kapitel] = Form;
    Form->ShowModal();
    Kapitelformen[Kapitel] = nullptr;
    Form->Release();
    return true;
}

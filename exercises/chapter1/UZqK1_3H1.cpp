#include "exercises/chapter1/UZqK1_3H1.h"

#include "platform/Keys.h"

TDivisionZustand ZqK1_3H1;

TZqK1_3H1::TZqK1_3H1(TComponent* AOwner) : TDivisionsform(AOwner, ZqK1_3H1, true) {
    SetName(QStringLiteral("ZqK1_3H1"));
    PanelTasten = Muster::Feld(this, nullptr, QStringLiteral("PanelTasten"), 953, 0, 49, 625, clBtnFace);
    PanelTasten->SetAlign(alRight);
    Image1 = Muster::Bild(this, PanelTasten, QStringLiteral("Image1"), 0, 0, 49, 625);
    Image1->SetAlign(alClient);
    Image1->SetStretch(true);
    Muster::BildLaden(Image1, QStringLiteral("ziffernblock.png"));
    for (int i = 1; i <= 11; ++i) {
        auto* b = new TSpeedButton(this);
        b->SetName(QStringLiteral("SpeedButton%1").arg(i));
        b->SetParent(PanelTasten);
        b->SetFlat(true);
        b->SetCursor(crHandPoint);
        b->SetParentFont(false);
        if (i == 1) {
            b->Font()->SetName(QStringLiteral("Arial"));
            b->Font()->SetHeight(-13);
            b->Font()->SetStyle(fsBold);
            b->SetCaption(QStringLiteral("löschen"));
        } else {
            b->Font()->SetName(QStringLiteral("Tahoma"));
            b->Font()->SetHeight(-32);
            b->SetCaption(QString::number(i - 2));
        }
        b->SetBounds(0, 48 * (i - 1), 48, 48);
        b->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
        SpeedButton[i] = b;
    }
}

void TZqK1_3H1::FormActivate(TObject* Sender) {
    B_Tastatur->SetVisible(false);
    TDivisionsform::FormActivate(Sender);
}

void TZqK1_3H1::SpeedButton1Click(TObject* Sender) {
    uint8_t Key = VK_BACK;
    auto* Knopf = dynamic_cast<TSpeedButton*>(Sender);
    if (Knopf && Knopf->ClassName() == QStringLiteral("TSpeedButton") && !Knopf->Caption().isEmpty())
        Key = static_cast<uint8_t>(Knopf->Caption().at(0).unicode() & 0xFF);
    if (Sender == SpeedButton[1]) Key = VK_BACK;
    keybd_event(Key, 0, 0, 0);
    keybd_event(Key, 0, KEYEVENTF_KEYUP, 0);
}

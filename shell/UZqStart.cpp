#include "UZqStart.h"

#include "shell/UAbschnitte.h"

#include <algorithm>

TZqStart* ZqStart = nullptr;

namespace {

TLabel* Beschriftung(TZqStart* Form, const char* Name, const QString& Caption, int Oben, int Hoehe,
                     TColor Farbe, TFontStyles Stil) {
    auto* l = new TLabel(Form);
    l->SetName(QString::fromLatin1(Name));
    l->SetParent(Form);
    l->SetTransparent(true);
    l->SetParentFont(false);
    l->Font()->SetName(QStringLiteral("Times New Roman"));
    l->Font()->SetHeight(-Hoehe);
    l->Font()->SetColor(Farbe);
    l->Font()->SetStyle(Stil);
    l->SetTop(Oben);
    l->SetCaption(Caption);
    return l;
}

TSpeedButton* Knopf(TZqStart* Form, const char* Name, const QString& Caption) {
    auto* b = new TSpeedButton(Form);
    b->SetName(QString::fromLatin1(Name));
    b->SetParent(Form);
    b->SetBounds(0, 0, 281, 49);
    b->SetFlat(true);
    b->SetCursor(crHandPoint);
    b->SetParentFont(false);
    b->Font()->SetName(QStringLiteral("Times New Roman"));
    b->Font()->SetHeight(-29);
    b->Font()->SetColor(clYellow);
    b->Font()->SetStyle(fsBold);
    b->SetCaption(Caption);
    return b;
}

} // namespace

TZqStart::TZqStart(TComponent* AOwner) : TForm(AOwner) {
    SetName(QStringLiteral("ZqStart"));
    SetCaption(QStringLiteral("Grundschule"));
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    SetWindowState(wsMaximized);
    SetBounds(0, 0, 1024, 768);

    Image1 = new TImage(this);
    Image1->SetName(QStringLiteral("Image1"));
    Image1->SetParent(this);
    Image1->SetAlign(alClient);
    Image1->SetStretch(true);
    Image1->Picture()->LoadFromFile(QStringLiteral(":/zqstart.png"));

    SpeedButton1 = Knopf(this, "SpeedButton1", QStringLiteral("Programm starten"));
    SpeedButton2 = Knopf(this, "SpeedButton2", QStringLiteral("Bedienungsanleitung"));
    Label1 = Beschriftung(this, "Label1", QStringLiteral("Pravolin"), 140, 48, clYellow, fsBold);
    Label2 = Beschriftung(this, "Label2", QStringLiteral("Grundschule"), 210, 35, clYellow, fsBold);
    Label3 = Beschriftung(this, "Label3", QStringLiteral(" "), 270, 35, clYellow, 0);
    Label4 = Beschriftung(this, "Label4", QStringLiteral("·   ·"), 320, 21, clYellow, 0);
    Label10 = Beschriftung(this, "Label10", QStringLiteral("Version 2.0"), 20, 35, clWhite, fsBold);

    SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
    SpeedButton2->OnClick = [this](TObject* s) { SpeedButton2Click(s); };
    // Room for both buttons side by side below the labels (see Anordnen).
    int Unten = 0;
    for (TLabel* l : {Label1, Label2, Label3, Label4})
        Unten = std::max(Unten, l->Top() + l->Height());
    SetMinClientSize(25 + SpeedButton1->Width() + 20 + 330, Unten + 20 + 100);
    OnActivate = [this](TObject* s) { FormActivate(s); };
    OnCanResize = [this](TObject* s, int& w, int& h, bool& r) { FormCanResize(s, w, h, r); };
}

void TZqStart::Anordnen(int W, int H) {
    const auto Mitte = [W](TControl* c) { c->SetLeft(W / 2 - c->Width() / 2); };
    SpeedButton1->SetLeft(25);
    SpeedButton1->SetTop(H - 100);
    SpeedButton2->SetLeft(W - 330);
    SpeedButton2->SetTop(H - 100);
    Mitte(Label1);
    Mitte(Label2);
    Label10->SetLeft(W - Label10->Width() - 20);
    Mitte(Label3);
    Mitte(Label4);
}

void TZqStart::FormActivate(TObject*) {
    Label4->SetCaption(QString());
    Anordnen(ClientWidth(), ClientHeight());
}

void TZqStart::FormCanResize(TObject*, int& NewWidth, int& NewHeight, bool& Resize) {
    // Lay out for the size the window is about to take.
    Anordnen(NewWidth - (Width() - ClientWidth()), NewHeight - (Height() - ClientHeight()));
    Resize = true;
}

void TZqStart::SpeedButton1Click(TObject*) {
    Close();
}

void TZqStart::SpeedButton2Click(TObject*) {
    if (ZqAnleitung) ZqAnleitung->ShowModal();
}

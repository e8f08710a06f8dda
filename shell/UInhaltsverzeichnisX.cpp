#include "shell/UInhaltsverzeichnisX.h"

#include "shell/UNavigation.h"

#include <QImage>

#include <algorithm>

namespace {

constexpr TColor kTitelFarbe = 11312966;
constexpr TColor kVzTextFarbe = 6127269;

template <class T> T* make(TForm* owner, TWinControl* parent, const char* name) {
    auto* c = new T(owner);
    c->SetName(QString::fromLatin1(name));
    c->SetParent(parent);
    return c;
}

TPanel* titelPanel(TForm* owner, TWinControl* parent, const char* name, const QString& caption) {
    auto* p = make<TPanel>(owner, parent, name);
    p->SetAlign(alTop);
    p->SetHeight(41);
    p->SetColor(kTitelFarbe);
    p->SetBevelOuter(bvNone);
    p->SetCaption(caption);
    return p;
}

TSpeedButton* flatButton(TForm* owner, TWinControl* parent, const char* name, const QString& caption,
                         const QString& hint, int left, int top) {
    auto* b = make<TSpeedButton>(owner, parent, name);
    b->SetBounds(left, top, 294, 60);
    b->SetFlat(true);
    b->SetCaption(caption);
    b->SetHint(hint);
    b->SetCursor(crHandPoint);
    return b;
}

TShape* trenner(TForm* owner, TWinControl* parent, const char* name, int left) {
    auto* s = make<TShape>(owner, parent, name);
    s->SetBounds(left, 4, 2, 60);
    s->Pen()->SetColor(clSilver);
    s->Brush()->SetColor(clSilver);
    return s;
}

TImage* hintergrund(TForm* owner, TWinControl* parent, const char* name, const QString& resource) {
    auto* img = make<TImage>(owner, parent, name);
    img->SetAlign(alClient);
    img->SetStretch(true);
    img->Picture()->LoadFromFile(resource);
    return img;
}

} // namespace

TInhaltsverzeichnisX::TInhaltsverzeichnisX(TComponent* AOwner) : TForm(AOwner) {
    SetWindowState(wsMaximized);
    SetPosition(poScreenCenter);
    Font()->SetName(QStringLiteral("Times New Roman"));
    Font()->SetHeight(-21);
    SetShowHint(true);

    B_PanelTitel = make<TPanel>(this, this, "B_PanelTitel");
    B_PanelTitel->SetAlign(alTop);
    B_PanelTitel->SetHeight(81);
    B_PanelTitel->SetColor(kTitelFarbe);
    B_PanelTitel->Font()->SetColor(clYellow);
    B_PanelTitel->Font()->SetName(QStringLiteral("Times New Roman"));
    B_PanelTitel->Font()->SetHeight(-32);
    B_PanelT1 = titelPanel(this, B_PanelTitel, "B_PanelT1", QStringLiteral("Pravolin"));
    B_PanelT2 = titelPanel(this, B_PanelTitel, "B_PanelT2", QString());

    B_PanelVzText = make<TPanel>(this, this, "B_PanelVzText");
    B_PanelVzText->SetAlign(alTop);
    B_PanelVzText->SetHeight(32);
    B_PanelVzText->SetColor(kVzTextFarbe);
    B_PanelVzText->SetCaption(QStringLiteral("  Inhaltsverzeichnis"));
    B_PanelVzText->SetAlignment(taLeftJustify);
    B_PanelVzText->Font()->SetColor(clYellow);
    B_PanelVzText->Font()->SetHeight(-24);
    SpeedButton1 = make<TSpeedButton>(this, B_PanelVzText, "SpeedButton1");
    SpeedButton1->SetBounds(200, 5, 23, 22);
    SpeedButton1->SetCursor(crHandPoint);
    SpeedButton1->SetHint(QStringLiteral("Schriftgröße des Inhaltsverzeichnises ändern"));
    SpeedButton2 = make<TSpeedButton>(this, B_PanelVzText, "SpeedButton2");
    SpeedButton2->SetBounds(232, 5, 23, 22);
    SpeedButton2->SetCursor(crHandPoint);
    SpeedButton2->SetHint(QStringLiteral("Bedienungsanleitung"));
    SpeedButton1->Glyph()->SetImage(QImage(QStringLiteral(":/glyph_schrift.png")));
    SpeedButton2->Glyph()->SetImage(QImage(QStringLiteral(":/glyph_anleitung.png")));

    B_PanelButtons = make<TPanel>(this, this, "B_PanelButtons");
    B_PanelButtons->SetAlign(alBottom);
    B_PanelButtons->SetHeight(68);
    hgbuttonliste = hintergrund(this, B_PanelButtons, "hgbuttonliste", QStringLiteral(":/hgbuttonliste.png"));
    BtnKapitelauswahl =
        flatButton(this, B_PanelButtons, "BtnKapitelauswahl", QStringLiteral("Kapitelauswahl"),
                   QStringLiteral("Mit Schablone drucken"), 5, 4);
    BtnKapitelauswahl->Font()->SetHeight(-32);
    Shape1 = trenner(this, B_PanelButtons, "Shape1", 302);
    B_PanelButtonende = make<TPanel>(this, B_PanelButtons, "B_PanelButtonende");
    B_PanelButtonende->SetAlign(alRight);
    B_PanelButtonende->SetWidth(310);
    B_PanelButtonende->SetBevelOuter(bvNone);
    B_Imageende = hintergrund(this, B_PanelButtonende, "B_Imageende", QStringLiteral(":/hgbuttonende.png"));
    ProgrammEnde = flatButton(this, B_PanelButtonende, "ProgrammEnde", QStringLiteral("Programm beenden"),
                              QStringLiteral("Aufgabenblatt beenden"), 11, 4);
    ProgrammEnde->Font()->SetHeight(-32);
    Shape2 = trenner(this, B_PanelButtonende, "Shape2", 4);

    B_PanelVZ = make<TPanel>(this, this, "B_PanelVZ");
    B_PanelVZ->SetAlign(alClient);
    // Both buttons of the bottom bar side by side and a few lines of the
    // contents, which scrolls by itself.
    SetMinClientSize(std::max(PlacedChildrenExtent(B_PanelButtons).cx + B_PanelButtonende->Width(),
                              PlacedChildrenExtent(B_PanelVzText).cx) +
                         8,
                     B_PanelTitel->Height() + B_PanelVzText->Height() + B_PanelButtons->Height() + 120);

    SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
    ProgrammEnde->OnClick = [this](TObject* s) { ProgrammEndeClick(s); };
    BtnKapitelauswahl->OnClick = [this](TObject* s) { BtnKapitelauswahlClick(s); };
    SpeedButton2->OnClick = [this](TObject* s) { SpeedButton2Click(s); };
    OnActivate = [this](TObject* s) { FormActivate(s); };
    OnCloseQuery = [this](TObject* s, bool& can) { FormCloseQuery(s, can); };
}

void TInhaltsverzeichnisX::EintragOeffnen(int Index) {
    (void)Index;
}

void TInhaltsverzeichnisX::FormActivate(TObject* Sender) {
    (void)Sender;
    Baumschriftgroesse = 14;
}

void TInhaltsverzeichnisX::BaumGestalten(TTreeView* Tree) {
    if (!Tree) return;
    Tree->SetColor(14651722);
    Tree->Font()->SetColor(65535);
    Tree->Font()->SetName(QStringLiteral("Arial"));
    Tree->Font()->SetSize(Baumschriftgroesse);
}

void TInhaltsverzeichnisX::SpeedButton1Click(TObject* Sender) {
    (void)Sender;
    Baumschriftgroesse = Baumschriftgroesse == 14 ? 12 : 14;
}

void TInhaltsverzeichnisX::ProgrammEndeClick(TObject* Sender) {
    (void)Sender;
    Close();
}

void TInhaltsverzeichnisX::BtnKapitelauswahlClick(TObject* Sender) {
    (void)Sender;
    KapitelauswahlZeigen();
}

void TInhaltsverzeichnisX::SpeedButton2Click(TObject* Sender) {
    (void)Sender;
    AnleitungZeigen();
}

bool TInhaltsverzeichnisX::KommandozeileAuswerten(TTreeView* Tree) {
    QStringList Texte;
    if (Tree)
        for (int i = 0; i < Tree->Items()->Count(); ++i)
            Texte << Tree->Items()->Item(i)->Text();
    return ::KommandozeileAuswerten(ErsterParameter(), Texte, [this](int i) { EintragOeffnen(i); });
}

bool TInhaltsverzeichnisX::BeendenErlaubt() {
    return ProgrammBeendenErlaubt();
}

void TInhaltsverzeichnisX::FormCloseQuery(TObject* Sender, bool& CanClose) {
    (void)Sender;
    CanClose = BeendenErlaubt();
}

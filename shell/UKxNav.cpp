#include "UKxNav.h"

#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "richtext/model/RPItem.h"
#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFReaderProperties.h"
#include "richtext/view/RPPrint.h"
#include "richtext/edit/RichPadEdit.h"
#include "shell/USeitenstil.h"
#include "shell/USetupLesen.h"
#include "term/USetup.h"

#include <QImage>

#include <algorithm>

TKxNav* KxNav = nullptr;
QString Anwendungsverzeichnis;

namespace {

constexpr TColor Knopfschrift = clTeal;

} // namespace

TSpeedButton* KxNavKnopf(TKxNav* Form, TWinControl* Parent, const char* Name, const QString& Caption, int Links,
                    int Breite) {
    auto* b = new TSpeedButton(Form);
    b->SetName(QString::fromLatin1(Name));
    b->SetParent(Parent);
    b->SetBounds(Links, 4, Breite, 48);
    b->SetFlat(true);
    b->SetCursor(crHandPoint);
    b->SetParentFont(false);
    b->Font()->SetName(QStringLiteral("Times New Roman"));
    b->Font()->SetHeight(-24);
    b->Font()->SetStyle(fsBold);
    b->Font()->SetColor(Knopfschrift);
    b->SetCaption(Caption);
    return b;
}


TKxNav::TKxNav(TComponent* AOwner) : TForm(AOwner) {
    SetName(QStringLiteral("KxNav"));
    SetCaption(QStringLiteral("Abschnitt x"));
    SetPosition(poScreenCenter);
    SetWindowState(wsMaximized);
    SetBounds(0, 0, 1024, 740);

    Panel1 = new TPanel(this);
    Panel1->SetName(QStringLiteral("Panel1"));
    Panel1->SetParent(this);
    Panel1->SetHeight(57);
    Panel1->SetAlign(alBottom);
    Panel1->SetBevelOuter(bvNone);
    Panel1->SetCaption(QString());
    Image1 = new TImage(this);
    Image1->SetName(QStringLiteral("Image1"));
    Image1->SetParent(Panel1);
    Image1->SetAlign(alClient);
    Image1->SetStretch(true);
    Image1->Picture()->LoadFromFile(QStringLiteral(":/hgbuttonliste.png"));
    // Silver separators between the buttons.
    const int Trenner[] = {134, 262, 390, 534, 678, 734, 806, 3};
    for (int i = 0; i < 8; ++i) {
        auto* s = new TShape(this);
        s->SetName(QStringLiteral("Shape%1").arg(i + 1));
        s->SetParent(Panel1);
        s->SetBounds(Trenner[i], 4, 2, 48);
        s->Pen()->SetColor(clSilver);
        s->Brush()->SetColor(clSilver);
    }

    SpeedButton1 = KxNavKnopf(this, Panel1, "SpeedButton1", QStringLiteral("Zurück"), 11, 118);
    SpeedButton4 = KxNavKnopf(this, Panel1, "SpeedButton4", QStringLiteral(" zurück"), 142, 115);
    SpeedButton5 = KxNavKnopf(this, Panel1, "SpeedButton5", QStringLiteral("vor "), 270, 115);
    SpeedButton5->SetLayout(blGlyphRight);
    SpeedButton4->Glyph()->SetImage(QImage(QStringLiteral(":/glyph_pfeil_links.png")));
    SpeedButton5->Glyph()->SetImage(QImage(QStringLiteral(":/glyph_pfeil_rechts.png")));
    // The arrows carry a second, grey picture for the disabled state.
    SpeedButton4->SetNumGlyphs(2);
    SpeedButton5->SetNumGlyphs(2);
    SpeedButton2 = KxNavKnopf(this, Panel1, "SpeedButton2", QStringLiteral("Übung 1"), 398, 131);
    SpeedButton3 = KxNavKnopf(this, Panel1, "SpeedButton3", QStringLiteral("Übung 2"), 542, 131);
    SpeedButton7 = KxNavKnopf(this, Panel1, "SpeedButton7", QString(), 686, 43);
    SpeedButton7->SetHint(QStringLiteral("Seite drucken"));
    SpeedButton7->Glyph()->SetImage(QImage(QStringLiteral(":/glyph_drucken.png")));
    SpeedButton7->SetShowHint(true);
    LogButton = KxNavKnopf(this, Panel1, "LogButton", QString(), 742, 59);
    LogButton->SetHint(QStringLiteral("Logbuch zum eintragen der bearbeiteten Übungen / Notizen"));
    LogButton->SetShowHint(true);
    LogButton->Glyph()->SetImage(QImage(QStringLiteral(":/glyph_logbuch.png")));

    LogPanelErzeugen();
    // The page and the log scroll by themselves; the button bars and the log's
    // head do not, and a narrower window would hide their buttons.
    SetMinClientSize(std::max({PlacedChildrenExtent(Panel1).cx, PlacedChildrenExtent(Panel2).cx,
                               PlacedChildrenExtent(Panel4).cx}) +
                         8,
                     Panel2->Height() + Panel4->Height() + 80);

    RPPrint1 = new TRPPrint(this);
    RPPrint1->SetName(QStringLiteral("RPPrint1"));
    RPPrint1->PreviewCorrection = true;
    psd = new TPrinterSetupDialog(this);
    psd->SetName(QStringLiteral("psd"));

    Seitenplatz = new TPanel(this);
    Seitenplatz->SetName(QStringLiteral("Seitenplatz"));
    Seitenplatz->SetParent(this);
    Seitenplatz->SetAlign(alClient);
    Seitenplatz->SetBevelOuter(bvNone);
    Seitenplatz->SetCaption(QString());
    Seitenplatz->SetColor(clWhite);

    RPStyle1 = SeitenstilErzeugen();
    Webbrowserx = new TRichPadEdit(this);
    Webbrowserx->SetName(QStringLiteral("Webbrowserx"));
    Webbrowserx->SetParent(Seitenplatz);
    Webbrowserx->SetAlign(alClient);
    Webbrowserx->SetReadOnly(true);
    Webbrowserx->EditorOptions = rpoCtrlJumps | rpoWantTabs | rpoHideReadOnlyCaret;
    Webbrowserx->SetStyle(RPStyle1.get());
    Webbrowserx->SetBackgroundStyle(bsTiled);
    // A jump in a page names another program of the family and a place in it.
    Webbrowserx->OnJump = [this](TObject* s, int SprungNr) { WebbrowserxJump(s, SprungNr); };
    TRPRTFReaderProperties* rtf = Webbrowserx->GetRTFReadProperties();
    rtf->UnicodeMode = rpruMixed;
    rtf->TextStyleMode = rprsAddIfNeeded;
    rtf->ParaStyleMode = rprsAddIfNeeded;

    SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
    SpeedButton4->OnClick = [this](TObject* s) { SpeedButton4Click(s); };
    SpeedButton5->OnClick = [this](TObject* s) { SpeedButton5Click(s); };
    SpeedButton2->OnClick = [this](TObject* s) { SpeedButton2Click(s); };
    SpeedButton3->OnClick = [this](TObject* s) { SpeedButton3Click(s); };
    SpeedButton7->OnClick = [this](TObject* s) { SpeedButton7Click(s); };
    LogbuchDrucken->OnClick = [this](TObject* s) { LogbuchDruckenClick(s); };
    OnActivate = [this](TObject* s) { FormActivate(s); };
}

TKxNav::~TKxNav() {
    // The views go before their style components.
    delete Webbrowserx;
    Webbrowserx = nullptr;
    delete Logtext;
    Logtext = nullptr;
}

void TKxNav::SeitenEinrichten() {
    for (int i = 1; i <= MaxSeiten; ++i) {
        Seite[i].Uebung1 = QStringLiteral("Übung %1").arg(i);
        Seite[i].Uebung2.clear();
        Seite[i].Datei.clear();
    }
    Seitenanzahl = 1;
}

void TKxNav::FormActivate(TObject*) {
    if (KxNav) {
        if (KxNav->AktSeite < 1) KxNav->AktSeite = 1;
        AktSeite = KxNav->AktSeite;
    }

    Anwendungsverzeichnis = GetCurrentDir();
    FSetupLesen(Anwendungsverzeichnis);

    SeitenEinrichten();
    if (Seitenanzahl < 1) Seitenanzahl = 1;
    if (Seitenanzahl > MaxSeiten) Seitenanzahl = MaxSeiten;
    // A start page beyond the page count is shown as it is (an empty page with
    // the default caption, left by " zurück"); only the table bounds it.
    if (AktSeite > MaxSeiten) AktSeite = MaxSeiten;
    SeiteAnzeigen();

    // "0" and an empty text mean: no deep link is waiting.
    const QString T = KxNav ? CodePage::AnsiUpperCase(KxNav->AutoOeffnen) : QString();
    if (T.isEmpty() || T == QLatin1String("0")) return;
    // Only the shown page's two buttons are looked at.
    if (T == QLatin1String("A")) SpeedButton2->Click();
    if (T == QLatin1String("B")) SpeedButton3->Click();
    if (T == CodePage::AnsiUpperCase(SpeedButton2->Caption())) SpeedButton2->Click();
    if (T == CodePage::AnsiUpperCase(SpeedButton3->Caption())) SpeedButton3->Click();
}

QString TKxNav::SeitenDatei() const {
    return AktSeite >= 1 && AktSeite <= MaxSeiten ? Seite[AktSeite].Datei : QString();
}

void TKxNav::SeiteAnzeigen() {
    const int Nr = AktSeite >= 1 && AktSeite <= MaxSeiten ? AktSeite : 1;
    const TAbschnitt& P = Seite[Nr];
    SpeedButton2->SetCaption(P.Uebung1);
    SpeedButton3->SetCaption(P.Uebung2);
    // Once arrow, always arrow: nothing sets the hand back.
    if (P.Uebung2.isEmpty()) SpeedButton3->SetCursor(crDefault);
    SpeedButton4->SetEnabled(AktSeite != 1);
    SpeedButton5->SetEnabled(Seitenanzahl > AktSeite);

    Webbrowserx->Clear();
    Webbrowserx->ScrollTo(0);
    // The page file: the data folder first, then the shared installation.
    m_seitenPfad.clear();
    if (!P.Datei.isEmpty()) {
        const QString A = Anwendungsverzeichnis + QStringLiteral("\\dateien\\") + P.Datei;
        const QString F = QStringLiteral("c:\\Orvandel\\dateien\\") + P.Datei;
        if (FileExists(A)) {
            m_seitenPfad = Paths::MapPath(A);
        } else if (FileExists(F)) {
            m_seitenPfad = Paths::MapPath(F);
            FSetup.Anwendungsverzeichnis = QStringLiteral("c:\\Orvandel");
        }
    }
    // A page that cannot be read keeps what was loaded, possibly nothing.
    try {
        if (!m_seitenPfad.isEmpty()) Webbrowserx->LoadRTF(m_seitenPfad.toStdString());
    } catch (...) {
    }
    BilderAusrichten();
    Webbrowserx->Format();
}

void TKxNav::BilderAusrichten() {
    for (int i = 0; i < Webbrowserx->ItemCount(); ++i) {
        if (Webbrowserx->GetItemStyle(i) != rpsnPicture) continue;
        std::string Name;
        TGraphic* Bild = nullptr;
        uint8_t Ausrichtung = 0;
        TRPTag Tag;
        Webbrowserx->GetPictureInfo(i, Name, Bild, Ausrichtung, Tag);
        Webbrowserx->SetPictureInfo(i, Name, Bild, 1, Tag);
        Webbrowserx->SetItemExtraIntProperty(i, rpeipVShift, 20);
    }
    Webbrowserx->Format();
}

void TKxNav::SpeedButton1Click(TObject*) {
    Close();
}

void TKxNav::SpeedButton4Click(TObject*) {
    if (AktSeite > 1) --AktSeite;
    SeiteAnzeigen();
}

void TKxNav::SpeedButton5Click(TObject*) {
    if (AktSeite < Seitenanzahl) ++AktSeite;
    SeiteAnzeigen();
}

void TKxNav::SpeedButton2Click(TObject*) {}

void TKxNav::SpeedButton3Click(TObject*) {}

void TKxNav::Drucken(TCustomRichPad* Quelle, const QString& Titel) {
    bool Gedruckt = true;
    try {
        RPPrint1->AssignSource(Quelle);
        RPPrint1->FormatPages();
        if (RPPrint1->GetPagesCount() > 0) Gedruckt = RPPrint1->Print(Titel, 1, false);
    } catch (...) {
        Gedruckt = false;
    }
    RPPrint1->ReleaseSource();
    if (!Gedruckt) MessageDlg(QStringLiteral("Das Drucken ist fehlgeschlagen."), mtError, mbOK);
}

void TKxNav::SpeedButton7Click(TObject*) {
    // The page prints on white paper; the tiled background comes back afterwards.
    Webbrowserx->SetBackgroundStyle(bsNoBitmap);
    if (psd->Execute()) Drucken(Webbrowserx, QStringLiteral("Pravolin - Grundschule"));
    Webbrowserx->SetBackgroundStyle(bsTiled);
}

void TKxNav::LogbuchDruckenClick(TObject*) {
    if (psd->Execute()) Drucken(Logtext, QStringLiteral("Logbuch"));
}

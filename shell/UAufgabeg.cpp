#include "UAufgabeg.h"

#include "platform/Keys.h"
#include "platform/Paths.h"
#include "platform/Wait.h"
#include "shell/AufgabegRegeln.h"
#include "term/USetup.h"

#include <QImage>

#include <algorithm>

namespace {

constexpr TColor Formfarbe = 14995896; // RGB 184, 209, 228

TSpeedButton* Knopf(TAufgabeg* Form, TWinControl* Parent, const char* Name, const QString& Caption, int Links,
                    int Oben, int Breite, int Hoehe) {
    auto* b = new TSpeedButton(Form);
    b->SetName(QString::fromLatin1(Name));
    b->SetParent(Parent);
    b->SetBounds(Links, Oben, Breite, Hoehe);
    b->SetFlat(true);
    b->SetCaption(Caption);
    return b;
}

void Schrift(TControl* c, const char* Name, int Hoehe, TFontStyles Stil = 0) {
    c->SetParentFont(false);
    c->Font()->SetName(QString::fromLatin1(Name));
    c->Font()->SetHeight(Hoehe);
    c->Font()->SetStyle(Stil);
}

// A button picture from the program's resources.
void Bild(TSpeedButton* b, const char* Name) {
    b->Glyph()->SetImage(QImage(QStringLiteral(":/") + QString::fromLatin1(Name)));
}

void Hinweis(TControl* c, const QString& Text) {
    c->SetHint(Text);
    c->SetShowHint(true);
}

TTabSheet* Seite(TAufgabeg* Form, TPageControl* pc, const char* Name) {
    auto* s = new TTabSheet(Form);
    s->SetName(QString::fromLatin1(Name));
    s->SetPageControl(pc);
    return s;
}

} // namespace

TAufgabeg::TAufgabeg(TComponent* AOwner) : TForm(AOwner) {
    SetName(QStringLiteral("Aufgabeg"));
    SetBounds(0, 0, 1024, 715);
    SetColor(Formfarbe);
    Font()->SetName(QStringLiteral("Arial"));
    Font()->SetHeight(-16);

    // Bottom button bar.
    B_BtnPanel = new TPanel(this);
    B_BtnPanel->SetName(QStringLiteral("B_BtnPanel"));
    B_BtnPanel->SetParent(this);
    B_BtnPanel->SetHeight(56);
    B_BtnPanel->SetAlign(alBottom);
    B_BtnPanel->SetBevelOuter(bvNone);
    B_BtnPanel->SetCaption(QString());
    B_BtnPanelBild = new TImage(this);
    B_BtnPanelBild->SetName(QStringLiteral("B_BtnPanelBild"));
    B_BtnPanelBild->SetParent(B_BtnPanel);
    B_BtnPanelBild->SetAlign(alClient);
    B_BtnPanelBild->SetStretch(true);
    B_BtnPanelBild->Picture()->LoadFromFile(QStringLiteral(":/hgbuttonliste.png"));

    struct Leiste {
        TSpeedButton** Ziel;
        const char* Name;
        const char* Caption;
        int Links, Breite;
        const char* Hint;
    };
    const Leiste Knoepfe[] = {
        {&B_NeueAufgabe, "B_NeueAufgabe", "Neue Aufgabe", 5, 164, "Neue Aufgabe"},
        {&B_Neuer_Typ, "B_Neuer_Typ", "Neuer Typ", 181, 164, nullptr},
        {&B_BtnAufgabenNr, "B_BtnAufgabenNr", "Aufgabe 1", 358, 140, "Aufgabenzähler"},
        {&B_speichern, "B_speichern", "", 508, 58,
         "Screenshot erstellen. Der Screenshot wird in die Zwischenablage kopiert und kann im "
         "Lichtstudioprogramm "
         "(zur Arbeitsblatterstellung) eingefügt werden."},
        {&B_drucken, "B_drucken", "", 576, 58, "Lichtstudio für Screenshots starten"},
        {&B_Kurvenwerk, "B_Kurvenwerk", "", 644, 49, "Kurvenwerk starten"},
        {&B_Raumschau, "B_Raumschau", "", 704, 49, "Raumschau starten"},
        {&B_Taschenrechner, "B_Taschenrechner", "", 764, 49, "Taschenrechner starten"},
        {&B_weitere_Werkzeuge, "B_weitere_Werkzeuge", "weitere Werkzeuge", 824, 90,
         "weitere Werzeuge anzeigen"},
        {&ProgrammEnde, "ProgrammEnde", "Ende", 924, 86, "Übung beenden"},
    };
    int Trenner = 0;
    for (const Leiste& k : Knoepfe) {
        TSpeedButton* b =
            Knopf(this, B_BtnPanel, k.Name, QString::fromUtf8(k.Caption), k.Links, 4, k.Breite, 48);
        Schrift(b, "Arial", -16, fsBold);
        if (k.Hint) Hinweis(b, QString::fromUtf8(k.Hint));
        *k.Ziel = b;
        // A thin separator after each button.
        auto* s = new TShape(this);
        s->SetName(QStringLiteral("B_Trenner%1").arg(++Trenner));
        s->SetParent(B_BtnPanel);
        s->SetBounds(k.Links + k.Breite + 3, 4, 2, 48);
        s->Pen()->SetColor(clSilver);
        s->Brush()->SetColor(clSilver);
    }
    Schrift(B_weitere_Werkzeuge, "Times New Roman", -19);
    Bild(B_speichern, "glyph_screenshot.png");
    B_speichern->SetNumGlyphs(2); // with a grey picture for the disabled state
    Bild(B_drucken, "glyph_lichtstudio.png");
    Bild(B_Kurvenwerk, "glyph_kurvenwerk.png");
    Bild(B_Raumschau, "glyph_raumschau.png");
    Bild(B_Taschenrechner, "glyph_taschenrechner.png");
    for (TSpeedButton* b : {B_Kurvenwerk, B_Raumschau, B_Taschenrechner})
        b->SetLayout(blGlyphTop);
    B_BtnAufgabenNr->SetCursor(crHelp);

    // The keypad on the right.
    B_Tastatur = new TPanel(this);
    B_Tastatur->SetName(QStringLiteral("B_Tastatur"));
    B_Tastatur->SetParent(this);
    B_Tastatur->SetWidth(202);
    B_Tastatur->SetAlign(alRight);
    B_Tastatur->SetBevelOuter(bvNone);
    B_Tastatur->SetCaption(QString());
    B_Tastatur->SetColor(Formfarbe);
    Schrift(B_Tastatur, "Arial", -24);
    B_PageControl2 = new TPageControl(this);
    B_PageControl2->SetName(QStringLiteral("B_PageControl2"));
    B_PageControl2->SetParent(B_Tastatur);
    B_PageControl2->SetAlign(alClient);
    B_TS_Tastatur1 = Seite(this, B_PageControl2, "B_TS_Tastatur1");
    B_TS_Tastatur3 = Seite(this, B_PageControl2, "B_TS_Tastatur3");
    B_TastaturBild = new TImage(this);
    B_TastaturBild->SetName(QStringLiteral("B_TastaturBild"));
    B_TastaturBild->SetParent(B_TS_Tastatur1);
    B_TastaturBild->SetAlign(alClient);
    B_TastaturBild->SetStretch(true);
    B_TastaturBild->Picture()->LoadFromFile(QStringLiteral(":/hgtastatur.png"));

    struct Taste {
        TSpeedButton** Ziel;
        const char* Name;
        const char* Caption;
        bool Symbol;
        int Links, Oben, Breite;
    };
    const Taste Tasten[] = {
        {&SpeedButtonLinks, "SpeedButtonLinks", "¬", true, 0, 0, 49},
        {&SpeedButtonRechts, "SpeedButtonRechts", "®", true, 48, 0, 49},
        {&SpeedButtonClearZ, "SpeedButtonClearZ", "¬", true, 96, 0, 97},
        {&SpeedButtonZ[1], "SpeedButtonZ1", "1", false, 0, 90, 97},
        {&SpeedButtonZ[2], "SpeedButtonZ2", "2", false, 96, 90, 97},
        {&SpeedButtonZ[3], "SpeedButtonZ3", "3", false, 0, 178, 97},
        {&SpeedButtonZ[4], "SpeedButtonZ4", "4", false, 96, 178, 97},
        {&SpeedButtonZ[5], "SpeedButtonZ5", "5", false, 0, 264, 97},
        {&SpeedButtonZ[6], "SpeedButtonZ6", "6", false, 96, 264, 97},
        {&SpeedButtonZ[7], "SpeedButtonZ7", "7", false, 0, 350, 97},
        {&SpeedButtonZ[8], "SpeedButtonZ8", "8", false, 96, 350, 97},
        {&SpeedButtonZ[9], "SpeedButtonZ9", "9", false, 0, 438, 97},
        {&SpeedButtonZ[0], "SpeedButtonZ0", "0", false, 96, 438, 97},
        {&SpeedButtonKomma, "SpeedButtonKomma", ",", false, 0, 524, 97},
        {&SpeedButtonReturn, "SpeedButtonReturn", "¿", true, 96, 524, 97},
    };
    for (const Taste& t : Tasten) {
        TSpeedButton* b =
            Knopf(this, B_TS_Tastatur1, t.Name, QString::fromUtf8(t.Caption), t.Links, t.Oben, t.Breite, 88);
        b->SetCursor(crHandPoint);
        if (t.Symbol)
            Schrift(b, "Symbol", -24);
        else
            Schrift(b, "Tahoma", -48);
        *t.Ziel = b;
    }
    Bild(SpeedButtonClearZ, "glyph_loeschen.png");
    SpeedButtonClearZ->SetLayout(blGlyphBottom);
    Bild(SpeedButtonReturn, "glyph_eingabe.png");
    SpeedButtonReturn->SetLayout(blGlyphTop);
    SpeedButtonLinks->OnClick = [this](TObject* s) { SpeedButtonLinksClick(s); };
    SpeedButtonRechts->OnClick = [this](TObject* s) { SpeedButtonLinksClick(s); };
    for (TSpeedButton* b : {SpeedButtonClearZ, SpeedButtonKomma, SpeedButtonReturn}) {
        b->OnMouseDown = [this](TObject* s, TMouseButton m, TShiftState sh, int x, int y) {
            SpeedButton1hhMouseDown(s, m, sh, x, y);
        };
        b->OnMouseUp = [this](TObject* s, TMouseButton m, TShiftState sh, int x, int y) {
            SpeedButton1hhMouseUp(s, m, sh, x, y);
        };
    }
    for (TSpeedButton* b : SpeedButtonZ) {
        b->OnMouseDown = [this](TObject* s, TMouseButton m, TShiftState sh, int x, int y) {
            SpeedButton1hhMouseDown(s, m, sh, x, y);
        };
        b->OnMouseUp = [this](TObject* s, TMouseButton m, TShiftState sh, int x, int y) {
            SpeedButton1hhMouseUp(s, m, sh, x, y);
        };
    }

    // The tool page of the keypad panel.
    struct Werkzeug {
        TSpeedButton** Ziel;
        const char* Name;
        const char* Caption;
        int Oben;
        const char* Hint;
    };
    const Werkzeug Werkzeuge[] = {
        {&B_Termlotse, "B_Termlotse", "Termlotse", 4, "Termlotse starten"},
        {&B_Zufallslotse, "B_Zufallslotse", "Zufallslotse", 56, "Zufallslotse starten"},
        {&B_Bildkalk, "B_Bildkalk", "Bildkalk", 108, "Bildkalk starten"},
        {&B_Skizzbrett, "B_Skizzbrett", "Skizzbrett", 160, "Skizzbrett starten"},
        {&B_Findeling, "B_Findeling", "Findeling", 212, "Findeling starten"},
        {&B_Lichtstudio, "B_Lichtstudio", "Lichtstudio", 316, "Lichtstudio für Screenshots starten"},
    };
    for (const Werkzeug& w : Werkzeuge) {
        TSpeedButton* b =
            Knopf(this, B_TS_Tastatur3, w.Name, QString::fromUtf8(w.Caption), 1, w.Oben, 188, 48);
        Schrift(b, "Times New Roman", -19);
        Hinweis(b, QString::fromUtf8(w.Hint));
        *w.Ziel = b;
    }
    B_Lichtstudio->SetVisible(false);
    B_zurueck_zur_Tastatur = Knopf(this, B_TS_Tastatur3, "B_zurueck_zur_Tastatur",
                                   QStringLiteral("zurück zur Tastatur"), 0, 552, 189, 48);
    Schrift(B_zurueck_zur_Tastatur, "Arial", -16);
    Hinweis(B_zurueck_zur_Tastatur, QStringLiteral("Tastatur anzeigen"));

    // The task page and its hidden helpers.
    B_PageControl1 = new TPageControl(this);
    B_PageControl1->SetName(QStringLiteral("B_PageControl1"));
    B_PageControl1->SetParent(this);
    B_PageControl1->SetAlign(alClient);
    TSAufgabe = Seite(this, B_PageControl1, "TSAufgabe");
    TSHelp = Seite(this, B_PageControl1, "TSHelp");
    TSUser1 = Seite(this, B_PageControl1, "TSUser1");
    B_ScrollBox = new TScrollBox(this);
    B_ScrollBox->SetName(QStringLiteral("B_ScrollBox"));
    B_ScrollBox->SetParent(TSAufgabe);
    B_ScrollBox->SetAlign(alClient);
    B_ScrollBox->SetBorderStyle(bsNone);
    B_ScrollBox->SetHorzScrollBarVisible(false);
    B_ScrollBox->SetVertScrollBarVisible(false);
    OnMouseWheelDown = [this](TObject* s) { FormMouseWheelDown(s); };
    OnMouseWheelUp = [this](TObject* s) { FormMouseWheelUp(s); };
    // The task area and the keypad pages show the form's colour.
    for (TWinControl* c :
         {static_cast<TWinControl*>(TSAufgabe), static_cast<TWinControl*>(B_ScrollBox),
          static_cast<TWinControl*>(B_TS_Tastatur1), static_cast<TWinControl*>(B_TS_Tastatur3)})
        c->SetColor(Formfarbe);
    B_ShapeFormgroesse = new TShape(this);
    B_ShapeFormgroesse->SetName(QStringLiteral("B_ShapeFormgroesse"));
    B_ShapeFormgroesse->SetParent(TSAufgabe);
    B_ShapeFormgroesse->SetBounds(TSAufgabe->ClientWidth() - 5, TSAufgabe->ClientHeight() - 5, 5, 5);
    B_ShapeFormgroesse->Brush()->SetColor(clBlack);
    Druckimage = new TImage(this);
    Druckimage->SetName(QStringLiteral("Druckimage"));
    Druckimage->SetParent(TSHelp);
    Screenimage = new TImage(this);
    Screenimage->SetName(QStringLiteral("Screenimage"));
    Screenimage->SetParent(TSHelp);
    B_Scriptmemo = new TMemo(this);
    B_Scriptmemo->SetName(QStringLiteral("B_Scriptmemo"));
    B_Scriptmemo->SetParent(TSHelp);
    B_Scriptmemo->SetWordWrap(false);
    B_Scriptmemo->SetVisible(false);

    B_NeueAufgabe->OnClick = [this](TObject* s) { B_NeueAufgabeClick(s); };
    for (TSpeedButton* b : {B_Kurvenwerk, B_Raumschau, B_Taschenrechner, B_Termlotse, B_Zufallslotse, B_Bildkalk,
                            B_Skizzbrett, B_Findeling})
        b->OnClick = [this](TObject* s) { B_KurvenwerkClick(s); };
    for (TSpeedButton* b : {B_drucken, B_Lichtstudio})
        b->OnClick = [this](TObject* s) { B_druckenClick(s); };
    B_speichern->OnClick = [this](TObject* s) { B_speichernClick(s); };
    ProgrammEnde->OnClick = [this](TObject* s) { ProgrammEndeClick(s); };
    B_weitere_Werkzeuge->OnClick = [this](TObject* s) { B_weitere_WerkzeugeClick(s); };
    B_zurueck_zur_Tastatur->OnClick = [this](TObject* s) { B_zurueck_zur_TastaturClick(s); };
    OnActivate = [this](TObject* s) { FormActivate(s); };
}

void TAufgabeg::FormActivate(TObject*) {
    // The size the form was laid out for is the least it takes: a negative
    // enlargement leaves the window at that size.
    SetMinClientSize(ClientWidth(), ClientHeight());
    SetFormStyle(FSetup.SOT ? fsStayOnTop : fsNormal);
    if (FSetup.CW) {
        // No enlargement beyond a screen's size: the window system could not
        // make such a window.
        const int Breite = Width() + std::min(FSetup.WDX, Screen()->Width());
        const int Hoehe = Height() + std::min(FSetup.WDY, Screen()->Height());
        // SetBounds keeps the outer size; SetLeft/SetTop of a form would not.
        SetBounds(Left(), Top(), Breite, Hoehe);
        SetBounds((Screen()->Width() - Width()) / 2, (Screen()->Height() - Height()) / 2, Width(), Height());
    }
    TermlotseModus = 5;

    const std::pair<bool, TSpeedButton*> Werkzeugschalter[] = {
        {FSetup.KeinKurvenwerk, B_Kurvenwerk},         {FSetup.KeinRaumschau, B_Raumschau},
        {FSetup.KeinTaschenrechner, B_Taschenrechner}, {FSetup.KeinTermlotse, B_Termlotse},
        {FSetup.KeinZufallslotse, B_Zufallslotse},     {FSetup.KeinBildkalk, B_Bildkalk},
        {FSetup.KeinSkizzbrett, B_Skizzbrett},
    };
    for (const auto& [Aus, Knopf] : Werkzeugschalter)
        if (Aus) Knopf->SetVisible(false);

    Arbeitsverzeichnis = GetCurrentDir();
    WerkzeugknoepfeEinrichten();

    // Help and solution buttons by their captions; speed buttons stay as they are.
    if (FSetup.KeineHilfe || FSetup.KeineLoesung)
        for (int i = 0; i < ComponentCount(); ++i)
            if (auto* b = dynamic_cast<TButton*>(Components(i)))
                if (DurchSetupGesperrt(b->Caption(), FSetup.KeineHilfe, FSetup.KeineLoesung))
                    b->SetEnabled(false);

    for (TTabSheet* s : {TSAufgabe, TSHelp, TSUser1})
        s->SetTabVisible(false);
    B_ShapeFormgroesse->SetVisible(false);
    B_PageControl1->SetActivePage(TSAufgabe);
    B_TS_Tastatur1->SetTabVisible(false);
    B_TS_Tastatur3->SetTabVisible(false);
    B_PageControl2->SetActivePage(B_TS_Tastatur1);
    B_weitere_Werkzeuge->SetCaption(QStringLiteral("weitere\rWerkzeuge"));

    AufgabenNr = 0;
    B_BtnAufgabenNr->SetCaption(QStringLiteral("Aufgabe 1"));

    Skalieren();
    Zentrieren();
    // The task area and the bars do not scroll sideways: the window keeps the
    // size it was laid out for, so that every control stays reachable.
    SetMinClientSize(ClientWidth(), ClientHeight());
    SkriptAnbieten();
}

void TAufgabeg::Skalieren() {
    SkalierungZaehler = 1;
    SkalierungNenner = 1;
    const TSkalierung S = SkalierungBerechnen(FSetup.Skalieren, FSetup.Skalierungsfaktor, Width(), Height(),
                                              Screen()->Width(), Screen()->Height(), TaskleistenHoehe());
    if (!S.An) return;
    for (int i = 0; i < S.Schritte; ++i) {
        ScaleBy(S.SchrittM, S.SchrittD);
        Skalierschritte.emplace_back(S.SchrittM, S.SchrittD);
    }
    SetBounds(Left(), Top(), S.Breite, S.Hoehe);
    SkalierungZaehler = S.Zaehler;
    SkalierungNenner = S.Nenner;
}

int TAufgabeg::Skaliert(int Entwurf) const {
    // Step by step, rounded as each scaling rounded the controls.
    int Wert = Entwurf;
    for (const auto& [M, D] : Skalierschritte)
        Wert = TControl::Scaled(Wert, M, D);
    return Wert;
}

void TAufgabeg::Zentrieren() {
    int Links = 0, Oben = 0;
    FensterZentrieren(Width(), Height(), Screen()->Width(), Screen()->Height(), Links, Oben);
    SetBounds(Links, Oben, Width(), Height());
}

void TAufgabeg::NeueAufgabe() {
    B_PageControl1->SetActivePage(TSAufgabe);
    AufgabenNr = NaechsteAufgabenNr(AufgabenNr, Aufgabenanzahl);
    B_BtnAufgabenNr->SetCaption(AufgabenZaehlerText(AufgabenNr, Aufgabenanzahl));
}

void TAufgabeg::B_NeueAufgabeClick(TObject*) {
    NeueAufgabe();
    B_speichern->SetEnabled(true);
}

void TAufgabeg::ProgrammEndeClick(TObject*) {
    Close();
}

void TAufgabeg::FormMouseWheelDown(TObject*) {
    B_ScrollBox->SetVertPosition(B_ScrollBox->VertPosition() + 10);
}

void TAufgabeg::FormMouseWheelUp(TObject*) {
    B_ScrollBox->SetVertPosition(B_ScrollBox->VertPosition() - 10);
}

uint16_t TAufgabeg::TastenCode(TObject* Sender) const {
    for (int z = 0; z <= 9; ++z)
        if (Sender == SpeedButtonZ[z]) return static_cast<uint16_t>('0' + z);
    if (Sender == SpeedButtonKomma) return VK_DECIMAL;
    if (Sender == SpeedButtonReturn) return VK_RETURN;
    if (Sender == SpeedButtonClearZ) return VK_BACK;
    if (Sender == SpeedButtonLinks) return VK_LEFT;
    if (Sender == SpeedButtonRechts) return VK_RIGHT;
    return 0;
}

void TAufgabeg::SpeedButton1hhMouseDown(TObject* Sender, TMouseButton, TShiftState, int, int) {
    if (const uint16_t vk = TastenCode(Sender)) keybd_event(static_cast<uint8_t>(vk), 0, 0, 0);
}

void TAufgabeg::SpeedButton1hhMouseUp(TObject* Sender, TMouseButton, TShiftState, int, int) {
    if (const uint16_t vk = TastenCode(Sender)) keybd_event(static_cast<uint8_t>(vk), 0, KEYEVENTF_KEYUP, 0);
}

void TAufgabeg::SpeedButtonLinksClick(TObject* Sender) {
    SendKey(Sender == SpeedButtonRechts ? VK_RIGHT : VK_LEFT);
}

void TAufgabeg::B_weitere_WerkzeugeClick(TObject*) {
    B_PageControl2->SetActivePage(B_TS_Tastatur3);
}

void TAufgabeg::B_zurueck_zur_TastaturClick(TObject*) {
    B_PageControl2->SetActivePage(B_TS_Tastatur1);
}

void TAufgabeg::FarbeInRGB(TColor Farbe, int& R, int& G, int& B) {
    const TColor c = ColorToRGB(Farbe);
    B = c / 65536;
    G = (c - B * 65536) / 256;
    R = c - B * 65536 - G * 256;
}

void Verzoegerung(uint32_t Millisekunden) {
    WaitResponsive(Millisekunden);
}

int TaskleistenHoehe() {
    // A bar at the bottom edge shows as a work area that ends above the screen's bottom.
    const TRect Arbeit = Screen()->WorkAreaRect();
    const int Hoehe = Screen()->Height();
    if (Arbeit.Bottom <= 0 || Arbeit.Bottom >= Hoehe) return -1;
    return Hoehe - Arbeit.Bottom;
}

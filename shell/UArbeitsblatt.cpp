#include "shell/UArbeitsblatt.h"

#include "platform/Application.h"
#include "platform/Capture.h"
#include "platform/Clipboard.h"
#include "platform/CodePage.h"
#include "platform/ControlsRich.h"
#include "platform/Runtime.h"
#include "shell/UAufgabeg.h"

#include <QImage>

#include <cstring>

std::function<QImage(const TControl*)> Seitenaufnahme = ControlPicture;

namespace {

const char* const Rueckmeldetexte[] = {
    "Notizblock",
    "Leider falsch",
    "Super, das Ergebnis ist richtig.",
    "Keine Eingabe gemacht.",
    "Unzulässige Eingabe !",
    "Richtig, aber bitte noch weiter vereinfachen.",
    "Taste w für Wurzel",
    "Es fehlt mindestens ein Wert.",
    "Super, der Winkel ist richtig.",
    "Super, der Abstand ist richtig.",
    "Bitte genauer eingeben.",
    "Super, die Punktkoordinaten sind richtig.",
    "Super, richtig.",
};

const char* const Aktionswoerter[] = {"PRÜFEN",   "LÖSUNG", "DEZIMALWERT", "SIMULATION", "ANIMATION",
                                      "ERGEBNIS", "HILFE",  "ENTER",       "+",          "-",
                                      "START",    "STOPP",  "WEITER",      "OK"};

bool Weiss(const QRgb* Zeile, int Breite) {
    for (int x = 0; x < Breite; ++x)
        if ((Zeile[x] & 0xFFFFFF) != 0xFFFFFF) return false;
    return true;
}

// Drops white rows from the top: one stays above the content, and every band
// of white rows within or below it keeps its first Luecke rows.
QImage ObenZuschneiden(const QImage& Bild, int Luecke) {
    std::vector<int> Zeilen;
    int Lauf = 0;
    int Grenze = 1;
    for (int y = 0; y < Bild.height(); ++y) {
        const auto* Zeile = reinterpret_cast<const QRgb*>(Bild.constScanLine(y));
        if (Weiss(Zeile, Bild.width())) {
            if (++Lauf > Grenze) continue;
        } else {
            Lauf = 0;
            Grenze = Luecke;
        }
        Zeilen.push_back(y);
    }
    QImage Neu(Bild.width(), int(Zeilen.size()), QImage::Format_RGB32);
    for (int y = 0; y < Neu.height(); ++y)
        std::memcpy(Neu.scanLine(y), Bild.constScanLine(Zeilen[size_t(y)]), size_t(Bild.width()) * 4);
    return Neu;
}

// A quarter turn clockwise: the new pixel in column j of row r is the old
// pixel in column r of row (old height - 1 - j).
QImage Vierteldrehung(const QImage& Bild) {
    const int w = Bild.width(), h = Bild.height();
    QImage Neu(h, w, QImage::Format_RGB32);
    for (int r = 0; r < w; ++r) {
        auto* Zeile = reinterpret_cast<QRgb*>(Neu.scanLine(r));
        for (int j = 0; j < h; ++j)
            Zeile[j] = reinterpret_cast<const QRgb*>(Bild.constScanLine(h - 1 - j))[r];
    }
    return Neu;
}

// Whitens a control and keeps its colour. A colour taken from the parent
// comes back as such: the task page is white while the look is on.
void Weissen(TControl* c, TColor& Farbe, bool& Eltern) {
    Farbe = c->Color();
    Eltern = c->ParentColor();
    c->SetColor(clWhite);
}

void FarbeZurueck(TControl* c, TColor Farbe, bool Eltern) {
    c->SetColor(Farbe);
    if (Eltern) c->SetParentColor(true);
}

// Puts the form's look back however the screenshot ends.
class AussehenZurueck {
public:
    explicit AussehenZurueck(TAufgabeg* Form)
        : m_form(Form), m_form_farbe(Form->Color()), m_seite(Form->TSAufgabe->Color()),
          m_box(Form->B_ScrollBox->Color()) {}
    ~AussehenZurueck() {
        if (AnsichtAn) ArbeitsblattAnsichtAus(m_form);
        m_form->SetColor(m_form_farbe);
        m_form->TSAufgabe->SetColor(m_seite);
        m_form->B_ScrollBox->SetColor(m_box);
    }
    AussehenZurueck(const AussehenZurueck&) = delete;
    AussehenZurueck& operator=(const AussehenZurueck&) = delete;
    bool AnsichtAn = false;

private:
    TAufgabeg* m_form;
    TColor m_form_farbe, m_seite, m_box;
};

} // namespace

bool IstRueckmeldeText(const QString& Caption) {
    for (const char* t : Rueckmeldetexte)
        if (Caption == QString::fromUtf8(t)) return true;
    return false;
}

bool IstAktionsKnopf(const QString& Caption) {
    const QString Gross = CodePage::AnsiUpperCase(Caption);
    for (const char* w : Aktionswoerter)
        if (Gross.contains(QString::fromUtf8(w))) return true;
    return false;
}

bool IstWeissOption(const QString& Caption) {
    return CodePage::AnsiUpperCase(Caption).contains(QStringLiteral("WEIß"));
}

void ArbeitsblattAnsichtEin(TAufgabeg* Form) {
    auto& Z = Form->Steuerzustaende;
    Z.assign(MaxSteuerzustaende, TSteuerzustand{});
    const int n = std::min(Form->ComponentCount(), MaxSteuerzustaende);

    for (int i = 0; i < n; ++i)
        if (auto* l = dynamic_cast<TLabel*>(Form->Components(i)); l && IstRueckmeldeText(l->Caption())) {
            Z[i].Markiert = true;
            Z[i].Sichtbar = l->Visible();
            l->SetVisible(false);
            Z[i].FarbeA = l->Font()->Color();
            Z[i].FarbeB = l->Color();
        }
    for (int i = 0; i < n; ++i) {
        TComponent* c = Form->Components(i);
        if (auto* l = dynamic_cast<TLabel*>(c)) {
            Z[i].Markiert = true;
            Z[i].FarbeA = l->Font()->Color();
            l->Font()->SetColor(clBlack);
            Weissen(l, Z[i].FarbeB, Z[i].ElternFarbe);
        } else if (auto* s = dynamic_cast<TStaticText*>(c)) {
            Z[i].Markiert = true;
            Weissen(s, Z[i].FarbeB, Z[i].ElternFarbe);
        }
    }
    for (int i = 0; i < n; ++i) {
        TComponent* c = Form->Components(i);
        if (auto* b = dynamic_cast<TButton*>(c)) {
            if (!IstAktionsKnopf(b->Caption())) continue;
            Z[i].Markiert = true;
            Z[i].Sichtbar = b->Visible();
            b->SetVisible(false);
        } else if (auto* p = dynamic_cast<TPanel*>(c)) {
            Z[i].Markiert = true;
            Weissen(p, Z[i].FarbeA, Z[i].ElternFarbe);
            Z[i].Aussen = uint8_t(p->BevelOuter());
            p->SetBevelOuter(bvNone);
        } else if (auto* r = dynamic_cast<TRichEdit*>(c)) {
            Z[i].Markiert = true;
            Weissen(r, Z[i].FarbeA, Z[i].ElternFarbe);
            Z[i].Rahmen = uint8_t(r->BorderStyle());
            // A one-line box framed and filled moves down by the frame it loses.
            const bool Text = r->Lines()->Count() > 0 && !r->Lines()->Strings(0).isEmpty();
            if (r->BorderStyle() == bsSingle && Text && r->Height() < 70) Z[i].Verschiebung = -4;
            r->SetBorderStyle(bsNone);
            r->SetTop(r->Top() - Z[i].Verschiebung);
        } else if (auto* k = dynamic_cast<TCheckBox*>(c)) {
            if (!IstWeissOption(k->Caption())) continue;
            Z[i].Markiert = true;
            Z[i].Sichtbar = k->Visible();
            k->SetVisible(false);
        } else if (auto* g = dynamic_cast<TRadioGroup*>(c)) {
            // The program's group boxes are its radio groups; it has no list boxes.
            Z[i].Markiert = true;
            Weissen(g, Z[i].FarbeA, Z[i].ElternFarbe);
        }
    }
}

void ArbeitsblattAnsichtAus(TAufgabeg* Form) {
    auto& Z = Form->Steuerzustaende;
    const int n = std::min<int>(Form->ComponentCount(), int(Z.size()));
    for (int i = 0; i < n; ++i) {
        if (!Z[i].Markiert) continue;
        TComponent* c = Form->Components(i);
        if (auto* b = dynamic_cast<TButton*>(c)) {
            b->SetVisible(Z[i].Sichtbar);
        } else if (auto* p = dynamic_cast<TPanel*>(c)) {
            FarbeZurueck(p, Z[i].FarbeA, Z[i].ElternFarbe);
            p->SetBevelOuter(TBevelCut(Z[i].Aussen));
        } else if (auto* r = dynamic_cast<TRichEdit*>(c)) {
            FarbeZurueck(r, Z[i].FarbeA, Z[i].ElternFarbe);
            r->SetBorderStyle(TFormBorderStyle(Z[i].Rahmen));
            r->SetTop(r->Top() + Z[i].Verschiebung);
        } else if (auto* k = dynamic_cast<TCheckBox*>(c)) {
            k->SetVisible(Z[i].Sichtbar);
        } else if (auto* g = dynamic_cast<TRadioGroup*>(c)) {
            FarbeZurueck(g, Z[i].FarbeA, Z[i].ElternFarbe);
        } else if (auto* l = dynamic_cast<TLabel*>(c)) {
            l->Font()->SetColor(Z[i].FarbeA);
            FarbeZurueck(l, Z[i].FarbeB, Z[i].ElternFarbe);
            if (IstRueckmeldeText(l->Caption())) l->SetVisible(Z[i].Sichtbar);
        } else if (auto* s = dynamic_cast<TStaticText*>(c)) {
            FarbeZurueck(s, Z[i].FarbeB, Z[i].ElternFarbe);
        }
    }
}

QImage BildZuschneiden(const QImage& Bild, int Rand, int Luecke) {
    QImage Arbeit = Bild.convertToFormat(QImage::Format_RGB32);
    // Top, left, bottom and right in turn; after four turns the picture
    // stands as before.
    for (int Seite = 0; Seite < 4; ++Seite)
        Arbeit = Vierteldrehung(ObenZuschneiden(Arbeit, Luecke));
    Rand = std::max(Rand, 0);
    QImage Gerahmt(Arbeit.width() + 2 * Rand, Arbeit.height() + 2 * Rand, QImage::Format_RGB32);
    Gerahmt.fill(0xFFFFFFFFu);
    for (int y = 0; y < Arbeit.height(); ++y)
        std::memcpy(reinterpret_cast<QRgb*>(Gerahmt.scanLine(y + Rand)) + Rand, Arbeit.constScanLine(y),
                    size_t(Arbeit.width()) * 4);
    return Gerahmt;
}

void BildZuschneiden(TBitmap& Bild, int Rand, int Luecke) {
    Bild.SetImage(BildZuschneiden(Bild.Image(), Rand, Luecke));
    Bild.SetPixelFormat(pf24bit);
}

// ---- the exercise form's part -------------------------------------------------------

bool TAufgabeg::ScreenshotErstellen() {
    try {
        AussehenZurueck Zurueck(this);
        SetColor(clWhite);
        // The task page and its scroll box show the form's colour.
        TSAufgabe->SetColor(clWhite);
        B_ScrollBox->SetColor(clWhite);
        // No caret and no focus frame in the picture.
        if (B_PageControl1->CanFocus()) B_PageControl1->SetFocus();
        ArbeitsblattAnsichtEin(this);
        Zurueck.AnsichtAn = true;
        Screenimage->Picture()->Clear();
        Application()->ProcessMessages();
        const QImage Seite = Seitenaufnahme ? Seitenaufnahme(TSAufgabe) : QImage();
        ArbeitsblattAnsichtAus(this);
        Zurueck.AnsichtAn = false;
        Druckimage->Picture()->Clear();
        if (Seite.isNull()) return false;
        Screenimage->Picture()->Bitmap()->SetImage(Seite);
        TBitmap* Bild = Druckimage->Picture()->Bitmap();
        Bild->SetImage(Seite.copy(0, 0, TSAufgabe->Width(), TSAufgabe->Height()));
        Application()->ProcessMessages();
        const double s = double(SkalierungZaehler) / double(SkalierungNenner);
        if (Bild->Width() > 0 && Bild->Height() > 0)
            BildZuschneiden(*Bild, int(Round(19 * s)), int(Round(16 * s)));
        Bild->SetPixelFormat(pf32bit);
        return BildInZwischenablage();
    } catch (const std::exception&) {
        return false;
    }
}

bool TAufgabeg::BildInZwischenablage() {
    const TBitmap* Bild = Druckimage->Picture()->Bitmap();
    if (!Bild || Bild->Empty()) return false;
    Clipboard()->Assign(*Bild);
    TBitmap Dort;
    return Clipboard()->GetBitmap(Dort) && Dort.Width() == Bild->Width() && Dort.Height() == Bild->Height();
}

void TAufgabeg::B_speichernClick(TObject*) {
    // A screenshot that could not be made leaves the clipboard as it was.
    ScreenshotErstellen();
}

#include "exercises/chapter2/UZqK2_2A1.h"

#include "drawing/Bildzugang.h"
#include "drawing/UZeichnen1.h"
#include "platform/Runtime.h"
#include "term/USetup.h"
#include "term/UTermFormular.h"

#include <cmath>

TZooZustand ZqK2_2A1;

namespace {

void WegSetzen(tWegeAufgabe& A, int k, std::initializer_list<int> xy) {
    tWeg& w = A.Wege[k - 1];
    auto it = xy.begin();
    for (int i = 0; i < 4; ++i) {
        w.P[i].x = *it++;
        w.P[i].y = *it++;
    }
    A.Anzahl = std::max(A.Anzahl, k);
}

} // namespace

void WegeTabelleFuellen() {
    for (tWegeAufgabe& A : ZqK2_2A1.Aufgaben)
        A = tWegeAufgabe{};
    tWegeAufgabe* A = &ZqK2_2A1.Aufgaben[1];
    WegSetzen(*A, 1, {50, 270, 150, 130, 250, 150, 400, 77});
    WegSetzen(*A, 2, {400, 77, 480, 0, 700, 20, 50, 270});
    A = &ZqK2_2A1.Aufgaben[2];
    WegSetzen(*A, 1, {100, 100, 200, 200, 300, 200, 400, 100});
    WegSetzen(*A, 2, {400, 100, 450, 50, 500, 100, 600, 50});
    WegSetzen(*A, 3, {600, 50, 450, 10, 320, 20, 100, 100});
    A = &ZqK2_2A1.Aufgaben[3];
    WegSetzen(*A, 1, {650, 200, 700, 200, 800, 200, 700, 270});
    WegSetzen(*A, 2, {700, 270, 500, 350, 450, 200, 24, 150});
    WegSetzen(*A, 3, {24, 150, 200, 0, 450, 150, 500, 90});
    WegSetzen(*A, 4, {500, 90, 600, 120, 650, 160, 650, 200});
    A = &ZqK2_2A1.Aufgaben[4];
    WegSetzen(*A, 1, {200, 200, 150, 130, 250, 150, 300, 100});
    WegSetzen(*A, 2, {300, 100, 450, 0, 600, 20, 600, 200});
    WegSetzen(*A, 3, {600, 200, 450, 150, 320, 190, 300, 100});
    WegSetzen(*A, 4, {300, 100, 100, 50, 50, 170, 200, 200});
    WegSetzen(*A, 5, {200, 200, 350, 250, 550, 230, 600, 200});
    WegSetzen(*A, 6, {600, 200, 650, 300, 300, 350, 200, 200});
}

tWegPunkt BezierPunkt(const tWeg& Weg, double t) {
    const double u = 1 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    const double x = a * Weg.P[0].x + b * Weg.P[1].x + c * Weg.P[2].x + d * Weg.P[3].x;
    const double y = a * Weg.P[0].y + b * Weg.P[1].y + c * Weg.P[2].y + d * Weg.P[3].y;
    return {static_cast<int32_t>(::Round(x)), static_cast<int32_t>(::Round(y))};
}

TColor WegFarbe(int k) {
    if (k == 1) return RGB(0, 0, 255);
    if (k < 2 || k == 10 || k > 18) return RGB(0, 0, 0);
    switch (k > 10 ? k - 9 : k) {
    case 2:
        return RGB(0, 128, 0);
    case 3:
        return RGB(128, 0, 128);
    case 4:
        return RGB(128, 128, 0);
    case 5:
        return RGB(0, 128, 128);
    case 6:
        return RGB(128, 128, 128);
    case 7:
        return RGB(255, 0, 255);
    case 8:
        return RGB(128, 0, 0);
    default:
        return RGB(0, 0, 128);
    }
}

TZqK2_2A1::TZqK2_2A1(TComponent* AOwner) : TAufgabeg(AOwner) {
    using namespace Muster;
    SetName(QStringLiteral("ZqK2_2A1"));
    SetCaption(QStringLiteral("Abschnitt 2.2   Übung 1"));
    SetColor(RGB(189, 214, 251));
    const QStringList Text{
        QStringLiteral(
            "Gerd möchte bei einem Zoobesuch sämtliche Wege benutzen, dabei aber eine möglichst kurze"),
        QStringLiteral("Gesamtstrecke zurücklegen."),
        QStringLiteral("Bestimme die kürzeste in A startende und endende Gesamtstrecke s."),
        QStringLiteral("Gib sie in den Einheiten km und m an.")};
    for (int i = 0; i < Text.size(); ++i)
        Beschriftung(this, nullptr, QStringLiteral("LabelText%1").arg(i + 1), Text[i], 8, 4 + 20 * i,
                     QStringLiteral("Tahoma"), -15);

    PanelPC = Feld(this, nullptr, QStringLiteral("PanelPC"), 8, 88, 770, 313, clWhite);
    PanelPC->SetBevelOuter(bvNone);
    Bild = Muster::Bild(this, PanelPC, QStringLiteral("Bild"), 1, 1, 768, 311);

    Beschriftung(this, nullptr, QStringLiteral("Label2"), QStringLiteral("s ="), 16, 418,
                 QStringLiteral("Tahoma"), -19, clBlack, true);
    ed1 = Antwortbox(this, nullptr, QStringLiteral("ed1"), 56, 412, 81);
    Beschriftung(this, nullptr, QStringLiteral("Label3"), QStringLiteral("km"), 144, 418,
                 QStringLiteral("Tahoma"), -19, clBlack, true);
    ed2 = Antwortbox(this, nullptr, QStringLiteral("ed2"), 184, 412, 81);
    Beschriftung(this, nullptr, QStringLiteral("Label4"), QStringLiteral("m"), 272, 418,
                 QStringLiteral("Tahoma"), -19, clBlack, true);
    for (TRichEdit* b : {ed1, ed2})
        BoxVerbinden(b, 2, [this](TObject*) { StreckePruefen(); });

    ButtonP1 = new TButton(this);
    ButtonP1->SetName(QStringLiteral("ButtonP1"));
    ButtonP1->SetParent(B_ScrollBox);
    ButtonP1->SetBounds(304, 412, 89, 33);
    ButtonP1->SetCaption(QStringLiteral("prüfen"));
    ButtonP1->OnClick = [this](TObject* s) { ButtonP1Click(s); };

    Panel2 = Feld(this, nullptr, QStringLiteral("Panel2"), 400, 412, 377, 33, clBlack);
    Labelp1 = Urteilslabel(this, Panel2, QStringLiteral("Labelp1"), 4, 4, 369, 25);
    Labelp1->SetAlignment(taCenter);
    LabelH = Urteilslabel(this, nullptr, QStringLiteral("LabelH"), 400, 450, 100);
    LabelH->SetVisible(false);

    BtnHilfe1 = Knopf(this, nullptr, QStringLiteral("BtnHilfe1"), QStringLiteral("Hilfe"), 16, 456, 89, 33);
    BtnHilfe1->OnClick = [this](TObject* s) { BtnHilfe1Click(s); };
    BtnAnimation = Knopf(this, nullptr, QStringLiteral("BtnAnimation"), QStringLiteral("Möglicher Weg"), 112,
                         456, 153, 33);
    BtnAnimation->OnClick = [this](TObject* s) { BtnAnimationClick(s); };

    RGv = new TRadioGroup(this);
    RGv->SetName(QStringLiteral("RGv"));
    RGv->SetParent(B_ScrollBox);
    RGv->SetBounds(272, 448, 233, 45);
    RGv->SetColumns(2);
    RGv->Items()->Add(QStringLiteral("langsam"));
    RGv->Items()->Add(QStringLiteral("schneller"));
    RGv->SetItemIndex(1);
    RGv->OnClick = [this](TObject* s) { RGvClick(s); };

    PanelH = Feld(this, nullptr, QStringLiteral("PanelH"), 16, 500, 761, 56, RGB(255, 255, 128));
    LabelH1 = Beschriftung(this, PanelH, QStringLiteral("LabelH1"), QString(), 8, 6);
    LabelH2 = Beschriftung(this, PanelH, QStringLiteral("LabelH2"), QString(), 8, 30);
    PanelH->SetVisible(false);

    ProgrammEnde->OnClick = [this](TObject* s) {
        Stop = 1;
        ProgrammEndeClick(s);
    };
}

TZqK2_2A1::~TZqK2_2A1() {
    *m_lebt = false;
}

void TZqK2_2A1::FormActivate(TObject* Sender) {
    B_Neuer_Typ->SetVisible(false);
    TAufgabeg::FormActivate(Sender);
    // The help here only points at the closed walk, so it stays usable even
    // where the setup turns help off (the base activation disabled it).
    BtnHilfe1->SetEnabled(true);
    Runtime::Randomize();
    WegeTabelleFuellen();
    ZqK2_2A1.Nr = 0;
    NeueAufgabe();
}

void TZqK2_2A1::NeueAufgabe() {
    Aufgabenanzahl = 4;
    TAufgabeg::NeueAufgabe();
    Stop = 1;
    Pause = 10;
    BtnAnimation->SetEnabled(false);
    ed1->Clear();
    Labelp1->SetCaption(QString());
    ed2->Clear();
    Muster::Fokus(ed1);
    PanelH->SetVisible(false);
    ZqK2_2A1.Nr = ZqK2_2A1.Nr >= 4 || ZqK2_2A1.Nr < 0 ? 1 : ZqK2_2A1.Nr + 1;
    WegeTabelleFuellen();
    WegeZeichnen(ZqK2_2A1.Nr);
}

int TZqK2_2A1::WegeZeichnen(int Nr) {
    if (Nr < 1 || Nr > 4) return 0;
    tWegeAufgabe& A = ZqK2_2A1.Aufgaben[Nr];
    TCanvas* c = Leinwand(Bild);
    if (!c) return 0;
    c->Brush()->SetColor(clWhite);
    c->Brush()->SetStyle(bsSolid);
    c->Pen()->SetWidth(2);
    c->FillRect(TRect{0, 0, BildBreite(Bild), BildHoehe(Bild)});
    int Summe = 0;
    for (int k = 1; k <= A.Anzahl; ++k) {
        const tWeg& w = A.Wege[k - 1];
        c->Pen()->SetColor(WegFarbe(k));
        double Laenge = 0;
        for (int i = 0; i < 100; ++i) {
            const tWegPunkt p = BezierPunkt(w, i / 100.0), q = BezierPunkt(w, (i + 1) / 100.0);
            c->MoveTo(p.x, p.y);
            c->LineTo(q.x, q.y);
            Laenge += std::hypot(double(q.x - p.x), double(q.y - p.y));
        }
        c->Brush()->SetColor(WegFarbe(k));
        c->Brush()->SetStyle(bsSolid);
        for (const tWegPunkt& e : {w.P[0], w.P[3]})
            c->Ellipse(e.x - 3, e.y - 3, e.x + 3, e.y + 3);
        const int Meter = static_cast<int>(::Round(Laenge));
        const tWegPunkt t = BezierPunkt(w, 0.4);
        c->Font()->SetName(QStringLiteral("Arial"));
        c->Font()->SetSize(12);
        c->Font()->SetStyle(fsBold);
        c->Font()->SetColor(clBlack);
        c->Brush()->SetStyle(bsClear);
        c->TextOut(t.x + 4, t.y, QString::number(Meter) + QStringLiteral(" m"));
        Summe += Meter;
    }
    if (A.Anzahl > 0) {
        c->Brush()->SetStyle(bsClear);
        c->TextOut(A.Wege[0].P[0].x - 20, A.Wege[0].P[0].y - 10, QStringLiteral("A"));
    }
    A.km = QString::number(Summe / 1000);
    A.m = QString::number(Summe % 1000);
    Bild->Invalidate();
    return Summe;
}

void TZqK2_2A1::RundgangAnimieren() {
    // One walk at a time: a second one started from inside the first's
    // waits would draw over it and end it twice.
    if (Stop == 0) return;
    const std::shared_ptr<bool> Lebt = m_lebt;
    BtnAnimation->SetEnabled(false);
    Stop = 0;
    const int Nr = ZqK2_2A1.Nr;
    if (Nr < 1 || Nr > 4) return;
    const tWegeAufgabe A = ZqK2_2A1.Aufgaben[Nr];
    TCanvas* c = Leinwand(Bild);
    if (!c) return;
    for (int k = 1; k <= A.Anzahl; ++k) {
        const tWeg& w = A.Wege[k - 1];
        for (int i = 0; i < 100; ++i) {
            c->Brush()->SetColor(clWhite);
            c->Pen()->SetWidth(4);
            c->Pen()->SetColor(RGB(255, 0, 0));
            const tWegPunkt p = BezierPunkt(w, i / 100.0), q = BezierPunkt(w, (i + 1) / 100.0);
            c->MoveTo(p.x, p.y);
            c->LineTo(q.x, q.y);
            Bild->Invalidate();
            Warten(Pause, nullptr);
            // The form may have gone, or a new task or "Ende" stopped the walk.
            if (!*Lebt || Stop == 1 || !Visible()) return;
        }
        c->Pen()->SetWidth(2);
        c->Pen()->SetColor(WegFarbe(k));
        c->Brush()->SetColor(WegFarbe(k));
        c->Brush()->SetStyle(bsSolid);
        for (const tWegPunkt& e : {w.P[0], w.P[3]})
            c->Ellipse(e.x - 3, e.y - 3, e.x + 3, e.y + 3);
    }
    Stop = 1;
    BtnAnimation->SetEnabled(true);
    WegeZeichnen(Nr);
}

void TZqK2_2A1::BtnAnimationClick(TObject* Sender) {
    (void)Sender;
    RundgangAnimieren();
}

void TZqK2_2A1::StreckePruefen() {
    const int Nr = ZqK2_2A1.Nr;
    if (Nr < 1 || Nr > 4) return;
    const tWegeAufgabe& A = ZqK2_2A1.Aufgaben[Nr];
    const QString a1 = Muster::Antwort(ed1), a2 = Muster::Antwort(ed2);
    bool r1 = false, r2 = false;
    ErgebnisPruefen2(a1, A.km, LabelH, 50, 'c', r1, 0, 0);
    ErgebnisPruefen2(a2, A.m, LabelH, 50, 'c', r2, 0, 0);
    if (r1 && r2) {
        Muster::Urteil(Labelp1, QStringLiteral("Super, das Ergebnis ist richtig."), RGB(0, 255, 0));
        // A running walk enables the button itself when it ends.
        if (Stop != 0) BtnAnimation->SetEnabled(true);
        return;
    }
    if (!r1 && !r2)
        Muster::Urteil(Labelp1, QStringLiteral("leider falsch"), RGB(255, 0, 0));
    else
        Muster::Urteil(Labelp1,
                       r1 ? QStringLiteral("Nur 1. Wert ist richtig.")
                          : QStringLiteral("Nur 2. Wert ist richtig."),
                       RGB(255, 0, 255));
    // An open bracket in one box would reshape the spliced term.
    if (Muster::ZahltermFehlerhaft(a1) || Muster::ZahltermFehlerhaft(a2)) return;
    const QString t1 = a1.isEmpty() ? QStringLiteral("0") : a1, t2 = a2.isEmpty() ? QStringLiteral("0") : a2;
    bool Wert = false;
    ErgebnisPruefen2(QStringLiteral("1000*(") + t1 + QStringLiteral(")+(") + t2 + QStringLiteral(")"),
                     QStringLiteral("1000*(") + A.km + QStringLiteral(")+(") + A.m + QStringLiteral(")"),
                     LabelH, 50, 'c', Wert, 0, 0);
    if (Wert)
        Muster::Urteil(Labelp1, QStringLiteral("Bitte gemischte Schreibweise benutzen."), RGB(255, 255, 0));
}

void TZqK2_2A1::ButtonP1Click(TObject* Sender) {
    (void)Sender;
    StreckePruefen();
}

void TZqK2_2A1::BtnHilfe1Click(TObject* Sender) {
    (void)Sender;
    // Every point of every graph, graph 4 included, has an even number of
    // paths, so each graph has a closed walk from A back to A: the same help
    // for all, and no end point "B".
    LabelH1->SetCaption(QStringLiteral("Versuche, einen Rundgang zu finden, in dem jeder Weg"));
    LabelH2->SetCaption(QStringLiteral("genau einmal begangen wird."));
    PanelH->SetVisible(true);
    if (Stop != 0) BtnAnimation->SetEnabled(true);
}

void TZqK2_2A1::RGvClick(TObject* Sender) {
    (void)Sender;
    Pause = RGv->ItemIndex() == 0 ? 30 : 10;
}

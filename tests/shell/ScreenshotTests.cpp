// The worksheet look and the screenshot of the task page to the clipboard.
#include "ShellTestHelfer.h"
#include "shell/UArbeitsblatt.h"
#include "support/FormDriver.h"

#include "platform/Clipboard.h"
#include "platform/ControlsRich.h"

#include <gtest/gtest.h>

namespace {

// A task page with a black block of 40 x 30 at (50, 60) and a feedback text
// far away from it, which the worksheet look hides.
class TBlockAufgabe : public TAufgabeg {
public:
    explicit TBlockAufgabe(TComponent* AOwner) : TAufgabeg(AOwner) {
        Block = new TShape(this);
        Block->SetParent(B_ScrollBox);
        Block->SetBounds(50, 60, 40, 30);
        Block->Brush()->SetColor(clBlack);
        Urteil = new TLabel(this);
        Urteil->SetParent(B_ScrollBox);
        Urteil->SetBounds(400, 300, 120, 20);
        Urteil->SetCaption(QStringLiteral("Leider falsch"));
        Urteil->SetColor(clBlack);
        Urteil->Font()->SetColor(clRed);
    }
    TShape* Block = nullptr;
    TLabel* Urteil = nullptr;
};

// A white picture with black blocks.
QImage Weiss(int w, int h, std::initializer_list<QRect> Bloecke) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (const QRect& r : Bloecke)
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                img.setPixel(x, y, qRgb(0, 0, 0));
    return img;
}

class Screenshot : public ::testing::Test {
protected:
    void SetUp() override { Application()->ResetTerminated(); }
    void TearDown() override {
        delete m_form;
        Seitenaufnahme = ControlPictureOriginal;
    }
    TBlockAufgabe* Zeigen() {
        m_form = new TBlockAufgabe(Application());
        ShowAndActivate(m_form);
        return m_form;
    }
    QImage Zwischenablage() {
        TBitmap b;
        return Clipboard()->GetBitmap(b) ? b.Image().convertToFormat(QImage::Format_RGB32) : QImage();
    }
    ScreenScope m_screen{1280, 1024};
    SetupScope m_setup;
    TBlockAufgabe* m_form = nullptr;
    const std::function<QImage(const TControl*)> ControlPictureOriginal = Seitenaufnahme;
};

} // namespace

TEST(Worksheet, CaptionTests) {
    EXPECT_TRUE(IstRueckmeldeText("Leider falsch"));
    EXPECT_FALSE(IstRueckmeldeText("Leider falsch!"));
    EXPECT_TRUE(IstRueckmeldeText("Unzulässige Eingabe !"));
    EXPECT_TRUE(IstAktionsKnopf("Lösung anzeigen"));
    EXPECT_TRUE(IstAktionsKnopf("zur lösung"));
    EXPECT_TRUE(IstAktionsKnopf("1 + 1"));
    EXPECT_FALSE(IstAktionsKnopf("Zurück"));
    EXPECT_TRUE(IstWeissOption("weiß anzeigen"));
    EXPECT_FALSE(IstWeissOption("weiss"));
}

TEST(Worksheet, TrimmingKeepsOneWhiteLineAtEachSideAndShortensGaps) {
    // All white: one pixel in the frame.
    const QImage leer = BildZuschneiden(Weiss(50, 40, {}), 19, 16);
    EXPECT_EQ(leer.size(), QSize(39, 39));
    EXPECT_EQ(leer.pixel(19, 19), qRgb(255, 255, 255));

    // Two blocks with a white band of 40 rows between them.
    const QImage zwei = Weiss(100, 100, {QRect(30, 20, 10, 5), QRect(33, 65, 4, 5)});
    struct Fall {
        int Rand, Luecke, Band;
    };
    for (const Fall& f : {Fall{19, 16, 16}, Fall{25, 21, 21}, Fall{28, 24, 24}, Fall{34, 28, 28}}) {
        const QImage z = BildZuschneiden(zwei, f.Rand, f.Luecke);
        EXPECT_EQ(z.size(), QSize(2 * f.Rand + 12, 2 * f.Rand + 12 + f.Band)) << f.Luecke;
        // The blocks keep their places and sides: the first one's corner right
        // inside the white line, the second one below the shortened band.
        EXPECT_EQ(z.pixel(f.Rand + 1, f.Rand + 1), qRgb(0, 0, 0));
        EXPECT_EQ(z.pixel(f.Rand, f.Rand + 1), qRgb(255, 255, 255));
        EXPECT_EQ(z.pixel(f.Rand + 4, f.Rand + 6 + f.Band), qRgb(0, 0, 0));
        EXPECT_EQ(z.pixel(f.Rand + 3, f.Rand + 6 + f.Band), qRgb(255, 255, 255));
        EXPECT_EQ(z.pixel(f.Rand + 4, f.Rand + 5 + f.Band), qRgb(255, 255, 255));
    }
    // A narrow gap stays as it is.
    EXPECT_EQ(BildZuschneiden(Weiss(20, 20, {QRect(2, 2, 3, 3), QRect(2, 10, 3, 3)}), 0, 16).size(),
              QSize(5, 13));
}

TEST_F(Screenshot, TheWorksheetLookHidesAndWhitensAndComesBack) {
    TBlockAufgabe* f = Zeigen();
    const auto Knopf = [&](const char* Caption) {
        auto* b = new TBitBtn(f);
        b->SetParent(f->B_ScrollBox);
        b->SetCaption(QString::fromUtf8(Caption));
        return b;
    };
    TBitBtn* Loesung = Knopf("Lösung");
    TBitBtn* Weiter = Knopf("Nächste Seite");
    auto* Tempo = new TSpeedButton(f);
    Tempo->SetParent(f->B_ScrollBox);
    Tempo->SetCaption(QStringLiteral("Lösung"));
    auto* Feld = new TPanel(f);
    Feld->SetParent(f->B_ScrollBox);
    Feld->SetColor(clYellow);
    Feld->SetBevelOuter(bvRaised);
    const auto Box = [&](int Hoehe, const char* Text) {
        auto* r = new TRichEdit(f);
        r->SetParent(f->B_ScrollBox);
        r->SetBounds(10, 100, 80, Hoehe);
        r->SetColor(clAqua);
        r->SetText(QString::fromUtf8(Text));
        return r;
    };
    TRichEdit* Niedrig = Box(69, "12");
    TRichEdit* Hoch = Box(70, "12");
    TRichEdit* Leer = Box(30, "");
    auto* Weisse = new TCheckBox(f);
    Weisse->SetParent(f->B_ScrollBox);
    Weisse->SetCaption(QStringLiteral("weiß zeigen"));
    auto* Anders = new TLabel(f);
    Anders->SetParent(f->B_ScrollBox);
    Anders->SetCaption(QStringLiteral("Leider falsch!"));
    Anders->SetColor(clNavy);
    Anders->Font()->SetColor(clYellow);
    auto* Gruppe = new TRadioGroup(f);
    Gruppe->SetParent(f->B_ScrollBox);
    Gruppe->SetColor(clLime);

    ArbeitsblattAnsichtEin(f);
    EXPECT_EQ(Gruppe->Color(), clWhite);
    EXPECT_FALSE(f->Urteil->Visible());
    EXPECT_TRUE(Anders->Visible());
    EXPECT_EQ(Anders->Color(), clWhite);
    EXPECT_EQ(Anders->Font()->Color(), clBlack);
    EXPECT_FALSE(Loesung->Visible());
    EXPECT_TRUE(Weiter->Visible());
    EXPECT_TRUE(Tempo->Visible());
    EXPECT_EQ(Feld->Color(), clWhite);
    EXPECT_EQ(Feld->BevelOuter(), bvNone);
    EXPECT_EQ(Niedrig->Top(), 104);
    EXPECT_EQ(Hoch->Top(), 100);
    EXPECT_EQ(Leer->Top(), 100);
    EXPECT_EQ(Niedrig->BorderStyle(), bsNone);
    EXPECT_EQ(Niedrig->Color(), clWhite);
    EXPECT_FALSE(Weisse->Visible());

    ArbeitsblattAnsichtAus(f);
    EXPECT_TRUE(f->Urteil->Visible());
    EXPECT_EQ(f->Urteil->Color(), clBlack);
    EXPECT_EQ(f->Urteil->Font()->Color(), clRed);
    EXPECT_EQ(Anders->Color(), clNavy);
    EXPECT_EQ(Anders->Font()->Color(), clYellow);
    EXPECT_TRUE(Loesung->Visible());
    EXPECT_EQ(Feld->Color(), clYellow);
    EXPECT_EQ(Feld->BevelOuter(), bvRaised);
    EXPECT_EQ(Niedrig->Top(), 100);
    EXPECT_EQ(Niedrig->BorderStyle(), bsSingle);
    EXPECT_EQ(Niedrig->Color(), clAqua);
    EXPECT_TRUE(Weisse->Visible());
    EXPECT_EQ(Gruppe->Color(), clLime);
}

TEST_F(Screenshot, TheTaskPageLandsOnTheClipboardTrimmedAndFramed) {
    Clipboard()->SetAsText(QStringLiteral("vorher"));
    TBlockAufgabe* f = Zeigen();
    const TColor Farbe = f->Color();
    // A label in the page's colour, out of the picture's way.
    auto* Hinweis = new TLabel(f);
    Hinweis->SetParent(f->B_ScrollBox);
    Hinweis->SetBounds(700, 500, 60, 20);
    f->B_speichern->Click();
    // The block with one white line around it, in a frame of 19.
    QImage Bild = Zwischenablage();
    EXPECT_EQ(Bild.size(), QSize(40 + 2 + 38, 30 + 2 + 38));
    EXPECT_EQ(Bild.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(Bild.pixel(20, 20), qRgb(0, 0, 0));
    EXPECT_EQ(Bild.pixel(19, 19), qRgb(255, 255, 255));
    EXPECT_EQ(f->Color(), Farbe);
    EXPECT_EQ(f->TSAufgabe->Color(), Farbe);
    EXPECT_TRUE(f->Urteil->Visible());
    // It follows the page again rather than staying white.
    EXPECT_EQ(Hinweis->Color(), Farbe);
    f->B_ScrollBox->SetColor(clYellow);
    EXPECT_EQ(Hinweis->Color(), clYellow);
    delete m_form;
    m_form = nullptr;

    // At scale 3/2 the page, the frame (28) and the gap limit grow.
    FSetup.Skalieren = true;
    FSetup.Skalierungsfaktor = 5;
    f = Zeigen();
    ASSERT_EQ(f->SkalierungZaehlerWert(), 3);
    ASSERT_TRUE(f->ScreenshotErstellen());
    Bild = Zwischenablage();
    EXPECT_EQ(Bild.size(), QSize(60 + 2 + 56, 45 + 2 + 56));
    EXPECT_EQ(Bild.pixel(29, 29), qRgb(0, 0, 0));
    EXPECT_EQ(Bild.pixel(28, 29), qRgb(255, 255, 255));
}

TEST_F(Screenshot, AFailedScreenshotSaysSoAndPutsTheLookBack) {
    TBlockAufgabe* f = Zeigen();
    const TColor Farbe = f->Color();
    Clipboard()->SetAsText(QStringLiteral("vorher"));
    bool LookWarAn = false;
    Seitenaufnahme = [&](const TControl*) {
        LookWarAn = !f->Urteil->Visible() && f->Color() == clWhite;
        return QImage();
    };
    EXPECT_FALSE(f->ScreenshotErstellen());
    EXPECT_TRUE(LookWarAn);
    Seitenaufnahme = [](const TControl*) -> QImage { throw std::runtime_error("kein Bild"); };
    EXPECT_FALSE(f->ScreenshotErstellen());
    EXPECT_EQ(Clipboard()->AsText(), "vorher");
    EXPECT_EQ(f->Color(), Farbe);
    EXPECT_EQ(f->B_ScrollBox->Color(), Farbe);
    EXPECT_TRUE(f->Urteil->Visible());
    EXPECT_EQ(f->Urteil->Color(), clBlack);
}

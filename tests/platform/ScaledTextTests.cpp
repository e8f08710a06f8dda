// Text in a scaled window: a font scaled with its control remembers its
// design, and captions are set no wider than their design, scaled alike, so
// that a caption that keeps off the frame unscaled keeps off it scaled.
#include "platform/ControlsStd.h"
#include "platform/Runtime.h"
#include "platform/TextMetrics.h"
#include "support/FormDriver.h"

#include <QCheckBox>
#include <QImage>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct TFaktor {
    int M, D, Schritte; // the factor, given in that many equal steps
};

// The window's factors; 16/9 comes as two steps of 4/3, as the automatic factor gives it.
constexpr TFaktor Faktoren[] = {{4, 3, 1}, {4, 3, 2}, {2, 1, 1}, {3, 2, 1}};

TFont TahomaFett(int Hoehe) {
    TFont f;
    f.SetName(QStringLiteral("Tahoma"));
    f.SetHeight(Hoehe);
    f.SetStyle(fsBold);
    return f;
}

TEST(ScaledFont, RemembersItsDesignUntilTheProgramSetsAHeight) {
    TFont f = TahomaFett(-13);
    EXPECT_EQ(f.DesignHeight(), 0);
    f.ScaleBy(4, 3);
    EXPECT_EQ(f.Height(), -17);
    f.ScaleBy(4, 3);
    EXPECT_EQ(f.Height(), -23); // -22.67, step by step as the controls
    EXPECT_EQ(f.DesignHeight(), -13);
    EXPECT_EQ(f.ScaleNumerator(), 16);
    EXPECT_EQ(f.ScaleDenominator(), 9);

    // Copies and other changes keep the design; a height of the program's own forgets it.
    TFont g;
    g.Assign(f);
    g.SetColor(clRed);
    g.SetStyle(0);
    EXPECT_EQ(g.DesignHeight(), -13);
    EXPECT_EQ(DesignFont(g).Height(), -13);
    EXPECT_EQ(DesignFont(g).DesignHeight(), 0);
    g.SetSize(14);
    EXPECT_EQ(g.DesignHeight(), 0);
    EXPECT_EQ(DesignFont(g).Height(), g.Height());

    // Halves go to the even neighbour; a printer's font has no screen design.
    TFont h = TahomaFett(-13);
    h.ScaleBy(3, 2);
    EXPECT_EQ(h.Height(), -20);
    TFont p;
    p.SetPixelsPerInch(600);
    p.Assign(h);
    EXPECT_EQ(p.DesignHeight(), 0);
}

TEST(ScaledFont, NarrowsAsAWholeToItsDesignAndFurtherWhereATextWouldLeaveItsRoom) {
    const TFont Entwurf = TahomaFett(-13);
    const QStringList Zeilen{QStringLiteral("Gewicht"), QStringLiteral("zurückstellen")};
    TTextMetrics& m = TextMetrics();
    // Not scaled, nothing changes.
    EXPECT_TRUE(ScaledTextFont(Entwurf, Zeilen, 80).SameAs(Entwurf));
    for (const TFaktor& F : Faktoren) {
        TFont f(Entwurf);
        for (int i = 0; i < F.Schritte; ++i)
            f.ScaleBy(F.M, F.D);
        const int M = f.ScaleNumerator(), D = f.ScaleDenominator();
        SCOPED_TRACE(QStringLiteral("%1/%2").arg(M).arg(D).toStdString());
        const auto Skaliert = [&](int v) { return static_cast<int>(Round(static_cast<double>(v) * M / D)); };
        // Outlines set the larger sizes a fifth wider than the bitmaps of 13 pixels.
        EXPECT_GT(m.TextWidth(f, Zeilen[1]), Skaliert(m.TextWidth(Entwurf, Zeilen[1])));

        // Every text of the font narrows alike, about as much as the font grew too wide.
        const TFont Ganz = ScaledTextFont(f, Zeilen);
        EXPECT_EQ(Ganz.Height(), f.Height());
        EXPECT_LT(Ganz.Stretch(), 90);
        for (const QString& t :
             {QStringLiteral("Januar"), QStringLiteral("Gewicht"), QStringLiteral("prüfen")})
            EXPECT_EQ(ScaledTextFont(f, {t}).Stretch(), Ganz.Stretch());
        for (const QString& z : Zeilen)
            EXPECT_NEAR(m.TextWidth(Ganz, z), Skaliert(m.TextWidth(Entwurf, z)),
                        0.04 * Skaliert(m.TextWidth(Entwurf, z)));

        // A room its lines fit with a pixel free on either side: scaled, they keep it.
        const int Raum = m.TextWidth(Entwurf, Zeilen[1]) + 2;
        const TFont Knapp = ScaledTextFont(f, Zeilen, Skaliert(Raum));
        EXPECT_LE(Knapp.Stretch(), Ganz.Stretch());
        for (const QString& z : Zeilen)
            EXPECT_LE(m.TextWidth(Knapp, z), Skaliert(Raum) - 2) << z.toStdString();
        // A line too wide for its room unscaled asks for nothing.
        EXPECT_EQ(ScaledTextFont(f, Zeilen, Skaliert(60)).Stretch(),
                  ScaledTextFont(f, {Zeilen[0]}, Skaliert(60)).Stretch());
    }
}

// The first and last column of a control's caption room hold no pixel of
// the caption's colour.
bool FreiVomRand(TControl* c, int Rand, TColor Farbe) {
    const QImage b = c->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb f = ToQColor(ColorToRGB(Farbe)).rgb();
    for (int y = Rand; y < b.height() - Rand; ++y)
        if (b.pixel(Rand, y) == f || b.pixel(b.width() - 1 - Rand, y) == f) return false;
    return true;
}

struct ScaledCaptions : ::testing::TestWithParam<TFaktor> {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    void Skalieren() {
        for (int i = 0; i < GetParam().Schritte; ++i)
            form->ScaleBy(GetParam().M, GetParam().D);
        form->Show();
        ProcessEvents();
    }
};

// The weights' buttons of the balance: two lines in bold Tahoma of 13 pixels.
TEST_P(ScaledCaptions, ButtonCaptionsKeepOffTheFrame) {
    form->SetBounds(0, 0, 400, 200);
    auto* b = new TBitBtn(form.get());
    b->SetParent(form.get());
    b->SetParentFont(false);
    b->Font()->Assign(TahomaFett(-13));
    b->Font()->SetColor(clBlack);
    b->SetBounds(8, 8, 84, 44);
    b->SetCaption(QStringLiteral("Gewicht\rzurückstellen"));
    auto* s = new TSpeedButton(form.get());
    s->SetParent(form.get());
    s->SetParentFont(false);
    s->Font()->Assign(*b->Font());
    s->SetBounds(100, 8, 84, 44);
    s->SetCaption(b->Caption());
    form->Show();
    ProcessEvents();
    // Inside the frame, two pixels wide.
    ASSERT_TRUE(FreiVomRand(b, 2, clBlack));
    ASSERT_TRUE(FreiVomRand(s, 2, clBlack));
    form->Hide();
    Skalieren();
    EXPECT_TRUE(FreiVomRand(b, 2, clBlack));
    EXPECT_TRUE(FreiVomRand(s, 2, clBlack));
}

TEST_P(ScaledCaptions, CentredLabelsAndCheckBoxesKeepTheirTextWithin) {
    auto* l = new TLabel(form.get());
    l->SetParent(form.get());
    l->SetAutoSize(false);
    l->SetAlignment(taCenter);
    l->SetParentFont(false);
    l->Font()->Assign(TahomaFett(-13));
    l->SetBounds(8, 8, 78, 16);
    l->SetCaption(QStringLiteral("zurückstellen"));
    auto* k = new TCheckBox(form.get());
    k->SetParent(form.get());
    k->SetParentFont(false);
    k->Font()->Assign(TahomaFett(-13));
    k->SetCaption(QStringLiteral("zurückstellen"));
    form->Show();
    ProcessEvents();
    ASSERT_TRUE(FreiVomRand(l, 0, clBlack));
    const int Frei = static_cast<QCheckBox*>(k->Widget())->sizeHint().width();
    k->SetBounds(8, 40, Frei + 2, 20);
    form->Hide();
    Skalieren();
    EXPECT_TRUE(FreiVomRand(l, 0, clBlack));
    // Qt lays the box out: its text fits where the control grew.
    EXPECT_LE(static_cast<QCheckBox*>(k->Widget())->sizeHint().width(), k->Width());
}

INSTANTIATE_TEST_SUITE_P(Faktoren, ScaledCaptions, ::testing::ValuesIn(Faktoren),
                         [](const ::testing::TestParamInfo<TFaktor>& i) {
                             return std::to_string(i.param.M) + "_" + std::to_string(i.param.D) + "_" +
                                    std::to_string(i.param.Schritte);
                         });

} // namespace

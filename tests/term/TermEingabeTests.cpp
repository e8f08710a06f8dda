#include "term/UTermEingabe.h"
#include "term/UTermFormular.h"
#include "platform/ControlsRich.h"
#include "platform/ControlsStd.h"
#include "support/FormDriver.h"

#include <gtest/gtest.h>

namespace {

char16_t Taste(char16_t k, bool* enter = nullptr, int kopie = 2) {
    bool e = true;
    TastenFilter(kopie, k, e);
    if (enter)
        *enter = e;
    return k;
}

QString Text(const std::vector<tAnzeigeStueck>& s) {
    QString r;
    for (const auto& p : s)
        r += p.Text;
    return r;
}

} // namespace

TEST(TastenFilter, MapsAndDropsKeys) {
    EXPECT_EQ(Taste(u','), u'.');
    EXPECT_EQ(Taste(u':'), u'/');
    EXPECT_EQ(Taste(u'*'), u'\u00B7');
    EXPECT_EQ(Taste(u'"'), u'\u00B2');
    EXPECT_EQ(Taste(u'\u00A7'), u'\u00B3');
    EXPECT_EQ(Taste(u'w'), u'\u221A');
    EXPECT_EQ(Taste(u'W'), u'\u221A');
    for (char16_t k : {u' ', u'=', u'<', u'\u00E4', u'\u00D6', u'?', u'\u20AC', u'\u221A', u'\t'})
        EXPECT_EQ(Taste(k), 0) << static_cast<int>(k);
    for (char16_t k : {u'x', u'E', u'7', u'(', u')', u'!', u';', u'^', u'+', u'-', u'/', u'.', u'\b', u'\u00B2'})
        EXPECT_EQ(Taste(k), k) << static_cast<int>(k);
}

TEST(TastenFilter, EnterIsReportedNeverTyped) {
    bool enter = false;
    EXPECT_EQ(Taste(13, &enter), 0);
    EXPECT_TRUE(enter);
    EXPECT_EQ(Taste(u'x', &enter), u'x');
    EXPECT_FALSE(enter);
    char16_t k = 13;
    TasteFiltern2(k, enter, nullptr);
    EXPECT_EQ(k, 0);
    EXPECT_TRUE(enter);
}

TEST(TastenFilter, FontOfTheKey) {
    char k = 'w';
    bool e;
    tTermSchrift s;
    TastenFilter(2, k, e, s);
    EXPECT_EQ(k, '\xD6');
    EXPECT_EQ(s.Name, QStringLiteral("Symbol"));
    EXPECT_EQ(s.Farbe, RGB(100, 100, 255));
    EXPECT_EQ(s.Zeichensatz, 2);
    k = 'x';
    TastenFilter(1, k, e, s);
    EXPECT_EQ(s.Name, QStringLiteral("Times New Roman"));
    EXPECT_EQ(s.Farbe, RGB(0, 0, 0));
    TastenFilter(3, k, e, s);
    EXPECT_EQ(s.Name, QStringLiteral("Tahoma"));
}

TEST(EingabeStuecke, DisplayForm) {
    auto s = EingabeStuecke(2, QString::fromUtf8("2·x+wx+log(p)"), false);
    EXPECT_EQ(Text(s), QString::fromUtf8("2·x+√x+lg(π)"));
    ASSERT_EQ(s.size(), 11u);
    EXPECT_EQ(s[1].Schrift.Farbe, RGB(0, 0, 0)); // the dot is black
    EXPECT_EQ(s[1].Schrift.Name, QStringLiteral("Tahoma"));
    EXPECT_EQ(s[4].Schrift.Name, QStringLiteral("Symbol"));
    EXPECT_EQ(s[4].Schrift.Farbe, RGB(0, 100, 255));
    EXPECT_EQ(s[4].Schrift.Zeichensatz, 2);
    EXPECT_EQ(s[7].Text, QStringLiteral("lg"));
    EXPECT_EQ(s[7].Schrift.Farbe, RGB(0, 100, 255));
    EXPECT_EQ(s[7].Schrift.Name, QStringLiteral("Tahoma"));
    EXPECT_EQ(s[9].Schrift.Name, QStringLiteral("Symbol"));
    EXPECT_EQ(s[10].Schrift.Farbe, RGB(0, 0, 0));
    // "!" keeps the font of the piece before it.
    auto f = EingabeStuecke(1, QStringLiteral("p!+3!"), false);
    EXPECT_EQ(f[1].Schrift.Name, QStringLiteral("Symbol"));
    EXPECT_EQ(f[4].Schrift.Name, QStringLiteral("Times New Roman"));
    EXPECT_EQ(f[4].Schrift.Farbe, RGB(0, 100, 255));
}

TEST(EingabeStuecke, CommaBoxesAndRoundTrip) {
    EXPECT_EQ(Text(EingabeStuecke(2, QStringLiteral("3.5"), true)), QStringLiteral("3,5"));
    EXPECT_EQ(Text(EingabeStuecke(2, QStringLiteral("3,5"), true)), QStringLiteral("3,5"));
    EXPECT_EQ(Text(EingabeStuecke(2, QStringLiteral("3,5"), false)), QStringLiteral("3.5"));
    QString anzeige = Text(EingabeStuecke(2, QStringLiteral("arcsin(x)+BIN(5;2)+F(Y(0.3))"), false));
    EXPECT_EQ(anzeige, QString::fromUtf8("arcsin(x)+Bin(5;2)+Φ(Ψ(0.3))"));
    std::string t = BoxText(anzeige);
    TermNormalisieren(t);
    EXPECT_EQ(t, "\xA7(x)+$(5;2)+F(Y(0.3))");
    EXPECT_EQ(BoxText(QString::fromUtf8("√x·π∫")), "\xD6x\xB7p%");
    EXPECT_EQ(AnzeigeText("\xD6x\xB2"), QString::fromUtf8("√x²"));
}

TEST(ErgebnisLabel, CheckWritesCaptionAndColour) {
    TLabel label(nullptr);
    bool richtig = false;
    ErgebnisPruefen2(QString::fromUtf8("2·x+x"), QStringLiteral("3x"), &label, 25, 'c', richtig, 0, 0);
    EXPECT_TRUE(richtig);
    EXPECT_EQ(label.Caption(), QStringLiteral("Richtig, aber weiter vereinfachen."));
    EXPECT_EQ(label.Font()->Color(), RGB(255, 255, 0));
    ErgebnisPruefen1(QString::fromUtf8("√x·√x"), QStringLiteral("x"), &label, 50, 'c', richtig, 0, 0);
    EXPECT_FALSE(richtig);
    EXPECT_EQ(label.Caption(), QStringLiteral("Definitionsbereich beachten !"));
    ErgebnisAnzeigen3(&label, 2);
    EXPECT_EQ(label.Caption(), QStringLiteral("Richtig, aber bitte noch weiter vereinfachen."));
    ErgebnisAnzeigen3(&label, 13);
    EXPECT_EQ(label.Caption(), QStringLiteral("Richtig, aber bitte noch weiter vereinfachen."));
    EXPECT_EQ(label.Font()->Color(), RGB(255, 255, 0));
}

namespace {

// An answer box wired as the exercise forms wire theirs.
struct tBox {
    TRichEdit Box{nullptr};
    int Enter = 0;
    explicit tBox(void (*Formatieren)(TRichEdit*), void (*Filter)(char16_t&, bool&, TRichEdit*) = TasteFiltern2) {
        Box.OnKeyPress = [this, Filter](TObject*, char16_t& k) {
            bool enter = false;
            Filter(k, enter, &Box);
            Enter += enter;
        };
        Box.OnChange = [this, Formatieren](TObject*) { Formatieren(&Box); };
    }
    QString Zeile() { return Box.Lines()->Count() ? Box.Lines()->Strings(0) : QString(); }
};

} // namespace

TEST(AnswerBox, TypingShowsTheDisplayForm) {
    tBox b(EingabeFormatieren2);
    TypeText(&b.Box, QStringLiteral("2*x"));
    EXPECT_EQ(b.Zeile(), QString::fromUtf8("2·x"));
    EXPECT_EQ(b.Box.FormatAt(1).Color, RGB(0, 0, 0));
    EXPECT_EQ(b.Box.FormatAt(1).Name, QStringLiteral("Tahoma"));
    TypeText(&b.Box, QStringLiteral(" + w"));
    EXPECT_EQ(b.Zeile(), QString::fromUtf8("2·x+√"));
    EXPECT_EQ(b.Box.FormatAt(4).Name, QStringLiteral("Symbol"));
    EXPECT_EQ(b.Box.FormatAt(4).Charset, 2);
    EXPECT_EQ(b.Box.FormatAt(4).Color, RGB(0, 100, 255));
    EXPECT_EQ(b.Box.SelStart(), 5);
    TypeText(&b.Box, QStringLiteral("si"));
    EXPECT_EQ(b.Box.FormatAt(5).Color, RGB(0, 0, 0));
    TypeText(&b.Box, QStringLiteral("n"));
    EXPECT_EQ(b.Zeile(), QString::fromUtf8("2·x+√sin"));
    EXPECT_EQ(b.Box.FormatAt(5).Color, RGB(0, 100, 255));
    EXPECT_EQ(b.Box.FormatAt(5).Name, QStringLiteral("Tahoma"));
    EXPECT_EQ(b.Box.FormatAt(5).Charset, 1);
    EXPECT_EQ(b.Enter, 0);
    PressEnter(&b.Box);
    EXPECT_EQ(b.Enter, 1);
    EXPECT_EQ(b.Zeile(), QString::fromUtf8("2·x+√sin"));
}

TEST(AnswerBox, LogShowsAsLgAndTheCaretStays) {
    tBox b(EingabeFormatieren3, TasteFiltern3);
    TypeText(&b.Box, QStringLiteral("log(x)"));
    EXPECT_EQ(b.Zeile(), QStringLiteral("lg(x)"));
    EXPECT_EQ(b.Box.SelStart(), 5);
    b.Box.SetSelStart(0);
    TypeText(&b.Box, QStringLiteral("3"));
    EXPECT_EQ(b.Zeile(), QStringLiteral("3lg(x)"));
    EXPECT_EQ(b.Box.SelStart(), 1);
}

TEST(AnswerBox, CommaBoxesAndFurtherLines) {
    tBox b(EingabeFormatierenKomma1, TasteFiltern1);
    TypeText(&b.Box, QStringLiteral("3.5"));
    EXPECT_EQ(b.Zeile(), QStringLiteral("3,5"));
    EXPECT_EQ(b.Box.FormatAt(0).Name, QStringLiteral("Times New Roman"));
    b.Box.SetText(QStringLiteral("1,5+p\r\nrest"));
    EXPECT_EQ(b.Box.Lines()->Count(), 1);
    EXPECT_EQ(b.Zeile(), QString::fromUtf8("1,5+π"));
    // The check reads the box back into the bytes the engine expects.
    bool richtig = false;
    TLabel l(nullptr);
    ErgebnisPruefen1(b.Box.Text(), QStringLiteral("1.5+p"), &l, 50, 'c', richtig, 0, 0);
    EXPECT_TRUE(richtig);
}

TEST(AnswerBox, PastedTextPassesTheKeyFilter) {
    tBox b(EingabeFormatieren2);
    b.Box.InsertFiltered(QStringLiteral("2 * x = 3,5\r\n"));
    EXPECT_EQ(b.Zeile(), QString::fromUtf8("2·x3.5"));
    EXPECT_EQ(b.Enter, 0);
}

// The one-line rich-edit answer box: key filter, Enter, pasted text, attributes.
#include "platform/ControlsRich.h"
#include "platform/Keys.h"
#include "support/FixedMetrics.h"
#include "support/FormDriver.h"

#include <QClipboard>
#include <QMouseEvent>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Box {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TRichEdit* edit = new TRichEdit(form.get());
    Box() {
        edit->SetParent(form.get());
        edit->SetBounds(10, 10, 200, 30);
        edit->Font()->SetName("Tahoma");
        edit->Font()->SetHeight(-16);
    }
};

} // namespace

TEST(RichEditKeys, KeyPressMayChangeOrDropTheCharacter) {
    Box b;
    b.edit->OnKeyPress = [](TObject*, char16_t& k) {
        if (k == u',')
            k = u'.';
        else if (k == u' ' || k == u'=')
            k = 0;
    };
    int changes = 0;
    b.edit->OnChange = [&](TObject*) { ++changes; };
    TypeText(b.edit, "3,5 = x");
    EXPECT_EQ(b.edit->Text(), "3.5x");
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(b.edit->SelStart(), 4);
    PressKey(b.edit, VK_LEFT);
    PressKey(b.edit, VK_BACK);
    EXPECT_EQ(b.edit->Text(), "3.x");
    EXPECT_EQ(b.edit->SelStart(), 2);
}

TEST(RichEditKeys, EnterIsReportedAndNeverInserted) {
    Box b;
    int enters = 0;
    std::vector<uint16_t> downs;
    b.edit->OnKeyDown = [&](TObject*, uint16_t& k, TShiftState) { downs.push_back(k); };
    b.edit->OnKeyPress = [&](TObject*, char16_t& k) {
        if (k == 13) ++enters;
    };
    TypeText(b.edit, "12");
    PressEnter(b.edit);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(b.edit->Text(), "12");
    EXPECT_EQ(downs, (std::vector<uint16_t>{'1', '2', VK_RETURN}));
    // OnKeyDown may swallow a key before it types anything.
    b.edit->OnKeyDown = [](TObject*, uint16_t& k, TShiftState) {
        if (k == '7') k = 0;
    };
    TypeText(b.edit, "78");
    EXPECT_EQ(b.edit->Text(), "128");
}

TEST(RichEditKeys, ReadOnlyAndMaxLengthHoldTypedText) {
    Box b;
    b.edit->SetMaxLength(3);
    TypeText(b.edit, "12345");
    EXPECT_EQ(b.edit->Text(), "123");
    b.edit->SetReadOnly(true);
    int presses = 0;
    b.edit->OnKeyPress = [&](TObject*, char16_t&) { ++presses; };
    TypeText(b.edit, "9");
    PressKey(b.edit, VK_BACK);
    EXPECT_EQ(b.edit->Text(), "123");
    EXPECT_EQ(presses, 2);
}

TEST(RichEditPaste, PastedTextPassesTheFilterOneCharacterAtATime) {
    Box b;
    QString seen;
    b.edit->OnKeyPress = [&](TObject*, char16_t& k) {
        seen += QChar(k);
        if (k < u'0' || k > u'9') k = 0;
    };
    QString afterEach;
    b.edit->OnChange = [&](TObject*) { afterEach += b.edit->Text() + "|"; };
    TypeText(b.edit, "1");
    QGuiApplication::clipboard()->setText("2a\r\n3 4");
    b.edit->SetFocus();
    PressKey(b.edit, 'V', Qt::ControlModifier);
    EXPECT_EQ(b.edit->Text(), "1234");
    EXPECT_EQ(seen, "12a3 4"); // line breaks never reach the filter
    EXPECT_EQ(afterEach, "1|12|123|1234|");

    // A cap holds pastes: MaxLength, or a fixed bound without one.
    b.edit->SetMaxLength(6);
    b.edit->InsertFiltered("56789");
    EXPECT_EQ(b.edit->Text(), "123456");
    b.edit->SetMaxLength(0);
    b.edit->SetText(QString());
    b.edit->InsertFiltered(QString(1000, QLatin1Char('7')));
    EXPECT_EQ(b.edit->GetTextLen(), TRichEdit::PasteLimit);
}

TEST(RichEditText, SelectionAttributesAndPieces) {
    FixedMetricsScope metrics;
    Box b;
    // Pieces appended the way a formatter rebuilds a box.
    auto piece = [&](const QString& text, const QString& font, TColor color, TFontCharset cs) {
        b.edit->SetSelStart(b.edit->GetTextLen());
        b.edit->SelAttributes()->SetName(font);
        b.edit->SelAttributes()->SetColor(color);
        b.edit->SelAttributes()->SetCharset(cs);
        b.edit->SetSelText(text);
    };
    piece("2", "Tahoma", clBlack, DEFAULT_CHARSET);
    piece(QString(QChar(0xB7)), "Tahoma", clBlack, DEFAULT_CHARSET);
    piece(QString(QChar(0xD6)), "Symbol", RGB(0, 100, 255), SYMBOL_CHARSET);
    piece("x", "Tahoma", clBlack, DEFAULT_CHARSET);
    EXPECT_EQ(b.edit->Text(), QString("2") + QChar(0xB7) + QChar(0xD6) + "x");
    EXPECT_EQ(b.edit->FormatAt(2).Name, "Symbol");
    EXPECT_EQ(b.edit->FormatAt(2).Color, RGB(0, 100, 255));
    EXPECT_EQ(b.edit->FormatAt(2).Charset, SYMBOL_CHARSET);
    EXPECT_EQ(b.edit->FormatAt(3).Name, "Tahoma");

    b.edit->SetSelStart(2);
    b.edit->SetSelLength(1);
    EXPECT_EQ(b.edit->SelText(), QString(QChar(0xD6)));
    EXPECT_EQ(b.edit->SelAttributes()->Name(), "Symbol");
    b.edit->SelAttributes()->SetSize(12);
    EXPECT_EQ(b.edit->FormatAt(2).Height, -16);
    EXPECT_EQ(b.edit->SelAttributes()->Size(), 12);
    EXPECT_EQ(b.edit->FormatAt(1).Height, -16); // only the selection changed

    // A typed character takes the look of the one before the caret.
    b.edit->SetSelStart(3);
    TypeText(b.edit, "+");
    EXPECT_EQ(b.edit->FormatAt(3).Name, "Symbol");
}

TEST(RichEditText, LinesReplaceAndClear) {
    Box b;
    b.edit->SetText("a+b\r\nzweite");
    ASSERT_EQ(b.edit->Lines()->Count(), 2);
    EXPECT_EQ(b.edit->Lines()->Strings(1), "zweite");
    b.edit->Lines()->SetStrings(0, "c");
    EXPECT_EQ(b.edit->Text(), "c\r\nzweite");
    b.edit->Lines()->Clear();
    EXPECT_EQ(b.edit->Lines()->Count(), 0);
    EXPECT_EQ(b.edit->Text(), "");
    b.edit->SetSelStart(5);
    EXPECT_EQ(b.edit->SelStart(), 0);
}

TEST(RichEditText, CentredAndRightAlignedLinesPlaceClicksByTheirIndent) {
    FixedMetricsScope metrics; // every character 8 px wide at height 16
    Box b;
    b.edit->SetText("abcd"); // 32 px of text in 200 - 2 * 3 px of room
    auto clickAt = [&](int x) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(x, 10), QPointF(x, 10), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(x, 10), QPointF(x, 10), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        b.edit->HandleEvent(&press);
        b.edit->HandleEvent(&release);
        return b.edit->SelStart();
    };
    EXPECT_EQ(clickAt(3 + 16), 2); // left: the text starts at the inset
    b.edit->SetAlignment(taCenter);
    EXPECT_EQ(clickAt(3 + 16), 0);       // left of the centred text
    EXPECT_EQ(clickAt(3 + 81 + 16), 2);  // (194 - 32) / 2 = 81 px indent
    b.edit->SetAlignment(taRightJustify);
    EXPECT_EQ(clickAt(3 + 162 + 8), 1);
    EXPECT_EQ(clickAt(199), 4);
}

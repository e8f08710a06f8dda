#include <gtest/gtest.h>

#include "richtext/model/RPStyleInfos.h"
#include "richtext/model/RPUnicode.h"

namespace {

std::string W(std::u16string_view s) {
    return WideStrToItemText(s);
}

TEST(UnicodeItemText, AnsiAndWideCharacterPositions) {
    EXPECT_EQ(ItemTextLength("Hallo", 0), 5);
    EXPECT_EQ(ItemTextLength(W(u"Hallo"), rpioUnicode), 5);
    EXPECT_EQ(ItemTextCopy("Hallo", 2, 3, 0), "all");
    EXPECT_EQ(ItemTextCopy(W(u"Hällo"), 2, 3, rpioUnicode), W(u"äll"));
    EXPECT_EQ(ItemTextCopy(W(u"ab"), 2, 9, rpioUnicode), W(u"b"));
    EXPECT_EQ(ItemTextCopy("ab", 5, 1, 0), "");
    std::string s = W(u"ac");
    ItemTextInsert(W(u"b"), s, 2, rpioUnicode);
    EXPECT_EQ(s, W(u"abc"));
    ItemTextInsert(W(u"d"), s, 99, rpioUnicode);
    EXPECT_EQ(s, W(u"abcd"));
    ItemTextDelete(s, 2, 2, rpioUnicode);
    EXPECT_EQ(s, W(u"ad"));
    ItemTextDelete(s, 5, 1, rpioUnicode);
    EXPECT_EQ(s, W(u"ad"));
    std::string a = "Welt";
    ItemTextDelete(a, 3, 10, 0);
    EXPECT_EQ(a, "We");
    // Other option bits are ignored.
    EXPECT_EQ(ItemTextLength("abcd", rpioContinuesPrev | rpioLineBreakBefore), 4);
}

TEST(UnicodeItemText, SpaceNeedsZeroHighByte) {
    EXPECT_TRUE(ItemTextIsSpaceAt("a b", 2, 0));
    EXPECT_FALSE(ItemTextIsSpaceAt("a b", 1, 0));
    EXPECT_FALSE(ItemTextIsSpaceAt("a b", 4, 0));
    EXPECT_TRUE(ItemTextIsSpaceAt(W(u"a b"), 2, rpioUnicode));
    EXPECT_FALSE(ItemTextIsSpaceAt(W(u"a\u2020b"), 2, rpioUnicode));
}

TEST(UnicodeConversion, OddLengthRaises) {
    try {
        UnicodeTextToAnsi(1252, std::string("abc"));
        FAIL();
    } catch (const ERichPadError& e) {
        EXPECT_STREQ(e.what(), "Can't perform Unicode operation");
    }
    EXPECT_THROW(RPCheckUnicodeLength(3), ERichPadError);
    EXPECT_NO_THROW(RPCheckUnicodeLength(4));
    EXPECT_EQ(UnicodeTextToAnsi(1252, ""), "");
}

TEST(UnicodeConversion, CodePages) {
    EXPECT_EQ(AnsiToUnicodeText(1252, "\xE4\x80"), W(u"ä€"));
    EXPECT_EQ(AnsiToUnicodeText(0, "\xE4"), W(u"ä"));
    EXPECT_EQ(AnsiToUnicodeText(1251, "\xC0"), W(u"\u0410"));
    // A page that cannot be used falls back to the system page.
    EXPECT_EQ(AnsiToUnicodeText(4711, "\xE4"), W(u"ä"));
    EXPECT_EQ(UnicodeTextToAnsi(1252, W(u"ä€\u0410")), "\xE4\x80?");
    EXPECT_EQ(UnicodeTextToAnsi(1251, W(u"\u0410")), "\xC0");
    EXPECT_EQ(AnsiToUnicodeText(1252, ""), "");
    EXPECT_EQ(KeyboardAnsiToUnicodeText("\xFC"), W(u"ü"));
}

TEST(UnicodeConversion, CharsetTables) {
    EXPECT_EQ(CharsetToCodePage(1), 0);
    EXPECT_EQ(CharsetToLangId(1), 1024);
    EXPECT_EQ(CharsetToCodePage(0), 1252);
    EXPECT_EQ(CharsetToLangId(0), 1033);
    EXPECT_EQ(CharsetToCodePage(204), 1251);
    EXPECT_EQ(CharsetToLangId(204), 1049);
    EXPECT_EQ(CharsetToCodePage(178), 1256);
    EXPECT_EQ(CharsetToLangId(178), 1024);
    EXPECT_EQ(CharsetToCodePage(255), 1);
    EXPECT_EQ(CharsetToCodePage(99), 0);
    EXPECT_EQ(MakeLangIdValue(7, 1), 0x407);
    EXPECT_EQ(MakeLocaleValue(0x12407, 2), 0x22407);
    EXPECT_EQ(MakeDefaultLocale(7), 0x407);
}

TEST(UnicodeUtf8, DecodesTwoAndThreeByteSequences) {
    EXPECT_EQ(Utf8ToWideText("\xC3\xA4"), u"\u00E4");
    EXPECT_EQ(Utf8ToWideText("a\xE2\x82\xAC"), u"a\u20AC");
    // Four-byte leads are read as three-byte sequences, kept to 16 bits.
    EXPECT_EQ(Utf8ToWideText("\xF0\x9F\x98"), u"\x07D8");
    EXPECT_EQ(Utf8ToWideText(""), u"");
}

TEST(UnicodeUtf8, MalformedInputFails) {
    const char cut[] = "ab\xE2\x82";
    EXPECT_EQ(Utf8ToWideBuffer(nullptr, 0, cut, 4), -1);
    char16_t buf[8];
    EXPECT_EQ(Utf8ToWideBuffer(buf, 8, cut, 4), -1);
    EXPECT_EQ(Utf8ToWideText(cut), u"");
    EXPECT_EQ(Utf8ToWideText("\xC3\x41"), u"");
    EXPECT_EQ(Utf8ToWideBuffer(buf, 8, nullptr, 3), 0);
}

TEST(UnicodeUtf8, CountsAndCapacity) {
    const char s[] = "a\xC3\xA4z";
    EXPECT_EQ(Utf8ToWideBuffer(nullptr, 0, s, 4), 4);
    char16_t buf[8];
    for (auto& c : buf)
        c = u'#';
    EXPECT_EQ(Utf8ToWideBuffer(buf, 8, s, 4), 4);
    EXPECT_EQ(std::u16string(buf, 4), std::u16string(u"a\u00E4z\0", 4));
    for (auto& c : buf)
        c = u'#';
    EXPECT_EQ(Utf8ToWideBuffer(buf, 2, s, 4), 2);
    EXPECT_EQ(buf[0], u'a');
    EXPECT_EQ(buf[1], 0);
    EXPECT_EQ(buf[2], u'#');
    // No room at all writes nothing.
    EXPECT_EQ(Utf8ToWideBuffer(buf + 3, 0, s, 4), 0);
    EXPECT_EQ(buf[2], u'#');
}

TEST(UnicodeHtml, EscapesBlanksAndCodes) {
    EXPECT_EQ(HTMLEscapeUnicodeText(W(u"  "), false, false), "&nbsp;&nbsp;");
    EXPECT_EQ(HTMLEscapeUnicodeText(W(u"a b"), false, false), "a b");
    EXPECT_EQ(HTMLEscapeUnicodeText(W(u"a  b<ä"), false, false), "a &nbsp;b&lt;&#228;");
    EXPECT_EQ(HTMLEscapeUnicodeText(W(u"<b>"), false, true), "<b>");
    EXPECT_EQ(HTMLEscapeUnicodeText("", true, false), "&nbsp;");
    EXPECT_EQ(HTMLEscapeUnicodeText("", false, false), "");
    EXPECT_EQ(HTMLEscapeUnicodeText(W(u"\uFFFF&"), false, false), "&#65535;&amp;");
}

TEST(UnicodeLineBreak, FindsBreakOpportunities) {
    EXPECT_EQ(FindLineBreakPosW(u"a-b", 2), 1);
    EXPECT_EQ(FindLineBreakPosW(u"word", 3), -1);
    EXPECT_EQ(FindLineBreakPosW(u"3.5", 2), -1);
    EXPECT_EQ(FindLineBreakPosW(u"ab cd", 3), 2);
    EXPECT_EQ(FindLineBreakPosW(u"ab cd", 2), 2);
    // Blanks before the break point end up on the first line.
    EXPECT_EQ(FindLineBreakPosW(u"ab   cd", 6), 4);
    // Ideographs break anywhere.
    EXPECT_EQ(FindLineBreakPosW(u"\u4E00\u4E01", 1), 0);
    // Out of range asks nothing of the text.
    EXPECT_EQ(FindLineBreakPosW(u"ab", 2), -1);
    EXPECT_EQ(FindLineBreakPosW(u"ab", -1), -1);
}

TEST(UnicodeLineBreak, ClassesOfSampleCharacters) {
    EXPECT_EQ(GetCharLineBreakClass(u'('), rplbOP);
    EXPECT_EQ(GetCharLineBreakClass(u'7'), rplbNU);
    EXPECT_EQ(GetCharLineBreakClass(0xA0), rplbGL);
    EXPECT_EQ(GetCharLineBreakClass(0x00B4), rplbBB);
    EXPECT_EQ(GetCharLineBreakClass(0x2014), rplbB2);
    EXPECT_EQ(GetCharLineBreakClass(0x200B), rplbZW);
    EXPECT_EQ(GetCharLineBreakClass(0x3001), rplbCL);
    EXPECT_EQ(GetCharLineBreakClass(0x9FA5), rplbID);
    EXPECT_EQ(GetCharLineBreakClass(0x9FA6), rplbAL);
    EXPECT_EQ(GetCharLineBreakClass(0xFFFB), rplbCM);
    EXPECT_EQ(GetCharLineBreakClass(0xE000), rplbAL);
    EXPECT_EQ(RPLineBreakPairs[rplbZW][rplbZW], 2);
    EXPECT_EQ(RPLineBreakPairs[rplbCL][rplbOP], 0);
    EXPECT_EQ(RPLineBreakPairs[rplbPR][rplbNU], 1);
}

TEST(UnicodeCaps, AllCapsKeepsLength) {
    TFontInfo f;
    EXPECT_EQ(ApplyAllCapsToText("straße", f), "straße");
    f.StyleEx = rpfsAllCaps;
    const std::string ansi = "stra\xDF"
                             "e \xE4";
    const std::string up = ApplyAllCapsToText(ansi, f);
    EXPECT_EQ(up, "STRA\xDF"
                  "E \xC4");
    f.Unicode = true;
    const std::string w = W(u"straße ä\u0432");
    EXPECT_EQ(ApplyAllCapsToText(w, f), W(u"STRAßE Ä\u0412"));
    f.Unicode = false;
    f.Charset = 204;
    EXPECT_EQ(ApplyAllCapsToText("\xE0z", f), "\xC0Z");
}

TEST(UnicodeQt, QStringRoundTrip) {
    EXPECT_EQ(ItemTextToQString("\xE4", 0, 0), QString::fromUtf8("ä"));
    EXPECT_EQ(ItemTextToQString(W(u"€x"), rpioUnicode, 0), QString::fromUtf8("€x"));
    EXPECT_EQ(QStringToItemText(QString::fromUtf8("€x"), rpioUnicode, 0), W(u"€x"));
    EXPECT_EQ(QStringToItemText(QString::fromUtf8("€x"), 0, 1252), "\x80x");
    EXPECT_EQ(ScanWideChar(u"abcb", u'b', 4), 1);
    EXPECT_EQ(ScanWideChar(u"abcb", u'c', 2), -1);
    EXPECT_EQ(ScanWideChar(u"ab", u'b', 0), -1);
}

} // namespace

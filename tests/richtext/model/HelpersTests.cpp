#include <gtest/gtest.h>

#include <sstream>

#include "richtext/model/RPClipFormats.h"
#include "richtext/model/RPStyleInfos.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/model/RPUnicode.h"

namespace {

TEST(HelpersStrings, TagsCopyAndCompare) {
    TRPTag a = TRPTag::FromText("x");
    TRPTag none;
    EXPECT_TRUE(TagsAreEqual(CopyTag(a, true), a, true));
    EXPECT_FALSE(CopyTag(a, false).Text.has_value());
    EXPECT_TRUE(TagsAreEqual(none, TRPTag{}, true));
    EXPECT_FALSE(TagsAreEqual(none, a, true));
    EXPECT_FALSE(TagsAreEqual(TRPTag::FromText("x"), TRPTag::FromText("y"), true));
    EXPECT_TRUE(TagsAreEqual(TRPTag::FromInt(4), TRPTag::FromInt(4), false));
    EXPECT_FALSE(TagsAreEqual(TRPTag::FromInt(4), TRPTag::FromInt(5), false));
}

TEST(HelpersStrings, TabsAndScanning) {
    EXPECT_EQ(ExpandTabsAnsi("a\tb", 8), "a        b");
    EXPECT_EQ(ExpandTabsAnsi("\t", 0), "");
    const std::string w = WideStrToItemText(u"a\tb\u0900");
    EXPECT_EQ(ExpandTabsUnicode(w, 2), WideStrToItemText(u"a  b\u0900"));
    // Bytes 9, 0 that straddle two characters are no tab.
    const std::string odd = WideStrToItemText(u"\u0900\u0000");
    EXPECT_EQ(ExpandTabsUnicode(odd, 2), odd);
    EXPECT_EQ(StrScanPos("abc", 'c', 3), 3);
    EXPECT_EQ(StrScanPos("abc", 'c', 2), 0);
    EXPECT_EQ(StrScanPos(nullptr, 'c', 2), 0);
}

TEST(HelpersStrings, ReplaceAllEndsWhenNewContainsOld) {
    EXPECT_EQ(RP_ReplaceAll("a   b", "  ", "&nbsp; "), "a&nbsp;&nbsp; b");
    EXPECT_EQ(RP_ReplaceAll("aa", "a", "aa"), "aaaa");
    EXPECT_EQ(RP_ReplaceAll("xyz", "", "q"), "xyz");
    EXPECT_EQ(RP_ReplaceAll("aaa", "aa", "a"), "a");
    EXPECT_EQ(ReplaceAllForward("aaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceAllForward("a&b&", "&", "&amp;"), "a&amp;b&amp;");
    EXPECT_EQ(AppendWithBlank("", "x"), "x");
    EXPECT_EQ(AppendWithBlank("a", "x"), "a x");
    EXPECT_EQ(InsertBeforeChars("a{b}", '\\', "{}"), "a\\{b\\}");
    EXPECT_EQ(ReplaceChars("a{b}", '_', "{}"), "a_b_");
}

TEST(HelpersHtml, ColoursAndSizes) {
    EXPECT_EQ(ColorToHTML(clRed), "#FF0000");
    EXPECT_EQ(ColorToHTML(RGB(0x12, 0xAB, 0x0C)), "#12AB0C");
    EXPECT_EQ(ColorToHTML(clWindowText), "#000000");
    EXPECT_EQ(ColorToHTML(clWindow), "#FFFFFF");
    EXPECT_EQ(ColorToHTML(clNone), "");
    EXPECT_EQ(ColorToHTMLOrTransparent(clNone), "transparent");
    const int sizes[][2] = {{8, 1}, {9, 2}, {10, 2}, {12, 3}, {14, 4}, {18, 5}, {24, 6}, {25, 7}};
    for (auto& s : sizes)
        EXPECT_EQ(FontSizeToHTMLSize(s[0]), s[1]) << s[0];
    EXPECT_EQ(CharsetToHTMLCharset(204), "Windows-1251");
    EXPECT_EQ(CharsetToHTMLCharset(0), "");
    EXPECT_EQ(BackslashesToSlashes("a\\b\\c"), "a/b/c");
}

TEST(HelpersHtml, EscapeAnsiText) {
    EXPECT_EQ(HTMLEscapeAnsiText("a<b>&c", false, false), "a&lt;b&gt;&amp;c");
    EXPECT_EQ(HTMLEscapeAnsiText("a  b", false, false), "a&nbsp; b");
    EXPECT_EQ(HTMLEscapeAnsiText(" a ", false, false), "&nbsp;a&nbsp;");
    EXPECT_EQ(HTMLEscapeAnsiText("", true, false), "&nbsp;");
    EXPECT_EQ(HTMLEscapeAnsiText("", false, false), "");
    EXPECT_EQ(HTMLEscapeAnsiText("<x>", true, true), "<x>");
}

TEST(HelpersHtml, HintAttribute) {
    EXPECT_EQ(MakeHintAttribute(1, "say \"hi\""), "title=\"say 'hi'\"");
    EXPECT_EQ(MakeHintAttribute(2, "a{b}\xE4"), "\\o \"a_b_\\'e4\"");
    EXPECT_EQ(MakeHintAttribute(3, "x"), "");
    EXPECT_EQ(MakeHintAttribute(1, ""), "");
}

TEST(HelpersHtml, FontTags) {
    TFontInfo base, s;
    s.Style = RPFontStyle::Bold | RPFontStyle::Underline;
    s.Color = clRed;
    s.VShift = 30;
    EXPECT_EQ(OpenFontTags(s, base, false), "<FONT size=2 color=#FF0000 face=\"Arial\"><B><U><SUP>");
    EXPECT_EQ(CloseFontTags(s, base, false), "</SUP></U></B></FONT>");
    base.Style = RPFontStyle::Italic | RPFontStyle::Underline;
    EXPECT_EQ(OpenFontTags(s, base, true), "<FONT color=#FF0000></I><B><SUP>");
    EXPECT_EQ(CloseFontTags(s, base, true), "</SUP></B><I></FONT>");
    s.Color = base.Color;
    s.VShift = -1;
    EXPECT_EQ(OpenFontTags(s, base, true), "</I><B><SUB>");
    EXPECT_EQ(CloseFontTags(s, base, true), "</SUB></B><I>");
}

TEST(HelpersRtf, Escaping) {
    EXPECT_EQ(RTFEscapeText("a{b}\\c", false), "a\\{b\\}\\\\c");
    EXPECT_EQ(RTFEscapeText("a{b}\xFC\x01", true), "a{b}\\'fc\\'01");
    EXPECT_EQ(RTFEscapeHighChars(std::string("\x19\x1A\x7F\x80", 4)), "\\'19\x1A\x7F\\'80");
    EXPECT_EQ(RTFEscapeName("x\\y"), "x_y");
    EXPECT_EQ(MakeRTFIdentifier("Kap 1.\xE4"), "Kap_1_\\'e4");
    std::string h = "'zz";
    ByteToHexLower(0xAB, h);
    EXPECT_EQ(h, "'ab");
}

std::string Rtf(std::u16string_view s, int cp, bool fallback) {
    std::string o;
    WriteRTFUnicodeText(o, WideStrToItemText(s), cp, fallback, false);
    return o;
}

TEST(HelpersRtf, UnicodeText) {
    EXPECT_EQ(Rtf(u"\u20AC", 1252, true), "\\u8364 \\'80");
    EXPECT_EQ(Rtf(u"\u20AC", 1252, false), "\\u8364 ");
    EXPECT_EQ(Rtf(u"a{", 1252, true), "a\\{");
    // Characters from 0x8000 are written as negative numbers.
    EXPECT_EQ(Rtf(u"\uFF01", 1252, false), "\\u-255 ");
    // A character the page lacks falls back to "?".
    EXPECT_EQ(Rtf(u"\u4E00", 1252, true), "\\u19968 ?");
    // Several bytes in a double-byte page.
    EXPECT_EQ(Rtf(u"\u4E00", 936, true), "\\uc2\\u19968 \\'d2\\'bb\\uc1 ");
}

TEST(HelpersGeometry, ScalingAndHitTest) {
    const TRPResolution r{96, 96, 600, 300};
    EXPECT_EQ(ScreenToDeviceX(96, r), 600);
    EXPECT_EQ(ScreenToDeviceY(96, r), 300);
    EXPECT_EQ(DeviceToScreenX(600, r), 96);
    EXPECT_EQ(DeviceToScreenY(150, r), 48);
    TRPBounds b{600, 300, 1200, 600};
    DeviceToScreenRect(b, r);
    EXPECT_EQ(b, (TRPBounds{96, 96, 192, 192}));
    EXPECT_TRUE(IsPointInRect(10, 10, 10, 10, 5, 5));
    EXPECT_TRUE(IsPointInRect(14, 14, 10, 10, 5, 5));
    EXPECT_FALSE(IsPointInRect(15, 14, 10, 10, 5, 5));
    EXPECT_FALSE(IsPointInRect(14, 15, 10, 10, 5, 5));
}

TEST(HelpersPrintColours, ModesAndSystemColours) {
    EXPECT_EQ(GetLuminance(RGB(100, 200, 50)), 154);
    EXPECT_EQ(GetLuminanceGray(RGB(100, 200, 50)), RGB(154, 154, 154));
    EXPECT_EQ(GetLuminanceGray(clNone), clNone);
    EXPECT_EQ(SysColorToPrintColor(clBtnFace), clSilver);
    EXPECT_EQ(SysColorToPrintColor(clScrollBar), clSilver);
    EXPECT_EQ(SysColorToPrintColor(clWindow), clWhite);
    EXPECT_EQ(SysColorToPrintColor(clWindowText), clBlack);
    EXPECT_EQ(SysColorToPrintColor(clBtnShadow), clGray);
    EXPECT_EQ(SysColorToPrintColor(clHighlight), clHighlight);
    // White paper in both modes: white text prints black, not invisibly.
    EXPECT_EQ(GetPrintTextColor(clWhite, rpcmBlackOnWhite), clBlack);
    EXPECT_EQ(GetPrintTextColor(clWhite, rpcmBlackAndWhite), clBlack);
    EXPECT_EQ(GetPrintTextColor(clYellow, rpcmBlackOnWhite), clBlack);
    EXPECT_EQ(GetPrintTextColor(clYellow, rpcmBlackAndWhite), clBlack);
    EXPECT_EQ(GetPrintTextColor(clNone, rpcmBlackAndWhite), clNone);
    EXPECT_EQ(GetPrintTextColor(clWindowText, rpcmColor), clWindowText);
    EXPECT_EQ(GetPrintTextColor(clWindowText, rpcmPrinterColor), clBlack);
    EXPECT_EQ(GetPrintTextColor(clBtnFace, rpcmGrayScale), RGB(192, 192, 192));
    EXPECT_EQ(GetPrintBackColor(clRed, rpcmBlackOnWhite), clWhite);
    // 0.3 * 255 = 76.5 rounds to even.
    EXPECT_EQ(GetPrintBackColor(clRed, rpcmGrayScale), RGB(76, 76, 76));
    EXPECT_EQ(GetPrintBackColor(clNone, rpcmGrayScale), clNone);
}

TEST(HelpersClipboard, FormatsRegistered) {
    EXPECT_NE(RPClipboardFormatRPF, 0);
    EXPECT_EQ(std::string(RPClipboardFormatNames[RPClipboardFormatRPF - 1]), "RichPad Format");
    EXPECT_EQ(std::string(RPClipboardFormatNames[RPClipboardFormatHTML - 1]), "HTML Format");
    EXPECT_EQ(RPClipboardMimeType(RPClipboardFormatRTF), "text/rtf");
    EXPECT_FALSE(RPThemeLibrary.Loaded);
}

TEST(HelpersStrings, ReplaceAllRepeatsFromTheStart) {
    // A replacement that forms a new occurrence with the text before it is
    // replaced again.
    EXPECT_EQ(RP_ReplaceAll("aab", "ab", "b"), "b");
    EXPECT_EQ(RP_ReplaceAll("bba", "ba", "ab"), "abb");
    EXPECT_EQ(ReplaceAllForward("bba", "ba", "ab"), "bab");
    // Long chains still run to the end.
    EXPECT_EQ(RP_ReplaceAll(std::string(300, 'b') + std::string(300, 'a'), "ba", "ab"),
              std::string(300, 'a') + std::string(300, 'b'));
}

} // namespace

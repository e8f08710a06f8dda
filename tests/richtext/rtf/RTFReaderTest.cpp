#include "RTFRecorder.h"

#include "platform/CodePage.h"
#include "platform/Pictures.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using Events = std::vector<std::string>;

namespace {

// A device that hands out one byte per read.
class TrickleDevice : public QIODevice {
public:
    explicit TrickleDevice(std::string data) : fData(std::move(data)) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* out, qint64 max) override {
        if (fPos >= fData.size()) return -1;
        if (max <= 0) return 0;
        out[0] = fData[fPos++];
        return 1;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::string fData;
    size_t fPos = 0;
};

Events Ev(const std::string& rtf, uint8_t expected = 0, bool unicode = false) {
    RTFRecorder rec;
    rec.Unicode = unicode;
    EXPECT_EQ(expected, Record(rec, rtf)) << rtf;
    return rec.Events;
}

} // namespace

TEST(RTFReaderResult, CodesOfBrokenInput) {
    RTFRecorder rec;
    EXPECT_EQ(1, Record(rec, "}"));
    EXPECT_EQ(4, Record(rec, "{\\rtf1 \\'4g}"));
    EXPECT_EQ(7, Record(rec, "{\\rtf1 x\\"));
    EXPECT_EQ(9, Record(rec, "{\\rtf1 \\fs12345678901 x}"));
    // Ten digits are still a number, taken as the nearest that fits.
    EXPECT_EQ(0, Record(rec, "{\\rtf1 \\f2147483648 \\fs-4294967296 x}"));
    EXPECT_EQ(8, TRPRTFReader().ReadFromFile("/nonexistent/none.rtf"));
    EXPECT_EQ(8, TRPRTFReader().ReadFromFile("/"));
}

TEST(RTFReaderResult, UnbalancedInputKeepsItsText) {
    EXPECT_EQ((Events{"T2:x"}), Ev("{\\rtf1 {\\b x}", 3));
    EXPECT_EQ((Events{"T2:abc"}), Ev("{\\rtf1 abc", 3));
    // Cut right after the backslash of a paragraph mark, a control word or an
    // escaped brace or backslash: what came before stays.
    EXPECT_EQ((Events{"T2:a", "T2:b"}), Ev("{\\rtf1 a\\par b\\", 7));
    EXPECT_EQ((Events{"T2:a", "T0:b"}), Ev("{\\rtf1 a{\\b b\\", 7));
    EXPECT_EQ((Events{"T2:a{b"}), Ev("{\\rtf1 a\\{b\\", 7));
    EXPECT_EQ((Events{"T2:a\\b"}), Ev("{\\rtf1 a\\\\b\\", 7));
    EXPECT_EQ((Events{"T2:x"}), Ev("{\\rtf1 x}}junk"));
    EXPECT_EQ((Events{"T2:preabc"}), Ev("pre{\\rtf1 abc}"));
}

// The input ends inside a group that holds no text: the text before the group
// stays, with the properties it was read under, and nothing of the group's own
// content becomes text. A picture cut short is dropped.
TEST(RTFReaderResult, TextBeforeAGroupCutShortStays) {
    struct TCut {
        const char* Rtf;
        Events Want;
    } const cuts[] = {
        {"{\\rtf1\\ansi Erste Zeile\\par Mein Bild: {\\pict\\pngblip 8950", {"T2:Erste Zeile", "T2:Mein Bild: "}},
        {"{\\rtf1 a {\\fldinst HYPERLINK x", {"T2:a "}},
        {"{\\rtf1 a {\\*\\unknown skipped", {"T2:a "}},
        {"{\\rtf1 a {\\*\\bkmkstart m}b{\\*\\generator x", {"T2:a b"}},
        {"{\\rtf1 a{\\b b {\\pict\\pngblip 89", {"T2:a", "T0:b "}},
        {"{\\rtf1 a{\\b b {\\i{\\*\\x{\\pict 89", {"T2:a", "T0:b "}},
        {"{\\rtf1\\trowd\\cellx1000\\intbl c {\\pict\\pngblip 89", {"TS", "T2:c ", "TE"}},
        {"{\\rtf1 a {\\field{\\*\\fldinst HYPERLINK x", {"T2:a "}},
        {"{\\rtf1 a {\\header h", {"T2:a "}},
        {"{\\rtf1 a {\\info{\\title t", {"T2:a "}},
    };
    for (const TCut& c : cuts)
        for (const char* end : {"", "\\", " \\p", "\\'4"}) {
            const std::string rtf = std::string(c.Rtf) + end;
            RTFRecorder rec;
            rec.Pictures = true;
            const uint8_t r = Record(rec, rtf);
            EXPECT_EQ(*end == '\\' && !end[1] ? 7 : 3, r) << rtf;
            EXPECT_EQ(c.Want, rec.Events) << rtf;
        }
    // The text keeps the properties it was read under, not those of the group.
    TRPRTFReader reader;
    std::vector<int> styles;
    reader.OnNewText = [&](TRPRTFReader* r, const std::string&, TRPRTFPosition) {
        styles.push_back(r->State().CharProps.Style);
    };
    reader.OnNewPicture = [](TRPRTFReader*, TRPRTFPicture*, TRPRTFGraphicPtr&, TRPRTFPosition, bool&) {};
    EXPECT_EQ(3, ReadRTF(reader, "{\\rtf1{\\b bold {\\pict\\b0\\i 89"));
    EXPECT_EQ(std::vector<int>{rtffsBold}, styles);
}

// A picture cut at any byte: the words before it come back, the picture does not.
TEST(RTFReaderResult, EveryCutInsideAPictureKeepsTheTextBeforeIt) {
    const std::string head = "{\\rtf1\\ansi Erste Zeile\\par Mein Bild: ";
    const std::string picture = "{\\pict\\pngblip\\picw2\\pich2\\picwgoal30\\pichgoal30 89504e470d0a1a0a\r\n"
                                "0000000d49484452}";
    const std::string whole = head + picture + " danach}";
    for (size_t n = 1; n < picture.size(); ++n) {
        RTFRecorder rec;
        rec.Pictures = true;
        const std::string rtf = head + picture.substr(0, n);
        const uint8_t r = Record(rec, rtf);
        EXPECT_TRUE(r == 3 || r == 7) << rtf;
        EXPECT_EQ((Events{"T2:Erste Zeile", "T2:Mein Bild: "}), rec.Events) << rtf;
    }
    RTFRecorder rec;
    rec.Pictures = true;
    EXPECT_EQ(0, Record(rec, whole));
    EXPECT_EQ((Events{"T2:Erste Zeile", "T2:Mein Bild: ", "P0:" + std::to_string(rtfpkPNG), "T0: danach"}),
              rec.Events);
}

// Input that does not open with {\rtf is a fragment: every top-level group of
// it is read, and a brace that closes nothing fails the reading instead of
// dropping what follows.
TEST(RTFReaderResult, FragmentsAreReadToTheEnd) {
    EXPECT_EQ((Events{"T2:one", "T2:two"}), Ev("{\\pard one\\par}{\\pard two\\par}"));
    EXPECT_EQ((Events{"T2:preone", "T2:two", "T2:tail"}), Ev("pre{one\\par}\n{\\b two\\par}tail"));
    EXPECT_EQ((Events{"T2:one", "T2:two"}), Ev("{one\\par}two}three", 1));
    EXPECT_EQ((Events{"T2:one"}), Ev("{one}}", 1));
    // A document still ends where its group closes, line ends before it or not.
    EXPECT_EQ((Events{"T2:x"}), Ev("\r\n{\\rtf1 x}{y}"));
    EXPECT_EQ((Events{"T2:x"}), Ev("{\\rtf x}}{y}"));
    // The stream entry decides the same from its first bytes.
    QByteArray fragment("{a\\par}{b}");
    QBuffer buf(&fragment);
    buf.open(QIODevice::ReadOnly);
    RTFRecorder rec;
    TRPRTFReader r;
    rec.Hook(r);
    EXPECT_EQ(0, r.ReadFromStream(buf));
    EXPECT_EQ((Events{"T2:a", "T2:b"}), rec.Events);
}

TEST(RTFReaderResult, DepthIsLimited) {
    std::string deep = "{\\rtf1 ";
    for (int i = 0; i < 10000; ++i)
        deep += "{";
    RTFRecorder rec;
    EXPECT_EQ(2, Record(rec, deep + "x"));
    std::string fine = "{\\rtf1 " + std::string(5000, '{') + "x" + std::string(5001, '}');
    EXPECT_EQ((Events{"T2:x"}), Ev(fine));
}

TEST(RTFReaderText, ParagraphsAndLines) {
    EXPECT_EQ((Events{"T2:abc"}), Ev("{\\rtf1 abc}"));
    EXPECT_EQ((Events{"T2:a", "T2:", "T2:b"}), Ev("{\\rtf1 a\\par\\par b}"));
    EXPECT_EQ((Events{"T2:a", "T1:b"}), Ev("{\\rtf1 a\\line b}"));
    EXPECT_EQ((Events{"T2:a", "T0:b"}), Ev("{\\rtf1 a{\\b b}}"));
    // Line ends in the file are not text; a space after a word is its delimiter.
    EXPECT_EQ((Events{"T2:ab\tc"}), Ev("{\\rtf1 a\r\nb\\tab0 c}"));
    EXPECT_EQ((Events{"T2:a\tb\xA0"
                      "c\x95"}),
              Ev("{\\rtf1 a\\tab b\\~c\\bullet}"));
    EXPECT_EQ((Events{"T2:{}\\"}), Ev("{\\rtf1 \\{\\}\\\\}"));
}

TEST(RTFReaderText, ControlWordsAndHex) {
    // An unknown word is ignored; after \* it skips its group.
    EXPECT_EQ((Events{"T2:ab"}), Ev("{\\rtf1 a\\foo12 b}"));
    EXPECT_EQ((Events{"T2:ab"}), Ev("{\\rtf1 a{\\*\\foo hidden {\\b x}}b}"));
    EXPECT_EQ((Events{"T2:a\xE9z"}), Ev("{\\rtf1 a\\'e9z}"));
    EXPECT_EQ((Events{"T2:caf\xE9"}), Ev("{\\rtf1 caf\\'e\r\n9}"));
    // Known destinations that the reader does not use are skipped.
    EXPECT_EQ((Events{"T2:body"}), Ev("{\\rtf1{\\info{\\title T}{\\author A}}{\\*\\generator g;}body}"));
    // A word too long to be known is ignored, its parameter with it.
    EXPECT_EQ((Events{"T2:ok"}), Ev("{\\rtf1 \\" + std::string(100, 'b') + "1 ok}"));
}

TEST(RTFReaderText, UnicodeCharacters) {
    EXPECT_EQ((Events{"T2:x", "U0:20AC", "T0:y"}), Ev("{\\rtf1\\uc1 x\\u8364?y}", 0, true));
    EXPECT_EQ((Events{"T2:x?y"}), Ev("{\\rtf1\\uc1 x\\u8364?y}"));
    // A hex escape right after \u is its fallback.
    EXPECT_EQ((Events{"U2:00E9", "T0:z"}), Ev("{\\rtf1 \\u233\\'e9z}", 0, true));
    // Negative codes are 16-bit values.
    EXPECT_EQ((Events{"U2:F0B7"}), Ev("{\\rtf1 \\u-3913?}", 0, true));
    // Word's typographic quotes and dashes.
    EXPECT_EQ((Events{"U2:201C 2013"}), Ev("{\\rtf1 \\ldblquote\\endash}", 0, true));
    EXPECT_EQ((Events{"T2:\"-"}), Ev("{\\rtf1 \\ldblquote\\endash}"));
}

TEST(RTFReaderText, SkipCountBelongsToItsGroup) {
    // \uc2 inside a group ends with the group; outside it one fallback byte goes.
    EXPECT_EQ((Events{"U2:0101", "U0:0102", "T0:ab"}), Ev("{\\rtf1 {\\uc2 \\u257??}\\u258?ab}", 0, true));
    EXPECT_EQ((Events{"T2:??", "T0:?ab"}), Ev("{\\rtf1 {\\uc2 \\u257??}\\u258?ab}"));
    // \uc0: no fallback at all.
    EXPECT_EQ((Events{"U2:0101", "T0:x"}), Ev("{\\rtf1 \\uc0\\u257 x}", 0, true));
    // Braces end the skipping.
    EXPECT_EQ((Events{"U2:0101", "T0:}"}), Ev("{\\rtf1 \\uc3\\u257 {}\\}}", 0, true));
    // Symbols that stand for a character are fallbacks like any other.
    EXPECT_EQ((Events{"U2:2011", "T0:x"}), Ev("{\\rtf1 \\u8209\\_x}", 0, true));
    EXPECT_EQ((Events{"U2:00A0 2014", "T0:y"}), Ev("{\\rtf1\\uc2 \\u160\\~?\\u8212\\-\\_y}", 0, true));
}

// Body text is taken a run at a time: the rules of single characters still hold inside a run.
TEST(RTFReaderText, RunsOfPlainText) {
    // NUL bytes are no text, wherever they stand.
    EXPECT_EQ((Events{"T2:abcd"}), Ev(std::string("{\\rtf1 a\0b\0\0cd}", 15)));
    // The fallback characters of \u come out of the run that follows it.
    EXPECT_EQ((Events{"U2:20AC", "T0:bcd"}), Ev("{\\rtf1\\uc2 \\u8364xybcd}", 0, true));
    // A run ends at a group, a control word and a line end of the file.
    EXPECT_EQ((Events{"T2:ab", "T0:cd", "T0:ef\xE9gh"}), Ev("{\\rtf1 ab{\\b cd}ef\r\n\\'e9gh}"));
    // Bytes that stand for text in the code page are text like any other.
    EXPECT_EQ((Events{"T2:\xE4\xF6\xFC \x80"}), Ev("{\\rtf1 \xE4\xF6\xFC \x80}"));
}

TEST(RTFReaderText, HiddenTextStartsWithAReport) {
    RTFRecorder rec;
    std::vector<bool> hidden;
    TRPRTFReader r;
    rec.Hook(r);
    r.OnNewText = [&](TRPRTFReader* s, const std::string& t, TRPRTFPosition p) {
        rec.Events.push_back("T" + std::to_string(p) + ":" + t);
        hidden.push_back(s->State().CharProps.Hidden);
    };
    EXPECT_EQ(0, ReadRTF(r, "{\\rtf1 a\\par\\v h\\v0 b}"));
    EXPECT_EQ((Events{"T2:a", "T2:", "T0:h", "T0:b"}), rec.Events);
    EXPECT_EQ((std::vector<bool>{false, false, true, false}), hidden);
}

TEST(RTFReaderBinary, BytesGoUntouched) {
    RTFRecorder rec;
    rec.Pictures = true;
    EXPECT_EQ(0, Record(rec, "{\\rtf1{\\pict\\emfblip\\bin3 {}\\}}"));
    ASSERT_EQ(1u, rec.PictureData.size());
    EXPECT_EQ(std::string("{}\\"), rec.PictureData[0]);
    EXPECT_EQ((Events{"P2:0"}), rec.Events);
}

TEST(RTFReaderBinary, CountComesFromTheWordOnly) {
    EXPECT_EQ((Events{"T2:a", "T0:b"}), Ev("{\\rtf1 a{\\bin0}b}"));
    EXPECT_EQ((Events{"T2:a", "T0:b"}), Ev("{\\rtf1 a{\\bin}b}"));
    EXPECT_EQ((Events{"T2:a", "T0:b"}), Ev("{\\rtf1 a{\\bin-5}b}"));
    // An earlier parameter does not become the count.
    EXPECT_EQ((Events{"T2:a", "T0:b"}), Ev("{\\rtf1 \\fs24 a{\\bin}b}"));
    // A count beyond the input ends with the input.
    RTFRecorder rec;
    rec.Pictures = true;
    EXPECT_EQ(3, Record(rec, "{\\rtf1{\\pict\\bin2000000000 xyz"));
    // Skipped groups skip their binary data as well.
    EXPECT_EQ((Events{"T2:ok"}), Ev("{\\rtf1{\\*\\foo\\bin4 }}}}}ok}"));
}

TEST(RTFReaderBinary, HexPictureData) {
    RTFRecorder rec;
    rec.Pictures = true;
    EXPECT_EQ(0, Record(rec, "{\\rtf1 a{\\pict\\pngblip\\picw2\\pich2 89 50\r\n4e47}b}"));
    ASSERT_EQ(1u, rec.PictureData.size());
    EXPECT_EQ(std::string("\x89PNG"), rec.PictureData[0]);
    EXPECT_EQ((Events{"T2:a", "P0:1", "T0:b"}), rec.Events);
    // A picture inside a picture is an error.
    EXPECT_EQ(10, Record(rec, "{\\rtf1{\\pict{\\pict 00}}}"));
    // Without a picture handler, pictures are skipped.
    EXPECT_EQ((Events{"T2:ab"}), Ev("{\\rtf1 a{\\pict\\wmetafile8 0102}b}"));
}

TEST(RTFReaderPicture, ShapePictureBeatsItsAlternative) {
    const std::string rtf = "{\\rtf1{\\*\\shppict{\\pict\\pngblip 01}}{\\nonshppict{\\pict\\wmetafile8 02}}"
                            "{\\*\\shppict{\\pict\\pngblip 03}}{\\nonshppict{\\pict\\wmetafile8 04}}}";
    RTFRecorder taken;
    taken.Pictures = true;
    EXPECT_EQ(0, Record(taken, rtf));
    EXPECT_EQ((std::vector<std::string>{"\x01", "\x03"}), taken.PictureData);
    // A shape picture that is not taken lets its alternative in, for each pair on its own.
    RTFRecorder refused;
    refused.Pictures = true;
    refused.InsertPictures = false;
    EXPECT_EQ(0, Record(refused, rtf));
    EXPECT_EQ((std::vector<std::string>{"\x01", "\x02", "\x03", "\x04"}), refused.PictureData);
    // A refused picture does not swallow the paragraph start of what follows.
    EXPECT_EQ((Events{"P2:1", "P2:5", "P2:1", "P2:5"}), refused.Events);
}

TEST(RTFReaderPicture, SizesAndPlausibility) {
    TRPRTFPicture pic;
    int w = -1, h = -1;
    bool plausible = false;
    TRPRTFReader r;
    r.OnNewPicture = [&](TRPRTFReader*, TRPRTFPicture* p, TRPRTFGraphicPtr&, TRPRTFPosition, bool& ins) {
        w = p->WidthPx;
        h = p->HeightPx;
        plausible = p->IsPlausible();
        pic = *p;
        ins = true;
    };
    EXPECT_EQ(0, ReadRTF(r, "{\\rtf1{\\pict\\wmetafile8\\picw2540\\pich5080 0100090000}}"));
    EXPECT_EQ(96, w);
    EXPECT_EQ(192, h);
    EXPECT_FALSE(plausible); // shorter than a metafile header
    EXPECT_EQ(0, ReadRTF(r, "{\\rtf1{\\pict\\jpegblip\\picwgoal1440\\pichgoal720\\picscalex50 ffd8}}"));
    EXPECT_EQ(96, w);
    EXPECT_EQ(48, h);
    EXPECT_EQ(50, pic.ScaleX);
    EXPECT_TRUE(plausible);
    // A device-dependent bitmap needs its rows: 4 x 2 pixels of 8 bits are 2 rows of 4 bytes.
    EXPECT_EQ(
        0,
        ReadRTF(r,
                "{\\rtf1{\\pict\\wbitmap0\\picw4\\pich2\\wbmbitspixel8\\wbmwidthbytes4 0102030405060708}}"));
    EXPECT_TRUE(plausible);
    EXPECT_EQ(
        0,
        ReadRTF(r, "{\\rtf1{\\pict\\wbitmap0\\picw4\\pich2\\wbmbitspixel8\\wbmwidthbytes4 01020304050607}}"));
    EXPECT_FALSE(plausible);
    EXPECT_EQ(
        0,
        ReadRTF(r,
                "{\\rtf1{\\pict\\wbitmap0\\picw4\\pich2\\wbmbitspixel8\\wbmwidthbytes2 0102030405060708}}"));
    EXPECT_FALSE(plausible);
    EXPECT_EQ(0, ReadRTF(r, "{\\rtf1{\\pict\\pngblip\\picwgoal999999999\\pichgoal20 89}}"));
    EXPECT_FALSE(plausible);
}

TEST(RTFReaderPicture, DeviceIndependentBitmapIsChecked) {
    // 2 x 2 pixels, 24 bits: rows of 8 bytes.
    std::string hdr = "28000000"
                      "02000000"
                      "02000000"
                      "0100"
                      "1800"
                      "00000000"
                      "00000000"
                      "00000000"
                      "00000000"
                      "00000000"
                      "00000000";
    bool plausible = false;
    TRPRTFReader r;
    r.OnNewPicture = [&](TRPRTFReader*, TRPRTFPicture* p, TRPRTFGraphicPtr&, TRPRTFPosition, bool&) {
        plausible = p->IsPlausible();
    };
    ReadRTF(r, "{\\rtf1{\\pict\\dibitmap0 " + hdr + std::string(32, '0') + "}}");
    EXPECT_TRUE(plausible);
    ReadRTF(r, "{\\rtf1{\\pict\\dibitmap0 " + hdr + std::string(30, '0') + "}}");
    EXPECT_FALSE(plausible);
    std::string huge = hdr;
    huge.replace(8, 8, "FFFFFF7F");
    ReadRTF(r, "{\\rtf1{\\pict\\dibitmap0 " + huge + std::string(32, '0') + "}}");
    EXPECT_FALSE(plausible);
}

TEST(RTFReaderStream, TrickleGivesTheSameEvents) {
    const std::string rtf =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}\\f0\\fs20 Hello "
        "{\\b world}\\par\\u8364?\\'e9{\\pict\\pngblip\\bin2 \\}}{\\field{\\*\\fldinst HYPERLINK \"x\"}"
        "{\\fldrslt link}}\\intbl a\\cell b\\cell\\row end}";
    RTFRecorder whole, trickle;
    whole.Unicode = trickle.Unicode = true;
    whole.Pictures = trickle.Pictures = true;
    EXPECT_EQ(0, Record(whole, rtf));
    TRPRTFReader r;
    trickle.Hook(r);
    TrickleDevice dev(rtf);
    EXPECT_EQ(0, r.ReadFromStream(dev));
    EXPECT_EQ(whole.Events, trickle.Events);
    EXPECT_EQ(whole.PictureData, trickle.PictureData);
    EXPECT_GT(whole.Events.size(), 8u);
}

TEST(RTFReaderStream, EveryPrefixEndsCleanly) {
    const std::string rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset204 Arial CYR;}}{\\colortbl;\\red255;}"
        "{\\stylesheet{\\s1 "
        "Heading;}}{\\*\\listtable{\\list\\listid5{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}}}}"
        "{\\*\\listoverridetable{\\listoverride\\listid5\\ls1}}\\pard\\ls1 item\\par"
        "{\\pn\\pnlvlbody\\pndec{\\pntxta .}}x\\par\\trowd\\cellx1000\\intbl c\\cell\\row"
        "{\\pict\\dibitmap0 0102}{\\object{\\*\\objdata 0102}{\\result r}}\\bin2 ab\\'41\\u66?}";
    for (size_t n = 0; n <= rtf.size(); ++n) {
        RTFRecorder rec;
        rec.Unicode = rec.Pictures = rec.Markers = rec.Objects = true;
        const uint8_t r = Record(rec, rtf.substr(0, n));
        EXPECT_TRUE(r == 0 || r == 3 || r == 7) << n << " -> " << int(r);
    }
}

TEST(RTFReaderTables, EventsOfASimpleTable) {
    EXPECT_EQ(
        (Events{"T2:before", "TS", "T2:a", "CE", "T2:b", "CE", "RE", "TE", "T2:after"}),
        Ev("{\\rtf1 before\\par\\trowd\\cellx100\\cellx200\\pard\\intbl a\\cell b\\cell\\row\\pard after}"));
    // An empty cell reports no text.
    EXPECT_EQ((Events{"TS", "CE", "CE", "RE", "TE"}), Ev("{\\rtf1\\intbl\\cell\\cell\\row}"));
    // Nesting levels come and go one by one.
    EXPECT_EQ((Events{"TS", "TS", "T2:n", "CE", "RE", "TE", "CE", "RE", "TE"}),
              Ev("{\\rtf1\\intbl\\itap2 n\\nestcell\\nestrow\\pard\\intbl\\cell\\row}"));
}

TEST(RTFReaderTables, EventsWithoutATableAreHarmless) {
    // A stray cell end closes a paragraph; a stray row end does nothing.
    EXPECT_EQ((Events{"T2:a", "T2:b"}), Ev("{\\rtf1 a\\cell b\\row}"));
    EXPECT_EQ((Events{"T2:a", "T2:b"}), Ev("{\\rtf1 a\\itap-3\\cell b\\nestrow}"));
    // A paragraph that keeps its table open still ends cells of that table.
    EXPECT_EQ((Events{"TS", "T2:a", "CE", "CE", "TE", "T2:b"}),
              Ev("{\\rtf1\\intbl a\\cell\\pard\\absnoovrlp\\cell\\absnoovrlp0 b}"));
    // Absurd nesting is capped.
    RTFRecorder rec;
    EXPECT_EQ(0, Record(rec, "{\\rtf1\\intbl\\itap100000 x\\cell}"));
    EXPECT_EQ(TRPRTFReader::MaxTableLevel, std::count(rec.Events.begin(), rec.Events.end(), "TS"));
    EXPECT_EQ(TRPRTFReader::MaxTableLevel, std::count(rec.Events.begin(), rec.Events.end(), "TE"));
}

TEST(RTFReaderTables, RowProperties) {
    TRPRTFRowProperties row;
    size_t cells = 0;
    TRPRTFReader r;
    r.OnTable = [&](TRPRTFReader* s, TRPRTFTableEventKind k) {
        if (k == rtfteRowEnd) {
            row = *s->RowProps();
            cells = row.Cells.size();
        }
    };
    ReadRTF(r, "{\\rtf1\\trowd\\trftsWidth2\\trwWidth2500\\clcbpat1\\cellx10\\clvmgf\\cellx20\\cellx30"
               "\\intbl\\cell\\row}");
    EXPECT_EQ(3u, cells);
    EXPECT_EQ(-2500, row.BestWidth);
    EXPECT_EQ(1, row.Cells[1].VMerge);
    EXPECT_EQ(20, row.Cells[1].RightBoundary);
    ReadRTF(r, "{\\rtf1\\trowd\\trwWidth2500\\trftsWidth2\\trftsWidth2\\cellx10\\intbl\\cell\\row}");
    EXPECT_EQ(-2500, row.BestWidth);
    ReadRTF(r, "{\\rtf1\\trowd\\trpaddl108\\trpaddfl3\\trspdt20\\trgaph70\\trqc\\cellx10\\intbl\\cell\\row}");
    EXPECT_EQ(108, row.Padding[0]);
    EXPECT_TRUE(row.PaddingInTwips[0]);
    EXPECT_EQ(20, row.Spacing[1]);
    EXPECT_EQ(70, row.GapH);
    EXPECT_EQ(2, row.Alignment);
    EXPECT_TRUE(row.AlignmentGiven);
    // Shading of cells is resolved once the row is complete.
    ReadRTF(r, "{\\rtf1{\\colortbl;\\red0\\green0\\blue0;}"
               "\\trowd\\clcfpat1\\clshdng5000\\cellx10\\intbl\\cell\\row}");
    EXPECT_EQ(RGB(127, 127, 127), row.Cells[0].Color);
    // Cells beyond the limit are not kept.
    std::string many = "{\\rtf1\\trowd";
    for (int i = 0; i < 1000; ++i)
        many += "\\cellx" + std::to_string(i * 10 + 10);
    ReadRTF(r, many + "\\intbl\\cell\\row}");
    EXPECT_EQ(size_t(TRPRTFReader::MaxCells), cells);
}

TEST(RTFReaderTables, BordersFirstStyleWins) {
    TRPRTFParaProperties pp;
    TRPRTFRowProperties row;
    TRPRTFReader r;
    r.OnNewText = [&](TRPRTFReader* s, const std::string&, TRPRTFPosition) { pp = s->State().ParaProps; };
    r.OnTable = [&](TRPRTFReader* s, TRPRTFTableEventKind k) {
        if (k == rtfteRowEnd) row = *s->RowProps();
    };
    ReadRTF(r, "{\\rtf1{\\colortbl;\\red255;}\\brdrb\\brdrs\\brdrdb\\brdrw15\\brdrcf1\\brsp20 x}");
    ASSERT_TRUE(pp.Border.has_value());
    EXPECT_EQ(1, pp.Border->TypeOf(3));
    EXPECT_EQ(15, pp.Border->Sides[3]->Width);
    EXPECT_EQ(RGB(255, 0, 0), pp.Border->Sides[3]->Color);
    EXPECT_EQ(20, pp.Border->Sides[3]->Spacing);
    EXPECT_FALSE(pp.Border->Sides[0].has_value());
    ReadRTF(r, "{\\rtf1\\trowd\\trbrdrt\\brdrdb\\brdrw10\\clbrdrr\\brdrth\\cellx10\\intbl\\cell\\row}");
    EXPECT_EQ(4, row.Border.TypeOf(1));
    EXPECT_EQ(10, row.Border.Sides[1]->Width);
    EXPECT_EQ(2, row.Cells[0].Border.TypeOf(2));
}

TEST(RTFReaderProps, CharacterProperties) {
    TRPRTFCharProperties cp;
    TRPRTFReader r;
    r.OnNewText = [&](TRPRTFReader* s, const std::string&, TRPRTFPosition) { cp = s->State().CharProps; };
    ReadRTF(r, "{\\rtf1 \\fs25 x}");
    EXPECT_EQ(12, cp.Size);
    ReadRTF(r, "{\\rtf1 \\fs27 x}");
    EXPECT_EQ(14, cp.Size);
    ReadRTF(r, "{\\rtf1 \\fs99999999 x}");
    EXPECT_EQ(1638, cp.Size);
    ReadRTF(r, "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\cf1 x}");
    EXPECT_EQ(0x0000FF, cp.Color);
    ReadRTF(r, "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\cf1\\cf5 x}");
    EXPECT_EQ(0x0000FF, cp.Color);
    ReadRTF(r, "{\\rtf1\\b\\i\\ul\\strike\\b0 x}");
    EXPECT_EQ(rtffsItalic | rtffsUnderline | rtffsStrikeOut, cp.Style);
    ReadRTF(r, "{\\rtf1\\b\\ulnone\\ul\\ulnone\\super\\caps\\expndtw20\\charscalex80 x}");
    EXPECT_EQ(rtffsBold, cp.Style);
    EXPECT_EQ(2, cp.VShift);
    EXPECT_TRUE(cp.AllCaps);
    EXPECT_EQ(20, cp.Expansion);
    EXPECT_EQ(80, cp.CharScale);
    ReadRTF(r, "{\\rtf1\\b\\fs40\\plain x}");
    EXPECT_EQ(0, cp.Style);
    EXPECT_EQ(12, cp.Size);
    ReadRTF(r, "{\\rtf1\\highlight6 x}");
    EXPECT_EQ(0x0000FF, cp.BackColor);
    ReadRTF(r, "{\\rtf1\\highlight17 x}");
    EXPECT_EQ(clNone, cp.BackColor);
    r.ConvertHighlight = rtf_hl_ColorTable;
    ReadRTF(r, "{\\rtf1{\\colortbl;\\red0\\green255\\blue0;}\\highlight1 x}");
    EXPECT_EQ(0x00FF00, cp.BackColor);
    ReadRTF(r, "{\\rtf1{\\colortbl;\\red0\\green255\\blue0;}\\chcbpat0 x}");
    EXPECT_EQ(clNone, cp.BackColor);
}

TEST(RTFReaderProps, TextBeforeAFormatChangeKeepsItsFormat) {
    std::vector<int> sizes;
    TRPRTFReader r;
    r.OnNewText = [&](TRPRTFReader* s, const std::string&, TRPRTFPosition) {
        sizes.push_back(s->State().CharProps.Size);
    };
    ReadRTF(r, "{\\rtf1 \\fs20 a\\fs40 b}");
    EXPECT_EQ((std::vector<int>{10, 20}), sizes);
}

TEST(RTFReaderProps, ColourTable) {
    TRPRTFReader r;
    ReadRTF(r, "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}x}");
    EXPECT_EQ((std::vector<TColor>{RTFAutoColor, 0x0000FF}), r.Colors());
    ReadRTF(r, "{\\rtf1{\\colortbl\\red300\\green256\\blue1;}x}");
    EXPECT_EQ((std::vector<TColor>{RGB(44, 0, 1)}), r.Colors());
    // No colour table: nothing to remove.
    EXPECT_EQ(0, ReadRTF(r, "{\\rtf1 x}"));
    EXPECT_TRUE(r.Colors().empty());
    // A table that does not end with ';' keeps its last colour.
    ReadRTF(r, "{\\rtf1{\\colortbl;\\red1\\green2\\blue3}x}");
    EXPECT_EQ((std::vector<TColor>{RTFAutoColor, RGB(1, 2, 3)}), r.Colors());
}

TEST(RTFReaderProps, FontTable) {
    TRPRTFReader r;
    int fontIndex = -1;
    r.OnNewText = [&](TRPRTFReader* s, const std::string&, TRPRTFPosition) {
        fontIndex = s->State().CharProps.FontIndex;
    };
    ReadRTF(
        r, "{\\rtf1\\deff1{\\fonttbl{\\f0\\froman\\fcharset204 Arial CYR;}{\\f1\\fswiss\\fcharset300 Tahoma;}"
           "{\\f2\\fcharset238 Times New Roman ce;}{\\f3 Courier CE;}}\\f3 x}");
    ASSERT_EQ(4u, r.Fonts().size());
    EXPECT_EQ("Arial", r.Fonts()[0].Name);
    EXPECT_EQ(204, r.Fonts()[0].Charset);
    EXPECT_EQ(1251, CodePage::CharsetToCodePage(r.Fonts()[0].Charset));
    EXPECT_EQ(1, r.Fonts()[0].Family);
    EXPECT_EQ(77, r.Fonts()[1].Charset);
    EXPECT_EQ("Times New Roman", r.Fonts()[2].Name);
    EXPECT_EQ("Courier CE", r.Fonts()[3].Name); // default charset keeps the suffix
    EXPECT_EQ(3, fontIndex);
    // An unknown number falls back to the default font.
    ReadRTF(r, "{\\rtf1\\deff1{\\fonttbl{\\f0 A;}{\\f1 B;}}\\f9 x}");
    EXPECT_EQ(1, fontIndex);
    ReadRTF(r, "{\\rtf1\\deff1{\\fonttbl{\\f0 A;}{\\f1 B;}}\\f1\\plain x}");
    EXPECT_EQ(1, fontIndex);
}

TEST(RTFReaderProps, CodePages) {
    RTFRecorder rec;
    rec.Unicode = false;
    TRPRTFReader r;
    std::u16string got;
    r.OnNewText = [&](TRPRTFReader* s, const std::string& t, TRPRTFPosition) { got = s->AnsiToUnicode(t); };
    ReadRTF(r, "{\\rtf1\\ansi\\ansicpg1251 \\'c0}");
    EXPECT_EQ(u"\u0410", got);
    // Without a Unicode handler a \u character is read from its fallback.
    std::string text;
    r.OnNewText = [&](TRPRTFReader*, const std::string& t, TRPRTFPosition) { text = t; };
    ReadRTF(r, "{\\rtf1\\ansicpg1251\\uc1\\u1040\\'c0}");
    EXPECT_EQ("\xC0", text);
}

TEST(RTFReaderProps, ParagraphProperties) {
    TRPRTFParaProperties pp;
    TRPRTFReader r;
    r.OnNewText = [&](TRPRTFReader* s, const std::string&, TRPRTFPosition) { pp = s->State().ParaProps; };
    ReadRTF(r, "{\\rtf1\\li100\\ri200\\fi-50\\sb10\\sa20\\qc\\sl-360\\slmult1 x}");
    EXPECT_EQ(100, pp.LeftIndent);
    EXPECT_EQ(200, pp.RightIndent);
    EXPECT_EQ(-50, pp.FirstIndent);
    EXPECT_EQ(10, pp.SpaceBefore);
    EXPECT_EQ(20, pp.SpaceAfter);
    EXPECT_EQ(2, pp.Alignment);
    EXPECT_EQ(-360, pp.LineSpacing);
    EXPECT_TRUE(pp.LineSpacingMulti);
    ReadRTF(r, "{\\rtf1\\li100\\qr\\pard x}");
    EXPECT_EQ(0, pp.LeftIndent);
    EXPECT_EQ(0, pp.Alignment);
    // Shading mixes the fill with the pattern once.
    ReadRTF(
        r,
        "{\\rtf1{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\\cbpat2\\cfpat1\\shading5000 x}");
    EXPECT_EQ(RGB(127, 0, 0), pp.ShadingFill);
    EXPECT_EQ(0, pp.Shading);
    // An object finds the shading resolved as text does.
    pp = TRPRTFParaProperties();
    r.OnNewText = nullptr;
    r.OnNewObject = [&](TRPRTFReader* s, TRPRTFObject*, TRPRTFPosition, bool&) { pp = s->State().ParaProps; };
    ReadRTF(r, "{\\rtf1{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\\cbpat2\\cfpat1"
               "\\shading5000{\\object\\objemb\\objw20\\objh20{\\*\\objdata 0102}}}");
    EXPECT_EQ(RGB(127, 0, 0), pp.ShadingFill);
    EXPECT_EQ(0, pp.Shading);
    r.OnNewObject = nullptr;
    r.OnNewText = [&](TRPRTFReader* s, const std::string&, TRPRTFPosition) { pp = s->State().ParaProps; };
    ReadRTF(r, "{\\rtf1\\ilvl12\\ls4 x}");
    EXPECT_EQ(0, pp.ListLevel);
    EXPECT_EQ(-1, pp.ListOverrideIndex);
}

TEST(RTFReaderLists, ListTables) {
    TRPRTFReader r;
    TRPRTFParaProperties pp;
    r.OnNewText = [&](TRPRTFReader* s, const std::string&, TRPRTFPosition) { pp = s->State().ParaProps; };
    ReadRTF(r, "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Symbol;}}{\\*\\listtable"
               "{\\list\\listid7\\listsimple{\\listlevel\\levelnfc23\\leveljc1\\levelstartat3\\fs20\\f1\\b"
               "{\\leveltext\\'01\\u-3913 ?;}{\\levelnumbers;}\\li720\\fi-360\\tx720}"
               "{\\listlevel\\levelnfc255{\\leveltext\\'03\\'00.\\'01;}{\\levelnumbers\\'01\\'03;}}"
               "{\\listlevel\\levelnfc0{\\leveltext;}}{\\listname Name;}}}"
               "{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount1"
               "{\\lfolevel\\listoverridestartat\\levelstartat5}\\ls2}{\\listoverride\\listid99\\ls3}}"
               "\\ls2\\ilvl1 x}");
    ASSERT_EQ(1u, r.ListTable().size());
    const auto& list = r.ListTable()[0];
    EXPECT_EQ(7, list.Id);
    EXPECT_TRUE(list.Simple);
    EXPECT_EQ("Name;", list.Name);
    ASSERT_EQ(3u, list.Levels.size());
    EXPECT_EQ(6, list.Levels[0].Kind);
    EXPECT_EQ(2, list.Levels[0].Alignment);
    EXPECT_EQ(3, list.Levels[0].Start);
    EXPECT_EQ(10, list.Levels[0].Size);
    EXPECT_TRUE(list.Levels[0].SizeGiven);
    EXPECT_EQ(1, list.Levels[0].FontIndex);
    EXPECT_EQ(rtffsBold, list.Levels[0].Style);
    EXPECT_EQ(std::string("\x01?"), list.Levels[0].Text);
    EXPECT_EQ((std::u16string{u'\x01', u'\xF0B7'}), list.Levels[0].TextW);
    EXPECT_EQ(720, list.Levels[0].LeftIndent);
    EXPECT_EQ(-360, list.Levels[0].FirstIndent);
    EXPECT_EQ(720, list.Levels[0].Tab);
    EXPECT_EQ(1, list.Levels[1].Kind);
    EXPECT_EQ(std::string("\x03\x00.\x01", 4), list.Levels[1].Text);
    EXPECT_EQ(std::string("\x01\x03"), list.Levels[1].Numbers);
    EXPECT_EQ("", list.Levels[2].Text);
    ASSERT_EQ(2u, r.ListOverrideTable().size());
    EXPECT_EQ(0, r.ListOverrideTable()[0].ListIndex);
    EXPECT_EQ(2, r.ListOverrideTable()[0].Number);
    ASSERT_EQ(1u, r.ListOverrideTable()[0].Levels.size());
    EXPECT_TRUE(r.ListOverrideTable()[0].Levels[0].UseStart);
    EXPECT_EQ(5, r.ListOverrideTable()[0].Levels[0].Start);
    EXPECT_EQ(-1, r.ListOverrideTable()[1].ListIndex);
    EXPECT_EQ(0, pp.ListOverrideIndex);
    EXPECT_EQ(1, pp.ListLevel);
}

TEST(RTFReaderLists, OldStyleNumbering) {
    std::vector<std::shared_ptr<TRPRTFMarkerProperties>> seen;
    TRPRTFReader r;
    r.OnUpdateMarker = [&](TRPRTFReader* s) {
        if (s->State().ParaProps.Marker)
            seen.push_back(std::make_shared<TRPRTFMarkerProperties>(*s->State().ParaProps.Marker));
    };
    ReadRTF(r, "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Symbol;}}{\\pnseclvl3\\pnucrm\\pnindent300{\\pntxta )}}"
               "{\\pnseclvl99\\pndec}\\pard{\\pn\\pnlvl3\\pnb\\pnstart4{\\pntxtb (}}\\fs30\\b\\i x\\par"
               "\\pard{\\pn\\pnlvlblt\\pnf1\\pnfs16{\\pntxtb\\u-3913?}}y\\par\\pard{\\pn\\pnlvl42}z\\par}");
    ASSERT_GE(seen.size(), 3u);
    const auto& a = *seen[0];
    EXPECT_EQ(3, a.Level);
    EXPECT_EQ(5, a.Kind); // taken over from the section level
    EXPECT_EQ(300, a.Indent);
    EXPECT_EQ(")", a.TextAfter);
    EXPECT_EQ("(", a.TextBefore);
    EXPECT_EQ(4, a.Start);
    EXPECT_EQ(15, a.Size); // follows the text
    EXPECT_EQ(rtffsBold | rtffsItalic, a.Style);
    const auto& b = *seen[2];
    EXPECT_EQ(11, b.Level);
    EXPECT_EQ(1, b.FontIndex);
    EXPECT_EQ(8, b.Size);
    EXPECT_EQ(std::string("\xB7"), b.TextBefore);
    EXPECT_EQ(0, seen.back()->Level); // level 42 does not exist
}

TEST(RTFReaderFields, InstructionIsVisibleToTheResult) {
    std::vector<std::string> inst;
    TRPRTFReader r;
    r.OnNewText = [&](TRPRTFReader* s, const std::string& t, TRPRTFPosition) {
        inst.push_back(t + "|" + s->FieldInstruction());
    };
    ReadRTF(r, "{\\rtf1 a{\\field{\\*\\fldinst{ HYPERLINK \"http://x.org/\" }}{\\fldrslt{\\ul link}}}b}");
    EXPECT_EQ((std::vector<std::string>{"a|", "link| HYPERLINK \"http://x.org/\" ", "b|"}), inst);
}

TEST(RTFReaderFields, ArgumentsAndHints) {
    EXPECT_EQ("a\\b.htm", RPRTF::FieldArgument("HYPERLINK \"a\\\\b.htm\""));
    EXPECT_EQ("pic one.png", RPRTF::FieldArgument(" \\INCLUDEPICTURE \\d \"pic one.png\" \\* MERGEFORMAT"));
    EXPECT_EQ("x.gif", RPRTF::FieldArgument("IMPORT x.gif"));
    EXPECT_EQ("", RPRTF::FieldArgument("HYPERLINK"));
    EXPECT_EQ("say \"hi\"", RPRTF::FieldArgument("HYPERLINK \"say \"hi\"\""));
    EXPECT_EQ("Tip text", RPRTF::FieldHint("HYPERLINK \"u\" \\o \"Tip text\""));
    EXPECT_EQ("word", RPRTF::FieldHint("HYPERLINK \"u\" \\o word more"));
    EXPECT_EQ("", RPRTF::FieldHint("HYPERLINK \"a \\o b\""));
}

TEST(RTFReaderFields, PictureFilesStayInsideTheBasePath) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage png(3, 2, QImage::Format_RGB32);
    png.fill(Qt::green);
    ASSERT_TRUE(png.save(dir.filePath("p.png"), "PNG"));
    QDir(dir.path()).mkdir("sub");
    const QString base = dir.path() + "/";
    QString full;
    EXPECT_TRUE(RPRTF::IsSafePictureLocation(base, "p.png", &full));
    EXPECT_EQ(dir.filePath("p.png"), full);
    EXPECT_FALSE(RPRTF::IsSafePictureLocation(base, "missing.png", nullptr));
    EXPECT_FALSE(RPRTF::IsSafePictureLocation(base, "sub", nullptr));
    EXPECT_FALSE(RPRTF::IsSafePictureLocation(base, "/etc/passwd", nullptr));
    EXPECT_FALSE(RPRTF::IsSafePictureLocation(base, "\\\\server\\share\\p.png", nullptr));
    EXPECT_FALSE(RPRTF::IsSafePictureLocation(base, "c:\\p.png", nullptr));
    EXPECT_FALSE(RPRTF::IsSafePictureLocation("", "/dev/zero", nullptr));

    // The application is asked for every picture field first. What it does not
    // supply the reader loads itself, and only from inside the base path. The
    // picture stands for the field result.
    std::vector<QString> asked;
    std::vector<int> widths;
    RTFRecorder rec;
    TRPRTFReader r;
    rec.Hook(r);
    r.OnNewPicture = [&](TRPRTFReader*, TRPRTFPicture* pic, TRPRTFGraphicPtr& g, TRPRTFPosition p,
                         bool& ins) {
        rec.Events.push_back("P" + std::to_string(p) + ":" + (pic ? "data" : "field"));
        widths.push_back(g ? g->Width() : -1);
        ins = true;
    };
    r.BasePath = base;
    r.OnImportPicture = [&](TRPRTFReader*, const QString& loc, TRPRTFGraphicPtr& g) {
        asked.push_back(loc);
        if (loc.endsWith("a.png")) g = std::make_unique<TBitmap>(2, 2);
    };
    const std::string rtf =
        "{\\rtf1{\\field{\\*\\fldinst INCLUDEPICTURE \"/p.png\"}{\\fldrslt{\\pict\\pngblip 00}}}"
        "{\\field{\\*\\fldinst INCLUDEPICTURE \"../../../../etc/passwd\"}{\\fldrslt x}}"
        "{\\field{\\*\\fldinst IMPORT c:\\\\\\\\a.png}{\\fldrslt y}}}";
    EXPECT_EQ(0, ReadRTF(r, rtf));
    EXPECT_EQ((std::vector<QString>{base + "p.png", base + "../../../../etc/passwd", base + "c:\\a.png"}),
              asked);
    EXPECT_EQ((Events{"P2:field", "T0:x", "P0:field", "T0:y"}), rec.Events);
    EXPECT_EQ((std::vector<int>{3, 2}), widths);
}

TEST(RTFReaderFields, SymbolField) {
    std::vector<std::string> got;
    TRPRTFReader r;
    r.OnNewText = [&](TRPRTFReader* s, const std::string& t, TRPRTFPosition) {
        got.push_back(t + "|" + s->State().CharProps.FontNameOverride + "|" +
                      std::to_string(s->State().CharProps.Size));
    };
    ReadRTF(r, "{\\rtf1 a{\\field{\\*\\fldinst SYMBOL 183 \\\\f \"Symbol\" \\\\s 10}{\\fldrslt}}b}");
    EXPECT_EQ((std::vector<std::string>{"a||12", "\xB7|Symbol|10", "b||12"}), got);
    // Without the size there is no symbol.
    got.clear();
    ReadRTF(r, "{\\rtf1 a{\\field{\\*\\fldinst SYMBOL 183 \\\\f \"Symbol\"}{\\fldrslt}}b}");
    EXPECT_EQ((std::vector<std::string>{"a||12", "b||12"}), got);
    got.clear();
    ReadRTF(r, "{\\rtf1 a{\\field{\\*\\fldinst SYMBOL 183 \\'5cf \"Symbol\" \\'5cs 10}{\\fldrslt}}b}");
    EXPECT_EQ((std::vector<std::string>{"a||12", "\xB7|Symbol|10", "b||12"}), got);
}

TEST(RTFReaderEvents, PageBreaksAndMarkers) {
    RTFRecorder rec;
    rec.PageBreaks = true;
    EXPECT_EQ(0, Record(rec, "{\\rtf1 a\\page b}"));
    EXPECT_EQ((Events{"T2:a", "PB", "T0:b"}), rec.Events);
    RTFRecorder m;
    m.Markers = true;
    EXPECT_EQ(0, Record(m, "{\\rtf1 a\\par b}"));
    EXPECT_EQ((Events{"M", "T2:a", "M", "M", "T2:b", "M"}), m.Events);
}

TEST(RTFReaderEvents, ObjectsAndTheirResults) {
    RTFRecorder rec;
    rec.Objects = true;
    EXPECT_EQ(0, Record(rec, "{\\rtf1{\\object\\objemb{\\*\\objdata 0102}{\\result r}}x}"));
    EXPECT_EQ((Events{"O2:2", "T0:x"}), rec.Events);
    // Without an object handler the result is the content.
    EXPECT_EQ((Events{"T2:r", "T0:x"}), Ev("{\\rtf1{\\object\\objemb{\\*\\objdata 0102}{\\result r}}x}"));
}

TEST(RTFReaderEvents, StyleSheetEntries) {
    TRPRTFReader r;
    ReadRTF(r, "{\\rtf1{\\stylesheet{\\s0 Normal;}{\\s1\\sbasedon0\\snext0\\b Heading "
               "1;}{\\*\\cs10\\additive Default;}}x}");
    ASSERT_EQ(3u, r.StyleSheet().size());
    EXPECT_EQ("Normal", r.StyleSheet()[0].Name);
    EXPECT_EQ(1, r.StyleSheet()[1].Number);
    EXPECT_EQ(0, r.StyleSheet()[1].BasedOn);
    EXPECT_EQ("Heading 1", r.StyleSheet()[1].Name);
    EXPECT_EQ(1, r.StyleSheet()[2].Kind);
    EXPECT_TRUE(r.StyleSheet()[2].Additive);
}

TEST(RTFReaderEvents, ParagraphEndSeesTheLateProperties) {
    RTFRecorder rec;
    TRPRTFReader r;
    rec.Hook(r);
    r.OnParagraphEnd = [&](TRPRTFReader* s) {
        const TRPRTFParaProperties& pp = s->State().ParaProps;
        rec.Events.push_back("END:a" + std::to_string(pp.Alignment) + ",l" + std::to_string(pp.LeftIndent));
    };
    ASSERT_EQ(0, ReadRTF(r, "{\\rtf1 a\\qc\\li720\\par b\\line c\\pard\\par"
                            "\\trowd\\cellx100\\intbl x\\cell\\row}"));
    // None at a line break or a cell end.
    EXPECT_EQ((Events{"T2:a", "END:a2,l720", "T2:b", "T1:c", "END:a0,l0", "TS", "T2:x", "CE", "RE", "TE"}),
              rec.Events);
}

// A header's content is a text of its own: it starts a paragraph, its tables
// end with it, and the text around it goes on where it stood.
TEST(RTFReaderEvents, HeadersAndFootersStandApart) {
    RTFRecorder rec;
    TRPRTFReader r;
    rec.Hook(r);
    r.OnHeaderFooter = [&](TRPRTFReader*, TRPRTFHeaderFooterType t, bool starting) {
        rec.Events.push_back(std::string(t == rtfhfHeader ? "H" : "F") + (starting ? "+" : "-"));
    };
    ASSERT_EQ(0, ReadRTF(r, "{\\rtf1 a{\\header\\trowd\\cellx100\\intbl h\\cell\\row}b\\par"
                            "{\\footer f\\footer g{\\footer h}}c}"));
    // A footer word inside the footer adds nothing: only the group that started it ends it.
    EXPECT_EQ(
        (Events{"T2:a", "H+", "TS", "T2:h", "CE", "RE", "TE", "H-", "T0:b", "F+", "T2:fgh", "F-", "T2:c"}),
        rec.Events);
}

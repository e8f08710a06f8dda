#pragma once
// The benchmark document: about 5 MB of RTF in the style of the program's
// pages and of word processors' output (text in several fonts and code pages,
// styles, numbered and bulleted lists, pictures).
#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFReaderProperties.h"

#include <QBuffer>
#include <QImage>
#include <string>

namespace {

// A document with its own style component and the view's RTF options.
class TBenchDoc : public TCustomRPData {
public:
    ~TBenchDoc() override { Clear(); }
    mutable TRPStyle Style;
    TRPStyle* GetRPStyle() const override { return &Style; }
    TRPRTFOptions GetRTFOptions() const override {
        return rprtfDuplicateUnicode | rprtfSaveEMFAsWMF | rprtfSaveJpegAsJpeg;
    }
};

inline std::string PngHex() {
    QImage img(48, 32, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(x * 5, y * 7, (x * y) & 0xFF));
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return png.toHex().toStdString();
}

// A document in the style of the program's pages and of word processors' output.
inline const std::string& Document() {
    static const std::string doc = [] {
        std::string s =
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
            "{\\f1\\froman\\fcharset0 Times New Roman;}{\\f2\\fcharset2 Symbol;}{\\f3\\fcharset204 Tahoma "
            "CYR;}}"
            "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;\\red0\\green0\\blue255;}"
            "{\\stylesheet{\\s0 Normal;}{\\s1\\b\\fs32 heading 1;}}"
            "{\\*\\listtable{\\list\\listid1{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}"
            "{\\levelnumbers\\'01;}\\fi-360\\li720\\tx720}{\\listlevel\\levelnfc4\\levelstartat1"
            "{\\leveltext\\'02\\'01);}{\\levelnumbers\\'01;}\\fi-360\\li1440\\tx1440}}"
            "{\\list\\listid2{\\listlevel\\levelnfc23\\f2{\\leveltext\\'01\\u-3913 "
            "?;}\\fi-360\\li720\\tx720}}}"
            "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}{\\listoverride\\listid2\\ls2}}\n";
        const std::string png = PngHex();
        int n = 0;
        while (s.size() < 5 * 1024 * 1024) {
            ++n;
            s += "\\pard\\plain\\s1\\sb240\\sa120\\b\\fs32 Abschnitt " + std::to_string(n) + "\\par\n";
            s += "\\pard\\plain\\f1\\fs24\\qj Die Zahl {\\b " + std::to_string(n * 37) +
                 "} ist {\\i gr\\'f6\\'dfer} als {\\cf1 " + std::to_string(n) +
                 "}. Ein Rechteck hat vier Ecken und vier Seiten; gegen\\'fcberliegende Seiten sind gleich "
                 "lang. \\u8364? 3,50 kostet das Heft, {\\ul unterstrichen} und {\\cf3\\strike durch} und "
                 "{\\f3 \\'cf\\'f0\\'e8\\'ec\\'e5\\'f0}.\\par\n";
            s +=
                "\\pard\\ls1\\ilvl0\\fi-360\\li720 erster Punkt der Liste\\par\n"
                "\\pard\\ls1\\ilvl1\\fi-360\\li1440 Unterpunkt mit {\\b fett}\\par\n"
                "\\pard\\ls2\\fi-360\\li720 Aufz\\'e4hlung\\tab mit Tabulator\\line und Zeilenumbruch\\par\n";
            if (n % 25 == 0)
                s += "\\pard\\qc{\\*\\shppict{\\pict\\pngblip\\picw48\\pich32\\picwgoal720\\pichgoal480 " +
                     png + "}}{\\nonshppict{\\pict\\wmetafile8\\picw48\\pich32 0100090000}}\\par\n";
        }
        s += "}";
        return s;
    }();
    return doc;
}

// RTF into a document with the settings of the view's import.
inline bool ReadInto(TCustomRPData& Doc, TRPRTFReaderProperties& Props, const std::string& rtf) {
    Props.UnicodeMode = rpruMixed;
    Props.TextStyleMode = rprsAddIfNeeded;
    Props.ParaStyleMode = rprsAddIfNeeded;
    QByteArray bytes = QByteArray::fromRawData(rtf.data(), static_cast<qsizetype>(rtf.size()));
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    return Props.ReadRTFStream(buf, &Doc) == 0;
}

} // namespace

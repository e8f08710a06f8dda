// The import's hooks for pictures (the replaceable graphic factory, the hook
// every read graphic passes, the document's own pictures of fields), the
// view's hyperlink events, and its header and footer documents.
#include "support/Corpus.h"
#include "RTFImportDoc.h"

#include "platform/Forms.h"
#include "platform/Pictures.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/view/RichPad.h"
#include "support/Readers.h"
#include "support/PlainPng.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::string PngHex(int W, int H) {
    return PlainPng(W, H, qRgb(255, 0, 0)).toHex().toStdString();
}

// A document that knows pictures of its own for field locations.
class TPictureDoc : public TImportDoc {
public:
    std::vector<std::string> Asked;
    std::string Known;
    TBitmap Picture{5, 4};
    TGraphic* DoImportPicture(const std::string& Location) override {
        Asked.push_back(Location);
        return Location.ends_with(Known) ? &Picture : nullptr;
    }
};

// Replaces the process-wide picture routines for one test.
struct TCountingPictureHooks {
    std::function<std::unique_ptr<TGraphic>(const QString&)> OldCreate = RPCreateGraphicProc;
    std::function<void(TGraphic*)> OldAfter = RPAfterImportGraphicProc;
    std::vector<std::string> Created, Read;

    TCountingPictureHooks() {
        RPCreateGraphicProc = [this](const QString& ClassName) {
            Created.push_back(ClassName.toStdString());
            return CreateGraphicOfClass(ClassName);
        };
        RPAfterImportGraphicProc = [this](TGraphic* G) {
            Read.push_back(G->ClassName().toStdString());
            G->SetTransparent(true);
        };
    }
    ~TCountingPictureHooks() {
        RPCreateGraphicProc = OldCreate;
        RPAfterImportGraphicProc = OldAfter;
    }
};

std::vector<const TRPGraphicItemInfo*> Pictures(const TCustomRPData& D) {
    std::vector<const TRPGraphicItemInfo*> out;
    for (int i = 0; i < D.GetItemCount(); ++i)
        if (const auto* g = dynamic_cast<const TRPGraphicItemInfo*>(D.GetItem(i))) out.push_back(g);
    return out;
}

// Every graphic the reader makes or is given passes the hook right before it
// becomes an item (so the item shows what the hook did); the copies of a
// loaded file, of the document's own picture and of the invalid-picture sign
// come from the graphic factory.
TEST(RTFImportHooks, ReadGraphicsPassTheHookAndCopiesComeFromTheFactory) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QImage(3, 3, QImage::Format_RGB32).save(dir.filePath("file.png"), "PNG"));
    TPictureDoc doc;
    doc.Known = "app.bmp";
    doc.Props.BasePath = dir.path().toStdString() + "/";
    TCountingPictureHooks hooks;
    ASSERT_EQ(0, doc.Import("{\\rtf1 a{\\pict\\pngblip " + PngHex(2, 2) +
                            "}{\\pict\\macpict 00}"
                            "{\\field{\\*\\fldinst INCLUDEPICTURE file.png}{\\fldrslt}}"
                            "{\\field{\\*\\fldinst INCLUDEPICTURE app.bmp}{\\fldrslt}}}"));
    EXPECT_EQ("a[pic][pic][pic][pic]", doc.PlainText());
    EXPECT_EQ((std::vector<std::string>{"TPngImage", "TPngImage", "TBitmap"}), hooks.Read);
    EXPECT_EQ((std::vector<std::string>{"TBitmap", "TPngImage", "TBitmap"}), hooks.Created);
    const auto pics = Pictures(doc);
    ASSERT_EQ(4u, pics.size());
    const std::vector<int> widths{2, 20, 3, 5};
    for (size_t i = 0; i < pics.size(); ++i) {
        ASSERT_TRUE(pics[i]->Image);
        EXPECT_EQ(widths[i], pics[i]->Image->Width()) << i;
        // The invalid-picture sign is the import's own, not read.
        EXPECT_EQ(i != 1, pics[i]->Image->Transparent()) << i;
    }
    // The document's picture stays its own.
    EXPECT_NE(&doc.Picture, pics[3]->Image.get());
    EXPECT_FALSE(doc.Picture.Transparent());
}

// The document is asked for a field's picture before the reader looks for a
// file, so that it can give pictures that are no files beside the RTF; what it
// does not give the reader still loads only from inside the base path.
TEST(RTFImportHooks, TheDocumentIsAskedForFieldPicturesFirst) {
    TPictureDoc doc;
    doc.Known = "https://example.org/bild.gif";
    ASSERT_EQ(0, doc.Import("{\\rtf1{\\field{\\*\\fldinst INCLUDEPICTURE \"https://example.org/bild.gif\" "
                            "\\\\d}{\\fldrslt alt}}"
                            "{\\field{\\*\\fldinst IMPORT /etc/passwd}{\\fldrslt rest}}}"));
    EXPECT_EQ((std::vector<std::string>{"https://example.org/bild.gif", "/etc/passwd"}), doc.Asked);
    EXPECT_EQ("[pic]altrest", doc.PlainText());
}

// Views that read links from RTF files as the log book is read, with a
// handler that keeps each link's target in its tag and its extras by target.
class RTFLinks : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    TRPStyle Style;
    TForm Form{nullptr};
    std::map<std::string, std::string> Extras;

    // A new view that has read Data; Got has "target|extras" of each link in
    // the order read.
    TRichPad* Read(const std::string& Data, std::vector<std::string>& Got) {
        auto* view = new TRichPad(&Form);
        view->SetParent(&Form);
        view->SetStyle(&Style);
        view->Options |= rpoTagsArePChars;
        view->GetRTFReadProperties()->TextStyleMode = rprsAddIfNeeded;
        view->OnReadHyperlink = [this, &Got](TCustomRichPad*, const std::string& Target,
                                             const std::string& Extras_, int, int&, TRPTag& Tag,
                                             std::string&) {
            Got.push_back(Target + "|" + Extras_);
            Extras[Target] = Extras_;
            Tag = TRPTag::FromText(Target);
        };
        const QString file = Dir.filePath("link.rtf");
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Data.data(), static_cast<qint64>(Data.size()));
        f.close();
        EXPECT_TRUE(view->LoadRTF(file.toStdString()));
        return view;
    }
    std::vector<std::string> Read(const std::string& Data) {
        std::vector<std::string> got;
        Read(Data, got);
        return got;
    }
    // The handler gives back the extras it got with each target; Offered has
    // "target|extras" of what the view offered it.
    void GiveBackExtras(TRichPad& View, std::vector<std::string>* Offered = nullptr) {
        View.OnWriteHyperlink = [this, Offered](TCustomRichPad*, int, TCustomRPData*, int, int,
                                                std::string& Target, std::string& Extras_) {
            if (Offered) Offered->push_back(Target + "|" + Extras_);
            Extras_ = Extras[Target];
        };
    }
    static std::string Written(TRichPad& View) {
        std::string rtf;
        EXPECT_TRUE(View.SaveRTFToStream(rtf, false));
        return rtf;
    }
};

// A view's handler of links read from RTF gets the switches after the target
// as the extras (of links on text and on pictures), the form the writer takes
// back: a link read and written again has its target and switches once, and
// reads back to the same.
TEST_F(RTFLinks, LinkExtrasAreTheSwitchesAfterTheTarget) {
    const std::string rtf =
        "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 Siehe {\\field{\\*\\fldinst HYPERLINK \"http://x.de/a\" "
        "\\\\o \"Tip\"}{\\fldrslt Seite}} und {\\field{\\*\\fldinst {HYPERLINK }{b.htm \\\\t "
        "\"_blank\"}}{\\fldrslt{\\pict\\pngblip 00}}}.\\par}";
    std::vector<std::string> got;
    TRichPad* view = Read(rtf, got);
    const std::vector<std::string> want{"http://x.de/a|\\o \"Tip\"", "b.htm|\\t \"_blank\""};
    EXPECT_EQ(got, want);

    // The handler gives back what it got; the hint alone would give the \\o.
    std::vector<std::string> offered;
    GiveBackExtras(*view, &offered);
    const std::string written = Written(*view);
    EXPECT_EQ(offered, (std::vector<std::string>{"http://x.de/a|\\o \"Tip\"", "b.htm|"}));
    EXPECT_NE(written.find("{\\field{\\*\\fldinst HYPERLINK \"http://x.de/a\" \\\\o \"Tip\"}{\\fldrslt"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("{\\field{\\*\\fldinst HYPERLINK \"b.htm\" \\\\t \"_blank\"}{\\fldrslt"),
              std::string::npos)
        << written;
    EXPECT_EQ(QString::fromStdString(written).count("HYPERLINK"), 2);
    EXPECT_EQ(QString::fromStdString(written).count("Tip"), 1);
    EXPECT_EQ(Read(written), want);
}

// A link to a place in the document, as other word processors write it
// (HYPERLINK \l "mark"), reaches the handler with the place as its target
// and the \l as its extras, and is written back with the \l before the
// target: it still points into the document. A file with a place in it and
// an address keep their form; read and written twice, all stays the same,
// and LibreOffice follows the written links where they point.
TEST_F(RTFLinks, LinksIntoTheDocumentKeepTheirLocationSwitch) {
    const std::string rtf =
        "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 {\\field{\\*\\fldinst HYPERLINK \\\\l \"bookmark_1\"}{\\fldrslt "
        "Anfang}}, {\\field{\\*\\fldinst HYPERLINK \"seite.htm\" \\\\l \"mark\"}{\\fldrslt Seite}}, "
        "{\\field{\\*\\fldinst HYPERLINK \\\\l \"oben\" \\\\o \"Tip\"}{\\fldrslt Oben}}, "
        "{\\field{\\*\\fldinst HYPERLINK \"http://x.de/a\"}{\\fldrslt Netz}}\\par}";
    const std::vector<std::string> want{"bookmark_1|\\l", "seite.htm|\\l \"mark\"", "oben|\\l \\o \"Tip\"",
                                        "http://x.de/a|"};
    std::vector<std::string> got;
    TRichPad* view = Read(rtf, got);
    EXPECT_EQ(got, want);
    GiveBackExtras(*view);
    const std::string once = Written(*view);
    for (const char* field : {"{\\field{\\*\\fldinst HYPERLINK \\\\l \"bookmark_1\"}{\\fldrslt",
                              "{\\field{\\*\\fldinst HYPERLINK \"seite.htm\" \\\\l \"mark\"}{\\fldrslt",
                              "{\\field{\\*\\fldinst HYPERLINK \\\\l \"oben\" \\\\o \"Tip\"}{\\fldrslt",
                              "{\\field{\\*\\fldinst HYPERLINK \"http://x.de/a\"}{\\fldrslt"})
        EXPECT_NE(once.find(field), std::string::npos) << field << "\n" << once;
    got.clear();
    TRichPad* again = Read(once, got);
    EXPECT_EQ(got, want);
    GiveBackExtras(*again);
    EXPECT_EQ(Written(*again), once);

    // A base path goes before files only, not before places in the document.
    TImportDoc doc;
    doc.Props.BasePath = "/basis/";
    ASSERT_EQ(doc.Import(rtf), 0);
    ASSERT_EQ(doc.Links.size(), 4u);
    EXPECT_EQ(doc.Links[0].substr(0, doc.Links[0].find('|')), "bookmark_1");
    EXPECT_EQ(doc.Links[1].substr(0, doc.Links[1].find('|')), "/basis/seite.htm");

    QFile f(Dir.filePath("ours.rtf"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(once.data(), static_cast<qint64>(once.size()));
    f.close();
    const QStringList args{"-env:UserInstallation=file://" + Dir.filePath("profile"),
                           "--headless",
                           "--convert-to",
                           "html",
                           "--outdir",
                           Dir.filePath("out"),
                           Dir.filePath("ours.rtf")};
    const QString error = RunReader("soffice", args, nullptr, nullptr, 180000);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    QFile html(Dir.filePath("out/ours.html"));
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    const QString theirs = QString::fromUtf8(html.readAll());
    EXPECT_TRUE(theirs.contains("href=\"#bookmark_1\"")) << theirs.toStdString();
    EXPECT_TRUE(theirs.contains("href=\"#oben\"")) << theirs.toStdString();
    EXPECT_TRUE(theirs.contains(QRegularExpression("href=\"[^\"]*seite\\.htm#mark\"")))
        << theirs.toStdString();
    EXPECT_TRUE(theirs.contains("href=\"http://x.de/a\"")) << theirs.toStdString();
}

// A header and a footer go to the documents given for them, with the styles
// of those documents' style components; a table that ends with the header
// stays in it. The main document keeps the body alone.
TEST(RTFImportHeaderFooter, HeaderAndFooterGoToTheirDocuments) {
    const std::string rtf =
        "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\headery567\\footery1134\\f0"
        "{\\header\\pard\\qc Kopf\\par\\trowd\\cellx2000\\cellx4000\\intbl A\\cell B\\cell\\row}"
        "{\\footer\\pard Fu\\'df {\\b fett}\\par}"
        "\\pard Text\\par}";
    TImportDoc doc, header, footer;
    for (TImportDoc* d : {&doc, &header, &footer}) {
        d->Props.TextStyleMode = rprsAddIfNeeded;
        d->Props.ParaStyleMode = rprsAddIfNeeded;
    }
    header.AddText("alt", 0, 0);
    doc.Props.HeaderRPData = &header;
    doc.Props.FooterRPData = &footer;
    ASSERT_EQ(0, doc.Import(rtf));
    EXPECT_EQ("Text", doc.PlainText());
    EXPECT_EQ("Kopf\nA|B|\n", header.PlainText());
    EXPECT_EQ("Fu\xC3\x9F fett", footer.PlainText());
    EXPECT_EQ(10, doc.Props.HeaderYMM());
    EXPECT_EQ(20, doc.Props.FooterYMM());
    ASSERT_EQ(2, footer.GetItemCount());
    EXPECT_TRUE(footer.Style.TextStyles().GetItem(footer.GetItemStyle(1))->Style & fsBold);
    TImportDoc bodyOnly;
    bodyOnly.Props.TextStyleMode = bodyOnly.Props.ParaStyleMode = rprsAddIfNeeded;
    ASSERT_EQ(0, bodyOnly.Import("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\pard Text\\par}"));
    EXPECT_EQ(bodyOnly.Style.TextStyles().Count(), doc.Style.TextStyles().Count());
    EXPECT_EQ(bodyOnly.Style.ParaStyles().Count(), doc.Style.ParaStyles().Count());
    EXPECT_EQ(rpaCenter, header.Style.ParaStyles().GetItem(header.GetItemPara(0))->Alignment);

    // A footer without a document is left out. The header document shows the
    // last import's header: none for a file without one.
    TImportDoc only, headerOnly;
    only.Props.HeaderRPData = &headerOnly;
    ASSERT_EQ(0, only.Import(rtf));
    EXPECT_EQ("Text", only.PlainText());
    EXPECT_EQ("Kopf\nA|B|\n", headerOnly.PlainText());
    EXPECT_EQ(-1, only.Props.FooterYMM());
    ASSERT_EQ(0, only.Import("{\\rtf1 x}"));
    EXPECT_EQ("", headerOnly.PlainText());
    EXPECT_EQ(-1, only.Props.HeaderYMM());
}

// A report of a PHP library: the header holds a line and a table of three
// cells, the body a long paragraph.
TEST(RTFImportHeaderFooter, CorpusHeaderWithATable) {
    const QString path = CorpusRtfDir() + "/rtfpipe/phprtflite/table_in_header.rtf";
    if (!QFileInfo(path).isFile()) GTEST_SKIP() << "no corpus file " << path.toStdString();
    TImportDoc doc, header;
    doc.Props.HeaderRPData = &header;
    ASSERT_EQ(0, doc.Props.ReadRTFFile(path.toStdString(), &doc));
    const std::string head = header.PlainText();
    EXPECT_EQ(0u, head.find("PHPRtfLite class library. This is page - "));
    EXPECT_NE(std::string::npos,
              head.find("\nCell with left alignment|Cell with center alignment|Cell with right alignment|\n"
                        "\n\nText after table"))
        << head;
    const std::string body = doc.PlainText();
    EXPECT_EQ(std::string::npos, body.find("PHPRtfLite")) << body;
    EXPECT_EQ(std::string::npos, body.find("Cell with")) << body;
    EXPECT_NE(std::string::npos, body.find("Text with hyphenation activated:")) << body;
    EXPECT_EQ(13, doc.Props.HeaderYMM());
}

} // namespace

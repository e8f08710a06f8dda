// The writers ask the view through its events: extra RTF and HTML code, link
// targets, the application's own text for items and controls, and pictures
// the application places itself. A handler's answer changes the output; no
// handler leaves the writers' own output.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "ViewTestDoc.h"
#include "platform/Forms.h"
#include "platform/Pictures.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPWriterTypes.h"
#include "support/Readers.h"

namespace {

bool Has(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

class WriterEvents : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        View->Options |= rpoTagsArePChars;
        View->AddText("Logbuch ", 0, 0);
        View->RPData()->AddTextTag("Z\xE4hler", 2, -1, TRPTag::FromText("http://example.org/a?b=1&c=2"));
        View->GetItem(1)->Hint = "Zum \"Z\xE4hler\"";
        View->AddText("Ende", 1, 0);
    }
    QTemporaryDir Dir;
    std::string Folder() const { return Dir.path().toStdString() + "/"; }

    std::string RTF() {
        std::string s;
        EXPECT_TRUE(View->SaveRTFToStream(s, false));
        return s;
    }
    std::string HTML(bool CSS, TRPHTMLSaveOptions Options = 0) {
        std::string s;
        int n = 0;
        TColor current = clNone;
        TCustomRPData* d = View->RPData();
        if (CSS)
            EXPECT_TRUE(d->SaveHTMLWithCSSToStream(s, Folder(), "T", "bild", "", "", "", Options, clNone, current, n,
                                                   0, 0, 0, 0, View->Background.get(), nullptr));
        else
            EXPECT_TRUE(d->SaveHTMLToStream(s, Folder(), "T", "bild", Options, clNone, n, 0, 0, 0, 0,
                                            View->Background.get(), nullptr));
        return s;
    }
    std::string Text() {
        std::string s;
        EXPECT_TRUE(View->SaveTextToStream(Folder(), s, 10, false, false));
        return s;
    }
    void Write(const QString& Name, const std::string& Data) {
        QFile f(Dir.filePath(Name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Data.data(), static_cast<qint64>(Data.size()));
    }
    QString Read(const QString& Name) {
        QFile f(Dir.filePath(Name));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<missing>");
    }
};

} // namespace

TEST_F(WriterEvents, RTFExtrasGoIntoStylesParagraphsAndTheHeader) {
    const std::string plain = RTF();
    std::vector<std::string> calls;
    View->OnSaveRTFExtra = [&](TCustomRichPad* Sender, int Area, void* Obj, int Index1, int Index2, bool InStyleSheet,
                               std::string& Code) {
        EXPECT_EQ(Sender, View);
        EXPECT_EQ(Code, ""); // arrives empty
        calls.push_back(std::to_string(Area) + ":" + std::to_string(Index1) + ":" + std::to_string(Index2) +
                        (InStyleSheet ? "s" : "") + (Obj ? "o" : ""));
        if (Area == 0 && Index1 == 1) Code = "\\ul";
        if (Area == 1) Code = "\\keepn";
        if (Area == 4) Code = "{\\info{\\title Logbuch}}";
    };
    const std::string rtf = RTF();
    EXPECT_EQ(calls, (std::vector<std::string>{"4:-1:-1", "1:0:-1o", "0:0:-1o", "0:2:-1o", "1:0:-1o", "0:1:-1o"}));
    EXPECT_TRUE(Has(rtf, "}\r\n{\\info{\\title Logbuch}}\r\n\\uc1"));
    EXPECT_TRUE(Has(rtf, "\\itap0\\keepn \\plain \\f0\\fs30 Logbuch "));
    EXPECT_TRUE(Has(rtf, "\\fs60\\ul Ende"));
    // Handlers that answer nothing leave the writer's own output.
    View->OnSaveRTFExtra = [](TCustomRichPad*, int, void*, int, int, bool, std::string&) {};
    EXPECT_EQ(WithoutListIds(RTF()), WithoutListIds(plain));
}

TEST_F(WriterEvents, LinksTakeTheTagAndHintOrWhatTheHandlerSays) {
    // Without a handler: the string tag is the target and the hint a switch
    // or a title. Quotes in the hint become apostrophes.
    EXPECT_TRUE(Has(RTF(), "{\\field{\\*\\fldinst HYPERLINK \"http://example.org/a?b=1&c=2\" \\\\o \"Zum "
                           "'Z\\'e4hler'\"}{\\fldrslt\\plain \\f0\\ul\\fs30\\cf2 Z\\'e4hler}}"));
    EXPECT_TRUE(Has(HTML(false), "<A href=\"http://example.org/a?b=1&amp;c=2\" title=\"Zum 'Z&#228;hler'\">"));
    EXPECT_TRUE(Has(HTML(true), "<A class=RPTS2 href=\"http://example.org/a?b=1&amp;c=2\" title=\"Zum 'Z&#228;hler'\">"));

    // Our own reader takes target and hint back unchanged.
    const std::string rtf = RTF();
    Write("link.rtf", rtf);
    TRichPad back(Form.get());
    back.SetStyle(Style.get());
    std::string target;
    back.OnReadHyperlink = [&](TCustomRichPad*, const std::string& Target, const std::string&, int, int&, TRPTag&,
                               std::string&) { target = Target; };
    ASSERT_TRUE(back.LoadRTF(Dir.filePath("link.rtf").toStdString()));
    EXPECT_EQ(target, "http://example.org/a?b=1&c=2");
    int linkItem = -1;
    for (int i = 0; i < back.ItemCount(); ++i)
        if (back.GetItemText(i) == "Z\xE4hler") linkItem = i;
    ASSERT_GE(linkItem, 0);
    EXPECT_EQ(back.GetItem(linkItem)->Hint, "Zum 'Z\xE4hler'");

    std::vector<std::string> calls;
    View->OnWriteHyperlink = [&](TCustomRichPad*, int id, TCustomRPData* RPData, int ItemNo, int SaveFormat,
                                 std::string& Target, std::string& Extras) {
        EXPECT_EQ(RPData, View->RPData());
        calls.push_back(std::to_string(id) + ":" + std::to_string(ItemNo) + ":" + std::to_string(SaveFormat) + ":" +
                        Target + ":" + Extras);
        Target = "seite2.rtf";
        Extras = SaveFormat == rpsfHTML ? "target=_blank" : "";
    };
    View->SetFirstJumpNo(5);
    EXPECT_TRUE(Has(RTF(), "{\\field{\\*\\fldinst HYPERLINK \"seite2.rtf\"}{\\fldrslt"));
    EXPECT_TRUE(Has(HTML(false), "<A href=\"seite2.rtf\" target=_blank>"));
    EXPECT_EQ(calls, (std::vector<std::string>{
                         "5:1:2:http://example.org/a?b=1&c=2:\\o \"Zum 'Z\xE4hler'\"",
                         "5:1:1:http://example.org/a?b=1&c=2:title=\"Zum 'Z\xE4hler'\"",
                     }));

    // A link the handler empties is written as plain text.
    View->OnWriteHyperlink = [](TCustomRichPad*, int, TCustomRPData*, int, int, std::string& Target,
                                std::string& Extras) { Target.clear(), Extras.clear(); };
    const std::string none = RTF();
    EXPECT_FALSE(Has(none, "HYPERLINK"));
    EXPECT_TRUE(Has(none, "Logbuch \\plain \\f0\\ul\\fs30\\cf2 Z\\'e4hler\r\n"));
    EXPECT_FALSE(Has(HTML(true), "<A "));

    // A document that is not the view's main one does not ask the view.
    calls.clear();
    View->OnWriteHyperlink = [&](TCustomRichPad*, int, TCustomRPData*, int, int, std::string&, std::string&) {
        calls.push_back("asked");
    };
    View->DocFlags &= ~rpflMainDocument;
    EXPECT_FALSE(Has(RTF(), "HYPERLINK"));
    EXPECT_TRUE(calls.empty());
}

TEST_F(WriterEvents, HTMLExtrasAndParagraphCodeStandWhereTheyBelong) {
    View->OnSaveHTMLExtra = [](TCustomRichPad*, int Area, bool CSS, std::string& Code) {
        EXPECT_EQ(Code, "");
        const char* areas[] = {"<META name=\"generator\" content=\"Pravolin\">", "class=logbuch",
                               "<P>Kopf</P>", "<P>Fuss</P>"};
        Code = std::string(areas[Area]) + (CSS && Area == 0 ? "<!--css-->" : "");
    };
    std::vector<std::string> paras;
    View->OnSaveParaHTMLCode = [&](TCustomRichPad*, TCustomRPData*, int ItemNo, bool ParaStart, bool,
                                   std::string& Code) {
        paras.push_back(std::to_string(ItemNo) + (ParaStart ? "<" : ">"));
        Code = ParaStart ? "<!--auf-->" : "<!--zu-->";
    };
    const std::string classic = HTML(false);
    EXPECT_TRUE(Has(classic, "<META name=\"generator\" content=\"Pravolin\"></HEAD>\r\n<BODY class=logbuch leftmargin=0 "
                             "topmargin=0 rightmargin=0 bottommargin=0>\r\n<P>Kopf</P>"));
    EXPECT_TRUE(Has(classic, "<P>Fuss</P></BODY></HTML>\r\n"));
    EXPECT_TRUE(Has(classic, "<!--auf--><DIV>"));
    EXPECT_TRUE(Has(classic, "</DIV>\r\n<!--zu-->"));
    EXPECT_EQ(paras, (std::vector<std::string>{"0<", "2>", "2<", "3>"}));
    const std::string css = HTML(true);
    EXPECT_TRUE(Has(css, "<!--css--></HEAD>\r\n<BODY class=logbuch>\r\n<P>Kopf</P>"));
    EXPECT_TRUE(Has(css, "<!--auf--><P>"));

    // xmllint reads both pages with the extra text in their bodies.
    Write("classic.html", classic);
    Write("css.html", css);
    QByteArray out, err;
    const QString error =
        RunReader(QStringLiteral("xmllint"),
                  {"--html", "--xpath", "concat(normalize-space(/html/body), '|', /html/head/meta/@content, '@')",
                   Dir.filePath("classic.html"), Dir.filePath("css.html")},
                  &out, &err, 60000);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(err.toStdString(), "");
    // The blank at the end of "Logbuch " is written as a non-breaking one.
    EXPECT_EQ(QString::fromUtf8(out).toStdString(), "Kopf Logbuch\u00A0Z\u00E4hler Ende Fuss|Pravolin@\n"
                                                    "Kopf Logbuch\u00A0Z\u00E4hler Ende Fuss|Pravolin@\n");
}

TEST_F(WriterEvents, TheApplicationSuppliesTheTextOfItemsAndControls) {
    auto item = std::make_unique<TRPControlItemInfo>(View->RPData());
    item->StyleNo = rpsnControl;
    item->Control = std::make_unique<TControl>(nullptr);
    TControl* control = item->Control.get();
    View->RPData()->AddItem("knopf", std::move(item));

    std::vector<std::string> controls;
    View->OnSaveComponentToFile = [&](TCustomRichPad*, const std::string& Path, TControl* SaveMe, int SaveFormat,
                                      std::string& Out) {
        EXPECT_EQ(SaveMe, control);
        EXPECT_EQ(Out, "");
        controls.push_back(std::to_string(SaveFormat) + ":" + Path);
        Out = SaveFormat == rpsfRTF ? "{\\b Knopf}" : SaveFormat == rpsfHTML ? "<B>Knopf</B>" : "[Knopf]";
    };
    std::vector<std::string> items;
    View->OnSaveItemToFile = [&](TCustomRichPad*, const std::string& Path, TCustomRPData*, int ItemNo, int SaveFormat,
                                 bool Unicode, std::string& Out, bool& DoDefault) {
        EXPECT_TRUE(DoDefault);
        items.push_back(std::to_string(ItemNo) + ":" + std::to_string(SaveFormat) + ":" + Path +
                        (Unicode ? ":u" : ""));
        // The application writes item 2 itself; for the others it only leaves text behind, which is not used.
        Out = "ignored";
        if (ItemNo == 2) {
            Out = SaveFormat == rpsfRTF    ? "{\\i Schluss}"
                  : SaveFormat == rpsfHTML ? "<I>Schluss</I>"
                  : Unicode                ? std::string("S\0c\0h\0l\0u\0\xDF\0", 12)
                                           : "Schlu\xDF";
            DoDefault = false;
        }
    };

    const std::string rtf = RTF();
    EXPECT_TRUE(Has(rtf, "\\fs60 {\\i Schluss}"));
    EXPECT_TRUE(Has(rtf, "{\\b Knopf}"));
    EXPECT_TRUE(Has(rtf, "Logbuch "));
    EXPECT_FALSE(Has(rtf, "ignored"));
    EXPECT_EQ(items, (std::vector<std::string>{"0:2:", "1:2:", "2:2:", "3:2:"}));
    EXPECT_EQ(controls, (std::vector<std::string>{"2:"}));

    items.clear(), controls.clear();
    const std::string html = HTML(false);
    EXPECT_TRUE(Has(html, "<I>Schluss</I>"));
    EXPECT_TRUE(Has(html, "<B>Knopf</B>"));
    EXPECT_FALSE(Has(html, "Ende"));
    EXPECT_EQ(items, (std::vector<std::string>{"0:1:" + Folder(), "1:1:" + Folder(), "2:1:" + Folder(),
                                               "3:1:" + Folder()}));
    EXPECT_EQ(controls, (std::vector<std::string>{"1:" + Folder()}));

    // Plain text: the supplied text is written as it is, in 8 bits and in UTF-16 alike.
    items.clear(), controls.clear();
    EXPECT_EQ(Text(), "Logbuch Z\xE4hler\r\nSchlu\xDF\r\n[Knopf]");
    std::string wide;
    ASSERT_TRUE(View->SaveTextToStreamW(Folder(), wide, 10, false, false));
    const QString ours = QStringLiteral("Logbuch Z\u00E4hler\r\nSchlu\u00DF\r\n[Knopf]");
    EXPECT_EQ(wide, std::string(reinterpret_cast<const char*>(ours.utf16()), size_t(ours.size()) * 2));
    EXPECT_EQ(items.back(), "3:0:" + Folder() + ":u");
    EXPECT_EQ(controls, (std::vector<std::string>{"0:" + Folder(), "0:" + Folder()}));
}

TEST_F(WriterEvents, TheApplicationPlacesPicturesItself) {
    View->AddPicture("bild", SolidPicture(4, 3, clRed), 0, 0);
    View->Background->AssignImage(SolidPicture(2, 2, clBlue).release(), View->RPData(), false);
    View->SetBackgroundStyle(bsTiled);
    const QStringList before = QDir(Dir.path()).entryList(QDir::Files);

    std::vector<std::string> asked;
    View->OnHTMLSaveImage = [&](TCustomRichPad*, TCustomRPData* RPData, int ItemNo, const std::string& Path,
                                TColor Back, std::string& Location, bool& DoDefault) {
        EXPECT_EQ(RPData, View->RPData());
        EXPECT_EQ(Location, "");
        EXPECT_TRUE(DoDefault);
        asked.push_back(std::to_string(ItemNo) + ":" + Path + ":" + std::to_string(Back));
        Location = ItemNo < 0 ? "muster/hintergrund.png" : "muster/bild.png";
        DoDefault = false;
    };
    const std::string html = HTML(false);
    EXPECT_TRUE(Has(html, "<BODY background=\"muster/hintergrund.png\" bgproperties=fixed leftmargin"));
    EXPECT_TRUE(Has(html, "<IMG src=\"muster/bild.png\">"));
    EXPECT_EQ(asked, (std::vector<std::string>{"-1:" + Folder() + ":" + std::to_string(clNone),
                                               "3:" + Folder() + ":" + std::to_string(clNone)}));
    // Nothing was written by the writer.
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), before);

    // Handled one level lower: the application writes the file, the counter stays its own.
    View->OnHTMLSaveImage = nullptr;
    std::vector<std::string> written;
    View->OnSaveImage2 = [&](TCustomRichPad*, const TGraphic* Graphic, int SaveFormat, const std::string& Path,
                             const std::string& Prefix, int SaveNo, std::string& Location, bool& DoDefault) {
        EXPECT_TRUE(DoDefault);
        written.push_back(std::to_string(Graphic->Width()) + "x" + std::to_string(Graphic->Height()) + ":" +
                          std::to_string(SaveFormat) + ":" + Path + ":" + Prefix + ":" + std::to_string(SaveNo));
        Location = Prefix + "eigen" + std::to_string(Graphic->Width()) + ".png";
        DoDefault = false;
    };
    const std::string css = HTML(true);
    EXPECT_TRUE(Has(css, "  background-image: url(\"bildeigen2.png\");"));
    EXPECT_TRUE(Has(css, "<IMG src=\"bildeigen4.png\">"));
    EXPECT_EQ(written, (std::vector<std::string>{"2x2:1:" + Folder() + ":bild:0", "4x3:1:" + Folder() + ":bild:0"}));
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), before);
    // The view's own picture saving asks the same event and keeps its counter.
    View->HTMLImagesPrefix = "p";
    View->HTMLImageSaveNo = 7;
    EXPECT_EQ(View->SaveImageForHTML(View->BackgroundBitmap(), rpsfHTML, Folder(), clWhite), "peigen2.png");
    EXPECT_EQ(View->HTMLImageSaveNo, 7);
    EXPECT_EQ(written.back(), "2x2:1:" + Folder() + ":p:7");

    // A handler that leaves DoDefault set lets the writer save the file.
    View->OnSaveImage2 = [](TCustomRichPad*, const TGraphic*, int, const std::string&, const std::string&, int,
                            std::string& Location, bool&) { Location = "unused.png"; };
    EXPECT_EQ(View->SaveImageForHTML(View->BackgroundBitmap(), rpsfHTML, Folder(), clWhite), "p8.jpg");
    EXPECT_TRUE(QFile::exists(Dir.filePath(QStringLiteral("p8.jpg"))));
}

// LibreOffice reads an RTF that every RTF event had a hand in.
TEST_F(WriterEvents, LibreOfficeReadsTheChangedRTF) {
    auto item = std::make_unique<TRPControlItemInfo>(View->RPData());
    item->StyleNo = rpsnControl;
    item->Control = std::make_unique<TControl>(nullptr);
    View->RPData()->AddItem("knopf", std::move(item));
    View->OnSaveRTFExtra = [](TCustomRichPad*, int Area, void*, int Index1, int, bool, std::string& Code) {
        if (Area == 0 && Index1 == 1) Code = "\\ul";
        if (Area == 4) Code = "{\\info{\\title Logbuch}}";
    };
    View->OnWriteHyperlink = [](TCustomRichPad*, int, TCustomRPData*, int, int, std::string& Target, std::string&) {
        Target += "&d=\xE4";
    };
    View->OnSaveItemToFile = [](TCustomRichPad*, const std::string&, TCustomRPData*, int ItemNo, int, bool,
                                std::string& Out, bool& DoDefault) {
        if (ItemNo != 2) return;
        Out = "{\\i Schluss}";
        DoDefault = false;
    };
    View->OnSaveComponentToFile = [](TCustomRichPad*, const std::string&, TControl*, int, std::string& Out) {
        Out = "{\\b Knopf}";
    };
    Write("all.rtf", RTF());
    const QStringList args{"-env:UserInstallation=file://" + Dir.filePath(QStringLiteral("profile")),
                           "--headless",
                           "--convert-to",
                           "html:XHTML Writer File:UTF8",
                           "--outdir",
                           Dir.filePath(QStringLiteral("out")),
                           Dir.filePath(QStringLiteral("all.rtf"))};
    const QString error = RunReader(QStringLiteral("soffice"), args, nullptr, nullptr, 120000);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    const QString theirs = Read(QStringLiteral("out/all.html"));
    EXPECT_TRUE(theirs.contains(QStringLiteral(">Logbuch</title>")));
    EXPECT_TRUE(theirs.contains(QStringLiteral("href=\"http://example.org/a?b=1&amp;c=2&amp;d=\u00E4\"")));
    // "Schluss" is italic by the application's text and underlined by the extra code of its style.
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("\\.(T\\d+) \\{[^}]*font-style:italic;[^}]*underline")).match(theirs);
    ASSERT_TRUE(m.hasMatch()) << theirs.toStdString();
    EXPECT_TRUE(theirs.contains("<span class=\"" + m.captured(1) + "\">Schluss</span>"));
    EXPECT_TRUE(theirs.contains(QStringLiteral(">Knopf</span>")));
}

// Insertion at the caret: text, Unicode text, pictures, RTF; paste by
// format preference; the input method; drops; the HTML clipboard header;
// the picture resizer.
#include <gtest/gtest.h>

#include <random>

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWidget>

#include "EditTestSupport.h"
#include "platform/Keys.h"
#include "platform/Pictures.h"
#include "richtext/edit/RPClipHTML.h"
#include "richtext/edit/RPResizer.h"
#include "richtext/model/RPClipFormats.h"
#include "richtext/model/RPDrawLines.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/rtf/RPRTFReaderProperties.h"
#include "support/MetafileBuilder.h"

namespace {

std::unique_ptr<TGraphic> Picture(int W, int H) {
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(Qt::blue);
    return std::make_unique<TBitmap>(image);
}

// A drop as the window system hands it to the control.
void Deliver(TEditFixture& f, QDropEvent& Event) {
    static_cast<TControl*>(f.Edit)->HandleEvent(&Event);
}

std::string W(const QString& s) {
    return QStringToItemText(s, rpioUnicode, 0);
}

} // namespace

TEST(EditInsert, TextSplitsParagraphsAndExpandsTabs) {
    TEditFixture f;
    f.Load("abcd\nende");
    f.Caret(0, 3);
    f.Edit->InsertText("X\r\nY");
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"abX\"\nP s0 p0 \"Ycd\"\nP s0 p0 \"ende\"\n");
    EXPECT_EQ(f.CaretPos(), "1:2");
    f.Edit->InsertText("\t");
    EXPECT_EQ(PlainText(*f.Data()), "abX\nY        cd\nende");
    f.Edit->Undo();
    f.Edit->Undo();
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"abcd\"\nP s0 p0 \"ende\"\n");
}

TEST(EditInsert, UnicodeTextBreaksLinesParagraphsAndPages) {
    TEditFixture f;
    f.Load("ab");
    f.Caret(0, 2);
    f.Edit->InsertTextW(W(QStringLiteral("1\u20282\u20293\f4")));
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"a1\"\nB s0 p0 \"2\"\nP s0 p0 \"3\"\nP s0 p0 \"4b\"\n");
    EXPECT_TRUE(f.Data()->GetItem(3)->GetPageBreakBefore());
    EXPECT_THROW(f.Edit->InsertTextW(std::string("abc")), ERichPadError);
    // A form feed at the start of a piece makes no empty paragraph.
    f.Load("");
    f.Edit->InsertTextW(W(QStringLiteral("x\n\fy")));
    EXPECT_EQ(PlainText(*f.Data()), "x\ny");
    EXPECT_TRUE(f.Data()->GetItem(1)->GetPageBreakBefore());
}

// Items whose paragraph starts on a new page, as "1 3".
std::string PageBreaks(const TCustomRPData& D) {
    std::string s;
    for (int i = 0; i < D.GetItemCount(); ++i)
        if (D.GetItem(i)->GetPageBreakBefore()) s += (s.empty() ? "" : " ") + std::to_string(i);
    return s;
}

TEST(EditInsert, TextFilesCutLinesAtFormFeedsWhateverTheirCodePage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Plain ASCII, the Windows code page and UTF-8 read alike: every line
    // after the first starts a paragraph, a form feed cuts its line and what
    // follows starts a new page; a form feed at a line's start makes no empty
    // paragraph, nor does the line end at the file's end.
    const std::vector<std::pair<QByteArray, std::string>> files = {
        {QByteArray("eins\fzwei\r\ndr\0ei\n\fvier\r\n", 24), "Xeins\nzwei\ndr?ei\nvierY|1 3"},
        {QByteArray("Stra\xDF"
                    "e\fende"),
         "XStraße\nendeY|1"},
        {QByteArray("Gr\xC3\xBC\xC3\x9F"
                    "e\f\tx"),
         "XGrüße\n        xY|1"},
    };
    for (const auto& [bytes, expected] : files) {
        const QString path = dir.filePath(QStringLiteral("notiz.txt"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        TEditFixture f;
        f.Load("XY");
        f.Caret(0, 2);
        EXPECT_TRUE(f.Edit->InsertTextFromFile(path.toStdString()));
        EXPECT_EQ(PlainText(*f.Data()) + "|" + PageBreaks(*f.Data()), expected);
        EXPECT_EQ(f.Data()->GetItemStyle(0), 0);
        f.Edit->Undo();
        EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"XY\"\n");
    }
    TEditFixture f;
    f.Load("XY");
    EXPECT_FALSE(f.Edit->InsertTextFromFile(dir.filePath(QStringLiteral("fehlt.txt")).toStdString()));
    EXPECT_EQ(f.Edit->UndoAction(), 0);
}

TEST(EditInsert, APictureInAWordSplitsIt) {
    TEditFixture f;
    f.Load("abcdef");
    f.Caret(0, 4);
    ASSERT_TRUE(f.Edit->InsertPicture("bild", Picture(30, 20), 0));
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"abc\"\n- s-3 p0 \"\"\n- s0 p0 \"def\"\n");
    EXPECT_EQ(f.CaretPos(), "1:1");
    // Backspace after it takes it away and joins the word again.
    f.Key(VK_BACK);
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"abcdef\"\n");
}

TEST(EditInsert, RTFFromAnotherProgramGoesInAtTheCaret) {
    TEditFixture f;
    f.Load("vorher nachher");
    f.Caret(0, 8);
    EXPECT_TRUE(f.Edit->InsertRTFFromStream("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs30 eins\\par zwei }"));
    EXPECT_EQ(PlainText(*f.Data()), "vorher eins\nzwei nachher");
    f.Edit->Undo();
    EXPECT_EQ(PlainText(*f.Data()), "vorher nachher");
}

// A block whose paragraphs hold line breaks goes into the middle of a centred
// paragraph: the lines that join a paragraph take its style, as they do when
// the document is read again, and the document's stream reads back to the byte.
TEST(EditInsert, LinesOfAnInsertedBlockTakeTheStyleOfTheParagraphTheyJoin) {
    TEditFixture f;
    f.Edit->Clear();
    f.Edit->AddText("Mitte", 0, 1);
    f.Edit->AddText("rechts", 0, 0);
    f.Edit->Format();
    const std::string start = SaveRPF(*f.Edit);
    // "x", a line "y", then an indented paragraph "z" with a line "w".
    const std::string block =
        "-8 1 3\r\n0 1 -1 0 0 0\r\nx\r\n0 1 0 4 0 0\r\ny\r\n0 1 3 0 0 0\r\nz\r\n0 1 3 4 0 0\r\nw\r\n";
    f.Caret(0, 5);
    ASSERT_TRUE(f.Edit->InsertRPFFromStream(block));
    EXPECT_EQ(DumpItems(*f.Data()),
              "P s0 p1 \"Mittx\"\nB s0 p1 \"y\"\nP s0 p3 \"z\"\nB s0 p3 \"we\"\nP s0 p0 \"rechts\"\n");
    const std::string edited = SaveRPF(*f.Edit);
    TEditFixture fresh;
    fresh.Edit->Clear();
    fresh.Edit->LoadRPFFromStream(edited);
    fresh.Edit->Format();
    EXPECT_EQ(SaveRPF(*fresh.Edit), edited);
    EXPECT_EQ(DumpLayout(*f.Data()), DumpLayout(*fresh.Data()));
    f.Edit->Undo();
    EXPECT_EQ(SaveRPF(*f.Edit), start);
}

// A word processor splits runs of one formatting by revision marks: they come
// in joined, with each other and with the text around them, and the step
// undoes and redoes as one; the caret stands after what came in.
TEST(EditInsert, RunsSplitByRevisionMarksComeInJoined) {
    TEditFixture f;
    f.Load("vorher nachher");
    const std::string start = SaveRPF(*f.Edit);
    std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs30 ";
    std::string first, second;
    for (int i = 0; i < 200; ++i) {
        rtf += "{\\insrsid" + std::to_string(i) + " w" + std::to_string(i) + " }";
        first += "w" + std::to_string(i) + " ";
    }
    rtf += "\\par\\plain\\f0 ";
    for (int i = 0; i < 100; ++i) {
        rtf += "{\\insrsid" + std::to_string(i) + " z" + std::to_string(i) + "}";
        second += "z" + std::to_string(i);
    }
    f.Caret(0, 8);
    ASSERT_TRUE(f.Edit->InsertRTFFromStream(rtf + "}"));
    // The view's import takes the closest style: all of it is style 0.
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"vorher " + first + "\"\nP s0 p0 \"" + second + "nachher\"\n");
    EXPECT_EQ(f.CaretPos(), "1:" + std::to_string(second.size() + 1));
    const std::string editedRPF = SaveRPF(*f.Edit);
    f.Edit->Undo();
    EXPECT_EQ(SaveRPF(*f.Edit), start);
    f.Edit->Redo();
    EXPECT_EQ(SaveRPF(*f.Edit), editedRPF);
}

// Runs that came in join among themselves in one pass and then, where that
// pass leaves a pair, with records: the same runs as joining every pair with
// records from the end, whatever the runs (empty ones, Unicode and code-page
// styles and texts, tags, checkpoints, line and paragraph starts).
TEST(EditInsert, InsertedRunsJoinAsPairsWithRecordsWould) {
    const auto build = [](TEditFixture& F, unsigned Seed) {
        F.Edit->Clear();
        std::mt19937 rng(Seed);
        TRPEditRPData& d = *F.Data();
        const int n = 2 + static_cast<int>(rng() % 30);
        for (int i = 0; i < n; ++i) {
            if (rng() % 6 == 0) d.AddCheckpoint("cp" + std::to_string(i), false, TRPTag{});
            const unsigned kind = rng() % 7;
            const std::string text =
                kind < 2 ? std::string() : std::string(1 + rng() % 3, static_cast<char>('a' + i % 26));
            // Style 2 is the Unicode one: its text is UTF-16.
            const int style = kind == 3 ? 2 : static_cast<int>(rng() % 3);
            const int para = i == 0 || rng() % 7 == 0 ? 0 : -1;
            if (style == 2) {
                std::string wide;
                for (char ch : text)
                    wide += {ch, '\0'};
                d.AddTextTag(wide, style, para, TRPTag{});
            } else if (kind == 4) {
                d.AddTextTag(text, style, para, TRPTag::FromInt(static_cast<int>(rng() % 2)));
            } else {
                d.AddText(text, style, para);
            }
        }
    };
    const auto pairs = [](TRPEditRPData& D, int Last) {
        for (int i = Last - 1; i >= 0; --i)
            if (D.CanMerge(i)) D.MergeTextItemsWithUndo(i);
    };
    const auto dump = [](const TRPEditRPData& D) {
        std::string s = DumpItems(D);
        for (int i = 0; i < D.GetItemCount(); ++i) {
            const TCustomRPItemInfo* it = D.GetItem(i);
            s += std::to_string(it->ItemOptions) + "|" + std::to_string(it->Tag.Int) + "|" +
                 (it->Checkpoint ? it->Checkpoint->Name : "") + " ";
        }
        return s + std::to_string(D.CPCount);
    };
    for (unsigned seed = 1; seed <= 200; ++seed) {
        TEditFixture once, each;
        build(once, seed);
        build(each, seed);
        const int last = once.Data()->GetItemCount() - 1;
        const int gone = once.Data()->JoinInsertedRuns(0, last);
        pairs(*once.Data(), last - gone);
        pairs(*each.Data(), last);
        ASSERT_EQ(dump(*once.Data()), dump(*each.Data())) << "seed " << seed;
    }
}

// RTF that brings nothing leaves the word it was aimed at whole and records
// no step; RTF the reader refuses does the same.
TEST(EditInsert, RTFThatBringsNothingChangesNothing) {
    TEditFixture f;
    f.Load("Gute Nacht");
    const std::string start = SaveRPF(*f.Edit);
    for (const std::string& rtf :
         {std::string("{\\rtf1}"), std::string("{\\rtf1{\\*\\generator x;}}"), std::string("{\\rtf1{{{{")}) {
        SCOPED_TRACE(rtf);
        f.Caret(0, 3);
        f.Edit->InsertRTFFromStream(rtf);
        EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"Gute Nacht\"\n");
        EXPECT_EQ(SaveRPF(*f.Edit), start);
        EXPECT_FALSE(f.Edit->CanUndo());
    }
    // Without a history the word is joined again.
    f.Edit->SetUndoLimit(0);
    f.Caret(0, 3);
    f.Edit->InsertRTFFromStream("{\\rtf1}");
    EXPECT_EQ(SaveRPF(*f.Edit), start);
    f.Type("x");
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"Guxte Nacht\"\n");
}

TEST(EditStyles, ConvertedLettersJoinTheirNeighboursAgainAndTheRememberedStyleComesFirst) {
    TEditFixture f;
    f.Load("abcdefghi");
    std::vector<int> asked;
    f.Edit->OnStyleConversion = [&](TCustomRichPadEdit*, int StyleNo, int UserData, bool ToText,
                                    int& NewStyleNo) {
        if (!ToText) asked.push_back(StyleNo);
        NewStyleNo = UserData;
    };
    f.Select(0, 4, 0, 7);
    f.Edit->ApplyStyleConversion(1);
    EXPECT_EQ(f.Data()->GetItemCount(), 3);
    f.Edit->ApplyStyleConversion(0);
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"abcdefghi\"\n");
    int si, so, ei, eo;
    f.Data()->GetSelBounds(si, so, ei, eo, true);
    EXPECT_EQ((std::vector<int>{si, so, ei, eo}), (std::vector<int>{0, 4, 0, 7}));
    // Undone in two steps, as it was done.
    EXPECT_EQ(f.Data()->UndoList->Count(), 2);
    // The style taken from the text at the caret is converted, not one set
    // since, unless that one may not be switched away from.
    f.Caret(0, 2);
    asked.clear();
    f.Edit->SetCurTextStyleNo(1);
    f.Edit->ApplyStyleConversion(1);
    f.Style->TextStyles().GetItem(3)->Protection |= rpprDoNotAutoSwitch;
    f.Edit->SetCurTextStyleNo(3);
    f.Edit->ApplyStyleConversion(1);
    EXPECT_EQ(asked, (std::vector<int>{0, 3}));
}

TEST(EditStyles, DeletingUnusedStylesRenumbersTheDocumentTheStylesAndTheCurrentStyles) {
    TEditFixture f;
    // Text styles 0 to 4 (style 4 names style 1 as its next one, style 2 is
    // the default Unicode style); paragraph styles 0 to 4.
    f.Style->DefUnicodeStyle = 2;
    f.Style->ParaStyles().GetItem(3)->NextParaNo = 1;
    f.Edit->Clear();
    f.Data()->AddText("eins", 0, 0);
    f.Data()->AddText("zwei", 4, 3);
    f.Edit->Format();
    f.Caret(0, 5);
    f.Type("s");
    f.Caret(1, 3);
    ASSERT_EQ(f.Edit->CurTextStyleNo(), 4);
    ASSERT_TRUE(f.Edit->CanUndo());
    std::vector<std::string> told;
    f.Edit->OnCurTextStyleChanged = [&](TObject*) {
        told.push_back("text " + std::to_string(f.Edit->CurTextStyleNo()));
    };
    f.Edit->OnCurParaStyleChanged = [&](TObject*) {
        told.push_back("para " + std::to_string(f.Edit->CurParaStyleNo()));
    };
    f.Edit->DeleteUnusedStyles(true, true, false);
    // Kept: text 0, 4, the 1 it leads to and the Unicode style 2; paragraph 0, 3 and the 1 it leads to.
    EXPECT_EQ(f.Style->TextStyles().Count(), 4);
    EXPECT_TRUE(f.Style->TextStyles().GetItem(1)->Style & RPFontStyle::Bold);
    EXPECT_TRUE(f.Style->TextStyles().GetItem(2)->Unicode);
    EXPECT_EQ(f.Style->TextStyles().GetItem(3)->NextStyleNo, 1);
    EXPECT_EQ(f.Style->DefUnicodeStyle, 2);
    EXPECT_EQ(f.Style->ParaStyles().Count(), 3);
    EXPECT_EQ(f.Style->ParaStyles().GetItem(2)->LeftIndent, 20);
    EXPECT_EQ(f.Style->ParaStyles().GetItem(2)->NextParaNo, 1);
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"einss\"\nP s3 p2 \"zwei\"\n");
    // The current styles follow, their listeners are told, and the history is gone.
    EXPECT_EQ(f.Edit->CurTextStyleNo(), 3);
    EXPECT_EQ(f.Edit->CurParaStyleNo(), 2);
    EXPECT_EQ(told, (std::vector<std::string>{"para 2", "text 3"}));
    EXPECT_FALSE(f.Edit->CanUndo());
    // The style last taken from the text is renumbered too: a conversion starts from it.
    std::vector<int> asked;
    f.Edit->OnStyleConversion = [&](TCustomRichPadEdit*, int StyleNo, int, bool ToText, int& NewStyleNo) {
        if (!ToText) asked.push_back(StyleNo);
        NewStyleNo = StyleNo;
    };
    f.Edit->SetCurTextStyleNo(0);
    f.Edit->ApplyStyleConversion(0);
    EXPECT_EQ(asked, std::vector<int>{3});
    f.Edit->OnCurTextStyleChanged = f.Edit->OnCurParaStyleChanged = nullptr;
}

TEST(EditPaste, PrefersTheRichestFormat) {
    TEditFixture f;
    f.Load("x");
    f.Caret(0, 2);
    QMimeData both;
    both.setText(QStringLiteral("text"));
    both.setData(QStringLiteral("text/rtf"), QByteArray("{\\rtf1\\ansi rtf}"));
    ASSERT_TRUE(f.Edit->PasteMimeData(both));
    EXPECT_EQ(PlainText(*f.Data()), "xrtf");
    // HTML gives its text only where no plain text comes with it.
    QMimeData html;
    html.setHtml(QStringLiteral("<p>aus <b>HTML</b></p>"));
    html.setText(QStringLiteral("plain"));
    ASSERT_TRUE(f.Edit->PasteMimeData(html));
    EXPECT_EQ(PlainText(*f.Data()), "xrtfplain");
    QMimeData htmlOnly;
    htmlOnly.setHtml(QStringLiteral("<p>aus <b>HTML</b></p>"));
    ASSERT_TRUE(f.Edit->PasteMimeData(htmlOnly));
    EXPECT_EQ(PlainText(*f.Data()), "xrtfplainaus HTML");
    QMimeData image;
    image.setImageData(QImage(12, 8, QImage::Format_RGB32));
    ASSERT_TRUE(f.Edit->PasteMimeData(image));
    EXPECT_EQ(f.Data()->GetItemStyle(f.Data()->GetItemCount() - 1), rpsnPicture);
    // Our own format first of all: a copy pasted back is the same text.
    f.Load("eins zwei");
    f.Select(0, 1, 0, 5);
    ASSERT_TRUE(f.Edit->CopyToClipboard());
    f.Caret(0, 10);
    f.Edit->Paste();
    EXPECT_EQ(PlainText(*f.Data()), "eins zweieins");
}

// Ctrl+V takes the first of RPF, RTF, text, picture and metafile that the
// clipboard holds; each format also goes alone, copied by the view's own
// operation and pasted by the editor's, and a paste of a missing one does nothing.
TEST(EditPaste, TheFirstFormatInTheOrderAndEachFormatAlone) {
    TEditFixture g, f;
    g.Load("eins zwei");
    g.Edit->AddText("fett", 1, -1);
    g.Edit->Format();
    g.Select(0, 6, 1, 5);
    const auto pasted = [&](void (TCustomRichPadEdit::*Paste)()) {
        f.Load("");
        (f.Edit->*Paste)();
        return f.Data()->GetItemStyle(0) < 0 ? std::to_string(f.Data()->GetItemStyle(0))
                                             : DumpItems(*f.Data());
    };
    const std::string empty = "P s0 p0 \"\"\n", zweiFett = "P s0 p0 \"zwei\"\n- s1 p0 \"fett\"\n";
    ASSERT_TRUE(g.Edit->CopyRPF());
    EXPECT_EQ(pasted(&TCustomRichPadEdit::PasteRTF), empty);
    EXPECT_EQ(pasted(&TCustomRichPadEdit::PasteText), empty);
    EXPECT_FALSE(f.Edit->CanUndo());
    EXPECT_EQ(pasted(&TCustomRichPadEdit::PasteRPF), zweiFett);
    ASSERT_TRUE(g.Edit->CopyRTF());
    EXPECT_EQ(pasted(&TCustomRichPadEdit::PasteRPF), empty);
    f.Edit->PasteRTF();
    EXPECT_EQ(PlainText(*f.Data()), "zweifett");
    ASSERT_TRUE(g.Edit->CopyText());
    EXPECT_EQ(pasted(&TCustomRichPadEdit::PasteText), "P s0 p0 \"zweifett\"\n");
    ASSERT_TRUE(g.Edit->CopyTextW());
    f.Load("");
    f.Edit->SetCurTextStyleNo(2);
    f.Edit->PasteTextW();
    EXPECT_EQ(DumpItems(*f.Data()), "P s2 p0 \"zweifett\"\n");
    EXPECT_TRUE(f.Data()->GetItemOptions(0) & rpioUnicode);

    // Several formats at once: the first in the order wins; text comes
    // before a picture also without HTML beside it.
    ASSERT_TRUE(g.Edit->CopyToClipboard());
    const QByteArray rpf =
        QApplication::clipboard()->mimeData()->data(RPClipboardMimeType(RPClipboardFormatRPF));
    const QByteArray emf = TEmfBuilder(60, 30).Brush(0x0000FF).Rectangle(0, 0, 30, 30).Bytes();
    for (int first = 0; first < 5; ++first) {
        auto* m = new QMimeData;
        if (first <= 0) m->setData(RPClipboardMimeType(RPClipboardFormatRPF), rpf);
        if (first <= 1) m->setData("text/rtf", "{\\rtf1\\ansi drei}");
        if (first <= 2) m->setText(QStringLiteral("vier"));
        if (first <= 3) m->setImageData(Picture(12, 8)->ToImage());
        m->setData("image/x-emf", emf);
        QApplication::clipboard()->setMimeData(m);
        f.Load("");
        f.Key('V', ssCtrl);
        const std::string want[] = {"zweifett", "drei", "vier", "TBitmap", "TMetafile"};
        EXPECT_EQ(f.Data()->GetItemStyle(0) == rpsnPicture
                      ? static_cast<const TRPGraphicItemInfo*>(f.Data()->GetItem(0))
                            ->Image->ClassName()
                            .toStdString()
                      : PlainText(*f.Data()),
                  want[first]);
    }

    // A picture with TextAsName takes the text as its name. A metafile
    // without a resolution gets twips, and the picture keeps the metafile's
    // size; one undo step takes it away.
    auto* meta = new QMimeData;
    meta->setData("image/x-emf", emf);
    meta->setText(QStringLiteral("Gr\u00FC\u00DFe"));
    QApplication::clipboard()->setMimeData(meta);
    EXPECT_EQ(pasted(&TCustomRichPadEdit::PasteText), "P s0 p0 \"Gr\u00FC\u00DFe\"\n");
    f.Load("");
    f.Edit->PasteBitmap(true);
    EXPECT_FALSE(f.Edit->CanUndo());
    f.Edit->PasteMetafile(true);
    ASSERT_EQ(f.Data()->GetItemStyle(0), rpsnPicture);
    EXPECT_EQ(f.Data()->GetItemText(0), "Gr\xFC\xDF"
                                        "e");
    const auto* mf = dynamic_cast<const TMetafile*>(
        static_cast<const TRPGraphicItemInfo*>(f.Data()->GetItem(0))->Image.get());
    ASSERT_TRUE(mf);
    EXPECT_EQ(mf->Inch(), 1440);
    int w = 0, h = 0;
    ASSERT_TRUE(f.Edit->GetItemExtraIntProperty(0, rpeipImageWidth, w));
    ASSERT_TRUE(f.Edit->GetItemExtraIntProperty(0, rpeipImageHeight, h));
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(60, 30));
    f.Edit->Undo();
    EXPECT_EQ(DumpItems(*f.Data()), empty);
    EXPECT_FALSE(f.Edit->CanUndo());
}

TEST(EditPaste, PlainTextKeepsCharactersTheStyleCannotHold) {
    TEditFixture f;
    f.Style->DefUnicodeStyle = 2;
    f.Load("ab");
    f.Caret(0, 3);
    QMimeData euro;
    euro.setText(QStringLiteral("\u20AC"));
    ASSERT_TRUE(f.Edit->PasteMimeData(euro));
    EXPECT_EQ(f.Data()->GetItemText(0), "ab\x80");
    QMimeData greek;
    greek.setText(QStringLiteral("\u03A9\u2192"));
    ASSERT_TRUE(f.Edit->PasteMimeData(greek));
    ASSERT_EQ(f.Data()->GetItemCount(), 2);
    EXPECT_TRUE(f.Data()->GetItemOptions(1) & rpioUnicode);
    EXPECT_EQ(f.Data()->GetItemText(1), std::string("\xA9\x03\x92\x21", 4));
}

TEST(EditPaste, ClipboardHTMLHeaderIsCheckedAgainstTheBlock) {
    TRPClipboardHTML h;
    const std::string body = "<html><body><!--StartFragment-->Hallo<!--EndFragment--></body></html>";
    std::string head = "Version:0.9\r\nStartHTML:0000009105\r\nEndHTML:0000009999\r\nStartFragment:0000009143\r\n"
                       "EndFragment:0000009148\r\nSourceURL:http://example.org/a\r\n";
    // The offsets above are made up: out of the block, they are not trusted.
    ASSERT_TRUE(ParseClipboardHTML(head + body, h));
    EXPECT_EQ(h.SourceURL, "http://example.org/a");
    EXPECT_EQ(h.Fragment, body);
    // Offsets that fit are used.
    const std::string block = head + body;
    const size_t s = block.find("Hallo");
    std::string good = block;
    good.replace(good.find("0000009143"), 10, QString::number(s).rightJustified(10, '0').toStdString());
    good.replace(good.find("0000009148"), 10, QString::number(s + 5).rightJustified(10, '0').toStdString());
    ASSERT_TRUE(ParseClipboardHTML(good, h));
    EXPECT_EQ(h.Fragment, "Hallo");
    // Reversed, huge and broken numbers, a header without an end, a lone name.
    for (const std::string bad : {"StartFragment:9\r\nEndFragment:3\r\n<b>x</b>", "StartFragment:99999999999999999999\r\n<b>x</b>",
                                  "SourceURL:", "StartFragment:-4\r\nEndFragment:x\r\n<b>x</b>", ":\r\n"}) {
        ParseClipboardHTML(bad, h);
        EXPECT_LE(h.Fragment.size(), bad.size());
    }
    EXPECT_FALSE(ParseClipboardHTML("Version:1.0\r\nSourceURL:x", h));
}

TEST(EditPaste, PastedRTFResolvesRelativeLinksAgainstThePageItCameFrom) {
    EXPECT_EQ(ClipboardBasePath("http://example.org/buch/index.html"), "http://example.org/buch/");
    EXPECT_EQ(ClipboardBasePath("HTTPS://example.org"), "HTTPS://example.org/");
    EXPECT_EQ(ClipboardBasePath("file:///home/kind/seiten/a.html"), "/home/kind/seiten/");
    EXPECT_EQ(ClipboardBasePath(std::string("file:///tmp/a.html\0/x/y", 23)), "/tmp/");
    EXPECT_EQ(ClipboardBasePath(" "), "");
    EXPECT_EQ(ClipboardBasePath("seite.html"), "");

    TEditFixture f;
    f.Load("");
    std::vector<std::string> targets;
    f.Edit->OnReadHyperlink = [&](TCustomRichPad*, const std::string& Target, const std::string&, int, int&, TRPTag&,
                                  std::string&) { targets.push_back(Target); };
    QMimeData data;
    data.setData("text/rtf", "{\\rtf1\\ansi {\\field{\\*\\fldinst HYPERLINK \"unter/seite.html\"}{\\fldrslt weiter}}}");
    RPRegisterClipboardFormats();
    data.setData(RPClipboardMimeType(RPClipboardFormatHTML),
                 "Version:0.9\r\nSourceURL:http://example.org/buch/index.html\r\n<b>weiter</b>");
    f.Edit->GetRTFReadProperties()->BasePath = "/eigen/";
    ASSERT_TRUE(f.Edit->PasteMimeData(data));
    EXPECT_EQ(PlainText(*f.Data()), "weiter");
    EXPECT_EQ(targets, std::vector<std::string>{"http://example.org/buch/unter/seite.html"});
    // The control's own setting is back for whatever it reads next.
    EXPECT_EQ(f.Edit->GetRTFReadProperties()->BasePath, "/eigen/");
}

TEST(EditInput, ComposedCharactersOfADeadKeyAreTyped) {
    TEditFixture f;
    f.Load("Caf");
    f.Caret(0, 4);
    QInputMethodEvent compose;
    compose.setCommitString(QStringLiteral("é"));
    QApplication::sendEvent(f.Edit->Widget(), &compose);
    QInputMethodEvent two;
    two.setCommitString(QStringLiteral("^^"));
    QApplication::sendEvent(f.Edit->Widget(), &two);
    EXPECT_EQ(PlainText(*f.Data()), "Café^^");
    QInputMethodQueryEvent q(Qt::ImCursorRectangle | Qt::ImEnabled);
    QApplication::sendEvent(f.Edit->Widget(), &q);
    EXPECT_TRUE(q.value(Qt::ImEnabled).toBool());
    const QRect at = q.value(Qt::ImCursorRectangle).toRect();
    EXPECT_GT(at.left(), 5 + 50);
    // The composition window follows the caret also while the caret hides
    // (something is dragged over the text).
    QMimeData text;
    text.setText(QStringLiteral("X"));
    QDragEnterEvent enter(QPoint(20, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.Edit->Widget(), &enter);
    ASSERT_EQ(f.Data()->CaretRect().Right, f.Data()->CaretRect().Left);
    QInputMethodQueryEvent hidden(Qt::ImCursorRectangle);
    QApplication::sendEvent(f.Edit->Widget(), &hidden);
    EXPECT_EQ(hidden.value(Qt::ImCursorRectangle).toRect(), at);
    QDragLeaveEvent leave;
    QApplication::sendEvent(f.Edit->Widget(), &leave);
}

TEST(EditDrop, TextDroppedFromOutsideGoesWhereTheMouseIs) {
    TEditFixture f;
    f.Load("abcdef");
    QMimeData data;
    data.setText(QStringLiteral("XY"));
    // Characters are 10 px wide from the left margin of 5, inside a 2 px border.
    const QPointF at(5 + 30 + 2, 12);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    Deliver(f, drop);
    EXPECT_EQ(PlainText(*f.Data()), "abcXYdef");
    f.Edit->Undo();
    EXPECT_EQ(PlainText(*f.Data()), "abcdef");
}

TEST(EditDrop, AMoveInsideTheEditorIsOneUndoStepAndNeverUsesAStalePlace) {
    TEditFixture f;
    f.Load("eins zwei drei");
    QMimeData data;
    // Drag "eins " and drop it after "drei": the place is behind the dragged text.
    f.Select(0, 1, 0, 6);
    f.Data()->State |= rpstDragging;
    data.setText(QStringLiteral("eins "));
    QDropEvent after(QPointF(5 + 140 + 2, 12), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    Deliver(f, after);
    EXPECT_EQ(PlainText(*f.Data()), "zwei dreieins ");
    // The moved text is selected at its new place.
    EXPECT_EQ(f.Data()->GetSelText(), QStringLiteral("eins "));
    f.Edit->Undo();
    EXPECT_EQ(PlainText(*f.Data()), "eins zwei drei");
    // Drag "drei" to the front: the deletion behind the drop point comes first.
    f.Select(0, 11, 0, 15);
    data.setText(QStringLiteral("drei"));
    QDropEvent before(QPointF(5 + 2, 12), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    Deliver(f, before);
    EXPECT_EQ(PlainText(*f.Data()), "dreieins zwei ");
    EXPECT_EQ(f.Data()->GetSelText(), QStringLiteral("drei"));
    // Onto the dragged text itself: nothing moves.
    f.Select(0, 1, 0, 5);
    QDropEvent onto(QPointF(5 + 20 + 2, 12), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    Deliver(f, onto);
    EXPECT_EQ(PlainText(*f.Data()), "dreieins zwei ");
    f.Data()->State &= ~rpstDragging;
}

TEST(EditResizer, HandlesKeepTheRatioAtCornersAndApplyAsOneStep) {
    TEditFixture f;
    f.Load("");
    f.Edit->InsertPicture("bild", Picture(100, 50), 0);
    const int n = f.Data()->GetItemStyle(0) == rpsnPicture ? 0 : 1;
    auto* pic = dynamic_cast<TRPGraphicItemInfo*>(f.Data()->GetItem(n));
    ASSERT_NE(pic, nullptr);
    pic->Spacing = 0;
    f.Edit->Format();
    f.Select(n, 0, n, 1);
    ASSERT_NE(f.Data()->Resizer, nullptr);
    TRPItemResizer& r = *f.Data()->Resizer;
    const TRPDrawLineInfo& d = *r.DrawItem;
    // A press 3 pixels from the bottom-right handle's point grabs it; 4 do not.
    ASSERT_TRUE(r.StartDrag(d.Left + 100 - 3 + 3, d.Top + 50 - 3 + 3, 0, 0));
    r.CancelDrag();
    EXPECT_FALSE(r.StartDrag(d.Left + 100 - 3 + 4, d.Top + 50 - 3 + 4, 0, 0));
    ASSERT_TRUE(r.StartDrag(d.Left + 100, d.Top + 50, 0, 0));
    r.DragTo(d.Left + 200 + r.DeltaX, d.Top + 60 + r.DeltaY, false, false, 0, 0);
    EXPECT_EQ(r.Rubber.Right - r.Rubber.Left, 200);
    EXPECT_EQ(r.Rubber.Bottom - r.Rubber.Top, 100);
    // The right-middle handle changes only the width; with Shift the height follows.
    ASSERT_TRUE(r.StartDrag(d.Left + 100 - 3, d.Top + 25, 0, 0));
    r.DragTo(d.Left + 150 + r.DeltaX, d.Top + 25, false, false, 0, 0);
    EXPECT_EQ(std::vector<int>({r.Rubber.Right - r.Rubber.Left, r.Rubber.Bottom - r.Rubber.Top}), std::vector<int>({150, 50}));
    r.DragTo(d.Left + 150 + r.DeltaX, d.Top + 25, true, false, 0, 0);
    EXPECT_EQ(r.Rubber.Bottom - r.Rubber.Top, 75);
    r.EndDrag();
    ASSERT_TRUE(f.Edit->ResizeItem(n, r.Width, r.Height));
    EXPECT_EQ(pic->ImageWidth, 150);
    EXPECT_EQ(pic->ImageHeight, 75);
    f.Edit->Undo();
    EXPECT_EQ(std::vector<int>({pic->ImageWidth, pic->ImageHeight}), std::vector<int>({0, 0}));
}

TEST(EditResizer, AResizableControlDraggedByItsHandlesGetsItsSizeAsOneStep) {
    TEditFixture f;
    f.Load("ab");
    auto item = std::make_unique<TRPControlItemInfo>(f.Data());
    item->StyleNo = rpsnControl;
    item->Resizable = true;
    item->Spacing = 0;
    item->Control = std::make_unique<TControl>(nullptr);
    TControl* control = item->Control.get();
    control->SetBounds(0, 0, 60, 40);
    f.Data()->AddItem("knopf", std::move(item));
    f.Edit->Format();
    const std::string before = DumpLayout(*f.Data());
    const TRPDrawLineInfo* di = f.Data()->DrawItem(f.Data()->GetFirstDrawItemOfItem(1));
    const int left = di->Left, top = di->Top;
    QWidget* w = f.Edit->ClientWidget();
    const auto mouse = [&](QEvent::Type Type, int X, int Y, Qt::MouseButtons Buttons) {
        const QPointF at(X, Y);
        QMouseEvent e(Type, at, at, Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    // A click selects it and brings up its handles, drawn outside it.
    mouse(QEvent::MouseButtonPress, left + 30, top + 20, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, left + 30, top + 20, Qt::NoButton);
    ASSERT_NE(f.Data()->Resizer, nullptr);
    // The bottom-right handle dragged 40 right and 20 down: the corner keeps
    // the ratio, and the larger factor wins.
    mouse(QEvent::MouseButtonPress, left + 63, top + 43, Qt::LeftButton);
    mouse(QEvent::MouseMove, left + 103, top + 63, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, left + 103, top + 63, Qt::NoButton);
    EXPECT_EQ(std::vector<int>({control->Width(), control->Height()}), std::vector<int>({100, 67}));
    EXPECT_EQ(static_cast<int>(f.Edit->UndoAction()), static_cast<int>(rpuaModifyItem));
    EXPECT_EQ(f.Data()->UndoList->Count(), 1);
    EXPECT_EQ(f.Data()->DrawItem(f.Data()->GetFirstDrawItemOfItem(1))->Width, 100);
    f.Edit->Undo();
    EXPECT_EQ(std::vector<int>({control->Width(), control->Height()}), std::vector<int>({60, 40}));
    // Undone, the lines are laid out as they were.
    EXPECT_EQ(DumpLayout(*f.Data()), before);
    f.Edit->Redo();
    EXPECT_EQ(std::vector<int>({control->Width(), control->Height()}), std::vector<int>({100, 67}));
    // Escape during the drag leaves the size as it is, and nothing to undo.
    f.Select(1, 0, 1, 1);
    ASSERT_NE(f.Data()->Resizer, nullptr);
    mouse(QEvent::MouseButtonPress, left + 103, top + 70, Qt::LeftButton);
    mouse(QEvent::MouseMove, left + 140, top + 70, Qt::LeftButton);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(f.Edit->Widget(), &escape);
    mouse(QEvent::MouseButtonRelease, left + 140, top + 70, Qt::NoButton);
    EXPECT_EQ(control->Width(), 100);
    EXPECT_EQ(f.Data()->UndoList->Count(), 1);
    // Refused by the program, the drag leaves the size as it is.
    f.Edit->OnChanging = [](TCustomRichPadEdit*, bool& CanEdit) { CanEdit = false; };
    f.Select(1, 0, 1, 1);
    ASSERT_NE(f.Data()->Resizer, nullptr);
    mouse(QEvent::MouseButtonPress, left + 103, top + 70, Qt::LeftButton);
    mouse(QEvent::MouseMove, left + 120, top + 70, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, left + 120, top + 70, Qt::NoButton);
    EXPECT_EQ(control->Width(), 100);
    f.Edit->OnChanging = nullptr;
}

TEST(EditResizer, AClickOnAPictureSelectsItAndOffersTheHandles) {
    TEditFixture f;
    f.Load("ab");
    f.Caret(0, 2);
    f.Edit->InsertPicture("bild", Picture(40, 30), 0);
    EXPECT_EQ(f.Data()->Resizer, nullptr);
    const int d = f.Data()->GetFirstDrawItemOfItem(1);
    ASSERT_GE(d, 0);
    const TRPDrawLineInfo* di = f.Data()->DrawItem(d);
    const QPointF at(di->Left + 20, di->Top + 15);
    QMouseEvent press(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, at, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(f.Edit->ClientWidget(), &press);
    QApplication::sendEvent(f.Edit->ClientWidget(), &release);
    ASSERT_NE(f.Data()->Resizer, nullptr);
    EXPECT_EQ(f.Data()->Resizer->ItemNo, 1);
    // A narrower window lays the document out again: the handles stay, on the new draw item.
    f.Edit->SetWidth(120);
    ASSERT_NE(f.Data()->Resizer, nullptr);
    EXPECT_EQ(f.Data()->Resizer->DrawItem, f.Data()->DrawItem(f.Data()->GetFirstDrawItemOfItem(1)));
    // The caret keeps its place across a format.
    f.Caret(0, 2);
    f.Edit->Format();
    EXPECT_EQ(f.CaretPos(), "0:2");
}

namespace {

// An RPF clipboard block: the length, then the stream.
QByteArray RPFBlock(const std::string& RPF) {
    const auto n = static_cast<int32_t>(RPF.size());
    QByteArray block(reinterpret_cast<const char*>(&n), 4);
    block.append(RPF.data(), static_cast<qsizetype>(RPF.size()));
    return block;
}

} // namespace

// A block that does not read to its end is not pasted in part: nothing is
// split, nothing recorded, the selection stays, and typing goes on in the word.
TEST(EditPaste, ADamagedRPFBlockChangesNothing) {
    TEditFixture f;
    f.Style->UseSound = true;
    f.Load("Gute Nacht");
    const std::string start = SaveRPF(*f.Edit);
    const std::string whole = "-8 1 3\r\n0 1 0 0 0 0\r\nGut\r\n";
    const QString mime = RPClipboardMimeType(RPClipboardFormatRPF);
    // The last record promises three lines and holds one; the second block is
    // too short for its length.
    for (const QByteArray& block : {RPFBlock(whole + "0 3 0 0 0 0\r\nx\r\n"), QByteArray("\x05\0\0", 3)}) {
        SCOPED_TRACE(block.size());
        for (const bool selected : {false, true}) {
            auto* data = new QMimeData;
            data->setData(mime, block);
            QApplication::clipboard()->setMimeData(data);
            if (selected)
                f.Select(0, 3, 0, 7);
            else
                f.Caret(0, 3);
            const int beeps = TCustomRPData::BeepCount;
            f.Key('V', ssCtrl);
            EXPECT_EQ(SaveRPF(*f.Edit), start);
            EXPECT_EQ(f.Data()->GetItemCount(), 1);
            EXPECT_FALSE(f.Edit->CanUndo());
            EXPECT_EQ(TCustomRPData::BeepCount, beeps + 1);
            EXPECT_EQ(f.Data()->SelectionExists(false, false), selected);
        }
        // Dropped, it is passed over like any format that cannot be read.
        QMimeData dropped;
        dropped.setData(mime, block);
        QDropEvent drop(QPointF(5 + 30 + 2, 12), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        static_cast<TControl*>(f.Edit)->HandleEvent(&drop);
        EXPECT_EQ(SaveRPF(*f.Edit), start);
        EXPECT_FALSE(f.Edit->CanUndo());
    }
    // The insertion command refuses the same streams alike, and an empty one.
    for (const std::string& rpf : {whole + "0 3 0 0 0 0\r\nx\r\n", std::string("\x05\0\0", 3), std::string()}) {
        f.Caret(0, 3);
        EXPECT_FALSE(f.Edit->InsertRPFFromStream(rpf));
        EXPECT_EQ(SaveRPF(*f.Edit), start);
        EXPECT_FALSE(f.Edit->CanUndo());
    }
    f.Caret(0, 3);
    f.Type("x");
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"Guxte Nacht\"\n");
    // The whole block goes in as one step.
    f.Caret(0, 5);
    ASSERT_TRUE(f.Edit->InsertRPFFromStream(whole));
    EXPECT_EQ(PlainText(*f.Data()), "GuxtGute Nacht");
}

// The editor's members as a caller uses them: the actual current text
// style, the force flag of the style events, an item's extra integer
// property as one undo step, read-only set without side effects.
TEST(EditMembers, StylesPropertiesAndReadOnly) {
    TEditFixture f;
    f.Load("ab");
    f.Style->ParaStyles().GetItem(1)->DefStyleNo = 1;
    int events = 0;
    f.Edit->OnCurTextStyleChanged = [&](TObject*) { ++events; };
    f.Edit->OnCurParaStyleChanged = [&](TObject*) { events += 10; };
    f.Edit->SetCurParaStyleNo(1);
    f.Edit->SetCurTextStyleNo(rpsnParaDefault);
    EXPECT_EQ(f.Edit->ActualCurTextStyleNo(), 1);
    f.Edit->SetCurParaStyleNo(1);
    f.Edit->SetCurTextStyleNo(rpsnParaDefault);
    EXPECT_EQ(events, 11);
    f.Data()->ForceStyleChangeEvents = true;
    f.Edit->SetCurParaStyleNo(1);
    f.Edit->SetCurTextStyleNo(rpsnParaDefault);
    f.Edit->SetCurTextStyleNo(rpsnParaDefault);
    EXPECT_EQ(events, 22);

    f.Load("ab");
    f.Caret(0, 2);
    ASSERT_TRUE(f.Edit->InsertPicture("", Picture(30, 20), 0));
    f.Edit->ClearUndo();
    f.Edit->Modified = false;
    const std::string start = SaveRPF(*f.Edit);
    const auto shownWidth = [&]() { return f.Data()->DrawItem(f.Data()->GetItem(1)->DrawItemNo)->Width; };
    const int width0 = shownWidth();
    f.Edit->SetItemExtraIntPropertyEd(1, rpeipImageWidth, 50, true);
    f.Edit->SetItemExtraIntPropertyEd(1, rpeipImageWidth, 50, true);
    EXPECT_EQ(shownWidth(), width0 + 20);
    EXPECT_TRUE(f.Edit->Modified);
    EXPECT_EQ(f.Edit->UndoAction(), rpuaModifyItem);
    f.Edit->Undo();
    EXPECT_EQ(shownWidth(), width0);
    EXPECT_EQ(SaveRPF(*f.Edit), start);
    EXPECT_FALSE(f.Edit->CanUndo());

    f.Edit->SetReadOnlyDirect(true);
    EXPECT_TRUE(f.Edit->ReadOnly());
    EXPECT_FALSE(f.Edit->DocFlags & rpflRecordJumps);
    f.Edit->SetItemExtraIntPropertyEd(1, rpeipImageWidth, 60, true);
    f.Type("x");
    EXPECT_EQ(SaveRPF(*f.Edit), start);
}

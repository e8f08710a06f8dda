// Copying the selection: plain text and RTF that other programs read, the
// suite's own RPF under a MIME type of its own, the selected picture; the
// clipboard is set once, and a failure leaves it as it was.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>

#include "ViewTestDoc.h"
#include "platform/Clipboard.h"
#include "platform/Pictures.h"
#include "richtext/model/RPClipFormats.h"
#include "support/FixedMetrics.h"
#include "support/Readers.h"

namespace {

class Copy : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        View->AddText("aaa bbb ccc", 0, 0);
        View->AddText("Zehner", 1, 0);
        View->Format();
        QApplication::clipboard()->setText(QStringLiteral("before"));
    }
    static QString ClipboardText() { return QApplication::clipboard()->text(); }
};

} // namespace

TEST_F(Copy, PutsPlainTextAndRPFOnTheClipboard) {
    View->SetSelectionBounds(0, 5, 1, 4);
    ASSERT_TRUE(View->CopyToClipboard());
    // What another program gets as text.
    EXPECT_EQ(ClipboardText(), QStringLiteral("bbb ccc\r\nZeh"));
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    const QByteArray rpf = data->data(RPClipboardMimeType(RPClipboardFormatRPF));
    ASSERT_GT(rpf.size(), 4);
    // A little-endian length, then exactly that many bytes of RPF.
    const int32_t n = static_cast<uint8_t>(rpf[0]) | (static_cast<uint8_t>(rpf[1]) << 8) |
                      (static_cast<uint8_t>(rpf[2]) << 16) | (static_cast<uint8_t>(rpf[3]) << 24);
    EXPECT_EQ(n, rpf.size() - 4);
    // The RPF holds the selection: read back, it is the same text.
    std::string body;
    ASSERT_TRUE(TCustomRPFormattedData::RPFFromBlock(rpf.toStdString(), body));
    TRichPad other(Form.get());
    other.SetStyle(Style.get());
    ASSERT_TRUE(other.LoadRPFFromStream(body));
    ASSERT_EQ(other.ItemCount(), 2);
    EXPECT_EQ(other.GetItemText(0), "bbb ccc");
    EXPECT_EQ(other.GetItemText(1), "Zeh");
    EXPECT_EQ(other.GetItemStyle(1), 1);
}

TEST_F(Copy, PutsTheWritersRTFAndTextOnTheClipboard) {
    View->Clear();
    View->AddText("Z\xE4hler und Nenner", 0, 0);
    View->AddText("\xBD ist ein Bruch", 1, 0);
    View->Format();
    View->SetColor(clYellow);
    View->SetSelectionBounds(1, 1, 0, 1); // made backwards
    ASSERT_TRUE(View->CopyToClipboard());
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    EXPECT_TRUE(data->hasFormat(QStringLiteral("text/plain")));
    EXPECT_TRUE(data->hasFormat(RPClipboardMimeType(RPClipboardFormatRPF)));
    // Exactly the RTF writer's bytes for the selection, under both names.
    std::string rtf;
    ASSERT_TRUE(View->SaveRTFToStream(rtf, true));
    const std::string copied = data->data(QStringLiteral("text/rtf")).toStdString();
    EXPECT_EQ(WithoutListIds(copied), WithoutListIds(rtf));
    EXPECT_EQ(data->data(QStringLiteral("application/rtf")).toStdString(), copied);
    // The text is the plain-text writer's.
    EXPECT_EQ(ClipboardText(), QStringLiteral("Z\u00E4hler und Nenner\r\n"));
    // Without the RTF option there is no RTF.
    View->Options &= ~rpoAutoCopyRTF;
    View->SetSelectionBounds(0, 1, 1, 2);
    ASSERT_TRUE(View->CopyToClipboard());
    EXPECT_EQ(ClipboardText(), QStringLiteral("Z\u00E4hler und Nenner\r\n\u00BD"));
    EXPECT_FALSE(QApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("text/rtf")));
}

TEST_F(Copy, AnRTFThatCannotBeWrittenLeavesTheClipboardAsItWas) {
    View->SetSelectionBounds(0, 1, 0, 4);
    // Without a style the RTF writer has no fonts to write; RPF and text
    // come first and must go too.
    View->SetStyle(nullptr);
    EXPECT_FALSE(View->CopyToClipboard());
    EXPECT_EQ(ClipboardText(), QStringLiteral("before"));
}

TEST_F(Copy, LibreOfficeReadsTheCopiedRTFAsOurText) {
    View->Clear();
    View->AddText("Der Z\xE4hler steht oben, der Nenner unten.", 0, 0);
    View->AddText("Gr\xF6\xDF"
                  "er: \xBE > \xBD",
                  1, 0);
    View->AddText("Ende", 3, -1);
    View->AddText("Letzte Zeile", 0, 0);
    View->Format();
    View->SetSelectionBounds(0, 5, 2, 3);
    ASSERT_TRUE(View->CopyToClipboard());
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("copy.rtf")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data->data(QStringLiteral("text/rtf")));
    f.close();
    const QStringList args{"-env:UserInstallation=file://" + dir.filePath(QStringLiteral("profile")),
                           "--headless",
                           "--convert-to",
                           "txt:Text (encoded):UTF8",
                           "--outdir",
                           dir.path(),
                           f.fileName()};
    const QString error = RunReader(QStringLiteral("soffice"), args, nullptr, nullptr, 120000);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    QFile out(dir.filePath(QStringLiteral("copy.txt")));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    QString theirs = QString::fromUtf8(out.readAll());
    if (theirs.startsWith(QChar(0xFEFF))) theirs.remove(0, 1);
    // LibreOffice ends lines with LF and the text with one more.
    QString ours = ClipboardText();
    ours.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_EQ(ours.toStdString(),
              std::string("Z\u00E4hler steht oben, der Nenner unten.\nGr\u00F6\u00DFer: \u00BE > \u00BDEn"));
    EXPECT_EQ(theirs.trimmed().toStdString(), ours.toStdString());
}

TEST_F(Copy, CtrlCCopies) {
    View->SetSelectionBounds(0, 1, 0, 4);
    QKeyEvent e(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    QApplication::sendEvent(View->Widget(), &e);
    EXPECT_EQ(ClipboardText(), QStringLiteral("aaa"));
}

TEST_F(Copy, NothingSelectedLeavesTheClipboardAlone) {
    EXPECT_TRUE(View->CopyToClipboard());
    EXPECT_EQ(ClipboardText(), QStringLiteral("before"));
    // No format wanted and no handler: nothing to do at all.
    View->SetSelectionBounds(0, 1, 0, 4);
    View->Options &= ~(rpoAutoCopyText | rpoAutoCopyRPF | rpoAutoCopyRTF | rpoAutoCopyImage);
    EXPECT_FALSE(View->CopyToClipboard());
    EXPECT_EQ(ClipboardText(), QStringLiteral("before"));
}

TEST_F(Copy, AFailureLeavesTheClipboardAsItWas) {
    View->SetSelectionBounds(0, 1, 0, 4);
    View->OnCopy = [](TObject*) {
        Clipboard()->SetAsText(QStringLiteral("half"));
        throw std::runtime_error("out of memory");
    };
    EXPECT_FALSE(View->CopyToClipboard());
    EXPECT_EQ(ClipboardText(), QStringLiteral("before"));
    // A handler may add formats of its own beside the view's.
    View->OnCopy = [](TObject*) { Clipboard()->SetAsMime(QStringLiteral("text/x-extra"), "x"); };
    EXPECT_TRUE(View->CopyToClipboard());
    EXPECT_EQ(ClipboardText(), QStringLiteral("aaa"));
    EXPECT_EQ(QApplication::clipboard()->mimeData()->data(QStringLiteral("text/x-extra")), QByteArray("x"));
}

TEST_F(Copy, ASelectedPictureGoesAsAnImage) {
    View->Clear();
    View->AddPicture("", SolidPicture(12, 8, clRed), 0, 0);
    View->Format();
    View->SetSelectionBounds(0, 0, 0, 1);
    ASSERT_TRUE(View->CopyToClipboard());
    const QImage img = QApplication::clipboard()->image();
    EXPECT_EQ(img.size(), QSize(12, 8));
    EXPECT_EQ(img.pixel(3, 3), QColor(Qt::red).rgb());
}

TEST(RPFBlock, LengthsAreCheckedAgainstTheBytesPresent) {
    using D = TCustomRPFormattedData;
    std::string rpf;
    EXPECT_TRUE(D::RPFFromBlock(std::string("\x03\0\0\0abc", 7), rpf));
    EXPECT_EQ(rpf, "abc");
    EXPECT_TRUE(D::RPFFromBlock(std::string("\x02\0\0\0abc", 7), rpf));
    EXPECT_EQ(rpf, "ab");
    // Longer than what follows, negative, or no length at all.
    EXPECT_FALSE(D::RPFFromBlock(std::string("\x04\0\0\0abc", 7), rpf));
    EXPECT_FALSE(D::RPFFromBlock(std::string("\xFF\xFF\xFF\x7F", 4), rpf));
    EXPECT_FALSE(D::RPFFromBlock(std::string("\xFF\xFF\xFF\xFF", 4), rpf));
    EXPECT_FALSE(D::RPFFromBlock(std::string("\x00\0\0", 3), rpf));
    EXPECT_TRUE(rpf.empty());
}

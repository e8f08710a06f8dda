// The view's own saving: RTF and plain text of the document or the selection,
// with the view's colour, and pictures for HTML with the view's settings.
// Failures answer False (or no location) and never raise.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ViewTestDoc.h"
#include "platform/Pictures.h"
#include "richtext/model/RPWriterTypes.h"

namespace {

class Saving : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        View->AddText("aaa bbb ccc", 0, 0);
        View->AddText("Z\xE4hler", 1, 0);
        View->Format();
    }
    QTemporaryDir Dir;
    std::string InDir(const char* Name) const {
        return Dir.filePath(QString::fromLatin1(Name)).toStdString();
    }
    static std::string ReadFile(const std::string& Name) {
        QFile f(QString::fromStdString(Name));
        if (!f.open(QIODevice::ReadOnly)) return "<missing>";
        return f.readAll().toStdString();
    }
    // The texts of a view's items.
    static std::vector<std::string> Texts(const TCustomRichPad& V) {
        std::vector<std::string> t;
        for (int i = 0; i < V.ItemCount(); ++i)
            t.push_back(V.GetItemText(i));
        return t;
    }
    std::vector<std::string> ReadBack(const std::string& File) {
        TRichPad back(Form.get());
        back.SetStyle(Style.get());
        EXPECT_TRUE(back.LoadRTF(File));
        return Texts(back);
    }
};

} // namespace

TEST_F(Saving, RTFOfTheDocumentOrTheSelectionCarriesTheViewsColour) {
    View->SetColor(RGB(1, 2, 3));
    std::string all = "before:";
    ASSERT_TRUE(View->SaveRTFToStream(all, false));
    // Appended at the stream's end; the view's colour is in the colour table.
    EXPECT_EQ(all.rfind("before:{\\rtf1", 0), 0u);
    EXPECT_NE(all.find("\\red1\\green2\\blue3;"), std::string::npos);
    ASSERT_TRUE(View->SaveRTF(InDir("all.rtf"), false));
    EXPECT_EQ(WithoutListIds("before:" + ReadFile(InDir("all.rtf"))), WithoutListIds(all));
    EXPECT_EQ(ReadBack(InDir("all.rtf")), (std::vector<std::string>{"aaa bbb ccc", "Z\xE4hler"}));

    // A selection made backwards is saved forwards; the file holds the same bytes as the stream.
    View->SetSelectionBounds(1, 4, 0, 5);
    std::string sel;
    ASSERT_TRUE(View->SaveRTFToStream(sel, true));
    ASSERT_TRUE(View->SaveRTF(InDir("sel.rtf"), true));
    EXPECT_EQ(WithoutListIds(ReadFile(InDir("sel.rtf"))), WithoutListIds(sel));
    EXPECT_EQ(ReadBack(InDir("sel.rtf")), (std::vector<std::string>{"bbb ccc", "Z\xE4h"}));
    // The whole document whatever is selected.
    ASSERT_TRUE(View->SaveRTF(InDir("all2.rtf"), false));
    EXPECT_EQ(WithoutListIds(ReadFile(InDir("all2.rtf"))), WithoutListIds(ReadFile(InDir("all.rtf"))));
}

TEST_F(Saving, RTFFailuresAnswerFalse) {
    EXPECT_FALSE(View->SaveRTF(InDir("no/such/folder/x.rtf"), false));
    EXPECT_FALSE(View->SaveRTF(Dir.path().toStdString(), false)); // a folder, not a file
    // An existing file is not cut short by a save that fails.
    ASSERT_TRUE(View->SaveRTF(InDir("kept.rtf"), false));
    const std::string kept = ReadFile(InDir("kept.rtf"));
    View->SetStyle(nullptr);
    std::string s;
    EXPECT_FALSE(View->SaveRTFToStream(s, false));
    EXPECT_FALSE(View->SaveRTF(InDir("kept.rtf"), false));
    EXPECT_EQ(ReadFile(InDir("kept.rtf")), kept);
}

TEST_F(Saving, PlainTextAsAnsiOrUTF16) {
    std::string ansi, wide;
    ASSERT_TRUE(View->SaveTextToStream("", ansi, 80, false, false));
    EXPECT_EQ(ansi, "aaa bbb ccc\r\nZ\xE4hler");
    ASSERT_TRUE(View->SaveTextToStreamW("", wide, 80, false, false));
    // UTF-16 little-endian, no byte-order mark.
    const QString w = QString::fromUtf16(reinterpret_cast<const char16_t*>(wide.data()),
                                         static_cast<qsizetype>(wide.size() / 2));
    EXPECT_EQ(wide.size() % 2, 0u);
    EXPECT_EQ(w, QStringLiteral("aaa bbb ccc\r\nZ\u00E4hler"));
    View->SetSelectionBounds(0, 5, 1, 4);
    std::string sel;
    ASSERT_TRUE(View->SaveTextToStream("", sel, 80, true, false));
    EXPECT_EQ(sel, "bbb ccc\r\nZ\xE4h");
    // Nothing selected: nothing to write, which is no failure.
    View->Deselect();
    std::string none;
    EXPECT_TRUE(View->SaveTextToStream("", none, 80, true, false));
    EXPECT_EQ(none, "");
}

TEST_F(Saving, PicturesForHTMLFollowTheViewsSettings) {
    const std::string path = Dir.path().toStdString() + "/";
    const auto picture = SolidPicture(6, 4, clRed);
    View->HTMLImagesPrefix = "bild";
    EXPECT_EQ(View->SaveImageForHTML(picture.get(), rpsfHTML, path, clWhite), "bild1.jpg");
    EXPECT_EQ(View->SaveImageForHTML(picture.get(), rpsfHTML, path, clWhite), "bild2.jpg");
    EXPECT_EQ(View->HTMLImageSaveNo, 2);
    TPicture back;
    ASSERT_TRUE(back.LoadFromFile(QString::fromStdString(path + "bild2.jpg")));
    EXPECT_EQ(back.Width(), 6);
    // Counting again from the start passes files that exist, unless they may be overwritten.
    View->HTMLImageSaveNo = 0;
    EXPECT_EQ(View->SaveImageForHTML(picture.get(), rpsfHTML, path, clWhite), "bild3.jpg");
    View->HTMLImageSaveNo = 0;
    View->HTMLOverwriteImages = true;
    EXPECT_EQ(View->SaveImageForHTML(picture.get(), rpsfHTML, path, clWhite), "bild1.jpg");
    // No picture, or a folder that does not exist: no location, nothing raised.
    EXPECT_EQ(View->SaveImageForHTML(nullptr, rpsfHTML, path, clWhite), "");
    EXPECT_EQ(View->SaveImageForHTML(picture.get(), rpsfHTML, path + "no/such/", clWhite), "");
}

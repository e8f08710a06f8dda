// Pictures kept as bitmaps whose rows end in padding (238 pixels: two bytes a
// row at 8 and at 24 bits) save the same bytes in every format, whatever
// memory holds in the padding: RTF, RPF, HTML pictures and the clipboard.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

#include "ViewTestDoc.h"
#include "platform/Pictures.h"
#include "richtext/model/RPClipFormats.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPWriterTypes.h"
#include "support/RowPadding.h"

namespace {

// A bitmap of Width x 5 pixels in the pixel format, of a few colours.
std::unique_ptr<TBitmap> Stripes(int Width, TPixelFormat Format) {
    auto b = std::make_unique<TBitmap>(Width, 5);
    b->SetPixelFormat(Format);
    TCanvas* c = b->Canvas();
    c->Pen()->SetStyle(psClear);
    const TColor colours[] = {clRed, clBlue, clLime, clBlack};
    for (int i = 0; i < 4; ++i) {
        c->Brush()->SetColor(colours[i]);
        c->FillRect(Rect(i * Width / 4, 0, (i + 1) * Width / 4, 5));
    }
    c->Release();
    return b;
}

class PaddedPictures : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        View->AddText("Bilder", 0, 0);
        View->AddPicture("acht", Stripes(238, pf8bit), 0, 0);
        View->AddPicture("vierundzwanzig", Stripes(238, pf24bit), 0, 0);
        View->AddPicture("eins", Stripes(227, pf1bit), 0, 0);
        View->Format();
    }
    // Sets the bits after every row's last pixel in the pictures' memory.
    void Scribble(uint8_t V) {
        for (int i = 0; i < View->ItemCount(); ++i)
            if (auto* g = dynamic_cast<TRPGraphicItemInfo*>(View->GetItem(i)))
                ScribbleRowPadding(dynamic_cast<TBitmap&>(*g->Image).Image(), V);
    }
    static QByteArray ReadFile(const QString& Name) {
        QFile f(Name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // What each format makes of the document, by name.
    std::map<std::string, QByteArray> SaveAll() {
        std::map<std::string, QByteArray> out;
        const auto bytes = [](const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); };
        std::string rtf, rpf;
        EXPECT_TRUE(View->SaveRTFToStream(rtf, false));
        out["rtf"] = bytes(WithoutListIds(rtf));
        EXPECT_TRUE(View->SaveRPFToStream(rpf, false));
        out["rpf"] = bytes(rpf);
        QTemporaryDir dir;
        EXPECT_TRUE(dir.isValid());
        const std::string path = dir.path().toStdString() + "/";
        EXPECT_TRUE(
            View->RPData()->SaveHTML(path + "seite.html", "Bilder", "bild", 0, false, clWhite, nullptr));
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
            out["html " + name.toStdString()] = ReadFile(dir.filePath(name));
        // Picture files for the other formats are bitmap files.
        View->HTMLImageSaveNo = 0;
        for (int i = 1; i < View->ItemCount(); ++i) {
            const std::string at = View->SaveImageForHTML(
                static_cast<TRPGraphicItemInfo*>(View->GetItem(i))->Image.get(), rpsfRTF, path, clWhite);
            EXPECT_EQ(at.substr(at.size() - 4), ".bmp");
            out["file " + at] = ReadFile(QString::fromStdString(path + at));
        }
        View->SelectAll();
        EXPECT_TRUE(View->CopyToClipboard());
        const QMimeData* data = QApplication::clipboard()->mimeData();
        EXPECT_TRUE(data);
        if (data) {
            out["clipboard rpf"] = data->data(RPClipboardMimeType(RPClipboardFormatRPF));
            out["clipboard rtf"] =
                bytes(WithoutListIds(data->data(QStringLiteral("text/rtf")).toStdString()));
        }
        for (int i = 1; i < View->ItemCount(); ++i) {
            View->SetSelectionBounds(i, 0, i, 1);
            EXPECT_TRUE(View->CopyToClipboard());
            const QMimeData* one = QApplication::clipboard()->mimeData();
            const QImage img = one ? qvariant_cast<QImage>(one->imageData()) : QImage();
            EXPECT_FALSE(img.isNull());
            out["clipboard picture " + std::to_string(i)] =
                QByteArray(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes());
        }
        View->Deselect();
        return out;
    }
};

} // namespace

TEST_F(PaddedPictures, SaveTheSameBytesWhateverThePaddingHeld) {
    // As the pictures were made, then with the padding set and cleared.
    const auto made = SaveAll();
    Scribble(0xFF);
    const auto ones = SaveAll();
    Scribble(0x00);
    const auto zeros = SaveAll();
    // Four streams, the HTML page and its three pictures, three bitmap files
    // and the three pictures on the clipboard.
    EXPECT_EQ(made.size(), 4u + 4u + 3u + 3u);
    for (const auto& [name, bytes] : made) {
        EXPECT_GT(bytes.size(), 200) << name;
        for (const auto* other : {&ones, &zeros}) {
            ASSERT_TRUE(other->count(name)) << name;
            EXPECT_TRUE(bytes == other->at(name)) << name;
        }
        if (name.rfind("file ", 0) == 0) {
            EXPECT_EQ(RowsWithPadding(bytes), 0) << name;
        }
    }
    // The pictures read back from our RTF as they were.
    const std::string rtf = made.at("rtf").toStdString();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("bilder.rtf"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(rtf.data(), qsizetype(rtf.size()));
    }
    TRichPad back(Form.get());
    back.SetStyle(Style.get());
    ASSERT_TRUE(back.LoadRTF(file.toStdString()));
    int pictures = 0;
    for (int i = 0; i < back.ItemCount(); ++i)
        if (auto* g = dynamic_cast<TRPGraphicItemInfo*>(back.GetItem(i))) {
            ++pictures;
            const auto* was = static_cast<TRPGraphicItemInfo*>(View->GetItem(pictures))->Image.get();
            EXPECT_EQ(g->Image->ToImage(), was->ToImage()) << pictures;
        }
    EXPECT_EQ(pictures, 3);
}

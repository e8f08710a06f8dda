// The import's hooks for pictures: the replaceable graphic factory, the hook
// every read graphic passes, the document's own pictures of fields.
#include "RTFImportDoc.h"

#include "platform/Pictures.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPTextHelpers.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::string PngHex(int W, int H) {
    QImage img(W, H, QImage::Format_RGB32);
    img.fill(Qt::red);
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return png.toHex().toStdString();
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

} // namespace

#include "imaging/GIFImage.h"
#include "imaging/GifBuilder.h"
#include "imaging/RegisterImaging.h"

#include "platform/Clipboard.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include <memory>

namespace {

const TColor kWhite = RGB(255, 255, 255);
const TColor kRed = RGB(255, 0, 0);

// A 24-bit bitmap of one colour to draw on.
std::unique_ptr<TBitmap> Filled(int w, int h, TColor color) {
    auto b = std::make_unique<TBitmap>(w, h);
    b->SetPixelFormat(pf24bit);
    b->Canvas()->Brush()->SetColor(color);
    b->Canvas()->FillRect(TRect{0, 0, w, h});
    return b;
}

std::vector<uint8_t> Pixels(const TGIFFrame& f) {
    const QImage img = f.Bitmap()->Image().convertToFormat(QImage::Format_Indexed8);
    std::vector<uint8_t> out;
    for (int y = 0; y < img.height(); ++y)
        out.insert(out.end(), img.constScanLine(y), img.constScanLine(y) + img.width());
    return out;
}

QByteArray TwoFrameAnimation() {
    return GifBuilder(4, 3, "89a", 2)
        .Loop(0)
        .Control(5, 1, 2)
        .Frame(0, 0, 2, 2, {0, 1, 2, 3})
        .Frame(1, 1, 3, 2, {3, 3, 3, 1, 1, 1})
        .Trailer()
        .b;
}

} // namespace

TEST(GIFImageRead, ScreenFramesLoopAndGraphicControl) {
    TGIFImage gif;
    ASSERT_TRUE(gif.LoadFromStream(TwoFrameAnimation()));
    EXPECT_EQ(gif.GifVersion, 2);
    EXPECT_EQ(gif.ScreenWidth, 4);
    EXPECT_EQ(gif.ScreenHeight, 3);
    EXPECT_EQ(gif.BackColor, kRed);
    EXPECT_TRUE(gif.LoopEnabled);
    EXPECT_EQ(gif.LoopCount, 0);
    ASSERT_EQ(gif.Frames().size(), 2u);
    EXPECT_EQ(gif.CurrentFrame, 0);
    EXPECT_EQ(gif.Width(), 2);
    EXPECT_EQ(gif.Height(), 2);
    const TGIFFrame& f0 = *gif.Frames()[0];
    EXPECT_EQ(f0.TransColor, kWhite);
    EXPECT_EQ(f0.DelayMs, 50);
    EXPECT_EQ(f0.Disposal, 2);
    EXPECT_EQ(Pixels(f0), (std::vector<uint8_t>{0, 1, 2, 3}));
    const TGIFFrame& f1 = *gif.Frames()[1];
    EXPECT_EQ(f1.Origin, (TPoint{1, 1}));
    EXPECT_EQ(f1.TransColor, clNone);
    EXPECT_EQ(f1.DelayMs, 0);
    EXPECT_EQ(Pixels(f1), (std::vector<uint8_t>{3, 3, 3, 1, 1, 1}));
    EXPECT_FALSE(f1.Corrupt());

    // A delay beyond what fits in milliseconds is held at the largest value.
    ASSERT_TRUE(gif.LoadFromStream(GifBuilder(2, 1).Control(7000, -1, 0).Frame(0, 0, 2, 1, {1, 2}).Trailer().b));
    EXPECT_EQ(gif.Frames()[0]->DelayMs, 65535);
}

TEST(GIFImageRead, LoopCountIsCappedAndWrittenOnlyForAnimations) {
    TGIFImage gif;
    ASSERT_TRUE(gif.LoadFromStream(GifBuilder(2, 1).Loop(65535, "ANIMEXTS1.0").Frame(0, 0, 2, 1, {1, 2}).Trailer().b));
    EXPECT_TRUE(gif.LoopEnabled);
    EXPECT_EQ(gif.LoopCount, 30000);
    EXPECT_FALSE(gif.SaveToStream().contains("NETSCAPE2.0")); // one frame only

    ASSERT_TRUE(gif.LoadFromStream(TwoFrameAnimation()));
    const QByteArray saved = gif.SaveToStream();
    EXPECT_TRUE(saved.contains(QByteArray("!\xFF\x0BNETSCAPE2.0\x03\x01\0\0\0", 19)));
    TGIFImage again;
    ASSERT_TRUE(again.LoadFromStream(saved));
    EXPECT_TRUE(again.LoopEnabled);
    EXPECT_EQ(again.LoopCount, 0);
    ASSERT_EQ(again.Frames().size(), 2u);
    EXPECT_EQ(again.Frames()[0]->TransColor, kWhite);
    EXPECT_EQ(again.Frames()[0]->DelayMs, 50);
    EXPECT_EQ(again.Frames()[0]->Disposal, 2);
    EXPECT_EQ(again.Frames()[1]->Origin, (TPoint{1, 1}));
    EXPECT_EQ(Pixels(*again.Frames()[1]), (std::vector<uint8_t>{3, 3, 3, 1, 1, 1}));
}

TEST(GIFImageRead, CommentsBeforeTheTrailerFormTheImageComment) {
    TGIFImage gif;
    ASSERT_TRUE(gif.LoadFromStream(GifBuilder(2, 1)
                                       .Ext(0xFE, {}, {"x"})
                                       .Frame(0, 0, 2, 1, {0, 1})
                                       .Ext(0xFE, {}, {"a"})
                                       .Ext(0xFE, {}, {"b"})
                                       .Trailer()
                                       .b));
    EXPECT_EQ(gif.Comment(), (QStringList{"a", "\r\n\r\n", "b"}));
    const TGIFFrame& f = *gif.Frames()[0];
    ASSERT_EQ(f.Extensions.size(), 1u);
    EXPECT_EQ(f.Extensions[0]->ExtType, etComment);
    EXPECT_EQ(*f.Extensions[0]->Data, QStringList{"x"});

    // A plain-text extension drops what was collected before it.
    ASSERT_TRUE(gif.LoadFromStream(GifBuilder(2, 1)
                                       .Ext(0xFE, {}, {"x"})
                                       .Ext(0x01, QByteArray(13, '\x0C'), {"text"})
                                       .Frame(0, 0, 2, 1, {0, 1})
                                       .Trailer()
                                       .b));
    EXPECT_TRUE(gif.Frames()[0]->Extensions.empty());
}

TEST(GIFImageWrite, LongCommentLinesAreCutToOneSubBlock) {
    TGIFImage gif;
    ASSERT_TRUE(gif.LoadFromStream(GifBuilder(2, 1, "87a").Frame(0, 0, 2, 1, {0, 1}).Trailer().b));
    EXPECT_EQ(gif.GifVersion, 1);
    gif.Comment() = QStringList{QString(300, 'c'), QString()};
    const QByteArray saved = gif.SaveToStream();
    EXPECT_TRUE(saved.startsWith("GIF89a"));
    EXPECT_TRUE(saved.endsWith(QByteArray("!\xFE\xFF", 3) + QByteArray(255, 'c') + QByteArray("\0;", 2)));
}

TEST(GIFImageWrite, TrueColourFramesAreReducedToEightBits) {
    TBitmap bmp(3, 2);
    bmp.SetPixelFormat(pf24bit);
    const QColor colours[6] = {Qt::red, Qt::green, Qt::blue, Qt::red, QColor(1, 2, 3), Qt::red};
    for (int i = 0; i < 6; ++i) bmp.Image().setPixelColor(i % 3, i / 3, colours[i]);
    TGIFImage gif;
    EXPECT_EQ(gif.AddFrame(bmp), 0);
    EXPECT_EQ(gif.GifVersion, 1);
    EXPECT_EQ(gif.ScreenWidth, 3);
    const QByteArray saved = gif.SaveToStream();
    ASSERT_FALSE(saved.isEmpty());
    EXPECT_EQ(gif.Frames()[0]->Item().BitsPerPixel, 8);
    TGIFImage again;
    ASSERT_TRUE(again.LoadFromStream(saved));
    const QImage img = again.ToImage();
    for (int i = 0; i < 6; ++i) EXPECT_EQ(img.pixelColor(i % 3, i / 3), colours[i]) << i;
    // Red is the most frequent colour.
    EXPECT_EQ(again.Frames()[0]->Item().ColorTable.Color(0), kRed);

    EXPECT_EQ(gif.AddFrame(bmp), 1);
    EXPECT_EQ(gif.GifVersion, 2);
}

TEST(GIFImageWrite, NothingToWrite) {
    TGIFImage gif;
    EXPECT_TRUE(gif.SaveToStream().isEmpty());
    try {
        gif.WriteStream(false);
        FAIL() << "no exception";
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_STREQ(e.what(), "No GIF Data to write");
    }
    try {
        gif.SetWidth(3);
        FAIL() << "no exception";
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_STREQ(e.what(), "Cannot change the Size of a GIF image");
    }
}

TEST(GIFImageWrite, FormDataCarriesTheByteCount) {
    TGIFImage gif;
    ASSERT_TRUE(gif.LoadFromStream(TwoFrameAnimation()));
    const QByteArray data = gif.WriteData();
    EXPECT_EQ(qFromLittleEndian<uint32_t>(data.constData()), uint32_t(data.size() - 4));
    TGIFImage again;
    ASSERT_TRUE(again.ReadData(data));
    EXPECT_EQ(again.Frames().size(), 2u);
    EXPECT_FALSE(again.ReadData(data.left(data.size() - 1)));
}

TEST(GIFImageRead, BadInputIsRefusedAndLeavesThePicture) {
    TGIFImage gif;
    ASSERT_TRUE(gif.LoadFromStream(TwoFrameAnimation()));
    const auto refused = [&](const QByteArray& data) {
        const bool ok = gif.LoadFromStream(data);
        return !ok && gif.Frames().size() == 2 && gif.ScreenWidth == 4;
    };
    EXPECT_TRUE(refused("GIF88a\x01\0\x01\0\0\0\0;"));
    EXPECT_TRUE(refused("PNG89a\x01\0\x01\0\0\0\0;"));
    EXPECT_TRUE(refused("GIF89"));
    // A comment followed by a stray byte.
    EXPECT_TRUE(refused(GifBuilder(2, 1).Ext(0xFE, {}, {"a"}).b + "x"));
    // A frame of 65535 x 65535 pixels is not allocated.
    EXPECT_TRUE(refused(GifBuilder(65535, 65535).Frame(0, 0, 0, 0, {}).Trailer().b));
    EXPECT_TRUE(gif.LoadFromStream(QByteArray("gif89a\x01\0\x01\0\0\0\0;", 14))); // case of "GIF" is free
    EXPECT_TRUE(gif.Frames().empty());
    EXPECT_TRUE(gif.Empty());
}

TEST(GIFImageRead, TruncatedFilesKeepWhatWasThere) {
    const QByteArray full = TwoFrameAnimation();
    for (qsizetype n = 0; n < full.size(); ++n) {
        TGIFImage gif;
        gif.LoadFromStream(full.left(n)); // never crashes
        for (const auto& f : gif.Frames()) f->Bitmap();
    }
    // Cut inside the second frame's data: it is kept and marked damaged.
    TGIFImage gif;
    ASSERT_TRUE(gif.LoadFromStream(full.left(full.size() - 3)));
    ASSERT_EQ(gif.Frames().size(), 2u);
    EXPECT_FALSE(gif.Frames()[0]->Corrupt());
    gif.Frames()[1]->Bitmap();
    EXPECT_TRUE(gif.Frames()[1]->Corrupt());
}

TEST(GIFImage, AssignSharesDataAndCopiesFrames) {
    TGIFImage gif;
    ASSERT_TRUE(gif.LoadFromStream(TwoFrameAnimation()));
    gif.CurrentFrame = 1;
    std::unique_ptr<TGraphic> copy = gif.Clone();
    auto* other = dynamic_cast<TGIFImage*>(copy.get());
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(other->Equals(gif));
    EXPECT_EQ(other->CurrentFrame, 1);
    EXPECT_EQ(other->Width(), 3);
    EXPECT_EQ(other->Frames()[0]->DelayMs, 50);
    EXPECT_EQ(other->SaveToStream(), gif.SaveToStream());

    TGIFImage single;
    single.Assign(*gif.Frames()[1]);
    EXPECT_FALSE(single.Equals(gif));
    ASSERT_EQ(single.Frames().size(), 1u);
    EXPECT_EQ(single.GifVersion, 1);
    EXPECT_EQ(single.Data().ColorTable.Color(3), RGB(0, 0, 255));
    EXPECT_EQ(Pixels(*single.Frames()[0]), (std::vector<uint8_t>{3, 3, 3, 1, 1, 1}));

    const std::unique_ptr<TBitmap> bmp = gif.AssignToBitmap();
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(bmp->Width(), 3);
    gif.CurrentFrame = 0;
    EXPECT_TRUE(gif.AssignToBitmap()->Transparent());
}

TEST(GIFImage, DrawLeavesTheTransparentColourOut) {
    TGIFImage gif;
    ASSERT_TRUE(gif.LoadFromStream(TwoFrameAnimation()));
    const std::unique_ptr<TBitmap> target = Filled(4, 4, RGB(0, 128, 0));
    gif.Draw(*target->Canvas(), TRect{0, 0, 4, 4}); // not transparent: all drawn
    EXPECT_EQ(target->Canvas()->Pixel(2, 0), kWhite);
    target->Canvas()->FillRect(TRect{0, 0, 4, 4});
    gif.SetTransparent(true);
    EXPECT_TRUE(gif.Transparent());
    gif.Draw(*target->Canvas(), TRect{0, 0, 4, 4});
    EXPECT_EQ(target->Canvas()->Pixel(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(target->Canvas()->Pixel(2, 0), RGB(0, 128, 0));
    EXPECT_EQ(target->Canvas()->Pixel(0, 2), kRed);
}

// The transparent index names one palette entry; another entry of the same
// colour stays opaque, on a canvas and in the picture's image alike.
TEST(GIFImage, TransparencyFollowsThePaletteIndexNotTheColour) {
    const QByteArray table("\xFF\0\0\xFF\0\0\0\0\xFF\0\0\0", 12); // red, red, blue, black
    TGIFImage gif;
    ASSERT_TRUE(gif.LoadFromStream(GifBuilder(4, 1).Control(0, 1, 0).LocalFrame(4, 1, table, {0, 1, 2, 1}).Trailer().b));
    ASSERT_EQ(gif.Frames()[0]->TransColor, kRed);
    gif.SetTransparent(true);
    const std::unique_ptr<TBitmap> target = Filled(4, 1, RGB(0, 128, 0));
    gif.Draw(*target->Canvas(), TRect{0, 0, 4, 1});
    EXPECT_EQ(target->Canvas()->Pixel(0, 0), kRed);
    EXPECT_EQ(target->Canvas()->Pixel(1, 0), RGB(0, 128, 0));
    EXPECT_EQ(target->Canvas()->Pixel(2, 0), RGB(0, 0, 255));
    EXPECT_EQ(target->Canvas()->Pixel(3, 0), RGB(0, 128, 0));
    // Stretched, each pixel keeps its own answer.
    const std::unique_ptr<TBitmap> wide = Filled(8, 2, kWhite);
    gif.Draw(*wide->Canvas(), TRect{0, 0, 8, 2});
    EXPECT_EQ(wide->Canvas()->Pixel(1, 1), kRed);
    EXPECT_EQ(wide->Canvas()->Pixel(3, 1), kWhite);
    const QImage image = gif.ToImage();
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(image.pixel(1, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(3, 0)), 0);
    // Saved and read again, the same entry is the transparent one.
    TGIFImage again;
    ASSERT_TRUE(again.LoadFromStream(gif.SaveToStream()));
    again.SetTransparent(true);
    const QImage back = again.ToImage();
    EXPECT_EQ(back.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(back.pixel(1, 0)), 0);
    // A two-colour frame (1 bit per pixel) leaves out its transparent entry, not white.
    QByteArray mono("GIF89a\2\0\1\0\x80\0\0\xFF\xFF\xFF\0\0\0", 19); // white, black
    mono.append("!\xF9\x04\x01\0\0\x01\0", 8);                          // transparent index 1
    mono.append(",\0\0\0\0\2\0\1\0\0", 10);
    mono.append(GIFEncodeLZW({0, 1}, 2, 1, 2, false));
    mono.append(';');
    TGIFImage two;
    ASSERT_TRUE(two.LoadFromStream(mono));
    ASSERT_EQ(two.Frames()[0]->Bitmap()->Image().format(), QImage::Format_Mono);
    two.SetTransparent(true);
    const std::unique_ptr<TBitmap> monoTarget = Filled(2, 1, RGB(0, 128, 0));
    two.Draw(*monoTarget->Canvas(), TRect{0, 0, 2, 1});
    EXPECT_EQ(monoTarget->Canvas()->Pixel(0, 0), kWhite);
    EXPECT_EQ(monoTarget->Canvas()->Pixel(1, 0), RGB(0, 128, 0));
    const QImage monoImage = two.ToImage();
    EXPECT_EQ(monoImage.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(qAlpha(monoImage.pixel(1, 0)), 0);

    // A picture put in the frame's place has no indexes to go by: its colour is left out.
    auto red = std::make_unique<TBitmap>(2, 1);
    red->SetPixelFormat(pf24bit);
    red->Canvas()->Brush()->SetColor(kRed);
    red->Canvas()->FillRect(TRect{0, 0, 1, 1});
    TGIFFrame& frame = *gif.Frames()[0];
    frame.Bitmap()->Assign(*red);
    EXPECT_EQ(qAlpha(frame.TransparentImage().pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(frame.TransparentImage().pixel(1, 0)), 255);
}

TEST(GIFImage, RegisteredWithThePictureHolder) {
    RegisterImagingFormats();
    TPicture pic;
    ASSERT_TRUE(pic.LoadFromStream(TwoFrameAnimation()));
    EXPECT_EQ(pic.Graphic()->ClassName(), "TGIFImage");
    EXPECT_EQ(pic.Width(), 2);
    EXPECT_NE(TPicture::CreateForExtension("GIF"), nullptr);
    EXPECT_TRUE(TPicture::FileFilters().contains("CompuServe GIF Image (*.gif)"));
}

TEST(GIFImage, ClipboardCarriesTheGifWithItsByteCount) {
    TGIFImage gif;
    ASSERT_TRUE(gif.LoadFromStream(TwoFrameAnimation()));
    gif.SaveToClipboardFormat();
    const QByteArray data = Clipboard()->GetAsHandle(TGIFImage::ClipboardFormat());
    EXPECT_EQ(ClipboardFormatName(TGIFImage::ClipboardFormat()), "GIF Image");
    ASSERT_GE(data.size(), 4);
    EXPECT_EQ(qFromLittleEndian<uint32_t>(data.constData()), uint32_t(data.size() - 4));
    TGIFImage pasted;
    ASSERT_TRUE(pasted.LoadFromClipboardFormat());
    EXPECT_EQ(pasted.Frames().size(), 2u);
    EXPECT_EQ(pasted.CurrentFrame, 0);
    EXPECT_EQ(Pixels(*pasted.Frames()[1]), (std::vector<uint8_t>{3, 3, 3, 1, 1, 1}));
    // The picture holder knows the format and loads the GIF through it; the
    // icon format is known as well.
    RegisterImagingFormats();
    EXPECT_TRUE(TPicture::SupportsClipboardFormat(TGIFImage::ClipboardFormat()));
    EXPECT_TRUE(TPicture::SupportsClipboardFormat(IconClipboardFormat()));
    TPicture pic;
    ASSERT_TRUE(pic.LoadFromClipboardFormat(TGIFImage::ClipboardFormat()));
    ASSERT_NE(pic.Graphic(), nullptr);
    EXPECT_EQ(pic.Graphic()->ClassName(), "TGIFImage");
    EXPECT_EQ(static_cast<TGIFImage*>(pic.Graphic())->Frames().size(), 2u);
    EXPECT_FALSE(pic.LoadFromClipboardFormat(CF_TEXT));
    EXPECT_EQ(pic.Graphic()->ClassName(), "TGIFImage");

    // A frame without coded data puts nothing there.
    Clipboard()->Clear();
    TBitmap bmp(2, 2);
    TGIFImage fresh;
    fresh.AddFrame(bmp);
    fresh.SaveToClipboardFormat();
    EXPECT_FALSE(Clipboard()->HasFormat(TGIFImage::ClipboardFormat()));
}

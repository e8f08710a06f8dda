// Icons, animated cursors and icon lists: files written here are read back,
// and damaged ones give a clear error and nothing else.
#include "imaging/AniBuilder.h"
#include "imaging/AnimatedCursor.h"
#include "imaging/GIFImage.h"
#include "imaging/IconList.h"
#include "platform/LittleEndian.h"
#include "platform/PropertyStream.h"

#include "platform/Colors.h"

#include <gtest/gtest.h>

using namespace ani;

namespace {

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kGreen = qRgb(0, 255, 0);

// Three icons; the second is a cursor with hot spot (3, 5).
QByteArray ThreeFrameCursor(const QList<QByteArray>& extra = {}) {
    QList<QByteArray> chunks{
        List("INFO", {Chunk("INAM", "Sanduhr\0x"), Chunk("IART", "Klasse 4b")}),
        Header(3, 3, 10),
        Chunk("rate", Values({4, 5, 6})), // one chunk: only the first frame's rate
        List("fram", {Chunk("icon", IconFile(8, 6, kRed)), Chunk("icon", CursorFile(4, 4, kBlue, 3, 5)),
                      Chunk("icon", EightBitIconFile())}),
    };
    chunks.append(extra);
    return Riff(chunks);
}

bool Refused(TAnimatedCursorImage& ani, const QByteArray& data) {
    try {
        ani.LoadFromStream(data);
    } catch (const EReadError& e) {
        return QString::fromUtf8(e.what()) == QStringLiteral("Stream-Read-Fehler") &&
               ani.IconFrames.empty() && ani.Title.isEmpty();
    }
    return false;
}

} // namespace

TEST(Icon, FilesOfEveryKindAreReadAndRefusedCleanly) {
    TIcon icon;
    ASSERT_TRUE(icon.LoadFromStream(IconFile(8, 6, kRed)));
    EXPECT_EQ(icon.Width(), 8);
    EXPECT_EQ(icon.Height(), 6);
    EXPECT_TRUE(icon.Transparent());
    EXPECT_EQ(qAlpha(icon.Image().pixel(0, 0)), 0);
    EXPECT_EQ(icon.Image().pixel(7, 5), qRgba(255, 0, 0, 255));
    EXPECT_EQ(icon.SaveToStream(), IconFile(8, 6, kRed)); // bytes kept as read

    ASSERT_TRUE(icon.LoadFromStream(EightBitIconFile()));
    const QImage img = icon.Image();
    EXPECT_EQ(img.pixel(0, 0), qRgba(255, 0, 0, 255));
    EXPECT_EQ(img.pixel(1, 0), qRgba(0, 255, 0, 255));
    EXPECT_EQ(img.pixel(0, 1), qRgba(0, 255, 0, 255));
    EXPECT_EQ(qAlpha(img.pixel(1, 1)), 0);
    // Known to the picture holder by its signature.
    TPicture picture;
    ASSERT_TRUE(picture.LoadFromStream(EightBitIconFile()));
    EXPECT_EQ(picture.Graphic()->ClassName(), QStringLiteral("TIcon"));

    const QByteArray good = IconFile(4, 4, kBlue);
    QByteArray cursor = good;
    cursor[2] = '\2';
    QByteArray outside = good;
    outside[18] = '\x7F'; // offset of the image beyond the file
    QByteArray huge = good;
    huge[27] = '\x40'; // image width 0x4004 in the bitmap header
    QByteArray noImages = good;
    noImages[4] = '\0';
    for (const QByteArray& bad : {QByteArray(), QByteArray("\0\0\1\0", 4), cursor, outside, huge, noImages,
                                  good.left(good.size() - 20)}) {
        ASSERT_TRUE(icon.LoadFromStream(good));
        EXPECT_FALSE(icon.LoadFromStream(bad));
        EXPECT_EQ(icon.Width(), 4); // unchanged
    }
    for (qsizetype n = 0; n < good.size(); ++n)
        TIcon().LoadFromStream(good.left(n)); // never crashes
}

TEST(AnimatedCursor, FramesRatesHotSpotsAndTexts) {
    TAnimatedCursorImage ani;
    ani.LoadFromStream(ThreeFrameCursor());
    EXPECT_EQ(ani.Title, QStringLiteral("Sanduhr"));
    EXPECT_EQ(ani.Author, QStringLiteral("Klasse 4b"));
    ASSERT_EQ(ani.IconFrames.size(), 3u);
    EXPECT_EQ(ani.Header.nSteps, 3u);
    EXPECT_EQ(ani.Header.iDispRate, 10u);
    EXPECT_EQ(ani.MaxColors, 256);

    const TIconFrame& f0 = *ani.IconFrames[0];
    EXPECT_EQ(f0.JiffRate, 4u);
    EXPECT_EQ(f0.FrameIndex, 0);
    EXPECT_TRUE(f0.IsIcon);
    EXPECT_EQ(f0.HotSpot, (TPoint{4, 3})); // an icon's centre
    EXPECT_EQ(QByteArray(f0.ChunkId, 4), QByteArray("icon"));
    EXPECT_EQ(f0.ChunkSize, uint32_t(IconFile(8, 6, kRed).size()));
    EXPECT_EQ(f0.Icon->Width(), 8);

    const TIconFrame& f1 = *ani.IconFrames[1];
    EXPECT_EQ(f1.JiffRate, 10u); // the default rate
    EXPECT_FALSE(f1.IsIcon);
    EXPECT_EQ(f1.HotSpot, (TPoint{3, 5})); // from the cursor's directory
    EXPECT_EQ(f1.Icon->Image().pixel(2, 2), qRgba(0, 0, 255, 255));
    EXPECT_EQ(ani.IconFrames[2]->JiffRate, 10u);
    EXPECT_EQ(ani.IconFrames[2]->Icon->Width(), 2);
}

TEST(AnimatedCursor, SequenceExtraIconsAndFramesWithoutIcons) {
    // Four frames declared; the sequence sends frames 0 and 1 to icon 1 and
    // frames 2, 3 to icons 5 and 6 that do not exist. Icons 0 and 2 are
    // listed nowhere and become frames of their own.
    TAnimatedCursorImage ani;
    ani.LoadFromStream(
        Riff({Header(4, 4, 7), Chunk("seq ", Values({1})), Chunk("seq ", Values({1})),
              Chunk("seq ", Values({5})), Chunk("seq ", Values({6})),
              List("fram", {Chunk("icon", IconFile(2, 2, kRed)), Chunk("icon", IconFile(3, 3, kBlue)),
                            Chunk("junk", "xx"), Chunk("icon", IconFile(4, 4, kGreen))})}));
    ASSERT_EQ(ani.IconFrames.size(), 4u);
    EXPECT_EQ(ani.Header.nSteps, 4u);
    EXPECT_EQ(ani.IconFrames[0]->Icon->Width(), 3);
    EXPECT_EQ(ani.IconFrames[1]->Icon->Width(), 3);
    EXPECT_EQ(ani.IconFrames[2]->FrameIndex, -1);
    EXPECT_EQ(ani.IconFrames[2]->Icon->Width(), 2);
    EXPECT_EQ(ani.IconFrames[2]->JiffRate, 7u);
    EXPECT_EQ(ani.IconFrames[3]->Icon->Width(), 4);

    // A damaged icon leaves its frame out; the others stay.
    QByteArray damaged = IconFile(5, 5, kRed);
    damaged[2] = '\7';
    ani.LoadFromStream(
        Riff({Header(2, 2, 1), List("fram", {Chunk("icon", damaged), Chunk("icon", IconFile(6, 6, kRed))})}));
    ASSERT_EQ(ani.IconFrames.size(), 1u);
    EXPECT_EQ(ani.IconFrames[0]->FrameIndex, 1);
}

TEST(AnimatedCursor, DamagedFilesGiveAReadErrorAndNoCursor) {
    TAnimatedCursorImage ani;
    const QByteArray icons = List("fram", {Chunk("icon", IconFile(2, 2, kRed))});
    QByteArray shortHeader = Header(1, 1, 1);
    shortHeader[4] = '\x20'; // 32 bytes: less than a header
    EXPECT_TRUE(Refused(ani, QByteArray("RIFX\0\0\0\0ACON", 12)));
    EXPECT_TRUE(Refused(ani, QByteArray("RIFF\0\0\0\0AVI ", 12)));
    EXPECT_TRUE(Refused(ani, Riff({Header(1, 1, 1, 0), icons}))); // frames are not icons
    EXPECT_TRUE(Refused(ani, Riff({Header(1, 0, 1), icons})));    // no steps
    EXPECT_TRUE(Refused(ani, Riff({Header(1, 1, 1)})));           // no icons at all
    EXPECT_TRUE(Refused(ani, Riff({shortHeader + QByteArray(4, '\0'), icons})));
    EXPECT_TRUE(Refused(ani, Riff({Header(2000000000, 1, 1), icons}))); // more frames than bytes
    EXPECT_TRUE(Refused(ani, Riff({Header(2000, 1, 1), QByteArray(2000 * 8, '\0'), icons})));
    EXPECT_TRUE(Refused(ani, Riff({Header(1, 100000, 1), icons})));
    // Before a failure the image held a cursor: it is gone afterwards.
    ani.LoadFromStream(ThreeFrameCursor());
    EXPECT_TRUE(Refused(ani, Riff({Header(1, 1, 1)})));
    EXPECT_EQ(ani.MaxColors, 0);

    // A cut file keeps the frames of its complete chunks, or is refused.
    const QByteArray full = ThreeFrameCursor();
    for (qsizetype n = 0; n < full.size(); ++n) {
        try {
            ani.LoadFromStream(full.left(n));
            EXPECT_FALSE(ani.IconFrames.empty());
        } catch (const EReadError&) {
            EXPECT_TRUE(ani.IconFrames.empty());
        }
    }
    // A chunk larger than the rest of the file ends the reading there.
    QByteArray cut = ThreeFrameCursor(QList<QByteArray>{QByteArray("LIST\xFF\xFF\xFF\x7F"
                                                                   "fram",
                                                                   12)});
    ani.LoadFromStream(cut);
    EXPECT_EQ(ani.IconFrames.size(), 3u);
}

TEST(AnimatedCursor, HandsItsFramesToIconsBitmapsListsAndGifs) {
    TAnimatedCursorImage ani;
    ani.LoadFromStream(ThreeFrameCursor());

    TIcon icon;
    ASSERT_TRUE(ani.AssignTo(icon));
    EXPECT_EQ(icon.Width(), 8);

    TBitmap strip;
    strip.Canvas()->Brush()->SetColor(clWhite);
    ASSERT_TRUE(ani.AssignTo(strip));
    EXPECT_EQ(strip.Width(), 24);
    EXPECT_EQ(strip.Height(), 6);
    EXPECT_EQ(strip.PixelFormat(), pf8bit); // 256 colours at most
    const QImage s = strip.Image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(s.pixel(0, 0), qRgb(255, 255, 255)); // clear pixel on the brush colour
    EXPECT_EQ(s.pixel(7, 5), kRed);
    EXPECT_EQ(s.pixel(10, 2), kBlue);
    EXPECT_EQ(s.pixel(16, 0), kRed);
    EXPECT_EQ(s.pixel(20, 3), qRgb(255, 255, 255));
    TBitmap column;
    ASSERT_TRUE(ani.AssignTo(column, true));
    EXPECT_EQ(column.Width(), 8);
    EXPECT_EQ(column.Height(), 18);

    TIconList list;
    int changes = 0;
    list.OnChange = [&] { ++changes; };
    ani.AssignTo(list);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.Get(1)->Width(), 4);

    TAnimatedCursorImage copy;
    copy.Assign(ani);
    ASSERT_EQ(copy.IconFrames.size(), 3u);
    EXPECT_EQ(copy.IconFrames[1]->HotSpot, (TPoint{3, 5}));
    EXPECT_NE(copy.IconFrames[1]->Icon.get(), ani.IconFrames[1]->Icon.get());

    TGIFImage gif;
    gif.Assign(ani);
    ASSERT_EQ(gif.Frames().size(), 3u);
    EXPECT_EQ(gif.BackColor, clWindow);
    EXPECT_EQ(gif.Frames()[0]->DelayMs, 66); // 4 jiffies
    EXPECT_EQ(gif.Frames()[1]->DelayMs, 166);
    EXPECT_EQ(gif.Frames()[0]->TransColor, clWhite);
    EXPECT_EQ(gif.ScreenWidth, 8);
    TGIFImage back;
    ASSERT_TRUE(back.LoadFromStream(gif.SaveToStream()));
    EXPECT_EQ(back.Frames().size(), 3u);
    EXPECT_EQ(back.Frames()[0]->Bitmap()->Image().pixelColor(7, 5), QColor(Qt::red));
}

TEST(IconList, EditingStreamingAndChanges) {
    TIcon red, blue;
    ASSERT_TRUE(red.LoadFromStream(IconFile(2, 2, kRed)));
    ASSERT_TRUE(blue.LoadFromStream(IconFile(3, 3, kBlue)));
    TIconList list;
    int changes = 0;
    list.OnChange = [&] { ++changes; };
    EXPECT_EQ(list.Add(&red), 0);
    EXPECT_EQ(list.Add(nullptr), 1);
    list.Insert(0, &blue);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.Get(0)->Width(), 3);
    EXPECT_EQ(list.Get(2), nullptr);
    EXPECT_NE(list.Get(1), &red); // a copy
    EXPECT_EQ(list.IndexOf(list.Get(1)), 1);
    list.Exchange(0, 1);
    list.Move(2, 0);
    EXPECT_EQ(list.Get(0), nullptr);
    EXPECT_EQ(list.Get(1)->Width(), 2);
    list.Put(0, &red); // an icon for the empty entry
    ASSERT_NE(list.Get(0), nullptr);
    list.Put(3, &blue); // at the count: appended
    EXPECT_EQ(list.GetCount(), 4);
    // Changing an icon of the list is a change of the list.
    changes = 0;
    list.Get(3)->SetImage(QImage(1, 1, QImage::Format_ARGB32));
    EXPECT_EQ(changes, 1);
    list.BeginUpdate();
    list.Delete(3);
    list.Add(nullptr);
    list.BeginUpdate();
    list.EndUpdate();
    EXPECT_EQ(changes, 1);
    list.EndUpdate();
    EXPECT_EQ(changes, 2);

    // Stream: count, then size and bytes; the empty entry with size 0.
    const QByteArray stream = list.SaveToStream();
    TIconList back;
    back.LoadFromStream(stream);
    ASSERT_EQ(back.GetCount(), 4);
    EXPECT_EQ(back.Get(0)->Width(), 2);
    EXPECT_EQ(back.Get(3), nullptr);
    EXPECT_EQ(back.SaveToStream(), stream);
    EXPECT_TRUE(stream.endsWith(QByteArray(4, '\0')));

    // Damaged streams leave the list as it was.
    QByteArray bigCount = stream;
    bigCount[3] = '\x7F';
    QByteArray badIcon = stream;
    badIcon[8 + 2] = '\x09';
    for (const QByteArray& bad : {QByteArray("\1\0", 2), bigCount, badIcon, stream.left(stream.size() - 5)}) {
        try {
            back.LoadFromStream(bad);
            ADD_FAILURE() << "read";
        } catch (const EReadError&) {
        }
        EXPECT_EQ(back.GetCount(), 4);
    }

    TIconList one;
    one.Assign(red);
    EXPECT_EQ(one.GetCount(), 1);
    EXPECT_TRUE(one.StoresIcons(nullptr));
    TIconList same;
    same.Assign(&one);
    EXPECT_TRUE(one.StoresIcons(&same)); // other icon objects
    EXPECT_FALSE(one.StoresIcons(&one));
    one.Assign(static_cast<const TIconList*>(nullptr));
    EXPECT_FALSE(one.StoresIcons(nullptr));
}

// A form keeps the list's icons as its "Icons" property and gives them back.
TEST(IconList, FormStreamingKeepsTheIcons) {
    TIcon red, blue;
    ASSERT_TRUE(red.LoadFromStream(IconFile(2, 2, kRed)));
    ASSERT_TRUE(blue.LoadFromStream(IconFile(3, 3, kBlue)));
    TIconList list;
    list.Add(&red);
    list.Add(nullptr);
    list.Add(&blue);
    TPropertyWriter writer;
    list.DefineProperties(writer, nullptr);
    const QByteArray form = writer.Data();
    // One property: its name and the list's own stream as raw bytes.
    QByteArray expected("\1\0\0\0\5Icons", 10);
    const QByteArray icons = list.SaveToStream();
    AppendLe32(expected, uint32_t(icons.size()));
    EXPECT_EQ(form, expected + icons);

    TPropertyReader reader;
    ASSERT_TRUE(reader.Parse(form));
    TIconList back;
    int changes = 0;
    back.OnChange = [&] { ++changes; };
    back.ReadProperties(reader);
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(back.GetCount(), 3);
    EXPECT_EQ(back.Get(0)->Image().pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(back.Get(1), nullptr);
    EXPECT_EQ(back.Get(2)->Width(), 3);
    EXPECT_EQ(back.SaveToStream(), icons);

    // An empty list, and the ancestor's own list, are not stored; a form
    // without the property leaves the list as it is.
    TPropertyWriter none;
    TIconList().DefineProperties(none, nullptr);
    list.DefineProperties(none, &list);
    EXPECT_EQ(none.Count(), 0);
    ASSERT_TRUE(reader.Parse(none.Data()));
    back.ReadProperties(reader);
    EXPECT_EQ(back.GetCount(), 3);

    // Damaged icon data in the form is refused and the list stays.
    QByteArray damaged = form;
    damaged[10 + 4 + 8 + 2] = '\x09'; // the first icon's type
    ASSERT_TRUE(reader.Parse(damaged));
    EXPECT_THROW(back.ReadProperties(reader), EReadError);
    EXPECT_EQ(back.GetCount(), 3);
}

// Drops from other programs (RTF, HTML, text, pictures, files, links),
// what a drag out of the editor offers, and how a drag ends.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>

#include "EditTestSupport.h"
#include "platform/Pictures.h"
#include "richtext/model/RPClipFormats.h"
#include "richtext/model/RPItemNonText.h"
#include "support/MetafileBuilder.h"
#include "support/PlainPng.h"

namespace {

// Where a drop lands after the first Chars characters of the first line
// (characters are 10 px wide from the left margin of 5, inside a 2 px border).
QPointF After(int Chars) {
    return QPointF(5 + 10 * Chars + 2, 12);
}

// Hands a drag event to the control as the window system does; answers
// whether the control took it and with which action.
Qt::DropAction Deliver(TEditFixture& f, QDropEvent& Event) {
    static_cast<TControl*>(f.Edit)->HandleEvent(&Event);
    return Event.isAccepted() ? Event.dropAction() : Qt::IgnoreAction;
}

Qt::DropAction Drop(TEditFixture& f, const QMimeData& Data, int Chars) {
    QDropEvent drop(After(Chars), Qt::CopyAction | Qt::MoveAction, &Data, Qt::LeftButton, Qt::NoModifier);
    return Deliver(f, drop);
}

QByteArray PNG(int W, int H) {
    return PlainPng(W, H, QColor(Qt::darkGreen).rgb());
}

void WriteFile(const QString& Path, const QByteArray& Bytes) {
    QFile f(Path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Bytes);
}

} // namespace

TEST(EditDropIn, EveryFormatOfAnotherProgramLandsWhereTheMouseIsAndIsSelected) {
    TEditFixture f;
    f.Load("abcdef");
    QMimeData rtf;
    rtf.setData("text/rtf", "{\\rtf1\\ansi {\\b fett}}");
    EXPECT_EQ(Drop(f, rtf, 3), Qt::CopyAction);
    EXPECT_EQ(PlainText(*f.Data()), "abcfettdef");
    EXPECT_EQ(f.Data()->GetSelText(), QStringLiteral("fett"));
    EXPECT_TRUE(f.Edit->Modified);
    f.Edit->Undo();
    EXPECT_EQ(PlainText(*f.Data()), "abcdef");

    QMimeData html;
    html.setHtml(QStringLiteral("<p>Hallo <b>Welt</b></p>"));
    EXPECT_EQ(Drop(f, html, 1), Qt::CopyAction);
    EXPECT_EQ(PlainText(*f.Data()), "aHallo Weltbcdef");
    EXPECT_EQ(f.Data()->GetSelText(), QStringLiteral("Hallo Welt"));
    f.Edit->Undo();

    QMimeData text;
    text.setText(QStringLiteral("zwei\nZeilen"));
    EXPECT_EQ(Drop(f, text, 6), Qt::CopyAction);
    EXPECT_EQ(PlainText(*f.Data()), "abcdefzwei\nZeilen");
    EXPECT_EQ(f.Data()->GetSelText(), QStringLiteral("zwei\r\nZeilen"));
    f.Edit->Undo();

    // An encoded picture keeps its own format.
    QMimeData png;
    png.setData("image/png", PNG(12, 8));
    EXPECT_EQ(Drop(f, png, 2), Qt::CopyAction);
    ASSERT_EQ(f.Data()->GetItemCount(), 3);
    EXPECT_EQ(f.Data()->GetItemStyle(1), rpsnPicture);
    const auto* pic = static_cast<const TRPGraphicItemInfo*>(f.Data()->GetItem(1));
    EXPECT_EQ(pic->Image->ClassName(), QStringLiteral("TPngImage"));
    EXPECT_EQ(pic->Image->Width(), 12);
    EXPECT_EQ(PlainText(*f.Data()), "ab#cdef");
}

// Text of another program dropped onto the selection replaces nothing: the
// drop is refused and the caret goes where the text was dropped.
TEST(EditDropIn, DataOfAnotherProgramDroppedOntoTheSelectionChangesNothing) {
    TEditFixture f;
    f.Load("eins zwei drei");
    f.Select(0, 6, 0, 10);
    QMimeData text;
    text.setText(QStringLiteral("Wort"));
    QDropEvent drop(After(7), Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
    static_cast<TControl*>(f.Edit)->HandleEvent(&drop);
    EXPECT_EQ(drop.dropAction(), Qt::IgnoreAction);
    EXPECT_EQ(PlainText(*f.Data()), "eins zwei drei");
    EXPECT_FALSE(f.Data()->SelectionExists(false, false));
    EXPECT_EQ(f.CaretPos(), "0:8");
    EXPECT_FALSE(f.Edit->CanUndo());
    EXPECT_FALSE(f.Edit->Modified);
    // Beside the selection it goes in.
    f.Select(0, 6, 0, 10);
    EXPECT_EQ(Drop(f, text, 12), Qt::CopyAction);
    EXPECT_EQ(PlainText(*f.Data()), "eins zwei drWortei");
}

TEST(EditDropIn, DamagedMetafilesAndUnwantedFormatsAreRefusedWithoutATrace) {
    TEditFixture f;
    f.Load("abcdef");
    f.Edit->Modified = false;
    QMimeData emf;
    emf.setData("image/x-emf", QByteArray("\x01\0\0\0 EMF", 9));
    QDragEnterEvent enter(After(3).toPoint(), Qt::CopyAction, &emf, Qt::LeftButton, Qt::NoModifier);
    EXPECT_EQ(Deliver(f, enter), Qt::IgnoreAction);
    EXPECT_EQ(Drop(f, emf, 3), Qt::IgnoreAction);
    // Not pasted either, and the selection it would replace stays.
    f.Select(0, 2, 0, 4);
    EXPECT_FALSE(f.Edit->PasteMimeData(emf));
    EXPECT_EQ(PlainText(*f.Data()), "abcdef");
    EXPECT_EQ(f.Data()->GetSelText(), QStringLiteral("bc"));
    EXPECT_FALSE(f.Edit->Modified);
    EXPECT_FALSE(f.Edit->CanUndo());
    // Records that do not hold together are refused with the rest of the metafile.
    QMimeData broken;
    QByteArray wmf = TWmfBuilder(100, 100).Brush(0xFF).Rectangle(0, 0, 100, 100).Bytes();
    wmf.chop(9);
    broken.setData("image/x-wmf", wmf);
    EXPECT_EQ(Drop(f, broken, 3), Qt::IgnoreAction);
    EXPECT_FALSE(f.Edit->PasteMimeData(broken));
    // A format the editor does not accept from drops is left alone.
    f.Edit->AcceptDragDropFormats = rpddRPF | rpddRTF;
    QMimeData text;
    text.setText(QStringLiteral("X"));
    EXPECT_EQ(Drop(f, text, 1), Qt::IgnoreAction);
    EXPECT_EQ(PlainText(*f.Data()), "abcdef");
    // A read-only paragraph takes no drop.
    f.Edit->AcceptDragDropFormats = static_cast<TRPDragDropFormats>(~rpddURL);
    f.Edit->Clear();
    f.Edit->AddText("fest", 0, 2);
    f.Edit->Format();
    EXPECT_EQ(Drop(f, text, 1), Qt::IgnoreAction);
    EXPECT_EQ(PlainText(*f.Data()), "fest");
}

namespace {

// The picture of item ItemNo drawn at its own size.
QImage ItemPicture(TEditFixture& f, int ItemNo) {
    const auto* pic = static_cast<const TRPGraphicItemInfo*>(f.Data()->GetItem(ItemNo));
    return pic->Image->ToImage();
}

const TMetafile* ItemMetafile(TEditFixture& f, int ItemNo) {
    if (ItemNo < 0 || f.Data()->GetItemStyle(ItemNo) != rpsnPicture) return nullptr;
    return dynamic_cast<const TMetafile*>(
        static_cast<const TRPGraphicItemInfo*>(f.Data()->GetItem(ItemNo))->Image.get());
}

int FirstPicture(TEditFixture& f) {
    for (int i = 0; i < f.Data()->GetItemCount(); ++i)
        if (f.Data()->GetItemStyle(i) == rpsnPicture) return i;
    return -1;
}

// Saves f's document as RTF and reads it into a new editor.
std::string RoundTrip(TEditFixture& f, TEditFixture& back) {
    std::string rtf;
    EXPECT_TRUE(f.Edit->SaveRTFToStream(rtf, false));
    back.Load("");
    EXPECT_TRUE(back.Edit->InsertRTFFromStream(rtf));
    return rtf;
}

} // namespace

TEST(EditDropIn, PastedAndDroppedMetafilesBecomePicturesThatDrawAndTravelThroughRTF) {
    // Blue on the left, green on the right.
    const QByteArray wmf = TWmfBuilder(1440, 720)
                               .WindowExt(1440, 720)
                               .NullPen()
                               .Brush(0xFF0000)
                               .Rectangle(0, 0, 720, 720)
                               .Brush(0x00FF00)
                               .Rectangle(720, 0, 1440, 720)
                               .Bytes();
    TEditFixture f;
    f.Load("ab");
    f.Caret(0, 2);
    QMimeData clip;
    clip.setData("image/x-wmf", wmf);
    ASSERT_TRUE(f.Edit->PasteMimeData(clip));
    const TMetafile* meta = ItemMetafile(f, 1);
    ASSERT_TRUE(meta);
    EXPECT_FALSE(meta->Enhanced());
    EXPECT_EQ(meta->SaveToStream(), wmf);
    const QImage shown = ItemPicture(f, 1);
    ASSERT_EQ(shown.size(), QSize(96, 48));
    EXPECT_EQ(shown.pixel(20, 24), qRgb(0, 0, 255));
    EXPECT_EQ(shown.pixel(70, 24), qRgb(0, 255, 0));
    TEditFixture back;
    const std::string rtf = RoundTrip(f, back);
    // The pasted picture keeps the metafile's size as its own: drawn at 100 %.
    EXPECT_NE(rtf.find("{\\pict\\picscalex100\\picscaley100\\wmetafile8\\picw2540\\pich1270 "),
              std::string::npos)
        << rtf;
    const TMetafile* read = ItemMetafile(back, FirstPicture(back));
    ASSERT_TRUE(read);
    // The records come back; the header is made anew from the size.
    EXPECT_EQ(read->SaveToStream().mid(22), wmf.mid(22));
    EXPECT_EQ(ItemPicture(back, FirstPicture(back)), shown);

    // An enhanced metafile dropped as a file.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray emf = TEmfBuilder(60, 30).Brush(0x0000FF).Rectangle(0, 0, 30, 30).Bytes();
    WriteFile(dir.filePath("zeichnung.emf"), emf);
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(dir.filePath("zeichnung.emf"))});
    TEditFixture g;
    g.Load("ab");
    EXPECT_EQ(Drop(g, files, 1), Qt::CopyAction);
    const TMetafile* dropped = ItemMetafile(g, 1);
    ASSERT_TRUE(dropped);
    EXPECT_TRUE(dropped->Enhanced());
    const QImage drawn = ItemPicture(g, 1);
    ASSERT_EQ(drawn.size(), QSize(60, 30));
    EXPECT_EQ(drawn.pixel(10, 15), qRgb(255, 0, 0));
    EXPECT_EQ(drawn.pixel(50, 15), qRgb(255, 255, 255));
    // The editor's RTF carries it as a Windows metafile copy of the same size.
    TEditFixture gBack;
    const std::string wmfHead = "{\\pict\\wmetafile8\\picw" + std::to_string(dropped->MMWidth()) + "\\pich" +
                                std::to_string(dropped->MMHeight()) + " ";
    EXPECT_NE(RoundTrip(g, gBack).find(wmfHead), std::string::npos);
    const TMetafile* copyRead = ItemMetafile(gBack, FirstPicture(gBack));
    ASSERT_TRUE(copyRead);
    EXPECT_FALSE(copyRead->Enhanced());
    const QImage copyDrawn = ItemPicture(gBack, FirstPicture(gBack));
    ASSERT_EQ(copyDrawn.size(), QSize(60, 30));
    EXPECT_EQ(copyDrawn.pixel(10, 15), qRgb(255, 0, 0));
    EXPECT_EQ(copyDrawn.pixel(50, 15), qRgb(255, 255, 255));

    // Offered as itself only when the editor takes metafiles.
    QMimeData offered;
    offered.setData("image/x-emf", emf);
    g.Edit->AcceptDragDropFormats = static_cast<TRPDragDropFormats>(~(rpddURL | rpddMetafile));
    EXPECT_EQ(Drop(g, offered, 0), Qt::IgnoreAction);
    g.Edit->AcceptDragDropFormats = static_cast<TRPDragDropFormats>(~rpddURL);
    EXPECT_EQ(Drop(g, offered, 0), Qt::CopyAction);
    ASSERT_TRUE(ItemMetafile(g, 0));
}

TEST(EditDropIn, DroppedFilesGoInByKindUnlessTheProgramTakesThem) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString png = dir.filePath("bild.png"), rtf = dir.filePath("text.rtf"), txt = dir.filePath("notiz.txt"),
                  other = dir.filePath("daten.xyz");
    WriteFile(png, PNG(10, 10));
    WriteFile(rtf, "{\\rtf1\\ansi Brief}");
    WriteFile(txt, "Gr\xC3\xBC\xC3\x9F"
                   "e");
    WriteFile(other, "nichts");
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(png), QUrl::fromLocalFile(rtf), QUrl::fromLocalFile(txt),
                   QUrl::fromLocalFile(other)});
    // File managers add the names as text: that text is not inserted.
    files.setText(png + "\n" + rtf);

    TEditFixture f;
    f.Load("ab");
    EXPECT_EQ(Drop(f, files, 1), Qt::CopyAction);
    EXPECT_EQ(PlainText(*f.Data()), "a#BriefGrüßeb");
    EXPECT_EQ(f.Data()->GetItemStyle(1), rpsnPicture);
    f.Edit->Undo();
    EXPECT_EQ(PlainText(*f.Data()), "ab");

    // The program's handler sees the names in order and may take them.
    QStringList seen;
    TRPDropFileAction action = 1;
    f.Edit->OnDropFiles = [&](TCustomRichPadEdit*, const QStringList& Files, TRPDropFileAction& Action, bool& DoDefault) {
        seen = Files;
        EXPECT_EQ(Action, 0);
        Action = action;
        DoDefault = false;
    };
    EXPECT_EQ(Drop(f, files, 1), Qt::CopyAction);
    EXPECT_EQ(seen, (QStringList{png, rtf, txt, other}));
    EXPECT_EQ(PlainText(*f.Data()), "ab");
    // A handler that did nothing with them leaves the drop undone.
    action = 0;
    EXPECT_EQ(Drop(f, files, 1), Qt::IgnoreAction);
    EXPECT_EQ(PlainText(*f.Data()), "ab");
}

TEST(EditDropIn, ALinkIsTextUnlessLinksAreAcceptedAndTheProgramNamesThem) {
    TEditFixture f;
    f.Load("ab");
    QMimeData link;
    link.setUrls({QUrl(QStringLiteral("https://example.org/seite"))});
    link.setText(QStringLiteral("https://example.org/seite"));
    EXPECT_EQ(Drop(f, link, 1), Qt::CopyAction);
    EXPECT_EQ(PlainText(*f.Data()), "ahttps://example.org/seiteb");
    f.Edit->Undo();

    f.Edit->AcceptDragDropFormats |= rpddURL;
    std::string target, name;
    int format = -1, style = -1;
    f.Edit->OnReadHyperlink = [&](TCustomRichPad*, const std::string& Target, const std::string&, int DocFormat,
                                  int& StyleNo, TRPTag&, std::string& ItemName) {
        target = Target;
        format = DocFormat;
        style = StyleNo;
        name = ItemName;
        StyleNo = 1;
        ItemName = "Beispiel";
    };
    EXPECT_EQ(Drop(f, link, 1), Qt::CopyAction);
    EXPECT_EQ(target, "https://example.org/seite");
    EXPECT_EQ(name, target);
    EXPECT_EQ(format, 4);
    EXPECT_EQ(style, 0);
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"a\"\n- s1 p0 \"Beispiel\"\n- s0 p0 \"b\"\n");
}

TEST(EditDragOut, TheDragOffersTheClipboardFormatsOfTheSelection) {
    TEditFixture f;
    f.Load("eins zwei\ndrei");
    f.Select(0, 6, 1, 3);
    std::unique_ptr<QMimeData> data = f.Edit->CreateDragData();
    EXPECT_EQ(data->text(), QStringLiteral("zwei\r\ndr"));
    const QByteArray rtf = data->data("text/rtf");
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    EXPECT_EQ(data->data("application/rtf"), rtf);
    EXPECT_FALSE(data->hasImage());
    // The RPF block is what a paste elsewhere reads back.
    TEditFixture other;
    other.Load("");
    ASSERT_TRUE(other.Edit->PasteMimeData(*data));
    EXPECT_EQ(PlainText(*other.Data()), "zwei\ndr");
    QMimeData rtfOnly;
    rtfOnly.setData("text/rtf", rtf);
    TEditFixture third;
    third.Load("");
    ASSERT_TRUE(third.Edit->PasteMimeData(rtfOnly));
    EXPECT_EQ(PlainText(*third.Data()), "zwei\ndr");

    // A single selected picture travels as a picture too.
    f.Caret(1, 5);
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    f.Edit->InsertPicture("bild", std::make_unique<TBitmap>(image), 0);
    f.Select(2, 0, 2, 1);
    data = f.Edit->CreateDragData();
    ASSERT_TRUE(data->hasImage());
    EXPECT_EQ(qvariant_cast<QImage>(data->imageData()).size(), QSize(16, 8));
}

TEST(EditDragOut, WhatTheDragAllowsAndHowItEnds) {
    TEditFixture f;
    f.Load("eins zwei drei");
    f.Select(0, 6, 0, 10);
    EXPECT_EQ(f.Edit->AllowedDragEffects(), 3);
    // Copied elsewhere: the text stays; moved elsewhere: it goes, as one undo step.
    f.Edit->DoneDragging(1);
    EXPECT_EQ(PlainText(*f.Data()), "eins zwei drei");
    f.Edit->DoneDragging(2);
    EXPECT_EQ(PlainText(*f.Data()), "eins  drei");
    f.Edit->Undo();
    EXPECT_EQ(PlainText(*f.Data()), "eins zwei drei");
    // Moved inside the editor, the drop did the work.
    f.Select(0, 6, 0, 10);
    f.Data()->State |= rpstDroppedIntoItself;
    f.Edit->DoneDragging(2);
    EXPECT_EQ(PlainText(*f.Data()), "eins zwei drei");
    EXPECT_FALSE(f.Data()->State & rpstDroppedIntoItself);
    // Read-only or protected text is only copied.
    f.Edit->SetReadOnly(true);
    EXPECT_EQ(f.Edit->AllowedDragEffects(), 1);
    f.Edit->SetReadOnly(false);
    f.Edit->Clear();
    f.Edit->AddText("fest", 0, 2);
    f.Edit->Format();
    f.Select(0, 1, 0, 3);
    EXPECT_EQ(f.Edit->AllowedDragEffects(), 1);
}

TEST(EditDragOut, APressInTheSelectionReleasedInPlaceIsAClick) {
    TEditFixture f;
    f.Load("eins zwei drei");
    f.Select(0, 6, 0, 10);
    const QPointF at(5 + 70 + 2, 12);
    QMouseEvent press(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, at, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(f.Edit->ClientWidget(), &press);
    EXPECT_TRUE(f.Data()->State & rpstDragPending);
    EXPECT_EQ(f.Data()->GetSelText(), QStringLiteral("zwei"));
    QApplication::sendEvent(f.Edit->ClientWidget(), &release);
    EXPECT_FALSE(f.Data()->State & (rpstDragPending | rpstDragging));
    EXPECT_FALSE(f.Data()->SelectionExists(false, false));
    EXPECT_EQ(f.CaretPos(), "0:8");
}

TEST(EditDropIn, DraggingNearAnEdgeScrollsSlowlyThatWay) {
    TEditFixture f;
    f.Load("a\nb\nc");
    QMimeData text;
    text.setText(QStringLiteral("X"));
    QDragEnterEvent enter(QPoint(20, 100), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    EXPECT_EQ(Deliver(f, enter), Qt::CopyAction);
    EXPECT_TRUE(f.Edit->AutoScrolling());
    EXPECT_EQ(f.Edit->AutoScrollVStep(), 0);
    QDragMoveEvent top(QPoint(20, 8), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    Deliver(f, top);
    EXPECT_EQ(f.Edit->AutoScrollVStep(), -1);
    QDragMoveEvent bottom(QPoint(20, 195), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    Deliver(f, bottom);
    EXPECT_EQ(f.Edit->AutoScrollVStep(), 1);
    QDragLeaveEvent leave;
    static_cast<TControl*>(f.Edit)->HandleEvent(&leave);
    EXPECT_FALSE(f.Edit->AutoScrolling());
    EXPECT_EQ(PlainText(*f.Data()), "a\nb\nc");
}

// The drop caret: short dotted strokes on every even row of the line that
// invert what lies under them; leaving takes it away again.
TEST(EditDropIn, TheDropCaretInvertsDotsOnEveryEvenRow) {
    TEditFixture f;
    f.Load("abcdef");
    QWidget* w = f.Edit->ClientWidget();
    const QImage before = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QMimeData text;
    text.setText(QStringLiteral("X"));
    QDragEnterEvent enter(After(3).toPoint(), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    ASSERT_EQ(Deliver(f, enter), Qt::CopyAction);
    const QImage shown = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    TRPEditRPData* d = f.Data();
    int dItem = -1, dOffs = 0;
    d->ItemToDrawItemPos(0, 4, dOffs, dItem);
    ASSERT_GE(dItem, 0);
    const int x = d->DrawPosX(dItem, dOffs) - d->GetHOffs();
    const int top = d->DrawItem(dItem)->Top - d->GetVOffs(), bottom = top + d->DrawItem(dItem)->Height;
    QImage want = before;
    for (int y = top + (top & 1); y <= bottom; y += 2)
        for (const int px : {x, x + 1})
            want.setPixel(px, y, before.pixel(px, y) ^ 0x00FFFFFF);
    EXPECT_NE(want, before);
    EXPECT_EQ(shown, want);
    QDragLeaveEvent leave;
    static_cast<TControl*>(f.Edit)->HandleEvent(&leave);
    EXPECT_EQ(w->grab().toImage().convertToFormat(QImage::Format_RGB32), before);
}

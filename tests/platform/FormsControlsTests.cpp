// Controls: labels, speed-button groups, radio groups, track bars, page controls,
// the tree view, pictures; and the path mapper and program start.
#include "platform/ControlsExt.h"
#include "platform/ControlsStd.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "support/FixedMetrics.h"
#include "support/FormDriver.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct FormFixture : ::testing::Test {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    template <class T> T* add(TWinControl* parent = nullptr) {
        auto* c = new T(form.get());
        c->SetParent(parent ? parent : form.get());
        return c;
    }
};

} // namespace

using ControlTest = FormFixture;

TEST_F(ControlTest, LabelSizesItselfToItsCaption) {
    FixedMetricsScope metrics;
    auto* l = add<TLabel>();
    l->Font()->SetHeight(-20);
    l->SetCaption("Hallo");
    EXPECT_EQ(l->Width(), 50); // 5 characters of 10 px
    EXPECT_EQ(l->Height(), 20);
    l->SetAlignment(taRightJustify);
    l->SetLeft(100);
    l->SetCaption("Hal");
    EXPECT_EQ(l->Left(), 120); // the right edge stays
    EXPECT_EQ(l->Width(), 30);
    l->SetAutoSize(false);
    l->SetCaption("Hallo Welt");
    EXPECT_EQ(l->Width(), 30);
}

TEST_F(ControlTest, GroupedSpeedButtonsStayDownOneAtATime) {
    auto* a = add<TSpeedButton>();
    auto* b = add<TSpeedButton>();
    auto* free = add<TSpeedButton>();
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    a->Click();
    EXPECT_TRUE(a->Down());
    b->Click();
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    b->Click(); // without AllowAllUp one stays down
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(clicks, 2);
    b->SetAllowAllUp(true);
    b->Click();
    EXPECT_FALSE(b->Down());
    free->SetDown(true); // no group: never down
    EXPECT_FALSE(free->Down());
    EXPECT_EQ(free->ClassName(), "TSpeedButton");
}

TEST_F(ControlTest, RadioGroupAndCheckBoxReportChangesAlsoFromCode) {
    auto* g = add<TRadioGroup>();
    g->Items()->Add("eins");
    g->Items()->Add("zwei");
    g->Items()->Add("drei");
    g->SetColumns(2);
    int clicks = 0;
    g->OnClick = [&](TObject*) { ++clicks; };
    g->SetItemIndex(1);
    EXPECT_EQ(g->ItemIndex(), 1);
    g->SetItemIndex(1);
    g->SetItemIndex(7);
    EXPECT_EQ(g->ItemIndex(), -1);
    EXPECT_EQ(clicks, 2);

    auto* c = add<TCheckBox>();
    int toggles = 0;
    c->OnClick = [&](TObject*) { ++toggles; };
    c->SetChecked(true);
    c->SetChecked(true);
    EXPECT_EQ(toggles, 1);
    EXPECT_EQ(c->State(), cbChecked);
}

TEST_F(ControlTest, TrackBarKeepsPositionInRange) {
    auto* t = add<TTrackBar>();
    t->SetMax(20);
    int changes = 0;
    t->OnChange = [&](TObject*) { ++changes; };
    t->SetPosition(25);
    EXPECT_EQ(t->Position(), 20);
    t->SetMin(5);
    t->SetPosition(-3);
    EXPECT_EQ(t->Position(), 5);
    EXPECT_EQ(changes, 2);
}

TEST_F(ControlTest, PageControlWithHiddenTabsGivesPagesTheWholeArea) {
    auto* pc = add<TPageControl>();
    pc->SetBounds(0, 0, 202, 700);
    auto* p1 = new TTabSheet(form.get());
    p1->SetPageControl(pc);
    p1->SetCaption("Tastatur");
    auto* p2 = new TTabSheet(form.get());
    p2->SetPageControl(pc);
    EXPECT_EQ(pc->ActivePage(), p1);
    EXPECT_EQ(pc->PageCount(), 2);
    p1->SetTabVisible(false);
    p2->SetTabVisible(false);
    EXPECT_EQ(pc->PageRect(), Rect(0, 0, 202, 700));
    EXPECT_EQ(p1->BoundsRect(), Rect(0, 0, 202, 700));
    pc->SetActivePageIndex(1);
    EXPECT_EQ(pc->ActivePage(), p2);
    EXPECT_EQ(p2->PageIndex(), 1);
    EXPECT_FALSE(p1->Widget()->isVisibleTo(pc->Widget()));
    EXPECT_TRUE(p2->Widget()->isVisibleTo(pc->Widget()));
    delete p1;
    EXPECT_EQ(pc->PageCount(), 1);
    EXPECT_EQ(pc->ActivePageIndex(), 0);
}

TEST_F(ControlTest, TreeNodesKeepTreeOrder) {
    auto* t = add<TTreeView>();
    TTreeNode* k1 = t->Items()->AddChild(nullptr, "1. Kapitel");
    TTreeNode* k2 = t->Items()->AddChild(nullptr, "2. Kapitel");
    TTreeNode* s11 = t->Items()->AddChild(k1, "1.1");
    TTreeNode* e111 = t->Items()->AddChild(s11, "1.1.1");
    TTreeNode* s12 = t->Items()->AddChild(k1, "1.2");
    ASSERT_EQ(t->Items()->Count(), 5);
    EXPECT_EQ(k1->AbsoluteIndex(), 0);
    EXPECT_EQ(s11->AbsoluteIndex(), 1);
    EXPECT_EQ(e111->AbsoluteIndex(), 2);
    EXPECT_EQ(s12->AbsoluteIndex(), 3);
    EXPECT_EQ(k2->AbsoluteIndex(), 4);
    EXPECT_EQ(t->Items()->GetFirstNode(), k1);
    EXPECT_EQ(e111->GetNext(), s12);
    EXPECT_EQ(e111->Level(), 2);
    EXPECT_EQ(s12->Index(), 1);
    t->SetSelected(s12);
    EXPECT_EQ(t->Selected(), s12);
    EXPECT_TRUE(s12->Selected());
    t->Items()->Delete(k1);
    EXPECT_EQ(t->Items()->Count(), 1);
    EXPECT_EQ(t->Selected(), k2); // the selection moves to a remaining node
    EXPECT_EQ(k2->AbsoluteIndex(), 0);
}

TEST_F(ControlTest, DoubleClickOpensTheRowClickedFirstWhenAutoExpandFoldsRowsAbove) {
    auto* t = add<TTreeView>();
    t->SetBounds(0, 0, 200, 300);
    t->SetAutoExpand(true);
    TTreeNode* k1 = t->Items()->AddChild(nullptr, "1. Kapitel");
    for (const char* s : {"1.1", "1.2", "1.3", "1.4"})
        t->Items()->AddChild(k1, s);
    TTreeNode* k2 = t->Items()->AddChild(nullptr, "2. Kapitel");
    t->Items()->AddChild(k2, "2.1");
    TTreeNode* k3 = t->Items()->AddChild(nullptr, "3. Kapitel");
    t->SetSelected(k1->GetNext()); // 1.1 selected, chapter 1 open
    TTreeNode* geoeffnet = nullptr;
    t->OnDblClick = [&](TObject*) { geoeffnet = t->Selected(); };
    ShowAndActivate(form.get());
    auto* baum = static_cast<QTreeWidget*>(t->TreeWidget());
    // The row of chapter 3 as it stands before the first click.
    QTreeWidgetItem* item = nullptr;
    for (int i = 0; i < baum->topLevelItemCount(); ++i)
        if (baum->topLevelItem(i)->text(0) == QLatin1String("3. Kapitel")) item = baum->topLevelItem(i);
    ASSERT_TRUE(item);
    const QPoint p = baum->visualItemRect(item).center();
    const auto senden = [&](QEvent::Type typ, Qt::MouseButtons knoepfe) {
        QMouseEvent e(typ, p, baum->viewport()->mapToGlobal(p), Qt::LeftButton, knoepfe, Qt::NoModifier);
        QApplication::sendEvent(baum->viewport(), &e);
    };
    senden(QEvent::MouseButtonPress, Qt::LeftButton);
    senden(QEvent::MouseButtonRelease, Qt::NoButton);
    // Chapter 1 folded away, so another row now stands under the mouse.
    EXPECT_FALSE(k1->Expanded());
    EXPECT_NE(baum->itemAt(p), item);
    senden(QEvent::MouseButtonDblClick, Qt::LeftButton);
    senden(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(geoeffnet, k3);
    EXPECT_EQ(t->Selected(), k3);
}

TEST_F(ControlTest, ImageCanvasDrawsIntoABitmapOfTheImageSize) {
    auto* img = add<TImage>();
    img->SetBounds(0, 0, 40, 30);
    TCanvas* c = img->Canvas();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(img->Picture()->Width(), 40);
    EXPECT_EQ(img->Picture()->Height(), 30);
    c->Brush()->SetColor(clRed);
    c->Pen()->SetColor(clRed);
    c->Rectangle(0, 0, 10, 10);
    EXPECT_EQ(img->Picture()->Bitmap()->Canvas()->Pixel(5, 5), clRed);
    EXPECT_EQ(img->Picture()->Bitmap()->Canvas()->Pixel(20, 20), clWhite);
    img->SetStretch(true);
    EXPECT_EQ(img->DestRect(), Rect(0, 0, 40, 30));
}

namespace {

// A left-button press at (x, y) in the control.
void Druecken(TControl* c, int x, int y) {
    const QPointF p(x, y);
    QMouseEvent e(QEvent::MouseButtonPress, p, c->Widget()->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(c->Widget(), &e);
}

} // namespace

// In a window scaled by 3/2, every picture, drawn before or after the scaling
// or loaded, keeps the size it was made for, fills the enlarged control as a
// whole and takes clicks at its own pixels; only a picture drawn anew for the
// control's size keeps every pixel where it is.
TEST_F(ControlTest, EveryPictureShowsEnlargedInAScaledWindow) {
    form->SetBounds(0, 0, 300, 300);
    auto* danach = add<TImage>();
    danach->SetBounds(10, 10, 40, 20);
    auto* vorher = add<TImage>();
    vorher->SetBounds(10, 60, 40, 20);
    vorher->Canvas()->SetPixel(39, 19, clBlue);
    // A picture smaller than its control, in the middle of it.
    auto* geladen = add<TImage>();
    geladen->SetBounds(10, 110, 40, 20);
    geladen->SetCenter(true);
    geladen->Picture()->SetGraphic(std::make_unique<TBitmap>(20, 10));
    auto* gestreckt = add<TImage>();
    gestreckt->SetBounds(100, 10, 40, 20);
    gestreckt->SetStretch(true);
    gestreckt->Picture()->SetGraphic(std::make_unique<TBitmap>(4, 2));
    auto* neu = add<TImage>();
    neu->SetBounds(100, 60, 40, 20);
    neu->SetScalePicture(false);
    TPoint Klick{-1, -1};
    for (TImage* i : {danach, gestreckt, neu})
        i->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { Klick = {x, y}; };
    EXPECT_EQ(danach->DrawingWidth(), 40);
    form->ScaleBy(3, 2);
    ASSERT_EQ(danach->BoundsRect(), Rect(15, 15, 75, 45));
    EXPECT_EQ(danach->DrawingWidth(), 40);
    EXPECT_EQ(danach->DrawingHeight(), 20);

    // Drawn after the scaling, the bitmap is still the design size.
    TCanvas* c = danach->Canvas();
    EXPECT_EQ(danach->Picture()->Width(), 40);
    EXPECT_EQ(danach->Picture()->Height(), 20);
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(20, 10, 40, 20));
    EXPECT_EQ(danach->DestRect(), Rect(0, 0, 60, 30));
    EXPECT_EQ(vorher->Picture()->Width(), 40);
    EXPECT_EQ(vorher->DestRect(), Rect(0, 0, 60, 30));
    // Placed as in the design size, then enlarged with the control.
    EXPECT_EQ(geladen->DestRect(), Rect(15, 8, 45, 23));
    EXPECT_EQ(gestreckt->DestRect(), Rect(0, 0, 60, 30));
    form->Show();
    ProcessEvents();
    const QImage g = danach->Widget()->grab().toImage();
    EXPECT_EQ(QColor(g.pixel(45, 22)), QColor(Qt::red));
    EXPECT_EQ(QColor(g.pixel(15, 7)), QColor(Qt::white));
    const QImage v = vorher->Widget()->grab().toImage();
    EXPECT_EQ(QColor(v.pixel(59, 29)), QColor(Qt::blue));
    Druecken(danach, 50, 24);
    EXPECT_EQ(Klick, (TPoint{33, 16}));
    // A stretched picture too reports the place in the design size.
    Druecken(gestreckt, 59, 29);
    EXPECT_EQ(Klick, (TPoint{39, 19}));

    // Drawn anew: a bitmap of the scaled size, at its pixels, clicks as they come.
    EXPECT_EQ(neu->DrawingWidth(), 60);
    neu->Canvas();
    EXPECT_EQ(neu->Picture()->Width(), 60);
    EXPECT_EQ(neu->Picture()->Height(), 30);
    EXPECT_EQ(neu->DestRect(), Rect(0, 0, 60, 30));
    Druecken(neu, 50, 24);
    EXPECT_EQ(Klick, (TPoint{50, 24}));
}

TEST_F(ControlTest, ShapeCircleSitsCentredInItsBox) {
    auto* s = add<TShape>();
    s->SetBounds(0, 0, 40, 20);
    s->SetShape(stCircle);
    s->Brush()->SetColor(clBlue);
    s->Pen()->SetColor(clBlue);
    TBitmap bmp(40, 20);
    s->PaintOn(*bmp.Canvas());
    EXPECT_EQ(bmp.Canvas()->Pixel(20, 10), clBlue);
    EXPECT_EQ(bmp.Canvas()->Pixel(5, 10), clWhite);
    EXPECT_EQ(bmp.Canvas()->Pixel(35, 10), clWhite);
}

TEST(PathMapper, FindsFilesWhateverTheCase) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    QDir(tmp.path()).mkpath("data/dateien/Zqk1");
    QFile f(tmp.path() + "/data/dateien/Zqk1/ZqK1_1A.rtf");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    QFile setup(tmp.path() + "/OrvandelSetup.txt");
    ASSERT_TRUE(setup.open(QIODevice::WriteOnly));
    setup.close();
    QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(tmp.path() + "/data"));

    EXPECT_EQ(Paths::MapPath("dateien\\ZQK1\\zqk1_1a.RTF"), tmp.path() + "/data/dateien/Zqk1/ZqK1_1A.rtf");
    EXPECT_TRUE(FileExists("\\dateien\\zqk1\\ZqK1_1A.rtf"));
    EXPECT_TRUE(FileExists(GetCurrentDir() + "\\..\\orvandelsetup.TXT"));
    EXPECT_TRUE(DirectoryExists("DATEIEN"));
    EXPECT_FALSE(FileExists("dateien"));
    EXPECT_FALSE(FileExists("dateien\\Zqk1\\fehlt.rtf"));
    EXPECT_EQ(Paths::MapPath("dateien\\zqk1\\Neu\\x.rtf"), tmp.path() + "/data/dateien/Zqk1/Neu/x.rtf");

    // Odd paths still give a path, never a crash.
    EXPECT_EQ(Paths::MapPath(""), tmp.path() + "/data");
    EXPECT_EQ(Paths::MapPath("\\"), tmp.path() + "/data");
    EXPECT_EQ(Paths::MapPath(QString("..\\").repeated(12)), "/");
    EXPECT_EQ(Paths::MapPath("dateien\\\\zqk1\\"), tmp.path() + "/data/dateien/Zqk1");

    QString oldRoot = Paths::DriveRoot();
    Paths::SetDriveRoot(tmp.path());
    EXPECT_EQ(Paths::MapPath("c:\\DATA\\Dateien"), tmp.path() + "/data/dateien");
    EXPECT_EQ(Paths::MapPath("C:\\Orvandel"), tmp.path() + "/Orvandel");
    EXPECT_EQ(Paths::MapPath("c:"), tmp.path());
    Paths::SetDriveRoot(oldRoot);
    QDir::setCurrent(old);
}

TEST(ProgramStart, StartsDetachedOrReportsFailure) {
    EXPECT_FALSE(StartProgram("c:\\Orvandel\\gibtsnicht.exe", {"KxxA1"}));
    EXPECT_FALSE(StartProgram("", {}));
    EXPECT_FALSE(StartProgram("/bin/true", {}, "/gibt/es/nicht"));
    EXPECT_TRUE(StartProgram("/bin/true", {"a b", "$(echo x)"}, "/tmp"));
}

TEST_F(ControlTest, ImageSurvivesItsPictureBeingReplacedAfterDrawing) {
    auto* img = add<TImage>();
    img->SetBounds(0, 0, 20, 20);
    img->Canvas()->Rectangle(0, 0, 5, 5);
    TBitmap other(8, 6);
    img->Picture()->SetGraphic(&other);
    EXPECT_EQ(img->Picture()->Width(), 8);
    TBitmap kept;
    kept.Assign(*img->Picture()->Bitmap());
    delete img;  // the old canvas is gone; nothing may reach it
    kept.Canvas()->Rectangle(0, 0, 3, 3);
    EXPECT_EQ(kept.Width(), 8);
}

TEST_F(ControlTest, WordWrapLabelGrowsDownwards) {
    FixedMetricsScope metrics;
    auto* l = add<TLabel>();
    l->Font()->SetHeight(-10);  // 5 px per character
    l->SetWordWrap(true);
    l->SetAutoSize(false);
    l->SetWidth(50);
    l->SetAutoSize(true);
    l->SetCaption("eins zwei drei vier");  // "eins zwei" fits 45 px, then "drei vier"
    EXPECT_EQ(l->Width(), 50);
    EXPECT_EQ(l->Height(), 20);
}

TEST_F(ControlTest, PaintBoxHandsItsCanvasToOnPaintOnly) {
    auto* pb = add<TPaintBox>();
    pb->SetBounds(0, 0, 30, 20);
    TCanvas* during = nullptr;
    pb->OnPaint = [&](TObject*) {
        during = pb->Canvas();
        pb->Canvas()->Brush()->SetColor(clLime);
        pb->Canvas()->FillRect(Rect(0, 0, 30, 20));
    };
    QImage shot = pb->Widget()->grab().toImage();
    EXPECT_NE(during, nullptr);
    EXPECT_EQ(pb->Canvas(), nullptr);
    EXPECT_EQ(FromQColor(shot.pixelColor(10, 10)), clLime);
}

TEST_F(ControlTest, ScrollBoxContentCoversItsChildren) {
    auto* box = add<TScrollBox>();
    box->SetBounds(0, 0, 100, 80);
    auto* far = new TPanel(form.get());
    far->SetParent(box);
    far->SetBounds(300, 200, 50, 40);
    EXPECT_EQ(far->Widget()->parentWidget(), box->ClientWidget());
    EXPECT_GE(box->ClientWidget()->width(), 350);
    EXPECT_GE(box->ClientWidget()->height(), 240);
}

TEST(FormCursors, RichTextCursorsHaveTheirShapes) {
    EXPECT_EQ(QtCursor(crJump).shape(), Qt::PointingHandCursor);
    EXPECT_EQ(QtCursor(crHandPoint).shape(), Qt::PointingHandCursor);
    const QCursor flip = QtCursor(crFlipArrow);
    ASSERT_EQ(flip.shape(), Qt::BitmapCursor);
    EXPECT_EQ(flip.hotSpot(), QPoint(11, 0)); // the tip, at the top right
    const QImage img = flip.pixmap().toImage();
    EXPECT_EQ(qAlpha(img.pixel(11, 0)), 255);
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
    // The table's arrows: down into a column, right into a row, tip on the hot spot.
    const QImage col = QtCursor(crSelectCol).pixmap().toImage();
    const QImage row = QtCursor(crSelectRow).pixmap().toImage();
    EXPECT_EQ(QtCursor(crSelectCol).hotSpot(), QPoint(4, 10));
    EXPECT_EQ(QtCursor(crSelectRow).hotSpot(), QPoint(10, 4));
    EXPECT_EQ(col.size(), QSize(9, 12));
    EXPECT_EQ(row.size(), QSize(12, 9));
    for (const QPoint p : {QPoint(4, 10), QPoint(4, 1), QPoint(1, 7)}) {
        EXPECT_EQ(col.pixel(p) & 0xFFFFFF, 0u) << p.x() << "," << p.y();
        EXPECT_EQ(row.pixel(p.y(), p.x()) & 0xFFFFFF, 0u) << p.x() << "," << p.y();
    }
    EXPECT_EQ(qAlpha(col.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(col.pixel(4, 11)), 255); // the white rim around the tip
    // A control keeps the number and shows the shape.
    TForm f(nullptr);
    auto* l = new TPanel(&f);
    l->SetParent(&f);
    l->SetCursor(crFlipArrow);
    EXPECT_EQ(l->Cursor(), crFlipArrow);
    EXPECT_EQ(l->Widget()->cursor().shape(), Qt::BitmapCursor);
}

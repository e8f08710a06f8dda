// The scroller and the view control: scroll positions and bars, wheel and
// keys, the scroll unit, defaults, focus among links, loading, painting.
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "ViewTestDoc.h"
#include "platform/ControlsStd.h"
#include "platform/ImageList.h"
#include "platform/Keys.h"
#include "platform/Pictures.h"
#include "richtext/model/RPItemNonText.h"
#include "support/FixedMetrics.h"

namespace {

class ViewControl : public ViewFixture {
protected:
    void TearDown() override { SetSystemWheelScrollLines(0); }
    // Lines of 20 pixels: Count paragraphs of one short line each.
    void Lines(int Count) {
        for (int i = 0; i < Count; ++i)
            View->AddText("line " + std::to_string(i), 0, 0);
        View->Format();
    }
    void Key(int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        QKeyEvent e(QEvent::KeyPress, QtKey, Mods);
        QApplication::sendEvent(View->Widget(), &e);
    }
};

} // namespace

TEST_F(ViewControl, DefaultsOfANewView) {
    TRichPad v(nullptr);
    EXPECT_EQ(v.Options, 64805u);
    EXPECT_EQ(v.RTFOptions, 14);
    EXPECT_EQ(v.RPFOptions, 49219);
    EXPECT_EQ(v.DocFlags, 0x0103);
    EXPECT_EQ(v.LeftMargin + v.RightMargin + v.TopMargin + v.BottomMargin, 20);
    EXPECT_EQ(v.BorderStyle, bsSingle);
    EXPECT_EQ(v.Color(), clNone);
    EXPECT_EQ(v.Width(), 100);
    EXPECT_EQ(v.Height(), 40);
    // One documented Tab default, for new and for loaded views alike.
    EXPECT_EQ(v.TabNavigation(), rpDefaultTabNavigation);
    EXPECT_EQ(rpDefaultTabNavigation, rptnTab);
    // No window without a parent: a unit of one pixel, and scrolling does nothing.
    EXPECT_FALSE(v.HandleAllocated());
    EXPECT_EQ(v.VSmallStep, 1);
    v.SetVPosition(5, true);
    EXPECT_EQ(v.VPos, 0);
}

TEST_F(ViewControl, WindowWithBorderAndScrollUnit) {
    EXPECT_TRUE(View->HandleAllocated());
    EXPECT_EQ(View->VSmallStep, 10);
    // A sunken border of two pixels on each side.
    EXPECT_EQ(View->ClientWidth(), 296);
    EXPECT_EQ(View->ClientHeight(), 200);
    Lines(30); // 610 pixels high
    EXPECT_TRUE(View->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(View->ClientWidth(), 296 - ScrollBarExtent);
    EXPECT_EQ(View->DocHeight, 61);
    EXPECT_EQ(View->VScrollPage, 20);
    EXPECT_EQ(View->VScrollMax, 60);
    // The document was laid out again for the narrower client area.
    EXPECT_EQ(View->RPData()->TextWidth, 296 - ScrollBarExtent - 10);
}

TEST_F(ViewControl, VerticalPositionsStopAtTheEnds) {
    Lines(30);
    int scrolled = 0;
    View->OnVScrolled = [&](TObject*) { ++scrolled; };
    View->SetVPosition(1000, true);
    EXPECT_EQ(View->VPos, View->VScrollMax - (View->VScrollPage - 1));
    EXPECT_EQ(scrolled, 1);
    View->SetVPosition(View->VPos, true);
    EXPECT_EQ(scrolled, 1);
    View->SetVPosition(-5, true);
    EXPECT_EQ(View->VPos, 0);
    EXPECT_EQ(scrolled, 2);
    // In pixels, rounded down to whole units.
    View->ScrollTo(57);
    EXPECT_EQ(View->VPos, 5);
    EXPECT_EQ(View->RPData()->GetVOffs(), 50);
}

TEST_F(ViewControl, EmbeddedControlsKeepTheirTopInTheirTag) {
    Lines(30);
    auto* child = new TPanel(Form.get());
    child->SetParent(View);
    child->SetTag(50000);
    TRPScroller::ApplyControlTopFromTag(child);
    EXPECT_EQ(child->Top(), 10000);
    View->ShiftChildControls(0, -45000);
    EXPECT_EQ(child->Tag(), 5000);
    EXPECT_EQ(child->Top(), 5000);
    // Scrolling without repainting still moves them and tells OnVScrolled.
    int scrolled = 0;
    View->OnVScrolled = [&](TObject*) { ++scrolled; };
    View->SetVPosition(3, false);
    EXPECT_EQ(child->Tag(), 4970);
    EXPECT_EQ(scrolled, 1);
}

TEST_F(ViewControl, HiddenBarsAreSetToAnEmptyRange) {
    std::vector<std::pair<int, TScrollInfo>> set;
    const TRPScrollBarOps saved = RPScrollBarOps;
    RPScrollBarOps.SetInfo = [](TCustomControl* c, int bar, const TScrollInfo& info, unsigned mask, bool redraw) {
        return c->SetScrollInfo(bar, info, mask, redraw);
    };
    static std::vector<std::pair<int, TScrollInfo>>* log = nullptr;
    log = &set;
    RPScrollBarOps.SetInfo = [](TCustomControl* c, int bar, const TScrollInfo& info, unsigned mask, bool redraw) {
        log->push_back({bar, info});
        return c->SetScrollInfo(bar, info, mask, redraw);
    };
    Lines(30);
    set.clear();
    View->VScrollVisible = false;
    View->UpdateScrollBars(View->DocWidth, View->DocHeight, true, false);
    RPScrollBarOps = saved;
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(set[0].first, SB_VERT);
    EXPECT_EQ(set[0].second, (TScrollInfo{0, 1, 2, 0, 0}));
    EXPECT_FALSE(View->ScrollBarVisible(SB_VERT));
}

TEST_F(ViewControl, WheelScrollsByTheStepAndTheSystemLines) {
    Lines(60);
    SetSystemWheelScrollLines(3);
    View->SendMouseWheel(-120);
    EXPECT_EQ(View->VPos, 2);
    SetSystemWheelScrollLines(1);
    View->SendMouseWheel(-120);
    EXPECT_EQ(View->VPos, 3); // 2 / 3 rounds to 1
    View->SendMouseWheel(120);
    EXPECT_EQ(View->VPos, 2);
    // "One screen per notch" scrolls one page, whatever else is set.
    SetSystemWheelScrollLines(WheelScrollPage);
    View->SendMouseWheel(-120);
    EXPECT_EQ(View->VPos, 2 + View->VScrollPage);
    // Without a wheel step nothing scrolls and the wheel is not taken.
    View->WheelStep = 0;
    const int before = View->VPos;
    QWheelEvent e(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(View->ClientWidget(), &e);
    EXPECT_EQ(View->VPos, before);
    EXPECT_FALSE(e.isAccepted());
}

TEST_F(ViewControl, ScrollMessagesAndKeys) {
    Lines(60);
    View->Tracking = false;
    View->SendScrollMessage(SB_VERT, SB_THUMBTRACK, 30);
    EXPECT_EQ(View->VPos, 0);
    View->SendScrollMessage(SB_VERT, SB_THUMBPOSITION, 30);
    EXPECT_EQ(View->VPos, 30);
    View->SendScrollMessage(SB_VERT, SB_LINEDOWN);
    EXPECT_EQ(View->VPos, 31);
    View->SendScrollMessage(SB_VERT, SB_PAGEUP);
    EXPECT_EQ(View->VPos, 11);
    Key(Qt::Key_End);
    EXPECT_EQ(View->VPos, View->VScrollMax - View->VScrollPage + 1);
    Key(Qt::Key_Home);
    EXPECT_EQ(View->VPos, 0);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(View->VPos, 20);
    View->KeyboardScroll = false;
    Key(Qt::Key_PageDown);
    EXPECT_EQ(View->VPos, 20);
}

TEST_F(ViewControl, RightToLeftPutsTheBarOnTheLeft) {
    Lines(30);
    View->SetBiDiMode(rpbdRightToLeft);
    EXPECT_TRUE(View->LeftScrollBar());
    EXPECT_TRUE(View->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(View->ClientWidget()->x(), ClientEdgeWidth + ScrollBarExtent);
}

TEST_F(ViewControl, TheScrollUnitKeepsTheRangeWithin32000Units) {
    EXPECT_EQ(RPVScrollStepFor(400000, 10, 300), 13);
    EXPECT_EQ(RPVScrollStepFor(20000, 13, 300), 10);
    EXPECT_EQ(RPVScrollStepFor(320000, 10, 300), 10);
    // A picture 400000 pixels high.
    View->AddPicture("", SolidPicture(1, 400000 - 12, clRed), 0, 0);
    View->Format();
    EXPECT_EQ(View->GetDocumentHeight(), 400000);
    EXPECT_EQ(View->VSmallStep, 13);
    EXPECT_LE(View->VScrollMax, 32000);
    // Steps that would leave more than 32000 units, and 0, are refused.
    View->SetVSmallStep(0);
    View->SetVSmallStep(10);
    EXPECT_EQ(View->VSmallStep, 13);
    View->Clear();
    View->Format();
    View->AddText("short", 0, 0);
    View->Format();
    EXPECT_EQ(View->VSmallStep, 10);
}

// After a document so tall that its scroll unit is taller than the view, a
// shorter one in the same view gets the smallest unit that keeps the range:
// the End key, the thumb, the arrows, the pages and the wheel all reach its
// last line, and it never opens below its end.
TEST_F(ViewControl, AShortDocumentAfterATallOneReachesItsLastLine) {
    EXPECT_EQ(RPVScrollStepFor(400000, 8389, 200), 13);
    EXPECT_EQ(RPVScrollStepFor(400000, 150, 200), 150); // a unit within the view stays
    EXPECT_EQ(RPVScrollStepFor(400000, 8389, 0), 13);
    EXPECT_EQ(RPVScrollStepFor(300000, 8389, 200), 10);
    EXPECT_EQ(RPVScrollStepFor(2000, 5, 2), 5);
    View->SetBounds(0, 0, 300, 104); // a client area 100 pixels high
    const auto load = [&](int PictureHeight) {
        View->Clear();
        View->AddPicture("", SolidPicture(1, PictureHeight, clRed), 0, 0);
        View->AddText("Ende", 0, 0);
        View->Format();
    };
    const auto lastLineShown = [&] {
        TRichPadRPData* d = View->RPData();
        const TRPDrawLineInfo* last = d->DrawItem(d->DrawItemCount() - 1);
        const int top = View->VPos * View->VSmallStep;
        return last->Top >= top && last->Top + last->Height <= top + View->ClientHeight();
    };
    load(4000000);
    EXPECT_GT(View->VSmallStep, View->ClientHeight());
    Key(Qt::Key_End);
    load(400000);
    EXPECT_EQ(View->VSmallStep, 13);
    // Left at the tall one's end, the view shows the short one's end.
    EXPECT_TRUE(lastLineShown()) << "loaded";
    Key(Qt::Key_Home);
    Key(Qt::Key_End);
    EXPECT_TRUE(lastLineShown()) << "End";
    Key(Qt::Key_Home);
    View->SendScrollMessage(SB_VERT, SB_THUMBPOSITION, View->VScrollMax);
    EXPECT_TRUE(lastLineShown()) << "thumb";
    for (const int code : {SB_PAGEDOWN, SB_LINEDOWN}) {
        Key(Qt::Key_Home);
        for (int before = -1; before != View->VPos;) {
            before = View->VPos;
            View->SendScrollMessage(SB_VERT, code);
        }
        EXPECT_TRUE(lastLineShown()) << code;
    }
    Key(Qt::Key_Home);
    SetSystemWheelScrollLines(WheelScrollPage);
    for (int before = -1; before != View->VPos;) {
        before = View->VPos;
        View->SendMouseWheel(-120);
    }
    EXPECT_TRUE(lastLineShown()) << "wheel";
}

TEST_F(ViewControl, TabMovesAmongLinksAndLeavesTheView) {
    View->AddText("a ", 0, 0);
    View->AddText("one", 2, -1);
    View->AddText(" b ", 0, -1);
    View->AddText("two", 2, -1);
    View->Format();
    auto* next = new TButton(Form.get());
    next->SetParent(Form.get());
    next->SetTabStop(true);
    next->SetTabOrder(1);
    Form->Show();
    ASSERT_EQ(View->TabNavigation(), rptnTab);
    Key(Qt::Key_Tab);
    EXPECT_EQ(View->RPData()->FocusedItemNo, 1);
    Key(Qt::Key_Tab);
    EXPECT_EQ(View->RPData()->FocusedItemNo, 3);
    // Ctrl+Tab moves only with Ctrl navigation.
    Key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(View->RPData()->FocusedItemNo, 3);
    // After the last link the form's next control takes the focus.
    Key(Qt::Key_Tab);
    EXPECT_EQ(Form->ActiveControl(), next);
    // With no other control the focus goes round to the first link.
    next->SetTabStop(false);
    View->SetTabNavigation(rptnCtrlTab);
    Key(Qt::Key_Tab);
    EXPECT_EQ(View->RPData()->FocusedItemNo, -1);
    Key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(View->RPData()->FocusedItemNo, 1);
    Key(Qt::Key_Tab, Qt::ControlModifier);
    Key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(View->RPData()->FocusedItemNo, 1);
    // Enter follows the focused link.
    int jumped = -1;
    View->OnJump = [&](TObject*, int id) { jumped = id; };
    Key(Qt::Key_Return);
    EXPECT_EQ(jumped, 0);
    Form->Hide();
}

TEST_F(ViewControl, LoadingRPFKeepsTheColourWithoutOne) {
    View->SetColor(clYellow);
    View->AddText("Hallo", 0, 0);
    std::string rpf;
    View->RPFOptions &= ~rpfoSaveBack;
    ASSERT_TRUE(View->SaveRPFToStream(rpf, false));
    View->Clear();
    ASSERT_TRUE(View->LoadRPFFromStream(rpf));
    EXPECT_EQ(View->Color(), clYellow);
    ASSERT_EQ(View->ItemCount(), 1);
    EXPECT_EQ(View->GetItemText(0), "Hallo");
}

TEST_F(ViewControl, ReadHyperlinkSeesHotKinds) {
    std::vector<int> seen;
    View->OnReadHyperlink = [&](TCustomRichPad*, const std::string&, const std::string&, int, int& StyleNo, TRPTag&,
                                std::string&) { seen.push_back(StyleNo); };
    std::string text;
    TRPTag tag;
    for (int sn : {rpsnBullet, rpsnPicture, 3}) {
        int s = sn;
        View->RPData()->DoReadHyperlink("target", "", text, tag, s, 2);
    }
    EXPECT_EQ(seen, (std::vector<int>{rpsnHotspot, rpsnHotPicture, 3}));
}

TEST_F(ViewControl, PaintsTheDocumentOrSaysThatTheStyleIsMissing) {
    View->AddText("Hallo", 1, 0);
    View->Format();
    QImage img;
    View->PaintTo(img);
    EXPECT_EQ(img.size(), QSize(296, 200));
    int ink = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 150; ++x)
            ink += qGray(img.pixel(x, y)) < 100;
    EXPECT_GT(ink, 50);
    // The background has the style's colour.
    EXPECT_EQ(img.pixel(250, 150), QColor(Qt::white).rgb());
    View->SetStyle(nullptr);
    View->PaintTo(img);
    ink = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 296; ++x)
            ink += qGray(img.pixel(x, y)) < 100;
    EXPECT_GT(ink, 50);
}

TEST_F(ViewControl, ResizingKeepsTheTopItemInView) {
    Lines(60);
    View->ScrollTo(400); // line 20 at the top
    const int top = View->RPData()->GetFirstVisibleItem();
    View->SetBounds(0, 0, 200, 204);
    EXPECT_EQ(View->RPData()->GetVOffs(), 400);
    EXPECT_EQ(View->RPData()->GetFirstVisibleItem(), top);
}

TEST_F(ViewControl, InItsSecondModeACheckpointIsReportedWhileItIsInView) {
    std::vector<std::string> reported;
    View->CheckpointEventMode = 2;
    View->OnCheckpointVisible = [&](TCustomRichPad*, TRPCPInfo* CP) {
        reported.push_back(CP ? CP->Name : "-");
    };
    for (int i = 0; i < 60; ++i) {
        if (i == 25) View->RPData()->AddCheckpoint("mitte", true, TRPTag{});
        View->AddText("line " + std::to_string(i), 0, 0);
    }
    View->Format();
    const int y = View->RPData()->DrawItem(View->RPData()->GetFirstDrawItemOfItem(25))->Top;
    View->ScrollTo(y - 150); // in the lower part of the view
    View->ScrollTo(y + 300); // scrolled past
    View->ScrollTo(0);       // still below the view
    EXPECT_EQ(reported, (std::vector<std::string>{"mitte", "-"}));
}

TEST_F(ViewControl, AControlThatCannotBeHadFailsTheLoadUnlessUnknownControlsAreLeftOut) {
    // A control record with a stored body naming a class: no control is made from it.
    const std::string rpf = "-8 1 3\r\n0 1 0 0 0 0\r\nbefore\r\n-5 3 0 0 0 0 0\r\nbtn\r\nTShellExecutor\r\n"
                            "0011AABBCCDD\r\n0 1 0 0 0 0\r\nafter\r\n";
    View->RPFWarnings = 0;
    EXPECT_FALSE(View->LoadRPFFromStream(rpf));
    EXPECT_NE(View->RPFWarnings & 2, 0);
    View->RPFOptions |= rpfoIgnoreUnknownCtrls;
    View->RPFWarnings = 0;
    ASSERT_TRUE(View->LoadRPFFromStream(rpf));
    ASSERT_EQ(View->ItemCount(), 2);
    EXPECT_EQ(View->GetItemText(0), "before");
    EXPECT_EQ(View->GetItemText(1), "after");
    EXPECT_NE(View->RPFWarnings & 2, 0);
    // Without a body the application is asked; none given is warned of too.
    const std::string named = "-8 1 3\r\n0 1 0 0 0 0\r\nbefore\r\n-5 1 0 0 1 0 \r\nbtn\r\n";
    View->RPFWarnings = 0;
    ASSERT_TRUE(View->LoadRPFFromStream(named));
    EXPECT_EQ(View->ItemCount(), 1);
    EXPECT_NE(View->RPFWarnings & 2, 0);
}

TEST_F(ViewControl, ImageListsComeBackFromRPFByTheirTag) {
    // A bullet and a hotspot of a list tagged 7, written and read back.
    TCustomImageList lists[2] = {TCustomImageList(nullptr), TCustomImageList(nullptr)};
    lists[0].SetTag(7);
    lists[0].SetSize(8, 8);
    TBitmap strip(24, 8);
    ASSERT_EQ(lists[0].Add(&strip, nullptr), 0);
    lists[1].SetTag(7);
    lists[1].SetSize(8, 8);
    TBitmap one(8, 8);
    ASSERT_EQ(lists[1].Add(&one, nullptr), 0);
    auto bullet = std::make_unique<TRPBulletItemInfo>(View->RPData());
    bullet->StyleNo = rpsnBullet;
    bullet->ImageList = &lists[0];
    bullet->ImageIndex = 2;
    View->RPData()->AddItem("b", std::move(bullet));
    auto hotspot = std::make_unique<TRPHotspotItemInfo>(View->RPData());
    hotspot->StyleNo = rpsnHotspot;
    hotspot->ImageList = &lists[0];
    hotspot->ImageIndex = 1;
    hotspot->HotImageIndex = 2;
    View->RPData()->AddItem("h", std::move(hotspot));
    std::string rpf;
    ASSERT_TRUE(View->SaveRPFToStream(rpf, false));

    std::vector<int> asked;
    TCustomImageList* given = &lists[0];
    View->OnRPFImageListNeeded = [&](TCustomRichPad* Sender, int Tag, TCustomImageList*& List) {
        EXPECT_EQ(Sender, View);
        asked.push_back(Tag);
        List = given;
    };
    ASSERT_TRUE(View->LoadRPFFromStream(rpf));
    EXPECT_EQ(asked, (std::vector<int>{7, 7}));
    ASSERT_EQ(View->ItemCount(), 2);
    auto* b = dynamic_cast<TRPBulletItemInfo*>(View->GetItem(0));
    auto* h = dynamic_cast<TRPHotspotItemInfo*>(View->GetItem(1));
    ASSERT_TRUE(b && h);
    EXPECT_EQ(b->ImageList, &lists[0]);
    EXPECT_EQ(b->ImageIndex, 2);
    EXPECT_EQ(h->ImageList, &lists[0]);
    EXPECT_EQ(h->ImageIndex, 1);
    EXPECT_EQ(h->HotImageIndex, 2);
    EXPECT_EQ(View->RPFWarnings, 0);

    // A list too short for the indexes: they become 0 with warning 8, or
    // the load fails without the option that allows it.
    given = &lists[1];
    View->RPFOptions |= rpfoConvLargeImageIdxToZero;
    ASSERT_TRUE(View->LoadRPFFromStream(rpf));
    EXPECT_EQ(View->RPFWarnings, 8);
    b = dynamic_cast<TRPBulletItemInfo*>(View->GetItem(0));
    h = dynamic_cast<TRPHotspotItemInfo*>(View->GetItem(1));
    ASSERT_TRUE(b && h);
    EXPECT_EQ(b->ImageList, &lists[1]);
    EXPECT_EQ(b->ImageIndex, 0);
    EXPECT_EQ(h->ImageIndex, 0);
    EXPECT_EQ(h->HotImageIndex, 0);
    View->RPFOptions &= ~rpfoConvLargeImageIdxToZero;
    EXPECT_FALSE(View->LoadRPFFromStream(rpf));
    EXPECT_EQ(View->RPFWarnings, 8);
}

TEST_F(ViewControl, InvalidatingTheViewRepaintsItsClientArea) {
    Lines(5);
    int paints = 0;
    View->OnPaint = [&](TCustomRichPad*, TCanvas*, bool) { ++paints; };
    Form->Show();
    QApplication::processEvents();
    const int shown = paints;
    EXPECT_GT(shown, 0);
    View->Invalidate();
    QApplication::processEvents();
    EXPECT_GT(paints, shown);
    // So does a changed selection.
    const int before = paints;
    View->SelectAll();
    QApplication::processEvents();
    EXPECT_GT(paints, before);
    Form->Hide();
}

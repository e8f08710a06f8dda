// The mouse in a view: selecting by characters, words, paragraphs and lines,
// double and right clicks, and hypertext jumps under the pointer.
#include <QApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include "ViewTestDoc.h"
#include "platform/Pictures.h"
#include "richtext/model/RPClipFormats.h"
#include "support/FixedMetrics.h"
#include "support/MetafileBuilder.h"

namespace {

class Mouse : public ViewFixture {
protected:
    void Send(QEvent::Type Type, int X, int Y, Qt::MouseButton Button = Qt::LeftButton,
              Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        const Qt::MouseButtons held = Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Button);
        QMouseEvent e(Type, QPointF(X, Y), View->ClientWidget()->mapToGlobal(QPointF(X, Y)),
                      Type == QEvent::MouseMove ? Qt::NoButton : Button, held, Mods);
        QApplication::sendEvent(View->ClientWidget(), &e);
    }
    void Press(int X, int Y, Qt::MouseButton B = Qt::LeftButton, Qt::KeyboardModifiers M = Qt::NoModifier) {
        Send(QEvent::MouseButtonPress, X, Y, B, M);
    }
    void Drag(int X, int Y) { Send(QEvent::MouseMove, X, Y); }
    void Hover(int X, int Y) { Send(QEvent::MouseMove, X, Y, Qt::NoButton); }
    void Release(int X, int Y, Qt::MouseButton B = Qt::LeftButton) { Send(QEvent::MouseButtonRelease, X, Y, B); }
    void Click(int X, int Y) {
        Press(X, Y);
        Release(X, Y);
    }
    void DoubleClick(int X, int Y) {
        Click(X, Y);
        Send(QEvent::MouseButtonDblClick, X, Y);
        Release(X, Y);
    }
    std::string Selected() { return View->RPData()->GetSelText().toStdString(); }
    // Two paragraphs: "aaa bbb ccc" on y 5..25, "ddd eee fff" on y 25..45;
    // characters 10 pixels wide from x = 5.
    void TwoParagraphs() {
        View->AddText("aaa bbb ccc", 0, 0);
        View->AddText("ddd eee fff", 0, 0);
        View->Format();
    }
};

} // namespace

TEST_F(Mouse, SelectsByCharacters) {
    Style->SelectionMode = rpsmChar;
    TwoParagraphs();
    Press(16, 10); // the left half of the second character
    Drag(66, 10);
    Drag(66, 30); // on into the second paragraph
    Release(66, 30);
    EXPECT_EQ(Selected(), "aa bbb ccc\r\nddd ee");
    int si, so, ei, eo;
    View->RPData()->GetSelBounds(si, so, ei, eo, true);
    EXPECT_EQ(std::vector<int>({si, so, ei, eo}), std::vector<int>({0, 2, 1, 7}));
    // Dragging backwards selects the same way round.
    Press(66, 30);
    Drag(16, 10);
    Release(16, 10);
    EXPECT_EQ(Selected(), "aa bbb ccc\r\nddd ee");
}

TEST_F(Mouse, SelectsByWordsOnceThePointerLeavesTheFirstWord) {
    TwoParagraphs();
    ASSERT_EQ(Style->SelectionMode, rpsmWord);
    Press(16, 10);
    Drag(26, 10); // still inside "aaa": characters
    EXPECT_EQ(Selected(), "a");
    Drag(96, 10); // into "ccc": the selection snaps to whole words
    Drag(97, 10);
    Release(97, 10);
    EXPECT_EQ(Selected(), "aaa bbb ccc");
}

TEST_F(Mouse, SelectsByParagraphs) {
    Style->SelectionMode = rpsmParagraph;
    TwoParagraphs();
    Press(46, 10);
    Drag(46, 30);
    Release(46, 30);
    EXPECT_EQ(Selected(), "aaa bbb ccc\r\nddd eee fff");
}

TEST_F(Mouse, APressInTheLeftMarginSelectsLines) {
    View->AddText("aaa bbb ccc ddd eee fff ggg hhh iii jjj kkk lll mmm nnn", 0, 0);
    View->Format();
    Press(2, 30);
    Release(2, 30);
    // The paragraph's second line (28 characters to a line), whole.
    EXPECT_EQ(Selected(), "hhh iii jjj kkk lll mmm nnn");
}

TEST_F(Mouse, DoubleClickSelectsAWordOrAPicture) {
    TwoParagraphs();
    std::string word;
    View->OnRPDblClick = [&](TCustomRichPad*, const std::string& w, int) { word = w; };
    DoubleClick(56, 10);
    EXPECT_EQ(Selected(), "bbb");
    EXPECT_EQ(word, "bbb");
    View->Clear();
    View->AddText("ab", 0, 0);
    View->AddPicture("", SolidPicture(30, 30, clRed), -1, 0);
    View->Format();
    DoubleClick(40, 20);
    int si, so, ei, eo;
    View->RPData()->GetSelBounds(si, so, ei, eo, true);
    EXPECT_EQ(std::vector<int>({si, so, ei, eo}), std::vector<int>({1, 0, 1, 1}));
    EXPECT_NE(View->GetSelectedImage(), nullptr);
}

TEST_F(Mouse, RightClickOutsideTheSelectionRemovesIt) {
    TwoParagraphs();
    DoubleClick(56, 10);
    ASSERT_TRUE(View->SelectionExists());
    Press(60, 10, Qt::RightButton);
    Release(60, 10, Qt::RightButton);
    EXPECT_EQ(Selected(), "bbb");
    Press(60, 30, Qt::RightButton);
    Release(60, 30, Qt::RightButton);
    EXPECT_FALSE(View->SelectionExists());
}

namespace {

// "go " + "one" + " and " + "two" + " or " + "three", the links in style 2.
void Links(TRichPad* View) {
    View->AddText("go ", 0, 0);
    View->AddText("one", 2, -1);
    View->AddText(" and ", 0, -1);
    View->AddText("two", 2, -1);
    View->AddText(" or ", 0, -1);
    View->AddText("three", 2, -1);
    View->Format();
}

} // namespace

TEST_F(Mouse, JumpsShowTheHandAndFireTheirNumbers) {
    View->SetFirstJumpNo(100);
    Links(View);
    std::vector<int> moves, jumps;
    View->OnRPMouseMove = [&](TObject*, int id) { moves.push_back(id); };
    View->OnJump = [&](TObject*, int id) { jumps.push_back(id); };
    Hover(10, 10);
    EXPECT_EQ(View->CurrentCursor(), crDefault);
    Hover(40, 10); // "one" at 35 .. 65
    Hover(50, 10);
    EXPECT_EQ(View->CurrentCursor(), crRPJump);
    EXPECT_TRUE(View->RPData()->IsHotJump(100));
    Hover(10, 10);
    EXPECT_EQ(View->CurrentCursor(), crDefault);
    EXPECT_EQ(moves, (std::vector<int>{100, -1}));
    // "three" is the third jump: 102.
    Click(200, 10);
    EXPECT_EQ(jumps, (std::vector<int>{102}));
    EXPECT_EQ(View->GetJumpItemNo(102), 5);
    EXPECT_EQ(View->GetJumpItemNo(99), -1);
}

TEST_F(Mouse, ALinkOverTwoLinesIsOneJump) {
    View->AddText("aaa bbb ccc ", 0, 0);
    View->AddText("ddd eee fff ggg hhh iii", 2, -1);
    View->Format();
    ASSERT_EQ(View->RPData()->Jumps.size(), 2u);
    EXPECT_EQ(View->RPData()->Jumps[0].Id, View->RPData()->Jumps[1].Id);
    std::vector<int> moves;
    View->OnRPMouseMove = [&](TObject*, int id) { moves.push_back(id); };
    Hover(140, 10);
    Hover(20, 30);
    EXPECT_EQ(moves, (std::vector<int>{0}));
}

TEST_F(Mouse, SelectingAcrossAJumpFollowsNoJump) {
    Style->SelectionMode = rpsmChar;
    Links(View);
    int jumps = 0;
    View->OnJump = [&](TObject*, int) { ++jumps; };
    Press(38, 10);
    Drag(90, 10);
    Drag(50, 10);
    Release(50, 10);
    EXPECT_EQ(jumps, 0);
    // A press and release over different places of one jump is a click.
    View->Deselect();
    Press(38, 10);
    Release(60, 10);
    EXPECT_EQ(jumps, 1);
}

TEST_F(Mouse, ItemHintsFollowThePointer) {
    View->Options |= rpoShowItemHints;
    View->AddText("ab", 0, 0);
    View->AddPicture("", SolidPicture(30, 30, clRed), -1, 0);
    View->GetItem(1)->Hint = "Gr\xFC\xDF""e";
    View->Format();
    Hover(40, 20);
    EXPECT_EQ(View->Hint(), QStringLiteral("Grüße"));
    Hover(200, 150);
    EXPECT_TRUE(View->Hint().isEmpty());
}

TEST_F(Mouse, TheSelectionIsDraggedOutOfAViewAsACopy) {
    TwoParagraphs();
    TRichPadRPData* d = View->RPData();
    View->SetSelectionBounds(0, 5, 1, 4);
    ASSERT_EQ(Selected(), "bbb ccc\r\nddd");
    EXPECT_TRUE(d->CanStartDragging());
    EXPECT_EQ(View->AllowedDragEffects(), 1);
    // The drag offers what a copy offers: the text, RTF and RPF of the selection.
    const std::unique_ptr<QMimeData> data = View->CreateDragData();
    EXPECT_EQ(data->text(), QStringLiteral("bbb ccc\r\nddd"));
    EXPECT_TRUE(data->data("text/rtf").startsWith("{\\rtf1"));
    EXPECT_EQ(data->data("application/rtf"), data->data("text/rtf"));
    const QByteArray block = data->data(RPClipboardMimeType(RPClipboardFormatRPF));
    ASSERT_GT(block.size(), 4);
    TRichPad copy(Form.get());
    copy.SetStyle(Style.get());
    ASSERT_TRUE(copy.LoadRPFFromStream(block.mid(4).toStdString()));
    copy.Format();
    copy.SelectAll();
    EXPECT_EQ(copy.RPData()->GetSelText(), QStringLiteral("bbb ccc\r\nddd"));
    EXPECT_FALSE(data->hasImage());

    // A press inside the selection waits for the drag; released in place it is a click there.
    Press(85, 10);
    EXPECT_TRUE(d->State & rpstDragPending);
    EXPECT_EQ(Selected(), "bbb ccc\r\nddd");
    Release(85, 10);
    EXPECT_FALSE(d->State & (rpstDragPending | rpstDragging));
    EXPECT_EQ(Selected(), "");
    int si, so, ei, eo;
    d->GetSelBounds(si, so, ei, eo, true);
    EXPECT_EQ(std::vector<int>({si, so, ei, eo}), std::vector<int>({0, 9, 0, 9}));

    // Not when the options forbid it, while a drag runs, or in a document
    // that is not the view's own.
    View->Options |= rpoDisallowDrag;
    EXPECT_FALSE(d->CanStartDragging());
    View->Options &= ~rpoDisallowDrag;
    d->State |= rpstDragging;
    EXPECT_FALSE(d->CanStartDragging());
    d->State &= ~rpstDragging;
    View->DocFlags &= ~rpflMainDocument;
    EXPECT_FALSE(d->CanStartDragging());
    View->DocFlags |= rpflMainDocument;
    EXPECT_TRUE(d->CanStartDragging());
}

TEST_F(Mouse, ASelectedMetafileIsDraggedAsItself) {
    const QByteArray wmf =
        TWmfBuilder(720, 720).WindowExt(720, 720).Brush(0xFF).Rectangle(0, 0, 720, 720).Bytes();
    auto meta = std::make_unique<TMetafile>();
    ASSERT_TRUE(meta->LoadFromStream(wmf));
    View->AddText("a", 0, 0);
    View->AddPicture("", std::move(meta), -1, 0);
    View->Format();
    View->SetSelectionBounds(1, 0, 1, 1);
    const std::unique_ptr<QMimeData> data = View->CreateDragData();
    EXPECT_EQ(data->data("image/x-wmf"), wmf);
    ASSERT_TRUE(data->hasImage());
    const QImage image = qvariant_cast<QImage>(data->imageData());
    EXPECT_EQ(image.size(), QSize(48, 48));
    EXPECT_EQ(image.pixel(24, 24), qRgb(255, 0, 0));
}

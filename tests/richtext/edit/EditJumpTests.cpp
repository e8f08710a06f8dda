// Links in an editor: followed only while Ctrl is held in an editable one,
// always in a read-only one, and named by their jump numbers when saved.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "EditTestSupport.h"
#include "platform/Keys.h"
#include "richtext/model/RPDrawLines.h"
#include "richtext/model/RPStyleInfos.h"

namespace {

// "go " in style 0, then the link "Seite" in a jump style, then " weiter".
struct TLinkDoc : TEditFixture {
    int JumpStyle = -1;
    std::vector<int> Followed;
    TLinkDoc() {
        TFontInfo* link = Style->TextStyles().Add();
        link->FontName = "Arial";
        link->Size = 15;
        link->Jump = true;
        JumpStyle = Style->TextStyles().Count() - 1;
        Edit->Clear();
        Edit->AddText("go ", 0, 0);
        Edit->RPData()->AddText("Seite", JumpStyle, -1);
        Edit->RPData()->AddText(" weiter", 0, -1);
        Edit->Format();
        Edit->OnJump = [this](TObject*, int id) { Followed.push_back(Edit->GetJumpItemNo(id)); };
    }
    // A press and release of the left button at the middle of item 1.
    void ClickLink(Qt::KeyboardModifiers Mods) {
        const TRPDrawLineInfo* di = Data()->DrawItem(Data()->GetFirstDrawItemOfItem(1));
        const QPointF at(di->Left + di->Width / 2 - Data()->GetHOffs(), di->Top + di->Height / 2 - Data()->GetVOffs());
        QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Mods);
        QMouseEvent press(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton, Mods);
        QMouseEvent release(QEvent::MouseButtonRelease, at, at, Qt::LeftButton, Qt::NoButton, Mods);
        QApplication::sendEvent(Edit->ClientWidget(), &move);
        HoverCursor = Edit->CurrentCursor();
        QApplication::sendEvent(Edit->ClientWidget(), &press);
        QApplication::sendEvent(Edit->ClientWidget(), &release);
    }
    TCursor HoverCursor = crDefault;
};

} // namespace

TEST(EditJumps, AnEditableEditorFollowsLinksOnlyWhileCtrlIsHeld) {
    TLinkDoc f;
    f.Edit->EditorOptions |= rpoCtrlJumps;
    f.Caret(0, 2);
    // A plain click places the caret in the link's text.
    f.ClickLink(Qt::NoModifier);
    EXPECT_TRUE(f.Followed.empty());
    EXPECT_EQ(f.HoverCursor, crIBeam);
    EXPECT_EQ(f.Data()->CurItemNo(), 1);
    // With Ctrl down the pointer shows the link's cursor and a click follows it.
    f.Caret(0, 2);
    f.Key(VK_CONTROL, ssCtrl);
    f.ClickLink(Qt::ControlModifier);
    EXPECT_EQ(f.Followed, std::vector<int>{1});
    EXPECT_EQ(f.HoverCursor, crRPJump);
    // Releasing Ctrl ends it, and the caret is where the editor had it.
    f.Caret(0, 2);
    f.Edit->SendKeyUp(VK_CONTROL);
    EXPECT_EQ(f.CaretPos(), "0:2");
    EXPECT_FALSE(f.Edit->DocFlags & rpflRecordJumps);
    f.ClickLink(Qt::NoModifier);
    EXPECT_EQ(f.Followed.size(), 1u);
    // Without the option Ctrl does nothing for links.
    f.Edit->EditorOptions &= static_cast<TRPEditorOptions>(~rpoCtrlJumps);
    f.Key(VK_CONTROL, ssCtrl);
    EXPECT_FALSE(f.Edit->DocFlags & rpflRecordJumps);
    f.ClickLink(Qt::ControlModifier);
    EXPECT_EQ(f.Followed.size(), 1u);
}

TEST(EditJumps, AReadOnlyEditorFollowsLinksWithAPlainClick) {
    // The section pages: read-only, Ctrl links, tabs, no caret.
    TLinkDoc f;
    f.Edit->EditorOptions = rpoCtrlJumps | rpoWantTabs | rpoHideReadOnlyCaret;
    f.Edit->SetReadOnly(true);
    f.Edit->Format();
    f.ClickLink(Qt::NoModifier);
    EXPECT_EQ(f.Followed, std::vector<int>{1});
    EXPECT_EQ(f.HoverCursor, crRPJump);
    // Ctrl pressed and released leaves the links working.
    f.Key(VK_CONTROL, ssCtrl);
    f.Edit->SendKeyUp(VK_CONTROL);
    f.ClickLink(Qt::NoModifier);
    EXPECT_EQ(f.Followed, (std::vector<int>{1, 1}));
    // Back to editing, links rest again.
    f.Edit->SetReadOnly(false);
    f.ClickLink(Qt::NoModifier);
    EXPECT_EQ(f.Followed.size(), 2u);
}

TEST(EditJumps, TheCaretAtAnItemsEndTakesTheNextItemAndHighlightsALinkUnderIt) {
    TLinkDoc f;
    f.Edit->SetReadOnly(true);
    f.Caret(1, 3);
    EXPECT_TRUE(f.Data()->IsHotJump(0));
    f.Caret(0, 2);
    EXPECT_FALSE(f.Data()->IsHotJump(0));
    // After "go " the line goes on with the link: the caret is the link's.
    f.Caret(0, 4);
    EXPECT_TRUE(f.Data()->IsHotJump(0));
    EXPECT_EQ(f.Edit->CurTextStyleNo(), f.JumpStyle);
    // Typed there, text joins the link, and goes on in its style.
    f.Edit->SetReadOnly(false);
    f.Caret(0, 4);
    f.Type("ab");
    EXPECT_EQ(PlainText(*f.Data()), "go abSeite weiter");
    EXPECT_EQ(f.Data()->GetItemText(1), "abSeite");
    // At the end of the link the caret belongs to the text after it, but
    // typing keeps the style it typed in.
    f.Caret(1, 8);
    EXPECT_EQ(f.Edit->CurTextStyleNo(), 0);
    f.Edit->SetCurTextStyleNo(f.JumpStyle);
    f.Type("cd");
    EXPECT_EQ(f.Data()->GetItemText(1), "abSeitecd");
}

TEST(EditJumps, SavingNamesEveryLinkByItsCurrentJumpNumber) {
    TLinkDoc f;
    std::vector<int> asked;
    f.Edit->OnWriteHyperlink = [&](TCustomRichPad* Sender, int id, TCustomRPData*, int ItemNo, int, std::string& Target,
                                   std::string&) {
        asked.push_back(Sender->GetJumpItemNo(id));
        Target = "seite" + std::to_string(ItemNo) + ".rtf";
    };
    // A second link typed in front of the first renumbers the jumps.
    f.Caret(0, 1);
    f.Edit->SetCurTextStyleNo(f.JumpStyle);
    f.Type("Hier");
    f.Edit->SetCurTextStyleNo(0);
    std::string rtf;
    ASSERT_TRUE(f.Edit->SaveRTFToStream(rtf, false));
    EXPECT_EQ(asked, (std::vector<int>{0, 2}));
    EXPECT_NE(rtf.find("HYPERLINK \"seite0.rtf\""), std::string::npos);
    EXPECT_NE(rtf.find("HYPERLINK \"seite2.rtf\""), std::string::npos);
    // The editor is back to editing: no jumps, the caret where it was.
    EXPECT_FALSE(f.Edit->DocFlags & rpflRecordJumps);
    EXPECT_TRUE(f.Data()->Jumps.empty());
    EXPECT_EQ(f.CaretPos(), "0:5");
    asked.clear();
    std::string html;
    int imageNo = 0;
    ASSERT_TRUE(f.Data()->SaveHTMLToStream(html, std::string(), "t", std::string(), 0, clWhite, imageNo, 0, 0, 0, 0,
                                           nullptr, nullptr));
    EXPECT_EQ(asked, (std::vector<int>{0, 2}));
    EXPECT_NE(html.find("href=\"seite2.rtf\""), std::string::npos);
    EXPECT_FALSE(f.Edit->DocFlags & rpflRecordJumps);
}

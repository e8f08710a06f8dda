// Typing, Enter, Delete and Backspace, and their undo.
#include <gtest/gtest.h>

#include "EditTestSupport.h"
#include "platform/Keys.h"
#include "platform/Pictures.h"
#include "support/FormDriver.h"

#include <QApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWidget>

TEST(EditTyping, NewEditorHasNoCaretUntilItHasDrawItems) {
    TEditFixture f;
    // Clear and Format give the empty document its empty text item.
    EXPECT_EQ(f.Data()->GetItemCount(), 1);
    EXPECT_EQ(f.CaretPos(), "0:1");
    auto* bare = new TRichPadEdit(f.Form.get());
    EXPECT_EQ(bare->CurItemNo(), -1);
    EXPECT_EQ(bare->OffsetInCurItem(), -1);
    delete bare;
}

TEST(EditTyping, TypedCharactersFormOneUndoGroupUndoneOneAtATime) {
    TEditFixture f;
    f.Load("xy");
    f.Caret(0, 2);
    f.Type("abc");
    EXPECT_EQ(PlainText(*f.Data()), "xabcy");
    EXPECT_EQ(f.Data()->UndoList->Count(), 1);
    EXPECT_TRUE(f.Edit->Modified);
    f.Edit->Undo();
    EXPECT_EQ(PlainText(*f.Data()), "xaby");
    EXPECT_EQ(f.CaretPos(), "0:4");
    f.Edit->Undo();
    EXPECT_EQ(PlainText(*f.Data()), "xay");
    EXPECT_EQ(f.CaretPos(), "0:3");
    f.Edit->Undo();
    EXPECT_EQ(PlainText(*f.Data()), "xy");
    EXPECT_EQ(f.CaretPos(), "0:2");
    EXPECT_FALSE(f.Edit->CanUndo());
    f.Edit->Redo();
    EXPECT_EQ(PlainText(*f.Data()), "xay");
    EXPECT_EQ(f.CaretPos(), "0:3");
    f.Edit->Redo();
    EXPECT_EQ(PlainText(*f.Data()), "xaby");
    f.Edit->Redo();
    EXPECT_EQ(PlainText(*f.Data()), "xabcy");
    EXPECT_FALSE(f.Edit->CanRedo());
    // Typing elsewhere starts a new group; a new edit empties the redo list.
    f.Edit->Undo();
    f.Caret(0, 1);
    f.Type("z");
    EXPECT_EQ(f.Data()->UndoList->Count(), 2);
    EXPECT_FALSE(f.Edit->CanRedo());
}

TEST(EditTyping, TypingInAnotherStyleMakesANewItemThatTakesTheNeighboursTag) {
    TEditFixture f;
    f.Load("abcdef");
    f.Caret(0, 4);
    f.Edit->SetCurTextStyleNo(1);
    f.Type("X");
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"abc\"\n- s1 p0 \"X\"\n- s0 p0 \"def\"\n");
    EXPECT_EQ(f.CaretPos(), "1:2");
    f.Type("Y");
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"abc\"\n- s1 p0 \"XY\"\n- s0 p0 \"def\"\n");
    f.Edit->Undo();
    f.Edit->Undo();
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"abcdef\"\n");
}

TEST(EditTyping, TextThatReplacesAWholeItemOfTheCurrentStyleKeepsItsTag) {
    TEditFixture f;
    f.Edit->Clear();
    f.Data()->AddTextTag("Link", 1, 0, TRPTag::FromInt(7));
    f.Data()->AddTextTag("vor ", 0, 0, TRPTag{});
    f.Data()->AddTextTag("Ziel", 1, -1, TRPTag::FromInt(9));
    f.Edit->Format();
    const auto tags = [&] {
        std::string s;
        for (int i = 0; i < f.Data()->GetItemCount(); ++i)
            s += std::to_string(f.Data()->GetItem(i)->Tag.Int) + " ";
        return s;
    };
    // Typed over from the keyboard: the paragraph's one item becomes the new text, tag and all.
    f.Select(0, 1, 0, 5);
    for (const char c : std::string("Neu")) {
        const QString text(QChar::fromLatin1(c));
        QKeyEvent press(QEvent::KeyPress, QtKeyOfChar(text[0].unicode()), Qt::NoModifier, text);
        QApplication::sendEvent(f.Edit->Widget(), &press);
        QKeyEvent release(QEvent::KeyRelease, QtKeyOfChar(text[0].unicode()), Qt::NoModifier, text);
        QApplication::sendEvent(f.Edit->Widget(), &release);
    }
    EXPECT_EQ(DumpItems(*f.Data()), "P s1 p0 \"Neu\"\nP s0 p0 \"vor \"\n- s1 p0 \"Ziel\"\n");
    EXPECT_EQ(tags(), "7 0 9 ");
    // Inserted over the item that ends the line.
    f.Select(2, 1, 2, 5);
    f.Edit->InsertText("Ort");
    EXPECT_EQ(DumpItems(*f.Data()), "P s1 p0 \"Neu\"\nP s0 p0 \"vor \"\n- s1 p0 \"Ort\"\n");
    EXPECT_EQ(tags(), "7 0 9 ");
    // The tag is not held beyond the edit: text of that style typed later
    // elsewhere as an item of its own takes none.
    f.Caret(1, 3);
    f.Edit->SetCurTextStyleNo(1);
    f.Type("x");
    EXPECT_EQ(DumpItems(*f.Data()),
              "P s1 p0 \"Neu\"\nP s0 p0 \"vo\"\n- s1 p0 \"x\"\n- s0 p0 \"r \"\n- s1 p0 \"Ort\"\n");
    EXPECT_EQ(tags(), "7 0 0 0 9 ");
}

TEST(EditTyping, ProtectedTextAndReadOnlyParagraphsRefuse) {
    TEditFixture f;
    f.Edit->Clear();
    f.Edit->AddText("locked", 3, 0);
    f.Edit->AddText("fixed", 0, 2);
    f.Edit->Format();
    f.Caret(0, 3);
    f.Edit->SetCurTextStyleNo(3);
    f.Type("x");
    EXPECT_EQ(PlainText(*f.Data()), "locked\nfixed");
    // At its end a new item takes the text.
    f.Caret(0, 7);
    f.Edit->SetCurTextStyleNo(3);
    f.Type("x");
    EXPECT_EQ(PlainText(*f.Data()), "lockedx\nfixed");
    f.Caret(2, 3);
    f.Type("y");
    EXPECT_EQ(PlainText(*f.Data()), "lockedx\nfixed");
}

TEST(EditTyping, ACharacterTheCodePageLacksSwitchesToTheDefaultUnicodeStyle) {
    TEditFixture f;
    f.Style->DefUnicodeStyle = 2;
    f.Load("ab");
    f.Caret(0, 3);
    const std::string before = SaveRPF(*f.Edit);
    // Both lie in code page 1252 and stay in the 8-bit item.
    f.Edit->SendChar(u'\u00E4');
    f.Edit->SendChar(u'\u20AC');
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"ab\u00E4\u20AC\"\n");
    EXPECT_EQ(f.Data()->GetItemText(0), "ab\xE4\x80");
    EXPECT_EQ(f.Edit->CurTextStyleNo(), 0);
    // Omega, then Cyrillic de: a new Unicode item that the next characters continue.
    f.Edit->SendChar(u'\u03A9');
    EXPECT_EQ(f.Edit->CurTextStyleNo(), 2);
    f.Edit->SendChar(u'x');
    f.Edit->SendChar(u'\u0434');
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"ab\u00E4\u20AC\"\n- s2 p0 \"\u03A9x\u0434\"\n");
    EXPECT_TRUE(f.Data()->GetItemOptions(1) & rpioUnicode);
    EXPECT_EQ(f.Data()->GetItemText(1), std::string("\xA9\x03x\0\x34\x04", 6));
    EXPECT_EQ(f.CaretPos(), "1:4");
    const std::string typed = SaveRPF(*f.Edit);

    while (f.Edit->CanUndo())
        f.Edit->Undo();
    EXPECT_EQ(SaveRPF(*f.Edit), before);
    while (f.Edit->CanRedo())
        f.Edit->Redo();
    EXPECT_EQ(SaveRPF(*f.Edit), typed);
}

TEST(EditTyping, WithoutAValidDefaultUnicodeStyleTheCharacterStaysEightBit) {
    // -1, out of range, or a style that is not Unicode: nothing to switch to.
    for (const int def : {-1, 99, 1}) {
        TEditFixture f;
        f.Style->DefUnicodeStyle = def;
        f.Load("ab");
        f.Caret(0, 3);
        f.Edit->SendChar(u'\u03A9');
        EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"ab?\"\n") << def;
        EXPECT_EQ(f.Edit->CurTextStyleNo(), 0) << def;
    }
}

TEST(EditInput, AComposedTextTheCodePageLacksGoesIntoTheDefaultUnicodeStyle) {
    TEditFixture f;
    f.Style->DefUnicodeStyle = 2;
    f.Load("ab");
    f.Caret(0, 3);
    QInputMethodEvent compose;
    compose.setCommitString(QStringLiteral("\u221A2"));
    QApplication::sendEvent(f.Edit->Widget(), &compose);
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"ab\"\n- s2 p0 \"\u221A2\"\n");
}

TEST(EditEnter, SplitsAParagraphAndJoinsItBackOnUndo) {
    TEditFixture f;
    f.Load("abcdef\nnext");
    const std::string before = SaveRPF(*f.Edit);
    f.Caret(0, 4);
    f.Key(VK_RETURN);
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"abc\"\nP s0 p0 \"def\"\nP s0 p0 \"next\"\n");
    EXPECT_EQ(f.CaretPos(), "1:1");
    f.Key(VK_RETURN, ssShift);
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"abc\"\nP s0 p0 \"\"\nB s0 p0 \"def\"\nP s0 p0 \"next\"\n");
    f.Edit->Undo();
    f.Edit->Undo();
    EXPECT_EQ(SaveRPF(*f.Edit), before);
}

TEST(EditEnter, AtTheEndAppendsAnEmptyParagraphInTheNextStyle) {
    TEditFixture f;
    f.Edit->Clear();
    f.Edit->AddText("head", 4, 1);
    f.Edit->Format();
    f.Caret(0, 5);
    f.Key(VK_RETURN);
    EXPECT_EQ(DumpItems(*f.Data()), "P s4 p1 \"head\"\nP s1 p1 \"\"\n");
    EXPECT_EQ(f.CaretPos(), "1:1");
    EXPECT_EQ(f.Edit->CurTextStyleNo(), 1);
}

TEST(EditBackspace, JoinsParagraphsAndDeletesCharacters) {
    TEditFixture f;
    f.Load("abc\ndef");
    f.Caret(0, 1);
    f.Key(VK_BACK);
    EXPECT_EQ(PlainText(*f.Data()), "abc\ndef");
    EXPECT_EQ(f.Data()->UndoList->Count(), 0);
    f.Caret(1, 1);
    f.Key(VK_BACK);
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"abcdef\"\n");
    EXPECT_EQ(f.CaretPos(), "0:4");
    f.Key(VK_BACK);
    EXPECT_EQ(PlainText(*f.Data()), "abdef");
    f.Edit->Undo();
    f.Edit->Undo();
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"abc\"\nP s0 p0 \"def\"\n");
}

TEST(EditBackspace, ByWordRemovesTheLastWordOnly) {
    TEditFixture f;
    f.Load("one two");
    f.Caret(0, 8);
    f.Key(VK_BACK, ssCtrl);
    EXPECT_EQ(PlainText(*f.Data()), "one ");
}

TEST(EditBackspace, APictureAloneInItsParagraphLeavesAnEmptyParagraph) {
    TEditFixture f;
    f.Load("a");
    f.Edit->AddPicture("p", std::make_unique<TBitmap>(QImage(30, 20, QImage::Format_RGB32)), 0, 0);
    f.Edit->AddText("b", 0, 0);
    f.Edit->Format();
    f.Caret(1, 1);
    f.Key(VK_BACK);
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"a\"\nP s0 p0 \"\"\nP s0 p0 \"b\"\n");
    f.Edit->Undo();
    EXPECT_EQ(PlainText(*f.Data()), "a\n#\nb");
}

TEST(EditDelete, JoinsTheNextParagraphAndRemovesAnEmptyOne) {
    TEditFixture f;
    f.Load("abc\n\ndef");
    f.Caret(0, 4);
    f.Key(VK_DELETE);
    EXPECT_EQ(PlainText(*f.Data()), "abc\ndef");
    f.Key(VK_DELETE);
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"abcdef\"\n");
    f.Key(VK_DELETE);
    EXPECT_EQ(PlainText(*f.Data()), "abcef");
    f.Caret(0, 6);
    f.Key(VK_DELETE);
    EXPECT_EQ(PlainText(*f.Data()), "abcef");
}

TEST(EditDelete, SelectionIsDeletedAndTheRemainingPartsJoin) {
    TEditFixture f;
    f.Load("first line\nsecond line\nthird");
    f.Edit->ApplyParaStyle(1); // the first paragraph centred
    f.Select(0, 3, 1, 4);
    f.Key(VK_DELETE);
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p1 \"fiond line\"\nP s0 p0 \"third\"\n");
    EXPECT_EQ(f.CaretPos(), "0:3");
    f.Edit->Undo();
    EXPECT_EQ(PlainText(*f.Data()), "first line\nsecond line\nthird");
    EXPECT_EQ(f.Data()->GetItemPara(1), 0);
}

TEST(EditBackspace, AKeptCheckpointKeepsItsParagraphApart) {
    TEditFixture f;
    f.Edit->Clear();
    f.Edit->AddText("eins", 0, 0);
    f.Edit->RPData()->AddCheckpoint("merk", false, TRPTag{});
    f.Edit->AddText("zwei", 0, 0);
    f.Edit->AddText("drei", 0, 0);
    f.Edit->Format();
    ASSERT_TRUE(f.Data()->GetItem(1)->Checkpoint);
    f.Data()->GetItem(1)->Checkpoint->Persistent = true;
    const std::string start = SaveRPF(*f.Edit);
    // Neither Backspace at its start nor Delete before it joins it, nor does
    // a selection across it go.
    f.Caret(1, 1);
    f.Key(VK_BACK);
    f.Caret(0, 5);
    f.Key(VK_DELETE);
    f.Select(0, 3, 1, 2);
    f.Key(VK_DELETE);
    EXPECT_EQ(SaveRPF(*f.Edit), start);
    EXPECT_FALSE(f.Edit->CanUndo());
    // Its own paragraph may still join the next one, and its text be edited.
    f.Caret(1, 5);
    f.Key(VK_DELETE);
    f.Select(1, 2, 1, 4);
    f.Key(VK_DELETE);
    EXPECT_EQ(PlainText(*f.Data()), "eins\nzidrei");
    // Without the flag the paragraphs join as usual.
    f.Data()->GetItem(1)->Checkpoint->Persistent = false;
    f.Caret(1, 1);
    f.Key(VK_BACK);
    EXPECT_EQ(PlainText(*f.Data()), "einszidrei");
}

TEST(EditTyping, TabTypesBlanksOnlyWhereTheEditorWantsTabsAndUndoFocusesTheEditor) {
    TEditFixture f;
    f.Load("ab");
    f.Caret(0, 2);
    auto* other = new TRichPadEdit(f.Form.get());
    other->SetParent(f.Form.get());
    f.Form->Show();
    ProcessEvents();
    const auto tab = [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
        return QApplication::sendEvent(f.Edit->Widget(), &press) && press.isAccepted();
    };
    tab();
    EXPECT_EQ(PlainText(*f.Data()), "ab");
    f.Edit->EditorOptions |= rpoWantTabs;
    tab();
    EXPECT_EQ(PlainText(*f.Data()), "a" + std::string(static_cast<size_t>(f.Style->SpacesInTab), ' ') + "b");
    // Read-only, the editor has nothing to do with a Tab.
    f.Edit->SetReadOnly(true);
    tab();
    f.Edit->SetReadOnly(false);
    EXPECT_EQ(f.Data()->GetItemText(0).size(), static_cast<size_t>(2 + f.Style->SpacesInTab));
    // Undo from elsewhere makes the editor the form's active control.
    other->SetFocus();
    ProcessEvents();
    f.Edit->Undo();
    ProcessEvents();
    EXPECT_EQ(PlainText(*f.Data()), "ab");
    EXPECT_EQ(f.Form->ActiveControl(), f.Edit);
}

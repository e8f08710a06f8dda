// The undo list: limits, groups, typing runs, and paragraph styles.
#include <gtest/gtest.h>

#include "EditTestSupport.h"
#include "platform/Keys.h"
#include "platform/Pictures.h"
#include "richtext/model/RPItemNonText.h"

#include <QImage>

TEST(EditUndo, LimitZeroRecordsNothingAndEditsStillWork) {
    TEditFixture f;
    f.Load("abc");
    f.Edit->SetUndoLimit(0);
    f.Caret(0, 4);
    f.Type("d");
    f.Key(VK_RETURN);
    f.Key(VK_BACK);
    EXPECT_EQ(PlainText(*f.Data()), "abcd");
    EXPECT_FALSE(f.Edit->CanUndo());
}

TEST(EditUndo, AFourthActionFreesTheOldestAndALowerLimitTrimsAtOnce) {
    TEditFixture f;
    f.Load("abc");
    f.Edit->SetUndoLimit(3);
    for (int i = 0; i < 4; ++i) {
        f.Caret(0, 1);
        f.Key(VK_RETURN);
    }
    EXPECT_EQ(f.Data()->UndoList->Count(), 3);
    f.Edit->SetUndoLimit(1);
    EXPECT_EQ(f.Data()->UndoList->Count(), 1);
    f.Edit->Undo();
    EXPECT_FALSE(f.Edit->CanUndo());
    EXPECT_EQ(PlainText(*f.Data()), "\n\n\nabc");
}

TEST(EditUndo, GroupsAndTheirRules) {
    TEditFixture f;
    TRPUndoList& list = *f.Data()->UndoList;
    EXPECT_THROW(list.AddInfo(std::make_unique<TRPUndoTagInfo>(0, TRPTag{})), ERichPadError);
    EXPECT_TRUE(list.BeginItem(rpuaDelete, "erste", 0, 1));
    // An empty group goes when the action ends.
    list.EndItem();
    EXPECT_EQ(list.Count(), 0);
    // One opened after an empty one keeps the empty one's caption and caret.
    list.BeginItem(rpuaDelete, "erste", 0, 1);
    list.BeginItem(rpuaInsert, "zweite", 5, 6);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Last()->Caption, "erste");
    EXPECT_EQ(list.Last()->CaretOffs, 1);
    EXPECT_EQ(list.Last()->Action, rpuaInsert);
    list.Clear();
    // A typing group takes no other record.
    list.AddTyping(0, 1, false);
    EXPECT_THROW(list.AddInfo(std::make_unique<TRPUndoTagInfo>(0, TRPTag{})), ERichPadError);
    list.Clear();
    EXPECT_THROW(list.Undo(*f.Data()), ERichPadError);
}

TEST(EditUndo, ParagraphStylesOfSeveralParagraphsComeBackEachItsOwn) {
    TEditFixture f;
    f.Load("eins\nzwei\ndrei");
    f.Select(0, 1, 0, 2);
    f.Edit->ApplyParaStyle(1);
    f.Select(2, 1, 2, 2);
    f.Edit->ApplyParaStyle(3);
    f.Select(0, 1, 2, 2);
    f.Edit->ApplyParaStyle(0);
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"eins\"\nP s0 p0 \"zwei\"\nP s0 p0 \"drei\"\n");
    f.Edit->Undo();
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p1 \"eins\"\nP s0 p0 \"zwei\"\nP s0 p3 \"drei\"\n");
    f.Edit->Redo();
    EXPECT_EQ(DumpItems(*f.Data()), "P s0 p0 \"eins\"\nP s0 p0 \"zwei\"\nP s0 p0 \"drei\"\n");
}

TEST(EditUndo, ShortcutsAndReadOnly) {
    TEditFixture f;
    f.Load("abc");
    f.Caret(0, 4);
    f.Type("d");
    f.Key('Z', ssCtrl | ssAlt);
    EXPECT_EQ(PlainText(*f.Data()), "abcd");
    f.Key('Z', ssCtrl);
    EXPECT_EQ(PlainText(*f.Data()), "abc");
    f.Key('Z', ssCtrl | ssShift);
    EXPECT_EQ(PlainText(*f.Data()), "abcd");
    f.Key(VK_BACK, ssAlt);
    EXPECT_EQ(PlainText(*f.Data()), "abc");
    f.Key(VK_BACK, ssAlt | ssShift);
    EXPECT_EQ(PlainText(*f.Data()), "abcd");
    f.Edit->SetReadOnly(true);
    f.Key(VK_BACK);
    f.Type("x");
    f.Edit->Undo();
    EXPECT_EQ(PlainText(*f.Data()), "abcd");
    bool asked = false;
    f.Edit->SetReadOnly(false);
    f.Edit->OnChanging = [&](TCustomRichPadEdit*, bool& CanEdit) {
        asked = true;
        CanEdit = false;
    };
    f.Type("y");
    EXPECT_TRUE(asked);
    EXPECT_EQ(PlainText(*f.Data()), "abcd");
}

TEST(EditUndo, PastedParagraphsInAnotherStyleGoBackWithTheStylesAroundThem) {
    TEditFixture f;
    f.Edit->Clear();
    f.Edit->AddText("erste Zeile", 0, 0);
    f.Edit->RPData()->AddText("zweite Zeile", 0, 0);
    f.Edit->RPData()->GetItem(1)->SetLineBreakBefore(true);
    f.Edit->AddText("AB", 0, 3);
    f.Edit->AddText("", 0, 3);
    f.Edit->Format();
    const std::string start = SaveRPF(*f.Edit);
    // Copies the end of one paragraph and an empty paragraph in style 3 ...
    for (const auto& [from, to] : {std::pair{1, 3}, std::pair{2, 3}}) {
        f.Select(from, f.Data()->GetLastOffsetOfItem(from), to, 1);
        std::string part;
        f.Edit->SaveRPFToStream(part, true);
        // ... into the middle of a word of the first line.
        f.Caret(0, 10);
        f.Edit->InsertRPFFromStream(part);
        const std::string edited = SaveRPF(*f.Edit);
        f.Edit->Undo();
        EXPECT_EQ(SaveRPF(*f.Edit), start) << from;
        f.Edit->Redo();
        EXPECT_EQ(SaveRPF(*f.Edit), edited) << from;
        f.Edit->Undo();
    }
}

// A history that no longer fits its document (here a picture slipped in
// behind its back) is refused with a beep: the half of the step that went
// through is put back, the history is cleared, and editing goes on.
TEST(EditUndo, AStepThatDoesNotFitIsRefusedWholeAndTheHistoryCleared) {
    TEditFixture f;
    f.Style->UseSound = true;
    f.Load("eins\nzwei");
    f.Caret(0, 3);
    f.Key(VK_RETURN);
    ASSERT_EQ(PlainText(*f.Data()), "ei\nns\nzwei");
    // With nothing recording, the history does not hear of the picture.
    f.Data()->UndoMode = 0;
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::blue);
    f.Data()->InsertItemWithUndo(0, std::string(),
                                 TRPGraphicItemInfo::CreateEx(f.Data(), std::make_unique<TBitmap>(image), 0), false);
    f.Data()->ReformatAfterEdit();
    const std::string before = SaveRPF(*f.Edit);
    const std::string dump = DumpItems(*f.Data());
    const int beeps = TCustomRPData::BeepCount;
    // Undoing the split removes the new paragraph (now "ei") first, then fails
    // to give "ns" back to the picture.
    f.Key('Z', ssCtrl);
    EXPECT_EQ(TCustomRPData::BeepCount, beeps + 1);
    EXPECT_EQ(DumpItems(*f.Data()), dump);
    EXPECT_EQ(SaveRPF(*f.Edit), before);
    EXPECT_FALSE(f.Edit->CanUndo());
    EXPECT_FALSE(f.Edit->CanRedo());
    EXPECT_EQ(f.CaretPos(), "0:0");
    f.Caret(2, 3);
    f.Type("x");
    EXPECT_EQ(PlainText(*f.Data()), "#\nei\nnsx\nzwei");
    f.Key('Z', ssCtrl);
    EXPECT_EQ(PlainText(*f.Data()), "#\nei\nns\nzwei");
}

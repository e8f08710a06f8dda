// Enter, Delete and Backspace in numbered lists: markers are copied, removed
// and counted again, and undo gives back the document byte for byte.
#include <gtest/gtest.h>

#include "EditTestSupport.h"
#include "platform/Keys.h"
#include "richtext/model/RPListStyles.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPUnicode.h"

namespace {

// "eins", "zwei", "drei" as entries 1 to 3, then a plain paragraph.
void LoadList(TEditFixture& f) {
    AddNumberedList(*f.Style);
    f.Edit->Clear();
    AddListEntry(*f.Edit, "eins");
    AddListEntry(*f.Edit, "zwei");
    AddListEntry(*f.Edit, "drei");
    f.Edit->AddText("Ende", 0, 0);
    f.Edit->Format();
}

// Undo of the last group gives back Before exactly; redo gives back After.
void CheckUndoRedo(TEditFixture& f, const std::string& Before) {
    const std::string after = SaveRPF(*f.Edit);
    const std::string dump = DumpItems(*f.Data());
    f.Edit->Undo();
    EXPECT_EQ(SaveRPF(*f.Edit), Before);
    f.Edit->Redo();
    EXPECT_EQ(SaveRPF(*f.Edit), after);
    EXPECT_EQ(DumpItems(*f.Data()), dump);
}

} // namespace

TEST(EditLists, EnterStartsTheNextEntryAndCountsTheRestOn) {
    TEditFixture f;
    LoadList(f);
    const std::string start = SaveRPF(*f.Edit);
    // At the end of an entry: a new empty entry 2.
    f.Caret(1, 5);
    f.Key(VK_RETURN);
    EXPECT_EQ(DumpItems(*f.Data()), "P s-11 p0 \"#1\"\n- s0 p0 \"eins\"\n"
                                    "P s-11 p0 \"#2\"\n- s0 p0 \"\"\n"
                                    "P s-11 p0 \"#3\"\n- s0 p0 \"zwei\"\n"
                                    "P s-11 p0 \"#4\"\n- s0 p0 \"drei\"\nP s0 p0 \"Ende\"\n");
    EXPECT_EQ(f.CaretPos(), "3:1");
    CheckUndoRedo(f, start);

    // Inside an entry: the text after the caret becomes the next entry.
    const std::string before = SaveRPF(*f.Edit);
    f.Caret(5, 3);
    f.Key(VK_RETURN);
    EXPECT_EQ(DumpItems(*f.Data()), "P s-11 p0 \"#1\"\n- s0 p0 \"eins\"\n"
                                    "P s-11 p0 \"#2\"\n- s0 p0 \"\"\n"
                                    "P s-11 p0 \"#3\"\n- s0 p0 \"zw\"\n"
                                    "P s-11 p0 \"#4\"\n- s0 p0 \"ei\"\n"
                                    "P s-11 p0 \"#5\"\n- s0 p0 \"drei\"\nP s0 p0 \"Ende\"\n");
    EXPECT_EQ(f.CaretPos(), "7:1");
    CheckUndoRedo(f, before);
    while (f.Edit->CanUndo())
        f.Edit->Undo();
    EXPECT_EQ(SaveRPF(*f.Edit), start);
}

TEST(EditLists, EnterAtTheStartOfAnEntryLeavesAnEmptyEntryAndShiftEnterOnlyBreaksTheLine) {
    TEditFixture f;
    LoadList(f);
    const std::string start = SaveRPF(*f.Edit);
    f.Caret(3, 1);
    f.Key(VK_RETURN);
    EXPECT_EQ(DumpItems(*f.Data()), "P s-11 p0 \"#1\"\n- s0 p0 \"eins\"\n"
                                    "P s-11 p0 \"#2\"\n- s0 p0 \"\"\n"
                                    "P s-11 p0 \"#3\"\n- s0 p0 \"zwei\"\n"
                                    "P s-11 p0 \"#4\"\n- s0 p0 \"drei\"\nP s0 p0 \"Ende\"\n");
    EXPECT_EQ(f.CaretPos(), "5:1");
    CheckUndoRedo(f, start);
    f.Edit->Undo();

    // Shift+Enter: the entry keeps its number and gets a second line.
    f.Caret(3, 1);
    f.Key(VK_RETURN, ssShift);
    EXPECT_EQ(DumpItems(*f.Data()), "P s-11 p0 \"#1\"\n- s0 p0 \"eins\"\n"
                                    "P s-11 p0 \"#2\"\n- s0 p0 \"\"\nB s0 p0 \"zwei\"\n"
                                    "P s-11 p0 \"#3\"\n- s0 p0 \"drei\"\nP s0 p0 \"Ende\"\n");
    CheckUndoRedo(f, start);
    f.Caret(4, 3);
    f.Key(VK_RETURN, ssShift);
    EXPECT_EQ(DumpItems(*f.Data()), "P s-11 p0 \"#1\"\n- s0 p0 \"eins\"\n"
                                    "P s-11 p0 \"#2\"\n- s0 p0 \"\"\nB s0 p0 \"zw\"\nB s0 p0 \"ei\"\n"
                                    "P s-11 p0 \"#3\"\n- s0 p0 \"drei\"\nP s0 p0 \"Ende\"\n");
    // Enter at the end of a line that a line break ends: the next line
    // becomes an entry of its own.
    const std::string broken = SaveRPF(*f.Edit);
    f.Caret(4, 3);
    f.Key(VK_RETURN);
    EXPECT_EQ(DumpItems(*f.Data()), "P s-11 p0 \"#1\"\n- s0 p0 \"eins\"\n"
                                    "P s-11 p0 \"#2\"\n- s0 p0 \"\"\nB s0 p0 \"zw\"\n"
                                    "P s-11 p0 \"#3\"\n- s0 p0 \"ei\"\n"
                                    "P s-11 p0 \"#4\"\n- s0 p0 \"drei\"\nP s0 p0 \"Ende\"\n");
    EXPECT_EQ(f.CaretPos(), "6:1");
    CheckUndoRedo(f, broken);
}

TEST(EditLists, BackspaceAndDeleteRemoveMarkersAndRenumber) {
    TEditFixture f;
    LoadList(f);
    const std::string start = SaveRPF(*f.Edit);
    // Backspace at the start of an entry's text takes its number away.
    f.Caret(3, 1);
    f.Key(VK_BACK);
    EXPECT_EQ(DumpItems(*f.Data()), "P s-11 p0 \"#1\"\n- s0 p0 \"eins\"\nP s0 p0 \"zwei\"\n"
                                    "P s-11 p0 \"#2\"\n- s0 p0 \"drei\"\nP s0 p0 \"Ende\"\n");
    EXPECT_EQ(f.CaretPos(), "2:1");
    CheckUndoRedo(f, start);
    f.Edit->Undo();

    // Delete at the end of an entry joins the next entry's text to it; the
    // marker between them goes and the entries after it move up.
    f.Caret(1, 5);
    f.Key(VK_DELETE);
    EXPECT_EQ(DumpItems(*f.Data()), "P s-11 p0 \"#1\"\n- s0 p0 \"einszwei\"\n"
                                    "P s-11 p0 \"#2\"\n- s0 p0 \"drei\"\nP s0 p0 \"Ende\"\n");
    EXPECT_EQ(f.CaretPos(), "1:5");
    CheckUndoRedo(f, start);
    f.Edit->Undo();

    // Backspace at the start of a plain paragraph after the list joins it to
    // the last entry.
    f.Caret(6, 1);
    f.Key(VK_BACK);
    EXPECT_EQ(DumpItems(*f.Data()), "P s-11 p0 \"#1\"\n- s0 p0 \"eins\"\nP s-11 p0 \"#2\"\n- s0 p0 \"zwei\"\n"
                                    "P s-11 p0 \"#3\"\n- s0 p0 \"dreiEnde\"\n");
    CheckUndoRedo(f, start);
}

TEST(EditLists, PastedEntriesOfAnotherListContinueTheListTheyArePastedInto) {
    TEditFixture f;
    LoadList(f);
    // Two entries of another list of the style set, copied from another editor.
    TRPListLevel* roman = f.Style->ListStyles().Add()->Levels.Add();
    roman->ListType = rplstUpperRoman;
    roman->FormatString = "%s)";
    auto* source = new TRichPadEdit(f.Form.get());
    source->SetParent(f.Form.get());
    source->SetStyle(f.Style.get());
    source->Clear();
    AddListEntry(*source, "neu", 1);
    AddListEntry(*source, "noch", 1);
    source->Format();
    const std::string rpf = SaveRPF(*source);
    delete source;
    const std::string before = SaveRPF(*f.Edit);
    // "list:counter" of every marker.
    const auto markers = [&] {
        std::string s;
        for (int i = 0; i < f.Data()->GetItemCount(); ++i)
            if (const auto* m = dynamic_cast<const TRPMarkerItemInfo*>(f.Data()->GetItem(i)))
                s += std::to_string(m->ListNo) + ":" + std::to_string(m->Counter) + " ";
        return s;
    };
    f.Caret(1, 5);
    ASSERT_TRUE(f.Edit->InsertRPFFromStream(rpf));
    EXPECT_EQ(PlainText(*f.Data()), "#eins\n#neu\n#noch\n#zwei\n#drei\nEnde");
    EXPECT_EQ(markers(), "0:1 0:2 0:3 0:4 0:5 ");
    EXPECT_EQ(Misplaced(*f.Data()), "");
    f.Edit->Undo();
    EXPECT_EQ(SaveRPF(*f.Edit), before);
    // Outside a list they stay a list of their own.
    f.Caret(6, 5);
    ASSERT_TRUE(f.Edit->InsertRPFFromStream(rpf));
    EXPECT_EQ(PlainText(*f.Data()), "#eins\n#zwei\n#drei\nEnde\n#neu\n#noch");
    EXPECT_EQ(markers(), "0:1 0:2 0:3 1:1 1:2 ");
}

TEST(EditLists, TextWithLineEndsInsertedIntoAnEntryAddsEntriesAndAFormFeedStartsOneOnANewPage) {
    TEditFixture f;
    LoadList(f);
    const std::string before = SaveRPF(*f.Edit);
    f.Caret(1, 5);
    f.Edit->InsertText("a\r\nb\r\nc");
    EXPECT_EQ(PlainText(*f.Data()), "#einsa\n#b\n#c\n#zwei\n#drei\nEnde");
    EXPECT_EQ(Misplaced(*f.Data()), "");
    int counter = 0;
    std::string counters;
    for (int i = 0; i < f.Data()->GetItemCount(); ++i)
        if (const auto* m = dynamic_cast<const TRPMarkerItemInfo*>(f.Data()->GetItem(i)))
            counters += std::to_string(m->Counter) + (++counter < 5 ? " " : "");
    EXPECT_EQ(counters, "1 2 3 4 5");
    f.Edit->Undo();
    EXPECT_EQ(SaveRPF(*f.Edit), before);
    // The page break of a new entry is its marker's.
    f.Caret(3, 5);
    f.Edit->InsertTextW(QStringToItemText(QStringLiteral("x\fy"), rpioUnicode, 0));
    EXPECT_EQ(PlainText(*f.Data()), "#eins\n#zweix\n#y\n#drei\nEnde");
    EXPECT_TRUE(f.Data()->GetItem(4)->GetPageBreakBefore());
    EXPECT_FALSE(f.Data()->GetItem(5)->GetPageBreakBefore());
}

TEST(EditLists, AStreamWithMarkersOutOfPlaceOpensWithEachMarkerStartingItsEntry) {
    // Markers alone in their paragraphs (the first two), and one in the middle
    // of a paragraph: the editor failed to place its caret in the first.
    TEditFixture f;
    AddNumberedList(*f.Style);
    const std::string marker = "-11 0 0 0 0 0 0 0 1 0\r\n";
    ASSERT_TRUE(f.Edit->LoadRPFFromStream("-8 1 3\r\n" + marker + marker + marker +
                                          "0 1 -1 0 0 0\r\ndrei\r\n0 1 0 0 0 0\r\nvor\r\n" +
                                          "-11 0 -1 0 0 0 0 0 1 0\r\n0 1 -1 0 0 0\r\nnach\r\n"));
    f.Edit->Format();
    EXPECT_EQ(DumpItems(*f.Data()), "P s-11 p0 \"#1\"\n- s0 p0 \"\"\n"
                                    "P s-11 p0 \"#2\"\n- s0 p0 \"\"\n"
                                    "P s-11 p0 \"#3\"\n- s0 p0 \"drei\"\n"
                                    "P s0 p0 \"vor\"\n"
                                    "P s-11 p0 \"#4\"\n- s0 p0 \"nach\"\n");
    EXPECT_EQ(Misplaced(*f.Data()), "");
    EXPECT_EQ(f.CaretPos(), "1:1");
    // Typed into the first entry, and saved, it reads back as it is.
    f.Type("eins");
    const std::string rpf = SaveRPF(*f.Edit);
    ASSERT_TRUE(f.Edit->LoadRPFFromStream(rpf));
    EXPECT_EQ(SaveRPF(*f.Edit), rpf);
}

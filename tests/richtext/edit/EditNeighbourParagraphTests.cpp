// Edits beside a long paragraph: a key in the paragraph after it lays out
// that paragraph alone, so the long one keeps its lines (the very draw
// items); an edit that joins a line of the long paragraph, or ends such a
// join, lays it out again. After every edit the view shows what a fresh view
// of the document shows (FreshLayout.h), and the minimum widths kept across
// edits are those measured afresh.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "EditTestSupport.h"
#include "FreshLayout.h"
#include "platform/Keys.h"
#include "richtext/edit/RPEditData.h"
#include "richtext/edit/RPTable.h"
#include "richtext/model/RPDrawLines.h"
#include "richtext/model/RPStyleInfos.h"

namespace {

// Paragraph styles added to the editing tests' ones.
constexpr int kJustified = 5, kRightToLeft = 6, kSpaced = 7;

class NeighbourParagraphs : public ::testing::Test {
protected:
    NeighbourParagraphs() {
        TParaInfos& paras = F.Style->ParaStyles();
        paras.Add()->Alignment = rpaJustify;
        TParaInfo* rtl = paras.Add();
        rtl->BiDiMode = rpbdRightToLeft;
        rtl->Alignment = rpaRight;
        TParaInfo* spaced = paras.Add();
        spaced->LineSpacing = 80;
        spaced->SpaceBefore = 6;
        spaced->SpaceAfter = 9;
        F.Edit->Clear();
    }

    // A paragraph of Items runs, bold and normal by turns (separate items),
    // that wraps into several lines. Answers its first item.
    int AddLong(int ParaNo, int Items = 8) {
        const int first = F.Edit->ItemCount();
        for (int i = 0; i < Items; ++i)
            F.Edit->AddText("ab cde fg hijk " + std::to_string(i) + " ", (i + 1) % 2, i == 0 ? ParaNo : -1);
        return first;
    }
    int AddPara(const std::string& Text, int StyleNo = 0, int ParaNo = 0) {
        F.Edit->AddText(Text, StyleNo, ParaNo);
        return F.Edit->ItemCount() - 1;
    }
    void Ready() {
        F.Edit->Format();
        F.Edit->ClearUndo();
    }

    // The draw items of the paragraph that starts at item First.
    std::vector<const TRPDrawLineInfo*> Lines(int First) const {
        const TRPEditRPData* d = F.Data();
        std::vector<const TRPDrawLineInfo*> v;
        for (int k = d->GetItem(First)->DrawItemNo; k < d->DrawItemCount(); ++k) {
            const int item = d->DrawItem(k)->ItemNo;
            if (item != First && (item < First || d->IsParaStart(item))) break;
            v.push_back(d->DrawItem(k));
        }
        return v;
    }

    // What differs from a fresh view, or a kept minimum width that differs
    // from a new measurement; empty when nothing.
    std::string Wrong() {
        std::string what = DiffFromFreshLayout(*F.Edit);
        if (!what.empty()) return what;
        TRPEditRPData* d = F.Data();
        const std::vector<int> kept = d->KeptMinWidths();
        if (kept.size() != static_cast<size_t>(d->GetItemCount())) return what;
        for (int i = 0; i < d->GetItemCount(); ++i)
            if (kept[static_cast<size_t>(i)] >= 0 && kept[static_cast<size_t>(i)] != d->CalcParaMinWidth(i))
                return "kept minimum width of item " + std::to_string(i) + ": " +
                       std::to_string(kept[static_cast<size_t>(i)]) + ", measured " +
                       std::to_string(d->CalcParaMinWidth(i));
        return what;
    }

    // Each edit with its undo and redo: the view is right after each step.
    void EditUndoRedo(const std::string& Name, const std::function<void()>& Edit) {
        SCOPED_TRACE(Name);
        Edit();
        EXPECT_EQ(Wrong(), "") << "after the edit";
        F.Edit->Undo();
        EXPECT_EQ(Wrong(), "") << "after undo";
        F.Edit->Redo();
        EXPECT_EQ(Wrong(), "") << "after redo";
        F.Edit->Undo();
        EXPECT_EQ(Wrong(), "") << "after undo again";
    }

    TEditFixture F{300, 200};
};

} // namespace

// Typing, deleting, Enter, undo and redo in the paragraph after a long one,
// and new paragraphs before and after it: the long paragraph keeps its draw
// items, justified, spaced or right to left, and the paragraph after the edit
// keeps its lines as a fresh view has them.
TEST_F(NeighbourParagraphs, KeysAfterALongParagraphLeaveItsLinesAlone) {
    for (const int para : {kJustified, kSpaced, kRightToLeft}) {
        SCOPED_TRACE("paragraph style " + std::to_string(para));
        F.Edit->Clear();
        const int longPara = AddLong(para);
        const int item = AddPara("kurz und gut", 0, para == kJustified ? 0 : para);
        AddLong(para, 3);
        // Far taller than the view, so that the scroll bar stays whatever the keys do.
        for (int i = 0; i < 20; ++i)
            AddPara("Absatz " + std::to_string(i));
        Ready();
        const std::vector<const TRPDrawLineInfo*> lines = Lines(longPara);
        ASSERT_GT(std::count_if(lines.begin(), lines.end(),
                                [](const TRPDrawLineInfo* d) { return d->FromNewLine; }),
                  4);
        const auto step = [&](const std::string& Name, const std::function<void()>& Keys) {
            SCOPED_TRACE(Name);
            Keys();
            EXPECT_EQ(Wrong(), "");
            EXPECT_EQ(Lines(longPara), lines);
        };
        step("letter", [&] {
            F.Caret(item, 4);
            F.Type("x");
        });
        step("backspace", [&] { F.Key(VK_BACK); });
        step("delete", [&] { F.Key(VK_DELETE); });
        step("word and blank", [&] { F.Type("Haus "); });
        step("enter inside", [&] { F.Key(VK_RETURN); });
        step("enter at the start", [&] {
            F.Caret(item, 1);
            F.Key(VK_RETURN);
        });
        step("typing into the new paragraph", [&] { F.Type("neu"); });
        step("enter at the end", [&] {
            F.Caret(item + 1, F.Data()->GetLastOffsetOfItem(item + 1));
            F.Key(VK_RETURN);
        });
        step("undo", [&] {
            while (F.Edit->CanUndo())
                F.Edit->Undo();
        });
        step("redo", [&] {
            while (F.Edit->CanRedo())
                F.Edit->Redo();
        });
    }
}

// A key that joins the paragraph after the long one to its last line, Delete
// at the long paragraph's end, Enter between two runs of its line and a
// selection across both paragraphs replaced: the long paragraph's lines are
// laid out again, its last line justified or not as a fresh view has it.
TEST_F(NeighbourParagraphs, EditsThatJoinOrSplitALineOfTheParagraphBeforeLayItOutAgain) {
    for (const int para : {kJustified, kRightToLeft, kSpaced}) {
        SCOPED_TRACE("paragraph style " + std::to_string(para));
        F.Edit->Clear();
        const int longPara = AddLong(para);
        // Bold after normal: the joined runs stay separate items.
        const int item = AddPara("kurz und gut", 1, para);
        AddPara("Ende", 0, para);
        Ready();
        EditUndoRedo("backspace at the start", [&] {
            F.Caret(item, 1);
            F.Key(VK_BACK);
            ASSERT_TRUE(F.Data()->GetItem(item)->GetContinuesPrev());
        });
        EditUndoRedo("delete at the end", [&] {
            F.Caret(item - 1, F.Data()->GetLastOffsetOfItem(item - 1));
            F.Key(VK_DELETE);
        });
        EditUndoRedo("enter between two runs", [&] {
            F.Caret(longPara + 5, 1);
            F.Key(VK_RETURN);
            ASSERT_TRUE(F.Data()->IsParaStart(longPara + 5));
        });
        EditUndoRedo("line break between two runs", [&] {
            F.Caret(longPara + 6, 1);
            F.Key(VK_RETURN, ssShift);
        });
        EditUndoRedo("a selection across both replaced", [&] {
            F.Select(longPara + 7, 4, item, 3);
            F.Type("z");
        });
    }
}

// The line section of a run whose line an edit ends keeps no stale minimum
// width: a word wider than the window moves into a paragraph of its own and
// goes away, and the document becomes as narrow as a fresh view has it.
TEST_F(NeighbourParagraphs, AWideWordSplitOffAndDeletedLetsTheDocumentNarrow) {
    const int first = AddPara("ab cd", 0, kJustified);
    F.Edit->AddText(" " + std::string(40, 'w') + " ef", 1, -1);
    AddPara("kurz", 0, 0);
    Ready();
    ASSERT_GT(F.Data()->ContentWidth, 300);
    EditUndoRedo("enter before the wide run, its word deleted", [&] {
        F.Caret(first + 1, 1);
        F.Key(VK_RETURN);
        ASSERT_TRUE(F.Data()->IsParaStart(first + 1));
        F.Select(first + 1, 1, first + 1, 42);
        F.Key(VK_DELETE);
        EXPECT_LT(F.Data()->ContentWidth, 300);
    });
}

// A list: keys in a short entry after a long one, a new entry after it (the
// next entry counts on), and Backspace after its marker.
TEST_F(NeighbourParagraphs, ListEntriesAfterALongEntry) {
    AddNumberedList(*F.Style);
    AddListEntry(*F.Edit, "lang");
    for (int i = 0; i < 6; ++i)
        F.Edit->AddText(" ab cde fg hijk " + std::to_string(i), (i + 1) % 2, -1);
    AddListEntry(*F.Edit, "kurz");
    const int item = F.Edit->ItemCount() - 1;
    AddListEntry(*F.Edit, "dritte");
    AddPara("Ende");
    Ready();
    const std::vector<const TRPDrawLineInfo*> lines = Lines(0);
    F.Caret(item, 3);
    F.Type("x");
    EXPECT_EQ(Wrong(), "");
    EXPECT_EQ(Lines(0), lines);
    F.Caret(item, F.Data()->GetLastOffsetOfItem(item));
    F.Key(VK_RETURN);
    F.Type("neu");
    EXPECT_EQ(Wrong(), "");
    EXPECT_EQ(Lines(0), lines);
    EXPECT_EQ(Misplaced(*F.Data()), "");
    EditUndoRedo("backspace after the marker", [&] {
        F.Caret(item, 1);
        F.Key(VK_BACK);
    });
    EditUndoRedo("enter after the marker", [&] {
        F.Caret(item, 1);
        F.Key(VK_RETURN);
    });
}

// A table and a page break between the long paragraph and the edited one,
// and an edit after a line break inside a long paragraph.
TEST_F(NeighbourParagraphs, TablesPageBreaksAndLineBreaksBesideTheEdit) {
    const int longPara = AddLong(0);
    auto table = TRPTableItemInfo::CreateEx(2, 2, F.Data());
    F.Data()->AddItem(std::string(), std::move(table));
    const int item = AddPara("kurz und gut", 1, 0);
    F.Data()->GetItem(item)->SetPageBreakBefore(true);
    const int broken = AddLong(kJustified);
    F.Data()->GetItem(broken + 4)->SetLineBreakBefore(true);
    AddPara("Ende");
    Ready();
    const std::vector<const TRPDrawLineInfo*> lines = Lines(longPara);
    for (const auto& [name, caret, keys] :
         std::vector<std::tuple<std::string, int, std::string>>{{"after the table", item, "xy"},
                                                                {"after the line break", broken + 5, "xy"},
                                                                {"at the line break", broken + 4, "z"}}) {
        SCOPED_TRACE(name);
        F.Caret(caret, 2);
        F.Type(keys);
        EXPECT_EQ(Wrong(), "");
        F.Key(VK_BACK);
        EXPECT_EQ(Wrong(), "");
    }
    EXPECT_EQ(Lines(longPara), lines);
    EditUndoRedo("enter before the paragraph after the table", [&] {
        F.Caret(item, 1);
        F.Key(VK_RETURN);
    });
    EditUndoRedo("backspace at the start of the paragraph after the table", [&] {
        F.Caret(item, 1);
        F.Key(VK_BACK);
    });
    EditUndoRedo("backspace at the line break", [&] {
        F.Caret(broken + 4, 1);
        F.Key(VK_BACK);
    });
    EditUndoRedo("enter at the line break", [&] {
        F.Caret(broken + 4, 1);
        F.Key(VK_RETURN);
    });
}

// A new entry early in a list of nine: the entries after it count on, and
// the last one, now "10.", takes a wider marker, which shifts its text.
TEST_F(NeighbourParagraphs, ANewEntryRenumbersTheEntriesAfterIt) {
    AddNumberedList(*F.Style);
    for (int i = 0; i < 9; ++i)
        AddListEntry(*F.Edit, "Eintrag");
    AddPara("Ende");
    Ready();
    EditUndoRedo("enter at the end of the first entry", [&] {
        F.Caret(1, F.Data()->GetLastOffsetOfItem(1));
        F.Key(VK_RETURN);
        ASSERT_NE(DumpItems(*F.Data()).find("\"#10\""), std::string::npos);
    });
}

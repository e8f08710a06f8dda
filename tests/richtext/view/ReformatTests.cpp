// Partial reformatting: after random edits in a paragraph the lines are
// exactly those of a whole new format; the repainted band and the document
// height follow the edit.
#include <gtest/gtest.h>
#include <random>

#include "ViewTestDoc.h"
#include "richtext/model/RPUnicode.h"
#include "support/FixedMetrics.h"

namespace {

std::string Layout(TTestFormatDoc& D) {
    return DumpDrawItems(D) + " H=" + std::to_string(D.DocumentHeight);
}

int LastDrawItemOf(TTestFormatDoc& D, int ItemNo) {
    int d = D.GetFirstDrawItemOfItem(ItemNo);
    while (d + 1 < D.DrawItemCount() && D.DrawItem(d + 1)->ItemNo == ItemNo)
        ++d;
    return d;
}

// Edits of every kind the editor makes, each followed by the partial reformat
// it would ask for; after each the layout must equal a whole format.
// Answers how many edits were compared.
int RandomEdits(TTestFormatDoc& D, unsigned Seed, int Count) {
    int compared = 0;
    std::mt19937 rng(Seed);
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int e = 0; e < Count; ++e) {
        std::vector<int> texts;
        for (int i = 0; i < D.GetItemCount(); ++i)
            if (D.GetItemStyle(i) >= 0) texts.push_back(i);
        if (texts.empty()) return compared;
        const int item = texts[static_cast<size_t>(pick(static_cast<int>(texts.size())))];
        const TRPItemOptions opt = D.GetItemOptions(item);
        const int len = ItemTextLength(D.GetItemText(item), opt);
        const int kind = pick(10);
        SCOPED_TRACE("edit " + std::to_string(e) + " kind " + std::to_string(kind) + " item " + std::to_string(item));
        if (kind < 7) {
            // Typing or deleting inside one item.
            std::string& text = D.Items->Text(item);
            if (kind < 4 || len == 0) {
                const std::string ch = pick(4) == 0 ? " " : std::string(1, static_cast<char>('a' + pick(26)));
                ItemTextInsert((opt & rpioUnicode) ? AnsiToUnicodeText(1252, ch) : ch, text, 1 + pick(len + 1), opt);
            } else {
                ItemTextDelete(text, 1 + pick(len), 1, opt);
            }
            D.ReformatDrawItemsAround(D.GetFirstDrawItemOfItem(item), LastDrawItemOf(D, item), 0);
        } else if (kind < 9) {
            // A new text item continuing the line of this one.
            int f = 0, l = 0;
            D.ExpandDrawItemsToParas(D.GetFirstDrawItemOfItem(item), LastDrawItemOf(D, item), f, l);
            auto added = CreateItemByStyleNo(&D, pick(4));
            added->ParaNo = D.GetItemPara(item);
            added->SetContinuesPrev(true);
            D.Items->InsertObject(item + 1, "new words here", std::move(added));
            D.ReformatDrawItemRange(f, l, 1, false);
        } else if (item + 1 < D.GetItemCount() && D.GetItem(item + 1)->GetContinuesPrev() &&
                   D.GetItemStyle(item + 1) >= 0) {
            // The item after this one goes away.
            int f = 0, l = 0;
            D.ExpandDrawItemsToParas(D.GetFirstDrawItemOfItem(item), LastDrawItemOf(D, item + 1), f, l);
            D.DeleteItems(item + 1, 1);
            D.ReformatDrawItemRange(f, l, -1, false);
        } else {
            continue;
        }
        // An edit that changes the narrowest width the document needs asks
        // for a whole format, as the editor does.
        const int minWidth = D.CalcDocMinWidth(nullptr, &D.Canvas);
        if (std::max(minWidth, D.Width - D.Left - D.Right) != D.ContentWidth) {
            D.Format();
            continue;
        }
        const std::string partial = Layout(D);
        D.Format();
        EXPECT_EQ(partial, Layout(D));
        if (partial != Layout(D)) return compared;
        ++compared;
    }
    return compared;
}

class Reformat : public ::testing::Test {
protected:
    FixedMetricsScope Metrics;
    std::unique_ptr<TRPStyle> Style = MakeLayoutStyle();
    TTestFormatDoc Doc{Style.get()};
};

} // namespace

TEST_F(Reformat, RandomEditsOfAPageGiveTheLinesOfAFullFormat) {
    // A page of the program: headings, lists, pictures, framed paragraphs.
    Doc.RTF.TextStyleMode = rprsAddIfNeeded;
    Doc.RTF.ParaStyleMode = rprsAddIfNeeded;
    ASSERT_EQ(Doc.LoadRTF("dateien/Zqk1/ZqK1_3A.rtf"), 0);
    ASSERT_GT(Doc.GetItemCount(), 20);
    for (int width : {400, 250}) {
        Doc.Width = width;
        Doc.Format();
        EXPECT_GT(RandomEdits(Doc, 11u + static_cast<unsigned>(width), 150), 100);
    }
}

TEST_F(Reformat, RandomEditsOfEveryParagraphKindGiveTheLinesOfAFullFormat) {
    for (int p = 0; p <= 10; ++p) {
        if (p == 9) continue; // no wrap: the edits would widen the whole document
        Doc.Text("Zahlen werden genau untereinander geschrieben, Einer unter Einer", p % 2 ? 3 : 0, p);
        Doc.Text(" und Zehner unter Zehner.", 3, -1);
        Doc.Wide(QStringLiteral("Gro\u00DFe Zahlen \u05D0\u05D1 addiert man schriftlich"), 4, -1);
    }
    Doc.Width = 230;
    Doc.Format();
    EXPECT_GT(RandomEdits(Doc, 7u, 300), 200);
}

TEST_F(Reformat, TypingRepaintsOnlyTheEditedBand) {
    for (int p = 0; p < 6; ++p)
        Doc.Text("aaa bbb ccc", 0, 0);
    Doc.Width = 210;
    Doc.Format();
    ASSERT_EQ(Doc.DocumentHeight, 130);
    Doc.Invalidated.clear();
    Doc.Items->Text(2).insert(0, "x");
    Doc.ReformatDrawItemsAround(2, 2, 0);
    // Line 3 (45 .. 65), 10 pixels above and below.
    ASSERT_EQ(Doc.Invalidated.size(), 1u);
    EXPECT_EQ(Doc.Invalidated[0], Rect(0, 35, 210, 75));
    EXPECT_EQ(Doc.DocumentHeight, 130);
}

TEST_F(Reformat, ShorterDocumentsRepaintDownToTheOldEnd) {
    for (int p = 0; p < 4; ++p)
        Doc.Text("aaa bbb ccc ddd eee", 0, 0);
    Doc.Width = 110;
    Doc.Format();
    ASSERT_EQ(Doc.DocumentHeight, 250);
    // The last paragraph shrinks from three lines to one.
    Doc.Items->Text(3) = "aaa";
    Doc.Invalidated.clear();
    Doc.ReformatDrawItemsAround(Doc.GetFirstDrawItemOfItem(3), Doc.DrawItemCount() - 1, 0);
    EXPECT_EQ(Doc.DocumentHeight, 210);
    // From 10 pixels above the paragraph to 10 pixels below the old end.
    ASSERT_EQ(Doc.Invalidated.size(), 1u);
    EXPECT_EQ(Doc.Invalidated[0], Rect(0, 175, 110, 255));
}

TEST_F(Reformat, AddedItemsRenumberTheDrawItemsBelow) {
    for (int p = 0; p < 4; ++p)
        Doc.Text("aaa bbb", 0, 0);
    Doc.Width = 210;
    Doc.Format();
    auto added = CreateItemByStyleNo(&Doc, 0);
    added->ParaNo = 0;
    Doc.Items->InsertObject(1, "new", std::move(added));
    int f = 0, l = 0;
    Doc.ExpandDrawItemsToParas(0, 0, f, l);
    EXPECT_EQ(f, 0);
    EXPECT_EQ(l, 1);
    Doc.ReformatDrawItemRange(f, l, 1, false);
    EXPECT_EQ(Layout(Doc), "5 5 70 20 0:1+7 / 5 25 30 20 1:1+3 / 5 45 70 20 2:1+7 / 5 65 70 20 3:1+7 / "
                           "5 85 70 20 4:1+7 H=110");
    for (int i = 0; i < Doc.GetItemCount(); ++i)
        EXPECT_EQ(Doc.GetItem(i)->DrawItemNo, i);
}

// Painting keeps the spans of the framed paragraphs it has painted while the
// lines stay: after an edit those that the edit reaches, also from a line
// break inside a paragraph, are measured again, and every frame is painted
// where a whole format puts it.
TEST_F(Reformat, FramesAroundAnEditPaintWhereAWholeFormatPutsThem) {
    Doc.Text("aaa bbb ccc", 0, 8);
    Doc.Text("ddd eee", 0, -1);
    Doc.GetItem(1)->SetLineBreakBefore(true);
    Doc.Text("fff ggg", 0, 8);
    Doc.Text("hhh", 0, 0);
    Doc.Width = 130;
    Doc.Format();
    const auto wholeFormat = [this] {
        TTestFormatDoc fresh(Style.get());
        fresh.Width = Doc.Width;
        for (int i = 0; i < Doc.GetItemCount(); ++i) {
            fresh.Text(Doc.GetItemText(i).c_str(), Doc.GetItemStyle(i),
                       Doc.IsParaStart(i) ? Doc.GetItemPara(i) : -1);
            fresh.GetItem(i)->SetLineBreakBefore(Doc.GetItem(i)->GetLineBreakBefore());
        }
        fresh.Format();
        return PaintFirstScreen(fresh);
    };
    ASSERT_EQ(PaintFirstScreen(Doc), wholeFormat());
    // After the line break: the first paragraph grows by a line.
    Doc.Items->Text(1) += " iii jjj";
    Doc.ReformatDrawItemsAround(Doc.GetFirstDrawItemOfItem(1), LastDrawItemOf(Doc, 1), 0);
    EXPECT_EQ(PaintFirstScreen(Doc), wholeFormat());
    // The second paragraph shrinks to a line; the first stays as it is.
    Doc.Items->Text(2) = "fff";
    Doc.ReformatDrawItemsAround(Doc.GetFirstDrawItemOfItem(2), LastDrawItemOf(Doc, 2), 0);
    EXPECT_EQ(PaintFirstScreen(Doc), wholeFormat());
    // The first paragraph loses its line break's line again.
    Doc.Items->Text(1) = "ddd";
    Doc.ReformatDrawItemsAround(Doc.GetFirstDrawItemOfItem(1), LastDrawItemOf(Doc, 1), 0);
    EXPECT_EQ(PaintFirstScreen(Doc), wholeFormat());
    // The second paragraph becomes a line of the first: one frame holds both.
    Doc.GetItem(2)->SetLineBreakBefore(true);
    Doc.ReformatDrawItemsAround(Doc.GetFirstDrawItemOfItem(2), LastDrawItemOf(Doc, 2), 0);
    EXPECT_EQ(PaintFirstScreen(Doc), wholeFormat());
}

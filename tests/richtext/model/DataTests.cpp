#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "DataTestsDoc.h"
#include "platform/Pictures.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"

namespace {

std::unique_ptr<TBitmap> Bmp(int w, int h) {
    return std::make_unique<TBitmap>(w, h);
}

std::unique_ptr<TCustomRPItemInfo> Break(int ParaNo = -1) {
    auto b = CreateItemByStyleNo(nullptr, rpsnBreak);
    b->ParaNo = ParaNo;
    return b;
}

class DataTest : public ::testing::Test {
protected:
    TRPStyle Style;
    TTestRPData Doc{&Style};
};

} // namespace

TEST_F(DataTest, AddTextSetsOptionsParagraphsAndTabs) {
    Doc.AddText("Hallo", 0, 0);
    Doc.AddText("Welt", 1, -1);
    Doc.AddText("a\tb", 0, 1);
    ASSERT_EQ(Doc.GetItemCount(), 3);
    EXPECT_EQ(Doc.GetItemOptions(0), 0);
    EXPECT_EQ(Doc.GetItemPara(0), 0);
    EXPECT_EQ(Doc.GetItemOptions(1), rpioContinuesPrev);
    EXPECT_EQ(Doc.GetItemPara(1), 0);
    EXPECT_EQ(Doc.GetItemText(2), "a        b");
    EXPECT_EQ(Doc.GetItemOptions(2), 0);
    EXPECT_EQ(Doc.GetItemPara(2), 1);
}

TEST_F(DataTest, NegativeStyleTakesParagraphDefault) {
    Style.ParaStyles().GetItem(1)->DefStyleNo = 2;
    Doc.AddText("x", -5, 1);
    EXPECT_EQ(Doc.GetItem(0)->StyleNo, rpsnParaDefault);
    EXPECT_EQ(Doc.GetItemStyle(0), 2);
    // A negative default style of the paragraph means style 0.
    Doc.AddText("y", -1, 0);
    EXPECT_EQ(Doc.GetItemStyle(1), 0);
}

TEST_F(DataTest, UnicodeStyleSetsTheUnicodeOption) {
    Style.TextStyles().GetItem(1)->Unicode = true;
    Doc.AddText(std::string("a\0", 2), 1, 0);
    EXPECT_EQ(Doc.GetItemOptions(0), rpioUnicode);
    EXPECT_EQ(Doc.GetLastOffsetOfItem(0), 2);
}

TEST_F(DataTest, FirstItemAndItemsAfterBreaksStartParagraphs) {
    Doc.AddText("a", 0, -1);
    EXPECT_EQ(Doc.GetItemOptions(0), 0);
    EXPECT_EQ(Doc.GetItemPara(0), 0);
    Doc.AddItem("", Break(1));
    Doc.AddText("b", 0, -1);
    EXPECT_TRUE(Doc.IsParaStart(2));
    EXPECT_EQ(Doc.GetItemPara(2), 0);
}

TEST_F(DataTest, FullLineItemWithContinuingParagraphNeverContinuesTheLine) {
    Doc.AddText("text", 0, 1);
    Doc.AddItem("", Break(-1));
    EXPECT_EQ(Doc.GetItemOptions(1), 0);
    EXPECT_TRUE(Doc.IsParaStart(1));
}

TEST_F(DataTest, ItemAfterMarkerGetsAnEmptyRunFirst) {
    Doc.AddItem("", TRPMarkerItemInfo::CreateEx(&Doc, -1, 0, 1, false));
    Doc.AddText("Punkt", 0, 1);
    ASSERT_EQ(Doc.GetItemCount(), 3);
    EXPECT_EQ(Doc.GetItemStyle(0), rpsnListMarker);
    EXPECT_EQ(Doc.GetItemText(1), "");
    EXPECT_EQ(Doc.GetItemOptions(1), rpioContinuesPrev);
    EXPECT_EQ(Doc.GetItemText(2), "Punkt");
    EXPECT_TRUE(Doc.IsParaStart(2));
}

TEST_F(DataTest, NewParagraphSwitchOffMakesLineBreaks) {
    Doc.AddText("a", 0, 0);
    Doc.NewParaSwitch = 0;
    Doc.AddText("b", 0, 2);
    Doc.AddItem("", Break(0));
    EXPECT_EQ(Doc.GetItemOptions(1), rpioLineBreakBefore);
    EXPECT_EQ(Doc.GetItemOptions(2), 0);
}

TEST_F(DataTest, CheckpointsAttachToTheNextItem) {
    EXPECT_EQ(Doc.AddCheckpoint("eins", true, TRPTag::FromInt(5)), 0);
    EXPECT_EQ(Doc.AddCheckpoint("zwei", false, TRPTag{}), 0);
    EXPECT_EQ(Doc.CPCount, 1);
    Doc.AddText("a", 0, 0);
    Doc.AddText("b", 0, 0);
    EXPECT_EQ(Doc.AddCheckpoint("drei", false, TRPTag{}), 1);
    Doc.AddText("c", 0, 0);
    ASSERT_NE(Doc.GetItemCheckpoint(0), nullptr);
    EXPECT_EQ(Doc.GetItemCheckpoint(0)->Name, "eins");
    EXPECT_TRUE(Doc.GetItemCheckpoint(0)->RaiseEvent);
    EXPECT_EQ(Doc.GetItemCheckpoint(1), nullptr);
    EXPECT_EQ(Doc.FirstCP, Doc.GetItemCheckpoint(0));
    EXPECT_EQ(Doc.LastCP, Doc.GetItemCheckpoint(2));
    EXPECT_EQ(Doc.FirstCP->Next, Doc.LastCP);
    EXPECT_EQ(Doc.LastCP->Prev, Doc.FirstCP);
    EXPECT_EQ(Doc.FindCheckpointBefore(2), Doc.FirstCP);
    EXPECT_EQ(Doc.FindCheckpointBefore(0), nullptr);
    Doc.DeleteItems(0, 1);
    EXPECT_EQ(Doc.CPCount, 1);
    EXPECT_EQ(Doc.FirstCP, Doc.GetItemCheckpoint(1));
    EXPECT_EQ(Doc.FirstCP->Prev, nullptr);
}

TEST_F(DataTest, InsertCheckpointInOrderKeepsItemOrder) {
    for (int i = 0; i < 4; ++i)
        Doc.AddText("x", 0, 0);
    TRPCPInfo a, b, c;
    Doc.InsertCheckpointInOrder(&a, 2);
    Doc.InsertCheckpointInOrder(&b, 0);
    Doc.InsertCheckpointInOrder(&c, 1);
    EXPECT_EQ(Doc.FirstCP, &b);
    EXPECT_EQ(b.Next, &c);
    EXPECT_EQ(c.Next, &a);
    EXPECT_EQ(Doc.LastCP, &a);
    Doc.UnlinkCheckpoint(&c, false);
    Doc.UnlinkCheckpoint(&a, false);
    Doc.UnlinkCheckpoint(&b, false);
    EXPECT_EQ(Doc.FirstCP, nullptr);
    EXPECT_EQ(Doc.LastCP, nullptr);
}

TEST_F(DataTest, DeleteItemsCutsTheRange) {
    for (int i = 0; i < 8; ++i)
        Doc.AddText(std::string(1, static_cast<char>('a' + i)), 0, 0);
    Doc.DeleteItems(8, 1);
    EXPECT_EQ(Doc.GetItemCount(), 8);
    Doc.DeleteItems(5, 100);
    ASSERT_EQ(Doc.GetItemCount(), 5);
    EXPECT_EQ(Doc.GetItemText(4), "e");
}

TEST_F(DataTest, FreedItemsAreOutOfTheListWhenLaterEventsFire) {
    for (int i = 0; i < 3; ++i)
        Doc.AddText("x", 0, 0);
    Doc.Actions.clear();
    Doc.DeleteItems(0, 3);
    ASSERT_EQ(Doc.Actions.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Doc.Actions[i].Action, rpiaFreeing);
        EXPECT_EQ(Doc.Actions[i].ItemNo, i); // the item itself is still in place while it is told
    }
    EXPECT_EQ(Doc.GetItemCount(), 0);
}

// An item's index comes without a search; whatever the lists went through,
// it is the one a search finds, and -1 in any list but the item's own.
TEST(ItemList, IndexOfAnItemFollowsEveryChangeOfItsList) {
    TRPItemList a, b;
    std::vector<std::unique_ptr<TCustomRPItemInfo>> kept; // taken out of both lists
    const auto check = [&](int Step) {
        for (const TRPItemList* l : {&a, &b})
            for (const TRPItemList* in : {&a, &b})
                for (int i = 0; i < in->Count(); ++i) {
                    if (const TCustomRPItemInfo* item = in->GetObject(i)) {
                        ASSERT_EQ(l->IndexOfObject(item), l == in ? i : -1) << "step " << Step;
                    }
                }
        for (const auto& item : kept)
            ASSERT_EQ(a.IndexOfObject(item.get()) + b.IndexOfObject(item.get()), -2) << "step " << Step;
    };
    std::mt19937 rnd(63);
    const auto pick = [&](int n) { return static_cast<int>(rnd() % static_cast<unsigned>(n)); };
    for (int step = 0; step < 3000; ++step) {
        TRPItemList& l = pick(2) ? a : b;
        TRPItemList& other = &l == &a ? b : a;
        const int n = l.Count();
        switch (n == 0 ? 0 : pick(7)) {
        case 0: // in at the end
            l.AddObject("x", Break());
            break;
        case 1: // in before others
            l.InsertObject(pick(n + 1), "x", Break());
            break;
        case 2: { // a run goes
            const int at = pick(n);
            l.DeleteRange(at, 1 + pick(std::min(3, n - at)));
            break;
        }
        case 3: // out of its entry, which stays empty
            if (auto item = l.TakeObject(pick(n))) kept.push_back(std::move(item));
            break;
        case 4: // to the other list
            if (const int at = pick(n); l.GetObject(at)) {
                auto item = l.TakeObject(at);
                l.Delete(at);
                other.InsertObject(pick(other.Count() + 1), "y", std::move(item));
            }
            break;
        case 5: // back from outside
            if (!kept.empty()) {
                l.InsertObject(pick(n + 1), "z", std::move(kept.back()));
                kept.pop_back();
            }
            break;
        default:
            if (pick(40) == 0) l.Clear();
            break;
        }
        // Asked now and then only, so that the numbering lags behind several changes.
        if (pick(4) == 0) check(step);
        if (::testing::Test::HasFatalFailure()) return;
    }
    check(-1);
    EXPECT_EQ(a.IndexOfObject(nullptr), -1);
}

TEST_F(DataTest, ClearFreesEverythingAndResetsState) {
    Doc.State = rpstClearedOnClear1 | rpstClearedOnClear2 | 1;
    Doc.AddCheckpoint("a", false, TRPTag{});
    Doc.AddText("x", 0, 0);
    Doc.AddCheckpoint("pending", false, TRPTag{});
    Doc.AddItem("", TRPMarkerItemInfo::CreateEx(&Doc, 0, 0, 1, false));
    Doc.AddMarkerInList(1);
    Doc.AddCheckpoint("pending2", false, TRPTag{});
    ASSERT_NE(Doc.GetMarkers(false), nullptr);
    Doc.Clear();
    EXPECT_EQ(Doc.GetItemCount(), 0);
    EXPECT_EQ(Doc.CPCount, 0);
    EXPECT_EQ(Doc.FirstCP, nullptr);
    EXPECT_EQ(Doc.NotAddedCP, nullptr);
    EXPECT_EQ(Doc.State, 1u);
    EXPECT_EQ(Doc.GetMarkers(false), nullptr);
}

TEST_F(DataTest, AssignMovesItemsCheckpointsAndMarkers) {
    Style.ListStyles().Add()->Levels.Add()->ListType = rplstDecimal;
    Style.ListStyles().Items(0)->Levels.Items(0)->FormatString = "%0:s.";
    TTestRPData src(&Style);
    src.AddItem("", TRPMarkerItemInfo::CreateEx(&src, 0, 0, 1, false));
    src.AddMarkerInList(0);
    src.AddCheckpoint("cp", true, TRPTag{});
    src.AddText("eins", 0, -1);
    src.AddText("zwei", 0, -1);
    src.AddCheckpoint("offen", false, TRPTag{});

    Doc.AddItem("", TRPMarkerItemInfo::CreateEx(&Doc, 0, 0, 1, false));
    Doc.AddMarkerInList(0);
    Doc.AddText("vorher", 0, -1);
    Doc.Assign(&src);

    EXPECT_EQ(src.GetItemCount(), 0);
    EXPECT_EQ(src.CPCount, 0);
    EXPECT_EQ(src.GetMarkers(false), nullptr);
    ASSERT_EQ(Doc.GetItemCount(), 5);
    EXPECT_EQ(Doc.GetItemText(3), "eins");
    EXPECT_EQ(Doc.GetItemOptions(3), rpioContinuesPrev);
    ASSERT_NE(Doc.GetItemCheckpoint(3), nullptr);
    EXPECT_EQ(Doc.GetItemCheckpoint(3)->Name, "cp");
    EXPECT_EQ(Doc.FirstCP, Doc.GetItemCheckpoint(3));
    EXPECT_EQ(Doc.CPCount, 2);
    ASSERT_NE(Doc.NotAddedCP, nullptr);
    EXPECT_EQ(Doc.NotAddedCP->Name, "offen");
    TRPMarkerList* markers = Doc.GetMarkers(false);
    ASSERT_NE(markers, nullptr);
    ASSERT_EQ(markers->Count(), 2);
    EXPECT_EQ(markers->Get(1)->Counter, 2);
    EXPECT_EQ(markers->Get(1)->DisplayString, "2.");
}

TEST_F(DataTest, AssignToItselfDoesNothingAndTagKindsMustAgree) {
    Doc.AddText("a", 0, 0);
    Doc.Assign(&Doc);
    EXPECT_EQ(Doc.GetItemCount(), 1);
    TTestRPData other(&Style);
    other.Opts = rpoTagsArePChars;
    other.AddText("b", 0, 0);
    try {
        Doc.Assign(&other);
        FAIL() << "no exception";
    } catch (const ERichPadError& e) {
        EXPECT_STREQ(e.what(), "Can't assign RichPad to RichPad - tags types mismatch");
    }
    EXPECT_EQ(other.GetItemCount(), 1);
    EXPECT_EQ(Doc.GetItemCount(), 1);
}

TEST_F(DataTest, MergeJoinsRunsOfOneStyle) {
    Doc.AddText("ab", 0, 0);
    Doc.AddText("cd", 0, -1);
    Doc.MergeRange(0, 1);
    ASSERT_EQ(Doc.GetItemCount(), 1);
    EXPECT_EQ(Doc.GetItemText(0), "abcd");
}

TEST_F(DataTest, MergeRefusesTagsCheckpointsAndProtection) {
    Doc.AddText("ab", 0, 0);
    Doc.AddTextTag("cd", 0, -1, TRPTag::FromInt(3));
    EXPECT_FALSE(Doc.CanMergeItems(0, Doc.GetItem(0), false, Doc.GetItem(1)));
    Doc.Clear();
    Doc.AddText("ab", 0, 0);
    Doc.AddCheckpoint("c", false, TRPTag{});
    Doc.AddText("cd", 0, -1);
    EXPECT_FALSE(Doc.CanMergeItems(0, Doc.GetItem(0), false, Doc.GetItem(1)));
    Doc.Clear();
    Style.TextStyles().GetItem(0)->Protection = rpprModifyProtect;
    Doc.AddText("ab", 0, 0);
    Doc.AddText("cd", 0, -1);
    EXPECT_FALSE(Doc.CanMergeItems(0, Doc.GetItem(0), false, Doc.GetItem(1)));
    // A new paragraph is never joined without force.
    Style.TextStyles().GetItem(0)->Protection = 0;
    Doc.AddText("ef", 0, 0);
    EXPECT_FALSE(Doc.CanMergeItems(1, Doc.GetItem(1), false, Doc.GetItem(2)));
}

TEST_F(DataTest, EmptyRunIsDroppedInsteadOfSwallowingAnotherStyle) {
    Doc.AddText("", 0, 1);
    Doc.GetItem(0)->SetPageBreakBefore(true);
    Doc.AddCheckpoint("cp", false, TRPTag{});
    Doc.AddTextTag("Text", 3, -1, TRPTag::FromInt(7));
    Doc.MergeRange(0, 1);
    ASSERT_EQ(Doc.GetItemCount(), 1);
    EXPECT_EQ(Doc.GetItemText(0), "Text");
    EXPECT_EQ(Doc.GetItemStyle(0), 3);
    EXPECT_EQ(Doc.GetItemTag(0).Int, 7);
    EXPECT_EQ(Doc.GetItemOptions(0), rpioPageBreakBefore);
    EXPECT_EQ(Doc.GetItemPara(0), 1);
    ASSERT_NE(Doc.GetItemCheckpoint(0), nullptr);
    EXPECT_EQ(Doc.GetItemCheckpoint(0)->Name, "cp");
    EXPECT_EQ(Doc.CPCount, 1);
}

TEST_F(DataTest, EmptyRunWithCheckpointMovesItToTheSurvivor) {
    Doc.AddCheckpoint("cp", false, TRPTag{});
    Doc.AddText("", 2, 0);
    Doc.AddText("x", 0, -1);
    Doc.MergeRange(0, 1);
    ASSERT_EQ(Doc.GetItemCount(), 1);
    ASSERT_NE(Doc.GetItemCheckpoint(0), nullptr);
    EXPECT_EQ(Doc.FirstCP, Doc.GetItemCheckpoint(0));
    EXPECT_EQ(Doc.FirstCP->ItemInfo, Doc.GetItem(0));
}

// Runs of every kind that may or may not join (empty ones, other styles,
// tags, Unicode text, checkpoints, paragraph starts) join in one pass as they
// join one pair at a time from the end.
TEST_F(DataTest, MergeRangeJoinsAsPairsFromTheEndWould) {
    const auto build = [&](TTestRPData& D, unsigned Seed) {
        std::mt19937 rng(Seed);
        const int n = 2 + static_cast<int>(rng() % 40);
        for (int i = 0; i < n; ++i) {
            if (rng() % 6 == 0) D.AddCheckpoint("cp" + std::to_string(i), false, TRPTag{});
            const unsigned kind = rng() % 8;
            const std::string text =
                kind < 2 ? std::string() : std::string(1 + rng() % 3, static_cast<char>('a' + i % 26));
            const int style = rng() % 4 == 0 ? 1 : 0;
            const int para = i == 0 || rng() % 7 == 0 ? 0 : -1;
            if (kind == 2)
                D.AddTextTag(text, style, para, TRPTag::FromInt(static_cast<int>(rng() % 2)));
            else
                D.AddText(text, style, para);
            if (kind == 3 && !text.empty()) {
                // The same characters as UTF-16.
                std::string wide;
                for (char ch : text)
                    wide += {ch, '\0'};
                D.Items->Put(D.GetItemCount() - 1, wide);
                D.GetItem(D.GetItemCount() - 1)->ItemOptions |= rpioUnicode;
            }
        }
    };
    const auto dump = [](const TTestRPData& D) {
        std::string s;
        for (int i = 0; i < D.GetItemCount(); ++i) {
            const TCustomRPItemInfo* it = D.GetItem(i);
            s += "[" + D.GetItemText(i) + "|" + std::to_string(it->StyleNo) + "|" +
                 std::to_string(it->ParaNo) + "|" + std::to_string(it->ItemOptions) + "|" +
                 std::to_string(it->Tag.Int) + "|" + (it->Checkpoint ? it->Checkpoint->Name : "") + "]";
        }
        for (const TRPCPInfo* cp = D.FirstCP; cp; cp = cp->Next)
            s += " " + cp->Name + "@" + std::to_string(D.GetItemNo(cp->ItemInfo));
        return s + " " + std::to_string(D.CPCount);
    };
    for (unsigned seed = 1; seed <= 300; ++seed) {
        TTestRPData once(&Style), pairs(&Style);
        build(once, seed);
        build(pairs, seed);
        const int first = static_cast<int>(seed % 3),
                  last = once.GetItemCount() - 1 - static_cast<int>(seed % 2);
        once.MergeRange(first, last);
        for (int i = last; i > first; --i)
            if (i < pairs.GetItemCount() &&
                pairs.CanMergeItems(i - 1, pairs.GetItem(i - 1), false, pairs.GetItem(i)))
                pairs.MergeItems(i - 1);
        ASSERT_EQ(dump(once), dump(pairs)) << "seed " << seed;
        ASSERT_TRUE(once.AllEntriesHoldItems());
    }
}

namespace {
int FakeReaderCalls = 0;
int FakeReader(TRPRTFReaderProperties*, const std::string& FileName, TCustomRPData* RPData) {
    ++FakeReaderCalls;
    RPData->AddText(FileName, 0, -1);
    return 0;
}
} // namespace

TEST_F(DataTest, LoadRTFWithoutSettingsAnswersSixAndJoinsImportedRuns) {
    Doc.AddText("alt", 0, 0);
    EXPECT_EQ(Doc.LoadRTF("neu"), 6);
    EXPECT_EQ(Doc.GetItemCount(), 1);
    RegisterRTFFileReader(FakeReader);
    Doc.RTFProps = reinterpret_cast<TRPRTFReaderProperties*>(&Doc);
    EXPECT_EQ(Doc.LoadRTF("neu"), 0);
    RegisterRTFFileReader(nullptr);
    ASSERT_EQ(Doc.GetItemCount(), 1);
    EXPECT_EQ(Doc.GetItemText(0), "altneu");
    EXPECT_EQ(FakeReaderCalls, 1);
}

TEST_F(DataTest, PageBreakOfTextAfterMarkerComesFromTheMarker) {
    auto m = TRPMarkerItemInfo::CreateEx(&Doc, -1, 0, 1, false);
    m->SetPageBreakBefore(true);
    Doc.AddItem("", std::move(m));
    Doc.AddText("x", 0, -1);
    EXPECT_TRUE(Doc.IsPageBreak(1));
    try {
        Doc.IsPageBreak(2);
        FAIL();
    } catch (const ERichPadError& e) {
        EXPECT_STREQ(e.what(), "Item index is out of bounds");
    }
}

TEST_F(DataTest, OffsetsOfTextAndPictures) {
    Doc.AddText("", 0, 0);
    Doc.AddPicture("bild", Bmp(10, 10), -1, 0, TRPTag{});
    EXPECT_EQ(Doc.GetFirstOffsetOfItem(0), 1);
    EXPECT_EQ(Doc.GetLastOffsetOfItem(0), 1);
    EXPECT_EQ(Doc.GetFirstOffsetOfItem(1), 0);
    EXPECT_EQ(Doc.GetLastOffsetOfItem(1), 1);
    EXPECT_EQ(Doc.GetItemText(1), "bild");
}

TEST_F(DataTest, PictureInfoReplacesAndFreesGraphics) {
    Doc.AddPicture("a", Bmp(10, 20), 0, 1, TRPTag{});
    std::string name;
    TGraphic* g = nullptr;
    uint8_t valign = 0;
    TRPTag tag;
    Doc.GetPictureInfo(0, name, g, valign, tag);
    EXPECT_EQ(name, "a");
    EXPECT_EQ(valign, 1);
    EXPECT_FALSE(Doc.SetPictureInfo(0, "b", g, 1, TRPTag::FromInt(4)));
    EXPECT_EQ(Doc.GetItemText(0), "b");
    EXPECT_EQ(Doc.GetItemTag(0).Int, 4);
    EXPECT_EQ(Doc.GetItem(0)->GetGraphic(), g);
    EXPECT_EQ(g->Width(), 10); // still alive
    EXPECT_TRUE(Doc.SetPictureInfo(0, "c", new TBitmap(30, 20), 1, TRPTag{}));
    EXPECT_EQ(Doc.GetItem(0)->GetGraphic()->Width(), 30);

    Doc.AddText("t", 0, 0);
    try {
        Doc.GetPictureInfo(1, name, g, valign, tag);
        FAIL();
    } catch (const ERichPadError& e) {
        EXPECT_STREQ(e.what(), "Can't get or set this kind of information for this item");
    }
}

TEST_F(DataTest, NavigationHelpers) {
    int n = 5;
    Doc.ClampItemNo(n);
    EXPECT_EQ(n, 0);
    Doc.AddText("a", 0, 0);
    Doc.AddText("b", 0, -1);
    Doc.NewParaSwitch = 0;
    Doc.AddText("c", 0, 0); // line break inside the paragraph
    Doc.NewParaSwitch = 1;
    Doc.AddText("d", 0, -1);
    Doc.AddText("e", 0, 0);
    EXPECT_EQ(Doc.GetFirstParaItem(3), 0);
    EXPECT_EQ(Doc.GetFirstParaSectionItem(3), 2);
    int first = 0, last = 0;
    Doc.ExpandToPara(1, 2, first, last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 3);
    Doc.ExpandToParaSection(1, 1, first, last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 1);
    n = 9;
    Doc.ClampItemNo(n);
    EXPECT_EQ(n, 4);
}

TEST_F(DataTest, UnicodeStepsOverSurrogatePairs) {
    Style.TextStyles().GetItem(0)->Unicode = true;
    // "a", U+1F600 (two units), "b"
    std::string t("a\0\x3D\xD8\x00\xDE"
                  "b\0",
                  8);
    Doc.AddText(t, 0, 0);
    EXPECT_EQ(Doc.GetNextCharOffset(t, 0, 2), 4);
    EXPECT_EQ(Doc.GetPrevCharOffset(t, 0, 4), 2);
    EXPECT_EQ(Doc.GetNextCharOffset(t, 0, 1), 2);
}

TEST_F(DataTest, DelimitersOfWideCharactersNeedTheLowRange) {
    EXPECT_TRUE(Doc.IsDelimiterW(u' '));
    EXPECT_FALSE(Doc.IsDelimiterW(static_cast<char16_t>(0x0120))); // low byte is a blank
    EXPECT_TRUE(Doc.IsDelimiterBefore("a b", 3, 0));
    EXPECT_FALSE(Doc.IsDelimiterBefore("ab", 2, 0));
}

TEST_F(DataTest, StyleCodePageAndBiDi) {
    Style.TextStyles().GetItem(1)->Charset = 204;
    Style.DefCodePage = 1250;
    EXPECT_EQ(Doc.GetStyleCodePage(1), 1251);
    EXPECT_EQ(Doc.GetStyleCodePage(-1), 1250);
    EXPECT_EQ(Doc.GetDefaultCodePage(), 1250);
    TTestRPData bare;
    EXPECT_EQ(bare.GetStyleCodePage(1), 0);
    EXPECT_EQ(bare.GetStyleLocale(1), 0x400);
    Style.ParaStyles().GetItem(1)->BiDiMode = rpbdRightToLeft;
    Doc.AddText("x", 0, 1);
    EXPECT_EQ(Doc.GetItemBiDiMode(0), rpbdRightToLeft);
    Style.TextStyles().GetItem(0)->BiDiMode = rpbdLeftToRight;
    EXPECT_EQ(Doc.GetItemBiDiMode(0), rpbdLeftToRight);
}

TEST_F(DataTest, UnifyParaNoGivesTheParagraphOneStyle) {
    Doc.AddText("a", 0, 1);
    Doc.AddText("b", 0, -1);
    Doc.GetItem(1)->ParaNo = 0;
    Doc.AddText("c", 0, 0);
    Doc.UnifyParaNo(7); // cut to the last item, which starts its own paragraph
    EXPECT_EQ(Doc.GetItemPara(1), 0);
    Doc.UnifyParaNo(1);
    EXPECT_EQ(Doc.GetItemPara(1), 1);
    EXPECT_EQ(Doc.GetItemPara(2), 0);
}

TEST_F(DataTest, StylesInUseAreMarkedAndShifted) {
    Style.ListStyles().Add();
    Doc.AddText("a", 2, 1);
    Doc.AddText("b", -1, 0);
    Doc.AddItem("", TRPMarkerItemInfo::CreateEx(&Doc, 0, 0, 1, false));
    TRPIntegerList text = TRPIntegerList::CreateEx(4, 0), para = TRPIntegerList::CreateEx(2, 0),
                   lists = TRPIntegerList::CreateEx(1, 0);
    Doc.MarkStylesInUse(text, para, lists);
    EXPECT_EQ(text.Values(), (std::vector<int32_t>{0, 0, 1, 0}));
    EXPECT_EQ(para.Values(), (std::vector<int32_t>{1, 1}));
    EXPECT_EQ(lists.Values(), (std::vector<int32_t>{1}));
    // Styles 0 and 1 removed: the running counts at 2 are 3, so 2 becomes 0.
    TRPIntegerList ts = TRPIntegerList::CreateEx(4, 0);
    ts.Put(2, 3);
    TRPIntegerList ps = TRPIntegerList::CreateEx(2, 1), ls = TRPIntegerList::CreateEx(1, 1);
    Doc.UpdateStyles(ts, ps, ls);
    EXPECT_EQ(Doc.GetItem(0)->StyleNo, 0);
    EXPECT_EQ(Doc.GetItem(1)->StyleNo, rpsnParaDefault);
}

TEST_F(DataTest, ReadItemsAreInsertedAndMarkersRegistered) {
    Doc.AddText("a", 0, 0);
    std::string text;
    std::unique_ptr<TCustomRPItemInfo> m = TRPMarkerItemInfo::CreateEx(&Doc, 0, 0, 1, false);
    int outInt = 0;
    bool outFlag = true;
    EXPECT_TRUE(Doc.InsertReadItem(0, text, m, outInt, outFlag));
    EXPECT_EQ(m, nullptr);
    EXPECT_EQ(outInt, -1);
    EXPECT_FALSE(outFlag);
    ASSERT_NE(Doc.GetMarkers(false), nullptr);
    EXPECT_EQ(Doc.GetMarkers(false)->Count(), 1);
    std::unique_ptr<TCustomRPItemInfo> t = CreateItemByStyleNo(&Doc, 0);
    EXPECT_FALSE(Doc.InsertReadItem(9, text, t, outInt, outFlag));
    EXPECT_NE(t, nullptr); // refused: the caller keeps it
}

TEST_F(DataTest, ZeroCharsAndExpandTabsWithoutStyles) {
    std::string s("a\0b", 3);
    TCustomRPData::ReplaceZeroChars(s);
    EXPECT_EQ(s, "a?b");
    TTestRPData bare;
    std::string r;
    bare.ExpandTabs("\t", 0, r, false);
    EXPECT_EQ(r, std::string(8, ' '));
    Style.SpacesInTab = 2;
    Doc.ExpandTabs("x\ty", 0, r, false);
    EXPECT_EQ(r, "x  y");
}

TEST_F(DataTest, FindItemContainingAndControls) {
    Doc.AddText("a", 0, 0);
    Doc.AddText("b", 0, 0);
    EXPECT_EQ(Doc.FindItemContaining(0, Doc.GetItem(1)), 1);
    EXPECT_EQ(Doc.FindItemContaining(0, nullptr), -1);
    EXPECT_EQ(Doc.FindControlItemNo(nullptr), -1);
}

TEST_F(DataTest, AddNLStartsAParagraphPerLine) {
    Doc.AddText("x", 0, 1);
    Doc.AddNL("a\r\nb\rc\nd", 0, -1);
    ASSERT_EQ(Doc.GetItemCount(), 5);
    EXPECT_EQ(Doc.GetItemText(1), "a");
    EXPECT_TRUE(Doc.GetItem(1)->GetContinuesPrev());
    for (int i = 2; i < 5; ++i) {
        EXPECT_TRUE(Doc.IsParaStart(i));
        EXPECT_EQ(Doc.GetItemPara(i), 1);
    }
    EXPECT_EQ(Doc.GetItemText(4), "d");
}

TEST_F(DataTest, SelectionBoundsOfTheWholeDocument) {
    int sn, so, en, eo;
    auto p1 = std::make_shared<const TRPMultiDrawItemPart>(), p2 = p1;
    Doc.GetSelectionBounds(sn, so, en, eo, p1, p2);
    EXPECT_EQ(sn, -1);
    Doc.AddPicture("p", Bmp(1, 1), 0, 0, TRPTag{});
    Doc.AddText("abc", 0, -1);
    Doc.GetSelectionBounds(sn, so, en, eo, p1, p2);
    EXPECT_EQ(std::vector<int>({sn, so, en, eo}), std::vector<int>({0, 0, 1, 4}));
    EXPECT_FALSE(p1 || p2); // nothing is selected only in part
}

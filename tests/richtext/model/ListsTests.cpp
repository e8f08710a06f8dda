#include <gtest/gtest.h>

#include "richtext/model/RPLists.h"

namespace {

struct Counted {
    explicit Counted(int* alive) : Alive(alive) { ++*Alive; }
    ~Counted() { --*Alive; }
    int* Alive;
};

TEST(ListsOwning, DeleteClearAndDestroyFreeObjects) {
    int alive = 0;
    {
        TRPList<Counted> l;
        for (int i = 0; i < 4; ++i)
            l.Add(std::make_unique<Counted>(&alive));
        EXPECT_EQ(alive, 4);
        l.Delete(1);
        EXPECT_EQ(alive, 3);
        EXPECT_EQ(l.Count(), 3);
        std::unique_ptr<Counted> kept = l.DeleteNoFree(0);
        EXPECT_EQ(alive, 3);
        EXPECT_EQ(l.Count(), 2);
        l.Clear();
        EXPECT_EQ(alive, 1);
        l.Add(std::make_unique<Counted>(&alive));
        EXPECT_EQ(alive, 2);
    }
    EXPECT_EQ(alive, 0);
}

TEST(ListsOwning, BadIndexRaisesListError) {
    TRPList<int> l;
    l.Add(std::make_unique<int>(5));
    EXPECT_THROW(l.Get(1), std::out_of_range);
    EXPECT_THROW(l.Delete(-1), std::out_of_range);
    EXPECT_THROW(l.Insert(3, std::make_unique<int>(1)), std::out_of_range);
    EXPECT_EQ(*l[0], 5);
}

TEST(ListsInteger, CreateAssignInitSort) {
    TRPIntegerList a = TRPIntegerList::CreateEx(3, 7);
    EXPECT_EQ(a.Values(), (std::vector<int32_t>{7, 7, 7}));
    a.Put(1, -4);
    a.Insert(0, 9);
    EXPECT_EQ(a.Values(), (std::vector<int32_t>{9, 7, -4, 7}));
    TRPIntegerList b = TRPIntegerList::CreateCopy(a);
    b.SortAscending();
    EXPECT_EQ(b.Values(), (std::vector<int32_t>{-4, 7, 7, 9}));
    EXPECT_EQ(a.Get(0), 9);
    EXPECT_EQ(b.AddUnique(7), 1);
    EXPECT_EQ(b.AddUnique(100), 4);
    b.InitWith(0, 2);
    EXPECT_EQ(b.Values(), (std::vector<int32_t>{0, 0}));
    a.Assign(b);
    EXPECT_EQ(a.Count(), 2);
    EXPECT_THROW(a.Get(2), std::out_of_range);
    EXPECT_THROW(a.Put(-1, 0), std::out_of_range);
}

TEST(ListsColor, NoneIsNeverAdded) {
    TRPColorList c;
    EXPECT_EQ(c.AddUnique(clRed), 0);
    c.AddUnique(clNone);
    EXPECT_EQ(c.Count(), 1);
    EXPECT_EQ(c.AddUnique(clBlue), 1);
    EXPECT_EQ(c.AddUnique(clRed), 0);
}

TEST(ListsFontTable, FindIgnoresCaseButNotCharset) {
    TRPRTFFontTable t;
    EXPECT_EQ(t.AddUnique("Arial", 0), 0);
    EXPECT_EQ(t.AddUnique("arial", 0), 0);
    EXPECT_EQ(t.AddUnique("Arial", 1), 1);
    EXPECT_EQ(t.Find("ARIAL", 1), 1);
    EXPECT_EQ(t.Find("Tahoma", 0), -1);
    EXPECT_EQ(t.GetItem(1)->Charset, 1);
}

TEST(ListsSimilarity, CompareInts) {
    EXPECT_EQ(RP_CompareInts(10, 10, 1000), 1000);
    EXPECT_EQ(RP_CompareInts(10, 15, 1000), 500);
    EXPECT_EQ(RP_CompareInts(10, 40, 1000), -2000);
    EXPECT_EQ(RP_CompareInts(0, 0, 1000), 1000);
    EXPECT_EQ(RP_CompareInts(0, 1, 1000), 0);
    EXPECT_EQ(RP_CompareInts(0, 2, 1000), -1000);
    EXPECT_EQ(RP_CompareInts(0, 3, 1000), -2000);
    EXPECT_EQ(RP_CompareInts(-10, -5, 1000), 500);
    // Far-apart values stay a large negative score instead of overflowing.
    EXPECT_EQ(RP_CompareInts(1, 2147483647, 10000), -2147483647 - 1);
}

TEST(ListsSimilarity, CompareColors) {
    EXPECT_EQ(RP_CompareColors(clNone, clNone, 3333, 3000), 12999);
    EXPECT_EQ(RP_CompareColors(clNone, clRed, 3333, 3000), 0);
    EXPECT_EQ(RP_CompareColors(clRed, clNone, 3333, 3000), 0);
    EXPECT_EQ(RP_CompareColors(clBlack, clBlack, 3333, 3000), 3000);
    EXPECT_EQ(RP_CompareColors(clWhite, clBlack, 3333, 3000), -3 * 3333);
    // System colours compare by their fixed RGB values.
    EXPECT_EQ(RP_CompareColors(clWindowText, clBlack, 3333, 3000), 3000);
    // Per-channel integer division: 100 * 3333 / 255 = 1307.
    EXPECT_EQ(RP_CompareColors(RGB(200, 0, 0), RGB(100, 0, 0), 3333, 3000), 3000 - 1307);
}

} // namespace

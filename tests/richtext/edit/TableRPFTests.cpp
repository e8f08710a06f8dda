// Tables in RPF: round trips in text and binary form, parts of rows, and
// damaged or hostile table blocks.
#include "TableTestDoc.h"

#include "richtext/model/RPFTokens.h"

namespace {

class TableRPF : public TableFixture {
protected:
    // A 3 x 3 table with merges, attributes, a nested table and text.
    TRPTableItemInfo* BuildSample() {
        auto t = Make(3, 3);
        t->Rows->MergeCells(0, 0, 2, 1, true, false);
        t->Rows->MergeCells(1, 2, 1, 2, true, false);
        SetText(t.get(), 0, 0, "Kopf");
        SetText(t.get(), 1, 0, "a\nb");
        SetText(t.get(), 2, 1, "Preis");
        t->GetCell(1, 1)->Color = clYellow;
        t->GetCell(1, 1)->BestWidth = -30;
        t->GetCell(2, 0)->VisibleBorders.Left = false;
        t->GetCell(2, 0)->VAlign = rpcBottom;
        t->Rows->GetRow(1)->VAlign = rpcMiddle;
        t->BorderWidth = 2;
        t->CellBorderStyle = rptbColor;
        t->HeadingRowCount = 1;
        t->TextColSeparator = "\t";
        auto inner = TRPTableItemInfo::CreateEx(1, 2, t->GetCell(1, 2));
        SetText(inner.get(), 0, 1, "innen");
        TRPTableCellData* host = t->GetCell(1, 2);
        host->Clear();
        host->AddItem(std::string(), std::move(inner));
        return Place(std::move(t));
    }
    std::string Save(TCustomRPData& D) {
        std::string s;
        D.SaveRPFToStream(s, false, clNone, nullptr, nullptr);
        return s;
    }
    std::unique_ptr<TTableTestDoc> Load(const std::string& s, bool& Ok) {
        auto d = std::make_unique<TTableTestDoc>(Style.get());
        TColor c = clNone;
        Ok = d->LoadRPFFromStream(s, c, nullptr, nullptr);
        return d;
    }
    static TRPTableItemInfo* First(TCustomRPData& D) {
        for (int i = 0; i < D.GetItemCount(); ++i)
            if (auto* t = dynamic_cast<TRPTableItemInfo*>(D.GetItem(i))) return t;
        return nullptr;
    }
};

TEST_F(TableRPF, RoundTripKeepsGridAttributesAndContent) {
    BuildSample();
    for (bool binary : {false, true}) {
        Doc->RPFOpts = binary ? rpfoSaveBinary : 0;
        const std::string first = Save(*Doc);
        // The header's data mode tells the form of the block.
        EXPECT_NE(first.find(binary ? "-60 3 0 0 2 " : "-60 3 0 0 0 "), std::string::npos);
        bool ok = false;
        auto back = Load(first, ok);
        ASSERT_TRUE(ok) << binary;
        back->RPFOpts = Doc->RPFOpts;
        TRPTableItemInfo* t = First(*back);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(Spans(*t->Rows), "1x2 . 1x1/1x1 1x1 2x1/1x1 1x1 .");
        EXPECT_EQ(CellText(t->GetCell(1, 0)), "a|b");
        EXPECT_EQ(t->GetCell(1, 1)->Color, clYellow);
        EXPECT_EQ(t->GetCell(1, 1)->BestWidth, -30);
        EXPECT_FALSE(t->GetCell(2, 0)->VisibleBorders.Left);
        EXPECT_EQ(t->GetCell(2, 0)->VAlign, rpcBottom);
        EXPECT_EQ(t->Rows->GetRow(1)->VAlign, rpcMiddle);
        EXPECT_EQ(t->BorderWidth, 2);
        EXPECT_EQ(t->CellBorderStyle, rptbColor);
        EXPECT_EQ(t->TextColSeparator, "\t");
        TRPTableItemInfo* inner = First(*t->GetCell(1, 2));
        ASSERT_NE(inner, nullptr);
        EXPECT_EQ(CellText(inner->GetCell(0, 1)), "innen");
        EXPECT_EQ(inner->GetRPData(), t->GetCell(1, 2));
        // Written again, the stream is the same byte for byte.
        EXPECT_EQ(Save(*back), first);
    }
}

TEST_F(TableRPF, EmptyGridAndPlainRowsWriteLittle) {
    auto t = Make(0, 0);
    t->BackgroundImageFileName = "karo.gif";
    Place(std::move(t));
    const std::string s = Save(*Doc);
    // One extra-property line, counted in the header.
    EXPECT_NE(s.find("-60 4 0 0 0 "), std::string::npos);
    EXPECT_NE(s.find("filename=karo.gif\r\n"), std::string::npos);
    bool ok = false;
    auto back = Load(s, ok);
    ASSERT_TRUE(ok);
    ASSERT_NE(First(*back), nullptr);
    EXPECT_TRUE(First(*back)->Rows->IsEmpty());
    EXPECT_EQ(First(*back)->BackgroundImageFileName, "karo.gif");
}

TEST_F(TableRPF, PrintPartWritesHeadingRowsAndItsRows) {
    auto t = Make(5, 1);
    t->HeadingRowCount = 1;
    for (int r = 0; r < 5; ++r)
        SetText(t.get(), r, 0, "r" + std::to_string(r));
    TRPTableItemInfo* p = Place(std::move(t));
    TRPTablePrintPart part;
    part.StartRow = 3;
    part.RowCount = 2;
    std::string s;
    p->SaveRPF(s, Doc.get(), 0, 0, "", &part, false);
    std::string lines = s.substr(s.rfind("\r\n", s.size() - 3) + 2);
    lines.resize(lines.size() - 2);
    std::string block;
    ASSERT_TRUE(RPFHexToStream(lines, block));
    auto copy = Make(1, 1);
    ASSERT_TRUE(copy->LoadFromBlock(block));
    ASSERT_EQ(copy->Rows->RowCount(), 3);
    EXPECT_EQ(CellText(copy->GetCell(0, 0)), "r0");
    EXPECT_EQ(CellText(copy->GetCell(1, 0)), "r3");
    EXPECT_EQ(CellText(copy->GetCell(2, 0)), "r4");
}

TEST_F(TableRPF, DamagedBlocksAreRefusedWithoutHarm) {
    TRPTableItemInfo* p = BuildSample();
    const std::string good = p->SaveToBlock(0, 3, 0);
    auto t = Make(1, 1);
    ASSERT_TRUE(t->LoadFromBlock(good));
    // Every truncation is refused.
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(t->LoadFromBlock(good.substr(0, n))) << n;
    // Huge counts that the bytes cannot back.
    std::string huge(good.data(), 4);
    huge += std::string(1, '\0'); // no properties
    RPFWriteInt32(huge, 100000);
    RPFWriteInt32(huge, 256);
    EXPECT_FALSE(t->LoadFromBlock(huge));
    // A cell list that goes on after the grid is full.
    std::string extra(good.data(), 4);
    extra += std::string(1, '\0');
    RPFWriteInt32(extra, 1);
    RPFWriteInt32(extra, 1);
    for (int i = 0; i < 2; ++i) {
        RPFWriteInt32(extra, 1);
        RPFWriteInt32(extra, 1);
        extra += std::string(1, '\0');
        RPFWriteInt32(extra, 0);
    }
    RPFWriteInt32(extra, -1);
    extra += std::string(1, '\0');
    EXPECT_FALSE(t->LoadFromBlock(extra));
    // Spans past the grid are clipped to it.
    std::string wide(good.data(), 4);
    wide += std::string(1, '\0');
    RPFWriteInt32(wide, 2);
    RPFWriteInt32(wide, 2);
    RPFWriteInt32(wide, 50); // colspan
    RPFWriteInt32(wide, 9);  // rowspan
    wide += std::string(1, '\0');
    RPFWriteInt32(wide, 0);
    RPFWriteInt32(wide, -1);
    wide += std::string(1, '\0');
    ASSERT_TRUE(t->LoadFromBlock(wide));
    EXPECT_EQ(Spans(*t->Rows), "2x2 ./. .");
    // Every byte changed in turn: the table reads or refuses, and stays sound.
    for (size_t i = 4; i < good.size(); ++i) {
        std::string bad = good;
        bad[i] = static_cast<char>(bad[i] ^ 0x5A);
        auto u = Make(1, 1);
        if (u->LoadFromBlock(bad)) {
            EXPECT_TRUE(u->Rows->IsConsistent()) << i;
        }
    }
}

TEST_F(TableRPF, BadHexRefusesTheStream) {
    BuildSample();
    std::string s = Save(*Doc);
    const size_t at = s.find("52505431"); // the block's magic in hex
    ASSERT_NE(at, std::string::npos);
    s[at + 3] = 'Z';
    bool ok = true;
    Load(s, ok);
    EXPECT_FALSE(ok);
}

} // namespace

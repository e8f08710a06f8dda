#pragma once
// A formatted document on its own canvas with fixed metrics, to hold tables:
// text style 0 is 20 px high with characters 10 px wide; paragraph style 0 is
// plain, 1 is centred.
#include <QImage>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "platform/Graphics.h"
#include "platform/Pictures.h"
#include "richtext/edit/RPTable.h"
#include "richtext/model/RPStyle.h"
#include "richtext/view/RPFormattedData.h"
#include "support/FixedMetrics.h"

// A picture of one colour, Size pixels square.
inline std::unique_ptr<TBitmap> SolidBitmap(TColor C, int Size = 4) {
    auto b = std::make_unique<TBitmap>();
    b->SetSize(Size, Size);
    b->Canvas()->Brush()->SetColor(C);
    b->Canvas()->FillRect(Rect(0, 0, Size, Size));
    b->Canvas()->Release();
    return b;
}

inline std::unique_ptr<TRPStyle> MakeTableStyle() {
    auto s = std::make_unique<TRPStyle>();
    s->TextStyles().Clear();
    TFontInfo* f = s->TextStyles().Add();
    f->FontName = "Arial";
    f->Size = 15;
    s->ParaStyles().Clear();
    s->ParaStyles().Add();
    s->ParaStyles().Add()->Alignment = rpaCenter;
    return s;
}

class TTableTestDoc : public TCustomRPFormattedData {
public:
    explicit TTableTestDoc(TRPStyle* AStyle) : Style(AStyle) {}
    ~TTableTestDoc() override {
        State |= rpstClearing;
        ClearFormatting();
        TCustomRPData::Clear();
    }
    TRPStyle* Style;
    int Width = 500, Height = 400;
    QImage Surface{600, 400, QImage::Format_RGB32};
    TCanvas Canvas{&Surface};
    bool Focused = false;
    int VOffsValue = 0;
    TRPFOptions RPFOpts = 0;

    TRPStyle* GetRPStyle() const override { return Style; }
    int GetWidth() override { return Width; }
    int GetHeight() override { return Height; }
    int GetAreaWidth() override { return Width; }
    TCanvas* GetCanvas() override { return &Canvas; }
    TColor GetColor() override { return clWhite; }
    bool IsFocused() override { return Focused; }
    int GetVOffs() override { return VOffsValue; }
    TRPFOptions GetRPFOptions() const override { return RPFOpts; }
    void SetRPFOptions(TRPFOptions Value) override { RPFOpts = Value; }
    void Format() { TCustomRPFormattedData::Format(false, true, false, 0, nullptr, false, true); }
};

class TableFixture : public ::testing::Test {
protected:
    FixedMetricsScope Metrics;
    std::unique_ptr<TRPStyle> Style = MakeTableStyle();
    std::unique_ptr<TTableTestDoc> Doc = std::make_unique<TTableTestDoc>(Style.get());

    // A table of the given size for the document (not yet in it).
    std::unique_ptr<TRPTableItemInfo> Make(int Rows, int Cols) {
        return TRPTableItemInfo::CreateEx(Rows, Cols, Doc.get());
    }
    // Adds the table to the document and formats it; answers the table.
    TRPTableItemInfo* Place(std::unique_ptr<TRPTableItemInfo> T) {
        TRPTableItemInfo* t = T.get();
        Doc->AddItem(std::string(), std::move(T));
        Doc->Format();
        return t;
    }
    // Puts text into a cell (replacing its content).
    static void SetText(TRPTableItemInfo* T, int Row, int Col, const std::string& Text) {
        TRPTableCellData* c = T->GetCell(Row, Col);
        c->Clear();
        c->AddNL(Text, 0, 0);
    }
    // The texts of a cell's items joined with "|".
    static std::string CellText(const TCustomRPData* C) {
        std::string s;
        for (int i = 0; i < C->GetItemCount(); ++i)
            s += (i ? "|" : "") + C->GetItemText(i);
        return s;
    }
};

// "RxC" spans of every position, "." for covered ones, rows separated by "/".
inline std::string Spans(const TRPTableRows& Rows) {
    std::string s;
    for (int r = 0; r < Rows.RowCount(); ++r) {
        if (r) s += "/";
        for (int c = 0; c < Rows.GetRow(r)->Count(); ++c) {
            if (c) s += " ";
            const TRPTableCellData* cell = Rows.GetCell(r, c);
            s += cell ? std::to_string(cell->RowSpan) + "x" + std::to_string(cell->ColSpan) : ".";
        }
    }
    return s;
}

inline std::string List(const TRPIntegerList& L) {
    std::string s;
    for (int i = 0; i < L.Count(); ++i)
        s += (i ? " " : "") + std::to_string(L[i]);
    return s;
}

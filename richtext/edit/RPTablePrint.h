#pragma once
// Printing tables: the printing draw item of a table with its printer
// layout, its printable cell documents and its parts (runs of rows cut
// between pages, heading rows repeated).
#include "richtext/edit/RPTable.h"
#include "richtext/view/RPPrintableData.h"

// The printable document of one cell.
class TCellPtblRPData : public TRectPtblRPData {
public:
    TCellPtblRPData(TCustomRichPad* AControl, TCustomRPData* ASource, TCustomPrintableRPData* AParent)
        : TRectPtblRPData(AControl, ASource, AParent) {}
    ~TCellPtblRPData() override { Detach(); }
    // The cell itself has no colour: what lies behind it shows.
    bool Transparent = false;
};

class TRPTablePrintInfo : public TRPMultiDrawItemInfo {
public:
    explicit TRPTablePrintInfo(TRPTableItemInfo* ATable);

    TRPTableItemInfo* Table;
    TRPTableItemFormattingInfo FormattingInfo;
    TRPResolution Resolution;
    bool RepeatHeading = false;

    // The size is the printer layout's, set by the table itself.
    void SetSize(int AWidth, int AHeight) override { (void)AWidth, (void)AHeight; }
    bool InitSplit() override;
    bool CanSplitFirst(int Y) override { return CanPlaceFirstPart(Y); }
    bool CanPlaceFirstPart(int Y) const;
    bool SplitAt(int Y) override;
    TRPTablePrintPart* GetPart(int Index) const {
        return static_cast<TRPTablePrintPart*>(PartsList.GetItem(Index));
    }

    // The rows that print: those before the bound of the table's height.
    int Shown() const;
    // The last row of the group of rows that merged cells join, from Row on.
    int GroupEnd(int Row) const;
    // The lowest row at or above Row whose top no merged cell crosses.
    int CutRow(int Row) const;

private:
    int Top(int Row) const { return FormattingInfo.RowStarts[Row]; }
    int Bottom(int Row) const { return FormattingInfo.RowStarts[Row] + FormattingInfo.RowHeights[Row]; }
    int Headings() const;
    int Below() const;
};

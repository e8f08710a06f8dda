// Printing tables: the printing draw item, cutting between rows for pages
// (merged rows stay together, heading rows repeat), and drawing one part.
#include "richtext/edit/RPTablePrint.h"

#include <algorithm>
#include <climits>

#include "platform/Runtime.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"

namespace {

const char* const errPrinting = "Internal printing error";

} // namespace

TRPTablePrintInfo::TRPTablePrintInfo(TRPTableItemInfo* ATable) : Table(ATable) {
    const TRPTableRows& rows = *Table->Rows;
    const int h = std::min(Table->HeadingRowCount, rows.RowCount());
    RepeatHeading = h > 0;
    // A heading cell that reaches into the body switches repetition off.
    for (int c = 0; RepeatHeading && c < rows.GetColCount(); ++c) {
        int mr = 0, mc = 0;
        const TRPTableCellData* main = rows.GetMainCell(h - 1, c, mr, mc);
        if (main && mr + main->RowSpan > h) RepeatHeading = false;
    }
}

int TRPTablePrintInfo::Headings() const {
    return RepeatHeading ? std::min(Table->HeadingRowCount, Table->Rows->RowCount()) : 0;
}

int TRPTablePrintInfo::Shown() const {
    return std::max(0, Table->Rows->RowCount() - FormattingInfo.RowsPastBound);
}

int TRPTablePrintInfo::Below() const {
    const int n = Table->Rows->RowCount();
    return n > 0 ? FormattingInfo.Height - Bottom(n - 1) : 0;
}

int TRPTablePrintInfo::GroupEnd(int Row) const {
    const TRPTableRows& rows = *Table->Rows;
    const int n = rows.RowCount();
    int g = Row;
    bool changed = true;
    while (changed && g < n - 1) {
        changed = false;
        for (int c = rows.GetColCount() - 1; c >= 0; --c) {
            int mr = 0, mc = 0;
            const TRPTableCellData* main = rows.GetMainCell(g, c, mr, mc);
            if (!main) continue;
            if (mr + main->RowSpan - 1 > g) {
                g = std::min(n - 1, mr + main->RowSpan - 1);
                changed = true;
                break;
            }
            c = mc;
        }
    }
    return g;
}

int TRPTablePrintInfo::CutRow(int Row) const {
    if (Row < 1) return Row;
    const TRPTableRows& rows = *Table->Rows;
    int s = Row;
    bool changed = true;
    while (changed && s > 0) {
        changed = false;
        for (int c = rows.GetColCount() - 1; c >= 0; --c) {
            int mr = 0, mc = 0;
            const TRPTableCellData* main = rows.GetMainCell(s, c, mr, mc);
            if (!main) continue;
            if (mr < s) {
                s = mr;
                changed = true;
                break;
            }
            c = mc;
        }
    }
    return s;
}

bool TRPTablePrintInfo::InitSplit() {
    PartsList.Clear();
    const int n = Table->Rows->RowCount();
    if (!(Table->PrintOptions & rptoRowsSplit) || n == 0 || FormattingInfo.RowStarts.Count() != n)
        return false;
    if (RepeatHeading && Table->HeadingRowCount >= n) return false;
    // Rows past the table's bound are not printed.
    if (Shown() <= Headings()) return false;
    auto part = std::make_unique<TRPTablePrintPart>();
    part->StartRow = Headings();
    part->RowCount = Shown() - part->StartRow;
    part->Height = FormattingInfo.Height;
    PartsList.Add(std::move(part));
    return true;
}

bool TRPTablePrintInfo::CanPlaceFirstPart(int Y) const {
    const int H = Headings(), n = Shown();
    if (H >= n) return false;
    return Y - Below() > Bottom(GroupEnd(H));
}

bool TRPTablePrintInfo::SplitAt(int Y) {
    if (PartsList.Count() == 0) throw ERichPadError(errPrinting);
    TRPTablePrintPart* p = GetPart(PartsList.Count() - 1);
    const int H = Headings(), n = Shown();
    if (p->RowCount == 1 || p->Height <= Y || H == n) return false;
    const int hd = Top(H), e = Below();
    int k = p->StartRow + 1;
    while (k < p->StartRow + p->RowCount && Bottom(k) < Y - hd - e + Top(p->StartRow))
        ++k;
    if (k - p->StartRow >= p->RowCount) throw ERichPadError(errPrinting);
    int s = CutRow(k);
    if (s <= p->StartRow + 1) s = std::min(GroupEnd(p->StartRow) + 1, n);
    const int count = s - p->StartRow;
    if (count > p->RowCount) throw ERichPadError(errPrinting);
    if (count == p->RowCount) return false;
    p->RowCount = count;
    p->Height = Bottom(s - 1) - Top(p->StartRow) + hd + e;
    auto next = std::make_unique<TRPTablePrintPart>();
    next->StartRow = s;
    next->RowCount = n - s;
    next->Height = Bottom(n - 1) - Top(s) + hd + e;
    PartsList.Add(std::move(next));
    return true;
}

// ---------------------------------------------------------------------------
// The table's printing entries

std::unique_ptr<TRPDrawLineInfo> TRPTableItemInfo::CreatePrintingDrawItem(TCustomRPData* RPData,
                                                                          const TRPResolution& sad) {
    const TRPTableSaving saving = StoreEditedCell();
    auto* printable = dynamic_cast<TCustomPrintableRPData*>(RPData);
    auto info = std::make_unique<TRPTablePrintInfo>(this);
    info->Resolution = sad;
    const int R = Rows->RowCount(), C = Rows->GetColCount();
    info->FormattingInfo.CellPrintDocs = std::make_unique<TRPList<TCustomRPFormattedData>>();
    const TColor tableColor = GetEffectiveColor();
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c) {
            TRPTableCellData* cell = Rows->GetCell(r, c);
            std::unique_ptr<TCustomRPFormattedData> doc;
            if (cell && printable && (cell->ColSpan > 1 || cell->RowSpan > 1 || cell->HasData(false))) {
                auto p = std::make_unique<TCellPtblRPData>(printable->OwnerView, cell->GetContentData(),
                                                           printable);
                p->Transparent = cell->Color == clNone;
                TColor color = cell->Color != clNone ? cell->Color : tableColor;
                if (color == clNone) color = printable->GetColor();
                p->Color = color;
                // The table has painted the cell's background already; what
                // the document draws on a background of its own gets the
                // table's and the cell's (PrintBackground).
                p->SkipBackgroundFill = true;
                p->ShowsParentBackground = true;
                doc = std::move(p);
            }
            info->FormattingInfo.CellPrintDocs->Add(std::move(doc));
        }
    return info;
}

void TRPTableItemInfo::Print(TCanvas* Canvas, int x, int y, TCustomRPData* RPData, TRPColorMode ColorMode,
                             int PartIndex, TRPDrawLineInfo* DrawItem, const TRPResolution& sad,
                             bool Preview) {
    (void)Preview;
    auto* info = dynamic_cast<TRPTablePrintInfo*>(DrawItem);
    if (!Canvas || !info) return;
    const TRPResolution* old = Resolution;
    TCustomRPData* oldDoc = PrintingRPData;
    Resolution = &sad;
    PrintingRPData = RPData;
    try {
        // Nothing a page away from the canvas shows on it: a table longer
        // than a page, not cut into parts, draws no rows or picture tiles there.
        TRect clip = Canvas->ClipRect();
        if (clip.IsEmpty())
            clip = Rect(INT_MIN / 4, INT_MIN / 4, INT_MAX / 4, INT_MAX / 4);
        else
            clip = Rect(clip.Left - clip.Width(), clip.Top - clip.Height(), clip.Right + clip.Width(),
                        clip.Bottom + clip.Height());
        if (PartIndex >= 0 && PartIndex < info->PartsList.Count()) {
            const TRPTablePrintPart* part = info->GetPart(PartIndex);
            PaintTo(*Canvas, x, y, clip, info->FormattingInfo, rptpsPrinting, ColorMode, part->StartRow,
                    part->RowCount, info->RepeatHeading);
        } else {
            PaintTo(*Canvas, x, y, clip, info->FormattingInfo, rptpsPrinting, ColorMode, 0, info->Shown(),
                    false);
        }
    } catch (...) {
        Resolution = old;
        PrintingRPData = oldDoc;
        throw;
    }
    Resolution = old;
    PrintingRPData = oldDoc;
}

void TRPTableItemInfo::PrintBackground(TCanvas* Canvas, const TRPBounds& Rect, TRPColorMode ColorMode,
                                       int Mode) {
    if (!Canvas || Mode == 0) return;
    const auto color = [&](TColor c) {
        if (c == clNone) return c;
        return (PrintOptions & rptoWhiteBackground) ? clWhite : GetPrintBackColor(c, ColorMode);
    };
    const auto paint = [&](const TRPBackground* Back, TColor c, const TRect& Full) {
        if (Back && !Back->IsBlank()) {
            Back->Draw(*Canvas, TRPBounds{Full.Left, Full.Top, Full.Right, Full.Bottom}, 0, 0, Full.Left,
                       Full.Top, Full.Width(), Full.Height(), c, true);
        } else if (c != clNone) {
            Canvas->Brush()->SetStyle(bsSolid);
            Canvas->Brush()->SetColor(c);
            Canvas->FillRect(Full);
        }
    };
    // Behind a cell of a printed part the table's picture lies as that part shows it.
    TRect table = ::Rect(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
    if (FPrintingCell) {
        table = FPrintingPartBox;
        OffsetRect(table, Rect.Left, Rect.Top);
    }
    paint(FBackground.get(), color(Color), table);
    if (Mode == 1 || !FPrintingCell) return;
    TRect box = FPrintingCellBox;
    OffsetRect(box, Rect.Left, Rect.Top);
    paint(FPrintingCell->GetBackground(), color(FPrintingCell->Color), box);
}

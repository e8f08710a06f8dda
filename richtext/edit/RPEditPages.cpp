// PageUp and PageDown: the caret moves a screen of the view the pupil sees.
//
// That view is the document that scrolls: a cell's editor that does not
// scroll shows its lines through its host, so its pages are the host's
// screens, and the caret leaves the cell when the next screen lies beyond
// it. A table is one draw item of its document, often taller than a screen:
// the search looks into its rows, and the caret goes into the cell where the
// next screen starts. Places are compared along their way from the view's
// document down (the line, or the table's row, in each document), so that
// "after the caret" means further down the screens, in cells as in text.
//
// A key moves the view by at least a scroll unit and by no more than a
// screen, so that every part of the document shows on some screen on the
// way: through a picture, a line or a table's row taller than the screen,
// the view goes on a screen within it while the caret waits for the next
// place to come within reach.
#include <algorithm>
#include <climits>
#include <vector>

#include "richtext/edit/RPEditData.h"
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RPTableInplace.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPCoords.h"

namespace {

// A step that is a line (of text, or any item but a table), and the caret
// standing beside a table, before or after it; else a step is a cell's row.
constexpr int rpLine = INT_MIN;
constexpr int rpBeforeTable = -1;
constexpr int rpAfterTable = INT_MAX;

// One document on the way from the view's document down to a place: the
// draw items of the line there, or the table's draw item and its cell.
struct TPageStep {
    TRPEditRPData* Doc = nullptr;
    int First = -1, Last = -1;
    int Row = rpLine, Col = -1;
    // Where the document's origin lies in the view's document.
    int OrgX = 0, OrgY = 0;
    // The caret position under the point, for a line.
    int DItemNo = -1, DOffs = 0;
};
using TPagePath = std::vector<TPageStep>;

TRPTableInplaceEdit* CellEditorOf(TCustomRPData* Doc) {
    auto* d = dynamic_cast<TRPTableInplaceRPData*>(Doc);
    TRPTableInplaceEdit* e = d ? d->InplaceEditor() : nullptr;
    return e && e->Table && e->Cell ? e : nullptr;
}

// Where the document of a cell's editor starts in its host's document.
bool EditorOrigin(TRPTableInplaceEdit& E, int& X, int& Y) {
    auto* host = dynamic_cast<TCustomRPFormattedData*>(E.HostData);
    const int itemNo = E.Table->GetItemNo();
    int ix = 0, iy = 0;
    if (!host || itemNo < 0 || !host->GetItemCoords(itemNo, ix, iy)) return false;
    TRPEditRPData* d = E.EditData();
    X = RPCoordSum(ix, E.Cell->Left, -d->GetHOffs());
    Y = RPCoordSum(iy, E.Cell->Top, std::max(0, E.Cell->GetContentVShift()), -d->GetVOffs());
    return true;
}

TRPTableItemInfo* TableAt(TRPEditRPData& Doc, int DItemNo) {
    return dynamic_cast<TRPTableItemInfo*>(Doc.GetItem(Doc.DrawItem(DItemNo)->ItemNo));
}

// The table at the draw item when its cells take the caret.
TRPTableItemInfo* EditableTableAt(TRPEditRPData& Doc, int DItemNo) {
    TRPTableItemInfo* t = TableAt(Doc, DItemNo);
    return t && (t->Options & rptoEditing) ? t : nullptr;
}

// Documents nest no deeper than tables do.
constexpr size_t MaxSteps = static_cast<size_t>(TRPTableLimits::MaxDepth) + 2;

// The last of the ascending starts that lies at or before V (0 before the first).
int StartAtOrBefore(const TRPIntegerList& Starts, int V) {
    int lo = 0, hi = Starts.Count() - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (Starts[mid] <= V)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

// The row of the table under Y (table coordinates): the last that starts
// at or above it; -1 outside the table.
int RowUnder(const TRPTableItemInfo& T, int Y) {
    const TRPTableItemFormattingInfo& f = T.FormattingInfo;
    if (Y < 0 || Y >= f.Height || f.RowStarts.Count() == 0) return -1;
    return StartAtOrBefore(f.RowStarts, Y);
}

// The cell of the table whose row lies under Y and whose column lies under
// X, or nearest to it (document coordinates, DItem the table's draw item).
bool CellUnder(TRPTableItemInfo& T, const TRPDrawLineInfo& DItem, int X, int Y, int& Row, int& Col) {
    const TRPTableItemFormattingInfo& f = T.FormattingInfo;
    const int r = RowUnder(T, Y - DItem.Top);
    if (r < 0 || f.ColStarts.Count() == 0 || r >= T.Rows->RowCount()) return false;
    int c = StartAtOrBefore(f.ColStarts, X - DItem.Left);
    c = std::min(c, T.Rows->GetRow(r)->Count() - 1);
    return c >= 0 && T.Rows->GetMainCell(r, c, Row, Col);
}

// The top of the table's row in its document; the table's own top for its
// first row, whose outer border and spacing belong to it.
int RowTop(TRPTableItemInfo& T, const TRPDrawLineInfo& DItem, int Row) {
    if (Row <= 0 || Row >= T.FormattingInfo.RowStarts.Count()) return DItem.Top;
    return RPCoordSum(DItem.Top, T.FormattingInfo.RowStarts[Row], -T.ScaleY(T.CellBorderWidth));
}

// The top and bottom of a step's line (or table) in the view's document.
void StepExtent(const TPageStep& S, int& Top, int& Bottom) {
    Top = INT_MAX;
    Bottom = INT_MIN;
    for (int i = S.First; i <= S.Last; ++i) {
        const TRPDrawLineInfo* d = S.Doc->DrawItem(i);
        Top = std::min(Top, d->Top);
        Bottom = std::max(Bottom, RPCoordSum(d->Top, d->Height));
    }
    Top = RPCoordSum(Top, S.OrgY);
    Bottom = RPCoordSum(Bottom, S.OrgY);
}

// The caret's way from the view's document View down to its line; empty
// where a document between has no place in its host.
TPagePath CaretPath(TRPEditRPData& Doc, TRPEditRPData& View) {
    TPagePath path;
    if (Doc.CaretDrawItemNo < 0 || Doc.CaretDrawItemNo >= Doc.DrawItemCount() || Doc.CaretIndex < 0 ||
        Doc.CaretIndex >= static_cast<int>(Doc.CharEnds.size()))
        return path;
    TPageStep own;
    own.Doc = &Doc;
    Doc.GetLineBounds(Doc.CaretDrawItemNo, own.First, own.Last);
    if (TableAt(Doc, Doc.CaretDrawItemNo))
        own.Row = Doc.CharEnds[static_cast<size_t>(Doc.CaretIndex)].Offset > 0 ? rpAfterTable : rpBeforeTable;
    path.push_back(own);
    for (TRPEditRPData* d = &Doc; d != &View;) {
        TRPTableInplaceEdit* e = CellEditorOf(d);
        auto* host = e ? dynamic_cast<TRPEditRPData*>(e->HostData) : nullptr;
        const int itemNo = e ? e->Table->GetItemNo() : -1;
        const int di = host && itemNo >= 0 ? host->GetFirstDrawItemOfItem(itemNo) : -1;
        if (di < 0 || path.size() > MaxSteps) return {};
        TPageStep s;
        s.Doc = host;
        s.First = s.Last = di;
        s.Row = e->Row;
        s.Col = e->Col;
        path.push_back(s);
        d = host;
    }
    std::reverse(path.begin(), path.end());
    for (size_t i = 1; i < path.size(); ++i) {
        int x = 0, y = 0;
        if (!EditorOrigin(*CellEditorOf(path[i].Doc), x, y)) return {};
        path[i].OrgX = RPCoordSum(path[i - 1].OrgX, x);
        path[i].OrgY = RPCoordSum(path[i - 1].OrgY, y);
    }
    return path;
}

// The place under (X, Y) of the view's document, from Start's document
// down: with Cells into the cells of tables, through the cell editors open
// on the way (those that hold the caret), up to a cell that is closed.
TPagePath PlaceUnder(const TPageStep& Start, int X, int Y, bool Cells) {
    TPagePath path;
    TRPEditRPData* d = Start.Doc;
    int ox = Start.OrgX, oy = Start.OrgY;
    while (d && path.size() <= MaxSteps) {
        TPageStep s;
        s.Doc = d;
        s.OrgX = ox;
        s.OrgY = oy;
        d->FindDrawItemAtPos(X - ox, Y - oy, false, s.DItemNo, s.DOffs);
        if (s.DItemNo < 0) break;
        TRPTableItemInfo* t = Cells ? EditableTableAt(*d, s.DItemNo) : nullptr;
        if (t && CellUnder(*t, *d->DrawItem(s.DItemNo), X - ox, Y - oy, s.Row, s.Col)) {
            s.First = s.Last = s.DItemNo;
            path.push_back(s);
            TRPTableInplaceEdit* e = t->InplaceEditor();
            int ex = 0, ey = 0;
            if (!e || e->Row != s.Row || e->Col != s.Col || !EditorOrigin(*e, ex, ey)) break;
            d = e->EditData();
            ox = RPCoordSum(ox, ex);
            oy = RPCoordSum(oy, ey);
            continue;
        }
        s.Row = rpLine;
        d->GetLineBounds(s.DItemNo, s.First, s.Last);
        path.push_back(s);
        break;
    }
    return path;
}

// Where Place lies against the caret's way, whose step From is Place's
// first: -1 above, 1 below, 0 on the caret's line of the screen (the same
// line, another cell of the same row, or the table the caret stands beside
// seen as one line).
int Compare(const TPagePath& Place, const TPagePath& Caret, size_t From) {
    for (size_t i = 0; i < Place.size() && From + i < Caret.size(); ++i) {
        const TPageStep &a = Place[i], &b = Caret[From + i];
        if (a.Doc != b.Doc) return 0;
        if (a.Last < b.First) return -1;
        if (a.First > b.Last) return 1;
        if (a.Row == rpLine || b.Row == rpLine) return 0;
        if (a.Row != b.Row) return a.Row < b.Row ? -1 : 1;
        if (a.Col != b.Col) return 0;
    }
    return 0;
}

// A step into a cell whose editor is not open: the place is the cell's row.
bool IsCellStep(const TPageStep& S) {
    return S.Row >= 0 && S.Row != rpAfterTable;
}

// The top and bottom of the place a path ends at, in the view's document:
// its line, or the row of a cell.
void PlaceExtent(const TPagePath& P, int& Top, int& Bottom) {
    const TPageStep& s = P.back();
    StepExtent(s, Top, Bottom);
    TRPTableItemInfo* t = IsCellStep(s) ? TableAt(*s.Doc, s.First) : nullptr;
    if (!t) return;
    const TRPDrawLineInfo& di = *s.Doc->DrawItem(s.First);
    Top = RPCoordSum(s.OrgY, RowTop(*t, di, s.Row));
    if (s.Row + 1 < t->FormattingInfo.RowStarts.Count())
        Bottom = RPCoordSum(s.OrgY, RowTop(*t, di, s.Row + 1));
}

// Where a screen that starts with the place a path ends at starts: its
// line's top, or, for a cell's row or the first line of a cell, the row's
// (and so on out, for a row at the top of a table that opens a cell).
int ScreenStart(const TPagePath& P) {
    int top = 0, bottom = 0;
    PlaceExtent(P, top, bottom);
    size_t i = P.size() - 1;
    if (IsCellStep(P[i]) && P[i].Row != 0) return top;
    for (; i > 0 && P[i].First == 0; --i) {
        const TPageStep& s = P[i - 1];
        TRPTableItemInfo* t = TableAt(*s.Doc, s.First);
        if (!t) break;
        top = RPCoordSum(s.OrgY, RowTop(*t, *s.Doc->DrawItem(s.First), s.Row));
        if (s.Row != 0) break;
    }
    return top;
}

// How far a key moves the view within what is taller than the screen: as
// far as the first place it looks at, so that a third of the screen stays.
int PageStep(int H) {
    return std::max(1, (2 * H) / 3);
}

// The view of a key that came with its top at From moves to Top, held
// between a scroll unit and a screen away in the key's direction: it
// stands on whole units, rounded towards From where the screen's bound
// allows it.
void ScrollByPage(TRPEditRPData& View, bool Down, int From, int Top) {
    const int h = View.GetHeight(), u = std::max(1, View.GetVSmallStep());
    const int at = From / u;
    int pos;
    if (Down) {
        const int last = std::max(at + 1, RPCoordSum(From, h) / u);
        pos = std::clamp(std::max(0, Top) / u, at + 1, last);
    } else {
        if (at <= 0) return;
        const int first = std::min(at - 1, (std::max(0, RPCoordSum(From, -h)) + u - 1) / u);
        pos = std::clamp(std::max(0, Top) / u, first, at - 1);
    }
    View.ScrollToY(static_cast<int>(std::min<int64_t>(int64_t(pos) * u, RPMaxCoord)), true);
}

// The view moves a step on from From within what is taller than the screen.
void ScrollAStep(TRPEditRPData& View, bool Down, int From) {
    const int step = PageStep(View.GetHeight());
    ScrollByPage(View, Down, From, RPCoordSum(From, Down ? step : -step));
}

// After the caret's move on a key that came with the view at From: a view
// that the move took further than a screen on goes back to the screen's
// bound; one that it took back (showing the caret's line), or, Onward, one
// that did not move on (the caret at the document's end with its line
// shown already) goes a step on in the key's direction.
void HoldPageMove(TRPEditRPData& View, bool Down, int From, bool Onward) {
    const int v = View.GetVOffs(), h = View.GetHeight();
    const int bound = RPCoordSum(From, Down ? h : -h);
    if (Down ? v > bound : v < bound)
        ScrollByPage(View, Down, From, bound);
    else if ((Down ? v < From : v > From) || (Onward && v == From))
        ScrollAStep(View, Down, From);
}

// The caret stands at its new place in Doc, on a key that came with the
// view at From. Down: the view starts a screen with the caret's line; with
// one that starts above the view (taller than the screen), it goes a step
// on within the line. Up: the caret's line shows as for any caret key,
// unless that would take the view further than a screen: then it goes a
// step up, or a screen where the line would not show after a step.
void SettleCaretByPage(TRPEditRPData& Doc, TRPEditRPData& View, bool Down, int From) {
    const int h = View.GetHeight(), u = std::max(1, View.GetVSmallStep());
    const TPagePath caret = CaretPath(Doc, View);
    int top = 0, bottom = 0;
    if (!caret.empty()) StepExtent(caret.back(), top, bottom);
    // Showing the caret's line scrolls the view to a whole unit at or above
    // the line's top less the caret's margin and its own pixel.
    const int shownTop = std::max(0, top - TRPEditRPData::CaretLineMargin - 1) / u * u;
    const bool show = !Down && !caret.empty() && shownTop >= RPCoordSum(From, -h);
    Doc.ChangeCaret(false, show, false);
    if (caret.empty() || show) {
        HoldPageMove(View, Down, From, false);
        return;
    }
    const int start = Down ? ScreenStart(caret) : 0;
    if (Down ? start <= From : bottom > RPCoordSum(From, -PageStep(h)))
        ScrollAStep(View, Down, From);
    else
        ScrollByPage(View, Down, From, Down ? start : RPCoordSum(From, -h));
}

} // namespace

void TRPEditRPData::MoveCaretPageUp(bool Shift) {
    MoveCaretByPage(false, Shift);
}

void TRPEditRPData::MoveCaretPageDown(bool Shift) {
    MoveCaretByPage(true, Shift);
}

void TRPEditRPData::MoveCaretByPage(bool Down, bool Shift) {
    if (DrawItemCount() == 0 || CharEnds.empty()) return;
    auto* view = dynamic_cast<TRPEditRPData*>(GetScrollingData());
    TPagePath caret = view ? CaretPath(*this, *view) : TPagePath{};
    if (caret.empty()) {
        view = this;
        caret = CaretPath(*this, *this);
        if (caret.empty()) return;
    }
    const TPageStep& own = caret.back();
    const int v = view->GetVOffs(), h = view->GetHeight();
    // Half a screen per try, at least a pixel, so that a tiny window still moves.
    const int step = std::max(1, h / 2);
    const int x = RPCoordSum(own.OrgX, CaretX());
    int lineTop = 0, lineBottom = 0;
    StepExtent(own, lineTop, lineBottom);
    // The view goes a step on, and the caret stays: what lies before the
    // place it would go to shows first.
    const auto viewOnly = [&] {
        ScrollAStep(*view, Down, v);
        ChangeCaret(false, false, false);
    };
    // With Shift the selection stays in the caret's document, and a table in
    // it is one line.
    const size_t from = Shift ? caret.size() - 1 : 0;
    int y = Down ? v + (2 * h) / 3 : v - (2 * h) / 3;
    while (Down ? y < view->DocumentHeight : y > 0) {
        const TPagePath place = PlaceUnder(caret[from], x, y, !Shift);
        if (place.empty()) break;
        if (Compare(place, caret, from) == (Down ? 1 : -1)) {
            // Within reach: going down, a screen that starts with the place
            // touches this one; going up, the place reaches into the screen
            // above.
            int top = 0, bottom = 0;
            PlaceExtent(place, top, bottom);
            if (Down ? ScreenStart(place) > RPCoordSum(v, h) : bottom <= RPCoordSum(v, -h)) {
                viewOnly();
                return;
            }
            if (place.back().Doc == this && place.back().Row == rpLine) {
                SetCaretDrawPos(place.back().DItemNo, place.back().DOffs);
                SkipListMarker(Down);
                SettleCaretByPage(*this, *view, Down, v);
            } else {
                LeaveByPage(view, [view, x, y, Down, v] { view->PlaceCaretInView(x, y, Down, v); });
            }
            return;
        }
        if (own.Row != rpLine && y >= lineTop && y < lineBottom &&
            (Down ? lineBottom > v + h : lineTop < v)) {
            // The caret stands beside a table that reaches past the screen
            // (with Shift, or with the view moved away from the caret): the
            // view moves a screen within it, to a row's start, and the caret stays.
            const TRPDrawLineInfo& di = *own.Doc->DrawItem(own.First);
            TRPTableItemInfo* t = TableAt(*own.Doc, own.First);
            const int r = t ? RowUnder(*t, y - own.OrgY - di.Top) : -1;
            const int rowTop = r >= 0 ? RPCoordSum(own.OrgY, RowTop(*t, di, r)) : y;
            const int top = (Down ? rowTop > v : rowTop >= v - h) ? rowTop : y;
            ScrollByPage(*view, Down, v, std::max(top, lineTop));
            ChangeCaret(false, false, false);
            return;
        }
        // The tries go on by half a screen; the second stops at the screen's
        // bottom edge, so that the line after a caret low on the screen
        // starts the next one and no line between is passed.
        if (Down)
            y = y < v + h ? std::min(RPCoordSum(y, step), RPCoordSum(v, h)) : RPCoordSum(y, step);
        else
            y = RPCoordSum(y, -step);
    }
    // Nothing further: the caret goes to the end, or the start, of the
    // document searched once the screen there comes within reach.
    TRPEditRPData* doc = Shift || view == this ? this : view;
    const int docTop = doc == view ? 0 : own.OrgY;
    if (Down ? RPCoordSum(docTop, doc->DocumentHeight, -h) > RPCoordSum(v, h) : docTop < RPCoordSum(v, -h)) {
        viewOnly();
        return;
    }
    if (doc == this) {
        if (Down)
            MoveCaretEnd(true);
        else
            MoveCaretHome(true);
        HoldPageMove(*view, Down, v, true);
        return;
    }
    // To the view's document's start or end, out of the cells.
    LeaveByPage(view, [view, Down, v] {
        if (TCustomRichPadEdit* e = view->Editor()) e->DestroyCellEditor();
        if (Down)
            view->MoveCaretEnd(true);
        else
            view->MoveCaretHome(true);
        HoldPageMove(*view, Down, v, true);
        if (TCustomRichPadEdit* e = view->Editor()) e->SetFocus();
    });
}

void TRPEditRPData::LeaveByPage(TRPEditRPData* View, std::function<void()> Work) {
    // A cell's editor that the move closes must not go inside its own key
    // handler: the work waits until the handler has returned.
    if (TRPTableInplaceEdit* e = View != this ? CellEditorOf(this) : nullptr) {
        e->PostCaretWork(std::move(Work));
        return;
    }
    Work();
}

void TRPEditRPData::PlaceCaretInView(int X, int Y, bool Down, int From) {
    TRPEditRPData* d = this;
    int ox = 0, oy = 0;
    for (size_t tries = 0; d && tries < 2 * MaxSteps; ++tries) {
        int di = -1, offs = 0;
        d->FindDrawItemAtPos(X - ox, Y - oy, false, di, offs);
        if (di < 0) return;
        TCustomRichPadEdit* control = d->Editor();
        TRPTableItemInfo* t = EditableTableAt(*d, di);
        int r = -1, c = -1;
        const bool inCell = t && CellUnder(*t, *d->DrawItem(di), X - ox, Y - oy, r, c);
        auto* open = control ? dynamic_cast<TRPTableInplaceEdit*>(control->GetCellEditor()) : nullptr;
        if (open && !(inCell && open->Table == t && open->Row == r && open->Col == c)) {
            // The caret leaves the cell edited here: it takes its items back,
            // and the lines are searched again as they are then.
            control->DestroyCellEditor();
            continue;
        }
        if (inCell &&
            (open || t->EditCell(d->DrawItem(di)->ItemNo, r, c, false, false, false, false, false))) {
            TRPTableInplaceEdit* e = t->InplaceEditor();
            int ex = 0, ey = 0;
            if (e && e->Row == r && e->Col == c && EditorOrigin(*e, ex, ey)) {
                d = e->EditData();
                ox = RPCoordSum(ox, ex);
                oy = RPCoordSum(oy, ey);
                continue;
            }
            return;
        }
        // A line of this document, or a table whose cell would not open:
        // the caret stands beside it.
        d->SetCaretDrawPos(di, offs);
        d->SkipListMarker(Down);
        SettleCaretByPage(*d, *this, Down, From);
        if (control && !control->Focused()) control->SetFocus();
        return;
    }
}

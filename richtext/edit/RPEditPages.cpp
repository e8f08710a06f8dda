// PageUp and PageDown: the caret moves a screen of the view the pupil sees.
//
// That view is the document that scrolls: a cell's editor that does not
// scroll shows its lines through its host, so its pages are the host's
// screens, and the caret leaves the cell when the next screen lies beyond
// it. A table is one draw item of its document, often taller than a screen:
// the search looks into its rows and cells, and the caret goes into the cell
// where the next screen starts. Places are compared along their way from the
// view's document down (the line, or the table's row, in each document), so
// that "after the caret" means further down the screens, in cells as in text.
//
// What a key promises, with the caret on the screen (or where the last page
// key left it): the view moves in the key's direction by a scroll unit at
// least and by a screen at most, so that every part of the document shows on
// some screen on the way; the caret goes to a place that the new screen
// shows (its line whole, or in part when it is taller than the screen), so
// that it never passes over a line that no screen showed. Where the next
// place does not come within reach (a picture, a line, a row or a space
// taller than the screen lies between), the view goes on a step while the
// caret waits. With the caret away from the screen in the key's direction
// (the pupil scrolled back), the key moves it to the next place beyond it,
// wherever that is, and the view follows.
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
// draw items of the line there, or the table's draw item and its cell. The
// document is a cell's editor's where the cell is open, else the cell's own.
struct TPageStep {
    TCustomRPFormattedData* Doc = nullptr;
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
    // An editor that scrolls slides down its cell as far: its lines stay put.
    X = RPCoordSum(ix, E.Cell->Left, -E.EditData()->GetHOffs());
    Y = RPCoordSum(iy, E.Cell->Top, std::max(0, E.Cell->GetContentVShift()));
    return true;
}

TRPTableItemInfo* TableAt(TCustomRPFormattedData& Doc, int DItemNo) {
    return dynamic_cast<TRPTableItemInfo*>(Doc.GetItem(Doc.DrawItem(DItemNo)->ItemNo));
}

// The table at the draw item when its cells take the caret.
TRPTableItemInfo* EditableTableAt(TCustomRPFormattedData& Doc, int DItemNo) {
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

// The top and bottom of the draw items First to Last of a document whose
// origin lies OrgY down the view's document.
void LineExtent(TCustomRPFormattedData& Doc, int First, int Last, int OrgY, int& Top, int& Bottom) {
    Top = INT_MAX;
    Bottom = INT_MIN;
    for (int i = First; i <= Last; ++i) {
        const TRPDrawLineInfo* d = Doc.DrawItem(i);
        Top = std::min(Top, d->Top);
        Bottom = std::max(Bottom, RPCoordSum(d->Top, d->Height));
    }
    Top = RPCoordSum(Top, OrgY);
    Bottom = RPCoordSum(Bottom, OrgY);
}

// The top and bottom of a step's line (or table) in the view's document.
void StepExtent(const TPageStep& S, int& Top, int& Bottom) {
    LineExtent(*S.Doc, S.First, S.Last, S.OrgY, Top, Bottom);
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

// Where the document of the cell (Row, Col) of the table at draw item DItem
// of Doc starts, Doc's origin lying at (OrgX, OrgY): its editor's document
// where the cell is open, else the cell's own.
TCustomRPFormattedData* CellDocument(TCustomRPFormattedData& Doc, int DItem, TRPTableItemInfo& T, int Row,
                                     int Col, int& OrgX, int& OrgY) {
    TRPTableInplaceEdit* e = T.InplaceEditor();
    int x = 0, y = 0;
    if (e && e->Row == Row && e->Col == Col) {
        if (!EditorOrigin(*e, x, y)) return nullptr;
        OrgX = RPCoordSum(OrgX, x);
        OrgY = RPCoordSum(OrgY, y);
        return e->EditData();
    }
    TRPTableCellData* cell = T.GetCell(Row, Col);
    if (!cell) return nullptr;
    const TRPDrawLineInfo* di = Doc.DrawItem(DItem);
    const int pad = T.ScaleX(T.CellPadding);
    OrgX = RPCoordSum(OrgX, di->Left, cell->Left, pad);
    OrgY = RPCoordSum(OrgY, di->Top, cell->Top, pad, cell->GetContentVShift());
    return cell;
}

// The place under (X, Y) of the view's document, from Start's document
// down: with Cells into the cells of tables, open or not, to a line.
TPagePath PlaceUnder(const TPageStep& Start, int X, int Y, bool Cells) {
    TPagePath path;
    TCustomRPFormattedData* d = Start.Doc;
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
            d = CellDocument(*d, s.DItemNo, *t, s.Row, s.Col, ox, oy);
            continue;
        }
        s.Row = rpLine;
        d->GetLineBounds(s.DItemNo, s.First, s.Last);
        path.push_back(s);
        break;
    }
    return path;
}

// Where Place lies against the way Caret, whose step From is Place's first:
// -1 above, 1 below, 0 on the same line of the screen (the same line,
// another cell of the same row, or the table the caret stands beside seen
// as one line).
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

// A step into a cell: the place is the cell's row where no line of the cell follows.
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

// The line or row at a point that a screen's edge cuts, which the next
// screen is to show whole: of the place there and the rows of the tables
// around it, the outermost that a screen holds with a unit to spare.
bool CutExtent(const TPagePath& P, int Room, int& Top, int& Bottom) {
    for (const TPageStep& s : P) {
        TRPTableItemInfo* t = IsCellStep(s) ? TableAt(*s.Doc, s.First) : nullptr;
        StepExtent(s, Top, Bottom);
        if (t) {
            const TRPDrawLineInfo& di = *s.Doc->DrawItem(s.First);
            const TRPTableCellData* cell = t->GetCell(s.Row, s.Col);
            const int next = s.Row + (cell ? std::max(1, cell->RowSpan) : 1);
            Top = RPCoordSum(s.OrgY, RowTop(*t, di, s.Row));
            if (next < t->FormattingInfo.RowStarts.Count()) Bottom = RPCoordSum(s.OrgY, RowTop(*t, di, next));
        }
        if (Bottom - Top <= Room) return true;
    }
    return false;
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

// Where the place after the one a path ends at starts, reading down: the
// next line of its document, the next row of its table, or what follows
// the table in the document around it. False at the end of the path's first document.
bool NextPlaceTop(const TPagePath& P, int& Y) {
    for (size_t i = P.size(); i-- > 0;) {
        const TPageStep& s = P[i];
        if (IsCellStep(s)) {
            TRPTableItemInfo* t = TableAt(*s.Doc, s.First);
            const TRPTableCellData* cell = t ? t->GetCell(s.Row, s.Col) : nullptr;
            const int next = s.Row + (cell ? std::max(1, cell->RowSpan) : 1);
            if (t && next < t->FormattingInfo.RowStarts.Count()) {
                Y = RPCoordSum(s.OrgY, RowTop(*t, *s.Doc->DrawItem(s.First), next));
                return true;
            }
        }
        if (s.Last + 1 < s.Doc->DrawItemCount()) {
            int first = 0, last = 0, bottom = 0;
            s.Doc->GetLineBounds(s.Last + 1, first, last);
            LineExtent(*s.Doc, first, last, s.OrgY, Y, bottom);
            return true;
        }
    }
    return false;
}

int FloorTo(int Y, int U) {
    return Y >= 0 ? Y / U * U : -((-Y + U - 1) / U * U);
}

// The view's greatest offset: the document's end at the screen's bottom.
int MaxViewTop(TRPEditRPData& View) {
    TCustomRichPadEdit* e = View.Editor();
    if (!e) return std::max(0, View.DocumentHeight - View.GetHeight());
    return static_cast<int>(std::min<int64_t>(int64_t(std::max(0, e->VScrollMax - (e->VScrollPage - 1))) *
                                                  std::max(1, View.GetVSmallStep()),
                                              RPMaxCoord));
}

using TPageMove = TRPEditRPData::TPageMove;

// A key that finds the caret away from the screen in its direction may take
// the view anywhere; else a unit at least and a screen at most on.
TPageMove PageMove(TRPEditRPData& View, bool Down, bool Far) {
    TPageMove m;
    m.Down = Down;
    m.Far = Far;
    m.From = View.GetVOffs();
    const int h = View.GetHeight(), u = std::max(1, View.GetVSmallStep());
    const int end = std::max(0, MaxViewTop(View));
    if (Far) {
        m.Lo = 0;
        m.Hi = std::max(end, m.From);
    } else if (Down) {
        m.Lo = std::min(RPCoordSum(m.From, u), end);
        m.Hi = std::max(m.Lo, std::min(FloorTo(RPCoordSum(m.From, h), u), end));
        if (m.From >= end) m.Lo = m.Hi = m.From;
    } else {
        m.Hi = std::max(0, m.From - u);
        m.Lo = std::min(m.Hi, std::max(0, -FloorTo(-(m.From - h), u)));
    }
    return m;
}

// How a place is to show: at the top of a screen (Screen, for the pages
// down), or as any caret key shows the caret's line.
enum class TPageShow { Screen, Line };

// The view that shows the line Top..Bottom as Show asks within the key's
// range: whole when it fits the screen, in part when it is taller; -1
// where no view in the range shows it.
int ViewShowing(TRPEditRPData& View, const TPageMove& M, TPageShow Show, int Top, int Bottom, int Start) {
    const int h = View.GetHeight(), u = std::max(1, View.GetVSmallStep());
    constexpr int margin = TRPEditRPData::CaretLineMargin + 1;
    const bool fits = Bottom - Top <= h;
    int want = M.From;
    if (Show == TPageShow::Screen) {
        want = FloorTo(Start, u);
        if (fits && Bottom > RPCoordSum(want, h)) want = -FloorTo(-RPCoordSum(Bottom, -h), u);
    } else {
        // As the caret's line shows after any caret key: with its margin,
        // its top first.
        if (RPCoordSum(Bottom, margin) > RPCoordSum(want, h))
            want = -FloorTo(-RPCoordSum(Bottom, margin, -h), u);
        if (RPCoordSum(Top, -margin) < want) want = FloorTo(std::max(0, RPCoordSum(Top, -margin)), u);
    }
    const auto shows = [&](int v) {
        return fits ? Top >= v && Bottom <= RPCoordSum(v, h) : Top < RPCoordSum(v, h) && Bottom > v;
    };
    const int v = std::clamp(want, M.Lo, M.Hi);
    if (shows(v)) return v;
    // A place the screen shows already: the caret goes there, the view stays.
    if (!M.Far && shows(M.From)) return M.From;
    return -1;
}

// The view of a key that finds no place within reach goes a step on, as far
// as the first place the key looks at, so that a third of the screen stays.
// Beside a table that reaches past the screen (with Shift, the caret beside
// it), the step ends at a row's start where one lies on the way.
int ViewStep(TRPEditRPData& View, const TPageMove& M, const TPagePath& Caret) {
    const int h = View.GetHeight(), u = std::max(1, View.GetVSmallStep());
    int y = RPCoordSum(M.From, M.Down ? (2 * h) / 3 : -(2 * h) / 3);
    const TPageStep& own = Caret.back();
    int lineTop = 0, lineBottom = 0;
    StepExtent(own, lineTop, lineBottom);
    if (own.Row != rpLine && y >= lineTop && y < lineBottom) {
        const TRPDrawLineInfo& di = *own.Doc->DrawItem(own.First);
        TRPTableItemInfo* t = TableAt(*own.Doc, own.First);
        const int r = t ? RowUnder(*t, y - own.OrgY - di.Top) : -1;
        const int rowTop = r >= 0 ? RPCoordSum(own.OrgY, RowTop(*t, di, r)) : y;
        if (M.Down ? rowTop > M.From : rowTop >= M.From - h) y = std::max(rowTop, lineTop);
    }
    return std::clamp(FloorTo(std::max(0, y), u), M.Lo, M.Hi);
}

// The caret's line in the view's document, and where a screen that starts
// with it starts.
bool CaretLine(TRPEditRPData& Doc, TRPEditRPData& View, int& Top, int& Bottom, int& Start) {
    const TPagePath caret = CaretPath(Doc, View);
    if (caret.empty()) return false;
    StepExtent(caret.back(), Top, Bottom);
    Start = ScreenStart(caret);
    return true;
}

} // namespace

void TRPEditRPData::MoveCaretPageUp(bool Shift) {
    MoveCaretByPage(false, Shift);
}

void TRPEditRPData::MoveCaretPageDown(bool Shift) {
    MoveCaretByPage(true, Shift);
}

bool TRPEditRPData::PageKeyGoesOn(const TRPEditRPData& Caret) {
    const TPageKeyState& s = PageKeyLeft;
    return s.V == GetVOffs() && s.CaretDoc == &Caret && Caret.CaretDrawItemNo == s.CaretDrawItemNo &&
           Caret.CaretIndex == s.CaretIndex && Caret.DrawItemCount() == s.DrawItems &&
           Caret.CurItemNo() == s.Item && Caret.OffsetInCurItem() == s.Offs;
}

void TRPEditRPData::SettlePage(TRPEditRPData& View, const TPageMove& Move) {
    int top = 0, bottom = 0, start = 0, v = -1;
    // A cell's editor taller than its window slides it over the caret's line.
    if (TRPTableInplaceEdit* e = CellEditorOf(this); e && e->VScrollAllowed) {
        int first = 0, last = 0;
        GetLineBounds(CaretDrawItemNo, first, last);
        LineExtent(*this, first, last, 0, top, bottom);
        TCustomRPFormattedData::ShowRectangle(CaretX(), top, 1, bottom - top);
    }
    if (CaretLine(*this, View, top, bottom, start))
        v = ViewShowing(View, Move, Move.Down ? TPageShow::Screen : TPageShow::Line, top, bottom, start);
    ChangeCaret(false, false, false);
    // The place was chosen where a view in the key's range shows it; a cell
    // opened since may have laid out its lines otherwise: the view stays in range.
    if (v < 0 && Move.ToEdge) v = Move.Down ? Move.Hi : Move.Lo;
    if (v < 0)
        v = std::clamp(FloorTo(std::max(0, Move.Down ? start : top), std::max(1, View.GetVSmallStep())),
                       Move.Lo, Move.Hi);
    View.ScrollToY(v, true);
    View.RememberPageKey(*this);
}

void TRPEditRPData::RememberPageKey(TRPEditRPData& Caret) {
    TPageKeyState& s = PageKeyLeft;
    s.V = GetVOffs();
    s.CaretDoc = &Caret;
    s.CaretDrawItemNo = Caret.CaretDrawItemNo;
    s.CaretIndex = Caret.CaretIndex;
    s.DrawItems = Caret.DrawItemCount();
    s.Item = Caret.CurItemNo();
    s.Offs = Caret.OffsetInCurItem();
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
    int lineTop = 0, lineBottom = 0;
    StepExtent(own, lineTop, lineBottom);
    // The caret away from the screen in the key's direction, with lines
    // between, and not where a page key left it: the pupil scrolled back,
    // and the key goes on from the caret.
    const size_t from = Shift ? caret.size() - 1 : 0;
    const int x = RPCoordSum(own.OrgX, CaretX());
    const bool far = !view->PageKeyGoesOn(*this) && (Down ? lineTop >= RPCoordSum(v, h) : lineBottom <= v) &&
                     Compare(PlaceUnder(caret[from], x, Down ? RPCoordSum(v, h, -1) : v, !Shift), caret,
                             from) == (Down ? -1 : 1);
    TPageMove move = PageMove(*view, Down, far);
    const int u = std::max(1, view->GetVSmallStep());
    // What the screen cuts at its far edge shows whole on the next.
    int cutTop = 0, cutBottom = 0;
    if (!far && move.Lo < move.Hi &&
        CutExtent(PlaceUnder(caret.front(), x, Down ? RPCoordSum(v, h, -1) : v, true), h - u, cutTop,
                  cutBottom)) {
        if (Down && cutTop > v && cutBottom > RPCoordSum(v, h))
            move.Hi = std::clamp(FloorTo(cutTop, u), move.Lo, move.Hi);
        else if (!Down && cutTop < v && cutBottom < RPCoordSum(v, h))
            move.Lo = std::clamp(-FloorTo(-RPCoordSum(cutBottom, -h), u), move.Lo, move.Hi);
    }
    // Half a screen per try, at least a pixel, so that a tiny window still
    // moves. With Shift the selection stays in the caret's document, and a
    // table in it is one line (from).
    const int step = std::max(1, h / 2);
    const TPageShow show = Down ? TPageShow::Screen : TPageShow::Line;
    // The view that shows a place within the key's range, or -1.
    const auto reach = [&](const TPagePath& P) {
        int top = 0, bottom = 0;
        PlaceExtent(P, top, bottom);
        return ViewShowing(*view, move, show, top, bottom, ScreenStart(P));
    };
    const auto go = [&](const TPagePath& P, int Y) {
        const TPageStep& s = P.back();
        if (s.Doc == this && s.Row == rpLine) {
            SetCaretDrawPos(s.DItemNo, s.DOffs);
            SkipListMarker(Down);
            SettlePage(*view, move);
            return;
        }
        LeaveByPage(view, [view, x, Y, move] { view->PlaceCaretInView(x, Y, move); });
    };
    // Nothing within reach: the view goes a step on and the caret waits, so
    // that what lies before the place shows first.
    const auto wait = [&] {
        view->ScrollToY(ViewStep(*view, move, caret), true);
        ChangeCaret(false, false, false);
        view->RememberPageKey(*this);
    };
    int y = Down ? v + (2 * h) / 3 : v - (2 * h) / 3;
    while (Down ? y < view->DocumentHeight : y > 0) {
        const TPagePath place = PlaceUnder(caret[from], x, y, !Shift);
        if (place.empty()) break;
        if (Compare(place, caret, from) == (Down ? 1 : -1)) {
            // The document's first line (last line) is its start (end).
            const TPageStep& s = place.front();
            if (s.Row == rpLine && (Down ? s.Last == s.Doc->DrawItemCount() - 1 : s.First == 0)) break;
            if (far || reach(place) >= 0) {
                go(place, y);
                return;
            }
            // Going up, the place the key looks at may start above the
            // screen within reach: the next place below it that the
            // screen shows whole will do, short of the caret's line.
            if (!Down) {
                TPagePath p = place;
                for (int tries = 0, ny = 0; tries < 64 && NextPlaceTop(p, ny); ++tries) {
                    TPagePath next = PlaceUnder(caret[from], x, ny, !Shift);
                    if (next.empty() || Compare(next, p, 0) != 1 || Compare(next, caret, from) != -1) break;
                    if (reach(next) >= 0) {
                        go(next, ny);
                        return;
                    }
                    p = std::move(next);
                }
            }
            wait();
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
    // document searched once a screen that shows it comes within reach;
    // standing there, it waits while the view goes on to the end.
    TRPEditRPData* doc = Shift || view == this ? this : view;
    const int docTop = doc == view ? 0 : own.OrgY;
    int top = 0, bottom = 0, first = 0, last = 0;
    doc->GetLineBounds(Down ? doc->DrawItemCount() - 1 : 0, first, last);
    LineExtent(*doc, first, last, docTop, top, bottom);
    // A view at the document's end shows of its last line what it can.
    const bool edge = Down ? move.Hi >= MaxViewTop(*view) : move.Lo == 0;
    if ((!far && doc == this && CaretAtDocumentEdge(Down)) ||
        (!edge && ViewShowing(*view, move, TPageShow::Line, top, bottom, top) < 0)) {
        wait();
        return;
    }
    move.ToEdge = edge;
    if (doc == this) {
        CaretToDocumentEdge(Down);
        SettlePage(*view, move);
        return;
    }
    // To the view's document's start or end, out of the cells.
    LeaveByPage(view, [view, Down, move] {
        if (TCustomRichPadEdit* e = view->Editor()) e->DestroyCellEditor();
        view->CaretToDocumentEdge(Down);
        view->SettlePage(*view, move);
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

void TRPEditRPData::PlaceCaretInView(int X, int Y, const TPageMove& Move) {
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
        d->SkipListMarker(Move.Down);
        d->SettlePage(*this, Move);
        if (control && !control->Focused()) control->SetFocus();
        return;
    }
}

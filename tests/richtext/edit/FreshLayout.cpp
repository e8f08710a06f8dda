#include "FreshLayout.h"

#include <QCoreApplication>
#include <QImage>

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

#include "EditTestSupport.h"
#include "platform/Forms.h"
#include "richtext/edit/RPEditData.h"
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RichPadEdit.h"

namespace {

const char* const kOpenCell = "[cell editor open]";

std::string List(const TRPIntegerList& L) {
    std::string s;
    for (int i = 0; i < L.Count(); ++i)
        s += (i ? " " : "") + std::to_string(L[i]);
    return s;
}

std::vector<std::string> Lines(const std::string& Text);

// The cells of the edited view that an editor is open on, by their path of
// item numbers and cell positions ("i1 0,1/i0 0,0").
using TOpenCells = std::set<std::string>;

// The document's lines (DumpLayout), then each table: its grid and its cells,
// each cell's document the same way, indented. A cell that is open in the
// edited view shows the editor's document there, laid out with the editor's
// margins: of its contents only the tables are dumped, in both views.
void Dump(TCustomRPFormattedData& D, const std::string& Indent, const std::string& Path,
          const TOpenCells& Open, bool WithLines, std::string& Out) {
    if (WithLines) {
        Out +=
            Indent + "doc w=" + std::to_string(D.TextWidth) + " h=" + std::to_string(D.DocumentHeight) + "\n";
        const std::string lines = DumpLayout(D);
        for (size_t at = 0, end; at < lines.size(); at = end + 1) {
            end = std::min(lines.find('\n', at), lines.size());
            Out.append(Indent).append(lines, at, end - at).append(1, '\n');
        }
    }
    for (int i = 0; i < D.GetItemCount(); ++i) {
        auto* t = dynamic_cast<TRPTableItemInfo*>(D.GetItem(i));
        if (!t) continue;
        const TRPTableItemFormattingInfo& f = t->FormattingInfo;
        Out += Indent + "table i" + std::to_string(i) + " " + std::to_string(t->GetWidth()) + "x" +
               std::to_string(t->GetHeight()) + " cols[" + List(f.ColWidths) + "] colstarts[" +
               List(f.ColStarts) + "] rows[" + List(f.RowHeights) + "] rowstarts[" + List(f.RowStarts) + "]" +
               ((t->TableState & rptbsEditorDoc) ? " editor" : "") + "\n";
        for (int r = 0; r < t->Rows->RowCount(); ++r)
            for (int c = 0; c < t->Rows->GetColCount(); ++c) {
                TRPTableCellData* cell = t->GetCell(r, c);
                if (!cell) continue;
                const std::string at = std::to_string(r) + "," + std::to_string(c);
                Out += Indent + " cell " + at + " " + std::to_string(cell->Left) + "," +
                       std::to_string(cell->Top) + " " + std::to_string(cell->Width) + "x" +
                       std::to_string(cell->Height) + "\n";
                const std::string path = Path + "i" + std::to_string(i) + " " + at;
                const bool open = Open.count(path) != 0;
                if (open) Out += Indent + "  " + kOpenCell + "\n";
                Dump(*cell->GetContentData(), Indent + "  ", path + "/", Open, !open, Out);
            }
    }
}

// The paths of the cells an editor is open on.
void FindOpenCells(TCustomRPData& D, const std::string& Path, TOpenCells& Open) {
    for (int i = 0; i < D.GetItemCount(); ++i)
        if (auto* t = dynamic_cast<TRPTableItemInfo*>(D.GetItem(i)))
            for (int r = 0; r < t->Rows->RowCount(); ++r)
                for (int c = 0; c < t->Rows->GetColCount(); ++c)
                    if (TRPTableCellData* cell = t->GetCell(r, c)) {
                        const std::string path = Path + "i" + std::to_string(i) + " " + std::to_string(r) +
                                                 "," + std::to_string(c);
                        if (cell->GetCellEditor()) Open.insert(path);
                        FindOpenCells(*cell->GetContentData(), path + "/", Open);
                    }
}

std::string ViewLayout(TCustomRichPadEdit& Edit, const TOpenCells& Open) {
    std::string s = "view " + std::to_string(Edit.ClientWidth()) + "x" + std::to_string(Edit.ClientHeight()) +
                    " vpos " + std::to_string(Edit.VPos) + " hpos " + std::to_string(Edit.HPos) + "\n";
    Dump(*Edit.RPData(), "", "", Open, true, s);
    return s;
}

std::vector<std::string> Lines(const std::string& Text) {
    std::vector<std::string> v;
    for (size_t at = 0, end; at < Text.size(); at = end + 1) {
        end = std::min(Text.find('\n', at), Text.size());
        v.emplace_back(Text, at, end - at);
    }
    return v;
}

// The first line where the dumps differ.
std::string FirstDifference(const std::string& Edited, const std::string& Fresh) {
    if (Edited == Fresh) return std::string();
    const std::vector<std::string> a = Lines(Edited), b = Lines(Fresh);
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::string la = i < a.size() ? a[i] : "<end>", lb = i < b.size() ? b[i] : "<end>";
        if (la != lb)
            return "line " + std::to_string(i + 1) + ": edited \"" + la + "\", fresh \"" + lb + "\"";
    }
    return std::string();
}

std::string PixelDifference(const QImage& A, const QImage& B, const TRect& Skip) {
    if (A.size() != B.size())
        return "picture sizes " + std::to_string(A.width()) + "x" + std::to_string(A.height()) + " and " +
               std::to_string(B.width()) + "x" + std::to_string(B.height());
    int n = 0, x0 = 0, y0 = 0;
    for (int y = 0; y < A.height(); ++y)
        for (int x = 0; x < A.width(); ++x)
            if (A.pixel(x, y) != B.pixel(x, y) &&
                !(x >= Skip.Left && x < Skip.Right && y >= Skip.Top && y < Skip.Bottom) && n++ == 0) {
                x0 = x;
                y0 = y;
            }
    if (n == 0) return std::string();
    return std::to_string(n) + " pixels differ, the first at " + std::to_string(x0) + "," +
           std::to_string(y0);
}

void Drain() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

} // namespace

std::string DiffFromFreshLayout(TCustomRichPadEdit& Edit, int ExtraWidth) {
    // Work the view posted (an undo in a cell that opens first) runs before
    // the document is saved: the fresh view's own start drains it too, and
    // would change the view between saving it and comparing it.
    Drain();
    // The styles stay in the style component both views share.
    std::string rpf;
    const TRPFOptions options = Edit.RPFOptions;
    Edit.RPFOptions &= static_cast<TRPFOptions>(~(rpfoSaveTextStyles | rpfoSaveParaStyles));
    Edit.SaveRPFToStream(rpf, false);
    Edit.RPFOptions = options;

    TForm form(nullptr);
    form.SetBounds(0, 0, Edit.Width() + ExtraWidth + 20, Edit.Height() + 20);
    auto* fresh = new TRichPadEdit(&form);
    fresh->SetParent(&form);
    fresh->SetBounds(0, 0, Edit.Width() + ExtraWidth, Edit.Height());
    fresh->SetStyle(Edit.Style());
    fresh->Options = Edit.Options;
    fresh->RPFOptions = Edit.RPFOptions;
    fresh->DocFlags = Edit.DocFlags;
    fresh->Clear();
    fresh->LoadRPFFromStream(rpf);
    fresh->Format();
    Drain();
    fresh->SetVPosition(Edit.VPos, false);
    fresh->SetHPosition(Edit.HPos);
    Drain();
    TOpenCells open;
    FindOpenCells(*Edit.RPData(), "", open);
    std::string what = FirstDifference(ViewLayout(Edit, open), ViewLayout(*fresh, open));
    TRPEditRPData* data = Edit.EditData();
    // An open cell editor is a window over the view, painted apart.
    if (what.empty() && !Edit.GetCellEditor() && !data->SelectionExists(false, true)) {
        // Kept from check to check: painted again in place.
        static QImage mine, theirs;
        Edit.PaintTo(mine);
        fresh->PaintTo(theirs);
        const TRect c = data->CaretRect();
        what = PixelDifference(mine, theirs, TRect{c.Left - 1, c.Top - 1, c.Right + 1, c.Bottom + 1});
    }
    delete fresh;
    return what;
}

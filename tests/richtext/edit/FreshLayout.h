#pragma once
// The view after edits against a fresh view of the same size that loads the
// edited document: whatever edits led to a document, the view must show what
// a fresh layout of it shows. Compared are the view's client size, the
// document's height and scroll positions, every line, every table's columns,
// rows and cell boxes (nested tables too), and the painted picture.
#include <string>

class TCustomRichPadEdit;
class TCustomRPFormattedData;

// The layout of a view as text, one line per draw item and per table cell.
std::string DumpViewLayout(TCustomRichPadEdit& Edit);

// What differs first between the view and a fresh view of it, empty when
// nothing. The fresh view has the same size, style and stream options, loads
// the view's RPF and scrolls to the view's positions. Pictures are compared
// only without a selection (which the fresh view does not have), and the
// caret, which only the edited view has, is left out of them. ExtraWidth
// widens the fresh view, so that a test can prove that the check finds a
// difference.
//
// While a cell editor is open the view differs from a fresh one on purpose:
// the cell shows the editor's document, laid out with the editor's margins,
// and its table follows the editor only when the editor's document changes
// its size. Nothing is compared then.
std::string DiffFromFreshLayout(TCustomRichPadEdit& Edit, int ExtraWidth = 0);

#pragma once
// The view after edits against a fresh view of the same size that loads the
// edited document: whatever edits led to a document, the view must show what
// a fresh layout of it shows. Compared are the view's client size, the
// document's height and scroll positions, every line, every table's columns,
// rows and cell boxes (nested tables too), and the painted picture.
#include <string>

class TCustomRichPadEdit;
class TCustomRPFormattedData;

// What differs first between the view and a fresh view of it, empty when
// nothing. The fresh view has the same size, style and stream options, loads
// the view's RPF and scrolls to the view's positions. Pictures are compared
// only without a selection (which the fresh view does not have), and the
// caret, which only the edited view has, is left out of them. ExtraWidth
// widens the fresh view, so that a test can prove that the check finds a
// difference.
//
// While a cell editor is open, the cell shows the editor's document, laid out
// with the editor's margins: of that cell's contents only the tables in it
// are compared, and the picture is not; the tables around it, their columns
// and rows, and the host's lines are.
std::string DiffFromFreshLayout(TCustomRichPadEdit& Edit, int ExtraWidth = 0);

// Painting after keys in a shown editor with real fonts: a key paints the
// lines it changed and moves the lines below by their pixels; painted text is
// not measured again; the off-screen picture is kept; a key in a word wider
// than the window measures its own paragraph only. Over a random edit script
// on a page of the program (lists, a picture, tables), the picture shown after
// every key equals the control painted whole and a fresh control painted with
// the same document, and the minimum widths kept across edits equal those
// measured afresh.
#include <gtest/gtest.h>

#include "EditTestSupport.h"

#include <QApplication>
#include <QDropEvent>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <cstring>
#include <random>

#include "platform/Fonts.h"
#include "platform/Forms.h"
#include "platform/Keys.h"
#include "platform/TextMetrics.h"
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RPTableInplace.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPDrawLines.h"
#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFReaderProperties.h"
#include "support/PaintedArea.h"

namespace {

// An editor on a form of its own; Shown: on the screen, with the focus.
struct TEditorOnForm {
    TEditorOnForm(TRPStyle& Style, int Width, int Height, bool Shown) {
        RegisterProgramFonts();
        Form->SetBounds(0, 0, Width + 40, Height + 40);
        Edit = new TRichPadEdit(Form.get());
        Edit->SetParent(Form.get());
        Edit->SetBounds(0, 0, Width, Height);
        Edit->SetStyle(&Style);
        Edit->GetRTFReadProperties()->TextStyleMode = rprsAddIfNeeded;
        Edit->GetRTFReadProperties()->ParaStyleMode = rprsAddIfNeeded;
        Edit->Clear();
        Edit->Format();
        if (Shown) {
            Form->Show();
            QApplication::setActiveWindow(Form->Widget());
            Edit->SetFocus();
            Settle();
        }
    }
    ~TEditorOnForm() {
        delete Edit;
        Form.reset();
    }
    static void Settle() {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    // A key pressed and released on the editor's window, and its repaint.
    void Key(int QtKey, const QString& Text = QString(), Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, QtKey, Mods, Text);
        QApplication::sendEvent(Edit->Widget(), &press);
        QKeyEvent release(QEvent::KeyRelease, QtKey, Mods, Text);
        QApplication::sendEvent(Edit->Widget(), &release);
        QApplication::processEvents();
    }
    void Type(char16_t Ch) { Key(QtKeyOfChar(Ch), QString(QChar(Ch))); }
    // What the screen shows of the control (Client: of its client area),
    // once what is pending (the caret's blink, say) is painted.
    QImage Shown(bool Client = false) const {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        QWidget* w = Client ? Edit->ClientWidget() : Edit->Widget();
        QWidget* top = w->window();
        const QPoint at = w->mapTo(top, QPoint(0, 0));
        return QGuiApplication::primaryScreen()
            ->grabWindow(top->winId(), at.x(), at.y(), w->width(), w->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    // The control with its border and scroll bars painted whole now.
    QImage Repainted() const {
        return Edit->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TRichPadEdit* Edit = nullptr;
};

std::string Paragraphs(int N) {
    std::string s;
    for (int i = 0; i < N; ++i)
        s += "Absatz " + std::to_string(i) + ": Die Kinder rechnen und schreiben in das Logbuch.\n";
    return s;
}

void Load(TCustomRichPadEdit& E, const std::string& Text) {
    E.Clear();
    size_t at = 0;
    while (at < Text.size()) {
        const size_t end = Text.find('\n', at);
        E.AddText(Text.substr(at, end - at), 0, 0);
        at = end + 1;
    }
    E.Format();
}

// The first line in which two pictures differ outside Skip, as "line y", or "".
std::string FirstDifference(const QImage& A, const QImage& B, const TRect& Skip = TRect{}) {
    if (A.size() != B.size() || A.format() != QImage::Format_RGB32 || B.format() != QImage::Format_RGB32)
        return "sizes or formats differ";
    const size_t bytes = static_cast<size_t>(A.width()) * 4;
    for (int y = 0; y < A.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(A.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(B.constScanLine(y));
        if (memcmp(a, b, bytes) == 0) continue;
        for (int x = 0; x < A.width(); ++x)
            if (a[x] != b[x] && !(x >= Skip.Left && x < Skip.Right && y >= Skip.Top && y < Skip.Bottom))
                return std::to_string(x) + "," + std::to_string(y);
    }
    return std::string();
}

// The first pixel inside Area in which two pictures of the same size differ,
// as "x,y", or "".
std::string FirstDifferenceIn(const QImage& A, const QImage& B, const QRect& Area) {
    if (A.size() != B.size() || A.format() != QImage::Format_RGB32 || B.format() != QImage::Format_RGB32)
        return "sizes or formats differ";
    const QRect in = Area & A.rect();
    for (int y = in.top(); y <= in.bottom(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(A.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(B.constScanLine(y));
        for (int x = in.left(); x <= in.right(); ++x)
            if (a[x] != b[x]) return std::to_string(x) + "," + std::to_string(y);
    }
    return std::string();
}

} // namespace

TEST(EditPaint, AKeyPaintsTheLinesItChangedAndMovesTheLinesBelow) {
    TRPStyle style;
    TEditorOnForm e(style, 400, 300, true);
    Load(*e.Edit, Paragraphs(40));
    e.Edit->EditData()->SetCaretItemPos(3, 10);
    e.Settle();
    TPaintedArea painted({e.Edit->ClientWidget()});
    const int64_t client = static_cast<int64_t>(e.Edit->ClientWidth()) * e.Edit->ClientHeight();
    // A character: its line and 10 pixels above and below it.
    e.Type(u'x');
    EXPECT_GT(painted.Pixels, 0);
    EXPECT_LT(painted.Pixels, client / 4);
    EXPECT_EQ(FirstDifference(e.Shown(), e.Repainted()), "");
    // Enter: the two lines, while the lines below move by their pixels.
    painted.Pixels = 0;
    e.Key(Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_LT(painted.Pixels, client / 4);
    EXPECT_EQ(FirstDifference(e.Shown(), e.Repainted()), "");
    // Backspace joins them again and the lines below move back up.
    painted.Pixels = 0;
    e.Key(Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_LT(painted.Pixels, client / 4);
    EXPECT_EQ(FirstDifference(e.Shown(), e.Repainted()), "");
    EXPECT_EQ(e.Edit->GetItemText(3).substr(0, 12), "Absatz 3:x D");
}

// Everything selected in a focused editor shows the focused
// selection colour, in a table nested in a cell as in the table around it.
TEST(EditPaint, ANestedTableWhollySelectedInAFocusedEditorTakesTheFocusedColour) {
    TRPStyle style;
    style.SelColor = clRed;
    style.InactiveSelColor = clGreen;
    TEditorOnForm e(style, 400, 300, true);
    ASSERT_TRUE(e.Edit->Focused());
    e.Edit->Clear();
    auto outer = TRPTableItemInfo::CreateEx(1, 2, e.Edit->RPData());
    TRPTableCellData* host = outer->GetCell(0, 0);
    host->Clear();
    auto inner = TRPTableItemInfo::CreateEx(1, 1, host);
    TRPTableItemInfo* nested = inner.get();
    host->AddItem(std::string(), std::move(inner));
    e.Edit->RPData()->AddItem(std::string(), std::move(outer));
    e.Edit->Format();
    e.Edit->SelectAll();
    QImage img;
    e.Edit->PaintTo(img);
    const TRPTableCellData* c = nested->GetCell(0, 0);
    const QPoint at(nested->DrawLeft + c->Left + c->Width / 2, nested->DrawTop + c->Top + c->Height / 2);
    ASSERT_TRUE(img.rect().contains(at));
    EXPECT_EQ(QColor(img.pixel(at)), QColor(Qt::red));
}

// Selected cells of a table cleared with Delete: the table becomes lower,
// and the caret beside it takes its new height; no black line is left above
// the table where the caret stood beside the taller one.
TEST(EditPaint, AfterSelectedCellsAreClearedNoLineStandsAboveTheTable) {
    TRPStyle style;
    TEditorOnForm e(style, 400, 300, true);
    e.Edit->Clear();
    e.Edit->AddText("vorher", 0, 0);
    auto t = TRPTableItemInfo::CreateEx(2, 2, e.Edit->RPData());
    TRPTableItemInfo* T = t.get();
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) {
            TRPTableCellData* cell = T->GetCell(r, c);
            cell->Clear();
            for (int k = 0; k < 4; ++k)
                cell->AddNL("Zeile " + std::to_string(k), 0, 0);
        }
    e.Edit->RPData()->AddItem(std::string(), std::move(t));
    e.Edit->AddText("nachher", 0, 0);
    e.Edit->Format();
    e.Settle();
    // A drag from the first cell to the last selects the cells.
    int left = 0, top = 0;
    ASSERT_TRUE(e.Edit->RPData()->GetItemClientCoords(1, left, top));
    const auto centre = [&](int R, int C) {
        const TRPTableCellData* c = T->GetCell(R, C);
        return QPoint(left + c->Left + c->Width / 2, top + c->Top + c->Height / 2);
    };
    const auto send = [&](QEvent::Type Type, QPoint At) {
        TCustomRichPad* r = e.Edit;
        if (TRPTableInplaceEdit* ed = T->InplaceEditor(); ed && ed->MouseCapture()) {
            r = ed;
            At -= QPoint(ed->Left(), ed->Top());
        }
        QWidget* w = r->ClientWidget();
        QMouseEvent ev(Type, QPointF(At), w->mapToGlobal(QPointF(At)),
                       Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                       Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &ev);
        e.Settle();
    };
    send(QEvent::MouseButtonPress, centre(0, 0));
    send(QEvent::MouseMove, centre(1, 1));
    send(QEvent::MouseButtonRelease, centre(1, 1));
    ASSERT_TRUE(T->HasCellSelection());
    const int before = T->FormattingInfo.Height;
    e.Key(Qt::Key_Delete);
    e.Settle();
    ASSERT_LT(T->FormattingInfo.Height, before - 20);
    ASSERT_TRUE(e.Edit->RPData()->GetItemClientCoords(1, left, top));
    const QImage shown = e.Shown(true);
    // The caret reaches 2 pixels above its line, as beside any line.
    for (int y = 0; y < top - 2; ++y)
        for (int x = left + T->FormattingInfo.Width - 10; x < left + T->FormattingInfo.Width + 10; ++x)
            ASSERT_NE(shown.pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;
}

TEST(EditPaint, PaintedTextIsNotMeasuredAgainAndThePictureIsKept) {
    TRPStyle style;
    TEditorOnForm e(style, 400, 300, false);
    Load(*e.Edit, Paragraphs(40));
    QImage screen;
    e.Edit->PaintTo(screen);
    const QImage* kept = e.Edit->RPData()->PaintBuffer();
    ASSERT_NE(kept, nullptr);
    const uchar* bits = kept->constBits();
    TCountingMetrics counting;
    QImage again;
    e.Edit->PaintTo(again);
    // The runs are drawn at the widths the layout measured.
    EXPECT_EQ(counting.Chars, 0);
    EXPECT_EQ(FirstDifference(screen, again), "");
    // One picture for every paint, as large as the client area.
    EXPECT_EQ(e.Edit->RPData()->PaintBuffer(), kept);
    EXPECT_EQ(kept->constBits(), bits);
    EXPECT_GE(kept->width(), e.Edit->ClientWidth());
    EXPECT_GE(kept->height(), e.Edit->ClientHeight());
}

TEST(EditPaint, AKeyInAWordWiderThanTheWindowMeasuresItsParagraphOnly) {
    TRPStyle style;
    TEditorOnForm e(style, 300, 200, false);
    std::string text = Paragraphs(200);
    const std::string wide(80, 'w');
    text.insert(text.find("Absatz 100: ") + 12, wide + " ");
    Load(*e.Edit, text);
    ASSERT_GT(e.Edit->RPData()->ContentWidth, 300);
    const int paragraph = static_cast<int>(e.Edit->GetItemText(100).size());
    e.Edit->EditData()->SetCaretItemPos(100, 50);
    for (const char16_t key : {u'w', u'\b', u'\b'}) {
        const int contentWidth = e.Edit->RPData()->ContentWidth;
        TCountingMetrics counting;
        if (key == u'\b')
            e.Edit->SendKey(VK_BACK);
        else
            e.Edit->SendChar(key);
        // The document's width follows the word; its other 199 paragraphs are
        // neither measured nor laid out again.
        EXPECT_NE(e.Edit->RPData()->ContentWidth, contentWidth);
        EXPECT_LT(counting.Chars, 20 * paragraph);
        const std::string partial = DumpLayout(*e.Edit->RPData());
        e.Edit->Format();
        EXPECT_EQ(partial, DumpLayout(*e.Edit->RPData()));
        e.Edit->EditData()->SetCaretItemPos(100, 50);
    }
}

namespace {

// Random keys on a page of the program with bullet lists, a picture and
// tables, in an editor narrower than the page's widest line: characters,
// blanks, Enter, Backspace, Delete, undo, and words typed until they are wider
// than the window and rubbed out again; the caret is put into a text item at
// random first (which also scrolls).
class TKeyScript {
public:
    TKeyScript(TEditorOnForm& E, unsigned Seed) : e(E), rng(Seed) {}

    int Pick(int n) { return static_cast<int>(rng() % static_cast<unsigned>(std::max(1, n))); }

    // One step; After runs after every key.
    template <class F> void Step(F&& After) {
        TRPEditRPData* d = e.Edit->EditData();
        // A text item: on a table the caret would choose it, which a fresh
        // control does not show.
        int item = Pick(d->GetItemCount());
        while (d->GetItemStyle(item) < 0)
            item = (item + 1) % d->GetItemCount();
        const int first = d->GetFirstOffsetOfItem(item), last = d->GetLastOffsetOfItem(item);
        d->SetCaretItemPos(item, first + Pick(last - first + 1));
        e.Settle();
        After();
        const auto key = [&](int QtKey, const QString& Text, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
            e.Key(QtKey, Text, Mods);
            After();
        };
        switch (Pick(8)) {
        case 0:
        case 1:
            for (int n = 1 + Pick(3); n > 0; --n) {
                const char16_t c = u"abc xyzABC"[Pick(10)];
                key(QtKeyOfChar(c), QString(QChar(c)));
            }
            break;
        case 2:
            key(Qt::Key_Return, QStringLiteral("\r"));
            break;
        case 3:
            key(Qt::Key_Backspace, QStringLiteral("\b"));
            break;
        case 4:
            key(Qt::Key_Delete, QString());
            break;
        case 5:
            key(Qt::Key_Z, QStringLiteral("\x1a"), Qt::ControlModifier);
            break;
        case 6:
            key(Qt::Key_Left, QString());
            break;
        default:
            for (int n = 0; n < 24; ++n)
                key(Qt::Key_W, QStringLiteral("w"));
            for (int n = 0; n < 24; ++n)
                key(Qt::Key_Backspace, QStringLiteral("\b"));
            break;
        }
    }

    TEditorOnForm& e;
    std::mt19937 rng;
};

const char* const kPage = PRAVOLIN_SOURCE_DIR "/data/dateien/Zqk1/ZqK1_1B.rtf";

} // namespace

TEST(EditPaint, AfterEveryKeyTheScreenShowsWhatAWholePaintAndAFreshControlShow) {
    TRPStyle style;
    TEditorOnForm e(style, 380, 260, true);
    TEditorOnForm fresh(style, 380, 260, false);
    // Both controls take the document the same way, as RPF.
    ASSERT_TRUE(fresh.Edit->LoadRTF(kPage));
    std::string page;
    ASSERT_TRUE(fresh.Edit->SaveRPFToStream(page, false));
    ASSERT_TRUE(e.Edit->LoadRPFFromStream(page));
    e.Edit->Format();
    e.Settle();
    int keys = 0;
    const auto check = [&] {
        ++keys;
        // Partial painting (scroll bars and border too) left nothing behind
        // that a whole paint would not show.
        ASSERT_EQ(FirstDifference(e.Shown(), e.Repainted()), "") << "key " << keys;
        // A fresh control with the document, at the same place, shows the same
        // (but for the caret, which only the focused editor has); looked at
        // every few keys, for the time it takes.
        if (keys % 4 != 0) return;
        std::string rpf;
        ASSERT_TRUE(e.Edit->SaveRPFToStream(rpf, false));
        fresh.Edit->Clear();
        ASSERT_TRUE(fresh.Edit->LoadRPFFromStream(rpf));
        fresh.Edit->Format();
        fresh.Edit->SetVPosition(e.Edit->VPos, false);
        fresh.Edit->SetHPosition(e.Edit->HPos);
        ASSERT_EQ(DumpLayout(*fresh.Edit->RPData()), DumpLayout(*e.Edit->RPData())) << "key " << keys;
        QImage expected;
        fresh.Edit->PaintTo(expected);
        TRect caret = e.Edit->EditData()->CaretRect();
        caret = TRect{caret.Left - 1, caret.Top - 1, caret.Right + 1, caret.Bottom + 1};
        ASSERT_EQ(FirstDifference(e.Shown(true), expected, caret), "") << "key " << keys;
    };
    TKeyScript script(e, 7919);
    for (int step = 0; step < 36 && !HasFatalFailure(); ++step)
        script.Step(check);
    EXPECT_GT(keys, 150);
}

// A table of 24 rows with borders, cells whose lines wrap at their column's
// width, a cell spanning three rows centred vertically, and text around it.
std::string BorderedTable() {
    std::string s = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Oben\\par\n";
    const std::string box = "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10"
                            "\\clbrdrr\\brdrs\\brdrw10";
    for (int r = 0; r < 24; ++r) {
        s += "\\trowd\\trgaph80" + box + "\\cellx1600" + box + "\\cellx3200" + box;
        if (r == 8) s += "\\clvmgf\\clvertalc";
        if (r == 9 || r == 10) s += "\\clvmrg\\clvertalc";
        s += "\\cellx4800\\pard\\intbl Zeile " + std::to_string(r) + "\\cell B " + std::to_string(r) +
             (r % 3 == 0 ? " mit einem Satz, der in der Spalte umbricht" : "") + "\\cell " +
             (r == 8              ? "Mitte"
              : r == 9 || r == 10 ? ""
                                  : "C " + std::to_string(r)) +
             "\\cell\\row\n";
    }
    return s + "\\pard Unten\\par}";
}

TEST(EditPaint, KeysInATableCellPaintWhatAWholePaintShowsAndLayTheTableOutAsAWholeLayoutDoes) {
    TRPStyle style;
    TEditorOnForm e(style, 380, 260, true);
    ASSERT_TRUE(e.Edit->InsertRTFFromStream(BorderedTable()));
    e.Edit->Format();
    TRPTableItemInfo* t = nullptr;
    for (int i = 0; i < e.Edit->EditData()->GetItemCount() && !t; ++i)
        t = dynamic_cast<TRPTableItemInfo*>(e.Edit->EditData()->GetItem(i));
    ASSERT_NE(t, nullptr);
    // The rows around the spanning cell stand in the middle of the window.
    e.Edit->SetVPosition(t->FormattingInfo.RowStarts[5], false);
    e.Settle();
    const auto layout = [&] {
        const TRPTableItemFormattingInfo& i = t->FormattingInfo;
        std::string s = std::to_string(i.Width) + "x" + std::to_string(i.Height) + ":";
        for (int k = 0; k < i.ColWidths.Count(); ++k)
            s += " c" + std::to_string(i.ColStarts[k]) + "+" + std::to_string(i.ColWidths[k]);
        for (int k = 0; k < i.RowHeights.Count(); ++k)
            s += " r" + std::to_string(i.RowStarts[k]) + "+" + std::to_string(i.RowHeights[k]);
        for (int r = 0; r < t->Rows->RowCount(); ++r)
            for (int c = 0; c < t->Rows->GetColCount(); ++c)
                if (const TRPTableCellData* cell = t->GetCell(r, c))
                    s += " " + std::to_string(cell->Top) + "/" + std::to_string(cell->Height);
        return s;
    };
    int keys = 0;
    const auto key = [&](int QtKey, const QString& Text) {
        TRPTableInplaceEdit* cell = t->InplaceEditor();
        ASSERT_NE(cell, nullptr);
        QKeyEvent press(QEvent::KeyPress, QtKey, Qt::NoModifier, Text);
        QApplication::sendEvent(cell->Widget(), &press);
        QKeyEvent release(QEvent::KeyRelease, QtKey, Qt::NoModifier, Text);
        QApplication::sendEvent(cell->Widget(), &release);
        QApplication::processEvents();
        ++keys;
        // Rows painted in part and moved left nothing behind.
        ASSERT_EQ(FirstDifference(e.Shown(), e.Repainted()), "") << "key " << keys;
        // The rows placed anew lie where a whole layout puts them.
        const std::string partial = layout();
        t->Changed();
        e.Edit->EditData()->Format(false, true, false, 0, nullptr, false, true);
        ASSERT_EQ(partial, layout()) << "key " << keys;
        e.Settle();
    };
    const auto enter = [&] { key(Qt::Key_Return, QStringLiteral("\r")); };
    const auto back = [&] { key(Qt::Key_Backspace, QStringLiteral("\b")); };
    // Cells above, inside and below the spanning cell, and the spanning cell
    // itself; with the dotted grid of the editor, which stays where the
    // table's top is, and without it, when the rows below only move.
    for (const bool grid : {true, false}) {
        if (!grid) {
            t->Options |= rptoHideGridLines;
            e.Edit->Invalidate();
            e.Settle();
        }
        for (const auto& [row, col] : std::vector<std::pair<int, int>>{{6, 0}, {9, 1}, {8, 2}, {12, 1}}) {
            ASSERT_TRUE(t->EditCell(-1, row, col, true, false, true, false, false));
            e.Settle();
            for (int n = 0; n < 4 && !HasFatalFailure(); ++n)
                enter();
            key(Qt::Key_A, QStringLiteral("a"));
            for (int n = 0; n < 5 && !HasFatalFailure(); ++n)
                back();
            // A word growing past its column's width widens the column and
            // narrows the others, and shrinks back.
            for (int n = 0; n < 14 && !HasFatalFailure(); ++n)
                key(Qt::Key_W, QStringLiteral("w"));
            for (int n = 0; n < 14 && !HasFatalFailure(); ++n)
                back();
            if (HasFatalFailure()) return;
        }
    }
    EXPECT_EQ(keys, 304);
}

TEST(EditPaint, KeptMinimumWidthsEqualFreshOnesAfterEveryKey) {
    TRPStyle style;
    TEditorOnForm e(style, 380, 260, true);
    ASSERT_TRUE(e.Edit->LoadRTF(kPage));
    e.Edit->Format();
    int keys = 0, compared = 0;
    const auto check = [&] {
        ++keys;
        TRPEditRPData* d = e.Edit->EditData();
        const std::vector<int> kept = d->KeptMinWidths();
        if (kept.size() != static_cast<size_t>(d->GetItemCount())) return;
        for (int i = 0; i < d->GetItemCount(); ++i) {
            if (kept[static_cast<size_t>(i)] < 0) continue;
            // The head of a line section, followed by its other items.
            ASSERT_TRUE(d->IsFromNewLine(i)) << "key " << keys << " item " << i;
            for (int k = i + 1; k < d->GetItemCount() && !d->IsFromNewLine(k); ++k)
                ASSERT_EQ(kept[static_cast<size_t>(k)], -2) << "key " << keys << " item " << k;
            ASSERT_EQ(kept[static_cast<size_t>(i)], d->CalcParaMinWidth(i))
                << "key " << keys << " item " << i;
            ++compared;
        }
    };
    TKeyScript script(e, 7919);
    for (int step = 0; step < 40 && !HasFatalFailure(); ++step)
        script.Step(check);
    EXPECT_GT(keys, 150);
    EXPECT_GT(compared, 1000);
}

TEST(EditPaint, AWordGrowingPastTheWindowLaysOutEveryKindOfParagraphAsAWholeFormatDoes) {
    TEditFixture f(300, 200);
    TParaInfos& paras = f.Style->ParaStyles();
    paras.Add()->Alignment = rpaRight;   // 5
    paras.Add()->Alignment = rpaJustify; // 6
    paras.Add()->Options = rppaoNoWrap;  // 7
    TParaInfo* framed = paras.Add();     // 8
    framed->Background.Color = clYellow;
    framed->Border.Style = rpbSingle;
    paras.Add()->BiDiMode = rpbdRightToLeft; // 9
    AddNumberedList(*f.Style);
    f.Edit->Clear();
    const std::string longText = "ein Absatz mit so vielen Woertern, dass er umbricht";
    for (int para = 0; para <= 9; ++para) {
        if (para == 2 || para == 4) continue; // read-only and protected
        f.Edit->AddText("kurz", 0, para);
        // A paragraph that does not wrap is as wide as its text.
        f.Edit->AddText(para == 7 ? "kurz" : longText, 0, para);
    }
    AddListEntry(*f.Edit, "ein Eintrag der Liste, lang genug, dass er umbricht");
    AddListEntry(*f.Edit, "kurz");
    f.Edit->AddText("Wort", 0, 0);
    f.Edit->Format();
    const int item = f.Data()->GetItemCount() - 1;
    f.Caret(item, 3);
    // The word grows past the window and shrinks back below it.
    for (int key = 0; key < 80; ++key) {
        if (key < 40)
            f.Type("w");
        else
            f.Key(VK_BACK);
        const std::string partial = DumpLayout(*f.Data());
        const std::string caret = f.CaretPos();
        f.Edit->Format();
        ASSERT_EQ(partial, DumpLayout(*f.Data())) << "key " << key;
        f.Caret(item, std::stoi(caret.substr(caret.find(':') + 1)));
    }
    EXPECT_EQ(f.Edit->GetItemText(item), "Wort");
}

TEST(EditPaint, ABandOfTheWindowPaintedAloneShowsWhatAWholePaintShowsThere) {
    // Pages with framed paragraphs, tables, lists and pictures, at several
    // scroll positions: each band of rows or columns painted on its own (as
    // an uncovered part of the window is) gives the pixels of a whole paint,
    // frames whose edges reach into the band from paragraphs outside it
    // included.
    TRPStyle style;
    TEditorOnForm e(style, 380, 260, true);
    for (const char* page : {"Zqk1/ZqK1_1B.rtf", "Zqk2/ZqK2_1B.rtf", "Anleitung/ZqAL1.rtf"}) {
        e.Edit->Clear();
        ASSERT_TRUE(e.Edit->LoadRTF(std::string(PRAVOLIN_SOURCE_DIR "/data/dateien/") + page));
        e.Edit->Format();
        const int W = e.Edit->ClientWidth(), H = e.Edit->ClientHeight();
        // One picture for all bands: only the band is painted and compared,
        // so only the band is cleared (a picture of the window per band cost
        // most of the test's time in memory handed out and back).
        QImage part(W, H, QImage::Format_RGB32);
        for (int v = 0; v < 1200; v += 173) {
            e.Edit->SetVPosition(v, false);
            QImage whole;
            e.Edit->PaintTo(whole);
            ASSERT_EQ(whole.size(), part.size());
            ASSERT_EQ(whole.format(), part.format());
            const auto same = [&](const QRect& band) {
                const QRect in = band & QRect(0, 0, W, H);
                {
                    QPainter p(&part);
                    p.fillRect(in, Qt::magenta);
                    p.setClipRect(band);
                    e.Edit->PaintClient(p, QRegion(band));
                }
                ASSERT_EQ(FirstDifferenceIn(part, whole, in), "")
                    << page << " at " << e.Edit->VPos << ", " << band.x() << "," << band.y() << " "
                    << band.width() << "x" << band.height();
            };
            // Rows, and columns (the sides of a table, say).
            for (int y0 = 0; y0 < H && !HasFatalFailure(); y0 += 4)
                for (const int h : {2, 13, 40})
                    same(QRect(0, y0, W, h));
            for (int x0 = 0; x0 < W && !HasFatalFailure(); x0 += 5)
                for (const int w : {1, 9, 40})
                    same(QRect(x0, 0, w, H));
            if (HasFatalFailure()) return;
        }
    }
}

namespace {

// Whether the screen shows the caret: every pixel of its place is black.
bool CaretShown(const TEditorOnForm& E) {
    const TRect r = E.Edit->EditData()->CaretRect();
    if (r.Right <= r.Left) return false;
    const QImage shown = E.Shown(true);
    for (int y = std::max(r.Top, 0); y < r.Bottom && y < shown.height(); ++y)
        if (shown.pixel(r.Left, y) != qRgb(0, 0, 0)) return false;
    return true;
}

} // namespace

TEST(EditPaint, TheCaretShowsWithASelectionAndHidesWhileSomethingIsDraggedOver) {
    TRPStyle style;
    TEditorOnForm e(style, 300, 120, true);
    Load(*e.Edit, "Ein Satz zum Markieren\n");
    e.Key(Qt::Key_Home);
    EXPECT_TRUE(CaretShown(e));
    // Shift+Right selects, and the caret stands at the selection's end.
    e.Key(Qt::Key_Right, QString(), Qt::ShiftModifier);
    e.Key(Qt::Key_Right, QString(), Qt::ShiftModifier);
    ASSERT_TRUE(e.Edit->SelectionExists());
    EXPECT_EQ(e.Edit->EditData()->OffsetInCurItem(), 3);
    EXPECT_TRUE(CaretShown(e));
    // A drag over the text shows where it would land instead, also where
    // nothing may land; the caret is back when the drag leaves.
    e.Key(Qt::Key_Right);
    QMimeData text;
    text.setText(QStringLiteral("X"));
    const QPoint at = e.Edit->ClientWidget()->mapTo(e.Edit->Widget(), QPoint(150, 10));
    QDragEnterEvent enter(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(e.Edit->Widget(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    EXPECT_FALSE(CaretShown(e));
    style.ParaStyles().Add()->Options = rppaoReadOnly;
    e.Edit->EditData()->GetItem(0)->ParaNo = style.ParaStyles().Count() - 1;
    QDragMoveEvent move(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(e.Edit->Widget(), &move);
    EXPECT_FALSE(move.isAccepted());
    EXPECT_FALSE(CaretShown(e));
    QDragLeaveEvent leave;
    QApplication::sendEvent(e.Edit->Widget(), &leave);
    EXPECT_TRUE(CaretShown(e));
}

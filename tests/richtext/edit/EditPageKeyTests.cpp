// What a page key promises, checked after every press of PageDown and
// PageUp, with and without Shift, through the page texts, documents of tall
// things and documents of random making, in views of several heights: the
// view moves with the key by a screen at most, and on unless it stands at
// the end; a caret that moves goes with the key and its line shows, whole
// when it fits the screen and in part when it is taller.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QStringList>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "EditTestSupport.h"
#include "platform/Keys.h"
#include "platform/Pictures.h"
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RPTableInplace.h"
#include "richtext/model/RPDrawLines.h"
#include "richtext/rtf/RPRTFReaderProperties.h"
#include "support/FormDriver.h"

namespace {

// The caret and the view as the pupil sees them: where the caret stands
// (row and column of each cell it lies in, then item:offset), how many cells
// deep, its line's top and bottom in the client area, the view's offset,
// and whether anything is selected.
struct TSight {
    std::string Where;
    int Depth = 0, Top = 0, Bottom = 0, V = 0;
    bool Selected = false;
};

TSight SightOf(TCustomRichPadEdit* Edit) {
    TSight s;
    TCustomRichPadEdit* e = Edit;
    for (;;) {
        auto* t = dynamic_cast<TRPTableItemInfo*>(e->EditedCellItem);
        TRPTableInplaceEdit* cell = t ? t->InplaceEditor() : nullptr;
        if (!cell) break;
        s.Where += std::to_string(cell->Row) + "," + std::to_string(cell->Col) + " ";
        s.Top += cell->Top();
        ++s.Depth;
        e = cell;
    }
    TRPEditRPData* d = e->EditData();
    s.Where += std::to_string(d->CurItemNo()) + ":" + std::to_string(d->OffsetInCurItem());
    int first = 0, last = 0;
    d->GetLineBounds(d->CaretDrawItemNo, first, last);
    int top = d->DrawItem(first)->Top, bottom = top;
    for (int i = first; i <= last; ++i) {
        top = std::min(top, d->DrawItem(i)->Top);
        bottom = std::max(bottom, d->DrawItem(i)->Top + d->DrawItem(i)->Height);
    }
    s.Bottom = s.Top + bottom - d->GetVOffs();
    s.Top += top - d->GetVOffs();
    s.Selected = d->SelectionExists(false, true);
    s.V = Edit->EditData()->GetVOffs();
    return s;
}

// The caret's line shows on a screen H high: whole when it fits, else in
// part, as it does at the document's ends (Edge), where the view can go no further.
bool Shows(const TSight& S, int H, bool Edge) {
    const bool part = S.Top < H && S.Bottom > 0;
    return S.Bottom - S.Top <= H && !(Edge && part) ? S.Top >= 0 && S.Bottom <= H : part;
}

std::string Text(const TSight& S) {
    return "[" + S.Where + " line " + std::to_string(S.Top) + ".." + std::to_string(S.Bottom) + " v " +
           std::to_string(S.V) + "]";
}

// What a press that took the caret and the view from Before to After broke
// of a page key's promise, in a view H high; AtEnd: the view stands at the
// end (PageDown) or the start (PageUp) of the document. Empty when nothing.
std::string Broken(const TSight& Before, const TSight& After, bool Down, int H, bool AtEnd) {
    const int moved = Down ? After.V - Before.V : Before.V - After.V;
    const bool caretMoved = After.Where != Before.Where;
    std::string broken;
    if (moved < 0) broken += "the view went back; ";
    if (moved > H) broken += "the view went beyond a screen; ";
    if (moved == 0 && !caretMoved && !AtEnd) broken += "nothing moved; ";
    // Lines compared in the document: their place in the client area and the view's.
    if (caretMoved && After.Depth == Before.Depth &&
        (Down ? After.Top + After.V < Before.Top + Before.V : After.Top + After.V > Before.Top + Before.V))
        broken += "the caret went against the key; ";
    if (caretMoved && !Shows(After, H, AtEnd)) broken += "the caret's line does not show; ";
    return broken.empty() ? broken : broken + Text(Before) + " -> " + Text(After);
}

class PageKeys : public ::testing::Test {
protected:
    PageKeys() : f(500, 300) {
        f.Form->SetBounds(0, 0, 600, 800);
        TRPRTFReaderProperties* p = f.Edit->GetRTFReadProperties();
        p->TextStyleMode = rprsAddIfNeeded;
        p->ParaStyleMode = rprsAddIfNeeded;
        ShowAndActivate(f.Form.get());
    }
    TEditFixture f;

    int H() const { return f.Edit->ClientHeight(); }
    void Open(const QString& Path, int Height) {
        f.Edit->DestroyCellEditor();
        f.Edit->SetBounds(0, 0, 500, Height);
        f.Edit->Clear();
        ASSERT_TRUE(f.Edit->LoadRTF(Path.toStdString())) << Path.toStdString();
        Restart();
    }
    // The view at the top and the caret at the start, the keys at the editor.
    void Restart() {
        f.Edit->DestroyCellEditor();
        f.Edit->Format();
        f.Edit->SetFocus();
        ProcessEvents();
        f.Caret(0, f.Data()->GetFirstOffsetOfItem(0));
        f.Edit->ScrollTo(0);
        ProcessEvents();
    }
    TSight Press(uint16_t Key, Qt::KeyboardModifiers Mods) {
        PressKeyAtFocus(Key, Mods);
        ProcessEvents();
        return SightOf(f.Edit);
    }
    bool AtEnd(bool Down) const {
        TRichPadEdit* e = f.Edit;
        return Down ? e->VPos >= e->VScrollMax - (e->VScrollPage - 1) ||
                          e->EditData()->GetVOffs() + e->ClientHeight() >= e->EditData()->DocumentHeight
                    : e->EditData()->GetVOffs() == 0;
    }
    // PageDown until three presses in a row move nothing, then PageUp the
    // same way: the promises broken on the way, empty when none. The walks
    // end at the document's end and start.
    std::string Walk(Qt::KeyboardModifiers Mods) {
        std::string broken;
        for (const bool down : {true, false}) {
            TSight last = SightOf(f.Edit);
            for (int press = 0, still = 0; press < 2000 && still < 3; ++press) {
                const TSight now = Press(down ? VK_NEXT : VK_PRIOR, Mods);
                const std::string b = Broken(last, now, down, H(), AtEnd(down));
                if (!b.empty() && broken.size() < 2000)
                    broken += std::string(down ? "PageDown " : "PageUp ") + std::to_string(press + 1) + ": " +
                              b + "\n";
                still = now.V == last.V && now.Where == last.Where ? still + 1 : 0;
                last = now;
            }
            if (!AtEnd(down))
                broken += std::string("the view stopped short of the ") + (down ? "end\n" : "start\n");
        }
        return broken;
    }
    // Every promise kept on the way down and back, and from the middle: with
    // the caret in the middle of the document and the view at its top, as
    // after the wheel, PageDown moves the caret beyond where it stood and shows it.
    void ExpectPromisesKept(const std::string& Name, int Height) {
        for (const auto mods : {Qt::NoModifier, Qt::ShiftModifier}) {
            SCOPED_TRACE(Name + " at " + std::to_string(Height) + (mods ? " with Shift" : ""));
            Restart();
            EXPECT_EQ(Walk(mods), "");
            EXPECT_FALSE(SightOf(f.Edit).Selected) << Text(SightOf(f.Edit));
        }
        Restart();
        const int middle = f.Data()->GetItemCount() / 2;
        f.Caret(middle, f.Data()->GetFirstOffsetOfItem(middle));
        f.Edit->ScrollTo(0);
        ProcessEvents();
        const TSight before = SightOf(f.Edit);
        if (before.Top < H()) return;
        const TSight after = Press(VK_NEXT, Qt::NoModifier);
        SCOPED_TRACE(Name + " at " + std::to_string(Height) + " from the middle: " + Text(before) + " -> " +
                     Text(after));
        EXPECT_NE(after.Where, before.Where);
        EXPECT_GE(after.Top + after.V, before.Top + before.V);
        // A line within a scroll unit of the screen's height may show cut.
        EXPECT_TRUE(Shows(after, H(), after.Bottom - after.Top > H() - f.Edit->VSmallStep));
    }
};

using TPick = std::function<int(int)>;

std::unique_ptr<TGraphic> Picture(int W, int H) {
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return std::make_unique<TBitmap>(image);
}

// A table of rows short and tall: cells of a word or many lines, a picture
// far taller than the screen now and then, and (Depth allowing) a table.
std::unique_ptr<TRPTableItemInfo> RandomTable(TCustomRPData* Doc, const TPick& Pick, int Depth) {
    auto t = TRPTableItemInfo::CreateEx(1 + Pick(6), 1 + Pick(3), Doc);
    for (int r = 0; r < t->Rows->RowCount(); ++r)
        for (int c = 0; c < t->Rows->GetColCount(); ++c) {
            TRPTableCellData* cell = t->GetCell(r, c);
            cell->Clear();
            switch (Pick(8)) {
            case 0:
                cell->AddPicture("", Picture(40 + Pick(100), 20 + Pick(Pick(2) ? 1200 : 200)), 0, 0,
                                 TRPTag{});
                break;
            case 1:
                if (Depth > 0) {
                    cell->AddItem(std::string(), RandomTable(cell, Pick, Depth - 1));
                    break;
                }
                [[fallthrough]];
            default:
                for (int i = 0, n = 1 + Pick(Pick(5) == 0 ? 40 : 3); i < n; ++i)
                    cell->AddNL("Zelle " + std::to_string(r) + " " + std::to_string(i), 0, 0);
            }
        }
    return t;
}

// A document of Seed's making, any of whose parts may start or end it:
// lines and paragraphs long enough to wrap, pictures up to far taller than
// the screen, lines in a font taller than the screen, paragraphs spaced far
// apart, and tables.
void RandomDocument(TEditFixture& F, unsigned Seed, int Tall, int Spaced) {
    std::mt19937 rng(Seed);
    const TPick pick = [&](int N) { return static_cast<int>(rng() % static_cast<unsigned>(N)); };
    F.Edit->DestroyCellEditor();
    F.Edit->Clear();
    TRPEditRPData* d = F.Data();
    for (int part = 0, parts = 3 + pick(10); part < parts; ++part) {
        switch (pick(7)) {
        case 0:
            d->AddPicture("", Picture(30 + pick(300), 10 + pick(pick(2) ? 1500 : 150)), 0,
                          static_cast<uint8_t>(pick(2)), TRPTag{});
            break;
        case 1:
            d->AddNL("Ag", Tall, 0);
            break;
        case 2:
            d->AddNL("Abstand", 0, Spaced);
            break;
        case 3:
        case 4:
            d->AddItem(std::string(), RandomTable(d, pick, 2));
            break;
        default:
            for (int i = 0, n = 1 + pick(20); i < n; ++i)
                d->AddNL(std::string(static_cast<size_t>(1 + pick(pick(4) ? 10 : 120)), 'a' + pick(26)) +
                             " Zeile",
                         0, 0);
        }
    }
}

QStringList Documents(const QString& Folder) {
    QStringList found;
    QDir dir(Folder);
    for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        found += Documents(dir.filePath(sub));
    for (const QString& file : dir.entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name))
        found += dir.filePath(file);
    return found;
}

} // namespace

TEST_F(PageKeys, KeepTheirPromiseOnEveryPageText) {
    const QStringList pages = Documents(QStringLiteral(PRAVOLIN_SOURCE_DIR "/data/dateien"));
    ASSERT_EQ(pages.size(), 39);
    for (const QString& page : pages)
        for (const int height : {120, 300}) {
            ASSERT_NO_FATAL_FAILURE(Open(page, height));
            ExpectPromisesKept(QDir(page).dirName().toStdString(), height);
        }
}

// Pictures, lines, rows, cells and spaces taller than the screen, at the
// document's start, its end and in cells of tables, tables in cells, and a
// cell taller than its editor's window.
TEST_F(PageKeys, KeepTheirPromiseThroughWhatIsTallerThanTheScreen) {
    const QStringList documents = Documents(QStringLiteral(PRAVOLIN_SOURCE_DIR "/tests/richtext/edit/tall"));
    ASSERT_GE(documents.size(), 15);
    for (const QString& document : documents)
        for (const int height : {75, 200, 500}) {
            ASSERT_NO_FATAL_FAILURE(Open(document, height));
            ExpectPromisesKept(QDir(document).dirName().toStdString(), height);
        }
}

// Documents of random making in views of two heights. The eighteenth
// starts with a picture as high as the lower view, which the document's
// margin keeps from showing whole there: PageUp with Shift never came back to it.
TEST_F(PageKeys, KeepTheirPromiseInDocumentsOfRandomMaking) {
    TFontInfo* tall = f.Style->TextStyles().Add();
    tall->FontName = "Arial";
    tall->Size = 200;
    TParaInfo* spaced = f.Style->ParaStyles().Add();
    spaced->SpaceBefore = 700;
    spaced->SpaceAfter = 400;
    const int tallNo = f.Style->TextStyles().Count() - 1, spacedNo = f.Style->ParaStyles().Count() - 1;
    for (unsigned seed = 1; seed <= 30; ++seed) {
        const int height = seed % 2 ? 90 : 260;
        f.Edit->SetBounds(0, 0, 400, height);
        RandomDocument(f, seed, tallNo, spacedNo);
        Restart();
        ExpectPromisesKept("seed " + std::to_string(seed), height);
    }
}

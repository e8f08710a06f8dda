// Every screen of a view paints what the whole document shows there: a view
// of one screen, scrolled from the top to the end by a step, against a view
// tall enough to paint the whole document at once (both of the same width and
// without scroll bars). Besides each whole screen, the bands that scrolling
// by the step uncovers at its top and bottom are painted alone, as a paint
// message after a scroll paints them. The documents hold text of mixed sizes
// (a tall word on a line of small runs sits far above them), lines closer than
// single spacing, paragraph frames and backgrounds, pictures and a table.
#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/Forms.h"
#include "richtext/edit/RPTable.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFReaderProperties.h"
#include "richtext/view/RichPad.h"

namespace {

// A view that paints a band of its client area alone.
class TBandView : public TRichPad {
public:
    using TRichPad::TRichPad;
    void PaintBand(QImage& Image, int Top, int Bottom) {
        Image = QImage(ClientWidth(), ClientHeight(), QImage::Format_RGB32);
        Image.fill(Qt::white);
        TCanvas c(&Image);
        Paint(c, Rect(0, Top, ClientWidth(), Bottom));
        c.Release();
    }
};

class ScreenPaint : public ::testing::Test {
protected:
    std::unique_ptr<TRPStyle> Style = std::make_unique<TRPStyle>();
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);

    void SetUp() override {
        RPRegisterTableItem();
        Form->SetBounds(0, 0, 4000, 40000);
    }
    TBandView* Load(const char* Name, int Width, int Height, int ScrollUnit) {
        auto* v = new TBandView(Form.get());
        v->SetParent(Form.get());
        v->SetVScrollVisible(false);
        v->SetHScrollVisible(false);
        v->SetBounds(0, 0, Width, Height);
        v->SetStyle(Style.get());
        TRPRTFReaderProperties* p = v->GetRTFReadProperties();
        p->UnicodeMode = rpruMixed;
        p->TextStyleMode = rprsAddIfNeeded;
        p->ParaStyleMode = rprsAddIfNeeded;
        const std::string file = PRAVOLIN_SOURCE_DIR "/tests/richtext/view/screens/" + std::string(Name);
        EXPECT_EQ(v->RPData()->LoadRTF(file), 0) << file;
        if (ScrollUnit > 0) v->SetVSmallStep(ScrollUnit);
        v->Format();
        EXPECT_TRUE(ScrollUnit == 0 || v->VSmallStep == ScrollUnit);
        return v;
    }

    // The scroll positions (every Step pixels from the top, the end, and
    // with a scroll unit of a pixel where lines meet the screen's edges) at
    // which a screen of the document Name, Width pixels wide, differs from
    // the whole picture; with Shift the whole picture's rows are taken that
    // many rows lower. ScrollUnit: the view's scroll unit in pixels (its own
    // when 0). Screens counts the screens compared.
    std::vector<int> DifferingScreens(const char* Name, int Width, int Step, int ScrollUnit, int& Screens,
                                      int Shift = 0) {
        TBandView* view = Load(Name, Width, 404, ScrollUnit);
        const int docH = view->GetDocumentHeight();
        TBandView* tall = Load(Name, Width, docH + 4, ScrollUnit);
        const int w = view->ClientWidth(), h = view->ClientHeight();
        EXPECT_EQ(tall->GetDocumentHeight(), docH);
        EXPECT_EQ(tall->ClientWidth(), w);
        EXPECT_GT(docH, 3 * h) << "a document of a few screens at least";
        QImage whole, screen, band;
        tall->PaintTo(whole);
        std::vector<int> ys;
        for (int y = 0; y + h < docH; y += Step)
            ys.push_back(y);
        ys.push_back(docH - h);
        // Where lines meet the screen's edges: a screen whose last row is the
        // first row of a line's tallest item or the row above it, and one
        // whose first row is the last row of a line's items or the row below.
        const TCustomRPFormattedData* doc = view->RPData();
        for (int i = 0; i < doc->DrawItemCount();) {
            int top = doc->DrawItem(i)->Top, bottom = top;
            int k = i;
            do {
                const TRPDrawLineInfo* d = doc->DrawItem(k);
                top = std::min(top, d->Top);
                bottom = std::max(bottom, d->Top + d->Height);
            } while (++k < doc->DrawItemCount() && !doc->DrawItem(k)->FromNewLine);
            for (int y : {top + 1 - h, top - h, bottom - 1, bottom})
                if (ScrollUnit == 1 && y > 0 && y + h < docH) ys.push_back(y);
            i = k;
        }
        std::vector<int> differing;
        Screens = 0;
        for (int y : ys) {
            view->ScrollTo(y);
            const int at = view->VPos * view->VSmallStep;
            EXPECT_EQ(at, y / view->VSmallStep * view->VSmallStep);
            if (at + Shift + h > whole.height()) continue;
            ++Screens;
            const QImage part = whole.copy(0, at + Shift, w, h);
            view->PaintTo(screen);
            bool same = screen == part;
            // The bands a scroll by Step uncovers, down and up.
            const int strip = std::min(Step, h);
            view->PaintBand(band, h - strip, h);
            same = same && band.copy(0, h - strip, w, strip) == part.copy(0, h - strip, w, strip);
            view->PaintBand(band, 0, strip);
            same = same && band.copy(0, 0, w, strip) == part.copy(0, 0, w, strip);
            if (!same) differing.push_back(at);
        }
        delete tall;
        delete view;
        return differing;
    }
    void ExpectEveryScreenAsWhole(const char* Name, int Width, int Step, int ScrollUnit, int MinScreens) {
        int screens = 0;
        const std::vector<int> differing = DifferingScreens(Name, Width, Step, ScrollUnit, screens);
        EXPECT_GE(screens, MinScreens) << Name << " at " << Width;
        EXPECT_TRUE(differing.empty())
            << Name << " at " << Width << ": " << differing.size() << " of " << screens
            << " screens differ, the first scrolled to " << (differing.empty() ? -1 : differing.front());
    }
};

} // namespace

// On every line a small run, a word of 80 points and small runs again: the
// small runs' tops lie far below the word's, which reaches into a screen
// ending between them, and the lines below reach up into it with their glyphs.
TEST_F(ScreenPaint, ATallWordAfterSmallRunsIsPaintedWhereItsLineStartsBelowTheScreen) {
    // As the view scrolls itself: by ten pixels.
    ExpectEveryScreenAsWhole("mixed_sizes_lines.rtf", 304, 10, 0, 300);
    ExpectEveryScreenAsWhole("mixed_sizes_lines.rtf", 204, 1 + 12, 1, 250);
}

// Paragraphs spaced at 75 and 50 percent whose lines mix small text, tall
// words and a picture (framed or shaded), and paragraphs whose last line, a
// huge word at half spacing, reaches down over several short paragraphs.
TEST_F(ScreenPaint, LinesCloserThanSingleSpacingArePaintedWhereverTheyReach) {
    ExpectEveryScreenAsWhole("close_spacing.rtf", 204, 11, 1, 150);
    ExpectEveryScreenAsWhole("close_spacing.rtf", 504, 17, 1, 100);
}

// Frames of single, double and triple lines set off from their text, shaded
// paragraphs at close spacing whose tall words overlap the paragraph above,
// pictures taller than their lines' text, and a table of such cells whose
// borders, two pixels wide and spaced by less, stand a pixel above its box.
TEST_F(ScreenPaint, FramesBackgroundsPicturesAndTablesArePaintedWhereverTheyReach) {
    ExpectEveryScreenAsWhole("frames_pictures_tables.rtf", 204, 7, 1, 150);
    ExpectEveryScreenAsWhole("frames_pictures_tables.rtf", 504, 13, 1, 60);
}

// The comparison finds a screen that is a pixel off: against the whole
// picture one row lower, every screen differs.
TEST_F(ScreenPaint, ScreensOnePixelOffAllDiffer) {
    int screens = 0;
    const std::vector<int> differing = DifferingScreens("mixed_sizes_lines.rtf", 304, 47, 0, screens, 1);
    EXPECT_GT(screens, 50);
    EXPECT_EQ(static_cast<int>(differing.size()), screens);
}

// The main window: title panels, the contents tree, its styling and font-size
// button, the bottom bar and the one closing path.
#include "platform/Application.h"
#include "ShellTestHelfer.h"
#include "shell/UKxNav.h"
#include "shell/UZq.h"
#include "support/FormDriver.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// The main window with the entry opening recorded instead of performed.
class ProbeZq : public TZq {
public:
    explicit ProbeZq(TComponent* owner) : TZq(owner) {}
    void EintragOeffnen(int Index) override { opened.push_back(Index); }
    bool BeendenErlaubt() override {
        ++asked;
        return allowClose;
    }
    std::vector<int> opened;
    int asked = 0;
    bool allowClose = true;
};

struct MainWindow : ::testing::Test {
    ScreenScope screen{1024, 768};
    ProbeZq* zq = new ProbeZq(Application());
    ~MainWindow() override { delete zq; }
};

} // namespace

TEST_F(MainWindow, TitlePanelsAndButtons) {
    EXPECT_EQ(zq->Caption(), "Pravolin - Grundschule");
    EXPECT_EQ(CaptionOf(zq, "B_PanelT1"), "Pravolin");
    EXPECT_EQ(CaptionOf(zq, "B_PanelT2"), "Grundschule");
    EXPECT_EQ(CaptionOf(zq, "B_PanelVzText"), "  Inhaltsverzeichnis");
    EXPECT_EQ(zq->B_PanelVzText->Alignment(), taLeftJustify);
    EXPECT_EQ(ColorOf(zq, "B_PanelTitel"), 11312966);
    EXPECT_EQ(ColorOf(zq, "B_PanelT2"), 11312966);
    EXPECT_EQ(ColorOf(zq, "B_PanelVzText"), 6127269);
    EXPECT_EQ(FontColorOf(zq, "B_PanelT1"), clYellow);
    EXPECT_EQ(zq->B_PanelT1->Font()->Height(), -32);
    EXPECT_EQ(zq->B_PanelVzText->Font()->Height(), -24);
    EXPECT_EQ(zq->Font()->Name(), "Times New Roman");
    EXPECT_EQ(zq->Font()->Height(), -21);
    EXPECT_EQ(zq->SpeedButton1->Hint(), "Schriftgröße des Inhaltsverzeichnises ändern");
    EXPECT_EQ(zq->SpeedButton2->Hint(), "Bedienungsanleitung");
    EXPECT_EQ(zq->SpeedButton2->BoundsRect(), Bounds(232, 5, 23, 22));
    EXPECT_EQ(zq->SpeedButton1->Left(), 200);
    EXPECT_EQ(zq->SpeedButton1->Cursor(), crHandPoint);
    EXPECT_EQ(zq->SpeedButton2->Cursor(), crHandPoint);
    // Their pictures come from the resources; a wrong name leaves them blank.
    EXPECT_EQ(zq->SpeedButton1->Glyph()->Width(), 18);
    EXPECT_EQ(zq->SpeedButton2->Glyph()->Width(), 18);
    EXPECT_EQ(CaptionOf(zq, "BtnKapitelauswahl"), "Kapitelauswahl");
    EXPECT_EQ(zq->BtnKapitelauswahl->Hint(), "Mit Schablone drucken");
    EXPECT_EQ(zq->BtnKapitelauswahl->BoundsRect(), Bounds(5, 4, 294, 60));
    EXPECT_EQ(CaptionOf(zq, "ProgrammEnde"), "Programm beenden");
    EXPECT_EQ(zq->ProgrammEnde->Hint(), "Aufgabenblatt beenden");
    EXPECT_EQ(zq->ProgrammEnde->BoundsRect(), Bounds(11, 4, 294, 60));
    EXPECT_TRUE(zq->ProgrammEnde->Flat());
    EXPECT_EQ(zq->Shape1->Brush()->Color(), clSilver);
}

TEST_F(MainWindow, MaximisedLayoutOfThePanels) {
    ShowAndActivate(zq);
    EXPECT_EQ(zq->WindowState(), wsMaximized);
    // A maximised window's client area is the whole screen.
    EXPECT_EQ(zq->ClientWidth(), 1024);
    EXPECT_EQ(zq->ClientHeight(), 768);
    EXPECT_EQ(zq->Widget()->width(), 1024);
    EXPECT_EQ(zq->Widget()->height(), 768);
    const int cw = zq->ClientWidth(), ch = zq->ClientHeight();
    EXPECT_EQ(zq->B_PanelTitel->BoundsRect(), Rect(0, 0, cw, 81));
    EXPECT_EQ(zq->B_PanelVzText->BoundsRect(), Rect(0, 81, cw, 113));
    EXPECT_EQ(zq->B_PanelButtons->BoundsRect(), Rect(0, ch - 68, cw, ch));
    EXPECT_EQ(zq->B_PanelVZ->BoundsRect(), Rect(0, 113, cw, ch - 68));
    EXPECT_EQ(zq->B_PanelButtonende->Width(), 310);
    EXPECT_EQ(zq->B_PanelButtonende->Left() + 310, cw - 1); // inside the bar's bevel
    EXPECT_EQ(zq->TreeView1->Width(), cw - 2);
    EXPECT_EQ(zq->B_PanelT1->Height(), 41);
    EXPECT_EQ(zq->B_PanelT2->Top(), zq->B_PanelT1->Top() + 41);
    zq->Close();
}

TEST_F(MainWindow, TreeHoldsTheFiftyOneNodes) {
    TTreeNodes* items = zq->TreeView1->Items();
    ASSERT_EQ(items->Count(), 51);
    EXPECT_EQ(items->Item(0)->Text(), "1. Kapitel : Natürliche Zahlen");
    EXPECT_EQ(items->Item(8)->Text(), "1.2.2 Schätzen, runden, rechnen ");
    EXPECT_EQ(items->Item(9)->Text(), "1.2.3 Schätzen, runden, rechnen  II");
    EXPECT_EQ(items->Item(12)->Text(), "1.3.2 Die schriftliche Subtraktion");
    EXPECT_EQ(items->Item(22)->Text(), "2. Kapitel : Größen");
    EXPECT_EQ(items->Item(33)->Text(), "2.4 Gewichte");
    EXPECT_EQ(items->Item(36)->Text(), "2.5 Geldwerte ");
    EXPECT_EQ(items->Item(41)->Text(), "3. Kapitel : Geometrie");
    EXPECT_EQ(items->Item(50)->Text(), "3.2.4 Vom Würfelnetz zum Würfel");
    int perLevel[3] = {0, 0, 0};
    for (int i = 0; i < items->Count(); ++i) {
        TTreeNode* n = items->Item(i);
        EXPECT_EQ(n->AbsoluteIndex(), i);
        ++perLevel[n->Level()];
        // Every number starts with its parent's number.
        if (n->Parent()) {
            EXPECT_TRUE(n->Text().startsWith(n->Parent()->Text().section(' ', 0, 0)))
                << n->Text().toStdString();
        }
    }
    EXPECT_EQ(perLevel[0], 3);
    EXPECT_EQ(perLevel[1], 12);
    EXPECT_EQ(perLevel[2], 36);
    EXPECT_EQ(items->Item(12)->Parent(), items->Item(10));
    EXPECT_EQ(items->Item(40)->Parent(), items->Item(39));

    TTreeView* t = zq->TreeView1;
    EXPECT_EQ(t->Cursor(), crHandPoint);
    EXPECT_TRUE(t->ReadOnly());
    EXPECT_TRUE(t->AutoExpand());
    EXPECT_FALSE(t->ShowButtons());
    EXPECT_EQ(t->Indent(), 19);
    EXPECT_EQ(t->Font()->Name(), "Arial");
    EXPECT_EQ(t->Font()->Color(), clYellow);
    EXPECT_EQ(t->Font()->Height(), -19);
    EXPECT_EQ(t->Align(), alClient);
    EXPECT_EQ(t->Parent(), zq->B_PanelVZ);
}

TEST_F(MainWindow, ActivationStylesTheTreeAndTheButtonSwitchesItsSize) {
    zq->TreeView1->Font()->SetSize(30);
    zq->Baumschriftgroesse = 12;
    ShowAndActivate(zq);
    TTreeView* t = zq->TreeView1;
    EXPECT_EQ(zq->Baumschriftgroesse, 14);
    EXPECT_EQ(t->Color(), 14651722);
    EXPECT_EQ(GetRValue(t->Color()), 74);
    EXPECT_EQ(GetBValue(t->Color()), 223);
    EXPECT_EQ(t->Font()->Color(), 65535);
    EXPECT_EQ(t->Font()->Name(), "Arial");
    EXPECT_EQ(t->Font()->Size(), 14);

    const int expected[] = {12, 14, 12};
    for (int size : expected) {
        MouseClick(zq->SpeedButton1);
        EXPECT_EQ(zq->Baumschriftgroesse, size);
        EXPECT_EQ(t->Font()->Size(), size);
        EXPECT_EQ(t->Color(), 14651722);
    }
    // A modal form closing in between does not activate the window again.
    TForm child(nullptr);
    RunModal(&child, [](TForm* f) { f->Close(); });
    ProcessEvents();
    EXPECT_EQ(zq->Baumschriftgroesse, 12);
    zq->Close();
}

TEST_F(MainWindow, ActivationStartsTheMasterLogWithItsHeading) {
    TKxNav* vorher = KxNav;
    KxNav = new TKxNav(nullptr);
    KxNav->Logtext->AddText("alt", 0, 0);
    KxNav->LogGeaendert = true;
    ShowAndActivate(zq);
    EXPECT_EQ(LogZeilen(KxNav->Logtext),
              (QStringList{QStringLiteral("Logbuch: Pravolin - Grundschule"), QString(80, u'*')}));
    EXPECT_FALSE(KxNav->LogGeaendert);
    zq->Close();
    delete KxNav;
    KxNav = vorher;
}

TEST_F(MainWindow, DoubleClickHandsTheSelectedIndexOn) {
    zq->TreeView1->OnDblClick(zq->TreeView1); // nothing selected: nothing opens
    EXPECT_TRUE(zq->opened.empty());
    zq->TreeView1->SetSelected(zq->TreeView1->Items()->Item(22));
    zq->TreeView1->OnDblClick(zq->TreeView1);
    zq->TreeView1->SetSelected(zq->TreeView1->Items()->Item(50));
    zq->TreeView1->OnDblClick(zq->TreeView1);
    EXPECT_EQ(zq->opened, (std::vector<int>{22, 50}));
}

TEST_F(MainWindow, CloseBoxAndProgrammBeendenTakeTheSamePath) {
    ShowAndActivate(zq);
    zq->allowClose = false;
    ClickByName(zq, "ProgrammEnde");
    EXPECT_TRUE(zq->Visible());
    QCloseEvent box;
    QApplication::sendEvent(zq->Widget(), &box);
    EXPECT_TRUE(zq->Visible());
    EXPECT_EQ(zq->asked, 2);

    zq->allowClose = true;
    ClickByName(zq, "ProgrammEnde");
    EXPECT_FALSE(zq->Visible());
    EXPECT_EQ(zq->asked, 3);
}

TEST(MainWindowBase, ClosesWithoutAQuestionToday) {
    TInhaltsverzeichnisX x(nullptr);
    EXPECT_TRUE(x.BeendenErlaubt());
    x.EintragOeffnen(-1); // nothing in the base
    EXPECT_EQ(x.B_PanelT2->Caption(), "");
}

TEST_F(MainWindow, PaintsTheColoursItKeeps) {
    ShowAndActivate(zq);
    QImage shot = zq->Widget()->grab().toImage();
    QDir().mkpath(PRAVOLIN_TEST_OUTPUT);
    shot.save(QStringLiteral(PRAVOLIN_TEST_OUTPUT "/main_window.png"));
    ASSERT_EQ(shot.width(), zq->ClientWidth());
    EXPECT_EQ(FromQColor(shot.pixelColor(600, 20)), 11312966);  // title, right of its text
    EXPECT_EQ(FromQColor(shot.pixelColor(600, 95)), 6127269);   // contents heading
    EXPECT_EQ(FromQColor(shot.pixelColor(900, 400)), 14651722); // tree background
    zq->Close();
}

// Forms: activation, closing paths, modal results, layout, scaling, ownership,
// waits, timers, key injection and dialogs.
#include "platform/Application.h"
#include "platform/ControlsExt.h"
#include "platform/ControlsRich.h"
#include "platform/ControlsStd.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/Keys.h"
#include "platform/Runtime.h"
#include "platform/Timer.h"
#include "platform/Wait.h"
#include "support/FormDriver.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<TForm> makeForm() {
    auto f = std::make_unique<TForm>(nullptr);
    f->SetClientWidth(400);
    f->SetClientHeight(300);
    return f;
}

} // namespace

TEST(FormLifecycle, ActivationRunsOncePerShowingAndNotAfterModalChild) {
    auto parent = makeForm();
    auto child = makeForm();
    int activations = 0, childActivations = 0;
    child->OnActivate = [&](TObject*) {
        ++childActivations;
        child->Close();
    };
    parent->OnActivate = [&](TObject*) {
        ++activations;
        if (activations == 1) {
            EXPECT_EQ(child->ShowModal(), mrCancel);
        }
    };
    EXPECT_FALSE(parent->Visible());
    ShowAndActivate(parent.get());
    ProcessEvents();
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(childActivations, 1);
    EXPECT_TRUE(parent->Visible());

    parent->Close();
    EXPECT_FALSE(parent->Visible());
    ShowAndActivate(parent.get());
    EXPECT_EQ(activations, 2);
    parent->Close();
}

TEST(FormLifecycle, OnCloseRunsOnEveryClosePath) {
    auto f = makeForm();
    auto* ok = new TButton(f.get());
    ok->SetParent(f.get());
    ok->SetModalResult(mrOk);
    int closes = 0;
    f->OnClose = [&](TObject*, TCloseAction&) { ++closes; };

    ShowAndActivate(f.get());
    f->Close();
    EXPECT_EQ(closes, 1);

    ShowAndActivate(f.get());
    QCloseEvent box;
    QApplication::sendEvent(f->Widget(), &box); // the close box
    EXPECT_EQ(closes, 2);
    EXPECT_FALSE(f->Visible());

    EXPECT_EQ(RunModal(f.get(), [&](TForm*) { ok->Click(); }), mrOk);
    EXPECT_EQ(closes, 3);

    EXPECT_EQ(RunModal(f.get(), [&](TForm* form) { form->SetModalResult(mrYes); }), mrYes);
    EXPECT_EQ(closes, 4);
}

TEST(FormLifecycle, CloseQueryAndCaNoneKeepTheFormOpen) {
    auto f = makeForm();
    bool allow = false;
    int closes = 0;
    f->OnCloseQuery = [&](TObject*, bool& can) { can = allow; };
    f->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    ShowAndActivate(f.get());
    f->Close();
    EXPECT_TRUE(f->Visible());
    EXPECT_EQ(closes, 0);

    int attempts = 0;
    int result = RunModal(f.get(), [&](TForm* form) {
        form->Close(); // refused
        QTimer::singleShot(0, qApp, [&, form] { // runs after the outer lambda returned
            ++attempts;
            allow = true;
            form->Close();
        });
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(attempts, 1);
    EXPECT_EQ(closes, 1);

    allow = true;
    f->OnClose = [&](TObject*, TCloseAction& a) {
        ++closes;
        a = caNone;
    };
    ShowAndActivate(f.get());
    f->Close();
    EXPECT_TRUE(f->Visible());
    f->OnClose = nullptr;
    f->Close();
    EXPECT_FALSE(f->Visible());
}

TEST(FormLifecycle, ClickRunsHandlerOfHiddenAndDisabledButtons) {
    auto f = makeForm();
    auto* b = new TButton(f.get());
    b->SetParent(f.get());
    int clicks = 0;
    b->OnClick = [&](TObject* s) {
        EXPECT_EQ(s, b);
        ++clicks;
    };
    b->SetVisible(false);
    b->SetEnabled(false);
    b->Click();
    EXPECT_EQ(clicks, 1);
    // A pupil cannot click a disabled button.
    b->SetVisible(true);
    ShowAndActivate(f.get());
    MouseClick(b);
    EXPECT_EQ(clicks, 1);
    b->SetEnabled(true);
    MouseClick(b);
    EXPECT_EQ(clicks, 2);
    f->Close();
}

TEST(FormLifecycle, FormClosedDuringAWaitStaysAliveUntilTheHandlerReturns) {
    auto* f = new TForm(Application());
    bool waitResult = true;
    bool aliveAfterWait = false;
    std::weak_ptr<void> token = f->AliveToken();
    f->OnActivate = [&](TObject*) {
        QTimer::singleShot(20, qApp, [f] {
            f->Close();
            f->Release();
        });
        waitResult = WaitResponsive(60000, f);
        aliveAfterWait = !token.expired();
    };
    EXPECT_EQ(f->ShowModal(), mrCancel);
    EXPECT_FALSE(waitResult); // ended with the form, not after its minute
    EXPECT_TRUE(aliveAfterWait);
    EXPECT_FALSE(token.expired());
    ProcessEvents();
    EXPECT_TRUE(token.expired()); // released once nothing of it runs
}

TEST(FormLifecycle, WaitWithoutCloseRunsItsTime) {
    auto f = makeForm();
    uint32_t start = GetTickCount();
    EXPECT_TRUE(WaitResponsive(30, f.get()));
    EXPECT_GE(GetTickCount() - start, 30u);
}

TEST(FormLifecycle, TimersStopWhenTheirFormCloses) {
    auto f = makeForm();
    auto* t = new TTimer(f.get());
    t->SetInterval(5);
    int ticks = 0;
    t->OnTimer = [&](TObject*) { ++ticks; };
    ShowAndActivate(f.get());
    for (int i = 0; i < 6000 && ticks == 0; ++i)
        WaitResponsive(10);
    EXPECT_GT(ticks, 0);
    f->Close();
    EXPECT_FALSE(t->Enabled());
    int after = ticks;
    WaitResponsive(40);
    EXPECT_EQ(ticks, after);
}

TEST(FormLifecycle, PositionAndMaximisedUseTheScreen) {
    ScreenScope screen(1024, 768);
    auto f = makeForm();
    f->SetBorderStyle(bsSingle);
    f->SetBounds(0, 0, 500, 400);
    EXPECT_EQ(f->ClientWidth(), 500 - FormFrameWidth);
    f->SetPosition(poScreenCenter);
    ShowAndActivate(f.get());
    EXPECT_EQ(f->Left(), 262);
    EXPECT_EQ(f->Top(), 184);
    f->Close();

    // Moving a form keeps its outer size.
    f->SetBounds(0, 0, 1024, 715);
    f->SetLeft(10);
    f->SetTop(3);
    EXPECT_EQ(f->Width(), 1024);
    EXPECT_EQ(f->Height(), 715);
    EXPECT_EQ(f->Top(), 3);

    auto m = makeForm();
    auto* top = new TPanel(m.get());
    top->SetParent(m.get());
    top->SetAlign(alClient);
    m->SetWindowState(wsMaximized);
    ShowAndActivate(m.get());
    // The client area fills the screen, the frame lies beyond it.
    EXPECT_EQ(m->ClientWidth(), 1024);
    EXPECT_EQ(m->ClientHeight(), 768);
    EXPECT_EQ(m->Left(), 0);
    EXPECT_EQ(m->Widget()->size(), QSize(1024, 768));
    EXPECT_EQ(top->Width(), m->ClientWidth());
    m->Close();
}

// A form shown modally belongs to the form in front: the window system keeps
// it above that form (of whichever program part it comes from) and hands it
// the focus; once closed it belongs to nobody again.
TEST(FormLifecycle, AModalFormBelongsToTheFormInFront) {
    auto parent = makeForm();
    auto child = makeForm();
    auto grandchild = makeForm();
    QWindow* childOwner = nullptr;
    QWindow* grandchildOwner = nullptr;
    Qt::WindowType childType = Qt::Widget;
    grandchild->OnActivate = [&](TObject*) {
        grandchildOwner = grandchild->Widget()->windowHandle()->transientParent();
        grandchild->Close();
    };
    child->OnActivate = [&](TObject*) {
        childOwner = child->Widget()->windowHandle()->transientParent();
        childType = child->Widget()->windowType();
        grandchild->ShowModal();
        child->Close();
    };
    ShowAndActivate(parent.get());
    EXPECT_EQ(child->ShowModal(), mrCancel);
    EXPECT_EQ(childOwner, parent->Widget()->windowHandle());
    EXPECT_EQ(grandchildOwner, child->Widget()->windowHandle());
    EXPECT_EQ(childType, Qt::Dialog);
    EXPECT_EQ(child->Widget()->windowHandle()->transientParent(), nullptr);
    EXPECT_EQ(child->Widget()->windowType(), Qt::Window);
    // Shown on its own it has no owner.
    ShowAndActivate(child.get());
    EXPECT_EQ(child->Widget()->windowHandle()->transientParent(), nullptr);
    child->Close();
    parent->Close();
}

// The smallest size holds whether the program or the user sizes the form; the
// room children take counts the placed ones, hidden ones too, not the aligned.
TEST(FormLayout, MinimumSizeHoldsForTheProgramAndTheUser) {
    auto f = makeForm();
    auto* bar = new TPanel(f.get());
    bar->SetParent(f.get());
    bar->SetAlign(alBottom);
    bar->SetHeight(50);
    auto* a = new TButton(f.get());
    a->SetParent(bar);
    a->SetBounds(10, 4, 300, 40);
    auto* b = new TButton(f.get());
    b->SetParent(bar);
    b->SetBounds(320, 8, 200, 40);
    b->SetVisible(false);
    const TSize room = PlacedChildrenExtent(bar);
    EXPECT_EQ(room.cx, 520);
    EXPECT_EQ(room.cy, 48);
    EXPECT_EQ(PlacedChildrenExtent(f.get()).cx, 0);

    f->SetMinClientSize(room.cx + 8, 200);
    EXPECT_EQ(f->Constraints().MinWidth, 528 + FormFrameWidth);
    EXPECT_EQ(f->Constraints().MinHeight, 200 + FormFrameHeight);
    EXPECT_EQ(f->ClientWidth(), 528); // it grew to the limit at once
    EXPECT_EQ(f->ClientHeight(), 300);
    f->SetBounds(0, 0, 100, 100);
    EXPECT_EQ(f->ClientWidth(), 528);
    EXPECT_EQ(f->ClientHeight(), 200);
    ShowAndActivate(f.get());
    f->Widget()->resize(300, 120); // the user drags an edge
    ProcessEvents();
    EXPECT_EQ(f->Widget()->size(), QSize(528, 200));
    EXPECT_EQ(f->ClientWidth(), 528);
    EXPECT_EQ(bar->Width(), 528);
    f->Widget()->resize(900, 700);
    ProcessEvents();
    EXPECT_EQ(f->ClientWidth(), 900);
    f->SetMinClientSize(0, 0);
    f->SetBounds(0, 0, 100, 100);
    EXPECT_EQ(f->Width(), 100);
    f->Close();
}

TEST(FormLayout, AlignPlacesTopBottomLeftRightThenClient) {
    auto f = makeForm();
    auto add = [&](TAlign a, int w, int h) {
        auto* p = new TPanel(f.get());
        p->SetParent(f.get());
        p->SetBounds(5, 5, w, h);
        p->SetAlign(a);
        return p;
    };
    TPanel* client = add(alClient, 10, 10);
    TPanel* right = add(alRight, 70, 10);
    TPanel* top1 = add(alTop, 10, 50);
    TPanel* bottom = add(alBottom, 10, 40);
    TPanel* top2 = add(alTop, 10, 30);
    TPanel* left = add(alLeft, 60, 10);
    TPanel* hidden = add(alTop, 10, 99);
    hidden->SetVisible(false);

    EXPECT_EQ(top1->BoundsRect(), Rect(0, 0, 400, 50));
    EXPECT_EQ(top2->BoundsRect(), Rect(0, 50, 400, 80));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 260, 400, 300));
    EXPECT_EQ(left->BoundsRect(), Rect(0, 80, 60, 260));
    EXPECT_EQ(right->BoundsRect(), Rect(330, 80, 400, 260));
    EXPECT_EQ(client->BoundsRect(), Rect(60, 80, 330, 260));

    // Resizing the form lays out again; a panel's bevel insets its children.
    f->SetClientWidth(500);
    EXPECT_EQ(client->BoundsRect(), Rect(60, 80, 430, 260));
    auto* inner = new TPanel(f.get());
    inner->SetParent(top1);
    inner->SetAlign(alClient);
    EXPECT_EQ(inner->BoundsRect(), Rect(1, 1, 499, 49));
    top1->SetBevelOuter(bvNone);
    EXPECT_EQ(inner->BoundsRect(), Rect(0, 0, 500, 50));
}

TEST(FormLayout, ScaleByRoundsHalvesToEvenAndScalesFonts) {
    auto f = makeForm();
    f->Font()->SetHeight(-12);
    auto* big = new TPanel(f.get());
    big->SetParent(f.get());
    big->SetBounds(0, 0, 1024, 715);
    auto* small = new TLabel(f.get());
    small->SetParent(f.get());
    small->SetAutoSize(false);
    small->SetBounds(3, 5, 9, 7);
    auto* own = new TButton(f.get());
    own->SetParent(f.get());
    own->Font()->SetHeight(-15);
    own->SetBounds(1, 1, 10, 10);

    f->ScaleBy(4, 3);
    EXPECT_EQ(big->BoundsRect(), Rect(0, 0, 1365, 953));
    EXPECT_EQ(f->ClientWidth(), 400); // the form keeps its size
    EXPECT_EQ(f->ClientHeight(), 300);
    EXPECT_EQ(f->Font()->Height(), -16);
    EXPECT_EQ(small->Font()->Height(), -16); // follows the form
    EXPECT_EQ(own->Font()->Height(), -20);
    EXPECT_FALSE(own->ParentFont());

    small->SetBounds(3, 5, 9, 7);
    f->ScaleBy(1, 2);
    // 3 / 2 = 1.5 -> 2, 5 / 2 = 2.5 -> 2, 9 / 2 = 4.5 -> 4, 7 / 2 = 3.5 -> 4
    EXPECT_EQ(small->BoundsRect(), Bounds(2, 2, 4, 4));
}

// The sheets of a scaled page control fill it, and what stands on them is
// scaled once, like everything else.
TEST(FormLayout, ScaleByLeavesTheSheetsFillingTheirPageControl) {
    auto f = makeForm();
    auto* pc = new TPageControl(f.get());
    pc->SetParent(f.get());
    pc->SetBounds(0, 24, 801, 249);
    auto* p1 = new TTabSheet(f.get());
    p1->SetPageControl(pc);
    p1->SetTabVisible(false);
    auto* p2 = new TTabSheet(f.get());
    p2->SetPageControl(pc);
    p2->SetTabVisible(false);
    pc->SetActivePage(p1);
    auto* box = new TPanel(f.get());
    box->SetParent(p1);
    box->SetBounds(104, 380, 97, 30);

    f->ScaleBy(4, 3);
    EXPECT_EQ(pc->BoundsRect(), Bounds(0, 32, 1068, 332));
    EXPECT_EQ(p1->BoundsRect(), Bounds(0, 0, 1068, 332));
    EXPECT_EQ(p2->BoundsRect(), Bounds(0, 0, 1068, 332));
    EXPECT_EQ(box->BoundsRect(), Bounds(139, 507, 129, 40));
}

TEST(FormComponents, OwnerListsComponentsInCreationOrder) {
    auto f = makeForm();
    auto* a = new TLabel(f.get());
    a->SetName("Label1");
    auto* b = new TSpeedButton(f.get());
    b->SetName("SpeedButton1");
    auto* c = new TTimer(f.get());
    c->SetName("Timer1");
    ASSERT_EQ(f->ComponentCount(), 3);
    EXPECT_EQ(f->Components(0)->ClassName(), "TLabel");
    EXPECT_EQ(f->Components(1)->ClassName(), "TSpeedButton");
    EXPECT_EQ(f->Components(2)->ClassName(), "TTimer");
    EXPECT_EQ(f->FindComponent("speedbutton1"), b);
    EXPECT_EQ(f->FindComponent("nix"), nullptr);
    EXPECT_EQ(f->Components(3), nullptr);
    delete b;
    EXPECT_EQ(f->ComponentCount(), 2);
    EXPECT_EQ(f->Components(1), c);
}

TEST(FormComponents, ControlsTakeTheParentFontUntilTheyGetTheirOwn) {
    auto f = makeForm();
    auto* p = new TPanel(f.get());
    p->SetParent(f.get());
    auto* l = new TLabel(f.get());
    l->SetParent(p);
    f->Font()->SetName("Times New Roman");
    f->Font()->SetHeight(-21);
    EXPECT_EQ(l->Font()->Name(), "Times New Roman");
    EXPECT_EQ(l->Font()->Height(), -21);
    l->Font()->SetColor(clYellow);
    EXPECT_FALSE(l->ParentFont());
    f->Font()->SetHeight(-30);
    EXPECT_EQ(p->Font()->Height(), -30);
    EXPECT_EQ(l->Font()->Height(), -21);
}

TEST(KeyInjection, ReachesOnlyTheFocusedControlOfTheActiveForm) {
    auto back = makeForm();
    auto front = makeForm();
    auto* backEdit = new TEdit(back.get());
    backEdit->SetParent(back.get());
    auto* frontEdit = new TEdit(front.get());
    frontEdit->SetParent(front.get());
    auto* other = new TEdit(front.get());
    other->SetParent(front.get());
    QString keys;
    frontEdit->OnKeyPress = [&](TObject*, char16_t& k) { keys += QChar(k); };
    std::vector<uint16_t> downs;
    frontEdit->OnKeyDown = [&](TObject*, uint16_t& k, TShiftState) { downs.push_back(k); };

    ShowAndActivate(back.get());
    backEdit->SetFocus();
    ShowAndActivate(front.get());
    frontEdit->SetFocus();
    SendKey('1');
    SendKey(VK_DECIMAL);
    SendKey('5');
    SendKey(VK_LEFT);
    EXPECT_EQ(frontEdit->Text(), "1,5");
    EXPECT_EQ(keys, "1,5");
    EXPECT_EQ(downs, (std::vector<uint16_t>{'1', VK_DECIMAL, '5', VK_LEFT}));
    EXPECT_EQ(backEdit->Text(), "");
    EXPECT_EQ(other->Text(), "");

    front->Close();
    back->Close();
    SendKey('7'); // no active form: goes nowhere
    EXPECT_EQ(backEdit->Text(), "");
}

TEST(Dialogs, ResponderAnswersAndRecordsQuestions) {
    DialogResponder responder;
    responder.QueueButton(mrNo);
    responder.QueueButton(mrYes);
    responder.QueueFile("/tmp/logbuch");
    responder.QueueFile(QString());
    responder.QueuePrinterSetup(true);

    EXPECT_EQ(MessageDlg("Wirklich?", mtConfirmation, mbYes | mbNo), mrNo);
    EXPECT_EQ(Application()->MessageBox("Frage\rzwei", "Titel", MB_YESNO | MB_ICONQUESTION), IDYES);
    TSaveDialog save(nullptr);
    save.SetFilter("RichText Format Files (*.rtf)|*.rtf");
    save.SetDefaultExt("rtf");
    EXPECT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName(), "/tmp/logbuch.rtf");
    TOpenDialog open(nullptr);
    EXPECT_FALSE(open.Execute());
    TPrinterSetupDialog printer(nullptr);
    EXPECT_TRUE(printer.Execute());
    EXPECT_FALSE(printer.Execute()); // nothing queued: cancelled

    ASSERT_EQ(responder.Questions().size(), 6u);
    EXPECT_EQ(responder.Questions()[1].text, "Frage\rzwei");
    EXPECT_EQ(responder.Questions()[1].answers, (std::vector<int>{mrYes, mrNo}));
    EXPECT_EQ(responder.Questions()[2].filter, "RichText Format Files (*.rtf)|*.rtf");
    EXPECT_EQ(responder.Unexpected(), 1);
    // Off screen without a responder nothing blocks: the answer is Cancel.
    {
        SetDialogResponder(nullptr);
        EXPECT_EQ(MessageDlg("Niemand da?", mtConfirmation, mbYes | mbNo), mrCancel);
        SetDialogResponder(&responder);
    }
    EXPECT_EQ(QtNameFilters("RichText Format Files (*.rtf)|*.rtf|Alle|*.*;*.txt"),
              "RichText Format Files (*.rtf);;Alle (*.* *.txt)");
}

TEST(FormLayout, CanResizeSeesTheNewSizeAndMayChangeOrRefuseIt) {
    auto f = makeForm();
    f->SetBorderStyle(bsNone);
    f->SetBounds(0, 0, 400, 300);
    std::vector<std::pair<int, int>> seen;
    f->OnCanResize = [&](TObject*, int& w, int& h, bool& ok) {
        seen.emplace_back(w, h);
        if (w > 1000) ok = false;
        if (h < 100) h = 100;
    };
    f->SetWidth(500);
    f->SetHeight(50);
    f->SetWidth(2000);
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{500, 300}, {500, 50}, {2000, 100}}));
    EXPECT_EQ(f->Width(), 500);
    EXPECT_EQ(f->Height(), 100);
}

TEST(FormKeys, EnterAndEscapeLeftByAControlReachDefaultAndCancelButtons) {
    auto f = makeForm();
    auto* edit = new TEdit(f.get());
    edit->SetParent(f.get());
    auto* box = new TRichEdit(f.get());
    box->SetParent(f.get());
    auto* ok = new TButton(f.get());
    ok->SetParent(f.get());
    ok->SetDefault(true);
    auto* cancel = new TButton(f.get());
    cancel->SetParent(f.get());
    cancel->SetCancel(true);
    int oks = 0, cancels = 0;
    ok->OnClick = [&](TObject*) { ++oks; };
    cancel->OnClick = [&](TObject*) { ++cancels; };
    ShowAndActivate(f.get());
    PressEnter(edit);
    PressKey(edit, VK_ESCAPE);
    EXPECT_EQ(oks, 1);
    EXPECT_EQ(cancels, 1);
    PressEnter(box); // the answer box keeps its Enter
    EXPECT_EQ(oks, 1);
    EXPECT_TRUE(f->Visible());
    f->Close();
}

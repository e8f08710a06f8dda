// The application object, freeing forms, waits on freed forms and detached
// program starts.
#include "platform/Application.h"
#include "platform/ControlsStd.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/Runtime.h"
#include "platform/Timer.h"
#include "platform/Wait.h"
#include "support/FormDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

TEST(ApplicationRun, ClosingTheMainFormEndsTheRun) {
    TForm* main = nullptr;
    ASSERT_EQ(Application()->MainForm(), nullptr);
    Application()->CreateForm(main);
    EXPECT_EQ(Application()->MainForm(), main);
    TForm* second = nullptr;
    Application()->CreateForm(second);
    EXPECT_EQ(Application()->MainForm(), main);
    int activations = 0;
    main->OnActivate = [&](TObject*) {
        ++activations;
        QTimer::singleShot(10, qApp, [main] { main->Close(); });
    };
    Application()->Run();
    EXPECT_EQ(activations, 1);
    EXPECT_TRUE(Application()->Terminated());
    // A modal form asked to show after the end closes at once.
    EXPECT_EQ(second->ShowModal(), mrCancel);
    Application()->ResetTerminated();
    delete main;
    EXPECT_EQ(Application()->MainForm(), nullptr);
    delete second;
}

TEST(FormRelease, CaFreeFreesTheFormAfterItsHandlers) {
    auto* f = new TForm(Application());
    std::weak_ptr<void> alive = f->AliveToken();
    const int before = Application()->ComponentCount();
    f->OnClose = [](TObject*, TCloseAction& a) { a = caFree; };
    ShowAndActivate(f);
    f->Close();
    EXPECT_FALSE(alive.expired());
    ProcessEvents();
    EXPECT_TRUE(alive.expired());
    EXPECT_EQ(Application()->ComponentCount(), before - 1);
}

TEST(FormRelease, AWaitOnAFormFreedMeanwhileEndsCleanly) {
    auto* f = new TForm(nullptr);
    QTimer::singleShot(10, qApp, [f] { delete f; });
    // False: it ended with its form, not after its minute.
    EXPECT_FALSE(WaitResponsive(60000, f));
}

TEST(FormRelease, AWaitEndsWhenItsModalFormIsAskedToClose) {
    TForm f(nullptr);
    bool finished = true;
    f.OnActivate = [&](TObject*) {
        QTimer::singleShot(10, qApp, [&f] { f.SetModalResult(mrOk); });
        finished = WaitResponsive(60000, &f);
    };
    EXPECT_EQ(f.ShowModal(), mrOk);
    EXPECT_FALSE(finished);
}

// Held time: a timer never fires and a wait of a minute handles what is
// pending and returns at once; let go, the timer fires again.
TEST(FormRelease, HeldTimeStopsTimersAndWaits) {
    TForm f(nullptr);
    auto* t = new TTimer(&f);
    t->SetInterval(1);
    int Ticks = 0;
    t->OnTimer = [&](TObject*) { ++Ticks; };
    bool Pending = false;
    HoldTime(true);
    QTimer::singleShot(0, qApp, [&] { Pending = true; });
    const uint32_t Start = GetTickCount();
    EXPECT_TRUE(WaitResponsive(60000, &f));
    EXPECT_TRUE(Pending);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(WaitResponsive(60000));
    EXPECT_LT(GetTickCount() - Start, 30000u);
    HoldTime(false);
    EXPECT_EQ(Ticks, 0);
    for (int i = 0; i < 3000 && Ticks == 0; ++i)
        WaitResponsive(5);
    EXPECT_GT(Ticks, 0);
}

TEST(ProgramStart, ArgumentsArriveAsTheyAreWithoutAShell) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString odd = QStringLiteral("a;touch b $(x)");
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(StartProgram("/usr/bin/touch", {odd}, tmp.path()));
    const QString made = tmp.path() + "/" + odd;
    for (int i = 0; i < 3000 && !QFileInfo::exists(made); ++i)
        WaitResponsive(20);
    EXPECT_TRUE(QFileInfo::exists(made));
    EXPECT_FALSE(QFileInfo::exists(tmp.path() + "/b"));
    EXPECT_EQ(QDir::currentPath(), cwd); // our own directory never changes
}

// Start-up makes Qt's own dialogs speak German, whatever the desktop's
// language: the buttons of a message box and the default language.
TEST(ApplicationStart, QtsOwnButtonsReadGerman) {
    Application()->Initialize();
    Application()->Initialize(); // a second call changes nothing
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel);
    QStringList Texte;
    for (auto b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok, QMessageBox::Cancel})
        Texte << box.button(b)->text().remove(QLatin1Char('&'));
    EXPECT_EQ(Texte, QStringList({"Ja", "Nein", "OK", "Abbrechen"}));
    EXPECT_EQ(QLocale().language(), QLocale::German);
    EXPECT_EQ(QLocale().toString(1.5), "1,5");
}

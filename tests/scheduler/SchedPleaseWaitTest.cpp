// The busy window of a scheduled run: shown only with the scheduler window, the run's name on its
// first line, a Cancel that reaches the run, and nothing of one run left for the next.
#include "app/FlatForm.h"
#include "scheduler/SchedPleaseWait.h"
#include "scheduler/SchedRunners.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class SchedPleaseWaitTest : public PlainFormTest<200, 100> {
protected:
    void SetUp() override {
        PlainFormTest::SetUp();
        System = std::make_unique<TFlatFormSystem>(Folder.Path() + L"Data\\");
    }
    void TearDown() override {
        PlainFormTest::TearDown();
        System.reset();
    }
    static void Click(TWinControl& Button) {
        SendMessageW(Button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(Button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }

    TTempFolder Folder;
    std::unique_ptr<TFlatFormSystem> System;
};

TEST_F(SchedPleaseWaitTest, ARunFromTheTrayWorksWithoutAWindowOnScreen) {
    TSchedPleaseWait Busy(*Form);
    Busy.Start(L"Registry Cleaner", 0, true, TProgressAnimation::None);
    ASSERT_NE(Busy.Window(), nullptr);
    EXPECT_FALSE(Busy.Window()->Visible());
    EXPECT_EQ(Busy.Window()->labPleaseWait->Caption(), L"");
    Busy.SetLabel(L"C:\\Temp\\");
    Busy.Pump();
    EXPECT_FALSE(Busy.Cancelled());
    Busy.Finish();
    EXPECT_EQ(Busy.Window(), nullptr) << "the window is freed with its run";
}

TEST_F(SchedPleaseWaitTest, WithTheSchedulerWindowShownTheRunShowsItsNameAndCanBeCancelled) {
    Form->Show();
    TSchedPleaseWait Busy(*Form);
    Busy.Start(L"Registry Cleaner", 0, true, TProgressAnimation::None);
    TfrmPleaseWait* Window = Busy.Window();
    ASSERT_NE(Window, nullptr);
    EXPECT_TRUE(Window->Visible());
    EXPECT_EQ(Window->labPleaseWait->Caption(), L"Registry Cleaner");
    EXPECT_TRUE(Window->btnCancel->Visible());
    Busy.SetLabel(L"HKEY_CURRENT_USER\\Software");
    EXPECT_EQ(Window->labText->Caption(), L"HKEY_CURRENT_USER\\Software");
    Click(*Window->btnCancel);
    EXPECT_TRUE(Busy.Cancelled());
    Busy.Finish();
    EXPECT_EQ(Busy.Window(), nullptr);

    // The next run has a window of its own: the earlier Cancel does not stop it.
    Busy.Start(L"Junk Files", 0, false, TProgressAnimation::None);
    EXPECT_FALSE(Busy.Cancelled());
    EXPECT_FALSE(Busy.Window()->btnCancel->Visible());
    Busy.Finish();
}

TEST_F(SchedPleaseWaitTest, ANamelessRunGreetsOnTheFirstLineAndShowsItsWorkOnTheSecond) {
    Form->Show();
    TSchedPleaseWait Busy(*Form);
    Busy.Start(L"Registry Cleaner", 0, true, TProgressAnimation::None);
    EXPECT_FALSE(Busy.Window()->labText->Visible()) << "the named run has no second line";
    Busy.Finish();
    Busy.Start(String(), 0, false, TProgressAnimation::None);
    TfrmPleaseWait* Window = Busy.Window();
    EXPECT_EQ(Window->labPleaseWait->Caption(), PleaseWaitText());
    EXPECT_EQ(Window->FormCaption(), PleaseWaitText());
    EXPECT_TRUE(Window->labText->Visible());
    Busy.SetLabel(L"C:\\Temp\\");
    EXPECT_EQ(Window->labText->Caption(), L"C:\\Temp\\");
    EXPECT_TRUE(Window->Animate->Active());
    Busy.Finish();
}

TEST_F(SchedPleaseWaitTest, ARunFreesItsWindowWhenItEnds) {
    Form->Show();
    TSchedPleaseWait Busy(*Form);
    TSchedRunner Runner(Busy, TSchedRunPlaces{});
    bool WindowWhenStarting = true;
    Runner.OnRunningChanged = [&](bool Running) {
        if (Running)
            WindowWhenStarting = Busy.Window() != nullptr;
    };
    Runner.RunSchedFunc(sfFolderCleaner, Folder.Path() + L"nothing here");
    EXPECT_FALSE(WindowWhenStarting) << "each run makes its own window";
    EXPECT_EQ(Busy.Window(), nullptr);
    EXPECT_FALSE(Runner.Running());
}

} // namespace

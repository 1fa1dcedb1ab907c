// The please-wait and progress windows: Cancelled cleared at every show, the pump timer, Cancel
// ending a linked walk or only flagging the loop, the title close as Cancel; the folder
// picker's flags and its Cancel.
#include "app/AppStartup.h"
#include "app/BFolder.h"
#include "app/PleaseWaitForm.h"
#include "app/ProgressForm.h"
#include "app/QRVDataMod.h"
#include "app/TreeSearchEngine.h"
#include "tests/support/GdiCount.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ProgressWindowsTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        SavedAppDir = AppDir;
        AppDir = Folder.Path();
        System = std::make_unique<TFlatFormSystem>(Folder.Path() + L"Data\\");
        DataModule.reset(NewForm<TfrmDM>(nullptr));
    }
    void TearDown() override {
        GuiTest::TearDown();
        DataModule.reset();
        System.reset();
        AppDir = SavedAppDir;
    }
    static void Click(TWinControl& Button) {
        SendMessageW(Button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(Button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }

    TTempFolder Folder;
    String SavedAppDir;
    std::unique_ptr<TFlatFormSystem> System;
    std::unique_ptr<TfrmDM> DataModule;
};

TEST_F(ProgressWindowsTest, EveryWaitStartsThePumpAndClearsCancelled) {
    auto* Wait = NewForm<TfrmPleaseWait>(App.get());
    Wait->ShowWait(L"Removing", true);
    EXPECT_TRUE(Wait->Visible());
    EXPECT_TRUE(Wait->Timer->Enabled());
    EXPECT_EQ(Wait->Timer->Interval(), 100u);
    EXPECT_TRUE(Wait->btnCancel->Visible());
    EXPECT_EQ(Wait->labText->Caption(), L"Removing");
    Click(*Wait->btnCancel);
    EXPECT_TRUE(Wait->Cancelled());
    EXPECT_FALSE(Wait->Visible());
    EXPECT_FALSE(Wait->Timer->Enabled());
    // The second wait of the same window is not cancelled and pumps again.
    Wait->ShowWait(L"Again", false);
    EXPECT_FALSE(Wait->Cancelled());
    EXPECT_TRUE(Wait->Timer->Enabled());
    EXPECT_FALSE(Wait->btnCancel->Visible());
    Wait->Close();
    EXPECT_FALSE(Wait->Timer->Enabled());
}

TEST_F(ProgressWindowsTest, CancelEndsTheLinkedWalkAtItsNextEntry) {
    for (int I = 0; I < 30; ++I)
        Folder.AddFile(L"walk\\f" + std::to_wstring(I) + L".txt", "x");
    auto* Wait = NewForm<TfrmPleaseWait>(App.get());
    TTreeSearchEngine Engine;
    Wait->LinkedSearch = &Engine;
    int Found = 0;
    Engine.OnFileFound = [&](const String&, const String&, const WIN32_FIND_DATAW&, TCvTreeItem*&) {
        if (++Found == 5) // the user presses Cancel while the walk runs
            Click(*Wait->btnCancel);
    };
    Wait->ShowWait(L"Searching", true);
    Engine.Search(Folder.Path() + L"walk\\", nullptr, true);
    EXPECT_EQ(Found, 5);
    EXPECT_TRUE(Engine.Stop);
    EXPECT_TRUE(Wait->Cancelled());
    EXPECT_FALSE(Wait->Visible());
}

TEST_F(ProgressWindowsTest, ProgressCancelOnlyFlagsTheLoopAndTheTitleCloseCancelsToo) {
    auto* Progress = NewForm<TfrmProgress>(App.get());
    IProgress& Sink = *Progress;
    int Steps = 0;
    {
        TProgressScope Scope(Sink, L"file.txt", 200, true);
        EXPECT_TRUE(Progress->Visible());
        for (int I = 1; I <= 200 && !Sink.Cancelled(); ++I) {
            Sink.SetPosition(I);
            Sink.Pump();
            ++Steps;
            if (I == 100) {
                EXPECT_EQ(Progress->ProgressBar->Position(), 50);
                Click(*Progress->btnCancel);
                EXPECT_TRUE(Progress->Visible()); // the loop, not Cancel, ends the window
            }
        }
    }
    EXPECT_EQ(Steps, 100);
    EXPECT_FALSE(Progress->Visible());

    Sink.Start(L"next", 10, true, TProgressAnimation::None);
    EXPECT_FALSE(Sink.Cancelled()); // an earlier Cancel does not stop a new operation
    Click(*Progress->CloseButton);
    EXPECT_TRUE(Sink.Cancelled());
    EXPECT_TRUE(Progress->Visible());
    Sink.Start(L"again", 10, true, TProgressAnimation::None);
    SendMessageW(Progress->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(Sink.Cancelled());
    EXPECT_TRUE(Progress->Visible());
    Sink.Finish();
    EXPECT_FALSE(Progress->Visible());
}

// The busy windows are no modal dialogs, but Escape cancels them as their Cancel button does,
// and only while that button shows.
TEST_F(ProgressWindowsTest, EscapeCancelsABusyWindowWhileItsCancelButtonShows) {
    auto* Progress = NewForm<TfrmProgress>(App.get());
    auto* Wait = NewForm<TfrmPleaseWait>(App.get());
    const auto Escape = [](TWinControl& Window) {
        SendMessageW(Window.Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    };
    for (const bool CanCancel : {false, true}) {
        SCOPED_TRACE(CanCancel ? "with Cancel" : "without Cancel");
        IProgress& Sink = *Progress;
        Sink.Start(L"file.txt", 10, CanCancel, TProgressAnimation::None);
        Escape(*Progress);
        EXPECT_EQ(Sink.Cancelled(), CanCancel);
        EXPECT_TRUE(Progress->Visible()) << "the loop, not the key, ends the window";
        Sink.Finish();

        Wait->ShowWait(L"Removing", CanCancel);
        Escape(*Wait);
        EXPECT_EQ(Wait->Cancelled(), CanCancel);
        Wait->Finish();
    }
}

TEST(ProgressAnimation, EachKindOfWorkRunsItsClipAndNoneKeepsTheWindowsOwn) {
    const struct {
        TProgressAnimation Animation;
        TCommonAVI Clip;
    } Cases[] = {{TProgressAnimation::CopyFiles, aviCopyFiles},
                 {TProgressAnimation::DeleteFile, aviDeleteFile},
                 {TProgressAnimation::RecycleFile, aviRecycleFile},
                 {TProgressAnimation::None, aviFindFile}};
    for (const auto& C : Cases)
        EXPECT_EQ(AnimationClip(C.Animation, aviFindFile), C.Clip);
}

TEST_F(ProgressWindowsTest, BothWindowsAreTitledAndAnimatedWhileTheyShow) {
    auto* Wait = NewForm<TfrmPleaseWait>(App.get());
    EXPECT_EQ(Wait->Animate->BoundsRect(), Bounds(16, 26, 304, 60));
    Wait->Start(L"Removing", 0, false, TProgressAnimation::DeleteFile);
    EXPECT_EQ(Wait->FormCaption(), PleaseWaitText());
    EXPECT_EQ(Wait->labPleaseWait->Caption(), PleaseWaitText());
    EXPECT_TRUE(Wait->Animate->Active());
    EXPECT_EQ(Wait->Animate->CommonAVI(), aviDeleteFile);
    Wait->Finish();
    EXPECT_FALSE(Wait->Animate->Active());

    auto* Progress = NewForm<TfrmProgress>(App.get());
    EXPECT_EQ(Progress->SplitFilesAnimate->BoundsRect(), Bounds(40, 48, 272, 60));
    Progress->Start(L"file.txt", 10, true, TProgressAnimation::RecycleFile);
    EXPECT_EQ(Progress->FormCaption(), PleaseWaitText());
    EXPECT_TRUE(Progress->SplitFilesAnimate->Active());
    EXPECT_EQ(Progress->SplitFilesAnimate->CommonAVI(), aviRecycleFile);
    Progress->Finish();
    EXPECT_FALSE(Progress->SplitFilesAnimate->Active());
    Progress->Start(L"file.txt", 10, true, TProgressAnimation::CopyFiles);
    EXPECT_EQ(Progress->SplitFilesAnimate->CommonAVI(), aviCopyFiles);
    Progress->Finish();
}

TEST_F(ProgressWindowsTest, UncountedWorkShowsAnEmptyBar) {
    auto* Progress = NewForm<TfrmProgress>(App.get());
    Progress->Start(L"x", 0, false, TProgressAnimation::None);
    Progress->SetPosition(40);
    EXPECT_EQ(Progress->ProgressBar->Position(), 0);
    EXPECT_FALSE(Progress->btnCancel->Visible());
    Progress->SetRange(80);
    EXPECT_EQ(Progress->ProgressBar->Position(), 50);
    Progress->Finish();
}

TEST_F(ProgressWindowsTest, WindowsLeaveNoGdiObjectsBehind) {
    EXPECT_EQ(GdiGrowth(
                  [&] {
                      std::unique_ptr<TfrmProgress> P(NewForm<TfrmProgress>(App.get()));
                      P->Start(L"x", 10, true, TProgressAnimation::None);
                      P->SetPosition(5);
                      P->Finish();
                  },
                  5),
              0);
}

TEST(BrowseFolder, OptionsMapToTheShellFlags) {
    EXPECT_EQ(BrowseFolderFlags({}), 0u);
    EXPECT_EQ(BrowseFolderFlags({bfReturnOnlyFileSystemDirs}), 1u);
    EXPECT_EQ(BrowseFolderFlags({bfBrowseForComputer, bfBrowseForPrinter, bfDontGoBelowDomain,
                                 bfReturnFileSystemAncestors}),
              0x1000u | 0x2000u | 2u | 8u);
}

} // namespace

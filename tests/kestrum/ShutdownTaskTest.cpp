// The shutdown program: when it asks, what each answer does, and a refusal of Windows told.
#include "app/AppStartup.h"
#include "app/FlatForm.h"
#include "app/FlatMessageBox.h"
#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "kestrum/ShutdownTask.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/ModalTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(ShutdownTask, OnlyTheAskParameterAsksFirst) {
    const struct {
        std::vector<String> Params;
        bool Asks;
    } Cases[] = {
        {{}, false},        {{L"ask"}, true},     {{L"ASK"}, true},
        {{L"/ask"}, false}, {{L"asking"}, false}, {{L"now", L"ask"}, true},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Params.empty() ? std::string() : ToUtf8(Case.Params.back()));
        EXPECT_EQ(ShutdownAsksFirst(Case.Params), Case.Asks);
    }
}

TEST(ShutdownTask, ShutsDownOnlyWithoutAQuestionOrOnYes) {
    const struct {
        bool Ask;
        bool Answer;
        DWORD ShutDownError;
        TShutdownOutcome Outcome;
        int Questions, ShutDowns;
        DWORD Reported;
    } Cases[] = {
        {false, false, 0, soShutDown, 0, 1, 0},
        {true, true, 0, soShutDown, 1, 1, 0},
        {true, false, 0, soDeclined, 1, 0, 0},
        {false, false, ERROR_PRIVILEGE_NOT_HELD, soFailed, 0, 1, ERROR_PRIVILEGE_NOT_HELD},
        {true, true, ERROR_ACCESS_DENIED, soFailed, 1, 1, ERROR_ACCESS_DENIED},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(static_cast<int>(&Case - Cases));
        int Questions = 0, ShutDowns = 0;
        DWORD Reported = 0;
        TShutdownSteps Steps;
        Steps.AskUser = [&] { return ++Questions, Case.Answer; };
        Steps.ShutDown = [&] { return ++ShutDowns, Case.ShutDownError; };
        Steps.ReportFailure = [&](DWORD Error) { Reported = Error; };
        EXPECT_EQ(RunShutdownTask(Case.Ask, Steps), Case.Outcome);
        EXPECT_EQ(Questions, Case.Questions);
        EXPECT_EQ(ShutDowns, Case.ShutDowns);
        EXPECT_EQ(Reported, Case.Reported);
    }
}

// The program's own boxes, with the texts of a language file and a stand-in for the shutdown.
class ShutdownMessages : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        App->SetTitle(L"Shutdown test");
        System = std::make_unique<TFlatFormSystem>(Folder.Path() + L"Data\\");
        DataModule.reset(NewForm<TfrmDM>(nullptr));
        Folder.AddFile(L"test.lng", "[Messages]\r\nsShutdownAsk=Shut down now?\r\n"
                                    "sShutdownFailed=Not shut down.\r\n");
        AppLanguage->LoadFromFile(Folder.Path() + L"test.lng");
    }
    void TearDown() override {
        AppLanguage->LoadFromFile(Folder.Path()); // a folder: nothing is loaded
        DataModule.reset();
        System.reset();
        GuiTest::TearDown();
    }
    // Runs the task with the box answered by pressing Button; Seen gets the box's text and
    // buttons.
    TShutdownOutcome RunAnswering(bool Ask, const wchar_t* Button, DWORD ShutDownError = 0) {
        const String Press = Button;
        WhenWindowShown<TfrmFlatMessageBox>(
            L"Shutdown test", [this, Press](TfrmFlatMessageBox& Box) {
                Seen.push_back(Box.Label1->Caption());
                PostClick(static_cast<TWinControl*>(Box.FindComponent(Press))->Handle());
            });
        return RunShutdownTask(Ask, ShutdownStepsWithMessages([this, ShutDownError] {
                                   ++ShutDowns;
                                   return ShutDownError;
                               }));
    }

    TTempFolder Folder;
    std::unique_ptr<TFlatFormSystem> System;
    std::unique_ptr<TfrmDM> DataModule;
    std::vector<String> Seen;
    int ShutDowns = 0;
};

TEST_F(ShutdownMessages, TheQuestionsNoKeepsTheComputerRunning) {
    EXPECT_EQ(RunAnswering(true, L"btnNo"), soDeclined);
    EXPECT_EQ(ShutDowns, 0);
    EXPECT_EQ(Seen, std::vector<String>{L"Shut down now?"});

    Seen.clear();
    EXPECT_EQ(RunAnswering(true, L"btnYes"), soShutDown);
    EXPECT_EQ(ShutDowns, 1);
    EXPECT_EQ(Seen, std::vector<String>{L"Shut down now?"});
}

TEST_F(ShutdownMessages, ARefusalOfWindowsIsToldWithItsReason) {
    EXPECT_EQ(RunAnswering(false, L"btnOk", ERROR_PRIVILEGE_NOT_HELD), soFailed);
    EXPECT_EQ(ShutDowns, 1);
    ASSERT_EQ(Seen.size(), 1u);
    EXPECT_TRUE(Seen[0].starts_with(L"Not shut down.\n\n")) << ToUtf8(Seen[0]);
    EXPECT_GT(Seen[0].size(), String(L"Not shut down.\n\n").size()) << "the system's words";
}

} // namespace

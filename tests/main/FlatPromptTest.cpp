// The program's prompt over the skinned message box and input dialog: each icon and button set
// of the prompt reaches the box as the picture and buttons it names, and each button's answer
// comes back as the prompt's result.
#include "app/FlatMessageBox.h"
#include "app/InputQueryForm.h"
#include "app/QRVDataMod.h"
#include "main/MainServices.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/ModalTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class FlatPromptTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        System = std::make_unique<TFlatFormSystem>(Folder.Path() + L"Data\\");
        DataModule.reset(NewForm<TfrmDM>(nullptr));
        Prompt = std::make_unique<TFlatPrompt>(App.get());
    }
    void TearDown() override {
        Prompt.reset();
        GuiTest::TearDown();
        DataModule.reset();
        System.reset();
    }

    TTempFolder Folder;
    std::unique_ptr<TFlatFormSystem> System;
    std::unique_ptr<TfrmDM> DataModule;
    std::unique_ptr<TFlatPrompt> Prompt;
};

// The names of the buttons a box shows, in the order of its six buttons.
String ShownButtons(TfrmFlatMessageBox& Box) {
    String Shown;
    for (const TavImageExpandButton* Button :
         {Box.btnOk, Box.btnCancel, Box.btnYes, Box.btnNo, Box.btnNoToAll, Box.btnYesToAll})
        if (Button->Visible())
            Shown += (Shown.empty() ? L"" : L" ") + Button->Name;
    return Shown;
}

// The picture shown, 1 to 4, or 0.
int ShownIcon(TfrmFlatMessageBox& Box) {
    for (int I = 0; I < 4; ++I)
        if (Box.Images[I]->Visible())
            return I + 1;
    return 0;
}

TEST_F(FlatPromptTest, IconsSetsAndAnswersMapOntoTheBox) {
    const struct {
        int Icon, Buttons;
        const wchar_t* Click;
        int Result;
        int Picture;
        const wchar_t* Shown;
    } Cases[] = {
        {IPrompt::IconQuestion, IPrompt::ButtonsOk, L"btnOk", IPrompt::ResultOk, 1, L"btnOk"},
        {IPrompt::IconInformation, IPrompt::ButtonsYesNo, L"btnYes", IPrompt::ResultYes, 2,
         L"btnYes btnNo"},
        {IPrompt::IconExclamation, IPrompt::ButtonsYesNo, L"btnNo", IPrompt::ResultNo, 3,
         L"btnYes btnNo"},
        {IPrompt::IconStop, IPrompt::ButtonsYesNoCancel, L"btnCancel", IPrompt::ResultCancel, 4,
         L"btnCancel btnYes btnNo"},
        {IPrompt::IconQuestion, IPrompt::ButtonsYesYesToAllNoNoToAllCancel, L"btnYesToAll",
         IPrompt::ResultYesToAll, 1, L"btnCancel btnYes btnNo btnNoToAll btnYesToAll"},
        {IPrompt::IconQuestion, IPrompt::ButtonsYesYesToAllNoNoToAllCancel, L"btnNoToAll",
         IPrompt::ResultNoToAll, 1, L"btnCancel btnYes btnNo btnNoToAll btnYesToAll"},
        // No picture for an icon the prompt does not know; a set it does not know still has OK.
        {0, 17, L"btnOk", IPrompt::ResultOk, 0, L"btnOk"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Click);
        SCOPED_TRACE(C.Buttons);
        int Picture = -1;
        String Shown;
        const String Click = C.Click;
        WhenWindowShown<TfrmFlatMessageBox>(L"Prompt test", [&, Click](TfrmFlatMessageBox& Box) {
            Picture = ShownIcon(Box);
            Shown = ShownButtons(Box);
            PostClick(static_cast<TWinControl*>(Box.FindComponent(Click))->Handle());
        });
        EXPECT_EQ(Prompt->MessageBox(L"Prompt test", L"Go on?", C.Icon, C.Buttons), C.Result);
        EXPECT_EQ(Picture, C.Picture);
        EXPECT_EQ(Shown, C.Shown);
    }
}

TEST_F(FlatPromptTest, ABoxWithoutButtonsClosedByTheSystemIsCancel) {
    String Shown = L"?";
    WhenWindowShown<TfrmFlatMessageBox>(L"Prompt test", [&](TfrmFlatMessageBox& Box) {
        Shown = ShownButtons(Box);
        PostMessageW(Box.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(Prompt->MessageBox(L"Prompt test", L"Working", IPrompt::IconInformation,
                                 IPrompt::ButtonsNone),
              IPrompt::ResultCancel);
    EXPECT_EQ(Shown, L"");
}

TEST_F(FlatPromptTest, InputQueryGivesTheTypedLineOnOkOnly) {
    for (const bool Ok : {true, false}) {
        SCOPED_TRACE(Ok);
        WhenWindowShown<TfrmInputQuery>(L"Prompt test", [Ok](TfrmInputQuery& Dialog) {
            Dialog.edSession->SetText(L"20000");
            PostClick((Ok ? Dialog.btnOK : Dialog.btnCancel)->Handle());
        });
        String Value = L"1440";
        EXPECT_EQ(Prompt->InputQuery(L"Prompt test", L"Size:", Value, 255, L""), Ok);
        EXPECT_EQ(Value, Ok ? L"20000" : L"1440");
    }
}

} // namespace

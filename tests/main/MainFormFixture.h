#pragma once
// The main window under test: a program folder in a temp folder, fake drives, prompt, shell and
// pickers, and clicks delivered as the mouse does.

#include "app/FlatForm.h"
#include "app/QRVDataMod.h"
#include "classlib/gui/Menus.h"
#include "classlib/gui/WindowProbe.h"
#include "main/MainForm.h"
#include "tests/main/ScanTestSupport.h"
#include "tests/support/FakeProgress.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

class MainFormTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        System = std::make_unique<TFlatFormSystem>(Folder.Path() + L"App\\Data\\");
        DataModule.reset(NewForm<TfrmDM>(nullptr));
        for (wchar_t Letter = L'D'; Letter <= L'Z'; ++Letter)
            Drives.Types[Letter] = DRIVE_NO_ROOT_DIR;
        Environment.Core.AppDir = Folder.Path() + L"App";
        Environment.Core.WindowsFolder = Folder.Path() + L"Windows";
        Environment.Core.BackupFolder = Folder.Path() + L"Backups";
        Environment.Core.Drives = &Drives;
        Environment.Core.Status = &Status;
        Environment.Core.Prompt = &Prompt;
        Environment.Core.Shell = &Shell;
        Environment.PickFolder = [](HWND, const String&, String&) { return false; };
        Environment.ShowScheduler = [] {};
        Environment.ShowReportViewer = [this] { ++ViewerShown; };
        Environment.Progress = &Progress;
        Environment.PopupMenu = [this](TPopupMenu& Menu) { PoppedUp.push_back(Menu.Name); };
    }
    void TearDown() override {
        GuiTest::TearDown();
        DataModule.reset();
        System.reset();
    }

    TfrmMain& MakeForm() {
        Form = NewForm<TfrmMain>(App.get(), Environment);
        Form->Show();
        return *Form;
    }

    // Clicks a control of the form as the mouse does, at the centre the probe tells.
    void Click(const String& Name) {
        const ATOM Atom = GlobalAddAtomW(Name.c_str());
        const LRESULT Answer = SendMessageW(Form->Handle(), ProbeMessage(), pqControlCentre,
                                            static_cast<LPARAM>(Atom));
        GlobalDeleteAtom(Atom);
        ASSERT_TRUE(ProbeAnswered(Answer)) << "not shown: " << ToUtf8(Name);
        PostClick(ProbePoint(Answer));
        App->ProcessMessages();
    }
    // Clicks the text or the check box of the row with that text in a named list.
    void ClickRow(const String& List, const String& Row, TProbeQuery Part = pqRowText) {
        const ATOM Atom = GlobalAddAtomW((List + ProbeRowSeparator + Row).c_str());
        const LRESULT Answer =
            SendMessageW(Form->Handle(), ProbeMessage(), Part, static_cast<LPARAM>(Atom));
        GlobalDeleteAtom(Atom);
        ASSERT_TRUE(ProbeAnswered(Answer)) << "no row " << ToUtf8(Row) << " in " << ToUtf8(List);
        PostClick(ProbePoint(Answer));
        App->ProcessMessages();
    }
    void ChooseMenuItem(const String& Name) {
        auto* Item = dynamic_cast<TMenuItem*>(FindNamedComponent(*Form, Name));
        ASSERT_NE(Item, nullptr) << ToUtf8(Name);
        Item->Click();
        App->ProcessMessages();
    }
    // The junk page's way to the results of a scan over Fixture alone.
    void ScanForJunk(const TTempFolder& Fixture) {
        Form->Core().ScanPaths.Clear();
        Form->Core().ScanPaths.AddFolder(ExcludeTrailingBackslash(Fixture.Path()));
        Click(L"btnCleanMyComputer");
        Click(L"labJunkFiles");
        Click(L"btnNext");
        Form->btnNextClick();
        ASSERT_EQ(Form->Core().Flow.Page(), pgScanResults);
    }
    // The texts of the list's rows that show, in order.
    static std::vector<String> ShownRows(const TCvTree& List) {
        std::vector<String> Texts;
        for (int I = 0; I < List.Items().TotalCount(); ++I) {
            const TCvTreeItem* Item = List.Items().ItemAtIndex(I);
            if (!(List.FilteredVisibility() && Item->IsHiddenState()))
                Texts.emplace_back(Item->Text());
        }
        return Texts;
    }
    void PostClick(TPoint Screen) {
        POINT At{Screen.X, Screen.Y};
        HWND Target = Form->Handle();
        for (HWND Child;; Target = Child) {
            POINT Client = At;
            ScreenToClient(Target, &Client);
            Child = ChildWindowFromPointEx(Target, Client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
            if (!Child || Child == Target)
                break;
        }
        ScreenToClient(Target, &At);
        PostMessageW(Target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(At.x, At.y));
        PostMessageW(Target, WM_LBUTTONUP, 0, MAKELPARAM(At.x, At.y));
    }

    TTempFolder Folder;
    std::unique_ptr<TFlatFormSystem> System;
    std::unique_ptr<TfrmDM> DataModule;
    TFakeDrives Drives;
    class : public IStatusSink {
        void SetStatus(const String&) override {}
    } Status;
    TFakePrompt Prompt;
    TFakeShell Shell;
    TFakeProgress Progress;
    int ViewerShown = 0;
    std::vector<String> PoppedUp;
    TMainFormEnvironment Environment;
    TfrmMain* Form = nullptr;
};

#pragma once
// The main window on a program folder in a temp folder, with fake drives, status, prompt and
// shell and no pickers: the base of the window's fixtures, which add their own fakes and clicks.

#include "app/FlatForm.h"
#include "app/QRVDataMod.h"
#include "main/MainForm.h"
#include "tests/main/ScanTestSupport.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/TempFolder.h"

#include <memory>

class MainWindowTest : public GuiTest {
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
        Environment.ShowReportViewer = [] {};
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

    TTempFolder Folder;
    std::unique_ptr<TFlatFormSystem> System;
    std::unique_ptr<TfrmDM> DataModule;
    TFakeDrives Drives;
    class : public IStatusSink {
        void SetStatus(const String&) override {}
    } Status;
    TFakePrompt Prompt;
    TFakeShell Shell;
    TMainFormEnvironment Environment;
    TfrmMain* Form = nullptr;
};

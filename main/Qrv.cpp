// Program entry of qrv: start-up, the message loop and teardown.
#include "app/AppStartup.h"
#include "app/FileInfo.h"
#include "app/FlatForm.h"
#include "app/Help.h"
#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "app/SplashForm.h"
#include "classlib/db/DBTables.h"
#include "classlib/gui/Forms.h"
#include "main/MainForm.h"

namespace {

const String AppTitle = L"System Corvanta 2";

String MessageText(const String& Ident) {
    String Text;
    AppLanguage->GetMessageText(Ident, Text);
    return Text;
}

// A database that cannot be used ends the start before the window is up, in words a user can
// act on; the files are left as they are.
void CreateMainWindow(TApplication& App) {
    try {
        App.CreateForm<TfrmMain>(TMainFormEnvironment{});
    } catch (const EDatabaseError& E) {
        frmSplash->Hide();
        throw Exception(L"System Corvanta 2 cannot start: its database in the Data folder of "
                        L"the program is damaged or cannot be read, and was left unchanged.\n\n"
                        L"Details: " +
                        E.Message());
    }
}

int RunProgram() {
    TSingleInstance Instance(TApplication::ExeName());
    if (Instance.AlreadyRunning()) {
        Instance.ActivateRunningInstance();
        return 0;
    }

    const TOleSession Ole; // shortcuts and shell menus need it for the whole run
    // The windows' layouts name the data module's lists, and the frame pictures outlive every
    // window: both are made before the application object and go after it.
    const std::unique_ptr<TfrmDM> DataModule(NewForm<TfrmDM>(nullptr));
    TFlatFormSystem FormSystem(AppDir + L"Data\\");
    TApplication App;
    Instance.Serve(App);
    App.SetTitle(AppTitle);
    BindHtmlHelp();

    CheckStartFiles(ConfigFileName());
    LoadAppLanguage(ConfigFileName());
    ConfigWriteTest(ConfigFileName());

    frmSplash = NewForm<TfrmSplash>(&App);
    frmSplash->ShowFlat();
    frmSplash->SetStatus(MessageText(L"sLoading"));
    App.Initialize();
    frmSplash->SetStatus(L"Loading Main Window...");
    CreateMainWindow(App);
    frmSplash->SetStatus(MessageText(L"sLoading"));

    frmSplash->Hide();
    App.ProcessMessages();
    App.Run();

    delete frmSplash;
    return 0; // the application deletes the remaining windows as it goes
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return RunProgramEntry(AppTitle, RunProgram);
}

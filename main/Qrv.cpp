// Program entry of qrv: start-up, the message loop and teardown.
#include "app/AppStartup.h"
#include "app/FileInfo.h"
#include "app/FlatForm.h"
#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "app/SplashForm.h"
#include "classlib/gui/Forms.h"

namespace {

const String AppTitle = L"System Corvanta 2";

String MessageText(const String& Ident) {
    String Text;
    AppLanguage->GetMessageText(Ident, Text);
    return Text;
}

// Stands in for the main window until the real one is built: a plain window with the
// application's title, so that the program has a window to run its loop for.
void CreateMainWindow(TApplication& App) {
    TForm* MainWindow = App.CreateForm<TForm>();
    MainWindow->Name = L"frmMain";
    MainWindow->SetCaption(App.Title());
    MainWindow->SetBounds(0, 0, 640, 480);
    MainWindow->Position = poDesktopCenter;
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

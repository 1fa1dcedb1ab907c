// Program entry of qrvsched: start-up, the message loop and teardown.
#include "app/AppStartup.h"
#include "app/FileInfo.h"
#include "app/FlatForm.h"
#include "app/Help.h"
#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "classlib/gui/Forms.h"
#include "scheduler/MainForm.h"

namespace {

const String AppTitle = L"System Corvanta 2 Scheduler";

int RunProgram() {
    TSingleInstance Instance(TApplication::ExeName());
    if (Instance.AlreadyRunning()) {
        Instance.ActivateRunningInstance();
        return 0;
    }

    const TOleSession Ole; // the URL history of the privacy function is a COM object
    const std::unique_ptr<TfrmDM> DataModule(NewForm<TfrmDM>(nullptr));
    TFlatFormSystem FormSystem(AppDir + L"Data\\");
    TApplication App;
    Instance.Serve(App);
    App.Initialize();
    LoadAppLanguage(ConfigFileName());
    ConfigWriteTest(ConfigFileName());

    TSchedEnvironment Environment;
    Environment.ProgramFolder = AppDir;
    Environment.ExePath = TApplication::ExeName();
    Environment.SettingsFile = AppDir + L"qvsched.ini";
    Environment.Params = ProgramParams();
    auto* Window = App.CreateForm<TfrmSchedulerMain>(std::move(Environment));

    App.ShowMainForm = false;
    App.SetTitle(AppTitle);
    App.HelpFile = AppDir + L"System_Corvanta.chm";
    BindHtmlHelp();
    if (!Window->StartHidden())
        Window->ShowFlat();
    App.Run();
    return 0; // the application deletes the window, which saves the settings
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return RunProgramEntry(AppTitle, RunProgram);
}

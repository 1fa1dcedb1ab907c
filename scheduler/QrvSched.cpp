// Program entry of qrvsched: start-up, the message loop and teardown.
#include "app/AppStartup.h"
#include "app/Language.h"
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
    if (!Window->StartHidden())
        Window->Show();
    App.Run();
    return 0; // the application deletes the window, which saves the settings
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    AppDir = ExtractFilePath(TApplication::ExeName());
    int ExitCode = 1;
    try {
        ExitCode = RunProgram();
    } catch (const Exception& E) {
        MessageBoxW(nullptr, E.Message().c_str(), AppTitle.c_str(), MB_ICONERROR | MB_OK);
    } catch (const std::exception& E) {
        MessageBoxW(nullptr, FromUtf8(E.what()).c_str(), AppTitle.c_str(), MB_ICONERROR | MB_OK);
    }
    AppDir.clear();
    return ExitCode;
}

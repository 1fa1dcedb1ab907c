// Program entry of kestrum, the shutdown program the shutdown manager's task starts.
#include "app/AppStartup.h"
#include "app/FlatForm.h"
#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "classlib/gui/Forms.h"
#include "kestrum/ShutdownTask.h"

namespace {

const String AppTitle = L"System Corvanta 2";

int RunProgram() {
    const std::unique_ptr<TfrmDM> DataModule(NewForm<TfrmDM>(nullptr));
    TFlatFormSystem FormSystem(AppDir + L"Data\\");
    TApplication App;
    App.SetTitle(AppTitle);
    App.Initialize();
    LoadAppLanguage(ConfigFileName());

    const TShutdownOutcome Outcome = RunShutdownTask(ShutdownAsksFirst(ProgramParams()),
                                                     ShutdownStepsWithMessages(ShutDownWindows));
    return Outcome == soFailed ? 1 : 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return RunProgramEntry(AppTitle, RunProgram);
}

// The system configuration area: the startup manager, the shutdown manager, the system tweaks
// and the uninstaller list; and the logic behind those pages and the other system features,
// made with the window.
#include "app/PleaseWaitForm.h"
#include "classlib/gui/ImgList.h"
#include "main/AddRemovePrograms.h"
#include "main/dialogs/CookieListForm.h"
#include "main/InternetPrivacy.h"
#include "main/MainForm.h"
#include "main/RegistryCleaner.h"
#include "main/ShutdownManager.h"
#include "main/StartupManager.h"
#include "main/SystemTweaks.h"

namespace {

// The pictures the system lists show by index: 0 safe, 1 warning and 2 critical (the safety
// classes), 4 a command that can start and 5 one that cannot; 3 is not used.
TImageList* MakeStatusImages(TComponent& Owner) {
    auto* List = new TImageList(&Owner);
    List->Name = L"StatusImages";
    List->SetSize(16, 16);
    constexpr TColor Green = 0x40A040, Amber = 0x00A0E0, Red = 0x3030D0;
    AddDotPictures(*List, {Green, Amber, Red, clNone, Green, Red});
    return List;
}

// Environment as the host adjusts it: the system's own unless a test puts its fakes in.
template <typename TEnvironment>
TEnvironment Adjusted(const std::function<void(TEnvironment&)>& Adjust,
                      TEnvironment Environment = {}) {
    if (Adjust)
        Adjust(Environment);
    return Environment;
}

} // namespace

void TfrmMain::CreateSystemFeatures() {
    FPleaseWaitForm = NewForm<TfrmPleaseWait>(this);
    StatusImages = MakeStatusImages(*this);

    FStartup = std::make_unique<TStartupManager>(Adjusted(FEnvironment.AdjustStartup), *FContext);
    FUninstall =
        std::make_unique<TAddRemovePrograms>(Adjusted(FEnvironment.AdjustUninstall), *FContext);

    TShutdownEnvironment Shutdown;
    Shutdown.AppDir = FCore->AppDir();
    FShutdown = std::make_unique<TShutdownManager>(
        Adjusted(FEnvironment.AdjustShutdown, std::move(Shutdown)), *FContext);

    const TTweakEnvironment Tweaks = Adjusted(FEnvironment.AdjustTweaks);
    FTweakWindows = Tweaks.Windows;
    FTweaks = std::make_unique<TSystemTweaks>(Tweaks);

    FRegistry = std::make_unique<TRegistryCleaner>(
        *FCore, *FContext, TRegistryCleanerServices{FPleaseWaitForm, nullptr});
    FRegistry->OnRowsChanged = [this] { FillRegistryList(); };

    ICookiePicker* Picker = FEnvironment.CookiePicker;
    if (!Picker) {
        FOwnCookiePicker = std::make_unique<TCookieListPicker>();
        Picker = FOwnCookiePicker.get();
    }
    FPrivacy = std::make_unique<TInternetPrivacy>(
        *FCore, *FContext, TInternetPrivacyServices{FPleaseWaitForm, Picker});
}

namespace {

struct TSystemEntry {
    const wchar_t* Picture;
    const wchar_t* Label;
    void (TfrmMain::*Click)();
};
constexpr TSystemEntry SystemEntries[] = {
    {L"btnStartUpManager", L"labStartUpManager", &TfrmMain::btnStartUpManagerClick},
    {L"btnShutDownManager", L"labShutDownManager", &TfrmMain::btnShutDownManagerClick},
    {L"btnSystemTweak", L"labSystemTweak", &TfrmMain::btnSystemTweakClick},
    {L"btnAddRemovePrograms", L"labAddRemovePrograms", &TfrmMain::btnAddRemoveProgramsClick},
};

} // namespace

void TfrmMain::CreateSystemConfigurationPage(TPage& Page) {
    for (int I = 0; I < static_cast<int>(std::size(SystemEntries)); ++I) {
        const auto Click = SystemEntries[I].Click;
        MakeMenuEntry(Page, I, SystemEntries[I].Picture, SystemEntries[I].Label,
                      [this, Click] { (this->*Click)(); });
    }
}

#include "scheduler/MainForm.h"

#include "app/Language.h"
#include "scheduler/EditDateForm.h"
#include "scheduler/SchedPleaseWait.h"

namespace {

const wchar_t* const FuncNameKeys[SchedFuncCount] = {L"sFuncRegistryCleaner",
                                                     L"sFuncInternetPrivacy", L"sFuncFolderCleaner",
                                                     L"sFuncAppLauncher", L"sFuncJunkFiles"};

// The tray's two pictures: a clock face, blue while the scheduler is on, grey when off.
void AddTrayClockImages(TImageList& List) {
    for (const TColor Face : {TColor(0xC06020), clGray}) {
        TBitmap Image;
        Image.SetSize(16, 16);
        TCanvas& C = Image.Canvas();
        C.Brush().SetColor(clFuchsia);
        C.FillRect(TRect(0, 0, 16, 16));
        C.Brush().SetColor(clWhite);
        C.Pen().SetColor(Face);
        C.Pen().SetWidth(2);
        C.Ellipse(TRect(1, 1, 15, 15));
        C.Pen().SetWidth(1);
        C.MoveTo(8, 8);
        C.LineTo(8, 3);
        C.MoveTo(8, 8);
        C.LineTo(11, 10);
        List.AddMasked(Image, clFuchsia);
    }
}

// Settings, Run-key and glyph failures are swallowed without a message.
template <typename TStep> void Guarded(TStep&& Step) {
    try {
        Step();
    } catch (const Exception&) {
    }
}

} // namespace

TfrmSchedulerMain::TfrmSchedulerMain(TComponent* Owner, TSchedEnvironment Environment)
    : TForm(Owner), FEnv(std::move(Environment)), FCommandLine(ParseSchedCommandLine(FEnv.Params)),
      FOwnClock(FEnv.Clock ? nullptr : std::make_unique<TSystemClock>()),
      FClock(FEnv.Clock ? *FEnv.Clock : *FOwnClock), FSettings(FEnv.SettingsFile),
      FPleaseWait(std::make_unique<TSchedPleaseWait>(*this)) {
    Name = L"frmSchedulerMain";
    String Caption = L"System Corvanta 2 Scheduler";
    AppLanguage->GetText(Name, L"Caption", Caption);
    SetCaption(Caption);
    SetBounds(0, 0, 560, 420);
    Position = poDesktopCenter;

    FRunner =
        std::make_unique<TSchedRunner>(*FPleaseWait, SystemSchedRunPlaces(FEnv.ProgramFolder));
    FRunner->FuncName = [this](int Index) { return Funcs[Index].Name; };
    FRunner->OnRunningChanged = [this](bool Running) { EnableWindow(Handle(), !Running); };
    FCheck = std::make_unique<TScheduleCheck>(Funcs, *FRunner, FClock);
    FCheck->OnRunStarting = [this](int Index) { FSettings.SaveLastRun(Index, Funcs[Index]); };
    FTimer = new TTimer(this);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(5000);
    FTimer->OnTimer = [this](TObject*) { TimerTimer(); };
    ImageList1 = new TImageList(this);
    AddTrayClockImages(*ImageList1);
    CvTrayIcon = new TCvTrayIcon(this);
    CvTrayIcon->SetHint(L"System Corvanta 2 Scheduler");
    CvTrayIcon->SetIconList(ImageList1);
    CreateTrayMenu();

    HandleNeeded();
    FRunner->Window = Handle();
    LoadSettings();
    RunStartupCommands();
    ShowSchedFunc(FFuncIndex);
}

TfrmSchedulerMain::~TfrmSchedulerMain() {
    SaveAll();
}

String TfrmSchedulerMain::MessageText(const String& Ident) const {
    String Text = Ident;
    AppLanguage->GetMessageText(Ident, Text);
    return Text;
}

void TfrmSchedulerMain::LoadSettings() {
    FSchedulerOn = FSettings.ReadEnabled();
    FHideTrayIcon = FSettings.ReadHideTrayIcon();
    FSettings.WriteHandle(Handle());
    FTimer->SetEnabled(FSchedulerOn);
    UpdateTrayIcon();
    const TDateTime Now = FClock.Now();
    for (int I = 0; I < SchedFuncCount; ++I) {
        Funcs[I].Name = MessageText(FuncNameKeys[I]);
        FSettings.LoadSchedFunc(I, Funcs[I], Now);
        SavedFuncs[I] = Funcs[I];
    }
}

void TfrmSchedulerMain::RunStartupCommands() {
    for (const TSchedCommandLine::TCommand Command : FCommandLine.Commands) {
        if (Command == TSchedCommandLine::cmEnable) {
            if (!FSchedulerOn)
                mnEnabledClick();
            continue;
        }
        // At Windows start: the functions of that kind run once, each with its stored list;
        // their LastRun stays as it is.
        for (int I = 0; I < SchedFuncCount; ++I)
            if (Funcs[I].Enabled && Funcs[I].Intervals == siWindowsStart)
                FRunner->RunSchedFunc(I, Funcs[I].Parameters);
    }
}

void TfrmSchedulerMain::ShowSchedFunc(int Index) {
    FControlsLoaded = false;
    ::ShowSchedFunc(Index, Funcs[Index], View);
    FControlsLoaded = true;
}

void TfrmSchedulerMain::StoreShownFunc() {
    if (!FControlsLoaded)
        return;
    if (View.Enabled)
        SwitchSchedulerOn();
    ::StoreSchedFunc(FFuncIndex, View, Funcs[FFuncIndex]);
}

void TfrmSchedulerMain::SwitchSchedulerOn() {
    FSchedulerOn = false;
    mnEnabledClick();
}

void TfrmSchedulerMain::CreateTrayMenu() {
    TrayMenu = new TPopupMenu(this);
    TrayMenu->SetImages(ImageList1);
    const auto Add = [this](const wchar_t* Ident, void (TfrmSchedulerMain::*Handler)()) {
        auto* Item = new TMenuItem(this);
        Item->Caption = Ident ? MessageText(Ident) : String(L"-");
        if (Handler)
            Item->OnClick = [this, Handler](TObject*) { (this->*Handler)(); };
        TrayMenu->Items().Add(Item);
        return Item;
    };
    Add(L"mnStartQRV", &TfrmSchedulerMain::mnStartMSTClick);
    Add(nullptr, nullptr);
    mnEnabled = Add(L"mnEnableSched", &TfrmSchedulerMain::mnEnabledClick);
    // Also what a double click on the tray icon chooses.
    Add(L"mnOpenSched", &TfrmSchedulerMain::mnConfigClick)->Default = true;
    HideTrayIcon1 = Add(L"mnHideTrayIcon", &TfrmSchedulerMain::HideTrayIcon1Click);
    Add(nullptr, nullptr);
    Add(L"mnDisableClose", &TfrmSchedulerMain::mnDisableClick);
    Add(L"mnClose", &TfrmSchedulerMain::mnCloseClick);
    CvTrayIcon->SetPopupMenu(TrayMenu);
}

void TfrmSchedulerMain::UpdateTrayIcon() {
    FTrayIcon = SchedTrayIconState(FSchedulerOn, Visible(), FHideTrayIcon);
    CvTrayIcon->SetIconIndex(FTrayIcon.ImageIndex);
    CvTrayIcon->SetIconVisible(FTrayIcon.Visible);
    mnEnabled->Checked = FSchedulerOn;
    mnEnabled->ImageIndex = FTrayIcon.ImageIndex;
    HideTrayIcon1->Checked = FHideTrayIcon;
    HideTrayIcon1->ImageIndex = FHideTrayIcon ? 0 : 1;
}

void TfrmSchedulerMain::SaveAll() {
    FSettings.WriteEnabled(FSchedulerOn);
    FSettings.WriteHandle(nullptr);
    for (int I = 0; I < SchedFuncCount; ++I)
        FSettings.SaveSchedFunc(I, Funcs[I]);
}

void TfrmSchedulerMain::HideWindow() {
    Hide();
    UpdateTrayIcon();
}

// ----------------------------------------------------------------- tray menu

void TfrmSchedulerMain::mnStartMSTClick() {
    const String Qrv = FEnv.ProgramFolder + L"qrv.exe";
    ShellExecuteW(Handle(), L"open", Qrv.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TfrmSchedulerMain::mnEnabledClick() {
    FSchedulerOn = !FSchedulerOn;
    FTimer->SetEnabled(FSchedulerOn);
    UpdateTrayIcon();
    if (FSchedulerOn)
        WriteSchedRunValue(FEnv.RunKeyPath, FEnv.ExePath);
    else
        DeleteSchedRunValue(FEnv.RunKeyPath);
}

void TfrmSchedulerMain::mnConfigClick() {
    // Opening it again while it is open keeps the snapshot and the edits in the controls.
    if (!Visible()) {
        for (int I = 0; I < SchedFuncCount; ++I)
            CopySchedSettings(SavedFuncs[I], Funcs[I]);
        ModalResult = mrNone;
        ShowSchedFunc(FFuncIndex);
    }
    Show();
    UpdateTrayIcon();
}

void TfrmSchedulerMain::HideTrayIcon1Click() {
    FHideTrayIcon = !FHideTrayIcon;
    FSettings.WriteHideTrayIcon(FHideTrayIcon);
    UpdateTrayIcon();
}

void TfrmSchedulerMain::mnDisableClick() {
    FSchedulerOn = false;
    FTimer->SetEnabled(false);
    FSettings.WriteEnabled(false);
    DeleteSchedRunValue(FEnv.RunKeyPath);
    FAllowClose = true;
    FClosingFromTray = true;
    Close();
}

void TfrmSchedulerMain::mnCloseClick() {
    FSettings.WriteEnabled(FSchedulerOn);
    FAllowClose = true;
    FClosingFromTray = true;
    Close();
}

// ------------------------------------------------------------------- buttons

void TfrmSchedulerMain::FuncButtonClick(int Index) {
    if (Index < 0 || Index >= SchedFuncCount)
        return;
    StoreShownFunc();
    FFuncIndex = Index;
    ShowSchedFunc(Index);
}

void TfrmSchedulerMain::btnOKClick() {
    ModalResult = mrOk;
    StoreShownFunc();
    for (int I = 0; I < SchedFuncCount; ++I) {
        if (Funcs[I].Enabled)
            SwitchSchedulerOn();
        FSettings.SaveSchedFunc(I, Funcs[I]);
    }
    HideWindow();
}

void TfrmSchedulerMain::btnCancelClick() {
    ModalResult = mrCancel;
    for (int I = 0; I < SchedFuncCount; ++I)
        CopySchedSettings(Funcs[I], SavedFuncs[I]);
    HideWindow();
}

void TfrmSchedulerMain::btnRunNowClick() {
    // The shown controls as they are, stored or not.
    TSchedFunc Shown = Funcs[FFuncIndex];
    ::StoreSchedFunc(FFuncIndex, View, Shown);
    FRunner->RunSchedFunc(FFuncIndex, Shown.Parameters);
}

void TfrmSchedulerMain::btnDateClick() {
    EditDateText(View.DateText);
}

void TfrmSchedulerMain::TimerTimer() {
    FCheck->CheckSchedule();
}

// ------------------------------------------------------------ closing, messages

void TfrmSchedulerMain::DoClose(TCloseAction& Action) {
    if (ModalResult == mrOk && !FClosingFromTray)
        StoreShownFunc();
    FClosingFromTray = false;
    Action = FAllowClose ? caHide : caNone;
    if (Action == caNone)
        HideWindow(); // the program stays in the tray
    TForm::DoClose(Action);
}

bool TfrmSchedulerMain::OpenCommand(WPARAM Atom) {
    wchar_t Name[261] = {};
    const UINT Length = GlobalGetAtomNameW(static_cast<ATOM>(Atom), Name, 261);
    // Any process can send this: an atom that cannot be read is no command.
    return Length > 0 && LowerCase(String(Name, Length)).find(L"open") != String::npos;
}

void TfrmSchedulerMain::EndSession(bool Ending) {
    if (!Ending) {
        FAllowClose = false; // another program cancelled the shutdown
        return;
    }
    SaveAll(); // the process may end without its windows being destroyed
}

void TfrmSchedulerMain::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SCHED_REVIVE:
        Message.Result = 1;
        mnConfigClick();
        return;
    case WM_SCHED_PING:
        Message.Result = SchedPingReply;
        return;
    case WM_SCHED_ACTIVATE:
        if (IsIconic(Handle()))
            Application->Restore();
        else
            Application->BringToFront();
        return;
    case WM_SCHED_COMMAND:
        if (OpenCommand(Message.WParam))
            mnConfigClick();
        return;
    case WM_QUERYENDSESSION:
        FAllowClose = true;
        Message.Result = 1;
        return;
    case WM_ENDSESSION:
        EndSession(Message.WParam != 0);
        return;
    default:
        TForm::WndProc(Message);
    }
}

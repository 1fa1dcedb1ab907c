#include "scheduler/MainForm.h"

#include "app/FlatMessageBox.h"
#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "app/ShellStart.h"
#include "classlib/gui/NamedChild.h"
#include "scheduler/EditDateForm.h"
#include "scheduler/SchedPleaseWait.h"

#include <utility>

namespace {

constexpr int WindowWidth = 640;
constexpr int WindowHeight = 540;
// The tray menu's pictures, in the order of the strip.
enum TMenuImage {
    MenuImageOn,
    MenuImageOff,
    MenuImageStart,
    MenuImageOpen,
    MenuImageDisable,
    MenuImageClose,
};
// Posted to itself: a tray Close that waited for a run goes on.
constexpr UINT WM_SCHED_CLOSE_AFTER_RUN = WM_APP + 1;

struct TFuncButton {
    const wchar_t* Name;
    const wchar_t* Glyph;
    const wchar_t* CaptionKey;
};
const TFuncButton FuncButtonKinds[SchedFuncCount] = {
    {L"btnRegistryCleaner", L"RegistryCleaner.bmp", L"sModSchedRegistryCleaner"},
    {L"btnInternetPrivacy", L"InternetPrivacy.bmp", L"sModSchedInternetPrivacy"},
    {L"btnFolderCleaner", L"FolderCleaner.bmp", L"sModSchedFolderCleaner"},
    {L"btnApplicationLauncher", L"AppLauncher.bmp", L"sModSchedAppLauncher"},
    {L"btnJunkFiles", L"StartupManager.bmp", L"sModSchedJunkFiles"},
};

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

// The pictures of a strip of square images; a strip that cannot be read leaves the list empty.
void AddImageStrip(TImageList& List, const String& File) {
    try {
        TBitmap Strip;
        Strip.LoadFromFile(File);
        List.SetSize(Strip.Height(), Strip.Height());
        List.AddMasked(Strip, clFuchsia);
    } catch (const std::exception&) {
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
    : TFlatForm(Owner), FEnv(std::move(Environment)),
      FCommandLine(ParseSchedCommandLine(FEnv.Params)),
      FOwnClock(FEnv.Clock ? nullptr : std::make_unique<TSystemClock>()),
      FClock(FEnv.Clock ? *FEnv.Clock : *FOwnClock), FSettings(FEnv.SettingsFile),
      FPleaseWait(std::make_unique<TSchedPleaseWait>(*this)) {
    Name = L"frmSchedulerMain";
    String Caption = L"System Corvanta 2 Scheduler";
    AppLanguage->GetText(Name, L"Caption", Caption);
    SetFormCaption(Caption);
    SetBounds(0, 0, WindowWidth, WindowHeight);
    Position = poDesktopCenter;
    OnClose = [this](TObject*, TCloseAction& Action) { FormClose(Action); };

    FRunner =
        std::make_unique<TSchedRunner>(*FPleaseWait, SystemSchedRunPlaces(FEnv.ProgramFolder));
    FRunner->FuncName = [this](int Index) { return Funcs[Index].Name; };
    FRunner->OnRunningChanged = [this](bool Running) { RunningChanged(Running); };
    FCheck = std::make_unique<TScheduleCheck>(Funcs, *FRunner, FClock);
    FCheck->OnRunStarting = [this](int Index) { FSettings.SaveLastRun(Index, Funcs[Index]); };
    FTimer = new TTimer(this);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(5000);
    FTimer->OnTimer = [this](TObject*) { TimerTimer(); };
    ImageList1 = new TImageList(this);
    AddTrayClockImages(*ImageList1);
    const String Art = FEnv.ProgramFolder + L"Data\\Buttons\\Scheduler\\";
    ImageList2 = new TImageList(this);
    AddImageStrip(*ImageList2, Art + L"Menu.bmp");
    InternetPrivacyImageList = new TImageList(this);
    AddImageStrip(*InternetPrivacyImageList, Art + L"Privacy.bmp");
    CvTrayIcon = new TCvTrayIcon(this);
    CvTrayIcon->SetHint(L"System Corvanta 2 Scheduler");
    CvTrayIcon->SetIconList(ImageList1);
    CreateTrayMenu();
    BrowseFolder = new TBrowseFolder(this);
    BrowseFolder->TitleText = L"Choose the Folder";
    // The lists hold paths: a shell place without one is no choice.
    BrowseFolder->DisplayOptions = {bfReturnOnlyFileSystemDirs};
    if (!FEnv.PickFolder)
        FEnv.PickFolder = [this](HWND Owner, const String&, String& Folder) {
            if (!BrowseFolder->Execute(Owner))
                return false;
            Folder = BrowseFolder->FolderPath();
            return true;
        };
    if (!FEnv.Notice)
        FEnv.Notice = [this](const String& Text) {
            ShowFlatMessageBox(this, FormCaption(), Text, fmiInformation, 0);
        };
    FlatHint1 = new TFlatHint(this);
    FlatHint1->Name = L"FlatHint1";
    // The controls follow the window: every control of the scheduler shows its hint.
    SetShowHint(true);
    OpenDialog = new TOpenDialog(this);
    OpenDialog->Filter = L"Any File (*.*)|*.*";
    OpenDialog->DefaultExt = L"*.*";
    OpenDialog->Options = {ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing};
    CreateControls();

    HandleNeeded();
    FRunner->Window = Handle();
    LoadSettings();
    RunStartupCommands();
    ShowSchedFunc(FFuncIndex);
}

TfrmSchedulerMain::~TfrmSchedulerMain() {
    SaveAll();
    // The controls' handlers reach the schedule and the runner: the controls go first.
    DestroyComponents();
}

void TfrmSchedulerMain::CreateControls() {
    CreateFunctionButtons();
    labFuncName = MakeNamedChild<TLabel>(*this, *this, L"labFuncName", Bounds(180, 46, 446, 20));
    labFuncName->SetTransparent(true);
    labFuncName->Font().SetStyle({fsBold});
    labFuncName->Font().SetHeight(-15);
    labFuncName->Font().SetColor(TColor(0x964C02));
    chkEnabled =
        MakeNamedChild<TFlatCheckBox>(*this, *this, L"chkEnabled", Bounds(180, 70, 446, 18));
    Notebook = MakeNamedChild<TNotebook>(*this, *this, L"Notebook", Bounds(180, 94, 446, 180));
    for (const wchar_t* Page : SchedPageNames)
        Notebook->AddPage(Page);
    CreateRegistryPage(*Notebook->Pages(sfRegistryCleaner));
    CreatePrivacyPage(*Notebook->Pages(sfInternetPrivacy));
    CreateListPages();
    CreateIntervals();
    btnRunNow = MakeButton(*this, L"btnRunNow", Bounds(180, 500, 120, 25), true, GlyphRunNow,
                           &TfrmSchedulerMain::btnRunNowClick);
    btnOK = MakeButton(*this, L"btnOK", Bounds(430, 500, 95, 25), true, GlyphNone,
                       &TfrmSchedulerMain::btnOKClick);
    btnCancel = MakeButton(*this, L"btnCancel", Bounds(531, 500, 95, 25), true, GlyphNone,
                           &TfrmSchedulerMain::btnCancelClick);
}

void TfrmSchedulerMain::CreateFunctionButtons() {
    const String Folder = FEnv.ProgramFolder + L"Data\\Buttons\\Scheduler\\";
    for (int I = 0; I < SchedFuncCount; ++I) {
        const TFuncButton& Kind = FuncButtonKinds[I];
        auto* Button =
            MakeNamedChild<TFlatButton>(*this, *this, Kind.Name, Bounds(14, 46 + I * 91, 156, 85));
        Button->SetLayout(blGlyphTop);
        Button->SetTabStop(true); // Space presses it
        // The shown function's button stays down.
        Button->SetGroupIndex(1);
        Button->SetCaption(MessageText(Kind.CaptionKey));
        Button->OnClick = [this, I](TObject*) { FuncButtonClick(I); };
        // A glyph that cannot be read leaves the button with its caption only.
        Guarded([&] {
            TBitmap Glyph;
            Glyph.LoadFromFile(Folder + Kind.Glyph);
            Button->SetGlyph(Glyph);
        });
        FuncButtons[I] = Button;
    }
}

TavImageExpandButton* TfrmSchedulerMain::MakeButton(TWinControl& Parent, const String& Name,
                                                    const TRect& Bounds, bool Big, int Glyph,
                                                    void (TfrmSchedulerMain::*Handler)()) {
    auto* Button = MakeNamedChild<TavImageExpandButton>(*this, Parent, Name, Bounds);
    Button->SetTabStop(true); // Space presses it
    Button->Tag = Glyph;
    if (frmDM)
        Button->SetImageList(Big ? frmDM->avILBig : frmDM->avILInside);
    Button->OnClick = [this, Handler](TObject*) { (this->*Handler)(); };
    return Button;
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
    // Starts from what the controls hold: a kind the record cannot show leaves the buttons.
    TSchedView View = ShownView(Index);
    ::ShowSchedFunc(Index, Funcs[Index], View);
    Notebook->SetPageIndex(Index);
    FuncButtons[Index]->SetDown(true);
    PutView(Index, View);
    FControlsLoaded = true;
}

void TfrmSchedulerMain::StoreShownFunc() {
    if (!FControlsLoaded)
        return;
    const TSchedView View = ShownView(FFuncIndex);
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
    TrayMenu->SetImages(ImageList2);
    // Name, caption key, picture (the on/off ones follow the state), handler.
    struct TTrayItem {
        const wchar_t* Name;
        const wchar_t* Key;
        int Image;
        void (TfrmSchedulerMain::*Handler)();
    };
    const TTrayItem Items[] = {
        {L"mnStartMST", L"mnStartQRV", MenuImageStart, &TfrmSchedulerMain::mnStartMSTClick},
        {L"N1", nullptr, -1, nullptr},
        {L"mnEnabled", L"mnEnableSched", MenuImageOn, &TfrmSchedulerMain::mnEnabledClick},
        {L"mnConfig", L"mnOpenSched", MenuImageOpen, &TfrmSchedulerMain::mnConfigClick},
        {L"HideTrayIcon1", L"mnHideTrayIcon", MenuImageOff, &TfrmSchedulerMain::HideTrayIcon1Click},
        {L"N2", nullptr, -1, nullptr},
        {L"mnDisable", L"mnDisableClose", MenuImageDisable, &TfrmSchedulerMain::mnDisableClick},
        {L"mnClose", L"mnClose", MenuImageClose, &TfrmSchedulerMain::mnCloseClick},
    };
    for (const TTrayItem& Entry : Items) {
        auto* Item = new TMenuItem(this);
        Item->Name = Entry.Name;
        Item->Caption = Entry.Key ? MessageText(Entry.Key) : String(L"-");
        Item->ImageIndex = Entry.Image;
        if (const auto Handler = Entry.Handler)
            Item->OnClick = [this, Handler](TObject*) { (this->*Handler)(); };
        TrayMenu->Items().Add(Item);
    }
    const auto Item = [this](const wchar_t* Name) {
        return static_cast<TMenuItem*>(FindComponent(Name));
    };
    mnEnabled = Item(L"mnEnabled");
    mnConfig = Item(L"mnConfig");
    HideTrayIcon1 = Item(L"HideTrayIcon1");
    // Also what a double click on the tray icon chooses, after its own handler.
    mnConfig->Default = true;
    CvTrayIcon->OnDblClick = [this](TObject*) { CvTrayIconDblClick(); };
    CvTrayIcon->SetPopupMenu(TrayMenu);
}

void TfrmSchedulerMain::UpdateTrayIcon() {
    FTrayIcon = SchedTrayIconState(FSchedulerOn, Visible(), FHideTrayIcon);
    CvTrayIcon->SetIconIndex(FTrayIcon.ImageIndex);
    CvTrayIcon->SetIconVisible(FTrayIcon.Visible);
    mnEnabled->Checked = FSchedulerOn;
    mnEnabled->ImageIndex = FSchedulerOn ? MenuImageOn : MenuImageOff;
    HideTrayIcon1->Checked = FHideTrayIcon;
    HideTrayIcon1->ImageIndex = FHideTrayIcon ? MenuImageOn : MenuImageOff;
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
    if (const DWORD Error = StartShellRequest(Handle(), {L"open", Qrv, String(), String()}))
        ShowFlatMessageBox(
            this, Application->Title(),
            WithSystemReason(Format(MessageText(L"sProgramNotStarted"), {Qrv}), Error), fmiStop, 0);
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
    ShowFlat();
    UpdateTrayIcon();
}

void TfrmSchedulerMain::CvTrayIconDblClick() {
    if (mnConfig->Enabled)
        mnConfigClick();
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
    UpdateTrayIcon();
    CloseFromTray();
}

void TfrmSchedulerMain::mnCloseClick() {
    FSettings.WriteEnabled(FSchedulerOn);
    CloseFromTray();
}

void TfrmSchedulerMain::CloseFromTray() {
    FAllowClose = true;
    FClosingFromTray = true;
    // The tray stays live during a run: the window and its lists outlive the running function.
    if (FRunner->Running()) {
        FCloseAfterRun = true;
        // Functions due at the same tick wait behind the run: none starts after Close.
        FTimer->SetEnabled(false);
        FCheck->Stop();
        return;
    }
    Close();
}

void TfrmSchedulerMain::RunningChanged(bool Running) {
    // A dialog over the window disabled it too: only what the run disabled is enabled again.
    if (Running)
        FRunDisabledWindow = !EnableWindow(Handle(), false); // zero: it was enabled
    else if (std::exchange(FRunDisabledWindow, false))
        EnableWindow(Handle(), true);
    if (!Running && FCloseAfterRun) {
        FCloseAfterRun = false;
        PostMessageW(Handle(), WM_SCHED_CLOSE_AFTER_RUN, 0, 0);
    }
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
    if (FRunner->Running())
        return;
    // The shown controls as they are, stored or not.
    TSchedFunc Shown = Funcs[FFuncIndex];
    ::StoreSchedFunc(FFuncIndex, ShownView(FFuncIndex), Shown);
    FRunner->RunSchedFunc(FFuncIndex, Shown.Parameters);
    // A tray Close during the run ends the program instead.
    if (FAllowClose || !Visible())
        return;
    // The busy window took the activation with it; the user who asked waits here.
    SetForegroundWindow(Handle());
    String Text = L"%s has run.";
    AppLanguage->GetMessageText(L"sSchedRunDone", Text);
    FEnv.Notice(Format(Text, {Funcs[FFuncIndex].Name}));
}

void TfrmSchedulerMain::btnDateClick() {
    String Text = edDate->Text();
    if (EditDateText(Text))
        edDate->SetText(Text);
}

void TfrmSchedulerMain::TimerTimer() {
    FCheck->CheckSchedule();
}

// ------------------------------------------------------------ closing, messages

void TfrmSchedulerMain::FormClose(TCloseAction& Action) {
    if (ModalResult == mrOk && !FClosingFromTray)
        StoreShownFunc();
    FClosingFromTray = false;
    Action = FAllowClose ? caHide : caNone;
    if (Action == caNone)
        HideWindow(); // the program stays in the tray
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
    case WM_SCHED_CLOSE_AFTER_RUN:
        Close();
        return;
    case CM_DIALOGKEY:
        // Enter presses the focused button or else confirms the window; Escape cancels it.
        if (Message.WParam == VK_RETURN) {
            if (auto* Button = dynamic_cast<TWinPushButton*>(ActiveControl()))
                Button->Click();
            else
                btnOKClick();
            Message.Result = 1;
        } else if (Message.WParam == VK_ESCAPE) {
            btnCancelClick();
            Message.Result = 1;
        } else {
            TFlatForm::WndProc(Message);
        }
        return;
    default:
        TFlatForm::WndProc(Message);
    }
}

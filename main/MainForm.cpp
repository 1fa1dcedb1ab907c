#include "main/MainForm.h"

#include "app/AppStartup.h"
#include "app/BFolder.h"
#include "app/FileInfo.h"
#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "app/QRVUtils.h"
#include "app/TreeLists.h"
#include "classlib/gui/Dialogs.h"
#include "classlib/gui/NamedChild.h"
#include "app/ProgressForm.h"
#include "main/DuplicateFinder.h"
#include "classlib/gui/Menus.h"
#include "controls/FlatRadioButton.h"
#include "main/AddRemovePrograms.h"
#include "main/FeatureContext.h"
#include "main/FileActions.h"
#include "main/dialogs/FilterForm.h"
#include "main/FolderCleaner.h"
#include "main/dialogs/OrganizeForm.h"
#include "main/InternetPrivacy.h"
#include "main/RegistryCleaner.h"
#include "main/ShutdownManager.h"
#include "main/StartupManager.h"
#include "treelist/CvTree.h"
#include "main/dialogs/JunkFilesOptionsEdit.h"
#include "main/RecoveryStore.h"
#include "main/Report.h"
#include "main/SplitPages.h"
#include "main/dialogs/ViewReportForm.h"

namespace {

constexpr int WindowWidth = 721;
constexpr int WindowHeight = 535;
const TRect NotebookBounds = Bounds(174, 89, 547, 413);
// Where the pages' lists and the buttons under them start, as on every page.
constexpr int PageListLeft = 16;

// The left column, by TMainArea: picture and label names and their files.
struct TAreaColumn {
    const wchar_t* Picture;
    const wchar_t* Label;
    const wchar_t* Bevel;
    const wchar_t* File;
};
constexpr std::array<TAreaColumn, 5> AreaColumn{{
    {L"btnICleanMyComputer", L"labMainCleanMyComputer", L"bvMainCleanMyComputer",
     L"clean my computer.bmp"},
    {L"btnISystemConfiguration", L"labMainSystemConfiguration", L"bvMainSystemConfiguration",
     L"system configuration.bmp"},
    {L"btnIBackupData", L"labMainBackupYourData", L"bvMainBackupYourData", L"backup your data.bmp"},
    {L"btnIAdvancedFeatures", L"labMainAdvancedFeatures", L"bvMainAdvancedFeatures",
     L"advanced features.bmp"},
    {L"btnIRestoreDeletedFiles", L"labMainRestoreDeletedFiles", L"bvMainRestoreDeleted",
     L"restore deleted.bmp"},
}};
constexpr int FirstBevelTop = 170;
constexpr int BevelStep = 64;

bool PickFolderWithShell(HWND Owner, const String& Caption, String& Folder) {
    TBrowseFolder Browser(nullptr);
    Browser.TitleText = Caption;
    Browser.DisplayOptions = {bfReturnOnlyFileSystemDirs};
    if (!Browser.Execute(Owner))
        return false;
    Folder = Browser.FolderPath();
    return true;
}

} // namespace

const std::array<TPictureFile, 31> BigPictures{{
    {L"btnCleanMyComputer", L"clean my computer.bmp"},
    {L"btnSystemConfiguration", L"system configuration.bmp"},
    {L"btnBackupData", L"backup your data.bmp"},
    {L"btnAdvancedFeatures", L"advanced features.bmp"},
    {L"btnRestoreDeletedFiles", L"restore deleted.bmp"},
    {L"btnJunkFiles", L"junk files.bmp"},
    {L"btnLargeFiles", L"large files.bmp"},
    {L"btnOldFiles", L"old files.bmp"},
    {L"btnEmptyFolders", L"empty folders.bmp"},
    {L"btnBrokenLinks", L"broken links.bmp"},
    {L"btnFolderCleaner", L"quickly temporary folder cleaner.bmp"},
    {L"btnInternetPrivacy", L"internet privacy.bmp"},
    {L"btnDuplicateFiles", L"duplicate files.bmp"},
    {L"btnRegistryCleaner", L"registry cleaner.bmp"},
    {L"btnDefragment", L"defragment.bmp"},
    {L"btnSplitCombineFiles", L"split and combine.bmp"},
    {L"btnCleanInternetCache", L"cache.bmp"},
    {L"btnCleanInternetCookieFiles", L"cookies.bmp"},
    {L"btnCleanInternetRecentURL", L"url.bmp"},
    {L"btnCleanInternetHistory", L"history.bmp"},
    {L"btnCleanRecentDocuments", L"document.bmp"},
    {L"btnSplitFiles", L"split.bmp"},
    {L"btnCombineFiles", L"combine.bmp"},
    {L"btnBackupRestoreBackupFiles", L"backup files.bmp"},
    {L"btnBackupRestoreRestoreFiles", L"restore backuped.bmp"},
    {L"btnBackupLocal", L"backup local.bmp"},
    {L"btnBackupRemote", L"backup remote.bmp"},
    {L"btnStartUpManager", L"startup manager.bmp"},
    {L"btnShutDownManager", L"shutdown manager.bmp"},
    {L"btnSystemTweak", L"system tweak.bmp"},
    {L"btnAddRemovePrograms", L"uninstall bad programs.bmp"},
}};

int LoadablePictureCount(const std::vector<bool>& Readable) {
    int Count = 0;
    while (Count < static_cast<int>(Readable.size()) && Readable[Count])
        ++Count;
    return Count;
}

namespace {

// Appends Count pictures of 16 x 16 to List, each drawn by Draw on a ground the list leaves out.
void AddDrawnPictures(TImageList& List, int Count,
                      const std::function<void(TCanvas& Canvas, int Index)>& Draw) {
    for (int Index = 0; Index < Count; ++Index) {
        TBitmap Picture;
        Picture.SetSize(16, 16);
        TCanvas& Canvas = Picture.Canvas();
        Canvas.Brush().SetColor(clFuchsia);
        Canvas.FillRect(TRect(0, 0, 16, 16));
        Draw(Canvas, Index);
        List.AddMasked(Picture, clFuchsia);
    }
}

} // namespace

void AddDotPictures(TImageList& List, std::initializer_list<TColor> Colours) {
    const std::vector<TColor> Dots(Colours);
    AddDrawnPictures(List, static_cast<int>(Dots.size()), [&](TCanvas& Canvas, int Index) {
        if (Dots[Index] == clNone)
            return;
        Canvas.Brush().SetColor(Dots[Index]);
        Canvas.Pen().SetColor(Dots[Index]);
        Canvas.Ellipse(TRect(3, 3, 13, 13));
    });
}

void AddListPictures(TImageList& List) {
    constexpr TColor Outline = 0x707070, Paper = clWhite, Band = 0x3030C0, FolderFill = 0x60C8F0,
                     FolderLine = 0x1E6E96;
    AddDrawnPictures(List, lpFolder + 1, [&](TCanvas& Canvas, int Index) {
        Canvas.Pen().SetColor(Outline);
        Canvas.Brush().SetColor(Paper);
        switch (Index) {
        case lpDay: // a calendar leaf
            Canvas.Rectangle(TRect(1, 2, 15, 15));
            Canvas.Brush().SetColor(Band);
            Canvas.FillRect(TRect(2, 3, 14, 6));
            for (int Y = 8; Y <= 12; Y += 2)
                for (int X = 3; X <= 11; X += 3)
                    Canvas.FillRect(TRect(X, Y, X + 2, Y + 1));
            break;
        case lpFile: // a page with a folded corner
            Canvas.Polygon(
                {TPoint{3, 1}, TPoint{10, 1}, TPoint{13, 4}, TPoint{13, 14}, TPoint{3, 14}});
            Canvas.MoveTo(10, 1);
            Canvas.LineTo(10, 4);
            Canvas.LineTo(13, 4);
            for (int Y = 7; Y <= 11; Y += 2) {
                Canvas.MoveTo(5, Y);
                Canvas.LineTo(11, Y);
            }
            break;
        case lpFolder:
            Canvas.Pen().SetColor(FolderLine);
            Canvas.Brush().SetColor(FolderFill);
            Canvas.Polygon({TPoint{1, 3}, TPoint{6, 3}, TPoint{7, 5}, TPoint{14, 5}, TPoint{14, 13},
                            TPoint{1, 13}});
            break;
        default: // not used
            break;
        }
    });
}

TPoint ChoiceOrigin(int Index) {
    constexpr int Step = 100;
    return TPoint{40, 40 + Index * Step};
}

TPoint MenuSlotOrigin(int Slot) {
    constexpr int RowStep = 96;
    return TPoint{16 + (Slot % 2) * MenuColumnWidth, 16 + (Slot / 2) * RowStep};
}

// ------------------------------------------------------------ TTransparentHint

void TTransparentHint::CreateParams(TCreateParams& Params) const {
    THintWindow::CreateParams(Params);
    Params.ExStyle |= WS_EX_LAYERED;
}

void TTransparentHint::CreateWnd() {
    THintWindow::CreateWnd();
    SetLayeredWindowAttributes(Handle(), 0, Alpha, LWA_ALPHA);
}

// -------------------------------------------------------------------- TfrmMain

TfrmMain::TfrmMain(TComponent* AOwner, TMainFormEnvironment Environment)
    : TForm(AOwner), FEnvironment(std::move(Environment)) {
    Name = L"frmMain";
    SetBorderStyle(bsNone);
    Position = poDesktopCenter;
    SetBounds(0, 0, WindowWidth, WindowHeight);
    if (!FEnvironment.Core.Prompt) {
        FPrompt = std::make_unique<TFlatPrompt>(this);
        FEnvironment.Core.Prompt = FPrompt.get();
    }
    if (!FEnvironment.Core.Shell) {
        FShell = std::make_unique<TShellExecute>();
        FEnvironment.Core.Shell = FShell.get();
    }
    if (FEnvironment.Core.AppDir.empty())
        FEnvironment.Core.AppDir = AppDir;
    if (!FEnvironment.PickFolder)
        FEnvironment.PickFolder = &PickFolderWithShell;
    if (!FEnvironment.AskJunkMask)
        FEnvironment.AskJunkMask = &AskJunkMask;
    if (!FEnvironment.AskArchiveName)
        FEnvironment.AskArchiveName = [this](String& Name) { return AskArchiveName(Name); };
    if (!FEnvironment.PickOrganizeFolder)
        FEnvironment.PickOrganizeFolder = [this](String& Folder) {
            return PickOrganizeFolder(Folder);
        };
    if (!FEnvironment.AskFilter)
        FEnvironment.AskFilter = [this](TFilterCriteria& Criteria) { return AskFilter(Criteria); };
    OnCloseQuery = [this](TObject*, bool& CanClose) { FormCloseQuery(CanClose); };
    OnClose = [this](TObject*, TCloseAction&) { FormClose(); };
    FormCreate();
}

TfrmMain::~TfrmMain() {
    // The pages' handlers reach the core: the controls go first.
    DestroyComponents();
}

void TfrmMain::CreateFileActions() {
    IProgress* Progress = FEnvironment.Progress;
    if (!Progress) {
        FProgressWindow.reset(NewForm<TfrmProgress>(nullptr));
        Progress = FProgressWindow.get();
    }
    FFileContext.reset(new TFileFeatureContext{
        FCore->Tables(), FCore->Clock(), FEnvironment.Core.Prompt, *Progress,
        [this](const String& Key) { return FCore->Message(Key); },
        FCore->Text(L"Application", L"Caption"), FCore->AppDir() + L"Temp\\"});
    FRecoveryStore =
        std::make_unique<TRecoveryStore>(*FCore->Tables().RecoveryFilesTable, FCore->Clock());
    FBackup = std::make_unique<TBackup>(*FFileContext);
    FFileActions = std::make_unique<TFileActions>(*FFileContext, FCore->Stats, *FRecoveryStore,
                                                  *FBackup, [this] { return FCore->Flow.Mode(); });
}

bool TfrmMain::AskArchiveName(String& ArchiveName) {
    return AskArchiveFileName(Handle(), FCore->Text(L"ZipOpenDialog", L"Caption"), ArchiveName);
}

bool TfrmMain::PickOrganizeFolder(String& Folder) {
    if (!FOrganize) {
        FOrganizeFolders =
            std::make_unique<TOrganizeFolders>(*FCore->Tables().OrganizeToFoldersTable);
        FOrganize.reset(NewForm<TfrmOrganize>(nullptr, *FOrganizeFolders, FEnvironment.PickFolder));
    }
    if (!FOrganize->Execute())
        return false;
    Folder = FOrganize->SelectedFolder;
    return true;
}

bool TfrmMain::AskFilter(TFilterCriteria& Criteria) {
    if (!FFilter)
        FFilter.reset(NewForm<TfrmFilter>(nullptr));
    return FFilter->Execute(Criteria);
}

void TfrmMain::FormCreate() {
    FCore = std::make_unique<TMainCore>(FEnvironment.Core);
    // The core's folder ends in a backslash whether or not the one given did.
    if (Application)
        Application->HelpFile = FCore->AppDir() + L"Help.chm";
    FContext =
        std::make_unique<TFeatureContext>(*AppLanguage, FCore->Stats, FEnvironment.Core.Prompt);
    TLauncherEnvironment Launch;
    Launch.AppDir = FCore->AppDir();
    // A test's stand-in starts whatever it is given.
    if (FEnvironment.ShellRun)
        Launch.Shell = [Run = FEnvironment.ShellRun](const TShellRequest& Request) {
            Run(Request);
            return DWORD(0);
        };
    FLaunchers = std::make_unique<TLaunchers>(Launch, *FContext);
    FCore->Flow.OnPageChanged = [this](TMainPage Page) { PageChanged(Page); };
    FCore->OnScanStarted = [this](bool ShowsPath) { ScanStarted(ShowsPath); };
    FCore->OnScanEnded = [this] { ScanEnded(); };
    FCore->OnStatisticsChanged = [this](const TScanStatistics& S) { StatisticsChanged(S); };
    FCore->OnResultsFilled = [this] { FillResultsList(); };

    CreateFrame();
    CreateSystemFeatures();
    FlatHint1 = new TFlatHint(this);
    FlatHint1->Name = L"FlatHint1";
    btnBTNForSpins =
        MakeNamedChild<TFlatButton>(*this, *this, L"btnBTNForSpins", Bounds(0, 0, 10, 10));
    btnBTNForSpins->SetVisible(false);
    FCore->ReportLoading(1);
    if (Application)
        Application->SetHintWindowClass(
            [](TComponent* Owner) { return new TTransparentHint(Owner); }, this);
    std::vector<bool> Found;
    for (const TPictureFile& Picture : BigPictures)
        Found.push_back(FileExists(FCore->AppDir() + L"Data\\Buttons\\Big\\" + Picture.File));
    FLoadableBigPictures = LoadablePictureCount(Found);
    FCore->ReportLoading(2);
    LoadSmallPictures();
    FCore->ReportLoading(3);
    ApplySkinAndLanguage(*this);
    FCore->ReportLoading(4);
    LoadBackground();
    FCore->ReportLoading(5);
    SetClientWidth(WindowWidth);
    SetClientHeight(WindowHeight);
    // Folders, totals, tables, the path list and the junk list; a damaged database ends the
    // start here with its error.
    FCore->Open();
    CreateFileActions();
    CreateListImages();
    FCore->ScanPaths.SetOwnerWindow(Handle());
    CreateFileFeatures();
    FCore->Flow.ShowPage(pgMainForm);
    SetCaption(FCore->Text(Name, L"Caption"));
    BytesUnitText = FCore->Message(L"sBytes");
    labActivePage->SetCaption(String());
    SetActiveControl(MainNotebook);
}

void TfrmMain::CreateListImages() {
    SystemImages = new TImageList(this);
    SystemImages->Name = L"SystemImages";
    SystemImages->ShareImages = true;
    SystemImages->SetHandle(SystemSmallImageList());
    // Safe, warning, critical: a dot in the colour of each class.
    SecurityImageList = new TImageList(this);
    SecurityImageList->Name = L"SecurityImageList";
    AddDotPictures(*SecurityImageList, {TColor(0x30A030), TColor(0x10A0E0), TColor(0x2020D0)});
    RecoveryFilesImageList = new TImageList(this);
    RecoveryFilesImageList->Name = L"RecoveryFilesImageList";
    RecoveryFilesImageList->SetSize(16, 16);
    AddListPictures(*RecoveryFilesImageList);
}

void TfrmMain::CreateFrame() {
    MainImage =
        MakeNamedChild<TImage>(*this, *this, L"MainImage", Bounds(0, 0, WindowWidth, WindowHeight));
    MainNotebook = MakeNamedChild<TNotebook>(*this, *this, L"MainNotebook", NotebookBounds);
    for (int Page = 0; Page < MainPageCount; ++Page)
        MainNotebook->AddPage(PageName(static_cast<TMainPage>(Page)));
    nimage = MakeBackgroundCopy(*MainNotebook->Pages(0), L"nimage");
    labActivePage =
        MakeNamedChild<TLabel>(*this, *this, L"labActivePage", Bounds(284, 62, 300, 18));
    labActivePage->SetTransparent(true);
    labActivePage->Font().SetName(L"Verdana");
    labActivePage->Font().SetStyle({fsBold});
    labActivePage->Font().SetHeight(-15);
    labActivePage->Font().SetColor(clWhite);
    CreateLeftColumn();
    CreateTopButtons();
    TavImageList* Big = frmDM ? frmDM->avILBig : nullptr;
    btnBack = MakeButton(*this, L"btnBack", Bounds(492, 505, 98, 25), Big, -1,
                         [this] { btnBackClick(); });
    btnNext = MakeButton(*this, L"btnNext", Bounds(593, 505, 98, 25), Big, -1,
                         [this] { btnNextClick(); });
    TimerScan = new TTimer(this);
    TimerScan->Name = L"TimerScan";
    TimerScan->SetEnabled(false);
    TimerScan->SetInterval(50);
    TimerScan->OnTimer = [this](TObject*) { ShowCurrentScanPath(); };
}

void TfrmMain::CreateLeftColumn() {
    for (int I = 0; I < 5; ++I) {
        const auto Area = static_cast<TMainArea>(I);
        const int Top = FirstBevelTop + I * BevelStep;
        AreaBevels[I] =
            MakeNamedChild<TBevel>(*this, *this, AreaColumn[I].Bevel, Bounds(14, Top, 143, 63));
        AreaBevels[I]->SetShape(bsFrame);
        AreaBevels[I]->Hide();
        AreaPictures[I] = MakeNamedChild<TImage>(*this, *this, AreaColumn[I].Picture,
                                                 Bounds(18, Top + 4, 55, 55));
        AreaPictures[I]->SetCursor(crHandPoint);
        AreaPictures[I]->SetTransparent(true);
        AreaPictures[I]->OnClick = Guarded([this, Area] { AreaClick(Area); });
        AreaLabels[I] = MakeLink(*this, AreaColumn[I].Label, Bounds(78, Top + 8, 76, 48),
                                 [this, Area] { AreaClick(Area); });
        AreaLabels[I]->SetAutoSize(false);
        AreaLabels[I]->SetBoundsRect(Bounds(78, Top + 8, 76, 48));
        AreaLabels[I]->SetWordWrap(true);
        AreaLabels[I]->SetLayout(tlCenter);
        AreaLabels[I]->Font().SetColor(clWhite);
        AreaLabels[I]->HyperColour = 0x80FFFF;
    }
}

void TfrmMain::CreateTopButtons() {
    TavImageList* Big = frmDM ? frmDM->avILBig : nullptr;
    TavImageList* Top = frmDM ? frmDM->avILTop : nullptr;
    // Left to right as the top row reads, each as wide as its caption needs; the row ends
    // beside Minimise.
    const struct {
        const wchar_t* Name;
        int Width;
        TavImageExpandButton* TfrmMain::*Member;
        void (TfrmMain::*Click)();
    } TopRow[] = {
        {L"btnTellAFriend", 84, &TfrmMain::btnTellAFriend, &TfrmMain::btnTellAFriendClick},
        {L"btnHelp", 50, &TfrmMain::btnHelp, &TfrmMain::btnHelpClick},
        {L"btnSupport", 64, &TfrmMain::btnSupport, &TfrmMain::btnSupportClick},
        {L"btnAbout", 56, &TfrmMain::btnAbout, &TfrmMain::btnAboutClick},
        {L"btnScheduler", 78, &TfrmMain::btnScheduler, &TfrmMain::btnSchedulerClick},
    };
    constexpr int Gap = 3;
    int Left = 622 - Gap;
    for (const auto& Button : TopRow)
        Left -= Button.Width + Gap;
    for (const auto& Button : TopRow) {
        const auto Click = Button.Click;
        this->*Button.Member = MakeButton(*this, Button.Name, Bounds(Left, 8, Button.Width, 20),
                                          Top, -1, [this, Click] { (this->*Click)(); });
        Left += Button.Width + Gap;
    }
    // Minimise acts while a loop runs too: it is not guarded.
    btnMinimize = MakeButton(*this, L"btnMinimize", Bounds(622, 6, 28, 25), Big, -1, nullptr);
    btnMinimize->OnClick = [this](TObject*) { btnMinimizeClick(); };
    btnClose = MakeButton(*this, L"btnClose", Bounds(654, 6, 60, 25), Big, -1, nullptr);
    // Close while a loop runs waits for the loop: the close sequence sees to it.
    btnClose->OnClick = [this](TObject*) { btnCloseClick(); };
}

void TfrmMain::LoadSmallPictures() {
    try {
        for (int I = 0; I < 5; ++I)
            AreaPictures[I]->Picture().LoadFromFile(FCore->AppDir() + L"Data\\Buttons\\Small\\" +
                                                    AreaColumn[I].File);
    } catch (const std::exception&) {
        // The first missing picture leaves it and the later ones blank.
    }
}

void TfrmMain::LoadBackground() {
    try {
        MainImage->SendToBack();
        MainImage->Picture().LoadFromFile(FCore->AppDir() + L"Data\\bg.bmp");
        nimage->Picture().Assign(MainImage->Picture());
    } catch (const std::exception&) {
        // A missing background leaves the face plain.
    }
}

// ------------------------------------------------------------------ helpers

TNotifyEvent TfrmMain::Guarded(std::function<void()> Action) {
    return [this, Action = std::move(Action)](TObject*) {
        if (!FBusy && Action)
            Action();
    };
}

TCvTreeCore::TItemEvent TfrmMain::GuardedCheck(std::function<void(TCvTreeItem* Item)> Checked) {
    return [this, Checked = std::move(Checked)](TCvTreeCore*, TCvTreeItem* Item) {
        if (!Item)
            return;
        if (FBusy)
            Item->SetCheckMark(!Item->IsChecked());
        else
            Checked(Item);
    };
}

void TfrmMain::GuardChoice(TCvTree& List, std::function<void()> Chosen) {
    List.OnChanging = [this](TCvTreeCore*, TCvTreeItem*, bool& Allow) { Allow = ChoiceAllowed(); };
    List.OnItemSelectedChange = [this, Chosen = std::move(Chosen)](TCvTreeCore*, TCvTreeItem*) {
        if (ChoiceAllowed())
            Chosen();
    };
}

TavImageExpandButton* TfrmMain::MakeButton(TWinControl& Parent, const String& Name,
                                           const TRect& Bounds, TavImageList* Images, int Glyph,
                                           std::function<void()> Action) {
    auto* Button = MakeNamedChild<TavImageExpandButton>(*this, Parent, Name, Bounds);
    Button->Tag = Glyph;
    if (Images)
        Button->SetImageList(Images);
    if (Action)
        Button->OnClick = Guarded(std::move(Action));
    return Button;
}

void TfrmMain::FitColumnsToList(TCvTree& List, std::vector<bool> GivesWay) {
    TCvHeaderSections& Sections = List.HeaderControl().Sections();
    std::vector<int> Widths;
    for (int I = 0; I < Sections.SectionCount(); ++I)
        Widths.push_back(Sections.ItemByIndex(I)->Width());
    if (GivesWay.empty())
        GivesWay.assign(Widths.size(), true);
    // The list's own frame is known once its window is made.
    List.HandleNeeded();
    const int Bar = List.VertBarVisible() ? List.VertScrollBar().Width() : 0;
    // Before the first column's text: a check box and one or two pictures.
    constexpr int PartWidth = 18;
    const int Indent = (List.ShowCheckboxes ? PartWidth : 0) + (List.Images() ? PartWidth : 0) +
                       (List.Images2() ? PartWidth : 0);
    const std::vector<int> Fitted =
        FitColumnWidths(Widths, GivesWay, List.ClientWidth() - Bar, Indent);
    for (int I = 0; I < Sections.SectionCount(); ++I) {
        Sections.ItemByIndex(I)->SetAutoSize(false);
        Sections.ItemByIndex(I)->SetWidth(Fitted[I]);
    }
}

void TfrmMain::SelectCheckedRow(TCvTree& List, TCvTreeItem& Row) {
    List.SetFocusedItem(&Row);
    Row.SetSelected(true);
}

TCvTree* TfrmMain::MakePageList(TWinControl& Page, const String& Name) {
    TCvTree* List = MakeTreeList(*this, Page, Name, Bounds(PageListLeft, 8, 515, 362));
    List->SetImages(StatusImages);
    return List;
}

void TfrmMain::MakeListButtons(TWinControl& Page, std::initializer_list<TListButton> Buttons,
                               int Width, int Step) {
    TavImageList* Inside = frmDM ? frmDM->avILInside : nullptr;
    int Left = PageListLeft;
    for (const TListButton& Button : Buttons) {
        const auto Click = Button.Click;
        MakeButton(Page, Button.Name, Bounds(Left, 378, Width, 25), Inside, Button.Glyph,
                   [this, Click] { (this->*Click)(); });
        Left += Step;
    }
}

THyperLabel* TfrmMain::MakeLink(TWinControl& Parent, const String& Name, const TRect& Bounds,
                                std::function<void()> Action) {
    auto* Link = MakeNamedChild<THyperLabel>(*this, Parent, Name, Bounds);
    Link->SetTransparent(true);
    Link->Font().SetName(L"Verdana");
    Link->Font().SetStyle({fsBold});
    Link->Font().SetHeight(-11);
    Link->Font().SetColor(0x964C02);
    Link->HyperColour = 0x0080FF;
    Link->SetCursor(crHandPoint);
    Link->OnClick = Guarded(std::move(Action));
    return Link;
}

TImage* TfrmMain::MakeBigPicture(TWinControl& Parent, const String& Name, const TRect& Bounds,
                                 std::function<void()> Action) {
    auto* Picture = MakeNamedChild<TImage>(*this, Parent, Name, Bounds);
    Picture->SetCursor(crHandPoint);
    Picture->SetTransparent(true);
    Picture->OnClick = Guarded(std::move(Action));
    for (int I = 0; I < FLoadableBigPictures; ++I)
        if (Name == BigPictures[I].Name) {
            try {
                Picture->Picture().LoadFromFile(FCore->AppDir() + L"Data\\Buttons\\Big\\" +
                                                BigPictures[I].File);
            } catch (const std::exception&) {
            }
        }
    return Picture;
}

void TfrmMain::MakeMenuEntry(TWinControl& Page, int Slot, const String& Picture, const String& Link,
                             std::function<void()> Action) {
    const TPoint At = MenuSlotOrigin(Slot);
    MakeBigPicture(Page, Picture, Bounds(At.X, At.Y, 64, 64), Action);
    MakeLink(Page, Link, Bounds(At.X + 74, At.Y + 24, MenuColumnWidth - 84, 18), std::move(Action));
}

void TfrmMain::MakeChoiceEntry(TWinControl& Page, int Index, const String& Picture,
                               const String& Link, std::function<void()> Action) {
    const TPoint At = ChoiceOrigin(Index);
    MakeBigPicture(Page, Picture, Bounds(At.X, At.Y, 64, 64), Action);
    MakeLink(Page, Link, Bounds(At.X + ChoiceTextLeft, At.Y + ChoiceLinkTop, 380, 20),
             std::move(Action));
}

std::optional<std::size_t> TfrmMain::FocusedIndex(const TCvTree& List) {
    const int Index = FocusedRowIndex(List);
    if (Index < 0)
        return std::nullopt;
    return static_cast<std::size_t>(Index);
}

TLabel* TfrmMain::MakeLabel(TWinControl& Parent, const String& Name, const TRect& Bounds) {
    auto* Label = MakeNamedChild<TLabel>(*this, Parent, Name, Bounds);
    Label->SetTransparent(true);
    return Label;
}

TImage* TfrmMain::MakeBackgroundCopy(TWinControl& Parent, const String& Name) {
    auto* Copy = MakeNamedChild<TImage>(*this, Parent, Name, Bounds(0, 0, 1, 1));
    Copy->SetEnabled(false); // clicks go to the page, not the picture
    Copy->Picture().Assign(MainImage->Picture());
    MoveBackgroundCopy(*Copy, Parent);
    return Copy;
}

void TfrmMain::MoveBackgroundCopy(TImage& Copy, TWinControl& Page) {
    // The page's place in the window's client area: the copy starts that far up and left.
    const TPoint Origin = ScreenToClient(Page.ClientToScreen(TPoint{0, 0}));
    Copy.SetParent(&Page);
    Copy.SetBounds(-Origin.X, -Origin.Y, WindowWidth, WindowHeight);
    Copy.SendToBack();
}

// ----------------------------------------------------------------- the pages

void TfrmMain::EnsurePageControls(TMainPage Page) {
    if (FPageBuilt[Page])
        return;
    FPageBuilt[Page] = true;
    using TCreate = void (TfrmMain::*)(TPage&);
    static const std::pair<TMainPage, TCreate> Builders[] = {
        {pgMainForm, &TfrmMain::CreateStartPage},
        {pgCleanMyComputer, &TfrmMain::CreateCleanMyComputerPage},
        {pgDrives, &TfrmMain::CreateDrivesPage},
        {pgCleanOptions, &TfrmMain::CreateCleanOptionsPage},
        {pgScan, &TfrmMain::CreateScanPage},
        {pgScanResults, &TfrmMain::CreateScanResultsPage},
        {pgScanStatistics, &TfrmMain::CreateScanStatisticsPage},
        {pgAdvancedFeatures, &TfrmMain::CreateAdvancedFeaturesPage},
        {pgRecoveryFiles, &TfrmMain::CreateRecoveryFilesPage},
        {pgFolderCleaner, &TfrmMain::CreateFolderCleanerPage},
        {pgSplitCombine, &TfrmMain::CreateSplitCombinePage},
        {pgSplitFiles, &TfrmMain::CreateSplitFilesPage},
        {pgUnsplitFiles, &TfrmMain::CreateUnsplitFilesPage},
        {pgBackupRestore, &TfrmMain::CreateBackupRestorePage},
        {pgBackup, &TfrmMain::CreateBackupPage},
        {pgBackupSelectFiles, &TfrmMain::CreateBackupSelectFilesPage},
        {pgBackupOptions, &TfrmMain::CreateBackupOptionsPage},
        {pgRestore, &TfrmMain::CreateRestorePage},
        {pgSystemConfiguration, &TfrmMain::CreateSystemConfigurationPage},
        {pgStartUpManager, &TfrmMain::CreateStartUpManagerPage},
        {pgAddRemovePrograms, &TfrmMain::CreateAddRemoveProgramsPage},
        {pgShutdownManager, &TfrmMain::CreateShutdownManagerPage},
        {pgSystemTweak, &TfrmMain::CreateSystemTweakPage},
        {pgRegistryCleaner, &TfrmMain::CreateRegistryCleanerPage},
        {pgInternetPrivacy, &TfrmMain::CreateInternetPrivacyPage},
    };
    TPage& Host = *MainNotebook->Pages(Page);
    const int FirstMade = ComponentCount();
    for (const auto& [Which, Create] : Builders)
        if (Which == Page)
            (this->*Create)(Host);
    CreateHelpButtons(Page, Host);
    // A page made when first shown is loaded as the window's own controls were, once.
    for (int I = FirstMade; I < ComponentCount(); ++I) {
        Components(I)->BeginLoading();
        Components(I)->EndLoading();
    }
    ApplySkinAndLanguage(Host);
}

void TfrmMain::CreateAllPages() {
    for (int Page = 0; Page < MainPageCount; ++Page)
        EnsurePageControls(static_cast<TMainPage>(Page));
}

void TfrmMain::PageChanged(TMainPage Page) {
    EnsurePageControls(Page);
    MainNotebook->SetPageIndex(Page);
    TPage& Shown = *MainNotebook->Pages(Page);
    MoveBackgroundCopy(*nimage, Shown);
    labActivePage->SetCaption(FCore->Titles.Title(Page, FCore->Flow.Mode()));

    const TPageButtons Buttons = PageButtons(Page, FCore->Flow.Mode());
    btnBack->SetVisible(Buttons.Back);
    btnNext->SetVisible(Buttons.Next);
    if (Buttons.ScanStatistics && btnScanStatictics)
        btnScanStatictics->SetVisible(*Buttons.ScanStatistics);
    const TMainArea Active = FCore->Flow.ActiveArea();
    for (int I = 0; I < 5; ++I) {
        AreaPictures[I]->SetVisible(Buttons.LeftColumn);
        AreaLabels[I]->SetVisible(Buttons.LeftColumn);
        AreaBevels[I]->SetVisible(Buttons.LeftColumn && Active == I);
    }
    // The path list arrives with a row to act on.
    if (Page == pgDrives && DrivesList->SelectedCount() == 0 && DrivesList->Items().TotalCount()) {
        TCvTreeItem* First = DrivesList->Items().ItemAtIndex(0);
        DrivesList->SetFocusedItem(First);
        First->SetSelected(true);
    }
}

// ------------------------------------------------------------ navigation

void TfrmMain::AreaClick(TMainArea Area) {
    // These two areas fill their lists as they open.
    if (Area == arRestoreDeletedFiles)
        return btnRestoreDeletedFilesClick();
    if (Area == arBackupData)
        return btnBackupDataClick();
    FCore->Flow.EnterArea(Area);
}

void TfrmMain::ModeClick(int Mode) {
    if (Mode == mdFolderCleaner)
        return btnFolderCleanerClick();
    if (Mode == mdDuplicateFiles)
        return btnDuplicateFilesClick();
    FCore->Flow.EnterMode(Mode);
    const TModeEntry Entry = ModeEntry(Mode);
    if (CleanOptionsNoteBook) { // else made with its page, from the mode then
        if (!Entry.OptionsPage.empty())
            CleanOptionsNoteBook->SetActivePage(Entry.OptionsPage);
        CleanOptionsPageChanged();
    }
    // The scan modes open on the path list, ready for the keyboard.
    if (FCore->Flow.Page() == pgDrives && DrivesList)
        SetActiveControl(DrivesList);
}

void TfrmMain::btnBackClick() {
    FCore->Flow.Back();
}

void TfrmMain::btnNextClick() {
    ReadOptions();
    RunLoop([this] { FCore->Next(); });
}

void TfrmMain::btnCloseClick() {
    Close();
}

void TfrmMain::btnMinimizeClick() {
    if (Application)
        Application->Minimize();
}

void TfrmMain::btnSchedulerClick() {
    if (FEnvironment.ShowScheduler)
        FEnvironment.ShowScheduler();
    else
        FLaunchers->ShowScheduler();
}

void TfrmMain::btnStopScanClick() {
    FResultFillStopped = true;
    FCore->StopScan();
}

void TfrmMain::btnScanStaticticsClick() {
    FCore->Flow.ShowPage(pgScanStatistics);
}

void TfrmMain::btnAllDrivesClick() {
    FCore->ScanPaths.FillFixedDrives();
    FillDrivesList();
}

void TfrmMain::btnAddScanDriveClick() {
    String Folder;
    if (!FEnvironment.PickFolder(Handle(), FCore->Text(L"SelectDirectoryCaption", L"Caption"),
                                 Folder))
        return;
    const int Index = FCore->ScanPaths.AddFolder(Folder);
    FillDrivesList();
    TCvTreeItem* Added = DrivesList->Items().ItemAtIndex(Index);
    DrivesList->SetFocusedItem(Added);
    Added->SetSelected(true);
}

void TfrmMain::btnClearAllPathsClick() {
    FCore->ScanPaths.Clear();
    FillDrivesList();
}

void TfrmMain::btnAddJunkFilesOptionClick() {
    String Extension;
    String Description;
    if (FEnvironment.AskJunkMask(Extension, Description))
        FCore->AddJunkMask(Extension, Description); // a blank mask is not stored
    FillJunkList();
}

// --------------------------------------------------------------- the scan

void TfrmMain::ReadOptions() {
    if (rdRegistryCleanerAdvanced)
        FRegistry->Advanced = rdRegistryCleanerAdvanced->Checked();
    if (!edLargeOldLarge)
        return;
    FCore->Options.LargeValue = edLargeOldLarge->Value();
    FCore->Options.SizeUnit = cmbSizeUM->ItemIndex();
    FCore->Options.OldValue = edLargeOldOld->Value();
    FCore->Options.Period = cmbPeriods->ItemIndex();
}

void TfrmMain::RunLoop(const std::function<void()>& Loop) {
    FBusy = true;
    try {
        Loop();
    } catch (...) {
        FBusy = false;
        throw;
    }
    FBusy = false;
    if (FCloseWhenIdle) {
        FCloseWhenIdle = false;
        Close();
    }
}

void TfrmMain::ScanStarted(bool ShowsCurrentPath) {
    EnsurePageControls(pgScan);
    // The rows' records go with the results the scan drops.
    if (lvScanResults)
        lvScanResults->Items().RemoveAll();
    labScanTitle->SetCaption(FCore->Message(FCore->Flow.Mode() == mdRegistryCleaner
                                                ? L"sScanningRegistry"
                                            : ShowsCurrentPath ? L"sScanning"
                                                               : L"sScanningDrives"));
    labScanFile->SetVisible(ShowsCurrentPath);
    labScanningFileName->SetVisible(ShowsCurrentPath);
    labScanningFileName->SetCaption(String());
    ScanAnimate->SetActive(true);
    TimerScan->SetEnabled(ShowsCurrentPath);
    Screen->SetCursor(crHourGlass);
}

void TfrmMain::ScanEnded() {
    TimerScan->SetEnabled(false);
    ScanAnimate->SetActive(false);
    Screen->SetCursor(crDefault);
    labScanFile->Show();
    labScanningFileName->Show();
}

void TfrmMain::ShowCurrentScanPath() {
    labScanningFileName->SetCaption(FCore->Flow.Mode() == mdRegistryCleaner
                                        ? FRegistry->CurrentScanPath()
                                        : FCore->CurrentScanPath());
}

void TfrmMain::StatisticsChanged(const TScanStatistics& Statistics) {
    EnsurePageControls(pgScanResults);
    EnsurePageControls(pgScanStatistics);
    labScanResultsFilesFoundValue->SetCaption(IntToStr(Statistics.VisibleCount));
    labScanResultsWastingValue->SetCaption(FormatFileSize(Statistics.VisibleSize));
    for (int I = 0; I < 4; ++I) {
        const TStatisticsBar& Bar = Statistics.Bars[I];
        const bool Shown = !Statistics.SingleBar || I == 1;
        Progress[I]->SetVisible(Shown);
        labProgress[I]->SetVisible(Shown);
        Progress[I]->SetMax(Bar.Max);
        Progress[I]->SetPosition(Bar.Position);
    }
    labProgress[0]->SetCaption(FCore->Text(L"labProgress1", L"Caption"));
    labProgress[1]->SetCaption(Statistics.SingleBar ? FCore->Message(L"sSafeToDeleteOfTotalSpace")
                                                    : FCore->Text(L"labProgress2", L"Caption"));
}

// ------------------------------------------------------------------ closing

void TfrmMain::FormCloseQuery(bool& CanClose) {
    if (!FBusy)
        return;
    // Close waits for the loop: it is asked to stop, and the window closes when it has.
    CanClose = false;
    FCloseWhenIdle = true;
    btnStopScanClick();
}

void TfrmMain::FormClose() {
    OfferReport(
        FCore->Stats, FCore->AppDir(),
        [this] {
            return FEnvironment.Core.Prompt->MessageBox(
                       FCore->Text(L"Application", L"Caption"),
                       FCore->Message(L"S_ViewReportConfirm"), IPrompt::IconQuestion,
                       IPrompt::ButtonsYesNo) == IPrompt::ResultYes;
        },
        [this] { ShowReportViewer(); });
}

void TfrmMain::ShowReportViewer() {
    if (FEnvironment.ShowReportViewer) {
        FEnvironment.ShowReportViewer();
        return;
    }
    TReportViewerEnvironment Viewer;
    Viewer.AppDir = FCore->AppDir();
    Viewer.Stats = &FCore->Stats;
    Viewer.PickFolder = FEnvironment.PickFolder;
    const std::unique_ptr<TfrmViewReport> Form(NewForm<TfrmViewReport>(Application, Viewer));
    Form->ShowFlatModal();
}

// ------------------------------------------------------------------ messages

void TfrmMain::WndProc(TMessage& Message) {
    TForm::WndProc(Message);
    // The window is dragged by any visible part of the background picture.
    if (Message.Msg == WM_NCHITTEST && Message.Result == HTCLIENT) {
        const TPoint At = ScreenToClient(TPoint{static_cast<short>(LOWORD(Message.LParam)),
                                                static_cast<short>(HIWORD(Message.LParam))});
        if (ControlAtPos(At, true) == MainImage)
            Message.Result = HTCAPTION;
    }
}

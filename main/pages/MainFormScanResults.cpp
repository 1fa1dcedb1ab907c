// The results page: the found files with their check boxes, how many there are and how much
// space they take, selecting, filtering and removing them, and the way to the statistics. The
// list shows the core's records: a row keeps its record as its ItemObject and no copy of its
// texts, which it takes from the record when painted.
#include "app/FileInfo.h"
#include "app/ProgressForm.h"
#include "app/QRVDataMod.h"
#include "app/TreeLists.h"
#include "classlib/gui/Menus.h"
#include "classlib/gui/NamedChild.h"
#include "main/MainForm.h"

#include <unordered_set>

namespace {

// The command buttons under the list, left to right, with a gap between them.
constexpr int ButtonTop = 378;
constexpr int ButtonGap = 4;
constexpr int SecondRowTop = 350;
// The room a cell leaves around its text.
constexpr int DateColumnMargin = 12;
// The place of the line between removing and the zip, backup and move commands in the clean menu.
constexpr int CleanMenuLine = 3;

// The list reaches down to the commands: to the second row of buttons when it shows.
TRect ResultListBounds(bool CheckedFileCommands) {
    return Bounds(16, 28, 515, (CheckedFileCommands ? SecondRowTop : ButtonTop) - 8 - 28);
}

bool ShellFileKind(const String& FileName, bool ByExtension, TFileKind& Kind) {
    return ShellFileTypeInfo(FileName, ByExtension, Kind.Icon, Kind.TypeName);
}

// The per-file pictures of a screenful take a few milliseconds each: asked in slices, so that
// the window keeps answering while they arrive.
constexpr unsigned PictureSliceMs = 40;

} // namespace

void TfrmMain::CreateScanResultsPage(TPage& Page) {
    MakeLabel(Page, L"labScanResultsFilesFound", Bounds(16, 8, 120, 15));
    labScanResultsFilesFoundValue =
        MakeLabel(Page, L"labScanResultsFilesFoundValue", Bounds(140, 8, 100, 15));
    labScanResultsFilesFoundValue->Font().SetStyle({fsBold});
    MakeLabel(Page, L"labScanResultsWasting", Bounds(260, 8, 120, 15));
    labScanResultsWastingValue =
        MakeLabel(Page, L"labScanResultsWastingValue", Bounds(384, 8, 140, 15));
    labScanResultsWastingValue->Font().SetStyle({fsBold});

    // The result lists fill one panel: in the duplicate-files mode the groups stand at its left
    // with the splitter beside them, and the files take the rest.
    pnlScanResults =
        MakeNamedChild<TPanel>(*this, Page, L"pnlScanResults", ResultListBounds(false));
    pnlScanResults->SetBevelOuter(bvNone);
    lvScanResults = MakeTreeList(*this, *pnlScanResults, L"lvScanResults",
                                 Bounds(0, 0, pnlScanResults->Width(), pnlScanResults->Height()));
    lvScanResults->SetAlign(alClient);
    lvScanResults->SetVirtualityLevel(vlTextAndStyles);
    lvScanResults->OnVirtualTextNeeded = [this](TCvTreeCore*, TCvTreeItem* Item, int Section,
                                                TCvString& Text) {
        if (const TFile* File = ListedRecordOf(Item))
            Text = ResultCellText(*File, Section);
    };
    FFileKinds = std::make_unique<TFileKinds>(
        FEnvironment.FileKindLookup ? FEnvironment.FileKindLookup : ShellFileKind);
    FFileKindTimer = new TTimer(this);
    FFileKindTimer->SetEnabled(false);
    FFileKindTimer->SetInterval(10);
    FFileKindTimer->OnTimer = [this](TObject*) { ResolveResultPictures(); };
    lvScanResults->OnItemPicDraw = [this](TObject*, TCvTreeItem* Item, int& ImageIndex) {
        if (const TFile* File = ListedRecordOf(Item)) {
            ImageIndex = FFileKinds->Picture(*File);
            if (FFileKinds->HasPending())
                FFileKindTimer->SetEnabled(true);
        }
    };
    lvScanResults->ShowCheckboxes = true;
    lvScanResults->SetImages(SystemImages);
    lvScanResults->SetImages2(SecurityImageList);
    lvScanResults->ChangeDelay = 0;
    lvScanResults->SortMode = smClick;
    lvScanResults->OnItemChecked = GuardedCheck([this](TCvTreeItem* Item) { ResultChecked(Item); });
    lvScanResults->OnCompareItems = [](TCvTreeCore*, TCvTreeItem* A, TCvTreeItem* B, int& Res) {
        if (RecordOf(A) && RecordOf(B))
            Res = CompareFiles(RecordOf(A), RecordOf(B));
    };
    lvScanResults->OnDblClick = Guarded([this] { lvScanResultsDblClick(); });
    mnLocalScanResults = MakeMenu(
        L"mnLocalScanResults",
        {{L"mnSecureDeleteFile", [this] { RemoveFocusedResult(TRemoveKind::SecureDelete); }},
         {L"mnDeleteFile", [this] { RemoveFocusedResult(TRemoveKind::Delete); }},
         {L"mnSchredFile", [this] { RemoveFocusedResult(TRemoveKind::Shred); }},
         {L"mnZipFile", [this] { ZipFocusedResult(); }},
         {L"mnBackupFile", [this] { BackupFocusedResult(); }},
         {L"mnMoveFile", [this] { MoveFocusedResult(); }},
         {L"-", nullptr},
         {L"sProperties", [this] {
              if (const TFile* File = RecordOf(lvScanResults->GetFocusedItem()))
                  ShowFileProperties(File->FullName(), Handle());
          }}});
    lvScanResults->SetPopupMenu(mnLocalScanResults);
    mnScanResultsCleanAll = MakeMenu(
        L"mnScanResultsCleanAll",
        {{L"mnSecureDeleteFiles", [this] { RemoveCheckedResults(TRemoveKind::SecureDelete); }},
         {L"mnDeleteFiles", [this] { RemoveCheckedResults(TRemoveKind::Delete); }},
         {L"mnSchredFiles", [this] { RemoveCheckedResults(TRemoveKind::Shred); }},
         {L"-", nullptr},
         {L"mnZipFiles", [this] { btnScanResultsPackClick(); }},
         {L"mnBackupFiles", [this] { mnLocalScanResultsBackupFilesClick(); }},
         {L"mnMoveFiles", [this] { btnScanResultsOrganizeClick(); }}});

    CreateResultFileCommands(Page);

    TavImageList* Inside = frmDM ? frmDM->avILInside : nullptr;
    struct TCommand {
        const wchar_t* Name;
        int Width;
        int Glyph;
        void (TfrmMain::*Click)();
    };
    // Widths by caption: together they span the list.
    static constexpr TCommand Commands[] = {
        {L"btnScanResultsSelectAll", 80, GlyphSelectAll, &TfrmMain::btnScanResultsSelectAllClick},
        {L"btnScanResultsUnSelectAll", 92, GlyphSelectNone,
         &TfrmMain::btnScanResultsUnSelectAllClick},
        {L"btnScaResultsFilter", 74, GlyphFilter, &TfrmMain::btnScaResultsFilterClick},
        {L"btnScaResultsClearFilter", 80, GlyphClearFilter,
         &TfrmMain::btnScaResultsClearFilterClick},
        {L"btnScanResultsCleanAll", 84, GlyphClean, &TfrmMain::btnScanResultsCleanAllClick},
        {L"btnScanStatictics", 85, GlyphDetails, &TfrmMain::btnScanStaticticsClick},
    };
    int Left = 16;
    for (const TCommand& Command : Commands) {
        auto* Button =
            MakeButton(Page, Command.Name, Bounds(Left, ButtonTop, Command.Width, 25), Inside,
                       Command.Glyph, [this, Click = Command.Click] { (this->*Click)(); });
        Left += Command.Width + ButtonGap;
        if (Command.Click == &TfrmMain::btnScanStaticticsClick)
            btnScanStatictics = Button;
        if (Command.Click == &TfrmMain::btnScaResultsClearFilterClick)
            btnScaResultsClearFilter = Button;
    }
    CheckedFileButtons = {MakeButton(Page, L"btnScanResultsPack", Bounds(16, SecondRowTop, 120, 25),
                                     Inside, GlyphPack, [this] { btnScanResultsPackClick(); }),
                          MakeButton(Page, L"btnScanResultsOrganize",
                                     Bounds(140, SecondRowTop, 120, 25), Inside, GlyphOrganize,
                                     [this] { btnScanResultsOrganizeClick(); })};
    FillResultsList();
}

TPopupMenu*
TfrmMain::MakeMenu(const String& Name,
                   std::initializer_list<std::pair<const wchar_t*, std::function<void()>>> Items) {
    auto* Menu = new TPopupMenu(this);
    Menu->Name = Name;
    for (const auto& [Key, Action] : Items) {
        auto* Item = new TMenuItem(this);
        const bool Line = String(Key) == L"-";
        if (!Line)
            Item->Name = Key;
        Item->Caption = Line ? String(L"-") : FCore->Message(Key);
        if (Action)
            Item->OnClick = Guarded(Action);
        Menu->Items().Add(Item);
    }
    return Menu;
}

TFile* TfrmMain::RecordOf(const TCvTreeItem* Item) {
    return Item ? static_cast<TFile*>(Item->ItemObject) : nullptr;
}

const TFile* TfrmMain::ListedRecordOf(const TCvTreeItem* Item) const {
    return ResultIndexOf(Item) >= 0 ? RecordOf(Item) : nullptr;
}

int TfrmMain::ResultIndexOf(const TCvTreeItem* Item) const {
    const TFile* File = RecordOf(Item);
    if (!File)
        return -1;
    // The fill leaves each row the index of its record, which holds until rows are removed.
    const TScanResults& Results = FCore->Results;
    if (Item->Tag >= 0 && Item->Tag < Results.Count() && Results.Row(Item->Tag).File.get() == File)
        return Item->Tag;
    return Results.IndexOf(File);
}

// ---------------------------------------------------------------- the rows

void TfrmMain::SetResultColumns(int Mode) {
    TCvHeaderSections& Sections = lvScanResults->HeaderControl().Sections();
    while (Sections.SectionCount() > 0)
        Sections.DeleteSection(Sections.ItemByIndex(Sections.SectionCount() - 1));
    // A date as wide as any: the last days of a year, in the afternoon.
    TBitmap Measure;
    Measure.Canvas().Font().Assign(lvScanResults->Font());
    const int DateWidth = Measure.Canvas().TextWidth(
                              DateTimeToStr(EncodeDate(2028, 12, 28) + EncodeTime(20, 58, 58, 0))) +
                          DateColumnMargin;
    for (const TResultColumn& Column : ResultColumns(Mode)) {
        const String Caption = Column.Message ? FCore->Message(Column.CaptionSection)
                                              : FCore->Text(Column.CaptionSection, L"Caption");
        TCvHeaderSection* Section =
            AddHeaderColumn(*lvScanResults, Caption,
                            Column.Date ? std::max(Column.Width, DateWidth) : Column.Width);
        if (Column.CustomCompare)
            Section->SetFieldType(sftCustom);
    }
}

String TfrmMain::ResultCellText(const TFile& File, int SectionIndex) const {
    // An empty folder's row shows its path; a file's, its name.
    if (SectionIndex <= 0)
        return File.Name.empty() ? File.Path() : File.Name;
    if (FResultListMode == mdEmptyFolders)
        return String();
    if (SectionIndex == 1)
        return File.Path();
    if (FResultListMode == mdBrokenLinks) {
        const int Index = FCore->Results.IndexOf(&File);
        return SectionIndex == 2 && Index >= 0 ? FCore->Results.LinkTarget(Index) : String();
    }
    switch (SectionIndex) {
    case 2:
        return FormatFileSize(File.Size);
    case 3:
        return FFileKinds->TypeName(File);
    case 4:
        return DateTimeToStr(FileTimeToLocalDateTime(File.Time));
    default:
        return String();
    }
}

void TfrmMain::ResolveResultPictures() {
    // A loop may be removing the records: the pictures wait for it.
    if (FBusy)
        return;
    std::unordered_set<const TFile*> OnScreen;
    if (lvScanResults->Showing())
        for (const TCvTreeItem* Row : lvScanResults->TreeView().Rows())
            if (const TFile* File = ListedRecordOf(Row))
                OnScreen.insert(File);
    const bool Answered = FFileKinds->ResolvePending(
        [&OnScreen](const TFile* File) { return OnScreen.count(File) > 0; }, PictureSliceMs);
    FFileKindTimer->SetEnabled(FFileKinds->HasPending());
    if (Answered)
        lvScanResults->Invalidate();
}

void TfrmMain::FillResultsList() {
    if (!lvScanResults)
        return;
    // Under the busy rule: nothing else acts on the rows while the fill pumps.
    if (FBusy)
        FillResultRows();
    else
        RunLoop([this] { FillResultRows(); });
}

void TfrmMain::FillResultRows() {
    const int Mode = FCore->Flow.Mode();
    TScanResults& Results = FCore->Results;
    TCvTreeItems& Items = lvScanResults->Items();
    Items.BeginUpdate();
    Items.RemoveAll();
    FFileKinds->ForgetFiles();
    FResultListMode = Mode;
    SetResultColumns(Mode);
    FResultFillStopped = false;
    int Listed = 0;
    for (; Listed < Results.Count(); ++Listed) {
        if (Listed % 64 == 0 && (!ProcessMessagesDuringWork() || FResultFillStopped))
            break;
        TFile& File = Results.File(Listed);
        TCvTreeItem* Item = Items.AddChildObject(nullptr, String(), &File);
        Item->SetMainImage(-1); // asked when painted
        Item->Tag = Listed;
        Item->SetSecondImage(Mode == mdBrokenLinks ? 0 : File.Safety);
        Item->SetCheckBoxShown(true);
        Item->SetFlag(ifCheckBoxEnabled, true);
    }
    // A stopped fill ends as a stopped scan does: the results are the rows listed.
    Results.KeepFirst(Listed);
    Items.EndUpdate();
    std::vector<bool> GivesWay;
    for (const TResultColumn& Column : ResultColumns(Mode))
        GivesWay.push_back(Column.GivesWay);
    FitColumnsToList(*lvScanResults, GivesWay);
    ShowResultStates();
    PlaceResultCommands(Mode);
}

void TfrmMain::PlaceResultCommands(int Mode) {
    // Zipping, backing up or moving junk, dead shortcuts or empty folders is not offered.
    const bool Offered = ResultCommandsShown(Mode);
    for (const wchar_t* Name : {L"mnZipFile", L"mnBackupFile", L"mnMoveFile", L"mnZipFiles",
                                L"mnBackupFiles", L"mnMoveFiles"})
        static_cast<TMenuItem*>(FindComponent(Name))->Visible = Offered;
    // The clean menu's line stands before those three commands alone.
    mnScanResultsCleanAll->Items().Items(CleanMenuLine)->Visible = Offered;
    for (TavImageExpandButton* Button : CheckedFileButtons)
        if (Button)
            Button->SetVisible(Offered);
    pnlScanResults->SetBoundsRect(ResultListBounds(Offered));
    // Empty folders waste no space worth a figure.
    const bool Wasting = Mode != mdEmptyFolders;
    labScanResultsWastingValue->SetVisible(Wasting);
    if (auto* Label = dynamic_cast<TControl*>(FindComponent(L"labScanResultsWasting")))
        Label->SetVisible(Wasting);
}

void TfrmMain::ShowResultStates() {
    const TScanResults& Results = FCore->Results;
    TCvTreeItems& Items = lvScanResults->Items();
    Items.BeginUpdate();
    lvScanResults->SetFilteredVisibility(Results.FilteredVisibility());
    for (int I = 0; I < Items.TotalCount(); ++I) {
        TCvTreeItem* Item = Items.ItemAtIndex(I);
        const int Index = ResultIndexOf(Item);
        if (Index < 0)
            continue;
        Item->SetCheckBoxState(Results.Row(Index).Checked ? 1 : 0);
        Item->SetHiddenState(Results.Row(Index).Hidden);
    }
    Items.EndUpdate();
    if (btnScaResultsClearFilter)
        btnScaResultsClearFilter->SetEnabled(Results.FilteredVisibility());
}

void TfrmMain::ResultChecked(TCvTreeItem* Item) {
    const int Index = ResultIndexOf(Item);
    if (Index >= 0)
        FCore->Results.SetChecked(Index, Item->IsChecked());
    lvScanResults->SetFocusedItem(Item);
    Item->SetSelected(true);
}

// ---------------------------------------------------------------- the commands

void TfrmMain::btnScanResultsSelectAllClick() {
    FCore->CheckAll(true);
    ShowResultStates();
}

void TfrmMain::btnScanResultsUnSelectAllClick() {
    FCore->CheckAll(false);
    ShowResultStates();
}

void TfrmMain::btnScaResultsFilterClick() {
    TFilterCriteria Criteria;
    if (!FEnvironment.AskFilter(Criteria))
        return;
    FCore->ApplyFilter(Criteria);
    ShowResultStates();
}

void TfrmMain::btnScaResultsClearFilterClick() {
    FCore->ClearFilter();
    ShowResultStates();
}

void TfrmMain::lvScanResultsDblClick() {
    FCore->OpenResult(ResultIndexOf(lvScanResults->GetFocusedItem()));
}

void TfrmMain::btnScanResultsCleanAllClick() {
    if (!FFileActions->CanRemoveChecked(FCore->Results))
        return;
    if (FEnvironment.PopupMenu) {
        FEnvironment.PopupMenu(*mnScanResultsCleanAll);
        return;
    }
    POINT At{};
    GetCursorPos(&At);
    mnScanResultsCleanAll->Popup(At.x, At.y);
}

void TfrmMain::RemoveFocusedResult(TRemoveKind Kind) {
    const int Index = ResultIndexOf(lvScanResults->GetFocusedItem());
    if (Index < 0)
        return;
    RunLoop([&] {
        if (FFileActions->RemoveOne(FCore->Results, Index, Kind))
            FillResultsList();
        FCore->UpdateScanStatistics();
    });
}

void TfrmMain::RemoveCheckedResults(TRemoveKind Kind) {
    RunLoop([&] {
        if (FFileActions->RemoveChecked(FCore->Results, Kind) > 0)
            FillResultsList();
        FCore->UpdateScanStatistics();
    });
}

void TfrmMain::ZipFocusedResult() {
    const int Index = ResultIndexOf(lvScanResults->GetFocusedItem());
    String ArchiveName;
    if (Index >= 0 && FEnvironment.AskArchiveName(ArchiveName))
        RunLoop([&] { FFileActions->ZipOne(FCore->Results, Index, ArchiveName); });
}

void TfrmMain::BackupFocusedResult() {
    const int Index = ResultIndexOf(lvScanResults->GetFocusedItem());
    String ArchiveName;
    if (Index >= 0 && FEnvironment.AskArchiveName(ArchiveName))
        RunLoop([&] { FFileActions->BackupOne(FCore->Results, Index, ArchiveName); });
}

void TfrmMain::MoveFocusedResult() {
    const int Index = ResultIndexOf(lvScanResults->GetFocusedItem());
    String Folder;
    if (Index < 0 || !FEnvironment.PickOrganizeFolder(Folder))
        return;
    if (FFileActions->MoveOne(FCore->Results, Index, Folder))
        FillResultsList();
    FCore->UpdateScanStatistics();
}

void TfrmMain::btnScanResultsPackClick() {
    String ArchiveName;
    if (FCore->Results.CheckedCount() > 0 && FEnvironment.AskArchiveName(ArchiveName))
        RunLoop([&] { FFileActions->ZipChecked(FCore->Results, ArchiveName); });
}

void TfrmMain::btnScanResultsOrganizeClick() {
    String Folder;
    if (!FEnvironment.PickOrganizeFolder(Folder))
        return;
    RunLoop([&] {
        if (FFileActions->MoveChecked(FCore->Results, Folder) > 0)
            FillResultsList();
        FCore->UpdateScanStatistics();
    });
}

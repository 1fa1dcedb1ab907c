// The duplicate finder's options page (the names allowed to have copies, by name or by name and
// size) and its group list beside the results: choosing a group shows its files.
#include "app/FileInfo.h"
#include "app/QRVDataMod.h"
#include "app/TreeLists.h"
#include "classlib/gui/NamedChild.h"
#include "controls/FlatRadioButton.h"
#include "controls/FlatSplitter.h"
#include "main/DuplicateFinder.h"
#include "main/FileScan.h"
#include "main/MainForm.h"

void TfrmMain::CreateDuplicatesOptionsPage(TPage& Page) {
    MakeLabel(Page, L"labDuplicatesOptions", Bounds(16, 4, 500, 15));
    lvDuplicatesOptions =
        MakeTreeList(*this, Page, L"lvDuplicatesOptions", Bounds(16, 22, 515, 262));
    AddHeaderColumn(*lvDuplicatesOptions, FCore->Text(L"lvDuplicatesOptionsColumn1", L"Caption"),
                    410);
    chkDupFileNameOnly = MakeNamedChild<TFlatRadioButton>(*this, Page, L"chkDupFileNameOnly",
                                                          Bounds(16, 294, 200, 17));
    chkDupFileNameAndSize = MakeNamedChild<TFlatRadioButton>(*this, Page, L"chkDupFileNameAndSize",
                                                             Bounds(224, 294, 220, 17));
    chkDupFileNameAndSize->SetChecked(FDuplicates->ByNameAndSize);
    chkDupFileNameOnly->SetChecked(!FDuplicates->ByNameAndSize);
    for (TFlatRadioButton* Choice : {chkDupFileNameOnly, chkDupFileNameAndSize}) {
        // The skin pass gives radio buttons no caption.
        Choice->SetCaption(FCore->Text(Choice->Name, L"Caption"));
        Choice->SetTransparent(true);
        Choice->OnClick = [this](TObject*) {
            FDuplicates->ByNameAndSize = chkDupFileNameAndSize->Checked();
        };
    }
    TavImageList* Inside = frmDM ? frmDM->avILInside : nullptr;
    MakeButton(Page, L"btnAddAllowedDuplicates", Bounds(16, 338, 120, 25), Inside, GlyphAddItem,
               [this] { btnAddAllowedDuplicatesClick(); });
    MakeButton(Page, L"btnDeleteAllowedDuplicates", Bounds(144, 338, 120, 25), Inside, GlyphRemove,
               [this] { btnDeleteAllowedDuplicatesClick(); });
    ShowAllowedDuplicates();
}

void TfrmMain::CreateDuplicateGroupList(TWinControl& Parent) {
    constexpr int GroupWidth = 220;
    lvDuplicatesScanResults = MakeTreeList(*this, Parent, L"lvDuplicatesScanResults",
                                           Bounds(0, 0, GroupWidth, Parent.Height()));
    lvDuplicatesScanResults->SetAlign(alLeft);
    lvDuplicatesScanResults->SetImages(SystemImages);
    lvDuplicatesScanResults->SetImages2(SecurityImageList);
    lvDuplicatesScanResults->SortMode = smClick;
    lvDuplicatesScanResults->OnCompareItems = [](TCvTreeCore*, TCvTreeItem* A, TCvTreeItem* B,
                                                 int& Res) {
        if (RecordOf(A) && RecordOf(B))
            Res = CompareFiles(RecordOf(A), RecordOf(B));
    };
    for (const TResultColumn& Column : DuplicateGroupColumns()) {
        TCvHeaderSection* Section =
            AddHeaderColumn(*lvDuplicatesScanResults,
                            Column.Message ? FCore->Message(Column.CaptionSection)
                                           : FCore->Text(Column.CaptionSection, L"Caption"),
                            Column.Width);
        if (Column.CustomCompare)
            Section->SetFieldType(sftCustom);
    }
    GuardChoice(*lvDuplicatesScanResults, [this] { lvDuplicatesScanResultsItemSelectedChange(); });
    MakeNamedChild<TFlatSplitter>(*this, Parent, L"spScanResultsSplitter",
                                  Bounds(GroupWidth, 0, 4, Parent.Height()))
        ->SetAlign(alLeft);
    ShowDuplicateGroupList(false);
}

void TfrmMain::ShowDuplicateGroupList(bool Shown) {
    lvDuplicatesScanResults->SetVisible(Shown);
    if (auto* Splitter = dynamic_cast<TControl*>(FindComponent(L"spScanResultsSplitter")))
        Splitter->SetVisible(Shown);
    PlaceResultCommands(FCore->Flow.Mode()); // the list gives the groups their room
}

void TfrmMain::ShowAllowedDuplicates() {
    if (!lvDuplicatesOptions)
        return;
    lvDuplicatesOptions->Items().BeginUpdate();
    lvDuplicatesOptions->Items().RemoveAll();
    for (const String& Name : FDuplicates->Allowed().Names())
        AddTreeRow(*lvDuplicatesOptions, nullptr, Name);
    lvDuplicatesOptions->Items().EndUpdate();
}

void TfrmMain::btnDuplicateFilesClick() {
    FDuplicates->Enter();
    ShowAllowedDuplicates();
    if (!CleanOptionsNoteBook)
        return; // made with its page, from the mode then
    CleanOptionsNoteBook->SetActivePage(L"DuplicatesFiles");
    CleanOptionsPageChanged();
}

void TfrmMain::btnAddAllowedDuplicatesClick() {
    String Name;
    if (!FEnvironment.AskAllowedDuplicate(Name))
        return;
    FDuplicates->AddAllowed(Name); // a blank name is not stored
    ShowAllowedDuplicates();
}

void TfrmMain::btnDeleteAllowedDuplicatesClick() {
    const TCvTreeItem* Row = lvDuplicatesOptions->GetFocusedItem();
    if (Row && FDuplicates->DeleteAllowed(String(Row->Text())))
        ShowAllowedDuplicates();
}

void TfrmMain::ShowDuplicateGroups() {
    EnsurePageControls(pgScanResults);
    lvDuplicatesScanResults->Items().BeginUpdate();
    lvDuplicatesScanResults->Items().RemoveAll();
    const std::vector<TFile*>& Groups = FDuplicates->Groups();
    for (int I = 0; I < static_cast<int>(Groups.size()); ++I) {
        TFile& Group = *Groups[I];
        TCvTreeItem* Row = AddTreeRow(*lvDuplicatesScanResults, nullptr, Group.Name,
                                      {IntToStr(Group.CopyCount), GroupSizeText(Group)}, I);
        // The record sorts the row; the row's place chooses the group.
        Row->ItemObject = &Group;
        String TypeName;
        Row->SetMainImage(GetFileTypeInfo(Group.FullName(), TypeName));
    }
    lvDuplicatesScanResults->Items().EndUpdate();
    if (lvDuplicatesScanResults->Items().TotalCount() > 0) {
        // The scan's end shows the first group while the scan still counts as running.
        const TFlagScope InCode(FChoosingInCode);
        TCvTreeItem* First = lvDuplicatesScanResults->Items().ItemAtIndex(0);
        lvDuplicatesScanResults->SetFocusedItem(First);
        lvDuplicatesScanResults->SetSelectedItem(First);
    }
}

void TfrmMain::lvDuplicatesScanResultsItemSelectedChange() {
    const TCvTreeItem* Row = lvDuplicatesScanResults->GetSelectedItem();
    if (!Row)
        return;
    FDuplicates->SelectGroup(TreeRowIndex(Row));
    ResultsChanged();
}

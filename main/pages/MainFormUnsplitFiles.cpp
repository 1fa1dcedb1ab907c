// The combine page: the recorded splits, the folder to join into, join and forget.
#include "app/QRVDataMod.h"
#include "app/TreeLists.h"
#include "classlib/gui/NamedChild.h"
#include "controls/FlatEdit.h"
#include "main/MainForm.h"
#include "main/SplitPages.h"

void TfrmMain::CreateUnsplitFilesPage(TPage& Page) {
    TavImageList* Inside = frmDM ? frmDM->avILInside : nullptr;
    MakeLabel(Page, L"labUnsplitFiles", Bounds(16, 8, 500, 15));
    lvUnSplitFiles = MakeTreeList(*this, Page, L"lvUnSplitFiles", Bounds(16, 26, 515, 280));
    lvUnSplitFiles->SetImages(RecoveryFilesImageList);
    GuardChoice(*lvUnSplitFiles, [this] { lvUnSplitFilesItemSelectedChange(); });
    MakeLabel(Page, L"labUnsplitFilesDestination", Bounds(16, 314, 400, 15));
    edUnsplitFilesDestination = MakeNamedChild<TFlatEdit>(*this, Page, L"edUnsplitFilesDestination",
                                                          Bounds(16, 332, 400, 19));
    MakeButton(Page, L"btnUnSplitFilesBrowse", Bounds(424, 329, 100, 25), Inside, GlyphBrowse,
               [this] { btnUnSplitFilesBrowseClick(); });
    MakeButton(Page, L"btnUnsplitFilesCombine", Bounds(16, 378, 120, 25), Inside, GlyphNone,
               [this] { btnUnsplitFilesCombineClick(); });
    MakeButton(Page, L"btnUnsplitFilesDelete", Bounds(144, 378, 120, 25), Inside, GlyphDiscard,
               [this] { btnUnsplitFilesDeleteClick(); });
}

void TfrmMain::ShowSplitRecords() {
    lvUnSplitFiles->HeaderControl().Sections().RemoveAllSections();
    const std::pair<const wchar_t*, int> Columns[] = {{L"lvUnSplitFilesColumnName1", 100},
                                                      {L"lvUnSplitFilesColumnName2", 200},
                                                      {L"lvUnSplitFilesColumnName3", 75}};
    for (const auto& [Section, Width] : Columns)
        AddHeaderColumn(*lvUnSplitFiles, FCore->Text(Section, L"Caption"), Width);
    lvUnSplitFiles->Items().BeginUpdate();
    lvUnSplitFiles->Items().RemoveAll();
    const std::vector<TSplitRecord>& Records = FSplitPages->Records();
    for (int I = 0; I < static_cast<int>(Records.size()); ++I)
        AddTreeRow(*lvUnSplitFiles, nullptr, ExtractFileName(Records[I].OriginalFileName),
                   {ExtractFilePath(Records[I].OriginalFileName), DateToStr(Records[I].Date)}, I)
            ->SetMainImage(lpFile);
    lvUnSplitFiles->Items().EndUpdate();
    FitColumnsToList(*lvUnSplitFiles);
}

void TfrmMain::btnCombineFilesClick() {
    FCore->Flow.EnterMode(mdCombineFiles);
    try {
        FSplitPages->LoadRecords();
    } catch (const Exception&) {
        // The records read so far are listed.
    }
    ShowSplitRecords();
}

void TfrmMain::lvUnSplitFilesItemSelectedChange() {
    const TCvTreeItem* Row = lvUnSplitFiles->GetSelectedItem();
    const int Index = TreeRowIndex(Row);
    if (Index >= 0 && Index < static_cast<int>(FSplitPages->Records().size()))
        edUnsplitFilesDestination->SetText(
            TSplitPages::JoinFolderFor(FSplitPages->Records()[Index]));
}

void TfrmMain::btnUnSplitFilesBrowseClick() {
    String Folder;
    if (PickFolder(SelectFolderCaption(), Folder))
        edUnsplitFilesDestination->SetText(IncludeTrailingBackslash(Folder));
}

void TfrmMain::btnUnsplitFilesCombineClick() {
    const int Index = FocusedRowPlace(*lvUnSplitFiles);
    if (Index >= 0)
        RunLoop([&] { FSplitPages->Combine(Index, edUnsplitFilesDestination->Text()); });
}

void TfrmMain::btnUnsplitFilesDeleteClick() {
    const int Index = FocusedRowPlace(*lvUnSplitFiles);
    if (Index >= 0 && FSplitPages->Forget(Index))
        ShowSplitRecords();
}

// The function pages: the registry roots, the privacy steps, and the three lists the user edits
// (folders to empty, files to start, folders to search for junk), each with Add and Delete.
#include "app/QRVDataMod.h"
#include "app/TreeLists.h"
#include "classlib/gui/NamedChild.h"
#include "scheduler/MainForm.h"

namespace {

constexpr int PageWidth = 446;
constexpr int PageHeight = 180;
constexpr int ListWidth = 330;

const wchar_t* const RegistryRows[RegistryFlagCount] = {L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE",
                                                        L"HKEY_USERS"};

// The privacy list: a group row and its steps, in flag order; image of each step.
struct TPrivacyRow {
    const wchar_t* Key;
    int Image; // -1: a group row
};
const TPrivacyRow PrivacyRows[] = {
    {L"sModSchedInternetPrivacy", -1},    {L"sModSchedInternetCache", 0},
    {L"sModSchedInternetCookies", 0},     {L"sModSchedRecentlyTypesURLs", 0},
    {L"sModSchedInternetHistory", 0},     {L"sModSchedMostRecentDocuments", -1},
    {L"sModSchedRecentDocuments", 1},     {L"sModSchedRecentWordpadFileList", 2},
    {L"sModSchedRecentPaintFileList", 3}, {L"sModSchedRecentDirect3DApp", 4},
    {L"sModSchedRecentDirectDrawApp", 4},
};

// The three edited lists, by function.
struct TListPage {
    int Func;
    TCvTree* TfrmSchedulerMain::*Member;
    const wchar_t* List;
    const wchar_t* Column;
    const wchar_t* Add;
    int AddGlyph;
    void (TfrmSchedulerMain::*AddClick)();
    const wchar_t* Delete;
    int DeleteGlyph;
    void (TfrmSchedulerMain::*DeleteClick)();
};
const TListPage ListPages[] = {
    {sfFolderCleaner, &TfrmSchedulerMain::FoldersTree, L"FoldersTree", L"sFolder", L"btnAddFolder",
     GlyphAddItem, &TfrmSchedulerMain::btnAddFolderClick, L"btnDeleteFolder", GlyphRemove,
     &TfrmSchedulerMain::btnDeleteFolderClick},
    {sfAppLauncher, &TfrmSchedulerMain::LaunchTree, L"LaunchTree", L"sSchedFile", L"btnAddLaunch",
     GlyphAdd, &TfrmSchedulerMain::btnAddLaunchClick, L"btnDeleteLaunch", GlyphDelete,
     &TfrmSchedulerMain::btnDeleteLaunchClick},
    {sfJunkFiles, &TfrmSchedulerMain::lvJunkFolders, L"lvJunkFolders", L"sFolder", L"btnJunkAdd",
     GlyphAddItem, &TfrmSchedulerMain::btnJunkAddClick, L"btnJunkDelete", GlyphRemove,
     &TfrmSchedulerMain::btnJunkDeleteClick},
};

TCvTreeItem* AddCheckRow(TCvTree& List, TCvTreeItem* Parent, const String& Text) {
    TCvTreeItem* Row = List.Items().AddChild(Parent, Text);
    Row->SetCheckBoxShown(true);
    return Row;
}

// A row of a list whose check marks are not stored: a box that forgets its mark at the next
// start would mislead, so it shows none.
TCvTreeItem* AddEntryRow(TCvTree& List, const String& Text) {
    return List.Items().AddChild(nullptr, Text);
}

// The top-level rows, in order.
std::vector<TCvTreeItem*> TopRows(const TCvTree& List) {
    std::vector<TCvTreeItem*> Rows;
    for (int I = 0; I < List.GetRoot()->ChildrenCount(); ++I)
        Rows.push_back(List.GetRoot()->GetChild(I));
    return Rows;
}

// The privacy list's check rows, in flag order.
std::vector<TCvTreeItem*> PrivacyCheckRows(const TCvTree& List) {
    std::vector<TCvTreeItem*> Rows;
    for (TCvTreeItem* Group : TopRows(List))
        for (int I = 0; I < Group->ChildrenCount(); ++I)
            Rows.push_back(Group->GetChild(I));
    return Rows;
}

} // namespace

const std::array<const wchar_t*, SchedFuncCount> SchedPageNames{L"Registry", L"Privacy", L"Folders",
                                                                L"Launch", L"StartUp"};

TCvTree* TfrmSchedulerMain::MakeList(TWinControl& Parent, const String& Name, int Width,
                                     const String& ColumnKey, bool CheckBoxes) {
    TCvTree* List = MakeTreeList(*this, Parent, Name, Bounds(0, 0, Width, PageHeight));
    AddHeaderColumn(*List, MessageText(ColumnKey), Width - 24);
    List->SetShowColumns(true); // refused while the header had no column
    List->SetShowCheckboxes(CheckBoxes);
    return List;
}

void TfrmSchedulerMain::CreateRegistryPage(TPage& Page) {
    RegistryList = MakeList(Page, L"RegistryList", PageWidth, L"sSchedRegistryRoots", true);
    for (const wchar_t* Root : RegistryRows)
        AddCheckRow(*RegistryList, nullptr, Root);
}

void TfrmSchedulerMain::CreatePrivacyPage(TPage& Page) {
    PrivacyTree = MakeList(Page, L"PrivacyTree", PageWidth, L"sSchedPrivacySteps", true);
    PrivacyTree->SetImages(InternetPrivacyImageList);
    TCvTreeItem* Group = nullptr;
    for (const TPrivacyRow& Row : PrivacyRows) {
        if (Row.Image < 0) {
            Group = PrivacyTree->Items().AddChild(nullptr, MessageText(Row.Key));
            continue;
        }
        AddCheckRow(*PrivacyTree, Group, MessageText(Row.Key))->SetMainImage(Row.Image);
    }
    for (TCvTreeItem* Row : TopRows(*PrivacyTree))
        Row->SetExpanded(true);
}

void TfrmSchedulerMain::CreateListPages() {
    for (const TListPage& Page : ListPages) {
        TPage& Host = *Notebook->Pages(Page.Func);
        TCvTree* List = MakeList(Host, Page.List, ListWidth, Page.Column, false);
        List->SortMode = smClick;
        this->*Page.Member = List;
        const int Left = ListWidth + 8;
        const int Width = PageWidth - Left;
        MakeButton(Host, Page.Add, Bounds(Left, 0, Width, 25), false, Page.AddGlyph, Page.AddClick);
        MakeButton(Host, Page.Delete, Bounds(Left, 31, Width, 25), false, Page.DeleteGlyph,
                   Page.DeleteClick);
    }
}

TCvTree* TfrmSchedulerMain::ListOf(int Index) const {
    switch (Index) {
    case sfRegistryCleaner:
        return RegistryList;
    case sfInternetPrivacy:
        return PrivacyTree;
    case sfFolderCleaner:
        return FoldersTree;
    case sfAppLauncher:
        return LaunchTree;
    case sfJunkFiles:
        return lvJunkFolders;
    default:
        return nullptr;
    }
}

void TfrmSchedulerMain::ReadList(int Index, TSchedView& View) const {
    if (Index == sfRegistryCleaner || Index == sfInternetPrivacy) {
        const auto Rows =
            Index == sfRegistryCleaner ? TopRows(*RegistryList) : PrivacyCheckRows(*PrivacyTree);
        for (const TCvTreeItem* Row : Rows)
            View.Flags.push_back(Row->IsChecked());
        return;
    }
    for (const TCvTreeItem* Row : TopRows(*ListOf(Index)))
        View.Rows.emplace_back(Row->Text());
}

void TfrmSchedulerMain::PutList(int Index, const TSchedView& View) {
    if (Index == sfRegistryCleaner || Index == sfInternetPrivacy) {
        const auto Rows =
            Index == sfRegistryCleaner ? TopRows(*RegistryList) : PrivacyCheckRows(*PrivacyTree);
        for (std::size_t I = 0; I < Rows.size() && I < View.Flags.size(); ++I)
            Rows[I]->SetCheckMark(View.Flags[I]);
        return;
    }
    TCvTree& List = *ListOf(Index);
    TCvTreeBatch Batch(List);
    List.Items().RemoveAll();
    for (const String& Text : View.Rows)
        AddEntryRow(List, Text);
}

// ----------------------------------------------------------------- list editing

void TfrmSchedulerMain::AddPickedFolder(TCvTree& List) {
    try {
        if (String Folder; FEnv.PickFolder(Handle(), BrowseFolder->TitleText, Folder))
            AddEntryRow(List, Folder);
    } catch (const Exception&) {
        // A picker that fails adds nothing.
    }
}

void TfrmSchedulerMain::btnAddLaunchClick() {
    if (OpenDialog->Execute())
        AddEntryRow(*LaunchTree, OpenDialog->FileName);
}

void TfrmSchedulerMain::DeleteSelectedRow(TCvTree& List) {
    if (TCvTreeItem* Row = List.GetSelectedItem())
        List.Items().Delete(Row);
}

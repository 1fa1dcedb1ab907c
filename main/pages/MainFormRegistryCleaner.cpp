// The registry cleaner: its mode on the options page, and the results page with the findings,
// their check boxes and the removal of the checked ones.
#include "app/QRVDataMod.h"
#include "app/TreeLists.h"
#include "classlib/gui/NamedChild.h"
#include "controls/FlatRadioButton.h"
#include "main/MainForm.h"
#include "main/RegistryCleaner.h"

void TfrmMain::CreateRegistryCleanerOptions(TPage& Page) {
    MakeLabel(Page, L"labRegistryCleanerMode", Bounds(16, 8, 500, 15));
    rdRegistryCleanerSimple = MakeNamedChild<TFlatRadioButton>(
        *this, Page, L"rdRegistryCleanerSimple", Bounds(16, 36, 400, 17));
    MakeLabel(Page, L"labRegistryCleanerSimpleDetails", Bounds(36, 56, 490, 30))->SetWordWrap(true);
    rdRegistryCleanerAdvanced = MakeNamedChild<TFlatRadioButton>(
        *this, Page, L"rdRegistryCleanerAdvanced", Bounds(16, 96, 400, 17));
    MakeLabel(Page, L"labRegistryCleanerAdvancedDetails", Bounds(36, 116, 490, 30))
        ->SetWordWrap(true);
    for (TFlatRadioButton* Radio : {rdRegistryCleanerSimple, rdRegistryCleanerAdvanced}) {
        Radio->SetCaption(FCore->Text(Radio->Name, L"Caption"));
        Radio->SetTransparent(true);
    }
    rdRegistryCleanerSimple->SetChecked(true);
}

void TfrmMain::CreateRegistryCleanerPage(TPage& Page) {
    lvRegistryCleaner = MakePageList(Page, L"lvRegistryCleaner");
    lvRegistryCleaner->SetShowCheckboxes(true);
    lvRegistryCleaner->SortMode = smClick;
    const std::pair<const wchar_t*, int> Columns[] = {{L"lvRegistryCleanerColumnName1", 300},
                                                      {L"lvRegistryCleanerColumnName2", 50},
                                                      {L"lvRegistryCleanerColumnName3", 150}};
    for (const auto& [Section, Width] : Columns)
        AddHeaderColumn(*lvRegistryCleaner, FCore->Text(Section, L"Caption"), Width);
    // A sorted row stands elsewhere than its finding: the row's own place names the finding.
    lvRegistryCleaner->OnItemChecked = GuardedCheck([this](TCvTreeItem* Item) {
        const int Index = TreeRowIndex(Item);
        if (Index >= 0 && Index < static_cast<int>(FRegistry->Rows().size()))
            FRegistry->SetChecked(Index, Item->IsChecked());
        SelectCheckedRow(*lvRegistryCleaner, *Item);
    });
    // The list's own menu: it acts on these findings, not on the scan results.
    mnRegistryCleaner =
        MakeMenu(L"mnRegistryCleaner",
                 {{L"sSelectAll", [this] { btnRegistryCleanerSelectAllClick(); }},
                  {L"sUnselectAll", [this] { btnRegistryCleanerUnselectAllClick(); }},
                  {L"sRemoveRegistryEntries", [this] { btnRegistryCleanerRemoveClick(); }}});
    lvRegistryCleaner->SetPopupMenu(mnRegistryCleaner);
    MakeListButtons(
        Page,
        {{L"btnRegistryCleanerSelectAll", GlyphSelectAll,
          &TfrmMain::btnRegistryCleanerSelectAllClick},
         {L"btnRegistryCleanerUnselectAll", GlyphSelectNone,
          &TfrmMain::btnRegistryCleanerUnselectAllClick},
         {L"btnRegistryCleanerReScan", GlyphRescan, &TfrmMain::btnRegistryCleanerClick},
         {L"btnRegistryCleanerRemove", GlyphDiscard, &TfrmMain::btnRegistryCleanerRemoveClick}},
        122, 130);
    FillRegistryList();
}

void TfrmMain::FillRegistryList() {
    if (!lvRegistryCleaner)
        return;
    RefillKeepingFocus(*lvRegistryCleaner, [this] {
        const std::vector<TRegistryRow>& Rows = FRegistry->Rows();
        for (int I = 0; I < static_cast<int>(Rows.size()); ++I) {
            const TRegistryRow& Row = Rows[I];
            TCvTreeItem* Item = AddTreeRow(*lvRegistryCleaner, nullptr, Row.Text(),
                                           {Row.Finding.Name, Row.Finding.Text}, I);
            Item->SetMainImage(static_cast<int>(Row.Safety));
            Item->SetCheckBoxShown(true);
            Item->SetCheckBoxState(Row.Checked ? 1 : 0);
        }
    });
    FitColumnsToList(*lvRegistryCleaner);
}

void TfrmMain::btnRegistryCleanerClick() {
    ModeClick(mdRegistryCleaner);
}

void TfrmMain::btnRegistryCleanerSelectAllClick() {
    FRegistry->CheckAll(true);
    FillRegistryList();
}

void TfrmMain::btnRegistryCleanerUnselectAllClick() {
    FRegistry->CheckAll(false);
    FillRegistryList();
}

void TfrmMain::btnRegistryCleanerRemoveClick() {
    RunLoop([this] { FRegistry->RemoveChecked(); });
    FillRegistryList();
}

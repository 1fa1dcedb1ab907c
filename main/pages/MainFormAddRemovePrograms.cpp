// The uninstaller list: the installed programs Windows knows, running an uninstaller, removing
// entries whose uninstaller is gone, and an entry's details.
#include "app/QRVDataMod.h"
#include "app/TreeLists.h"
#include "main/AddRemovePrograms.h"
#include "main/MainForm.h"

void TfrmMain::CreateAddRemoveProgramsPage(TPage& Page) {
    lvAddRemovePrograms = MakePageList(Page, L"lvAddRemovePrograms");
    AddHeaderColumn(*lvAddRemovePrograms, FCore->Message(L"headerProgramName"), 450);
    mnUninstallPrograms = MakeMenu(
        L"mnUninstallPrograms", {{L"sUninstall", [this] { btnAddRemoveProgramsUninstallClick(); }},
                                 {L"sDelete", [this] { btnAddRemoveProgramsDeleteClick(); }},
                                 {L"sRefresh", [this] { btnAddRemoveProgramsRefreshClick(); }},
                                 {L"sProperties", [this] { Properties1Click(); }}});
    lvAddRemovePrograms->SetPopupMenu(mnUninstallPrograms);
    MakeListButtons(
        Page,
        {{L"btnAddRemoveProgramsUninstall", GlyphDelete,
          &TfrmMain::btnAddRemoveProgramsUninstallClick},
         {L"btnAddRemoveProgramsDelete", GlyphDiscard, &TfrmMain::btnAddRemoveProgramsDeleteClick},
         {L"btnAddRemoveProgramsRefresh", GlyphRefresh,
          &TfrmMain::btnAddRemoveProgramsRefreshClick}},
        110, 116);
    FillProgramList();
}

void TfrmMain::FillProgramList() {
    if (!lvAddRemovePrograms)
        return;
    RefillKeepingFocus(*lvAddRemovePrograms, [this] {
        for (const auto& Program : FUninstall->Programs())
            AddListRow(*lvAddRemovePrograms, Program->DisplayName, {Program->KeyName},
                       Program->ImageIndex, false);
    });
    FitColumnsToList(*lvAddRemovePrograms);
}

void TfrmMain::btnAddRemoveProgramsClick() {
    FUninstall->Refresh();
    FCore->Flow.ShowPage(pgAddRemovePrograms);
    FillProgramList();
}

void TfrmMain::btnAddRemoveProgramsRefreshClick() {
    FUninstall->Refresh();
    FillProgramList();
}

void TfrmMain::btnAddRemoveProgramsUninstallClick() {
    const std::optional<std::size_t> Index = FocusedIndex(*lvAddRemovePrograms);
    if (!Index)
        return;
    {
        // The window takes no input while the uninstaller runs; it is still painted.
        struct TDisabled {
            TControl& Window;
            explicit TDisabled(TControl& W) : Window(W) { Window.SetEnabled(false); }
            ~TDisabled() { Window.SetEnabled(true); }
        } const Disabled(*this);
        RunLoop([this, Index] { FUninstall->Uninstall(*Index); });
    }
    FillProgramList();
}

void TfrmMain::btnAddRemoveProgramsDeleteClick() {
    const std::optional<std::size_t> Index = FocusedIndex(*lvAddRemovePrograms);
    if (!Index)
        return;
    FUninstall->Delete(*Index);
    FillProgramList();
}

void TfrmMain::Properties1Click() {
    const std::optional<std::size_t> Index = FocusedIndex(*lvAddRemovePrograms);
    if (Index && *Index < FUninstall->Programs().size())
        FContext->Notice(FUninstall->PropertiesText(*Index), IPrompt::IconExclamation);
}

// The uninstaller list: the installed programs Windows knows, running an uninstaller, removing
// entries whose uninstaller is gone, and an entry's details.
#include "app/QRVDataMod.h"
#include "app/TreeLists.h"
#include "main/AddRemovePrograms.h"
#include "main/MainForm.h"

void TfrmMain::CreateAddRemoveProgramsPage(TPage& Page) {
    lvAddRemovePrograms = MakeTreeList(*this, Page, L"lvAddRemovePrograms", Bounds(8, 8, 531, 362));
    lvAddRemovePrograms->SetImages(StatusImages);
    AddHeaderColumn(*lvAddRemovePrograms, FCore->Message(L"headerProgramName"), 450);
    mnUninstallPrograms = MakeMenu(
        L"mnUninstallPrograms", {{L"sUninstall", [this] { btnAddRemoveProgramsUninstallClick(); }},
                                 {L"sDelete", [this] { btnAddRemoveProgramsDeleteClick(); }},
                                 {L"sRefresh", [this] { btnAddRemoveProgramsRefreshClick(); }},
                                 {L"sProperties", [this] { Properties1Click(); }}});
    lvAddRemovePrograms->SetPopupMenu(mnUninstallPrograms);
    TavImageList* Inside = frmDM ? frmDM->avILInside : nullptr;
    const struct {
        const wchar_t* Name;
        int Glyph;
        void (TfrmMain::*Click)();
    } Buttons[] = {
        {L"btnAddRemoveProgramsUninstall", 7, &TfrmMain::btnAddRemoveProgramsUninstallClick},
        {L"btnAddRemoveProgramsDelete", 6, &TfrmMain::btnAddRemoveProgramsDeleteClick},
        {L"btnAddRemoveProgramsRefresh", 20, &TfrmMain::btnAddRemoveProgramsRefreshClick},
    };
    int Left = 8;
    for (const auto& Button : Buttons) {
        const auto Click = Button.Click;
        MakeButton(Page, Button.Name, Bounds(Left, 378, 110, 25), Inside, Button.Glyph,
                   [this, Click] { (this->*Click)(); });
        Left += 116;
    }
    FillProgramList();
}

void TfrmMain::FillProgramList() {
    if (!lvAddRemovePrograms)
        return;
    const int Focused = FocusedRowIndex(*lvAddRemovePrograms);
    lvAddRemovePrograms->Items().BeginUpdate();
    lvAddRemovePrograms->Items().RemoveAll();
    for (const auto& Program : FUninstall->Programs())
        AddListRow(*lvAddRemovePrograms, Program->DisplayName, {Program->KeyName},
                   Program->ImageIndex, false);
    lvAddRemovePrograms->Items().EndUpdate();
    FocusRowAt(*lvAddRemovePrograms, Focused);
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

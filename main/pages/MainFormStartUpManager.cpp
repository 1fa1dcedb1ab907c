// The startup manager's page: the programs Windows starts at logon, with add, edit, delete and
// refresh under the list and in its popup menu.
#include "app/QRVDataMod.h"
#include "app/TreeLists.h"
#include "main/MainForm.h"
#include "main/dialogs/StartUpEditForm.h"
#include "main/StartupManager.h"

void TfrmMain::CreateStartUpManagerPage(TPage& Page) {
    lvStartupManager = MakePageList(Page, L"lvStartupManager");
    for (const auto& [Key, Width] : {std::pair{L"headerProgramName", 100},
                                     {L"headerCommandLine", 250},
                                     {L"headerLocation", 150}})
        AddHeaderColumn(*lvStartupManager, FCore->Message(Key), Width);
    mnStartUp = MakeMenu(L"mnStartUp", {{L"sAdd", [this] { btnAddStartupClick(); }},
                                        {L"sEdit", [this] { btnEditStartupClick(); }},
                                        {L"sDelete", [this] { btnDeleteStartupClick(); }},
                                        {L"sRefresh", [this] { btnRefreshStartupClick(); }}});
    lvStartupManager->SetPopupMenu(mnStartUp);
    MakeListButtons(Page,
                    {{L"btnAddStartup", GlyphAdd, &TfrmMain::btnAddStartupClick},
                     {L"btnEditStartup", GlyphDetails, &TfrmMain::btnEditStartupClick},
                     {L"btnDeleteStartup", GlyphDelete, &TfrmMain::btnDeleteStartupClick},
                     {L"btnRefreshStartup", GlyphRefresh, &TfrmMain::btnRefreshStartupClick}},
                    110, 116);
    FillStartupList();
}

void TfrmMain::FillStartupList() {
    if (!lvStartupManager)
        return;
    RefillKeepingFocus(*lvStartupManager, [this] {
        for (const TStartupEntry& Entry : FStartup->Entries())
            AddListRow(*lvStartupManager, Entry.Name, {Entry.CommandLine, Entry.LocationText},
                       Entry.ImageIndex, false);
    });
    FitColumnsToList(*lvStartupManager);
}

void TfrmMain::btnStartUpManagerClick() {
    FStartup->Refresh();
    FCore->Flow.ShowPage(pgStartUpManager);
    FillStartupList();
}

void TfrmMain::btnRefreshStartupClick() {
    FStartup->Refresh();
    FillStartupList();
}

void TfrmMain::btnAddStartupClick() {
    // A refused name or a failed write keeps the dialog open with its reason.
    const TMainFormEnvironment::TStartupAccept Accept =
        [this](const String& Name, const String& CommandLine, int Location) {
            if (!ValidStartupName(Name)) {
                FContext->Notice(FCore->Message(L"sStartupNameInvalid"), IPrompt::IconExclamation);
                return false;
            }
            if (!FStartup->Add(Name, CommandLine, static_cast<TStartupLocation>(Location))) {
                FContext->Notice(FCore->Message(L"sStartupWriteFailed"), IPrompt::IconExclamation);
                return false;
            }
            return true;
        };
    if (FEnvironment.EditStartup)
        FEnvironment.EditStartup(nullptr, Accept);
    else
        EditStartupEntry(FCore->Message(L"sAddStartupProgram"), nullptr, Accept);
    FillStartupList();
}

void TfrmMain::btnEditStartupClick() {
    const std::optional<std::size_t> Index = FocusedIndex(*lvStartupManager);
    if (!Index || *Index >= FStartup->Entries().size())
        return;
    const TStartupEntry Entry = FStartup->Entries()[*Index];
    const TMainFormEnvironment::TStartupAccept Accept =
        [this, Index](const String&, const String& CommandLine, int) {
            if (!FStartup->Edit(*Index, CommandLine)) {
                FContext->Notice(FCore->Message(L"sStartupWriteFailed"), IPrompt::IconExclamation);
                return false;
            }
            return true;
        };
    if (FEnvironment.EditStartup)
        FEnvironment.EditStartup(&Entry, Accept);
    else
        EditStartupEntry(FCore->Message(L"sEditStartupItem"), &Entry, Accept);
    FillStartupList();
}

void TfrmMain::btnDeleteStartupClick() {
    const std::optional<std::size_t> Index = FocusedIndex(*lvStartupManager);
    if (!Index)
        return;
    FStartup->Delete(*Index);
    FillStartupList();
}

// The main program's dialogs for the tests that go over every window.
#include "app/FlatMessageBox.h"
#include "app/InputQueryForm.h"
#include "app/PleaseWaitForm.h"
#include "app/ProgressForm.h"
#include "app/SplashForm.h"
#include "main/dialogs/CookieListForm.h"
#include "main/dialogs/DuplicatesOptionsEdit.h"
#include "main/dialogs/FTPConnectionsFprm.h"
#include "main/dialogs/FilterForm.h"
#include "main/dialogs/JunkFilesOptionsEdit.h"
#include "main/dialogs/OrganizeForm.h"
#include "main/dialogs/StartUpEditForm.h"
#include "tests/main/MainFormFixture.h"

std::vector<std::unique_ptr<TForm>> MainFormTest::MakeDialogs() {
    std::vector<std::unique_ptr<TForm>> Windows;
    Windows.emplace_back(NewForm<TfrmFlatMessageBox>(App.get()));
    Windows.emplace_back(NewForm<TfrmInputQuery>(App.get()));
    Windows.emplace_back(NewForm<TfrmSplash>(App.get()));
    Windows.emplace_back(NewForm<TfrmProgress>(App.get()));
    Windows.emplace_back(NewForm<TfrmPleaseWait>(App.get()));
    Windows.emplace_back(NewForm<TfrmDuplicatesOptionsEdit>(App.get()));
    Windows.emplace_back(NewForm<TfrmJunkFilesOptionsEdit>(App.get()));
    Windows.emplace_back(NewForm<TfrmFTPConnections>(App.get(), Form->Backup()));
    Windows.emplace_back(NewForm<TfrmFilter>(App.get()));
    OrganizeFolders =
        std::make_unique<TOrganizeFolders>(*Form->Core().Tables().OrganizeToFoldersTable);
    Windows.emplace_back(
        NewForm<TfrmOrganize>(App.get(), *OrganizeFolders, Environment.PickFolder));
    Windows.emplace_back(NewForm<TfrmStartUpEdit>(App.get()));
    Windows.emplace_back(NewForm<TfrmCookieList>(App.get()));
    return Windows;
}

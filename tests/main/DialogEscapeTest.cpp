// Every dialog of the main program closes with Escape as with Cancel, whichever control has the
// focus when it opens and whether or not its Cancel button is marked for the key.
#include "app/FlatMessageBox.h"
#include "app/InputQueryForm.h"
#include "main/Statistics.h"
#include "main/dialogs/AboutForm.h"
#include "main/dialogs/CookieListForm.h"
#include "main/dialogs/DuplicatesOptionsEdit.h"
#include "main/dialogs/FTPConnectionsFprm.h"
#include "main/dialogs/FilterForm.h"
#include "main/dialogs/JunkFilesOptionsEdit.h"
#include "main/dialogs/OrganizeForm.h"
#include "main/dialogs/StartUpEditForm.h"
#include "main/dialogs/ViewReportForm.h"
#include "tests/main/FeatureTestSupport.h"
#include "tests/main/MainFormFixture.h"
#include "tests/support/ModalTestSupport.h"

#include <memory>
#include <vector>

TEST_F(MainFormTest, EveryDialogClosesWithEscapeAsWithCancel) {
    MakeForm();
    TStatistics Stats;
    TReportViewerEnvironment Viewer;
    Viewer.AppDir = Folder.Path();
    Viewer.Stats = &Stats;
    TOrganizeFolders Folders(*Form->Core().Tables().OrganizeToFoldersTable);
    TFeatureTestContext Texts("");
    std::vector<std::unique_ptr<TForm>> Dialogs;
    Dialogs.emplace_back(NewForm<TfrmViewReport>(App.get(), Viewer));
    Dialogs.emplace_back(NewForm<TfrmFlatMessageBox>(App.get()));
    Dialogs.emplace_back(NewForm<TfrmInputQuery>(App.get()));
    Dialogs.emplace_back(NewForm<TfrmDuplicatesOptionsEdit>(App.get()));
    Dialogs.emplace_back(NewForm<TfrmJunkFilesOptionsEdit>(App.get()));
    Dialogs.emplace_back(NewForm<TfrmFTPConnections>(App.get(), Form->Backup()));
    Dialogs.emplace_back(NewForm<TfrmFilter>(App.get()));
    Dialogs.emplace_back(NewForm<TfrmOrganize>(App.get(), Folders, Environment.PickFolder));
    Dialogs.emplace_back(NewForm<TfrmStartUpEdit>(App.get()));
    Dialogs.emplace_back(NewForm<TfrmCookieList>(App.get()));
    Dialogs.emplace_back(NewForm<TfrmAbout>(App.get(), Folder.Path(), Texts.Context));
    for (const auto& Dialog : Dialogs) {
        SCOPED_TRACE(ToUtf8(Dialog->Name));
        Dialog->HandleNeeded();
        EndModalAfter(*Dialog, 5000);
        PressWhenShown(*Dialog, VK_ESCAPE);
        auto* Flat = dynamic_cast<TFlatForm*>(Dialog.get());
        EXPECT_EQ(Flat ? Flat->ShowFlatModal() : Dialog->ShowModal(), mrCancel);
    }
}

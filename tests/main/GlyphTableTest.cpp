// Every skinned button of the main program shows the glyph its use calls for: the main window's
// pages and each dialog, held against the table of glyph uses.
#include "app/FlatMessageBox.h"
#include "app/PleaseWaitForm.h"
#include "app/ProgressForm.h"
#include "main/dialogs/CookieListForm.h"
#include "main/dialogs/DuplicatesOptionsEdit.h"
#include "main/dialogs/FTPConnectionsFprm.h"
#include "main/dialogs/FilterForm.h"
#include "main/dialogs/JunkFilesOptionsEdit.h"
#include "main/dialogs/OrganizeForm.h"
#include "main/dialogs/StartUpEditForm.h"
#include "tests/main/MainFormFixture.h"
#include "tests/support/GlyphTable.h"

#include <memory>
#include <vector>

TEST_F(MainFormTest, EveryButtonOfTheMainProgramShowsTheGlyphOfItsUse) {
    MakeForm().CreateAllPages();
    EXPECT_GT(ExpectGlyphsAsTable(*Form), 60);

    std::vector<std::unique_ptr<TForm>> Windows;
    Windows.emplace_back(NewForm<TfrmFlatMessageBox>(App.get()));
    Windows.emplace_back(NewForm<TfrmProgress>(App.get()));
    Windows.emplace_back(NewForm<TfrmPleaseWait>(App.get()));
    Windows.emplace_back(NewForm<TfrmDuplicatesOptionsEdit>(App.get()));
    Windows.emplace_back(NewForm<TfrmJunkFilesOptionsEdit>(App.get()));
    Windows.emplace_back(NewForm<TfrmFTPConnections>(App.get(), Form->Backup()));
    Windows.emplace_back(NewForm<TfrmFilter>(App.get()));
    TOrganizeFolders Folders(*Form->Core().Tables().OrganizeToFoldersTable);
    Windows.emplace_back(NewForm<TfrmOrganize>(App.get(), Folders, Environment.PickFolder));
    Windows.emplace_back(NewForm<TfrmStartUpEdit>(App.get()));
    Windows.emplace_back(NewForm<TfrmCookieList>(App.get()));
    for (const auto& Window : Windows)
        EXPECT_GT(ExpectGlyphsAsTable(*Window), 0) << ToUtf8(Window->Name);

    // The skin pass puts the listed picture on the button, and none on a text-only one.
    auto* Remove =
        dynamic_cast<TavImageExpandButton*>(FindNamedComponent(*Form, L"btnDeleteDrive"));
    ASSERT_NE(Remove, nullptr);
    TBitmap Expected;
    frmDM->ilGlyphs->GetBitmap(GlyphRemove, Expected);
    ASSERT_EQ(Remove->Glyph().Width(), GlyphWidth);
    bool Same = true;
    for (int Y = 0; Y < GlyphHeight; ++Y)
        for (int X = 0; X < GlyphWidth; ++X)
            Same = Same && Remove->Glyph().Canvas().Pixel(X, Y) == Expected.Canvas().Pixel(X, Y);
    EXPECT_TRUE(Same);
    auto* Ok = dynamic_cast<TavImageExpandButton*>(FindNamedComponent(*Windows[0], L"btnOk"));
    ASSERT_NE(Ok, nullptr);
    EXPECT_TRUE(Ok->Glyph().Empty()) << "a message box's buttons carry their words only";
}

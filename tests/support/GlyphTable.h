#pragma once
// Which glyph every bitmap-skinned button of both programs shows, written out independently of
// the code that makes the buttons; a named button not listed here carries text only.

#include "classlib/rtl/Classes.h"
#include "controls/avImageExpandButton.h"

#include <gtest/gtest.h>

#include <optional>

struct TGlyphUse {
    // The window's name; null for a button name that means the same glyph on every window.
    const wchar_t* Window;
    const wchar_t* Button;
    int Glyph;
};

inline constexpr TGlyphUse GlyphTable[] = {
    {nullptr, L"btnAddStartup", 0},
    {nullptr, L"btnAddLaunch", 0},
    {nullptr, L"btnScanStatictics", 1},
    {nullptr, L"btnBackupSelectFilesAddFile", 1},
    {nullptr, L"btnEditStartup", 1},
    {nullptr, L"btnAddScanDrive", 2},
    {nullptr, L"btnAddJunkFilesOption", 2},
    {nullptr, L"btnAddAllowedDuplicates", 2},
    {nullptr, L"btnFolderCleanerAddFolder", 2},
    {nullptr, L"btnBackupSelectFilesAddFolder", 2},
    {nullptr, L"btnSaveFTPConnection", 2},
    {nullptr, L"btnAdd", 2},
    {nullptr, L"btnAddFolder", 2},
    {nullptr, L"btnJunkAdd", 2},
    {nullptr, L"btnScanResultsBackup", 3},
    {nullptr, L"btnBackup", 3},
    {nullptr, L"btnFolderCleanerExploreFolder", 4},
    {nullptr, L"btnSplitFilesFileToSplitBrowse", 4},
    {nullptr, L"edSplitFilesDestinationBrowse", 4},
    {nullptr, L"btnUnSplitFilesBrowse", 4},
    {nullptr, L"btnBackupLocalBrowseZIPFileName", 4},
    {nullptr, L"btnLoadFTPConnection", 4},
    {nullptr, L"btnScanResultsCleanAll", 5},
    {nullptr, L"btnDeleteStartup", 6},
    {nullptr, L"btnAddRemoveProgramsUninstall", 6},
    {nullptr, L"btnDeleteLaunch", 6},
    {nullptr, L"btnDeleteDrive", 7},
    {nullptr, L"btnDeleteJunkFilesOptions", 7},
    {nullptr, L"btnDeleteAllowedDuplicates", 7},
    {nullptr, L"btnFolderCleanerRemoveFolder", 7},
    {L"frmOrganize", L"btnRemove", 7},
    {nullptr, L"btnDeleteFolder", 7},
    {nullptr, L"btnJunkDelete", 7},
    {nullptr, L"btnAllDrives", 8},
    {nullptr, L"btnScaResultsClearFilter", 10},
    {nullptr, L"btnScaResultsFilter", 11},
    {nullptr, L"btnScanResultsOrganize", 12},
    {nullptr, L"btnCookiesListRemove", 13},
    {L"frmFTPConnections", L"btnRemove", 13},
    {nullptr, L"btnClearAllPaths", 13},
    {nullptr, L"btnDeleteRecoveryFiles", 13},
    {nullptr, L"btnRegistryCleanerRemove", 13},
    {nullptr, L"btnFolderCleanerEmptyFolder", 13},
    {nullptr, L"btnUnsplitFilesDelete", 13},
    {nullptr, L"btnBackupSelectFilesRemove", 13},
    {nullptr, L"btnLocalBackupRemove", 13},
    {nullptr, L"btnFTPBackupRemove", 13},
    {nullptr, L"btnAddRemoveProgramsDelete", 13},
    {nullptr, L"btnLocalBackupRestore", 14},
    {nullptr, L"btnFTPBackupRestore", 14},
    {nullptr, L"btnRunNow", 15},
    {nullptr, L"btnSelectAll", 16},
    {nullptr, L"btnScanResultsSelectAll", 16},
    {nullptr, L"btnSelectAllRecoveryFiles", 16},
    {nullptr, L"btnRegistryCleanerSelectAll", 16},
    {nullptr, L"btnUnSelectAll", 17},
    {nullptr, L"btnScanResultsUnSelectAll", 17},
    {nullptr, L"btnUnselectAllRecoveryFiles", 17},
    {nullptr, L"btnRegistryCleanerUnselectAll", 17},
    {nullptr, L"btnScanResultsPack", 18},
    {nullptr, L"btnRegistryCleanerReScan", 19},
    {nullptr, L"btnRefreshStartup", 20},
    {nullptr, L"btnAddRemoveProgramsRefresh", 20},
    {nullptr, L"btnRecoveryFiles", 21},
};

inline std::optional<int> TableGlyph(const String& Window, const String& Button) {
    for (const TGlyphUse& Use : GlyphTable)
        if (Button == Use.Button && (!Use.Window || Window == Use.Window))
            return Use.Glyph;
    return std::nullopt;
}

// Every skinned button Window owns carries the glyph the table gives it, or none (Tag -1) when
// the table does not list it. Returns how many buttons it looked at.
inline int ExpectGlyphsAsTable(const TComponent& Window) {
    int Seen = 0;
    for (int I = 0; I < Window.ComponentCount(); ++I) {
        const auto* Button = dynamic_cast<const TavImageExpandButton*>(Window.Components(I));
        if (!Button)
            continue;
        ++Seen;
        const std::optional<int> Expected = TableGlyph(Window.Name, Button->Name);
        EXPECT_EQ(Button->Tag, Expected.value_or(-1))
            << ToUtf8(Window.Name) << "." << ToUtf8(Button->Name);
    }
    return Seen;
}

// The drive page: which paths the scan walks. The path list itself stands between the title
// and the buttons.
#include "app/QRVDataMod.h"
#include "main/MainForm.h"

void TfrmMain::CreateDrivesPage(TPage& Page) {
    MakeLabel(Page, L"labSelectPathsToScan", Bounds(16, 10, 500, 15));
    TavImageList* Inside = frmDM ? frmDM->avILInside : nullptr;
    MakeButton(Page, L"btnAllDrives", Bounds(16, 378, 120, 25), Inside, 8,
               [this] { btnAllDrivesClick(); });
    MakeButton(Page, L"btnAddScanDrive", Bounds(144, 378, 120, 25), Inside, 2,
               [this] { btnAddScanDriveClick(); });
    MakeButton(Page, L"btnClearAllPaths", Bounds(272, 378, 120, 25), Inside, 13,
               [this] { btnClearAllPathsClick(); });
}

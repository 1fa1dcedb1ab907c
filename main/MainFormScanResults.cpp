// The results page: how many files were found and how much space they take, selecting them all
// or none, and the way to the statistics. The result list stands above the buttons.
#include "app/QRVDataMod.h"
#include "main/MainForm.h"

void TfrmMain::CreateScanResultsPage(TPage& Page) {
    MakeLabel(Page, L"labScanResultsFilesFound", Bounds(16, 8, 120, 15));
    labScanResultsFilesFoundValue =
        MakeLabel(Page, L"labScanResultsFilesFoundValue", Bounds(140, 8, 100, 15));
    labScanResultsFilesFoundValue->Font().SetStyle({fsBold});
    MakeLabel(Page, L"labScanResultsWasting", Bounds(260, 8, 120, 15));
    labScanResultsWastingValue =
        MakeLabel(Page, L"labScanResultsWastingValue", Bounds(384, 8, 140, 15));
    labScanResultsWastingValue->Font().SetStyle({fsBold});
    TavImageList* Inside = frmDM ? frmDM->avILInside : nullptr;
    MakeButton(Page, L"btnScanResultsSelectAll", Bounds(16, 378, 110, 25), Inside, 16,
               [this] { btnScanResultsSelectAllClick(); });
    MakeButton(Page, L"btnScanResultsUnSelectAll", Bounds(132, 378, 110, 25), Inside, 17,
               [this] { btnScanResultsUnSelectAllClick(); });
    CreateDuplicateGroupList(Page, Bounds(16, 28, 220, 340));
    btnScanStatictics = MakeButton(Page, L"btnScanStatictics", Bounds(421, 378, 110, 25), Inside, 1,
                                   [this] { btnScanStaticticsClick(); });
}

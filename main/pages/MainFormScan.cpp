// The scan page: the animation, the folder being walked (shown every 50 ms) and Stop.
#include "app/QRVDataMod.h"
#include "classlib/gui/NamedChild.h"
#include "main/MainForm.h"

void TfrmMain::CreateScanPage(TPage& Page) {
    labScanTitle = MakeLabel(Page, L"labScanTitle", Bounds(16, 20, 500, 18));
    labScanTitle->Font().SetStyle({fsBold});
    ScanAnimate = MakeNamedChild<TAnimate>(*this, Page, L"ScanAnimate", Bounds(178, 80, 190, 40));
    ScanAnimate->SetCommonAVI(aviFindFile);
    labScanFile = MakeLabel(Page, L"labScanFile", Bounds(16, 150, 500, 15));
    labScanningFileName = MakeLabel(Page, L"labScanningFileName", Bounds(16, 170, 515, 30));
    labScanningFileName->SetAutoSize(false);
    labScanningFileName->SetWordWrap(true);
    // Stop acts while the scan runs: it is the one button that is not guarded.
    btnStopScan = MakeButton(Page, L"btnStopScan", Bounds(224, 230, 98, 25),
                             frmDM ? frmDM->avILBig : nullptr, -1, nullptr);
    btnStopScan->OnClick = [this](TObject*) { btnStopScanClick(); };
}

// The statistics page: four bars, the found files against the disks and each safety class
// against all found.
#include "classlib/gui/NamedChild.h"
#include "main/MainForm.h"

namespace {

constexpr int FirstTop = 56;
constexpr int RowStep = 70;

} // namespace

void TfrmMain::CreateScanStatisticsPage(TPage& Page) {
    MakeLabel(Page, L"labScanStatisticsTitle", Bounds(16, 14, 500, 18))->Font().SetStyle({fsBold});
    const String Folder = FCore->AppDir() + L"Data\\Buttons\\Main\\";
    TBitmap Back;
    try {
        Back.LoadFromFile(Folder + L"Progress0.bmp");
    } catch (const std::exception&) {
        // Missing bar pictures leave the bars plain.
    }
    for (int I = 0; I < 4; ++I) {
        const String Number = IntToStr(I + 1);
        const int Top = FirstTop + I * RowStep;
        labProgress[I] = MakeLabel(Page, L"labProgress" + Number, Bounds(16, Top, 500, 15));
        Progress[I] = MakeNamedChild<TBitmapProgress>(*this, Page, L"Progress" + Number,
                                                      Bounds(16, Top + 20, 500, 22));
        Progress[I]->SetBackBitmap(Back);
        try {
            TBitmap Bar;
            Bar.LoadFromFile(Folder + L"Progress" + Number + L".bmp");
            Progress[I]->SetBarBitmap(Bar);
        } catch (const std::exception&) {
        }
        Progress[I]->SetPosition(0);
    }
}

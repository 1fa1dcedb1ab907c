// The cleaning area: the seven cleaning features, each a large picture and its link.
#include "main/MainForm.h"

namespace {

struct TFeatureEntry {
    const wchar_t* Picture;
    const wchar_t* Label;
    int Mode;
};
constexpr TFeatureEntry Features[] = {
    {L"btnJunkFiles", L"labJunkFiles", mdJunkFiles},
    {L"btnLargeFiles", L"labLargeFiles", mdLargeFiles},
    {L"btnOldFiles", L"labOldFiles", mdOldFiles},
    {L"btnEmptyFolders", L"labEmptyFolders", mdEmptyFolders},
    {L"btnBrokenLinks", L"labBrokenLinks", mdBrokenLinks},
    {L"btnFolderCleaner", L"labFolderCleaner", mdFolderCleaner},
    {L"btnInternetPrivacy", L"labInternetPrivacy", mdInternetPrivacy},
};

} // namespace

void TfrmMain::CreateCleanMyComputerPage(TPage& Page) {
    for (int I = 0; I < static_cast<int>(std::size(Features)); ++I) {
        const int Mode = Features[I].Mode;
        MakeMenuEntry(Page, I, Features[I].Picture, Features[I].Label,
                      [this, Mode] { ModeClick(Mode); });
    }
}

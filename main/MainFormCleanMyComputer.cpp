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
constexpr int ColumnWidth = 262;
constexpr int RowStep = 96;

} // namespace

void TfrmMain::CreateCleanMyComputerPage(TPage& Page) {
    for (int I = 0; I < static_cast<int>(std::size(Features)); ++I) {
        const TFeatureEntry& Entry = Features[I];
        const int Left = 16 + (I % 2) * ColumnWidth;
        const int Top = 16 + (I / 2) * RowStep;
        const int Mode = Entry.Mode;
        const auto Action = [this, Mode] { ModeClick(Mode); };
        MakeBigPicture(Page, Entry.Picture, Bounds(Left, Top, 64, 64), Action);
        MakeLink(Page, Entry.Label, Bounds(Left + 74, Top + 24, ColumnWidth - 84, 18), Action);
    }
}

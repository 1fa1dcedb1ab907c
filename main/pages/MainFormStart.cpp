// The start page: the five areas as large pictures with their links.
#include "main/MainForm.h"

namespace {

struct TStartEntry {
    const wchar_t* Picture;
    const wchar_t* Label;
    TMainArea Area;
};
constexpr TStartEntry StartEntries[] = {
    {L"btnCleanMyComputer", L"labCleanMyComputer", arCleanMyComputer},
    {L"btnSystemConfiguration", L"labSystemConfiguration", arSystemConfiguration},
    {L"btnBackupData", L"labBackupData", arBackupData},
    {L"btnAdvancedFeatures", L"labAdvancedFeatures", arAdvancedFeatures},
    {L"btnRestoreDeletedFiles", L"labRestoreDeletedFiles", arRestoreDeletedFiles},
};
constexpr int FirstTop = 14;
constexpr int RowStep = 78;

} // namespace

void TfrmMain::CreateStartPage(TPage& Page) {
    int Top = FirstTop;
    for (const TStartEntry& Entry : StartEntries) {
        const TMainArea Area = Entry.Area;
        const auto Action = [this, Area] { AreaClick(Area); };
        MakeBigPicture(Page, Entry.Picture, Bounds(60, Top, 64, 64), Action);
        auto* Link = MakeLink(Page, Entry.Label, Bounds(140, Top + 22, 340, 20), Action);
        Link->Font().SetHeight(-15);
        Top += RowStep;
    }
}

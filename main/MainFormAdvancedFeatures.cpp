// The advanced area: the duplicate finder, the registry cleaner, split and combine, and the
// system defragmenter, each a large picture and its link.
#include "main/MainForm.h"

namespace {

struct TAdvancedEntry {
    const wchar_t* Picture;
    const wchar_t* Label;
};
constexpr TAdvancedEntry Entries[] = {
    {L"btnDuplicateFiles", L"labDuplicateFiles"},
    {L"btnRegistryCleaner", L"labRegistryCleaner"},
    {L"btnSplitCombineFiles", L"labSplitCombineFiles"},
    {L"btnDefragment", L"labDefragment"},
};

} // namespace

void TfrmMain::CreateAdvancedFeaturesPage(TPage& Page) {
    // In the order of Entries.
    const std::function<void()> Actions[] = {
        [this] { btnDuplicateFilesClick(); },
        [this] { ModeClick(mdRegistryCleaner); },
        [this] { FCore->Flow.ShowPage(pgSplitCombine); },
        [this] { FLaunchers->StartDefragmenter(); },
    };
    int Top = 16;
    for (int I = 0; I < 4; ++I) {
        MakeBigPicture(Page, Entries[I].Picture, Bounds(40, Top, 64, 64), Actions[I]);
        MakeLink(Page, Entries[I].Label, Bounds(120, Top + 22, 380, 20), Actions[I]);
        Top += 96;
    }
}

// The advanced area: the duplicate finder, the registry cleaner, splitting and combining, and
// the system's defragmenter.
#include "main/MainForm.h"

void TfrmMain::CreateAdvancedFeaturesPage(TPage& Page) {
    MakeMenuEntry(Page, 0, L"btnDuplicateFiles", L"labDuplicateFiles",
                  [this] { ModeClick(mdDuplicateFiles); });
    MakeMenuEntry(Page, 1, L"btnRegistryCleaner", L"labRegistryCleaner",
                  [this] { btnRegistryCleanerClick(); });
    MakeMenuEntry(Page, 2, L"btnSplitCombineFiles", L"labSplitCombineFiles",
                  [this] { FCore->Flow.ShowPage(pgSplitCombine); });
    MakeMenuEntry(Page, 3, L"btnDefragment", L"labDefragment", [this] { btnDefragment2Click(); });
}

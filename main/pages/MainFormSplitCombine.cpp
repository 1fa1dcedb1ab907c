// The split and combine area: cut a file into parts, or join recorded parts.
#include "main/MainForm.h"

void TfrmMain::CreateSplitCombinePage(TPage& Page) {
    MakeBigPicture(Page, L"btnSplitFiles", Bounds(40, 40, 64, 64),
                   [this] { btnSplitFilesClick(); });
    MakeLink(Page, L"labSplitFiles", Bounds(120, 62, 380, 20), [this] { btnSplitFilesClick(); });
    MakeBigPicture(Page, L"btnCombineFiles", Bounds(40, 140, 64, 64),
                   [this] { btnCombineFilesClick(); });
    MakeLink(Page, L"labCombineFiles", Bounds(120, 162, 380, 20),
             [this] { btnCombineFilesClick(); });
}

// The split and combine area: cut a file into parts, or join recorded parts.
#include "main/MainForm.h"

void TfrmMain::CreateSplitCombinePage(TPage& Page) {
    MakeChoiceEntry(Page, 0, L"btnSplitFiles", L"labSplitFiles", [this] { btnSplitFilesClick(); });
    MakeChoiceEntry(Page, 1, L"btnCombineFiles", L"labCombineFiles",
                    [this] { btnCombineFilesClick(); });
}

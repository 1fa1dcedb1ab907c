// The split page: the file, where its parts go, the part size with its unit, whether to ask
// each part's size and whether to delete the file once it is split.
#include "app/QRVDataMod.h"
#include "app/QRVUtils.h"
#include "classlib/gui/NamedChild.h"
#include "controls/FlatCheckBox.h"
#include "controls/FlatEdit.h"
#include "main/MainForm.h"
#include "main/SplitPages.h"

void TfrmMain::CreateSplitFilesPage(TPage& Page) {
    TavImageList* Inside = frmDM ? frmDM->avILInside : nullptr;
    MakeLabel(Page, L"labSplitFilesFileToSplit", Bounds(16, 16, 400, 15));
    edSplitFilesFileToSplit =
        MakeNamedChild<TFlatEdit>(*this, Page, L"edSplitFilesFileToSplit", Bounds(16, 34, 400, 19));
    MakeButton(Page, L"btnSplitFilesFileToSplitBrowse", Bounds(424, 31, 100, 25), Inside,
               GlyphBrowse, [this] { btnSplitFilesFileToSplitBrowseClick(); });
    MakeLabel(Page, L"labSplitFilesDestination", Bounds(16, 68, 400, 15));
    edSplitFilesDestination =
        MakeNamedChild<TFlatEdit>(*this, Page, L"edSplitFilesDestination", Bounds(16, 86, 400, 19));
    MakeButton(Page, L"edSplitFilesDestinationBrowse", Bounds(424, 83, 100, 25), Inside,
               GlyphBrowse, [this] { edSplitFilesDestinationBrowseClick(); });
    MakeLabel(Page, L"labSplitFilesVolumeSize", Bounds(16, 120, 400, 15));
    edSplitFilesVolumeSize = MakeNamedChild<TFlatSpinEditInteger>(
        *this, Page, L"edSplitFilesVolumeSize", Bounds(16, 138, 120, 19));
    edSplitFilesVolumeSize->SetValue(1457664);
    CopySpinButtonColors(*edSplitFilesVolumeSize, *btnBTNForSpins);
    cmbSplitFilesSizeUM = MakeNamedChild<TFlatComboBox>(*this, Page, L"cmbSplitFilesSizeUM",
                                                        Bounds(144, 138, 80, 21));
    cmbSplitFilesSizeUM->SetStyle(csDropDownList);
    cmbSplitFilesSizeUM->Items().Add(FCore->Message(L"sBytes"));
    for (const wchar_t* Unit : {L"KB", L"MB", L"GB"})
        cmbSplitFilesSizeUM->Items().Add(Unit);
    cmbSplitFilesSizeUM->SetItemIndex(0);
    chkVariableSize =
        MakeNamedChild<TFlatCheckBox>(*this, Page, L"chkVariableSize", Bounds(16, 176, 400, 17));
    chkSplitFilesDeleteFile = MakeNamedChild<TFlatCheckBox>(*this, Page, L"chkSplitFilesDeleteFile",
                                                            Bounds(16, 202, 400, 17));
    chkVariableSize->SetTransparent(true);
    chkSplitFilesDeleteFile->SetTransparent(true);
    MakeButton(Page, L"btnSplitFilesSplit", Bounds(16, 378, 120, 25), Inside, GlyphNone,
               [this] { btnSplitFilesSplitClick(); });
}

void TfrmMain::btnSplitFilesClick() {
    FCore->Flow.EnterMode(mdSplitFiles);
}

void TfrmMain::btnSplitFilesFileToSplitBrowseClick() {
    std::vector<String> Files;
    if (!FEnvironment.PickFiles(Handle(), false, Files) || Files.empty())
        return;
    edSplitFilesFileToSplit->SetText(Files.front());
    edSplitFilesDestination->SetText(ExtractFilePath(Files.front()));
}

void TfrmMain::edSplitFilesDestinationBrowseClick() {
    String Folder;
    if (PickFolder(SelectFolderCaption(), Folder))
        edSplitFilesDestination->SetText(IncludeTrailingBackslash(Folder));
}

void TfrmMain::btnSplitFilesSplitClick() {
    // A refused size or name keeps the page as it is, with the logic's message.
    RunLoop([this] {
        FSplitPages->Split(edSplitFilesFileToSplit->Text(), edSplitFilesDestination->Text(),
                           edSplitFilesVolumeSize->Text(), cmbSplitFilesSizeUM->ItemIndex(),
                           chkSplitFilesDeleteFile->Checked(), chkVariableSize->Checked());
    });
}

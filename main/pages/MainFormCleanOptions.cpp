// The options page: an inner notebook with a page per mode that has options.
#include "app/QRVDataMod.h"
#include "app/QRVUtils.h"
#include "app/TreeLists.h"
#include "classlib/gui/NamedChild.h"
#include "main/MainForm.h"

namespace {

constexpr const wchar_t* OptionsPages[] = {L"JunkFiles", L"LargeFiles", L"OldFiles",
                                           L"DuplicatesFiles", L"RegistryCleaner"};
const TRect OptionsBounds = Bounds(0, 40, 547, 373);

} // namespace

void TfrmMain::CreateCleanOptionsPage(TPage& Page) {
    labCleanOptionsTitleDescription =
        MakeLabel(Page, L"labCleanOptionsTitleDescription", Bounds(16, 12, 500, 15));
    labCleanOptionsTitleDescription->Font().SetStyle({fsBold});
    CleanOptionsNoteBook =
        MakeNamedChild<TNotebook>(*this, Page, L"CleanOptionsNoteBook", OptionsBounds);
    for (const wchar_t* Name : OptionsPages)
        CleanOptionsNoteBook->AddPage(Name);
    oimage = MakeBackgroundCopy(*CleanOptionsNoteBook->Pages(0), L"oimage");
    CleanOptionsNoteBook->OnPageChanged = [this](TObject*) { CleanOptionsPageChanged(); };

    TPage& Junk = *CleanOptionsNoteBook->Pages(0);
    MakeLabel(Junk, L"labJunkFilesOptions", Bounds(16, 4, 500, 15));
    lvJunkFilesOptions = MakeTreeList(*this, Junk, L"lvJunkFilesOptions", Bounds(16, 24, 515, 306));
    AddHeaderColumn(*lvJunkFilesOptions, FCore->Text(L"lvJunkFilesOptionsColumn1", L"Caption"),
                    100);
    AddHeaderColumn(*lvJunkFilesOptions, FCore->Text(L"lvJunkFilesOptionsColumn2", L"Caption"),
                    310);
    FillJunkList();
    TavImageList* Inside = frmDM ? frmDM->avILInside : nullptr;
    MakeButton(Junk, L"btnAddJunkFilesOption", Bounds(16, 338, 120, 25), Inside, GlyphAddItem,
               [this] { btnAddJunkFilesOptionClick(); });
    MakeButton(Junk, L"btnDeleteJunkFilesOptions", Bounds(144, 338, 120, 25), Inside, GlyphRemove,
               [this] { btnDeleteJunkFilesOptionsClick(); });

    TPage& Large = *CleanOptionsNoteBook->Pages(1);
    MakeLabel(Large, L"labLargeFilesOptions", Bounds(16, 8, 300, 15));
    edLargeOldLarge = MakeNamedChild<TFlatSpinEditFloat>(*this, Large, L"edLargeOldLarge",
                                                         Bounds(16, 28, 90, 19));
    edLargeOldLarge->Increment = 1;
    edLargeOldLarge->MaxValue = 100000;
    edLargeOldLarge->SetDigits(2);
    edLargeOldLarge->SetValue(FCore->Options.LargeValue);
    CopySpinButtonColors(*edLargeOldLarge, *btnBTNForSpins);
    cmbSizeUM = MakeNamedChild<TFlatComboBox>(*this, Large, L"cmbSizeUM", Bounds(114, 28, 80, 21));
    cmbSizeUM->SetStyle(csDropDownList);
    for (const wchar_t* Unit : {L"Bytes", L"KB", L"MB", L"GB"})
        cmbSizeUM->Items().Add(Unit);
    cmbSizeUM->SetItemIndex(FCore->Options.SizeUnit);

    TPage& Old = *CleanOptionsNoteBook->Pages(2);
    MakeLabel(Old, L"labOldFilesOptions", Bounds(16, 8, 300, 15));
    edLargeOldOld =
        MakeNamedChild<TFlatSpinEditFloat>(*this, Old, L"edLargeOldOld", Bounds(16, 28, 90, 19));
    edLargeOldOld->Increment = 1;
    edLargeOldOld->MaxValue = 50;
    edLargeOldOld->SetDigits(2);
    edLargeOldOld->SetValue(FCore->Options.OldValue);
    CopySpinButtonColors(*edLargeOldOld, *btnBTNForSpins);
    cmbPeriods = MakeNamedChild<TFlatComboBox>(*this, Old, L"cmbPeriods", Bounds(114, 28, 90, 21));
    cmbPeriods->SetStyle(csDropDownList);
    for (const wchar_t* Key : {L"sDays", L"sWeeks", L"sMonths", L"sYears"})
        cmbPeriods->Items().Add(FCore->Message(Key));
    cmbPeriods->SetItemIndex(FCore->Options.Period);

    CreateDuplicatesOptionsPage(*CleanOptionsNoteBook->Pages(3));
    CreateRegistryCleanerOptions(*CleanOptionsNoteBook->Pages(4));

    const TModeEntry Entry = ModeEntry(FCore->Flow.Mode());
    CleanOptionsNoteBook->SetActivePage(Entry.OptionsPage.empty() ? String(L"JunkFiles")
                                                                  : Entry.OptionsPage);
    CleanOptionsPageChanged();
}

void TfrmMain::CleanOptionsPageChanged() {
    MoveBackgroundCopy(*oimage, *CleanOptionsNoteBook->Pages(CleanOptionsNoteBook->PageIndex()));
    const int Mode = FCore->Flow.Mode();
    const String Description =
        Mode == mdLargeFiles        ? FCore->Text(L"labLargeFilesOptionsDescription", L"Caption")
        : Mode == mdOldFiles        ? FCore->Text(L"labOldFilesOptionsDescription", L"Caption")
        : Mode == mdRegistryCleaner ? String()
        : Mode == mdDuplicateFiles  ? FCore->Message(L"sOptionsDuplicateFiles")
                                    : FCore->Message(L"sModJunkFiles");
    labCleanOptionsTitleDescription->SetCaption(Description);
}

void TfrmMain::FillJunkList() {
    if (!lvJunkFilesOptions)
        return;
    TCvTreeItems& Items = lvJunkFilesOptions->Items();
    Items.BeginUpdate();
    Items.RemoveAll();
    for (const TJunkMask& Mask : FCore->JunkMasks().Items())
        Items.AddChild(nullptr, Mask.Extension)->ColumnTextList()->Add(Mask.Description);
    Items.EndUpdate();
}

void TfrmMain::btnDeleteJunkFilesOptionsClick() {
    const TCvTreeItem* Focused = lvJunkFilesOptions->GetFocusedItem();
    if (Focused && FCore->DeleteJunkMask(String(Focused->Text())) > 0)
        FillJunkList();
}

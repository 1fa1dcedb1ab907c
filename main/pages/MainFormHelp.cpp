// Help and the launchers of the top row: the small help buttons beside the features of the menu
// pages, the help file, the support page, the mail to a friend, the defragmenter and the about
// box.
#include "app/Help.h"
#include "classlib/gui/NamedChild.h"
#include "controls/RoundedFlatButton.h"
#include "main/dialogs/AboutForm.h"
#include "main/MainForm.h"

namespace {

// Where a help button stands: under the link of a menu page's entry or of a choice, or beside an
// area of the start page.
TRect HelpButtonBounds(TMainPage Page, int Slot) {
    if (Page == pgMainForm)
        return Bounds(490, 14 + 78 * Slot + 21, 22, 22);
    if (Page == pgBackupRestore || Page == pgBackup || Page == pgSplitCombine) {
        const TPoint At = ChoiceOrigin(Slot);
        return Bounds(At.X + ChoiceTextLeft, At.Y + ChoiceHelpTop, 22, 22);
    }
    const TPoint At = MenuSlotOrigin(Slot);
    return Bounds(At.X + 74, At.Y + 44, 22, 22);
}

struct THelpButton {
    const wchar_t* Name;
    TMainPage Page;
    int Slot;
    const wchar_t* Hint; // null: none
};
// The hints are the window layout's own texts; the language pass leaves them alone.
constexpr THelpButton HelpButtons[] = {
    {L"RoundedFlatSpeedButton1", pgMainForm, 0,
     L"Clear out all unwanted files: junk files, large files, old files, broken links, empty "
     L"folders, internet files."},
    {L"RoundedFlatSpeedButton2", pgMainForm, 1,
     L"Customize your Start-Up and Shutdown procedures tweak your system and remove uninstalled "
     L"programs from your computer."},
    {L"RoundedFlatSpeedButton3", pgMainForm, 2,
     L"Backup your important data (locally or remotely) to avoid important data loss. You can "
     L"also recover the data from the backup using the restore tool."},
    {L"RoundedFlatSpeedButton4", pgMainForm, 3,
     L"Find duplicate files on your computer, clean your registry or split & combine files."},
    {L"RoundedFlatSpeedButton5", pgMainForm, 4,
     L"Restore the files you deleted by mistake (if you used the secure delete function)"},
    {L"RoundedFlatSpeedButton6", pgCleanMyComputer, 0,
     L"Clear out all unwanted files from your computer or local area network (LAN)."},
    {L"RoundedFlatSpeedButton7", pgCleanMyComputer, 1,
     L"Find large files wasting space on your hard disc - and delete them."},
    {L"RoundedFlatSpeedButton8", pgCleanMyComputer, 2,
     L"Find outdated files wasting space on your hard disc - and deleted them."},
    {L"RoundedFlatSpeedButton9", pgCleanMyComputer, 3, L"Detects and removes empty folders."},
    {L"RoundedFlatSpeedButton10", pgCleanMyComputer, 4,
     L"Links can save you time while current, but become wasted space when no longer valid."},
    {L"RoundedFlatSpeedButton11", pgCleanMyComputer, 5,
     L" Temporary folders and junk folders can be emptied and deleted."},
    {L"RoundedFlatSpeedButton12", pgCleanMyComputer, 6,
     L"Protects your privacy by removing all traces of internet activity. All historical "
     L"information contained in your internet cache and recently typed URLs can be easily and "
     L"permanently removed"},
    {L"RoundedFlatSpeedButton49", pgAdvancedFeatures, 0,
     L"Using the safe icon system - System Corvanta locates unnecessary duplicate files - "
     L"allowing you to delete them."},
    {L"RoundedFlatSpeedButton13", pgAdvancedFeatures, 1,
     L"Used with caution - this facility allows you to get Windows running better by clearing "
     L"your registry of invalid entries."},
    {L"RoundedFlatSpeedButton14", pgAdvancedFeatures, 2,
     L"Split large files into easier to manage chunks and locate split files into their "
     L"original form."},
    {L"RoundedFlatSpeedButton29", pgAdvancedFeatures, 3, nullptr},
    {L"RoundedFlatSpeedButton15", pgInternetPrivacy, 0, L"Clean your Internet cache files."},
    {L"RoundedFlatSpeedButton16", pgInternetPrivacy, 1,
     L"Clean the cookie files stored on your computer while browsing the internet."},
    {L"RoundedFlatSpeedButton17", pgInternetPrivacy, 2, L"Clean the list of recent typed URLs."},
    {L"RoundedFlatSpeedButton18", pgInternetPrivacy, 3, L"Clean the Internet History."},
    {L"RoundedFlatSpeedButton19", pgInternetPrivacy, 4,
     L"Clean Recent Documents left on your computer while browsing the Internet."},
    {L"RoundedFlatSpeedButton20", pgSplitCombine, 0,
     L"Some files are too large to be stored on floppy discs or sent by email so they can be "
     L"split into manageable chunks."},
    {L"RoundedFlatSpeedButton21", pgSplitCombine, 1,
     L"Locates and reassembles split files into their original form."},
    {L"RoundedFlatSpeedButton22", pgBackupRestore, 0,
     L"Individual files or folders can be selected and compressed for storing onto a remote "
     L"server or another part of the disc."},
    {L"RoundedFlatSpeedButton23", pgBackupRestore, 1,
     L"Restore your files from a backup that you've created."},
    {L"RoundedFlatSpeedButton24", pgBackup, 0, L"Backup your files on local support."},
    {L"RoundedFlatSpeedButton25", pgBackup, 1, L"Backup your files on a remote support."},
    {L"RoundedFlatSpeedButton26", pgSystemConfiguration, 0,
     L"Lets you edit your auto start-up procedure. You can easily add or remove applications "
     L"from this routine with."},
    {L"RoundedFlatSpeedButton27", pgSystemConfiguration, 1,
     L"- Lets you edit your auto shutdown procedure. You can choose to automatically shutdown "
     L"your computer at a specified moment of a specified day."},
    {L"RoundedFlatSpeedButton28", pgSystemConfiguration, 2,
     L"Make your computer run faster by making a few changes in your system settings related to "
     L"the explorer, interface, mouse, start menu and system."},
    {L"RoundedFlatSpeedButton30", pgSystemConfiguration, 3,
     L"Old programs take unwanted space on your hard disc - the uninstaller helps you safely "
     L"remove them completely."},
};

} // namespace

void TfrmMain::CreateHelpButtons(TMainPage Page, TPage& Host) {
    for (const THelpButton& Entry : HelpButtons) {
        if (Entry.Page != Page)
            continue;
        auto* Button = MakeNamedChild<TRoundedFlatSpeedButton>(*this, Host, Entry.Name,
                                                               HelpButtonBounds(Page, Entry.Slot));
        Button->SetCaption(L"?");
        Button->Font().SetName(L"Verdana");
        Button->Font().SetStyle({fsBold});
        Button->Font().SetHeight(-14);
        Button->Font().SetColor(0x964C02);
        Button->SetCursor(crHandPoint);
        if (Entry.Hint) {
            Button->Hint = Entry.Hint;
            Button->SetShowHint(true);
        }
        // Buttons without a topic have no click action.
        if (HelpTopicFor(Entry.Name)) {
            const String Name = Entry.Name;
            Button->OnClick = Guarded([this, Name] { HelpButtonClick(Name); });
        }
    }
}

void TfrmMain::HelpButtonClick(const String& ButtonName) {
    if (const std::optional<String> Topic = HelpTopicFor(ButtonName))
        ShowHelpTopic(*Topic);
}

void TfrmMain::btnHelpClick() {
    ShowHelpTopic(String());
}

void TfrmMain::btnSupportClick() {
    FLaunchers->OpenSupportPage();
}

void TfrmMain::btnTellAFriendClick() {
    FLaunchers->TellAFriend();
}

void TfrmMain::btnDefragment2Click() {
    FLaunchers->StartDefragmenter();
}

void TfrmMain::btnAboutClick() {
    if (FEnvironment.ShowAbout) {
        FEnvironment.ShowAbout();
        return;
    }
    const std::unique_ptr<TfrmAbout> About(
        NewForm<TfrmAbout>(Application, FCore->AppDir(), *FContext));
    About->ShowModal();
}

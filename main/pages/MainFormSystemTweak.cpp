// The system tweaks page: the category list beside a notebook of the settings, each control
// named after the setting it shows. Opening reads every setting; OK writes back only what the
// user changed.
#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "app/TreeLists.h"
#include "classlib/gui/NamedChild.h"
#include "classlib/rtl/Classes.h"
#include "controls/FlatCheckBox.h"
#include "controls/FlatEdit.h"
#include "controls/FlatPanel.h"
#include "controls/FlatRadioButton.h"
#include "main/MainForm.h"
#include "main/SystemTweaks.h"

namespace {

enum TTweakControlKind { tcCheck, tcRadio, tcCombo, tcSpin, tcEdit, tcPassword };

// One control of the notebook: its page, kind and place; Label names the caption to its left.
struct TTweakControl {
    const wchar_t* Name;
    int Page;
    TTweakControlKind Kind;
    int Top;
    const wchar_t* Label = nullptr;
    int Left = 12;
    int Width = 350;
    // The message keys of a list's items.
    std::initializer_list<const wchar_t*> Items = {};
    // Inside the auto-logon group box.
    bool InLogonGroup = false;
};

constexpr int FieldLeft = 170;
constexpr int FieldWidth = 190;

const TTweakControl TweakControls[] = {
    {L"FlatComboBox1",
     0,
     tcCombo,
     12,
     L"labExplorerView",
     FieldLeft,
     150,
     {L"sLargeIcons", L"sSmallIcons", L"sList", L"sDetails"}},
    {L"chkInstantRefresh", 0, tcCheck, 44},
    {L"chkDLLFilesShowTheirOwnIcons", 0, tcCheck, 70},
    {L"chkRemoveTheShortcutToPrefix", 0, tcCheck, 96},
    {L"chkSaveWindowSettings", 0, tcCheck, 122},
    {L"chkEnabletheCDROMAutorunFeature", 0, tcCheck, 148},
    {L"edMenuSpeed", 1, tcSpin, 12, L"labMenuSpeed", FieldLeft, 90},
    {L"labTurnOffWindowsZoomingAnimation", 1, tcCheck, 44},
    {L"edSearchPage", 2, tcEdit, 12, L"labSearchPage", FieldLeft, FieldWidth},
    {L"edIETitle", 2, tcEdit, 40, L"labIETitle", FieldLeft, FieldWidth},
    {L"edBackBitmap", 2, tcEdit, 68, L"labBackBitmap", FieldLeft, FieldWidth},
    {L"chkRestoretheAnimateInternetExplorerLogo", 2, tcCheck, 100},
    {L"edCursorBlinkRate", 3, tcEdit, 12, L"labCursorBlinkRate", FieldLeft, 90},
    {L"chkEnableActivewindowTracking", 3, tcCheck, 44},
    {L"chkRemoveDocumentsFromStartMenu", 4, tcCheck, 12},
    {L"chkRemoveFavoritesFromStartMenu", 4, tcCheck, 38},
    {L"chkRemoveFindFromStartMenu", 4, tcCheck, 64},
    {L"chkRemoveLogOffFromStartMenu", 4, tcCheck, 90},
    {L"chkRemoveRunFromStartMenu", 4, tcCheck, 116},
    {L"chkControlPanelInStartMenu", 4, tcCheck, 142},
    {L"chkPrintersInStartMenu", 4, tcCheck, 168},
    {L"edRegisteredOwner", 5, tcEdit, 12, L"labRegisteredOwner", FieldLeft, FieldWidth},
    {L"edRegisteredOrganization", 5, tcEdit, 40, L"labRegisteredOrganization", FieldLeft,
     FieldWidth},
    {L"edSetupSourcePath", 5, tcEdit, 68, L"labSetupSourcePath", FieldLeft, FieldWidth},
    {L"chkOpenExplorerForMyComputer", 6, tcCheck, 12},
    {L"chkShowNetworkNeighborhood", 6, tcCheck, 38},
    {L"edWallpaperPosition",
     6,
     tcCombo,
     70,
     L"labWallpaperPosition",
     FieldLeft,
     120,
     {L"sCenter", L"sTile", L"sStretch"}},
    {L"edWallPaperOriginX", 6, tcSpin, 100, L"labWallPaperOrigin", FieldLeft, 70},
    {L"edWallPaperOriginY", 6, tcSpin, 100, nullptr, FieldLeft + 80, 70},
    {L"radBootNormal", 7, tcRadio, 12},
    {L"radBootSafe", 7, tcRadio, 36},
    {L"radBootDos", 7, tcRadio, 60},
    {L"chkBootWarnSafe", 7, tcCheck, 92},
    {L"chkBootShowLogo", 7, tcCheck, 116},
    {L"chkBootKeys", 7, tcCheck, 140},
    {L"chkBootAutoMenu", 7, tcCheck, 164},
    {L"edBootDelay", 7, tcSpin, 196, L"labBootDelay", FieldLeft, 70},
    {L"edBootShow", 7, tcSpin, 224, L"labBootShow", FieldLeft, 70},
    {L"chkTweakLogonEnabled", 8, tcCheck, 12},
    {L"edTweakLogonUsername", 8, tcEdit, 22, L"labTweakLogonUsername", 150, 180, {}, true},
    {L"edTweakLogonPassword", 8, tcPassword, 50, L"labTweakLogonPassword", 150, 180, {}, true},
    {L"edTweakLogonDomain", 8, tcEdit, 78, L"labTweakLogonDomain", 150, 180, {}, true},
    {L"chkTweakPowerDownAfterShutDown", 8, tcCheck, 154},
    {L"chkTweakClearPageFile", 8, tcCheck, 180},
    {L"chkTweakShutdownHungApps", 8, tcCheck, 206},
};

constexpr const wchar_t* TweakPages[] = {L"Explorer", L"Interface", L"IE",
                                         L"Mouse",    L"StartMenu", L"System",
                                         L"Desktop",  L"BootMenu",  L"Win NT/2000/XP"};
// The captions of the category rows, in row order.
constexpr const wchar_t* CategoryMessages[] = {
    L"sTweakExplorer", L"sTweakInterface", L"sTweakMouse", L"sTweakStartMenu",
    L"sTweakSystem",   L"sTweakBootMenu",  L"sTweakWinNT"};
// Radio buttons and group boxes take their captions from the language here: the skin pass
// gives them none.
constexpr const wchar_t* CaptionedHere[] = {L"radBootNormal", L"radBootSafe", L"radBootDos",
                                            L"FlatGroupBox4"};

// The stored category list, as the program carries it.
void LoadCategoryStream(TCvTree& Tree) {
    const HINSTANCE Module = GetModuleHandleW(nullptr);
    const HRSRC Found = FindResourceW(Module, L"TweakCategories", MAKEINTRESOURCEW(10));
    const HGLOBAL Loaded = Found ? LoadResource(Module, Found) : nullptr;
    const void* Bytes = Loaded ? LockResource(Loaded) : nullptr;
    if (!Bytes)
        throw Exception(L"The category list of the system tweaks is missing.");
    TMemoryStream Stream;
    Stream.WriteBuffer(Bytes, SizeofResource(Module, Found));
    Stream.SetPosition(0);
    Tree.Items().LoadFromStream(Stream);
}

// What a control shows, as the field of its setting holds it.
TTweakField ControlValue(TComponent& Control) {
    TTweakField Value;
    if (const auto* Check = dynamic_cast<TCustomFlatCheck*>(&Control))
        Value.Checked = Check->Checked();
    else if (auto* Combo = dynamic_cast<TFlatComboBox*>(&Control))
        Value.Number = Combo->ItemIndex();
    else if (const auto* Spin = dynamic_cast<TFlatSpinEditInteger*>(&Control))
        Value.Number = Spin->Value();
    else if (const auto* Edit = dynamic_cast<TCustomEdit*>(&Control))
        Value.Text = Edit->Text();
    return Value;
}

void ShowValue(TComponent& Control, const TTweakField& Value) {
    if (auto* Check = dynamic_cast<TCustomFlatCheck*>(&Control))
        Check->SetChecked(Value.Checked);
    else if (auto* Combo = dynamic_cast<TFlatComboBox*>(&Control))
        Combo->SetItemIndex(Value.Number);
    else if (auto* Spin = dynamic_cast<TFlatSpinEditInteger*>(&Control))
        Spin->SetValue(Value.Number);
    else if (auto* Edit = dynamic_cast<TCustomEdit*>(&Control))
        Edit->SetText(Value.Text);
}

} // namespace

void TfrmMain::CreateSystemTweakPage(TPage& Page) {
    lvSystemTweakSelector =
        MakeTreeList(*this, Page, L"lvSystemTweakSelector", Bounds(8, 8, 140, 362));
    lvSystemTweakSelector->SetShowColumns(false);
    LoadCategoryStream(*lvSystemTweakSelector);
    for (int I = 0; I < lvSystemTweakSelector->Items().TotalCount(); ++I)
        if (I < static_cast<int>(std::size(CategoryMessages)))
            lvSystemTweakSelector->Items().ItemAtIndex(I)->SetText(
                FCore->Message(CategoryMessages[I]));
    lvSystemTweakSelector->OnChanging = [this](TCvTreeCore*, TCvTreeItem* Item, bool& Allow) {
        Allow = !FBusy;
        if (Allow)
            ShowTweakCategory(Item);
    };

    labRegTweakCategory = MakeLabel(Page, L"labRegTweakCategory", Bounds(158, 8, 380, 16));
    labRegTweakCategory->Font().SetStyle({fsBold});
    auto* Holder =
        MakeNamedChild<TFlatPanel>(*this, Page, L"FlatPanel14", Bounds(158, 30, 381, 340));
    RegTweakNotebook =
        MakeNamedChild<TNotebook>(*this, *Holder, L"RegTweakNotebook", Bounds(1, 1, 379, 338));
    for (const wchar_t* Name : TweakPages)
        RegTweakNotebook->AddPage(Name);
    imgTweak = MakeBackgroundCopy(*RegTweakNotebook->Pages(0), L"imgTweak");
    RegTweakNotebook->OnPageChanged = [this](TObject*) {
        MoveBackgroundCopy(*imgTweak, *RegTweakNotebook->Pages(RegTweakNotebook->PageIndex()));
    };

    auto* LogonGroup = MakeNamedChild<TFlatGroupBox>(*this, *RegTweakNotebook->Pages(8),
                                                     L"FlatGroupBox4", Bounds(12, 34, 350, 110));
    FlatGroupBox4 = LogonGroup;
    for (const TTweakControl& Entry : TweakControls) {
        TWinControl& Parent = Entry.InLogonGroup
                                  ? static_cast<TWinControl&>(*LogonGroup)
                                  : static_cast<TWinControl&>(*RegTweakNotebook->Pages(Entry.Page));
        if (Entry.Label)
            MakeLabel(Parent, Entry.Label, Bounds(12, Entry.Top + 3, FieldLeft - 16, 15));
        const TRect At = Bounds(Entry.Left, Entry.Top, Entry.Width,
                                Entry.Kind == tcCheck || Entry.Kind == tcRadio ? 17 : 19);
        switch (Entry.Kind) {
        case tcCheck:
            MakeNamedChild<TFlatCheckBox>(*this, Parent, Entry.Name, At)->SetTransparent(true);
            break;
        case tcRadio:
            MakeNamedChild<TFlatRadioButton>(*this, Parent, Entry.Name, At)->SetTransparent(true);
            break;
        case tcCombo: {
            auto* Combo = MakeNamedChild<TFlatComboBox>(*this, Parent, Entry.Name, At);
            Combo->SetStyle(csDropDownList);
            for (const wchar_t* Key : Entry.Items)
                Combo->Items().Add(FCore->Message(Key));
            break;
        }
        case tcSpin: {
            auto* Spin = MakeNamedChild<TFlatSpinEditInteger>(*this, Parent, Entry.Name, At);
            Spin->SetValue(0);
            break;
        }
        case tcEdit:
        case tcPassword: {
            auto* Edit = MakeNamedChild<TFlatEdit>(*this, Parent, Entry.Name, At);
            if (Entry.Kind == tcPassword)
                Edit->SetPasswordChar(L'*');
            break;
        }
        }
    }
    if (auto* MenuSpeed = dynamic_cast<TFlatSpinEditInteger*>(FindComponent(L"edMenuSpeed")))
        MenuSpeed->MaxValue = 100000;
    if (auto* LogonBox = dynamic_cast<TControl*>(FindComponent(L"chkTweakLogonEnabled")))
        LogonBox->OnClick = [this](TObject*) { chkTweakLogonEnabledClick(); };
    for (const wchar_t* Name : CaptionedHere)
        if (auto* Control = dynamic_cast<TControl*>(FindComponent(Name)))
            Control->SetCaption(FCore->Text(Name, L"Caption"));

    MakeButton(Page, L"btnSystemTweakOK", Bounds(421, 378, 110, 25),
               frmDM ? frmDM->avILInside : nullptr, GlyphNone, [this] { btnSystemTweakOKClick(); });
}

void TfrmMain::TweaksToPage() {
    for (const String& Name : FTweaks->Controls())
        if (TComponent* Control = FindComponent(Name)) {
            const TTweakField& Field = FTweaks->Field(Name);
            // A setting that could not be read leaves its control as it was.
            if (Field.Loaded)
                ShowValue(*Control, Field);
            FTweakShown[Name] = ControlValue(*Control);
        }
    chkTweakLogonEnabledClick();
}

void TfrmMain::PageToTweaks() {
    // Only what the user changed reaches the settings: a control that cannot show what was read
    // (a list index out of range) does not write its own value back.
    for (const auto& [Name, Shown] : FTweakShown) {
        TComponent* Control = FindComponent(Name);
        if (!Control)
            continue;
        const TTweakField Now = ControlValue(*Control);
        if (Now == Shown)
            continue;
        TTweakField& Field = FTweaks->Field(Name);
        Field.Checked = Now.Checked;
        Field.Number = Now.Number;
        Field.Text = Now.Text;
    }
}

void TfrmMain::ShowTweakCategory(const TCvTreeItem* Row) {
    if (!Row)
        return;
    const int Page = static_cast<int>(Row->Tag);
    RegTweakNotebook->SetPageIndex(Page);
    labRegTweakCategory->SetCaption(String(Row->Text()));
    RegTweakNotebook->SetEnabled(TweakPageEnabled(Page, FTweakWindows));
}

void TfrmMain::btnSystemTweakClick() {
    EnsurePageControls(pgSystemTweak);
    FTweaks->Read();
    FTweakShown.clear();
    TweaksToPage();
    TCvTreeItem* First = lvSystemTweakSelector->Items().ItemAtIndex(0);
    lvSystemTweakSelector->SetFocusedItem(First);
    ShowTweakCategory(First);
    FCore->Flow.ShowPage(pgSystemTweak);
}

void TfrmMain::btnSystemTweakOKClick() {
    PageToTweaks();
    FTweaks->Write();
    FCore->Flow.ShowPage(pgSystemConfiguration);
}

void TfrmMain::chkTweakLogonEnabledClick() {
    if (const auto* Logon =
            dynamic_cast<const TCustomFlatCheck*>(FindComponent(L"chkTweakLogonEnabled")))
        FlatGroupBox4->SetEnabled(Logon->Checked());
}

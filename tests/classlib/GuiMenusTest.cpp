#include "GuiTestSupport.h"
#include "tests/support/GdiCount.h"

#include "classlib/gui/ExtCtrls.h"
#include "classlib/gui/ImgList.h"
#include "classlib/gui/Menus.h"

#include <string>
#include <vector>

namespace {

TMenuItem* AddItem(TMenuItem& Parent, const String& Caption) {
    auto* Item = new TMenuItem(nullptr);
    Item->Caption = Caption;
    Parent.Add(Item);
    return Item;
}

// An entry of a built menu as the system holds it.
struct TEntry {
    std::wstring Caption; // "-" for a separator
    UINT State;
    bool Submenu;
    UINT Command;
};

std::vector<TEntry> Entries(HMENU Menu) {
    std::vector<TEntry> Result;
    for (int I = 0; I < GetMenuItemCount(Menu); ++I) {
        wchar_t Text[64]{};
        MENUITEMINFOW Info{};
        Info.cbSize = sizeof Info;
        Info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU | MIIM_ID;
        Info.dwTypeData = Text;
        Info.cch = 63;
        GetMenuItemInfoW(Menu, static_cast<UINT>(I), TRUE, &Info);
        const bool Line = (Info.fType & MFT_SEPARATOR) != 0;
        Result.push_back(TEntry{Line ? L"-" : Text,
                                Info.fState & (MFS_CHECKED | MFS_DISABLED | MFS_DEFAULT),
                                Info.hSubMenu != nullptr, Info.wID});
    }
    return Result;
}

// Closes the menu the system shows next, from inside its own loop.
class TMenuCloser {
public:
    TMenuCloser() : FTimer(nullptr) {
        FTimer.SetInterval(50);
        FTimer.OnTimer = [](TObject*) { EndMenu(); };
    }

private:
    TTimer FTimer;
};

// A painted control to right-click on.
class TSpot : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override {}
};

} // namespace

TEST(MenuItems, ItemsHoldTheirSubItemsAndLetGoOfDeletedOnes) {
    TMenuItem Root(nullptr);
    TMenuItem* File = AddItem(Root, L"File");
    TMenuItem* Open = AddItem(*File, L"Open");
    TMenuItem* Save = AddItem(*File, L"Save");
    auto* Owned = new TMenuItem(nullptr);
    File->Insert(0, Owned);
    EXPECT_EQ(File->Count(), 3);
    EXPECT_EQ(File->IndexOf(Open), 1);
    EXPECT_EQ(Open->Parent(), File);

    delete Owned; // deleted on its own: leaves the list
    EXPECT_EQ(File->Count(), 2);
    EXPECT_EQ(File->Items(0), Open);

    Root.Add(Save); // moves over from its former parent
    EXPECT_EQ(File->Count(), 1);
    EXPECT_EQ(Save->Parent(), &Root);
    EXPECT_EQ(Root.FindCommand(Open->Command()), Open);
    EXPECT_NE(Open->Command(), Save->Command());
    EXPECT_EQ(Root.FindCommand(0), nullptr);

    EXPECT_THROW(Open->Add(File), EInvalidOperation); // an item cannot hold its own parent
    EXPECT_THROW(Root.Items(5), EListError);
    Root.Delete(0); // File and Open with it
    EXPECT_EQ(Root.Count(), 1);
    EXPECT_EQ(Root.Items(0), Save);
}

TEST(MenuItems, TheBuiltMenuShowsStatesSeparatorsAndSubmenus) {
    TPopupMenu Menu(nullptr);
    TMenuItem& Items = Menu.Items();
    AddItem(Items, L"-"); // a separator with nothing before it is left out
    AddItem(Items, L"Open")->Default = true;
    AddItem(Items, L"Check")->Checked = true;
    AddItem(Items, L"Grey")->Enabled = false;
    AddItem(Items, L"-");
    AddItem(Items, L"Hidden")->Visible = false;
    AddItem(Items, L"-"); // two in a row, with only a hidden item between, make one
    TMenuItem* More = AddItem(Items, L"More");
    AddItem(*More, L"Inner");
    AddItem(Items, L"-"); // nothing after it

    const TOwnedMenu Built = Menu.BuildMenu();
    const auto Got = Entries(Built.get());
    const std::vector<TEntry> Expected = {
        {L"Open", MFS_DEFAULT, false, Items.Items(1)->Command()},
        {L"Check", MFS_CHECKED, false, Items.Items(2)->Command()},
        {L"Grey", MFS_DISABLED, false, Items.Items(3)->Command()},
        {L"-", 0, false, 0},
        {L"More", 0, true, More->Command()},
    };
    ASSERT_EQ(Got.size(), Expected.size());
    for (size_t I = 0; I < Got.size(); ++I) {
        SCOPED_TRACE(I);
        EXPECT_EQ(Got[I].Caption, Expected[I].Caption);
        EXPECT_EQ(Got[I].State, Expected[I].State);
        EXPECT_EQ(Got[I].Submenu, Expected[I].Submenu);
        if (Expected[I].Caption != L"-") {
            EXPECT_EQ(Got[I].Command, Expected[I].Command);
        }
    }
    const auto Inner = Entries(GetSubMenu(Built.get(), 4));
    ASSERT_EQ(Inner.size(), 1u);
    EXPECT_EQ(Inner[0].Caption, L"Inner");
}

TEST_F(GuiTest, APostedCommandRunsItsItem) {
    TPopupMenu Menu(nullptr);
    std::vector<std::wstring> Clicked;
    const auto Record = [&](TObject* Sender) {
        Clicked.push_back(static_cast<TMenuItem*>(Sender)->Caption);
    };
    TMenuItem* Open = AddItem(Menu.Items(), L"Open");
    TMenuItem* Grey = AddItem(Menu.Items(), L"Grey");
    TMenuItem* More = AddItem(Menu.Items(), L"More");
    TMenuItem* Inner = AddItem(*More, L"Inner");
    for (TMenuItem* Item : {Open, Grey, Inner})
        Item->OnClick = Record;
    Grey->Enabled = false;

    for (const TMenuItem* Item : {Open, Grey, Inner})
        PostMessageW(Menu.WindowHandle(), WM_COMMAND, Item->Command(), 0);
    PostMessageW(Menu.WindowHandle(), WM_COMMAND, 0xFFFF, 0); // nobody's: nothing happens
    EXPECT_TRUE(PumpUntil([&] { return Clicked.size() >= 2; }));
    App->ProcessMessages();
    EXPECT_EQ(Clicked, (std::vector<std::wstring>{L"Open", L"Inner"}));

    // An item deleted in its own click is harmless.
    Open->OnClick = [](TObject* Sender) { delete Sender; };
    EXPECT_TRUE(Menu.DispatchCommand(Open->Command()));
    EXPECT_EQ(Menu.Items().Count(), 2);
}

TEST_F(GuiTest, ARightClickOpensTheControlsPopupMenu) {
    auto* Form = NewForm<TForm>(App.get());
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(50, 50, 200, 100);
    auto* Spot = new TSpot(Form);
    Spot->SetParent(Form);
    Spot->SetBounds(100, 10, 50, 50);
    auto* Menu = new TPopupMenu(Form);
    AddItem(Menu->Items(), L"Only");
    int Shown = 0;
    Menu->OnPopup = [&](TObject*) { ++Shown; };
    Form->Show();

    const TMenuCloser Closer;
    const auto RightClick = [&](int X, int Y) {
        SendMessageW(Form->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(X, Y));
        SendMessageW(Form->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(X, Y));
    };
    RightClick(110, 20);
    EXPECT_EQ(Shown, 0); // no menu set yet

    Spot->SetPopupMenu(Menu);
    RightClick(110, 20);
    EXPECT_EQ(Shown, 1);
    EXPECT_EQ(Menu->PopupComponent, Spot);
    RightClick(20, 20); // beside the control: the form has no menu
    EXPECT_EQ(Shown, 1);

    Form->SetPopupMenu(Menu);
    RightClick(20, 20);
    EXPECT_EQ(Shown, 2);
    EXPECT_EQ(Menu->PopupComponent, Form);

    Menu->AutoPopup = false;
    RightClick(110, 20);
    EXPECT_EQ(Shown, 2);

    delete Menu; // nothing keeps pointing at it
    EXPECT_EQ(Spot->PopupMenu(), nullptr);
    EXPECT_EQ(Form->PopupMenu(), nullptr);
    RightClick(110, 20);
}

TEST_F(GuiTest, MenusWithPicturesLeaveNoGdiObjectsBehind) {
    TImageList Images(nullptr);
    TBitmap Strip;
    Strip.SetSize(32, 16);
    Strip.Canvas().Brush().SetColor(clRed);
    Strip.Canvas().FillRect(Bounds(0, 0, 32, 16));
    Images.AddMasked(Strip, clWhite);
    TPopupMenu Menu(nullptr);
    Menu.SetImages(&Images);
    AddItem(Menu.Items(), L"One")->ImageIndex = 0;
    AddItem(Menu.Items(), L"Two")->ImageIndex = 1;
    AddItem(Menu.Items(), L"Three")->ImageIndex = 7; // not in the list: no picture
    EXPECT_EQ(GdiGrowth([&] {
                  const TOwnedMenu Built = Menu.BuildMenu();
                  MENUITEMINFOW Info{};
                  Info.cbSize = sizeof Info;
                  Info.fMask = MIIM_BITMAP;
                  GetMenuItemInfoW(Built.get(), 0, TRUE, &Info);
                  EXPECT_NE(Info.hbmpItem, nullptr);
              }),
              0);
}

namespace {

class TRecordingMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(int X, int Y) override { Shown.push_back(TPoint{X, Y}); }
    std::vector<TPoint> Shown;
};

} // namespace

TEST_F(GuiTest, TheMenuKeyOpensTheMenuAtTheCentreHoweverItsPositionIsWidened) {
    auto* Form = NewPlainForm(*App, TRect(40, 30, 240, 130));
    auto* Menu = new TRecordingMenu(Form);
    Form->SetPopupMenu(Menu);
    Form->Show();
    const TPoint Centre = Form->ClientToScreen(TPoint{100, 50});
    struct TCase {
        const char* Name;
        LPARAM Pos;
        TPoint Expected;
    };
    const TCase Cases[] = {
        {"sign-extended -1", static_cast<LPARAM>(-1), Centre},
        {"both words -1", static_cast<LPARAM>(0xFFFFFFFFu), Centre},
        {"a click left of and above the screen", MAKELPARAM(-5, -7), TPoint{-5, -7}},
        {"only x is -1", MAKELPARAM(-1, 60), TPoint{-1, 60}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Menu->Shown.clear();
        SendMessageW(Form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Form->Handle()),
                     Case.Pos);
        ASSERT_EQ(Menu->Shown.size(), 1u);
        EXPECT_EQ(Menu->Shown[0].X, Case.Expected.X);
        EXPECT_EQ(Menu->Shown[0].Y, Case.Expected.Y);
    }
}

TEST_F(GuiTest, TheWheelReachesItsHandlerDecoded) {
    auto* Form = NewPlainForm(*App, TRect(40, 30, 240, 130));
    Form->Show();
    TShiftState Shift;
    int Delta = 0;
    TPoint Pos;
    Form->OnMouseWheel = [&](TObject*, TShiftState S, int D, TPoint P, bool& Handled) {
        Shift = S;
        Delta = D;
        Pos = P;
        Handled = true;
    };
    SendMessageW(Form->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -WHEEL_DELTA),
                 MAKELPARAM(-20, 300));
    EXPECT_EQ(Delta, -WHEEL_DELTA);
    EXPECT_TRUE(Shift.Contains(ssCtrl));
    EXPECT_EQ(Pos.X, -20);
    EXPECT_EQ(Pos.Y, 300);
}

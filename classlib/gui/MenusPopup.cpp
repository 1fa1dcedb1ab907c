#include "classlib/gui/Menus.h"

#include "classlib/gui/ImgList.h"
#include "classlib/gui/UtilityWindow.h"

#include <algorithm>

namespace {

// Command numbers of menu items; the system's WM_COMMAND carries 16 bits of them, and 0 is no
// command at all.
UINT NextCommand() {
    static UINT Last = 0;
    Last = Last % 0xFFFF + 1;
    return Last;
}

} // namespace

// ---------------------------------------------------------------- TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(NextCommand()) {}

TMenuItem::~TMenuItem() {
    if (FParent)
        FParent->Remove(this);
    while (!FItems.empty())
        delete FItems.back(); // each leaves the list as it goes
}

TMenuItem* TMenuItem::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError(Format(L"Menu index out of bounds (%d)", {Index}));
    return FItems[static_cast<size_t>(Index)];
}

void TMenuItem::Add(TMenuItem* Item) {
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (!Item)
        return;
    for (const TMenuItem* Above = this; Above; Above = Above->FParent)
        if (Above == Item)
            throw EInvalidOperation(L"A menu item cannot hold itself");
    if (Item->FParent)
        Item->FParent->Remove(Item);
    Index = std::clamp(Index, 0, Count());
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
}

void TMenuItem::Remove(TMenuItem* Item) {
    const auto It = std::find(FItems.begin(), FItems.end(), Item);
    if (It == FItems.end())
        return;
    FItems.erase(It);
    Item->FParent = nullptr;
}

void TMenuItem::Delete(int Index) {
    delete Items(Index);
}

void TMenuItem::Clear() {
    while (!FItems.empty())
        delete FItems.back();
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
    const auto It = std::find(FItems.begin(), FItems.end(), Item);
    return It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
}

TMenuItem* TMenuItem::FindCommand(UINT Command) {
    if (FCommand == Command)
        return this;
    for (TMenuItem* Item : FItems)
        if (TMenuItem* Found = Item->FindCommand(Command))
            return Found;
    return nullptr;
}

void TMenuItem::Click() {
    if (!Enabled)
        return;
    // A copy: the handler may delete the item.
    const TNotifyEvent Handler = OnClick;
    if (Handler)
        Handler(this);
}

// --------------------------------------------------------------- TPopupMenu

TPopupMenu::TPopupMenu(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr)) {}

TPopupMenu::~TPopupMenu() {
    SetImages(nullptr);
}

void TPopupMenu::SetImages(TCustomImageList* Value) {
    SetNotifiedReference(FImages, Value);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages)
        FImages = nullptr;
    if (Operation == opRemove && AComponent == PopupComponent)
        PopupComponent = nullptr;
}

HWND TPopupMenu::WindowHandle() const {
    if (!FWindow) {
        auto* Self = const_cast<TPopupMenu*>(this);
        Self->FWindow = std::make_unique<TUtilityWindow>([Self](TMessage& Message) {
            if (Message.Msg != WM_COMMAND || HIWORD(Message.WParam) != 0)
                return false;
            Self->DispatchCommand(LOWORD(Message.WParam));
            return true;
        });
    }
    return FWindow->Handle();
}

bool TPopupMenu::DispatchCommand(UINT Command) {
    TMenuItem* Item = Command ? FItems->FindCommand(Command) : nullptr;
    if (!Item || Item == FItems.get())
        return false;
    Item->Click();
    return true;
}

TOwnedMenu TPopupMenu::BuildMenu() {
    FPictures.clear();
    TOwnedMenu Menu(CreatePopupMenu());
    if (!Menu)
        RaiseLastOSError();
    Fill(Menu.get(), *FItems);
    return Menu;
}

void TPopupMenu::Fill(HMENU Menu, TMenuItem& Parent) {
    bool LineDue = false; // a separator waits for an entry to stand before
    UINT Position = 0;
    for (int I = 0; I < Parent.Count(); ++I) {
        TMenuItem& Item = *Parent.Items(I);
        if (!Item.Visible)
            continue;
        if (Item.IsLine()) {
            LineDue = Position > 0;
            continue;
        }
        if (LineDue) {
            MENUITEMINFOW Line{};
            Line.cbSize = sizeof Line;
            Line.fMask = MIIM_FTYPE;
            Line.fType = MFT_SEPARATOR;
            InsertMenuItemW(Menu, Position++, TRUE, &Line);
            LineDue = false;
        }
        MENUITEMINFOW Info{};
        Info.cbSize = sizeof Info;
        Info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
        Info.fType = MFT_STRING;
        Info.wID = Item.Command();
        Info.dwTypeData = const_cast<wchar_t*>(Item.Caption.c_str());
        Info.fState = (Item.Checked ? MFS_CHECKED : 0u) | (Item.Enabled ? 0u : MFS_DISABLED) |
                      (Item.Default ? MFS_DEFAULT : 0u);
        if (Item.Count() > 0) {
            TOwnedMenu Sub(CreatePopupMenu());
            Fill(Sub.get(), Item);
            Info.fMask |= MIIM_SUBMENU;
            Info.hSubMenu = Sub.release(); // the parent menu destroys it with itself
        }
        if (FImages && Item.ImageIndex >= 0 && Item.ImageIndex < FImages->Count()) {
            Info.fMask |= MIIM_BITMAP;
            Info.hbmpItem = Picture(Item.ImageIndex, Item.Enabled);
        }
        InsertMenuItemW(Menu, Position++, TRUE, &Info);
    }
}

HBITMAP TPopupMenu::Picture(int ImageIndex, bool Enabled) {
    // The image on the menu's colour, so that its transparent parts look so; in a bitmap of its
    // own, selected into no DC, as the menu selects it into its own.
    const TClientDC Screen(nullptr);
    TBitmapObject Picture(
        CreateCompatibleBitmap(Screen.Handle(), FImages->Width(), FImages->Height()));
    {
        const TMemoryDC DC(Screen.Handle());
        const TSelectObject Selected(DC.Handle(), Picture.Get());
        TCanvas Canvas;
        const TCanvasDC Attached(Canvas, DC.Handle());
        Canvas.Brush().SetColor(clMenu);
        Canvas.FillRect(Bounds(0, 0, FImages->Width(), FImages->Height()));
        FImages->Draw(Canvas, 0, 0, ImageIndex, Enabled);
    }
    FPictures.push_back(std::move(Picture));
    return FPictures.back().Get();
}

void TPopupMenu::Popup(int X, int Y) {
    if (OnPopup)
        OnPopup(this);
    const HWND Window = WindowHandle();
    const TOwnedMenu Menu = BuildMenu();
    static constexpr UINT Alignments[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
    // The chosen entry's command is posted to the window, and runs after the menu has closed.
    TrackPopupMenu(Menu.get(), Alignments[Alignment] | TPM_RIGHTBUTTON, X, Y, 0, Window, nullptr);
    FPictures.clear();
}

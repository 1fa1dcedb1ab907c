// Menus: owned menu handles, menu items and the pop-up menu.
#pragma once

#include "classlib/gui/Controls.h"

#include <memory>
#include <type_traits>
#include <vector>

class TCustomImageList;
class TUtilityWindow;

// An owned menu handle, destroyed with DestroyMenu (with its submenus).
struct TMenuDestroyer {
    void operator()(HMENU Menu) const noexcept { DestroyMenu(Menu); }
};
using TOwnedMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, TMenuDestroyer>;

// One entry of a menu: a command, a separator (Caption "-") or, with items of its own, a submenu.
// An item holds its sub-items: deleting it deletes them, and a sub-item deleted on its own (by
// its owner, say) leaves its parent's list. Each item has a command number of its own, unique in
// the program, which the WM_COMMAND of a chosen entry carries.
class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    String Caption;
    bool Checked = false;
    bool Enabled = true;
    bool Visible = true;
    // Shown in bold; what a double click on the menu's owner chooses.
    bool Default = false;
    // The image of the menu's Images shown beside the caption; -1 for none.
    int ImageIndex = -1;
    TNotifyEvent OnClick;

    bool IsLine() const { return Caption == L"-"; }
    UINT Command() const { return FCommand; }
    TMenuItem* Parent() const { return FParent; }

    // The sub-items. Add and Insert take the item over (from a former parent as well).
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int Index) const; // throws EListError on a bad index
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    // Takes Item out of the list without deleting it.
    void Remove(TMenuItem* Item);
    // Deletes the sub-item at Index.
    void Delete(int Index);
    void Clear();
    int IndexOf(const TMenuItem* Item) const;
    // The item with this command, here or below; nullptr when there is none.
    TMenuItem* FindCommand(UINT Command);

    // What choosing the item does: runs OnClick (an enabled item only).
    virtual void Click();

private:
    UINT FCommand;
    TMenuItem* FParent = nullptr;
    std::vector<TMenuItem*> FItems;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

// A menu that pops up at a point: from Popup, or from a right click on a control whose PopupMenu
// it is while AutoPopup holds. The chosen entry's WM_COMMAND reaches the menu's own hidden window,
// which clicks the item; PopupComponent names what the menu was opened for.
class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    TMenuItem& Items() { return *FItems; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    bool AutoPopup = true;
    TPopupAlignment Alignment = paLeft;
    TComponent* PopupComponent = nullptr;
    TNotifyEvent OnPopup;

    // Shows the menu with its corner at the screen point X, Y, and returns when it closes; the
    // chosen item runs as its command arrives. Runs OnPopup first.
    virtual void Popup(int X, int Y);
    // The item of a command the menu's window got; true when one was run.
    bool DispatchCommand(UINT Command);
    // The window the menu's commands go to.
    HWND WindowHandle() const;
    // The menu as the system shows it, made from the items as they are now. Invisible items are
    // left out; a separator at the start or end, or after another, too.
    TOwnedMenu BuildMenu();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void Fill(HMENU Menu, TMenuItem& Parent);
    HBITMAP Picture(int ImageIndex, bool Enabled);

    std::unique_ptr<TMenuItem> FItems;
    std::unique_ptr<TUtilityWindow> FWindow;
    TCustomImageList* FImages = nullptr;
    // The pictures of the entries, while the built menu is up.
    std::vector<TBitmapObject> FPictures;
};

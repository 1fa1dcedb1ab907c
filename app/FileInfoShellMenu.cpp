#include "app/FileInfo.h"

#include "classlib/gui/Forms.h"
#include "classlib/gui/Menus.h"
#include "classlib/gui/UtilityWindow.h"

#include "classlib/rtl/WinApi.h"
#include <wrl/client.h>

#include <memory>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

constexpr UINT FirstCommand = 1;
constexpr UINT LastCommand = 0x7FFF;

// Hands the owner-drawn menu messages of a shell menu to the menu's own interfaces.
bool HandleShellMenuMessage(IContextMenu2& Menu2, IContextMenu3* Menu3, TMessage& Message) {
    if (Message.Msg != WM_DRAWITEM && Message.Msg != WM_MEASUREITEM &&
        Message.Msg != WM_INITMENUPOPUP)
        return false;
    if (Menu3) {
        LRESULT Ignored = 0;
        Menu3->HandleMenuMsg2(Message.Msg, Message.WParam, Message.LParam, &Ignored);
    } else {
        Menu2.HandleMenuMsg(Message.Msg, Message.WParam, Message.LParam);
    }
    Message.Result = Message.Msg == WM_INITMENUPOPUP ? 0 : 1;
    return true;
}

bool InvokeMenuCommand(IContextMenu& Menu, HWND Owner, LPCSTR Verb, LPCWSTR VerbW) {
    CMINVOKECOMMANDINFOEX Info{};
    Info.cbSize = sizeof(Info);
    Info.fMask = CMIC_MASK_UNICODE;
    Info.hwnd = Owner;
    Info.lpVerb = Verb;
    Info.lpVerbW = VerbW;
    Info.nShow = SW_SHOWNORMAL;
    return SUCCEEDED(Menu.InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&Info)));
}

bool InvokeMenuId(IContextMenu& Menu, HWND Owner, UINT Id) {
    const UINT Offset = Id - FirstCommand;
    return InvokeMenuCommand(Menu, Owner, MAKEINTRESOURCEA(Offset), MAKEINTRESOURCEW(Offset));
}

bool ShowPopupMenu(IContextMenu& Menu, IContextMenu2* Menu2, IContextMenu3* Menu3, HWND Owner,
                   POINT Point) {
    const TOwnedMenu Popup(CreatePopupMenu());
    if (!Popup ||
        FAILED(Menu.QueryContextMenu(Popup.get(), 0, FirstCommand, LastCommand, CMF_EXPLORE)))
        return false;
    std::unique_ptr<TUtilityWindow> Callback;
    if (Menu2)
        Callback = std::make_unique<TUtilityWindow>([Menu2, Menu3](TMessage& Message) {
            return HandleShellMenuMessage(*Menu2, Menu3, Message);
        });
    const UINT Chosen = static_cast<UINT>(
        TrackPopupMenu(Popup.get(), TPM_RIGHTBUTTON | TPM_RETURNCMD, Point.x, Point.y, 0,
                       Callback ? Callback->Handle() : Owner, nullptr));
    if (Chosen != 0)
        InvokeMenuId(Menu, Owner, Chosen);
    return true;
}

bool InvokeDefaultVerb(IContextMenu& Menu, HWND Owner) {
    const TOwnedMenu Popup(CreatePopupMenu());
    if (!Popup ||
        FAILED(Menu.QueryContextMenu(Popup.get(), 0, FirstCommand, LastCommand, CMF_DEFAULTONLY)))
        return false;
    const UINT Default = GetMenuDefaultItem(Popup.get(), FALSE, 0);
    return Default != static_cast<UINT>(-1) && InvokeMenuId(Menu, Owner, Default);
}

bool RunItemCommand(IShellFolder& Folder, PCUITEMID_CHILD_ARRAY Items, int Count, ULONG Attributes,
                    TShellMenuMode Mode, const String& Verb, HWND Owner, POINT Point) {
    ComPtr<IContextMenu> Menu;
    if (Count <= 0 ||
        FAILED(Folder.GetUIObjectOf(Owner, static_cast<UINT>(Count), Items, IID_IContextMenu,
                                    nullptr, reinterpret_cast<void**>(Menu.GetAddressOf()))))
        return false;
    ComPtr<IContextMenu2> Menu2;
    ComPtr<IContextMenu3> Menu3;
    if (SUCCEEDED(Menu.As(&Menu2)))
        Menu.As(&Menu3);

    switch (Mode) {
    case smPopupMenu:
        return ShowPopupMenu(*Menu.Get(), Menu2.Get(), Menu3.Get(), Owner, Point);
    case smProperties:
        return (Attributes & SFGAO_HASPROPSHEET) != 0 &&
               InvokeMenuCommand(*Menu.Get(), Owner, "properties", L"properties");
    case smDefaultVerb:
        return InvokeDefaultVerb(*Menu.Get(), Owner);
    case smNamedVerb: {
        const std::string Narrow = ToAnsi(Verb);
        return InvokeMenuCommand(*Menu.Get(), Owner, Narrow.c_str(), Verb.c_str());
    }
    }
    return false;
}

// Parses Name within Folder; Attributes is asked for and receives the item's.
TOwnedPidl ParseName(IShellFolder& Folder, HWND Owner, const String& Name, ULONG& Attributes) {
    String Text = Name; // ParseDisplayName takes a writable string
    ITEMIDLIST* Parsed = nullptr;
    Attributes = SFGAO_HASPROPSHEET;
    if (FAILED(Folder.ParseDisplayName(Owner, nullptr, Text.data(), nullptr, &Parsed, &Attributes)))
        return nullptr;
    return TOwnedPidl(Parsed);
}

ComPtr<IShellFolder> BindFolder(IShellFolder& Parent, HWND Owner, const String& Path) {
    ULONG Ignored = 0;
    const TOwnedPidl Pidl = ParseName(Parent, Owner, Path, Ignored);
    ComPtr<IShellFolder> Folder;
    if (Pidl)
        Parent.BindToObject(Pidl.get(), nullptr, IID_PPV_ARGS(&Folder));
    return Folder;
}

bool RunPathCommand(const String& Path, TShellMenuMode Mode, const String& Verb, HWND Owner,
                    POINT Point) {
    ComPtr<IShellFolder> Desktop;
    if (FAILED(SHGetDesktopFolder(&Desktop)))
        return false;
    const String Dir = ExtractFilePath(Path);
    const String Name = ExtractFileName(Path);
    ComPtr<IShellFolder> Folder = BindFolder(*Desktop.Get(), Owner, Dir);
    if (!Folder)
        return false;

    std::vector<TOwnedPidl> Owned;
    ULONG Attributes = 0;
    if (Name.find_first_of(L"*?") != String::npos) {
        TSearchRec F;
        if (FindFirst(Path, faAnyFile, F) == 0) {
            do {
                if (F.Name == L"." || F.Name == L"..")
                    continue;
                if (TOwnedPidl Pidl = ParseName(*Folder.Get(), Owner, F.Name, Attributes))
                    Owned.push_back(std::move(Pidl));
            } while (FindNext(F) == 0);
        }
    } else if (TOwnedPidl Pidl = ParseName(*Folder.Get(), Owner, Name, Attributes)) {
        Owned.push_back(std::move(Pidl));
    } else {
        // A drive root and the like parse only within the first desktop folder.
        ComPtr<IEnumIDList> Enum;
        ITEMIDLIST* First = nullptr;
        if (Desktop->EnumObjects(Owner, SHCONTF_FOLDERS, &Enum) != S_OK || !Enum ||
            Enum->Next(1, &First, nullptr) != S_OK)
            return false;
        const TOwnedPidl FirstPidl(First);
        Folder.Reset();
        if (FAILED(Desktop->BindToObject(FirstPidl.get(), nullptr, IID_PPV_ARGS(&Folder))))
            return false;
        TOwnedPidl Whole = ParseName(*Folder.Get(), Owner, Path, Attributes);
        if (!Whole)
            return false;
        Owned.push_back(std::move(Whole));
    }
    if (Owned.empty())
        return false;

    std::vector<LPCITEMIDLIST> Items;
    for (const TOwnedPidl& Pidl : Owned)
        Items.push_back(Pidl.get());
    return RunItemCommand(*Folder.Get(), Items.data(), static_cast<int>(Items.size()), Attributes,
                          Mode, Verb, Owner, Point);
}

} // namespace

bool InvokeShellItemMenu(const String& Path, IShellFolder* Folder, PCUITEMID_CHILD_ARRAY ItemLists,
                         ULONG Attributes, TShellMenuMode Mode, const String& Verb, HWND Owner,
                         POINT Point, int Count) {
    const TScreenCursor Wait(crHourGlass);
    const TOleSession Ole;
    if (ItemLists && ItemLists[0])
        return Folder &&
               RunItemCommand(*Folder, ItemLists, Count, Attributes, Mode, Verb, Owner, Point);
    return RunPathCommand(Path, Mode, Verb, Owner, Point);
}

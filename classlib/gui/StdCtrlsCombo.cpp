#include "classlib/gui/StdCtrls.h"

#include <commctrl.h>

#include <algorithm>

namespace {

constexpr UINT_PTR InnerSubclassId = 2;

String ItemText(HWND Wnd, int Index) {
    const LRESULT Length = SendMessageW(Wnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(Index), 0);
    if (Length == CB_ERR)
        return String();
    String Text(static_cast<size_t>(Length) + 1, L'\0');
    const LRESULT Got = SendMessageW(Wnd, CB_GETLBTEXT, static_cast<WPARAM>(Index),
                                     reinterpret_cast<LPARAM>(Text.data()));
    Text.resize(Got == CB_ERR ? 0 : static_cast<size_t>(Got));
    return Text;
}

} // namespace

// --------------------------------------------------------- TComboBoxStrings

void TComboBoxStrings::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count())
        Error(Index);
}

String TComboBoxStrings::Strings(int Index) const {
    CheckIndex(Index);
    return FItems[static_cast<size_t>(Index)].S;
}

void TComboBoxStrings::SetStrings(int Index, const String& S) {
    CheckIndex(Index);
    TObject* Obj = FItems[static_cast<size_t>(Index)].Obj;
    const int Selected = FCombo.ItemIndex();
    Delete(Index);
    InsertObject(Index, S, Obj);
    if (Selected == Index)
        FCombo.SetItemIndex(Index);
}

TObject* TComboBoxStrings::Objects(int Index) const {
    CheckIndex(Index);
    return FItems[static_cast<size_t>(Index)].Obj;
}

void TComboBoxStrings::SetObjects(int Index, TObject* AObject) {
    CheckIndex(Index);
    FItems[static_cast<size_t>(Index)].Obj = AObject;
}

void TComboBoxStrings::Insert(int Index, const String& S) {
    InsertObject(Index, S, nullptr);
}

void TComboBoxStrings::InsertObject(int Index, const String& S, TObject* AObject) {
    if (Index < 0 || Index > Count())
        Error(Index);
    if (FCombo.HandleAllocated()) {
        const LRESULT At =
            SendMessageW(FCombo.Handle(), CB_INSERTSTRING, static_cast<WPARAM>(Index),
                         reinterpret_cast<LPARAM>(S.c_str()));
        if (At < 0)
            throw EInvalidOperation(L"The combo box refused the item");
    }
    FItems.insert(FItems.begin() + Index, TItem{S, AObject});
}

int TComboBoxStrings::Add(const String& S) {
    return AddObject(S, nullptr);
}

int TComboBoxStrings::AddObject(const String& S, TObject* AObject) {
    int Index = FCombo.Sorted() ? SortedPlace(S) : Count();
    if (FCombo.HandleAllocated()) {
        // The system sorts by its own rule; its place is the one that holds.
        const LRESULT At =
            SendMessageW(FCombo.Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S.c_str()));
        if (At < 0)
            throw EInvalidOperation(L"The combo box refused the item");
        Index = static_cast<int>(At);
    }
    FItems.insert(FItems.begin() + Index, TItem{S, AObject});
    return Index;
}

int TComboBoxStrings::SortedPlace(const String& S) const {
    const auto It = std::upper_bound(
        FItems.begin(), FItems.end(), S,
        [](const String& Value, const TItem& Item) { return AnsiCompareText(Value, Item.S) < 0; });
    return static_cast<int>(It - FItems.begin());
}

void TComboBoxStrings::Delete(int Index) {
    CheckIndex(Index);
    if (FCombo.HandleAllocated())
        SendMessageW(FCombo.Handle(), CB_DELETESTRING, static_cast<WPARAM>(Index), 0);
    FItems.erase(FItems.begin() + Index);
}

void TComboBoxStrings::Clear() {
    FItems.clear();
    FCombo.FItemIndex = -1;
    if (!FCombo.HandleAllocated())
        return;
    SendMessageW(FCombo.Handle(), CB_RESETCONTENT, 0, 0);
    FCombo.StoreCaption(FCombo.HasEdit() ? TSystemControl::WindowText(FCombo.Handle()) : String());
}

void TComboBoxStrings::Fill(HWND Wnd) {
    std::vector<TItem> Kept;
    Kept.swap(FItems);
    for (TItem& Item : Kept) {
        const LRESULT At =
            SendMessageW(Wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Item.S.c_str()));
        const auto Place = std::min(static_cast<size_t>(std::max<LRESULT>(At, 0)), FItems.size());
        FItems.insert(FItems.begin() + static_cast<std::ptrdiff_t>(Place), std::move(Item));
    }
}

// ---------------------------------------------------------- TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TSystemControl(AOwner), FItems(*this) {
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

TCustomComboBox::~TCustomComboBox() {
    // The inner windows point at this object: they let go before it goes.
    ReleaseInnerWindows();
}

void TCustomComboBox::CreateParams(TCreateParams& Params) const {
    TSystemControl::CreateParams(Params);
    Params.WinClassName = L"COMBOBOX";
    Params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL;
    switch (FStyle) {
    case csDropDown:
        Params.Style |= CBS_DROPDOWN;
        break;
    case csSimple:
        Params.Style |= CBS_SIMPLE;
        break;
    case csDropDownList:
        Params.Style |= CBS_DROPDOWNLIST;
        break;
    case csOwnerDrawFixed:
        Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
        break;
    case csOwnerDrawVariable:
        Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS;
        break;
    }
    if (FSorted)
        Params.Style |= CBS_SORT;
}

void TCustomComboBox::CreateWnd() {
    TSystemControl::CreateWnd();
    const HWND Wnd = Handle();
    if (FItemHeight > 0) {
        SendMessageW(Wnd, CB_SETITEMHEIGHT, 0, FItemHeight);
        if (OwnerDrawn())
            SendMessageW(Wnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), FItemHeight);
    }
    FItems.Fill(Wnd);
    if (HasEdit())
        SendMessageW(Wnd, CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
    SendMessageW(Wnd, CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
    if (HasEdit() && WindowText(Wnd) != Caption())
        SetWindowTextW(Wnd, Caption().c_str());
    FindInnerWindows();
}

void TCustomComboBox::DestroyWindowHandle(HWND Wnd) {
    KeepState(Wnd);
    ReleaseInnerWindows();
    TSystemControl::DestroyWindowHandle(Wnd);
}

void TCustomComboBox::KeepState(HWND Wnd) {
    FItemIndex = static_cast<int>(SendMessageW(Wnd, CB_GETCURSEL, 0, 0));
    if (FItemIndex < 0)
        FItemIndex = -1;
    StoreCaption(WindowText(Wnd));
}

void TCustomComboBox::FindInnerWindows() {
    COMBOBOXINFO Info{};
    Info.cbSize = sizeof Info;
    if (!GetComboBoxInfo(Handle(), &Info))
        return;
    const auto Take = [this](HWND& Kept, HWND Found) {
        if (Kept == Found || !Found)
            return;
        if (Kept)
            RemoveWindowSubclass(Kept, &InnerProc, InnerSubclassId);
        Kept = Found;
        SetWindowSubclass(Found, &InnerProc, InnerSubclassId, reinterpret_cast<DWORD_PTR>(this));
    };
    Take(FEditHandle, HasEdit() ? Info.hwndItem : nullptr);
    Take(FListHandle, Info.hwndList);
}

void TCustomComboBox::ReleaseInnerWindows() {
    for (HWND* Inner : {&FEditHandle, &FListHandle})
        if (const HWND Wnd = std::exchange(*Inner, nullptr))
            RemoveWindowSubclass(Wnd, &InnerProc, InnerSubclassId);
}

LRESULT CALLBACK TCustomComboBox::InnerProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam,
                                            UINT_PTR Id, DWORD_PTR Data) {
    auto* Combo = reinterpret_cast<TCustomComboBox*>(Data);
    if (Msg == WM_NCDESTROY) {
        RemoveWindowSubclass(Wnd, &InnerProc, Id);
        for (HWND* Inner : {&Combo->FEditHandle, &Combo->FListHandle})
            if (*Inner == Wnd)
                *Inner = nullptr;
        return DefSubclassProc(Wnd, Msg, WParam, LParam);
    }
    TMessage Message{Msg, WParam, LParam, 0};
    try {
        Combo->ComboWndProc(Message, Wnd);
    } catch (...) {
        HandleCurrentException(Combo);
    }
    return Message.Result;
}

void TCustomComboBox::ComboWndProc(TMessage& Message, HWND Inner) {
    switch (Message.Msg) {
    case WM_SETFOCUS:
        FocusTaken();
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
        // The combo box's own pipeline first; the system's combo hands what is left back here.
        if (!FInnerKey) {
            const TFlagScope Forwarding(FInnerKey);
            Message.Result = Perform(Message.Msg, Message.WParam, Message.LParam);
            return;
        }
        break;
    default:
        break;
    }
    Message.Result = DefSubclassProc(Inner, Message.Msg, Message.WParam, Message.LParam);
}

void TCustomComboBox::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case CN_COMMAND:
        switch (HIWORD(Message.WParam)) {
        case CBN_SELCHANGE:
            SelectionChanged();
            break;
        case CBN_EDITCHANGE:
            StoreCaption(WindowText(Handle()));
            Change();
            break;
        case CBN_DROPDOWN:
            SizeDropDown();
            DropDown();
            break;
        default:
            break;
        }
        return;
    case CN_DRAWITEM:
        CNDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
        Message.Result = TRUE;
        return;
    case CN_MEASUREITEM: {
        auto& Item = *reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
        int Height = ItemHeight();
        if (FStyle == csOwnerDrawVariable)
            MeasureItem(static_cast<int>(Item.itemID), Height);
        Item.itemHeight = static_cast<UINT>(std::max(Height, 1));
        Message.Result = TRUE;
        return;
    }
    // From the inner windows through the system's combo, and from a list-style combo itself.
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORSTATIC:
        Message.Result = ControlColors(reinterpret_cast<HDC>(Message.WParam));
        return;
    case WM_ERASEBKGND:
        if (FStyle == csSimple) {
            // The list keeps to whole items: below it the combo box shows its own colour.
            const RECT Client = ClientRect();
            FillRect(reinterpret_cast<HDC>(Message.WParam), &Client, Brush().Handle());
            Message.Result = 1;
            return;
        }
        break;
    case WM_PARENTNOTIFY:
        if (LOWORD(Message.WParam) == WM_CREATE)
            FindInnerWindows();
        break;
    case WM_DESTROY:
        // Also when the window goes with its parent's, without DestroyWindowHandle.
        KeepState(Handle());
        ReleaseInnerWindows();
        break;
    default:
        break;
    }
    TSystemControl::WndProc(Message);
}

void TCustomComboBox::SelectionChanged() {
    const int Index = static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
    // The inner edit shows the item only after this notification: the item is the text.
    StoreCaption(Index >= 0 ? ItemText(Handle(), Index) : String());
    Change();
}

void TCustomComboBox::SizeDropDown() {
    // The dropped list shows DropDownCount items (fewer when there are fewer).
    const int Shown = std::clamp(FItems.Count(), 1, std::max(DropDownCount, 1));
    RECT Area{};
    GetWindowRect(Handle(), &Area);
    SetWindowPos(Handle(), nullptr, 0, 0, Area.right - Area.left,
                 Height() + ItemHeight() * Shown + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void TCustomComboBox::CNDrawItem(const DRAWITEMSTRUCT& Item) {
    TOwnerDrawState State;
    State.Set(odSelected, (Item.itemState & ODS_SELECTED) != 0);
    State.Set(odGrayed, (Item.itemState & ODS_GRAYED) != 0);
    State.Set(odDisabled, (Item.itemState & ODS_DISABLED) != 0);
    State.Set(odChecked, (Item.itemState & ODS_CHECKED) != 0);
    State.Set(odFocused, (Item.itemState & ODS_FOCUS) != 0);
    State.Set(odComboBoxEdit, (Item.itemState & ODS_COMBOBOXEDIT) != 0);
    const TSaveDC Saved(Item.hDC);
    const TCanvasDC Attached(FCanvas, Item.hDC);
    FCanvas.Font().Assign(Font());
    FCanvas.Brush().SetColor(State.Contains(odSelected) ? clHighlight : Color());
    if (State.Contains(odSelected))
        FCanvas.Font().SetColor(clHighlightText);
    DrawItem(static_cast<int>(Item.itemID), Item.rcItem, State);
    if (State.Contains(odFocused)) {
        const RECT Focus = Item.rcItem;
        DrawFocusRect(Item.hDC, &Focus);
    }
}

void TCustomComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    FCanvas.FillRect(Rect);
    if (Index >= 0 && Index < FItems.Count())
        FCanvas.TextOut(Rect.Left + 2, Rect.Top, FItems.Strings(Index));
}

void TCustomComboBox::MeasureItem(int Index, int& Height) {
    if (OnMeasureItem)
        OnMeasureItem(this, Index, Height);
}

void TCustomComboBox::Change() {
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::DropDown() {
    if (OnDropDown)
        OnDropDown(this);
}

void TCustomComboBox::CaptionChanged() {
    if (!HandleAllocated())
        return;
    if (HasEdit()) {
        TSystemControl::CaptionChanged();
        return;
    }
    // A list without an edit shows only its items: the text selects one, or none.
    const LRESULT Found = SendMessageW(Handle(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(Caption().c_str()));
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(Found), 0);
    StoreCaption(Found >= 0 ? ItemText(Handle(), static_cast<int>(Found)) : String());
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
    if (FStyle == Value)
        return;
    FStyle = Value;
    RecreateWnd();
}

void TCustomComboBox::SetSorted(bool Value) {
    if (FSorted == Value)
        return;
    FSorted = Value;
    if (HandleAllocated()) {
        RecreateWnd(); // the system sorts only from creation on
        return;
    }
    if (!Value)
        return;
    const String Selected = FItemIndex >= 0 ? FItems.Strings(FItemIndex) : String();
    std::stable_sort(FItems.FItems.begin(), FItems.FItems.end(),
                     [](const TComboBoxStrings::TItem& A, const TComboBoxStrings::TItem& B) {
                         return AnsiCompareText(A.S, B.S) < 0;
                     });
    if (FItemIndex >= 0)
        FItemIndex = FItems.IndexOf(Selected);
}

int TCustomComboBox::ItemIndex() {
    if (!HandleAllocated())
        return FItemIndex;
    const auto Index = static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
    return Index < 0 ? -1 : Index;
}

void TCustomComboBox::SetItemIndex(int Value) {
    if (Value < -1 || Value >= FItems.Count())
        Value = -1;
    FItemIndex = Value;
    if (HandleAllocated())
        SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(Value), 0);
    if (Value >= 0)
        StoreCaption(FItems.Strings(Value));
    else if (!HasEdit())
        StoreCaption(String());
}

void TCustomComboBox::SetMaxLength(int Value) {
    FMaxLength = std::max(0, Value);
    if (HandleAllocated() && HasEdit())
        SendMessageW(Handle(), CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

int TCustomComboBox::ItemHeight() {
    if (FItemHeight > 0 || !HandleAllocated())
        return FItemHeight > 0 ? FItemHeight : 16;
    return static_cast<int>(SendMessageW(Handle(), CB_GETITEMHEIGHT, 0, 0));
}

void TCustomComboBox::SetItemHeight(int Value) {
    if (Value <= 0 || Value == FItemHeight)
        return;
    FItemHeight = Value;
    if (HandleAllocated())
        RecreateWnd(); // owner-drawn lists take their item height at creation
}

bool TCustomComboBox::DroppedDown() {
    return HandleAllocated() && SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool Value) {
    if (Value == DroppedDown())
        return;
    SendMessageW(Handle(), CB_SHOWDROPDOWN, Value, 0);
}

// The OLE drop target.
#include "treelist/CvDragDrop.h"

#include "treelist/CvHook.h"

#include <array>
#include <utility>

namespace {

[[noreturn]] void RaiseRegisterError(HRESULT Result) {
    switch (Result) {
    case DRAGDROP_E_ALREADYREGISTERED:
        throw Exception(L"RegisterDragDrop failed, already registered");
    case DRAGDROP_E_INVALIDHWND:
        throw Exception(L"RegisterDragDrop failed, invalide hwnd ");
    case CO_E_NOTINITIALIZED:
        throw Exception(L"RegisterDragDrop failed, coInitialize had not been called");
    case E_OUTOFMEMORY:
        throw Exception(L"RegisterDragDrop failed, out of memory");
    case E_INVALIDARG:
        throw Exception(L"RegisterDragDrop failed, invalid arg");
    default:
        throw Exception(L"RegisterDragDrop failed, unknown error code " +
                        std::to_wstring(static_cast<std::uint32_t>(Result) & 0x7FFFFFFFu));
    }
}

} // namespace

DWORD DropEffectOf(TDragType Type) {
    switch (Type) {
    case dtCopy:
        return DROPEFFECT_COPY;
    case dtMove:
        return DROPEFFECT_MOVE;
    case dtLink:
        return DROPEFFECT_LINK;
    case dtNone:
        break;
    }
    return DROPEFFECT_NONE;
}

TShiftState ShiftStateOfKeys(DWORD KeyState) {
    TShiftState Shift;
    Shift.Set(ssLeft, KeyState & MK_LBUTTON);
    Shift.Set(ssRight, KeyState & MK_RBUTTON);
    Shift.Set(ssMiddle, KeyState & MK_MBUTTON);
    Shift.Set(ssCtrl, KeyState & MK_CONTROL);
    Shift.Set(ssShift, KeyState & MK_SHIFT);
    Shift.Set(ssAlt, KeyState & MK_ALT);
    return Shift;
}

String ClipboardFormatName(UINT Format) {
    static const std::array<const wchar_t*, 16> Standard = {
        L"TEXT",        L"BITMAP",      L"METAFILEPICT", L"SYLK",    L"DIF",  L"TIFF",
        L"OEMTEXT",     L"DIB",         L"PALETTE",      L"PENDATA", L"RIFF", L"WAVE",
        L"UNICODETEXT", L"ENHMETAFILE", L"HDROP",        L"LOCALE"};
    if (Format >= 1 && Format <= Standard.size())
        return Standard[Format - 1];
    wchar_t Buffer[128];
    const int Length = GetClipboardFormatNameW(Format, Buffer, 128);
    return Length > 0 ? String(Buffer, static_cast<std::size_t>(Length)) : String();
}

// ------------------------------------------------------------ TOleDragObject

TOleDragObject::TOleDragObject(IDataObject* Data, DWORD KeyState)
    : FData(Data), FKeyState(KeyState) {
    if (FData)
        FData->AddRef();
}

TOleDragObject::~TOleDragObject() {
    if (FData)
        FData->Release();
}

// ------------------------------------------------------------ TCvDropTarget

TCvDropTarget::TCvDropTarget(TComponent* AOwner) : TComponent(AOwner), FHook(new TCvHook(this)) {
    // The library's notices reach the hook for every kind of window and every way one goes,
    // while the object still holds it.
    FHook->OnBeforeProcess = [this](TObject*, TMessage& Msg, bool&) {
        if (Msg.Msg == CM_WNDDESTROYING)
            RevokeWindow();
    };
    FHook->OnAfterProcess = [this](TObject*, TMessage& Msg, bool&) {
        if (Msg.Msg != CM_WNDCREATED)
            return;
        try {
            RegisterWindow();
        } catch (...) {
            HandleCurrentException(this); // the window is made all the same
        }
    };
    FHook->SetActive(true);
    FOleReady = SUCCEEDED(OleInitialize(nullptr));
}

TCvDropTarget::~TCvDropTarget() {
    try {
        SetTarget(nullptr);
    } catch (...) {
        HandleCurrentException(this);
    }
    FDragSource.reset();
    if (FOleReady)
        OleUninitialize();
}

void TCvDropTarget::SetTarget(TWinControl* Value) {
    if (FTarget == Value)
        return;
    if (ComponentState().Contains(csDesigning)) {
        FTarget = Value;
        return;
    }
    if (FTarget) {
        FTarget->RemoveFreeNotification(this);
        RevokeWindow();
    }
    FHook->SetControl(Value);
    // A hook whose control went was left inactive: this control's windows are followed again.
    FHook->SetActive(Value != nullptr);
    FTarget = Value;
    if (!FTarget)
        return;
    FTarget->FreeNotification(this);
    try {
        RegisterWindow();
    } catch (...) {
        // Refused: the component is left with no target, not half bound to this one.
        FTarget->RemoveFreeNotification(this);
        FHook->SetControl(nullptr);
        FTarget = nullptr;
        throw;
    }
}

void TCvDropTarget::RegisterWindow() {
    if (!FTarget || !FTarget->HandleAllocated() || FRegistered == FTarget->Handle())
        return;
    RevokeWindow();
    const HRESULT Result = RegisterDragDrop(FTarget->Handle(), this);
    if (Result != S_OK)
        RaiseRegisterError(Result);
    FRegistered = FTarget->Handle();
}

void TCvDropTarget::RevokeWindow() {
    // Only the window this target registered: another's registration of it stays.
    if (const HWND Wnd = std::exchange(FRegistered, nullptr))
        RevokeDragDrop(Wnd);
}

void TCvDropTarget::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FTarget) {
        FTarget = nullptr; // its window goes with it, revoked on the way
        FHook->SetControl(nullptr);
    }
}

HRESULT TCvDropTarget::QueryInterface(REFIID Riid, void** Object) {
    if (!Object)
        return E_POINTER;
    if (IsEqualIID(Riid, IID_IUnknown) || IsEqualIID(Riid, IID_IDropTarget)) {
        *Object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *Object = nullptr;
    return E_NOINTERFACE;
}

ULONG TCvDropTarget::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&FRefCount));
}

ULONG TCvDropTarget::Release() {
    // Never frees: the component's owner does.
    return static_cast<ULONG>(InterlockedDecrement(&FRefCount));
}

TPoint TCvDropTarget::ClientPoint(POINTL Point) const {
    const TPoint Screen{static_cast<int>(Point.x), static_cast<int>(Point.y)};
    return FTarget ? FTarget->ScreenToClient(Screen) : Screen;
}

void TCvDropTarget::FireDrag(TDragState State, TShiftState Shift, TPoint At, TDragType& Type) {
    try {
        if (OnTargetDrag)
            OnTargetDrag(this, State, FDragSource.get(), Shift, At.X, At.Y, Type);
    } catch (...) {
        Type = dtNone; // an exception must not cross into the system's drag loop
        HandleCurrentException(this);
    }
}

HRESULT TCvDropTarget::DragEnter(IDataObject* Data, DWORD KeyState, POINTL Point, DWORD* Effect) {
    FFormatNames.Clear();
    IEnumFORMATETC* Formats = nullptr;
    if (Data && SUCCEEDED(Data->EnumFormatEtc(DATADIR_GET, &Formats)) && Formats) {
        FORMATETC Format{};
        while (Formats->Next(1, &Format, nullptr) == S_OK) {
            FFormatNames.Add(ClipboardFormatName(Format.cfFormat));
            if (Format.ptd)
                CoTaskMemFree(Format.ptd);
        }
        Formats->Release();
    }
    FDragSource = std::make_unique<TOleDragObject>(Data, KeyState);
    TDragType Type = dtNone;
    FireDrag(dsDragEnter, ShiftStateOfKeys(KeyState), ClientPoint(Point), Type);
    if (Effect)
        *Effect = DropEffectOf(Type);
    return S_OK;
}

HRESULT TCvDropTarget::DragOver(DWORD KeyState, POINTL Point, DWORD* Effect) {
    TDragType Type = dtNone;
    FireDrag(dsDragMove, ShiftStateOfKeys(KeyState), ClientPoint(Point), Type);
    if (Effect)
        *Effect = DropEffectOf(Type);
    return S_OK;
}

HRESULT TCvDropTarget::DragLeave() {
    TDragType Type = dtNone;
    FireDrag(dsDragLeave, TShiftState{}, TPoint{-1, -1}, Type);
    FDragSource.reset();
    FFormatNames.Clear();
    return S_OK;
}

HRESULT TCvDropTarget::Drop(IDataObject*, DWORD KeyState, POINTL Point, DWORD* Effect) {
    TDragType Type = dtNone;
    const TPoint At = ClientPoint(Point);
    try {
        if (OnTargetDrop)
            OnTargetDrop(this, FDragSource.get(), ShiftStateOfKeys(KeyState), At.X, At.Y, Type);
    } catch (...) {
        Type = dtNone;
        HandleCurrentException(this);
    }
    if (Effect)
        *Effect = DropEffectOf(Type);
    FDragSource.reset();
    FFormatNames.Clear();
    return S_OK;
}

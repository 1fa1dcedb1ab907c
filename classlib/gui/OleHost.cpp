#include "classlib/gui/OleHost.h"

namespace {

// The system's web browser object and its automation interface.
constexpr CLSID WebBrowserClass = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

RECT ClientArea(TOleHost& Host) {
    const TRect Client = Host.ClientRect();
    return RECT{Client.Left, Client.Top, Client.Right, Client.Bottom};
}

// The sites belong to the control, not to their references: counting goes on for the objects'
// sake, but the control alone ends them.
class TCountedSite {
protected:
    ULONG AddReference() { return ++FReferences; }
    ULONG ReleaseReference() { return FReferences > 0 ? --FReferences : 0; }

private:
    ULONG FReferences = 0;
};

} // namespace

// ------------------------------------------------------------------ the sites

class TOleHost::TSite final : public IOleClientSite, public IOleInPlaceSite, TCountedSite {
public:
    explicit TSite(TOleHost& Host) : FHost(Host) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override {
        if (!Object)
            return E_POINTER;
        if (IsEqualIID(Iid, IID_IUnknown) || IsEqualIID(Iid, IID_IOleClientSite))
            *Object = static_cast<IOleClientSite*>(this);
        else if (IsEqualIID(Iid, IID_IOleWindow) || IsEqualIID(Iid, IID_IOleInPlaceSite))
            *Object = static_cast<IOleInPlaceSite*>(this);
        else {
            *Object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddReference(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseReference(); }

    // IOleClientSite: nothing is stored or linked.
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** Moniker) override {
        if (Moniker)
            *Moniker = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** Container) override {
        if (Container)
            *Container = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(WINBOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* Window) override {
        if (!Window)
            return E_POINTER;
        *Window = FHost.Handle();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(WINBOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** Frame, IOleInPlaceUIWindow** Doc,
                                               LPRECT Position, LPRECT Clip,
                                               LPOLEINPLACEFRAMEINFO FrameInfo) override {
        if (!Frame || !Doc || !Position || !Clip || !FrameInfo)
            return E_POINTER;
        *Frame = FHost.Frame();
        (*Frame)->AddRef();
        *Doc = nullptr; // no document window between the frame and the object
        *Position = ClientArea(FHost);
        *Clip = *Position;
        FrameInfo->fMDIApp = FALSE;
        FrameInfo->hwndFrame = GetAncestor(FHost.Handle(), GA_ROOT);
        FrameInfo->haccel = nullptr;
        FrameInfo->cAccelEntries = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(WINBOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override {
        // The object stays where the control's client area is.
        FHost.PlaceObject();
        return S_OK;
    }

private:
    TOleHost& FHost;
};

class TOleHost::TFrame final : public IOleInPlaceFrame, TCountedSite {
public:
    explicit TFrame(TOleHost& Host) : FHost(Host) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override {
        if (!Object)
            return E_POINTER;
        if (IsEqualIID(Iid, IID_IUnknown) || IsEqualIID(Iid, IID_IOleWindow) ||
            IsEqualIID(Iid, IID_IOleInPlaceUIWindow) || IsEqualIID(Iid, IID_IOleInPlaceFrame)) {
            *Object = static_cast<IOleInPlaceFrame*>(this);
            AddRef();
            return S_OK;
        }
        *Object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddReference(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseReference(); }

    // IOleWindow: the frame is the window the control stands in.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* Window) override {
        if (!Window)
            return E_POINTER;
        *Window = GetAncestor(FHost.Handle(), GA_ROOT);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(WINBOOL) override { return E_NOTIMPL; }

    // IOleInPlaceUIWindow: no tool space for the object.
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override {
        return INPLACE_E_NOTOOLSPACE;
    }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS Widths) override {
        const bool None = !Widths || (Widths->left == 0 && Widths->top == 0 && Widths->right == 0 &&
                                      Widths->bottom == 0);
        return None ? S_OK : INPLACE_E_NOTOOLSPACE;
    }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override {
        return S_OK;
    }

    // IOleInPlaceFrame: the window's menus stay its own.
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(WINBOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    TOleHost& FHost;
};

// ------------------------------------------------------------------ TOleHost

TOleHost::TOleHost(TComponent* AOwner)
    : TWinControl(AOwner), FOleStarted(SUCCEEDED(OleInitialize(nullptr))),
      FSite(std::make_unique<TSite>(*this)), FFrame(std::make_unique<TFrame>(*this)) {
    SetTabStop(true);
}

TOleHost::~TOleHost() {
    DestroyObject();
    if (FOleStarted)
        OleUninitialize();
}

IOleClientSite* TOleHost::ClientSite() const {
    return FSite.get();
}

IOleInPlaceFrame* TOleHost::Frame() const {
    return FFrame.get();
}

bool TOleHost::CreateObject(const CLSID& ClassId) {
    IOleObject* Object = nullptr;
    if (FAILED(CoCreateInstance(ClassId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                IID_IOleObject, reinterpret_cast<void**>(&Object))) ||
        !Object)
        return false;
    const bool Hosted = HostObject(Object);
    Object->Release();
    return Hosted;
}

bool TOleHost::HostObject(IOleObject* Object) {
    DestroyObject();
    if (!Object)
        return false;
    FObject = Object;
    FObject->AddRef();
    FObject->SetClientSite(FSite.get());
    RECT Area = ClientArea(*this);
    if (FAILED(
            FObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, FSite.get(), 0, Handle(), &Area))) {
        DestroyObject();
        return false;
    }
    FObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&FInPlace));
    PlaceObject();
    return true;
}

void TOleHost::DestroyObject() {
    if (FInPlace) {
        FInPlace->InPlaceDeactivate();
        FInPlace->Release();
        FInPlace = nullptr;
    }
    if (FObject) {
        FObject->Close(OLECLOSE_NOSAVE);
        FObject->SetClientSite(nullptr);
        FObject->Release();
        FObject = nullptr;
    }
}

void TOleHost::PlaceObject() {
    if (!FInPlace)
        return;
    const RECT Area = ClientArea(*this);
    FInPlace->SetObjectRects(&Area, &Area);
}

void TOleHost::WndProc(TMessage& Message) {
    TWinControl::WndProc(Message);
    if (Message.Msg == WM_SIZE)
        PlaceObject();
}

// ------------------------------------------------------------------ TWebBrowser

bool TWebBrowser::CreateBrowser() {
    return CreateObject(WebBrowserClass);
}

bool TWebBrowser::Navigate(const String& Url) {
    if (!OleObject())
        return false;
    IDispatch* Browser = nullptr;
    if (FAILED(OleObject()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&Browser))) ||
        !Browser)
        return false;
    // Late bound by name: the browser's automation interface is all this needs of it.
    wchar_t MethodName[] = L"Navigate";
    LPOLESTR Names[] = {MethodName};
    DISPID Method = 0;
    bool Done = false;
    if (SUCCEEDED(Browser->GetIDsOfNames(IID_NULL, Names, 1, LOCALE_USER_DEFAULT, &Method))) {
        VARIANT Address;
        VariantInit(&Address);
        Address.vt = VT_BSTR;
        Address.bstrVal = SysAllocString(Url.c_str());
        DISPPARAMS Parameters{&Address, nullptr, 1, 0};
        Done = Address.bstrVal &&
               SUCCEEDED(Browser->Invoke(Method, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                         &Parameters, nullptr, nullptr, nullptr));
        VariantClear(&Address);
    }
    Browser->Release();
    return Done;
}

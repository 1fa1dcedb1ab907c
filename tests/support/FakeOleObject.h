#pragma once
// An in-place OLE object for tests of its container: it notes what is done with it and holds
// no window of its own.

#include "classlib/rtl/WinApi.h"

#include <vector>

// An in-place object that notes what its container does with it.
class TFakeOleObject final : public IOleObject, public IOleInPlaceObject {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override {
        if (IsEqualIID(Iid, IID_IUnknown) || IsEqualIID(Iid, IID_IOleObject))
            *Object = static_cast<IOleObject*>(this);
        else if (IsEqualIID(Iid, IID_IOleWindow) || IsEqualIID(Iid, IID_IOleInPlaceObject))
            *Object = static_cast<IOleInPlaceObject*>(this);
        else {
            *Object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++References; }
    ULONG STDMETHODCALLTYPE Release() override { return --References; }

    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* ClientSite) override {
        if (Site)
            Site->Release();
        Site = ClientSite;
        if (Site)
            Site->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** ClientSite) override {
        *ClientSite = Site;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD SaveOption) override {
        Closed = true;
        CloseOption = SaveOption;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, WINBOOL, DWORD) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG Verb, LPMSG, IOleClientSite* ActiveSite, LONG,
                                     HWND Parent, LPCRECT Position) override {
        Verbs.push_back(Verb);
        VerbSite = ActiveSite;
        VerbParent = Parent;
        VerbRect = *Position;
        return RefuseVerb ? E_FAIL : S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(WINBOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override {
        Deactivated = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT Position, LPCRECT Clip) override {
        Rects.push_back(*Position);
        Clips.push_back(*Clip);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

    ULONG References = 1; // the test's own
    IOleClientSite* Site = nullptr;
    std::vector<LONG> Verbs;
    IOleClientSite* VerbSite = nullptr;
    HWND VerbParent = nullptr;
    RECT VerbRect{};
    std::vector<RECT> Rects;
    std::vector<RECT> Clips;
    bool RefuseVerb = false;
    bool Deactivated = false;
    bool Closed = false;
    DWORD CloseOption = 0;
};

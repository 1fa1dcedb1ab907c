// A windowed control that holds one OLE object in place, and the system's web browser on it.
#pragma once

#include "classlib/gui/Controls.h"

#include <memory>

// The container side of one in-place OLE object: the control is the object's client site, its
// in-place site and its frame, and offers nothing else (no menus, tool space, storage or ambient
// properties). The object's rectangle follows the control's client area.
class TOleHost : public TWinControl {
public:
    explicit TOleHost(TComponent* AOwner);
    ~TOleHost() override;

    // Makes the object of ClassId and activates it in place; false when the system cannot make
    // or activate it, and then nothing is held.
    bool CreateObject(const CLSID& ClassId);
    // Holds Object (taking a reference of its own) and activates it in place; false, and nothing
    // held, when it refuses.
    bool HostObject(IOleObject* Object);
    // Deactivates and closes the held object and lets go of it.
    void DestroyObject();
    IOleObject* OleObject() const { return FObject; }

    // What the object is given as its sites; they live as long as the control.
    IOleClientSite* ClientSite() const;
    IOleInPlaceFrame* Frame() const;

protected:
    void WndProc(TMessage& Message) override;

private:
    class TSite;
    class TFrame;
    friend class TSite;
    void PlaceObject();

    // In-place activation needs OLE, not only COM, on the window thread.
    bool FOleStarted = false;
    std::unique_ptr<TSite> FSite;
    std::unique_ptr<TFrame> FFrame;
    IOleObject* FObject = nullptr;
    IOleInPlaceObject* FInPlace = nullptr;
};

// The system's web browser control.
class TWebBrowser : public TOleHost {
public:
    using TOleHost::TOleHost;

    // Makes the system's browser object here; false when the system has none.
    bool CreateBrowser();
    // Loads Url; false when no browser is held or it refuses the address.
    bool Navigate(const String& Url);
};

// Windows built in code make each control in one call: owned, placed and named.
#pragma once

#include "classlib/gui/Controls.h"

#include <utility>

// A component name that its owner already gives to another component.
class EComponentError : public Exception {
public:
    using Exception::Exception;
};

// Throws EComponentError when one of Owner's components already has Name (compared without
// case, as FindComponent looks); an empty name is never taken.
void CheckComponentName(const TComponent& Owner, const String& Name);

// Makes a TControlClass owned by Owner (which deletes it) and shown in Parent at Bounds, named
// Name; Args follow the owner to the constructor. A name taken in Owner makes nothing and throws
// EComponentError, so a window's layout cannot hand out one name twice.
template <class TControlClass, class... TArgs>
TControlClass* MakeNamedChild(TComponent& Owner, TWinControl& Parent, const String& Name,
                              const TRect& Bounds, TArgs&&... Args) {
    CheckComponentName(Owner, Name);
    auto* Control = new TControlClass(&Owner, std::forward<TArgs>(Args)...);
    Control->Name = Name;
    Control->SetParent(&Parent);
    Control->SetBoundsRect(Bounds);
    return Control;
}

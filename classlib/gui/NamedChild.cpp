#include "classlib/gui/NamedChild.h"

void CheckComponentName(const TComponent& Owner, const String& Name) {
    if (Owner.FindComponent(Name))
        throw EComponentError(L"A component named " + Name + L" already exists");
}

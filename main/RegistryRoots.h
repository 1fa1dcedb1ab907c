#pragma once
// Where the system features find their registry keys: a root key and a path prefix, so that a
// test can move HKEY_LOCAL_MACHINE and the other roots below a key of its own.

#include "classlib/rtl/Registry.h"
#include "classlib/rtl/SysUtils.h"

#include <vector>

struct TRegistryRoot {
    HKEY Key = HKEY_CURRENT_USER;
    // Empty, or a key path ending with "\" that every key of this root lies below.
    String Prefix;

    String Path(const String& KeyPath) const { return Prefix + KeyPath; }
};

// The registry views in which KeyPath below Root is a key of its own: the 64-bit view, and the
// 32-bit view when it leads elsewhere (a key that both views share is listed once). A key that
// is missing in a view is left out.
std::vector<REGSAM> RegistryViewsOf(const TRegistryRoot& Root, const String& KeyPath);

// Opens KeyPath below Root as Registry's current key, with Registry's access rights (a view
// flag in them chooses the view); false when it cannot be opened.
bool OpenRegistryKey(TRegistry& Registry, const TRegistryRoot& Root, const String& KeyPath,
                     bool CanCreate);

// Text with its %variables% replaced, as commands stored in the registry may hold them.
String ExpandEnvironmentText(const String& Text);

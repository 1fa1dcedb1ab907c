#include "main/RegistryRoots.h"

#include "classlib/rtl/WinApi.h"

#include <cstdint>
#include <cstring>

namespace {

// The kernel's full name of an open key ("\REGISTRY\MACHINE\SOFTWARE\..."); empty when it
// cannot be told.
String KernelKeyName(HKEY Key) {
    using TNtQueryKey = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    constexpr int KeyNameInformation = 3;
    static const auto NtQueryKey = [] {
        const HMODULE Ntdll = GetModuleHandleW(L"ntdll.dll");
        return Ntdll ? reinterpret_cast<TNtQueryKey>(
                           reinterpret_cast<void*>(GetProcAddress(Ntdll, "NtQueryKey")))
                     : nullptr;
    }();
    if (!NtQueryKey)
        return String();
    std::vector<std::uint8_t> Buffer(4096);
    ULONG Needed = 0;
    if (NtQueryKey(Key, KeyNameInformation, Buffer.data(), static_cast<ULONG>(Buffer.size()),
                   &Needed) != 0)
        return String();
    ULONG Length = 0; // in bytes, followed by the name
    std::memcpy(&Length, Buffer.data(), sizeof Length);
    if (Length > Buffer.size() - sizeof Length)
        return String();
    return String(reinterpret_cast<const wchar_t*>(Buffer.data() + sizeof Length),
                  Length / sizeof(wchar_t));
}

} // namespace

std::vector<REGSAM> RegistryViewsOf(const TRegistryRoot& Root, const String& KeyPath) {
    std::vector<REGSAM> Views;
    String FirstName;
    for (const REGSAM View : {REGSAM(KEY_WOW64_64KEY), REGSAM(KEY_WOW64_32KEY)}) {
        HKEY Key = nullptr;
        if (RegOpenKeyExW(Root.Key, Root.Path(KeyPath).c_str(), 0, KEY_READ | View, &Key) !=
            ERROR_SUCCESS)
            continue;
        const TRegKey Owned(Key);
        const String Name = KernelKeyName(Key);
        if (!Views.empty() && (Name.empty() || SameText(Name, FirstName)))
            continue;
        if (Views.empty())
            FirstName = Name;
        Views.push_back(View);
    }
    return Views;
}

bool OpenRegistryKey(TRegistry& Registry, const TRegistryRoot& Root, const String& KeyPath,
                     bool CanCreate) {
    Registry.SetRootKey(Root.Key);
    return Registry.OpenKey(L"\\" + Root.Path(KeyPath), CanCreate);
}

String ExpandEnvironmentText(const String& Text) {
    const DWORD Needed = ExpandEnvironmentStringsW(Text.c_str(), nullptr, 0);
    if (Needed == 0)
        return Text;
    String Expanded(Needed, L'\0');
    const DWORD Written = ExpandEnvironmentStringsW(Text.c_str(), Expanded.data(), Needed);
    if (Written == 0 || Written > Needed)
        return Text;
    Expanded.resize(Written - 1); // without the terminator
    return Expanded;
}

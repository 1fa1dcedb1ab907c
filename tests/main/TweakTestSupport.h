#pragma once
// The tweaks' places for a test: its own registry key for every root and its own folder for the
// files of Windows 9x.

#include "main/SystemTweaks.h"
#include "tests/main/RegistryTestSupport.h"

// Folder ends in a backslash.
inline TTweakEnvironment TestTweakEnvironment(const TWindowsVersion& Windows,
                                              const TTestRegistry& Registry, const String& Folder) {
    TTweakEnvironment Env;
    Env.Windows = Windows;
    Env.CurrentUser = Registry.Root(L"HKCU");
    Env.LocalMachine = Registry.Root(L"HKLM");
    Env.ClassesRoot = Registry.Root(L"HKCR");
    Env.Users = Registry.Root(L"HKU");
    Env.MsDosSys = Folder + L"msdos.sys";
    Env.ProgramsFolder = Folder + L"Programs";
    return Env;
}

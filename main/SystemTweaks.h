#pragma once
// The system tweaks page without its window: every setting is read into a field named after the
// control that shows it, and written back from it. Only settings whose field changed since the
// read are written, so an OK without changes leaves the system as it was.

#include "classlib/rtl/SysUtils.h"
#include "main/RegistryRoots.h"
#include "main/WindowsVersion.h"

#include <map>
#include <vector>

// What one control shows: a check box's state, a number or item index, or a text.
struct TTweakField {
    // The setting could be read; one that could not is never written.
    bool Loaded = false;
    bool Checked = false;
    int Number = 0;
    String Text;

    bool operator==(const TTweakField&) const = default;
};

// A row of the category list and the notebook page it shows.
struct TTweakCategory {
    const wchar_t* Text;
    int Page;
};

// The category rows in list order (the pages "IE" and "Desktop" have none).
const std::vector<TTweakCategory>& TweakCategories();
// The notebook is enabled for the boot menu page on Windows 9x only, for the NT page on the NT
// family only, and for every other page.
bool TweakPageEnabled(int Page, const TWindowsVersion& Windows);

struct TTweakEnvironment {
    TWindowsVersion Windows = TWindowsVersion::Current();
    TRegistryRoot CurrentUser{HKEY_CURRENT_USER, String()};
    TRegistryRoot LocalMachine{HKEY_LOCAL_MACHINE, String()};
    TRegistryRoot ClassesRoot{HKEY_CLASSES_ROOT, String()};
    TRegistryRoot Users{HKEY_USERS, String()};
    // The boot options file of Windows 9x.
    String MsDosSys = L"C:\\msdos.sys";
    // The Start menu's Programs folder, which holds the 9x Control Panel and Printers menus.
    String ProgramsFolder;
};

class TSystemTweaks {
public:
    explicit TSystemTweaks(TTweakEnvironment Environment);

    // Reads every setting of this system into its field; each fails alone.
    void Read();
    // Writes every setting whose field differs from what Read gave it; each fails alone.
    void Write();

    // The field of a control; Exception for a name that is none of them.
    TTweakField& Field(const String& Control);
    const TTweakField& Field(const String& Control) const;
    // The names of every control, in the order of the settings.
    std::vector<String> Controls() const;

    // One row of the settings table (defined with the table).
    struct TSetting;

private:
    void ReadSetting(const TSetting& Setting);
    // False when the field was left unwritten on purpose, so that a later Write still sees it
    // as changed.
    bool WriteSetting(const TSetting& Setting);
    bool Applies(const TSetting& Setting) const;
    const TRegistryRoot& RootOf(const TSetting& Setting) const;
    String KeyOf(const TSetting& Setting) const;

    TTweakEnvironment FEnvironment;
    std::map<String, TTweakField> FFields;
    std::map<String, TTweakField> FRead;
};

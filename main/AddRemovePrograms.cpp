#include "main/AddRemovePrograms.h"

namespace {

const wchar_t UninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// A missing value or one that is no text reads as empty.
String ReadText(const TRegistry& Registry, const String& Name) {
    const TRegDataType Type = Registry.GetDataType(Name);
    if (Type != rdString && Type != rdExpandString)
        return String();
    return Registry.ReadString(Name);
}

} // namespace

TAddRemovePrograms::TAddRemovePrograms(TUninstallEnvironment Environment,
                                       const TFeatureContext& Context)
    : FEnvironment(std::move(Environment)), FContext(Context) {
    if (!FEnvironment.CanLaunch)
        FEnvironment.CanLaunch = [](const String& Command) { return ::CanLaunch(Command); };
    if (!FEnvironment.RunAndWait)
        FEnvironment.RunAndWait = [](const String& Command) {
            return ::RunAndWait(Command, SW_SHOWNORMAL);
        };
    if (!FEnvironment.CheckTarget)
        FEnvironment.CheckTarget = [](const String& Command) {
            return CheckProgramTarget(Command);
        };
}

void TAddRemovePrograms::Refresh() {
    FPrograms.clear();
    for (const REGSAM View : RegistryViewsOf(FEnvironment.Machine, UninstallKey))
        ListView(View);
}

void TAddRemovePrograms::ListView(REGSAM View) {
    try {
        TRegistry Registry(KEY_READ | View);
        if (!OpenRegistryKey(Registry, FEnvironment.Machine, UninstallKey, false))
            return;
        TStringList Names;
        Registry.GetKeyNames(Names);
        for (int I = 0; I < Names.Count(); ++I) {
            TRegistry Program(KEY_READ | View);
            if (!OpenRegistryKey(Program, FEnvironment.Machine,
                                 String(UninstallKey) + L"\\" + Names.Strings(I), false))
                continue;
            auto Row = std::make_unique<TAddRem>();
            Row->DisplayName = ReadText(Program, L"DisplayName");
            Row->KeyName = Names.Strings(I);
            Row->UninstallString = ReadText(Program, L"UninstallString");
            Row->View = View;
            if (Row->DisplayName.empty() || Row->UninstallString.empty())
                continue;
            Row->ImageIndex =
                FEnvironment.CanLaunch(ExpandEnvironmentText(Row->UninstallString)) ? 4 : 5;
            FPrograms.push_back(std::move(Row));
        }
    } catch (const Exception&) {
        // The rows read so far stay.
    }
}

bool TAddRemovePrograms::EntryExists(const TAddRem& Program) const {
    TRegistry Registry(KEY_READ | Program.View);
    return OpenRegistryKey(Registry, FEnvironment.Machine,
                           String(UninstallKey) + L"\\" + Program.KeyName, false);
}

TUninstallOutcome TAddRemovePrograms::Uninstall(std::size_t Index) {
    if (Index >= FPrograms.size())
        return uoNothing;
    const TAddRem Program = *FPrograms[Index];
    if (Program.ImageIndex != 4) {
        FContext.Notice(FContext.Message(L"sUninstallInvalidInfo"), IPrompt::IconInformation);
        return uoInvalid;
    }
    if (!FContext.Confirm(FContext.Message(L"UninstallConfirm", Program.DisplayName)))
        return uoNothing;
    FEnvironment.RunAndWait(ExpandEnvironmentText(Program.UninstallString));
    const bool Gone = !EntryExists(Program);
    if (Gone)
        FContext.Log(L"S_Log_AddRemoveUninstallItem", Program.DisplayName);
    Refresh();
    return Gone ? uoEntryGone : uoEntryKept;
}

bool TAddRemovePrograms::CanDelete(std::size_t Index) const {
    // A command that merely cannot start (it needs elevation, say) may still belong to an
    // installed program: only a missing file marks the entry as left over.
    return Index < FPrograms.size() && FPrograms[Index]->ImageIndex == 5 &&
           FEnvironment.CheckTarget(ExpandEnvironmentText(FPrograms[Index]->UninstallString)) ==
               ctTargetMissing;
}

bool TAddRemovePrograms::Delete(std::size_t Index) {
    if (!CanDelete(Index))
        return false;
    const TAddRem Program = *FPrograms[Index];
    if (!FContext.Confirm(FContext.Message(L"DeleteUninstallConfirm", Program.DisplayName)))
        return false;
    {
        TRegistry Registry(KEY_ALL_ACCESS | Program.View);
        if (OpenRegistryKey(Registry, FEnvironment.Machine, UninstallKey, false))
            Registry.DeleteKey(Program.KeyName);
    }
    const bool Gone = !EntryExists(Program);
    if (Gone)
        FContext.Log(L"S_Log_AddRemoveDeleteItem", Program.DisplayName);
    Refresh();
    return Gone;
}

String TAddRemovePrograms::PropertiesText(std::size_t Index) const {
    if (Index >= FPrograms.size())
        return String();
    const TAddRem& Program = *FPrograms[Index];
    return Program.DisplayName + L"\r\n\r\n" + FContext.Message(L"sUninstallPath") + L" " +
           Program.UninstallString;
}

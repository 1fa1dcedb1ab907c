#include "app/Help.h"

#include "app/FlatMessageBox.h"
#include "app/Language.h"
#include "classlib/gui/Forms.h"
#include "classlib/rtl/Registry.h"

namespace {

const wchar_t HtmlHelpClass[] = L"CLSID\\{adb880a6-d8ff-11cf-9377-00aa003b7a11}\\InprocServer32";
constexpr UINT HelpDisplayTopic = 0;

THelpHandler& Handler() {
    static THelpHandler Bound;
    return Bound;
}

String Expanded(const String& Text) {
    const DWORD Size = ExpandEnvironmentStringsW(Text.c_str(), nullptr, 0);
    if (Size == 0)
        return Text;
    String Result(Size, L'\0');
    ExpandEnvironmentStringsW(Text.c_str(), Result.data(), Size);
    Result.resize(Size - 1);
    return Result;
}

} // namespace

THelpHandler SetHelpHandler(THelpHandler Handler) {
    THelpHandler Previous = std::move(::Handler());
    ::Handler() = std::move(Handler);
    return Previous;
}

void ShowHelpTopic(const String& Topic) {
    if (Handler())
        Handler()(Application ? Application->HelpFile : String(), Topic);
}

THtmlHelp::THtmlHelp(HKEY ClassesRoot) {
    TRegistry Registry(KEY_READ);
    Registry.SetRootKey(ClassesRoot);
    try {
        if (Registry.OpenKey(HtmlHelpClass, false) && Registry.ValueExists(L""))
            FLibraryFile = Expanded(Registry.ReadString(L""));
    } catch (const Exception&) {
        FLibraryFile.clear();
    }
    if (FLibraryFile.empty() || !FileExists(FLibraryFile))
        return;
    FLibrary = LoadLibraryW(FLibraryFile.c_str());
    if (FLibrary)
        FHtmlHelp = reinterpret_cast<THtmlHelpW>(
            reinterpret_cast<void*>(GetProcAddress(FLibrary, "HtmlHelpW")));
}

THtmlHelp::~THtmlHelp() {
    if (FLibrary)
        FreeLibrary(FLibrary);
}

bool THtmlHelp::Show(const String& HelpFile, const String& Topic) const {
    if (!FHtmlHelp)
        return false;
    return FHtmlHelp(nullptr, (HelpFile + Topic).c_str(), HelpDisplayTopic, 0) != nullptr;
}

THelpHandler HtmlHelpHandler(const THtmlHelp& Control, std::function<void(const String&)> Report) {
    return [&Control, Report = std::move(Report)](const String& HelpFile, const String& Topic) {
        if (HelpFile.empty() || !FileExists(HelpFile))
            Report(Format(AppMessage(L"sHelpMissing"), {HelpFile}));
        else if (!Control.Show(HelpFile, Topic))
            Report(AppMessage(L"sHelpUnavailable"));
    };
}

void BindHtmlHelp() {
    static const THtmlHelp Control;
    SetHelpHandler(HtmlHelpHandler(Control, [](const String& Text) {
        ShowFlatMessageBox(nullptr, Application ? Application->Title() : String(), Text, fmiStop,
                           0);
    }));
}

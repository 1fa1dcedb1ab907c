#pragma once
// Every help request of both programs goes through one handler, bound when the program starts:
// the HTML Help control where the system registers one, a test's fake, or none (then help
// shows nothing).

#include "classlib/rtl/SysUtils.h"

#include "classlib/rtl/WinApi.h"

#include <functional>

// HelpFile: the application's help file; Topic: "" for its default topic, else "::/<path>".
using THelpHandler = std::function<void(const String& HelpFile, const String& Topic)>;

// Replaces the handler; returns the one it replaces.
THelpHandler SetHelpHandler(THelpHandler Handler);
// The application's help file at Topic, through the handler; nothing without one.
void ShowHelpTopic(const String& Topic);

// The registered HTML Help control, used only when its file exists.
class THtmlHelp {
public:
    // ClassesRoot: where the control's class is registered (HKEY_CLASSES_ROOT).
    explicit THtmlHelp(HKEY ClassesRoot = HKEY_CLASSES_ROOT);
    ~THtmlHelp();
    THtmlHelp(const THtmlHelp&) = delete;
    THtmlHelp& operator=(const THtmlHelp&) = delete;

    // The library file the registry names; empty when none is registered.
    const String& LibraryFile() const { return FLibraryFile; }
    bool Available() const { return FHtmlHelp != nullptr; }
    // Shows HelpFile at Topic (appended as given); false when help is not available or the
    // control opened no window.
    bool Show(const String& HelpFile, const String& Topic) const;

private:
    using THtmlHelpW = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
    String FLibraryFile;
    HMODULE FLibrary = nullptr;
    THtmlHelpW FHtmlHelp = nullptr;
};

// Shows Control's help; a missing help file or a control that cannot show it is told through
// Report, in the language's words.
THelpHandler HtmlHelpHandler(const THtmlHelp& Control, std::function<void(const String&)> Report);

// Binds the handler to the HTML Help control looked up now, for the rest of the run; a failure
// is told in the program's message box.
void BindHtmlHelp();

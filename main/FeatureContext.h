#pragma once
// What the system features of the main window share: the language texts, the action log of the
// report and the program's message box.

#include "classlib/rtl/SysUtils.h"
#include "main/MainServices.h"

class TLanguage;
class TStatistics;

class TFeatureContext {
public:
    // Prompt may be null: notices are then not shown and questions answered No.
    TFeatureContext(const TLanguage& Language, TStatistics& Stats, IPrompt* Prompt);

    // The message Key of the language file (Key itself when it has none).
    String Message(const String& Key) const;
    // The message Key with its "%s" replaced by Argument.
    String Message(const String& Key, const String& Argument) const;
    // Adds Message(Key, Argument) to the action log of the report.
    void Log(const String& Key, const String& Argument) const;
    // Asks Text with the question icon and Yes/No; true only on Yes.
    bool Confirm(const String& Text) const;
    // Shows Text with the OK button.
    void Notice(const String& Text, int Icon = IPrompt::IconQuestion) const;

    const TLanguage& Language() const { return FLanguage; }
    TStatistics& Stats() const { return FStats; }
    IPrompt* Prompt() const { return FPrompt; }

private:
    String Caption() const;

    const TLanguage& FLanguage;
    TStatistics& FStats;
    IPrompt* FPrompt;
};

#include "main/FeatureContext.h"

#include "app/Language.h"
#include "main/Statistics.h"

TFeatureContext::TFeatureContext(const TLanguage& Language, TStatistics& Stats, IPrompt* Prompt)
    : FLanguage(Language), FStats(Stats), FPrompt(Prompt) {}

String TFeatureContext::Message(const String& Key) const {
    String Text = Key;
    FLanguage.GetMessageText(Key, Text);
    return Text;
}

String TFeatureContext::Message(const String& Key, const String& Argument) const {
    return Format(Message(Key), {Argument});
}

void TFeatureContext::Log(const String& Key, const String& Argument) const {
    FStats.AddLogLine(Message(Key, Argument));
}

String TFeatureContext::Caption() const {
    String Text = L"Application";
    FLanguage.GetText(L"Application", L"Caption", Text);
    return Text;
}

bool TFeatureContext::Confirm(const String& Text) const {
    return FPrompt && FPrompt->MessageBox(Caption(), Text, IPrompt::IconQuestion,
                                          IPrompt::ButtonsYesNo) == IPrompt::ResultYes;
}

void TFeatureContext::Notice(const String& Text, int Icon) const {
    if (FPrompt)
        FPrompt->MessageBox(Caption(), Text, Icon, IPrompt::ButtonsOk);
}

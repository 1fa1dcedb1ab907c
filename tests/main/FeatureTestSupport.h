#pragma once
// The language texts, action log and message box that the system-feature tests hand to the
// features, with what was logged and asked kept for the checks.

#include "app/Language.h"
#include "main/FeatureContext.h"
#include "main/Statistics.h"
#include "tests/main/ScanTestSupport.h"
#include "tests/support/TempFolder.h"

#include <vector>

class TFeatureTestContext {
public:
    // Messages: "Key=Text\r\n" lines of the [Messages] section.
    explicit TFeatureTestContext(const char* Messages) {
        const String File = FFolder.AddFile(
            L"test.lng",
            std::string("[Application]\r\nCaption=Corvanta\r\n[Messages]\r\n") + Messages);
        Language.LoadFromFile(File);
    }

    std::vector<String> LogLines() const {
        std::vector<String> Lines;
        for (int I = 0; I < Stats.LogLines().Count(); ++I)
            Lines.push_back(Stats.LogLines().Strings(I));
        return Lines;
    }
    std::vector<String> Asked() const {
        std::vector<String> Texts;
        for (const auto& Question : Prompt.Asked)
            Texts.push_back(Question.Text);
        return Texts;
    }

    TLanguage Language;
    TStatistics Stats;
    TFakePrompt Prompt;
    TFeatureContext Context{Language, Stats, &Prompt};

private:
    TTempFolder FFolder;
};

#pragma once
// The context of the file features for tests: tables in a temp program folder, a fixed clock,
// a scripted prompt, a recording progress sink and messages that are their own keys.

#include "main/Backup.h"
#include "tests/main/ScanTestSupport.h"
#include "tests/main/TablesFixture.h"
#include "tests/support/FakeProgress.h"

#include <memory>

struct TFeatureFixture {
    TTablesFixture Fx;
    TFakeClock Clock{EncodeDate(2024, 5, 17) + EncodeTime(9, 5, 7, 89)};
    TFakePrompt Prompt;
    TFakeProgress Progress;
    TFileFeatureContext Context{Fx.Tables,
                                Clock,
                                &Prompt,
                                Progress,
                                [](const String& Key) { return Key; },
                                L"QRV",
                                Fx.App.Path() + L"Temp\\"};

    // The texts of the notices and questions shown, in order.
    std::vector<String> Shown() const {
        std::vector<String> Texts;
        for (const auto& Asked : Prompt.Asked)
            Texts.push_back(Asked.Text);
        return Texts;
    }
    // The first line of each text shown (the message key).
    std::vector<String> ShownKeys() const {
        std::vector<String> Keys;
        for (const String& Text : Shown())
            Keys.push_back(Text.substr(0, Text.find(L'\r')));
        return Keys;
    }
};

// Result rows for files, checked as asked.
inline void AddResult(TScanResults& Results, const String& FullName, bool Checked) {
    auto File = std::make_unique<TFile>();
    File->SetPath(ExtractFilePath(FullName));
    File->Name = ExtractFileName(FullName);
    Results.Append(std::move(File), String());
    Results.SetChecked(Results.Count() - 1, Checked);
}

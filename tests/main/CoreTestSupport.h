#pragma once
// An opened main core in a temp program folder, for the tests of the features built on it.

#include "app/Language.h"
#include "main/FeatureContext.h"
#include "main/MainCore.h"
#include "tests/main/RegistryTestSupport.h"
#include "tests/main/ScanTestSupport.h"
#include "tests/support/FakeProgress.h"

#include <memory>
#include <string>
#include <vector>

// The test key without a trailing backslash, and what its keys hold.
inline String BaseOf(const TTestRegistry& Key) {
    return ExcludeTrailingBackslash(Key.Path(String()));
}
inline bool HasValue(const TTestRegistry& Key, const String& Path, const String& Name) {
    return !Key.Value(Path, Name).empty();
}
inline std::vector<String> ValueNames(const TTestRegistry& Key, const String& Path) {
    std::vector<String> Names;
    const String Prefix = L"\\" + Path + L"\\";
    for (const auto& [Entry, Value] : Key.Dump()) {
        if (Entry.back() == L'\\') // a key, not a value
            continue;
        const String Rest =
            Entry.substr(0, Prefix.size()) == Prefix ? Entry.substr(Prefix.size()) : String(L"\\");
        if (Rest.find(L'\\') == String::npos)
            Names.push_back(Rest);
    }
    return Names;
}

class TCoreFixture {
public:
    // Language: the [Messages] lines (CR LF ended) besides the application caption.
    explicit TCoreFixture(const std::string& Messages) {
        Tree.AddFile(L"Languages\\test.lng",
                     "[Application]\r\nCaption=Corvanta\r\n[Messages]\r\n" + Messages);
        Language.LoadFromFile(Tree.Path() + L"Languages\\test.lng");
        TMainCoreEnvironment Env;
        Env.AppDir = Tree.Path() + L"App";
        Env.WindowsFolder = Tree.Path() + L"Windows";
        Env.BackupFolder = Tree.Path() + L"Backups";
        Env.Language = &Language;
        Env.Drives = &Drives;
        Env.Clock = &Clock;
        Env.Status = &Status;
        Env.Prompt = &Prompt;
        Env.Shell = &Shell;
        Core = std::make_unique<TMainCore>(Env);
        Core->Open();
        Context = std::make_unique<TFeatureContext>(Language, Core->Stats, &Prompt);
    }

    TTempFolder Tree;
    TLanguage Language;
    TFakeDrives Drives;
    TFakeClock Clock{EncodeDate(2024, 6, 15) + 0.5};
    class : public IStatusSink {
        void SetStatus(const String&) override {}
    } Status;
    TFakePrompt Prompt;
    TFakeShell Shell;
    // Pumped by scans.
    TFakeProgress Pump;
    TFakeProgress Progress;
    std::unique_ptr<TMainCore> Core;
    std::unique_ptr<TFeatureContext> Context;
};

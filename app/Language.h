#pragma once

#include "classlib/rtl/Classes.h"
#include "classlib/rtl/IniFiles.h"
#include "classlib/rtl/SysUtils.h"

#include <memory>

// The loaded language file: captions and hints by component name, messages by key.
// No lookup ever throws; a missing entry yields the caller's name for it.
class TLanguage : public TComponent {
public:
    explicit TLanguage(TComponent* Owner = nullptr);
    ~TLanguage() override;

    // A missing file loads as empty; a file that cannot be read leaves none loaded.
    void LoadFromFile(const String& Path);
    bool IsLoaded() const;
    bool SectionExists(const String& Section) const;

    // Text becomes Section, or the value of Ident in Section when the file has it.
    void GetText(const String& Section, const String& Ident, String& Text) const;
    // Text becomes the value of Ident in "Messages", else Ident; with no file
    // loaded Text is left as passed.
    void GetMessageText(const String& Ident, String& Text) const;

private:
    std::unique_ptr<TMemIniFile> FFile;
};

// Created with no file before any window exists; start-up loads it once.
extern TLanguage* const AppLanguage;

// Message Key in the program's language; Key itself where it has none.
String AppMessage(const String& Key);
// Section's caption in the program's language; the section's name where it has none.
String AppCaption(const String& Section);

// AppDir + "Languages\<Lang>.lng". A Lang that is empty or could leave the
// Languages folder (a path separator, a drive colon or "..") falls back to "english".
String LanguageFilePath(const String& AppDir, const String& Lang);

#include "app/Language.h"

namespace {

const String MessagesSection = L"Messages";
const String DefaultLanguage = L"english";

// The language object lives as long as the program; start-up fills it.
TLanguage GAppLanguage;

// Lang comes from a user-editable ini: keep it a plain file stem.
bool IsPlainFileStem(const String& Lang) {
    return !Lang.empty() && Lang.find_first_of(L"\\/:") == String::npos &&
           Lang.find(L"..") == String::npos;
}

} // namespace

TLanguage* const AppLanguage = &GAppLanguage;

TLanguage::TLanguage(TComponent* Owner) : TComponent(Owner) {}

TLanguage::~TLanguage() = default;

void TLanguage::LoadFromFile(const String& Path) {
    FFile.reset();
    try {
        FFile = std::make_unique<TMemIniFile>(Path);
    } catch (...) {
        // An unreadable file leaves no file loaded: lookups give their defaults.
    }
}

bool TLanguage::IsLoaded() const {
    return FFile != nullptr;
}

bool TLanguage::SectionExists(const String& Section) const {
    try {
        return FFile && FFile->SectionExists(Section);
    } catch (...) {
        return false;
    }
}

void TLanguage::GetText(const String& Section, const String& Ident, String& Text) const {
    Text = Section;
    if (!FFile)
        return;
    try {
        if (FFile->SectionExists(Section) && FFile->ValueExists(Section, Ident))
            Text = FFile->ReadString(Section, Ident, Section);
    } catch (...) {
        Text = Section;
    }
}

void TLanguage::GetMessageText(const String& Ident, String& Text) const {
    if (!FFile)
        return;
    try {
        Text = FFile->ValueExists(MessagesSection, Ident)
                   ? FFile->ReadString(MessagesSection, Ident, Ident)
                   : Ident;
    } catch (...) {
        Text = Ident;
    }
}

String LanguageFilePath(const String& AppDir, const String& Lang) {
    return IncludeTrailingBackslash(AppDir) + L"Languages\\" +
           (IsPlainFileStem(Lang) ? Lang : DefaultLanguage) + L".lng";
}

String AppMessage(const String& Key) {
    String Text = Key;
    AppLanguage->GetMessageText(Key, Text);
    return Text;
}

String AppCaption(const String& Section) {
    String Text;
    AppLanguage->GetText(Section, L"Caption", Text);
    return Text;
}

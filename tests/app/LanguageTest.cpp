#include "app/Language.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

const char* const EnglishFile = "[btnNext]\r\n"
                                "Caption=Next >\r\n"
                                "Hint=Go on\r\n"
                                "[btnEmpty]\r\n"
                                "[labStatus]\r\n"
                                "Caption=Line one|Line two\r\n"
                                "[frmFilter]\r\n"
                                "Caption=Filter\r\n"
                                "[Messages]\r\n"
                                "sLoading=Loading...\r\n"
                                "sFormula=a = b=c\r\n"
                                "sClose=Schlie\xC3\x9F"
                                "en\r\n"
                                "sBlank=\r\n";

enum TState { NoFile, MissingFile, Loaded, StateCount };

// A message lookup with no file leaves the caller's text alone.
const String Untouched = L"<untouched>";

struct TLookup {
    const wchar_t* Section; // null: a message lookup
    const wchar_t* Ident;
    const wchar_t* Expected[StateCount];
};

class LanguageTest : public ::testing::Test {
protected:
    void Prepare(TLanguage& Language, TState State) const {
        if (State == MissingFile)
            Language.LoadFromFile(Tree.Path() + L"Languages\\none.lng");
        else if (State == Loaded)
            Language.LoadFromFile(Tree.Path() + L"english.lng");
    }

    void SetUp() override { Tree.AddFile(L"english.lng", EnglishFile); }

    TTempFolder Tree;
};

TEST_F(LanguageTest, LookupsInEachState) {
    const TLookup Cases[] = {
        {L"btnNext", L"Caption", {L"btnNext", L"btnNext", L"Next >"}},
        {L"btnNext", L"Hint", {L"btnNext", L"btnNext", L"Go on"}},
        // The section is there but lacks the key.
        {L"btnEmpty", L"Caption", {L"btnEmpty", L"btnEmpty", L"btnEmpty"}},
        {L"frmFilter", L"Hint", {L"frmFilter", L"frmFilter", L"frmFilter"}},
        // The key exists, but under other sections only.
        {L"btnBack", L"Caption", {L"btnBack", L"btnBack", L"btnBack"}},
        // Line breaks are the skin pass's business: the text comes back as stored.
        {L"labStatus", L"Caption", {L"labStatus", L"labStatus", L"Line one|Line two"}},
        {nullptr, L"sLoading", {Untouched.c_str(), L"sLoading", L"Loading..."}},
        {nullptr, L"sNothingFound", {Untouched.c_str(), L"sNothingFound", L"sNothingFound"}},
        {nullptr, L"sFormula", {Untouched.c_str(), L"sFormula", L"a = b=c"}},
        {nullptr,
         L"sClose",
         {Untouched.c_str(), L"sClose",
          L"Schlie\x00DF"
          L"en"}},
        {nullptr, L"sBlank", {Untouched.c_str(), L"sBlank", L""}},
        // A message key is not looked up outside "Messages".
        {nullptr, L"Caption", {Untouched.c_str(), L"Caption", L"Caption"}},
    };
    for (const TState State : {NoFile, MissingFile, Loaded}) {
        TLanguage Language;
        Prepare(Language, State);
        for (const TLookup& C : Cases) {
            String Text = Untouched;
            if (C.Section)
                Language.GetText(C.Section, C.Ident, Text);
            else
                Language.GetMessageText(C.Ident, Text);
            EXPECT_EQ(Text, C.Expected[State])
                << "state " << State << ", " << (C.Section ? C.Section : L"Messages") << "/"
                << C.Ident;
        }
    }
}

TEST_F(LanguageTest, LoadStateAndSections) {
    const bool ExpectLoaded[StateCount] = {false, true, true};
    const bool ExpectSection[StateCount] = {false, false, true};
    for (const TState State : {NoFile, MissingFile, Loaded}) {
        TLanguage Language;
        Prepare(Language, State);
        EXPECT_EQ(Language.IsLoaded(), ExpectLoaded[State]) << "state " << State;
        EXPECT_EQ(Language.SectionExists(L"btnNext"), ExpectSection[State]) << "state " << State;
        EXPECT_EQ(Language.SectionExists(L"btnEmpty"), ExpectSection[State]) << "state " << State;
        EXPECT_FALSE(Language.SectionExists(L"btnBack")) << "state " << State;
    }
}

TEST_F(LanguageTest, ALaterLoadReplacesTheFile) {
    Tree.AddFile(L"german.lng", "[btnNext]\r\nCaption=Weiter\r\n");
    TLanguage Language;
    Language.LoadFromFile(Tree.Path() + L"english.lng");
    Language.LoadFromFile(Tree.Path() + L"german.lng");
    String Text;
    Language.GetText(L"btnNext", L"Caption", Text);
    EXPECT_EQ(Text, L"Weiter");
    Language.GetMessageText(L"sLoading", Text);
    EXPECT_EQ(Text, L"sLoading");
}

TEST_F(LanguageTest, AnUnreadableFileLeavesNoFileLoaded) {
    const String Path = Tree.Path() + L"english.lng";
    TLanguage Language;
    Language.LoadFromFile(Path);
    ASSERT_TRUE(Language.IsLoaded());

    const HANDLE Lock = CreateFileW(Path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(Lock, INVALID_HANDLE_VALUE);
    Language.LoadFromFile(Path);
    CloseHandle(Lock);

    EXPECT_FALSE(Language.IsLoaded());
    String Text = Untouched;
    Language.GetText(L"btnNext", L"Caption", Text);
    EXPECT_EQ(Text, L"btnNext");
    Text = Untouched;
    Language.GetMessageText(L"sLoading", Text);
    EXPECT_EQ(Text, Untouched);
}

TEST(Language, TheProgramWideInstanceStartsWithoutOwner) {
    ASSERT_NE(AppLanguage, nullptr);
    EXPECT_EQ(AppLanguage->Owner(), nullptr);
}

TEST(Language, FilePathFallsBackToEnglishForUnsafeNames) {
    const struct {
        const wchar_t* AppDir;
        const wchar_t* Lang;
        const wchar_t* Expected;
    } Cases[] = {
        {L"C:\\Prog\\", L"english", L"C:\\Prog\\Languages\\english.lng"},
        {L"C:\\Prog", L"german", L"C:\\Prog\\Languages\\german.lng"},
        {L"C:\\Prog\\", L"pt.br", L"C:\\Prog\\Languages\\pt.br.lng"},
        {L"C:\\Prog\\", L"", L"C:\\Prog\\Languages\\english.lng"},
        {L"C:\\Prog\\", L"..", L"C:\\Prog\\Languages\\english.lng"},
        {L"C:\\Prog\\", L"..\\..\\Windows\\win", L"C:\\Prog\\Languages\\english.lng"},
        {L"C:\\Prog\\", L"sub\\german", L"C:\\Prog\\Languages\\english.lng"},
        {L"C:\\Prog\\", L"sub/german", L"C:\\Prog\\Languages\\english.lng"},
        {L"C:\\Prog\\", L"D:german", L"C:\\Prog\\Languages\\english.lng"},
        {L"C:\\Prog\\", L"german..", L"C:\\Prog\\Languages\\english.lng"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(LanguageFilePath(C.AppDir, C.Lang), C.Expected) << "Lang '" << C.Lang << "'";
}

} // namespace

#include "app/RegistryScan.h"

#include "tests/app/QRVUtilsTestSupport.h"
#include "tests/app/RegistryTestSupport.h"
#include "tests/support/FakeProgress.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class RegistryScan : public ::testing::Test {
protected:
    TTestKey Key{L"RegistryScan"};
    TTempFolder Files;

    TRegistryScanSettings Settings(bool Advanced) const {
        TRegistryScanSettings S;
        S.Starts = {{TRegistryRootKey::CurrentUser, Key.Path()}};
        S.Advanced = Advanced;
        S.ClassKeys = {TRegistryRootKey::CurrentUser, Key.Sub(L"CLSID")};
        return S;
    }

    static std::vector<TRegistryFinding> Scan(const TRegistryScanSettings& S,
                                              IProgress* Progress = nullptr) {
        std::vector<TRegistryFinding> Found;
        TRegistryScanner Scanner(S);
        Scanner.Progress = Progress;
        Scanner.OnFinding = [&](const TRegistryFinding& F) { Found.push_back(F); };
        Scanner.Run();
        return Found;
    }

    static std::vector<String> Names(const std::vector<TRegistryFinding>& Found) {
        std::vector<String> Result;
        for (const TRegistryFinding& F : Found)
            Result.push_back(F.Name);
        std::sort(Result.begin(), Result.end());
        return Result;
    }
};

TEST_F(RegistryScan, ListsValuesByTheirTargetAndMode) {
    const String Present = Files.AddFile(L"present.exe", "MZ");
    const String Missing = Files.Path() + L"gone.exe";
    const String Spaced = Files.Path() + L"no such program.exe";
    const String OtherDrive = UnusedDrive();
    ASSERT_FALSE(OtherDrive.empty());

    struct TCase {
        const wchar_t* Name;
        String Text;
        bool Simple;
        bool Advanced;
    } const Cases[] = {
        {L"missing bare", Missing, true, true},
        {L"missing quoted with arguments", L"\"" + Spaced + L"\" /run", true, true},
        {L"missing with arguments", Missing + L" -a -b", true, true},
        {L"present", Present, false, false},
        {L"present with arguments", Present + L" /run now", false, false},
        {L"present quoted with arguments", L"\"" + Present + L"\" /x", false, false},
        {L"icon index", Present + L",3", false, false},
        {L"environment path", L"%SystemRoot%\\gone.exe", false, false},
        {L"bare program", L"gone.exe", false, false},
        {L"other drive", OtherDrive + L"\\gone.exe", false, false},
        {L"two drive paths", Missing + L" " + Missing, false, true},
        {L"semicolon", Missing + L";" + Present, false, true},
        {L"", Missing, true, true}, // the default value
    };
    for (const TCase& C : Cases)
        Key.SetString(L"App", C.Name, C.Text);
    // Only plain strings are looked at, and none too long to name a file.
    Key.SetString(L"App", L"expandable", Missing, REG_EXPAND_SZ);
    Key.SetDword(L"App", L"number", 7);
    Key.SetString(L"App", L"huge", Missing + String(40000, L'x'));

    for (const bool Advanced : {false, true}) {
        std::vector<String> Expected;
        for (const TCase& C : Cases)
            if (Advanced ? C.Advanced : C.Simple)
                Expected.push_back(C.Name);
        std::sort(Expected.begin(), Expected.end());
        const std::vector<TRegistryFinding> Found = Scan(Settings(Advanced));
        EXPECT_EQ(Names(Found), Expected) << (Advanced ? "advanced" : "simple");
        for (const TRegistryFinding& F : Found) {
            EXPECT_EQ(F.Kind, TRegistryFindingKind::Value);
            EXPECT_EQ(F.Root, TRegistryRootKey::CurrentUser);
            EXPECT_EQ(F.KeyPath, Key.Sub(L"App"));
        }
    }
}

TEST_F(RegistryScan, FindingKeepsItsKeyValueAndText) {
    const String Missing = Files.Path() + L"gone.dll";
    Key.SetString(L"", L"top", Missing);
    Key.SetString(L"A\\B\\C", L"deep", Missing + L" /x");

    const std::vector<TRegistryFinding> Found = Scan(Settings(false));
    ASSERT_EQ(Found.size(), 2u);
    // Subkeys are walked before the key's own values.
    EXPECT_EQ(Found[0].KeyPath, Key.Sub(L"A\\B\\C"));
    EXPECT_EQ(Found[0].Name, L"deep");
    EXPECT_EQ(Found[0].Text, Missing + L" /x");
    EXPECT_EQ(Found[0].Target, ctTargetMissing);
    EXPECT_EQ(Found[1].KeyPath, Key.Path());
    EXPECT_EQ(FindingRowText(Found[1]), L"HKEY_CURRENT_USER\\" + Key.Path());
}

TEST(RegistryScanText, WalkKeyPathsAsRowsShowThem) {
    struct TCase {
        TRegistryRootKey Root;
        const wchar_t* KeyPath;
        const wchar_t* Row;
    } const Cases[] = {
        {TRegistryRootKey::CurrentUser, L"", L"HKEY_CURRENT_USER\\\\"},
        {TRegistryRootKey::Users, L"Software", L"HKEY_USERS\\\\Software"},
        {TRegistryRootKey::LocalMachine, L"Software\\Classes\\CLSID",
         L"HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID"},
    };
    for (const TCase& C : Cases) {
        TRegistryFinding F;
        F.Root = C.Root;
        F.KeyPath = C.KeyPath;
        EXPECT_EQ(FindingRowText(F), C.Row);
    }
    EXPECT_EQ(RootKeyHandle(TRegistryRootKey::CurrentUser), HKEY_CURRENT_USER);
    EXPECT_EQ(RootKeyHandle(TRegistryRootKey::Users), HKEY_USERS);
    EXPECT_EQ(RootKeyHandle(TRegistryRootKey::LocalMachine), HKEY_LOCAL_MACHINE);
}

TEST_F(RegistryScan, ClassServersOnlyInAdvancedMode) {
    const String Present = Files.AddFile(L"server.dll", "MZ");
    const String Missing = Files.Path() + L"gone.dll";
    Key.SetString(L"CLSID\\{A}\\InprocServer32", L"", Missing);
    Key.SetString(L"CLSID\\{A}\\LocalServer32", L"", Missing + L" /automation");
    Key.SetString(L"CLSID\\{B}\\InprocServer32", L"", Present);
    // A server whose default value is no text does not end the pass.
    Key.SetDword(L"CLSID\\{C}\\InprocServer32", L"", 1);
    Key.SetString(L"CLSID\\{D}\\inprocserver32", L"", Missing);
    Key.SetString(L"CLSID\\{E}\\OtherServer", L"", Missing);

    TRegistryScanSettings S = Settings(true);
    S.Starts.clear();
    const std::vector<TRegistryFinding> Advanced = Scan(S);
    EXPECT_EQ(Names(Advanced), (std::vector<String>{L"{A}", L"{A}", L"{D}"}));
    for (const TRegistryFinding& F : Advanced) {
        EXPECT_EQ(F.Kind, TRegistryFindingKind::ClassKey);
        EXPECT_EQ(F.KeyPath, Key.Sub(L"CLSID"));
        EXPECT_EQ(F.Text.substr(0, Missing.size()), Missing);
    }
    // The class pass belongs to the advanced mode.
    TRegistryScanSettings Simple = Settings(false);
    Simple.Starts.clear();
    EXPECT_TRUE(Scan(Simple).empty());
}

TEST_F(RegistryScan, StopKeepsWhatWasFound) {
    const String Missing = Files.Path() + L"gone.exe";
    for (int I = 0; I < 5; ++I)
        Key.SetString(L"K" + std::to_wstring(I), L"v", Missing);

    std::vector<TRegistryFinding> Found;
    TRegistryScanner Scanner(Settings(false));
    Scanner.OnFinding = [&](const TRegistryFinding& F) {
        Found.push_back(F);
        if (Found.size() == 2)
            Scanner.Stop();
    };
    EXPECT_EQ(Scanner.Run(), TRegistryScanOutcome::Stopped);
    EXPECT_EQ(Found.size(), 2u);

    // A new run starts again from the beginning.
    Found.clear();
    Scanner.OnFinding = [&](const TRegistryFinding& F) { Found.push_back(F); };
    EXPECT_EQ(Scanner.Run(), TRegistryScanOutcome::Completed);
    EXPECT_EQ(Found.size(), 5u);
}

TEST_F(RegistryScan, CancelDuringTheClassPassStopsOnlyTheWalk) {
    const String Missing = Files.Path() + L"gone.dll";
    Key.SetString(L"CLSID\\{A}\\InprocServer32", L"", Missing);
    Key.SetString(L"CLSID\\{B}\\InprocServer32", L"", Missing);
    Key.SetString(L"Values", L"v", Missing);

    TFakeProgress Progress;
    Progress.Start(L"", 0, true, TProgressAnimation::None);
    Progress.CancelAtPump = 1;
    TRegistryScanSettings S = Settings(true);
    S.ClassKeys = {TRegistryRootKey::CurrentUser, Key.Sub(L"CLSID")};
    S.Starts = {{TRegistryRootKey::CurrentUser, Key.Sub(L"Values")}};
    const std::vector<TRegistryFinding> Found = Scan(S, &Progress);
    EXPECT_EQ(Names(Found), (std::vector<String>{L"{A}", L"{B}"}));
    EXPECT_GE(Progress.Pumps, 2);
}

TEST_F(RegistryScan, SystemFolderUnderWow6432NodeMeansSysWow64) {
    // A Windows folder of our own: System32 lacks the file, SysWOW64 has it.
    Files.AddFolder(L"Windows\\System32");
    Files.AddFile(L"Windows\\SysWOW64\\only32.dll", "MZ");
    const String Text = Files.Path() + L"Windows\\system32\\only32.dll";
    Key.SetString(L"Wow6432Node\\App", L"wow", Text);
    Key.SetString(L"Native\\App", L"native", Text);

    TRegistryScanSettings S = Settings(false);
    S.WindowsFolder = Files.Path() + L"Windows";
    EXPECT_EQ(Names(Scan(S)), std::vector<String>{L"native"});
}

TEST_F(RegistryScan, CurrentUserShowsOnceWhenUsersIsWalkedToo) {
    const String Missing = Files.Path() + L"gone.exe";
    Key.SetString(L"Mirror", L"mirrored", Missing);
    const auto Planted = [](const std::vector<TRegistryFinding>& Found) {
        std::vector<TRegistryFinding> Mine;
        std::copy_if(Found.begin(), Found.end(), std::back_inserter(Mine),
                     [](const TRegistryFinding& F) { return F.Name == L"mirrored"; });
        return Mine;
    };

    // HKEY_USERS alone holds the current user's copy under its SID.
    TRegistryScanSettings UsersOnly;
    UsersOnly.Starts = {{TRegistryRootKey::Users, String()}};
    const std::vector<TRegistryFinding> FromUsers = Planted(Scan(UsersOnly));
    ASSERT_EQ(FromUsers.size(), 1u);
    EXPECT_EQ(FromUsers[0].Root, TRegistryRootKey::Users);

    TRegistryScanSettings Both;
    Both.Starts = {{TRegistryRootKey::CurrentUser, Key.Path()},
                   {TRegistryRootKey::Users, String()}};
    const std::vector<TRegistryFinding> Once = Planted(Scan(Both));
    ASSERT_EQ(Once.size(), 1u);
    EXPECT_EQ(Once[0].Root, TRegistryRootKey::CurrentUser);
}

// ---------------------------------------------------------------- removal

TEST_F(RegistryScan, RemovalTakesExactlyTheEntryNamed) {
    const auto ValueFinding = [&](const String& Relative, const String& Name) {
        TRegistryFinding F;
        F.Root = TRegistryRootKey::CurrentUser;
        F.KeyPath = Key.Sub(Relative);
        F.Name = Name;
        return F;
    };

    // A value named like a subkey: the value goes, the subkey stays.
    Key.SetString(L"App", L"Twin", L"C:\\gone.exe");
    Key.SetString(L"App\\Twin", L"inner", L"kept");
    EXPECT_EQ(RemoveRegistryFinding(ValueFinding(L"App", L"Twin")), TRegistryRemoval::Removed);
    EXPECT_FALSE(Key.ValueExists(L"App", L"Twin"));
    EXPECT_TRUE(Key.ValueExists(L"App\\Twin", L"inner"));

    // Asked again, the value is gone: the subkey of that name is still no value of it.
    EXPECT_EQ(RemoveRegistryFinding(ValueFinding(L"App", L"Twin")), TRegistryRemoval::Gone);
    EXPECT_TRUE(Key.KeyExists(L"App\\Twin"));

    // The default value goes alone; its key and the key's other values stay.
    Key.SetString(L"Default", L"", L"C:\\gone.exe");
    Key.SetString(L"Default", L"other", L"kept");
    EXPECT_EQ(RemoveRegistryFinding(ValueFinding(L"Default", L"")), TRegistryRemoval::Removed);
    EXPECT_TRUE(Key.KeyExists(L"Default"));
    EXPECT_EQ(Key.ValueNames(L"Default"), std::vector<String>{L"other"});
    EXPECT_EQ(RemoveRegistryFinding(ValueFinding(L"Default", L"")), TRegistryRemoval::Gone);
    EXPECT_TRUE(Key.KeyExists(L"Default"));

    EXPECT_EQ(RemoveRegistryFinding(ValueFinding(L"NoSuchKey", L"v")), TRegistryRemoval::Gone);
}

TEST_F(RegistryScan, ClassRemovalTakesTheClassKeyOnly) {
    Key.SetString(L"CLSID\\{A}\\InprocServer32", L"", L"C:\\gone.dll");
    Key.SetString(L"CLSID\\{B}\\InprocServer32", L"", L"C:\\kept.dll");
    TRegistryFinding F;
    F.Kind = TRegistryFindingKind::ClassKey;
    F.KeyPath = Key.Sub(L"CLSID");
    F.Name = L"{A}";
    EXPECT_EQ(RemoveRegistryFinding(F), TRegistryRemoval::Removed);
    EXPECT_FALSE(Key.KeyExists(L"CLSID\\{A}"));
    EXPECT_TRUE(Key.KeyExists(L"CLSID\\{B}\\InprocServer32"));
    EXPECT_EQ(RemoveRegistryFinding(F), TRegistryRemoval::Gone);

    // No name, or a path for a name, would reach the holding key or beyond it.
    for (const wchar_t* Name : {L"", L"{B}\\InprocServer32"}) {
        F.Name = Name;
        EXPECT_EQ(RemoveRegistryFinding(F), TRegistryRemoval::Failed) << ToUtf8(Name);
    }
    EXPECT_TRUE(Key.KeyExists(L"CLSID\\{B}\\InprocServer32"));
}

} // namespace

#include "main/StartupManager.h"

#include "app/QRVUtils.h"
#include "tests/main/FeatureTestSupport.h"
#include "tests/main/RegistryTestSupport.h"

#include <gtest/gtest.h>

namespace {

const char* const Messages = "S_Log_StartUpManagerAddItem=Added %s\r\n"
                             "S_Log_StartUpManagerEditItem=Changed %s\r\n"
                             "S_Log_StartUpManagerDeleteItem=Deleted %s\r\n"
                             "DeleteStartupConfirm=Delete it?\r\n";

const wchar_t RunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

String ThisProgram() {
    wchar_t Path[MAX_PATH];
    GetModuleFileNameW(nullptr, Path, MAX_PATH);
    return Path;
}

class StartupManager : public ::testing::Test {
protected:
    TTestRegistry Registry{L"Startup"};
    TTempFolder Folders;
    TFeatureTestContext Test{Messages};

    StartupManager() {
        Folders.AddFolder(L"Common");
        Folders.AddFolder(L"User");
        Test.Prompt.Answer = IPrompt::ResultYes;
    }

    TStartupEnvironment Environment() const {
        TStartupEnvironment Env;
        Env.CurrentUser = Registry.Root(L"HKCU");
        Env.LocalMachine = Registry.Root(L"HKLM");
        Env.CommonStartup = Folders.Path() + L"Common";
        Env.UserStartup = Folders.Path() + L"User";
        return Env;
    }

    static const TStartupEntry* Find(const TStartupManager& Manager, const String& Name) {
        for (const TStartupEntry& Entry : Manager.Entries())
            if (Entry.Name == Name)
                return &Entry;
        return nullptr;
    }
};

TEST(StartupCommandSplit, SplitsTargetAndArguments) {
    struct {
        const wchar_t* Line;
        TShortcutCommand Expected;
    } const Cases[] = {
        {L"C:\\Tools\\app.exe", {L"C:\\Tools\\app.exe", L""}},
        {L"C:\\Tools\\app.exe /min", {L"C:\\Tools\\app.exe /min", L""}},
        {L"\"C:\\Program Files\\app.exe\" /min", {L"C:\\Program Files\\app.exe", L"/min"}},
        {L"\"C:\\Program Files\\app.exe\"", {L"C:\\Program Files\\app.exe", L""}},
        {L"\"C:\\a.exe\"/min", {L"C:\\a.exe", L"/min"}},
        {L"C:\\a.exe \"C:\\My Files\\b.txt\"", {L"C:\\a.exe", L"\"C:\\My Files\\b.txt\""}},
        {L"\"C:\\Program Files\\app.exe /min", {L"C:\\Program Files\\app.exe /min", L""}},
        {L"\"", {L"", L""}},
        {L"", {L"", L""}},
    };
    for (const auto& Case : Cases) {
        const TShortcutCommand Split = SplitShortcutCommand(Case.Line);
        EXPECT_EQ(Split.Target, Case.Expected.Target) << ToUtf8(Case.Line);
        EXPECT_EQ(Split.Arguments, Case.Expected.Arguments) << ToUtf8(Case.Line);
    }
}

TEST(StartupCommandSplit, NamesThatCouldLeaveTheirPlaceAreRefused) {
    for (const wchar_t* Name : {L"", L"  ", L"..\\evil", L"a/b", L"C:x", L"up..", L"x\\y"})
        EXPECT_FALSE(ValidStartupName(Name)) << ToUtf8(Name);
    for (const wchar_t* Name : {L"Tray helper", L"app.v2", L"Übersicht"})
        EXPECT_TRUE(ValidStartupName(Name)) << ToUtf8(Name);
}

TEST_F(StartupManager, EntriesRoundTripInAllFourPlaces) {
    const String Program = ThisProgram();
    const String Command = L"\"" + Program + L"\" /min";
    TStartupManager Manager(Environment(), Test.Context);
    for (int Location = slCurrentUserRun; Location <= slUserStartup; ++Location)
        ASSERT_TRUE(Manager.Add(L"Entry" + IntToStr(Location), Command,
                                static_cast<TStartupLocation>(Location)));

    TStartupManager Listed(Environment(), Test.Context);
    Listed.Refresh();
    ASSERT_EQ(Listed.Entries().size(), 4u);
    const String Texts[] = {
        L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
        L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
        Folders.Path() + L"Common", Folders.Path() + L"User"};
    for (int Location = slCurrentUserRun; Location <= slUserStartup; ++Location) {
        const TStartupEntry& Entry = Listed.Entries()[Location];
        EXPECT_EQ(Entry.Name, L"Entry" + IntToStr(Location));
        EXPECT_EQ(Entry.Location, Location);
        EXPECT_EQ(Entry.CommandLine, Command);
        EXPECT_EQ(Entry.LocationText, Texts[Location]);
        EXPECT_EQ(Entry.ImageIndex, 4);
    }
    EXPECT_EQ(Registry.Value(L"HKLM\\" + String(RunKey), L"Entry1"), L"sz:" + Command);
    EXPECT_EQ(GetShortcutTarget(Folders.Path() + L"User\\Entry3.lnk"), Program);

    for (std::size_t I = 0; I < 4; ++I)
        ASSERT_TRUE(Listed.Edit(I, L"\"" + Program + L"\" /max"));
    Listed.Refresh();
    for (const TStartupEntry& Entry : Listed.Entries())
        EXPECT_EQ(Entry.CommandLine, L"\"" + Program + L"\" /max") << ToUtf8(Entry.Name);

    while (!Listed.Entries().empty())
        ASSERT_TRUE(Listed.Delete(0));
    Listed.Refresh();
    EXPECT_TRUE(Listed.Entries().empty());
    EXPECT_FALSE(PathPresent(Folders.Path() + L"Common\\Entry2.lnk"));
    EXPECT_EQ(Test.LogLines().size(), 12u);
    EXPECT_EQ(Test.LogLines()[0], L"Added Entry0");
    EXPECT_EQ(Test.LogLines()[4], L"Changed Entry0");
    EXPECT_EQ(Test.LogLines()[11], L"Deleted Entry3");
    EXPECT_EQ(Test.Asked(), std::vector<String>(4, L"Delete it?"));
}

TEST_F(StartupManager, AMissingProgramShowsImageFive) {
    Registry.SetString(L"HKCU\\" + String(RunKey), L"Gone",
                       L"\"" + Folders.Path() + L"removed.exe\" /tray");
    Registry.SetString(L"HKCU\\" + String(RunKey), L"Here", ThisProgram());
    Registry.SetBinary(L"HKCU\\" + String(RunKey), L"Odd", "\x01\x02");
    TStartupManager Manager(Environment(), Test.Context);
    Manager.Refresh();
    ASSERT_EQ(Manager.Entries().size(), 2u);
    EXPECT_EQ(Find(Manager, L"Gone")->ImageIndex, 5);
    EXPECT_EQ(Find(Manager, L"Here")->ImageIndex, 4);
}

TEST_F(StartupManager, ACommandWithVariablesStaysExpandableWhenEdited) {
    const String Key = L"HKCU\\" + String(RunKey);
    Registry.SetExpandString(Key, L"Editor", L"%WINDIR%\\notepad.exe");
    TStartupManager Manager(Environment(), Test.Context);
    Manager.Refresh();
    ASSERT_EQ(Manager.Entries().size(), 1u);
    EXPECT_EQ(Manager.Entries()[0].CommandLine, L"%WINDIR%\\notepad.exe");
    EXPECT_EQ(Manager.Entries()[0].ImageIndex, 4);
    ASSERT_TRUE(Manager.Edit(0, L"%WINDIR%\\notepad.exe /p"));
    EXPECT_EQ(Registry.Value(Key, L"Editor"), L"expand:%WINDIR%\\notepad.exe /p");
}

TEST_F(StartupManager, AQuotedProgramWithArgumentsBecomesAShortcutWithArguments) {
    TStartupManager Manager(Environment(), Test.Context);
    const String Program = ThisProgram();
    ASSERT_TRUE(Manager.Add(L"Quoted", L"\"" + Program + L"\" /min", slUserStartup));
    ASSERT_TRUE(Manager.Add(L"Plain", Program + L" -min", slUserStartup));
    EXPECT_EQ(GetShortcutTarget(Folders.Path() + L"User\\Quoted.lnk"), Program);
    EXPECT_EQ(GetShortcutCommand(Folders.Path() + L"User\\Quoted.lnk"),
              L"\"" + Program + L"\" /min");
    // Without quotes the whole line is the target.
    EXPECT_EQ(GetShortcutTarget(Folders.Path() + L"User\\Plain.lnk"), Program + L" -min");
}

TEST_F(StartupManager, RefusedNamesAndFailedWritesAddNothing) {
    TStartupEnvironment Env = Environment();
    Env.CommonStartup = Folders.Path() + L"Missing";
    Env.LocalMachine.Key = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x0dead0));
    TStartupManager Manager(Env, Test.Context);
    EXPECT_FALSE(Manager.Add(L"..\\Outside", ThisProgram(), slUserStartup));
    EXPECT_FALSE(Manager.Add(L"", ThisProgram(), slCurrentUserRun));
    EXPECT_FALSE(Manager.Add(L"Broken", ThisProgram(), slCommonStartup));
    EXPECT_FALSE(Manager.Add(L"Broken", ThisProgram(), slLocalMachineRun));
    EXPECT_TRUE(Manager.Entries().empty());
    EXPECT_TRUE(Test.LogLines().empty());
    EXPECT_FALSE(PathPresent(Folders.Path() + L"Outside.lnk"));
    EXPECT_TRUE(Registry.Dump().empty());
}

TEST_F(StartupManager, DeletingAShortcutThatIsAlreadyGoneRemovesTheEntry) {
    TStartupManager Manager(Environment(), Test.Context);
    ASSERT_TRUE(Manager.Add(L"Vanishing", ThisProgram(), slCommonStartup));
    DeleteFileW((Folders.Path() + L"Common\\Vanishing.lnk").c_str());
    EXPECT_TRUE(Manager.Delete(0));
    EXPECT_TRUE(Manager.Entries().empty());
    EXPECT_EQ(Test.LogLines().back(), L"Deleted Vanishing");
}

TEST_F(StartupManager, NoToTheQuestionDeletesNothing) {
    TStartupManager Manager(Environment(), Test.Context);
    ASSERT_TRUE(Manager.Add(L"Kept", ThisProgram(), slCurrentUserRun));
    Test.Prompt.Answer = IPrompt::ResultOk;
    EXPECT_FALSE(Manager.Delete(0));
    EXPECT_EQ(Manager.Entries().size(), 1u);
    EXPECT_EQ(Registry.Value(L"HKCU\\" + String(RunKey), L"Kept"), L"sz:" + ThisProgram());
}

} // namespace

#include "main/AddRemovePrograms.h"

#include "tests/main/FeatureTestSupport.h"
#include "tests/main/RegistryTestSupport.h"

#include <gtest/gtest.h>

namespace {

const char* const Messages = "UninstallConfirm=Uninstall %s?\r\n"
                             "DeleteUninstallConfirm=Forget %s?\r\n"
                             "sUninstallInvalidInfo=Cannot uninstall\r\n"
                             "sUninstallPath=Command:\r\n"
                             "S_Log_AddRemoveUninstallItem=Uninstalled %s\r\n"
                             "S_Log_AddRemoveDeleteItem=Forgot %s\r\n";

const wchar_t Uninstall[] = L"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class AddRemovePrograms : public ::testing::Test {
protected:
    TTestRegistry Registry{L"Uninstall"};
    TTempFolder Files;
    TFeatureTestContext Test{Messages};

    AddRemovePrograms() { Test.Prompt.Answer = IPrompt::ResultYes; }

    void AddProgram(const String& Key, const String& Name, const String& Command) const {
        Registry.MakeKey(Uninstall + Key);
        if (!Name.empty())
            Registry.SetString(Uninstall + Key, L"DisplayName", Name);
        if (!Command.empty())
            Registry.SetString(Uninstall + Key, L"UninstallString", Command);
    }

    TUninstallEnvironment Environment() const {
        TUninstallEnvironment Env;
        Env.Machine = Registry.Root(L"HKLM");
        return Env;
    }

    std::vector<String> Names(const TAddRemovePrograms& List) const {
        std::vector<String> Result;
        for (const auto& Program : List.Programs())
            Result.push_back(Program->KeyName + L"=" + IntToStr(Program->ImageIndex));
        return Result;
    }
};

TEST_F(AddRemovePrograms, ListsSubKeysWithBothValues) {
    const String Missing = L"\"" + Files.Path() + L"gone\\uninst.exe\" /S";
    AddProgram(L"A", L"Alpha", L"cmd /c exit 0");
    AddProgram(L"B", L"Update for Alpha", L"");
    AddProgram(L"C", L"", L"cmd /c exit 0");
    AddProgram(L"D", L"Delta", Missing);
    Registry.SetInteger(String(Uninstall) + L"E", L"DisplayName", 5);
    Registry.SetString(String(Uninstall) + L"E", L"UninstallString", L"cmd");
    TAddRemovePrograms List(Environment(), Test.Context);
    List.Refresh();
    EXPECT_EQ(Names(List), (std::vector<String>{L"A=4", L"D=5"}));
    EXPECT_EQ(List.Programs()[1]->DisplayName, L"Delta");
    EXPECT_EQ(List.Programs()[1]->UninstallString, Missing);
    EXPECT_EQ(List.PropertiesText(1), L"Delta\r\n\r\nCommand: " + Missing);
}

TEST_F(AddRemovePrograms, AMissingUninstallerCannotRunAndItsEntryCanBeDeleted) {
    AddProgram(L"Left", L"Left over", L"\"" + Files.Path() + L"gone\\uninst.exe\" /S");
    TAddRemovePrograms List(Environment(), Test.Context);
    List.Refresh();
    EXPECT_EQ(List.Uninstall(0), uoInvalid);
    ASSERT_EQ(Test.Prompt.Asked.size(), 1u);
    EXPECT_EQ(Test.Prompt.Asked[0].Text, L"Cannot uninstall");
    EXPECT_EQ(Test.Prompt.Asked[0].Icon, IPrompt::IconInformation);
    EXPECT_EQ(Test.Prompt.Asked[0].Buttons, IPrompt::ButtonsOk);

    EXPECT_TRUE(List.Delete(0));
    EXPECT_EQ(Test.Asked().back(), L"Forget Left over?");
    EXPECT_FALSE(Registry.KeyExists(String(Uninstall) + L"Left"));
    EXPECT_TRUE(List.Programs().empty());
    EXPECT_EQ(Test.LogLines(), std::vector<String>{L"Forgot Left over"});
}

// Only the uninstaller's own path tells whether the entry is left over: paths and lists in its
// arguments neither hide a missing uninstaller nor make a present one look gone.
TEST_F(AddRemovePrograms, ArgumentsHoldingPathsDoNotDecideWhetherTheEntryIsLeftOver) {
    const String Gone = Files.Path() + L"gone\\un.exe";
    const String Present = Files.AddFile(L"App\\un.exe", "MZ");
    const struct {
        const wchar_t* Key;
        String Command;
        bool Deletable;
    } Cases[] = {
        {L"A", L"\"" + Gone + L"\" /log=\"C:\\logs\\u.txt\"", true},
        {L"B", Gone + L" /log=C:\\logs\\u.txt", true},
        {L"C", L"\"" + Gone + L"\" /dirs=C:\\a;C:\\b", true},
        {L"D", L"\"" + Gone + L"\" /log=\"C:\\logs\\u,1.txt\"", true},
        {L"E", L"\"" + Present + L"\" /log=\"C:\\logs\\u.txt\"", false},
        {L"F", Present + L" /log=C:\\logs\\u.txt", false},
        {L"G", L"rundll32 " + Gone, false},
    };
    for (const auto& Case : Cases)
        AddProgram(Case.Key, String(L"Program ") + Case.Key, Case.Command);
    TAddRemovePrograms List(Environment(), Test.Context);
    List.Refresh();
    ASSERT_EQ(List.Programs().size(), std::size(Cases));
    for (std::size_t I = 0; I < std::size(Cases); ++I)
        EXPECT_EQ(List.CanDelete(I), Cases[I].Deletable) << Cases[I].Command;

    std::vector<String> Kept;
    for (std::size_t I = 0; I < List.Programs().size();) {
        if (!List.Delete(I))
            Kept.push_back(List.Programs()[I++]->KeyName);
    }
    EXPECT_EQ(Kept, (std::vector<String>{L"E", L"F", L"G"}));
    EXPECT_EQ(Test.LogLines().size(), 4u);
}

TEST_F(AddRemovePrograms, AnEntryWhoseUninstallerIsPresentIsNeverDeleted) {
    // A file that exists but cannot be started (a document, or a program that needs
    // elevation) still belongs to an installed program.
    const String Document = Files.AddFile(L"readme.txt", "text");
    AddProgram(L"Doc", L"Documented", Document);
    AddProgram(L"Runs", L"Runnable", L"cmd /c exit 0");
    TAddRemovePrograms List(Environment(), Test.Context);
    List.Refresh();
    ASSERT_EQ(Names(List), (std::vector<String>{L"Doc=5", L"Runs=4"}));
    for (std::size_t I = 0; I < 2; ++I) {
        EXPECT_FALSE(List.CanDelete(I));
        EXPECT_FALSE(List.Delete(I));
    }
    EXPECT_TRUE(Test.Asked().empty());
    EXPECT_TRUE(Registry.KeyExists(String(Uninstall) + L"Doc"));
    EXPECT_TRUE(Registry.KeyExists(String(Uninstall) + L"Runs"));
}

TEST_F(AddRemovePrograms, TheEntryGoesOnlyWhenTheUninstallerRemovesIt) {
    // Helper programs as uninstallers: one ends with 0 and leaves its key, one deletes it.
    AddProgram(L"Stays", L"Stubborn", L"cmd /c exit 0");
    AddProgram(L"Self", L"Tidy",
               L"reg delete \"HKCU\\" + Registry.Path(String(Uninstall) + L"Self") + L"\" /f");
    TAddRemovePrograms List(Environment(), Test.Context);
    List.Refresh();
    ASSERT_EQ(Names(List), (std::vector<String>{L"Self=4", L"Stays=4"}));

    EXPECT_EQ(List.Uninstall(1), uoEntryKept);
    EXPECT_TRUE(Registry.KeyExists(String(Uninstall) + L"Stays"));
    EXPECT_TRUE(Test.LogLines().empty());

    EXPECT_EQ(List.Uninstall(0), uoEntryGone);
    EXPECT_FALSE(Registry.KeyExists(String(Uninstall) + L"Self"));
    EXPECT_EQ(Names(List), (std::vector<String>{L"Stays=4"}));
    EXPECT_EQ(Test.LogLines(), std::vector<String>{L"Uninstalled Tidy"});
    EXPECT_EQ(Test.Asked(), (std::vector<String>{L"Uninstall Stubborn?", L"Uninstall Tidy?"}));
}

TEST_F(AddRemovePrograms, NoToTheQuestionRunsNothing) {
    AddProgram(L"A", L"Alpha", L"cmd /c exit 0");
    TUninstallEnvironment Env = Environment();
    int Runs = 0;
    Env.RunAndWait = [&](const String&) {
        ++Runs;
        return std::int64_t{0};
    };
    TAddRemovePrograms List(Env, Test.Context);
    List.Refresh();
    Test.Prompt.Answer = IPrompt::ResultOk;
    EXPECT_EQ(List.Uninstall(0), uoNothing);
    EXPECT_EQ(Runs, 0);
    EXPECT_EQ(List.Uninstall(7), uoNothing);
}

} // namespace

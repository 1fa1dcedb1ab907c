#include "app/QRVUtils.h"

#include "app/FileInfo.h"
#include "tests/app/QRVUtilsTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include "classlib/rtl/WinApi.h"
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace {

class QRVUtilsShortcut : public ::testing::Test {
protected:
    void SetUp() override {
        Tree.AddFile(L"App\\app.exe", "MZ");
        Tree.AddFile(L"Other\\other.exe", "MZ");
        App = Tree.Path() + L"App\\app.exe";
        Other = Tree.Path() + L"Other\\other.exe";
    }

    // A link written here directly, with a description and a working folder.
    void WriteFullLink(const String& LinkPath, const String& Target, const String& Arguments) {
        ComPtr<IShellLinkW> Link;
        ASSERT_HRESULT_SUCCEEDED(
            CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&Link)));
        Link->SetPath(Target.c_str());
        Link->SetArguments(Arguments.c_str());
        Link->SetDescription(L"Described");
        Link->SetWorkingDirectory(Tree.Path().c_str());
        ComPtr<IPersistFile> File;
        ASSERT_HRESULT_SUCCEEDED(Link.As(&File));
        ASSERT_HRESULT_SUCCEEDED(File->Save(LinkPath.c_str(), TRUE));
    }

    struct TLinkFacts {
        String Description;
        String WorkingDirectory;
    };
    static TLinkFacts ReadFacts(const String& LinkPath) {
        TLinkFacts Facts;
        ComPtr<IShellLinkW> Link;
        ComPtr<IPersistFile> File;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&Link))) ||
            FAILED(Link.As(&File)) || FAILED(File->Load(LinkPath.c_str(), STGM_READ)))
            return Facts;
        wchar_t Text[1024] = {};
        Link->GetDescription(Text, 1024);
        Facts.Description = Text;
        Text[0] = 0;
        Link->GetWorkingDirectory(Text, 1024);
        Facts.WorkingDirectory = Text;
        return Facts;
    }

    TOleSession Ole;
    TTempFolder Tree;
    String App;
    String Other;
};

TEST_F(QRVUtilsShortcut, RoundTripThroughSetAndGet) {
    const String Link = Tree.Path() + L"App.lnk";
    ASSERT_TRUE(SetShortcutTarget(Link, App, L"-a -b"));
    EXPECT_EQ(GetShortcutTarget(Link), App);
    // Arguments as stored: splitting the command again gives them back unchanged.
    EXPECT_EQ(GetShortcutCommand(Link), L"\"" + App + L"\" -a -b");

    ASSERT_TRUE(SetShortcutTarget(Link, App, L"\"my file.txt\" /x"));
    EXPECT_EQ(GetShortcutCommand(Link), L"\"" + App + L"\" \"my file.txt\" /x");

    ASSERT_TRUE(SetShortcutTarget(Link, App, L""));
    EXPECT_EQ(GetShortcutCommand(Link), L"\"" + App + L"\"");
}

TEST_F(QRVUtilsShortcut, EditKeepsTheLinksOtherProperties) {
    const String Link = Tree.Path() + L"Full.lnk";
    WriteFullLink(Link, App, L"-old");
    ASSERT_TRUE(SetShortcutTarget(Link, Other, L"-new"));
    EXPECT_EQ(GetShortcutTarget(Link), Other);
    EXPECT_EQ(GetShortcutCommand(Link), L"\"" + Other + L"\" -new");
    const TLinkFacts Facts = ReadFacts(Link);
    EXPECT_EQ(Facts.Description, L"Described");
    EXPECT_EQ(IncludeTrailingBackslash(Facts.WorkingDirectory), Tree.Path());
}

TEST_F(QRVUtilsShortcut, UnreadableLinkGivesNothingOfAnEarlierOne) {
    const String Good = Tree.Path() + L"Good.lnk";
    WriteFullLink(Good, App, L"-min");
    Tree.AddFile(L"Garbage.lnk", "this is not a shell link at all");
    const String Garbage = Tree.Path() + L"Garbage.lnk";
    const String Missing = Tree.Path() + L"Missing.lnk";

    ASSERT_EQ(GetShortcutTarget(Good), App);
    EXPECT_EQ(GetShortcutTarget(Missing), L"");
    ASSERT_EQ(GetShortcutCommand(Good), L"\"" + App + L"\" -min");
    EXPECT_EQ(GetShortcutCommand(Garbage), L"");
    EXPECT_EQ(GetShortcutTarget(Garbage), L"");

    // A new link starts empty, not from the link read before.
    ASSERT_EQ(GetShortcutTarget(Good), App);
    const String Fresh = Tree.Path() + L"Fresh.lnk";
    ASSERT_TRUE(SetShortcutTarget(Fresh, Other, L""));
    EXPECT_EQ(GetShortcutCommand(Fresh), L"\"" + Other + L"\"");
    EXPECT_EQ(ReadFacts(Fresh).Description, L"");

    // An unreadable file is replaced by a proper link.
    ASSERT_TRUE(SetShortcutTarget(Garbage, Other, L"-x"));
    EXPECT_EQ(GetShortcutCommand(Garbage), L"\"" + Other + L"\" -x");
}

} // namespace

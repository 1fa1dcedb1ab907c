#include "main/Backup.h"

#include "tests/main/FileFeatureSupport.h"
#include "tests/support/PathFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using Keys = std::vector<String>;

class BackupTest : public ::testing::Test {
protected:
    TFeatureFixture F;
    TBackup Backup{F.Context};
    TScanResults Results;
    String Src() const { return F.Fx.App.Path() + L"src\\"; }
};

TEST_F(BackupTest, TheListHoldsEachSubFolderAfterItsContents) {
    const String A = F.Fx.App.AddFile(L"src\\docs\\a.txt", "a");
    const String B = F.Fx.App.AddFile(L"src\\docs\\sub\\b.txt", "b");
    const String Single = F.Fx.App.AddFile(L"src\\single.txt", "s");
    Backup.Selection = {{Src() + L"docs", true}, {Single, false}};
    const std::vector<String> List = Backup.BuildBackupFileList(Results);
    const std::vector<String> Expected{A, Src() + L"docs\\sub\\b.txt", Src() + L"docs\\sub",
                                       Single};
    ASSERT_EQ(List.size(), 4u);
    // The walk may list a folder's entries in any order; the sub-folder follows its file.
    EXPECT_NE(std::find(List.begin(), List.end(), A), List.end());
    const auto SubFile = std::find(List.begin(), List.end(), B);
    const auto SubFolder = std::find(List.begin(), List.end(), Src() + L"docs\\sub");
    ASSERT_NE(SubFolder, List.end());
    EXPECT_LT(SubFile, SubFolder);
    EXPECT_EQ(List.back(), Single);

    AddResult(Results, A, false);
    AddResult(Results, Single, true);
    Backup.BackupFromResults = true;
    EXPECT_EQ(Backup.BuildBackupFileList(Results), std::vector<String>{Single});
    EXPECT_EQ(Backup.SuggestedArchiveName(Results), ExtractFileDrive(Single) + L"\\single.zip");
}

TEST(BackupNamesTest, SuggestedAndRemoteNames) {
    EXPECT_EQ(SuggestedArchiveName(L"D:\\Docs", true), L"D:\\Docs.zip");
    EXPECT_EQ(SuggestedArchiveName(L"E:\\work\\report.doc", false), L"E:\\report.zip");
    EXPECT_EQ(SuggestedArchiveName(L"", false), L"");
    const TDateTime At = EncodeDate(2024, 1, 1) + EncodeTime(9, 5, 7, 89);
    const struct {
        const wchar_t* Edit;
        const wchar_t* Name;
    } Cases[] = {{L"", L"95789.zip"},
                 {L"weekly", L"weekly.zip"},
                 {L"weekly.7z", L"weekly.7z"},
                 {L"..\\..\\evil.zip", L"evil.zip"},
                 {L"C:\\Windows\\x.zip", L"x.zip"},
                 {L"dir/y.zip", L"y.zip"}};
    for (const auto& Case : Cases)
        EXPECT_EQ(RemoteArchiveName(Case.Edit, At), Case.Name) << ToUtf8(Case.Edit);
}

TEST_F(BackupTest, ALocalBackupIsRecordedAndRestoredInPlace) {
    const String A = F.Fx.App.AddFile(L"src\\a.txt", "alpha");
    Backup.Selection = {{Src(), true}};
    const String Archive = F.Fx.App.Path() + L"out\\backup.zip";
    F.Fx.App.AddFolder(L"out");
    EXPECT_FALSE(Backup.LocalBackup(Results, L"", L"", 7)) << "no name, nothing happens";
    EXPECT_TRUE(F.Prompt.Asked.empty());

    ASSERT_TRUE(Backup.LocalBackup(Results, Archive, L"", 7));
    EXPECT_EQ(F.ShownKeys(), Keys{L"BackupOK"});
    EXPECT_EQ(F.Prompt.Asked[0].Icon, IPrompt::IconInformation) << "success is no warning";
    EXPECT_FALSE(F.Progress.Running);
    const std::vector<TBackupRecord> Records = Backup.LocalBackups();
    ASSERT_EQ(Records.size(), 1u);
    EXPECT_EQ(Records[0].FileName, Archive);
    EXPECT_DOUBLE_EQ(Records[0].Date, EncodeDate(2024, 5, 17)) << "the date without the time";

    WriteBytes(A, "changed");
    F.Prompt.Answers = {IPrompt::ResultYes};
    EXPECT_TRUE(Backup.RestoreLocal(Records[0]));
    EXPECT_EQ(ReadBytes(A), "alpha");
    ASSERT_EQ(F.Prompt.Asked.size(), 3u);
    EXPECT_EQ(F.Prompt.Asked[1].Buttons, IPrompt::ButtonsYesYesToAllNoNoToAllCancel);
    EXPECT_EQ(F.Prompt.Asked[2].Text, L"sBackupRestoreOK");

    EXPECT_TRUE(Backup.ForgetLocal(Records[0]));
    EXPECT_TRUE(Backup.LocalBackups().empty());
    EXPECT_TRUE(PathPresent(Archive)) << "forgetting keeps the archive";
}

// A backup of nothing says why, in its own words, and writes neither archive nor record.
TEST_F(BackupTest, NothingToBackUpSaysSo) {
    F.Fx.App.AddFolder(L"src\\empty\\deeper");
    const String Archive = F.Fx.App.Path() + L"nothing.zip";
    const struct {
        const char* What;
        std::vector<TBackupSource> Selection;
    } Cases[] = {
        {"no selection", {}},
        {"folders without files", {{Src() + L"empty", true}}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.What);
        F.Prompt.Asked.clear();
        Backup.Selection = Case.Selection;
        EXPECT_FALSE(Backup.LocalBackup(Results, Archive, L"", 9));
        TFtpTarget Target{L"127.0.0.1", L"1", L"u", L"p", L""};
        EXPECT_FALSE(Backup.RemoteBackup(Results, L"S", Target, L"x.zip", L"", 9));
        EXPECT_EQ(F.ShownKeys(), (Keys{L"sNoFilesToBackup", L"sNoFilesToBackup"}));
        EXPECT_FALSE(F.Progress.Running);
        EXPECT_FALSE(PathPresent(Archive));
        EXPECT_TRUE(Backup.LocalBackups().empty());
        EXPECT_TRUE(Backup.FtpBackups().empty());
    }
}

TEST_F(BackupTest, AConnectionWithNothingFilledInIsNotSaved) {
    EXPECT_FALSE(Backup.SaveConnection({L"", {L"", L"21", L"", L"", L""}}));
    EXPECT_FALSE(Backup.SaveConnection({L"  ", {L" ", L"", L"", L"", L""}}));
    EXPECT_EQ(F.ShownKeys(), (Keys{L"sFTPConnectionEmpty", L"sFTPConnectionEmpty"}));
    EXPECT_TRUE(Backup.Connections().empty());
    EXPECT_TRUE(Backup.SaveConnection({L"", {L"host", L"21", L"", L"", L""}}));
    EXPECT_EQ(Backup.Connections().size(), 1u);
}

TEST_F(BackupTest, ACancelledBackupSaysSoAndTheNextOneRecords) {
    F.Fx.App.AddFile(L"src\\big.bin", std::string(3000000, 'x'));
    Backup.Selection = {{Src(), true}};
    const String Archive = F.Fx.App.Path() + L"backup.zip";
    F.Progress.CancelAtPump = 4;
    EXPECT_FALSE(Backup.LocalBackup(Results, Archive, L"", 9));
    EXPECT_EQ(F.ShownKeys(), Keys{L"sBackupCancelled"});
    EXPECT_FALSE(PathPresent(Archive));
    EXPECT_TRUE(Backup.LocalBackups().empty());

    F.Progress.CancelAtPump = 0;
    EXPECT_TRUE(Backup.LocalBackup(Results, Archive, L"", 9));
    EXPECT_EQ(Backup.LocalBackups().size(), 1u);
}

// The backup's own rule: a Cancel seen at any point before the record is written is a cancel,
// the library's last progress report included.
TEST_F(BackupTest, ACancelAtAnyPumpBeforeTheRecordLeavesNoRecordAndNoArchive) {
    F.Fx.App.AddFile(L"src\\a.txt", "alpha");
    F.Fx.App.AddFile(L"src\\b.bin", std::string(100000, 'b'));
    Backup.Selection = {{Src(), true}};
    const String Archive = F.Fx.App.Path() + L"backup.zip";
    ASSERT_TRUE(Backup.LocalBackup(Results, Archive, L"", 9));
    const int Pumps = F.Progress.Pumps;
    ASSERT_GT(Pumps, 0);
    ASSERT_LT(Pumps, 200) << "a small backup pumps a few times";
    ASSERT_TRUE(DeleteFileW(Archive.c_str()));
    for (int At = 1; At <= Pumps; ++At) {
        SCOPED_TRACE(At);
        F.Prompt.Asked.clear();
        F.Progress.CancelAtPump = At;
        EXPECT_FALSE(Backup.LocalBackup(Results, Archive, L"", 9));
        EXPECT_EQ(F.ShownKeys(), Keys{L"sBackupCancelled"});
        EXPECT_FALSE(PathPresent(Archive));
        EXPECT_EQ(Backup.LocalBackups().size(), 1u);
    }
}

TEST_F(BackupTest, ARestoreThatRefusesLinesOrIsCancelledIsNotReportedAsDone) {
    const String A = F.Fx.App.AddFile(L"src\\a.txt", "alpha");
    Backup.Selection = {{A, false}};
    const String Archive = F.Fx.App.Path() + L"backup.zip";
    ASSERT_TRUE(Backup.LocalBackup(Results, Archive, L"", 7));
    WriteBytes(A, "changed");
    F.Prompt.Asked.clear();
    F.Prompt.Answers = {IPrompt::ResultCancel};
    EXPECT_FALSE(Backup.RestoreLocal(Backup.LocalBackups()[0]));
    EXPECT_EQ(F.ShownKeys(), (Keys{L"OverwriteFileConfirm", L"sBackupRestoreCancelled"}));
    EXPECT_EQ(ReadBytes(A), "changed");

    F.Prompt.Asked.clear();
    TBackupRecord Missing;
    Missing.FileName = F.Fx.App.Path() + L"nothing.zip";
    EXPECT_FALSE(Backup.RestoreLocal(Missing));
    EXPECT_EQ(F.ShownKeys(), Keys{L"sBackupRestoreFailed"});
}

TEST_F(BackupTest, ConnectionsMatchNamesExactlyWhenSavedAndIgnoreCaseWhenRemoved) {
    Backup.SaveConnection({L"Home", {L"host1", L"21", L"u", L"p", L"/"}});
    Backup.SaveConnection({L"Home", {L"host2", L"2121", L"u2", L"p2", L"/b"}});
    Backup.SaveConnection({L"HOME", {L"host3", L"", L"u3", L"p3", L""}});
    std::vector<TFtpConnection> List = Backup.Connections();
    ASSERT_EQ(List.size(), 2u);
    EXPECT_EQ(List[0].Target.Host, L"host2");
    EXPECT_EQ(List[0].Target.Port, L"2121");
    EXPECT_EQ(List[1].Session, L"HOME");
    EXPECT_EQ(Backup.RemoveConnection(L"home"), 2);
    EXPECT_TRUE(Backup.Connections().empty());
}

// ------------------------------------------------------------------- FTP

// The test runner's FTP peer: "127.0.0.1:port|root folder".
struct TFtpPeer {
    String Host, Port, Root;
    bool Present = false;
    TFtpPeer() {
        const char* Value = std::getenv("QRV_FTP_PEER");
        if (!Value)
            return;
        const String Text = FromUtf8(Value);
        const size_t Colon = Text.find(L':'), Bar = Text.find(L'|');
        if (Colon == String::npos || Bar == String::npos)
            return;
        Host = Text.substr(0, Colon);
        Port = Text.substr(Colon + 1, Bar - Colon - 1);
        Root = IncludeTrailingBackslash(Text.substr(Bar + 1));
        Present = true;
    }
    TFtpTarget As(const String& User, const String& Dir = L"") const {
        return {Host, Port, User, User, Dir};
    }
};

class FtpBackupTest : public BackupTest {
protected:
    TFtpPeer Peer;
    String A;
    void SetUp() override {
        if (!Peer.Present)
            GTEST_SKIP() << "no FTP peer (QRV_FTP_PEER); run through scripts/wine-exec.sh";
        A = F.Fx.App.AddFile(L"src\\a.txt", std::string(300000, 'a'));
        Backup.Selection = {{A, false}};
    }
    // A unique archive name per test, since the peer's folder is shared.
    String Name() const {
        return String(L"t-") +
               FromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name()) + L".zip";
    }
};

TEST_F(FtpBackupTest, AnUploadedBackupIsRecordedAndRestoredInPlace) {
    TFtpTarget Target = Peer.As(L"rw");
    ASSERT_TRUE(Backup.RemoteBackup(Results, L"Session", Target, Name(), L"", 9));
    EXPECT_EQ(Target.Dir, L"/");
    EXPECT_EQ(F.ShownKeys(), Keys{L"BackupOK"});
    EXPECT_EQ(ReadBytes(Peer.Root + Name()), ReadBytes(F.Context.WorkFolder + Name()));
    const std::vector<TBackupRecord> Records = Backup.FtpBackups();
    ASSERT_EQ(Records.size(), 1u);
    EXPECT_EQ(Records[0].FileName, Name());
    EXPECT_EQ(Records[0].Session, L"Session");
    EXPECT_EQ(Records[0].Target.Port, Peer.Port);

    DeleteFileW(A.c_str());
    F.Prompt.Asked.clear();
    EXPECT_TRUE(Backup.RestoreFtp(Records[0]));
    EXPECT_EQ(ReadBytes(A), std::string(300000, 'a'));
    EXPECT_EQ(F.ShownKeys(), Keys{L"sBackupRestoreOK"});
}

TEST_F(FtpBackupTest, RefusedUploadsEndWithTheirMessageAndNoRecord) {
    F.Fx.App.AddFile(L"src\\big.bin", std::string(2000000, 'b'));
    Backup.Selection.push_back({F.Fx.App.Path() + L"src\\big.bin", false});
    const struct {
        const wchar_t* User;
        const wchar_t* Password;
        const wchar_t* Dir;
        Keys Shown;
        const wchar_t* Words;
        const wchar_t* Reply; // the start of the server's reason
    } Cases[] = {
        {L"ro", L"ro", L"", {L"FTPAccessDenied", L"BackupFailed"}, L"sFTPTransferFailed", L"550"},
        {L"rw", L"wrong", L"", {L"BackupFailed"}, L"sFTPConnectFailed", L"530"},
        {L"rw", L"rw", L"/missing/folder", {L"BackupFailed"}, L"sFTPConnectFailed", L"550"},
        {L"cut", L"cut", L"", {L"BackupFailed"}, L"sFTPTransferFailed", L""},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(ToUtf8(Case.User) + " " + ToUtf8(Case.Dir));
        F.Prompt.Asked.clear();
        TFtpTarget Target{Peer.Host, Peer.Port, Case.User, Case.Password, Case.Dir};
        EXPECT_FALSE(Backup.RemoteBackup(Results, L"S", Target, Name(), L"", 0));
        EXPECT_EQ(F.ShownKeys(), Case.Shown) << ToUtf8(F.Shown().back());
        // What failed in words, then the server's own reply when it gave one.
        const String Text = F.Shown().back();
        const std::size_t Words = Text.find(Case.Words);
        EXPECT_NE(Words, String::npos) << ToUtf8(Text);
        EXPECT_NE(Text.find(String(L"\r\n") + Case.Reply, Words), String::npos) << ToUtf8(Text);
        EXPECT_TRUE(Backup.FtpBackups().empty());
    }
}

TEST_F(FtpBackupTest, CancelDuringTheUploadAbortsItAndRecordsNothing) {
    F.Fx.App.AddFile(L"src\\big.bin", std::string(20000000, 'c'));
    Backup.Selection.push_back({F.Fx.App.Path() + L"src\\big.bin", false});
    TFtpTarget Target = Peer.As(L"rw");
    int PumpsBeforeUpload = -1;
    F.Progress.OnPump = [&] {
        if (PumpsBeforeUpload < 0 && !F.Progress.Labels.empty() &&
            F.Progress.Labels.back() == L"sUploadingBackupFile")
            PumpsBeforeUpload = F.Progress.Pumps;
        if (PumpsBeforeUpload >= 0 && F.Progress.Pumps == PumpsBeforeUpload + 2)
            F.Progress.PressCancel();
    };
    EXPECT_FALSE(Backup.RemoteBackup(Results, L"S", Target, Name(), L"", 0));
    EXPECT_GE(PumpsBeforeUpload, 0) << "the upload was under way";
    EXPECT_EQ(F.ShownKeys(), Keys{L"sBackupCancelled"});
    EXPECT_TRUE(Backup.FtpBackups().empty());
}

TEST_F(FtpBackupTest, ACancelAtTheUploadsLastReportRecordsNothing) {
    TFtpTarget Target = Peer.As(L"rw");
    F.Progress.OnPump = [&] {
        const bool Sent = F.Progress.Labels.back() == L"sUploadingBackupFile" &&
                          F.Progress.Max > 0 && F.Progress.Positions.back() == F.Progress.Max;
        if (Sent)
            F.Progress.PressCancel();
    };
    EXPECT_FALSE(Backup.RemoteBackup(Results, L"S", Target, Name(), L"", 0));
    EXPECT_EQ(F.ShownKeys(), Keys{L"sBackupCancelled"});
    EXPECT_TRUE(Backup.FtpBackups().empty());
}

TEST_F(FtpBackupTest, ADownloadIntoADeepWorkingFolderRestores) {
    TFtpTarget Target = Peer.As(L"rw");
    ASSERT_TRUE(Backup.RemoteBackup(Results, L"S", Target, Name(), L"", 9));
    const TBackupRecord Record = Backup.FtpBackups()[0];
    for (const size_t Length : {300u, 1000u}) {
        SCOPED_TRACE(Length);
        F.Context.WorkFolder =
            AddDeepFolder(F.Fx.App.Path() + L"W" + IntToStr(int(Length)), Length) + L"\\";
        WriteBytes(A, "changed");
        F.Prompt.Asked.clear();
        F.Prompt.Answer = IPrompt::ResultYesToAll;
        EXPECT_TRUE(Backup.RestoreFtp(Record));
        EXPECT_EQ(ReadBytes(A), std::string(300000, 'a'));
        EXPECT_TRUE(Snapshot(F.Context.WorkFolder).empty()) << "the download goes afterwards";
    }
}

TEST_F(FtpBackupTest, ACutOrMissingDownloadRestoresNothing) {
    TFtpTarget Target = Peer.As(L"rw");
    ASSERT_TRUE(Backup.RemoteBackup(Results, L"S", Target, Name(), L"", 0));
    WriteBytes(A, "changed");
    TBackupRecord Record = Backup.FtpBackups()[0];
    for (const wchar_t* Case : {L"cut", L"missing"}) {
        SCOPED_TRACE(ToUtf8(Case));
        TBackupRecord Try = Record;
        if (String(Case) == L"cut")
            Try.Target = Peer.As(L"cut", L"/");
        else
            Try.FileName = L"no-such.zip";
        F.Prompt.Asked.clear();
        F.Prompt.Answer = IPrompt::ResultYesToAll;
        EXPECT_FALSE(Backup.RestoreFtp(Try));
        EXPECT_EQ(F.ShownKeys(), Keys{L"sDownloadFailed"});
        EXPECT_EQ(ReadBytes(A), "changed");
    }
    // Only the archive of the upload stays in the working folder.
    WIN32_FIND_DATAW Found;
    const HANDLE Search = FindFirstFileW((F.Context.WorkFolder + L"*").c_str(), &Found);
    int Files = 0;
    if (Search != INVALID_HANDLE_VALUE) {
        do
            Files += (Found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
        while (FindNextFileW(Search, &Found));
        FindClose(Search);
    }
    EXPECT_EQ(Files, 1);
}

} // namespace

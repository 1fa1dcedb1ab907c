#include "main/BackupZip.h"

#include "tests/support/FakeProgress.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <map>
#include <optional>

namespace {

// Reads an archive the way any zip tool would, for checking what was written.
struct TEntryInfo {
    bool Encrypted = false;
    std::string Bytes; // empty for an encrypted entry read without a password
};

std::map<std::string, TEntryInfo> ReadArchive(const String& FileName, const char* Password) {
    std::map<std::string, TEntryInfo> Entries;
    int Error = 0;
    zip_t* Archive = zip_open(ToUtf8(FileName).c_str(), ZIP_RDONLY, &Error);
    if (!Archive)
        return Entries;
    for (zip_int64_t I = 0; I < zip_get_num_entries(Archive, 0); ++I) {
        zip_stat_t Stat;
        zip_stat_index(Archive, I, 0, &Stat);
        TEntryInfo& Info = Entries[Stat.name];
        Info.Encrypted = Stat.encryption_method != ZIP_EM_NONE;
        zip_file_t* File = zip_fopen_index_encrypted(Archive, I, 0, Password);
        if (!File)
            continue;
        Info.Bytes.resize(Stat.size);
        zip_fread(File, Info.Bytes.data(), Stat.size);
        zip_fclose(File);
    }
    zip_discard(Archive);
    return Entries;
}

// Writes an archive with the given entries (name -> bytes) as a hostile or foreign tool would.
void WriteArchive(const String& FileName,
                  const std::vector<std::pair<std::string, std::string>>& Entries) {
    int Error = 0;
    zip_t* Archive = zip_open(ToUtf8(FileName).c_str(), ZIP_CREATE | ZIP_TRUNCATE, &Error);
    ASSERT_NE(Archive, nullptr);
    for (const auto& [Name, Bytes] : Entries) {
        zip_source_t* Source = zip_source_buffer(Archive, Bytes.data(), Bytes.size(), 0);
        const zip_int64_t Index = zip_file_add(Archive, Name.c_str(), Source, 0);
        ASSERT_GE(Index, 0) << Name;
        // Stored, so that a test can find and damage the data.
        zip_set_file_compression(Archive, static_cast<zip_uint64_t>(Index), ZIP_CM_STORE, 0);
    }
    ASSERT_EQ(zip_close(Archive), 0);
}

std::string Pattern(size_t Size, unsigned Seed) {
    std::string Bytes(Size, '\0');
    for (size_t I = 0; I < Size; ++I)
        Bytes[I] = static_cast<char>((I * 31 + Seed * 7 + (I >> 8)) & 0xFF);
    return Bytes;
}

// The entry name of a path below the drive root.
std::string EntryOf(const String& Path) {
    std::string Name = ToUtf8(Path.substr(3));
    for (char& Ch : Name)
        if (Ch == '\\')
            Ch = '/';
    return Name;
}

struct TAnswers {
    std::vector<TOverwriteAnswer> Given;
    std::vector<String> Asked;
    TRestoreQuestions Questions(std::optional<String> Password = std::nullopt) {
        TRestoreQuestions Ask;
        Ask.Overwrite = [this](const String& FileName) {
            Asked.push_back(FileName);
            const TOverwriteAnswer Answer = Given.empty() ? TOverwriteAnswer::No : Given.front();
            if (!Given.empty())
                Given.erase(Given.begin());
            return Answer;
        };
        Ask.Password = [Password](String& Value) {
            if (!Password)
                return false;
            Value = *Password;
            return true;
        };
        return Ask;
    }
};

class BackupZipTest : public ::testing::Test {
protected:
    TTempFolder Tree;
    TFakeProgress Progress;
    String A, B, Sub;

    void SetUp() override {
        A = Tree.AddFile(L"src\\a.txt", "alpha");
        B = Tree.AddFile(L"src\\sub\\b.bin", Pattern(200000, 1));
        Sub = Tree.Path() + L"src\\sub";
    }
    std::vector<String> List() const { return {A, B, Sub}; }
};

TEST_F(BackupZipTest, ArchivesRestoreInPlaceAtEachLevelWithAndWithoutPassword) {
    struct TCase {
        int Level;
        const char* Password;
    };
    for (const TCase Case : {TCase{0, ""}, TCase{9, ""}, TCase{0, "pw#1"}, TCase{9, "pw#1"}}) {
        SCOPED_TRACE(testing::Message() << "level " << Case.Level << " password " << Case.Password);
        const String Archive = Tree.Path() + L"backup.zip";
        const TZipOutcome Made =
            CreateBackupZip(Archive, List(), {true, FromUtf8(Case.Password), Case.Level}, Progress);
        ASSERT_TRUE(Made.Ok()) << ToUtf8(Made.Error);

        const auto Entries = ReadArchive(Archive, nullptr);
        ASSERT_EQ(Entries.count("~backupfilelist.tmp"), 1u);
        const TEntryInfo& ListEntry = Entries.at("~backupfilelist.tmp");
        EXPECT_FALSE(ListEntry.Encrypted);
        EXPECT_EQ(ListEntry.Bytes, ToUtf8(A + L"\r\n" + B + L"\r\n" + Sub + L"\r\n"));
        ASSERT_EQ(Entries.count(EntryOf(B)), 1u);
        EXPECT_EQ(Entries.at(EntryOf(B)).Encrypted, *Case.Password != 0);
        EXPECT_EQ(Entries.count(EntryOf(Sub) + "/"), 1u) << "folders are folder entries";

        // Gone and changed files come back; the changed one after Yes.
        DeleteFileW(A.c_str());
        WriteBytes(B, "changed");
        TAnswers Answers;
        Answers.Given = {TOverwriteAnswer::Yes};
        const TRestoreOutcome Restored = RestoreBackupZip(
            Archive, String(), Progress, Answers.Questions(FromUtf8(Case.Password)));
        ASSERT_TRUE(Restored.Ok()) << ToUtf8(Restored.Error);
        EXPECT_EQ(ReadBytes(A), "alpha");
        EXPECT_EQ(ReadBytes(B), Pattern(200000, 1));
        EXPECT_EQ(Answers.Asked, std::vector<String>{B});
        DeleteFileW(Archive.c_str());
    }
}

TEST_F(BackupZipTest, EachOverwriteAnswerKeepsOrReplacesAsItSays) {
    const String C = Tree.AddFile(L"src\\c.txt", "gamma");
    const String Archive = Tree.Path() + L"backup.zip";
    ASSERT_TRUE(CreateBackupZip(Archive, {A, B, C}, {true, String(), 6}, Progress).Ok());
    struct TCase {
        std::vector<TOverwriteAnswer> Given;
        size_t Questions;
        bool A, B, C; // restored (true) or kept as changed (false)
        TZipResult Result;
    } Cases[] = {
        {{TOverwriteAnswer::Yes, TOverwriteAnswer::No, TOverwriteAnswer::Yes},
         3,
         true,
         false,
         true,
         TZipResult::Ok},
        {{TOverwriteAnswer::YesToAll}, 1, true, true, true, TZipResult::Ok},
        {{TOverwriteAnswer::No, TOverwriteAnswer::No, TOverwriteAnswer::No},
         3,
         false,
         false,
         false,
         TZipResult::Ok},
        {{TOverwriteAnswer::Yes, TOverwriteAnswer::NoToAll}, 2, true, false, false, TZipResult::Ok},
        {{TOverwriteAnswer::Yes, TOverwriteAnswer::Cancel},
         2,
         true,
         false,
         false,
         TZipResult::Cancelled},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Questions);
        for (const String& File : {A, B, C})
            WriteBytes(File, "changed");
        TAnswers Answers;
        Answers.Given = Case.Given;
        const TRestoreOutcome Outcome =
            RestoreBackupZip(Archive, String(), Progress, Answers.Questions());
        EXPECT_EQ(Outcome.Result, Case.Result);
        EXPECT_EQ(Answers.Asked.size(), Case.Questions);
        EXPECT_EQ(ReadBytes(A) == "alpha", Case.A);
        EXPECT_EQ(ReadBytes(B) == Pattern(200000, 1), Case.B);
        EXPECT_EQ(ReadBytes(C) == "gamma", Case.C);
    }
}

TEST_F(BackupZipTest, CancelLeavesNoPartialArchiveAndKeepsTheOldOne) {
    const String Archive = Tree.Path() + L"backup.zip";
    WriteBytes(Archive, "the user's old archive");
    // Cancelled while the archive is written, after every file was taken in.
    const String Big = Tree.AddFile(L"src\\big.bin", Pattern(3000000, 2));
    Progress.CancelAtPump = 10;
    Progress.Start(L"", 0, true, TProgressAnimation::None);
    EXPECT_EQ(CreateBackupZip(Archive, {A, B, Sub, Big}, {true, String(), 9}, Progress).Result,
              TZipResult::Cancelled);
    EXPECT_GT(Progress.Pumps, 4);
    EXPECT_EQ(ReadBytes(Archive), "the user's old archive");
    WIN32_FIND_DATAW Found;
    const HANDLE Search = FindFirstFileW((Tree.Path() + L"backup.zip*").c_str(), &Found);
    int Count = 0;
    if (Search != INVALID_HANDLE_VALUE) {
        do
            ++Count;
        while (FindNextFileW(Search, &Found));
        FindClose(Search);
    }
    EXPECT_EQ(Count, 1) << "no temporary archive is left";

    // The next operation starts uncancelled.
    Progress.CancelAtPump = 0;
    Progress.Start(L"", 0, true, TProgressAnimation::None);
    EXPECT_TRUE(CreateBackupZip(Archive, List(), {true, String(), 9}, Progress).Ok());
    EXPECT_EQ(ReadArchive(Archive, nullptr).count(EntryOf(A)), 1u);
}

TEST_F(BackupZipTest, TwoSourcesOfOneEntryNameRefuseTheBackup) {
    const String Twin = Tree.AddFile(L"other\\a.txt", "twin");
    const String Archive = Tree.Path() + L"flat.zip";
    const TZipOutcome Bare = CreateBackupZip(Archive, {A, Twin}, {false, String(), 9}, Progress);
    EXPECT_EQ(Bare.Result, TZipResult::Failed);
    EXPECT_NE(Bare.Error.find(A), String::npos);
    EXPECT_NE(Bare.Error.find(Twin), String::npos);
    EXPECT_FALSE(PathPresent(Archive));

    const TZipOutcome NoDrive =
        CreateBackupZip(Archive, {L"\\\\srv\\share\\x.txt"}, {true, String(), 9}, Progress);
    EXPECT_EQ(NoDrive.Result, TZipResult::Failed);
    EXPECT_FALSE(PathPresent(Archive));

    ASSERT_TRUE(CreateBackupZip(Archive, {A, B}, {false, String(), 9}, Progress).Ok());
    const auto Entries = ReadArchive(Archive, nullptr);
    EXPECT_EQ(Entries.size(), 2u);
    EXPECT_EQ(Entries.count("a.txt"), 1u);
    EXPECT_EQ(Entries.count("b.bin"), 1u);
}

TEST(RestoreTargetTest, OnlyFullPathsOnADriveWithoutTricksAreTaken) {
    const struct {
        const wchar_t* Line;
        bool Safe;
    } Cases[] = {
        {L"C:\\Users\\me\\a.txt", true},
        {L"d:\\x", true},
        {L"..\\x", false},
        {L"C:\\x\\..\\..\\y", false},
        {L"C:\\x\\.\\y", false},
        {L"\\\\srv\\share\\x", false},
        {L"\\x", false},
        {L"x\\y", false},
        {L"C:x", false},
        {L"C:\\a\\b:stream", false},
        {L"C:\\a\\CON", false},
        {L"C:\\a\\nul.txt", false},
        {L"C:\\a\\COM1", false},
        {L"C:\\a\\b/../../c", false},
        {L"C:\\a\\\\b", false},
        {L"C:\\a\\b.", false},
        {L"C:\\", false},
        {L"\\\\?\\C:\\x", false},
        {L"C:\\a\\con-notes.txt", true},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(IsSafeRestoreTarget(Case.Line), Case.Safe) << ToUtf8(Case.Line);
}

TEST(RestoreHostileTest, BadLinesAndEntriesWriteNothingOutsideTheirTargets) {
    TTempFolder Tree;
    const String Good = Tree.Path() + L"in\\good.txt";
    const String Escape = Tree.Path() + L"escaped.txt";
    const std::string Root = EntryOf(Tree.Path());
    const std::string List =
        ToUtf8(Good) + "\r\n" + ToUtf8(Tree.Path()) + "in\\..\\escaped.txt\r\n" +
        "..\\escaped.txt\r\n" + "\\\\srv\\share\\escaped.txt\r\n" + "in\\escaped.txt\r\n" +
        ToUtf8(Tree.Path()) + "in\\x:stream\r\n" + ToUtf8(Tree.Path()) + "in\\missing.txt\r\n";
    const String Archive = Tree.Path() + L"hostile.zip";
    WriteArchive(Archive, {{"~backupfilelist.tmp", List},
                           {Root + "in/good.txt", "good"},
                           {Root + "escaped.txt", "bad"},
                           {"../escaped.txt", "bad"},
                           {"C:/escaped.txt", "bad"},
                           {Root + "in/../escaped.txt", "bad"},
                           {"a/../../escaped.txt", "bad"},
                           {Root + "in/x:stream", "bad"}});
    TFakeProgress Progress;
    TAnswers Answers;
    const TRestoreOutcome Outcome =
        RestoreBackupZip(Archive, String(), Progress, Answers.Questions());
    EXPECT_EQ(Outcome.Result, TZipResult::Failed);
    EXPECT_EQ(Outcome.Restored, 1);
    EXPECT_EQ(ReadBytes(Good), "good");
    EXPECT_FALSE(PathPresent(Escape));
    EXPECT_EQ(Outcome.Refused.size(), 6u);
    EXPECT_NE(Outcome.Error.find(L"missing.txt"), String::npos);
}

TEST(RestoreHostileTest, DamagedArchivesFailClearlyAndKeepTheExistingFile) {
    TTempFolder Tree;
    const String Target = Tree.AddFile(L"t\\file.bin", "existing");
    const String Archive = Tree.Path() + L"good.zip";
    TFakeProgress Progress;
    const String Source = Tree.AddFile(L"s\\file.bin", Pattern(100000, 3));
    {
        // An archive of Source, then listed as if it were Target.
        const std::string List = ToUtf8(Target) + "\r\n";
        WriteArchive(Archive,
                     {{"~backupfilelist.tmp", List}, {EntryOf(Target), Pattern(100000, 3)}});
    }
    const std::string Bytes = ReadBytes(Archive);

    // Truncated: the central directory is gone.
    const String Truncated = Tree.Path() + L"truncated.zip";
    WriteBytes(Truncated, Bytes.substr(0, Bytes.size() / 2));
    TAnswers Answers;
    Answers.Given = {TOverwriteAnswer::YesToAll};
    const TRestoreOutcome Cut =
        RestoreBackupZip(Truncated, String(), Progress, Answers.Questions());
    EXPECT_EQ(Cut.Result, TZipResult::Failed);
    EXPECT_FALSE(Cut.Error.empty());

    // A flipped byte in the stored data: the CRC does not match.
    std::string Flipped = Bytes;
    const size_t Data = Flipped.find(Pattern(100000, 3).substr(0, 64));
    ASSERT_NE(Data, std::string::npos) << "the entry is stored uncompressed by WriteArchive";
    Flipped[Data + 5000] ^= 0x55;
    const String BadCrc = Tree.Path() + L"badcrc.zip";
    WriteBytes(BadCrc, Flipped);
    Answers.Given = {TOverwriteAnswer::YesToAll};
    const TRestoreOutcome Crc = RestoreBackupZip(BadCrc, String(), Progress, Answers.Questions());
    EXPECT_EQ(Crc.Result, TZipResult::Failed);
    EXPECT_FALSE(Crc.Error.empty());
    EXPECT_EQ(ReadBytes(Target), "existing");

    const TRestoreOutcome NoList =
        RestoreBackupZip(Source, String(), Progress, Answers.Questions());
    EXPECT_EQ(NoList.Result, TZipResult::Failed);
}

TEST_F(BackupZipTest, AnEncryptedBackupAsksForItsPasswordUntilCancelled) {
    const String Archive = Tree.Path() + L"locked.zip";
    ASSERT_TRUE(CreateBackupZip(Archive, {A}, {true, L"right", 9}, Progress).Ok());
    DeleteFileW(A.c_str());
    TAnswers Answers;
    EXPECT_EQ(RestoreBackupZip(Archive, String(), Progress, Answers.Questions()).Result,
              TZipResult::Cancelled);
    EXPECT_FALSE(PathPresent(A));
    const TRestoreOutcome Outcome =
        RestoreBackupZip(Archive, String(), Progress, Answers.Questions(String(L"right")));
    EXPECT_TRUE(Outcome.Ok()) << ToUtf8(Outcome.Error);
    EXPECT_EQ(ReadBytes(A), "alpha");
}

} // namespace

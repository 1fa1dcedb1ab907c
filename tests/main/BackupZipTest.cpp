#include "main/BackupZip.h"

#include "classlib/rtl/TextEncoding.h"

#include "tests/support/FakeProgress.h"
#include "tests/support/PathFixtures.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <functional>
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
                  const std::vector<std::pair<std::string, std::string>>& Entries,
                  zip_int32_t Method = ZIP_CM_STORE) {
    int Error = 0;
    zip_t* Archive = zip_open(ToUtf8(FileName).c_str(), ZIP_CREATE | ZIP_TRUNCATE, &Error);
    ASSERT_NE(Archive, nullptr);
    for (const auto& [Name, Bytes] : Entries) {
        zip_source_t* Source = zip_source_buffer(Archive, Bytes.data(), Bytes.size(), 0);
        const zip_int64_t Index = zip_file_add(Archive, Name.c_str(), Source, 0);
        ASSERT_GE(Index, 0) << Name;
        // Stored unless asked, so that a test can find and damage the data.
        zip_set_file_compression(Archive, static_cast<zip_uint64_t>(Index), Method, 0);
    }
    ASSERT_EQ(zip_close(Archive), 0);
}

// Fields of an entry's headers that a damaged or doctored archive gets wrong.
enum class TEntryField { Crc, Size };

// Sets the field of the named entry in its local header and its central directory record
// alike, so the two still agree.
void PatchEntry(std::string& Bytes, const std::string& Name, TEntryField Field,
                std::uint32_t Value) {
    const auto Read16 = [&](size_t At) {
        return static_cast<size_t>(static_cast<unsigned char>(Bytes[At]) |
                                   (static_cast<unsigned char>(Bytes[At + 1]) << 8));
    };
    const auto Write32 = [&](size_t At) {
        for (int I = 0; I < 4; ++I)
            Bytes[At + I] = static_cast<char>((Value >> (8 * I)) & 0xFF);
    };
    const size_t FieldAt = Field == TEntryField::Crc ? 0 : 8;
    int Patched = 0;
    for (size_t At = Bytes.find("PK"); At != std::string::npos; At = Bytes.find("PK", At + 1)) {
        if (Bytes.compare(At, 4, "PK\x03\x04") == 0 && Read16(At + 26) == Name.size() &&
            Bytes.compare(At + 30, Name.size(), Name) == 0) {
            Write32(At + 14 + FieldAt);
            ++Patched;
        } else if (Bytes.compare(At, 4, "PK\x01\x02") == 0 && Read16(At + 28) == Name.size() &&
                   Bytes.compare(At + 46, Name.size(), Name) == 0) {
            Write32(At + 16 + FieldAt);
            ++Patched;
        }
    }
    ASSERT_EQ(Patched, 2) << Name;
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
        // Written through the extended form, these are the names they say.
        {L"C:\\a\\keep.doc.", true},
        {L"C:\\a\\name ", true},
        {L"C:\\a.\\b", true},
        {L"C:\\a\\...", false},
        {L"C:\\a\\. .", false},
        {L"C:\\a\\ ", false},
        // Devices by the one rule of the path layer.
        {L"C:\\a\\COM\u00B9", false},
        {L"C:\\a\\lpt\u00B3.txt", false},
        {L"C:\\a\\aux .log", false},
        {L"C:\\a\\COM0", true},
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

// Names a plain path would take for their neighbour's are backed up, zipped and restored as
// themselves, and the neighbour is left alone.
TEST(BackupZipExactTest, NamesEndingInDotsOrSpacesAreTheirOwnEntries) {
    const struct {
        const wchar_t* Name;
        const wchar_t* Neighbour;
    } Cases[] = {
        {L"keep.doc.", L"keep.doc"},
        {L"name ", L"name"},
        {L"dir.\\inner.txt", L"dir\\inner.txt"},
    };
    TTempFolder Tree;
    TFakeProgress Progress;
    const String Backup = Tree.Path() + L"backup.zip";
    const String Flat = Tree.Path() + L"flat.zip";
    for (const auto& Case : Cases) {
        SCOPED_TRACE(ToUtf8(Case.Name));
        const String Own = Tree.Path() + Case.Name;
        const String Neighbour = Tree.Path() + Case.Neighbour;
        for (const String& File : {Own, Neighbour})
            CreateDirectoryW(Raw(ExcludeTrailingBackslash(ExtractFilePath(File))).c_str(), nullptr);
        WriteBytes(Raw(Own), "own bytes");
        WriteBytes(Raw(Neighbour), "neighbour");

        ASSERT_TRUE(CreateBackupZip(Backup, {Own}, {true, String(), 9}, Progress).Ok());
        ASSERT_TRUE(CreateBackupZip(Flat, {Own}, {false, String(), 9}, Progress).Ok());
        const auto Stored = ReadArchive(Backup, nullptr);
        ASSERT_EQ(Stored.count(EntryOf(Own)), 1u);
        EXPECT_EQ(Stored.at(EntryOf(Own)).Bytes, "own bytes");
        const auto Zipped = ReadArchive(Flat, nullptr);
        ASSERT_EQ(Zipped.count(ToUtf8(ExtractFileName(Own))), 1u);
        EXPECT_EQ(Zipped.at(ToUtf8(ExtractFileName(Own))).Bytes, "own bytes");

        // Gone, and then changed: each time the backup's bytes come back to that very name.
        for (const bool Gone : {true, false}) {
            if (Gone)
                ASSERT_TRUE(DeleteFileW(Raw(Own).c_str()));
            else
                WriteBytes(Raw(Own), "changed");
            TAnswers Answers;
            Answers.Given = {TOverwriteAnswer::Yes};
            const TRestoreOutcome Restored =
                RestoreBackupZip(Backup, String(), Progress, Answers.Questions());
            EXPECT_TRUE(Restored.Ok()) << ToUtf8(Restored.Error);
            EXPECT_EQ(ReadBytes(Raw(Own)), "own bytes");
            EXPECT_EQ(ReadBytes(Raw(Neighbour)), "neighbour");
            EXPECT_EQ(Answers.Asked.size(), Gone ? 0u : 1u);
        }
        DeleteFileW(Backup.c_str());
        DeleteFileW(Flat.c_str());
    }
}

// The list is read in the encoding it was written in: ANSI without a mark, as older archives
// have it, even when its bytes would pass for UTF-8, and UTF-8 with a byte-order mark.
TEST(BackupZipListTest, TheListIsReadInTheEncodingItWasWrittenIn) {
    const struct {
        String Name;
        bool Marked;
    } Cases[] = {
        {L"It\u00E2\u20AC\u2122s here.txt", false},
        {L"\u05E9\u05DC\u05D5\u05DD \u2019.txt", true},
        {L"plain.txt", false},
    };
    TTempFolder Tree;
    TFakeProgress Progress;
    const String Archive = Tree.Path() + L"backup.zip";
    for (const auto& Case : Cases) {
        SCOPED_TRACE(ToUtf8(Case.Name));
        ASSERT_EQ(FitsAnsi(Case.Name), !Case.Marked) << "the ANSI code page decides the case";
        const String File = Tree.AddFile(Case.Name, "contents");
        ASSERT_TRUE(CreateBackupZip(Archive, {File}, {true, String(), 9}, Progress).Ok());
        const std::string List = ReadArchive(Archive, nullptr).at("~backupfilelist.tmp").Bytes;
        EXPECT_EQ(List.rfind("\xEF\xBB\xBF", 0) == 0, Case.Marked);

        ASSERT_TRUE(DeleteFileW(File.c_str()));
        TAnswers Answers;
        const TRestoreOutcome Restored =
            RestoreBackupZip(Archive, String(), Progress, Answers.Questions());
        EXPECT_TRUE(Restored.Ok()) << ToUtf8(Restored.Error);
        EXPECT_EQ(ReadBytes(File), "contents");
        DeleteFileW(Archive.c_str());
    }
}

// A list whose bytes no longer match what was recorded is refused before anything is written,
// even when the damage leaves a list the restore could follow.
TEST(RestoreHostileTest, ADamagedListRestoresNothing) {
    TTempFolder Tree;
    const String A = Tree.Path() + L"in\\a.txt";
    const String B = Tree.Path() + L"in\\b.txt";
    const std::string List = ToUtf8(A) + "\r\n" + ToUtf8(B) + "\r\n";
    const String Archive = Tree.Path() + L"backup.zip";
    WriteArchive(Archive,
                 {{"~backupfilelist.tmp", List}, {EntryOf(A), "alpha"}, {EntryOf(B), "beta"}});
    const std::string Good = ReadBytes(Archive);

    const struct {
        const char* Damage;
        std::function<void(std::string&)> Apply;
    } Cases[] = {
        // "b.txt" becomes a second "a.txt".
        {"a changed byte", [](std::string& Bytes) { Bytes[Bytes.find("\\b.txt\r\n") + 1] = 'a'; }},
        {"a wrong CRC",
         [](std::string& Bytes) {
             PatchEntry(Bytes, "~backupfilelist.tmp", TEntryField::Crc, 0x12345678);
         }},
        {"a shorter recorded size",
         [&](std::string& Bytes) {
             PatchEntry(Bytes, "~backupfilelist.tmp", TEntryField::Size,
                        static_cast<std::uint32_t>(List.size() - 10));
         }},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Damage);
        std::string Bytes = Good;
        Case.Apply(Bytes);
        WriteBytes(Archive, Bytes);
        TFakeProgress Progress;
        TAnswers Answers;
        Answers.Given = {TOverwriteAnswer::YesToAll};
        const TRestoreOutcome Outcome =
            RestoreBackupZip(Archive, String(), Progress, Answers.Questions());
        EXPECT_EQ(Outcome.Result, TZipResult::Failed);
        EXPECT_EQ(Outcome.Restored, 0);
        EXPECT_NE(Outcome.Error.find(L"~backupfilelist.tmp"), String::npos)
            << ToUtf8(Outcome.Error);
        EXPECT_FALSE(PathPresent(Tree.Path() + L"in"));
    }
}

// An entry that holds more or less than its recorded size is a damaged archive: no more than
// that size is written, the partial file goes and the file it was to replace stays.
TEST(RestoreHostileTest, AnEntryIsWrittenNoFurtherThanItsRecordedSize) {
    const struct {
        const char* Damage;
        std::string Data;
        zip_int32_t Method;
        std::uint32_t Recorded;
    } Cases[] = {
        {"stored, larger than recorded", Pattern(2000000, 4), ZIP_CM_STORE, 1000},
        {"deflated, larger than recorded", std::string(20000000, '\0'), ZIP_CM_DEFLATE, 1000},
        {"stored, smaller than recorded", Pattern(1000, 5), ZIP_CM_STORE, 5000},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Damage);
        TTempFolder Tree;
        const String Target = Tree.AddFile(L"t\\file.bin", "existing");
        const String Archive = Tree.Path() + L"bomb.zip";
        WriteArchive(
            Archive,
            {{"~backupfilelist.tmp", ToUtf8(Target) + "\r\n"}, {EntryOf(Target), Case.Data}},
            Case.Method);
        std::string Bytes = ReadBytes(Archive);
        PatchEntry(Bytes, EntryOf(Target), TEntryField::Size, Case.Recorded);
        WriteBytes(Archive, Bytes);

        TFakeProgress Progress;
        TAnswers Answers;
        Answers.Given = {TOverwriteAnswer::YesToAll};
        const TRestoreOutcome Outcome =
            RestoreBackupZip(Archive, String(), Progress, Answers.Questions());
        EXPECT_EQ(Outcome.Result, TZipResult::Failed);
        EXPECT_FALSE(Outcome.Error.empty());
        EXPECT_EQ(Outcome.Restored, 0);
        EXPECT_LE(*std::max_element(Progress.Positions.begin(), Progress.Positions.end()),
                  static_cast<std::int64_t>(Case.Recorded));
        const std::map<String, std::string> Expected{{L"file.bin", "existing"}};
        EXPECT_EQ(Snapshot(Tree.Path() + L"t\\"), Expected) << "no partial file stays";
    }
}

// Folders deeper than MAX_PATH back up and restore like any other.
TEST(BackupZipLongPathTest, BackupAndRestoreWorkInDeepFolders) {
    for (const size_t Length : {300u, 1000u}) {
        SCOPED_TRACE(Length);
        TTempFolder Tree;
        const String Folder = AddDeepFolder(Tree.Path(), Length) + L"\\";
        const String File = Folder + L"deep.bin";
        WriteBytes(Raw(File), Pattern(70000, 6));
        TFakeProgress Progress;
        const String Archive = Folder + L"backup.zip";
        const TZipOutcome Made = CreateBackupZip(Archive, {File}, {true, String(), 9}, Progress);
        ASSERT_TRUE(Made.Ok()) << ToUtf8(Made.Error);

        for (const TOverwriteAnswer Answer : {TOverwriteAnswer::Yes, TOverwriteAnswer::No}) {
            if (Answer == TOverwriteAnswer::Yes)
                WriteBytes(Raw(File), "changed");
            else
                ASSERT_TRUE(DeleteFileW(Raw(File).c_str()));
            TAnswers Answers;
            Answers.Given = {Answer};
            const TRestoreOutcome Restored =
                RestoreBackupZip(Archive, String(), Progress, Answers.Questions());
            EXPECT_TRUE(Restored.Ok()) << ToUtf8(Restored.Error);
            EXPECT_EQ(ReadBytes(Raw(File)), Pattern(70000, 6));
        }
        EXPECT_EQ(Snapshot(Folder).size(), 2u) << "the file and the archive, no temporary file";
    }
}

} // namespace

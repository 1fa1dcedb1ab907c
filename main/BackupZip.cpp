#include "main/BackupZip.h"
#include "classlib/rtl/PathLayer.h"

#include "classlib/rtl/TextEncoding.h"

#include <zip.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>

namespace {

struct TZipDiscard {
    void operator()(zip_t* Archive) const { zip_discard(Archive); }
};
using TZipArchive = std::unique_ptr<zip_t, TZipDiscard>;

struct TZipFileClose {
    void operator()(zip_file_t* File) const { zip_fclose(File); }
};
using TZipFile = std::unique_ptr<zip_file_t, TZipFileClose>;

TZipOutcome Failure(const String& Error) {
    return {TZipResult::Failed, Error};
}

String ArchiveError(zip_t* Archive) {
    return FromUtf8(zip_strerror(Archive));
}

// A file source of exactly the entry FileName names, or null with Reason set.
zip_source_t* FileSource(const String& FileName, String& Reason) {
    zip_error_t ZipError;
    zip_error_init(&ZipError);
    zip_source_t* Source =
        zip_source_win32w_create(ExtendedPath(FileName).c_str(), 0, -1, &ZipError);
    if (!Source)
        Reason = FromUtf8(zip_error_strerror(&ZipError));
    zip_error_fini(&ZipError);
    return Source;
}

// Opens (or, for writing, creates) an archive, or gives null with Reason set.
TZipArchive OpenArchive(const String& FileName, int Flags, String& Reason) {
    zip_source_t* Source = FileSource(FileName, Reason);
    if (!Source)
        return nullptr;
    zip_error_t ZipError;
    zip_error_init(&ZipError);
    zip_t* Archive = zip_open_from_source(Source, Flags, &ZipError);
    if (!Archive) {
        Reason = FromUtf8(zip_error_strerror(&ZipError));
        zip_source_free(Source);
    }
    zip_error_fini(&ZipError);
    return TZipArchive(Archive);
}

bool HasDriveLetter(const String& Path) {
    return Path.size() > 3 && Path[1] == L':' && Path[2] == L'\\' &&
           ((Path[0] >= L'A' && Path[0] <= L'Z') || (Path[0] >= L'a' && Path[0] <= L'z'));
}

// The entry name of a path: below its drive root with "/" between folders, or the bare name.
String EntryNameFor(const String& Path, bool WithList) {
    String Name = WithList ? ExcludeTrailingBackslash(Path).substr(3)
                           : ExtractFileName(ExcludeTrailingBackslash(Path));
    for (wchar_t& Ch : Name)
        if (Ch == L'\\')
            Ch = L'/';
    return Name;
}

// Entry names compare without regard to case or to the kind of slash.
String EntryKey(String Name) {
    for (wchar_t& Ch : Name)
        if (Ch == L'\\')
            Ch = L'/';
    while (!Name.empty() && Name.back() == L'/')
        Name.pop_back();
    return AnsiLowerCase(Name);
}

// The list file's text: ANSI as before when every path fits, else UTF-8 with its byte-order
// mark, which is what tells the two apart when the list is read.
std::string ListFileBytes(const std::vector<String>& Paths) {
    String Text;
    for (const String& Path : Paths)
        Text += Path + L"\r\n";
    return EncodeText(Text, FitsAnsi(Text) ? TTextEncoding::Ansi : TTextEncoding::Utf8Bom);
}

struct TZipProgressState {
    IProgress& Progress;
    std::int64_t Total;
};

void ReportZipProgress(zip_t*, double Fraction, void* State) {
    auto& S = *static_cast<TZipProgressState*>(State);
    S.Progress.SetPosition(static_cast<std::int64_t>(Fraction * static_cast<double>(S.Total)));
    S.Progress.Pump();
}

int AskZipCancel(zip_t*, void* State) {
    auto& S = *static_cast<TZipProgressState*>(State);
    S.Progress.Pump();
    return S.Progress.Cancelled() ? 1 : 0;
}

// Adds one path; false with Error set when it cannot be.
bool AddPath(zip_t* Archive, const String& Path, const String& EntryName,
             const TBackupZipOptions& Options, std::int64_t& Total, String& Error) {
    WIN32_FILE_ATTRIBUTE_DATA Data{};
    if (!GetFileAttributesExW(ExtendedPath(Path).c_str(), GetFileExInfoStandard, &Data)) {
        Error = Path + L": " + SysErrorMessage(GetLastError());
        return false;
    }
    const std::string Name = ToUtf8(EntryName);
    if (Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (zip_dir_add(Archive, Name.c_str(), ZIP_FL_ENC_UTF_8) < 0) {
            Error = Path + L": " + ArchiveError(Archive);
            return false;
        }
        return true;
    }
    zip_source_t* Source = FileSource(Path, Error);
    if (!Source) {
        Error = Path + L": " + Error;
        return false;
    }
    const zip_int64_t Index = zip_file_add(Archive, Name.c_str(), Source, ZIP_FL_ENC_UTF_8);
    if (Index < 0) {
        zip_source_free(Source);
        Error = Path + L": " + ArchiveError(Archive);
        return false;
    }
    const auto Entry = static_cast<zip_uint64_t>(Index);
    const bool Stored = Options.Level <= 0;
    bool Done = zip_set_file_compression(Archive, Entry, Stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                         Stored ? 0 : std::min(Options.Level, 9)) == 0;
    if (Done && !Options.Password.empty())
        Done = zip_file_set_encryption(Archive, Entry, ZIP_EM_TRAD_PKWARE,
                                       ToUtf8(Options.Password).c_str()) == 0;
    if (!Done) {
        Error = Path + L": " + ArchiveError(Archive);
        return false;
    }
    Total +=
        static_cast<std::int64_t>(ULARGE_INTEGER{{Data.nFileSizeLow, Data.nFileSizeHigh}}.QuadPart);
    return true;
}

} // namespace

TZipOutcome CreateBackupZip(const String& ArchiveName, const std::vector<String>& Paths,
                            const TBackupZipOptions& Options, IProgress& Progress) {
    // Entry names first: a clash or a path without a drive refuses the whole backup.
    std::map<String, String> Names;
    std::vector<String> EntryNames;
    for (const String& Path : Paths) {
        if (Options.WithList && !HasDriveLetter(Path))
            return Failure(Path);
        const String Name = EntryNameFor(Path, Options.WithList);
        const auto [At, Added] = Names.emplace(EntryKey(Name), Path);
        if (!Added)
            return Failure(At->second + L"\r\n" + Path);
        EntryNames.push_back(Name);
    }

    // Written under a name of its own beside the target, which it replaces only when complete
    // and not cancelled: once in place, the user's old archive would be gone.
    const String Folder = ExtractFilePath(ArchiveName);
    TTempFile Written(Folder.empty() ? String(L".") : Folder, L"qrv");
    if (Written.Name().empty())
        return Failure(ArchiveName + L": " + SysErrorMessage(GetLastError()));
    String Error;
    TZipArchive Archive = OpenArchive(Written.Name(), ZIP_CREATE | ZIP_TRUNCATE, Error);
    if (!Archive)
        return Failure(ArchiveName + L": " + Error);
    std::int64_t Total = 0;
    for (size_t I = 0; I < Paths.size(); ++I) {
        Progress.Pump();
        if (Progress.Cancelled())
            return {TZipResult::Cancelled, String()};
        if (!AddPath(Archive.get(), Paths[I], EntryNames[I], Options, Total, Error))
            return Failure(Error);
    }
    // Kept alive until the archive is written.
    const std::string ListBytes = Options.WithList ? ListFileBytes(Paths) : std::string();
    if (Options.WithList) {
        zip_source_t* Source =
            zip_source_buffer(Archive.get(), ListBytes.data(), ListBytes.size(), 0);
        const zip_int64_t Index = Source
                                      ? zip_file_add(Archive.get(), ToUtf8(BackupListName).c_str(),
                                                     Source, ZIP_FL_ENC_UTF_8)
                                      : -1;
        if (Index < 0) {
            if (Source)
                zip_source_free(Source);
            return Failure(ArchiveName + L": " + ArchiveError(Archive.get()));
        }
    }

    TZipProgressState State{Progress, Total};
    Progress.SetRange(Total);
    zip_register_progress_callback_with_state(Archive.get(), 0.001, ReportZipProgress, nullptr,
                                              &State);
    zip_register_cancel_callback_with_state(Archive.get(), AskZipCancel, nullptr, &State);
    if (zip_close(Archive.get()) != 0) {
        if (Progress.Cancelled())
            return {TZipResult::Cancelled, String()};
        return Failure(ArchiveName + L": " + ArchiveError(Archive.get()));
    }
    Archive.release();
    // The library's last progress report may have seen a Cancel that it does not act on.
    if (Progress.Cancelled())
        return {TZipResult::Cancelled, String()};
    if (!MoveFileExW(ExtendedPath(Written.Name()).c_str(), ExtendedPath(ArchiveName).c_str(),
                     MOVEFILE_REPLACE_EXISTING))
        return Failure(ArchiveName + L": " + SysErrorMessage(GetLastError()));
    Written.Keep();
    return {};
}

// ------------------------------------------------------------------ restore

namespace {

// A name of dots and spaces alone means another folder, or none, to most programs. Other
// names are written through the extended form, so "keep.doc." is that file, not "keep.doc".
bool IsSafePart(const String& Part) {
    if (Part.find_first_not_of(L". ") == String::npos)
        return false;
    for (const wchar_t Ch : Part)
        if (Ch < 32 || String(L"<>:\"/|?*").find(Ch) != String::npos)
            return false;
    return !IsDeviceName(Part);
}

struct TListedEntry {
    zip_uint64_t Index = 0;
    bool IsFolder = false;
};

// Every entry by its key; names that cannot be read are left out.
std::map<String, TListedEntry> IndexEntries(zip_t* Archive) {
    std::map<String, TListedEntry> Entries;
    const zip_int64_t Count = zip_get_num_entries(Archive, 0);
    for (zip_int64_t I = 0; I < Count; ++I) {
        const char* Name = zip_get_name(Archive, static_cast<zip_uint64_t>(I), ZIP_FL_ENC_GUESS);
        if (!Name || !*Name)
            continue;
        const String Wide = FromUtf8(Name);
        const bool IsFolder = Wide.back() == L'/' || Wide.back() == L'\\';
        Entries.emplace(EntryKey(Wide), TListedEntry{static_cast<zip_uint64_t>(I), IsFolder});
    }
    return Entries;
}

// The list's lines, by its byte-order mark; empty lines are passed by.
std::vector<String> ListLines(const std::string& Bytes) {
    TTextEncoding Encoding;
    const String Text = DecodeMarkedText(Bytes, Encoding);
    std::vector<String> Lines;
    for (size_t Start = 0; Start < Text.size();) {
        size_t End = Text.find(L'\n', Start);
        if (End == String::npos)
            End = Text.size();
        String Line = Text.substr(Start, End - Start);
        if (!Line.empty() && Line.back() == L'\r')
            Line.pop_back();
        if (!Line.empty())
            Lines.push_back(Line);
        Start = End + 1;
    }
    return Lines;
}

// Takes each block of an entry as it is read.
using TBlockSink = std::function<TZipOutcome(const char* Data, zip_int64_t Size)>;

class TRestoreRun {
public:
    TRestoreRun(zip_t* Archive, String Password, IProgress& Progress, const TRestoreQuestions& Ask)
        : FArchive(Archive), FPassword(std::move(Password)), FProgress(Progress), FAsk(Ask) {}

    // Opens an entry, asking for the password while the one known does not fit.
    TZipFile Open(zip_uint64_t Index, TZipOutcome& Outcome) {
        for (;;) {
            const std::string Password = ToUtf8(FPassword);
            zip_file_t* File = zip_fopen_index_encrypted(
                FArchive, Index, 0, FPassword.empty() ? nullptr : Password.c_str());
            if (File)
                return TZipFile(File);
            const int Code = zip_error_code_zip(zip_get_error(FArchive));
            if (Code != ZIP_ER_NOPASSWD && Code != ZIP_ER_WRONGPASSWD) {
                Outcome = Failure(EntryText(Index) + L": " + ArchiveError(FArchive));
                return nullptr;
            }
            zip_error_clear(FArchive);
            if (!FAsk.Password || !FAsk.Password(FPassword)) {
                Outcome = {TZipResult::Cancelled, String()};
                return nullptr;
            }
        }
    }

    // The list file's lines, read whole, so that a damaged list is refused before anything is
    // restored from it.
    bool ReadList(zip_uint64_t Index, std::vector<String>& Lines, TZipOutcome& Outcome) {
        constexpr zip_uint64_t Limit = 64u << 20;
        zip_stat_t Stat;
        if (zip_stat_index(FArchive, Index, 0, &Stat) != 0 || !(Stat.valid & ZIP_STAT_SIZE) ||
            Stat.size > Limit) {
            Outcome = Damaged(Index);
            return false;
        }
        TZipFile File = Open(Index, Outcome);
        if (!File)
            return false;
        std::string Bytes;
        Outcome = ReadWhole(File.get(), Index, [&](const char* Data, zip_int64_t Size) {
            Bytes.append(Data, static_cast<size_t>(Size));
            return TZipOutcome{};
        });
        if (!Outcome.Ok())
            return false;
        Lines = ListLines(Bytes);
        return true;
    }

    std::int64_t SizeOf(zip_uint64_t Index) {
        zip_stat_t Stat;
        if (zip_stat_index(FArchive, Index, 0, &Stat) != 0 || !(Stat.valid & ZIP_STAT_SIZE))
            return 0;
        return static_cast<std::int64_t>(Stat.size);
    }

    // Extracts one entry to Target; a complete copy replaces an existing file.
    TZipOutcome Extract(zip_uint64_t Index, const String& Target, bool Replace) {
        TZipOutcome Outcome;
        TZipFile File = Open(Index, Outcome);
        if (!File)
            return Outcome;
        const String Folder = ExtractFilePath(Target);
        if (!ForceDirectories(Folder))
            return Failure(Target + L": " + SysErrorMessage(GetLastError()));
        TTempFile Temp(Folder, L"qrv");
        if (Temp.Name().empty())
            return Failure(Target + L": " + SysErrorMessage(GetLastError()));
        Outcome = WriteEntry(File.get(), Index, Temp.Name());
        if (!Outcome.Ok())
            return Outcome;
        if (!MoveFileExW(ExtendedPath(Temp.Name()).c_str(), ExtendedPath(Target).c_str(),
                         Replace ? MOVEFILE_REPLACE_EXISTING : 0))
            return Failure(Target + L": " + SysErrorMessage(GetLastError()));
        Temp.Keep();
        return {};
    }

    std::int64_t Position = 0;

private:
    String EntryText(zip_uint64_t Index) {
        const char* Name = zip_get_name(FArchive, Index, ZIP_FL_ENC_GUESS);
        return Name ? FromUtf8(Name) : IntToStr(static_cast<std::int64_t>(Index));
    }

    TZipOutcome Damaged(zip_uint64_t Index) {
        zip_error_t Error;
        zip_error_init_with_code(&Error, ZIP_ER_INCONS);
        const TZipOutcome Outcome =
            Failure(EntryText(Index) + L": " + FromUtf8(zip_error_strerror(&Error)));
        zip_error_fini(&Error);
        return Outcome;
    }

    // Hands the entry to Take block by block, never more than its recorded size. An entry that
    // holds more or less than that, or whose CRC does not match, is damaged.
    TZipOutcome ReadWhole(zip_file_t* File, zip_uint64_t Index, const TBlockSink& Take) {
        zip_stat_t Stat;
        if (zip_stat_index(FArchive, Index, 0, &Stat) != 0 || !(Stat.valid & ZIP_STAT_SIZE))
            return Damaged(Index);
        std::vector<char> Buffer(65536);
        for (zip_uint64_t Left = Stat.size;;) {
            // One read past the end, where the library checks the CRC and any byte is too many.
            const zip_uint64_t Want = std::clamp<zip_uint64_t>(Left, 1, Buffer.size());
            const zip_int64_t Got = zip_fread(File, Buffer.data(), Want);
            if (Got < 0)
                return Failure(EntryText(Index) + L": " + FromUtf8(zip_file_strerror(File)));
            if (Got == 0)
                return Left == 0 ? TZipOutcome{} : Damaged(Index);
            if (Left == 0)
                return Damaged(Index);
            Left -= static_cast<zip_uint64_t>(Got);
            const TZipOutcome Outcome = Take(Buffer.data(), Got);
            if (!Outcome.Ok())
                return Outcome;
        }
    }

    TZipOutcome WriteEntry(zip_file_t* File, zip_uint64_t Index, const String& Temp) {
        const TOwnedHandle Out =
            OwnHandle(CreateFileW(ExtendedPath(Temp).c_str(), GENERIC_WRITE, 0, nullptr,
                                  TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!Out)
            return Failure(Temp + L": " + SysErrorMessage(GetLastError()));
        const TZipOutcome Outcome =
            ReadWhole(File, Index, [&](const char* Data, zip_int64_t Size) -> TZipOutcome {
                DWORD Written = 0;
                if (!WriteFile(Out.get(), Data, static_cast<DWORD>(Size), &Written, nullptr) ||
                    Written != static_cast<DWORD>(Size))
                    return Failure(Temp + L": " + SysErrorMessage(GetLastError()));
                Position += Size;
                FProgress.SetPosition(Position);
                FProgress.Pump();
                if (FProgress.Cancelled())
                    return {TZipResult::Cancelled, String()};
                return {};
            });
        if (!Outcome.Ok())
            return Outcome;
        zip_stat_t Stat;
        if (zip_stat_index(FArchive, Index, 0, &Stat) == 0 && (Stat.valid & ZIP_STAT_MTIME)) {
            ULARGE_INTEGER Ticks;
            Ticks.QuadPart =
                (static_cast<std::uint64_t>(Stat.mtime) + 11644473600ULL) * 10000000ULL;
            const FILETIME Time{Ticks.LowPart, Ticks.HighPart};
            SetFileTime(Out.get(), nullptr, nullptr, &Time);
        }
        return {};
    }

    zip_t* FArchive;
    String FPassword;
    IProgress& FProgress;
    const TRestoreQuestions& FAsk;
};

} // namespace

bool IsSafeRestoreTarget(const String& Path) {
    if (!HasDriveLetter(Path))
        return false;
    const String Rest = Path.substr(3);
    for (size_t Start = 0;;) {
        const size_t End = Rest.find(L'\\', Start);
        if (!IsSafePart(Rest.substr(Start, End == String::npos ? String::npos : End - Start)))
            return false;
        if (End == String::npos)
            return true;
        Start = End + 1;
    }
}

TRestoreOutcome RestoreBackupZip(const String& ArchiveName, String Password, IProgress& Progress,
                                 const TRestoreQuestions& Ask) {
    TRestoreOutcome Result;
    String Error;
    TZipArchive Archive = OpenArchive(ArchiveName, ZIP_RDONLY | ZIP_CHECKCONS, Error);
    if (!Archive) {
        Result.Result = TZipResult::Failed;
        Result.Error = ArchiveName + L": " + Error;
        return Result;
    }
    const std::map<String, TListedEntry> Entries = IndexEntries(Archive.get());
    const auto ListEntry = Entries.find(EntryKey(BackupListName));
    if (ListEntry == Entries.end()) {
        Result.Result = TZipResult::Failed;
        Result.Error = ArchiveName + L": " + BackupListName;
        return Result;
    }
    TRestoreRun Run(Archive.get(), std::move(Password), Progress, Ask);
    std::vector<String> Lines;
    if (!Run.ReadList(ListEntry->second.Index, Lines, Result))
        return Result;

    // Only safe lines with an entry of their own are restored.
    std::vector<std::pair<String, TListedEntry>> Targets;
    std::int64_t Total = 0;
    for (const String& Line : Lines) {
        const auto Found =
            IsSafeRestoreTarget(Line) ? Entries.find(EntryKey(Line.substr(3))) : Entries.end();
        if (Found == Entries.end()) {
            Result.Refused.push_back(Line);
            continue;
        }
        Targets.emplace_back(Line, Found->second);
        if (!Found->second.IsFolder)
            Total += Run.SizeOf(Found->second.Index);
    }
    Progress.SetRange(Total);
    Progress.SetPosition(0);

    bool OverwriteAll = false, SkipAll = false;
    for (const auto& [Target, Entry] : Targets) {
        Progress.Pump();
        if (Progress.Cancelled()) {
            Result.Result = TZipResult::Cancelled;
            return Result;
        }
        if (Entry.IsFolder) {
            if (!ForceDirectories(Target)) {
                Result.Result = TZipResult::Failed;
                Result.Error = Target + L": " + SysErrorMessage(GetLastError());
                return Result;
            }
            continue;
        }
        if (DirectoryExists(Target)) {
            Result.Refused.push_back(Target);
            continue;
        }
        const bool Exists = FileExists(Target);
        bool Replace = OverwriteAll;
        bool Stop = false;
        if (Exists && !OverwriteAll && !SkipAll && Ask.Overwrite) {
            switch (Ask.Overwrite(Target)) {
            case TOverwriteAnswer::Yes:
                Replace = true;
                break;
            case TOverwriteAnswer::YesToAll:
                Replace = OverwriteAll = true;
                break;
            case TOverwriteAnswer::NoToAll:
                SkipAll = true;
                break;
            case TOverwriteAnswer::Cancel:
                Stop = true;
                break;
            case TOverwriteAnswer::No:
                break;
            }
        }
        if (Stop) {
            Result.Result = TZipResult::Cancelled;
            return Result;
        }
        if (Exists && !Replace)
            continue;
        const TZipOutcome One = Run.Extract(Entry.Index, Target, Exists);
        if (!One.Ok()) {
            Result.Result = One.Result;
            Result.Error = One.Error;
            return Result;
        }
        ++Result.Restored;
    }
    if (!Result.Refused.empty()) {
        Result.Result = TZipResult::Failed;
        for (const String& Line : Result.Refused)
            Result.Error += Line + L"\r\n";
    }
    return Result;
}

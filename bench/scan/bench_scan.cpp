// Times the junk-file scan over a tree of 100,000 files against a bare FindFirstFileExW walk of
// the same tree, measured in the same run, and prints the ratio.

#include "app/Match.h"
#include "app/TreeSearchEngine.h"
#include "main/FileScan.h"
#include "main/ScanResults.h"

#include "classlib/rtl/WinApi.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int TopFolders = 100;
constexpr int SubFolders = 10;
constexpr int FilesPerFolder = 100; // 100 x 10 x 100 = 100,000 files
constexpr int Rounds = 7;

const wchar_t* const Extensions[] = {L".txt", L".log", L".dat", L".doc", L".tmp",
                                     L".jpg", L".htm", L".ini", L".bak", L".cfg"};

class TDiskTree {
public:
    TDiskTree() {
        FRoot = std::filesystem::temp_directory_path() /
                (L"qrvbench-scan-" + std::to_wstring(GetCurrentProcessId()));
        std::filesystem::remove_all(FRoot);
        for (int T = 0; T < TopFolders; ++T)
            for (int S = 0; S < SubFolders; ++S) {
                const std::filesystem::path Folder =
                    FRoot / (L"top" + std::to_wstring(T)) / (L"sub" + std::to_wstring(S));
                std::filesystem::create_directories(Folder);
                for (int F = 0; F < FilesPerFolder; ++F) {
                    const std::wstring Name =
                        L"file" + std::to_wstring(F) + Extensions[(F + S + T) % 10];
                    const HANDLE File =
                        CreateFileW((Folder / Name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
                    if (File != INVALID_HANDLE_VALUE)
                        CloseHandle(File);
                }
            }
    }
    ~TDiskTree() {
        std::error_code Ignored;
        std::filesystem::remove_all(FRoot, Ignored);
    }
    TDiskTree(const TDiskTree&) = delete;
    TDiskTree& operator=(const TDiskTree&) = delete;

    std::wstring Path() const { return FRoot.wstring() + L"\\"; }

private:
    std::filesystem::path FRoot;
};

// The baseline: list every folder once, count its files, enter its subfolders.
long long BareWalk(const std::wstring& Folder) {
    WIN32_FIND_DATAW Data;
    const HANDLE Find = FindFirstFileExW((Folder + L'*').c_str(), FindExInfoBasic, &Data,
                                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (Find == INVALID_HANDLE_VALUE)
        return 0;
    long long Files = 0;
    std::vector<std::wstring> Folders;
    do {
        const wchar_t* Name = Data.cFileName;
        if (Name[0] == L'.' && (Name[1] == 0 || (Name[1] == L'.' && Name[2] == 0)))
            continue;
        if (!(Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ++Files;
        else if (!(Data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            Folders.push_back(Folder + Name + L'\\');
    } while (FindNextFileW(Find, &Data));
    FindClose(Find);
    for (const std::wstring& Sub : Folders)
        Files += BareWalk(Sub);
    return Files;
}

class TNoClock : public IClock {
public:
    TDateTime Now() const override { return 45000; }
};

class TFixedDrives : public IDriveInfo {
public:
    UINT DriveType(const String&) const override { return DRIVE_FIXED; }
    std::int64_t DiskTotalSize(const String&) const override { return 0; }
};

double Seconds(std::chrono::steady_clock::duration D) {
    return std::chrono::duration<double>(D).count();
}

} // namespace

int main() {
    std::printf("building a tree of %d files...\n", TopFolders * SubFolders * FilesPerFolder);
    const TDiskTree Tree;

    const TNoClock Clock;
    const TFixedDrives Drives;
    TSafetyRule Safety;
    Safety.SetProtectedPaths({L"C:\\Windows", L"C:\\System Corvanta Backups"});
    const String Masks = L"*.tmp; *.bak; ~*; *.chk";
    Safety.SetJunkMasks(Masks);
    TTreeSearchEngine Engine;
    TMatch Matcher(nullptr);
    TFileScan Scan(Engine, Matcher, Safety, Drives, Clock);
    TScanSettings Settings;
    Settings.Mode = mdJunkFiles;
    Settings.JunkMasks = Masks;
    TScanResults Results;

    // One unmeasured pass of each warms the caches.
    long long Files = BareWalk(Tree.Path());
    Scan.Run({Tree.Path()}, Settings, Results);

    std::vector<double> Bare, Scanned;
    for (int Round = 0; Round < Rounds; ++Round) {
        auto Start = std::chrono::steady_clock::now();
        Files = BareWalk(Tree.Path());
        Bare.push_back(Seconds(std::chrono::steady_clock::now() - Start));

        Start = std::chrono::steady_clock::now();
        Scan.Run({Tree.Path()}, Settings, Results);
        Scanned.push_back(Seconds(std::chrono::steady_clock::now() - Start));
    }
    // The fastest of the rounds: what the machine's other work added least to.
    const double BareBest = *std::min_element(Bare.begin(), Bare.end());
    const double ScanBest = *std::min_element(Scanned.begin(), Scanned.end());
    std::printf("files listed: %lld, junk found: %d\n", Files, Results.Count());
    std::printf("bare FindFirstFileExW walk: %.3f s (best of %d)\n", BareBest, Rounds);
    std::printf("junk scan:                  %.3f s (best of %d)\n", ScanBest, Rounds);
    std::printf("ratio scan / bare: %.2f\n", ScanBest / BareBest);
    return 0;
}

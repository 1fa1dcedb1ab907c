// Times the junk-file scan over a tree of 100,000 files, and the walk engine under it alone
// (pumping messages as the program does), against a bare FindFirstFileExW walk of the same tree,
// measured in the same run, and prints the ratios.

#include "app/Match.h"
#include "app/TreeSearchEngine.h"
#include "main/FileScan.h"
#include "main/ScanResults.h"

#include "bench/support/BenchDisk.h"

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

class TNoClock : public IClock {
public:
    TDateTime Now() const override { return 45000; }
};

class TFixedDrives : public IDriveInfo {
public:
    UINT DriveType(const String&) const override { return DRIVE_FIXED; }
    std::int64_t DiskTotalSize(const String&) const override { return 0; }
};

} // namespace

int main() {
    std::printf("building a tree of %d files...\n", TopFolders * SubFolders * FilesPerFolder);
    const TBenchTree Tree(L"qrvbench-scan-", TopFolders, SubFolders, FilesPerFolder,
                          [](int T, int S, int F, int) {
                              return L"file" + std::to_wstring(F) + Extensions[(F + S + T) % 10];
                          });

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
    long long Files = 0;
    const auto CountFile = [&Files](const std::wstring&, const WIN32_FIND_DATAW&) { ++Files; };
    BareWalk(Tree.Path(), CountFile);
    Scan.Run({Tree.Path()}, Settings, Results);

    TTreeSearchEngine Walker;
    long long Walked = 0;
    Walker.OnFileFound = [&Walked](const String&, const String&, const WIN32_FIND_DATAW&,
                                   TCvTreeItem*&) { ++Walked; };

    std::vector<double> Bare, Walks, Scanned;
    for (int Round = 0; Round < Rounds; ++Round) {
        auto Start = std::chrono::steady_clock::now();
        Files = 0;
        BareWalk(Tree.Path(), CountFile);
        Bare.push_back(Seconds(std::chrono::steady_clock::now() - Start));

        Start = std::chrono::steady_clock::now();
        Walked = 0;
        Walker.Search(Tree.Path(), nullptr, true);
        Walks.push_back(Seconds(std::chrono::steady_clock::now() - Start));

        Start = std::chrono::steady_clock::now();
        Scan.Run({Tree.Path()}, Settings, Results);
        Scanned.push_back(Seconds(std::chrono::steady_clock::now() - Start));
    }
    // The fastest of the rounds: what the machine's other work added least to.
    const double BareBest = *std::min_element(Bare.begin(), Bare.end());
    const double WalkBest = *std::min_element(Walks.begin(), Walks.end());
    const double ScanBest = *std::min_element(Scanned.begin(), Scanned.end());
    std::printf("files listed: %lld, walked: %lld, junk found: %d\n", Files, Walked,
                Results.Count());
    std::printf("bare FindFirstFileExW walk: %.3f s (best of %d)\n", BareBest, Rounds);
    std::printf("walk engine with the pump:  %.3f s (best of %d)\n", WalkBest, Rounds);
    std::printf("junk scan:                  %.3f s (best of %d)\n", ScanBest, Rounds);
    std::printf("ratio walk / bare: %.2f\n", WalkBest / BareBest);
    std::printf("ratio scan / bare: %.2f (bar 1.1)\n", ScanBest / BareBest);
    return 0;
}

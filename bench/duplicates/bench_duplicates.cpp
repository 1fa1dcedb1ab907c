// Times the duplicate grouping (every AddFile of a scan and the post-pass) of a tree of 100,000
// files with repeated names against a bare FindFirstFileExW walk of the same tree, measured in
// the same run, and the time per file at 100,000 files against 10,000.

#include "app/FoundFile.h"
#include "main/DuplicateFinder.h"

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
constexpr int DistinctNames = 20000;
constexpr int Rounds = 5;

struct TFound {
    std::wstring Folder;
    std::wstring Name;
    std::uint64_t Size;
    FILETIME Time;
};

// Best time of the rounds for grouping the first Count files.
double GroupingTime(const std::vector<TFound>& Files, std::size_t Count, std::size_t& Groups) {
    TSafetyRule Safety;
    Safety.SetProtectedPaths({L"C:\\Windows", L"C:\\System Corvanta Backups"});
    TDuplicateGroups Grouping(Safety);
    double Best = 1e9;
    for (int Round = 0; Round < Rounds; ++Round) {
        const auto Start = std::chrono::steady_clock::now();
        Grouping.Clear();
        for (std::size_t I = 0; I < Count; ++I)
            Grouping.AddFile(Files[I].Folder, Files[I].Name, Files[I].Size, Files[I].Time);
        Grouping.PostPass(nullptr, String(), String());
        Best = std::min(Best, Seconds(std::chrono::steady_clock::now() - Start));
    }
    Groups = Grouping.Groups().size();
    return Best;
}

} // namespace

int main() {
    std::printf("building a tree of %d files...\n", TopFolders * SubFolders * FilesPerFolder);
    // Names repeat across folders, with both cases of their letters.
    const TBenchTree Tree(L"qrvbench-dup-", TopFolders, SubFolders, FilesPerFolder,
                          [](int, int, int, int Made) {
                              const int Id = (Made * 7919) % DistinctNames;
                              return (Made % 2 ? L"Doc" : L"doc") + std::to_wstring(Id) + L".txt";
                          });

    std::vector<TFound> Files;
    const auto Keep = [&Files](const std::wstring& Folder, const WIN32_FIND_DATAW& Data) {
        Files.push_back({Folder, Data.cFileName, FindDataSize(Data), Data.ftLastWriteTime});
    };
    BareWalk(Tree.Path(), Keep); // warms the caches
    double BareBest = 1e9;
    for (int Round = 0; Round < Rounds; ++Round) {
        Files.clear();
        const auto Start = std::chrono::steady_clock::now();
        BareWalk(Tree.Path(), Keep);
        BareBest = std::min(BareBest, Seconds(std::chrono::steady_clock::now() - Start));
    }

    std::size_t Groups = 0;
    const double Small = GroupingTime(Files, Files.size() / 10, Groups);
    const double Whole = GroupingTime(Files, Files.size(), Groups);
    const double PerFileSmall = Small / static_cast<double>(Files.size() / 10);
    const double PerFileWhole = Whole / static_cast<double>(Files.size());

    std::printf("files: %zu, groups of copies: %zu\n", Files.size(), Groups);
    std::printf("bare FindFirstFileExW walk: %.3f s (best of %d)\n", BareBest, Rounds);
    std::printf("grouping (AddFile + PostPass): %.3f s (best of %d)\n", Whole, Rounds);
    std::printf("ratio grouping / bare walk: %.3f (bar 0.1)\n", Whole / BareBest);
    std::printf("time per file at %zu over %zu: %.2f (bar 1.5)\n", Files.size(), Files.size() / 10,
                PerFileWhole / PerFileSmall);
    return 0;
}

// Times the duplicate grouping (every AddFile of a scan and the post-pass) of a tree of 100,000
// files with repeated names against a bare FindFirstFileExW walk of the same tree, measured in
// the same run, and the time per file at 100,000 files against 10,000.

#include "app/FoundFile.h"
#include "main/DuplicateFinder.h"

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

class TDiskTree {
public:
    TDiskTree() {
        FRoot = std::filesystem::temp_directory_path() /
                (L"qrvbench-dup-" + std::to_wstring(GetCurrentProcessId()));
        std::filesystem::remove_all(FRoot);
        int Made = 0;
        for (int T = 0; T < TopFolders; ++T)
            for (int S = 0; S < SubFolders; ++S) {
                const std::filesystem::path Folder =
                    FRoot / (L"top" + std::to_wstring(T)) / (L"sub" + std::to_wstring(S));
                std::filesystem::create_directories(Folder);
                for (int F = 0; F < FilesPerFolder; ++F, ++Made) {
                    // Names repeat across folders, with both cases of their letters.
                    const int Id = (Made * 7919) % DistinctNames;
                    std::wstring Name =
                        (Made % 2 ? L"Doc" : L"doc") + std::to_wstring(Id) + L".txt";
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

// The baseline: list every folder once, keep what the grouping is given, enter subfolders.
void BareWalk(const std::wstring& Folder, std::vector<TFound>& Found) {
    WIN32_FIND_DATAW Data;
    const HANDLE Find = FindFirstFileExW((Folder + L'*').c_str(), FindExInfoBasic, &Data,
                                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (Find == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::wstring> Folders;
    do {
        const wchar_t* Name = Data.cFileName;
        if (Name[0] == L'.' && (Name[1] == 0 || (Name[1] == L'.' && Name[2] == 0)))
            continue;
        if (!(Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            Found.push_back({Folder, Name, FindDataSize(Data), Data.ftLastWriteTime});
        else if (!(Data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            Folders.push_back(Folder + Name + L'\\');
    } while (FindNextFileW(Find, &Data));
    FindClose(Find);
    for (const std::wstring& Sub : Folders)
        BareWalk(Sub, Found);
}

double Seconds(std::chrono::steady_clock::duration D) {
    return std::chrono::duration<double>(D).count();
}

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
    const TDiskTree Tree;

    std::vector<TFound> Files;
    BareWalk(Tree.Path(), Files); // warms the caches
    double BareBest = 1e9;
    for (int Round = 0; Round < Rounds; ++Round) {
        Files.clear();
        const auto Start = std::chrono::steady_clock::now();
        BareWalk(Tree.Path(), Files);
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

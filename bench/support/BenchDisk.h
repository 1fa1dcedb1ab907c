// What the file benchmarks share: a tree of empty files made on disk for the run, and the bare
// FindFirstFileExW walk they are measured against.
#pragma once

#include "classlib/rtl/WinApi.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

inline double Seconds(std::chrono::steady_clock::duration D) {
    return std::chrono::duration<double>(D).count();
}

// Tops x Subs folders of Files empty files each, in the temp folder; removed when it goes.
class TBenchTree {
public:
    // Name: the file name for the file index within its folder and its index within the tree.
    using TNameOf = std::function<std::wstring(int Top, int Sub, int File, int Made)>;

    TBenchTree(const std::wstring& Prefix, int Tops, int Subs, int Files, const TNameOf& NameOf)
        : FRoot(std::filesystem::temp_directory_path() /
                (Prefix + std::to_wstring(GetCurrentProcessId()))) {
        std::filesystem::remove_all(FRoot);
        int Made = 0;
        for (int T = 0; T < Tops; ++T)
            for (int S = 0; S < Subs; ++S) {
                const std::filesystem::path Folder =
                    FRoot / (L"top" + std::to_wstring(T)) / (L"sub" + std::to_wstring(S));
                std::filesystem::create_directories(Folder);
                for (int F = 0; F < Files; ++F, ++Made) {
                    const HANDLE File =
                        CreateFileW((Folder / NameOf(T, S, F, Made)).c_str(), GENERIC_WRITE, 0,
                                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
                    if (File != INVALID_HANDLE_VALUE)
                        CloseHandle(File);
                }
            }
    }
    ~TBenchTree() {
        std::error_code Ignored;
        std::filesystem::remove_all(FRoot, Ignored);
    }
    TBenchTree(const TBenchTree&) = delete;
    TBenchTree& operator=(const TBenchTree&) = delete;

    std::wstring Path() const { return FRoot.wstring() + L"\\"; }

private:
    std::filesystem::path FRoot;
};

// The baseline: lists every folder once, hands each file to OnFile, enters subfolders.
template <class TOnFile> void BareWalk(const std::wstring& Folder, TOnFile&& OnFile) {
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
            OnFile(Folder, Data);
        else if (!(Data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            Folders.push_back(Folder + Name + L'\\');
    } while (FindNextFileW(Find, &Data));
    FindClose(Find);
    for (const std::wstring& Sub : Folders)
        BareWalk(Sub, OnFile);
}

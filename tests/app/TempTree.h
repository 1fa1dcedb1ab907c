#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <windows.h>

// A fresh folder under the temp folder, removed with everything in it at the end.
class TTempTree {
public:
    TTempTree() {
        static unsigned Counter = 0;
        FRoot = std::filesystem::temp_directory_path() /
                (L"qrvtest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 std::to_wstring(++Counter));
        std::filesystem::remove_all(FRoot);
        std::filesystem::create_directories(FRoot);
    }
    ~TTempTree() {
        std::error_code Ignored;
        std::filesystem::remove_all(FRoot, Ignored);
    }
    TTempTree(const TTempTree&) = delete;
    TTempTree& operator=(const TTempTree&) = delete;

    // The folder with a trailing backslash.
    std::wstring Path() const { return FRoot.wstring() + L"\\"; }

    void AddFolder(const std::wstring& Relative) const {
        std::filesystem::create_directories(FRoot / Relative);
    }
    void AddFile(const std::wstring& Relative, std::string_view Bytes) const {
        const std::filesystem::path File = FRoot / Relative;
        std::filesystem::create_directories(File.parent_path());
        std::ofstream(File, std::ios::binary)
            .write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
    }

private:
    std::filesystem::path FRoot;
};

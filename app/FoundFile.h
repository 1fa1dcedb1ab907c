#pragma once
// The found-file record TFile and the safety rule that classes it; both programs fill such
// records from their scans.

#include "app/Match.h"
#include "classlib/rtl/Classes.h"
#include "classlib/rtl/SysUtils.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

// A text that many records hold, one copy counted in place: a record keeps one pointer to it.
// The records live on the window's thread; the count is not shared between threads.
class TSharedText {
public:
    TSharedText() = default;
    explicit TSharedText(String Text) : FBlock(new TBlock{1, std::move(Text)}) {}
    TSharedText(const TSharedText& Other) noexcept : FBlock(Other.FBlock) {
        if (FBlock)
            ++FBlock->Refs;
    }
    TSharedText& operator=(TSharedText Other) noexcept {
        std::swap(FBlock, Other.FBlock);
        return *this;
    }
    ~TSharedText() {
        if (FBlock && --FBlock->Refs == 0)
            delete FBlock;
    }

    // Empty when there is none.
    const String& Text() const { return FBlock ? FBlock->Text : None(); }
    explicit operator bool() const { return FBlock != nullptr; }

private:
    struct TBlock {
        std::size_t Refs;
        const String Text;
    };
    static const String& None();

    TBlock* FBlock = nullptr;
};

// TFile.Safety.
enum TSafetyLevel : std::uint8_t { slSafe = 0, slWarning = 1, slCritical = 2 };

// One found file, the data object of a result row. No file format stores it, so its sizes are
// 64-bit: a file of 4 GB or more is measured as it is.
class TFile : public TObject {
public:
    // Folder with a trailing backslash, as the walk reports it; the folder itself for a record
    // that stands for a folder. The records of one folder share one copy of it.
    const String& Path() const { return FPath.Text(); }
    const TSharedText& SharedPath() const { return FPath; }
    void SetPath(String Value) { FPath = TSharedText(std::move(Value)); }
    void SetPath(const TSharedText& Value) { FPath = Value; }
    // Empty for a record that stands for a folder.
    String Name;
    std::uint64_t Size = 0;
    // Last-write time (UTC).
    FILETIME Time{};
    // Files in the duplicate group, this one included.
    std::int32_t CopyCount = 1;
    std::uint8_t Safety = slSafe;
    // Sum of the Size of the group's files.
    std::uint64_t GroupSize = 0;

    String FullName() const { return Path() + Name; }

    // The further members of a duplicate group, on the group's first record only.
    const std::vector<std::unique_ptr<TFile>>& Duplicates() const;
    void AddDuplicate(std::unique_ptr<TFile> File);

private:
    TSharedText FPath;
    // Most records have none: the list is made for the first.
    std::unique_ptr<std::vector<std::unique_ptr<TFile>>> FDuplicates;
};

// A file's size from its find data.
inline std::uint64_t FindDataSize(const WIN32_FIND_DATAW& FindData) {
    return (static_cast<std::uint64_t>(FindData.nFileSizeHigh) << 32) | FindData.nFileSizeLow;
}

// The safety rule (GetSafetyLevel): critical under a protected folder or with a system
// extension, else safe when the name matches the junk masks and a warning when it does not.
class TSafetyRule {
public:
    TSafetyRule();

    // Folder prefixes whose files are critical, compared without regard to case. An entry
    // without a trailing backslash also covers sibling folders whose names begin with it.
    // Entries are kept trimmed; blank ones are left out.
    void SetProtectedPaths(const std::vector<String>& Paths);
    const std::vector<String>& ProtectedPaths() const { return FProtectedPaths; }

    // The junk masks joined with "; "; a blank text makes no file junk.
    void SetJunkMasks(const String& MaskText);
    bool IsJunk(std::wstring_view Name) const;

    TSafetyLevel GetSafetyLevel(const String& Path, const String& Name) const;
    TSafetyLevel GetSafetyLevel(const TFile& File) const {
        return GetSafetyLevel(File.Path(), File.Name);
    }

private:
    std::vector<String> FProtectedPaths;
    TMatch FSystemMatcher{nullptr};
    TMatch FJunkMatcher{nullptr};
    bool FHasJunkMasks = false;
};

#pragma once
// The duplicate finder (mode 14) without the window: the names allowed to have copies (table
// Duplicates), the grouping of the files the scan reports, the post-pass, and the group list
// whose selection fills the scan results with the group's files.

#include "app/FoundFile.h"
#include "app/Progress.h"
#include "classlib/db/DBTables.h"
#include "classlib/rtl/SysUtils.h"
#include "main/FeatureContext.h"
#include "main/FileScan.h"

#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

class TMainCore;

// The names and masks of table Duplicates.
class TAllowedDuplicates {
public:
    explicit TAllowedDuplicates(TTable& Table) : FTable(Table) {}

    // Read again from the table.
    void Reload();
    const std::vector<String>& Names() const { return FNames; }
    // The names joined with "; ". Blank ones are left out: a blank mask would match every file
    // and no duplicate would ever be found.
    String MaskText() const;
    // Appends a record and reloads; a blank name is refused (false) and nothing is stored.
    bool Add(const String& Name);
    // DeleteAllowedDuplicate: the first record whose FileName equals Name (case counts); true
    // when one was deleted.
    bool Delete(const String& Name);

private:
    TTable& FTable;
    std::vector<String> FNames;
};

// The groups of one scan. A file joins the group of its name (A to Z folded, other characters
// as they are), and with ByNameAndSize of its name and size, whichever group of that kind was
// made first. The list keeps its groups by the first character of their names, the newest
// group of a character first.
class TDuplicateGroups {
public:
    explicit TDuplicateGroups(const TSafetyRule& Safety) : FSafety(Safety) {}

    // "Filename and size"; taken when the groups are cleared.
    bool ByNameAndSize = true;

    void Clear();
    void AddFile(const String& Path, const String& Name, std::uint64_t Size, const FILETIME& Time);
    // Drops the groups of a single file and lists the others (Groups). Progress, when given,
    // steps once per group; Selecting and Preparing are its two labels.
    void PostPass(IProgress* Progress, const String& Selecting, const String& Preparing);

    // The group rows after the post-pass, in list order; each is the group's first file.
    const std::vector<TFile*>& Groups() const { return FRows; }
    // Every group made since Clear, a single file's too.
    std::size_t AllGroupCount() const { return FGroups.size(); }

private:
    struct TKey {
        String FoldedName;
        std::uint64_t Size;
        bool operator==(const TKey&) const = default;
    };
    struct TKeyHash {
        std::size_t operator()(const TKey& Key) const;
    };

    std::unique_ptr<TFile> MakeFile(const String& Path, const String& Name, std::uint64_t Size,
                                    const FILETIME& Time) const;

    const TSafetyRule& FSafety;
    bool FKeyedBySize = true;
    std::vector<std::unique_ptr<TFile>> FGroups;
    std::unordered_map<TKey, TFile*, TKeyHash> FIndex;
    // The groups of each first character, in the order made.
    std::map<wchar_t, std::vector<TFile*>> FBuckets;
    std::vector<TFile*> FRows;
};

// Name with only the letters a to z made upper case.
String FoldDuplicateName(const String& Name);
// The group list's order: by GroupSize (three-way).
int CompareDuplicateGroups(const TFile* Group1, const TFile* Group2);
// The size column of a group row.
String GroupSizeText(const TFile& Group);

class TDuplicateFinder : public IDuplicateGrouper {
public:
    // Becomes the core's grouping for the duplicate-files mode. Progress: the progress window
    // of the post-pass (may be null).
    TDuplicateFinder(TMainCore& Core, const TFeatureContext& Context, IProgress* Progress);
    ~TDuplicateFinder() override;
    TDuplicateFinder(const TDuplicateFinder&) = delete;
    TDuplicateFinder& operator=(const TDuplicateFinder&) = delete;

    // chkDupFileNameAndSize.
    bool ByNameAndSize = true;

    // btnDuplicateFilesClick: the allowed list, then mode 14 and its first page.
    void Enter();
    TAllowedDuplicates& Allowed() { return *FAllowed; }
    // The add and delete buttons: the list changes and is loaded again; false when nothing
    // changed.
    bool AddAllowed(const String& Name);
    bool DeleteAllowed(const String& Name);

    // IDuplicateGrouper, fed by the scan.
    void Clear() override;
    void AddFile(const String& Path, const String& Name, std::uint64_t Size,
                 const FILETIME& Time) override;
    void PostPass() override;

    const std::vector<TFile*>& Groups() const { return FGroups.Groups(); }
    // lvDuplicatesScanResultsItemSelectedChange: the scan results become the group's files
    // that still exist on disk, the first file, then the others in the order found.
    void SelectGroup(int Index);

private:
    void LoadAllowed();

    TMainCore& FCore;
    const TFeatureContext& FContext;
    IProgress* FProgress;
    std::unique_ptr<TAllowedDuplicates> FAllowed;
    TDuplicateGroups FGroups;
};

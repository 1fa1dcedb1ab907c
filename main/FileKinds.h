#pragma once
// The shell's picture and type name of the files a result list shows, asked as rows are painted
// rather than as they are added: a list of a hundred thousand rows asks for what is on screen.

#include "app/FoundFile.h"
#include "classlib/rtl/SysUtils.h"

#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

struct TFileKind {
    int Icon = 0; // in the system's small-icon list
    String TypeName;
};

// The shell's answer for FileName; with ByExtension, the answer for any file of its extension,
// without looking at the file. False when the shell has none.
using TFileKindLookup =
    std::function<bool(const String& FileName, bool ByExtension, TFileKind& Kind)>;

class TFileKinds {
public:
    explicit TFileKinds(TFileKindLookup Lookup) : FLookup(std::move(Lookup)) {}

    // Programs, icons, shortcuts, cursors: each such file carries its own picture.
    static bool OwnIcon(const String& FileName);

    // The picture a painted row shows: a file's own answer once known; until then, and for
    // the other files, its extension's. A file with its own picture is queued for its answer.
    int Picture(const TFile& File);
    // The type name a row shows, from the same answers; queues nothing.
    String TypeName(const TFile& File);

    bool HasPending() const { return !FPending.empty(); }
    // Asks the shell for the queued files that are still listed, until BudgetMs have passed;
    // true when a row's answer arrived. A file the shell cannot answer for keeps its
    // extension's picture.
    bool ResolvePending(const std::function<bool(const TFile*)>& Listed, unsigned BudgetMs);

    // The rows went: the answers of their files and the queue go too. Extensions keep theirs.
    void ForgetFiles();

private:
    // The answer for the extension of File, asked with File the first time; null while the
    // shell has none, so that one unreadable file does not blank its whole extension.
    const TFileKind* ExtensionKind(const TFile& File);
    const TFileKind* FileKind(const TFile& File) const;

    TFileKindLookup FLookup;
    std::unordered_map<String, TFileKind> FByExtension;
    std::unordered_map<const TFile*, TFileKind> FByFile;
    std::vector<const TFile*> FPending;
    std::unordered_set<const TFile*> FQueued;
};
